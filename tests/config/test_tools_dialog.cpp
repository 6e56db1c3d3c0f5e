// The Tools dialog and menu wire the list rules (tested in test_tools_menu)
// to their controls.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "config/tools_dialog.h"
#include "config/tools_menu_actions.h"
#include "desktop_stub.h"
#include "file_bytes.h"
#include "msg_answer.h"

namespace {

QByteArray ToolsFile(int count) {
  QByteArray data = "[Tools]\n";
  for (int n = 1; n <= count; ++n) {
    const QByteArray i = QByteArray::number(n);
    data +=
        "Prog" + i + "=Tool " + i + "\nPath" + i + "=/bin/t" + i + "\nWDir" + i + "=/w" + i + "\n";
  }
  return data + "Count=" + QByteArray::number(count) + "\n";
}

template <typename T = QWidget>
T* Child(QWidget* dialog, const char* name) {
  return dialog->findChild<T*>(name);
}

QListWidget* List(QWidget* dialog) { return Child<QListWidget>(dialog, "ltbPrograms"); }

QStringList Rows(QWidget* dialog) {
  QStringList rows;
  for (int i = 0; i < List(dialog)->count(); ++i) rows << List(dialog)->item(i)->text();
  return rows;
}

void Click(QWidget* dialog, const char* name) { Child<QPushButton>(dialog, name)->click(); }

QString Text(QWidget* dialog, const char* name) { return Child<QLineEdit>(dialog, name)->text(); }

void SetText(QWidget* dialog, const char* name, const QString& text) {
  Child<QLineEdit>(dialog, name)->setText(text);
}

// Browsing: the list and its buttons; editing: the edits and Browse.
void CheckMode(QWidget* d, bool editing) {
  for (const char* name : {"ltbPrograms", "bbtAdd", "bbtEdit", "bbtDelete"})
    QVERIFY2(Child(d, name)->isEnabled() == !editing, name);
  for (const char* name : {"edtTitle", "edtProgram", "edtWorkingDir", "bbtBrowse"})
    QVERIFY2(Child(d, name)->isEnabled() == editing, name);
  QCOMPARE(Child<QPushButton>(d, "bbtOK")->text(), QString(editing ? "&OK" : "&Save"));
}

// The main window's Tools menu as the main window builds it.
struct TMenuFixture {
  QMenu Menu;
  QListWidget Programs;
  QAction* Sep;
  QList<QAction*> Slots;
  std::unique_ptr<TToolsMenu> Tools;
  TMenuFixture() {
    Menu.addAction("&Edit");
    Sep = Menu.addSeparator();
    for (int k = 0; k < MenuToolCount; ++k) Slots << Menu.addAction(QString());
    Tools = std::make_unique<TToolsMenu>(&Programs, Sep, Slots);
  }
  QStringList Shown() const {
    QStringList titles;
    for (QAction* a : Slots)
      if (a->isVisible()) titles << a->text();
    return titles;
  }
};

}  // namespace

