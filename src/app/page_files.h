#pragma once
// Which files of a folder the file list shows: the names matching any mask
// of a ";"-separated mask text, hidden and non-regular files left out,
// sorted without regard to letter case.
#include <QString>
#include <QStringList>

QStringList SplitMasks(const QString& maskText);
QStringList ListPageFiles(const QString& folder, const QString& maskText);
