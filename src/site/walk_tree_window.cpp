// The site window's controls, its fields and the enabled state of its
// buttons; the actions live in walk_tree_window_actions.cpp and
// walk_tree_window_pages.cpp.
#include "site/walk_tree_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "components/box_label.h"
#include "components/date_func.h"
#include "components/form_style.h"
#include "components/msg_func.h"
#include "config/dialog_frame.h"
#include "config/environment.h"
#include "site/file_manager.h"
#include "site/site_window_rules.h"
#include "site/walk_tree_names.h"

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, QPoint at) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->move(at);
  label->adjustSize();
  return label;
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const QString& text, const QRect& r) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  edit->setGeometry(r);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& r,
                        bool enabled) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(r);
  button->setEnabled(enabled);
  button->setAutoDefault(false);
  return button;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  auto* check = new QCheckBox(caption, parent);
  check->setObjectName(name);
  check->setGeometry(r);
  check->setChecked(true);
  return check;
}

TBoxLabel* MakeBox(QWidget* parent, const char* name, const QRect& r) {
  auto* box = new TBoxLabel(parent);
  box->setObjectName(name);
  box->setGeometry(r);
  box->SetAlignment(Qt::AlignRight);
  box->SetCaption("0");
  return box;
}

// Leaves the field's cursor and undo alone when the text stays.
void SetChanged(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

}  // namespace

TfrmWalkTree::TfrmWalkTree(QWidget* parent) : QDialog(parent) {
  setObjectName("frmWalkTree");
  setWindowTitle("Process on Entire Site !");
  SetDialogFrame(this, {629, 540}, false);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  SetFormColour(this);
  setAutoFillBackground(true);

  ifmManager = new TZELFileManager(this);
  ifmManager->setObjectName("ifmManager");
  ifmManagerImg = new TZELFileManager(this);
  ifmManagerImg->setObjectName("ifmManagerImg");
  BuildControls();
  SetTabOrder();
  BuildCheckButton();
  BuildPublishControls();
  NameSiteControls(this);
}

TfrmWalkTree::~TfrmWalkTree() {
  // The base class hides the window as it goes, which moves the focus: an
  // edit's editingFinished must not reach this half-destroyed window.
  for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
}

