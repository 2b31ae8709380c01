#include "app/browser/EmbeddedWB.h"

#include <unistd.h>

#include <cfenv>
#include <cstring>

#include "platform/forms/Application.h"
#include "platform/ole/OleApi.h"
#include "platform/ole/OleErrors.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/shell/ShellApi.h"
#include "platform/win/Atoms.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"

namespace {

const char* const UserAgentKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform";

// The unit's state: the floating-point environment at start, and OLE open
// for as long as the program runs.
struct TEmbeddedWBUnit {
  std::fenv_t SavedFpu{};
  bool Ole = false;
  TEmbeddedWBUnit() {
    std::fegetenv(&SavedFpu);
    Ole = Succeeded(OleInitialize(nullptr));
  }
  ~TEmbeddedWBUnit() {
    std::fesetenv(&SavedFpu);
    try {
      if (Ole) OleUninitialize();
    } catch (...) {
      // The end of the program goes on whatever OLE says.
    }
  }
};

TEmbeddedWBUnit& Unit() {
  static TEmbeddedWBUnit U;
  return U;
}

const DWORD DownloadFlagOf[] = {0x10,    0x20,    0x40,    0x80,    0x100,      0x200,      0x400,
                                0x800,   0x1000,  0x2000,  0x4000,  0x8000,     0x10000,    0x20000,
                                0x40000, 0x10000000, 0x20000000, 0x40000000, 0x80000000};
const DWORD HostFlagOf[] = {0x1,   0x2,   0x4,   0x8,    0x10,   0x20,    0x40,    0x80,   0x100,
                            0x200, 0x400, 0x800, 0x1000, 0x2000, 0x4000, 0x10000, 0x20000};

// The text after the first "[" and then before the first "(".
AnsiString DdeVerb(AnsiString S) {
  const std::size_t Open = S.find('[');
  if (Open != AnsiString::npos) S.erase(0, Open + 1);
  const std::size_t Paren = S.find('(');
  if (Paren != AnsiString::npos) S.erase(Paren);
  return S;
}

bool SameText(const AnsiString& A, const AnsiString& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I)
    if (std::tolower(static_cast<unsigned char>(A[I])) != std::tolower(static_cast<unsigned char>(B[I]))) return false;
  return true;
}

AnsiString AtomName(ATOM A) {
  char Buf[256] = "";
  GlobalGetAtomNameA(A, Buf, sizeof Buf);
  return Buf;
}

}  // namespace

DWORD DownloadControlFlags(const TDownloadControlOptions& Options) {
  DWORD Flags = 0;
  for (int I = 0; I < int(std::size(DownloadFlagOf)); ++I)
    if (Options.Contains(TDownloadControlOption(I))) Flags += DownloadFlagOf[I];
  return Flags;
}

DWORD UserInterfaceFlags(const TUserInterfaceOptions& Options) {
  DWORD Flags = 0;
  for (int I = 0; I < int(std::size(HostFlagOf)); ++I)
    if (Options.Contains(TUserInterfaceOption(I))) Flags += HostFlagOf[I];
  return Flags;
}

// --- print options ------------------------------------------------------------------------------

void TMargins::Assign(TPersistent* Source) {
  if (auto* M = dynamic_cast<TMargins*>(Source)) {
    Left = M->Left, Right = M->Right, Top = M->Top, Bottom = M->Bottom;
    return;
  }
  inherited::Assign(Source);
}

TPrintOptions::TPrintOptions() : FHTMLHeader(std::make_unique<TStringList>()), FMargins(std::make_unique<TMargins>()) {
  FHTMLHeader->Add("<HTML></HTML>");
}

TPrintOptions::~TPrintOptions() = default;

void TPrintOptions::Assign(TPersistent* Source) {
  if (auto* O = dynamic_cast<TPrintOptions*>(Source)) {
    FHTMLHeader->Assign(O->FHTMLHeader.get());
    FMargins->Assign(O->FMargins.get());
    Header = O->Header, Footer = O->Footer, Orientation = O->Orientation;
    return;
  }
  inherited::Assign(Source);
}

