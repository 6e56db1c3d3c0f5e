#include "components/msg_door.h"

#include <cstdio>

namespace {

// The answer a message window gives when its focused button is pressed.
TModalResult DefaultAnswer(TMsgButtons buttons, int defaultButton) {
  static const TModalResult bySlot[MsgSlotCount] = {mrYes, mrNo, mrOk, mrCancel};
  if (defaultButton >= 0 && defaultButton < MsgSlotCount &&
      buttons.testFlag(TMsgButton(1 << defaultButton)))
    return bySlot[defaultButton];
  return mrCancel;
}

class TStdErrDoor final : public TMsgDoor {
 public:
  TModalResult Show(const QString& text, const QString& caption, TMsgKind, TMsgButtons buttons,
                    int defaultButton) override {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    if (!caption.isEmpty()) shown = caption + QLatin1String(": ") + shown;
    std::fprintf(stderr, "%s\n", shown.toLocal8Bit().constData());
    std::fflush(stderr);
    return DefaultAnswer(buttons, defaultButton);
  }
};

TStdErrDoor stdErrDoor;
TMsgDoor* installed = &stdErrDoor;

}  // namespace

TMsgDoor& MsgDoor() { return *installed; }

void SetMsgDoor(TMsgDoor* d) { installed = d ? d : &stdErrDoor; }

TModalResult DoorYesNo(const QString& text, const QString& caption) {
  return installed->Show(text, caption, mkQuestion, mbYes | mbNo, 1);
}

TModalResult DoorInfo(const QString& text, const QString& caption) {
  return installed->Show(text, caption, mkInfo, mbOK, 2);
}

TModalResult DoorWarning(const QString& text, const QString& caption) {
  return installed->Show(text, caption, mkWarning, mbOK, 2);
}

TModalResult DoorStop(const QString& text, const QString& caption) {
  return installed->Show(text, caption, mkStop, mbOK, 2);
}
