#pragma once
// A benchmark compares our code with a baseline run side by side in the same
// run and prints the ratio; it never passes or fails.
#include <QString>
#include <functional>
#include <vector>

struct TBench {
  const char* Name;
  std::function<void()> Run;
};

std::vector<TBench>& BenchRegistry();

struct TBenchRegistrar {
  TBenchRegistrar(const char* name, std::function<void()> run) {
    BenchRegistry().push_back({name, std::move(run)});
  }
};

#define QUILLMERE_BENCH(ident)                             \
  static void ident();                                     \
  static TBenchRegistrar ident##_registrar(#ident, ident); \
  static void ident()

// Seconds taken by fn, the median of runs.
double MedianSeconds(int runs, const std::function<void()>& fn);
// Seconds taken by a shell command line (run through /bin/sh), median of runs.
double MedianShellSeconds(int runs, const QString& command);
// A fresh scratch folder for one benchmark, removed at exit.
QString BenchDir();
// Peak resident memory of this process so far, in bytes.
long long PeakRssBytes();
// A "VmRSS:"-style line of /proc/self/status, in kB; -1 when missing.
long long StatusKb(const char* key);
// Growth of resident memory at its peak while fn runs, in bytes.
long long PeakGrowthBytes(const std::function<void()>& fn);
// Processor time used so far by this process (all its threads), and by the
// children it has waited for (shell commands included), in seconds.
double ProcessCpuSeconds();
double ChildrenCpuSeconds();
void PrintRatio(const char* label, double ours, double baseline, double goal);
