// The browser control: navigation and its events, the host interfaces it
// asks its site for and what their answers change.
#include "BrowserTestSupport.h"
#include "platform/browser/WebBrowser.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/VirtualKeys.h"

namespace {

using browsertest::TBrowserTest;

class TRecorder : public TObject {
public:
  explicit TRecorder(TWebBrowser* B) : Browser(B) {}
  void BeforeNavigate2(TObject*, IDispatch*, const Variant& URL, const Variant&, const Variant&, const Variant&,
                       const Variant&, bool& Cancel) {
    Add("BeforeNavigate2 " + WideToAnsi(URL.AsWideString()));
    Cancel = CancelNext;
  }
  void DownloadBegin(TObject*) { Add("DownloadBegin"); }
  void DownloadComplete(TObject*) { Add("DownloadComplete"); }
  void NavigateComplete2(TObject*, IDispatch*, const Variant&) { Add("NavigateComplete2"); }
  void DocumentComplete(TObject*, IDispatch*, const Variant&) { Add("DocumentComplete"); }
  void NavigateError(TObject*, IDispatch*, const Variant&, const Variant&, const Variant&, bool&) {
    Add("NavigateError");
  }
  void TitleChange(TObject*, const WideString& Text) { Add("TitleChange " + WideToAnsi(Text)); }
  void Add(const std::string& S) {
    Log.push_back(S + " @" + std::to_string(Browser->GetReadyState()));
  }
  void Attach() {
    Browser->OnBeforeNavigate2 = TWebBrowserBeforeNavigate2(this, &TRecorder::BeforeNavigate2);
    Browser->OnDownloadBegin = TNotifyEvent(this, &TRecorder::DownloadBegin);
    Browser->OnDownloadComplete = TNotifyEvent(this, &TRecorder::DownloadComplete);
    Browser->OnNavigateComplete2 = TWebBrowserNavigateComplete2(this, &TRecorder::NavigateComplete2);
    Browser->OnDocumentComplete = TWebBrowserDocumentComplete(this, &TRecorder::DocumentComplete);
    Browser->OnNavigateError = TWebBrowserNavigateError(this, &TRecorder::NavigateError);
    Browser->OnTitleChange = TWebBrowserTitleChange(this, &TRecorder::TitleChange);
  }
  TWebBrowser* Browser;
  std::vector<std::string> Log;
  bool CancelNext = false;
};

// A host answering the UI handler, ambient properties and commands; it
// logs what the control asks.
class TTestHost : public TWebBrowser, public IDocHostUIHandler, public IDispatch, public IOleCommandTarget {
public:
  explicit TTestHost(TComponent* Owner) : TWebBrowser(Owner) {}
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override { return TWebBrowser::QueryInterface(IID, Obj); }
  Integer _AddRef() override { return -1; }
  Integer _Release() override { return -1; }
  std::vector<std::string> Asked;
  DWORD Flags = 0, Download = DLCTL_DLIMAGES;
  HRESULT MenuAnswer = S_OK;

