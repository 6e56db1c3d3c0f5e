// The files shipped beside the program: the help page and the template for
// new pages.
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_table.h"
#include "app/web_links.h"
#include "doc/edit_file_info.h"
#include "file_bytes.h"

namespace {

QString DataFile(const char* name) {
  return QFINDTESTDATA(QStringLiteral("../../data/") + QLatin1String(name));
}

}  // namespace

class TestDataFiles : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void helpPageNamesEveryCommand() {
    QString text = QString::fromUtf8(ReadBytes(DataFile("quillmere.htm")));
    QVERIFY(text.startsWith("<!DOCTYPE html>"));
    // What a reader sees: no tags, one blank for a run of white space.
    text.remove(QRegularExpression("<[^>]*>")).replace("&amp;", "&");
    text.replace(QRegularExpression("\\s+"), " ");
    std::vector<TMenuRow> rows(MainMenuRows().begin(), MainMenuRows().end());
    for (auto more : {FilePopupRows(), EditPopupRows()})
      rows.insert(rows.end(), more.begin(), more.end());
    for (const TMenuRow& row : rows) {
      // "&" marks an access key, "&&" is "&".
      const QString caption =
          QString::fromUtf8(row.Caption).replace("&&", "\1").remove('&').replace("\1", "&");
      if (caption.isEmpty() || caption == "-") continue;  // separators, empty Tools slots
      QVERIFY2(text.contains(caption), qPrintable("not named: " + caption));
      QVERIFY2(text.contains(QString::fromLatin1(row.Shortcut)), row.Shortcut);
    }
    for (int tag : {cmdHelpUpdates, cmdHelpHTML, cmdHelpGifBot})
      QVERIFY2(text.contains(WebLinkKey(tag)), qPrintable(WebLinkKey(tag)));
  }

  void templateSurvivesLoadAndSave_data() {
    QTest::addColumn<int>("conversion");
    QTest::newRow("spaces to tabs") << int(convToTabs);
    QTest::newRow("tabs to spaces") << int(convToBlanks);
    QTest::newRow("no changes") << int(convNone);
  }

  // A new page opened and saved without an edit comes back byte for byte,
  // whichever conversion the user has chosen; its lines end in CR LF.
  void templateSurvivesLoadAndSave() {
    QFETCH(int, conversion);
    const QByteArray original = ReadBytes(DataFile("template.htm"));
    QCOMPARE(original.count('\n'), original.count("\r\n"));
    QVERIFY(original.toLower().endsWith("</body>\r\n</html>\r\n"));
    QTemporaryDir dir;
    const QString page = dir.filePath("__noname.html");
    WriteBytes(page, original);
    TEditFileInfo info;
    info.Conversion = static_cast<std::uint8_t>(conversion);
    info.DeleteEmptyLines = true;
    info.SetTabSize(12);
    info.Load(page);
    QVERIFY(info.LineCount() > 0);
    info.Save();
    QCOMPARE(ReadBytes(page), original);
  }
};

QTEST_APPLESS_MAIN(TestDataFiles)
#include "test_data_files.moc"
