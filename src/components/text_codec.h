#pragma once
// Byte-level text encodings of documents: strict UTF-8 validation and the
// Windows-1252 code page, mapped one character per byte so that every byte
// value survives a decode and encode.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Checks UTF-8 a piece at a time, so a file can be checked while it is read;
// a sequence may be split across pieces.
class TUtf8Validator {
 public:
  // False once any byte seen so far broke the rules (it stays false).
  bool Feed(const char* data, std::size_t size);
  // True when everything fed was valid and no sequence was left unfinished.
  bool Finish() const { return Valid && Need == 0; }

 private:
  bool Valid = true;
  int Need = 0;                        // continuation bytes still expected
  unsigned char Lo = 0x80, Hi = 0xBF;  // range allowed for the next one
};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// The bytes that start a character (all but 0x80 to 0xBF): the characters
// of valid UTF-8.
std::size_t Utf8StartBytes(std::string_view bytes);

// The Unicode code of a Windows-1252 byte (the five undefined bytes map to
// the C1 controls of the same value).
char32_t Windows1252Code(unsigned char byte);

// Windows-1252 bytes to UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);
// The same, rewriting the string where it stands; text without bytes above
// 127 is left untouched.
void Windows1252ToUtf8InPlace(std::string& text);

// Appends the Windows-1252 form of utf8 to out. When a character has no
// Windows-1252 byte (or the text is not valid UTF-8) it returns false and
// sets *failPos to that character's byte offset in utf8; out then holds
// the part before it.
bool Utf8ToWindows1252(std::string_view utf8, std::string& out, std::size_t* failPos = nullptr);

// The code of the UTF-8 character that starts at byte pos, with its length
// in *length; nothing when no valid character starts there.
std::optional<char32_t> Utf8CodeAt(std::string_view utf8, std::size_t pos,
                                   std::size_t* length = nullptr);

// The UTF-8 form of a code.
std::string Utf8FromCode(char32_t code);
