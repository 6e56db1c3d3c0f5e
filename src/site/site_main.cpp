// quillmere-site: the site window's jobs from a shell, on the same engine and
// generators. Text to standard output, messages to standard error; exit 1 on
// an error, 2 on a usage error, and no output file is written on an error.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <optional>

#include "components/msg_door.h"
#include "doc/checked_write.h"
#include "site/cli_output.h"
#include "site/file_manager.h"
#include "site/robots.h"
#include "site/site_change_command.h"
#include "site/site_check_cmd.h"
#include "site/site_listing.h"
#include "site/site_names.h"
#include "site/site_publish_cmd.h"
#include "site/test_page.h"

namespace {

const char Usage[] =
    "Usage: quillmere-site COMMAND ...\n"
    "  list DIR [--mask M] [--no-subdirs] [--no-details] [--sort date|size|attr|name]\n"
    "           [--min-date dd-mm-yyyy]\n"
    "  case lower|upper DIR [--mask M] [--update-links]\n"
    "  touch \"dd-mm-yyyy hh:nn\" DIR [--mask M] [--no-subdirs] --yes\n"
    "  testpage DIR --remote URL [--mask M] [--no-subdirs] [-o FILE]\n"
    "  robots DIR [--mask M] [--no-subdirs] [-o FILE]\n"
    "  sitemap DIR --remote URL [--mask M] [--no-subdirs] [-o FILE]\n"
    "  replace FIND REPLACEMENT DIR [--mask M] [--no-subdirs] [--case] [--dry-run]\n"
    "  undo DIR [--force]\n"
    "  check DIR [--mask M] [--no-subdirs] [--kinds K,...] [--warnings] [--format text|json]\n"
    "  publish DIR [--to TARGET] [--delete] [--exclude P] [--dry-run] [--no-check]\n"
    "  -h, --help, --version\n";

void Err(const QString& text) { CliErr(text); }

// Every message of the engine is an error here: shown on standard error and
// counted, so that the command ends with status 1.
class TCliDoor final : public TMsgDoor {
 public:
  TModalResult Show(const QString& text, const QString& caption, TMsgKind, TMsgButtons buttons,
                    int) override {
    ++Count;
    Err(caption + QStringLiteral(": ") + QString(text).replace(QLatin1String("\r\n"), "\n"));
    return buttons.testFlag(mbNo) ? mrNo : mrOk;
  }
  int Count = 0;
};

struct TUsageError {
  QString Text;
};

// The command line: positional arguments and the options seen.
struct TArgs {
  QStringList Positional;
  QString Mask = QStringLiteral("*.*");
  bool SubDirs = true;
  bool Details = true;
  bool Yes = false;
  std::optional<QString> Sort, MinDate, Remote, OutFile;
};

TArgs ParseArgs(const QStringList& args) {
  TArgs a;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    auto value = [&]() {
      if (i + 1 >= args.size()) throw TUsageError{arg + QStringLiteral(" needs a value")};
      return args[++i];
    };
    if (arg == QLatin1String("--mask"))
      a.Mask = value();
    else if (arg == QLatin1String("--no-subdirs"))
      a.SubDirs = false;
    else if (arg == QLatin1String("--no-details"))
      a.Details = false;
    else if (arg == QLatin1String("--yes"))
      a.Yes = true;
    else if (arg == QLatin1String("--sort"))
      a.Sort = value();
    else if (arg == QLatin1String("--min-date"))
      a.MinDate = value();
    else if (arg == QLatin1String("--remote"))
      a.Remote = value();
    else if (arg == QLatin1String("-o"))
      a.OutFile = value();
    else if (arg.startsWith(u'-') && arg.size() > 1)
      throw TUsageError{QStringLiteral("unknown option ") + arg};
    else
      a.Positional.append(arg);
  }
  return a;
}

// The CR LF text the site window's SaveAs writes, to FILE or standard output.
int Emit(const QStringList& lines, const std::optional<QString>& outFile) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += line.toLocal8Bit() + "\r\n";
  if (!outFile) {
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  try {
    WriteFileChecked(*outFile, bytes);
  } catch (const EInOutError& e) {
    Err(e.Message);
    return 1;
  }
  return 0;
}