// --- the component ------------------------------------------------------------------------------

TEmbeddedWB::TEmbeddedWB(TComponent* AOwner) : TWebBrowser(AOwner) {
  Unit();
  ReadShellDdeNames();
  FUtilWnd = AllocateHWnd(TWndMethod(this, &TEmbeddedWB::UtilWndProc));
  FPrintOptions = std::make_unique<TPrintOptions>();
  SetDownloadOptions({ewb::DLCTL_DLIMAGES, ewb::DLCTL_VIDEOS, ewb::DLCTL_BGSOUNDS});
  SetUserInterfaceOptions({});
  EnableDDE = false;
}

TEmbeddedWB::~TEmbeddedWB() {
  if (FUtilWnd) DeallocateHWnd(FUtilWnd);
  FUtilWnd = nullptr;
  FPrintOptions.reset();
  UnhookOwner();
  if (FOldWindowProc.Assigned()) WindowProc = FOldWindowProc;
  TRegistry Reg;
  if (Reg.OpenKey(UserAgentKey, false)) Reg.DeleteValue(UserAgent);
}

void TEmbeddedWB::Published(TPublished<TEmbeddedWB>& P) {
  P.Property("DownloadOptions", &TEmbeddedWB::GetDownloadOptions, &TEmbeddedWB::SetDownloadOptions);
  P.Property("UserInterfaceOptions", &TEmbeddedWB::GetUserInterfaceOptions, &TEmbeddedWB::SetUserInterfaceOptions);
  P.Property("PrintOptions", &TEmbeddedWB::GetPrintOptions, &TEmbeddedWB::SetPrintOptions);
  P.Property("UserAgent", &TEmbeddedWB::UserAgent, &TEmbeddedWB::UserAgent);
  P.Property("ReplaceCaption", &TEmbeddedWB::ReplaceCaption, &TEmbeddedWB::ReplaceCaption).Default(false);
  P.Property("EnableDDE", &TEmbeddedWB::EnableDDE, &TEmbeddedWB::EnableDDE).Default(false);
  P.Property("fpExceptions", &TEmbeddedWB::GetFpExceptions, &TEmbeddedWB::SetFpExceptions).Default(true);
  P.Property("HelpFile", &TEmbeddedWB::HelpFile, &TEmbeddedWB::HelpFile);
  P.Property("Left", &TEmbeddedWB::GetLeft, &TEmbeddedWB::SetLeft);
  P.Property("Top", &TEmbeddedWB::GetTop, &TEmbeddedWB::SetTop);
  P.Property("Width", &TEmbeddedWB::GetWidth, &TEmbeddedWB::SetWidth);
  P.Property("Height", &TEmbeddedWB::GetHeight, &TEmbeddedWB::SetHeight);
  P.Property("OnRefresh", &TEmbeddedWB::OnRefresh, &TEmbeddedWB::OnRefresh);
  P.Property("OnScriptError", &TEmbeddedWB::OnScriptError, &TEmbeddedWB::OnScriptError);
  P.Property("OnUnload", &TEmbeddedWB::OnUnload, &TEmbeddedWB::OnUnload);
  P.Property("OnCloseQuery", &TEmbeddedWB::OnCloseQuery, &TEmbeddedWB::OnCloseQuery);
  P.Property("OnShowDialog", &TEmbeddedWB::OnShowDialog, &TEmbeddedWB::OnShowDialog);
}

bool TEmbeddedWB::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IDocHostUIHandler2>(this, IID, Obj) || OfferInterface<IDocHostUIHandler>(this, IID, Obj) ||
         OfferInterface<IDocHostShowUI>(this, IID, Obj) || OfferInterface<IOleCommandTarget>(this, IID, Obj) ||
         OfferInterface<IServiceProvider>(this, IID, Obj) || OfferInterface<IDispatch>(this, IID, Obj) ||
         TWebBrowser::GetInterface(IID, Obj);
}

