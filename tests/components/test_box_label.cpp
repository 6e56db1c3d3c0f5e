#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "components/box_label.h"

namespace {

const QColor kFill(255, 255, 255), kInk(0, 0, 0), kShadow(10, 20, 200), kLight(200, 20, 10);

// A label whose colours tell fill, text and the two border colours apart.
void Paint(TBoxLabel& label) {
  QPalette pal = label.palette();
  pal.setColor(QPalette::Window, kFill);
  pal.setColor(QPalette::WindowText, kInk);
  pal.setColor(QPalette::Dark, kShadow);
  pal.setColor(QPalette::Light, kLight);
  label.setPalette(pal);
}

bool Has(const QImage& image, const QColor& colour) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == colour) return true;
  return false;
}

}  // namespace

class TestBoxLabel : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void textPlace();
  void borders();
  void shapeAndStyleCoupled();
  void autoSizeAndAccelerator();
};

// The caption sits inside the inset, after the prefix on its aligned side,
// centred vertically; disabled, it is drawn in the grey-text colour.
void TestBoxLabel::textPlace() {
  TBoxLabel label;
  QCOMPARE(label.size(), QSize(100, 17));  // the size forms lay it out with
  label.resize(97, 21);
  Paint(label);
  label.SetAlignment(Qt::AlignRight);
  label.SetCaption("0");
  const int lineHeight = label.fontMetrics().height();
  QCOMPARE(label.TextRect(), QRect(2, (21 - lineHeight) / 2, 97 - 4 - 4, lineHeight));
  label.SetAlignment(Qt::AlignLeft);
  QCOMPARE(label.TextRect().left(), 6);
  label.SetSpacePrefix(false);
  label.SetCenterVertical(false);
  QCOMPARE(label.TextRect(), QRect(2, 2, 93, 17));

  QPalette pal = label.palette();
  pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
  label.setPalette(pal);
  label.setEnabled(false);
  const QImage grey = label.grab().toImage();
  QVERIFY(Has(grey, QColor(128, 128, 128)) && !Has(grey, kInk));
  label.setEnabled(true);
  QVERIFY(Has(label.grab().toImage(), kInk));
}

// Probes: each pixel and the colour it must have ('A' the first colour of the
// style, 'B' the second, 'F' the fill).
void TestBoxLabel::borders() {
  const int r = 39, b = 19;
  const struct {
    TBoxLabelShape Shape;
    TBoxLabelStyle Style;
    QList<QPoint> Points;
    const char* Colours;
  } cases[] = {
      {blBox, blRaised, {{5, 0}, {0, 5}, {5, b}, {r, 5}}, "AABB"},
      {blFrame, blLowered, {{5, 0}, {0, 5}, {5, 1}, {1, 5}, {5, b}, {r, 5}, {5, b - 1}}, "AABBBBA"},
      {blTopLine, blLowered, {{0, 0}, {r, 1}, {0, b}, {r, 5}}, "ABFF"},
      {blBottomLine, blRaised, {{0, b - 1}, {r, b}, {5, 0}}, "ABF"},
      {blLeftLine, blLowered, {{0, 5}, {1, b}, {5, 0}, {r, 5}}, "ABFF"},
      {blRightLine, blLowered, {{r - 1, 0}, {r, b}, {0, 5}}, "ABF"},
  };
  for (const auto& c : cases) {
    TBoxLabel label;
    label.resize(40, 20);
    Paint(label);
    label.SetBorderShape(c.Shape);
    label.SetBorderStyle(c.Style);
    const QImage image = label.grab().toImage();
    const QColor first = c.Style == blRaised ? kLight : kShadow;
    const QColor second = c.Style == blRaised ? kShadow : kLight;
    for (int i = 0; i < c.Points.size(); ++i) {
      const char want = c.Colours[i];
      QCOMPARE(QColor(image.pixel(c.Points[i])), want == 'A'   ? first
                                                 : want == 'B' ? second
                                                               : kFill);
    }
  }
  // Transparent: the fill is left to what lies below.
  TBoxLabel label;
  label.resize(40, 20);
  label.SetTransparent(true);
  QImage under(40, 20, QImage::Format_ARGB32);
  under.fill(Qt::transparent);
  label.render(&under, {}, {}, QWidget::DrawChildren);
  QCOMPARE(qAlpha(under.pixel(20, 10)), 0);
}

void TestBoxLabel::shapeAndStyleCoupled() {
  TBoxLabel label;
  label.SetBorderShape(blNoShape);
  QCOMPARE(label.BorderStyle(), blNoStyle);
  label.SetBorderShape(blTopLine);
  QCOMPARE(label.BorderStyle(), blLowered);
  label.SetBorderStyle(blRaised);
  QCOMPARE(label.BorderShape(), blTopLine);
  label.SetBorderStyle(blNoStyle);
  QCOMPARE(label.BorderShape(), blNoShape);
  label.SetBorderStyle(blRaised);
  QCOMPARE(label.BorderShape(), blBox);
}

void TestBoxLabel::autoSizeAndAccelerator() {
  QWidget form;
  auto* label = new TBoxLabel(&form);
  label->setGeometry(100, 10, 97, 21);
  label->SetAlignment(Qt::AlignRight);
  label->SetCaption("&Total files");
  label->SetAutoSize(true);
  const QFontMetrics fm = label->fontMetrics();
  QVERIFY(qAbs(label->width() - (fm.horizontalAdvance("Total files") + 8)) <= 1);
  QCOMPARE(label->height(), fm.height() + 4);
  QCOMPARE(label->x() + label->width(), 197);  // the right edge stays
  label->SetCaption("");
  QVERIFY(qAbs(label->width() - (fm.horizontalAdvance(" ") + 8)) <= 1);
  label->SetCaption("one two three four five six");
  label->resize(60, 17);
  label->SetWordWrap(true);
  QVERIFY(label->height() >= 2 * fm.height() + 4);
  label->SetWordWrap(false);
  QCOMPARE(label->height(), fm.height() + 4);
  label->SetCaption("&Count");

  auto* edit = new QLineEdit(&form);
  edit->setGeometry(10, 50, 80, 20);
  auto* other = new QLineEdit(&form);
  other->setGeometry(10, 80, 80, 20);
  form.show();
  QApplication::setActiveWindow(&form);
  QVERIFY(QTest::qWaitForWindowActive(&form));
  other->setFocus();
  QTest::keyClick(&form, Qt::Key_C, Qt::AltModifier);
  QVERIFY(other->hasFocus());  // no focus control yet
  label->SetFocusControl(edit);
  QTest::keyClick(&form, Qt::Key_C, Qt::AltModifier);
  QVERIFY(edit->hasFocus());

  other->setFocus();
  label->SetShowAccelChar(false);
  QTest::keyClick(&form, Qt::Key_C, Qt::AltModifier);
  QVERIFY(other->hasFocus());

  delete edit;
  QCOMPARE(label->FocusControl(), nullptr);
}

QTEST_MAIN(TestBoxLabel)
#include "test_box_label.moc"
