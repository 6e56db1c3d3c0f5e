#include "doc/checked_write_batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "components/file_names.h"

TCheckedWriteBatch::TCheckedWriteBatch(QByteArray suffix) : FSuffix(std::move(suffix)) {}

TCheckedWriteBatch::~TCheckedWriteBatch() {
  Cancel();
  for (const auto& fs : FFileSystems) ::close(fs.second);
}

QString TCheckedWriteBatch::StagedNameFor(const QString& target, const QByteArray& suffix) {
  const QByteArray bytes = PathBytes(target);
  const qsizetype slash = bytes.lastIndexOf('/');
  const QByteArray name = bytes.left(slash + 1) + '.' + bytes.mid(slash + 1) + suffix;
  return NameFromBytes(std::string_view(name.constData(), std::size_t(name.size())));
}

int TCheckedWriteBatch::Add(const QString& target, const QByteArray& data) {
  WatchFileSystemOf(target);
  auto file = std::make_unique<TCheckedWrite>(target);
  file->Write(data);
  file->Stage(FSuffix);
  FFiles.push_back(std::move(file));
  return int(FFiles.size()) - 1;
}

void TCheckedWriteBatch::WatchFileSystemOf(const QString& target) {
  const QByteArray folder = FolderOf(PathBytes(target));
  struct stat st {};
  if (::stat(folder.constData(), &st) != 0) return;  // the write itself will say why
  for (const auto& fs : FFileSystems)
    if (fs.first == quint64(st.st_dev)) return;
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) FFileSystems.emplace_back(quint64(st.st_dev), fd);
}

void TCheckedWriteBatch::Sync() {
  // One syncfs per file system: an fsync of each of 2,000 files took twice
  // as long as the whole rewrite, each one waiting for its own journal
  // commit. A descriptor opened before the first write there reports every
  // write-back error since.
  for (const auto& fs : FFileSystems)
    if (::syncfs(fs.second) != 0)
      throw EInOutError(QStringLiteral("Cannot write the changed files: %1")
                            .arg(QString::fromLocal8Bit(std::strerror(errno))));
}

void TCheckedWriteBatch::Commit(int index) {
  TCheckedWrite& file = *FFiles[std::size_t(index)];
  file.CommitStaged();
  const QByteArray folder = FolderOf(PathBytes(file.FileName()));
  if (std::find(FFolders.begin(), FFolders.end(), folder) == FFolders.end())
    FFolders.push_back(folder);
}

void TCheckedWriteBatch::Finish() {
  for (const QByteArray& folder : FFolders) SyncFolder(folder);
  FFolders.clear();
}

void TCheckedWriteBatch::Cancel() {
  for (auto& file : FFiles) file->Cancel();
}
