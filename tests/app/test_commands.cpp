// The main window's commands, run on a shown window over a temporary site:
// file commands, desktop calls, clipboard, tool windows and the HTML aids.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "doc/edit_file_info.h"
#include "app/file_panel.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "config/environment.h"
#include "config/ini_helpers.h"
#include "window_fixture.h"
#include "html/choice_list_window.h"
#include "msg_answer.h"

namespace {

QString ConfigDir() { return qEnvironmentVariable("XDG_CONFIG_HOME") + "/quillmere"; }

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
  f.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList Entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

TfrmChoiceList* ToolWindow(const char* name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String(name)) return qobject_cast<TfrmChoiceList*>(w);
  return nullptr;
}

const QByteArray TemplateText = "<HTML>\r\n<BODY>template</BODY>\r\n</HTML>\r\n";

}  // namespace

class TestCommands : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void newFileTwiceAndMissingTemplate();
  void deleteAsks();
  void saveAsLowerCasesTheNameOnly();
  void saveAsDoesNotOverwriteAnotherCase();
  void renameMovesTheText();
  void saveAsOntoItself_data();
  void saveAsOntoItself();
  void renameOntoALinkKeepsThePage();
  void failingSaveAsKeepsEverything_data();
  void failingSaveAsKeepsEverything();
  void desktopCalls();
  void editTemplateOpensIt();
  void webReferences_data();
  void webReferences();
  void updatesPage();
  void ctrlARunsSaveAs();
  void cutInReplaceBox();
  void viewMenuTicksVisibleWindows();
  void insertFromToolWindows_data();
  void insertFromToolWindows();
  void tagCase();
  void wrongChars_data();
  void wrongChars();
  void tabsPassTheCheck();
  void editorPopupMenu();
  void aboutDialogOpens();

 private:
  // Writes the site's files, starts the window and waits for its first load.
  void Start(const QList<QPair<QString, QByteArray>>& files);
  TZELMemo* Editor() const { return FWindow->Editor(); }
  QString Caption() const { return FWindow->windowTitle(); }
  // Types Text into the editor as the user does.
  void Type(const QString& text);

  std::unique_ptr<TWindowFixture> F;
  QString FSite;  // ends in "/"
  TfrmMain* FWindow = nullptr;
  QStringList FDialogTitles, FDialogNames;
  QString FDialogAnswer;  // what the save dialog stand-in returns; empty: cancelled
};

void TestCommands::init() {
  F = std::make_unique<TWindowFixture>();
  FSite = F->Site() + "/";
  // The defaults of every other setting hold here.
  WriteBytes(F->IniPath(), "[Settings]\nWorkingDir=" + FSite.toUtf8() + "\n");
  WriteBytes(ConfigDir() + "/template.htm", TemplateText);
  FDialogTitles.clear();
  FDialogNames.clear();
  FDialogAnswer.clear();
}

void TestCommands::cleanup() {
  F.reset();
  FWindow = nullptr;
}

void TestCommands::Start(const QList<QPair<QString, QByteArray>>& files) {
  for (const auto& [name, bytes] : files) WriteBytes(FSite + name, bytes);
  F->Open();
  FWindow = F->Window();
  FWindow->SaveDialog = [this](const QString& title, const QString& fileName) {
    FDialogTitles << title;
    FDialogNames << fileName;
    return FDialogAnswer;
  };
}

void TestCommands::Type(const QString& text) {
  Editor()->setFocus();
  QTest::keyClicks(Editor()->viewport(), text);
}

void TestCommands::newFileTwiceAndMissingTemplate() {
  Start({{"index.html", "<P>home</P>\r\n"}});
  FWindow->MenuClick(101);
  QCOMPARE(ReadBytes(FSite + "__noname.html"), TemplateText);
  // The list is read again and its first entry loaded.
  QCOMPARE(FWindow->FileInfo()->FileName, FSite + "__noname.html");

  WriteBytes(FSite + "__noname.html", "<P>mine</P>\r\n");
  const auto stop = AnswerNextMessage(mrOk);
  FWindow->MenuClick(101);
  QVERIFY(stop->Shown);
  QCOMPARE(stop->Text, QString("Can't create a new file '__noname.html'."));
  QCOMPARE(stop->Caption, QString("New file"));
  QCOMPARE(stop->Kind, mkStop);
  QCOMPARE(ReadBytes(FSite + "__noname.html"), QByteArray("<P>mine</P>\r\n"));

  QVERIFY(QFile::remove(FSite + "__noname.html"));
  QVERIFY(QFile::remove(ConfigDir() + "/template.htm"));
  const auto warning = AnswerNextMessage(mrOk);
  FWindow->MenuClick(101);
  QVERIFY(warning->Shown);
  QCOMPARE(warning->Text, "Can't find \"" + ConfigDir() + "/template.htm\" to copy.");
  QCOMPARE(warning->Caption, QString("New file"));
  QCOMPARE(warning->Kind, mkWarning);
  QVERIFY(!QFileInfo::exists(FSite + "__noname.html"));
}

