// The main window's menus and the dispatcher behind every menu item, tool
// button and the file list's double click.
#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "app/command_table.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "components/about_dialog.h"
#include "components/desktop.h"
#include "config/environment.h"
#include "config/settings_dialog.h"
#include "config/tools_menu_actions.h"
#include "doc/edit_file_info.h"
#include "html/html_toolset_window.h"
#include "html/special_chars_window.h"
#include "search/results_window.h"

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
  QObject::connect(a, &QAction::triggered, window,
                   [window, tag = row.Tag] { window->MenuClick(tag); });
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
      if (row.Tag == cmdView)
        connect(top, &QMenu::aboutToShow, this, [this] { MenuClick(cmdView); });
      sub = nullptr;
    } else if (row.Level == 1 && (row.Tag == cmdHelpRefs || row.Tag == cmdHelpValidate)) {
      sub = top->addMenu(QString::fromUtf8(row.Caption));
      sub->setObjectName(row.Name);
      sub->menuAction()->setProperty("tag", row.Tag);
    } else {
      QAction* a = AddRow(row.Level == 2 ? sub : top, row, this);
      if (row.Tag >= cmdViewResults && row.Tag <= cmdViewSyntax) a->setCheckable(true);
      if (row.Tag >= cmdTool1 && row.Tag <= cmdTool5) a->setVisible(false);
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
  connect(memEdit, &QWidget::customContextMenuRequested, this,
          [this, editPopup](const QPoint& p) { editPopup->popup(memEdit->mapToGlobal(p)); });

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
  menPopRename = find("menPopRename");
  menPopView = find("menPopView");
  for (QAction* a :
       {menFileSave, menFileView, menEditCancel, menPopView, menEditCut, menEditCopy, menEditPaste})
    a->setEnabled(false);
}

void TfrmMain::MenuClick(int tag) {
  switch (tag) {
    case cmdFileNew:
      NewFile();
      break;
    case cmdFileDelete:
      DeleteDocument();
      break;
    case cmdFileSave:
      SaveDocument();
      break;
    case cmdFileSaveAs:
      FSaveTitle = "Save file " + QFileInfo(FFileInfo->FileName).fileName() + " as ...";
      SaveDocumentAs();
      FSaveTitle = "Save file as";
      break;
    case cmdFileRename:
      RenameDocument();
      break;
    case cmdFileView:
      if (!FFileInfo->FileName.isEmpty()) Desktop().OpenDocument(FFileInfo->FileName);
      break;
    case cmdFileNewInstance:
      StartInstance({});
      break;
    case cmdFileExit:
      close();
      break;
    case cmdEditCut:
    case cmdEditCopy:
    case cmdEditPaste:
      ClipboardCommand(tag);
      break;
    case cmdEditSelAll:
      memEdit->setFocus();
      memEdit->selectAll(true);
      break;
    case cmdEditCancel:
      CancelChanges();
      break;
    case cmdPopUpper:
      ConvertTags(true);
      break;
    case cmdPopLower:
      ConvertTags(false);
      break;
    case cmdPopCheck:
      CheckWrongChars();
      break;
    case cmdOptSettings:
      if (EditSettings(*Environment, this)) {
        RefreshFileList();
        ApplyConversion();
        FFileInfo->SetTabSize(Environment->TabInterval);
      }
      break;
    // The template goes to a second window. Its stored path carries quotes
    // for a command line; an argument list needs the bare path.
    case cmdOptTemplate:
      StartInstance({UnquotedPath(Environment->TemplateFileName)});
      break;
    case cmdToolsEdit:
      FToolsMenu->EditTools(Environment->IniFileName, this);
      break;
    case cmdView:
      findChild<QAction*>("menViewResults")->setChecked(frmResults->isVisible());
      findChild<QAction*>("menViewHTML")->setChecked(frmHTML->isVisible());
      findChild<QAction*>("menViewSpecChar")->setChecked(frmSpecChar->isVisible());
      findChild<QAction*>("menViewSyntax")->setChecked(Environment->SyntaxHighlight);
      break;
    case cmdViewResults:
      ToggleToolWindow(frmResults);
      break;
    case cmdViewHTML:
      ToggleToolWindow(frmHTML);
      break;
    case cmdViewSpecChar:
      ToggleToolWindow(frmSpecChar);
      break;
    case cmdViewSyntax:
      Environment->SyntaxHighlight = !Environment->SyntaxHighlight;
      ApplySyntax();
      break;
    case cmdViewSiteCheck:
      CheckSite();
      break;
    case cmdHelpContents:
      ShowHelp();
      break;
    case cmdHelpUpdates:
    case cmdHelpHTML:
    case cmdHelpCSS:
    case cmdHelpJS:
    case cmdHelpWDG:
    case cmdHelpW3CPage:
    case cmdHelpW3CCSS:
    case cmdHelpGifBot:
      OpenWebLink(tag);
      break;
    case cmdHelpAbout:
      adlProgInfo->Execute();
      break;
    default:
      if (tag >= cmdTool1 && tag <= cmdToolLast)
        FToolsMenu->RunTool(tag - cmdTool1, FFileInfo->FileName);
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
    if (tag == cmdEditCut) memEdit->cut();
    if (tag == cmdEditCopy) memEdit->copy();
    if (tag == cmdEditPaste) memEdit->paste();
  } else if (auto* combo = qobject_cast<QComboBox*>(active)) {
    if (tag == cmdEditCut) combo->lineEdit()->cut();
    if (tag == cmdEditCopy) combo->lineEdit()->copy();
    if (tag == cmdEditPaste) combo->lineEdit()->paste();
  }
}
