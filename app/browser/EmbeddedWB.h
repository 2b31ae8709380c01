// EmbeddedWB.h — TEmbeddedWB, the main window's HTML preview: the web
// browser with this program as its host site. It answers every host
// callback of the browser by firing its event for it, or with a fixed
// answer when the event is not assigned (the main window assigns none); it
// gives the browser its download-control and host flags, keeps a user-agent
// marker in the per-user registry while it lives, can serve the shell's
// folder and HTML-file DDE commands, can rename the browser's dialog boxes
// and carries print options for the form description.
//
// Ownership: the form owns the component; the print options and their
// margins belong to the component. The DDE utility window lives from the
// constructor to the destructor; the owner's and the control's window
// procedures are hooked from Loaded to the destructor.
#pragma once
#include "app/browser/EwbCore.h"
#include "platform/browser/WebBrowser.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Persistent.h"
#include "platform/rtl/Sets.h"
#include "platform/rtl/TypInfo.h"

// The option kinds keep the names of the flags they stand for, which the
// platform declares as constants: the enumerations live in a namespace.
namespace ewb {
SX_ENUM(TDownloadControlOption, DLCTL_DLIMAGES, DLCTL_VIDEOS, DLCTL_BGSOUNDS, DLCTL_NO_SCRIPTS, DLCTL_NO_JAVA,
        DLCTL_NO_RUNACTIVEXCTLS, DLCTL_NO_DLACTIVEXCTLS, DLCTL_DOWNLOADONLY, DLCTL_NO_FRAMEDOWNLOAD,
        DLCTL_RESYNCHRONIZE, DLCTL_PRAGMA_NO_CACHE, DLCTL_NO_BEHAVIORS, DLCTL_NO_METACHARSET,
        DLCTL_URL_ENCODING_DISABLE_UTF8, DLCTL_URL_ENCODING_ENABLE_UTF8, DLCTL_FORCEOFFLINE, DLCTL_NO_CLIENTPULL,
        DLCTL_SILENT, DLCTL_OFFLINE)
SX_ENUM(TUserInterfaceOption, DIALOG, DISABLE_HELP_MENU, NO3DBORDER, SCROLL_NO, DISABLE_SCRIPT_INACTIVE, OPENNEWWIN,
        DISABLE_OFFSCREEN, FLAT_SCROLLBAR, DIV_BLOCKDEFAULT, ACTIVATE_CLIENTHIT_ONLY, OVERRIDEBEHAVIORFACTORY,
        CODEPAGELINKEDFONTS, URL_ENCODING_DISABLE_UTF8, URL_ENCODING_ENABLE_UTF8, ENABLE_FORMS_AUTOCOMPLETE,
        ENABLE_INPLACE_NAVIGATION, IME_ENABLE_RECONVERSION)
SX_ENUM(TPrintOrientationOption, poPortrait, poLandscape)
}  // namespace ewb
using ewb::TDownloadControlOption;
using ewb::TPrintOrientationOption;
using ewb::TUserInterfaceOption;
using TDownloadControlOptions = TSet<TDownloadControlOption>;
using TUserInterfaceOptions = TSet<TUserInterfaceOption>;

// The flag word of each option set: the sum of its members' flags.
DWORD DownloadControlFlags(const TDownloadControlOptions& Options);
DWORD UserInterfaceFlags(const TUserInterfaceOptions& Options);

class TMargins : public TPersistent {
  SX_CLASS(TMargins, TPersistent)
public:
  TMargins() = default;
  double Left = 0, Right = 0, Top = 0, Bottom = 0;
  void Assign(TPersistent* Source) override;
  static void Published(TPublished<TMargins>& P) {
    P.Property("Left", &TMargins::Left, &TMargins::Left);
    P.Property("Right", &TMargins::Right, &TMargins::Right);
    P.Property("Top", &TMargins::Top, &TMargins::Top);
    P.Property("Bottom", &TMargins::Bottom, &TMargins::Bottom);
  }
};

