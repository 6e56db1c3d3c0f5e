#pragma once
// The site window's List site and Convert, window-free, so that the window
// and quillmere-site give the same lines and renames.
#include <QString>
#include <QStringList>

#include "site/file_manager.h"

// Suggested name of a saved listing, in the local root.
inline constexpr char ListingFileName[] = "qme_____.txt";

// The folder that relative paths are taken against: the manager's
// WorkingDir made absolute and clean (what the walk puts in front of every
// full path).
QString ListingRoot(const TZELFileManager& manager);

// Line with Root and the "/" after it removed where Root is first found
// (compared without regard to case); the rest keeps its case. A line without
// Root is returned as it is.
QString RelativeLine(const QString& line, const QString& root);

struct TSiteListing {
  QStringList FullPaths;  // every matching file of the whole tree (Convert's list)
  QStringList Lines;      // the pane: the listing with paths relative to the root
  int FileCount = 0;
  quint64 TotalSize = 0;
  bool Complete = true;  // false when a walk was stopped (Abort) before its end
};

// The two runs of List site on Manager: the full paths of the whole tree,
// then ListingLines. The manager's messages (missing folder, illegal mask)
// go through the message door as usual.
TSiteListing ListSite(TZELFileManager& manager, const QString& localRoot, const QString& mask,
                      bool details, bool inclSubDirs);

// The listing of List site on Manager, whose WorkingDir and SearchMask are
// set: date, size (the file opened) and attributes when Details, walking
// sub-folders when InclSubDirs, paths relative to the root, sorted by Order.
// The site window and quillmere-site show these lines; FullPaths stays empty.
TSiteListing ListingLines(TZELFileManager& manager, bool details, bool inclSubDirs,
                          TZELFMSortOrder order = soNone);

// The file name of Path with A-Z made small (or a-z capital when Upper);
// other characters stay.
QString CaseFileName(const QString& fileName, bool upper);

// "Can't rename " + the path, or "..." and its last 25 characters when longer:
// the warning of a failed Convert.
QString RenameFailureText(const QString& path);

// Renames the file Path to NewName in the same folder, never replacing
// another entry (on a file system that ignores case, the file itself may be
// renamed to another case). False, with the system's reason in Reason, when
// it cannot.
bool RenameNoReplace(const QString& path, const QString& newName, QString* reason = nullptr);
