#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "components/about_dialog.h"
#include "components/sys_info.h"
#include "desktop_stub.h"
#include "msg_answer.h"

namespace {

// The about dialog as the main window configures it.
void ConfigureAsProgram(TAboutDialog& dialog) {
  dialog.Caption = QStringLiteral("Program Information");
  dialog.SetDlgStyle(dsPanel);
  dialog.ProgName = QStringLiteral("Quillmere");
  dialog.Version = QStringLiteral("version: 2.60  (01-02-2026)");
}

QRect Geometry(const QWidget& window, const char* name) {
  const auto* w = window.findChild<QWidget*>(QLatin1String(name));
  return w ? w->geometry() : QRect();
}

QIcon SomeIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::red);
  return QIcon(pixmap);
}

void AltKeys(QWidget* window, const char* keys) {
  for (const char* k = keys; *k; ++k)
    QTest::keyClick(window, static_cast<Qt::Key>(Qt::Key_A + (*k - 'a')), Qt::AltModifier);
}

}  // namespace

class TestAboutDialog : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void cleanup() { ClearMessageAnswers(); }
  void sizes_data();
  void sizes();
  void linesAndIcon();
  void executeEnterAndHelp();
  void properties();
  void hiddenKey();
  void versionLineShowsVersionInfo();
};

// One size per window: it follows the style and the font, and the window
// sits in the middle of the screen.
void TestAboutDialog::sizes_data() {
  QTest::addColumn<int>("style");
  QTest::addColumn<int>("points");
  QTest::addColumn<QSize>("window");
  QTest::newRow("program's settings") << int(dsPanel) << 10 << QSize(385, 214);
  QTest::newRow("line style") << int(dsLine) << 10 << QSize(385, 210);
  QTest::newRow("12 points") << int(dsPanel) << 12 << QSize(428, 238);
}

void TestAboutDialog::sizes() {
  QFETCH(int, style);
  QFETCH(int, points);
  QFETCH(QSize, window);
  TDesktopStub desktop;
  TAboutDialog dialog;
  ConfigureAsProgram(dialog);
  dialog.SetDlgStyle(TDlgStyle(style));
  dialog.Font.setPointSize(points);
  TAboutWindow w(dialog);
  QCOMPARE(w.size(), window);
  QCOMPARE(w.findChild<QFrame*>("bvlLine") != nullptr, style == dsLine);
  QCOMPARE(w.pos(), QPoint((1024 - window.width()) / 2, (768 - window.height()) / 2));
  QCOMPARE(w.windowTitle(), QStringLiteral("Program Information"));
}

// The lines make room for the program's icon when there is one.
void TestAboutDialog::linesAndIcon() {
  TAboutDialog dialog;
  ConfigureAsProgram(dialog);
  QGuiApplication::setWindowIcon(QIcon());
  {
    TAboutWindow w(dialog);
    QCOMPARE(Geometry(w, "lblProgName").left(), 16);
    QVERIFY(w.findChild<QLabel*>("lblProgName")->font().bold());
    QCOMPARE(w.findChild<QLabel*>("lblProgName")->text(), QStringLiteral("Quillmere"));
  }
  QGuiApplication::setWindowIcon(SomeIcon());
  TAboutWindow w(dialog);
  QCOMPARE(Geometry(w, "lblProgName").left(), 56);
  QVERIFY(w.findChild<QLabel*>("imgIcon"));
  QVERIFY(w.findChild<QLabel*>("lblAuthor")->wordWrap());
  QCOMPARE(w.findChild<QLabel*>("lblVersion")->text(), dialog.Version);
  QVERIFY(!w.findChild<QPushButton*>("bbtOK")->focusPolicy());
  QVERIFY(!w.findChild<QPlainTextEdit*>());  // no hidden key, no hidden text box
  QGuiApplication::setWindowIcon(QIcon());
}

void TestAboutDialog::executeEnterAndHelp() {
  TAboutDialog dialog;
  ConfigureAsProgram(dialog);
  QStringList helped;
  dialog.OnHelp = [&](QObject* sender, const QString& caption) {
    if (sender == &dialog) helped << caption;
  };
  QString shownTitle;
  QTimer::singleShot(0, [&] {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) return;
    shownTitle = w->windowTitle();
    QTest::keyClick(w, Qt::Key_F1);
    QTest::keyClick(w, Qt::Key_Return);
  });
  // A guard, so that a window Enter fails to close does not hang the test.
  QTimer guard;
  guard.setSingleShot(true);
  bool guarded = false;
  connect(&guard, &QTimer::timeout, [&] {
    guarded = true;
    if (QWidget* w = QApplication::activeModalWidget()) w->close();
  });
  guard.start(5000);
  dialog.Execute();
  QVERIFY(!guarded);
  QCOMPARE(shownTitle, QStringLiteral("Program Information"));
  QCOMPARE(helped, QStringList{QStringLiteral("Program Information")});
}

