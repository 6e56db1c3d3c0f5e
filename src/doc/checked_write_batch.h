#pragma once
// The checked write for many files at once (a site-wide change): every new
// text goes to a temporary beside its target, then all of them are made
// durable together (one syncfs per file system) and only then renamed. One
// fsync per file costs twice the time of the whole rewrite of 2,000 pages;
// the guarantee stays that of TCheckedWrite: no target is replaced before
// its new bytes, all of them, are on disk.
//
//   TCheckedWriteBatch batch(".qme-j20261207");
//   for (...) try { batch.Add(path, bytes); } catch (const EInOutError&) { ... }
//   batch.Sync();                      // throws: nothing was replaced
//   for (int i = 0; i < batch.Count(); ++i) try { batch.Commit(i); } catch ...
//   batch.Finish();                    // the renames made durable
#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

#include "doc/checked_write.h"

class TCheckedWriteBatch {
 public:
  // Suffix names the temporaries: "." + the target's name + Suffix, so that
  // whoever knows the suffix (the change's journal) can find them again.
  explicit TCheckedWriteBatch(QByteArray suffix);
  ~TCheckedWriteBatch();
  TCheckedWriteBatch(const TCheckedWriteBatch&) = delete;
  TCheckedWriteBatch& operator=(const TCheckedWriteBatch&) = delete;

  // Writes Data to the staged temporary of Target and returns its index.
  // Throws EInOutError for this file only; the batch goes on without it.
  int Add(const QString& target, const QByteArray& data);
  int Count() const { return int(FFiles.size()); }
  QString Target(int index) const { return FFiles[std::size_t(index)]->FileName(); }
  // Makes every staged temporary durable. A write-back error anywhere on
  // their file systems throws EInOutError; Cancel then leaves every target
  // as it was.
  void Sync();
  // Puts staged file Index in its target's place (after Sync). Throws for
  // that file only.
  void Commit(int index);
  // Makes the renames durable.
  void Finish();
  // Drops every temporary not yet committed.
  void Cancel();
  // The staged temporary's name for Target under Suffix.
  static QString StagedNameFor(const QString& target, const QByteArray& suffix);

 private:
  QByteArray FSuffix;
  std::vector<std::unique_ptr<TCheckedWrite>> FFiles;
  std::vector<QByteArray> FFolders;  // of the committed files, for Finish
  // One descriptor per file system, opened before its first write there.
  std::vector<std::pair<quint64, int>> FFileSystems;
  void WatchFileSystemOf(const QString& target);
};