void TfrmWalkTree::BuildControls() {
  lbxFiles = new QListWidget(this);
  lbxFiles->setObjectName("lbxFiles");
  lbxFiles->hide();

  memOutput = new QPlainTextEdit(this);
  memOutput->setObjectName("memOutput");
  memOutput->setGeometry(8, 192, 609, 305);
  memOutput->setReadOnly(true);
  memOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
  memOutput->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memOutput->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memOutput->setFocusPolicy(Qt::ClickFocus);
  memOutput->setFont(MonoFont(13));
  // A plain multi-line edit's tab stops: every 8 characters.
  memOutput->setTabStopDistance(8 * memOutput->fontMetrics().horizontalAdvance(' '));

  MakeLabel(this, "lblLocalRoot", "Local root", {8, 20});
  edtLocalRoot = MakeEdit(this, "edtLocalRoot", {}, {88, 16, 449, 24});
  MakeLabel(this, "lblRemoteRoot", "Remote root", {8, 52});
  edtRemoteRoot = MakeEdit(this, "edtRemoteRoot", RemoteRootPrefix, {88, 48, 449, 24});
  bbtList = MakeButton(this, "bbtList", "&List site", {8, 84, 75, 24}, true);
  ckbInclSubDirs = MakeCheck(this, "ckbInclSubDirs", "Include sub-directories", {96, 88, 153, 17});
  ckbDetails = MakeCheck(this, "ckbDetails", "Show file-details", {256, 88, 121, 17});
  MakeLabel(this, "lblMask", "Mask", {392, 88});
  edtMask = MakeEdit(this, "edtMask", "*.*", {432, 85, 57, 24});
  bbtCase = MakeButton(this, "bbtCase", "&Convert", {8, 120, 75, 24}, false);
  MakeLabel(this, "lblCase", "all filenames to", {96, 124});
  BuildCaseGroup();
  bbtTouch = MakeButton(this, "bbtTouch", "&Touch", {8, 156, 75, 24}, false);
  MakeLabel(this, "Label1", "all filedates to", {96, 160});
  bbtRobots = MakeButton(this, "bbtRobots", "Robots.txt", {544, 17, 75, 24}, false);
  edtTouch = MakeEdit(this, "edtTouch", "xx-xx-xxxx xx-xx", {200, 156, 113, 24});
  edtTouch->setMaxLength(DateTimeStrNLLength);
  bbtTestPage = MakeButton(this, "bbtTestPage", "Testpage", {544, 49, 75, 24}, false);
  bbtSaveAs = MakeButton(this, "bbtSaveAs", "SaveAs", {8, 508, 75, 25}, false);
  edtSaveAs = MakeEdit(this, "edtSaveAs", {}, {88, 508, 529, 24});

  bxlFileCount = MakeBox(this, "bxlFileCount", {520, 128, 97, 21});
  bxlFileSize = MakeBox(this, "bxlFileSize", {520, 160, 97, 21});
  MakeLabel(this, "lblFileCount", "Total files", {456, 132});
  MakeLabel(this, "lblFileSize", "Total size", {456, 164});

  connect(bbtList, &QPushButton::clicked, this, &TfrmWalkTree::bbtListClick);
  connect(bbtCase, &QPushButton::clicked, this, &TfrmWalkTree::bbtCaseClick);
  connect(bbtTouch, &QPushButton::clicked, this, &TfrmWalkTree::bbtTouchClick);
  connect(bbtSaveAs, &QPushButton::clicked, this, &TfrmWalkTree::bbtSaveAsClick);
  connect(bbtTestPage, &QPushButton::clicked, this, &TfrmWalkTree::bbtTestPageClick);
  connect(bbtRobots, &QPushButton::clicked, this, &TfrmWalkTree::bbtRobotsClick);
  connect(edtRemoteRoot, &QLineEdit::textChanged, this, &TfrmWalkTree::edtRemoteRootChange);
  connect(edtSaveAs, &QLineEdit::textChanged, this, &TfrmWalkTree::edtSaveAsChange);
  edtLocalRoot->installEventFilter(this);
  edtRemoteRoot->installEventFilter(this);
}

void TfrmWalkTree::BuildCaseGroup() {
  rgpCase = new QGroupBox(this);
  rgpCase->setObjectName("rgpCase");
  rgpCase->setGeometry(200, 107, 226, 37);
  FCaseButtons = new QButtonGroup(rgpCase);
  const QStringList items = {"lowercase", "UPPERCASE"};
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], rgpCase);
    radio->setObjectName(QString("rgpCase%1").arg(i));
    radio->setGeometry(8 + i * 109, 12, 105, 20);
    FCaseButtons->addButton(radio, i);
  }
  FCaseButtons->button(0)->setChecked(true);
}

