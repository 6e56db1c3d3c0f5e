#pragma once
// The special-characters list: fixed rows of a label, the character itself
// and its HTML reference, with separator rows between the groups.
#include <string>

inline constexpr int SpecCharRowCount = 112;

// The row texts as the list shows them, in UTF-8: the label in a field of 16
// characters, the character, " = ", the reference; a separator is 28 "-".
extern const char* const SpecCharRows[SpecCharRowCount];

// The list text of a row; empty for any other row.
std::string SpecCharRowText(int row);

// What a double click on a row with this text inserts: the text after the
// first "=", without blanks at either end; empty for a separator.
std::string SpecCharChosenText(const std::string& rowText);
