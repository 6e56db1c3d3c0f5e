#pragma once
// The one checked write that every file writer goes through (page, save as,
// rename, copy, settings, Tools, site outputs, recovery): the new bytes go
// to a temporary file beside the target, every byte is checked to have
// reached it (the last flush and fsync included), and only then does the
// temporary take the target's name. On any failure the target stays as it
// was and EInOutError carries the system's reason.
//
// Owner, group and mode of an existing target are kept where the system
// allows. A target reached through a symbolic link is written where the
// link points, the link kept. A target with more than one hard link is
// written in place once the new text is safely on disk beside it, so no
// link is split; so is another owner's file that could not be given back.
#include <QByteArray>
#include <QString>
#include <cstddef>

#include "components/errors.h"

// Raised when the target's folder cannot hold the temporary file although
// the target itself could be written: the caller may offer to write in place.
class EFolderReadOnly : public EInOutError {
 public:
  using EInOutError::EInOutError;
};

enum class TWriteMode {
  Replace,    // through a temporary beside the target, then a rename
  CreateNew,  // as Replace, but fails with EEXIST rather than replace an entry
  InPlace     // staged in the temporary folder, then copied over the target
};

class TCheckedWrite {
 public:
  // Opens the temporary file. Throws EInOutError (EFolderReadOnly where the
  // folder refuses a new file but the target is writable).
  explicit TCheckedWrite(const QString& target, TWriteMode mode = TWriteMode::Replace);
  ~TCheckedWrite();
  TCheckedWrite(const TCheckedWrite&) = delete;
  TCheckedWrite& operator=(const TCheckedWrite&) = delete;

  // Writes every byte unbuffered, or throws; the target is untouched.
  void Write(const char* data, std::size_t size);
  void Write(const QByteArray& data) { Write(data.constData(), std::size_t(data.size())); }
  // Gives the file these permission bits in place of the target's own (or,
  // for a new file, those the umask leaves).
  void SetPermissions(unsigned mode);
  // Makes the written bytes the target's contents. Throws on failure, the
  // target then as it was.
  void Commit();
  // Drops what was written; the target stays as it was.
  void Cancel();
  // The name the caller gave.
  QString FileName() const { return FTarget; }

  // The batch form's two halves (see TCheckedWriteBatch): Stage gives the
  // temporary the name "." + the target's name + Suffix beside the target and
  // closes it, not yet durable; once the batch has made every staged file
  // durable together, CommitStaged puts it in the target's place. Both throw
  // as Commit does, the target then as it was.
  void Stage(const QByteArray& suffix);
  void CommitStaged();
  // Where Stage put the bytes; empty before.
  QString StagedName() const;

 private:
  [[noreturn]] void Fail(int error);
  void CommitInPlace();
  bool NameUnnamed(int fd);
  QString FTarget;
  QByteArray FReal;   // where the bytes finally go, links resolved
  QByteArray FStage;  // the temporary's path; empty for an unnamed one
  TWriteMode FMode;
  int FFd = -1;
  bool FWriteOver = false;  // hard-linked, or owned by another: written in place
};

// Writes data as the whole new contents of target through TCheckedWrite.
void WriteFileChecked(const QString& target, const QByteArray& data,
                      TWriteMode mode = TWriteMode::Replace);

// The folder of a path in bytes: "." when it names none, "/" for the root.
QByteArray FolderOf(const QByteArray& path);
// Makes the renames and new names in folder last: an fsync of the folder.
void SyncFolder(const QByteArray& folder);

// "Cannot write "NAME": REASON", the text every failed write carries.
QString WriteFailureText(const QString& fileName, const QString& reason);
