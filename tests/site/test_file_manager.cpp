#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "components/errors.h"
#include "components/msg_door.h"
#include "file_bytes.h"
#include "site/file_manager.h"

namespace {

struct TShown {
  QString Text, Caption;
  TMsgKind Kind;
};

// Records every message and answers with Answer; installs itself.
class TDoorStub final : public TMsgDoor {
 public:
  TDoorStub() { SetMsgDoor(this); }
  ~TDoorStub() override { SetMsgDoor(nullptr); }
  TModalResult Show(const QString& text, const QString& caption, TMsgKind kind, TMsgButtons,
                    int) override {
    Shown.append({text, caption, kind});
    return Answer;
  }
  QList<TShown> Shown;
  TModalResult Answer = mrOk;
};

void SetMTime(const QString& path, const QDateTime& when) {
  const struct timeval times[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
  QVERIFY(::utimes(QFile::encodeName(path).constData(), times) == 0);
}

QDateTime At(int y, int m, int d, int h = 0, int n = 0) { return {QDate(y, m, d), QTime(h, n)}; }

}  // namespace

class TestFileManager : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> FTmp;
  QString Path(const QString& rel) const { return FTmp->filePath(rel); }
  // A file of Size bytes, modified When (unless invalid).
  void Make(const QString& rel, int size = 10, const QDateTime& when = {}) {
    WriteBytes(Path(rel), QByteArray(size, 'x'));
    if (when.isValid()) SetMTime(Path(rel), when);
  }
  // Lists with Options; the lines, sorted when Sorted.
  static QStringList Run(TZELFileManager& m, TZELFMOption options, bool sorted = false) {
    m.SetOptions(options);
    m.List();
    QStringList lines = m.ResultList();
    if (sorted) lines.sort();
    return lines;
  }

 private Q_SLOTS:
  void init() { FTmp = std::make_unique<QTemporaryDir>(); }

  void maskMatching() {
    const std::tuple<const char*, const char*, bool> rows[] = {
        {"README", "*.*", true},        {"abc", "a*.*", true},
        {"Index.HTM", "*.htm", true},   {"index.html", "*.htm", false},
        {"index.html", "*.htm*", true}, {"a1.gif", "a?.gif", true},
        {"a.gif", "a?.gif", false},     {"x.png", "*.JP*", false}};
    for (const auto& [name, mask, matches] : rows)
      QVERIFY2(MatchesMask(name, mask) == matches, qPrintable(QString(name) + " " + mask));
  }

  void maskAssignment() {
    TDoorStub door;
    TZELFileManager m;
    QCOMPARE(m.SearchMask(), QString("*.*"));
    m.SetSearchMask("*.htm");
    m.SetSearchMask("*.htm;*.css");
    QCOMPARE(m.SearchMask(), QString("*.htm"));
    QCOMPARE(door.Shown.size(), 1);  // its text: in the quillmere-site test
    QCOMPARE(door.Shown[0].Kind, mkWarning);
    m.SetSearchMask("a b");
    QCOMPARE(door.Shown.last().Text, QString("Error in SearchMask at position 2 (\" \")."));
    m.SetSearchMask("*.HtM");
    QCOMPARE(m.SearchMask(), QString("*.HtM"));
    m.SetSearchMask("");
    QCOMPARE(m.SearchMask(), QString("*.*"));
    QCOMPARE(door.Shown.size(), 2);
  }

