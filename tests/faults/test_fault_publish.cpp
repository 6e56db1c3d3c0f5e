// Fault run: publishing over SSH to a real sshd on 127.0.0.1, started for
// the run on a free port with keys made for it. The second publish sends
// exactly the one changed page; a refused login, a full disk on the server
// and a connection killed mid-transfer end with a true message, and the
// local site is never touched.
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "fault_report.h"
#include "file_bytes.h"
#include "small_disk.h"
#include "tree_snapshot.h"

namespace {

const QString Sshd = QStringLiteral("/usr/sbin/sshd");

// A port nobody listens on now.
int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof addr;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), size) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &size) == 0)
    port = ntohs(addr.sin_port);
  ::close(fd);
  return port;
}

bool Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

struct TPublishRun {
  int Status = -1;
  QString Out, Err;
};

// Every process whose parent is Pid, and theirs.
QList<int> Descendants(int pid) {
  QList<int> found;
  if (pid <= 1) return found;  // never the whole machine's processes
  QDirIterator it("/proc", QDir::Dirs | QDir::NoDotAndDotDot);
  while (it.hasNext()) {
    const QString dir = it.next();
    bool isPid = false;
    const int child = QFileInfo(dir).fileName().toInt(&isPid);
    if (!isPid) continue;
    const QByteArray stat = ReadBytes(dir + "/stat");
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 1 && fields[1].toInt() == pid) found << child << Descendants(child);
  }
  return found;
}

// Server-side identity of every file: its inode. rsync writes a sent file
// beside it and renames it over, so a sent file gets a new inode.
QMap<QString, quint64> Inodes(const QString& root) {
  QMap<QString, quint64> inodes;
  QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) == 0)
      inodes.insert(path.mid(root.size()), st.st_ino);
  }
  return inodes;
}

}  // namespace

