#include "doc/checked_write_batch.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "doc/file_names.h"

namespace {

QByteArray FolderBytes(const QString& path) {
  const QByteArray bytes = PathBytes(path);
  const qsizetype slash = bytes.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  return slash == 0 ? QByteArrayLiteral("/") : bytes.left(slash);
}

}  // namespace

TCheckedWriteBatch::TCheckedWriteBatch(QByteArray suffix) : FSuffix(std::move(suffix)) {}

TCheckedWriteBatch::~TCheckedWriteBatch() { Cancel(); }

QString TCheckedWriteBatch::StagedNameFor(const QString& target, const QByteArray& suffix) {
  const QByteArray bytes = PathBytes(target);
  const qsizetype slash = bytes.lastIndexOf('/');
  const QByteArray name = bytes.left(slash + 1) + '.' + bytes.mid(slash + 1) + suffix;
  return NameFromBytes(std::string_view(name.constData(), std::size_t(name.size())));
}

int TCheckedWriteBatch::Add(const QString& target, const QByteArray& data) {
  auto file = std::make_unique<TCheckedWrite>(target);
  file->Write(data);
  file->Stage(FSuffix);
  FFiles.push_back(std::move(file));
  return int(FFiles.size()) - 1;
}

void TCheckedWriteBatch::Sync() {
  // Every file's write-back was started when it was staged; the first fsync
  // commits the file system's journal for all of them, the rest find their
  // part done. (syncfs would also flush what other programs left dirty.)
  for (auto& file : FFiles) file->SyncStaged();
}

void TCheckedWriteBatch::Commit(int index) {
  TCheckedWrite& file = *FFiles[std::size_t(index)];
  file.CommitStaged();
  const QByteArray folder = FolderBytes(file.FileName());
  if (std::find(FFolders.begin(), FFolders.end(), folder) == FFolders.end())
    FFolders.push_back(folder);
}

void TCheckedWriteBatch::Finish() {
  for (const QByteArray& folder : FFolders) {
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) continue;
    ::fsync(fd);
    ::close(fd);
  }
  FFolders.clear();
}

void TCheckedWriteBatch::Cancel() {
  for (auto& file : FFiles) file->Cancel();
}
