#include <QTemporaryDir>
#include <QTest>

#include "components/date_func.h"
#include "components/errors.h"
#include "components/text_codec.h"
#include "doc/edit_file_info.h"
#include "file_bytes.h"

using L = QList<QByteArray>;

static TLines ToLines(const L& list) {
  TLines lines;
  for (const QByteArray& line : list) lines.push_back(line.toStdString());
  return lines;
}

static TLines Split(const QByteArray& bytes) {
  return SplitLines(std::string_view(bytes.constData(), bytes.size()));
}

#define QUILLMERE_THROWS_WITH(call, ...)                         \
  try {                                                          \
    call;                                                        \
    QFAIL("no error: " #call);                                   \
  } catch (const EInOutError& e) {                               \
    for (const QString& part : QStringList{__VA_ARGS__})         \
      QVERIFY2(e.Message.contains(part), qPrintable(e.Message)); \
  }

class TestEditFileInfo : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { QVERIFY(Dir.isValid()); }

  void tabSize() {
    TEditFileInfo info;
    for (const auto& [interval, columns] : {std::pair{3, 32}, {4, 1}, {12, 3}, {-8, 32}}) {
      info.SetTabSize(interval);
      QCOMPARE(info.TabSize, columns);
    }
  }

  void convert_data() {
    const int tabs = convToTabs, blanks = convToBlanks, none = convNone;
    QTest::addColumn<int>("conversion");
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("deleteEmpty");
    QTest::addColumn<L>("lines");
    QTest::addColumn<L>("expected");
    QTest::newRow("to blanks") << blanks << 3 << false << L{"\t x", " \t "} << L{"    x", ""};
    // Tabs count T wherever they stand; bytes above 127 are not blanks.
    QTest::newRow("to tabs") << tabs << 4 << false
                             << L{" \t x  ", "        x", "    ", QByteArray("x \t\x02\x1f")}
                             << L{"\t  x", "\t\tx", "", "x"};
    QTest::newRow("above 2 removes indent") << none + 1 << 4 << false << L{"\t  x y "} << L{"x y"};
    QTest::newRow("control chars, utf-8")
        << tabs << 2 << false << L{"\t\x01x", "  \xC3\xA9\xC2\xA0"}
        << L{"\tx", "\t\xC3\xA9\xC2\xA0"};
    QTest::newRow("unchanged") << tabs << 2 << false << L{"\x01\tx"} << L{"\x01\tx"};
    QTest::newRow("2 drops only empty")
        << none << 3 << true << L{"  a  ", "", "\t", "", "b"} << L{"  a  ", "\t", "b"};
    QTest::newRow("0 drops blank lines")
        << tabs << 3 << true << L{"a", "  ", "", "\t\x01", "b"} << L{"a", "b"};
  }

  void convert() {
    QFETCH(int, conversion);
    QFETCH(int, tab);
    QFETCH(bool, deleteEmpty);
    QFETCH(L, lines);
    QFETCH(L, expected);
    TEditFileInfo info;
    info.Conversion = std::uint8_t(conversion);
    info.TabSize = tab;
    info.DeleteEmptyLines = deleteEmpty;
    TLines converted = ToLines(lines);
    QCOMPARE(info.Convert(converted), lines != expected);
    QCOMPARE(converted, ToLines(expected));
    WriteBytes(Path("c.txt"), lines.join("\r\n") + "\r\n");
    info.Load(Path("c.txt"));
    QCOMPARE(info.Baseline.Lines(), ToLines(expected));
  }

  void loadAndEvents() {
    TEditFileInfo info;
    QStringList events;
    info.OnLoaded = [&] { events << "loaded"; };
    info.OnChange = [&] { events << "change"; };
    WriteBytes(Path("a.htm"), "one\r\ntwo");
    SetFileDate(Path("a.htm"), DateTimeStrToDateTime("05-03-2000 00:46"));
    QVERIFY(!info.Modified);
    info.SetModified(true);
    info.Load(Path("a.htm"));
    QCOMPARE(events, QStringList({"change", "loaded", "change"}));
    QCOMPARE(info.FileName, Path("a.htm"));
    QCOMPARE(info.LineCount(), 2);
    QCOMPARE(info.FileDateText(), QString("05-03-2000 00:46"));
    QVERIFY(!info.Modified);
    // A file that no longer exists: no file, nothing reported.
    events.clear();
    info.Load(Path("gone.htm"));
    QCOMPARE(info.FileName, QString());
    QCOMPARE(info.LineCount(), 0);
    QCOMPARE(info.FileDateText(), QString());
    QCOMPARE(events, QStringList({"loaded", "change"}));
    QVERIFY_THROWS_EXCEPTION(EInOutError, info.Save());
  }

  // Where a line of the file stands once the empty lines before it were
  // dropped, across several 64-line words.
  void loadedLine() {
    QByteArray bytes;
    for (int line = 1; line <= 140; ++line) bytes += QByteArray(line % 3 ? "x" : "") + "\r\n";
    WriteBytes(Path("e.htm"), bytes);
    TEditFileInfo info;
    info.DeleteEmptyLines = true;
    info.Load(Path("e.htm"));
    for (qint64 line = 1, kept = 0; line <= 140; ++line)
      if (line % 3) QCOMPARE(info.LoadedLine(line), ++kept);
    // A hit from a file that grew since: past the last word of the record.
    QCOMPARE(info.LoadedLine(1000), 1000 - 46);
  }

  void save_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<L>("lines");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("blanks to tab")
        << 3 << L{"     x", "   ", "x    y \t", ""} << QByteArray("\t  x\r\n\r\nx    y\r\n\r\n");
    QTest::newRow("other lead kept in order")
        << 4 << L{" \t    x  ", "\x01    x"} << QByteArray(" \t\tx\r\n\x01\tx\r\n");
    QTest::newRow("empty document") << 3 << L{} << QByteArray();
  }

  void save() {
    QFETCH(int, tab);
    QFETCH(L, lines);
    QFETCH(QByteArray, file);
    TEditFileInfo info;
    WriteBytes(Path("s.htm"), "old\n");
    info.Load(Path("s.htm"));
    info.TabSize = tab;
    info.Baseline = ToLines(lines);
    info.SetModified(true);
    int changes = 0;
    info.OnChange = [&] { ++changes; };
    info.Save();
    QCOMPARE(ReadBytes(Path("s.htm")), file);
    QCOMPARE(changes, 1);
    QVERIFY(!info.Modified);
    QCOMPARE(info.Baseline.Lines(), Split(file));
  }

  void roundTrip_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("utf8");
    QTest::addColumn<QByteArray>("saved");
    QByteArray all = QByteArray(8000, 'a') + "\r\n";
    for (int b = 0; b < 256; ++b)
      if (b != '\r' && b != '\n') all += 'x' + QByteArray(1, char(b)) + "x\r\n";
    QTest::newRow("all bytes") << all << false << all;
    const QByteArray late = QByteArray(7998, 'a') + QByteArray("\r\n\0b\r\n", 6);
    QTest::newRow("NUL just past the head") << late << true << late;
    QTest::newRow("CR, LF, no final break")
        << QByteArray("a\rb\r\rc\nd") << true << QByteArray("a\r\nb\r\n\r\nc\r\nd\r\n");
  }

  void roundTrip() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, utf8);
    QFETCH(QByteArray, saved);
    TEditFileInfo info;
    info.Conversion = convNone;
    WriteBytes(Path("t.htm"), bytes);
    info.Load(Path("t.htm"));
    QCOMPARE(info.Encoding, utf8 ? TTextEncoding::Utf8 : TTextEncoding::Windows1252);
    TLines expected = Split(bytes);
    if (!utf8)
      for (std::string& line : expected) line = Windows1252ToUtf8(line);
    QCOMPARE(info.Baseline.Lines(), expected);
    info.Save();
    QCOMPARE(ReadBytes(Path("t.htm")), saved);
  }

  // A CR LF pair, a UTF-8 character and a long line each cut by a chunk boundary.
  void chunkBoundaries() {
    const qsizetype chunk = 1 << 20;
    QByteArray bytes = QByteArray(chunk - 1, 'a') + "\r\n";
    bytes += QByteArray(chunk * 2 - 1 - bytes.size(), 'b') + "\xC3\xA9\n";
    bytes += QByteArray(chunk * 3 + 10, 'c') + "\rd";
    WriteBytes(Path("big.htm"), bytes);
    TEditFileInfo info;
    info.Conversion = convNone;
    info.Load(Path("big.htm"));
    QCOMPARE(info.Encoding, TTextEncoding::Utf8);
    QCOMPARE(info.Baseline.Lines(), Split(bytes));
    QCOMPARE(info.LongestLine(), chunk * 3 + 10);
    info.Save();
    QByteArray expected = bytes;
    expected.replace("\xA9\n", "\xA9\r\n").replace("\rd", "\r\nd").append("\r\n");
    QCOMPARE(ReadBytes(Path("big.htm")), expected);
    // One invalid byte far into the file makes the whole file Windows-1252.
    WriteBytes(Path("big.htm"), bytes + "\xE9");
    info.Load(Path("big.htm"));
    QCOMPARE(info.Encoding, TTextEncoding::Windows1252);
    const std::string second = info.Baseline.Lines()[1];
    QCOMPARE(second.substr(second.size() - 4), std::string("\xC3\x83\xC2\xA9"));
  }

  void unreadable() {
    TEditFileInfo info;
    int loaded = 0;
    info.OnLoaded = [&] { ++loaded; };
    WriteBytes(Path("a.htm"), "text\r\n");
    info.Load(Path("a.htm"));
    QDir(Dir.path()).mkdir("folder");
    QUILLMERE_THROWS_WITH(info.Load(Path("folder")), "Is a directory", "folder");
    QCOMPARE(info.FileName, QString());
    QCOMPARE(loaded, 2);
    QCOMPARE(::mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);
    QVERIFY_THROWS_EXCEPTION(EInOutError, info.Load(Path("pipe")));
    QCOMPARE(info.FileName, QString());
    // Vanished after it was opened: a save cannot then write an empty document.
    info.Load(Path("a.htm"));
    QFile::remove(Path("a.htm"));
    QUILLMERE_THROWS_WITH(info.Reload(), "No such file");
    QCOMPARE(info.FileName, QString());
    QCOMPARE(info.LineCount(), 0);
    WriteBytes(Path("a.htm"), "back\r\n");
    QVERIFY_THROWS_EXCEPTION(EInOutError, info.Save());
    QCOMPARE(ReadBytes(Path("a.htm")), QByteArray("back\r\n"));
  }

  // A character Windows-1252 has no byte for: nothing written or changed.
  void failedSaveChangesNothing() {
    TEditFileInfo info;
    WriteBytes(Path("w.htm"), "caf\xE9\r\nline\r\n");
    info.Load(Path("w.htm"));
    info.Baseline = TLines{"caf\xC3\xA9", "a \xE2\x86\x92 b"};  // an arrow typed in
    info.SetModified(true);
    QUILLMERE_THROWS_WITH(info.Save(), "\u2192", "U+2192", "line 2");
    QCOMPARE(ReadBytes(Path("w.htm")), QByteArray("caf\xE9\r\nline\r\n"));
    QVERIFY(info.Modified);
    QCOMPARE(info.Baseline.Lines()[1], std::string("a \xE2\x86\x92 b"));
  }

  // UTF-16/32 and binary files would be changed by a save: they are not
  // opened. Loaded pages whose converted lines would look so are not saved.
  void refusesWhatIsNotText() {
    const struct {
      QByteArray bytes;
      const char* kind;
      bool loads;
    } cases[] = {{QByteArray("\xFF\xFEh\0i\0", 6), "a UTF-16 file", false},
                 {QByteArray("\xFE\xFF\0h\0i", 6), "a UTF-16 file", false},
                 {QByteArray("\xFF\xFE\0\0h\0\0\0", 8), "a UTF-32 file", false},
                 {QByteArray("GIF89a\x01\0\x01\0", 10), "not a text file", false},
                 {"   \n\xFE\xFFx\n", "a UTF-16 file", true},
                 {"a" + QByteArray(8000, ' ') + QByteArray("\nb\0c\n", 5), "NUL bytes", true}};
    for (const auto& c : cases) {
      WriteBytes(Path("odd.htm"), c.bytes);
      TEditFileInfo info;
      info.DeleteEmptyLines = true;
      if (!c.loads) {
        QUILLMERE_THROWS_WITH(info.Load(Path("odd.htm")), c.kind);
        QVERIFY(info.FileName.isEmpty());
        continue;
      }
      info.Load(Path("odd.htm"));
      info.SetModified(true);
      QUILLMERE_THROWS_WITH(info.Save(), c.kind, "Nothing was written");
      QCOMPARE(ReadBytes(Path("odd.htm")), c.bytes);
      QVERIFY(info.Modified);
    }
  }

 private:
  QString Path(const QString& name) const { return Dir.filePath(name); }
  QTemporaryDir Dir;
};

QTEST_APPLESS_MAIN(TestEditFileInfo)
#include "test_edit_file_info.moc"
