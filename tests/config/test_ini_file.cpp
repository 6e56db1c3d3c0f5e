#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "file_bytes.h"

#include "components/errors.h"
#include "config/ini_file.h"

class TestIniFile : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { QVERIFY(FDir.isValid()); }
  void reading_data();
  void reading();
  void longAndEncodedValues();
  void writing_data();
  void writing();
  void manyKeysOneSave();
  void oneKeyFunctions();
  void writeFailures();
  void markAndWholeSection();

 private:
  QString Path(const QString& name) const { return FDir.filePath(name); }
  QTemporaryDir FDir;
};

void TestIniFile::reading_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QByteArray>("expected");
  const QByteArray def = "<default>";
  QTest::newRow("plain") << QByteArray("[S]\nk=v\n") << "k" << QByteArray("v");
  QTest::newRow("trimmed") << QByteArray("[S]\nk = \t v w \t\n") << "k" << QByteArray("v w");
  QTest::newRow("double quotes") << QByteArray("[S]\nk= \"  a b \" \n") << "k"
                                 << QByteArray("  a b ");
  QTest::newRow("single quotes") << QByteArray("[S]\nk='x'\n") << "k" << QByteArray("x");
  QTest::newRow("one pair only") << QByteArray("[S]\nk=\"\"x\"\"\n") << "k" << QByteArray("\"x\"");
  QTest::newRow("mixed quotes") << QByteArray("[S]\nk=\"x'\n") << "k" << QByteArray("\"x'");
  QTest::newRow("lone quote") << QByteArray("[S]\nk=\"\n") << "k" << QByteArray("\"");
  QTest::newRow("empty quotes") << QByteArray("[S]\nk=\"\"\n") << "k" << QByteArray();
  QTest::newRow("empty value") << QByteArray("[S]\nk=\n") << "k" << QByteArray();
  QTest::newRow("equals in value") << QByteArray("[S]\nk=a=b\n") << "k" << QByteArray("a=b");
  QTest::newRow("case of names") << QByteArray("[s]\nKEY=v\n") << "Key" << QByteArray("v");
  QTest::newRow("blanks round names") << QByteArray(" [ S ] \n  k  =v\n") << "k" << QByteArray("v");
  QTest::newRow("crlf") << QByteArray("[S]\r\nk=v\r\n") << "k" << QByteArray("v");
  QTest::newRow("cr only") << QByteArray("[S]\rk=v\rj=w") << "j" << QByteArray("w");
  QTest::newRow("first of two") << QByteArray("[S]\nk=1\nk=2\n") << "k" << QByteArray("1");
  QTest::newRow("missing key") << QByteArray("[S]\nj=1\n") << "k" << def;
  QTest::newRow("missing section") << QByteArray("[T]\nk=1\n") << "k" << def;
  QTest::newRow("other section") << QByteArray("[S]\n[T]\nk=1\n") << "k" << def;
  QTest::newRow("before any section") << QByteArray("k=1\n[S]\n") << "k" << def;
  QTest::newRow("comment") << QByteArray("[S]\n;k=1\n") << "k" << def;
  QTest::newRow("no equals") << QByteArray("[S]\nk\n") << "k" << def;
  QTest::newRow("empty file") << QByteArray() << "k" << def;
}

void TestIniFile::reading() {
  QFETCH(QByteArray, file);
  QFETCH(QString, key);
  QFETCH(QByteArray, expected);
  WriteBytes(Path("r.ini"), file);
  const TIniFile ini(Path("r.ini"));
  QCOMPARE(ini.ReadValue("S", key, "<default>"), expected);
  // Reading never changes a byte.
  QCOMPARE(ini.Contents(), file);
}

