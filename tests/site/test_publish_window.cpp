// The site window's Publish as a user meets it: the Target field kept per
// local root, the questions and what each answer does, the progress and the
// refusals. rsync itself is the real program, to a local folder.
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "config/environment.h"
#include "desktop_stub.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "site/askpass_dialog.h"
#include "site/publish_settings.h"
#include "site/walk_tree_window.h"
#include "tree_snapshot.h"

class TestPublishWindow : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> FTmp;
  std::unique_ptr<TDesktopStub> FDesktop;
  std::unique_ptr<TQMEEnvironment> FEnvironment;
  std::unique_ptr<TfrmWalkTree> FWindow;

  QString Site(const QString& name = {}) const { return FTmp->filePath("site/" + name); }
  QString Out(const QString& name = {}) const { return FTmp->filePath("out/" + name); }
  template <typename T = QWidget>
  T* Control(const char* name) const {
    T* c = FWindow->findChild<T*>(name);
    if (!c) qFatal("no control %s", name);
    return c;
  }
  QString Pane() const { return Control<QPlainTextEdit>("memOutput")->toPlainText(); }
  QString LastLine() const { return Pane().section('\n', -1); }
  QPushButton* Publish() const { return Control<QPushButton>("bbtPublish"); }
  bool Idle() const { return Publish()->text() == "&Publish"; }
  // Clicks Publish and waits for the run to end (questions answered as armed).
  void PublishAndWait() {
    QTest::mouseClick(Publish(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(Idle() && PendingMessageAnswers() == 0, 20000);
  }
  void OpenWindow() {
    FWindow = std::make_unique<TfrmWalkTree>();
    Control<QLineEdit>("edtLocalRoot")->setText(Site());
    FWindow->LoadPublishSettings();
    FWindow->show();
    QApplication::setActiveWindow(FWindow.get());
  }

 private Q_SLOTS:
  void init() {
    FTmp = std::make_unique<QTemporaryDir>();
    WriteBytes(Site("index.htm"), "<a href=\"sub/page.htm\">page</a>");
    WriteBytes(Site("sub/page.htm"), "<p>page</p>");
    FDesktop = std::make_unique<TDesktopStub>();
    FEnvironment = std::make_unique<TQMEEnvironment>();
    Environment = FEnvironment.get();
    OpenWindow();
  }
  void cleanup() {
    FWindow.reset();
    QCOMPARE(PendingMessageAnswers(), 0);
    ClearMessageAnswers();
    Environment = nullptr;
    FEnvironment.reset();
    FDesktop.reset();
    FTmp.reset();
  }

  // Preview, question, send; a second publish finds nothing, a changed page
  // is the one file asked for, and No sends nothing. The site stays as it was.
  void previewAskSend() {
    QTest::mouseClick(Control<QPushButton>("bbtList"), Qt::LeftButton);  // SaveAs and Touch on
    Control<QLineEdit>("edtTarget")->setText(Out());
    QVERIFY(Control<QWidget>("edtTarget")->geometry().top() >= 540);  // below the SaveAs row
    // The question is answered only once the held controls were seen.
    bool heldWhileAsked = false;
    TMsgSeenPtr ask;
    QTimer watch;
    watch.setInterval(1);
    connect(&watch, &QTimer::timeout, this, [&] {
      if (ask || !QApplication::activeModalWidget()) return;
      heldWhileAsked = !Control<QWidget>("bbtSaveAs")->isEnabled() &&
                       !Control<QWidget>("bbtTouch")->isEnabled() && Publish()->text() == "&Stop";
      ask = AnswerNextMessage(mrYes);
    });
    watch.start();
    PublishAndWait();
    watch.stop();
    QVERIFY(ask);
    QCOMPARE(ask->Text, QString("Send 2 files (42 bytes) to %1?").arg(Out()));
    QVERIFY(heldWhileAsked);
    QCOMPARE(ReadBytes(Out("sub/page.htm")), QByteArray("<p>page</p>"));
    QVERIFY2(Pane().contains("create  sub/page.htm  (11 bytes)"), qPrintable(Pane()));
    QCOMPARE(LastLine(), QString("Done: 2 of 2 files (42 bytes) sent to %1.").arg(Out()));
    QCOMPARE(FWindow->OutputLines().join('\n'), Pane());
    QVERIFY(Control<QWidget>("edtTarget")->isVisible());
    QVERIFY(Control<QWidget>("bbtList")->isEnabled() && Control<QWidget>("bbtTouch")->isEnabled());

    PublishAndWait();
    QCOMPARE(LastLine(), QString("Nothing to send: %1 is up to date.").arg(Out()));

    WriteBytes(Site("sub/page.htm"), "<p>changed</p>");
    const auto no = AnswerNextMessage(mrNo);
    PublishAndWait();
    QCOMPARE(no->Text, QString("Send 1 file (14 bytes) to %1?").arg(Out()));
    QCOMPARE(LastLine(), QString("Nothing was sent."));
    QCOMPARE(ReadBytes(Out("sub/page.htm")), QByteArray("<p>page</p>"));
    const auto yes = AnswerNextMessage(mrYes);
    PublishAndWait();
    QCOMPARE(ReadBytes(Out("sub/page.htm")), QByteArray("<p>changed</p>"));
    QVERIFY2(Pane().contains("sent    sub/page.htm"), qPrintable(Pane()));
    QCOMPARE(yes->Text, no->Text);
  }

  // A broken link asks first; No sends nothing and lists the findings.
  void checkFirst() {
    WriteBytes(Site("index.htm"), "<a href=\"gone.htm\">x</a>");
    Control<QLineEdit>("edtTarget")->setText(Out());
    const auto ask = AnswerNextMessage(mrNo);
    QTest::mouseClick(Publish(), Qt::LeftButton);
    QTRY_COMPARE(PendingMessageAnswers(), 0);
    QCOMPARE(ask->Text, QString("The site has 1 broken links. Publish anyway?"));
    QVERIFY2(Pane().startsWith("index.htm:1:10: broken:"), qPrintable(Pane()));
    QVERIFY(!QFileInfo::exists(Out()));
    const auto anyway = AnswerNextMessage(mrYes);
    const auto send = AnswerNextMessage(mrYes);
    PublishAndWait();
    QVERIFY(QFileInfo::exists(Out("index.htm")));
  }

  // Refused targets say why and start nothing; rsync's own failure is shown
  // with its status.
  void refusedAndFailed() {
    const auto site = TreeSnapshot(Site());
    for (const QString& target : {QString(), Site("sub")}) {
      Control<QLineEdit>("edtTarget")->setText(target);
      const auto warning = AnswerNextMessage(mrOk);
      QTest::mouseClick(Publish(), Qt::LeftButton);
      QTRY_COMPARE(PendingMessageAnswers(), 0);
      QCOMPARE(warning->Kind, mkWarning);
      QVERIFY2(warning->Text.contains(target.isEmpty() ? "No publish target" : "inside it"),
               qPrintable(warning->Text));
      QVERIFY(Idle());
    }
    WriteBytes(FTmp->filePath("file"), "x");
    Control<QLineEdit>("edtTarget")->setText(FTmp->filePath("file/sub"));
    const auto stop = AnswerNextMessage(mrOk);
    PublishAndWait();
    QCOMPARE(stop->Kind, mkStop);
    QVERIFY2(stop->Text.contains("rsync exit status"), qPrintable(stop->Text));
    QCOMPARE(LastLine(), QString("Nothing was sent."));
    QCOMPARE(TreeSnapshot(Site()), site);
  }

  // The target belongs to its local root: another root shows its own, and
  // the window opened again on the first shows the first's.
  void keptPerRoot() {
    Control<QLineEdit>("edtTarget")->setText("u@host:/www/a/");
    auto* root = Control<QLineEdit>("edtLocalRoot");
    QVERIFY(QDir().mkpath(FTmp->filePath("other")));
    root->setText(FTmp->filePath("other"));
    Q_EMIT root->editingFinished();
    QCOMPARE(Control<QLineEdit>("edtTarget")->text(), QString());
    Control<QLineEdit>("edtTarget")->setText("/mnt/other/");
    FWindow->close();
    QCOMPARE(ReadPublishSettings(Environment->IniFileName, FTmp->filePath("other")).Target,
             QString("/mnt/other/"));
    OpenWindow();
    QCOMPARE(Control<QLineEdit>("edtTarget")->text(), QString("u@host:/www/a/"));
  }

  // ssh's questions: a typed passphrase comes back as typed, a host key is
  // answered with the word ssh wants, and Enter on a question means No.
  void askPass() {
    const auto answerWith = [](auto act) {
      QTimer::singleShot(0, [act] {
        QTRY_VERIFY(qobject_cast<TfrmAskPass*>(QApplication::activeModalWidget()));
        act(QApplication::activeModalWidget());
      });
    };
    answerWith([](QWidget* w) {
      QTest::keyClicks(w->findChild<QLineEdit*>("edtPassword"), "s3cret pass");
      QTest::keyClick(w->findChild<QLineEdit*>("edtPassword"), Qt::Key_Return);
    });
    TAskPassAnswer a = AskPass("Enter passphrase for key 'k':", {});
    QVERIFY(a.Given);
    QCOMPARE(a.Text, QString("s3cret pass"));
    const QString hostKey =
        "The authenticity of host 'h' can't be established.\n"
        "Are you sure you want to continue connecting (yes/no/[fingerprint])?";
    answerWith([](QWidget* w) { w->findChild<QPushButton*>("bbtOK")->click(); });
    QCOMPARE(AskPass(hostKey, {}).Text, QString("yes"));
    answerWith([](QWidget* w) { QTest::keyClick(w, Qt::Key_Return); });
    a = AskPass(hostKey, {});
    QVERIFY(a.Given);
    QCOMPARE(a.Text, QString("no"));
    answerWith([](QWidget* w) { w->findChild<QPushButton*>("bbtCancel")->click(); });
    QVERIFY(!AskPass("Password:", {}).Given);
  }
};

QTEST_MAIN(TestPublishWindow)
#include "test_publish_window.moc"
