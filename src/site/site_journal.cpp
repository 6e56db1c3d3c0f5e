#include "site/site_journal.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include "components/file_names.h"
#include "doc/checked_write.h"
#include "doc/checked_write_batch.h"
#include "site/site_files.h"

namespace {

constexpr char kMagic[] = "quillmere site change 1";
constexpr char kListName[] = "change";
constexpr char kPackName[] = "originals";

const char* const kStateNames[] = {"preparing",   "prepared", "done",
                                   "rolled-back", "undoing",  "undone"};
const char* const kFileStateNames[] = {"pending", "written", "failed", "restored", "kept"};

QByteArray Encode(const QString& text) { return PathBytes(text).toPercentEncoding("/:"); }

QString Decode(const QByteArray& field) {
  const QByteArray bytes = QByteArray::fromPercentEncoding(field);
  return NameFromBytes(std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

template <typename T, std::size_t N>
T FromName(const char* const (&names)[N], const QByteArray& name, T fallback) {
  for (std::size_t i = 0; i < N; ++i)
    if (name == names[i]) return T(i);
  return fallback;
}

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool SameStamp(const TFileStamp& a, const TFileStamp& b) {
  return a.Exists && b.Exists && a.MTimeNs == b.MTimeNs && a.Size == b.Size && a.Inode == b.Inode;
}

// A regular file with no other name: replacing it splits no hard link.
bool SoleName(const QString& path) {
  struct stat st {};
  return ::lstat(PathBytes(path).constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1;
}

bool Exists(const QString& path) {
  struct stat st {};
  return ::lstat(PathBytes(path).constData(), &st) == 0;
}

}  // namespace

QString TJournalOutcome::Text() const {
  QStringList lines;
  lines << QStringLiteral("%1 put back.").arg(FilesText(Restored));
  if (!Kept.isEmpty()) lines << QStringLiteral("Changed since, kept as they are:") << Kept;
  if (!Failed.isEmpty()) lines << QStringLiteral("Could not be put back:") << Failed;
  return lines.join(u'\n');
}

QString FilesText(int count) {
  return count == 1 ? QStringLiteral("1 file") : QStringLiteral("%1 files").arg(count);
}

QString TSiteJournal::JournalFolder() {
  QString state = qEnvironmentVariable("XDG_STATE_HOME");
  if (state.isEmpty() || !QDir::isAbsolutePath(state))
    state = QDir::homePath() + QStringLiteral("/.local/state");
  return state + QStringLiteral("/quillmere/journal");
}

quint64 TSiteJournal::Fingerprint(const QByteArray& data) {
  // Eight bytes a step, so that fingerprinting a whole site costs little
  // beside reading it; the size is compared as well wherever this is.
  const char* p = data.constData();
  std::size_t n = std::size_t(data.size());
  quint64 h = 0x9e3779b97f4a7c15ull ^ n;
  auto mix = [&h](quint64 word) {
    h ^= word * 0xff51afd7ed558ccdull;
    h = ((h << 31) | (h >> 33)) * 0xc4ceb9fe1a85ec53ull;
  };
  for (; n >= 8; n -= 8, p += 8) {
    quint64 word;
    std::memcpy(&word, p, 8);
    mix(word);
  }
  quint64 tail = 0;
  std::memcpy(&tail, p, n);
  mix(tail ^ (quint64(n) << 56));
  h ^= h >> 29;
  return h * 0xbf58476d1ce4e5b9ull;
}

QString TSiteJournal::RootKey(const QString& root) {
  const QString absolute = QDir::cleanPath(QDir(root).absolutePath());
  const QString canonical = QFileInfo(absolute).canonicalFilePath();
  return canonical.isEmpty() ? absolute : canonical;
}

std::unique_ptr<TSiteJournal> TSiteJournal::Begin(const QString& root, const QString& kind,
                                                  const QString& what, const QStringList& paths) {
  static std::atomic<int> serial{0};
  const QString base = JournalFolder();
  if (!QDir().mkpath(base))
    throw EInOutError(WriteFailureText(base, QStringLiteral("the folder cannot be made")));
  ::chmod(PathBytes(base).constData(), 0700);
  std::unique_ptr<TSiteJournal> j(new TSiteJournal);
  j->FId = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
           QStringLiteral("-%1-%2").arg(::getpid()).arg(serial++);
  j->FFolder = base + u'/' + j->FId;
  if (::mkdir(PathBytes(j->FFolder).constData(), 0700) != 0)
    throw EInOutError(WriteFailureText(j->FFolder, SystemReason(errno)));
  j->FKind = kind;
  j->FWhat = what;
  j->FRoot = RootKey(root);
  j->FFiles.reserve(std::size_t(paths.size()));
  for (const QString& path : paths) {
    TJournalFile file;
    file.Path = path;
    j->FFiles.push_back(file);
  }
  if (!j->Lock()) throw EInOutError(WriteFailureText(j->FFolder, SystemReason(errno)));
  j->Save(TJournalState::Preparing);
  j->FPack = std::make_unique<TCheckedWrite>(j->FFolder + u'/' + QLatin1String(kPackName));
  j->FPack->SetPermissions(0600);
  return j;
}

TSiteJournal::~TSiteJournal() {
  if (FLock >= 0) ::close(FLock);
}

bool TSiteJournal::Lock() {
  if (FLock >= 0) return true;
  FLock = ::open(PathBytes(FFolder + QStringLiteral("/lock")).constData(),
                 O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (FLock < 0) return false;
  if (::flock(FLock, LOCK_EX | LOCK_NB) == 0) return true;
  ::close(FLock);
  FLock = -1;
  return false;
}

QString TSiteJournal::LinkName(int index) const {
  return FFolder + QStringLiteral("/o%1").arg(index);
}

// Linking costs nothing where copying 40 MB of originals doubled the time of
// a site-wide replace. The link is only kept when it holds what was read and
// the file has no other name (such a file is written over in place).
bool TSiteJournal::LinkOriginal(int index, const TFileStamp& stamp) {
  const QByteArray from = PathBytes(FFiles[std::size_t(index)].Path);
  const QByteArray link = PathBytes(LinkName(index));
  if (!stamp.Exists || ::link(from.constData(), link.constData()) != 0) return false;
  struct stat st {};
  const bool kept = ::lstat(link.constData(), &st) == 0 && S_ISREG(st.st_mode) &&
                    st.st_nlink == 2 && quint64(st.st_ino) == stamp.Inode &&
                    qint64(st.st_size) == stamp.Size &&
                    qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec == stamp.MTimeNs &&
                    (st.st_uid == ::geteuid() || ::geteuid() == 0);
  if (!kept) ::unlink(link.constData());
  return kept;
}

void TSiteJournal::KeepOriginal(int index, const QByteArray& original, const QByteArray& newText,
                                const TFileStamp& stamp) {
  TJournalFile& f = FFiles[std::size_t(index)];
  f.OrigSize = original.size();
  f.OrigHash = Fingerprint(original);
  f.NewSize = newText.size();
  f.NewHash = Fingerprint(newText);
  if (LinkOriginal(index, stamp)) {
    f.OrigOffset = -1;
    return;
  }
  FPack->Write(original);
  f.OrigOffset = FPackSize;
  FPackSize += original.size();
}

QByteArray TSiteJournal::ListText() const {
  QByteArray t = QByteArray(kMagic) + '\n';
  t += "id\t" + FId.toLatin1() + '\n';
  t += "kind\t" + Encode(FKind) + '\n';
  t += "root\t" + Encode(FRoot) + '\n';
  t += "what\t" + Encode(FWhat) + '\n';
  t += "state\t" + QByteArray(kStateNames[int(FState)]) + '\n';
  for (const TJournalFile& f : FFiles) {
    const QList<QByteArray> fields{"file",
                                   Encode(f.Path),
                                   Encode(f.NewPath),
                                   kFileStateNames[int(f.State)],
                                   QByteArray::number(f.OrigOffset),
                                   QByteArray::number(f.OrigSize),
                                   QByteArray::number(f.OrigHash, 16),
                                   QByteArray::number(f.NewSize),
                                   QByteArray::number(f.NewHash, 16),
                                   f.After.Exists ? "1" : "0",
                                   QByteArray::number(f.After.MTimeNs),
                                   QByteArray::number(f.After.Size),
                                   QByteArray::number(f.After.Device),
                                   QByteArray::number(f.After.Inode),
                                   Encode(f.Note)};
    t += fields.join('\t') + '\n';
  }
  return t;
}

void TSiteJournal::Load(const QByteArray& text) {
  for (const QByteArray& line : text.split('\n')) {
    const QList<QByteArray> f = line.split('\t');
    if (f.size() == 2 && f[0] == "id") FId = QString::fromLatin1(f[1]);
    if (f.size() == 2 && f[0] == "kind") FKind = Decode(f[1]);
    if (f.size() == 2 && f[0] == "root") FRoot = Decode(f[1]);
    if (f.size() == 2 && f[0] == "what") FWhat = Decode(f[1]);
    if (f.size() == 2 && f[0] == "state")
      FState = FromName(kStateNames, f[1], TJournalState::Prepared);
    if (f.size() != 15 || f[0] != "file") continue;
    TJournalFile file;
    file.Path = Decode(f[1]);
    file.NewPath = Decode(f[2]);
    file.State = FromName(kFileStateNames, f[3], TJournalFileState::Pending);
    file.OrigOffset = f[4].toLongLong();
    file.OrigSize = f[5].toLongLong();
    file.OrigHash = f[6].toULongLong(nullptr, 16);
    file.NewSize = f[7].toLongLong();
    file.NewHash = f[8].toULongLong(nullptr, 16);
    file.After = {f[9] == "1", f[10].toLongLong(), f[11].toLongLong(), f[12].toULongLong(),
                  f[13].toULongLong()};
    file.Note = Decode(f[14]);
    FFiles.push_back(file);
  }
}

void TSiteJournal::Save(TJournalState state) {
  if (FPack && state != TJournalState::Preparing) {
    FPack->Commit();
    FPack.reset();
  }
  FState = state;
  TCheckedWrite list(FFolder + u'/' + QLatin1String(kListName));
  list.SetPermissions(0600);
  list.Write(ListText());
  list.Commit();
}

std::unique_ptr<TSiteJournal> TSiteJournal::Open(const QString& folder) {
  const auto text = ReadSiteFile(folder + u'/' + QLatin1String(kListName));
  if (!text || !text->startsWith(kMagic)) return nullptr;
  std::unique_ptr<TSiteJournal> j(new TSiteJournal);
  j->FFolder = folder;
  j->Load(*text);
  return j;
}

QByteArray TSiteJournal::Original(int index) const {
  const TJournalFile& f = FFiles[std::size_t(index)];
  if (f.OrigSize < 0) return {};
  const bool linked = f.OrigOffset < 0;
  const QString from = linked ? LinkName(index) : FFolder + u'/' + QLatin1String(kPackName);
  const int fd = ::open(PathBytes(from).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EInOutError(QStringLiteral("The journal %1 has lost its originals").arg(FId));
  QByteArray bytes(f.OrigSize, Qt::Uninitialized);
  qint64 done = 0;
  while (done < f.OrigSize) {
    const ssize_t n = ::pread(fd, bytes.data() + done, std::size_t(f.OrigSize - done),
                              off_t((linked ? 0 : f.OrigOffset) + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  ::close(fd);
  if (done != f.OrigSize || Fingerprint(bytes) != f.OrigHash)
    throw EInOutError(QStringLiteral("The journal %1 holds a damaged original of \"%2\"")
                          .arg(FId, ShownName(f.Path)));
  return bytes;
}

QStringList TSiteJournal::FoldersFor(const QString& root) {
  const QString key = RootKey(root);
  const QDir base(JournalFolder());
  QStringList result;
  for (const QString& name : base.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    const auto text = ReadSiteFile(base.filePath(name) + u'/' + QLatin1String(kListName));
    if (!text) continue;
    const qsizetype at = text->indexOf("\nroot\t");
    if (at < 0) continue;
    const qsizetype end = text->indexOf('\n', at + 6);
    if (Decode(text->mid(at + 6, end - at - 6)) == key) result.append(base.filePath(name));
  }
  return result;
}

std::unique_ptr<TSiteJournal> TSiteJournal::LatestDone(const QString& root) {
  const QStringList folders = FoldersFor(root);
  for (qsizetype i = folders.size() - 1; i >= 0; --i) {
    auto j = Open(folders[i]);
    if (j && j->FState == TJournalState::Done) return j;
  }
  return nullptr;
}

void TSiteJournal::Prune(const QString& root, int keep) {
  const QStringList folders = FoldersFor(root);
  for (qsizetype i = 0; i + keep < folders.size(); ++i) {
    auto j = Open(folders[i]);
    // A change still running somewhere is never removed under it.
    if (j && !j->Lock()) continue;
    QDir(folders[i]).removeRecursively();
  }
}

std::vector<TSiteJournal::TRecovered> TSiteJournal::RecoverInterrupted() {
  std::vector<TRecovered> texts;
  const QDir base(JournalFolder());
  for (const QString& name : base.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
    auto j = Open(base.filePath(name));
    if (!j) continue;
    const TJournalState state = j->FState;
    if (state != TJournalState::Preparing && state != TJournalState::Prepared &&
        state != TJournalState::Undoing)
      continue;
    if (!j->Lock()) continue;
    try {
      const TJournalOutcome out =
          state == TJournalState::Undoing ? j->PutBack(false, false) : j->RollBack();
      texts.push_back(
          {j->FRoot,
           QStringLiteral("The site change \"%1\" in %2 was interrupted%3. %4")
               .arg(j->FWhat, ShownName(j->FRoot),
                    state == TJournalState::Undoing ? QStringLiteral(" while it was undone")
                                                    : QStringLiteral(" and is rolled back"),
                    out.Text())});
    } catch (const EQuillmereError& e) {
      texts.push_back({j->FRoot, QStringLiteral("The site change \"%1\" in %2 was interrupted "
                                                "and could not be rolled back: %3")
                                     .arg(j->FWhat, ShownName(j->FRoot), e.Message)});
    }
  }
  return texts;
}

QStringList TSiteJournal::ChangedSince() const {
  QStringList changed;
  for (const TJournalFile& f : FFiles) {
    if (f.State != TJournalFileState::Written || f.NewSize < 0) continue;
    if (SameStamp(FileStampOf(f.Path), f.After)) continue;
    const auto now = ReadSiteFile(f.Path);
    if (now && now->size() == f.NewSize && Fingerprint(*now) == f.NewHash) continue;
    if (now && now->size() == f.OrigSize && Fingerprint(*now) == f.OrigHash) continue;
    changed << f.Path;
  }
  return changed;
}

TJournalOutcome TSiteJournal::RollBack() { return PutBack(true, true); }

TJournalOutcome TSiteJournal::Undo(bool force) {
  if (!Lock()) throw EInOutError(QStringLiteral("The site change is in use by another program"));
  return PutBack(false, force);
}

// Interrupted: the change may have stopped anywhere, so each file is judged by
// its bytes: the original stays, the new text is put back, anything else is
// someone else's and kept. An undo puts back what still carries the stamp the
// change left (or, with Force, whatever is there).
TJournalOutcome TSiteJournal::PutBack(bool interrupted, bool force) {
  TJournalOutcome out;
  if (!interrupted) Save(TJournalState::Undoing);
  TCheckedWriteBatch batch(TempSuffix() + 'u');
  std::vector<int> staged, renames, movedBack;
  for (int i = 0; i < int(FFiles.size()); ++i) {
    TJournalFile& f = FFiles[std::size_t(i)];
    // Temporaries of a change that stopped before its renames.
    ::unlink(PathBytes(TCheckedWriteBatch::StagedNameFor(f.Path, TempSuffix())).constData());
    if (f.State == TJournalFileState::Restored || f.State == TJournalFileState::Kept) continue;
    if (f.NewSize < 0 && f.NewPath.isEmpty()) continue;  // left out: never written
    if (!interrupted && f.State != TJournalFileState::Written) continue;
    const QString shown = ShownName(f.Path);
    // Renames were done before the change began: an interrupted change keeps
    // them, an undo takes them back once the contents are back.
    if (f.NewSize < 0) {
      if (!interrupted) renames.push_back(i);
      continue;
    }
    QString reason;
    const auto now = ReadSiteFile(f.Path, &reason);
    if (!now) {
      out.Failed << shown + QStringLiteral(": ") + reason;
      continue;
    }
    const quint64 print = Fingerprint(*now);
    if (now->size() == f.OrigSize && print == f.OrigHash) {
      if (f.State == TJournalFileState::Written) {
        f.State = TJournalFileState::Restored;
        ++out.Restored;
      }
      continue;
    }
    const bool asLeft = now->size() == f.NewSize && print == f.NewHash;
    const bool stampHolds = SameStamp(FileStampOf(f.Path), f.After);
    if (!force && !asLeft && !(stampHolds && !interrupted)) {
      out.Kept << shown + QStringLiteral(": changed since");
      continue;
    }
    if (interrupted && !asLeft) {
      out.Kept << shown + QStringLiteral(": changed by another program");
      continue;
    }
    try {
      const QByteArray original = Original(i);
      // A linked original is the very file as it was: moved back, it costs no
      // write (an undo took twice as long as cp when it wrote every page).
      if (f.OrigOffset < 0 && SoleName(f.Path)) {
        movedBack.push_back(i);
        continue;
      }
      batch.Add(f.Path, original);
      staged.push_back(i);
    } catch (const EQuillmereError& e) {
      out.Failed << e.Message;
    }
  }
  std::vector<QByteArray> folders;
  for (const int i : movedBack) {
    TJournalFile& f = FFiles[std::size_t(i)];
    const QByteArray target = PathBytes(f.Path);
    if (::rename(PathBytes(LinkName(i)).constData(), target.constData()) != 0) {
      out.Failed << WriteFailureText(ShownName(f.Path), SystemReason(errno));
      continue;
    }
    f.State = TJournalFileState::Restored;
    ++out.Restored;
    const QByteArray folder = FolderOf(target);
    if (std::find(folders.begin(), folders.end(), folder) == folders.end())
      folders.push_back(folder);
  }
  for (const QByteArray& folder : folders) SyncFolder(folder);
  batch.Sync();
  for (int k = 0; k < batch.Count(); ++k) {
    TJournalFile& f = FFiles[std::size_t(staged[std::size_t(k)])];
    try {
      batch.Commit(k);
      f.State = TJournalFileState::Restored;
      ++out.Restored;
    } catch (const EQuillmereError& e) {
      out.Failed << e.Message;
    }
  }
  batch.Finish();
  for (const int i : renames) {
    TJournalFile& f = FFiles[std::size_t(i)];
    if (!Exists(f.NewPath) || Exists(f.Path)) {
      out.Kept << ShownName(f.NewPath) + QStringLiteral(": not renamed back, ") +
                      ShownName(f.Path) + QStringLiteral(" exists or it is gone");
      f.State = TJournalFileState::Kept;
      continue;
    }
    if (const QString reason = RenameBack(f.NewPath, f.Path); !reason.isEmpty()) {
      out.Failed << ShownName(f.NewPath) + QStringLiteral(": ") + reason;
      continue;
    }
    f.State = TJournalFileState::Restored;
    ++out.Restored;
  }
  // What could not be put back is tried again: by the next start after an
  // interrupted change, by the next undo after this one.
  if (out.Failed.isEmpty())
    Save(interrupted ? TJournalState::RolledBack : TJournalState::Undone);
  else
    Save(interrupted ? TJournalState::Prepared : TJournalState::Done);
  return out;
}
