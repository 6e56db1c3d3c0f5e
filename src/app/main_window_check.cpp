// The main window and the site check: the check of the file list's folder,
// and the page of a finding opened at its line and column.
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "app/page_files.h"
#include "components/desktop.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "doc/edit_file_info.h"
#include "doc/file_helpers.h"
#include "site/site_check_view.h"
#include "site/site_check_window.h"
#include "site/walk_tree_window.h"

TfrmSiteCheck* TfrmMain::SiteCheckWindow() {
  if (!frmSiteCheck) {
    frmSiteCheck = new TfrmSiteCheck(this);
    frmSiteCheck->OnChoose = [this](QObject*) { OpenCheckFinding(); };
  }
  return frmSiteCheck;
}

void TfrmMain::CheckSite() {
  TCheckOptions options;
  options.Root = flbPages->Directory();
  options.Mask = CheckMaskFor(Environment->FileMask);
  options.SubDirs = true;
  ApplyCheckSettings(Environment->CheckIndexPages, Environment->CheckImageLimit, &options);
  SiteCheckWindow()->StartCheck(options);
}

void TfrmMain::OpenCheckFinding() {
  if (!frmSiteCheck) return;
  const auto finding = frmSiteCheck->SelectedFinding();
  if (!finding) return;
  // The site window holds every other window still; the page can be worked
  // on once it has closed, so it closes and the page opens after it.
  if (auto* site = qobject_cast<TfrmWalkTree*>(QApplication::activeModalWidget())) {
    FPendingFinding = finding;
    FPendingRoot = frmSiteCheck->Root();
    site->reject();
    return;
  }
  OpenFinding(frmSiteCheck->Root(), *finding);
}

void TfrmMain::OpenPendingFinding() {
  if (const auto finding = std::exchange(FPendingFinding, std::nullopt))
    OpenFinding(FPendingRoot, *finding);
}

void TfrmMain::OpenFinding(const QString& root, const TCheckFinding& finding) {
  const QString path = QDir(root).absoluteFilePath(finding.Page);
  // An image is no page for the editor: it goes to the desktop's viewer.
  if (finding.Kind == ckImage) {
    Desktop().OpenDocument(path);
    return;
  }
  if (FFileInfo->Modified) {
    MsgWarning("Please save your changes first.", "Workfile changed");
    return;
  }
  const QFileInfo info(path);
  if (!info.isFile()) {
    MsgWarning(QDir::toNativeSeparators(path) + " is not there any more.", "Page not found");
    return;
  }
  if (!SameFile(info.absolutePath(), flbPages->Directory())) {
    Environment->SetWorkingDir(info.absolutePath());
    RefreshFileList();
  }
  flbPages->setFocus();
  if (PageRowFor(flbPages->Names(), info.fileName()) >= 0) {
    OpenFileByName(info.fileName());
  } else if (ConfirmLongLines(path)) {
    // The list's mask leaves the page out; it opens all the same.
    LoadByName(path);
  }
  // Loading may have been refused or have failed; the message said so.
  if (!SameFile(FFileInfo->FileName, path)) return;

  const int line = static_cast<int>(FFileInfo->LoadedLine(finding.Line));
  GotoLine(line);
  const int start = memEdit->LineIndex(line - 1);
  if (start < 0) return;
  QByteArray page;
  if (QFile file(path); file.open(QIODevice::ReadOnly)) page = file.readAll();
  const int column =
      EditorColumn(PageLine(page, finding.Line), finding.Column, memEdit->Line(line - 1));
  memEdit->SetSelStart(start + column);
  memEdit->setFocus();
  memEdit->UpdatePosition();
  raise();
  activateWindow();
}