  void missingFolder() {
    TDoorStub door;
    TZELFileManager m;
    m.setObjectName("ifmManager");
    m.SetWorkingDir("  " + Path("nosite") + "/ ");
    QCOMPARE(m.WorkingDir(), Path("nosite"));
    m.SetShowWarnings(false);
    m.SetShowDeltreeWarning(false);
    m.SetTimeStamp("01-02-2003 04:05");
    m.List();
    QCOMPARE(m.ErrorCode(), ecNoWorkDir);
    QVERIFY(m.ResultList().isEmpty());
    QCOMPARE(m.FileCount(), 0);
    QCOMPARE(door.Shown.size(), 1);  // its text: in the quillmere-site test
    // The one-shot settings are back after the failed run.
    QVERIFY(m.ShowWarnings());
    QVERIFY(m.ShowDeltreeWarning());
    QVERIFY(m.TimeStamp() != QString("01-02-2003 04:05"));

    m.SetWorkingDir("");
    m.List();
    QCOMPARE(door.Shown.last().Text,
             QString("ifmManager: Error #1 occured.\r\nMessage: Incorrect WorkingDir."));

    // A handler takes the place of the message; the next good run clears the code.
    QList<int> codes;
    m.OnError = [&](QObject* sender, TZELFMErrorCode code, const QString& arg) {
      QCOMPARE(sender, &m);
      QCOMPARE(arg, QString("//server/share"));
      codes.append(code);
    };
    m.SetWorkingDir("//server/share");
    m.List();
    QCOMPARE(codes, QList<int>{ecNoWorkDir});
    QCOMPARE(door.Shown.size(), 2);
    m.SetWorkingDir(FTmp->path());
    m.List();
    QCOMPARE(m.ErrorCode(), ecOK);
  }

  void walkOrderAndFilters() {
    TDoorStub door;
    Make("b/deep/z.htm");
    Make("a.htm");
    Make("b/b.htm");
    Make(".hidden/h.htm");
    Make("b/.dot.htm");
    Make("ro.htm");
    Make("other/o.htm");
    QVERIFY(::chmod(QFile::encodeName(Path("ro.htm")).constData(), 0444) == 0);
    QVERIFY(QFile::link(Path("b"), Path("b/loop")));  // a cycle, if followed
    QVERIFY(QFile::link(Path("a.htm"), Path("b/linked.htm")));

    TZELFileManager m;
    m.SetWorkingDir(FTmp->path());
    QStringList found;
    for (const QString& line : Run(m, fmIncludeSubDirs))
      found.append(line.mid(FTmp->path().size() + 1));
    // Start folder first; each folder before its own sub-folders.
    QCOMPARE(found.first(), QString("a.htm"));
    QVERIFY(found.indexOf("b/deep/z.htm") == found.indexOf("b/b.htm") + 1 ||
            found.indexOf("b/deep/z.htm") == found.indexOf("b/linked.htm") + 1);
    QCOMPARE(QSet<QString>(found.begin(), found.end()),
             (QSet<QString>{"a.htm", "b/b.htm", "b/linked.htm", "b/deep/z.htm", "other/o.htm"}));
    QCOMPARE(m.FileCount(), 5);

    m.SetSysFiles(true);
    QCOMPARE(Run(m, fmShowAttribs, true), (QStringList{"A    a.htm", "AR   ro.htm"}));
    QVERIFY(Run(m, fmIncludeSubDirs).contains(Path("b/.dot.htm")));
    QVERIFY(!m.ResultList().join('|').contains(".hidden"));

    m.SetCharCase(ecUpperCase);
    m.SetSearchMask("*.HTM");
    QCOMPARE(Run(m, 0, true), (QStringList{"A.HTM", "RO.HTM"}));
    QVERIFY(door.Shown.isEmpty());
  }

