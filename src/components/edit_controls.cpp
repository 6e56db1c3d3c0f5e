#include "components/edit_controls.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <algorithm>

#include "components/desktop.h"
#include "components/form_style.h"

// ---- TZELCustomEdit ----

TZELCustomEdit::TZELCustomEdit(QWidget* parent) : QLineEdit(parent) {}

QChar TZELCustomEdit::KeyChar(const QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) return QChar(KeyCopy);
  if (event->matches(QKeySequence::Paste)) return QChar(KeyPaste);
  if (event->matches(QKeySequence::Cut)) return QChar(KeyCut);
  const int key = event->key();
  if (key == Qt::Key_Backspace) return QChar(KeyBackspace);
  if (key == Qt::Key_Return || key == Qt::Key_Enter) return QChar(KeyEnter);
  const Qt::KeyboardModifiers mods = event->modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool alt = mods & Qt::AltModifier;
  if (ctrl && !alt && key >= Qt::Key_A && key <= Qt::Key_Z) return QChar(key - Qt::Key_A + 1);
  // Alt and Meta combinations are commands, not typing.
  if (ctrl || alt || (mods & Qt::MetaModifier)) return {};
  const QString text = event->text();
  if (text.isEmpty() || text[0].unicode() < 32 || text[0].unicode() == 127) return {};
  return text[0];
}

void TZELCustomEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (FUpDownKeys && (key == Qt::Key_Up || key == Qt::Key_Down)) {
    PostFocusMove(key == Qt::Key_Down);
    event->accept();
    return;
  }
  const QChar typed = KeyChar(event);
  if (typed.isNull()) {
    QLineEdit::keyPressEvent(event);
    KeyProcessed(event, typed);
    return;
  }
  QChar ch = typed;
  FilterChar(ch);
  if (FEnterAsTab && ch.unicode() == KeyEnter) {
    PostFocusMove(true);
    ch = QChar();
  }
  if (OnKeyPress) OnKeyPress(this, ch);
  if (ch.isNull())
    event->accept();
  else
    ProcessChar(event, typed, ch);
  KeyProcessed(event, typed);
}

void TZELCustomEdit::FilterChar(QChar&) {}

void TZELCustomEdit::ProcessChar(QKeyEvent* event, QChar typed, QChar key) {
  if (key == typed)
    QLineEdit::keyPressEvent(event);
  else if (key.unicode() >= 32)
    insert(QString(key));
  else
    event->accept();  // a handler made it another control character: nothing to type
}

void TZELCustomEdit::KeyProcessed(QKeyEvent*, QChar) {}

bool TZELCustomEdit::IsWindowSwitch(Qt::FocusReason reason) {
  return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
         reason == Qt::MenuBarFocusReason;
}

void TZELCustomEdit::PostFocusBack() {
  // Taking the focus back inside the focus change would fight the widget
  // that is receiving it.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (isVisible() && isEnabled()) setFocus(Qt::OtherFocusReason);
      },
      Qt::QueuedConnection);
}

void TZELCustomEdit::PostFocusMove(bool next) {
  QMetaObject::invokeMethod(
      this, [this, next] { focusNextPrevChild(next); }, Qt::QueuedConnection);
}

// ---- TZELCustomNumEdit ----

TZELCustomNumEdit::TZELCustomNumEdit(QWidget* parent) : TZELCustomEdit(parent) {
  setFont(QFont(FixedFamily, 9));
  setAcceptDrops(false);
  // textEdited comes just before the textChanged of the same user edit; any
  // other textChanged is a text set by code.
  connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
    FUserEdit = true;
    FEditedText = t;
  });
  connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
    const bool user = FUserEdit && t == FEditedText;
    FUserEdit = false;
    if (!user) TextSetByCode();
  });
}

bool TZELCustomNumEdit::FormatsNow() const {
  return !FFirstChangeDone || (!FHasFocus && !FKeepUnformatted);
}

void TZELCustomNumEdit::TextSetByCode() {
  if (FInTextSet) return;
  FInTextSet = true;
  QString t = text();
  if (FormatsNow()) {
    t = FormatNumText(t, FFormat);
    FFirstChangeDone = true;
  }
  double v = 0;
  if (!ReadNumText(t, FFormat.DecimalSeparator, v)) {
    t = NumToText(FValue, FFormat);
    if (FormatsNow()) t = FormatNumText(t, FFormat);
  }
  if (ReadNumText(t, FFormat.DecimalSeparator, v)) FValue = v;
  if (t != text()) setText(t);
  FInTextSet = false;
}

void TZELCustomNumEdit::FormatText() {
  const QString t = FormatNumText(text(), FFormat);
  if (t != text()) setText(t);
}

void TZELCustomNumEdit::SetFillChar(QChar value) {
  if (!IsValidFillChar(value) || value == FFormat.FillChar) return;
  FFormat.FillChar = value;
  const QString t = TrimBlanks(text());
  if (t != text()) setText(t);
  PropertyChanged();
}