void TestCommands::deleteAsks() {
  Start({{"a.html", "<P>a</P>\r\n"}, {"b.html", "<P>b</P>\r\n"}});
  const QString a = FSite + "a.html";
  QCOMPARE(FWindow->FileInfo()->FileName, a);

  const auto no = AnswerNextMessage(mrNo);
  FWindow->MenuClick(102);
  QCOMPARE(no->Text, "Delete " + a + "?");
  QCOMPARE(no->Caption, QString("Delete file"));
  QCOMPARE(no->Kind, mkQuestion);
  QVERIFY(QFileInfo::exists(a));
  QCOMPARE(FWindow->FileInfo()->FileName, a);

  const auto yes = AnswerNextMessage(mrYes);
  FWindow->MenuClick(102);
  QVERIFY(yes->Shown);
  QVERIFY(!QFileInfo::exists(a));
  QCOMPARE(FWindow->FileInfo()->FileName, FSite + "b.html");
  QCOMPARE(Entries(FSite), QStringList{"b.html"});
}

void TestCommands::saveAsLowerCasesTheNameOnly() {
  // A Windows-1252 page, with LF line ends.
  Start({{"index.html", "<P>one</P>\n<P>caf\xE9</P>\n"}});
  QVERIFY(QDir().mkpath(FSite + "Sub Dir"));
  Editor()->SetSelStart(0);
  Type("X");
  QVERIFY(FWindow->FileInfo()->Modified);

  FDialogAnswer = FSite + "Sub Dir/New Page.HTML";
  FWindow->MenuClick(104);
  QCOMPARE(FDialogTitles, QStringList{"Save file index.html as ..."});
  QCOMPARE(FDialogNames, QStringList{FSite + "index.html"});
  const QString target = FSite + "Sub Dir/new page.html";
  QCOMPARE(Entries(FSite + "Sub Dir"), QStringList{"new page.html"});
  QCOMPARE(ReadBytes(target), QByteArray("X<P>one</P>\r\n<P>caf\xE9</P>\r\n"));
  // The old page keeps what it held; only the new name gets the edit.
  QCOMPARE(ReadBytes(FSite + "index.html"), QByteArray("<P>one</P>\n<P>caf\xE9</P>\n"));
  QCOMPARE(FWindow->FileInfo()->FileName, target);
  QVERIFY(!FWindow->FileInfo()->Modified);
  QCOMPARE(Caption(), QString("Quillmere 2.60 - new page.html"));
  QCOMPARE(Environment->WorkingDir, FSite + "Sub Dir/");
  QCOMPARE(FWindow->findChild<TFileListBox*>("flbPages")->FileName(), target);
}

void TestCommands::saveAsDoesNotOverwriteAnotherCase() {
  // The dialog confirmed "Other.HTML", which does not exist; the lower-cased
  // name is another file that does.
  Start({{"index.html", "<P>index</P>\r\n"}, {"other.html", "<P>keep me</P>\r\n"}});
  FDialogAnswer = FSite + "Other.HTML";
  AnswerNextMessage(mrNo, 1000);
  FWindow->MenuClick(104);
  QCOMPARE(ReadBytes(FSite + "other.html"), QByteArray("<P>keep me</P>\r\n"));
  ClearMessageAnswers();
}

void TestCommands::renameMovesTheText() {
  Start({{"page.html", "<P>old</P>\r\n"}});
  Editor()->SetSelStart(3);
  Type("new ");
  FDialogAnswer = FSite + "Page2.HTML";
  FWindow->MenuClick(105);
  QCOMPARE(FDialogTitles, QStringList{"Rename page.html to ..."});
  QCOMPARE(Entries(FSite), QStringList{"page2.html"});
  QCOMPARE(ReadBytes(FSite + "page2.html"), QByteArray("<P>new old</P>\r\n"));
  QCOMPARE(FWindow->FileInfo()->FileName, FSite + "page2.html");
  QCOMPARE(Editor()->Line(0), QString("<P>new old</P>"));
  QCOMPARE(Caption(), QString("Quillmere 2.60 - page2.html"));
  QCOMPARE(FWindow->findChild<TFileListBox*>("flbPages")->FileName(), FSite + "page2.html");
}

