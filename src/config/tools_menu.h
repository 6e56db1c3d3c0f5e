#pragma once
// The Tools menu's data: the user's external programs, kept in the Tools
// section of the settings file, how one is started on the document, and the
// rules of the dialog that edits the list.
#include <QList>
#include <QString>

// Each text of a tool is kept to this many characters.
inline constexpr int ToolTextLength = 80;
// The menu has slots for this many tools; the dialog adds no more.
inline constexpr int MenuToolCount = 5;
// A larger Count is read as this many, so that a damaged value cannot make
// the program read millions of empty tools.
inline constexpr int MaxToolCount = 999;

// One tool: its menu title, the program to start and the folder to start it in.
struct TTool {
  QString Title;
  QString Program;
  QString WorkingDir;
  bool operator==(const TTool&) const = default;
};
using TToolList = QList<TTool>;

// Text as a tool keeps it: cut after ToolTextLength characters, then blanks
// removed at both ends.
QString ToolText(const QString& text);
// A tool whose three texts are kept that way.
TTool MakeTool(const QString& title, const QString& program, const QString& workingDir);

// Which controls of the Tools dialog can be used: browsing, the list with
// Add while there is room for a tool and Edit and Delete while there is one;
// editing, only the three edits and Browse.
struct TToolDialogState {
  bool List, Add, Edit, Delete, Edits;
  bool operator==(const TToolDialogState&) const = default;
};
TToolDialogState ToolDialogState(bool editing, int count, int maxCount);
// The list once the dialog's edits are accepted: an added tool goes at the
// end, and so does a changed one, taken out of Row first.
TToolList AcceptToolEdit(TToolList tools, int row, bool adding, const TTool& tool);
// The list without the tool at Row; unchanged when Row is outside it.
TToolList DeleteTool(TToolList tools, int row);

// The Tools section: Count, then Prog<n>, Path<n> and WDir<n> for n = 1 to
// Count. A missing or malformed Count gives no tools, a missing key an empty
// text.
TToolList LoadToolList(const QString& iniFileName);
// Writes Prog<n>, Path<n>, WDir<n> per tool in list order and Count last, in
// one replacement of the file; keys of tools beyond Count stay. Throws
// EInOutError "Unable to write to <IniFileName>".
void SaveToolList(const QString& iniFileName, const TToolList& tools);

// Starts Tool through the desktop, in its working folder, with DocumentPath as
// its one argument (blanks and all; no argument when it is empty). On failure
// ErrorNumber gets the system's error number.
bool StartTool(const TTool& tool, const QString& documentPath, int& errorNumber);
// The warning shown when a tool cannot be started.
inline constexpr char ToolStartFailureCaption[] = "Application not started";
QString ToolStartFailureText(const QString& program, int errorNumber);
