#include "site/site_change_command.h"

#include <QDir>
#include <cstdio>

#include "components/errors.h"
#include "components/file_names.h"
#include "search/escapes.h"
#include "site/cli_output.h"
#include "site/link_rewrite.h"
#include "site/replace_files.h"
#include "site/site_files.h"
#include "site/site_journal.h"
#include "site/site_listing.h"

const char SiteChangeUsage[] =
    "  replace FIND REPLACEMENT DIR [--mask M] [--no-subdirs] [--case] [--dry-run]\n"
    "  undo DIR [--force]\n"
    "  case lower|upper DIR --update-links [--mask M]\n";

namespace {

// The file list's own default masks: pages and their text files, never an
// image whose bytes might happen to hold the text.
constexpr char kDefaultMask[] = "*.htm*;*.js;*.css;*.cgi;*.txt;*.ini;";

void Out(const QString& text) { CliOut(text); }

void Err(const QString& text) { CliErr(text); }

struct TUsage {
  QString Text;
};

struct TChangeArgs {
  QStringList Positional;
  QString Mask = QLatin1String(kDefaultMask);
  bool SubDirs = true, CaseSensitive = false, DryRun = false, Force = false, UpdateLinks = false;
};

TChangeArgs Parse(const QStringList& args) {
  TChangeArgs a;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--mask")) {
      if (i + 1 >= args.size()) throw TUsage{QStringLiteral("--mask needs a value")};
      a.Mask = args[++i];
    } else if (arg == QLatin1String("--no-subdirs")) {
      a.SubDirs = false;
    } else if (arg == QLatin1String("--case")) {
      a.CaseSensitive = true;
    } else if (arg == QLatin1String("--dry-run")) {
      a.DryRun = true;
    } else if (arg == QLatin1String("--force")) {
      a.Force = true;
    } else if (arg == QLatin1String("--update-links")) {
      a.UpdateLinks = true;
    } else if (arg == QLatin1String("--")) {
      a.Positional += args.mid(i + 1);
      break;
    } else if (arg.startsWith(u'-') && arg.size() > 1) {
      throw TUsage{QStringLiteral("unknown option ") + arg};
    } else {
      a.Positional.append(arg);
    }
  }
  return a;
}

QString SiteFolder(const QString& dir) {
  if (!QDir(dir).exists()) throw TUsage{QStringLiteral("no folder ") + dir};
  return TSiteJournal::RootKey(dir);
}

// Rolls back what an earlier run left unfinished; true when one of them was
// a change of Root (which then needs no further undo).
bool Recover(const QString& root) {
  bool mine = false;
  for (const auto& r : TSiteJournal::RecoverInterrupted()) {
    Err(r.Text);
    mine = mine || r.Root == root;
  }
  return mine;
}

int Replace(const TChangeArgs& a) {
  if (a.Positional.size() != 3) throw TUsage{QStringLiteral("wrong number of arguments")};
  TReplaceOptions o;
  o.Find = DecodeEscapes(a.Positional[0]);
  o.Replacement = DecodeEscapes(a.Positional[1]);
  o.CaseSensitive = a.CaseSensitive;
  o.Mask = a.Mask;
  o.SubDirs = a.SubDirs;
  if (o.Find.isEmpty()) throw TUsage{QStringLiteral("the text to find is empty")};
  const QString root = SiteFolder(a.Positional[2]);
  Recover(root);
  const TReplacePreview preview = PreviewReplace(root, o);
  for (const QString& p : preview.Problems) Err(p);
  std::vector<int> all;
  for (std::size_t i = 0; i < preview.Files.size(); ++i) {
    const TReplaceFile& f = preview.Files[i];
    Out(QStringLiteral("%1: %2").arg(RelativeToRoot(f.Path, root)).arg(f.Hits));
    all.push_back(int(i));
  }
  const QString total = QStringLiteral("Total: %1 in %2")
                            .arg(preview.TotalHits())
                            .arg(FilesText(int(preview.Files.size())));
  if (a.DryRun || all.empty()) {
    Out(total + (a.DryRun ? QStringLiteral(" (dry run: nothing written)") : QString()));
    return preview.Problems.isEmpty() ? 0 : 1;
  }
  const TReplaceResult r = ApplyReplace(preview, all);
  if (!r.Error.isEmpty()) {
    Err(r.Error);
    if (r.Written.isEmpty()) {
      Err(QStringLiteral("Nothing was changed."));
      return 1;
    }
  }
  for (const QString& s : r.LeftOut) Err(QStringLiteral("Left out: ") + s);
  for (const QString& s : r.Failed) Err(QStringLiteral("Not written: ") + s);
  Out(total + QStringLiteral("; %1 written").arg(FilesText(int(r.Written.size()))));
  return r.Ok() && preview.Problems.isEmpty() ? 0 : 1;
}