void TEmbeddedWB::ReadShellDdeNames() {
  try {
    TRegistry Reg;
    Reg.SetRootKey(HKEY_CLASSES_ROOT);
    auto Value = [&](const char* Key) -> AnsiString {
      AnsiString V;
      if (Reg.OpenKeyReadOnly(Key)) {
        if (Reg.ValueExists("")) V = Reg.ReadString("");
        Reg.CloseKey();
      }
      return V;
    };
    FDde.HtmlFileApp = Value("htmlfile\\shell\\open\\ddeexec\\application");
    FDde.HtmlFileTopic = Value("htmlfile\\shell\\open\\ddeexec\\topic");
    FDde.FolderApp = Value("Folder\\shell\\open\\ddeexec\\application");
    FDde.FolderTopic = Value("Folder\\shell\\open\\ddeexec\\topic");
    FDde.FolderOpenVerb = DdeVerb(Value("Folder\\shell\\open\\ddeexec"));
    FDde.FolderExploreVerb = DdeVerb(Value("Folder\\shell\\explore\\ddeexec"));
    FDde.FindVerb = DdeVerb(Value("Directory\\shell\\find\\ddeexec"));
  } catch (const Exception&) {
    // Without the shell's names the DDE server answers no one.
  }
}

void TEmbeddedWB::SetFpExceptions(bool Value) {
  FFpExceptions = Value;
  if (Value) {
    std::fesetenv(&Unit().SavedFpu);
  } else {
    // Every floating-point exception masked.
    std::fenv_t Env;
    std::feholdexcept(&Env);
  }
}

void TEmbeddedWB::NotifyDownloadControl() {
  TIntfPtr<IDispatch> App = GetApplication();
  TIntfPtr<IOleControl> Control;
  if (App && Supports(App.Get(), Control)) Control->OnAmbientPropertyChange(DISPID_AMBIENT_DLCONTROL);
}

void TEmbeddedWB::SetDownloadOptions(TDownloadControlOptions Value) {
  FDownloadOptions = Value;
  FDownloadFlags = DownloadControlFlags(Value);
  NotifyDownloadControl();
}

void TEmbeddedWB::SetUserInterfaceOptions(TUserInterfaceOptions Value) {
  FUserInterfaceOptions = Value;
  FHostFlagWord = UserInterfaceFlags(Value);
  NotifyDownloadControl();
}

void TEmbeddedWB::Loaded() {
  inherited::Loaded();
  FDownloadFlags = DownloadControlFlags(FDownloadOptions);
  FHostFlagWord = UserInterfaceFlags(FUserInterfaceOptions);
  HookOwner();
  FOldWindowProc = WindowProc;
  WindowProc = TWndMethod(this, &TEmbeddedWB::BrowserWndProc);
  TRegistry Reg;
  if (Reg.OpenKey(UserAgentKey, true)) Reg.WriteString(UserAgent, "");
  // The control reads its host's settings again.
  AmbientPropertyChanged(DISPID_AMBIENT_DLCONTROL);
}

void TEmbeddedWB::HookOwner() {
  auto* Owner = dynamic_cast<TWinControl*>(GetOwner());
  if (!Owner || !Owner->HandleAllocated()) return;
  FHookedOwner = Owner;
  FOldOwnerWindowProc = Owner->WindowProc;
  Owner->WindowProc = TWndMethod(this, &TEmbeddedWB::OwnerWndProc);
}

void TEmbeddedWB::UnhookOwner() {
  if (!FHookedOwner) return;
  if (FHookedOwner->HandleAllocated()) FHookedOwner->WindowProc = FOldOwnerWindowProc;
  FHookedOwner = nullptr;
}

void TEmbeddedWB::NavigatePath(const AnsiString& Path) {
  const Variant Zero(Integer(0));
  Navigate2(Variant(AnsiToWide(Path)), &Zero, &Zero, &Zero, &Zero);
}

