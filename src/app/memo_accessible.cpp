#include "app/memo_accessible.h"

#include <algorithm>

#include "app/memo.h"

namespace {

QAccessibleInterface* MemoFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("TZELMemo") && object && object->isWidgetType())
    return new TMemoAccessible(static_cast<TZELMemo*>(object));
  return nullptr;
}

}  // namespace

// QScintilla's own interface counts the characters from the start of the text
// to the caret on every repaint, with or without a screen reader: 220 ms per
// key at the end of a 50 MB page. This one stays under 1 ms there.
void TMemoAccessible::InstallFactory() {
  static const bool installed = (QAccessible::installFactory(MemoFactory), true);
  Q_UNUSED(installed);
}

TMemoAccessible::TMemoAccessible(TZELMemo* memo)
    : QAccessibleWidget(memo, QAccessible::EditableText) {}

TZELMemo* TMemoAccessible::Memo() const { return static_cast<TZELMemo*>(widget()); }

void* TMemoAccessible::interface_cast(QAccessible::InterfaceType type) {
  if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  return QAccessibleWidget::interface_cast(type);
}

QAccessible::State TMemoAccessible::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  s.multiLine = true;
  s.selectableText = true;
  s.editable = !Memo()->isReadOnly();
  s.readOnly = Memo()->isReadOnly();
  return s;
}

QString TMemoAccessible::text(QAccessible::Text t) const {
  // The value would be the whole page: readers ask for it by ranges instead.
  return t == QAccessible::Value ? QString() : QAccessibleWidget::text(t);
}

void TMemoAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  if (selectionIndex != 0 || Memo()->SelLength() == 0) return;
  *startOffset = Memo()->SelStart();
  *endOffset = *startOffset + Memo()->SelLength();
}

int TMemoAccessible::selectionCount() const { return Memo()->SelLength() > 0 ? 1 : 0; }

void TMemoAccessible::addSelection(int startOffset, int endOffset) {
  setSelection(0, startOffset, endOffset);
}

void TMemoAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex == 0) Memo()->SetSelStart(cursorPosition());
}

void TMemoAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  Memo()->SetSelStart(startOffset);
  Memo()->SetSelLength(endOffset - startOffset);
}

int TMemoAccessible::cursorPosition() const {
  return Memo()->CharFromByte(Memo()->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS));
}

void TMemoAccessible::setCursorPosition(int position) {
  Memo()->SetSelStart(position);
  Memo()->ScrollCaret();
}

QString TMemoAccessible::text(int startOffset, int endOffset) const {
  return Memo()->TextRange(startOffset, endOffset);
}

int TMemoAccessible::characterCount() const { return Memo()->TextLength(); }

void TMemoAccessible::Unit(int offset, QAccessible::TextBoundaryType boundary, int& start,
                           int& end) const {
  TZELMemo* m = Memo();
  const int length = m->TextLength();
  offset = std::clamp(offset, 0, length);
  switch (boundary) {
    case QAccessible::CharBoundary:
      start = offset;
      end = std::min(offset + 1, length);
      return;
    case QAccessible::WordBoundary: {
      const long byte = m->ByteFromChar(offset);
      start = m->CharFromByte(m->SendScintilla(QsciScintillaBase::SCI_WORDSTARTPOSITION, byte, 1L));
      end = m->CharFromByte(m->SendScintilla(QsciScintillaBase::SCI_WORDENDPOSITION, byte, 1L));
      if (end == start) end = std::min(offset + 1, length);
      return;
    }
    case QAccessible::NoBoundary:
      start = 0;
      end = length;
      return;
    default: {
      // Sentences and paragraphs are lines here; a line holds its break.
      const int line = m->LineFromChar(offset);
      start = m->LineIndex(line);
      const int next = m->LineIndex(line + 1);
      end = next < 0 ? length : next;
    }
  }
}

QString TMemoAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundary,
                                      int* startOffset, int* endOffset) const {
  Unit(offset, boundary, *startOffset, *endOffset);
  return text(*startOffset, *endOffset);
}

QString TMemoAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary,
                                          int* startOffset, int* endOffset) const {
  int start = 0, end = 0;
  Unit(offset, boundary, start, end);
  if (start == 0) {
    *startOffset = *endOffset = 0;
    return {};
  }
  return textAtOffset(start - 1, boundary, startOffset, endOffset);
}

QString TMemoAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundary,
                                         int* startOffset, int* endOffset) const {
  int start = 0, end = 0;
  Unit(offset, boundary, start, end);
  if (end >= characterCount()) {
    *startOffset = *endOffset = characterCount();
    return {};
  }
  return textAtOffset(end, boundary, startOffset, endOffset);
}

QRect TMemoAccessible::characterRect(int offset) const {
  TZELMemo* m = Memo();
  const long byte = m->ByteFromChar(offset);
  const long next = m->ByteFromChar(offset + 1);
  const int x = int(m->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, byte));
  const int y = int(m->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, byte));
  const int nextX = int(m->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0UL, next));
  const int height = int(m->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL, 0L));
  const int width = nextX > x ? nextX - x : m->fontMetrics().averageCharWidth();
  return QRect(m->viewport()->mapToGlobal(QPoint(x, y)), QSize(width, height));
}

int TMemoAccessible::offsetAtPoint(const QPoint& point) const {
  TZELMemo* m = Memo();
  const QPoint p = m->viewport()->mapFromGlobal(point);
  const long byte = m->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMPOINTCLOSE,
                                     static_cast<unsigned long>(p.x()), long(p.y()));
  return byte < 0 ? -1 : m->CharFromByte(byte);
}

void TMemoAccessible::scrollToSubstring(int startIndex, int endIndex) {
  TZELMemo* m = Memo();
  m->SendScintilla(QsciScintillaBase::SCI_SCROLLRANGE,
                   static_cast<unsigned long>(m->ByteFromChar(endIndex)),
                   m->ByteFromChar(startIndex));
}

QString TMemoAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = offset;
  return {};
}
