#include "components/print_screen.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "components/msg_func.h"

TZELPrintScreen::TZELPrintScreen(QObject* parent)
    : TZELComponent(parent), FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
  // Qt chains the application's filters itself: the ones before keep working.
  qApp->installEventFilter(this);
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          &TZELPrintScreen::CheckClipboard);
}

TZELPrintScreen::~TZELPrintScreen() { qApp->removeEventFilter(this); }

bool TZELPrintScreen::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyRelease && Active && !FPending) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool print = key->key() == Qt::Key_Print || key->key() == Qt::Key_SysReq;
    if (print && !key->isAutoRepeat()) {
      FPending = true;
      // Alt+Print arrives as SysReq on some keyboards.
      FWindowCapture = key->key() == Qt::Key_SysReq || (key->modifiers() & Qt::AltModifier);
      QTimer::singleShot(0, this, &TZELPrintScreen::Capture);
    }
  }
  return TZELComponent::eventFilter(watched, event);
}

void TZELPrintScreen::Capture() {
  QImage image;
  if (FWindowCapture) {
    if (QWidget* w = QApplication::activeWindow()) image = w->grab().toImage();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    image = screen->grabWindow(0).toImage();
  }
  // Without a capture nothing is awaited: a later copied image must not print.
  if (image.isNull()) {
    FPending = false;
    return;
  }
  QGuiApplication::clipboard()->setImage(image);
  CheckClipboard();
}

void TZELPrintScreen::CheckClipboard() {
  if (!FPending) return;
  const QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) return;
  FPending = false;
  if (!Active) return;
  ShowPrintingBox();
  PrintImage(image, FWindowCapture);
  QGuiApplication::clipboard()->clear();
  CloseProgressBox(1.0);
}

void TZELPrintScreen::PrintImage(const QImage& image, bool windowCapture) {
  QPrinter& printer = *FPrinter;
  printer.setPageOrientation(Orientation);
  QPainter painter;
  if (!painter.begin(&printer)) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSizeF screenDpi =
      screen ? QSizeF(screen->logicalDotsPerInchX(), screen->logicalDotsPerInchY())
             : QSizeF(96, 96);
  const QSize size = PrintSize(windowCapture ? WindowPrintScale : ScreenPrintScale, image.size(),
                               QSize(printer.width(), printer.height()), screenDpi,
                               QSizeF(printer.logicalDpiX(), printer.logicalDpiY()));
  const QRect target = PrintRect(size, Margins);
  if (!windowCapture && ScreenBorder) painter.drawRect(target);
  if (!target.isEmpty()) painter.drawImage(target, image);
  painter.end();
}
