// The main window driven as a user would, offscreen: a temporary settings
// file pointing at a temporary site, keys sent to the editor, message
// windows answered by the test helper.
#define signals Q_SIGNALS
#define slots Q_SLOTS
#include <Qsci/qscilexer.h>
#undef signals
#undef slots

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "file_bytes.h"
#include <QToolButton>
#include <memory>

#include "doc/edit_file_info.h"
#include "app/main_window.h"
#include "app/memo.h"
#include "app/status_panels.h"
#include "components/app_title.h"
#include "components/edit_controls.h"
#include "config/environment.h"
#include "window_fixture.h"
#include "msg_answer.h"

namespace {

using TSettings = TSettingsValues;



QString IniPath() { return TWindowFixture::IniPath(); }

// The Settings section of the written file, key to value.
QMap<QString, QString> IniValues() {
  QMap<QString, QString> values;
  for (const QByteArray& raw : ReadBytes(IniPath()).split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    const qsizetype eq = line.indexOf('=');
    if (eq > 0) values[line.left(eq)] = line.mid(eq + 1);
  }
  return values;
}

// What a document command's enabled state must be, clean and modified, for
// a loaded document of some lines in a list that has entries.
struct TEnableRow {
  const char* Name;
  bool Clean;
  bool Modified;
};

const TEnableRow kEnableTable[] = {
    {"bbtGoto", true, true},         {"ipnFiles", true, false},      {"flbPages", true, false},
    {"dilDir", true, false},         {"drcDrive", true, false},      {"bbtMaint", true, false},
    {"menFileNew", true, false},     {"menFileDelete", true, false}, {"menPopNew", true, false},
    {"menPopDelete", true, false},   {"menFileSave", false, true},   {"bbtSave", false, true},
    {"menFileSaveAs", true, true},   {"bbtSaveAs", true, true},      {"menPopSaveAs", true, true},
    {"menFileView", true, false},    {"bbtView", true, false},       {"menPopView", true, false},
    {"menEditCancel", false, true},  {"bbtCancel", false, true},     {"menEditSelAll", true, true},
    {"menOptSettings", true, false}, {"bbtSettings", true, false},   {"ckbSearchAll", true, false},
};

const QColor kMarkerRed(255, 34, 34);

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init();
  void cleanup();
  void firstFileLoaded();
  void emptyFolder();
  void typingMarksModified();
  void saveWritesNormalisedLines_data();
  void saveWritesNormalisedLines();
  void saveFailureKeepsTheEdit();
  void saveKeepsTheEncoding();
  void escapeRestores();
  void fileStepping();
  void blockIndent_data();
  void blockIndent();
  void closeWithChanges();
  void maintenanceOpensTheSiteWindow();
  void settingsNotWritable();
  void commandLineFile_data();
  void commandLineFile();
  void unreadablePage();
  void syntaxColouring();
  void readOuts();
  void springsBack();
  void clipboardCommands();
  void ctrlFGoesToSearch_data();
  void ctrlFGoesToSearch();

 private:
  void WriteSettings(const TSettings& overrides = {}) { F->WriteSettings(overrides); }
  QString Site(const QString& name = {}) const { return F->Site(name); }
  void Page(const QString& name, const QByteArray& bytes) { F->Page(name, bytes); }
  void Open(const QStringList& args = {}) {
    F->Open(args);
    FWindow = F->Window();
    QVERIFY2(!QApplication::overrideCursor(), "the hourglass stays after the first activation");
  }
  template <typename T = QObject>
  T* Control(const char* name) const { return F->Control<T>(name); }
  bool Enabled(const char* name) const { return F->Enabled(name); }
  TZELMemo* Editor() const { return FWindow->Editor(); }
  TStatusPanels* Status() const { return Control<TStatusPanels>("stbStatus"); }
  QListWidget* List() const { return Control<QListWidget>("flbPages"); }
  QString Text() const { return QString::fromStdString(Editor()->TextBytes()); }
  bool EditorHasFocus() const;
  void FocusEditor();
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(Editor()->viewport(), key, mods);
  }
  // A character QTest cannot type: a key event that carries the text.
  void TypeChar(const QString& text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(Editor()->viewport(), &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
    QApplication::sendEvent(Editor()->viewport(), &release);
  }
  // Arms an answer that must stay unused: a question where none belongs
  // would be answered Yes and show up in ExpectedNoMessage. Every message
  // of the window is modal, so it has come and gone before the action that
  // raised it returns.
  TMsgSeenPtr WatchForMessage() { return AnswerNextMessage(mrYes); }
  void ExpectNoMessage(const TMsgSeenPtr& seen) {
    QVERIFY2(!seen->Shown, qPrintable("unexpected message: " + seen->Text));
    ClearMessageAnswers();
  }

  std::unique_ptr<TWindowFixture> F;
  TfrmMain* FWindow = nullptr;
};

