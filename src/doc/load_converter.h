#pragma once
// The loading conversion applied to a file's bytes as they are read: the
// text is split at line breaks (CR LF, a lone CR, a lone LF) and each line,
// converted by the whitespace rules, goes straight into the document. The
// per-line path (TLineSplitter with ConvertLineTo) gives the same result and
// is kept as the reference it is checked against.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "doc/text_lines.h"

class TLoadConverter {
 public:
  // Lines go to lines; with deleteEmptyLines a line that converts to nothing
  // is left out and its bit (one per line of the file) set in deletedLines.
  TLoadConverter(TJoinedLines& lines, std::vector<std::uint64_t>& deletedLines, int tabSize,
                 std::uint8_t conversion, bool deleteEmptyLines);
  // Pieces of any size; a line or a CR LF pair may be split across them.
  void Feed(const char* data, std::size_t size);
  // Ends the text: a last line without a line break is added.
  void Finish();
  // Bytes of the longest line read, its line break not counted.
  std::size_t LongestLine() const { return FLongest; }

 private:
  // [lo, hi) holds the line and may be read.
  void Line(const char* data, std::size_t size, const char* lo, const char* hi);
  void PendingLine();

  TJoinedLines& FLines;
  std::vector<std::uint64_t>& FDeleted;
  std::size_t FTabSize;
  std::uint8_t FConversion;
  bool FDeleteEmpty;
  std::string FPending;  // the start of a line that continues in the next piece
  bool FAfterCr = false;
  std::size_t FDiskLine = 0;
  std::size_t FLongest = 0;
};
