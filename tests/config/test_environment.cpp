#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "file_bytes.h"
#include <memory>

#include "doc/whitespace_rules.h"
#include "components/errors.h"
#include "config/environment.h"
#include "desktop_stub.h"

namespace {

// The fields the read tests look at, as text.
QString FieldText(const TQMEEnvironment& e, const QString& name) {
  const QHash<QString, QString> fields = {
      {"WorkingDir", e.WorkingDir},
      {"LastSearch", e.LastSearch},
      {"Replace", e.Replace},
      {"CaseSensitive", e.CaseSensitive ? "true" : "false"},
      {"QueryReplace", e.QueryReplace ? "true" : "false"},
      {"TabInterval", QString::number(e.TabInterval)},
      {"FileMask", e.FileMask},
      {"SaveSearch", e.SaveSearch ? "true" : "false"},
      {"HTMLOpen", e.HTMLOpen ? "true" : "false"},
      {"AutoConversion", QString::number(e.AutoConversion)},
      {"Top", QString::number(e.Top)},
      {"Left", QString::number(e.Left)},
      {"Height", QString::number(e.Height)},
      {"Width", QString::number(e.Width)},
      {"CTop", QString::number(e.CTop)},
      {"HWidth", QString::number(e.HWidth)},
      {"RemoteRoot", e.RemoteRoot},
  };
  return fields.value(name, "<no such field>");
}

}  // namespace

class TestEnvironment : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup() { FDesktop.reset(); }
  void freshStart();
  void freshFileKeyOrder();
  void readValues_data();
  void readValues();
  void setCoord_data();
  void setCoord();
  void switchedOffKeysStayInFile();
  void roundTripKeepsOtherLines();
  void writeFailures();
  void portableAndShippedFiles();
  void workingDirSeparator_data();
  void workingDirSeparator();

 private:
  QString ConfigDir() const { return FDir->filePath("config/quillmere"); }
  QString IniPath() const { return ConfigDir() + "/quillmere.ini"; }
  QString Program() const { return FDir->filePath("bin/quillmere"); }
  std::unique_ptr<TQMEEnvironment> Create() { return std::make_unique<TQMEEnvironment>(Program()); }

  std::unique_ptr<QTemporaryDir> FDir;
  std::unique_ptr<TDesktopStub> FDesktop;
};

void TestEnvironment::init() {
  FDir = std::make_unique<QTemporaryDir>();
  QVERIFY(FDir->isValid());
  QVERIFY(QDir().mkpath(FDir->filePath("bin")));
  qputenv("XDG_CONFIG_HOME", FDir->filePath("config").toLocal8Bit());
  FDesktop = std::make_unique<TDesktopStub>();
}

void TestEnvironment::freshStart() {
  const auto e = Create();
  QCOMPARE(e->IniFileName, IniPath());
  QCOMPARE(e->TemplateFileName, '"' + ConfigDir() + "/template.htm\"");
  QCOMPARE(e->HelpFileName, FDir->filePath("share/quillmere/quillmere.htm"));
  QCOMPARE(e->WorkingDir, QDir::homePath() + "/");
  // The other defaults show in freshFileKeyOrder. Reading creates nothing.
  QVERIFY(!QFile::exists(IniPath()));
}

void TestEnvironment::freshFileKeyOrder() {
  const auto e = Create();
  e->SetWorkingDir("/srv/site");
  e->WriteSettings();
  const QByteArray expected =
      "[Settings]\nWorkingDir=/srv/site/\nSaveSearch=TRUE\nSaveCoord=TRUE\nDelEmptyLines=TRUE\n"
      "AutoConversion=0\nLastSearch=\nReplace=\nCaseSensitive=FALSE\nQueryReplace=TRUE\n"
      "TabInterval=12\nFileMask=*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;\n"
      "Top=184\nLeft=156\nHeight=400\nWidth=712\nRTop=0\nRLeft=0\nRHeight=0\nRWidth=0\n"
      "HTop=0\nHLeft=0\nHHeight=0\nHWidth=0\nCTop=0\nCLeft=0\nCHeight=0\nCWidth=0\n"
      "HTMLOpen=FALSE\nSpecCharOpen=FALSE\nRemoteRoot=http://www.\nSyntaxHighlight=TRUE\n";
  QCOMPARE(ReadBytes(IniPath()), expected);
}

