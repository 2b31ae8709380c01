#include "platform/win/Tray.h"

#include <cstring>

#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/IconApi.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "platform/win/Window.h"

namespace {
constexpr UINT CallbackMsg = 0x800;

struct TNote { UINT Msg; WPARAM W; LPARAM L; };
std::vector<TNote>& Notes() {
  static std::vector<TNote> N;
  return N;
}

LRESULT TrayProc(HWND H, UINT M, WPARAM W, LPARAM L) {
  if (M == CallbackMsg || M == RegisterWindowMessageA("TaskbarCreated")) Notes().push_back({M, W, L});
  return DefWindowProcA(H, M, W, L);
}

class TrayTest : public ::testing::Test {
protected:
  void SetUp() override {
    ResetWindowSystem();
    SetTrayHost(nullptr);
    Notes().clear();
    WNDCLASSEXA C;
    C.lpfnWndProc = TrayProc;
    C.lpszClassName = "SxTrayTest";
    RegisterClassExA(&C);
    FWnd = CreateWindowExA(0, "SxTrayTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(FWnd, nullptr);
    HBITMAP Mask = CreateBitmap(16, 32, 1, 1, nullptr);  // a monochrome icon: AND over XOR
    ICONINFO Ii;
    Ii.hbmMask = Mask;
    FIcon = CreateIconIndirect(&Ii);
    DeleteObject(Mask);
    ASSERT_NE(FIcon, nullptr);
  }
  void TearDown() override {
    DestroyIcon(FIcon);
    ResetWindowSystem();
    SetTrayHost(nullptr);
  }
  NOTIFYICONDATAA Data(UINT Flags, const char* Tip = "") {
    NOTIFYICONDATAA D;
    D.hWnd = FWnd;
    D.uID = 1;
    D.uFlags = Flags;
    D.uCallbackMessage = CallbackMsg;
    D.hIcon = FIcon;
    std::strncpy(D.szTip, Tip, sizeof D.szTip - 1);
    return D;
  }
  // The mouse messages the window got through its callback message.
  std::vector<LPARAM> Delivered() {
    HeadlessDisplay().ProcessMessages();
    std::vector<LPARAM> R;
    for (auto& N : Notes())
      if (N.Msg == CallbackMsg) {
        EXPECT_EQ(N.W, 1u) << "wParam is the icon id";
        R.push_back(N.L);
      }
    Notes().clear();
    return R;
  }
  HWND FWnd = nullptr;
  HICON FIcon = nullptr;
};
}  // namespace

TEST_F(TrayTest, HeadlessTrayRecordsAddTipClickAndDelete) {
  auto D = Data(NIF_MESSAGE | NIF_ICON | NIF_TIP, "Sourcelux v1.0.0");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &D));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &D)) << "the icon is there already";
  auto Tip = Data(NIF_TIP, "Converting");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &Tip));
  ASSERT_EQ(TrayIcons().size(), 1u);
  EXPECT_EQ(TrayIcons()[0].Tip, "Converting");

  THeadlessTray& Tray = HeadlessTray();
  ASSERT_TRUE(Tray.Click(FWnd, 1));
  EXPECT_EQ(Delivered(), (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  ASSERT_TRUE(Tray.DoubleClick(FWnd, 1));
  EXPECT_EQ(Delivered(), (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
  ASSERT_TRUE(Tray.RightClick(FWnd, 1));
  EXPECT_EQ(Delivered(), (std::vector<LPARAM>{WM_RBUTTONDOWN, WM_RBUTTONUP}));

  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &D));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_DELETE, &D));
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &Tip));
  EXPECT_FALSE(Tray.Click(FWnd, 1)) << "a removed icon cannot be clicked";
  EXPECT_TRUE(TrayIcons().empty());
  EXPECT_EQ(Tray.TakeLog(), (std::vector<std::string>{
                                "add 1 msg=2048 icon tip=\"Sourcelux v1.0.0\"",
                                "modify 1 msg=2048 icon tip=\"Converting\"",
                                "delete 1",
                            }));
}

TEST_F(TrayTest, TipsAreCutToTheRecordsSizeAndVersionsChangeTheMessages) {
  const std::string Long(200, 'x');
  auto D = Data(NIF_MESSAGE | NIF_TIP, Long.c_str());
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &D));
  EXPECT_EQ(TrayIcons()[0].Tip, std::string(127, 'x'));
  D.cbSize = NOTIFYICONDATAA_V1_SIZE;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &D));
  EXPECT_EQ(TrayIcons()[0].Tip, std::string(63, 'x')) << "the first record's tip holds 64 bytes";
  D.cbSize = NOTIFYICONDATAA_V1_SIZE - 1;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &D));
  D.cbSize = sizeof D;

  D.uTimeoutOrVersion = NOTIFYICON_VERSION;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_SETVERSION, &D));
  THeadlessTray& Tray = HeadlessTray();
  Tray.Click(FWnd, 1);
  EXPECT_EQ(Delivered(), (std::vector<LPARAM>{WM_LBUTTONDOWN, WM_LBUTTONUP, NIN_SELECT}));
  Tray.RightClick(FWnd, 1);
  EXPECT_EQ(Delivered(), (std::vector<LPARAM>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_CONTEXTMENU}));

  auto Info = Data(NIF_INFO);
  std::strcpy(Info.szInfoTitle, "Done");
  std::strcpy(Info.szInfo, "3 files converted");
  ASSERT_TRUE(Shell_NotifyIconA(NIM_MODIFY, &Info));
  Tray.ClickBalloon(FWnd, 1);
  EXPECT_EQ(Delivered(), (std::vector<LPARAM>{NIN_BALLOONSHOW, NIN_BALLOONUSERCLICK}));
  EXPECT_EQ(Tray.Log().back(), "balloon 1 \"Done\" \"3 files converted\"");

  D.uTimeoutOrVersion = 7;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_SETVERSION, &D)) << "no such version";
}

TEST_F(TrayTest, ANewTrayAsksWindowsToAddTheirIconsAgain) {
  auto D = Data(NIF_MESSAGE | NIF_ICON);
  ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &D));
  TrayRecreated();
  EXPECT_TRUE(TrayIcons().empty());
  HeadlessDisplay().ProcessMessages();
  ASSERT_EQ(Notes().size(), 1u);
  EXPECT_EQ(Notes()[0].Msg, RegisterWindowMessageA("TaskbarCreated"));
  EXPECT_TRUE(Shell_NotifyIconA(NIM_ADD, &D));

  // Without a notification area, and for a window that is gone.
  HeadlessTray().SetAvailable(false);
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &D));
  HeadlessTray().SetAvailable(true);
  DestroyWindow(FWnd);
  EXPECT_TRUE(TrayIcons().empty()) << "a dead window's icon goes";
  EXPECT_FALSE(Shell_NotifyIconA(NIM_ADD, &D));
}