void TEmbeddedWB::NavigateIdList(PItemIDList IdList) {
  const UINT Size = GetIdListSize(IdList);
  Variant Bytes = VarArrayCreate(0, int(Size) - 1, varByte);
  const auto* P = reinterpret_cast<const Byte*>(IdList);
  for (UINT I = 0; I < Size; ++I) VarArrayPut(Bytes, Variant(P[I]), int(I));
  // The list as an address is the shell's business: here it names no page
  // and ends offline.
  Navigate2(Bytes);
}

// --- host callbacks ---------------------------------------------------------------------------

HRESULT TEmbeddedWB::ShowContextMenu(DWORD dwID, const TPoint* ppt, IUnknown* pcmdtReserved,
                                     IDispatch* pdispReserved) {
  if (OnShowContextMenu.Assigned()) return OnShowContextMenu(dwID, ppt, pcmdtReserved, pdispReserved);
  return S_FALSE;
}

HRESULT TEmbeddedWB::GetHostInfo(DOCHOSTUIINFO* pInfo) {
  if (!pInfo) return E_POINTER;
  pInfo->cbSize = 20;
  pInfo->dwFlags = FHostFlagWord;
  pInfo->dwDoubleClick = 0;
  if (OnGetHostInfo.Assigned()) return OnGetHostInfo(*pInfo);
  return S_OK;
}

HRESULT TEmbeddedWB::ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                            IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) {
  if (OnShowUI.Assigned()) return OnShowUI(dwID, pActiveObject, pCommandTarget, pFrame, pDoc);
  return S_FALSE;
}

HRESULT TEmbeddedWB::HideUI() { return OnHideUI.Assigned() ? OnHideUI() : S_FALSE; }
HRESULT TEmbeddedWB::UpdateUI() { return OnUpdateUI.Assigned() ? OnUpdateUI() : S_FALSE; }
HRESULT TEmbeddedWB::EnableModeless(BOOL fEnable) {
  return OnEnableModeless.Assigned() ? OnEnableModeless(fEnable) : S_FALSE;
}
HRESULT TEmbeddedWB::OnDocWindowActivate(BOOL fActivate) {
  return OnOnDocWindowActivate.Assigned() ? OnOnDocWindowActivate(fActivate) : S_FALSE;
}
HRESULT TEmbeddedWB::OnFrameWindowActivate(BOOL fActivate) {
  return OnOnFrameWindowActivate.Assigned() ? OnOnFrameWindowActivate(fActivate) : S_FALSE;
}
HRESULT TEmbeddedWB::ResizeBorder(const TRect* prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) {
  return OnResizeBorder.Assigned() ? OnResizeBorder(prcBorder, pUIWindow, fRameWindow) : S_FALSE;
}
HRESULT TEmbeddedWB::TranslateAccelerator(const MSG* lpMsg, const TGUID* pguidCmdGroup, DWORD nCmdID) {
  return OnTranslateAccelerator.Assigned() ? OnTranslateAccelerator(lpMsg, pguidCmdGroup, nCmdID) : S_FALSE;
}
HRESULT TEmbeddedWB::GetOptionKeyPath(char16_t** pchKey, DWORD dw) {
  if (OnGetOptionKeyPath.Assigned() && pchKey) return OnGetOptionKeyPath(*pchKey, dw);
  return S_FALSE;
}

HRESULT TEmbeddedWB::GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) {
  if (!ppDropTarget) return E_POINTER;
  *ppDropTarget = nullptr;
  if (OnGetDropTarget.Assigned()) return OnGetDropTarget(pDropTarget, *ppDropTarget);
  return S_OK;
}

HRESULT TEmbeddedWB::GetExternal(IDispatch** ppDispatch) {
  if (!ppDispatch) return E_POINTER;
  *ppDispatch = nullptr;
  if (OnGetExternal.Assigned()) return OnGetExternal(*ppDispatch);
  return S_FALSE;
}

