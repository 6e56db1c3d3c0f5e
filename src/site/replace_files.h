#pragma once
// Replace in files, window-free: the preview (every file of the site with its
// number of hits and its first hits) and the replace itself, each chosen file
// written whole through one checked batch with the change's journal. Files
// are bytes: only the hits change; line ends, encoding, NUL, a CR alone and
// invalid UTF-8 stay as they are, and no whitespace rule is applied.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "doc/file_helpers.h"
#include "site/site_change.h"
#include "site/site_files.h"

struct TReplaceOptions {
  QString Find;                          // escape codes already decoded
  QString Replacement;                   // likewise
  bool CaseSensitive = false;            // without it, A to Z match a to z (no other letter)
  QString Mask = QStringLiteral("*.*");  // ";"-separated
  bool SubDirs = true;
};

struct TReplaceHit {
  qint64 Line = 0;  // 1-based; CR LF, CR and LF each end a line
  QString Text;     // that line as the editor would show it (cut when long)
};

struct TReplaceFile {
  QString Path;
  int Hits = 0;
  std::vector<TReplaceHit> FirstHits;  // the first few, by line
  // What the preview saw, so that a file changed since is left out.
  TFileStamp Stamp;
  quint64 Print = 0;
};

struct TReplacePreview {
  QString Root;  // absolute and clean
  TReplaceOptions Options;
  std::vector<TReplaceFile> Files;  // the files with hits, in walk order
  QStringList Problems;             // "path: why" for files that were not searched
  int TotalHits() const;
};

// Called after each file with the number done and the number to do;
// returning false stops the walk.
using TReplaceProgress = std::function<bool(int done, int count)>;

inline constexpr int MaxPreviewHits = 20;

TReplacePreview PreviewReplace(const QString& root, const TReplaceOptions& options,
                               const TReplaceProgress& progress = {});

// Text with every hit of Options.Find replaced, left to right without
// overlap, in the encoding of Text (UTF-8 when valid, else Windows-1252);
// Count gets the number of hits. Sets *Problem and returns Text unchanged
// when the replacement cannot be written in that encoding.
QByteArray ReplaceInText(const QByteArray& text, const TReplaceOptions& options, int* count,
                         QString* problem = nullptr);

using TReplaceResult = TSiteChangeResult;

// Replaces in the files Chosen (indexes into Preview.Files). A file whose
// bytes differ from what the preview saw is left out; one that cannot be
// written is named and stops nothing else.
TReplaceResult ApplyReplace(const TReplacePreview& preview, const std::vector<int>& chosen);
