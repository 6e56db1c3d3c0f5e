// Loading and saving a large page against GNU sed trimming trailing blanks
// from the same file and wc counting its lines, both in the C locale (a
// UTF-8 locale makes sed several times slower), and the memory a load takes.
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "bench.h"
#include "doc/edit_file_info.h"

namespace {

constexpr long long kPageBytes = 50LL * 1000 * 1000;
constexpr int kRuns = 5;
// wc takes about 10 ms, so its time swings by a third from run to run: more
// runs of it and of the load, for a median that holds.
constexpr int kShortRuns = 15;

// An HTML table of indented rows: mixed tabs and blanks in the indentation,
// trailing blanks, an empty line now and then.
void WritePage(const QString& path) {
  std::ofstream out(path.toStdString(), std::ios::binary);
  std::string chunk;
  unsigned seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7FFF; };
  static const char* const indents[] = {"", "  ", "\t", "\t  ", "    ", "\t\t", "  \t", "        "};
  static const char* const trails[] = {"", "", " ", "   ", "\t", " \t "};
  long long written = 0;
  while (written < kPageBytes) {
    const unsigned r = next();
    if (r % 17 == 0) {
      chunk += "\r\n";
    } else {
      chunk += indents[r % 8];
      chunk += r % 5 == 0 ? "<tr>"
                          : "<td class=\"c" + std::to_string(r % 7) + "\">cell " +
                                std::to_string(next()) + " text</td>";
      chunk += trails[next() % 6];
      chunk += "\r\n";
    }
    if (chunk.size() > (1 << 20)) {
      out.write(chunk.data(), std::streamsize(chunk.size()));
      written += static_cast<long long>(chunk.size());
      chunk.clear();
    }
  }
  out.write(chunk.data(), std::streamsize(chunk.size()));
}

// Peak growth of resident memory during one load, in bytes, measured in a
// child process whose freed memory was first handed back to the system and
// whose high-water mark was reset, so nothing earlier hides or adds to it.
long long LoadPeakBytes(const QString& path) {
  int fds[2];
  if (::pipe(fds) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    ::malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
    const long long before = StatusKb("VmRSS:");
    {
      TEditFileInfo info;
      info.Load(path);
    }
    const long long peak = (StatusKb("VmHWM:") - before) * 1024;
    (void)!::write(fds[1], &peak, sizeof peak);
    ::_exit(0);
  }
  ::close(fds[1]);
  long long peak = -1;
  if (::read(fds[0], &peak, sizeof peak) != sizeof peak) peak = -1;
  ::close(fds[0]);
  ::waitpid(pid, nullptr, 0);
  return peak;
}

}  // namespace

QUILLMERE_BENCH(document_load_save) {
  const QString page = BenchDir() + "/page.htm";
  WritePage(page);
  const double size = static_cast<double>(QFile(page).size());
  std::printf("page: %.1f MB\n", size / 1e6);

  const long long peak = LoadPeakBytes(page);
  std::printf("%-28s %8.2f x file size  (goal <= 2.0)%s\n", "load peak memory", peak / size,
              peak / size <= 2.0 ? "" : "  OVER GOAL");

  const QString sed = QStringLiteral("LC_ALL=C sed -E 's/[[:space:]]+$//' '%1' > '%2'")
                          .arg(page, BenchDir() + "/sed.out");
  const double sedSeconds = MedianShellSeconds(kRuns, sed);
  const double wcSeconds =
      MedianShellSeconds(kShortRuns, QStringLiteral("LC_ALL=C wc -l '%1' > /dev/null").arg(page));
  const double loadSeconds = MedianSeconds(kShortRuns, [&] {
    TEditFileInfo info;
    info.Load(page);
  });
  PrintRatio("load/sed", loadSeconds, sedSeconds, 0.25);
  PrintRatio("load/wc -l", loadSeconds, wcSeconds, 6.0);

  TEditFileInfo info;
  info.Load(page);
  info.FileName = BenchDir() + "/saved.htm";
  const double saveSeconds = MedianSeconds(kRuns, [&] { info.Save(); });
  PrintRatio("save/sed", saveSeconds, sedSeconds, 1.0);
}
