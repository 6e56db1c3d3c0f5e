#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "components/post_it.h"
#include "desktop_stub.h"
#include "file_bytes.h"
#include "msg_answer.h"

namespace {

// Runs Act on the note window as soon as it is up, inside its modal loop.
void OnNote(std::function<void(TfrmPostIt&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* frm = qobject_cast<TfrmPostIt*>(QApplication::activeModalWidget());
    if (!frm || !frm->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(*frm);
  });
  timer->start();
}

QPlainTextEdit* Memo(TfrmPostIt& frm) { return frm.findChild<QPlainTextEdit*>("memPostIt"); }

}  // namespace

class TestPostIt : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void placeRules();
  void painted();
  void noteKeepsTextAndPlace();
  void limitAndUnwritableSettings();
  void clickHandlersRunBeforeTheNote();
  void cleanup() { ClearMessageAnswers(); }
};

void TestPostIt::placeRules() {
  QCOMPARE(PostItSection("pitAVeryLongNameIndeed"), QString("PostIt-pitAVeryLongN"));
  const QSize screen(1024, 768), note(388, 240);
  QCOMPARE(PostItAutoPos({100, 100, 60, 22}, note, screen), QPoint(168, 146));
  // Past the right edge: left of the button; past the bottom: above it.
  QCOMPARE(PostItAutoPos({700, 600, 60, 22}, note, screen), QPoint(700 - 388, 600 + 24 - 240));
  QCOMPARE(PostItAutoPos({200, 100, 60, 22}, {1000, 800}, screen), QPoint(8, 8));
  QCOMPARE(PostItCenterPos(note, screen), QPoint(318, 264));
  QCOMPARE(PostItTextLength({"abcd", "efghi"}), 11);
  QCOMPARE(IniIntOr(" 42 ", 7), 42);
  QCOMPARE(IniIntOr("4x2", 7), 7);
}

void TestPostIt::painted() {
  TZELPostIt pit;
  pit.resize(60, 22);
  const QImage shot = pit.grab().toImage();
  QCOMPARE(shot.pixelColor(4, 4), QColor(255, 255, 136));
  QCOMPARE(shot.pixelColor(57 - 10, 19), QColor(0, 0, 119));  // the corner lines, inverted
  pit.SetCornerLines(0);  // at least one line beside the corner dot
  QCOMPARE(pit.CornerLines(), 1);
  pit.setEnabled(false);
  QCOMPARE(pit.grab().toImage().pixelColor(4, 4), pit.palette().color(QPalette::Button));
}

void TestPostIt::noteKeepsTextAndPlace() {
  TDesktopStub desktop;
  const QTemporaryDir tmp;
  const QString ini = tmp.filePath("note.ini");
  QWidget form;
  auto* pit = new TZELPostIt(&form);
  pit->setObjectName("pitTest");
  pit->SetINIFile(ini);
  pit->Lines = {"eerste"};
  int after = 0;
  pit->OnAfterClose = [&](QObject*) { ++after; };
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QPoint seenAt;
  OnNote([&](TfrmPostIt& frm) {
    seenAt = frm.pos();
    QCOMPARE(Memo(frm)->toPlainText(), QString("eerste"));
    QTest::keyClicks(Memo(frm), "x");
    frm.move(100, 120);
    frm.resize(300, 200);
    frm.close();
  });
  QTest::mouseClick(pit, Qt::LeftButton);
  QCOMPARE(seenAt, PostItAutoPos(QRect(pit->mapToGlobal(QPoint()), pit->size()), {388, 240},
                                 desktop.Screen));
  QCOMPARE(pit->Lines, QStringList{"xeerste"});
  QCOMPARE(after, 1);
  const QString saved = QString::fromLatin1(ReadBytes(ini));
  for (const char* line : {"[PostIt-pitTest]", "Top=120", "Left=100", "Height=200", "Width=300"})
    QVERIFY2(saved.contains(line), qPrintable(saved));

  // Designed: the place comes from the file; a spoilt number keeps its value.
  WriteBytes(ini, "[PostIt-pitTest]\r\nTop=50\r\nLeft=60\r\nHeight=abc\r\nWidth=310\r\n");
  pit->SetPITop(0);
  OnNote([&](TfrmPostIt& frm) {
    QCOMPARE(frm.pos(), QPoint(60, 50));
    QCOMPARE(frm.size(), QSize(310, 200));
    frm.accept();
  });
  pit->Execute();
  QCOMPARE(after, 2);
}

// Typing and pasting stop at the limit, a line end counting as two; a stored
// note already too long is shown whole and the note stays open until it is
// shortened. A place that cannot be kept is said once and the text is not lost.
void TestPostIt::limitAndUnwritableSettings() {
  TDesktopStub desktop;
  const QTemporaryDir tmp;
  const QString ini = tmp.filePath("missing-folder/note.ini");
  TZELPostIt pit;
  pit.setObjectName("pit");
  pit.SetINIFile(ini);
  pit.PIMaxLength = 6;
  pit.PIShowOK = true;
  pit.Lines = {"abc", "de"};  // 7 with the line end
  const TMsgSeenPtr tooLong = AnswerNextMessage(mrOk);
  const TMsgSeenPtr unwritable = AnswerNextMessage(mrOk);
  AnswerNextMessage(mrOk);  // a third message would use this one
  QString loaded, typed, pasted;
  bool stayedOpen = false;
  OnNote([&](TfrmPostIt& frm) {
    loaded = Memo(frm)->toPlainText();
    QTest::mouseClick(frm.findChild<QWidget*>("bbtClose"), Qt::LeftButton);
    stayedOpen = frm.isVisible();
    Memo(frm)->clear();
    QTest::keyClicks(Memo(frm), "abcdefgh");
    QTest::keyClick(Memo(frm), Qt::Key_Backspace);
    QTest::keyClick(Memo(frm), Qt::Key_Return);
    typed = Memo(frm)->toPlainText();
    Memo(frm)->clear();
    Memo(frm)->insertPlainText("ab\ncd\nef");
    pasted = Memo(frm)->toPlainText();
    frm.close();
  });
  pit.Execute();
  QCOMPARE(loaded, QString("abc\nde"));
  QVERIFY(stayedOpen);
  QCOMPARE(typed, QString("abcde"));
  QCOMPARE(pasted, QString("ab\ncd"));
  QCOMPARE(tooLong->Caption, QString("Tekst langer dan 6 tekens"));
  QCOMPARE(unwritable->Text, "Niet in staat instellingen op te slaan in " + ini);
  QCOMPARE(PendingMessageAnswers(), 1);
  QCOMPARE(pit.Lines, (QStringList{"ab", "cd"}));
  QVERIFY(!QFile::exists(ini));
}

void TestPostIt::clickHandlersRunBeforeTheNote() {
  TDesktopStub desktop;
  QWidget form;
  auto* pit = new TZELPostIt(&form);
  QStringList order;
  QObject::connect(pit, &QAbstractButton::clicked, [&] { order << "handler"; });
  pit->OnBeforeOpen = [&](QObject*) { order << "note"; };
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  OnNote([](TfrmPostIt& frm) { frm.accept(); });
  QTest::mouseClick(pit, Qt::LeftButton);
  QCOMPARE(order, (QStringList{"handler", "note"}));
}

QTEST_MAIN(TestPostIt)
#include "test_post_it.moc"
