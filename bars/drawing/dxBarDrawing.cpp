// dxBarDrawing.cpp — the bar unit's shared drawing routines.
#include "bars/drawing/dxBarDrawing.h"

#include <algorithm>
#include <vector>
#include "controls/base/cxGraphics.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/ImageListHandles.h"
#include "platform/rtl/MulDiv.h"

namespace {

HBRUSH GCheckeredBrush = nullptr;
int GScreenBits = 32;

// A top-down 32-bit DIB section selected into its own memory DC; pixels
// 0x00RRGGBB.
class TDib32 {
public:
  TDib32(int W, int H) : FW(std::max(W, 0)), FH(std::max(H, 0)) {
    if (FW == 0 || FH == 0) return;
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = FW;
    Info.bmiHeader.biHeight = -FH;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    void* Bits = nullptr;
    FBitmap.Reset(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0));
    FBits = static_cast<std::uint32_t*>(Bits);
    if (FBitmap) {
      FDc.Reset(CreateCompatibleDC(nullptr));
      FOld = SelectObject(FDc.Get(), FBitmap.Get());
    }
  }
  ~TDib32() {
    if (FDc && FOld) SelectObject(FDc.Get(), FOld);
  }
  TDib32(const TDib32&) = delete;
  TDib32& operator=(const TDib32&) = delete;
  bool Valid() const { return FBits != nullptr && FDc; }
  HDC Dc() const { return FDc.Get(); }
  std::uint32_t* Bits() const { return FBits; }
  std::uint32_t& At(int X, int Y) { return FBits[Y * FW + X]; }
  int Width() const { return FW; }
  int Height() const { return FH; }

private:
  int FW, FH;
  TUniqueGdiObject<HBITMAP> FBitmap;
  TUniqueDc FDc;
  HGDIOBJ FOld = nullptr;
  std::uint32_t* FBits = nullptr;
};

std::uint32_t ToPixel(COLORREF C) { return ((C & 0xFF) << 16) | (C & 0xFF00) | ((C >> 16) & 0xFF); }

// The glyph's own pixels (image size) and which of them are transparent.
struct TGlyphPixels {
  int W = 0, H = 0;
  std::vector<std::uint32_t> Color;
  std::vector<bool> Transparent;
};

// Reads an image-list entry drawn on BkColor, or a bitmap; the pixel at the
// bottom-left corner is the transparent colour.
bool ReadGlyph(TBitmap* Glyph, TCustomImageList* Images, int ImageIndex, TColor BkColor, TGlyphPixels& G) {
  const bool UseGlyph = Glyph && !Glyph->Empty();
  if (UseGlyph) {
    G.W = Glyph->GetWidth();
    G.H = Glyph->GetHeight();
  } else if (Images && ImageIndex >= 0 && ImageIndex < Images->Count()) {
    G.W = Images->GetWidth();
    G.H = Images->GetHeight();
  } else {
    return false;
  }
  TDib32 Dib(G.W, G.H);
  if (!Dib.Valid()) return false;
  if (UseGlyph) {
    BitBlt(Dib.Dc(), 0, 0, G.W, G.H, Glyph->Canvas()->GetHandle(), 0, 0, SRCCOPY);
  } else {
    const TColor Bk = BkColor == clNone || BkColor == clDefault ? clFuchsia : BkColor;
    const TRect All{0, 0, G.W, G.H};
    TUniqueGdiObject<HBRUSH> B(CreateSolidBrush(ColorToRGB(Bk)));
    FillRect(Dib.Dc(), &All, B.Get());
    ImageList_Draw(Images->GetHandle(), ImageIndex, Dib.Dc(), 0, 0, 0);
  }
  G.Color.assign(Dib.Bits(), Dib.Bits() + G.W * G.H);
  const std::uint32_t Key = G.Color[(G.H - 1) * G.W] & 0xFFFFFF;
  G.Transparent.resize(G.Color.size());
  for (size_t i = 0; i < G.Color.size(); ++i) G.Transparent[i] = (G.Color[i] & 0xFFFFFF) == Key;
  return true;
}

