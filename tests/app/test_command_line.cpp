#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>

#include "app/command_line.h"
#include "file_bytes.h"

class TestCommandLine : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase() {
    QCoreApplication::setApplicationName("Quillmere");
    QCoreApplication::setApplicationVersion("2.60");
  }
  void parse_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");  // a part of the text
    const int run = TCommandLine::caRun, help = TCommandLine::caHelp;
    const int version = TCommandLine::caVersion, usage = TCommandLine::caUsageError;
    // clang-format off
    QTest::newRow("nothing") << QStringList{} << run << "" << "";
    QTest::newRow("a page") << QStringList{"site/a.html"} << run << "site/a.html" << "";
    QTest::newRow("after --") << QStringList{"--", "-odd.html"} << run << "-odd.html" << "";
    QTest::newRow("help") << QStringList{"--help"} << help << "" << "page-or-folder";
    QTest::newRow("short help") << QStringList{"-h", "x"} << help << "" << "--version";
    QTest::newRow("version") << QStringList{"--version"} << version << "" << "Quillmere 2.60\n";
    QTest::newRow("short version") << QStringList{"-v"} << version << "" << "2.60";
    QTest::newRow("Qt's options") << QStringList{"-platform", "offscreen", "-reverse", "a.htm"}
                                  << run
                                  << "a.htm" << "";
    QTest::newRow("unknown option") << QStringList{"--colour"} << usage << "" << "colour";
    QTest::newRow("no help-all") << QStringList{"--help-all"} << usage << "" << "help-all";
    QTest::newRow("two pages") << QStringList{"a.html", "b.html"} << usage << "" << "not 2";
    // clang-format on
  }

  void parse() {
    QFETCH(QStringList, args);
    QFETCH(int, action);
    QFETCH(QString, path);
    QFETCH(QString, text);
    const TCommandLine c = ParseCommandLine(QStringList{"quillmere"} + args);
    QCOMPARE(int(c.Action), action);
    QCOMPARE(c.Path, path);
    QVERIFY2(c.Text.contains(text), qPrintable(c.Text));
  }

  void startPathProblems() {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("page.html"), "x");
    QCOMPARE(StartPathProblem(dir.filePath("page.html")), QString());
    QCOMPARE(StartPathProblem(dir.path()), QString());
    QCOMPARE(StartPathProblem(dir.filePath("gone.html")),
             "Cannot open \"" + dir.filePath("gone.html") + "\": No such file or directory.");
    const QString fifo = dir.filePath("pipe");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QCOMPARE(StartPathProblem(fifo),
             "Cannot open \"" + fifo + "\": it is neither a page nor a folder.");
    if (::geteuid() == 0) QSKIP("root reads every file");
    QFile(dir.filePath("page.html")).setPermissions(QFileDevice::WriteOwner);
    QCOMPARE(StartPathProblem(dir.filePath("page.html")),
             "Cannot open \"" + dir.filePath("page.html") + "\": Permission denied.");
  }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
