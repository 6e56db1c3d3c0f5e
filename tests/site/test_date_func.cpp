#include "site/date_func.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <memory>

#include "components/errors.h"

namespace {

QDateTime Local(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  return QDateTime(QDate(y, m, d), QTime(h, n, s));
}

// The message of the error E that fn throws; empty when it throws none.
template <typename E, typename Fn>
QString MessageOf(Fn fn) {
  try {
    fn();
  } catch (const E& e) {
    return e.Message;
  }
  return {};
}

template <typename Fn>
QString ConvertMessage(Fn fn) { return MessageOf<EConvertError>(fn); }

template <typename Fn>
QString InOutMessage(Fn fn) { return MessageOf<EInOutError>(fn); }

struct stat StatOf(const QString& name) {
  struct stat st {};
  ::stat(QFile::encodeName(name).constData(), &st);
  return st;
}

void SetTimes(const QString& name, time_t atime, time_t mtime, long mtimeNsec = 0) {
  struct timespec times[2] = {{atime, 0}, {mtime, mtimeNsec}};
  QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(name).constData(), times, 0) == 0);
}

}  // namespace

class TestDateFunc : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void initTestCase();
  void shapeCheck_data();
  void shapeCheck();
  void readDate_data();
  void readDate();
  void readDateTime_data();
  void readDateTime();
  void summerTimeAtMidnight();
  void lengthRule();
  void formatAndRoundTrip();
  void validDate();
  void fileDateOfMissingOrFolder();
  void setFileDateRoundTrip();
  void setFileDateYearRange_data();
  void setFileDateYearRange();
  void setFileDateFailures();

private:
  QString NewFile(const QString& name, const QByteArray& content = "abc");
  std::unique_ptr<QTemporaryDir> Dir;
};

void TestDateFunc::initTestCase() {
  // A zone with daylight saving, so local time and UTC differ and a mix-up
  // shows; a POSIX rule needs no time-zone database.
  qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  tzset();
  const QString base = qEnvironmentVariable("QUILLMERE_TEST_TMP", QDir::tempPath());
  QDir().mkpath(base);
  Dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/dates-XXXXXX"));
  QVERIFY(Dir->isValid());
}

QString TestDateFunc::NewFile(const QString& name, const QByteArray& content) {
  const QString path = Dir->filePath(name);
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) return {};
  return path;
}

void TestDateFunc::shapeCheck_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("kind");
  QTest::addColumn<QString>("message");
  QTest::newRow("plain") << "28-10-2001" << "date" << "";
  QTest::newRow("blanks around") << "  28-10-2001  " << "date" << "";
  QTest::newRow("date part only") << "28-10-2001 14:05" << "date and time" << "";
  QTest::newRow("garbage date passes") << "xx-xx-xxxx" << "date" << "";
  QTest::newRow("slashes") << "28/10/2001" << "date" << "'28/10/2001' is not a valid date.";
  QTest::newRow("two-digit year") << "28-10-01" << "date" << "'28-10-01' is not a valid date.";
  QTest::newRow("year 00") << "01-01-0099" << "date" << "'01-01-0099' is not a valid date.";
  QTest::newRow("three dashes") << "1-1-1-2001" << "date" << "'1-1-1-2001' is not a valid date.";
  QTest::newRow("empty") << "" << "date" << "'' is not a valid date.";
  QTest::newRow("time after blank hides year")
      << "28-10- 2001" << "date and time" << "'28-10- 2001' is not a valid date and time.";
  QTest::newRow("message keeps blanks")
      << " 1-1-01 " << "date and time" << "' 1-1-01 ' is not a valid date and time.";
}

void TestDateFunc::shapeCheck() {
  QFETCH(QString, text);
  QFETCH(QString, kind);
  QFETCH(QString, message);
  QCOMPARE(ConvertMessage([&] { CheckDateText(text, kind); }), message);
}

