#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <limits>

#include "components/app_title.h"
#include "components/form_style.h"
#include "components/msg_func.h"
#include "components/msg_window.h"
#include "msg_answer.h"

class TestMsgWindow : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void cleanup();
  void yesNoAnswers_data();
  void yesNoAnswers();
  void okMessages_data();
  void okMessages();
  void buttonLayout_data();
  void buttonLayout();
  void textAndCursor();
  void focusAndKeys();
  void progressBox();
  void closeProgressBoxWaits();
  void delaySeconds_data();
  void delaySeconds();
  void answerHelper();
};

namespace {

// "Enter", "Escape", "Close", a single letter key, or a button caption.
TMsgSeenPtr Arm(const QString& how) {
  if (how == "Enter") return AnswerNextMessageWithKey(Qt::Key_Return);
  if (how == "Escape") return AnswerNextMessageWithKey(Qt::Key_Escape);
  if (how == "Close") return CloseNextMessage();
  if (how.size() == 1) return AnswerNextMessageWithKey(Qt::Key(how[0].unicode()));
  return AnswerNextMessage(how);
}

}  // namespace

void TestMsgWindow::cleanup() {
  ClearMessageAnswers();
  CloseProgressBox(0);
  SetApplicationTitle(QString());
}

void TestMsgWindow::yesNoAnswers_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<int>("expected");
  QTest::newRow("Enter goes to the focused No") << "Enter" << int(mrNo);
  QTest::newRow("Escape") << "Escape" << int(mrNo);
  QTest::newRow("Yes button") << "&Yes" << int(mrYes);
  QTest::newRow("No button") << "&No" << int(mrNo);
  QTest::newRow("close box") << "Close" << int(mrCancel);
  QTest::newRow("letter Y") << "Y" << int(mrYes);
  QTest::newRow("letter N") << "N" << int(mrNo);
}

void TestMsgWindow::yesNoAnswers() {
  QFETCH(QString, how);
  QFETCH(int, expected);
  const auto seen = Arm(how);
  QCOMPARE(MsgYesNo("Close the application and lose all changes?", "Document has been changed"),
           TModalResult(expected));
  QVERIFY(seen->Shown);
  QCOMPARE(seen->Caption, QString("Document has been changed"));
  QCOMPARE(seen->Text, QString("Close the application and lose all changes?"));
  QCOMPARE(seen->Kind, mkQuestion);
  QCOMPARE(seen->Buttons, QStringList({"&Yes", "&No"}));
  QCOMPARE(seen->FocusButton, QString("&No"));
  QCOMPARE(PendingMessageAnswers(), 0);
}

void TestMsgWindow::okMessages_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("how");
  for (const char* how : {"Enter", "Escape"}) {
    QTest::addRow("warning %s", how) << int(mkWarning) << how;
    QTest::addRow("info %s", how) << int(mkInfo) << how;
    QTest::addRow("stop %s", how) << int(mkStop) << how;
  }
}

void TestMsgWindow::okMessages() {
  QFETCH(int, kind);
  QFETCH(QString, how);
  SetApplicationTitle("QME - index.html");
  const auto seen = Arm(how);
  const QString text = "Can't find \"template.htm\" to copy.";
  const TModalResult result = kind == mkWarning ? MsgWarning(text, "")
                              : kind == mkInfo  ? MsgInfo(text, "")
                                                : MsgStop(text, "");
  QCOMPARE(result, mrOk);
  QCOMPARE(seen->Caption, QString("QME - index.html"));
  QCOMPARE(seen->Kind, TMsgKind(kind));
  QCOMPARE(seen->Buttons, QStringList({"&OK"}));
  QCOMPARE(seen->FocusButton, QString("&OK"));
}

