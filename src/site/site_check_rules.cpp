#include "site/site_check_rules.h"

#include <algorithm>

#include "components/text_codec.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsAsciiAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  c = Lower(c);
  return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

// Does Text hold Word (lower case) at Pos, letters compared without case?
bool HasWordAt(const QByteArray& text, qsizetype pos, const char* word) {
  for (qsizetype k = 0; word[k]; ++k)
    if (pos + k >= text.size() || Lower(text[pos + k]) != word[k]) return false;
  return true;
}

qsizetype SkipSpaces(const QByteArray& text, qsizetype i, qsizetype end) {
  while (i < end && IsSpace(text[i])) ++i;
  return i;
}

// The length of an entity at Text[I] ("&amp;", "&#47;"), 0 when none
// starts there; its bytes go to Out.
qsizetype EntityAt(const QByteArray& text, qsizetype i, QByteArray* out) {
  const qsizetype semi = text.indexOf(';', i);
  if (semi < 0 || semi - i > 10 || semi == i + 1) return 0;
  const QByteArray body = text.mid(i + 1, semi - i - 1);
  char32_t code = 0;
  if (body.startsWith('#')) {
    const bool hex = body.size() > 1 && Lower(body[1]) == 'x';
    bool ok = false;
    const uint value = body.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    code = value;
  } else {
    static const struct {
      const char* Name;
      char32_t Code;
    } names[] = {{"amp", '&'},  {"lt", '<'},    {"gt", '>'},
                 {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
    for (const auto& n : names)
      if (body == n.Name) code = n.Code;
    if (!code) return 0;
  }
  if (out) out->append(QByteArray::fromStdString(Utf8FromCode(code)));
  return semi - i + 1;
}

}  // namespace

QByteArray PercentDecoded(const QByteArray& text) {
  if (!text.contains('%')) return text;
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out.append(char(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      out.append(text[i]);
    }
  }
  return out;
}

QByteArray EntitiesDecoded(const QByteArray& text) {
  if (!text.contains('&')) return text;
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype length = text[i] == '&' ? EntityAt(text, i, &out) : 0;
    if (length)
      i += length - 1;
    else
      out.append(text[i]);
  }
  return out;
}

bool IsExternalReference(const QByteArray& ref) {
  if (ref.startsWith("//")) return true;
  if (ref.isEmpty() || !IsAsciiAlpha(ref[0])) return false;
  qsizetype i = 1;
  while (i < ref.size() && (IsAsciiAlpha(ref[i]) || IsDigit(ref[i]) || ref[i] == '+' ||
                            ref[i] == '-' || ref[i] == '.'))
    ++i;
  // One letter before ":" is a drive ("C:\site\a.htm"): a local path, broken on the web.
  return i < ref.size() && ref[i] == ':' && i > 1;
}

void ResolveReference(const QByteArray& ref, const QByteArray& pagePath, bool htmlEntities,
                      TPageReference* into) {
  qsizetype begin = 0, end = ref.size();
  while (begin < end && IsSpace(ref[begin])) ++begin;
  while (end > begin && IsSpace(ref[end - 1])) --end;
  const QByteArray text = ref.mid(begin, end - begin);
  auto decoded = [&](const QByteArray& raw) {
    return PercentDecoded(htmlEntities ? EntitiesDecoded(raw) : raw);
  };
  into->Text = text;
  into->External = IsExternalReference(htmlEntities ? EntitiesDecoded(text) : text);
  // The path ends at the first "?" or "#" that is not part of an entity.
  qsizetype pathEnd = 0;
  while (pathEnd < text.size() && text[pathEnd] != '?' && text[pathEnd] != '#') {
    const qsizetype entity =
        htmlEntities && text[pathEnd] == '&' ? EntityAt(text, pathEnd, nullptr) : 0;
    pathEnd += entity ? entity : 1;
  }
  pathEnd = std::min(pathEnd, text.size());
  into->PathBegin = begin;
  into->PathEnd = begin + pathEnd;
  into->Path = decoded(text.left(pathEnd));
  const qsizetype hash = text.indexOf('#', pathEnd);
  into->HasFragment = hash >= 0;
  into->Fragment = hash >= 0 ? decoded(text.mid(hash + 1)) : QByteArray();
  into->Outside = false;
  into->Target.clear();
  if (into->External) return;

  const QByteArray& path = into->Path;
  if (path.isEmpty()) {
    into->Target = pagePath;
    return;
  }
  QList<QByteArray> segments;
  if (!path.startsWith('/')) {
    segments = pagePath.split('/');
    segments.removeLast();  // the page's own name
  }
  const QList<QByteArray> parts = path.split('/');
  bool folder = false;
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const QByteArray& part = parts[i];
    const bool last = i + 1 == parts.size();
    folder = last && (part.isEmpty() || part == "." || part == "..");
    if (part.isEmpty() || part == ".") continue;
    if (part == "..") {
      if (segments.isEmpty()) {
        into->Outside = true;
        return;
      }
      segments.removeLast();
      continue;
    }
    segments.append(part);
  }
  into->Target = segments.join('/');
  if (folder && !into->Target.isEmpty()) into->Target += '/';
}

