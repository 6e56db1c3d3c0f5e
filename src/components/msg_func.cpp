#include "components/msg_func.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>

#include "components/app_title.h"
#include "components/msg_door.h"
#include "components/msg_window.h"

namespace {

// The one progress box; it counts as showing while it exists.
QPointer<TMsgWindow> progressBox;

// The arrow while a message is up, whatever a long step had set; restored on
// every way out.
class TArrowCursor {
 public:
  TArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
  ~TArrowCursor() { QApplication::restoreOverrideCursor(); }
  TArrowCursor(const TArrowCursor&) = delete;
  TArrowCursor& operator=(const TArrowCursor&) = delete;
};

// Destroys the window on every way out, unless something destroyed it already.
class TWindowGuard {
 public:
  explicit TWindowGuard(TMsgWindow* window) : FWindow(window) {}
  ~TWindowGuard() { delete FWindow.data(); }
  TWindowGuard(const TWindowGuard&) = delete;
  TWindowGuard& operator=(const TWindowGuard&) = delete;

 private:
  QPointer<TMsgWindow> FWindow;
};

// Core code's messages open the message window in every program that links
// this file, from before main() on.
class TWindowDoor final : public TMsgDoor {
 public:
  TWindowDoor() { SetMsgDoor(this); }
  ~TWindowDoor() override { SetMsgDoor(nullptr); }
  TModalResult Show(const QString& text, const QString& caption, TMsgKind kind, TMsgButtons buttons,
                    int defaultButton) override {
    return ShowMsg(text, caption, kind, buttons, defaultButton);
  }
};
TWindowDoor windowDoor;

}  // namespace

TModalResult ShowMsg(const QString& text, const QString& caption, TMsgKind kind,
                     TMsgButtons buttons, int defaultButton) {
  const TArrowCursor arrow;
  auto* window = new TMsgWindow;
  const TWindowGuard guard(window);
  window->SetKind(kind);
  window->setWindowTitle(caption.isEmpty() ? ApplicationTitle() : caption);
  window->SetMessage(text);
  window->CreateButtons(buttons, defaultButton);
  window->CentreOnScreen();
  const int result = window->exec();
  return result >= mrNone && result <= mrYesToAll ? TModalResult(result) : mrNone;
}

TModalResult MsgYesNo(const QString& text, const QString& caption) {
  return ShowMsg(text, caption, mkQuestion, mbYes | mbNo, 1);
}

TModalResult MsgInfo(const QString& text, const QString& caption) {
  return ShowMsg(text, caption, mkInfo, mbOK, 2);
}

TModalResult MsgWarning(const QString& text, const QString& caption) {
  return ShowMsg(text, caption, mkWarning, mbOK, 2);
}

TModalResult MsgStop(const QString& text, const QString& caption) {
  return ShowMsg(text, caption, mkStop, mbOK, 2);
}

void ShowProgressBox(const QString& text, const QString& caption, TMsgKind kind) {
  if (progressBox) return;
  auto* box = new TMsgWindow;
  progressBox = box;
  box->setObjectName("frmProgressBox");
  box->SetKind(kind);
  box->MakeProgressBox();
  box->SetMessage(text);
  box->setWindowTitle(
      caption.isEmpty() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName() : caption);
  box->CentreOnScreen();
  box->show();
  // The box must be on screen before the caller's long work starts: a new
  // window is mapped and exposed only by a pass of the event loop (user input
  // held back), after which it is painted at once.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (progressBox) progressBox->repaint();
}

void UpdateProgressBox(const QString& text) {
  if (!progressBox) return;
  progressBox->SetMessage(text);
  progressBox->repaint();
}

void CloseProgressBox(double minSeconds) {
  if (!progressBox) return;
  // Only this box: a nested close during the wait may have ended it and
  // another may have been opened since.
  const QPointer<TMsgWindow> box = progressBox;
  DelaySeconds(minSeconds);
  delete box.data();
}

void ShowPrintingBox() {
  ShowProgressBox("The document is being printed.\r\n\r\nPlease wait...", "Printing in progress",
                  mkInfo);
}

TMsgWindow* ProgressBoxWindow() { return progressBox.data(); }
