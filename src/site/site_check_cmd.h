#pragma once
// quillmere-site check: the site check from a shell.
#include <QStringList>

// Runs "check" with the arguments after the command word; the exit status:
// 0 nothing found, 1 something found or an error, 2 a usage error.
// SettingsFile gives the index pages and the image limit.
int SiteCheckCommand(const QStringList& args, const QString& settingsFile);
