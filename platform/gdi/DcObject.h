// DcObject.h — the device context object behind an HDC, and the seam
// every drawing call goes through:
//
//   API function (DcApi.h, Drawing.h, Regions.h, the text and blit units)
//     -> TDC virtual operation, in logical coordinates
//        -> TDC's raster implementation: state stack, logical->device
//           transform, clip, then pixels in the selected bitmap.
//
// A recording DC (the enhanced-metafile recorder) derives from TDC and
// overrides the operations it records; it calls TDC's setters so that state
// queries (GetTextColor, GetMapMode, ...) still answer, and it never touches
// pixels. Everything a DC holds is in TDcState so that SaveDC/RestoreDC copy
// it whole.
//
// Units that draw pixels themselves (text, blits) use the raster accessors:
// Surface(), DeviceClip(), ToDevice(); they must clip to DeviceClip() and
// draw nothing while a path is open (PathOpen()).
//
// Text and blit operations are declared here so that a recorder can override
// them; their raster bodies live in the text and bitmap units.
#pragma once
#include <optional>
#include <vector>
#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/RegionData.h"

struct BITMAPINFO;
struct TRIVERTEX;
struct BLENDFUNCTION;

// Device description answered by GetDeviceCaps.
struct TDeviceCaps {
  int Technology = DT_RASDISPLAY;
  int HorzRes = 1024, VertRes = 768;    // printable area in pixels
  int LogPixelsX = 96, LogPixelsY = 96;
  int BitsPixel = 32;
  int Planes = 1;
  int PhysicalWidth = 0, PhysicalHeight = 0;   // printers: whole page, pixels
  int PhysicalOffsetX = 0, PhysicalOffsetY = 0;
  // HORZSIZE/VERTSIZE in millimetres, from the resolution.
  int HorzSizeMM() const;
  int VertSizeMM() const;
};

// A path in device coordinates (what GetPath converts back to logical).
struct TPathData {
  std::vector<double> X, Y;      // device coordinates
  std::vector<BYTE> Types;       // PT_* per point
  bool Open = false;             // between BeginPath and EndPath
  bool Closed = false;           // EndPath called: ready to fill/stroke
  void Clear() { X.clear(); Y.clear(); Types.clear(); Open = Closed = false; }
};

struct TDcState {
  HPEN Pen = nullptr;
  HBRUSH Brush = nullptr;
  HFONT Font = nullptr;
  HBITMAP Bitmap = nullptr;
  HPALETTE Palette = nullptr;
  COLORREF TextColor = RGB(0, 0, 0);
  COLORREF BkColor = RGB(255, 255, 255);
  COLORREF DCBrushColor = RGB(255, 255, 255);
  COLORREF DCPenColor = RGB(0, 0, 0);
  int BkMode = OPAQUE;
  int Rop2 = R2_COPYPEN;
  int PolyFillMode = ALTERNATE;
  int StretchMode = BLACKONWHITE;
  UINT TextAlign = 0;
  int TextCharExtra = 0;
  int BreakExtra = 0, BreakCount = 0;   // SetTextJustification
  int ArcDirection = AD_COUNTERCLOCKWISE;
  int GraphicsMode = GM_COMPATIBLE;
  int MapMode = MM_TEXT;
  DWORD MapperFlags = 0;
  float MiterLimit = 10.0f;
  TPoint WindowOrg, ViewportOrg;
  TSize WindowExt{1, 1}, ViewportExt{1, 1};
  XFORM World;
  TPoint BrushOrg;
  TPoint CurrentPos;          // logical
  std::optional<TRegionData> ClipRgn;   // device coordinates
  std::optional<TRegionData> MetaRgn;
  TPathData Path;
};

class TDC : public TGdiObject {
public:
  // Kind: OBJ_DC, OBJ_MEMDC or OBJ_ENHMETADC.
  TDC(DWORD AKind, const TDeviceCaps& ACaps);
  ~TDC() override;
  int GetObjectData(int, void*) const override { return 0; }

  const TDcState& State() const { return S; }
  const TDeviceCaps& Caps() const { return FCaps; }
  virtual int GetDeviceCaps(int Index) const;

  // --- objects and state --------------------------------------------------
  // Returns the previous object (a region: its complexity as a handle value).
  virtual HGDIOBJ SelectObject(HGDIOBJ H);
  HGDIOBJ CurrentObject(DWORD Kind) const;
  virtual int SaveDC();
  virtual BOOL RestoreDC(int Level);
  virtual COLORREF SetTextColor(COLORREF C);
  virtual COLORREF SetBkColor(COLORREF C);
  virtual int SetBkMode(int Mode);
  virtual int SetROP2(int Mode);
  virtual int SetPolyFillMode(int Mode);
  virtual int SetStretchBltMode(int Mode);
  virtual UINT SetTextAlign(UINT Align);
  virtual int SetTextCharacterExtra(int Extra);
  virtual BOOL SetTextJustification(int BreakExtra, int BreakCount);
  virtual int SetArcDirection(int Dir);
  virtual int SetGraphicsMode(int Mode);
  virtual COLORREF SetDCBrushColor(COLORREF C);
  virtual COLORREF SetDCPenColor(COLORREF C);
  virtual BOOL SetMiterLimit(float Limit, float* Old);
  virtual DWORD SetMapperFlags(DWORD Flags);
  virtual BOOL SetBrushOrgEx(int X, int Y, TPoint* Old);
  virtual HPALETTE SelectPalette(HPALETTE Pal, BOOL ForceBackground);
  virtual UINT RealizePalette();

