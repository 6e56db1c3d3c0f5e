#pragma once
// The tool window that lists the lines found by the all-files search; a
// double click on an entry asks the main window, through OnChoose, to open
// that hit. Owned by the main window; closing hides it.
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "search/all_files_search.h"

class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

class TfrmResults : public QWidget {
  Q_OBJECT
 public:
  explicit TfrmResults(QWidget* parent = nullptr);
  ~TfrmResults() override;

  // Window events.
  void FormActivate();
  void FormResize();
  void FormDeactivate();
  void FormDestroy();
  void FormClose();
  void pnlButtonResize();
  void bbtCloseClick();
  void lbxResultsDblClick();
  // Restores the window when it is minimised.
  void WStateNormal();

  // Replaces the list by the search's entries, shows their number in
  // lblResCount and selects the first entry.
  void ShowResults(const TAllFilesResult& result);
  // Empties the list (the count label keeps its text, as after a close).
  void ClearResults();
  // Shows the window when hidden, brings it to the front, restores it when
  // minimised.
  void ShowAndRaise();
  // The line and file of the selected entry; nothing when none is selected.
  // The full line number is kept for entries the search put there, so a
  // line past 9999 opens where it is.
  std::optional<TSearchHit> SelectedHit() const;

  // Called with this window as Sender on a double click in the list, when
  // set; the main window opens the selected hit.
  std::function<void(QObject* Sender)> OnChoose;

  QListWidget* lbxResults = nullptr;
  QLabel* lblResCount = nullptr;
  QPushButton* bbtClose = nullptr;

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RecordGeometry();
  void ApplyStoredGeometry();

  QFrame* pnlResults = nullptr;
  QFrame* pnlButton = nullptr;
  std::vector<TSearchHit> FHits;  // FHits[i] is the line behind list row i
  bool FPlaced = false;           // shown at its recorded place at least once
};

// Runs SearchAllFiles under the hourglass cursor. Between files, at most
// every 50 ms, the window is repainted; user input waits until the search
// is over, so no command can start in the middle of it.
TAllFilesResult SearchAllFilesKeepingAlive(const QString& folder, const QStringList& fileNames,
                                           const QString& searchText, bool caseSensitive);
