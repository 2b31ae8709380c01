// How menus look: a popup menu with every kind of item and a menu bar,
// compared at chosen pixels with goldens that were looked at once.
//
// The glyph columns (check mark, radio bullet, sub-menu arrow) hold no
// text, so they are compared pixel for pixel with small PNGs under
// tests/fixtures/menus; text is checked by its place and ink only, since
// fonts differ between machines. SX_UPDATE_MENU_GOLDENS=1 rewrites the
// PNGs (look at them before committing); SX_SCREENSHOT_DIR saves the
// whole screens for a look.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "../win/WinTestSupport.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Menus.h"

namespace {
class MenuPictures : public TWinTest {
protected:
  void SetUp() override {
    TWinTest::SetUp();
    Owner = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {40, 40, 440, 340});
    SetFocus(Owner);
    Pump();
  }
  void TearDown() override {
    Screen().SetIdleHandler(nullptr);
    TWinTest::TearDown();
  }
  void Shot(const char* Name, const TRect& Area) {
    if (const char* Dir = std::getenv("SX_SCREENSHOT_DIR"))
      Screen().SaveScreenshot(std::string(Dir) + "/" + Name, &Area);
  }
  // The screen's pixels in Area against the golden PNG of that name.
  void CompareGolden(const char* Name, const TRect& Area) {
    std::string Path = std::string(SX_SOURCE_DIR) + "/tests/fixtures/menus/" + Name;
    if (std::getenv("SX_UPDATE_MENU_GOLDENS")) {
      ASSERT_TRUE(Screen().SaveScreenshot(Path, &Area));
      return;
    }
    std::ifstream In(Path, std::ios::binary);
    ASSERT_TRUE(In) << "missing golden " << Path;
    std::vector<Byte> Data((std::istreambuf_iterator<char>(In)), std::istreambuf_iterator<char>());
    TDib Golden = ReadPng(Data);
    ASSERT_EQ(Golden.Width(), Area.Width());
    ASSERT_EQ(Golden.Height(), Area.Height());
    std::vector<std::uint32_t> Pixels = DibToBgra32(Golden);
    int Wrong = 0;
    for (int Y = 0; Y < Area.Height(); ++Y)
      for (int X = 0; X < Area.Width(); ++X) {
        std::uint32_t P = Pixels[std::size_t(Y) * std::size_t(Area.Width()) + std::size_t(X)];
        COLORREF Want = RGB((P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF);
        COLORREF Got = Screen().ScreenPixel(Area.Left + X, Area.Top + Y);
        if (Want != Got && ++Wrong <= 5) ADD_FAILURE() << Name << " differs at " << X << "," << Y;
      }
    EXPECT_EQ(Wrong, 0) << Name;
  }
  // Ink: any pixel of the colour in R.
  bool HasInk(const TRect& R, COLORREF C) {
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      for (int X = R.Left; X < R.Right; ++X)
        if (Screen().ScreenPixel(X, Y) == C) return true;
    return false;
  }
  HWND Owner = nullptr;
};

TEST_F(MenuPictures, PopupMenuShowsEveryKindOfItem) {
  HMENU M = CreatePopupMenu();
  HMENU Sub = CreatePopupMenu();
  AppendMenuA(Sub, MF_STRING, 20, "Inner");
  AppendMenuA(M, MF_STRING | MF_CHECKED, 1, "&Checked");
  MENUITEMINFOA Radio;
  Radio.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING;
  Radio.fType = MFT_RADIOCHECK;
  Radio.fState = MFS_CHECKED;
  Radio.wID = 2;
  char RadioText[] = "&Radio";
  Radio.dwTypeData = RadioText;
  InsertMenuItemA(M, 1, TRUE, &Radio);
  AppendMenuA(M, MF_STRING | MF_GRAYED, 3, "&Disabled");
  AppendMenuA(M, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(M, MF_POPUP, UINT_PTR(Sub), "&More");
  AppendMenuA(M, MF_STRING | MF_DEFAULT, 4, "D&efault\tCtrl+D");
  AppendMenuA(M, MF_STRING, 5, "Selected");
  TRect Rows[7], Win;
  // The pixels are read while the menu shows.
  auto CheckPixels = [&] {
    const COLORREF Menu = GetSysColor(COLOR_MENU), Text = GetSysColor(COLOR_MENUTEXT);
    const COLORREF Gray = GetSysColor(COLOR_GRAYTEXT), Lit = GetSysColor(COLOR_3DHILIGHT);
    const COLORREF Shadow = GetSysColor(COLOR_3DSHADOW), Sel = GetSysColor(COLOR_HIGHLIGHT);
    const int Check = GetSystemMetrics(SM_CXMENUCHECK) + 6;
    auto Column = [&](int Row) { return TRect{Rows[Row].Left, Rows[Row].Top, Rows[Row].Left + Check, Rows[Row].Bottom}; };
    auto Arrow = [&](int Row) { return TRect{Rows[Row].Right - 16, Rows[Row].Top, Rows[Row].Right, Rows[Row].Bottom}; };
    auto Label = [&](int Row) { return TRect{Rows[Row].Left + Check, Rows[Row].Top, Rows[Row].Left + Check + 30, Rows[Row].Bottom}; };

    // The glyphs, pixel for pixel.
    CompareGolden("check.png", Column(0));
    CompareGolden("radio.png", Column(1));
    CompareGolden("arrow.png", Arrow(4));
    // Text by ink: plain items in the text colour, the disabled one embossed
    // in grey and white with no text colour, the selected one on the
    // selection colour.
    EXPECT_TRUE(HasInk(Label(0), Text));
    EXPECT_TRUE(HasInk(Label(2), Gray));
    EXPECT_TRUE(HasInk(Label(2), Lit));
    EXPECT_FALSE(HasInk(Label(2), Text));
    EXPECT_EQ(Screen().ScreenPixel(Rows[6].Right - 2, Rows[6].Top + 1), Sel);
    // Smoothed light text on the selection colour: some pixels near white.
    bool Light = false;
    for (int Y = Label(6).Top; Y < Label(6).Bottom; ++Y)
      for (int X = Label(6).Left; X < Label(6).Right; ++X) {
        COLORREF C = Screen().ScreenPixel(X, Y);
        Light |= GetRValue(C) > 0xC0 && GetGValue(C) > 0xC0 && GetBValue(C) > 0xC0;
      }
    EXPECT_TRUE(Light);
    EXPECT_FALSE(HasInk(Column(2), Text)) << "no check on an unchecked item";
    // The separator: an etched line across the middle of a short row.
    int Mid = (Rows[3].Top + Rows[3].Bottom) / 2;
    EXPECT_LT(Rows[3].Height(), Rows[0].Height());
    EXPECT_EQ(Screen().ScreenPixel(Rows[3].Left + 10, Mid - 1), Shadow);
    EXPECT_EQ(Screen().ScreenPixel(Rows[3].Left + 10, Mid), Lit);
    EXPECT_EQ(Screen().ScreenPixel(Rows[3].Left + 10, Rows[3].Top), Menu);
    // The default item (drawn bold) shows its text.
    auto Ink = [&](const TRect& R) {
      int N = 0;
      for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X) N += Screen().ScreenPixel(X, Y) == Text;
      return N;
    };
    EXPECT_GT(Ink(Label(5)), 0);
    // The accelerator text sits right-aligned, left of the arrow column.
    EXPECT_TRUE(HasInk({Rows[5].Right - 16 - 40, Rows[5].Top, Rows[5].Right - 16, Rows[5].Bottom}, Text));
    // The raised frame: white outer top-left, dark bottom-right.
    EXPECT_EQ(Screen().ScreenPixel(Win.Left + 5, Win.Top + 1), Lit);
    EXPECT_EQ(Screen().ScreenPixel(Win.Right - 1, Win.Bottom - 5), GetSysColor(COLOR_3DDKSHADOW));
  };
  int Round = 0;
  bool Checked = false;
  Screen().SetIdleHandler([&] {
    if (!TrackedMenu()) return false;
    if (Round++ == 0) {
      Screen().KeyPress(VK_UP);  // selects the last item
      return true;
    }
    GetWindowRect(OpenMenuWindows().at(0), &Win);
    for (UINT I = 0; I < 7; ++I) GetMenuItemRect(nullptr, M, I, &Rows[I]);
    Shot("menus-popup.png", Win);
    CheckPixels();
    Checked = true;
    EndMenu();
    return true;
  });
  TrackPopupMenuEx(M, TPM_RETURNCMD, 100, 100, Owner, nullptr);
  EXPECT_TRUE(Checked);
}

TEST_F(MenuPictures, MenuBarShowsItsTitlesAndTheOpenOnePressed) {
  HMENU Bar = CreateMenu();
  HMENU File = CreatePopupMenu();
  AppendMenuA(File, MF_STRING, 1, "&Open");
  AppendMenuA(Bar, MF_POPUP, UINT_PTR(File), "&File");
  AppendMenuA(Bar, MF_STRING | MF_GRAYED, 2, "&Help");
  ASSERT_TRUE(SetMenu(Owner, Bar));
  Pump();
  TRect T0, T1, Win;
  GetMenuItemRect(Owner, Bar, 0, &T0);
  GetMenuItemRect(Owner, Bar, 1, &T1);
  GetWindowRect(Owner, &Win);
  TRect Row{Win.Left, T0.Top - 2, Win.Right, T0.Bottom + 2};
  Shot("menus-bar.png", Row);
  const COLORREF Text = GetSysColor(COLOR_MENUTEXT);
  EXPECT_EQ(T0.Height(), GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(T1.Left, T0.Right) << "titles follow each other";
  EXPECT_TRUE(HasInk(T0, Text));
  EXPECT_FALSE(HasInk(T1, Text)) << "a grayed title";
  EXPECT_TRUE(HasInk(T1, GetSysColor(COLOR_GRAYTEXT)));
  EXPECT_EQ(Screen().ScreenPixel(T0.Left, T0.Top), GetSysColor(COLOR_MENU)) << "no edge while closed";

  // Opened, the title is pressed (sunken edge) and its menu hangs below it.
  TRect Drop;
  COLORREF Corner = 0;
  int Round = 0;
  Screen().SetIdleHandler([&] {
    if (!TrackedMenu()) return false;
    if (Round++ == 0) {
      GetWindowRect(OpenMenuWindows().at(0), &Drop);
      Corner = Screen().ScreenPixel(T0.Left, T0.Top);
      TRect Both{Row.Left, Row.Top, Row.Right, Drop.Bottom + 2};
      Shot("menus-bar-open.png", Both);
    }
    EndMenu();
    return true;
  });
  SendMessageA(Owner, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  EXPECT_EQ(Corner, GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(Drop.Left, T0.Left);
  EXPECT_EQ(Drop.Top, T0.Bottom);
  EXPECT_EQ(Screen().ScreenPixel(T0.Left, T0.Top), GetSysColor(COLOR_MENU)) << "closed again";
}
}  // namespace