// Puts the opaque glyph pixels (or a solid colour over them) into Buffer,
// stretched from the glyph's size to Dst.
void StretchGlyphInto(TDib32& Buffer, const TGlyphPixels& G, const TRect& Dst, const std::uint32_t* Solid) {
  const int W = Dst.Width(), H = Dst.Height();
  if (W <= 0 || H <= 0) return;
  for (int y = 0; y < H; ++y) {
    const int Y = Dst.Top + y;
    if (Y < 0 || Y >= Buffer.Height()) continue;
    const int Sy = y * G.H / H;
    for (int x = 0; x < W; ++x) {
      const int X = Dst.Left + x;
      if (X < 0 || X >= Buffer.Width()) continue;
      const int Sx = x * G.W / W;
      const size_t I = size_t(Sy) * G.W + Sx;
      if (G.Transparent[I]) continue;
      Buffer.At(X, Y) = Solid ? *Solid : G.Color[I];
    }
  }
}

}  // namespace

HBRUSH CheckeredBrush() {
  if (!GCheckeredBrush) CreateCheckeredBrush();
  return GCheckeredBrush;
}

void CreateCheckeredBrush() {
  FreeCheckeredBrush();
  TDib32 Pattern(8, 8);
  if (!Pattern.Valid()) return;
  const std::uint32_t Hi = ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
  const std::uint32_t Face = ToPixel(GetSysColor(COLOR_BTNFACE));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) Pattern.At(x, y) = (x % 2) == (y % 2) ? Face : Hi;
  // The pattern brush keeps its own copy of the bitmap's pixels.
  TUniqueGdiObject<HBITMAP> Copy(CreateCompatibleBitmap(Pattern.Dc(), 8, 8));
  {
    TMemoryDc Dst(Copy.Get(), Pattern.Dc());
    BitBlt(Dst.Dc(), 0, 0, 8, 8, Pattern.Dc(), 0, 0, SRCCOPY);
  }
  GCheckeredBrush = CreatePatternBrush(Copy.Get());
}

void FreeCheckeredBrush() {
  if (GCheckeredBrush) DeleteObject(GCheckeredBrush);
  GCheckeredBrush = nullptr;
}

int dxBarScreenBitsPerPixel() { return GScreenBits; }
void SetdxBarScreenBitsPerPixel(int Bits) { GScreenBits = Bits; }

void MakeGlyphGrayScale(std::uint32_t* P, int Count) {
  for (int i = 0; i < Count; ++i) {
    const unsigned B = P[i] & 0xFF, G = (P[i] >> 8) & 0xFF, R = (P[i] >> 16) & 0xFF;
    const unsigned A = (B + G + R) / 3;
    P[i] = (P[i] & 0xFF000000u) | (A << 16) | (A << 8) | A;
  }
}

void TintGlyph(std::uint32_t* P, int Count, TColor FadeColor) {
  const COLORREF F = ColorToRGB(FadeColor);
  const unsigned FR = F & 0xFF, FG = (F >> 8) & 0xFF, FB = (F >> 16) & 0xFF;
  for (int i = 0; i < Count; ++i) {
    const unsigned B = P[i] & 0xFF, G = (P[i] >> 8) & 0xFF, R = (P[i] >> 16) & 0xFF;
    const unsigned L = (77 * B + 151 * G + 28 * R) / 256;
    const unsigned T = (192 * L + 64 * 255) / 256;
    const unsigned NB = (192 * FB + 64 * T) / 256, NG = (192 * FG + 64 * T) / 256, NR = (192 * FR + 64 * T) / 256;
    P[i] = (P[i] & 0xFF000000u) | (NR << 16) | (NG << 8) | NB;
  }
}

void LightenGlyph(std::uint32_t* P, int Count) {
  auto L = [](unsigned C) { return C + unsigned(MulDiv(int(255 - C), 3, 10)); };
  for (int i = 0; i < Count; ++i) {
    const unsigned B = P[i] & 0xFF, G = (P[i] >> 8) & 0xFF, R = (P[i] >> 16) & 0xFF;
    P[i] = (P[i] & 0xFF000000u) | (L(R) << 16) | (L(G) << 8) | L(B);
  }
}

