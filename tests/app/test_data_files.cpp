#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_table.h"
#include "doc/edit_file_info.h"
#include "app/web_links.h"

// Checks the files shipped beside the program: the help page and the
// template for new pages.
class TestDataFiles : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void helpPageNamesEveryCommand();
  void templateIsAStartingPage();
  void templateSurvivesLoadAndSave_data();
  void templateSurvivesLoadAndSave();
};

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString DataFile(const char* name) {
  return QFINDTESTDATA(QStringLiteral("../../data/") + QLatin1String(name));
}

// The text a reader sees: tags removed, markup references decoded,
// whitespace runs made one blank.
QString VisibleText(QString html) {
  html.remove(QRegularExpression("<[^>]*>"));
  html.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&amp;", "&");
  return html.replace(QRegularExpression("\\s+"), " ");
}

// A menu caption as the reader sees it: "&" marks an access key, "&&" is "&".
QString PlainCaption(QString caption) {
  caption.replace("&&", QChar(1));
  caption.remove('&');
  return caption.replace(QChar(1), '&');
}

}  // namespace

void TestDataFiles::helpPageNamesEveryCommand() {
  const QByteArray bytes = ReadBytes(DataFile("quillmere.htm"));
  const QString page = QString::fromUtf8(bytes);
  QVERIFY(page.startsWith("<!DOCTYPE html>"));
  QCOMPARE(page.toUtf8(), bytes);
  const QString text = VisibleText(page);
  std::vector<TMenuRow> commands(MainMenuRows().begin(), MainMenuRows().end());
  commands.insert(commands.end(), FilePopupRows().begin(), FilePopupRows().end());
  for (const TMenuRow& row : commands) {
    const QString caption = PlainCaption(QString::fromUtf8(row.Caption));
    if (caption.isEmpty() || caption == "-") continue;  // separators, empty Tools slots
    QVERIFY2(text.contains(caption), qPrintable("not named: " + caption));
    QVERIFY2(text.contains(QString::fromLatin1(row.Shortcut)), row.Shortcut);
  }
  for (const char* caption : {"UpperCase HTML", "LowerCase HTML", "Check for wrong chars"})
    QVERIFY2(text.contains(caption), caption);
  for (int tag : {cmdHelpUpdates, cmdHelpHTML, cmdHelpCSS, cmdHelpJS, cmdHelpWDG,
                  cmdHelpW3CPage, cmdHelpW3CCSS, cmdHelpGifBot}) {
    const QString key = WebLinkKey(tag);
    QVERIFY2(!key.isEmpty() && text.contains(key), qPrintable("[Links] key: " + key));
  }
}

void TestDataFiles::templateIsAStartingPage() {
  const QByteArray bytes = ReadBytes(DataFile("template.htm"));
  QVERIFY(bytes.startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\""));
  QVERIFY(bytes.toLower().endsWith("</body>\r\n</html>\r\n"));
  QCOMPARE(bytes.count('\r'), bytes.count("\r\n"));
  QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
  QVERIFY(bytes.toLower().contains("<title>"));
}

void TestDataFiles::templateSurvivesLoadAndSave_data() {
  QTest::addColumn<int>("conversion");
  QTest::newRow("spaces to tabs") << int(convToTabs);
  QTest::newRow("tabs to spaces") << int(convToBlanks);
  QTest::newRow("no changes") << int(convNone);
}

// A new page opened and saved without an edit must come back byte for byte,
// whichever conversion the user has chosen.
void TestDataFiles::templateSurvivesLoadAndSave() {
  QFETCH(int, conversion);
  const QString root = qEnvironmentVariable("QUILLMERE_TEST_TMP", QDir::tempPath());
  QDir().mkpath(root);
  QTemporaryDir dir(root + "/data-XXXXXX");
  QVERIFY(dir.isValid());
  const QString page = dir.filePath("__noname.html");
  QVERIFY(QFile::copy(DataFile("template.htm"), page));
  TEditFileInfo info;
  info.Conversion = static_cast<std::uint8_t>(conversion);
  info.DeleteEmptyLines = true;
  info.SetTabSize(12);
  info.Load(page);
  QVERIFY(info.LineCount() > 0);
  info.Save();
  QCOMPARE(ReadBytes(page), ReadBytes(DataFile("template.htm")));
}

QTEST_APPLESS_MAIN(TestDataFiles)
#include "test_data_files.moc"
