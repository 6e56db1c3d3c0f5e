// Saving from the window when the disk says no: nothing on disk changes,
// the edit and the modified marker stay, the message gives the reason.
#include "app/command_table.h"
#include "doc/edit_file_info.h"
#include "app/status_panels.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "small_disk.h"
#include "window_fixture.h"

#include <QTest>

class TestSaveFaults : public QObject {
  Q_OBJECT

private Q_SLOTS:
  void fullDiskKeepsPageAndEdit() {
    QUILLMERE_SMALL_DISK(disk, 64);
    TWindowFixture w;
    w.UseSite(disk.Path());
    QByteArray page;
    for (int i = 0; i < 240; ++i) page += "<p>line of the page</p>\r\n";
    w.Page("a.html", page);
    w.Page("filler.bin", QByteArray(128 * 1024, 'f'));  // cut short by the full disk
    w.Open();
    w.FocusEditor();
    w.Type("edit ");
    QTRY_VERIFY(w.Window()->FileInfo()->Modified);
    const auto seen = AnswerNextMessage(mrOk);
    w.Key(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(seen->Shown);
    QCOMPARE(seen->Text, "Cannot write \"" + w.Site("a.html") + "\": No space left on device");
    QCOMPARE(ReadBytes(w.Site("a.html")), page);
    QVERIFY(w.Window()->FileInfo()->Modified);
    QVERIFY(w.Control<TStatusPanels>("stbStatus")->Marker());
    QVERIFY(w.Text().startsWith("edit <p>"));
  }

  void unencodableCharacterIsNamedBySaveAs() {
    TWindowFixture w;
    w.Page("a.html", "caf\xE9\r\n");
    w.Open();
    w.FocusEditor();
    w.Type(QString::fromUtf8("\xE2\x82\xAC\xE2\x98\x83"));  // the euro sign fits, the snowman not
    w.Window()->SaveDialog = [&](const QString&, const QString&) { return w.Site("b.html"); };
    const auto seen = AnswerNextMessage(mrOk);
    w.Window()->MenuClick(cmdFileSaveAs);
    QVERIFY2(seen->Text.contains("U+2603"), qPrintable(seen->Text));
    QVERIFY(!QFile::exists(w.Site("b.html")));
  }
};

QTEST_MAIN(TestSaveFaults)
#include "test_save_faults.moc"
