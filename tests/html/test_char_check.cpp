#include <QTest>

#include "html/char_check.h"

using TLines = std::vector<std::string>;

class TestCharCheck : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  // The first illegal character, its line and position (from 1) and the message naming it.
  void check() {
    const std::tuple<TLines, int, int, std::string> rows[] = {
        {{"<P>", "abc\xC3\xA9 d\xC3\xA9"}, 2, 4, "\xC3\xA9"},
        {{"\t<P>\t", "\t\t", ""}, -1, -1, ""},  // tabs only
        {{}, -1, -1, ""},
        {{"a\037b\036", "xy\x1D"}, 2, 3, "\x1D"},                        // 31 passes, 29 fails
        {{"\x7F", std::string("ab\0", 3)}, 2, 3, std::string(1, '\0')},  // DEL passes, NUL fails
        {{"a\xE9z"}, 1, 2, "\xEF\xBF\xBD"},                              // broken UTF-8
        {{"a\xED\xA0\x80"}, 1, 2, "\xEF\xBF\xBD"},                       // a surrogate
        {{"ok", "\x01\x02"}, 2, 1, "\x01"},                              // the first one only
    };
    for (const auto& [lines, line, pos, shown] : rows) {
      int l = 0, p = 0;
      std::string text = "stale";
      QCOMPARE(CheckChars(lines, l, p, text), line == -1);
      QCOMPARE(l, line);
      QCOMPARE(p, pos);
      const std::string message = "Illegal character \"" + shown + "\" at line " +
                                  std::to_string(line) + " position " + std::to_string(pos) + ".";
      QCOMPARE(text, line == -1 ? std::string() : message);
    }
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
    QCOMPARE(ByteOffsetOfChar("\xDF\xBFz", 2), std::size_t(2));
    QCOMPARE(ByteOffsetOfChar("\xED\xBF\xBFz", 2), std::size_t(1));  // a surrogate: 3 bytes
    QCOMPARE(ByteOffsetOfChar("\xF4\x8F\xBF\xBFz", 2), std::size_t(4));
    const TLines lines{"<P>", "abc\xC3\xA9"};
    QCOMPARE(CharIndexOf(lines, 2, 4), 3LL + 2 + 3);
    QCOMPARE(CharIndexOf(lines, 1, 1), 0LL);
    QCOMPARE(CharIndexOf(TLines{"\xC3\xA9\xC3\xA9", "x"}, 2, 1, 1), 3LL);
  }
};

QTEST_APPLESS_MAIN(TestCharCheck)
#include "test_char_check.moc"
