#include "app/main_window.h"
#include "components/app_title.h"
#include "components/qt_desktop.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillmere");
  SetApplicationTitle("Quillmere");
  TQtDesktop desktop;
  SetDesktop(&desktop);
  int result = 0;
  {
    TfrmMain frmMain(QApplication::arguments().mid(1));
    frmMain.show();
    result = QApplication::exec();
  }
  SetDesktop(nullptr);
  return result;
}
