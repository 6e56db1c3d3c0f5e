#include "components/text_codec.h"

#include <cstdint>
#include <cstring>

namespace {

// Codes of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr char32_t kHighCodes[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the ASCII run at the start of [p, end), eight bytes at a time.
std::size_t AsciiPrefix(const char* p, const char* end) {
  const char* start = p;
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if (word & 0x8080808080808080ULL) break;
    p += 8;
  }
  while (p < end && static_cast<unsigned char>(*p) < 0x80) ++p;
  return static_cast<std::size_t>(p - start);
}

int Utf8Length(char32_t code) {
  return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

// Writes the UTF-8 form of code at out, which has room for it.
char* PutUtf8(char32_t code, char* out) {
  switch (Utf8Length(code)) {
    case 1:
      *out++ = static_cast<char>(code);
      break;
    case 2:
      *out++ = static_cast<char>(0xC0 | (code >> 6));
      *out++ = static_cast<char>(0x80 | (code & 0x3F));
      break;
    case 3:
      *out++ = static_cast<char>(0xE0 | (code >> 12));
      *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (code & 0x3F));
      break;
    default:
      *out++ = static_cast<char>(0xF0 | (code >> 18));
      *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      *out++ = static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

std::optional<unsigned char> Windows1252Byte(char32_t code) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<unsigned char>(code);
  for (int i = 0; i < 32; ++i)
    if (kHighCodes[i] == code) return static_cast<unsigned char>(0x80 + i);
  return std::nullopt;
}

}  // namespace

bool TUtf8Validator::Feed(const char* data, std::size_t size) {
  const char* p = data;
  const char* end = data + size;
  while (Valid && p < end) {
    if (Need == 0) {
      p += AsciiPrefix(p, end);
      if (p == end) break;
      const unsigned char b = static_cast<unsigned char>(*p++);
      Lo = 0x80;
      Hi = 0xBF;
      if (b >= 0xC2 && b <= 0xDF) {
        Need = 1;
      } else if (b >= 0xE0 && b <= 0xEF) {
        Need = 2;
        if (b == 0xE0) Lo = 0xA0;  // overlong
        if (b == 0xED) Hi = 0x9F;  // surrogates
      } else if (b >= 0xF0 && b <= 0xF4) {
        Need = 3;
        if (b == 0xF0) Lo = 0x90;  // overlong
        if (b == 0xF4) Hi = 0x8F;  // above U+10FFFF
      } else {
        Valid = false;
      }
    } else {
      const unsigned char b = static_cast<unsigned char>(*p++);
      if (b < Lo || b > Hi) {
        Valid = false;
      } else {
        --Need;
        Lo = 0x80;
        Hi = 0xBF;
      }
    }
  }
  return Valid;
}

std::size_t Utf8StartBytes(std::string_view bytes) {
  std::size_t count = 0, at = 0;
  // Eight bytes a step: a byte starts a character unless its top bits are 10.
  for (; bytes.size() - at >= 8; at += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + at, 8);
    const std::uint64_t continuation = word & ~(word << 1) & 0x8080808080808080ULL;
    // One per continuation byte, summed into the top byte by the multiply.
    count += 8 - static_cast<std::size_t>(((continuation >> 7) * 0x0101010101010101ULL) >> 56);
  }
  for (; at < bytes.size(); ++at) count += (static_cast<unsigned char>(bytes[at]) & 0xC0) != 0x80;
  return count;
}

bool IsValidUtf8(std::string_view bytes) {
  TUtf8Validator validator;
  validator.Feed(bytes.data(), bytes.size());
  return validator.Finish();
}

char32_t Windows1252Code(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? kHighCodes[byte - 0x80] : byte;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
  std::string text(bytes);
  Windows1252ToUtf8InPlace(text);
  return text;
}

void Windows1252ToUtf8InPlace(std::string& text) {
  const std::size_t oldSize = text.size();
  std::size_t extra = 0;
  for (unsigned char b : text)
    if (b >= 0x80) extra += Utf8Length(Windows1252Code(b)) - 1;
  if (extra == 0) return;
  text.resize(oldSize + extra);
  // Back to front, so each byte is read before its place is overwritten.
  char* out = text.data() + text.size();
  for (std::size_t i = oldSize; i-- > 0;) {
    const unsigned char b = static_cast<unsigned char>(text[i]);
    if (b < 0x80) {
      *--out = static_cast<char>(b);
    } else {
      char buffer[4];
      const char* last = PutUtf8(Windows1252Code(b), buffer);
      for (const char* q = last; q > buffer;) *--out = *--q;
    }
  }
}

std::optional<char32_t> Utf8CodeAt(std::string_view utf8, std::size_t pos, std::size_t* length) {
  if (pos >= utf8.size()) return std::nullopt;
  const unsigned char b = static_cast<unsigned char>(utf8[pos]);
  int need = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
  if (pos + need >= utf8.size()) return std::nullopt;
  TUtf8Validator validator;
  if (!validator.Feed(utf8.data() + pos, need + 1) || !validator.Finish()) return std::nullopt;
  char32_t code = need == 0 ? b : b & (0x3F >> need);
  for (int i = 1; i <= need; ++i) code = (code << 6) | (utf8[pos + i] & 0x3F);
  if (length) *length = need + 1;
  return code;
}

std::string Utf8FromCode(char32_t code) {
  char buffer[4];
  return std::string(buffer, PutUtf8(code, buffer));
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& out, std::size_t* failPos) {
  const char* begin = utf8.data();
  const char* end = begin + utf8.size();
  const char* p = begin;
  while (p < end) {
    const std::size_t run = AsciiPrefix(p, end);
    out.append(p, run);
    p += run;
    if (p == end) break;
    std::size_t length = 0;
    const std::size_t pos = static_cast<std::size_t>(p - begin);
    const std::optional<char32_t> code = Utf8CodeAt(utf8, pos, &length);
    const std::optional<unsigned char> byte = code ? Windows1252Byte(*code) : std::nullopt;
    if (!byte) {
      if (failPos) *failPos = pos;
      return false;
    }
    out.push_back(static_cast<char>(*byte));
    p += length;
  }
  return true;
}
