// start.h — the program's main window, TMainForm, built from its form
// description (resources/TMainForm.dfm): the single-document page with the
// input and output editors, the batch page with the shell views and the
// batch list, the bar manager with every command, and the hidden rich edit
// the export engines render.
//
// The window owns its components (the form loader makes them) and the
// export engines (made on first use by either conversion road and kept
// while the window lives). Its handlers are spread over units by concern:
// start.cpp (start-up, pages, command line, help), start_Convert.cpp
// (single-document conversion), start_Batch.cpp (batch page and project
// commands), start_Edit.cpp (edit commands).
//
// Long steps (a conversion, the batch, Close File's question) pump
// messages; while one runs the commands that must not start meanwhile are
// disabled and refuse to run (TLongStep).
#pragma once
#include <array>
#include <map>
#include <memory>
#include <vector>
#include "app/AppSettings.h"
#include "platform/forms/Forms.h"

class TCustomDCMemo;
class TDCMemo;
class TSyntaxParser;
class TRichEdit;
class TListBox;
class TPanel;
class TTimer;
class TcxPageControl;
class TcxTabSheet;
class TShellTreeView;
class TShellListView;
class TdxBarManager;
class TdxBarItem;
class TdxBarButton;
class TdxBarGroup;
class TdxBarCombo;
class TdxBarListItem;
class TdxBarSubItem;
class TmyBarBoldButton;
class TgtCustomDocumentEngine;
class TStringList;
class TJzNavPanel;
class TcxSplitter;
class TdxBarDockControl;
class TdxBarPopupMenu;
class TdxStatusBar;
class TEmbeddedWB;
class TCoolTrayIcon;
class THotKeyManager;
class TadpInstanceControl;
class TDropFileTarget;
class TWinControl;

// The batch dialog's numbering of the output formats (RTF and PDF swap
// places against "Default Export Format").
enum TBatchKind : Byte {
  bkHTML = 0, bkRTF = 1, bkPDF = 2, bkLotus = 3, bkBitmap = 4, bkPNG = 5, bkJPG = 6, bkSVG = 7,
  bkQuattroPro = 8, bkExcel = 9
};

extern const char* const AppTitle;  // "Sourcelux v1.0.0"

class TMainForm : public TForm {
  SX_CLASS(TMainForm, TForm)
public:
  explicit TMainForm(TComponent* AOwner);
  ~TMainForm() override;
  static void Published(TPublished<TMainForm>& P);
  // The components whose classes the bar-side unit cannot see.
  static void PublishedEditorSide(TPublished<TMainForm>& P);
  static void PublishedBatchSide(TPublished<TMainForm>& P);

  // Components of the form description.
  TJzNavPanel* JzMain = nullptr;
  TcxPageControl* cxPageControl = nullptr;
  TcxTabSheet* cxTabSheet1 = nullptr;
  TcxTabSheet* cxTabSheet2 = nullptr;
  TJzNavPanel* JzInput = nullptr;
  TJzNavPanel* JzOutput = nullptr;
  TJzNavPanel* JzInputTitle = nullptr;
  TJzNavPanel* JzOutputTitle = nullptr;
  TcxSplitter* cxSplitter = nullptr;
  TdxBarDockControl* DockCtrl_SingleFile = nullptr;
  TdxBarDockControl* DockCtrl_Output = nullptr;
  TDCMemo* DCMemo = nullptr;
  TDCMemo* DCMemo1 = nullptr;
  TcxPageControl* Tab_Output = nullptr;
  TcxTabSheet* cxTabOutputFile = nullptr;
  TcxTabSheet* cxTabOutputPreview = nullptr;
  TEmbeddedWB* EmbeddedWB = nullptr;
  TJzNavPanel* JzFolders = nullptr;
  TJzNavPanel* JzFiles = nullptr;
  TJzNavPanel* JzFilesTitle = nullptr;
  TcxSplitter* cxSplitter1 = nullptr;
  TcxSplitter* cxSplitter2 = nullptr;
  TdxBarDockControl* DockCtrl_Batch = nullptr;
  TShellTreeView* ShellTreeView = nullptr;
  TShellListView* ShellListView = nullptr;
  TListBox* ListBox = nullptr;
  TRichEdit* RichEdit = nullptr;
  TTimer* Timer = nullptr;
  TSyntaxParser* SyntaxParser = nullptr;
  TSyntaxParser* SyntaxParser1 = nullptr;
  TdxBarManager* dxBarManager = nullptr;
  TdxBarGroup* dxBarGroup_Convert = nullptr;
  TdxBarGroup* dxBarGroup_Edit = nullptr;
  TdxBarGroup* dxBarGroup_Indent = nullptr;
  TdxBarPopupMenu* Popup_Convert = nullptr;
  TdxBarPopupMenu* Popup_Print = nullptr;
  TdxBarPopupMenu* Popup_Indent = nullptr;
  TdxBarPopupMenu* Popup_MRU = nullptr;
  TdxBarPopupMenu* Popup_Memo = nullptr;
  TdxBarPopupMenu* Popup_Multiple = nullptr;
  TCoolTrayIcon* CoolTrayIcon = nullptr;
  THotKeyManager* HotKeyManager = nullptr;
  TadpInstanceControl* InstanceControl = nullptr;  // the last component read
  TdxStatusBar* dxStatusBar = nullptr;
  TDropFileTarget* DropFileTarget = nullptr;

