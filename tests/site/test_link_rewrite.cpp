// Links that follow a rename: the path part each reference gets, and the
// pages rewritten byte for byte, then taken back by one undo.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include "file_bytes.h"
#include "site/link_rewrite.h"
#include "site/site_journal.h"

class TestLinkRewrite : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> FTmp;
  QString Site;
  QString F(const QString& rel) const { return Site + '/' + rel; }

 private Q_SLOTS:
  void init() {
    FTmp = std::make_unique<QTemporaryDir>();
    Site = FTmp->filePath("site");
    QDir().mkpath(Site);
    qputenv("XDG_STATE_HOME", QFile::encodeName(FTmp->filePath("state")));
  }

  void rewrittenPath_data() {
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QByteArray>("oldTarget");
    QTest::addColumn<QByteArray>("newTarget");
    QTest::addColumn<bool>("folderRef");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("same folder") << QByteArray("a.html") << QByteArray("i.html")
                                 << QByteArray("a.html") << QByteArray("A.HTML") << false
                                 << QByteArray("A.HTML");
    QTest::newRow("from a sub-folder")
        << QByteArray("../x/a.html") << QByteArray("s/i.html") << QByteArray("x/a.html")
        << QByteArray("x/b.html") << false << QByteArray("../x/b.html");
    QTest::newRow("root-relative")
        << QByteArray("/x/a.html") << QByteArray("s/i.html") << QByteArray("x/a.html")
        << QByteArray("x/b.html") << false << QByteArray("/x/b.html");
    QTest::newRow("escapes in the new name")
        << QByteArray("my%20page.html") << QByteArray("i.html") << QByteArray("my page.html")
        << QByteArray("new page&#1\xc3\xa9.html") << false
        << QByteArray("new%20page%26%231%C3%A9.html");
    QTest::newRow("folder index") << QByteArray("news/") << QByteArray("i.html")
                                  << QByteArray("news/index.html") << QByteArray("news/start.html")
                                  << true << QByteArray("news/start.html");
    QTest::newRow("folder without slash")
        << QByteArray("..") << QByteArray("news/a.html") << QByteArray("index.html")
        << QByteArray("home.html") << true << QByteArray("../home.html");
    QTest::newRow("moved elsewhere")
        << QByteArray("../a.html") << QByteArray("s/i.html") << QByteArray("a.html")
        << QByteArray("t/u/b.html") << false << QByteArray("../t/u/b.html");
    QTest::newRow("moved to the page")
        << QByteArray("../a.html") << QByteArray("s/i.html") << QByteArray("a.html")
        << QByteArray("s/a.html") << false << QByteArray("a.html");
    QTest::newRow("moved, root-relative")
        << QByteArray("/a.html") << QByteArray("s/i.html") << QByteArray("a.html")
        << QByteArray("t/b.html") << false << QByteArray("/t/b.html");
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
    QCOMPARE(int(plan.Pages.size()), 5);
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

  void oneRenameQuestion() {
    WriteBytes(F("a.html"), "<a href=\"b2.html\">");
    WriteBytes(F("b2.html"), "b");
    const TLinkPlan plan = PlanLinkUpdate(Site, {{F("b.html"), F("b2.html")}});
    QCOMPARE(int(plan.Pages.size()), 0);  // a.html names the new name already
    WriteBytes(F("a.html"), "<a href=\"b.html\">");
    QCOMPARE(LinkQuestion(PlanLinkUpdate(Site, {{F("b.html"), F("b2.html")}})),
             QString("1 page refers to b.html. Change their links to b2.html?"));
  }
};

QTEST_GUILESS_MAIN(TestLinkRewrite)
#include "test_link_rewrite.moc"
