#include "app/command_table.h"

namespace {

const TMenuRow kMainMenu[] = {
    {0, "menFile", "&File", cmdFile, "", ""},
    {1, "menFileNew", "&New", cmdFileNew, "Ctrl+N", "Create a new file (based on the template)."},
    {1, "menFileDelete", "&Delete", cmdFileDelete, "Ctrl+D", "Delete the selected file."},
    {1, "menFileSave", "&Save", cmdFileSave, "Ctrl+S", "Save editor file."},
    {1, "menFileSaveAs", "Save &As", cmdFileSaveAs, "Ctrl+A", "Save editor-file as...."},
    {1, "menFileRename", "&Rename", cmdFileRename, "Ctrl+R", "Rename the selected file."},
    {1, "menFileView", "&View", cmdFileView, "F9", "Vieuw the selected file in your browser."},
    {1, "", "-", 0, "", ""},
    {1, "menFileNewInstance", "Start a new instance", cmdFileNewInstance, "",
     "Start a new instance of Quillpad."},
    {1, "", "-", 0, "", ""},
    {1, "menFileExit", "E&xit", cmdFileExit, "Ctrl+F4", "Exit Quillpad."},
    {0, "menEdit", "&Edit", cmdEdit, "", ""},
    {1, "menEditCut", "Cu&t", cmdEditCut, "Ctrl+X", "Cut the selected text."},
    {1, "menEditCopy", "&Copy", cmdEditCopy, "Ctrl+C", "Copy the selected text to the clipboard."},
    {1, "menEditPaste", "&Paste", cmdEditPaste, "Ctrl+V", "Paste the text from the clipboard."},
    {1, "", "-", 0, "", ""},
    {1, "menEditSelAll", "&Select All", cmdEditSelAll, "", "Select all editor-text."},
    {1, "", "-", 0, "", ""},
    {1, "menEditCancel", "Cancel all changes", cmdEditCancel, "",
     "Cancel all changes and restore the file."},
    {0, "menOptions", "&Options", cmdOptions, "", ""},
    {1, "menOptSettings", "&Settings", cmdOptSettings, "", "Edit the program-settings."},
    {1, "menOptTemplate", "&Edit template", cmdOptTemplate, "", "Edit the template-file."},
    {0, "menTools", "&Tools", cmdTools, "", ""},
    {1, "menToolsEdit", "&Edit", cmdToolsEdit, "", "Change, Add or Delete  tools-menu options."},
    {1, "menToolsSep", "-", 0, "", ""},
    {1, "menTool1", "", cmdTool1, "", ""},
    {1, "menTool2", "", cmdTool2, "", ""},
    {1, "menTool3", "", cmdTool3, "", ""},
    {1, "menTool4", "", cmdTool4, "", ""},
    {1, "menTool5", "", cmdTool5, "", ""},
    {0, "menView", "&View", cmdView, "", ""},
    {1, "menViewResults", "&Search All window", cmdViewResults, "", "Show/hide Search-all window."},
    {1, "menViewHTML", "&HTML-Toolset", cmdViewHTML, "", "Show/hide HTML-Toolset"},
    {1, "menViewSpecChar", "Specials &Characters", cmdViewSpecChar, "",
     "Show/hide list of special characters."},
    {1, "", "-", 0, "", ""},
    {1, "menViewSyntax", "S&yntax colouring", cmdViewSyntax, "",
     "Colour HTML, CSS and JavaScript pages."},
    {1, "", "-", 0, "", ""},
    {1, "menViewSiteCheck", "Chec&k site", cmdViewSiteCheck, "",
     "Check the links, HTML and characters of every page in the folder and below."},
    {0, "menHelp", "&Help", cmdHelp, "", ""},
    {1, "menHelpContents", "&Contents", cmdHelpContents, "F1", "Open the online user-guide."},
    {1, "", "-", 0, "", ""},
    {1, "menHelpRefs", "&Reference guides", cmdHelpRefs, "", ""},
    {2, "menHelpHTML", "&HTML 4.0", cmdHelpHTML, "", "Show the HTML 4.0 guide."},
    {2, "menHelpCSS", "&CSS level 2", cmdHelpCSS, "", "Show the CSS level 2 guide."},
    {2, "menHelpJS", "&JavaScript 1.3", cmdHelpJS, "", "Show the JavaScript 1.3 guide."},
    {1, "menHelpValidate", "&Optimize && Validate", cmdHelpValidate, "", ""},
    {2, "menHelpWDG", "WDG &Site HTML-Validator", cmdHelpWDG, "", ""},
    {2, "menHelpW3CPage", "W3C &Page HTML-Validator", cmdHelpW3CPage, "", ""},
    {2, "menHelpW3CCSS", "W3C &CSS-Validator", cmdHelpW3CCSS, "", ""},
    {2, "menHelpGifBot", "&NetMechanic Image-optimizer", cmdHelpGifBot, "", ""},
    {1, "", "-", 0, "", ""},
    {1, "menHelpUpdates", "&Check for &updates...", cmdHelpUpdates, "",
     "Check for program-updates."},
    {1, "menHelpAbout", "&About...", cmdHelpAbout, "", "Show information about Quillpad."},
};

const TMenuRow kFilePopup[] = {
    {1, "menPopNew", "New File", cmdFileNew, "Ctrl+N", ""},
    {1, "menPopDelete", "Delete", cmdFileDelete, "Ctrl+D", ""},
    {1, "menPopSaveAs", "Save As..", cmdFileSaveAs, "Ctrl+A", ""},
    {1, "menPopRename", "Rename", cmdFileRename, "Ctrl+R", ""},
    {1, "menPopView", "View", cmdFileView, "F9", ""},
    {1, "", "-", 0, "", ""},
    {1, "menPopNewInstance", "New Instance", cmdFileNewInstance, "", ""},
};

const TMenuRow kEditPopup[] = {
    {1, "menPopUpper", "&UpperCase HTML", cmdPopUpper, "", ""},
    {1, "menPopLower", "&LowerCase HTML", cmdPopLower, "", ""},
    {1, "menPopCheck", "Check for &wrong chars", cmdPopCheck, "", ""},
};

}  // namespace

std::span<const TMenuRow> EditPopupRows() { return kEditPopup; }

std::span<const TMenuRow> MainMenuRows() { return kMainMenu; }

std::span<const TMenuRow> FilePopupRows() { return kFilePopup; }
