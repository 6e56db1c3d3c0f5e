#include "app/memo.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

namespace {

constexpr long Utf32Index = QsciScintillaBase::SC_LINECHARACTERINDEX_UTF32;
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
  // Character positions for whole lines, kept up to date by Scintilla, make
  // TextLength and LineIndex constant-time on any size of text.
  Sci(SCI_ALLOCATELINECHARACTERINDEX, Utf32Index);
  SetUpAppearance();
  FreeEditorKeys();
}

void TZELMemo::SetUpAppearance() {
  // Scintilla takes font sizes in points; the editor is designed in pixels.
  QFont font("Liberation Mono");
  font.setStyleHint(QFont::Monospace);
  font.setPointSizeF(EditorFontPixels * 72.0 / std::max(1, logicalDpiY()));
  setFont(font);
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
  const QKeyCombination keys[] = {QKeyCombination(Qt::Key_Escape), Qt::CTRL | Qt::Key_Up,
                                  Qt::CTRL | Qt::Key_Down,          Qt::ALT | Qt::Key_Left,
                                  Qt::ALT | Qt::Key_Right,          Qt::CTRL | Qt::Key_A,
                                  Qt::CTRL | Qt::Key_D};
  for (QsciCommand* command : standardCommands()->commands()) {
    for (QKeyCombination key : keys) {
      if (command->key() == key.toCombined()) command->setKey(0);
      if (command->alternateKey() == key.toCombined()) command->setAlternateKey(0);
    }
  }
}

long TZELMemo::ByteLength() const { return Sci(SCI_GETLENGTH); }

int TZELMemo::ScintillaLines() const { return static_cast<int>(Sci(SCI_GETLINECOUNT)); }

std::string TZELMemo::ByteRange(long start, long end) const {
  if (end <= start) return {};
  const auto* p = reinterpret_cast<const char*>(Sci(SCI_GETRANGEPOINTER, start, end - start));
  return p ? std::string(p, end - start) : std::string();
}

std::string TZELMemo::TextBytes() const { return ByteRange(0, ByteLength()); }

void TZELMemo::SetTextBytes(const std::string& utf8) {
  const bool readOnly = isReadOnly();
  setReadOnly(false);
  // A fill is not undoable; collecting it would copy the whole text once more.
  Sci(SCI_SETUNDOCOLLECTION, 0);
  Sci(SCI_CLEARALL);
  SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(utf8.size()), utf8.data());
  Sci(SCI_SETUNDOCOLLECTION, 1);
  Sci(SCI_EMPTYUNDOBUFFER);
  Sci(SCI_SETSAVEPOINT);
  Sci(SCI_GOTOPOS, 0);
  setReadOnly(readOnly);
}

void TZELMemo::SetLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  SetTextBytes(text);
}

std::vector<std::string> TZELMemo::Lines() const {
  std::vector<std::string> lines;
  const int count = LineCount();
  lines.reserve(count);
  for (int i = 0; i < count; ++i) lines.push_back(LineBytes(i));
  return lines;
}

int TZELMemo::LineCount() const {
  const int lines = ScintillaLines();
  const bool lastEmpty = Sci(SCI_POSITIONFROMLINE, lines - 1) == ByteLength();
  return lastEmpty ? lines - 1 : lines;
}

std::string TZELMemo::LineBytes(int i) const {
  if (i < 0 || i >= ScintillaLines()) return {};
  return ByteRange(Sci(SCI_POSITIONFROMLINE, i), Sci(SCI_GETLINEENDPOSITION, i));
}

