#pragma once
// The base of the library's non-visual components (the about dialog, the
// print-screen catcher): a QObject that carries its version stamp.
#include <QObject>
#include <QString>

#include "components/zel_events.h"

// A component's version (at most 6 characters) and date (at most 10).
struct TVersionStamp {
  QString Version;
  QString Date;
};

class TZELComponent : public QObject {
  Q_OBJECT
 public:
  explicit TZELComponent(QObject* parent = nullptr);
  // "5.0.00", "28-10-2001" for the base; each component stamps its own.
  virtual TVersionStamp VersionStamp() const;
};

// The library's version as a whole: "5.0.00 28-10-2001".
QString GetLibraryVersion();
