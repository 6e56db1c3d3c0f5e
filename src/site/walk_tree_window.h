#pragma once
// The site-processing window ("Process on Entire Site !"): lists the whole
// site with its totals, renames every file name to one case, gives every
// file one date, writes the validator test page and robots.txt into its
// output pane and saves the pane. ShowSiteWindow creates it for one modal
// use. Its methods are spread over files by responsibility:
// walk_tree_window.cpp (controls, fields, buttons), walk_tree_window_actions.cpp
// (list, convert, touch, save) and walk_tree_window_pages.cpp (test page,
// robots.txt); the rules they apply sit window-free in site_window_rules.h.
#include <QDialog>
#include <QStringList>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class TBoxLabel;
class TZELFileManager;
class TPublishFlow;
struct TPublishItem;

class TfrmWalkTree : public QDialog {
  Q_OBJECT
 public:
  explicit TfrmWalkTree(QWidget* parent = nullptr);
  ~TfrmWalkTree() override;

  // Opens the window modally on LocalRoot with the remote root of the
  // settings record, and writes the remote root back when it closes.
  static void ShowSiteWindow(const QString& localRoot, QWidget* parent = nullptr);

  // Event handlers. A click while another action runs waits its turn: it
  // is carried out once that action has ended. A click on List site,
  // Testpage or Robots.txt cuts a running one of these three short, since
  // they change nothing and the new one replaces the pane; Touch and
  // Convert are never cut short, and closing the window asks first.
  void bbtListClick();
  void bbtCaseClick();
  void bbtTouchClick();
  void bbtSaveAsClick();
  void bbtTestPageClick();
  void bbtRobotsClick();
  // Checks the tree of the local root, mask and sub-folder fields in the
  // site check's window (walk_tree_window_check.cpp).
  void bbtCheckClick();
  void edtLocalRootExit();
  void edtRemoteRootChange();
  void edtRemoteRootExit();
  void edtSaveAsChange();
  void UpdateButtons();
  // walk_tree_window_publish.cpp: Publish, Stop while it runs.
  void bbtPublishClick();
  // The publish fields of the local root now in its field.
  void LoadPublishSettings();

  // The lines of the output pane, as SaveAs writes them.
  const QStringList& OutputLines() const { return FOutput; }
  bool Busy() const { return FRunning != nullptr; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

 private:
  using TAction = void (TfrmWalkTree::*)();
  // The hourglass for as long as it lives.
  struct TWaitCursor {
    TWaitCursor();
    ~TWaitCursor();
  };
  void BuildControls();
  void BuildCaseGroup();
  void SetTabOrder();
  // Runs Action, or queues it while another one runs (see the handlers).
  void Run(TAction action);
  bool Changes(TAction action) const;
  bool Reads(TAction action) const;
  void SetOutput(const QStringList& lines);

  // walk_tree_window_actions.cpp
  void ListSite();
  void ConvertCase();
  void TouchFiles();
  void SaveOutput();

  // walk_tree_window_pages.cpp
  void MakeTestPage();
  void MakeRobots();

  // walk_tree_window_check.cpp
  void BuildCheckButton();
  // walk_tree_window_publish.cpp
  friend class TPublishFlow;
  void BuildPublishControls();
  void StorePublishSettings();
  bool PublishMayClose();
  void SetPublishStep(int step);
  void ShowPublishLines();
  void PublishItemRead(const TPublishItem& item);
  void PublishStepDone(bool ok, int exitStatus, const QString& message);
  TPublishFlow* FPublish = nullptr;
  QLineEdit* edtTarget = nullptr;
  QPushButton* bbtPublish = nullptr;
  QProgressBar* prbPublish = nullptr;

  QStringList FOutput;
  TAction FRunning = nullptr;
  QList<TAction> FPending;
  bool FStopAsked = false;   // the user chose to stop the running Touch or Convert
  bool FCloseAfter = false;  // and to close the window once it has stopped
  int FCloseResult = 0;
  TZELFileManager* ifmManager = nullptr;
  TZELFileManager* ifmManagerImg = nullptr;

  QListWidget* lbxFiles = nullptr;
  QPlainTextEdit* memOutput = nullptr;
  QLineEdit *edtLocalRoot = nullptr, *edtRemoteRoot = nullptr, *edtMask = nullptr,
            *edtTouch = nullptr, *edtSaveAs = nullptr;
  QPushButton *bbtList = nullptr, *bbtCase = nullptr, *bbtTouch = nullptr, *bbtRobots = nullptr,
              *bbtTestPage = nullptr, *bbtSaveAs = nullptr;
  QPushButton* bbtCheck = nullptr;
  QCheckBox *ckbInclSubDirs = nullptr, *ckbDetails = nullptr;
  QGroupBox* rgpCase = nullptr;
  QButtonGroup* FCaseButtons = nullptr;
  TBoxLabel *bxlFileCount = nullptr, *bxlFileSize = nullptr;
};
