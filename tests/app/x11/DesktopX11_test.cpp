// The program's desktop presence on a real X desktop (Xvfb with openbox and
// trayer): the small main window of app/desktop/helper minimizes into the
// tray host and comes back on a click there, its global hot keys reach it
// from the tray through the server, and a second start of the program
// brings the first one's window forward.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sys/mman.h>
#include <unistd.h>

#include "app/desktop/helper/DesktopProgram.h"
#include "platform/forms/Application.h"
#include "platform/forms/Clipbrd.h"
#include "platform/forms/Dialogs.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/IconApi.h"
#include "platform/shell/Processes.h"
#include "platform/win/FileMapping.h"
#include "platform/win/KeyboardLayouts.h"
#include "platform/win/Win.h"
#include "platform/win/x11/X11Display.h"
#include "platform/x11/X11Fixture.h"
#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"
#include "support/ScratchDir.h"
#include "support/TestFiles.h"

#define Display XDisplay
#define Screen XScreen
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#undef Display
#undef Screen
#undef KeyPress

namespace {
class DesktopX11Test : public TX11Fixture {
protected:
  void SetUp() override {
    if (!OpenDisplay()) GTEST_SKIP() << "no Xvfb on this machine";
    SetTrayHost(std::make_unique<TDisplayTrayHost>());
    App = std::make_unique<TApplication>(nullptr);
    HotKeyUnitEnd();
    TDesktopProgramWindow::Settings() = {};
    TDesktopProgramWindow::Settings().GuardEnabled = false;  // copies of the program test the guard
  }
  void TearDown() override {
    App.reset();
    HotKeyUnitEnd();
    ResetWindowSystem();
    SetTrayHost(nullptr);
    CloseDisplay();
  }
  // The window up on the desktop, with a red tray icon.
  TDesktopProgramWindow* Open() {
    RegisterDesktopProgram();
    TDesktopProgramWindow* W = nullptr;
    App->CreateForm(W);
    W->CoolTrayIcon->GetIcon()->SetHandle(RedIcon());
    W->Show();
    EXPECT_TRUE(PumpUntil([&] { return Viewable(X->XWindowOf(W->Handle())); }));
    return W;
  }
  // The tray host's window of the icon, once docked and shown.
  unsigned long DockedIcon(TDesktopProgramWindow* W) {
    unsigned long Mine = 0;
    PumpUntil([&] {
      Mine = X->TrayWindowOf(TCoolTrayIcon::HandlerWindow(), W->CoolTrayIcon->IconId());
      if (!Mine) return false;
      Window Root, Parent, *Kids = nullptr;
      unsigned N = 0;
      XQueryTree(Session->Dpy(), Mine, &Root, &Parent, &Kids, &N);
      if (Kids) XFree(Kids);
      return Parent != Root && Viewable(Mine);
    });
    return Mine;
  }
  void ClickMiddleOf(unsigned long Win) {
    XWindowAttributes A;
    XGetWindowAttributes(Session->Dpy(), Win, &A);
    Window Child;
    int Rx = 0, Ry = 0;
    XTranslateCoordinates(Session->Dpy(), Win, DefaultRootWindow(Session->Dpy()), A.width / 2, A.height / 2, &Rx, &Ry, &Child);
    Session->Click(Rx, Ry);
  }
  bool InFront(TDesktopProgramWindow* W) {
    const unsigned long Xw = X->XWindowOf(W->Handle());
    return W->GetVisible() && !IsIconic(W->Handle()) && Viewable(Xw) && HasFocus(Xw);
  }
  static HICON RedIcon() {
    HDC Screen = GetDC(nullptr);
    HBITMAP Colour = CreateCompatibleBitmap(Screen, 16, 16);
    HBITMAP Mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC M = CreateCompatibleDC(Screen);
    HGDIOBJ Old = SelectObject(M, Colour);
    TRect All{0, 0, 16, 16};
    HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0)), Black = CreateSolidBrush(0);
    FillRect(M, &All, Red);
    SelectObject(M, Mask);
    FillRect(M, &All, Black);  // mask 0: every pixel shows
    SelectObject(M, Old);
    DeleteDC(M);
    ReleaseDC(nullptr, Screen);
    ICONINFO Info;
    Info.hbmColor = Colour;
    Info.hbmMask = Mask;
    HICON Icon = CreateIconIndirect(&Info);
    DeleteObject(Colour);
    DeleteObject(Mask);
    DeleteObject(Red);
    DeleteObject(Black);
    return Icon;
  }
};
}  // namespace

TEST_F(DesktopX11Test, MinimizingPutsTheWindowInTheTrayAndAClickThereBringsItBack) {
  if (!Session->HasTray()) GTEST_SKIP() << "no tray host";
  TDesktopProgramWindow* W = Open();
  const unsigned long Xw = X->XWindowOf(W->Handle());
  ASSERT_TRUE(PumpUntil([&] { return HasFocus(Xw); }));
  // What the window manager's minimize button does.
  XIconifyWindow(Session->Dpy(), Xw, DefaultScreen(Session->Dpy()));
  XFlush(Session->Dpy());
  ASSERT_TRUE(PumpUntil([&] { return !W->GetVisible(); })) << "minimizing hides the window";
  const unsigned long Icon = DockedIcon(W);
  ASSERT_NE(Icon, 0u) << "the icon is in the tray host";
  EXPECT_FALSE(Viewable(Xw));

  ClickMiddleOf(Icon);
  EXPECT_TRUE(PumpUntil([&] { return InFront(W); })) << "shown, restored and focused";
  EXPECT_TRUE(PumpUntil([&] { return X->TrayWindowOf(TCoolTrayIcon::HandlerWindow(), W->CoolTrayIcon->IconId()) == 0; }))
      << "the icon left the tray";
}

