// quillmere-site publish as a script sees it: preview lines, exit status,
// the target kept in the settings file, and a site that stays as it was.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "file_bytes.h"
#include "site/publish_settings.h"
#include "tree_snapshot.h"

namespace {

struct TRun {
  int Status = -1;
  QString Out, Err;
  QString LastLine() const { return Out.section('\n', -2, -2); }
};

TRun RunSite(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(QUILLMERE_SITE), QStringList{"publish"} + args);
  if (!p.waitForFinished(60000)) return {};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

}  // namespace

class TestPublishCli : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> FTmp;
  QString Site, Out;

 private Q_SLOTS:
  void init() {
    FTmp = std::make_unique<QTemporaryDir>();
    Site = FTmp->filePath("site");
    Out = FTmp->filePath("out");
    WriteBytes(Site + "/index.htm", "<a href=\"b.htm\">b</a>");
    WriteBytes(Site + "/b.htm", "bb");
  }

  void usageAndRefusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("err");
    QTest::newRow("no folder") << QStringList() << 2 << "publish takes one folder";
    QTest::newRow("two folders") << QStringList{"SITE", "x"} << 2 << "publish takes one folder";
    QTest::newRow("unknown option") << QStringList{"SITE", "--force"} << 2 << "unknown option";
    QTest::newRow("--to alone") << QStringList{"SITE", "--to"} << 2 << "--to needs a value";
    QTest::newRow("no target kept") << QStringList{"SITE"} << 1 << "No publish target";
    QTest::newRow("into the site") << QStringList{"SITE", "--to", "SITE/copy"} << 1 << "inside it";
    QTest::newRow("no such site") << QStringList{"SITE/none", "--to", "OUT"} << 1 << "not a folder";
    QTest::newRow("rsync fails") << QStringList{"SITE", "--to", "SITE/../b.htm/x"} << 1
                                 << "rsync exit status";
  }
  void usageAndRefusals() {
    QFETCH(QStringList, args);
    args.replaceInStrings("SITE", Site).replaceInStrings("OUT", Out);
    WriteBytes(FTmp->filePath("b.htm"), "a file, not a folder");
    const auto before = TreeSnapshot(Site);
    const TRun run = RunSite(args);
    QTEST(run.Status, "status");
    QFETCH(QString, err);
    QVERIFY2(run.Err.contains(err), qPrintable(run.Err));
    QVERIFY(!QFileInfo::exists(Out));
    QCOMPARE(TreeSnapshot(Site), before);
  }

  // Dry run, send, one changed page, nothing left; the target and Delete
  // kept for the folder are used when --to is left out.
  void publishes() {
    TRun run = RunSite({Site, "--to", Out, "--dry-run"});
    QCOMPARE(run.Status, 0);
    QVERIFY2(run.Out.contains("create  b.htm  (2 bytes)\n"), qPrintable(run.Out));
    QCOMPARE(run.LastLine(), QString("2 files to send (23 bytes)."));
    QVERIFY(!QFileInfo::exists(Out));

    TPublishSettings kept;
    kept.Target = Out;
    kept.Delete = true;
    const QString ini = qEnvironmentVariable("XDG_CONFIG_HOME") + "/quillmere/quillmere.ini";
    WritePublishSettings(ini, Site, kept);
    run = RunSite({Site});
    QCOMPARE(run.Status, 0);
    QCOMPARE(run.LastLine(), QString("Sent 2 files (23 bytes) to %1.").arg(Out));
    QCOMPARE(ReadBytes(Out + "/b.htm"), QByteArray("bb"));

    WriteBytes(Site + "/b.htm", "b2");
    WriteBytes(Out + "/old.htm", "old");
    run = RunSite({Site});
    QCOMPARE(run.Status, 0);
    QVERIFY2(run.Out.contains("1 file to send (2 bytes), 1 file to remove."), qPrintable(run.Out));
    QVERIFY(!QFileInfo::exists(Out + "/old.htm"));
    // --to takes no Delete from the settings file.
    WriteBytes(Out + "/old.htm", "old");
    run = RunSite({Site, "--to", Out});
    QCOMPARE(run.Status, 0);
    QCOMPARE(run.LastLine(), QString("Nothing to send: %1 is up to date.").arg(Out));
    QVERIFY(QFileInfo::exists(Out + "/old.htm"));
  }

  // A broken link refuses the publish unless --no-check says otherwise.
  void checkFirst() {
    WriteBytes(Site + "/index.htm", "<img src=\"gone.png\">");
    TRun run = RunSite({Site, "--to", Out});
    QCOMPARE(run.Status, 1);
    QVERIFY2(run.Err.contains("index.htm:1:11: broken:"), qPrintable(run.Err));
    QVERIFY(run.Err.contains("the site has 1 broken links"));
    QVERIFY(!QFileInfo::exists(Out));
    run = RunSite({Site, "--to", Out, "--no-check", "--exclude", "b.*;x"});
    QCOMPARE(run.Status, 0);
    QVERIFY(QFileInfo::exists(Out + "/index.htm") && !QFileInfo::exists(Out + "/b.htm"));
  }
};

QTEST_GUILESS_MAIN(TestPublishCli)
#include "test_publish_cli.moc"
