// Reading one page with the HTML library: its tree says which tags are real
// (a link in a comment or a script string is not), the page's own bytes
// give each reference's exact place.
#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <algorithm>
#include <climits>
#include <mutex>

#include "site/site_check_rules.h"

namespace {

// The library sets process-wide tables while it creates a document; creating
// one at a time keeps parallel parses apart, and a fixed language keeps its
// messages the same whatever the user's locale.
std::mutex CreateMutex;

TidyDoc CreateTidyDoc() {
  const std::lock_guard<std::mutex> lock(CreateMutex);
  static const bool languageSet = tidySetLanguage("en");
  (void)languageSet;
  return tidyCreate();
}

struct TTidyDocOwner {
  TidyDoc Doc;
  ~TTidyDocOwner() { tidyRelease(Doc); }
};

struct TScanContext {
  const QByteArray& Page;
  const QByteArray& PagePath;
  const TLineIndex Index;
  TPageScan& Scan;
  bool Messages;
  bool Warnings;
};

Bool TIDY_CALL KeepMessage(TidyMessage message) {
  auto* context = static_cast<TScanContext*>(tidyGetAppData(tidyGetMessageDoc(message)));
  const TidyReportLevel level = tidyGetMessageLevel(message);
  const bool error = level == TidyError || level == TidyBadDocument || level == TidyFatal;
  if (context->Messages && (error || (context->Warnings && level == TidyWarning))) {
    THtmlMessage m;
    m.Error = error;
    m.Text = QString::fromUtf8(tidyGetMessage(message));
    const int line = tidyGetMessageLine(message);
    const qsizetype offset =
        context->Index.OffsetOfLibraryPosition(line, tidyGetMessageColumn(message));
    if (offset >= 0) context->Index.Position(offset, &m.Line, &m.Column);
    context->Scan.Messages.append(m);
  }
  return no;  // the library prints nothing itself
}

void AddReference(TScanContext& c, const QByteArray& element, const QByteArray& attribute,
                  TRefSource source, TByteRange range, bool htmlEntities) {
  TPageReference ref;
  ResolveReference(c.Page.mid(range.Begin, range.End - range.Begin), c.PagePath, htmlEntities,
                   &ref);
  ref.PathBegin += range.Begin;
  ref.PathEnd += range.Begin;
  ref.Source = source;
  ref.Element = element;
  ref.Attribute = attribute;
  c.Index.Position(ref.PathBegin, &ref.Line, &ref.Column);
  c.Scan.References.append(ref);
}

void AddCssReferences(TScanContext& c, const QByteArray& element, TByteRange within,
                      bool htmlEntities) {
  const QByteArray css = c.Page.mid(within.Begin, within.End - within.Begin);
  for (const TCssUrl& url : CssUrls(css))
    AddReference(c, element, url.Import ? "import" : "url", rsCss,
                 {within.Begin + url.Range.Begin, within.Begin + url.Range.End}, htmlEntities);
}

bool IsReferenceAttribute(const QByteArray& element, const QByteArray& name) {
  if (name == "data") return element == "object";
  if (name == "href") return element != "base";
  return name == "src" || name == "poster" || name == "action" || name == "background";
}

// The "<" of an element the library places at Line and Column: where the
// position points, or else the nearest "<name" on that line (should the
// library count some byte its own way).
qsizetype LocateTag(const TScanContext& c, const QByteArray& name, int line, int column) {
  const qsizetype guess = c.Index.OffsetOfLibraryPosition(line, column);
  if (guess < 0) return -1;
  auto isTag = [&](qsizetype at) {
    const qsizetype after = at + 1 + name.size();
    if (at < 0 || after > c.Page.size() || c.Page[at] != '<') return false;
    // "<area" is no "<a": the name ends where ReadTagAt ends it.
    if (after < c.Page.size() && QByteArrayView(" \t\n\r\f/>").indexOf(c.Page[after]) < 0)
      return false;
    return c.Page.mid(at + 1, name.size()).toLower() == name;
  };
  if (isTag(guess)) return guess;
  const qsizetype lineStart = c.Index.OffsetOfLibraryPosition(line, 1);
  const qsizetype lineEnd = c.Index.OffsetOfLibraryPosition(line + 1, 1);
  qsizetype best = -1;
  for (qsizetype at = c.Page.indexOf('<', lineStart); at >= 0 && (lineEnd < 0 || at < lineEnd);
       at = c.Page.indexOf('<', at + 1))
    if (isTag(at) && (best < 0 || qAbs(at - guess) < qAbs(best - guess))) best = at;
  return best;
}

void ReadElement(TScanContext& c, TidyNode node) {
  const char* tidyName = tidyNodeGetName(node);
  const int line = int(tidyNodeLine(node));
  if (!tidyName || line == 0) return;  // inferred by the library, not in the page
  const QByteArray name = QByteArray(tidyName).toLower();
  const bool style = name == "style";
  if (!style && !tidyAttrFirst(node)) return;
  const qsizetype at = LocateTag(c, name, line, int(tidyNodeColumn(node)));
  if (at < 0) return;
  const TTag tag = ReadTagAt(c.Page, at);
  auto value = [&](const char* attr) -> const TTagAttribute* {
    for (const TTagAttribute& a : tag.Attributes)
      if (a.Name == attr) return &a;
    return nullptr;
  };
  auto valueText = [&](const TTagAttribute* a) {
    return a ? c.Page.mid(a->Value.Begin, a->Value.End - a->Value.Begin) : QByteArray();
  };
  for (const TTagAttribute& a : tag.Attributes) {
    if (IsReferenceAttribute(name, a.Name)) {
      AddReference(c, name, a.Name, rsAttribute, a.Value, true);
    } else if (a.Name == "srcset") {
      const QByteArray set = valueText(&a);
      for (const TByteRange& url : SrcsetUrls(set))
        AddReference(c, name, a.Name, rsAttribute,
                     {a.Value.Begin + url.Begin, a.Value.Begin + url.End}, true);
    } else if (a.Name == "style") {
      AddCssReferences(c, name, a.Value, true);
    } else if (a.Name == "id" || (a.Name == "name" && name == "a")) {
      TPageAnchor anchor;
      anchor.Name = EntitiesDecoded(valueText(&a));
      c.Index.Position(a.Value.Begin, &anchor.Line, &anchor.Column);
      c.Scan.Anchors.append(anchor);
    }
  }
  if (name == "meta") {
    if (IsUtf8Charset(EntitiesDecoded(valueText(value("charset"))))) c.Scan.DeclaresUtf8 = true;
    const TTagAttribute* content = value("content");
    const QByteArray equiv = valueText(value("http-equiv")).trimmed().toLower();
    if (content && equiv == "content-type" &&
        IsUtf8Charset(CharsetOfContentType(EntitiesDecoded(valueText(content)))))
      c.Scan.DeclaresUtf8 = true;
    if (content && equiv == "refresh") {
      const TByteRange url = RefreshUrl(valueText(content));
      if (url.Begin >= 0)
        AddReference(c, name, "content", rsMetaRefresh,
                     {content->Value.Begin + url.Begin, content->Value.Begin + url.End}, true);
    }
  }
  if (style) {
    qsizetype end = tag.End;
    while (end < c.Page.size()) {
      end = c.Page.indexOf("</", end);
      if (end < 0 || c.Page.mid(end + 2, 5).toLower() == "style") break;
      end += 2;
    }
    AddCssReferences(c, name, {tag.End, end < 0 ? c.Page.size() : end}, false);
  }
}

void ReadTree(TScanContext& c, TidyNode parent) {
  for (TidyNode node = tidyGetChild(parent); node; node = tidyGetNext(node)) {
    const TidyNodeType type = tidyNodeGetType(node);
    if (type == TidyNode_Start || type == TidyNode_StartEnd) ReadElement(c, node);
    ReadTree(c, node);
  }
}

// The library counts a CR alone as a line break but goes on counting its
// columns, so the tags after one would not be found where it places them. A
// LF in its place keeps every offset, and the page's own line index agrees.
QByteArray LibraryInput(const QByteArray& page) {
  QByteArray input = page;
  const char* bytes = page.constData();
  for (qsizetype i = 0; i < page.size(); ++i)
    if (bytes[i] == '\r' && (i + 1 == page.size() || bytes[i + 1] != '\n')) input.data()[i] = '\n';
  return input;
}

}  // namespace