  // --- coordinate spaces ----------------------------------------------------
  virtual int SetMapMode(int Mode);
  virtual BOOL SetWindowOrgEx(int X, int Y, TPoint* Old);
  virtual BOOL SetViewportOrgEx(int X, int Y, TPoint* Old);
  virtual BOOL OffsetWindowOrgEx(int DX, int DY, TPoint* Old);
  virtual BOOL OffsetViewportOrgEx(int DX, int DY, TPoint* Old);
  virtual BOOL SetWindowExtEx(int X, int Y, TSize* Old);
  virtual BOOL SetViewportExtEx(int X, int Y, TSize* Old);
  virtual BOOL ScaleWindowExtEx(int XNum, int XDenom, int YNum, int YDenom, TSize* Old);
  virtual BOOL ScaleViewportExtEx(int XNum, int XDenom, int YNum, int YDenom, TSize* Old);
  virtual BOOL SetWorldTransform(const XFORM& X);
  virtual BOOL ModifyWorldTransform(const XFORM* X, DWORD Mode);
  // Logical -> device in floating point (no rounding) and rounded as GDI does.
  void ToDevice(double LX, double LY, double& DX, double& DY) const;
  TPoint ToDevice(TPoint P) const;
  TPoint ToLogical(TPoint P) const;   // rounded; identity if not invertible
  // Scale of one logical unit along X/Y in device pixels (absolute values).
  double DeviceScaleX() const;
  double DeviceScaleY() const;
  // True when the transform only scales and translates (no rotation/shear).
  bool AxisAligned() const;

  // --- clipping (regions in device coordinates) ------------------------------
  virtual int ExtSelectClipRgn(const TRegionData* Rgn, int Mode);  // null: remove
  virtual int IntersectClipRect(int L, int T, int R, int B);
  virtual int ExcludeClipRect(int L, int T, int R, int B);
  virtual int OffsetClipRgn(int DX, int DY);
  virtual int SetMetaRgn();
  virtual int SelectClipPath(int Mode);
  // Clip box in logical coordinates; returns the region complexity.
  int GetClipBox(TRect& R) const;
  // Everything drawing may touch, in surface pixels: clip ∩ meta ∩ visible
  // ∩ surface bounds.
  const TRegionData& DeviceClip() const;

  // --- drawing (logical coordinates) -----------------------------------------
  virtual BOOL MoveToEx(int X, int Y, TPoint* Old);
  virtual BOOL LineTo(int X, int Y);
  virtual BOOL Polyline(const TPoint* P, int N);
  virtual BOOL PolylineTo(const TPoint* P, int N);
  virtual BOOL Polygon(const TPoint* P, int N);
  virtual BOOL PolyPolygon(const TPoint* P, const int* Counts, int NPolys);
  virtual BOOL PolyPolyline(const TPoint* P, const DWORD* Counts, DWORD NPolys);
  virtual BOOL PolyBezier(const TPoint* P, DWORD N);
  virtual BOOL PolyBezierTo(const TPoint* P, DWORD N);
  // Points with PT_* types: moves, lines (closing the figure when flagged)
  // and Bezier triples; FALSE without drawing when the types do not parse.
  virtual BOOL PolyDraw(const TPoint* P, const BYTE* Types, int N);
  virtual BOOL Rectangle(int L, int T, int R, int B);
  virtual BOOL RoundRect(int L, int T, int R, int B, int W, int H);
  virtual BOOL Ellipse(int L, int T, int R, int B);
  virtual BOOL Arc(int L, int T, int R, int B, int XS, int YS, int XE, int YE);
  virtual BOOL ArcTo(int L, int T, int R, int B, int XS, int YS, int XE, int YE);
  virtual BOOL Chord(int L, int T, int R, int B, int XS, int YS, int XE, int YE);
  virtual BOOL Pie(int L, int T, int R, int B, int XS, int YS, int XE, int YE);
  virtual BOOL AngleArc(int X, int Y, DWORD Radius, float Start, float Sweep);
  virtual BOOL FillRect(const TRect& R, HBRUSH Brush);
  virtual BOOL FrameRect(const TRect& R, HBRUSH Brush);
  virtual BOOL InvertRect(const TRect& R);
  virtual COLORREF SetPixel(int X, int Y, COLORREF C);
  virtual COLORREF GetPixel(int X, int Y) const;
  virtual BOOL FillRgn(const TRegionData& Rgn, HBRUSH Brush);   // Rgn logical
  virtual BOOL FrameRgn(const TRegionData& Rgn, HBRUSH Brush, int W, int H);
  virtual BOOL InvertRgn(const TRegionData& Rgn);
  virtual BOOL PaintRgn(const TRegionData& Rgn);

