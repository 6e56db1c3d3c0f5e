// The site check window's rules without a window: the saved report, the
// filter and sorting of the table, where a finding lands in a converted line.
#include <QTest>

#include "site/site_check_view.h"

namespace {

std::vector<TCheckFinding> Mixed() {
  return {{"a.html", 10, 1, ckHtml, "<p> unclosed"},
          {"a.html", 9, 4, ckBroken, "x.html"},
          {"b.html", 2, 1, ckHtml, "<b> unclosed"},
          {"c.html", 1, 1, ckOrphan, "no page links here"}};
}

}  // namespace

class TestSiteCheckView : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The file list's mask list; the kinds a report of the shown rows counts.
  void maskAndKinds() {
    QCOMPARE(CheckMaskFor("*.htm*;*.js;*.css;"), QString("*.*"));
    QCOMPARE(CheckMaskFor(" *.html ;"), QString("*.html"));
    TCheckOptions options;
    options.Kinds = KindBit(ckBroken) | KindBit(ckHtml);
    QCOMPARE(ShownKinds(options, std::nullopt), options.Kinds);
    QCOMPARE(ShownKinds(options, ckOrphan), KindBit(ckOrphan));
  }

  // The filter shows one kind; the line sorts as a number; equal rows keep
  // the check's order.
  void filterAndSort() {
    TCheckFindingsModel model;
    model.SetFindings(Mixed());
    TCheckFindingsFilter filter;
    filter.setSourceModel(&model);
    filter.SetKind(ckHtml);
    QCOMPARE(filter.rowCount(), 2);
    QCOMPARE(filter.FindingAt(1)->Page, QString("b.html"));
    filter.SetKind(std::nullopt);
    filter.sort(ccLine);
    QCOMPARE(filter.FindingAt(0)->Line, 1);
    QCOMPARE(filter.FindingAt(3)->Line, 10);
    filter.sort(-1);
    filter.sort(ccKind);
    QCOMPARE(filter.FindingAt(1)->Line, 10);
    QCOMPARE(filter.FindingAt(2)->Line, 2);
  }

  void pageLines() {
    const QByteArray page = "one\r\ntwo\rthree\n\nfive";
    const QList<QByteArray> want = {"", "one", "two", "three", "", "five", ""};
    for (int line = 0; line < want.size(); ++line) QCOMPARE(PageLine(page, line), want[line]);
  }

  void editorColumns_data() {
    QTest::addColumn<QByteArray>("disk");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("want");
    QTest::newRow("blanks to tabs") << QByteArray("      <a>") << 7 << "\t\t<a>" << 2;
    QTest::newRow("tabs to blanks") << QByteArray("\t<a>") << 3 << "   <a>" << 4;
    QTest::newRow("inside the blanks") << QByteArray("    x") << 2 << "\tx" << 1;
    QTest::newRow("past the end") << QByteArray("  ab") << 9 << "\tab" << 3;
    QTest::newRow("deleted empty line") << QByteArray() << 1 << "next" << 0;
  }
  void editorColumns() {
    QFETCH(QByteArray, disk);
    QFETCH(int, column);
    QFETCH(QString, editor);
    QFETCH(int, want);
    QCOMPARE(EditorColumn(disk, column, editor), want);
  }
};

QTEST_GUILESS_MAIN(TestSiteCheckView)
#include "test_site_check_view.moc"
