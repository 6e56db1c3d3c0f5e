#pragma once
// The main window's site-wide changes: "Replace in files…" and "Undo last
// site change" in the Edit menu, after its own rows, and the roll-back of
// an interrupted change when the program starts.
#include <QString>

class TfrmMain;

inline constexpr int cmdEditReplaceFiles = 210;
inline constexpr int cmdEditUndoSiteChange = 211;

// Adds the menu entries and schedules the check for interrupted changes.
void InstallSiteChangeCommands(TfrmMain* window);
void ReplaceInFiles(TfrmMain* window);
void UndoSiteChange(TfrmMain* window);
// After Rename moved Old to New: offers to change the links to it.
void LinksAfterRename(TfrmMain* window, const QString& oldPath, const QString& newPath);
