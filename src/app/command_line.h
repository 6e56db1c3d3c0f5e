#pragma once
// The program's command line: --help, --version and one page or folder to
// start on. Read before any window exists, so that --help needs no display.
#include <QString>
#include <QStringList>

struct TCommandLine {
  enum TAction { caRun, caHelp, caVersion, caUsageError };
  TAction Action = caRun;
  QString Path;  // the page or folder named, as given; empty for none
  QString Text;  // what --help or --version prints, or the usage error
};

// Arguments as QCoreApplication::arguments() gives them, program first.
TCommandLine ParseCommandLine(const QStringList& arguments);

// Why the page or folder Path cannot be opened, in a sentence for the user;
// empty when it can.
QString StartPathProblem(const QString& path);
