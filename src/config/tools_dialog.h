#pragma once
// The Tools maintenance dialog ("Edit Tools-Menu"): the user adds, changes
// and deletes the external programs of the Tools menu and saves them into
// the settings file. EditTools creates it for one use.
#include <QDialog>

#include "config/tools_menu.h"

class QFileDialog;
class QLineEdit;
class QListWidget;
class QPushButton;

class TfrmToolsMaint : public QDialog {
  Q_OBJECT
 public:
  // Reads the Tools section of IniFileName; at most MaxCount tools can be
  // added (a file may hold more).
  TfrmToolsMaint(const QString& iniFileName, int maxCount, QWidget* parent = nullptr);

  const TToolList& Tools() const { return FTools; }
  bool Editing() const { return FEditing; }

  // Browsing mode (list and Add, Edit, Delete) or edit mode (the three edits
  // and Browse).
  void SetEditMode(bool editing);
  // Puts the selected tool's texts into the edits; nothing without tools.
  void ShowTool();
  void ProgramsClick();
  // Shared by every button and by a double-click on the list.
  void ButtonsClick(QObject* sender);

 public Q_SLOTS:
  // Escape does what Cancel does: in edit mode it only drops the edits.
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void ShowList();
  void SelectFirst();
  void AcceptEdits();
  void DeleteSelected();
  void BrowseProgram();
  void SaveTools();

  QString FIniFileName;
  int FMaxCount;
  bool FAdding = false;
  bool FEditing = false;
  TToolList FTools;

  QListWidget* ltbPrograms = nullptr;
  QPushButton *bbtAdd = nullptr, *bbtEdit = nullptr, *bbtDelete = nullptr;
  QLineEdit *edtTitle = nullptr, *edtProgram = nullptr, *edtWorkingDir = nullptr;
  QPushButton *bbtBrowse = nullptr, *bbtCancel = nullptr, *bbtOK = nullptr;
  QFileDialog* ondFileOpen = nullptr;
};

// Runs the dialog on the Tools section of IniFileName; true when the user
// saved the list.
bool EditTools(const QString& iniFileName, int maxCount, QWidget* parent = nullptr);
