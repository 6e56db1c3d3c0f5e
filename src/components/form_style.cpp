#include "components/form_style.h"

#include <QWidget>

QColor FormColour() { return QColor(204, 204, 207); }

void SetFormColour(QWidget* form) {
  QPalette pal = form->palette();
  pal.setColor(QPalette::Window, FormColour());
  form->setPalette(pal);
}

namespace {

QFont PixelFont(const char* family, int pixels) {
  QFont f{QString::fromLatin1(family)};
  f.setPixelSize(pixels);
  return f;
}

}  // namespace

QFont SansFont(int pixels) { return PixelFont(SansFamily, pixels); }

QFont MonoFont(int pixels) { return PixelFont(MonoFamily, pixels); }
