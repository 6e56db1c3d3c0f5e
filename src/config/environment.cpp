#include "config/environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

#include "components/desktop.h"
#include "components/str_func.h"
#include "config/ini_file.h"
#include "config/mask_list.h"

TQMEEnvironment* Environment = nullptr;

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const QString SettingsName = QStringLiteral("quillmere.ini");
const QString TemplateName = QStringLiteral("template.htm");
const QString HelpName = QStringLiteral("quillmere.htm");
const QString InstalledDataDir = QStringLiteral("/usr/share/quillmere");

// The keys of the sixteen window coordinates, by SetCoord index - 1.
const char* const CoordKeys[16] = {"Top",     "Left",   "Height",  "Width", "RTop",    "RLeft",
                                   "RHeight", "RWidth", "CTop",    "CLeft", "CHeight", "CWidth",
                                   "HTop",    "HLeft",  "HHeight", "HWidth"};
// The order in which they are written: main window, results, toolset, characters.
const int CoordWriteOrder[16] = {1, 2, 3, 4, 5, 6, 7, 8, 13, 14, 15, 16, 9, 10, 11, 12};

int DigitValue(QChar c, int base) {
  const char16_t u = c.unicode();
  int d = -1;
  if (u >= '0' && u <= '9')
    d = u - '0';
  else if (u >= 'a' && u <= 'f')
    d = u - 'a' + 10;
  else if (u >= 'A' && u <= 'F')
    d = u - 'A' + 10;
  return d < base ? d : -1;
}

// A 32-bit whole number in decimal, or in hexadecimal after "0x"; a hex value
// is a bit pattern, so 0xFFFFFFFF reads as -1.
bool ParseInt32(const QString& s, std::int32_t& value) {
  const bool hex = s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X');
  const int base = hex ? 16 : 10;
  const std::int64_t limit = hex ? 0xFFFFFFFFLL : 0x80000000LL;
  qsizetype i = hex ? 2 : 0;
  bool negative = false;
  if (!hex && i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  if (i == s.size()) return false;
  std::int64_t v = 0;
  for (; i < s.size(); ++i) {
    const int d = DigitValue(s[i], base);
    if (d < 0) return false;
    v = v * base + d;
    if (v > limit) return false;
  }
  if (hex) {
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return true;
  }
  if (negative) v = -v;
  if (v > INT32_MAX) return false;
  value = static_cast<std::int32_t>(v);
  return true;
}

QString ShippedFile(const QString& programDir, const QString& name) {
  const QString beside = programDir + '/' + name;
  return QFileInfo(beside).isFile() ? beside : InstalledDataDir + '/' + name;
}

// The first start that finds no template of the user's own gets a copy of the
// shipped one; an existing file is never replaced.
void InstallTemplate(const QString& shipped, const QString& target) {
  if (QFileInfo::exists(target) || !QFileInfo(shipped).isFile()) return;
  if (QFileInfo(shipped).canonicalFilePath() == QFileInfo(target).canonicalFilePath()) return;
  if (!QDir().mkpath(QFileInfo(target).absolutePath()) || !QFile::copy(shipped, target)) return;
  // The copy is the user's to edit, whatever the installed file's mode.
  QFile::setPermissions(target, QFile::permissions(target) | QFile::ReadOwner | QFile::WriteOwner);
}

// Reads and writes the Settings section in the encodings of the record.
class TSettingsSection {
 public:
  explicit TSettingsSection(TIniFile& ini) : FIni(ini) {}
  QString Str(const char* key, const QString& current) const {
    return FIni.ReadString(SettingsSection, key, current);
  }
  bool Bool(const char* key, bool current) const {
    return Str(key, QString::fromStdString(BoolToStr(current))) == u"TRUE";
  }
  std::int32_t Int(const char* key, std::int32_t current) const {
    std::int32_t value = current;
    return ParseInt32(Str(key, QString::number(current)), value) ? value : current;
  }
  void Put(const char* key, const QString& value) { FIni.WriteString(SettingsSection, key, value); }
  void Put(const char* key, bool value) { Put(key, QString::fromStdString(BoolToStr(value))); }
  void Put(const char* key, std::int32_t value) { Put(key, QString::number(value)); }

 private:
  TIniFile& FIni;
};

}  // namespace

TQMEEnvironment::TQMEEnvironment(const QString& programFile) {
  LocateFiles(programFile);
  FileMask = QStringLiteral("*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;");
  SetCoord(ciHeight, MinMainHeight);
  SetCoord(ciWidth, MinMainWidth);
  SetCoord(ciTop, -1);
  SetCoord(ciLeft, -1);
  RemoteRoot = QStringLiteral("http://www.");
  ReadSettings();
}