TPageScan ScanPage(const QByteArray& page, const QByteArray& pagePath, bool messages,
                   bool warnings) {
  TPageScan scan;
  TScanContext context{page, pagePath, TLineIndex(page), scan, messages, warnings};
  scan.DeclaresUtf8 = page.startsWith("\xEF\xBB\xBF");
  TTidyDocOwner tidy{CreateTidyDoc()};
  tidySetAppData(tidy.Doc, &context);
  tidySetMessageCallback(tidy.Doc, KeepMessage);
  // A page that is not UTF-8 is read as the editor shows it: one character a byte.
  tidyOptSetValue(tidy.Doc, TidyInCharEncoding, context.Index.Utf8() ? "utf8" : "win1252");
  tidyOptSetBool(tidy.Doc, TidyShowWarnings, warnings ? yes : no);
  tidyOptSetBool(tidy.Doc, TidyShowInfo, no);
  tidyOptSetInt(tidy.Doc, TidyShowErrors, INT_MAX);
  tidyOptSetInt(tidy.Doc, TidyTabSize, 8);
  tidyOptSetBool(tidy.Doc, TidyQuiet, yes);
  const QByteArray bytes = LibraryInput(page);
  TidyBuffer input;
  tidyBufInit(&input);
  tidyBufAttach(&input, reinterpret_cast<byte*>(const_cast<char*>(bytes.constData())),
                uint(bytes.size()));
  const int status = tidyParseBuffer(tidy.Doc, &input);
  tidyBufDetach(&input);
  if (status < 0) {
    scan.Parsed = false;
    return scan;
  }
  // The tree as parsed, before the clean-up may rename or drop elements.
  ReadTree(context, tidyGetRoot(tidy.Doc));
  if (messages) {
    // As tidy -e does: some attribute checks come with the clean-up.
    tidyCleanAndRepair(tidy.Doc);
    tidyRunDiagnostics(tidy.Doc);
  }
  // The library may move an element (a <link> in the body goes to the head):
  // the page's own order counts, and one tag is read once.
  std::stable_sort(
      scan.References.begin(), scan.References.end(),
      [](const TPageReference& a, const TPageReference& b) { return a.PathBegin < b.PathBegin; });
  scan.References.erase(std::unique(scan.References.begin(), scan.References.end(),
                                    [](const TPageReference& a, const TPageReference& b) {
                                      return a.PathBegin == b.PathBegin && a.PathEnd == b.PathEnd;
                                    }),
                        scan.References.end());
  return scan;
}

QList<TPageReference> ScanStyleSheet(const QByteArray& css, const QByteArray& sheetPath) {
  TPageScan scan;
  TScanContext context{css, sheetPath, TLineIndex(css), scan, false, false};
  AddCssReferences(context, {}, {0, css.size()}, false);
  return scan.References;
}
