#pragma once
// The settings dialog: tab interval, the saving of search texts and window
// coordinates, empty-line removal, the conversion on loading and the file
// masks. EditSettings creates it for one use; it changes the record only when
// it is applied.
#include <QDialog>

#include "config/mask_list.h"

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TIntEdit;
class TQMEEnvironment;

class TfrmSettings : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmSettings(QWidget* parent = nullptr);

  // Shows the settings of Env.
  void LoadSettings(const TQMEEnvironment& env);
  // Stores what the dialog shows into Env.
  void StoreSettings(TQMEEnvironment& env) const;

  // Add is enabled exactly when the add edit holds more than blanks.
  void edtAddChange();
  // Shared by Add and Delete.
  void MaskButtonClick(QObject* sender);

 private:
  void BuildLeftFrame(QWidget* frame);
  void BuildMaskFrame(QWidget* frame);
  void BuildAutoConv(QWidget* frame);
  void BuildButtons();
  void SetTabOrder();
  void ShowMasks();
  void edtAddEdited(const QString& text);

  TMaskList FMasks;
  TIntEdit* iedTab = nullptr;
  QCheckBox *ckbSaveSearch = nullptr, *ckbSaveCoord = nullptr, *ckbDelEmpty = nullptr;
  QPushButton *bbtAdd = nullptr, *bbtDelete = nullptr;
  QLineEdit* edtAdd = nullptr;
  QListWidget* lbxMask = nullptr;
  QButtonGroup* rgpAutoConv = nullptr;
  QPushButton *bbtCancel = nullptr, *bbtSave = nullptr;
};

// Runs the settings dialog on Env: true when it was applied (Env updated),
// false when cancelled (Env unchanged). An applied dialog changes TabInterval,
// FileMask, SaveSearch, SaveCoord, DelEmptyLines and AutoConversion; the
// caller then refreshes its file list, conversion, tab stops and the
// document's tab size.
bool EditSettings(TQMEEnvironment& env, QWidget* parent = nullptr);
