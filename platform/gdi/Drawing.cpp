#include "platform/gdi/Drawing.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/DcObject.h"

#define SX_DC_OR(Fail)        \
  TDC* D = GdiLookupDC(Dc);   \
  if (!D) return Fail

BOOL MoveToEx(HDC Dc, int X, int Y, TPoint* Old) { SX_DC_OR(FALSE); return D->MoveToEx(X, Y, Old); }
BOOL LineTo(HDC Dc, int X, int Y) { SX_DC_OR(FALSE); return D->LineTo(X, Y); }
BOOL Polyline(HDC Dc, const TPoint* P, int N) { SX_DC_OR(FALSE); return D->Polyline(P, N); }
BOOL PolylineTo(HDC Dc, const TPoint* P, DWORD N) { SX_DC_OR(FALSE); return D->PolylineTo(P, int(N)); }
BOOL PolyPolyline(HDC Dc, const TPoint* P, const DWORD* C, DWORD N) { SX_DC_OR(FALSE); return D->PolyPolyline(P, C, N); }
BOOL Polygon(HDC Dc, const TPoint* P, int N) { SX_DC_OR(FALSE); return D->Polygon(P, N); }
BOOL PolyPolygon(HDC Dc, const TPoint* P, const int* C, int N) { SX_DC_OR(FALSE); return D->PolyPolygon(P, C, N); }
BOOL PolyBezier(HDC Dc, const TPoint* P, DWORD N) { SX_DC_OR(FALSE); return D->PolyBezier(P, N); }
BOOL PolyBezierTo(HDC Dc, const TPoint* P, DWORD N) { SX_DC_OR(FALSE); return D->PolyBezierTo(P, N); }
BOOL PolyDraw(HDC Dc, const TPoint* P, const BYTE* T, int N) { SX_DC_OR(FALSE); return D->PolyDraw(P, T, N); }
BOOL Rectangle(HDC Dc, int L, int T, int R, int B) { SX_DC_OR(FALSE); return D->Rectangle(L, T, R, B); }
BOOL RoundRect(HDC Dc, int L, int T, int R, int B, int W, int H) { SX_DC_OR(FALSE); return D->RoundRect(L, T, R, B, W, H); }
BOOL Ellipse(HDC Dc, int L, int T, int R, int B) { SX_DC_OR(FALSE); return D->Ellipse(L, T, R, B); }
BOOL Arc(HDC Dc, int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  SX_DC_OR(FALSE);
  return D->Arc(L, T, R, B, XS, YS, XE, YE);
}
BOOL ArcTo(HDC Dc, int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  SX_DC_OR(FALSE);
  return D->ArcTo(L, T, R, B, XS, YS, XE, YE);
}
BOOL Chord(HDC Dc, int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  SX_DC_OR(FALSE);
  return D->Chord(L, T, R, B, XS, YS, XE, YE);
}
BOOL Pie(HDC Dc, int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  SX_DC_OR(FALSE);
  return D->Pie(L, T, R, B, XS, YS, XE, YE);
}
BOOL AngleArc(HDC Dc, int X, int Y, DWORD R, FLOAT A, FLOAT S) { SX_DC_OR(FALSE); return D->AngleArc(X, Y, R, A, S); }

int FillRect(HDC Dc, const TRect* R, HBRUSH B) { SX_DC_OR(FALSE); return R ? D->FillRect(*R, B) : FALSE; }
int FrameRect(HDC Dc, const TRect* R, HBRUSH B) { SX_DC_OR(FALSE); return R ? D->FrameRect(*R, B) : FALSE; }
BOOL InvertRect(HDC Dc, const TRect* R) { SX_DC_OR(FALSE); return R ? D->InvertRect(*R) : FALSE; }
COLORREF SetPixel(HDC Dc, int X, int Y, COLORREF C) { SX_DC_OR(CLR_INVALID); return D->SetPixel(X, Y, C); }
BOOL SetPixelV(HDC Dc, int X, int Y, COLORREF C) {
  SX_DC_OR(FALSE);
  return D->SetPixel(X, Y, C) != CLR_INVALID ? TRUE : FALSE;
}
COLORREF GetPixel(HDC Dc, int X, int Y) { SX_DC_OR(CLR_INVALID); return D->GetPixel(X, Y); }

BOOL BeginPath(HDC Dc) { SX_DC_OR(FALSE); return D->BeginPath(); }
BOOL EndPath(HDC Dc) { SX_DC_OR(FALSE); return D->EndPath(); }
BOOL AbortPath(HDC Dc) { SX_DC_OR(FALSE); return D->AbortPath(); }
BOOL CloseFigure(HDC Dc) { SX_DC_OR(FALSE); return D->CloseFigure(); }
BOOL FillPath(HDC Dc) { SX_DC_OR(FALSE); return D->FillPath(); }
BOOL StrokePath(HDC Dc) { SX_DC_OR(FALSE); return D->StrokePath(); }
BOOL StrokeAndFillPath(HDC Dc) { SX_DC_OR(FALSE); return D->StrokeAndFillPath(); }
BOOL FlattenPath(HDC Dc) { SX_DC_OR(FALSE); return D->FlattenPath(); }
BOOL WidenPath(HDC Dc) { SX_DC_OR(FALSE); return D->WidenPath(); }

int GetPath(HDC Dc, TPoint* Points, BYTE* Types, int Size) {
  SX_DC_OR(-1);
  const TPathData& P = D->Path();
  if (!P.Closed) return -1;
  int N = int(P.Types.size());
  if (Size == 0) return N;
  if (Size < N || !Points || !Types) return -1;
  for (int I = 0; I < N; ++I) {
    auto R = [](double V) { return int(std::clamp(std::floor(V + 0.5), -double(1 << 27), double(1 << 27))); };
    Points[I] = D->ToLogical({R(P.X[std::size_t(I)]), R(P.Y[std::size_t(I)])});
    Types[I] = P.Types[std::size_t(I)];
  }
  return N;
}