TEST_F(DesktopX11Test, HotKeysReachTheWindowInTheTrayThroughTheServer) {
  if (!Session->HasTray()) GTEST_SKIP() << "no tray host";
  // Keys a US keyboard has (the defaults need a French one).
  TDesktopProgramWindow::Settings().ActivationHotKey = "Ctrl+Alt+A";
  TDesktopProgramWindow::Settings().ConvertHotKey = "Ctrl+Alt+V";
  sxtest::TScratchDir Out("x11convert");
  const std::string Target = Out / "clip.html";
  TDesktopProgramWindow* W = Open();
  ASSERT_NE(W->FActivationHotKeyId, 0);
  ASSERT_NE(W->FConvertHotKeyId, 0);
  auto Chord = [&](unsigned long Key) {
    Session->Key(XK_Control_L, true);
    Session->Key(XK_Alt_L, true);
    Session->Tap(Key);
    Session->Key(XK_Alt_L, false);
    Session->Key(XK_Control_L, false);
  };

  W->MinimizeToSystemTrayClick(W);
  ASSERT_TRUE(PumpUntil([&] { return !Viewable(X->XWindowOf(W->Handle())); }));
  Chord(XK_a);
  EXPECT_TRUE(PumpUntil([&] { return InFront(W); })) << "the activation hot key shows the window";

  // Another program holds the clipboard; the convert hot key pastes and
  // converts it (the save dialog answered by the test).
  W->MinimizeToSystemTrayClick(W);
  ASSERT_TRUE(PumpUntil([&] { return !Viewable(X->XWindowOf(W->Handle())); }));
  const std::string Text = "Pasted from another program";
  if (access("/usr/bin/xclip", X_OK) == 0) {
    ASSERT_EQ(sxtest::RunStatus("printf '%s' '" + Text + "' | " + Session->Command("xclip -i -selection clipboard"), 20), 0);
    PumpUntil([&] { return Clipboard()->GetAsText() == Text; }, 5000);
  } else {
    Clipboard()->SetAsText(Text);
  }
  TDialogScript Answers;
  Answers.ThenFile(Target.c_str());
  Chord(XK_v);
  ASSERT_TRUE(PumpUntil([&] { return sxtest::ReadFile(Target) == Text; })) << "converted the clipboard's text";
  EXPECT_EQ(W->Input->GetText(), Text);
  EXPECT_TRUE(PumpUntil([&] { return InFront(W); }));
}

TEST_F(DesktopX11Test, ASecondStartBringsTheFirstCopysWindowForward) {
  sxtest::TScratchDir Dir("x11instance"), Runtime("runtime");
  std::filesystem::permissions(Runtime.Path(), std::filesystem::perms::owner_all);
  sxtest::TEnvVar R("XDG_RUNTIME_DIR", Runtime.Path().string()), D("DISPLAY", Session->Name()), S("SX_DISPLAY", "x11");
  const std::string Program = Dir / "sourcelux";
  std::error_code Ec;
  std::filesystem::create_hard_link(SX_APP_DESKTOP_HELPER, Program, Ec);
  if (Ec) std::filesystem::copy_file(SX_APP_DESKTOP_HELPER, Program);
  const std::string Name = TadpInstanceControl::MappingNameOf(Program);
  {
    sxtest::TChildProcess First(QuoteCommandLineArgument(Program) + " --minimized");
    EXPECT_EQ(First.Line(), "admitted");
    ASSERT_TRUE(First.WaitFor("state visible=0 iconic=1 foreground=0 tray=1")) << "minimized into the tray";
    sxtest::TChildProcess Second(QuoteCommandLineArgument(Program));
    EXPECT_EQ(Second.Line(), "refused");
    EXPECT_EQ(Second.Wait(), 0) << "the second copy ends by itself";
    EXPECT_TRUE(First.WaitFor("state visible=1 iconic=0 foreground=1 tray=1")) << "the first copy's window is back";
    // The desktop agrees: the focused window is the program's.
    bool Focused = false;
    for (int T = 0; T < 500 && !Focused; ++T) {
      Window F = 0;
      int Revert;
      XGetInputFocus(Session->Dpy(), &F, &Revert);
      char* Title = nullptr;
      if (F > 1 && XFetchName(Session->Dpy(), F, &Title) && Title) {
        Focused = std::string(Title) == "Sourcelux v1.0.0";
        XFree(Title);
      }
      if (!Focused) usleep(20000);
    }
    EXPECT_TRUE(Focused);
  }
  ::shm_unlink(FileMappingObjectName(Name).c_str());
  ::shm_unlink(FileMappingObjectName(Name + "|seat0").c_str());
}
