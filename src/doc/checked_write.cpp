#include "doc/checked_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "components/file_names.h"

namespace {

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QByteArray BaseOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// A link is written where it points, so the link itself survives the
// rename; a dangling one is replaced by the file, as an editor would.
QByteArray ResolveLinks(const QByteArray& path) {
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* real = ::realpath(path.constData(), nullptr);
  if (!real) return path;
  QByteArray result(real);
  std::free(real);
  return result;
}

mode_t CurrentUmask() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

bool WriteAll(int fd, const char* data, std::size_t size, off_t* offset = nullptr) {
  while (size > 0) {
    const ssize_t n = offset ? ::pwrite(fd, data, size, *offset) : ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    data += n;
    size -= std::size_t(n);
    if (offset) *offset += n;
  }
  return true;
}

// Copies the staged bytes over the target from the start. The space is
// reserved first, so a full disk refuses before the target is touched.
bool CopyOver(int from, int to, off_t size) {
  if (::fallocate(to, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS && size > 0)
    return false;
  char buffer[256 * 1024];
  off_t at = 0;
  while (at < size) {
    const ssize_t n = ::pread(from, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    off_t writeAt = at;
    if (!WriteAll(to, buffer, std::size_t(n), &writeAt)) return false;
    at = writeAt;
  }
  return ::ftruncate(to, size) == 0 && ::fsync(to) == 0;
}

// Gives the temporary the target's name only while no entry of that name
// exists. renameat2 does so in one step; link + unlink refuses an existing
// name just as well where renameat2 is missing.
bool MoveToFreeName(const QByteArray& from, const QByteArray& to) {
  if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno == EEXIST) return false;
  if (::link(from.constData(), to.constData()) == 0) {
    ::unlink(from.constData());
    return true;
  }
  if (errno == EEXIST) return false;
  // A file system with neither (FAT on a memory stick) leaves a plain rename
  // after the check; only a name made in between could still be replaced.
  struct stat st {};
  if (::lstat(to.constData(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(from.constData(), to.constData()) == 0;
}

}  // namespace

QString WriteFailureText(const QString& fileName, const QString& reason) {
  return QStringLiteral("Cannot write \"%1\": %2").arg(fileName, reason);
}

TCheckedWrite::TCheckedWrite(const QString& target, TWriteMode mode)
    : FTarget(target), FMode(mode) {
  // Past a file size limit the write must fail with EFBIG, not end the program.
  static const bool ignoreSizeSignal = (std::signal(SIGXFSZ, SIG_IGN), true);
  (void)ignoreSizeSignal;
  if (target.isEmpty()) Fail(ENOENT);
  FReal = ResolveLinks(PathBytes(target));
  struct stat st {};
  const bool exists = ::stat(FReal.constData(), &st) == 0;
  if (mode == TWriteMode::CreateNew && (exists || ::lstat(FReal.constData(), &st) == 0))
    Fail(EEXIST);
  if (exists && S_ISDIR(st.st_mode)) Fail(EISDIR);
  if (exists && !S_ISREG(st.st_mode))
    throw EInOutError(WriteFailureText(FTarget, QStringLiteral("it is not a regular file")));
  if (exists && ::access(FReal.constData(), W_OK) != 0) Fail(errno);
  FWriteOver = exists && st.st_nlink > 1;

  if (mode == TWriteMode::InPlace) {
    const QByteArray tmp = PathBytes(QDir::tempPath());
    FFd = ::open(tmp.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (FFd < 0) Fail(errno);
    return;
  }
  // An unnamed temporary leaves nothing behind when the program is killed
  // while writing; file systems without them get a named one.
  const QByteArray folder = FolderOf(FReal);
  FFd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (FFd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    // The writer's number in the name, as in the name an unnamed one gets,
    // so that a later start can tell whether the writer still runs.
    FStage = folder + "/." + BaseOf(FReal) + ".qme-" +
             QByteArray::number(quint64(::getpid()) * 1000, 36) + "-XXXXXX";
    FFd = ::mkostemp(FStage.data(), O_CLOEXEC);
    if (FFd < 0) FStage.clear();
  }
  if (FFd < 0) {
    const int error = errno;
    if (exists && (error == EACCES || error == EPERM))
      throw EFolderReadOnly(WriteFailureText(
          FTarget, QStringLiteral("its folder does not allow a new file to be made (%1)")
                       .arg(SystemReason(error))));
    Fail(error);
  }
  if (exists) {
    // Root may give the file back to its owner; a member of the group may at
    // least keep the group. The mode goes after, as chown clears set-id bits.
    // A page of another owner that we may write but not give back is
    // written over in place instead, so it keeps its owner.
    if (::fchown(FFd, st.st_uid, st.st_gid) != 0) {
      (void)::fchown(FFd, uid_t(-1), st.st_gid);
      if (st.st_uid != ::geteuid()) FWriteOver = true;
    }
    ::fchmod(FFd, st.st_mode & 07777);
  } else {
    ::fchmod(FFd, 0666 & ~CurrentUmask());
  }
}

TCheckedWrite::~TCheckedWrite() { Cancel(); }

void TCheckedWrite::SetPermissions(unsigned mode) {
  if (FFd >= 0) ::fchmod(FFd, mode & 07777);
}

void TCheckedWrite::Write(const char* data, std::size_t size) {
  if (FFd < 0) Fail(EBADF);
  if (!WriteAll(FFd, data, size)) Fail(errno);
}

void TCheckedWrite::Commit() {
  if (FFd < 0) Fail(EBADF);
  if (::fsync(FFd) != 0) Fail(errno);
  if (FMode == TWriteMode::InPlace || FWriteOver) {
    CommitInPlace();
    return;
  }
  // Some file systems (NFS) report a failed write only when it is closed;
  // an unnamed temporary is kept alive by a second descriptor until named.
  const int unnamed = FStage.isEmpty() ? ::dup(FFd) : -1;
  if (FStage.isEmpty() && unnamed < 0) Fail(errno);
  const bool closed = ::close(FFd) == 0;
  FFd = -1;
  if (!closed) {
    const int error = errno;
    if (unnamed >= 0) ::close(unnamed);
    Fail(error);
  }
  bool moved;
  if (unnamed >= 0) {
    moved = NameUnnamed(unnamed);
    const int error = errno;
    ::close(unnamed);
    errno = error;
  } else if (FMode == TWriteMode::CreateNew) {
    moved = MoveToFreeName(FStage, FReal);
  } else {
    moved = ::rename(FStage.constData(), FReal.constData()) == 0;
  }
  if (!moved) Fail(errno);
  FStage.clear();
  SyncFolder(FolderOf(FReal));
}

bool TCheckedWrite::NameUnnamed(int fd) {
  const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
  if (FMode == TWriteMode::CreateNew)
    return ::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, FReal.constData(), AT_SYMLINK_FOLLOW) ==
           0;
  // A name of its own first, so the rename replaces the target in one step.
  const QByteArray stem = FolderOf(FReal) + "/." + BaseOf(FReal) + ".qme-";
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    const QByteArray name = stem + QByteArray::number(quint64(::getpid()) * 1000 + attempt, 36);
    if (::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    if (::rename(name.constData(), FReal.constData()) == 0) return true;
    const int error = errno;
    ::unlink(name.constData());
    errno = error;
    return false;
  }
  errno = EEXIST;
  return false;
}

void TCheckedWrite::CommitInPlace() {
  struct stat st {};
  if (::fstat(FFd, &st) != 0) Fail(errno);
  const int target = ::open(FReal.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  if (target < 0) Fail(errno);
  const bool ok = CopyOver(FFd, target, st.st_size);
  const int error = errno;
  const bool closed = ::close(target) == 0;
  if (ok && closed) {
    Cancel();
    return;
  }
  // The target may now be partly new: the whole new text stays in the staged
  // file beside it, if there is one, and the message says where.
  if (!FStage.isEmpty()) {
    ::close(FFd);
    FFd = -1;
    const QString kept = QFile::decodeName(FStage);
    FStage.clear();
    throw EInOutError(
        WriteFailureText(FTarget, QStringLiteral("%1; the whole new text is kept in \"%2\"")
                                      .arg(SystemReason(ok ? errno : error), kept)));
  }
  Fail(ok ? errno : error);
}

void TCheckedWrite::Cancel() {
  if (FFd >= 0) ::close(FFd);
  FFd = -1;
  if (!FStage.isEmpty()) ::unlink(FStage.constData());
  FStage.clear();
}

void TCheckedWrite::Fail(int error) {
  Cancel();
  throw EInOutError(WriteFailureText(FTarget, SystemReason(error)));
}

void WriteFileChecked(const QString& target, const QByteArray& data, TWriteMode mode) {
  TCheckedWrite file(target, mode);
  file.Write(data);
  file.Commit();
}

void TCheckedWrite::Stage(const QByteArray& suffix) {
  if (FFd < 0) Fail(EBADF);
  if (FMode == TWriteMode::InPlace) Fail(EINVAL);
  const QByteArray name = FolderOf(FReal) + "/." + BaseOf(FReal) + suffix;
  const QByteArray proc = "/proc/self/fd/" + QByteArray::number(FFd);
  auto give = [&] {
    return FStage.isEmpty() ? ::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, name.constData(),
                                       AT_SYMLINK_FOLLOW) == 0
                            : ::rename(FStage.constData(), name.constData()) == 0;
  };
  // A temporary of an earlier, interrupted batch of the same name goes first.
  bool named = give();
  if (!named && errno == EEXIST && ::unlink(name.constData()) == 0) named = give();
  if (!named) Fail(errno);
  FStage = name;
  // Some file systems (NFS) report a failed write only when it is closed.
  const bool closed = ::close(FFd) == 0;
  FFd = -1;
  if (!closed) Fail(errno);
}

void TCheckedWrite::CommitStaged() {
  if (FStage.isEmpty()) Fail(EBADF);
  if (FMode == TWriteMode::InPlace || FWriteOver) {
    FFd = ::open(FStage.constData(), O_RDONLY | O_CLOEXEC);
    if (FFd < 0) Fail(errno);
    CommitInPlace();
    return;
  }
  if (::rename(FStage.constData(), FReal.constData()) != 0) Fail(errno);
  FStage.clear();
}

QString TCheckedWrite::StagedName() const {
  return NameFromBytes(std::string_view(FStage.constData(), std::size_t(FStage.size())));
}

QByteArray FolderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

void SyncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}
