// EmfRecorder.h — the recording device context: CreateEnhMetaFile hands out
// a DC whose every drawing and state call is written as the EMF record GDI
// writes for it, and CloseEnhMetaFile turns the records into a metafile.
// The DC keeps its state through TDC, so queries (GetTextColor, GetMapMode,
// GetCurrentPositionEx, text metrics) answer as on any DC; it never touches
// pixels. Bounds are gathered in device units of the reference device.
#pragma once
#include <map>
#include <string>
#include "platform/gdi/DcObject.h"
#include "platform/gdi/Emf.h"

// Reference: the DC whose device the picture is made for (null: the screen).
// FileName: also written to that file on close (null: memory only). Frame:
// .01 mm, inclusive (null: from the bounds drawn). Description: "App\0Title\0\0".
HDC CreateEnhMetaFileA(HDC Reference, const char* FileName, const TRect* Frame,
                       const char* Description);
HDC CreateEnhMetaFileW(HDC Reference, const char16_t* FileName, const TRect* Frame,
                       const char16_t* Description);
// Ends the recording, deletes the DC and answers the metafile (null when the
// file could not be written).
HENHMETAFILE CloseEnhMetaFile(HDC Dc);

class TEmfRecorderDC : public TDC {
public:
  TEmfRecorderDC(const TDeviceCaps& Reference, const TRect* Frame, WideString Description,
                 std::string FileName);
  // The finished metafile bytes; the DC records nothing afterwards.
  std::vector<Byte> Finish();
  const std::string& FileName() const { return FFileName; }

  HGDIOBJ SelectObject(HGDIOBJ H) override;
  int SaveDC() override;
  BOOL RestoreDC(int Level) override;
  COLORREF SetTextColor(COLORREF C) override;
  COLORREF SetBkColor(COLORREF C) override;
  int SetBkMode(int Mode) override;
  int SetROP2(int Mode) override;
  int SetPolyFillMode(int Mode) override;
  int SetStretchBltMode(int Mode) override;
  UINT SetTextAlign(UINT Align) override;
  int SetArcDirection(int Dir) override;
  BOOL SetMiterLimit(float Limit, float* Old) override;
  DWORD SetMapperFlags(DWORD Flags) override;
  BOOL SetBrushOrgEx(int X, int Y, TPoint* Old) override;
  HPALETTE SelectPalette(HPALETTE Pal, BOOL ForceBackground) override;
  UINT RealizePalette() override;

  int SetMapMode(int Mode) override;
  BOOL SetWindowOrgEx(int X, int Y, TPoint* Old) override;
  BOOL SetViewportOrgEx(int X, int Y, TPoint* Old) override;
  BOOL OffsetWindowOrgEx(int DX, int DY, TPoint* Old) override;
  BOOL OffsetViewportOrgEx(int DX, int DY, TPoint* Old) override;
  BOOL SetWindowExtEx(int X, int Y, TSize* Old) override;
  BOOL SetViewportExtEx(int X, int Y, TSize* Old) override;
  BOOL ScaleWindowExtEx(int XNum, int XDenom, int YNum, int YDenom, TSize* Old) override;
  BOOL ScaleViewportExtEx(int XNum, int XDenom, int YNum, int YDenom, TSize* Old) override;
  BOOL SetWorldTransform(const XFORM& X) override;
  BOOL ModifyWorldTransform(const XFORM* X, DWORD Mode) override;

  int ExtSelectClipRgn(const TRegionData* Rgn, int Mode) override;
  int IntersectClipRect(int L, int T, int R, int B) override;
  int ExcludeClipRect(int L, int T, int R, int B) override;
  int OffsetClipRgn(int DX, int DY) override;
  int SetMetaRgn() override;
  int SelectClipPath(int Mode) override;

  BOOL MoveToEx(int X, int Y, TPoint* Old) override;
  BOOL LineTo(int X, int Y) override;
  BOOL Polyline(const TPoint* P, int N) override;
  BOOL PolylineTo(const TPoint* P, int N) override;
  BOOL Polygon(const TPoint* P, int N) override;
  BOOL PolyPolygon(const TPoint* P, const int* Counts, int NPolys) override;
  BOOL PolyPolyline(const TPoint* P, const DWORD* Counts, DWORD NPolys) override;
  BOOL PolyBezier(const TPoint* P, DWORD N) override;
  BOOL PolyBezierTo(const TPoint* P, DWORD N) override;
  BOOL Rectangle(int L, int T, int R, int B) override;
  BOOL RoundRect(int L, int T, int R, int B, int W, int H) override;
  BOOL Ellipse(int L, int T, int R, int B) override;
  BOOL Arc(int L, int T, int R, int B, int XS, int YS, int XE, int YE) override;
  BOOL ArcTo(int L, int T, int R, int B, int XS, int YS, int XE, int YE) override;
  BOOL Chord(int L, int T, int R, int B, int XS, int YS, int XE, int YE) override;
  BOOL Pie(int L, int T, int R, int B, int XS, int YS, int XE, int YE) override;
  BOOL AngleArc(int X, int Y, DWORD Radius, float Start, float Sweep) override;
  BOOL FillRect(const TRect& R, HBRUSH Brush) override;
  BOOL FrameRect(const TRect& R, HBRUSH Brush) override;
  BOOL InvertRect(const TRect& R) override;
  COLORREF SetPixel(int X, int Y, COLORREF C) override;
  BOOL FillRgn(const TRegionData& Rgn, HBRUSH Brush) override;
  BOOL FrameRgn(const TRegionData& Rgn, HBRUSH Brush, int W, int H) override;
  BOOL InvertRgn(const TRegionData& Rgn) override;
  BOOL PaintRgn(const TRegionData& Rgn) override;

