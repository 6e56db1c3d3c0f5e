#include "config/ini_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "components/errors.h"
#include "doc/checked_write.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

QByteArray Trimmed(const QByteArray& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

bool IsUtf8(const QByteArray& bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder(bytes);
  return !decoder.hasError();
}

QString BytesToText(const QByteArray& bytes) {
  return IsUtf8(bytes) ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
}

// A line break inside a name or value would start a line of its own in the
// file, which a later read takes for a key or section.
QByteArray SingleLine(QByteArray s) {
  s.replace('\r', ' ');
  s.replace('\n', ' ');
  return s;
}

QByteArray Unquoted(const QByteArray& s) {
  if (s.size() >= 2 && (s.front() == '"' || s.front() == '\'') && s.back() == s.front())
    return s.mid(1, s.size() - 2);
  return s;
}

// Cuts to the read limit without splitting a UTF-8 character, so that a long
// UTF-8 value still reads as UTF-8.
QByteArray Limited(const QByteArray& s) {
  if (s.size() <= IniMaxValueLength) return s;
  qsizetype cut = IniMaxValueLength;
  if (IsUtf8(s))
    while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;
  return s.left(cut);
}

}  // namespace

TIniFile::TIniFile(const QString& fileName) : FFileName(fileName) {
  QByteArray data;
  if (QFileInfo(fileName).isFile()) {
    QFile file(fileName);
    FUnreadable = !file.open(QIODevice::ReadOnly);
    if (!FUnreadable) {
      data = file.readAll();
      FUnreadable = file.error() != QFileDevice::NoError;
    }
  }
  // A byte-order mark would otherwise glue itself to the first section's name.
  static const QByteArray kUtf8Mark("\xEF\xBB\xBF");
  if (data.startsWith(kUtf8Mark)) {
    FMark = kUtf8Mark;
    data.remove(0, kUtf8Mark.size());
  }
  Parse(data);
}

void TIniFile::Parse(const QByteArray& data) {
  FLines.clear();
  FNewEol.clear();
  qsizetype start = 0;
  for (qsizetype i = 0; i < data.size(); ++i) {
    if (data[i] != '\r' && data[i] != '\n') continue;
    const qsizetype eolLength =
        (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ? 2 : 1;
    const QByteArray eol = data.mid(i, eolLength);
    if (FNewEol.isEmpty()) FNewEol = eol;
    FLines.append(MakeLine(data.mid(start, i - start), eol));
    i += eolLength - 1;
    start = i + 1;
  }
  if (start < data.size()) FLines.append(MakeLine(data.mid(start), {}));
  if (FNewEol.isEmpty()) FNewEol = "\n";
}

TIniFile::TLine TIniFile::MakeLine(const QByteArray& text, const QByteArray& eol) {
  TLine line;
  line.Text = text;
  line.Eol = eol;
  const QByteArray t = Trimmed(text);
  if (t.isEmpty() || t.front() == ';') return line;
  if (t.front() == '[') {
    const qsizetype close = t.lastIndexOf(']');
    if (close > 0) {
      line.Kind = TLineKind::Section;
      line.Name = BytesToText(Trimmed(t.mid(1, close - 1)));
    }
    return line;
  }
  const qsizetype eq = text.indexOf('=');
  if (eq >= 0) {
    line.Kind = TLineKind::Key;
    line.Name = BytesToText(Trimmed(text.left(eq)));
    line.ValueStart = static_cast<int>(eq + 1);
  }
  return line;
}

int TIniFile::FindSection(const QString& section) const {
  for (int i = 0; i < FLines.size(); ++i)
    if (FLines[i].Kind == TLineKind::Section &&
        FLines[i].Name.compare(section, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

int TIniFile::SectionEnd(int header) const {
  int i = header + 1;
  while (i < FLines.size() && FLines[i].Kind != TLineKind::Section) ++i;
  return i;
}

int TIniFile::FindKey(int header, const QString& key) const {
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i)
    if (FLines[i].Kind == TLineKind::Key && FLines[i].Name.compare(key, Qt::CaseInsensitive) == 0)
      return i;
  return -1;
}

bool TIniFile::Lookup(const QString& section, const QString& key, QByteArray& value) const {
  const int header = FindSection(section);
  const int line = header < 0 ? -1 : FindKey(header, key);
  if (line < 0) return false;
  value = Limited(Unquoted(Trimmed(FLines[line].Text.mid(FLines[line].ValueStart))));
  return true;
}

QByteArray TIniFile::ReadValue(const QString& section, const QString& key,
                               const QByteArray& def) const {
  QByteArray value;
  return Lookup(section, key, value) ? value : def;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
  QByteArray value;
  return Lookup(section, key, value) ? BytesToText(value) : def;
}

QHash<QString, QString> TIniFile::ReadSection(const QString& section) const {
  QHash<QString, QString> values;
  const int header = FindSection(section);
  if (header < 0) return values;
  const int end = SectionEnd(header);
  for (int i = header + 1; i < end; ++i) {
    const TLine& line = FLines[i];
    if (line.Kind != TLineKind::Key) continue;
    const QString key = line.Name.toCaseFolded();
    if (!values.contains(key))
      values.insert(key, BytesToText(Limited(Unquoted(Trimmed(line.Text.mid(line.ValueStart))))));
  }
  return values;
}

void TIniFile::InsertLine(int at, const QByteArray& text) {
  if (at > 0 && FLines[at - 1].Eol.isEmpty()) FLines[at - 1].Eol = FNewEol;
  FLines.insert(at, MakeLine(text, FNewEol));
}

void TIniFile::WriteValue(const QString& section, const QString& key, const QByteArray& value) {
  const QByteArray keyLine = SingleLine(key.toUtf8()) + '=' + SingleLine(value);
  const int header = FindSection(section);
  if (header < 0) {
    InsertLine(static_cast<int>(FLines.size()), '[' + SingleLine(section.toUtf8()) + ']');
    InsertLine(static_cast<int>(FLines.size()), keyLine);
    return;
  }
  const int line = FindKey(header, key);
  if (line >= 0) {
    TLine& l = FLines[line];
    l.Text = l.Text.left(l.ValueStart) + SingleLine(value);
    return;
  }
  // After the section's last non-blank line, so that blank lines between
  // sections stay between them.
  int at = SectionEnd(header);
  while (at - 1 > header && Trimmed(FLines[at - 1].Text).isEmpty()) --at;
  InsertLine(at, keyLine);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
  WriteValue(section, key, value.toUtf8());
}

QByteArray TIniFile::Contents() const {
  QByteArray data = FMark;
  for (const TLine& line : FLines) data += line.Text + line.Eol;
  return data;
}

void TIniFile::Save() const {
  const QString failure = QStringLiteral("Unable to write to %1").arg(FFileName);
  // The atomic replacement would otherwise overwrite a write-protected file,
  // or one whose lines were never read.
  const QFileInfo info(FFileName);
  if (FUnreadable || (info.exists() && (!info.isFile() || !info.isWritable())))
    throw EInOutError(failure);
  try {
    WriteFileChecked(FFileName, Contents());
  } catch (const EInOutError& e) {
    const QString reason = e.Message.mid(WriteFailureText(FFileName, {}).size());
    throw EInOutError(failure + QStringLiteral(": ") + reason);
  }
}

QString ReadProfileString(const QString& section, const QString& key, const QString& def,
                          const QString& fileName) {
  return TIniFile(fileName).ReadString(section, key, def);
}

void WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& fileName) {
  TIniFile ini(fileName);
  ini.WriteString(section, key, value);
  ini.Save();
}
