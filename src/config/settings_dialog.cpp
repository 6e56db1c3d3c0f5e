#include "config/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "components/edit_controls.h"
#include "config/dialog_frame.h"
#include "config/environment.h"
#include "doc/whitespace_rules.h"

namespace {

QFrame* MakeFrame(QWidget* parent, const QRect& r) {
  auto* frame = new QFrame(parent);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame->setGeometry(r);
  return frame;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->setGeometry(r);
  return label;
}

// A check box with its text left of the box.
QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setLayoutDirection(Qt::RightToLeft);
  box->setGeometry(r);
  return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(r);
  return button;
}

}  // namespace

TfrmSettings::TfrmSettings(QWidget* parent) : QDialog(parent) {
  setObjectName("frmSettings");
  setWindowTitle("Settings");
  SetDialogFrame(this, {418, 298}, true);
  QFrame* outer = MakeFrame(this, {6, 6, 406, 248});
  BuildLeftFrame(MakeFrame(outer, {8, 8, 176, 148}));
  BuildMaskFrame(MakeFrame(outer, {190, 8, 208, 148}));
  BuildAutoConv(outer);
  BuildButtons();
  SetTabOrder();
  iedTab->setFocus();
}

void TfrmSettings::BuildLeftFrame(QWidget* frame) {
  MakeLabel(frame, "lblTab", "Tab interval", {10, 14, 100, 16});
  iedTab = new TIntEdit(frame);
  iedTab->setObjectName("iedTab");
  iedTab->SetFillCount(2);
  iedTab->SetMaxLength(2);
  iedTab->SetMinValue(0);
  iedTab->SetMaxValue(MaxTabChars);
  iedTab->setText(" 0");
  iedTab->setGeometry(120, 10, 40, 22);
  ckbSaveSearch = MakeCheck(frame, "ckbSaveSearch", "Save Search-strings", {8, 46, 158, 20});
  ckbSaveCoord = MakeCheck(frame, "ckbSaveCoord", "Save Coordinates", {8, 76, 158, 20});
  ckbDelEmpty = MakeCheck(frame, "ckbDelEmpty", "Del Empty lines", {8, 106, 158, 20});
}

void TfrmSettings::BuildMaskFrame(QWidget* frame) {
  MakeLabel(frame, "lblFileMask", "FileMasks:", {8, 6, 100, 16});
  edtAdd = new QLineEdit(frame);
  edtAdd->setObjectName("edtAdd");
  edtAdd->setGeometry(8, 24, 112, 22);
  connect(edtAdd, &QLineEdit::textEdited, this, &TfrmSettings::edtAddEdited);
  connect(edtAdd, &QLineEdit::textChanged, this, &TfrmSettings::edtAddChange);
  bbtAdd = MakeButton(frame, "bbtAdd", "Add", {128, 23, 72, 24});
  lbxMask = new QListWidget(frame);
  lbxMask->setObjectName("lbxMask");
  lbxMask->setGeometry(8, 52, 112, 88);
  bbtDelete = MakeButton(frame, "bbtDelete", "Delete", {128, 52, 72, 24});
  for (QPushButton* b : {bbtAdd, bbtDelete})
    connect(b, &QPushButton::clicked, this, [this, b] { MaskButtonClick(b); });
}

void TfrmSettings::BuildAutoConv(QWidget* frame) {
  auto* group = new QGroupBox(" Auto convert ", frame);
  group->setObjectName("rgpAutoConv");
  group->setGeometry(8, 162, 390, 78);
  rgpAutoConv = new QButtonGroup(this);
  const char* const items[] = {"Spaces to Tab", "Tab to Spaces", "No changes"};
  for (int i = 0; i < 3; ++i) {
    auto* radio = new QRadioButton(items[i], group);
    radio->setObjectName(QStringLiteral("rgpAutoConv%1").arg(i));
    radio->setGeometry(16 + i * 124, 34, 118, 20);
    rgpAutoConv->addButton(radio, i);
  }
}

