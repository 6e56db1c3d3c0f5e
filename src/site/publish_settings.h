#pragma once
// Where a site is published, kept per local root in the [Publish] section of
// the settings file. The section holds one group of keys per root, numbered
// as the Tools section numbers its programs: Root1, Target1, Delete1,
// Exclude1, CheckFirst1 ... and Count. Keys of other roots, other sections
// and unknown keys are left as they stand.
#include <QString>
#include <QStringList>

struct TPublishSettings {
  QString Target;  // an rsync destination; empty until the user sets one
  bool Delete = false;
  QString Exclude = QStringLiteral("qme_____.*;.*");
  bool CheckFirst = true;

  // The patterns of Exclude, in order, empty ones left out.
  QStringList ExcludePatterns() const;
  bool operator==(const TPublishSettings&) const = default;
};

// The root as the section keeps it: absolute, clean, ending in "/".
QString PublishRootKey(const QString& localRoot);

// The settings kept for LocalRoot, or the defaults.
TPublishSettings ReadPublishSettings(const QString& iniFileName, const QString& localRoot);
// Stores Settings for LocalRoot in one checked replacement of the file.
// Throws EInOutError when the file cannot be written.
void WritePublishSettings(const QString& iniFileName, const QString& localRoot,
                          const TPublishSettings& settings);
