#include "app/page_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "components/file_names.h"
#include "doc/stale_temporaries.h"

namespace {

struct TDirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

// Calls take(name, kind) for every entry of folder but "." and ".."; kind is
// the entry's own type (S_IFREG, S_IFDIR ...), a symbolic link's target's.
// Read with readdir and its entry types, so a folder of 100,000 files costs
// a stat only for links and on file systems that give no type.
template <typename Take>
void ReadFolder(const QString& folder, Take take) {
  const std::unique_ptr<DIR, TDirCloser> dir(::opendir(PathBytes(folder).constData()));
  if (!dir) return;
  const int fd = ::dirfd(dir.get());
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    mode_t kind = entry->d_type == DT_REG ? S_IFREG : entry->d_type == DT_DIR ? S_IFDIR : 0;
    struct stat info {};
    if (kind == 0 && (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
        ::fstatat(fd, entry->d_name, &info, 0) == 0)
      kind = info.st_mode & S_IFMT;
    take(fd, entry->d_name, kind);
  }
}

// Without regard to letter case, then exactly, so the order is one order.
// Sorted on byte keys (the folded name, a NUL, the name), all kept in one
// buffer and sorted by place: comparing QStrings took 30% of listing a
// folder of 100,000, a string per key half the rest. An ASCII name, nearly
// every one, gets its key byte by byte: the same key, at a fifth of the cost.
void AppendSortKey(const QString& name, std::string& keys) {
  const std::size_t n = std::size_t(name.size());
  const std::size_t at = keys.size();
  keys.resize(at + n * 2 + 1);
  char* key = keys.data() + at;
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t c = name[qsizetype(i)].unicode();
    if (c >= 0x80) {
      keys.resize(at);
      keys += (name.toCaseFolded().toUtf8() + '\0' + name.toUtf8()).toStdString();
      return;
    }
    key[i] = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
    key[n + 1 + i] = char(c);
  }
  key[n] = '\0';
}

// The first 16 bytes of a key, in an order that compares as the bytes do,
// decide most comparisons without reaching into the key buffer.
struct TSortEntry {
  std::uint64_t Head[2];
  std::uint32_t Index;
};

std::uint64_t BigEndianAt(std::string_view key, std::size_t from) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < 8; ++i)
    v = v << 8 | (from + i < key.size() ? static_cast<unsigned char>(key[from + i]) : 0);
  return v;
}

void SortNames(QStringList& names) {
  std::string keys;
  std::vector<std::size_t> starts;
  starts.reserve(std::size_t(names.size()) + 1);
  for (const QString& name : names) {
    starts.push_back(keys.size());
    AppendSortKey(name, keys);
  }
  starts.push_back(keys.size());
  const auto key = [&](std::uint32_t i) {
    return std::string_view(keys).substr(starts[i], starts[i + 1] - starts[i]);
  };
  std::vector<TSortEntry> order(std::size_t(names.size()));
  for (std::uint32_t i = 0; i < order.size(); ++i)
    order[i] = {{BigEndianAt(key(i), 0), BigEndianAt(key(i), 8)}, i};
  // A key shorter than 16 bytes is padded with NULs; equal heads then fall
  // back to the whole keys, which tell "a" from "a\0".
  std::sort(order.begin(), order.end(), [&](const TSortEntry& a, const TSortEntry& b) {
    if (a.Head[0] != b.Head[0]) return a.Head[0] < b.Head[0];
    if (a.Head[1] != b.Head[1]) return a.Head[1] < b.Head[1];
    return key(a.Index) < key(b.Index);
  });
  QStringList sorted;
  sorted.reserve(names.size());
  for (const TSortEntry& e : order) sorted << std::move(names[e.Index]);
  names = std::move(sorted);
}

