#include "platform/browser/WebBrowser.h"

#include <algorithm>

#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"

namespace {

std::string Utf8(const WideString& W) { return UTF8Encode(W); }

// The local file an address names; '' when it names none (about:, a
// remote address).
std::string LocalFileOf(const std::string& Url) {
  std::string Path = Url;
  if (Path.compare(0, 5, "file:") == 0) {
    Path.erase(0, 5);
    if (Path.compare(0, 2, "//") == 0) {
      Path.erase(0, 2);
      const std::size_t Slash = Path.find('/');
      Path = Slash == std::string::npos ? std::string() : Path.substr(Slash);
    }
    return PercentDecode(Path);
  }
  const std::size_t Colon = Path.find(':');
  // A scheme of two letters or more (http:, about:, mailto:) is not a file.
  if (Colon != std::string::npos && Colon >= 2 &&
      std::all_of(Path.begin(), Path.begin() + std::ptrdiff_t(Colon),
                  [](char C) { return std::isalnum(static_cast<unsigned char>(C)) || C == '+' || C == '-' || C == '.'; }))
    return {};
  std::replace(Path.begin(), Path.end(), '\\', '/');
  return Path;
}

const char* const ErrorPage =
    "<html><head><title>The page cannot be displayed</title></head><body>"
    "<h3>The page cannot be displayed</h3>"
    "<p>The page you are looking for is not available offline or does not exist.</p></body></html>";

}  // namespace

// --- the page object ------------------------------------------------------------------------------

