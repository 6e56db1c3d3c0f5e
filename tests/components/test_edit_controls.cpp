#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "components/edit_controls.h"
#include "components/form_style.h"
#include "desktop_stub.h"
#include "focus_form.h"

namespace {

QString Blanks(int n) { return QString(n, QLatin1Char(' ')); }

// The go-to-line field as the main window places it.
void MakeGotoField(TIntEdit& edit) {
  edit.SetFillCount(5);
  edit.SetMinValue(1);
  edit.SetMaxValue(9999);
  edit.SetEnterAsTab(false);
  edit.setText(QStringLiteral("    1"));
}

}  // namespace

class TestEditControls : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void formatsWhenLeftAndTrimsWhenEntered();
  void typingKeepsOneNumber();
  void rejectedKeysBeep();
  void boundsWhenLeft_data();
  void boundsWhenLeft();
  void pastedTextPutBackOrHandedOver();
  void realEditDecimals();
  void valueAndPropertiesFromCode();
  void gotoFieldPerDocument();
  void focusKeys();
  void enterReachesKeyHandler();
};

void TestEditControls::formatsWhenLeftAndTrimsWhenEntered() {
  TForm<TIntEdit> f;
  QVERIFY(f.Show());
  f.Edit->setText(QStringLiteral("7"));
  QCOMPARE(f.Edit->text(), Blanks(9) + "7");
  QCOMPARE(f.Edit->Value(), 7.0);

  f.Enter();
  QCOMPARE(f.Edit->text(), QStringLiteral("7"));
  QCOMPARE(f.Edit->selectedText(), QStringLiteral("7"));

  f.Leave();
  QVERIFY(f.After->hasFocus());
  QCOMPARE(f.Edit->text(), Blanks(9) + "7");
  QCOMPARE(f.Edit->font().family(), QString(FixedFamily));
}

void TestEditControls::typingKeepsOneNumber() {
  TDesktopStub desktop;
  TForm<TIntEdit> f;
  QVERIFY(f.Show());
  f.Edit->setText(QStringLiteral("7"));
  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_0);
  QCOMPARE(f.Edit->text(), QStringLiteral("0"));
  QTest::keyClick(f.Edit, Qt::Key_5);
  QCOMPARE(f.Edit->text(), QStringLiteral("5"));
  QCOMPARE(f.Edit->cursorPosition(), 1);

  QTest::keyClick(f.Edit, Qt::Key_Backspace);
  QCOMPARE(f.Edit->text(), QStringLiteral("0"));
  QCOMPARE(f.Edit->cursorPosition(), 1);

  QTest::keyClicks(f.Edit, "42");
  QCOMPARE(f.Edit->text(), QStringLiteral("42"));
  f.Edit->selectAll();
  QTest::keyClick(f.Edit, Qt::Key_Delete);
  QCOMPARE(f.Edit->text(), QStringLiteral("0"));
  QCOMPARE(desktop.Beeps(), 0);

  // Typing does not move Value, the repairs and leaving do: they set the text.
  QTest::keyClicks(f.Edit, "12");  // "01" repaired to "1", then "12"
  QCOMPARE(f.Edit->Value(), 1.0);
  f.Leave();
  QCOMPARE(f.Edit->Value(), 12.0);
}

