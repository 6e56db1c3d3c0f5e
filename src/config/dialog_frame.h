#pragma once
// The frame the configuration dialogs share: fixed client size, no title-bar
// buttons, Arial 13 pixels, centred on the primary screen.
#include <QSize>

class QDialog;

void SetDialogFrame(QDialog* dialog, QSize clientSize, bool toolWindow);
