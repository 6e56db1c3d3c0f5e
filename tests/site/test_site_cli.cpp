// quillmere-site as a shell sees it: output, messages and exit status.
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "file_bytes.h"
#include "site/date_func.h"

namespace {

struct TRun {
  int Status = -1;
  QString Out, Err;
};

TRun RunSite(const QStringList& args, rlim_t fileSizeLimit = 0) {
  QProcess p;
  if (fileSizeLimit) {
    p.setChildProcessModifier([fileSizeLimit] {
      const struct rlimit limit { fileSizeLimit, fileSizeLimit };
      ::setrlimit(RLIMIT_FSIZE, &limit);
      ::signal(SIGXFSZ, SIG_IGN);
    });
  }
  p.start(QStringLiteral(QUILLMERE_SITE), args);
  if (!p.waitForFinished(60000)) return {};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

}  // namespace

class TestSiteCli : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void listing();
  void usageAndErrors();
  void outputFiles();
  void caseAndTouch();

 private:
  std::unique_ptr<QTemporaryDir> FTmp;
  QString Site, Path;
  QString F(const QString& rel) const { return Site + '/' + rel; }
};

void TestSiteCli::init() {
  FTmp = std::make_unique<QTemporaryDir>();
  Site = FTmp->filePath("site");
  WriteBytes(F("Index.htm"), "<meta name=\"robots\" content=\"noindex\">");
  WriteBytes(F("sub/Page.HTML"), QByteArray(1000, 'x'));
  WriteBytes(F("sub/b.jpg"), QByteArray(999, 'x'));
  WriteBytes(F(".git/c.htm"), "x");
}

void TestSiteCli::listing() {
  TRun r = RunSite({"list", Site, "--sort", "size"});
  QCOMPARE(r.Status, 0);
  QStringList lines = r.Out.split("\r\n", Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 5);
  QVERIFY(lines[0].endsWith("        38 A    Index.htm"));
  QVERIFY(lines[1].endsWith("       999 A    sub/b.jpg"));
  QVERIFY(lines[2].endsWith("      1000 A    sub/Page.HTML"));
  QCOMPARE(lines.mid(3), (QStringList{"Total files: 3", "Total size: 2037"}));
  QVERIFY(r.Err.isEmpty());

  r = RunSite({"list", Site + "/", "--no-details", "--no-subdirs"});
  QCOMPARE(r.Out, QString("Index.htm\r\nTotal files: 1\r\nTotal size: 0\r\n"));
  r = RunSite({"list", Site, "--no-details", "--mask", "*.HTM*", "--sort", "name"});
  QCOMPARE(r.Out, QString("Index.htm\r\nsub/Page.HTML\r\nTotal files: 2\r\nTotal size: 0\r\n"));
  r = RunSite({"list", Site, "--min-date", "01-01-2999"});
  QCOMPARE(r.Out, QString("Total files: 0\r\nTotal size: 0\r\n"));
}

void TestSiteCli::usageAndErrors() {
  TRun r = RunSite({"list", Site + "/nosite"});
  QCOMPARE(r.Status, 1);
  QVERIFY(r.Out.isEmpty());
  QCOMPARE(r.Err,
           "Function aborted: ifmManager: Error #1 occured.\nMessage: Incorrect "
           "WorkingDir.\n(" +
               Site + "/nosite)\n");
  r = RunSite({"robots", Site, "--mask", "*.htm;*.css"});
  QCOMPARE(r.Status, 1);
  QCOMPARE(r.Err, QString("Illegal characters: Error in SearchMask at position 6 (\";\").\n"));
  r = RunSite({"touch", "xx-xx-xxxx", Site, "--yes"});
  QCOMPARE(r.Status, 1);
  QCOMPARE(r.Err, QString("'xx-xx-xxxx' is not a valid date and time\n"));

  const QList<QStringList> usage = {{},
                                    {"frobnicate", Site},
                                    {"list"},
                                    {"list", Site, "--sort", "colour"},
                                    {"list", Site, "--sort", "date", "--no-details"},
                                    {"list", Site, "--min-date", "31-02-2001"},
                                    {"list", Site, "--mask"},
                                    {"testpage", Site},
                                    {"case", "title", Site},
                                    {"touch", "01-01-2001 00:00", Site},
                                    {"robots", Site, "--bogus"}};
  for (const QStringList& args : usage) {
    r = RunSite(args);
    QVERIFY2(r.Status == 2 && r.Err.contains("Usage:"), qPrintable(args.join(' ')));
    QVERIFY(r.Out.isEmpty());
  }
  QCOMPARE(GetFileDate(F("Index.htm")) == DateTimeStrToDateTime("01-01-2001 00:00"), false);
  r = RunSite({"--version"});
  QCOMPARE(r.Status, 0);
  QCOMPARE(r.Out, QString("quillmere-site 2.60\n"));
  QCOMPARE(RunSite({"--help"}).Status, 0);
}

void TestSiteCli::outputFiles() {
  TRun r = RunSite({"robots", Site});
  QCOMPARE(r.Status, 0);
  QCOMPARE(r.Out, QString("User-agent: *\r\nDisallow: /Index.htm\r\n"));
  r = RunSite({"robots", Site, "-o", F("robots.txt")});
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
  r = RunSite({"testpage", Site, "--remote", "http://www.example.org", "-o", F("robots.txt")}, 64);
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

void TestSiteCli::caseAndTouch() {
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

QTEST_GUILESS_MAIN(TestSiteCli)
#include "test_site_cli.moc"
