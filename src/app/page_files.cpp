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
