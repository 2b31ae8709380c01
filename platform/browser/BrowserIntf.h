// BrowserIntf.h — the interfaces between the web-browser control and its
// host, with the published identifiers and constants of that seam: late-
// bound calls (IDispatch), commands (IOleCommandTarget), services
// (IServiceProvider), the host's UI callbacks (IDocHostUIHandler(2),
// IDocHostShowUI), the control side the host calls (IOleControl,
// IOleInPlaceActiveObject) and the page objects a host may ask for
// (IHTMLDocument2, IHTMLWindow2, IHTMLEventObj).
//
// Only the members this system's host and control use are declared; the
// value of each identifier is the published one. Arguments follow the
// platform's own types: wide strings are char16_t, variants the class
// library's Variant.
#pragma once
#include "platform/gdi/GdiTypes.h"
#include "platform/ole/OleApi.h"
#include "platform/rtl/Interfaces.h"
#include "platform/rtl/Variants.h"
#include "platform/win/WinTypes.h"

using DISPID = Integer;
using LCID = DWORD;

constexpr WORD DISPATCH_METHOD = 1;
constexpr WORD DISPATCH_PROPERTYGET = 2;
constexpr WORD DISPATCH_PROPERTYPUT = 4;

constexpr HRESULT DISP_E_MEMBERNOTFOUND = HRESULT(0x80020003u);
constexpr HRESULT DISP_E_UNKNOWNNAME = HRESULT(0x80020006u);
constexpr HRESULT OLECMDERR_E_NOTSUPPORTED = HRESULT(0x80040100u);
constexpr HRESULT OLECMDERR_E_UNKNOWNGROUP = HRESULT(0x80040104u);

// Ambient property: the download-control flags the host wants.
constexpr DISPID DISPID_AMBIENT_DLCONTROL = -5512;
// Properties of the browser control.
constexpr DISPID DISPID_APPLICATION = 200;
constexpr DISPID DISPID_DOCUMENT = 203;

// Download-control flags (the ambient property's value).
constexpr DWORD DLCTL_DLIMAGES = 0x10;
constexpr DWORD DLCTL_VIDEOS = 0x20;
constexpr DWORD DLCTL_BGSOUNDS = 0x40;
constexpr DWORD DLCTL_NO_SCRIPTS = 0x80;
constexpr DWORD DLCTL_NO_JAVA = 0x100;
constexpr DWORD DLCTL_NO_RUNACTIVEXCTLS = 0x200;
constexpr DWORD DLCTL_NO_DLACTIVEXCTLS = 0x400;
constexpr DWORD DLCTL_DOWNLOADONLY = 0x800;
constexpr DWORD DLCTL_NO_FRAMEDOWNLOAD = 0x1000;
constexpr DWORD DLCTL_RESYNCHRONIZE = 0x2000;
constexpr DWORD DLCTL_PRAGMA_NO_CACHE = 0x4000;
constexpr DWORD DLCTL_NO_BEHAVIORS = 0x8000;
constexpr DWORD DLCTL_NO_METACHARSET = 0x10000;
constexpr DWORD DLCTL_URL_ENCODING_DISABLE_UTF8 = 0x20000;
constexpr DWORD DLCTL_URL_ENCODING_ENABLE_UTF8 = 0x40000;
constexpr DWORD DLCTL_FORCEOFFLINE = 0x10000000;
constexpr DWORD DLCTL_NO_CLIENTPULL = 0x20000000;
constexpr DWORD DLCTL_SILENT = 0x40000000;
constexpr DWORD DLCTL_OFFLINE = 0x80000000;

// Host flags (DOCHOSTUIINFO.dwFlags).
constexpr DWORD DOCHOSTUIFLAG_DIALOG = 0x1;
constexpr DWORD DOCHOSTUIFLAG_DISABLE_HELP_MENU = 0x2;
constexpr DWORD DOCHOSTUIFLAG_NO3DBORDER = 0x4;
constexpr DWORD DOCHOSTUIFLAG_SCROLL_NO = 0x8;
constexpr DWORD DOCHOSTUIFLAG_DISABLE_SCRIPT_INACTIVE = 0x10;
constexpr DWORD DOCHOSTUIFLAG_OPENNEWWIN = 0x20;
constexpr DWORD DOCHOSTUIFLAG_DISABLE_OFFSCREEN = 0x40;
constexpr DWORD DOCHOSTUIFLAG_FLAT_SCROLLBAR = 0x80;
constexpr DWORD DOCHOSTUIFLAG_DIV_BLOCKDEFAULT = 0x100;
constexpr DWORD DOCHOSTUIFLAG_ACTIVATE_CLIENTHIT_ONLY = 0x200;
constexpr DWORD DOCHOSTUIFLAG_OVERRIDEBEHAVIORFACTORY = 0x400;
constexpr DWORD DOCHOSTUIFLAG_CODEPAGELINKEDFONTS = 0x800;
constexpr DWORD DOCHOSTUIFLAG_URL_ENCODING_DISABLE_UTF8 = 0x1000;
constexpr DWORD DOCHOSTUIFLAG_URL_ENCODING_ENABLE_UTF8 = 0x2000;
constexpr DWORD DOCHOSTUIFLAG_ENABLE_FORMS_AUTOCOMPLETE = 0x4000;
constexpr DWORD DOCHOSTUIFLAG_ENABLE_INPLACE_NAVIGATION = 0x10000;
constexpr DWORD DOCHOSTUIFLAG_IME_ENABLE_RECONVERSION = 0x20000;

