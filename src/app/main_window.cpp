// The main window's life cycle: creation, first activation, resizing,
// closing and the window-wide Ctrl+F.
#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "app/command_line.h"
#include "app/file_panel.h"
#include "app/memo.h"
#include "app/recovery_keeper.h"
#include "app/site_change_commands.h"
#include "app/status_panels.h"
#include "components/about_dialog.h"
#include "components/accessible_names.h"
#include "components/app_title.h"
#include "components/date_func.h"
#include "components/edit_controls.h"
#include "components/enable_panel.h"
#include "components/errors.h"
#include "components/form_style.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "config/tools_menu_actions.h"
#include "doc/edit_file_info.h"
#include "html/html_toolset_window.h"
#include "html/special_chars_window.h"
#include "search/results_window.h"

TfrmMain::TfrmMain(const QStringList& programArgs, QWidget* parent)
    : QMainWindow(parent), FProgramArgs(programArgs) {
  setObjectName("frmMain");
  FormCreate();
}

TfrmMain::~TfrmMain() {
  // Hidden while whole: QWidget's destructor would otherwise close a shown
  // window, and the editor's focus-out would reach this half-destroyed one.
  hide();
  delete frmSpecChar;
  delete frmHTML;
  delete frmResults;
  qApp->removeEventFilter(this);
  // QWidget's destructor still closes the window and moves the focus, after
  // this object's members are gone: no control may call its handlers then.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  if (Environment == FEnvironment.get()) Environment = nullptr;
}

void TfrmMain::FormCreate() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  SetFormColour(this);
  setFont(SansFont(13));
  resize(800, 534);

  setCentralWidget(new QWidget(this));
  BuildToolBar();
  BuildFilePanel();
  BuildEditPanel();
  BuildMenus();
  InstallSiteChangeCommands(this);
  NameControlsByHints(this);
  auto* column = new QVBoxLayout(centralWidget());
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  row->addWidget(ipnFiles);
  row->addWidget(pnlEdit, 1);
  column->addLayout(row, 1);
  stbStatus = new TStatusPanels(centralWidget());
  column->addWidget(stbStatus);

  // Tool windows: owned by the application, hidden until asked for.
  frmResults = new TfrmResults();
  frmHTML = new TfrmHTML();
  frmSpecChar = new TfrmSpecChar();
  frmResults->OnChoose = [this](QObject* sender) { MyOnClickHandler(sender); };
  frmHTML->OnChoose = [this](QObject* sender) { MyOnClickHandler(sender); };
  frmSpecChar->OnChoose = [this](QObject* sender) { MyOnClickHandler(sender); };

  adlProgInfo = std::make_unique<TAboutDialog>(this);
  adlProgInfo->Caption = "Program Information";
  adlProgInfo->ProgName = "Quillmere";
  adlProgInfo->SetDlgStyle(dsPanel);
  adlProgInfo->Version = "version: 2.60  (" +
                         DateToDateStr(GetFileDate(QCoreApplication::applicationFilePath())) + ")";
  adlProgInfo->Author = "author: the Quillmere developers";

  SuppressChange = false;
  FStarting = true;
  setWindowTitle(ApplicationTitle());
  // The program's own icon: title bar, about box and every dialog.
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillmere/quillmere.svg")));

  FFileInfo = std::make_unique<TEditFileInfo>();
  FFileInfo->OnLoaded = [this] { ShowBaseline(); };
  FFileInfo->OnChange = [this] {
    if (!FFileInfo->Modified && FRecovery) FRecovery->Drop();
    // A load or a save makes the page on disk the one shown: a note about
    // another page, or about this one before, no longer holds.
    if (!FFileInfo->Modified && FFileInfo->DiskChange() == TDiskChange::None) FDiskNote.clear();
    UpdateDocState();
  };
  FRecovery =
      std::make_unique<TRecoveryKeeper>(*FFileInfo, [this] { return memEdit->TextBytes(); });

  FEnvironment = std::make_unique<TQMEEnvironment>();
  Environment = FEnvironment.get();

  cmbSearch->setEditText(Environment->LastSearch);
  cmbReplace->setEditText(Environment->Replace);
  cmbSearch->addItem(Environment->LastSearch);
  cmbReplace->addItem(Environment->Replace);
  ckbCaseSens->setChecked(Environment->CaseSensitive);
  ckbQReplace->setChecked(Environment->QueryReplace);

  memEdit->SetTabWidth(Environment->TabInterval);
  FFileInfo->SetTabSize(Environment->TabInterval);
  FFileInfo->Conversion = Environment->AutoConversion;
  FFileInfo->DeleteEmptyLines = Environment->DelEmptyLines;

  FToolsMenu = std::make_unique<TToolsMenu>(
      ltbPrograms, findChild<QAction*>("menToolsSep"),
      QList<QAction*>{findChild<QAction*>("menTool1"), findChild<QAction*>("menTool2"),
                      findChild<QAction*>("menTool3"), findChild<QAction*>("menTool4"),
                      findChild<QAction*>("menTool5")});
  connect(memEdit, &TZELMemo::PosChanged, this, &TfrmMain::memEditPosChanged);
  connect(memEdit, &QsciScintilla::textChanged, this, &TfrmMain::memEditChange);
  connect(memEdit, &TZELMemo::FocusEntered, this, &TfrmMain::memEditToggleMenus);
  connect(memEdit, &TZELMemo::FocusLeft, this, &TfrmMain::memEditToggleMenus);
  connect(memEdit, &QsciScintilla::selectionChanged, this, &TfrmMain::memEditToggleMenus);
  connect(memEdit, &TZELMemo::KeyDown, this, [this](QKeyEvent* e) {
    memEditF3KeyDown(e->key(), e->modifiers() & ~Qt::KeypadModifier);
  });
  connect(memEdit, &TZELMemo::KeyPressed, this, [this](QKeyEvent* e) {
    if (memEditKeyPress(e->key())) e->accept();
  });
  connect(memEdit, &TZELMemo::KeyUp, this, [this](QKeyEvent* e) {
    // A held key repeats its release as well: one block indent per press.
    if (!e->isAutoRepeat()) memEditKeyUp(e->key(), e->modifiers() & ~Qt::KeypadModifier);
  });
  qApp->installEventFilter(this);
  ConnectSearchBar();
}

void TfrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (FStarting) QMetaObject::invokeMethod(this, &TfrmMain::FormActivate, Qt::QueuedConnection);
}

void TfrmMain::FormActivate() {
  if (!FStarting) return;
  setGeometry(Environment->Left, Environment->Top, Environment->Width, Environment->Height);
  if (Environment->HTMLOpen) frmHTML->show();
  if (Environment->SpecCharOpen) frmSpecChar->show();
  FStarting = false;
  update();

  // A page named on the command line: its folder becomes the site folder; a
  // folder is the site itself. One that cannot be opened is said so, and the
  // stored site is shown.
  QString kept, problem;
  if (!FProgramArgs.isEmpty()) {
    const QFileInfo arg(QDir::current().absoluteFilePath(FProgramArgs.first()));
    problem = StartPathProblem(FProgramArgs.first());
    if (problem.isEmpty() && arg.isDir()) {
      Environment->SetWorkingDir(QDir::cleanPath(arg.absoluteFilePath()));
    } else if (problem.isEmpty()) {
      Environment->SetWorkingDir(arg.absolutePath());
      kept = arg.fileName();
    }
  }
  {
    // With a page named, the re-read list must not load its first page only
    // for the named one to replace it: a 50 MB page was read twice.
    const QSignalBlocker block(kept.isEmpty() ? nullptr : flbPages);
    RefreshFileList();
  }
  FToolsMenu->RebuildToolsMenu(Environment->IniFileName);
  if (!kept.isEmpty()) OpenFileByName(kept);
  cmbSearchChange();
  // The boxes were filled before their handlers were connected.
  cmbReplaceChange();
  QApplication::restoreOverrideCursor();
  if (!problem.isEmpty()) MsgWarning(problem, "Not opened");
  OfferRecoveries();
}

