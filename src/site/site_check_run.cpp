// The site check's run: the engine's walk, the pages read side by side, then
// every reference looked up, the orphans and the heavy images.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <mutex>
#include <thread>

#include "doc/file_names.h"
#include "site/file_manager.h"
#include "site/site_check_internal.h"
#include "site/site_check_rules.h"
#include "site/site_listing.h"
#include "site/test_page.h"

namespace {

const char* const ImageSuffixes[] = {".jpg",  ".jpeg", ".gif", ".png", ".webp", ".svg",
                                     ".avif", ".bmp",  ".ico", ".tif", ".tiff"};

bool IsImage(const QString& name) {
  for (const char* suffix : ImageSuffixes)
    if (name.endsWith(QLatin1String(suffix), Qt::CaseInsensitive)) return true;
  return false;
}

bool Stopping(const std::atomic<bool>* stop) { return stop && stop->load(); }

// The engine's mask rule, checked here so that no message window opens from
// a worker thread; the text is the one the site window shows.
bool MaskIsLegal(const QString& mask, QString* error) {
  static const QString allowed = QStringLiteral("ABCEDFGHIJKLMNOPQRSTUVWXYZ01234567890_-*?.");
  for (qsizetype i = 0; i < mask.size(); ++i)
    if (!allowed.contains(mask[i].toUpper())) {
      *error =
          QStringLiteral("Error in SearchMask at position %1 (\"%2\").").arg(i + 1).arg(mask[i]);
      return false;
    }
  return true;
}

struct TWalk {
  QString Root;
  std::vector<TWalkedFile> Files;  // pages and style sheets that match the mask
  QStringList Images;              // relative names
  QString Error;
};

// Every file of the tree, hidden ones left out: read-only pages are pages
// too, and a check that skipped them would report a clean site falsely.
TWalk Walk(const TCheckOptions& options) {
  TWalk walk;
  if (!MaskIsLegal(options.Mask, &walk.Error)) return walk;
  TZELFileManager manager;
  manager.setObjectName(QStringLiteral("ifmManager"));
  manager.OnError = [&walk](QObject*, TZELFMErrorCode code, const QString& argument) {
    walk.Error = QStringLiteral("ifmManager: Error #%1 occured.\nMessage: %2.\n(%3)")
                     .arg(int(code))
                     .arg(FMErrorText(code), argument);
  };
  manager.SetWorkingDir(options.Root.isEmpty() ? options.Root : QDir(options.Root).absolutePath());
  manager.SetSearchMask(QStringLiteral("*.*"));
  manager.SetSysFiles(true);
  manager.SetOptions(fmShowFullName | (options.SubDirs ? fmIncludeSubDirs : 0));
  manager.List();
  if (!walk.Error.isEmpty()) return walk;
  walk.Root = ListingRoot(manager);
  const QString mask = options.Mask.isEmpty() ? QStringLiteral("*.*") : options.Mask;
  for (const QString& path : manager.ResultList()) {
    const QString name = RelativeLine(path, walk.Root);
    const QString fileName = name.mid(name.lastIndexOf(u'/') + 1);
    if (fileName.startsWith(u'.')) continue;
    if (IsImage(fileName)) walk.Images.append(name);
    const bool sheet = fileName.endsWith(QLatin1String(".css"), Qt::CaseInsensitive);
    if (!MatchesMask(fileName, mask) || !(sheet || IsPage(fileName))) continue;
    walk.Files.push_back({name, PathBytes(name), PathBytes(path), sheet});
  }
  return walk;
}

// Reads the files on Threads threads; each result lands in its own slot.
std::vector<TFileWork> ReadFiles(const TWalk& walk, const TCheckOptions& options,
                                 const TCheckProgress& progress, const std::atomic<bool>* stop) {
  const int total = int(walk.Files.size());
  std::vector<TFileWork> works(walk.Files.size());
  std::atomic<int> next{0};
  int done = 0;
  std::mutex progressMutex;
  auto worker = [&] {
    for (int i = next++; i < total && !Stopping(stop); i = next++) {
      works[size_t(i)] = CheckOneFile(walk.Files[size_t(i)], options);
      const std::lock_guard<std::mutex> lock(progressMutex);
      ++done;
      if (progress) progress(done, total);
    }
  };
  int threads = options.Threads > 0 ? options.Threads : int(std::thread::hardware_concurrency());
  threads = std::clamp(threads, 1, std::max(1, std::min(total, 8)));
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
  worker();
  for (std::thread& t : pool) t.join();
  return works;
}

// The reference findings, the orphans and the fragments, in one pass over
// every reference.
class TReferencePass {
 public:
  TReferencePass(const TWalk& walk, std::vector<TFileWork>& works, const TCheckOptions& options,
                 TCheckResult& result)
      : W(walk),
        Works(works),
        O(options),
        R(result),
        Resolver(PathBytes(walk.Root), options.IndexPages) {
    for (size_t i = 0; i < W.Files.size(); ++i)
      if (!W.Files[i].StyleSheet) PageIndex.insert(W.Files[i].Relative, int(i));
  }

  void Run(const std::atomic<bool>* stop) {
    for (size_t i = 0; i < W.Files.size() && !Stopping(stop); ++i)
      for (const TPageReference& ref : Works[i].Scan.References) Check(W.Files[i], ref);
    // A page that only unread pages link to is no orphan: after a stop, none is reported.
    if ((O.Kinds & KindBit(ckOrphan)) && !Stopping(stop)) Orphans();
  }

