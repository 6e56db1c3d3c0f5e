#include "components/mask_edits.h"

#include <QClipboard>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <algorithm>

#include "components/desktop.h"

// ---- TZELCustomMaskEdit ----

TZELCustomMaskEdit::TZELCustomMaskEdit(TMaskKind kind, QWidget* parent)
    : TZELCustomEdit(parent), FKind(kind) {
  setAcceptDrops(false);
  // Letters are capitals however they arrive: typed, pasted, set by code.
  connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
    const QString upper = t.toUpper();
    if (upper == t) return;
    const TMaskEditState state = EditState();
    setText(upper);
    ApplyEditState({upper, state.SelStart, state.SelLength});
  });
}

TMaskEditState TZELCustomMaskEdit::EditState() const {
  return {text(), SelStart(), static_cast<int>(selectedText().length())};
}

void TZELCustomMaskEdit::ApplyEditState(const TMaskEditState& state) {
  if (state == EditState()) return;
  if (state.Text != text()) setText(state.Text);
  if (state.SelLength > 0)
    setSelection(state.SelStart, state.SelLength);
  else
    setCursorPosition(state.SelStart);
}

void TZELCustomMaskEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    TMaskEditState state = EditState();
    MaskPrepareDelete(FKind, state);
    ApplyEditState(state);
  }
  TZELCustomEdit::keyPressEvent(event);
}

void TZELCustomMaskEdit::FilterChar(QChar& key) {
  TMaskEditState state = EditState();
  bool rejected = false;
  key = MaskPrepareKey(FKind, key, state, rejected);
  if (rejected && FBeep) Desktop().Beep();
  ApplyEditState(state);
}

void TZELCustomMaskEdit::ProcessChar(QKeyEvent* event, QChar typed, QChar key) {
  if (key.unicode() == KeyPaste) {
    TypeOver(QGuiApplication::clipboard()->text());
    event->accept();
    return;
  }
  TZELCustomEdit::ProcessChar(event, typed, key);
}

void TZELCustomMaskEdit::TypeOver(const QString& text) {
  bool refused = false;
  for (QChar c : text.trimmed()) {
    TMaskEditState state = EditState();
    bool rejected = c.unicode() < 32;
    const QChar k = rejected ? QChar() : MaskPrepareKey(FKind, c, state, rejected);
    refused = refused || rejected;
    if (rejected) continue;
    ApplyEditState(state);
    if (!k.isNull()) insert(QString(k));
    Repair();
  }
  if (refused && FBeep) Desktop().Beep();
}

void TZELCustomMaskEdit::mouseReleaseEvent(QMouseEvent* event) {
  // The toolkit's middle-click paste inserts only what fits, which in a full
  // field is nothing.
  if (event->button() == Qt::MiddleButton && !isReadOnly() &&
      QGuiApplication::clipboard()->supportsSelection()) {
    deselect();
    TypeOver(QGuiApplication::clipboard()->text(QClipboard::Selection));
    event->accept();
    return;
  }
  TZELCustomEdit::mouseReleaseEvent(event);
}

void TZELCustomMaskEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The toolkit names its Paste item only by its (translated) text and
  // shortcut; where it cannot be told, its own paste stays.
  const QString pasteKey =
      QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
  for (QAction* paste : menu->actions()) {
    if (!paste->text().endsWith(pasteKey)) continue;
    QObject::disconnect(paste, &QAction::triggered, nullptr, nullptr);
    connect(paste, &QAction::triggered, this,
            [this] { TypeOver(QGuiApplication::clipboard()->text()); });
  }
  menu->popup(event->globalPos());
}

void TZELCustomMaskEdit::KeyProcessed(QKeyEvent* event, QChar typed) {
  if (!typed.isNull() || event->key() == Qt::Key_Delete) Repair();
}

void TZELCustomMaskEdit::Repair() {
  const QString t = MaskRepair(FKind, text());
  if (t == text()) return;
  const int caret = cursorPosition();
  setText(t);
  setCursorPosition(std::min<int>(caret, t.length()));
}

void TZELCustomMaskEdit::focusInEvent(QFocusEvent* event) {
  if (IsWindowSwitch(event->reason()) && FHasFocus) {
    QLineEdit::focusInEvent(event);
    return;
  }
  FHasFocus = true;
  const QString t = MaskEntryText(FKind, text());
  if (t != text()) setText(t);
  FEntryText = text();
  QLineEdit::focusInEvent(event);
}

void TZELCustomMaskEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (IsWindowSwitch(event->reason()) || !FHasFocus) return;
  FHasFocus = false;
  if (AllowExit() || StateOK()) return;
  setText(FEntryText);
  PostFocusBack();
}

void TZELCustomMaskEdit::hideEvent(QHideEvent* event) {
  // Shown again, the field is entered afresh.
  FHasFocus = false;
  TZELCustomEdit::hideEvent(event);
}

namespace {

// The designed width, or what a full text needs in a larger font; fixed,
// so that layouts keep it.
void Shape(QLineEdit& edit, int maxLength, int width, const QString& text, const QString& full) {
  edit.setMaxLength(maxLength);
  edit.setFixedWidth(std::max(width, edit.fontMetrics().horizontalAdvance(full) + 14));
  edit.setText(text);
}

}  // namespace

// ---- TPostcodeEdit ----

TPostcodeEdit::TPostcodeEdit(QWidget* parent) : TZELCustomMaskEdit(TMaskKind::Postcode, parent) {
  Shape(*this, 6, 65, QStringLiteral("1234AB"), QStringLiteral("8888MM"));
}

void TPostcodeEdit::SetPostcode(const QString& value) {
  const QString t = PostcodeToText(value);
  if (!t.isNull()) setText(t);
}

bool TPostcodeEdit::AllowExit() {
  bool allow = true;
  if (OnAllowExit) OnAllowExit(this, State(), allow);
  return allow;
}

// ---- TTimeEdit ----

TTimeEdit::TTimeEdit(QWidget* parent) : TZELCustomMaskEdit(TMaskKind::Time, parent) {
  Shape(*this, 5, 41, QStringLiteral(":"), QStringLiteral("88:88"));
}

void TTimeEdit::SetTime(const QString& value) {
  const QString t = TimeValue(value);
  if (!t.isEmpty()) setText(t);
}

bool TTimeEdit::AllowExit() {
  bool allow = true;
  if (OnAllowExit) OnAllowExit(this, State(), allow);
  return allow;
}

// ---- TDateEdit ----

TDateEdit::TDateEdit(QWidget* parent) : TZELCustomMaskEdit(TMaskKind::Date, parent) {
  Shape(*this, 10, 73, QStringLiteral("--"), QStringLiteral("88-88-8888"));
}

void TDateEdit::SetDate(const QString& value) {
  // Stored as given: padding "1-1-2001" to "01-1-2001" would make it a text
  // that its own state calls not full.
  const QString t = DateValue(value);
  if (!t.isEmpty()) setText(t);
}

bool TDateEdit::AllowExit() {
  bool allow = true;
  if (OnAllowExit) OnAllowExit(this, State(), SmallestYear, allow);
  return allow;
}
