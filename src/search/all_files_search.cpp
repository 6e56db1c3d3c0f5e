#include "search/all_files_search.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "components/file_names.h"
#include "components/text_codec.h"
#include "doc/file_helpers.h"
#include "search/byte_search.h"

namespace {

// A file's bytes; kept from file to file, and never cleared when it grows,
// so that reading 2,000 pages costs no allocation after the first few.
class TFileBuffer {
 public:
  char* Data() const { return Bytes.get(); }
  std::size_t Size = 0;
  std::size_t Capacity = 0;

  void Grow(std::size_t atLeast) {
    if (atLeast <= Capacity) return;
    const std::size_t capacity = std::max(atLeast, Capacity * 2);
    std::unique_ptr<char[]> bytes(new char[capacity]);
    if (Size > 0) std::memcpy(bytes.get(), Bytes.get(), Size);
    Bytes = std::move(bytes);
    Capacity = capacity;
  }

 private:
  std::unique_ptr<char[]> Bytes;
};

QString SystemError(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

struct TFileDescriptor {
  int Fd;
  ~TFileDescriptor() {
    if (Fd >= 0) ::close(Fd);
  }
};

// Reads the whole file into Buffer: an empty text, or the reason it failed.
// Opened without blocking, so a pipe in the list cannot hang the search.
QString ReadWholeFile(const QString& path, TFileBuffer& buffer) {
  buffer.Size = 0;
  const TFileDescriptor file{
      ::open(PathBytes(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  const int fd = file.Fd;
  if (fd < 0) return SystemError(errno);
  struct stat info {};
  if (::fstat(fd, &info) != 0) return SystemError(errno);
  if (!S_ISREG(info.st_mode)) return QStringLiteral("Not a regular file");
  try {
    // One byte more than the size, so a file that grew is seen to continue.
    buffer.Grow(static_cast<std::size_t>(info.st_size) + 1);
    for (;;) {
      if (buffer.Size == buffer.Capacity) buffer.Grow(buffer.Capacity * 2);
      const ssize_t got = ::read(fd, buffer.Data() + buffer.Size, buffer.Capacity - buffer.Size);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return SystemError(errno);
      if (got == 0) return {};
      buffer.Size += static_cast<std::size_t>(got);
    }
  } catch (const std::bad_alloc&) {
    return SystemError(ENOMEM);
  }
}

// The byte forms of the search text: one for every file when it is ASCII,
// otherwise one for UTF-8 files and one (if it exists) for the others.
struct TPatternForms {
  std::optional<TBytePattern> Any, Utf8, Ansi;

  TPatternForms(const QString& text, bool caseSensitive) {
    const QByteArray utf8 = text.toUtf8();
    bool ascii = true;
    for (const char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
      Any.emplace(utf8.toStdString(), caseSensitive);
      return;
    }
    Utf8.emplace(utf8.toStdString(), caseSensitive);
    std::string ansi;
    if (Utf8ToWindows1252(std::string_view(utf8.constData(), std::size_t(utf8.size())), ansi))
      Ansi.emplace(ansi, caseSensitive);
  }

  const TBytePattern* For(const TFileBuffer& file) const {
    if (Any) return &*Any;
    if (IsValidUtf8(std::string_view(file.Data(), file.Size))) return &*Utf8;
    return Ansi ? &*Ansi : nullptr;
  }
};

// Adds one entry for every line of the file that holds the pattern. Line
// numbers are counted only up to each hit; the rest of a hit's line is
// skipped, since a line is listed once.
void SearchFile(const TBytePattern& pattern, const TFileBuffer& file, const QString& name,
                TAllFilesResult& result) {
  const char* text = file.Data();
  const std::size_t size = file.Size;
  qint64 line = 1;
  std::size_t counted = 0;
  for (std::size_t pos = pattern.Find(text, size, 0); pos != std::string::npos;
       pos = pattern.Find(text, size, counted)) {
    line +=
        static_cast<qint64>(CountLineBreaks(text, counted, pos, counted ? text[counted - 1] : 0));
    result.Hits.push_back({name, line});
    result.Entries.push_back(ResultEntry(line, name));
    const std::size_t lineBreak = FindLineBreak(text, size, pos + 1);
    if (lineBreak == size) return;
    counted = lineBreak + 1;
    if (text[lineBreak] == '\r' && counted < size && text[counted] == '\n') ++counted;
    ++line;
  }
}

}  // namespace

TAllFilesResult SearchAllFiles(const QString& folder, const QStringList& fileNames,
                               const QString& searchText, bool caseSensitive,
                               const TSearchProgress& progress) {
  TAllFilesResult result;
  // Lines hold no line breaks, so such a text can never match.
  if (searchText.isEmpty() || searchText.contains(QChar('\r')) || searchText.contains(QChar('\n')))
    return result;
  const TPatternForms forms(searchText, caseSensitive);
  const QString dir = AddBackslash(folder);
  TFileBuffer file;
  for (int i = 0; i < fileNames.size(); ++i) {
    const QString& name = fileNames[i];
    const QString error = ReadWholeFile(dir + name, file);
    if (!error.isEmpty()) {
      result.Failures.push_back({name, error});
    } else if (const TBytePattern* pattern = forms.For(file)) {
      SearchFile(*pattern, file, name, result);
    }
    if (progress && !progress(i + 1, static_cast<int>(fileNames.size()))) {
      result.Cancelled = i + 1 < fileNames.size();
      break;
    }
  }
  return result;
}

QString ResultEntry(qint64 line, const QString& fileName) {
  QString digits = QString::number(line);
  if (digits.size() > 4) digits = digits.right(4);
  return QLatin1Char('#') + digits.rightJustified(4, QLatin1Char(' ')) + QLatin1Char(' ') +
         fileName;
}

namespace {

QString TrimBlanks(QStringView s) {
  qsizetype begin = 0, end = s.size();
  while (begin < end && s[begin] == QLatin1Char(' ')) ++begin;
  while (end > begin && s[end - 1] == QLatin1Char(' ')) --end;
  return s.mid(begin, end - begin).toString();
}

}  // namespace

std::optional<TSearchHit> ParseResultEntry(const QString& entry) {
  if (entry.size() < 6 || entry[0] != QLatin1Char('#')) return std::nullopt;
  const QString lineText = TrimBlanks(QStringView(entry).mid(1, 4));
  bool ok = false;
  const qint64 line = lineText.toLongLong(&ok);
  const QString name = TrimBlanks(QStringView(entry).mid(5));
  if (!ok || line < 0 || name.isEmpty()) return std::nullopt;
  return TSearchHit{name, line};
}

QString FailuresText(const std::vector<TSearchFailure>& failures) {
  constexpr std::size_t shown = 10;
  QStringList lines;
  for (std::size_t i = 0; i < failures.size() && i < shown; ++i)
    lines << failures[i].FileName + QStringLiteral(": ") + failures[i].Error;
  if (failures.size() > shown) lines << QStringLiteral("and %1 more").arg(failures.size() - shown);
  return lines.join(QLatin1Char('\n'));
}
