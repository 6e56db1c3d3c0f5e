#include "doc/document_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "components/errors.h"
#include "components/file_names.h"
#include "components/text_codec.h"
#include "doc/checked_write.h"
#include "doc/whitespace_rules.h"

namespace {

// Large enough that system calls cost nothing next to the splitting, small
// enough to stay in the cache while it is validated and split.
constexpr std::size_t kChunkSize = 1 << 20;

QString ReadFailure(const QString& fileName, const QString& reason) {
  return QStringLiteral("Cannot read \"%1\": %2").arg(fileName, reason);
}

QString SystemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

struct TFileDescriptor {
  int Fd;
  ~TFileDescriptor() {
    if (Fd >= 0) ::close(Fd);
  }
};

// Saving normalises line breaks and blanks, which would damage a file that
// is not 8-bit or UTF-8 text; such a file is refused before it is shown.
// NUL bytes near the start are the usual mark of a binary file. Answers
// what the bytes look like, empty for text.
QString NonTextKind(const char* data, std::size_t size) {
  const std::string_view head(data, std::min<std::size_t>(size, 8000));
  const auto startsWith = [&](std::string_view mark) {
    return head.substr(0, mark.size()) == mark;
  };
  if (startsWith(std::string_view("\xFF\xFE\0\0", 4)) ||
      startsWith(std::string_view("\0\0\xFE\xFF", 4)))
    return QStringLiteral("a UTF-32 file");
  if (startsWith("\xFF\xFE") || startsWith("\xFE\xFF")) return QStringLiteral("a UTF-16 file");
  if (head.find('\0') != std::string_view::npos)
    return QStringLiteral("not a text file (it holds NUL bytes)");
  return {};
}

void RefuseNonText(const QString& fileName, const char* data, std::size_t size) {
  const QString kind = NonTextKind(data, size);
  if (kind.isEmpty()) return;
  throw EInOutError(QStringLiteral("\"%1\" is %2. Quillmere edits 8-bit and UTF-8 text only; "
                                   "saving it here would change it, so it is not opened.")
                        .arg(fileName, kind));
}

void ReadAll(int fd, const QString& fileName, const TFeedBytes& feed, TUtf8Validator& validator) {
  std::unique_ptr<char[]> buffer(new char[kChunkSize]);
  std::size_t total = 0;
  for (;;) {
    const ssize_t n = ::read(fd, buffer.get(), kChunkSize);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EInOutError(ReadFailure(fileName, SystemReason(errno)));
    }
    if (n == 0) break;
    if (total == 0) RefuseNonText(fileName, buffer.get(), static_cast<std::size_t>(n));
    validator.Feed(buffer.get(), static_cast<std::size_t>(n));
    feed(buffer.get(), static_cast<std::size_t>(n));
    total += static_cast<std::size_t>(n);
  }
}

QString UnencodableText(const QString& fileName, std::size_t lineNumber, std::string_view line,
                        std::size_t pos) {
  const std::optional<char32_t> code = Utf8CodeAt(line, pos);
  if (!code)
    return QStringLiteral(
               "Cannot save \"%1\": line %2 holds bytes that are not valid text. "
               "Nothing was written.")
        .arg(fileName)
        .arg(lineNumber);
  const QString shown = QString::fromStdString(Utf8FromCode(*code));
  return QStringLiteral(
             "Cannot save \"%1\": the character \"%2\" (U+%3) on line %4 has no place "
             "in the file's Windows-1252 encoding. Nothing was written.")
      .arg(fileName, shown)
      .arg(static_cast<uint>(*code), 4, 16, QLatin1Char('0'))
      .arg(lineNumber);
}

void WriteChunk(TCheckedWrite& file, std::string& chunk) {
  file.Write(chunk.data(), chunk.size());
  chunk.clear();
}

// Removing indentation, empty lines or trailing blanks can move bytes that
// mark a UTF-16 or binary file to the start; such a page would never open
// again, so it is not written.
void RefuseUnreadable(const QString& fileName, const std::string& head) {
  const QString kind = NonTextKind(head.data(), head.size());
  if (kind.isEmpty()) return;
  throw EInOutError(QStringLiteral("Cannot save \"%1\": its first bytes would make it %2, "
                                   "which Quillmere could not open again. Nothing was written.")
                        .arg(fileName, kind));
}

