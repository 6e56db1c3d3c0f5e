#include "config/tools_dialog.h"

#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "components/errors.h"
#include "components/msg_func.h"
#include "config/dialog_frame.h"

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(r);
  return button;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const char* labelName,
                    const QString& caption, int top) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(labelName);
  label->setGeometry(200, top, 200, 16);
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setGeometry(200, top + 17, 203, 22);
  label->setBuddy(edit);
  return edit;
}

}  // namespace

TfrmToolsMaint::TfrmToolsMaint(const QString& iniFileName, int maxCount, QWidget* parent)
    : QDialog(parent), FIniFileName(iniFileName), FMaxCount(maxCount) {
  setObjectName("frmToolsMaint");
  setWindowTitle("Edit Tools-Menu");
  SetDialogFrame(this, {411, 243}, false);
  BuildControls();
  FTools = LoadToolList(iniFileName);
  ShowList();
  SelectFirst();
  ShowTool();
  SetEditMode(false);
}

void TfrmToolsMaint::BuildControls() {
  auto* lblPrograms = new QLabel("Programs", this);
  lblPrograms->setObjectName("lblPrograms");
  lblPrograms->setGeometry(8, 8, 180, 16);
  ltbPrograms = new QListWidget(this);
  ltbPrograms->setObjectName("ltbPrograms");
  ltbPrograms->setGeometry(8, 25, 180, 168);
  ltbPrograms->viewport()->installEventFilter(this);
  connect(ltbPrograms, &QListWidget::currentRowChanged, this, &TfrmToolsMaint::ProgramsClick);
  bbtAdd = MakeButton(this, "bbtAdd", "&Add", {8, 205, 56, 28});
  bbtEdit = MakeButton(this, "bbtEdit", "&Edit", {70, 205, 56, 28});
  bbtDelete = MakeButton(this, "bbtDelete", "&Delete", {132, 205, 56, 28});
  edtTitle = MakeEdit(this, "edtTitle", "lblTitle", "Title", 8);
  // Program and folder keep the case they are typed in: the file system
  // tells case apart.
  edtProgram = MakeEdit(this, "edtProgram", "lblProgram", "Program", 52);
  edtWorkingDir = MakeEdit(this, "edtWorkingDir", "lblWorkingDir", "Working Dir.", 96);
  bbtBrowse = MakeButton(this, "bbtBrowse", "&Browse ...", {200, 146, 96, 28});
  bbtCancel = MakeButton(this, "bbtCancel", "&Cancel", {228, 205, 84, 28});
  bbtOK = MakeButton(this, "bbtOK", "&Save", {319, 205, 84, 28});
  for (QPushButton* b : {bbtAdd, bbtEdit, bbtDelete, bbtBrowse, bbtCancel, bbtOK})
    connect(b, &QPushButton::clicked, this, [this, b] { ButtonsClick(b); });

  ondFileOpen = new QFileDialog(this, "Find program");
  ondFileOpen->setObjectName("ondFileOpen");
  ondFileOpen->setFileMode(QFileDialog::ExistingFile);
  ondFileOpen->setNameFilters({"Programs (*)", "Scripts (*.sh *.py *.pl)"});
}

void TfrmToolsMaint::ShowList() {
  ltbPrograms->clear();
  for (const TTool& tool : FTools) ltbPrograms->addItem(tool.Title);
}

void TfrmToolsMaint::SelectFirst() {
  if (!FTools.isEmpty()) ltbPrograms->setCurrentRow(0);
}

void TfrmToolsMaint::SetEditMode(bool editing) {
  FEditing = editing;
  const TToolDialogState state =
      ToolDialogState(editing, static_cast<int>(FTools.size()), FMaxCount);
  ltbPrograms->setEnabled(state.List);
  bbtAdd->setEnabled(state.Add);
  bbtEdit->setEnabled(state.Edit);
  bbtDelete->setEnabled(state.Delete);
  for (QWidget* w : std::initializer_list<QWidget*>{bbtBrowse, edtTitle, edtProgram, edtWorkingDir})
    w->setEnabled(state.Edits);
  bbtOK->setText(editing ? "&OK" : "&Save");
  if (editing)
    edtTitle->setFocus();
  else
    ltbPrograms->setFocus();
}

void TfrmToolsMaint::ShowTool() {
  const int row = ltbPrograms->currentRow();
  if (FTools.isEmpty() || row < 0 || row >= FTools.size()) return;
  edtTitle->setText(FTools[row].Title);
  edtProgram->setText(FTools[row].Program);
  edtWorkingDir->setText(FTools[row].WorkingDir);
}

void TfrmToolsMaint::ProgramsClick() { ShowTool(); }

void TfrmToolsMaint::ButtonsClick(QObject* sender) {
  if (sender == bbtAdd) {
    FAdding = true;
    for (QLineEdit* e : {edtTitle, edtProgram, edtWorkingDir}) e->clear();
    SetEditMode(true);
  } else if (sender == bbtEdit || sender == ltbPrograms) {
    FAdding = false;
    SetEditMode(true);
  } else if (sender == bbtDelete) {
    DeleteSelected();
  } else if (sender == bbtBrowse) {
    BrowseProgram();
  } else if (sender == bbtCancel) {
    if (!FEditing) return QDialog::reject();
    ShowTool();
    SetEditMode(false);
  } else if (sender == bbtOK) {
    if (FEditing)
      AcceptEdits();
    else
      SaveTools();
  }
}

void TfrmToolsMaint::DeleteSelected() {
  FTools = DeleteTool(FTools, ltbPrograms->currentRow());
  ShowList();
  SelectFirst();
  ShowTool();
  SetEditMode(false);
}

void TfrmToolsMaint::AcceptEdits() {
  const TTool tool = MakeTool(edtTitle->text(), edtProgram->text(), edtWorkingDir->text());
  FTools = AcceptToolEdit(FTools, ltbPrograms->currentRow(), FAdding, tool);
  ShowList();
  SelectFirst();
  ShowTool();
  SetEditMode(false);
}

void TfrmToolsMaint::BrowseProgram() {
  const QFileInfo current(edtProgram->text());
  if (current.isAbsolute() && current.dir().exists())
    ondFileOpen->setDirectory(current.dir().absolutePath());
  if (ondFileOpen->exec() != QDialog::Accepted || ondFileOpen->selectedFiles().isEmpty()) return;
  edtProgram->setText(QFileInfo(ondFileOpen->selectedFiles().first()).absoluteFilePath());
}

void TfrmToolsMaint::SaveTools() {
  try {
    SaveToolList(FIniFileName, FTools);
  } catch (const EInOutError& e) {
    // The list stays in the dialog, so the user can try again or cancel.
    MsgWarning(e.Message, "Tools not saved");
    return;
  }
  accept();
}

void TfrmToolsMaint::reject() { ButtonsClick(bbtCancel); }

bool TfrmToolsMaint::eventFilter(QObject* watched, QEvent* event) {
  // A double-click anywhere on the list, even an empty one, edits.
  if (watched == ltbPrograms->viewport() && event->type() == QEvent::MouseButtonDblClick &&
      ltbPrograms->isEnabled()) {
    ButtonsClick(ltbPrograms);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool EditTools(const QString& iniFileName, int maxCount, QWidget* parent) {
  TfrmToolsMaint dialog(iniFileName, maxCount, parent);
  return dialog.exec() == QDialog::Accepted;
}
