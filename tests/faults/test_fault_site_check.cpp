// Fault run: the site check's "Save as…" on a full disk. The message gives
// the system's reason, a report saved before stays whole and no temporary
// file is left; with room, the file holds the findings the filter shows.
#include <sys/statvfs.h>

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include "fault_report.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "site/site_check_window.h"
#include "small_disk.h"

class TestFaultSiteCheck : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void saveAsOnAFullDisk() {
    QUILLMERE_SMALL_DISK(disk, 512);
    std::vector<TCheckFinding> findings(
        4000, {"pages/a-page.html", 12, 4, ckBroken, "images/a-picture-that-is-gone.png"});
    findings.push_back({"b.html", 3, 1, ckHtml, "<p> is not closed"});
    TfrmSiteCheck check;
    check.Runner = [findings](const TCheckOptions&, const TCheckProgress&,
                              const std::atomic<bool>*) {
      TCheckResult result;
      result.Findings = findings;
      return result;
    };
    const QString target = disk.Path("report.txt");
    check.SaveDialog = [&](const QString&, const QString&) { return target; };
    TCheckOptions options;
    options.Root = disk.Path();
    check.StartCheck(options);
    QTRY_VERIFY(!check.Running());

    check.cmbKind->setCurrentIndex(check.cmbKind->findData(int(ckHtml)));
    QTest::mouseClick(check.bbtSaveAs, Qt::LeftButton);
    const QByteArray saved = ReadBytes(target);
    QVERIFY(saved.startsWith("b.html:3:1: html: <p> is not closed\nhtml 1 ("));
    QCOMPARE(saved.count('\n'), 2);

    check.cmbKind->setCurrentIndex(0);
    struct statvfs fs {};  // about 16 KB left free
    QCOMPARE(::statvfs(QFile::encodeName(disk.Path()).constData(), &fs), 0);
    WriteBytes(disk.Path("filler.bin"), QByteArray(qint64(fs.f_bavail * fs.f_frsize) - 16384, 'f'));
    const auto seen = AnswerNextMessage(mrOk);
    QTest::mouseClick(check.bbtSaveAs, Qt::LeftButton);
    QVERIFY2(seen->Text.contains("No space left on device"), qPrintable(seen->Text));
    QCOMPARE(seen->Caption, QString("Findings not saved"));
    QCOMPARE(ReadBytes(target), saved);
    QCOMPARE(QDir(disk.Path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"filler.bin", "report.txt"}));

    QFile::remove(disk.Path("filler.bin"));
    QTest::mouseClick(check.bbtSaveAs, Qt::LeftButton);
    TCheckResult all;
    all.Findings = findings;
    QCOMPARE(ReadBytes(target), CheckResultText(all, AllCheckKinds));
    ReportFault("site check report on a full disk", "refused with the reason, old report kept");
  }
};

QTEST_MAIN(TestFaultSiteCheck)
#include "test_fault_site_check.moc"
