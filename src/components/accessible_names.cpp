#include "components/accessible_names.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

namespace {

// Text the control shows itself, which a reader already says.
bool ShowsOwnText(const QWidget* w) {
  if (qobject_cast<const QLabel*>(w)) return true;
  if (const auto* b = qobject_cast<const QAbstractButton*>(w))
    return !QString(b->text()).remove(QLatin1Char('&')).trimmed().isEmpty();
  if (const auto* g = qobject_cast<const QGroupBox*>(w)) return !g->title().isEmpty();
  return false;
}

}  // namespace

void NameControlsByHints(QWidget* window) {
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->accessibleName().isEmpty() || w->toolTip().isEmpty() || ShowsOwnText(w)) continue;
    w->setAccessibleName(w->toolTip());
  }
}
