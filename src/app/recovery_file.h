#pragma once
// Recovery files: the unsaved text of a modified page, written now and then
// while it is edited, so that a crash or a power cut loses no edit. They
// live in $XDG_STATE_HOME/quillmere (by default ~/.local/state/quillmere),
// one per page and program instance, and go once the page is saved, its
// changes cancelled or the program closed cleanly.
#include <QList>
#include <QString>
#include <string>

#include "doc/file_helpers.h"
#include "doc/stale_temporaries.h"

struct TRecovery {
  QString FileName;      // the recovery file itself
  QString Page;          // the page it belongs to
  TFileStamp PageStamp;  // the page on disk when it was loaded or saved
  qint64 Pid = 0;        // the instance that wrote it
  std::string Text;      // the editor's text, UTF-8 bytes
};

// The folder of the recovery files (not created).
QString RecoveryFolder();
// The recovery file of page for this instance of the program.
QString RecoveryFileFor(const QString& page);
// Writes text as page's recovery file through the checked write. Throws
// EInOutError.
void WriteRecovery(const QString& page, const TFileStamp& pageStamp, const std::string& text);
// Removes this instance's recovery file of page, if any.
void RemoveRecovery(const QString& page);
// Reads one recovery file; false when it is not one.
bool ReadRecovery(const QString& fileName, TRecovery& recovery);
// The recovery files left by instances that no longer run and written after
// their page last changed on disk: the ones worth offering back.
QList<TRecovery> FindRecoveries();
// The temporaries of saves cut short in folder that hold the only copy of a
// page's text, as recoveries (the others are removed; see
// CleanStaleTemporaries).
QList<TRecovery> StaleTemporaryRecoveries(const QList<TStaleTemporary>& stale);
