// The main window and the disk behind it: pages changed by other programs
// while open, and unsaved text recovered after a crash.
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "app/recovery_file.h"
#include "app/recovery_keeper.h"
#include "app/status_panels.h"
#include "components/file_names.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "doc/edit_file_info.h"

namespace {

QString ChangeQuestion(TDiskChange change, const QString& page) {
  switch (change) {
    case TDiskChange::Deleted:
      return page + " was deleted by another program since it was opened.\r\nSave it again?";
    case TDiskChange::Replaced:
      return page +
             " was replaced by another program since it was opened.\r\n"
             "Save and overwrite the other program's version?";
    default:
      return page +
             " was changed by another program since it was opened.\r\n"
             "Save and overwrite the other program's changes?";
  }
}

}  // namespace

bool TfrmMain::ConfirmDiskChange() {
  const TDiskChange change = FFileInfo->DiskChange();
  if (change == TDiskChange::None) return true;
  return MsgYesNo(ChangeQuestion(change, FFileInfo->FileName), "File changed on disk") == mrYes;
}

void TfrmMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow() && !FStarting && !FCheckingDisk)
    CheckDiskOnActivate();
}

void TfrmMain::CheckDiskOnActivate() {
  FCheckingDisk = true;
  const TDiskChange change = FFileInfo->DiskChange();
  if (change == TDiskChange::None) {
    FDiskNote.clear();
  } else if (FFileInfo->Modified || change == TDiskChange::Deleted) {
    // The edits (or the text of a page that is gone) stay; the user decides
    // at the next save.
    FDiskNote = change == TDiskChange::Deleted ? "  (deleted on disk)" : "  (changed on disk)";
  } else {
    const int row = memEdit->LineFromChar() + 1;
    const QString name = FFileInfo->FileName;
    Guarded("File not loaded", [&] { FFileInfo->Load(name); });
    if (!FFileInfo->FileName.isEmpty()) GotoLine(std::min(row, FFileInfo->LineCount()));
    FDiskNote.clear();
  }
  UpdateStatusBar();
  FCheckingDisk = false;
}

void TfrmMain::OfferRecoveries() {
  // Saves cut short in the site folder first: the page on disk is older.
  // The file list has just read the site folder: its temporaries come along.
  const QString site = Environment->WorkingDir;
  const QList<TStaleTemporary> stale = QDir(flbPages->Directory()) == QDir(site)
                                           ? CleanStaleTemporaries(site, flbPages->Temporaries())
                                           : CleanStaleTemporaries(site);
  const QList<TRecovery> recoveries = StaleTemporaryRecoveries(stale) + FindRecoveries();
  // The question may come before the window was first activated.
  if (!recoveries.isEmpty()) QTimer::singleShot(0, this, [this] { activateWindow(); });
  for (const TRecovery& found : recoveries) {
    if (MsgYesNo("Unsaved changes to " + found.Page + " were found. Recover them?",
                 "Recover changes") != mrYes) {
      RemoveFileNamed(found.FileName);
      continue;
    }
    const QFileInfo page(found.Page);
    Environment->SetWorkingDir(page.absolutePath());
    {
      // The page is loaded once, by name, not first as the list's first entry.
      const QSignalBlocker block(page.isFile() ? flbPages : nullptr);
      RefreshFileList();
    }
    if (page.isFile()) OpenFileByName(page.fileName());
    if (FFileInfo->FileName != found.Page) FFileInfo->FileName = found.Page;
    // The stamp of the page as the crashed instance knew it, so that a later
    // change by another program is still noticed at the save.
    FFileInfo->DiskStamp = found.PageStamp;
    SuppressChange = true;
    memEdit->SetTextBytes(found.Text);
    SuppressChange = false;
    FFileInfo->SetModified(true);
    SetCaptionFor(found.Page);
    FRecovery->WriteNow();
    RemoveFileNamed(found.FileName);
    // One document is open at a time; the others wait for a later start.
    return;
  }
}
