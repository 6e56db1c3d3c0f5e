#include "site/site_change.h"

#include <sys/stat.h>

#include "components/file_names.h"
#include "doc/checked_write.h"
#include "doc/checked_write_batch.h"
#include "site/site_files.h"
#include "site/site_journal.h"

namespace {

bool IsPlainFile(const QString& path) {
  struct stat st {};
  return ::lstat(PathBytes(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

TSiteChangeResult ApplySiteChange(const QString& root, const QString& kind, const QString& what,
                                  const std::vector<TChangeItem>& items,
                                  const std::vector<TRename>& renames) {
  TSiteChangeResult result;
  QStringList paths;
  for (const TChangeItem& item : items) paths << item.Path;
  std::unique_ptr<TSiteJournal> journal;
  try {
    journal = TSiteJournal::Begin(root, kind, what, paths);
    for (const TRename& r : renames) {
      TJournalFile f;
      f.Path = r.From;
      f.NewPath = r.To;
      f.State = TJournalFileState::Written;
      f.After = FileStampOf(r.To);
      journal->Files().push_back(f);
    }
  } catch (const EQuillmereError& e) {
    result.Error = e.Message;
    return result;
  }
  result.JournalId = journal->Id();
  TCheckedWriteBatch batch(journal->TempSuffix());
  std::vector<int> staged;  // journal index of each staged file
  auto& files = journal->Files();
  try {
    for (int j = 0; j < int(items.size()); ++j) {
      const TChangeItem& item = items[std::size_t(j)];
      TJournalFile& jf = files[std::size_t(j)];
      const QString shown = RelativeToRoot(item.Path, journal->Root());
      auto leaveOut = [&](const QString& why) {
        jf.State = TJournalFileState::Failed;
        jf.Note = why;
        result.LeftOut << shown + QStringLiteral(": ") + why;
      };
      if (!InsideRoot(item.Path, journal->Root()) || !IsPlainFile(item.Path)) {
        leaveOut(QStringLiteral("not a plain file inside the site"));
        continue;
      }
      QString reason;
      const TFileStamp stamp = FileStampOf(item.Path);
      const auto text = ReadSiteFile(item.Path, &reason);
      if (!text) {
        leaveOut(reason);
        continue;
      }
      const auto changed = item.Change(*text, &reason);
      if (!changed) {
        leaveOut(reason);
        continue;
      }
      try {
        batch.Add(item.Path, *changed);
      } catch (const EQuillmereError& e) {
        jf.State = TJournalFileState::Failed;
        jf.Note = e.Message;
        result.Failed << e.Message;
        continue;
      }
      staged.push_back(j);
      journal->KeepOriginal(j, *text, *changed, stamp);
    }
    journal->Save(TJournalState::Prepared);
    batch.Sync();
  } catch (const EQuillmereError& e) {
    // Nothing is replaced yet: the temporaries go, the journal says so.
    batch.Cancel();
    result.Error = e.Message;
    try {
      journal->Save(TJournalState::RolledBack);
    } catch (const EQuillmereError&) {
      // The next start finds the journal unfinished and checks every file.
    }
    return result;
  }
  for (int k = 0; k < batch.Count(); ++k) {
    TJournalFile& jf = journal->Files()[std::size_t(staged[std::size_t(k)])];
    try {
      batch.Commit(k);
      jf.State = TJournalFileState::Written;
      jf.After = FileStampOf(jf.Path);
      result.Written << jf.Path;
    } catch (const EQuillmereError& e) {
      jf.State = TJournalFileState::Failed;
      jf.Note = e.Message;
      result.Failed << e.Message;
    }
  }
  batch.Finish();
  try {
    journal->Save(TJournalState::Done);
    TSiteJournal::Prune(journal->Root());
  } catch (const EQuillmereError& e) {
    result.Error = e.Message;
  }
  return result;
}
