// The BUTTON class on its own: kinds, checks, radio groups, keys, owner
// drawing and the classic look.
#include <gtest/gtest.h>

#include <vector>

#include "../win/WinTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Resources.h"
#include "platform/win/Win.h"

namespace {
class ButtonTest : public TWinTest {
protected:
  void SetUp() override {
    TWinTest::SetUp();
    Top = Make(WS_OVERLAPPED | WS_VISIBLE, {100, 100, 500, 400});
  }
  HWND MakeButton(DWORD Style, const char* Text, TRect R = {10, 10, 110, 35}, int Id = 1) {
    HWND B = CreateWindowExA(0, "BUTTON", Text, WS_CHILD | WS_VISIBLE | Style, R.Left, R.Top, R.Width(), R.Height(),
                             Top, HMENU(std::intptr_t(Id)), nullptr, nullptr);
    EXPECT_NE(B, nullptr);
    SendMessageA(B, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return B;
  }
  void ClickOn(HWND B) {
    TRect R;
    GetWindowRect(B, &R);
    Screen().Click(R.Left + 5, R.Top + R.Height() / 2);
    Pump();
  }
  int Clicks(HWND B) const {
    int N = 0;
    for (const TLogged& L : Logged(Top, WM_COMMAND)) N += HWND(L.L) == B && HIWORD(L.W) == BN_CLICKED;
    return N;
  }
  LRESULT Check(HWND B) const { return SendMessageA(B, BM_GETCHECK, 0, 0); }
  HWND Top = nullptr;
};
}  // namespace

TEST_F(ButtonTest, ClicksChangeTheCheckOfAutomaticKindsOnly) {
  struct TCase {
    DWORD Kind;
    std::vector<LRESULT> After;  // the check after each of three clicks
    const char* Why;
  };
  const TCase Cases[] = {
      {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}, "auto check box toggles"},
      {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}, "auto 3-state cycles"},
      {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}, "manual check box leaves it to the parent"},
      {BS_3STATE, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}, "manual 3-state too"},
      {BS_PUSHBUTTON, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}, "a push button has no check"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    HWND B = MakeButton(C.Kind, "Box");
    ClearLog();
    for (std::size_t i = 0; i < C.After.size(); ++i) {
      ClickOn(B);
      EXPECT_EQ(Check(B), C.After[i]) << "click " << i + 1;
    }
    EXPECT_EQ(Clicks(B), 3) << "every click tells the parent";
    DestroyWindow(B);
  }
}