// Appends the saved form of line to chunk; false when the encoding has no
// place for one of its characters (failPos then tells which).
bool AppendSavedLine(std::string_view line, TTextEncoding encoding, int tabSize,
                     std::string& scratch, std::string& chunk, std::size_t& failPos) {
  if (tabSize <= 0) {
    if (encoding == TTextEncoding::Utf8)
      chunk.append(line);
    else if (!Utf8ToWindows1252(line, chunk, &failPos))
      return false;
  } else if (encoding == TTextEncoding::Utf8) {
    const std::size_t at = chunk.size();
    chunk.resize(at + line.size());
    chunk.resize(at + NormaliseSavedLine(line.data(), line.size(), tabSize, chunk.data() + at));
  } else {
    scratch.resize(line.size());
    scratch.resize(NormaliseSavedLine(line.data(), line.size(), tabSize, scratch.data()));
    if (!Utf8ToWindows1252(scratch, chunk, &failPos)) return false;
  }
  chunk.append("\r\n", 2);
  return true;
}

}  // namespace

TTextEncoding ReadDocumentFile(const QString& fileName, const TFeedBytes& feed) {
  const QByteArray path = PathBytes(fileName);
  // Non-blocking, so that opening a named pipe cannot hang the program.
  TFileDescriptor file{::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (file.Fd < 0) throw EInOutError(ReadFailure(fileName, SystemReason(errno)));
  struct stat info {};
  if (::fstat(file.Fd, &info) != 0) throw EInOutError(ReadFailure(fileName, SystemReason(errno)));
  if (S_ISDIR(info.st_mode)) throw EInOutError(ReadFailure(fileName, SystemReason(EISDIR)));
  if (!S_ISREG(info.st_mode))
    throw EInOutError(ReadFailure(fileName, QStringLiteral("it is not a regular file")));
  ::posix_fadvise(file.Fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  try {
    TUtf8Validator validator;
    ReadAll(file.Fd, fileName, feed, validator);
    return validator.Finish() ? TTextEncoding::Utf8 : TTextEncoding::Windows1252;
  } catch (const std::bad_alloc&) {
    throw EInOutError(ReadFailure(fileName, QStringLiteral("there is not enough memory")));
  }
}

namespace {

// ForEachLine(fn) calls fn(line) for every line in order.
template <typename ForEachLine>
void WriteLines(const QString& fileName, ForEachLine forEachLine, TTextEncoding encoding,
                int tabSize, TWriteMode mode) {
  TCheckedWrite file(fileName, mode);
  std::string chunk;
  chunk.reserve(kChunkSize * 2);
  std::string scratch;
  bool first = true;  // the file's head is still in chunk
  std::size_t number = 0;
  forEachLine([&](std::string_view line) {
    ++number;
    std::size_t failPos = 0;
    if (!AppendSavedLine(line, encoding, tabSize, scratch, chunk, failPos))
      throw EInOutError(UnencodableText(fileName, number,
                                        tabSize > 0 ? std::string_view(scratch) : line, failPos));
    if (chunk.size() >= kChunkSize) {
      if (first) RefuseUnreadable(fileName, chunk);
      first = false;
      WriteChunk(file, chunk);
    }
  });
  if (first) RefuseUnreadable(fileName, chunk);
  if (!chunk.empty()) WriteChunk(file, chunk);
  file.Commit();
}

}  // namespace

void WriteDocumentFile(const QString& fileName, const TLines& lines, TTextEncoding encoding,
                       int tabSize, TWriteMode mode) {
  WriteLines(
      fileName,
      [&lines](const auto& fn) {
        for (const std::string& line : lines) fn(line);
      },
      encoding, tabSize, mode);
}

void WriteDocumentFile(const QString& fileName, const TJoinedLines& lines, TTextEncoding encoding,
                       int tabSize, TWriteMode mode) {
  WriteLines(
      fileName, [&lines](const auto& fn) { lines.ForEach(fn); }, encoding, tabSize, mode);
}
