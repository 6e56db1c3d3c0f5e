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

QString Blanks(int n) { return QString(n, QLatin1Char(' ')); }

}  // namespace

class TestNumEditRules : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void formatNumText_data();
  void formatNumText();
  void readNumText();
  void charAccepted_data();
  void charAccepted();
  void repairLeadingZero_data();
  void repairLeadingZero();
  void exitCheck();
  void charLimitAndNumToText();
};

void TestNumEditRules::formatNumText_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("fillCount");
  QTest::addColumn<int>("decimals");
  QTest::addColumn<bool>("zeroFill");
  QTest::addColumn<QString>("expected");
  QTest::newRow("blank fill") << "7" << 10 << 0 << false << Blanks(9) + "7";
  QTest::newRow("zeros become fill") << "007" << 10 << 0 << false << Blanks(9) + "7";
  QTest::newRow("lone zero stays") << "0" << 10 << 0 << false << Blanks(9) + "0";
  QTest::newRow("surplus fill dropped") << "      12" << 3 << 0 << false << QString(" 12");
  QTest::newRow("digits never cut") << "123456" << 5 << 0 << false << QString("123456");
  QTest::newRow("zero fill") << "12" << 5 << 0 << true << QString("00012");
  QTest::newRow("fraction filled") << "3,5" << 10 << 2 << false << Blanks(9) + "3,50";
  QTest::newRow("fraction cut") << "3,567" << 2 << 2 << false << QString(" 3,56");
  QTest::newRow("no decimals drops fraction") << "3,5" << 3 << 0 << false << QString("  3");
}

void TestNumEditRules::formatNumText() {
  QFETCH(QString, text);
  QFETCH(int, fillCount);
  QFETCH(int, decimals);
  QFETCH(bool, zeroFill);
  QFETCH(QString, expected);
  const TNumEditFormat f = Format(fillCount, decimals, QLatin1Char(zeroFill ? '0' : ' '));
  QCOMPARE(FormatNumText(text, f), expected);
  // Formatting what is formatted changes nothing.
  QCOMPARE(FormatNumText(expected, f), expected);
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

void TestNumEditRules::charAccepted_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("selStart");
  QTest::addColumn<int>("selLength");
  QTest::addColumn<int>("maxLength");
  QTest::addColumn<int>("decimals");
  QTest::addColumn<bool>("accepted");
  QTest::newRow("digit") << int('5') << "12" << 2 << 0 << 0 << 0 << true;
  QTest::newRow("select all key") << 1 << "12" << 2 << 0 << 0 << 0 << false;
  QTest::newRow("separator without decimals") << int(',') << "12" << 2 << 0 << 0 << 0 << false;
  QTest::newRow("separator") << int(',') << "12" << 2 << 0 << 0 << 2 << true;
  QTest::newRow("second separator") << int(',') << "1,2" << 3 << 0 << 0 << 2 << false;
  QTest::newRow("fraction full") << int('1') << "3,50" << 2 << 0 << 0 << 2 << false;
  QTest::newRow("fraction full, paste") << int(KeyPaste) << "3,50" << 4 << 0 << 0 << 2 << false;
  QTest::newRow("fraction full, copy") << int(KeyCopy) << "3,50" << 4 << 0 << 0 << 2 << true;
  QTest::newRow("fraction full, selected") << int('1') << "3,50" << 3 << 1 << 0 << 2 << true;
  QTest::newRow("integer part, no limit") << int('1') << "12345,50" << 0 << 0 << 0 << 2 << true;
  QTest::newRow("integer part full") << int('1') << "123,5" << 0 << 0 << 6 << 2 << false;
  QTest::newRow("integer part, selected") << int('1') << "123,5" << 0 << 1 << 6 << 2 << true;
}

void TestNumEditRules::charAccepted() {
  QFETCH(int, key);
  QFETCH(QString, text);
  QFETCH(int, selStart);
  QFETCH(int, selLength);
  QFETCH(int, maxLength);
  QFETCH(int, decimals);
  QFETCH(bool, accepted);
  const TNumKeyContext context{text, selStart, selLength, maxLength};
  QCOMPARE(NumCharAccepted(QChar(key), context, Format(10, decimals)), accepted);
}

void TestNumEditRules::repairLeadingZero_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("caret");
  QTest::addColumn<QString>("expected");
  QTest::addColumn<int>("expectedCaret");
  QTest::newRow("empty gets zero") << "" << 0 << "0" << 1;
  QTest::newRow("starts with separator") << ",5" << 0 << "0,5" << 1;
  QTest::newRow("leading zero goes") << "05" << 2 << "5" << 1;
  QTest::newRow("lone zero stays") << "0" << 1 << "0" << 1;
  QTest::newRow("zero before separator stays") << "0,5" << 3 << "0,5" << 3;
  QTest::newRow("blank before zero kept") << " 05" << 3 << " 5" << 2;
}

void TestNumEditRules::repairLeadingZero() {
  QFETCH(QString, text);
  QFETCH(int, caret);
  QFETCH(QString, expected);
  QFETCH(int, expectedCaret);
  const QString original = text;
  const bool changed = RepairLeadingZero(text, caret, QLatin1Char(','));
  QCOMPARE(text, expected);
  QCOMPARE(caret, expectedCaret);
  QCOMPARE(changed, original != expected);
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
