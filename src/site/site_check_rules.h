#pragma once
// The small rules of the site check, on bytes: how an attribute value or a
// CSS url() becomes a file name, where the path part of a srcset or a meta
// refresh stands, what a tag's attributes are. Each is tested with a table.
#include <QByteArray>
#include <QList>

#include "site/site_check.h"

// A range of bytes [Begin, End) in a page or a style sheet.
struct TByteRange {
  qsizetype Begin = 0;
  qsizetype End = 0;
  bool operator==(const TByteRange&) const = default;
};

// "%41" and the like to their bytes; a "%" not followed by two hex digits stays.
QByteArray PercentDecoded(const QByteArray& text);
// "&amp;", "&#47;", "&#x2F;" and the few named entities a URL can hold
// (amp, lt, gt, quot, apos, nbsp) to their UTF-8 bytes; others stay.
QByteArray EntitiesDecoded(const QByteArray& text);
// A scheme ("http:", "mailto:", "javascript:" ...) or "//host": not a file here.
bool IsExternalReference(const QByteArray& ref);

// The candidates' URLs of a srcset value, each without its descriptor.
QList<TByteRange> SrcsetUrls(const QByteArray& value);
// The URL in a refresh's content ("5; url=next.html", quotes allowed);
// Begin == End == -1 when there is none.
TByteRange RefreshUrl(const QByteArray& content);

// One url() or @import of a style sheet: where its URL stands.
struct TCssUrl {
  TByteRange Range;
  bool Import = false;
};
// Every url(...) and @import "..." of CSS text, comments left out.
QList<TCssUrl> CssUrls(const QByteArray& css);

// One attribute of a start tag as written: its name in lower case and where
// its value stands (Begin == End for an attribute without a value).
struct TTagAttribute {
  QByteArray Name;
  TByteRange Value;
};
struct TTag {
  QByteArray Name;  // lower case; empty when no tag starts there
  QList<TTagAttribute> Attributes;
  qsizetype End = 0;  // just after its ">" (or the end of the text)
};
// The start tag whose "<" stands at Offset.
TTag ReadTagAt(const QByteArray& page, qsizetype offset);

// The charset that a <meta> declares ("charset" attribute, or the
// http-equiv content-type "text/html; charset=..."), in lower case.
QByteArray CharsetOfContentType(const QByteArray& content);
bool IsUtf8Charset(const QByteArray& charset);

// Where lines start in a page, and columns as the editor counts them:
// characters of UTF-8 when the whole page is valid UTF-8, else one per byte.
class TLineIndex {
 public:
  explicit TLineIndex(const QByteArray& page);
  // 1-based line and column of the byte at Offset.
  void Position(qsizetype offset, int* line, int* column) const;
  // The byte offset of a position that counts tabs to the next multiple of
  // eight, and a leading byte-order mark, control characters and (on a page
  // that is not UTF-8) the bytes Windows-1252 leaves undefined not at all,
  // the HTML library's way; -1 when the line does not exist.
  qsizetype OffsetOfLibraryPosition(int line, int column) const;
  bool Utf8() const { return FUtf8; }

 private:
  qsizetype CharLength(qsizetype offset) const;
  // A byte the HTML library drops without giving it a column.
  bool LibrarySkips(qsizetype offset) const;
  const QByteArray& FPage;
  QList<qsizetype> FStarts;
  bool FUtf8 = true;
};
