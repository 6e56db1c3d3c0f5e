// The character check: it passes exactly when every byte is a tab or a code
// from 30 to 127; otherwise it names the first bad character, and its line,
// position and caret offset all point at that character.
#include "doc/text_lines.h"
#include "fuzz_support.h"
#include "html/char_check.h"

namespace {

bool IsLegalByte(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b == 9 || (b >= 30 && b <= 127);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const TLines lines = SplitLines(std::string_view(reinterpret_cast<const char*>(bytes), size));
  int line = 0, pos = 0;
  std::string message;
  const bool passed = CheckChars(lines, line, pos, message);

  std::size_t badLine = lines.size(), badByte = 0;
  for (std::size_t l = 0; l < lines.size() && badLine == lines.size(); ++l)
    for (std::size_t i = 0; i < lines[l].size(); ++i)
      if (!IsLegalByte(lines[l][i])) {
        badLine = l;
        badByte = i;
        break;
      }

  if (passed) {
    FUZZ_CHECK(badLine == lines.size());
    FUZZ_CHECK(line == -1 && pos == -1 && message.empty());
    return 0;
  }
  FUZZ_CHECK(badLine < lines.size());
  FUZZ_CHECK(line == static_cast<int>(badLine) + 1);
  FUZZ_CHECK(pos >= 1 && static_cast<std::size_t>(pos) <= badByte + 1);
  const std::string& s = lines[badLine];
  FUZZ_CHECK(ByteOffsetOfChar(s, pos) == badByte);
  FUZZ_CHECK(message.rfind("Illegal character \"", 0) == 0);
  FUZZ_CHECK(message.size() >= 2 && message.substr(message.size() - 1) == ".");
  // Every character before it is a legal single byte.
  FUZZ_CHECK(static_cast<std::size_t>(pos) == badByte + 1);

  // The caret offset moves forward one character at a time and stops at
  // the line's end.
  std::size_t previous = 0;
  for (int p = 1; p <= static_cast<int>(s.size()) + 2; ++p) {
    const std::size_t offset = ByteOffsetOfChar(s, p);
    FUZZ_CHECK(offset >= previous && offset <= s.size());
    FUZZ_CHECK(offset - previous <= 4);
    previous = offset;
  }
  FUZZ_CHECK(previous == s.size());
  FUZZ_CHECK(ByteOffsetOfChar(s, 0) == 0);

  long long before = 0;
  for (std::size_t l = 0; l < badLine; ++l) before += static_cast<long long>(lines[l].size()) + 2;
  FUZZ_CHECK(CharIndexOf(lines, line, pos) == before + pos - 1);
  return 0;
}
