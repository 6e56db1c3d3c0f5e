#include "html/tag_case.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "html/html_snippets.h"

namespace {

unsigned char UpperAscii(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; }

// The element names by first letter, longest first, so that the first one
// that matches is the one whose conversion covers all the others.
class TNameIndex {
 public:
  TNameIndex() {
    for (const THtmlElement& e : HtmlElements) FByLetter[e.Name[0] - 'A'].push_back(e.Name);
    for (auto& names : FByLetter)
      std::stable_sort(names.begin(), names.end(), [](const char* a, const char* b) {
        return std::strlen(a) > std::strlen(b);
      });
  }

  // Length of the longest name at p (at most end), 0 when none matches.
  std::size_t LongestAt(const char* p, const char* end) const {
    const unsigned char first = UpperAscii(static_cast<unsigned char>(*p));
    if (first < 'A' || first > 'Z') return 0;
    for (const char* name : FByLetter[first - 'A']) {
      std::size_t i = 1;
      while (name[i] && p + i < end && UpperAscii(static_cast<unsigned char>(p[i])) == name[i]) ++i;
      if (!name[i]) return i;
    }
    return 0;
  }

 private:
  std::array<std::vector<const char*>, 26> FByLetter;
};

}  // namespace

TTagCaseResult ConvertTagCase(std::string Text, bool ToUpper) {
  static const TNameIndex index;
  TTagCaseResult result;
  char* const data = Text.data();
  const char* const end = data + Text.size();
  char* p = data;
  // Only "<" needs a look; memchr skips the text between tags.
  while ((p = static_cast<char*>(std::memchr(p, '<', end - p))) != nullptr) {
    char* name = ++p;
    if (name < end && *name == '/') ++name;
    if (name >= end) break;
    const std::size_t length = index.LongestAt(name, end);
    if (length == 0) continue;
    ++result.NamesFound;
    for (std::size_t i = 0; i < length; ++i) {
      const char c = name[i];
      if (ToUpper && c >= 'a' && c <= 'z') {
        name[i] = c - 32;
        result.Changed = true;
      } else if (!ToUpper && c >= 'A' && c <= 'Z') {
        name[i] = c + 32;
        result.Changed = true;
      }
    }
    p = name + length;
  }
  result.Text = std::move(Text);
  return result;
}
