#include "site/walk_tree_names.h"

#include <QWidget>

#include "components/accessible_names.h"

void NameSiteControls(QWidget* window) {
  // The caption of the label or button beside each control.
  static const struct {
    const char* Control;
    const char* Name;
  } names[] = {
      {"edtLocalRoot", "Local root"},  {"edtRemoteRoot", "Remote root"}, {"edtMask", "Mask"},
      {"rgpCase", "all filenames to"}, {"edtTouch", "all filedates to"}, {"edtSaveAs", "SaveAs"},
      {"memOutput", "Output"},
  };
  for (const auto& n : names)
    if (auto* w = window->findChild<QWidget*>(QLatin1String(n.Control)))
      w->setAccessibleName(QLatin1String(n.Name));
  NameControlsByHints(window);
}
