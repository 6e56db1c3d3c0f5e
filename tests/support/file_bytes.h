#pragma once
// Writing and reading a test file's bytes as they stand.
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
