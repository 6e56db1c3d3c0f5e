// The site check's work on one file: reading it without ever blocking or
// changing it, and the findings that need only the page itself (HTML,
// characters).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "doc/text_codec.h"
#include "doc/text_lines.h"
#include "html/char_check.h"
#include "site/site_check_internal.h"
#include "site/site_check_rules.h"

namespace {

// A C1 control (U+0080 to U+009F) or a code the 8-bit rule refuses below 128.
bool IsControlChar(char32_t code) { return code < 128 ? !IsLegalHtmlChar(code) : code <= 0x9F; }

// The character as the message shows it: a control character would break
// the finding's line (or vanish from it), so it is named by its code.
std::string Shown(const std::string& character) {
  const std::optional<char32_t> code = Utf8CodeAt(character, 0);
  if (!code || (*code >= 32 && *code != 127 && !(*code >= 0x80 && *code <= 0x9F)))
    return code ? character : "\uFFFD";
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", unsigned(*code));
  return name;
}

}  // namespace

bool ReadWholeFile(const QByteArray& path, QByteArray* bytes, QString* reason, bool* regular) {
  *regular = true;
  // O_NONBLOCK: a named pipe among the pages must not hang the check.
  const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    *reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *regular = false;
    ::close(fd);
    return false;
  }
  bytes->clear();
  bytes->reserve(qsizetype(st.st_size));
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      *reason = QString::fromLocal8Bit(std::strerror(errno));
      ::close(fd);
      return false;
    }
    bytes->append(buffer, got);
  }
  ::close(fd);
  return true;
}

bool FirstBadCharacter(const QByteArray& page, bool declaresUtf8, bool allPagesRule, int* line,
                       int* column, QString* message) {
  const bool utf8 = IsValidUtf8(std::string_view(page.constData(), size_t(page.size())));
  TLines lines = SplitLines(std::string_view(page.constData(), size_t(page.size())));
  if (allPagesRule || !declaresUtf8) {
    // The editor's own check, on the lines as the editor shows them.
    if (!utf8)
      for (std::string& l : lines) Windows1252ToUtf8InPlace(l);
    std::string text;
    if (CheckChars(lines, *line, *column, text)) return false;
    const std::string& s = lines[size_t(*line - 1)];
    const std::size_t at = ByteOffsetOfChar(s, *column);
    std::size_t length = 1;
    Utf8CodeAt(s, at, &length);
    *message =
        QString::fromStdString(IllegalCharMessage(Shown(s.substr(at, length)), *line, *column));
    return true;
  }
  // A page in UTF-8 may hold any character; only controls and bytes that
  // are no UTF-8 at all are out of place. Columns count as the editor
  // counts: characters in a valid page, bytes in any other.
  for (std::size_t l = 0; l < lines.size(); ++l) {
    const std::string& s = lines[l];
    int col = 0;
    for (std::size_t i = 0; i < s.size();) {
      std::size_t length = 1;
      const std::optional<char32_t> code = Utf8CodeAt(s, i, &length);
      ++col;
      if (!code || IsControlChar(*code)) {
        *line = int(l) + 1;
        *column = utf8 ? col : int(i) + 1;
        *message = QString::fromStdString(
            IllegalCharMessage(Shown(code ? s.substr(i, length) : "\uFFFD"), *line, *column));
        return true;
      }
      i += code ? length : 1;
    }
  }
  return false;
}

TFileWork CheckOneFile(const TWalkedFile& file, const TCheckOptions& options) {
  TFileWork work;
  QString reason;
  bool regular = true;
  QByteArray bytes;
  if (!ReadWholeFile(file.Native, &bytes, &reason, &regular)) {
    work.Skipped = !regular;
    if (regular)
      work.Findings.push_back(
          {file.Name, 1, 1, ckUnreadable, QStringLiteral("cannot be read: ") + reason, -1, 0});
    return work;
  }
  work.Read = true;
  if (file.StyleSheet) {
    work.Scan.References = ScanStyleSheet(bytes, file.Relative);
    return work;
  }
  const bool html = options.Kinds & KindBit(ckHtml);
  work.Scan = ScanPage(bytes, file.Relative, html, options.Warnings);
  if (!work.Scan.Parsed)
    work.Findings.push_back(
        {file.Name, 1, 1, ckUnreadable, QStringLiteral("cannot be read as HTML"), -1, 0});
  for (const THtmlMessage& m : work.Scan.Messages)
    work.Findings.push_back(
        {file.Name, m.Line, m.Column, ckHtml,
         (m.Error ? QStringLiteral("error: ") : QStringLiteral("warning: ")) + m.Text, -1, 0});
  work.Scan.Messages.clear();
  int line = 0, column = 0;
  QString message;
  if ((options.Kinds & KindBit(ckCharacter)) &&
      FirstBadCharacter(bytes, work.Scan.DeclaresUtf8, options.AllPagesCharRule, &line, &column,
                        &message))
    work.Findings.push_back({file.Name, line, column, ckCharacter, message, -1, 0});
  return work;
}
