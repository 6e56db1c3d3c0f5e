// The document commands offered for each state of the document.
#include <QTest>

#include "app/doc_commands.h"

class TestDocCommands : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void table() {
    // One digit a command: Goto Files New Delete Rename Save SaveAs View Cancel
    // SelectAll Settings SearchAll.
    const auto offered = [](int lines, bool modified, bool open) {
      const TDocCommands c = DocCommandsFor(lines, modified, open);
      QString s;
      for (bool b : {c.Goto, c.Files, c.New, c.Delete, c.Rename, c.Save, c.SaveAs, c.View, c.Cancel,
                     c.SelectAll, c.Settings, c.SearchAll})
        s += b ? '1' : '0';
      return s;
    };
    QCOMPARE(offered(3, false, true), QString("111110110111"));
    QCOMPARE(offered(3, true, true), QString("100011101100"));
    QCOMPARE(offered(0, false, true), QString("011110000011"));
    QCOMPARE(offered(0, false, false), QString("011000000011"));
    QCOMPARE(offered(0, true, true), QString("000010000000"));
  }
};

QTEST_GUILESS_MAIN(TestDocCommands)
#include "test_doc_commands.moc"
