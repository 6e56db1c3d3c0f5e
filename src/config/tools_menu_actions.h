#pragma once
// The main window's Tools menu: the hidden list of tools and the menu slots
// after the separator, rebuilt from the settings file, and the starting of a
// chosen tool on the document. Owned by the main window.
#include <QList>

#include "config/tools_menu.h"

class QAction;
class QListWidget;
class QWidget;

class TToolsMenu {
 public:
  // Programs: the main window's hidden list box; Separator and ToolSlots: the
  // menu items after "&Edit", slot k showing tool k + 1. None are owned.
  TToolsMenu(QListWidget* programs, QAction* separator, const QList<QAction*>& toolSlots);

  // Reloads the list from IniFileName; the separator shows when there is a
  // tool, each slot shows the title of its tool or hides.
  void RebuildToolsMenu(const QString& iniFileName);
  // Runs the maintenance dialog with room for one tool per slot, then
  // rebuilds the menu whether the dialog was saved or not.
  bool EditTools(const QString& iniFileName, QWidget* parent = nullptr);
  // Starts tool K + 1 with DocumentPath as its one argument (none when empty).
  // A tool that cannot be started gives the "Application not started"
  // warning; K beyond the list does nothing. True when started.
  bool RunTool(int k, const QString& documentPath);

  const TToolList& Tools() const { return FTools; }

 private:
  QListWidget* ltbPrograms;
  QAction* menToolsSep;
  QList<QAction*> FSlots;
  TToolList FTools;
};
