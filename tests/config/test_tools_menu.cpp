#include <QTemporaryDir>
#include <QTest>

#include "config/ini_file.h"
#include "config/tools_menu.h"
#include "file_bytes.h"

class TestToolsMenu : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { QVERIFY(FDir.isValid()); }

  void toolText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::newRow("blanks at ends") << "  Tidy up \t"
                                    << "Tidy up";
    QTest::newRow("100 characters") << QString(100, 'x') << QString(80, 'x');
    QTest::newRow("blank at 80") << QString(79, 'x') + " yz" << QString(79, 'x');
    QTest::newRow("leading blanks then cut") << "   " + QString(90, 'y') << QString(77, 'y');
    QTest::newRow("no half character")
        << QString(79, 'x') + QString::fromUtf8("\xF0\x9F\x98\x80") << QString(79, 'x');
  }

  void toolText() {
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QCOMPARE(MakeTool(text, text, text), (TTool{kept, kept, kept}));
  }

  // Which dialog controls work; where a changed, added or deleted tool goes.
  void dialogRules() {
    using S = TToolDialogState;  // list, add, edit, delete, the edits
    QCOMPARE(ToolDialogState(false, 0, 5), (S{true, true, false, false, false}));
    QCOMPARE(ToolDialogState(false, 4, 5), (S{true, true, true, true, false}));
    QCOMPARE(ToolDialogState(false, 5, 5), (S{true, false, true, true, false}));
    QCOMPARE(ToolDialogState(true, 2, 5), (S{false, false, false, false, true}));
    const TTool a{"A", "/a", ""}, b{"B", "/b", ""}, c{"C", "/c", ""}, x{"X", "/x", "/w"};
    const TToolList abc = {a, b, c};
    QCOMPARE(AcceptToolEdit(abc, 0, false, x), TToolList({b, c, x}));
    QCOMPARE(AcceptToolEdit(abc, 2, false, x), TToolList({a, b, x}));
    QCOMPARE(AcceptToolEdit(abc, 1, true, x), TToolList({a, b, c, x}));
    QCOMPARE(AcceptToolEdit(abc, -1, false, x), TToolList({a, b, c, x}));
    QCOMPARE(AcceptToolEdit(abc, 3, false, x), TToolList({a, b, c, x}));
    QCOMPARE(DeleteTool(abc, 0), TToolList({b, c}));
    QCOMPARE(DeleteTool(abc, 2), TToolList({a, b}));
    QCOMPARE(DeleteTool(abc, -1), abc);
    QCOMPARE(DeleteTool(abc, 3), abc);
  }

  void loadCounts_data() {
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<int>("tools");
    QTest::newRow("seven") << QByteArray("7") << 7;
    QTest::newRow("negative") << QByteArray("-3") << 0;
    QTest::newRow("not a number") << QByteArray("two") << 0;
    QTest::newRow("damaged") << QByteArray("2000000000") << MaxToolCount;
  }

  void loadCounts() {
    QFETCH(QByteArray, count);
    QFETCH(int, tools);
    WriteBytes(Ini(), "[Tools]\r\nProg1=One\r\nCount=" + count + "\r\n");
    const TToolList list = LoadToolList(Ini());
    QCOMPARE(list.size(), tools);
    if (tools > 0) QCOMPARE(list[0].Title, QString("One"));
  }

  void loadTexts() {
    QCOMPARE(LoadToolList(FDir.filePath("missing.ini")).size(), 0);
    WriteBytes(Ini(),
               "[tools]\nprog1=  Validator  \nPATH1=/usr/bin/tidy\nWDir1=/tmp\n"
               "Path3=/bin/three\ncount=3\n");
    QCOMPARE(
        LoadToolList(Ini()),
        TToolList({{"Validator", "/usr/bin/tidy", "/tmp"}, {"", "", ""}, {"", "/bin/three", ""}}));
  }

  void saveKeepsKeysBeyondCount() {
    const QString ini = FDir.filePath("new/folder/quillmere.ini");
    const TToolList two = {{"A", "/bin/a", ""}, {"B b", "/opt/b tool", "/srv/b"}};
    SaveToolList(ini, two);
    QCOMPARE(ReadBytes(ini), QByteArray("[Tools]\nProg1=A\nPath1=/bin/a\nWDir1=\nProg2=B b\n"
                                        "Path2=/opt/b tool\nWDir2=/srv/b\nCount=2\n"));
    QCOMPARE(LoadToolList(ini), two);
    SaveToolList(ini, {two[1]});
    QCOMPARE(LoadToolList(ini), TToolList({two[1]}));
    QCOMPARE(ReadProfileString("Tools", "Prog2", "", ini), QString("B b"));
  }

  void failureText() {
    // A "%" in the program's name stays as it is.
    QCOMPARE(ToolStartFailureText("/opt/100%2 %1", 13),
             QString("Can't find or execute /opt/100%2 %1.\r\n(Error #13)"));
  }

 private:
  QString Ini() const { return FDir.filePath("tools.ini"); }
  QTemporaryDir FDir;
};

QTEST_APPLESS_MAIN(TestToolsMenu)
#include "test_tools_menu.moc"
