#include "doc/whitespace_rules.h"

#include <algorithm>
#include <cstring>

namespace {

bool IsWhite(char c) { return static_cast<unsigned char>(c) <= 32; }

// Where the parts of a line lie for the loading conversion.
struct TIndent {
  std::size_t End = 0;    // after the last character that is not whitespace
  std::size_t Core = 0;   // the first character that is not whitespace
  std::size_t Width = 0;  // columns of the leading tabs and blanks
};

TIndent MeasureIndent(const char* data, std::size_t size, int tabSize) {
  TIndent indent;
  indent.End = size;
  while (indent.End > 0 && IsWhite(data[indent.End - 1])) --indent.End;
  // Each tab counts T wherever it stands: tabs are not aligned to tab stops.
  std::size_t i = 0;
  for (; i < indent.End && (data[i] == '\t' || data[i] == ' '); ++i)
    indent.Width += data[i] == '\t' ? static_cast<std::size_t>(tabSize) : 1;
  while (i < indent.End && IsWhite(data[i])) ++i;
  indent.Core = i;
  return indent;
}

void AppendPrefix(std::string& out, std::size_t width, int tabSize, std::uint8_t conversion) {
  const std::size_t t = static_cast<std::size_t>(tabSize);
  if (conversion == convToTabs) {
    out.append(width / t, '\t');
    out.append(width % t, ' ');
  } else if (conversion == convToBlanks) {
    out.append(width, ' ');
  }
}

}  // namespace

void ConvertLine(std::string& line, int tabSize, std::uint8_t conversion) {
  if (conversion == convNone) return;
  const TIndent indent = MeasureIndent(line.data(), line.size(), tabSize);
  line.resize(indent.End);
  if (indent.Width == 0) return;
  const std::size_t t = static_cast<std::size_t>(tabSize);
  if (conversion == convToTabs) {
    line.replace(0, indent.Core, indent.Width / t, '\t');
    line.insert(indent.Width / t, indent.Width % t, ' ');
  } else if (conversion == convToBlanks) {
    line.replace(0, indent.Core, indent.Width, ' ');
  } else {
    line.erase(0, indent.Core);
  }
}

void ConvertLineTo(const char* data, std::size_t size, int tabSize, std::uint8_t conversion,
                   std::string& out) {
  if (conversion == convNone) {
    out.assign(data, size);
    return;
  }
  const TIndent indent = MeasureIndent(data, size, tabSize);
  if (indent.Width == 0) {
    out.assign(data, indent.End);
    return;
  }
  const std::size_t t = static_cast<std::size_t>(tabSize);
  std::size_t prefix = indent.Width;
  if (conversion == convToTabs)
    prefix = indent.Width / t + indent.Width % t;
  else if (conversion > convNone)
    prefix = 0;
  out.clear();
  out.reserve(prefix + indent.End - indent.Core);
  AppendPrefix(out, indent.Width, tabSize, conversion);
  out.append(data + indent.Core, data + indent.End);
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
