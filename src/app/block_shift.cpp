#include "app/block_shift.h"

TBlockShift ShiftBlock(const QString& selected, int start, int length, bool startsLine,
                       bool endsLine, int tabWidth, bool indent) {
  TBlockShift s{start, length, selected, length};
  if (startsLine) {
    s.Start -= 2;
    s.Text.prepend("\r\n");
    s.Length += 2;
    if (endsLine) {
      s.Text.chop(1);
      s.Length -= 1;
    }
  }
  s.SelLength = s.Length;
  if (indent) {
    s.SelLength += s.Text.count("\r\n");
    s.Text.replace("\r\n", "\r\n\t");
    return s;
  }
  s.SelLength -= s.Text.count("\r\n\t");
  s.Text.replace("\r\n\t", "\r\n");
  const QString unit(tabWidth / 4, QChar(' '));
  if (!unit.isEmpty()) {
    s.SelLength -= s.Text.count("\r\n" + unit) * unit.size();
    s.Text.replace("\r\n" + unit, "\r\n");
  }
  return s;
}