void TestEnvironment::readValues_data() {
  QTest::addColumn<QByteArray>("lines");
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("expected");
  QTest::newRow("TRUE") << QByteArray("HTMLOpen=TRUE") << "HTMLOpen"
                        << "true";
  QTest::newRow("true reads false") << QByteArray("SaveSearch=true") << "SaveSearch"
                                    << "false";
  QTest::newRow("1 reads false") << QByteArray("QueryReplace=1") << "QueryReplace"
                                 << "false";
  QTest::newRow("quoted TRUE") << QByteArray("CaseSensitive=\"TRUE\"") << "CaseSensitive"
                               << "true";
  QTest::newRow("hex") << QByteArray("TabInterval=0x10") << "TabInterval"
                       << "16";
  QTest::newRow("upper hex") << QByteArray("TabInterval=0X1f") << "TabInterval"
                             << "31";
  QTest::newRow("hex bit pattern") << QByteArray("CTop=0xFFFFFFFF") << "CTop"
                                   << "-1";
  QTest::newRow("bare 0x") << QByteArray("TabInterval=0x") << "TabInterval"
                           << "12";
  QTest::newRow("bad hex") << QByteArray("TabInterval=0x1g") << "TabInterval"
                           << "12";
  QTest::newRow("not a number") << QByteArray("TabInterval=abc") << "TabInterval"
                                << "12";
  QTest::newRow("too large") << QByteArray("TabInterval=2147483648") << "TabInterval"
                             << "12";
  QTest::newRow("negative") << QByteArray("CTop=-2147483648") << "CTop"
                            << "-2147483648";
  QTest::newRow("blanks round number") << QByteArray("TabInterval=  19 ") << "TabInterval"
                                       << "19";
  QTest::newRow("conversion low byte") << QByteArray("AutoConversion=258") << "AutoConversion"
                                       << "2";
  QTest::newRow("conversion above 2") << QByteArray("AutoConversion=3") << "AutoConversion"
                                      << "3";
  QTest::newRow("conversion -1") << QByteArray("AutoConversion=-1") << "AutoConversion"
                                 << "255";
  QTest::newRow("minimum height") << QByteArray("Height=300") << "Height"
                                  << "400";
  QTest::newRow("minimum width") << QByteArray("Width=500") << "Width"
                                 << "712";
  QTest::newRow("top -1 centres with height then") << QByteArray("Top=-1\nHeight=600") << "Top"
                                                   << "184";
  QTest::newRow("left -1 centres") << QByteArray("Left=-1\nWidth=900") << "Left"
                                   << "156";
  QTest::newRow("tool window") << QByteArray("HWidth=321") << "HWidth"
                               << "321";
  QTest::newRow("no coordinates") << QByteArray("SaveCoord=FALSE\nTop=5") << "Top"
                                  << "184";
  QTest::newRow("no search texts") << QByteArray("SaveSearch=FALSE\nLastSearch=x") << "LastSearch"
                                   << "";
  QTest::newRow("blanks removed") << QByteArray("LastSearch=  <p>  ") << "LastSearch"
                                  << "<p>";
  QTest::newRow("quotes removed") << QByteArray("LastSearch=\" <p> \"") << "LastSearch"
                                  << " <p> ";
  QTest::newRow("utf-8") << QByteArray("LastSearch=\xE2\x82\xAC") << "LastSearch"
                         << QString::fromUtf8("€");
  QTest::newRow("dir gets separator") << QByteArray("WorkingDir=/srv/site") << "WorkingDir"
                                      << "/srv/site/";
  QTest::newRow("empty dir stays") << QByteArray("WorkingDir=") << "WorkingDir"
                                   << "";
  QTest::newRow("remote root") << QByteArray("RemoteRoot=https://example.org/") << "RemoteRoot"
                               << "https://example.org/";
}

void TestEnvironment::readValues() {
  QFETCH(QByteArray, lines);
  QFETCH(QString, field);
  QFETCH(QString, expected);
  WriteBytes(IniPath(), "[Tools]\nTabInterval=99\n[sETTINGS]\r\n" + lines + "\r\n");
  QCOMPARE(FieldText(*Create(), field), expected);
}

