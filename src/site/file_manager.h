#pragma once
// TZELFileManager: the library's non-visual folder-tree tool. It walks a
// folder (and its sub-folders), keeps the files that match one pattern,
// formats a line per file (date, size, attributes, name), sorts the lines and
// can give every file found one modification time. The site window owns two;
// quillmere-site uses the same one from a shell.
#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "components/date_func.h"
#include "components/zel_component.h"

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

enum TZELFMOptions : quint8 {
  fmShowDate = 0x01,
  fmShowSize = 0x02,
  fmShowSizeRO = 0x04,
  fmShowAttribs = 0x08,
  fmShowFullName = 0x10,
  fmIncludeSubDirs = 0x20
};
// A set of TZELFMOptions, one bit per member.
using TZELFMOption = quint8;

enum TZELFMSortOrder { soNone, soDate, soSize, soAttr, soName };

enum TZELFMErrorCode {
  ecOK,
  ecNoWorkDir,
  ecCantCreateTargDir,
  ecDirsEqual,
  ecCopyErr,
  ecReplaceErr,
  ecOutFileErr,
  ecTouchErr,
  ecDeleteErr
};

// The text an error message shows for Code ("Incorrect WorkingDir"...).
QString FMErrorText(TZELFMErrorCode code);

using TErrNotiFyEvent =
    std::function<void(QObject* sender, TZELFMErrorCode errorCode, const QString& errorMsg)>;

// Does "Name" match the one pattern Mask ("*", "?", letters without regard
// to case; "*.*" also matches a name without a dot)?
bool MatchesMask(const QString& name, const QString& mask);

class TZELFileManager : public TZELComponent {
  Q_OBJECT
 public:
  explicit TZELFileManager(QObject* owner = nullptr);

  // Folder to walk: kept trimmed, without a trailing "/" (the root stays
  // "/"), in the case given, since the file system tells case apart.
  QString WorkingDir() const { return FWorkingDir; }
  void SetWorkingDir(const QString& value);
  QString TargetDir() const { return FTargetDir; }
  void SetTargetDir(const QString& value);
  // When not empty, a listing run writes ResultList here (CR LF per line).
  QString OutFile() const { return FOutFile; }
  void SetOutFile(const QString& value) { FOutFile = value; }
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase value) { FCharCase = value; }
  TZELFMOption Options() const { return FOptions; }
  void SetOptions(TZELFMOption value) { FOptions = value; }
  // When false, read-only, hidden and system files are left out of a walk.
  bool SysFiles() const { return FSysFiles; }
  void SetSysFiles(bool value) { FSysFiles = value; }
  // Accepted only when the last run's options show the sorted column;
  // otherwise soNone.
  TZELFMSortOrder SortOrder() const { return FSortOrder; }
  void SetSortOrder(TZELFMSortOrder value);
  // One pattern; an illegal character keeps the old mask and warns
  // ("Illegal characters"); empty means "*.*".
  QString SearchMask() const { return FSearchMask; }
  void SetSearchMask(const QString& value);
  // "dd-mm-yyyy"; files older are left out while fmShowDate is on. A text
  // that is no valid date gives 01-01-1900.
  TDateStrNL MinDate() const;
  void SetMinDate(const TDateStrNL& value);
  // "dd-mm-yyyy hh:nn": the time Touch gives. Throws EConvertError.
  TDateTimeStrNL TimeStamp() const;
  void SetTimeStamp(const TDateTimeStrNL& value);
  const QStringList& ResultList() const { return FResultList; }
  // Read-only: changes nothing and says so.
  void SetResultList(const QStringList& value);
  bool ShowWarnings() const { return FShowWarnings; }
  void SetShowWarnings(bool value) { FShowWarnings = value; }
  bool ShowDeltreeWarning() const { return FShowDeltreeWarning; }
  void SetShowDeltreeWarning(bool value) { FShowDeltreeWarning = value; }
  TZELFMErrorCode ErrorCode() const { return FErrorCode; }
  TErrNotiFyEvent OnError;

  // The lines of the files found (see the class comment), sorted by SortOrder.
  void List();
  // Gives every file of the walk TimeStamp, asking first when ShowWarnings.
  // SetFileDate's own failures (file gone, date refused) leave as EInOutError.
  // Events run while it dates the files; stopped by Abort, it says how many
  // files were done and how many not ("Function aborted").
  void Touch();
  // The walk in progress stops at its next folder entry, a touch at its
  // next file.
  void Abort() { FAborted = FStopped = true; }
  // The last run (or touch) was stopped by Abort before it ended.
  bool Stopped() const { return FStopped; }
  int FileCount() const { return FFileCount; }
  // Bytes of the listed files whose size was shown; 64-bit, so a large site
  // does not wrap.
  quint64 TotalSize() const { return FTotalSize; }

 private:
  void Run(bool listing);
  void WalkFiles(const QString& folder);
  void CollectFolders(const QString& folder);
  // A touch run's test for Entry (a file of the folder open as DirFd): no
  // link, or a link whose file lies inside the root.
  bool InsideRoot(int dirFd, const struct dirent* entry, const QString& fullPath) const;
  void SortResult();
  void WriteOutFile();
  void ReportError(TZELFMErrorCode code, const QString& argument);
  void ReportStopped(qsizetype done, qsizetype notDone, bool looking);
  void Reset();
  void LetEventsRun();
  QString CaseText(const QString& text) const;

  QString FWorkingDir;
  QString FTargetDir;
  QString FOutFile;
  TEditCharCase FCharCase = ecNormal;
  TZELFMOption FOptions = 0;
  bool FSysFiles = false;
  TZELFMSortOrder FSortOrder = soNone;
  QString FSearchMask = QStringLiteral("*.*");
  QDateTime FMinDate;
  QDateTime FTimeStamp;
  QStringList FResultList;
  bool FShowWarnings = true;
  bool FShowDeltreeWarning = true;
  TZELFMErrorCode FErrorCode = ecOK;

  TZELFMOption FWorkOptions = 0;
  int FFileCount = 0;
  quint64 FTotalSize = 0;
  qsizetype FMaxKeyLength = 0;
  QStringList FFolders;     // paths as on disk, for the walk
  QStringList FTouchPaths;  // the touch run's files as on disk
  bool FListing = true;
  qint64 FMinSecs = 0;
  qint64 FMinSecsFloor = 0;
  QStringList FSortKeys;
  bool FAborted = false;
  bool FStopped = false;
  std::string FRealRoot;  // a touch run's root, links resolved, ending in "/"
  QElapsedTimer FSinceEvents;
};
