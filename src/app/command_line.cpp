#include "app/command_line.h"

#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

TCommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Quillmere, an editor for the files of a small web site in a local folder."));
  // Qt's own help option would offer --help-all, which lists options that
  // QApplication has taken out before this parser sees them.
  const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                QStringLiteral("Displays this help."));
  const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                   QStringLiteral("Displays version information."));
  parser.addOption(help);
  parser.addOption(version);
  // QApplication's own options (-platform xcb, -style fusion ...) are read
  // by QApplication; here they are only let through.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "style",
                           "stylesheet", "geometry", "qwindowgeometry", "qwindowtitle",
                           "qwindowicon", "title", "display", "session", "name"}) {
    QCommandLineOption qt(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    qt.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(qt);
  }
  for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
    QCommandLineOption qt(QString::fromLatin1(name));
    qt.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(qt);
  }
  parser.addPositionalArgument(
      QStringLiteral("page-or-folder"),
      QStringLiteral("A page to open (its folder becomes the site) or the site's folder."),
      QStringLiteral("[page-or-folder]"));
  TCommandLine result;
  if (!parser.parse(arguments)) {
    result.Action = TCommandLine::caUsageError;
    result.Text = parser.errorText();
  } else if (parser.isSet(help)) {
    result.Action = TCommandLine::caHelp;
    result.Text = parser.helpText();
  } else if (parser.isSet(version)) {
    result.Action = TCommandLine::caVersion;
    result.Text =
        QCoreApplication::applicationName() + ' ' + QCoreApplication::applicationVersion() + '\n';
  } else if (parser.positionalArguments().size() > 1) {
    result.Action = TCommandLine::caUsageError;
    result.Text = QStringLiteral("Only one page or folder can be opened, not %1.")
                      .arg(parser.positionalArguments().size());
  } else if (!parser.positionalArguments().isEmpty()) {
    result.Path = parser.positionalArguments().constFirst();
  }
  return result;
}

QString StartPathProblem(const QString& path) {
  const QFileInfo info(QDir::current().absoluteFilePath(path));
  const QByteArray native = QFile::encodeName(info.absoluteFilePath());
  // A folder must be listed and entered, a page read.
  const int mode = info.isDir() ? (R_OK | X_OK) : R_OK;
  const int error = ::access(native.constData(), mode) == 0 ? 0 : errno;
  if (error == 0 && (info.isDir() || info.isFile())) return {};
  const QString reason = error == 0 ? QStringLiteral("it is neither a page nor a folder")
                                    : QString::fromLocal8Bit(std::strerror(error));
  return QStringLiteral("Cannot open \"%1\": %2.").arg(path, reason);
}
