#pragma once
// An INI settings file held in memory: keys are read and written the way the
// Windows private-profile routines do it, and the whole file is replaced in
// one atomic step on Save. Lines the program does not touch keep their bytes.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// Longest value a read returns, in bytes (a 2048-byte buffer with its NUL).
inline constexpr int IniMaxValueLength = 2047;

class TIniFile {
 public:
  // Reads FileName; a missing or unreadable file counts as an empty one (but
  // an unreadable one is never overwritten: Save fails).
  explicit TIniFile(const QString& fileName);

  const QString& FileName() const { return FFileName; }

  // The value of Key in [Section], trimmed, with one pair of enclosing quotes
  // removed and cut to IniMaxValueLength bytes; Default when the key or its
  // section is missing. Names match without regard to case.
  QByteArray ReadValue(const QString& section, const QString& key, const QByteArray& def) const;
  // Replaces the value of Key where it stands, or adds the key at the end of
  // its section, adding the section at the end of the file when missing. A
  // line break inside Value is written as a blank, so that a value can never
  // spill into lines of its own.
  void WriteValue(const QString& section, const QString& key, const QByteArray& value);

  // The same as text: bytes that are valid UTF-8 read as UTF-8, any others as
  // Latin-1, one character per byte; text is written as UTF-8.
  QString ReadString(const QString& section, const QString& key, const QString& def) const;
  void WriteString(const QString& section, const QString& key, const QString& value);

  // Every key of [Section] as ReadString reads it, in one pass, the key
  // case-folded; the first of two keys of one name counts.
  QHash<QString, QString> ReadSection(const QString& section) const;

  // The bytes Save writes.
  QByteArray Contents() const;
  // Replaces the file with Contents() atomically: a failure leaves the old
  // file whole. Throws EInOutError "Unable to write to <FileName>: <reason>".
  void Save() const;

 private:
  enum class TLineKind { Other, Section, Key };
  struct TLine {
    QByteArray Text;  // without its line ending
    QByteArray Eol;   // "\r\n", "\n", "\r" or empty on an unterminated last line
    TLineKind Kind = TLineKind::Other;
    QString Name;        // section or key name
    int ValueStart = 0;  // Key lines: offset of the first byte after "="
  };

  void Parse(const QByteArray& data);
  static TLine MakeLine(const QByteArray& text, const QByteArray& eol);
  int FindSection(const QString& section) const;
  int SectionEnd(int header) const;
  int FindKey(int header, const QString& key) const;
  bool Lookup(const QString& section, const QString& key, QByteArray& value) const;
  void InsertLine(int at, const QByteArray& text);

  QString FFileName;
  QList<TLine> FLines;
  QByteArray FNewEol;  // line ending given to added lines
  QByteArray FMark;    // a UTF-8 byte-order mark the file began with, kept
  bool FUnreadable = false;
};

// One-key access, each a whole load (and, for a write, a whole save).
QString ReadProfileString(const QString& section, const QString& key, const QString& def,
                          const QString& fileName);
void WriteProfileString(const QString& section, const QString& key, const QString& value,
                        const QString& fileName);