// Context menu kinds of ShowContextMenu.
constexpr DWORD CONTEXT_MENU_DEFAULT = 0;

// Ready states.
constexpr Integer READYSTATE_UNINITIALIZED = 0;
constexpr Integer READYSTATE_LOADING = 1;
constexpr Integer READYSTATE_LOADED = 2;
constexpr Integer READYSTATE_INTERACTIVE = 3;
constexpr Integer READYSTATE_COMPLETE = 4;

// Command groups the control sends to its host's command target.
inline const TGUID& CGID_DocHostCommandHandler() {
  static const TGUID G = StringToGUID("{F38BC242-B950-11D1-8918-00C04FC2C836}");
  return G;
}
inline const TGUID& CGID_Explorer() {
  static const TGUID G = StringToGUID("{000214D0-0000-0000-C000-000000000046}");
  return G;
}
// Commands of those groups.
constexpr DWORD IDM_REFRESH = 2300;
constexpr DWORD IDM_REFRESH_TOP = 6041;
constexpr DWORD IDM_REFRESH_TOP_FULL = 6042;
constexpr DWORD OLECMDID_SHOWSCRIPTERROR = 40;
constexpr DWORD SBCMDID_UNLOAD = 37;  // the page is about to be left

struct EXCEPINFO {
  WORD wCode = 0;
  WideString Source, Description, HelpFile;
  DWORD HelpContext = 0;
  HRESULT scode = 0;
};

struct DISPPARAMS {
  Variant* rgvarg = nullptr;  // arguments, last first
  DISPID* rgdispidNamedArgs = nullptr;
  UINT cArgs = 0;
  UINT cNamedArgs = 0;
};

class ITypeInfo : public virtual IUnknown {
public:
  SX_INTERFACE_ID(ITypeInfo, "{00020401-0000-0000-C000-000000000046}")
};

class IDispatch : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IDispatch, "{00020400-0000-0000-C000-000000000046}")
  virtual HRESULT GetTypeInfoCount(UINT* Count) = 0;
  virtual HRESULT GetTypeInfo(UINT Index, LCID LocaleID, ITypeInfo** TypeInfo) = 0;
  virtual HRESULT GetIDsOfNames(const TGUID& IID, const char16_t* const* Names, UINT NameCount, LCID LocaleID,
                                DISPID* DispIDs) = 0;
  virtual HRESULT Invoke(DISPID DispID, const TGUID& IID, LCID LocaleID, WORD Flags, DISPPARAMS* Params,
                         Variant* VarResult, EXCEPINFO* ExcepInfo, UINT* ArgErr) = 0;
};

struct OLECMD {
  ULONG cmdID = 0;
  DWORD cmdf = 0;
};
struct OLECMDTEXT;

class IOleCommandTarget : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IOleCommandTarget, "{B722BCCB-4E68-101B-A2BC-00AA00404770}")
  virtual HRESULT QueryStatus(const TGUID* CmdGroup, ULONG Count, OLECMD* Cmds, OLECMDTEXT* Text) = 0;
  virtual HRESULT Exec(const TGUID* CmdGroup, DWORD CmdID, DWORD CmdExecOpt, const Variant* In, Variant* Out) = 0;
};

class IServiceProvider : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IServiceProvider, "{6D5140C1-7436-11CE-8034-00AA006009FA}")
  virtual HRESULT QueryService(const TGUID& Service, const TGUID& IID, void** Obj) = 0;
};

struct DOCHOSTUIINFO {
  ULONG cbSize = 0;
  DWORD dwFlags = 0;
  DWORD dwDoubleClick = 0;
  char16_t* pchHostCss = nullptr;
  char16_t* pchHostNS = nullptr;
};

