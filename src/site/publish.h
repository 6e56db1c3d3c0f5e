#pragma once
// Publishing a site with rsync, window-free: which targets are refused, the
// argument lists rsync is started with (never through a shell), and the
// reading of rsync's itemized lines, for the preview and for the send.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One publish: from the local root to the target.
struct TPublishJob {
  QString LocalRoot;  // the site folder, as the user gave it
  QString Target;     // an rsync destination, local or remote
  bool Delete = false;
  QStringList Exclude;
  bool DryRun = false;    // the preview: --dry-run, nothing changes anywhere
  bool Progress = false;  // rsync's own progress lines (a terminal)
  int MaxDelete = -1;     // the send deletes no more than the preview showed
};

// Why the job cannot run, as a sentence for the user; empty when it can. A
// target that is empty, the local root itself, inside it or around it, or a
// host name that rsync would hand to ssh as an option is refused.
QString PublishTargetProblem(const QString& localRoot, const QString& target);

// True for "host:path", "user@host:path", "host::module" and "rsync://".
bool IsRemoteTarget(const QString& target);

// The target as rsync is given it: a local folder made absolute, ending in "/".
QString RsyncTarget(const QString& target);

// The arguments after "rsync". The source is "./": rsync runs in the local
// root, entered by its own bytes (see TRsyncRun).
QStringList RsyncArguments(const TPublishJob& job);

// The format of every line rsync prints for an item: change flags, size,
// bytes sent and the name with rsync's "\#ooo" escapes.
inline constexpr char RsyncItemFormat[] = "%i %l %b %n";

// One item of rsync's itemized output.
struct TPublishItem {
  enum TAction { Create, Change, Remove, Other };
  TAction Action = Other;
  bool IsFile = false;  // a regular file (or a link), not a folder
  bool IsLink = false;
  QString Name;  // relative to the root, by its own bytes (NameFromBytes)
  qint64 Size = 0;
};

struct TPublishPreview {
  QList<TPublishItem> Items;  // in rsync's order
  int SendCount = 0;          // files created or changed
  qint64 SendSize = 0;
  int RemoveCount = 0;  // files removed on the target
  QStringList Unread;   // lines that were not items (rsync's notes)
};

// One line of rsync's output, without its line end; false when it is no item.
bool ParseRsyncItem(const QByteArray& line, TPublishItem& item);
// Every line of a dry run's output.
TPublishPreview ParseRsyncPreview(const QByteArray& output);
// rsync's "\#ooo" escapes turned back into the bytes they stand for.
QByteArray UnescapeRsyncName(const QByteArray& name);

// "1 file", "2 files"; sizes as "512 bytes", "1.5 KB", "3.2 MB".
QString FileCountText(int count);
QString PublishSizeText(qint64 size);

// A name as one line of text: kept bytes and control characters shown as
// the replacement character, so that no name can split a line.
QString ItemLineName(const QString& name);
// The preview as the output pane and standard output show it.
QStringList PreviewLines(const TPublishPreview& preview, const QString& target);
// "Send N files (SIZE) to TARGET?", with " and remove M files there" when M > 0.
QString SendQuestion(const TPublishPreview& preview, const QString& target);
// After a send that failed or was stopped: how many of the files the
// preview showed are on the target now, from a second dry run (After), or,
// without one, that this is not known. rsync's own lines cannot tell: a
// file it sent may still have failed on the server's side.
QString SentAfterFailureText(const TPublishPreview& before, const TPublishPreview* after,
                             const QString& target);
// What rsync's exit status means, for the message that carries its own text.
QString RsyncFailureText(int exitStatus, const QString& errorText);
