#pragma once
// Byte-level pieces of the all-files search: a substring search that can
// fold A to Z, line counting over CR LF, CR and LF, and the two encodings a
// file may be shown in.
#include <QString>
#include <array>
#include <cstddef>
#include <optional>
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

  std::string Pattern;  // folded
  std::array<unsigned char, 256> Fold{};
  std::array<std::size_t, 256> Shift{};  // indexed by the text's raw byte
  unsigned char FirstOr = 0, LastOr = 0;  // 0x20 where that end is a folded letter
};

// Counts line breaks in text[from, to) where a CR, or an LF not preceded
// by CR, ends a line; PrevByte is the byte before From (0 at the start).
std::size_t CountLineBreaks(const char* text, std::size_t from, std::size_t to, char prevByte);

// Offset of the first CR or LF at or after From, or Size.
std::size_t FindLineBreak(const char* text, std::size_t size, std::size_t from);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8Bytes(const char* text, std::size_t size);

// The Windows-1252 bytes of Text, or nothing when a character has none
// (the five bytes that code page leaves undefined stand for U+0081,
// U+008D, U+008F, U+0090 and U+009D).
std::optional<std::string> ToWindows1252(const QString& text);
