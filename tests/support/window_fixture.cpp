#include "window_fixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QStandardPaths>
#include <QTest>

#include "doc/edit_file_info.h"
#include "file_bytes.h"
#include "msg_answer.h"

TWindowFixture::TWindowFixture() : FSite(std::make_unique<QTemporaryDir>()) {
  FSiteFolder = FSite->path();
  QDir(QFileInfo(IniPath()).absolutePath()).removeRecursively();
  WriteSettings();
}

TWindowFixture::~TWindowFixture() {
  FWindow.reset();
  ClearMessageAnswers();
}

QString TWindowFixture::IniPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/quillmere/quillmere.ini";
}

void TWindowFixture::WriteSettings(const TSettingsValues& overrides) {
  TSettingsValues values = {{"WorkingDir", Site() + "/"},
                            {"TabInterval", "12"},
                            {"AutoConversion", "0"},
                            {"DelEmptyLines", "FALSE"},
                            {"FileMask", "*.htm*;*.txt;"},
                            {"Top", "10"},
                            {"Left", "20"},
                            {"Height", "534"},
                            {"Width", "800"}};
  for (const auto& o : overrides) {
    bool found = false;
    for (auto& v : values)
      if (v.first == o.first) v.second = o.second, found = true;
    if (!found) values.append(o);
  }
  QByteArray ini = "[Settings]\r\n";
  for (const auto& v : values) ini += (v.first + "=" + v.second + "\r\n").toUtf8();
  WriteBytes(IniPath(), ini);
}

QString TWindowFixture::Site(const QString& name) const {
  return name.isEmpty() ? FSiteFolder : FSiteFolder + "/" + name;
}

void TWindowFixture::Page(const QString& name, const QByteArray& bytes) {
  WriteBytes(Site(name), bytes);
}

void TWindowFixture::UseSite(const QString& folder) {
  FSiteFolder = folder;
  WriteSettings();
}

void TWindowFixture::Show(const QStringList& args) {
  FWindow = std::make_unique<TfrmMain>(args);
  FWindow->show();
}

void TWindowFixture::Open(const QStringList& args) {
  Show(args);
  QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
  QVERIFY(QTest::qWaitFor([this] { return !FWindow->Starting(); }));
  QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
}

QObject* TWindowFixture::FindControl(const char* name) const {
  // The message window has its own bbtCancel: look in the tool bar first.
  if (auto* bar = FWindow->findChild<QWidget*>("tlbToolBar"))
    if (auto* inBar = bar->findChild<QObject*>(name)) return inBar;
  QObject* child = FWindow->findChild<QObject*>(name);
  if (!child) qWarning("no control %s", name);
  return child;
}

QListWidget* TWindowFixture::List() const { return Control<QListWidget>("flbPages"); }

bool TWindowFixture::Enabled(const char* name) const {
  if (auto* action = FWindow->findChild<QAction*>(name)) return action->isEnabled();
  auto* w = Control<QWidget>(name);
  return w && w->isEnabled();
}

void TWindowFixture::Reactivate() {
  QWidget other;
  other.show();
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  other.close();
  FWindow->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
}

void TWindowFixture::FocusEditor() {
  Editor()->setFocus();
  QTRY_VERIFY(QApplication::focusWidget() == Editor() ||
              QApplication::focusWidget() == Editor()->viewport());
}

void TWindowFixture::Key(Qt::Key key, Qt::KeyboardModifiers mods) {
  QTest::keyClick(Editor()->viewport(), key, mods);
}

void TWindowFixture::Type(const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(Editor()->viewport(), &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(Editor()->viewport(), &release);
  }
}

bool TWindowFixture::Modified() const { return Doc()->Modified; }

void TWindowFixture::Click(const char* name) {
  QTest::mouseClick(Control<QAbstractButton>(name), Qt::LeftButton);
}

void TWindowFixture::Edit(const QString& text) {
  FocusEditor();
  Type(text);
  QTRY_VERIFY(Modified());
}

void TWindowFixture::SaveByKey() {
  FWindow->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
  FocusEditor();
  Key(Qt::Key_S, Qt::ControlModifier);
}