// The buttons sit in one row, centred; four of them widen the window.
void TestMsgWindow::buttonLayout_data() {
  QTest::addColumn<int>("buttons");
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("escape");
  QTest::newRow("Yes No Cancel") << 11 << 360 << int(mrCancel);
  QTest::newRow("all four widen") << 15 << 404 << int(mrCancel);
  QTest::newRow("Yes No") << 3 << 360 << int(mrNo);
  QTest::newRow("OK Cancel") << 12 << 360 << int(mrCancel);
  QTest::newRow("No OK: first Escape button") << 6 << 360 << int(mrNo);
  QTest::newRow("OK alone") << 4 << 360 << int(mrOk);
}

void TestMsgWindow::buttonLayout() {
  QFETCH(int, buttons);
  QFETCH(int, width);
  QFETCH(int, escape);
  const auto seen = AnswerNextMessageWithKey(Qt::Key_Escape);
  QCOMPARE(ShowMsg("Layout", "Layout", mkQuestion, TMsgButtons::fromInt(buttons), 1),
           TModalResult(escape));
  QCOMPARE(seen->Size, QSize(width, 165));
  const QList<QRect>& r = seen->ButtonRects;
  QCOMPARE(r.size(), seen->Buttons.size());
  QVERIFY(std::abs(r.first().left() + r.last().right() + 1 - width) <= 1);
  for (qsizetype i = 1; i < r.size(); ++i) {
    QCOMPARE(r[i].top(), r[0].top());
    QVERIFY(r[i].left() > r[i - 1].right());
  }
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  QCOMPARE(seen->Pos, QPoint((screen.width() - width) / 2, (screen.height() - 165) / 2));
}

void TestMsgWindow::textAndCursor() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto seen = AnswerNextMessage(mrOk);
  MsgInfo("Line one\r\nLine <b>two</b>\r\n\r\nend", "Info");
  QCOMPARE(seen->Text, QString("Line one\nLine <b>two</b>\n\nend"));
  QVERIFY(seen->ArrowCursor);
  QVERIFY(QGuiApplication::overrideCursor());
  QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QApplication::restoreOverrideCursor();
  QVERIFY(!QGuiApplication::overrideCursor());

  // Markup in a message (a page's text, a file name) is shown, not rendered.
  TMsgWindow window;
  window.SetMessage("<b>x</b>");
  QCOMPARE(window.findChild<QLabel*>("lblMessage")->textFormat(), Qt::PlainText);
}

void TestMsgWindow::focusAndKeys() {
  // A default slot without a button focuses nothing; Enter still finds OK or Yes.
  auto seen = AnswerNextMessageWithKey(Qt::Key_Return);
  QCOMPARE(ShowMsg("x", "c", mkInfo, mbOK, 0), mrOk);
  QCOMPARE(seen->FocusButton, QString());
  seen = AnswerNextMessageWithKey(Qt::Key_Enter);
  QCOMPARE(ShowMsg("x", "c", mkQuestion, mbYes | mbNo, 7), mrYes);
  QCOMPARE(seen->FocusButton, QString());

  // Escape without a button to answer it leaves the window up.
  const auto escaped = AnswerNextMessageWithKey(Qt::Key_Escape);
  seen = AnswerNextMessage(mrYes);
  QCOMPARE(ShowMsg("x", "c", mkQuestion, mbYes, 0), mrYes);
  QVERIFY(escaped->Shown);
  QVERIFY(seen->Shown);

  // An answer the window cannot give closes it and says why.
  QTest::ignoreMessage(QtWarningMsg, "AnswerNextMessage: no button answers 2; closing the window");
  seen = AnswerNextMessage(mrCancel);
  QCOMPARE(MsgYesNo("x", "c"), mrCancel);
  QCOMPARE(seen->Problem, QString("no button answers 2"));
}

