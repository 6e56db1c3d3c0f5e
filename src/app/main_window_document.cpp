// The main window's document handling: loading the selected file, showing
// it, tracking edits, the enabled state of every document command, saving
// and restoring.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>

#include "app/doc_commands.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "app/page_files.h"
#include "app/recovery_keeper.h"
#include "app/status_panels.h"
#include "components/app_title.h"
#include "components/edit_controls.h"
#include "components/enable_panel.h"
#include "components/errors.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "doc/edit_file_info.h"
#include "doc/file_helpers.h"
#include "doc/text_lines.h"

bool TfrmMain::Guarded(const QString& title, const std::function<void()>& fn) {
  try {
    fn();
    return true;
  } catch (const EQuillmereError& e) {
    MsgWarning(e.Message, title);
  } catch (const std::exception& e) {
    MsgWarning(QString::fromUtf8(e.what()), title);
  }
  return false;
}

bool TfrmMain::WriteGuarded(const QString& title, const std::function<void(TWriteMode)>& write) {
  bool declined = false;
  const bool written = Guarded(title, [&] {
    try {
      write(TWriteMode::Replace);
    } catch (const EFolderReadOnly& e) {
      // Writing in place is safe from everything but a failure half way,
      // so the user decides.
      declined = MsgYesNo(e.Message +
                              "\r\n\r\nThe file itself can be written. Write it in "
                              "place? A failure during the write could leave it damaged.",
                          title) != mrYes;
      if (!declined) write(TWriteMode::InPlace);
    }
  });
  return written && !declined;
}

void TfrmMain::SetCaptionFor(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  setWindowTitle("Quillmere 2.60 - " + name);
  memEdit->setAccessibleName(name);
  SetApplicationTitle("QME - " + name);
}

