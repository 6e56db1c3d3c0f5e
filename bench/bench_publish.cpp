// Publishing 2,000 pages to a local folder, preview and send, against the
// same two rsync runs started by hand with the same arguments: the first
// send to an empty target, then a send with one page changed.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench.h"
#include "site/publish.h"
#include "site/rsync_run.h"

namespace {

constexpr int Pages = 2000;

// 20 folders of 100 pages of about 10 KB.
bool WriteSite(const QString& dir) {
  const QByteArray body =
      QByteArray("<p>a line of the page with a link in it</p>\r\n").repeated(220);
  for (int p = 0; p < Pages; ++p) {
    const QString folder = QString::asprintf("%s/part%02d", qPrintable(dir), p / 100);
    if (!QDir().mkpath(folder)) return false;
    QFile f(QString::asprintf("%s/page%04d.htm", qPrintable(folder), p));
    if (!f.open(QIODevice::WriteOnly) || f.write("<html>" + QByteArray::number(p) + body) < 0)
      return false;
  }
  return true;
}

// Preview, parse, the pane's lines, send: what the window and the command do.
double Ours(TPublishJob job) {
  QElapsedTimer clock;
  clock.start();
  TRsyncRun run;
  job.DryRun = true;
  if (!run.RunToEnd(job)) return -1;
  const TPublishPreview preview = ParseRsyncPreview(run.Output());
  const QStringList lines = PreviewLines(preview, job.Target);
  job.DryRun = false;
  job.MaxDelete = preview.RemoveCount;
  if (lines.isEmpty() || !run.RunToEnd(job)) return -1;
  return clock.nsecsElapsed() / 1e9;
}

// The same two runs by hand, their output kept as a terminal would get it.
double ByHand(TPublishJob job) {
  QElapsedTimer clock;
  clock.start();
  for (bool dryRun : {true, false}) {
    job.DryRun = dryRun;
    QProcess p;
    p.setWorkingDirectory(job.LocalRoot);
    p.setStandardOutputFile(QDir::tempPath() + "/qm-bench-publish.out");
    p.start("rsync", RsyncArguments(job));
    if (!p.waitForFinished(-1) || p.exitCode() != 0) return -1;
  }
  return clock.nsecsElapsed() / 1e9;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

QUILLMERE_BENCH(publish_local) {
  const QString site = BenchDir() + "/site", out = BenchDir() + "/out";
  if (!WriteSite(site)) {
    std::printf("  could not write the site\n");
    return;
  }
  const TPublishJob job{site, out, false, {"qme_____.*", ".*"}, false, false, -1};
  std::vector<double> ours, hand, oursOne, handOne;
  for (int i = 0; i < 6; ++i) {
    // Each side goes first in turn, so that neither always finds the
    // disk busier with the other's files.
    for (int side = 0; side < 2; ++side) {
      QDir(out).removeRecursively();
      if ((i + side) % 2)
        hand.push_back(ByHand(job));
      else
        ours.push_back(Ours(job));
    }
  }
  for (int i = 0; i < 11; ++i)
    for (int side = 0; side < 2; ++side) {
      QFile page(site + "/part07/page0700.htm");
      if (!page.open(QIODevice::Append)) return;
      page.write("<p>changed</p>\r\n");
      page.close();
      if ((i + side) % 2)
        handOne.push_back(ByHand(job));
      else
        oursOne.push_back(Ours(job));
    }
  if (*std::min_element(ours.begin(), ours.end()) < 0 ||
      *std::min_element(hand.begin(), hand.end()) < 0) {
    std::printf("  rsync failed\n");
    return;
  }
  PrintRatio("publish 2,000 pages, first", Median(ours), Median(hand), 1.1);
  PrintRatio("publish, one page changed", Median(oursOne), Median(handOne), 1.1);
}