  // Bar items the code uses by name.
  TdxBarItem* Item(const AnsiString& Name) const;  // nil when the description has none

  // --- start-up, pages, command line, tray, help (start.cpp)
  void FormCreate(TObject* Sender);
  void FormDestroy(TObject* Sender);
  void TimerTimer(TObject* Sender);
  void cxPageControlChange(TObject* Sender);
  void MinimizeToSystemTrayClick(TObject* Sender);
  void CoolTrayIconClick(TObject* Sender);
  void HomePageClick(TObject* Sender);
  void CheckForUpdatesClick(TObject* Sender);
  void TechnicalSupportClick(TObject* Sender);
  void AboutBtnClick(TObject* Sender);
  void ExitBtnClick(TObject* Sender);
  void IndentConfigurationsClick(TObject* Sender);
  void ConfigureSourceCodeFormatterClick(TObject* Sender);
  void EmailOutputClick(TObject* Sender);
  void OptionsClick(TObject* Sender);
  void PageSetupClick(TObject* Sender);
  void PrintPreviewClick(TObject* Sender);
  void PrintClick(TObject* Sender);
  // The global hot keys (Index: the id the hot-key manager gave).
  void HotKeyManagerHotKeyPressed(Cardinal HotKey, Word Index);
  // Replaces the global hot key registered under Id by NewHotKey: the id
  // to keep. A combination the system refuses leaves the old key
  // registered (its id comes back, perhaps a new one); an Id of 0 (a key
  // that was never registered) registers NewHotKey.
  Word ReplaceGlobalHotKey(Word Id, Cardinal NewHotKey);
  // The command line: a token, an action and a file (ParamStr 1 to 3 when
  // the timer fires). Tests call it with their own arguments.
  void HandleCommandLine(const AnsiString& Token, const AnsiString& Action, const AnsiString& FileName);

  // --- single document (start_Convert.cpp)
  // The file dialogs of the whole window; true when a name came back.
  bool OpenDlg(const AnsiString& InitialDir, const AnsiString& Filter, AnsiString& FileName, bool MultiSelect);
  bool SaveDlg(const AnsiString& InitialDir, const AnsiString& Filter, AnsiString& FileName);
  void OpenFileClick(TObject* Sender);
  void PasteFromClipBoardClick(TObject* Sender);
  void CloseThisFileClick(TObject* Sender);
  // Close File; false when the user cancelled its save question (nothing
  // was closed then).
  bool CloseThisFile();
  void ExportSingleFileClick(TObject* Sender);
  void ConvertToHTMLClick(TObject* Sender);
  void ConvertToRTFClick(TObject* Sender);
  void ConvertToPDFClick(TObject* Sender);
  void ConvertToLotusClick(TObject* Sender);
  void ConvertToBitmapClick(TObject* Sender);
  void ConvertToPNGClick(TObject* Sender);
  void ConvertToJPGClick(TObject* Sender);
  void ConvertToSVGClick(TObject* Sender);
  void ConvertToQuattroProClick(TObject* Sender);
  void ConvertToExcelClick(TObject* Sender);
  void SaveOutputClick(TObject* Sender);
  void PreviewClick(TObject* Sender);
  void Tab_OutputChange(TObject* Sender);
  // Loads a document into the input editor as Open File does.
  void LoadDocument(const AnsiString& FileName);
  // Replaces the input editor's text as typing would: the document is
  // then modified.
  void SetInputText(const AnsiString& Text);
  bool InputEmpty() const;

