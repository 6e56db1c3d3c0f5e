#include <QTest>

#include "html/char_check.h"

using TLines = std::vector<std::string>;
Q_DECLARE_METATYPE(TLines)

class TestCharCheck : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void check_data() {
    QTest::addColumn<TLines>("lines");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("pos");
    QTest::addColumn<QString>("message");
    QTest::newRow("e acute at 2,4")
        << TLines{"<P>", "abc\xC3\xA9 d\xC3\xA9"} << 2 << 4
        << QString::fromUtf8("Illegal character \"\xC3\xA9\" at line 2 position 4.");
    QTest::newRow("tabs only") << TLines{"\t<P>\t", "\t\t", ""} << -1 << -1 << QString();
    QTest::newRow("empty document") << TLines{} << -1 << -1 << QString();
    QTest::newRow("code 31 passes, 29 fails")
        << TLines{"a\x1F" "b\x1E", "xy\x1D"} << 2 << 3
        << QString("Illegal character \"\x1D\" at line 2 position 3.");
    QTest::newRow("DEL passes, NUL fails")
        << TLines{"\x7F", std::string("ab\0", 3)} << 2 << 3
        << QString("Illegal character \"") + QChar(0) + "\" at line 2 position 3.";
    QTest::newRow("broken UTF-8")
        << TLines{"a\xE9z"} << 1 << 2
        << QString::fromUtf8("Illegal character \"\xEF\xBF\xBD\" at line 1 position 2.");
    QTest::newRow("first one only") << TLines{"ok", "\x01\x02"} << 2 << 1
                                    << QString("Illegal character \"\x01\" at line 2 position 1.");
  }

  void check() {
    QFETCH(TLines, lines);
    QFETCH(int, line);
    QFETCH(int, pos);
    QFETCH(QString, message);
    int l = 0, p = 0;
    std::string text = "stale";
    QCOMPARE(CheckChars(lines, l, p, text), line == -1);
    QCOMPARE(l, line);
    QCOMPARE(p, pos);
    QCOMPARE(QString::fromStdString(text), message);
  }

  void codes() {
    for (char32_t c = 0; c < 0x300; ++c)
      QVERIFY2(IsLegalHtmlChar(c) == (c == 9 || (c >= 30 && c <= 127)),
               qPrintable(QString::number(c)));
    QCOMPARE(std::string(IllegalCharTitle), std::string("Illegal character"));
  }

  void caretPlacement() {
    const std::string line = "a\xC3\xA9\xE2\x82\xACz";
    QCOMPARE(ByteOffsetOfChar(line, 1), std::size_t(0));
    QCOMPARE(ByteOffsetOfChar(line, 3), std::size_t(3));
    QCOMPARE(ByteOffsetOfChar(line, 4), std::size_t(6));
    QCOMPARE(ByteOffsetOfChar(line, 9), line.size());
    QCOMPARE(ByteOffsetOfChar(line, 0), std::size_t(0));
    // The smallest and the largest code of their lengths are one character each.
    QCOMPARE(ByteOffsetOfChar("\xC2\x80z", 2), std::size_t(2));
    QCOMPARE(ByteOffsetOfChar("\xF4\x8F\xBF\xBFz", 2), std::size_t(4));
    const TLines lines{"<P>", "abc\xC3\xA9"};
    QCOMPARE(CharIndexOf(lines, 2, 4), 3LL + 2 + 3);
    QCOMPARE(CharIndexOf(lines, 1, 1), 0LL);
    QCOMPARE(CharIndexOf(TLines{"\xC3\xA9\xC3\xA9", "x"}, 2, 1, 1), 3LL);
  }
};

QTEST_APPLESS_MAIN(TestCharCheck)
#include "test_char_check.moc"
