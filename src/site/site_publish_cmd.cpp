// quillmere-site publish DIR [--to TARGET] [--delete] [--exclude P]
// [--dry-run] [--no-check]: the preview on standard output, then the send.
#include "site/site_publish_cmd.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <optional>

#include "site/publish.h"
#include "site/publish_check.h"
#include "site/publish_settings.h"
#include "site/rsync_run.h"

namespace {

const char Usage[] =
    "Usage: quillmere-site publish DIR [--to TARGET] [--delete] [--exclude P]\n"
    "                             [--dry-run] [--no-check]\n";

void Out(const QString& line) {
  std::fputs(line.toLocal8Bit().constData(), stdout);
  std::fputc('\n', stdout);
}

void Err(const QString& text) {
  std::fprintf(stderr, "quillmere-site: %s\n", text.toLocal8Bit().constData());
}

struct TPublishArgs {
  QString Dir;
  std::optional<QString> Target;
  bool Delete = false;
  std::optional<QStringList> Exclude;
  bool DryRun = false;
  bool NoCheck = false;
};

// Empty Error when the arguments read.
std::optional<TPublishArgs> ParsePublishArgs(const QStringList& args, QString& error) {
  TPublishArgs a;
  QStringList positional;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    const bool takesValue = arg == QLatin1String("--to") || arg == QLatin1String("--exclude");
    if (takesValue && i + 1 >= args.size()) {
      error = arg + QStringLiteral(" needs a value");
      return std::nullopt;
    }
    if (arg == QLatin1String("--to")) {
      a.Target = args[++i];
    } else if (arg == QLatin1String("--exclude")) {
      if (!a.Exclude) a.Exclude = QStringList();
      TPublishSettings patterns;
      patterns.Exclude = args[++i];
      *a.Exclude += patterns.ExcludePatterns();
    } else if (arg == QLatin1String("--delete")) {
      a.Delete = true;
    } else if (arg == QLatin1String("--dry-run")) {
      a.DryRun = true;
    } else if (arg == QLatin1String("--no-check")) {
      a.NoCheck = true;
    } else if (arg.startsWith(u'-') && arg.size() > 1) {
      error = QStringLiteral("unknown option ") + arg;
      return std::nullopt;
    } else {
      positional.append(arg);
    }
  }
  if (positional.size() != 1) {
    error = QStringLiteral("publish takes one folder");
    return std::nullopt;
  }
  a.Dir = positional[0];
  return a;
}

// The settings file the window keeps its targets in.
QString SettingsFileName() {
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/quillmere.ini");
  if (QFileInfo(beside).isFile()) return beside;
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/quillmere/quillmere.ini");
}

}  // namespace

int RunPublishCommand(const QStringList& args) {
  QString usageError;
  const std::optional<TPublishArgs> a = ParsePublishArgs(args, usageError);
  if (!a) {
    Err(usageError);
    std::fputs(Usage, stderr);
    return 2;
  }
  const QString root = a->Dir.isEmpty() ? a->Dir : QDir(a->Dir).absolutePath() + u'/';
  const TPublishSettings kept = ReadPublishSettings(SettingsFileName(), root);
  TPublishJob job;
  job.LocalRoot = root;
  // A target named here takes nothing else from the settings file, so that a
  // kept Delete never reaches a target it was not meant for.
  job.Target = a->Target.value_or(kept.Target);
  job.Delete = a->Delete || (!a->Target && kept.Delete);
  job.Exclude = a->Exclude.value_or(kept.ExcludePatterns());
  if (const QString problem = PublishTargetProblem(root, job.Target); !problem.isEmpty()) {
    Err(problem);
    return 1;
  }
  if (kept.CheckFirst && !a->NoCheck) {
    const TPublishCheck check = CheckBeforePublish(root, SettingsFileName());
    if (!check.Ran && !check.Note.isEmpty()) Err(check.Note);
    if (check.Count > 0) {
      for (const QString& line : check.Lines)
        std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
      Err(QStringLiteral("the site has %1 broken links; nothing was sent "
                         "(--no-check publishes anyway).")
              .arg(check.Count));
      return 1;
    }
  }

  TRsyncRun run;
  run.SetEnvironment(PublishEnvironment({}));
  QString failure;
  QObject::connect(&run, &TRsyncRun::Finished,
                   [&failure](bool, int, const QString& message) { failure = message; });
  job.DryRun = true;
  if (!run.RunToEnd(job)) {
    std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
    Err(QStringLiteral("the preview failed; nothing was sent."));
    return 1;
  }
  const TPublishPreview preview = ParseRsyncPreview(run.Output());
  for (const QString& line : PreviewLines(preview, job.Target)) Out(line);
  if (a->DryRun) return std::fflush(stdout) == 0 ? 0 : 1;
  if (preview.SendCount == 0 && preview.RemoveCount == 0) {
    Out(QStringLiteral("Nothing to send: %1 is up to date.").arg(job.Target));
    return std::fflush(stdout) == 0 ? 0 : 1;
  }
  std::fflush(stdout);

  job.DryRun = false;
  job.MaxDelete = preview.RemoveCount;
  job.Progress = ::isatty(STDOUT_FILENO) == 1;
  if (job.Progress)
    QObject::connect(&run, &TRsyncRun::OutputRead, [](const QByteArray& chunk) {
      std::fwrite(chunk.constData(), 1, size_t(chunk.size()), stdout);
      std::fflush(stdout);
    });
  if (!run.RunToEnd(job)) {
    std::fprintf(stderr, "%s\n", failure.toLocal8Bit().constData());
    // What the server holds now, from a second look; never rsync's own
    // count of a send that failed.
    job.DryRun = true;
    job.MaxDelete = -1;
    job.Progress = false;
    QObject::disconnect(&run, &TRsyncRun::OutputRead, nullptr, nullptr);
    const bool looked = run.RunToEnd(job);
    const TPublishPreview after = ParseRsyncPreview(run.Output());
    Err(SentAfterFailureText(preview, looked ? &after : nullptr, job.Target));
    return 1;
  }
  Out(QStringLiteral("Sent %1 (%2) to %3.")
          .arg(FileCountText(run.SentCount()), PublishSizeText(run.SentSize()), job.Target));
  return std::fflush(stdout) == 0 ? 0 : 1;
}
