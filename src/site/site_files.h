#pragma once
// The files a site-wide change may touch, and reading and renaming them by
// their bytes. A change stays inside its root: links are never followed
// (neither to folders nor to files, which may lie anywhere), hidden entries
// and anything but regular files are left out.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// The regular files under Root whose names match one of the masks of Mask
// (";"-separated, "*" and "?", letters in either case), in sub-folders too
// when SubDirs: full paths, each folder's files by name, then its folders.
QStringList SiteFiles(const QString& root, const QString& mask, bool subDirs);

// The whole file; nothing, with the system's reason, when it cannot be read
// or is not a regular file.
std::optional<QByteArray> ReadSiteFile(const QString& path, QString* reason = nullptr);

// Renames From to To unless To exists; empty when done, else the reason.
QString RenameBack(const QString& from, const QString& to);

// Whether Path lies inside Root (both absolute and clean).
bool InsideRoot(const QString& path, const QString& root);

// The path as shown relative to Root.
QString RelativeToRoot(const QString& path, const QString& root);
