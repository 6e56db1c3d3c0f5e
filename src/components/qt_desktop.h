#pragma once
// The real desktop: Qt's "open" action, detached program start, the
// application beep and the primary screen. Installed by main().
#include "components/desktop.h"

class TQtDesktop final : public TDesktop {
 public:
  bool OpenDocument(const QString& pathOrUrl) override;
  bool StartProgram(const QString& program, const QStringList& args, const QString& workingDir,
                    int& errorNumber) override;
  void Beep() override;
  QSize ScreenSize() override;
};