void TfrmMain::flbPagesChange() {
  if (FStarting) return;
  // Before the events run: a list without a current entry that gets the
  // focus then selects its first one itself, and that page is read twice.
  if (flbPages->count() > 0 && flbPages->currentRow() < 0) {
    const QSignalBlocker block(flbPages);
    flbPages->setCurrentRow(0);
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QCoreApplication::processEvents();
  const QString path = flbPages->FileName();
  const QString previous = FFileInfo->FileName;
  bool accepted = false;
  if (Guarded("File not loaded",
              [&] { accepted = FFileInfo->Load(path, [&] { return ConfirmLongLines(path); }); }) &&
      accepted) {
    SetCaptionFor(path);
  } else {
    // The page shown before was clean (no other file opens while one is
    // modified): show it again rather than an empty editor.
    Guarded("File not loaded", [&] { FFileInfo->Load(previous); });
    const int row = flbPages->Names().indexOf(QFileInfo(previous).fileName());
    const QSignalBlocker block(flbPages);
    flbPages->setCurrentRow(
        QFileInfo(previous).absolutePath() == QFileInfo(path).absolutePath() ? row : -1);
  }
  Environment->SetWorkingDir(flbPages->Directory());
  QApplication::restoreOverrideCursor();
  UpdateSearchButtons();
}

bool TfrmMain::ConfirmLongLines(const QString& path) {
  // The editor lays out a whole line to show any of it: a minified page of
  // one 50 MB line keeps the window busy for about a minute (bench). Asked
  // from the one read, before the editor is filled.
  constexpr qint64 kLongLineBytes = 1 << 20;
  const qint64 longest = FFileInfo->LongestLine();
  if (longest < kLongLineBytes) return true;
  QApplication::restoreOverrideCursor();
  const bool open =
      MsgYesNo(QStringLiteral("%1 has a line of %2 bytes. Showing it can keep Quillmere busy for "
                              "a minute or more.\r\nOpen it anyway?")
                   .arg(QFileInfo(path).fileName(), QLocale().toString(longest)),
               "Very long line") == mrYes;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  return open;
}

void TfrmMain::ApplySyntax() {
  memEdit->SetSyntaxLanguage(Environment->SyntaxHighlight ? SyntaxLanguageFor(FFileInfo->FileName)
                                                          : TSyntaxLanguage::None);
}

void TfrmMain::ShowBaseline() {
  FFileInfo->SetModified(false);
  ApplySyntax();
  const bool previous = SuppressChange;
  SuppressChange = true;
  memEdit->SetTextBytes(FFileInfo->Baseline.Text());
  memEdit->SetSelStart(0);
  SuppressChange = previous;
  if (!FStarting) {
    if (memEdit->isEnabled() && memEdit->isVisible()) memEdit->setFocus();
    memEdit->UpdatePosition();
    if (flbPages->isEnabled() && flbPages->isVisible()) flbPages->setFocus();
  }
}

void TfrmMain::UpdateStatusBar() {
  stbStatus->SetText(0, " " + FFileInfo->FileName + FDiskNote);
  stbStatus->SetText(1, FFileInfo->FileDateText());
  stbStatus->SetMarker(FFileInfo->Modified);
}

void TfrmMain::UpdateDocState() {
  UpdateStatusBar();
  const int lines = FFileInfo->LineCount();
  const bool m = FFileInfo->Modified;
  iedGoto->SetMinValue(1);
  iedGoto->SetValue(1);
  iedGoto->SetMaxValue(lines);
  iedGoto->SetMaxLength(QString::number(lines).size());
  const TDocCommands c = DocCommandsFor(lines, m, !FFileInfo->FileName.isEmpty());
  bbtGoto->setEnabled(c.Goto);
  ipnFiles->setEnabled(c.Files);
  UpdateMaintButton();
  for (QAction* a : {menFileNew, menPopNew}) a->setEnabled(c.New);
  for (QAction* a : {menFileDelete, menPopDelete}) a->setEnabled(c.Delete);
  for (QAction* a : {menFileRename, menPopRename}) a->setEnabled(c.Rename);
  menFileSave->setEnabled(c.Save);
  bbtSave->setEnabled(c.Save);
  for (QAction* a : {menFileSaveAs, menPopSaveAs}) a->setEnabled(c.SaveAs);
  bbtSaveAs->setEnabled(c.SaveAs);
  for (QAction* a : {menFileView, menPopView}) a->setEnabled(c.View);
  bbtView->setEnabled(c.View);
  menEditCancel->setEnabled(c.Cancel);
  bbtCancel->setEnabled(c.Cancel);
  menEditSelAll->setEnabled(c.SelectAll);
  menOptSettings->setEnabled(c.Settings);
  bbtSettings->setEnabled(c.Settings);
  ckbSearchAll->setEnabled(c.SearchAll);
}

void TfrmMain::memEditChange() {
  if (SuppressChange) return;
  if (ActiveControl() == memEdit && !FFileInfo->Modified) FFileInfo->SetModified(true);
  if (FFileInfo->Modified) FRecovery->TextChanged();
  UpdateSearchButtons();
  memEditToggleMenus();
}

void TfrmMain::UpdateSearchButtons() {
  const bool has = FFileInfo->LineCount() > 0;
  const bool text = !cmbSearch->currentText().isEmpty();
  bbtSearch->setEnabled(has && text);
  bbtReplace->setEnabled(has && text && !ckbSearchAll->isChecked());
  bbtReplaceAll->setEnabled(has && text && !ckbSearchAll->isChecked());
  UpdateMaintButton();
}

void TfrmMain::UpdateMaintButton() {
  bbtMaint->setEnabled(!FFileInfo->Modified && flbPages->count() > 0);
}

TLines TfrmMain::ApplyConversion() {
  FFileInfo->Conversion = Environment->AutoConversion;
  FFileInfo->DeleteEmptyLines = Environment->DelEmptyLines;
  FFileInfo->SetTabSize(Environment->TabInterval);
  // One copy of the text at a time: a save of a 1 GB page must fit in memory.
  TLines lines = memEdit->Lines();
  if (FFileInfo->Convert(lines)) {
    // Replaced as an edit, so it can be undone and marks the page modified.
    std::string text;
    for (const std::string& line : lines) text.append(line).append("\r\n");
    memEdit->selectAll(true);
    memEdit->SetSelTextBytes(text);
  }
  memEdit->SetTabWidth(Environment->TabInterval);
  return lines;
}

bool TfrmMain::SaveDocument() {
  if (!ConfirmDiskChange()) return false;
  const int row = FCurrentRow;
  // The editor's text must be one the page's encoding can hold before it
  // becomes the baseline; a refused save keeps everything as it was.
  // The converted lines go before the text is taken whole: a save should
  // hold one copy of the page beside the editor's, not two.
  ApplyConversion();
  GotoLine(row);
  TJoinedLines previous = std::exchange(FFileInfo->Baseline, memEdit->JoinedLines());
  if (WriteGuarded("File not saved", [&](TWriteMode mode) { FFileInfo->Save(mode); })) return true;
  FFileInfo->Baseline = std::move(previous);
  return false;
}

void TfrmMain::CancelChanges() {
  if (!FFileInfo->Modified) return;
  if (MsgYesNo("Undo all changes and restore original?", "Cancel all changes") != mrYes) return;
  // Off the editor first, so restoring the text is not taken as an edit.
  if (bbtCancel->isEnabled())
    bbtCancel->setFocus();
  else
    setFocus();
  ShowBaseline();
  UpdateStatusBar();
}

void TfrmMain::OpenFileByName(const QString& name) {
  const int row = PageRowFor(flbPages->Names(), name);
  if (row >= 0 || flbPages->currentRow() < 0) {
    // Before the events run, for the reason given in flbPagesChange.
    const QSignalBlocker block(flbPages);
    flbPages->setCurrentRow(std::max(row, 0));
  }
  QCoreApplication::processEvents();
  flbPagesChange();
  QCoreApplication::processEvents();
}

void TfrmMain::GotoLine(int row) {
  iedGoto->SetValue(row);
  const int index = memEdit->LineIndex(row - 1);
  if (index < 0) return;
  memEdit->SetSelStart(index);
  memEdit->setFocus();
}
