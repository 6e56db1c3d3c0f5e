#include "desktop_stub.h"

TDesktopStub::TDesktopStub() { SetDesktop(this); }

TDesktopStub::~TDesktopStub() { SetDesktop(nullptr); }

bool TDesktopStub::OpenDocument(const QString& pathOrUrl) {
  Calls.append({"open", pathOrUrl, {}, {}});
  return Succeed;
}

bool TDesktopStub::StartProgram(const QString& program, const QStringList& args,
                                const QString& workingDir, int& errorNumber) {
  Calls.append({"start", program, args, workingDir});
  errorNumber = Succeed ? 0 : StartErrorNumber;
  return Succeed;
}

void TDesktopStub::Beep() { Calls.append({"beep", {}, {}, {}}); }

int TDesktopStub::Beeps() const {
  int n = 0;
  for (const auto& c : Calls) n += c.Kind == "beep";
  return n;
}
