#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "components/edit_controls.h"
#include "desktop_stub.h"
#include "focus_form.h"

namespace {

QString Blanks(int n) { return QString(n, QLatin1Char(' ')); }

void Paste(QLineEdit* edit, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
}

}  // namespace

// The rules themselves are tested in test_num_edit_rules; here, that the
// edits apply them to what is typed, entered and left.
class TestEditControls : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void typingEnteringAndLeaving();
  void boundsPutBackOrHandedOver();
  void realEditDecimals();
  void valueAndPropertiesFromCode();
  void lengthLimit();
  void focusKeysAndKeyHandler();
};

void TestEditControls::typingEnteringAndLeaving() {
  TDesktopStub desktop;
  TForm<TIntEdit> f;
  QVERIFY(f.Show());
  f.Edit->setText(QStringLiteral("7"));
  QCOMPARE(f.Edit->text(), Blanks(9) + "7");
  f.Enter();
  QCOMPARE(f.Edit->selectedText(), QStringLiteral("7"));
  QTest::keyClick(f.Edit, Qt::Key_5);
  QTest::keyClick(f.Edit, Qt::Key_Backspace);
  QCOMPARE(f.Edit->text(), QStringLiteral("0"));
  QCOMPARE(f.Edit->cursorPosition(), 1);
  f.Edit->selectAll();
  QTest::keyClick(f.Edit, Qt::Key_Delete);
  QCOMPARE(f.Edit->text(), QStringLiteral("0"));

  // Rejected keys beep; keys that type nothing pass.
  QTest::keyClick(f.Edit, Qt::Key_Minus);
  QTest::keyClick(f.Edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(f.Edit, Qt::Key_Home);
  QCOMPARE(desktop.Beeps(), 2);
  QCOMPARE(f.Edit->cursorPosition(), 0);
  f.Edit->SetBeep(false);
  QTest::keyClick(f.Edit, Qt::Key_Comma);
  QCOMPARE(desktop.Beeps(), 2);

  // Typing does not move Value, the repairs and leaving do: they set the text.
  f.Edit->end(false);
  QTest::keyClicks(f.Edit, "12");  // "01" repaired to "1", then "12"
  QCOMPARE(f.Edit->Value(), 1.0);
  f.Leave();
  QVERIFY(f.After->hasFocus());
  QCOMPARE(f.Edit->text(), Blanks(8) + "12");
  QCOMPARE(f.Edit->Value(), 12.0);
}

void TestEditControls::boundsPutBackOrHandedOver() {
  TForm<TIntEdit> f;
  f.Edit->SetMinValue(2);
  f.Edit->SetMaxValue(500);
  QVERIFY(f.Show());
  f.Enter();
  QTest::keyClicks(f.Edit, "1");
  f.Leave();
  QVERIFY(f.Edit->hasFocus());
  QCOMPARE(f.Edit->text(), QStringLiteral("2"));  // entered again: trimmed
  QCOMPARE(f.Edit->Value(), 2.0);

  Paste(f.Edit, QStringLiteral("abc"));
  QCOMPARE(f.Edit->text(), QStringLiteral("abc"));
  f.Leave();
  QVERIFY(f.Edit->hasFocus());
  QCOMPARE(f.Edit->text(), QStringLiteral("500"));

  // A handler replaces the putting back; the focus still returns.
  int tooLarge = 0, tooSmall = 0;
  f.Edit->OnToLarge = [&](QObject* sender) { tooLarge += sender == f.Edit; };
  f.Edit->OnToSmall = [&](QObject*) { ++tooSmall; };
  Paste(f.Edit, QStringLiteral("abc"));
  f.Leave();
  QCOMPARE(tooLarge, 1);
  QCOMPARE(tooSmall, 0);
  QVERIFY(f.Edit->hasFocus());
  QCOMPARE(f.Edit->text(), QStringLiteral("500"));  // the last good number
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
  QTest::keyClicks(f.Edit, "3,5,01");  // the second separator and third decimal refused
  QCOMPARE(f.Edit->text(), QStringLiteral("3,50"));
  QCOMPARE(desktop.Beeps(), 2);
  f.Leave();
  QCOMPARE(f.Edit->text(), Blanks(9) + "3,50");
  QCOMPARE(f.Edit->Value(), 3.5);
}

void TestEditControls::valueAndPropertiesFromCode() {
  TForm<TIntEdit> f;
  f.Edit->SetValue(42);
  f.Edit->SetFillCount(4);
  QCOMPARE(f.Edit->text(), QStringLiteral("  42"));
  f.Edit->SetFillCount(0);
  QCOMPARE(f.Edit->FillCount(), 1);
  QCOMPARE(f.Edit->text(), QStringLiteral("42"));  // wider than the fill: kept whole
  f.Edit->SetFillCount(5);
  f.Edit->SetFillChar(QLatin1Char('0'));
  f.Edit->SetFillChar(QLatin1Char('x'));  // ignored
  QCOMPARE(f.Edit->text(), QStringLiteral("00042"));
  f.Edit->setText(QStringLiteral("x"));  // no number: the last good one stays
  QCOMPARE(f.Edit->text(), QStringLiteral("00042"));

  // The bounds drag Value along; Value itself is not bounded.
  f.Edit->SetMaxValue(30);
  QCOMPARE(f.Edit->text(), QStringLiteral("00030"));
  f.Edit->SetMinValue(40);
  QCOMPARE(f.Edit->MaxValue(), 40);
  QCOMPARE(f.Edit->Value(), 40.0);
  f.Edit->SetMaxValue(10);
  QCOMPARE(f.Edit->MaxValue(), 40);
  f.Edit->SetValue(100);
  QCOMPARE(f.Edit->Value(), 100.0);
}

// The go-to-line field: its limit follows the document's line count.
void TestEditControls::lengthLimit() {
  TDesktopStub desktop;
  TForm<TIntEdit> f;
  f.Edit->SetFillCount(5);
  f.Edit->SetMinValue(1);
  f.Edit->setText(QStringLiteral("    1"));
  QVERIFY(f.Show());
  f.Edit->SetMaxValue(120);
  f.Edit->setMaxLength(5);
  QCOMPARE(f.Edit->MaxLength(), 3);  // cut to the maximum's digits
  f.Edit->SetValue(118);
  QCOMPARE(f.Edit->text(), QStringLiteral("  118"));  // the fill is never cut
  f.Edit->SetMaxValue(50);
  QCOMPARE(f.Edit->MaxLength(), 2);

  f.Enter();
  QTest::keyClicks(f.Edit, "497");
  QCOMPARE(f.Edit->text(), QStringLiteral("49"));
  QCOMPARE(desktop.Beeps(), 1);
  Paste(f.Edit, QStringLiteral("123"));
  QCOMPARE(f.Edit->text(), QStringLiteral("12"));
}

void TestEditControls::focusKeysAndKeyHandler() {
  TDesktopStub desktop;
  TForm<TIntEdit> f;
  f.Edit->SetFillCount(1);
  QVERIFY(f.Show());
  const struct {
    Qt::Key Key;
    QWidget* Lands;
  } moves[] = {{Qt::Key_Down, f.After}, {Qt::Key_Up, f.Before}, {Qt::Key_Return, f.After}};
  for (const auto& m : moves) {
    f.Enter();
    QTest::keyClick(f.Edit, m.Key);
    QVERIFY(f.Edit->hasFocus());  // the move waits until the key is handled
    QCoreApplication::processEvents();
    QVERIFY(m.Lands->hasFocus());
  }

  QList<int> keys;
  f.Edit->OnKeyPress = [&](QObject*, QChar& key) { keys << key.unicode(); };
  f.Edit->SetUpDownKeys(false);
  f.Edit->SetEnterAsTab(false);
  f.Enter();
  QTest::keyClick(f.Edit, Qt::Key_A);  // rejected: arrives as 0
  QTest::keyClick(f.Edit, Qt::Key_3);
  QTest::keyClick(f.Edit, Qt::Key_Down);
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
