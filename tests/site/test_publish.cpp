// Publishing, window-free: the refused targets, rsync's argument lists, the
// preview read from the real rsync's output, and the settings kept per root.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "components/file_names.h"
#include "config/ini_file.h"
#include "file_bytes.h"
#include "site/publish.h"
#include "site/publish_settings.h"
#include "site/rsync_run.h"
#include "tree_snapshot.h"

namespace {

QString Name(const char* bytes) { return NameFromBytes(bytes); }

}  // namespace

class TestPublish : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> FTmp;
  QString T(const QString& rel = {}) const { return FTmp->filePath(rel); }

 private Q_SLOTS:
  void init() { FTmp = std::make_unique<QTemporaryDir>(); }

  // ROOT and OUT stand for the site and a folder beside it.
  void targets_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("refusal");  // a word of the message, empty when allowed
    QTest::newRow("empty") << ""
                           << "No publish target";
    QTest::newRow("blank") << "  "
                           << "No publish target";
    QTest::newRow("the root") << "ROOT"
                              << "inside it";
    QTest::newRow("the root with slash") << "ROOT/"
                                         << "inside it";
    QTest::newRow("inside") << "ROOT/sub/new"
                            << "inside it";
    QTest::newRow("through a link") << "OUT/toroot/x"
                                    << "inside it";
    QTest::newRow("around") << "OUT"
                            << "holds the local root";
    QTest::newRow("the file system root") << "/"
                                          << "holds the local root";
    QTest::newRow("beside") << "OUT/www"
                            << "";
    QTest::newRow("beside, dotted") << "ROOT/../www"
                                    << "";
    QTest::newRow("a blank at the end") << "OUT/www "
                                        << "blank";
    QTest::newRow("remote") << "user@host:/var/www/"
                            << "";
    QTest::newRow("remote home") << "host:"
                                 << "";
    QTest::newRow("daemon") << "rsync://host/module/"
                            << "";
    QTest::newRow("host as an option") << "-oProxyCommand=x:y"
                                       << "no usable host";
    QTest::newRow("user, host as an option") << "u@-oProxyCommand=x:y"
                                             << "no usable host";
    QTest::newRow("no host") << ":path"
                             << "";  // a local folder named ":path"
  }
  void targets() {
    QFETCH(QString, target);
    QFETCH(QString, refusal);
    QVERIFY(QDir().mkpath(T("out/root/sub")));
    QVERIFY(QFile::link(T("out/root"), T("out/toroot")));
    const QString root = T("out/root");
    target.replace("ROOT", root).replace("OUT", T("out"));
    QDir::setCurrent(T("out"));
    const QString problem = PublishTargetProblem(root + '/', target);
    if (refusal.isEmpty())
      QVERIFY2(problem.isEmpty(), qPrintable(problem));
    else
      QVERIFY2(problem.contains(refusal), qPrintable(problem));
  }

  void arguments_data() {
    QTest::addColumn<bool>("dryRun");
    QTest::addColumn<bool>("del");
    QTest::addColumn<int>("maxDelete");
    QTest::addColumn<QStringList>("exclude");
    QTest::addColumn<bool>("progress");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("tail");  // the arguments after the common ones
    QTest::newRow("preview") << true << false << -1 << QStringList() << false << "h:/w"
                             << QStringList{"--dry-run", "--", "./", "h:/w"};
    QTest::newRow("send with delete, limited")
        << false << true << 3 << QStringList() << false << "u@h:/w w/"
        << QStringList{"--delete", "--max-delete=3", "--", "./", "u@h:/w w/"};
    QTest::newRow("preview with delete, unlimited")
        << true << true << -1 << QStringList() << false
        << "h:" << QStringList{"--dry-run", "--delete", "--", "./", "h:"};
    QTest::newRow("no deletion allowed")
        << false << true << 0 << QStringList() << false
        << "h:" << QStringList{"--delete", "--max-delete=0", "--", "./", "h:"};
    QTest::newRow("limit without delete")
        << false << false << 3 << QStringList() << false << "h:" << QStringList{"--", "./", "h:"};
    QTest::newRow("excludes and progress")
        << false << false << -1 << QStringList{"qme_____.*", ".*", "a b;$(x)"} << true
        << "h:" << QStringList{"--exclude=qme_____.*",
                               "--exclude=.*",
                               "--exclude=a b;$(x)",
                               "--info=progress2",
                               "--",
                               "./",
                               "h:"};
    QTest::newRow("local, relative, leading dash")
        << false << false << -1 << QStringList() << false << "-n x"
        << QStringList{"--", "./", "CWD/-n x/"};
  }
  void arguments() {
    QFETCH(bool, dryRun);
    QFETCH(bool, del);
    QFETCH(int, maxDelete);
    QFETCH(QStringList, exclude);
    QFETCH(bool, progress);
    QFETCH(QString, target);
    QFETCH(QStringList, tail);
    QDir::setCurrent(T());
    tail.replaceInStrings("CWD", QDir::currentPath());
    TPublishJob job{"/site/", target, del, exclude, dryRun, progress, maxDelete};
    const QStringList common{"--recursive",
                             "--links",
                             "--safe-links",
                             "--times",
                             "--checksum",
                             "--itemize-changes",
                             "--out-format=%i %l %b %n"};
    QCOMPARE(RsyncArguments(job), common + tail);
  }

  void items_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("item");
    QTest::addColumn<int>("action");
    QTest::addColumn<bool>("isFile");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("name");
    QTest::newRow("new file") << QByteArray(">f+++++++++ 12 0 a b.htm") << true
                              << int(TPublishItem::Create) << true << 12LL << "a b.htm";
    QTest::newRow("changed") << QByteArray(">fcs....... 4 40 sub/x.css") << true
                             << int(TPublishItem::Change) << true << 4LL << "sub/x.css";
    QTest::newRow("date only") << QByteArray(".f..t...... 4 0 x") << true
                               << int(TPublishItem::Other) << true << 4LL << "x";
    QTest::newRow("new folder") << QByteArray("cd+++++++++ 4096 0 sub/") << true
                                << int(TPublishItem::Create) << false << 0LL << "sub/";
    QTest::newRow("new link") << QByteArray("cL+++++++++ 6 0 l") << true
                              << int(TPublishItem::Create) << true << 0LL << "l";
    QTest::newRow("removed file") << QByteArray("*deleting   0 0 old.htm") << true
                                  << int(TPublishItem::Remove) << true << 0LL << "old.htm";
    QTest::newRow("removed folder") << QByteArray("*deleting   0 0 old/") << true
                                    << int(TPublishItem::Remove) << false << 0LL << "old/";
    QTest::newRow("escapes") << QByteArray(">f+++++++++ 1 0 a\\#377\\#012b\\#33c\\x") << true
                             << int(TPublishItem::Create) << true << 1LL
                             << Name("a\xff\nb\\#33c\\x");
    QTest::newRow("a note") << QByteArray("skipping non-regular file \"p\"") << false << 0 << false
                            << 0LL << "";
    QTest::newRow("progress") << QByteArray("         12 100%    0.00kB/s    0:00:00") << false << 0
                              << false << 0LL << "";
  }
  void items() {
    QFETCH(QByteArray, line);
    QFETCH(bool, item);
    TPublishItem got;
    QCOMPARE(ParseRsyncItem(line, got), item);
    if (!item) return;
    QTEST(int(got.Action), "action");
    QTEST(got.IsFile, "isFile");
    QTEST(got.Size, "size");
    QTEST(got.Name, "name");
  }

  // The real rsync on a tree of awkward names: the preview finds every file
  // by its own bytes, the send copies them, a touched page is not sent again,
  // and the site itself is never written.
  void realRsync() {
    const QString site = T("site"), out = T("out");
    const QByteArray odd = "odd \xff $(touch pwned) ;`x`";
    WriteBytes(site + "/index.htm", "<p>home</p>");
    WriteBytes(site + "/sp ace.htm", "12345");
    WriteBytes(site + "/-n", "dash");
    WriteBytes(site + "/sub/page.htm", QByteArray(3000, 'p'));
    WriteBytes(site + "/qme_____.txt", "listing");
    WriteBytes(site + "/.hidden", "h");
    {
      const QByteArray path = QFile::encodeName(site) + "/" + odd;
      FILE* file = std::fopen(path.constData(), "wb");
      QVERIFY(file);
      std::fputs("odd", file);
      std::fclose(file);
    }
    TPublishJob job{site + '/', out, true, {"qme_____.*", ".*"}, true, false, -1};
    TRsyncRun run;
    QVERIFY2(run.RunToEnd(job), qPrintable(run.ErrorText()));
    TPublishPreview preview = ParseRsyncPreview(run.Output());
    QCOMPARE(preview.SendCount, 5);
    QCOMPARE(preview.SendSize, 11 + 5 + 4 + 3000 + 3);
    QCOMPARE(preview.RemoveCount, 0);
    QStringList names;
    for (const TPublishItem& item : preview.Items) names << item.Name;
    QVERIFY2(names.contains(NameFromBytes(std::string_view(odd.constData(), size_t(odd.size())))),
             qPrintable(names.join('|')));
    QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(SendQuestion(preview, "OUT"), QString("Send 5 files (3.0 KB) to OUT?"));

    job.DryRun = false;
    QVERIFY2(run.RunToEnd(job), qPrintable(run.ErrorText()));
    QCOMPARE(run.SentCount(), 5);
    QCOMPARE(ReadBytes(out + "/sp ace.htm"), QByteArray("12345"));
    QCOMPARE(ReadBytes(QFile::decodeName(QFile::encodeName(out) + "/" + odd)), QByteArray());
    QVERIFY(!QFileInfo::exists(out + "/qme_____.txt") && !QFileInfo::exists(out + "/.hidden"));
    QVERIFY(!QFileInfo::exists(T("pwned")) && !QFileInfo::exists(site + "/pwned"));

    // A touched page stays; a changed one and a removed one are all there is.
    QFile::remove(site + "/-n");
    QFile index(site + "/index.htm");
    QVERIFY(index.open(QIODevice::ReadWrite));
    index.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime);
    index.close();
    WriteBytes(site + "/sub/page.htm", QByteArray(3000, 'q'));
    const auto beforeSecond = TreeSnapshot(site);
    job.DryRun = true;
    QVERIFY(run.RunToEnd(job));
    preview = ParseRsyncPreview(run.Output());
    QCOMPARE(preview.SendCount, 1);
    QCOMPARE(preview.RemoveCount, 1);
    QCOMPARE(PreviewLines(preview, "OUT").mid(1),
             QStringList({"remove  -n", "change  sub/page.htm  (2.9 KB)",
                          "1 file to send (2.9 KB), 1 file to remove."}));
    QCOMPARE(SendQuestion(preview, "OUT"),
             QString("Send 1 file (2.9 KB) to OUT and remove 1 file there?"));
    // A send may remove no more than the preview showed.
    WriteBytes(out + "/extra.htm", "x");
    job.DryRun = false;
    job.MaxDelete = preview.RemoveCount;
    QVERIFY(!run.RunToEnd(job));
    QCOMPARE(ReadBytes(out + "/sub/page.htm"), QByteArray(3000, 'q'));
    QVERIFY(!QFileInfo::exists(out + "/-n") || !QFileInfo::exists(out + "/extra.htm"));
    QCOMPARE(TreeSnapshot(site), beforeSecond);
  }

  // A stopped run says so, and a program that cannot start is named.
  void stopAndFailures() {
    const QString fake = T("slow-rsync");
    WriteBytes(fake, "#!/bin/sh\necho '>f+++++++++ 1 9 a'\nexec sleep 30\n");
    QFile::setPermissions(fake, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(QDir().mkpath(T("site")));
    TRsyncRun run;
    run.SetProgram(fake);
    QString message;
    connect(&run, &TRsyncRun::Finished, this, [&](bool, int, const QString& m) { message = m; });
    run.Start(TPublishJob{T("site"), T("out"), false, {}, false, false, -1});
    QTRY_COMPARE(run.SentCount(), 1);
    run.Stop();
    QTRY_VERIFY(!run.Running());
    QTRY_COMPARE(message, QString("Publishing was stopped."));
    QVERIFY(run.Stopped());

    run.SetProgram(T("no-such-rsync"));
    QVERIFY(!run.RunToEnd(TPublishJob{T("site"), T("out"), false, {}, false, false, -1}));
    QVERIFY2(message.contains("could not be started"), qPrintable(message));
    QVERIFY(!run.RunToEnd(TPublishJob{T("gone"), T("out"), false, {}, false, false, -1}));
    QVERIFY2(message.contains("not a folder"), qPrintable(message));
  }

  // Each root keeps its own target; other lines of the file keep their bytes.
  void settingsPerRoot() {
    const QString ini = T("quillmere.ini");
    WriteBytes(ini, "[Settings]\r\nWorkingDir=/x/\r\n[Tools]\r\nCount=0\r\n");
    TPublishSettings a;
    a.Target = "u@a:/www/";
    a.Delete = true;
    TPublishSettings b;
    b.Target = "/mnt/b";
    b.CheckFirst = false;
    b.Exclude = "*.bak; ;.*";
    WritePublishSettings(ini, T("a"), a);
    WritePublishSettings(ini, T("b") + "/", b);
    a.Target = "u@a:/srv/";
    WritePublishSettings(ini, T("./a/"), a);
    QCOMPARE(ReadPublishSettings(ini, T("a")), a);
    QCOMPARE(ReadPublishSettings(ini, T("b/")), b);
    QCOMPARE(ReadPublishSettings(ini, T("c")), TPublishSettings());
    QCOMPARE(b.ExcludePatterns(), QStringList({"*.bak", ".*"}));
    QCOMPARE(TPublishSettings().ExcludePatterns(), QStringList({"qme_____.*", ".*"}));
    const QByteArray file = ReadBytes(ini);
    QVERIFY(file.startsWith("[Settings]\r\nWorkingDir=/x/\r\n[Tools]\r\nCount=0\r\n[Publish]\r\n"));
    QCOMPARE(TIniFile(ini).ReadString("Publish", "Count", {}), QString("2"));
    QCOMPARE(TIniFile(ini).ReadString("Publish", "Delete1", {}), QString("TRUE"));
  }
};

QTEST_GUILESS_MAIN(TestPublish)
#include "test_publish.moc"
