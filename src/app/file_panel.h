#pragma once
// The three pickers of the main window's file column: the file list of the
// current folder filtered by masks, the folder tree and the drive box.
#include <QComboBox>
#include <QListWidget>
#include <QTreeView>

class QStandardItem;
class QStandardItemModel;

// Shows the names of the current folder's files that match the masks.
class TFileListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TFileListBox(QWidget* parent = nullptr);
  QString Directory() const { return FDirectory; }
  QString Mask() const { return FMask; }
  // Changing the folder or the mask re-reads the list.
  void SetDirectory(const QString& dir);
  void SetMask(const QString& mask);
  // Re-reads the folder; no entry is selected afterwards, and Reread is
  // emitted so the owner can load what should be shown.
  void Update();
  // Full path of the selected entry, empty when none is selected.
  QString FileName() const;
  // The names as on disk; the list shows a byte that is no valid text as
  // the replacement character.
  QStringList Names() const { return FNames; }
  // The names of the checked write's temporaries the last read met.
  QStringList Temporaries() const { return FTemporaries; }

 Q_SIGNALS:
  void Reread();

 private:
  QString FDirectory;
  QString FMask;
  QStringList FNames;
  QStringList FTemporaries;
};

// The folder tree: picking a folder moves the linked file list there. Only
// folders are read, each when it is opened, so a site of many files costs
// nothing here.
class TFolderList : public QTreeView {
  Q_OBJECT
 public:
  explicit TFolderList(QWidget* parent = nullptr);
  QString Directory() const { return FDirectory; }
  // Shows Dir under the root and selects it, its sub-folders read afresh.
  void SetDirectory(const QString& dir);
  void SetRoot(const QString& root);

 Q_SIGNALS:
  void DirectoryChanged(const QString& dir);

 private:
  QStandardItem* AddFolder(QStandardItem* parent, const QString& path, const QString& name);
  void Fill(QStandardItem* item);

  QStandardItemModel* FModel;
  QString FRoot = "/";
  QString FDirectory;
};

// The root folders of the mounted volumes.
class TDriveBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TDriveBox(QWidget* parent = nullptr);
  void Fill();
  // Selects the volume that holds Dir.
  void SelectFor(const QString& dir);
  QString Root() const;

 Q_SIGNALS:
  void RootChosen(const QString& root);
};