void TestMainWindow::init() { F = std::make_unique<TWindowFixture>(); }

void TestMainWindow::cleanup() {
  F.reset();
  FWindow = nullptr;
}

bool TestMainWindow::EditorHasFocus() const {
  QWidget* f = QApplication::focusWidget();
  return f && (f == Editor() || f == Editor()->viewport());
}

void TestMainWindow::FocusEditor() {
  Editor()->setFocus();
  QTRY_VERIFY(EditorHasFocus());
}

void TestMainWindow::firstFileLoaded() {
  Page("b.html", "<p>b</p>\r\n");
  Page("a.html", "<html>\r\n  <body>   \r\n\tx\r\n</html>\r\n");
  Page("notes.TXT", "n\r\n");
  Page("logo.png", "png");
  Page(".hidden.html", "h\r\n");
  // A folder whose name matches the mask is no page.
  QVERIFY(QDir(Site()).mkdir("dir.html"));
  Open();
  QCOMPARE(List()->count(), 3);
  QCOMPARE(List()->item(0)->text(), QString("a.html"));
  QCOMPARE(List()->item(2)->text(), QString("notes.TXT"));
  QCOMPARE(List()->currentRow(), 0);
  QCOMPARE(FWindow->windowTitle(), QString("Quillmere 2.60 - a.html"));
  QCOMPARE(ApplicationTitle(), QString("QME - a.html"));
  QCOMPARE(FWindow->FileInfo()->FileName, Site("a.html"));
  // Loaded with TabSize 3, blanks to tabs: two blanks stay blanks, a tab a tab.
  QCOMPARE(Text(), QString("<html>\r\n  <body>\r\n\tx\r\n</html>\r\n"));
  QCOMPARE(Status()->Text(0), " " + Site("a.html"));
  QCOMPARE(Status()->Text(1).size(), 16);
  QVERIFY(!FWindow->FileInfo()->Modified);
  QVERIFY(!Status()->Marker());
  for (const TEnableRow& row : kEnableTable) QVERIFY2(Enabled(row.Name) == row.Clean, row.Name);
  QCOMPARE(Environment->WorkingDir, Site() + "/");
  // The go-to-line field takes the lines of the page.
  auto* gotoLine = Control<TIntEdit>("iedGoto");
  QCOMPARE(gotoLine->MinValue(), 1);
  QCOMPARE(gotoLine->MaxValue(), 4);
  QCOMPARE(gotoLine->MaxLength(), 1);
}

void TestMainWindow::emptyFolder() {
  QVERIFY(QDir(Site()).mkdir("sub.html"));
  Open();
  QCOMPARE(List()->count(), 0);
  QCOMPARE(FWindow->windowTitle(), QString("Quillmere 2.60 - "));
  QVERIFY(FWindow->FileInfo()->FileName.isEmpty());
  QCOMPARE(Editor()->TextLength(), 0);
  for (const char* name : {"bbtGoto", "bbtMaint", "bbtSave", "bbtSaveAs", "bbtView", "bbtCancel",
                           "menEditSelAll", "menFileSave", "menFileView"})
    QVERIFY2(!Enabled(name), name);
  QVERIFY(Enabled("ipnFiles"));
  QVERIFY(Enabled("bbtSettings"));
}

void TestMainWindow::typingMarksModified() {
  Page("a.html", "one\r\ntwo\r\n");
  Page("b.html", "b\r\n");
  Open();
  const QRect panel = Status()->PanelRect(2);
  const QPoint middle = panel.center();
  QVERIFY(Status()->grab().toImage().pixelColor(middle) != kMarkerRed);

  FocusEditor();
  QVERIFY(!FWindow->FileInfo()->Modified);
  Key(Qt::Key_Z);
  QCOMPARE(Text(), QString("zone\r\ntwo\r\n"));
  QTRY_VERIFY(FWindow->FileInfo()->Modified);
  QVERIFY(Status()->Marker());
  QCOMPARE(Status()->MarkerRect(),
           QRect(panel.left() + 4, panel.top() + 6, panel.width() - 9, panel.height() - 13));
  const QImage drawn = Status()->grab().toImage();
  QCOMPARE(drawn.pixelColor(Status()->MarkerRect().topLeft()), kMarkerRed);
  QCOMPARE(drawn.pixelColor(Status()->MarkerRect().bottomRight()), kMarkerRed);
  QVERIFY(drawn.pixelColor(panel.topLeft() + QPoint(2, 2)) != kMarkerRed);
  for (const TEnableRow& row : kEnableTable) QVERIFY2(Enabled(row.Name) == row.Modified, row.Name);
  // The document as loaded still counts: the edit changed no line count.
  QCOMPARE(FWindow->FileInfo()->LineCount(), 2);
}

