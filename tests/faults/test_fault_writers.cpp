// Fault run: the main window's writers (save, save as, rename, the settings
// on closing) under a full disk and refused permissions, and pages another
// program changes, deletes or replaces while they are open. The disk is a
// real small tmpfs, filled to leave various amounts of room, so a write fails
// at its first block, half way or near its end. Run as root, the refused
// saves are tried by this program again as the user nobody (another owner's
// page is the checked write's own test).
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <QTest>

#include "app/command_table.h"
#include "app/status_panels.h"
#include "config/environment.h"
#include "doc/edit_file_info.h"
#include "fault_report.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "small_disk.h"
#include "window_fixture.h"

namespace {

qint64 FreeBytes(const QString& folder) {
  struct statvfs fs {};
  if (::statvfs(QFile::encodeName(folder).constData(), &fs) != 0) return 0;
  return qint64(fs.f_bavail) * qint64(fs.f_frsize);
}

// Leaves about room bytes free on the disk of folder (whole pages of memory).
void Fill(const QString& folder, qint64 room) {
  const QString filler = folder + "/filler.bin";
  QFile::remove(filler);
  const qint64 size = FreeBytes(folder) - room;
  if (size > 0) WriteBytes(filler, QByteArray(size, 'f'));
  QVERIFY(FreeBytes(folder) <= room + 4096);
}

QByteArray PageOf(int bytes) {
  QByteArray page;
  for (int line = 0; page.size() < bytes; ++line)
    page += "<p>line " + QByteArray::number(line) + " of the page</p>\r\n";
  return page;
}

// The amounts of room left for a write of size bytes.
QList<qint64> RoomsFor(qint64 size) {
  if (!FullFaultRun()) return {0, size / 2};
  return {0, 4096, size / 4, size / 2, size * 3 / 4, size - 4096};
}

QString RoomsText(const QList<qint64>& rooms) {
  QStringList kb;
  for (const qint64 room : rooms) kb.append(QString::number(room / 1024));
  return kb.join(", ") + " KB free";
}

#define FAULT_SMALL_DISK(disk, kilobytes, name)                                                \
  TSmallDisk disk(kilobytes);                                                                  \
  if (!disk.Mounted()) {                                                                       \
    ReportFault(name, "skipped: a small tmpfs cannot be mounted here (needs the super-user)"); \
    QSKIP("a small tmpfs cannot be mounted here");                                             \
  }

void Chmod(const QString& path, mode_t mode) {
  QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
}

// Runs one test function of this program as the user nobody, through
// setpriv, and passes its report lines on.
void RunAsNobody(const char* function) {
  QTemporaryDir home;
  Chmod(home.path(), 0777);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME"})
    env.insert(name, home.filePath(name));
  env.insert("HOME", home.path());
  env.remove("XDG_RUNTIME_DIR");
  env.remove("QUILLMERE_FAULTS_REPORT");
  env.insert("QUILLMERE_FAULTS_AS_USER", "1");
  QProcess run;
  run.setProcessEnvironment(env);
  run.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", "--",
                        QCoreApplication::applicationFilePath(), function});
  if (!run.waitForStarted()) {
    ReportFault(function, "skipped: setpriv cannot be started to run as nobody");
    QSKIP("setpriv cannot be started");
  }
  QVERIFY(run.waitForFinished(300000));
  const bool passed = run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0;
  // The run's own test output only where it failed.
  for (const QByteArray& line : run.readAllStandardOutput().split('\n')) {
    if (line.startsWith("fault run: "))
      ReportFaultLine(line + '\n');
    else if (!passed && !line.isEmpty())
      std::printf("  nobody: %s\n", line.constData());
  }
  if (!passed) std::fputs(run.readAllStandardError().constData(), stderr);
  QVERIFY2(passed, "the test failed when run as nobody");
}

// Run as root, tries function as nobody instead: root may write anything.
bool RanAsNobody(const char* function) {
  if (::geteuid() != 0 || !qEnvironmentVariableIsEmpty("QUILLMERE_FAULTS_AS_USER")) return false;
  RunAsNobody(function);
  return true;
}

// What another program does to a page behind the editor.
enum class TBehind { Changed, Deleted, Replaced };

void DoBehind(TBehind what, const QString& page, const QByteArray& theirs) {
  QTest::qWait(20);  // a file time that differs on any file system
  if (what == TBehind::Changed) {
    WriteBytes(page, theirs);
  } else if (what == TBehind::Deleted) {
    QVERIFY(QFile::remove(page));
  } else {
    WriteBytes(page + ".new", theirs);
    QVERIFY(::rename(QFile::encodeName(page + ".new").constData(),
                     QFile::encodeName(page).constData()) == 0);
  }
}

// Runs one writer of the page: Ctrl+S, or save as or rename to target.
void Write(TWindowFixture& w, int tag, const QString& target = {}) {
  if (tag == cmdFileSave) return w.SaveByKey();
  w.Window()->SaveDialog = [&w, target](const QString&, const QString&) { return w.Site(target); };
  w.Command(tag);
}

}  // namespace

