#pragma once
// A document as a list of byte lines, and the splitting and joining of text
// at line breaks: CR LF, a lone CR and a lone LF each end a line.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// Each line without its line break; a line may hold any byte, NUL included.
using TLines = std::vector<std::string>;

// Adds one line, given without its line break, to lines; lets a reader
// convert each line while it is still in the cache.
using TAddLine = std::function<void(TLines& lines, const char* data, std::size_t size)>;

// Splits text arriving in pieces, so a file can be split while it is read;
// a CR LF pair may be split across pieces.
class TLineSplitter {
 public:
  // Without addLine each line is appended as it is.
  explicit TLineSplitter(TLines& lines, TAddLine addLine = {})
      : Lines(lines), AddLine(std::move(addLine)) {}
  void Feed(const char* data, std::size_t size);
  // Ends the text: a last line without a line break is added; a final line
  // break adds no empty line.
  void Finish();

 private:
  void Emit(const char* begin, const char* end);
  void Add(const char* data, std::size_t size);

  TLines& Lines;
  TAddLine AddLine;
  std::string Pending;   // the start of a line that continues in the next piece
  bool AfterCr = false;  // the last piece ended in CR: a leading LF belongs to it
};

TLines SplitLines(std::string_view text);
// The lines with CR LF between them (none after the last).
std::string JoinLines(const TLines& lines);

// Lines kept in one string, each followed by CR LF: a list of strings took
// twice the size of a page of short lines. A line holds no CR or LF.
class TJoinedLines {
 public:
  TJoinedLines() = default;
  TJoinedLines(const TLines& lines);  // NOLINT: a list of lines converts
  std::size_t size() const { return FCount; }
  bool empty() const { return FCount == 0; }
  // Every line followed by CR LF.
  const std::string& Text() const { return FText; }
  // For changes that keep every line break where it is (a change of
  // encoding of the text between them).
  std::string& Text() { return FText; }
  void Reserve(std::size_t bytes);
  void Append(std::string_view line);
  // Appends a line of tabs tabs, then blanks blanks, then rest; inline, as
  // the load calls it for every line.
  void AppendIndented(std::size_t tabs, std::size_t blanks, std::string_view rest) {
    if (tabs) FText.append(tabs, '\t');
    if (blanks) FText.append(blanks, ' ');
    FText.append(rest).append("\r\n", 2);
    ++FCount;
  }
  void Clear();
  // Calls fn(line) for each line, without its CR LF.
  template <typename Fn>
  void ForEach(Fn fn) const {
    std::size_t at = 0;
    for (std::size_t i = 0; i < FCount; ++i) {
      const std::size_t end = FText.find('\r', at);
      fn(std::string_view(FText).substr(at, end - at));
      at = end + 2;
    }
  }
  // Replaces each line in place by what shrink writes to out, at most the
  // line's own size: shrink(data, size, out) returns the size written.
  void ShrinkEach(const std::function<std::size_t(const char*, std::size_t, char*)>& shrink);
  TLines Lines() const;
  bool operator==(const TJoinedLines& other) const = default;

 private:
  std::string FText;
  std::size_t FCount = 0;
};
