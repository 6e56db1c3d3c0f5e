#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "components/enable_panel.h"

class TestEnablePanel : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void nestedPanelsFollow();
};

// The file column: a list on the outer panel, a nested panel with the
// folder and drive pickers and a button.
void TestEnablePanel::nestedPanelsFollow() {
  TZELEnablePanel outer;
  auto* list = new QListWidget(&outer);
  auto* inner = new TZELEnablePanel(&outer);
  auto* combo = new QComboBox(inner);
  auto* button = new QPushButton("x", inner);
  const QColor window = outer.palette().color(QPalette::Active, QPalette::Base);
  const QColor face = outer.palette().color(QPalette::Active, QPalette::Button);
  QVERIFY(window != face);

  outer.setEnabled(false);
  QCOMPARE(list->palette().color(QPalette::Active, QPalette::Base), face);
  QVERIFY(!inner->isEnabled());
  QCOMPARE(combo->palette().color(QPalette::Active, QPalette::Base), face);
  QVERIFY(!button->isEnabled());

  outer.setEnabled(true);
  QCOMPARE(list->palette().color(QPalette::Active, QPalette::Base), window);
  QVERIFY(inner->isEnabled());
  QCOMPARE(combo->palette().color(QPalette::Active, QPalette::Base), window);
  QVERIFY(button->isEnabled());
}

QTEST_MAIN(TestEnablePanel)
#include "test_enable_panel.moc"
