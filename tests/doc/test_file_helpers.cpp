#include "doc/file_helpers.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

QByteArray ReadAll(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool Write(const QString& name, const QByteArray& content) {
  QFile f(name);
  return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
}

}  // namespace

class TestFileHelpers : public QObject {
  Q_OBJECT
private Q_SLOTS:
  void initTestCase();
  void backslash_data();
  void backslash();
  void driveReady();
  void createEmptyFile();
  void copyFileTo();
  void copyNeverOverwrites();
  void sizeAndTime();

private:
  QString Path(const QString& name) const { return Dir->filePath(name); }
  std::unique_ptr<QTemporaryDir> Dir;
};

void TestFileHelpers::initTestCase() {
  const QString base = qEnvironmentVariable("QUILLMERE_TEST_TMP", QDir::tempPath());
  QDir().mkpath(base);
  Dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/files-XXXXXX"));
  QVERIFY(Dir->isValid());
}

void TestFileHelpers::backslash_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("added");
  QTest::addColumn<QString>("deleted");
  QTest::newRow("empty") << "" << "" << "";
  QTest::newRow("root") << "/" << "/" << "/";
  QTest::newRow("folder") << "/home/site" << "/home/site/" << "/home/site";
  QTest::newRow("trailing") << "/home/site/" << "/home/site/" << "/home/site";
  QTest::newRow("two trailing") << "/home/site//" << "/home/site//" << "/home/site/";
  QTest::newRow("relative") << "site" << "site/" << "site";
  QTest::newRow("backslash is a character") << "a\\" << "a\\/" << "a\\";
}

void TestFileHelpers::backslash() {
  QFETCH(QString, path);
  QFETCH(QString, added);
  QFETCH(QString, deleted);
  QCOMPARE(AddBackslash(path), added);
  QCOMPARE(DelBackslash(path), deleted);
}

