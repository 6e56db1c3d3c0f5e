// The site window's List site, Convert, Touch and SaveAs.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>

#include "components/box_label.h"
#include "components/desktop.h"
#include "components/msg_func.h"
#include "doc/checked_write.h"
#include "site/date_func.h"
#include "site/link_update_offer.h"
#include "site/site_listing.h"
#include "site/site_window_rules.h"
#include "site/walk_tree_window.h"

TfrmWalkTree::TWaitCursor::TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
TfrmWalkTree::TWaitCursor::~TWaitCursor() { QApplication::restoreOverrideCursor(); }

void TfrmWalkTree::ListSite() {
  TWaitCursor wait;
  const QString localRoot = edtLocalRoot->text();
  const TSiteListing listing = ::ListSite(*ifmManager, localRoot, edtMask->text(),
                                          ckbDetails->isChecked(), ckbInclSubDirs->isChecked());
  lbxFiles->clear();
  lbxFiles->addItems(listing.FullPaths);
  SetOutput(listing.Lines);
  bxlFileCount->SetCaption(QString::number(listing.FileCount));
  bxlFileSize->SetCaption(FormatTotalSize(listing.TotalSize));
  edtSaveAs->setText(SaveAsTarget(localRoot, ListingFileName, listing.FileCount));
  UpdateButtons();
}

void TfrmWalkTree::ConvertCase() {
  QStringList paths;
  for (int i = 0; i < lbxFiles->count(); ++i) paths << lbxFiles->item(i)->text();
  const bool upper = FCaseButtons->checkedId() == 1;
  std::vector<TRename> renamed;
  {
    TWaitCursor wait;
    struct TBoxCloser {
      ~TBoxCloser() { CloseProgressBox(0); }
    } closer;
    bool boxShown = false;
    for (const QString& path : paths) {
      const QString name = QFileInfo(path).fileName();
      const QString newName = CaseFileName(name, upper);
      if (newName == name) continue;
      const QString shown = path.size() > 25 ? "..." + path.right(25) : path;
      if (!boxShown)
        ShowProgressBox("Renaming: " + shown, "Converting, please wait", mkInfo);
      else
        UpdateProgressBox("Renaming: " + shown);
      boxShown = true;
      if (!RenameNoReplace(path, newName)) {
        MsgStop(RenameFailureText(path), "Warning");
        Desktop().Beep();
      } else {
        renamed.push_back({path, path.left(path.size() - name.size()) + newName});
      }
    }
  }
  ListSite();
  OfferLinkUpdate(edtLocalRoot->text(), renamed, "Convert");
}

void TfrmWalkTree::TouchFiles() {
  const QString text = edtTouch->text();
  try {
    DateTimeStrToDateTime(text);
  } catch (const EConvertError& e) {
    MsgStop(e.Message, {});
    return;
  }
  if (MsgYesNo("All files will get datetime: \"" + text + "\".\r\nDo you want to contine?",
               "Touch files") == mrNo)
    return;
  {
    TWaitCursor wait;
    // The window has asked already; the engine's own question stays away,
    // and comes back for whoever uses the engine next, also after a failure.
    struct TWarningsBack {
      TZELFileManager* Manager;
      ~TWarningsBack() { Manager->SetShowWarnings(true); }
    } back{ifmManager};
    try {
      ifmManager->SetTimeStamp(text);
      ifmManager->SetShowWarnings(false);
      ifmManager->Touch();
    } catch (const EQuillmereError& e) {
      MsgStop(e.Message, {});
      return;
    }
  }
  ListSite();
}

void TfrmWalkTree::SaveOutput() {
  try {
    WriteFileChecked(edtSaveAs->text(), OutputBytes(FOutput));
  } catch (const EInOutError& e) {
    MsgStop(e.Message, {});
  }
}
