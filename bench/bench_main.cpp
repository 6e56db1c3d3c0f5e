#include <malloc.h>
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "bench.h"

std::vector<TBench>& BenchRegistry() {
  static std::vector<TBench> registry;
  return registry;
}

double MedianSeconds(int runs, const std::function<void()>& fn) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer t;
    t.start();
    fn();
    times.push_back(t.nsecsElapsed() / 1e9);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double MedianShellSeconds(int runs, const QString& command) {
  return MedianSeconds(runs, [&] {
    QProcess p;
    p.start("/bin/sh", {"-c", command});
    p.waitForFinished(-1);
  });
}

QString BenchDir() {
  static QTemporaryDir dir;
  return dir.path();
}

double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& v) { return double(v.tv_sec) + double(v.tv_usec) / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

long long PeakRssBytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<long long>(usage.ru_maxrss) * 1024;
}

long long StatusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::size_t n = std::strlen(key);
  while (std::getline(status, line))
    if (line.compare(0, n, key) == 0) return std::atoll(line.c_str() + n + 1);
  return -1;
}

long long PeakGrowthBytes(const std::function<void()>& fn) {
  ::malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
  const long long before = StatusKb("VmRSS:");
  fn();
  return (StatusKb("VmHWM:") - before) * 1024;
}

void PrintRatio(const char* label, double ours, double baseline, double goal) {
  const double ratio = baseline > 0 ? ours / baseline : 0;
  std::printf("%-28s %8.3f s vs %8.3f s  ratio %6.2f  (goal <= %g)%s\n", label, ours, baseline,
              ratio, goal, ratio <= goal ? "" : "  OVER GOAL");
  std::fflush(stdout);
}

int main(int argc, char** argv) {
  // Editor benchmarks need widgets; they never show a window.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const char* only = argc > 1 ? argv[1] : nullptr;
  for (const TBench& b : BenchRegistry()) {
    if (only && !std::strstr(b.Name, only)) continue;
    std::printf("== %s\n", b.Name);
    b.Run();
  }
  return 0;
}