class TPrintOptions : public TPersistent {
  SX_CLASS(TPrintOptions, TPersistent)
public:
  TPrintOptions();
  ~TPrintOptions() override;
  TStrings* GetHTMLHeader() const { return FHTMLHeader.get(); }
  void SetHTMLHeader(TStrings* Value) { FHTMLHeader->Assign(Value); }
  TMargins* GetMargins() const { return FMargins.get(); }
  void SetMargins(TMargins* Value) { FMargins->Assign(Value); }
  AnsiString Header, Footer;
  TPrintOrientationOption Orientation = ewb::poPortrait;
  void Assign(TPersistent* Source) override;
  static void Published(TPublished<TPrintOptions>& P) {
    P.Property("HTMLHeader", &TPrintOptions::GetHTMLHeader, &TPrintOptions::SetHTMLHeader);
    P.Property("Header", &TPrintOptions::Header, &TPrintOptions::Header);
    P.Property("Footer", &TPrintOptions::Footer, &TPrintOptions::Footer);
    P.Property("Margins", &TPrintOptions::GetMargins, &TPrintOptions::SetMargins);
    P.Property("Orientation", &TPrintOptions::Orientation, &TPrintOptions::Orientation).Default(ewb::poPortrait);
  }

private:
  std::unique_ptr<TStringList> FHTMLHeader;
  std::unique_ptr<TMargins> FMargins;
};

// The host callbacks' events: each gets the callback's arguments and its
// result is the callback's answer.
using TShowContextMenuEvent = TEvent<HRESULT(DWORD dwID, const TPoint* ppt, IUnknown* pcmdtReserved,
                                             IDispatch* pdispReserved)>;
using TGetHostInfoEvent = TEvent<HRESULT(DOCHOSTUIINFO& pInfo)>;
using TShowUIEvent = TEvent<HRESULT(DWORD dwID, IOleInPlaceActiveObject* pActiveObject,
                                    IOleCommandTarget* pCommandTarget, IOleInPlaceFrame* pFrame,
                                    IOleInPlaceUIWindow* pDoc)>;
using THResultEvent = TEvent<HRESULT()>;
using TBoolHResultEvent = TEvent<HRESULT(BOOL Value)>;
using TResizeBorderEvent = TEvent<HRESULT(const TRect* prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow)>;
using TTranslateAcceleratorEvent = TEvent<HRESULT(const MSG* lpMsg, const TGUID* pguidCmdGroup, DWORD nCmdID)>;
using TGetOptionKeyPathEvent = TEvent<HRESULT(char16_t*& pchKey, DWORD dw)>;
using TGetDropTargetEvent = TEvent<HRESULT(IDropTarget* pDropTarget, IDropTarget*& ppDropTarget)>;
using TGetExternalEvent = TEvent<HRESULT(IDispatch*& ppDispatch)>;
using TTranslateUrlEvent = TEvent<HRESULT(DWORD dwTranslate, const char16_t* pchURLIn, char16_t*& ppchURLOut)>;
using TFilterDataObjectEvent = TEvent<HRESULT(IDataObject* pDO, IDataObject*& ppDORet)>;
using TGetOverrideKeyPathEvent = TEvent<HRESULT(char16_t** pchKey, DWORD dw)>;
using TShowMessageEvent = TEvent<HRESULT(HWND hwnd, const char16_t* lpstrText, const char16_t* lpstrCaption,
                                         DWORD dwType, const char16_t* lpstrHelpFile, DWORD dwHelpContext,
                                         LRESULT& plResult)>;
using TShowHelpEvent = TEvent<HRESULT(HWND hwnd, const char16_t* pszHelpFile, UINT uCommand, DWORD dwData,
                                      TPoint ptMouse, IDispatch*& pDispatchObjectHit)>;
using TGetTypeInfoCountEvent = TEvent<HRESULT(UINT& Count)>;
using TGetTypeInfoEvent = TEvent<HRESULT(UINT Index, LCID LocaleID, ITypeInfo*& TypeInfo)>;
using TGetIDsOfNamesEvent = TEvent<HRESULT(const TGUID& IID, const char16_t* const* Names, UINT NameCount,
                                           LCID LocaleID, DISPID* DispIDs)>;
using TInvokeEvent = TEvent<HRESULT(DISPID DispID, const TGUID& IID, LCID LocaleID, WORD Flags, DISPPARAMS& Params,
                                    Variant* VarResult, EXCEPINFO* ExcepInfo, UINT* ArgErr)>;
