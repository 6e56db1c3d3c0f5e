#pragma once
// What the fault runs share: the short or the full form, and the one line
// each case prints on what it tried and what became of the user's text.
// QUILLMERE_FAULTS=full selects the full form (make faults); lines also go
// to the file QUILLMERE_FAULTS_REPORT names, so make faults can list them
// after the tests have run.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>

inline bool FullFaultRun() { return qgetenv("QUILLMERE_FAULTS") == "full"; }

// Short form and full form of one count or size.
inline int FaultScale(int shortForm, int fullForm) { return FullFaultRun() ? fullForm : shortForm; }

// Prints one report line, "fault run: ..." and its line end included.
inline void ReportFaultLine(const QByteArray& line) {
  std::fputs(line.constData(), stdout);
  std::fflush(stdout);
  const QString report = qEnvironmentVariable("QUILLMERE_FAULTS_REPORT");
  if (report.isEmpty()) return;
  QFile file(report);
  if (file.open(QIODevice::Append)) file.write(line);
}

inline void ReportFault(const QString& name, const QString& outcome) {
  ReportFaultLine(("fault run: " + name + ": " + outcome + "\n").toUtf8());
}

// One case of a fault run: what was tried, what was lost. Its line is
// printed when it finishes, or, when a check of the fixture ended the test
// first, as it goes.
class TFaultCase {
 public:
  explicit TFaultCase(QString name) : FName(std::move(name)) {}
  ~TFaultCase() {
    if (!FReported) ReportFault(FName, FTried.join(", ") + ": did not finish");
  }
  void Tried(const QString& what) { FTried.append(what); }
  // Notes lost when ok is false; returns ok.
  bool Kept(bool ok, const QString& lost) {
    if (!ok) FLost.append(lost);
    return ok;
  }
  // Prints the line; true when nothing was lost.
  bool Finish() {
    FReported = true;
    ReportFault(FName, FTried.join(", ") + ": " +
                           (FLost.isEmpty() ? "nothing lost" : "LOST: " + FLost.join("; ")));
    return FLost.isEmpty();
  }
  QString Lost() const { return FLost.join("; "); }

 private:
  QString FName;
  QStringList FTried;
  QStringList FLost;
  bool FReported = false;
};

#define QUILLMERE_FAULT_FINISH(c) QVERIFY2((c).Finish(), qPrintable((c).Lost()))
