#pragma once
// The program's one settings record: every setting, the paths of the settings
// file, the help page and the template. Created and owned by the main window,
// reached by every window through Environment.
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "app/whitespace_rules.h"

// The indexes of the window coordinates SetCoord takes, in their fixed order.
enum TCoordIndex : int {
  ciTop = 1, ciLeft, ciHeight, ciWidth,  // the main window
  ciRTop, ciRLeft, ciRHeight, ciRWidth,  // search results
  ciCTop, ciCLeft, ciCHeight, ciCWidth,  // special characters
  ciHTop, ciHLeft, ciHHeight, ciHWidth,  // HTML toolset
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
  QString WorkingDir;
  QString TemplateFileName;  // enclosed in double quotes
  QString LastSearch;
  QString Replace;
  bool CaseSensitive = false;
  bool QueryReplace = true;
  std::int32_t TabInterval = 12;  // quarters of an average character width
  QString FileMask;
  bool SaveSearch = true;
  bool SaveCoord = true;
  bool DelEmptyLines = true;
  std::uint8_t AutoConversion = convToTabs;  // a TConversion, or above: kept as read
  std::int32_t Top = 0, Left = 0, Height = 0, Width = 0;
  std::int32_t RTop = 0, RLeft = 0, RHeight = 0, RWidth = 0;
  std::int32_t HTop = 0, HLeft = 0, HHeight = 0, HWidth = 0;
  std::int32_t CTop = 0, CLeft = 0, CHeight = 0, CWidth = 0;
  bool HTMLOpen = false;
  bool SpecCharOpen = false;
  QString RemoteRoot;

 private:
  void LocateFiles(const QString& programFile);
  std::int32_t* CoordField(int index);
};

// The record in use; set by whoever creates it.
extern TQMEEnvironment* Environment;

// The smallest size of the main window.
inline constexpr std::int32_t MinMainHeight = 400;
inline constexpr std::int32_t MinMainWidth = 712;
