#include "components/qt_desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QScreen>
#include <QUrl>
#include <cerrno>

bool TQtDesktop::OpenDocument(const QString& pathOrUrl) {
  const QUrl url = QFileInfo::exists(pathOrUrl) ? QUrl::fromLocalFile(pathOrUrl)
                                                : QUrl::fromUserInput(pathOrUrl);
  return QDesktopServices::openUrl(url);
}

bool TQtDesktop::StartProgram(const QString& program, const QStringList& args,
                              const QString& workingDir, int& errorNumber) {
  errorNumber = 0;
  const QFileInfo info(program);
  if (info.isAbsolute() && !info.exists()) {
    errorNumber = ENOENT;
    return false;
  }
  if (info.isAbsolute() && !info.isExecutable()) {
    errorNumber = EACCES;
    return false;
  }
  if (QProcess::startDetached(program, args, workingDir)) return true;
  errorNumber = errno ? errno : ENOENT;
  return false;
}

void TQtDesktop::Beep() { QApplication::beep(); }

QSize TQtDesktop::ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->size() : QSize(1024, 768);
}
