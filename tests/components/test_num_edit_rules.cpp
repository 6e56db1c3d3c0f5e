#include <QTest>

#include "components/num_edit_rules.h"

namespace {

TNumEditFormat Format(int fillCount, int decimals = 0, QChar fill = QLatin1Char(' ')) {
  TNumEditFormat f;
  f.FillChar = fill;
  f.FillCount = fillCount;
  f.DecimalPositions = decimals;
  return f;
}

}  // namespace

class TestNumEditRules : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void formatNumText();
  void readNumText();
  void charAccepted();
  void repairLeadingZero();
  void exitCheck();
  void charLimitAndNumToText();
};

void TestNumEditRules::formatNumText() {
  const QString nine = QString(9, QLatin1Char(' '));
  const struct {
    const char* Text;
    TNumEditFormat Format;
    QString Expected;
  } cases[] = {
      {"7", Format(10), nine + "7"},
      {"007", Format(10), nine + "7"},  // zeros become fill
      {"0", Format(10), nine + "0"},    // a lone zero stays
      {"      12", Format(3), " 12"},   // surplus fill dropped
      {"123456", Format(5), "123456"},  // digits never cut
      {"12", Format(5, 0, QLatin1Char('0')), "00012"},
      {"3,5", Format(10, 2), nine + "3,50"},
      {"3,567", Format(2, 2), " 3,56"},
      {"3,5", Format(3), "  3"},  // no decimals: the fraction goes
  };
  for (const auto& c : cases) {
    QCOMPARE(FormatNumText(c.Text, c.Format), c.Expected);
    // Formatting what is formatted changes nothing.
    QCOMPARE(FormatNumText(c.Expected, c.Format), c.Expected);
  }
}

void TestNumEditRules::readNumText() {
  const auto read = [](const QString& text, QChar sep = QLatin1Char(',')) {
    double v = -1;
    return ReadNumText(text, sep, v) ? v : qQNaN();
  };
  QCOMPARE(read("        12"), 12.0);
  QCOMPARE(read("3,50"), 3.5);
  QCOMPARE(read("3.5", QLatin1Char('.')), 3.5);
  QCOMPARE(read("1234567890123456789012345"), 123456789012345678901.0);  // 21 characters
  for (const char* unreadable : {"abc", "   ", "1,2,3"}) QVERIFY(qIsNaN(read(unreadable)));
}

// Key typed into Text with the caret at SelStart (selecting SelLength).
void TestNumEditRules::charAccepted() {
  const auto accepted = [](ushort key, const QString& text, int selStart, int selLength,
                           int maxLength, int decimals) {
    return NumCharAccepted(QChar(key), {text, selStart, selLength, maxLength},
                           Format(10, decimals));
  };
  QVERIFY(accepted('5', "12", 2, 0, 0, 0));          // digit
  QVERIFY(!accepted(1, "12", 2, 0, 0, 0));           // select all key
  QVERIFY(!accepted(',', "12", 2, 0, 0, 0));         // separator without decimals
  QVERIFY(accepted(',', "12", 2, 0, 0, 2));          // separator
  QVERIFY(!accepted(',', "1,2", 3, 0, 0, 2));        // second separator
  QVERIFY(!accepted('1', "3,50", 2, 0, 0, 2));       // fraction full
  QVERIFY(!accepted(KeyPaste, "3,50", 4, 0, 0, 2));  // fraction full, paste
  QVERIFY(accepted(KeyCopy, "3,50", 4, 0, 0, 2));    // fraction full, copy
  QVERIFY(accepted('1', "3,50", 3, 1, 0, 2));        // fraction full, selected
  QVERIFY(accepted('1', "12345,50", 0, 0, 0, 2));    // integer part, no limit
  QVERIFY(!accepted('1', "123,5", 0, 0, 6, 2));      // integer part full
  QVERIFY(accepted('1', "123,5", 0, 1, 6, 2));       // integer part, selected
}

// The text and the caret after the repair; "kept" when nothing changed.
void TestNumEditRules::repairLeadingZero() {
  const auto repair = [](QString text, int caret) {
    const bool changed = RepairLeadingZero(text, caret, QLatin1Char(','));
    return QStringLiteral("%1|%2%3").arg(text).arg(caret).arg(changed ? "" : " kept");
  };
  QCOMPARE(repair("", 0), QString("0|1"));
  QCOMPARE(repair(",5", 0), QString("0,5|1"));
  QCOMPARE(repair("05", 2), QString("5|1"));
  QCOMPARE(repair("0", 1), QString("0|1 kept"));
  QCOMPARE(repair("0,5", 3), QString("0,5|3 kept"));
  QCOMPARE(repair(" 05", 3), QString(" 5|2"));  // the blank before the zero stays
}

void TestNumEditRules::exitCheck() {
  const auto check = [](const char* text, int minValue, int maxValue) {
    return CheckNumExit(text, QLatin1Char(','), minValue, maxValue);
  };
  QCOMPARE(check("0", 1, 9999), TNumExitCheck::ToSmall);
  QCOMPARE(check("1", 1, 9999), TNumExitCheck::Accept);
  QCOMPARE(check("49", 0, 48), TNumExitCheck::ToLarge);
  QCOMPARE(check("48", 0, 48), TNumExitCheck::Accept);
  QCOMPARE(check("123456", 0, 0), TNumExitCheck::Accept);  // maximum 0 is no bound
  QCOMPARE(check("abc", 0, 0), TNumExitCheck::ToLarge);
}

void TestNumEditRules::charLimitAndNumToText() {
  QCOMPARE(NumCharLimit(0, 9999, 0), 0);  // no limit stays none
  QCOMPARE(NumCharLimit(5, 9999, 0), 4);  // shrinks to the digits of the maximum
  QCOMPARE(NumCharLimit(2, 9999, 0), 2);  // never grows
  QCOMPARE(NumCharLimit(10, 48, 2), 5);   // "48,00"

  QCOMPARE(NumToText(3.14159, Format(10, 2)), QStringLiteral("3,14"));
  QCOMPARE(NumToText(48, Format(10, 0)), QStringLiteral("48"));
}

QTEST_APPLESS_MAIN(TestNumEditRules)
#include "test_num_edit_rules.moc"
