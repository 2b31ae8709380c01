// The embedded browser host: its defaults and the main window's settings
// (as a form description gives them), the fixed answers of its host
// callbacks, the flags the browser gets from it, commands, keys, the
// user-agent marker and the DDE command parser.
#include "../../platform/browser/BrowserTestSupport.h"
#include "../../support/ScopedEnv.h"
#include <cstring>

#include "app/browser/EmbeddedWB.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Registry.h"
#include "platform/rtl/VirtualKeys.h"

namespace {

const char* const PreviewFormText = R"(object PreviewForm: TPreviewForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  ClientHeight = 400
  ClientWidth = 600
  object EmbeddedWB: TEmbeddedWB
    Left = 0
    Top = 0
    Width = 600
    Height = 400
    DownloadOptions = [DLCTL_DLIMAGES, DLCTL_VIDEOS, DLCTL_BGSOUNDS, DLCTL_NO_SCRIPTS, DLCTL_NO_JAVA, DLCTL_NO_RUNACTIVEXCTLS, DLCTL_NO_DLACTIVEXCTLS, DLCTL_SILENT, DLCTL_OFFLINE]
    UserInterfaceOptions = [NO3DBORDER, FLAT_SCROLLBAR]
    PrintOptions.Margins.Left = 19.050000000000000000
    PrintOptions.Margins.Right = 19.050000000000000000
    PrintOptions.Margins.Top = 19.050000000000000000
    PrintOptions.Margins.Bottom = 19.050000000000000000
    PrintOptions.Header = '&w&bPage &p sur &P'
    PrintOptions.HTMLHeader.Strings = (
      '<HTML></HTML>')
    PrintOptions.Footer = '&u&b&d'
    PrintOptions.Orientation = poPortrait
  end
end
)";

class TPreviewForm : public TForm {
  SX_CLASS(TPreviewForm, TForm)
public:
  explicit TPreviewForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TPreviewForm>& P) {
    P.Property("EmbeddedWB", &TPreviewForm::EmbeddedWB, &TPreviewForm::EmbeddedWB).Stored(false);
  }
  TEmbeddedWB* EmbeddedWB = nullptr;
  std::vector<std::string> Addresses;
  void WBBeforeNavigate2(TObject*, IDispatch*, const Variant& URL, const Variant&, const Variant&, const Variant&,
                         const Variant&, bool& Cancel) {
    Addresses.push_back(WideToAnsi(URL.AsWideString()));
    Cancel = true;
  }
};

class TEvents : public TObject {
public:
  int Unloads = 0;
  std::vector<Integer> Refreshes;
  bool CancelRefresh = false;
  void Unload(TObject*) { ++Unloads; }
  void Refresh(TObject*, Integer Cmd, bool& Cancel) {
    Refreshes.push_back(Cmd);
    Cancel = CancelRefresh;
  }
  HRESULT Menu(DWORD, const TPoint*, IUnknown*, IDispatch*) { return S_OK; }
};

class EmbeddedWB : public browsertest::TBrowserTest {
protected:
  void SetUp() override {
    TBrowserTest::SetUp();
    RegisterFormsClasses();
    RegisterEmbeddedWBClasses();
    RegisterClasses({TPreviewForm::StaticClass()});
    RegisterFormDescription("TPreviewForm", PreviewFormText);
    RegResetStore();
  }
  void TearDown() override {
    Preview.reset();
    UnregisterFormDescription("TPreviewForm");
    TBrowserTest::TearDown();
    RegResetStore();
  }
  TEmbeddedWB* Loaded() {
    Preview = std::make_unique<TPreviewForm>(nullptr);
    Preview->Show();
    Pump();
    return Preview->EmbeddedWB;
  }
  sxtest::TEnvVar Config{"XDG_CONFIG_HOME", (Dir / "config")};
  std::unique_ptr<TPreviewForm> Preview;
};

TEST_F(EmbeddedWB, CreatedWithItsDefaults) {
  auto* W = new TEmbeddedWB(Form.get());
  EXPECT_EQ(W->DownloadFlagWord(), 0x70u);
  EXPECT_EQ(W->HostFlagWord(), 0u);
  EXPECT_TRUE(W->GetFpExceptions());
  EXPECT_FALSE(W->EnableDDE);
  EXPECT_FALSE(W->ReplaceCaption);
  EXPECT_EQ(W->GetPrintOptions()->GetHTMLHeader()->GetText(), "<HTML></HTML>\r\n");
  EXPECT_EQ(W->GetPrintOptions()->GetMargins()->Left, 0.0);
  EXPECT_EQ(W->GetPrintOptions()->Orientation, ewb::poPortrait);
  // Setting [] gives the flag word 0.
  W->SetDownloadOptions({});
  EXPECT_EQ(W->DownloadFlagWord(), 0u);
}

