#pragma once
// The journal of a site-wide change (replace in files, links after a rename,
// a case conversion): written before the first file of the change is, so
// that a change either completes or is rolled back whole, and one undo takes
// it back. One folder per change (mode 0700) under
// $XDG_STATE_HOME/quillmere/journal: the list "change" (what was done, each
// file with its state and its stamp after the write) and the pack
// "originals" (every file's bytes as they were). Both are written through
// the checked write; a change holds a lock on its folder while it runs, so
// another instance never rolls back a change that is still going on.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "doc/file_helpers.h"

class TCheckedWrite;

enum class TJournalState {
  Preparing,   // files listed, nothing replaced yet
  Prepared,    // originals and new texts safe on disk; renames may be under way
  Done,        // complete: the change can be undone
  RolledBack,  // interrupted and put back
  Undoing,     // an undo under way
  Undone
};

enum class TJournalFileState { Pending, Written, Failed, Restored, Kept };

struct TJournalFile {
  QString Path;     // full path of the file changed (the old name for a rename)
  QString NewPath;  // the new name after a rename; empty when not renamed
  TJournalFileState State = TJournalFileState::Pending;
  QString Note;                          // why it failed or was kept
  qint64 OrigOffset = 0, OrigSize = -1;  // in the pack; offset -1: a link in the journal
  quint64 OrigHash = 0;
  qint64 NewSize = -1;  // -1: the content is not changed (a rename only)
  quint64 NewHash = 0;
  TFileStamp After;  // the file as the change left it
};

// What an undo or a roll-back did.
struct TJournalOutcome {
  int Restored = 0;
  QStringList Kept;    // changed since: left as they are ("path: why")
  QStringList Failed;  // could not be put back ("path: why")
  QString Text() const;
};

class TSiteJournal {
 public:
  // The folder that holds the journals.
  static QString JournalFolder();
  // A content's fingerprint, kept for the original and the new text.
  static quint64 Fingerprint(const QByteArray& data);
  // The site folder as journals name it: absolute and clean.
  static QString RootKey(const QString& root);

  // Makes the folder of a new change and lists its files (state Preparing).
  // Throws EInOutError.
  static std::unique_ptr<TSiteJournal> Begin(const QString& root, const QString& kind,
                                             const QString& what, const QStringList& paths);
  // Reads a journal folder; null when it is not one.
  static std::unique_ptr<TSiteJournal> Open(const QString& folder);
  // The journal folders of Root, oldest first.
  static QStringList FoldersFor(const QString& root);
  // The latest change of Root that can be undone; null when none.
  static std::unique_ptr<TSiteJournal> LatestDone(const QString& root);
  // Rolls back every change that was interrupted (and finishes an undo that
  // was): one text per journal, saying what was done, with the root of its
  // site. Changes still running in another instance are left alone.
  struct TRecovered {
    QString Root, Text;
  };
  static std::vector<TRecovered> RecoverInterrupted();
  // Removes the journals of Root older than the last Keep.
  static void Prune(const QString& root, int keep = 10);

  ~TSiteJournal();

  QString Folder() const { return FFolder; }
  QString Id() const { return FId; }
  QString Kind() const { return FKind; }
  QString What() const { return FWhat; }
  QString Root() const { return FRoot; }
  TJournalState State() const { return FState; }
  std::vector<TJournalFile>& Files() { return FFiles; }
  const std::vector<TJournalFile>& Files() const { return FFiles; }
  // The suffix of the change's temporaries beside each file.
  QByteArray TempSuffix() const { return ".qme-j" + FId.toLatin1(); }

  // Keeps file Index's original bytes (read when the file had Stamp) and the
  // fingerprint of its new text. Call it once the new text is staged: the
  // file is then kept as a hard link in the journal where it can be, since
  // the change puts a new file in its place and the link keeps the old one
  // whole; otherwise (another file system, a file the checked write must
  // write over in place) the bytes are copied into the pack. Throws.
  void KeepOriginal(int index, const QByteArray& original, const QByteArray& newText,
                    const TFileStamp& stamp);
  // Writes the list with State; the originals are made durable first (as
  // the list's checked write ends with the journal folder's fsync, the links
  // are too). Throws.
  void Save(TJournalState state);
  // File Index's bytes as they were before the change.
  QByteArray Original(int index) const;

  // Puts back every file the change wrote whose stamp still matches (all of
  // them with Force), in one checked batch; renames are undone too. Files
  // changed since are listed in Kept and left as they are.
  TJournalOutcome Undo(bool force);
  // The files an undo would keep without Force: changed since the change.
  QStringList ChangedSince() const;
  // Puts back what an interrupted change may have written.
  TJournalOutcome RollBack();

 private:
  TSiteJournal() = default;
  bool Lock();
  bool LinkOriginal(int index, const TFileStamp& stamp);
  QString LinkName(int index) const;
  void Load(const QByteArray& text);
  QByteArray ListText() const;
  TJournalOutcome PutBack(bool interrupted, bool force);

  QString FFolder, FId, FKind, FWhat, FRoot;
  TJournalState FState = TJournalState::Preparing;
  std::vector<TJournalFile> FFiles;
  std::unique_ptr<TCheckedWrite> FPack;  // the originals while they are written
  qint64 FPackSize = 0;
  int FLock = -1;
};

// "N files changed" style counts shared by the window and the command.
QString FilesText(int count);