void TestEnvironment::setCoord_data() {
  QTest::addColumn<QSize>("screen");
  QTest::addColumn<QList<int>>("calls");  // index, value, index, value ...
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("expected");
  const QSize xga(1024, 768);
  QTest::newRow("height minimum") << xga << QList<int>{ciHeight, 399} << "Height"
                                  << "400";
  QTest::newRow("width minimum") << xga << QList<int>{ciWidth, 0} << "Width"
                                 << "712";
  QTest::newRow("top -1 centred") << xga << QList<int>{ciHeight, 600, ciTop, -1} << "Top"
                                  << "84";
  QTest::newRow("left -1 centred") << xga << QList<int>{ciWidth, 1000, ciLeft, -1} << "Left"
                                   << "12";
  QTest::newRow("odd screen truncates") << QSize(1023, 767) << QList<int>{ciTop, -1} << "Top"
                                        << "183";
  QTest::newRow("toward zero") << QSize(711, 399) << QList<int>{ciLeft, -1} << "Left"
                               << "0";
  QTest::newRow("tool window any value") << xga << QList<int>{ciHWidth, -1} << "HWidth"
                                         << "-1";
  QTest::newRow("index 0 ignored") << xga << QList<int>{0, 5} << "Top"
                                   << "184";
  QTest::newRow("index 17 ignored") << xga << QList<int>{ciHWidth + 1, 5} << "HWidth"
                                    << "0";
}

void TestEnvironment::setCoord() {
  QFETCH(QSize, screen);
  QFETCH(QList<int>, calls);
  QFETCH(QString, field);
  QFETCH(QString, expected);
  const auto e = Create();
  FDesktop->Screen = screen;
  for (int i = 0; i + 1 < calls.size(); i += 2) e->SetCoord(calls[i], calls[i + 1]);
  QCOMPARE(FieldText(*e, field), expected);
}

void TestEnvironment::switchedOffKeysStayInFile() {
  WriteBytes(IniPath(),
             "[Settings]\nSaveSearch=FALSE\nSaveCoord=FALSE\nLastSearch=old\nReplace=older\n"
             "Top=5\nCWidth=77\n");
  const auto e = Create();
  QCOMPARE(e->Top, 184);
  QCOMPARE(e->CWidth, 0);
  e->LastSearch = "new";
  e->SetCoord(ciTop, 10);
  e->SetCoord(ciCWidth, 20);
  e->WriteSettings();
  const QByteArray file = ReadBytes(IniPath());
  for (const char* line : {"\nLastSearch=old\n", "\nReplace=older\n", "\nTop=5\n", "\nCWidth=77\n",
                           "\nSaveSearch=FALSE\n", "\nSaveCoord=FALSE\n"})
    QVERIFY2(file.contains(line), line);
  QVERIFY(!file.contains("new") && !file.contains("Left="));
  // Switched on again, the old values come back.
  e->SaveSearch = e->SaveCoord = true;
  e->WriteSettings();
  const auto again = Create();
  QCOMPARE(again->LastSearch, QString("new"));
  QCOMPARE(again->Top, 10);
  QCOMPARE(again->CWidth, 20);
}

void TestEnvironment::roundTripKeepsOtherLines() {
  const QByteArray tools = "[Tools]\r\nProg1=Check\r\nPath1=/usr/bin/tidy\r\nCount=1\r\n";
  WriteBytes(IniPath(), "; mine\r\n[settings]\r\nTABINTERVAL=8\r\nOldKey=kept\r\n\r\n" + tools);
  auto e = Create();
  QCOMPARE(e->TabInterval, 8);
  // A file from before syntax colouring gets it on, and the key at the end
  // of its section.
  QVERIFY(e->SyntaxHighlight);
  e->SyntaxHighlight = false;
  e->LastSearch = QString::fromUtf8(" <h1>€ ");
  e->Replace = "\"x\"";
  e->AutoConversion = convNone;
  e->TabInterval = 16;
  e->CaseSensitive = e->HTMLOpen = true;
  e->DelEmptyLines = false;
  e->SetCoord(ciHTop, 33);
  e->WriteSettings();
  const QByteArray file = ReadBytes(IniPath());
  QVERIFY(file.startsWith("; mine\r\n[settings]\r\nTABINTERVAL=16\r\nOldKey=kept\r\nWorkingDir="));
  QVERIFY(file.endsWith("RemoteRoot=http://www.\r\nSyntaxHighlight=FALSE\r\n\r\n" + tools));
  const auto back = Create();
  // Blanks at the ends are not kept; a quoted value loses its quotes.
  QCOMPARE(back->LastSearch, QString::fromUtf8("<h1>€"));
  QCOMPARE(back->Replace, QString("x"));
  QCOMPARE(back->AutoConversion, convNone);
  QVERIFY(back->CaseSensitive && back->HTMLOpen && !back->DelEmptyLines && !back->SyntaxHighlight);
  QCOMPARE(back->HTop, 33);
  // Read and written again unchanged, the file stays byte for byte the same.
  back->WriteSettings();
  const QByteArray second = ReadBytes(IniPath());
  Create()->WriteSettings();
  QCOMPARE(ReadBytes(IniPath()), second);
}