void TfrmWalkTree::SetTabOrder() {
  QWidget* order[] = {edtLocalRoot, edtRemoteRoot, bbtList,  ckbInclSubDirs,
                      ckbDetails,   edtMask,       bbtCase,  FCaseButtons->button(0),
                      bbtTouch,     bbtRobots,     edtTouch, bbtTestPage,
                      bbtSaveAs,    edtSaveAs};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void TfrmWalkTree::ShowSiteWindow(const QString& localRoot, QWidget* parent) {
  TfrmWalkTree window(parent);
  window.edtRemoteRoot->setText(Environment->RemoteRoot);
  window.edtLocalRoot->setText(localRoot);
  window.LoadPublishSettings();
  window.edtTouch->setText(DateTimeToDateTimeStr(QDateTime::currentDateTime()));
  window.exec();
  Environment->RemoteRoot = window.edtRemoteRoot->text();
}

bool TfrmWalkTree::Changes(TAction action) const {
  return action == &TfrmWalkTree::TouchFiles || action == &TfrmWalkTree::ConvertCase;
}

bool TfrmWalkTree::Reads(TAction action) const {
  return action == &TfrmWalkTree::ListSite || action == &TfrmWalkTree::MakeTestPage ||
         action == &TfrmWalkTree::MakeRobots;
}

void TfrmWalkTree::Run(TAction action) {
  if (FRunning) {
    // Walks let events through; a second action started inside the first
    // would refill the lists under it. It waits; a reading action that a new
    // reading action would replace is stopped first. Convert, Touch and SaveAs
    // act on what the running one leaves, so they never cut it short.
    FPending.append(action);
    if (Reads(FRunning) && Reads(action)) {
      ifmManager->Abort();
      ifmManagerImg->Abort();
    }
    return;
  }
  const QPointer<TfrmWalkTree> self(this);
  for (TAction next = action; next;) {
    FRunning = next;
    FStopAsked = false;
    (this->*next)();
    if (!self) return;
    FRunning = nullptr;
    if (FCloseAfter) {
      FPending.clear();
      QDialog::done(FCloseResult);
      return;
    }
    next = FPending.isEmpty() ? nullptr : FPending.takeFirst();
  }
}

void TfrmWalkTree::done(int result) {
  if (!PublishMayClose()) return;
  if (FRunning && Changes(FRunning)) {
    // Files are being changed: stopping half way is the user's choice, and
    // the window stays until the job has said how far it got.
    if (FStopAsked) return;
    const QString job = FRunning == &TfrmWalkTree::TouchFiles ? "Touch" : "Convert";
    if (MsgYesNo(job + " is running. Stop it?", windowTitle()) != mrYes || !FRunning) return;
    FPending.clear();
    FStopAsked = true;
    FCloseAfter = true;
    FCloseResult = result;
    ifmManager->Abort();
    return;
  }
  // Closing during a walk that changes nothing: stop it, the modal loop
  // ends once it unwinds.
  if (FRunning) {
    FPending.clear();
    ifmManager->Abort();
    ifmManagerImg->Abort();
  }
  QDialog::done(result);
}

void TfrmWalkTree::bbtListClick() { Run(&TfrmWalkTree::ListSite); }
void TfrmWalkTree::bbtCaseClick() { Run(&TfrmWalkTree::ConvertCase); }
void TfrmWalkTree::bbtTouchClick() { Run(&TfrmWalkTree::TouchFiles); }
void TfrmWalkTree::bbtSaveAsClick() { Run(&TfrmWalkTree::SaveOutput); }
void TfrmWalkTree::bbtTestPageClick() { Run(&TfrmWalkTree::MakeTestPage); }
void TfrmWalkTree::bbtRobotsClick() { Run(&TfrmWalkTree::MakeRobots); }

void TfrmWalkTree::SetOutput(const QStringList& lines) {
  FOutput = lines;
  memOutput->setPlainText(lines.join('\n'));
  memOutput->moveCursor(QTextCursor::Start);
  edtSaveAsChange();
}

bool TfrmWalkTree::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    if (watched == edtLocalRoot) edtLocalRootExit();
    if (watched == edtRemoteRoot) edtRemoteRootExit();
  }
  return QDialog::eventFilter(watched, event);
}

void TfrmWalkTree::edtLocalRootExit() {
  SetChanged(edtLocalRoot, RootOnExit(edtLocalRoot->text(), true));
}

void TfrmWalkTree::edtRemoteRootChange() { UpdateButtons(); }

void TfrmWalkTree::edtRemoteRootExit() {
  SetChanged(edtRemoteRoot, RootOnExit(edtRemoteRoot->text(), bbtTestPage->isEnabled()));
}

void TfrmWalkTree::edtSaveAsChange() {
  bbtSaveAs->setEnabled(!edtSaveAs->text().isEmpty() && !FOutput.isEmpty());
}

void TfrmWalkTree::UpdateButtons() {
  const bool filled = !FOutput.isEmpty();
  bbtCase->setEnabled(filled);
  bbtTouch->setEnabled(filled);
  bbtRobots->setEnabled(filled);
  bbtTestPage->setEnabled(TestPageAllowed(filled, edtRemoteRoot->text()));
  bbtList->setEnabled(true);
}
