// cxGraphics.h — the canvas wrapper every painter and control of the family
// draws through (flag-driven text with embossed disabled text, side frames,
// 3-D edge rings, tiled fills, a clip-region stack), and the region wrapper.
// TcxCanvas borrows the TCanvas it wraps; TcxRegion owns its HRGN.
#pragma once
#include <memory>
#include "platform/gdi/Canvas.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Types.h"

class TBitmap;
class TGraphic;

enum TcxBorder { bLeft, bTop, bRight, bBottom };
using TcxBorders = unsigned;  // bit (1 << TcxBorder)
constexpr TcxBorders cxBorderBit(TcxBorder B) { return 1u << B; }
constexpr TcxBorders cxBordersAll = 15;

// Canvas text flags.
enum : int {
  cxAlignLeft = 1, cxAlignRight = 2, cxAlignHCenter = 4, cxAlignTop = 8, cxAlignBottom = 16,
  cxAlignVCenter = 32, cxSingleLine = 64, cxDontClip = 128, cxExpandTabs = 256, cxShowPrefix = 512,
  cxWordBreak = 1024, cxShowEndEllipsis = 2048, cxDontPrint = 4096, cxShowPathEllipsis = 8192,
  cxDontBreakChars = 16384
};
int ConvertTextFlagsToDT(int AFlags);

enum TcxRegionOperation { roSet, roAdd, roSubtract, roIntersect };

class TcxRegion {
public:
  explicit TcxRegion(HRGN AHandle);  // takes ownership
  explicit TcxRegion(const TRect& R);
  TcxRegion(int ALeft, int ATop, int ARight, int ABottom);
  TcxRegion();  // empty
  ~TcxRegion();
  TcxRegion(const TcxRegion&) = delete;
  TcxRegion& operator=(const TcxRegion&) = delete;
  HRGN Handle() const { return FHandle; }
  // ADestroyRegion frees ARegion (which must then be heap-allocated).
  void Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion = true);
  void Offset(int DX, int DY);
  bool ContainsPoint(TPoint P) const;
  bool IsEmpty() const;

private:
  HRGN FHandle = nullptr;
};

class TcxCanvas {
public:
  explicit TcxCanvas(TCanvas* ACanvas) : FCanvas(ACanvas) {}
  virtual ~TcxCanvas() = default;

  TCanvas* Canvas() const { return FCanvas; }
  TBrush* GetBrush() const { return FCanvas->Brush(); }
  TFont* GetFont() const { return FCanvas->Font(); }
  TPen* GetPen() const { return FCanvas->Pen(); }
  HDC GetDC() const { return FCanvas->GetHandle(); }
  void SetBrushColor(TColor Value);
  TPoint GetOriginOffset() const;

  void SetPixel(int X, int Y, TColor Color) { FCanvas->SetPixel(X, Y, Color); }
  void MoveTo(int X, int Y) { FCanvas->MoveTo(X, Y); }
  void LineTo(int X, int Y) { FCanvas->LineTo(X, Y); }
  void Polygon(std::initializer_list<TPoint> P) { FCanvas->Polygon(P); }
  void Polyline(std::initializer_list<TPoint> P) { FCanvas->Polyline(P); }
  void Draw(int X, int Y, TGraphic* G) { FCanvas->Draw(X, Y, G); }
  void FillRect(const TRect& R) { FCanvas->FillRect(R); }
  // Fills R with a solid colour (the brush keeps that colour afterwards).
  void FillRect(const TRect& R, TColor AColor);
  void ExcludeClipRect(const TRect& R);
  void IntersectClipRect(const TRect& R);

  TSize TextExtent(const AnsiString& Text);
  int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
  int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }
  // The XOR focus frame, the same on any background.
  void DrawFocusFrame(const TRect& R);
  void InvertRect(const TRect& R);

  void DrawTwoColorFrame(const TRect& R, TColor ATopLeftColor, TColor ABottomRightColor,
                         TcxBorders ABorders = cxBordersAll, int ALineWidth = 1);
  void Draw3DEdgeRing(const TRect& R, bool ASunken, bool AOuter, TcxBorders ABorders = cxBordersAll);
  // clDefault keeps the current brush.
  void FrameSides(const TRect& R, TColor AColor, int ALineWidth = 1, TcxBorders ABorders = cxBordersAll,
                  bool AExcludeRect = false);
  // Tiles ABitmap on a grid anchored at the canvas origin, so adjacent
  // fills line up; nil or empty: the current brush.
  void FillArea(const TRect& R, TBitmap* ABitmap = nullptr, bool AExcludeRect = false);
  void DrawTextWithFlags(const AnsiString& AText, TRect R, int AFlags, bool AEnabled = true);
  void MeasureTextRect(const AnsiString& AText, TRect& R, int AFlags);

  // Turns (mode 1: 90 degrees counter-clockwise, 2: clockwise, 3: half a
  // turn) or, with AMirror, flips (0: top to bottom, 1: transposed, 2:
  // about the other diagonal, 3: left to right) the bitmap's pixels.
  static void TurnBitmap(TBitmap* ABitmap, int AMode, bool AMirror);
  // The caller owns the result; the 30000-pixel square when unclipped.
  std::unique_ptr<TcxRegion> FetchClipRegion(bool AConsiderOrigin = true);
  void ApplyClipRegion(TcxRegion* ARegion, TcxRegionOperation AOperation, bool AConsiderOrigin = true);

private:
  TCanvas* FCanvas;
};

// A canvas on the screen's DC for measuring without a window. It stands on
// a canvas of its own over GetDC(0), released when the canvas goes.
class TcxScreenCanvas : public TcxCanvas {
public:
  TcxScreenCanvas() : TcxScreenCanvas(std::make_unique<TCanvas>()) {}
  ~TcxScreenCanvas() override;
  TcxScreenCanvas(const TcxScreenCanvas&) = delete;
  TcxScreenCanvas& operator=(const TcxScreenCanvas&) = delete;

private:
  explicit TcxScreenCanvas(std::unique_ptr<TCanvas> ACanvas);
  std::unique_ptr<TCanvas> FScreenCanvas;
  HDC FDC = nullptr;
};

// The hot and pressed face colours of the ultra-flat look.
TColor GetUltraFlatHotColor();
TColor GetUltraFlatPressedColor();
TColor GetNearestScreenColor(TColor AColor);
void DeflateRectBy(TRect& R, const TRect& AMargins);
