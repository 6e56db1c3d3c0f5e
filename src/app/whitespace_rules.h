#pragma once
// The whitespace rules of documents: the conversion of leading whitespace
// on loading and the normalisation of every line on saving. A character of
// code 32 or less counts as whitespace; T is the columns one tab stands for.
#include "app/text_lines.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Conversion on loading: 0 indentation to tabs (then blanks), 1 to blanks,
// 2 no change, above 2 indentation removed. Trailing whitespace goes unless
// conversion is 2; empty lines go when deleteEmptyLines is set.
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
