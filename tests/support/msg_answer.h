#pragma once
// Answers the message windows a test provokes: each armed answer waits for the
// next modal message window, records what it showed and presses a button,
// sends a key or closes it. Answers are used up in the order they were armed.
//
//   const auto seen = AnswerNextMessage(mrYes);      // or "&Yes", or a key
//   QCOMPARE(MsgYesNo("Delete it?", "Delete"), mrYes);
//   QCOMPARE(seen->Text, QString("Delete it?"));
#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

#include "components/msg_types.h"

// What the answered window showed, filled in just before it was answered.
struct TMsgSeen {
  bool Shown = false;  // a message window was answered
  QString Text;        // the label text, line breaks as "\n"
  QString Caption;     // the title bar
  TMsgKind Kind = mkWarning;
  QSize Size;           // client size
  QPoint Pos;           // top-left corner on the screen
  QStringList Buttons;  // captions, in slot order Yes, No, OK, Cancel
  QList<QRect> ButtonRects;
  QString FocusButton;       // caption of the button with the focus, empty if none
  bool ArrowCursor = false;  // the override cursor was the arrow
  QString Problem;           // why the answer could not be given as armed
};
using TMsgSeenPtr = std::shared_ptr<const TMsgSeen>;

// How long an armed answer waits for its window before it is dropped.
constexpr int MsgAnswerTimeoutMs = 10000;

// Presses the button that answers Result; without one, closes the window and
// notes the Problem.
TMsgSeenPtr AnswerNextMessage(TModalResult result, int timeoutMs = MsgAnswerTimeoutMs);
// Presses the button with this caption ("&Yes"); without one, as above.
TMsgSeenPtr AnswerNextMessage(const QString& caption, int timeoutMs = MsgAnswerTimeoutMs);
// Sends Key (Qt::Key_Return, Qt::Key_Escape, Qt::Key_Y...) where the keyboard
// focus of the window is. A key that answers nothing leaves the window up; arm
// a further answer to end it.
TMsgSeenPtr AnswerNextMessageWithKey(Qt::Key key, int timeoutMs = MsgAnswerTimeoutMs);
// Closes the window as its close box does.
TMsgSeenPtr CloseNextMessage(int timeoutMs = MsgAnswerTimeoutMs);

// Armed answers not yet used (a test may check that all were used).
int PendingMessageAnswers();
// Drops the armed answers, e.g. in a test's cleanup().
void ClearMessageAnswers();
