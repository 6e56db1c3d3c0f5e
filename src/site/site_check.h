#pragma once
// The site check: reads every page of a site's tree and reports what a
// visitor would trip over (broken and case-trapped links, missing anchors,
// links above the root, orphan pages, HTML errors, stray characters, heavy
// images). Window-free: the site window's check, quillmere-site check and the
// rename-aware link rewriting share it. It only reads; it never changes a file.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <vector>

// The kinds of finding, in the order they are listed and counted.
enum TCheckKind : quint8 {
  ckBroken,      // a local reference whose file does not exist
  ckCase,        // the file exists only under another letter case
  ckFragment,    // "#name" that the target page does not define
  ckOutside,     // a reference that climbs above the root with "../"
  ckOrphan,      // a page no other page refers to
  ckHtml,        // an error (or warning) of the HTML library
  ckCharacter,   // the first character of a page that does not belong there
  ckImage,       // an image above the size limit
  ckUnreadable,  // a page or style sheet that cannot be read at all
};
inline constexpr int CheckKindCount = ckUnreadable + 1;

// A set of kinds, one bit per kind (1 << kind).
using TCheckKinds = quint32;
inline constexpr TCheckKinds AllCheckKinds = (1u << CheckKindCount) - 1;
inline constexpr TCheckKinds KindBit(TCheckKind kind) { return 1u << kind; }

// "broken", "case", "fragment", "outside", "orphan", "html", "character",
// "image", "unreadable": the names the command line and the output use.
QString CheckKindName(TCheckKind kind);
// The kind named Name (exactly as CheckKindName gives it); false when none.
bool CheckKindFromName(const QString& name, TCheckKind* kind);
// "broken,case,..." into a set; false with the unknown name in Bad.
bool ParseCheckKinds(const QString& list, TCheckKinds* kinds, QString* bad = nullptr);

struct TCheckFinding {
  QString Page;    // relative to the root, "/" separators, as the walk gives the name
  int Line = 1;    // 1-based; a finding about a whole file (orphan, image) has 1
  int Column = 1;  // 1-based, counted in characters as the editor counts them
  TCheckKind Kind = ckBroken;
  QString Message;
  qint64 Offset = -1;  // byte offset in the page, -1 for a whole file
  qint64 Size = 0;     // image findings: the image's size in bytes
};

// The default index pages, in the order a folder reference tries them.
QStringList DefaultIndexPages();
// The index pages of the settings file's list ("index.html;index.htm"):
// names separated by ";" or ",", blanks trimmed; the defaults when empty.
QStringList IndexPagesFromSetting(const QString& text);
inline constexpr qint64 DefaultImageLimit = 200 * 1024;

struct TCheckOptions {
  QString Root;  // the local root, absolute or relative to the current folder
  QString Mask = QStringLiteral("*.*");  // the site window's one pattern
  bool SubDirs = true;
  TCheckKinds Kinds = AllCheckKinds;
  bool Warnings = false;                  // the HTML library's warnings besides its errors
  bool AllPagesCharRule = false;          // judge UTF-8 pages by the 8-bit character rule too
  qint64 ImageLimit = DefaultImageLimit;  // bytes
  QStringList IndexPages = DefaultIndexPages();
  int Threads = 0;  // pages parsed side by side; 0 = as many as there are cores
};

struct TCheckResult {
  std::vector<TCheckFinding> Findings;  // by page, line and column; images largest first
  int Pages = 0;                        // HTML pages read
  int StyleSheets = 0;                  // .css files read
  int References = 0;                   // local references checked
  int ExternalReferences = 0;           // counted, not checked
  bool Stopped = false;                 // the stop flag ended the check early
  // Set when the check could not start (no such folder, illegal mask): the
  // text the site window shows for it. Findings are then empty.
  QString Error;
};

// Done pages of Total; called from the thread that runs the check.
using TCheckProgress = std::function<void(int done, int total)>;

// Runs the check. May be called from a worker thread: it shows no message
// and touches no window; Progress is called from that thread (or from the
// check's own helper threads, one call at a time). When Stop becomes true
// the check ends soon after with Stopped set and the findings so far.
TCheckResult RunSiteCheck(const TCheckOptions& options, const TCheckProgress& progress = {},
                          const std::atomic<bool>* stop = nullptr);

// Number of findings of each kind, indexed by TCheckKind.
std::vector<int> CountCheckKinds(const std::vector<TCheckFinding>& findings);

