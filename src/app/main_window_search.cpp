// The main window's search bar: search, replace, replace all, go to line and
// the search in all files.
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "components/desktop.h"
#include "components/edit_controls.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "doc/edit_file_info.h"
#include "search/escapes.h"
#include "search/results_window.h"

namespace {

constexpr int MaxHistory = 10;

// The search bar's keys that the boxes themselves have no use for: Enter in
// the search box searches, F3 (and the file stepping that shares its
// handler) works there as in the editor, and either box entered updates the
// clipboard commands.
class TSearchBarKeys : public QObject {
 public:
  static constexpr const char* Name = "SearchBarKeys";
  TSearchBarKeys(TfrmMain* window, QComboBox* search, QComboBox* replace)
      : QObject(window), FWindow(window), FSearch(search) {
    setObjectName(Name);
    search->installEventFilter(this);
    replace->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) {
      FWindow->memEditToggleMenus();
    } else if (event->type() == QEvent::KeyPress && watched == FSearch) {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        FWindow->bbtSearchClick();
        return true;
      }
      FWindow->memEditF3KeyDown(key->key(), key->modifiers() & ~Qt::KeypadModifier);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TfrmMain* FWindow;
  QComboBox* FSearch;
};

// Puts Combo's text first in its drop-down list unless it is there already
// in any letter case; the list keeps at most ten entries.
void AddToHistory(QComboBox* combo) {
  const QString text = combo->currentText();
  // Changing the list must neither change the box's text nor count as a
  // change of it: that would send the next search back to the top.
  const QSignalBlocker block(combo);
  if (combo->findText(text, Qt::MatchFixedString) < 0) combo->insertItem(0, text);
  while (combo->count() > MaxHistory) combo->removeItem(MaxHistory);
  if (combo->currentText() != text) combo->setEditText(text);
}

}  // namespace

void TfrmMain::ConnectSearchBar() {
  // Connected once, however often it is called.
  if (findChild<QObject*>(TSearchBarKeys::Name, Qt::FindDirectChildrenOnly)) return;
  connect(cmbSearch, &QComboBox::editTextChanged, this, &TfrmMain::cmbSearchChange);
  connect(cmbReplace, &QComboBox::editTextChanged, this, &TfrmMain::cmbReplaceChange);
  connect(bbtSearch, &QPushButton::clicked, this, &TfrmMain::bbtSearchClick);
  connect(bbtReplace, &QPushButton::clicked, this, &TfrmMain::bbtReplaceClick);
  connect(bbtReplaceAll, &QPushButton::clicked, this, &TfrmMain::bbtReplaceAllClick);
  connect(bbtGoto, &QPushButton::clicked, this, [this] { bbtGotoClick(bbtGoto); });
  connect(ckbCaseSens, &QCheckBox::toggled, this, &TfrmMain::ckbCaseSensClick);
  connect(ckbQReplace, &QCheckBox::toggled, this, &TfrmMain::ckbQReplaceClick);
  connect(ckbSearchAll, &QCheckBox::toggled, this, &TfrmMain::ckbSearchAllClick);
  connect(bbtMaint, &QPushButton::clicked, this, &TfrmMain::bbtMaintClick);
  iedGoto->SetEnterAsTab(false);
  iedGoto->OnKeyPress = [this](QObject*, QChar& key) { iedGotoKeyPress(key); };
  new TSearchBarKeys(this, cmbSearch, cmbReplace);
}

void TfrmMain::cmbSearchChange() {
  Environment->LastSearch = cmbSearch->currentText();
  SearchText = DecodeEscapes(cmbSearch->currentText());
  UpdateSearchButtons();
  ckbFindFirst->setChecked(true);
  memEditToggleMenus();
}

void TfrmMain::cmbReplaceChange() {
  Environment->Replace = cmbReplace->currentText();
  ReplaceText = DecodeEscapes(cmbReplace->currentText());
  memEditToggleMenus();
}

void TfrmMain::ckbCaseSensClick() { Environment->CaseSensitive = ckbCaseSens->isChecked(); }

void TfrmMain::ckbQReplaceClick() { Environment->QueryReplace = ckbQReplace->isChecked(); }

void TfrmMain::ckbSearchAllClick() { UpdateSearchButtons(); }

void TfrmMain::UpdateSearchHistory() {
  AddToHistory(cmbSearch);
  AddToHistory(cmbReplace);
}

