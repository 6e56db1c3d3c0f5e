#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "file_bytes.h"
#include <QTimer>
#include <memory>

#include "config/tools_dialog.h"
#include "config/tools_menu_actions.h"
#include "desktop_stub.h"
#include "msg_answer.h"

namespace {

QByteArray ToolsFile(int count, int written = -1) {
  QByteArray data = "[Tools]\n";
  for (int n = 1; n <= (written < 0 ? count : written); ++n) {
    const QByteArray i = QByteArray::number(n);
    data +=
        "Prog" + i + "=Tool " + i + "\nPath" + i + "=/bin/t" + i + "\nWDir" + i + "=/w" + i + "\n";
  }
  return data + "Count=" + QByteArray::number(count) + "\n";
}

template <typename T>
T* Child(QWidget* dialog, const char* name) {
  T* child = dialog->findChild<T*>(name);
  if (!child) qWarning("no control %s", name);
  return child;
}

QStringList Rows(QWidget* dialog) {
  QStringList rows;
  auto* list = Child<QListWidget>(dialog, "ltbPrograms");
  for (int i = 0; i < list->count(); ++i) rows << list->item(i)->text();
  return rows;
}

void Click(QWidget* dialog, const char* name) { Child<QPushButton>(dialog, name)->click(); }

bool Enabled(QWidget* dialog, const char* name) {
  return Child<QWidget>(dialog, name)->isEnabled();
}

QString Text(QWidget* dialog, const char* name) { return Child<QLineEdit>(dialog, name)->text(); }

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
  void init();
  void cleanup() { ClearMessageAnswers(); }
  void modes();
  void fullLists_data();
  void fullLists();
  void changedToolMovesToEnd();
  void deleteKeepsKeysBeyondCount();
  void cancelInBrowsingMode();
  void cancelInEditMode_data();
  void cancelInEditMode();
  void longAndPaddedTexts();
  void doubleClickEmptyList();
  void saveFailureKeepsDialog();
  void browseForProgram();
  void emptyMenu();
  void runTool();
  void toolThatCannotStart();

 private:
  QString Ini() const { return FDir->filePath("quillmere.ini"); }
  std::unique_ptr<TfrmToolsMaint> Open(int maxCount = MenuToolCount) {
    auto d = std::make_unique<TfrmToolsMaint>(Ini(), maxCount);
    d->show();
    return d;
  }
  std::unique_ptr<QTemporaryDir> FDir;
};

void TestToolsDialog::init() {
  FDir = std::make_unique<QTemporaryDir>();
  QVERIFY(FDir->isValid());
}

void TestToolsDialog::modes() {
  WriteBytes(Ini(), ToolsFile(2));
  const auto d = Open();
  QCOMPARE(d->windowTitle(), QString("Edit Tools-Menu"));
  QCOMPARE(d->size(), QSize(411, 243));
  QCOMPARE(Rows(d.get()), QStringList({"Tool 1", "Tool 2"}));
  QCOMPARE(Text(d.get(), "edtProgram"), QString("/bin/t1"));
  QCOMPARE(Child<QPushButton>(d.get(), "bbtOK")->text(), QString("&Save"));
  for (const char* name : {"ltbPrograms", "bbtAdd", "bbtEdit", "bbtDelete"})
    QVERIFY2(Enabled(d.get(), name), name);
  for (const char* name : {"edtTitle", "edtProgram", "edtWorkingDir", "bbtBrowse"})
    QVERIFY2(!Enabled(d.get(), name), name);
  Child<QListWidget>(d.get(), "ltbPrograms")->setCurrentRow(1);
  QCOMPARE(Text(d.get(), "edtWorkingDir"), QString("/w2"));
  Click(d.get(), "bbtEdit");
  QVERIFY(d->Editing());
  QCOMPARE(Child<QPushButton>(d.get(), "bbtOK")->text(), QString("&OK"));
  for (const char* name : {"ltbPrograms", "bbtAdd", "bbtEdit", "bbtDelete"})
    QVERIFY2(!Enabled(d.get(), name), name);
  for (const char* name : {"edtTitle", "edtProgram", "edtWorkingDir", "bbtBrowse"})
    QVERIFY2(Enabled(d.get(), name), name);
  QTRY_COMPARE(QApplication::focusWidget(), Child<QWidget>(d.get(), "edtTitle"));
  QCOMPARE(Text(d.get(), "edtTitle"), QString("Tool 2"));
  Click(d.get(), "bbtAdd");  // disabled: no effect
  QCOMPARE(Text(d.get(), "edtTitle"), QString("Tool 2"));
}

void TestToolsDialog::fullLists_data() {
  QTest::addColumn<int>("count");
  QTest::newRow("five") << 5;
  QTest::newRow("seven") << 7;
}

