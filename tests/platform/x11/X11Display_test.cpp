// The X11 display under a real X server (Xvfb, with openbox and trayer):
// forms show as X windows with the pixels the headless display paints,
// XTest input arrives as the layer's messages, and the clipboard, hot keys,
// the tray and drops meet other programs through the desktop's protocols.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <unistd.h>

#include "X11Fixture.h"
#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/IconApi.h"
#include "platform/ole/DataObject.h"
#include "platform/ole/DragDrop.h"
#include "platform/ole/DropFormats.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Clipboard.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/HotKeys.h"
#include "platform/win/Win.h"
#include "platform/win/x11/X11Display.h"
#include "platform/win/x11/X11Transfer_p.h"
#include "support/TestFiles.h"

// Xlib's Display and Screen types would hide the layer's Display() and the
// forms' Screen; its KeyPress constant would hide the controls' KeyPress.
#define Display XDisplay
#define Screen XScreen
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>
#undef Display
#undef KeyPress
#include "X11DndSource.h"

namespace {
// A control that paints a frame of known colours and logs what a user does.
class TBox : public TCustomControl {
  SX_CLASS(TBox, TCustomControl)
public:
  explicit TBox(TComponent* AOwner) : TCustomControl(AOwner) { FTabStop = true; }
  TColor Fill = clRed;
  std::string Typed;
  int Downs = 0;
  TPoint LastDown;

protected:
  void Paint() override {
    TRect R = GetClientRect();
    Canvas()->Brush()->SetColor(clNavy);
    Canvas()->FillRect(R);
    Canvas()->Brush()->SetColor(Fill);
    Canvas()->FillRect({R.Left + 4, R.Top + 4, R.Right - 4, R.Bottom - 4});
  }
  void KeyPress(char& Key) override {
    Typed += Key;
    inherited::KeyPress(Key);
  }
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override {
    ++Downs;
    LastDown = {X, Y};
    SetFocus();
    inherited::MouseDown(Button, Shift, X, Y);
  }
};

// Messages that reach a plain window, for hot keys, the tray and drops.
struct TLog {
  std::vector<MSG> Seen;
  bool Has(UINT Msg) const {
    for (auto& M : Seen)
      if (M.message == Msg) return true;
    return false;
  }
  const MSG* Find(UINT Msg) const {
    for (auto& M : Seen)
      if (M.message == Msg) return &M;
    return nullptr;
  }
};
TLog* Log = nullptr;

LRESULT LogProc(HWND H, UINT Msg, WPARAM W, LPARAM L) {
  if (Log && (Msg == WM_HOTKEY || Msg == WM_DROPFILES || Msg >= WM_APP)) {
    MSG M{};
    M.hwnd = H;
    M.message = Msg;
    M.wParam = W;
    M.lParam = L;
    Log->Seen.push_back(M);
    return 0;
  }
  return DefWindowProcA(H, Msg, W, L);
}

class X11Test : public TX11Fixture {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    if (!OpenDisplay()) GTEST_SKIP() << "no Xvfb on this machine";
    App = std::make_unique<TApplication>(nullptr);
    Log = &Messages;
  }
  void TearDown() override {
    Log = nullptr;
    CloseDisplay();
  }

  TForm* MakeForm(TBox*& Box) {
    auto* F = new TForm(App.get());
    F->SetBounds(120, 100, 320, 220);
    F->SetCaption("X11 form");
    Box = new TBox(F);
    Box->SetBounds(20, 30, 120, 80);
    Box->SetParent(F);
    return F;
  }

  // Where a form's client area is on the server.
  TRect ClientOnServer(TForm* F) {
    Window Child;
    int Rx = 0, Ry = 0;
    Window W = X->XWindowOf(F->Handle());
    XTranslateCoordinates(Session->Dpy(), W, DefaultRootWindow(Session->Dpy()), 0, 0, &Rx, &Ry, &Child);
    XWindowAttributes A;
    XGetWindowAttributes(Session->Dpy(), W, &A);
    return {Rx, Ry, Rx + A.width, Ry + A.height};
  }

  HWND MakePlainWindow(DWORD ExStyle = 0, DWORD Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE, TRect R = {200, 150, 500, 350},
                       HWND Owner = nullptr) {
    WNDCLASSA C{};
    C.lpfnWndProc = LogProc;
    C.lpszClassName = "X11TestLog";
    RegisterClassA(&C);
    return CreateWindowExA(ExStyle, "X11TestLog", "Log", Style, R.Left, R.Top, R.Width(), R.Height(), Owner,
                           nullptr, nullptr, nullptr);
  }
  // Starts over on a fresh display (null: headless).
  void Restart(bool OnX11) {
    App.reset();
    ResetWindowSystem();
    SetDisplay(nullptr);
    X = nullptr;
    if (OnX11) {
      auto D = TX11Display::Open(Session->Name().c_str());
      X = D.get();
      SetDisplay(std::move(D));
    }
    App = std::make_unique<TApplication>(nullptr);
  }

