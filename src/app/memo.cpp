#include "app/memo.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>

#include "app/memo_accessible.h"
#include "components/form_style.h"

namespace {

constexpr int DefaultTabChars = 8;
constexpr int EditorFontPixels = 12;
constexpr int MarkerColumn = 80;

// Pasted and dropped text may bring LF or CR line ends; the buffer holds CR LF.
QByteArray WithCrLf(const QByteArray& text) {
  QByteArray out;
  out.reserve(text.size() + text.size() / 16);
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

TZELMemo::TZELMemo(QWidget* parent) : QsciScintilla(parent) {
  TMemoAccessible::InstallFactory();
  setUtf8(true);
  setEolMode(EolWindows);
  setEolVisibility(false);
  setWrapMode(WrapNone);
  setAutoIndent(false);
  setBraceMatching(NoBraceMatch);
  setFolding(NoFoldStyle);
  setIndentationsUseTabs(true);
  Sci(SCI_SETTABINDENTS, 0);
  Sci(SCI_SETBACKSPACEUNINDENTS, 0);
  Sci(SCI_SETPASTECONVERTENDINGS, 1);
  Sci(SCI_SETMULTIPLESELECTION, 0);
  Sci(SCI_SETTABWIDTH, DefaultTabChars);
  // Keeps the laid-out lines of the page in view, so a key re-lays only its
  // own line: with colouring each line is many runs of text.
  Sci(SCI_SETLAYOUTCACHE, SC_CACHE_PAGE);
  SetUpAppearance();
  FreeEditorKeys();
  WatchChanges();
}

// QScintilla answers every SC_MOD_INSERTTEXT and SC_MOD_DELETETEXT notice by
// counting the characters from the start of the text up to the change (for
// accessibility), 0.6 s per keystroke at the end of a 50 MB page here. So
// only the "before" notices are asked for, and the change is reported when
// the call or event that made it has finished.
void TZELMemo::WatchChanges() {
  Sci(SCI_SETMODEVENTMASK, SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE);
  connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int position, int type, const char*, int length) {
            CountChange(position, type, length);
            if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)) || FChangePending) return;
            FChangePending = true;
            QTimer::singleShot(0, this, &TZELMemo::FlushChange);
          });
}

void TZELMemo::FlushChange() {
  if (!FChangePending) return;
  FChangePending = false;
  Q_EMIT textChanged();
}

bool TZELMemo::event(QEvent* e) {
  const bool result = QsciScintilla::event(e);
  FlushChange();
  return result;
}

bool TZELMemo::viewportEvent(QEvent* e) {
  // Text dropped in is the user's edit wherever the focus was.
  if (e->type() == QEvent::Drop && !isReadOnly()) setFocus(Qt::OtherFocusReason);
  const bool result = QsciScintilla::viewportEvent(e);
  FlushChange();
  return result;
}

void TZELMemo::append(const QString& text) {
  QsciScintilla::append(text);
  FlushChange();
}
void TZELMemo::clear() {
  QsciScintilla::clear();
  FlushChange();
}
void TZELMemo::cut() {
  QsciScintilla::cut();
  FlushChange();
}
void TZELMemo::paste() {
  QsciScintilla::paste();
  FlushChange();
}
void TZELMemo::undo() {
  QsciScintilla::undo();
  FlushChange();
}
void TZELMemo::redo() {
  QsciScintilla::redo();
  FlushChange();
}
void TZELMemo::insert(const QString& text) {
  QsciScintilla::insert(text);
  FlushChange();
}
void TZELMemo::removeSelectedText() {
  QsciScintilla::removeSelectedText();
  FlushChange();
}
void TZELMemo::setText(const QString& text) {
  QsciScintilla::setText(text);
  FlushChange();
}

void TZELMemo::replaceSelectedText(const QString& text) {
  QsciScintilla::replaceSelectedText(text);
  FlushChange();
}

QFont TZELMemo::EditorFont() const {
  // Scintilla takes font sizes in points; the editor is designed in pixels.
  QFont font(MonoFamily);
  font.setStyleHint(QFont::Monospace);
  font.setPointSizeF(EditorFontPixels * 72.0 / std::max(1, logicalDpiY()));
  return font;
}

void TZELMemo::SetUpAppearance() {
  setFont(EditorFont());
  Sci(SCI_STYLECLEARALL);
  for (int margin = 0; margin < 5; ++margin) setMarginWidth(margin, 0);
  Sci(SCI_SETSCROLLWIDTH, 1);
  Sci(SCI_SETSCROLLWIDTHTRACKING, 1);
  // The column-80 marker: Scintilla measures the edge in the font's own
  // character width, so it follows the font.
  setEdgeMode(EdgeLine);
  setEdgeColumn(MarkerColumn);
  setEdgeColor(palette().color(QPalette::Highlight));
}

