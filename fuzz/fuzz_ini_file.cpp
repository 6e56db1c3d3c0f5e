// The settings file: any bytes parse, every key written reads back as it
// was written, also after Contents() is parsed again, and keys not written
// keep their values.
#include <fuzzer/FuzzedDataProvider.h>

#include "config/ini_file.h"
#include "fuzz_support.h"

namespace {

// Names as the program writes them: letters, digits and inner blanks.
QString Name(FuzzedDataProvider& data) {
  static const char kAlphabet[] = "abcABC09_ .";
  std::string name = "n";
  const std::size_t length = data.ConsumeIntegralInRange<std::size_t>(0, 4);
  for (std::size_t i = 0; i < length; ++i)
    name += kAlphabet[data.ConsumeIntegralInRange<std::size_t>(0, sizeof kAlphabet - 2)];
  return QString::fromLatin1(name).trimmed();
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

// A value read back unchanged: one line, no blanks at its ends, no
// enclosing quotes, within the read limit.
bool ReadsBackAsIs(const QByteArray& v) {
  if (v.contains('\r') || v.contains('\n') || v.size() > IniMaxValueLength) return false;
  if (!v.isEmpty() && (IsBlank(v.front()) || IsBlank(v.back()))) return false;
  return !(v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front());
}

// Whether the key is there at all: no one default can tell, since a value
// may equal it.
bool Has(const TIniFile& ini, const QString& section, const QString& key) {
  return ini.ReadValue(section, key, "a") != "a" || ini.ReadValue(section, key, "b") != "b";
}

struct TWrite {
  QString Section, Key;
  QByteArray Value;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  std::vector<TWrite> writes(data.ConsumeIntegralInRange<int>(0, 4));
  for (TWrite& w : writes) {
    w.Section = Name(data);
    w.Key = Name(data);
    w.Value = QByteArray::fromStdString(data.ConsumeRandomLengthString(64));
  }
  const QString probeSection = Name(data), probeKey = Name(data);
  const std::string file = data.ConsumeRemainingBytesAsString();

  TIniFile ini(QString::fromStdString(ScratchFile("a.ini", file)));
  // A parse that keeps every byte: what was read is what would be written.
  FUZZ_CHECK(ini.Contents() == QByteArray::fromStdString(file));
  const bool probeThere = Has(ini, probeSection, probeKey);
  const QByteArray probeBefore = ini.ReadValue(probeSection, probeKey, {});
  FUZZ_CHECK(probeBefore.size() <= IniMaxValueLength);

  bool probeWritten = false;
  for (const TWrite& w : writes) {
    ini.WriteValue(w.Section, w.Key, w.Value);
    probeWritten = probeWritten || (w.Section.compare(probeSection, Qt::CaseInsensitive) == 0 &&
                                    w.Key.compare(probeKey, Qt::CaseInsensitive) == 0);
  }

  const QByteArray contents = ini.Contents();
  TIniFile again(QString::fromStdString(ScratchFile("b.ini", contents.toStdString())));
  FUZZ_CHECK(again.Contents() == contents);
  for (std::size_t i = 0; i < writes.size(); ++i) {
    const TWrite& w = writes[i];
    bool overwritten = false;
    for (std::size_t j = i + 1; j < writes.size(); ++j)
      overwritten =
          overwritten || (writes[j].Section.compare(w.Section, Qt::CaseInsensitive) == 0 &&
                          writes[j].Key.compare(w.Key, Qt::CaseInsensitive) == 0);
    if (overwritten) continue;
    FUZZ_CHECK(Has(ini, w.Section, w.Key) && Has(again, w.Section, w.Key));
    const QByteArray read = ini.ReadValue(w.Section, w.Key, {});
    FUZZ_CHECK(!read.contains('\r') && !read.contains('\n'));
    FUZZ_CHECK(again.ReadValue(w.Section, w.Key, {}) == read);
    FUZZ_CHECK(again.ReadSection(w.Section).value(w.Key.toCaseFolded()) ==
               again.ReadString(w.Section, w.Key, {}));
    if (ReadsBackAsIs(w.Value)) FUZZ_CHECK(read == w.Value);
  }
  if (!probeWritten) {
    FUZZ_CHECK(Has(again, probeSection, probeKey) == probeThere);
    FUZZ_CHECK(again.ReadValue(probeSection, probeKey, {}) == probeBefore);
  }
  return 0;
}
