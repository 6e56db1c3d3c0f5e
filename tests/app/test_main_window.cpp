// The main window driven as a user would: loading, editing, saving, closing
// and the faults users met, over a temporary site.
#define signals Q_SIGNALS
#define slots Q_SLOTS
#include <Qsci/qscilexer.h>
#undef signals
#undef slots

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/command_table.h"
#include "app/file_panel.h"
#include "app/status_panels.h"
#include "components/edit_controls.h"
#include "components/file_names.h"
#include "config/environment.h"
#include "doc/edit_file_info.h"
#include "file_bytes.h"
#include "msg_answer.h"
#include "search/results_window.h"
#include "window_fixture.h"

namespace {

TStatusPanels* Status(const TWindowFixture& w) { return w.Control<TStatusPanels>("stbStatus"); }

QString Lexer(const TWindowFixture& w) {
  QsciLexer* l = w.Editor()->lexer();
  return l ? QString(l->metaObject()->className()) : QString();
}

bool EditorHasFocus(const TWindowFixture& w) {
  QWidget* f = QApplication::focusWidget();
  return f && (f == w.Editor() || f == w.Editor()->viewport());
}

bool IniHas(const QString& line) {
  return ReadBytes(TWindowFixture::IniPath()).contains("\r\n" + line.toUtf8() + "\r\n");
}

// The controls of names that are off.
QStringList Off(const TWindowFixture& w, const QStringList& names) {
  QStringList off;
  for (const QString& name : names)
    if (!w.Enabled(qPrintable(name))) off << name;
  return off;
}

void SendKey(TWindowFixture& w, QEvent::Type type, bool repeat) {
  QKeyEvent e(type, Qt::Key_Right, Qt::AltModifier, QString(), repeat);
  QApplication::sendEvent(w.Editor()->viewport(), &e);
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void firstPageLoadedAndEdited() {
    TWindowFixture w;
    w.Page("b.html", "<p>b</p>\r\n");
    w.Page("a.html", "<html>\r\n  <body>   \r\n\tx\r\n</html>\r\n");
    w.Page("logo.png", "png");
    w.Page("sub folder/x.txt", "x");
    w.Open();
    QVERIFY2(!QApplication::overrideCursor(), "the hourglass stays after the first activation");
    QCOMPARE(w.List()->count(), 2);
    QCOMPARE(w.List()->currentRow(), 0);
    QCOMPARE(w.Doc()->FileName, w.Site("a.html"));
    QCOMPARE(Environment->WorkingDir, w.Site() + "/");
    // Loaded with a tab of 3 and blanks to tabs: two blanks stay blanks.
    QCOMPARE(w.Text(), QString("<html>\r\n  <body>\r\n\tx\r\n</html>\r\n"));
    QCOMPARE(w.Control<TIntEdit>("iedGoto")->MaxValue(), 4);
    // The folder tree shows the site, its folders read.
    const QModelIndex here = w.Control<TFolderList>("dilDir")->currentIndex();
    QCOMPARE(here.data().toString(), QFileInfo(w.Site()).fileName());
    QCOMPARE(here.model()->index(0, 0, here).data().toString(), QString("sub folder"));
    const QStringList lockedByAnEdit = {"ipnFiles", "bbtMaint", "menFileNew", "bbtSettings"};
    QCOMPARE(Off(w, lockedByAnEdit + QStringList{"bbtSave"}), QStringList{"bbtSave"});
    QVERIFY(!Status(w)->Marker());

    w.FocusEditor();
    w.Key(Qt::Key_Z);
    QCOMPARE(w.Text(), QString("z<html>\r\n  <body>\r\n\tx\r\n</html>\r\n"));
    QTRY_VERIFY(w.Modified());
    QVERIFY(Status(w)->Marker());
    QCOMPARE(Off(w, lockedByAnEdit + QStringList{"bbtSave"}), lockedByAnEdit);
  }

  // Without a page the document commands are off and ask nothing.
  void noPage() {
    TWindowFixture w;
    QVERIFY(QDir(w.Site()).mkdir("sub.html"));
    w.Open();
    QCOMPARE(w.List()->count(), 0);
    QVERIFY(w.Doc()->FileName.isEmpty());
    const QStringList pageCommands = {"menFileDelete", "menPopRename", "bbtMaint", "bbtView"};
    QCOMPARE(Off(w, pageCommands + QStringList{"ipnFiles"}), pageCommands);
    const auto none = AnswerNextMessage(mrNo, 500);
    w.Command(cmdFileDelete);
    w.Command(cmdFileRename);
    QVERIFY2(!none->Shown, qPrintable(none->Text));

    w.Page("p.html", "p\r\n");
    w.Window()->RefreshFileList();
    QCOMPARE(Off(w, pageCommands), QStringList());
  }

  void saveAndEscape() {
    // Tabs to blanks on loading: the save must turn leading blanks back into tabs.
    TWindowFixture w;
    w.WriteSettings({{"AutoConversion", "1"}});
    w.Page("a.html", "<p>\n\tx\r\n\t\t  y\r     \r\nend");
    w.Open();
    QCOMPARE(w.Text(), QString("<p>\r\n   x\r\n        y\r\n\r\nend\r\n"));
    w.FocusEditor();
    const auto idle = AnswerNextMessage(mrYes, 500);
    w.Key(Qt::Key_Escape);
    QVERIFY2(!idle->Shown, "Esc on a clean page asked");
    ClearMessageAnswers();
    w.Key(Qt::Key_End);
    QTest::keyClicks(w.Editor()->viewport(), "b  ");
    w.Key(Qt::Key_Down);
    QTRY_VERIFY(w.Modified());
    const auto no = AnswerNextMessage(mrNo);
    w.Key(Qt::Key_Escape);
    QCOMPARE(no->FocusButton, QString("&No"));
    QVERIFY(w.Modified());
    w.SaveByKey();
    const QByteArray saved = "<p>b\r\n\tx\r\n\t\t  y\r\n\r\nend\r\n";
    QCOMPARE(ReadBytes(w.Site("a.html")), saved);
    QTest::qWait(50);  // nothing the save did to the text may count as an edit later
    QVERIFY(!w.Modified());
    QVERIFY(!Status(w)->Marker());
    QVERIFY(w.Enabled("ipnFiles"));
    // The caret goes to the start of the row it was on.
    QCOMPARE(w.Editor()->SelStart(), w.Editor()->LineIndex(1));

    // Esc after a save brings back the text as saved.
    w.Edit("q");
    AnswerNextMessage(mrYes);
    w.Key(Qt::Key_Escape);
    QCOMPARE(w.Text(), QString::fromUtf8(saved));
    QVERIFY(!Status(w)->Marker());
    QVERIFY(w.Enabled("ipnFiles"));
    QTest::qWait(50);  // restoring is no edit
    QVERIFY(!w.Modified());
  }

  void saveKeepsTheEncoding() {
    // Not UTF-8: read as Windows-1252, and written back so.
    TWindowFixture w;
    w.Page("a.html", "caf\xe9 \x80\r\n");
    w.Open();
    QCOMPARE(w.Text(), QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac\r\n"));
    w.Edit(QString::fromUtf8("\xc3\xbc"));
    w.Command(cmdFileSave);
    const QByteArray saved = QByteArray("\xfc") + "caf\xe9 \x80\r\n";
    QCOMPARE(ReadBytes(w.Site("a.html")), saved);
    // A character the code page has no place for is named, and nothing is
    // written or lost.
    w.Edit(QString::fromUtf8("\xc5\x82"));
    const auto seen = AnswerNextMessage(mrOk);
    w.Command(cmdFileSave);
    QCOMPARE(seen->Caption, QString("File not saved"));
    QVERIFY2(seen->Text.contains("U+0142"), qPrintable(seen->Text));
    QCOMPARE(ReadBytes(w.Site("a.html")), saved);
    QVERIFY(w.Modified());
  }

  void fileSteppingAndVanishedPages() {
    TWindowFixture w;
    for (const char* name : {"a.html", "b.html", "c.html"}) w.Page(name, name);
    w.Open();
    w.FocusEditor();
    const auto step = [&](Qt::Key key, const char* expected) {
      w.Key(key, Qt::ControlModifier);
      QCOMPARE(w.Doc()->FileName, w.Site(expected));
      QCOMPARE(w.Text(), QString(expected) + "\r\n");
      QVERIFY(EditorHasFocus(w));
      QVERIFY(!w.Modified());
    };
    step(Qt::Key_Down, "b.html");
    step(Qt::Key_Down, "c.html");
    step(Qt::Key_Down, "c.html");
    step(Qt::Key_Up, "b.html");
    step(Qt::Key_Up, "a.html");
    // An edit holds the page.
    w.Edit("x");
    w.Key(Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(w.Doc()->FileName, w.Site("a.html"));
    AnswerNextMessage(mrYes);
    w.Key(Qt::Key_Escape);
    // Listed as a file, a folder by the time it is opened.
    QVERIFY(QFile::remove(w.Site("b.html")));
    QVERIFY(QDir(w.Site()).mkdir("b.html"));
    const auto seen = AnswerNextMessage(mrOk);
    w.List()->setCurrentRow(1);
    QVERIFY(seen->Shown);
    QCOMPARE(w.Doc()->FileName, w.Site("a.html"));
    QCOMPARE(w.List()->currentRow(), 0);
    QVERIFY(w.Enabled("ipnFiles"));
    QVERIFY2(!QApplication::overrideCursor(), "the hourglass stays after a failed load");
    // A page removed after the list was read is no document, and not reported.
    QVERIFY(QFile::remove(w.Site("c.html")));
    const auto idle = AnswerNextMessage(mrYes, 500);
    w.List()->setCurrentRow(2);
    QVERIFY2(!idle->Shown, qPrintable(idle->Text));
    QVERIFY(w.Doc()->FileName.isEmpty());
    QVERIFY(!w.Enabled("bbtView"));
    w.List()->setCurrentRow(0);
    QCOMPARE(w.Text(), QString("a.html\r\n"));
  }

  // Alt+Right held indents once; Alt+Left takes the tab and a unit of the
  // page's tab width.
  void blockIndent() {
    TWindowFixture w;
    w.Page("page.html", "x\r\n");
    w.Open();
    w.FocusEditor();
    w.Editor()->SetTabWidth(8);
    w.Editor()->SetTextBytes("a\r\n  b\r\nc\r\n");
    w.Window()->SelectChars(3, 8);
    SendKey(w, QEvent::KeyPress, false);
    for (int i = 0; i < 3; ++i) {
      SendKey(w, QEvent::KeyRelease, true);
      SendKey(w, QEvent::KeyPress, true);
    }
    SendKey(w, QEvent::KeyRelease, false);
    QCOMPARE(w.Text(), QString("a\r\n\t  b\r\n\tc\r\n"));
    w.Key(Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(w.Text(), QString("a\r\nb\r\nc\r\n"));
  }

  void closeWithChanges() {
    TWindowFixture w;
    w.Page("a.html", "one\r\n");
    w.Open();
    // Too small a size springs back.
    w.Window()->resize(600, 300);
    QTRY_COMPARE(w.Window()->size(), QSize(MinMainWidth, MinMainHeight));
    w.Window()->resize(900, 650);
    QTRY_COMPARE(w.Window()->size(), QSize(900, 650));
    const QByteArray iniBefore = ReadBytes(w.IniPath());
    w.Edit("x");
    for (TMsgSeenPtr seen : {AnswerNextMessage(mrNo), CloseNextMessage()}) {
      QVERIFY(!w.Window()->close());
      QCOMPARE(seen->FocusButton, QString("&No"));
      QVERIFY(w.Modified());
      QCOMPARE(ReadBytes(w.IniPath()), iniBefore);
    }
    AnswerNextMessage(mrYes);
    QVERIFY(w.Window()->close());
    QCOMPARE(ReadBytes(w.Site("a.html")), QByteArray("one\r\n"));
    QVERIFY(IniHas("WorkingDir=" + w.Site() + "/"));
    QVERIFY(IniHas("Left=" + QString::number(w.Window()->geometry().left())));
    QVERIFY(IniHas("HTMLOpen=FALSE"));
    QVERIFY(IniHas("Width=900"));
  }

  void commandLineFile_data() {
    QTest::addColumn<QString>("arg");  // relative to the temporary folder
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("message");  // said before the window is used; empty for none
    // clang-format off
    QTest::newRow("file in another folder") << "other/zeta.html" << "other" << "zeta.html" << "";
    QTest::newRow("names nothing") << "other/missing.html" << "site" << "a.html"
                                   << "missing.html\": No such file or directory.";
    QTest::newRow("a folder") << "other/" << "other" << "alpha.html" << "";
    // clang-format on
  }

  void commandLineFile() {
    QFETCH(QString, arg);
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, message);
    TWindowFixture w;
    w.WriteSettings({{"WorkingDir", w.Site("site") + "/"}});
    w.Page("site/a.html", "a\r\n");
    w.Page("other/alpha.html", "alpha\r\n");
    w.Page("other/Zeta.html", "Zeta\r\n");  // the exact name comes first
    w.Page("other/zeta.html", "zeta\r\n");
    // Answered at the first activation, which the offscreen platform does
    // not give back after it.
    const auto seen = AnswerNextMessage(mrOk, message.isEmpty() ? 500 : MsgAnswerTimeoutMs);
    if (message.isEmpty()) {
      w.Open({w.Site(arg)});
      QVERIFY2(!seen->Shown, qPrintable(seen->Text));
    } else {
      w.Show({w.Site(arg)});
      QTRY_VERIFY(seen->Shown);
      QVERIFY2(seen->Text.endsWith(message), qPrintable(seen->Text));
    }
    QCOMPARE(Environment->WorkingDir, w.Site(folder) + "/");
    QCOMPARE(w.List()->currentItem()->text(), file);
    QCOMPARE(w.Doc()->FileName, w.Site(folder + "/" + file));
    QCOMPARE(w.Text(), file.section('.', 0, 0) + "\r\n");
    // Read once, not after the list's first page (a 50 MB page twice), and
    // not again on coming back unchanged.
    QCOMPARE(w.Doc()->ReadCount(), 1);
    w.Reactivate();
    QCOMPARE(w.Doc()->ReadCount(), 1);
  }

  // A line that would take the editor a minute to lay out is shown only when
  // the user says so.
  void veryLongLineAsksFirst() {
    TWindowFixture w;
    w.Page("a.html", "short\r\n");
    w.Page("b.html", "<p>" + QByteArray(1 << 20, 'x') + "</p>");
    w.Open();
    const auto no = AnswerNextMessage(mrNo);
    w.List()->setCurrentRow(1);
    QTRY_VERIFY(no->Shown);
    QVERIFY2(no->Text.startsWith("b.html has a line of 1"), qPrintable(no->Text));
    QCOMPARE(w.Doc()->FileName, w.Site("a.html"));
    AnswerNextMessage(mrYes);
    w.List()->setCurrentRow(1);
    QTRY_COMPARE(w.Doc()->FileName, w.Site("b.html"));
    QCOMPARE(w.Editor()->TextLength(), (1 << 20) + 7 + 2);
  }

  // A page over the size where the long-line question is asked is still
  // opened once: the question comes from the one read, counted here by the
  // system rather than by the program.
  void longLinePageOpenedOnce() {
    TWindowFixture w;
    w.Page("a.html", "short\r\n");
    w.Page("b.html", "<p>" + QByteArray(1 << 20, 'x') + "</p>\r\n" + QByteArray(1 << 20, '\n'));
    w.Open();
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(::inotify_add_watch(watch, QFile::encodeName(w.Site("b.html")), IN_OPEN) >= 0);
    const auto opens = [watch] {
      alignas(inotify_event) char buffer[4096];
      int n = 0;
      for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;)
        for (char* p = buffer; p < buffer + got;
             p += sizeof(inotify_event) + ((inotify_event*)p)->len)
          ++n;
      return n;
    };
    const auto yes = AnswerNextMessage(mrYes);
    w.List()->setCurrentRow(1);
    QTRY_COMPARE(w.Doc()->FileName, w.Site("b.html"));
    QVERIFY(yes->Shown);
    QCOMPARE(opens(), 1);
    ::close(watch);
  }

  void nameNotValidText() {
    TWindowFixture w;
    const QByteArray raw = QFile::encodeName(w.Site()) + "/caf\xe9.html";
    const int fd = ::creat(raw.constData(), 0600);
    QCOMPARE(::write(fd, "bytes\r\n", 7), 7);
    ::close(fd);
    w.Open();
    QCOMPARE(w.List()->item(0)->text(), QString::fromUtf8("caf\xef\xbf\xbd.html"));
    QCOMPARE(PathBytes(w.Control<TFileListBox>("flbPages")->FileName()), raw);
    QCOMPARE(w.Text(), QString("bytes\r\n"));
  }

  void syntaxColouring() {
    TWindowFixture w;
    w.Page("a.html", "<p>a</p>\r\n");
    w.Page("b.css", "p { }\r\n");
    w.WriteSettings({{"FileMask", "*.html;*.css;"}});
    w.Open();
    QCOMPARE(Lexer(w), QString("QsciLexerHTML"));
    // The View menu's tick switches it for the page shown and the next ones.
    w.Window()->findChild<QAction*>("menViewSyntax")->trigger();
    QCOMPARE(Lexer(w), QString());
    w.List()->setCurrentRow(1);
    QCOMPARE(Lexer(w), QString());
    // A clean window closes without a question.
    const auto idle = AnswerNextMessage(mrYes, 500);
    QVERIFY(w.Window()->close());
    QVERIFY(!idle->Shown);
    QVERIFY(IniHas("SyntaxHighlight=FALSE"));
  }

  void readOuts() {
    TWindowFixture w;
    w.WriteSettings({{"AutoConversion", "2"}});
    w.Page("a.html", "first\r\nabc\r\n\tlast\r\n");
    w.Open();
    auto* size = w.Control<QLabel>("lblSizeVal");
    auto* lines = w.Control<QLabel>("lblLinesVal");
    auto* cursor = w.Control<QLabel>("lblCursorVal");
    QCOMPARE(size->text() + " " + lines->text() + " " + cursor->text(), QString("19 3 : 5 1 : 1"));
    w.FocusEditor();
    w.Key(Qt::Key_Down);
    w.Key(Qt::Key_Down);
    w.Key(Qt::Key_Right);  // over a tab, one column
    QCOMPARE(lines->text() + " " + cursor->text(), QString("3 : 5 3 : 2"));
    w.Key(Qt::Key_Return);
    QCOMPARE(size->text() + " " + lines->text() + " " + cursor->text(), QString("21 4 : 4 4 : 1"));
    // Characters are counted, not the bytes of their UTF-8 form.
    w.Type(QString::fromUtf8("\xe2\x82\xac"));
    QCOMPARE(size->text(), QString("22"));
  }

  void toolsetOpenAsLeft() {
    TWindowFixture w;
    w.WriteSettings({{"HTMLOpen", "TRUE"}});
    w.Show();
    QTRY_VERIFY(!w.Window()->Starting());
    bool shown = false;
    for (QWidget* top : QApplication::topLevelWidgets())
      shown |= top->objectName() == "frmHTML" && top->isVisible();
    QVERIFY(shown);
  }

  void clipboardAndDrop() {
    TWindowFixture w;
    w.Page("a.html", "some text\r\n");
    w.Open();
    QApplication::clipboard()->setText("pasted");
    w.FocusEditor();
    w.Key(Qt::Key_Right);
    QVERIFY(!w.Enabled("menEditCopy"));
    QVERIFY(w.Enabled("menEditPaste"));
    w.Key(Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(w.Enabled("menEditCut"));
    // An empty text on the clipboard is nothing to paste.
    QApplication::clipboard()->setText(QString());
    w.Key(Qt::Key_Right);
    QVERIFY(!w.Enabled("menEditPaste"));
    // In a search box its text counts as the selection.
    auto* box = w.Control<QComboBox>("cmbSearch");
    box->setEditText("x");
    box->lineEdit()->setFocus();
    QTRY_VERIFY(box->lineEdit()->hasFocus());
    QVERIFY(w.Enabled("menEditCut"));
    // Elsewhere than in the editor and the search boxes, all three are off.
    QApplication::clipboard()->setText("pasted");
    w.FocusEditor();
    w.Key(Qt::Key_Right, Qt::ShiftModifier);
    w.List()->setFocus();
    QTRY_VERIFY(w.List()->hasFocus());
    QCOMPARE(Off(w, {"menEditCut", "menEditCopy", "menEditPaste"}).size(), 3);
    // A drop from there is an edit like typing.
    QMimeData data;
    data.setText("dropped ");
    QWidget* view = w.Editor()->viewport();
    QDragEnterEvent enter({2, 2}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &enter);
    QDragMoveEvent move({2, 2}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QDropEvent drop({2, 2}, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &drop);
    QCOMPARE(w.Text(), QString("dropped some text\r\n"));
    QTRY_VERIFY(w.Modified());
    QVERIFY(!w.Enabled("flbPages"));
  }

  void ctrlFGoesToSearch() {
    TWindowFixture w;
    w.Page("a.html", "find me\r\n");
    w.Open();
    auto* search = w.Control<QComboBox>("cmbSearch");
    auto* findFirst = w.Control<QCheckBox>("ckbFindFirst");
    for (const char* from : {"memEdit", "flbPages", "cmbReplace"}) {
      findFirst->setChecked(false);
      QWidget* source = w.Control<QWidget>(from);
      source->setFocus();
      QTRY_VERIFY(source->hasFocus() || source->isAncestorOf(QApplication::focusWidget()));
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
      QWidget* focus = QApplication::focusWidget();
      QVERIFY2(focus && (focus == search || search->isAncestorOf(focus)), from);
      QVERIFY2(findFirst->isChecked(), from);
    }
    QVERIFY(!w.Modified());
  }

  // The site window opens on the working folder; names it converts show in
  // the file list once it has closed.
  void maintenanceOpensTheSiteWindow() {
    TWindowFixture w;
    w.Page("Page.HTM", "<p>a</p>\r\n");
    w.Open();
    QString localRoot;
    QTimer::singleShot(0, [&] {
      QWidget* site = QApplication::activeModalWidget();
      if (!site || site->objectName() != "frmWalkTree") return;
      localRoot = site->findChild<QLineEdit*>("edtLocalRoot")->text();
      site->findChild<QPushButton*>("bbtList")->click();
      site->findChild<QPushButton*>("bbtCase")->click();
      site->close();
    });
    w.Click("bbtMaint");
    QCOMPARE(localRoot, w.Site() + "/");
    QCOMPARE(w.List()->item(0)->text(), QString("page.htm"));
  }

  void searchBarUsesTheStoredText() {
    TWindowFixture w;
    w.WriteSettings({{"SaveSearch", "TRUE"},
                     {"LastSearch", "a"},
                     {"Replace", "xy"},
                     {"QueryReplace", "FALSE"}});
    w.Page("p.html", "a b a\r\n");
    w.Open();
    w.Click("bbtReplaceAll");
    QCOMPARE(w.Text(), QString("xy b xy\r\n"));
  }

  void hitOpensOnItsLoadedLine() {
    TWindowFixture w;
    w.WriteSettings({{"DelEmptyLines", "TRUE"}});
    w.Page("a.html", "a\r\n");
    w.Page("b.html", "one\r\n\r\n  \t\r\ntwo\r\n\r\nfind me\r\n");
    w.Open();
    w.Control<QComboBox>("cmbSearch")->setEditText("find");
    w.Control<QCheckBox>("ckbSearchAll")->setChecked(true);
    w.Click("bbtSearch");
    TfrmResults* results = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* r = qobject_cast<TfrmResults*>(top)) results = r;
    QVERIFY(results);
    results->lbxResults->setCurrentRow(0);
    w.Window()->MyOnClickHandler(results);
    QCOMPARE(w.Text(), QString("one\r\ntwo\r\nfind me\r\n"));
    QCOMPARE(w.Editor()->LineFromChar(), 2);
    results->close();
  }
};

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
