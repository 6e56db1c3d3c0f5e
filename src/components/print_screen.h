#pragma once
// Prints what the Print key captures: the whole screen, or with Alt the
// active window. The key's capture lands on the clipboard as an image, as
// the desktop would put it there, and is printed from there at the chosen
// scale and margins; the clipboard is emptied afterwards. With Active off
// the key is left alone and nothing is captured or printed.
//
//   auto* pscMain = new TZELPrintScreen(form);   // lives as long as the form
//   pscMain->ScreenPrintScale = poPrintToFit;
//   pscMain->Active = false;                     // the main window's: never prints
#include <QPageLayout>
#include <QPrinter>
#include <memory>

#include "components/print_layout.h"
#include "components/zel_component.h"

class QImage;

class TZELPrintScreen : public TZELComponent {
  Q_OBJECT
 public:
  // Watches every event of the application from now until destruction.
  explicit TZELPrintScreen(QObject* parent = nullptr);
  ~TZELPrintScreen() override;

  TPrintMargins Margins;  // printer pixels
  TPrintScale WindowPrintScale = poProportional;
  TPrintScale ScreenPrintScale = poPrintToFit;
  QPageLayout::Orientation Orientation = QPageLayout::Portrait;
  bool ScreenBorder = true;  // a frame round a printed screen
  bool Active = true;

  // Where prints go: the system's default printer unless changed (tests
  // print to a PDF file).
  QPrinter& Printer() { return *FPrinter; }
  bool ScreenPrintPending() const { return FPending; }
  // Prints one capture as the Print key would.
  void PrintImage(const QImage& image, bool windowCapture);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Capture();
  void CheckClipboard();

  std::unique_ptr<QPrinter> FPrinter;
  bool FPending = false;
  bool FWindowCapture = false;
};
