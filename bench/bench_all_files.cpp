// The all-files search over a site of 2,000 pages, 100 MB in all, until the
// results list is filled, against grep (in the C locale, its fastest) and
// ripgrep on one thread over the same files.
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QProcess>
#include <cstdio>
#include <random>
#include <string>

#include "bench.h"
#include "search/all_files_search.h"
#include "search/results_window.h"

namespace {

constexpr int kPages = 2000;
constexpr int kPageBytes = 50 * 1000;

// Pages of HTML-like lines ending in CR LF; about one line in 500 holds the
// searched word, in one of three letter cases.
QStringList WriteSite(const QString& dir) {
  static const char* const words[] = {"the",  "and",  "of",   "to",   "in",    "is",   "a",
                                      "for",  "on",   "that", "with", "class", "href", "page",
                                      "site", "text", "link", "div",  "table", "quill"};
  static const char* const marks[] = {"Quillword", "QUILLWORD", "quillword"};
  std::mt19937 random(1);
  QStringList names;
  for (int p = 0; p < kPages; ++p) {
    std::string page;
    while (page.size() < kPageBytes) {
      page += "  <p>";
      const int count = 3 + static_cast<int>(random() % 12);
      for (int w = 0; w < count; ++w) {
        if (w) page += ' ';
        page += random() % 5000 < 10 ? marks[random() % 3] : words[random() % 20];
      }
      page += "</p>\r\n";
    }
    const QString name = QString::asprintf("page%04d.htm", p);
    QFile f(dir + "/" + name);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(page.data(), static_cast<qint64>(page.size()));
    names << name;
  }
  return names;
}

QString ShellQuoted(const QString& s) { return "'" + QString(s).replace("'", "'\\''") + "'"; }

// Runs a search tool over the pages into a file next to the site: its
// median time, and the number of lines it wrote.
double ToolSeconds(const QString& dir, const QStringList& names, const QString& tool, int& lines) {
  const QString out = dir + "/../tool-out.txt";
  const double seconds = MedianShellSeconds(5, "cd " + ShellQuoted(dir) + " && " + tool + " -- " +
                                                   names.join(' ') + " > " + ShellQuoted(out));
  QFile file(out);
  lines = 0;
  if (file.open(QIODevice::ReadOnly))
    while (!file.readLine().isEmpty()) ++lines;
  return seconds;
}

void Compare(const char* label, const QString& dir, const QStringList& names, const QString& word,
             bool caseSensitive, const QString& options) {
  TfrmResults window;
  int entries = 0;
  const double ours = MedianSeconds(5, [&] {
    const TAllFilesResult result = SearchAllFiles(dir, names, word, caseSensitive);
    window.ShowResults(result);
    entries = window.lbxResults->count();
  });
  int grepLines = 0, rgLines = 0;
  const double grep = ToolSeconds(dir, names, "LC_ALL=C grep " + options + " " + word, grepLines);
  std::printf("  %d entries listed, grep %d lines\n", entries, grepLines);
  PrintRatio(qPrintable(QString(label) + " vs grep"), ours, grep, 1.0);
  if (QProcess::execute("/bin/sh", {"-c", "command -v rg > /dev/null"}) != 0) {
    std::printf("  ripgrep is not installed (make bench-peers installs it): row skipped\n");
    return;
  }
  const double rg = ToolSeconds(dir, names, "rg -j1 " + options + " " + word, rgLines);
  std::printf("  rg %d lines\n", rgLines);
  PrintRatio(qPrintable(QString(label) + " vs rg -j1"), ours, rg, 1.0);
}

}  // namespace

QUILLMERE_BENCH(all_files_search) {
  const QString dir = BenchDir() + "/site";
  QDir().mkpath(dir);
  const QStringList names = WriteSite(dir);
  if (names.size() != kPages) {
    std::printf("  could not write the pages\n");
    return;
  }
  // Both read from the page cache: one run each before timing.
  SearchAllFiles(dir, names, "quillword", false);
  MedianShellSeconds(1, "cat " + ShellQuoted(dir) + "/* > /dev/null");
  Compare("any case -i -F -n", dir, names, "QuillWord", false, "-i -F -n");
  Compare("exact case -F -n", dir, names, "Quillword", true, "-F -n");
}
