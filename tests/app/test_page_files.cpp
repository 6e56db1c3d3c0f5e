#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "app/page_files.h"
#include "components/file_names.h"

class TestPageFiles : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void masks() {
    QCOMPARE(SplitMasks("*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;"),
             QStringList({"*.htm*", "*.js", "*.css", "*.cgi", "*.txt", "*.ini"}));
    QCOMPARE(SplitMasks(" *.htm ;;*.HTM;"), QStringList({"*.htm"}));
    QCOMPARE(SplitMasks(""), QStringList());
  }

  void listing() {
    QTemporaryDir dir;
    for (const char* name :
         {"b.html", "A.htm", "c.HTML", "a.html", ".hidden.html", "style.css", "notes.doc"}) {
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

  // Names alike in their first 16 bytes of key, and letters beyond ASCII,
  // keep the one order: folded first, then exact.
  void longAndForeignNamesInOrder() {
    QTemporaryDir dir;
    const QStringList expected{"a_long_common_prefix_1.htm",
                               "A_long_common_prefix_2.htm",
                               "a_long_common_prefix_2.htm",
                               "a_long_common_prefix_10.htm",
                               "b.htm",
                               QString::fromUtf8("\xc3\x89t\xc3\xa9.htm"),
                               QString::fromUtf8("\xc3\xa9t\xc3\xa9.htm")};
    for (const QString& name : expected) {
      QFile f(dir.filePath(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QStringList sorted = expected;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
      const QByteArray fa = a.toCaseFolded().toUtf8(), fb = b.toCaseFolded().toUtf8();
      return fa != fb ? fa < fb : a.toUtf8() < b.toUtf8();
    });
    QCOMPARE(ListPageFiles(dir.path(), "*.htm"), sorted);
    QCOMPARE(sorted.first(), QString("a_long_common_prefix_1.htm"));
  }

  void namesNotValidText() {
    for (const QByteArray& raw :
         {QByteArray("caf\xe9.html"), QByteArray("\xc3\xa9\xff\xf0\x9f\x98\x80.htm"),
          QByteArray("plain.htm")})
      QCOMPARE(PathBytes(NameFromBytes(raw.toStdString())), raw);
    QCOMPARE(ShownName(NameFromBytes("caf\xe9.html")), QString::fromUtf8("caf\xef\xbf\xbd.html"));
    // Listed by the bytes it has on disk, folder and all.
    QTemporaryDir dir;
    const QByteArray folder = QFile::encodeName(dir.path()) + "/d\xfc";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    QCOMPARE(::close(::creat((folder + "/caf\xe9.html").constData(), 0600)), 0);
    const QString folderName = NameFromBytes(folder.toStdString());
    QCOMPARE(ListSubfolders(dir.path()), QStringList{NameFromBytes("d\xfc")});
    const QStringList names = ListPageFiles(folderName, "*.html");
    QCOMPARE(names.size(), 1);
    QCOMPARE(PathBytes(folderName + "/" + names[0]), folder + "/caf\xe9.html");
  }

  void pageRow_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("row");
    QTest::newRow("exact lower") << "index.html" << 2;
    QTest::newRow("exact upper") << "Index.html" << 1;
    QTest::newRow("any case") << "INDEX.HTML" << 1;
    QTest::newRow("shortened") << "page~1.htm" << 3;
    QTest::newRow("missing") << "zzz.html" << 0;
  }

  void pageRow() {
    QFETCH(QString, name);
    QFETCH(int, row);
    QCOMPARE(PageRowFor({"a.html", "Index.html", "index.html", "page one.html"}, name), row);
    QCOMPARE(PageRowFor({}, name), -1);
  }

  void saveAsTarget() {
    QCOMPARE(SaveAsTarget("/Site/Sub Dir/New Page.HTML"), QString("/Site/Sub Dir/new page.html"));
    QCOMPARE(SaveAsTarget("/a.b/\xC3\x89T\xC3\x89.Htm"),
             QString::fromUtf8("/a.b/\xC3\xA9t\xC3\xA9.htm"));
    QCOMPARE(SaveAsTarget("rel/X.html"), QDir::currentPath() + "/rel/x.html");
  }
};

QTEST_APPLESS_MAIN(TestPageFiles)
#include "test_page_files.moc"