QList<TByteRange> SrcsetUrls(const QByteArray& value) {
  QList<TByteRange> urls;
  qsizetype i = 0;
  const qsizetype n = value.size();
  while (i < n) {
    while (i < n && (IsSpace(value[i]) || value[i] == ',')) ++i;
    if (i >= n) break;
    const qsizetype start = i;
    while (i < n && !IsSpace(value[i])) ++i;
    qsizetype end = i;
    const bool commaEnded = value[end - 1] == ',';
    while (end > start && value[end - 1] == ',') --end;
    if (end > start) urls.append({start, end});
    if (commaEnded) continue;
    // The descriptors ("2x", "300w") up to the next comma outside parentheses.
    int depth = 0;
    while (i < n && (value[i] != ',' || depth > 0)) {
      if (value[i] == '(') ++depth;
      if (value[i] == ')' && depth > 0) --depth;
      ++i;
    }
  }
  return urls;
}

TByteRange RefreshUrl(const QByteArray& content) {
  const qsizetype n = content.size();
  qsizetype i = SkipSpaces(content, 0, n);
  while (i < n && (IsDigit(content[i]) || content[i] == '.')) ++i;
  i = SkipSpaces(content, i, n);
  if (i >= n || (content[i] != ';' && content[i] != ',')) return {-1, -1};
  i = SkipSpaces(content, i + 1, n);
  if (HasWordAt(content, i, "url")) {
    const qsizetype eq = SkipSpaces(content, i + 3, n);
    if (eq < n && content[eq] == '=') i = SkipSpaces(content, eq + 1, n);
  }
  if (i >= n) return {-1, -1};
  qsizetype end = n;
  if (content[i] == '"' || content[i] == '\'') {
    const qsizetype close = content.indexOf(content[i], i + 1);
    ++i;
    if (close >= 0) end = close;
  }
  while (end > i && IsSpace(content[end - 1])) --end;
  return end > i ? TByteRange{i, end} : TByteRange{-1, -1};
}

QList<TCssUrl> CssUrls(const QByteArray& css) {
  QList<TCssUrl> urls;
  const qsizetype n = css.size();
  bool pendingImport = false;
  // The quoted string starting at I: its inside, I moved past it.
  auto quoted = [&](qsizetype& i) {
    const char quote = css[i];
    const qsizetype start = ++i;
    while (i < n && css[i] != quote && css[i] != '\n') i += css[i] == '\\' ? 2 : 1;
    const TByteRange inside{start, std::min(i, n)};
    if (i < n) ++i;
    return inside;
  };
  for (qsizetype i = 0; i < n;) {
    const char c = css[i];
    if (c == '/' && i + 1 < n && css[i + 1] == '*') {
      const qsizetype close = css.indexOf("*/", i + 2);
      i = close < 0 ? n : close + 2;
    } else if (c == '"' || c == '\'') {
      const TByteRange inside = quoted(i);
      if (pendingImport) urls.append({inside, true});
      pendingImport = false;
    } else if (c == '@' && HasWordAt(css, i + 1, "import")) {
      pendingImport = true;
      i += 7;
    } else if (Lower(c) == 'u' && HasWordAt(css, i, "url(") &&
               (i == 0 || !(IsAsciiAlpha(css[i - 1]) || css[i - 1] == '-'))) {
      i = SkipSpaces(css, i + 4, n);
      TByteRange range{i, i};
      if (i < n && (css[i] == '"' || css[i] == '\'')) {
        range = quoted(i);
      } else {
        while (i < n && css[i] != ')') ++i;
        range.End = i;
        while (range.End > range.Begin && IsSpace(css[range.End - 1])) --range.End;
      }
      if (range.End > range.Begin) urls.append({range, pendingImport});
      pendingImport = false;
    } else {
      if (c == ';' || c == '{') pendingImport = false;
      ++i;
    }
  }
  return urls;
}

