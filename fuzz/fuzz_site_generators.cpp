// The site generators on pages of any name and text: robots.txt disallows
// exactly the pages whose text has a line naming both "robots" and
// "noindex", the sitemap is XML that lists every other page at its address,
// and the test page names every page. Kept to what the generators promise,
// not how they lay their lines out.
#include <fuzzer/FuzzedDataProvider.h>

#include <QXmlStreamReader>
#include <algorithm>
#include <filesystem>
#include <string>

#include "components/file_names.h"
#include "fuzz_support.h"
#include "site/robots.h"
#include "site/site_names.h"
#include "site/test_page.h"

namespace {

std::string Folded(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return out;
}

bool SaysNoIndex(const std::string& text) {
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = Folded(std::string_view(text).substr(start, end - start));
    if (line.find("robots") != std::string::npos && line.find("noindex") != std::string::npos)
      return true;
    start = end + 1;
  }
  return false;
}

// Characters XML 1.0 allows in a document.
bool XmlSafe(const QString& s) {
  return std::all_of(s.begin(), s.end(), [](QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x20 || u == 9) && !(u >= 0xDC80 && u <= 0xDCFF) && u != 0xFFFE && u != 0xFFFF;
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  FuzzedDataProvider data(bytes, size);
  const std::string folder = ScratchDir() + "/site";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directory(folder);
  static const char* const kEndings[] = {".htm", ".HTML", ".asp", ".gif", ".jpg", ""};
  const QString remote = QString::fromUtf8(data.ConsumeRandomLengthString(30));

  QStringList pages;
  QStringList disallowed;
  const int count = data.ConsumeIntegralInRange<int>(0, 5);
  for (int i = 0; i < count; ++i) {
    std::string name = data.ConsumeRandomLengthString(16);
    std::replace(name.begin(), name.end(), '/', '_');
    std::replace(name.begin(), name.end(), '\0', '_');
    name += kEndings[data.ConsumeIntegralInRange<int>(0, 5)];
    if (name.empty() || name == "." || name == "..") name = "p.htm";
    const QString page = NameFromBytes(name);
    if (pages.contains(page)) continue;
    const std::string text = data.ConsumeRandomLengthString(300);
    ScratchFile(("site/" + name).c_str(), text);
    pages << page;
    if (IsPage(page) && SaysNoIndex(text)) disallowed << page;
  }
  const QString root = QString::fromStdString(folder);

  QString failure;
  const QStringList robots = WriteRobots(pages, root, &failure);
  FUZZ_CHECK(failure.isEmpty());
  FUZZ_CHECK(!robots.isEmpty() && robots.first() == "User-agent: *");
  QStringList expected{"User-agent: *"};
  for (const QString& page : disallowed) expected << "Disallow: /" + AddressPath(page);
  FUZZ_CHECK(robots == expected);

  const QStringList sitemap = WriteSitemap(pages, root, remote, &failure);
  FUZZ_CHECK(failure.isEmpty());
  QStringList listed;
  for (const QString& page : pages)
    if (IsPage(page) && !disallowed.contains(page))
      listed << RemoteRootWithSlash(remote) + EncodedUrlPath(page);
  if (XmlSafe(remote)) {
    QXmlStreamReader xml(sitemap.join('\n'));
    QStringList locs;
    while (!xml.atEnd())
      if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"loc")
        locs << xml.readElementText();
    FUZZ_CHECK(!xml.hasError());
    FUZZ_CHECK(locs == listed);
  }

  const QStringList test = WriteTestPage(pages, {}, remote, {});
  const QString joined = test.join('\n');
  for (const QString& page : pages)
    if (IsPage(page)) FUZZ_CHECK(joined.contains(AddressPath(page)));
  return 0;
}