// A mask of the file list. The usual "*.ext" and "*.ext*" of ASCII text are
// matched as an ending or a part of the name: a regular expression for
// each of 100,000 names took a tenth of showing the folder.
class TMask {
 public:
  explicit TMask(const QString& mask) {
    const QString inner = mask.mid(1, mask.endsWith('*') ? mask.size() - 2 : -1);
    const bool plain =
        mask.size() > 1 && mask.startsWith('*') &&
        std::all_of(inner.begin(), inner.end(), [](QChar c) {
          return c.unicode() < 0x80 && c != '*' && c != '?' && c != '[' && c != ']' && c != '\\';
        });
    if (plain && !inner.isEmpty()) {
      FLiteral = inner;
      FAnywhere = mask.endsWith('*');
    } else {
      FExpression = QRegularExpression(QRegularExpression::wildcardToRegularExpression(mask),
                                       QRegularExpression::CaseInsensitiveOption);
    }
  }
  bool Matches(const QString& name) const {
    if (FLiteral.isEmpty()) return FExpression.match(name).hasMatch();
    return FAnywhere ? name.indexOf(FLiteral, 0, Qt::CaseInsensitive) >= 0
                     : name.endsWith(FLiteral, Qt::CaseInsensitive);
  }

 private:
  QString FLiteral;  // empty where the expression decides
  bool FAnywhere = false;
  QRegularExpression FExpression;
};

// Whether the folder certainly holds no sub-folder: where the file system
// counts them in the folder's link count (2 means none), the folder of
// 100,000 pages need not be read a second time for the folder tree. Other
// file systems (btrfs gives 1) are read.
bool HasNoSubfolders(const QString& folder) {
  const QByteArray path = PathBytes(folder);
  struct stat info {};
  struct statfs fs {};
  if (::stat(path.constData(), &info) != 0 || info.st_nlink != 2 ||
      ::statfs(path.constData(), &fs) != 0)
    return false;
  constexpr long kExt = 0xEF53, kTmpfs = 0x01021994, kXfs = 0x58465342;
  return fs.f_type == kExt || fs.f_type == kTmpfs || fs.f_type == kXfs;
}

}  // namespace

QStringList SplitMasks(const QString& maskText) {
  QStringList masks;
  for (const QString& m : maskText.split(';')) {
    const QString t = m.trimmed();
    if (!t.isEmpty() && !masks.contains(t, Qt::CaseInsensitive)) masks << t;
  }
  return masks;
}

QStringList ListPageFiles(const QString& folder, const QString& maskText,
                          QStringList* temporaries) {
  const QStringList masks = SplitMasks(maskText);
  if (folder.isEmpty() || masks.isEmpty()) return {};
  std::vector<TMask> patterns;
  for (const QString& mask : masks) patterns.emplace_back(mask);
  QStringList names;
  // Hidden files, devices, sockets, pipes and folders stay out; letter case
  // does not decide a match. A file that cannot be read is listed, and
  // opening it says why: asking each file took 150 ms of 350 in a folder of
  // 100,000.
  ReadFolder(folder, [&](int, const char* raw, mode_t kind) {
    if (kind != S_IFREG) return;
    if (raw[0] == '.') {
      if (temporaries && LooksLikeTemporary(raw)) *temporaries << NameFromBytes(raw);
      return;
    }
    const QString name = NameFromBytes(raw);
    // The expressions take valid text only.
    const QString shown = ShownName(name);
    if (std::any_of(patterns.begin(), patterns.end(),
                    [&](const TMask& m) { return m.Matches(shown); }))
      names << name;
  });
  SortNames(names);
  return names;
}

QStringList ListSubfolders(const QString& folder) {
  QStringList names;
  if (HasNoSubfolders(folder)) return names;
  ReadFolder(folder, [&](int, const char* raw, mode_t kind) {
    if (kind == S_IFDIR && raw[0] != '.') names << NameFromBytes(raw);
  });
  SortNames(names);
  return names;
}

int PageRowFor(const QStringList& names, const QString& name) {
  // Letter case tells files apart here: Index.html must not stand in for
  // an index.html that is there.
  if (const qsizetype exact = names.indexOf(name); exact >= 0) return static_cast<int>(exact);
  for (qsizetype i = 0; i < names.size(); ++i)
    if (names[i].compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  const QString part = name.contains('~') ? name.left(name.indexOf('~')) : QString();
  for (qsizetype i = 0; i < names.size(); ++i)
    if (names[i] >= part) return static_cast<int>(i);
  return -1;
}

QString SaveAsTarget(const QString& chosen) {
  const QFileInfo info(chosen);
  return info.absolutePath() + u'/' + info.fileName().toLower();
}
