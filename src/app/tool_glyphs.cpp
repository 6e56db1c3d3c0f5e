#include "app/tool_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

#include "components/form_style.h"

namespace {

const QColor kInk(40, 50, 70);
const QColor kBlue(40, 90, 160);
const QColor kGreen(40, 130, 60);
const QColor kRed(190, 40, 40);

void DrawFloppy(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(3, 2, 18, 18), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(7, 3, 10, 6));
  p.setBrush(QColor(220, 220, 225));
  p.drawRect(QRectF(6, 12, 12, 7));
}

void DrawGear(QPainter& p) {
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(120, 130, 150));
  QPainterPath path;
  const QPointF c(12, 11);
  for (int i = 0; i < 16; ++i) {
    const double a = i * M_PI / 8;
    const double r = (i % 2 == 0) ? 9.5 : 7;
    const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
    if (i == 0)
      path.moveTo(pt);
    else
      path.lineTo(pt);
  }
  path.closeSubpath();
  p.drawPath(path);
  p.setBrush(Qt::white);
  p.drawEllipse(c, 3, 3);
}

void DrawText(QPainter& p, const QString& text, const QColor& color, int pixelSize) {
  QFont f(SansFamily);
  f.setBold(true);
  f.setPixelSize(pixelSize);
  p.setFont(f);
  p.setPen(color);
  p.drawText(QRect(0, 0, 24, 22), Qt::AlignCenter, text);
}

void Draw(QPainter& p, TGlyph glyph) {
  switch (glyph) {
    case TGlyph::View:  // a browser window with a globe
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2, 3, 20, 16));
      p.setBrush(kBlue);
      p.drawRect(QRectF(2, 3, 20, 4));
      p.setBrush(QColor(120, 180, 230));
      p.drawEllipse(QPointF(12, 13), 4.5, 4.5);
      break;
    case TGlyph::Cancel: {  // a curved arrow back
      p.setPen(QPen(kRed, 2.4, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(5, 5, 14, 13), 90 * 16, -250 * 16);
      p.setBrush(kRed);
      p.setPen(Qt::NoPen);
      p.drawPolygon(QPolygonF({QPointF(4, 5), QPointF(12, 1), QPointF(12, 10)}));
      break;
    }
    case TGlyph::Save:
      DrawFloppy(p);
      break;
    case TGlyph::SaveAs:
      DrawFloppy(p);
      p.setPen(QPen(kGreen, 2.2));
      p.drawLine(QPointF(16, 15), QPointF(22, 15));
      p.drawLine(QPointF(19, 12), QPointF(19, 18));
      break;
    case TGlyph::Settings:
      DrawGear(p);
      break;
    case TGlyph::NewInstance:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(2, 6, 14, 13));
      p.drawRect(QRectF(7, 2, 14, 13));
      p.setBrush(kBlue);
      p.drawRect(QRectF(7, 2, 14, 3));
      p.setPen(QPen(kGreen, 2.2));
      p.drawLine(QPointF(14, 8), QPointF(14, 14));
      p.drawLine(QPointF(11, 11), QPointF(17, 11));
      break;
    case TGlyph::HTML:
      DrawText(p, "</>", kBlue, 11);
      break;
    case TGlyph::SpecChar:
      DrawText(p, "&&\u00e9", kGreen, 12);
      break;
    case TGlyph::Help:
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(QColor(250, 220, 90));
      p.drawEllipse(QPointF(12, 11), 9.5, 9.5);
      DrawText(p, "?", kInk, 15);
      break;
  }
}

}  // namespace

QIcon ToolGlyph(TGlyph glyph) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pm(24 * scale, 22 * scale);
    pm.setDevicePixelRatio(scale);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p, glyph);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}
