#include "app/whitespace_rules.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsWhite(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

void ConvertLine(std::string& line, int tabSize, std::uint8_t conversion) {
  if (conversion == 2) return;
  std::size_t end = line.size();
  while (end > 0 && IsWhite(line[end - 1])) --end;
  line.resize(end);
  // Each tab counts T wherever it stands: tabs are not aligned to tab stops.
  std::size_t width = 0;
  std::size_t i = 0;
  for (; i < end && (line[i] == '\t' || line[i] == ' '); ++i) width += line[i] == '\t' ? tabSize : 1;
  if (width == 0) return;
  while (i < end && IsWhite(line[i])) ++i;
  const std::size_t t = static_cast<std::size_t>(tabSize);
  switch (conversion) {
    case 0:
      // Never longer than the whitespace it replaces, so no reallocation.
      line.replace(0, i, width / t, '\t');
      line.insert(width / t, width % t, ' ');
      break;
    case 1:
      line.replace(0, i, width, ' ');
      break;
    default:
      line.erase(0, i);
  }
}

void ConvertLines(TLines& lines, int tabSize, std::uint8_t conversion, bool deleteEmptyLines) {
  for (std::string& line : lines) ConvertLine(line, tabSize, conversion);
  if (deleteEmptyLines)
    lines.erase(std::remove_if(lines.begin(), lines.end(),
                               [](const std::string& line) { return line.empty(); }),
                lines.end());
}

std::size_t NormaliseSavedLine(const char* data, std::size_t size, int tabSize, char* out) {
  std::size_t end = size;
  while (end > 0 && IsWhite(data[end - 1])) --end;
  std::size_t core = 0;
  while (core < end && IsWhite(data[core])) ++core;
  // Writing never overtakes reading: a run of T blanks becomes one tab.
  std::size_t written = 0;
  int blanks = 0;
  for (std::size_t i = 0; i < core; ++i) {
    if (data[i] == ' ') {
      if (++blanks == tabSize) {
        out[written++] = '\t';
        blanks = 0;
      }
      continue;
    }
    for (; blanks > 0; --blanks) out[written++] = ' ';
    out[written++] = data[i];
  }
  for (; blanks > 0; --blanks) out[written++] = ' ';
  std::memmove(out + written, data + core, end - core);
  return written + (end - core);
}

void NormaliseSavedLine(std::string& line, int tabSize) {
  line.resize(NormaliseSavedLine(line.data(), line.size(), tabSize, line.data()));
}
