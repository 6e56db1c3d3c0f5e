#include "config/environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <type_traits>
#include <variant>

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

// Beside the program in a build tree; installed, in the data folder found
// from the program's own folder, so any prefix (or a package unpacked
// anywhere) finds its files.
QString ShippedFile(const QString& programDir, const QString& name) {
  const QString beside = programDir + '/' + name;
  if (QFileInfo(beside).isFile()) return beside;
  return QDir::cleanPath(programDir + QStringLiteral("/" QUILLMERE_DATA_FROM_BIN "/") + name);
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

// How a setting is stored: text, a folder (kept with its "/"), "TRUE" or
// "FALSE", a 32-bit number, a number of which the low byte is kept, or a
// window coordinate (kept through SetCoord).
enum class TSettingKind { Text, Folder, Bool, Int, Byte, Coord };
// Search texts are kept only while SaveSearch is on, coordinates only while
// SaveCoord is on; both switches precede their rows in the table.
enum class TSettingGroup { Always, Search, Coord };

using TEnv = TQMEEnvironment;
using TSettingMember =
    std::variant<QString TEnv::*, bool TEnv::*, std::int32_t TEnv::*, std::uint8_t TEnv::*>;

struct TSetting {
  const char* Key;
  TSettingMember Member;
  TSettingKind Kind;
  const char* Default;
  TSettingGroup Group = TSettingGroup::Always;
  TCoordIndex Coord = TCoordIndex(0);
};

using K = TSettingKind;
using G = TSettingGroup;

// Every key of the Settings section, in the order a new file lists them.
// A key missing from the file keeps its default.
const TSetting Settings[] = {
    {"WorkingDir", &TEnv::WorkingDir, K::Folder, ""},
    {"SaveSearch", &TEnv::SaveSearch, K::Bool, "TRUE"},
    {"SaveCoord", &TEnv::SaveCoord, K::Bool, "TRUE"},
    {"DelEmptyLines", &TEnv::DelEmptyLines, K::Bool, "TRUE"},
    {"AutoConversion", &TEnv::AutoConversion, K::Byte, "0"},
    {"LastSearch", &TEnv::LastSearch, K::Text, "", G::Search},
    {"Replace", &TEnv::Replace, K::Text, "", G::Search},
    {"CaseSensitive", &TEnv::CaseSensitive, K::Bool, "FALSE"},
    {"QueryReplace", &TEnv::QueryReplace, K::Bool, "TRUE"},
    {"TabInterval", &TEnv::TabInterval, K::Int, "12"},
    {"FileMask", &TEnv::FileMask, K::Text, "*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;"},
    // The main window: -1 centres it on the screen.
    {"Top", &TEnv::Top, K::Coord, "-1", G::Coord, ciTop},
    {"Left", &TEnv::Left, K::Coord, "-1", G::Coord, ciLeft},
    {"Height", &TEnv::Height, K::Coord, "400", G::Coord, ciHeight},
    {"Width", &TEnv::Width, K::Coord, "712", G::Coord, ciWidth},
    {"RTop", &TEnv::RTop, K::Coord, "0", G::Coord, ciRTop},
    {"RLeft", &TEnv::RLeft, K::Coord, "0", G::Coord, ciRLeft},
    {"RHeight", &TEnv::RHeight, K::Coord, "0", G::Coord, ciRHeight},
    {"RWidth", &TEnv::RWidth, K::Coord, "0", G::Coord, ciRWidth},
    {"HTop", &TEnv::HTop, K::Coord, "0", G::Coord, ciHTop},
    {"HLeft", &TEnv::HLeft, K::Coord, "0", G::Coord, ciHLeft},
    {"HHeight", &TEnv::HHeight, K::Coord, "0", G::Coord, ciHHeight},
    {"HWidth", &TEnv::HWidth, K::Coord, "0", G::Coord, ciHWidth},
    {"CTop", &TEnv::CTop, K::Coord, "0", G::Coord, ciCTop},
    {"CLeft", &TEnv::CLeft, K::Coord, "0", G::Coord, ciCLeft},
    {"CHeight", &TEnv::CHeight, K::Coord, "0", G::Coord, ciCHeight},
    {"CWidth", &TEnv::CWidth, K::Coord, "0", G::Coord, ciCWidth},
    {"HTMLOpen", &TEnv::HTMLOpen, K::Bool, "FALSE"},
    {"SpecCharOpen", &TEnv::SpecCharOpen, K::Bool, "FALSE"},
    {"RemoteRoot", &TEnv::RemoteRoot, K::Text, "http://www."},
    {"SyntaxHighlight", &TEnv::SyntaxHighlight, K::Bool, "TRUE"},
    {"CheckIndexPages", &TEnv::CheckIndexPages, K::Text,
     "index.html;index.htm;default.htm;default.html"},
    {"CheckImageLimit", &TEnv::CheckImageLimit, K::Int, "200"},
};

bool GroupOn(const TEnv& e, TSettingGroup group) {
  return group == G::Always || (group == G::Search ? e.SaveSearch : e.SaveCoord);
}

// The stored text of a setting's current value.
QString SettingText(const TEnv& e, const TSetting& s) {
  return std::visit(
      [&e](auto member) -> QString {
        const auto& value = e.*member;
        using T = std::decay_t<decltype(value)>;
        if constexpr (std::is_same_v<T, QString>)
          return value;
        else if constexpr (std::is_same_v<T, bool>)
          return QString::fromStdString(BoolToStr(value));
        else
          return QString::number(value);
      },
      s.Member);
}

// Stores Text, as read from the file, in the setting; a number that does not
// read keeps the value.
void SetSettingText(TEnv& e, const TSetting& s, const QString& text) {
  std::int32_t number = 0;
  const bool isNumber = ParseInt32(text, number);
  switch (s.Kind) {
    case K::Text:
      e.*std::get<QString TEnv::*>(s.Member) = text;
      break;
    case K::Folder:
      e.SetWorkingDir(text);
      break;
    case K::Bool:
      e.*std::get<bool TEnv::*>(s.Member) = text == u"TRUE";
      break;
    case K::Int:
      if (isNumber) e.*std::get<std::int32_t TEnv::*>(s.Member) = number;
      break;
    // Values above 2 are kept as read: the document handling treats them as
    // its own rule says.
    case K::Byte:
      if (isNumber) e.*std::get<std::uint8_t TEnv::*>(s.Member) = std::uint8_t(number & 0xFF);
      break;
    case K::Coord:
      if (isNumber) e.SetCoord(s.Coord, number);
      break;
  }
}

}  // namespace

