#pragma once
// Which files of a folder the file list shows: the names matching any mask
// of a ";"-separated mask text, hidden and non-regular files left out,
// sorted without regard to letter case. Names are made by NameFromBytes.
#include <QString>
#include <QStringList>

QStringList SplitMasks(const QString& maskText);
// With temporaries, the names of the checked write's temporaries met on the
// way are put there, so the folder need not be read again for them.
QStringList ListPageFiles(const QString& folder, const QString& maskText,
                          QStringList* temporaries = nullptr);
// The folder's sub-folders that are not hidden, in the same order.
QStringList ListSubfolders(const QString& folder);

// The row of Names that a page called Name opens: the exact name first, then
// the first name that matches in any letter case. A name with a "~" (a
// shortened name) falls back to the first entry not before the part ahead of
// the "~", any other name to the first entry; -1 for an empty list.
int PageRowFor(const QStringList& names, const QString& name);

// Where save as and rename write a chosen path: the file name lower-cased,
// the folders as they are on disk (they tell case apart), made absolute.
QString SaveAsTarget(const QString& chosen);
