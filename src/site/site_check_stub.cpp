// Placeholder bodies until the checker lands; they find nothing.
#include "site/site_check.h"

TCheckResult RunSiteCheck(const TCheckOptions&, const TCheckProgress&, const std::atomic<bool>*) {
  return {};
}

TPageScan ScanPage(const QByteArray&, const QByteArray&, bool, bool) { return {}; }

QList<TPageReference> ScanStyleSheet(const QByteArray&, const QByteArray&) { return {}; }

void ResolveReference(const QByteArray& ref, const QByteArray&, bool, TPageReference* into) {
  into->Text = ref;
}
