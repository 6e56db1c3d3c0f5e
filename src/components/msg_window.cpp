#include "components/msg_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "components/form_style.h"

namespace {

struct TButtonSlot {
  const char* Caption;
  const char* Name;
  TModalResult Result;
  bool Enter;   // answers Enter while no other button has the focus
  bool Escape;  // answers Escape (adjusted to the set in CreateButtons)
};

constexpr TButtonSlot ButtonSlots[MsgSlotCount] = {
    {"&Yes", "bbtYes", mrYes, true, false},
    {"&No", "bbtNo", mrNo, false, true},
    {"&OK", "bbtOK", mrOk, true, false},
    {"&Cancel", "bbtCancel", mrCancel, false, true},
};

constexpr Qt::WindowFlags MessageFlags = Qt::Dialog | Qt::CustomizeWindowHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;
constexpr Qt::WindowFlags ProgressFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint;

QStyle::StandardPixmap KindIcon(TMsgKind kind) {
  switch (kind) {
    case mkStop:
      return QStyle::SP_MessageBoxCritical;
    case mkInfo:
      return QStyle::SP_MessageBoxInformation;
    case mkQuestion:
      return QStyle::SP_MessageBoxQuestion;
    case mkWarning:
      break;
  }
  return QStyle::SP_MessageBoxWarning;
}

}  // namespace

// All sizes are the designed 96-dpi values taken as logical pixels: Qt's own
// high-DPI handling scales them by the screen's ratio, which is the scaling
// by dots per inch / 96 the design asks for, so no scaling is done here.
TMsgWindow::TMsgWindow(QWidget* parent) : QDialog(parent, MessageFlags) {
  setObjectName("frmMsgWindow");
  setFixedSize(DesignWidth, DesignHeight);
  setFont(QFont(SansFamily, 10));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::Button));
  setPalette(pal);
  setAutoFillBackground(true);

  imgIcon = new QLabel(this);
  imgIcon->setObjectName("imgIcon");
  imgIcon->setGeometry(10, 20, 32, 32);

  lblMessage = new QLabel(this);
  lblMessage->setObjectName("lblMessage");
  lblMessage->setGeometry(70, 20, width() - 90, height() - 100);
  lblMessage->setWordWrap(true);
  // Messages quote file names and page text; markup in them must show as is.
  lblMessage->setTextFormat(Qt::PlainText);
  lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  SetKind(mkWarning);
}

void TMsgWindow::SetKind(TMsgKind kind) {
  FKind = kind;
  imgIcon->setPixmap(style()->standardIcon(KindIcon(kind), nullptr, this).pixmap(32, 32));
}

QString TMsgWindow::Message() const { return lblMessage->text(); }

void TMsgWindow::SetMessage(const QString& text) {
  QString shown = text;
  shown.replace("\r\n", "\n").replace('\r', '\n');
  if (shown != lblMessage->text()) lblMessage->setText(shown);
}

void TMsgWindow::CreateButtons(TMsgButtons buttons, int defaultButton) {
  FDefaultButton = defaultButton;
  int count = 0;
  for (int slot = 0; slot < MsgSlotCount; ++slot) {
    if (!buttons.testFlag(TMsgButton(1 << slot)) || FButtons[slot]) continue;
    const TButtonSlot& kind = ButtonSlots[slot];
    auto* button = new QPushButton(QString::fromLatin1(kind.Caption), this);
    button->setObjectName(kind.Name);
    // Enter and Escape are routed by keyPressEvent, never by QDialog's own
    // default-button logic; click focus only, as the buttons are no tab stops.
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::ClickFocus);
    const TModalResult result = kind.Result;
    connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
    FButtons[slot] = button;
    FEnterRole[slot] = kind.Enter;
    FEscapeRole[slot] = kind.Escape;
    ++count;
  }
  const bool hasCancel = FButtons[3] != nullptr;
  FEscapeRole[1] = FButtons[1] && !hasCancel;
  FEscapeRole[2] = FButtons[2] && !hasCancel;
  if (defaultButton >= 0 && defaultButton < MsgSlotCount && FButtons[defaultButton])
    FButtons[defaultButton]->setFocus();

  const int step = ButtonWidth + ButtonSpacing;
  const int total = step * count;
  if (total > width()) setFixedWidth(total + 16);
  int left = (width() - total) / 2 + 4;
  for (QPushButton* button : FButtons) {
    if (!button) continue;
    button->setGeometry(left, ButtonTop, ButtonWidth, ButtonHeight);
    left += step;
  }
}

QPushButton* TMsgWindow::Button(int slot) const {
  return slot >= 0 && slot < MsgSlotCount ? FButtons[slot] : nullptr;
}

void TMsgWindow::MakeProgressBox() {
  FProgressBox = true;
  setModal(false);
  setWindowFlags(ProgressFlags);
  setFixedHeight(DesignHeight - ButtonHeight);
}

void TMsgWindow::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void TMsgWindow::reject() {
  if (!FProgressBox) done(mrCancel);
}

void TMsgWindow::closeEvent(QCloseEvent* event) {
  if (!FProgressBox)
    QDialog::closeEvent(event);
  else if (event->spontaneous())
    event->ignore();  // the user cannot close the progress box; the program may
  else
    event->accept();
}

void TMsgWindow::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  QPushButton* target = nullptr;
  if (enter)
    target = EnterButton();
  else if (key == Qt::Key_Escape)
    target = EscapeButton();
  else if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
    target = AcceleratorButton(key);
  if (target) {
    target->click();
    event->accept();
  } else if (enter || key == Qt::Key_Escape) {
    event->accept();  // a key without a button to answer it does nothing
  } else {
    QDialog::keyPressEvent(event);
  }
}

QPushButton* TMsgWindow::EnterButton() const {
  for (QPushButton* button : FButtons)
    if (button && button == focusWidget()) return button;
  for (int slot = 0; slot < MsgSlotCount; ++slot)
    if (FButtons[slot] && FEnterRole[slot]) return FButtons[slot];
  return nullptr;
}

QPushButton* TMsgWindow::EscapeButton() const {
  for (int slot = 0; slot < MsgSlotCount; ++slot)
    if (FButtons[slot] && FEscapeRole[slot]) return FButtons[slot];
  return nullptr;
}

// Without an edit control to type into, the plain accelerator letter answers
// as well as Alt with it, as in a native message box.
QPushButton* TMsgWindow::AcceleratorButton(int key) const {
  if (key < Qt::Key_A || key > Qt::Key_Z) return nullptr;
  for (int slot = 0; slot < MsgSlotCount; ++slot) {
    if (!FButtons[slot]) continue;
    const QString caption = FButtons[slot]->text();
    const qsizetype amp = caption.indexOf('&');
    if (amp >= 0 && amp + 1 < caption.size() && caption[amp + 1].toUpper() == QChar(key))
      return FButtons[slot];
  }
  return nullptr;
}
