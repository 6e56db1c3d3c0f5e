#include <sys/stat.h>

#include <QTemporaryDir>
#include <QTest>
#include <random>
#include <string>

#include "file_bytes.h"
#include "search/all_files_search.h"
#include "search/byte_search.h"

namespace {

// "name:line" for every hit, to compare whole results at once.
QStringList HitList(const TAllFilesResult& r) {
  QStringList out;
  for (const TSearchHit& h : r.Hits) out << h.FileName + ':' + QString::number(h.Line);
  return out;
}

// The reference: every start offset where the pattern matches, folding A-Z.
std::vector<std::size_t> NaiveFind(const std::string& text, const std::string& pat, bool cs) {
  const auto fold = [cs](char c) { return !cs && c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
  std::vector<std::size_t> hits;
  for (std::size_t i = 0; !pat.empty() && i + pat.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < pat.size() && fold(text[i + k]) == fold(pat[k])) ++k;
    if (k == pat.size()) hits.push_back(i);
  }
  return hits;
}

}  // namespace

class TestAllFilesSearch : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;

  TAllFilesResult Search(const QStringList& names, const QString& text, bool cs = false) {
    return SearchAllFiles(Dir.path(), names, text, cs);
  }

 private Q_SLOTS:
  void entryFormat_data() {
    QTest::addColumn<qint64>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entry");
    const auto row = [](qint64 line, const char* name, const char* entry) {
      QTest::newRow(entry) << line << QString(name) << QString(entry);
    };
    row(1, "a.htm", "#   1 a.htm");
    row(9999, "b.css", "#9999 b.css");
    row(12345, "c.js", "#2345 c.js");  // the last four digits
    row(10000, "d.txt", "#0000 d.txt");
    row(7, "my page.htm", "#   7 my page.htm");
  }
  void entryFormat() {
    QFETCH(qint64, line);
    QFETCH(QString, name);
    QFETCH(QString, entry);
    QCOMPARE(ResultEntry(line, name), entry);
    // Read back, as the main window does to open a hit.
    const std::optional<TSearchHit> hit = ParseResultEntry(entry);
    QVERIFY(hit);
    QCOMPARE(hit->FileName, name);
    QCOMPARE(hit->Line, line % 10000);
  }

  void parseRejectsOtherText() {
    QVERIFY(!ParseResultEntry(""));
    QVERIFY(!ParseResultEntry("#  12 "));
    QVERIFY(!ParseResultEntry("x  12 a.htm"));
    QVERIFY(!ParseResultEntry("#  x2 a.htm"));
    QCOMPARE(ParseResultEntry("#  12   a.htm  ")->FileName, QString("a.htm"));
  }

  void resultsInFileAndLineOrder() {
    WriteBytes(Dir.filePath("a.htm"),
               "x\r\nx\r\nword\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\nword end\r\n");
    WriteBytes(Dir.filePath("b.htm"), "1\n2\n3\n4\n5\n6\nthe word\n");
    WriteBytes(Dir.filePath("c.htm"), "nothing here\r\n");
    // The list's order, not the alphabet's, decides.
    const TAllFilesResult r = Search({"b.htm", "c.htm", "a.htm"}, "word");
    QCOMPARE(HitList(r), QStringList({"b.htm:7", "a.htm:3", "a.htm:10"}));
    QCOMPARE(r.Entries, QStringList({"#   7 b.htm", "#   3 a.htm", "#  10 a.htm"}));
    QVERIFY(r.Failures.empty());
    QVERIFY(!r.Cancelled);
  }

  void lineBreaks_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("hits");
    QTest::newRow("one entry a line")
        << QByteArray("ab ab ab\r\nab\r\n") << QStringList{"f:1", "f:2"};
    QTest::newRow("CR LF, CR, LF") << QByteArray("1\r\n2\r3\n4\n\r6 ab") << QStringList{"f:6"};
    QTest::newRow("LF CR is two") << QByteArray("\n\rab") << QStringList{"f:3"};
    QTest::newRow("after a lone CR") << QByteArray("x\rab\r\rab") << QStringList{"f:2", "f:4"};
    QTest::newRow("last line") << QByteArray("\r\n\r\nab") << QStringList{"f:3"};
    QTest::newRow("line ends") << QByteArray("xab\r\nyab\nab") << QStringList{"f:1", "f:2", "f:3"};
    QTest::newRow("across a break") << QByteArray("a\r\nb") << QStringList();
    QTest::newRow("NUL bytes") << QByteArray("\0\0ab\0", 5) << QStringList{"f:1"};
    QTest::newRow("empty file") << QByteArray() << QStringList();
  }
  void lineBreaks() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, hits);
    WriteBytes(Dir.filePath("f"), bytes);
    QCOMPARE(HitList(Search({"f"}, "ab")), hits);
  }

  void linesPastNineThousand() {
    QByteArray bytes;
    for (int i = 1; i <= 12345; ++i) bytes += i == 12345 || i == 10000 ? "hit\r\n" : "line\r\n";
    WriteBytes(Dir.filePath("long.htm"), bytes);
    QCOMPARE(HitList(Search({"long.htm"}, "hit")),
             QStringList({"long.htm:10000", "long.htm:12345"}));
  }

  void caseFoldsOnlyAToZ() {
    // é and É in UTF-8 and in Windows-1252.
    WriteBytes(Dir.filePath("u.htm"), "Caf\xC3\xA9\nCAF\xC3\x89\ncaf\xC3\xA9\n");
    WriteBytes(Dir.filePath("w.htm"), "Caf\xE9\nCAF\xC9\ncaf\xE9\n");
    const QStringList files = {"u.htm", "w.htm"};
    const QString lower = QString::fromUtf8("caf\xC3\xA9"),
                  upper = QString::fromUtf8("CAF\xC3\x89");
    QCOMPARE(HitList(Search(files, lower)),
             QStringList({"u.htm:1", "u.htm:3", "w.htm:1", "w.htm:3"}));
    QCOMPARE(HitList(Search(files, upper)), QStringList({"u.htm:2", "w.htm:2"}));
    QCOMPARE(HitList(Search(files, lower, true)), QStringList({"u.htm:3", "w.htm:3"}));
    QCOMPARE(HitList(Search(files, "Caf", true)), QStringList({"u.htm:1", "w.htm:1"}));
    // "Ã©" in a Windows-1252 file is not "é", though its bytes are é in UTF-8.
    WriteBytes(Dir.filePath("x.htm"), "caf\xC3\xA9 \x80\n");
    QCOMPARE(HitList(Search({"x.htm"}, lower)), QStringList());
    // A character Windows-1252 lacks is only found in UTF-8 files.
    WriteBytes(Dir.filePath("y.htm"), "\xCE\xA9\n");
    QCOMPARE(HitList(Search({"w.htm", "y.htm"}, QString(QChar(0x3A9)))), QStringList({"y.htm:1"}));
  }

  void patternEdges() {
    WriteBytes(Dir.filePath("t.htm"), "a\tb\r\na b\r\n\r\n");
    QCOMPARE(HitList(Search({"t.htm"}, "a\tb")), QStringList({"t.htm:1"}));
    for (const char* none : {"", "b\r\n", "\n", "\r"})
      QVERIFY(HitList(Search({"t.htm"}, none)).isEmpty());
  }

  void unreadableFilesAreSkippedAndReported() {
    WriteBytes(Dir.filePath("ok1.htm"), "word\n");
    WriteBytes(Dir.filePath("ok2.htm"), "\nword\n");
    QVERIFY(QDir(Dir.path()).mkdir("folder.htm"));
    QCOMPARE(::mkfifo(QFile::encodeName(Dir.filePath("pipe.htm")).constData(), 0600), 0);
    const TAllFilesResult r =
        Search({"ok1.htm", "gone.htm", "folder.htm", "pipe.htm", "ok2.htm"}, "word");
    QCOMPARE(HitList(r), QStringList({"ok1.htm:1", "ok2.htm:2"}));
    QStringList failed;
    for (const TSearchFailure& f : r.Failures)
      failed << f.FileName + (f.Error.isEmpty() ? "" : ":");
    QCOMPARE(failed, QStringList({"gone.htm:", "folder.htm:", "pipe.htm:"}));
    QVERIFY(
        FailuresText(r.Failures).startsWith("gone.htm: No such file or directory\nfolder.htm: "));
    std::vector<TSearchFailure> many(12, {"x.htm", "Gone"});
    QCOMPARE(FailuresText(many).count('\n'), 10);
    QVERIFY(FailuresText(many).endsWith("\nand 2 more"));
    QCOMPARE(FailuresText({}), QString());
  }

  void progressReportsAndCancels() {
    for (const char* name : {"p1", "p2", "p3"}) WriteBytes(Dir.filePath(name), "word\n");
    QList<int> seen;
    const TAllFilesResult all =
        SearchAllFiles(Dir.path(), {"p1", "p2", "p3"}, "word", false, [&](int done, int count) {
          seen << done * 10 + count;
          return true;
        });
    QCOMPARE(seen, QList<int>({13, 23, 33}));
    QVERIFY(!all.Cancelled);
    const TAllFilesResult part = SearchAllFiles(Dir.path(), {"p1", "p2", "p3"}, "word", false,
                                                [](int done, int) { return done < 2; });
    QCOMPARE(HitList(part), QStringList({"p1:1", "p2:1"}));
    QVERIFY(part.Cancelled);
  }

  // The block-wise search and line count against plain loops, over random
  // text with many near misses, at every alignment and both text ends.
  void byteRoutinesMatchReference() {
    std::mt19937 random(7);
    // 0xE1 and 0xC1 differ in the 0x20 bit as a and A do, but no case
    // folds them into each other.
    const char alphabet[] = "abAB\xe1\xc1\r\n x";
    for (int round = 0; round < 300; ++round) {
      // Now and then a long text, past the wide loops' 255-block counters.
      std::string text(random() % (round % 25 == 0 ? 20000 : 90), ' ');
      for (char& c : text) c = alphabet[random() % 10];
      std::string pat(1 + random() % 4, ' ');
      for (char& c : pat) c = alphabet[random() % 3 == 0 ? 8 : random() % 6];
      for (const bool cs : {false, true}) {
        const TBytePattern p(pat, cs);
        std::vector<std::size_t> found;
        for (std::size_t at = p.Find(text.data(), text.size(), 0); at != std::string::npos;
             at = p.Find(text.data(), text.size(), at + 1))
          found.push_back(at);
        QCOMPARE(found, NaiveFind(text, pat, cs));
      }
      const std::size_t from = text.empty() ? 0 : random() % text.size();
      std::size_t expected = 0;
      for (std::size_t i = from; i < text.size(); ++i)
        expected += text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'));
      QCOMPARE(CountLineBreaks(text.data(), from, text.size(), from ? text[from - 1] : 0),
               expected);
      const std::size_t brk = text.find_first_of("\r\n", from);
      QCOMPARE(FindLineBreak(text.data(), text.size(), from),
               brk == std::string::npos ? text.size() : brk);
    }
  }
};

QTEST_APPLESS_MAIN(TestAllFilesSearch)
#include "test_all_files_search.moc"