void TestIniFile::longAndEncodedValues() {
  const QString path = Path("long.ini");
  WriteBytes(path, "[S]\nlong=" + QByteArray(3000, 'a') +
                       "\nexact=" + QByteArray(IniMaxValueLength, 'b') +
                       "\nutf8=" + QByteArray(IniMaxValueLength - 1, 'c') + "\xC3\xA9" +
                       "\nplain=gr\xC3\xBC\xC3\x9F\nlatin=caf\xE9\n");
  const TIniFile ini(path);
  QCOMPARE(ini.ReadValue("S", "long", {}), QByteArray(IniMaxValueLength, 'a'));
  QCOMPARE(ini.ReadValue("S", "exact", {}), QByteArray(IniMaxValueLength, 'b'));
  // A two-byte character across the limit is left out whole.
  QCOMPARE(ini.ReadValue("S", "utf8", {}), QByteArray(IniMaxValueLength - 1, 'c'));
  QCOMPARE(ini.ReadString("S", "plain", {}), QString::fromUtf8("grüß"));
  QCOMPARE(ini.ReadValue("S", "latin", {}), QByteArray("caf\xE9"));
  QCOMPARE(ini.ReadString("S", "latin", {}), QString::fromUtf8("café"));
  QCOMPARE(ini.ReadString("S", "none", QString::fromUtf8("dé")), QString::fromUtf8("dé"));

  TIniFile out(Path("utf8.ini"));
  out.WriteString("Sëction", "k", QString::fromUtf8("zoek €"));
  QCOMPARE(out.Contents(), QByteArray("[S\xC3\xAB"
                                      "ction]\nk=zoek \xE2\x82\xAC\n"));
  QCOMPARE(out.ReadString("SËCTION", "K", {}), QString::fromUtf8("zoek €"));
}

void TestIniFile::writing_data() {
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QString>("section");
  QTest::addColumn<QString>("key");
  QTest::addColumn<QByteArray>("value");
  QTest::addColumn<QByteArray>("after");
  QTest::newRow("new file") << QByteArray() << "S"
                            << "k" << QByteArray("v") << QByteArray("[S]\nk=v\n");
  QTest::newRow("in place, rest kept")
      << QByteArray("; note\r\n[S]\r\na=1\r\nk=old\r\n\r\nb=2\n[T]\r\nk=x") << "S"
      << "k" << QByteArray("new")
      << QByteArray("; note\r\n[S]\r\na=1\r\nk=new\r\n\r\nb=2\n[T]\r\nk=x");
  QTest::newRow("names keep their case")
      << QByteArray("[sEt]\nKEY=1\n") << "Set"
      << "key" << QByteArray("2") << QByteArray("[sEt]\nKEY=2\n");
  QTest::newRow("spacing before value kept")
      << QByteArray("[S]\n  k = \"old\"  \n") << "S"
      << "k" << QByteArray("new") << QByteArray("[S]\n  k =new\n");
  QTest::newRow("end of its section")
      << QByteArray("[S]\na=1\n; c\n\n[T]\nb=2\n") << "S"
      << "k" << QByteArray("3") << QByteArray("[S]\na=1\n; c\nk=3\n\n[T]\nb=2\n");
  QTest::newRow("empty section") << QByteArray("[S]\n[T]\n") << "s"
                                 << "k" << QByteArray("v") << QByteArray("[S]\nk=v\n[T]\n");
  QTest::newRow("new section at end")
      << QByteArray("[S]\r\na=1") << "T"
      << "k" << QByteArray("v") << QByteArray("[S]\r\na=1\r\n[T]\r\nk=v\r\n");
  QTest::newRow("key at end of unterminated file")
      << QByteArray("[S]\na=1") << "S"
      << "k" << QByteArray("v") << QByteArray("[S]\na=1\nk=v\n");
  QTest::newRow("line breaks in value")
      << QByteArray("[S]\n") << "S"
      << "k" << QByteArray("a\r\n[T]\nb") << QByteArray("[S]\nk=a  [T] b\n");
  QTest::newRow("empty value") << QByteArray("[S]\nk=1\n") << "S"
                               << "k" << QByteArray() << QByteArray("[S]\nk=\n");
  QTest::newRow("raw bytes") << QByteArray() << "S"
                             << "k" << QByteArray("\xE9\x00\xFF", 3)
                             << QByteArray("[S]\nk=\xE9\x00\xFF\n", 10);
}

void TestIniFile::writing() {
  QFETCH(QByteArray, before);
  QFETCH(QString, section);
  QFETCH(QString, key);
  QFETCH(QByteArray, value);
  QFETCH(QByteArray, after);
  const QString path = Path("w.ini");
  QFile::remove(path);
  if (!before.isEmpty()) WriteBytes(path, before);
  TIniFile ini(path);
  ini.WriteValue(section, key, value);
  ini.Save();
  QCOMPARE(ReadBytes(path), after);
  // What was written reads back (line breaks aside).
  if (!value.contains('\n')) QCOMPARE(TIniFile(path).ReadValue(section, key, "?"), value);
}

