#include "site/site_listing.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "components/file_names.h"
#include "site/site_names.h"

QString ListingRoot(const TZELFileManager& manager) {
  return QDir::cleanPath(QDir(manager.WorkingDir()).absolutePath());
}

QString RelativeLine(const QString& line, const QString& root) {
  if (root.isEmpty()) return line;
  const qsizetype p = line.indexOf(root, 0, Qt::CaseInsensitive);
  if (p < 0) return line;
  // The root "/" already ends in the separator.
  const qsizetype length = root.endsWith(u'/') ? root.size() : root.size() + 1;
  return QString(line).remove(p, length);
}

TSiteListing ListSite(TZELFileManager& manager, const QString& localRoot, const QString& mask,
                      bool details, bool inclSubDirs) {
  manager.SetWorkingDir(localRoot);
  manager.SetOptions(fmShowFullName | fmIncludeSubDirs);
  manager.SetSearchMask(mask);
  manager.List();
  if (manager.Stopped()) {
    TSiteListing stopped;
    stopped.Complete = false;
    return stopped;
  }
  QStringList fullPaths = manager.ResultList();
  TSiteListing result = ListingLines(manager, details, inclSubDirs);
  result.FullPaths = std::move(fullPaths);
  return result;
}

TSiteListing ListingLines(TZELFileManager& manager, bool details, bool inclSubDirs,
                          TZELFMSortOrder order) {
  TZELFMOption options = details ? fmShowDate | fmShowSize | fmShowAttribs | fmShowFullName : 0;
  if (inclSubDirs) options |= fmIncludeSubDirs;
  TSiteListing result;
  if (order != soNone) {
    // The engine takes an order after a run that shows its column, a size
    // order after one with both size options; the sorted run then shows the
    // sizes as the window does, each file opened.
    manager.SetOptions(order == soSize ? options | fmShowSizeRO : options);
    manager.List();
    if (manager.ErrorCode() != ecOK || manager.Stopped()) {
      result.Complete = !manager.Stopped();
      return result;
    }
    manager.SetSortOrder(order);
  }
  manager.SetOptions(options);
  manager.List();
  result.Complete = !manager.Stopped();
  const QString root = ListingRoot(manager);
  result.Lines.reserve(manager.ResultList().size());
  for (const QString& line : manager.ResultList())
    result.Lines.append(ListedName(RelativeLine(line, root)));
  result.FileCount = manager.FileCount();
  result.TotalSize = manager.TotalSize();
  return result;
}

QString CaseFileName(const QString& fileName, bool upper) {
  QString result = fileName;
  for (QChar& c : result) {
    if (upper && c >= u'a' && c <= u'z')
      c = QChar(c.unicode() - 32);
    else if (!upper && c >= u'A' && c <= u'Z')
      c = QChar(c.unicode() + 32);
  }
  return result;
}

QString RenameFailureText(const QString& path) {
  const QString shown = ListedName(path);
  return QStringLiteral("Can't rename ") +
         (shown.size() > 25 ? QStringLiteral("...") + shown.right(25) : shown);
}

namespace {

bool SameEntry(const QByteArray& a, const QByteArray& b) {
  struct stat sa, sb;
  return ::lstat(a.constData(), &sa) == 0 && ::lstat(b.constData(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace

bool RenameNoReplace(const QString& path, const QString& newName, QString* reason) {
  const QByteArray from = PathBytes(path);
  const QByteArray to = PathBytes(path.left(path.lastIndexOf(u'/') + 1) + newName);
  int error = 0;
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
    error = errno;
    // Without RENAME_NOREPLACE in the file system a hard link refuses an
    // existing name just as well.
    if (error == EINVAL) {
      error = ::link(from.constData(), to.constData()) == 0 ? 0 : errno;
      if (error == 0) ::unlink(from.constData());
    }
    // A file system that ignores case finds the file itself under its new
    // name: step through a temporary name so that only its case changes.
    if (error == EEXIST && SameEntry(from, to)) {
      const QByteArray step = to + ".~case";
      error =
          ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, step.constData(), RENAME_NOREPLACE) ||
                  ::renameat2(AT_FDCWD, step.constData(), AT_FDCWD, to.constData(),
                              RENAME_NOREPLACE)
              ? errno
              : 0;
    }
  }
  if (error != 0 && reason) *reason = QString::fromLocal8Bit(std::strerror(error));
  return error == 0;
}
