#include "site/publish_check.h"

#include "site/site_check.h"

TPublishCheck CheckBeforePublish(const QString& localRoot, const QString& iniFileName,
                                 const std::atomic<bool>* stop) {
  TCheckOptions options;
  options.Root = localRoot;
  options.Kinds = KindBit(ckBroken) | KindBit(ckCase) | KindBit(ckOutside);
  ReadCheckSettings(iniFileName, &options);
  const TCheckResult result = RunSiteCheck(options, {}, stop);
  TPublishCheck check;
  check.Stopped = result.Stopped;
  check.Ran = result.Error.isEmpty();
  check.Note = result.Error;
  for (const TCheckFinding& finding : result.Findings) {
    if (!(options.Kinds & KindBit(finding.Kind))) continue;
    ++check.Count;
    check.Lines.append(CheckFindingLine(finding));
  }
  return check;
}

QString CheckQuestion(int count) {
  return QStringLiteral("The site has %1 broken links. Publish anyway?").arg(count);
}
