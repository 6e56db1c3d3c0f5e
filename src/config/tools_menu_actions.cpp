#include "config/tools_menu_actions.h"

#include <QAction>
#include <QListWidget>

#include "components/msg_func.h"
#include "config/tools_dialog.h"

TToolsMenu::TToolsMenu(QListWidget* programs, QAction* separator, const QList<QAction*>& toolSlots)
    : ltbPrograms(programs), menToolsSep(separator), FSlots(toolSlots) {}

void TToolsMenu::RebuildToolsMenu(const QString& iniFileName) {
  FTools = LoadToolList(iniFileName);
  ltbPrograms->clear();
  for (const TTool& tool : FTools) ltbPrograms->addItem(tool.Title);
  if (!FTools.isEmpty()) ltbPrograms->setCurrentRow(0);
  menToolsSep->setVisible(!FTools.isEmpty());
  for (int k = 0; k < FSlots.size(); ++k) {
    QAction* slot = FSlots[k];
    slot->setText(QString());
    slot->setVisible(k < FTools.size());
    if (k < FTools.size()) slot->setText(FTools[k].Title);
  }
}

bool TToolsMenu::EditTools(const QString& iniFileName, QWidget* parent) {
  const bool saved = ::EditTools(iniFileName, static_cast<int>(FSlots.size()), parent);
  RebuildToolsMenu(iniFileName);
  return saved;
}

bool TToolsMenu::RunTool(int k, const QString& documentPath) {
  if (k < 0 || k >= FTools.size()) return false;
  ltbPrograms->setCurrentRow(k);
  const TTool& tool = FTools[k];
  int errorNumber = 0;
  if (StartTool(tool, documentPath, errorNumber)) return true;
  MsgWarning(ToolStartFailureText(tool.Program, errorNumber), ToolStartFailureCaption);
  return false;
}
