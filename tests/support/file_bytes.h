#pragma once
// Writing and reading a test file's bytes as they stand, and what a folder
// and a file look like on disk.
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

// Creates the file's folders as needed.
inline void WriteBytes(const QString& path, const QByteArray& data) {
  QVERIFY2(QDir().mkpath(QFileInfo(path).absolutePath()), qPrintable(path));
  QFile f(path);
  QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
  f.write(data);
}

// Empty when the file cannot be read.
inline QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every entry of a folder, hidden ones included, by name.
inline QStringList EntriesOf(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot);
}

// The file's status; all zero when it cannot be read.
inline struct stat FileStat(const QString& path) {
  struct stat st {};
  ::stat(QFile::encodeName(path).constData(), &st);
  return st;
}
