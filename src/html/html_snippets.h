#pragma once
// The HTML toolset's rows: the 91 elements of HTML 4.0, each with a ready-made
// snippet, followed by three document-type declarations.
#include <string>

struct THtmlElement {
  const char* Name;     // in capitals, at most 10 characters
  const char* Snippet;  // "%CR%" stands for a line break
};

inline constexpr int HtmlElementCount = 91;
inline constexpr int HtmlDocTypeCount = 3;
inline constexpr int HtmlToolsetRowCount = HtmlElementCount + HtmlDocTypeCount;

// In alphabetical order of the names; the tag case conversion uses the same
// names.
extern const THtmlElement HtmlElements[HtmlElementCount];

// The list text of a row: "<A>" ... "<VAR>", then the three captions
// "HTML 4.0 Transitional", "HTML 4.0 Strict", "HTML 4.0 Frameset"; empty for
// any other row.
std::string HtmlToolsetRowText(int row);

// What a double click on the row inserts: an element's snippet with its
// markers turned into CR LF and one CR LF appended, or a row's two-line
// declaration; empty for any other row (-1 when none is selected).
std::string HtmlToolsetChosenText(int row);
