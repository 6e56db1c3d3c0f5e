#pragma once
// quillmere-site publish: the site window's Publish from a shell.
#include <QStringList>

// Args are those after "publish". Exit status 0 on success, 1 on a failure
// or a refused check, 2 on a usage error.
int RunPublishCommand(const QStringList& args);
