// Building the main window's controls: tool bar, file column, editor panel,
// search bar. Sizes and places are the designed ones at 96 dots per inch.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/command_table.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "app/status_panels.h"
#include "app/tool_glyphs.h"
#include "components/edit_controls.h"
#include "components/enable_panel.h"
#include "components/form_style.h"

namespace {

struct TToolButtonDef {
  const char* Name;
  int Tag;
  TGlyph Glyph;
  const char* Caption;
  const char* Hint;
  bool Enabled;
};

// clang-format off
const TToolButtonDef kToolButtons[] = {
    {"bbtView", cmdFileView, TGlyph::View, "", "View the selected file in your browser.", false},
    {"bbtCancel", cmdEditCancel, TGlyph::Cancel, "", "Cancel all changes and restore the file.", false},
    {"bbtSave", cmdFileSave, TGlyph::Save, "", "Save editor file.", false},
    {"bbtSaveAs", cmdFileSaveAs, TGlyph::SaveAs, "As..", "Save editor-file as....", true},
    {"bbtSettings", cmdOptSettings, TGlyph::Settings, "", "Edit the program-settings.", true},
    {"bbtNewInstance", cmdFileNewInstance, TGlyph::NewInstance, "", "Start a new instance of Quillpad.", true},
    {"bbtHTML", cmdViewHTML, TGlyph::HTML, "", "Show/hide HTML-Toolset", true},
    {"bbtSpecChar", cmdViewSpecChar, TGlyph::SpecChar, "", "Show/hide list of special characters.", true},
    {"bbtHelp", cmdHelpContents, TGlyph::Help, "", "Open the online user-guide.", true},
};
// clang-format on

QLabel* ReadOut(QWidget* parent, const QString& text, int left, const QColor& color,
                const char* name = "") {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setFont(SansFont(13));
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, color);
  label->setPalette(pal);
  label->move(left, 2);
  label->resize(left == 40 ? 90 : 96, 17);
  return label;
}

}  // namespace