void TZELCustomNumEdit::SetFillCount(int value) {
  value = ClampFillCount(value);
  if (value == FFormat.FillCount) return;
  FFormat.FillCount = value;
  PropertyChanged();
}

void TZELCustomNumEdit::SetDecimalPositions(int value) {
  value = ClampDecimalPositions(value);
  if (value == FFormat.DecimalPositions) return;
  FFormat.DecimalPositions = value;
  PropertyChanged();
}

void TZELCustomNumEdit::SetDecimalSeparator(QChar value) {
  if (!IsValidDecimalSeparator(value) || value == FFormat.DecimalSeparator) return;
  FFormat.DecimalSeparator = value;
  PropertyChanged();
}

void TZELCustomNumEdit::SetMaxValue(int value) {
  value = std::max(value, FMinValue);
  if (value == FMaxValue) return;
  FMaxValue = value;
  if (FValue > FMaxValue) SetValue(FMaxValue);
  if (FFirstChangeDone) FMaxLength = NumCharLimit(FMaxLength, FMaxValue, FFormat.DecimalPositions);
  PropertyChanged();
}

void TZELCustomNumEdit::SetMinValue(int value) {
  if (value == FMinValue) return;
  FMinValue = value;
  if (FMaxValue < value) FMaxValue = value;
  if (FValue < value) SetValue(value);
  PropertyChanged();
}

void TZELCustomNumEdit::SetValue(double value) {
  if (value == FValue) return;
  FValue = value;
  // Formatted here already, the text changes once, not twice.
  QString t = NumToText(value, FFormat);
  if (FormatsNow()) t = FormatNumText(t, FFormat);
  setText(t);
}

void TZELCustomNumEdit::SetMaxLength(int value) {
  value = std::max(value, 0);
  if (FFirstChangeDone) value = NumCharLimit(value, FMaxValue, FFormat.DecimalPositions);
  if (value == FMaxLength) return;
  FMaxLength = value;
  PropertyChanged();
}

void TZELCustomNumEdit::focusInEvent(QFocusEvent* event) {
  if (IsWindowSwitch(event->reason()) && FHasFocus) {
    QLineEdit::focusInEvent(event);
    return;
  }
  FHasFocus = true;
  FormatText();
  QLineEdit::focusInEvent(event);
  Enter();
}

void TZELCustomNumEdit::Enter() {
  // Without its fill the number is ready to be typed over.
  const QString t = TrimBlanks(text());
  if (t != text()) setText(t);
  selectAll();
}

void TZELCustomNumEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (IsWindowSwitch(event->reason()) || !FHasFocus) return;
  FHasFocus = false;
  Exit();
}

void TZELCustomNumEdit::Exit() {
  switch (CheckNumExit(text(), FFormat.DecimalSeparator, FMinValue, FMaxValue)) {
    case TNumExitCheck::Accept:
      FormatText();
      return;
    case TNumExitCheck::ToSmall:
      if (OnToSmall)
        OnToSmall(this);
      else
        PutBack(FMinValue);
      break;
    case TNumExitCheck::ToLarge:
      if (OnToLarge)
        OnToLarge(this);
      else
        PutBack(FMaxValue);
      break;
  }
  PostFocusBack();
}

void TZELCustomNumEdit::PutBack(int bound) {
  FKeepUnformatted = true;
  setText(NumToText(bound, FFormat));
  FKeepUnformatted = false;
}

void TZELCustomNumEdit::hideEvent(QHideEvent* event) {
  // Shown again, the field is entered afresh.
  FHasFocus = false;
  TZELCustomEdit::hideEvent(event);
}

void TZELCustomNumEdit::FilterChar(QChar& key) {
  const int selLength = static_cast<int>(selectedText().length());
  bool accepted = NumCharAccepted(key, {text(), SelStart(), selLength, FMaxLength}, FFormat);
  if (accepted && key.unicode() >= 32 && FMaxLength > 0)
    accepted = text().length() - selLength < FMaxLength;
  if (!accepted) {
    key = QChar();
    if (FBeep) Desktop().Beep();
  }
}

void TZELCustomNumEdit::ProcessChar(QKeyEvent* event, QChar typed, QChar key) {
  if (key.unicode() == KeyPaste && FMaxLength > 0) {
    // Only what fits goes in, as with typing.
    const int room = FMaxLength - static_cast<int>(text().length() - selectedText().length());
    insert(QGuiApplication::clipboard()->text().left(std::max(room, 0)));
    event->accept();
    return;
  }
  TZELCustomEdit::ProcessChar(event, typed, key);
}

void TZELCustomNumEdit::KeyProcessed(QKeyEvent* event, QChar typed) {
  if (!typed.isNull() || event->key() == Qt::Key_Delete) RepairText();
}

void TZELCustomNumEdit::RepairText() {
  QString t = text();
  int caret = cursorPosition();
  if (!RepairLeadingZero(t, caret, FFormat.DecimalSeparator)) return;
  setText(t);
  setCursorPosition(caret);
}
