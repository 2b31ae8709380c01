// dxBarDrawing.h — the bar unit's shared drawing routines: item glyphs in
// every state the styles need, arrows, frames, background fills and tiles,
// size grips and clip-region helpers. Painters, dock sites, sub-menus and
// the status bar draw with them.
#pragma once
#include <cstdint>
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Types.h"

class TBitmap;
class TCanvas;
class TCustomImageList;

// The 8 by 8 checkered brush (button highlight, with button-face pixels
// where row and column have the same parity). CreateCheckeredBrush rebuilds
// it (on a system-colour change); CheckeredBrush() makes it on first use.
HBRUSH CheckeredBrush();
void CreateCheckeredBrush();
void FreeCheckeredBrush();

// Colour depth the glyph passes assume; lightening is skipped at 8 bits or
// less. Tests set it.
int dxBarScreenBitsPerPixel();
void SetdxBarScreenBitsPerPixel(int Bits);

// Draws an image list entry (Glyph nil or empty) or the Glyph bitmap into
// GlyphRect, owning the cell R of DC: normal, tinted toward FadeColor when
// disabled with a fade colour, embossed when disabled without one,
// grayscale, lighter in the flat look, raised with a shadow when hot.
void DrawItemGlyph(HDC DC, HBRUSH Brush, const TRect& R, const TRect& GlyphRect, TBitmap* Glyph,
                   TCustomImageList* Images, int ImageIndex, bool Enabled, bool GrayScale, bool FlatLook, bool Selected,
                   bool Checked, bool Pressed, bool HotShadow, bool CopyBackground, TColor FadeColor,
                   TColor ImageListBkColor);

// The pixel passes over 32-bit pixels 0x00RRGGBB (blue in the low byte).
void MakeGlyphGrayScale(std::uint32_t* Pixels, int Count);
void TintGlyph(std::uint32_t* Pixels, int Count, TColor FadeColor);
void LightenGlyph(std::uint32_t* Pixels, int Count);

// The arrow size that follows from R: R's width less 8 (Down) or its
// height less 6 (right arrow), halved as DrawArrowInRect does.
int ArrowSizeInRect(const TRect& R, bool Down);
void DrawArrowInRect(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool Flat);
void DrawArrow(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled, bool Flat);
void DrawHighlightFrame(HDC DC, const TRect& R);
void FillVerticalGradient(HDC DC, const TRect& R, std::uint8_t R1, std::uint8_t R2, std::uint8_t G1, std::uint8_t G2,
                          std::uint8_t B1, std::uint8_t B2);
void FillBarBackground(HDC DC, const TRect& R, const TRect& BackgroundRect, HBRUSH Brush, TColor Color,
                       TBitmap* Bitmap);
void TileBitmap(HDC DC, const TRect& R, const TRect& BackgroundRect, TBitmap* Bitmap);
void DrawTransparentSizeGrip(HDC DC, const TRect& R);

// Clip regions: Push saves the DC's clip region (Existed: it had one), Pop
// puts it back and deletes the saved copy.
void PushClipRegion(HDC DC, HRGN& Region, bool& Existed);
void PopClipRegion(HDC DC, HRGN Region, bool Existed);
void UnionClipRect(HDC DC, const TRect& R);
void SubtractRectFromRegion(HRGN& Region, const TRect& R);

TColor GetBarNearestColor(TColor Color);

// Fills R with a solid colour, through a temporary brush.
void dxFillRectColor(HDC DC, const TRect& R, TColor Color);
// Fills R with a system colour's shared brush.
void dxFillRectSys(HDC DC, const TRect& R, int ColorIndex);
// DrawEdge on a copy of R.
void dxDrawEdge(HDC DC, const TRect& R, unsigned Edge, unsigned Flags);
// A one-pixel line from (X1, Y1) to (X2, Y2), end point excluded.
void dxLine(HDC DC, int X1, int Y1, int X2, int Y2, TColor Color);
void dxPolyline(HDC DC, const TPoint* Points, int Count, TColor Color);
void dxPolygon(HDC DC, const TPoint* Points, int Count, TColor Color);

// The five style brushes a manager owns: 1 frames selected elements, 2
// fills bars and menu glyph columns, 3 checked, 4 pressed, 5 hot. Built
// from the system colours; Rebuild after a system-colour change.
class TdxBarStyleBrushes {
public:
  TdxBarStyleBrushes() { Rebuild(); }
  ~TdxBarStyleBrushes() { Free(); }
  TdxBarStyleBrushes(const TdxBarStyleBrushes&) = delete;
  TdxBarStyleBrushes& operator=(const TdxBarStyleBrushes&) = delete;
  void Rebuild();
  // N is 1..5.
  HBRUSH Brush(int N) const { return N >= 1 && N <= 5 ? FBrushes[N - 1] : nullptr; }
  TColor Color(int N) const { return N >= 1 && N <= 5 ? FColors[N - 1] : clNone; }
  static TColor ComputeColor(int N);

private:
  void Free();
  HBRUSH FBrushes[5] = {};
  TColor FColors[5] = {};
};

// The set painters use when the manager gives none.
const TdxBarStyleBrushes& dxBarDefaultStyleBrushes();