using TQueryServiceEvent = TEvent<HRESULT(const TGUID& rsid, const TGUID& iid, void*& Obj)>;
using TRefreshEvent = TEvent<void(TObject* Sender, Integer CmdID, bool& Cancel)>;
using TScriptErrorEvent = TEvent<void(TObject* Sender, const AnsiString& ErrorLine, const AnsiString& ErrorCharacter,
                                      const AnsiString& ErrorCode, const AnsiString& ErrorMessage,
                                      const AnsiString& ErrorUrl, bool& ContinueScript, bool& Showdialog)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;
using TShowDialogEvent = TEvent<void(TObject* Sender, HWND h)>;

class TEmbeddedWB : public TWebBrowser,
                    public IDocHostUIHandler2,
                    public IDocHostShowUI,
                    public IOleCommandTarget,
                    public IServiceProvider,
                    public IDispatch {
  SX_CLASS(TEmbeddedWB, TWebBrowser)
public:
  explicit TEmbeddedWB(TComponent* AOwner);
  ~TEmbeddedWB() override;
  void Loaded() override;

  HRESULT QueryInterface(const TGUID& IID, void** Obj) override { return TWebBrowser::QueryInterface(IID, Obj); }
  Integer _AddRef() override { return TWebBrowser::_AddRef(); }
  Integer _Release() override { return TWebBrowser::_Release(); }

  // Navigate2 with the text and 0 for each optional argument.
  void NavigatePath(const AnsiString& Path);
  // Navigate2 with the list's bytes and no optional arguments.
  void NavigateIdList(PItemIDList IdList);

  TDownloadControlOptions GetDownloadOptions() const { return FDownloadOptions; }
  void SetDownloadOptions(TDownloadControlOptions Value);
  TUserInterfaceOptions GetUserInterfaceOptions() const { return FUserInterfaceOptions; }
  void SetUserInterfaceOptions(TUserInterfaceOptions Value);
  TPrintOptions* GetPrintOptions() const { return FPrintOptions.get(); }
  void SetPrintOptions(TPrintOptions* Value) { FPrintOptions->Assign(Value); }
  bool GetFpExceptions() const { return FFpExceptions; }
  void SetFpExceptions(bool Value);
  DWORD DownloadFlagWord() const { return FDownloadFlags; }
  DWORD HostFlagWord() const { return FHostFlagWord; }

  AnsiString UserAgent;
  bool ReplaceCaption = false;
  bool EnableDDE = false;
  AnsiString HelpFile;

  TShowContextMenuEvent OnShowContextMenu;
  TGetHostInfoEvent OnGetHostInfo;
  TShowUIEvent OnShowUI;
  THResultEvent OnHideUI, OnUpdateUI;
  TBoolHResultEvent OnEnableModeless, OnOnDocWindowActivate, OnOnFrameWindowActivate;
  TResizeBorderEvent OnResizeBorder;
  TTranslateAcceleratorEvent OnTranslateAccelerator;
  TGetOptionKeyPathEvent OnGetOptionKeyPath;
  TGetDropTargetEvent OnGetDropTarget;
  TGetExternalEvent OnGetExternal;
  TTranslateUrlEvent OnTranslateUrl;
  TFilterDataObjectEvent OnFilterDataObject;
  TGetOverrideKeyPathEvent OnGetOverrideKeyPath;
  TShowMessageEvent OnShowMessage;
  TShowHelpEvent OnShowHelp;
  TGetTypeInfoCountEvent OnGetTypeInfoCount;
  TGetTypeInfoEvent OnGetTypeInfo;
  TGetIDsOfNamesEvent OnGetIDsOfNames;
  TInvokeEvent OnInvoke;
  TQueryServiceEvent OnQueryService;
  TRefreshEvent OnRefresh;
  TScriptErrorEvent OnScriptError;
  TNotifyEvent OnUnload;
  TCloseQueryEvent OnCloseQuery;
  TShowDialogEvent OnShowDialog;

  static void Published(TPublished<TEmbeddedWB>& P);

  // --- IDocHostUIHandler(2) ---
  HRESULT ShowContextMenu(DWORD dwID, const TPoint* ppt, IUnknown* pcmdtReserved, IDispatch* pdispReserved) override;
  HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo) override;
  HRESULT ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                 IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) override;
  HRESULT HideUI() override;
  HRESULT UpdateUI() override;
  HRESULT EnableModeless(BOOL fEnable) override;
  HRESULT OnDocWindowActivate(BOOL fActivate) override;
  HRESULT OnFrameWindowActivate(BOOL fActivate) override;
  HRESULT ResizeBorder(const TRect* prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) override;
  HRESULT TranslateAccelerator(const MSG* lpMsg, const TGUID* pguidCmdGroup, DWORD nCmdID) override;
  HRESULT GetOptionKeyPath(char16_t** pchKey, DWORD dw) override;
  HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) override;
  HRESULT GetExternal(IDispatch** ppDispatch) override;
  HRESULT TranslateUrl(DWORD dwTranslate, const char16_t* pchURLIn, char16_t** ppchURLOut) override;
  HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) override;
  HRESULT GetOverrideKeyPath(char16_t** pchKey, DWORD dw) override;
  // --- IDocHostShowUI ---
  HRESULT ShowMessage(HWND hwnd, const char16_t* lpstrText, const char16_t* lpstrCaption, DWORD dwType,
                      const char16_t* lpstrHelpFile, DWORD dwHelpContext, LRESULT* plResult) override;
  HRESULT ShowHelp(HWND hwnd, const char16_t* pszHelpFile, UINT uCommand, DWORD dwData, TPoint ptMouse,
                   IDispatch* pDispatchObjectHit) override;
  // --- IDispatch (ambient properties) ---
  HRESULT GetTypeInfoCount(UINT* Count) override;
  HRESULT GetTypeInfo(UINT Index, LCID LocaleID, ITypeInfo** TypeInfo) override;
  HRESULT GetIDsOfNames(const TGUID& IID, const char16_t* const* Names, UINT NameCount, LCID LocaleID,
                        DISPID* DispIDs) override;
  HRESULT Invoke(DISPID DispID, const TGUID& IID, LCID LocaleID, WORD Flags, DISPPARAMS* Params, Variant* VarResult,
                 EXCEPINFO* ExcepInfo, UINT* ArgErr) override;
  // --- IServiceProvider ---
  HRESULT QueryService(const TGUID& rsid, const TGUID& iid, void** Obj) override;
  // --- IOleCommandTarget ---
  HRESULT QueryStatus(const TGUID* CmdGroup, ULONG Count, OLECMD* Cmds, OLECMDTEXT* Text) override;
  HRESULT Exec(const TGUID* CmdGroup, DWORD CmdID, DWORD CmdExecOpt, const Variant* In, Variant* Out) override;

  // The shell's DDE names read at creation (empty where the system has none).
  struct TShellDdeNames {
    AnsiString HtmlFileApp, HtmlFileTopic, FolderApp, FolderTopic, FolderOpenVerb, FolderExploreVerb, FindVerb;
  };
  const TShellDdeNames& ShellDdeNames() const { return FDde; }
  HWND UtilWindow() const { return FUtilWnd; }
  // The parts of a folder DDE command.
  struct TDdeCommand {
    Integer Kind = 0;  // 1 open, 2 explore, 3 find, 0 unknown
    AnsiString Path;
    PItemIDList IdList = nullptr;  // a copy, freed by the caller
    Integer Show = 1;
  };
  TDdeCommand ParseDdeCommand(const AnsiString& Command) const;

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override;

private:
  void ReadShellDdeNames();
  void NotifyDownloadControl();
  void HookOwner();
  void UnhookOwner();
  void BrowserWndProc(TMessage& Message);
  void OwnerWndProc(TMessage& Message);
  void UtilWndProc(TMessage& Message);
  void DdeExecute(TMessage& Message);
  AnsiString GetEventProperty(IDispatch* Event, const char16_t* Name);

  TDownloadControlOptions FDownloadOptions;
  TUserInterfaceOptions FUserInterfaceOptions;
  DWORD FDownloadFlags = 0;
  DWORD FHostFlagWord = 0;
  std::unique_ptr<TPrintOptions> FPrintOptions;
  bool FFpExceptions = true;
  HWND FUtilWnd = nullptr;
  TShellDdeNames FDde;
  TWndMethod FOldWindowProc;
  TWndMethod FOldOwnerWindowProc;
  TWinControl* FHookedOwner = nullptr;
  bool FDdeRunning = false;
  bool FDdeHtmlFile = false;
};

void RegisterEmbeddedWBClasses();
