// Links that follow a rename: the path part each reference gets, and the
// pages rewritten byte for byte, then taken back by one undo.
#include <QTest>

#include "site/link_rewrite.h"
#include "site/site_journal.h"
#include "site_files.h"

class TestLinkRewrite : public TSiteFiles {
  Q_OBJECT

 private Q_SLOTS:
  void init() { NewSite(); }

  // The reference as written, on a page, to a target renamed.
  void rewrittenPath_data() {
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("oldTarget");
    QTest::addColumn<QByteArray>("newTarget");
    QTest::addColumn<bool>("folderRef");
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char* name, const char* written, const char* page,
                        const char* oldTarget, const char* newTarget, bool folderRef,
                        const char* expected) {
      QTest::newRow(name) << QByteArray(written) << QByteArray(page) << QByteArray(oldTarget)
                          << QByteArray(newTarget) << folderRef << QByteArray(expected);
    };
    row("same folder", "a.html", "i.html", "a.html", "A.HTML", false, "A.HTML");
    row("from a sub-folder", "../x/a.html", "s/i.html", "x/a.html", "x/b.html", false,
        "../x/b.html");
    row("root-relative", "/x/a.html", "s/i.html", "x/a.html", "x/b.html", false, "/x/b.html");
    row("escapes in the new name", "my%20page.html", "i.html", "my page.html",
        "new page&#1\xc3\xa9.html", false, "new%20page%26%231%C3%A9.html");
    row("folder index", "news/", "i.html", "news/index.html", "news/start.html", true,
        "news/start.html");
    row("folder without slash", "..", "news/a.html", "index.html", "home.html", true,
        "../home.html");
    row("moved elsewhere", "../a.html", "s/i.html", "a.html", "t/u/b.html", false, "../t/u/b.html");
    row("moved to the page", "../a.html", "s/i.html", "a.html", "s/a.html", false, "a.html");
    row("moved, root-relative", "/a.html", "s/i.html", "a.html", "t/b.html", false, "/t/b.html");
  }
  void rewrittenPath() {
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, page);
    QFETCH(QByteArray, oldTarget);
    QFETCH(QByteArray, newTarget);
    QFETCH(bool, folderRef);
    QFETCH(QByteArray, expected);
    QCOMPARE(RewrittenPath(written, page, oldTarget, newTarget, folderRef), expected);
  }

  // Only the path part of each reference changes, in pages and style
  // sheets; one undo takes back the links and the renames.
  void planApplyUndo() {
    const QByteArray index = QByteArrayLiteral(
        "<a href='Old.html?q=1#top'>x</a>\r\0\xff"
        "<img src=\"pic%201.png\"><a href=\"http://e.org/Old.html\">e</a><a href=\"#top\">t</a>");
    WriteBytes(F("index.html"), index);
    WriteBytes(F("sub/style.css"), "body { background: url( \"../pic 1.png\" ) }");
    WriteBytes(F("folder.html"), "<A HREF=\"sub/\">s</A>");
    WriteBytes(F("other.html"), "<a href=\"index.html\">no link to a renamed file</a>");
    WriteBytes(F("New.html"), "<a href=\"Old.html\">self</a>");
    WriteBytes(F("pic two.png"), "png");
    WriteBytes(F("sub/start.html"), "start");
    WriteBytes(F("sub/page.html"), "<a href=\"../Old.html#a\">o</a> <a href=\"/Old.html\">r</a>");
    const std::vector<TRename> renames{{F("Old.html"), F("New.html")},
                                       {F("pic 1.png"), F("pic two.png")},
                                       {F("sub/index.html"), F("sub/start.html")}};
    const TLinkPlan plan = PlanLinkUpdate(Site, renames);
    QCOMPARE(plan.References(), 7);
    QCOMPARE(LinkQuestion(plan), QString("5 pages refer to the renamed files. Change their links "
                                         "to the new names?"));
    const TSiteChangeResult r = ApplyLinkUpdate(plan, "test");
    QVERIFY(r.Ok());
    const QByteArray expected = QByteArrayLiteral(
        "<a href='New.html?q=1#top'>x</a>\r\0\xff"
        "<img src=\"pic%20two.png\"><a href=\"http://e.org/Old.html\">e</a><a href=\"#top\">t</a>");
    QCOMPARE(ReadBytes(F("index.html")), expected);
    QCOMPARE(ReadBytes(F("sub/page.html")),
             QByteArray("<a href=\"../New.html#a\">o</a> <a href=\"/New.html\">r</a>"));
    QCOMPARE(ReadBytes(F("sub/style.css")),
             QByteArray("body { background: url( \"../pic%20two.png\" ) }"));
    QCOMPARE(ReadBytes(F("New.html")), QByteArray("<a href=\"New.html\">self</a>"));
    QCOMPARE(ReadBytes(F("folder.html")), QByteArray("<A HREF=\"sub/start.html\">s</A>"));

    const TJournalOutcome out = TSiteJournal::LatestDone(Site)->Undo(false);
    QVERIFY2(out.Failed.isEmpty() && out.Kept.isEmpty(), qPrintable(out.Text()));
    QCOMPARE(ReadBytes(F("index.html")), index);
    QCOMPARE(ReadBytes(F("Old.html")), QByteArray("<a href=\"Old.html\">self</a>"));
    QVERIFY(!QFile::exists(F("New.html")));
    QCOMPARE(ReadBytes(F("sub/index.html")), QByteArray("start"));
  }
};

QTEST_GUILESS_MAIN(TestLinkRewrite)
#include "test_link_rewrite.moc"
