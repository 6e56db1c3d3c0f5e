#include <QApplication>
#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#include "app/main_window.h"
#include "components/app_title.h"
#include "components/qt_desktop.h"
#include "site/askpass_dialog.h"

namespace {

void SetNames() {
  QCoreApplication::setApplicationName("Quillmere");
  QCoreApplication::setApplicationVersion(QUILLMERE_VERSION);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--askpass") == 0) return RunAskPassProgram(argc, argv);
  TCommandLine commandLine;
  {
    // Read before QApplication, so that --help and a usage error need no display.
    QCoreApplication probe(argc, argv);
    SetNames();
    commandLine = ParseCommandLine(QCoreApplication::arguments());
  }
  switch (commandLine.Action) {
    case TCommandLine::caRun:
      break;
    case TCommandLine::caHelp:
    case TCommandLine::caVersion:
      std::fputs(qPrintable(commandLine.Text), stdout);
      return 0;
    case TCommandLine::caUsageError:
      std::fprintf(stderr, "quillmere: %s\nTry 'quillmere --help'.\n",
                   qPrintable(commandLine.Text));
      return 2;
  }
  QApplication app(argc, argv);
  SetNames();
  QGuiApplication::setDesktopFileName("org.quillmere.Quillmere");
  SetApplicationTitle("Quillmere");
  TQtDesktop desktop;
  SetDesktop(&desktop);
  int result = 0;
  {
    const QString& start = commandLine.Path;
    TfrmMain frmMain(start.isEmpty() ? QStringList() : QStringList{start});
    frmMain.show();
    result = QApplication::exec();
  }
  SetDesktop(nullptr);
  return result;
}
