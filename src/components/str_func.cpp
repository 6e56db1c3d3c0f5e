#include "components/str_func.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <clocale>
#include <cstdlib>

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// Strict signed 32-bit conversion: leading blanks and a sign allowed, nothing
// after the digits.
bool ToInt32(const std::string& s, long& value) {
  if (s.empty()) return false;
  const char* begin = s.c_str();
  char* end = nullptr;
  errno = 0;
  value = std::strtol(begin, &end, 10);
  if (end == begin || *end != '\0' || errno == ERANGE) return false;
  return value >= INT32_MIN && value <= INT32_MAX;
}

}  // namespace

std::string::size_type FirstPosNotIn(const std::string& s, const std::string& allowed) {
  for (std::string::size_type i = 0; i < s.size(); ++i)
    if (allowed.find(s[i]) == std::string::npos) return i + 1;
  return 0;
}

std::string ReplaceAllStr(const std::string& s, const std::string& find,
                          const std::string& replace) {
  if (find.empty()) return s;
  std::string::size_type p = s.find(find);
  if (p == std::string::npos) return s;
  std::string result;
  std::string::size_type from = 0;
  while (p != std::string::npos) {
    result.append(s, from, p - from);
    result += replace;
    from = p + find.size();
    p = s.find(find, from);
  }
  result.append(s, from, std::string::npos);
  return result;
}

std::string PadRightStr(const std::string& s, char fill, int width) {
  if (width <= 0) return {};
  std::string r = s;
  if (static_cast<int>(r.size()) < width) r.append(width - r.size(), fill);
  return r.substr(0, width);
}

std::string PadLeftStr(const std::string& s, char fill, int width) {
  if (width <= 0) return {};
  const int len = static_cast<int>(s.size());
  if (len >= width) return s.substr(len - width);
  return std::string(width - len, fill) + s;
}

std::string LeftStr(const std::string& s, int count) {
  if (count <= 0) return {};
  return static_cast<std::string::size_type>(count) < s.size() ? s.substr(0, count) : s;
}

std::string RightStr(const std::string& s, int count) {
  if (count <= 0) return {};
  return static_cast<std::string::size_type>(count) < s.size() ? s.substr(s.size() - count) : s;
}

int ScanStr(const std::string& sub, const std::string& s, std::string::size_type& lastPos) {
  lastPos = 0;
  if (sub.empty()) return 0;
  int count = 0;
  // Stepping one past each match's first character counts overlapping ones.
  for (auto p = s.find(sub); p != std::string::npos; p = s.find(sub, p + 1)) {
    ++count;
    lastPos = p + 1;
  }
  return count;
}

int CountStr(const std::string& sub, const std::string& s) {
  std::string::size_type last;
  return ScanStr(sub, s, last);
}

std::string::size_type LastPosStr(const std::string& sub, const std::string& s) {
  std::string::size_type last;
  ScanStr(sub, s, last);
  return last;
}

std::string BeforeStr(const std::string& sub, const std::string& s) {
  const auto p = sub.empty() ? std::string::npos : s.find(sub);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string AfterStr(const std::string& sub, const std::string& s) {
  const auto p = sub.empty() ? std::string::npos : s.find(sub);
  return p == std::string::npos ? std::string() : s.substr(p + sub.size());
}

std::string TrimStr(const std::string& s) {
  std::string::size_type b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool IsTimeStr(const std::string& s) {
  if (s.size() != 5 || s[2] != ':') return false;
  long h, n;
  if (!ToInt32(s.substr(0, 2), h) || !ToInt32(s.substr(3, 2), n)) return false;
  return h >= 0 && h <= 23 && n >= 0 && n <= 59;
}

bool IsAlphaStr(const std::string& s) {
  if (TrimStr(s).empty()) return false;
  for (char c : s) {
    const char u = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    if (u < 'A' || u > 'Z') return false;
  }
  return true;
}

bool IsFloatStr(const std::string& s) {
  if (TrimStr(s).empty()) return false;
  std::string t = s;
  const lconv* lc = std::localeconv();
  const std::string sep = (lc && lc->decimal_point && *lc->decimal_point) ? lc->decimal_point : ".";
  if (sep != ".") t = ReplaceAllStr(t, sep, ".");
  t = TrimStr(t);
  // Digits with an optional sign, point and exponent; checked by hand so the
  // locale cannot change what counts.
  std::string::size_type i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  std::string::size_type digits = 0;
  while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    std::string::size_type exp = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, ++exp;
    if (exp == 0) return false;
  }
  return i == t.size();
}

bool IsIntStr(const std::string& s) {
  if (TrimStr(s).empty()) return false;
  std::string::size_type b = 0;
  while (b < s.size() && IsBlank(s[b])) ++b;
  long v;
  return ToInt32(s.substr(b), v);
}

std::string FloatToStrSep(double value, int width, int decimals, char separator) {
  // to_chars ignores the locale, which the program's start-up sets.
  std::string r(400 + decimals, '\0');
  const auto res =
      std::to_chars(r.data(), r.data() + r.size(), value, std::chars_format::fixed, decimals);
  r.resize(res.ptr - r.data());
  for (char& c : r)
    if (c == '.') c = separator;
  if (static_cast<int>(r.size()) < width) r.insert(0, width - r.size(), ' ');
  return r;
}

std::string BoolToStr(bool b) { return b ? "TRUE" : "FALSE"; }

std::string BoolToJaNee(bool b) { return b ? "Ja" : "Nee"; }
