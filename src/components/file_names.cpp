#include "components/file_names.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "components/text_codec.h"

namespace {

constexpr char16_t KeptByteBase = 0xDC00;

bool IsKeptByte(QChar c) { return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF; }

}  // namespace

QString NameFromBytes(std::string_view bytes) {
  if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
  QString name;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::size_t length = 0;
    if (const auto code = Utf8CodeAt(bytes, pos, &length)) {
      name += QString::fromUcs4(&*code, 1);
      pos += length;
    } else {
      name += QChar(char16_t(KeptByteBase + static_cast<unsigned char>(bytes[pos++])));
    }
  }
  return name;
}

QByteArray PathBytes(const QString& path) {
  QByteArray bytes;
  qsizetype from = 0;
  for (qsizetype i = 0; i < path.size(); ++i) {
    // A kept byte is never the second half of a pair: the first half would
    // have been kept as a byte as well.
    if (!IsKeptByte(path[i]) || (i > 0 && path[i - 1].isHighSurrogate())) continue;
    bytes += path.mid(from, i - from).toUtf8();
    bytes += char(path[i].unicode() - KeptByteBase);
    from = i + 1;
  }
  return from == 0 ? path.toUtf8() : bytes + path.mid(from).toUtf8();
}

QString ShownName(const QString& name) {
  // Read through a const view: the writable [] made a copy of every name of
  // a folder of 100,000 only to look at it.
  QString shown = name;
  for (qsizetype i = 0; i < name.size(); ++i)
    if (IsKeptByte(name[i]) && !(i > 0 && name[i - 1].isHighSurrogate()))
      shown[i] = QChar::ReplacementCharacter;
  return shown;
}

QString RemoveFileNamed(const QString& path) {
  if (::unlink(PathBytes(path).constData()) == 0) return {};
  return QString::fromLocal8Bit(std::strerror(errno));
}
