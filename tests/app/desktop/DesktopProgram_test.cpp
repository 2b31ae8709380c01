// The desktop units as the program's main window uses them (the small
// window of helper/DesktopProgram.h, in this process): the tray takes the
// window when it is minimized and gives it back on a click, and the three
// global hot keys show it, close the file, or paste the clipboard and
// convert it.
#include "helper/DesktopProgram.h"

#include "DesktopTestSupport.h"
#include "platform/forms/Clipbrd.h"
#include "platform/forms/Dialogs.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/KeyboardLayouts.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "support/ScratchDir.h"
#include "support/TestFiles.h"

namespace {
class DesktopProgramTest : public TDesktopTest {
protected:
  void SetUp() override {
    TDesktopTest::SetUp();
    HotKeyUnitEnd();
    TDesktopProgramWindow::Settings() = {};
    TDesktopProgramWindow::Settings().GuardEnabled = false;  // the guard's own tests run copies
  }
  void TearDown() override {
    HotKeyUnitEnd();
    TDesktopTest::TearDown();
  }
  // The window, shown, on a French keyboard (where the default hot keys
  // exist) or the US one.
  TDesktopProgramWindow* Open(bool French) {
    if (French) {
      EXPECT_TRUE(LoadKeyboardLayoutA("0000040C", KLF_ACTIVATE));
    }
    RegisterDesktopProgram();
    TDesktopProgramWindow* W = nullptr;
    App->CreateForm(W);
    W->Show();
    Pump();
    return W;
  }
  static bool InFront(TDesktopProgramWindow* W) {
    return IsWindowVisible(W->Handle()) && !IsIconic(W->Handle()) && GetForegroundWindow() == W->Handle();
  }
  void Press(std::initializer_list<WORD> Modifiers, WORD Key) {
    auto& D = HeadlessDisplay();
    for (WORD M : Modifiers) D.KeyDown(M);
    D.KeyPress(Key);
    for (WORD M : Modifiers) D.KeyUp(M);
    Pump();
  }
  static bool Logged(TDesktopProgramWindow* W, const std::string& Line) {
    return std::find(W->Log.begin(), W->Log.end(), Line) != W->Log.end();
  }
};
}  // namespace

TEST_F(DesktopProgramTest, MinimizingHidesTheWindowIntoTheTrayAndAClickBringsItBack) {
  TDesktopProgramWindow* W = Open(false);
  ASSERT_TRUE(InFront(W));
  EXPECT_TRUE(TrayIcons().empty()) << "no icon while the window shows";

  for (bool Double : {false, true}) {
    SCOPED_TRACE(Double ? "double click" : "click");
    // The title bar's minimize button.
    SendMessageA(W->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_FALSE(W->GetVisible());
    EXPECT_FALSE(IsWindowVisible(W->Handle()));
    ASSERT_EQ(TrayIcons().size(), 1u);
    const TTrayIcon Icon = TrayIcons()[0];
    EXPECT_EQ(Icon.Wnd, TCoolTrayIcon::HandlerWindow());

    if (Double) ASSERT_TRUE(HeadlessTray().DoubleClick(Icon.Wnd, Icon.Id));
    else ASSERT_TRUE(HeadlessTray().Click(Icon.Wnd, Icon.Id));
    Run(GetDoubleClickTime() + 20);  // a single click waits to be no double click
    EXPECT_TRUE(InFront(W)) << "restored, shown and in front";
    EXPECT_EQ(W->GetWindowState(), wsNormal);
    EXPECT_TRUE(TrayIcons().empty()) << "the icon leaves the tray";
  }
}

TEST_F(DesktopProgramTest, TheActivationHotKeyShowsTheWindowFromTheTray) {
  TDesktopProgramWindow* W = Open(true);
  EXPECT_TRUE(Logged(W, "hot keys activation=1 indent=1 convert=1"));
  W->MinimizeToSystemTrayClick(W);
  Pump();
  ASSERT_FALSE(IsWindowVisible(W->Handle()));
  ASSERT_EQ(TrayIcons().size(), 1u);

  // Ctrl with the key that types "$" on a French keyboard.
  Press({VK_CONTROL}, VK_OEM_1);
  EXPECT_TRUE(InFront(W));
  EXPECT_EQ(TrayIcons().size(), 1u) << "a hot key only shows the window; the icon stays";
  EXPECT_FALSE(Logged(W, "closed"));
}

TEST_F(DesktopProgramTest, TheConvertHotKeyPastesTheClipboardAndConverts) {
  sxtest::TScratchDir Out("convert");
  const std::string Target = Out / "clip.html";
  TDesktopProgramWindow* W = Open(true);
  W->Input->SetText("the file that was open");
  W->MinimizeToSystemTrayClick(W);
  Pump();
  Clipboard()->SetAsText("Pasted from the clipboard");
  TDialogScript Answers;
  Answers.ThenFile(Target.c_str());

  Press({VK_MENU}, VK_OEM_5);  // Alt with the "*" key
  ASSERT_EQ(Answers.Asked().size(), 1u);
  EXPECT_EQ(Answers.Asked()[0].Kind, "TSaveDialog");
  EXPECT_EQ(sxtest::ReadFile(Target), "Pasted from the clipboard");
  EXPECT_EQ(W->Input->GetText(), "Pasted from the clipboard");
  EXPECT_TRUE(Logged(W, "closed")) << "the open file is closed first";
  EXPECT_TRUE(Logged(W, "converted " + Target));
  EXPECT_TRUE(InFront(W));

  // Ctrl with "*": close the file, and show the window.
  Press({VK_CONTROL}, VK_OEM_5);
  EXPECT_EQ(W->Input->GetText(), "");
  EXPECT_EQ(std::count(W->Log.begin(), W->Log.end(), "closed"), 2);
}

// The default hot keys need the unshifted "$" and "*" keys: a keyboard
// without them leaves them unregistered, and says so instead of showing
// an empty text.
TEST_F(DesktopProgramTest, DefaultHotKeysStayUnregisteredOnAKeyboardWithoutTheirKeys) {
  TDesktopProgramWindow* W = Open(false);
  EXPECT_TRUE(Logged(W, "hot keys activation=0 indent=0 convert=0"));
  EXPECT_EQ(W->HotKeyManager->HotKeyCount(), 0);
  for (const char* Text : {"Ctrl+$", "Ctrl+*", "Alt+*"}) EXPECT_EQ(HotKeyDisplayText(Text, true), HotKeyNotAvailableText);
  // Their keys then do nothing of the program's.
  Press({VK_CONTROL}, VK_OEM_1);
  EXPECT_FALSE(Logged(W, "closed"));
}