void TestDateFunc::readDate_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QDate>("date");  // invalid: reading fails with message
  QTest::addColumn<QString>("message");
  QTest::newRow("1-2-2001") << "1-2-2001" << QDate(2001, 2, 1) << "";
  QTest::newRow("leading blank") << " 1-2-2001" << QDate(2001, 2, 1) << "";
  QTest::newRow("29 feb leap") << "29-02-2000" << QDate(2000, 2, 29) << "";
  QTest::newRow("31 feb") << "31-02-2001" << QDate() << "'31-02-2001' is not a valid date";
  QTest::newRow("29 feb 1900") << "29-02-1900" << QDate() << "'29-02-1900' is not a valid date";
  QTest::newRow("month 13") << "01-13-2001" << QDate() << "'01-13-2001' is not a valid date";
  QTest::newRow("day 0") << "00-12-2001" << QDate() << "'00-12-2001' is not a valid date";
  QTest::newRow("3-digit day") << "001-1-2001" << QDate() << "'001-1-2001' is not a valid date";
  QTest::newRow("5-digit year") << "1-1-20011" << QDate() << "'1-1-20011' is not a valid date";
  QTest::newRow("shape first") << "28/10/2001" << QDate() << "'28/10/2001' is not a valid date.";
}

void TestDateFunc::readDate() {
  QFETCH(QString, text);
  QFETCH(QDate, date);
  QFETCH(QString, message);
  // The user's regional order must not matter (en_US writes month first).
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QDateTime result;
  const QString got = ConvertMessage([&] { result = DateStrToDate(text); });
  QLocale::setDefault(saved);
  QCOMPARE(got, message);
  if (date.isValid()) QCOMPARE(result, QDateTime(date, QTime(0, 0)));
}

void TestDateFunc::readDateTime_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QDateTime>("value");  // invalid: reading fails with message
  QTest::addColumn<QString>("message");
  QTest::newRow("with time") << "28-10-2001 14:05" << Local(2001, 10, 28, 14, 5) << "";
  QTest::newRow("leading blank") << " 28-10-2001" << Local(2001, 10, 28) << "";
  QTest::newRow("short time") << "1-2-2001 9:5" << Local(2001, 2, 1, 9, 5) << "";
  QTest::newRow("seconds") << "1-2-2001 9:05:07" << Local(2001, 2, 1, 9, 5, 7) << "";
  QTest::newRow("two blanks") << "1-2-2001  23:59" << Local(2001, 2, 1, 23, 59) << "";
  QTest::newRow("24:00") << "28-10-2001 24:00" << QDateTime()
                         << "'28-10-2001 24:00' is not a valid date and time";
  QTest::newRow("minute 60") << "28-10-2001 10:60" << QDateTime()
                             << "'28-10-2001 10:60' is not a valid date and time";
  QTest::newRow("no minutes") << "28-10-2001 10" << QDateTime()
                              << "'28-10-2001 10' is not a valid date and time";
  QTest::newRow("bad date") << "30-02-2001 10:05" << QDateTime()
                            << "'30-02-2001 10:05' is not a valid date and time";
  QTest::newRow("hour skipped in spring") << "25-03-2001 02:30" << QDateTime()
                                         << "'25-03-2001 02:30' is not a valid date and time";
  QTest::newRow("hour repeated in autumn") << "28-10-2001 02:30" << Local(2001, 10, 28, 2, 30) << "";
  QTest::newRow("shape") << "28-10-01 10:05" << QDateTime()
                         << "'28-10-01 10:05' is not a valid date and time.";
}

void TestDateFunc::readDateTime() {
  QFETCH(QString, text);
  QFETCH(QDateTime, value);
  QFETCH(QString, message);
  QDateTime result;
  QCOMPARE(ConvertMessage([&] { result = DateTimeStrToDateTime(text); }), message);
  if (value.isValid()) QCOMPARE(result, value);
}

void TestDateFunc::summerTimeAtMidnight() {
  // A zone whose summer time begins at 00:00 on the first Sunday of November
  // (4-11-2018): that day begins at 01:00.
  const QByteArray saved = qgetenv("TZ");
  qputenv("TZ", "XST3XDT,M11.1.0/0,M2.3.0/0");
  tzset();
  const QDateTime skipped = DateStrToDate("04-11-2018");
  const QDateTime next = DateStrToDate("05-11-2018");
  const QString hourSkipped = ConvertMessage([] { DateTimeStrToDateTime("4-11-2018 0:30"); });
  qputenv("TZ", saved);
  tzset();
  QVERIFY(skipped.isValid());
  QCOMPARE(skipped.date(), QDate(2018, 11, 4));
  QCOMPARE(skipped.time(), QTime(1, 0));
  QCOMPARE(next.time(), QTime(0, 0));
  QCOMPARE(hourSkipped, QString("'4-11-2018 0:30' is not a valid date and time"));
}

