#include "site/site_check_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include "components/form_style.h"
#include "components/msg_func.h"
#include "doc/checked_write.h"
#include "site/site_check_view.h"

namespace {

QPointer<TfrmSiteCheck> TheInstance;

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAccessibleName(QString(caption).remove(u'&'));
  button->setAccessibleDescription(hint);
  button->setAutoDefault(false);
  return button;
}

// Enter on a row opens it, as a double click does.
class TEnterOpens : public QObject {
 public:
  TEnterOpens(QObject* parent, std::function<void()> open) : QObject(parent), FOpen(open) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        FOpen();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> FOpen;
};

}  // namespace

TfrmSiteCheck::TfrmSiteCheck(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      Runner(RunSiteCheck) {
  setObjectName("frmSiteCheck");
  setWindowTitle("Site check");
  SetFormColour(this);
  setFont(SansFont(13));
  resize(760, 440);
  if (!TheInstance) TheInstance = this;

  FModel = new TCheckFindingsModel(this);
  FFilter = new TCheckFindingsFilter(this);
  FFilter->setSourceModel(FModel);
  BuildControls();

  FTicker = new QTimer(this);
  FTicker->setInterval(100);
  connect(FTicker, &QTimer::timeout, this, &TfrmSiteCheck::ShowProgress);
}

TfrmSiteCheck::~TfrmSiteCheck() { StopAndWait(); }

TfrmSiteCheck* TfrmSiteCheck::Instance() { return TheInstance; }

void TfrmSiteCheck::BuildControls() {
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 8, 8, 8);

  auto* top = new QHBoxLayout;
  auto* lblKind = new QLabel("&Show", this);
  lblKind->setObjectName("lblKind");
  cmbKind = new QComboBox(this);
  cmbKind->setObjectName("cmbKind");
  cmbKind->setAccessibleName("Kind of finding shown");
  cmbKind->setToolTip("Show the findings of one kind, or all.");
  cmbKind->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  lblKind->setBuddy(cmbKind);
  lblCounts = new QLabel(this);
  lblCounts->setObjectName("lblCounts");
  lblCounts->setAccessibleName("Findings per kind");
  lblCounts->setTextInteractionFlags(Qt::TextSelectableByMouse);
  top->addWidget(lblKind);
  top->addWidget(cmbKind);
  top->addSpacing(12);
  top->addWidget(lblCounts, 1);
  outer->addLayout(top);

  tblFindings = new QTableView(this);
  tblFindings->setObjectName("tblFindings");
  tblFindings->setAccessibleName("Findings");
  tblFindings->setToolTip("Double click a finding to open the page at its line.");
  tblFindings->setModel(FFilter);
  tblFindings->setSortingEnabled(true);
  tblFindings->sortByColumn(-1, Qt::AscendingOrder);  // the check's own order until a click
  tblFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblFindings->setSelectionMode(QAbstractItemView::SingleSelection);
  tblFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblFindings->setWordWrap(false);
  tblFindings->verticalHeader()->hide();
  tblFindings->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  tblFindings->horizontalHeader()->setStretchLastSection(true);
  tblFindings->setColumnWidth(ccPage, 220);
  tblFindings->setColumnWidth(ccLine, 60);
  tblFindings->setColumnWidth(ccKind, 80);
  tblFindings->installEventFilter(new TEnterOpens(this, [this] { tblFindingsDblClick(); }));
  outer->addWidget(tblFindings, 1);

  auto* progress = new QHBoxLayout;
  prbProgress = new QProgressBar(this);
  prbProgress->setObjectName("prbProgress");
  prbProgress->setAccessibleName("Pages checked");
  prbProgress->setRange(0, 1);
  prbProgress->setValue(0);
  lblStatus = new QLabel(this);
  lblStatus->setObjectName("lblStatus");
  lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
  progress->addWidget(prbProgress);
  progress->addWidget(lblStatus, 1);
  outer->addLayout(progress);

  auto* buttons = new QHBoxLayout;
  bbtStop = MakeButton(this, "bbtStop", "S&top", "Stop the check; the findings so far stay.");
  bbtStop->setEnabled(false);
  bbtAgain = MakeButton(this, "bbtAgain", "Check &again", "Check the same folder again.");
  bbtAgain->setEnabled(false);
  bbtSaveAs = MakeButton(this, "bbtSaveAs", "Save &as…", "Save the findings shown to a file.");
  bbtSaveAs->setEnabled(false);
  bbtClose = MakeButton(this, "bbtClose", "&Close", "Close this window.");
  buttons->addWidget(bbtStop);
  buttons->addStretch(1);
  buttons->addWidget(bbtAgain);
  buttons->addWidget(bbtSaveAs);
  buttons->addWidget(bbtClose);
  outer->addLayout(buttons);

  connect(bbtStop, &QPushButton::clicked, this, &TfrmSiteCheck::bbtStopClick);
  connect(bbtAgain, &QPushButton::clicked, this, &TfrmSiteCheck::bbtAgainClick);
  connect(bbtSaveAs, &QPushButton::clicked, this, &TfrmSiteCheck::bbtSaveAsClick);
  connect(bbtClose, &QPushButton::clicked, this, &QWidget::close);
  connect(cmbKind, &QComboBox::currentIndexChanged, this, &TfrmSiteCheck::cmbKindChange);
  connect(tblFindings, &QTableView::doubleClicked, this, &TfrmSiteCheck::tblFindingsDblClick);
  ShowCounts();
}