class TestToolsDialog : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void init() { QVERIFY(FDir.isValid()); }
  void cleanup() { ClearMessageAnswers(); }

  // A file may hold more tools than the menu shows; none hides the separator.
  void menuShowsFirstTools() {
    WriteBytes(Ini(), ToolsFile(7));
    TMenuFixture menu;
    menu.Tools->RebuildToolsMenu(Ini());
    QVERIFY(menu.Sep->isVisible());
    QCOMPARE(menu.Shown(), QStringList({"Tool 1", "Tool 2", "Tool 3", "Tool 4", "Tool 5"}));
    QCOMPARE(menu.Programs.count(), 7);
    QCOMPARE(menu.Programs.currentRow(), 0);
    WriteBytes(Ini(), ToolsFile(0));
    menu.Tools->RebuildToolsMenu(Ini());
    QVERIFY(!menu.Sep->isVisible());
    QCOMPARE(menu.Shown(), QStringList());
    QCOMPARE(menu.Slots[0]->text(), QString());
    QCOMPARE(menu.Programs.count(), 0);
  }

  void editDeleteAndSave() {
    WriteBytes(Ini(), ToolsFile(3));
    TMenuFixture menu;
    QTimer::singleShot(0, this, [] {
      QWidget* d = QApplication::activeModalWidget();
      QCOMPARE(Text(d, "edtProgram"), QString("/bin/t1"));
      List(d)->setCurrentRow(1);
      QCOMPARE(Text(d, "edtWorkingDir"), QString("/w2"));
      Click(d, "bbtEdit");
      CheckMode(d, true);
      QTRY_COMPARE(QApplication::focusWidget(), Child(d, "edtTitle"));
      SetText(d, "edtTitle", "  &Changed ");
      Click(d, "bbtOK");
      CheckMode(d, false);
      QCOMPARE(Rows(d), QStringList({"Tool 1", "Tool 3", "&Changed"}));
      QCOMPARE(Text(d, "edtTitle"), QString("Tool 1"));
      List(d)->setCurrentRow(1);
      Click(d, "bbtDelete");
      QCOMPARE(Rows(d), QStringList({"Tool 1", "&Changed"}));
      Click(d, "bbtOK");
    });
    QVERIFY(menu.Tools->EditTools(Ini()));
    QCOMPARE(menu.Shown(), QStringList({"Tool 1", "&Changed"}));
    QCOMPARE(LoadToolList(Ini()).last(), (TTool{"&Changed", "/bin/t2", "/w2"}));
  }

  // Editing, Escape drops the edits only; browsing, Cancel closes unsaved.
  void cancel() {
    WriteBytes(Ini(), ToolsFile(1));
    TfrmToolsMaint d(Ini(), MenuToolCount);
    d.show();
    Click(&d, "bbtAdd");
    QCOMPARE(Text(&d, "edtTitle"), QString());
    SetText(&d, "edtTitle", "Dropped");
    QTest::keyClick(Child(&d, "edtTitle"), Qt::Key_Escape);
    QVERIFY(d.isVisible() && !d.Editing());
    QCOMPARE(Text(&d, "edtTitle"), QString("Tool 1"));
    Click(&d, "bbtAdd");
    Click(&d, "bbtOK");
    QCOMPARE(Rows(&d), QStringList({"Tool 1", ""}));
    QTest::keyClick(List(&d), Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(ReadBytes(Ini()), ToolsFile(1));
  }

  void browseAndSaveFailure() {
    // A file as the settings folder fails even for the super-user.
    WriteBytes(FDir.filePath("plain"), "data");
    const QString ini = FDir.filePath("plain/quillmere.ini");
    const QString program = FDir.filePath("My Tools/check.sh");
    WriteBytes(program, "#!/bin/sh\n");
    TfrmToolsMaint d(ini, MenuToolCount);
    d.show();
    QTest::mouseDClick(List(&d)->viewport(), Qt::LeftButton);  // even an empty list edits
    auto* open = Child<QFileDialog>(&d, "ondFileOpen");
    QTimer::singleShot(0, this, [open, program] {
      open->selectFile(program);
      static_cast<QDialog*>(open)->accept();
    });
    Click(&d, "bbtBrowse");
    QCOMPARE(Text(&d, "edtProgram"), program);
    SetText(&d, "edtProgram", "/bin/other");
    QTimer::singleShot(0, this, [open] { open->reject(); });
    Click(&d, "bbtBrowse");
    QCOMPARE(Text(&d, "edtProgram"), QString("/bin/other"));
    SetText(&d, "edtTitle", "Kept");
    Click(&d, "bbtOK");
    const TMsgSeenPtr seen = AnswerNextMessage(mrOk);
    Click(&d, "bbtOK");
    QCOMPARE(seen->Text, "Unable to write to " + ini + ": Not a directory");
    QVERIFY(d.isVisible());
    QCOMPARE(Rows(&d), QStringList({"Kept"}));
  }

  void runTool() {
    TDesktopStub desktop;
    WriteBytes(Ini(), ToolsFile(2));
    TMenuFixture menu;
    menu.Tools->RebuildToolsMenu(Ini());
    QVERIFY(menu.Tools->RunTool(1, "/home/me/my site/index page.htm"));
    QCOMPARE(menu.Programs.currentRow(), 1);
    QCOMPARE(desktop.Calls.size(), 1);
    QCOMPARE(desktop.Calls[0].Target, QString("/bin/t2"));
    QCOMPARE(desktop.Calls[0].Args, QStringList({"/home/me/my site/index page.htm"}));
    QCOMPARE(desktop.Calls[0].WorkingDir, QString("/w2"));
    QVERIFY(menu.Tools->RunTool(0, ""));
    QCOMPARE(desktop.Calls[1].Args, QStringList());
    QVERIFY(!menu.Tools->RunTool(2, "/x"));
    QVERIFY(!menu.Tools->RunTool(-1, "/x"));
    QCOMPARE(desktop.Calls.size(), 2);

    desktop.Succeed = false;
    const TMsgSeenPtr seen = AnswerNextMessage(mrOk);
    QVERIFY(!menu.Tools->RunTool(0, "/site/a.htm"));
    QCOMPARE(seen->Caption, QString("Application not started"));
    QCOMPARE(seen->Text, QString("Can't find or execute /bin/t1.\n(Error #2)"));
  }

 private:
  QString Ini() const { return FDir.filePath("quillmere.ini"); }
  QTemporaryDir FDir;
};

QTEST_MAIN(TestToolsDialog)
#include "test_tools_dialog.moc"
