#include "site/robots.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "components/date_func.h"
#include "components/errors.h"
#include "components/file_names.h"
#include "site/site_names.h"
#include "site/test_page.h"

namespace {

QString ReadFailure(const QString& fileName, int error) {
  return QStringLiteral("Cannot read \"%1\": %2")
      .arg(ShownName(fileName), QString::fromLocal8Bit(std::strerror(error)));
}

QByteArray ReadWhole(const QString& fileName) {
  const int fd =
      ::open(PathBytes(fileName).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) throw EInOutError(ReadFailure(fileName, errno));
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int error = S_ISDIR(st.st_mode) ? EISDIR : errno ? errno : EINVAL;
    ::close(fd);
    throw EInOutError(ReadFailure(fileName, error));
  }
  QByteArray bytes;
  // One byte more than the size, so the read that meets the end needs no growth.
  bytes.resize(qsizetype(st.st_size) + 1);
  qsizetype done = 0;
  while (true) {
    if (done == bytes.size()) bytes.resize(done + 65536);
    const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      throw EInOutError(ReadFailure(fileName, error));
    }
    if (n == 0) break;
    done += n;
  }
  ::close(fd);
  bytes.truncate(done);
  return bytes;
}

// A search without regard to ASCII letter case, led by one rare letter of
// the pattern found with memchr in both its cases: a page is scanned at
// grep's pace (lower-casing each page first made robots.txt three times
// slower than grep, a Horspool skip still twice).
class TFoldedSearch {
 public:
  TFoldedSearch(std::string_view pattern, size_t anchor)
      : FPattern(pattern), FAnchor(anchor), FSmall(pattern[anchor]), FCapital(char(FSmall - 32)) {}

  std::string_view::size_type Find(std::string_view text, std::string_view::size_type from) const {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* small = nullptr;
    const char* capital = nullptr;
    for (const char* p = begin + std::min(from + FAnchor, text.size()); p < end;) {
      if (!small || small < p) small = Next(p, end, FSmall);
      if (!capital || capital < p) capital = Next(p, end, FCapital);
      const char* hit = std::min(small, capital);
      if (hit == end) break;
      const size_t at = size_t(hit - begin) - FAnchor;
      if (hit - begin >= qsizetype(FAnchor) && at + FPattern.size() <= text.size() &&
          Matches(begin + at))
        return at;
      p = hit + 1;
    }
    return std::string_view::npos;
  }

 private:
  static const char* Next(const char* from, const char* end, char c) {
    const void* found = std::memchr(from, c, size_t(end - from));
    return found ? static_cast<const char*>(found) : end;
  }
  bool Matches(const char* at) const {
    for (size_t i = 0; i < FPattern.size(); ++i) {
      const char c = at[i] >= 'A' && at[i] <= 'Z' ? char(at[i] + 32) : at[i];
      if (c != FPattern[i]) return false;
    }
    return true;
  }
  std::string_view FPattern;  // small letters
  size_t FAnchor;
  char FSmall, FCapital;
};

QString XmlEscaped(const QString& text) { return text.toHtmlEscaped().replace(u'\'', "&apos;"); }

}  // namespace

bool PageSaysNoIndex(const QString& fileName) {
  const QByteArray bytes = ReadWhole(fileName);
  const std::string_view text(bytes.constData(), size_t(bytes.size()));
  static const TFoldedSearch robots("robots", 2);
  static const TFoldedSearch noindex("noindex", 6);
  // Only lines holding "robots" can qualify: jump from one to the next
  // rather than split the whole page into lines.
  std::string_view::size_type at = 0;
  while ((at = robots.Find(text, at)) != std::string_view::npos) {
    const auto begin = text.find_last_of("\r\n", at);
    const auto start = begin == std::string_view::npos ? 0 : begin + 1;
    auto end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    if (noindex.Find(text.substr(start, end - start), 0) != std::string_view::npos) return true;
    at = end;
  }
  return false;
}

QStringList WriteRobots(const QStringList& pages, const QString& localRoot, QString* failure) {
  QStringList lines{QStringLiteral("User-agent: *")};
  const QString root = localRoot.endsWith(u'/') ? localRoot : localRoot + u'/';
  for (const QString& page : pages) {
    if (!IsPage(page)) continue;
    try {
      if (PageSaysNoIndex(root + page))
        lines.append(QStringLiteral("Disallow: /") + AddressPath(page));
    } catch (const EInOutError& e) {
      if (failure) *failure = e.Message;
      break;
    }
  }
  return lines;
}

QStringList WriteSitemap(const QStringList& pages, const QString& localRoot,
                         const QString& remoteRoot, QString* failure) {
  const QString root = localRoot.endsWith(u'/') ? localRoot : localRoot + u'/';
  const QString remote = RemoteRootWithSlash(remoteRoot);
  QStringList lines{
      QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"),
      QStringLiteral("<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">")};
  for (const QString& page : pages) {
    if (!IsPage(page)) continue;
    try {
      if (PageSaysNoIndex(root + page)) continue;
    } catch (const EInOutError& e) {
      if (failure) *failure = e.Message;
      return {};
    }
    const QDateTime modified = GetFileDate(root + page).toUTC();
    lines << QStringLiteral("  <url>")
          << QStringLiteral("    <loc>%1</loc>").arg(XmlEscaped(remote + EncodedUrlPath(page)))
          << QStringLiteral("    <lastmod>%1</lastmod>")
                 .arg(modified.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")))
          << QStringLiteral("  </url>");
  }
  lines << QStringLiteral("</urlset>");
  return lines;
}
