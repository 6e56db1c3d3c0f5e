// Replace in files over 2,000 pages of 20 KB with 100,000 hits, journal
// included, against sed -i in the C locale over the same files; and the undo
// of that change against cp of the originals back.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench.h"
#include "site/link_rewrite.h"
#include "site/replace_files.h"
#include "site/site_journal.h"

namespace {

constexpr int kPages = 2000;
constexpr int kPageBytes = 20 * 1000;
constexpr int kHitsPerPage = 50;

void Shell(const QString& command) { QProcess::execute("/bin/sh", {"-c", command}); }

void WriteSite(const QString& dir) {
  QDir().mkpath(dir);
  for (int p = 0; p < kPages; ++p) {
    std::string page;
    int hits = 0;
    for (int line = 0; page.size() < kPageBytes; ++line) {
      page += "  <p>some text of the page and a link to <a href=\"x.html\">x</a>";
      if (line % 4 == 0 && hits < kHitsPerPage) {
        page += " quillword";
        ++hits;
      }
      page += "</p>\r\n";
    }
    QFile f(dir + QString::asprintf("/page%04d.htm", p));
    if (f.open(QIODevice::WriteOnly)) f.write(page.data(), qint64(page.size()));
  }
}

// The median of Runs timings of Fn, each after an untimed Setup.
double Median(int runs, const std::function<void()>& setup, const std::function<void()>& fn) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    setup();
    Shell("sync");
    QElapsedTimer clock;
    clock.start();
    fn();
    times.push_back(double(clock.nsecsElapsed()) / 1e9);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

QUILLMERE_BENCH(replace_files) {
  const QString base = BenchDir();
  const QString pristine = base + "/pristine", site = base + "/site";
  WriteSite(pristine);
  qputenv("XDG_STATE_HOME", QFile::encodeName(base + "/state"));
  const QString fresh =
      "rm -rf '" + site + "' '" + base + "/state' && cp -a '" + pristine + "' '" + site + "'";
  TReplaceOptions o;
  o.Find = "quillword";
  o.Replacement = "featherword";
  o.Mask = "*.htm";
  int written = 0, hits = 0;
  const double ours = Median(
      3, [&] { Shell(fresh); },
      [&] {
        const TReplacePreview preview = PreviewReplace(site, o);
        std::vector<int> all(preview.Files.size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = int(i);
        hits = preview.TotalHits();
        written = int(ApplyReplace(preview, all).Written.size());
      });
  const double sed = Median(
      3, [&] { Shell(fresh); },
      [&] { Shell("cd '" + site + "' && LC_ALL=C sed -i 's/quillword/featherword/g' -- *.htm"); });
  std::printf("  %d hits, %d pages written\n", hits, written);
  PrintRatio("replace in files vs sed -i", ours, sed, 1.5);

  // Undo of one such change, against cp of the originals back.
  const double undo = Median(
      3,
      [&] {
        Shell(fresh);
        const TReplacePreview preview = PreviewReplace(site, o);
        std::vector<int> all(preview.Files.size());
        for (std::size_t i = 0; i < all.size(); ++i) all[i] = int(i);
        ApplyReplace(preview, all);
      },
      [&] { TSiteJournal::LatestDone(site)->Undo(false); });
  const double cp = Median(
      3, [&] { Shell(fresh); }, [&] { Shell("cp -f '" + pristine + "'/*.htm '" + site + "'/"); });
  PrintRatio("undo vs cp", undo, cp, 2.0);
}

// The links after renaming a page that 1,000 pages refer to: its time, with
// sed rewriting the same name in the same pages beside it for scale.
QUILLMERE_BENCH(link_rewrite) {
  const QString base = BenchDir();
  const QString pristine = base + "/pristine", site = base + "/site";
  QDir().mkpath(pristine + "/sub");
  for (int p = 0; p < 1000; ++p) {
    std::string page =
        "<html><head><link rel=\"stylesheet\" href=\"../style.css\"></head><body>\r\n";
    while (page.size() < kPageBytes)
      page +=
          "  <p>text <a href=\"../target.html#part\">the target</a> and <a "
          "href=\"other.html\">another</a></p>\r\n";
    page += "</body></html>\r\n";
    QFile f(pristine + QString::asprintf("/sub/page%04d.html", p));
    if (f.open(QIODevice::WriteOnly)) f.write(page.data(), qint64(page.size()));
  }
  QFile target(pristine + "/target.html");
  if (target.open(QIODevice::WriteOnly)) target.write("<p>target</p>\r\n");
  target.close();
  qputenv("XDG_STATE_HOME", QFile::encodeName(base + "/state"));
  const QString fresh = "rm -rf '" + site + "' '" + base + "/state' && cp -a '" + pristine + "' '" +
                        site + "' && mv '" + site + "/target.html' '" + site + "/renamed.html'";
  int pages = 0;
  const double ours = Median(
      3, [&] { Shell(fresh); },
      [&] {
        const TLinkPlan plan =
            PlanLinkUpdate(site, {{site + "/target.html", site + "/renamed.html"}});
        pages = int(ApplyLinkUpdate(plan, "bench").Written.size());
      });
  const double sed = Median(
      3, [&] { Shell(fresh); },
      [&] {
        Shell("cd '" + site +
              "/sub' && LC_ALL=C sed -i 's/target\\.html/renamed.html/g' -- *.html");
      });
  std::printf("  links rewritten in %d pages\n", pages);
  PrintRatio("links after a rename vs sed", ours, sed, 1.5);
}
