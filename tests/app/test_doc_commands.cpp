// The document commands offered for each state of the document.
#include "app/doc_commands.h"

#include <QTest>

class TestDocCommands : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void table() {
    struct TRow {
      int Lines;
      bool Modified, Open;
      TDocCommands Expected;
    };
    // Goto Files New Delete Rename Save SaveAs View Cancel SelectAll Settings SearchAll
    const TRow rows[] = {
        {3, false, true, {1, 1, 1, 1, 1, 0, 1, 1, 0, 1, 1, 1}},
        {3, true, true, {1, 0, 0, 0, 1, 1, 1, 0, 1, 1, 0, 0}},
        {0, false, true, {0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1}},
        {0, false, false, {0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1}},
        {0, true, true, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const TRow& r : rows) {
      const TDocCommands c = DocCommandsFor(r.Lines, r.Modified, r.Open);
      const TDocCommands& e = r.Expected;
      const bool got[] = {c.Goto,   c.Files, c.New,    c.Delete,    c.Rename,   c.Save,
                          c.SaveAs, c.View,  c.Cancel, c.SelectAll, c.Settings, c.SearchAll};
      const bool want[] = {e.Goto,   e.Files, e.New,    e.Delete,    e.Rename,   e.Save,
                           e.SaveAs, e.View,  e.Cancel, e.SelectAll, e.Settings, e.SearchAll};
      for (int i = 0; i < 12; ++i)
        QVERIFY2(got[i] == want[i], qPrintable(QString("lines %1, modified %2, open %3, command %4")
                                                   .arg(r.Lines)
                                                   .arg(r.Modified)
                                                   .arg(r.Open)
                                                   .arg(i)));
    }
  }
};

QTEST_GUILESS_MAIN(TestDocCommands)
#include "test_doc_commands.moc"