// The page as a host sees it. Nothing on a page runs, so its window never
// has an event being handled.
class TWebBrowser::TDocumentObject : public TInterfacedObject, public IHTMLDocument2, public IHTMLWindow2 {
public:
  explicit TDocumentObject(WideString Title) : FTitle(std::move(Title)) {}
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override { return TInterfacedObject::QueryInterface(IID, Obj); }
  Integer _AddRef() override { return TInterfacedObject::_AddRef(); }
  Integer _Release() override { return TInterfacedObject::_Release(); }
  HRESULT GetTypeInfoCount(UINT* Count) override {
    if (Count) *Count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** TypeInfo) override {
    if (TypeInfo) *TypeInfo = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetIDsOfNames(const TGUID&, const char16_t* const*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, const TGUID&, LCID, WORD, DISPPARAMS*, Variant*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT get_parentWindow(IHTMLWindow2** P) override {
    if (!P) return E_POINTER;
    *P = this;
    _AddRef();
    return S_OK;
  }
  HRESULT get_title(WideString* P) override {
    if (!P) return E_POINTER;
    *P = FTitle;
    return S_OK;
  }
  HRESULT get_event(IHTMLEventObj** P) override {
    if (!P) return E_POINTER;
    *P = nullptr;
    return S_OK;
  }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IHTMLDocument2>(this, IID, Obj) || OfferInterface<IHTMLWindow2>(this, IID, Obj) ||
           OfferInterface<IDispatch>(static_cast<IHTMLDocument2*>(this), IID, Obj) ||
           TInterfacedObject::GetInterface(IID, Obj);
  }

private:
  WideString FTitle;
};

// --- the browser object ---------------------------------------------------------------------------

// What the host reaches through the Application property. It lives as long
// as someone holds it; the control it serves clears the link when it goes.
class TWebBrowser::TApplicationObject : public TInterfacedObject,
                                        public IDispatch,
                                        public IOleControl,
                                        public IOleInPlaceActiveObject {
public:
  explicit TApplicationObject(TWebBrowser* Owner) : FOwner(Owner) {}
  void Detach() { FOwner = nullptr; }
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override { return TInterfacedObject::QueryInterface(IID, Obj); }
  Integer _AddRef() override { return TInterfacedObject::_AddRef(); }
  Integer _Release() override { return TInterfacedObject::_Release(); }
  HRESULT GetTypeInfoCount(UINT* Count) override {
    if (Count) *Count = 0;
    return S_OK;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** TypeInfo) override {
    if (TypeInfo) *TypeInfo = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetIDsOfNames(const TGUID&, const char16_t* const*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT Invoke(DISPID, const TGUID&, LCID, WORD, DISPPARAMS*, Variant*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT OnAmbientPropertyChange(DISPID DispID) override {
    return FOwner ? FOwner->AmbientPropertyChanged(DispID) : E_UNEXPECTED;
  }
  HRESULT FreezeEvents(BOOL) override { return S_OK; }
  HRESULT TranslateAccelerator(const MSG* Msg) override {
    if (!Msg) return E_POINTER;
    return FOwner ? FOwner->TranslateAcceleratorOfControl(*Msg) : S_FALSE;
  }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IDispatch>(this, IID, Obj) || OfferInterface<IOleControl>(this, IID, Obj) ||
           OfferInterface<IOleInPlaceActiveObject>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
  }

private:
  TWebBrowser* FOwner;
};

// --- the control ----------------------------------------------------------------------------------

TWebBrowser::TWebBrowser(TComponent* AOwner) : THtmlView(AOwner) {
  auto* App = new TApplicationObject(this);
  FApplication = TIntfPtr<IDispatch>(static_cast<IDispatch*>(App));
  OnLinkClick = [this](const std::string& Href) { LinkClicked(Href); };
  OnContextMenu = [this](TPoint P) { return ContextMenuRequested(P); };
}

TWebBrowser::~TWebBrowser() {
  if (FApplication) static_cast<TApplicationObject*>(FApplication.Get())->Detach();
}

HRESULT TWebBrowser::QueryInterface(const TGUID& IID, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  return GetInterface(IID, Obj) ? S_OK : E_NOINTERFACE;
}

bool TWebBrowser::GetInterface(const TGUID& IID, void** Obj) {
  if (IID == IUnknown::IID()) {
    *Obj = static_cast<IUnknown*>(this);
    return true;
  }
  return false;
}

template <class I>
TIntfPtr<I> TWebBrowser::Host() {
  void* P = nullptr;
  TIntfPtr<I> R;
  if (QueryInterface(I::IID(), &P) == S_OK && P) R.Attach(static_cast<I*>(P));
  return R;
}

HRESULT TWebBrowser::DefaultAmbientInvoke(DISPID, WORD, Variant*) { return DISP_E_MEMBERNOTFOUND; }

TIntfPtr<IDispatch> TWebBrowser::GetApplication() const { return FApplication; }
TIntfPtr<IDispatch> TWebBrowser::GetDocument() const { return FDocument; }

WideString TWebBrowser::GetLocationName() const {
  const WideString Title = UTF8Decode(GetTitle());
  return Title.empty() ? FLocationURL : Title;
}

void TWebBrowser::ReadHostSettings() {
  if (TIntfPtr<IDocHostUIHandler> Ui = Host<IDocHostUIHandler>()) {
    DOCHOSTUIINFO Info;
    Info.cbSize = 20;
    if (Succeeded(Ui->GetHostInfo(&Info))) FHostFlags = Info.dwFlags;
  }
  if (TIntfPtr<IDispatch> Ambient = Host<IDispatch>()) {
    Variant V;
    DISPPARAMS None;
    if (Ambient->Invoke(DISPID_AMBIENT_DLCONTROL, IUnknown::IID(), 0, DISPATCH_PROPERTYGET, &None, &V, nullptr,
                        nullptr) == S_OK) {
      try {
        FDownloadFlags = DWORD(V.AsInteger());
      } catch (const Exception&) {
        // An answer that is not a number leaves the flags as they were.
      }
    }
  }
  SetBorder((FHostFlags & DOCHOSTUIFLAG_NO3DBORDER) == 0);
  SetFlatScrollBars((FHostFlags & DOCHOSTUIFLAG_FLAT_SCROLLBAR) != 0);
  SetImagesEnabled((FDownloadFlags & DLCTL_DLIMAGES) != 0);
}

HRESULT TWebBrowser::AmbientPropertyChanged(DISPID DispID) {
  if (DispID == DISPID_AMBIENT_DLCONTROL || DispID == -1) ReadHostSettings();
  return S_OK;
}

void TWebBrowser::Navigate(const WideString& URL) { Navigate2(Variant(URL)); }

void TWebBrowser::Navigate(const WideString& URL, const Variant& Flags, const Variant& TargetFrameName,
                           const Variant& PostData, const Variant& Headers) {
  Navigate2(Variant(URL), &Flags, &TargetFrameName, &PostData, &Headers);
}

bool TWebBrowser::LoadUrl(const WideString& URL, bool& Failed) {
  Failed = false;
  const std::string U = Utf8(URL);
  std::string Lower = U;
  for (char& C : Lower) C = char(std::tolower(static_cast<unsigned char>(C)));
  if (Lower.empty() || Lower == "about:blank") {
    LoadHtml("", "");
    return true;
  }
  const std::string File = LocalFileOf(U);
  if (File.empty() || !LoadFromFile(File)) {
    Failed = true;
    return false;
  }
  return true;
}

void TWebBrowser::Navigate2(const Variant& URL, const Variant* Flags, const Variant* TargetFrameName,
                            const Variant* PostData, const Variant* Headers) {
  if (FNavigating) return;  // a handler navigating again waits for this one
  FNavigating = true;
  struct TGuard {
    bool& F;
    ~TGuard() { F = false; }
  } Guard{FNavigating};
  const Variant Empty;
  WideString Address;
  try {
    Address = URL.AsWideString();
  } catch (const Exception&) {
    Address.clear();
  }
  IDispatch* Self = FApplication.Get();
  bool Cancel = false;
  if (OnBeforeNavigate2.Assigned())
    OnBeforeNavigate2(this, Self, Variant(Address), Flags ? *Flags : Empty, TargetFrameName ? *TargetFrameName : Empty,
                      PostData ? *PostData : Empty, Headers ? *Headers : Empty, Cancel);
  if (Cancel) return;
  // The page being left is told first.
  if (FDocument)
    if (TIntfPtr<IOleCommandTarget> Cmd = Host<IOleCommandTarget>())
      Cmd->Exec(&CGID_Explorer(), SBCMDID_UNLOAD, 0, nullptr, nullptr);
  FReadyState = READYSTATE_LOADING;
  if (OnDownloadBegin.Assigned()) OnDownloadBegin(this);
  ReadHostSettings();
  bool Failed = false;
  LoadUrl(Address, Failed);
  if (OnDownloadComplete.Assigned()) OnDownloadComplete(this);
  if (Failed) {
    bool CancelError = false;
    if (OnNavigateError.Assigned())
      OnNavigateError(this, Self, Variant(Address), Empty, Variant(Integer(-2146697211)), CancelError);
    if (CancelError) {
      FReadyState = READYSTATE_COMPLETE;
      return;
    }
    LoadHtml(ErrorPage, "");
  }
  FLocationURL = Address;
  FDocument = TIntfPtr<IDispatch>(static_cast<IHTMLDocument2*>(new TDocumentObject(UTF8Decode(GetTitle()))));
  FReadyState = READYSTATE_INTERACTIVE;
  if (OnNavigateComplete2.Assigned()) OnNavigateComplete2(this, Self, Variant(Address));
  if (OnTitleChange.Assigned()) OnTitleChange(this, GetLocationName());
  FReadyState = READYSTATE_COMPLETE;
  if (OnDocumentComplete.Assigned()) OnDocumentComplete(this, Self, Variant(Address));
}

void TWebBrowser::Refresh() {
  if (FLocationURL.empty()) return;
  if (TIntfPtr<IOleCommandTarget> Cmd = Host<IOleCommandTarget>())
    if (Cmd->Exec(&CGID_DocHostCommandHandler(), IDM_REFRESH, 0, nullptr, nullptr) == S_OK) return;
  const Integer Top = GetScrollTop();
  bool Failed = false;
  LoadUrl(FLocationURL, Failed);
  if (Failed) LoadHtml(ErrorPage, "");
  SetScrollTop(Top);
}

void TWebBrowser::LinkClicked(const std::string& Href) {
  // A click names the next page; the host decides in BeforeNavigate2, and
  // an address that is not a local page ends offline.
  if (Href.empty() || Href[0] == '#') return;
  std::string Target = Href;
  const std::string Here = LocalFileOf(Utf8(FLocationURL));
  if (!LocalFileOf(Target).empty() && LocalFileOf(Target)[0] != '/' && !Here.empty())
    Target = ExtractFilePath(ExpandFileName(Here)) + LocalFileOf(Target);
  Navigate2(Variant(UTF8Decode(Target)));
}

bool TWebBrowser::ContextMenuRequested(TPoint ScreenPos) {
  if (TIntfPtr<IDocHostUIHandler> Ui = Host<IDocHostUIHandler>())
    return Ui->ShowContextMenu(CONTEXT_MENU_DEFAULT, &ScreenPos, nullptr, nullptr) == S_OK;
  return false;
}

HRESULT TWebBrowser::TranslateAcceleratorOfControl(const MSG& Msg) {
  if (TIntfPtr<IDocHostUIHandler> Ui = Host<IDocHostUIHandler>())
    if (Ui->TranslateAccelerator(&Msg, nullptr, 0) == S_OK) return S_OK;
  if (Msg.message != WM_KEYDOWN) return S_FALSE;
  const bool Ctrl = GetKeyState(VK_CONTROL) < 0;
  switch (Msg.wParam) {
    case 'A':
      if (!Ctrl) return S_FALSE;
      SelectAll();
      return S_OK;
    case 'C':
    case VK_INSERT:
      if (!Ctrl) return S_FALSE;
      CopyToClipboard();
      return S_OK;
    case VK_F5:
      Refresh();
      return S_OK;
    default: return S_FALSE;
  }
}

void RegisterWebBrowserClasses() { RegisterClasses({TWebBrowser::StaticClass()}); }