void TestDateFunc::lengthRule() {
  QCOMPARE(ToDateStrNL(QStringLiteral("28-10-2001 14:05")), QStringLiteral("28-10-2001"));
  QCOMPARE(ToDateTimeStrNL(QStringLiteral("28-10-2001 14:05:33")),
           QStringLiteral("28-10-2001 14:05"));
  QCOMPARE(ToDateStrNL(QStringLiteral("1-1-2001")), QStringLiteral("1-1-2001"));
  QCOMPARE(DateTimeStrToDateTime(QStringLiteral("28-10-2001 14:05:59")),
           Local(2001, 10, 28, 14, 5));
  // Blanks count: a leading one pushes the year's last digit out of a date
  // text and the last minute digit out of a date-time text.
  QCOMPARE(ConvertMessage([] { DateStrToDate(QStringLiteral(" 28-10-2001")); }),
           QStringLiteral("' 28-10-200' is not a valid date."));
  QCOMPARE(DateTimeStrToDateTime(QStringLiteral(" 28-10-2001 14:05")),
           Local(2001, 10, 28, 14, 0));
}

void TestDateFunc::formatAndRoundTrip() {
  const QDateTime v = Local(2000, 3, 5, 0, 46);
  QCOMPARE(DateTimeToDateTimeStr(v), QStringLiteral("05-03-2000 00:46"));
  QCOMPARE(DateTimeStrToDateTime(DateTimeToDateTimeStr(v)), v);
  QCOMPARE(DateToDateStr(v), QStringLiteral("05-03-2000"));
  QCOMPARE(DateTimeToDateTimeStr(Local(1999, 12, 31, 23, 59, 59)),
           QStringLiteral("31-12-1999 23:59"));
  // A value given in UTC is shown in local time (CET is UTC+1 in January).
  QCOMPARE(DateTimeToDateTimeStr(QDateTime(QDate(2001, 1, 1), QTime(23, 30), Qt::UTC)),
           QStringLiteral("02-01-2001 00:30"));
  QCOMPARE(DateToDateStr(QDateTime()), QString());
  QCOMPARE(DateTimeToDateTimeStr(QDateTime()), QString());
  // Every date from 1900 to 2100, a day and a minute apart, both ways.
  for (QDateTime d = Local(1900, 1, 1, 0, 1); d.date().year() <= 2100; d = d.addDays(1)) {
    const QDateTime whole(d.date(), QTime(d.time().hour(), d.time().minute()));
    const QString text = DateTimeToDateTimeStr(whole);
    if (DateTimeStrToDateTime(text) != whole || DateStrToDate(DateToDateStr(whole)) !=
                                                    QDateTime(whole.date(), QTime(0, 0)))
      QFAIL(qPrintable(QStringLiteral("round trip of ") + text));
  }
}

void TestDateFunc::validDate() {
  for (const char* text : {"", "   ", "31-12-1899", "xx-xx-xxxx", "31-02-2001", "28/10/2001"})
    QVERIFY2(!IsValidDateStr(text), text);
  QVERIFY(IsValidDateStr("01-01-1900"));
  QVERIFY(IsValidDateStr("28-10-2001"));
}

void TestDateFunc::fileDateOfMissingOrFolder() {
  QCOMPARE(MinDateTime(), Local(1900, 1, 1));
  QCOMPARE(GetFileDate(Dir->filePath(QStringLiteral("missing.htm"))), MinDateTime());
  QCOMPARE(GetFileDate(Dir->path()), MinDateTime());
  QCOMPARE(GetFileDate(QString()), MinDateTime());
  const QString missing = Dir->filePath(QStringLiteral("missing.htm"));
  QCOMPARE(InOutMessage([&] { SetFileDate(missing, Local(2001, 10, 28, 14, 5)); }),
           QStringLiteral("File not found: '") + missing + u'\'');
  QCOMPARE(InOutMessage([&] { SetFileDate(Dir->path(), Local(2001, 10, 28, 14, 5)); }),
           QStringLiteral("File not found: '") + Dir->path() + u'\'');
}

