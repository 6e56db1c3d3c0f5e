#pragma once
// The parts of the site check's run, shared by its files and their tests.
#include <QHash>
#include <QSet>

#include "site/site_check.h"

// One file of the walk.
struct TWalkedFile {
  QString Name;         // relative to the root, as the walk gives it
  QByteArray Relative;  // the same as bytes on disk
  QByteArray Native;    // the absolute path for the file system
  bool StyleSheet = false;
};

// What one page or style sheet gave.
struct TFileWork {
  TPageScan Scan;
  std::vector<TCheckFinding> Findings;
  bool Read = false;
  bool Skipped = false;  // not a regular file (a pipe, a device): no page at all
};

// Reads a regular file whole. False with the system's reason when it cannot;
// Regular false (and no reason) for anything but a regular file.
bool ReadWholeFile(const QByteArray& path, QByteArray* bytes, QString* reason, bool* regular);

// The first character of Page that does not belong there (see TCheckOptions
// AllPagesCharRule): its line and column as the editor counts them, and the
// editor's warning text.
bool FirstBadCharacter(const QByteArray& page, bool declaresUtf8, bool allPagesRule, int* line,
                       int* column, QString* message);

TFileWork CheckOneFile(const TWalkedFile& file, const TCheckOptions& options);

// What a reference's target turned out to be on disk.
struct TTargetState {
  enum TKind : quint8 { tsFound, tsCase, tsMissing, tsNoIndex } Kind = tsMissing;
  QByteArray Resolved;  // the file meant (an index page for a folder), relative
  QByteArray RealName;  // tsCase: the path as it is on disk
};

// Looks targets up under the root, remembering every answer and folder
// listing, so 50,000 references cost a few thousand system calls.
class TTargetResolver {
 public:
  TTargetResolver(const QByteArray& rootNative, const QStringList& indexPages);
  TTargetState Lookup(const QByteArray& target);

 private:
  TTargetState LookupUncached(const QByteArray& target);
  bool IndexOf(const QByteArray& folder, QByteArray* page);
  QByteArray CaseMatch(const QByteArray& relative);
  const QList<QByteArray>& Listing(const QByteArray& folder);
  QByteArray NativeOf(const QByteArray& relative) const;

  QByteArray FRoot;
  QList<QByteArray> FIndexPages;
  QHash<QByteArray, TTargetState> FCache;
  QHash<QByteArray, QList<QByteArray>> FListings;
};

// The messages of the reference findings.
QString BrokenMessage(const TPageReference& ref, const TTargetState& state);
QString CaseMessage(const TPageReference& ref, const TTargetState& state);
QString FragmentMessage(const TPageReference& ref, const QByteArray& page);
QString OutsideMessage(const TPageReference& ref);