TTag ReadTagAt(const QByteArray& page, qsizetype offset) {
  TTag tag;
  const qsizetype n = page.size();
  if (offset < 0 || offset >= n || page[offset] != '<') return tag;
  qsizetype i = offset + 1;
  while (i < n && !IsSpace(page[i]) && page[i] != '/' && page[i] != '>')
    tag.Name += Lower(page[i++]);
  while (i < n) {
    while (i < n && (IsSpace(page[i]) || page[i] == '/')) ++i;
    if (i >= n) break;
    if (page[i] == '>') {
      ++i;
      break;
    }
    TTagAttribute attribute;
    // A name may start with "=", as browsers read it; it ends at "=", blank, "/" or ">".
    do attribute.Name += Lower(page[i++]);
    while (i < n && !IsSpace(page[i]) && page[i] != '/' && page[i] != '>' && page[i] != '=');
    qsizetype j = SkipSpaces(page, i, n);
    attribute.Value = {i, i};
    if (j < n && page[j] == '=') {
      j = SkipSpaces(page, j + 1, n);
      if (j < n && (page[j] == '"' || page[j] == '\'')) {
        const qsizetype close = page.indexOf(page[j], j + 1);
        attribute.Value = {j + 1, close < 0 ? n : close};
        i = close < 0 ? n : close + 1;
      } else {
        const qsizetype start = j;
        while (j < n && !IsSpace(page[j]) && page[j] != '>') ++j;
        attribute.Value = {start, j};
        i = j;
      }
    }
    tag.Attributes.append(attribute);
  }
  tag.End = i;
  return tag;
}

QByteArray CharsetOfContentType(const QByteArray& content) {
  const QByteArray lower = content.toLower();
  qsizetype i = lower.indexOf("charset");
  if (i < 0) return {};
  i = SkipSpaces(lower, i + 7, lower.size());
  if (i >= lower.size() || lower[i] != '=') return {};
  i = SkipSpaces(lower, i + 1, lower.size());
  if (i < lower.size() && (lower[i] == '"' || lower[i] == '\'')) ++i;
  qsizetype end = i;
  while (end < lower.size() && !IsSpace(lower[end]) && lower[end] != ';' && lower[end] != '"' &&
         lower[end] != '\'')
    ++end;
  return lower.mid(i, end - i);
}

bool IsUtf8Charset(const QByteArray& charset) {
  const QByteArray c = charset.trimmed().toLower();
  return c == "utf-8" || c == "utf8";
}

TLineIndex::TLineIndex(const QByteArray& page)
    : FPage(page), FUtf8(IsValidUtf8(std::string_view(page.constData(), size_t(page.size())))) {
  FStarts.append(0);
  for (qsizetype i = 0; i < page.size(); ++i) {
    if (page[i] == '\n' || (page[i] == '\r' && (i + 1 >= page.size() || page[i + 1] != '\n')))
      FStarts.append(i + 1);
  }
}

qsizetype TLineIndex::CharLength(qsizetype offset) const {
  if (!FUtf8) return 1;
  const auto b = uchar(FPage[offset]);
  return b < 0xC0 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

void TLineIndex::Position(qsizetype offset, int* line, int* column) const {
  const auto it = std::upper_bound(FStarts.begin(), FStarts.end(), offset);
  const qsizetype index = std::max<qsizetype>(0, (it - FStarts.begin()) - 1);
  *line = int(index + 1);
  const qsizetype end = std::min(offset, FPage.size());
  int col = 1;
  // In valid UTF-8 every byte but a continuation byte starts a character.
  for (qsizetype i = FStarts[index]; i < end; ++i)
    col += !FUtf8 || (uchar(FPage[i]) & 0xC0) != 0x80;
  *column = col;
}

qsizetype TLineIndex::OffsetOfLibraryPosition(int line, int column) const {
  if (line < 1 || line > FStarts.size()) return -1;
  const qsizetype lineEnd = line < FStarts.size() ? FStarts[line] : FPage.size();
  qsizetype i = FStarts[line - 1];
  // The library takes a byte-order mark at the start for no character at all.
  if (line == 1 && FPage.startsWith("\xEF\xBB\xBF")) i = 3;
  int col = 1;
  while (col < column && i < lineEnd) {
    if (FPage[i] == '\t')
      col += 8 - (col - 1) % 8;
    else if (!LibrarySkips(i))
      ++col;
    i += CharLength(i);
  }
  while (i < lineEnd && LibrarySkips(i)) ++i;
  return std::min(i, FPage.size());
}

bool TLineIndex::LibrarySkips(qsizetype offset) const {
  const auto b = uchar(FPage[offset]);
  if (b < 0x20) return b != '\t' && b != '\n' && b != '\r';
  // Read as Windows-1252 (a page that is not UTF-8), the codes that set leaves undefined.
  return !FUtf8 && (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D);
}
