#pragma once
// One main window driven as a user would, offscreen: a temporary site and a
// settings file pointing at it, the window started and its first activation
// waited for, controls found by objectName, keys sent to the editor. A test
// class holds one and calls Open() once its pages are written.
//
//   TWindowFixture w;             // in the test class
//   w.Page("a.html", "<p>\r\n");  // in a test
//   w.Open();
//   w.FocusEditor();
//   w.Key(Qt::Key_S, Qt::ControlModifier);
#include <QList>
#include <QPair>
#include <QTemporaryDir>
#include <memory>

#include "app/main_window.h"
#include "app/memo.h"
#include "desktop_stub.h"

class QListWidget;

using TSettingsValues = QList<QPair<QString, QString>>;

class TWindowFixture {
 public:
  TWindowFixture();
  ~TWindowFixture();

  // The settings file, written fresh with these values over the defaults
  // (site folder, tab of 3, blanks to tabs, masks *.htm*;*.txt;).
  void WriteSettings(const TSettingsValues& overrides = {});
  static QString IniPath();
  // The site folder, or a file in it; Page writes one with its folders.
  QString Site(const QString& name = {}) const;
  void Page(const QString& name, const QByteArray& bytes);
  // Points the site elsewhere (a small disk, say) before Open.
  void UseSite(const QString& folder);

  // Creates the window, shows it and waits for its first activation.
  void Open(const QStringList& args = {});
  // Creates and shows the window without waiting (a message may come first).
  void Show(const QStringList& args = {});
  TfrmMain* Window() const { return FWindow.get(); }
  TZELMemo* Editor() const { return FWindow->Editor(); }
  QListWidget* List() const;
  template <typename T = QObject>
  T* Control(const char* name) const {
    return qobject_cast<T*>(FindControl(name));
  }
  bool Enabled(const char* name) const;
  QString Text() const { return QString::fromStdString(Editor()->TextBytes()); }
  TEditFileInfo* Doc() const { return FWindow->FileInfo(); }
  bool Modified() const;
  QString Caption() const { return FWindow->windowTitle(); }
  void Command(int tag) { FWindow->MenuClick(tag); }
  // A mouse click on the button of that name.
  void Click(const char* name);

  // Another window takes the focus and gives it back, as a switch to
  // another program does.
  void Reactivate();
  void FocusEditor();
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
  void Type(const QString& text);
  // Focuses the editor, types text and waits until it counts as an edit.
  void Edit(const QString& text);
  // Ctrl+S as the user presses it, the window active again after the last
  // message window (offscreen, closing one activates nothing).
  void SaveByKey();

  TDesktopStub Desktop;

 private:
  QObject* FindControl(const char* name) const;
  std::unique_ptr<QTemporaryDir> FSite;
  QString FSiteFolder;
  std::unique_ptr<TfrmMain> FWindow;
};
