#include "app/web_links.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestWebLinks : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void defaultsAndOverrides();
};

void TestWebLinks::defaultsAndOverrides() {
  QTemporaryDir dir;
  const QString ini = dir.filePath("quillmere.ini");
  // Without a settings file: the references have addresses, the update page none.
  QCOMPARE(WebLinkAddress(921, ini), QString("https://www.w3.org/TR/html4/index/elements.html"));
  QVERIFY(WebLinkAddress(923, ini).endsWith("/docs/manuals/js/client/jsref/index.htm"));
  QVERIFY(WebLinkAddress(929, ini).endsWith("/GIFBot/optimize-graphic.htm"));
  QCOMPARE(WebLinkAddress(903, ini), QString());
  QCOMPARE(WebLinkAddress(101, ini), QString());
  QCOMPARE(WebLinkKey(903), QString("Updates"));

  QFile f(ini);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write("[links]\r\nupdates=https://example.org/check\r\nCSS2 = \"https://example.org/css\"\r\n");
  f.close();
  QCOMPARE(WebLinkAddress(903, ini), QString("https://example.org/check?qme=2.60"));
  QCOMPARE(WebLinkAddress(922, ini), QString("https://example.org/css"));
  QCOMPARE(WebLinkAddress(927, ini), QString("https://validator.w3.org/"));
}

QTEST_APPLESS_MAIN(TestWebLinks)
#include "test_web_links.moc"