void TfrmSettings::BuildButtons() {
  bbtCancel = MakeButton(this, "bbtCancel", "&Cancel", {326, 262, 84, 28});
  bbtSave = MakeButton(this, "bbtSave", "&Apply", {236, 262, 84, 28});
  for (QPushButton* b : {bbtCancel, bbtSave}) b->setFocusPolicy(Qt::ClickFocus);
  bbtSave->setDefault(true);
  connect(bbtSave, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbtCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSettings::SetTabOrder() {
  QWidget* order[] = {iedTab,
                      ckbSaveSearch,
                      ckbSaveCoord,
                      bbtAdd,
                      bbtDelete,
                      edtAdd,
                      lbxMask,
                      rgpAutoConv->button(0),
                      rgpAutoConv->button(1),
                      rgpAutoConv->button(2),
                      ckbDelEmpty};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TfrmSettings::LoadSettings(const TQMEEnvironment& env) {
  iedTab->setText(QString::number(TabCharsFromInterval(env.TabInterval)));
  QStringList rows;
  env.MasksToList(rows);
  FMasks = TMaskList(rows);
  ShowMasks();
  bbtDelete->setEnabled(FMasks.Count() > 0);
  edtAddChange();
  if (FMasks.Count() > 0) lbxMask->setCurrentRow(0);
  ckbSaveSearch->setChecked(env.SaveSearch);
  ckbSaveCoord->setChecked(env.SaveCoord);
  ckbDelEmpty->setChecked(env.DelEmptyLines);
  // A value the program never writes shows as the last choice.
  rgpAutoConv->button(std::min<int>(env.AutoConversion, convNone))->setChecked(true);
}

void TfrmSettings::StoreSettings(TQMEEnvironment& env) const {
  // The field's own checks run when it is left; an accelerator can apply
  // before that, so the text is read with the same bounds, and a text that
  // is no number leaves the interval as it was.
  bool number = false;
  const int chars = iedTab->text().trimmed().toInt(&number);
  if (number) env.TabInterval = TabIntervalFromChars(chars);
  env.ListToMasks(FMasks.Rows());
  env.SaveSearch = ckbSaveSearch->isChecked();
  env.SaveCoord = ckbSaveCoord->isChecked();
  env.DelEmptyLines = ckbDelEmpty->isChecked();
  env.AutoConversion = static_cast<std::uint8_t>(std::max(rgpAutoConv->checkedId(), 0));
}

void TfrmSettings::ShowMasks() {
  lbxMask->clear();
  lbxMask->addItems(FMasks.Rows());
}

void TfrmSettings::edtAddEdited(const QString& text) {
  // Everything typed goes in as lower case.
  const QString lower = text.toLower();
  if (lower == text) return;
  const int caret = edtAdd->cursorPosition();
  edtAdd->setText(lower);
  edtAdd->setCursorPosition(caret);
}

void TfrmSettings::edtAddChange() { bbtAdd->setEnabled(TMaskList::CanAdd(edtAdd->text())); }

void TfrmSettings::MaskButtonClick(QObject* sender) {
  if (sender == bbtAdd) {
    const int at = FMasks.Add(edtAdd->text());
    if (at >= 0) lbxMask->insertItem(at, FMasks.Rows().at(at));
    edtAdd->clear();
  } else if (sender == bbtDelete) {
    const QList<QListWidgetItem*> selected = lbxMask->selectedItems();
    if (!selected.isEmpty()) {
      const int row = lbxMask->row(selected.first());
      FMasks.Delete(row);
      delete lbxMask->takeItem(row);
    }
    lbxMask->clearSelection();
    lbxMask->setCurrentItem(nullptr);
  }
  bbtDelete->setEnabled(FMasks.Count() > 0);
}

bool EditSettings(TQMEEnvironment& env, QWidget* parent) {
  TfrmSettings dialog(parent);
  dialog.LoadSettings(env);
  const bool applied = dialog.exec() == QDialog::Accepted;
  if (applied) dialog.StoreSettings(env);
  return applied;
}
