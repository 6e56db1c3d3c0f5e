// Line splitting and the all-files search: text fed in any pieces splits as
// it does whole; joining and splitting again gives the same lines; and the
// search lists exactly the lines, numbered as the editor numbers them, that
// hold the search text.
#include <fuzzer/FuzzedDataProvider.h>

#include <QFileInfo>
#include <algorithm>

#include "components/text_codec.h"
#include "doc/text_lines.h"
#include "fuzz_support.h"
#include "search/all_files_search.h"
#include "search/byte_search.h"

namespace {

std::string Folded(std::string s, bool caseSensitive) {
  if (!caseSensitive)
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

std::size_t Breaks(const std::string& text) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < text.size(); ++i)
    n += text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'));
  return n;
}

void CheckSplitting(const std::string& text, const std::vector<std::size_t>& cuts) {
  const TLines whole = SplitLines(text);
  const bool endsInBreak = !text.empty() && (text.back() == '\r' || text.back() == '\n');
  FUZZ_CHECK(whole.size() == Breaks(text) + (text.empty() || endsInBreak ? 0 : 1));
  for (const std::string& line : whole) FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);

  TLines pieces;
  TLineSplitter splitter(pieces);
  std::size_t from = 0;
  for (std::size_t cut : cuts) {
    cut = std::min(std::max(cut, from), text.size());
    splitter.Feed(text.data() + from, cut - from);
    from = cut;
  }
  splitter.Feed(text.data() + from, text.size() - from);
  splitter.Finish();
  FUZZ_CHECK(pieces == whole);

  if (!whole.empty() && !whole.back().empty()) FUZZ_CHECK(SplitLines(JoinLines(whole)) == whole);
  FUZZ_CHECK(CountLineBreaks(text.data(), 0, text.size(), 0) == Breaks(text));
}

void CheckSearch(const std::string& text, const std::string& pattern, bool caseSensitive,
                 std::size_t from) {
  const TBytePattern byPattern(pattern, caseSensitive);
  const std::string foldedText = Folded(text, caseSensitive);
  const std::string foldedPattern = Folded(pattern, caseSensitive);
  const std::size_t expected = pattern.empty() || from > text.size()
                                   ? std::string::npos
                                   : foldedText.find(foldedPattern, from);
  FUZZ_CHECK(byPattern.Find(text.data(), text.size(), from) == expected);
  const std::size_t lineBreak = text.find_first_of("\r\n", std::min(from, text.size()));
  FUZZ_CHECK(FindLineBreak(text.data(), text.size(), std::min(from, text.size())) ==
             (lineBreak == std::string::npos ? text.size() : lineBreak));
}

void CheckAllFiles(const std::string& text, const std::string& searchBytes, bool caseSensitive) {
  const QString searchText = QString::fromUtf8(searchBytes.data(), qsizetype(searchBytes.size()));
  const QFileInfo file(QString::fromStdString(ScratchFile("page.htm", text)));
  const TAllFilesResult result =
      SearchAllFiles(file.path(), {file.fileName()}, searchText, caseSensitive);
  FUZZ_CHECK(result.Failures.empty() && !result.Cancelled);
  FUZZ_CHECK(result.Entries.size() == qsizetype(result.Hits.size()));

  // The bytes the search text has in this file's encoding.
  const std::string utf8 = searchText.toUtf8().toStdString();
  std::string pattern = utf8;
  const bool ascii = std::all_of(utf8.begin(), utf8.end(), [](char c) { return c >= 0; });
  if (!ascii && !IsValidUtf8(text) && !Utf8ToWindows1252(utf8, pattern = {})) pattern.clear();
  if (utf8.find_first_of("\r\n") != std::string::npos) pattern.clear();

  std::vector<qint64> expected;
  const TLines lines = SplitLines(text);
  for (std::size_t i = 0; i < lines.size() && !pattern.empty(); ++i)
    if (Folded(lines[i], caseSensitive).find(Folded(pattern, caseSensitive)) != std::string::npos)
      expected.push_back(static_cast<qint64>(i) + 1);
  FUZZ_CHECK(result.Hits.size() == expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    FUZZ_CHECK(result.Hits[i].Line == expected[i]);
    const std::optional<TSearchHit> parsed = ParseResultEntry(result.Entries[qsizetype(i)]);
    FUZZ_CHECK(parsed && parsed->FileName == file.fileName());
    FUZZ_CHECK(parsed->Line == expected[i] % 10000);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  const bool caseSensitive = data.ConsumeBool();
  const std::string searchBytes = data.ConsumeRandomLengthString(12);
  std::vector<std::size_t> cuts(data.ConsumeIntegralInRange<int>(0, 6));
  for (std::size_t& cut : cuts) cut = data.ConsumeIntegralInRange<std::size_t>(0, 512);
  const std::size_t from = data.ConsumeIntegralInRange<std::size_t>(0, 600);
  const std::string text = data.ConsumeRemainingBytesAsString();

  CheckSplitting(text, cuts);
  CheckSearch(text, searchBytes, caseSensitive, from);
  CheckAllFiles(text, searchBytes, caseSensitive);
  return 0;
}
