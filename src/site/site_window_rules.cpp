#include "site/site_window_rules.h"

#include <QLocale>

bool TestPageAllowed(bool listed, const QString& remoteRoot) {
  const QLatin1StringView prefix(RemoteRootPrefix);
  return listed && remoteRoot.size() > prefix.size() &&
         remoteRoot.startsWith(prefix, Qt::CaseSensitive);
}

QString RootOnExit(const QString& text, bool wanted) {
  return wanted && !text.isEmpty() && !text.endsWith('/') ? text + '/' : text;
}

QString SaveAsTarget(const QString& localRoot, const QString& fileName, int fileCount) {
  return fileCount > 0 ? localRoot + fileName : QString();
}

QByteArray OutputBytes(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
  return bytes;
}

QString FormatTotalSize(quint64 size) {
  QLocale locale;
  locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
  return locale.toString(size).rightJustified(10, ' ');
}