HRESULT TEmbeddedWB::TranslateUrl(DWORD dwTranslate, const char16_t* pchURLIn, char16_t** ppchURLOut) {
  if (OnTranslateUrl.Assigned() && ppchURLOut) return OnTranslateUrl(dwTranslate, pchURLIn, *ppchURLOut);
  return S_FALSE;
}

HRESULT TEmbeddedWB::FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) {
  if (!ppDORet) return E_POINTER;
  *ppDORet = nullptr;
  if (OnFilterDataObject.Assigned()) return OnFilterDataObject(pDO, *ppDORet);
  return S_FALSE;
}

HRESULT TEmbeddedWB::GetOverrideKeyPath(char16_t** pchKey, DWORD dw) {
  return OnGetOverrideKeyPath.Assigned() ? OnGetOverrideKeyPath(pchKey, dw) : S_OK;
}

HRESULT TEmbeddedWB::ShowMessage(HWND hwnd, const char16_t* lpstrText, const char16_t* lpstrCaption, DWORD dwType,
                                 const char16_t* lpstrHelpFile, DWORD dwHelpContext, LRESULT* plResult) {
  if (OnShowMessage.Assigned() && plResult)
    return OnShowMessage(hwnd, lpstrText, lpstrCaption, dwType, lpstrHelpFile, dwHelpContext, *plResult);
  return S_FALSE;
}

HRESULT TEmbeddedWB::ShowHelp(HWND hwnd, const char16_t* pszHelpFile, UINT uCommand, DWORD dwData, TPoint ptMouse,
                              IDispatch* pDispatchObjectHit) {
  if (OnShowHelp.Assigned()) return OnShowHelp(hwnd, pszHelpFile, uCommand, dwData, ptMouse, pDispatchObjectHit);
  if (!HelpFile.empty()) {
    CallHtmlHelp(hwnd, HelpFile.c_str(), uCommand, dwData);
    return S_OK;
  }
  return S_FALSE;
}

HRESULT TEmbeddedWB::GetTypeInfoCount(UINT* Count) {
  if (OnGetTypeInfoCount.Assigned() && Count) return OnGetTypeInfoCount(*Count);
  if (Count) *Count = 0;
  return E_NOTIMPL;
}

HRESULT TEmbeddedWB::GetTypeInfo(UINT Index, LCID LocaleID, ITypeInfo** TypeInfo) {
  if (OnGetTypeInfo.Assigned() && TypeInfo) return OnGetTypeInfo(Index, LocaleID, *TypeInfo);
  if (TypeInfo) *TypeInfo = nullptr;
  return E_NOTIMPL;
}

HRESULT TEmbeddedWB::GetIDsOfNames(const TGUID& IID, const char16_t* const* Names, UINT NameCount, LCID LocaleID,
                                   DISPID* DispIDs) {
  if (OnGetIDsOfNames.Assigned()) return OnGetIDsOfNames(IID, Names, NameCount, LocaleID, DispIDs);
  return E_NOTIMPL;
}

HRESULT TEmbeddedWB::Invoke(DISPID DispID, const TGUID& IID, LCID LocaleID, WORD Flags, DISPPARAMS* Params,
                            Variant* VarResult, EXCEPINFO* ExcepInfo, UINT* ArgErr) {
  if ((Flags & DISPATCH_PROPERTYGET) && DispID == DISPID_AMBIENT_DLCONTROL && VarResult) {
    *VarResult = Variant(Integer(FDownloadFlags));
    return S_OK;
  }
  if (OnInvoke.Assigned()) {
    DISPPARAMS None;
    return OnInvoke(DispID, IID, LocaleID, Flags, Params ? *Params : None, VarResult, ExcepInfo, ArgErr);
  }
  return DefaultAmbientInvoke(DispID, Flags, VarResult);
}

HRESULT TEmbeddedWB::QueryService(const TGUID& rsid, const TGUID& iid, void** Obj) {
  if (OnQueryService.Assigned() && Obj) {
    *Obj = nullptr;
    return OnQueryService(rsid, iid, *Obj);
  }
  return E_NOINTERFACE;
}