void TestMainWindow::saveWritesNormalisedLines_data() {
  QTest::addColumn<bool>("byShortcut");
  QTest::addColumn<QString>("tabInterval");
  QTest::addColumn<QString>("loaded");
  QTest::addColumn<QByteArray>("saved");
  QTest::newRow("Ctrl+S, tab of 3") << true << "12"
                                    << "<p>\r\n   x\r\n        y\r\n\r\nend\r\n"
                                    << QByteArray("<p>b\r\n\tx\r\n\t\t  y\r\n\r\nend\r\n");
  QTest::newRow("command 103, tab of 2") << false << "8"
                                         << "<p>\r\n  x\r\n      y\r\n\r\nend\r\n"
                                         << QByteArray("<p>b\r\n\tx\r\n\t\t\ty\r\n\r\nend\r\n");
}

void TestMainWindow::saveWritesNormalisedLines() {
  QFETCH(bool, byShortcut);
  QFETCH(QString, tabInterval);
  QFETCH(QString, loaded);
  QFETCH(QByteArray, saved);
  // Tabs to blanks on loading, so the editor holds leading blanks that the
  // save must turn back into tabs.
  WriteSettings({{"AutoConversion", "1"}, {"TabInterval", tabInterval}});
  Page("a.html", "<p>\n\tx\r\n\t\t  y\r     \r\nend");
  Open();
  QCOMPARE(Text(), loaded);
  FocusEditor();
  Key(Qt::Key_End);
  QTest::keyClicks(Editor()->viewport(), "b  ");
  Key(Qt::Key_Down);
  QTRY_VERIFY(FWindow->FileInfo()->Modified);
  if (byShortcut)
    Key(Qt::Key_S, Qt::ControlModifier);
  else
    FWindow->MenuClick(103);
  QCOMPARE(ReadBytes(Site("a.html")), saved);
  // Nothing the save did to the editor's text may count as an edit later.
  QTest::qWait(50);
  QVERIFY(!FWindow->FileInfo()->Modified);
  QVERIFY(!Status()->Marker());
  QVERIFY(!Enabled("bbtSave"));
  QVERIFY(Enabled("bbtView"));
  QVERIFY(Enabled("ipnFiles"));
  // The caret goes to the start of the row it was on.
  QCOMPARE(Editor()->LineFromChar(), 1);
  QCOMPARE(Editor()->SelStart(), Editor()->LineIndex(1));

  // Cancel after a save brings back the text as saved.
  FocusEditor();
  Key(Qt::Key_Q);
  QTRY_VERIFY(FWindow->FileInfo()->Modified);
  AnswerNextMessage(mrYes);
  Key(Qt::Key_Escape);
  QCOMPARE(Text(), QString::fromUtf8(saved));
  QVERIFY(!FWindow->FileInfo()->Modified);
}

void TestMainWindow::saveFailureKeepsTheEdit() {
  QVERIFY(QDir(Site()).mkdir("site"));
  WriteSettings({{"WorkingDir", Site("site") + "/"}});
  Page("site/a.html", "one\r\n");
  Open();
  FocusEditor();
  Key(Qt::Key_X);
  QTRY_VERIFY(FWindow->FileInfo()->Modified);
  // The folder went away meanwhile (an unplugged disk, say).
  QVERIFY(QDir(Site("site")).removeRecursively());
  const auto gone = AnswerNextMessage(mrYes);
  const auto seen = AnswerNextMessage(mrOk);
  FWindow->MenuClick(103);
  QCOMPARE(gone->Caption, QString("File changed on disk"));
  QVERIFY(seen->Shown);
  QCOMPARE(seen->Caption, QString("File not saved"));
  QVERIFY(FWindow->FileInfo()->Modified);
  QVERIFY(Status()->Marker());
  QCOMPARE(Text(), QString("xone\r\n"));
  QCOMPARE(FWindow->FileInfo()->Baseline.Lines(), TLines{"one"});
  QVERIFY(Enabled("bbtSave"));
  QVERIFY(!Enabled("ipnFiles"));
  QVERIFY2(!QApplication::overrideCursor(), "the hourglass stays after a failed save");

  // Once the folder is back, the same edit saves.
  QVERIFY(QDir(Site()).mkdir("site"));
  AnswerNextMessage(mrYes);
  FWindow->MenuClick(103);
  QCOMPARE(ReadBytes(Site("site/a.html")), QByteArray("xone\r\n"));
  QVERIFY(!FWindow->FileInfo()->Modified);
}

