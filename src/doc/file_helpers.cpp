#include "doc/file_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>

#include "components/file_names.h"
#include "doc/checked_write.h"

namespace {

QByteArray Native(const QString& path) { return PathBytes(path); }

// The entry exists in any form, a dangling symbolic link included.
bool EntryExists(const QString& path) {
  struct stat st;
  return ::lstat(Native(path).constData(), &st) == 0;
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
  bool ok = false;
  try {
    struct stat st;
    if (::fstat(fromFd, &st) == 0 && S_ISREG(st.st_mode)) {
      TCheckedWrite copy(Target, TWriteMode::CreateNew);
      copy.SetPermissions(st.st_mode & 0777);
      char buffer[64 * 1024];
      for (;;) {
        const ssize_t n = ::read(fromFd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        if (n == 0) {
          copy.Commit();
          ok = true;
          break;
        }
        copy.Write(buffer, std::size_t(n));
      }
    }
  } catch (const EInOutError&) {
    ok = false;
  }
  ::close(fromFd);
  return ok;
}

bool SameFile(const QString& A, const QString& B) {
  struct stat a, b;
  if (A.isEmpty() || B.isEmpty() || ::stat(Native(A).constData(), &a) != 0 ||
      ::stat(Native(B).constData(), &b) != 0)
    return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

TFileStamp FileStampOf(const QString& Name) {
  struct stat st;
  if (Name.isEmpty() || ::stat(Native(Name).constData(), &st) != 0) return {};
  return {true, qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, qint64(st.st_size),
          quint64(st.st_dev), quint64(st.st_ino)};
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
