#pragma once
// What a folder tree holds, to show that a job left it as it was: every
// entry's relative path, kind, size, modification time and bytes.
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

inline QMap<QString, QByteArray> TreeSnapshot(const QString& root) {
  QMap<QString, QByteArray> entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo info(it.next());
    QByteArray state = QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' ';
    if (info.isSymLink()) {
      state += "link " + info.symLinkTarget().toUtf8();
    } else if (info.isFile()) {
      QFile f(info.filePath());
      state += "file " + (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable"));
    } else {
      state += "dir";
    }
    entries.insert(info.filePath().mid(root.size()), state);
  }
  return entries;
}
