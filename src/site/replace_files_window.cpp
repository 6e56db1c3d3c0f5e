#include "site/replace_files_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "components/check_list_box.h"
#include "components/file_names.h"
#include "components/form_style.h"
#include "components/msg_func.h"
#include "search/escapes.h"
#include "site/site_journal.h"

namespace {

constexpr char kTitle[] = "Replace in files";

template <typename T>
T* Named(T* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

// At most Max lines of List, then "and N more".
QString Listed(const QStringList& list, int max = 10) {
  QStringList shown = list.mid(0, max);
  if (list.size() > max) shown << QStringLiteral("and %1 more").arg(list.size() - max);
  return shown.join(u'\n');
}

}  // namespace

TfrmReplaceFiles::TfrmReplaceFiles(const QString& root, const QString& mask, QWidget* parent)
    : QDialog(parent), FRoot(TSiteJournal::RootKey(root)) {
  setObjectName("frmReplaceFiles");
  setWindowTitle(QString::fromUtf8("Replace in files – ") + ShownName(FRoot));
  SetFormColour(this);
  setFont(SansFont(13));
  resize(640, 520);

  edtFind = Named(new QLineEdit(this), "edtFind");
  edtReplace = Named(new QLineEdit(this), "edtReplace");
  edtMask = Named(new QLineEdit(mask, this), "edtMask");
  ckbCaseSens = Named(new QCheckBox("&Case sensitive", this), "ckbCaseSens");
  ckbInclSubDirs = Named(new QCheckBox("Include sub-directories", this), "ckbInclSubDirs");
  ckbInclSubDirs->setChecked(true);
  edtFind->setToolTip("%009 stands for a tab, %013 for CR, %010 for LF.");
  edtReplace->setToolTip(edtFind->toolTip());

  auto* form = new QFormLayout;
  form->addRow("&Find:", edtFind);
  form->addRow("Replace &with:", edtReplace);
  auto* options = new QHBoxLayout;
  auto* lblMask = new QLabel("&Mask:", this);
  lblMask->setBuddy(edtMask);
  options->addWidget(lblMask);
  options->addWidget(edtMask, 1);
  options->addWidget(ckbInclSubDirs);
  options->addWidget(ckbCaseSens);
  form->addRow(options);

  lbxFiles = Named(new TZELCheckListBox(this), "lbxFiles");
  lbxHits = Named(new QListWidget(this), "lbxHits");
  lbxHits->setFont(QFont("Liberation Mono", 9));
  lblTotal = Named(new QLabel(this), "lblTotal");
  bbtPreview = Named(new QPushButton("&Preview", this), "bbtPreview");
  bbtReplace = Named(new QPushButton("&Replace", this), "bbtReplace");
  bbtClose = Named(new QPushButton("&Close", this), "bbtClose");
  for (QPushButton* b : {bbtPreview, bbtReplace, bbtClose}) b->setAutoDefault(false);
  bbtPreview->setDefault(true);

  auto* column = new QVBoxLayout(this);
  column->addLayout(form);
  column->addWidget(new QLabel("Files (untick those to leave alone):", this));
  column->addWidget(lbxFiles, 3);
  column->addWidget(new QLabel("First hits of the selected file:", this));
  column->addWidget(lbxHits, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblTotal, 1);
  buttons->addWidget(bbtPreview);
  buttons->addWidget(bbtReplace);
  buttons->addWidget(bbtClose);
  column->addLayout(buttons);

  connect(bbtPreview, &QPushButton::clicked, this, [this] { bbtPreviewClick(); });
  connect(bbtReplace, &QPushButton::clicked, this, [this] { bbtReplaceClick(); });
  connect(bbtClose, &QPushButton::clicked, this, &QDialog::reject);
  connect(lbxFiles, &QListWidget::currentRowChanged, this, [this] { lbxFilesSelect(); });
  lbxFiles->OnClick = [this](QObject*) { UpdateButtons(); };
  // Any change of what to look for makes the preview stale.
  for (QLineEdit* e : {edtFind, edtReplace, edtMask})
    connect(e, &QLineEdit::textChanged, this, [this] {
      FHavePreview = false;
      UpdateButtons();
    });
  for (QCheckBox* c : {ckbCaseSens, ckbInclSubDirs})
    connect(c, &QCheckBox::toggled, this, [this] {
      FHavePreview = false;
      UpdateButtons();
    });
  UpdateButtons();
}

TReplaceOptions TfrmReplaceFiles::Options() const {
  TReplaceOptions o;
  o.Find = DecodeEscapes(edtFind->text());
  o.Replacement = DecodeEscapes(edtReplace->text());
  o.CaseSensitive = ckbCaseSens->isChecked();
  o.Mask = edtMask->text();
  o.SubDirs = ckbInclSubDirs->isChecked();
  return o;
}

void TfrmReplaceFiles::UpdateButtons() {
  bbtPreview->setEnabled(!edtFind->text().isEmpty());
  bool ticked = false;
  for (int i = 0; i < lbxFiles->Items().Count() && !ticked; ++i) ticked = lbxFiles->Checked(i);
  bbtReplace->setEnabled(FHavePreview && ticked);
}

void TfrmReplaceFiles::bbtPreviewClick() {
  if (edtFind->text().isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  FPreview = PreviewReplace(FRoot, Options(), [](int, int) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
  });
  QApplication::restoreOverrideCursor();
  lbxFiles->Items().Clear();
  lbxHits->clear();
  for (std::size_t i = 0; i < FPreview.Files.size(); ++i) {
    const TReplaceFile& f = FPreview.Files[i];
    lbxFiles->Items().Add(
        QStringLiteral("%1  (%2)").arg(RelativeToRoot(f.Path, FRoot)).arg(f.Hits));
    lbxFiles->SetChecked(int(i), true);
  }
  lblTotal->setText(QStringLiteral("%1 hits in %2")
                        .arg(FPreview.TotalHits())
                        .arg(FilesText(int(FPreview.Files.size()))));
  FHavePreview = true;
  if (!FPreview.Files.empty()) lbxFiles->SetItemIndex(0);
  UpdateButtons();
  if (!FPreview.Problems.isEmpty())
    MsgWarning("These files are left out:\r\n" + Listed(FPreview.Problems), kTitle);
}

void TfrmReplaceFiles::lbxFilesSelect() {
  lbxHits->clear();
  const int row = lbxFiles->ItemIndex();
  if (row < 0 || row >= int(FPreview.Files.size())) return;
  for (const TReplaceHit& hit : FPreview.Files[std::size_t(row)].FirstHits)
    lbxHits->addItem(QStringLiteral("%1: %2").arg(hit.Line, 5).arg(hit.Text));
}

void TfrmReplaceFiles::bbtReplaceClick() {
  if (!FHavePreview) return;
  std::vector<int> chosen;
  QString leftOut;
  for (int i = 0; i < lbxFiles->Items().Count(); ++i) {
    if (!lbxFiles->Checked(i)) continue;
    if (!ModifiedPage.isEmpty() && FPreview.Files[std::size_t(i)].Path == ModifiedPage) {
      leftOut = RelativeToRoot(ModifiedPage, FRoot);
      continue;
    }
    chosen.push_back(i);
  }
  if (!leftOut.isEmpty())
    MsgInfo(leftOut + " is open with unsaved changes and is left out.", kTitle);
  if (chosen.empty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const TReplaceResult r = ApplyReplace(FPreview, chosen);
  QApplication::restoreOverrideCursor();
  if (OnReplaced && !r.Written.isEmpty()) OnReplaced(r.Written);
  FHavePreview = false;
  lbxFiles->Items().Clear();
  lbxHits->clear();
  UpdateButtons();
  QString text = QStringLiteral("%1 written.").arg(FilesText(int(r.Written.size())));
  if (!r.LeftOut.isEmpty()) text += "\r\nLeft out:\r\n" + Listed(r.LeftOut);
  if (!r.Failed.isEmpty()) text += "\r\nNot written:\r\n" + Listed(r.Failed);
  if (!r.Error.isEmpty()) text += "\r\n" + r.Error;
  if (r.Ok())
    MsgInfo(text, kTitle);
  else
    MsgWarning(text, kTitle);
  lblTotal->setText(QStringLiteral("%1 written").arg(FilesText(int(r.Written.size()))));
}
