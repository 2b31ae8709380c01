#include "PaintTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/gdi/Gdi.h"

namespace bptest {

HBRUSH TTestWindow::CurrentBrush() const {
  if (!Painter) return TdxBarPaintWindow::CurrentBrush();
  if (Type != ptMenu) return Painter->GetToolbarBrush();
  // A menu's background brush; the base style names it by a colour index.
  const HBRUSH B = Painter->GetSubMenuBrush();
  return reinterpret_cast<intptr_t>(B) <= 31 ? Painter->GetBarBrush() : B;
}

void TTestWindow::PaintBackground(HDC DC, const TRect& R, HBRUSH Fallback) const {
  if (!PainterBackground || !Painter) {
    TdxBarPaintWindow::PaintBackground(DC, R, Fallback);
    return;
  }
  if (Type == ptMenu)
    Painter->DrawSubMenuBitmapBackground(*this, DC, R);
  else
    Painter->DrawDockedBarBitmapBackground(*this, DC, R);
}

void TTestWindow::PaintDockBackground(HDC DC, const TRect& R, HBRUSH Fallback) const {
  if (!Painter || DockSite.IsEmpty()) {
    TdxBarPaintWindow::PaintDockBackground(DC, R, Fallback);
    return;
  }
  // The dock site's picture, shifted by where the bar sits on it.
  TTestWindow Site;
  Site.Docking = Docking;
  Site.Client = DockSite;
  TPoint Old;
  OffsetViewportOrgEx(DC, -Docked.Left, -Docked.Top, &Old);
  TRect S = R;
  OffsetRect(&S, Docked.Left, Docked.Top);
  Painter->DrawDockControlBackground(Site, DC, clBtnFace, nullptr, S, {0, 0});
  SetViewportOrgEx(DC, Old.X, Old.Y, nullptr);
}

std::unique_ptr<TBitmap> MakeGlyph() {
  auto B = std::make_unique<TBitmap>();
  B->SetPixelFormat(pf32bit);
  B->SetSize(16, 16);
  TCanvas* C = B->Canvas();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      TColor P = clFuchsia;
      if (x >= 2 && x <= 13 && y >= 2 && y <= 13) {
        if (x == 2 || x == 13 || y == 2 || y == 13)
          P = clBlue;
        else if (x == y)
          P = clRed;
        else if (x >= 6 && x <= 9 && y >= 6 && y <= 9)
          P = clLime;
      }
      C->SetPixel(x, y, P);
    }
  return B;
}

void ExpectMatchesGolden(cxtest::TPaintBox& Box, const std::string& Name, const std::vector<TRect>& Skip) {
  const std::string Path = std::string(SX_SOURCE_DIR) + "/tests/fixtures/bars/" + Name;
  if (const char* Shots = std::getenv("SX_SHOTS_DIR")) Box.SavePng(std::string(Shots) + "/" + Name, 4);
  const char* Update = std::getenv("SX_UPDATE_GOLDENS");
  if (Update && std::string(Update) == "1") {
    Box.SavePng(Path);
    return;
  }
  int W = 0, H = 0;
  std::vector<std::uint32_t> Px;
  ASSERT_TRUE(cxtest::ReadPng(Path, W, H, Px)) << "golden " << Name << " is missing";
  ASSERT_EQ(W, Box.Bitmap()->GetWidth());
  ASSERT_EQ(H, Box.Bitmap()->GetHeight());
  int Differences = 0;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      bool Skipped = false;
      for (const TRect& S : Skip) Skipped = Skipped || S.Contains({X, Y});
      if (Skipped) continue;
      const COLORREF C = COLORREF(Box.Pixel(X, Y));
      const std::uint32_t Got = ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF);
      if (Got != Px[std::size_t(Y) * W + X] && ++Differences <= 5)
        ADD_FAILURE() << Name << " differs at (" << X << ", " << Y << "): " << std::hex << Got << " instead of "
                      << Px[std::size_t(Y) * W + X];
    }
  EXPECT_EQ(Differences, 0) << Name;
}

}  // namespace bptest
