#include "config/tools_menu.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "components/desktop.h"
#include "config/ini_file.h"

namespace {

const QString ToolsSection = QStringLiteral("Tools");

bool IsBlank(QChar c) { return c.unicode() <= u' '; }

QString Key(const char* name, int n) { return QLatin1String(name) + QString::number(n); }

}  // namespace

QString ToolText(const QString& text) {
  qsizetype e = std::min<qsizetype>(text.size(), ToolTextLength);
  // Never keep half of a character that needs two code units.
  if (e < text.size() && e > 0 && text[e - 1].isHighSurrogate()) --e;
  qsizetype b = 0;
  while (b < e && IsBlank(text[b])) ++b;
  while (e > b && IsBlank(text[e - 1])) --e;
  return text.mid(b, e - b);
}

TTool MakeTool(const QString& title, const QString& program, const QString& workingDir) {
  return {ToolText(title), ToolText(program), ToolText(workingDir)};
}

TToolDialogState ToolDialogState(bool editing, int count, int maxCount) {
  const bool some = !editing && count > 0;
  return {!editing, !editing && count < maxCount, some, some, editing};
}

TToolList AcceptToolEdit(TToolList tools, int row, bool adding, const TTool& tool) {
  if (!adding) tools = DeleteTool(tools, row);
  tools.append(tool);
  return tools;
}

TToolList DeleteTool(TToolList tools, int row) {
  if (row >= 0 && row < tools.size()) tools.removeAt(row);
  return tools;
}

TToolList LoadToolList(const QString& iniFileName) {
  // Read once: a damaged section of many lines would otherwise be scanned
  // for every key (20 s for 100,000 lines).
  const QHash<QString, QString> section = TIniFile(iniFileName).ReadSection(ToolsSection);
  bool ok = false;
  const int count = section.value(QStringLiteral("count"), QStringLiteral("0")).toInt(&ok, 10);
  TToolList tools;
  if (!ok) return tools;
  const auto value = [&](const char* name, int n) { return section.value(Key(name, n)); };
  for (int n = 1; n <= std::min(count, MaxToolCount); ++n)
    tools.append(MakeTool(value("prog", n), value("path", n), value("wdir", n)));
  return tools;
}

void SaveToolList(const QString& iniFileName, const TToolList& tools) {
  // The per-user folder may not exist yet; if it cannot be made, Save reports.
  QDir().mkpath(QFileInfo(iniFileName).absolutePath());
  TIniFile ini(iniFileName);
  for (int i = 0; i < tools.size(); ++i) {
    ini.WriteString(ToolsSection, Key("Prog", i + 1), tools[i].Title);
    ini.WriteString(ToolsSection, Key("Path", i + 1), tools[i].Program);
    ini.WriteString(ToolsSection, Key("WDir", i + 1), tools[i].WorkingDir);
  }
  ini.WriteString(ToolsSection, QStringLiteral("Count"), QString::number(tools.size()));
  ini.Save();
}

bool StartTool(const TTool& tool, const QString& documentPath, int& errorNumber) {
  const QStringList args = documentPath.isEmpty() ? QStringList() : QStringList{documentPath};
  return Desktop().StartProgram(tool.Program, args, tool.WorkingDir, errorNumber);
}

QString ToolStartFailureText(const QString& program, int errorNumber) {
  // One pass, so that a "%" in the program's name stays as it is.
  return QStringLiteral("Can't find or execute %1.\r\n(Error #%2)")
      .arg(program, QString::number(errorNumber));
}
