#pragma once
// The numeric edit's rules that need no window: how its text is laid out with
// fill characters, which typed characters it takes, how it reads its number,
// the repair of leading zeros and what its bounds say when the field is left.
// The widgets (edit_controls.h) only apply them.
#include <QChar>
#include <QString>

// The layout settings of a numeric edit. The Valid*/Clamp* helpers below are
// what the edit's setters apply before storing a value here.
struct TNumEditFormat {
  QChar FillChar = QLatin1Char(' ');
  int FillCount = 10;
  int DecimalPositions = 0;
  QChar DecimalSeparator = QLatin1Char(',');
};

// Only a blank or a digit may fill.
bool IsValidFillChar(QChar c);
// Only "," and "." may separate the decimals.
bool IsValidDecimalSeparator(QChar c);
// 1..10.
int ClampFillCount(int count);
// 0..10.
int ClampDecimalPositions(int positions);

// Integer part (the text before the separator, with its leading zeros but the
// last character turned into fill) and fraction part (after the separator).
void SplitNumText(const QString& text, const TNumEditFormat& format, QString& intPart,
                  QString& fracPart);
// The text as the edit shows it when it does not have the focus: the integer
// part right-aligned in FillCount characters, the fraction filled out with
// zeros to DecimalPositions (and cut there). Surplus fill is dropped to make
// the part fit, digits never are: a number wider than FillCount stays whole.
QString FormatNumText(const QString& text, const TNumEditFormat& format);
// Value written with exactly DecimalPositions decimals and the separator.
QString NumToText(double value, const TNumEditFormat& format);
// The separator read as ".", at most 21 characters, then a real number (the
// locale's separator and an exponent accepted, as IsFloatStr does).
bool ReadNumText(const QString& text, QChar separator, double& value);

// Blanks (code 32 or lower) removed at both ends.
QString TrimBlanks(const QString& text);

// The text and selection at the moment a character is typed.
struct TNumKeyContext {
  QString Text;
  int SelStart = 0;  // characters before the caret (or the selection)
  int SelLength = 0;
  int MaxLength = 0;  // 0: no limit
};

// Control characters of the typed keys that the edit lets through.
inline constexpr ushort KeyCopy = 3, KeyBackspace = 8, KeyEnter = 13, KeyPaste = 22, KeyCut = 24;

// Whether the numeric edit takes Key: the clipboard keys, Backspace, Enter,
// digits and one separator when decimals are allowed; with decimals, a digit,
// paste or cut only while the part the caret stands in has room.
bool NumCharAccepted(QChar key, const TNumKeyContext& context, const TNumEditFormat& format);

// Keeps the field from being empty or starting with a needless zero; Caret
// (characters before it) follows the text. Answers whether Text changed.
bool RepairLeadingZero(QString& text, int& caret, QChar separator);

// What leaving the field with Text does.
enum class TNumExitCheck { Accept, ToSmall, ToLarge };
// Below MinValue: ToSmall; unreadable, or above a non-zero MaxValue: ToLarge.
TNumExitCheck CheckNumExit(const QString& text, QChar separator, int minValue, int maxValue);

// The edit's character limit after MaxValue or the limit itself changed: the
// digits of MaxValue (at most 10) plus room for the decimals, when that is
// below the current non-zero limit. 0 stays 0 (no limit).
int NumCharLimit(int maxLength, int maxValue, int decimalPositions);