void DrawItemGlyph(HDC DC, HBRUSH Brush, const TRect& R, const TRect& GlyphRect, TBitmap* Glyph,
                   TCustomImageList* Images, int ImageIndex, bool Enabled, bool GrayScale, bool FlatLook, bool Selected,
                   bool Checked, bool Pressed, bool HotShadow, bool CopyBackground, TColor FadeColor,
                   TColor ImageListBkColor) {
  if (R.IsEmpty()) return;
  const bool HasFade = FadeColor != clNone;
  TRect GR{GlyphRect.Left - R.Left, GlyphRect.Top - R.Top, GlyphRect.Right - R.Left, GlyphRect.Bottom - R.Top};
  TDib32 Buffer(R.Width(), R.Height());
  if (!Buffer.Valid()) return;
  if (CopyBackground) {
    BitBlt(Buffer.Dc(), 0, 0, R.Width(), R.Height(), DC, R.Left, R.Top, SRCCOPY);
  } else {
    const TRect All{0, 0, R.Width(), R.Height()};
    FillRect(Buffer.Dc(), &All, Brush);
  }
  TGlyphPixels G;
  if (ReadGlyph(Glyph, Images, ImageIndex, ImageListBkColor, G)) {
    const int N = G.W * G.H;
    if (HasFade || Enabled) {
      if (HasFade && !Enabled)
        TintGlyph(G.Color.data(), N, FadeColor);
      else if (GrayScale)
        MakeGlyphGrayScale(G.Color.data(), N);
      if (Enabled && FlatLook && !Selected && !Checked && !GrayScale && GScreenBits > 8)
        LightenGlyph(G.Color.data(), N);
      if (FlatLook && HotShadow && Selected && !Pressed) {
        OffsetRect(&GR, -1, -1);
        const std::uint32_t Shadow = ToPixel(GetSysColor(COLOR_BTNSHADOW));
        TRect S = GR;
        OffsetRect(&S, 2, 2);
        StretchGlyphInto(Buffer, G, S, &Shadow);
      }
      StretchGlyphInto(Buffer, G, GR, nullptr);
    } else {
      // Embossed: the shape in button highlight one pixel right and down
      // (not in the flat look), then in button shadow in place.
      if (!FlatLook) {
        const std::uint32_t Hi = ToPixel(GetSysColor(COLOR_BTNHIGHLIGHT));
        TRect H = GR;
        OffsetRect(&H, 1, 1);
        StretchGlyphInto(Buffer, G, H, &Hi);
      }
      const std::uint32_t Sh = ToPixel(GetSysColor(COLOR_BTNSHADOW));
      StretchGlyphInto(Buffer, G, GR, &Sh);
    }
  }
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), Buffer.Dc(), 0, 0, SRCCOPY);
}

int ArrowSizeInRect(const TRect& R, bool Down) {
  const int N = Down ? R.Width() - 8 : R.Height() - 6;
  int Size = (N - 1) / 2;
  if (N % 2 != 0) ++Size;
  return std::max(Size, 3);
}

void DrawArrowInRect(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool Flat) {
  DrawArrow(DC, R, Down, ArrowSizeInRect(R, Down), Selected, Enabled, Flat);
}

void DrawArrow(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled, bool Flat) {
  int Index;
  if (Enabled)
    Index = Selected ? (IsBtnFaceWhite() ? COLOR_BTNFACE : COLOR_HIGHLIGHTTEXT) : COLOR_BTNTEXT;
  else
    Index = COLOR_BTNSHADOW;
  int X, Y;
  TPoint P[3];
  if (Down) {
    X = (R.Left + R.Right - (2 * Size - 1)) / 2;
    Y = (R.Top + R.Bottom - Size) / 2;
    P[0] = {X, Y};
    P[1] = {X + 2 * Size - 2, Y};
    P[2] = {X + Size - 1, Y + Size - 1};
  } else {
    X = (R.Left + R.Right - Size) / 2;
    Y = (R.Top + R.Bottom - (2 * Size - 1)) / 2;
    P[0] = {X, Y};
    P[1] = {X, Y + 2 * Size - 2};
    P[2] = {X + Size - 1, Y + Size - 1};
  }
  dxPolygon(DC, P, 3, SystemColor(Index));
  if (!Enabled && !Flat) {
    if (Down) {
      dxLine(DC, X + Size, Y + Size - 1, X + 2 * Size - 1, Y, clBtnHighlight);
      dxLine(DC, X + Size, Y + Size, X + 2 * Size, Y, clBtnHighlight);
    } else {
      dxLine(DC, X + Size - 1, Y + Size, X, Y + 2 * Size - 1, clBtnHighlight);
      dxLine(DC, X + Size, Y + Size, X, Y + 2 * Size, clBtnHighlight);
    }
  }
}

