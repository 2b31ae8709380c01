#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiObjectTable.h"

#include <gtest/gtest.h>

namespace {
class TCanvasDC {
public:
  TCanvasDC(int W, int H, COLORREF Background = RGB(128, 128, 128)) : FW(W), FH(H) {
    Dc = CreateCompatibleDC(nullptr);
    Bmp = CreateBitmap(W, H, 1, 32, nullptr);
    Old = SelectObject(Dc, Bmp);
    TRect R(0, 0, W, H);
    HBRUSH B = CreateSolidBrush(Background);
    FillRect(Dc, &R, B);
    DeleteObject(B);
  }
  ~TCanvasDC() {
    SelectObject(Dc, Old);
    DeleteDC(Dc);
    DeleteObject(Bmp);
  }
  COLORREF Px(int X, int Y) const { return GetPixel(Dc, X, Y); }
  std::vector<COLORREF> All() const {
    std::vector<COLORREF> V;
    for (int Y = 0; Y < FH; ++Y)
      for (int X = 0; X < FW; ++X) V.push_back(Px(X, Y));
    return V;
  }
  int Count(COLORREF C) const {
    int N = 0;
    for (COLORREF P : All()) N += P == C;
    return N;
  }
  HDC Dc;

private:
  int FW, FH;
  HBITMAP Bmp;
  HGDIOBJ Old;
};

COLORREF Sys(int I) { return GetSysColor(I); }
}  // namespace

struct TEdgeCase {
  UINT Edge;
  int OuterTopLeft, OuterBottomRight, InnerTopLeft, InnerBottomRight;
  const char* Why;
};

