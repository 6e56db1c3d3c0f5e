// Temporaries left by a save that was killed before its rename: a running
// writer's are kept, a dead one's removed, and one holding newer text than
// its page is kept and named.
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "doc/stale_temporaries.h"
#include "file_bytes.h"

namespace {

// A process number that no process has any more.
qint64 DeadPid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

QString Id(qint64 pid, int attempt = 0) { return QString::number(pid * 1000 + attempt, 36); }

void Age(const QString& path, int seconds) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::ReadWrite));
  QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-seconds),
                        QFileDevice::FileModificationTime));
}

}  // namespace

class TestStaleTemporaries : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void writerFromName() {
    QCOMPARE(TemporaryWriter("/s/.index.htm.qme-" + Id(4321, 7)), qint64(4321));
    QCOMPARE(TemporaryWriter(".a.qme-" + Id(99) + "-Ab3xYz"), qint64(99));
    QCOMPARE(TemporaryWriter(".a.qme-ZZ"), qint64(0));
    QCOMPARE(TemporaryWriter("a.qme-" + Id(99)), qint64(0));
    QCOMPARE(TemporaryWriter(".qme-" + Id(99)), qint64(0));
    QCOMPARE(TemporaryWriter(".a.htm"), qint64(0));
  }

  void cleanUp() {
    QTemporaryDir dir;
    const auto path = [&dir](const QString& name) { return dir.filePath(name); };
    const qint64 dead = DeadPid();
    WriteBytes(path("a.htm"), "old a");
    WriteBytes(path("b.htm"), "old b");
    WriteBytes(path("d.htm"), "same");
    Age(path("a.htm"), 100);
    Age(path("b.htm"), 100);
    Age(path("d.htm"), 100);

    const QString live = path(".a.htm.qme-" + Id(::getpid()));
    const QString older = path(".a.htm.qme-" + Id(dead, 1));
    const QString newer = path(".b.htm.qme-" + Id(dead) + "-q1W2e3");
    const QString orphan = path(".c.htm.qme-" + Id(dead));
    const QString same = path(".d.htm.qme-" + Id(dead));
    const QString other = path(".e.htm.tmp-" + Id(dead));
    for (const QString& t : {live, older, newer, orphan, same, other}) WriteBytes(t, "new");
    WriteBytes(same, "same");
    Age(older, 200);

    // The site folder as the settings keep it, with a "/" at the end.
    const QList<TStaleTemporary> kept = CleanStaleTemporaries(dir.path() + '/');
    QCOMPARE(kept.size(), 2);
    QStringList pages;
    for (const TStaleTemporary& t : kept) {
      QVERIFY(QFile::exists(t.FileName));
      pages << t.Page;
    }
    pages.sort();
    QCOMPARE(pages, QStringList({path("b.htm"), path("c.htm")}));
    QVERIFY(QFile::exists(live));
    QVERIFY(QFile::exists(other));
    QVERIFY(!QFile::exists(older));
    QVERIFY(!QFile::exists(same));
    QCOMPARE(ReadBytes(path("a.htm")), QByteArray("old a"));
  }
};

QTEST_GUILESS_MAIN(TestStaleTemporaries)
#include "test_stale_temporaries.moc"