  // Runs xclip -i; returns once it holds the clipboard (it claims it after
  // it has gone to the background).
  void XclipIn(const std::string& Args) {
    Atom Clip = XInternAtom(Session->Dpy(), "CLIPBOARD", False);
    Window Before = XGetSelectionOwner(Session->Dpy(), Clip);
    ASSERT_EQ(sxtest::RunStatus(Session->Command("xclip -i -selection clipboard " + Args), 20), 0);
    for (int T = 0; T < 100 && XGetSelectionOwner(Session->Dpy(), Clip) == Before; ++T) usleep(20000);
  }

  TLog Messages;
};

// A 16x16 icon: a red square on a transparent ground.
HICON MakeRedIcon() {
  HDC Screen = GetDC(nullptr);
  HBITMAP Colour = CreateCompatibleBitmap(Screen, 16, 16);
  HBITMAP Mask = CreateBitmap(16, 16, 1, 1, nullptr);
  HDC M = CreateCompatibleDC(Screen);
  HGDIOBJ Old = SelectObject(M, Colour);
  TRect All{0, 0, 16, 16}, Inner{3, 3, 13, 13};
  HBRUSH Black = CreateSolidBrush(0), Red = CreateSolidBrush(RGB(255, 0, 0)), White = CreateSolidBrush(RGB(255, 255, 255));
  FillRect(M, &All, Black);
  FillRect(M, &Inner, Red);
  SelectObject(M, Mask);
  FillRect(M, &All, White);
  FillRect(M, &Inner, Black);
  SelectObject(M, Old);
  DeleteDC(M);
  ReleaseDC(nullptr, Screen);
  ICONINFO Info;
  Info.hbmColor = Colour;
  Info.hbmMask = Mask;
  HICON Icon = CreateIconIndirect(&Info);
  DeleteObject(Colour);
  DeleteObject(Mask);
  for (HBRUSH B : {Black, Red, White}) DeleteObject(B);
  return Icon;
}

std::uint32_t Rgb(TColor C) {
  COLORREF R = ColorToRGB(C);
  return (std::uint32_t(GetRValue(R)) << 16) | (std::uint32_t(GetGValue(R)) << 8) | GetBValue(R);
}
}  // namespace

TEST_F(X11Test, FormShowsTheHeadlessPixelsOnTheServer) {
  // The same form painted headless first: its pixels are the reference.
  Restart(false);
  TBox* Box = nullptr;
  TForm* F = MakeForm(Box);
  F->Show();
  HeadlessDisplay().ProcessMessages();
  struct TProbe {
    TPoint At;  // client coordinates of the form
    const char* What;
  };
  const TProbe Probes[] = {
      {{5, 5}, "form background"},       {{22, 32}, "the box's frame"}, {{60, 60}, "the box's fill"},
      {{139, 109}, "the box's far corner"}, {{250, 150}, "form background far off"},
  };
  std::vector<std::uint32_t> Want;
  TPoint Org = F->ClientToScreen({0, 0});
  TRect Wr;
  GetWindowRect(F->Handle(), &Wr);
  for (auto& P : Probes) {
    COLORREF C = HeadlessDisplay().WindowPixel(F->Handle(), Org.X - Wr.Left + P.At.X, Org.Y - Wr.Top + P.At.Y);
    Want.push_back((std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C));
  }
  EXPECT_EQ(Want[2], Rgb(clRed));
  Restart(true);
  ASSERT_TRUE(X);
  F = MakeForm(Box);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(F->Handle())); }));
  Settle();
  Window W = X->XWindowOf(F->Handle());
  TRect C = F->GetClientRect();
  auto Px = Session->Grab(W, 0, 0, C.Width(), C.Height());
  ASSERT_EQ(Px.size(), std::size_t(C.Width() * C.Height()));
  for (std::size_t I = 0; I < std::size(Probes); ++I) {
    SCOPED_TRACE(Probes[I].What);
    EXPECT_EQ(Px[std::size_t(Probes[I].At.Y * C.Width() + Probes[I].At.X)], Want[I]);
  }
  WritePng("x11-form.png", C.Width(), C.Height(), Px.data());

  // The manager placed the client area where the layer thinks it is.
  TRect OnServer = ClientOnServer(F);
  EXPECT_EQ(OnServer.TopLeft(), F->ClientToScreen({0, 0}));
  // The title reached the manager as UTF-8.
  Atom Type;
  int Format;
  unsigned long N = 0, After;
  unsigned char* Data = nullptr;
  XGetWindowProperty(Session->Dpy(), W, XInternAtom(Session->Dpy(), "_NET_WM_NAME", False), 0, 100, False,
                     AnyPropertyType, &Type, &Format, &N, &After, &Data);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Data), N), "X11 form");
  if (Data) XFree(Data);
}

