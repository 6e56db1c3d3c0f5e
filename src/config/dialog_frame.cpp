#include "config/dialog_frame.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>

#include "components/form_style.h"

void SetDialogFrame(QDialog* dialog, QSize clientSize, bool toolWindow) {
  dialog->setWindowFlags((toolWindow ? Qt::Tool : Qt::Dialog) | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint);
  dialog->setFont(SansFont(13));
  dialog->setFixedSize(clientSize);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    dialog->move(area.x() + (area.width() - clientSize.width()) / 2,
                 area.y() + (area.height() - clientSize.height()) / 2);
  }
}