TQMEEnvironment::TQMEEnvironment(const QString& programFile) {
  // The defaults go in unchecked; the main window is centred once its size is in.
  for (const TSetting& s : Settings)
    if (s.Kind == K::Coord)
      *CoordField(s.Coord) = QByteArray(s.Default).toInt();
    else
      SetSettingText(*this, s, QString::fromLatin1(s.Default));
  SetCoord(ciTop, Top);
  SetCoord(ciLeft, Left);
  LocateFiles(programFile);
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
  for (const TSetting& s : Settings)
    if (GroupOn(*this, s.Group))
      SetSettingText(*this, s, ini.ReadString(SettingsSection, s.Key, SettingText(*this, s)));
}

void TQMEEnvironment::WriteSettings() {
  // The per-user folder may not exist yet; if it cannot be made, Save reports.
  QDir().mkpath(QFileInfo(IniFileName).absolutePath());
  TIniFile ini(IniFileName);
  for (const TSetting& s : Settings)
    if (GroupOn(*this, s.Group)) ini.WriteString(SettingsSection, s.Key, SettingText(*this, s));
  ini.Save();
}

void TQMEEnvironment::SetWorkingDir(const QString& dir) {
  WorkingDir = (dir.isEmpty() || dir.endsWith(u'/')) ? dir : dir + u'/';
}

std::int32_t* TQMEEnvironment::CoordField(int index) {
  for (const TSetting& s : Settings)
    if (s.Kind == K::Coord && s.Coord == index)
      return &(this->*std::get<std::int32_t TEnv::*>(s.Member));
  return nullptr;
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
