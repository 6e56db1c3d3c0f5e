#include "config/ini_helpers.h"

#include "config/ini_file.h"

QString ReadIniStr(const QString& section, const QString& ident, const QString& def,
                   const QString& fileName) {
  if (section.isEmpty() || ident.isEmpty()) return def;
  return ReadProfileString(section, ident, def, fileName);
}

void WriteIniStr(const QString& section, const QString& ident, const QString& value,
                 const QString& fileName) {
  if (section.isEmpty() || ident.isEmpty()) return;
  WriteProfileString(section, ident, value, fileName);
}
