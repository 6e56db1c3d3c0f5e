// The site window driven as a user would; its rules are tested window-free beside it.
#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <csignal>
#include <memory>

#include "components/box_label.h"
#include "components/date_func.h"
#include "components/msg_func.h"
#include "components/msg_window.h"
#include "config/environment.h"
#include "desktop_stub.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "site/file_manager.h"
#include "site/walk_tree_window.h"

namespace {

const char* const Actions[] = {"bbtCase", "bbtTouch", "bbtRobots", "bbtSaveAs", "bbtTestPage"};

QStringList Sorted(QStringList names) {
  names.sort();
  return names;
}

}  // namespace

class TestWalkTreeWindow : public QObject {
  Q_OBJECT
  QString Site(const QString& name = {}) const { return FSite->path() + "/" + name; }
  void File(const QString& name, int size = 10) { WriteBytes(Site(name), QByteArray(size, 'x')); }
  template <typename T = QWidget>
  T* Control(const char* name) const {
    T* c = FWindow->findChild<T*>(name);
    if (!c) qFatal("no control %s", name);
    return c;
  }
  QLineEdit* Edit(const char* name) const { return Control<QLineEdit>(name); }
  QString Box(const char* name) const { return Control<TBoxLabel>(name)->Caption().trimmed(); }
  bool Enabled(const char* name) const { return Control(name)->isEnabled(); }
  void Click(const char* name) { QTest::mouseClick(Control<QPushButton>(name), Qt::LeftButton); }
  // Enters the field and leaves it again, as its exit handler needs.
  void Visit(const char* name) {
    Control(name)->setFocus();
    QApplication::processEvents();
    Control("edtMask")->setFocus();
    QApplication::processEvents();
  }

  std::unique_ptr<QTemporaryDir> FSite;
  std::unique_ptr<TDesktopStub> FDesktop;
  std::unique_ptr<TQMEEnvironment> FEnvironment;
  std::unique_ptr<TfrmWalkTree> FWindow;

