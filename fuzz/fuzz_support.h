#pragma once
// What the fuzz targets share: a failed invariant aborts with its text (so
// libFuzzer keeps the input), and a scratch folder for the targets whose code
// under test reads or writes real files.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (false)

// A folder of this process's own, inside $QUILLMERE_FUZZ_TMP, else on a
// memory file system where there is one; removed when the run ends.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    const char* parent = std::getenv("QUILLMERE_FUZZ_TMP");
    std::string pattern = parent && *parent               ? parent
                          : access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                                          : "/tmp";
    pattern += "/quillmere-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  static const bool cleanup = std::atexit([] {
                                std::error_code ignored;
                                std::filesystem::remove_all(ScratchDir(), ignored);
                              }) == 0;
  (void)cleanup;
  return dir;
}

// Replaces the file name in the scratch folder with bytes; the path.
inline std::string ScratchFile(const char* name, std::string_view bytes) {
  const std::string path = ScratchDir() + "/" + name;
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return path;
}
