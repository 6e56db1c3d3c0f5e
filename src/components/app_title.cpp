#include "components/app_title.h"

#include <QCoreApplication>

namespace {
QString applicationTitle;
}

void SetApplicationTitle(const QString& title) { applicationTitle = title; }

QString ApplicationTitle() {
  return applicationTitle.isEmpty() ? QCoreApplication::applicationName() : applicationTitle;
}