void TfrmMain::bbtSearchClick() {
  UpdateSearchHistory();
  if (ckbSearchAll->isChecked()) {
    SearchAllFiles();
    return;
  }
  memEdit->SetCaseSensitive(ckbCaseSens->isChecked());
  Found = ckbFindFirst->isChecked() ? memEdit->FindFirstText(SearchText)
                                    : memEdit->FindNextText(SearchText);
  ckbFindFirst->setChecked(!Found);
  if (!Found) Desktop().Beep();
}

void TfrmMain::SearchAllFiles() {
  if (!frmResults) return;
  frmResults->ClearResults();
  const TAllFilesResult result = SearchAllFilesKeepingAlive(
      flbPages->Directory(), flbPages->Names(), SearchText, ckbCaseSens->isChecked());
  frmResults->ShowResults(result);
  frmResults->ShowAndRaise();
  // An unreadable file does not cost the hits in the others.
  if (!result.Failures.empty()) MsgWarning(FailuresText(result.Failures), "Files not searched");
}

QPoint TfrmMain::QueryReplacePos() const {
  // The window's corner plus the lefts and tops of the editor panel, the
  // search bar and the search button, the panel's counted from below the
  // menu bar as in the window's client area.
  const QPoint panel = pnlEdit->mapTo(this, QPoint(0, 0)) - QPoint(0, menuBar()->height());
  return frameGeometry().topLeft() + panel + pnlSearch->pos() + bbtSearch->pos() + QPoint(24, 12);
}

int TfrmMain::QueryReplace() {
  if (!ckbQReplace->isChecked()) return mrYes;
  QMessageBox box(QMessageBox::Question, "Confirm", "Replace this occurrence?",
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  box.move(QueryReplacePos());
  switch (box.exec()) {
    case QMessageBox::Yes:
      return mrYes;
    case QMessageBox::No:
      return mrNo;
    default:
      return mrCancel;
  }
}

void TfrmMain::ReplaceSelection() {
  memEdit->SetSelText(ReplaceText);
  // The search gave the editor the focus, so this is the user's edit even
  // when the window was not active to see it happen.
  if (!FFileInfo->Modified) FFileInfo->SetModified(true);
}

void TfrmMain::bbtReplaceClick() {
  // With "All files" ticked the search does not select a hit to replace.
  if (ckbSearchAll->isChecked()) return;
  UpdateSearchHistory();
  bbtSearchClick();
  if (Found && QueryReplace() == mrYes) ReplaceSelection();
}

void TfrmMain::bbtReplaceAllClick() {
  if (ckbSearchAll->isChecked()) return;
  UpdateSearchHistory();
  ckbFindFirst->setChecked(true);
  if (!ckbQReplace->isChecked()) {
    ReplaceAllQuietly();
    return;
  }
  memEdit->beginUndoAction();
  bbtSearchClick();
  while (Found) {
    const int answer = QueryReplace();
    if (answer == mrCancel) break;
    if (answer == mrYes) ReplaceSelection();
    bbtSearchClick();
  }
  memEdit->endUndoAction();
}

// Replace all without questions ends as the search-and-replace loop would:
// every hit replaced, the caret after the last one, the last search failed.
void TfrmMain::ReplaceAllQuietly() {
  memEdit->SetCaseSensitive(ckbCaseSens->isChecked());
  if (memEdit->ReplaceAllText(SearchText, ReplaceText) > 0 && !FFileInfo->Modified)
    FFileInfo->SetModified(true);
  Found = false;
  ckbFindFirst->setChecked(true);
  Desktop().Beep();
}

void TfrmMain::bbtGotoClick(QObject* sender) {
  QWidget* active = ActiveControl();
  if (sender && active != iedGoto && active != bbtGoto) {
    iedGoto->setFocus();
    return;
  }
  // What the user typed is in the text; Value follows only text set by code.
  bool ok = false;
  const int line = iedGoto->text().trimmed().toInt(&ok) - 1;
  if (!ok || line < 0) return;
  const int index = memEdit->LineIndex(line);
  if (index < 0) return;
  memEdit->SetSelStart(index);
  memEdit->setFocus();
  memEdit->UpdatePosition();
}

void TfrmMain::iedGotoKeyPress(QChar& key) {
  if (key.unicode() != 13) return;
  bbtGotoClick(bbtGoto);
  key = QChar();
}
