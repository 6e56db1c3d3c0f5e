#pragma once
// Records every desktop call instead of making it; installs itself for its
// lifetime.
#include <QList>

#include "components/desktop.h"

struct TDesktopCall {
  QString Kind;  // "open", "start", "beep"
  QString Target;
  QStringList Args;
  QString WorkingDir;
};

class TDesktopStub final : public TDesktop {
 public:
  TDesktopStub();
  ~TDesktopStub() override;
  bool OpenDocument(const QString& pathOrUrl) override;
  bool StartProgram(const QString& program, const QStringList& args, const QString& workingDir,
                    int& errorNumber) override;
  void Beep() override;
  QSize ScreenSize() override { return Screen; }

  QList<TDesktopCall> Calls;
  QSize Screen{1024, 768};
  bool Succeed = true;       // what open and start answer
  int StartErrorNumber = 2;  // the error number of a failed start
  int Beeps() const;
};
