#pragma once
// The whitespace rules of documents: the conversion of leading whitespace
// on loading and the normalisation of every line on saving. A character of
// code 32 or less counts as whitespace; T is the columns one tab stands for.
#include <cstddef>
#include <cstdint>
#include <string>

#include "doc/text_lines.h"

// The conversions on loading, by their stored values: indentation to tabs
// (then blanks), to blanks, or no change; any value above convNone removes
// the indentation. Trailing whitespace goes unless the conversion is
// convNone; empty lines go when deleteEmptyLines is set.
enum TConversion : std::uint8_t { convToTabs = 0, convToBlanks = 1, convNone = 2 };

void ConvertLine(std::string& line, int tabSize, std::uint8_t conversion);
// The same for a line still in a read buffer: out becomes the converted line,
// allocated once at its final size.
void ConvertLineTo(const char* data, std::size_t size, int tabSize, std::uint8_t conversion,
                   std::string& out);
void ConvertLines(TLines& lines, int tabSize, std::uint8_t conversion, bool deleteEmptyLines);

// Normalisation on saving: trailing whitespace removed, each run of T blanks
// in the leading whitespace turned into one tab. Writes the result to out,
// which may be data itself (the result is never longer), and returns its
// length.
std::size_t NormaliseSavedLine(const char* data, std::size_t size, int tabSize, char* out);
void NormaliseSavedLine(std::string& line, int tabSize);