void TestDateFunc::setFileDateRoundTrip() {
  const QString name = NewFile(QStringLiteral("päge één.htm"), "keep\r\nme");
  QVERIFY(!name.isEmpty());
  SetTimes(name, 1000000000, 1000000000);
  const QDateTime value = Local(2001, 10, 28, 14, 5);
  SetFileDate(name, value);
  QCOMPARE(GetFileDate(name), value);
  // Local time: 14:05 CET on 28 October 2001 is 13:05 UTC.
  const struct stat st = StatOf(name);
  QCOMPARE(qint64(st.st_mtim.tv_sec),
           QDateTime(QDate(2001, 10, 28), QTime(13, 5), Qt::UTC).toSecsSinceEpoch());
  QCOMPARE(qint64(st.st_atim.tv_sec), qint64(1000000000));
  QFile f(name);
  QVERIFY(f.open(QIODevice::ReadOnly));
  QCOMPARE(f.readAll(), QByteArray("keep\r\nme"));

  // Whole seconds, odd ones included; the fraction on disk is dropped.
  SetFileDate(name, Local(2010, 7, 1, 12, 0, 33));
  QCOMPARE(GetFileDate(name), Local(2010, 7, 1, 12, 0, 33));
  SetTimes(name, 1000000000, Local(2010, 7, 1, 12, 0, 33).toSecsSinceEpoch(), 999999999);
  QCOMPARE(GetFileDate(name), Local(2010, 7, 1, 12, 0, 33));
}

void TestDateFunc::setFileDateYearRange_data() {
  QTest::addColumn<QDateTime>("value");
  QTest::addColumn<QString>("message");
  const QString range = QStringLiteral("Can't change filedate. (Err. %1)").arg(EINVAL);
  QTest::newRow("1975") << Local(1975, 6, 1, 12, 0) << range;
  QTest::newRow("last of 1979") << Local(1979, 12, 31, 23, 59) << range;
  QTest::newRow("first of 1980") << Local(1980, 1, 1) << "";
  QTest::newRow("last of 2099") << Local(2099, 12, 31, 23, 59) << "";
  QTest::newRow("2100") << Local(2100, 1, 1) << range;
  QTest::newRow("invalid") << QDateTime() << range;
  // 1979 in UTC is already 1980 in local time.
  QTest::newRow("local year counts")
      << QDateTime(QDate(1979, 12, 31), QTime(23, 30), Qt::UTC) << "";
  QTest::newRow("fraction fails read-back")
      << QDateTime(QDate(2001, 10, 28), QTime(14, 5, 0, 500))
      << "Can't change filedate. (Err. -1)";
}

void TestDateFunc::setFileDateYearRange() {
  QFETCH(QDateTime, value);
  QFETCH(QString, message);
  const QString name = NewFile(QStringLiteral("range.htm"));
  QVERIFY(!name.isEmpty());
  SetTimes(name, 1000000000, 1000000000);
  QCOMPARE(InOutMessage([&] { SetFileDate(name, value); }), message);
  if (message.isEmpty()) QCOMPARE(GetFileDate(name), value);
  else if (message.contains(QStringLiteral("Err. -1")))
    QCOMPARE(GetFileDate(name), value.addMSecs(-value.time().msec()));
  else
    QCOMPARE(qint64(StatOf(name).st_mtim.tv_sec), qint64(1000000000));
}

void TestDateFunc::setFileDateFailures() {
  // A pipe without a reader cannot be opened for writing: no change and no
  // error (and no hang).
  const QString fifo = Dir->filePath(QStringLiteral("pipe"));
  QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
  SetTimes(fifo, 1000000000, 1000000000);
  SetFileDate(fifo, Local(2001, 10, 28, 14, 5));
  QCOMPARE(qint64(StatOf(fifo).st_mtim.tv_sec), qint64(1000000000));

  if (::geteuid() == 0) QSKIP("root may write to a read-only file");
  const QString readOnly = NewFile(QStringLiteral("readonly.htm"));
  SetTimes(readOnly, 1000000000, 1000000000);
  QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner));
  SetFileDate(readOnly, Local(2001, 10, 28, 14, 5));
  QCOMPARE(qint64(StatOf(readOnly).st_mtim.tv_sec), qint64(1000000000));
}

QTEST_APPLESS_MAIN(TestDateFunc)
#include "test_date_func.moc"