void TfrmSiteCheck::StartCheck(const TCheckOptions& options, QDialog* host) {
  StopAndWait();
  if (host && !FAway) {
    // A modal window blocks every window but its own: while it is open this
    // one is lent to it, and comes back when it closes.
    FHome = parentWidget();
    const QPoint at = pos();
    setParent(host, windowFlags());
    move(at);
    FAway = true;
    connect(host, &QDialog::finished, this, &TfrmSiteCheck::ReturnHome, Qt::UniqueConnection);
  }
  FOptions = options;
  FResult = {};
  FModel->SetFindings({});
  FStop = false;
  FDone = 0;
  FTotal = 0;
  lblStatus->setText("Checking " + QDir::toNativeSeparators(options.Root) + " …");
  prbProgress->setRange(0, 0);
  prbProgress->show();
  bbtStop->setEnabled(true);
  bbtAgain->setEnabled(false);
  bbtSaveAs->setEnabled(false);

  auto result = std::make_shared<TCheckResult>();
  const TRunner runner = Runner;
  const TCheckProgress progress = [this](int done, int total) {
    FDone = done;
    FTotal = total;
  };
  FThread = QThread::create([runner, options, progress, result, this] {
    try {
      *result = runner(options, progress, &FStop);
    } catch (const std::exception& e) {
      result->Error = QString::fromUtf8(e.what());
    }
  });
  FThread->setObjectName("SiteCheck");
  connect(FThread, &QThread::finished, this, [this, result] {
    FThread->deleteLater();
    FThread = nullptr;
    Finished(std::move(*result));
  });
  FThread->start(QThread::LowPriority);
  FTicker->start();
  ShowCounts();

  if (!FPlaced) {
    // First shown beside what it was started from, its title bar on screen.
    const QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect area = over ? over->frameGeometry() : screen()->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2) + QPoint(40, 40));
    FPlaced = true;
  }
  if (isHidden()) show();
  raise();
  activateWindow();
}

void TfrmSiteCheck::StopAndWait() {
  if (!FThread) return;
  // Its results are not wanted any more: nothing may arrive after this.
  FThread->disconnect(this);
  FStop = true;
  FThread->wait();
  delete FThread;
  FThread = nullptr;
  FTicker->stop();
}

void TfrmSiteCheck::ShowProgress() {
  const int total = FTotal, done = FDone;
  if (total <= 0) return;
  if (prbProgress->maximum() != total) prbProgress->setRange(0, total);
  prbProgress->setValue(std::min(done, total));
  if (!FStop)
    lblStatus->setText(QStringLiteral("Checking %1: page %2 of %3")
                           .arg(QDir::toNativeSeparators(FOptions.Root), QLocale().toString(done),
                                QLocale().toString(total)));
}

void TfrmSiteCheck::Finished(TCheckResult result) {
  FTicker->stop();
  ShowProgress();
  bbtStop->setEnabled(false);
  bbtAgain->setEnabled(true);
  FModel->SetFindings(std::move(result.Findings));
  FResult = std::move(result);
  FResult.Findings.clear();
  ShowCounts();
  bbtSaveAs->setEnabled(!FModel->Findings().empty());
  if (FFilter->rowCount() > 0) tblFindings->selectRow(0);
  const QLocale locale;
  if (!FResult.Error.isEmpty()) {
    prbProgress->setRange(0, 1);
    prbProgress->setValue(0);
    lblStatus->setText(FResult.Error);
    MsgWarning(FResult.Error, "Check site");
    return;
  }
  // A stopped check shows how far it came.
  if (!FResult.Stopped) {
    prbProgress->setRange(0, 1);
    prbProgress->setValue(1);
  }
  const QString read =
      QStringLiteral("%1 pages and %2 style sheets read, %3 local references checked, %4 external")
          .arg(locale.toString(FResult.Pages), locale.toString(FResult.StyleSheets),
               locale.toString(FResult.References), locale.toString(FResult.ExternalReferences));
  lblStatus->setText(FResult.Stopped ? "Stopped: the findings so far. " + read : read);
}

