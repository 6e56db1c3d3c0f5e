#pragma once
// The message window's vocabulary (kinds, button sets, answers), kept free of
// widgets so that window-free code can name a kind or test an answer.
#include <QFlags>
#include <QtGlobal>

// The icon a message shows; the ordinal is what callers pass.
enum TMsgKind : quint8 { mkWarning = 0, mkStop = 1, mkInfo = 2, mkQuestion = 3 };

// One bit per button: bit n for ordinal n, in the fixed order Yes, No, OK, Cancel.
enum TMsgButton : quint8 { mbYes = 0x01, mbNo = 0x02, mbOK = 0x04, mbCancel = 0x08 };
using TMsgButtons = QFlags<TMsgButton>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgButtons)

// The toolkit's modal-result numbers; a message window answers with one.
enum TModalResult : quint16 {
  mrNone = 0,
  mrOk = 1,
  mrCancel = 2,
  mrAbort = 3,
  mrRetry = 4,
  mrIgnore = 5,
  mrYes = 6,
  mrNo = 7,
  mrAll = 8,
  mrNoToAll = 9,
  mrYesToAll = 10
};

// Slots of the default-button index: the four buttons in their fixed order.
constexpr int MsgSlotCount = 4;
