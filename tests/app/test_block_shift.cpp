// Block indent and outdent of a selection's lines.
#include <QTest>

#include "app/block_shift.h"

class TestBlockShift : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void shift() {
    struct TRow {
      const char* Text;
      int TabWidth, Start, Length;
      const char* Keys;      // R indents, L outdents
      const char* Expected;  // the text, the selection's start and length
    };
    const char* five = "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\n";
    const TRow rows[] = {
        {five, 12, 4, 12, "R", "l1\r\n\tl2\r\n\tl3\r\n\tl4\r\nl5\r\n 2 16"},  // lines 2-4
        {five, 12, 4, 12, "RL", "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\n 2 13"},
        {five, 12, 0, 7, "R", "l1\r\n\tl2\r\nl3\r\nl4\r\nl5\r\n 0 8"},  // from char 0
        {five, 12, 1, 6, "R", "l1\r\n\tl2\r\nl3\r\nl4\r\nl5\r\n 1 7"},
        {"a\r\n\t   x\r\nb\r\n", 12, 3, 7, "L", "a\r\nx\r\nb\r\n 1 4"},      // tab, then a unit
        {"a\r\n      x\r\nb\r\n", 12, 3, 9, "L", "a\r\n   x\r\nb\r\n 1 7"},  // one unit of two
        {"a\r\n\t  x\r\n    y\r\nb\r\n", 0, 3, 13, "L", "a\r\n  x\r\n    y\r\nb\r\n 1 13"},
        {"a\r\n  x\r\nb\r\n", 4, 3, 5, "L", "a\r\n x\r\nb\r\n 1 5"},  // a unit of one
    };
    for (const TRow& r : rows) {
      QString text = r.Text;
      int start = r.Start;
      int length = r.Length;
      // As the editor holds a page: CR LF breaks only.
      const auto atLineStart = [&](int pos) { return pos >= 2 && text.mid(pos - 2, 2) == "\r\n"; };
      for (const char* k = r.Keys; *k; ++k) {
        const TBlockShift s = ShiftBlock(text.mid(start, length), start, length, atLineStart(start),
                                         atLineStart(start + length), r.TabWidth, *k == 'R');
        text.replace(s.Start, s.Length, s.Text);
        start = s.Start;
        length = s.SelLength;
      }
      QCOMPARE(text + QString(" %1 %2").arg(start).arg(length), QString(r.Expected));
    }
  }
};

QTEST_APPLESS_MAIN(TestBlockShift)
#include "test_block_shift.moc"