class TestFaultWriters : public QObject {
  Q_OBJECT
  const QByteArray FPage = PageOf(FaultScale(40, 200) * 1024);
  const QByteArray FEdited = "edit " + FPage;

  // A window on the site's a.html, with "edit " typed in.
  void OpenEdited(TWindowFixture& w) {
    w.Open();
    QCOMPARE(w.Doc()->FileName, w.Site("a.html"));
    w.Edit("edit ");
  }

  // The edit still in the editor, marked as such.
  void CheckEditKept(TFaultCase& c, TWindowFixture& w) {
    c.Kept(w.Text().toUtf8() == FEdited, "the edit in the editor was lost");
    c.Kept(w.Modified(), "the modified mark went");
    c.Kept(!QApplication::overrideCursor(), "the hourglass stayed");
  }

  // After a refused write: the reason said, the page, the editor and the
  // folder as they were.
  void CheckRefused(TFaultCase& c, TWindowFixture& w, const TMsgSeenPtr& seen,
                    const QString& reason, const QStringList& entries) {
    c.Kept(seen->Shown && seen->Text.endsWith(reason), "no reason given: " + seen->Text);
    c.Kept(ReadBytes(w.Site("a.html")) == FPage, "the page on disk changed");
    c.Kept(w.Doc()->FileName == w.Site("a.html"), "the window left the page");
    c.Kept(Environment->WorkingDir == w.Site() + "/", "the site folder moved");
    c.Kept(!w.Window()->SuppressChange, "edits are no longer taken as such");
    CheckEditKept(c, w);
    c.Kept(EntriesOf(w.Site()) == entries, "the folder holds " + EntriesOf(w.Site()).join(" "));
  }

 private Q_SLOTS:
  void init() { ClearMessageAnswers(); }

