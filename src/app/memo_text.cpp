#include <algorithm>

#include "app/memo.h"
#include "components/text_codec.h"

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
  DropCharIndex();
  Sci(SCI_CLEARALL);
  // Room for the text and for typing after it: without it Scintilla's first
  // insertion after a big fill copies the whole buffer (1 s at 50 MB).
  Sci(SCI_ALLOCATE, utf8.size() + utf8.size() / 8 + FillSlack);
  ReplaceBytes(0, 0, utf8);
  Sci(SCI_SETUNDOCOLLECTION, 1);
  Sci(SCI_EMPTYUNDOBUFFER);
  Sci(SCI_SETSAVEPOINT);
  Sci(SCI_GOTOPOS, 0);
  setReadOnly(readOnly);
  FlushChange();
}

void TZELMemo::ReplaceBytes(long start, long end, std::string_view with) {
  // Scintilla keeps the character index up to date by reading the removed
  // and the inserted text twice over, character by character: two thirds of
  // a replace all of 100,000 hits. Building the index anew reads the whole
  // text once, which is cheaper when the change is larger than the text.
  // Until a character position is asked for again, not even that is done.
  if ((end - start) + static_cast<long>(with.size()) > ByteLength() - (end - start))
    DropCharIndex();
  Sci(SCI_SETTARGETRANGE, start, end);
  SendScintilla(SCI_REPLACETARGET, static_cast<uintptr_t>(with.size()), with.data());
}

void TZELMemo::DropCharIndex() {
  FTextChars = -1;
  FInserted = {-1, -1};
  if (!FCharIndex) return;
  Sci(SCI_RELEASELINECHARACTERINDEX, Utf32);
  FCharIndex = false;
}

long TZELMemo::ValidChars(long start, long end) const {
  const long length = ByteLength();
  start = std::clamp(start, 0L, length);
  end = std::clamp(end, start, length);
  if (end < length && (static_cast<unsigned char>(Sci(SCI_GETCHARAT, end)) & 0xC0) == 0x80)
    return -1;  // [start, end) ends inside a character
  // Read in place, in the two pieces Scintilla keeps the text in, so the
  // text is neither copied nor moved.
  const long gap = Sci(SCI_GETGAPPOSITION);
  TUtf8Validator validator;
  std::size_t chars = 0;
  for (const auto& [from, to] :
       {std::pair{start, std::min(end, gap)}, std::pair{std::max(start, gap), end}}) {
    if (from >= to) continue;
    const auto* p = reinterpret_cast<const char*>(Sci(SCI_GETRANGEPOINTER, from, to - from));
    if (!p) return -1;
    const std::string_view piece(p, static_cast<std::size_t>(to - from));
    if (!validator.Feed(piece.data(), piece.size())) return -1;
    chars += Utf8StartBytes(piece);
  }
  return validator.Finish() ? static_cast<long>(chars) : -1;
}

void TZELMemo::CountChange(int position, int type, int length) {
  CountInserted();
  if (FCharIndex || FTextChars < 0) return;
  if (type & SC_MOD_BEFOREINSERT) {
    // The notice comes without the text: it is counted once it stands in
    // the text, at the next notice or question. Valid text put between two
    // characters of valid text adds its own; ValidChars sees both ends.
    FInserted = {position, position + static_cast<long>(length)};
  } else if (type & SC_MOD_BEFOREDELETE) {
    const long removed = ValidChars(position, static_cast<long>(position) + length);
    FTextChars = removed >= 0 ? FTextChars - removed : -1;
  }
}

void TZELMemo::CountInserted() const {
  if (FInserted.first < 0) return;
  const long added = ValidChars(FInserted.first, FInserted.second);
  FInserted = {-1, -1};
  if (FTextChars >= 0) FTextChars = added >= 0 ? FTextChars + added : -1;
}

long TZELMemo::CharOfLine(long line) const {
  if (!FCharIndex) {
    Sci(SCI_ALLOCATELINECHARACTERINDEX, Utf32);
    FCharIndex = true;
    FTextChars = -1;
    FInserted = {-1, -1};
  }
  return Sci(SCI_INDEXPOSITIONFROMLINE, line, Utf32);
}

long TZELMemo::LineOfChar(long pos) const {
  CharOfLine(0);
  return Sci(SCI_LINEFROMINDEXPOSITION, pos, Utf32);
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
  const long start = Sci(SCI_POSITIONFROMLINE, i);
  const long end = Sci(SCI_GETLINEENDPOSITION, i);
  if (!FCharIndex && end - start < kCountedColumnBytes)
    return static_cast<int>(Sci(SCI_COUNTCHARACTERS, start, end));
  const long chars = CharOfLine(i + 1) - CharOfLine(i);
  // The line break is CR, LF or both, one character per byte.
  return static_cast<int>(chars - (Sci(SCI_POSITIONFROMLINE, i + 1) - end));
}

int TZELMemo::TextLength() const {
  CountInserted();
  if (!FCharIndex) {
    if (FTextChars < 0) FTextChars = ValidChars(0, ByteLength());
    if (FTextChars >= 0) return static_cast<int>(FTextChars);
  }
  return static_cast<int>(CharOfLine(ScintillaLines()));
}

int TZELMemo::LineFromChar(int pos) const {
  if (pos < 0) return static_cast<int>(Sci(SCI_LINEFROMPOSITION, Sci(SCI_GETSELECTIONSTART)));
  pos = std::min(pos, TextLength());
  return static_cast<int>(LineOfChar(pos));
}

int TZELMemo::LineIndex(int line) const {
  if (line == -1) line = LineFromChar(-1);
  if (line < 0 || line >= ScintillaLines()) return -1;
  return static_cast<int>(CharOfLine(line));
}

long TZELMemo::ByteFromChar(int pos) const {
  const long bytes = ByteLength();
  const int chars = TextLength();
  if (pos <= 0) return 0;
  if (pos >= chars) return bytes;
  if (bytes == chars) return pos;
  const long line = LineOfChar(pos);
  const long lineChar = CharOfLine(line);
  const long lineByte = Sci(SCI_POSITIONFROMLINE, line);
  const long lineChars = CharOfLine(line + 1) - lineChar;
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
  const long lineChar = CharOfLine(line);
  const long lineByte = Sci(SCI_POSITIONFROMLINE, line);
  const long lineChars = CharOfLine(line + 1) - lineChar;
  const long lineBytes = Sci(SCI_POSITIONFROMLINE, line + 1) - lineByte;
  if (lineChars == lineBytes) return static_cast<int>(lineChar + (byte - lineByte));
  return static_cast<int>(lineChar + Sci(SCI_COUNTCHARACTERS, lineByte, byte));
}

int TZELMemo::SelStart() const { return CharFromByte(Sci(SCI_GETSELECTIONSTART)); }

int TZELMemo::SelLength() const {
  const long start = Sci(SCI_GETSELECTIONSTART);
  const long end = Sci(SCI_GETSELECTIONEND);
  if (!FCharIndex && end - start < kCountedColumnBytes)
    return static_cast<int>(Sci(SCI_COUNTCHARACTERS, start, end));
  return CharFromByte(end) - CharFromByte(start);
}

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
