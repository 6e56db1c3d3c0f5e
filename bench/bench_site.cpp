// The site engine: a listing of 100,000 files in 1,000 folders (the site
// window's second run: date, size, attributes, full names) against find, and
// quillmere-site robots over 2,000 pages of 50 KB against grep -l -i.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <cstdio>
#include <string>

#include "bench.h"
#include "site/file_manager.h"

namespace {

QString ShellQuoted(const QString& s) { return "'" + QString(s).replace("'", "'\\''") + "'"; }

QString SiteProgram() { return QCoreApplication::applicationDirPath() + "/../quillmere-site"; }

// 10 folders of 100 sub-folders of 100 small pages each.
bool WriteTree(const QString& dir) {
  for (int top = 0; top < 10; ++top)
    for (int sub = 0; sub < 100; ++sub) {
      const QString folder = QString::asprintf("%s/d%02d/s%02d", qPrintable(dir), top, sub);
      if (!QDir().mkpath(folder)) return false;
      for (int f = 0; f < 100; ++f) {
        QFile file(QString::asprintf("%s/page%03d.htm", qPrintable(folder), f));
        if (!file.open(QIODevice::WriteOnly)) return false;
        file.write(QByteArray(f * 7, 'x'));
      }
    }
  return true;
}

// Peak resident memory of the largest child waited for so far.
long long PeakChildRssBytes() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<long long>(usage.ru_maxrss) * 1024;
}

// Pages of HTML-like lines; one page in ten carries a robots line, half of
// them on one line with noindex.
bool WritePages(const QString& dir) {
  std::string body;
  while (body.size() < 50 * 1000) body += "  <p>the site page with a link and some text in it</p>\r\n";
  for (int p = 0; p < 2000; ++p) {
    std::string page = "<html><head>\r\n";
    if (p % 10 == 0) page += p % 20 ? "<meta name=\"robots\" content=\"noindex\">\r\n"
                                    : "<meta name=\"robots\" content=\"index\">\r\n";
    page += body;
    QFile f(QString::asprintf("%s/page%04d.htm", qPrintable(dir), p));
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(page.data(), qint64(page.size()));
  }
  return true;
}

}  // namespace

QUILLMERE_BENCH(site_listing) {
  const QString dir = BenchDir() + "/tree";
  if (!WriteTree(dir)) {
    std::printf("  could not write the tree\n");
    return;
  }
  TZELFileManager manager;
  manager.SetWorkingDir(dir);
  manager.SetOptions(fmShowDate | fmShowSize | fmShowAttribs | fmShowFullName | fmIncludeSubDirs);
  manager.List();  // both read from a warm cache
  const double ours = MedianSeconds(5, [&] { manager.List(); });
  const QString find = "find " + ShellQuoted(dir) +
                       " -type f -printf '%TY-%Tm-%Td %TH:%TM %s %p\\n' > " +
                       ShellQuoted(BenchDir() + "/find-out.txt");
  const double baseline = MedianShellSeconds(5, find);
  std::printf("  %d lines listed\n", manager.FileCount());
  PrintRatio("site listing 100,000 files", ours, baseline, 1.5);

  QProcess p;
  p.setStandardOutputFile(QProcess::nullDevice());
  p.start(SiteProgram(), {"list", dir});
  p.waitForFinished(-1);
  // The largest child so far: find and the shell stay far below it.
  std::printf("  quillmere-site list of the tree: peak memory %.1f MB\n", PeakChildRssBytes() / 1e6);
}

QUILLMERE_BENCH(site_robots) {
  const QString dir = BenchDir() + "/pages";
  if (!QDir().mkpath(dir) || !WritePages(dir)) {
    std::printf("  could not write the pages\n");
    return;
  }
  const QString ours = ShellQuoted(SiteProgram()) + " robots " + ShellQuoted(dir) + " > " +
                       ShellQuoted(BenchDir() + "/robots.txt");
  const QString grep = "cd " + ShellQuoted(dir) + " && LC_ALL=C grep -l -i robots -- *.htm > " +
                       ShellQuoted(BenchDir() + "/grep-out.txt");
  MedianShellSeconds(1, ours);
  const double ourSeconds = MedianShellSeconds(5, ours);
  const double grepSeconds = MedianShellSeconds(5, grep);
  PrintRatio("quillmere-site robots", ourSeconds, grepSeconds, 1.5);
}
