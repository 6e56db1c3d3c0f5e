#include "html/choice_list_window.h"

#include <QCloseEvent>
#include <QFrame>
#include <QListWidget>
#include <QVBoxLayout>

#include "components/accessible_names.h"
#include "components/form_style.h"
#include "config/environment.h"

TfrmChoiceList::TfrmChoiceList(const QString& name, const QString& caption,
                               const QSize& designedSize, const TWindowCoords& coords,
                               QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FCoords(coords) {
  setObjectName(name);
  setWindowTitle(caption);
  SetFormColour(this);
  setAutoFillBackground(true);
  resize(designedSize);

  pnlResults = new QFrame(this);
  pnlResults->setObjectName("pnlResults");
  pnlResults->setFrameShape(QFrame::NoFrame);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(pnlResults);

  lbxResults = new QListWidget(pnlResults);
  lbxResults->setObjectName("lbxResults");
  lbxResults->setFont(MonoFont(13));
  lbxResults->setUniformItemSizes(true);
  lbxResults->setSelectionMode(QAbstractItemView::SingleSelection);
  lbxResults->setToolTip("DubbleClick to activate.");
  auto* inner = new QVBoxLayout(pnlResults);
  inner->setContentsMargins(5, 5, 5, 5);
  inner->addWidget(lbxResults);

  connect(lbxResults, &QListWidget::itemSelectionChanged, this, &TfrmChoiceList::lbxResultsClick);
  // A double click anywhere in the list counts, as it did on rows and blank
  // space alike; the first click of it has already set ChosenText.
  lbxResults->viewport()->installEventFilter(this);
  NameControlsByHints(this);
}

TfrmChoiceList::~TfrmChoiceList() {
  // The list goes after this part of the object: it must not call back.
  lbxResults->blockSignals(true);
  lbxResults->viewport()->removeEventFilter(this);
  RecordCoords();
}

void TfrmChoiceList::AddRows(const QStringList& rows) {
  const int itemHeight = 16;
  const QFontMetrics metrics(lbxResults->font());
  for (const QString& text : rows) {
    auto* item = new QListWidgetItem(text, lbxResults);
    item->setSizeHint(QSize(metrics.horizontalAdvance(text) + 4, itemHeight));
  }
}

void TfrmChoiceList::lbxResultsClick() {
  const QList<QListWidgetItem*> selected = lbxResults->selectedItems();
  ChosenText = ChosenTextOf(selected.isEmpty() ? -1 : lbxResults->row(selected.first()));
}

void TfrmChoiceList::lbxResultsDblClick() {
  if (OnChoose) OnChoose(this);
}

bool TfrmChoiceList::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lbxResults->viewport() && event->type() == QEvent::MouseButtonDblClick)
    lbxResultsDblClick();
  return QWidget::eventFilter(watched, event);
}

bool TfrmChoiceList::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  if (event->type() == QEvent::WindowDeactivate) RecordCoords();
  return QWidget::event(event);
}

// Showing places the window as activating it does, so that a resize seen
// while it appears never records the place it had before.
void TfrmChoiceList::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormActivate();
}

// A size of 0 means none was recorded; a negative one is taken as the same.
void TfrmChoiceList::FormActivate() {
  if (!Environment) return;
  const std::int32_t height = Environment->*FCoords.Height;
  const std::int32_t width = Environment->*FCoords.Width;
  FPlaced = true;
  move(Environment->*FCoords.Left, Environment->*FCoords.Top);
  resize(width > 0 ? width : this->width(), height > 0 ? height : this->height());
}

void TfrmChoiceList::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (isVisible()) RecordCoords();
}

// Closing only hides the window; the owner shows it again.
void TfrmChoiceList::closeEvent(QCloseEvent* event) {
  RecordCoords();
  event->accept();
}

// Top and left are the frame's, so that a window placed at 0, 0 keeps its
// title bar on the screen; height and width are the inside's.
void TfrmChoiceList::RecordCoords() {
  if (!Environment || !FPlaced) return;
  Environment->SetCoord(FCoords.TopIndex, y());
  Environment->SetCoord(FCoords.TopIndex + (ciLeft - ciTop), x());
  Environment->SetCoord(FCoords.TopIndex + (ciHeight - ciTop), height());
  Environment->SetCoord(FCoords.TopIndex + (ciWidth - ciTop), width());
}
