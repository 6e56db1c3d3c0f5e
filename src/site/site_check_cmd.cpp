#include "site/site_check_cmd.h"

#include <QDir>
#include <cstdio>
#include <optional>

#include "doc/checked_write.h"
#include "site/cli_output.h"
#include "site/site_check.h"

namespace {

const char CheckUsage[] =
    "Usage: quillmere-site check DIR [--mask M] [--no-subdirs] [--kinds broken,case,...]\n"
    "           [--warnings] [--all-chars] [--format text|json] [-o FILE]\n"
    "  kinds: broken, case, fragment, outside, orphan, html, character, image, unreadable\n";

void Err(const QString& text) { CliErr(text); }

struct TUsageError {
  QString Text;
};

struct TCheckArgs {
  TCheckOptions Options;
  bool Json = false;
  std::optional<QString> OutFile;
};

TCheckArgs ParseCheckArgs(const QStringList& args) {
  TCheckArgs a;
  QStringList positional;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    auto value = [&]() {
      if (i + 1 >= args.size()) throw TUsageError{arg + QStringLiteral(" needs a value")};
      return args[++i];
    };
    if (arg == QLatin1String("--mask")) {
      a.Options.Mask = value();
    } else if (arg == QLatin1String("--no-subdirs")) {
      a.Options.SubDirs = false;
    } else if (arg == QLatin1String("--warnings")) {
      a.Options.Warnings = true;
    } else if (arg == QLatin1String("--all-chars")) {
      a.Options.AllPagesCharRule = true;
    } else if (arg == QLatin1String("--kinds")) {
      QString bad;
      if (!ParseCheckKinds(value(), &a.Options.Kinds, &bad) || !a.Options.Kinds)
        throw TUsageError{QStringLiteral("unknown kind '%1'").arg(bad)};
    } else if (arg == QLatin1String("--format")) {
      const QString format = value();
      if (format != QLatin1String("text") && format != QLatin1String("json"))
        throw TUsageError{QStringLiteral("--format takes text or json")};
      a.Json = format == QLatin1String("json");
    } else if (arg == QLatin1String("-o")) {
      a.OutFile = value();
    } else if (arg.startsWith(u'-') && arg.size() > 1) {
      throw TUsageError{QStringLiteral("unknown option ") + arg};
    } else {
      positional.append(arg);
    }
  }
  if (positional.size() != 1) throw TUsageError{QStringLiteral("wrong number of arguments")};
  a.Options.Root = positional[0];
  return a;
}

}  // namespace

int SiteCheckCommand(const QStringList& args, const QString& settingsFile) {
  TCheckArgs a;
  try {
    a = ParseCheckArgs(args);
  } catch (const TUsageError& e) {
    Err(QStringLiteral("quillmere-site: ") + e.Text);
    std::fputs(CheckUsage, stderr);
    return 2;
  }
  ReadCheckSettings(settingsFile, &a.Options);
  const TCheckResult result = RunSiteCheck(a.Options);
  if (!result.Error.isEmpty()) {
    Err(QStringLiteral("Function aborted: ") + result.Error);
    return 1;
  }
  const QByteArray output =
      a.Json ? CheckResultJson(result, a.Options.Kinds) : CheckResultText(result, a.Options.Kinds);
  if (a.OutFile) {
    try {
      WriteFileChecked(*a.OutFile, output);
    } catch (const EInOutError& e) {
      Err(e.Message);
      return 1;
    }
  } else {
    std::fwrite(output.constData(), 1, size_t(output.size()), stdout);
    if (std::fflush(stdout) != 0) return 1;
  }
  return result.Findings.empty() ? 0 : 1;
}