void TestMsgWindow::progressBox() {
  bool fired = false;
  QTimer::singleShot(0, this, [&] { fired = true; });
  UpdateProgressBox("nothing showing");
  CloseProgressBox(5.0);
  QVERIFY(!ProgressBoxWindow());
  QVERIFY2(!fired, "closing no box must not wait");

  ShowProgressBox("Renaming a.htm", "Converting, please wait", mkInfo);
  const QPointer<TMsgWindow> box = ProgressBoxWindow();
  QVERIFY(box && box->isVisible());
  QVERIFY(!box->isModal());
  QVERIFY(!QApplication::activeModalWidget());
  QCOMPARE(box->size(), QSize(360, 137));
  QVERIFY(!(box->windowFlags() & Qt::WindowCloseButtonHint));
  QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
  QCOMPARE(box->font().family(), QString(SansFamily));
  QCOMPARE(box->font().pointSize(), 10);
  QVERIFY(!box->findChild<QPushButton*>());
  QCOMPARE(box->Kind(), mkInfo);

  ShowProgressBox("Other", "Other", mkStop);
  QCOMPARE(ProgressBoxWindow(), box.data());
  QCOMPARE(box->Message(), QString("Renaming a.htm"));
  QCOMPARE(box->windowTitle(), QString("Converting, please wait"));
  UpdateProgressBox("Renaming b.htm\r\nnext");
  QCOMPARE(box->Message(), QString("Renaming b.htm\nnext"));
  QTest::keyClick(box.data(), Qt::Key_Escape);
  QVERIFY(box->isVisible());
  CloseProgressBox(0);
  QVERIFY(!box);
  QVERIFY(!ProgressBoxWindow());

  ShowProgressBox("x", "", mkInfo);
  QCOMPARE(ProgressBoxWindow()->windowTitle(), QString("test_msg_window"));
  CloseProgressBox(0);
  ShowPrintingBox();
  QCOMPARE(ProgressBoxWindow()->Message(),
           QString("The document is being printed.\n\nPlease wait..."));
  QCOMPARE(ProgressBoxWindow()->windowTitle(), QString("Printing in progress"));
}

void TestMsgWindow::closeProgressBoxWaits() {
  ShowPrintingBox();
  bool boxUpWhileWaiting = false;
  QTimer::singleShot(100, this, [&] { boxUpWhileWaiting = ProgressBoxWindow() != nullptr; });
  QElapsedTimer clock;
  clock.start();
  CloseProgressBox(1.0);
  QVERIFY(boxUpWhileWaiting);
  QVERIFY(clock.elapsed() >= 1000);
  QVERIFY(!ProgressBoxWindow());
}

void TestMsgWindow::delaySeconds_data() {
  QTest::addColumn<double>("seconds");
  QTest::newRow("zero") << 0.0;
  QTest::newRow("negative") << -1.0;
  QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
  QTest::newRow("a twentieth") << 0.05;
}

void TestMsgWindow::delaySeconds() {
  QFETCH(double, seconds);
  bool fired = false;
  QTimer::singleShot(0, this, [&] { fired = true; });
  QElapsedTimer clock;
  clock.start();
  DelaySeconds(seconds);
  QVERIFY(fired);
  if (seconds > 0) QVERIFY(clock.nsecsElapsed() > qint64(seconds * 1e9));
}

void TestMsgWindow::answerHelper() {
  // A message that opens a little later is still answered.
  auto seen = AnswerNextMessage(QString("&OK"));
  TModalResult late = mrNone;
  QTimer::singleShot(200, this, [&] { late = MsgInfo("late", "Late"); });
  QTRY_COMPARE(late, mrOk);
  QCOMPARE(seen->Text, QString("late"));

  // Answers are used in the order they were armed.
  const auto first = AnswerNextMessage(mrNo);
  const auto second = AnswerNextMessage(mrYes);
  QCOMPARE(MsgYesNo("one", "1"), mrNo);
  QCOMPARE(MsgYesNo("two", "2"), mrYes);
  QCOMPARE(first->Text, QString("one"));
  QCOMPARE(second->Text, QString("two"));

  // An answer whose window never comes is dropped.
  QTest::ignoreMessage(QtWarningMsg, "AnswerNextMessage: no message window appeared within 50 ms");
  seen = AnswerNextMessage(mrOk, 50);
  QTRY_COMPARE(PendingMessageAnswers(), 0);
  QVERIFY(!seen->Shown);
  QCOMPARE(seen->Problem, QString("no message window appeared"));
}

QTEST_MAIN(TestMsgWindow)
#include "test_msg_window.moc"