void DrawHighlightFrame(HDC DC, const TRect& R) { FrameRect(DC, &R, GetSysColorBrush(COLOR_HIGHLIGHT)); }

void FillVerticalGradient(HDC DC, const TRect& R, std::uint8_t R1, std::uint8_t R2, std::uint8_t G1, std::uint8_t G2,
                          std::uint8_t B1, std::uint8_t B2) {
  const int H = R.Height();
  int Top = R.Top;
  for (int i = 0; i < 256; ++i) {
    const int Bottom = R.Top + MulDiv(i + 1, H, 256);
    const int Rc = R1 + MulDiv(i, R2 - R1, 255), Gc = G1 + MulDiv(i, G2 - G1, 255), Bc = B1 + MulDiv(i, B2 - B1, 255);
    const TRect Band{R.Left, Top, R.Right, Bottom};
    if (!Band.IsEmpty()) {
      TUniqueGdiObject<HBRUSH> B(CreateSolidBrush(RGB(Rc, Gc, Bc)));
      FillRect(DC, &Band, B.Get());
    }
    Top = std::max(Top, Bottom);
  }
}

void FillBarBackground(HDC DC, const TRect& R, const TRect& BackgroundRect, HBRUSH Brush, TColor Color,
                       TBitmap* Bitmap) {
  if (Bitmap && !Bitmap->Empty()) {
    TileBitmap(DC, R, BackgroundRect, Bitmap);
  } else if (Brush) {
    FillRect(DC, &R, Brush);
  } else {
    dxFillRectColor(DC, R, Color);
  }
}

void TileBitmap(HDC DC, const TRect& R, const TRect& BR, TBitmap* Bitmap) {
  if (!Bitmap) return;
  const int W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  if (W <= 0 || H <= 0 || BR.IsEmpty()) return;
  HRGN Saved;
  bool Existed;
  PushClipRegion(DC, Saved, Existed);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  const HDC Src = Bitmap->Canvas()->GetHandle();
  for (int Row = BR.Top / H; Row <= (BR.Bottom - 1) / H; ++Row)
    for (int Col = BR.Left / W; Col <= (BR.Right - 1) / W; ++Col)
      BitBlt(DC, W * Col + R.Left - BR.Left, H * Row + R.Top - BR.Top, W, H, Src, 0, 0, SRCCOPY);
  PopClipRegion(DC, Saved, Existed);
}

