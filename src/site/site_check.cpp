#include "site/site_check.h"

namespace {

const char* const KindNames[CheckKindCount] = {
    "broken", "case", "fragment", "outside", "orphan", "html", "character", "image", "unreadable"};

}  // namespace

QString CheckKindName(TCheckKind kind) {
  return kind < CheckKindCount ? QString::fromLatin1(KindNames[kind]) : QString();
}

bool CheckKindFromName(const QString& name, TCheckKind* kind) {
  for (int k = 0; k < CheckKindCount; ++k)
    if (name == QLatin1String(KindNames[k])) {
      *kind = TCheckKind(k);
      return true;
    }
  return false;
}

bool ParseCheckKinds(const QString& list, TCheckKinds* kinds, QString* bad) {
  TCheckKinds result = 0;
  for (const QString& part : list.split(u',', Qt::SkipEmptyParts)) {
    TCheckKind kind;
    if (!CheckKindFromName(part.trimmed(), &kind)) {
      if (bad) *bad = part.trimmed();
      return false;
    }
    result |= KindBit(kind);
  }
  *kinds = result;
  return true;
}

QStringList DefaultIndexPages() {
  return {QStringLiteral("index.html"), QStringLiteral("index.htm"), QStringLiteral("default.htm"),
          QStringLiteral("default.html")};
}

QStringList IndexPagesFromSetting(const QString& text) {
  QStringList pages;
  for (const QString& part : QString(text).replace(u',', u';').split(u';', Qt::SkipEmptyParts))
    if (!part.trimmed().isEmpty()) pages.append(part.trimmed());
  return pages.isEmpty() ? DefaultIndexPages() : pages;
}

std::vector<int> CountCheckKinds(const std::vector<TCheckFinding>& findings) {
  std::vector<int> counts(CheckKindCount, 0);
  for (const TCheckFinding& f : findings) ++counts[f.Kind];
  return counts;
}
