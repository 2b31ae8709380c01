// Text on surfaces of every depth: grey anti-aliasing where the surface can
// hold the greys (true colour), the plain aliased glyph on palette and
// monochrome surfaces.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/DibBitmaps.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/Text.h"

namespace {

constexpr int W = 160, H = 40;

// A memory DC over a white top-down DIB section of the given depth; palette
// depths get an even grey ramp, so that greys would be available to the text.
class TDepthSurface {
public:
  explicit TDepthSurface(int Bpp) {
    std::vector<Byte> Buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* Info = reinterpret_cast<BITMAPINFO*>(Buf.data());
    Info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info->bmiHeader.biWidth = W;
    Info->bmiHeader.biHeight = -H;
    Info->bmiHeader.biPlanes = 1;
    Info->bmiHeader.biBitCount = WORD(Bpp);
    if (Bpp <= 8) {
      const int N = 1 << Bpp;
      Info->bmiHeader.biClrUsed = DWORD(N);
      for (int I = 0; I < N; ++I) {
        const Byte V = Byte(I * 255 / (N - 1));
        Info->bmiColors[I] = RGBQUAD{V, V, V, 0};
      }
    }
    void* Bits = nullptr;
    FBmp = CreateDIBSection(nullptr, Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    FDc = CreateCompatibleDC(nullptr);
    FOld = SelectObject(FDc, FBmp);
    const TRect All{0, 0, W, H};
    FillRect(FDc, &All, HBRUSH(GetStockObject(WHITE_BRUSH)));
    SetBkMode(FDc, TRANSPARENT);
    SetTextColor(FDc, RGB(0, 0, 0));
  }
  ~TDepthSurface() {
    SelectObject(FDc, FOld);
    DeleteDC(FDc);
    DeleteObject(FBmp);
  }
  bool Valid() const { return FBmp != nullptr; }
  HDC Dc() const { return FDc; }
  COLORREF Pixel(int X, int Y) const { return GetPixel(FDc, X, Y); }

private:
  HBITMAP FBmp = nullptr;
  HDC FDc = nullptr;
  HGDIOBJ FOld = nullptr;
};

void DrawSample(HDC Dc, COLORREF Color = RGB(0, 0, 0)) {
  LOGFONTW Lf;
  Lf.lfHeight = -20;
  const char16_t* Face = u"Arial";
  for (int I = 0; Face[I]; ++I) Lf.lfFaceName[I] = Face[I];
  HFONT F = CreateFontIndirectW(&Lf);
  HGDIOBJ Old = SelectObject(Dc, F);
  SetTextColor(Dc, Color);
  const std::u16string Text = u"Hamburgefonts";
  TextOutW(Dc, 4, 6, Text.c_str(), int(Text.size()));
  SelectObject(Dc, Old);
  DeleteObject(F);
}

// The distinct colours other than the white background.
std::set<COLORREF> InkColours(const TDepthSurface& S) {
  std::set<COLORREF> Out;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      if (S.Pixel(X, Y) != RGB(255, 255, 255)) Out.insert(S.Pixel(X, Y));
  return Out;
}

}  // namespace

TEST(ExtTextOut, GlyphEdgesAreSmoothOnTrueColourAndAliasedOnPaletteSurfaces) {
  struct TCase {
    int Bpp;
    bool Smooth;
    const char* Why;
  };
  const TCase Cases[] = {
      {32, true, "32-bit blends the coverage"},
      {24, true, "24-bit (BMP and JPEG pages) blends it too"},
      {16, true, "16-bit blends it within its five bits a channel"},
      {8, false, "a palette surface takes the colour or leaves the pixel, even with greys in its table"},
      {4, false, "so does a 16-colour one"},
      {1, false, "and a monochrome one"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TDepthSurface S(C.Bpp);
    ASSERT_TRUE(S.Valid());
    DrawSample(S.Dc());
    const std::set<COLORREF> Ink = InkColours(S);
    ASSERT_FALSE(Ink.empty()) << "the text was drawn";
    EXPECT_TRUE(Ink.count(RGB(0, 0, 0))) << "glyph stems are solid";
    if (C.Smooth) EXPECT_GE(Ink.size(), 10u) << "intermediate greys at the glyph edges";
    else EXPECT_EQ(Ink.size(), 1u) << "only the text colour";
  }
}

TEST(ExtTextOut, TwentyFourBitTextMatchesThirtyTwoBitPixelForPixel) {
  // Coloured text on a coloured ground, so every channel is blended.
  TDepthSurface S32(32), S24(24), S16(16);
  for (TDepthSurface* S : {&S32, &S24, &S16}) {
    HBRUSH Ground = CreateSolidBrush(RGB(40, 200, 120));
    const TRect All{0, 0, W, H};
    FillRect(S->Dc(), &All, Ground);
    DeleteObject(Ground);
    DrawSample(S->Dc(), RGB(250, 20, 90));
  }
  int Blended = 0;
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const COLORREF A = S32.Pixel(X, Y), B = S24.Pixel(X, Y), C = S16.Pixel(X, Y);
      ASSERT_EQ(A, B) << "at " << X << "," << Y;
      // Five bits a channel, rounded for the ground and again for the blend.
      EXPECT_LE(std::abs(int(GetRValue(A)) - int(GetRValue(C))), 12) << "at " << X << "," << Y;
      EXPECT_LE(std::abs(int(GetGValue(A)) - int(GetGValue(C))), 12) << "at " << X << "," << Y;
      EXPECT_LE(std::abs(int(GetBValue(A)) - int(GetBValue(C))), 12) << "at " << X << "," << Y;
      Blended += A != RGB(40, 200, 120) && A != RGB(250, 20, 90);
    }
  EXPECT_GT(Blended, 20);
}