void TestCommands::saveAsOntoItself_data() {
  QTest::addColumn<int>("tag");
  QTest::addColumn<QString>("name");
  QTest::newRow("save as, same name") << 104 << "page.html";
  QTest::newRow("save as, other case") << 104 << "PAGE.Html";
  QTest::newRow("rename, other case") << 105 << "Page.HTML";
}

void TestCommands::saveAsOntoItself() {
  QFETCH(int, tag);
  QFETCH(QString, name);
  Start({{"page.html", "<P>page</P>\n"}});
  Editor()->SetSelStart(0);
  Type("Z");
  FDialogAnswer = FSite + name;
  const auto warning = AnswerNextMessage(mrOk);
  FWindow->MenuClick(tag);
  QVERIFY(warning->Shown);
  QCOMPARE(warning->Text, QString("File can't be copied to itself."));
  QCOMPARE(warning->Caption, QString("Invalid filename"));
  QCOMPARE(Entries(FSite), QStringList{"page.html"});
  QCOMPARE(ReadBytes(FSite + "page.html"), QByteArray("<P>page</P>\n"));
  QCOMPARE(FWindow->FileInfo()->FileName, FSite + "page.html");
  QVERIFY(!FWindow->SuppressChange);
  // Nothing was written, so the edit must still be there to save.
  QCOMPARE(Editor()->Line(0), QString("Z<P>page</P>"));
  QVERIFY(FWindow->FileInfo()->Modified);
}

// A link to the page, or the site reached through a linked folder, names the
// page itself: renaming onto it must neither write nor delete anything.
void TestCommands::renameOntoALinkKeepsThePage() {
  Start({{"page.html", "<P>page</P>\r\n"}});
  QVERIFY(QFile::link(FSite + "page.html", FSite + "zlink.html"));
  QVERIFY(QFile::link(FSite, FSite + "mirror"));
  Editor()->SetSelStart(0);
  Type("Z");
  for (const char* name : {"zlink.html", "mirror/page.html"}) {
    FDialogAnswer = FSite + name;
    const auto warning = AnswerNextMessage(mrOk);
    FWindow->MenuClick(105);
    QCOMPARE(warning->Text, QString("File can't be copied to itself."));
    QCOMPARE(ReadBytes(FSite + "page.html"), QByteArray("<P>page</P>\r\n"));
    QVERIFY(FWindow->FileInfo()->Modified);
  }
}

void TestCommands::failingSaveAsKeepsEverything_data() {
  QTest::addColumn<int>("tag");
  QTest::addColumn<QString>("target");
  QTest::newRow("save as, missing folder") << 104 << "missing/new.html";
  QTest::newRow("save as, folder is a file") << 104 << "page.html/new.html";
  QTest::newRow("rename, missing folder") << 105 << "missing/new.html";
  QTest::newRow("rename, folder is a file") << 105 << "page.html/new.html";
}

void TestCommands::failingSaveAsKeepsEverything() {
  QFETCH(int, tag);
  QFETCH(QString, target);
  Start({{"page.html", "<P>page</P>\r\n"}});
  Editor()->SetSelStart(0);
  Type("Y");
  FDialogAnswer = FSite + target;
  const auto report = AnswerNextMessage(mrOk);
  FWindow->MenuClick(tag);
  QVERIFY(report->Shown);
  QVERIFY2(report->Text.contains("new.html"), qPrintable(report->Text));
  QCOMPARE(Entries(FSite), QStringList{"page.html"});
  QCOMPARE(ReadBytes(FSite + "page.html"), QByteArray("<P>page</P>\r\n"));
  QCOMPARE(FWindow->FileInfo()->FileName, FSite + "page.html");
  QVERIFY(FWindow->FileInfo()->Modified);
  QCOMPARE(Editor()->Line(0), QString("Y<P>page</P>"));
  QCOMPARE(Caption(), QString("Quillmere 2.60 - page.html"));
  QCOMPARE(Environment->WorkingDir, FSite);
  QVERIFY(!FWindow->SuppressChange);
}