TEST_F(EmbeddedWB, MainWindowSettingsGiveTheBrowserItsFlags) {
  TEmbeddedWB* W = Loaded();
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(W->DownloadFlagWord(), 0xC00007F0u);
  EXPECT_EQ(W->HostFlagWord(), 0x84u);
  EXPECT_EQ(W->GetPrintOptions()->GetMargins()->Bottom, 19.05);
  EXPECT_EQ(W->GetPrintOptions()->Header, "&w&bPage &p sur &P");
  EXPECT_EQ(W->GetPrintOptions()->Footer, "&u&b&d");
  DOCHOSTUIINFO Info;
  EXPECT_EQ(W->GetHostInfo(&Info), S_OK);
  EXPECT_EQ(Info.cbSize, 20u);
  EXPECT_EQ(Info.dwFlags, 0x84u);
  EXPECT_EQ(Info.dwDoubleClick, 0u);
  Variant V;
  DISPPARAMS None;
  EXPECT_EQ(W->Invoke(DISPID_AMBIENT_DLCONTROL, IUnknown::IID(), 0, DISPATCH_PROPERTYGET, &None, &V, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(DWORD(V.AsInteger()), 0xC00007F0u);
  // The browser works with them: no border, flat scroll bars, pictures.
  W->Navigate(AnsiToWide(Write("tdy.html", "<p>x</p>")));
  EXPECT_EQ(W->DownloadFlags(), 0xC00007F0u);
  EXPECT_FALSE(W->GetBorder());
  EXPECT_TRUE(W->GetFlatScrollBars());
  EXPECT_TRUE(W->GetImagesEnabled());
  // A change at run time reaches the browser at once.
  W->SetDownloadOptions({ewb::DLCTL_SILENT});
  EXPECT_EQ(W->DownloadFlags(), 0x40000000u);
  EXPECT_FALSE(W->GetImagesEnabled());
}

TEST_F(EmbeddedWB, UnassignedCallbacksGiveTheirFixedAnswers) {
  auto* W = new TEmbeddedWB(Form.get());
  TPoint Pt{1, 2};
  IDispatch* D = reinterpret_cast<IDispatch*>(1);
  IDropTarget* Drop = reinterpret_cast<IDropTarget*>(1);
  IDataObject* Data = reinterpret_cast<IDataObject*>(1);
  UINT Count = 7;
  ITypeInfo* Type = reinterpret_cast<ITypeInfo*>(1);
  void* Service = reinterpret_cast<void*>(1);
  LRESULT Res = 0;
  MSG M;
  struct TCase {
    const char* What;
    HRESULT Got, Want;
  };
  const TCase Cases[] = {
      {"ShowContextMenu", W->ShowContextMenu(0, &Pt, nullptr, nullptr), S_FALSE},
      {"ShowUI", W->ShowUI(0, nullptr, nullptr, nullptr, nullptr), S_FALSE},
      {"HideUI", W->HideUI(), S_FALSE},
      {"UpdateUI", W->UpdateUI(), S_FALSE},
      {"EnableModeless", W->EnableModeless(TRUE), S_FALSE},
      {"OnDocWindowActivate", W->OnDocWindowActivate(TRUE), S_FALSE},
      {"OnFrameWindowActivate", W->OnFrameWindowActivate(TRUE), S_FALSE},
      {"ResizeBorder", W->ResizeBorder(nullptr, nullptr, TRUE), S_FALSE},
      {"TranslateAccelerator", W->TranslateAccelerator(&M, nullptr, 0), S_FALSE},
      {"GetOptionKeyPath", W->GetOptionKeyPath(nullptr, 0), S_FALSE},
      {"TranslateUrl", W->TranslateUrl(0, u"x", nullptr), S_FALSE},
      {"GetDropTarget", W->GetDropTarget(nullptr, &Drop), S_OK},
      {"GetExternal", W->GetExternal(&D), S_FALSE},
      {"FilterDataObject", W->FilterDataObject(nullptr, &Data), S_FALSE},
      {"GetOverrideKeyPath", W->GetOverrideKeyPath(nullptr, 0), S_OK},
      {"ShowMessage", W->ShowMessage(nullptr, u"t", u"c", 0, nullptr, 0, &Res), S_FALSE},
      {"ShowHelp", W->ShowHelp(nullptr, nullptr, 0, 0, Pt, nullptr), S_FALSE},
      {"GetTypeInfoCount", W->GetTypeInfoCount(&Count), E_NOTIMPL},
      {"GetTypeInfo", W->GetTypeInfo(0, 0, &Type), E_NOTIMPL},
      {"GetIDsOfNames", W->GetIDsOfNames(IUnknown::IID(), nullptr, 0, 0, nullptr), E_NOTIMPL},
      {"QueryService", W->QueryService(IUnknown::IID(), IUnknown::IID(), &Service), E_NOINTERFACE},
      {"QueryStatus", W->QueryStatus(nullptr, 0, nullptr, nullptr), S_OK},
  };
  for (const TCase& C : Cases) EXPECT_EQ(C.Got, C.Want) << C.What;
  // Out references are cleared first, except QueryService's.
  EXPECT_EQ(Drop, nullptr);
  EXPECT_EQ(D, nullptr);
  EXPECT_EQ(Data, nullptr);
  EXPECT_EQ(Count, 0u);
  EXPECT_EQ(Type, nullptr);
  EXPECT_EQ(Service, reinterpret_cast<void*>(1));
  // With a help file, help goes to HTML Help (absent here) and is answered.
  W->HelpFile = "help.chm";
  EXPECT_EQ(W->ShowHelp(nullptr, nullptr, 0, 0, Pt, nullptr), S_OK);
  // The host answers for all of its interfaces.
  for (const TGUID& Iid : {IDocHostUIHandler::IID(), IDocHostUIHandler2::IID(), IDocHostShowUI::IID(),
                           IOleCommandTarget::IID(), IServiceProvider::IID(), IDispatch::IID()}) {
    void* P = nullptr;
    EXPECT_EQ(W->QueryInterface(Iid, &P), S_OK) << GUIDToString(Iid);
  }
}

TEST_F(EmbeddedWB, ExecAnswersUnloadRefreshAndScriptErrors) {
  auto* W = new TEmbeddedWB(Form.get());
  TEvents E;
  EXPECT_EQ(W->Exec(nullptr, 1, 0, nullptr, nullptr), OLECMDERR_E_UNKNOWNGROUP);
  EXPECT_EQ(W->Exec(&CGID_Explorer(), SBCMDID_UNLOAD, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);
  W->OnUnload = TNotifyEvent(&E, &TEvents::Unload);
  EXPECT_EQ(W->Exec(&CGID_Explorer(), SBCMDID_UNLOAD, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);
  EXPECT_EQ(E.Unloads, 1);
  // Leaving a page fires it through the browser.
  W->SetParent(Form.get());
  W->Navigate(AnsiToWide(Write("a.html", "a")));
  W->Navigate(AnsiToWide(Write("b.html", "b")));
  EXPECT_EQ(E.Unloads, 2);
  W->OnRefresh = TRefreshEvent(&E, &TEvents::Refresh);
  EXPECT_EQ(W->Exec(&CGID_DocHostCommandHandler(), IDM_REFRESH, 0, nullptr, nullptr), OLECMDERR_E_NOTSUPPORTED);
  E.CancelRefresh = true;
  EXPECT_EQ(W->Exec(&CGID_DocHostCommandHandler(), IDM_REFRESH_TOP_FULL, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(E.Refreshes, (std::vector<Integer>{2300, 6042}));
  // F5 asks the host first, whose cancel keeps the page.
  W->Refresh();
  EXPECT_EQ(E.Refreshes.size(), 3u);
  // No script ever runs, so there is no event object behind an error.
  EXPECT_EQ(W->Exec(&CGID_DocHostCommandHandler(), OLECMDID_SHOWSCRIPTERROR, 0, nullptr, nullptr),
            OLECMDERR_E_NOTSUPPORTED);
}

TEST_F(EmbeddedWB, ALinkClickReachesTheHost) {
  TEmbeddedWB* W = Loaded();
  W->OnBeforeNavigate2 = TWebBrowserBeforeNavigate2(Preview.get(), &TPreviewForm::WBBeforeNavigate2);
  const std::string Page = Write("tdy.html", "<body style=\"margin:0\"><a href=\"other.html\">Follow</a></body>");
  Preview->Addresses.clear();
  // The first navigation is let through, the link's is stopped.
  W->OnBeforeNavigate2 = {};
  W->Navigate(AnsiToWide(Page));
  W->OnBeforeNavigate2 = TWebBrowserBeforeNavigate2(Preview.get(), &TPreviewForm::WBBeforeNavigate2);
  W->Repaint();
  Pump();
  const TRect Link = W->WordBounds("Follow");
  ASSERT_FALSE(Link.IsEmpty());
  const TPoint At = W->ClientToScreen(TPoint{Link.Left + 3, (Link.Top + Link.Bottom) / 2});
  Screen().Click(At.X, At.Y);
  Pump();
  ASSERT_EQ(Preview->Addresses.size(), 1u);
  EXPECT_EQ(Preview->Addresses[0], Dir / "other.html");
  EXPECT_EQ(W->GetTitle(), "");  // still the first page
}

TEST_F(EmbeddedWB, KeysPassThroughTheBrowsersAcceleratorsExceptEnterAndBackspace) {
  TEmbeddedWB* W = Loaded();
  W->Navigate(AnsiToWide(Write("tdy.html", "<p>some text</p>")));
  W->SetFocus();
  Pump();
  // Enter reaches the page's normal key handling: not translated.
  EXPECT_EQ(W->Perform(CN_KEYDOWN, VK_RETURN, 0), 0);
  EXPECT_EQ(W->Perform(CN_KEYDOWN, VK_BACK, 0), 0);
  EXPECT_FALSE(W->HasSelection());
  // Ctrl+A is the browser's accelerator.
  Screen().KeyDown(VK_CONTROL);
  Pump();
  EXPECT_EQ(W->Perform(CN_KEYDOWN, 'A', 0), 1);
  Screen().KeyUp(VK_CONTROL);
  Pump();
  EXPECT_TRUE(W->HasSelection());
  // A plain letter is no accelerator.
  EXPECT_EQ(W->Perform(CN_KEYDOWN, 'Q', 0), 0);
}

TEST_F(EmbeddedWB, UserAgentMarkerLivesAsLongAsTheComponent) {
  const AnsiString Key = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\User Agent\\Post Platform";
  auto HasMarker = [&] {
    TRegistry R;
    return R.OpenKeyReadOnly(Key) && R.ValueExists("");
  };
  EXPECT_FALSE(HasMarker());
  Loaded();
  EXPECT_TRUE(HasMarker());
  Preview.reset();
  EXPECT_FALSE(HasMarker());
}

TEST_F(EmbeddedWB, DdeCommandsAreParsedWithoutReadingForeignAddresses) {
  auto* W = new TEmbeddedWB(Form.get());
  // No shell DDE names on this system: no verb is known.
  EXPECT_TRUE(W->ShellDdeNames().FolderApp.empty());
  struct TCase {
    const char* Command;
    const char* Path;
    Integer Show;
  };
  const TCase Cases[] = {
      {"[ViewFolder(\"/home/a b\", 12345678, 3)]", "/home/a b", 3},
      {"[ViewFolder(\"/x\", :99:1234,5)]", "/x", 5},
      {"[ViewFolder(\"/x\")]", "/x", 1},
      {"[Find(\"\", 0x10, -)]", "", 1},
      {"garbage", "", 1},
      {"[ViewFolder(\"unclosed", "unclosed", 1},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Command);
    const auto R = W->ParseDdeCommand(C.Command);
    EXPECT_EQ(R.Kind, 0);
    EXPECT_EQ(R.Path, C.Path);
    EXPECT_EQ(R.Show, C.Show);
    // An address in another program's memory is never followed.
    EXPECT_EQ(R.IdList, nullptr);
  }
  // The DDE server is off, and even on, nothing initiates without names.
  W->EnableDDE = true;
  EXPECT_EQ(SendMessageA(W->UtilWindow(), WM_DDE_INITIATE, WPARAM(Form->Handle()), 0), 0);
}

TEST_F(EmbeddedWB, ItemIdListHelpers) {
  // Two items of 5 and 3 bytes, then the terminator.
  Byte List[] = {5, 0, 'a', 'b', 'c', 3, 0, 'd', 0, 0};
  auto* L = reinterpret_cast<PItemIDList>(List);
  EXPECT_EQ(GetIdListSize(L), 10u);
  EXPECT_EQ(GetIdListSize(nullptr), 0u);
  EXPECT_EQ(reinterpret_cast<Byte*>(NextIdItem(L)), List + 5);
  PItemIDList Copy = CopyIdList(L);
  ASSERT_NE(Copy, nullptr);
  EXPECT_EQ(std::memcmp(Copy, List, 10), 0);
  FreeIdList(Copy);
  // The system's helpers are absent and answer so.
  EXPECT_EQ(LockSharedBlock(nullptr, 1), nullptr);
  EXPECT_EQ(CallHtmlHelp(nullptr, "x.chm", 0, 0), nullptr);
}

}  // namespace
