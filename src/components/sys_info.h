#pragma once
// The facts behind the about box's version information: the running system's
// name and version, the build's word size and compiler, and the date of the
// program file, all captured when the object is created.
#include <QDateTime>
#include <QString>

// A system's name and version as the information reports it: for Linux the
// kernel's major.minor with its patch level as the build number.
struct TSysVersion {
  QString Name;
  int Major = 0;
  int Minor = 0;
  quint16 Build = 0;
};

class TZELSysInfo {
 public:
  // The running system (uname), this build and this program's file.
  TZELSysInfo();
  // Reports Version instead of the running system's.
  explicit TZELSysInfo(const TSysVersion& version);

  // 1 major, 2 minor, 3 and 4 the high and low byte of the build number,
  // 5 the build number, 6 the system's name, 7 "Name (major.minor Build n)",
  // 8 "64 bits", 9 the compiler and its major version, 10 the program file's
  // date "dd-mm-yyyy hh:nn"; any other index the empty text.
  QString GetInfo(int index) const;

  // The system uname reports.
  static TSysVersion RunningSystem();
  // "6.1.0-18-amd64" reads as 6, 1, build 0; missing parts are 0.
  static TSysVersion ParseRelease(const QString& sysName, const QString& release);

 private:
  TSysVersion FVersion;
  int FWordSize;
  QString FCompiler;
  QDateTime FExeDate;
};

// The version-information message: compiler, system, executable's date and
// the library's version, one per line, lines ending in CR LF.
QString VersionInfoText(const TZELSysInfo& info);
