// Block indent and outdent of a selection's lines.
#include <QTest>

#include "app/block_shift.h"

class TestBlockShift : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void shift_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("tabWidth");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("keys");  // R indents, L outdents
    QTest::addColumn<QString>("expected");  // the text, the selection's start and length
    const QString five = "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\n";
    // clang-format off
    QTest::newRow("lines 2-4") << five << 12 << 4 << 12 << "R"
                               << "l1\r\n\tl2\r\n\tl3\r\n\tl4\r\nl5\r\n 2 16";
    QTest::newRow("and back") << five << 12 << 4 << 12 << "RL" << five + " 2 13";
    QTest::newRow("from char 0") << five << 12 << 0 << 7 << "R" << "l1\r\n\tl2\r\nl3\r\nl4\r\nl5\r\n 0 8";
    QTest::newRow("mid-line") << five << 12 << 1 << 6 << "R" << "l1\r\n\tl2\r\nl3\r\nl4\r\nl5\r\n 1 7";
    QTest::newRow("tab, then a unit") << "a\r\n\t   x\r\nb\r\n" << 12 << 3 << 7 << "L"
                                      << "a\r\nx\r\nb\r\n 1 4";
    QTest::newRow("one unit of two") << "a\r\n      x\r\nb\r\n" << 12 << 3 << 9 << "L"
                                     << "a\r\n   x\r\nb\r\n 1 7";
    QTest::newRow("no unit") << "a\r\n\t  x\r\n    y\r\nb\r\n" << 0 << 3 << 13 << "L"
                             << "a\r\n  x\r\n    y\r\nb\r\n 1 13";
    QTest::newRow("unit of one") << "a\r\n  x\r\nb\r\n" << 4 << 3 << 5 << "L"
                                 << "a\r\n x\r\nb\r\n 1 5";
    // clang-format on
  }

  void shift() {
    QFETCH(QString, text);
    QFETCH(int, tabWidth);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    // As the editor holds a page: CR LF breaks only.
    const auto startsLine = [&](int pos) { return pos >= 2 && text.mid(pos - 2, 2) == "\r\n"; };
    for (const QChar key : keys) {
      const TBlockShift s = ShiftBlock(text.mid(start, length), start, length, startsLine(start),
                                       startsLine(start + length), tabWidth, key == 'R');
      text.replace(s.Start, s.Length, s.Text);
      start = s.Start;
      length = s.SelLength;
    }
    QCOMPARE(text + QString(" %1 %2").arg(start).arg(length), expected);
  }
};

QTEST_APPLESS_MAIN(TestBlockShift)
#include "test_block_shift.moc"
