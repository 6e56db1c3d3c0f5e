#pragma once
// Which files of a folder the file list shows: the names matching any mask
// of a ";"-separated mask text, hidden and non-regular files left out,
// sorted without regard to letter case. Names are made by NameFromBytes.
#include <QString>
#include <QStringList>

QStringList SplitMasks(const QString& maskText);
QStringList ListPageFiles(const QString& folder, const QString& maskText);
// The folder's sub-folders that are not hidden, in the same order.
QStringList ListSubfolders(const QString& folder);

// The row of Names that a page called Name opens: the exact name first, then
// the first name that matches in any letter case. A name with a "~" (a
// shortened name) falls back to the first entry not before the part ahead of
// the "~", any other name to the first entry; -1 for an empty list.
int PageRowFor(const QStringList& names, const QString& name);
