#include "site/rsync_run.h"

#include <unistd.h>

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include "components/file_names.h"

namespace {

// The status a child that cannot enter the local root ends with.
constexpr int NoRootStatus = 126;
// How long rsync has to stop on its own before it is killed.
constexpr int StopGraceMs = 3000;

}  // namespace

TRsyncRun::TRsyncRun(QObject* parent) : QObject(parent) {
  FKillTimer = new QTimer(this);
  FKillTimer->setSingleShot(true);
  connect(FKillTimer, &QTimer::timeout, this, [this] {
    if (Running()) FProcess->kill();
  });
}

TRsyncRun::~TRsyncRun() {
  if (Running()) {
    FProcess->disconnect(this);
    FProcess->kill();
    FProcess->waitForFinished(StopGraceMs);
  }
}

bool TRsyncRun::Running() const { return FProcess && FProcess->state() != QProcess::NotRunning; }

void TRsyncRun::Start(const TPublishJob& job) {
  FOutput.clear();
  FPartial.clear();
  FErrors.clear();
  FItems.clear();
  FSentCount = 0;
  FSentSize = 0;
  FStopped = false;
  FEnded = false;
  if (!QFileInfo(job.LocalRoot).isDir()) {
    QTimer::singleShot(0, this, [this, root = job.LocalRoot] {
      End(false, -1, QStringLiteral("The local root \"%1\" is not a folder.").arg(root));
    });
    return;
  }
  delete FProcess;
  FProcess = new QProcess(this);
  FProcess->setProcessEnvironment(FEnvironment);
  const QByteArray root = PathBytes(job.LocalRoot);
  FProcess->setChildProcessModifier([root] {
    if (::chdir(root.constData()) != 0) ::_exit(NoRootStatus);
  });
  connect(FProcess, &QProcess::readyReadStandardOutput, this, &TRsyncRun::ReadOutput);
  connect(FProcess, &QProcess::readyReadStandardError, this,
          [this] { FErrors += FProcess->readAllStandardError(); });
  connect(FProcess, &QProcess::finished, this, &TRsyncRun::ProcessFinished);
  connect(FProcess, &QProcess::errorOccurred, this, &TRsyncRun::ProcessFailed);
  FProcess->start(FProgram, RsyncArguments(job), QIODevice::ReadOnly);
}

void TRsyncRun::Stop() {
  if (!Running()) return;
  FStopped = true;
  FProcess->terminate();
  FKillTimer->start(StopGraceMs);
}

QString TRsyncRun::ErrorText() const {
  QString text = QString::fromLocal8Bit(FErrors);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
  return text;
}

void TRsyncRun::ReadOutput() {
  const QByteArray chunk = FProcess->readAllStandardOutput();
  FOutput += chunk;
  Q_EMIT OutputRead(chunk);
  FPartial += chunk;
  qsizetype start = 0;
  for (qsizetype i = 0; i < FPartial.size(); ++i)
    if (FPartial[i] == '\n' || FPartial[i] == '\r') {
      TakeLine(FPartial.mid(start, i - start));
      start = i + 1;
    }
  FPartial.remove(0, start);
}

void TRsyncRun::TakeLine(const QByteArray& line) {
  TPublishItem item;
  if (line.isEmpty()) return;
  if (!ParseRsyncItem(line, item)) {
    // The server's own messages may arrive on standard output.
    if (line.startsWith("rsync")) FErrors += line + '\n';
    return;
  }
  FItems.append(item);
  if (item.IsFile && item.Action != TPublishItem::Remove && item.Action != TPublishItem::Other) {
    ++FSentCount;
    FSentSize += item.Size;
  }
  Q_EMIT ItemRead(item);
}

void TRsyncRun::ProcessFinished(int exitCode, QProcess::ExitStatus status) {
  FKillTimer->stop();
  ReadOutput();
  if (!FPartial.isEmpty()) TakeLine(std::exchange(FPartial, {}));
  FErrors += FProcess->readAllStandardError();
  if (FStopped) {
    End(false, exitCode, QStringLiteral("Publishing was stopped."));
    return;
  }
  if (status == QProcess::CrashExit) {
    End(false, -1,
        RsyncFailureText(-1, QStringLiteral("rsync was ended by a signal.\n") + ErrorText()));
    return;
  }
  if (exitCode == NoRootStatus && FOutput.isEmpty()) {
    End(false, exitCode, QStringLiteral("The local root cannot be entered."));
    return;
  }
  End(exitCode == 0, exitCode, exitCode == 0 ? QString() : RsyncFailureText(exitCode, ErrorText()));
}

void TRsyncRun::ProcessFailed(QProcess::ProcessError error) {
  if (error != QProcess::FailedToStart) return;
  End(false, -1,
      QStringLiteral("rsync could not be started (%1): install Debian's rsync package.")
          .arg(FProcess->errorString()));
}

void TRsyncRun::End(bool ok, int exitStatus, const QString& message) {
  if (FEnded) return;
  FEnded = true;
  Q_EMIT Finished(ok, exitStatus, message);
}

bool TRsyncRun::RunToEnd(const TPublishJob& job) {
  QEventLoop loop;
  bool result = false;
  const QMetaObject::Connection c =
      connect(this, &TRsyncRun::Finished, &loop, [&](bool ok, int, const QString&) {
        result = ok;
        loop.quit();
      });
  Start(job);
  if (!FEnded) loop.exec();
  disconnect(c);
  return result;
}

QProcessEnvironment PublishEnvironment(const QString& askPass) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  if (!askPass.isEmpty()) {
    env.insert(QStringLiteral("SSH_ASKPASS"), askPass);
    env.insert(QStringLiteral("SSH_ASKPASS_REQUIRE"), QStringLiteral("force"));
  }
  return env;
}