void TestToolsDialog::fullLists() {
  QFETCH(int, count);
  WriteBytes(Ini(), ToolsFile(count));
  const auto d = Open();
  QCOMPARE(Rows(d.get()).size(), count);
  QVERIFY(!Enabled(d.get(), "bbtAdd"));
  QVERIFY(Enabled(d.get(), "bbtEdit") && Enabled(d.get(), "bbtDelete"));
  TMenuFixture menu;
  menu.Tools->RebuildToolsMenu(Ini());
  QVERIFY(menu.Sep->isVisible());
  QCOMPARE(menu.Shown(), QStringList({"Tool 1", "Tool 2", "Tool 3", "Tool 4", "Tool 5"}));
  QCOMPARE(menu.Programs.count(), count);
}

void TestToolsDialog::changedToolMovesToEnd() {
  WriteBytes(Ini(), ToolsFile(3));
  TMenuFixture menu;
  QTimer::singleShot(0, this, [] {
    QWidget* d = QApplication::activeModalWidget();
    QVERIFY(d);
    Child<QListWidget>(d, "ltbPrograms")->setCurrentRow(0);
    Click(d, "bbtEdit");
    Child<QLineEdit>(d, "edtTitle")->setText("&Changed");
    Click(d, "bbtOK");
    QCOMPARE(Rows(d), QStringList({"Tool 2", "Tool 3", "&Changed"}));
    QCOMPARE(Child<QListWidget>(d, "ltbPrograms")->currentRow(), 0);
    QCOMPARE(Text(d, "edtTitle"), QString("Tool 2"));
    Click(d, "bbtOK");
  });
  QVERIFY(menu.Tools->EditTools(Ini()));
  QCOMPARE(menu.Shown(), QStringList({"Tool 2", "Tool 3", "&Changed"}));
  QCOMPARE(LoadToolList(Ini()).last(), (TTool{"&Changed", "/bin/t1", "/w1"}));
}

void TestToolsDialog::deleteKeepsKeysBeyondCount() {
  WriteBytes(Ini(), ToolsFile(3));
  const auto d = Open();
  Child<QListWidget>(d.get(), "ltbPrograms")->setCurrentRow(1);
  Click(d.get(), "bbtDelete");
  QCOMPARE(Rows(d.get()), QStringList({"Tool 1", "Tool 3"}));
  QCOMPARE(Child<QListWidget>(d.get(), "ltbPrograms")->currentRow(), 0);
  Click(d.get(), "bbtOK");
  QVERIFY(!d->isVisible());
  QCOMPARE(d->result(), int(QDialog::Accepted));
  QCOMPARE(LoadToolList(Ini()).size(), 2);
  const QByteArray file = ReadBytes(Ini());
  QVERIFY(file.contains("Count=2\n"));
  QVERIFY(file.contains("Prog3=Tool 3\nPath3=/bin/t3\nWDir3=/w3\n"));
}

void TestToolsDialog::cancelInBrowsingMode() {
  WriteBytes(Ini(), ToolsFile(2));
  const QByteArray before = ReadBytes(Ini());
  TMenuFixture menu;
  QTimer::singleShot(0, this, [] {
    QWidget* d = QApplication::activeModalWidget();
    QVERIFY(d);
    Click(d, "bbtAdd");
    Child<QLineEdit>(d, "edtTitle")->setText("New");
    Click(d, "bbtOK");
    Click(d, "bbtDelete");
    QCOMPARE(Rows(d), QStringList({"Tool 2", "New"}));
    Click(d, "bbtCancel");
  });
  QVERIFY(!menu.Tools->EditTools(Ini()));
  QCOMPARE(ReadBytes(Ini()), before);
  QCOMPARE(menu.Shown(), QStringList({"Tool 1", "Tool 2"}));
}

void TestToolsDialog::cancelInEditMode_data() {
  QTest::addColumn<bool>("escape");
  QTest::newRow("Cancel") << false;
  QTest::newRow("Escape") << true;
}

void TestToolsDialog::cancelInEditMode() {
  QFETCH(bool, escape);
  WriteBytes(Ini(), ToolsFile(1));
  const auto d = Open();
  Click(d.get(), "bbtAdd");
  QCOMPARE(Text(d.get(), "edtTitle"), QString());
  Child<QLineEdit>(d.get(), "edtTitle")->setText("Dropped");
  if (escape)
    QTest::keyClick(Child<QLineEdit>(d.get(), "edtTitle"), Qt::Key_Escape);
  else
    Click(d.get(), "bbtCancel");
  QVERIFY(d->isVisible());
  QVERIFY(!d->Editing());
  QCOMPARE(Text(d.get(), "edtTitle"), QString("Tool 1"));
  QCOMPARE(Rows(d.get()), QStringList({"Tool 1"}));
}

void TestToolsDialog::longAndPaddedTexts() {
  const auto d = Open();
  Click(d.get(), "bbtAdd");
  Child<QLineEdit>(d.get(), "edtTitle")->setText("  Padded  ");
  Child<QLineEdit>(d.get(), "edtProgram")->setText(QString(100, 'p'));
  Child<QLineEdit>(d.get(), "edtWorkingDir")->setText("/My Site/");
  Click(d.get(), "bbtOK");
  QCOMPARE(Text(d.get(), "edtTitle"), QString("Padded"));
  Click(d.get(), "bbtOK");
  QCOMPARE(LoadToolList(Ini()), TToolList({{"Padded", QString(80, 'p'), "/My Site/"}}));
}

