#include "doc/edit_file_info.h"
#include "doc/text_codec.h"
#include "components/errors.h"
#include "site/date_func.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestEditFileInfo : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void init();
  void tabSize_data();
  void tabSize();
  void convert_data();
  void convert();
  void loadAndEvents();
  void save_data();
  void save();
  void roundTrip_data();
  void roundTrip();
  void refusesWhatIsNotText();
  void chunkBoundaries();
  void unreadable();
  void failedSave();
  void saveRefusesWhatWouldNotOpen();
  void unencodableCharacter();
  void saveKeepsPermissionsAndLinks();
  void fileDateText();

private:
  QString Path(const QString& name) const { return Dir->filePath(name); }
  std::unique_ptr<QTemporaryDir> Dir;
};

using L = QList<QByteArray>;

static void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  QCOMPARE(f.write(bytes), bytes.size());
}

static QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

static TLines ToLines(const L& list) {
  TLines lines;
  for (const QByteArray& line : list) lines.push_back(line.toStdString());
  return lines;
}

void TestEditFileInfo::init() {
  const QString root = qEnvironmentVariable("QUILLMERE_TEST_TMP", QDir::tempPath());
  QDir().mkpath(root);
  Dir = std::make_unique<QTemporaryDir>(root + "/doc-XXXXXX");
  QVERIFY(Dir->isValid());
}

void TestEditFileInfo::tabSize_data() {
  QTest::addColumn<int>("interval");
  QTest::addColumn<int>("columns");
  for (int i = 0; i <= 3; ++i) QTest::addRow("%d", i) << i << 32;
  QTest::newRow("4") << 4 << 1;
  QTest::newRow("12") << 12 << 3;
  QTest::newRow("negative") << -8 << 32;
}

void TestEditFileInfo::tabSize() {
  QFETCH(int, interval);
  QFETCH(int, columns);
  TEditFileInfo info;
  QCOMPARE(info.TabSize, 32);
  info.SetTabSize(interval);
  QCOMPARE(info.TabSize, columns);
}

void TestEditFileInfo::convert_data() {
  const int tabs = convToTabs, blanks = convToBlanks, none = convNone;
  QTest::addColumn<int>("conversion");
  QTest::addColumn<int>("tab");
  QTest::addColumn<bool>("deleteEmpty");
  QTest::addColumn<L>("lines");
  QTest::addColumn<L>("expected");
  QTest::newRow("to tabs") << tabs << 3 << false << L{"\t\t    x  "} << L{"\t\t\t x"};
  QTest::newRow("to blanks") << blanks << 3 << false << L{"\t x"} << L{"    x"};
  QTest::newRow("tabs count T anywhere") << tabs << 4 << false << L{" \t x"} << L{"\t  x"};
  QTest::newRow("blanks to tabs") << tabs << 4 << false << L{"        x", "    "}
                                  << L{"\t\tx", ""};
  QTest::newRow("above 2 removes indent") << none + 1 << 4 << false << L{"\t  x y "} << L{"x y"};
  QTest::newRow("no indent, trailing cut") << tabs << 4 << false << L{QByteArray("x \t\x02\x1f")}
                                           << L{"x"};
  QTest::newRow("control after indent goes") << tabs << 2 << false << L{"\t\x01x"} << L{"\tx"};
  QTest::newRow("control first: no indent") << tabs << 2 << false << L{"\x01\tx"}
                                            << L{"\x01\tx"};
  QTest::newRow("utf-8 kept") << tabs << 2 << false << L{"  \xC3\xA9\xC2\xA0"}
                              << L{"\t\xC3\xA9\xC2\xA0"};
  QTest::newRow("T 32 to blanks") << blanks << 32 << false << L{"\tx"}
                                  << L{QByteArray(32, ' ') + "x"};
  QTest::newRow("2 keeps all") << none << 3 << false << L{"  a  ", "", "\t"}
                               << L{"  a  ", "", "\t"};
  QTest::newRow("2 drops only empty") << none << 3 << true << L{"  a  ", "", "\t", "", "b"}
                                      << L{"  a  ", "\t", "b"};
  QTest::newRow("0 drops blank lines") << tabs << 3 << true << L{"a", "  ", "", "\t\x01", "b"}
                                       << L{"a", "b"};
  QTest::newRow("1 keeps blank lines empty") << blanks << 3 << false << L{"a", " \t ", "b"}
                                             << L{"a", "", "b"};
}

