#pragma once
// Keeps the recovery file of the open document: written after a few seconds
// without typing (and at the latest half a minute after the first unsaved
// change), at SIGTERM and SIGHUP, and removed once the document is clean.
// The main window owns one and tells it of edits and of clean states.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

#include "doc/edit_file_info.h"

class QSocketNotifier;

class TRecoveryKeeper : public QObject {
  Q_OBJECT
 public:
  // text gives the editor's text when a recovery file is to be written.
  TRecoveryKeeper(const TEditFileInfo& document, std::function<std::string()> text,
                  QObject* parent = nullptr);
  ~TRecoveryKeeper() override;

  // The editor's text changed: write it after the idle time.
  void TextChanged();
  // Writes the recovery file now when the document is modified; a failure is
  // not an error for the user (the page itself is untouched), only a lost
  // safety net: it is retried at the next change.
  void WriteNow();
  // The document is clean (saved, cancelled, another loaded, closed):
  // removes the recovery file written for it.
  void Drop();
  // The page whose recovery file exists now, or empty.
  QString WrittenFor() const { return FWrittenFor; }

  static constexpr int IdleMs = 2000;
  static constexpr int LongestWaitMs = 30000;

 private:
  void TerminationSignal();
  const TEditFileInfo& FDocument;
  std::function<std::string()> FText;
  QTimer FIdle;
  QElapsedTimer FPendingSince;
  QString FWrittenFor;
  QSocketNotifier* FSignals = nullptr;
};
