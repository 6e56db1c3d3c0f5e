#include "site/file_manager.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "components/file_names.h"
#include "components/msg_door.h"
#include "doc/checked_write.h"
#include "doc/file_helpers.h"
#include "site/site_names.h"

namespace {

// A walk lets pending events run at most this often: a folder of 100,000
// entries then spends its time walking, not in the event loop.
constexpr qint64 EventIntervalMs = 5;

const QString UnknownDateColumn = QStringLiteral(" (unknown date)  ");

// The caller's write permission as the mode bits give it, so that a file
// marked read-only counts as such also for the superuser.
bool WritableByUser(const struct stat& st) {
  if (st.st_uid == ::geteuid()) return st.st_mode & S_IWUSR;
  if (st.st_gid == ::getegid()) return st.st_mode & S_IWGRP;
  return st.st_mode & S_IWOTH;
}

bool MatchFrom(const QChar* n, const QChar* nEnd, const QChar* m, const QChar* mEnd) {
  // Iterative star matching: remember the last "*" and retry one further.
  const QChar* starM = nullptr;
  const QChar* starN = nullptr;
  while (n != nEnd) {
    if (m != mEnd && *m == u'*') {
      starM = ++m;
      starN = n;
    } else if (m != mEnd && (*m == u'?' || m->toCaseFolded() == n->toCaseFolded())) {
      ++m;
      ++n;
    } else if (starM) {
      m = starM;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m != mEnd && *m == u'*') ++m;
  return m == mEnd;
}

// "yyyy-mm-dd hh:nn " of a modification time in local time; localtime_r
// keeps the time zone cached, where a QDateTime per file costs a lookup.
QString DateColumn(bool known, time_t seconds) {
  struct tm t;
  if (!known || !::localtime_r(&seconds, &t)) return UnknownDateColumn;
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d ", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min);
  const QString column = QString::fromLatin1(text);
  return column == QLatin1String("1900-01-01 00:00 ") ? UnknownDateColumn : column;
}

QString SizeColumn(qint64 size) {
  const QString text =
      size >= 0 ? QString::number(size)
                : QStringLiteral("Error #") + QString::number(-size).rightJustified(3, u'0');
  // Wider sizes widen the column rather than lose their first digits.
  return text.rightJustified(10, u' ') + u' ';
}

// The length of the open file, or -1 when it cannot be opened for reading.
qint64 OpenedSize(const QByteArray& path) {
  const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  const qint64 size = ::fstat(fd, &st) == 0 ? qint64(st.st_size) : -1;
  ::close(fd);
  return size;
}

QDateTime WholeMinute(const QDateTime& value) {
  QDateTime result = value;
  result.setTime(QTime(value.time().hour(), value.time().minute()));
  return result;
}

struct TDirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

}  // namespace

QString FMErrorText(TZELFMErrorCode code) {
  switch (code) {
    case ecOK:
      return {};
    case ecNoWorkDir:
      return QStringLiteral("Incorrect WorkingDir");
    case ecCantCreateTargDir:
      return QString::fromUtf8("Can´t create TargetDir");
    case ecDirsEqual:
      return QStringLiteral("Same Source & TargetDirs");
    case ecCopyErr:
      return QString::fromUtf8("Can´t copy file");
    case ecReplaceErr:
      return QString::fromUtf8("Can´t replace file");
    case ecOutFileErr:
      return QString::fromUtf8("Can´t create Ouputfile");
    case ecTouchErr:
      return QString::fromUtf8("Can´t touch file");
    case ecDeleteErr:
      return QString::fromUtf8("Can´t delete file");
  }
  return {};
}

bool MatchesMask(const QString& name, const QString& mask) {
  const QChar* n = name.constData();
  if (MatchFrom(n, n + name.size(), mask.constData(), mask.constData() + mask.size())) return true;
  // A trailing ".*" also stands for no extension at all: "*.*" matches "README".
  return mask.endsWith(QLatin1String(".*")) && !name.contains(u'.') &&
         MatchFrom(n, n + name.size(), mask.constData(), mask.constData() + mask.size() - 2);
}

TZELFileManager::TZELFileManager(QObject* owner)
    : TZELComponent(owner),
      FWorkingDir(DelBackslash(QDir::currentPath())),
      FTargetDir(FWorkingDir),
      FMinDate(MinDateTime()),
      FTimeStamp(WholeMinute(QDateTime::currentDateTime())) {}

void TZELFileManager::SetWorkingDir(const QString& value) {
  FWorkingDir = DelBackslash(value.trimmed());
}

void TZELFileManager::SetTargetDir(const QString& value) {
  FTargetDir = DelBackslash(value.trimmed());
}

void TZELFileManager::SetSortOrder(TZELFMSortOrder value) {
  bool accepted = true;
  switch (value) {
    case soDate:
      accepted = FWorkOptions & fmShowDate;
      break;
    case soSize:
      accepted = (FWorkOptions & fmShowSize) && (FWorkOptions & fmShowSizeRO);
      break;
    case soAttr:
      accepted = FWorkOptions & fmShowAttribs;
      break;
    case soNone:
    case soName:
      break;
  }
  FSortOrder = accepted ? value : soNone;
}

void TZELFileManager::SetSearchMask(const QString& value) {
  static const QString allowed = QStringLiteral("ABCEDFGHIJKLMNOPQRSTUVWXYZ01234567890_-*?.");
  // By characters, not UTF-16 units: one outside the BMP is named whole, at
  // its own position.
  const QList<uint> codes = value.toUcs4();
  for (qsizetype i = 0; i < codes.size(); ++i) {
    const char32_t c = codes[i];
    const char32_t upper = (c >= U'a' && c <= U'z') ? c - 32 : c;
    if (upper > 0xFFFF || !allowed.contains(QChar(char16_t(upper)))) {
      DoorWarning(QStringLiteral("Error in SearchMask at position %1 (\"%2\").")
                      .arg(i + 1)
                      .arg(QString::fromUcs4(&c, 1)),
                  QStringLiteral("Illegal characters"));
      return;
    }
  }
  FSearchMask = value.isEmpty() ? QStringLiteral("*.*") : value;
}

TDateStrNL TZELFileManager::MinDate() const { return DateToDateStr(FMinDate); }

void TZELFileManager::SetMinDate(const TDateStrNL& value) {
  FMinDate = IsValidDateStr(value) ? DateStrToDate(value) : MinDateTime();
}

TDateTimeStrNL TZELFileManager::TimeStamp() const { return DateTimeToDateTimeStr(FTimeStamp); }

void TZELFileManager::SetTimeStamp(const TDateTimeStrNL& value) {
  FTimeStamp = DateTimeStrToDateTime(value);
}

void TZELFileManager::SetResultList(const QStringList&) {
  DoorInfo(QString::fromUtf8("Can´t write to ResultList."), QStringLiteral("Read-Only property"));
}

void TZELFileManager::List() {
  Run(true);
  Reset();
}

void TZELFileManager::Touch() {
  if (FShowWarnings &&
      DoorYesNo(QStringLiteral("Alle opgegeven bestanden krijgen de datum/tijd: \"%1\".\r\n"
                               "Wilt u doorgaan?")
                    .arg(TimeStamp()),
                QStringLiteral("Bestandsdatum zetten")) == mrNo)
    return;
  Run(false);
  // The paths as on disk: ResultList may hold them in another case.
  const QStringList paths = std::move(FTouchPaths);
  FTouchPaths.clear();
  // A stopped walk has not found every file: dating only those would pass
  // for a whole touch.
  if (FStopped) return ReportStopped(0, paths.size(), true);
  qsizetype done = 0;
  for (const QString& path : paths) {
    LetEventsRun();
    if (FStopped) return ReportStopped(done, paths.size() - done, false);
    SetFileDate(path, FTimeStamp);
    if (GetFileDate(path) != FTimeStamp) {
      ReportError(ecTouchErr, path);
      return;
    }
    ++done;
  }
  Reset();
}

void TZELFileManager::Run(bool listing) {
  FSortKeys.clear();
  FFolders.clear();
  FResultList.clear();
  FTouchPaths.clear();
  FErrorCode = ecOK;
  // Cleared as a run starts, not only as it ends: a touch reports its failure
  // after its run, and that abort must not empty the next run.
  FAborted = false;
  FStopped = false;
  FFileCount = 0;
  FTotalSize = 0;
  FMaxKeyLength = 0;
  FSinceEvents.start();
  FMinSecs = FMinDate.toSecsSinceEpoch();
  FMinSecsFloor = MinDateTime().toSecsSinceEpoch();

  if (FWorkingDir.isEmpty() || !DriveReady(FWorkingDir)) ReportError(ecNoWorkDir, FWorkingDir);
  const QString root = QDir::cleanPath(QDir(FWorkingDir).absolutePath());
  if (!listing) {
    char* const real = ::realpath(PathBytes(root).constData(), nullptr);
    FRealRoot = real ? std::string(real) : std::string();
    ::free(real);
    if (!FRealRoot.ends_with('/')) FRealRoot += '/';
  }

  if (listing)
    FWorkOptions = FOptions;
  else
    FWorkOptions = fmShowFullName | (FOptions & fmIncludeSubDirs);
  FListing = listing;
  WalkFiles(root);
  if (FWorkOptions & fmIncludeSubDirs) {
    CollectFolders(root);
    for (qsizetype i = 0; i < FFolders.size() && !FAborted; ++i) WalkFiles(FFolders[i]);
  }
  if (listing && FSortOrder != soNone) SortResult();

  FFolders.clear();
  FFileCount = int(FResultList.size());
  if (listing && !FOutFile.isEmpty()) WriteOutFile();
}

void TZELFileManager::LetEventsRun() {
  if (FSinceEvents.elapsed() < EventIntervalMs) return;
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
  FSinceEvents.restart();
}

void TZELFileManager::WalkFiles(const QString& folder) {
  if (FAborted) return;
  const QByteArray native = PathBytes(folder);
  const std::unique_ptr<DIR, TDirCloser> dir(::opendir(native.constData()));
  if (!dir) return;
  const int dirFd = ::dirfd(dir.get());
  const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
  const bool fullName = FWorkOptions & (fmShowFullName | fmIncludeSubDirs);
  while (true) {
    LetEventsRun();
    if (FAborted) break;
    const dirent* entry = ::readdir(dir.get());
    if (!entry) break;
    if (entry->d_type == DT_DIR) continue;
    // By its own bytes: a name that is no valid UTF-8 must open again.
    const QString name = NameFromBytes(entry->d_name);
    if (!MatchesMask(name, FSearchMask)) continue;

    struct stat st;
    // A link to a file counts as that file; a dangling one as a system file.
    bool known = ::fstatat(dirFd, entry->d_name, &st, 0) == 0;
    if (!known && ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(st.st_mode)) continue;
    const bool regular = known && S_ISREG(st.st_mode);
    const bool readOnly = known && !WritableByUser(st);
    const bool hidden = name.startsWith(u'.');
    if (!FSysFiles && (readOnly || hidden || !regular)) continue;

    const QString fullPath = prefix + name;
    if (!FListing && !InsideRoot(dirFd, entry, fullPath)) continue;
    QString line;
    QString key;
    if (FWorkOptions & fmShowDate) {
      // An unreadable date stands as 01-01-1900 00:00, so a later MinDate drops it.
      const qint64 seconds = known ? qint64(st.st_mtim.tv_sec) : FMinSecsFloor;
      if (seconds < FMinSecs) continue;
      const QString column = DateColumn(known, st.st_mtim.tv_sec);
      line += column;
      if (FSortOrder == soDate) key = column;
    }
    if (FWorkOptions & (fmShowSize | fmShowSizeRO)) {
      qint64 size = -1;
      if (FWorkOptions & fmShowSizeRO)
        size = known ? qint64(st.st_size) : -1;
      else
        size = OpenedSize(PathBytes(fullPath));
      if (size >= 0) FTotalSize += quint64(size);
      const QString column = SizeColumn(size);
      line += column;
      if (FSortOrder == soSize) key = column;
    }
    if (FWorkOptions & fmShowAttribs) {
      QString column(5, u' ');
      if (regular) column[0] = u'A';
      if (readOnly) column[1] = u'R';
      if (hidden) column[2] = u'H';
      if (!regular) column[3] = u'S';
      line += column;
      if (FSortOrder == soAttr) key = column;
    }
    const QString nameColumn = fullName ? fullPath : name;
    line += nameColumn;
    if (FSortOrder == soName) key = nameColumn;

    FResultList.append(CaseText(line));
    if (!FListing) FTouchPaths.append(fullPath);
    if (FListing && FSortOrder != soNone) {
      FMaxKeyLength = std::max(FMaxKeyLength, key.size());
      FSortKeys.append(CaseText(key));
    }
  }
}

bool TZELFileManager::InsideRoot(int dirFd, const dirent* entry, const QString& fullPath) const {
  struct stat st;
  if (entry->d_type != DT_LNK &&
      (entry->d_type != DT_UNKNOWN ||
       (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISLNK(st.st_mode))))
    return true;
  // A link is followed by whoever changes its file: one that leads out of the
  // site is left alone, so that no site action changes a file outside it.
  char* const target = ::realpath(PathBytes(fullPath).constData(), nullptr);
  if (!target) return false;
  const bool inside = std::string_view(target).starts_with(FRealRoot);
  ::free(target);
  return inside;
}

void TZELFileManager::CollectFolders(const QString& folder) {
  if (FAborted) return;
  const std::unique_ptr<DIR, TDirCloser> dir(::opendir(PathBytes(folder).constData()));
  if (!dir) return;
  const int dirFd = ::dirfd(dir.get());
  const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
  while (true) {
    LetEventsRun();
    if (FAborted) break;
    const dirent* entry = ::readdir(dir.get());
    if (!entry) break;
    // Hidden folders are never walked, nor links to folders (no cycles).
    if (entry->d_name[0] == '.') continue;
    if (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN) continue;
    struct stat st;
    if (entry->d_type == DT_UNKNOWN &&
        (::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode)))
      continue;
    const QString path = prefix + NameFromBytes(entry->d_name);
    FFolders.append(path);
    CollectFolders(path);
  }
}