TEST_F(X11Test, TypedTextAndClicksArriveThroughXTest) {
  TBox* Box = nullptr;
  TForm* F = MakeForm(Box);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(F->Handle())); }));
  Settle();
  TPoint P = Box->ClientToScreen({30, 20});
  Session->Click(P.X, P.Y);
  ASSERT_TRUE(PumpUntil([&] { return Box->Downs > 0; }));
  EXPECT_EQ(Box->LastDown, TPoint(30, 20)) << "client coordinates of the box";
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Box->Handle(); }));
  Session->Type("Hello, X!");
  ASSERT_TRUE(PumpUntil([&] { return Box->Typed.size() >= 9; }));
  EXPECT_EQ(Box->Typed, "Hello, X!");
  // Keys that type nothing send no character; Return types a carriage return.
  Session->Tap(XK_Left);
  Session->Tap(XK_Delete);
  Session->Tap(XK_Return);
  ASSERT_TRUE(PumpUntil([&] { return Box->Typed.size() >= 10; }));
  EXPECT_EQ(Box->Typed, "Hello, X!\r");
  // Caps Lock: its state follows the keyboard's, and letters come capital.
  Session->Tap(XK_Caps_Lock);
  Session->Type("ab");
  Session->Tap(XK_Caps_Lock);
  ASSERT_TRUE(PumpUntil([&] { return Box->Typed.size() >= 12; }));
  EXPECT_EQ(Box->Typed.substr(10), "AB");
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0) << "off again";
}

TEST_F(X11Test, CaptureSeesTheMouseOutsideTheWindows) {
  TBox* Box = nullptr;
  TForm* F = MakeForm(Box);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(F->Handle())); }));
  Settle();
  TPoint P = Box->ClientToScreen({30, 20});
  Session->Click(P.X, P.Y);
  ASSERT_TRUE(PumpUntil([&] { return Box->Downs == 1; }));
  SetCapture(Box->Handle());
  X->Flush();
  // Far from every window of ours: only the pointer grab brings it here.
  Session->Click(1000, 700);
  ASSERT_TRUE(PumpUntil([&] { return Box->Downs == 2; }));
  EXPECT_EQ(Box->LastDown, Box->ScreenToClient({1000, 700}));
  ReleaseCapture();
  X->Flush();
  Session->Click(1000, 700);
  Settle(300);
  EXPECT_EQ(Box->Downs, 2) << "released: the click belongs to the desktop";
}

TEST_F(X11Test, DeadKeysComposeThroughTheInputMethod) {
  if (access("/usr/bin/setxkbmap", X_OK) != 0) GTEST_SKIP() << "no setxkbmap";
  // The international US layout: the apostrophe key is a dead acute.
  ASSERT_EQ(sxtest::RunStatus(Session->Command("setxkbmap -layout us -variant intl"), 20), 0);
  struct TRestore {
    TX11Session* S;
    ~TRestore() { sxtest::RunStatus(S->Command("setxkbmap -layout us"), 20); }
  } Restore{Session};
  Restart(true);  // a display that reads the new layout
  ASSERT_TRUE(X);
  TBox* Box = nullptr;
  TForm* F = MakeForm(Box);
  F->Show();
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(F->Handle())); }));
  Settle();
  TPoint P = Box->ClientToScreen({30, 20});
  Session->Click(P.X, P.Y);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Box->Handle(); }));
  // Key codes, not symbols: the session's own key map predates the change.
  const unsigned Apostrophe = 40 + 8, E = 18 + 8, Space = 57 + 8;
  for (unsigned K : {Apostrophe, E, Apostrophe, Space}) {
    XTestFakeKeyEvent(Session->Dpy(), K, True, CurrentTime);
    XTestFakeKeyEvent(Session->Dpy(), K, False, CurrentTime);
  }
  XSync(Session->Dpy(), False);
  ASSERT_TRUE(PumpUntil([&] { return Box->Typed.size() >= 2; }));
  EXPECT_EQ(Box->Typed, "\xE9'") << "e acute in the code page, then the accent alone";
}

