#include "app/recovery_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <csignal>

#include "components/file_names.h"
#include "components/text_codec.h"
#include "doc/checked_write.h"
#include "doc/stale_temporaries.h"

namespace {

const QByteArray kMagic = "Quillmere recovery 1\n";

QByteArray StampText(const TFileStamp& s) {
  return QByteArray::number(s.Exists ? 1 : 0) + ' ' + QByteArray::number(s.MTimeNs) + ' ' +
         QByteArray::number(s.Size) + ' ' + QByteArray::number(s.Device) + ' ' +
         QByteArray::number(s.Inode);
}

TFileStamp StampFrom(const QByteArray& text) {
  const QList<QByteArray> f = text.split(' ');
  if (f.size() != 5) return {};
  return {f[0] == "1", f[1].toLongLong(), f[2].toLongLong(), f[3].toULongLong(),
          f[4].toULongLong()};
}

bool Running(qint64 pid) {
  return pid == ::getpid() || (pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM));
}

}  // namespace

QString RecoveryFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty() || !QDir::isAbsolutePath(state))
    state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/quillmere");
}

QString RecoveryFileFor(const QString& page) {
  // The name says which page it is for a person looking; the hash of the
  // whole path keeps two pages of one name apart, the process number two
  // instances.
  const QString path = QFileInfo(page).absoluteFilePath();
  const QByteArray hash =
      QCryptographicHash::hash(PathBytes(path), QCryptographicHash::Sha1).toHex().left(12);
  return RecoveryFolder() + u'/' + QFileInfo(page).fileName() + u'.' + QString::fromLatin1(hash) +
         u'.' + QString::number(::getpid()) + QStringLiteral(".qmr");
}

void WriteRecovery(const QString& page, const TFileStamp& pageStamp, const std::string& text) {
  QDir().mkpath(RecoveryFolder());
  QByteArray data = kMagic;
  data += "Page=" + PathBytes(QFileInfo(page).absoluteFilePath()) + '\n';
  data += "Stamp=" + StampText(pageStamp) + '\n';
  data += "Pid=" + QByteArray::number(::getpid()) + "\n\n";
  TCheckedWrite file(RecoveryFileFor(page));
  file.SetPermissions(0600);  // unsaved text is nobody else's business
  file.Write(data);
  file.Write(text.data(), text.size());
  file.Commit();
}

void RemoveRecovery(const QString& page) { QFile::remove(RecoveryFileFor(page)); }

bool ReadRecovery(const QString& fileName, TRecovery& recovery) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray data = file.readAll();
  if (!data.startsWith(kMagic)) return false;
  const qsizetype end = data.indexOf("\n\n", kMagic.size() - 1);
  if (end < 0) return false;
  recovery = {};
  recovery.FileName = fileName;
  for (const QByteArray& line : data.mid(kMagic.size(), end - kMagic.size()).split('\n')) {
    if (line.startsWith("Page="))
      recovery.Page = QFile::decodeName(line.mid(5));
    else if (line.startsWith("Stamp="))
      recovery.PageStamp = StampFrom(line.mid(6));
    else if (line.startsWith("Pid="))
      recovery.Pid = line.mid(4).toLongLong();
  }
  recovery.Text.assign(data.constData() + end + 2, std::size_t(data.size() - end - 2));
  return !recovery.Page.isEmpty();
}

QList<TRecovery> FindRecoveries() {
  QList<TRecovery> found;
  const QDir folder(RecoveryFolder());
  for (const QFileInfo& entry : folder.entryInfoList({QStringLiteral("*.qmr")}, QDir::Files)) {
    TRecovery r;
    if (!ReadRecovery(entry.filePath(), r) || Running(r.Pid)) continue;
    // A page saved after the crash holds newer work than the recovery file.
    const TFileStamp page = FileStampOf(r.Page);
    if (page.Exists && page.MTimeNs > FileStampOf(entry.filePath()).MTimeNs) continue;
    found.append(r);
  }
  return found;
}

QList<TRecovery> StaleTemporaryRecoveries(const QList<TStaleTemporary>& stale) {
  QList<TRecovery> found;
  for (const TStaleTemporary& t : stale) {
    QFile file;
    const int fd = ::open(PathBytes(t.FileName).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) continue;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
      ::close(fd);
      continue;
    }
    // The saved form of the page, in the page's own encoding.
    const QByteArray bytes = file.readAll();
    TRecovery r;
    r.FileName = t.FileName;
    r.Page = t.Page;
    r.PageStamp = FileStampOf(t.Page);
    r.Pid = TemporaryWriter(t.FileName);
    const std::string_view view(bytes.constData(), std::size_t(bytes.size()));
    r.Text = IsValidUtf8(view) ? std::string(view) : Windows1252ToUtf8(view);
    found.append(r);
  }
  return found;
}