void TestEditFileInfo::convert() {
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

  // Loading applies the same conversion.
  WriteBytes(Path("c.txt"), lines.join("\r\n") + "\r\n");
  info.Load(Path("c.txt"));
  QCOMPARE(info.Baseline.Lines(), ToLines(expected));
}

void TestEditFileInfo::loadAndEvents() {
  TEditFileInfo info;
  QStringList events;
  info.OnLoaded = [&] { events << "loaded"; };
  info.OnChange = [&] { events << "change"; };
  WriteBytes(Path("a.htm"), "one\r\ntwo");
  info.SetModified(true);
  info.Load(Path("a.htm"));
  QCOMPARE(events, QStringList({"change", "loaded", "change"}));
  QCOMPARE(info.FileName, Path("a.htm"));
  QCOMPARE(info.LineCount(), 2);
  QVERIFY(!info.Modified);
  QCOMPARE(info.Encoding, TTextEncoding::Utf8);

  events.clear();
  info.SetModified(false);
  info.SetModified(false);
  QCOMPARE(events, QStringList({"change", "change"}));

  // A selected file that no longer exists: no file, nothing reported.
  events.clear();
  info.Load(Path("gone.htm"));
  QCOMPARE(info.FileName, QString());
  QCOMPARE(info.LineCount(), 0);
  QCOMPARE(events, QStringList({"loaded", "change"}));
  info.Load(QString());
  QCOMPARE(info.FileName, QString());
  QVERIFY_THROWS_EXCEPTION(EInOutError, info.Save());
}

void TestEditFileInfo::save_data() {
  QTest::addColumn<int>("tab");
  QTest::addColumn<L>("lines");
  QTest::addColumn<QByteArray>("file");
  QTest::newRow("blanks to tab") << 3 << L{"     x"} << QByteArray("\t  x\r\n");
  QTest::newRow("only blanks") << 3 << L{"a", "   ", "b"} << QByteArray("a\r\n\r\nb\r\n");
  QTest::newRow("tabs and blanks kept in order") << 4 << L{" \t    x  "}
                                                 << QByteArray(" \t\tx\r\n");
  QTest::newRow("other lead kept") << 3 << L{"\x01   x"} << QByteArray("\x01\tx\r\n");
  QTest::newRow("inner blanks kept") << 2 << L{"x    y \t"} << QByteArray("x    y\r\n");
  QTest::newRow("T 1") << 1 << L{"  x"} << QByteArray("\t\tx\r\n");
  QTest::newRow("empty document") << 3 << L{} << QByteArray();
  QTest::newRow("empty last line") << 3 << L{"a", ""} << QByteArray("a\r\n\r\n");
}

void TestEditFileInfo::save() {
  QFETCH(int, tab);
  QFETCH(L, lines);
  QFETCH(QByteArray, file);
  TEditFileInfo info;
  WriteBytes(Path("s.htm"), "old\n");
  info.Conversion = convToBlanks;  // saving does not depend on it
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
  // Baseline now holds what was written: restoring brings back the saved text.
  QCOMPARE(info.Baseline.Lines(), SplitLines(std::string_view(file.constData(), file.size())));
}

