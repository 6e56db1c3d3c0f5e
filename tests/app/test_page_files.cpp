#include "app/page_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

class TestPageFiles : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void masks();
  void listing();
};

void TestPageFiles::masks() {
  QCOMPARE(SplitMasks("*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;"),
           QStringList({"*.htm*", "*.js", "*.css", "*.cgi", "*.txt", "*.ini"}));
  QCOMPARE(SplitMasks(" *.htm ;;*.HTM;"), QStringList({"*.htm"}));
  QCOMPARE(SplitMasks(""), QStringList());
}

void TestPageFiles::listing() {
  QTemporaryDir dir;
  for (const char* name : {"b.html", "A.htm", "c.HTML", "a.html", ".hidden.html", "style.css",
                           "notes.doc"}) {
    QFile f(dir.filePath(name));
    QVERIFY(f.open(QIODevice::WriteOnly));
  }
  QVERIFY(QDir(dir.path()).mkdir("folder.html"));
  QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.html")).constData(), 0600), 0);
  // Hidden, non-regular and unmatched entries stay out; letter case neither
  // decides the match nor the order.
  QCOMPARE(ListPageFiles(dir.path(), "*.htm*;*.css"),
           QStringList({"A.htm", "a.html", "b.html", "c.HTML", "style.css"}));
  QCOMPARE(ListPageFiles(dir.path(), ""), QStringList());
  QCOMPARE(ListPageFiles(dir.filePath("missing"), "*.html"), QStringList());
}

QTEST_APPLESS_MAIN(TestPageFiles)
#include "test_page_files.moc"
