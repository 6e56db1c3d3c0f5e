#include "app/file_panel.h"

#include <QDir>
#include <QHeaderView>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QStorageInfo>

#include "app/page_files.h"
#include "components/file_names.h"

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  // One height for every row: laying out 100,000 names took seconds.
  setUniformItemSizes(true);
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
    FTemporaries.clear();
    FNames = ListPageFiles(FDirectory, FMask, &FTemporaries);
    QStringList shown;
    shown.reserve(FNames.size());
    for (const QString& name : FNames) shown << ShownName(name);
    addItems(shown);
    setCurrentRow(-1);
  }
  Q_EMIT Reread();
}

QString TFileListBox::FileName() const {
  const QListWidgetItem* item = currentItem();
  if (!item || currentRow() < 0) return {};
  return QDir(FDirectory).filePath(FNames.value(currentRow()));
}

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int FilledRole = Qt::UserRole + 1;

}  // namespace

TFolderList::TFolderList(QWidget* parent)
    : QTreeView(parent), FModel(new QStandardItemModel(this)) {
  setModel(FModel);
  header()->hide();
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  connect(this, &QTreeView::expanded, this,
          [this](const QModelIndex& index) { Fill(FModel->itemFromIndex(index)); });
  connect(this, &QTreeView::clicked, this, [this](const QModelIndex& index) {
    const QString dir = index.data(PathRole).toString();
    if (dir == FDirectory) return;
    FDirectory = dir;
    Q_EMIT DirectoryChanged(dir);
  });
  SetRoot(FRoot);
}

QStandardItem* TFolderList::AddFolder(QStandardItem* parent, const QString& path,
                                      const QString& name) {
  auto* item = new QStandardItem(QIcon::fromTheme("folder"), ShownName(name));
  item->setData(path, PathRole);
  item->setData(false, FilledRole);
  // A stand-in child, so the folder shows it can be opened before it is read.
  item->appendRow(new QStandardItem);
  parent->appendRow(item);
  return item;
}

void TFolderList::Fill(QStandardItem* item) {
  if (!item || item->data(FilledRole).toBool()) return;
  item->setData(true, FilledRole);
  item->removeRows(0, item->rowCount());
  const QString path = item->data(PathRole).toString();
  for (const QString& name : ListSubfolders(path)) AddFolder(item, QDir(path).filePath(name), name);
}

void TFolderList::SetRoot(const QString& root) {
  FRoot = QDir::cleanPath(root);
  FModel->clear();
  AddFolder(FModel->invisibleRootItem(), FRoot, FRoot);
}

void TFolderList::SetDirectory(const QString& dir) {
  FDirectory = QDir::cleanPath(dir);
  QStandardItem* item = FModel->item(0);
  if (!item) return;
  const QSignalBlocker block(this);
  item->setData(false, FilledRole);
  const QString rest = QDir(FRoot).relativeFilePath(FDirectory);
  if (!rest.startsWith("..") && rest != ".") {
    for (const QString& part : rest.split('/', Qt::SkipEmptyParts)) {
      Fill(item);
      QStandardItem* next = nullptr;
      const QString path = QDir(item->data(PathRole).toString()).filePath(part);
      for (int i = 0; i < item->rowCount() && !next; ++i)
        if (item->child(i)->data(PathRole).toString() == path) next = item->child(i);
      if (!next) break;
      expand(item->index());
      item = next;
      item->setData(false, FilledRole);
    }
  }
  Fill(item);
  expand(item->index());
  setCurrentIndex(item->index());
  scrollTo(item->index());
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