  void lineColumnsAndTotals() {
    TDoorStub door;
    Make("index.htm", 1234, At(2001, 10, 28, 14, 5));
    TZELFileManager m;
    m.SetWorkingDir(FTmp->path());
    QCOMPARE(Run(m, fmShowDate | fmShowSize | fmShowAttribs | fmShowFullName),
             QStringList{"2001-10-28 14:05       1234 A    " + Path("index.htm")});
    QCOMPARE(m.TotalSize(), quint64(1234));

    // A dangling link: no date, no size, a system file.
    QVERIFY(QFile::link(Path("gone"), Path("broken.htm")));
    // Over 4 GB without using the disk: the total must not wrap.
    QFile big(Path("big.htm"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(5'000'000'000LL));
    big.close();
    SetMTime(Path("big.htm"), At(2001, 10, 28, 14, 5));
    m.SetSysFiles(true);
    QCOMPARE(Run(m, fmShowDate | fmShowSize | fmShowAttribs, true),
             (QStringList{" (unknown date)  Error #001    S broken.htm",
                          "2001-10-28 14:05       1234 A    index.htm",
                          "2001-10-28 14:05 5000000000 A    big.htm"}));
    QCOMPARE(m.TotalSize(), quint64(5'000'001'234));
    QVERIFY(Run(m, fmShowSizeRO).contains("Error #001 broken.htm"));
    Run(m, fmShowAttribs);
    QCOMPARE(m.TotalSize(), quint64(0));
    QCOMPARE(m.FileCount(), 3);
  }

  void minDate() {
    Make("old.htm", 10, At(1999, 12, 31, 23, 59));
    Make("new.htm", 10, At(2000, 1, 1));
    TZELFileManager m;
    QCOMPARE(m.MinDate(), QString("01-01-1900"));
    m.SetMinDate("31-02-2000");
    QCOMPARE(m.MinDate(), QString("01-01-1900"));
    m.SetMinDate("01-01-2000");
    QCOMPARE(m.MinDate(), QString("01-01-2000"));
    m.SetWorkingDir(FTmp->path());
    QCOMPARE(Run(m, fmShowDate), QStringList{"2000-01-01 00:00 new.htm"});
    Run(m, 0);
    QCOMPARE(m.FileCount(), 2);
  }

  void sortOrder() {
    Make("b.htm", 1000, At(2001, 1, 1));
    Make("c.htm", 999, At(2003, 1, 1));
    Make("a.htm", 1000, At(2002, 1, 1));
    Make("Z.htm", 5, At(2004, 1, 1));
    TZELFileManager m;
    m.SetSortOrder(soDate);
    QCOMPARE(m.SortOrder(), soNone);
    m.SetSortOrder(soName);
    QCOMPARE(m.SortOrder(), soName);
    m.SetWorkingDir(FTmp->path());
    Run(m, fmShowSize);
    m.SetSortOrder(soSize);
    QCOMPARE(m.SortOrder(), soNone);  // needs both size options
    m.SetSortOrder(soAttr);
    QCOMPARE(m.SortOrder(), soNone);

    Run(m, fmShowSize | fmShowSizeRO);
    m.SetSortOrder(soSize);
    QCOMPARE(m.SortOrder(), soSize);
    QCOMPARE(Run(m, fmShowSize | fmShowSizeRO),
             (QStringList{"         5 Z.htm", "       999 c.htm", "      1000 a.htm",
                          "      1000 b.htm"}));

    Run(m, fmShowDate);  // still sorted by size: the run just made had no size column
    m.SetSortOrder(soDate);
    QCOMPARE(Run(m, fmShowDate), (QStringList{"2001-01-01 00:00 b.htm", "2002-01-01 00:00 a.htm",
                                              "2003-01-01 00:00 c.htm", "2004-01-01 00:00 Z.htm"}));
    m.SetSortOrder(soName);
    QCOMPARE(Run(m, 0), (QStringList{"a.htm", "b.htm", "c.htm", "Z.htm"}));
    // Keys padded to one length: a shorter name sorts before its longer kin.
    Make("a");
    Make("a-b");
    m.SetSearchMask("a*");
    QCOMPARE(Run(m, 0), (QStringList{"a", "a-b", "a.htm"}));
  }

  void touch() {
    TDoorStub door;
    Make("a.htm", 10, At(2001, 1, 1));
    Make("sub/b.htm");
    Make("ro.htm", 10, At(2001, 1, 1));
    QVERIFY(::chmod(QFile::encodeName(Path("ro.htm")).constData(), 0444) == 0);
    TZELFileManager m;
    m.SetWorkingDir(FTmp->path());
    m.SetOptions(fmIncludeSubDirs);
    m.SetTimeStamp("31-12-2001 23:59");

    door.Answer = mrNo;
    m.Touch();
    QCOMPARE(door.Shown.size(), 1);
    QCOMPARE(door.Shown[0].Caption, QString("Bestandsdatum zetten"));
    QCOMPARE(door.Shown[0].Text, QString("Alle opgegeven bestanden krijgen de datum/tijd: "
                                         "\"31-12-2001 23:59\".\r\nWilt u doorgaan?"));
    QCOMPARE(GetFileDate(Path("a.htm")), At(2001, 1, 1));
    QCOMPARE(m.TimeStamp(), QString("31-12-2001 23:59"));

    door.Answer = mrCancel;  // the close box goes on
    m.Touch();
    QCOMPARE(GetFileDate(Path("a.htm")), At(2001, 12, 31, 23, 59));
    QCOMPARE(GetFileDate(Path("sub/b.htm")), At(2001, 12, 31, 23, 59));
    QCOMPARE(GetFileDate(Path("ro.htm")), At(2001, 1, 1));  // read-only: left out
    QVERIFY(m.TimeStamp() != QString("31-12-2001 23:59"));
    QVERIFY(m.ShowWarnings());

    // A pipe cannot be opened to set its date: the read-back notices.
    QVERIFY(::mkfifo(QFile::encodeName(Path("pipe.htm")).constData(), 0644) == 0);
    m.SetSysFiles(true);
    m.SetOptions(0);
    m.SetShowWarnings(false);
    m.SetTimeStamp("01-06-2002 12:00");
    m.setObjectName("ifmManager");
    m.Touch();
    QCOMPARE(m.ErrorCode(), ecTouchErr);
    QCOMPARE(door.Shown.last().Text,
             "ifmManager: Error #7 occured.\r\nMessage: Can´t touch "
             "file.\r\n(" +
                 Path("pipe.htm") + ")");
    QCOMPARE(m.TimeStamp() == QString("01-06-2002 12:00"), false);

    // A date the file system refuses leaves with SetFileDate's own error.
    m.SetSysFiles(false);
    m.SetShowWarnings(false);
    m.SetTimeStamp("01-01-1975 00:00");
    QVERIFY_THROWS_EXCEPTION(EInOutError, m.Touch());
    QVERIFY_THROWS_EXCEPTION(EConvertError, m.SetTimeStamp("xx-xx-xxxx xx-xx"));
  }

  // A link that leads out of the root is left out of a touch; one inside it is followed.
  void touchStaysInsideTheRoot() {
    TDoorStub door;
    Make("outside.htm", 10, At(2001, 1, 1));
    Make("site/a.htm", 10, At(2001, 1, 1));
    QVERIFY(QFile::link(Path("outside.htm"), Path("site/out.htm")));
    QVERIFY(QFile::link("a.htm", Path("site/in.htm")));
    TZELFileManager m;
    m.SetWorkingDir(Path("site"));
    m.SetShowWarnings(false);
    m.SetTimeStamp("31-12-2001 23:59");
    m.Touch();
    QCOMPARE(GetFileDate(Path("outside.htm")), At(2001, 1, 1));
    QCOMPARE(GetFileDate(Path("site/a.htm")), At(2001, 12, 31, 23, 59));
    QCOMPARE(m.FileCount(), 2);
    QVERIFY(door.Shown.isEmpty());
  }

  void outFileAndReadOnlyList() {
    TDoorStub door;
    Make("a.htm");
    TZELFileManager m;
    m.SetWorkingDir(FTmp->path());
    m.SetOutFile(Path("out/list.txt"));
    m.List();
    QCOMPARE(m.ErrorCode(), ecOutFileErr);
    QCOMPARE(m.ResultList(), QStringList{"a.htm"});
    QVERIFY(!QFile::exists(Path("out/list.txt")));
    QCOMPARE(door.Shown.size(), 1);
    QVERIFY(door.Shown[0].Text.contains("Can´t create Ouputfile"));

    m.SetOutFile(Path("list.txt"));
    m.SetSearchMask("*.htm");
    m.List();
    QCOMPARE(ReadBytes(Path("list.txt")), QByteArray("a.htm\r\n"));

    m.SetResultList({"x"});
    QCOMPARE(m.ResultList(), QStringList{"a.htm"});
    QCOMPARE(door.Shown.last().Caption, QString("Read-Only property"));
    QCOMPARE(door.Shown.last().Text, QString("Can´t write to ResultList."));
  }
};

QTEST_GUILESS_MAIN(TestFileManager)
#include "test_file_manager.moc"
