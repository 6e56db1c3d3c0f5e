// The site window's Publish: the Target field, the preview by rsync's dry
// run, the questions, the send with its progress and Stop. rsync runs as a
// process, so the window stays alive all the while.
#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <atomic>
#include <thread>

#include "components/errors.h"
#include "components/msg_func.h"
#include "config/environment.h"
#include "site/publish.h"
#include "site/publish_check.h"
#include "site/publish_settings.h"
#include "site/rsync_run.h"
#include "site/walk_tree_window.h"

namespace {

const char PublishCaption[] = "Publish";

// The client height with the publish row below the SaveAs row.
constexpr int PublishHeight = 572;

// Runs the site check on a worker thread while the window's events go on.
TPublishCheck CheckWhileAlive(const QString& root, const QString& iniFileName,
                              const std::atomic<bool>* stop) {
  TPublishCheck check;
  QEventLoop loop;
  std::thread worker([&] {
    check = CheckBeforePublish(root, iniFileName, stop);
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  loop.exec();
  worker.join();
  return check;
}

// The askpass script installed beside the program; none in a test build.
QString AskPassProgram() {
  const QFileInfo script(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/quillmere-askpass"));
  return script.isExecutable() ? script.absoluteFilePath() : QString();
}

}  // namespace

// What one publish from the window holds between its steps.
class TPublishFlow : public QObject {
 public:
  enum TStep { psIdle, psCheck, psPreview, psSend, psVerify };
  explicit TPublishFlow(QObject* parent) : QObject(parent), Run(new TRsyncRun(this)) {}
  TRsyncRun* Run;
  TStep Step = psIdle;
  TPublishJob Job;
  TPublishPreview Preview;
  QStringList Lines;   // the pane's lines of this publish
  QString LoadedRoot;  // the local root whose settings the fields show
  QString Failure;     // why the send ended early
  bool Stopped = false;
  QList<bool> Held;  // the enabled state of the controls a run holds
  std::atomic<bool> CheckStop = false;
  TPublishSettings Settings;
};

void TfrmWalkTree::BuildPublishControls() {
  setFixedSize(width(), PublishHeight);
  auto* label = new QLabel("Target", this);
  label->setObjectName("lblTarget");
  label->move(8, 544);
  label->adjustSize();
  edtTarget = new QLineEdit(this);
  edtTarget->setObjectName("edtTarget");
  edtTarget->setGeometry(88, 540, 449, 24);
  edtTarget->setPlaceholderText("user@host:/var/www/site/ or a folder");
  label->setBuddy(edtTarget);
  prbPublish = new QProgressBar(this);
  prbPublish->setObjectName("prbPublish");
  prbPublish->setGeometry(88, 540, 449, 24);
  prbPublish->hide();
  bbtPublish = new QPushButton("&Publish", this);
  bbtPublish->setObjectName("bbtPublish");
  bbtPublish->setGeometry(544, 540, 75, 24);
  bbtPublish->setAutoDefault(false);
  setTabOrder(edtSaveAs, edtTarget);
  setTabOrder(edtTarget, bbtPublish);

  FPublish = new TPublishFlow(this);
  FPublish->Run->SetEnvironment(PublishEnvironment(AskPassProgram()));
  connect(bbtPublish, &QPushButton::clicked, this, &TfrmWalkTree::bbtPublishClick);
  connect(edtLocalRoot, &QLineEdit::editingFinished, this, [this] { LoadPublishSettings(); });
  connect(this, &QDialog::finished, this, [this] { StorePublishSettings(); });
  connect(FPublish->Run, &TRsyncRun::ItemRead, this, &TfrmWalkTree::PublishItemRead);
  // Queued: the questions that follow a step must not run inside the
  // process's own signal.
  connect(FPublish->Run, &TRsyncRun::Finished, this, &TfrmWalkTree::PublishStepDone,
          Qt::QueuedConnection);
}

void TfrmWalkTree::LoadPublishSettings() {
  const QString root = PublishRootKey(edtLocalRoot->text());
  if (!Environment || root == FPublish->LoadedRoot) return;
  StorePublishSettings();
  FPublish->LoadedRoot = root;
  FPublish->Settings = ReadPublishSettings(Environment->IniFileName, root);
  edtTarget->setText(FPublish->Settings.Target);
}

void TfrmWalkTree::StorePublishSettings() {
  if (!Environment || FPublish->LoadedRoot.isEmpty()) return;
  if (edtTarget->text() == FPublish->Settings.Target) return;
  FPublish->Settings.Target = edtTarget->text();
  try {
    WritePublishSettings(Environment->IniFileName, FPublish->LoadedRoot, FPublish->Settings);
  } catch (const EInOutError& e) {
    MsgStop(e.Message, PublishCaption);
  }
}

bool TfrmWalkTree::PublishMayClose() {
  if (FPublish->Step == TPublishFlow::psIdle) return true;
  if (MsgYesNo("Publishing is running. Stop it?", PublishCaption) != mrYes) return false;
  FPublish->CheckStop = true;
  FPublish->Run->Stop();
  return true;
}

void TfrmWalkTree::bbtPublishClick() {
  if (FPublish->Step != TPublishFlow::psIdle) {
    FPublish->CheckStop = true;
    FPublish->Run->Stop();
    return;
  }
  LoadPublishSettings();
  StorePublishSettings();
  TPublishFlow& p = *FPublish;
  const QString root = edtLocalRoot->text();
  if (const QString problem = PublishTargetProblem(root, edtTarget->text()); !problem.isEmpty()) {
    MsgWarning(problem, PublishCaption);
    return;
  }
  if (p.Settings.CheckFirst) {
    SetPublishStep(TPublishFlow::psCheck);
    p.Lines = {QStringLiteral("Checking the site before it is published...")};
    ShowPublishLines();
    const QPointer<TfrmWalkTree> self(this);
    p.CheckStop = false;
    const TPublishCheck check =
        CheckWhileAlive(root, Environment ? Environment->IniFileName : QString(), &p.CheckStop);
    if (!self) return;
    SetPublishStep(TPublishFlow::psIdle);
    if (check.Stopped) {
      p.Lines << QStringLiteral("The check was stopped; nothing was sent.");
      ShowPublishLines();
      return;
    }
    if (check.Count > 0 && MsgYesNo(CheckQuestion(check.Count), PublishCaption) != mrYes) {
      SetOutput(check.Lines);
      return;
    }
  }
  p.Job = TPublishJob();
  p.Job.LocalRoot = root;
  p.Job.Target = edtTarget->text();
  p.Job.Delete = p.Settings.Delete;
  p.Job.Exclude = p.Settings.ExcludePatterns();
  p.Job.DryRun = true;
  p.Lines = {
      QStringLiteral("Preview of the publish to %1: rsync is comparing...").arg(p.Job.Target)};
  ShowPublishLines();
  SetPublishStep(TPublishFlow::psPreview);
  p.Run->Start(p.Job);
}

void TfrmWalkTree::SetPublishStep(int step) {
  FPublish->Step = TPublishFlow::TStep(step);
  const bool busy = step != TPublishFlow::psIdle;
  bbtPublish->setText(busy ? "&Stop" : "&Publish");
  edtTarget->setVisible(!busy);
  prbPublish->setVisible(busy);
  // The site must stay as the preview saw it until the send is over; the
  // buttons come back as they were, the publish lines being no listing.
  const QList<QWidget*> held{edtLocalRoot, bbtList,     bbtCase,  bbtTouch,
                             bbtRobots,    bbtTestPage, bbtSaveAs};
  if (busy && FPublish->Held.isEmpty())
    for (QWidget* w : held) FPublish->Held.append(w->isEnabled());
  for (qsizetype i = 0; i < held.size(); ++i)
    held[i]->setEnabled(!busy && FPublish->Held.value(i, true));
  if (!busy) {
    FPublish->Held.clear();
    edtSaveAsChange();
  }
  if (step != TPublishFlow::psSend) prbPublish->setRange(0, 0);
}

void TfrmWalkTree::ShowPublishLines() {
  SetOutput(FPublish->Lines);
  memOutput->moveCursor(QTextCursor::End);
  memOutput->moveCursor(QTextCursor::StartOfLine);
  // SaveAs writes into the site, which stays as the preview saw it.
  if (FPublish->Step != TPublishFlow::psIdle) bbtSaveAs->setEnabled(false);
}

void TfrmWalkTree::PublishItemRead(const TPublishItem& item) {
  if (FPublish->Step != TPublishFlow::psSend || item.Action == TPublishItem::Other ||
      item.Name == QLatin1String("./"))
    return;
  static const char* const Words[] = {"sent    ", "sent    ", "removed "};
  const QString line = QLatin1String(Words[item.Action]) + ItemLineName(item.Name);
  FPublish->Lines.append(line);
  memOutput->appendPlainText(line);
  prbPublish->setValue(FPublish->Run->SentCount());
}

void TfrmWalkTree::PublishStepDone(bool ok, int, const QString& message) {
  TPublishFlow& p = *FPublish;
  if (p.Step == TPublishFlow::psPreview) {
    if (!ok) {
      SetPublishStep(TPublishFlow::psIdle);
      p.Lines << message << QStringLiteral("Nothing was sent.");
      ShowPublishLines();
      if (!p.Run->Stopped()) MsgStop(message, PublishCaption);
      return;
    }
    p.Preview = ParseRsyncPreview(p.Run->Output());
    p.Lines = PreviewLines(p.Preview, p.Job.Target);
    ShowPublishLines();
    if (p.Preview.SendCount == 0 && p.Preview.RemoveCount == 0) {
      SetPublishStep(TPublishFlow::psIdle);
      p.Lines << QStringLiteral("Nothing to send: %1 is up to date.").arg(p.Job.Target);
      ShowPublishLines();
      return;
    }
    if (MsgYesNo(SendQuestion(p.Preview, p.Job.Target), PublishCaption) != mrYes) {
      SetPublishStep(TPublishFlow::psIdle);
      p.Lines << QStringLiteral("Nothing was sent.");
      ShowPublishLines();
      return;
    }
    p.Job.DryRun = false;
    p.Job.MaxDelete = p.Preview.RemoveCount;
    SetPublishStep(TPublishFlow::psSend);
    prbPublish->setRange(0, std::max(p.Preview.SendCount, 1));
    prbPublish->setValue(0);
    prbPublish->setFormat(QStringLiteral("%v of %m files"));
    p.Run->Start(p.Job);
    return;
  }
  if (p.Step == TPublishFlow::psSend) {
    if (ok) {
      SetPublishStep(TPublishFlow::psIdle);
      p.Lines << QStringLiteral("Done: %1 of %2 (%3) sent to %4.")
                     .arg(p.Run->SentCount())
                     .arg(FileCountText(p.Preview.SendCount), PublishSizeText(p.Run->SentSize()),
                          p.Job.Target);
      ShowPublishLines();
      return;
    }
    // rsync's lines cannot tell what reached the server: a second dry run can.
    p.Failure = message;
    p.Stopped = p.Run->Stopped();
    p.Lines << message;
    memOutput->appendPlainText(message);
    p.Job.DryRun = true;
    p.Job.MaxDelete = -1;
    SetPublishStep(TPublishFlow::psVerify);
    p.Run->Start(p.Job);
    return;
  }
  if (p.Step != TPublishFlow::psVerify) return;
  SetPublishStep(TPublishFlow::psIdle);
  const TPublishPreview after = ParseRsyncPreview(p.Run->Output());
  const QString landed = SentAfterFailureText(p.Preview, ok ? &after : nullptr, p.Job.Target);
  p.Lines << landed;
  ShowPublishLines();
  if (!p.Stopped) MsgStop(p.Failure + QStringLiteral("\r\n") + landed, PublishCaption);
}
