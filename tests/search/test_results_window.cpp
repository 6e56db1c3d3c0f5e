#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "config/environment.h"
#include "file_bytes.h"
#include "search/results_window.h"

namespace {

TAllFilesResult ThreeHits() {
  TAllFilesResult r;
  r.Hits = {{"a.htm", 3}, {"a.htm", 10}, {"b.htm", 12345}};
  for (const TSearchHit& h : r.Hits) r.Entries << ResultEntry(h.Line, h.FileName);
  return r;
}

}  // namespace

class TestResultsWindow : public QObject {
  Q_OBJECT
  std::unique_ptr<TQMEEnvironment> Env;

 private Q_SLOTS:
  void init() {
    Env = std::make_unique<TQMEEnvironment>();
    Environment = Env.get();
  }
  void cleanup() {
    Environment = nullptr;
    Env.reset();
  }

  // The count, the first hit chosen, a hit past line 9999 opened where it
  // is; a double click chooses; closing empties the list for good.
  void showsChoosesAndCloses() {
    TfrmResults w;
    w.ShowResults(ThreeHits());
    QCOMPARE(w.lblResCount->text(), QString("3"));
    QCOMPARE(w.lbxResults->currentRow(), 0);
    QCOMPARE(w.SelectedHit()->Line, qint64(3));
    w.lbxResults->setCurrentRow(2);
    QCOMPARE(w.SelectedHit()->Line, qint64(12345));
    QCOMPARE(w.SelectedHit()->FileName, QString("b.htm"));

    w.ShowAndRaise();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QList<QObject*> senders;
    w.OnChoose = [&](QObject* sender) { senders << sender; };
    const QPoint second = w.lbxResults->visualItemRect(w.lbxResults->item(1)).center();
    QTest::mouseDClick(w.lbxResults->viewport(), Qt::LeftButton, {}, second);
    QCOMPARE(senders, QList<QObject*>({&w}));
    QCOMPARE(w.SelectedHit()->Line, qint64(10));

    QTest::mouseClick(w.bbtClose, Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QVERIFY(!w.SelectedHit());
    w.ShowAndRaise();  // as the View command does
    QCOMPARE(w.lbxResults->count(), 0);
    w.ShowResults(ThreeHits());
    w.ShowResults({});  // a later search with nothing found
    QCOMPARE(w.lblResCount->text(), QString("0"));
    QCOMPARE(w.lbxResults->currentRow(), -1);
  }

  void geometryGoesThroughEnvironment() {
    Env->RTop = 60;
    Env->RLeft = 70;
    Env->RHeight = 320;
    Env->RWidth = 230;
    TfrmResults w;
    w.ShowAndRaise();
    QCOMPARE(w.pos(), QPoint(70, 60));
    QCOMPARE(w.size(), QSize(230, 320));
    w.resize(250, 400);
    QCOMPARE(QRect(Env->RLeft, Env->RTop, Env->RWidth, Env->RHeight), QRect(70, 60, 250, 400));
    // Stored sizes below 1 keep the window's own size.
    Env->RHeight = Env->RWidth = 0;
    Env->RTop = 5;
    w.FormActivate();
    QCOMPARE(w.y(), 5);
    QCOMPARE(w.size(), QSize(250, 400));
  }

  void searchKeepsWindowAliveAndRestoresCursor() {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("a.htm"), "one\r\nTwo two\r\n");
    const TAllFilesResult r =
        SearchAllFilesKeepingAlive(dir.path(), {"a.htm", "b.htm"}, "TWO", false);
    QCOMPARE(r.Entries, QStringList({"#   2 a.htm"}));
    QCOMPARE(int(r.Failures.size()), 1);
    QVERIFY(!QApplication::overrideCursor());
  }

  void minimisedWindowIsRestored() {
    TfrmResults w;
    w.ShowAndRaise();
    w.showMinimized();
    QVERIFY(w.isMinimized());
    w.ShowAndRaise();
    QVERIFY(!w.isMinimized());
  }
};

QTEST_MAIN(TestResultsWindow)
#include "test_results_window.moc"
