// Fault run: saves the system refuses to an ordinary user (a read-only page
// or folder; another owner's page is the checked write's own test), and pages
// another program changes, deletes or replaces while they are open. Run as
// root, the refused saves are tried by this program again as the user nobody.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <QTest>

#include "app/command_table.h"
#include "app/status_panels.h"
#include "doc/edit_file_info.h"
#include "fault_report.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "window_fixture.h"

namespace {

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

}  // namespace

class TestFaultAccess : public QObject {
  Q_OBJECT
  const QByteArray kPage = "<p>the page</p>\r\n";

  // A window on name in a site of its own, with "mine " typed in.
  void OpenEdited(TWindowFixture& w, const QString& name) {
    w.Open();
    QCOMPARE(w.Doc()->FileName, w.Site(name));
    w.Edit("mine ");
  }

  // The edit still in the editor, marked as such.
  void CheckEditKept(TFaultCase& c, TWindowFixture& w, const QByteArray& page) {
    c.Kept(w.Text().toUtf8() == "mine " + page, "the edit in the editor was lost");
    c.Kept(w.Modified(), "the modified mark went");
    c.Kept(!QApplication::overrideCursor(), "the hourglass stayed");
  }

  // After a refused save: the edit kept and nothing new in the folder.
  void CheckKept(TFaultCase& c, TWindowFixture& w, const QString& name, const QByteArray& page) {
    CheckEditKept(c, w, page);
    c.Kept(EntriesOf(w.Site()) == QStringList(name),
           "the folder holds " + EntriesOf(w.Site()).join(" "));
  }

  // Run as root, tries function as nobody instead: root may write anything.
  bool RanAsNobody(const char* function) {
    if (::geteuid() != 0 || !qEnvironmentVariableIsEmpty("QUILLMERE_FAULTS_AS_USER")) return false;
    RunAsNobody(function);
    return true;
  }

 private Q_SLOTS:
  void init() { ClearMessageAnswers(); }

  void readOnlyPage() {
    if (RanAsNobody("readOnlyPage")) return;
    TFaultCase c("read-only page");
    TWindowFixture w;
    w.Page("a.html", kPage);
    Chmod(w.Site("a.html"), 0444);
    OpenEdited(w, "a.html");
    c.Tried("Ctrl+S of a page of mode 0444 as user " + QString::number(::getuid()));
    const auto seen = AnswerNextMessage(mrOk);
    w.SaveByKey();
    c.Kept(seen->Text.endsWith("Permission denied"), "no reason given: " + seen->Text);
    c.Kept(ReadBytes(w.Site("a.html")) == kPage, "the page on disk changed");
    c.Kept((FileStat(w.Site("a.html")).st_mode & 0777) == 0444, "the page's mode changed");
    CheckKept(c, w, "a.html", kPage);
    QUILLMERE_FAULT_FINISH(c);
  }

  void readOnlyFolder() {
    if (RanAsNobody("readOnlyFolder")) return;
    TFaultCase c("read-only folder");
    TWindowFixture w;
    w.Page("b.html", kPage);
    Chmod(w.Site(), 0555);
    OpenEdited(w, "b.html");
    c.Tried("save as a new page in a folder of mode 0555");
    w.Window()->SaveDialog = [&](const QString&, const QString&) { return w.Site("new.html"); };
    const auto refused = AnswerNextMessage(mrOk);
    w.Command(cmdFileSaveAs);
    c.Kept(refused->Text.endsWith("Permission denied"), "no reason given: " + refused->Text);
    CheckKept(c, w, "b.html", kPage);
    c.Tried("Ctrl+S there, No to writing in place");
    const auto offer = AnswerNextMessage(mrNo);
    w.SaveByKey();
    c.Kept(offer->Text.contains("Write it in place?"), "not offered in place: " + offer->Text);
    c.Kept(ReadBytes(w.Site("b.html")) == kPage, "the page changed although the user said No");
    CheckKept(c, w, "b.html", kPage);
    c.Tried("then Yes");
    AnswerNextMessage(mrYes);
    w.SaveByKey();
    c.Kept(ReadBytes(w.Site("b.html")) == "mine " + kPage, "the page was not written in place");
    c.Kept(!w.Modified(), "still marked modified after the save");
    c.Kept(EntriesOf(w.Site()) == QStringList("b.html"),
           "the folder holds " + EntriesOf(w.Site()).join(" "));
    Chmod(w.Site(), 0755);
    QUILLMERE_FAULT_FINISH(c);
  }

  void pagesChangedBehindTheEditor_data() {
    QTest::addColumn<TBehind>("what");
    QTest::addColumn<QString>("word");
    QTest::newRow("changed") << TBehind::Changed << "changed";
    QTest::newRow("deleted") << TBehind::Deleted << "deleted";
    QTest::newRow("replaced") << TBehind::Replaced << "replaced";
  }

  void pagesChangedBehindTheEditor() {
    QFETCH(TBehind, what);
    QFETCH(QString, word);
    TFaultCase c("page " + word + " behind the editor");
    const QByteArray page = "<p>the page</p>\r\n";
    const QByteArray theirs = "<p>their version</p>\r\n";
    const QByteArray left = what == TBehind::Deleted ? QByteArray() : theirs;
    TWindowFixture w;
    w.Page("a.html", page);
    OpenEdited(w, "a.html");
    c.Tried("edited, " + word + " by another program, the window activated again");
    DoBehind(what, w.Site("a.html"), theirs);
    w.Reactivate();
    CheckEditKept(c, w, page);
    const QString status = w.Control<TStatusPanels>("stbStatus")->Text(0);
    c.Kept(status.contains("on disk"), "the status bar does not say so: " + status);
    c.Tried("Ctrl+S, No");
    const auto no = AnswerNextMessage(mrNo);
    w.SaveByKey();
    c.Kept(no->Text.startsWith(w.Site("a.html") + " was " + word + " by another program"),
           "the question does not say what happened: " + no->Text);
    c.Kept(ReadBytes(w.Site("a.html")) == left, "the other program's work was overwritten");
    c.Kept(QFile::exists(w.Site("a.html")) == (what != TBehind::Deleted),
           "the deleted page came back after No");
    CheckEditKept(c, w, page);
    c.Tried("Ctrl+S, Yes");
    AnswerNextMessage(mrYes);
    w.SaveByKey();
    c.Kept(ReadBytes(w.Site("a.html")) == "mine " + page, "Yes did not write the edit");
    c.Tried("Ctrl+S after another edit");
    w.Type("more ");
    const auto none = AnswerNextMessage(mrYes, 500);
    w.SaveByKey();
    c.Kept(!none->Shown, "asked again about a page this window saved: " + none->Text);
    c.Kept(EntriesOf(w.Site()) == QStringList("a.html"),
           "the folder holds " + EntriesOf(w.Site()).join(" "));
    QUILLMERE_FAULT_FINISH(c);
  }
};

QTEST_MAIN(TestFaultAccess)
#include "test_fault_access.moc"
