#pragma once
// A site folder of its own for each test, with its own place for journals,
// and quillmere-site run as a shell runs it.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <numeric>
#include <vector>

#include "file_bytes.h"

// Derive a test class from it and call NewSite() in init().
class TSiteFiles : public QObject {
 protected:
  std::unique_ptr<QTemporaryDir> FTmp;
  QString Site;
  QString F(const QString& rel) const { return Site + '/' + rel; }
  void NewSite() {
    FTmp = std::make_unique<QTemporaryDir>();
    Site = FTmp->filePath("site");
    QDir().mkpath(Site);
    qputenv("XDG_STATE_HOME", QFile::encodeName(FTmp->filePath("state")));
  }
};

// 0, 1, ... n - 1: every file of a preview chosen.
inline std::vector<int> Indexes(std::size_t n) {
  std::vector<int> all(n);
  std::iota(all.begin(), all.end(), 0);
  return all;
}

#ifdef QUILLMERE_SITE
struct TRun {
  int Status = -1;
  QString Out, Err;
};

// InChild runs in the new process just before quillmere-site starts.
inline TRun RunSite(const QStringList& args, const std::function<void()>& inChild = {}) {
  QProcess p;
  if (inChild) p.setChildProcessModifier(inChild);
  p.start(QStringLiteral(QUILLMERE_SITE), args);
  if (!p.waitForFinished(60000)) return {};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}
#endif
