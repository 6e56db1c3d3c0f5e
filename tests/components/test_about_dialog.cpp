#include <QApplication>
#include <QDate>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTest>

#include "components/about_dialog.h"
#include "components/sys_info.h"
#include "desktop_stub.h"
#include "msg_answer.h"

namespace {

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
  void sizes();
  void properties();
  void versionHelpAndEnter();
  void hiddenKey();
};

// The size follows the style and the font; the window sits in the middle of
// the screen, and its lines make room for the program's icon.
void TestAboutDialog::sizes() {
  const struct {
    TDlgStyle Style;
    int Points;
    bool Icon;
    QSize Window;
  } cases[] = {{dsPanel, 10, true, {385, 214}}, {dsLine, 12, false, {428, 234}}};
  TDesktopStub desktop;
  for (const auto& c : cases) {
    TAboutDialog dialog;
    dialog.Caption = QStringLiteral("Program Information");
    dialog.SetDlgStyle(c.Style);
    dialog.Font.setPointSize(c.Points);
    QGuiApplication::setWindowIcon(c.Icon ? SomeIcon() : QIcon());
    TAboutWindow w(dialog);
    QGuiApplication::setWindowIcon(QIcon());
    QCOMPARE(w.size(), c.Window);
    QCOMPARE(w.findChild<QFrame*>("bvlLine") != nullptr, c.Style == dsLine);
    QCOMPARE(w.pos(), QPoint((1024 - c.Window.width()) / 2, (768 - c.Window.height()) / 2));
    QCOMPARE(w.windowTitle(), QStringLiteral("Program Information"));
    QCOMPARE(w.findChild<QLabel*>("lblProgName")->geometry().left(), c.Icon ? 56 : 16);
  }
}

void TestAboutDialog::properties() {
  TAboutDialog dialog;
  dialog.SetDlgStyle(dsPanel);
  QCOMPARE(dialog.BevelInner, bvRaised);
  QCOMPARE(dialog.BevelOuter, bvLowered);
  dialog.SetDlgStyle(dsLine);
  QCOMPARE(dialog.BevelOuter, bvNone);

  const QString year = QDate::currentDate().toString(QStringLiteral("yyyy"));
  dialog.SetCopyright(QStringLiteral("(c) someone"));
  QCOMPARE(dialog.Copyright(), QStringLiteral("(c) someone"));
  dialog.SetCopyright(QString());
  QVERIFY(dialog.Copyright().startsWith(QStringLiteral("Copyright \u00A9 ") + year));

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

// The version line shows the version information, F1 asks for help and
// Enter closes.
void TestAboutDialog::versionHelpAndEnter() {
  TAboutDialog dialog;
  QStringList helped;
  dialog.OnHelp = [&](QObject* sender, const QString& caption) {
    if (sender == &dialog) helped << caption;
  };
  TAboutWindow w(dialog);
  w.show();
  const auto seen = AnswerNextMessage(mrOk);
  QTest::mouseClick(w.findChild<QLabel*>("lblVersion"), Qt::LeftButton);
  QCOMPARE(seen->Caption, QStringLiteral("Version information"));
  QString expected = VersionInfoText(TZELSysInfo());
  QCOMPARE(seen->Text, expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  QTest::keyClick(&w, Qt::Key_F1);
  QVERIFY(w.isVisible());
  QTest::keyClick(&w, Qt::Key_Return);
  QVERIFY(!w.isVisible());
  QCOMPARE(helped, QStringList{dialog.Caption});
}

void TestAboutDialog::hiddenKey() {
  TAboutDialog dialog;
  dialog.HiddenText = QStringList{QStringLiteral("made by"), QStringLiteral("us")};
  {
    TAboutWindow w(dialog);  // no hidden key, no hidden text
    QVERIFY(!w.findChild<QPlainTextEdit*>());
  }
  dialog.SetHiddenKey(QStringLiteral("abc"));
  TAboutWindow w(dialog);
  w.show();
  auto* memo = w.findChild<QPlainTextEdit*>("memHidden");
  QCOMPARE(memo->toPlainText(), QStringLiteral("made by\nus"));
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

QTEST_MAIN(TestAboutDialog)
#include "test_about_dialog.moc"
