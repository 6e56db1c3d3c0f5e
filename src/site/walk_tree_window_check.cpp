// The site window's "Check site" button: the tree its fields choose, checked
// in the site check's window.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include "config/environment.h"
#include "site/site_check_view.h"
#include "site/site_check_window.h"
#include "site/walk_tree_window.h"

void TfrmWalkTree::BuildCheckButton() {
  // Under Testpage, in the right-hand column of buttons, where the layout
  // has room and nothing moves.
  bbtCheck = new QPushButton("Chec&k site", this);
  bbtCheck->setObjectName("bbtCheck");
  bbtCheck->setGeometry(544, 84, 75, 24);
  bbtCheck->setAutoDefault(false);
  bbtCheck->setToolTip("Check the links, HTML and characters of the pages the fields choose.");
  bbtCheck->setAccessibleName("Check site");
  setTabOrder(edtSaveAs, bbtCheck);
  connect(bbtCheck, &QPushButton::clicked, this, &TfrmWalkTree::bbtCheckClick);
}

void TfrmWalkTree::bbtCheckClick() {
  TCheckOptions options;
  options.Root = edtLocalRoot->text().trimmed();
  options.Mask = edtMask->text().trimmed();
  options.SubDirs = ckbInclSubDirs->isChecked();
  if (Environment)
    ApplyCheckSettings(Environment->CheckIndexPages, Environment->CheckImageLimit, &options);
  TfrmSiteCheck* window = TfrmSiteCheck::Instance();
  // Opened on its own, the site window keeps a check window of its own.
  if (!window) window = new TfrmSiteCheck(this);
  window->StartCheck(options, this);
}
