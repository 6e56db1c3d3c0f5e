#include "search/escapes.h"

QString DecodeEscapes(const QString& text) {
  QString result = text;
  result.replace(QStringLiteral("%009"), QStringLiteral("\t"));
  result.replace(QStringLiteral("%013"), QStringLiteral("\r"));
  result.replace(QStringLiteral("%010"), QStringLiteral("\n"));
  return result;
}
