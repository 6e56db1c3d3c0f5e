// The main window's commands on a shown window over a temporary site: file
// commands, desktop calls, clipboard, tool windows and the HTML aids.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "app/command_table.h"
#include "app/file_panel.h"
#include "config/environment.h"
#include "config/ini_helpers.h"
#include "doc/edit_file_info.h"
#include "file_bytes.h"
#include "html/choice_list_window.h"
#include "msg_answer.h"
#include "window_fixture.h"

namespace {

QString TemplatePath() {
  return qEnvironmentVariable("XDG_CONFIG_HOME") + "/quillmere/template.htm";
}

const QByteArray TemplateText = "<HTML>\r\n<BODY>template</BODY>\r\n</HTML>\r\n";
const QByteArray PageText = "<P>page</P>\r\n";

TfrmChoiceList* ToolWindow(const QString& name) {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == name) return qobject_cast<TfrmChoiceList*>(w);
  return nullptr;
}

}  // namespace

class TestCommands : public QObject {
  Q_OBJECT
 private:
  // Writes the site's pages, starts the window and puts in the save dialog's
  // stand-in, which records its titles and answers FDialogAnswer.
  void Start(const QList<QPair<QString, QByteArray>>& pages);
  QString Site(const QString& name = {}) const { return F->Site(name); }

  std::unique_ptr<TWindowFixture> F;
  QStringList FDialogTitles;
  QString FDialogAnswer;  // empty: cancelled

 private Q_SLOTS:
  void init() {
    F = std::make_unique<TWindowFixture>();
    // The defaults of every other setting hold here.
    WriteBytes(F->IniPath(), "[Settings]\nWorkingDir=" + Site().toUtf8() + "/\n");
    WriteBytes(TemplatePath(), TemplateText);
    FDialogTitles.clear();
    FDialogAnswer.clear();
  }

  void cleanup() { F.reset(); }

  void newFileTwiceAndMissingTemplate() {
    Start({{"index.html", PageText}});
    F->Command(cmdFileNew);
    QCOMPARE(ReadBytes(Site("__noname.html")), TemplateText);
    // The list is read again and its first entry loaded.
    QCOMPARE(F->Doc()->FileName, Site("__noname.html"));

    WriteBytes(Site("__noname.html"), "<P>mine</P>\r\n");
    const auto stop = AnswerNextMessage(mrOk);
    F->Command(cmdFileNew);
    QCOMPARE(stop->Kind, mkStop);
    QCOMPARE(ReadBytes(Site("__noname.html")), QByteArray("<P>mine</P>\r\n"));

    QVERIFY(QFile::remove(Site("__noname.html")));
    QVERIFY(QFile::remove(TemplatePath()));
    const auto warning = AnswerNextMessage(mrOk);
    F->Command(cmdFileNew);
    QCOMPARE(warning->Text, "Can't find \"" + TemplatePath() + "\" to copy.");
    QVERIFY(!QFileInfo::exists(Site("__noname.html")));
  }

  void deleteAsks() {
    Start({{"a.html", PageText}, {"b.html", PageText}});
    const auto no = AnswerNextMessage(mrNo);
    F->Command(cmdFileDelete);
    QCOMPARE(no->Text, "Delete " + Site("a.html") + "?");
    QVERIFY(QFileInfo::exists(Site("a.html")));
    AnswerNextMessage(mrYes);
    F->Command(cmdFileDelete);
    QCOMPARE(EntriesOf(Site()), QStringList{"b.html"});
    QCOMPARE(F->Doc()->FileName, Site("b.html"));
  }

  void saveAsLowerCasesTheNameOnly() {
    // A Windows-1252 page, with LF line ends.
    Start({{"index.html", "<P>one</P>\n<P>caf\xE9</P>\n"}, {"other.html", PageText}});
    F->Edit("X");
    FDialogAnswer = Site("Sub Dir/New Page.HTML");
    QVERIFY(QDir().mkpath(Site("Sub Dir")));
    F->Command(cmdFileSaveAs);
    QCOMPARE(FDialogTitles, QStringList{"Save file index.html as ..."});
    const QString target = Site("Sub Dir/new page.html");
    QCOMPARE(EntriesOf(Site("Sub Dir")), QStringList{"new page.html"});
    QCOMPARE(ReadBytes(target), QByteArray("X<P>one</P>\r\n<P>caf\xE9</P>\r\n"));
    QCOMPARE(ReadBytes(Site("index.html")), QByteArray("<P>one</P>\n<P>caf\xE9</P>\n"));
    QCOMPARE(F->Doc()->FileName, target);
    QVERIFY(!F->Modified());
    QCOMPARE(Environment->WorkingDir, Site("Sub Dir/"));
    // "Other.HTML" does not exist, but its lower-cased name does: asked first.
    FDialogAnswer = Site("Other.HTML");
    const auto asked = AnswerNextMessage(mrNo);
    F->Command(cmdFileSaveAs);
    QVERIFY(asked->Shown);
    QCOMPARE(ReadBytes(Site("other.html")), PageText);
  }