HRESULT TEmbeddedWB::QueryStatus(const TGUID*, ULONG, OLECMD*, OLECMDTEXT*) { return S_OK; }

AnsiString TEmbeddedWB::GetEventProperty(IDispatch* Event, const char16_t* Name) {
  DISPID Id = 0;
  const char16_t* Names[] = {Name};
  if (!Succeeded(Event->GetIDsOfNames(IUnknown::IID(), Names, 1, 0x0400, &Id)))
    throw EOleError("'" + WideToAnsi(Name) + "' not supported.");
  Variant V;
  DISPPARAMS None;
  if (!Succeeded(Event->Invoke(Id, IUnknown::IID(), 0x0400, DISPATCH_PROPERTYGET, &None, &V, nullptr, nullptr)))
    return {};
  return V.AsString();
}

HRESULT TEmbeddedWB::Exec(const TGUID* CmdGroup, DWORD CmdID, DWORD, const Variant*, Variant* Out) {
  if (!CmdGroup) return OLECMDERR_E_UNKNOWNGROUP;
  HRESULT Result = OLECMDERR_E_NOTSUPPORTED;
  if (*CmdGroup == CGID_Explorer() && CmdID == SBCMDID_UNLOAD) {
    if (OnUnload.Assigned()) OnUnload(this);
  } else if (*CmdGroup == CGID_DocHostCommandHandler()) {
    if ((CmdID == IDM_REFRESH || CmdID == IDM_REFRESH_TOP || CmdID == IDM_REFRESH_TOP_FULL) && OnRefresh.Assigned()) {
      bool Cancel = false;
      OnRefresh(this, Integer(CmdID), Cancel);
      if (Cancel) Result = S_OK;
    } else if (CmdID == OLECMDID_SHOWSCRIPTERROR && OnScriptError.Assigned()) {
      TIntfPtr<IDispatch> Doc = GetDocument();
      TIntfPtr<IHTMLDocument2> Html;
      if (!Doc || !Supports(Doc.Get(), Html)) return Result;
      IHTMLWindow2* Window = nullptr;
      if (!Succeeded(Html->get_parentWindow(&Window)) || !Window) return Result;
      TIntfPtr<IHTMLWindow2> WindowRef;
      WindowRef.Attach(Window);
      IHTMLEventObj* Event = nullptr;
      if (!Succeeded(Window->get_event(&Event)) || !Event) return Result;
      TIntfPtr<IHTMLEventObj> EventRef;
      EventRef.Attach(Event);
      const AnsiString Line = GetEventProperty(Event, u"errorline");
      const AnsiString Char = GetEventProperty(Event, u"errorCharacter");
      const AnsiString Code = GetEventProperty(Event, u"errorCode");
      const AnsiString Message = GetEventProperty(Event, u"errorMessage");
      const AnsiString Url = GetEventProperty(Event, u"errorUrl");
      bool ContinueScript = true, ShowDialog = true;
      OnScriptError(this, Line, Char, Code, Message, Url, ContinueScript, ShowDialog);
      if (Out) *Out = Variant(ContinueScript);
      if (!ShowDialog) Result = S_OK;
    }
  }
  return Result;
}

// --- window procedures -------------------------------------------------------------------------