void TestEditFileInfo::roundTrip_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<bool>("utf8");
  QTest::addColumn<QByteArray>("saved");
  QTest::newRow("utf-8") << QByteArray("h\xC3\xA9llo\r\n\xE2\x82\xAC 5\r\n") << true
                         << QByteArray("h\xC3\xA9llo\r\n\xE2\x82\xAC 5\r\n");
  // NUL bytes only past the head, where they do not mark a binary file.
  QByteArray all = QByteArray(8000, 'a') + "\r\n";
  for (int b = 0; b < 256; ++b)
    if (b != '\r' && b != '\n') all += 'x' + QByteArray(1, char(b)) + "x\r\n";
  QTest::newRow("all bytes") << all << false << all;
  QTest::newRow("windows-1252 text") << QByteArray("caf\xE9 \x80\x81\r\n") << false
                                     << QByteArray("caf\xE9 \x80\x81\r\n");
  const QByteArray late = QByteArray(8000, 'a') + QByteArray("\r\na\0b\r\n", 7);
  QTest::newRow("NUL bytes past the head") << late << true << late;
  QTest::newRow("CR only") << QByteArray("a\rb\r\rc\r") << true
                           << QByteArray("a\r\nb\r\n\r\nc\r\n");
  QTest::newRow("no final break") << QByteArray("a\nb") << true << QByteArray("a\r\nb\r\n");
  QTest::newRow("empty file") << QByteArray() << true << QByteArray();
}

void TestEditFileInfo::roundTrip() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, utf8);
  QFETCH(QByteArray, saved);
  TEditFileInfo info;
  info.Conversion = convNone;
  WriteBytes(Path("t.htm"), bytes);
  info.Load(Path("t.htm"));
  QCOMPARE(info.Encoding, utf8 ? TTextEncoding::Utf8 : TTextEncoding::Windows1252);
  TLines expected = SplitLines(std::string_view(bytes.constData(), bytes.size()));
  if (!utf8)
    for (std::string& line : expected) line = Windows1252ToUtf8(line);
  QCOMPARE(info.Baseline.Lines(), expected);
  info.Save();
  QCOMPARE(ReadBytes(Path("t.htm")), saved);
}

// UTF-16/32 and binary files would be changed by a save: they are not opened.
void TestEditFileInfo::refusesWhatIsNotText() {
  const QList<QPair<QByteArray, QString>> cases = {
      {QByteArray("\xFF\xFEh\0i\0", 6), "a UTF-16 file"},
      {QByteArray("\xFE\xFF\0h\0i", 6), "a UTF-16 file"},
      {QByteArray("\xFF\xFE\0\0h\0\0\0", 8), "a UTF-32 file"},
      {QByteArray("GIF89a\x01\0\x01\0", 10), "not a text file"}};
  for (const auto& [bytes, kind] : cases) {
    WriteBytes(Path("odd.txt"), bytes);
    TEditFileInfo info;
    try {
      info.Load(Path("odd.txt"));
      QFAIL(qPrintable("opened " + kind));
    } catch (const EInOutError& e) {
      QVERIFY2(e.Message.contains(kind), qPrintable(e.Message));
    }
    QVERIFY(info.FileName.isEmpty());
    QCOMPARE(ReadBytes(Path("odd.txt")), bytes);
  }
}

// Files larger than one read: a CR LF pair, a UTF-8 character and a long line
// each cut by a chunk boundary.
void TestEditFileInfo::chunkBoundaries() {
  const qsizetype chunk = 1 << 20;
  QByteArray bytes;
  bytes += QByteArray(chunk - 1 - bytes.size(), 'a') + "\r\n";  // CR ends chunk 1
  bytes += QByteArray(chunk * 2 - 1 - bytes.size(), 'b') + "\xC3\xA9\n";  // é cut in two
  bytes += QByteArray(chunk * 3 + 10, 'c') + "\rd";  // a line longer than a chunk
  WriteBytes(Path("big.htm"), bytes);
  TEditFileInfo info;
  info.Conversion = convNone;
  info.Load(Path("big.htm"));
  QCOMPARE(info.Encoding, TTextEncoding::Utf8);
  QCOMPARE(info.LineCount(), 4);
  QCOMPARE(info.Baseline.Lines(), SplitLines(std::string_view(bytes.constData(), bytes.size())));
  QCOMPARE(info.Baseline.Lines()[0].size(), std::size_t(chunk - 1));
  QCOMPARE(LongestLineBytes(Path("big.htm")), chunk * 3 + 10);
  info.Save();
  QByteArray expected = bytes;
  expected.replace("\xA9\n", "\xA9\r\n").replace("\rd", "\r\nd").append("\r\n");
  QCOMPARE(ReadBytes(Path("big.htm")), expected);

  // One invalid byte far into the file makes the whole file Windows-1252.
  bytes.append("\xE9");
  WriteBytes(Path("big.htm"), bytes);
  info.Load(Path("big.htm"));
  QCOMPARE(info.Encoding, TTextEncoding::Windows1252);
  const std::string second = info.Baseline.Lines()[1];
  QCOMPARE(second.substr(second.size() - 4), std::string("\xC3\x83\xC2\xA9"));
}

