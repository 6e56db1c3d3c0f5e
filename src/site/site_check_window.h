#pragma once
// The window of the site check's findings: a sortable table of page, line,
// kind and message, a filter by kind, the counts per kind, and "Save as…".
// The check runs on a worker thread, so the window shows its progress, can
// stop it and stays alive. A double click asks the main window, through
// OnChoose, to open the finding. The main window owns the one instance
// (Instance()); the site window starts checks in it.
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "site/site_check.h"

class QComboBox;
class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QThread;
class QTimer;
class TCheckFindingsFilter;
class TCheckFindingsModel;

class TfrmSiteCheck : public QWidget {
  Q_OBJECT
 public:
  using TRunner = std::function<TCheckResult(const TCheckOptions&, const TCheckProgress&,
                                             const std::atomic<bool>*)>;

  explicit TfrmSiteCheck(QWidget* parent = nullptr);
  // Stops a running check and waits for it.
  ~TfrmSiteCheck() override;

  // The window the program made first and that still exists; null without one.
  static TfrmSiteCheck* Instance();

  // Shows the window and checks the tree of Options on a worker thread; a
  // check still running is stopped first. Host: the modal window the check
  // was started from; this window is usable beside it while it is open.
  void StartCheck(const TCheckOptions& options, QDialog* host = nullptr);
  bool Running() const { return FThread != nullptr; }
  // The findings' root, as the check was given it.
  QString Root() const { return FOptions.Root; }
  // The finding of the current row; nothing when no row is current.
  std::optional<TCheckFinding> SelectedFinding() const;
  // Every finding of the last check, whatever the filter shows.
  const std::vector<TCheckFinding>& Findings() const;

  void bbtStopClick();
  void bbtAgainClick();
  void bbtSaveAsClick();
  void cmbKindChange();
  void tblFindingsDblClick();

  // Called with this window as Sender on a double click on a finding.
  std::function<void(QObject* Sender)> OnChoose;
  // Runs the check; the site check itself unless a test puts another here.
  TRunner Runner;
  // Asks for the report's file name; a test puts a stand-in here.
  std::function<QString(const QString& title, const QString& fileName)> SaveDialog;

  QTableView* tblFindings = nullptr;
  QComboBox* cmbKind = nullptr;
  QLabel* lblCounts = nullptr;
  QLabel* lblStatus = nullptr;
  QProgressBar* prbProgress = nullptr;
  QPushButton *bbtStop = nullptr, *bbtAgain = nullptr, *bbtSaveAs = nullptr, *bbtClose = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void Finished(TCheckResult result);
  void ShowProgress();
  void ShowCounts();
  void StopAndWait();
  void ReturnHome();
  QString RunSaveDialog(const QString& title, const QString& fileName);

  TCheckFindingsModel* FModel = nullptr;
  TCheckFindingsFilter* FFilter = nullptr;
  TCheckOptions FOptions;
  TCheckResult FResult;  // of the last check; its findings are the model's
  QThread* FThread = nullptr;
  QTimer* FTicker = nullptr;
  std::atomic<bool> FStop{false};
  std::atomic<int> FDone{0}, FTotal{0};
  QPointer<QWidget> FHome;  // the parent to go back to when the host closes
  bool FAway = false;       // lent to a host
  bool FPlaced = false;     // shown at a place of its own choosing once
};
