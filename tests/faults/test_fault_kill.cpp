// Fault run: the program is killed (SIGKILL) while it saves a big page, at
// moments spread over the whole save. Whatever the moment, the page must be
// wholly the old text or wholly the new, and no temporary may stay behind.
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "doc/edit_file_info.h"
#include "fault_report.h"
#include "file_bytes.h"

namespace {

// Saves doc in a child process and kills it killAfterUs microseconds after
// the save began (never when negative). Returns how long the save took, in
// microseconds, or -1 when it did not finish.
qint64 SaveInChild(TEditFileInfo& doc, qint64 killAfterUs) {
  int ready[2];
  if (::pipe(ready) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(ready[0]);
    (void)!::write(ready[1], "g", 1);
    try {
      doc.Save();
    } catch (...) {
      ::_exit(1);
    }
    (void)!::write(ready[1], "d", 1);
    ::_exit(0);
  }
  ::close(ready[1]);
  char byte = 0;
  (void)!::read(ready[0], &byte, 1);
  QElapsedTimer clock;
  clock.start();
  if (killAfterUs >= 0) {
    ::usleep(useconds_t(killAfterUs));
    ::kill(pid, SIGKILL);
  }
  // The child's exit (freeing a copy of this process) is no part of the save.
  const bool saved = ::read(ready[0], &byte, 1) == 1;
  const qint64 us = clock.nsecsElapsed() / 1000;
  ::close(ready[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return saved ? us : -1;
}

}  // namespace

class TestFaultKill : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void killDuringBigSave() {
    const int rounds = FaultScale(5, 20);
    const qint64 size = qint64(FaultScale(4, 50)) << 20;
    TFaultCase c("kill -9 during save");
    QTemporaryDir dir;
    const QString page = dir.filePath("big.html");
    QByteArray old;
    for (int line = 0; old.size() < size; ++line)
      old += "<p>old line " + QByteArray::number(line) + " of a long page</p>\r\n";
    WriteBytes(page, old);
    TEditFileInfo doc;
    doc.Conversion = convNone;
    doc.Load(page);
    TLines newer = doc.Baseline.Lines();
    for (std::string& line : newer) line.replace(3, 3, "a newer");
    doc.Baseline = newer;

    // Saves left alone: what a save writes, and how long it takes (the
    // median of three, the first one over a cold cache being slower).
    QList<qint64> times;
    for (int i = 0; i < 3; ++i) {
      WriteBytes(page, old);
      times.append(SaveInChild(doc, -1));
    }
    std::sort(times.begin(), times.end());
    const qint64 saveUs = times[1];
    const QByteArray fresh = ReadBytes(page);
    QVERIFY(fresh.startsWith("<p>a newer line 0 ") && fresh.size() > old.size());

    int killed = 0;
    for (int round = 0; round < rounds; ++round) {
      WriteBytes(page, old);
      // Spread over the save and a little past its end, not evenly, so
      // that runs of different lengths still meet different moments.
      const qint64 at = saveUs * (round * 110 + (round * 37) % 50) / (rounds * 100);
      killed += SaveInChild(doc, at) < 0;
      const QByteArray now = ReadBytes(page);
      c.Kept(now == old || now == fresh,
             QString("killed at %1 ms the page held %2 bytes, neither old nor new")
                 .arg(at / 1000)
                 .arg(now.size()));
      const QStringList entries = EntriesOf(dir.path());
      c.Kept(entries == QStringList("big.html"), "a temporary stayed: " + entries.join(" "));
    }
    c.Tried(QString("%1 kills of a %2 MB save of %3 ms at moments over its whole length, %4 before "
                    "it returned")
                .arg(rounds)
                .arg(size >> 20)
                .arg(saveUs / 1000)
                .arg(killed));
    QUILLMERE_FAULT_FINISH(c);
  }
};

QTEST_GUILESS_MAIN(TestFaultKill)
#include "test_fault_kill.moc"
