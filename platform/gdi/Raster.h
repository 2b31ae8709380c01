// Raster.h — the software rasterizer under the raster DC, with GDI's rules:
// shapes become regions sampled at pixel centres (so Rectangle(0,0,10,10)'s
// interior and Ellipse(0,0,10,10) stay inside columns 0..9), cosmetic lines
// are Bresenham lines that leave out their last pixel, wide lines are stroked
// outlines filled as one region so that no pixel is painted twice (which
// matters under R2_XORPEN). Everything is aliased; only text is smoothed.
// Internal to the graphics layer; the text and bitmap units may use it.
#pragma once
#include <vector>
#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/RegionData.h"

struct TPointD {
  double X = 0, Y = 0;
};
using TPolygon = std::vector<TPointD>;
using TPolygons = std::vector<TPolygon>;

// The largest area a region may cover: shapes beyond it are cut, so absurd
// coordinates cost nothing.
TRect RasterLimit();

// Pixels whose centres lie inside the polygons (ALTERNATE or WINDING), cut to Limit.
TRegionData RasterPolygonRegion(const TPolygons& Polys, int FillMode, const TRect& Limit);
// Pixels whose centres lie inside the ellipse inscribed in Box.
TRegionData RasterEllipseRegion(const TRect& Box, const TRect& Limit);
// Box with its corners rounded by ellipses W wide and H high.
TRegionData RasterRoundRectRegion(const TRect& Box, int W, int H, const TRect& Limit);
// Pixels of Rgn that have a 4-neighbour outside it: a one-pixel outline.
TRegionData RasterRegionOutline(const TRegionData& Rgn);

// ROP2 on raw pixel values.
std::uint32_t RasterRop2(int Rop2, std::uint32_t Pen, std::uint32_t Dst, std::uint32_t Mask);

// How to paint pixels: a brush (or pen colour) realised for one surface.
struct TRasterPaint {
  enum TKind { None, Solid, Hatch, Pattern } Kind = None;
  std::uint32_t Fore = 0;        // pixel value: solid colour, hatch lines
  std::uint32_t Back = 0;        // hatch background when Opaque
  bool Opaque = false;
  int HatchStyle = 0;
  int PatW = 0, PatH = 0;
  std::vector<std::uint32_t> Pat;  // realised pattern pixel values
  TPoint Org;                      // brush origin in surface pixels
  int Rop2 = R2_COPYPEN;
  // Pixel value for surface pixel (X, Y); false where nothing is painted.
  bool At(int X, int Y, std::uint32_t& V) const;
};
// Realises Brush for Surf. TextColor/BkColor serve monochrome patterns and
// hatch backgrounds; DCBrushColor serves DC_BRUSH.
TRasterPaint RasterBrushPaint(const TBrushObject& Brush, const TBitmapObject& Surf,
                              COLORREF TextColor, COLORREF BkColor, int BkMode,
                              COLORREF DCBrushColor, TPoint Org, int Rop2);
TRasterPaint RasterSolidPaint(const TBitmapObject& Surf, COLORREF C, int Rop2);

// Paints the pixels of Rgn (surface coordinates, already clipped).
void RasterFillRegion(TBitmapObject& Surf, const TRegionData& Rgn, const TRasterPaint& Paint);
void RasterFillRect(TBitmapObject& Surf, const TRect& R, const TRasterPaint& Paint);

// A cosmetic line's style: on/off run lengths in pixels (empty = solid),
// where the pattern stands, and how gaps are painted.
struct TLineStyle {
  std::vector<int> Runs;
  int Pos = 0;
  bool OpaqueGaps = false;
  std::uint32_t GapValue = 0;
  bool Alternate = false;  // PS_ALTERNATE: every other pixel
};
// Bresenham from (X0,Y0) towards (X1,Y1), leaving out (X1,Y1); only pixels
// inside Clip are touched.
void RasterLine(TBitmapObject& Surf, const TRegionData& Clip, int X0, int Y0, int X1, int Y1,
                std::uint32_t Value, int Rop2, TLineStyle& Style);

// Outline of a wide stroke as polygons of positive orientation (fill WINDING).
struct TStrokeStyle {
  double Width = 1;
  DWORD Cap = PS_ENDCAP_ROUND;
  DWORD Join = PS_JOIN_ROUND;
  double MiterLimit = 10;
};
void RasterStrokePolyline(const TPolygon& Pts, bool Closed, const TStrokeStyle& St, TPolygons& Out);
