// quillmere-site as a shell sees it: output, messages and exit status.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTest>

#include "components/date_func.h"
#include "site_files.h"

namespace {

// In the started process: no file written past the limit.
std::function<void()> FileSizeLimit(rlim_t bytes) {
  return [bytes] {
    const struct rlimit limit { bytes, bytes };
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, SIG_IGN);
  };
}

// In the started process: the user nobody when started as the superuser,
// whom no file's mode keeps from reading it.
void AsNobody() {
  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
}

}  // namespace

class TestSiteCli : public TSiteFiles {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    NewSite();
    WriteBytes(F("Index.htm"), "<meta name=\"robots\" content=\"noindex\">");
    WriteBytes(F("sub/Page.HTML"), QByteArray(1000, 'x'));
    WriteBytes(F("sub/b.jpg"), QByteArray(999, 'x'));
    WriteBytes(F(".git/c.htm"), "x");
    for (const char* name : {"Index.htm", "sub/Page.HTML", "sub/b.jpg"})
      SetFileDate(F(name), DateTimeStrToDateTime("01-02-2003 04:05"));
  }

  // SITE stands for the site folder; status 2 is a usage error.
  void runs_data() {
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const auto row = [](const char* args, int status, const char* out = "", const char* err = "") {
      QTest::newRow(args) << QString(args) << status << QString(out) << QString(err);
    };
    row("list SITE --sort size", 0,
        "2003-02-01 04:05         38 A    Index.htm\r\n2003-02-01 04:05        999 A    "
        "sub/b.jpg\r\n"
        "2003-02-01 04:05       1000 A    sub/Page.HTML\r\nTotal files: 3\r\nTotal size: 2037\r\n");
    row("list SITE/ --no-details --no-subdirs", 0,
        "Index.htm\r\nTotal files: 1\r\nTotal size: 0\r\n");
    row("list SITE --no-details --mask *.HTM* --sort name", 0,
        "Index.htm\r\nsub/Page.HTML\r\nTotal files: 2\r\nTotal size: 0\r\n");
    row("list SITE --min-date 01-01-2999", 0, "Total files: 0\r\nTotal size: 0\r\n");
    row("robots SITE", 0, "User-agent: *\r\nDisallow: /Index.htm\r\n");
    row("--version", 0, "quillmere-site 2.60\n");
    row("list SITE/nosite", 1, "",
        "Function aborted: ifmManager: Error #1 occured.\nMessage: Incorrect "
        "WorkingDir.\n(SITE/nosite)\n");
    row("robots SITE --mask *.htm;*.css", 1, "",
        "Illegal characters: Error in SearchMask at position 6 (\";\").\n");
    row("touch xx-xx-xxxx SITE --yes", 1, "", "'xx-xx-xxxx' is not a valid date and time\n");
    row("list /SITE", 1, "",
        "Function aborted: ifmManager: Error #1 occured.\nMessage: Incorrect "
        "WorkingDir.\n(/SITE)\n");
    row("robots SITE --mask *.\U0001F600x", 1, "",
        "Illegal characters: Error in SearchMask at position 3 (\"\U0001F600\").\n");
    for (const char* usage :
         {"", "frobnicate SITE", "list", "list SITE --sort colour",
          "list SITE --sort date --no-details", "list SITE --min-date 31-02-2001",
          "list SITE --min-date 01-01-2000 --no-details", "list SITE --mask", "testpage SITE",
          "case title SITE", "touch 01-01-2001_00:00 SITE", "robots SITE --bogus"})
      row(usage, 2);
  }
  void runs() {
    QFETCH(QString, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QStringList list = args.split(' ', Qt::SkipEmptyParts);
    const TRun r = RunSite(list.replaceInStrings("_", " ").replaceInStrings("SITE", Site));
    QCOMPARE(r.Status, status);
    QCOMPARE(r.Out, out);
    if (status == 2)
      QVERIFY2(r.Err.contains("Usage:"), qPrintable(r.Err));
    else
      QCOMPARE(r.Err, err.replace("SITE", Site));
    QVERIFY(GetFileDate(F("Index.htm")) != DateTimeStrToDateTime("01-01-2001 00:00"));
  }

  void outputFiles() {
    QCOMPARE(RunSite({"--help"}).Status, 0);
    QCOMPARE(RunSite({"-h"}).Out, RunSite({"--help"}).Out);
    TRun r = RunSite({"robots", Site, "-o", F("robots.txt")});
    QCOMPARE(r.Status, 0);
    QVERIFY(r.Out.isEmpty());
    QCOMPARE(ReadBytes(F("robots.txt")), QByteArray("User-agent: *\r\nDisallow: /Index.htm\r\n"));

    r = RunSite({"testpage", Site, "--remote", "http://www.example.org", "-o", F("qme_____.htm")});
    QCOMPARE(r.Status, 0);
    const QByteArray page = ReadBytes(F("qme_____.htm"));
    QVERIFY(page.contains("?url=http://www.example.org/Index.htm&spider=yes"));
    QVERIFY(page.contains("\t\t<TD>http://www.example.org/sub/b.jpg</TD>\r\n"));

    r = RunSite({"sitemap", Site, "--remote", "https://example.org/"});
    QCOMPARE(r.Status, 0);
    QVERIFY(r.Out.contains("<loc>https://example.org/sub/Page.HTML</loc>"));
    QVERIFY(!r.Out.contains("Index.htm"));

    // A failed write leaves the old file as it was, and nothing beside it.
    const QStringList before = EntriesOf(Site);
    r = RunSite({"testpage", Site, "--remote", "http://www.example.org", "-o", F("robots.txt")},
                FileSizeLimit(64));
    QCOMPARE(r.Status, 1);
    QVERIFY2(r.Err.contains("robots.txt"), qPrintable(r.Err));
    QCOMPARE(ReadBytes(F("robots.txt")), QByteArray("User-agent: *\r\nDisallow: /Index.htm\r\n"));
    QCOMPARE(EntriesOf(Site), before);
    r = RunSite({"robots", Site, "-o", F("nofolder/robots.txt")});
    QCOMPARE(r.Status, 1);
    QVERIFY(!QFile::exists(F("nofolder")));
    r = RunSite({"robots", Site + "/nosite", "-o", F("x.txt")});
    QCOMPARE(r.Status, 1);
    QVERIFY(!QFile::exists(F("x.txt")));
  }

  void caseAndTouch() {
    WriteBytes(F("sub/page.html"), "other");
    WriteBytes(F("Images/LOGO.GIF"), "gif");
    TRun r = RunSite({"case", "lower", Site});
    QCOMPARE(r.Status, 1);
    QVERIFY(r.Out.contains("Index.htm -> index.htm\n"));
    QVERIFY(r.Out.contains("Images/LOGO.GIF -> Images/logo.gif\n"));
    QVERIFY2(r.Err.startsWith("Can't rename ...") && r.Err.contains("sub/Page.HTML"),
             qPrintable(r.Err));
    QCOMPARE(ReadBytes(F("sub/page.html")), QByteArray("other"));
    QCOMPARE(ReadBytes(F("sub/Page.HTML")), QByteArray(1000, 'x'));
    QVERIFY(QFileInfo(F("Images")).isDir());
    QVERIFY(QFile::exists(F(".git/c.htm")));

    r = RunSite({"touch", "31-12-2001 23:59", Site, "--mask", "*.htm*", "--yes"});
    QCOMPARE(r.Status, 0);
    QCOMPARE(r.Out, QString("Total files: 3\n"));
    const QDateTime stamp = DateTimeStrToDateTime("31-12-2001 23:59");
    QCOMPARE(GetFileDate(F("index.htm")), stamp);
    QCOMPARE(GetFileDate(F("sub/Page.HTML")), stamp);
    QVERIFY(GetFileDate(F("sub/b.jpg")) != stamp);
    r = RunSite({"list", Site, "--mask", "*.htm", "--no-subdirs"});
    QVERIFY(r.Out.startsWith("2001-12-31 23:59         38 A    index.htm\r\n"));
  }

  // The command lists as the window does: a page it cannot open shows Error #001 for its size.
  void listsAsTheWindow() {
    WriteBytes(F("secret.htm"), "x");
    SetFileDate(F("secret.htm"), DateTimeStrToDateTime("01-02-2003 04:05"));
    QVERIFY(::chmod(QFile::encodeName(F("secret.htm")).constData(), 0202) == 0);
    for (const QString& dir : {FTmp->path(), Site, F("sub")})
      QVERIFY(::chmod(QFile::encodeName(dir).constData(), 0755) == 0);
    const TRun r = RunSite({"list", Site, "--sort", "size"}, AsNobody);
    QCOMPARE(r.Status, 0);
    QVERIFY2(r.Out.contains("2003-02-01 04:05 Error #001 A    secret.htm\r\n"), qPrintable(r.Out));
  }

  // No file name can split or add a line of an output: addresses are percent-encoded.
  void namesCannotSplitLines() {
    WriteBytes(F("p\nUser-agent: evil\n.htm"), "<meta name=robots content=noindex>");
    WriteBytes(F("my page \xC3\xA9.htm"), "x");
    TRun r = RunSite({"robots", Site, "--no-subdirs"});
    QStringList lines = r.Out.split("\r\n", Qt::SkipEmptyParts);
    lines.sort();
    QCOMPARE(lines, (QStringList{"Disallow: /Index.htm", "Disallow: /p%0AUser-agent: evil%0A.htm",
                                 "User-agent: *"}));
    r = RunSite({"sitemap", Site, "--remote", "https://example.org", "--no-subdirs"});
    QVERIFY2(r.Out.contains("<loc>https://example.org/my%20page%20%C3%A9.htm</loc>\r\n"),
             qPrintable(r.Out));
    r = RunSite({"testpage", Site, "--remote", "http://www.example.org", "--no-subdirs"});
    QVERIFY(
        r.Out.contains("target=\"page\">http://www.example.org/p%0AUser-agent: evil%0A.htm</A>"));
    QVERIFY(!r.Out.contains("\n.htm"));
    r = RunSite({"list", Site, "--no-subdirs", "--no-details"});
    QVERIFY2(r.Out.split("\r\n").contains("p\\nUser-agent: evil\\n.htm"), qPrintable(r.Out));
  }

  // A name that is no valid UTF-8 is walked, read, dated and renamed by its own bytes.
  void namesByTheirBytes() {
    const QByteArray dir = QFile::encodeName(Site) + "/";
    // A kept byte first, then a character whose second half looks like one.
    for (const char* name : {"Caf\xE9.HTM", "\xFF\xF0\x9F\x92\x80.htm"}) {
      const int fd = ::open(dir + name, O_WRONLY | O_CREAT, 0644);
      QVERIFY(fd >= 0 && ::write(fd, "<meta name=robots content=noindex>", 34) == 34);
      ::close(fd);
    }
    TRun r = RunSite({"list", Site, "--no-subdirs"});
    QVERIFY2(r.Out.contains("        34 A    Caf\uFFFD.HTM\r\n"), qPrintable(r.Out));
    r = RunSite({"robots", Site, "--no-subdirs"});
    QStringList lines = r.Out.split("\r\n", Qt::SkipEmptyParts);
    lines.sort();
    QCOMPARE(lines, (QStringList{"Disallow: /%FF\U0001F480.htm", "Disallow: /Caf%E9.HTM",
                                 "Disallow: /Index.htm", "User-agent: *"}));
    r = RunSite({"touch", "31-12-2001 23:59", Site, "--no-subdirs", "--yes"});
    QCOMPARE(r.Err, QString());
    QCOMPARE(r.Status, 0);
    struct stat st {};
    QVERIFY(::stat(dir + "Caf\xE9.HTM", &st) == 0);
    QCOMPARE(qint64(st.st_mtime), DateTimeStrToDateTime("31-12-2001 23:59").toSecsSinceEpoch());
    r = RunSite({"case", "lower", Site});
    QVERIFY2(r.Out.contains("Caf\uFFFD.HTM -> caf\uFFFD.htm\n"), qPrintable(r.Out + r.Err));
    QVERIFY(::stat(dir + "caf\xE9.htm", &st) == 0);
    // QTemporaryDir cannot remove them by name.
    QVERIFY(::unlink(dir + "caf\xE9.htm") == 0 && ::unlink(dir + "\xFF\xF0\x9F\x92\x80.htm") == 0);
  }
};

QTEST_GUILESS_MAIN(TestSiteCli)
#include "test_site_cli.moc"
