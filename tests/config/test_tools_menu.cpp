#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "file_bytes.h"
#include <memory>

#include "components/errors.h"
#include "config/ini_file.h"
#include "config/ini_helpers.h"
#include "config/tools_menu.h"

class TestToolsMenu : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void toolText_data();
  void toolText();
  void loadCounts_data();
  void loadCounts();
  void loadTexts();
  void saveFreshFile();
  void saveKeepsKeysBeyondCount();
  void saveFailure();
  void failureText();
  void iniHelpers();

 private:
  QString Ini() const { return FDir->filePath("tools.ini"); }
  std::unique_ptr<QTemporaryDir> FDir;
};

void TestToolsMenu::init() {
  FDir = std::make_unique<QTemporaryDir>();
  QVERIFY(FDir->isValid());
}

void TestToolsMenu::toolText_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("kept");
  QTest::newRow("plain") << "Tidy"
                         << "Tidy";
  QTest::newRow("blanks at ends") << "  Tidy up \t"
                                  << "Tidy up";
  QTest::newRow("100 characters") << QString(100, 'x') << QString(80, 'x');
  QTest::newRow("blank at 80") << QString(79, 'x') + " yz" << QString(79, 'x');
  QTest::newRow("leading blanks then cut") << "   " + QString(90, 'y') << QString(77, 'y');
  QTest::newRow("empty") << ""
                         << "";
}

void TestToolsMenu::toolText() {
  QFETCH(QString, text);
  QFETCH(QString, kept);
  QCOMPARE(ToolText(text), kept);
  const TTool tool = MakeTool(text, text, text);
  QCOMPARE(tool, (TTool{kept, kept, kept}));
}

void TestToolsMenu::loadCounts_data() {
  QTest::addColumn<QByteArray>("count");
  QTest::addColumn<int>("tools");
  QTest::newRow("seven") << QByteArray("7") << 7;
  QTest::newRow("zero") << QByteArray("0") << 0;
  QTest::newRow("negative") << QByteArray("-3") << 0;
  QTest::newRow("not a number") << QByteArray("two") << 0;
  QTest::newRow("damaged") << QByteArray("2000000000") << MaxToolCount;
}

void TestToolsMenu::loadCounts() {
  QFETCH(QByteArray, count);
  QFETCH(int, tools);
  WriteBytes(Ini(), "[Tools]\r\nProg1=One\r\nCount=" + count + "\r\n");
  const TToolList list = LoadToolList(Ini());
  QCOMPARE(list.size(), tools);
  if (tools > 0) QCOMPARE(list[0].Title, QString("One"));
}

void TestToolsMenu::loadTexts() {
  QCOMPARE(LoadToolList(FDir->filePath("missing.ini")).size(), 0);
  WriteBytes(Ini(),
             "[tools]\nprog1=  Validator  \nPATH1=/usr/bin/tidy\nWDir1=/tmp\n"
             "Prog2=" +
                 QByteArray(100, 'T') + "\nPath3=/bin/three\ncount=3\n");
  const TToolList list = LoadToolList(Ini());
  QCOMPARE(list.size(), 3);
  QCOMPARE(list[0], (TTool{"Validator", "/usr/bin/tidy", "/tmp"}));
  QCOMPARE(list[1], (TTool{QString(80, 'T'), "", ""}));
  QCOMPARE(list[2], (TTool{"", "/bin/three", ""}));
}

void TestToolsMenu::saveFreshFile() {
  const QString ini = FDir->filePath("new/folder/quillmere.ini");
  SaveToolList(ini, {{"A", "/bin/a", ""}, {"B b", "/opt/b tool", "/srv/b"}});
  QCOMPARE(ReadBytes(ini), QByteArray("[Tools]\nProg1=A\nPath1=/bin/a\nWDir1=\nProg2=B b\n"
                                      "Path2=/opt/b tool\nWDir2=/srv/b\nCount=2\n"));
  QCOMPARE(LoadToolList(ini), TToolList({{"A", "/bin/a", ""}, {"B b", "/opt/b tool", "/srv/b"}}));
}

void TestToolsMenu::saveKeepsKeysBeyondCount() {
  WriteBytes(Ini(),
             "[Settings]\r\nTabInterval=12\r\n[Tools]\r\nProg1=1\r\nPath1=p1\r\nWDir1=w1\r\n"
             "Prog2=2\r\nPath2=p2\r\nWDir2=w2\r\nCount=2\r\n");
  SaveToolList(Ini(), {{"2", "p2", "w2"}});
  QCOMPARE(ReadBytes(Ini()),
           QByteArray("[Settings]\r\nTabInterval=12\r\n[Tools]\r\nProg1=2\r\n"
                      "Path1=p2\r\nWDir1=w2\r\nProg2=2\r\nPath2=p2\r\nWDir2=w2\r\n"
                      "Count=1\r\n"));
  QCOMPARE(LoadToolList(Ini()), TToolList({{"2", "p2", "w2"}}));
  SaveToolList(Ini(), {});
  QCOMPARE(LoadToolList(Ini()).size(), 0);
  QCOMPARE(ReadProfileString("Tools", "Prog1", "", Ini()), QString("2"));
}

void TestToolsMenu::saveFailure() {
  // A file where the settings folder should be fails even for the super-user.
  WriteBytes(FDir->filePath("plain"), "data");
  const QString ini = FDir->filePath("plain/quillmere.ini");
  try {
    SaveToolList(ini, {{"A", "a", ""}});
    QFAIL("no error");
  } catch (const EInOutError& e) {
    QCOMPARE(e.Message, "Unable to write to " + ini + ": Not a directory");
  }
  QCOMPARE(ReadBytes(FDir->filePath("plain")), QByteArray("data"));
}

void TestToolsMenu::failureText() {
  QCOMPARE(ToolStartFailureText("/opt/tidy", 2),
           QString("Can't find or execute /opt/tidy.\r\n(Error #2)"));
  QCOMPARE(ToolStartFailureText("/opt/100%2 %1", 13),
           QString("Can't find or execute /opt/100%2 %1.\r\n(Error #13)"));
  QCOMPARE(QString(ToolStartFailureCaption), QString("Application not started"));
}

void TestToolsMenu::iniHelpers() {
  WriteBytes(Ini(), "[PostIt-memo]\nTop=10\n");
  QCOMPARE(ReadIniStr("postit-MEMO", "top", "0", Ini()), QString("10"));
  QCOMPARE(ReadIniStr("PostIt-memo", "Left", "7", Ini()), QString("7"));
  QCOMPARE(ReadIniStr("", "Top", "def", Ini()), QString("def"));
  QCOMPARE(ReadIniStr("PostIt-memo", "", "def", Ini()), QString("def"));
  WriteIniStr("PostIt-memo", "Left", "20", Ini());
  QCOMPARE(ReadIniStr("PostIt-memo", "Left", "7", Ini()), QString("20"));
  // An empty section or name writes nothing, not even a new file.
  const QByteArray before = ReadBytes(Ini());
  WriteIniStr("", "Top", "1", Ini());
  WriteIniStr("PostIt-memo", "", "1", Ini());
  QCOMPARE(ReadBytes(Ini()), before);
  WriteIniStr("", "", "1", FDir->filePath("none.ini"));
  QVERIFY(!QFile::exists(FDir->filePath("none.ini")));
  // Reading with an empty name does not even look at the file.
  QCOMPARE(ReadIniStr("", "x", "def", FDir->path()), QString("def"));
}

QTEST_APPLESS_MAIN(TestToolsMenu)
#include "test_tools_menu.moc"