  // --- batch page and project (start_Batch.cpp)
  void AddFilesFromList(TStringList* List);
  void AddFilesToList(TStringList* List);
  void AddFileClick(TObject* Sender);
  void DeleteFileBtnClick(TObject* Sender);
  void EditSelectedItemClick(TObject* Sender);
  void NewProjectClick(TObject* Sender);
  void MRUListClick(TObject* Sender);
  void ClearHistoryClick(TObject* Sender);
  void SaveProjectClick(TObject* Sender);
  void DropFileTargetDrop(TObject* Sender, TShiftState ShiftState, TPoint APoint, Integer& Effect);

  // --- edit commands (start_Edit.cpp)
  void UndoClick(TObject* Sender);
  void RedoClick(TObject* Sender);
  void CutClick(TObject* Sender);
  void CopyBtnClick(TObject* Sender);
  void PasteClick(TObject* Sender);
  void DeleteClick(TObject* Sender);
  void SelectAllClick(TObject* Sender);
  void FindClick(TObject* Sender);
  void FindNextClick(TObject* Sender);
  void ReplaceClick(TObject* Sender);
  void ClearClick(TObject* Sender);
  void ToogleFocusClick(TObject* Sender);
  void EditorOptionsClick(TObject* Sender);
  void DCMemo1Enter(TObject* Sender);

  // --- shared with the batch dialog
  // The engine of an engine format (PDF … Excel; nil for HTML and RTF),
  // made on first use with pixels as its unit and both preferences False
  // (the batch then sets its own); kept while the window lives.
  TgtCustomDocumentEngine* Engine(TBatchKind Kind);
  bool EngineExists(TBatchKind Kind) const;
  // The files the kind's engine wrote last; none when it has not run.
  std::vector<AnsiString> EngineOutputFiles(TBatchKind Kind) const;
  // A long step runs (conversion, batch, a question that pumps messages).
  bool Busy() const { return FBusy > 0; }

  AnsiString FCurrentFile;
  AnsiString FProjectFileName;
  bool FProjectModified = false;
  Word FIndentHotKeyId = 0, FConvertHotKeyId = 0, FActivationHotKeyId = 0;
  // The preview page's address: the tidied page of the last HTML
  // conversion.
  AnsiString PreviewFileName() const;

private:
  friend class TLongStep;
  void ConvertTo(TBatchKind Kind);
  void ConvertSingleToHtml();
  void ConvertSingleToRtf();
  void ConvertSingleWithEngine(TBatchKind Kind);
  void RunBatch(TBatchKind Kind);
  void ApplyConvertShortCuts();
  // The drop-down menus of the buttons (the description cannot carry them).
  void WireBars();
  void RegisterGlobalHotKeys(const TGeneralOptions& Options);
  void SetBusy(bool Value);
  TCustomDCMemo* FocusedMemo() const;
  // The editor side of the window, for the units that cannot see the
  // editor's headers (its names clash with the bar library's).
  bool InputFocused() const;
  void ReplaceInputWithClipboard();
  void LoadOutputScheme();  // raises when "html.sch" cannot be read  // DCMemo or DCMemo1 when focused, else nil
  void ReadOnlyNotice();

  Integer FBusy = 0;
  bool FCreated = false;  // FormCreate ran to its end
  std::array<std::unique_ptr<TgtCustomDocumentEngine>, 10> FEngines;  // by TBatchKind
  // The registered values behind the three hot-key ids (a refused change
  // registers the old value again).
  std::map<Word, Cardinal> FHotKeyValues;
};

// The program's one start-up list of registrations: its classes (forms,
// bar items) and the libraries' classes its form descriptions name. Once
// per process; calling again does nothing more.
void RegisterAppClasses();
// The part of it that names the editor's classes (start_Edit.cpp).
void RegisterEditorSideClasses();
// The class of the description's drop target (start_Batch.cpp, where the
// drag-and-drop family's headers are seen).
TClass DropFileTargetClass();

// Runs a long step of the main window: commands that must not start
// meanwhile are disabled, and Active() is false when another long step
// already runs (the caller then does nothing).
class TLongStep {
public:
  explicit TLongStep(TMainForm& Form);
  ~TLongStep();
  TLongStep(const TLongStep&) = delete;
  TLongStep& operator=(const TLongStep&) = delete;
  bool Active() const { return FActive; }

private:
  TMainForm& FForm;
  bool FActive;
};