void TestEditControls::rejectedKeysBeep() {
  TDesktopStub desktop;
  TForm<TIntEdit> f;
  QVERIFY(f.Show());
  f.Edit->setText(QStringLiteral("12"));
  f.Enter();
  f.Edit->end(false);
  QTest::keyClick(f.Edit, Qt::Key_Minus);
  QTest::keyClick(f.Edit, Qt::Key_A);
  QTest::keyClick(f.Edit, Qt::Key_Comma);  // no decimals in a whole number
  QTest::keyClick(f.Edit, Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(f.Edit->text(), QStringLiteral("12"));
  QCOMPARE(desktop.Beeps(), 4);

  f.Edit->SetBeep(false);
  QTest::keyClick(f.Edit, Qt::Key_Minus);
  QCOMPARE(desktop.Beeps(), 4);
  QCOMPARE(f.Edit->text(), QStringLiteral("12"));

  // Keys that type nothing pass without a beep.
  f.Edit->SetBeep(true);
  QTest::keyClick(f.Edit, Qt::Key_Home);
  QCOMPARE(f.Edit->cursorPosition(), 0);
  QCOMPARE(desktop.Beeps(), 4);
}

void TestEditControls::boundsWhenLeft_data() {
  QTest::addColumn<int>("fillCount");
  QTest::addColumn<int>("minValue");
  QTest::addColumn<int>("maxValue");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<bool>("keepsFocus");
  QTest::addColumn<double>("value");
  QTest::newRow("below minimum") << 5 << 1 << 9999 << "0"
                                 << "1" << true << 1.0;
  QTest::newRow("above maximum") << 2 << 0 << 48 << "99"
                                 << "48" << true << 48.0;
  // Formatting that leaves the typed text as it is sets nothing: Value stays.
  QTest::newRow("within, nothing to format") << 2 << 0 << 48 << "48"
                                             << "48" << false << 0.0;
  QTest::newRow("within") << 3 << 0 << 48 << "48"
                          << " 48" << false << 48.0;
  QTest::newRow("maximum 0 is no bound") << 10 << 0 << 0 << "987654"
                                         << "    987654" << false << 987654.0;
}

void TestEditControls::boundsWhenLeft() {
  QFETCH(int, fillCount);
  QFETCH(int, minValue);
  QFETCH(int, maxValue);
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  QFETCH(bool, keepsFocus);
  QFETCH(double, value);
  TForm<TIntEdit> f;
  f.Edit->SetFillCount(fillCount);
  f.Edit->SetMinValue(minValue);
  f.Edit->SetMaxValue(maxValue);
  QVERIFY(f.Show());
  f.Enter();
  QTest::keyClicks(f.Edit, typed);
  QCOMPARE(f.Edit->text(), typed);
  f.Leave();
  QCOMPARE(f.Edit->hasFocus(), keepsFocus);
  QCOMPARE(f.Edit->text(), shown);  // entered again: trimmed and selected
  QCOMPARE(f.Edit->Value(), value);
}

void TestEditControls::pastedTextPutBackOrHandedOver() {
  TForm<TIntEdit> f;
  f.Edit->SetMaxValue(500);
  QVERIFY(f.Show());
  QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(f.Edit->text(), QStringLiteral("abc"));
  f.Leave();
  QVERIFY(f.Edit->hasFocus());
  QCOMPARE(f.Edit->text(), QStringLiteral("500"));

  // A handler replaces the putting back; the focus still returns.
  int tooLarge = 0, tooSmall = 0;
  f.Edit->OnToLarge = [&](QObject* sender) { tooLarge += sender == f.Edit; };
  f.Edit->OnToSmall = [&](QObject*) { ++tooSmall; };
  f.Edit->selectAll();
  QTest::keyClick(f.Edit, Qt::Key_V, Qt::ControlModifier);
  f.Leave();
  QCOMPARE(tooLarge, 1);
  QCOMPARE(tooSmall, 0);
  QVERIFY(f.Edit->hasFocus());
  // Entered again, the unreadable text gives way to the last good number.
  QCOMPARE(f.Edit->text(), QStringLiteral("500"));
}

void TestEditControls::realEditDecimals() {
  TDesktopStub desktop;
  TForm<TRealEdit> f;
  f.Edit->SetDecimalPositions(2);
  f.Edit->SetDecimalSeparator(QLatin1Char(';'));  // ignored
  QCOMPARE(f.Edit->DecimalSeparator(), QLatin1Char(','));
  QVERIFY(f.Show());
  f.Enter();
  f.Edit->selectAll();
  QTest::keyClicks(f.Edit, "3,5");
  QCOMPARE(f.Edit->text(), QStringLiteral("3,5"));
  QTest::keyClick(f.Edit, Qt::Key_Comma);
  QCOMPARE(desktop.Beeps(), 1);
  QTest::keyClicks(f.Edit, "01");  // the second decimal fits, the third not
  QCOMPARE(f.Edit->text(), QStringLiteral("3,50"));
  QCOMPARE(desktop.Beeps(), 2);
  f.Leave();
  QCOMPARE(f.Edit->text(), Blanks(9) + "3,50");
  QCOMPARE(f.Edit->Value(), 3.5);

  // A separator is refused while the text holds one, selected or not; an
  // emptied field shows "0" and a separator typed before it gets a "0" first.
  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_Comma);
  QCOMPARE(desktop.Beeps(), 3);
  QTest::keyClick(f.Edit, Qt::Key_Delete);
  QCOMPARE(f.Edit->text(), QStringLiteral("0"));
  QTest::keyClick(f.Edit, Qt::Key_Home);
  QTest::keyClick(f.Edit, Qt::Key_Comma);
  QCOMPARE(f.Edit->text(), QStringLiteral("0,0"));
  QCOMPARE(f.Edit->cursorPosition(), 1);
}

