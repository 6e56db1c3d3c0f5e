// Fault run: the disk fills up while the main window saves, saves as,
// renames or writes its settings. The disk is a real small tmpfs, filled
// to leave various amounts of room, so the write fails at its first block,
// half way or near its end.
#include <sys/statvfs.h>

#include <QApplication>
#include <QTest>

#include "app/command_table.h"
#include "doc/edit_file_info.h"
#include "fault_report.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "small_disk.h"
#include "window_fixture.h"

namespace {

qint64 FreeBytes(const QString& folder) {
  struct statvfs fs {};
  if (::statvfs(QFile::encodeName(folder).constData(), &fs) != 0) return 0;
  return qint64(fs.f_bavail) * qint64(fs.f_frsize);
}

// Leaves about room bytes free on the disk of folder (whole pages of memory).
void Fill(const QString& folder, qint64 room) {
  const QString filler = folder + "/filler.bin";
  QFile::remove(filler);
  const qint64 size = FreeBytes(folder) - room;
  if (size > 0) WriteBytes(filler, QByteArray(size, 'f'));
  QVERIFY(FreeBytes(folder) <= room + 4096);
}

QByteArray PageOf(int bytes) {
  QByteArray page;
  for (int line = 0; page.size() < bytes; ++line)
    page += "<p>line " + QByteArray::number(line) + " of the page</p>\r\n";
  return page;
}

// The amounts of room left for a write of size bytes.
QList<qint64> RoomsFor(qint64 size) {
  if (!FullFaultRun()) return {0, size / 2};
  return {0, 4096, size / 4, size / 2, size * 3 / 4, size - 4096};
}

#define FAULT_SMALL_DISK(disk, kilobytes, name)                                                \
  TSmallDisk disk(kilobytes);                                                                  \
  if (!disk.Mounted()) {                                                                       \
    ReportFault(name, "skipped: a small tmpfs cannot be mounted here (needs the super-user)"); \
    QSKIP("a small tmpfs cannot be mounted here");                                             \
  }

QString Kb(qint64 bytes) { return QString::number(bytes / 1024) + " KB"; }

QString RoomsText(const QList<qint64>& rooms) {
  QStringList kb;
  for (const qint64 room : rooms) kb.append(QString::number(room / 1024));
  return kb.join(", ") + " KB free";
}

}  // namespace

class TestFaultDisk : public QObject {
  Q_OBJECT
  const QByteArray FPage = PageOf(FaultScale(40, 200) * 1024);
  const QByteArray FEdited = "edit " + FPage;

  // A window on a.html of a small disk, with "edit " typed in.
  void OpenEdited(TWindowFixture& w, const TSmallDisk& disk) {
    w.UseSite(disk.Path());
    w.Page("a.html", FPage);
    w.Open();
    w.Edit("edit ");
  }

  // After a refused write: the page, the editor and the folder as they were.
  void CheckKept(TFaultCase& c, TWindowFixture& w, const TMsgSeenPtr& seen,
                 const QStringList& entries) {
    c.Kept(seen->Shown && seen->Text.contains("No space left on device"),
           "no message gave the reason (" + seen->Text + ")");
    c.Kept(ReadBytes(w.Site("a.html")) == FPage, "the page on disk changed");
    c.Kept(w.Doc()->FileName == w.Site("a.html"), "the window left the page");
    c.Kept(w.Modified(), "the modified mark went");
    c.Kept(w.Text().toUtf8() == FEdited, "the edit in the editor was lost");
    c.Kept(EntriesOf(w.Site()) == entries, "the folder holds " + EntriesOf(w.Site()).join(" "));
  }

 private Q_SLOTS:
  void init() { ClearMessageAnswers(); }

