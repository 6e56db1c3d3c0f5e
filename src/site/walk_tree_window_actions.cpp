// The site window's List site, Convert, Touch and SaveAs.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QThread>
#include <QWindow>

#include "components/box_label.h"
#include "components/date_func.h"
#include "components/desktop.h"
#include "components/msg_func.h"
#include "components/msg_window.h"
#include "doc/checked_write.h"
#include "site/link_update_offer.h"
#include "site/site_listing.h"
#include "site/site_names.h"
#include "site/site_window_rules.h"
#include "site/walk_tree_window.h"

TfrmWalkTree::TWaitCursor::TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
TfrmWalkTree::TWaitCursor::~TWaitCursor() { QApplication::restoreOverrideCursor(); }

void TfrmWalkTree::ListSite() {
  TWaitCursor wait;
  const QString localRoot = edtLocalRoot->text();
  const TSiteListing listing = ::ListSite(*ifmManager, localRoot, edtMask->text(),
                                          ckbDetails->isChecked(), ckbInclSubDirs->isChecked());
  // Cut short for another listing: that one fills the pane, and Convert keeps
  // the whole list of the last listing that ended.
  if (!listing.Complete) return;
  lbxFiles->clear();
  lbxFiles->addItems(listing.FullPaths);
  SetOutput(listing.Lines);
  bxlFileCount->SetCaption(QString::number(listing.FileCount));
  bxlFileSize->SetCaption(FormatTotalSize(listing.TotalSize));
  edtSaveAs->setText(SaveAsTarget(localRoot, ListingFileName, listing.FileCount));
  UpdateButtons();
}

namespace {

// A window manager maps a new window in its own time, and a window not yet
// exposed paints nothing: wait for it (briefly), so the box shows its text.
void ShowRenamingBox(const QString& text) {
  ShowProgressBox(text, "Converting, please wait", mkInfo);
  const QPointer<QWidget> box = ProgressBoxWindow();
  QElapsedTimer waited;
  waited.start();
  while (box && box->windowHandle() && !box->windowHandle()->isExposed() &&
         waited.elapsed() < 1000) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(5);
  }
  if (ProgressBoxWindow()) ProgressBoxWindow()->repaint();
}

}  // namespace

void TfrmWalkTree::ConvertCase() {
  QStringList paths;
  for (int i = 0; i < lbxFiles->count(); ++i) paths << lbxFiles->item(i)->text();
  const bool upper = FCaseButtons->checkedId() == 1;
  qsizetype toRename = 0;
  for (const QString& path : paths) {
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    if (CaseFileName(name, upper) != name) ++toRename;
  }
  std::vector<TRename> renamed;
  {
    TWaitCursor wait;
    struct TBoxCloser {
      ~TBoxCloser() { CloseProgressBox(0); }
    } closer;
    qsizetype done = 0;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    for (const QString& path : paths) {
      const QString name = path.mid(path.lastIndexOf('/') + 1);
      const QString newName = CaseFileName(name, upper);
      if (newName == name) continue;
      // The box repaints and the window answers (a click waits its turn,
      // closing asks) while a large site is renamed: every 20 ms, and every
      // 50 files, since a fast disk renames hundreds in that time.
      if (sinceEvents.elapsed() >= 20 || (done > 0 && done % 50 == 0)) {
        QCoreApplication::processEvents();
        sinceEvents.restart();
      }
      if (FStopAsked) {
        CloseProgressBox(0);
        MsgWarning(QStringLiteral("Convert stopped.\r\n%1 files done, %2 not done.")
                       .arg(done)
                       .arg(toRename - done),
                   "Function aborted");
        return;
      }
      const QString listed = ListedName(path);
      const QString shown = listed.size() > 25 ? "..." + listed.right(25) : listed;
      if (!ProgressBoxWindow())
        ShowRenamingBox("Renaming: " + shown);
      else
        UpdateProgressBox("Renaming: " + shown);
      if (!RenameNoReplace(path, newName)) {
        MsgStop(RenameFailureText(path), "Warning");
        Desktop().Beep();
      } else {
        renamed.push_back({path, path.left(path.size() - name.size()) + newName});
      }
      ++done;
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
    // Stopped as the question closed: nothing is dated, nothing to report.
    if (FStopAsked) return;
    try {
      ifmManager->SetTimeStamp(text);
      ifmManager->SetShowWarnings(false);
      ifmManager->Touch();
    } catch (const EQuillmereError& e) {
      MsgStop(e.Message, {});
      return;
    }
  }
  // Stopped: the engine has said how far it got, and the window closes.
  if (ifmManager->Stopped()) return;
  ListSite();
}

void TfrmWalkTree::SaveOutput() {
  try {
    WriteFileChecked(edtSaveAs->text(), OutputBytes(FOutput));
  } catch (const EInOutError& e) {
    MsgStop(e.Message, {});
  }
}
