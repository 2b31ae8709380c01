// The STATIC class: text alignment and mnemonics, shapes and images.
#include <gtest/gtest.h>

#include "../win/WinTestSupport.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/IconApi.h"
#include "platform/win/StaticControl.h"
#include "platform/win/Win.h"

namespace {
class StaticTest : public TWinTest {
protected:
  void SetUp() override {
    TWinTest::SetUp();
    Top = Make(WS_OVERLAPPED | WS_VISIBLE, {100, 100, 500, 400});
  }
  HWND MakeStatic(DWORD Style, const char* Text, TRect R = {10, 10, 210, 30}) {
    HWND S = CreateWindowExA(0, "STATIC", Text, WS_CHILD | WS_VISIBLE | Style, R.Left, R.Top, R.Width(), R.Height(),
                             Top, nullptr, nullptr, nullptr);
    EXPECT_NE(S, nullptr);
    SendMessageA(S, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), 0);
    UpdateWindow(Top);
    return S;
  }
  COLORREF Px(HWND W, int X, int Y) {
    TPoint P{X, Y};
    ClientToScreen(W, &P);
    return Screen().ScreenPixel(P.X, P.Y);
  }
  bool Dark(COLORREF C) { return GetRValue(C) + GetGValue(C) + GetBValue(C) < 3 * 128; }
  // The first and last columns with dark ink, -1 when none.
  std::pair<int, int> InkColumns(HWND W, int FromY, int ToY) {
    TRect R;
    GetClientRect(W, &R);
    int First = -1, Last = -1;
    for (int X = 0; X < R.Right; ++X)
      for (int Y = FromY; Y < ToY; ++Y)
        if (Dark(Px(W, X, Y))) {
          if (First < 0) First = X;
          Last = X;
          break;
        }
    return {First, Last};
  }
  // Rows with dark ink in the column range.
  std::vector<int> InkRows(HWND W, int FromX, int ToX) {
    TRect R;
    GetClientRect(W, &R);
    std::vector<int> Rows;
    for (int Y = 0; Y < R.Bottom; ++Y)
      for (int X = FromX; X < ToX; ++X)
        if (Dark(Px(W, X, Y))) {
          Rows.push_back(Y);
          break;
        }
    return Rows;
  }
  HWND Top = nullptr;
};
}  // namespace

TEST_F(StaticTest, TextSitsWhereItsAlignmentSays) {
  HWND L = MakeStatic(SS_LEFT, "Text", {10, 10, 210, 30});
  HWND C = MakeStatic(SS_CENTER, "Text", {10, 40, 210, 60});
  HWND R = MakeStatic(SS_RIGHT, "Text", {10, 70, 210, 90});
  const auto InkL = InkColumns(L, 0, 20), InkC = InkColumns(C, 0, 20), InkR = InkColumns(R, 0, 20);
  ASSERT_GE(InkL.first, 0);
  EXPECT_LE(InkL.first, 2);
  EXPECT_NEAR((InkC.first + InkC.second) / 2, 100, 3);
  EXPECT_GE(InkR.second, 196);
  EXPECT_EQ(InkL.second - InkL.first, InkR.second - InkR.first) << "the same text, moved";
  EXPECT_EQ(Px(L, 150, 5), GetSysColor(COLOR_3DFACE)) << "the parent's default static colour";
}

TEST_F(StaticTest, AmpersandUnderlinesTheMnemonicUnlessNoPrefix) {
  HWND M = MakeStatic(SS_LEFT, "&Hello");
  HWND Plain = MakeStatic(SS_LEFT, "Hello", {10, 40, 210, 60});
  HWND NoPrefix = MakeStatic(SS_LEFT | SS_NOPREFIX, "&Hello", {10, 70, 210, 90});
  // The underline adds ink rows below the first letter's.
  const auto Under = InkRows(M, 0, 6), Without = InkRows(Plain, 0, 6);
  ASSERT_FALSE(Without.empty());
  EXPECT_GT(Under.back(), Without.back());
  EXPECT_EQ(InkColumns(M, 0, 20).second, InkColumns(Plain, 0, 20).second) << "the & itself takes no room";
  EXPECT_GT(InkColumns(NoPrefix, 0, 20).second, InkColumns(Plain, 0, 20).second) << "SS_NOPREFIX shows the &";
}

TEST_F(StaticTest, ShapesAndEtchedLinesUseTheSystemColours) {
  HWND Black = MakeStatic(SS_BLACKRECT, "", {10, 10, 30, 30});
  HWND Gray = MakeStatic(SS_GRAYFRAME, "", {40, 10, 60, 30});
  HWND Etched = MakeStatic(SS_ETCHEDHORZ, "", {10, 40, 210, 42});
  HWND Sunken = MakeStatic(SS_LEFT | SS_SUNKEN, "", {10, 50, 110, 70});
  EXPECT_EQ(Px(Black, 10, 10), GetSysColor(COLOR_3DDKSHADOW));
  EXPECT_EQ(Px(Gray, 0, 10), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(Px(Gray, 10, 10), GetSysColor(COLOR_WINDOW)) << "a frame leaves the parent's inside";
  EXPECT_EQ(Px(Etched, 50, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(Px(Etched, 50, 1), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(Px(Sunken, 0, 0), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(GetWindowLongA(Sunken, GWL_STYLE) & SS_TYPEMASK, LONG_PTR(SS_LEFT));
}

TEST_F(StaticTest, IconStaticTakesTheIconsSizeAndDrawsIt) {
  HWND S = MakeStatic(SS_ICON, "", {10, 10, 15, 15});
  // A 24x20 red icon, opaque everywhere.
  std::vector<std::uint32_t> Red(24 * 20, 0x00FF0000);
  std::vector<Byte> Mask(4 * 20, 0);
  ICONINFO Info;
  Info.hbmColor = CreateBitmap(24, 20, 1, 32, Red.data());
  Info.hbmMask = CreateBitmap(24, 20, 1, 1, Mask.data());
  HICON Icon = CreateIconIndirect(&Info);
  DeleteObject(Info.hbmColor);
  DeleteObject(Info.hbmMask);
  ASSERT_NE(Icon, nullptr);
  EXPECT_EQ(SendMessageA(S, STM_SETICON, WPARAM(Icon), 0), 0);
  EXPECT_EQ(HICON(SendMessageA(S, STM_GETICON, 0, 0)), Icon);
  TRect R;
  GetClientRect(S, &R);
  EXPECT_EQ(R, TRect(0, 0, 24, 20));
  UpdateWindow(Top);
  EXPECT_EQ(Px(S, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(Px(S, 23, 19), RGB(255, 0, 0));
  DestroyIcon(Icon);
  // A static is transparent to the mouse unless it notifies.
  EXPECT_EQ(SendMessageA(S, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
}
