// Paths of the raster DC: recorded in device coordinates between BeginPath
// and EndPath, then filled, stroked, turned into a region or a clip.
#include <algorithm>
#include <cmath>

#include "platform/gdi/DcObject.h"
#include "platform/gdi/Rects.h"
#include "platform/gdi/Raster.h"

// Strokes figures given in surface pixels with the DC's pen (DcDraw.cpp).
void GdiStrokeFigures(const TDC& Dc, const std::vector<TPolygon>& Figs, const std::vector<bool>& Closed);

namespace {
struct TFigures {
  std::vector<TPolygon> Figs;
  std::vector<bool> Closed;
};

void Bezier(TPointD P0, TPointD P1, TPointD P2, TPointD P3, TPolygon& Out) {
  double Len = std::hypot(P1.X - P0.X, P1.Y - P0.Y) + std::hypot(P2.X - P1.X, P2.Y - P1.Y) +
               std::hypot(P3.X - P2.X, P3.Y - P2.Y);
  int N = std::clamp(int(std::ceil(Len / 2)), 1, 1000);
  for (int I = 1; I <= N; ++I) {
    double T = double(I) / N, U = 1 - T;
    double A = U * U * U, B = 3 * U * U * T, C = 3 * U * T * T, E = T * T * T;
    Out.push_back({A * P0.X + B * P1.X + C * P2.X + E * P3.X, A * P0.Y + B * P1.Y + C * P2.Y + E * P3.Y});
  }
}

// The path's figures with curves flattened, shifted by Org.
TFigures Flatten(const TPathData& P, TPoint Org) {
  TFigures F;
  for (std::size_t I = 0; I < P.Types.size();) {
    BYTE T = P.Types[I] & ~PT_CLOSEFIGURE;
    TPointD Q{P.X[I] + Org.X, P.Y[I] + Org.Y};
    if (T == PT_MOVETO || F.Figs.empty()) {
      F.Figs.push_back({Q});
      F.Closed.push_back(false);
    } else if (T == PT_BEZIERTO && I + 2 < P.Types.size()) {
      Bezier(F.Figs.back().back(), Q, {P.X[I + 1] + Org.X, P.Y[I + 1] + Org.Y},
             {P.X[I + 2] + Org.X, P.Y[I + 2] + Org.Y}, F.Figs.back());
      I += 2;
    } else {
      F.Figs.back().push_back(Q);
    }
    if (P.Types[I] & PT_CLOSEFIGURE) F.Closed.back() = true;
    ++I;
  }
  return F;
}
}  // namespace

BOOL TDC::BeginPath() {
  S.Path.Clear();
  S.Path.Open = true;
  return TRUE;
}

BOOL TDC::EndPath() {
  if (!S.Path.Open) return FALSE;
  S.Path.Open = false;
  S.Path.Closed = true;
  return TRUE;
}

BOOL TDC::AbortPath() {
  S.Path.Clear();
  return TRUE;
}

BOOL TDC::CloseFigure() {
  if (!S.Path.Open || S.Path.Types.empty()) return FALSE;
  S.Path.Types.back() |= PT_CLOSEFIGURE;
  return TRUE;
}

std::optional<TRegionData> TDC::PathToRegion(const TRect* Limit) {
  if (!S.Path.Closed) return std::nullopt;
  TFigures F = Flatten(S.Path, {0, 0});
  TPolygons Polys(F.Figs.begin(), F.Figs.end());
  TRect Rows = RasterLimit();
  if (Limit && !IntersectRect(&Rows, &Rows, Limit)) Rows = TRect();
  TRegionData R = RasterPolygonRegion(Polys, S.PolyFillMode, Rows);
  S.Path.Clear();
  return R;
}

