#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "components/app_title.h"
#include "components/msg_func.h"
#include "components/msg_window.h"
#include "msg_answer.h"

class TestMsgWindow : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void cleanup();
  void answers_data();
  void answers();
  void buttonLayout();
  void focusAndKeys();
  void progressBox();
  void delaySeconds();
  void answerDropped();
};

namespace {

// "Enter", "Escape", "Close" or a single letter key.
TMsgSeenPtr Arm(const QString& how) {
  if (how == "Enter") return AnswerNextMessageWithKey(Qt::Key_Return);
  if (how == "Escape") return AnswerNextMessageWithKey(Qt::Key_Escape);
  if (how == "Close") return CloseNextMessage();
  return AnswerNextMessageWithKey(Qt::Key(how[0].unicode()));
}

}  // namespace

void TestMsgWindow::cleanup() {
  ClearMessageAnswers();
  CloseProgressBox(0);
  SetApplicationTitle(QString());
}

// The question's focus is on No, a message's on OK; an empty caption shows
// the application's title.
void TestMsgWindow::answers_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<QString>("how");
  QTest::addColumn<int>("expected");
  QTest::newRow("Enter goes to the focused No") << int(mkQuestion) << "Enter" << int(mrNo);
  QTest::newRow("close box") << int(mkQuestion) << "Close" << int(mrCancel);
  QTest::newRow("letter Y") << int(mkQuestion) << "Y" << int(mrYes);
  QTest::newRow("warning") << int(mkWarning) << "Enter" << int(mrOk);
  QTest::newRow("info") << int(mkInfo) << "Escape" << int(mrOk);
  QTest::newRow("stop") << int(mkStop) << "Enter" << int(mrOk);
}

void TestMsgWindow::answers() {
  QFETCH(int, kind);
  QFETCH(QString, how);
  QFETCH(int, expected);
  SetApplicationTitle("QME - index.html");
  const auto seen = Arm(how);
  const QString text = "Line one\r\nLine <b>two</b>";
  const bool question = kind == mkQuestion;
  const TModalResult result = question            ? MsgYesNo(text, "Changed")
                              : kind == mkWarning ? MsgWarning(text, "")
                              : kind == mkInfo    ? MsgInfo(text, "")
                                                  : MsgStop(text, "");
  QCOMPARE(result, TModalResult(expected));
  QCOMPARE(seen->Caption, QString(question ? "Changed" : "QME - index.html"));
  QCOMPARE(seen->Text, QString("Line one\nLine <b>two</b>"));
  QCOMPARE(seen->Kind, TMsgKind(kind));
  QCOMPARE(seen->Buttons, question ? QStringList({"&Yes", "&No"}) : QStringList({"&OK"}));
  QCOMPARE(seen->FocusButton, QString(question ? "&No" : "&OK"));
  QCOMPARE(PendingMessageAnswers(), 0);
}

// The buttons sit in one row, centred; four of them widen the window. Escape
// answers Cancel, else the first of No and OK.
void TestMsgWindow::buttonLayout() {
  const struct {
    TMsgButtons Buttons;
    int Width;
    TModalResult Escape;
  } cases[] = {{mbYes | mbNo | mbCancel, 360, mrCancel},
               {mbYes | mbNo | mbOK | mbCancel, 404, mrCancel},
               {mbYes | mbNo, 360, mrNo},
               {mbNo | mbOK, 360, mrNo},
               {mbOK, 360, mrOk}};
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  for (const auto& c : cases) {
    const auto seen = AnswerNextMessageWithKey(Qt::Key_Escape);
    QCOMPARE(ShowMsg("Layout", "Layout", mkQuestion, c.Buttons, 1), c.Escape);
    QCOMPARE(seen->Size, QSize(c.Width, 165));
    const QList<QRect>& r = seen->ButtonRects;
    QCOMPARE(r.size(), seen->Buttons.size());
    QVERIFY(std::abs(r.first().left() + r.last().right() + 1 - c.Width) <= 1);
    QCOMPARE(seen->Pos, QPoint((screen.width() - c.Width) / 2, (screen.height() - 165) / 2));
  }
}