void TestEditControls::valueAndPropertiesFromCode() {
  TForm<TIntEdit> f;
  QSignalSpy edited(f.Edit, &QLineEdit::textEdited);
  f.Edit->SetValue(42);
  QCOMPARE(f.Edit->text(), Blanks(8) + "42");
  f.Edit->SetFillCount(4);
  QCOMPARE(f.Edit->text(), QStringLiteral("  42"));
  f.Edit->SetFillCount(0);
  QCOMPARE(f.Edit->FillCount(), 1);
  QCOMPARE(f.Edit->text(), QStringLiteral("42"));  // wider than the fill: kept whole
  f.Edit->SetFillCount(5);
  f.Edit->SetFillChar(QLatin1Char('0'));
  QCOMPARE(f.Edit->text(), QStringLiteral("00042"));
  f.Edit->SetFillChar(QLatin1Char('x'));  // ignored
  QCOMPARE(f.Edit->FillChar(), QLatin1Char('0'));

  // A text that is no number gives way to the last good one.
  f.Edit->setText(QStringLiteral("x"));
  QCOMPARE(f.Edit->text(), QStringLiteral("00042"));

  // The bounds drag Value along; Value itself is not bounded.
  f.Edit->SetMaxValue(30);
  QCOMPARE(f.Edit->Value(), 30.0);
  QCOMPARE(f.Edit->text(), QStringLiteral("00030"));
  f.Edit->SetMinValue(40);
  QCOMPARE(f.Edit->MaxValue(), 40);
  QCOMPARE(f.Edit->Value(), 40.0);
  f.Edit->SetMaxValue(10);
  QCOMPARE(f.Edit->MaxValue(), 40);
  f.Edit->SetValue(100);
  QCOMPARE(f.Edit->Value(), 100.0);
  QCOMPARE(edited.count(), 0);
}

void TestEditControls::gotoFieldPerDocument() {
  TDesktopStub desktop;
  TForm<TIntEdit> f;
  MakeGotoField(*f.Edit);
  QCOMPARE(f.Edit->text(), QStringLiteral("    1"));
  QVERIFY(f.Show());

  QSignalSpy edited(f.Edit, &QLineEdit::textEdited);
  QSignalSpy changed(f.Edit, &QLineEdit::textChanged);
  auto loadDocument = [&](int lines) {
    f.Edit->SetMinValue(1);
    f.Edit->SetValue(1);
    f.Edit->SetMaxValue(lines);
    f.Edit->setMaxLength(QString::number(lines).length());
  };
  loadDocument(120);
  QCOMPARE(f.Edit->text(), QStringLiteral("    1"));
  QCOMPARE(f.Edit->MaxLength(), 3);
  QCOMPARE(changed.count(), 0);  // nothing to show changed

  // The limit never cuts the fill of a text set by code.
  f.Edit->SetValue(118);
  QCOMPARE(f.Edit->text(), QStringLiteral("  118"));
  loadDocument(12345);
  QCOMPARE(f.Edit->MaxLength(), 5);
  QCOMPARE(f.Edit->text(), QStringLiteral("    1"));
  loadDocument(50);
  QCOMPARE(f.Edit->MaxLength(), 2);
  QCOMPARE(edited.count(), 0);

  // The user types no more than the limit.
  f.Enter();
  QTest::keyClicks(f.Edit, "497");
  QCOMPARE(f.Edit->text(), QStringLiteral("49"));
  QCOMPARE(desktop.Beeps(), 1);
  QGuiApplication::clipboard()->setText(QStringLiteral("123"));
  f.Edit->selectAll();
  QTest::keyClick(f.Edit, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(f.Edit->text(), QStringLiteral("12"));
  f.Leave();
  QCOMPARE(f.Edit->text(), QStringLiteral("   12"));
}

void TestEditControls::focusKeys() {
  TForm<TZELEdit> f;
  QVERIFY(f.Show());
  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_Down);
  QVERIFY(f.Edit->hasFocus());  // the move waits until the key is handled
  QCoreApplication::processEvents();
  QVERIFY(f.After->hasFocus());

  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_Up);
  QCoreApplication::processEvents();
  QVERIFY(f.Before->hasFocus());

  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_Return);
  QCoreApplication::processEvents();
  QVERIFY(f.After->hasFocus());

  f.Edit->SetUpDownKeys(false);
  f.Edit->SetEnterAsTab(false);
  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_Down);
  QTest::keyClick(f.Edit, Qt::Key_Return);
  QCoreApplication::processEvents();
  QVERIFY(f.Edit->hasFocus());
}

void TestEditControls::enterReachesKeyHandler() {
  TDesktopStub desktop;
  TForm<TIntEdit> f;
  MakeGotoField(*f.Edit);
  QVERIFY(f.Show());
  QList<int> keys;
  f.Edit->OnKeyPress = [&](QObject*, QChar& key) {
    keys << key.unicode();
    if (key.unicode() == KeyEnter) key = QChar();
  };
  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_A);  // rejected: arrives as 0
  QTest::keyClick(f.Edit, Qt::Key_3);
  QTest::keyClick(f.Edit, Qt::Key_Return);
  QCoreApplication::processEvents();
  QCOMPARE(keys, (QList<int>{0, '3', KeyEnter}));
  QVERIFY(f.Edit->hasFocus());
  QCOMPARE(f.Edit->text(), QStringLiteral("3"));
  QCOMPARE(desktop.Beeps(), 1);

  f.Edit->SetEnterAsTab(true);
  QTest::keyClick(f.Edit, Qt::Key_Return);
  QCoreApplication::processEvents();
  QCOMPARE(keys.last(), 0);
  QVERIFY(f.After->hasFocus());
}

QTEST_MAIN(TestEditControls)
#include "test_edit_controls.moc"
