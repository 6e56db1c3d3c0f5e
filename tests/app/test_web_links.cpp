#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "app/command_table.h"
#include "app/web_links.h"

class TestWebLinks : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void defaultsAndOverrides() {
    QTemporaryDir dir;
    const QString ini = dir.filePath("quillmere.ini");
    // Without a settings file: the references have addresses, the update page none.
    QCOMPARE(WebLinkAddress(cmdHelpHTML, ini),
             QString("https://www.w3.org/TR/html4/index/elements.html"));
    QVERIFY(WebLinkAddress(cmdHelpJS, ini).endsWith("/docs/manuals/js/client/jsref/index.htm"));
    QVERIFY(WebLinkAddress(cmdHelpGifBot, ini).endsWith("/GIFBot/optimize-graphic.htm"));
    QCOMPARE(WebLinkAddress(cmdHelpUpdates, ini), QString());
    QCOMPARE(WebLinkAddress(cmdFileNew, ini), QString());
    QCOMPARE(WebLinkKey(cmdHelpUpdates), QString("Updates"));

    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(
        "[links]\r\nupdates=https://example.org/check\r\nCSS2 = \"https://example.org/css\"\r\n");
    f.close();
    QCOMPARE(WebLinkAddress(cmdHelpUpdates, ini), QString("https://example.org/check?qme=2.60"));
    QCOMPARE(WebLinkAddress(cmdHelpCSS, ini), QString("https://example.org/css"));
    QCOMPARE(WebLinkAddress(cmdHelpW3CPage, ini), QString("https://validator.w3.org/"));
  }
};

QTEST_APPLESS_MAIN(TestWebLinks)
#include "test_web_links.moc"
