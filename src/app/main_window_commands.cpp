// The main window's menus and the dispatcher behind every menu item, tool
// button and the file list's double click.
#include "app/command_table.h"
#include "app/edit_file_info.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* AddRow(QMenu* menu, const TMenuRow& row, TfrmMain* window) {
  if (std::string_view(row.Caption) == "-") {
    QAction* sep = menu->addSeparator();
    sep->setObjectName(row.Name);
    return sep;
  }
  QAction* a = menu->addAction(QString::fromUtf8(row.Caption));
  a->setObjectName(row.Name);
  a->setProperty("tag", row.Tag);
  if (*row.Shortcut) a->setShortcut(QKeySequence(QString::fromLatin1(row.Shortcut)));
  a->setStatusTip(QString::fromUtf8(row.Hint));
  a->setToolTip(QString::fromUtf8(row.Hint));
  QObject::connect(a, &QAction::triggered, window, [window, tag = row.Tag] { window->MenuClick(tag); });
  return a;
}

}  // namespace

void TfrmMain::BuildMenus() {
  menuBar()->setObjectName("mmnMainMenu");
  QMenu* top = nullptr;
  QMenu* sub = nullptr;
  for (const TMenuRow& row : MainMenuRows()) {
    if (row.Level == 0) {
      top = menuBar()->addMenu(QString::fromUtf8(row.Caption));
      top->setObjectName(row.Name);
      top->menuAction()->setProperty("tag", row.Tag);
      if (row.Tag == 500) connect(top, &QMenu::aboutToShow, this, [this] { MenuClick(500); });
      sub = nullptr;
    } else if (row.Level == 1 && (row.Tag == 920 || row.Tag == 925)) {
      sub = top->addMenu(QString::fromUtf8(row.Caption));
      sub->setObjectName(row.Name);
      sub->menuAction()->setProperty("tag", row.Tag);
    } else {
      QAction* a = AddRow(row.Level == 2 ? sub : top, row, this);
      if (row.Tag >= 402 && row.Tag <= 406) a->setVisible(false);
      if (std::string_view(row.Name) == "menToolsSep") a->setVisible(false);
    }
  }
  auto* popup = new QMenu(this);
  popup->setObjectName("pmuPopMenu");
  for (const TMenuRow& row : FilePopupRows()) AddRow(popup, row, this);
  flbPages->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(flbPages, &QWidget::customContextMenuRequested, this,
          [this, popup](const QPoint& p) { popup->popup(flbPages->viewport()->mapToGlobal(p)); });

  auto find = [this](const char* name) { return findChild<QAction*>(name); };
  menFileNew = find("menFileNew");
  menFileDelete = find("menFileDelete");
  menFileSave = find("menFileSave");
  menFileSaveAs = find("menFileSaveAs");
  menFileRename = find("menFileRename");
  menFileView = find("menFileView");
  menEditCut = find("menEditCut");
  menEditCopy = find("menEditCopy");
  menEditPaste = find("menEditPaste");
  menEditSelAll = find("menEditSelAll");
  menEditCancel = find("menEditCancel");
  menOptSettings = find("menOptSettings");
  menPopNew = find("menPopNew");
  menPopDelete = find("menPopDelete");
  menPopSaveAs = find("menPopSaveAs");
  menPopView = find("menPopView");
  for (QAction* a : {menFileSave, menFileView, menEditCancel, menPopView, menEditCut,
                     menEditCopy, menEditPaste})
    a->setEnabled(false);
}

void TfrmMain::MenuClick(int tag) {
  switch (tag) {
    case 103:
      SaveDocument();
      break;
    case 199:
      close();
      break;
    case 204:
      memEdit->setFocus();
      memEdit->selectAll(true);
      break;
    case 205:
      CancelChanges();
      break;
    default:
      break;
  }
}