class TestFaultPublish : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> FTmp;
  QProcess FSshd;
  QString FSite;

  QString D(const QString& name) const { return FTmp->filePath(name); }

  // quillmere-site publish over the run's ssh settings (RSYNC_RSH, as a user
  // with an unusual server would set it).
  TPublishRun Publish(const QString& target, const QString& identity = "user_key",
                      const std::function<void(QProcess&)>& during = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RSYNC_RSH", QString("ssh -F %1 -i %2").arg(D("ssh_config"), D(identity)));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUILLMERE_SITE), {"publish", FSite, "--to", "qmtest:" + target});
    if (!p.waitForStarted()) return {};
    if (during) during(p);
    if (!p.waitForFinished(120000)) return {};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
  }
  // What every failed publish keeps: status 1 with its reason, nothing said
  // sent, and the local site as it was.
  void KeptFailure(TFaultCase& c, const TPublishRun& run, const QString& reason,
                   const QMap<QString, QByteArray>& site) {
    c.Kept(run.Status == 1, QString("exit status %1").arg(run.Status));
    c.Kept(run.Err.contains(reason), "not said: " + reason + ": " + run.Err);
    c.Kept(!run.Out.contains("Sent "), "reported as sent: " + run.Out);
    c.Kept(TreeSnapshot(FSite) == site, "the local site changed");
  }

 private Q_SLOTS:
  void initTestCase() {
    if (!QFileInfo(Sshd).isExecutable())
      QSKIP("sshd is missing: make faults installs Debian's openssh-server");
    FTmp = std::make_unique<QTemporaryDir>();
    ::chmod(QFile::encodeName(FTmp->path()).constData(), 0755);
    for (const char* key : {"host_key", "user_key", "stranger_key"})
      QVERIFY(Run("ssh-keygen", {"-q", "-t", "ed25519", "-N", "", "-f", D(key)}));
    QVERIFY(QFile::copy(D("user_key.pub"), D("authorized_keys")));
    const int port = FreePort();
    QVERIFY(port > 0);
    WriteBytes(D("sshd_config"), QString("Port %1\nListenAddress 127.0.0.1\nHostKey %2\n"
                                         "AuthorizedKeysFile %3\nPasswordAuthentication no\n"
                                         "KbdInteractiveAuthentication no\nUsePAM no\n"
                                         "StrictModes no\nPidFile %4\n")
                                     .arg(port)
                                     .arg(D("host_key"), D("authorized_keys"), D("sshd.pid"))
                                     .toUtf8());
    WriteBytes(D("ssh_config"), QString("Host qmtest\n  HostName 127.0.0.1\n  Port %1\n"
                                        "  User %2\n  IdentitiesOnly yes\n  BatchMode yes\n"
                                        "  UserKnownHostsFile %3\n"
                                        "  StrictHostKeyChecking accept-new\n")
                                    .arg(port)
                                    .arg(qEnvironmentVariable("USER", "root"), D("known_hosts"))
                                    .toUtf8());
    // The privilege separation folder a Debian sshd wants, made once.
    if (::geteuid() == 0) QDir().mkpath("/run/sshd");
    if (!QFileInfo("/run/sshd").isDir())
      QSKIP("sshd needs /run/sshd, which only the super-user can make");
    FSshd.start(Sshd, {"-D", "-E", D("sshd.log"), "-f", D("sshd_config")});
    QVERIFY(FSshd.waitForStarted());
    bool up = false;
    for (int i = 0; i < 50 && !up; ++i) {
      up = Run("ssh", {"-F", D("ssh_config"), "-i", D("user_key"), "qmtest", "true"});
      if (!up) QTest::qWait(100);
    }
    QVERIFY2(up, ReadBytes(D("sshd.log")).constData());
    QVERIFY(QDir().mkpath(D("server")));
    FSite = D("site");
    WriteBytes(FSite + "/index.htm", "<a href=\"sub/page.htm\">page</a>");
    WriteBytes(FSite + "/sub/page.htm", "<p>one</p>");
    WriteBytes(FSite + "/style.css", "p { color: red }");
    WriteBytes(FSite + "/name with blanks $(x).htm", "odd");
  }

  void cleanupTestCase() {
    if (FSshd.state() != QProcess::NotRunning) {
      for (int pid : Descendants(int(FSshd.processId()))) ::kill(pid, SIGKILL);
      FSshd.terminate();
      FSshd.waitForFinished(5000);
    }
  }

  void publishTwice() {
    TFaultCase c("publish over ssh, change one page, publish again");
    const QString www = D("server/www/");
    TPublishRun run = Publish(www);
    c.Tried("first publish");
    QVERIFY2(run.Status == 0, qPrintable(run.Err));
    for (const QString name :
         {"index.htm", "sub/page.htm", "style.css", "name with blanks $(x).htm"})
      c.Kept(ReadBytes(www + name) == ReadBytes(FSite + '/' + name),
             name + " differs on the server");
    const auto first = Inodes(www);

    WriteBytes(FSite + "/sub/page.htm", "<p>two</p>");
    QFile css(FSite + "/style.css");  // a new date alone sends nothing
    QVERIFY(css.open(QIODevice::ReadWrite) &&
            css.setFileTime(QDateTime::currentDateTime().addDays(2),
                            QFileDevice::FileModificationTime));
    const auto changed = TreeSnapshot(FSite);
    run = Publish(www);
    c.Tried("second publish");
    QVERIFY2(run.Status == 0, qPrintable(run.Err));
    c.Kept(run.Out.contains("Sent 1 file (10 bytes)"),
           "the command did not say one file: " + run.Out);
    const auto second = Inodes(www);
    QStringList sent;
    for (auto it = second.cbegin(); it != second.cend(); ++it)
      if (first.value(it.key()) != it.value()) sent << it.key();
    c.Kept(sent == QStringList{"sub/page.htm"}, "sent on the server: " + sent.join(", "));
    c.Kept(ReadBytes(www + "sub/page.htm") == "<p>two</p>", "the server's copy differs");
    c.Kept(TreeSnapshot(FSite) == changed, "the local site changed");
    QUILLMERE_FAULT_FINISH(c);
  }

  void refusedLogin() {
    TFaultCase c("publish with a key the server refuses");
    const auto site = TreeSnapshot(FSite);
    const TPublishRun run = Publish(D("server/refused/"), "stranger_key");
    c.Tried("login refused");
    KeptFailure(c, run, "the server refused the login (rsync exit status ", site);
    c.Kept(run.Err.contains("Permission denied"), "ssh's own message is missing: " + run.Err);
    c.Kept(!QFileInfo::exists(D("server/refused")), "the server was written");
    QUILLMERE_FAULT_FINISH(c);
  }

  void fullDiskOnServer() {
    QUILLMERE_SMALL_DISK(disk, 256);
    TFaultCase c("publish onto a full disk on the server");
    WriteBytes(FSite + "/big.jpg", QByteArray(1024 * 1024, 'j'));
    const auto site = TreeSnapshot(FSite);
    const TPublishRun run = Publish(disk.Path("www/"));
    c.Tried("1 MB image onto 256 KB");
    // rsync 3.5 loses the server's own "No space left on device" when its
    // receiver gives up; its status is what is left to tell.
    KeptFailure(c, run, "a file could not be read or written (rsync exit status 11)", site);
    c.Kept(run.Err.contains("0 of 5 files reached"), "what reached it is not said: " + run.Err);
    c.Kept(!QFileInfo::exists(disk.Path("www/big.jpg")), "a part of the image is on the server");
    QFile::remove(FSite + "/big.jpg");
    QUILLMERE_FAULT_FINISH(c);
  }

  void killedTransfer() {
    TFaultCase c("connection killed while a big file goes up");
    const QString www = D("server/killed/");
    QByteArray big(FaultScale(64, 256) * 1024 * 1024, Qt::Uninitialized);
    QRandomGenerator gen(7);
    gen.fillRange(reinterpret_cast<quint32*>(big.data()), big.size() / 4);
    WriteBytes(FSite + "/video.mp4", big);
    big.clear();
    const auto site = TreeSnapshot(FSite);
    bool killed = false;
    const TPublishRun run = Publish(www, "user_key", [&](QProcess& p) {
      // Waits for rsync's temporary of the video on the server, then kills
      // the server's side of the connection.
      for (int i = 0; i < 3000 && !killed && p.state() == QProcess::Running; ++i) {
        const QStringList temps = QDir(www).entryList({".video.mp4.*"}, QDir::Files | QDir::Hidden);
        if (!temps.isEmpty() && QFileInfo(www + temps[0]).size() > 0) {
          for (int pid : Descendants(int(FSshd.processId()))) ::kill(pid, SIGKILL);
          killed = true;
        }
        QTest::qWait(2);
      }
    });
    c.Tried(killed ? "killed mid-transfer" : "the transfer ended before the kill");
    if (!killed) QSKIP("the transfer was too quick to be killed");
    KeptFailure(c, run, "Publishing failed", site);
    c.Kept(run.Err.contains("exit status"), "no exit status: " + run.Err);
    c.Kept(!QFileInfo::exists(www + "video.mp4"), "a partial video took the real name");
    QFile::remove(FSite + "/video.mp4");
    QUILLMERE_FAULT_FINISH(c);
  }
};

QTEST_GUILESS_MAIN(TestFaultPublish)
#include "test_fault_publish.moc"