void TfrmMain::BuildToolBar() {
  tlbToolBar = new QToolBar(this);
  tlbToolBar->setObjectName("tlbToolBar");
  tlbToolBar->setMovable(false);
  tlbToolBar->setFloatable(false);
  tlbToolBar->setFixedHeight(44);
  tlbToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  addToolBar(Qt::TopToolBarArea, tlbToolBar);
  QToolButton** slots[] = {&bbtView,        &bbtCancel, &bbtSave,     &bbtSaveAs, &bbtSettings,
                           &bbtNewInstance, &bbtHTML,   &bbtSpecChar, &bbtHelp};
  int i = 0;
  for (const TToolButtonDef& def : kToolButtons) {
    auto* b = new QToolButton(tlbToolBar);
    b->setObjectName(def.Name);
    b->setIcon(ToolGlyph(def.Glyph));
    b->setText(def.Caption);
    b->setToolButtonStyle(*def.Caption ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    b->setToolTip(def.Hint);
    b->setStatusTip(def.Hint);
    b->setAccessibleName(def.Hint);  // "As.." alone tells a reader nothing
    b->setFixedSize(55, 28);
    b->setFocusPolicy(Qt::NoFocus);
    b->setEnabled(def.Enabled);
    b->setProperty("tag", def.Tag);
    connect(b, &QToolButton::clicked, this, [this, tag = def.Tag] { MenuClick(tag); });
    tlbToolBar->addWidget(b);
    *slots[i++] = b;
  }
}

void TfrmMain::BuildFilePanel() {
  ipnFiles = new TZELEnablePanel(centralWidget());
  ipnFiles->setObjectName("ipnFiles");
  ipnFiles->setFixedWidth(169);
  auto* column = new QVBoxLayout(ipnFiles);
  column->setContentsMargins(4, 4, 4, 4);
  column->setSpacing(4);

  flbPages = new TFileListBox(ipnFiles);
  flbPages->setObjectName("flbPages");
  flbPages->setProperty("tag", cmdFileView);
  flbPages->SetMask("*.htm*;*.js;*.css");
  column->addWidget(flbPages, 1);

  ipnDriveDir = new TZELEnablePanel(ipnFiles);
  ipnDriveDir->setObjectName("ipnDriveDir");
  ipnDriveDir->setFixedHeight(127);
  auto* pickers = new QVBoxLayout(ipnDriveDir);
  pickers->setContentsMargins(0, 0, 0, 0);
  pickers->setSpacing(4);
  dilDir = new TFolderList(ipnDriveDir);
  dilDir->setObjectName("dilDir");
  dilDir->setMinimumHeight(85);
  drcDrive = new TDriveBox(ipnDriveDir);
  drcDrive->setObjectName("drcDrive");
  pickers->addWidget(dilDir, 1);
  pickers->addWidget(drcDrive);
  column->addWidget(ipnDriveDir);

  // No hint and no caption: names for screen readers.
  flbPages->setAccessibleName("Files");
  dilDir->setAccessibleName("Folders");
  drcDrive->setAccessibleName("Drive");

  connect(flbPages, &TFileListBox::Reread, this, &TfrmMain::flbPagesChange);
  connect(flbPages, &QListWidget::currentRowChanged, this, [this] { flbPagesChange(); });
  connect(flbPages, &QListWidget::itemDoubleClicked, this, [this] { MenuClick(cmdFileView); });
  connect(dilDir, &TFolderList::DirectoryChanged, this,
          [this](const QString& dir) { flbPages->SetDirectory(dir); });
  connect(drcDrive, &TDriveBox::RootChosen, this, [this](const QString& root) {
    dilDir->SetRoot(root);
    dilDir->SetDirectory(root);
    flbPages->SetDirectory(root);
  });
}

void TfrmMain::BuildEditPanel() {
  pnlEdit = new QWidget(centralWidget());
  pnlEdit->setObjectName("pnlEdit");

  memEdit = new TZELMemo(pnlEdit);
  memEdit->setObjectName("memEdit");
  memEdit->move(8, 4);
  memEdit->SetTextBytes(
      "12345678901234567890123456789012345678901234567890123456789012345678901234567890");

  pnlPositions = new QWidget(pnlEdit);
  pnlPositions->setObjectName("pnlPositions");
  pnlPositions->setFixedHeight(21);
  const QColor grey(128, 128, 128), blue(0, 0, 255);
  ReadOut(pnlPositions, "Size:", 0, grey);
  lblSizeVal = ReadOut(pnlPositions, "0", 40, blue, "lblSizeVal");
  ReadOut(pnlPositions, "Lines/Linesize:", 136, grey);
  lblLinesVal = ReadOut(pnlPositions, "0 : 0", 232, blue, "lblLinesVal");
  ReadOut(pnlPositions, "Row/Column: ", 336, grey);
  lblCursorVal = ReadOut(pnlPositions, "0 : 0", 424, blue, "lblCursorVal");
  auto* divider = new QFrame(pnlPositions);
  divider->setFrameShape(QFrame::VLine);
  divider->setFrameShadow(QFrame::Sunken);
  divider->setGeometry(507, 1, 2, 19);

  pnlSearch = new QWidget(pnlEdit);
  pnlSearch->setObjectName("pnlSearch");
  pnlSearch->setFixedHeight(106);
  BuildSearchBar(pnlSearch);
}

void TfrmMain::BuildSearchBar(QWidget* bar) {
  const QString hint = "%009=TAB  %013=CR  %010=LF";
  auto combo = [&](const char* name, int top) {
    auto* c = new QComboBox(bar);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMaxVisibleItems(10);
    c->setToolTip(hint);
    c->setGeometry(8, top, 193, 24);
    return c;
  };
  auto button = [&](const char* name, const QString& caption, QRect r, bool enabled) {
    auto* b = new QPushButton(caption, bar);
    b->setObjectName(name);
    b->setGeometry(r);
    b->setEnabled(enabled);
    b->setAutoDefault(false);
    return b;
  };
  auto check = [&](const char* name, const QString& caption, QRect r, bool checked) {
    auto* c = new QCheckBox(caption, bar);
    c->setObjectName(name);
    c->setGeometry(r);
    c->setChecked(checked);
    return c;
  };
  cmbSearch = combo("cmbSearch", 12);
  bbtSearch = button("bbtSearch", "&Search", {208, 12, 75, 24}, false);
  bbtGoto = button("bbtGoto", "&Goto line", {288, 12, 97, 24}, true);
  iedGoto = new TIntEdit(bar);
  iedGoto->setObjectName("iedGoto");
  iedGoto->SetFillCount(5);
  iedGoto->SetMinValue(1);
  iedGoto->SetMaxValue(9999);
  iedGoto->setFont(QFont(FixedFamily));
  iedGoto->setGeometry(392, 12, 49, 23);
  iedGoto->setAccessibleName("Goto line");  // the number the button beside it goes to
  cmbReplace = combo("cmbReplace", 44);
  bbtReplace = button("bbtReplace", "&Replace", {208, 44, 75, 24}, false);
  bbtReplaceAll = button("bbtReplaceAll", "Replace &All", {288, 44, 97, 24}, false);
  ckbCaseSens = check("ckbCaseSens", "Case-se&nsitive", {8, 78, 105, 24}, false);
  ckbFindFirst = check("ckbFindFirst", "F&ind first", {120, 78, 73, 25}, true);
  ckbQReplace = check("ckbQReplace", "&Query Replace", {208, 78, 113, 25}, true);
  ckbSearchAll = check("ckbSearchAll", "&All files", {323, 78, 63, 25}, false);
  ckbSearchAll->setEnabled(false);
  bbtMaint = button("bbtMaint", "&Maintenance", {422, 77, 97, 24}, false);
  auto* divider = new QFrame(bar);
  divider->setFrameShape(QFrame::VLine);
  divider->setFrameShadow(QFrame::Sunken);
  divider->setGeometry(515, 4, 2, 98);
  ltbPrograms = new QListWidget(bar);
  ltbPrograms->setObjectName("ltbPrograms");
  ltbPrograms->hide();

  QWidget* order[] = {cmbSearch, cmbReplace,  bbtSearch,    bbtReplace,  bbtReplaceAll, iedGoto,
                      bbtGoto,   ckbCaseSens, ckbFindFirst, ckbQReplace, ckbSearchAll,  bbtMaint};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TfrmMain::LayoutChildren() {
  if (!memEdit) return;
  // The editor's height follows the file list's, so that the read-outs line
  // up with the folder pickers.
  const int listHeight = ipnFiles->height() - ipnDriveDir->height() - 8;
  const int editorHeight = qMax(40, listHeight + 1);
  const int editorWidth = qMax(100, pnlEdit->width() - 16);
  memEdit->setGeometry(8, 4, editorWidth, editorHeight);
  pnlPositions->setGeometry(8, memEdit->y() + editorHeight - 1, editorWidth, 21);
  pnlSearch->setGeometry(0, pnlEdit->height() - 106, pnlEdit->width(), 106);
}