void TEmbeddedWB::BrowserWndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_KEYDOWN:
    case CN_KEYUP:
    case CN_CHAR:
    case CN_DEADCHAR: {
      const bool Extended = (Message.LParam & (1 << 24)) != 0;
      const WPARAM Key = Message.WParam;
      if (Key == VK_BACK || Key == VK_RETURN || ((Key == VK_LEFT || Key == VK_RIGHT) && Extended)) break;
      MSG Msg;
      Msg.hwnd = Handle();
      Msg.message = Message.Msg - CN_BASE;
      Msg.wParam = Message.WParam;
      Msg.lParam = Message.LParam;
      Msg.time = DWORD(GetMessageTime());
      Msg.pt = {0x115DE1F1, 0x115DE1F1};
      TIntfPtr<IDispatch> App = GetApplication();
      TIntfPtr<IOleInPlaceActiveObject> Active;
      Message.Result = App && Supports(App.Get(), Active) && Active->TranslateAccelerator(&Msg) == S_OK ? 1 : 0;
      return;
    }
    case WM_CLOSE: {
      bool CanClose = true;
      if (OnCloseQuery.Assigned()) OnCloseQuery(this, CanClose);
      if (!CanClose) return;
      break;
    }
    case WM_DDE_TERMINATE:
      PostMessageA(HWND(Message.WParam), WM_DDE_TERMINATE, WPARAM(Handle()), 0);
      return;
    case WM_DDE_EXECUTE: DdeExecute(Message); return;
    default: break;
  }
  if (FOldWindowProc.Assigned()) FOldWindowProc(Message);
}

void TEmbeddedWB::OwnerWndProc(TMessage& Message) {
  if (Message.Msg == WM_ACTIVATE && LOWORD(Message.WParam) == WA_INACTIVE && Message.LParam) {
    HWND Other = HWND(Message.LParam);
    char Class[64] = "";
    GetClassNameA(Other, Class, sizeof Class);
    if (std::strcmp(Class, "#32770") == 0 && ReplaceCaption) {
      char Buf[512] = "";
      GetWindowTextA(Other, Buf, sizeof Buf);
      AnsiString Caption = Buf;
      if (const std::size_t At = Caption.find("Microsoft "); At != AnsiString::npos) Caption.erase(At, 10);
      if (const std::size_t At = Caption.find("Internet Explorer"); At != AnsiString::npos)
        Caption.replace(At, 17, Application ? Application->GetTitle() : AnsiString());
      SetWindowTextA(Other, Caption.c_str());
    }
    if (OnShowDialog.Assigned()) OnShowDialog(this, Other);
  }
  if (FOldOwnerWindowProc.Assigned()) FOldOwnerWindowProc(Message);
}

