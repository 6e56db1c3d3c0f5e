#include <sys/stat.h>

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "components/errors.h"
#include "file_bytes.h"
#include "site/robots.h"
#include "site/site_listing.h"
#include "site/site_window_rules.h"
#include "site/test_page.h"

namespace {

const TServiceRoots Services{"https://wdg", "https://w3c", "https://css", "http://gifbot"};
const QString Remote = "http://www.example.org/";

// The test page's lines between the head (13 lines) and the page table.
QStringList HomeBlock(const QStringList& lines) {
  const qsizetype table = lines.indexOf(
      "<H3 style=\"color: red\">Check your pages with the WWW-Consortium Validators...</H3>");
  return lines.mid(13, table - 1 - 13);
}

}  // namespace

class TestSitePages : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> FTmp;
  QString Path(const QString& rel) const { return FTmp->filePath(rel); }
  void Make(const QString& rel, const QByteArray& bytes = "x") { WriteBytes(Path(rel), bytes); }
  QStringList Pages(bool subDirs = true, const QString& prefix = Remote) {
    TZELFileManager m;
    return BuildPageList(m, FTmp->path(), "*.*", subDirs, prefix);
  }

 private Q_SLOTS:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void init() { FTmp = std::make_unique<QTemporaryDir>(); }

  void relativePaths() {
    QCOMPARE(RelativeLine("/SITE/Docs/Intro.htm", "/site"), QString("Docs/Intro.htm"));
    QCOMPARE(RelativeLine("2001-10-28 14:05  12 A    /Site/a.htm", "/site"),
             QString("2001-10-28 14:05  12 A    a.htm"));
    QCOMPARE(RelativeLine("/a.htm", "/"), QString("a.htm"));
    QCOMPARE(RelativeLine("a.htm", "/site"), QString("a.htm"));
    QCOMPARE(RemoteRootWithSlash("http://www.x.org"), QString("http://www.x.org/"));
    QCOMPARE(RemoteRootWithSlash("http://www.x.org/"), QString("http://www.x.org/"));

    Make("Docs/Intro.htm");
    Make("b.htm");
    QStringList pages = Pages();
    QCOMPARE(pages, (QStringList{Remote + "b.htm", Remote + "Docs/Intro.htm"}));
    QCOMPARE(Pages(false, {}), QStringList{"b.htm"});
  }

  // The site window's rules, one row per case.
  void windowRules() {
    const std::tuple<bool, const char*, bool> testPage[] = {
        {true, "http://www.s", true},
        {false, "http://www.s", false},
        {true, "http://www.", false},
        {true, "HTTP://WWW.site.example", false},
        {true, "https://www.s", false}};
    for (const auto& [listed, remote, allowed] : testPage)
      QVERIFY2(TestPageAllowed(listed, remote) == allowed, remote);
    const std::tuple<const char*, bool, const char*> onExit[] = {{"/site", true, "/site/"},
                                                                 {"/site/", true, "/site/"},
                                                                 {"/site", false, "/site"},
                                                                 {"", true, ""}};
    for (const auto& [text, wanted, result] : onExit)
      QCOMPARE(RootOnExit(text, wanted), QString(result));
    QCOMPARE(SaveAsTarget("/s/", "robots.txt", 1), QString("/s/robots.txt"));
    QCOMPARE(SaveAsTarget("/s/", "robots.txt", 0), QString());
    QCOMPARE(OutputBytes({"a", "\u00e9"}), QByteArray("a\r\n\xC3\xA9\r\n"));
    QCOMPARE(FormatTotalSize(1400), QString("     1,400"));
    QCOMPARE(FormatTotalSize(5'000'000'000), QString("5,000,000,000"));
  }

  // The home page: the first entry right under the root named index.* or home.*.
  void homeBlock() {
    const std::tuple<QStringList, QString> rows[] = {
        {{"sub/index.htm", "Index.htm"}, "Index.htm"},
        {{"sub/index.htm", "a.htm"}, ""},  // only in a sub-folder
        {{"home.html", "x.htm"}, "home.html"},
        {{"a.htm"}, ""},
        {{"index.php"}, "index.php"},  // any file
    };
    for (const auto& [files, home] : rows) {
      FTmp = std::make_unique<QTemporaryDir>();
      for (const QString& f : files) Make(f);
      const QStringList lines = WriteTestPage(Pages(), {}, Remote, Services);
      const QStringList block = HomeBlock(lines);
      if (home.isEmpty()) {
        QVERIFY(block.isEmpty());
        QCOMPARE(lines[13], QString("<BR>"));
        QCOMPARE(lines[14], QString("<H3 style=\"color: red\">Check your pages with the "
                                    "WWW-Consortium Validators...</H3>"));
      } else {
        QCOMPARE(block.size(), 5);
        QCOMPARE(block[3], "<A href=\"https://wdg/cgi-bin/validate.cgi?url=" + Remote + home +
                               "&spider=yes\" target=\"wdgval\">Check entire site</A></TD>");
      }
    }
  }

  void pageAndImageRows() {
    Make("a.jpg", QByteArray(5000, 'x'));
    Make("pics/b.jpeg", QByteArray(100, 'x'));
    Make("c.gif", QByteArray(50, 'x'));
    Make("d.jpe", QByteArray(10, 'x'));
    Make("x.shtml");
    Make("x.php");
    Make("style.css");
    TZELFileManager img;
    const QStringList images = BuildImageList(img, FTmp->path(), Remote, true);
    QCOMPARE(images, (QStringList{Remote + "d.jpe", Remote + "pics/b.jpeg", Remote + "a.jpg",
                                  Remote + "c.gif"}));
    QCOMPARE(img.SortOrder(), soSize);
    const QStringList lines = WriteTestPage(Pages(), images, Remote, Services);
    const QString text = lines.join('\n');
    QVERIFY(text.contains("https://w3c/check?uri=" + Remote + "x.shtml\" target=\"w3val\""));
    QVERIFY(text.contains("https://css/css-validator/validator?uri=" + Remote + "x.shtml\""));
    QVERIFY(!text.contains("x.php"));
    QVERIFY(!text.contains("style.css"));
    QStringList imageRows;
    for (const QString& line : lines)
      if (line.startsWith("\t\t<TD>http")) imageRows.append(line.mid(6, line.size() - 11));
    QCOMPARE(imageRows, (QStringList{Remote + "pics/b.jpeg", Remote + "a.jpg", Remote + "c.gif"}));
    QVERIFY(text.contains("\"http://gifbot/aps6/gifbot/gifbot.cgi?url=" + Remote + "c.gif&"));
    QCOMPARE(lines.size(), 13 + 12 + 5 + 15 + 3 * 4 + 4);
    QCOMPARE(lines.last(), QString("</HTML>"));

    // Without sub-folders only the root's files appear in both lists.
    const QStringList rootImages = BuildImageList(img, FTmp->path(), Remote, false);
    QCOMPARE(rootImages, (QStringList{Remote + "d.jpe", Remote + "a.jpg", Remote + "c.gif"}));
  }

  void serviceRoots() {
    const TServiceRoots defaults = ServiceRoots(Path("none.ini"));
    QCOMPARE(defaults.W3CValidator, QString("https://validator.w3.org"));
    Make("q.ini", "[Links]\r\nW3CValidator=http://localhost:8888/w3c/\r\n");
    QCOMPARE(ServiceRoots(Path("q.ini")).W3CValidator, QString("http://localhost:8888"));
  }

  void robots() {
    Make("a.htm", "<META NAME=\"ROBOTS\" CONTENT=\"NOINDEX\">\r\n<p>robots noindex</p>\n");
    Make("private/notes.htm", "<html>\r<meta content=\"noindex,nofollow\" name=\"robots\">");
    Make("split.htm", "<meta name=\"robots\"\ncontent=\"noindex\">");
    Make("robots.txt.htm", "no such line");
    Make("mixed.htm", "RoBoTs nOiNdEx");
    Make("apart.htm", "robotnoindex\nxrobots\r\nnoindex");
    Make("style.css", "robots noindex");
    const QStringList pages = Pages(true, {});
    QString failure;
    QStringList lines = WriteRobots(pages, FTmp->path(), &failure);
    QVERIFY(failure.isEmpty());
    lines.sort();
    QCOMPARE(lines, (QStringList{"Disallow: /a.htm", "Disallow: /mixed.htm",
                                 "Disallow: /private/notes.htm", "User-agent: *"}));

    // A page gone since the walk stops the generation, keeping what was made.
    QVERIFY(QFile::remove(Path("split.htm")));
    lines = WriteRobots(pages, FTmp->path(), &failure);
    QVERIFY2(failure.startsWith("Cannot read \"" + Path("split.htm") + "\": "),
             qPrintable(failure));
    QVERIFY(lines.size() <= 3);
    QCOMPARE(lines.first(), QString("User-agent: *"));
    QVERIFY_THROWS_EXCEPTION(EInOutError, PageSaysNoIndex(Path("split.htm")));
    QVERIFY(::mkfifo(QFile::encodeName(Path("pipe.htm")).constData(), 0644) == 0);
    QVERIFY_THROWS_EXCEPTION(EInOutError, PageSaysNoIndex(Path("pipe.htm")));
  }

  void sitemap() {
    Make("a&b.htm", "<p>page</p>");
    Make("hide.html", "<meta name=robots content=noindex>");
    Make("sub/c.htm", "");
    Make("pic.gif", "");
    QStringList lines = WriteSitemap(Pages(true, {}), FTmp->path(), "https://x.org");
    const QString text = lines.join('\n');
    QVERIFY(text.contains("    <loc>https://x.org/a&amp;b.htm</loc>"));
    QVERIFY(text.contains("    <loc>https://x.org/sub/c.htm</loc>"));
    QVERIFY(!text.contains("hide") && !text.contains("pic.gif"));
    QCOMPARE(lines.count("  <url>"), 2);
    QRegularExpression lastmod(
        "^    <lastmod>\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ</lastmod>$");
    QCOMPARE(lines.filter(lastmod).size(), 2);
    QCOMPARE(lines.last(), QString("</urlset>"));
  }

  void listingAndRename() {
    Make("Index.HTM", "12345");
    Make("Images/Logo.GIF", "1");
    Make("A.htm");
    Make("a.htm");
    TZELFileManager m;
    TSiteListing l = ListSite(m, FTmp->path() + "/", "*.*", false, false);
    QCOMPARE(l.FullPaths.size(), 4);
    QCOMPARE(l.Lines.size(), 3);
    QCOMPARE(l.TotalSize, quint64(0));
    l = ListSite(m, FTmp->path(), "*.htm", true, true);
    QCOMPARE(l.FileCount, 3);
    QCOMPARE(l.TotalSize, quint64(7));
    QVERIFY(l.Lines
                .filter(QRegularExpression(
                    "^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d          5 A    Index.HTM$"))
                .size() == 1);

    QCOMPARE(CaseFileName("Index.HTM", false), QString("index.htm"));
    QCOMPARE(CaseFileName("logo.gif", true), QString("LOGO.GIF"));
    QCOMPARE(CaseFileName("Çà.Htm", false), QString("Çà.htm"));
    QVERIFY(RenameNoReplace(Path("Index.HTM"), "index.htm"));
    QCOMPARE(ReadBytes(Path("index.htm")), QByteArray("12345"));
    QString reason;
    QVERIFY(!RenameNoReplace(Path("A.htm"), "a.htm", &reason));
    QVERIFY(!reason.isEmpty());
    QVERIFY(QFile::exists(Path("A.htm")) && QFile::exists(Path("a.htm")));
    QCOMPARE(RenameFailureText("/a/b"), QString("Can't rename /a/b"));
    QCOMPARE(RenameFailureText("/site/folder/sub/deeper/page.htm"),
             QString("Can't rename ...older/sub/deeper/page.htm"));
  }
};

QTEST_GUILESS_MAIN(TestSitePages)
#include "test_site_pages.moc"
