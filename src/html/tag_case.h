#pragma once
// Writes the HTML element names that follow "<" or "</" in capitals or in
// small letters, leaving every other character of the page alone.
#include <string>

struct TTagCaseResult {
  std::string Text;
  int NamesFound = 0;    // tag starts at which a listed element name was found
  bool Changed = false;  // whether any character differs from the input
};

// The text as the page's repeated case-insensitive search and replace of
// "<" + name and "</" + name, for every element name in table order, leaves
// it. At each "<" or "</" only the longest listed name that matches, ignoring
// the case of a to z, changes: so "<bgsound" becomes "<Bgsound" in capitals,
// because B is listed and BGSOUND is not. Works on UTF-8 bytes; the length
// never changes. Changed and NamesFound are information only: the command
// counts as an edit of the document even when nothing changed.
TTagCaseResult ConvertTagCase(std::string Text, bool ToUpper);
