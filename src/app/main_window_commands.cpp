// The main window's menus and the dispatcher behind every menu item, tool
// button and the file list's double click.
#include "app/command_table.h"
#include "app/edit_file_info.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "components/about_dialog.h"
#include "components/desktop.h"
#include "config/environment.h"
#include "config/settings_dialog.h"
#include "config/tools_menu_actions.h"
#include "html/html_toolset_window.h"
#include "html/special_chars_window.h"
#include "search/results_window.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
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
      if (row.Tag >= 501 && row.Tag <= 504) a->setCheckable(true);
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

  auto* editPopup = new QMenu(this);
  editPopup->setObjectName("pmuEdit");
  for (const TMenuRow& row : EditPopupRows()) AddRow(editPopup, row, this);
  memEdit->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(memEdit, &QWidget::customContextMenuRequested, this, [this, editPopup](const QPoint& p) {
    editPopup->popup(memEdit->mapToGlobal(p));
  });

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
    case 101: NewFile(); break;
    case 102: DeleteDocument(); break;
    case 103: SaveDocument(); break;
    case 104:
      FSaveTitle = "Save file " + QFileInfo(FFileInfo->FileName).fileName() + " as ...";
      SaveDocumentAs();
      FSaveTitle = "Save file as";
      break;
    case 105: RenameDocument(); break;
    case 106:
      if (!FFileInfo->FileName.isEmpty()) Desktop().OpenDocument(FFileInfo->FileName);
      break;
    case 107: StartInstance({}); break;
    case 199: close(); break;
    case 201: case 202: case 203: ClipboardCommand(tag); break;
    case 204:
      memEdit->setFocus();
      memEdit->selectAll(true);
      break;
    case 205: CancelChanges(); break;
    case 294: ConvertTags(true); break;
    case 295: ConvertTags(false); break;
    case 296: CheckWrongChars(); break;
    case 301:
      if (EditSettings(*Environment, this)) {
        RefreshFileList();
        ApplyConversion();
        FFileInfo->SetTabSize(Environment->TabInterval);
      }
      break;
    // The template goes to a second window. Its stored path carries quotes
    // for a command line; an argument list needs the bare path.
    case 302: StartInstance({UnquotedPath(Environment->TemplateFileName)}); break;
    case 401: FToolsMenu->EditTools(Environment->IniFileName, this); break;
    case 500:
      findChild<QAction*>("menViewResults")->setChecked(frmResults->isVisible());
      findChild<QAction*>("menViewHTML")->setChecked(frmHTML->isVisible());
      findChild<QAction*>("menViewSpecChar")->setChecked(frmSpecChar->isVisible());
      findChild<QAction*>("menViewSyntax")->setChecked(Environment->SyntaxHighlight);
      break;
    case 501: ToggleToolWindow(frmResults); break;
    case 502: ToggleToolWindow(frmHTML); break;
    case 503: ToggleToolWindow(frmSpecChar); break;
    case 504:
      Environment->SyntaxHighlight = !Environment->SyntaxHighlight;
      ApplySyntax();
      break;
    case 901: ShowHelp(); break;
    case 903: case 921: case 922: case 923: case 926: case 927: case 928: case 929:
      OpenWebLink(tag);
      break;
    case 904: adlProgInfo->Execute(); break;
    default:
      if (tag >= 402 && tag <= 499) FToolsMenu->RunTool(tag - 402, FFileInfo->FileName);
      break;
  }
}

void TfrmMain::ToggleToolWindow(QWidget* window) {
  if (window->isVisible()) {
    window->hide();
  } else {
    window->show();
    window->raise();
    window->activateWindow();
  }
}

void TfrmMain::ClipboardCommand(int tag) {
  QWidget* active = ActiveControl();
  if (active == memEdit) {
    if (tag == 201) memEdit->cut();
    if (tag == 202) memEdit->copy();
    if (tag == 203) memEdit->paste();
  } else if (auto* combo = qobject_cast<QComboBox*>(active)) {
    if (tag == 201) combo->lineEdit()->cut();
    if (tag == 202) combo->lineEdit()->copy();
    if (tag == 203) combo->lineEdit()->paste();
  }
}