TEST_F(ButtonTest, AutomaticRadioButtonsUncheckTheirGroupOnly) {
  HWND A = MakeButton(BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, "A", {10, 10, 110, 30}, 1);
  HWND B = MakeButton(BS_AUTORADIOBUTTON, "B", {10, 30, 110, 50}, 2);
  HWND C = MakeButton(BS_AUTORADIOBUTTON, "C", {10, 50, 110, 70}, 3);
  HWND D = MakeButton(BS_AUTORADIOBUTTON | WS_GROUP, "D", {10, 70, 110, 90}, 4);
  // Groups follow the dialog order of the siblings (GW_HWNDNEXT), which is
  // creation order: A to D.
  ASSERT_EQ(GetWindow(A, GW_HWNDNEXT), B);
  SendMessageA(A, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(D, BM_SETCHECK, BST_CHECKED, 0);
  ClickOn(C);
  EXPECT_EQ(Check(A), BST_UNCHECKED);
  EXPECT_EQ(Check(B), BST_UNCHECKED);
  EXPECT_EQ(Check(C), BST_CHECKED);
  EXPECT_EQ(Check(D), BST_CHECKED) << "another group";
  EXPECT_TRUE(GetWindowLongA(C, GWL_STYLE) & WS_TABSTOP) << "the checked one is the group's tab stop";
  EXPECT_FALSE(GetWindowLongA(A, GWL_STYLE) & WS_TABSTOP);
  // Reached by the keyboard, a radio button is chosen.
  SetFocus(B);
  Pump();
  EXPECT_EQ(Check(B), BST_CHECKED);
  EXPECT_EQ(Check(C), BST_UNCHECKED);
}

TEST_F(ButtonTest, SpaceClicksAndAReleaseOutsideDoesNot) {
  HWND B = MakeButton(BS_PUSHBUTTON, "Go");
  SetFocus(B);
  Pump();
  ClearLog();
  Screen().KeyDown(VK_SPACE);
  Pump();
  EXPECT_TRUE(SendMessageA(B, BM_GETSTATE, 0, 0) & BST_PUSHED) << "pressed while Space is down";
  EXPECT_EQ(Clicks(B), 0);
  Screen().KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(Clicks(B), 1);
  EXPECT_FALSE(SendMessageA(B, BM_GETSTATE, 0, 0) & BST_PUSHED);

  TRect R;
  GetWindowRect(B, &R);
  Screen().MouseDown(R.Left + 5, R.Top + 5);
  Screen().MouseMove(R.Right + 20, R.Top + 5);
  Pump();
  EXPECT_FALSE(SendMessageA(B, BM_GETSTATE, 0, 0) & BST_PUSHED) << "drawn up while the mouse is away";
  Screen().MouseUp(R.Right + 20, R.Top + 5);
  Pump();
  EXPECT_EQ(Clicks(B), 1);
  SendMessageA(B, BM_CLICK, 0, 0);
  EXPECT_EQ(Clicks(B), 2);
}

TEST_F(ButtonTest, DialogCodesAndStyleChanges) {
  HWND P = MakeButton(BS_PUSHBUTTON, "P");
  EXPECT_EQ(SendMessageA(P, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
  SendMessageA(P, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
  EXPECT_EQ(SendMessageA(P, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
  EXPECT_EQ(GetWindowLongA(P, GWL_STYLE) & BS_TYPEMASK, LONG_PTR(BS_DEFPUSHBUTTON));
  HWND R = MakeButton(BS_RADIOBUTTON, "R");
  EXPECT_EQ(SendMessageA(R, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
  HWND G = MakeButton(BS_GROUPBOX, "G");
  EXPECT_EQ(SendMessageA(G, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  // BST_INDETERMINATE only for 3-state kinds.
  HWND C = MakeButton(BS_CHECKBOX, "C");
  SendMessageA(C, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(Check(C), BST_CHECKED);
}

TEST_F(ButtonTest, OwnerDrawnButtonAsksItsParentWithTheState) {
  std::vector<UINT> States;
  On(Top, [&](HWND, UINT M, WPARAM, LPARAM L) -> std::optional<LRESULT> {
    if (M != WM_DRAWITEM) return std::nullopt;
    const auto* Di = reinterpret_cast<const DRAWITEMSTRUCT*>(L);
    EXPECT_EQ(Di->CtlType, ODT_BUTTON);
    EXPECT_EQ(Di->CtlID, 9u);
    States.push_back(Di->itemState);
    FillRect(Di->hDC, &Di->rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
    return TRUE;
  });
  HWND B = MakeButton(BS_OWNERDRAW, "Own", {10, 10, 110, 35}, 9);
  UpdateWindow(Top);
  ASSERT_FALSE(States.empty());
  EXPECT_EQ(States.back() & ODS_SELECTED, 0u);
  TRect R;
  GetWindowRect(B, &R);
  EXPECT_EQ(Screen().ScreenPixel(R.Left + 50, R.Top + 12), GetSysColor(COLOR_HIGHLIGHT));
  Screen().MouseDown(R.Left + 5, R.Top + 5);
  Pump();
  UpdateWindow(Top);
  EXPECT_NE(States.back() & ODS_SELECTED, 0u);
  EXPECT_NE(States.back() & ODS_FOCUS, 0u);
  Screen().MouseUp(R.Left + 5, R.Top + 5);
  Pump();
}

TEST_F(ButtonTest, ClassicLookOfPushAndDefaultButtons) {
  HWND P = MakeButton(BS_PUSHBUTTON, "", {10, 10, 90, 35});
  HWND D = MakeButton(BS_DEFPUSHBUTTON, "", {100, 10, 180, 35});
  HWND C = MakeButton(BS_AUTOCHECKBOX, "", {10, 50, 110, 70});
  SendMessageA(C, BM_SETCHECK, BST_CHECKED, 0);
  UpdateWindow(Top);
  auto Px = [&](HWND W, int X, int Y) {
    TPoint Pt{X, Y};
    ClientToScreen(W, &Pt);
    return Screen().ScreenPixel(Pt.X, Pt.Y);
  };
  EXPECT_EQ(Px(P, 0, 0), GetSysColor(COLOR_3DHILIGHT)) << "raised: light at the top left";
  EXPECT_EQ(Px(P, 79, 24), GetSysColor(COLOR_3DDKSHADOW)) << "dark at the bottom right";
  EXPECT_EQ(Px(P, 40, 12), GetSysColor(COLOR_3DFACE));
  EXPECT_EQ(Px(D, 0, 0), GetSysColor(COLOR_WINDOWFRAME)) << "the default button's frame";
  EXPECT_EQ(Px(D, 1, 1), GetSysColor(COLOR_3DHILIGHT));
  // The check box's glyph: a sunken white box with the dark tick inside.
  const int Y0 = (20 - 13) / 2;
  EXPECT_EQ(Px(C, 0, Y0), GetSysColor(COLOR_3DSHADOW));
  int Ink = 0;
  for (int Y = Y0 + 3; Y < Y0 + 10; ++Y)
    for (int X = 3; X < 10; ++X) Ink += Px(C, X, Y) == GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_GT(Ink, 5);
  // Pressed, the push button sinks.
  SendMessageA(P, BM_SETSTATE, TRUE, 0);
  UpdateWindow(Top);
  EXPECT_NE(Px(P, 0, 0), GetSysColor(COLOR_3DHILIGHT));
}

TEST_F(ButtonTest, BitmapButtonShowsItsPictureCentred) {
  HWND B = MakeButton(BS_PUSHBUTTON | BS_BITMAP, "ignored", {10, 10, 90, 40});
  std::vector<std::uint32_t> Green(8 * 6, 0x0000FF00);
  HBITMAP Bmp = CreateBitmap(8, 6, 1, 32, Green.data());
  EXPECT_EQ(SendMessageA(B, BM_SETIMAGE, IMAGE_BITMAP, LPARAM(Bmp)), 0);
  UpdateWindow(Top);
  TPoint Centre{40, 15};
  ClientToScreen(B, &Centre);
  EXPECT_EQ(Screen().ScreenPixel(Centre.X, Centre.Y), RGB(0, 255, 0));
  EXPECT_EQ(Screen().ScreenPixel(Centre.X - 15, Centre.Y), GetSysColor(COLOR_3DFACE));
  DestroyWindow(B);
  DeleteObject(Bmp);
}
