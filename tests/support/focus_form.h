#pragma once
// A window with a plain edit before and after the edit under test, so that
// focus has somewhere to go.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

template <class TEdit>
struct TForm {
  QWidget Window;
  QLineEdit* Before;
  TEdit* Edit;
  QLineEdit* After;

  TForm() {
    auto* layout = new QVBoxLayout(&Window);
    Before = new QLineEdit(&Window);
    Edit = new TEdit(&Window);
    After = new QLineEdit(&Window);
    layout->addWidget(Before);
    layout->addWidget(Edit);
    layout->addWidget(After);
  }
  bool Show() {
    Window.show();
    Window.activateWindow();
    if (!QTest::qWaitForWindowActive(&Window)) return false;
    Before->setFocus(Qt::OtherFocusReason);
    return Before->hasFocus();
  }
  void Enter() { Edit->setFocus(Qt::TabFocusReason); }
  // Leaves the edit and lets the posted focus return happen.
  void Leave() {
    After->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
  }
};