void TestMainWindow::saveKeepsTheEncoding() {
  // Not UTF-8: read as Windows-1252, and written back so.
  Page("a.html", "caf\xe9 \x80\r\n");
  Open();
  QCOMPARE(Text(), QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac\r\n"));
  FocusEditor();
  TypeChar(QString::fromUtf8("\xc3\xbc"));  // u with diaeresis, in the code page
  QTRY_VERIFY(FWindow->FileInfo()->Modified);
  FWindow->MenuClick(103);
  QCOMPARE(ReadBytes(Site("a.html")), QByteArray("\xfc"
                                                 "caf\xe9 \x80\r\n"));

  // A character the code page has no place for is refused, and nothing is
  // written or lost.
  TypeChar(QString::fromUtf8("\xc5\x82"));  // l with stroke
  QTRY_VERIFY(FWindow->FileInfo()->Modified);
  const auto seen = AnswerNextMessage(mrOk);
  FWindow->MenuClick(103);
  QVERIFY(seen->Shown);
  QCOMPARE(seen->Caption, QString("File not saved"));
  QCOMPARE(ReadBytes(Site("a.html")), QByteArray("\xfc"
                                                 "caf\xe9 \x80\r\n"));
  QVERIFY(FWindow->FileInfo()->Modified);
  QVERIFY(Text().contains(QString::fromUtf8("\xc5\x82")));
}

void TestMainWindow::escapeRestores() {
  Page("a.html", "one\r\ntwo\r\n");
  Open();
  FocusEditor();
  // Clean: Esc asks nothing.
  const auto idle = WatchForMessage();
  Key(Qt::Key_Escape);
  ExpectNoMessage(idle);
  QCOMPARE(Text(), QString("one\r\ntwo\r\n"));

  Key(Qt::Key_X);
  QTRY_VERIFY(FWindow->FileInfo()->Modified);
  const auto no = AnswerNextMessage(mrNo);
  Key(Qt::Key_Escape);
  QVERIFY(no->Shown);
  QCOMPARE(no->Text, QString("Undo all changes and restore original?"));
  QCOMPARE(no->Caption, QString("Cancel all changes"));
  QCOMPARE(no->FocusButton, QString("&No"));
  QCOMPARE(Text(), QString("xone\r\ntwo\r\n"));
  QVERIFY(FWindow->FileInfo()->Modified);
  QVERIFY(Status()->Marker());

  const auto yes = AnswerNextMessage(mrYes);
  Key(Qt::Key_Escape);
  QVERIFY(yes->Shown);
  QCOMPARE(Text(), QString("one\r\ntwo\r\n"));
  QVERIFY(!FWindow->FileInfo()->Modified);
  QVERIFY(!Status()->Marker());
  QVERIFY(!Enabled("bbtCancel"));
  QVERIFY(Enabled("ipnFiles"));
  // Restoring is not an edit, and the file on disk was never touched.
  QTest::qWait(50);
  QVERIFY(!FWindow->FileInfo()->Modified);
  QCOMPARE(ReadBytes(Site("a.html")), QByteArray("one\r\ntwo\r\n"));
}

void TestMainWindow::fileStepping() {
  Page("a.html", "A\r\n");
  Page("b.html", "B\r\n");
  Page("c.html", "C\r\n");
  Open();
  FocusEditor();
  const auto step = [this](Qt::Key key, const char* expected) {
    Key(key, Qt::ControlModifier);
    QCOMPARE(FWindow->FileInfo()->FileName, Site(expected));
    QCOMPARE(List()->currentItem()->text(), QString(expected));
    QCOMPARE(FWindow->windowTitle(), QString("Quillmere 2.60 - ") + expected);
    QVERIFY(EditorHasFocus());
    QVERIFY(!FWindow->FileInfo()->Modified);
  };
  step(Qt::Key_Down, "b.html");
  QCOMPARE(Text(), QString("B\r\n"));
  step(Qt::Key_Down, "c.html");
  step(Qt::Key_Down, "c.html");
  step(Qt::Key_Up, "b.html");
  step(Qt::Key_Up, "a.html");
  step(Qt::Key_Up, "a.html");
  if (QTest::currentTestFailed()) return;

  Key(Qt::Key_Down, Qt::ControlModifier);
  Key(Qt::Key_X);
  QTRY_VERIFY(FWindow->FileInfo()->Modified);
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up}) {
    Key(key, Qt::ControlModifier);
    QCOMPARE(FWindow->FileInfo()->FileName, Site("b.html"));
    QCOMPARE(List()->currentRow(), 1);
    QCOMPARE(Text(), QString("xB\r\n"));
    QVERIFY(FWindow->FileInfo()->Modified);
  }
}

