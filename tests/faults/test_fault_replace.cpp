// Fault runs of replace in files: killed (SIGKILL) at ten moments of a large
// replace, a disk that fills up midway, a file that cannot be written in the
// middle. After the next start every file must be wholly as before or wholly
// as replaced, the journal must say which, and undo must bring back every
// original byte.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <csignal>

#include "fault_report.h"
#include "site/replace_files.h"
#include "site/site_journal.h"
#include "site_files.h"
#include "small_disk.h"

namespace {

TReplaceOptions Options() { return {"quillword", "featherword"}; }

QByteArray Page(int number, int bytes) {
  QByteArray page = "<p>page " + QByteArray::number(number) + "\r</p>\0\xff\r\n";
  for (int line = 0; page.size() < bytes; ++line)
    page += line % 4 ? "  <p>text of the page</p>\r\n" : "  <p>a quillword here</p>\n";
  return page;
}

// The site's pages, by path, as written.
QMap<QString, QByteArray> WriteSite(const QString& site, int pages, int bytes) {
  QMap<QString, QByteArray> original;
  for (int i = 0; i < pages; ++i) {
    const QString path = site + QString::asprintf("/d%d/page%04d.html", i % 10, i);
    original[path] = Page(i, bytes);
    WriteBytes(path, original[path]);
  }
  return original;
}

// Checks that every page is wholly old or wholly new, and that the journal
// (if any) names exactly the new ones as written. Returns the number of
// pages found replaced.
int CheckWhole(TFaultCase& c, const QMap<QString, QByteArray>& original, const TSiteJournal* j) {
  QSet<QString> written;
  if (j && j->State() == TJournalState::Done)
    for (const TJournalFile& f : j->Files())
      if (f.State == TJournalFileState::Written) written.insert(f.Path);
  int replaced = 0;
  for (auto it = original.begin(); it != original.end(); ++it) {
    int n = 0;
    const QByteArray now = ReadBytes(it.key());
    const bool isNew = now == ReplaceInText(it.value(), Options(), &n);
    replaced += isNew;
    c.Kept(isNew || now == it.value(), QFileInfo(it.key()).fileName() + " is half changed");
    c.Kept(isNew == written.contains(it.key()),
           QFileInfo(it.key()).fileName() + " is not as the journal says");
  }
  return replaced;
}

// The pages as the journal j (if any) says, then undo (when the change
// completed) and the check that every byte is back, with no temporary left
// beside the pages. Returns the number of pages found replaced.
int CheckAndUndo(TFaultCase& c, const QString& site, const QMap<QString, QByteArray>& original,
                 const TSiteJournal* j) {
  const int replaced = CheckWhole(c, original, j);
  if (auto done = TSiteJournal::LatestDone(site))
    c.Kept(done->Undo(false).Failed.isEmpty(), "undo failed");
  for (auto it = original.begin(); it != original.end(); ++it)
    c.Kept(ReadBytes(it.key()) == it.value(), QFileInfo(it.key()).fileName() + " not restored");
  int entries = 0;
  for (int d = 0; d < 10; ++d)
    entries += int(EntriesOf(site + QString::asprintf("/d%d", d)).size());
  c.Kept(entries == original.size(), "a temporary stayed beside the pages");
  return replaced;
}

// Sets or clears the immutable flag, which even the super-user cannot write
// past; false where the file system has none.
bool SetImmutable(const QString& path, bool on) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
  ok = ok && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

class TestFaultReplace : public TSiteFiles {
  Q_OBJECT

 private Q_SLOTS:
  void init() { NewSite(); }

