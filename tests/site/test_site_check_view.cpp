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

QList<int> Lines(const TCheckFindingsFilter& f) {
  QList<int> lines;
  for (int row = 0; row < f.rowCount(); ++row) lines << f.data(f.index(row, ccLine)).toInt();
  return lines;
}

}  // namespace

class TestSiteCheckView : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void maskAndKindsOfWhatIsShown() {
    QCOMPARE(CheckMaskFor("*.htm*;*.js;*.css;"), QString("*.*"));
    QCOMPARE(CheckMaskFor(" *.html ;"), QString("*.html"));
    QCOMPARE(CheckMaskFor(""), QString("*.*"));
    TCheckOptions options;
    options.Kinds = KindBit(ckBroken) | KindBit(ckHtml);
    QCOMPARE(ShownKinds(options, std::nullopt), options.Kinds);
    QCOMPARE(ShownKinds(options, ckOrphan), KindBit(ckOrphan));
    TCheckResult result;
    result.Pages = 7;
    result.Stopped = true;
    result.Findings = Mixed();
    const TCheckResult shown = ShownResult(result, {Mixed()[2]});
    QCOMPARE(shown.Findings.size(), size_t(1));
    QCOMPARE(shown.Pages, 7);
    QVERIFY(shown.Stopped);

    DropUnknownOrphans(&result);
    QCOMPARE(result.Findings.size(), size_t(3));
    QCOMPARE(CountCheckKinds(result.Findings)[ckOrphan], 0);
    result.Stopped = false;
    result.Findings = Mixed();
    DropUnknownOrphans(&result);
    QCOMPARE(result.Findings.size(), size_t(4));
  }

  // The filter shows one kind; the line sorts as a number; equal rows keep
  // the check's order.
  void filterAndSort() {
    TCheckFindingsModel model;
    model.SetFindings(Mixed());
    TCheckFindingsFilter filter;
    filter.setSourceModel(&model);
    QCOMPARE(filter.rowCount(), 4);
    filter.SetKind(ckHtml);
    QCOMPARE(filter.rowCount(), 2);
    QCOMPARE(filter.FindingAt(1)->Page, QString("b.html"));
    filter.SetKind(std::nullopt);
    filter.sort(ccLine);
    QCOMPARE(Lines(filter), QList<int>({1, 2, 9, 10}));
    QCOMPARE(filter.ShownFindings().front().Page, QString("c.html"));
    filter.sort(-1);
    filter.sort(ccKind);
    QCOMPARE(filter.FindingAt(1)->Line, 10);
    QCOMPARE(filter.FindingAt(2)->Line, 2);
    filter.SetKind(ckBroken);
    QCOMPARE(filter.ShownFindings().size(), size_t(1));
    QCOMPARE(model.Findings().size(), size_t(4));
  }

  void pageLines() {
    const QByteArray page = "one\r\ntwo\rthree\n\nfive";
    const QList<QByteArray> want = {"", "one", "two", "three", "", "five", ""};
    for (int line = 0; line < want.size(); ++line) QCOMPARE(PageLine(page, line), want[line]);
    QCOMPARE(PageLine("a\r\n", 2), QByteArray());
  }

  void editorColumns_data() {
    QTest::addColumn<QByteArray>("disk");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("want");
    QTest::newRow("blanks to tabs") << QByteArray("      <a>") << 7 << "\t\t<a>" << 2;
    QTest::newRow("tabs to blanks") << QByteArray("\t<a>") << 3 << "   <a>" << 4;
    QTest::newRow("inside the blanks") << QByteArray("    x") << 2 << "\tx" << 1;
    QTest::newRow("unconverted") << QByteArray("ab cd") << 4 << "ab cd" << 3;
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
