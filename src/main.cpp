#include "app/command_line.h"
#include "app/main_window.h"
#include "components/app_title.h"
#include "components/qt_desktop.h"

#include <QApplication>
#include <cstdio>

namespace {

void SetNames() {
  QCoreApplication::setApplicationName("Quillmere");
  QCoreApplication::setApplicationVersion(QUILLMERE_VERSION);
}

}  // namespace

int main(int argc, char** argv) {
  QString startPath;
  {
    // --help and --version answer without a display.
    QCoreApplication probe(argc, argv);
    SetNames();
    const TCommandLine commandLine = ParseCommandLine(QCoreApplication::arguments());
    switch (commandLine.Action) {
      case TCommandLine::caRun: startPath = commandLine.Path; break;
      case TCommandLine::caHelp:
      case TCommandLine::caVersion:
        std::fputs(qPrintable(commandLine.Text), stdout);
        return 0;
      case TCommandLine::caUsageError:
        std::fprintf(stderr, "quillmere: %s\nTry 'quillmere --help'.\n",
                     qPrintable(commandLine.Text));
        return 2;
    }
  }
  QApplication app(argc, argv);
  SetNames();
  QGuiApplication::setDesktopFileName("org.quillmere.Quillmere");
  SetApplicationTitle("Quillmere");
  TQtDesktop desktop;
  SetDesktop(&desktop);
  int result = 0;
  {
    TfrmMain frmMain(startPath.isEmpty() ? QStringList() : QStringList{startPath});
    frmMain.show();
    result = QApplication::exec();
  }
  SetDesktop(nullptr);
  return result;
}
