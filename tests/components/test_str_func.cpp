#include <QTest>
#include <clocale>

#include "components/num_func.h"
#include "components/str_func.h"

class TestStrFunc : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void replacePadCut();
  void searching();
  void validators();
  void formatting();
};

void TestStrFunc::replacePadCut() {
  QCOMPARE(ReplaceAllStr("aaaa", "aa", "b"), std::string("bb"));
  QCOMPARE(ReplaceAllStr("aaa", "a", "aa"), std::string("aaaaaa"));
  QCOMPARE(ReplaceAllStr("abc", "", "x"), std::string("abc"));
  QCOMPARE(FirstPosNotIn("abcx", "abc"), std::string::size_type(4));
  QCOMPARE(FirstPosNotIn("cab", "abc"), std::string::size_type(0));
  QCOMPARE(PadRightStr("abc", '*', 5), std::string("abc**"));
  QCOMPARE(PadRightStr("abcdef", '*', 3), std::string("abc"));
  QCOMPARE(PadLeftStr("abc", '0', 5), std::string("00abc"));
  QCOMPARE(PadLeftStr("abcdef", '0', 3), std::string("def"));
  QCOMPARE(PadRightStr("abc", '0', 0), std::string());
  QCOMPARE(PadLeftStr("abc", '0', -2), std::string());
  QCOMPARE(RightStr("abc", 5), std::string("abc"));
  QCOMPARE(LeftStr("abc", 0), std::string());
  QCOMPARE(LeftStr("abc", 2), std::string("ab"));
  QCOMPARE(RightStr("abc", 2), std::string("bc"));
}

void TestStrFunc::searching() {
  QCOMPARE(CountStr("aa", "aaaa"), 3);
  QCOMPARE(LastPosStr("aa", "aaa"), std::string::size_type(2));
  QCOMPARE(LastPosStr("x", "aaa"), std::string::size_type(0));
  QCOMPARE(CountStr("", "aaa"), 0);
  std::string::size_type last = 99;
  QCOMPARE(ScanStr("-", "28-10-2001", last), 2);
  QCOMPARE(last, std::string::size_type(6));
  QCOMPARE(BeforeStr("=", "key=value"), std::string("key"));
  QCOMPARE(AfterStr("=", "key=value"), std::string("value"));
  QCOMPARE(AfterStr("=", "key"), std::string());
  QCOMPARE(BeforeStr("=", "=value"), std::string());
  QCOMPARE(AfterStr("ab", "xabyab"), std::string("yab"));
}

void TestStrFunc::validators() {
  for (const char* yes : {"23:59", "00:00"}) QVERIFY2(IsTimeStr(yes), yes);
  for (const char* no : {"24:00", "9:30", "12-30", "-1:30"}) QVERIFY2(!IsTimeStr(no), no);
  QVERIFY(IsAlphaStr("Abc"));
  for (const char* no : {"", "abc1", "\xe9t\xe9"}) QVERIFY2(!IsAlphaStr(no), no);
  for (const char* yes : {" 12", "-2147483648"}) QVERIFY2(IsIntStr(yes), yes);
  for (const char* no : {"12 ", "2147483648", ""}) QVERIFY2(!IsIntStr(no), no);
  for (const char* yes : {" 2.5 ", "-1e3"}) QVERIFY2(IsFloatStr(yes), yes);
  for (const char* no : {"1.2.3", "e3", "."}) QVERIFY2(!IsFloatStr(no), no);
  // A locale whose decimal separator is ',' accepts both marks.
  if (std::setlocale(LC_NUMERIC, "nl_NL.UTF-8") || std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
    QVERIFY(IsFloatStr("1,5"));
    QVERIFY(IsFloatStr("1.5"));
    std::setlocale(LC_NUMERIC, "C");
  }
  QVERIFY(!IsFloatStr("1,5"));
}

void TestStrFunc::formatting() {
  QCOMPARE(FloatToStrSep(3.14159, 2, 2, ','), std::string("3,14"));
  QCOMPARE(FloatToStrSep(2, 0, 0, ','), std::string("2"));
  QCOMPARE(FloatToStrSep(2.5, 6, 1, '.'), std::string("   2.5"));
  QCOMPARE(FloatToStrSep(1e300, 0, 255, '.').size(), std::string::size_type(301 + 1 + 255));
  QCOMPARE(MinWord(3, 65535), std::uint16_t(3));
  QCOMPARE(MinWord(65535, 3), std::uint16_t(3));
}

QTEST_APPLESS_MAIN(TestStrFunc)
#include "test_str_func.moc"
