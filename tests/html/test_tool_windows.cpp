// The two list windows hand the picked row's text to their owner and keep
// their place in the environment; the tables are tested beside this file.
#include <QListWidget>
#include <QTest>
#include <memory>

#include "config/environment.h"
#include "desktop_stub.h"
#include "html/html_snippets.h"
#include "html/html_toolset_window.h"
#include "html/special_chars.h"
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

// Another window takes the focus.
void ActivateOther(QWidget& other) {
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
}

}  // namespace

class TestToolWindows : public QObject {
  Q_OBJECT
  TDesktopStub FDesktop;
  std::unique_ptr<TQMEEnvironment> FEnvironment;

 private Q_SLOTS:
  void init() {
    FEnvironment = std::make_unique<TQMEEnvironment>();
    Environment = FEnvironment.get();
  }
  void cleanup() {
    Environment = nullptr;
    FEnvironment.reset();
  }

  void doubleClickChooses() {
    TfrmHTML html;
    QCOMPARE(html.lbxResults->count(), HtmlToolsetRowCount);
    QList<QObject*> senders;
    html.OnChoose = [&](QObject* sender) { senders << sender; };
    html.show();
    QVERIFY(QTest::qWaitForWindowExposed(&html));
    DoubleClickRow(html, 92);
    QCOMPARE(senders, QList<QObject*>{&html});
    QCOMPARE(html.ChosenText.toStdString(), HtmlToolsetChosenText(92));
    html.lbxResults->clearSelection();
    QVERIFY(html.ChosenText.isEmpty());

    TfrmSpecChar chars;
    QCOMPARE(chars.lbxResults->count(), SpecCharRowCount);
    QStringList chosen;
    chars.OnChoose = [&](QObject*) { chosen << chars.ChosenText; };
    chars.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chars));
    for (int row : {2, 11}) DoubleClickRow(chars, row);  // a reference, a separator
    QCOMPARE(chosen, (QStringList{"&#8482;", ""}));
    chars.OnChoose = nullptr;
    DoubleClickRow(chars, 1);
    QCOMPARE(chars.ChosenText, QString("&reg;"));
  }

  // Closing from the title bar hides the window, which stays usable, and
  // records where it was.
  void closingHides() {
    TfrmSpecChar w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.move(30, 40);
    QVERIFY(w.close());
    QVERIFY(!w.isVisible());
    QCOMPARE(
        QRect(Environment->CLeft, Environment->CTop, Environment->CWidth, Environment->CHeight),
        QRect(QPoint(30, 40), w.size()));
    w.show();
    QCOMPARE(w.lbxResults->count(), SpecCharRowCount);
  }

  // A resize while shown is recorded at once; every activation returns the
  // window to what is recorded; losing the focus records where it is.
  void placement() {
    TfrmHTML w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.pos(), QPoint(0, 0));  // nothing recorded: the top-left corner
    w.resize(200, 330);
    QCOMPARE(QSize(Environment->HWidth, Environment->HHeight), QSize(200, 330));
    QCOMPARE(Environment->CWidth, 0);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QWidget other;
    ActivateOther(other);
    Environment->SetCoord(ciHTop, 50);
    Environment->SetCoord(ciHLeft, 60);
    Environment->SetCoord(ciHHeight, 280);
    Environment->SetCoord(ciHWidth, 190);
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(w.pos(), QPoint(60, 50));
    QCOMPARE(w.size(), QSize(190, 280));
    Environment->HLeft = 70;
    Environment->HWidth = 0;
    ActivateOther(other);
    QCOMPARE(Environment->HLeft, 60);
    QCOMPARE(Environment->HWidth, 190);
  }
};

QTEST_MAIN(TestToolWindows)
#include "test_tool_windows.moc"
