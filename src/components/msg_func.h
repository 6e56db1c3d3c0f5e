#pragma once
// MSG_Func: every message, question and "please wait" box of the program goes
// through these routines and the one message window they build.
#include <QString>

#include "components/delay_func.h"
#include "components/msg_types.h"

class TMsgWindow;

// Shows Text modally under Caption (the application title when empty) with
// the icon of Kind and the buttons of Buttons; the button in slot
// DefaultButton (0 Yes, 1 No, 2 OK, 3 Cancel) has the focus. Answers the
// pressed button's result, mrCancel for the close box.
TModalResult ShowMsg(const QString& text, const QString& caption, TMsgKind kind,
                     TMsgButtons buttons, int defaultButton);
// A question with Yes and No, the focus on No.
TModalResult MsgYesNo(const QString& text, const QString& caption);
TModalResult MsgInfo(const QString& text, const QString& caption);
TModalResult MsgWarning(const QString& text, const QString& caption);
TModalResult MsgStop(const QString& text, const QString& caption);

// Opens the non-modal "please wait" box, unless one is showing already;
// Caption defaults to the program's file name.
void ShowProgressBox(const QString& text, const QString& caption, TMsgKind kind);
// Replaces the showing box's text and repaints it at once; nothing if none shows.
void UpdateProgressBox(const QString& text);
// Keeps the showing box up MinSeconds longer (events run meanwhile), then
// destroys it; nothing if none shows.
void CloseProgressBox(double minSeconds);
void ShowPrintingBox();
// The showing progress box, or nullptr.
TMsgWindow* ProgressBoxWindow();
