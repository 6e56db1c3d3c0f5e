// The site check's window with the main window: a double click on a finding
// opens its page at the line and column, from the site window too, and a
// modified page is kept. A stand-in check gives the findings.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QThread>
#include <QTimer>

#include "app/command_table.h"
#include "app/file_panel.h"
#include "doc/edit_file_info.h"
#include "msg_answer.h"
#include "site/site_check_window.h"
#include "window_fixture.h"

namespace {

// Through the window system, as a user's: a window a modal one blocks gets nothing.
void DoubleClickRow(TfrmSiteCheck* check, int row) {
  QTableView* table = check->tblFindings;
  const QRect cell = table->visualRect(table->model()->index(row, 0));
  const QPoint at = table->viewport()->mapTo(check, cell.center());
  QTest::mouseDClick(check->windowHandle(), Qt::LeftButton, {}, at);
}

// Six blanks that loading turns into two tabs (a tab of three) move the
// column; the finding's column is the page's on disk.
const QByteArray Linked = "<html>\r\n<body>\r\n      <a href=\"Gone.html\">x</a>\r\n</body>\r\n";
const TCheckFinding Gone{"sub/b.html", 3, 16, ckBroken, "Gone.html does not exist"};

}  // namespace

class TestSiteCheckWindow : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() { ClearMessageAnswers(); }

  // From the modal site window the check's window is usable beside it; a
  // double click closes the site window, switches the file list to the
  // page's folder and puts the caret on the line and column. From the menu,
  // on the file list's folder, an edited page is kept as it is.
  void doubleClickOpensThePageAtLineAndColumn() {
    TWindowFixture w;
    w.Page("a.html", "<p>\r\n");
    w.Page("sub/b.html", Linked);
    w.Open();
    TfrmSiteCheck* check = w.Window()->SiteCheckWindow();
    check->Runner = [](const TCheckOptions&, const TCheckProgress&, const std::atomic<bool>*) {
      TCheckResult result;
      result.Findings = {{"a.html", 1, 1, ckOrphan, "no page links here"}, Gone};
      return result;
    };
    bool usable = false;
    QTimer::singleShot(0, [&] {
      const QPointer<QWidget> site = QApplication::activeModalWidget();
      if (!site || site->objectName() != "frmWalkTree") return;
      site->findChild<QPushButton*>("bbtCheck")->click();
      const bool done = QTest::qWaitFor([&] { return !check->Running(); });
      usable = done && check->parentWidget() == site && check->isVisible();
      if (usable) DoubleClickRow(check, 1);
      if (site && site->isVisible()) site->close();
    });
    w.Click("bbtMaint");
    QVERIFY(usable);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(w.Doc()->FileName, w.Site("sub/b.html"));
    QCOMPARE(w.Control<TFileListBox>("flbPages")->Directory(), w.Site("sub"));
    TZELMemo* e = w.Editor();
    QCOMPARE(e->LineFromChar(), 2);  // the rest of the line from the caret on:
    QCOMPARE(e->Line(2).mid(e->SelStart() - e->LineIndex(2)), QString("Gone.html\">x</a>"));
    QCOMPARE(check->parentWidget(), w.Window());

    w.Edit("y");
    const QString edited = w.Text();
    w.Command(cmdViewSiteCheck);
    QTRY_VERIFY(!check->Running());
    QCOMPARE(check->Root(), w.Site("sub"));
    const auto seen = AnswerNextMessage(mrOk);
    DoubleClickRow(check, 1);
    QCOMPARE(seen->Text, QString("Please save your changes first."));
    QCOMPARE(w.Text(), edited);
  }

  // A long check shows how far it is and stops when asked, with what it
  // found; one started over a running one shows only its own findings; the
  // window goes with a check running without waiting for its end.
  void progressStopAndRestart() {
    TfrmSiteCheck check;
    check.Runner = [](const TCheckOptions& options, const TCheckProgress& progress,
                      const std::atomic<bool>* stop) {
      TCheckResult result;
      for (int page = 1; page <= 100000 && !*stop; ++page) {
        if (page <= 3)
          result.Findings.push_back({options.Root + QString::number(page), 1, 1, ckBroken, "gone"});
        progress(page, 100000);
        QThread::msleep(1);
      }
      result.Stopped = *stop;
      return result;
    };
    TCheckOptions options;
    options.Root = "first";
    check.StartCheck(options);
    QTRY_VERIFY(check.prbProgress->value() >= 3);
    QVERIFY(check.bbtStop->isEnabled());
    options.Root = "second";
    check.StartCheck(options);
    QTRY_VERIFY(check.prbProgress->value() >= 3);
    QCOMPARE(check.prbProgress->maximum(), 100000);
    QTest::mouseClick(check.bbtStop, Qt::LeftButton);
    QTRY_VERIFY(!check.Running());
    QVERIFY2(check.lblStatus->text().startsWith("Stopped"), qPrintable(check.lblStatus->text()));
    QCOMPARE(check.Findings().size(), size_t(3));
    QCOMPARE(check.Findings().front().Page, QString("second1"));
    QVERIFY(!check.bbtStop->isEnabled());
    check.StartCheck(options);
  }
};

QTEST_MAIN(TestSiteCheckWindow)
#include "test_site_check_window.moc"