void TestToolsDialog::doubleClickEmptyList() {
  const auto d = Open();
  QVERIFY(!Enabled(d.get(), "bbtEdit"));
  QTest::mouseDClick(Child<QListWidget>(d.get(), "ltbPrograms")->viewport(), Qt::LeftButton);
  QVERIFY(d->Editing());
  Child<QLineEdit>(d.get(), "edtTitle")->setText("First");
  Click(d.get(), "bbtOK");
  QCOMPARE(Rows(d.get()), QStringList({"First"}));
  QVERIFY(Enabled(d.get(), "bbtAdd"));
}

void TestToolsDialog::saveFailureKeepsDialog() {
  // A file where the settings folder should be fails even for the super-user.
  WriteBytes(FDir->filePath("plain"), "data");
  const QString ini = FDir->filePath("plain/quillmere.ini");
  auto d = std::make_unique<TfrmToolsMaint>(ini, MenuToolCount);
  d->show();
  Click(d.get(), "bbtAdd");
  Child<QLineEdit>(d.get(), "edtTitle")->setText("Kept");
  Click(d.get(), "bbtOK");
  const TMsgSeenPtr seen = AnswerNextMessage(mrOk);
  Click(d.get(), "bbtOK");
  QVERIFY(seen->Shown);
  QCOMPARE(seen->Text, "Unable to write to " + ini + ": Not a directory");
  QVERIFY(d->isVisible());
  QVERIFY(!d->Editing());
  QCOMPARE(Rows(d.get()), QStringList({"Kept"}));
  QCOMPARE(ReadBytes(FDir->filePath("plain")), QByteArray("data"));
}

void TestToolsDialog::browseForProgram() {
  const QString program = FDir->filePath("My Tools/check.sh");
  QVERIFY(QDir().mkpath(FDir->filePath("My Tools")));
  WriteBytes(program, "#!/bin/sh\n");
  const auto d = Open();
  Click(d.get(), "bbtAdd");
  auto* open = Child<QFileDialog>(d.get(), "ondFileOpen");
  QCOMPARE(open->windowTitle(), QString("Find program"));
  QCOMPARE(open->fileMode(), QFileDialog::ExistingFile);
  QTimer::singleShot(0, this, [open, program] {
    open->setDirectory(QFileInfo(program).absolutePath());
    open->selectFile(program);
    static_cast<QDialog*>(open)->accept();
  });
  Click(d.get(), "bbtBrowse");
  QCOMPARE(Text(d.get(), "edtProgram"), program);
  // Cancelled: the program stays.
  QTimer::singleShot(0, this, [open] { open->reject(); });
  Click(d.get(), "bbtBrowse");
  QCOMPARE(Text(d.get(), "edtProgram"), program);
}

void TestToolsDialog::emptyMenu() {
  WriteBytes(Ini(), ToolsFile(1));
  TMenuFixture menu;
  menu.Tools->RebuildToolsMenu(Ini());
  QVERIFY(menu.Sep->isVisible());
  WriteBytes(Ini(), ToolsFile(0, 1));
  menu.Tools->RebuildToolsMenu(Ini());
  QVERIFY(!menu.Sep->isVisible());
  QCOMPARE(menu.Shown(), QStringList());
  QCOMPARE(menu.Slots[0]->text(), QString());
  QCOMPARE(menu.Programs.count(), 0);
}

void TestToolsDialog::runTool() {
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
  // A slot beyond the list starts nothing and asks nothing.
  QVERIFY(!menu.Tools->RunTool(2, "/x"));
  QVERIFY(!menu.Tools->RunTool(-1, "/x"));
  QCOMPARE(desktop.Calls.size(), 2);
}

void TestToolsDialog::toolThatCannotStart() {
  TDesktopStub desktop;
  desktop.Succeed = false;
  desktop.StartErrorNumber = 2;
  WriteBytes(Ini(), "[Tools]\nProg1=Tidy\nPath1=/opt/no such/tidy\nCount=1\n");
  TMenuFixture menu;
  menu.Tools->RebuildToolsMenu(Ini());
  const TMsgSeenPtr seen = AnswerNextMessage(mrOk);
  QVERIFY(!menu.Tools->RunTool(0, "/site/a.htm"));
  QVERIFY(seen->Shown);
  QCOMPARE(seen->Caption, QString("Application not started"));
  QCOMPARE(seen->Text, QString("Can't find or execute /opt/no such/tidy.\n(Error #2)"));
  QCOMPARE(seen->Kind, mkWarning);
}

QTEST_MAIN(TestToolsDialog)
#include "test_tools_dialog.moc"