void TfrmSiteCheck::ShowCounts() {
  const std::vector<int> counts = CountCheckKinds(FModel->Findings());
  const QLocale locale;
  QStringList parts;
  for (int k = 0; k < CheckKindCount; ++k)
    if (counts[std::size_t(k)] > 0)
      parts.append(CheckKindName(TCheckKind(k)) + ' ' + locale.toString(counts[std::size_t(k)]));
  const int all = int(FModel->Findings().size());
  lblCounts->setText(Running()  ? QString()
                     : all == 0 ? QStringLiteral("No findings")
                                : QStringLiteral("%1 findings: %2")
                                      .arg(locale.toString(all), parts.join(QStringLiteral(", "))));

  // The filter keeps its kind across checks.
  const int kept = cmbKind->currentIndex() > 0 ? cmbKind->currentData().toInt() : -1;
  const QSignalBlocker block(cmbKind);
  cmbKind->clear();
  cmbKind->addItem(QStringLiteral("All kinds (%1)").arg(locale.toString(all)), -1);
  for (int k = 0; k < CheckKindCount; ++k)
    cmbKind->addItem(QStringLiteral("%1 (%2)").arg(CheckKindName(TCheckKind(k)),
                                                   locale.toString(counts[std::size_t(k)])),
                     k);
  cmbKind->setCurrentIndex(std::max(0, cmbKind->findData(kept)));
}

void TfrmSiteCheck::cmbKindChange() {
  const int kind = cmbKind->currentData().toInt();
  FFilter->SetKind(kind < 0 ? std::nullopt : std::optional<TCheckKind>(TCheckKind(kind)));
  if (FFilter->rowCount() > 0) tblFindings->selectRow(0);
}

std::optional<TCheckFinding> TfrmSiteCheck::SelectedFinding() const {
  const QModelIndex current = tblFindings->currentIndex();
  if (!current.isValid()) return std::nullopt;
  const TCheckFinding* finding = FFilter->FindingAt(current.row());
  if (!finding) return std::nullopt;
  return *finding;
}

const std::vector<TCheckFinding>& TfrmSiteCheck::Findings() const { return FModel->Findings(); }

void TfrmSiteCheck::tblFindingsDblClick() {
  if (SelectedFinding() && OnChoose) OnChoose(this);
}

void TfrmSiteCheck::bbtStopClick() {
  if (!FThread) return;
  // The check ends at its next page and reports what it found so far.
  FStop = true;
  bbtStop->setEnabled(false);
  lblStatus->setText("Stopping …");
}

void TfrmSiteCheck::bbtAgainClick() {
  if (!FOptions.Root.isEmpty()) StartCheck(FOptions);
}

QString TfrmSiteCheck::RunSaveDialog(const QString& title, const QString& fileName) {
  if (SaveDialog) return SaveDialog(title, fileName);
  QFileDialog dialog(this, title, fileName, "Text (*.txt);;All files (*)");
  dialog.setObjectName("sdlCheckSaveAs");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("txt");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
             ? dialog.selectedFiles().first()
             : QString();
}

void TfrmSiteCheck::bbtSaveAsClick() {
  const QString target =
      RunSaveDialog("Save the findings as", QDir(FOptions.Root).filePath("site-check.txt"));
  if (target.isEmpty()) return;
  try {
    // The form quillmere-site check prints, for the rows shown.
    WriteFileChecked(target, CheckResultText(ShownResult(FResult, FFilter->ShownFindings()),
                                             ShownKinds(FOptions, FFilter->Kind())));
  } catch (const EInOutError& e) {
    MsgWarning(e.Message, "Findings not saved");
  }
}

void TfrmSiteCheck::ReturnHome() {
  if (!FAway) return;
  const bool shown = isVisible();
  const QPoint at = pos();
  setParent(FHome, windowFlags());
  move(at);
  FAway = false;
  if (shown) show();
}

void TfrmSiteCheck::closeEvent(QCloseEvent* event) {
  // A check nobody looks at is not worth the time; what it found stays.
  bbtStopClick();
  QWidget::closeEvent(event);
}
