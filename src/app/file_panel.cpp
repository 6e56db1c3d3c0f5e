#include "app/file_panel.h"

#include "app/page_files.h"

#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStorageInfo>

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void TFileListBox::SetDirectory(const QString& dir) {
  FDirectory = QDir::cleanPath(dir);
  Update();
}

void TFileListBox::SetMask(const QString& mask) {
  if (mask == FMask) return;
  FMask = mask;
  Update();
}

void TFileListBox::Update() {
  {
    const QSignalBlocker block(this);
    clear();
    addItems(ListPageFiles(FDirectory, FMask));
    setCurrentRow(-1);
  }
  Q_EMIT Reread();
}

QString TFileListBox::FileName() const {
  const QListWidgetItem* item = currentItem();
  if (!item || currentRow() < 0) return {};
  return QDir(FDirectory).filePath(item->text());
}

QStringList TFileListBox::Names() const {
  QStringList names;
  for (int i = 0; i < count(); ++i) names << item(i)->text();
  return names;
}

TFolderList::TFolderList(QWidget* parent) : QTreeView(parent), FModel(new QFileSystemModel(this)) {
  FModel->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Drives);
  FModel->setRootPath("/");
  setModel(FModel);
  for (int c = 1; c < FModel->columnCount(); ++c) hideColumn(c);
  header()->hide();
  setSelectionMode(QAbstractItemView::SingleSelection);
  // The model reads folders in the background: show the current one once
  // its parent has been read.
  connect(FModel, &QFileSystemModel::directoryLoaded, this, [this] { ShowDirectory(); });
  connect(this, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    const QString dir = FModel->filePath(index);
    if (dir == FDirectory) return;
    FDirectory = dir;
    Q_EMIT DirectoryChanged(dir);
  });
}

void TFolderList::SetRoot(const QString& root) {
  setRootIndex(FModel->index(root));
}

void TFolderList::SetDirectory(const QString& dir) {
  FDirectory = QDir::cleanPath(dir);
  ShowDirectory();
}

void TFolderList::ShowDirectory() {
  const QModelIndex index = FModel->index(FDirectory);
  if (!index.isValid()) return;
  const QSignalBlocker block(this);
  for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) expand(up);
  setCurrentIndex(index);
  expand(index);
  scrollTo(index);
}

TDriveBox::TDriveBox(QWidget* parent) : QComboBox(parent) {
  Fill();
  connect(this, &QComboBox::activated, this, [this] { Q_EMIT RootChosen(Root()); });
}

void TDriveBox::Fill() {
  const QSignalBlocker block(this);
  clear();
  QStringList roots;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady()) continue;
    const QString root = v.rootPath();
    // Pseudo file systems hold no sites.
    if (root.startsWith("/proc") || root.startsWith("/sys") || root.startsWith("/dev") ||
        root.startsWith("/run"))
      continue;
    if (!roots.contains(root)) roots << root;
  }
  if (!roots.contains("/")) roots.prepend("/");
  roots.sort();
  addItems(roots);
}

void TDriveBox::SelectFor(const QString& dir) {
  const QString path = QDir::cleanPath(dir);
  int best = -1, bestLen = -1;
  for (int i = 0; i < count(); ++i) {
    const QString root = itemText(i);
    const bool holds = root == "/" || path == root || path.startsWith(root + "/");
    if (holds && root.size() > bestLen) best = i, bestLen = root.size();
  }
  const QSignalBlocker block(this);
  setCurrentIndex(best);
}

QString TDriveBox::Root() const { return currentText(); }
