// Faults a user met in the main window, each driven as the user met it.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <fcntl.h>
#include <unistd.h>

#include "doc/edit_file_info.h"
#include "doc/file_names.h"
#include "app/file_panel.h"
#include "window_fixture.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "search/results_window.h"

class TestMainWindowFixes : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { F = std::make_unique<TWindowFixture>(); }
  void cleanup() {
    F.reset();
    ClearMessageAnswers();
  }
  void replaceUsesTheStoredText();
  void dropIsAnEdit();
  void exactNameFirst();
  void hitOpensOnItsLoadedLine();
  void noDocumentCommands();
  void heldAltRightIndentsOnce();
  void nameNotValidText();
  void veryLongLineAsksFirst();
  void onePagePerOpen();

 private:
  void SendKey(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers mods, bool repeat) {
    QKeyEvent e(type, key, mods, QString(), repeat);
    QApplication::sendEvent(F->Editor()->viewport(), &e);
  }
  std::unique_ptr<TWindowFixture> F;
};

void TestMainWindowFixes::replaceUsesTheStoredText() {
  F->WriteSettings({{"SaveSearch", "TRUE"}, {"LastSearch", "a"}, {"Replace", "xy"},
                 {"QueryReplace", "FALSE"}});
  F->Page("p.html", "a b a\r\n");
  F->Open();
  QTest::mouseClick(F->Control<QPushButton>("bbtReplaceAll"), Qt::LeftButton);
  QCOMPARE(F->Text(), QString("xy b xy\r\n"));
}

void TestMainWindowFixes::dropIsAnEdit() {
  F->Page("p.html", "one\r\n");
  F->Open();
  QTRY_VERIFY(F->List()->hasFocus());
  QMimeData data;
  data.setText("dropped ");
  QWidget* view = F->Editor()->viewport();
  const QPoint at(2, 2);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &enter);
  QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &move);
  QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &drop);
  QCOMPARE(F->Text(), QString("dropped one\r\n"));
  QTRY_VERIFY(F->Window()->FileInfo()->Modified);
  QVERIFY(!F->Enabled("flbPages"));
}

void TestMainWindowFixes::exactNameFirst() {
  F->Page("Index.html", "upper\r\n");
  F->Page("index.html", "lower\r\n");
  F->Open({F->Site("index.html")});
  QCOMPARE(F->Window()->FileInfo()->FileName, F->Site("index.html"));
  QCOMPARE(F->List()->currentItem()->text(), QString("index.html"));
}

void TestMainWindowFixes::hitOpensOnItsLoadedLine() {
  F->WriteSettings({{"DelEmptyLines", "TRUE"}});
  F->Page("a.html", "a\r\n");
  F->Page("b.html", "one\r\n\r\n  \t\r\ntwo\r\n\r\nfind me\r\n");
  F->Open();
  F->Control<QComboBox>("cmbSearch")->setEditText("find");
  F->Control<QCheckBox>("ckbSearchAll")->setChecked(true);
  QTest::mouseClick(F->Control<QPushButton>("bbtSearch"), Qt::LeftButton);
  TfrmResults* results = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* r = qobject_cast<TfrmResults*>(w)) results = r;
  QVERIFY(results);
  QCOMPARE(results->lbxResults->count(), 1);
  results->lbxResults->setCurrentRow(0);
  F->Window()->MyOnClickHandler(results);
  QCOMPARE(F->Window()->FileInfo()->FileName, F->Site("b.html"));
  QCOMPARE(F->Text(), QString("one\r\ntwo\r\nfind me\r\n"));
  QCOMPARE(F->Editor()->LineFromChar(), 2);
  results->close();
}

