#pragma once
// quillmere-site's site-wide changes: replace in files, file names to one
// case with their links, and undo of the last change. Text to standard
// output, messages to standard error.
#include <QString>
#include <QStringList>

// Whether Command (with Args) is one of these.
bool IsSiteChangeCommand(const QString& command, const QStringList& args);
// Runs it with the arguments after the command: 0 done, 1 an error or a file
// not changed, 2 a usage error.
int RunSiteChangeCommand(const QString& command, const QStringList& args);

// The usage lines of these commands.
extern const char SiteChangeUsage[];
