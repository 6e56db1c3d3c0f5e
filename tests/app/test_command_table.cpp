// The menus as data: the rules the window's menu building relies on.
#include <QSet>
#include <QTest>

#include "app/command_table.h"

class TestCommandTable : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void menuRows() {
    QSet<QString> names;
    QSet<int> tags;
    bool inSubmenu = false;
    for (const TMenuRow& row : MainMenuRows()) {
      const QString where = QString::fromUtf8(row.Name) + " " + QString::number(row.Tag);
      QVERIFY2(row.Level >= 0 && row.Level <= 2, qPrintable(where));
      // A submenu's items follow it directly, and only the two submenus have items.
      if (row.Level < 2) inSubmenu = row.Tag == cmdHelpRefs || row.Tag == cmdHelpValidate;
      QVERIFY2(row.Level < 2 || inSubmenu, qPrintable(where));
      if (row.Tag == 0) continue;  // separators
      QVERIFY2(QString(row.Name).startsWith("men"), qPrintable(where));
      QVERIFY2(!names.contains(row.Name) && !tags.contains(row.Tag), qPrintable(where));
      names << row.Name;
      tags << row.Tag;
    }
    // The Tools slots are numbered in a row: a tag gives its slot.
    QCOMPARE(cmdTool5 - cmdTool1, 4);
    QVERIFY(cmdTool5 <= cmdToolLast);
    QCOMPARE(EditPopupRows().size(), size_t(3));
  }
};

QTEST_APPLESS_MAIN(TestCommandTable)
#include "test_command_table.moc"