void TestAboutDialog::properties() {
  TAboutDialog dialog;
  QCOMPARE(dialog.Caption, QStringLiteral("Programma Informatie"));
  QCOMPARE(dialog.DlgStyle(), dsLine);
  QCOMPARE(dialog.BevelInner, bvNone);
  dialog.SetDlgStyle(dsPanel);
  QCOMPARE(dialog.BevelInner, bvRaised);
  QCOMPARE(dialog.BevelOuter, bvLowered);
  QCOMPARE(dialog.VersionStamp().Version, QStringLiteral("3.5.00"));
  QCOMPARE(dialog.VersionStamp().Date, QStringLiteral("10-01-2000"));

  const QString year = QDate::currentDate().toString(QStringLiteral("yyyy"));
  QVERIFY(dialog.Copyright().startsWith(QStringLiteral("Copyright \u00A9 ") + year + "  "));
  dialog.SetCopyright(QStringLiteral("(c) someone"));
  QCOMPARE(dialog.Copyright(), QStringLiteral("(c) someone"));
  dialog.SetCopyright(QString());
  QVERIFY(dialog.Copyright().contains(year));

  dialog.SetIcon(SomeIcon());
  QVERIFY(!dialog.AppIcon);
  dialog.SetIcon(QIcon());
  QVERIFY(dialog.AppIcon);

  dialog.SetHiddenKey(QStringLiteral("geheim") + QString(50, QLatin1Char('x')));
  QCOMPARE(dialog.HiddenKey().length(), TAboutDialog::HiddenKeyLength);
  QVERIFY(dialog.HiddenKey().startsWith(QStringLiteral("GEHEIM")));

  // A blank name shows the application's title.
  dialog.ProgName = QStringLiteral("   ");
  TAboutWindow w(dialog);
  QCOMPARE(w.findChild<QLabel*>("lblProgName")->text(), QGuiApplication::applicationDisplayName());
}

void TestAboutDialog::hiddenKey() {
  TAboutDialog dialog;
  dialog.HiddenText = QStringList{QStringLiteral("made by"), QStringLiteral("us")};
  {
    // No hidden key: Alt and letters do nothing, no text box exists.
    TAboutWindow w(dialog);
    AltKeys(&w, "abc");
    QVERIFY(!w.findChild<QPlainTextEdit*>());
  }
  dialog.SetHiddenKey(QStringLiteral("abc"));
  TAboutWindow w(dialog);
  w.show();
  auto* memo = w.findChild<QPlainTextEdit*>("memHidden");
  QVERIFY(memo);
  QCOMPARE(memo->toPlainText(), QStringLiteral("made by\nus"));
  QVERIFY(memo->isHidden());

  QTest::keyClicks(&w, "abc");  // without Alt
  AltKeys(&w, "aabc");          // the second "a" restarts, and is not a first "a"
  AltKeys(&w, "ab");
  QTest::keyClick(&w, Qt::Key_X);  // any other key restarts
  AltKeys(&w, "c");
  QVERIFY(memo->isHidden());
  AltKeys(&w, "abc");
  QVERIFY(!memo->isHidden());

  // A handler takes the place of revealing.
  int handled = 0;
  dialog.OnHiddenKey = [&](QObject*) { ++handled; };
  TAboutWindow w2(dialog);
  AltKeys(&w2, "abcab");
  QTest::keyClick(&w2, Qt::Key_C, Qt::AltModifier | Qt::ShiftModifier);  // not Alt alone
  QCOMPARE(handled, 1);
  QVERIFY(w2.findChild<QPlainTextEdit*>("memHidden")->isHidden());
}

void TestAboutDialog::versionLineShowsVersionInfo() {
  TAboutDialog dialog;
  TAboutWindow w(dialog);
  w.show();
  const auto seen = AnswerNextMessage(mrOk);
  QTest::mouseClick(w.findChild<QLabel*>("lblVersion"), Qt::LeftButton);
  QVERIFY(seen->Shown);
  QCOMPARE(seen->Caption, QStringLiteral("Version information"));
  QCOMPARE(seen->Kind, mkInfo);
  QString expected = VersionInfoText(TZELSysInfo());
  QCOMPARE(seen->Text, expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QTEST_MAIN(TestAboutDialog)
#include "test_about_dialog.moc"
