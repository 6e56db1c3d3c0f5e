// Where a reference lands on disk: the file itself, a folder's index page,
// the same name in another letter case, or nothing.
#include <dirent.h>
#include <sys/stat.h>

#include <QFile>
#include <memory>

#include "doc/file_names.h"
#include "site/site_check_internal.h"

namespace {

QByteArray Joined(const QByteArray& folder, const QByteArray& name) {
  return folder.isEmpty() ? name : folder + '/' + name;
}

QString CaseFolded(const QByteArray& name) {
  return NameFromBytes(std::string_view(name.constData(), size_t(name.size()))).toCaseFolded();
}

QString Quoted(const QByteArray& bytes) { return u'"' + QString::fromUtf8(bytes) + u'"'; }

struct TDirCloser {
  void operator()(DIR* d) const { ::closedir(d); }
};

}  // namespace

TTargetResolver::TTargetResolver(const QByteArray& rootNative, const QStringList& indexPages)
    : FRoot(rootNative.endsWith('/') ? rootNative.chopped(1) : rootNative) {
  for (const QString& page : indexPages)
    if (!page.trimmed().isEmpty()) FIndexPages.append(PathBytes(page.trimmed()));
}

QByteArray TTargetResolver::NativeOf(const QByteArray& relative) const {
  return relative.isEmpty() ? (FRoot.isEmpty() ? QByteArray("/") : FRoot) : FRoot + '/' + relative;
}

TTargetState TTargetResolver::Lookup(const QByteArray& target) {
  const auto it = FCache.constFind(target);
  if (it != FCache.constEnd()) return *it;
  const TTargetState state = LookupUncached(target);
  FCache.insert(target, state);
  return state;
}

TTargetState TTargetResolver::LookupUncached(const QByteArray& target) {
  const bool folderRef = target.isEmpty() || target.endsWith('/');
  const QByteArray path = folderRef && !target.isEmpty() ? target.chopped(1) : target;
  TTargetState state;
  struct stat st;
  if (::stat(NativeOf(path).constData(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      state.Kind = IndexOf(path, &state.Resolved) ? TTargetState::tsFound : TTargetState::tsNoIndex;
      if (state.Kind == TTargetState::tsNoIndex) state.Resolved = path;
      return state;
    }
    // "page.html/" names no file on a web server.
    if (!folderRef) {
      state.Kind = TTargetState::tsFound;
      state.Resolved = path;
    }
    return state;
  }
  const QByteArray real = CaseMatch(path);
  if (real.isEmpty()) return state;
  state.Kind = TTargetState::tsCase;
  state.RealName = real;
  if (::stat(NativeOf(real).constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
      !IndexOf(real, &state.Resolved))
    state.Resolved = real;
  return state;
}

bool TTargetResolver::IndexOf(const QByteArray& folder, QByteArray* page) {
  struct stat st;
  for (const QByteArray& name : FIndexPages) {
    const QByteArray candidate = Joined(folder, name);
    if (::stat(NativeOf(candidate).constData(), &st) == 0 && !S_ISDIR(st.st_mode)) {
      *page = candidate;
      return true;
    }
  }
  return false;
}

QByteArray TTargetResolver::CaseMatch(const QByteArray& relative) {
  QByteArray current;
  bool changed = false;
  struct stat st;
  for (const QByteArray& segment : relative.split('/')) {
    const QByteArray exact = Joined(current, segment);
    if (::lstat(NativeOf(exact).constData(), &st) == 0) {
      current = exact;
      continue;
    }
    const QString folded = CaseFolded(segment);
    QByteArray found;
    for (const QByteArray& name : Listing(current))
      if (CaseFolded(name) == folded) {
        found = name;
        break;
      }
    if (found.isEmpty()) return {};
    current = Joined(current, found);
    changed = true;
  }
  return changed ? current : QByteArray();
}

const QList<QByteArray>& TTargetResolver::Listing(const QByteArray& folder) {
  const auto it = FListings.constFind(folder);
  if (it != FListings.constEnd()) return *it;
  QList<QByteArray> names;
  const std::unique_ptr<DIR, TDirCloser> dir(::opendir(NativeOf(folder).constData()));
  if (dir)
    while (const dirent* entry = ::readdir(dir.get())) {
      const QByteArray name(entry->d_name);
      if (name != "." && name != "..") names.append(name);
    }
  return *FListings.insert(folder, names);
}

QString BrokenMessage(const TPageReference& ref, const TTargetState& state) {
  if (state.Kind == TTargetState::tsNoIndex)
    return QStringLiteral("link to %1: the folder has no index page").arg(Quoted(ref.Text));
  return QStringLiteral("link to %1: no such file").arg(Quoted(ref.Text));
}

QString CaseMessage(const TPageReference& ref, const TTargetState& state) {
  return QStringLiteral(
             "link to %1: the file is %2 on disk; the letter case differs, so a web server "
             "that tells case apart will not find it (as after the site window's Convert)")
      .arg(Quoted(ref.Text), Quoted(state.RealName));
}

QString FragmentMessage(const TPageReference& ref, const QByteArray& page) {
  return QStringLiteral("link to %1: %2 has no element with id or name %3")
      .arg(Quoted(ref.Text), Quoted(page), Quoted(ref.Fragment));
}

QString OutsideMessage(const TPageReference& ref) {
  return QStringLiteral("link to %1 climbs above the site's root folder").arg(Quoted(ref.Text));
}