TEST_F(X11Test, PopupsStayOnTheMonitorThatHoldsMostOfThem) {
  // Two monitors side by side on the one screen (RandR's monitor objects,
  // as a desktop with two outputs would report them).
  XDisplay* Sd = Session->Dpy();
  Window Root = DefaultRootWindow(Sd);
  // The left one takes the server's output, so that the output's own
  // monitor (the whole screen) is no longer listed.
  XRRScreenResources* Res = XRRGetScreenResources(Sd, Root);
  RROutput Output = Res && Res->noutput ? Res->outputs[0] : 0;
  if (Res) XRRFreeScreenResources(Res);
  auto SetMonitor = [&](const char* Name, int Left, bool Primary) {
    XRRMonitorInfo* M = XRRAllocateMonitor(Sd, Primary && Output ? 1 : 0);
    if (Primary && Output) M->outputs[0] = Output;
    M->name = XInternAtom(Sd, Name, False);
    M->primary = Primary;
    M->x = Left;
    M->y = 0;
    M->width = 640;
    M->height = 800;
    M->mwidth = 170;
    M->mheight = 250;
    XRRSetMonitor(Sd, Root, M);
    XRRFreeMonitors(M);
  };
  SetMonitor("sx-left", 0, true);
  SetMonitor("sx-right", 640, false);
  XSync(Sd, False);
  struct TRemove {
    XDisplay* D;
    Window R;
    ~TRemove() {
      XRRDeleteMonitor(D, R, XInternAtom(D, "sx-left", False));
      XRRDeleteMonitor(D, R, XInternAtom(D, "sx-right", False));
      XSync(D, False);
    }
  } Remove{Sd, Root};
  // A new display reads the monitors as it opens.
  Restart(true);
  ASSERT_TRUE(X);
  auto M = X->Monitors();
  ASSERT_EQ(M.size(), 2u);

  struct TCase {
    TRect Asked, Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {{1200, 100, 1400, 200}, {1080, 100, 1280, 200}, "past the right edge: pulled back"},
      {{600, 300, 800, 400}, {640, 300, 840, 400}, "mostly on the right monitor: moved onto it"},
      {{500, 300, 620, 400}, {500, 300, 620, 400}, "inside the left monitor: stays"},
      {{100, 750, 200, 850}, {100, 700, 200, 800}, "past the bottom: pulled up"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    HWND H = MakePlainWindow(WS_EX_TOOLWINDOW, WS_POPUP | WS_BORDER, C.Asked);
    ASSERT_TRUE(H);
    ShowWindow(H, SW_SHOWNOACTIVATE);
    ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(H)); }));
    TRect R;
    GetWindowRect(H, &R);
    EXPECT_EQ(R, C.Want);
    XWindowAttributes A;
    XGetWindowAttributes(Session->Dpy(), X->XWindowOf(H), &A);
    EXPECT_EQ(TRect(A.x, A.y, A.x + A.width, A.y + A.height), C.Want) << "where the server shows it";
    EXPECT_TRUE(A.override_redirect) << "the manager neither frames nor places popups";
    DestroyWindow(H);
  }
  HMONITOR Right = MonitorFromPoint({900, 10}, MONITOR_DEFAULTTONULL);
  MONITORINFO Mi{};
  Mi.cbSize = sizeof Mi;
  ASSERT_TRUE(GetMonitorInfoA(Right, &Mi));
  EXPECT_EQ(Mi.rcMonitor, TRect(640, 0, 1280, 800));
}

TEST_F(X11Test, ClipboardTextMeetsXclipBothWays) {
  if (access("/usr/bin/xclip", X_OK) != 0) GTEST_SKIP() << "no xclip";
  HWND H = MakePlainWindow();
  const std::string Utf8 = "Sourcelux \xC3\xBC" "ber alles";  // u-umlaut: in code page 1252
  ASSERT_TRUE(OpenClipboard(H));
  EmptyClipboard();
  AnsiString A = Utf8ToAnsi(Utf8);
  HGLOBAL G = GlobalAlloc(GHND, A.size() + 1);
  std::memcpy(GlobalLock(G), A.data(), A.size());
  GlobalUnlock(G);
  SetClipboardData(CF_TEXT, G);
  CloseClipboard();
  X->Flush();
  // xclip asks while we answer: it runs on its own thread of ours.
  std::string Out;
  std::atomic<bool> Done{false};
  std::thread T([&] {
    Out = sxtest::RunCommand(Session->Command("xclip -o -selection clipboard"), nullptr, 20);
    Done = true;
  });
  PumpUntil([&] { return Done.load(); }, 20000);
  T.join();
  EXPECT_EQ(Out, Utf8);

  // And the other way: what xclip holds is what the program pastes.
  {
    FILE* Fp = std::fopen("x11-clip-text.txt", "wb");
    std::fputs("from xclip \xC3\xA9t\xC3\xA9", Fp);
    std::fclose(Fp);
  }
  XclipIn("x11-clip-text.txt");
  ASSERT_TRUE(OpenClipboard(H));
  HANDLE Got = GetClipboardData(CF_TEXT);
  ASSERT_TRUE(Got);
  EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(Got))), Utf8ToAnsi("from xclip \xC3\xA9t\xC3\xA9"));
  GlobalUnlock(Got);
  CloseClipboard();
}