// Keys the main window acts on, and the menu shortcuts Ctrl+A (save as) and
// Ctrl+D (delete), must not be taken by Scintilla's own commands.
void TZELMemo::FreeEditorKeys() {
  const QKeyCombination keys[] = {QKeyCombination(Qt::Key_Escape),
                                  Qt::CTRL | Qt::Key_Up,
                                  Qt::CTRL | Qt::Key_Down,
                                  Qt::ALT | Qt::Key_Left,
                                  Qt::ALT | Qt::Key_Right,
                                  Qt::CTRL | Qt::Key_A,
                                  Qt::CTRL | Qt::Key_D};
  for (QsciCommand* command : standardCommands()->commands()) {
    for (QKeyCombination key : keys) {
      if (command->key() == key.toCombined()) command->setKey(0);
      if (command->alternateKey() == key.toCombined()) command->setAlternateKey(0);
    }
  }
}

void TZELMemo::SetTabWidth(int value) {
  value = std::max(0, value);
  if (value == FTabWidth) return;
  FTabWidth = value;
  Sci(SCI_SETTABWIDTH, value == 0 ? DefaultTabChars : std::max(1, value / 4));
}

void TZELMemo::UpdatePosition() {
  const long startByte = Sci(SCI_GETSELECTIONSTART);
  FCaretRow = static_cast<int>(Sci(SCI_LINEFROMPOSITION, startByte));
  // Counting the line's characters up to the caret spares building the
  // index of the whole text after a fill; on a long line the index wins.
  const long lineByte = Sci(SCI_POSITIONFROMLINE, FCaretRow);
  if (!FCharIndex && startByte - lineByte < kCountedColumnBytes) {
    FCaretCol = static_cast<int>(Sci(SCI_COUNTCHARACTERS, lineByte, startByte));
  } else {
    const int lineStart = LineIndex(FCaretRow);
    const int selStart = CharFromByte(startByte);
    if (lineStart <= selStart) FCaretCol = selStart - lineStart;
  }
  // Only a running screen reader is told: the event makes the interface.
  if (QAccessible::isActive()) {
    QAccessibleTextCursorEvent moved(this, CharFromByte(Sci(SCI_GETCURRENTPOS)));
    QAccessible::updateAccessibility(&moved);
  }
  Q_EMIT PosChanged(FCaretRow + 1, FCaretCol + 1);
}

bool TZELMemo::EditorTakes(const QKeyEvent* e) const {
  const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
  if (standardCommands()->boundTo(e->key() | mods.toInt())) return true;
  const QString text = e->text();
  return !text.isEmpty() && (text[0].isPrint() || text[0].isHighSurrogate()) &&
         !(mods & (Qt::ControlModifier | Qt::AltModifier));
}

void TZELMemo::keyPressEvent(QKeyEvent* e) {
  e->ignore();
  Q_EMIT KeyDown(e);
  if (e->isAccepted()) return;
  if (!e->text().isEmpty()) {
    Q_EMIT KeyPressed(e);
    if (e->isAccepted()) return;
  }
  // Scintilla accepts every key it is given, so a key it has no use for would
  // never reach the main window.
  if (!EditorTakes(e)) return;
  // A memo's Tab replaces the selection by one tab; Scintilla's would indent
  // whole lines or rewrite the leading blanks. And Scintilla's key handler
  // drops a character outside the BMP (a surrogate pair is not "printable")
  // and throws on a key that carries several characters (a compose sequence,
  // an input tool), which would end the program.
  const QString text = e->text();
  QByteArray own;
  if (e->key() == Qt::Key_Tab && e->modifiers() == Qt::NoModifier) {
    own = "\t";
  } else if (text.size() > 1 &&
             std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; })) {
    own = text.toUtf8();
  }
  if (!own.isEmpty()) {
    if (!isReadOnly()) ReplaceSelectionBytes(own.constData(), static_cast<long>(own.size()));
    e->accept();
    return;
  }
  e->accept();
  QsciScintilla::keyPressEvent(e);
}

void TZELMemo::keyReleaseEvent(QKeyEvent* e) {
  e->ignore();
  Q_EMIT KeyUp(e);
  if (!e->isAccepted()) QsciScintilla::keyReleaseEvent(e);
  UpdatePosition();
}

void TZELMemo::focusInEvent(QFocusEvent* e) {
  QsciScintilla::focusInEvent(e);
  UpdatePosition();
  Q_EMIT FocusEntered();
}

void TZELMemo::focusOutEvent(QFocusEvent* e) {
  QsciScintilla::focusOutEvent(e);
  Q_EMIT FocusLeft();
}

void TZELMemo::mouseReleaseEvent(QMouseEvent* e) {
  QsciScintilla::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton) UpdatePosition();
}

QByteArray TZELMemo::fromMimeData(const QMimeData* source, bool& rectangular) const {
  const QByteArray text = QsciScintilla::fromMimeData(source, rectangular);
  return rectangular ? text : WithCrLf(text);
}