void TestMsgWindow::focusAndKeys() {
  // A default slot without a button focuses nothing; Enter still finds OK or
  // Yes, never No. The arrow shows whatever cursor a long step had set.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  auto seen = AnswerNextMessageWithKey(Qt::Key_Return);
  QCOMPARE(ShowMsg("x", "c", mkInfo, mbNo | mbOK, 0), mrOk);
  QCOMPARE(seen->FocusButton, QString());
  QVERIFY(seen->ArrowCursor);
  QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  QApplication::restoreOverrideCursor();
  seen = AnswerNextMessageWithKey(Qt::Key_Enter);
  QCOMPARE(ShowMsg("x", "c", mkQuestion, mbYes | mbNo, 7), mrYes);
  QCOMPARE(seen->FocusButton, QString());

  // Escape without a button to answer it leaves the window up.
  const auto escaped = AnswerNextMessageWithKey(Qt::Key_Escape);
  AnswerNextMessage(mrYes);
  QCOMPARE(ShowMsg("x", "c", mkQuestion, mbYes, 0), mrYes);
  QVERIFY(escaped->Shown);

  // An answer the window cannot give closes it and says why.
  QTest::ignoreMessage(QtWarningMsg, "AnswerNextMessage: no button answers 2; closing the window");
  seen = AnswerNextMessage(mrCancel);
  QCOMPARE(MsgYesNo("x", "c"), mrCancel);
  QCOMPARE(seen->Problem, QString("no button answers 2"));

  // Markup in a message (a page's text, a file name) is shown, not rendered.
  TMsgWindow window;
  QCOMPARE(window.findChild<QLabel*>("lblMessage")->textFormat(), Qt::PlainText);
}

void TestMsgWindow::progressBox() {
  bool waited = false;
  QTimer::singleShot(0, this, [&] { waited = true; });
  UpdateProgressBox("nothing showing");
  CloseProgressBox(5.0);  // nothing showing: no wait
  QVERIFY(!waited && !ProgressBoxWindow());

  ShowProgressBox("Renaming a.htm", "Converting, please wait", mkInfo);
  const QPointer<TMsgWindow> box = ProgressBoxWindow();
  QVERIFY(box && box->isVisible() && !QApplication::activeModalWidget());
  QVERIFY(!(box->windowFlags() & Qt::WindowCloseButtonHint));

  ShowProgressBox("Other", "Other", mkStop);
  QCOMPARE(ProgressBoxWindow(), box.data());
  QCOMPARE(box->Message(), QString("Renaming a.htm"));
  UpdateProgressBox("Renaming b.htm\r\nnext");
  QCOMPARE(box->Message(), QString("Renaming b.htm\nnext"));
  QTest::keyClick(box.data(), Qt::Key_Escape);
  QVERIFY(box->isVisible());
  CloseProgressBox(0);
  QVERIFY(!box);

  // Closing keeps the box up for the time asked; the caption defaults to the
  // program's name.
  ShowProgressBox("x", "", mkInfo);
  QCOMPARE(ProgressBoxWindow()->windowTitle(), QString("test_msg_window"));
  bool upWhileWaiting = false;
  QTimer::singleShot(100, this, [&] { upWhileWaiting = ProgressBoxWindow() != nullptr; });
  QElapsedTimer clock;
  clock.start();
  CloseProgressBox(1.0);
  QVERIFY(upWhileWaiting);
  QVERIFY(clock.elapsed() >= 1000);
  QVERIFY(!ProgressBoxWindow());
}

// Events run during the wait, also for no wait or a wait that is no number.
void TestMsgWindow::delaySeconds() {
  for (const double seconds : {0.0, qQNaN(), 0.05}) {
    bool fired = false;
    QTimer::singleShot(0, this, [&] { fired = true; });
    QElapsedTimer clock;
    clock.start();
    DelaySeconds(seconds);
    QVERIFY(fired);
    if (seconds > 0) QVERIFY(clock.nsecsElapsed() > qint64(seconds * 1e9));
  }
}

// An armed answer whose window never comes is dropped.
void TestMsgWindow::answerDropped() {
  QTest::ignoreMessage(QtWarningMsg, "AnswerNextMessage: no message window appeared within 50 ms");
  const auto seen = AnswerNextMessage(mrOk, 50);
  QTRY_COMPARE(PendingMessageAnswers(), 0);
  QCOMPARE(seen->Problem, QString("no message window appeared"));
}

QTEST_MAIN(TestMsgWindow)
#include "test_msg_window.moc"