 private:
  void Add(const TWalkedFile& file, const TPageReference& ref, TCheckKind kind, QString message) {
    if (O.Kinds & KindBit(kind))
      R.Findings.push_back(
          {file.Name, ref.Line, ref.Column, kind, std::move(message), ref.PathBegin, 0});
  }

  void Check(const TWalkedFile& file, const TPageReference& ref) {
    if (ref.External) {
      ++R.ExternalReferences;
      return;
    }
    ++R.References;
    if (ref.Outside) return Add(file, ref, ckOutside, OutsideMessage(ref));
    const TTargetState state = Resolver.Lookup(ref.Target);
    if (state.Kind == TTargetState::tsMissing || state.Kind == TTargetState::tsNoIndex)
      return Add(file, ref, ckBroken, BrokenMessage(ref, state));
    if (state.Kind == TTargetState::tsCase) Add(file, ref, ckCase, CaseMessage(ref, state));
    if (!file.StyleSheet && state.Resolved != file.Relative) Referenced.insert(state.Resolved);
    if (ref.HasFragment && ref.Source != rsCss && (O.Kinds & KindBit(ckFragment)) &&
        !ref.Fragment.isEmpty() && ref.Fragment.toLower() != "top" &&
        IsPage(QString::fromLatin1(state.Resolved.right(5))) &&
        !Anchors(state.Resolved).contains(ref.Fragment))
      Add(file, ref, ckFragment, FragmentMessage(ref, state.Resolved));
  }

  // The ids and <a name>s of a page: from the walk, or read now for a page
  // the mask left out.
  const QSet<QByteArray>& Anchors(const QByteArray& page) {
    const auto it = AnchorSets.constFind(page);
    if (it != AnchorSets.constEnd()) return *it;
    QSet<QByteArray> names;
    const int index = PageIndex.value(page, -1);
    QList<TPageAnchor> anchors;
    if (index >= 0) {
      anchors = Works[size_t(index)].Scan.Anchors;
    } else {
      QByteArray bytes;
      QString reason;
      bool regular = true;
      if (ReadWholeFile(PathBytes(W.Root) + '/' + page, &bytes, &reason, &regular))
        anchors = ScanPage(bytes, page).Anchors;
    }
    for (const TPageAnchor& a : anchors) names.insert(a.Name);
    return *AnchorSets.insert(page, names);
  }

  void Orphans() {
    QSet<QByteArray> rootIndexes;
    for (const QString& name : O.IndexPages) rootIndexes.insert(PathBytes(name.trimmed()));
    for (size_t i = 0; i < W.Files.size(); ++i) {
      const TWalkedFile& f = W.Files[i];
      if (f.StyleSheet || !Works[i].Read || Referenced.contains(f.Relative) ||
          rootIndexes.contains(f.Relative))
        continue;
      R.Findings.push_back({f.Name, 1, 1, ckOrphan,
                            QStringLiteral("no other page of the site links to this page"), -1, 0});
    }
  }

  const TWalk& W;
  std::vector<TFileWork>& Works;
  const TCheckOptions& O;
  TCheckResult& R;
  TTargetResolver Resolver;
  QHash<QByteArray, int> PageIndex;
  QHash<QByteArray, QSet<QByteArray>> AnchorSets;
  QSet<QByteArray> Referenced;
};

QString KiloBytes(qint64 bytes) { return QString::number((bytes + 1023) / 1024) + " KB"; }

std::vector<TCheckFinding> HeavyImages(const TWalk& walk, qint64 limit) {
  std::vector<TCheckFinding> images;
  struct stat st;
  for (const QString& name : walk.Images) {
    const QByteArray path = PathBytes(walk.Root + u'/' + name);
    if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= limit) continue;
    images.push_back({name, 1, 1, ckImage,
                      QStringLiteral("image of %1, above the limit of %2")
                          .arg(KiloBytes(st.st_size), KiloBytes(limit)),
                      -1, qint64(st.st_size)});
  }
  std::stable_sort(images.begin(), images.end(),
                   [](const TCheckFinding& a, const TCheckFinding& b) { return a.Size > b.Size; });
  return images;
}

}  // namespace

TCheckResult RunSiteCheck(const TCheckOptions& options, const TCheckProgress& progress,
                          const std::atomic<bool>* stop) {
  TCheckResult result;
  const TWalk walk = Walk(options);
  if (!walk.Error.isEmpty()) {
    result.Error = walk.Error;
    return result;
  }
  std::vector<TFileWork> works = ReadFiles(walk, options, progress, stop);
  for (size_t i = 0; i < works.size(); ++i) {
    if (works[i].Read) ++(walk.Files[i].StyleSheet ? result.StyleSheets : result.Pages);
    for (TCheckFinding& f : works[i].Findings) result.Findings.push_back(std::move(f));
  }
  TReferencePass(walk, works, options, result).Run(stop);
  std::stable_sort(result.Findings.begin(), result.Findings.end(),
                   [](const TCheckFinding& a, const TCheckFinding& b) {
                     if (a.Page != b.Page) return a.Page < b.Page;
                     if (a.Line != b.Line) return a.Line < b.Line;
                     if (a.Column != b.Column) return a.Column < b.Column;
                     return a.Kind < b.Kind;
                   });
  if (options.Kinds & KindBit(ckImage))
    for (TCheckFinding& f : HeavyImages(walk, options.ImageLimit))
      result.Findings.push_back(std::move(f));
  result.Stopped = Stopping(stop);
  return result;
}
