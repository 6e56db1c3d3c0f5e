#pragma once
// The site check a publish runs first: the findings of the kinds that would
// break the published site (broken references, case traps, references above
// the root).
#include <QString>
#include <QStringList>

struct TPublishCheck {
  bool Ran = false;   // false where no check could be made
  int Count = 0;      // findings of the three kinds
  QStringList Lines;  // one per finding, "PATH:LINE:COL: KIND: MESSAGE"
  QString Note;       // why it did not run
};

// Checks the site under LocalRoot as the publish sends it (every file, all
// sub-folders).
TPublishCheck CheckBeforePublish(const QString& localRoot);

// "The site has N broken links. Publish anyway?"
QString CheckQuestion(int count);
