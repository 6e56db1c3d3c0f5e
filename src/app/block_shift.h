#pragma once
// Block indent and outdent (Alt+Right, Alt+Left) of the lines a selection
// touches, as text in and text out. Indent puts a tab after every CR LF in
// the selection; outdent takes one tab there, then one unit of tabWidth / 4
// blanks (none for a width under 4). A selection that begins at the start of
// a line other than the first takes the CR LF before it in, so that its first
// line moves too; one that also ends at a line start stops between that CR
// and LF, so that the next line stays. Lengths are the editor's characters.
#include <QString>

struct TBlockShift {
  int Start, Length;  // the characters to replace
  QString Text;       // what replaces them
  int SelLength;      // the selection afterwards, from Start
};

// selected: the selection's text; startsLine and endsLine: whether its start
// and its end are the start of a line other than the first.
TBlockShift ShiftBlock(const QString& selected, int start, int length, bool startsLine,
                       bool endsLine, int tabWidth, bool indent);
