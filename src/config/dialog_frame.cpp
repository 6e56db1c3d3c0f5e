#include "config/dialog_frame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

void SetDialogFrame(QDialog* dialog, QSize clientSize, bool toolWindow) {
  dialog->setWindowFlags((toolWindow ? Qt::Tool : Qt::Dialog) | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint);
  QFont font(QStringLiteral("Liberation Sans"));  // the design's Arial
  font.setPixelSize(13);
  dialog->setFont(font);
  dialog->setFixedSize(clientSize);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    dialog->move(area.x() + (area.width() - clientSize.width()) / 2,
                 area.y() + (area.height() - clientSize.height()) / 2);
  }
}