class IOleInPlaceActiveObject;
class IOleInPlaceFrame;
class IOleInPlaceUIWindow;

class IDocHostUIHandler : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IDocHostUIHandler, "{BD3F23C0-D43E-11CF-893B-00AA00BDCE1A}")
  virtual HRESULT ShowContextMenu(DWORD dwID, const TPoint* ppt, IUnknown* pcmdtReserved,
                                  IDispatch* pdispReserved) = 0;
  virtual HRESULT GetHostInfo(DOCHOSTUIINFO* pInfo) = 0;
  virtual HRESULT ShowUI(DWORD dwID, IOleInPlaceActiveObject* pActiveObject, IOleCommandTarget* pCommandTarget,
                         IOleInPlaceFrame* pFrame, IOleInPlaceUIWindow* pDoc) = 0;
  virtual HRESULT HideUI() = 0;
  virtual HRESULT UpdateUI() = 0;
  virtual HRESULT EnableModeless(BOOL fEnable) = 0;
  virtual HRESULT OnDocWindowActivate(BOOL fActivate) = 0;
  virtual HRESULT OnFrameWindowActivate(BOOL fActivate) = 0;
  virtual HRESULT ResizeBorder(const TRect* prcBorder, IOleInPlaceUIWindow* pUIWindow, BOOL fRameWindow) = 0;
  virtual HRESULT TranslateAccelerator(const MSG* lpMsg, const TGUID* pguidCmdGroup, DWORD nCmdID) = 0;
  virtual HRESULT GetOptionKeyPath(char16_t** pchKey, DWORD dw) = 0;
  virtual HRESULT GetDropTarget(IDropTarget* pDropTarget, IDropTarget** ppDropTarget) = 0;
  virtual HRESULT GetExternal(IDispatch** ppDispatch) = 0;
  virtual HRESULT TranslateUrl(DWORD dwTranslate, const char16_t* pchURLIn, char16_t** ppchURLOut) = 0;
  virtual HRESULT FilterDataObject(IDataObject* pDO, IDataObject** ppDORet) = 0;
};

class IDocHostUIHandler2 : public IDocHostUIHandler {
public:
  SX_INTERFACE_ID(IDocHostUIHandler2, "{3050F6D0-98B5-11CF-BB82-00AA00BDCE0B}")
  virtual HRESULT GetOverrideKeyPath(char16_t** pchKey, DWORD dw) = 0;
};

class IDocHostShowUI : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IDocHostShowUI, "{C4D244B0-D43E-11CF-893B-00AA00BDCE1A}")
  virtual HRESULT ShowMessage(HWND hwnd, const char16_t* lpstrText, const char16_t* lpstrCaption, DWORD dwType,
                              const char16_t* lpstrHelpFile, DWORD dwHelpContext, LRESULT* plResult) = 0;
  virtual HRESULT ShowHelp(HWND hwnd, const char16_t* pszHelpFile, UINT uCommand, DWORD dwData, TPoint ptMouse,
                           IDispatch* pDispatchObjectHit) = 0;
};

class IOleControl : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IOleControl, "{B196B288-BAB4-101A-B69C-00AA00341D07}")
  virtual HRESULT OnAmbientPropertyChange(DISPID DispID) = 0;
  virtual HRESULT FreezeEvents(BOOL bFreeze) = 0;
};

class IOleInPlaceActiveObject : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IOleInPlaceActiveObject, "{00000117-0000-0000-C000-000000000046}")
  // S_OK when the control used the key as one of its accelerators.
  virtual HRESULT TranslateAccelerator(const MSG* lpmsg) = 0;
};

class IHTMLEventObj : public virtual IDispatch {
public:
  SX_INTERFACE_ID(IHTMLEventObj, "{3050F32D-98B5-11CF-BB82-00AA00BDCE0B}")
};

class IHTMLWindow2 : public virtual IDispatch {
public:
  SX_INTERFACE_ID(IHTMLWindow2, "{332C4427-26CB-11D0-B483-00C04FD90119}")
  // The event being handled by a script; nil when none is.
  virtual HRESULT get_event(IHTMLEventObj** p) = 0;
};

class IHTMLDocument2 : public virtual IDispatch {
public:
  SX_INTERFACE_ID(IHTMLDocument2, "{332C4425-26CB-11D0-B483-00C04FD90119}")
  virtual HRESULT get_parentWindow(IHTMLWindow2** p) = 0;
  virtual HRESULT get_title(WideString* p) = 0;
};