class TSiteCommand {
 public:
  explicit TSiteCommand(const TArgs& args) : A(args) {
    FManager.setObjectName(QStringLiteral("ifmManager"));
    FManagerImg.setObjectName(QStringLiteral("ifmManagerImg"));
  }

  int Run(const QString& command) {
    if (command == QLatin1String("list")) return List();
    if (command == QLatin1String("case")) return Case();
    if (command == QLatin1String("touch")) return Touch();
    if (command == QLatin1String("testpage")) return TestPage();
    if (command == QLatin1String("robots")) return Robots();
    if (command == QLatin1String("sitemap")) return Sitemap();
    throw TUsageError{QStringLiteral("unknown command ") + command};
  }

  TCliDoor Door;

 private:
  QString Positional(int index, int count) const {
    if (A.Positional.size() != count)
      throw TUsageError{QStringLiteral("wrong number of arguments")};
    return A.Positional[index];
  }

  // The folder, made absolute, and the mask checked before anything walks.
  bool Prepare(const QString& dir) {
    // A network path ("//host/share") is kept as given, so that the engine
    // refuses it as the window does; making it absolute would clean it.
    const bool asGiven = dir.isEmpty() || dir.startsWith(QLatin1String("//"));
    FManager.SetWorkingDir(asGiven ? dir : QDir(dir).absolutePath());
    FManager.SetSearchMask(A.Mask);
    return Door.Count == 0;
  }

  QString Remote() const {
    if (!A.Remote || A.Remote->trimmed().isEmpty())
      throw TUsageError{QStringLiteral("--remote URL is needed")};
    return RemoteRootWithSlash(A.Remote->trimmed());
  }

  int List();
  int Case();
  int Touch();
  int TestPage();
  int Robots();
  int Sitemap();

  const TArgs& A;
  TZELFileManager FManager;
  TZELFileManager FManagerImg;
};

int TSiteCommand::List() {
  const QString dir = Positional(0, 1);
  TZELFMSortOrder order = soNone;
  if (A.Sort) {
    const QStringList names{"none", "date", "size", "attr", "name"};
    const qsizetype i = names.indexOf(*A.Sort);
    if (i < 0) throw TUsageError{QStringLiteral("--sort takes date, size, attr or name")};
    order = TZELFMSortOrder(i);
    if (!A.Details && order != soName && order != soNone)
      throw TUsageError{QStringLiteral("--sort ") + *A.Sort + QStringLiteral(" needs the details")};
  }
  // The date filter works on the date column: without it, it would be ignored.
  if (A.MinDate && !A.Details) throw TUsageError{QStringLiteral("--min-date needs the details")};
  if (A.MinDate && !IsValidDateStr(*A.MinDate))
    throw TUsageError{QStringLiteral("'%1' is not a valid date.").arg(*A.MinDate)};
  if (!Prepare(dir)) return 1;
  if (A.MinDate) FManager.SetMinDate(*A.MinDate);
  const TSiteListing listing = ListingLines(FManager, A.Details, A.SubDirs, order);
  if (Door.Count) return 1;
  QStringList lines = listing.Lines;
  lines << QStringLiteral("Total files: %1").arg(listing.FileCount)
        << QStringLiteral("Total size: %1").arg(listing.TotalSize);
  return Emit(lines, std::nullopt);
}

int TSiteCommand::Case() {
  const QString which = Positional(0, 2);
  if (which != QLatin1String("lower") && which != QLatin1String("upper"))
    throw TUsageError{QStringLiteral("case takes lower or upper")};
  if (!Prepare(A.Positional[1])) return 1;
  const TSiteListing listing = ListSite(FManager, FManager.WorkingDir(), A.Mask, false, false);
  if (Door.Count) return 1;
  const QString root = ListingRoot(FManager);
  int failures = 0;
  for (const QString& path : listing.FullPaths) {
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const QString newName = CaseFileName(name, which == QLatin1String("upper"));
    if (newName == name) continue;
    QString reason;
    if (RenameNoReplace(path, newName, &reason)) {
      const QString rel = RelativeLine(path, root);
      std::printf("%s -> %s\n", ListedName(rel).toUtf8().constData(),
                  ListedName(rel.left(rel.size() - name.size()) + newName).toUtf8().constData());
    } else {
      Err(RenameFailureText(path) + QStringLiteral(" (") + reason + u')');
      ++failures;
    }
  }
  return failures ? 1 : 0;
}

