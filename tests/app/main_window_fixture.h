#pragma once
// A main window on a temporary site with a temporary settings file, for the
// tests that drive it as a user would.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/main_window.h"
#include "app/memo.h"
#include "file_bytes.h"

class TMainWindowFixture {
 public:
  using TSettings = QList<QPair<QString, QString>>;

  static QString IniPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/quillmere/quillmere.ini";
  }

  // A fresh site and settings file; call from the test's init().
  void NewSite() {
    FSite = std::make_unique<QTemporaryDir>();
    QVERIFY(FSite->isValid());
    QDir(QFileInfo(IniPath()).absolutePath()).removeRecursively();
    WriteSettings();
  }

  // The settings the tests start from, with Overrides replacing or adding keys.
  void WriteSettings(const TSettings& overrides = {}) {
    TSettings values = {{"WorkingDir", Site() + "/"}, {"TabInterval", "12"},
                        {"AutoConversion", "0"},      {"DelEmptyLines", "FALSE"},
                        {"FileMask", "*.htm*;*.txt;"}, {"Top", "10"},
                        {"Left", "20"},                {"Height", "534"},
                        {"Width", "800"}};
    for (const auto& o : overrides) {
      auto v = std::find_if(values.begin(), values.end(),
                            [&](const auto& value) { return value.first == o.first; });
      if (v != values.end()) v->second = o.second;
      else values << o;
    }
    QByteArray ini = "[Settings]\r\n";
    for (const auto& v : values) ini += (v.first + "=" + v.second + "\r\n").toUtf8();
    WriteBytes(IniPath(), ini);
  }

  QString Site(const QString& name = {}) const {
    return name.isEmpty() ? FSite->path() : FSite->filePath(name);
  }
  void Page(const QString& name, const QByteArray& bytes) { WriteBytes(Site(name), bytes); }

  // Creates the window, shows it and waits for its first activation.
  void Open(const QStringList& args = {}) {
    FWindow = std::make_unique<TfrmMain>(args);
    FWindow->show();
    QVERIFY(QTest::qWaitForWindowExposed(FWindow.get()));
    QVERIFY(QTest::qWaitFor([this] { return !FWindow->Starting(); }));
    QVERIFY(QTest::qWaitForWindowActive(FWindow.get()));
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    // The message window has its own bbtCancel: look in the tool bar first.
    if (auto* bar = FWindow->findChild<QWidget*>("tlbToolBar"))
      if (auto* inBar = bar->findChild<T*>(name)) return inBar;
    T* child = FWindow->findChild<T*>(name);
    if (!child) qWarning("no control %s", name);
    return child;
  }
  bool Enabled(const char* name) const {
    if (auto* action = FWindow->findChild<QAction*>(name)) return action->isEnabled();
    auto* w = Control<QWidget>(name);
    return w && w->isEnabled();
  }
  TZELMemo* Editor() const { return FWindow->Editor(); }
  QListWidget* List() const { return Control<QListWidget>("flbPages"); }
  QString Text() const { return QString::fromStdString(Editor()->TextBytes()); }

  std::unique_ptr<QTemporaryDir> FSite;
  std::unique_ptr<TfrmMain> FWindow;
};
