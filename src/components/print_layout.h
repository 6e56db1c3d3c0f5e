#pragma once
// Where the screen printer puts a captured image on the page: the printed
// size for each scale, and the margins inside it. Printer pixels throughout.
#include <QRect>
#include <QSize>
#include <QSizeF>

enum TPrintScale { poNone, poProportional, poPrintToFit };

struct TPrintMargins {
  int Top = 300;
  int Left = 300;
  int Bottom = 100;
  int Right = 100;
};

// poNone: the image's pixels; poProportional: its size on the screen in
// printer pixels; poPrintToFit: the largest size of the image's shape that
// fits the page. An empty image or page gives an empty size.
QSize PrintSize(TPrintScale scale, const QSize& image, const QSize& page, const QSizeF& screenDpi,
                const QSizeF& printerDpi);
// The print size less the margins: where the image is stretched into.
QRect PrintRect(const QSize& printSize, const TPrintMargins& margins);