  // --- paths ----------------------------------------------------------------
  virtual BOOL BeginPath();
  virtual BOOL EndPath();
  virtual BOOL AbortPath();
  virtual BOOL CloseFigure();
  virtual BOOL FillPath();
  virtual BOOL StrokePath();
  virtual BOOL StrokeAndFillPath();
  virtual BOOL FlattenPath();
  virtual BOOL WidenPath();
  // The closed path as a region in device coordinates (consumes the path).
  // Limit (DC coordinates before the device origin) bounds the rows made;
  // by default every row a region can hold.
  std::optional<TRegionData> PathToRegion(const TRect* Limit = nullptr);
  bool PathOpen() const { return S.Path.Open; }
  const TPathData& Path() const { return S.Path; }
  // Adds device-space points to the open path (text outlines use this).
  void PathAddPolygon(const std::vector<double>& X, const std::vector<double>& Y);

  // --- text and blits: bodies in the text and bitmap units -------------------
  virtual BOOL ExtTextOutW(int X, int Y, UINT Options, const TRect* Rect, const char16_t* Str,
                           UINT Count, const int* Dx);
  virtual BOOL PatBlt(int X, int Y, int W, int H, DWORD Rop);
  virtual BOOL BitBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, DWORD Rop);
  virtual BOOL StretchBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                          int HSrc, DWORD Rop);
  virtual BOOL MaskBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, HBITMAP Mask,
                       int XMask, int YMask, DWORD Rop);
  virtual int StretchDIBits(int X, int Y, int W, int H, int XSrc, int YSrc, int WSrc, int HSrc,
                            const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop);
  virtual int SetDIBitsToDevice(int X, int Y, DWORD W, DWORD H, int XSrc, int YSrc,
                                UINT StartScan, UINT Lines, const void* Bits,
                                const BITMAPINFO* Info, UINT Usage);
  virtual BOOL GradientFill(const TRIVERTEX* Vert, ULONG NVert, const void* Mesh, ULONG NMesh,
                            ULONG Mode);
  virtual BOOL AlphaBlend(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                          int HSrc, const BLENDFUNCTION& Blend);
  virtual BOOL TransparentBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                              int HSrc, UINT Transparent);

  // --- raster accessors --------------------------------------------------------
  // The bitmap drawing goes to (null for a DC without pixels).
  TBitmapObject* Surface() const;
  // Where device (0,0) lies in the surface, and which part of the surface the
  // DC may reach (window DCs set these; null visible region = whole surface).
  void SetDeviceOrigin(TPoint P);
  // Window and printer DCs draw into a bitmap they own; a memory DC's
  // surface is the bitmap selected into it.
  void AttachSurface(HBITMAP Bmp);
  TPoint DeviceOrigin() const { return FDeviceOrigin; }
  void SetVisibleRegion(std::optional<TRegionData> Vis);
  // Resolves the pen, brush and font handles (DC_PEN etc. included).
  TPenObject* CurrentPen() const;
  TBrushObject* CurrentBrush() const;

protected:
  TDcState S;
  TDeviceCaps FCaps;

private:
  friend class TRasterPainter;
  void ReplaceSelection(HGDIOBJ& Slot, HGDIOBJ New);
  void UpdateTransform();
  TRect WholeSurface() const;
  void InvalidateClip() { FClipValid = false; }
  bool SetExtents(int Which, int X, int Y);
  void FixIsotropic();
  void PathAdd(double X, double Y, BYTE Type);
  void PathAddLogical(const TPoint* P, int N, BYTE FirstType, BYTE Type);
  void PathStartFigure();
  std::vector<TDcState> FSaved;
  TPoint FDeviceOrigin;
  std::optional<TRegionData> FVisible;
  // Logical -> device: x' = M11 x + M21 y + Dx, y' = M12 x + M22 y + Dy.
  double FM11 = 1, FM12 = 0, FM21 = 0, FM22 = 1, FDx = 0, FDy = 0;
  mutable TRegionData FClip;
  mutable bool FClipValid = false;
};

// The DC behind H (any DC kind), or nullptr.
TDC* GdiLookupDC(HDC H);
// Adds a DC to the handle table; returns its handle.
HDC GdiAddDC(std::unique_ptr<TDC> DC);
// The screen's description (96 pixels per inch; 1024x768 until the window
// layer reports the real size through SetScreenDeviceCaps).
TDeviceCaps ScreenDeviceCaps();
void SetScreenDeviceCaps(const TDeviceCaps& Caps);
