#include "site/publish_check.h"

TPublishCheck CheckBeforePublish(const QString&) {
  TPublishCheck check;
  check.Note = QStringLiteral("The site check is not available in this build.");
  return check;
}

QString CheckQuestion(int count) {
  return QStringLiteral("The site has %1 broken links. Publish anyway?").arg(count);
}
