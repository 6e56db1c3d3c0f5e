// The site check's reference reader on any bytes: the input's first line,
// cleaned into a page path, is the page's (or style sheet's) own path, the
// whole input is read as a page and as a style sheet, and every line is
// resolved as a reference. Each reference's path part must stand in the
// bytes where it says, replacing exactly it must rename what it names, and
// a target must be a clean path below the root.
#include <QByteArrayList>
#include <cctype>
#include <tuple>

#include "fuzz_support.h"
#include "site/site_check.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// A path as the walk gives one: no empty, "." or ".." segment.
QByteArray PagePathOf(const QByteArray& line) {
  QByteArrayList kept;
  for (const QByteArray& part : line.split('/'))
    if (!part.isEmpty() && part != "." && part != "..") kept << part;
  return kept.isEmpty() ? QByteArray("index.htm") : kept.join('/');
}

QByteArray FolderOf(const QByteArray& path) { return path.left(path.lastIndexOf('/') + 1); }

void CheckTarget(const TPageReference& r, const QByteArray& pagePath) {
  if (r.External || r.Outside) {
    FUZZ_CHECK(r.Target.isEmpty());
    return;
  }
  if (r.Path.isEmpty()) FUZZ_CHECK(r.Target == pagePath);
  FUZZ_CHECK(!r.Target.startsWith('/'));
  const QByteArrayList parts = r.Target.split('/');  // the last is empty for a folder
  FUZZ_CHECK(!parts.contains("..") && !parts.contains("."));
  FUZZ_CHECK(!parts.mid(0, parts.size() - 1).contains(QByteArray()));
}

// What a reference promises about the bytes it was read from (Ref: the
// page, or the bytes given to ResolveReference).
void CheckReference(const QByteArray& ref, const TPageReference& r, const QByteArray& pagePath) {
  FUZZ_CHECK(0 <= r.PathBegin && r.PathBegin <= r.PathEnd && r.PathEnd <= ref.size());
  FUZZ_CHECK(ref.mid(r.PathBegin, r.Text.size()) == r.Text);
  FUZZ_CHECK(r.PathEnd - r.PathBegin <= r.Text.size());
  const QByteArray written = ref.mid(r.PathBegin, r.PathEnd - r.PathBegin);
  const QByteArray rest = r.Text.mid(written.size());
  FUZZ_CHECK(rest.isEmpty() || rest[0] == '?' || rest[0] == '#');
  if (r.Text.startsWith('#') || r.Text.startsWith('?')) FUZZ_CHECK(written.isEmpty());
  if (!r.Text.contains('&')) {  // no entity can hide a "?" or "#"
    FUZZ_CHECK(!written.contains('?') && !written.contains('#'));
    FUZZ_CHECK(r.HasFragment == r.Text.contains('#'));
    const QByteArray fragment = r.Text.mid(r.Text.indexOf('#') + 1);
    if (r.HasFragment && !fragment.contains('%')) FUZZ_CHECK(r.Fragment == fragment);
    if (!written.contains('%')) FUZZ_CHECK(r.Path == written);
  }
  if (!r.HasFragment) FUZZ_CHECK(r.Fragment.isEmpty());
  if (r.Text.startsWith("//")) FUZZ_CHECK(r.External);
  CheckTarget(r, pagePath);
}

// Line and column of a reference against the page's own line breaks.
void CheckPosition(const QByteArray& page, const TPageReference& r) {
  int line = 1;
  qsizetype lineStart = 0;
  for (qsizetype i = 0; i < r.PathBegin; ++i)
    if (page[i] == '\n' || (page[i] == '\r' && (i + 1 == page.size() || page[i + 1] != '\n'))) {
      ++line;
      lineStart = i + 1;
    }
  FUZZ_CHECK(r.Line == line);
  FUZZ_CHECK(r.Column >= 1 && r.Column <= r.PathBegin - lineStart + 1);
  bool ascii = true;
  for (const char c : page) ascii = ascii && uchar(c) < 0x80;
  if (ascii) FUZZ_CHECK(r.Column == r.PathBegin - lineStart + 1);
}

