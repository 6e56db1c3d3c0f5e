#include "app/file_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// The entry exists in any form, a dangling symbolic link included.
bool EntryExists(const QString& path) {
  struct stat st;
  return ::lstat(Native(path).constData(), &st) == 0;
}

bool CopyContents(int fromFd, QFile& to) {
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fromFd, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (to.write(buffer, n) != n) return false;
  }
}

// Moves the finished copy to Target only when no entry of that name exists
// at that moment. renameat2 does so in one step; link + unlink refuses an
// existing name just as well where renameat2 is missing.
bool MoveIntoPlace(QTemporaryFile& temp, const QString& target) {
  const QByteArray from = Native(temp.fileName());
  const QByteArray to = Native(target);
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0) {
    temp.setAutoRemove(false);
    return true;
  }
  if (errno == EEXIST) return false;
  // After a link the temporary is removed by its destructor.
  if (::link(from.constData(), to.constData()) == 0) return true;
  if (errno == EEXIST || EntryExists(target)) return false;
  // A file system with neither (FAT on a memory stick) leaves a plain rename
  // after the check; only a name made in between could still be replaced.
  if (::rename(from.constData(), to.constData()) != 0) return false;
  temp.setAutoRemove(false);
  return true;
}

}  // namespace

QString AddBackslash(const QString& Path) {
  if (Path.isEmpty() || Path.endsWith(u'/')) return Path;
  return Path + u'/';
}

QString DelBackslash(const QString& Path) {
  // Cutting the root down to "" would turn "/" + name into a relative path.
  if (Path.size() > 1 && Path.endsWith(u'/')) return Path.chopped(1);
  return Path;
}

bool DriveReady(const QString& Path) {
  if (Path.isEmpty() || Path.startsWith(QStringLiteral("//"))) return false;
  struct stat st;
  const QByteArray native = Native(Path);
  return ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(native.constData(), X_OK) == 0;
}

bool CreateEmptyFile(const QString& Name) {
  if (Name.isEmpty() || Name.endsWith(u'/')) return false;
  const QFileInfo info(Name);
  if (!QDir().mkpath(info.absolutePath())) return false;
  QFile file(Name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  file.close();
  return file.error() == QFileDevice::NoError;
}

bool CopyFileTo(const QString& Source, const QString& Target) {
  if (Source.isEmpty() || Target.isEmpty() || Target.endsWith(u'/') || EntryExists(Target))
    return false;
  const int fromFd = ::open(Native(Source).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fromFd < 0) return false;
  struct stat st;
  bool ok = ::fstat(fromFd, &st) == 0 && S_ISREG(st.st_mode);
  if (ok) {
    QTemporaryFile temp(QFileInfo(Target).absolutePath() + QStringLiteral("/.qme_copy.XXXXXX"));
    ok = temp.open() && CopyContents(fromFd, temp) && temp.flush() &&
         ::fchmod(temp.handle(), st.st_mode & 0777) == 0 && ::fsync(temp.handle()) == 0;
    ok = ok && MoveIntoPlace(temp, Target);
  }
  ::close(fromFd);
  return ok;
}

qint64 FileSizeOf(const QString& Name) {
  if (Name.isEmpty()) return -1;
  const int fd = ::open(Native(Name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  const bool ok = ::fstat(fd, &st) == 0 && !S_ISDIR(st.st_mode);
  ::close(fd);
  return ok ? static_cast<qint64>(st.st_size) : -1;
}

qint64 FileTimeOf(const QString& Name) {
  if (Name.isEmpty()) return -1;
  const QByteArray native = Native(Name);
  struct stat st;
  if (::stat(native.constData(), &st) != 0 && ::lstat(native.constData(), &st) != 0) return -1;
  return static_cast<qint64>(st.st_mtim.tv_sec);
}
