// The site window driven as a user would, offscreen, on a temporary site:
// controls found by name, message windows answered by the test helper.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <csignal>
#include <sys/resource.h>

#include "components/box_label.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "desktop_stub.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "site/date_func.h"
#include "site/file_manager.h"
#include "site/walk_tree_window.h"

namespace {

// Notes the windows that are shown, by name.
class TShownWindows : public QObject {
 public:
  TShownWindows() { qApp->installEventFilter(this); }
  QStringList Names;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow())
      Names << watched->objectName();
    return false;
  }
};

}  // namespace

class TestWalkTreeWindow : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void initTestCase();
  void init();
  void cleanup();
  void opensOnTheWorkingFolder();
  void layout();
  void listSite();
  void missingLocalRoot();
  void remoteRootRule();
  void convert();
  void touch();
  void testPageAndRobots();
  void saveAs();

 private:
  QString Site(const QString& name = {}) const { return FSite->path() + "/" + name; }
  void File(const QString& name, int size) { WriteBytes(Site(name), QByteArray(size, 'x')); }
  template <typename T = QWidget>
  T* Control(const char* name) const {
    T* c = FWindow->findChild<T*>(name);
    if (!c) qFatal("no control %s", name);
    return c;
  }
  QLineEdit* Edit(const char* name) const { return Control<QLineEdit>(name); }
  QString Box(const char* name) const { return Control<TBoxLabel>(name)->Caption(); }
  bool Enabled(const char* name) const { return Control(name)->isEnabled(); }
  void Click(const char* name) { QTest::mouseClick(Control<QPushButton>(name), Qt::LeftButton); }
  QString Pane() const { return Control<QPlainTextEdit>("memOutput")->toPlainText(); }
  void Focus(const char* name) {
    Control(name)->setFocus();
    QApplication::processEvents();
  }

  std::unique_ptr<QTemporaryDir> FSite;
  std::unique_ptr<TDesktopStub> FDesktop;
  std::unique_ptr<TQMEEnvironment> FEnvironment;
  std::unique_ptr<TfrmWalkTree> FWindow;
};