  void killAtTenMoments() {
    const int pages = FaultScale(200, 2000);
    // How long one replace takes, left alone.
    qint64 fullUs = 0;
    {
      const QString site = FTmp->filePath("timed");
      WriteSite(site, pages, 20000);
      const TReplacePreview p = PreviewReplace(site, Options());
      QElapsedTimer clock;
      clock.start();
      QVERIFY(ApplyReplace(p, Indexes(p.Files.size())).Ok());
      fullUs = clock.nsecsElapsed() / 1000;
    }
    for (int moment = 1; moment <= 10; ++moment) {
      TFaultCase c(
          QStringLiteral("kill -9 at moment %1 of 10 of a %2-file replace").arg(moment).arg(pages));
      const QString site = FTmp->filePath(QStringLiteral("site%1").arg(moment));
      const auto original = WriteSite(site, pages, 20000);
      const TReplacePreview preview = PreviewReplace(site, Options());
      QCOMPARE(int(preview.Files.size()), pages);
      const qint64 killAfterUs = fullUs * moment / 11;
      const pid_t pid = ::fork();
      if (pid == 0) {
        ApplyReplace(preview, Indexes(preview.Files.size()));
        ::_exit(0);
      }
      ::usleep(useconds_t(killAfterUs));
      ::kill(pid, SIGKILL);
      int status = 0;
      ::waitpid(pid, &status, 0);
      c.Tried(QStringLiteral("killed %1 ms in").arg(killAfterUs / 1000));
      // The next start.
      const auto recovered = TSiteJournal::RecoverInterrupted();
      const QStringList folders = TSiteJournal::FoldersFor(site);
      auto j = folders.isEmpty() ? nullptr : TSiteJournal::Open(folders.last());
      c.Tried(QStringLiteral("journal: %1%2")
                  .arg(!j                                  ? "none yet"
                       : j->State() == TJournalState::Done ? "done"
                                                           : "rolled back")
                  .arg(recovered.empty() ? "" : ", after the roll-back"));
      c.Kept(!j || j->State() == TJournalState::Done || j->State() == TJournalState::RolledBack,
             "the journal was left unfinished");
      c.Tried(QStringLiteral("%1 pages replaced").arg(CheckAndUndo(c, site, original, j.get())));
      QUILLMERE_FAULT_FINISH(c);
      QDir(site).removeRecursively();
    }
  }

  void fullDiskMidway() {
    const int pages = FaultScale(100, 400);
    const int bytes = 8000;
    // Room for the site and for about half of the new pages beside it.
    QUILLMERE_SMALL_DISK(disk, pages * bytes * 3 / 2 / 1024 + 64);
    TFaultCase c(QStringLiteral("disk full midway through a %1-file replace").arg(pages));
    const QString site = disk.Path("site");
    const auto original = WriteSite(site, pages, bytes);
    const TReplacePreview preview = PreviewReplace(site, Options());
    const TReplaceResult r = ApplyReplace(preview, Indexes(preview.Files.size()));
    c.Tried(QStringLiteral("%1 written, %2 not").arg(r.Written.size()).arg(r.Failed.size()));
    QVERIFY2(!r.Failed.isEmpty() && !r.Written.isEmpty(), "the disk did not fill up midway");
    c.Kept(r.Failed.first().contains("No space left"), "the failure did not say why");
    QVERIFY(TSiteJournal::LatestDone(site));
    CheckAndUndo(c, site, original, TSiteJournal::LatestDone(site).get());
    QUILLMERE_FAULT_FINISH(c);

    // With the journal itself on the full disk, nothing is changed at all.
    TFaultCase full("journal on a full disk");
    qputenv("XDG_STATE_HOME", QFile::encodeName(disk.Path("state")));
    QFile filler(disk.Path("filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(65536, 'x')) > 0 && filler.flush()) {
    }
    filler.close();
    const TReplaceResult r2 =
        ApplyReplace(PreviewReplace(site, Options()), Indexes(preview.Files.size()));
    full.Tried("replace with no room left");
    full.Kept(!r2.Error.isEmpty() && r2.Written.isEmpty(), "the replace did not stop");
    QFile::remove(disk.Path("filler"));
    CheckAndUndo(full, site, original, nullptr);  // no page changed
    QUILLMERE_FAULT_FINISH(full);
  }

  void unwritableFileInTheMiddle() {
    const int pages = FaultScale(200, 2000);
    TFaultCase c(QStringLiteral("an unwritable page in the middle of %1").arg(pages));
    const QString site = Site;
    const auto original = WriteSite(site, pages, 4000);
    const QString middle = original.keys()[pages / 2];
    const bool root = ::geteuid() == 0;
    if (root ? !SetImmutable(middle, true)
             : ::chmod(QFile::encodeName(middle).constData(), 0444) != 0)
      QSKIP("the page cannot be made unwritable here");
    const TReplacePreview preview = PreviewReplace(site, Options());
    const TReplaceResult r = ApplyReplace(preview, Indexes(preview.Files.size()));
    if (root) SetImmutable(middle, false);
    c.Tried(QStringLiteral("%1 written, %2 not").arg(r.Written.size()).arg(r.Failed.size()));
    c.Kept(r.Failed.size() == 1 && r.Failed.first().contains(QFileInfo(middle).fileName()),
           "the unwritable page was not named");
    c.Kept(r.Written.size() == pages - 1, "the other pages were not all written");
    QVERIFY(TSiteJournal::LatestDone(site));
    CheckAndUndo(c, site, original, TSiteJournal::LatestDone(site).get());
    QUILLMERE_FAULT_FINISH(c);
  }
};

QTEST_GUILESS_MAIN(TestFaultReplace)
#include "test_fault_replace.moc"
