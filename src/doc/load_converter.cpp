#include "doc/load_converter.h"

#include <algorithm>
#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "doc/whitespace_rules.h"

namespace {

// The first CR or LF in [p, end), or end: one pass over the text where two
// memchr calls a line cost more than the splitting itself.
const char* FindBreak(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int hits = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
    if (hits) return p + std::countr_zero(static_cast<unsigned>(hits));
    p += 16;
  }
#endif
  while (p < end && *p != '\r' && *p != '\n') ++p;
  return p;
}

bool IsWhite(char c) { return static_cast<unsigned char>(c) <= 32; }

}  // namespace

TLoadConverter::TLoadConverter(TJoinedLines& lines, std::vector<std::uint64_t>& deletedLines,
                               int tabSize, std::uint8_t conversion, bool deleteEmptyLines)
    : FLines(lines),
      FDeleted(deletedLines),
      FTabSize(static_cast<std::size_t>(tabSize)),
      FConversion(conversion),
      FDeleteEmpty(deleteEmptyLines) {}

void TLoadConverter::Line(const char* data, std::size_t size) {
  FLongest = std::max(FLongest, size);
  const std::size_t diskLine = FDiskLine++;
  std::size_t end = size;
  if (FConversion != convNone)
    while (end > 0 && IsWhite(data[end - 1])) --end;
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
  std::size_t width = 0, core = 0;
  for (; core < end && (data[core] == '\t' || data[core] == ' '); ++core)
    width += data[core] == '\t' ? FTabSize : 1;
  if (width == 0) {
    FLines.AppendIndented(0, 0, {data, end});
    return;
  }
  while (core < end && IsWhite(data[core])) ++core;
  const std::string_view rest(data + core, end - core);
  if (FConversion == convToTabs)
    FLines.AppendIndented(width / FTabSize, width % FTabSize, rest);
  else if (FConversion == convToBlanks)
    FLines.AppendIndented(0, width, rest);
  else
    FLines.AppendIndented(0, 0, rest);
}

void TLoadConverter::Feed(const char* data, std::size_t size) {
  const char* p = data;
  const char* const end = data + size;
  if (FAfterCr && p < end) {
    FAfterCr = false;
    if (*p == '\n') ++p;
  }
  while (p < end) {
    const char* brk = FindBreak(p, end);
    if (brk == end) {
      FPending.append(p, end);
      break;
    }
    if (FPending.empty()) {
      Line(p, static_cast<std::size_t>(brk - p));
    } else {
      FPending.append(p, brk);
      Line(FPending.data(), FPending.size());
      FPending = std::string();
    }
    p = brk + 1;
    if (*brk == '\r') {
      if (p == end)
        FAfterCr = true;
      else if (*p == '\n')
        ++p;
    }
  }
}

void TLoadConverter::Finish() {
  if (!FPending.empty()) {
    Line(FPending.data(), FPending.size());
    FPending = std::string();
  }
  FAfterCr = false;
}