void TestEditFileInfo::unreadable() {
  TEditFileInfo info;
  int loaded = 0;
  info.OnLoaded = [&] { ++loaded; };
  WriteBytes(Path("a.htm"), "text\r\n");
  info.Load(Path("a.htm"));

  // A folder: reported, and the previous document is not left behind.
  QDir(Dir->path()).mkdir("folder");
  try {
    info.Load(Path("folder"));
    QFAIL("no error for a folder");
  } catch (const EInOutError& e) {
    QVERIFY2(e.Message.contains("Is a directory") && e.Message.contains("folder"),
             qPrintable(e.Message));
  }
  QCOMPARE(info.FileName, QString());
  QCOMPARE(info.LineCount(), 0);
  QCOMPARE(loaded, 2);

  // A named pipe neither hangs nor loads as an empty document.
  QCOMPARE(::mkfifo(QFile::encodeName(Path("pipe")).constData(), 0600), 0);
  QVERIFY_THROWS_EXCEPTION(EInOutError, info.Load(Path("pipe")));
  QCOMPARE(info.FileName, QString());

  // A file that vanished after it was opened: reported, and a save cannot
  // then write an empty document over a file of that name.
  info.Load(Path("a.htm"));
  QFile::remove(Path("a.htm"));
  try {
    info.Reload();
    QFAIL("no error for a vanished file");
  } catch (const EInOutError& e) {
    QVERIFY2(e.Message.contains("No such file"), qPrintable(e.Message));
  }
  QCOMPARE(info.FileName, QString());
  QCOMPARE(info.LineCount(), 0);
  WriteBytes(Path("a.htm"), "back\r\n");
  QVERIFY_THROWS_EXCEPTION(EInOutError, info.Save());
  QCOMPARE(ReadBytes(Path("a.htm")), QByteArray("back\r\n"));
}

void TestEditFileInfo::failedSave() {
  // The temporary file beside a name of the longest length cannot be made,
  // which fails the save even for root while the old file stays.
  const QString longName = Path(QString(255 - 4, 'n') + ".htm");
  WriteBytes(longName, "old\r\n");
  TEditFileInfo info;
  info.Load(longName);
  info.Baseline = TLines{"new  "};
  info.SetModified(true);
  try {
    info.Save();
    QFAIL("the save did not fail");
  } catch (const EInOutError& e) {
    QVERIFY2(e.Message.startsWith("Cannot write") && e.Message.endsWith("File name too long"),
             qPrintable(e.Message));
  }
  QCOMPARE(ReadBytes(longName), QByteArray("old\r\n"));
  QVERIFY(info.Modified);
  QCOMPARE(info.Baseline.Lines(), TLines({"new  "}));
  QCOMPARE(QDir(Dir->path()).entryList(QDir::Files).size(), 1);

  // The file's folder removed.
  QDir(Dir->path()).mkdir("sub");
  WriteBytes(Path("sub/p.htm"), "old\r\n");
  info.Load(Path("sub/p.htm"));
  info.SetModified(true);
  QVERIFY(QDir(Path("sub")).removeRecursively());
  QVERIFY_THROWS_EXCEPTION(EInOutError, info.Save());
  QVERIFY(info.Modified);
}