void TestMainWindow::blockIndent_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QString>("tabInterval");
  QTest::addColumn<int>("selStart");
  QTest::addColumn<int>("selLength");
  QTest::addColumn<QString>("keys");  // R for Alt+Right, L for Alt+Left
  QTest::addColumn<QByteArray>("expected");
  QTest::addColumn<int>("endStart");
  QTest::addColumn<int>("endLength");
  const QByteArray five = "l1\r\nl2\r\nl3\r\nl4\r\nl5\r\n";
  // Lines 2 to 4, from the start of line 2 to the start of line 5.
  QTest::newRow("indent lines 2-4")
      << five << "12" << 4 << 12 << "R" << QByteArray("l1\r\n\tl2\r\n\tl3\r\n\tl4\r\nl5\r\n") << 2
      << 16;
  QTest::newRow("indent and outdent") << five << "12" << 4 << 12 << "RL" << five << 2 << 13;
  QTest::newRow("indent twice") << five << "12" << 4 << 12 << "RR"
                                << QByteArray("l1\r\n\t\tl2\r\n\t\tl3\r\n\t\tl4\r\nl5\r\n") << 2
                                << 19;
  QTest::newRow("from char 0") << five << "12" << 0 << 7 << "R"
                               << QByteArray("l1\r\n\tl2\r\nl3\r\nl4\r\nl5\r\n") << 0 << 8;
  QTest::newRow("from char 1") << five << "12" << 1 << 6 << "R"
                               << QByteArray("l1\r\n\tl2\r\nl3\r\nl4\r\nl5\r\n") << 1 << 7;
  QTest::newRow("tab then unit") << QByteArray("a\r\n\t   x\r\nb\r\n") << "12" << 3 << 7 << "L"
                                 << QByteArray("a\r\nx\r\nb\r\n") << 1 << 4;
  QTest::newRow("one unit of two") << QByteArray("a\r\n      x\r\nb\r\n") << "12" << 3 << 9 << "L"
                                   << QByteArray("a\r\n   x\r\nb\r\n") << 1 << 7;
  QTest::newRow("tab width 0: tabs only")
      << QByteArray("a\r\n\t  x\r\n    y\r\nb\r\n") << "0" << 3 << 13 << "L"
      << QByteArray("a\r\n  x\r\n    y\r\nb\r\n") << 1 << 13;
}

void TestMainWindow::blockIndent() {
  QFETCH(QByteArray, text);
  QFETCH(QString, tabInterval);
  QFETCH(int, selStart);
  QFETCH(int, selLength);
  QFETCH(QString, keys);
  QFETCH(QByteArray, expected);
  QFETCH(int, endStart);
  QFETCH(int, endLength);
  WriteSettings({{"AutoConversion", "2"}, {"TabInterval", tabInterval}});
  Page("page.html", text);
  Open();
  QCOMPARE(Editor()->TabWidth(), tabInterval.toInt());
  QCOMPARE(Editor()->TextBytes(), text.toStdString());
  FocusEditor();
  FWindow->SelectChars(selStart, selLength);
  for (QChar k : keys) Key(k == 'R' ? Qt::Key_Right : Qt::Key_Left, Qt::AltModifier);
  QCOMPARE(QByteArray::fromStdString(Editor()->TextBytes()), expected);
  QCOMPARE(Editor()->SelStart(), endStart);
  QCOMPARE(Editor()->SelLength(), endLength);
  QTRY_COMPARE(FWindow->FileInfo()->Modified, true);
}

// The site window opens on the working folder; names it converts show in
// the file list once it has closed.
void TestMainWindow::maintenanceOpensTheSiteWindow() {
  Page("Page.HTM", "<p>a</p>\r\n");
  Open();
  QVERIFY(Enabled("bbtMaint"));
  QString localRoot;
  QTimer::singleShot(0, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w || w->objectName() != "frmWalkTree") return;
    localRoot = w->findChild<QLineEdit*>("edtLocalRoot")->text();
    w->findChild<QPushButton*>("bbtList")->click();
    w->findChild<QPushButton*>("bbtCase")->click();
    w->close();
  });
  QTest::mouseClick(Control<QPushButton>("bbtMaint"), Qt::LeftButton);
  QCOMPARE(localRoot, Site() + "/");
  QCOMPARE(List()->count(), 1);
  QCOMPARE(List()->item(0)->text(), QString("page.htm"));
}

