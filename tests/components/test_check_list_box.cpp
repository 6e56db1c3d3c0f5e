#include <QPainter>
#include <QTest>

#include "components/check_list_box.h"

namespace {

QList<bool> Flags(const TZELCheckListBox& l) {
  QList<bool> r;
  for (int i = 0; i < l.count(); ++i) r << l.Checked(i);
  return r;
}

QColor PixelIn(TZELCheckListBox& l, int row, QPoint offset) {
  const QImage shot = l.viewport()->grab().toImage();
  return shot.pixelColor(l.visualItemRect(l.item(row)).topLeft() + offset);
}

}  // namespace

class TestCheckListBox : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void flagsFollowTheItems();
  void clickAndSpaceToggle();
  void glyphsDrawn();
};

void TestCheckListBox::flagsFollowTheItems() {
  TZELCheckListBox l;
  QObject tag;
  auto& items = l.Items();
  QCOMPARE(items.Add("a"), 0);
  items.Add("b", &tag);
  items.Add("c");
  l.SetChecked(1, true);
  items.Insert(1, "x");  // with no selection, the first item is selected
  QCOMPARE(items.Objects(2), &tag);
  QCOMPARE(Flags(l), (QList<bool>{false, false, true, false}));
  QCOMPARE(l.ItemIndex(), 0);
  l.SetItemIndex(2);
  items.Insert(0, "y");  // above the selection: it stays on "b"
  items.Insert(4, "z");  // below: nothing moves
  QCOMPARE(items[l.ItemIndex()], QString("b"));
  QCOMPARE(Flags(l), (QList<bool>{false, false, false, true, false, false}));

  items.Delete(0);  // above the selection
  QCOMPARE(items[l.ItemIndex()], QString("b"));
  items.Delete(l.ItemIndex());  // the selected one: the item above it takes over
  QCOMPARE(items[l.ItemIndex()], QString("x"));
  QCOMPARE(Flags(l), (QList<bool>{false, false, false, false}));
  l.SetItemIndex(0);
  items.Delete(0);
  QCOMPARE(l.ItemIndex(), 0);
  items.Delete(7);  // no such item
  QCOMPARE(items.Count(), 3);
  QCOMPARE(items.Objects(5), nullptr);

  l.SetChecked(2, true);
  l.SetCheckOnlyOne(true);
  QCOMPARE(Flags(l), (QList<bool>{false, false, false}));
  l.SetChecked(0, true);
  l.SetChecked(1, true);
  QCOMPARE(Flags(l), (QList<bool>{false, true, false}));
}

void TestCheckListBox::clickAndSpaceToggle() {
  TZELCheckListBox l;
  for (const char* s : {"one", "two", "three"}) l.Items().Add(s);
  l.show();
  QVERIFY(QTest::qWaitForWindowExposed(&l));
  QList<bool> atClick;
  l.OnClick = [&](QObject* sender) {
    QCOMPARE(sender, &l);
    atClick << l.Checked(l.ItemIndex());
  };
  QTest::mouseClick(l.viewport(), Qt::LeftButton, {}, l.visualItemRect(l.item(1)).center());
  QCOMPARE(Flags(l), (QList<bool>{false, true, false}));
  QTest::keyClick(&l, Qt::Key_Space);
  QCOMPARE(Flags(l), (QList<bool>{false, false, false}));
  QTest::keyClick(&l, Qt::Key_Down);  // moving does not toggle
  QTest::keyClick(&l, Qt::Key_Space);
  QCOMPARE(Flags(l), (QList<bool>{false, false, true}));
  QCOMPARE(atClick, (QList<bool>{true, false, true}));  // fired after the toggle
}

// A glyph without transparency takes its bottom-left colour (blue) as the
// transparent one.
void TestCheckListBox::glyphsDrawn() {
  QImage pair(32, 16, QImage::Format_RGB32);
  pair.fill(Qt::blue);
  QPainter(&pair).fillRect(0, 0, 16, 15, Qt::red);
  pair.setPixelColor(31, 15, Qt::green);
  TZELCheckListBox l;
  l.Items().Add("checked");
  l.Items().Add("unchecked");
  l.SetChecked(0, true);
  l.resize(200, 100);
  l.show();
  QVERIFY(QTest::qWaitForWindowExposed(&l));
  const QColor base = l.palette().color(QPalette::Base);

  l.SetGlyph(QPixmap::fromImage(pair.copy(0, 0, 16, 16)));
  QCOMPARE(l.NumGlyphs(), 1);
  QCOMPARE(PixelIn(l, 0, {8, 8}), QColor(Qt::red));
  QCOMPARE(PixelIn(l, 1, {8, 8}), base);
  l.SetGlyph(QPixmap::fromImage(pair));
  QCOMPARE(l.NumGlyphs(), 2);
  QCOMPARE(PixelIn(l, 0, {8, 8}), QColor(Qt::red));
  QCOMPARE(PixelIn(l, 1, {8, 15}), base);
  QCOMPARE(PixelIn(l, 1, {15, 15}), QColor(Qt::green));
  l.SetNumGlyphs(3);
  QCOMPARE(l.NumGlyphs(), 2);
  l.SetNumGlyphs(0);
  QCOMPARE(PixelIn(l, 0, {8, 8}), base);
  l.SetGlyph(QPixmap());
  QCOMPARE(l.NumGlyphs(), 0);

  l.OnDrawItem = [&](TZELCheckListBox*, int, QPainter& p, const QRect& r, bool) {
    p.fillRect(r, Qt::yellow);
  };
  QCOMPARE(PixelIn(l, 1, {40, 5}), QColor(Qt::yellow));
}

QTEST_MAIN(TestCheckListBox)
#include "test_check_list_box.moc"
