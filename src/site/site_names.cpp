#include "site/site_names.h"

#include <cstring>

#include "components/file_names.h"

namespace {

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }

// A byte kept from a name that is no valid UTF-8: a lone low surrogate.
bool IsKeptByte(const QString& path, qsizetype i) {
  const char16_t c = path[i].unicode();
  return c >= 0xDC80 && c <= 0xDCFF && !(i > 0 && path[i - 1].isHighSurrogate());
}

QString Escaped(unsigned value, const char* lead) {
  return QLatin1String(lead) + QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

QString ListedName(const QString& path) {
  const QString shown = ShownName(path);
  QString result;
  for (const QChar c : shown) {
    switch (c.unicode()) {
      case u'\t':
        result += QLatin1String("\\t");
        break;
      case u'\n':
        result += QLatin1String("\\n");
        break;
      case u'\r':
        result += QLatin1String("\\r");
        break;
      default:
        if (IsControl(c.unicode()))
          result += Escaped(c.unicode(), "\\x");
        else
          result += c;
    }
  }
  return result;
}

QString AddressPath(const QString& path) {
  QString result;
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t c = path[i].unicode();
    if (IsKeptByte(path, i))
      result += Escaped(c - 0xDC00, "%");
    else if (IsControl(c) || c == u'"' || c == u'<' || c == u'>')
      result += Escaped(c, "%");
    else
      result += path[i];
  }
  return result;
}

QString EncodedUrlPath(const QString& path) {
  QString result;
  for (const char byte : PathBytes(path)) {
    const unsigned char b = static_cast<unsigned char>(byte);
    // What a URL path may hold as it stands: unreserved characters, the
    // sub-delimiters, ":", "@" and the separator.
    const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
                       (b && std::strchr("-._~!$&'()*+,;=:@/", b));
    result += plain ? QString(QChar(b)) : Escaped(b, "%");
  }
  return result;
}