int Undo(const TChangeArgs& a) {
  if (a.Positional.size() != 1) throw TUsage{QStringLiteral("wrong number of arguments")};
  const QString root = SiteFolder(a.Positional[0]);
  if (Recover(root)) return 0;
  auto journal = TSiteJournal::LatestDone(root);
  if (!journal) {
    Err(QStringLiteral("No site change to undo in ") + ShownName(root));
    return 1;
  }
  Out(QStringLiteral("Undo: ") + journal->What());
  const TJournalOutcome out = journal->Undo(a.Force);
  Out(out.Text());
  if (!out.Kept.isEmpty() && !a.Force)
    Err(QStringLiteral("Add --force to put back the files changed since as well."));
  return out.Kept.isEmpty() && out.Failed.isEmpty() ? 0 : 1;
}

// The file names to one case, then the links to them, as one change.
int Case(TChangeArgs a) {
  if (a.Positional.size() != 2) throw TUsage{QStringLiteral("wrong number of arguments")};
  const QString which = a.Positional[0];
  if (which != QLatin1String("lower") && which != QLatin1String("upper"))
    throw TUsage{QStringLiteral("case takes lower or upper")};
  const QString root = SiteFolder(a.Positional[1]);
  Recover(root);
  if (a.Mask == QLatin1String(kDefaultMask)) a.Mask = QStringLiteral("*.*");
  std::vector<TRename> renames;
  int failures = 0;
  for (const QString& path : SiteFiles(root, a.Mask, true)) {
    const QString name = path.mid(path.lastIndexOf(u'/') + 1);
    const QString newName = CaseFileName(name, which == QLatin1String("upper"));
    if (newName == name) continue;
    const QString newPath = path.left(path.size() - name.size()) + newName;
    QString reason;
    if (!RenameNoReplace(path, newName, &reason)) {
      Err(RenameFailureText(path) + QStringLiteral(" (") + reason + u')');
      ++failures;
      continue;
    }
    renames.push_back({path, newPath});
    Out(RelativeToRoot(path, root) + QStringLiteral(" -> ") + RelativeToRoot(newPath, root));
  }
  if (renames.empty()) return failures ? 1 : 0;
  const TLinkPlan plan = PlanLinkUpdate(root, renames);
  const TSiteChangeResult r =
      ApplyLinkUpdate(plan, QStringLiteral("File names to %1 case, with their links").arg(which));
  for (const QString& s : r.LeftOut) Err(QStringLiteral("Left out: ") + s);
  for (const QString& s : r.Failed) Err(QStringLiteral("Not written: ") + s);
  if (!r.Error.isEmpty()) Err(r.Error);
  Out(QStringLiteral("Links changed: %1 in %2")
          .arg(plan.References())
          .arg(FilesText(int(r.Written.size()))));
  return failures || !r.Ok() ? 1 : 0;
}

}  // namespace

bool IsSiteChangeCommand(const QString& command, const QStringList& args) {
  return command == QLatin1String("replace") || command == QLatin1String("undo") ||
         (command == QLatin1String("case") && args.contains(QLatin1String("--update-links")));
}

int RunSiteChangeCommand(const QString& command, const QStringList& args) {
  try {
    const TChangeArgs a = Parse(args);
    if (command == QLatin1String("case")) return Case(a);
    return command == QLatin1String("replace") ? Replace(a) : Undo(a);
  } catch (const TUsage& u) {
    Err(QStringLiteral("quillmere-site: ") + u.Text);
    std::fprintf(stderr, "Usage:\n%s", SiteChangeUsage);
    return 2;
  } catch (const EQuillmereError& e) {
    Err(e.Message);
    return 1;
  }
}