void TestIniFile::manyKeysOneSave() {
  const QString path = Path("many.ini");
  TIniFile ini(path);
  for (int i = 1; i <= 3; ++i)
    ini.WriteString("Tools", QString("Prog%1").arg(i), QString::number(i));
  ini.WriteString("Tools", "Count", "3");
  QVERIFY(!QFile::exists(path));
  QCOMPARE(ini.ReadString("tools", "prog2", {}), QString("2"));
  ini.Save();
  QCOMPARE(ReadBytes(path), QByteArray("[Tools]\nProg1=1\nProg2=2\nProg3=3\nCount=3\n"));
  // A second save of a reloaded file changes nothing.
  TIniFile(path).Save();
  QCOMPARE(ReadBytes(path), QByteArray("[Tools]\nProg1=1\nProg2=2\nProg3=3\nCount=3\n"));
}

void TestIniFile::oneKeyFunctions() {
  const QString path = Path("sub/one.ini");
  QCOMPARE(ReadProfileString("S", "k", "def", path), QString("def"));
  QVERIFY(!QFile::exists(path));
  QVERIFY(QDir().mkpath(Path("sub")));
  WriteProfileString("S", "k", "  padded  ", path);
  WriteProfileString("S", "j", "\"quoted\"", path);
  WriteProfileString("S", "K", "again", path);
  QCOMPARE(ReadBytes(path), QByteArray("[S]\nk=again\nj=\"quoted\"\n"));
  QCOMPARE(ReadProfileString("s", "J", "def", path), QString("quoted"));
}

void TestIniFile::writeFailures() {
  // A folder where the file should be, and a file where a folder should be:
  // both fail even for the super-user.
  const QString folder = Path("folder.ini");
  QVERIFY(QDir().mkpath(folder));
  const QString underFile = Path("plain.txt") + "/settings.ini";
  WriteBytes(Path("plain.txt"), "data");
  for (const QString& path : {folder, underFile}) {
    TIniFile ini(path);
    QCOMPARE(ini.ReadString("S", "k", "def"), QString("def"));
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
  QVERIFY(QFileInfo(folder).isDir());

  if (geteuid() == 0) return;  // the super-user writes through permissions
  const QString locked = Path("locked.ini");
  WriteBytes(locked, "[S]\nk=old\n");
  QFile::setPermissions(locked, QFile::ReadOwner);
  QVERIFY_THROWS_EXCEPTION(EInOutError, WriteProfileString("S", "k", "new", locked));
  QCOMPARE(ReadBytes(locked), QByteArray("[S]\nk=old\n"));
  // A file that cannot be read is not replaced by one holding only new keys.
  QFile::setPermissions(locked, QFile::WriteOwner);
  QCOMPARE(ReadProfileString("S", "k", "def", locked), QString("def"));
  QVERIFY_THROWS_EXCEPTION(EInOutError, WriteProfileString("S", "k", "new", locked));
  QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner);
  QCOMPARE(ReadBytes(locked), QByteArray("[S]\nk=old\n"));
  // A write-protected folder.
  const QString lockedDir = Path("lockeddir");
  QVERIFY(QDir().mkpath(lockedDir));
  QFile::setPermissions(lockedDir, QFile::ReadOwner | QFile::ExeOwner);
  QVERIFY_THROWS_EXCEPTION(EInOutError, WriteProfileString("S", "k", "v", lockedDir + "/a.ini"));
  QFile::setPermissions(lockedDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A byte-order mark is skipped on reading and kept on writing; a whole
// section reads as its keys one by one would.
void TestIniFile::markAndWholeSection() {
  WriteBytes(Path("bom.ini"), "\xEF\xBB\xBF[Settings]\r\nTabInterval=8\r\n");
  TIniFile ini(Path("bom.ini"));
  QCOMPARE(ini.ReadString("Settings", "TabInterval", "32"), QString("8"));
  ini.WriteString("Settings", "TabInterval", "12");
  ini.Save();
  QCOMPARE(ReadBytes(Path("bom.ini")), QByteArray("\xEF\xBB\xBF[Settings]\r\nTabInterval=12\r\n"));

  WriteBytes(Path("tools.ini"), "[Tools]\nCount=2\nPROG1 = \"a b\" \nprog1=second\n[Other]\nPath1=x\n");
  const QHash<QString, QString> tools = TIniFile(Path("tools.ini")).ReadSection("tools");
  QCOMPARE(tools.size(), 2);
  QCOMPARE(tools.value("prog1"), QString("a b"));
  QCOMPARE(tools.value("count"), QString("2"));
  QVERIFY(TIniFile(Path("tools.ini")).ReadSection("None").isEmpty());
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_ini_file.moc"