int TSiteCommand::Touch() {
  const QString stamp = Positional(0, 2);
  if (!A.Yes) throw TUsageError{QStringLiteral("touch changes the date of every file: add --yes")};
  if (!Prepare(A.Positional[1])) return 1;
  try {
    FManager.SetTimeStamp(stamp);
    FManager.SetOptions(A.SubDirs ? fmIncludeSubDirs : 0);
    FManager.SetShowWarnings(false);
    FManager.Touch();
  } catch (const EQuillmereError& e) {
    Err(e.Message);
    return 1;
  }
  if (Door.Count) return 1;
  std::printf("Total files: %d\n", FManager.FileCount());
  return 0;
}

// The settings file whose [Links] name the services: the one beside the
// program for portable use, else the user's.
QString IniFileName() {
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/quillmere.ini");
  if (QFileInfo(beside).isFile()) return beside;
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/quillmere/quillmere.ini");
}

int TSiteCommand::TestPage() {
  const QString dir = Positional(0, 1);
  const QString remote = Remote();
  if (!Prepare(dir)) return 1;
  const QString root = FManager.WorkingDir();
  const QStringList pages = BuildPageList(FManager, root, A.Mask, A.SubDirs, remote);
  if (Door.Count) return 1;
  const QStringList images = BuildImageList(FManagerImg, root, remote, A.SubDirs);
  if (Door.Count) return 1;
  return Emit(WriteTestPage(pages, images, remote, ServiceRoots(IniFileName())), A.OutFile);
}

int TSiteCommand::Robots() {
  if (!Prepare(Positional(0, 1))) return 1;
  const QStringList pages = BuildPageList(FManager, FManager.WorkingDir(), A.Mask, A.SubDirs);
  if (Door.Count) return 1;
  QString failure;
  const QStringList lines = WriteRobots(pages, ListingRoot(FManager), &failure);
  if (!failure.isEmpty()) {
    Err(failure);
    return 1;
  }
  return Emit(lines, A.OutFile);
}

int TSiteCommand::Sitemap() {
  const QString dir = Positional(0, 1);
  const QString remote = Remote();
  if (!Prepare(dir)) return 1;
  const QStringList pages = BuildPageList(FManager, FManager.WorkingDir(), A.Mask, A.SubDirs);
  if (Door.Count) return 1;
  QString failure;
  const QStringList lines = WriteSitemap(pages, ListingRoot(FManager), remote, &failure);
  if (!failure.isEmpty()) {
    Err(failure);
    return 1;
  }
  return Emit(lines, A.OutFile);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QStringList args = QCoreApplication::arguments().mid(1);
  if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
    std::fputs(Usage, stdout);
    return 0;
  }
  if (args.contains(QLatin1String("--version"))) {
    std::puts("quillmere-site 2.60");
    return 0;
  }
  try {
    if (args.isEmpty()) throw TUsageError{QStringLiteral("no command given")};
    const QString command = args.takeFirst();
    if (IsSiteChangeCommand(command, args)) return RunSiteChangeCommand(command, args);
    if (command == QLatin1String("check")) return SiteCheckCommand(args, IniFileName());
    if (command == QLatin1String("publish")) return RunPublishCommand(args);
    const TArgs parsed = ParseArgs(args);
    TSiteCommand site(parsed);
    SetMsgDoor(&site.Door);
    const int status = site.Run(command);
    SetMsgDoor(nullptr);
    return status;
  } catch (const TUsageError& e) {
    SetMsgDoor(nullptr);
    Err(QStringLiteral("quillmere-site: ") + e.Text);
    std::fputs(Usage, stderr);
    return 2;
  }
}
