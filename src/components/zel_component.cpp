#include "components/zel_component.h"

TZELComponent::TZELComponent(QObject* parent) : QObject(parent) {}

TVersionStamp TZELComponent::VersionStamp() const {
  return {QStringLiteral("5.0.00"), QStringLiteral("28-10-2001")};
}

QString GetLibraryVersion() {
  const TVersionStamp stamp = TZELComponent().VersionStamp();
  return stamp.Version + QLatin1Char(' ') + stamp.Date;
}
