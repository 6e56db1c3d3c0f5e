#pragma once
// Byte-level pieces of the all-files search: a substring search that can
// fold A to Z, and line counting over CR LF, CR and LF.
#include <array>
#include <cstddef>
#include <string>

// A Horspool search for one byte pattern, folding A to Z to a to z on both
// sides when not case-sensitive; no copy of the searched text is made.
class TBytePattern {
 public:
  TBytePattern(const std::string& pattern, bool caseSensitive);
  // Offset of the first occurrence that starts at From or later, or npos.
  // An empty pattern is never found.
  std::size_t Find(const char* text, std::size_t size, std::size_t from) const;

 private:
  bool MatchesAt(const unsigned char* at) const;
  // The wide form of Find's first loop: advances Pos past what it scanned.
  std::size_t FindWide(const unsigned char* text, std::size_t size, std::size_t& pos) const;

  std::string Pattern;  // folded
  std::array<unsigned char, 256> Fold{};
  std::array<std::size_t, 256> Shift{};   // indexed by the text's raw byte
  unsigned char FirstOr = 0, LastOr = 0;  // 0x20 where that end is a folded letter
};

// Counts line breaks in text[from, to) where a CR, or an LF not preceded
// by CR, ends a line; PrevByte is the byte before From (0 at the start).
std::size_t CountLineBreaks(const char* text, std::size_t from, std::size_t to, char prevByte);

// Offset of the first CR or LF at or after From, or Size.
std::size_t FindLineBreak(const char* text, std::size_t size, std::size_t from);