void TestMainWindow::closeWithChanges() {
  Page("a.html", "one\r\n");
  Open();
  const QByteArray iniBefore = ReadBytes(IniPath());
  FocusEditor();
  Key(Qt::Key_X);
  QTRY_VERIFY(FWindow->FileInfo()->Modified);

  for (TMsgSeenPtr seen : {AnswerNextMessage(mrNo), CloseNextMessage()}) {
    QVERIFY(!FWindow->close());
    QVERIFY(seen->Shown);
    QCOMPARE(seen->Text, QString("Close the application and lose all changes?"));
    QCOMPARE(seen->Caption, QString("Document has been changed"));
    QCOMPARE(seen->FocusButton, QString("&No"));
    QVERIFY(FWindow->isVisible());
    QCOMPARE(Text(), QString("xone\r\n"));
    QVERIFY(FWindow->FileInfo()->Modified);
    QVERIFY(Status()->Marker());
    QVERIFY(Enabled("bbtSave"));
    QCOMPARE(ReadBytes(IniPath()), iniBefore);
  }

  AnswerNextMessage(mrYes);
  QVERIFY(FWindow->close());
  QVERIFY(!FWindow->isVisible());
  QCOMPARE(ReadBytes(Site("a.html")), QByteArray("one\r\n"));
  const auto ini = IniValues();
  QCOMPARE(ini.value("WorkingDir"), Site() + "/");
  QCOMPARE(ini.value("TabInterval"), QString("12"));
  QCOMPARE(ini.value("FileMask"), QString("*.htm*;*.txt;"));
  QCOMPARE(ini.value("Width"), QString::number(FWindow->width()));
  QCOMPARE(ini.value("Height"), QString::number(FWindow->height()));
  QCOMPARE(ini.value("Left"), QString::number(FWindow->geometry().left()));
  QCOMPARE(ini.value("Top"), QString::number(FWindow->geometry().top()));
  QCOMPARE(ini.value("HTMLOpen"), QString("FALSE"));
  QCOMPARE(ini.value("SpecCharOpen"), QString("FALSE"));
}

void TestMainWindow::settingsNotWritable() {
  Page("a.html", "one\r\n");
  Open();
  // Something that is no file stands where the settings go.
  QVERIFY(QFile::remove(IniPath()));
  QVERIFY(QDir().mkdir(IniPath()));
  const auto warning = AnswerNextMessage(mrOk);
  const auto stay = AnswerNextMessage(mrNo);
  QVERIFY(!FWindow->close());
  QVERIFY(warning->Shown);
  QCOMPARE(warning->Caption, QString("Settings not saved"));
  QVERIFY(stay->Shown);
  QCOMPARE(stay->Text, QString("Close without saving the settings?"));
  QVERIFY(FWindow->isVisible());
  QVERIFY(!QApplication::overrideCursor());

  AnswerNextMessage(mrOk);
  AnswerNextMessage(mrYes);
  QVERIFY(FWindow->close());
  QVERIFY(!FWindow->isVisible());
  QCOMPARE(PendingMessageAnswers(), 0);
}

void TestMainWindow::commandLineFile_data() {
  QTest::addColumn<QString>("arg");  // relative to the temporary folder
  QTest::addColumn<QString>("folder");
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("message");  // said before the window is used; empty for none
  QTest::newRow("file in another folder") << "other/zeta.html"
                                          << "other"
                                          << "zeta.html" << "";
  QTest::newRow("dotted path") << "site/../other/zeta.html"
                               << "other"
                               << "zeta.html" << "";
  QTest::newRow("names nothing") << "other/missing.html"
                                 << "site"
                                 << "a.html" << "missing.html\": No such file or directory.";
  QTest::newRow("a folder") << "other"
                            << "other"
                            << "alpha.html" << "";
  QTest::newRow("a folder, trailing slash") << "other/"
                                            << "other"
                                            << "alpha.html" << "";
}

void TestMainWindow::commandLineFile() {
  QFETCH(QString, arg);
  QFETCH(QString, folder);
  QFETCH(QString, file);
  QFETCH(QString, message);
  QDir root(Site());
  QVERIFY(root.mkdir("site") && root.mkdir("other"));
  WriteSettings({{"WorkingDir", Site("site") + "/"}});
  Page("site/a.html", "a\r\n");
  Page("site/b.html", "b\r\n");
  Page("other/alpha.html", "alpha\r\n");
  Page("other/zeta.html", "zeta\r\n");
  if (message.isEmpty()) {
    const auto idle = WatchForMessage();
    Open({Site(arg)});
    ExpectNoMessage(idle);
  } else {
    // Answered at the first activation; the offscreen platform does not
    // give the window the focus back after it.
    const auto seen = AnswerNextMessage(mrOk);
    F->Show({Site(arg)});
    FWindow = F->Window();
    QTRY_VERIFY(seen->Shown);
    QCOMPARE(seen->Caption, QString("Not opened"));
    QVERIFY2(seen->Text.endsWith(message), qPrintable(seen->Text));
  }
  QCOMPARE(Environment->WorkingDir, Site(folder) + "/");
  QCOMPARE(List()->currentItem()->text(), file);
  QCOMPARE(FWindow->FileInfo()->FileName, Site(folder + "/" + file));
  QCOMPARE(FWindow->windowTitle(), "Quillmere 2.60 - " + file);
  QCOMPARE(Text(), file.section('.', 0, 0) + "\r\n");
  QVERIFY(!FWindow->FileInfo()->Modified);
}

