#include "html/char_check.h"

namespace {

struct TUtf8Char {
  char32_t Code;
  std::size_t Length;  // bytes taken
  bool Valid;
};

// One character at s[i]; a byte that does not start a well-formed sequence
// counts as a character of its own, as the editor counts it.
TUtf8Char DecodeAt(const std::string& s, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  if (b0 < 0x80) return {b0, 1, true};
  std::size_t length;
  char32_t code, min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2, code = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3, code = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4, code = b0 & 0x07, min = 0x10000;
  } else {
    return {b0, 1, false};
  }
  if (i + length > s.size()) return {b0, 1, false};
  for (std::size_t k = 1; k < length; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return {b0, 1, false};
    code = (code << 6) | (b & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {b0, 1, false};
  return {code, length, true};
}

std::size_t CountChars(const std::string& line) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < line.size(); i += DecodeAt(line, i).Length) ++count;
  return count;
}

}  // namespace

bool IsLegalHtmlChar(char32_t code) { return code == 9 || (code >= 30 && code <= 127); }

bool CheckChars(const std::vector<std::string>& Lines, int& Line, int& Pos, std::string& Message) {
  Line = -1;
  Pos = -1;
  Message.clear();
  for (std::size_t l = 0; l < Lines.size(); ++l) {
    const std::string& s = Lines[l];
    int pos = 0;
    for (std::size_t i = 0; i < s.size();) {
      const TUtf8Char c = DecodeAt(s, i);
      ++pos;
      if (!IsLegalHtmlChar(c.Code)) {
        Line = static_cast<int>(l) + 1;
        Pos = pos;
        Message = IllegalCharMessage(c.Valid ? s.substr(i, c.Length) : "\uFFFD", Line, Pos);
        return false;
      }
      i += c.Length;
    }
  }
  return true;
}

std::string IllegalCharMessage(const std::string& Character, int Line, int Pos) {
  return "Illegal character \"" + Character + "\" at line " + std::to_string(Line) + " position " +
         std::to_string(Pos) + ".";
}

std::size_t ByteOffsetOfChar(const std::string& Line, int Pos) {
  std::size_t i = 0;
  for (int k = 1; k < Pos && i < Line.size(); ++k) i += DecodeAt(Line, i).Length;
  return i;
}

long long CharIndexOf(const std::vector<std::string>& Lines, int Line, int Pos,
                      int LineBreakLength) {
  long long index = 0;
  for (int l = 0; l + 1 < Line && l < static_cast<int>(Lines.size()); ++l)
    index += static_cast<long long>(CountChars(Lines[l])) + LineBreakLength;
  return index + (Pos > 1 ? Pos - 1 : 0);
}
