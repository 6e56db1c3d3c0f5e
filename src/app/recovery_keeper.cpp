#include "app/recovery_keeper.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

#include "app/recovery_file.h"
#include "components/errors.h"

namespace {

// A signal handler may only write to a descriptor; the event loop reads it.
int SignalPipe[2] = {-1, -1};

void OnTerminate(int signal) {
  const char byte = char(signal);
  (void)!::write(SignalPipe[1], &byte, 1);
}

}  // namespace

TRecoveryKeeper::TRecoveryKeeper(const TEditFileInfo& document, std::function<std::string()> text,
                                 QObject* parent)
    : QObject(parent), FDocument(document), FText(std::move(text)) {
  FIdle.setSingleShot(true);
  connect(&FIdle, &QTimer::timeout, this, &TRecoveryKeeper::WriteNow);
  if (SignalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, SignalPipe) != 0)
    return;
  FSignals = new QSocketNotifier(SignalPipe[0], QSocketNotifier::Read, this);
  connect(FSignals, &QSocketNotifier::activated, this, &TRecoveryKeeper::TerminationSignal);
  struct sigaction action {};
  action.sa_handler = OnTerminate;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
}

TRecoveryKeeper::~TRecoveryKeeper() {
  if (!FSignals) return;
  ::signal(SIGTERM, SIG_DFL);
  ::signal(SIGHUP, SIG_DFL);
}

void TRecoveryKeeper::TextChanged() {
  if (!FDocument.Modified || FDocument.FileName.isEmpty()) return;
  if (!FIdle.isActive()) FPendingSince.start();
  // Steady typing must not put the write off for ever.
  if (FIdle.isActive() && FPendingSince.elapsed() > LongestWaitMs) return;
  FIdle.start(IdleMs);
}

void TRecoveryKeeper::WriteNow() {
  FIdle.stop();
  if (!FDocument.Modified || FDocument.FileName.isEmpty()) return;
  if (!FWrittenFor.isEmpty() && FWrittenFor != FDocument.FileName) Drop();
  try {
    WriteRecovery(FDocument.FileName, FDocument.DiskStamp, FText());
    FWrittenFor = FDocument.FileName;
  } catch (const EInOutError&) {
  }
}

void TRecoveryKeeper::Drop() {
  FIdle.stop();
  if (FWrittenFor.isEmpty()) return;
  RemoveRecovery(FWrittenFor);
  FWrittenFor.clear();
}

void TRecoveryKeeper::TerminationSignal() {
  char signal = 0;
  if (::read(SignalPipe[0], &signal, 1) != 1) return;
  WriteNow();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}
