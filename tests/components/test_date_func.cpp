#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>

#include "components/date_func.h"
#include "components/errors.h"
#include "file_bytes.h"

namespace {

QDateTime Local(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  return QDateTime(QDate(y, m, d), QTime(h, n, s));
}

// The message of the error E that fn throws; empty when it throws none.
template <typename E = EConvertError, typename Fn>
QString MessageOf(Fn fn) {
  try {
    fn();
  } catch (const E& e) {
    return e.Message;
  }
  return {};
}

void SetTimes(const QString& name, time_t atime, time_t mtime, long mtimeNsec = 0) {
  struct timespec times[2] = {{atime, 0}, {mtime, mtimeNsec}};
  QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(name).constData(), times, 0) == 0);
}

const time_t Old = 1000000000;

// A text that reads as its value, or fails in the reader or (with ".") in
// the shape check; the message quotes the text cut to 10 (16) characters.
enum TFault { None, Reader, Shape };

}  // namespace

class TestDateFunc : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

  QString NewFile(const QString& name, const QByteArray& bytes = "abc") {
    WriteBytes(Dir.filePath(name), bytes);
    SetTimes(Dir.filePath(name), Old, Old);
    return Dir.filePath(name);
  }

 private Q_SLOTS:
  void initTestCase() {
    // Daylight saving, so local time and UTC differ; a POSIX rule needs no
    // time-zone database. The regional order must not matter (en_US: month first).
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(Dir.isValid());
  }

  void read() {
    const std::tuple<const char*, bool, TFault, QDateTime> rows[] = {
        {"1-2-2001", false, None, Local(2001, 2, 1)},
        {" 1-2-2001", false, None, Local(2001, 2, 1)},
        {"31-02-2001", false, Reader, {}},
        {"001-1-2001", false, Reader, {}},
        {"1-001-2001", false, Reader, {}},
        {"1-1-20011", false, Reader, {}},
        {"xx-xx-xxxx", false, Reader, {}},
        {"28/10/2001", false, Shape, {}},
        {"28-10-01", false, Shape, {}},
        {"01-01-0099", false, Shape, {}},
        {"1-1-1-2001", false, Shape, {}},
        {"", false, Shape, {}},
        {" 28-10-2001", false, Shape, {}},
        {" 28-10-2001 14:05", true, None, Local(2001, 10, 28, 14)},
        {"28-10-2001 14:05:59", true, None, Local(2001, 10, 28, 14, 5)},
        {"28-10-2001", true, None, Local(2001, 10, 28)},
        {"1-2-2001 9:5", true, None, Local(2001, 2, 1, 9, 5)},
        {"1-2-2001 9:05:07", true, None, Local(2001, 2, 1, 9, 5, 7)},
        {"1-2-2001  23:59", true, None, Local(2001, 2, 1, 23, 59)},
        {"28-10-2001 24:00", true, Reader, {}},
        {"28-10-2001 10", true, Reader, {}},
        {"1-2-2001 9:5:007", true, Reader, {}},
        {"25-03-2001 02:30", true, Reader, {}},                        // skipped in spring
        {"28-10-2001 02:30", true, None, Local(2001, 10, 28, 2, 30)},  // twice in autumn
        {"28-10- 2001", true, Shape, {}},
        {" 1-1-01 ", true, Shape, {}},
    };
    for (const auto& [text, withTime, fault, value] : rows) {
      QDateTime got;
      const QString message =
          MessageOf([&] { got = withTime ? DateTimeStrToDateTime(text) : DateStrToDate(text); });
      QVERIFY2(fault != None || got == value, text);
      const QString expected =
          fault == None ? QString()
                        : "'" + QString(text).left(withTime ? 16 : 10) + "' is not a valid " +
                              (withTime ? "date and time" : "date") + (fault == Shape ? "." : "");
      QCOMPARE(message, expected);
    }
  }

  void summerTimeAtMidnight() {
    // Summer time begins at 00:00 on 4-11-2018 here: that day begins at 01:00.
    const QByteArray saved = qgetenv("TZ");
    qputenv("TZ", "XST3XDT,M11.1.0/0,M2.3.0/0");
    tzset();
    const QDateTime skipped = DateStrToDate("04-11-2018");
    const QDateTime next = DateStrToDate("05-11-2018");
    const QString hourSkipped = MessageOf([] { DateTimeStrToDateTime("4-11-2018 0:30"); });
    qputenv("TZ", saved);
    tzset();
    QCOMPARE(skipped, QDateTime(QDate(2018, 11, 4), QTime(1, 0)));
    QCOMPARE(next.time(), QTime(0, 0));
    QCOMPARE(hourSkipped, QString("'4-11-2018 0:30' is not a valid date and time"));
  }

  void formatAndValid() {
    QCOMPARE(DateTimeToDateTimeStr(Local(1999, 12, 31, 23, 59, 59)), QString("31-12-1999 23:59"));
    QCOMPARE(DateToDateStr(Local(2000, 3, 5, 0, 46)), QString("05-03-2000"));
    // A value in UTC is shown in local time (CET is UTC+1 in January).
    QCOMPARE(DateTimeToDateTimeStr(QDateTime(QDate(2001, 1, 1), QTime(23, 30), Qt::UTC)),
             QString("02-01-2001 00:30"));
    QCOMPARE(DateToDateStr(QDateTime()), QString());
    QCOMPARE(DateTimeToDateTimeStr(QDateTime()), QString());
    // Every day from 1900 to 2100, both ways.
    for (QDateTime d = Local(1900, 1, 1, 0, 1); d.date().year() <= 2100; d = d.addDays(1)) {
      const QString text = DateTimeToDateTimeStr(d);
      if (DateTimeStrToDateTime(text) != d ||
          DateStrToDate(DateToDateStr(d)) != d.date().startOfDay())
        QFAIL(qPrintable(text));
    }
    for (const char* text : {"", "31-12-1899", "xx-xx-xxxx"}) QVERIFY2(!IsValidDateStr(text), text);
    QVERIFY(IsValidDateStr("01-01-1900"));
  }

  void fileDateOfMissingOrFolder() {
    QCOMPARE(MinDateTime(), Local(1900, 1, 1));
    const QString missing = Dir.filePath("missing.htm");
    for (const QString& name : {missing, Dir.path(), QString()})
      QCOMPARE(GetFileDate(name), MinDateTime());
    for (const QString& name : {missing, Dir.path()})
      QCOMPARE(MessageOf<EInOutError>([&] { SetFileDate(name, Local(2001, 10, 28, 14, 5)); }),
               "File not found: '" + name + "'");
  }

  void setFileDate() {
    const QString name = NewFile("päge één.htm", "keep\r\nme");
    const QDateTime value = Local(2001, 10, 28, 14, 5);
    SetFileDate(name, value);
    QCOMPARE(GetFileDate(name), value);
    // 14:05 CET is 13:05 UTC; the access time and the content stay.
    QCOMPARE(qint64(FileStat(name).st_mtim.tv_sec),
             QDateTime(QDate(2001, 10, 28), QTime(13, 5), Qt::UTC).toSecsSinceEpoch());
    QCOMPARE(qint64(FileStat(name).st_atim.tv_sec), qint64(Old));
    QCOMPARE(ReadBytes(name), QByteArray("keep\r\nme"));
    // Whole seconds, odd ones included; the fraction on disk is dropped.
    const QDateTime odd = Local(2010, 7, 1, 12, 0, 33);
    SetFileDate(name, odd);
    QCOMPARE(GetFileDate(name), odd);
    SetTimes(name, Old, odd.toSecsSinceEpoch(), 999999999);
    QCOMPARE(GetFileDate(name), odd);
  }

  void setFileDateRange() {
    const QString range = QString("Can't change filedate. (Err. %1)").arg(EINVAL);
    const std::tuple<QDateTime, QString> rows[] = {
        {Local(1979, 12, 31, 23, 59), range},
        {Local(1980, 1, 1), ""},
        {Local(2099, 12, 31, 23, 59), ""},
        {Local(2100, 1, 1), range},
        {QDateTime(), range},
        {QDateTime(QDate(1979, 12, 31), QTime(23, 30), Qt::UTC), ""},  // the local year counts
        {QDateTime(QDate(2001, 10, 28), QTime(14, 5, 0, 500)), "Can't change filedate. (Err. -1)"},
    };
    for (const auto& [value, message] : rows) {
      const QString name = NewFile("range.htm");
      QCOMPARE(MessageOf<EInOutError>([&] { SetFileDate(name, value); }), message);
      if (message.isEmpty())
        QCOMPARE(GetFileDate(name), value);
      else if (message.endsWith("-1)"))  // the fraction fails the read-back
        QCOMPARE(GetFileDate(name), value.addMSecs(-500));
      else
        QCOMPARE(qint64(FileStat(name).st_mtim.tv_sec), qint64(Old));
    }
  }

  void unwritableFilesAreLeftAlone() {
    // A pipe without a reader cannot be opened for writing: no change, no
    // error and no hang.
    const QString fifo = Dir.filePath("pipe");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0644) == 0);
    SetTimes(fifo, Old, Old);
    SetFileDate(fifo, Local(2001, 10, 28, 14, 5));
    QCOMPARE(qint64(FileStat(fifo).st_mtim.tv_sec), qint64(Old));
    if (::geteuid() == 0) QSKIP("root may write to a read-only file");
    const QString readOnly = NewFile("readonly.htm");
    QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner));
    SetFileDate(readOnly, Local(2001, 10, 28, 14, 5));
    QCOMPARE(qint64(FileStat(readOnly).st_mtim.tv_sec), qint64(Old));
  }
};

QTEST_APPLESS_MAIN(TestDateFunc)
#include "test_date_func.moc"
