#include "site/site_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "components/file_names.h"
#include "site/file_manager.h"

namespace {

QString Reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool MatchesAny(const QString& name, const QStringList& masks) {
  return std::any_of(masks.begin(), masks.end(),
                     [&](const QString& m) { return MatchesMask(name, m); });
}

void Walk(const QByteArray& folder, const QStringList& masks, bool subDirs, QStringList& out) {
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return;
  QList<QByteArray> files, folders;
  while (const dirent* e = ::readdir(dir)) {
    const QByteArray name(e->d_name);
    if (name.startsWith('.')) continue;  // hidden, and . and ..
    const QByteArray path = folder + '/' + name;
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      if (subDirs) folders.append(path);
    } else if (S_ISREG(st.st_mode) &&
               MatchesAny(NameFromBytes(std::string_view(name.constData(), name.size())), masks)) {
      files.append(path);
    }
  }
  ::closedir(dir);
  std::sort(files.begin(), files.end());
  std::sort(folders.begin(), folders.end());
  for (const QByteArray& f : files)
    out.append(NameFromBytes(std::string_view(f.constData(), std::size_t(f.size()))));
  for (const QByteArray& f : folders) Walk(f, masks, subDirs, out);
}

}  // namespace

QStringList SiteFiles(const QString& root, const QString& mask, bool subDirs) {
  QStringList masks;
  for (const QString& m : mask.split(u';'))
    if (!m.trimmed().isEmpty()) masks.append(m.trimmed());
  QStringList out;
  if (masks.isEmpty()) return out;
  QByteArray folder = PathBytes(QDir::cleanPath(QDir(root).absolutePath()));
  if (folder.endsWith('/') && folder.size() > 1) folder.chop(1);
  Walk(folder == "/" ? QByteArray() : folder, masks, subDirs, out);
  return out;
}

std::optional<QByteArray> ReadSiteFile(const QString& path, QString* reason) {
  // Without blocking, so that a pipe put in a file's place cannot hang us.
  const int fd = ::open(PathBytes(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  auto fail = [&](int error) -> std::optional<QByteArray> {
    if (reason) *reason = Reason(error);
    if (fd >= 0) ::close(fd);
    return std::nullopt;
  };
  if (fd < 0) return fail(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return fail(errno);
  if (!S_ISREG(st.st_mode)) return fail(EINVAL);
  // One byte more than the size, so that a file that grew is seen to go on.
  QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
  qsizetype done = 0;
  for (;;) {
    if (done == bytes.size()) bytes.resize(bytes.size() + 65536);
    const ssize_t n = ::read(fd, bytes.data() + done, std::size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return fail(errno);
    if (n == 0) break;
    done += n;
  }
  ::close(fd);
  bytes.truncate(done);
  return bytes;
}

QString RenameBack(const QString& from, const QString& to) {
  if (::renameat2(AT_FDCWD, PathBytes(from).constData(), AT_FDCWD, PathBytes(to).constData(),
                  RENAME_NOREPLACE) == 0)
    return {};
  return Reason(errno);
}

bool InsideRoot(const QString& path, const QString& root) {
  const QString r = root.endsWith(u'/') ? root : root + u'/';
  return path.startsWith(r) && !path.contains(QLatin1String("/../")) &&
         !path.endsWith(QLatin1String("/.."));
}

QString RelativeToRoot(const QString& path, const QString& root) {
  const QString r = root.endsWith(u'/') ? root : root + u'/';
  return ShownName(path.startsWith(r) ? path.mid(r.size()) : path);
}