void TestMainWindow::unreadablePage() {
  Page("a.html", "A\r\n");
  Page("b.html", "B\r\n");
  Page("c.html", "C\r\n");
  Open();
  // Listed as a file, a folder by the time it is opened.
  QVERIFY(QFile::remove(Site("b.html")));
  QVERIFY(QDir(Site()).mkdir("b.html"));
  const auto seen = AnswerNextMessage(mrOk);
  List()->setCurrentRow(1);
  QVERIFY(seen->Shown);
  QCOMPARE(seen->Caption, QString("File not loaded"));
  QVERIFY2(seen->Text.contains("b.html"), qPrintable(seen->Text));
  QCOMPARE(FWindow->FileInfo()->FileName, Site("a.html"));
  QCOMPARE(Text(), QString("A\r\n"));
  QCOMPARE(List()->currentRow(), 0);
  QCOMPARE(FWindow->windowTitle(), QString("Quillmere 2.60 - a.html"));
  QVERIFY(!FWindow->FileInfo()->Modified);
  QVERIFY(Enabled("ipnFiles"));
  QVERIFY2(!QApplication::overrideCursor(), "the hourglass stays after a failed load");

  // A page removed after the list was read is no document, and that is not
  // reported.
  QVERIFY(QFile::remove(Site("c.html")));
  const auto idle = WatchForMessage();
  List()->setCurrentRow(2);
  ExpectNoMessage(idle);
  QVERIFY(FWindow->FileInfo()->FileName.isEmpty());
  QCOMPARE(Editor()->TextLength(), 0);
  QVERIFY(!Enabled("bbtSave"));
  QVERIFY(!Enabled("bbtView"));
  QVERIFY(Enabled("ipnFiles"));

  // Whatever failed before, the next good page opens.
  List()->setCurrentRow(0);
  QCOMPARE(FWindow->FileInfo()->FileName, Site("a.html"));
  QCOMPARE(Text(), QString("A\r\n"));
}

void TestMainWindow::syntaxColouring() {
  Page("a.html", "<p>a</p>\r\n");
  Page("b.css", "p { }\r\n");
  Page("c.txt", "c\r\n");
  WriteSettings({{"FileMask", "*.html;*.css;*.txt;"}});
  Open();
  const auto lexer = [this] {
    QsciLexer* l = Editor()->lexer();
    return l ? QString(l->metaObject()->className()) : QString();
  };
  QCOMPARE(lexer(), QString("QsciLexerHTML"));
  QVERIFY(FWindow->windowIcon().isNull() == false);
  QVERIFY(!QApplication::windowIcon().pixmap(32).isNull());
  List()->setCurrentRow(1);
  QCOMPARE(lexer(), QString("QsciLexerCSS"));
  List()->setCurrentRow(2);
  QCOMPARE(lexer(), QString());

  // The View menu's tick switches it for the page shown and the next ones.
  auto* tick = FWindow->findChild<QAction*>("menViewSyntax");
  List()->setCurrentRow(0);
  FWindow->MenuClick(500);
  QVERIFY(tick->isCheckable() && tick->isChecked());
  tick->trigger();
  QCOMPARE(lexer(), QString());
  List()->setCurrentRow(1);
  QCOMPARE(lexer(), QString());
  FWindow->MenuClick(500);
  QVERIFY(!tick->isChecked());
  QVERIFY(FWindow->close());
  QVERIFY(ReadBytes(IniPath()).contains("\r\nSyntaxHighlight=FALSE\r\n"));

  Open();
  QCOMPARE(lexer(), QString());
  FWindow->findChild<QAction*>("menViewSyntax")->trigger();
  QCOMPARE(lexer(), QString("QsciLexerHTML"));
}

void TestMainWindow::readOuts() {
  WriteSettings({{"AutoConversion", "2"}});
  Page("a.html", "first\r\nabc\r\n\tlast\r\n");
  Open();
  auto* size = Control<QLabel>("lblSizeVal");
  auto* lines = Control<QLabel>("lblLinesVal");
  auto* cursor = Control<QLabel>("lblCursorVal");
  // Loading reports the caret at the start.
  QCOMPARE(size->text(), QString("19"));
  QCOMPARE(lines->text(), QString("3 : 5"));
  QCOMPARE(cursor->text(), QString("1 : 1"));
  FocusEditor();
  Key(Qt::Key_Down);
  QCOMPARE(lines->text(), QString("3 : 3"));
  QCOMPARE(cursor->text(), QString("2 : 1"));
  QCOMPARE(FWindow->CurrentRow(), 2);
  Key(Qt::Key_Down);
  Key(Qt::Key_Right);
  // A tab counts one column.
  QCOMPARE(cursor->text(), QString("3 : 2"));
  QCOMPARE(lines->text(), QString("3 : 5"));
  Key(Qt::Key_Q);
  QCOMPARE(size->text(), QString("20"));
  QCOMPARE(lines->text(), QString("3 : 6"));
  QCOMPARE(cursor->text(), QString("3 : 3"));
  Key(Qt::Key_Return);
  QCOMPARE(lines->text(), QString("4 : 4"));
  QCOMPARE(cursor->text(), QString("4 : 1"));
  QCOMPARE(size->text(), QString("22"));
  // Characters are counted, not the bytes of their UTF-8 form.
  TypeChar(QString::fromUtf8("\xe2\x82\xac"));
  QCOMPARE(size->text(), QString("23"));
  QCOMPARE(lines->text(), QString("4 : 5"));
  QCOMPARE(cursor->text(), QString("4 : 2"));
}

