#pragma once
// One site-wide change written with its journal: each file's new text staged
// through one checked batch, the journal made durable, then every file put in
// place; renames already done are recorded with it, so that one undo takes
// back the renames and the file changes together. Replace in files and the
// link changes after a rename both go through here.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

struct TChangeItem {
  QString Path;
  // The new text for the file's bytes as they are now; nothing, with the
  // reason, when the file must be left out (it changed since it was looked at).
  std::function<std::optional<QByteArray>(const QByteArray& now, QString* why)> Change;
};

struct TRename {
  QString From, To;  // full paths; the rename is done
};

struct TSiteChangeResult {
  QStringList Written;  // full paths
  QStringList LeftOut;  // "path: why" (changed since, not a plain file inside the root)
  QStringList Failed;   // "why" for each file that could not be written
  QString Error;        // the change stopped before any file was replaced
  QString JournalId;
  bool Ok() const { return Error.isEmpty() && LeftOut.isEmpty() && Failed.isEmpty(); }
};

// A file that cannot be written is named and stops nothing else; a journal
// that cannot be written stops the change before any file is replaced.
TSiteChangeResult ApplySiteChange(const QString& root, const QString& kind, const QString& what,
                                  const std::vector<TChangeItem>& items,
                                  const std::vector<TRename>& renames = {});