  BOOL BeginPath() override;
  BOOL EndPath() override;
  BOOL AbortPath() override;
  BOOL CloseFigure() override;
  BOOL FillPath() override;
  BOOL StrokePath() override;
  BOOL StrokeAndFillPath() override;
  BOOL FlattenPath() override;
  BOOL WidenPath() override;

  BOOL ExtTextOutW(int X, int Y, UINT Options, const TRect* Rect, const char16_t* Str, UINT Count,
                   const int* Dx) override;
  BOOL PatBlt(int X, int Y, int W, int H, DWORD Rop) override;
  BOOL BitBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, DWORD Rop) override;
  BOOL StretchBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc,
                  DWORD Rop) override;
  int StretchDIBits(int X, int Y, int W, int H, int XSrc, int YSrc, int WSrc, int HSrc,
                    const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop) override;
  int SetDIBitsToDevice(int X, int Y, DWORD W, DWORD H, int XSrc, int YSrc, UINT StartScan,
                        UINT Lines, const void* Bits, const BITMAPINFO* Info, UINT Usage) override;
  BOOL MaskBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, HBITMAP Mask, int XMask,
               int YMask, DWORD Rop) override;
  BOOL GradientFill(const TRIVERTEX* Vert, ULONG NVert, const void* Mesh, ULONG NMesh,
                    ULONG Mode) override;
  BOOL AlphaBlend(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc,
                  const BLENDFUNCTION& Blend) override;
  BOOL TransparentBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc,
                      UINT Transparent) override;

private:
  template <class TRec>
  void Emit(const TRec& Rec, DWORD ObjectIndex = 0);
  void EmitDword(DWORD Type, DWORD Value) { Emit(TEmrDword{Type, Value}); }
  // The metafile's index for an object, writing its creation record first
  // when the metafile does not hold it yet; stock objects answer their
  // 0x80000000 form. 0 when the object cannot be recorded.
  DWORD ObjectIndex(HGDIOBJ H);
  // Objects the program has deleted since: their DELETEOBJECT records.
  void FlushDeleted();
  // Device-unit bounds of logical points, widened by the pen; added to the
  // picture's bounds.
  TRect Accumulate(const TPoint* P, std::size_t N, bool WithPen = true);
  TRect AccumulateBox(int L, int T, int R, int B, bool WithPen = true);
  TRect AccumulateDevice(TRect Device);
  void Poly(DWORD Type16, DWORD Type32, const TPoint* P, std::size_t N);
  void PolyPoly(DWORD Type16, DWORD Type32, const TPoint* P, const DWORD* Counts, DWORD NPolys);
  void ArcRecord(DWORD Type, int L, int T, int R, int B, int XS, int YS, int XE, int YE);
  void Region(DWORD Type, const TRegionData& Rgn, HBRUSH Brush, TSize Stroke);
  // The source rectangle as a 32-bit DIB; KeepAlpha copies the alpha byte
  // of a 32-bit source (AlphaBlend's per-pixel alpha), else it is 0.
  bool SourceDib(HDC Src, int XSrc, int YSrc, int W, int H, std::vector<Byte>& Bmi,
                 std::vector<Byte>& Bits, bool KeepAlpha = false);
  // ALPHABLEND and TRANSPARENTBLT: a stretched source with Param in the
  // raster-operation field.
  BOOL StretchedSourceRecord(DWORD Type, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc,
                             int WSrc, int HSrc, DWORD Param, bool KeepAlpha);

  TEmfBuilder FBuilder;
  TDeviceCaps FRef;
  std::optional<TRect> FFrame;
  WideString FDescription;
  std::string FFileName;
  bool FHaveBounds = false;
  TRect FBounds;                             // inclusive, device units
  std::map<HGDIOBJ, DWORD> FObjects;         // recorded object -> index
  std::vector<bool> FSlots{true};            // slot 0 is the metafile's own
  bool FFinished = false;
};
