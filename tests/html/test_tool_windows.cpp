#include <QListWidget>
#include <QTest>
#include <memory>

#include "config/environment.h"
#include "desktop_stub.h"
#include "html/html_toolset_window.h"
#include "html/special_chars_window.h"

namespace {

// Double-clicks a row the way the user does: on its place in the list.
void DoubleClickRow(TfrmChoiceList& w, int row) {
  QListWidgetItem* item = w.lbxResults->item(row);
  w.lbxResults->scrollToItem(item);
  const QPoint at = w.lbxResults->visualItemRect(item).center();
  QTest::mouseClick(w.lbxResults->viewport(), Qt::LeftButton, {}, at);
  QTest::mouseDClick(w.lbxResults->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace

class TestToolWindows : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void htmlToolset();
  void specialChars();
  void closingHides();
  void placement();

 private:
  std::unique_ptr<TDesktopStub> FDesktop;
  std::unique_ptr<TQMEEnvironment> FEnvironment;
};

void TestToolWindows::init() {
  FDesktop = std::make_unique<TDesktopStub>();
  FEnvironment = std::make_unique<TQMEEnvironment>();
  Environment = FEnvironment.get();
}

void TestToolWindows::cleanup() {
  Environment = nullptr;
  FEnvironment.reset();
  FDesktop.reset();
}

void TestToolWindows::htmlToolset() {
  TfrmHTML w;
  QCOMPARE(w.windowTitle(), QString("HTML Toolset"));
  QCOMPARE(w.lbxResults->count(), 94);
  QCOMPARE(w.lbxResults->item(93)->text(), QString("HTML 4.0 Frameset"));
  QVERIFY(w.ChosenText.isEmpty());
  QList<QObject*> senders;
  QStringList chosen;
  w.OnChoose = [&](QObject* sender) {
    senders << sender;
    chosen << w.ChosenText;
  };
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  DoubleClickRow(w, 13);
  DoubleClickRow(w, 13);
  DoubleClickRow(w, 92);
  QCOMPARE(senders, (QList<QObject*>{&w, &w, &w}));
  QCOMPARE(chosen[0], QString("<BR>\r\n"));
  QCOMPARE(chosen[1], chosen[0]);
  QVERIFY(chosen[2].startsWith("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\"\r\n"));
  w.lbxResults->clearSelection();
  QVERIFY(w.ChosenText.isEmpty());
}

void TestToolWindows::specialChars() {
  TfrmSpecChar w;
  QCOMPARE(w.windowTitle(), QString("Sepcial Characters"));
  QCOMPARE(w.lbxResults->count(), 112);
  QCOMPARE(w.lbxResults->item(0)->text(), QString::fromUtf8("Copyright       \xC2\xA9 = &copy;"));
  QStringList chosen;
  w.OnChoose = [&](QObject* sender) {
    QCOMPARE(sender, &w);
    chosen << w.ChosenText;
  };
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  for (int row : {0, 2, 6, 3, 11, 79}) DoubleClickRow(w, row);
  QCOMPARE(chosen, (QStringList{"&copy;", "&#8482;", "&nbsp;", "&lt;", "", "&euro;"}));
  w.OnChoose = nullptr;
  DoubleClickRow(w, 1);
  QCOMPARE(w.ChosenText, QString("&reg;"));
}

// Closing from the title bar hides the window, which stays usable, and
// records where it was.
void TestToolWindows::closingHides() {
  auto w = std::make_unique<TfrmSpecChar>();
  QPointer<TfrmSpecChar> alive(w.get());
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  w->move(30, 40);
  QVERIFY(w->close());
  QVERIFY(alive);
  QVERIFY(!w->isVisible());
  QCOMPARE(Environment->CLeft, 30);
  QCOMPARE(Environment->CTop, 40);
  QCOMPARE(Environment->CWidth, w->width());
  QCOMPARE(Environment->CHeight, w->height());
  w->show();
  QVERIFY(w->isVisible());
  QCOMPARE(w->lbxResults->count(), 112);
}

void TestToolWindows::placement() {
  // Nothing recorded: the screen's top-left corner, the designed size.
  TfrmHTML w;
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QCOMPARE(w.pos(), QPoint(0, 0));
  QCOMPARE(w.size(), QSize(173, 317));
  // A resize while shown is recorded at once.
  w.resize(200, 330);
  QCOMPARE(Environment->HWidth, 200);
  QCOMPARE(Environment->HHeight, 330);
  QCOMPARE(Environment->CWidth, 0);

  // Every activation returns the window to what is recorded; losing the
  // focus records where it is.
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  Environment->SetCoord(ciHTop, 50);
  Environment->SetCoord(ciHLeft, 60);
  Environment->SetCoord(ciHHeight, 280);
  Environment->SetCoord(ciHWidth, 190);
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QCOMPARE(w.pos(), QPoint(60, 50));
  QCOMPARE(w.size(), QSize(190, 280));
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  w.move(65, 55);
  QCOMPARE(Environment->HLeft, 60);
  other.activateWindow();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QCOMPARE(w.pos(), QPoint(60, 50));
  Environment->HLeft = 70;
  Environment->HHeight = 0;
  Environment->HWidth = 0;
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  QCOMPARE(Environment->HLeft, 60);
  QCOMPARE(Environment->HWidth, 190);
}

QTEST_MAIN(TestToolWindows)
#include "test_tool_windows.moc"