TEST_F(X11Test, ClipboardFormatsMapToDesktopTypes) {
  if (access("/usr/bin/xclip", X_OK) != 0) GTEST_SKIP() << "no xclip";
  HWND H = MakePlainWindow();
  const std::string Big(3 * 1024 * 1024, 'x');  // larger than one request: increments
  struct TCase {
    const char* Format;  // registered name, or null for text
    const char* Target;
    std::string Data;
  };
  const TCase Cases[] = {
      {"Rich Text Format", "text/rtf", "{\\rtf1\\ansi Hello}"},
      {"HTML Format", "text/html", "<p>Hi</p>"},
      {nullptr, "UTF8_STRING", Big},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Target);
    // Program to desktop
    UINT Fmt = C.Format ? RegisterClipboardFormatA(C.Format) : CF_TEXT;
    std::string Put = C.Data;
    if (C.Format && std::string(C.Format) == "HTML Format") {
      // The program's HTML carries the offset header.
      char Head[256];
      const char* Fmt0 = "Version:0.9\r\nStartHTML:%08d\r\nEndHTML:%08d\r\n";
      int L = std::snprintf(Head, sizeof Head, Fmt0, 0, 0);
      std::snprintf(Head, sizeof Head, Fmt0, L, L + int(C.Data.size()));
      Put = std::string(Head) + C.Data;
    }
    ASSERT_TRUE(OpenClipboard(H));
    EmptyClipboard();
    HGLOBAL G = GlobalAlloc(GHND, Put.size() + 1);
    std::memcpy(GlobalLock(G), Put.data(), Put.size());
    GlobalUnlock(G);
    SetClipboardData(Fmt, G);
    CloseClipboard();
    X->Flush();
    std::string Out;
    std::atomic<bool> Done{false};
    std::thread T([&] {
      Out = sxtest::RunCommand(Session->Command(std::string("xclip -o -selection clipboard -t ") + C.Target), nullptr, 30);
      Done = true;
    });
    PumpUntil([&] { return Done.load(); }, 30000);
    T.join();
    EXPECT_EQ(Out.size(), C.Data.size());
    EXPECT_TRUE(Out == C.Data);

    // Desktop to program
    std::string File = "x11-clip-in.dat";
    {
      FILE* Fp = std::fopen(File.c_str(), "wb");
      std::fwrite(C.Data.data(), 1, C.Data.size(), Fp);
      std::fclose(Fp);
    }
    XclipIn(std::string("-t ") + C.Target + " " + File);
    ASSERT_TRUE(OpenClipboard(H));
    HANDLE Got = GetClipboardData(Fmt);
    ASSERT_TRUE(Got);
    std::string In(static_cast<const char*>(GlobalLock(Got)));
    GlobalUnlock(Got);
    CloseClipboard();
    if (C.Format && std::string(C.Format) == "HTML Format") {
      EXPECT_NE(In.find("StartHTML:"), std::string::npos) << "the program's HTML has its header";
      EXPECT_EQ(In.substr(In.size() - C.Data.size()), C.Data);
    } else {
      EXPECT_EQ(In.size(), C.Data.size());
      EXPECT_TRUE(In == C.Data);
    }
  }
}

TEST_F(X11Test, GlobalHotKeyReachesTheProgramWithAndWithoutCapsLock) {
  HWND H = MakePlainWindow();
  ASSERT_TRUE(RegisterHotKey(H, 7, MOD_CONTROL | MOD_ALT, 'K'));
  X->Flush();
  for (bool Caps : {false, true}) {
    SCOPED_TRACE(Caps ? "Caps Lock on" : "Caps Lock off");
    Messages.Seen.clear();
    if (Caps) Session->Tap(XK_Caps_Lock);
    Session->Key(XK_Control_L, true);
    Session->Key(XK_Alt_L, true);
    Session->Tap(XK_k);
    Session->Key(XK_Alt_L, false);
    Session->Key(XK_Control_L, false);
    if (Caps) Session->Tap(XK_Caps_Lock);
    ASSERT_TRUE(PumpUntil([&] { return Messages.Has(WM_HOTKEY); }));
    EXPECT_EQ(Messages.Find(WM_HOTKEY)->wParam, 7u);
  }
  // Another program holding a combination: registering it fails.
  XGrabKey(Session->Dpy(), XKeysymToKeycode(Session->Dpy(), XK_j), ControlMask | Mod1Mask, DefaultRootWindow(Session->Dpy()),
           True, GrabModeAsync, GrabModeAsync);
  XSync(Session->Dpy(), False);
  EXPECT_FALSE(RegisterHotKey(H, 8, MOD_CONTROL | MOD_ALT, 'J'));
  EXPECT_EQ(GetLastError(), DWORD(ERROR_HOTKEY_ALREADY_REGISTERED));
  XUngrabKey(Session->Dpy(), XKeysymToKeycode(Session->Dpy(), XK_j), ControlMask | Mod1Mask, DefaultRootWindow(Session->Dpy()));
  XSync(Session->Dpy(), False);
  EXPECT_TRUE(UnregisterHotKey(H, 7));
}

