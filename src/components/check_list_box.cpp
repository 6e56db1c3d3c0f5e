#include "components/check_list_box.h"

#include <QBitmap>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int CheckedRole = Qt::UserRole;
constexpr int ObjectRole = Qt::UserRole + 1;
constexpr int GlyphSize = 16;
constexpr int TextIndent = 20;

// Hands the painting of each item to the list, at one fixed height.
class TCheckListDelegate : public QStyledItemDelegate {
 public:
  explicit TCheckListDelegate(TZELCheckListBox* list) : QStyledItemDelegate(list), FList(list) {}
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    FList->DrawItem(*painter, option.rect, index.row(), option.state & QStyle::State_Selected);
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
    return {option.rect.width(), std::max(GlyphSize, option.fontMetrics.height() + 2)};
  }

 private:
  TZELCheckListBox* FList;
};

QListWidgetItem* NewItem(const QString& s, QObject* object) {
  auto* item = new QListWidgetItem(s);
  item->setData(CheckedRole, false);
  item->setData(ObjectRole, QVariant::fromValue(object));
  return item;
}

}  // namespace

QPixmap DefaultCheckGlyph() {
  QPixmap pm(2 * GlyphSize, GlyphSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 2; ++i) {
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(i * GlyphSize + 2.5, 2.5, 11, 11));
  }
  p.setPen(QPen(QColor(20, 110, 40), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(QPolygonF{{4.5, 8}, {7, 11}, {12, 4.5}});
  return pm;
}

// ---- TZELCheckListBoxStrings ----

int TZELCheckListBoxStrings::Add(const QString& s, QObject* object) {
  FList.addItem(NewItem(s, object));
  return FList.count() - 1;
}

void TZELCheckListBoxStrings::Insert(int index, const QString& s, QObject* object) {
  const int sel = FList.currentRow();
  FList.insertItem(index, NewItem(s, object));
  FList.setCurrentRow(sel < 0 ? 0 : (index <= sel ? sel + 1 : sel));
}

void TZELCheckListBoxStrings::Delete(int index) {
  if (index < 0 || index >= FList.count()) return;
  const int sel = FList.currentRow();
  const bool single = FList.selectionMode() == QAbstractItemView::SingleSelection;
  delete FList.takeItem(index);
  if (!single || sel < 0) return;
  const int moved = (index <= sel && sel > 0) ? sel - 1 : sel;
  FList.setCurrentRow(std::min(moved, FList.count() - 1));
}

void TZELCheckListBoxStrings::Clear() { FList.clear(); }

QString TZELCheckListBoxStrings::Get(int index) const {
  const QListWidgetItem* item = FList.item(index);
  return item ? item->text() : QString();
}

int TZELCheckListBoxStrings::Count() const { return FList.count(); }

QObject* TZELCheckListBoxStrings::Objects(int index) const {
  const QListWidgetItem* item = FList.item(index);
  return item ? item->data(ObjectRole).value<QObject*>() : nullptr;
}

// ---- TZELCheckListBox ----

TZELCheckListBox::TZELCheckListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new TCheckListDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  SetGlyph(DefaultCheckGlyph());
  connect(this, &QListWidget::itemClicked, this, [this] { ToggleCurrent(); });
}

bool TZELCheckListBox::Checked(int index) const {
  const QListWidgetItem* it = item(index);
  return it && it->data(CheckedRole).toBool();
}

void TZELCheckListBox::SetChecked(int index, bool value) {
  QListWidgetItem* it = item(index);
  if (!it) return;
  if (value && FCheckOnlyOne)
    for (int i = 0; i < count(); ++i) item(i)->setData(CheckedRole, false);
  it->setData(CheckedRole, value);
}

void TZELCheckListBox::SetCheckOnlyOne(bool value) {
  FCheckOnlyOne = value;
  if (value)
    for (int i = 0; i < count(); ++i) item(i)->setData(CheckedRole, false);
}

void TZELCheckListBox::SetGlyph(const QPixmap& glyph) {
  FGlyph = glyph;
  // A glyph without transparency takes its bottom-left colour as transparent.
  if (!FGlyph.isNull() && !FGlyph.hasAlphaChannel()) {
    const QColor corner = FGlyph.toImage().pixelColor(0, FGlyph.height() - 1);
    FGlyph.setMask(FGlyph.createMaskFromColor(corner));
  }
  FNumGlyphs = FGlyph.isNull() ? 0 : (FGlyph.width() > FGlyph.height() ? 2 : 1);
  viewport()->update();
}

void TZELCheckListBox::SetNumGlyphs(int value) {
  if (value < 0 || value > 2) return;
  FNumGlyphs = value;
  viewport()->update();
}

void TZELCheckListBox::DrawItem(QPainter& painter, const QRect& rect, int index, bool selected) {
  if (OnDrawItem) {
    OnDrawItem(this, index, painter, rect, selected);
    return;
  }
  const QPalette& pal = palette();
  painter.fillRect(rect, pal.color(selected ? QPalette::Highlight : QPalette::Base));
  painter.setPen(pal.color(selected ? QPalette::HighlightedText : QPalette::Text));
  painter.drawText(rect.adjusted(TextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   FItems.Get(index));
  const QRect box(rect.topLeft(), QSize(GlyphSize, GlyphSize));
  if (selected) painter.fillRect(box, pal.color(QPalette::Base));
  const bool checked = Checked(index);
  if (FNumGlyphs == 0 || (FNumGlyphs == 1 && !checked)) return;
  const int source = (FNumGlyphs == 2 && !checked) ? GlyphSize : 0;
  painter.drawPixmap(box.topLeft(), FGlyph, QRect(source, 0, GlyphSize, GlyphSize));
}

void TZELCheckListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    ToggleCurrent();
    event->accept();
    return;
  }
  QListWidget::keyPressEvent(event);
}

void TZELCheckListBox::ToggleCurrent() {
  const int i = currentRow();
  if (i < 0) return;
  SetChecked(i, !Checked(i));
  viewport()->update();
  if (OnClick) OnClick(this);
}