void TQMEEnvironment::LocateFiles(const QString& programFile) {
  const QString programDir = QFileInfo(programFile).absolutePath();
  const bool portable = QFileInfo(programDir + '/' + SettingsName).isFile();
  const QString settingsDir =
      portable ? programDir
               : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                     QStringLiteral("/quillmere");
  IniFileName = settingsDir + '/' + SettingsName;
  HelpFileName = ShippedFile(programDir, HelpName);
  const QString templateFile = settingsDir + '/' + TemplateName;
  TemplateFileName = '"' + templateFile + '"';
  InstallTemplate(ShippedFile(programDir, TemplateName), templateFile);
  SetWorkingDir(QDir::homePath());
}

void TQMEEnvironment::ReadSettings() {
  TIniFile ini(IniFileName);
  const TSettingsSection s(ini);
  SetWorkingDir(s.Str("WorkingDir", WorkingDir));
  SaveSearch = s.Bool("SaveSearch", SaveSearch);
  SaveCoord = s.Bool("SaveCoord", SaveCoord);
  DelEmptyLines = s.Bool("DelEmptyLines", DelEmptyLines);
  HTMLOpen = s.Bool("HTMLOpen", HTMLOpen);
  SpecCharOpen = s.Bool("SpecCharOpen", SpecCharOpen);
  RemoteRoot = s.Str("RemoteRoot", RemoteRoot);
  // Values above 2 are kept as read: the document handling treats them as
  // its own rule says.
  AutoConversion = static_cast<std::uint8_t>(s.Int("AutoConversion", AutoConversion) & 0xFF);
  if (SaveSearch) {
    LastSearch = s.Str("LastSearch", LastSearch);
    Replace = s.Str("Replace", Replace);
  }
  CaseSensitive = s.Bool("CaseSensitive", CaseSensitive);
  QueryReplace = s.Bool("QueryReplace", QueryReplace);
  TabInterval = s.Int("TabInterval", TabInterval);
  FileMask = s.Str("FileMask", FileMask);
  if (SaveCoord)
    for (int index = 1; index <= 16; ++index)
      SetCoord(index, s.Int(CoordKeys[index - 1], *CoordField(index)));
}

void TQMEEnvironment::WriteSettings() {
  // The per-user folder may not exist yet; if it cannot be made, Save reports.
  QDir().mkpath(QFileInfo(IniFileName).absolutePath());
  TIniFile ini(IniFileName);
  TSettingsSection s(ini);
  s.Put("WorkingDir", WorkingDir);
  s.Put("SaveSearch", SaveSearch);
  s.Put("SaveCoord", SaveCoord);
  s.Put("DelEmptyLines", DelEmptyLines);
  s.Put("AutoConversion", std::int32_t{AutoConversion});
  if (SaveSearch) {
    s.Put("LastSearch", LastSearch);
    s.Put("Replace", Replace);
  }
  s.Put("CaseSensitive", CaseSensitive);
  s.Put("QueryReplace", QueryReplace);
  s.Put("TabInterval", TabInterval);
  s.Put("FileMask", FileMask);
  if (SaveCoord)
    for (int index : CoordWriteOrder) s.Put(CoordKeys[index - 1], *CoordField(index));
  s.Put("HTMLOpen", HTMLOpen);
  s.Put("SpecCharOpen", SpecCharOpen);
  s.Put("RemoteRoot", RemoteRoot);
  ini.Save();
}

void TQMEEnvironment::SetWorkingDir(const QString& dir) {
  WorkingDir = (dir.isEmpty() || dir.endsWith(u'/')) ? dir : dir + u'/';
}

std::int32_t* TQMEEnvironment::CoordField(int index) {
  std::int32_t* const fields[16] = {&Top,     &Left,   &Height,  &Width, &RTop,    &RLeft,
                                    &RHeight, &RWidth, &CTop,    &CLeft, &CHeight, &CWidth,
                                    &HTop,    &HLeft,  &HHeight, &HWidth};
  return index >= 1 && index <= 16 ? fields[index - 1] : nullptr;
}

void TQMEEnvironment::SetCoord(int index, std::int32_t value) {
  std::int32_t* const field = CoordField(index);
  if (!field) return;
  if (index == ciHeight) value = std::max(value, MinMainHeight);
  if (index == ciWidth) value = std::max(value, MinMainWidth);
  *field = value;
  if (index <= ciWidth) {
    const QSize screen = Desktop().ScreenSize();
    if (Top == -1) Top = (screen.height() - Height) / 2;
    if (Left == -1) Left = (screen.width() - Width) / 2;
  }
}

void TQMEEnvironment::MasksToList(QStringList& list) const { list = SplitFileMask(FileMask); }

void TQMEEnvironment::ListToMasks(const QStringList& list) { FileMask = JoinFileMask(list); }