TEST_F(X11Test, TrayHostShowsTheIconAndReportsItsClicks) {
  if (!Session->HasTray()) GTEST_SKIP() << "no tray host";
  HWND H = MakePlainWindow();
  HICON Icon = MakeRedIcon();
  ASSERT_TRUE(Icon);

  // Through the shell call, as the program adds it.
  SetTrayHost(std::make_unique<TDisplayTrayHost>());
  NOTIFYICONDATAA T;
  T.hWnd = H;
  T.uID = 3;
  T.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  T.uCallbackMessage = WM_APP + 5;
  T.hIcon = Icon;
  std::strcpy(T.szTip, "Sourcelux");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &T));
  DestroyIcon(Icon);
  // Docked: the tray host took our window in and shows it.
  Window Mine = 0;
  ASSERT_TRUE(PumpUntil([&] {
    Mine = X->TrayWindowOf(H, 3);
    if (!Mine) return false;
    Window Root, Parent, *Kids = nullptr;
    unsigned N = 0;
    XQueryTree(Session->Dpy(), Mine, &Root, &Parent, &Kids, &N);
    if (Kids) XFree(Kids);
    return Parent != Root && Viewable(Mine);
  }));
  Settle();
  XWindowAttributes A;
  XGetWindowAttributes(Session->Dpy(), Mine, &A);
  auto Px = Session->Grab(Mine, 0, 0, A.width, A.height);
  ASSERT_FALSE(Px.empty());
  EXPECT_EQ(Px[std::size_t(A.height / 2 * A.width + A.width / 2)], 0xFF0000u) << "the icon's red in the middle";
  WritePng("x11-tray.png", A.width, A.height, Px.data());

  Window Child;
  int Rx, Ry;
  XTranslateCoordinates(Session->Dpy(), Mine, DefaultRootWindow(Session->Dpy()), A.width / 2, A.height / 2, &Rx, &Ry, &Child);
  Session->Click(Rx, Ry);
  ASSERT_TRUE(PumpUntil([&] { return Messages.Has(WM_APP + 5); }));
  const MSG* C = Messages.Find(WM_APP + 5);
  EXPECT_EQ(C->wParam, 3u);
  EXPECT_EQ(C->lParam, LPARAM(WM_LBUTTONDOWN));
  EXPECT_TRUE(Shell_NotifyIconA(NIM_DELETE, &T));
  EXPECT_EQ(X->TrayWindowOf(H, 3), 0u);
  SetTrayHost(nullptr);
}

TEST_F(X11Test, FilesDroppedByAnotherProgramArriveAsAFileList) {
  HWND H = MakePlainWindow(WS_EX_ACCEPTFILES);
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(H)); }));
  Settle();
  TPoint At{60, 50};
  ClientToScreen(H, &At);
  TDndSource Src;
  Src.Name = Session->Name();
  Src.At = At;
  Src.UriList = "file:///tmp/a%20b.txt\r\n# a comment\r\nfile://localhost/etc/hosts\r\nhttp://example.org/x\r\n";
  std::thread T([&] { Src.Run(); });
  bool Got = PumpUntil([&] { return Messages.Has(WM_DROPFILES) && Src.Finished >= 0; }, 15000);
  T.join();
  ASSERT_TRUE(Got);
  EXPECT_EQ(Src.Finished, 1) << "the source hears the drop succeeded";
  HANDLE Block = HANDLE(Messages.Find(WM_DROPFILES)->wParam);
  EXPECT_EQ(X11ReadDropFiles(Block), (std::vector<std::string>{"/tmp/a b.txt", "/etc/hosts"}));
  std::uint32_t Fields[5];
  std::memcpy(Fields, GlobalLock(Block), sizeof Fields);
  GlobalUnlock(Block);
  EXPECT_EQ(TPoint(int(Fields[1]), int(Fields[2])), TPoint(60, 50)) << "the drop point, client coordinates";
  GlobalFree(Block);
}

namespace {
// Takes copies and keeps the files of the drop.
class TFileDropTarget : public TInterfacedObject, public IDropTarget {
public:
  HRESULT DragEnter(IDataObject*, DWORD, TPoint, DWORD* Effect) override {
    ++Enters;
    *Effect &= DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT DragOver(DWORD, TPoint, DWORD* Effect) override {
    *Effect &= DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT DragLeave() override { return S_OK; }
  HRESULT Drop(IDataObject* Data, DWORD, TPoint, DWORD* Effect) override {
    std::string B;
    if (GetDataBytes(Data, CF_HDROP, B)) Files = ReadDropFiles(B.data(), B.size());
    *Effect &= DROPEFFECT_COPY;
    return S_OK;
  }
  int Enters = 0;
  std::vector<std::string> Files;

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override {
    return OfferInterface<IDropTarget>(this, IID, Obj) || TInterfacedObject::GetInterface(IID, Obj);
  }
};
}  // namespace

TEST_F(X11Test, FilesDroppedByAnotherProgramReachARegisteredDropTarget) {
  OleReset();
  ASSERT_EQ(OleInitialize(nullptr), S_OK);
  HWND H = MakePlainWindow();  // no WS_EX_ACCEPTFILES: only the OLE target takes it
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(H)); }));
  Settle();
  auto* Target = new TFileDropTarget;
  TIntfPtr<IDropTarget> Hold(static_cast<IDropTarget*>(Target));
  ASSERT_EQ(RegisterDragDrop(H, Target), S_OK);
  TPoint At{60, 50};
  ClientToScreen(H, &At);
  TDndSource Src;
  Src.Name = Session->Name();
  Src.At = At;
  Src.UriList = "file:///tmp/a%20b.rtf\r\nfile:///etc/hosts\r\n";
  std::thread T([&] { Src.Run(); });
  const bool Got = PumpUntil([&] { return Src.Finished >= 0; }, 15000);
  T.join();
  RevokeDragDrop(H);
  OleReset();
  ASSERT_TRUE(Got);
  EXPECT_EQ(Src.Finished, 1) << "the source hears the drop succeeded";
  EXPECT_EQ(Target->Enters, 1);
  EXPECT_EQ(Target->Files, (std::vector<std::string>{"/tmp/a b.rtf", "/etc/hosts"}));
  EXPECT_FALSE(Messages.Has(WM_DROPFILES));
}