  void fullDiskDuringSave() {
    FAULT_SMALL_DISK(disk, 1024, "disk full during save");
    TFaultCase c("disk full during save");
    TWindowFixture w;
    OpenEdited(w, disk);
    c.Tried("Ctrl+S of " + Kb(FEdited.size()) + " with " + RoomsText(RoomsFor(FEdited.size())));
    for (const qint64 room : RoomsFor(FEdited.size())) {
      Fill(disk.Path(), room);
      const auto seen = AnswerNextMessage(mrOk);
      w.SaveByKey();
      CheckKept(c, w, seen, {"a.html", "filler.bin"});
    }
    c.Tried("then with room");
    QFile::remove(disk.Path("filler.bin"));
    w.SaveByKey();
    c.Kept(ReadBytes(w.Site("a.html")) == FEdited, "the save with room did not write the edit");
    c.Kept(!w.Modified(), "still marked modified after the save");
    QUILLMERE_FAULT_FINISH(c);
  }

  void fullDiskDuringSaveAsAndRename() {
    FAULT_SMALL_DISK(disk, 1024, "disk full during save as and rename");
    TFaultCase c("disk full during save as and rename");
    TWindowFixture w;
    OpenEdited(w, disk);
    QString target;
    w.Window()->SaveDialog = [&](const QString&, const QString&) { return w.Site(target); };
    c.Tried("save as a new page and rename, each with " + RoomsText(RoomsFor(FEdited.size())));
    for (const qint64 room : RoomsFor(FEdited.size())) {
      Fill(disk.Path(), room);
      for (const auto& [tag, name] :
           {std::pair{cmdFileSaveAs, "b.html"}, {cmdFileRename, "d.html"}}) {
        target = name;
        const auto seen = AnswerNextMessage(mrOk);
        w.Command(tag);
        CheckKept(c, w, seen, {"a.html", "filler.bin"});
      }
    }
    QFile::remove(disk.Path("filler.bin"));
    c.Tried("then with room");
    target = "b.html";
    w.Command(cmdFileSaveAs);
    c.Kept(ReadBytes(w.Site("b.html")) == FEdited, "save as with room did not write b.html");
    c.Kept(ReadBytes(w.Site("a.html")) == FPage, "save as changed the page it came from");
    target = "d.html";
    w.Command(cmdFileRename);
    c.Kept(ReadBytes(w.Site("d.html")) == FEdited, "rename with room did not write d.html");
    c.Kept(EntriesOf(w.Site()) == QStringList({"a.html", "d.html"}),
           "after the rename the folder holds " + EntriesOf(w.Site()).join(" "));
    QUILLMERE_FAULT_FINISH(c);
  }

  void fullDiskDuringSettingsWrite() {
    FAULT_SMALL_DISK(disk, 256, "disk full during settings write");
    TFaultCase c("disk full during settings write");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(disk.Path("config")));
    {
      TWindowFixture w;
      w.Page("a.html", "<p>page</p>\r\n");
      w.Open();
      const QString ini = TWindowFixture::IniPath();
      const QByteArray before = ReadBytes(ini);
      const QStringList entries = EntriesOf(disk.Path("config/quillmere"));
      w.Window()->move(w.Window()->pos() + QPoint(7, 5));  // the settings now differ
      Fill(disk.Path(), 0);
      c.Tried("close with the settings disk full, then No to closing without them");
      const auto reason = AnswerNextMessage(mrOk);
      AnswerNextMessage(mrNo);
      w.Window()->close();
      c.Kept(reason->Text.contains("No space left on device"), "no reason given: " + reason->Text);
      c.Kept(w.Window()->isVisible(), "the window closed although the user said No");
      c.Kept(!QApplication::overrideCursor(), "the hourglass stayed");
      c.Tried("then Yes");
      AnswerNextMessage(mrOk);
      AnswerNextMessage(mrYes);
      w.Window()->close();
      c.Kept(!w.Window()->isVisible(), "the window stayed open after Yes");
      c.Kept(ReadBytes(ini) == before, "the settings file changed");
      c.Kept(EntriesOf(disk.Path("config/quillmere")) == entries,
             "the settings folder holds " + EntriesOf(disk.Path("config/quillmere")).join(" "));
    }
    qputenv("XDG_CONFIG_HOME", configHome);
    QUILLMERE_FAULT_FINISH(c);
  }
};

QTEST_MAIN(TestFaultDisk)
#include "test_fault_disk.moc"
