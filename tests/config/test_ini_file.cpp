#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>

#include "components/errors.h"
#include "config/ini_file.h"
#include "config/ini_helpers.h"
#include "file_bytes.h"

class TestIniFile : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { QVERIFY(FDir.isValid()); }

  void reading_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char* name, const char* file, const char* key, const char* value) {
      QTest::newRow(name) << QByteArray(file) << QString(key) << QByteArray(value);
    };
    const char* def = "<default>";
    row("trimmed", "[S]\nk = \t v w \t\n", "k", "v w");
    row("double quotes", "[S]\nk= \" a \" \n", "k", " a ");
    row("single quotes", "[S]\nk='x'\n", "k", "x");
    row("one pair only", "[S]\nk=\"\"x\"\"\n", "k", "\"x\"");
    row("mixed quotes", "[S]\nk=\"x'\n", "k", "\"x'");
    row("lone quote", "[S]\nk=\"\n", "k", "\"");
    row("empty quotes", "[S]\nk=\"\"\n", "k", "");
    row("equals in value", "[S]\nk=a=b\n", "k", "a=b");
    row("case of names", "[s]\nKEY=v\n", "Key", "v");
    row("blanks round names", " [ S ] \n  k  =v\n", "k", "v");
    row("cr only", "[S]\rk=v\rj=w", "j", "w");
    row("first of two", "[S]\nk=1\nk=2\n", "k", "1");
    row("missing key", "[S]\nj=1\n", "k", def);
    row("other section", "[S]\n[T]\nk=1\n", "k", def);
    row("before any section", "k=1\n[S]\n", "k", def);
    row("comment", "[S]\n;k=1\n", "k", def);
    row("no equals", "[S]\nk\n", "k", def);
  }

  void reading() {
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QByteArray, expected);
    WriteBytes(Path("r.ini"), file);
    const TIniFile ini(Path("r.ini"));
    QCOMPARE(ini.ReadValue("S", key, "<default>"), expected);
    QCOMPARE(ini.Contents(), file);  // reading never changes a byte
  }

  void longAndEncodedValues() {
    WriteBytes(Path("long.ini"), "[S]\nlong=" + QByteArray(3000, 'a') +
                                     "\nutf8=" + QByteArray(IniMaxValueLength - 1, 'c') +
                                     "\xC3\xA9\nlatin=caf\xE9\n");
    const TIniFile ini(Path("long.ini"));
    QCOMPARE(ini.ReadValue("S", "long", {}), QByteArray(IniMaxValueLength, 'a'));
    // A two-byte character across the limit is left out whole.
    QCOMPARE(ini.ReadValue("S", "utf8", {}), QByteArray(IniMaxValueLength - 1, 'c'));
    QCOMPARE(ini.ReadString("S", "latin", {}), QString::fromUtf8("café"));

    TIniFile out(Path("utf8.ini"));
    out.WriteString("Sëction", "k", QString::fromUtf8("zoek €"));
    QCOMPARE(out.Contents(), QByteArray("[S\xC3\xAB"
                                        "ction]\nk=zoek \xE2\x82\xAC\n"));
    QCOMPARE(out.ReadString("SËCTION", "K", {}), QString::fromUtf8("zoek €"));
  }

  void writing_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after");
    const auto row = [](const char* name, const char* before, const char* section,
                        const char* value, const char* after) {
      QTest::newRow(name) << QByteArray(before) << QString(section) << QByteArray(value)
                          << QByteArray(after);
    };
    row("new file", "", "S", "v", "[S]\nk=v\n");
    row("in place, rest kept", "; note\r\n[S]\r\na=1\r\nk=old\r\n\r\nb=2\n[T]\r\nk=x", "S", "new",
        "; note\r\n[S]\r\na=1\r\nk=new\r\n\r\nb=2\n[T]\r\nk=x");
    row("name case and spacing kept", "[sEt]\n  K = \"old\"  \n", "Set", "2", "[sEt]\n  K =2\n");
    row("end of its section", "[S]\na=1\n; c\n\n[T]\nb=2\n", "S", "3",
        "[S]\na=1\n; c\nk=3\n\n[T]\nb=2\n");
    row("empty section", "[S]\n[T]\n", "s", "v", "[S]\nk=v\n[T]\n");
    row("new section at end", "[S]\r\na=1", "T", "v", "[S]\r\na=1\r\n[T]\r\nk=v\r\n");
    row("key at end of unterminated file", "[S]\na=1", "S", "v", "[S]\na=1\nk=v\n");
    row("line breaks in value", "[S]\n", "S", "a\r\n[T]\nb", "[S]\nk=a  [T] b\n");
    QTest::newRow("raw bytes") << QByteArray() << "S" << QByteArray("\xE9\x00\xFF", 3)
                               << QByteArray("[S]\nk=\xE9\x00\xFF\n", 10);
  }

  void writing() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);
    const QString path = Path("w.ini");
    QFile::remove(path);
    if (!before.isEmpty()) WriteBytes(path, before);
    TIniFile ini(path);
    ini.WriteValue(section, "k", value);
    QCOMPARE(QFile(path).exists(), !before.isEmpty());  // nothing written before Save
    ini.Save();
    QCOMPARE(ReadBytes(path), after);
    if (!value.contains('\n')) QCOMPARE(TIniFile(path).ReadValue(section, "k", "?"), value);
  }

  // One key at a time; the IniStr forms do nothing without a section or name.
  void oneKeyFunctions() {
    const QString path = Path("sub/one.ini");
    QCOMPARE(ReadProfileString("S", "k", "def", path), QString("def"));
    QVERIFY(QDir().mkpath(Path("sub")));
    WriteProfileString("S", "k", "  padded  ", path);
    WriteProfileString("S", "j", "\"quoted\"", path);
    WriteProfileString("S", "K", "again", path);
    WriteIniStr("S", "Left", "20", path);
    WriteIniStr("", "Top", "1", path);
    WriteIniStr("S", "", "1", path);
    QCOMPARE(ReadBytes(path), QByteArray("[S]\nk=again\nj=\"quoted\"\nLeft=20\n"));
    QCOMPARE(ReadProfileString("s", "J", "def", path), QString("quoted"));
    QCOMPARE(ReadIniStr("s", "LEFT", "7", path), QString("20"));
    QCOMPARE(ReadIniStr("", "Left", "def", path), QString("def"));
    QCOMPARE(ReadIniStr("S", "", "def", path), QString("def"));
  }

  void writeFailures() {
    // A folder where the file should be, and a file where a folder should be:
    // both fail even for the super-user.
    QVERIFY(QDir().mkpath(Path("folder.ini")));
    WriteBytes(Path("plain.txt"), "data");
    for (const QString& path : {Path("folder.ini"), Path("plain.txt/settings.ini")}) {
      TIniFile ini(path);
      ini.WriteString("S", "k", "v");
      try {
        ini.Save();
        QFAIL(qPrintable("no error for " + path));
      } catch (const EInOutError& e) {
        QVERIFY(e.Message.startsWith("Unable to write to " + path));
      }
      QVERIFY_THROWS_EXCEPTION(EInOutError, WriteProfileString("S", "k", "v", path));
    }
    QCOMPARE(ReadBytes(Path("plain.txt")), QByteArray("data"));

    if (geteuid() == 0) return;  // the super-user reads through permissions
    // A file that cannot be read is not replaced by one holding only new keys.
    const QString locked = Path("locked.ini");
    WriteBytes(locked, "[S]\nk=old\n");
    QFile::setPermissions(locked, QFile::WriteOwner);
    QCOMPARE(ReadProfileString("S", "k", "def", locked), QString("def"));
    QVERIFY_THROWS_EXCEPTION(EInOutError, WriteProfileString("S", "k", "new", locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(ReadBytes(locked), QByteArray("[S]\nk=old\n"));
  }

  // A byte-order mark is skipped on reading and kept on writing; a whole
  // section reads as its keys one by one would.
  void markAndWholeSection() {
    WriteBytes(Path("bom.ini"), "\xEF\xBB\xBF[Settings]\r\nTabInterval=8\r\n");
    TIniFile ini(Path("bom.ini"));
    QCOMPARE(ini.ReadString("Settings", "TabInterval", "32"), QString("8"));
    ini.WriteString("Settings", "TabInterval", "12");
    ini.Save();
    QCOMPARE(ReadBytes(Path("bom.ini")),
             QByteArray("\xEF\xBB\xBF[Settings]\r\nTabInterval=12\r\n"));

    WriteBytes(Path("t.ini"),
               "[Tools]\nCount=2\nPROG1 = \"a b\" \nprog1=second\n[Other]\nPath1=x\n");
    const QHash<QString, QString> tools = TIniFile(Path("t.ini")).ReadSection("tools");
    QCOMPARE(tools.size(), 2);
    QCOMPARE(tools.value("prog1"), QString("a b"));
    QCOMPARE(tools.value("count"), QString("2"));
  }

 private:
  QString Path(const QString& name) const { return FDir.filePath(name); }
  QTemporaryDir FDir;
};

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_ini_file.moc"
