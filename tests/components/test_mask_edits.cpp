#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include "components/mask_edits.h"
#include "desktop_stub.h"
#include "focus_form.h"

// The rules are tested in test_mask_edit_rules; here, that the edits apply
// them to the keys, the caret, entering and leaving.
class TestMaskEdits : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void timeTyped();
  void dateTypedEnteredAndLeft();
  void postcodeTypedAndProperty();
  void dateValueIsAnyValidDateText();
  void clipboardKeysOverwriteAndCapitals();
};

void TestMaskEdits::timeTyped() {
  TDesktopStub desktop;
  TForm<TTimeEdit> f;
  QVERIFY(f.Show());
  f.Enter();
  QTest::keyClicks(f.Edit, "9:");
  QCOMPARE(f.Edit->cursorPosition(), 3);
  QTest::keyClicks(f.Edit, "301");  // no room after the minutes
  QCOMPARE(f.Edit->Time(), QString("09:30"));
  QCOMPARE(desktop.Beeps(), 1);
  f.Edit->setCursorPosition(2);
  QTest::keyClicks(f.Edit, "4");  // steps over the colon
  f.Edit->setCursorPosition(0);
  QTest::keyClicks(f.Edit, "7");  // the hour is capped
  QCOMPARE(f.Edit->text(), QString("23:40"));
  // Backspace behind the colon takes the hour's digit, Delete in front of it
  // the minute's.
  f.Edit->setCursorPosition(3);
  QTest::keyClick(f.Edit, Qt::Key_Backspace);
  QCOMPARE(f.Edit->text(), QString("2:40"));
  f.Edit->setCursorPosition(1);
  QTest::keyClick(f.Edit, Qt::Key_Delete);
  QCOMPARE(f.Edit->text(), QString("2:0"));
  QCOMPARE(f.Edit->State(), tsNoTime);
  f.Edit->SetTime("25:00");  // no time: ignored
  QCOMPARE(f.Edit->text(), QString("2:0"));
  f.Edit->SetTime("7:05");
  QCOMPARE(f.Edit->text(), QString("07:05"));
}

void TestMaskEdits::dateTypedEnteredAndLeft() {
  TDesktopStub desktop;
  TForm<TDateEdit> f;
  QVERIFY(f.Show());
  f.Edit->SetDate("1-03-2001");
  f.Edit->SetDate("29-02-2001");  // no date: ignored
  QCOMPARE(f.Edit->Date(), QString("1-03-2001"));
  f.Edit->setText("31-02-2001");
  f.Enter();
  QCOMPARE(f.Edit->text(), QString("--"));  // no date: the bare mask
  QTest::keyClicks(f.Edit, "1-5-2001");
  QCOMPARE(f.Edit->text(), QString("01-05-2001"));
  QCOMPARE(desktop.Beeps(), 0);
  f.Leave();  // no handler: any state may be left
  QVERIFY(f.After->hasFocus());

  QList<TDateState> seen;
  f.Edit->OnAllowExit = [&](QObject* sender, TDateState s, int smallest, bool& allow) {
    QCOMPARE(sender, f.Edit);
    QCOMPARE(smallest, 1900);
    seen << s;
    allow = false;
  };
  f.Enter();
  f.Edit->end(false);
  QTest::keyClick(f.Edit, Qt::Key_Backspace);  // "01-05-200"
  f.Leave();
  QCOMPARE(seen, QList<TDateState>{dsNotFull});
  QCOMPARE(f.Edit->text(), QString("01-05-2001"));  // the entry's text is back
  QVERIFY(f.Edit->hasFocus());
  f.Leave();  // a refusal does not hold an OK text
  QCOMPARE(seen.last(), dsOK);
  QVERIFY(f.After->hasFocus());
}

void TestMaskEdits::postcodeTypedAndProperty() {
  TDesktopStub desktop;
  TForm<TPostcodeEdit> f;
  QVERIFY(f.Show());
  f.Enter();
  f.Edit->selectAll();
  QTest::keyClicks(f.Edit, "a5678xy");  // no letter where the number goes
  QCOMPARE(desktop.Beeps(), 1);
  QCOMPARE(f.Edit->text(), QString("5678XY"));
  QCOMPARE(f.Edit->State(), psIllegalChars);
  f.Edit->SetPostcode("9876 zz");
  f.Edit->SetPostcode("98765");  // no postcode: ignored
  QCOMPARE(f.Edit->Postcode(), QString("9876 ZZ"));
}

void TestMaskEdits::dateValueIsAnyValidDateText() {
  TDesktopStub desktop;
  TForm<TDateEdit> f;
  QVERIFY(f.Show());
  f.Edit->SetDate("1-1-2001");  // stored as given, not half padded
  QCOMPARE(f.Edit->text(), QString("1-1-2001"));
  QCOMPARE(f.Edit->Date(), QString("1-1-2001"));
  f.Edit->SetDate("12-5-2001");
  QCOMPARE(f.Edit->Date(), QString("12-5-2001"));
  f.Enter();  // a valid date is kept on entry
  QCOMPARE(f.Edit->text(), QString("12-5-2001"));
}

void TestMaskEdits::clipboardKeysOverwriteAndCapitals() {
  TDesktopStub desktop;
  TForm<TPostcodeEdit> f;
  QVERIFY(f.Show());
  f.Enter();
  QClipboard* clip = QGuiApplication::clipboard();
  clip->setText("56");
  f.Edit->setCursorPosition(0);
  QTest::keyClick(f.Edit, Qt::Key_V, Qt::ControlModifier);  // the field is full
  QCOMPARE(f.Edit->text(), QString("5634AB"));
  QCOMPARE(f.Edit->cursorPosition(), 2);
  f.Edit->setCursorPosition(4);
  QTest::keyClick(f.Edit, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(clip->text(), QString("A"));
  f.Edit->setCursorPosition(5);
  QTest::keyClick(f.Edit, Qt::Key_X, Qt::ControlModifier);
  QCOMPARE(clip->text(), QString("B"));
  QCOMPARE(f.Edit->text(), QString("5634A"));
  clip->setText("z");
  f.Edit->paste();  // as the context menu's Paste would before
  QCOMPARE(f.Edit->text(), QString("5634AZ"));
  f.Edit->setText("1234ab");
  QCOMPARE(f.Edit->text(), QString("1234AB"));
  QCOMPARE(desktop.Beeps(), 0);
}

QTEST_MAIN(TestMaskEdits)
#include "test_mask_edits.moc"