 private Q_SLOTS:
  void init() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    FSite = std::make_unique<QTemporaryDir>();
    FDesktop = std::make_unique<TDesktopStub>();
    FEnvironment = std::make_unique<TQMEEnvironment>();
    Environment = FEnvironment.get();
    FWindow = std::make_unique<TfrmWalkTree>();
    Edit("edtLocalRoot")->setText(Site());
    FWindow->show();
    QApplication::setActiveWindow(FWindow.get());
  }

  void cleanup() {
    FWindow.reset();
    QCOMPARE(PendingMessageAnswers(), 0);
    ClearMessageAnswers();
    Environment = nullptr;
    FEnvironment.reset();
    FDesktop.reset();
    FSite.reset();
  }

  // Opens on the working folder, the kept remote root and now; keeps the root at closing.
  void opensOnTheWorkingFolder() {
    FWindow.reset();
    Environment->RemoteRoot = "http://www.example.org/";
    QStringList seen;
    QTimer::singleShot(0, [&] {
      auto* w = qobject_cast<TfrmWalkTree*>(QApplication::activeModalWidget());
      if (!w) return;
      for (const char* e : {"edtLocalRoot", "edtRemoteRoot", "edtTouch"})
        seen << w->findChild<QLineEdit*>(e)->text();
      w->findChild<QLineEdit*>("edtRemoteRoot")->setText("http://www.changed.example/");
      w->close();
    });
    const QDateTime before = QDateTime::currentDateTime();
    TfrmWalkTree::ShowSiteWindow(Site());
    QCOMPARE(seen.size(), 3);
    QCOMPARE(seen[0], Site());
    QCOMPARE(seen[1], QString("http://www.example.org/"));
    QVERIFY(qAbs(DateTimeStrToDateTime(seen[2]).secsTo(before)) < 61);
    QCOMPARE(Environment->RemoteRoot, QString("http://www.changed.example/"));
  }

  // Without details no size is summed; a gone folder leaves nothing to act on.
  void listSite() {
    File("a.htm", 600);
    File("sub/b.htm", 500);
    File("sub/c.css", 300);
    for (const char* b : Actions) QVERIFY2(!Enabled(b), b);  // only List until a listing
    Click("bbtList");
    QCOMPARE(Box("bxlFileCount"), QString("3"));
    QCOMPARE(Box("bxlFileSize"), QString("1,400"));
    const QStringList lines = FWindow->OutputLines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(Control<QPlainTextEdit>("memOutput")->toPlainText(), lines.join('\n'));
    QVERIFY(Control<QPlainTextEdit>("memOutput")->isReadOnly());  // a listing, not a page
    QCOMPARE(Edit("edtSaveAs")->text(), Site("qme_____.txt"));
    for (const char* b : Actions) {
      QCOMPARE(Enabled(b), b != QByteArray("bbtTestPage"));
      QCOMPARE(Control(b)->width(), Control("bbtList")->width());  // one column of buttons
    }
    for (const char* c : {"memOutput", "edtSaveAs", "bxlFileCount", "bxlFileSize"})
      QCOMPARE(Control(c)->geometry().right(), 616);  // one right edge

    Control<QCheckBox>("ckbDetails")->setChecked(false);
    Control<QCheckBox>("ckbInclSubDirs")->setChecked(false);
    Click("bbtList");
    QCOMPARE(Box("bxlFileSize"), QString("0"));
    QCOMPARE(FWindow->OutputLines(), QStringList{"a.htm"});
    QCOMPARE(Control<QListWidget>("lbxFiles")->count(), 3);  // the whole tree, always

    Edit("edtLocalRoot")->setText(Site("gone"));
    const auto seen = AnswerNextMessage(mrOk);
    AnswerNextMessage(mrOk);
    Click("bbtList");
    QVERIFY2(seen->Text.contains("Incorrect WorkingDir"), qPrintable(seen->Text));
    QCOMPARE(Box("bxlFileCount"), QString("0"));
    QCOMPARE(Box("bxlFileSize"), QString("0"));
    QVERIFY(FWindow->OutputLines().isEmpty());
    QVERIFY(Edit("edtSaveAs")->text().isEmpty());
    for (const char* b : Actions) QVERIFY2(!Enabled(b), b);
  }

  // Lowercase under the progress box, folders keep their names, a name taken is refused;
  // then uppercase, a click on List site waiting its turn.
  void convert() {
    File("Index.HTM");
    File("Images/Logo.GIF");
    File("Clash.htm", 1);
    File("clash.htm", 2);
    Click("bbtList");
    Control<QCheckBox>("ckbInclSubDirs")->setChecked(false);
    const auto refused = AnswerNextMessage(mrOk);
    bool boxUp = false;
    QTimer::singleShot(0, [&] { boxUp = ProgressBoxWindow() != nullptr; });
    Click("bbtCase");
    QVERIFY(boxUp);
    QVERIFY2(refused->Text.endsWith("Clash.htm"), qPrintable(refused->Text));
    QCOMPARE(FDesktop->Beeps(), 1);
    QCOMPARE(Sorted(EntriesOf(Site())),
             (QStringList{"Clash.htm", "Images", "clash.htm", "index.htm"}));
    QCOMPARE(EntriesOf(Site("Images")), QStringList{"logo.gif"});
    QCOMPARE(FWindow->OutputLines().filter("index.htm").size(), 1);
    QVERIFY(!ProgressBoxWindow());

    QFile::remove(Site("Clash.htm"));
    Click("bbtList");
    Control<QRadioButton>("rgpCase1")->setChecked(true);
    bool busyThen = false;
    QTimer::singleShot(0, [&] {
      busyThen = FWindow->Busy();
      Control<QPushButton>("bbtList")->click();
    });
    Click("bbtCase");
    QVERIFY(busyThen);
    QVERIFY(!FWindow->Busy());
    QCOMPARE(Sorted(EntriesOf(Site())), (QStringList{"CLASH.HTM", "INDEX.HTM", "Images"}));
    QTRY_COMPARE(FWindow->OutputLines().filter("INDEX.HTM").size(), 1);
  }

  // Asked first; No changes nothing; a bad date is reported.
  void touch() {
    File("a.htm");
    File("sub/b.htm");
    Click("bbtList");
    Edit("edtTouch")->setText("31-12-2001 23:59");
    const auto asked = AnswerNextMessage(mrYes);
    Click("bbtTouch");
    QVERIFY(asked->Text.contains("\"31-12-2001 23:59\""));
    const QDateTime stamp = DateTimeStrToDateTime("31-12-2001 23:59");
    QCOMPARE(GetFileDate(Site("sub/b.htm")), stamp);
    QCOMPARE(FWindow->OutputLines().filter(QRegularExpression("^2001-12-31 23:59 ")).size(), 2);
    QVERIFY(Control<TZELFileManager>("ifmManager")->ShowWarnings());

    Edit("edtTouch")->setText("01-02-2003 04:05");
    AnswerNextMessage(mrNo);
    Click("bbtTouch");
    Edit("edtTouch")->setText("xx-xx-xxxx xx-xx");
    const auto error = AnswerNextMessage(mrOk);
    Click("bbtTouch");
    QVERIFY2(error->Text.contains("xx-xx-xxxx xx-xx") && error->Caption != "Touch files",
             qPrintable(error->Text));
    QCOMPARE(GetFileDate(Site("a.htm")), stamp);
  }

  // A click during Touch waits for it; closing asks, and a stop says how far it got.
  void touchIsNeverCutShort() {
    // Enough files that the walk lets events run; in memory where there is
    // a tmpfs, since a loaded disk takes seconds to create them.
    if (QFileInfo("/dev/shm").isWritable()) {
      FSite = std::make_unique<QTemporaryDir>("/dev/shm/quillmere-XXXXXX");
      Edit("edtLocalRoot")->setText(Site());
    }
    QStringList files;
    for (int d = 0; d < 40; ++d) {
      QDir().mkpath(Site(QString("d%1").arg(d)));
      for (int f = 0; f < 200; ++f) files << Site(QString("d%1/f%2.htm").arg(d).arg(f));
    }
    for (const QString& file : files) QFile(file).open(QIODevice::WriteOnly);
    Click("bbtList");
    // Acts once, while the job works (its hourglass is up) and no message is.
    const auto during = [this](std::function<void()> act) {
      auto* poll = new QTimer(FWindow.get());
      QObject::connect(poll, &QTimer::timeout, poll, [this, poll, act] {
        if (!FWindow->Busy() || QApplication::activeModalWidget() ||
            !QApplication::overrideCursor() ||
            QApplication::overrideCursor()->shape() != Qt::WaitCursor)
          return;
        poll->deleteLater();
        poll->stop();
        act();
      });
      poll->start(1);
    };
    const auto stampOf = [](const char* text) { return DateTimeStrToDateTime(text); };
    const auto datedWith = [&](const char* text) {
      return std::count_if(files.begin(), files.end(),
                           [&](const QString& f) { return GetFileDate(f) == stampOf(text); });
    };

    Edit("edtTouch")->setText("31-12-2001 23:59");
    AnswerNextMessage(mrYes);
    during([this] { Control<QPushButton>("bbtList")->click(); });
    Click("bbtTouch");
    QCOMPARE(datedWith("31-12-2001 23:59"), files.size());

    Edit("edtTouch")->setText("01-01-2002 10:00");
    AnswerNextMessage(mrYes);
    const auto asked = AnswerNextMessage(mrNo);
    during([this] { FWindow->close(); });
    Click("bbtTouch");
    QCOMPARE(asked->Text, QString("Touch is running. Stop it?"));
    QVERIFY(FWindow->isVisible());
    QCOMPARE(datedWith("01-01-2002 10:00"), files.size());

    Edit("edtTouch")->setText("02-02-2002 10:00");
    AnswerNextMessage(mrYes);
    AnswerNextMessage(mrYes);
    const auto report = AnswerNextMessage(mrOk);
    during([this] { FWindow->close(); });
    Click("bbtTouch");
    QCOMPARE(report->Caption, QString("Function aborted"));
    const QRegularExpressionMatch counts =
        QRegularExpression("(\\d+) files done, (\\d+) (found so far )?not done")
            .match(report->Text);
    QVERIFY2(counts.hasMatch(), qPrintable(report->Text));
    QCOMPARE(datedWith("02-02-2002 10:00"), counts.captured(1).toInt());
    if (counts.captured(3).isEmpty())
      QCOMPARE(counts.captured(1).toInt() + counts.captured(2).toInt(), files.size());
    QVERIFY(!FWindow->isVisible());
  }

  // While Convert renames, its box is on screen and the window answers: closing asks,
  // and a stop says how far it got.
  void convertAnswersWhileRenaming() {
    for (int i = 0; i < 300; ++i) File(QString("F%1.HTM").arg(i, 3, 10, QChar('0')));
    Click("bbtList");
    bool exposed = false;
    auto* poll = new QTimer(FWindow.get());
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
      QWidget* box = ProgressBoxWindow();
      if (!box || QApplication::activeModalWidget() ||
          EntriesOf(Site()).filter(QRegularExpression("^f\\d+\\.htm$")).isEmpty())
        return;
      poll->stop();
      exposed = box->windowHandle() && box->windowHandle()->isExposed();
      FWindow->close();
    });
    poll->start(1);
    const auto asked = AnswerNextMessage(mrYes);
    const auto report = AnswerNextMessage(mrOk);
    Click("bbtCase");
    QVERIFY(exposed);
    QCOMPARE(asked->Text, QString("Convert is running. Stop it?"));
    const QRegularExpressionMatch counts =
        QRegularExpression("^Convert stopped.\n(\\d+) files done, (\\d+) not done.$")
            .match(report->Text);
    QVERIFY2(counts.hasMatch(), qPrintable(report->Text));
    QCOMPARE(counts.captured(1).toInt() + counts.captured(2).toInt(), 300);
    QCOMPARE(EntriesOf(Site()).filter(QRegularExpression("^f\\d+\\.htm$")).size(),
             counts.captured(1).toInt());
    QVERIFY(!FWindow->isVisible());
  }

  // Testpage and Robots.txt fill the pane; SaveAs writes it with CR LF, and a target that
  // cannot be written is left as it was.
  void testPageRobotsAndSaveAs() {
    WriteBytes(Site("Index.htm"), "<html>\n");
    WriteBytes(Site("sub/page.htm"), "<meta name=\"robots\" content=\"noindex\">\n");
    File("a.jpg");
    Edit("edtRemoteRoot")->setText("http://www.example.com");
    Click("bbtList");
    Click("bbtTestPage");
    QCOMPARE(Edit("edtRemoteRoot")->text(), QString("http://www.example.com/"));
    QCOMPARE(Edit("edtSaveAs")->text(), Site("qme_____.htm"));
    const QStringList page = FWindow->OutputLines();
    QCOMPARE(page.filter("?url=http://www.example.com/Index.htm&spider=yes").size(), 1);
    QCOMPARE(page.filter("gifbot.cgi?url=http://www.example.com/a.jpg&").size(), 1);

    Click("bbtRobots");
    QCOMPARE(FWindow->OutputLines(), (QStringList{"User-agent: *", "Disallow: /sub/page.htm"}));
    QCOMPARE(Edit("edtSaveAs")->text(), Site("robots.txt"));
    Click("bbtSaveAs");
    QCOMPARE(ReadBytes(Site("robots.txt")),
             QByteArray("User-agent: *\r\nDisallow: /sub/page.htm\r\n"));

    // The remote root decides Testpage as it is typed; leaving a root field adds its "/".
    Edit("edtRemoteRoot")->setText("http://www.");
    QVERIFY(!Enabled("bbtTestPage"));
    Edit("edtRemoteRoot")->setText("http://www.s");
    Visit("edtRemoteRoot");
    QCOMPARE(Edit("edtRemoteRoot")->text(), QString("http://www.s/"));
    Edit("edtLocalRoot")->setText(FSite->path());
    Visit("edtLocalRoot");
    QCOMPARE(Edit("edtLocalRoot")->text(), FSite->path() + "/");

    // No file may grow past 16 bytes (root too is bound by it).
    WriteBytes(Site("robots.txt"), "kept");
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 16;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const auto seen = AnswerNextMessage(mrOk);
    Click("bbtSaveAs");
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::signal(SIGXFSZ, oldHandler);
    QVERIFY2(seen->Text.contains(Site("robots.txt")), qPrintable(seen->Text));
    QCOMPARE(ReadBytes(Site("robots.txt")), QByteArray("kept"));
    QCOMPARE(Sorted(EntriesOf(Site())), (QStringList{"Index.htm", "a.jpg", "robots.txt", "sub"}));

    // Convert still works on the last listing, whatever walked since.
    Edit("edtMask")->setText("*.none");
    Click("bbtTestPage");
    QVERIFY(!Enabled("bbtSaveAs"));  // a pane, but no target
    Click("bbtCase");
    QVERIFY(QFile::exists(Site("index.htm")));
  }
};

QTEST_MAIN(TestWalkTreeWindow)
#include "test_walk_tree_window.moc"