void TestFileHelpers::driveReady() {
  QVERIFY(DriveReady(Dir->path()));
  QVERIFY(DriveReady(Dir->path() + u'/'));
  QVERIFY(DriveReady(QStringLiteral("/")));
  QVERIFY(!DriveReady(QString()));
  QVERIFY(!DriveReady(Path(QStringLiteral("missing"))));
  QVERIFY(Write(Path(QStringLiteral("plain.txt")), "x"));
  QVERIFY(!DriveReady(Path(QStringLiteral("plain.txt"))));
  // Two leading separators name a network path, even where Linux would
  // read it as the local folder.
  QVERIFY(!DriveReady(u'/' + Dir->path()));
  QVERIFY(!DriveReady(QStringLiteral("//server/share")));
  const QString cwd = QDir::currentPath();
  DriveReady(Dir->path());
  QCOMPARE(QDir::currentPath(), cwd);

  if (::geteuid() == 0) QSKIP("root may enter any folder");
  const QString closed = Path(QStringLiteral("closed"));
  QVERIFY(QDir().mkdir(closed));
  QVERIFY(QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner));
  QVERIFY(!DriveReady(closed));
  QFile::setPermissions(closed, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestFileHelpers::createEmptyFile() {
  const QString nested = Path(QStringLiteral("new/deeper/dir/page ü.htm"));
  QVERIFY(CreateEmptyFile(nested));
  QVERIFY(QFileInfo(nested).isFile());
  QCOMPARE(QFileInfo(nested).size(), qint64(0));

  const QString full = Path(QStringLiteral("full.htm"));
  QVERIFY(Write(full, "old content"));
  QVERIFY(CreateEmptyFile(full));
  QCOMPARE(ReadAll(full), QByteArray());

  QVERIFY(!CreateEmptyFile(QString()));
  QVERIFY(!CreateEmptyFile(Path(QStringLiteral("onlyfolder/"))));
  QVERIFY(!QFileInfo::exists(Path(QStringLiteral("onlyfolder"))));
  QVERIFY(!CreateEmptyFile(Dir->path()));  // a folder is not a file to empty
  QVERIFY(Write(Path(QStringLiteral("blocker")), "keep"));
  QVERIFY(!CreateEmptyFile(Path(QStringLiteral("blocker/sub/x.htm"))));
  QCOMPARE(ReadAll(Path(QStringLiteral("blocker"))), QByteArray("keep"));
}

void TestFileHelpers::copyFileTo() {
  // Bigger than one copy buffer, with every byte value, NUL included.
  QByteArray content;
  for (int i = 0; i < 200000; ++i) content.append(char(i * 7 % 256));
  const QString source = Path(QStringLiteral("template één.htm"));
  QVERIFY(Write(source, content));
  QVERIFY(QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
  const QString target = Path(QStringLiteral("__noname.html"));
  QVERIFY(CopyFileTo(source, target));
  QCOMPARE(ReadAll(target), content);
  QCOMPARE(QFile::permissions(target), QFile::permissions(source));

  const QString empty = Path(QStringLiteral("empty.htm"));
  QVERIFY(Write(empty, {}));
  QVERIFY(CopyFileTo(empty, Path(QStringLiteral("empty copy.htm"))));
  QCOMPARE(QFileInfo(Path(QStringLiteral("empty copy.htm"))).size(), qint64(0));

  QVERIFY(!CopyFileTo(Path(QStringLiteral("missing.htm")), Path(QStringLiteral("m2.htm"))));
  QVERIFY(!QFileInfo::exists(Path(QStringLiteral("m2.htm"))));
  QVERIFY(!CopyFileTo(Dir->path(), Path(QStringLiteral("folder copy"))));
  QVERIFY(!CopyFileTo(source, Path(QStringLiteral("no/such/folder.htm"))));
  QVERIFY(!CopyFileTo(source, QString()));
  QVERIFY(!CopyFileTo(QString(), Path(QStringLiteral("e.htm"))));

  // No temporary is left behind, after success or failure.
  const QStringList left = QDir(Dir->path()).entryList(QDir::AllEntries | QDir::Hidden |
                                                       QDir::NoDotAndDotDot);
  for (const QString& name : left) QVERIFY2(!name.startsWith(u'.'), qPrintable(name));
}

void TestFileHelpers::copyNeverOverwrites() {
  const QString source = Path(QStringLiteral("src.htm"));
  QVERIFY(Write(source, "new"));
  const QString target = Path(QStringLiteral("existing.htm"));
  QVERIFY(Write(target, "precious"));
  QVERIFY(!CopyFileTo(source, target));
  QCOMPARE(ReadAll(target), QByteArray("precious"));
  QVERIFY(!CopyFileTo(source, source));
  QCOMPARE(ReadAll(source), QByteArray("new"));

  // A dangling link is an existing entry too: it is neither replaced nor
  // followed to create its target.
  const QString link = Path(QStringLiteral("dangling.htm"));
  QVERIFY(QFile::link(Path(QStringLiteral("nowhere.htm")), link));
  QVERIFY(!CopyFileTo(source, link));
  QVERIFY(QFileInfo(link).isSymLink());
  QVERIFY(!QFileInfo::exists(Path(QStringLiteral("nowhere.htm"))));

  const QString folder = Path(QStringLiteral("a folder"));
  QVERIFY(QDir().mkdir(folder));
  QVERIFY(!CopyFileTo(source, folder));
  QVERIFY(QDir(folder).isEmpty());
}

void TestFileHelpers::sizeAndTime() {
  const QString file = Path(QStringLiteral("sized.htm"));
  QVERIFY(Write(file, "12345"));
  QCOMPARE(FileSizeOf(file), qint64(5));
  QVERIFY(Write(file, {}));
  QCOMPARE(FileSizeOf(file), qint64(0));
  QCOMPARE(FileSizeOf(Path(QStringLiteral("missing.htm"))), qint64(-1));
  QCOMPARE(FileSizeOf(Dir->path()), qint64(-1));
  QCOMPARE(FileSizeOf(QString()), qint64(-1));

  // Whole seconds since 1970 UTC; the fraction is dropped.
  struct timespec times[2] = {{1000000000, 0}, {1234567890, 999999999}};
  QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0) == 0);
  QCOMPARE(FileTimeOf(file), qint64(1234567890));
  QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(Dir->path()).constData(), times, 0) == 0);
  QCOMPARE(FileTimeOf(Dir->path()), qint64(1234567890));
  QCOMPARE(FileTimeOf(Path(QStringLiteral("missing.htm"))), qint64(-1));
  QCOMPARE(FileTimeOf(QString()), qint64(-1));
}

QTEST_APPLESS_MAIN(TestFileHelpers)
#include "test_file_helpers.moc"