  HRESULT ShowContextMenu(DWORD, const TPoint*, IUnknown*, IDispatch*) override {
    Asked.push_back("ShowContextMenu");
    return MenuAnswer;
  }
  HRESULT GetHostInfo(DOCHOSTUIINFO* Info) override {
    Asked.push_back("GetHostInfo");
    Info->dwFlags = Flags;
    return S_OK;
  }
  HRESULT ShowUI(DWORD, IOleInPlaceActiveObject*, IOleCommandTarget*, IOleInPlaceFrame*, IOleInPlaceUIWindow*) override {
    return S_FALSE;
  }
  HRESULT HideUI() override { return S_FALSE; }
  HRESULT UpdateUI() override { return S_FALSE; }
  HRESULT EnableModeless(BOOL) override { return S_FALSE; }
  HRESULT OnDocWindowActivate(BOOL) override { return S_FALSE; }
  HRESULT OnFrameWindowActivate(BOOL) override { return S_FALSE; }
  HRESULT ResizeBorder(const TRect*, IOleInPlaceUIWindow*, BOOL) override { return S_FALSE; }
  HRESULT TranslateAccelerator(const MSG* Msg, const TGUID*, DWORD) override {
    Asked.push_back("TranslateAccelerator " + std::to_string(Msg->wParam));
    return S_FALSE;
  }
  HRESULT GetOptionKeyPath(char16_t**, DWORD) override { return S_FALSE; }
  HRESULT GetDropTarget(IDropTarget*, IDropTarget** Out) override {
    *Out = nullptr;
    return S_OK;
  }
  HRESULT GetExternal(IDispatch** Out) override {
    *Out = nullptr;
    return S_FALSE;
  }
  HRESULT TranslateUrl(DWORD, const char16_t*, char16_t**) override { return S_FALSE; }
  HRESULT FilterDataObject(IDataObject*, IDataObject** Out) override {
    *Out = nullptr;
    return S_FALSE;
  }
  HRESULT GetTypeInfoCount(UINT* C) override {
    *C = 0;
    return E_NOTIMPL;
  }
  HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** T) override {
    *T = nullptr;
    return E_NOTIMPL;
  }
  HRESULT GetIDsOfNames(const TGUID&, const char16_t* const*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT Invoke(DISPID Id, const TGUID&, LCID, WORD Flags, DISPPARAMS*, Variant* Result, EXCEPINFO*,
                 UINT*) override {
    Asked.push_back("Invoke " + std::to_string(Id));
    if (Id == DISPID_AMBIENT_DLCONTROL && (Flags & DISPATCH_PROPERTYGET) && Result) {
      *Result = Variant(Integer(Download));
      return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
  }
  HRESULT QueryStatus(const TGUID*, ULONG, OLECMD*, OLECMDTEXT*) override { return S_OK; }
  HRESULT Exec(const TGUID* Group, DWORD Cmd, DWORD, const Variant*, Variant*) override {
    Asked.push_back(std::string(Group && *Group == CGID_Explorer() ? "Exec explorer " : "Exec host ") +
                    std::to_string(Cmd));
    return Cmd == IDM_REFRESH ? S_OK : OLECMDERR_E_NOTSUPPORTED;
  }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IDocHostUIHandler>(this, IID, Obj) || OfferInterface<IDispatch>(this, IID, Obj) ||
           OfferInterface<IOleCommandTarget>(this, IID, Obj) || TWebBrowser::GetInterface(IID, Obj);
  }
};

class WebBrowser : public TBrowserTest {
protected:
  template <class T = TWebBrowser>
  T* Make() {
    auto* B = new T(Form.get());
    B->SetParent(Form.get());
    B->SetBounds(0, 0, 600, 440);
    ShowForm();
    return B;
  }
};

TEST_F(WebBrowser, NavigateToALocalFileFiresTheEventsInOrder) {
  auto* B = Make();
  TRecorder R(B);
  R.Attach();
  EXPECT_EQ(B->GetReadyState(), READYSTATE_UNINITIALIZED);
  const std::string Page = Write("tdy.html", "<html><head><title>Preview</title></head><body>Hello</body></html>");
  B->Navigate(AnsiToWide(Page));
  const std::vector<std::string> Want = {
      "BeforeNavigate2 " + Page + " @0", "DownloadBegin @1", "DownloadComplete @1", "NavigateComplete2 @3",
      "TitleChange Preview @3",           "DocumentComplete @4"};
  EXPECT_EQ(R.Log, Want);
  EXPECT_EQ(B->GetReadyState(), READYSTATE_COMPLETE);
  EXPECT_FALSE(B->GetBusy());
  EXPECT_EQ(WideToAnsi(B->GetLocationURL()), Page);
  EXPECT_EQ(WideToAnsi(B->GetLocationName()), "Preview");
  EXPECT_TRUE(B->GetDocument());
  TIntfPtr<IHTMLDocument2> Doc;
  ASSERT_TRUE(Supports(B->GetDocument().Get(), Doc));
  WideString Title;
  Doc->get_title(&Title);
  EXPECT_EQ(WideToAnsi(Title), "Preview");
  // The file: address form and about:blank load too.
  R.Log.clear();
  B->Navigate(u"file://" + AnsiToWide(Page));
  EXPECT_EQ(R.Log.back(), "DocumentComplete @4");
  B->Navigate(u"about:blank");
  EXPECT_EQ(R.Log.back(), "DocumentComplete @4");
  EXPECT_EQ(B->GetTitle(), "");
}

TEST_F(WebBrowser, CancelInBeforeNavigateKeepsThePage) {
  auto* B = Make();
  TRecorder R(B);
  R.Attach();
  B->Navigate(AnsiToWide(Write("a.html", "<title>A</title>a")));
  R.Log.clear();
  R.CancelNext = true;
  B->Navigate(AnsiToWide(Write("b.html", "<title>B</title>b")));
  EXPECT_EQ(R.Log.size(), 1u);
  EXPECT_EQ(B->GetTitle(), "A");
}

TEST_F(WebBrowser, MissingFilesAndRemoteAddressesEndInNavigateError) {
  auto* B = Make();
  TRecorder R(B);
  R.Attach();
  for (const char16_t* Url : {u"/no/such/page.html", u"http://example.invalid/", u"ftp://x/y"}) {
    R.Log.clear();
    B->Navigate(Url);
    ASSERT_GE(R.Log.size(), 4u);
    EXPECT_EQ(R.Log[3], "NavigateError @1");
    EXPECT_EQ(R.Log.back(), "DocumentComplete @4");
    EXPECT_EQ(B->GetTitle(), "The page cannot be displayed");
  }
}

TEST_F(WebBrowser, AsksItsHostAndFollowsTheAnswers) {
  auto* B = Make<TTestHost>();
  B->Flags = DOCHOSTUIFLAG_NO3DBORDER | DOCHOSTUIFLAG_FLAT_SCROLLBAR;
  B->Download = DLCTL_NO_SCRIPTS | DLCTL_SILENT;  // no pictures
  const std::string A = Write("a.html", "a"), Bp = Write("b.html", "b");
  B->Navigate(AnsiToWide(A));
  EXPECT_EQ(B->Asked, (std::vector<std::string>{"GetHostInfo", "Invoke -5512"}));
  EXPECT_FALSE(B->GetBorder());
  EXPECT_TRUE(B->GetFlatScrollBars());
  EXPECT_FALSE(B->GetImagesEnabled());
  EXPECT_EQ(B->DownloadFlags(), DLCTL_NO_SCRIPTS | DLCTL_SILENT);
  // Leaving a page tells the host first.
  B->Asked.clear();
  B->Navigate(AnsiToWide(Bp));
  EXPECT_EQ(B->Asked.front(), "Exec explorer 37");
  // A change announced through the Application object is read at once.
  B->Download = DLCTL_DLIMAGES;
  TIntfPtr<IOleControl> Control;
  ASSERT_TRUE(Supports(B->GetApplication().Get(), Control));
  Control->OnAmbientPropertyChange(DISPID_AMBIENT_DLCONTROL);
  EXPECT_TRUE(B->GetImagesEnabled());
  // Refresh asks the host, whose S_OK cancels it.
  B->Asked.clear();
  B->Refresh();
  EXPECT_EQ(B->Asked, (std::vector<std::string>{"Exec host 2300"}));
}

TEST_F(WebBrowser, ContextMenuAndKeysGoToTheHostFirst) {
  auto* B = Make<TTestHost>();
  B->Navigate(AnsiToWide(Write("a.html", "<p>one two</p>")));
  B->Asked.clear();
  B->Perform(WM_CONTEXTMENU, WPARAM(B->Handle()), MAKELPARAM(20, 20));
  EXPECT_EQ(B->Asked, (std::vector<std::string>{"ShowContextMenu"}));
  // The host's TranslateAccelerator sees a key before the control does;
  // Ctrl+A is then the control's own.
  TIntfPtr<IOleInPlaceActiveObject> Active;
  ASSERT_TRUE(Supports(B->GetApplication().Get(), Active));
  MSG M;
  M.hwnd = B->Handle();
  M.message = WM_KEYDOWN;
  M.wParam = 'A';
  EXPECT_EQ(Active->TranslateAccelerator(&M), S_FALSE);  // no Ctrl: not an accelerator
  Screen().KeyDown(VK_CONTROL);
  Pump();
  B->Asked.clear();
  EXPECT_EQ(Active->TranslateAccelerator(&M), S_OK);
  Screen().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_EQ(B->Asked, (std::vector<std::string>{"TranslateAccelerator 65"}));
  EXPECT_TRUE(B->HasSelection());
}

}  // namespace
