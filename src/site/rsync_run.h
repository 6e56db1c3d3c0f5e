#pragma once
// One run of rsync for a publish, as a process with an argument list: its
// items as they are read, its own error text and exit status at the end.
// The run enters the local root by the root's own bytes before rsync starts,
// so no name is ever re-encoded or seen by a shell. Owned by whoever
// publishes (the site window's publish flow, the publish command).
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>

#include "site/publish.h"

class QTimer;

class TRsyncRun : public QObject {
  Q_OBJECT
 public:
  explicit TRsyncRun(QObject* parent = nullptr);
  ~TRsyncRun() override;

  // The program started; "rsync" from the PATH unless set.
  void SetProgram(const QString& program) { FProgram = program; }
  void SetEnvironment(const QProcessEnvironment& env) { FEnvironment = env; }

  // Starts rsync for Job; Finished follows in every case, also when rsync
  // cannot be started.
  void Start(const TPublishJob& job);
  // Ends the run: rsync is asked to stop, and killed when it has not
  // stopped within a few seconds. Finished follows with Stopped() true.
  void Stop();
  bool Running() const;
  bool Stopped() const { return FStopped; }

  // What rsync printed on standard output, and the items read from it.
  const QByteArray& Output() const { return FOutput; }
  const QList<TPublishItem>& Items() const { return FItems; }
  // Files whose transfer rsync reported finished.
  int SentCount() const { return FSentCount; }
  qint64 SentSize() const { return FSentSize; }
  // rsync's and ssh's messages, line ends made "\n".
  QString ErrorText() const;

  // Runs Job to its end, letting events run meanwhile; true on success.
  bool RunToEnd(const TPublishJob& job);

 Q_SIGNALS:
  // One item as rsync reported it done (or, in a preview, planned).
  void ItemRead(const TPublishItem& item);
  // Standard output as it comes, for a terminal that shows rsync's progress.
  void OutputRead(const QByteArray& chunk);
  // ExitStatus is rsync's, or -1 when it could not be started; Message is
  // empty on success, else the whole reason for the user.
  void Finished(bool ok, int exitStatus, const QString& message);

 private:
  void ReadOutput();
  void TakeLine(const QByteArray& line);
  void ProcessFinished(int exitCode, QProcess::ExitStatus status);
  void ProcessFailed(QProcess::ProcessError error);
  void End(bool ok, int exitStatus, const QString& message);

  QString FProgram = QStringLiteral("rsync");
  QProcessEnvironment FEnvironment = QProcessEnvironment::systemEnvironment();
  QProcess* FProcess = nullptr;
  QTimer* FKillTimer = nullptr;
  QByteArray FOutput, FPartial, FErrors;
  QList<TPublishItem> FItems;
  int FSentCount = 0;
  qint64 FSentSize = 0;
  bool FStopped = false;
  bool FEnded = true;
};

// The environment rsync and ssh get. With AskPass, ssh asks for a password
// or a host key through that program (SSH_ASKPASS), also where it could ask
// on a terminal; without, ssh behaves as in a terminal.
QProcessEnvironment PublishEnvironment(const QString& askPass);
