// quillmere-gallery: every control of the component library in one window,
// so that a programmer can see and try them.
#include <QApplication>
#include <QWidget>

#include "components/app_title.h"
#include "components/desktop.h"
#include "components/gallery_window.h"
#include "components/qt_desktop.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("quillmere-gallery"));
  SetApplicationTitle(QStringLiteral("Quillmere gallery"));
  TQtDesktop desktop;
  SetDesktop(&desktop);
  int result = 0;
  {
    QWidget window;
    BuildGallery(window);
    window.show();
    result = QApplication::exec();
  }
  SetDesktop(nullptr);
  return result;
}