BOOL TDC::FillPath() {
  if (!S.Path.Closed) return FALSE;
  TBitmapObject* Surf = Surface();
  TBrushObject* B = Surf ? CurrentBrush() : nullptr;
  if (!B) {
    S.Path.Clear();
    return TRUE;
  }
  // Only rows the clip can show are made: a path far larger than the
  // surface would otherwise cost a region row per unit of its height.
  const TPoint O = DeviceOrigin();
  TRect Visible = DeviceClip().Bounds();
  OffsetRect(&Visible, -O.X, -O.Y);
  auto R = PathToRegion(&Visible);
  R->Offset(O.X, O.Y);
  TRasterPaint P = RasterBrushPaint(*B, *Surf, S.TextColor, S.BkColor, S.BkMode, S.DCBrushColor,
                                    {S.BrushOrg.X + O.X, S.BrushOrg.Y + O.Y}, S.Rop2);
  RasterFillRegion(*Surf, TRegionData::Combine(*R, DeviceClip(), RGN_AND), P);
  return TRUE;
}

BOOL TDC::StrokePath() {
  if (!S.Path.Closed) return FALSE;
  TFigures F = Flatten(S.Path, {0, 0});
  S.Path.Clear();
  TPoint O = DeviceOrigin();
  for (auto& Fig : F.Figs)
    for (auto& Q : Fig) { Q.X = std::floor(Q.X + 0.5) + O.X; Q.Y = std::floor(Q.Y + 0.5) + O.Y; }
  GdiStrokeFigures(*this, F.Figs, F.Closed);
  return TRUE;
}

BOOL TDC::StrokeAndFillPath() {
  if (!S.Path.Closed) return FALSE;
  TPathData Copy = S.Path;
  FillPath();
  S.Path = Copy;
  return StrokePath();
}

BOOL TDC::FlattenPath() {
  if (!S.Path.Closed) return FALSE;
  TFigures F = Flatten(S.Path, {0, 0});
  TPathData P;
  P.Closed = true;
  for (std::size_t I = 0; I < F.Figs.size(); ++I) {
    for (std::size_t K = 0; K < F.Figs[I].size(); ++K) {
      P.X.push_back(F.Figs[I][K].X);
      P.Y.push_back(F.Figs[I][K].Y);
      P.Types.push_back(K == 0 ? PT_MOVETO : PT_LINETO);
    }
    if (F.Closed[I]) P.Types.back() |= PT_CLOSEFIGURE;
  }
  S.Path = std::move(P);
  return TRUE;
}

BOOL TDC::WidenPath() {
  if (!S.Path.Closed) return FALSE;
  TPenObject* Pen = CurrentPen();
  if (!Pen || Pen->LineStyle() == PS_NULL) return FALSE;
  TFigures F = Flatten(S.Path, {0, 0});
  TStrokeStyle St;
  St.Width = std::max(1.0, std::floor(Pen->Width * DeviceScaleX() + 0.5));
  if (Pen->Kind == OBJ_EXTPEN) {
    St.Cap = Pen->Style & PS_ENDCAP_MASK;
    St.Join = Pen->Style & PS_JOIN_MASK;
  }
  St.MiterLimit = S.MiterLimit;
  TPolygons Out;
  for (std::size_t I = 0; I < F.Figs.size(); ++I) {
    // Path points name pixels, as Polyline's do: stroke through their centres.
    for (auto& Q : F.Figs[I]) { Q.X = std::floor(Q.X + 0.5) + 0.5; Q.Y = std::floor(Q.Y + 0.5) + 0.5; }
    RasterStrokePolyline(F.Figs[I], F.Closed[I], St, Out);
  }
  // The stroke's pieces overlap; the path gets their union, as disjoint
  // rectangles, so that either fill mode fills all of it.
  TRegionData Union = RasterPolygonRegion(Out, WINDING, RasterLimit());
  TPathData P;
  P.Closed = true;
  for (const TRect& R : Union.Rects()) {
    double Xs[4] = {double(R.Left), double(R.Right), double(R.Right), double(R.Left)};
    double Ys[4] = {double(R.Top), double(R.Top), double(R.Bottom), double(R.Bottom)};
    for (int K = 0; K < 4; ++K) {
      P.X.push_back(Xs[K]);
      P.Y.push_back(Ys[K]);
      P.Types.push_back(K == 0 ? PT_MOVETO : PT_LINETO);
    }
    P.Types.back() |= PT_CLOSEFIGURE;
  }
  S.Path = std::move(P);
  return TRUE;
}

int TDC::SelectClipPath(int Mode) {
  if (!S.Path.Closed) return ERROR;
  auto R = PathToRegion();
  return ExtSelectClipRgn(&*R, Mode);
}
