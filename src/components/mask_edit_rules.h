#pragma once
// The masked edits' rules that need no window: the states of a postcode
// ("1234AB"), a time ("hh:nn") and a date ("dd-mm-yyyy") text, the value
// properties, which typed characters each takes at which caret position,
// and the repair that puts the text back in shape after every key. The
// widgets (mask_edits.h) only apply them.
#include <QChar>
#include <QString>

// State types; the order of their values is part of the interface.
enum TPostcodeState { psOK, psNotFull, psWrongNum, psEmpty, psIllegalChars };
enum TTimeState { tsOK, tsNotFull, tsEmpty, tsNoTime };
enum TDateState { dsOK, dsNotFull, dsEmpty, dsNoDate, dsToSmall };

// The year below which a date edit's text is dsToSmall.
inline constexpr int SmallestYear = 1900;

enum class TMaskKind { Postcode, Time, Date };

// Each rule below overrides the ones before it: not 6 characters, a number
// part that is no number or below 1000, empty, letters the post does not use.
TPostcodeState PostcodeState(const QString& text);
// A one-digit hour (":" second) is read with a leading "0".
TTimeState TimeState(const QString& text);
// A one-digit day (first "-" second) is read with a leading "0"; a readable
// date before 1900 is dsToSmall.
TDateState DateState(const QString& text);

// "1234 AB" from "1234AB".
QString PostcodeFromText(const QString& text);
// The edit's text for a postcode value ("1234 AB" or "1234ab"), or a null
// string when the value is no postcode.
QString PostcodeToText(const QString& value);
// The time in its full shape (a leading "0" added where the state reads one)
// when its state is OK, else empty.
QString TimeValue(const QString& text);
// The text itself (its first 10 characters) when it is a valid date text
// from 1900 on, one-digit day or month included, else empty. The state may
// still call such a text not full: value and state answer different questions.
QString DateValue(const QString& text);

// The text, caret and selection of an edit as a key arrives.
struct TMaskEditState {
  QString Text;
  int SelStart = 0;  // characters before the caret (or the selection)
  int SelLength = 0;
  bool operator==(const TMaskEditState&) const = default;
};

// Prepares the edit for typed character Key (already a control code for
// Backspace, Enter and the clipboard keys): State gets the caret steps over
// the separators, a leading "0" for a one-digit hour, day or month closed by
// its separator, and a one-character selection so that what is typed
// overwrites. Answers the character to type then: Key upper-cased, or 0
// when it is dropped; Rejected tells a refusal (which beeps) from a drop.
QChar MaskPrepareKey(TMaskKind kind, QChar key, TMaskEditState& state, bool& rejected);
// Delete: the caret steps over a separator right after it, so Delete
// removes the digit beyond rather than the separator.
void MaskPrepareDelete(TMaskKind kind, TMaskEditState& state);
// The text after a key: letters cut from a postcode whose number part is
// spoilt; hours, minutes, day and month capped and the separators restored.
QString MaskRepair(TMaskKind kind, const QString& text);
// The text an edit shows on entry: a time or date that is no valid value
// becomes the bare separators.
QString MaskEntryText(TMaskKind kind, const QString& text);
