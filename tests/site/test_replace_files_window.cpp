// The "Replace in files" window driven as a user would: type, preview, untick,
// replace; and the main window's menu entries around it.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/command_table.h"
#include "components/check_list_box.h"
#include "doc/edit_file_info.h"
#include "msg_answer.h"
#include "site/replace_files_window.h"
#include "site/site_journal.h"
#include "site_files.h"
#include "window_fixture.h"

class TestReplaceFilesWindow : public TSiteFiles {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    NewSite();
    WriteBytes(F("a.html"), "one Cat\r\ntwo\r\ncat cat\r\n");
    WriteBytes(F("b.html"), "cat");
    WriteBytes(F("open.html"), "cat");
    WriteBytes(F("sub/c.htm"), "\tcat  \r\n");
    WriteBytes(F("d.css"), "cat");
  }
  void cleanup() { ClearMessageAnswers(); }

  void previewAndReplace() {
    TfrmReplaceFiles form(Site, "*.htm*");
    form.ModifiedPage = F("open.html");
    QStringList written;
    form.OnReplaced = [&](const QStringList& w) { written = w; };
    form.show();
    QVERIFY(!form.bbtPreview->isEnabled());
    QTest::keyClicks(form.edtFind, "CAT");
    QTest::keyClicks(form.edtReplace, "dog%009");
    QVERIFY(!form.bbtReplace->isEnabled());
    QTest::mouseClick(form.bbtPreview, Qt::LeftButton);
    TZELCheckListBox* list = form.lbxFiles;
    QCOMPARE(list->Items().Count(), 4);
    QCOMPARE(list->Items()[0], QString("a.html  (3)"));
    QCOMPARE(list->Items()[3], QString("sub/c.htm  (1)"));
    QCOMPARE(form.lblTotal->text(), QString("6 hits in 4 files"));
    // The first file's hits, by line.
    QCOMPARE(form.lbxHits->count(), 2);
    QCOMPARE(form.lbxHits->item(0)->text(), QString("    1: one Cat"));
    QCOMPARE(form.lbxHits->item(1)->text(), QString("    3: cat cat"));
    // Untick b.html with the space bar.
    list->setFocus();
    list->SetItemIndex(1);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY(!list->Checked(1));
    QVERIFY(form.bbtReplace->isEnabled());

    const auto openSeen = AnswerNextMessage(mrOk);
    const auto doneSeen = AnswerNextMessage(mrOk);
    QTest::mouseClick(form.bbtReplace, Qt::LeftButton);
    QCOMPARE(openSeen->Text, QString("open.html is open with unsaved changes and is left out."));
    QCOMPARE(doneSeen->Text, QString("2 files written."));
    QCOMPARE(written, QStringList({F("a.html"), F("sub/c.htm")}));
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("one dog\t\r\ntwo\r\ndog\t dog\t\r\n"));
    QCOMPARE(ReadBytes(F("sub/c.htm")), QByteArray("\tdog\t  \r\n"));  // no whitespace rule
    QCOMPARE(ReadBytes(F("b.html")), QByteArray("cat"));
    QCOMPARE(ReadBytes(F("open.html")), QByteArray("cat"));
    QVERIFY(!form.bbtReplace->isEnabled());  // a new preview first

    // Changing the text makes the preview stale.
    QTest::mouseClick(form.bbtPreview, Qt::LeftButton);
    QVERIFY(form.bbtReplace->isEnabled());
    QTest::keyClick(form.edtFind, Qt::Key_S);
    QVERIFY(!form.bbtReplace->isEnabled());
    QVERIFY(TSiteJournal::LatestDone(Site));
  }

  // Rename asks whether the links follow; one undo takes back both.
  void renameQuestionAndUndo() {
    TWindowFixture w;
    const QByteArray a = "<a href=\"b.html#x\">b</a>\r\n";
    w.Page("a.html", a);
    w.Page("b.html", "<p id=x>b</p>\r\n");
    w.Open();
    w.Window()->OpenFileByName("b.html");
    w.Window()->SaveDialog = [&](const QString&, const QString&) { return w.Site("c.html"); };
    const auto question = AnswerNextMessage(mrYes);
    w.Command(cmdFileRename);
    QCOMPARE(question->Text, QString("1 page refers to b.html. Change their links to c.html?"));
    QCOMPARE(question->Caption, QString("Rename file"));
    QCOMPARE(ReadBytes(w.Site("a.html")), QByteArray("<a href=\"c.html#x\">b</a>\r\n"));
    QVERIFY(!QFile::exists(w.Site("b.html")));
    QCOMPARE(QFileInfo(w.Doc()->FileName).fileName(), QString("c.html"));

    const auto sure = AnswerNextMessage(mrYes);
    const auto done = AnswerNextMessage(mrOk);
    w.Window()->findChild<QAction*>("menEditUndoSiteChange")->trigger();
    QVERIFY(sure->Text.startsWith("Undo \"Rename b.html to c.html, with its links\""));
    QCOMPARE(done->Text, QString("2 files put back."));
    QCOMPARE(ReadBytes(w.Site("a.html")), a);
    QCOMPARE(ReadBytes(w.Site("b.html")), QByteArray("<p id=x>b</p>\r\n"));
    QVERIFY(!QFile::exists(w.Site("c.html")));
    QCOMPARE(QFileInfo(w.Doc()->FileName).fileName(), QString("b.html"));
  }
};

QTEST_MAIN(TestReplaceFilesWindow)
#include "test_replace_files_window.moc"
