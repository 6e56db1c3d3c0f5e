#include "app/page_files.h"

#include <QDir>
#include <algorithm>

QStringList SplitMasks(const QString& maskText) {
  QStringList masks;
  for (const QString& m : maskText.split(';')) {
    const QString t = m.trimmed();
    if (!t.isEmpty() && !masks.contains(t, Qt::CaseInsensitive)) masks << t;
  }
  return masks;
}

QStringList ListPageFiles(const QString& folder, const QString& maskText) {
  const QStringList masks = SplitMasks(maskText);
  if (folder.isEmpty() || masks.isEmpty()) return {};
  QDir dir(folder);
  // Without QDir::System, devices, sockets and pipes stay out; without
  // QDir::Hidden, dot files do; without QDir::CaseSensitive, masks ignore case.
  QStringList names = dir.entryList(masks, QDir::Files | QDir::Readable, QDir::NoSort);
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
  });
  return names;
}

int PageRowFor(const QStringList& names, const QString& name) {
  // Letter case tells files apart here: Index.html must not stand in for
  // an index.html that is there.
  if (const qsizetype exact = names.indexOf(name); exact >= 0) return static_cast<int>(exact);
  for (qsizetype i = 0; i < names.size(); ++i)
    if (names[i].compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  const QString part = name.contains('~') ? name.left(name.indexOf('~')) : QString();
  for (qsizetype i = 0; i < names.size(); ++i)
    if (names[i] >= part) return static_cast<int>(i);
  return -1;
}
