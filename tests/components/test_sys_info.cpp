#include <sys/utsname.h>

#include <QCoreApplication>
#include <QTest>

#include "components/date_func.h"
#include "components/desktop.h"
#include "components/msg_door.h"
#include "components/sys_info.h"
#include "components/zel_component.h"

class TestSysInfo : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void parseRelease();
  void infoItems();
  void versionInfoText();
  void withoutWindowsOrDesktop();
};

void TestSysInfo::parseRelease() {
  const struct {
    const char* Release;
    int Major, Minor, Build;
  } cases[] = {{"6.1.0-18-amd64", 6, 1, 0},
               {"5.15.146-1-pve", 5, 15, 146},
               {"4.4.99999", 4, 4, 65535},  // the build is capped
               {"unknown", 0, 0, 0}};
  for (const auto& c : cases) {
    const TSysVersion v = TZELSysInfo::ParseRelease("Linux", c.Release);
    QCOMPARE(v.Name, QStringLiteral("Linux"));
    QCOMPARE(QList<int>({v.Major, v.Minor, int(v.Build)}), QList<int>({c.Major, c.Minor, c.Build}));
  }
}

void TestSysInfo::infoItems() {
  const TZELSysInfo info(TSysVersion{QStringLiteral("Linux"), 5, 1, 2600});
  QCOMPARE(info.GetInfo(1) + "." + info.GetInfo(2), QStringLiteral("5.1"));
  QCOMPARE(info.GetInfo(3), QStringLiteral("10"));  // 2600 = 0x0A28
  QCOMPARE(info.GetInfo(4), QStringLiteral("40"));
  QCOMPARE(info.GetInfo(5), QStringLiteral("2600"));
  QCOMPARE(info.GetInfo(6), QStringLiteral("Linux"));
  // The date of this very program file.
  QCOMPARE(info.GetInfo(10),
           DateTimeToDateTimeStr(GetFileDate(QCoreApplication::applicationFilePath())));
  QCOMPARE(info.GetInfo(0) + info.GetInfo(11), QString());

  utsname u{};
  QCOMPARE(uname(&u), 0);
  const TZELSysInfo running;
  QCOMPARE(running.GetInfo(6), QString::fromLocal8Bit(u.sysname));
  QVERIFY(
      QString::fromLocal8Bit(u.release).startsWith(running.GetInfo(1) + '.' + running.GetInfo(2)));
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

// A program without windows writes its messages to standard error and takes
// the focused button's answer; without a desktop, nothing starts.
void TestSysInfo::withoutWindowsOrDesktop() {
  QCOMPARE(DoorYesNo("Delete?", "Question"), mrNo);
  QCOMPARE(DoorInfo("Done", ""), mrOk);
  QCOMPARE(DoorWarning("Careful", ""), mrOk);
  QCOMPARE(DoorStop("Stopped", ""), mrOk);
  QCOMPARE(MsgDoor().Show("x", "", mkQuestion, mbYes | mbNo, 7), mrCancel);
  int error = 0;
  QVERIFY(!Desktop().StartProgram("x", {}, {}, error));
  QCOMPARE(error, 2);  // "not found"
}

QTEST_GUILESS_MAIN(TestSysInfo)
#include "test_sys_info.moc"
