#include "doc/load_converter.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "doc/whitespace_rules.h"

namespace {

// A bit for each CR or LF among the 64 bytes at p, or the n < 64 there:
// one pass over the text, and a block of short lines costs one branch
// where a search for each break mispredicts at the end of every line.
std::uint64_t BreakMask(const char* p, std::size_t n) {
  std::uint64_t mask = 0;
  std::size_t at = 0;
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; n - at >= 16; at += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + at));
    const auto hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf))));
    mask |= std::uint64_t(hits) << at;
  }
#endif
  for (; at < n; ++at)
    if (p[at] == '\r' || p[at] == '\n') mask |= std::uint64_t(1) << at;
  return mask;
}

bool IsWhite(char c) { return static_cast<unsigned char>(c) <= 32; }

// The trailing blanks and the indentation of a page vary from line to line,
// so a byte loop over them mispredicts a branch or two on every line; sixteen
// bytes a step keep both to one predictable test. [lo, hi) is the memory
// around the line that may be read, so that a short line needs no loop.

// [data, data + end) without its trailing bytes <= 32.
std::size_t TrimmedEnd(const char* data, std::size_t end, const char* lo) {
#if defined(__SSE2__)
  const __m128i space = _mm_set1_epi8(' ');
  while (end > 0 && (end >= 16 || static_cast<std::size_t>(data - lo) >= 16 - end)) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + end - 16));
    auto white =
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, space), v)));
    if (end < 16) white |= (1u << (16 - end)) - 1;  // the bytes before the line
    if (white != 0xFFFF) return end - 16 + std::bit_width(~white & 0xFFFFu);
    if (end <= 16) return 0;
    end -= 16;
  }
#endif
  while (end > 0 && IsWhite(data[end - 1])) --end;
  return end;
}

// Bits set among the low 16, without the library call that std::popcount
// makes on a processor not known to have the instruction.
std::size_t Count16(unsigned x) {
  x -= (x >> 1) & 0x5555u;
  x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
  x = (x + (x >> 4)) & 0x0F0Fu;
  return (x + (x >> 8)) & 0x1Fu;
}

// The length of the run of tabs and blanks that starts [data, data + end),
// and in tabs how many of them are tabs.
std::size_t IndentLength(const char* data, std::size_t end, const char* hi, std::size_t& tabs) {
  std::size_t at = 0;
  tabs = 0;
#if defined(__SSE2__)
  const __m128i tab = _mm_set1_epi8('\t');
  const __m128i blank = _mm_set1_epi8(' ');
  while (at < end && hi - (data + at) >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    const auto tabMask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, tab)));
    auto indent = tabMask | static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, blank)));
    if (end - at < 16) indent &= (1u << (end - at)) - 1;  // the bytes after the line
    if (indent != 0xFFFF) {
      const int run = std::countr_one(indent);
      tabs += Count16(tabMask & ((1u << run) - 1));
      return at + static_cast<std::size_t>(run);
    }
    tabs += Count16(tabMask);
    at += 16;
  }
#endif
  for (; at < end && (data[at] == '\t' || data[at] == ' '); ++at) tabs += data[at] == '\t';
  return at;
}

}  // namespace

TLoadConverter::TLoadConverter(TJoinedLines& lines, std::vector<std::uint64_t>& deletedLines,
                               int tabSize, std::uint8_t conversion, bool deleteEmptyLines)
    : FLines(lines),
      FDeleted(deletedLines),
      FTabSize(static_cast<std::size_t>(tabSize)),
      FConversion(conversion),
      FDeleteEmpty(deleteEmptyLines) {}

void TLoadConverter::Line(const char* data, std::size_t size, const char* lo, const char* hi) {
  FLongest = std::max(FLongest, size);
  const std::size_t diskLine = FDiskLine++;
  const std::size_t end = FConversion != convNone ? TrimmedEnd(data, size, lo) : size;
  if (end == 0) {
    if (!FDeleteEmpty) {
      FLines.AppendIndented(0, 0, {});
      return;
    }
    if (FDeleted.size() <= diskLine / 64) FDeleted.resize(diskLine / 64 + 1);
    FDeleted[diskLine / 64] |= std::uint64_t(1) << (diskLine % 64);
    return;
  }
  if (FConversion == convNone || (data[0] != ' ' && data[0] != '\t')) {
    // No indentation to measure: most lines of a page.
    FLines.AppendIndented(0, 0, {data, end});
    return;
  }
  // Each tab counts T wherever it stands: tabs are not aligned to tab stops.
  std::size_t tabs = 0;
  std::size_t core = IndentLength(data, end, hi, tabs);
  const std::size_t blanks = core - tabs;
  const std::size_t width = tabs * FTabSize + blanks;
  if (width == 0) {
    FLines.AppendIndented(0, 0, {data, end});
    return;
  }
  while (core < end && IsWhite(data[core])) ++core;
  const std::string_view rest(data + core, end - core);
  if (FConversion == convToTabs) {
    // A 64-bit division costs more than the rest of the line; the blanks
    // beside the tabs are few.
    if (blanks < FTabSize)
      FLines.AppendIndented(tabs, blanks, rest);
    else
      FLines.AppendIndented(width / FTabSize, width % FTabSize, rest);
  } else if (FConversion == convToBlanks)
    FLines.AppendIndented(0, width, rest);
  else
    FLines.AppendIndented(0, 0, rest);
}

void TLoadConverter::Feed(const char* data, std::size_t size) {
  const char* line = data;
  const char* const end = data + size;
  if (FAfterCr && line < end) {
    FAfterCr = false;
    if (*line == '\n') ++line;
  }
  for (const char* block = line; block < end; block += 64) {
    std::uint64_t mask = BreakMask(block, std::min<std::size_t>(64, end - block));
    for (; mask; mask &= mask - 1) {
      const char* brk = block + std::countr_zero(mask);
      if (brk < line) continue;  // the LF of a CR LF taken with its CR
      if (FPending.empty()) {
        Line(line, static_cast<std::size_t>(brk - line), data, end);
      } else {
        FPending.append(line, brk);
        PendingLine();
      }
      line = brk + 1;
      if (*brk == '\r') {
        if (line == end)
          FAfterCr = true;
        else if (*line == '\n')
          ++line;
      }
    }
  }
  if (line < end) FPending.append(line, end);
}

void TLoadConverter::Finish() {
  if (!FPending.empty()) PendingLine();
  FAfterCr = false;
}

void TLoadConverter::PendingLine() {
  Line(FPending.data(), FPending.size(), FPending.data(), FPending.data() + FPending.size());
  FPending = std::string();
}
