// WebBrowser.h — TWebBrowser, the web-browser control as the class
// library wraps it: the control's window shows the page (it is an HTML
// view), Navigate and Navigate2 load local files and "about:blank", and the
// control talks to its host the way the system's browser does.
//
// The host is the control's own site: a descendant answers the host
// interfaces (IDocHostUIHandler(2), IDocHostShowUI, IOleCommandTarget,
// IServiceProvider, IDispatch for ambient properties) by overriding
// GetInterface, and the control asks for them through QueryInterface:
//   - GetHostInfo's flags at each navigation: NO3DBORDER takes the sunken
//     edge away, FLAT_SCROLLBAR asks for flat scroll bars;
//   - the ambient download-control flags (-5512) at each navigation and
//     when the host announces a change (IOleControl, reached through the
//     Application property): DLCTL_DLIMAGES draws pictures. Scripts, Java,
//     ActiveX and downloads never run here whatever the flags say, and the
//     control never shows a message box (it is always silent);
//   - ShowContextMenu before the control's own menu, TranslateAccelerator
//     before its own keys (Ctrl+A, Ctrl+C, F5);
//   - Exec of the explorer group's unload command before a page is left,
//     of the host command group's refresh commands before a reload (S_OK
//     cancels it).
// Like a component, the control does not count references: its owner
// frees it, and interface pointers to it must not outlive it.
//
// Navigation is synchronous: Navigate returns with the page shown and every
// event fired (BeforeNavigate2, DownloadBegin, DownloadComplete,
// NavigateComplete2, TitleChange, DocumentComplete, or NavigateError for a
// page that cannot be shown offline).
#pragma once
#include "platform/browser/BrowserIntf.h"
#include "platform/browser/HtmlView.h"
#include "platform/rtl/Events.h"

class TWebBrowser;

using TWebBrowserBeforeNavigate2 = TEvent<void(TObject* Sender, IDispatch* pDisp, const Variant& URL,
                                               const Variant& Flags, const Variant& TargetFrameName,
                                               const Variant& PostData, const Variant& Headers, bool& Cancel)>;
using TWebBrowserNavigateComplete2 = TEvent<void(TObject* Sender, IDispatch* pDisp, const Variant& URL)>;
using TWebBrowserDocumentComplete = TEvent<void(TObject* Sender, IDispatch* pDisp, const Variant& URL)>;
using TWebBrowserNavigateError = TEvent<void(TObject* Sender, IDispatch* pDisp, const Variant& URL,
                                             const Variant& Frame, const Variant& StatusCode, bool& Cancel)>;
using TWebBrowserTitleChange = TEvent<void(TObject* Sender, const WideString& Text)>;
using TWebBrowserStatusTextChange = TEvent<void(TObject* Sender, const WideString& Text)>;

class TWebBrowser : public THtmlView, public virtual IUnknown {
  SX_CLASS(TWebBrowser, THtmlView)
public:
  explicit TWebBrowser(TComponent* AOwner);
  ~TWebBrowser() override;

  // --- IUnknown: a component's, without counting ---
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override;
  Integer _AddRef() override { return -1; }
  Integer _Release() override { return -1; }

  // Loads a page: "about:blank", a local file name or a file: address.
  // Other addresses are not fetched (the control works offline): they end
  // in NavigateError and an error page.
  void Navigate(const WideString& URL);
  void Navigate(const WideString& URL, const Variant& Flags, const Variant& TargetFrameName,
                const Variant& PostData, const Variant& Headers);
  void Navigate2(const Variant& URL, const Variant* Flags = nullptr, const Variant* TargetFrameName = nullptr,
                 const Variant* PostData = nullptr, const Variant* Headers = nullptr);
  // Loads the current page again (after asking the host).
  void Refresh();
  void Stop() {}

  Integer GetReadyState() const { return FReadyState; }
  bool GetBusy() const { return FReadyState != READYSTATE_COMPLETE && FReadyState != READYSTATE_UNINITIALIZED; }
  WideString GetLocationURL() const { return FLocationURL; }
  WideString GetLocationName() const;
  // The browser object (IOleControl, IOleInPlaceActiveObject, IDispatch);
  // dispatch id 200.
  TIntfPtr<IDispatch> GetApplication() const;
  // The page (IHTMLDocument2); nil before the first navigation. Dispatch
  // id 203.
  TIntfPtr<IDispatch> GetDocument() const;
  // The flags the control works with, as last read from its host.
  DWORD DownloadFlags() const { return FDownloadFlags; }
  DWORD HostFlags() const { return FHostFlags; }

  TWebBrowserBeforeNavigate2 OnBeforeNavigate2;
  TNotifyEvent OnDownloadBegin;
  TNotifyEvent OnDownloadComplete;
  TWebBrowserNavigateComplete2 OnNavigateComplete2;
  TWebBrowserDocumentComplete OnDocumentComplete;
  TWebBrowserNavigateError OnNavigateError;
  TWebBrowserTitleChange OnTitleChange;
  TWebBrowserStatusTextChange OnStatusTextChange;

  static void Published(TPublished<TWebBrowser>& P) {
    P.Property("Align", &TWebBrowser::GetAlign, &TWebBrowser::SetAlign).Default(alNone);
    P.Property("TabOrder", &TWebBrowser::GetTabOrder, &TWebBrowser::SetTabOrder).Default(-1);
    P.Property("TabStop", &TWebBrowser::GetTabStop, &TWebBrowser::SetTabStop).Default(true);
    P.Property("Visible", &TWebBrowser::GetVisible, &TWebBrowser::SetVisible).Default(true);
  }

  // What the control does with the host's answers; public for the host's
  // own tests of its key handling.
  HRESULT TranslateAcceleratorOfControl(const MSG& Msg);
  HRESULT AmbientPropertyChanged(DISPID DispID);

protected:
  // The interfaces the site answers; a host adds its own and then asks
  // the inherited step.
  virtual bool GetInterface(const TGUID& IID, void** Obj);
  // The container's answer to an ambient property the host leaves alone:
  // none is known here.
  HRESULT DefaultAmbientInvoke(DISPID DispID, WORD Flags, Variant* VarResult);

private:
  class TApplicationObject;
  class TDocumentObject;
  template <class I>
  TIntfPtr<I> Host();
  void ReadHostSettings();
  bool LoadUrl(const WideString& URL, bool& Failed);
  void LinkClicked(const std::string& Href);
  bool ContextMenuRequested(TPoint ScreenPos);

  Integer FReadyState = READYSTATE_UNINITIALIZED;
  WideString FLocationURL;
  DWORD FDownloadFlags = DLCTL_DLIMAGES | DLCTL_VIDEOS | DLCTL_BGSOUNDS;
  DWORD FHostFlags = 0;
  TIntfPtr<IDispatch> FApplication;
  TIntfPtr<IDispatch> FDocument;
  bool FNavigating = false;
};

// Registers TWebBrowser for form descriptions.
void RegisterWebBrowserClasses();
