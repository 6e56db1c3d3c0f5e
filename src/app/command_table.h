#pragma once
// The main menu and the file list's pop-up menu as data: caption, tag,
// shortcut and hint of every item, in menu order. The window builds its
// menus from these rows; MenuClick dispatches on the tag.
#include <span>

struct TMenuRow {
  int Level;             // 0 top-level menu, 1 item, 2 item of a submenu
  const char* Name;      // objectName, empty for separators and unnamed items
  const char* Caption;   // "-" for a separator
  int Tag;
  const char* Shortcut;  // in QKeySequence's portable text, empty for none
  const char* Hint;
};

std::span<const TMenuRow> MainMenuRows();
std::span<const TMenuRow> FilePopupRows();
std::span<const TMenuRow> EditPopupRows();
