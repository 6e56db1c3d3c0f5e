// The date readers: any text either reads as a valid value or fails with
// EConvertError (nothing else escapes), and what is read writes back as a
// text that reads as the same value.
#include <cstdlib>
#include <ctime>

#include "components/date_func.h"
#include "components/errors.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A zone with daylight saving time, so that hours skipped or repeated in
  // spring and autumn are read too.
  if (!std::getenv("TZ")) setenv("TZ", "Europe/Amsterdam", 1);
  tzset();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));

  bool dateRead = false;
  try {
    const QDateTime date = DateStrToDate(text);
    dateRead = true;
    // A day that local time begins after 00:00 begins at its first moment.
    FUZZ_CHECK(date.isValid() && date.time().hour() < 2);
    const TDateStrNL shown = DateToDateStr(date);
    FUZZ_CHECK(shown.size() == DateStrNLLength);
    FUZZ_CHECK(DateStrToDate(shown) == date);
    FUZZ_CHECK(IsValidDateStr(text) == (date >= MinDateTime()));
    // Every date is also a date and time, at the day's start.
    if (date.time() == QTime(0, 0)) FUZZ_CHECK(DateTimeStrToDateTime(ToDateStrNL(text)) == date);
  } catch (const EConvertError& e) {
    FUZZ_CHECK(e.Message.endsWith(QStringLiteral("is not a valid date")) ||
               e.Message.endsWith(QStringLiteral("is not a valid date.")));
  }
  if (!dateRead) FUZZ_CHECK(!IsValidDateStr(text));

  try {
    const QDateTime value = DateTimeStrToDateTime(text);
    // An hour that local time skips is not read as a moment.
    FUZZ_CHECK(value.isValid());
    const TDateTimeStrNL shown = DateTimeToDateTimeStr(value);
    FUZZ_CHECK(shown.size() == DateTimeStrNLLength);
    const QDateTime back = DateTimeStrToDateTime(shown);
    // The text shows no seconds; in the hour repeated in autumn the text
    // may name the other of the two moments it stands for.
    FUZZ_CHECK(DateTimeToDateTimeStr(back) == shown);
    FUZZ_CHECK(std::llabs(back.secsTo(value)) < 60 + 3600);
  } catch (const EConvertError& e) {
    FUZZ_CHECK(e.Message.contains(QStringLiteral("is not a valid date and time")));
  }
  return 0;
}
