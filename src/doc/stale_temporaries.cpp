#include "doc/stale_temporaries.h"

#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <csignal>

#include "doc/file_helpers.h"

namespace {

const QString kMark = QStringLiteral(".qme-");

bool Running(qint64 pid) {
  return pid == ::getpid() || (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

// Whether two files hold the same bytes; the sizes were found equal.
bool SameBytes(const QString& a, const QString& b) {
  QFile fa(a), fb(b);
  if (!fa.open(QIODevice::ReadOnly) || !fb.open(QIODevice::ReadOnly)) return false;
  while (!fa.atEnd()) {
    const QByteArray chunk = fa.read(1 << 20);
    if (chunk.isEmpty() || chunk != fb.read(chunk.size())) return false;
  }
  return fb.atEnd();
}

// Whether the temporary holds text its page does not: written after the
// page last changed, and different from it.
bool OnlyCopy(const QString& temporary, const QString& page) {
  const TFileStamp pageStamp = FileStampOf(page);
  if (!pageStamp.Exists) return true;
  const TFileStamp own = FileStampOf(temporary);
  if (own.MTimeNs <= pageStamp.MTimeNs) return false;
  return own.Size != pageStamp.Size || !SameBytes(temporary, page);
}

}  // namespace

qint64 TemporaryWriter(const QString& fileName) {
  const QString name = QFileInfo(fileName).fileName();
  const qsizetype mark = name.lastIndexOf(kMark);
  if (!name.startsWith('.') || mark < 2) return 0;
  // "ID" or, where the folder takes no unnamed file, "ID-XXXXXX".
  const QString id = name.mid(mark + kMark.size()).section('-', 0, 0);
  bool ok = false;
  const qulonglong value = id.toULongLong(&ok, 36);
  if (!ok || id.isEmpty() || id != id.toLower() || value / 1000 > INT_MAX) return 0;
  return static_cast<qint64>(value / 1000);
}

QList<TStaleTemporary> CleanStaleTemporaries(const QString& folder) {
  QList<TStaleTemporary> kept;
  QDirIterator it(folder, {QStringLiteral(".*") + kMark + '*'}, QDir::Files | QDir::Hidden);
  while (it.hasNext()) {
    const QString path = it.next();
    const qint64 pid = TemporaryWriter(path);
    if (pid <= 0 || Running(pid)) continue;
    const QString name = it.fileName();
    const QString page = it.fileInfo().path() + '/' + name.mid(1, name.lastIndexOf(kMark) - 1);
    if (OnlyCopy(path, page))
      kept.append({path, page});
    else
      QFile::remove(path);
  }
  return kept;
}
