#include "app/command_table.h"

namespace {

const TMenuRow kMainMenu[] = {
    {0, "menFile", "&File", 100, "", ""},
    {1, "menFileNew", "&New", 101, "Ctrl+N", "Create a new file (based on the template)."},
    {1, "menFileDelete", "&Delete", 102, "Ctrl+D", "Delete the selected file."},
    {1, "menFileSave", "&Save", 103, "Ctrl+S", "Save editor file."},
    {1, "menFileSaveAs", "Save &As", 104, "Ctrl+A", "Save editor-file as...."},
    {1, "menFileRename", "&Rename", 105, "Ctrl+R", "Rename the selected file."},
    {1, "menFileView", "&View", 106, "F9", "Vieuw the selected file in your browser."},
    {1, "", "-", 0, "", ""},
    {1, "menFileNewInstance", "Start a new instance", 107, "", "Start a new instance of Quillpad."},
    {1, "", "-", 0, "", ""},
    {1, "menFileExit", "E&xit", 199, "Ctrl+F4", "Exit Quillpad."},
    {0, "menEdit", "&Edit", 200, "", ""},
    {1, "menEditCut", "Cu&t", 201, "Ctrl+X", "Cut the selected text."},
    {1, "menEditCopy", "&Copy", 202, "Ctrl+C", "Copy the selected text to the clipboard."},
    {1, "menEditPaste", "&Paste", 203, "Ctrl+V", "Paste the text from the clipboard."},
    {1, "", "-", 0, "", ""},
    {1, "menEditSelAll", "&Select All", 204, "", "Select all editor-text."},
    {1, "", "-", 0, "", ""},
    {1, "menEditCancel", "Cancel all changes", 205, "", "Cancel all changes and restore the file."},
    {0, "menOptions", "&Options", 300, "", ""},
    {1, "menOptSettings", "&Settings", 301, "", "Edit the program-settings."},
    {1, "menOptTemplate", "&Edit template", 302, "", "Edit the template-file."},
    {0, "menTools", "&Tools", 400, "", ""},
    {1, "menToolsEdit", "&Edit", 401, "", "Change, Add or Delete  tools-menu options."},
    {1, "menToolsSep", "-", 0, "", ""},
    {1, "menTool1", "", 402, "", ""},
    {1, "menTool2", "", 403, "", ""},
    {1, "menTool3", "", 404, "", ""},
    {1, "menTool4", "", 405, "", ""},
    {1, "menTool5", "", 406, "", ""},
    {0, "menView", "&View", 500, "", ""},
    {1, "menViewResults", "&Search All window", 501, "", "Show/hide Search-all window."},
    {1, "menViewHTML", "&HTML-Toolset", 502, "", "Show/hide HTML-Toolset"},
    {1, "menViewSpecChar", "Specials &Characters", 503, "", "Show/hide list of special characters."},
    {1, "", "-", 0, "", ""},
    {1, "menViewSyntax", "S&yntax colouring", 504, "", "Colour HTML, CSS and JavaScript pages."},
    {0, "menHelp", "&Help", 900, "", ""},
    {1, "menHelpContents", "&Contents", 901, "F1", "Open the online user-guide."},
    {1, "", "-", 0, "", ""},
    {1, "menHelpRefs", "&Reference guides", 920, "", ""},
    {2, "menHelpHTML", "&HTML 4.0", 921, "", "Show the HTML 4.0 guide."},
    {2, "menHelpCSS", "&CSS level 2", 922, "", "Show the CSS level 2 guide."},
    {2, "menHelpJS", "&JavaScript 1.3", 923, "", "Show the JavaScript 1.3 guide."},
    {1, "menHelpValidate", "&Optimize && Validate", 925, "", ""},
    {2, "menHelpWDG", "WDG &Site HTML-Validator", 926, "", ""},
    {2, "menHelpW3CPage", "W3C &Page HTML-Validator", 927, "", ""},
    {2, "menHelpW3CCSS", "W3C &CSS-Validator", 928, "", ""},
    {2, "menHelpGifBot", "&NetMechanic Image-optimizer", 929, "", ""},
    {1, "", "-", 0, "", ""},
    {1, "menHelpUpdates", "&Check for &updates...", 903, "", "Check for program-updates."},
    {1, "menHelpAbout", "&About...", 904, "", "Show information about Quillpad."},
};

const TMenuRow kFilePopup[] = {
    {1, "menPopNew", "New File", 101, "Ctrl+N", ""},
    {1, "menPopDelete", "Delete", 102, "Ctrl+D", ""},
    {1, "menPopSaveAs", "Save As..", 104, "Ctrl+A", ""},
    {1, "menPopRename", "Rename", 105, "Ctrl+R", ""},
    {1, "menPopView", "View", 106, "F9", ""},
    {1, "", "-", 0, "", ""},
    {1, "menPopNewInstance", "New Instance", 107, "", ""},
};

const TMenuRow kEditPopup[] = {
    {1, "menPopUpper", "&UpperCase HTML", 294, "", ""},
    {1, "menPopLower", "&LowerCase HTML", 295, "", ""},
    {1, "menPopCheck", "Check for &wrong chars", 296, "", ""},
};

}  // namespace

std::span<const TMenuRow> EditPopupRows() { return kEditPopup; }

std::span<const TMenuRow> MainMenuRows() { return kMainMenu; }

std::span<const TMenuRow> FilePopupRows() { return kFilePopup; }