// Replaces the path part of one local reference with a new name: the bytes
// read again must hold a reference to it at the same place. On a page only a
// path of URL or control characters is replaced: the HTML library mends
// broken markup by what the values hold, so "=", quotes or blanks may change
// which tags it sees.
template <class Scan>
void CheckRename(const QByteArray& page, const QList<TPageReference>& refs,
                 const QByteArray& pagePath, bool anyPath, Scan scan) {
  if (refs.isEmpty()) return;
  const TPageReference& r = refs[page.size() % refs.size()];
  if (r.External || r.Outside || r.PathBegin == r.PathEnd) return;
  for (qsizetype i = r.PathBegin; i < r.PathEnd && !anyPath; ++i)
    if (uchar(page[i]) < 0x80 && !std::isalnum(uchar(page[i])) &&
        (IsSpace(page[i]) || uchar(page[i]) >= 0x20) &&
        QByteArrayView("./_-~%").indexOf(page[i]) < 0)
      return;
  const QByteArray name = "zz.htm";
  const QByteArray renamed = QByteArray(page).replace(r.PathBegin, r.PathEnd - r.PathBegin, name);
  bool found = false;
  for (const TPageReference& n : scan(renamed))
    if (n.PathBegin == r.PathBegin && n.PathEnd == r.PathBegin + name.size()) {
      FUZZ_CHECK(n.Path == name && !n.Outside && !n.External);
      FUZZ_CHECK(n.Target == FolderOf(pagePath) + name);  // a leading "/" went too
      found = true;
    }
  FUZZ_CHECK(found);
}

// What ResolveReference fills in.
auto Filled(const TPageReference& r) {
  return std::tie(r.Text, r.Path, r.Fragment, r.HasFragment, r.External, r.Outside, r.Target,
                  r.PathBegin, r.PathEnd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const QByteArray input(reinterpret_cast<const char*>(bytes), qsizetype(size));
  const QByteArrayList lines = input.split('\n');
  const QByteArray pagePath = PagePathOf(lines.first());
  int lineCount = 1;
  for (qsizetype i = 0; i < input.size(); ++i)
    lineCount +=
        input[i] == '\n' || (input[i] == '\r' && (i + 1 == input.size() || input[i + 1] != '\n'));

  const TPageScan scan = ScanPage(input, pagePath, size % 2, size % 4 == 3);
  static const QByteArrayList kAttributes{"href",   "src",        "poster", "data",
                                          "action", "background", "srcset", "style"};
  for (const TPageReference& r : scan.References) {
    CheckReference(input, r, pagePath);
    CheckPosition(input, r);
    FUZZ_CHECK(r.Line <= lineCount);
    if (r.Source == rsMetaRefresh) FUZZ_CHECK(r.Element == "meta" && r.Attribute == "content");
    if (r.Source == rsAttribute) FUZZ_CHECK(kAttributes.contains(r.Attribute));
    if (r.Source == rsCss) FUZZ_CHECK(r.Attribute == "url" || r.Attribute == "import");
  }
  for (const THtmlMessage& m : scan.Messages) FUZZ_CHECK(m.Line >= 1 && m.Column >= 1);
  CheckRename(input, scan.References, pagePath, false,
              [&](const QByteArray& page) { return ScanPage(page, pagePath).References; });

  const QList<TPageReference> css = ScanStyleSheet(input, pagePath);
  for (const TPageReference& r : css) {
    CheckReference(input, r, pagePath);
    CheckPosition(input, r);
    FUZZ_CHECK(r.Source == rsCss && r.Element.isEmpty());
  }
  CheckRename(input, css, pagePath, true,
              [&](const QByteArray& sheet) { return ScanStyleSheet(sheet, pagePath); });

  for (const QByteArray& line : lines) {
    for (const bool entities : {false, true}) {
      TPageReference fresh, reused;
      reused.Target = "left/over";
      reused.Fragment = "old";
      reused.HasFragment = reused.External = reused.Outside = true;
      ResolveReference(line, pagePath, entities, &fresh);
      ResolveReference(line, pagePath, entities, &reused);
      CheckReference(line, fresh, pagePath);
      FUZZ_CHECK(Filled(fresh) == Filled(reused));
      if (!line.isEmpty()) FUZZ_CHECK(IsSpace(line[0]) || fresh.PathBegin == 0);
    }
  }
  return 0;
}
