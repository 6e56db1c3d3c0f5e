#include "app/site_change_commands.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QTimer>

#include "app/main_window.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "doc/edit_file_info.h"
#include "site/link_update_offer.h"
#include "site/replace_files_window.h"
#include "site/site_journal.h"

namespace {

constexpr char kUndoTitle[] = "Undo last site change";

// The open page is read again when a site change wrote it and it has no
// unsaved changes (a modified page is never written by one).
void ReloadIfWritten(TfrmMain* window, const QStringList& written) {
  TEditFileInfo* info = window->FileInfo();
  if (info->FileName.isEmpty() || info->Modified) return;
  const QString page = TSiteJournal::RootKey(info->FileName);
  for (const QString& path : written) {
    if (TSiteJournal::RootKey(path) != page) continue;
    try {
      info->Load(info->FileName);
    } catch (const EQuillmereError& e) {
      MsgWarning(e.Message, "Replace in files");
    }
    return;
  }
}

QAction* AddEntry(QMenu* menu, TfrmMain* window, const char* name, const QString& caption, int tag,
                  const QString& hint, void (*run)(TfrmMain*)) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  a->setProperty("tag", tag);
  a->setStatusTip(hint);
  a->setToolTip(hint);
  QObject::connect(a, &QAction::triggered, window, [window, run] { run(window); });
  return a;
}

}  // namespace

void InstallSiteChangeCommands(TfrmMain* window) {
  auto* edit = window->findChild<QMenu*>("menEdit");
  if (!edit) return;
  edit->addSeparator();
  AddEntry(edit, window, "menEditReplaceFiles", QString::fromUtf8("Replace in files…"),
           cmdEditReplaceFiles, "Replace a text in every file of the site.", ReplaceInFiles);
  AddEntry(edit, window, "menEditUndoSiteChange", "Undo last site change", cmdEditUndoSiteChange,
           "Put back every file of the last site-wide change.", UndoSiteChange);
  // A change that a crash or a kill interrupted is rolled back before the
  // user works on the site again, and the user is told.
  QTimer::singleShot(0, window, [] {
    for (const auto& r : TSiteJournal::RecoverInterrupted())
      MsgWarning(r.Text, "Interrupted site change");
  });
}

void ReplaceInFiles(TfrmMain* window) {
  TfrmReplaceFiles form(Environment->WorkingDir, Environment->FileMask, window);
  if (window->FileInfo()->Modified) form.ModifiedPage = window->FileInfo()->FileName;
  form.OnReplaced = [window](const QStringList& written) { ReloadIfWritten(window, written); };
  form.exec();
}

void UndoSiteChange(TfrmMain* window) {
  const QString root = Environment->WorkingDir;
  auto journal = TSiteJournal::LatestDone(root);
  if (!journal) {
    MsgInfo("There is no site change to undo in " + root, kUndoTitle);
    return;
  }
  TEditFileInfo* info = window->FileInfo();
  if (info->Modified) {
    for (const TJournalFile& f : journal->Files())
      if (TSiteJournal::RootKey(f.Path) == TSiteJournal::RootKey(info->FileName) ||
          TSiteJournal::RootKey(f.NewPath) == TSiteJournal::RootKey(info->FileName)) {
        MsgWarning("Please save your changes to " + info->FileName + " first.", kUndoTitle);
        return;
      }
  }
  if (MsgYesNo(QStringLiteral("Undo \"%1\" (%2)?")
                   .arg(journal->What(), FilesText(int(journal->Files().size()))),
               kUndoTitle) != mrYes)
    return;
  bool force = false;
  const QStringList changed = journal->ChangedSince();
  if (!changed.isEmpty())
    force = MsgYesNo(QStringLiteral("%1 changed since:\r\n%2\r\nPut these back as well?")
                         .arg(FilesText(int(changed.size())), changed.mid(0, 10).join("\r\n")),
                     kUndoTitle) == mrYes;
  QStringList paths;
  for (const TJournalFile& f : journal->Files()) paths << f.Path << f.NewPath;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  TJournalOutcome out;
  try {
    out = journal->Undo(force);
  } catch (const EQuillmereError& e) {
    out.Failed << e.Message;
  }
  QApplication::restoreOverrideCursor();
  if (info->Modified) {
    ReloadIfWritten(window, paths);
  } else {
    // The list shows the names as they are again; the open page keeps its
    // place under its old name.
    QString reopen = info->FileName;
    for (const TJournalFile& f : journal->Files())
      if (!f.NewPath.isEmpty() && TSiteJournal::RootKey(f.NewPath) == TSiteJournal::RootKey(reopen))
        reopen = f.Path;
    window->RefreshFileList();
    window->OpenFileByName(QFileInfo(reopen).fileName());
  }
  const QString text = out.Text().replace(u'\n', QLatin1String("\r\n"));
  if (out.Failed.isEmpty())
    MsgInfo(text, kUndoTitle);
  else
    MsgWarning(text, kUndoTitle);
}

void LinksAfterRename(TfrmMain* window, const QString& oldPath, const QString& newPath) {
  const QStringList written =
      OfferLinkUpdate(Environment->WorkingDir, {{oldPath, newPath}}, "Rename file");
  ReloadIfWritten(window, written);
}
