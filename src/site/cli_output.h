#pragma once
// The lines quillmere-site's commands print: text to standard output, errors
// to standard error, each line whole and in order with the other stream.
#include <QString>
#include <cstdio>

inline void CliOut(const QString& text) { std::printf("%s\n", text.toLocal8Bit().constData()); }

inline void CliErr(const QString& text) {
  std::fflush(stdout);
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  std::fflush(stderr);
}