  void fullDisk_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("after");  // the folder after a write with room
    QTest::newRow("save") << int(cmdFileSave) << "a.html" << QStringList{"a.html"};
    QTest::newRow("save as") << int(cmdFileSaveAs) << "b.html" << QStringList{"a.html", "b.html"};
    QTest::newRow("rename") << int(cmdFileRename) << "d.html" << QStringList{"d.html"};
  }

  void fullDisk() {
    QFETCH(int, tag);
    QFETCH(QString, target);
    QFETCH(QStringList, after);
    const QString name = QString("disk full during ") + QTest::currentDataTag();
    FAULT_SMALL_DISK(disk, 1024, name);
    TFaultCase c(name);
    TWindowFixture w;
    w.UseSite(disk.Path());
    w.Page("a.html", FPage);
    OpenEdited(w);
    c.Tried(QString(QTest::currentDataTag()) + " with " + RoomsText(RoomsFor(FEdited.size())));
    for (const qint64 room : RoomsFor(FEdited.size())) {
      Fill(disk.Path(), room);
      const auto seen = AnswerNextMessage(mrOk);
      Write(w, tag, target);
      CheckRefused(c, w, seen, "No space left on device", {"a.html", "filler.bin"});
    }
    c.Tried("then with room");
    QFile::remove(disk.Path("filler.bin"));
    Write(w, tag, target);
    c.Kept(ReadBytes(w.Site(target)) == FEdited, "the write with room did not write the edit");
    c.Kept(tag != cmdFileSaveAs || ReadBytes(w.Site("a.html")) == FPage,
           "save as changed the page it came from");
    c.Kept(!w.Modified(), "still marked modified after the write");
    c.Kept(EntriesOf(w.Site()) == after, "the folder holds " + EntriesOf(w.Site()).join(" "));
    QUILLMERE_FAULT_FINISH(c);
  }

  void fullDiskDuringSettingsWrite() {
    FAULT_SMALL_DISK(disk, 256, "disk full during settings write");
    TFaultCase c("disk full during settings write");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(disk.Path("config")));
    {
      TWindowFixture w;
      w.Page("a.html", "<p>page</p>\r\n");
      w.Open();
      const QString ini = TWindowFixture::IniPath();
      const QByteArray before = ReadBytes(ini);
      const QStringList entries = EntriesOf(disk.Path("config/quillmere"));
      w.Window()->move(w.Window()->pos() + QPoint(7, 5));  // the settings now differ
      Fill(disk.Path(), 0);
      c.Tried("close with the settings disk full, then No to closing without them");
      const auto reason = AnswerNextMessage(mrOk);
      AnswerNextMessage(mrNo);
      w.Window()->close();
      c.Kept(reason->Text.contains("No space left on device"), "no reason given: " + reason->Text);
      c.Kept(w.Window()->isVisible(), "the window closed although the user said No");
      c.Kept(!QApplication::overrideCursor(), "the hourglass stayed");
      c.Tried("then Yes");
      AnswerNextMessage(mrOk);
      AnswerNextMessage(mrYes);
      w.Window()->close();
      c.Kept(!w.Window()->isVisible(), "the window stayed open after Yes");
      c.Kept(ReadBytes(ini) == before, "the settings file changed");
      c.Kept(EntriesOf(disk.Path("config/quillmere")) == entries,
             "the settings folder holds " + EntriesOf(disk.Path("config/quillmere")).join(" "));
    }
    qputenv("XDG_CONFIG_HOME", configHome);
    QUILLMERE_FAULT_FINISH(c);
  }

  void readOnlyPage() {
    if (RanAsNobody("readOnlyPage")) return;
    TFaultCase c("read-only page");
    TWindowFixture w;
    w.Page("a.html", FPage);
    Chmod(w.Site("a.html"), 0444);
    OpenEdited(w);
    c.Tried("Ctrl+S of a page of mode 0444 as user " + QString::number(::getuid()));
    const auto seen = AnswerNextMessage(mrOk);
    Write(w, cmdFileSave);
    CheckRefused(c, w, seen, "Permission denied", {"a.html"});
    c.Kept((FileStat(w.Site("a.html")).st_mode & 0777) == 0444, "the page's mode changed");
    QUILLMERE_FAULT_FINISH(c);
  }

  void readOnlyFolder() {
    if (RanAsNobody("readOnlyFolder")) return;
    TFaultCase c("read-only folder");
    TWindowFixture w;
    w.Page("a.html", FPage);
    Chmod(w.Site(), 0555);
    OpenEdited(w);
    c.Tried("save as a new page in a folder of mode 0555");
    const auto refused = AnswerNextMessage(mrOk);
    Write(w, cmdFileSaveAs, "new.html");
    CheckRefused(c, w, refused, "Permission denied", {"a.html"});
    c.Tried("Ctrl+S there, No to writing in place");
    const auto offer = AnswerNextMessage(mrNo);
    Write(w, cmdFileSave);
    c.Kept(offer->Text.contains("Write it in place?"), "not offered in place: " + offer->Text);
    CheckRefused(c, w, offer, "could leave it damaged.", {"a.html"});
    c.Tried("then Yes");
    AnswerNextMessage(mrYes);
    Write(w, cmdFileSave);
    c.Kept(ReadBytes(w.Site("a.html")) == FEdited, "the page was not written in place");
    c.Kept(!w.Modified(), "still marked modified after the save");
    c.Kept(EntriesOf(w.Site()) == QStringList("a.html"),
           "the folder holds " + EntriesOf(w.Site()).join(" "));
    Chmod(w.Site(), 0755);
    QUILLMERE_FAULT_FINISH(c);
  }

  void pagesChangedBehindTheEditor_data() {
    QTest::addColumn<TBehind>("what");
    QTest::newRow("changed") << TBehind::Changed;
    QTest::newRow("deleted") << TBehind::Deleted;
    QTest::newRow("replaced") << TBehind::Replaced;
  }

  void pagesChangedBehindTheEditor() {
    QFETCH(TBehind, what);
    const QString word = QTest::currentDataTag();
    TFaultCase c("page " + word + " behind the editor");
    const QByteArray theirs = "<p>their version</p>\r\n";
    const QByteArray left = what == TBehind::Deleted ? QByteArray() : theirs;
    TWindowFixture w;
    w.Page("a.html", FPage);
    OpenEdited(w);
    c.Tried("edited, " + word + " by another program, the window activated again");
    DoBehind(what, w.Site("a.html"), theirs);
    w.Reactivate();
    CheckEditKept(c, w);
    const QString status = w.Control<TStatusPanels>("stbStatus")->Text(0);
    c.Kept(status.contains("on disk"), "the status bar does not say so: " + status);
    c.Tried("Ctrl+S, No");
    const auto no = AnswerNextMessage(mrNo);
    Write(w, cmdFileSave);
    c.Kept(no->Text.startsWith(w.Site("a.html") + " was " + word + " by another program"),
           "the question does not say what happened: " + no->Text);
    c.Kept(ReadBytes(w.Site("a.html")) == left, "the other program's work was overwritten");
    c.Kept(QFile::exists(w.Site("a.html")) == (what != TBehind::Deleted),
           "the deleted page came back after No");
    CheckEditKept(c, w);
    c.Tried("Ctrl+S, Yes");
    AnswerNextMessage(mrYes);
    Write(w, cmdFileSave);
    c.Kept(ReadBytes(w.Site("a.html")) == FEdited, "Yes did not write the edit");
    c.Tried("Ctrl+S after another edit");
    w.Type("more ");
    const auto none = AnswerNextMessage(mrYes, 500);
    Write(w, cmdFileSave);
    c.Kept(!none->Shown, "asked again about a page this window saved: " + none->Text);
    c.Kept(EntriesOf(w.Site()) == QStringList("a.html"),
           "the folder holds " + EntriesOf(w.Site()).join(" "));
    QUILLMERE_FAULT_FINISH(c);
  }
};

QTEST_MAIN(TestFaultWriters)
#include "test_fault_writers.moc"
