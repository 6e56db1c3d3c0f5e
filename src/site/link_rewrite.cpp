#include "site/link_rewrite.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>

#include "components/file_names.h"
#include "site/site_check.h"
#include "site/site_files.h"
#include "site/site_journal.h"

namespace {

// Pages and style sheets, the files whose references the check reads.
constexpr char kLinkingFiles[] = "*.htm;*.html;*.shtml;*.xhtml;*.php;*.css";

QByteArray FolderOf(const QByteArray& path) { return path.left(path.lastIndexOf('/') + 1); }
QByteArray NameOf(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

// A name as a path segment: what a URL or an HTML attribute could take
// otherwise (blanks, quotes, "&", "#", "?", "%", bytes above 127) escaped.
QByteArray Segment(const QByteArray& name) { return name.toPercentEncoding("!$()*+,;=:@~"); }

QByteArray SegmentsOf(const QByteArray& path) {
  QList<QByteArray> parts = path.split('/');
  for (QByteArray& p : parts) p = Segment(p);
  return parts.join('/');
}

QByteArray RelativeOf(const QByteArray& root, const QString& path) {
  const QByteArray bytes = PathBytes(path);
  return bytes.startsWith(root + '/') ? bytes.mid(root.size() + 1) : bytes;
}

bool IsFolderRef(const TPageReference& r) { return r.Target.isEmpty() || r.Target.endsWith('/'); }

}  // namespace

int TLinkPlan::References() const {
  int n = 0;
  for (const TLinkPage& p : Pages) n += p.References;
  return n;
}

QByteArray RewrittenPath(const QByteArray& written, const QByteArray& pagePath,
                         const QByteArray& oldTarget, const QByteArray& newTarget, bool folderRef) {
  if (FolderOf(oldTarget) == FolderOf(newTarget)) {
    // Only the name changed: only the last segment as written does.
    if (folderRef)
      return written + (written.isEmpty() || written.endsWith('/') ? "" : "/") +
             Segment(NameOf(newTarget));
    return written.left(written.lastIndexOf('/') + 1) + Segment(NameOf(newTarget));
  }
  if (written.startsWith('/')) return '/' + SegmentsOf(newTarget);
  // From the page's folder up to the common folder, then down.
  QList<QByteArray> from = FolderOf(pagePath).split('/');
  QList<QByteArray> to = newTarget.split('/');
  from.removeLast();  // the empty piece after the last "/"
  qsizetype common = 0;
  while (common < from.size() && common + 1 < to.size() && from[common] == to[common]) ++common;
  QByteArray result;
  for (qsizetype i = common; i < from.size(); ++i) result += "../";
  return result + SegmentsOf(to.mid(common).join('/'));
}

TLinkPlan PlanLinkUpdate(const QString& root, const std::vector<TRename>& renames) {
  TLinkPlan plan;
  plan.Root = TSiteJournal::RootKey(root);
  plan.Renames = renames;
  const QByteArray rootBytes = PathBytes(plan.Root);
  QHash<QByteArray, QByteArray> moved;  // old relative path -> new
  for (const TRename& r : renames)
    moved.insert(RelativeOf(rootBytes, r.From), RelativeOf(rootBytes, r.To));
  const QStringList indexPages = DefaultIndexPages();
  auto exists = [&](const QByteArray& rel) {
    return QFileInfo::exists(NameFromBytes(std::string_view(
        (rootBytes + '/' + rel).constData(), std::size_t(rootBytes.size() + 1 + rel.size()))));
  };
  // The renamed index page a folder reference used to open, if any.
  auto indexTarget = [&](const QByteArray& folder) -> QByteArray {
    for (const QString& name : indexPages) {
      const QByteArray candidate = folder + name.toUtf8();
      if (moved.contains(candidate)) {
        // A new name that is itself an index page keeps the folder working.
        const QByteArray to = moved.value(candidate);
        const bool stillIndex =
            FolderOf(to) == folder && indexPages.contains(QString::fromUtf8(NameOf(to)));
        return stillIndex ? QByteArray() : candidate;
      }
      if (exists(candidate)) return {};
    }
    return {};
  };
  for (const QString& path : SiteFiles(plan.Root, QLatin1String(kLinkingFiles), true)) {
    const auto bytes = ReadSiteFile(path);
    if (!bytes) continue;
    const QByteArray rel = RelativeOf(rootBytes, path);
    const bool sheet = path.endsWith(QLatin1String(".css"), Qt::CaseInsensitive);
    QList<TPageReference> refs =
        sheet ? ScanStyleSheet(*bytes, rel) : ScanPage(*bytes, rel).References;
    // The new text is put together in one pass: replacing in place cost a
    // move of the rest of the page per reference (18 s for 1,000 pages of
    // 250 links each).
    std::stable_sort(
        refs.begin(), refs.end(),
        [](const TPageReference& a, const TPageReference& b) { return a.PathBegin < b.PathBegin; });
    QByteArray text;
    qsizetype copied = 0;
    int count = 0;
    for (const TPageReference& r : refs) {
      if (r.External || r.Outside || r.PathBegin == r.PathEnd || r.PathBegin < copied) continue;
      QByteArray oldTarget = r.Target;
      bool folderRef = false;
      if (!moved.contains(oldTarget)) {
        if (!IsFolderRef(r)) continue;
        oldTarget = indexTarget(r.Target);
        if (oldTarget.isEmpty()) continue;
        folderRef = true;
      }
      if (text.isEmpty()) text.reserve(bytes->size() + 1024);
      const QByteArray written = bytes->mid(r.PathBegin, r.PathEnd - r.PathBegin);
      text.append(bytes->constData() + copied, r.PathBegin - copied);
      text.append(RewrittenPath(written, rel, oldTarget, moved.value(oldTarget), folderRef));
      copied = r.PathEnd;
      ++count;
    }
    text.append(bytes->constData() + copied, bytes->size() - copied);
    if (count) plan.Pages.push_back({path, count, text, TSiteJournal::Fingerprint(*bytes)});
  }
  return plan;
}

TSiteChangeResult ApplyLinkUpdate(const TLinkPlan& plan, const QString& what) {
  std::vector<TChangeItem> items;
  for (const TLinkPage& page : plan.Pages)
    items.push_back({page.Path, [&page](const QByteArray& now, QString* why) {
                       if (TSiteJournal::Fingerprint(now) == page.Print)
                         return std::optional<QByteArray>(page.NewText);
                       *why = QStringLiteral("changed on disk since its links were read");
                       return std::optional<QByteArray>();
                     }});
  return ApplySiteChange(plan.Root, QStringLiteral("rename"), what, items, plan.Renames);
}

QString LinkQuestion(const TLinkPlan& plan) {
  const int n = int(plan.Pages.size());
  const QString pages =
      n == 1 ? QStringLiteral("1 page refers") : QStringLiteral("%1 pages refer").arg(n);
  if (plan.Renames.size() == 1)
    return QStringLiteral("%1 to %2. Change their links to %3?")
        .arg(pages, RelativeToRoot(plan.Renames[0].From, plan.Root),
             RelativeToRoot(plan.Renames[0].To, plan.Root));
  return pages + QStringLiteral(" to the renamed files. Change their links to the new names?");
}