QString TZELMemo::Line(int i) const {
  const std::string bytes = LineBytes(i);
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

int TZELMemo::LineLength(int i) const {
  if (i < 0 || i >= ScintillaLines()) return 0;
  const long chars =
      Sci(SCI_INDEXPOSITIONFROMLINE, i + 1, Utf32Index) - Sci(SCI_INDEXPOSITIONFROMLINE, i, Utf32Index);
  // The line break is CR, LF or both, one character per byte.
  const long breakBytes = Sci(SCI_POSITIONFROMLINE, i + 1) - Sci(SCI_GETLINEENDPOSITION, i);
  return static_cast<int>(chars - breakBytes);
}

int TZELMemo::TextLength() const {
  return static_cast<int>(Sci(SCI_INDEXPOSITIONFROMLINE, ScintillaLines(), Utf32Index));
}

int TZELMemo::LineFromChar(int pos) const {
  if (pos < 0) return static_cast<int>(Sci(SCI_LINEFROMPOSITION, Sci(SCI_GETSELECTIONSTART)));
  pos = std::min(pos, TextLength());
  return static_cast<int>(Sci(SCI_LINEFROMINDEXPOSITION, pos, Utf32Index));
}

int TZELMemo::LineIndex(int line) const {
  if (line == -1) line = LineFromChar(-1);
  if (line < 0 || line >= ScintillaLines()) return -1;
  return static_cast<int>(Sci(SCI_INDEXPOSITIONFROMLINE, line, Utf32Index));
}

long TZELMemo::ByteFromChar(int pos) const {
  const long bytes = ByteLength();
  const int chars = TextLength();
  if (pos <= 0) return 0;
  if (pos >= chars) return bytes;
  if (bytes == chars) return pos;
  const long line = Sci(SCI_LINEFROMINDEXPOSITION, pos, Utf32Index);
  const long lineChar = Sci(SCI_INDEXPOSITIONFROMLINE, line, Utf32Index);
  const long lineByte = Sci(SCI_POSITIONFROMLINE, line);
  const long lineChars = Sci(SCI_INDEXPOSITIONFROMLINE, line + 1, Utf32Index) - lineChar;
  const long lineBytes = Sci(SCI_POSITIONFROMLINE, line + 1) - lineByte;
  if (lineChars == lineBytes) return lineByte + (pos - lineChar);
  return Sci(SCI_POSITIONRELATIVE, lineByte, pos - lineChar);
}

int TZELMemo::CharFromByte(long byte) const {
  const long bytes = ByteLength();
  const int chars = TextLength();
  if (byte <= 0) return 0;
  if (byte >= bytes) return chars;
  if (bytes == chars) return static_cast<int>(byte);
  const long line = Sci(SCI_LINEFROMPOSITION, byte);
  const long lineChar = Sci(SCI_INDEXPOSITIONFROMLINE, line, Utf32Index);
  const long lineByte = Sci(SCI_POSITIONFROMLINE, line);
  const long lineChars = Sci(SCI_INDEXPOSITIONFROMLINE, line + 1, Utf32Index) - lineChar;
  const long lineBytes = Sci(SCI_POSITIONFROMLINE, line + 1) - lineByte;
  if (lineChars == lineBytes) return static_cast<int>(lineChar + (byte - lineByte));
  return static_cast<int>(lineChar + Sci(SCI_COUNTCHARACTERS, lineByte, byte));
}

int TZELMemo::SelStart() const { return CharFromByte(Sci(SCI_GETSELECTIONSTART)); }

int TZELMemo::SelLength() const {
  return CharFromByte(Sci(SCI_GETSELECTIONEND)) - SelStart();
}

void TZELMemo::SelectChars(int anchor, int caret) {
  Sci(SCI_SETSEL, ByteFromChar(anchor), ByteFromChar(caret));
}

void TZELMemo::SetSelStart(int pos) { SelectChars(pos, pos); }

void TZELMemo::SetSelLength(int length) {
  const int start = SelStart();
  SelectChars(start, static_cast<int>(std::clamp<long>(long(start) + length, 0, TextLength())));
}

std::string TZELMemo::SelTextBytes() const {
  return ByteRange(Sci(SCI_GETSELECTIONSTART), Sci(SCI_GETSELECTIONEND));
}

QString TZELMemo::SelText() const {
  const std::string bytes = SelTextBytes();
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void TZELMemo::ReplaceSelectionBytes(const char* data, long length) {
  // SCI_REPLACESEL stops at a NUL byte; the target calls take a length.
  Sci(SCI_BEGINUNDOACTION);
  Sci(SCI_TARGETFROMSELECTION);
  SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(length), data);
  const long end = Sci(SCI_GETTARGETEND);
  Sci(SCI_SETSEL, end, end);
  Sci(SCI_ENDUNDOACTION);
  Sci(SCI_SCROLLCARET);
}

void TZELMemo::SetSelTextBytes(const std::string& utf8) {
  ReplaceSelectionBytes(utf8.data(), static_cast<long>(utf8.size()));
}

void TZELMemo::SetSelText(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  ReplaceSelectionBytes(bytes.constData(), static_cast<long>(bytes.size()));
}

void TZELMemo::ScrollCaret() { Sci(SCI_SCROLLCARET); }

void TZELMemo::SetTabWidth(int value) {
  value = std::max(0, value);
  if (value == FTabWidth) return;
  FTabWidth = value;
  Sci(SCI_SETTABWIDTH, value == 0 ? DefaultTabChars : std::max(1, value / 4));
}

void TZELMemo::UpdatePosition() {
  const long startByte = Sci(SCI_GETSELECTIONSTART);
  FCaretRow = static_cast<int>(Sci(SCI_LINEFROMPOSITION, startByte));
  const int lineStart = LineIndex(FCaretRow);
  const int selStart = CharFromByte(startByte);
  if (lineStart <= selStart) FCaretCol = selStart - lineStart;
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
  // drops a character outside the BMP (a surrogate pair is not "printable").
  const QString text = e->text();
  QByteArray own;
  if (e->key() == Qt::Key_Tab && e->modifiers() == Qt::NoModifier) {
    own = "\t";
  } else if (text.size() == 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate()) {
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
