#pragma once
// The application's title: the caption of every message window that brings
// none of its own. The main window keeps it current ("QME - index.html").
#include <QString>

void SetApplicationTitle(const QString& title);
// The title last set, or the application's name while none has been set.
QString ApplicationTitle();
