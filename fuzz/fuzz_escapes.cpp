// The escape decoder: the same as one left-to-right pass over the codes,
// never longer than its input, and undone by writing the codes back when
// the input held no tab, CR or LF of its own.
#include "fuzz_support.h"
#include "search/escapes.h"

namespace {

QString DecodeInOnePass(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size();) {
    const QStringView code = QStringView(text).mid(i, 4);
    if (code == u"%009")
      out += u'\t';
    else if (code == u"%013")
      out += u'\r';
    else if (code == u"%010")
      out += u'\n';
    else {
      out += text[i++];
      continue;
    }
    i += 4;
  }
  return out;
}

QString Encode(QString text) {
  text.replace(u'\t', QStringLiteral("%009"));
  text.replace(u'\r', QStringLiteral("%013"));
  text.replace(u'\n', QStringLiteral("%010"));
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const QString text =
      QString::fromUtf8(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
  const QString decoded = DecodeEscapes(text);
  FUZZ_CHECK(decoded.size() <= text.size());
  FUZZ_CHECK(decoded == DecodeInOnePass(text));
  if (!text.contains(u'%')) FUZZ_CHECK(decoded == text);
  if (!text.contains(u'\t') && !text.contains(u'\r') && !text.contains(u'\n'))
    FUZZ_CHECK(Encode(decoded) == text);
  return 0;
}
