#include <QTest>

#include "components/mask_edits.h"
#include "desktop_stub.h"
#include "focus_form.h"

class TestMaskEdits : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void timeTypedAsUserDoes();
  void dateTypedAsUserDoes();
  void postcodeTypedAndProperty();
  void entryAndExit();
};

void TestMaskEdits::timeTypedAsUserDoes() {
  TDesktopStub desktop;
  TForm<TTimeEdit> f;
  QVERIFY(f.Show());
  QCOMPARE(f.Edit->text(), QString(":"));
  f.Enter();
  QTest::keyClicks(f.Edit, "9:");
  QCOMPARE(f.Edit->text(), QString("09:"));
  QCOMPARE(f.Edit->cursorPosition(), 3);
  QTest::keyClicks(f.Edit, "30");
  QCOMPARE(f.Edit->Time(), QString("09:30"));
  QCOMPARE(desktop.Beeps(), 0);
  QTest::keyClick(f.Edit, Qt::Key_1);  // no room after the minutes
  QCOMPARE(desktop.Beeps(), 1);
  QCOMPARE(f.Edit->text(), QString("09:30"));
  // Typing over the hour past 23 is capped.
  f.Edit->setCursorPosition(0);
  QTest::keyClicks(f.Edit, "7");
  QCOMPARE(f.Edit->text(), QString("23:30"));
  // Backspace behind the colon takes the hour's digit, never the colon.
  f.Edit->setCursorPosition(3);
  QTest::keyClick(f.Edit, Qt::Key_Backspace);
  QCOMPARE(f.Edit->text(), QString("2:30"));
  QCOMPARE(f.Edit->State(), tsOK);
  // Delete in front of the colon takes the minute's digit.
  f.Edit->setCursorPosition(1);
  QTest::keyClick(f.Edit, Qt::Key_Delete);
  QCOMPARE(f.Edit->text(), QString("2:0"));
  QCOMPARE(f.Edit->Time(), QString());
  f.Edit->SetTime("25:00");
  QCOMPARE(f.Edit->text(), QString("2:0"));
  f.Edit->SetTime("7:05");
  QCOMPARE(f.Edit->text(), QString("07:05"));
}

void TestMaskEdits::dateTypedAsUserDoes() {
  TDesktopStub desktop;
  TForm<TDateEdit> f;
  QVERIFY(f.Show());
  f.Enter();
  QTest::keyClicks(f.Edit, "1-5-2001");
  QCOMPARE(f.Edit->text(), QString("01-05-2001"));
  QCOMPARE(f.Edit->State(), dsOK);
  QCOMPARE(desktop.Beeps(), 0);
  // All digits, the dashes stepped over.
  f.Edit->selectAll();
  QTest::keyClicks(f.Edit, "3112");
  QCOMPARE(f.Edit->text(), QString("31-12-"));
  QTest::keyClicks(f.Edit, "1899");
  QCOMPARE(f.Edit->State(), dsToSmall);
  QCOMPARE(f.Edit->Date(), QString());
  QTest::keyClicks(f.Edit, "x");
  QCOMPARE(desktop.Beeps(), 1);
  f.Edit->setCursorPosition(6);
  QTest::keyClick(f.Edit, Qt::Key_Backspace);
  QCOMPARE(f.Edit->text(), QString("31-1-1899"));
  f.Edit->SetDate("29-02-2001");
  QCOMPARE(f.Edit->text(), QString("31-1-1899"));
  f.Edit->SetDate("1-03-2001");
  QCOMPARE(f.Edit->Date(), QString("01-03-2001"));
}

void TestMaskEdits::postcodeTypedAndProperty() {
  TDesktopStub desktop;
  TForm<TPostcodeEdit> f;
  QVERIFY(f.Show());
  QCOMPARE(f.Edit->Postcode(), QString("1234 AB"));
  f.Enter();
  f.Edit->selectAll();
  QTest::keyClicks(f.Edit, "a");  // a letter where the number goes
  QCOMPARE(desktop.Beeps(), 1);
  QTest::keyClicks(f.Edit, "56");
  QCOMPARE(f.Edit->text(), QString("56"));
  QCOMPARE(f.Edit->State(), psWrongNum);
  QTest::keyClicks(f.Edit, "78xy");
  QCOMPARE(f.Edit->text(), QString("5678XY"));
  QCOMPARE(f.Edit->State(), psIllegalChars);
  f.Edit->SetPostcode("9876 zz");
  QCOMPARE(f.Edit->Postcode(), QString("9876 ZZ"));
  QCOMPARE(f.Edit->State(), psOK);
  f.Edit->SetPostcode("98765");
  QCOMPARE(f.Edit->text(), QString("9876ZZ"));
}

void TestMaskEdits::entryAndExit() {
  TDesktopStub desktop;
  TForm<TDateEdit> f;
  QVERIFY(f.Show());
  f.Edit->setText("31-02-2001");
  f.Enter();
  QCOMPARE(f.Edit->text(), QString("--"));  // no date: the bare mask
  QTest::keyClicks(f.Edit, "1-5-2001");
  f.Leave();  // no handler: any state may be left
  QVERIFY(f.After->hasFocus());

  QList<TDateState> seen;
  bool allow = false;
  f.Edit->OnAllowExit = [&](QObject* sender, TDateState s, int smallest, bool& a) {
    QCOMPARE(sender, f.Edit);
    QCOMPARE(smallest, 1900);
    seen << s;
    a = allow;
  };
  f.Enter();
  f.Edit->end(false);
  QTest::keyClick(f.Edit, Qt::Key_Backspace);  // "01-05-200"
  f.Leave();
  QCOMPARE(seen, QList<TDateState>{dsNotFull});
  QCOMPARE(f.Edit->text(), QString("01-05-2001"));  // the entry's text is back
  QVERIFY(f.Edit->hasFocus());
  // A refusal does not hold an OK text.
  f.Leave();
  QCOMPARE(seen.last(), dsOK);
  QVERIFY(f.After->hasFocus());
}

QTEST_MAIN(TestMaskEdits)
#include "test_mask_edits.moc"
