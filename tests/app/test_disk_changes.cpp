// Pages changed behind the editor's back, and unsaved text brought back
// after a crash.
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/command_table.h"
#include "app/recovery_file.h"
#include "app/recovery_keeper.h"
#include "app/status_panels.h"
#include "doc/edit_file_info.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "site/walk_tree_window.h"
#include "window_fixture.h"

namespace {

// A recovery file as an instance that has since died leaves it.
void LeaveRecovery(const QString& page, const std::string& text) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    TFileStamp stamp = FileStampOf(page);
    WriteRecovery(page, stamp, text);
    ::_exit(0);
  }
  ::waitpid(pid, nullptr, 0);
}

}  // namespace

class TestDiskChanges : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { QDir(RecoveryFolder()).removeRecursively(); }

  // An edited page is kept as it is (the fault run checks that).
  void activationRereadsACleanPage() {
    TWindowFixture w;
    w.Page("a.html", "1\r\n2\r\n3\r\n");
    w.Open();
    w.Window()->GotoLine(3);
    w.Page("a.html", "one\r\ntwo\r\nthree\r\nfour\r\n");
    w.Reactivate();
    QCOMPARE(w.Text(), QString("one\r\ntwo\r\nthree\r\nfour\r\n"));
    QCOMPARE(w.Editor()->LineFromChar(), 2);
  }

  void keeperWritesAndDrops() {
    QTemporaryDir dir;
    const QString page = dir.filePath("p.html");
    WriteBytes(page, "disk\r\n");
    TEditFileInfo doc;
    doc.Load(page);
    std::string text = "typed \xE2\x82\xAC\r\n";
    TRecoveryKeeper keeper(doc, [&] { return text; });
    keeper.WriteNow();
    QVERIFY(!QFile::exists(RecoveryFileFor(page)));  // clean: nothing to keep
    doc.Modified = true;
    keeper.TextChanged();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(RecoveryFileFor(page)), 5000);
    TRecovery read;
    QVERIFY(ReadRecovery(RecoveryFileFor(page), read));
    QCOMPARE(read.Text, text);
    QCOMPARE(read.Page, page);
    QCOMPARE(read.PageStamp, doc.DiskStamp);
    QVERIFY(FindRecoveries().isEmpty());  // this instance still runs
    keeper.Drop();
    QVERIFY(!QFile::exists(RecoveryFileFor(page)));
  }

  void recoveryOfferedAfterACrash() {
    TWindowFixture w;
    w.Page("a.html", "first\r\n");
    w.Page("b.html", "saved\r\n");
    const std::string lost = "first\r\nunsaved \xC3\xA9 work\r\n";
    LeaveRecovery(w.Site("b.html"), lost);
    // A page saved after the crash holds the newer work: not offered.
    LeaveRecovery(w.Site("a.html"), "old\r\n");
    QTest::qWait(20);
    w.Page("a.html", "first, saved later\r\n");
    const auto offer = AnswerNextMessage(mrYes);
    const auto more = AnswerNextMessage(mrYes, 500);
    w.Open();
    QCOMPARE(offer->Text, "Unsaved changes to " + w.Site("b.html") + " were found. Recover them?");
    QVERIFY(!more->Shown);
    QCOMPARE(w.Doc()->FileName, w.Site("b.html"));
    QCOMPARE(w.Editor()->TextBytes(), lost);
    QVERIFY(w.Modified());
    w.Command(cmdFileSave);
    QCOMPARE(ReadBytes(w.Site("b.html")), QByteArray::fromStdString(lost));
    QCOMPARE(QDir(RecoveryFolder()).entryList({"b.html.*"}, QDir::Files), QStringList());
  }

  // A save killed before its rename left temporaries; the start reads them
  // with the file list: the newer text is offered, a needless one removed.
  void cutShortSaveOfferedAtStart() {
    TWindowFixture w;
    w.Page("a.html", "a\r\n");
    w.Page("b.html", "old\r\n");
    const pid_t dead = ::fork();
    if (dead == 0) ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const QString id = QString::number(qint64(dead) * 1000, 36);
    QTest::qWait(20);
    WriteBytes(w.Site(".b.html.qme-" + id), "newer\r\n");
    WriteBytes(w.Site(".a.html.qme-" + id), "a\r\n");
    const auto offer = AnswerNextMessage(mrYes);
    w.Open();
    QCOMPARE(offer->Text, "Unsaved changes to " + w.Site("b.html") + " were found. Recover them?");
    QCOMPARE(w.Editor()->TextBytes(), std::string("newer\r\n"));
    QVERIFY(!QFile::exists(w.Site(".a.html.qme-" + id)));
  }

  void recoveryRefusedIsDeleted() {
    TWindowFixture w;
    w.Page("a.html", "a\r\n");
    LeaveRecovery(w.Site("a.html"), "lost\r\n");
    AnswerNextMessage(mrNo);
    w.Open();
    QCOMPARE(w.Text(), QString("a\r\n"));
    QVERIFY(QDir(RecoveryFolder()).entryList(QDir::Files).isEmpty());
  }

  // Convert renames the open page: it stays open by its new name, and no disk
  // note is left behind, nor after a save.
  void pageRenamedByConvertStaysOpen() {
    TWindowFixture w;
    w.Page("about.htm", "about\r\n");
    w.Page("Index.HTM", "index\r\n");
    w.Open({w.Site("Index.HTM")});
    QTimer::singleShot(0, [] {
      auto* site = qobject_cast<TfrmWalkTree*>(QApplication::activeModalWidget());
      QVERIFY(site);
      site->findChild<QPushButton*>("bbtList")->click();
      site->findChild<QPushButton*>("bbtCase")->click();
      site->close();
    });
    w.Click("bbtMaint");
    w.Reactivate();
    QCOMPARE(w.Doc()->FileName, w.Site("index.htm"));
    QCOMPARE(w.Text(), QString("index\r\n"));
    const auto status = [&] { return w.Control<TStatusPanels>("stbStatus")->Text(0); };
    QCOMPARE(status(), " " + w.Site("index.htm"));
    w.Edit("x");
    w.SaveByKey();
    QCOMPARE(status(), " " + w.Site("index.htm"));
  }
};

QTEST_MAIN(TestDiskChanges)
#include "test_disk_changes.moc"
