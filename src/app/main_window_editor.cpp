// The main window's handlers of the editor: Esc, F3 and file stepping,
// block indent and outdent, the read-outs and the clipboard commands.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>

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
  const QString unit(memEdit->TabWidth() / 4, QChar(' '));
  int start = memEdit->SelStart();
  int len = memEdit->SelLength();
  // The buffer holds no line break but CR LF, so "CR LF just before" means
  // "at the start of a line other than the first".
  auto atLineStart = [this](int pos) {
    return pos >= 2 && memEdit->LineIndex(memEdit->LineFromChar(pos)) == pos;
  };
  if (atLineStart(start)) {
    const bool endsAtLineStart = atLineStart(start + len);
    SelectChars(start - 2, len + 2);
    if (endsAtLineStart) SelectChars(start - 2, len + 1);
    start = memEdit->SelStart();
    len = memEdit->SelLength();
  }
  QString text = memEdit->SelText();
  if (key == Qt::Key_Right) {
    len += text.count("\r\n");
    text.replace("\r\n", "\r\n\t");
    memEdit->SetSelText(text);
  } else {
    len -= text.count("\r\n\t");
    text.replace("\r\n\t", "\r\n");
    memEdit->SetSelText(text);
    SelectChars(start, len);
    if (!unit.isEmpty()) {
      text = memEdit->SelText();
      len -= text.count("\r\n" + unit) * unit.size();
      text.replace("\r\n" + unit, "\r\n");
      memEdit->SetSelText(text);
    }
  }
  SelectChars(start, len);
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
