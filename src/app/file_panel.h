#pragma once
// The three pickers of the main window's file column: the file list of the
// current folder filtered by masks, the folder tree and the drive box.
#include <QComboBox>
#include <QListWidget>
#include <QTreeView>

class QFileSystemModel;

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
  QStringList Names() const;

Q_SIGNALS:
  void Reread();

private:
  QString FDirectory;
  QString FMask;
};

// The folder tree: picking a folder moves the linked file list there.
class TFolderList : public QTreeView {
  Q_OBJECT
public:
  explicit TFolderList(QWidget* parent = nullptr);
  QString Directory() const { return FDirectory; }
  // Shows Dir under its volume's root and selects it.
  void SetDirectory(const QString& dir);
  void SetRoot(const QString& root);

Q_SIGNALS:
  void DirectoryChanged(const QString& dir);

private:
  void ShowDirectory();

  QFileSystemModel* FModel;
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
