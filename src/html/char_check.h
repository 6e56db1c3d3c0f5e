#pragma once
// The check for characters that do not belong in an HTML file. It tests
// character codes: the tab and the codes 30 to 127 pass, everything else
// fails, so every character above 127 is reported, as in an 8-bit file.
#include <cstddef>
#include <string>
#include <vector>

inline constexpr char IllegalCharTitle[] = "Illegal character";

bool IsLegalHtmlChar(char32_t code);

// Lines are UTF-8 without their line breaks. Finds the first illegal
// character: Line and Pos (1-based, Pos counting characters, not bytes) name
// it, and Message holds the warning to show under IllegalCharTitle. When
// every character is legal, Line and Pos are -1, Message is empty and the
// result is true. A byte that is not part of valid UTF-8 counts as one
// character and is shown as U+FFFD.
bool CheckChars(const std::vector<std::string>& Lines, int& Line, int& Pos, std::string& Message);

// The warning text for a bad character (its UTF-8 text) at Line and Pos.
std::string IllegalCharMessage(const std::string& Character, int Line, int Pos);

// Byte offset in a UTF-8 line of its character number Pos (1-based), where
// the caret goes to stand just before it; the line's length when Pos lies
// beyond its end, 0 for Pos < 1.
std::size_t ByteOffsetOfChar(const std::string& Line, int Pos);

// Character index from the start of the text of line Line, character Pos
// (both 1-based), counting each line break as LineBreakLength characters.
long long CharIndexOf(const std::vector<std::string>& Lines, int Line, int Pos,
                      int LineBreakLength = 2);
