#pragma once
// Which document commands the main window offers, from the document's
// state alone: a modified page locks everything that would open another
// file or change the settings, and a page without lines has nothing to save,
// view, select or cancel.
struct TDocCommands {
  bool Goto, Files, New, Delete, Rename, Save, SaveAs, View, Cancel, SelectAll, Settings, SearchAll;
};

// lines: the document's line count; open: a file is loaded.
TDocCommands DocCommandsFor(int lines, bool modified, bool open);
