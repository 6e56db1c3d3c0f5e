#pragma once
// The main menu and the file list's pop-up menu as data: caption, tag,
// shortcut and hint of every item, in menu order. The window builds its
// menus from these rows; MenuClick dispatches on the tag.
#include <span>

// The command tags: 1xx File, 2xx Edit (294 to 296 the editor's pop-up),
// 3xx Options, 4xx Tools, 5xx View, 9xx Help. The values are stored on the
// menu items and tool buttons ("tag" property) and must not change.
enum TCommandTag : int {
  cmdFile = 100,
  cmdFileNew = 101,
  cmdFileDelete = 102,
  cmdFileSave = 103,
  cmdFileSaveAs = 104,
  cmdFileRename = 105,
  cmdFileView = 106,
  cmdFileNewInstance = 107,
  cmdFileExit = 199,
  cmdEdit = 200,
  cmdEditCut = 201,
  cmdEditCopy = 202,
  cmdEditPaste = 203,
  cmdEditSelAll = 204,
  cmdEditCancel = 205,
  cmdPopUpper = 294,
  cmdPopLower = 295,
  cmdPopCheck = 296,
  cmdOptions = 300,
  cmdOptSettings = 301,
  cmdOptTemplate = 302,
  cmdTools = 400,
  cmdToolsEdit = 401,
  cmdTool1 = 402,
  cmdTool2 = 403,
  cmdTool3 = 404,
  cmdTool4 = 405,
  cmdTool5 = 406,
  cmdView = 500,
  cmdViewResults = 501,
  cmdViewHTML = 502,
  cmdViewSpecChar = 503,
  cmdViewSyntax = 504,
  cmdViewSiteCheck = 510,
  cmdHelp = 900,
  cmdHelpContents = 901,
  cmdHelpUpdates = 903,
  cmdHelpAbout = 904,
  cmdHelpRefs = 920,
  cmdHelpHTML = 921,
  cmdHelpCSS = 922,
  cmdHelpJS = 923,
  cmdHelpValidate = 925,
  cmdHelpWDG = 926,
  cmdHelpW3CPage = 927,
  cmdHelpW3CCSS = 928,
  cmdHelpGifBot = 929,
  cmdToolLast = 499,  // the Tools slots run from cmdTool1 to here
};

struct TMenuRow {
  int Level;            // 0 top-level menu, 1 item, 2 item of a submenu
  const char* Name;     // objectName, empty for separators and unnamed items
  const char* Caption;  // "-" for a separator
  int Tag;
  const char* Shortcut;  // in QKeySequence's portable text, empty for none
  const char* Hint;
};

std::span<const TMenuRow> MainMenuRows();
std::span<const TMenuRow> FilePopupRows();
std::span<const TMenuRow> EditPopupRows();
