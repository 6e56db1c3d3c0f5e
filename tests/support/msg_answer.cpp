#include "msg_answer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>

#include "components/msg_window.h"

namespace {

enum class THow { Result, Caption, Key, Close };

struct TArmed {
  THow How = THow::Close;
  TModalResult Result = mrNone;
  QString Caption;
  Qt::Key Key = Qt::Key_unknown;
  int TimeoutMs = MsgAnswerTimeoutMs;
  QElapsedTimer Clock;
  std::shared_ptr<TMsgSeen> Seen = std::make_shared<TMsgSeen>();
};

std::deque<TArmed> armed;
QPointer<QTimer> pollTimer;  // owned by the application object

void Record(const TMsgWindow* window, TMsgSeen& seen) {
  seen.Shown = true;
  seen.Text = window->Message();
  seen.Caption = window->windowTitle();
  seen.Kind = window->Kind();
  seen.Size = window->size();
  seen.Pos = window->pos();
  for (int slot = 0; slot < MsgSlotCount; ++slot) {
    const QPushButton* button = window->Button(slot);
    if (!button) continue;
    seen.Buttons << button->text();
    seen.ButtonRects << button->geometry();
    if (window->focusWidget() == button) seen.FocusButton = button->text();
  }
  const QCursor* cursor = QGuiApplication::overrideCursor();
  seen.ArrowCursor = cursor && cursor->shape() == Qt::ArrowCursor;
}

QPushButton* FindButton(const TMsgWindow* window, const TArmed& answer) {
  static constexpr TModalResult slotResults[MsgSlotCount] = {mrYes, mrNo, mrOk, mrCancel};
  for (int slot = 0; slot < MsgSlotCount; ++slot) {
    QPushButton* button = window->Button(slot);
    if (!button) continue;
    if (answer.How == THow::Result ? slotResults[slot] == answer.Result
                                   : button->text() == answer.Caption)
      return button;
  }
  return nullptr;
}

void Perform(TMsgWindow* window, const TArmed& answer) {
  switch (answer.How) {
    case THow::Key: {
      QWidget* target = window->focusWidget() ? window->focusWidget() : window;
      QTest::keyClick(target, answer.Key);
      return;
    }
    case THow::Close:
      window->close();
      return;
    case THow::Result:
    case THow::Caption:
      break;
  }
  if (QPushButton* button = FindButton(window, answer)) {
    button->click();
    return;
  }
  answer.Seen->Problem = answer.How == THow::Result
                             ? QString("no button answers %1").arg(int(answer.Result))
                             : QString("no button \"%1\"").arg(answer.Caption);
  qWarning("AnswerNextMessage: %s; closing the window", qPrintable(answer.Seen->Problem));
  window->close();
}

void DropExpired() {
  while (!armed.empty() && armed.front().Clock.elapsed() > armed.front().TimeoutMs) {
    armed.front().Seen->Problem = "no message window appeared";
    qWarning("AnswerNextMessage: no message window appeared within %d ms", armed.front().TimeoutMs);
    armed.pop_front();
  }
}

void Poll() {
  auto* window = qobject_cast<TMsgWindow*>(QApplication::activeModalWidget());
  if (!window || !window->isVisible()) DropExpired();
  if (armed.empty()) {
    if (pollTimer) pollTimer->stop();
    return;
  }
  if (!window || !window->isVisible()) return;
  // Taken off the queue first: pressing a button may open the next message.
  const TArmed answer = armed.front();
  armed.pop_front();
  Record(window, *answer.Seen);
  Perform(window, answer);
}

TMsgSeenPtr Arm(TArmed answer) {
  answer.Clock.start();
  armed.push_back(answer);
  if (!pollTimer) {
    pollTimer = new QTimer(QCoreApplication::instance());
    pollTimer->setInterval(10);
    QObject::connect(pollTimer, &QTimer::timeout, pollTimer, &Poll);
  }
  pollTimer->start();
  return answer.Seen;
}

}  // namespace

TMsgSeenPtr AnswerNextMessage(TModalResult result, int timeoutMs) {
  return Arm({THow::Result, result, {}, Qt::Key_unknown, timeoutMs});
}

TMsgSeenPtr AnswerNextMessage(const QString& caption, int timeoutMs) {
  return Arm({THow::Caption, mrNone, caption, Qt::Key_unknown, timeoutMs});
}

TMsgSeenPtr AnswerNextMessageWithKey(Qt::Key key, int timeoutMs) {
  return Arm({THow::Key, mrNone, {}, key, timeoutMs});
}

TMsgSeenPtr CloseNextMessage(int timeoutMs) {
  return Arm({THow::Close, mrNone, {}, Qt::Key_unknown, timeoutMs});
}

int PendingMessageAnswers() { return int(armed.size()); }

void ClearMessageAnswers() {
  armed.clear();
  if (pollTimer) pollTimer->stop();
}