namespace {
std::vector<long> LongsOf(XDisplay* D, Window W, const char* Prop) {
  Atom Type;
  int Format;
  unsigned long N = 0, After;
  unsigned char* Data = nullptr;
  std::vector<long> Out;
  if (XGetWindowProperty(D, W, XInternAtom(D, Prop, False), 0, 65536, False, AnyPropertyType, &Type, &Format, &N, &After,
                         &Data) == Success &&
      Data && Format == 32)
    Out.assign(reinterpret_cast<long*>(Data), reinterpret_cast<long*>(Data) + N);
  if (Data) XFree(Data);
  return Out;
}

bool HasAtom(XDisplay* D, Window W, const char* Prop, const char* Value) {
  for (long A : LongsOf(D, W, Prop))
    if (Atom(A) == XInternAtom(D, Value, False)) return true;
  return false;
}
}  // namespace

TEST_F(X11Test, WindowManagerSeesStylesAndStates) {
  XDisplay* D = Session->Dpy();
  HWND Main = MakePlainWindow();
  HWND Tool = MakePlainWindow(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {50, 50, 250, 150},
                              Main);
  ASSERT_TRUE(Tool);
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(Main)) && Viewable(X->XWindowOf(Tool)); }));
  Window M = X->XWindowOf(Main), T = X->XWindowOf(Tool);
  EXPECT_TRUE(HasAtom(D, T, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_UTILITY"));
  EXPECT_TRUE(HasAtom(D, T, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE")) << "stay on top";
  EXPECT_TRUE(HasAtom(D, M, "_NET_WM_WINDOW_TYPE", "_NET_WM_WINDOW_TYPE_NORMAL"));
  // A fixed frame: the manager may not resize it.
  XSizeHints H;
  long Supplied;
  ASSERT_TRUE(XGetWMNormalHints(D, T, &H, &Supplied));
  EXPECT_TRUE((H.flags & PMinSize) && (H.flags & PMaxSize));
  EXPECT_EQ(H.min_width, H.max_width);
  // The class icon goes out as ARGB rows with their size first.
  Window Transient = 0;
  EXPECT_TRUE(XGetTransientForHint(D, T, &Transient));
  EXPECT_EQ(Transient, M) << "owned windows stay with their owner";
  HICON Icon = MakeRedIcon();
  SendMessageA(Main, WM_SETICON, ICON_BIG, LPARAM(Icon));
  std::vector<long> L;
  auto RedIconShown = [&] {
    L = LongsOf(D, M, "_NET_WM_ICON");
    return L.size() == std::size_t(2 + 16 * 16) && L[0] == 16 && std::uint32_t(L[2 + 8 * 16 + 8]) == 0xFFFF0000u;
  };
  EXPECT_TRUE(PumpUntil(RedIconShown)) << "16x16 ARGB with opaque red in the middle";
  if (L.size() > 2) {
    EXPECT_EQ(std::uint32_t(L[2]), 0u) << "transparent corner";
  }

  struct TStep {
    int Show;
    bool Iconic, Maximized;
    const char* Why;
  };
  const TStep Steps[] = {
      {SW_MAXIMIZE, false, true, "maximized"},
      {SW_RESTORE, false, false, "restored"},
      {SW_MINIMIZE, true, false, "iconified"},
      {SW_RESTORE, false, false, "restored from the icon"},
  };
  for (auto& S : Steps) {
    SCOPED_TRACE(S.Why);
    ShowWindow(Main, S.Show);
    bool Ok = PumpUntil([&] {
      auto St = LongsOf(D, M, "WM_STATE");
      bool Iconic = !St.empty() && St[0] == IconicState;
      bool Max = HasAtom(D, M, "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_VERT") &&
                 HasAtom(D, M, "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_HORZ");
      // The manager's answer reaches our side as an event a moment after
      // the property changes: wait for both to agree.
      return Iconic == S.Iconic && Max == S.Maximized && bool(IsIconic(Main)) == S.Iconic &&
             bool(IsZoomed(Main)) == S.Maximized;
    });
    EXPECT_TRUE(Ok);
    EXPECT_EQ(bool(IsIconic(Main)), S.Iconic);
    EXPECT_EQ(bool(IsZoomed(Main)), S.Maximized);
  }
  DestroyWindow(Main);  // the icon belongs to us, not to the window
  DestroyIcon(Icon);
}

TEST_F(X11Test, ForegroundRequestRaisesAndFocusesThroughTheManager) {
  // What the single-instance guard does when a second start asks the first
  // to come forward: the manager activates the window, even iconified.
  HWND A = MakePlainWindow(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 300});
  HWND B = MakePlainWindow(0, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {150, 150, 450, 350});
  auto XFocusIs = [&](HWND H) {
    Window F = 0;
    int Revert;
    XGetInputFocus(Session->Dpy(), &F, &Revert);
    return F == X->XWindowOf(H);
  };
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(A)) && Viewable(X->XWindowOf(B)); }));
  ASSERT_TRUE(PumpUntil([&] { return XFocusIs(B); })) << "the newest window has the focus";
  ShowWindow(A, SW_MINIMIZE);
  Settle(200);
  ShowWindow(A, SW_RESTORE);
  SetForegroundWindow(A);
  EXPECT_TRUE(PumpUntil([&] { return XFocusIs(A) && GetActiveWindow() == A; }));
  EXPECT_FALSE(IsIconic(A));
}