void TEmbeddedWB::UtilWndProc(TMessage& Message) {
  if (Message.Msg != WM_DDE_INITIATE || !EnableDDE || FDdeRunning) {
    Message.Result = DefWindowProcA(FUtilWnd, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  HWND Client = HWND(Message.WParam);
  DWORD Pid = 0;
  if (GetWindowThreadProcessId(Client, &Pid) != GetCurrentThreadId() || Pid != DWORD(getpid())) return;
  const ATOM AppAtom = ATOM(LOWORD(Message.LParam)), TopicAtom = ATOM(HIWORD(Message.LParam));
  const AnsiString App = AtomName(AppAtom), Topic = AtomName(TopicAtom);
  if (FDde.HtmlFileApp.empty() && FDde.FolderApp.empty()) return;
  FDdeHtmlFile = !FDde.HtmlFileApp.empty() && SameText(App, FDde.HtmlFileApp);
  const bool Answer = FDdeHtmlFile ? SameText(Topic, FDde.HtmlFileTopic)
                                   : !FDde.FolderApp.empty() && SameText(App, FDde.FolderApp) &&
                                         SameText(Topic, FDde.FolderTopic);
  if (!Answer) return;
  SendMessageA(Client, WM_DDE_ACK, WPARAM(Handle()), MAKELPARAM(GlobalAddAtomA(App.c_str()), GlobalAddAtomA(Topic.c_str())));
}

TEmbeddedWB::TDdeCommand TEmbeddedWB::ParseDdeCommand(const AnsiString& Command) const {
  TDdeCommand C;
  const AnsiString Verb = DdeVerb(Command);
  if (!Verb.empty() && SameText(Verb, FDde.FolderOpenVerb)) C.Kind = 1;
  else if (!Verb.empty() && SameText(Verb, FDde.FolderExploreVerb)) C.Kind = 2;
  else if (!Verb.empty() && SameText(Verb, FDde.FindVerb)) C.Kind = 3;
  const std::size_t Q1 = Command.find('"');
  if (Q1 != AnsiString::npos) {
    const std::size_t Q2 = Command.find('"', Q1 + 1);
    C.Path = Command.substr(Q1 + 1, Q2 == AnsiString::npos ? AnsiString::npos : Q2 - Q1 - 1);
  }
  const std::size_t Comma1 = Command.find(',');
  if (Comma1 != AnsiString::npos) {
    // The list's argument: a handle (with ":process") or an address in the
    // sender's memory. Only a shared block is taken; a bare address is
    // never read, since any program could send one.
    std::size_t I = Comma1 + 1;
    while (I < Command.size() && !(std::isdigit(static_cast<unsigned char>(Command[I])) || Command[I] == '-')) ++I;
    std::size_t J = I;
    while (J < Command.size() && (std::isdigit(static_cast<unsigned char>(Command[J])) || Command[J] == '-' || Command[J] == '+')) ++J;
    const std::size_t NextComma = Command.find(',', J);
    const std::size_t Colon = Command.find(':', J);
    if (J > I && Colon != AnsiString::npos && (NextComma == AnsiString::npos || Colon < NextComma)) {
      try {
        const auto HandleValue = std::stoll(Command.substr(I, J - I));
        const auto ProcessId = std::stoul(Command.substr(Colon + 1));
        HANDLE H = reinterpret_cast<HANDLE>(std::intptr_t(HandleValue));
        if (void* Block = LockSharedBlock(H, DWORD(ProcessId))) {
          C.IdList = CopyIdList(static_cast<PItemIDList>(Block));
          UnlockSharedBlock(Block);
          FreeSharedBlock(H, DWORD(ProcessId));
        }
      } catch (const std::exception&) {
        // Numbers out of range name no block.
      }
    }
    const std::size_t Comma2 = Command.find(',', Comma1 + 1);
    if (Comma2 != AnsiString::npos)
      for (std::size_t K = Comma2 + 1; K < Command.size(); ++K)
        if (std::isdigit(static_cast<unsigned char>(Command[K])) || Command[K] == '-' || Command[K] == '+') {
          C.Show = std::isdigit(static_cast<unsigned char>(Command[K])) ? Command[K] - '0' : 1;
          break;
        }
  }
  return C;
}

void TEmbeddedWB::DdeExecute(TMessage& Message) {
  HWND Client = HWND(Message.WParam);
  HGLOBAL Commands = HGLOBAL(Message.LParam);
  const char* Text = static_cast<const char*>(GlobalLock(Commands));
  WORD Ack = 0;
  if (Text) {
    AnsiString Command(Text, strnlen(Text, GlobalSize(Commands)));
    if (FDdeHtmlFile) {
      if (!Command.empty() && Command[0] == '"') {
        const std::size_t Q2 = Command.find('"', 1);
        Command = Command.substr(1, Q2 == AnsiString::npos ? AnsiString::npos : Q2 - 1);
      }
      NavigatePath(Command);
      Ack = 1;
    } else {
      TDdeCommand C = ParseDdeCommand(Command);
      if (C.Kind == 1) {
        if (!C.Path.empty()) NavigatePath(C.Path);
        else if (C.IdList) NavigateIdList(C.IdList);
      } else if (C.Kind == 2 || C.Kind == 3) {
        FDdeRunning = true;
        if (!C.Path.empty()) ShellExecuteA(nullptr, C.Kind == 2 ? "explore" : "find", C.Path.c_str(), nullptr, nullptr, C.Show);
        FDdeRunning = false;
      }
      if (C.IdList) FreeIdList(C.IdList);
      Ack = C.Kind != 0 ? 1 : 0;
    }
    GlobalUnlock(Commands);
  }
  PostMessageA(Client, WM_DDE_ACK, WPARAM(Handle()), MAKELPARAM(Ack, LOWORD(Message.LParam)));
}

void RegisterEmbeddedWBClasses() { RegisterClasses({TEmbeddedWB::StaticClass()}); }
