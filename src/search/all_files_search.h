#pragma once
// The search through every file of the file list: finds the lines that hold
// the search text and lists them as entries for the results window. Files
// are bytes; the caller keeps its window alive through the progress callback.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// One line that holds the search text.
struct TSearchHit {
  QString FileName;  // as the file list shows it, without the folder
  qint64 Line = 0;   // 1-based
};

// A file of the list that could not be read; the search went on without it.
struct TSearchFailure {
  QString FileName;
  QString Error;  // the system's reason, e.g. "Permission denied"
};

struct TAllFilesResult {
  QStringList Entries;           // one per matching line, in file and line order
  std::vector<TSearchHit> Hits;  // Hits[i] is the line behind Entries[i]
  std::vector<TSearchFailure> Failures;
  bool Cancelled = false;  // the progress callback stopped the search
};

// Called after each file with the number of files done and the number in
// the list. Returning false stops the search; what was found is kept.
using TSearchProgress = std::function<bool(int done, int count)>;

// Searches Folder's files FileNames, in that order, for SearchText (escape
// codes already decoded). Without CaseSensitive the letters A to Z match in
// either case; no other letter does. An empty SearchText, or one holding
// CR or LF, matches nothing. A non-ASCII SearchText is looked for in the
// encoding each file is shown in: UTF-8 when the file is valid UTF-8,
// otherwise Windows-1252.
TAllFilesResult SearchAllFiles(const QString& folder, const QStringList& fileNames,
                               const QString& searchText, bool caseSensitive,
                               const TSearchProgress& progress = {});

// "#", the line number right-aligned in four positions (a longer number
// keeps its last four digits), a blank, the file name.
QString ResultEntry(qint64 line, const QString& fileName);

// The line and file name written in a result entry: characters 2 to 5 and
// the rest from the 6th on, each with blanks removed at both ends. Nothing
// when Entry is not in that shape. The line is only the four digits shown.
std::optional<TSearchHit> ParseResultEntry(const QString& entry);

// "name: reason" for each file that could not be read, one a line; after ten
// of them, "and N more". Empty when every file was read.
QString FailuresText(const std::vector<TSearchFailure>& failures);