TEST_F(X11Test, ManagerCloseButtonBecomesWmClose) {
  HWND H = MakePlainWindow();
  ASSERT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(H)); }));
  // What a manager sends when the user closes the window.
  XEvent E{};
  E.xclient.type = ClientMessage;
  E.xclient.window = X->XWindowOf(H);
  E.xclient.message_type = XInternAtom(Session->Dpy(), "WM_PROTOCOLS", False);
  E.xclient.format = 32;
  E.xclient.data.l[0] = long(XInternAtom(Session->Dpy(), "WM_DELETE_WINDOW", False));
  E.xclient.data.l[1] = CurrentTime;
  XSendEvent(Session->Dpy(), E.xclient.window, False, NoEventMask, &E);
  XSync(Session->Dpy(), False);
  // DefWindowProc destroys the window on WM_CLOSE; the X window goes too.
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(H); }));
  X->Flush();
  EXPECT_EQ(X->XWindowOf(H), 0u);
}

// --- without a server ---------------------------------------------------------------------------

TEST(X11FileLists, UriListsBecomePathsAndBack) {
  struct TCase {
    const char* List;
    std::vector<std::string> Paths;
    const char* Why;
  };
  const TCase Cases[] = {
      {"file:///tmp/x.rtf\r\n", {"/tmp/x.rtf"}, "one file"},
      {"file:///a%20b/%C3%BC.txt\nfile://localhost/c\n", {"/a b/\xC3\xBC.txt", "/c"}, "escapes and localhost"},
      {"# comment\r\nhttp://x/y\r\nfile:///ok\r\n", {"/ok"}, "other schemes and comments skipped"},
      {"file://otherhost.invalid/x\r\n", {}, "another machine's file is not ours"},
      {"file:///bad%00name\r\nfile:///good", {"/good"}, "an escaped NUL drops the name; no final line end"},
      {"", {}, "empty"},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(X11PathsFromUriList(C.List), C.Paths);
    EXPECT_EQ(X11PathsFromUriList(X11UriListFromPaths(C.Paths)), C.Paths) << "round trip";
  }
}

TEST(X11FileLists, DropBlockHoldsTheNamesAndThePoint) {
  std::vector<std::string> Names = {"/tmp/one", "/tmp/t\xC3\xA9o"};
  HGLOBAL B = X11MakeDropFiles(Names, {7, 9});
  EXPECT_EQ(X11ReadDropFiles(B), Names);
  auto* P = static_cast<const unsigned char*>(GlobalLock(B));
  std::uint32_t Fields[5];
  std::memcpy(Fields, P, sizeof Fields);
  EXPECT_EQ(Fields[0], 20u) << "names follow the header";
  EXPECT_EQ(Fields[1], 7u);
  EXPECT_EQ(Fields[2], 9u);
  EXPECT_EQ(Fields[4], 0u) << "narrow names";
  EXPECT_EQ(GlobalSize(B), 20u + 9 + 10 + 1) << "two names, their zeros and the final zero";
  GlobalUnlock(B);
  GlobalFree(B);
}

TEST(X11Choice, EnvironmentForcesTheHeadlessDisplay) {
  setenv("SX_DISPLAY", "headless", 1);
  EXPECT_EQ(SelectDisplay(), TDisplayKind::Headless);
  EXPECT_NE(dynamic_cast<THeadlessDisplay*>(&Display()), nullptr);
  // Without a reachable server, X11 is asked for in vain and headless stays.
  setenv("SX_DISPLAY", "x11", 1);
  setenv("DISPLAY", ":999", 1);
  EXPECT_EQ(SelectDisplay(), TDisplayKind::Headless);
  unsetenv("SX_DISPLAY");
  unsetenv("DISPLAY");
  EXPECT_EQ(SelectDisplay(), TDisplayKind::Headless) << "no DISPLAY: headless";
  if (TX11Session* S = TX11Session::Get()) {
    setenv("DISPLAY", S->Name().c_str(), 1);
    EXPECT_EQ(SelectDisplay(), TDisplayKind::X11);
    EXPECT_NE(CurrentX11Display(), nullptr);
    unsetenv("DISPLAY");
  }
  SetDisplay(nullptr);
}