void TfrmMain::RefreshFileList() {
  QString dir = Environment->WorkingDir;
  if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::homePath();
  drcDrive->Fill();
  drcDrive->SelectFor(dir);
  dilDir->SetRoot(drcDrive->Root());
  dilDir->SetDirectory(dir);
  {
    // Scoped, so that a caller's own blocking outlasts it.
    const QSignalBlocker block(flbPages);
    flbPages->SetMask(Environment->FileMask);
  }
  flbPages->SetDirectory(dir);
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

void TfrmMain::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (!FStarting) RecordGeometry();
}

void TfrmMain::RecordGeometry() {
  if (!Environment) return;
  const QRect g = geometry();
  Environment->SetCoord(ciTop, g.top());
  Environment->SetCoord(ciLeft, g.left());
  Environment->SetCoord(ciHeight, g.height());
  Environment->SetCoord(ciWidth, g.width());
}

void TfrmMain::FormResize() {
  if (!FStarting && Environment) {
    RecordGeometry();
    Environment->HTMLOpen = frmHTML && frmHTML->isVisible();
    Environment->SpecCharOpen = frmSpecChar && frmSpecChar->isVisible();
    if (width() < Environment->Width || height() < Environment->Height)
      resize(Environment->Width, Environment->Height);
  }
  LayoutChildren();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (FormClose())
    event->accept();
  else
    event->ignore();
}

bool TfrmMain::FormClose() {
  if (FClosingAccepted) return true;
  if (FFileInfo->Modified &&
      MsgYesNo("Close the application and lose all changes?", "Document has been changed") != mrYes)
    return false;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QCoreApplication::processEvents();
  FormResize();
  bool close = true;
  try {
    Environment->WriteSettings();
  } catch (const EQuillmereError& e) {
    QApplication::restoreOverrideCursor();
    MsgWarning(e.Message, "Settings not saved");
    // The user must never be trapped by a settings file that cannot be written.
    close = MsgYesNo("Close without saving the settings?", "Settings not saved") == mrYes;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  QApplication::restoreOverrideCursor();
  FClosingAccepted = close;
  if (close) {
    FRecovery->Drop();
    // The tool windows record their place once more as they go; the settings
    // record must still exist then.
    delete frmSpecChar;
    delete frmHTML;
    delete frmResults;
    frmSpecChar = nullptr;
    frmHTML = nullptr;
    frmResults = nullptr;
  }
  return close;
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
  // On a display the panels get their size from the window's layout after
  // the window's own resize: the editor must follow them, not the window.
  if (event->type() == QEvent::Resize && (watched == pnlEdit || watched == ipnFiles))
    LayoutChildren();
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    auto* w = qobject_cast<QWidget*>(watched);
    // Key preview: Ctrl+F anywhere in this window goes to the search box.
    if (w && w == QApplication::focusWidget() && w->window() == this && key->key() == Qt::Key_F &&
        (key->modifiers() & Qt::ControlModifier) && !key->isAutoRepeat()) {
      cmbSearch->setFocus();
      cmbSearchChange();
      return false;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::keyPressEvent(QKeyEvent* event) { QMainWindow::keyPressEvent(event); }

QWidget* TfrmMain::ActiveControl() const {
  // The window's own focus child, also while a tool window is the active one
  // (an insertion from there must count as an edit).
  QWidget* w = focusWidget();
  if (!w) return nullptr;
  // The editor's viewport and a combo box's line edit stand for their owner.
  if (w == memEdit->viewport()) return memEdit;
  if (cmbSearch->isAncestorOf(w)) return cmbSearch;
  if (cmbReplace->isAncestorOf(w)) return cmbReplace;
  return w;
}
