#pragma once
// File names as the system holds them: bytes, nearly always UTF-8. A byte
// that is not part of valid UTF-8 is kept in a QString as the lone surrogate
// U+DC80 to U+DCFF, so such a name can be listed, shown and opened again by
// its own bytes.
#include <QByteArray>
#include <QString>
#include <string_view>

QString NameFromBytes(std::string_view bytes);
// The bytes a name or path made by NameFromBytes stands for.
QByteArray PathBytes(const QString& path);
// The name as shown: each kept byte as the replacement character U+FFFD.
QString ShownName(const QString& name);
// Deletes the file by its bytes: empty when done, else the system's reason.
QString RemoveFileNamed(const QString& path);