void TestCommands::desktopCalls() {
  Start({{"page.html", "<P>page</P>\r\n"}});
  FWindow->MenuClick(106);
  FWindow->MenuClick(107);
  const QString help = FSite + "help me.htm";
  WriteBytes(help, "<P>help</P>");
  Environment->HelpFileName = help;
  FWindow->MenuClick(901);
  QCOMPARE(F->Desktop.Calls.size(), 3);
  QCOMPARE(F->Desktop.Calls[0].Kind, QString("open"));
  QCOMPARE(F->Desktop.Calls[0].Target, FSite + "page.html");
  QCOMPARE(F->Desktop.Calls[1].Kind, QString("start"));
  QCOMPARE(F->Desktop.Calls[1].Target, QCoreApplication::applicationFilePath());
  QCOMPARE(F->Desktop.Calls[1].Args, QStringList());
  QCOMPARE(F->Desktop.Calls[2].Kind, QString("open"));
  QCOMPARE(F->Desktop.Calls[2].Target, "file://" + help);

  QVERIFY(QFile::remove(help));
  const auto warning = AnswerNextMessage(mrOk);
  FWindow->MenuClick(901);
  QCOMPARE(warning->Text, "Helpfile not found.\n" + help);
  QCOMPARE(warning->Caption, QString("No help available"));
  QCOMPARE(F->Desktop.Calls.size(), 3);
}

void TestCommands::editTemplateOpensIt() {
  Start({{"page.html", "<P>page</P>\r\n"}});
  FWindow->MenuClick(302);
  QCOMPARE(F->Desktop.Calls.size(), 1);
  const TDesktopCall call = F->Desktop.Calls[0];
  QCOMPARE(call.Kind, QString("start"));
  QCOMPARE(call.Target, QCoreApplication::applicationFilePath());
  QCOMPARE(call.Args, QStringList{ConfigDir() + "/template.htm"});
  // Started without a shell, the argument is the path itself: the second
  // window must open the template from it.
  TQMEEnvironment* const mine = Environment;
  {
    TfrmMain second(call.Args);
    second.show();
    QTRY_VERIFY(!second.Starting());
    QCOMPARE(second.FileInfo()->FileName, ConfigDir() + "/template.htm");
  }
  Environment = mine;
}

void TestCommands::webReferences_data() {
  QTest::addColumn<int>("tag");
  QTest::addColumn<QString>("host");
  QTest::addColumn<QString>("path");
  // clang-format off
  QTest::newRow("921 HTML 4.0")   << 921 << "w3.org"           << "/TR/html4/index/elements.html";
  QTest::newRow("922 CSS 2")      << 922 << "w3.org"           << "/TR/REC-CSS2/indexlist.html";
  QTest::newRow("923 JavaScript") << 923 << ""                 << "/docs/manuals/js/client/jsref/index.htm";
  QTest::newRow("926 WDG")        << 926 << "htmlhelp.com"     << "/tools/validator/";
  QTest::newRow("927 W3C page")   << 927 << "validator.w3.org" << "/";
  QTest::newRow("928 W3C CSS")    << 928 << "w3.org"           << "/css-validator/";
  QTest::newRow("929 GIFBot")     << 929 << ""                 << "/GIFBot/optimize-graphic.htm";
  // clang-format on
}

void TestCommands::webReferences() {
  QFETCH(int, tag);
  QFETCH(QString, host);
  QFETCH(QString, path);
  Start({{"page.html", "<P>page</P>\r\n"}});
  FWindow->MenuClick(tag);
  QCOMPARE(F->Desktop.Calls.size(), 1);
  QCOMPARE(F->Desktop.Calls[0].Kind, QString("open"));
  const QUrl url(F->Desktop.Calls[0].Target);
  QVERIFY2(url.isValid() && url.scheme().startsWith("http"), qPrintable(url.toString()));
  QVERIFY2(url.host().endsWith(host), qPrintable(url.toString()));
  QVERIFY2(url.path().endsWith(path), qPrintable(url.toString()));

  // The host is configuration.
  WriteIniStr("Links", "HTML40", "http://mirror.example/TR/html4/index/elements.html",
              Environment->IniFileName);
  FWindow->MenuClick(921);
  QCOMPARE(F->Desktop.Calls.last().Target,
           QString("http://mirror.example/TR/html4/index/elements.html"));
}