void TestMainWindowFixes::noDocumentCommands() {
  F->Open();
  QVERIFY(F->Window()->FileInfo()->FileName.isEmpty());
  for (const char* name : {"menFileDelete", "menPopDelete", "menFileRename", "menPopRename"})
    QVERIFY2(!F->Enabled(name), name);
  const TMsgSeenPtr seen = AnswerNextMessage(mrNo, 500);
  F->Window()->MenuClick(102);
  F->Window()->MenuClick(105);
  QVERIFY2(!seen->Shown, qPrintable(seen->Text));

  // With a page the commands work.
  F->Page("p.html", "p\r\n");
  F->Window()->RefreshFileList();
  for (const char* name : {"menFileDelete", "menPopDelete", "menFileRename", "menPopRename"})
    QVERIFY2(F->Enabled(name), name);
}

void TestMainWindowFixes::heldAltRightIndentsOnce() {
  F->Page("p.html", "a\r\nb\r\nc\r\n");
  F->Open();
  F->Editor()->setFocus();
  QTRY_VERIFY(F->Editor()->hasFocus());
  F->Editor()->SetSelStart(3);
  F->Editor()->SetSelLength(6);
  SendKey(QEvent::KeyPress, Qt::Key_Right, Qt::AltModifier, false);
  for (int i = 0; i < 3; ++i) {
    SendKey(QEvent::KeyRelease, Qt::Key_Right, Qt::AltModifier, true);
    SendKey(QEvent::KeyPress, Qt::Key_Right, Qt::AltModifier, true);
  }
  SendKey(QEvent::KeyRelease, Qt::Key_Right, Qt::AltModifier, false);
  QCOMPARE(F->Text(), QString("a\r\n\tb\r\n\tc\r\n"));
}

void TestMainWindowFixes::nameNotValidText() {
  const QByteArray raw = QFile::encodeName(F->Site()) + "/caf\xe9.html";
  const int fd = ::creat(raw.constData(), 0600);
  QCOMPARE(::write(fd, "bytes\r\n", 7), 7);
  ::close(fd);
  F->Open();
  QCOMPARE(F->List()->count(), 1);
  QCOMPARE(F->List()->item(0)->text(), QString::fromUtf8("caf\xef\xbf\xbd.html"));
  QCOMPARE(PathBytes(F->Control<TFileListBox>("flbPages")->FileName()), raw);
  QCOMPARE(F->Text(), QString("bytes\r\n"));
}

// A line the editor would take a minute to lay out is shown only when the
// user says so; No leaves the page shown before.
void TestMainWindowFixes::veryLongLineAsksFirst() {
  F->Page("a.html", "short\r\n");
  F->Page("b.html", "<p>" + QByteArray(1 << 20, 'x') + "</p>");
  F->Open();
  auto* list = F->List();
  const auto no = AnswerNextMessage(mrNo);
  list->setCurrentRow(1);
  QTRY_VERIFY(no->Shown);
  QVERIFY2(no->Text.startsWith("b.html has a line of 1"), qPrintable(no->Text));
  QCOMPARE(F->Window()->FileInfo()->FileName, F->Site("a.html"));
  QCOMPARE(F->Text(), QString("short\r\n"));
  AnswerNextMessage(mrYes);
  list->setCurrentRow(1);
  QTRY_COMPARE(F->Window()->FileInfo()->FileName, F->Site("b.html"));
  QCOMPARE(F->Editor()->TextLength(), (1 << 20) + 7 + 2);
}

void TestMainWindowFixes::onePagePerOpen() {
  // The named page is not the list's first: the start read the first one
  // and then the named one, a 50 MB page twice when it was the first.
  F->Page("a.html", "a\r\n");
  F->Page("b.html", "b\r\n");
  F->Open({F->Site("b.html")});
  const TEditFileInfo& info = *F->Window()->FileInfo();
  QCOMPARE(info.FileName, F->Site("b.html"));
  QCOMPARE(info.ReadCount(), 1);
  // Coming back to an unchanged page does not read it again.
  F->Reactivate();
  QCOMPARE(info.ReadCount(), 1);
  F->List()->setCurrentRow(0);
  QCOMPARE(F->Text(), QString("a\r\n"));
  QCOMPARE(info.ReadCount(), 2);
}

QTEST_MAIN(TestMainWindowFixes)
#include "test_main_window_fixes.moc"
