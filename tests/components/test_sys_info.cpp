#include <sys/utsname.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTest>

#include "components/sys_info.h"
#include "components/zel_component.h"
#include "site/date_func.h"

class TestSysInfo : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void parseRelease_data();
  void parseRelease();
  void infoItems();
  void runningSystem();
  void versionInfoText();
};

void TestSysInfo::parseRelease_data() {
  QTest::addColumn<QString>("release");
  QTest::addColumn<int>("major");
  QTest::addColumn<int>("minor");
  QTest::addColumn<int>("build");
  QTest::newRow("debian") << "6.1.0-18-amd64" << 6 << 1 << 0;
  QTest::newRow("patch level") << "5.15.146-1-pve" << 5 << 15 << 146;
  QTest::newRow("no patch") << "6.8-rc1" << 6 << 8 << 0;
  QTest::newRow("huge patch") << "4.4.99999" << 4 << 4 << 65535;
  QTest::newRow("not a number") << "unknown" << 0 << 0 << 0;
}

void TestSysInfo::parseRelease() {
  QFETCH(QString, release);
  QFETCH(int, major);
  QFETCH(int, minor);
  QFETCH(int, build);
  const TSysVersion v = TZELSysInfo::ParseRelease(QStringLiteral("Linux"), release);
  QCOMPARE(v.Name, QStringLiteral("Linux"));
  QCOMPARE(v.Major, major);
  QCOMPARE(v.Minor, minor);
  QCOMPARE(int(v.Build), build);
}

void TestSysInfo::infoItems() {
  const TZELSysInfo info(TSysVersion{QStringLiteral("Linux"), 5, 1, 2600});
  QCOMPARE(info.GetInfo(1), QStringLiteral("5"));
  QCOMPARE(info.GetInfo(2), QStringLiteral("1"));
  QCOMPARE(info.GetInfo(3), QStringLiteral("10"));  // 2600 = 0x0A28
  QCOMPARE(info.GetInfo(4), QStringLiteral("40"));
  QCOMPARE(info.GetInfo(5), QStringLiteral("2600"));
  QCOMPARE(info.GetInfo(6), QStringLiteral("Linux"));
  QCOMPARE(info.GetInfo(7), QStringLiteral("Linux (5.1 Build 2600)"));
  QCOMPARE(info.GetInfo(8), QStringLiteral("%1 bits").arg(sizeof(void*) * 8));
  QCOMPARE(info.GetInfo(9), QStringLiteral("GCC %1").arg(__GNUC__));
  // The date of this very program file.
  QCOMPARE(info.GetInfo(10),
           DateTimeToDateTimeStr(GetFileDate(QCoreApplication::applicationFilePath())));
  QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d$"))
              .match(info.GetInfo(10))
              .hasMatch());
  QCOMPARE(info.GetInfo(0), QString());
  QCOMPARE(info.GetInfo(11), QString());
  QCOMPARE(info.GetInfo(-1), QString());
}

void TestSysInfo::runningSystem() {
  utsname u{};
  QCOMPARE(uname(&u), 0);
  const TZELSysInfo info;
  QCOMPARE(info.GetInfo(6), QString::fromLocal8Bit(u.sysname));
  const QString release = QString::fromLocal8Bit(u.release);
  QVERIFY2(release.startsWith(info.GetInfo(1) + '.' + info.GetInfo(2)), qPrintable(release));
  QVERIFY(QRegularExpression(QStringLiteral("^\\S+ \\(\\d+\\.\\d+ Build \\d+\\)$"))
              .match(info.GetInfo(7))
              .hasMatch());
}

void TestSysInfo::versionInfoText() {
  QCOMPARE(GetLibraryVersion(), QStringLiteral("5.0.00 28-10-2001"));
  const TZELSysInfo info(TSysVersion{QStringLiteral("Linux"), 6, 1, 0});
  QCOMPARE(VersionInfoText(info),
           QStringLiteral("Compiler: GCC %1 (%2 bits)\r\nSystem: Linux (6.1 Build 0)\r\n"
                          "Executable: %3\r\nZEL-Library: 5.0.00 28-10-2001")
               .arg(__GNUC__)
               .arg(sizeof(void*) * 8)
               .arg(info.GetInfo(10)));
}

QTEST_GUILESS_MAIN(TestSysInfo)
#include "test_sys_info.moc"
