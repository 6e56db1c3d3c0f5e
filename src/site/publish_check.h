#pragma once
// The site check a publish runs first: the findings of the kinds that would
// break the published site (broken references, case traps, references above
// the root).
#include <QString>
#include <QStringList>
#include <atomic>

struct TPublishCheck {
  bool Ran = false;   // false where the check could not run
  int Count = 0;      // findings of the three kinds
  QStringList Lines;  // one per finding, "PATH:LINE:COL: KIND: MESSAGE"
  QString Note;       // why it did not run
  bool Stopped = false;
};

// Checks every page under LocalRoot, sub-folders included, with the index
// pages of the settings file IniFileName. May run on a worker thread; Stop
// ends it early.
TPublishCheck CheckBeforePublish(const QString& localRoot, const QString& iniFileName,
                                 const std::atomic<bool>* stop = nullptr);

// "The site has N broken links. Publish anyway?"
QString CheckQuestion(int count);
