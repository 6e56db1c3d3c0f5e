#pragma once
// The program's one settings record: every setting, the paths of the settings
// file, the help page and the template. Created and owned by the main window,
// reached by every window through Environment.
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <cstdint>

// The indexes of the window coordinates SetCoord takes, in their fixed order.
enum TCoordIndex : int {
  ciTop = 1,
  ciLeft,
  ciHeight,
  ciWidth,  // the main window
  ciRTop,
  ciRLeft,
  ciRHeight,
  ciRWidth,  // search results
  ciCTop,
  ciCLeft,
  ciCHeight,
  ciCWidth,  // special characters
  ciHTop,
  ciHLeft,
  ciHHeight,
  ciHWidth,  // HTML toolset
};

class TQMEEnvironment {
 public:
  // ProgramFile decides where a portable settings file and the shipped help
  // page and template are looked for. Reads the settings file.
  explicit TQMEEnvironment(const QString& programFile = QCoreApplication::applicationFilePath());

  // Reads the Settings section over the current values.
  void ReadSettings();
  // Writes the Settings section in one replacement of the settings file.
  // Throws EInOutError "Unable to write to <IniFileName>".
  void WriteSettings();
  // Stores Dir with a "/" appended when missing; an empty Dir stays empty.
  void SetWorkingDir(const QString& dir);
  // Stores one window coordinate, Index ciTop to ciHWidth; keeps the main window's
  // minimum size and centres it where its top or left is -1.
  void SetCoord(int index, std::int32_t value);
  // The rows of FileMask, in its own order (the settings dialog sorts them).
  void MasksToList(QStringList& list) const;
  // FileMask := every row of List followed by ";".
  void ListToMasks(const QStringList& list);

  QString IniFileName;
  QString HelpFileName;
  QString TemplateFileName;  // enclosed in double quotes
  // The settings; their keys and defaults are in the table of environment.cpp.
  QString WorkingDir;
  QString LastSearch;
  QString Replace;
  bool CaseSensitive{};
  bool QueryReplace{};
  std::int32_t TabInterval{};  // quarters of an average character width
  QString FileMask;
  bool SaveSearch{};
  bool SaveCoord{};
  bool DelEmptyLines{};
  std::uint8_t AutoConversion{};  // a TConversion; a value above is kept as read
  std::int32_t Top{}, Left{}, Height{}, Width{};
  std::int32_t RTop{}, RLeft{}, RHeight{}, RWidth{};
  std::int32_t HTop{}, HLeft{}, HHeight{}, HWidth{};
  std::int32_t CTop{}, CLeft{}, CHeight{}, CWidth{};
  bool HTMLOpen{};
  bool SpecCharOpen{};
  QString RemoteRoot;
  bool SyntaxHighlight{};  // colour HTML, CSS and JavaScript pages
  // The site check's index pages (";" between them) and its image size limit in KB.
  QString CheckIndexPages;
  std::int32_t CheckImageLimit{};

 private:
  void LocateFiles(const QString& programFile);
  std::int32_t* CoordField(int index);
};

// The record in use; set by whoever creates it.
extern TQMEEnvironment* Environment;

// The smallest size of the main window.
inline constexpr std::int32_t MinMainHeight = 400;
inline constexpr std::int32_t MinMainWidth = 712;