void TestCommands::updatesPage() {
  Start({{"page.html", "<P>page</P>\r\n"}});
  const auto info = AnswerNextMessage(mrOk);
  FWindow->MenuClick(903);
  QVERIFY(info->Shown);
  QVERIFY(F->Desktop.Calls.isEmpty());

  WriteIniStr("Links", "Updates", "https://updates.example/quillmere", Environment->IniFileName);
  FWindow->MenuClick(903);
  QCOMPARE(F->Desktop.Calls.size(), 1);
  QCOMPARE(F->Desktop.Calls[0].Target, QString("https://updates.example/quillmere?qme=2.60"));
}

void TestCommands::ctrlARunsSaveAs() {
  Start({{"page.html", "<P>page</P>\r\n"}});
  Editor()->setFocus();
  Editor()->SetSelStart(2);
  QTest::keyClick(Editor()->viewport(), Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(FDialogTitles, QStringList{"Save file page.html as ..."});
  QCOMPARE(Editor()->SelLength(), 0);
  QCOMPARE(Entries(FSite), QStringList{"page.html"});
}

void TestCommands::cutInReplaceBox() {
  Start({{"page.html", "<P>page</P>\r\n"}});
  auto* box = FWindow->findChild<QComboBox*>("cmbReplace");
  QApplication::clipboard()->setText("before");
  box->lineEdit()->setFocus();
  box->setEditText("hello world");
  box->lineEdit()->setSelection(6, 5);
  FWindow->MenuClick(201);
  QCOMPARE(QApplication::clipboard()->text(), QString("world"));
  QCOMPARE(box->currentText(), QString("hello "));
  QCOMPARE(Editor()->Line(0), QString("<P>page</P>"));
  QVERIFY(!FWindow->FileInfo()->Modified);

  // Pasted into the editor, it is an edit like typing.
  Editor()->setFocus();
  Editor()->SetSelStart(3);
  FWindow->MenuClick(203);
  QCOMPARE(Editor()->Line(0), QString("<P>worldpage</P>"));
  QVERIFY(FWindow->FileInfo()->Modified);
}

void TestCommands::viewMenuTicksVisibleWindows() {
  Start({{"page.html", "<P>page</P>\r\n"}});
  auto ticks = [this] {
    QString s;
    for (const char* name : {"menViewResults", "menViewHTML", "menViewSpecChar"})
      s += FWindow->findChild<QAction*>(name)->isChecked() ? '1' : '0';
    return s;
  };
  QWidget* html = ToolWindow("frmHTML");
  QWidget* chars = ToolWindow("frmSpecChar");
  QVERIFY(html && chars);
  FWindow->MenuClick(502);
  QVERIFY(html->isVisible());
  FWindow->MenuClick(500);
  QCOMPARE(ticks(), QString("010"));

  FWindow->MenuClick(503);
  FWindow->MenuClick(502);
  QVERIFY(!html->isVisible());
  QVERIFY(chars->isVisible());
  // Opening the View menu runs command 500.
  Q_EMIT FWindow->findChild<QMenu*>("menView")->aboutToShow();
  QCOMPARE(ticks(), QString("001"));

  FWindow->MenuClick(501);
  FWindow->MenuClick(503);
  FWindow->MenuClick(500);
  QCOMPARE(ticks(), QString("100"));
}

void TestCommands::insertFromToolWindows_data() {
  QTest::addColumn<QString>("window");
  QTest::addColumn<QString>("chosen");
  // clang-format off
  QTest::newRow("HTML toolset")       << "frmHTML"     << "<B></B>";
  QTest::newRow("special characters") << "frmSpecChar" << "&eacute;";
  // clang-format on
}

void TestCommands::insertFromToolWindows() {
  QFETCH(QString, window);
  QFETCH(QString, chosen);
  Start({{"page.html", "abc def\r\n"}});
  TfrmChoiceList* tool = ToolWindow(qPrintable(window));
  QVERIFY(tool);
  // The user double-clicks in the tool window, which is then the active one.
  tool->show();
  tool->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(tool));
  Editor()->SetSelStart(4);
  Editor()->SetSelLength(3);
  tool->ChosenText = chosen;
  FWindow->MyOnClickHandler(tool);
  QCOMPARE(Editor()->Line(0), "abc " + chosen + "def");
  QCOMPARE(Editor()->SelStart(), 4 + int(chosen.size()));
  QCOMPARE(Editor()->SelLength(), 0);
  QVERIFY(FWindow->FileInfo()->Modified);
  QCOMPARE(ReadBytes(FSite + "page.html"), QByteArray("abc def\r\n"));
}

