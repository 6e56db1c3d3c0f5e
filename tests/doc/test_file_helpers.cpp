#include <fcntl.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>

#include "components/file_names.h"
#include "doc/file_helpers.h"
#include "file_bytes.h"

class TestFileHelpers : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  QString Path(const QString& name) const { return Dir.filePath(name); }

 private Q_SLOTS:
  // Folder names with and without their final separator.
  void backslash() {
    const struct {
      const char *path, *added, *deleted;
    } cases[] = {{"", "", ""},
                 {"/", "/", "/"},
                 {"/home/site", "/home/site/", "/home/site"},
                 {"/home/site/", "/home/site/", "/home/site"},
                 {"/home/site//", "/home/site//", "/home/site/"},
                 {"a\\", "a\\/", "a\\"}};  // a backslash is a name's character
    for (const auto& c : cases) {
      QCOMPARE(AddBackslash(c.path), QString(c.added));
      QCOMPARE(DelBackslash(c.path), QString(c.deleted));
    }
  }

  void driveReady() {
    QVERIFY(DriveReady(Dir.path()));
    QVERIFY(DriveReady("/"));
    QVERIFY(!DriveReady(QString()));
    QVERIFY(!DriveReady(Path("missing")));
    WriteBytes(Path("plain.txt"), "x");
    QVERIFY(!DriveReady(Path("plain.txt")));
    // Two leading separators name a network path, even where Linux would
    // read it as the local folder.
    QVERIFY(!DriveReady(u'/' + Dir.path()));
    if (::geteuid() == 0) QSKIP("root may enter any folder");
    QVERIFY(QDir().mkdir(Path("closed")));
    QVERIFY(QFile::setPermissions(Path("closed"), QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(!DriveReady(Path("closed")));
  }

  void createEmptyFile() {
    const QString nested = Path("new/deeper/page ü.htm");
    QVERIFY(CreateEmptyFile(nested));
    QCOMPARE(FileSizeOf(nested), qint64(0));
    WriteBytes(nested, "old content");
    QVERIFY(CreateEmptyFile(nested));
    QCOMPARE(ReadBytes(nested), QByteArray());

    QVERIFY(!CreateEmptyFile(QString()));
    QVERIFY(!CreateEmptyFile(Path("onlyfolder/")));
    QVERIFY(!QFileInfo::exists(Path("onlyfolder")));
    QVERIFY(!CreateEmptyFile(Dir.path()));
    WriteBytes(Path("blocker"), "keep");
    QVERIFY(!CreateEmptyFile(Path("blocker/sub/x.htm")));
    QCOMPARE(ReadBytes(Path("blocker")), QByteArray("keep"));
  }

  void copyFileTo() {
    QTemporaryDir dir;
    const auto Path = [&](const QString& name) { return dir.filePath(name); };
    // Bigger than one copy buffer, with every byte value.
    QByteArray content;
    for (int i = 0; i < 200000; ++i) content.append(char(i * 7 % 256));
    const QString source = Path("template één.htm");
    WriteBytes(source, content);
    QVERIFY(QFile::setPermissions(source, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    const QString target = Path("copy.html");
    QVERIFY(CopyFileTo(source, target));
    QCOMPARE(ReadBytes(target), content);
    QCOMPARE(QFile::permissions(target), QFile::permissions(source));

    // Never over an existing entry, a dangling link included, nor from a folder.
    WriteBytes(target, "precious");
    QVERIFY(!CopyFileTo(source, target));
    QCOMPARE(ReadBytes(target), QByteArray("precious"));
    QVERIFY(QFile::link(Path("nowhere.htm"), Path("dangling.htm")));
    QVERIFY(!CopyFileTo(source, Path("dangling.htm")));
    QVERIFY(!QFileInfo::exists(Path("nowhere.htm")));
    QVERIFY(!CopyFileTo(Path("missing.htm"), Path("m2.htm")));
    QVERIFY(!CopyFileTo(dir.path(), Path("folder copy")));
    QVERIFY(!CopyFileTo(source, Path("no/such/folder.htm")));
    QVERIFY(!CopyFileTo(source, QString()));
    QVERIFY(!CopyFileTo(QString(), Path("e.htm")));
    QCOMPARE(EntriesOf(dir.path()), QStringList({"copy.html", "dangling.htm", "template één.htm"}));
    QVERIFY(SameFile(target, dir.path() + "/./copy.html"));
    QVERIFY(!SameFile(source, target));
    QVERIFY(FileStampOf(target).Exists && !FileStampOf(Path("m2.htm")).Exists);
  }

  // A name that is not UTF-8 keeps its bytes, the lowest and highest kept byte included.
  void namesByTheirBytes() {
    const std::string bytes = "a\x80\xFF\xC3\xA9";
    const QString name = NameFromBytes(bytes);
    QCOMPARE(PathBytes(name), QByteArray::fromStdString(bytes));
    QCOMPARE(ShownName(name), QString::fromUtf8("a\uFFFD\uFFFD\u00E9"));
  }

  void sizeAndTime() {
    const QString file = Path("sized.htm");
    WriteBytes(file, "12345");
    QCOMPARE(FileSizeOf(file), qint64(5));
    QCOMPARE(FileSizeOf(Path("missing.htm")), qint64(-1));
    QCOMPARE(FileSizeOf(Dir.path()), qint64(-1));
    QCOMPARE(FileSizeOf(QString()), qint64(-1));
    // Whole seconds since 1970 UTC; the fraction is dropped.
    struct timespec times[2] = {{1000000000, 0}, {1234567890, 999999999}};
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(Dir.path()).constData(), times, 0) == 0);
    QCOMPARE(FileTimeOf(Dir.path()), qint64(1234567890));
    QCOMPARE(FileTimeOf(Path("missing.htm")), qint64(-1));
    QCOMPARE(FileTimeOf(QString()), qint64(-1));
  }
};

QTEST_APPLESS_MAIN(TestFileHelpers)
#include "test_file_helpers.moc"
