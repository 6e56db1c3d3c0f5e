// The main window's file commands: new from the template, delete, save as,
// rename, view, another instance, the template, help, web references and the site window.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "app/page_files.h"
#include "app/site_change_commands.h"
#include "app/web_links.h"
#include "components/delay_func.h"
#include "components/desktop.h"
#include "components/errors.h"
#include "components/file_names.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "doc/document_file.h"
#include "doc/edit_file_info.h"
#include "doc/file_helpers.h"
#include "site/site_listing.h"
#include "site/walk_tree_window.h"

namespace {

QString NameOf(const QString& path) { return QFileInfo(path).fileName(); }

// The name Convert gave the page once at Path (seen as Before): its name in
// small or in capital letters, if that is the same file; else empty.
QString RenamedByConvert(const QString& path, const TFileStamp& before) {
  if (!before.Exists || FileStampOf(path).Exists) return {};
  const qsizetype slash = path.lastIndexOf('/') + 1;
  for (const bool upper : {false, true}) {
    const QString candidate = path.left(slash) + CaseFileName(path.mid(slash), upper);
    const TFileStamp now = FileStampOf(candidate);
    if (now.Exists && now.Device == before.Device && now.Inode == before.Inode) return candidate;
  }
  return {};
}

}  // namespace

QString UnquotedPath(const QString& s) {
  return s.size() >= 2 && s.startsWith('"') && s.endsWith('"') ? s.mid(1, s.size() - 2) : s;
}

QString TfrmMain::RunSaveDialog(const QString& title, const QString& fileName) {
  if (SaveDialog) return SaveDialog(title, fileName);
  QFileDialog dialog(this, title, fileName.isEmpty() ? Environment->WorkingDir : fileName,
                     "HTML (*.html *.htm);;Text (*.txt)");
  dialog.setObjectName("sdlSaveAs");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("html");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().first()
             : QString();
}

void TfrmMain::NewFile() {
  QString t = Environment->TemplateFileName;
  if (!QFileInfo(t).isFile()) t = UnquotedPath(t);
  if (!QFileInfo(t).isFile()) {
    MsgWarning("Can't find " + Environment->TemplateFileName + " to copy.", "New file");
    return;
  }
  const QString target = Environment->WorkingDir + "__noname.html";
  if (QFileInfo::exists(target) || !CopyFileTo(t, target)) {
    MsgStop("Can't create a new file '__noname.html'.", "New file");
    return;
  }
  RefreshFileList();
}

void TfrmMain::DeleteDocument() {
  const QString name = FFileInfo->FileName;
  if (name.isEmpty()) return;
  if (MsgYesNo("Delete " + name + "?", "Delete file") != mrYes) return;
  if (const QString error = RemoveFileNamed(name); !error.isEmpty())
    MsgWarning("Can't delete " + name + ": " + error, "Delete file");
  RefreshFileList();
}

bool TfrmMain::SaveDocumentAs() {
  FSaveRefused = false;
  const QString chosen = RunSaveDialog(FSaveTitle, FFileInfo->FileName);
  if (chosen.isEmpty()) return false;
  SuppressChange = true;
  const QString target = SaveAsTarget(chosen);
  // Another name may reach the page itself: a link, or a linked folder.
  if (target.compare(FFileInfo->FileName, Qt::CaseInsensitive) == 0 ||
      SameFile(target, FFileInfo->FileName)) {
    MsgWarning("File can't be copied to itself.", "Invalid filename");
    SuppressChange = false;
    FSaveRefused = true;
    return true;
  }
  // The dialog asked about the name as typed; the lower-cased one may be
  // another file that is there already.
  if (target != chosen && QFileInfo::exists(target) &&
      MsgYesNo(target + " already exists.\r\nDo you want to replace it?", "Save file as") !=
          mrYes) {
    SuppressChange = false;
    return false;
  }
  const int row = FCurrentRow;
  const TLines lines = ApplyConversion();
  GotoLine(row);
  if (!WriteGuarded("File not saved", [&](TWriteMode mode) {
        WriteDocumentFile(target, lines, FFileInfo->Encoding, 0, mode);
      })) {
    SuppressChange = false;
    return false;
  }
  Environment->SetWorkingDir(QFileInfo(target).absolutePath());
  RefreshFileList();
  LoadByName(target);
  SuppressChange = false;
  return true;
}

void TfrmMain::LoadByName(const QString& path) {
  const int row = flbPages->Names().indexOf(NameOf(path));
  {
    const QSignalBlocker block(flbPages);
    flbPages->setCurrentRow(row);
  }
  Guarded("File not loaded", [&] { FFileInfo->Load(path); });
  SetCaptionFor(path);
}

void TfrmMain::RenameDocument() {
  if (FFileInfo->FileName.isEmpty()) return;
  FSaveTitle = "Rename " + NameOf(FFileInfo->FileName) + " to ...";
  const QString old = FFileInfo->FileName;
  const bool written = SaveDocumentAs();
  FSaveTitle = "Save file as";
  // Renaming to its own name wrote nothing: reading the page back from disk
  // would throw away the edits without a question.
  if (!written || FSaveRefused) return;
  // The old page goes only once the new one is written whole.
  if (!SameFile(FFileInfo->FileName, old) && QFileInfo(FFileInfo->FileName).isFile()) {
    if (const QString error = RemoveFileNamed(old); !error.isEmpty())
      MsgWarning("Can't delete " + old + ": " + error, "Rename file");
  }
  const QString current = FFileInfo->FileName;
  RefreshFileList();
  DelaySeconds(0.1);
  LoadByName(current);
  if (!QFileInfo::exists(old)) LinksAfterRename(this, old, current);
}

void TfrmMain::OpenWebLink(int tag) {
  const QString address = WebLinkAddress(tag, Environment->IniFileName);
  if (address.isEmpty()) {
    MsgInfo("No address is configured for this page.\r\nAdd " + WebLinkKey(tag) +
                "=<address> to the [Links] section of " + Environment->IniFileName + ".",
            "No address");
    return;
  }
  Desktop().OpenDocument(address);
}

void TfrmMain::ShowHelp() {
  if (QFileInfo(Environment->HelpFileName).isFile())
    Desktop().OpenDocument("file://" + Environment->HelpFileName);
  else
    MsgWarning("Helpfile not found.\r\n" + Environment->HelpFileName, "No help available");
}

void TfrmMain::StartInstance(const QStringList& args) {
  int error = 0;
  Desktop().StartProgram(QCoreApplication::applicationFilePath(), args, QString(), error);
}

void TfrmMain::bbtMaintClick() {
  SiteCheckWindow();  // the site window's checks show there
  const QString page = FFileInfo->FileName;
  const TFileStamp before = FileStampOf(page);
  TfrmWalkTree::ShowSiteWindow(Environment->WorkingDir, this);
  // The list is read again, since Convert may have renamed its files. The
  // open page stays open, by the new name Convert may have given it, and is
  // read again, since Touch may have dated it.
  const QString renamed = RenamedByConvert(page, before);
  const QString open = renamed.isEmpty() ? page : renamed;
  if (page.isEmpty() || FFileInfo->Modified || !FileStampOf(open).Exists) {
    RefreshFileList();
    OpenPendingFinding();
    return;
  }
  const int row = memEdit->LineFromChar() + 1;
  {
    const QSignalBlocker block(flbPages);
    RefreshFileList();
  }
  LoadByName(open);
  GotoLine(std::min(row, FFileInfo->LineCount()));
  OpenPendingFinding();
}
