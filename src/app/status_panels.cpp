#include "app/status_panels.h"

#include <QPainter>
#include <QStyleOptionFrame>

namespace {
const int kWidths[4] = {378, 124, 50, 50};
}

TStatusPanels::TStatusPanels(QWidget* parent) : QWidget(parent) {
  setFixedHeight(28);
  setObjectName("stbStatus");
}

void TStatusPanels::SetText(int panel, const QString& text) {
  if (panel < 0 || panel > 3 || FTexts[panel] == text) return;
  FTexts[panel] = text;
  update(PanelRect(panel));
}

QString TStatusPanels::Text(int panel) const {
  return panel >= 0 && panel <= 3 ? FTexts[panel] : QString();
}

void TStatusPanels::SetMarker(bool modified) {
  FMarker = modified;
  update(PanelRect(2));
}

QRect TStatusPanels::PanelRect(int panel) const {
  int left = 0;
  for (int i = 0; i < panel; ++i) left += kWidths[i] + 2;
  // The last panel takes what is left of the width.
  const int width = panel == 3 ? qMax(kWidths[3], this->width() - left) : kWidths[panel];
  return QRect(left, 2, width, height() - 2);
}

QRect TStatusPanels::MarkerRect() const {
  if (!FMarker) return {};
  const QRect r = PanelRect(2);
  return QRect(QPoint(r.left() + 4, r.top() + 6), QPoint(r.right() - 5, r.bottom() - 7));
}

void TStatusPanels::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (int i = 0; i < 4; ++i) {
    const QRect r = PanelRect(i);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(palette().color(QPalette::WindowText));
    const int align = (i == 1 || i == 2) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    p.drawText(r.adjusted(2, 0, -2, 0), align,
               fontMetrics().elidedText(FTexts[i], Qt::ElideMiddle, r.width() - 4));
  }
  if (FMarker) p.fillRect(MarkerRect(), QColor(255, 34, 34));
}
