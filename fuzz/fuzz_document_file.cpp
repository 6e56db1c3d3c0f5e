// A document's load, save and load again: any bytes either load or are
// refused with EInOutError; what loads is the file's lines decoded and
// converted; what is saved loads again in the same encoding (a page that
// would not is refused whole) and, saved once more, gives the same bytes.
#include <fuzzer/FuzzedDataProvider.h>

#include <QFile>

#include "components/errors.h"
#include "components/text_codec.h"
#include "doc/edit_file_info.h"
#include "fuzz_support.h"

namespace {

std::string ReadBack(const QString& path) {
  QFile file(path);
  FUZZ_CHECK(file.open(QIODevice::ReadOnly));
  return file.readAll().toStdString();
}

bool EndsInWhite(const std::string& line) {
  return !line.empty() && static_cast<unsigned char>(line.back()) <= 32;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  TEditFileInfo info;
  info.TabSize = data.ConsumeIntegralInRange<int>(1, 9);
  // Mostly the three offered rules, sometimes any value a settings file holds.
  info.Conversion = data.ConsumeBool() ? data.ConsumeIntegral<std::uint8_t>()
                                       : data.ConsumeIntegralInRange<std::uint8_t>(0, 2);
  info.DeleteEmptyLines = data.ConsumeBool();
  const std::string file = data.ConsumeRemainingBytesAsString();
  const QString path = QString::fromStdString(ScratchFile("page.htm", file));

  try {
    info.Load(path);
  } catch (const EInOutError&) {
    FUZZ_CHECK(info.FileName.isEmpty() && info.Baseline.empty());
    return 0;
  }
  const bool utf8 = IsValidUtf8(file);
  FUZZ_CHECK(info.Encoding == (utf8 ? TTextEncoding::Utf8 : TTextEncoding::Windows1252));

  // The lines as read and converted whole must be what the load converted
  // line by line while reading.
  TLines expected = SplitLines(file);
  if (!utf8)
    for (std::string& line : expected) line = Windows1252ToUtf8(line);
  info.Convert(expected);
  FUZZ_CHECK(info.Baseline == expected);
  for (const std::string& line : info.Baseline.Lines()) {
    FUZZ_CHECK(IsValidUtf8(line));
    FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(info.Conversion == 2 || !EndsInWhite(line));
    FUZZ_CHECK(!info.DeleteEmptyLines || !line.empty());
  }

  info.Modified = true;
  try {
    info.Save();
  } catch (const EInOutError& e) {
    // Only a page that would not open again is refused, and then nothing
    // changes: not the file, not the lines, not the modified flag.
    FUZZ_CHECK(e.Message.contains(QStringLiteral("could not open again")));
    FUZZ_CHECK(ReadBack(path) == file && info.Baseline == expected && info.Modified);
    return 0;
  }
  FUZZ_CHECK(!info.Modified);
  const std::string saved = ReadBack(path);
  std::string joined =
      info.Baseline.empty() ? std::string() : JoinLines(info.Baseline.Lines()) + "\r\n";
  if (!utf8) {
    std::string ansi;
    FUZZ_CHECK(Utf8ToWindows1252(joined, ansi));
    joined = ansi;
  }
  FUZZ_CHECK(saved == joined);
  for (const std::string& line : info.Baseline.Lines()) FUZZ_CHECK(!EndsInWhite(line));

  const TTextEncoding encoding = info.Encoding;
  try {
    info.Load(path);
  } catch (const EInOutError& e) {
    std::fprintf(stderr, "the saved page does not load again: %s\n", e.what());
    std::abort();
  }
  FUZZ_CHECK(info.Encoding == encoding || info.Baseline.empty());
  // Without a conversion, a line of blanks is kept on loading and emptied on
  // saving, so deleting empty lines takes it away one load later.
  if (info.Conversion == 2 && info.DeleteEmptyLines) return 0;
  info.Save();
  FUZZ_CHECK(ReadBack(path) == saved);
  return 0;
}
