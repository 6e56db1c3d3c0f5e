#include "doc/text_lines.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>

namespace {

const char* FindByte(const char* from, const char* end, char c) {
  const void* hit = std::memchr(from, c, static_cast<std::size_t>(end - from));
  return hit ? static_cast<const char*>(hit) : end;
}

}  // namespace

void TLineSplitter::Add(const char* data, std::size_t size) {
  if (AddLine)
    AddLine(Lines, data, size);
  else
    Lines.emplace_back(data, size);
}

void TLineSplitter::Emit(const char* begin, const char* end) {
  if (Pending.empty()) {
    Add(begin, static_cast<std::size_t>(end - begin));
  } else {
    Pending.append(begin, end);
    Add(Pending.data(), Pending.size());
    Pending = std::string();
  }
}

void TLineSplitter::Feed(const char* data, std::size_t size) {
  const char* p = data;
  const char* end = data + size;
  if (AfterCr && p < end) {
    AfterCr = false;
    if (*p == '\n') ++p;
  }
  // The next CR and the next LF are each searched once per break, so text
  // with only CRs (or only LFs) is not rescanned to the end for every line.
  const char* nextLf = FindByte(p, end, '\n');
  const char* nextCr = FindByte(p, end, '\r');
  while (p < end) {
    const char* brk = nextLf < nextCr ? nextLf : nextCr;
    if (brk == end) {
      Pending.append(p, end);
      break;
    }
    Emit(p, brk);
    p = brk + 1;
    if (*brk == '\r') {
      if (p == end)
        AfterCr = true;
      else if (*p == '\n')
        ++p;
    }
    if (nextLf < p) nextLf = FindByte(p, end, '\n');
    if (nextCr < p) nextCr = FindByte(p, end, '\r');
  }
}

void TLineSplitter::Finish() {
  if (!Pending.empty()) {
    Add(Pending.data(), Pending.size());
    Pending = std::string();
  }
  AfterCr = false;
}

TLines SplitLines(std::string_view text) {
  TLines lines;
  TLineSplitter splitter(lines);
  splitter.Feed(text.data(), text.size());
  splitter.Finish();
  return lines;
}

std::string JoinLines(const TLines& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string text;
  text.reserve(size);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text.append("\r\n");
    text.append(lines[i]);
  }
  return text;
}

TJoinedLines::TJoinedLines(const TLines& lines) {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  FText.reserve(size);
  for (const std::string& line : lines) Append(line);
}

void TJoinedLines::Append(std::string_view line) {
  FText.append(line).append("\r\n", 2);
  ++FCount;
}

void TJoinedLines::Reserve(std::size_t bytes) {
  FText.reserve(bytes);
  // A page of many megabytes otherwise takes a page fault every 4 kB as it
  // is filled; huge pages cut that to one every 2 MB where the system allows.
  constexpr std::uintptr_t kHuge = 2 << 20;
  if (FText.capacity() < 4 * kHuge) return;
  const auto begin = (reinterpret_cast<std::uintptr_t>(FText.data()) + kHuge - 1) & ~(kHuge - 1);
  const auto end =
      (reinterpret_cast<std::uintptr_t>(FText.data()) + FText.capacity()) & ~(kHuge - 1);
  if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

void TJoinedLines::Clear() {
  std::string().swap(FText);
  FCount = 0;
}

void TJoinedLines::ShrinkEach(
    const std::function<std::size_t(const char*, std::size_t, char*)>& shrink) {
  std::string scratch;
  std::size_t read = 0, write = 0;
  for (std::size_t i = 0; i < FCount; ++i) {
    const std::size_t end = FText.find('\r', read);
    scratch.resize(end - read);
    const std::size_t n = shrink(FText.data() + read, end - read, scratch.data());
    // The text written so far is never longer than the text read.
    std::memcpy(FText.data() + write, scratch.data(), n);
    write += n;
    FText[write++] = '\r';
    FText[write++] = '\n';
    read = end + 2;
  }
  FText.resize(write);
}

TLines TJoinedLines::Lines() const {
  TLines lines;
  lines.reserve(FCount);
  ForEach([&lines](std::string_view line) { lines.emplace_back(line); });
  return lines;
}
