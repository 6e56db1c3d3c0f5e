#pragma once
// The one small window behind every message, question and "please wait" box;
// built and owned by the MSG_Func routines (msg_func.h) for one use.
#include <QDialog>

#include "components/msg_types.h"

class QLabel;
class QPushButton;

class TMsgWindow : public QDialog {
  Q_OBJECT
 public:
  // Designed sizes, in logical pixels (see the constructor on scaling).
  static constexpr int DesignWidth = 360;
  static constexpr int DesignHeight = 165;
  static constexpr int ButtonTop = 100;
  static constexpr int ButtonWidth = 89;
  static constexpr int ButtonHeight = 28;
  static constexpr int ButtonSpacing = 8;

  explicit TMsgWindow(QWidget* parent = nullptr);

  TMsgKind Kind() const { return FKind; }
  void SetKind(TMsgKind kind);
  // The label's text; CR LF (or a lone CR) in Text becomes a line break.
  QString Message() const;
  void SetMessage(const QString& text);

  // Creates the buttons of Buttons in the order Yes, No, OK, Cancel, lays them
  // out centred (widening the window when they need it) and gives the focus
  // to the button in slot DefaultButton (0..3), if that slot holds one.
  void CreateButtons(TMsgButtons buttons, int defaultButton);
  // The button in Slot (0 Yes, 1 No, 2 OK, 3 Cancel), or nullptr.
  QPushButton* Button(int slot) const;
  int DefaultButton() const { return FDefaultButton; }

  // Turns the window into the progress box: no border icons, no button row,
  // and the user cannot close it; only its owner destroys it.
  void MakeProgressBox();
  bool IsProgressBox() const { return FProgressBox; }

  void CentreOnScreen();

 public Q_SLOTS:
  // The close box and the system menu answer mrCancel.
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QPushButton* EnterButton() const;
  QPushButton* EscapeButton() const;
  QPushButton* AcceleratorButton(int key) const;

  QLabel* imgIcon;
  QLabel* lblMessage;
  QPushButton* FButtons[MsgSlotCount] = {};
  bool FEnterRole[MsgSlotCount] = {};
  bool FEscapeRole[MsgSlotCount] = {};
  TMsgKind FKind = mkWarning;
  int FDefaultButton = 2;
  bool FProgressBox = false;
};
