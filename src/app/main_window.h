#pragma once
// The program's one main window: tool bar, file column, editor with its
// read-outs, search bar and status bar. It owns the settings record, the
// document record and the tool windows. Its methods are spread over files
// by responsibility: main_window.cpp (life cycle and layout),
// main_window_document.cpp (loading, saving, enabled states),
// main_window_editor.cpp (editor keys and read-outs).
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

#include "doc/checked_write.h"
#include "doc/text_lines.h"
#include "site/site_check.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;
class TDriveBox;
class TEditFileInfo;
class TFileListBox;
class TFolderList;
class TIntEdit;
class TQMEEnvironment;
class TStatusPanels;
class TZELEnablePanel;
class TZELMemo;

class TfrmChoiceList;
class TfrmHTML;
class TfrmResults;
class TfrmSpecChar;
class TfrmSiteCheck;
class TToolsMenu;
class TRecoveryKeeper;
class TAboutDialog;

// A path stored in double quotes, without them.
QString UnquotedPath(const QString& s);

class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  // ProgramArgs: the command-line arguments after the program name.
  explicit TfrmMain(const QStringList& programArgs = {}, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Window events.
  void FormCreate();
  void FormActivate();
  void FormResize();
  bool FormClose();

  // Document handling.
  void flbPagesChange();
  void ShowBaseline();
  // Colours the page by its file name's extension, or not, as the setting says.
  void ApplySyntax();
  void UpdateDocState();
  void memEditChange();
  // Converts the editor's text by the settings' rule, as an edit where it
  // changes, and returns its lines.
  TLines ApplyConversion();
  bool SaveDocument();
  void CancelChanges();
  void OpenFileByName(const QString& name);
  void RefreshFileList();
  void UpdateStatusBar();
  void UpdateSearchButtons();

  // Commands by tag, from menus, tool buttons and the file list.
  void MenuClick(int tag);
  bool SaveDocumentAs();
  void NewFile();
  void DeleteDocument();
  void RenameDocument();
  void OpenWebLink(int tag);
  void ShowHelp();
  void StartInstance(const QStringList& args);
  void ClipboardCommand(int tag);
  void ToggleToolWindow(QWidget* window);
  void ConvertTags(bool toUpper);
  void CheckWrongChars();
  // Asks for a file name to save under; tests put a stand-in here.
  std::function<QString(const QString& title, const QString& fileName)> SaveDialog;
  void bbtMaintClick();
  // The one place that enables the Maintenance button.
  void UpdateMaintButton();
  // The choice made in one of the tool windows (results, HTML, characters).
  void MyOnClickHandler(QObject* sender);

  // The site check (main_window_check.cpp): the folder of the file list and
  // below, by its mask; a double click on a finding opens the page there.
  void CheckSite();
  TfrmSiteCheck* SiteCheckWindow();
  void OpenCheckFinding();
  // Opens the page of Finding under Root and puts the caret on its line and column.
  void OpenFinding(const QString& root, const TCheckFinding& finding);

  // The search bar (main_window_search.cpp). ConnectSearchBar binds its
  // controls, Enter and F3 to the handlers; run once at the end of FormCreate.
  void ConnectSearchBar();
  void cmbSearchChange();
  void cmbReplaceChange();
  void bbtSearchClick();
  void bbtReplaceClick();
  void bbtReplaceAllClick();
  // Sender null: the program itself goes to the line in iedGoto.
  void bbtGotoClick(QObject* sender);
  void UpdateSearchHistory();
  int QueryReplace();
  void SearchAllFiles();
  void ckbCaseSensClick();
  void ckbQReplaceClick();
  void ckbSearchAllClick();
  // Enter in the line field goes to the line; Key becomes 0 then.
  void iedGotoKeyPress(QChar& key);
  QString SearchText;
  QString ReplaceText;
  bool Found = false;

  // Editor handlers.
  bool memEditKeyPress(int key);
  void memEditF3KeyDown(int key, Qt::KeyboardModifiers shift);
  void memEditKeyUp(int key, Qt::KeyboardModifiers shift);
  void memEditPosChanged(int row, int col);
  void memEditToggleMenus();
  void GotoLine(int row);
  void SelectChars(int start, int length);

  TEditFileInfo* FileInfo() const { return FFileInfo.get(); }
  TZELMemo* Editor() const { return memEdit; }
  bool Starting() const { return FStarting; }
  int CurrentRow() const { return FCurrentRow; }
  bool SuppressChange = false;

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildToolBar();
  void BuildFilePanel();
  void BuildEditPanel();
  void BuildSearchBar(QWidget* parent);
  void BuildMenus();
  void LayoutChildren();
  void RecordGeometry();
  void SetCaptionFor(const QString& path);
  void LoadByName(const QString& path);
  QString RunSaveDialog(const QString& title, const QString& fileName);
  QWidget* ActiveControl() const;
  QPoint QueryReplacePos() const;
  void ReplaceSelection();
  void ReplaceAllQuietly();
  // Runs Fn and reports a failure in the message window; false on failure.
  bool Guarded(const QString& title, const std::function<void()>& fn);
  // Guarded for a write: where the folder refuses the temporary file, offers
  // to write in place.
  bool WriteGuarded(const QString& title, const std::function<void(TWriteMode)>& write);
  // The disk behind the document (main_window_disk.cpp).
  bool ConfirmDiskChange();
  // Asks before a page with a line too long to lay out quickly is shown.
  bool ConfirmLongLines(const QString& path);
  void CheckDiskOnActivate();
  void OfferRecoveries();
  std::unique_ptr<TRecoveryKeeper> FRecovery;
  // The finding double-clicked while the modal site window was open.
  void OpenPendingFinding();
  QPointer<TfrmSiteCheck> frmSiteCheck;
  std::optional<TCheckFinding> FPendingFinding;
  QString FPendingRoot;
  QString FDiskNote;  // shown after the path when the page changed on disk
  bool FCheckingDisk = false;

  std::unique_ptr<TQMEEnvironment> FEnvironment;
  std::unique_ptr<TEditFileInfo> FFileInfo;
  QStringList FProgramArgs;
  std::unique_ptr<TToolsMenu> FToolsMenu;
  std::unique_ptr<TAboutDialog> adlProgInfo;
  TfrmResults* frmResults = nullptr;
  TfrmHTML* frmHTML = nullptr;
  TfrmSpecChar* frmSpecChar = nullptr;
  bool FStarting = true;
  bool FClosingAccepted = false;
  QString FSaveTitle = "Save file as";
  bool FSaveRefused = false;  // the last save as was to the page's own name
  int FCurrentRow = 0;

  QToolBar* tlbToolBar = nullptr;
  QToolButton *bbtView = nullptr, *bbtCancel = nullptr, *bbtSave = nullptr, *bbtSaveAs = nullptr,
              *bbtSettings = nullptr, *bbtNewInstance = nullptr, *bbtHTML = nullptr,
              *bbtSpecChar = nullptr, *bbtHelp = nullptr;
  TZELEnablePanel *ipnFiles = nullptr, *ipnDriveDir = nullptr;
  TFileListBox* flbPages = nullptr;
  TFolderList* dilDir = nullptr;
  TDriveBox* drcDrive = nullptr;
  QWidget *pnlEdit = nullptr, *pnlPositions = nullptr, *pnlSearch = nullptr;
  TZELMemo* memEdit = nullptr;
  QLabel *lblSizeVal = nullptr, *lblLinesVal = nullptr, *lblCursorVal = nullptr;
  QComboBox *cmbSearch = nullptr, *cmbReplace = nullptr;
  QPushButton *bbtSearch = nullptr, *bbtGoto = nullptr, *bbtReplace = nullptr,
              *bbtReplaceAll = nullptr, *bbtMaint = nullptr;
  TIntEdit* iedGoto = nullptr;
  QCheckBox *ckbCaseSens = nullptr, *ckbFindFirst = nullptr, *ckbQReplace = nullptr,
            *ckbSearchAll = nullptr;
  QListWidget* ltbPrograms = nullptr;
  TStatusPanels* stbStatus = nullptr;

  QAction *menFileNew = nullptr, *menFileDelete = nullptr, *menFileSave = nullptr,
          *menFileSaveAs = nullptr, *menFileRename = nullptr, *menFileView = nullptr,
          *menEditCut = nullptr, *menEditCopy = nullptr, *menEditPaste = nullptr,
          *menEditSelAll = nullptr, *menEditCancel = nullptr, *menOptSettings = nullptr,
          *menPopNew = nullptr, *menPopDelete = nullptr, *menPopSaveAs = nullptr,
          *menPopRename = nullptr, *menPopView = nullptr;
};
