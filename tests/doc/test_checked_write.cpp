// The checked write under the faults a user's disk meets: full, limited,
// shared through links, owned by others, killed half way.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "doc/checked_write.h"
#include "doc/file_helpers.h"
#include "file_bytes.h"
#include "small_disk.h"

namespace {

// Runs body in a child process as the user nobody; true when it exited 0.
template <typename Body>
bool AsNobody(Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    bool ok = false;
    try {
      ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && body();
    } catch (...) {
    }
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

class TestCheckedWrite : public QObject {
  Q_OBJECT
  QTemporaryDir FDir;
  QString Path(const QString& name) { return FDir.filePath(name); }

 private Q_SLOTS:
  void fullDiskLeavesEveryTargetAsItWas() {
    QUILLMERE_SMALL_DISK(disk, 64);
    const QString page = disk.Path("page.html");
    WriteBytes(page, "old page");
    const QByteArray big(200 * 1024, 'x');
    try {
      WriteFileChecked(page, big);
      QFAIL("a write past the end of the disk succeeded");
    } catch (const EInOutError& e) {
      QCOMPARE(e.Message, "Cannot write \"" + page + "\": No space left on device");
    }
    // Written in place, a hard-linked page is refused before it is touched.
    QCOMPARE(::link(QFile::encodeName(page).constData(),
                    QFile::encodeName(disk.Path("hard.html")).constData()),
             0);
    QVERIFY_THROWS_EXCEPTION(EInOutError, WriteFileChecked(page, big));
    QCOMPARE(ReadBytes(page), QByteArray("old page"));
    QVERIFY(QFile::remove(disk.Path("hard.html")));

    WriteBytes(Path("big.bin"), big);
    QVERIFY(!CopyFileTo(Path("big.bin"), disk.Path("copy.bin")));
    QCOMPARE(EntriesOf(disk.Path({})), QStringList({"page.html"}));
  }

  void fileSizeLimitIsAnErrorNotAKill() {
    const QString page = Path("limited.html");
    WriteBytes(page, "old");
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString message;
    try {
      WriteFileChecked(page, QByteArray(10000, 'x'));
    } catch (const EInOutError& e) {
      message = e.Message;
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    QCOMPARE(message, "Cannot write \"" + page + "\": File too large");
    QCOMPARE(ReadBytes(page), QByteArray("old"));
  }

  void keepsModeOwnerAndEveryLink() {
    const QString page = Path("shared.html");
    WriteBytes(page, "old");
    QCOMPARE(::chmod(QFile::encodeName(page).constData(), 02664), 0);
    const bool root = ::geteuid() == 0;
    if (root) QCOMPARE(::chown(QFile::encodeName(page).constData(), 65534, 33), 0);
    WriteFileChecked(page, "new");
    QCOMPARE(ReadBytes(page), QByteArray("new"));
    QCOMPARE(FileStat(page).st_mode & 07777, mode_t(02664));
    if (root) QCOMPARE(FileStat(page).st_uid, uid_t(65534));
    if (root) QCOMPARE(FileStat(page).st_gid, gid_t(33));

    // Through a symbolic link: the link stays, the page it names changes.
    QVERIFY(QFile::link(page, Path("alias.html")));
    WriteFileChecked(Path("alias.html"), "through the link");
    QVERIFY(QFileInfo(Path("alias.html")).isSymLink());
    QCOMPARE(ReadBytes(page), QByteArray("through the link"));

    // A hard link is written in place: both names keep one file.
    QCOMPARE(::link(QFile::encodeName(page).constData(),
                    QFile::encodeName(Path("hard.html")).constData()),
             0);
    const ino_t inode = FileStat(page).st_ino;
    WriteFileChecked(page, "both names, longer than before");
    QCOMPARE(ReadBytes(Path("hard.html")), QByteArray("both names, longer than before"));
    QCOMPARE(FileStat(page).st_ino, inode);
    WriteFileChecked(page, "short");
    QCOMPARE(ReadBytes(Path("hard.html")), QByteArray("short"));
    QVERIFY(EntriesOf(FDir.path()).filter(".qme-").isEmpty());
  }

  void createNewNeverReplaces() {
    WriteBytes(Path("taken.html"), "mine");
    QVERIFY_THROWS_EXCEPTION(EInOutError,
                             WriteFileChecked(Path("taken.html"), "other", TWriteMode::CreateNew));
    QCOMPARE(ReadBytes(Path("taken.html")), QByteArray("mine"));
    WriteFileChecked(Path("fresh.html"), "made", TWriteMode::CreateNew);
    QCOMPARE(ReadBytes(Path("fresh.html")), QByteArray("made"));
  }

  void lockedFolderOffersInPlace() {
    const QString folder = Path("locked");
    const QString page = folder + "/page.html";
    WriteBytes(page, "old");
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    ::chmod(QFile::encodeName(page).constData(), 0666);
    auto attempt = [&] {
      try {
        WriteFileChecked(page, "new");
        return false;
      } catch (const EFolderReadOnly&) {
      }
      WriteFileChecked(page, "in place", TWriteMode::InPlace);
      return ReadBytes(page) == "in place";
    };
    if (::geteuid() == 0) {
      ::chmod(QFile::encodeName(FDir.path()).constData(), 0755);
      QCOMPARE(::chown(QFile::encodeName(page).constData(), 65534, 65534), 0);
      QVERIFY(AsNobody(attempt));
    } else {
      ::chmod(QFile::encodeName(folder).constData(), 0555);
      const bool ok = attempt();
      ::chmod(QFile::encodeName(folder).constData(), 0755);
      QVERIFY(ok);
    }
    QCOMPARE(ReadBytes(page), QByteArray("in place"));
    QCOMPARE(EntriesOf(folder), QStringList("page.html"));
  }

  void anotherOwnersPageKeepsItsOwner() {
    if (::geteuid() != 0) QSKIP("needs the super-user to act as another user");
    const QString folder = Path("shared");
    const QString page = folder + "/page.html";
    WriteBytes(page, "root's page");
    ::chmod(QFile::encodeName(FDir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(folder).constData(), 0777);
    ::chmod(QFile::encodeName(page).constData(), 0666);
    QVERIFY(AsNobody([&] {
      WriteFileChecked(page, "written by nobody");
      return true;
    }));
    QCOMPARE(ReadBytes(page), QByteArray("written by nobody"));
    QCOMPARE(FileStat(page).st_uid, uid_t(0));
    QCOMPARE(EntriesOf(folder), QStringList("page.html"));
  }

  void killedMidWriteLeavesOldFileAndNoTemporary() {
    const QString folder = Path("killed");
    const QString page = folder + "/page.html";
    WriteBytes(page, "whole old page");
    const pid_t pid = ::fork();
    if (pid == 0) {
      TCheckedWrite file(page);
      file.Write(QByteArray(1 << 20, 'n'));
      ::raise(SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(ReadBytes(page), QByteArray("whole old page"));
    QCOMPARE(EntriesOf(folder), QStringList("page.html"));
  }
};

QTEST_GUILESS_MAIN(TestCheckedWrite)
#include "test_checked_write.moc"
