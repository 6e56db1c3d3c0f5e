// The site check's findings as text lines and as JSON, shared by the command
// line and the results window's "Save as...".
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "config/ini_file.h"
#include "doc/file_names.h"
#include "site/site_check.h"

namespace {

// A page's path as a report line shows it: a byte that is no UTF-8 as U+FFFD
// and a control character as \xHH, so that no name can split a line.
QString ShownPath(const QString& page) {
  const QString shown = ShownName(page);
  QString out;
  out.reserve(shown.size());
  for (const QChar c : shown)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F)
      out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'));
    else
      out += c;
  return out;
}

}  // namespace

QString CheckFindingLine(const TCheckFinding& f) {
  return QStringLiteral("%1:%2:%3: %4: %5")
      .arg(ShownPath(f.Page))
      .arg(f.Line)
      .arg(f.Column)
      .arg(CheckKindName(f.Kind), f.Message);
}

QString CheckCountsLine(const TCheckResult& result, TCheckKinds kinds) {
  const std::vector<int> counts = CountCheckKinds(result.Findings);
  QStringList parts;
  for (int k = 0; k < CheckKindCount; ++k)
    if ((kinds & KindBit(TCheckKind(k))) || counts[size_t(k)])
      parts.append(CheckKindName(TCheckKind(k)) + u' ' + QString::number(counts[size_t(k)]));
  return parts.join(QStringLiteral(", ")) +
         QStringLiteral(" (%1 pages, %2 style sheets, %3 references checked, %4 external)%5")
             .arg(result.Pages)
             .arg(result.StyleSheets)
             .arg(result.References)
             .arg(result.ExternalReferences)
             .arg(result.Stopped ? QStringLiteral(", stopped") : QString());
}

QByteArray CheckResultText(const TCheckResult& result, TCheckKinds kinds) {
  QByteArray text;
  for (const TCheckFinding& f : result.Findings) text += CheckFindingLine(f).toUtf8() + '\n';
  return text + CheckCountsLine(result, kinds).toUtf8() + '\n';
}

QByteArray CheckResultJson(const TCheckResult& result, TCheckKinds kinds) {
  QJsonArray findings;
  for (const TCheckFinding& f : result.Findings) {
    QJsonObject o{{"page", ShownName(f.Page)},
                  {"line", f.Line},
                  {"column", f.Column},
                  {"kind", CheckKindName(f.Kind)},
                  {"message", f.Message}};
    if (f.Kind == ckImage) o.insert("size", double(f.Size));
    findings.append(o);
  }
  QJsonObject counts;
  const std::vector<int> n = CountCheckKinds(result.Findings);
  for (int k = 0; k < CheckKindCount; ++k)
    if ((kinds & KindBit(TCheckKind(k))) || n[size_t(k)])
      counts.insert(CheckKindName(TCheckKind(k)), n[size_t(k)]);
  const QJsonObject root{{"findings", findings},
                         {"counts", counts},
                         {"pages", result.Pages},
                         {"styleSheets", result.StyleSheets},
                         {"references", result.References},
                         {"external", result.ExternalReferences},
                         {"stopped", result.Stopped}};
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

void ReadCheckSettings(const QString& iniFileName, TCheckOptions* options) {
  const TIniFile ini(iniFileName);
  const QString section = QStringLiteral("Settings");
  options->IndexPages =
      IndexPagesFromSetting(ini.ReadString(section, QStringLiteral("CheckIndexPages"), {}));
  bool ok = false;
  const qint64 kb =
      ini.ReadString(section, QStringLiteral("CheckImageLimit"), {}).trimmed().toLongLong(&ok);
  if (ok && kb >= 0) options->ImageLimit = kb * 1024;
}