void TestWalkTreeWindow::initTestCase() {
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void TestWalkTreeWindow::init() {
  FSite = std::make_unique<QTemporaryDir>();
  FDesktop = std::make_unique<TDesktopStub>();
  FEnvironment = std::make_unique<TQMEEnvironment>();
  Environment = FEnvironment.get();
  FWindow = std::make_unique<TfrmWalkTree>();
  Edit("edtLocalRoot")->setText(Site());
  FWindow->show();
  QApplication::setActiveWindow(FWindow.get());
}

void TestWalkTreeWindow::cleanup() {
  FWindow.reset();
  QCOMPARE(PendingMessageAnswers(), 0);
  ClearMessageAnswers();
  Environment = nullptr;
  FEnvironment.reset();
  FDesktop.reset();
  FSite.reset();
}

// The Maintenance button's road: the working folder, the kept remote root,
// now in the touch field; the remote root is written back at closing.
void TestWalkTreeWindow::opensOnTheWorkingFolder() {
  FWindow.reset();
  Environment->RemoteRoot = "http://www.example.org/";
  QString local, remote, touch, title;
  QSize size;
  QString count;
  bool onlyList = false;
  QTimer::singleShot(0, [&] {
    auto* w = qobject_cast<TfrmWalkTree*>(QApplication::activeModalWidget());
    if (!w) return;
    local = w->findChild<QLineEdit*>("edtLocalRoot")->text();
    remote = w->findChild<QLineEdit*>("edtRemoteRoot")->text();
    touch = w->findChild<QLineEdit*>("edtTouch")->text();
    title = w->windowTitle();
    size = w->size();
    count = w->findChild<TBoxLabel*>("bxlFileCount")->Caption();
    onlyList = w->findChild<QPushButton*>("bbtList")->isEnabled();
    for (const char* b : {"bbtCase", "bbtTouch", "bbtRobots", "bbtTestPage", "bbtSaveAs"})
      onlyList = onlyList && !w->findChild<QPushButton*>(b)->isEnabled();
    w->findChild<QLineEdit*>("edtRemoteRoot")->setText("http://www.changed.example/");
    w->close();
  });
  const QDateTime before = QDateTime::currentDateTime();
  TfrmWalkTree::ShowSiteWindow(Site());
  QCOMPARE(local, Site());
  QCOMPARE(remote, QString("http://www.example.org/"));
  const QDateTime shown = DateTimeStrToDateTime(touch);
  QVERIFY(qAbs(shown.secsTo(before)) < 61);
  QCOMPARE(title, QString("Process on Entire Site !"));
  QCOMPARE(size, QSize(629, 540));
  QCOMPARE(count, QString("0"));
  QVERIFY(onlyList);
  QCOMPARE(Environment->RemoteRoot, QString("http://www.changed.example/"));
}

// Every control where the design puts it, in its tab order.
void TestWalkTreeWindow::layout() {
  const QList<QPair<const char*, QRect>> places = {
      {"memOutput", {8, 192, 609, 305}},      {"edtLocalRoot", {88, 16, 449, 24}},
      {"edtRemoteRoot", {88, 48, 449, 24}},   {"bbtList", {8, 84, 75, 24}},
      {"ckbInclSubDirs", {96, 88, 153, 17}},  {"ckbDetails", {256, 88, 121, 17}},
      {"edtMask", {432, 85, 57, 24}},         {"bbtCase", {8, 120, 75, 24}},
      {"rgpCase", {200, 107, 226, 37}},       {"bbtTouch", {8, 156, 75, 24}},
      {"bbtRobots", {544, 17, 75, 24}},       {"edtTouch", {200, 156, 113, 24}},
      {"bbtTestPage", {544, 49, 75, 24}},     {"bbtSaveAs", {8, 508, 75, 25}},
      {"edtSaveAs", {88, 508, 529, 24}},      {"bxlFileCount", {520, 128, 97, 21}},
      {"bxlFileSize", {520, 160, 97, 21}}};
  for (const auto& [name, rect] : places) QVERIFY2(Control(name)->geometry() == rect, name);
  const QList<QPair<const char*, QPoint>> labels = {
      {"lblLocalRoot", {8, 20}}, {"lblRemoteRoot", {8, 52}},  {"lblMask", {392, 88}},
      {"lblCase", {96, 124}},    {"Label1", {96, 160}},       {"lblFileCount", {456, 132}},
      {"lblFileSize", {456, 164}}};
  for (const auto& [name, pos] : labels) QVERIFY2(Control(name)->pos() == pos, name);
  QVERIFY(Control<QRadioButton>("rgpCase0")->isChecked());
  QCOMPARE(Edit("edtTouch")->maxLength(), 16);
  QVERIFY(Control<QPlainTextEdit>("memOutput")->isReadOnly());

  const QStringList order = {"edtLocalRoot", "edtRemoteRoot", "bbtList",   "ckbInclSubDirs",
                             "ckbDetails",   "edtMask",       "bbtCase",   "rgpCase0",
                             "bbtTouch",     "bbtRobots",     "edtTouch",  "bbtTestPage",
                             "bbtSaveAs",    "edtSaveAs"};
  QStringList chain;
  QWidget* w = Control(order.first().toLatin1());
  do {
    if (order.contains(w->objectName())) chain << w->objectName();
    w = w->nextInFocusChain();
  } while (w->objectName() != order.first());
  QCOMPARE(chain, order);
}

// Three files of 1,400 bytes in all; without details no size is summed;
// an empty site gives 0 and 0 and nothing to act on.
void TestWalkTreeWindow::listSite() {
  File("a.htm", 600);
  File("sub/b.htm", 500);
  File("sub/c.css", 300);
  Click("bbtList");
  QCOMPARE(Box("bxlFileCount"), QString("3"));
  QCOMPARE(Box("bxlFileSize"), QString("     1,400"));
  const QStringList lines = FWindow->OutputLines();
  QCOMPARE(lines.size(), 3);
  QVERIFY(lines.filter("sub/b.htm").size() == 1);
  QVERIFY(lines.filter(FSite->path()).isEmpty());
  QVERIFY2(lines.filter("a.htm").first().contains("600 A"), qPrintable(lines.join('|')));
  QCOMPARE(Pane(), lines.join('\n'));
  QCOMPARE(Edit("edtSaveAs")->text(), Site("qme_____.txt"));
  QCOMPARE(Control<QListWidget>("lbxFiles")->count(), 3);
  for (const char* b : {"bbtCase", "bbtTouch", "bbtRobots", "bbtSaveAs"}) QVERIFY(Enabled(b));
  QVERIFY(!Enabled("bbtTestPage"));  // "http://www." alone

  Control<QCheckBox>("ckbDetails")->setChecked(false);
  Control<QCheckBox>("ckbInclSubDirs")->setChecked(false);
  Click("bbtList");
  QCOMPARE(Box("bxlFileCount"), QString("1"));
  QCOMPARE(Box("bxlFileSize").trimmed(), QString("0"));
  QCOMPARE(FWindow->OutputLines(), QStringList{"a.htm"});
  QCOMPARE(Control<QListWidget>("lbxFiles")->count(), 3);  // the whole tree, always

  Edit("edtMask")->setText("*.none");
  Click("bbtList");
  QCOMPARE(Box("bxlFileCount"), QString("0"));
  QCOMPARE(Box("bxlFileSize").trimmed(), QString("0"));
  QVERIFY(Pane().isEmpty());
  QVERIFY(Edit("edtSaveAs")->text().isEmpty());
  for (const char* b : {"bbtCase", "bbtTouch", "bbtRobots", "bbtSaveAs", "bbtTestPage"})
    QVERIFY(!Enabled(b));
}

void TestWalkTreeWindow::missingLocalRoot() {
  File("a.htm", 10);
  Click("bbtList");
  QVERIFY(Enabled("bbtCase"));
  Edit("edtLocalRoot")->setText(Site("gone"));
  const auto first = AnswerNextMessage(mrOk);
  const auto second = AnswerNextMessage(mrOk);
  Click("bbtList");
  for (const auto& seen : {first, second}) {
    QCOMPARE(seen->Caption, QString("Function aborted"));
    QVERIFY2(seen->Text.contains("Incorrect WorkingDir"), qPrintable(seen->Text));
  }
  QVERIFY(Pane().isEmpty());
  QCOMPARE(Box("bxlFileCount"), QString("0"));
  QCOMPARE(Box("bxlFileSize").trimmed(), QString("0"));
  QVERIFY(Edit("edtSaveAs")->text().isEmpty());
  for (const char* b : {"bbtCase", "bbtTouch", "bbtRobots", "bbtSaveAs", "bbtTestPage"})
    QVERIFY(!Enabled(b));
}

// Testpage needs "http://www." in small letters and more after it; leaving
// the field then adds the "/". The local root gains its "/" likewise.
void TestWalkTreeWindow::remoteRootRule() {
  File("index.htm", 10);
  QLineEdit* remote = Edit("edtRemoteRoot");
  remote->setText("http://www.");
  Click("bbtList");
  QVERIFY(!Enabled("bbtTestPage"));
  Focus("edtRemoteRoot");
  Focus("edtMask");
  QCOMPARE(remote->text(), QString("http://www."));
  remote->setText("HTTP://WWW.site.example");
  QVERIFY(!Enabled("bbtTestPage"));
  remote->setText("http://www.s");
  QVERIFY(Enabled("bbtTestPage"));
  Focus("edtRemoteRoot");
  Focus("edtMask");
  QCOMPARE(remote->text(), QString("http://www.s/"));

  QLineEdit* local = Edit("edtLocalRoot");
  local->setText(FSite->path());
  Focus("edtLocalRoot");
  Focus("edtMask");
  QCOMPARE(local->text(), FSite->path() + "/");
  local->clear();
  Focus("edtLocalRoot");
  Focus("edtMask");
  QVERIFY(local->text().isEmpty());
}

// Lowercase: Index.HTM renamed under the progress box, also in a sub-folder
// while sub-folders are not listed; the folder Images keeps its name; a
// name taken by another file is refused with a warning and a beep.
void TestWalkTreeWindow::convert() {
  File("Index.HTM", 10);
  File("Images/Logo.GIF", 10);
  File("Clash.htm", 1);
  File("clash.htm", 2);
  File("plain.htm", 3);
  Click("bbtList");
  Control<QCheckBox>("ckbInclSubDirs")->setChecked(false);
  TShownWindows shown;
  const auto refused = AnswerNextMessage(mrOk);
  Click("bbtCase");
  QVERIFY(shown.Names.contains("frmProgressBox"));
  QCOMPARE(refused->Caption, QString("Warning"));
  QVERIFY2(refused->Text.startsWith("Can't rename ") && refused->Text.endsWith("Clash.htm"),
           qPrintable(refused->Text));
  QCOMPARE(FDesktop->Beeps(), 1);
  QCOMPARE(QDir(Site()).entryList(QDir::Files, QDir::Name),
           (QStringList{"Clash.htm", "clash.htm", "index.htm", "plain.htm"}));
  QCOMPARE(QDir(Site("Images")).entryList(QDir::Files), QStringList{"logo.gif"});
  QCOMPARE(ReadBytes(Site("clash.htm")).size(), 2);
  QVERIFY(FWindow->OutputLines().filter("index.htm").size() == 1);
  QVERIFY(!ProgressBoxWindow());

  // All in lower case already: nothing renamed, no box.
  QFile::remove(Site("Clash.htm"));
  Click("bbtList");
  shown.Names.clear();
  Click("bbtCase");
  QVERIFY(!shown.Names.contains("frmProgressBox"));

  // Uppercase; a click on List site while Convert runs waits its turn.
  Control<QRadioButton>("rgpCase1")->setChecked(true);
  bool busyThen = false;
  QTimer::singleShot(0, [&] {
    busyThen = FWindow->Busy();
    Control<QPushButton>("bbtList")->click();
  });
  Click("bbtCase");
  QVERIFY(busyThen);
  QVERIFY(!FWindow->Busy());
  QCOMPARE(QDir(Site()).entryList(QDir::Files, QDir::Name),
           (QStringList{"CLASH.HTM", "INDEX.HTM", "PLAIN.HTM"}));
  QTRY_COMPARE(Control<QListWidget>("lbxFiles")->count(), 4);
  QTRY_VERIFY(FWindow->OutputLines().filter("INDEX.HTM").size() == 1);
}

void TestWalkTreeWindow::touch() {
  File("a.htm", 10);
  File("sub/b.htm", 20);
  Click("bbtList");
  Edit("edtTouch")->setText("31-12-2001 23:59");
  const auto asked = AnswerNextMessage(mrYes);
  Click("bbtTouch");
  QCOMPARE(asked->Caption, QString("Touch files"));
  QCOMPARE(asked->Text,
           QString("All files will get datetime: \"31-12-2001 23:59\".\nDo you want to contine?"));
  const QDateTime stamp = DateTimeStrToDateTime("31-12-2001 23:59");
  QCOMPARE(GetFileDate(Site("a.htm")), stamp);
  QCOMPARE(GetFileDate(Site("sub/b.htm")), stamp);
  QCOMPARE(FWindow->OutputLines().filter(QRegularExpression("^2001-12-31 23:59 ")).size(), 2);
  QVERIFY(Control<TZELFileManager>("ifmManager")->ShowWarnings());

  // Answered No: nothing changes.
  Edit("edtTouch")->setText("01-02-2003 04:05");
  AnswerNextMessage(mrNo);
  Click("bbtTouch");
  QCOMPARE(GetFileDate(Site("a.htm")), stamp);

  Edit("edtTouch")->setText("xx-xx-xxxx xx-xx");
  const auto error = AnswerNextMessage(mrOk);
  Click("bbtTouch");
  QVERIFY2(error->Text.contains("xx-xx-xxxx xx-xx") && error->Caption != "Touch files",
           qPrintable(error->Text));
  QCOMPARE(GetFileDate(Site("a.htm")), stamp);
}

// A root with Index.htm and a sub-folder with a noindex page, images of
// three sizes and a style sheet.
void TestWalkTreeWindow::testPageAndRobots() {
  WriteBytes(Site("Index.htm"), "<html>\n");
  WriteBytes(Site("sub/page.htm"), "<head>\n<meta name=\"robots\" content=\"noindex\">\n");
  WriteBytes(Site("sub/index.htm"), "<html>\n");
  File("a.jpg", 5000);
  File("sub/b.jpeg", 100);
  File("c.gif", 50);
  File("style.css", 10);
  Edit("edtRemoteRoot")->setText("http://www.example.com");
  Click("bbtList");
  Click("bbtTestPage");
  const QString root = "http://www.example.com/";
  QCOMPARE(Edit("edtRemoteRoot")->text(), root);
  QCOMPARE(Edit("edtSaveAs")->text(), Site("qme_____.htm"));
  const QStringList page = FWindow->OutputLines();
  QCOMPARE(page.first(), QString("<HTML>"));
  QCOMPARE(page.last(), QString("</HTML>"));
  QCOMPARE(page.filter("spider=yes").size(), 1);
  QVERIFY(page.filter("spider=yes").first().contains("?url=" + root + "Index.htm&"));
  QCOMPARE(page.filter("target=\"page\"").size(), 3);
  QVERIFY(page.filter("style.css").isEmpty());
  const QStringList images = page.filter("gifbot.cgi?url=");
  QCOMPARE(images.size(), 3);
  QVERIFY(images[0].contains(root + "sub/b.jpeg&"));
  QVERIFY(images[1].contains(root + "a.jpg&"));
  QVERIFY(images[2].contains(root + "c.gif&"));

  Click("bbtRobots");
  QCOMPARE(FWindow->OutputLines(), (QStringList{"User-agent: *", "Disallow: /sub/page.htm"}));
  QCOMPARE(Edit("edtSaveAs")->text(), Site("robots.txt"));

  // A walk that finds nothing suggests no file.
  Edit("edtMask")->setText("*.none");
  Click("bbtTestPage");
  QVERIFY(Edit("edtSaveAs")->text().isEmpty());
  QVERIFY(!Enabled("bbtSaveAs"));

  // Convert still works on the last listing, whatever walked since.
  Edit("edtMask")->setText("*.css");
  Click("bbtRobots");
  QCOMPARE(FWindow->OutputLines(), QStringList{"User-agent: *"});
  Click("bbtCase");
  QVERIFY(QFile::exists(Site("index.htm")));
}

// SaveAs writes the pane with CR LF, replacing a file; a target that cannot
// be written is reported and left as it was.
void TestWalkTreeWindow::saveAs() {
  WriteBytes(Site("a.htm"), "<meta name=robots content=noindex>\n");
  WriteBytes(Site("robots.txt"), "old");
  Click("bbtList");
  Edit("edtMask")->setText("*.htm");
  Click("bbtRobots");
  Click("bbtSaveAs");
  QCOMPARE(ReadBytes(Site("robots.txt")), QByteArray("User-agent: *\r\nDisallow: /a.htm\r\n"));

  Edit("edtSaveAs")->setText(Site("missing/robots.txt"));
  auto seen = AnswerNextMessage(mrOk);
  Click("bbtSaveAs");
  QVERIFY2(seen->Text.contains("missing/robots.txt"), qPrintable(seen->Text));
  QVERIFY(!QFile::exists(Site("missing/robots.txt")));
  QCOMPARE(FWindow->OutputLines().size(), 2);

  // A file that may not grow past 16 bytes (root too is bound by it).
  WriteBytes(Site("robots.txt"), "kept");
  Edit("edtSaveAs")->setText(Site("robots.txt"));
  rlimit old{};
  ::getrlimit(RLIMIT_FSIZE, &old);
  const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 16;
  ::setrlimit(RLIMIT_FSIZE, &small);
  seen = AnswerNextMessage(mrOk);
  Click("bbtSaveAs");
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, oldHandler);
  QVERIFY(seen->Shown);
  QCOMPARE(ReadBytes(Site("robots.txt")), QByteArray("kept"));
  QCOMPARE(QDir(Site()).entryList(QDir::Files), (QStringList{"a.htm", "robots.txt"}));
}

QTEST_MAIN(TestWalkTreeWindow)
#include "test_walk_tree_window.moc"
