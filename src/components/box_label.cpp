#include "components/box_label.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>

namespace {

constexpr int Inset = 2;
constexpr int Prefix = 4;

// A reader says the caption, as it does a plain label's text.
class TBoxLabelAccessible : public QAccessibleWidget {
 public:
  explicit TBoxLabelAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
      return QAccessibleWidget::text(t);
    QString caption = static_cast<const TBoxLabel*>(widget())->Caption();
    return caption.replace(QLatin1String("&&"), QLatin1String("\x01"))
        .remove(QLatin1Char('&'))
        .replace(QLatin1String("\x01"), QLatin1String("&"));
  }
};

QAccessibleInterface* BoxLabelFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("TBoxLabel") && object && object->isWidgetType())
    return new TBoxLabelAccessible(static_cast<QWidget*>(object));
  return nullptr;
}

}  // namespace

TBoxLabel::TBoxLabel(QWidget* parent) : QWidget(parent) {
  static const bool installed = (QAccessible::installFactory(BoxLabelFactory), true);
  Q_UNUSED(installed);
  resize(100, 17);
}

void TBoxLabel::SetCaption(const QString& value) {
  if (value == FCaption) return;
  FCaption = value;
  QAccessibleEvent changed(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&changed);
  UpdateShortcut();
  AdjustBounds();
  update();
}

void TBoxLabel::SetAlignment(Qt::Alignment value) {
  value &= Qt::AlignHorizontal_Mask;
  if (value == FAlignment) return;
  FAlignment = value;
  update();
}

void TBoxLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustBounds();
}

void TBoxLabel::SetBorderShape(TBoxLabelShape value) {
  FShape = value;
  if (value == blNoShape)
    FStyle = blNoStyle;
  else if (FStyle == blNoStyle)
    FStyle = blLowered;
  update();
}

void TBoxLabel::SetBorderStyle(TBoxLabelStyle value) {
  FStyle = value;
  if (value == blNoStyle)
    FShape = blNoShape;
  else if (FShape == blNoShape)
    FShape = blBox;
  update();
}

void TBoxLabel::SetCenterVertical(bool value) {
  FCenterVertical = value;
  update();
}

void TBoxLabel::SetFocusControl(QWidget* value) { FFocusControl = value; }

void TBoxLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  UpdateShortcut();
  AdjustBounds();
  update();
}

void TBoxLabel::SetSpacePrefix(bool value) {
  FSpacePrefix = value;
  update();
}

void TBoxLabel::SetTransparent(bool value) {
  FTransparent = value;
  update();
}

void TBoxLabel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  AdjustBounds();
  update();
}

QColor TBoxLabel::Color() const { return palette().color(QPalette::Window); }

void TBoxLabel::SetColor(const QColor& value) {
  QPalette pal = palette();
  pal.setColor(QPalette::Window, value);
  setPalette(pal);
}

QRect TBoxLabel::TextRect() const {
  QRect r = rect().adjusted(Inset, Inset, -Inset, -Inset);
  if (FCenterVertical) {
    const int lineHeight = fontMetrics().height();
    r.setTop((Inset + height() - Inset - lineHeight) / 2);
    r.setHeight(lineHeight);
  }
  if (FSpacePrefix) {
    if (FAlignment & Qt::AlignLeft) r.setLeft(r.left() + Prefix);
    if (FAlignment & Qt::AlignRight) r.setRight(r.right() - Prefix);
  }
  return r;
}

int TBoxLabel::TextFlags() const {
  int flags = int(FAlignment) | Qt::AlignTop | Qt::TextExpandTabs | Qt::TextWordWrap;
  if (FShowAccelChar) flags |= Qt::TextShowMnemonic;
  return flags;
}

void TBoxLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!FTransparent) p.fillRect(rect(), Color());
  p.setFont(font());
  p.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
  p.drawText(TextRect(), TextFlags(), FCaption);
  DrawBorder(p);
}

void TBoxLabel::DrawBorder(QPainter& p) const {
  if (FShape == blNoShape) return;
  const QColor shadow = palette().color(QPalette::Dark);
  const QColor light = palette().color(QPalette::Light);
  const QColor a = FStyle == blLowered ? shadow : light;
  const QColor b = FStyle == blLowered ? light : shadow;
  const int r = width() - 1, btm = height() - 1;
  auto line = [&p](const QColor& c, int x1, int y1, int x2, int y2) {
    p.setPen(c);
    p.drawLine(x1, y1, x2, y2);
  };
  auto box = [&line](const QColor& tl, const QColor& br, int x1, int y1, int x2, int y2) {
    line(tl, x1, y1, x2, y1);
    line(tl, x1, y1, x1, y2);
    line(br, x1, y2, x2, y2);
    line(br, x2, y1, x2, y2);
  };
  switch (FShape) {
    case blBox:
      box(a, b, 0, 0, r, btm);
      break;
    case blFrame:  // etched: the light frame one pixel down and right
      box(b, b, 1, 1, r, btm);
      box(a, a, 0, 0, r - 1, btm - 1);
      break;
    case blTopLine:
      line(a, 0, 0, r, 0);
      line(b, 0, 1, r, 1);
      break;
    case blBottomLine:
      line(a, 0, btm - 1, r, btm - 1);
      line(b, 0, btm, r, btm);
      break;
    case blLeftLine:
      line(a, 0, 0, 0, btm);
      line(b, 1, 0, 1, btm);
      break;
    case blRightLine:
      line(a, r - 1, 0, r - 1, btm);
      line(b, r, 0, r, btm);
      break;
    case blNoShape:
      break;
  }
}

void TBoxLabel::AdjustBounds() {
  if (!FAutoSize) return;
  QString text = FCaption;
  if (text.isEmpty() || (FShowAccelChar && text == "&")) text = " ";
  int flags = TextFlags() & ~Qt::TextWordWrap;
  QSize size;
  if (FWordWrap) {
    flags |= Qt::TextWordWrap;
    size = fontMetrics().boundingRect(QRect(0, 0, TextRect().width(), 100000), flags, text).size();
  } else {
    size = fontMetrics().size(flags, text);
  }
  // The caption's own size plus the insets it is drawn within, so that it
  // is not clipped by them.
  const bool prefixed = FSpacePrefix && (FAlignment & (Qt::AlignLeft | Qt::AlignRight));
  size += QSize(2 * Inset + (prefixed ? Prefix : 0), 2 * Inset);
  const int right = x() + width();
  resize(size);
  if (FAlignment & Qt::AlignRight) move(right - width(), y());
}

void TBoxLabel::UpdateShortcut() {
  if (FShortcutId) releaseShortcut(FShortcutId);
  FShortcutId = 0;
  const QKeySequence key = QKeySequence::mnemonic(FCaption);
  if (FShowAccelChar && !key.isEmpty()) FShortcutId = grabShortcut(key);
}

void TBoxLabel::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) AdjustBounds();
}

bool TBoxLabel::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut &&
      static_cast<QShortcutEvent*>(event)->shortcutId() == FShortcutId) {
    if (FFocusControl && isEnabled() && FShowAccelChar && FFocusControl->isEnabled() &&
        FFocusControl->isVisible())
      FFocusControl->setFocus(Qt::ShortcutFocusReason);
    return true;
  }
  return QWidget::event(event);
}
