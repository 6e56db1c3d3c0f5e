// The main window's HTML aids: what the tool windows hand back, the tag case
// conversion and the check for characters that do not belong.
#include "doc/edit_file_info.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "components/msg_func.h"
#include "html/char_check.h"
#include "html/html_toolset_window.h"
#include "html/special_chars_window.h"
#include "html/tag_case.h"
#include "search/results_window.h"

#include <QApplication>

void TfrmMain::MyOnClickHandler(QObject* sender) {
  if (sender == frmResults) {
    if (FFileInfo->Modified) {
      MsgWarning("Please save your changes first.", "Workfile changed");
      return;
    }
    const auto hit = frmResults->SelectedHit();
    if (!hit) return;
    flbPages->setFocus();
    OpenFileByName(hit->FileName);
    GotoLine(static_cast<int>(FFileInfo->LoadedLine(hit->Line)));
    return;
  }
  auto* list = qobject_cast<TfrmChoiceList*>(sender);
  if (!list) return;
  // The text goes in front of the selection, never over it, as an edit.
  memEdit->setFocus();
  memEdit->SetSelLength(0);
  memEdit->SetSelText(list->ChosenText);
  memEdit->UpdatePosition();
}

void TfrmMain::ConvertTags(bool toUpper) {
  memEdit->setFocus();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QCoreApplication::processEvents();
  memEdit->SetCaseSensitive(false);
  const std::string text = memEdit->TextBytes();
  const TTagCaseResult result = ConvertTagCase(text, toUpper);
  // The conversion keeps every length, so an unchanged text needs no edit.
  if (result.Changed) {
    memEdit->selectAll(true);
    memEdit->SetSelTextBytes(result.Text);
  }
  memEdit->SetSelStart(0);
  QApplication::restoreOverrideCursor();
  // A document already in case still counts as modified.
  if (!SuppressChange && !FFileInfo->Modified) FFileInfo->SetModified(true);
  memEditChange();
}

void TfrmMain::CheckWrongChars() {
  int line = -1, pos = -1;
  std::string message;
  if (CheckChars(memEdit->Lines(), line, pos, message)) return;
  MsgWarning(QString::fromStdString(message), IllegalCharTitle);
  GotoLine(line);
  memEdit->SetSelStart(memEdit->SelStart() + pos - 1);
  memEdit->UpdatePosition();
}
