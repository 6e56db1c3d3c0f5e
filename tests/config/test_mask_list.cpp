#include <QTest>

#include "config/environment.h"
#include "config/mask_list.h"
#include "desktop_stub.h"

class TestMaskList : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void splitAndJoin_data();
  void splitAndJoin();
  void sortedRows();
  void addRules();
  void maskWithSemicolonSplitsLater();
  void deleteRows();
  void tabInterval_data();
  void tabInterval();
  void environmentMembers();
};

void TestMaskList::splitAndJoin_data() {
  QTest::addColumn<QString>("fileMask");
  QTest::addColumn<QStringList>("rows");
  QTest::addColumn<QString>("joined");
  QTest::newRow("default") << "*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;"
                           << QStringList{"*.htm*", "*.js", "*.css", "*.cgi", "*.txt", "*.ini"}
                           << "*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;";
  QTest::newRow("no final ;") << "*.a;*.b" << QStringList{"*.a", "*.b"} << "*.a;*.b;";
  QTest::newRow("empty piece") << "*.a;;*.b;" << QStringList{"*.a", "", "*.b"} << "*.a;;*.b;";
  QTest::newRow("lone ;") << ";" << QStringList{""} << ";";
  QTest::newRow("empty") << "" << QStringList{} << "";
}

void TestMaskList::splitAndJoin() {
  QFETCH(QString, fileMask);
  QFETCH(QStringList, rows);
  QFETCH(QString, joined);
  QCOMPARE(SplitFileMask(fileMask), rows);
  QCOMPARE(JoinFileMask(rows), joined);
}

void TestMaskList::sortedRows() {
  const TMaskList list(SplitFileMask("*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;"));
  QCOMPARE(list.Rows(), QStringList({"*.cgi", "*.css", "*.htm*", "*.ini", "*.js", "*.txt"}));
  QCOMPARE(list.FileMask(), QString("*.cgi;*.css;*.htm*;*.ini;*.js;*.txt;"));
  // Case does not decide the order; an empty row comes first.
  const TMaskList mixed(SplitFileMask("*.TXT;*.b;;*.Css;"));
  QCOMPARE(mixed.Rows(), QStringList({"", "*.b", "*.Css", "*.TXT"}));
  QCOMPARE(mixed.FileMask(), QString(";*.b;*.Css;*.TXT;"));
}

void TestMaskList::addRules() {
  TMaskList list(SplitFileMask("*.htm*;*.TXT;"));
  QVERIFY(!TMaskList::CanAdd(""));
  QVERIFY(!TMaskList::CanAdd(" \t "));
  QVERIFY(TMaskList::CanAdd(" x "));
  QCOMPARE(list.Add("  *.php  "), 1);
  QCOMPARE(list.Rows(), QStringList({"*.htm*", "*.php", "*.TXT"}));
  // A row equal in any case is not added twice.
  QCOMPARE(list.Add("*.txt"), -1);
  QCOMPARE(list.Add(" *.PHP"), -1);
  QCOMPARE(list.Add("   "), -1);
  QCOMPARE(list.Add("*.a"), 0);
  QCOMPARE(list.Count(), 4);
}

void TestMaskList::maskWithSemicolonSplitsLater() {
  TMaskList list;
  QCOMPARE(list.Add("*.a;*.b"), 0);
  QCOMPARE(list.Count(), 1);
  QCOMPARE(list.FileMask(), QString("*.a;*.b;"));
  QCOMPARE(TMaskList(SplitFileMask(list.FileMask())).Count(), 2);
}

void TestMaskList::deleteRows() {
  TMaskList list(SplitFileMask("*.a;;"));
  QVERIFY(!list.Delete(2));
  QVERIFY(!list.Delete(-1));
  QVERIFY(list.Delete(1));
  QCOMPARE(list.FileMask(), QString(";"));  // the empty row stays
  QVERIFY(list.Delete(0));
  QCOMPARE(list.Count(), 0);
  QCOMPARE(list.FileMask(), QString());
}

void TestMaskList::tabInterval_data() {
  QTest::addColumn<int>("interval");
  QTest::addColumn<int>("chars");
  QTest::addColumn<int>("stored");
  QTest::newRow("default") << 12 << 3 << 12;
  QTest::newRow("quarters dropped") << 14 << 3 << 12;
  QTest::newRow("zero") << 0 << 0 << 0;
  QTest::newRow("limit") << 192 << 48 << 192;
  QTest::newRow("too large") << 400 << 48 << 192;
  QTest::newRow("negative") << -12 << 0 << 0;
}

void TestMaskList::tabInterval() {
  QFETCH(int, interval);
  QFETCH(int, chars);
  QFETCH(int, stored);
  QCOMPARE(TabCharsFromInterval(interval), chars);
  QCOMPARE(TabIntervalFromChars(chars), stored);
}

void TestMaskList::environmentMembers() {
  TDesktopStub desktop;
  TQMEEnvironment env(qEnvironmentVariable("QUILLMERE_TEST_TMP") + "/bin/quillmere");
  env.FileMask = "*.b;;*.a";
  QStringList rows{"old"};
  env.MasksToList(rows);
  QCOMPARE(rows, QStringList({"*.b", "", "*.a"}));
  env.ListToMasks({"*.x", "*.y"});
  QCOMPARE(env.FileMask, QString("*.x;*.y;"));
  env.ListToMasks({});
  QCOMPARE(env.FileMask, QString());
}

QTEST_APPLESS_MAIN(TestMaskList)
#include "test_mask_list.moc"
