#pragma once
// The "Replace in files" window: find and replace texts (with the search
// bar's escape codes), case, mask and sub-folders, a preview of every file
// with its number of hits (ticked by default) and the first hits of the
// selected file, and Replace, which writes the ticked files with the
// change's journal. Created by the main window for one modal use.
#include <QDialog>
#include <functional>

#include "site/replace_files.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TZELCheckListBox;

class TfrmReplaceFiles : public QDialog {
  Q_OBJECT
 public:
  TfrmReplaceFiles(const QString& root, const QString& mask, QWidget* parent = nullptr);

  // The page open in the editor, with unsaved changes: left out of a replace.
  QString ModifiedPage;
  // Called with the files written, after each replace.
  std::function<void(const QStringList& written)> OnReplaced;

  void bbtPreviewClick();
  void bbtReplaceClick();
  void lbxFilesSelect();

  QLineEdit *edtFind = nullptr, *edtReplace = nullptr, *edtMask = nullptr;
  QCheckBox *ckbCaseSens = nullptr, *ckbInclSubDirs = nullptr;
  QPushButton *bbtPreview = nullptr, *bbtReplace = nullptr, *bbtClose = nullptr;
  TZELCheckListBox* lbxFiles = nullptr;
  QListWidget* lbxHits = nullptr;
  QLabel* lblTotal = nullptr;

 private:
  void UpdateButtons();
  TReplaceOptions Options() const;
  QString FRoot;
  TReplacePreview FPreview;
  bool FHavePreview = false;
};
