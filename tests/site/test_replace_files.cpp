// Replace in files: the bytes it writes, the files it picks, what it leaves
// out, and quillmere-site replace and undo as a shell sees them.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTest>

#include "site/replace_files.h"
#include "site/site_journal.h"
#include "site_files.h"

class TestReplaceFiles : public TSiteFiles {
  Q_OBJECT

 private Q_SLOTS:
  void init() { NewSite(); }

  // Only the hits change: every other byte stays, in the file's encoding.
  void replaceInText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<TReplaceOptions>("options");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("count");
    const auto row = [](const char* name, const QByteArray& text, const TReplaceOptions& o,
                        const QByteArray& expected,
                        int count) { QTest::newRow(name) << text << o << expected << count; };
    row("odd bytes kept", QByteArray("a\rb\0c\xff\r\nab  \t\n", 15), {"b", "XY"},
        QByteArray("a\rXY\0c\xff\r\naXY  \t\n", 17), 2);
    row("A to Z folded", "Word WORD word", {"WORD", "w"}, "w w w", 3);
    row("case kept", "Word WORD word", {"word", "w", true}, "Word WORD w", 1);
    row("accents not folded", "\xc3\xa9t\xc3\xa9 \xc3\x89t\xc3\xa9",
        {QString::fromUtf8("été"), "x"}, "x \xc3\x89t\xc3\xa9", 1);
    row("no overlap", "aaaa", {"aa", "b"}, "bb", 2);
    row("across a line end", "x\r\n<p>y\n<p>", {"\r\n<p>", " "}, "x y\n<p>", 1);
    row("Windows-1252 file", "caf\xe9 \xff", {QString::fromUtf8("é"), QString::fromUtf8("è")},
        "caf\xe8 \xff", 1);
  }
  void replaceInText() {
    QFETCH(QByteArray, text);
    QFETCH(TReplaceOptions, options);
    QFETCH(QByteArray, expected);
    QFETCH(int, count);
    int n = -1;
    QCOMPARE(ReplaceInText(text, options, &n), expected);
    QCOMPARE(n, count);
  }

  // The preview: the right files, their hits and the lines of the first ones.
  void preview() {
    WriteBytes(F("a.html"), "one\rtwo hit\r\nthree\nhit hit\n");
    WriteBytes(F("sub/b.htm"), "hit");
    WriteBytes(F("sub/c.txt"), "hit");
    WriteBytes(F(".hidden/d.html"), "hit");
    WriteBytes(F("e.html"), "nothing");
    WriteBytes(FTmp->filePath("outside.html"), "hit");
    QVERIFY(QFile::link(FTmp->filePath("outside.html"), F("link.html")));
    QVERIFY(QFile::link(FTmp->path(), F("up")));
    TReplaceOptions o = TReplaceOptions{"HIT", "x"};
    o.Mask = "*.htm*";
    TReplacePreview p = PreviewReplace(Site, o);
    QCOMPARE(int(p.Files.size()), 2);
    QCOMPARE(RelativeToRoot(p.Files[0].Path, Site), QString("a.html"));
    QCOMPARE(p.Files[0].Hits, 3);
    QCOMPARE(int(p.Files[0].FirstHits.size()), 2);  // one entry per line
    QCOMPARE(p.Files[0].FirstHits[0].Line, 2);
    QCOMPARE(p.Files[0].FirstHits[0].Text, QString("two hit"));
    QCOMPARE(p.Files[0].FirstHits[1].Line, 4);
    QCOMPARE(RelativeToRoot(p.Files[1].Path, Site), QString("sub/b.htm"));
    QCOMPARE(p.TotalHits(), 4);
    o.SubDirs = false;
    o.Find = "hit";
    o.Replacement = "hit";  // changes nothing: no file to write
    QCOMPARE(int(PreviewReplace(Site, o).Files.size()), 0);
    o.Replacement = "x";
    QCOMPARE(int(PreviewReplace(Site, o).Files.size()), 1);
  }

  // A file changed since the preview is left out and named, one that cannot
  // be written stops nothing else, and undo brings back every byte.
  void applyAndUndo() {
    const QByteArray a("x hit\r\n\0\xfe", 9);
    WriteBytes(F("a.html"), a);
    WriteBytes(F("b.html"), "hit b");
    WriteBytes(F("c.html"), "hit c");
    WriteBytes(F("d.html"), "hit d");
    const TReplacePreview p = PreviewReplace(Site, TReplaceOptions{"hit", "miss"});
    QCOMPARE(int(p.Files.size()), 4);
    WriteBytes(F("b.html"), "hit b, edited");
    QVERIFY(QFile::remove(F("d.html")));
    QVERIFY(QDir().mkdir(F("d.html")));  // a folder in its place
    const TReplaceResult r = ApplyReplace(p, Indexes(p.Files.size()));
    QCOMPARE(r.Written, QStringList({F("a.html"), F("c.html")}));
    QCOMPARE(r.LeftOut.size(), 2);
    QVERIFY(r.LeftOut[0].startsWith("b.html: changed on disk"));
    QVERIFY(r.LeftOut[1].startsWith("d.html: "));
    QVERIFY(!r.Ok());
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("x miss\r\n\0\xfe", 10));
    QCOMPARE(ReadBytes(F("b.html")), QByteArray("hit b, edited"));
    QCOMPARE(EntriesOf(Site).size(), 4);  // no temporary left

    auto j = TSiteJournal::LatestDone(Site);
    QVERIFY(j);
    QCOMPARE(j->Id(), r.JournalId);
    QCOMPARE(j->Kind(), QString("replace"));
    QCOMPARE(int(j->Files()[1].State), int(TJournalFileState::Failed));
    QCOMPARE(int(j->Files()[2].State), int(TJournalFileState::Written));
    // c.html edited after the change: kept unless forced.
    WriteBytes(F("c.html"), "edited c");
    QCOMPARE(j->ChangedSince(), QStringList({F("c.html")}));
    const TJournalOutcome out = j->Undo(false);
    QCOMPARE(out.Restored, 1);
    QCOMPARE(out.Kept.size(), 1);
    QCOMPARE(ReadBytes(F("a.html")), a);
    QCOMPARE(ReadBytes(F("c.html")), QByteArray("edited c"));
    QVERIFY(!TSiteJournal::LatestDone(Site));
  }

  void undoForcedAndRepeated() {
    WriteBytes(F("a.html"), "hit a");
    WriteBytes(F("b.html"), "hit b");
    TReplacePreview p = PreviewReplace(Site, TReplaceOptions{"hit", "one"});
    QVERIFY(ApplyReplace(p, Indexes(p.Files.size())).Ok());
    p = PreviewReplace(Site, TReplaceOptions{"one", "two"});
    QVERIFY(ApplyReplace(p, {1}).Ok());
    QCOMPARE(ReadBytes(F("b.html")), QByteArray("two b"));
    WriteBytes(F("b.html"), "mine");
    QVERIFY(TSiteJournal::LatestDone(Site)->Undo(true).Kept.isEmpty());
    QCOMPARE(ReadBytes(F("b.html")), QByteArray("one b"));
    QCOMPARE(TSiteJournal::LatestDone(Site)->Undo(false).Restored, 2);
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("hit a"));
    QCOMPARE(ReadBytes(F("b.html")), QByteArray("hit b"));
    QVERIFY(!TSiteJournal::LatestDone(Site));
  }

  // A page with a second name is written over in place, so its original must
  // be copied, not linked; a page rewritten in place with its old time and
  // size still counts as the change left it (the stamp decides).
  void secondNameAndStamp() {
    WriteBytes(F("a.html"), "hit a");
    WriteBytes(F("b.html"), "hit b");
    QCOMPARE(::link(QFile::encodeName(F("a.html")).constData(),
                    QFile::encodeName(F("alias.txt")).constData()),
             0);
    TReplaceOptions o = TReplaceOptions{"hit", "new"};
    o.Mask = "*.html";
    TReplacePreview p = PreviewReplace(Site, o);
    QVERIFY(ApplyReplace(p, Indexes(p.Files.size())).Ok());
    QCOMPARE(ReadBytes(F("alias.txt")), QByteArray("new a"));
    auto j = TSiteJournal::LatestDone(Site);
    const TFileStamp after = j->Files()[1].After;
    {
      QFile f(F("b.html"));
      QVERIFY(f.open(QIODevice::ReadWrite));
      f.write("old b");
    }
    const struct timespec times[2] = {
        {0, UTIME_OMIT}, {time_t(after.MTimeNs / 1000000000), long(after.MTimeNs % 1000000000)}};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(F("b.html")).constData(), times, 0), 0);
    QVERIFY(j->ChangedSince().isEmpty());
    QCOMPARE(j->Undo(false).Restored, 2);
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("hit a"));
    QCOMPARE(ReadBytes(F("b.html")), QByteArray("hit b"));
  }

  void command() {
    WriteBytes(F("a.html"), "Hit\r\nhit");
    WriteBytes(F("sub/b.htm"), "hit");
    WriteBytes(F("c.jpg"), "hit");
    TRun r = RunSite({"replace", "hit", "x%009y", Site, "--dry-run"});
    QCOMPARE(r.Status, 0);
    QCOMPARE(r.Out, QString("a.html: 2\nsub/b.htm: 1\nTotal: 3 in 2 files (dry run: nothing "
                            "written)\n"));
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("Hit\r\nhit"));
    r = RunSite({"replace", "hit", "x%009y", Site, "--case", "--no-subdirs"});
    QCOMPARE(r.Status, 0);
    QCOMPARE(r.Out, QString("a.html: 1\nTotal: 1 in 1 file; 1 file written\n"));
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("Hit\r\nx\ty"));
    QCOMPARE(ReadBytes(F("c.jpg")), QByteArray("hit"));
    r = RunSite({"undo", Site});
    QCOMPARE(r.Status, 0);
    QVERIFY(r.Out.contains("1 file put back."));
    QCOMPARE(ReadBytes(F("a.html")), QByteArray("Hit\r\nhit"));
    r = RunSite({"undo", Site});
    QCOMPARE(r.Status, 1);
    QVERIFY(r.Err.startsWith("No site change to undo"));
    QCOMPARE(RunSite({"replace", "hit", Site}).Status, 2);
    QCOMPARE(RunSite({"replace", "", "x", Site}).Status, 2);
    QCOMPARE(RunSite({"replace", "a", "b", Site + "/none"}).Status, 2);
    QCOMPARE(RunSite({"undo", Site, "--bogus"}).Status, 2);
  }
};

QTEST_GUILESS_MAIN(TestReplaceFiles)
#include "test_replace_files.moc"
