// The main window's handlers of the editor: Esc, F3 and file stepping,
// block indent and outdent, the read-outs and the clipboard commands.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

#include "app/block_shift.h"
#include "app/command_table.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "doc/edit_file_info.h"

void TfrmMain::SelectChars(int start, int length) {
  memEdit->SetSelStart(start);
  memEdit->SetSelLength(length);
}

bool TfrmMain::memEditKeyPress(int key) {
  if (key != Qt::Key_Escape) return false;
  MenuClick(cmdEditCancel);
  return true;
}

void TfrmMain::memEditF3KeyDown(int key, Qt::KeyboardModifiers shift) {
  if (key == Qt::Key_F3) bbtSearchClick();
  if (FFileInfo->Modified || shift != Qt::ControlModifier) return;
  const int row = flbPages->currentRow();
  int target = -1;
  if (key == Qt::Key_Up && row > 0) target = row - 1;
  if (key == Qt::Key_Down && row < flbPages->count() - 1) target = row + 1;
  if (target < 0) return;
  // The file list holds the focus while the page loads, so filling the
  // editor is not taken as an edit.
  flbPages->setFocus();
  {
    const QSignalBlocker block(flbPages);
    flbPages->setCurrentRow(target);
  }
  flbPagesChange();
  memEdit->setFocus();
}

void TfrmMain::memEditKeyUp(int key, Qt::KeyboardModifiers shift) {
  if ((key != Qt::Key_Left && key != Qt::Key_Right) || shift != Qt::AltModifier) return;
  const int start = memEdit->SelStart();
  const int len = memEdit->SelLength();
  auto atLineStart = [this](int pos) {
    return pos >= 2 && memEdit->LineIndex(memEdit->LineFromChar(pos)) == pos;
  };
  const TBlockShift s =
      ShiftBlock(memEdit->SelText(), start, len, atLineStart(start), atLineStart(start + len),
                 memEdit->TabWidth(), key == Qt::Key_Right);
  SelectChars(s.Start, s.Length);
  memEdit->SetSelText(s.Text);
  SelectChars(s.Start, s.SelLength);
}

void TfrmMain::memEditPosChanged(int row, int col) {
  memEditToggleMenus();
  FCurrentRow = row;
  lblLinesVal->setText(
      QString("%1 : %2").arg(memEdit->LineCount()).arg(memEdit->LineLength(row - 1)));
  lblCursorVal->setText(QString("%1 : %2").arg(row).arg(col));
  lblSizeVal->setText(QString::number(memEdit->TextLength()));
}

void TfrmMain::memEditToggleMenus() {
  menEditCut->setEnabled(false);
  menEditCopy->setEnabled(false);
  menEditPaste->setEnabled(false);
  const QMimeData* data = QApplication::clipboard()->mimeData();
  const bool canPaste = !data || (data->hasText() && !data->text().isEmpty());
  QWidget* active = ActiveControl();
  bool hasSelection = false;
  if (active == memEdit)
    hasSelection = memEdit->SelLength() > 0;
  else if (active == cmbSearch || active == cmbReplace)
    hasSelection = !static_cast<QComboBox*>(active)->currentText().isEmpty();
  else
    return;
  menEditCut->setEnabled(hasSelection);
  menEditCopy->setEnabled(hasSelection);
  menEditPaste->setEnabled(canPaste);
}
