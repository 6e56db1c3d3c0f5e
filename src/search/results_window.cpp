#include "search/results_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/accessible_names.h"
#include "components/form_style.h"
#include "config/environment.h"

namespace {}  // namespace

TfrmResults::TfrmResults(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
  setObjectName("frmResults");
  setWindowTitle("Search results");
  SetFormColour(this);
  setFont(SansFont(11));
  setGeometry(4, 48, 210, 303);

  pnlResults = new QFrame(this);
  pnlResults->setObjectName("pnlResults");
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(pnlResults);
  auto* inner = new QVBoxLayout(pnlResults);
  inner->setContentsMargins(5, 5, 5, 5);
  inner->setSpacing(0);

  lbxResults = new QListWidget(pnlResults);
  lbxResults->setObjectName("lbxResults");
  lbxResults->setFont(MonoFont(13));
  lbxResults->setToolTip("DubbleClick to activate.");
  lbxResults->setUniformItemSizes(true);  // thousands of entries fill at once
  lbxResults->viewport()->installEventFilter(this);
  inner->addWidget(lbxResults, 1);

  pnlButton = new QFrame(pnlResults);
  pnlButton->setObjectName("pnlButton");
  pnlButton->setFixedHeight(34);
  pnlButton->installEventFilter(this);
  inner->addWidget(pnlButton);

  lblResCount = new QLabel(pnlButton);
  lblResCount->setObjectName("lblResCount");
  lblResCount->move(0, 16);
  bbtClose = new QPushButton("&Close", pnlButton);
  bbtClose->setObjectName("bbtClose");
  bbtClose->setToolTip("Close this form.");
  bbtClose->setGeometry(0, 5, 75, 25);
  connect(bbtClose, &QPushButton::clicked, this, &TfrmResults::bbtCloseClick);
  NameControlsByHints(this);
}

TfrmResults::~TfrmResults() {
  // The list goes after this part of the object: it must not call back.
  lbxResults->viewport()->removeEventFilter(this);
  pnlButton->removeEventFilter(this);
  FormDestroy();
}

// Top and left are the frame's, height and width the inside's, as for the
// other tool windows. Before the window has been placed, or while it is
// minimised, its geometry is not one the user left it in.
void TfrmResults::RecordGeometry() {
  if (!Environment || !FPlaced || isMinimized()) return;
  Environment->SetCoord(ciRTop, y());
  Environment->SetCoord(ciRLeft, x());
  Environment->SetCoord(ciRHeight, height());
  Environment->SetCoord(ciRWidth, width());
}

// A recorded size below 1 keeps the window's own size.
void TfrmResults::ApplyStoredGeometry() {
  if (!Environment) return;
  // Read all four first: resizing records the window's geometry, which
  // would otherwise overwrite the stored width before it is applied.
  const int top = Environment->RTop, left = Environment->RLeft;
  const int height = Environment->RHeight > 0 ? Environment->RHeight : this->height();
  const int width = Environment->RWidth > 0 ? Environment->RWidth : this->width();
  FPlaced = true;
  move(left, top);
  resize(width, height);
}

void TfrmResults::FormActivate() { ApplyStoredGeometry(); }
void TfrmResults::FormResize() { RecordGeometry(); }
void TfrmResults::FormDeactivate() { RecordGeometry(); }
void TfrmResults::FormDestroy() { RecordGeometry(); }

void TfrmResults::FormClose() {
  RecordGeometry();
  hide();
  ClearResults();
}

void TfrmResults::pnlButtonResize() {
  bbtClose->move((pnlButton->width() - bbtClose->width()) / 2, bbtClose->y());
}

void TfrmResults::bbtCloseClick() { close(); }

void TfrmResults::lbxResultsDblClick() {
  if (OnChoose) OnChoose(this);
}

void TfrmResults::WStateNormal() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
}

void TfrmResults::ShowResults(const TAllFilesResult& result) {
  lbxResults->clear();
  lbxResults->addItems(result.Entries);
  FHits = result.Hits;
  lblResCount->setText(QString::number(lbxResults->count()));
  lblResCount->adjustSize();
  if (lbxResults->count() > 0) lbxResults->setCurrentRow(0);
}

void TfrmResults::ClearResults() {
  lbxResults->clear();
  FHits.clear();
}

void TfrmResults::ShowAndRaise() {
  if (isHidden()) show();
  raise();
  activateWindow();
  WStateNormal();
}

std::optional<TSearchHit> TfrmResults::SelectedHit() const {
  const QListWidgetItem* item = lbxResults->currentItem();
  if (!item || !item->isSelected()) return std::nullopt;
  const std::size_t row = static_cast<std::size_t>(lbxResults->row(item));
  if (row < FHits.size() && ResultEntry(FHits[row].Line, FHits[row].FileName) == item->text())
    return FHits[row];
  return ParseResultEntry(item->text());
}

bool TfrmResults::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate)
    FormActivate();
  else if (event->type() == QEvent::WindowDeactivate)
    FormDeactivate();
  return QWidget::event(event);
}

void TfrmResults::showEvent(QShowEvent* event) {
  // The window system may activate a shown window late or not at all; the
  // stored place is taken at once.
  if (!event->spontaneous()) ApplyStoredGeometry();
  QWidget::showEvent(event);
}

void TfrmResults::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) FormResize();
}

void TfrmResults::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

bool TfrmResults::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pnlButton && event->type() == QEvent::Resize)
    pnlButtonResize();
  else if (watched == lbxResults->viewport() && event->type() == QEvent::MouseButtonDblClick)
    lbxResultsDblClick();
  return QWidget::eventFilter(watched, event);
}

TAllFilesResult SearchAllFilesKeepingAlive(const QString& folder, const QStringList& fileNames,
                                           const QString& searchText, bool caseSensitive) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  struct TRestoreCursor {
    ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
  } restore;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  QElapsedTimer sinceEvents;
  sinceEvents.start();
  const auto keepAlive = [&sinceEvents](int, int) {
    if (sinceEvents.elapsed() >= 50) {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
      sinceEvents.restart();
    }
    return true;
  };
  return SearchAllFiles(folder, fileNames, searchText, caseSensitive, keepAlive);
}