  void renameMovesTheText() {
    Start({{"page.html", "<P>old</P>\r\n"}});
    F->Editor()->SetSelStart(3);
    F->Edit("new ");
    F->Command(cmdFileRename);  // cancelled: the edit stays
    QVERIFY(F->Modified());
    FDialogAnswer = Site("Page2.HTML");
    F->Command(cmdFileRename);
    QCOMPARE(FDialogTitles, QStringList(2, "Rename page.html to ..."));
    QCOMPARE(EntriesOf(Site()), QStringList{"page2.html"});
    QCOMPARE(ReadBytes(Site("page2.html")), QByteArray("<P>new old</P>\r\n"));
    QCOMPARE(F->Doc()->FileName, Site("page2.html"));
    QCOMPARE(F->Control<TFileListBox>("flbPages")->FileName(), Site("page2.html"));
  }

  void saveAsOntoItself_data() {
    QTest::addColumn<int>("tag");
    QTest::addColumn<QString>("name");
    QTest::newRow("save as, same name") << int(cmdFileSaveAs) << "page.html";
    QTest::newRow("rename, other case") << int(cmdFileRename) << "Page.HTML";
    QTest::newRow("rename onto a link") << int(cmdFileRename) << "zlink.html";
    QTest::newRow("rename, linked folder") << int(cmdFileRename) << "mirror/page.html";
  }

  // Another name for the page itself: nothing is written or deleted, and the
  // edit stays to be saved.
  void saveAsOntoItself() {
    QFETCH(int, tag);
    QFETCH(QString, name);
    Start({{"page.html", PageText}});
    QVERIFY(QFile::link(Site("page.html"), Site("zlink.html")));
    QVERIFY(QFile::link(Site(), Site("mirror")));
    F->Edit("Z");
    FDialogAnswer = Site(name);
    const auto warning = AnswerNextMessage(mrOk);
    F->Command(tag);
    QCOMPARE(warning->Text, QString("File can't be copied to itself."));
    QCOMPARE(EntriesOf(Site()), QStringList({"mirror", "page.html", "zlink.html"}));
    QCOMPARE(ReadBytes(Site("page.html")), PageText);
    QVERIFY(!F->Window()->SuppressChange);
    QVERIFY(F->Modified());
  }

  void desktopCalls() {
    Start({{"page.html", PageText}});
    const QList<TDesktopCall>& calls = F->Desktop.Calls;
    F->Command(cmdFileView);
    F->Command(cmdFileNewInstance);
    Environment->HelpFileName = Site("help me.htm");
    WriteBytes(Environment->HelpFileName, "<P>help</P>");
    F->Command(cmdHelpContents);
    F->Command(cmdOptTemplate);
    F->Command(cmdHelpHTML);
    QCOMPARE(calls.size(), 5);
    QCOMPARE(calls[0].Kind + " " + calls[0].Target, "open " + Site("page.html"));
    QCOMPARE(calls[1].Kind + " " + calls[1].Target,
             "start " + QCoreApplication::applicationFilePath());
    QCOMPARE(calls[2].Target, "file://" + Site("help me.htm"));
    QCOMPARE(calls[3].Args, QStringList{TemplatePath()});
    QVERIFY2(QUrl(calls[4].Target).scheme().startsWith("http"), qPrintable(calls[4].Target));

    // Missing help and an update page nobody configured are said, not opened.
    QVERIFY(QFile::remove(Environment->HelpFileName));
    const auto noHelp = AnswerNextMessage(mrOk);
    const auto noAddress = AnswerNextMessage(mrOk);
    F->Command(cmdHelpContents);
    F->Command(cmdHelpUpdates);
    QVERIFY(noHelp->Shown && noAddress->Shown);
    QCOMPARE(calls.size(), 5);
    WriteIniStr("Links", "Updates", "https://updates.example/q", Environment->IniFileName);
    F->Command(cmdHelpUpdates);
    QCOMPARE(calls.last().Target, QString("https://updates.example/q?qme=2.60"));
  }

  void clipboardInReplaceBox() {
    Start({{"page.html", PageText}});
    auto* box = F->Control<QComboBox>("cmbReplace");
    box->lineEdit()->setFocus();
    box->setEditText("hello world");
    box->lineEdit()->setSelection(6, 5);
    F->Command(cmdEditCut);
    QCOMPARE(QApplication::clipboard()->text(), QString("world"));
    QCOMPARE(box->currentText(), QString("hello "));
    QVERIFY(!F->Modified());
    // Pasted into the editor, it is an edit like typing; Ctrl+A is Save As.
    F->Editor()->setFocus();
    F->Editor()->SetSelStart(3);
    F->Command(cmdEditPaste);
    QCOMPARE(F->Text(), QString("<P>worldpage</P>\r\n"));
    QVERIFY(F->Modified());
    F->Window()->SelectChars(8, 4);
    F->Command(cmdEditCopy);
    QCOMPARE(QApplication::clipboard()->text(), QString("page"));
    F->Key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(FDialogTitles, QStringList{"Save file page.html as ..."});
  }

