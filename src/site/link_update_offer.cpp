#include "site/link_update_offer.h"

#include <QApplication>

#include "components/msg_func.h"
#include "site/link_rewrite.h"
#include "site/site_files.h"
#include "site/site_journal.h"

QStringList OfferLinkUpdate(const QString& root, const std::vector<TRename>& renames,
                            const QString& title) {
  if (renames.empty()) return {};
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const TLinkPlan plan = PlanLinkUpdate(root, renames);
  QApplication::restoreOverrideCursor();
  if (plan.Pages.empty() || MsgYesNo(LinkQuestion(plan), title) != mrYes) return {};
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const TSiteChangeResult r = ApplyLinkUpdate(
      plan, renames.size() == 1
                ? QStringLiteral("Rename %1 to %2, with its links")
                      .arg(RelativeToRoot(renames[0].From, plan.Root),
                           RelativeToRoot(renames[0].To, plan.Root))
                : QStringLiteral("Convert %1 file names, with their links").arg(renames.size()));
  QApplication::restoreOverrideCursor();
  if (!r.Ok()) {
    QStringList lines{QStringLiteral("Links changed in %1.").arg(FilesText(int(r.Written.size())))};
    if (!r.LeftOut.isEmpty()) lines << QStringLiteral("Left out:") << r.LeftOut.mid(0, 10);
    if (!r.Failed.isEmpty()) lines << QStringLiteral("Not written:") << r.Failed.mid(0, 10);
    if (!r.Error.isEmpty()) lines << r.Error;
    MsgWarning(lines.join(QLatin1String("\r\n")), title);
  }
  return r.Written;
}
