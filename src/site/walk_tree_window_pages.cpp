// The site window's Testpage and Robots.txt: the generators fill the pane.
#include <QCheckBox>
#include <QLineEdit>

#include "components/msg_func.h"
#include "config/environment.h"
#include "site/robots.h"
#include "site/site_window_rules.h"
#include "site/test_page.h"
#include "site/walk_tree_window.h"

void TfrmWalkTree::MakeTestPage() {
  TWaitCursor wait;
  edtRemoteRoot->setText(RemoteRootWithSlash(edtRemoteRoot->text()));
  const QString localRoot = edtLocalRoot->text(), remoteRoot = edtRemoteRoot->text();
  const bool inclSubDirs = ckbInclSubDirs->isChecked();
  const QStringList pages =
      BuildPageList(*ifmManager, localRoot, edtMask->text(), inclSubDirs, remoteRoot);
  // Cut short for another action that fills the pane.
  if (ifmManager->Stopped()) return;
  edtSaveAs->setText(SaveAsTarget(localRoot, TestPageFileName, ifmManager->FileCount()));
  const QStringList images = BuildImageList(*ifmManagerImg, localRoot, remoteRoot, inclSubDirs);
  if (ifmManagerImg->Stopped()) return;
  SetOutput(WriteTestPage(pages, images, remoteRoot, ServiceRoots(Environment->IniFileName)));
}

void TfrmWalkTree::MakeRobots() {
  TWaitCursor wait;
  const QString localRoot = edtLocalRoot->text();
  const QStringList pages =
      BuildPageList(*ifmManager, localRoot, edtMask->text(), ckbInclSubDirs->isChecked());
  if (ifmManager->Stopped()) return;
  edtSaveAs->setText(SaveAsTarget(localRoot, RobotsFileName, ifmManager->FileCount()));
  QString failure;
  SetOutput(WriteRobots(pages, localRoot, &failure));
  if (!failure.isEmpty()) MsgStop(failure, {});
}
