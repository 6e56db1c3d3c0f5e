#include "components/desktop.h"

namespace {

class TQuietDesktop final : public TDesktop {
 public:
  bool OpenDocument(const QString&) override { return false; }
  bool StartProgram(const QString&, const QStringList&, const QString&, int& errorNumber) override {
    errorNumber = 2;
    return false;
  }
  void Beep() override {}
  QSize ScreenSize() override { return {1024, 768}; }
};

TQuietDesktop quietDesktop;
TDesktop* installed = &quietDesktop;

}  // namespace

TDesktop& Desktop() { return *installed; }

void SetDesktop(TDesktop* d) { installed = d ? d : &quietDesktop; }
