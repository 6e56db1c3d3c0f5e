// The main window's search bar: search, replace, replace all, go to line and
// the search in all files.
#include "app/main_window.h"

void TfrmMain::cmbSearchChange() {}
void TfrmMain::cmbReplaceChange() {}
void TfrmMain::bbtSearchClick() {}
void TfrmMain::bbtReplaceClick() {}
void TfrmMain::bbtReplaceAllClick() {}
void TfrmMain::bbtGotoClick(QObject*) {}
void TfrmMain::UpdateSearchHistory() {}
int TfrmMain::QueryReplace() { return 0; }
void TfrmMain::SearchAllFiles() {}