void TestMainWindow::springsBack() {
  Page("a.html", "a\r\n");
  Open();
  QCOMPARE(FWindow->size(), QSize(800, 534));
  FWindow->resize(600, 300);
  QTRY_COMPARE(FWindow->size(), QSize(MinMainWidth, MinMainHeight));
  QCOMPARE(Environment->Width, MinMainWidth);
  QCOMPARE(Environment->Height, MinMainHeight);
  FWindow->resize(900, 650);
  QTRY_COMPARE(FWindow->size(), QSize(900, 650));
  QCOMPARE(Environment->Width, 900);
  QCOMPARE(Environment->Height, 650);
  // The editor follows: its read-outs stay directly under it.
  auto* positions = Control<QWidget>("pnlPositions");
  QCOMPARE(positions->y(), Editor()->geometry().bottom());
  QCOMPARE(positions->width(), Editor()->width());

  // A clean window closes without a question and keeps its size.
  const auto idle = WatchForMessage();
  QVERIFY(FWindow->close());
  ExpectNoMessage(idle);
  QCOMPARE(IniValues().value("Width"), QString("900"));
  QCOMPARE(IniValues().value("Height"), QString("650"));
}

void TestMainWindow::clipboardCommands() {
  Page("a.html", "some text\r\n");
  Open();
  QApplication::clipboard()->setText("pasted");
  FocusEditor();
  QVERIFY(!Enabled("menEditCut"));
  QVERIFY(!Enabled("menEditCopy"));
  QVERIFY(Enabled("menEditPaste"));
  Key(Qt::Key_Right, Qt::ShiftModifier);
  QVERIFY(Enabled("menEditCut"));
  QVERIFY(Enabled("menEditCopy"));
  Key(Qt::Key_Left);
  QVERIFY(!Enabled("menEditCopy"));

  // (An empty clipboard reads as none on some platforms, which leaves
  // Paste on; an empty text is empty everywhere.)
  QApplication::clipboard()->setText(QString());
  Key(Qt::Key_Right);
  QVERIFY(!Enabled("menEditPaste"));
  // Elsewhere than in the editor and the search boxes, all three are off.
  QApplication::clipboard()->setText("pasted");
  Key(Qt::Key_Right, Qt::ShiftModifier);
  QVERIFY(Enabled("menEditCopy"));
  List()->setFocus();
  QTRY_VERIFY(List()->hasFocus());
  for (const char* name : {"menEditCut", "menEditCopy", "menEditPaste"})
    QVERIFY2(!Enabled(name), name);
}

void TestMainWindow::ctrlFGoesToSearch_data() {
  QTest::addColumn<QString>("from");
  QTest::newRow("editor") << "memEdit";
  QTest::newRow("file list") << "flbPages";
  QTest::newRow("replace box") << "cmbReplace";
}

void TestMainWindow::ctrlFGoesToSearch() {
  QFETCH(QString, from);
  Page("a.html", "find me\r\n");
  Open();
  auto* search = Control<QComboBox>("cmbSearch");
  auto* findFirst = Control<QCheckBox>("ckbFindFirst");
  QVERIFY(findFirst->isChecked());
  findFirst->setChecked(false);
  QWidget* source = Control<QWidget>(qPrintable(from));
  QWidget* target = source;
  if (source == Editor()) target = Editor()->viewport();
  if (auto* combo = qobject_cast<QComboBox*>(source)) target = combo->lineEdit();
  source->setFocus();
  QTRY_VERIFY(QApplication::focusWidget() &&
              (QApplication::focusWidget() == target || QApplication::focusWidget() == source));
  // Keys go where the focus is, as the user's would.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
  QWidget* focus = QApplication::focusWidget();
  QVERIFY(focus && (focus == search || search->isAncestorOf(focus)));
  QVERIFY(findFirst->isChecked());
  QCOMPARE(Text(), QString("find me\r\n"));
  QVERIFY(!FWindow->FileInfo()->Modified);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
