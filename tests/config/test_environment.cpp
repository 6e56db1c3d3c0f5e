#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "components/errors.h"
#include "config/environment.h"
#include "desktop_stub.h"
#include "doc/whitespace_rules.h"
#include "file_bytes.h"

class TestEnvironment : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    QVERIFY(QDir().mkpath(FDir->filePath("bin")));
    qputenv("XDG_CONFIG_HOME", FDir->filePath("config").toLocal8Bit());
    FDesktop = std::make_unique<TDesktopStub>();
  }
  void cleanup() { FDesktop.reset(); }

  // The key table's invariants as a new file shows them: one "Key=value" line
  // per key, WorkingDir first, SyntaxHighlight last, the main window centred.
  void freshFile() {
    const auto e = Create();
    QCOMPARE(e->IniFileName, IniPath());
    QCOMPARE(e->TemplateFileName, '"' + ConfigDir() + "/template.htm\"");
    QCOMPARE(e->WorkingDir, QDir::homePath() + "/");
    QVERIFY(!QFile::exists(IniPath()));  // reading creates nothing
    e->WriteSettings();
    const QList<QByteArray> lines = ReadBytes(IniPath()).split('\n');
    QCOMPARE(lines.size(), 35);
    QCOMPARE(lines.first(), QByteArray("[Settings]"));
    QVERIFY(lines[1].startsWith("WorkingDir=" + QDir::homePath().toUtf8()));
    QCOMPARE(lines[31], QByteArray("SyntaxHighlight=TRUE"));
    for (const char* line : {"Top=184", "Left=156", "Height=400", "Width=712", "TabInterval=12"})
      QVERIFY2(lines.contains(line), line);
  }

  // Each value read and written back through its kind.
  void readValues_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("written");
    const auto row = [](const char* name, const char* line, const char* written) {
      QTest::newRow(name) << QByteArray(line) << QByteArray(written);
    };
    row("only TRUE is true", "SaveSearch=true", "SaveSearch=FALSE");
    row("hex", "TabInterval=0X1f", "TabInterval=31");
    row("hex bit pattern", "CTop=0xFFFFFFFF", "CTop=-1");
    row("bad hex", "TabInterval=0x1g", "TabInterval=12");
    row("too large", "TabInterval=2147483648", "TabInterval=12");
    row("negative", "CTop=-2147483648", "CTop=-2147483648");
    row("plus", "CTop=+7", "CTop=7");
    row("sign alone", "TabInterval=-", "TabInterval=12");
    row("conversion low byte", "AutoConversion=258", "AutoConversion=2");
    row("minimum height", "Height=300", "Height=400");
    row("dir gets separator", "WorkingDir=/srv/site", "WorkingDir=/srv/site/");
    row("empty dir stays", "WorkingDir=", "WorkingDir=");
  }

  void readValues() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, written);
    WriteBytes(IniPath(), "[Tools]\nTabInterval=99\n[sETTINGS]\n" + line + "\n");
    Create()->WriteSettings();
    QVERIFY2(ReadBytes(IniPath()).contains("\n" + written + "\n"), ReadBytes(IniPath()));
  }

  void setCoord() {
    const auto e = Create();  // a screen of 1024 x 768
    e->SetCoord(ciHeight, 399);
    e->SetCoord(ciWidth, 0);
    QCOMPARE(QSize(e->Width, e->Height), QSize(712, 400));
    // Centred on a screen smaller than the window: toward zero, never -1 again.
    FDesktop->Screen = QSize(711, 399);
    e->SetCoord(ciLeft, -1);
    QCOMPARE(e->Left, 0);
    e->SetCoord(ciTop, -1);
    QCOMPARE(e->Top, 0);
    e->SetCoord(ciHWidth, -1);  // a tool window takes any value
    QCOMPARE(e->HWidth, -1);
    e->SetCoord(0, 5);
    e->SetCoord(ciHWidth + 1, 5);
    QCOMPARE(e->HWidth, -1);
    QCOMPARE(e->Top, 0);
  }

  void switchedOffKeysStayInFile() {
    WriteBytes(IniPath(),
               "[Settings]\nSaveSearch=FALSE\nSaveCoord=FALSE\nLastSearch=old\nTop=5\nCWidth=77\n");
    const auto e = Create();
    QCOMPARE(e->Top, 184);
    QCOMPARE(e->CWidth, 0);
    e->LastSearch = "new";
    e->SetCoord(ciCWidth, 20);
    e->WriteSettings();
    const QByteArray file = ReadBytes(IniPath());
    for (const char* line : {"\nLastSearch=old\n", "\nTop=5\n", "\nCWidth=77\n"})
      QVERIFY2(file.contains(line), line);
    QVERIFY(!file.contains("new") && !file.contains("Left="));
    // Switched on again, the old values come back.
    e->SaveSearch = e->SaveCoord = true;
    e->WriteSettings();
    const auto again = Create();
    QCOMPARE(again->LastSearch, QString("new"));
    QCOMPARE(again->CWidth, 20);
  }

  void roundTripKeepsOtherLines() {
    const QByteArray tools = "[Tools]\r\nProg1=Check\r\nCount=1\r\n";
    WriteBytes(IniPath(), "; mine\r\n[settings]\r\nTABINTERVAL=8\r\nOldKey=kept\r\n\r\n" + tools);
    auto e = Create();
    QCOMPARE(e->TabInterval, 8);
    QVERIFY(e->SyntaxHighlight);  // a file from before syntax colouring gets it on
    e->SyntaxHighlight = false;
    e->LastSearch = QString::fromUtf8("<h1>€");
    e->AutoConversion = convNone;
    e->TabInterval = 16;
    e->CaseSensitive = e->HTMLOpen = true;
    e->DelEmptyLines = false;
    e->SetCoord(ciHTop, 33);
    e->WriteSettings();
    const QByteArray file = ReadBytes(IniPath());
    QVERIFY(
        file.startsWith("; mine\r\n[settings]\r\nTABINTERVAL=16\r\nOldKey=kept\r\nWorkingDir="));
    QVERIFY(
        file.endsWith("\r\nSyntaxHighlight=FALSE\r\nCheckIndexPages=index.html;index.htm;"
                      "default.htm;default.html\r\nCheckImageLimit=200\r\n\r\n" +
                      tools));
    const auto back = Create();
    QCOMPARE(back->LastSearch, QString::fromUtf8("<h1>€"));
    QCOMPARE(back->AutoConversion, convNone);
    QVERIFY(back->CaseSensitive && back->HTMLOpen && !back->DelEmptyLines &&
            !back->SyntaxHighlight);
    QCOMPARE(back->HTop, 33);
    // Read and written again unchanged, the file stays byte for byte the same.
    back->WriteSettings();
    QCOMPARE(ReadBytes(IniPath()), file);
  }

  void writeFailures() {
    // The settings file's place taken by a folder: refused even for the super-user.
    QVERIFY(QDir().mkpath(IniPath()));
    try {
      Create()->WriteSettings();
      QFAIL("no error");
    } catch (const EInOutError& err) {
      QCOMPARE(err.Message, "Unable to write to " + IniPath());
    }
  }

  void portableAndShippedFiles() {
    // Installed: the data folder beside bin/.
    WriteBytes(FDir->filePath("share/quillmere/template.htm"), "installed");
    QCOMPARE(Create()->HelpFileName, FDir->filePath("share/quillmere/quillmere.htm"));
    QCOMPARE(ReadBytes(ConfigDir() + "/template.htm"), QByteArray("installed"));
    QVERIFY(QFile::remove(ConfigDir() + "/template.htm"));

    // A build tree: beside the program. The first start copies the shipped
    // template; later starts keep the user's.
    WriteBytes(FDir->filePath("bin/template.htm"), "shipped");
    WriteBytes(FDir->filePath("bin/quillmere.htm"), "help");
    QCOMPARE(Create()->HelpFileName, FDir->filePath("bin/quillmere.htm"));
    QCOMPARE(ReadBytes(ConfigDir() + "/template.htm"), QByteArray("shipped"));
    WriteBytes(ConfigDir() + "/template.htm", "mine");
    Create();
    QCOMPARE(ReadBytes(ConfigDir() + "/template.htm"), QByteArray("mine"));

    // A settings file beside the program keeps everything there.
    WriteBytes(FDir->filePath("bin/quillmere.ini"), "[Settings]\nTabInterval=20\n");
    const auto e = Create();
    QCOMPARE(e->IniFileName, FDir->filePath("bin/quillmere.ini"));
    QCOMPARE(e->TemplateFileName, '"' + FDir->filePath("bin/template.htm") + '"');
    QCOMPARE(e->TabInterval, 20);
    QCOMPARE(ReadBytes(FDir->filePath("bin/template.htm")), QByteArray("shipped"));
  }

 private:
  QString ConfigDir() const { return FDir->filePath("config/quillmere"); }
  QString IniPath() const { return ConfigDir() + "/quillmere.ini"; }
  QString Program() const { return FDir->filePath("bin/quillmere"); }
  std::unique_ptr<TQMEEnvironment> Create() { return std::make_unique<TQMEEnvironment>(Program()); }

  std::unique_ptr<QTemporaryDir> FDir;
  std::unique_ptr<TDesktopStub> FDesktop;
};

QTEST_GUILESS_MAIN(TestEnvironment)
#include "test_environment.moc"
