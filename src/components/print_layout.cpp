#include "components/print_layout.h"

#include <cmath>

QSize PrintSize(TPrintScale scale, const QSize& image, const QSize& page, const QSizeF& screenDpi,
                const QSizeF& printerDpi) {
  const qint64 w = image.width(), h = image.height();
  if (w <= 0 || h <= 0 || page.isEmpty()) return {};
  switch (scale) {
    case poNone:
      return image;
    case poProportional:
      if (screenDpi.isEmpty()) return image;
      return {int(std::lround(w * printerDpi.width() / screenDpi.width())),
              int(std::lround(h * printerDpi.height() / screenDpi.height()))};
    case poPrintToFit: {
      const qint64 pw = w * page.height() / h;
      if (page.width() <= pw) return {page.width(), int(h * page.width() / w)};
      return {int(pw), page.height()};
    }
  }
  return image;
}

QRect PrintRect(const QSize& printSize, const TPrintMargins& margins) {
  return {margins.Left, margins.Top, printSize.width() - margins.Left - margins.Right,
          printSize.height() - margins.Top - margins.Bottom};
}
