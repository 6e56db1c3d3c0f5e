#include <QTest>

#include "config/mask_list.h"

class TestMaskList : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void splitAndJoin_data() {
    QTest::addColumn<QString>("fileMask");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("joined");
    QTest::newRow("no final ;") << "*.a;*.b" << QStringList{"*.a", "*.b"} << "*.a;*.b;";
    QTest::newRow("empty piece") << "*.a;;*.b;" << QStringList{"*.a", "", "*.b"} << "*.a;;*.b;";
    QTest::newRow("lone ;") << ";" << QStringList{""} << ";";
    QTest::newRow("empty") << "" << QStringList{} << "";
  }

  void splitAndJoin() {
    QFETCH(QString, fileMask);
    QFETCH(QStringList, rows);
    QFETCH(QString, joined);
    QCOMPARE(SplitFileMask(fileMask), rows);
    QCOMPARE(JoinFileMask(rows), joined);
  }

  void sortedAddAndDelete() {
    // Case does not decide the order; an empty row comes first.
    TMaskList list(SplitFileMask("*.TXT;*.b;;*.Css;"));
    QCOMPARE(list.Rows(), QStringList({"", "*.b", "*.Css", "*.TXT"}));
    QVERIFY(!TMaskList::CanAdd(" \t "));
    QVERIFY(TMaskList::CanAdd(" x "));
    QCOMPARE(list.Add("  *.php  "), 3);
    // A row equal in any case is not added twice.
    QCOMPARE(list.Add("*.txt"), -1);
    QCOMPARE(list.Add(" *.PHP"), -1);
    QCOMPARE(list.Add("   "), -1);
    QCOMPARE(list.Add("*.a"), 1);
    QCOMPARE(list.FileMask(), QString(";*.a;*.b;*.Css;*.php;*.TXT;"));
    // A typed ";" splits into two rows only when read back.
    QCOMPARE(list.Add("*.c;*.d"), 3);
    QCOMPARE(TMaskList(SplitFileMask(list.FileMask())).Count(), 8);

    QVERIFY(!list.Delete(list.Count()));
    QVERIFY(!list.Delete(-1));
    QVERIFY(list.Delete(1));
    QCOMPARE(list.Rows().mid(0, 2), QStringList({"", "*.b"}));
    while (list.Count() > 0) QVERIFY(list.Delete(0));
    QCOMPARE(list.FileMask(), QString());
  }

  void tabInterval_data() {
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("chars");
    QTest::addColumn<int>("stored");
    QTest::newRow("quarters dropped") << 14 << 3 << 12;
    QTest::newRow("zero") << 0 << 0 << 0;
    QTest::newRow("limit") << 192 << 48 << 192;
    QTest::newRow("too large") << 400 << 48 << 192;
    QTest::newRow("negative") << -12 << 0 << 0;
  }

  void tabInterval() {
    QFETCH(int, interval);
    QFETCH(int, chars);
    QFETCH(int, stored);
    QCOMPARE(TabCharsFromInterval(interval), chars);
    QCOMPARE(TabIntervalFromChars(chars), stored);
  }
};

QTEST_APPLESS_MAIN(TestMaskList)
#include "test_mask_list.moc"
