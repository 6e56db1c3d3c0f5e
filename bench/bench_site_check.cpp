// The site check over 2,000 generated pages of about 20 KB: the whole check
// against tidy -q -e run over the same pages one after another, the
// references alone against linkchecker, and the check's peak memory.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <string>

#include "bench.h"
#include "site/site_check.h"

namespace {

constexpr int PageCount = 2000;

QString ShellQuoted(const QString& s) { return "'" + QString(s).replace("'", "'\\''") + "'"; }

bool WriteFile(const QString& path, const std::string& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) &&
         f.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size());
}

// Pages with 20 links among them (most to an anchor), a few images and a
// style sheet; a few pages carry one defect of each kind.
bool WriteSite(const QString& dir) {
  if (!QDir().mkpath(dir + "/img") || !QDir().mkpath(dir + "/sub")) return false;
  const char* words[] = {"garden",  "harvest", "supper", "volunteers", "the",  "and",  "of",
                         "compost", "seeds",   "autumn", "watering",   "rota", "beds", "tools"};
  unsigned seed = 12345;
  auto next = [&seed](unsigned n) { return (seed = seed * 1103515245u + 12345u) / 65536u % n; };
  for (int i = 0; i < 20; ++i)
    if (!WriteFile(QString::asprintf("%s/img/i%02d.png", qPrintable(dir), i),
                   std::string(i == 7 ? 300000 : 2000, 'x')))
      return false;
  if (!WriteFile(dir + "/style.css", "body { background: url(img/i01.png) }\n")) return false;
  for (int p = 0; p < PageCount; ++p) {
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    page += "<title>Page " + std::to_string(p) + "</title>\n";
    page += "<link rel=\"stylesheet\" href=\"style.css\">\n</head>\n<body>\n";
    page += "<h1 id=\"top\">Page " + std::to_string(p) + "</h1>\n";
    char link[160];
    // Every page is linked from the one before it, so only the planted orphan is one.
    std::snprintf(link, sizeof link, "<p><a href=\"page%04d.html\">next</a></p>\n",
                  (p + 1) % PageCount == 1999 ? 0 : (p + 1) % PageCount);
    page += link;
    int links = 0, section = 0;
    while (page.size() < 20000) {
      page += "<p id=\"s" + std::to_string(section++) + "\">";
      for (int w = 0; w < 50; ++w) page += std::string(words[next(14)]) + ' ';
      if (links < 19) {
        std::snprintf(link, sizeof link, "<a href=\"page%04d.html#s%u\">see %d</a> ", next(1999),
                      next(5), links++);
        page += link;
      }
      if (next(10) == 0) {
        std::snprintf(link, sizeof link, "<img src=\"img/i%02u.png\" alt=\"\"> ", next(20));
        page += link;
      }
      page += "</p>\n";
    }
    if (p == 10) page += "<p><a href=\"missing.html\">broken</a></p>\n";
    if (p == 11) page += "<p><a href=\"Page0001.html\">case</a></p>\n";
    if (p == 12) page += "<p><a href=\"page0002.html#nowhere\">fragment</a></p>\n";
    if (p == 13) page += "<p><a href=\"../outside.html\">outside</a></p>\n";
    if (p == 14) page += "<foo>unknown element</foo>\n";
    if (p == 15) page += "<p>a bell \x07 rings</p>\n";
    page += "</body>\n</html>\n";
    if (!WriteFile(QString::asprintf("%s/page%04d.html", qPrintable(dir), p), page)) return false;
  }
  return WriteFile(dir + "/index.html",
                   "<!DOCTYPE html>\n<html><head><title>Home</title></head><body>"
                   "<a href=\"page0000.html\">start</a></body></html>\n");
}

// linkchecker reads as the user nobody when run as root: every folder on the
// way must let it in.
void OpenToAll(const QString& dir) {
  for (QString d = dir; d != "/" && !d.isEmpty(); d = QFileInfo(d).path())
    ::chmod(QFile::encodeName(d).constData(), 0755);
}

}  // namespace

QUILLMERE_BENCH(site_check) {
  const QString dir = BenchDir() + "/check-site";
  if (!WriteSite(dir)) {
    std::printf("cannot write the generated site\n");
    return;
  }
  OpenToAll(dir);
  TCheckOptions all;
  all.Root = dir;
  all.Warnings = false;
  TCheckResult result;
  const long long peak = PeakGrowthBytes([&] { result = RunSiteCheck(all); });
  std::printf("%d pages, %zu findings: %s\n", result.Pages, result.Findings.size(),
              qPrintable(CheckCountsLine(result, AllCheckKinds)));
  const double whole = MedianSeconds(3, [&] { RunSiteCheck(all); });
  if (QStandardPaths::findExecutable("tidy").isEmpty()) {
    std::printf("tidy is not installed: the whole-check row is skipped\n");
  } else {
    const double tidy = MedianShellSeconds(
        1, "cd " + ShellQuoted(dir) +
               " && for f in *.html; do tidy -q -e \"$f\"; done >/dev/null 2>&1");
    PrintRatio("whole check vs tidy -q -e", whole, tidy, 1.2);
  }
  TCheckOptions refs = all;
  refs.Kinds = AllCheckKinds & ~KindBit(ckHtml) & ~KindBit(ckCharacter);
  const double ours = MedianSeconds(3, [&] { RunSiteCheck(refs); });
  if (QStandardPaths::findExecutable("linkchecker").isEmpty()) {
    std::printf("linkchecker is not installed (make bench installs it): its row is skipped\n");
  } else {
    const double theirs = MedianShellSeconds(
        1, "linkchecker --no-warnings --no-status file://" + dir + "/index.html >/dev/null 2>&1");
    PrintRatio("references vs linkchecker", ours, theirs, 0.15);
  }
  std::printf("peak memory of the whole check: %.1f MB\n", double(peak) / (1024 * 1024));
}