void TestEnvironment::writeFailures() {
  // The settings file's place taken by a folder: refused even for the super-user.
  QVERIFY(QDir().mkpath(IniPath()));
  auto e = Create();
  try {
    e->WriteSettings();
    QFAIL("no error");
  } catch (const EInOutError& err) {
    QCOMPARE(err.Message, "Unable to write to " + IniPath());
  }
  // The configuration folder's place taken by a file.
  WriteBytes(FDir->filePath("blocker"), "x");
  qputenv("XDG_CONFIG_HOME", FDir->filePath("blocker").toLocal8Bit());
  e = Create();
  QCOMPARE(e->IniFileName, FDir->filePath("blocker/quillmere/quillmere.ini"));
  QVERIFY_THROWS_EXCEPTION(EInOutError, e->WriteSettings());
  QCOMPARE(ReadBytes(FDir->filePath("blocker")), QByteArray("x"));
}

void TestEnvironment::portableAndShippedFiles() {
  // Installed: the data folder beside bin/.
  WriteBytes(FDir->filePath("share/quillmere/template.htm"), "installed");
  QCOMPARE(Create()->HelpFileName, FDir->filePath("share/quillmere/quillmere.htm"));
  QCOMPARE(ReadBytes(ConfigDir() + "/template.htm"), QByteArray("installed"));
  QVERIFY(QFile::remove(ConfigDir() + "/template.htm"));

  // A build tree: beside the program.
  const QByteArray shipped = "<html><!-- shipped --></html>\r\n";
  WriteBytes(FDir->filePath("bin/template.htm"), shipped);
  WriteBytes(FDir->filePath("bin/quillmere.htm"), "help");
  auto e = Create();
  QCOMPARE(e->HelpFileName, FDir->filePath("bin/quillmere.htm"));
  // The first start copies the shipped template; later starts keep the user's.
  QCOMPARE(ReadBytes(ConfigDir() + "/template.htm"), shipped);
  WriteBytes(ConfigDir() + "/template.htm", "mine");
  e = Create();
  QCOMPARE(ReadBytes(ConfigDir() + "/template.htm"), QByteArray("mine"));

  // A settings file beside the program keeps everything there.
  WriteBytes(FDir->filePath("bin/quillmere.ini"), "[Settings]\nTabInterval=20\n");
  e = Create();
  QCOMPARE(e->IniFileName, FDir->filePath("bin/quillmere.ini"));
  QCOMPARE(e->TemplateFileName, '"' + FDir->filePath("bin/template.htm") + '"');
  QCOMPARE(e->TabInterval, 20);
  e->WriteSettings();
  QVERIFY(ReadBytes(FDir->filePath("bin/quillmere.ini")).contains("\nRemoteRoot="));
  QCOMPARE(ReadBytes(FDir->filePath("bin/template.htm")), shipped);
}

void TestEnvironment::workingDirSeparator_data() {
  QTest::addColumn<QString>("dir");
  QTest::addColumn<QString>("expected");
  QTest::newRow("empty stays empty") << ""
                                     << "";
  QTest::newRow("appended") << "/srv/site"
                            << "/srv/site/";
  QTest::newRow("kept") << "/srv/site/"
                        << "/srv/site/";
  QTest::newRow("root") << "/"
                        << "/";
  QTest::newRow("backslash is a letter here") << "/srv/a\\"
                                              << "/srv/a\\/";
}

void TestEnvironment::workingDirSeparator() {
  QFETCH(QString, dir);
  QFETCH(QString, expected);
  const auto e = Create();
  e->SetWorkingDir(dir);
  QCOMPARE(e->WorkingDir, expected);
}

QTEST_GUILESS_MAIN(TestEnvironment)
#include "test_environment.moc"
