#include "components/date_func.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

#include "components/errors.h"
#include "components/file_names.h"

namespace {

const QString KindDate = QStringLiteral("date");
const QString KindDateTime = QStringLiteral("date and time");

bool IsBlank(QChar c) { return c.unicode() <= 32; }
bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

QString TrimBlanks(const QString& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.mid(b, e - b);
}

// Reads the fixed day-month-year and hour:minute forms by hand, so neither
// the user's locale nor Qt's format parser can change what is accepted.
class TDateReader {
 public:
  explicit TDateReader(const QString& s) : S(s) {}

  // Skips blanks; answers whether there were any.
  bool SkipBlanks() {
    const qsizetype from = Pos;
    while (Pos < S.size() && S[Pos] == u' ') ++Pos;
    return Pos > from;
  }

  bool AtEnd() const { return Pos >= S.size(); }

  bool Char(char16_t c) {
    if (AtEnd() || S[Pos] != c) return false;
    ++Pos;
    return true;
  }

  // A number of minDigits to maxDigits digits, not followed by another digit.
  bool Number(int minDigits, int maxDigits, int& value) {
    value = 0;
    int digits = 0;
    while (!AtEnd() && IsDigit(S[Pos]) && digits < maxDigits) {
      value = value * 10 + (S[Pos].unicode() - u'0');
      ++Pos;
      ++digits;
    }
    return digits >= minDigits && (AtEnd() || !IsDigit(S[Pos]));
  }

  bool Date(QDate& date) {
    int d, m, y;
    SkipBlanks();
    if (!Number(1, 2, d) || !Char(u'-') || !Number(1, 2, m) || !Char(u'-') || !Number(4, 4, y))
      return false;
    date = QDate(y, m, d);
    return QDate::isValid(y, m, d);
  }

  bool Time(QTime& time) {
    int h, n, s = 0;
    if (!Number(1, 2, h) || !Char(u':') || !Number(1, 2, n)) return false;
    if (Char(u':') && !Number(1, 2, s)) return false;
    time = QTime(h, n, s);
    return QTime::isValid(h, n, s);
  }

 private:
  const QString& S;
  qsizetype Pos = 0;
};

QString TwoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QString FormatDate(const QDate& d) {
  return TwoDigits(d.day()) + u'-' + TwoDigits(d.month()) + u'-' +
         QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
}

[[noreturn]] void FailFileDate(int errorNumber) {
  throw EInOutError(QStringLiteral("Can't change filedate. (Err. %1)").arg(errorNumber));
}

// Sets the modification time through an open descriptor; answers the error
// number, 0 on success. The access time is left as it is.
int SetModificationTime(int fd, qint64 secs) {
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(secs);
  times[1].tv_nsec = 0;
  return futimens(fd, times) == 0 ? 0 : errno;
}

}  // namespace

TDateStrNL ToDateStrNL(const QString& text) { return text.left(DateStrNLLength); }

TDateTimeStrNL ToDateTimeStrNL(const QString& text) { return text.left(DateTimeStrNLLength); }

void CheckDateText(const QString& text, const QString& kind) {
  QString t = TrimBlanks(text);
  const qsizetype blank = t.indexOf(u' ');
  if (blank >= 0) t.truncate(blank);
  const qsizetype lastDash = t.lastIndexOf(u'-');
  const bool ok = t.count(u'-') == 2 && t.size() - lastDash - 1 >= 4 &&
                  t.mid(lastDash + 1, 2) != QStringLiteral("00");
  if (!ok) throw EConvertError(u'\'' + text + QStringLiteral("' is not a valid ") + kind + u'.');
}

QDateTime DateStrToDate(const TDateStrNL& text) {
  const QString s = ToDateStrNL(text);
  CheckDateText(s, KindDate);
  TDateReader reader(s);
  QDate date;
  if (!reader.Date(date) || (reader.SkipBlanks(), !reader.AtEnd()))
    throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(s));
  // Where local time skips midnight (a change to summer time at 00:00), the
  // day begins later; 00:00 would be no moment at all.
  return date.startOfDay();
}

TDateStrNL DateToDateStr(const QDateTime& value) {
  if (!value.isValid()) return {};
  return ToDateStrNL(FormatDate(value.toLocalTime().date()));
}

QDateTime DateTimeStrToDateTime(const TDateTimeStrNL& text) {
  const QString s = ToDateTimeStrNL(text);
  CheckDateText(s, KindDateTime);
  TDateReader reader(s);
  QDate date;
  QTime time(0, 0);
  bool ok = reader.Date(date);
  if (ok) {
    const bool blanks = reader.SkipBlanks();
    if (!reader.AtEnd()) ok = blanks && reader.Time(time) && (reader.SkipBlanks(), reader.AtEnd());
  }
  // An hour skipped by the change to summer time is no moment either.
  const QDateTime result(date, time);
  if (!ok || !result.isValid())
    throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(s));
  return result;
}

TDateTimeStrNL DateTimeToDateTimeStr(const QDateTime& value) {
  if (!value.isValid()) return {};
  const QDateTime local = value.toLocalTime();
  const QTime t = local.time();
  return ToDateTimeStrNL(FormatDate(local.date()) + u' ' + TwoDigits(t.hour()) + u':' +
                         TwoDigits(t.minute()));
}

bool IsValidDateStr(const TDateStrNL& text) {
  if (text.isEmpty()) return false;
  try {
    return DateStrToDate(text) >= MinDateTime();
  } catch (const EConvertError&) {
    return false;
  }
}

QDateTime GetFileDate(const QString& fileName) {
  struct stat st;
  if (fileName.isEmpty() || ::stat(PathBytes(fileName).constData(), &st) != 0 ||
      S_ISDIR(st.st_mode))
    return MinDateTime();
  // st_mtim.tv_sec is already rounded down to the whole second, also before 1970.
  const QDateTime result = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec);
  return result.isValid() ? result : MinDateTime();
}

void SetFileDate(const QString& fileName, const QDateTime& value) {
  // By the name's own bytes: QFileInfo would look for its re-encoded form.
  struct stat st;
  if (fileName.isEmpty() || ::stat(PathBytes(fileName).constData(), &st) != 0 ||
      S_ISDIR(st.st_mode))
    throw EInOutError(QStringLiteral("File not found: '%1'").arg(ShownName(fileName)));

  // O_NONBLOCK keeps a pipe without a reader from hanging us; it then simply
  // cannot be opened. No O_TRUNC: the content stays as it is.
  const int fd =
      ::open(PathBytes(fileName).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return;

  int errorNumber = EINVAL;  // the range of the packed file time: 1980 to 2099
  const int year = value.isValid() ? value.toLocalTime().date().year() : 0;
  if (year >= 1980 && year <= 2099) {
    const qint64 msecs = value.toMSecsSinceEpoch();
    errorNumber = SetModificationTime(fd, msecs / 1000);
  }
  ::close(fd);

  if (errorNumber == 0 && GetFileDate(fileName) != value) errorNumber = -1;
  if (errorNumber != 0) FailFileDate(errorNumber);
}

const QDateTime& MinDateTime() {
  static const QDateTime value = DateTimeStrToDateTime(QStringLiteral("01-01-1900 00:00"));
  return value;
}