void DrawTransparentSizeGrip(HDC DC, const TRect& R) {
  if (R.IsEmpty()) return;
  TDib32 Grip(R.Width(), R.Height());
  if (!Grip.Valid()) return;
  TRect All{0, 0, R.Width(), R.Height()};
  FillRect(Grip.Dc(), &All, GetSysColorBrush(COLOR_BTNFACE));
  DrawFrameControl(Grip.Dc(), &All, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  // Only the grip's non-face pixels land on the background.
  const std::uint32_t Face = ToPixel(GetSysColor(COLOR_BTNFACE));
  for (int y = 0; y < R.Height(); ++y)
    for (int x = 0; x < R.Width(); ++x) {
      const std::uint32_t P = Grip.At(x, y) & 0xFFFFFF;
      if (P != Face) SetPixel(DC, R.Left + x, R.Top + y, RGB((P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF));
    }
}

void PushClipRegion(HDC DC, HRGN& Region, bool& Existed) {
  Region = CreateRectRgn(0, 0, 0, 0);
  Existed = GetClipRgn(DC, Region) == 1;
}

void PopClipRegion(HDC DC, HRGN Region, bool Existed) {
  SelectClipRgn(DC, Existed ? Region : nullptr);
  if (Region) DeleteObject(Region);
}

void UnionClipRect(HDC DC, const TRect& R) {
  TUniqueGdiObject<HRGN> Rgn(CreateRectRgnIndirect(&R));
  ExtSelectClipRgn(DC, Rgn.Get(), RGN_OR);
}

void SubtractRectFromRegion(HRGN& Region, const TRect& R) {
  TUniqueGdiObject<HRGN> Rgn(CreateRectRgnIndirect(&R));
  CombineRgn(Region, Region, Rgn.Get(), RGN_DIFF);
}

TColor GetBarNearestColor(TColor Color) { return GetNearestScreenColor(Color); }

void dxFillRectColor(HDC DC, const TRect& R, TColor Color) { FillRectWithColor(DC, R, Color); }

void dxFillRectSys(HDC DC, const TRect& R, int ColorIndex) { FillRect(DC, &R, GetSysColorBrush(ColorIndex)); }

void dxDrawEdge(HDC DC, const TRect& R, unsigned Edge, unsigned Flags) {
  TRect C = R;
  DrawEdge(DC, &C, Edge, Flags);
}

void dxLine(HDC DC, int X1, int Y1, int X2, int Y2, TColor Color) {
  TUniqueGdiObject<HPEN> Pen(CreatePen(PS_SOLID, 1, ColorToRGB(Color)));
  TSelectObjectGuard Sel(DC, Pen.Get());
  MoveToEx(DC, X1, Y1, nullptr);
  LineTo(DC, X2, Y2);
}

void dxPolyline(HDC DC, const TPoint* Points, int Count, TColor Color) {
  TUniqueGdiObject<HPEN> Pen(CreatePen(PS_SOLID, 1, ColorToRGB(Color)));
  TSelectObjectGuard Sel(DC, Pen.Get());
  Polyline(DC, Points, Count);
}

void dxPolygon(HDC DC, const TPoint* Points, int Count, TColor Color) {
  TUniqueGdiObject<HPEN> Pen(CreatePen(PS_SOLID, 1, ColorToRGB(Color)));
  TUniqueGdiObject<HBRUSH> Brush(CreateSolidBrush(ColorToRGB(Color)));
  TSelectObjectGuard SelP(DC, Pen.Get());
  TSelectObjectGuard SelB(DC, Brush.Get());
  Polygon(DC, Points, Count);
}

TColor TdxBarStyleBrushes::ComputeColor(int N) {
  TColor C = clNone;
  switch (N) {
    case 1: {
      const COLORREF S = ColorToRGB(clBtnShadow);
      C = TColor(RGB(MulDiv(S & 0xFF, 8, 10), MulDiv((S >> 8) & 0xFF, 8, 10), MulDiv((S >> 16) & 0xFF, 8, 10)));
      break;
    }
    case 2: {
      const COLORREF F = ColorToRGB(clBtnFace);
      auto Up = [](int Ch) { return Ch + MulDiv(255 - Ch, 16, 100); };
      C = TColor(RGB(Up(F & 0xFF), Up((F >> 8) & 0xFF), Up((F >> 16) & 0xFF)));
      break;
    }
    case 3: C = BlendSystemColors(11, 9, 73); break;
    case 4: C = BlendSystemColors(14, 44, 40); break;
    case 5: C = BlendSystemColors(-2, 30, 72); break;
    default: return clNone;
  }
  return GetBarNearestColor(C);
}

void TdxBarStyleBrushes::Rebuild() {
  Free();
  for (int i = 0; i < 5; ++i) {
    FColors[i] = ComputeColor(i + 1);
    FBrushes[i] = CreateSolidBrush(ColorToRGB(FColors[i]));
  }
}

void TdxBarStyleBrushes::Free() {
  for (HBRUSH& B : FBrushes) {
    if (B) DeleteObject(B);
    B = nullptr;
  }
}

const TdxBarStyleBrushes& dxBarDefaultStyleBrushes() {
  static const TdxBarStyleBrushes Set;
  return Set;
}