// "PATH:LINE:COLUMN: KIND: MESSAGE", the form editors and CI systems parse.
QString CheckFindingLine(const TCheckFinding& finding);
// The counts of the kinds in Kinds: "broken 2, case 0, ..." and the pages
// and references read.
QString CheckCountsLine(const TCheckResult& result, TCheckKinds kinds);
// The findings as lines, then the counts line, each ended by "\n" (UTF-8).
QByteArray CheckResultText(const TCheckResult& result, TCheckKinds kinds);
// One JSON object: "findings" (page, line, column, kind, message), "counts"
// per kind of Kinds, "pages", "styleSheets", "references", "external",
// "stopped".
QByteArray CheckResultJson(const TCheckResult& result, TCheckKinds kinds);

// The settings file's CheckIndexPages and CheckImageLimit (in KB) of its
// [Settings] section into Options; a missing file or key keeps the defaults.
void ReadCheckSettings(const QString& iniFileName, TCheckOptions* options);

// The reference reader: what one page refers to, window-free, so that a later
// rename can rewrite exactly the path part of each reference.

// Where a reference was found.
enum TRefSource : quint8 {
  rsAttribute,    // href, src, poster, data, action, background, a srcset candidate
  rsMetaRefresh,  // <meta http-equiv="refresh" content="...url=...">
  rsCss,          // url(...) or @import in a style sheet, <style> or a style attribute
};

struct TPageReference {
  int Line = 1;    // of the first byte of the reference, 1-based
  int Column = 1;  // 1-based, in characters as the editor counts them
  // The path part in the page's bytes: [PathBegin, PathEnd), without quotes,
  // query or fragment. Replacing exactly these bytes renames the target.
  // Empty (Begin == End) for "#name" and "?query" alone.
  qsizetype PathBegin = 0;
  qsizetype PathEnd = 0;
  QByteArray Text;      // the reference as written in the page's bytes
  QByteArray Path;      // the path part, percent escapes and entities decoded
  QByteArray Fragment;  // after "#", percent-decoded; empty when none
  bool HasFragment = false;
  bool External = false;  // a scheme ("http:", "mailto:" ...) or "//host"
  bool Outside = false;   // climbs above the root
  // The file the reference names: its path relative to the root with "/"
  // separators (empty for the root itself), as bytes for the file system.
  // A trailing "/" stays, marking a folder reference. Empty when External or
  // Outside; the page itself for "#name".
  QByteArray Target;
  TRefSource Source = rsAttribute;
  QByteArray Attribute;  // "href", "src", "srcset", "style", "content", "url" / "import" in CSS
  QByteArray Element;    // "a", "img" ... in lower case; empty in a .css file
};

// Every element id and <a name> of a page, with where it stands.
struct TPageAnchor {
  QByteArray Name;
  int Line = 1;
  int Column = 1;
};

// One HTML library message for a page.
struct THtmlMessage {
  int Line = 1;
  int Column = 1;
  bool Error = true;  // else a warning
  QString Text;
};

struct TPageScan {
  QList<TPageReference> References;  // in the page's order, external ones included
  QList<TPageAnchor> Anchors;
  QList<THtmlMessage> Messages;  // filled only when asked for
  bool DeclaresUtf8 = false;     // a byte-order mark, <meta charset> or the http-equiv form
  bool Parsed = true;            // false when the HTML library gave up on the page
};

// Reads one page. PagePath is the page's path relative to the root ("/"
// separators, bytes as on disk); references are resolved against its folder,
// or against the root when they start with "/". With Messages the HTML
// library's errors (and, with Warnings, its warnings) are kept as well.
// Any bytes are accepted: invalid UTF-8, NUL bytes, no HTML at all.
TPageScan ScanPage(const QByteArray& page, const QByteArray& pagePath, bool messages = false,
                   bool warnings = false);

// The references of a style sheet's bytes (a .css file), resolved the same way.
QList<TPageReference> ScanStyleSheet(const QByteArray& css, const QByteArray& sheetPath);

// Resolves Ref (the bytes as written) against the page at PagePath, both
// relative to the root; fills Text, Path, Fragment, HasFragment, External,
// Outside and Target, and PathBegin and PathEnd counted from Ref's first
// byte. HtmlEntities: Ref stands in HTML, so "&amp;" and the like are
// decoded (not in a .css file).
void ResolveReference(const QByteArray& ref, const QByteArray& pagePath, bool htmlEntities,
                      TPageReference* into);