void TZELFileManager::SortResult() {
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  struct TItem {
    QCollatorSortKey Key;
    qsizetype Index;
  };
  std::vector<TItem> items;
  items.reserve(size_t(FResultList.size()));
  for (qsizetype i = 0; i < FResultList.size(); ++i) {
    QString text = FSortKeys.value(i);
    if (FSortOrder == soName) text = text.leftJustified(FMaxKeyLength, u' ');
    // Folded first: the collation of the C locale would tell case apart.
    items.push_back({collator.sortKey((text + FResultList[i]).toCaseFolded()), i});
  }
  std::stable_sort(items.begin(), items.end(),
                   [](const TItem& a, const TItem& b) { return a.Key.compare(b.Key) < 0; });
  QStringList sorted;
  sorted.reserve(FResultList.size());
  for (const TItem& item : items) sorted.append(FResultList[item.Index]);
  FResultList = std::move(sorted);
}

void TZELFileManager::WriteOutFile() {
  QByteArray bytes;
  for (const QString& line : FResultList) bytes += ListedName(line).toUtf8() + "\r\n";
  try {
    WriteFileChecked(FOutFile, bytes);
  } catch (const EInOutError&) {
    ReportError(ecOutFileErr, FOutFile);
  }
}

void TZELFileManager::ReportError(TZELFMErrorCode code, const QString& argument) {
  Reset();
  FErrorCode = code;
  if (OnError) {
    OnError(this, code, argument);
  } else {
    QString text = QStringLiteral("%1: Error #%2 occured.\r\nMessage: %3.")
                       .arg(objectName())
                       .arg(int(code))
                       .arg(FMErrorText(code));
    if (!argument.isEmpty()) text += QStringLiteral("\r\n(%1)").arg(ListedName(argument));
    DoorWarning(text, QStringLiteral("Function aborted"));
  }
  FAborted = true;
}

void TZELFileManager::ReportStopped(qsizetype done, qsizetype notDone, bool looking) {
  Reset();
  const QString text = looking
                           ? QStringLiteral(
                                 "%1: Touch stopped while looking for files.\r\n"
                                 "%2 files done, %3 found so far not done.")
                           : QStringLiteral("%1: Touch stopped.\r\n%2 files done, %3 not done.");
  DoorWarning(text.arg(objectName()).arg(done).arg(notDone), QStringLiteral("Function aborted"));
}

void TZELFileManager::Reset() {
  FTimeStamp = WholeMinute(QDateTime::currentDateTime());
  FShowWarnings = true;
  FShowDeltreeWarning = true;
}

QString TZELFileManager::CaseText(const QString& text) const {
  switch (FCharCase) {
    case ecUpperCase:
      return text.toUpper();
    case ecLowerCase:
      return text.toLower();
    case ecNormal:
      break;
  }
  return text;
}
