#pragma once
// Temporaries the checked write leaves beside a page when the program is
// killed between naming the finished text and the rename: ".NAME.qme-ID",
// where ID holds the writer's process number. Once that process is gone
// they are clutter, unless one holds the only copy of a page's newest text.
#include <QList>
#include <QString>
#include <QStringList>
#include <string_view>

struct TStaleTemporary {
  QString FileName;  // the temporary itself
  QString Page;      // the page it was to replace
};

// The process number a temporary's name holds; 0 when the name is not one.
qint64 TemporaryWriter(const QString& fileName);

// Whether a name read from a folder may be such a temporary.
bool LooksLikeTemporary(std::string_view name);

// Removes from folder the temporaries of processes that no longer run, and
// keeps and returns those written after their page last changed (or whose
// page is gone) and differing from it: the only copy of that text. A
// temporary of a running process, this one included, is never touched.
QList<TStaleTemporary> CleanStaleTemporaries(const QString& folder);
// The same for the names of folder's temporaries, read already.
QList<TStaleTemporary> CleanStaleTemporaries(const QString& folder, const QStringList& names);
