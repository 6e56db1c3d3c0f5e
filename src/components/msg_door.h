#pragma once
// The window-free side of the message window: core code (the folder-tree
// engine) shows its messages and asks its questions through this door. The
// window library installs a door that opens the message window; without it
// (a command-line program, a window-free test) messages go to standard error
// and a question is answered with its default button.
#include <QString>

#include "components/msg_types.h"

class TMsgDoor {
 public:
  virtual ~TMsgDoor() = default;
  // As ShowMsg of MSG_Func: Text under Caption with Kind's icon and Buttons;
  // DefaultButton is the slot (0 Yes, 1 No, 2 OK, 3 Cancel) with the focus.
  virtual TModalResult Show(const QString& text, const QString& caption, TMsgKind kind,
                            TMsgButtons buttons, int defaultButton) = 0;
};

// The installed door.
TMsgDoor& MsgDoor();
// Installs D (not owned); nullptr puts the standard-error door back.
void SetMsgDoor(TMsgDoor* d);

// The four shapes of message the core uses, through the installed door.
TModalResult DoorYesNo(const QString& text, const QString& caption);
TModalResult DoorInfo(const QString& text, const QString& caption);
TModalResult DoorWarning(const QString& text, const QString& caption);
TModalResult DoorStop(const QString& text, const QString& caption);
