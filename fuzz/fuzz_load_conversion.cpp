// The loading conversion against its reference: the per-line path (the
// splitter handing each line to ConvertLineTo) and the converter that
// writes the document in one step must give the same bytes, the same line
// count, the same record of removed empty lines and the longest line, for
// any bytes, settings and cuts into pieces.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "doc/load_converter.h"
#include "doc/text_lines.h"
#include "doc/whitespace_rules.h"
#include "fuzz_support.h"

namespace {

struct TResult {
  TJoinedLines Lines;
  std::vector<std::uint64_t> Deleted;
  std::size_t Longest = 0;
};

template <typename Feed>
void FeedInPieces(const std::string& text, const std::vector<std::size_t>& cuts, Feed feed) {
  std::size_t from = 0;
  for (std::size_t cut : cuts) {
    cut = std::min(std::max(cut, from), text.size());
    feed(text.data() + from, cut - from);
    from = cut;
  }
  feed(text.data() + from, text.size() - from);
}

TResult Reference(const std::string& text, const std::vector<std::size_t>& cuts, int tabSize,
                  std::uint8_t conversion, bool deleteEmptyLines) {
  TResult r;
  std::string converted;
  std::size_t diskLine = 0;
  TLines unused;
  TLineSplitter splitter(unused, [&](TLines&, const char* data, std::size_t size) {
    r.Longest = std::max(r.Longest, size);
    ConvertLineTo(data, size, tabSize, conversion, converted);
    if (deleteEmptyLines && converted.empty()) {
      r.Deleted.resize(std::max(r.Deleted.size(), diskLine / 64 + 1));
      r.Deleted[diskLine / 64] |= std::uint64_t(1) << (diskLine % 64);
    } else {
      r.Lines.Append(converted);
    }
    ++diskLine;
  });
  FeedInPieces(text, cuts, [&](const char* d, std::size_t n) { splitter.Feed(d, n); });
  splitter.Finish();
  return r;
}

TResult Converted(const std::string& text, const std::vector<std::size_t>& cuts, int tabSize,
                  std::uint8_t conversion, bool deleteEmptyLines) {
  TResult r;
  TLoadConverter converter(r.Lines, r.Deleted, tabSize, conversion, deleteEmptyLines);
  // Each piece in a block of its own size, so that a read past either end
  // of it is caught.
  FeedInPieces(text, cuts, [&](const char* d, std::size_t n) {
    const std::unique_ptr<char[]> piece(new char[n]);
    std::copy(d, d + n, piece.get());
    converter.Feed(piece.get(), n);
  });
  converter.Finish();
  r.Longest = converter.LongestLine();
  return r;
}

std::vector<std::size_t> Cuts(FuzzedDataProvider& data) {
  std::vector<std::size_t> cuts(data.ConsumeIntegralInRange<int>(0, 6));
  for (std::size_t& cut : cuts) cut = data.ConsumeIntegralInRange<std::size_t>(0, 600);
  std::sort(cuts.begin(), cuts.end());
  return cuts;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  const int tabSize = data.ConsumeIntegralInRange<int>(1, 40);
  const std::uint8_t conversion = data.ConsumeIntegral<std::uint8_t>() % 5;
  const bool deleteEmptyLines = data.ConsumeBool();
  const std::vector<std::size_t> referenceCuts = Cuts(data);
  const std::vector<std::size_t> cuts = Cuts(data);
  const std::string text = data.ConsumeRemainingBytesAsString();

  const TResult expected = Reference(text, referenceCuts, tabSize, conversion, deleteEmptyLines);
  const TResult got = Converted(text, cuts, tabSize, conversion, deleteEmptyLines);
  FUZZ_CHECK(got.Lines.Text() == expected.Lines.Text());
  FUZZ_CHECK(got.Lines.size() == expected.Lines.size());
  FUZZ_CHECK(got.Deleted == expected.Deleted);
  FUZZ_CHECK(got.Longest == expected.Longest);
  return 0;
}