void TestCommands::tagCase() {
  Start({{"page.html",
          "<P>Some <B>Word</B> here</P>\r\n<Table BorderColor=\"Red\">\r\n"
          "<bgsound src=\"a.wav\">\r\n"}});
  Editor()->SetSelStart(10);
  FWindow->MenuClick(295);
  QCOMPARE(Editor()->Line(0), QString("<p>Some <b>Word</b> here</p>"));
  QCOMPARE(Editor()->Line(1), QString("<table BorderColor=\"Red\">"));
  QCOMPARE(Editor()->Line(2), QString("<bgsound src=\"a.wav\">"));
  QCOMPARE(Editor()->SelStart(), 0);
  QVERIFY(FWindow->FileInfo()->Modified);

  FWindow->MenuClick(294);
  QCOMPARE(Editor()->Line(0), QString("<P>Some <B>Word</B> here</P>"));
  QCOMPARE(Editor()->Line(1), QString("<TABLE BorderColor=\"Red\">"));
  QCOMPARE(Editor()->Line(2), QString("<Bgsound src=\"a.wav\">"));

  // Saved, the page is in case already; converting it still counts as an edit.
  QVERIFY(FWindow->SaveDocument());
  QVERIFY(!FWindow->FileInfo()->Modified);
  FWindow->MenuClick(294);
  QCOMPARE(Editor()->Line(2), QString("<Bgsound src=\"a.wav\">"));
  QVERIFY(FWindow->FileInfo()->Modified);
}

void TestCommands::wrongChars_data() {
  QTest::addColumn<QByteArray>("line2");
  QTest::newRow("UTF-8 page") << QByteArray("abc\xC3\xA9 def");
  QTest::newRow("Windows-1252 page") << QByteArray("abc\xE9 def");
}

void TestCommands::wrongChars() {
  QFETCH(QByteArray, line2);
  Start({{"page.html", "<P>one</P>\r\n" + line2 + "\r\n"}});
  const auto warning = AnswerNextMessage(mrOk);
  FWindow->MenuClick(296);
  QVERIFY(warning->Shown);
  QCOMPARE(warning->Text, QString::fromUtf8("Illegal character \"\u00e9\" at line 2 position 4."));
  QCOMPARE(warning->Caption, QString("Illegal character"));
  QCOMPARE(Editor()->SelStart(), Editor()->LineIndex(1) + 3);
  QCOMPARE(Editor()->SelLength(), 0);
  QCOMPARE(FWindow->findChild<QLabel*>("lblCursorVal")->text(), QString("2 : 4"));
  QVERIFY(!FWindow->FileInfo()->Modified);
}

void TestCommands::tabsPassTheCheck() {
  Start({{"page.html", "\t<P>one</P>\r\n\t\ttwo\tthree\r\n"}});
  Editor()->SetSelStart(5);
  const auto none = CloseNextMessage(500);
  FWindow->MenuClick(296);
  QVERIFY(!none->Shown);
  QCOMPARE(Editor()->SelStart(), 5);
}

// The editor's pop-up menu carries the three commands and runs them.
void TestCommands::editorPopupMenu() {
  Start({{"page.html", "<P>one</P>\r\n"}});
  auto* popup = FWindow->findChild<QMenu*>("pmuEdit");
  QVERIFY(popup);
  QStringList captions;
  for (QAction* a : popup->actions()) captions << a->text();
  QCOMPARE(captions, QStringList({"&UpperCase HTML", "&LowerCase HTML", "Check for &wrong chars"}));
  Editor()->setFocus();
  popup->actions().at(1)->trigger();
  QCOMPARE(Editor()->TextBytes(), std::string("<p>one</p>\r\n"));
  QVERIFY(FWindow->FileInfo()->Modified);
}

void TestCommands::aboutDialogOpens() {
  Start({{"page.html", "<P>page</P>\r\n"}});
  QString title;
  // Polls, so that a window that is slow to come up is still closed.
  QTimer closer;
  closer.setInterval(20);
  connect(&closer, &QTimer::timeout, this, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible()) return;
    title = w->windowTitle();
    w->close();
  });
  closer.start();
  FWindow->MenuClick(904);
  closer.stop();
  QCOMPARE(title, QString("Program Information"));
}

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
