#include "site/publish_settings.h"

#include <QDir>
#include <QFileInfo>

#include "config/ini_file.h"

namespace {

const QString Section = QStringLiteral("Publish");

enum class TKind { Text, Bool };

// The keys of one root's group, in the order a new group lists them.
struct TPublishKey {
  const char* Key;
  TKind Kind;
  QString TPublishSettings::*Text;
  bool TPublishSettings::*Flag;
};

const TPublishKey Keys[] = {
    {"Target", TKind::Text, &TPublishSettings::Target, nullptr},
    {"Delete", TKind::Bool, nullptr, &TPublishSettings::Delete},
    {"Exclude", TKind::Text, &TPublishSettings::Exclude, nullptr},
    {"CheckFirst", TKind::Bool, nullptr, &TPublishSettings::CheckFirst},
};

QString BoolText(bool value) { return value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); }

int GroupCount(const TIniFile& ini) {
  bool ok = false;
  const int count =
      ini.ReadString(Section, QStringLiteral("Count"), QStringLiteral("0")).toInt(&ok);
  return ok && count > 0 ? count : 0;
}

// The number of Root's group, 0 when it has none.
int FindGroup(const TIniFile& ini, const QString& root) {
  const int count = GroupCount(ini);
  for (int i = 1; i <= count; ++i)
    if (ini.ReadString(Section, QStringLiteral("Root%1").arg(i), {}) == root) return i;
  return 0;
}

}  // namespace

QStringList TPublishSettings::ExcludePatterns() const {
  QStringList patterns;
  for (const QString& p : Exclude.split(u';'))
    if (!p.trimmed().isEmpty()) patterns.append(p.trimmed());
  return patterns;
}

QString PublishRootKey(const QString& localRoot) {
  if (localRoot.trimmed().isEmpty()) return {};
  const QString clean = QDir::cleanPath(QFileInfo(localRoot).absoluteFilePath());
  return clean.endsWith(u'/') ? clean : clean + u'/';
}

TPublishSettings ReadPublishSettings(const QString& iniFileName, const QString& localRoot) {
  TPublishSettings settings;
  const TIniFile ini(iniFileName);
  const int group = FindGroup(ini, PublishRootKey(localRoot));
  if (group == 0) return settings;
  for (const TPublishKey& k : Keys) {
    const QString key = QString::fromLatin1(k.Key) + QString::number(group);
    if (k.Kind == TKind::Text)
      settings.*k.Text = ini.ReadString(Section, key, settings.*k.Text);
    else
      settings.*k.Flag =
          ini.ReadString(Section, key, BoolText(settings.*k.Flag)) == QLatin1String("TRUE");
  }
  return settings;
}

void WritePublishSettings(const QString& iniFileName, const QString& localRoot,
                          const TPublishSettings& settings) {
  const QString root = PublishRootKey(localRoot);
  if (root.isEmpty()) return;
  QDir().mkpath(QFileInfo(iniFileName).absolutePath());
  TIniFile ini(iniFileName);
  int group = FindGroup(ini, root);
  if (group == 0) {
    group = GroupCount(ini) + 1;
    ini.WriteString(Section, QStringLiteral("Root%1").arg(group), root);
  }
  for (const TPublishKey& k : Keys)
    ini.WriteString(Section, QString::fromLatin1(k.Key) + QString::number(group),
                    k.Kind == TKind::Text ? settings.*k.Text : BoolText(settings.*k.Flag));
  ini.WriteString(Section, QStringLiteral("Count"),
                  QString::number(std::max(group, GroupCount(ini))));
  ini.Save();
}
