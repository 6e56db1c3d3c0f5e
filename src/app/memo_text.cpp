#include "app/memo.h"

#include <algorithm>

namespace {

// Room kept free after a fill for typing, beside an eighth of the text.
constexpr std::size_t FillSlack = 64 * 1024;

}  // namespace

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
  // Room for the text and for typing after it: without it Scintilla's first
  // insertion after a big fill copies the whole buffer (1 s at 50 MB).
  Sci(SCI_ALLOCATE, utf8.size() + utf8.size() / 8 + FillSlack);
  SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(utf8.size()), utf8.data());
  Sci(SCI_SETUNDOCOLLECTION, 1);
  Sci(SCI_EMPTYUNDOBUFFER);
  Sci(SCI_SETSAVEPOINT);
  Sci(SCI_GOTOPOS, 0);
  setReadOnly(readOnly);
  FlushChange();
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

TJoinedLines TZELMemo::JoinedLines() const {
  TJoinedLines lines;
  const int count = LineCount();
  lines.Reserve(static_cast<std::size_t>(ByteLength()) + 2);
  for (int i = 0; i < count; ++i) {
    const long start = Sci(SCI_POSITIONFROMLINE, i);
    const long length = Sci(SCI_GETLINEENDPOSITION, i) - start;
    const auto* p = reinterpret_cast<const char*>(Sci(SCI_GETRANGEPOINTER, start, length));
    lines.Append(p ? std::string_view(p, length) : std::string_view());
  }
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
      Sci(SCI_INDEXPOSITIONFROMLINE, i + 1, Utf32) - Sci(SCI_INDEXPOSITIONFROMLINE, i, Utf32);
  // The line break is CR, LF or both, one character per byte.
  const long breakBytes = Sci(SCI_POSITIONFROMLINE, i + 1) - Sci(SCI_GETLINEENDPOSITION, i);
  return static_cast<int>(chars - breakBytes);
}

int TZELMemo::TextLength() const {
  return static_cast<int>(Sci(SCI_INDEXPOSITIONFROMLINE, ScintillaLines(), Utf32));
}

int TZELMemo::LineFromChar(int pos) const {
  if (pos < 0) return static_cast<int>(Sci(SCI_LINEFROMPOSITION, Sci(SCI_GETSELECTIONSTART)));
  pos = std::min(pos, TextLength());
  return static_cast<int>(Sci(SCI_LINEFROMINDEXPOSITION, pos, Utf32));
}

int TZELMemo::LineIndex(int line) const {
  if (line == -1) line = LineFromChar(-1);
  if (line < 0 || line >= ScintillaLines()) return -1;
  return static_cast<int>(Sci(SCI_INDEXPOSITIONFROMLINE, line, Utf32));
}

long TZELMemo::ByteFromChar(int pos) const {
  const long bytes = ByteLength();
  const int chars = TextLength();
  if (pos <= 0) return 0;
  if (pos >= chars) return bytes;
  if (bytes == chars) return pos;
  const long line = Sci(SCI_LINEFROMINDEXPOSITION, pos, Utf32);
  const long lineChar = Sci(SCI_INDEXPOSITIONFROMLINE, line, Utf32);
  const long lineByte = Sci(SCI_POSITIONFROMLINE, line);
  const long lineChars = Sci(SCI_INDEXPOSITIONFROMLINE, line + 1, Utf32) - lineChar;
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
  const long lineChar = Sci(SCI_INDEXPOSITIONFROMLINE, line, Utf32);
  const long lineByte = Sci(SCI_POSITIONFROMLINE, line);
  const long lineChars = Sci(SCI_INDEXPOSITIONFROMLINE, line + 1, Utf32) - lineChar;
  const long lineBytes = Sci(SCI_POSITIONFROMLINE, line + 1) - lineByte;
  if (lineChars == lineBytes) return static_cast<int>(lineChar + (byte - lineByte));
  return static_cast<int>(lineChar + Sci(SCI_COUNTCHARACTERS, lineByte, byte));
}

int TZELMemo::SelStart() const { return CharFromByte(Sci(SCI_GETSELECTIONSTART)); }

int TZELMemo::SelLength() const { return CharFromByte(Sci(SCI_GETSELECTIONEND)) - SelStart(); }

void TZELMemo::SelectChars(int anchor, int caret) {
  Sci(SCI_SETSEL, ByteFromChar(anchor), ByteFromChar(caret));
}

void TZELMemo::SetSelStart(int pos) { SelectChars(pos, pos); }

void TZELMemo::SetSelLength(int length) {
  const int start = SelStart();
  SelectChars(start, static_cast<int>(std::clamp<long>(long(start) + length, 0, TextLength())));
}

QString TZELMemo::TextRange(int start, int end) const {
  const std::string bytes = ByteRange(ByteFromChar(start), ByteFromChar(end));
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
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
  FlushChange();
}

void TZELMemo::SetSelTextBytes(const std::string& utf8) {
  ReplaceSelectionBytes(utf8.data(), static_cast<long>(utf8.size()));
}

void TZELMemo::SetSelText(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  ReplaceSelectionBytes(bytes.constData(), static_cast<long>(bytes.size()));
}

void TZELMemo::ScrollCaret() { Sci(SCI_SCROLLCARET); }
