#pragma once
// The fixed date texts of the program ("dd-mm-yyyy", "dd-mm-yyyy hh:nn",
// whatever the user's regional settings) and a file's modification time.
// Date-time values are QDateTime in local time.
#include <QDateTime>
#include <QString>

// A date text "dd-mm-yyyy", at most DateStrNLLength characters.
using TDateStrNL = QString;
// A date-time text "dd-mm-yyyy hh:nn", at most DateTimeStrNLLength characters.
using TDateTimeStrNL = QString;

inline constexpr int DateStrNLLength = 10;
inline constexpr int DateTimeStrNLLength = 16;

// The length rule of the two text types: a longer text keeps its first 10
// (16) characters, blanks included. The readers below apply it to their
// argument, so passing any QString behaves as assigning it to the type.
TDateStrNL ToDateStrNL(const QString& text);
TDateTimeStrNL ToDateTimeStrNL(const QString& text);

// The shape check every reader makes first; kind is "date" or
// "date and time". Throws EConvertError "'<text>' is not a valid <kind>.".
void CheckDateText(const QString& text, const QString& kind);

// Day-month-year with "-", day and month of one or two digits, a four-digit
// year; the result has time 00:00 (or the day's first moment where local time
// skips midnight). Throws EConvertError.
QDateTime DateStrToDate(const TDateStrNL& text);
// "dd-mm-yyyy" of the value in local time; empty for an invalid value.
TDateStrNL DateToDateStr(const QDateTime& value);

// A date as above, optionally followed by blanks and h:n or h:n:s on a
// 24-hour clock; no time means 00:00. Throws EConvertError, also for a time
// that local time skips when summer time begins.
QDateTime DateTimeStrToDateTime(const TDateTimeStrNL& text);
// "dd-mm-yyyy hh:nn" of the value in local time; empty for an invalid value.
TDateTimeStrNL DateTimeToDateTimeStr(const QDateTime& value);

// True for a readable date not earlier than MinDateTime(); never throws.
bool IsValidDateStr(const TDateStrNL& text);

// The file's last modification in local time, whole seconds; MinDateTime()
// for a missing file or a folder. Never throws.
QDateTime GetFileDate(const QString& fileName);

// Sets only the file's modification time (years 1980 to 2099, whole seconds)
// and reads it back. Throws EInOutError "File not found: '<name>'" or
// "Can't change filedate. (Err. <n>)"; n is -1 when the read-back differs.
// A file that cannot be opened for writing is left alone without an error.
void SetFileDate(const QString& fileName, const QDateTime& value);

// 01-01-1900 00:00 local time: the earliest valid date and the value that
// stands for an unknown file date.
const QDateTime& MinDateTime();
