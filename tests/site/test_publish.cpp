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

Q_DECLARE_METATYPE(TPublishJob)

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
    const auto row = [](const char* name, const char* target, const char* refusal) {
      QTest::newRow(name) << QString(target) << QString(refusal);
    };
    row("empty", "", "No publish target");
    row("blank", "  ", "No publish target");
    row("the root", "ROOT", "inside it");
    row("the root with slash", "ROOT/", "inside it");
    row("inside", "ROOT/sub/new", "inside it");
    row("through a link", "OUT/toroot/x", "inside it");
    row("around", "OUT", "holds the local root");
    row("the file system root", "/", "holds the local root");
    row("beside", "OUT/www", "");
    row("beside, dotted", "ROOT/../www", "");
    row("a blank at the end", "OUT/www ", "blank");
    row("remote", "user@host:/var/www/", "");
    row("remote home", "host:", "");
    row("daemon", "rsync://host/module/", "");
    row("host as an option", "-oProxyCommand=x:y", "no usable host");
    row("user, host as an option", "u@-oProxyCommand=x:y", "no usable host");
    row("no host", ":path", "");  // a local folder named ":path"
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
    QTest::addColumn<TPublishJob>("job");
    QTest::addColumn<QStringList>("tail");  // the arguments after the common ones
    // Target, Delete, Exclude, DryRun, Progress, MaxDelete.
    const auto row = [](const char* name, TPublishJob job, const QStringList& tail) {
      job.LocalRoot = "/site/";
      QTest::newRow(name) << job << tail;
    };
    row("preview", {{}, "h:/w", false, {}, true}, {"--dry-run", "--", "./", "h:/w"});
    row("send with delete, limited", {{}, "u@h:/w w/", true, {}, false, false, 3},
        {"--delete", "--max-delete=3", "--", "./", "u@h:/w w/"});
    row("preview with delete, unlimited", {{}, "h:", true, {}, true},
        {"--dry-run", "--delete", "--", "./", "h:"});
    row("no deletion allowed", {{}, "h:", true, {}, false, false, 0},
        {"--delete", "--max-delete=0", "--", "./", "h:"});
    row("limit without delete", {{}, "h:", false, {}, false, false, 3}, {"--", "./", "h:"});
    row("excludes and progress", {{}, "h:", false, {"qme_____.*", ".*", "a b;$(x)"}, false, true},
        {"--exclude=qme_____.*", "--exclude=.*", "--exclude=a b;$(x)", "--info=progress2", "--",
         "./", "h:"});
    row("local, relative, leading dash", {{}, "-n x", false, {}}, {"--", "./", "CWD/-n x/"});
  }
  void arguments() {
    QFETCH(TPublishJob, job);
    QFETCH(QStringList, tail);
    QDir::setCurrent(T());
    tail.replaceInStrings("CWD", QDir::currentPath());
    QStringList common =
        QString("--recursive --links --safe-links --times --checksum --itemize-changes").split(' ');
    QCOMPARE(RsyncArguments(job), common << "--out-format=%i %l %b %n" << tail);
  }

  void items_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("item");  // action, file or folder, size, name; empty for none
    const auto row = [](const char* line, const QString& item) {
      QTest::newRow(line) << QByteArray(line) << item;
    };
    row(">f+++++++++ 12 0 a b.htm", "create file 12 a b.htm");
    row(">fcs....... 4 40 sub/x.css", "change file 4 sub/x.css");
    row(".f..t...... 4 0 x", "other file 4 x");  // date only
    row("cd+++++++++ 4096 0 sub/", "create folder 0 sub/");
    row("cL+++++++++ 6 0 l", "create file 0 l");
    row("*deleting   0 0 old.htm", "remove file 0 old.htm");
    row("*deleting   0 0 old/", "remove folder 0 old/");
    row(">f+++++++++ 1 0 a\\#377\\#012b\\#33c\\x", "create file 1 " + Name("a\xff\nb\\#33c\\x"));
    row("skipping non-regular file \"p\"", {});
    row("         12 100%    0.00kB/s    0:00:00", {});  // progress
  }
  void items() {
    QFETCH(QByteArray, line);
    TPublishItem got;
    static const char* const actions[] = {"create", "change", "remove", "other"};
    QTEST(ParseRsyncItem(line, got) ? QString("%1 %2 %3 %4")
                                          .arg(actions[got.Action], got.IsFile ? "file" : "folder",
                                               QString::number(got.Size), got.Name)
                                    : QString(),
          "item");
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
    FILE* file = std::fopen((QFile::encodeName(site) + "/" + odd).constData(), "wb");
    QVERIFY(file && std::fputs("odd", file) >= 0 && std::fclose(file) == 0);
    TPublishJob job{site + '/', out, true, {"qme_____.*", ".*"}, true, false, -1};
    TRsyncRun run;
    QVERIFY2(run.RunToEnd(job), qPrintable(run.ErrorText()));
    TPublishPreview preview = ParseRsyncPreview(run.Output());
    QCOMPARE(preview.SendSize, 11 + 5 + 4 + 3000 + 3);
    QStringList names;
    for (const TPublishItem& item : preview.Items) names << item.Name;
    QVERIFY2(names.contains(Name(odd.constData())), qPrintable(names.join('|')));
    QVERIFY(!QFileInfo::exists(out));
    QCOMPARE(SendQuestion(preview, "OUT"), QString("Send 5 files (3.0 KB) to OUT?"));

    job.DryRun = false;
    QVERIFY2(run.RunToEnd(job), qPrintable(run.ErrorText()));
    QCOMPARE(run.SentCount(), 5);
    QCOMPARE(ReadBytes(out + "/sp ace.htm"), QByteArray("12345"));
    QVERIFY(!QFileInfo::exists(out + "/qme_____.txt") && !QFileInfo::exists(out + "/.hidden"));
    QVERIFY(!QFileInfo::exists(T("pwned")) && !QFileInfo::exists(site + "/pwned"));

    // A touched page stays; a changed one and a removed one are all there is.
    QFile::remove(site + "/-n");
    QFile index(site + "/index.htm");
    QVERIFY(index.open(QIODevice::ReadWrite) &&
            index.setFileTime(QDateTime::currentDateTime().addDays(1),
                              QFileDevice::FileModificationTime));
    WriteBytes(site + "/sub/page.htm", QByteArray(3000, 'q'));
    const auto beforeSecond = TreeSnapshot(site);
    job.DryRun = true;
    QVERIFY(run.RunToEnd(job));
    preview = ParseRsyncPreview(run.Output());
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
    const auto job = [&](const QString& site) {
      return TPublishJob{T(site), T("out"), false, {}, false, false, -1};
    };
    run.Start(job("site"));
    QTRY_COMPARE(run.SentCount(), 1);
    run.Stop();
    QTRY_VERIFY(!run.Running());
    QTRY_COMPARE(message, QString("Publishing was stopped."));
    QVERIFY(run.Stopped());

    run.SetProgram(T("no-such-rsync"));
    QVERIFY(!run.RunToEnd(job("site")));
    QVERIFY2(message.contains("could not be started"), qPrintable(message));
    QVERIFY(!run.RunToEnd(job("gone")));
    QVERIFY2(message.contains("not a folder"), qPrintable(message));
  }

  // Each root keeps its own target; other lines of the file keep their bytes.
  void settingsPerRoot() {
    const QString ini = T("quillmere.ini");
    WriteBytes(ini, "[Settings]\r\nWorkingDir=/x/\r\n[Tools]\r\nCount=0\r\n");
    TPublishSettings a{.Target = "u@a:/www/", .Delete = true};
    TPublishSettings b{.Target = "/mnt/b", .Exclude = "*.bak; ;.*", .CheckFirst = false};
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