  void viewMenuTicksVisibleWindows() {
    Start({{"page.html", PageText}});
    const auto ticks = [this] {
      QString s;
      for (const char* name : {"menViewResults", "menViewHTML", "menViewSpecChar"})
        s += F->Window()->findChild<QAction*>(name)->isChecked() ? '1' : '0';
      return s;
    };
    F->Command(cmdViewHTML);
    F->Command(cmdView);
    QCOMPARE(ticks(), QString("010"));
    F->Command(cmdViewSpecChar);
    F->Command(cmdViewHTML);
    F->Command(cmdViewResults);
    // Opening the View menu updates the ticks.
    Q_EMIT F->Window()->findChild<QMenu*>("menView")->aboutToShow();
    QCOMPARE(ticks(), QString("101"));
  }

  // The user double-clicks in a tool window, which is then the active one.
  void insertFromToolWindows() {
    Start({{"page.html", "abc def\r\n"}});
    for (const auto& [name, chosen] :
         {std::pair{"frmHTML", "<B></B>"}, {"frmSpecChar", "&eacute;"}}) {
      TfrmChoiceList* tool = ToolWindow(name);
      QVERIFY(tool);
      tool->show();
      tool->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(tool));
      F->Window()->SelectChars(4, 3);
      tool->ChosenText = chosen;
      F->Window()->MyOnClickHandler(tool);
      QVERIFY2(F->Text().startsWith("abc " + QString(chosen)), qPrintable(F->Text()));
      QCOMPARE(F->Editor()->SelStart(), 4 + int(strlen(chosen)));
      QVERIFY(F->Modified());
    }
  }

  void tagCase() {
    Start({{"page.html", "<P>Some <B>Word</B></P>\r\n<bgsound src=\"a.wav\">\r\n"}});
    F->Editor()->SetSelStart(10);
    F->Command(cmdPopLower);
    QCOMPARE(F->Text(), QString("<p>Some <b>Word</b></p>\r\n<bgsound src=\"a.wav\">\r\n"));
    QCOMPARE(F->Editor()->SelStart(), 0);
    QVERIFY(F->Modified());
    // Saved, the page is in case already; converting it still counts as an edit.
    F->Command(cmdPopUpper);
    QVERIFY(F->Window()->SaveDocument());
    F->Window()->findChild<QMenu*>("pmuEdit")->actions().at(0)->trigger();
    QCOMPARE(F->Text(), QString("<P>Some <B>Word</B></P>\r\n<Bgsound src=\"a.wav\">\r\n"));
    QVERIFY(F->Modified());
  }

  void wrongChars_data() {
    QTest::addColumn<QByteArray>("line2");
    QTest::addColumn<QString>("message");  // empty: none
    const QString e = QString::fromUtf8("Illegal character \"\u00e9\" at line 2 position 4.");
    QTest::newRow("UTF-8 page") << QByteArray("abc\xC3\xA9 def") << e;
    QTest::newRow("tabs pass") << QByteArray("\t\tabc\tdef") << QString();
  }

  void wrongChars() {
    QFETCH(QByteArray, line2);
    QFETCH(QString, message);
    Start({{"page.html", "<P>one</P>\r\n" + line2 + "\r\n"}});
    F->Editor()->SetSelStart(5);
    const auto seen = AnswerNextMessage(mrOk, message.isEmpty() ? 500 : MsgAnswerTimeoutMs);
    F->Command(cmdPopCheck);
    QCOMPARE(seen->Text, message);
    if (!message.isEmpty()) {
      QCOMPARE(F->Editor()->SelStart(), F->Editor()->LineIndex(1) + 3);
      QCOMPARE(F->Control<QLabel>("lblCursorVal")->text(), QString("2 : 4"));
    } else {
      QCOMPARE(F->Editor()->SelStart(), 5);
    }
    QVERIFY(!F->Modified());
  }

  void aboutDialogOpens() {
    Start({{"page.html", PageText}});
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
    F->Command(cmdHelpAbout);
    QCOMPARE(title, QString("Program Information"));
  }
};

void TestCommands::Start(const QList<QPair<QString, QByteArray>>& pages) {
  for (const auto& [name, bytes] : pages) F->Page(name, bytes);
  F->Open();
  F->Window()->SaveDialog = [this](const QString& title, const QString&) {
    FDialogTitles << title;
    return FDialogAnswer;
  };
}

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
