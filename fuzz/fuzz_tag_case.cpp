// Tag case: only the case of letters changes, the length never; converting
// twice changes nothing more; both directions touch the same letters; and
// Changed tells whether any byte changed.
#include <fuzzer/FuzzedDataProvider.h>

#include "fuzz_support.h"
#include "html/tag_case.h"

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  const TTagCaseResult up = ConvertTagCase(text, true);
  const TTagCaseResult down = ConvertTagCase(text, false);
  for (const TTagCaseResult* r : {&up, &down}) {
    FUZZ_CHECK(r->Text.size() == text.size());
    FUZZ_CHECK(r->Changed == (r->Text != text));
    FUZZ_CHECK(r->NamesFound >= 0);
    FUZZ_CHECK(r->Changed <= (r->NamesFound > 0));
    for (std::size_t i = 0; i < text.size(); ++i) {
      FUZZ_CHECK(Lower(r->Text[i]) == Lower(text[i]));
      // A changed letter is part of a name right after "<" or "</".
      if (r->Text[i] != text[i]) FUZZ_CHECK(text.rfind('<', i) != std::string::npos);
    }
  }
  FUZZ_CHECK(up.NamesFound == down.NamesFound);
  for (std::size_t i = 0; i < text.size(); ++i)
    if (up.Text[i] != text[i])
      FUZZ_CHECK(up.Text[i] >= 'A' && up.Text[i] <= 'Z');
    else if (down.Text[i] != text[i])
      FUZZ_CHECK(down.Text[i] >= 'a' && down.Text[i] <= 'z');

  const TTagCaseResult upAgain = ConvertTagCase(up.Text, true);
  FUZZ_CHECK(upAgain.Text == up.Text && !upAgain.Changed);
  FUZZ_CHECK(upAgain.NamesFound == up.NamesFound);
  FUZZ_CHECK(ConvertTagCase(down.Text, true).Text == up.Text);
  FUZZ_CHECK(ConvertTagCase(up.Text, false).Text == down.Text);
  return 0;
}