void TestEditFileInfo::unencodableCharacter() {
  WriteBytes(Path("w.htm"), "caf\xE9\r\nline\r\n");
  TEditFileInfo info;
  info.Load(Path("w.htm"));
  QCOMPARE(info.Encoding, TTextEncoding::Windows1252);
  info.Baseline = TLines{"caf\xC3\xA9", "a \xE2\x86\x92 b"};  // an arrow typed in
  info.SetModified(true);
  try {
    info.Save();
    QFAIL("the arrow was written");
  } catch (const EInOutError& e) {
    QVERIFY2(e.Message.contains("\u2192") && e.Message.contains("U+2192") &&
                 e.Message.contains("line 2"),
             qPrintable(e.Message));
  }
  QCOMPARE(ReadBytes(Path("w.htm")), QByteArray("caf\xE9\r\nline\r\n"));
  QCOMPARE(QDir(Dir->path()).entryList(QDir::Files), QStringList("w.htm"));
  QVERIFY(info.Modified);

  info.Baseline = TLines{"caf\xC3\xA9", "\xE2\x82\xAC 5"};  // the euro sign has a byte
  info.Save();
  QCOMPARE(ReadBytes(Path("w.htm")), QByteArray("caf\xE9\r\n\x80 5\r\n"));
}

void TestEditFileInfo::saveKeepsPermissionsAndLinks() {
  WriteBytes(Path("real.htm"), "x\r\n");
  const QByteArray real = QFile::encodeName(Path("real.htm"));
  QCOMPARE(::chmod(real.constData(), 0640), 0);
  QVERIFY(QFile::link(Path("real.htm"), Path("link.htm")));
  TEditFileInfo info;
  info.Load(Path("link.htm"));
  info.Baseline = TLines{"y"};
  info.Save();
  QVERIFY(QFileInfo(Path("link.htm")).isSymLink());
  QCOMPARE(ReadBytes(Path("real.htm")), QByteArray("y\r\n"));
  struct stat st {};
  QCOMPARE(::stat(real.constData(), &st), 0);
  QCOMPARE(st.st_mode & 07777, mode_t(0640));
}

void TestEditFileInfo::fileDateText() {
  QTemporaryDir dir;
  const QString name = dir.filePath("dated.html");
  QFile f(name);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write("x\r\n");
  f.close();
  SetFileDate(name, DateTimeStrToDateTime("05-03-2000 00:46"));
  TEditFileInfo info;
  QCOMPARE(info.FileDateText(), QString());
  info.Load(name);
  QCOMPARE(info.FileDateText(), QString("05-03-2000 00:46"));
  info.Load(dir.filePath("gone.html"));
  QCOMPARE(info.FileDateText(), QString());
}

void TestEditFileInfo::saveRefusesWhatWouldNotOpen() {
  // Pages that load, but whose converted lines would begin with the marks
  // of a UTF-16 or binary file (the first found by fuzzing).
  struct TCase {
    QByteArray Bytes;
    std::uint8_t Conversion;
    bool DeleteEmptyLines;
    QString Kind;
  };
  const QList<TCase> cases = {
      {" \xFF\xFE\xE9.\r\n", 3, false, "a UTF-16 file"},
      {"   \n\xFE\xFFx\n", 0, true, "a UTF-16 file"},
      {"a" + QByteArray(8000, ' ') + QByteArray("\nb\0c\n", 5), 0, false, "NUL bytes"}};
  for (const TCase& c : cases) {
    WriteBytes(Path("p.htm"), c.Bytes);
    TEditFileInfo info;
    info.Conversion = c.Conversion;
    info.DeleteEmptyLines = c.DeleteEmptyLines;
    info.Load(Path("p.htm"));
    const TJoinedLines lines = info.Baseline;
    info.SetModified(true);
    try {
      info.Save();
      QFAIL(qPrintable("saved a page that would be " + c.Kind));
    } catch (const EInOutError& e) {
      QVERIFY2(e.Message.contains(c.Kind) && e.Message.contains("Nothing was written"),
               qPrintable(e.Message));
    }
    QCOMPARE(ReadBytes(Path("p.htm")), c.Bytes);
    QCOMPARE(info.Baseline, lines);
    QVERIFY(info.Modified);
  }

  // The same bytes further in are text, and are written.
  WriteBytes(Path("p.htm"), "x\xFF\xFE\r\n");
  TEditFileInfo info;
  info.Load(Path("p.htm"));
  info.Save();
  QCOMPARE(ReadBytes(Path("p.htm")), QByteArray("x\xFF\xFE\r\n"));
}

QTEST_APPLESS_MAIN(TestEditFileInfo)
#include "test_edit_file_info.moc"