TEST(DrawEdge, PaintsTheClassicColoursRingByRing) {
  const TEdgeCase Cases[] = {
      {EDGE_RAISED, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, "raised"},
      {EDGE_SUNKEN, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, "sunken"},
      {EDGE_ETCHED, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, "etched"},
      {EDGE_BUMP, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT, "bump"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TCanvasDC D(12, 10);
    TRect R(1, 1, 11, 9);
    ASSERT_TRUE(DrawEdge(D.Dc, &R, C.Edge, BF_RECT | BF_ADJUST));
    EXPECT_EQ(R, TRect(3, 3, 9, 7));  // two rings taken off
    EXPECT_EQ(D.Px(1, 1), Sys(C.OuterTopLeft));
    EXPECT_EQ(D.Px(5, 1), Sys(C.OuterTopLeft));
    EXPECT_EQ(D.Px(10, 5), Sys(C.OuterBottomRight));
    EXPECT_EQ(D.Px(10, 1), Sys(C.OuterBottomRight));  // corner belongs to bottom/right
    EXPECT_EQ(D.Px(1, 8), Sys(C.OuterBottomRight));
    EXPECT_EQ(D.Px(2, 4), Sys(C.InnerTopLeft));
    EXPECT_EQ(D.Px(9, 4), Sys(C.InnerBottomRight));
    EXPECT_EQ(D.Px(5, 5), RGB(128, 128, 128));  // no BF_MIDDLE: untouched
    EXPECT_EQ(D.Px(0, 0), RGB(128, 128, 128));
  }
  // Only the sides asked for; BF_MIDDLE fills the rest with the face colour.
  TCanvasDC D(10, 10);
  TRect R(0, 0, 10, 10);
  DrawEdge(D.Dc, &R, BDR_RAISEDINNER, BF_TOP | BF_MIDDLE);
  EXPECT_EQ(D.Px(0, 0), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(D.Px(0, 5), Sys(COLOR_BTNFACE));
  EXPECT_EQ(D.Px(9, 9), Sys(COLOR_BTNFACE));
  // Flat: one colour all round.
  TRect F(0, 0, 10, 10);
  DrawEdge(D.Dc, &F, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
  EXPECT_EQ(D.Px(0, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(D.Px(9, 9), Sys(COLOR_BTNSHADOW));
}

TEST(DrawFocusRect, InvertsEveryOtherBorderPixelAndUndoesItself) {
  TCanvasDC D(12, 9);
  auto Before = D.All();
  TRect R(1, 1, 11, 8);
  ASSERT_TRUE(DrawFocusRect(D.Dc, &R));
  const COLORREF Inv = RGB(127, 127, 127);
  EXPECT_EQ(D.Px(1, 1), Inv);
  EXPECT_EQ(D.Px(2, 1), RGB(128, 128, 128));
  EXPECT_EQ(D.Px(3, 1), Inv);
  EXPECT_EQ(D.Px(1, 3), Inv);
  EXPECT_EQ(D.Px(5, 4), RGB(128, 128, 128));  // inside untouched
  // 10x7 border has 30 pixels; half of them change.
  EXPECT_EQ(D.Count(Inv), 15);
  DrawFocusRect(D.Dc, &R);
  EXPECT_EQ(D.All(), Before);
}

TEST(DrawFrameControl, CheckBoxShowsItsMarkOnlyWhenChecked) {
  TCanvasDC Off(13, 13), On(13, 13), Grey(13, 13);
  TRect R(0, 0, 13, 13);
  DrawFrameControl(Off.Dc, &R, DFC_BUTTON, DFCS_BUTTONCHECK);
  DrawFrameControl(On.Dc, &R, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  DrawFrameControl(Grey.Dc, &R, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
  // A sunken box around a window-coloured well.
  EXPECT_EQ(Off.Px(0, 0), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(Off.Px(12, 12), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(Off.Px(6, 6), Sys(COLOR_WINDOW));
  EXPECT_EQ(Off.Count(Sys(COLOR_WINDOWTEXT)), 0);
  EXPECT_GT(On.Count(Sys(COLOR_WINDOWTEXT)), 10);
  EXPECT_EQ(On.Px(6, 6), Sys(COLOR_WINDOWTEXT));  // the tick crosses the middle
  EXPECT_EQ(Grey.Count(Sys(COLOR_WINDOWTEXT)), 0);
  EXPECT_GT(Grey.Count(Sys(COLOR_GRAYTEXT)), 10);
}

TEST(DrawFrameControl, RadioMaskIsARoundBlackDiscOnWhite) {
  TCanvasDC D(12, 12);
  TRect R(0, 0, 12, 12);
  DrawFrameControl(D.Dc, &R, DFC_BUTTON, DFCS_BUTTONRADIOMASK);
  EXPECT_EQ(D.Px(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(D.Px(11, 11), RGB(255, 255, 255));
  EXPECT_EQ(D.Px(6, 6), RGB(0, 0, 0));
  EXPECT_EQ(D.Px(0, 6), RGB(0, 0, 0));
  EXPECT_EQ(D.Px(11, 6), RGB(0, 0, 0));
  EXPECT_EQ(D.Count(RGB(0, 0, 0)) + D.Count(RGB(255, 255, 255)), 144);
  // The image covers the same pixels the mask marks black, and the dot shows
  // when checked.
  const COLORREF Bg = RGB(1, 2, 3);  // in no system colour
  TCanvasDC Img(12, 12, Bg), Dot(12, 12);
  DrawFrameControl(Img.Dc, &R, DFC_BUTTON, DFCS_BUTTONRADIO);
  DrawFrameControl(Dot.Dc, &R, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
  for (int Y = 0; Y < 12; ++Y)
    for (int X = 0; X < 12; ++X)
      EXPECT_EQ(Img.Px(X, Y) != Bg, D.Px(X, Y) == RGB(0, 0, 0)) << X << "," << Y;
  EXPECT_EQ(Img.Px(6, 6), Sys(COLOR_WINDOW));
  EXPECT_EQ(Dot.Px(6, 6), Sys(COLOR_WINDOWTEXT));
}

TEST(DrawFrameControl, ScrollArrowsPointTheirWay) {
  struct TArrowCase { UINT Kind; int DX, DY; const char* Why; };
  const TArrowCase Cases[] = {
      {DFCS_SCROLLUP, 0, -1, "up"},
      {DFCS_SCROLLDOWN, 0, 1, "down"},
      {DFCS_SCROLLCOMBOBOX, 0, 1, "combo box: down"},
      {DFCS_SCROLLLEFT, -1, 0, "left"},
      {DFCS_SCROLLRIGHT, 1, 0, "right"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TCanvasDC D(17, 17);
    TRect R(0, 0, 17, 17);
    ASSERT_TRUE(DrawFrameControl(D.Dc, &R, DFC_SCROLL, C.Kind));
    // The arrow's ink: its widest line lies at the base, opposite the tip.
    const COLORREF Ink = Sys(COLOR_BTNTEXT);
    int Widest = -1, WidestAt = 0, TipAt = 0;
    for (int K = 2; K < 15; ++K) {
      int N = 0;
      for (int J = 2; J < 15; ++J) N += D.Px(C.DX ? K : J, C.DX ? J : K) == Ink;
      if (N > Widest) { Widest = N; WidestAt = K; }
      if (N > 0 && (C.DX + C.DY) > 0) TipAt = K;
      if (N > 0 && (C.DX + C.DY) < 0 && TipAt == 0) TipAt = K;
    }
    ASSERT_GT(Widest, 2);
    if (C.DX + C.DY > 0) EXPECT_LT(WidestAt, TipAt);
    else EXPECT_GT(WidestAt, TipAt);
    // A raised face behind it.
    EXPECT_EQ(D.Px(16, 16), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(D.Px(8, 3), Sys(COLOR_BTNFACE));
  }
}

TEST(DrawFrameControl, CaptionButtonsAndSizeGripDrawTheirGlyphs) {
  for (UINT Which : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONMAX, DFCS_CAPTIONRESTORE, DFCS_CAPTIONHELP}) {
    SCOPED_TRACE(Which);
    TCanvasDC D(16, 14);
    TRect R(0, 0, 16, 14);
    ASSERT_TRUE(DrawFrameControl(D.Dc, &R, DFC_CAPTION, Which));
    EXPECT_GT(D.Count(Sys(COLOR_BTNTEXT)), 4);
    TCanvasDC Off(16, 14);
    DrawFrameControl(Off.Dc, &R, DFC_CAPTION, Which | DFCS_INACTIVE);
    EXPECT_EQ(Off.Count(Sys(COLOR_BTNTEXT)), 0);
  }
  TCanvasDC G(16, 16);
  TRect R(0, 0, 16, 16);
  ASSERT_TRUE(DrawFrameControl(G.Dc, &R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
  EXPECT_EQ(G.Px(1, 1), Sys(COLOR_BTNFACE));  // top-left stays plain
  EXPECT_GT(G.Count(Sys(COLOR_BTNSHADOW)), 10);
  EXPECT_GT(G.Count(Sys(COLOR_BTNHIGHLIGHT)), 5);
  // Push buttons shrink the rectangle to their face when asked.
  TRect P(0, 0, 20, 10);
  DrawFrameControl(G.Dc, &P, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  EXPECT_EQ(P, TRect(2, 2, 18, 8));
}

TEST(DrawFrameControl, MenuGlyphsAreBlackOnWhite) {
  for (UINT Which : {DFCS_MENUARROW, DFCS_MENUCHECK, DFCS_MENUBULLET, DFCS_MENUARROWRIGHT}) {
    SCOPED_TRACE(Which);
    TCanvasDC D(15, 15);
    TRect R(0, 0, 15, 15);
    ASSERT_TRUE(DrawFrameControl(D.Dc, &R, DFC_MENU, Which));
    EXPECT_GT(D.Count(RGB(0, 0, 0)), 3);
    EXPECT_EQ(D.Count(RGB(0, 0, 0)) + D.Count(RGB(255, 255, 255)), 225);
    EXPECT_EQ(D.Px(0, 0), RGB(255, 255, 255));
  }
  TCanvasDC D(15, 15);
  TRect R(0, 0, 15, 15);
  EXPECT_FALSE(DrawFrameControl(D.Dc, &R, DFC_MENU, 7));
}
