// Drawing operations of the raster DC: logical coordinates in, pixels out.
// Each call transforms to device space, builds the shape's fill region and
// outline, cuts them to the DC's clip and paints. While a path is open the
// path-building calls record into the path instead.
#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/gdi/DcObject.h"
#include "platform/gdi/Raster.h"

namespace {
constexpr double Pi = 3.14159265358979323846;

int Round(double V) {
  constexpr double Limit = double(1 << 27);
  if (!(V > -Limit)) return -(1 << 27);
  if (V > Limit) return 1 << 27;
  return int(std::floor(V + 0.5));
}

// What the current pen does, in device pixels.
struct TPenInfo {
  bool Null = true;
  bool Cosmetic = true;         // one pixel wide, drawn with Bresenham
  TStrokeStyle Stroke;
  DWORD LineStyle = PS_SOLID;
  bool InsideFrame = false;
  COLORREF Color = 0;
  const TPenObject* Pen = nullptr;
};

TPenInfo PenInfo(const TDC& Dc) {
  TPenInfo I;
  const TPenObject* P = Dc.CurrentPen();
  if (!P || P->LineStyle() == PS_NULL) return I;
  I.Null = false;
  I.Pen = P;
  I.LineStyle = P->LineStyle();
  I.Color = P->Handle == GdiStockObject(DC_PEN) ? Dc.State().DCPenColor : P->Color;
  bool Ext = P->Kind == OBJ_EXTPEN;
  if (Ext && !P->Geometric()) return I;  // cosmetic extended pen
  double W = P->Width * Dc.DeviceScaleX();
  int WD = Round(W);
  if (WD > 1 || (Ext && P->Geometric() && W > 1)) {
    I.Cosmetic = false;
    I.Stroke.Width = std::max(1.0, double(WD));
    I.Stroke.Cap = Ext ? (P->Style & PS_ENDCAP_MASK) : PS_ENDCAP_ROUND;
    I.Stroke.Join = Ext ? (P->Style & PS_JOIN_MASK) : PS_JOIN_ROUND;
    I.Stroke.MiterLimit = Dc.State().MiterLimit;
    I.InsideFrame = I.LineStyle == PS_INSIDEFRAME;
    // Wide pens from CreatePen draw solid whatever their style.
    if (!Ext) I.LineStyle = PS_SOLID;
  } else if (I.LineStyle == PS_INSIDEFRAME) {
    I.LineStyle = PS_SOLID;
  }
  return I;
}

std::vector<int> CosmeticRuns(const TPenInfo& P) {
  switch (P.LineStyle) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    case PS_DASHDOT: return {9, 6, 3, 6};
    case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
    case PS_USERSTYLE: {
      std::vector<int> R;
      for (DWORD V : P.Pen->UserStyle) R.push_back(int(std::max<DWORD>(V, 1)));
      if (R.size() % 2) R.insert(R.end(), R.begin(), R.end());
      return R;
    }
  }
  return {};
}

// Dash lengths of a styled geometric pen, in units of its width.
std::vector<double> GeometricRuns(const TPenInfo& P) {
  switch (P.LineStyle) {
    case PS_DASH: return {3, 1};
    case PS_DOT: return {1, 1};
    case PS_DASHDOT: return {3, 1, 1, 1};
    case PS_DASHDOTDOT: return {3, 1, 1, 1, 1, 1};
    case PS_USERSTYLE: {
      std::vector<double> R;
      for (DWORD V : P.Pen->UserStyle) R.push_back(double(V) / P.Stroke.Width);
      if (R.size() % 2) R.insert(R.end(), R.begin(), R.end());
      return R;
    }
  }
  return {};
}

// Splits a polyline into its dashes.
void SplitDashes(const TPolygon& P, bool Closed, const std::vector<double>& Runs, double Unit,
                 std::vector<TPolygon>& Out) {
  double Total = 0;
  for (double R : Runs) Total += R * Unit;
  if (Total <= 0) return;
  std::size_t Run = 0;
  double Left = Runs[0] * Unit;
  bool On = true;
  TPolygon Cur;
  std::size_t N = Closed ? P.size() : P.size() - 1;
  for (std::size_t I = 0; I < N; ++I) {
    TPointD A = P[I], B = P[(I + 1) % P.size()];
    double L = std::hypot(B.X - A.X, B.Y - A.Y), T = 0;
    if (On && Cur.empty()) Cur.push_back(A);
    while (L - T > Left) {
      T += Left;
      TPointD Q{A.X + (B.X - A.X) * T / L, A.Y + (B.Y - A.Y) * T / L};
      if (On) { Cur.push_back(Q); Out.push_back(std::move(Cur)); Cur.clear(); }
      else Cur = {Q};
      On = !On;
      Run = (Run + 1) % Runs.size();
      Left = Runs[Run] * Unit;
    }
    Left -= L - T;
    if (On) Cur.push_back(B);
  }
  if (On && Cur.size() > 1) Out.push_back(std::move(Cur));
}

class TPainter {
public:
  explicit TPainter(const TDC& Dc) : D(Dc), Surf(Dc.Surface()), Clip(Dc.DeviceClip()) {
    Org = Dc.DeviceOrigin();
  }
  bool Ready() const { return Surf && !Clip.IsEmpty(); }

  // Logical -> surface coordinates (continuous).
  TPointD Dev(double X, double Y) const {
    double DX, DY;
    D.ToDevice(X, Y, DX, DY);
    return {DX + Org.X, DY + Org.Y};
  }
  TPointD DevRounded(TPoint P) const {
    TPoint Q = D.ToDevice(P);
    return {double(Q.X + Org.X), double(Q.Y + Org.Y)};
  }
  TRect DevRect(int L, int T, int R, int B) const {
    TPointD A = DevRounded({L, T}), C = DevRounded({R, B});
    return {int(std::min(A.X, C.X)), int(std::min(A.Y, C.Y)), int(std::max(A.X, C.X)), int(std::max(A.Y, C.Y))};
  }

  void FillRegion(const TRegionData& R, const TRasterPaint& P) {
    if (!Ready() || P.Kind == TRasterPaint::None) return;
    if (Clip.Rects().size() == 1) {
      const TRect& C = Clip.Rects()[0];
      for (const TRect& Q : R.Rects())
        RasterFillRect(*Surf, {std::max(Q.Left, C.Left), std::max(Q.Top, C.Top), std::min(Q.Right, C.Right),
                               std::min(Q.Bottom, C.Bottom)}, P);
      return;
    }
    RasterFillRegion(*Surf, TRegionData::Combine(R, Clip, RGN_AND), P);
  }

  TRasterPaint BrushPaint(const TBrushObject* B, int Rop2) const {
    if (!B || !Surf) return {};
    const TDcState& S = D.State();
    TPoint BO = S.BrushOrg;
    return RasterBrushPaint(*B, *Surf, S.TextColor, S.BkColor, S.BkMode, S.DCBrushColor,
                            {BO.X + Org.X, BO.Y + Org.Y}, Rop2);
  }
  TRasterPaint CurrentBrushPaint() const { return BrushPaint(D.CurrentBrush(), D.State().Rop2); }

  TRasterPaint PenPaint(const TPenInfo& P) const {
    if (!Surf || P.Null) return {};
    if (P.Pen && P.Pen->Kind == OBJ_EXTPEN && P.Pen->BrushStyle != BS_SOLID) {
      TBrushObject B;
      B.Style = P.Pen->BrushStyle;
      B.Color = P.Pen->Color;
      B.Hatch = int(P.Pen->Hatch);
      return BrushPaint(&B, D.State().Rop2);
    }
    return RasterSolidPaint(*Surf, P.Color, D.State().Rop2);
  }

  // Region a stroke of these figures covers (figures in pixel coordinates).
  TRegionData StrokeRegion(const TPenInfo& P, const std::vector<TPolygon>& Figs,
                           const std::vector<bool>& Closed) const {
    TPolygons Polys;
    std::vector<double> Runs = GeometricRuns(P);
    for (std::size_t I = 0; I < Figs.size(); ++I) {
      TPolygon F = Figs[I];
      for (auto& Q : F) { Q.X += 0.5; Q.Y += 0.5; }  // through pixel centres
      if (F.empty()) continue;
      if (Runs.empty()) {
        RasterStrokePolyline(F, Closed[I], P.Stroke, Polys);
      } else {
        std::vector<TPolygon> Dashes;
        if (F.size() > 1) SplitDashes(F, Closed[I], Runs, P.Stroke.Width, Dashes);
        for (auto& Dsh : Dashes) RasterStrokePolyline(Dsh, false, P.Stroke, Polys);
      }
    }
    return RasterPolygonRegion(Polys, WINDING, Clip.Bounds());
  }

  // Draws figures (pixel coordinates) with the current pen.
  void Outline(const std::vector<TPolygon>& Figs, const std::vector<bool>& Closed) {
    TPenInfo P = PenInfo(D);
    if (!Ready() || P.Null) return;
    if (!P.Cosmetic) {
      FillRegion(StrokeRegion(P, Figs, Closed), PenPaint(P));
      return;
    }
    TLineStyle St;
    St.Runs = CosmeticRuns(P);
    St.Alternate = P.LineStyle == PS_ALTERNATE;
    St.OpaqueGaps = D.State().BkMode == OPAQUE && (St.Alternate || !St.Runs.empty());
    St.GapValue = Surf->ColorToPixel(D.State().BkColor);
    std::uint32_t V = Surf->ColorToPixel(P.Color);
    for (std::size_t I = 0; I < Figs.size(); ++I) {
      const TPolygon& F = Figs[I];
      std::size_t N = F.size();
      if (N < 2) continue;
      std::size_t Segs = Closed[I] ? N : N - 1;
      for (std::size_t K = 0; K < Segs; ++K) {
        const TPointD &A = F[K], &B = F[(K + 1) % N];
        RasterLine(*Surf, Clip, Round(A.X), Round(A.Y), Round(B.X), Round(B.Y), V, D.State().Rop2, St);
      }
    }
  }
  void Outline(const TPolygon& Fig, bool Closed) { Outline(std::vector<TPolygon>{Fig}, {Closed}); }

  const TDC& D;
  TBitmapObject* Surf;
  const TRegionData& Clip;
  TPoint Org;
};

// Points of the arc of the ellipse in Box from angle A0 sweeping Sweep
// (radians, positive = counterclockwise on screen).
void ArcPoints(double L, double T, double R, double B, double A0, double Sweep, TPolygon& Out) {
  double CX = (L + R) / 2, CY = (T + B) / 2, RX = (R - L) / 2, RY = (B - T) / 2;
  int N = std::max(2, int(std::ceil(std::fabs(Sweep) * std::max(RX, RY) / 2)) + 1);
  N = std::min(N, 2000);
  for (int I = 0; I <= N; ++I) {
    double A = A0 + Sweep * I / N;
    Out.push_back({CX + RX * std::cos(A), CY - RY * std::sin(A)});
  }
}

double AngleOf(double CX, double CY, double RX, double RY, double X, double Y) {
  return std::atan2(-(Y - CY) / (RY ? RY : 1), (X - CX) / (RX ? RX : 1));
}

void FlattenBezier(TPointD P0, TPointD P1, TPointD P2, TPointD P3, TPolygon& Out) {
  double Len = std::hypot(P1.X - P0.X, P1.Y - P0.Y) + std::hypot(P2.X - P1.X, P2.Y - P1.Y) +
               std::hypot(P3.X - P2.X, P3.Y - P2.Y);
  int N = std::clamp(int(std::ceil(Len / 2)), 1, 1000);
  for (int I = 1; I <= N; ++I) {
    double T = double(I) / N, U = 1 - T;
    double A = U * U * U, B2 = 3 * U * U * T, C = 3 * U * T * T, E = T * T * T;
    Out.push_back({A * P0.X + B2 * P1.X + C * P2.X + E * P3.X, A * P0.Y + B2 * P1.Y + C * P2.Y + E * P3.Y});
  }
}
}  // namespace

void GdiStrokeFigures(const TDC& Dc, const std::vector<TPolygon>& Figs, const std::vector<bool>& Closed) {
  TPainter P(Dc);
  P.Outline(Figs, Closed);
}

// --- path recording -----------------------------------------------------------------

void TDC::PathAdd(double X, double Y, BYTE Type) {
  S.Path.X.push_back(X);
  S.Path.Y.push_back(Y);
  S.Path.Types.push_back(Type);
}

// A figure continued from the current position needs a starting point when
// the path is empty or its last figure was closed.
void TDC::PathStartFigure() {
  if (S.Path.Types.empty() || (S.Path.Types.back() & PT_CLOSEFIGURE))
    PathAddLogical(&S.CurrentPos, 1, PT_MOVETO, PT_MOVETO);
}

void TDC::PathAddLogical(const TPoint* P, int N, BYTE FirstType, BYTE Type) {
  for (int I = 0; I < N; ++I) {
    double X, Y;
    ToDevice(P[I].X, P[I].Y, X, Y);
    PathAdd(X, Y, I == 0 ? FirstType : Type);
  }
}

void TDC::PathAddPolygon(const std::vector<double>& X, const std::vector<double>& Y) {
  if (!S.Path.Open || X.empty() || X.size() != Y.size()) return;
  for (std::size_t I = 0; I < X.size(); ++I) PathAdd(X[I], Y[I], I == 0 ? PT_MOVETO : PT_LINETO);
  S.Path.Types.back() |= PT_CLOSEFIGURE;
}

// --- lines ----------------------------------------------------------------------------

BOOL TDC::MoveToEx(int X, int Y, TPoint* Old) {
  if (Old) *Old = S.CurrentPos;
  S.CurrentPos = {X, Y};
  if (S.Path.Open) {
    // A move right after a move replaces it.
    if (!S.Path.Types.empty() && S.Path.Types.back() == PT_MOVETO) {
      S.Path.X.pop_back();
      S.Path.Y.pop_back();
      S.Path.Types.pop_back();
    }
    TPoint P{X, Y};
    PathAddLogical(&P, 1, PT_MOVETO, PT_MOVETO);
  }
  return TRUE;
}

BOOL TDC::LineTo(int X, int Y) {
  TPoint Pts[2] = {S.CurrentPos, {X, Y}};
  if (S.Path.Open) {
    PathStartFigure();
    PathAddLogical(&Pts[1], 1, PT_LINETO, PT_LINETO);
  } else {
    TPainter P(*this);
    P.Outline({P.DevRounded(Pts[0]), P.DevRounded(Pts[1])}, false);
  }
  S.CurrentPos = {X, Y};
  return TRUE;
}

BOOL TDC::Polyline(const TPoint* Pts, int N) {
  if (!Pts || N < 2) return FALSE;
  if (S.Path.Open) {
    PathAddLogical(Pts, N, PT_MOVETO, PT_LINETO);
    return TRUE;
  }
  TPainter P(*this);
  TPolygon F;
  for (int I = 0; I < N; ++I) F.push_back(P.DevRounded(Pts[I]));
  P.Outline(F, false);
  return TRUE;
}

BOOL TDC::PolylineTo(const TPoint* Pts, int N) {
  if (!Pts || N < 1) return FALSE;
  if (S.Path.Open) {
    PathStartFigure();
    PathAddLogical(Pts, N, PT_LINETO, PT_LINETO);
  } else {
    TPainter P(*this);
    TPolygon F{P.DevRounded(S.CurrentPos)};
    for (int I = 0; I < N; ++I) F.push_back(P.DevRounded(Pts[I]));
    P.Outline(F, false);
  }
  S.CurrentPos = Pts[N - 1];
  return TRUE;
}

BOOL TDC::PolyPolyline(const TPoint* Pts, const DWORD* Counts, DWORD NPolys) {
  if (!Pts || !Counts || NPolys == 0) return FALSE;
  for (DWORD I = 0; I < NPolys; ++I)
    if (Counts[I] < 2) return FALSE;
  for (DWORD I = 0; I < NPolys; ++I) {
    Polyline(Pts, int(Counts[I]));
    Pts += Counts[I];
  }
  return TRUE;
}

BOOL TDC::PolyPolygon(const TPoint* Pts, const int* Counts, int NPolys) {
  if (!Pts || !Counts || NPolys <= 0) return FALSE;
  for (int I = 0; I < NPolys; ++I)
    if (Counts[I] < 2) return FALSE;
  if (S.Path.Open) {
    for (int I = 0; I < NPolys; ++I) {
      PathAddLogical(Pts, Counts[I], PT_MOVETO, PT_LINETO);
      S.Path.Types.back() |= PT_CLOSEFIGURE;
      Pts += Counts[I];
    }
    return TRUE;
  }
  TPainter P(*this);
  TPolygons Fill;
  std::vector<TPolygon> Figs;
  for (int I = 0; I < NPolys; ++I) {
    TPolygon F;
    for (int K = 0; K < Counts[I]; ++K) F.push_back(P.DevRounded(Pts[K]));
    Pts += Counts[I];
    Fill.push_back(F);
    Figs.push_back(std::move(F));
  }
  if (P.Ready()) {
    // The outline's pixel (X, Y) sits on the point (X, Y), so under an outline
    // the interior is sampled there too: sampled half a pixel off, a small
    // triangle's fill spills past its outline up and left and leaves its
    // middle pixel empty. Straight edges keep their pixels either way; a fill
    // without outline keeps the centre samples its callers' shapes are made
    // for.
    if (!PenInfo(*this).Null)
      for (auto& F : Fill)
        for (auto& Q : F) { Q.X += 0.5; Q.Y += 0.5; }
    TRegionData R = RasterPolygonRegion(Fill, S.PolyFillMode, P.Clip.Bounds());
    P.FillRegion(R, P.CurrentBrushPaint());
  }
  P.Outline(Figs, std::vector<bool>(Figs.size(), true));
  return TRUE;
}

BOOL TDC::Polygon(const TPoint* Pts, int N) { return PolyPolygon(Pts, &N, 1); }

BOOL TDC::PolyBezier(const TPoint* Pts, DWORD N) {
  if (!Pts || N < 4 || (N - 1) % 3 != 0) return FALSE;
  if (S.Path.Open) {
    PathAddLogical(Pts, 1, PT_MOVETO, PT_MOVETO);
    PathAddLogical(Pts + 1, int(N - 1), PT_BEZIERTO, PT_BEZIERTO);
    return TRUE;
  }
  TPainter P(*this);
  TPolygon F{P.DevRounded(Pts[0])};
  for (DWORD I = 1; I + 2 < N; I += 3)
    FlattenBezier(F.back(), P.DevRounded(Pts[I]), P.DevRounded(Pts[I + 1]), P.DevRounded(Pts[I + 2]), F);
  P.Outline(F, false);
  return TRUE;
}

BOOL TDC::PolyBezierTo(const TPoint* Pts, DWORD N) {
  if (!Pts || N < 3 || N % 3 != 0) return FALSE;
  if (S.Path.Open) {
    PathStartFigure();
    PathAddLogical(Pts, int(N), PT_BEZIERTO, PT_BEZIERTO);
  } else {
    TPainter P(*this);
    TPolygon F{P.DevRounded(S.CurrentPos)};
    for (DWORD I = 0; I + 2 < N; I += 3)
      FlattenBezier(F.back(), P.DevRounded(Pts[I]), P.DevRounded(Pts[I + 1]), P.DevRounded(Pts[I + 2]), F);
    P.Outline(F, false);
  }
  S.CurrentPos = Pts[N - 1];
  return TRUE;
}

BOOL TDC::PolyDraw(const TPoint* Pts, const BYTE* Types, int N) {
  if (!Pts || !Types || N < 0) return FALSE;
  // Check first: a malformed list draws nothing.
  for (int I = 0; I < N; ++I) {
    BYTE T = Types[I] & ~PT_CLOSEFIGURE;
    if (T == PT_BEZIERTO) {
      if (I + 2 >= N || (Types[I + 1] & ~PT_CLOSEFIGURE) != PT_BEZIERTO ||
          (Types[I + 2] & ~PT_CLOSEFIGURE) != PT_BEZIERTO)
        return FALSE;
      I += 2;
    } else if (T != PT_MOVETO && T != PT_LINETO) {
      return FALSE;
    }
  }
  TPoint Start = S.CurrentPos;
  for (int I = 0; I < N; ++I) {
    BYTE T = Types[I] & ~PT_CLOSEFIGURE;
    int Last = I;
    if (T == PT_MOVETO) {
      MoveToEx(Pts[I].X, Pts[I].Y, nullptr);
      Start = Pts[I];
      continue;
    }
    if (T == PT_LINETO) {
      LineTo(Pts[I].X, Pts[I].Y);
    } else {
      PolyBezierTo(Pts + I, 3);
      Last = I + 2;
      I += 2;
    }
    if (Types[Last] & PT_CLOSEFIGURE) {
      if (S.Path.Open) {
        CloseFigure();
      } else {
        LineTo(Start.X, Start.Y);
      }
    }
  }
  return TRUE;
}

// --- closed shapes ----------------------------------------------------------------------

namespace {
// The box of a shape in surface pixels, with GDI's edge rule: in compatible
// mode the right and bottom edges are left out.
TRect ShapeBox(const TPainter& P, const TDcState& S, int L, int T, int R, int B) {
  TRect Box = P.DevRect(L, T, R, B);
  if (S.GraphicsMode == GM_ADVANCED) { Box.Right += 1; Box.Bottom += 1; }
  return Box;
}

// Sums of coordinates and pen widths saturate: a pen as wide as an int
// must not wrap a box inside out.
int Sat(Int64 V) { return int(std::clamp<Int64>(V, INT_MIN, INT_MAX)); }
TRect Inflated(TRect R, Int64 D) {
  return {Sat(R.Left - D), Sat(R.Top - D), Sat(R.Right + D), Sat(R.Bottom + D)};
}
}  // namespace

namespace {
// Shapes under a rotating or shearing transform: built in logical space as
// one polygon (an ellipse as many points) and transformed point by point.
enum class TShape { Rect, RoundRect, Ellipse, Arc, Chord, Pie };

void PaintTransformedShape(const TDC& Dc, TShape Kind, double L, double T, double R, double B, double W,
                           double H, double XS = 0, double YS = 0, double XE = 0, double YE = 0) {
  TPainter P(Dc);
  if (!P.Ready()) return;
  if (L > R) std::swap(L, R);
  if (T > B) std::swap(T, B);
  double Scale = std::max(Dc.DeviceScaleX(), Dc.DeviceScaleY());
  auto Points = [&](double CX, double CY, double RX, double RY, double A0, double Sweep, TPolygon& Out) {
    int N = std::clamp(int(std::ceil(std::fabs(Sweep) * std::max(RX, RY) * Scale / 2)) + 1, 4, 2000);
    for (int I = 0; I <= N; ++I) {
      double A = A0 + Sweep * I / N;
      Out.push_back(P.Dev(CX + RX * std::cos(A), CY - RY * std::sin(A)));
    }
  };
  TPolygon Dev;
  bool Closed = true, Filled = true;
  double CX = (L + R) / 2, CY = (T + B) / 2, RX = (R - L) / 2, RY = (B - T) / 2;
  switch (Kind) {
    case TShape::Rect:
      for (auto [X, Y] : {std::pair{L, T}, {R, T}, {R, B}, {L, B}}) Dev.push_back(P.Dev(X, Y));
      break;
    case TShape::RoundRect: {
      double WX = std::min(W, R - L) / 2, HY = std::min(H, B - T) / 2;
      Points(R - WX, T + HY, WX, HY, 0, Pi / 2, Dev);
      Points(L + WX, T + HY, WX, HY, Pi / 2, Pi / 2, Dev);
      Points(L + WX, B - HY, WX, HY, Pi, Pi / 2, Dev);
      Points(R - WX, B - HY, WX, HY, 3 * Pi / 2, Pi / 2, Dev);
      break;
    }
    case TShape::Ellipse:
      Points(CX, CY, RX, RY, 0, 2 * Pi, Dev);
      Dev.pop_back();
      break;
    default: {
      double A0 = AngleOf(CX, CY, RX, RY, XS, YS), A1 = AngleOf(CX, CY, RX, RY, XE, YE);
      // Counterclockwise as seen on the device: a mirroring transform turns
      // the logical direction round.
      bool Ccw = (Dc.State().ArcDirection == AD_COUNTERCLOCKWISE);
      double M11, M12, M21, M22, O1, O2;
      Dc.ToDevice(0, 0, O1, O2);
      Dc.ToDevice(1, 0, M11, M12);
      Dc.ToDevice(0, 1, M21, M22);
      if ((M11 - O1) * (M22 - O2) - (M12 - O2) * (M21 - O1) < 0) Ccw = !Ccw;
      double Sweep = A1 - A0;
      if (Ccw) { while (Sweep <= 0) Sweep += 2 * Pi; }
      else { while (Sweep >= 0) Sweep -= 2 * Pi; }
      Points(CX, CY, RX, RY, A0, Sweep, Dev);
      if (Kind == TShape::Pie) Dev.push_back(P.Dev(CX, CY));
      Closed = Filled = Kind != TShape::Arc;
    }
  }
  if (Filled) {
    TRegionData Fill = RasterPolygonRegion({Dev}, ALTERNATE, P.Clip.Bounds());
    P.FillRegion(Fill, P.CurrentBrushPaint());
  }
  P.Outline(Dev, Closed);
}
}  // namespace

BOOL TDC::Rectangle(int L, int T, int R, int B) {
  if (S.Path.Open) {
    TPoint Q[4] = {{L, T}, {R, T}, {R, B}, {L, B}};
    PathAddLogical(Q, 4, PT_MOVETO, PT_LINETO);
    S.Path.Types.back() |= PT_CLOSEFIGURE;
    return TRUE;
  }
  if (!AxisAligned()) {
    PaintTransformedShape(*this, TShape::Rect, L, T, R, B, 0, 0);
    return TRUE;
  }
  TPainter P(*this);
  if (!P.Ready()) return TRUE;
  TRect Box = ShapeBox(P, S, L, T, R, B);
  TPenInfo Pen = PenInfo(*this);
  if (Pen.Null) {
    // Without a pen the interior alone is one pixel smaller each way.
    P.FillRegion(TRegionData({Box.Left, Box.Top, Box.Right - 1, Box.Bottom - 1}), P.CurrentBrushPaint());
    return TRUE;
  }
  if (Box.Width() <= 0 || Box.Height() <= 0) return TRUE;
  if (Pen.Cosmetic) {
    P.FillRegion(TRegionData({Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1}), P.CurrentBrushPaint());
    double X0 = Box.Left, Y0 = Box.Top, X1 = Box.Right - 1, Y1 = Box.Bottom - 1;
    P.Outline(TPolygon{{X0, Y0}, {X1, Y0}, {X1, Y1}, {X0, Y1}}, true);
    return TRUE;
  }
  int W = int(Pen.Stroke.Width);
  // The stroke reaches W/2 outside the path on the left/top and (W-1)/2 on
  // the right/bottom (its centre line runs through pixel centres).
  if (Pen.InsideFrame)
    Box = {Sat(Box.Left + Int64(W / 2)), Sat(Box.Top + Int64(W / 2)), Sat(Box.Right - Int64((W - 1) / 2)),
           Sat(Box.Bottom - Int64((W - 1) / 2))};
  double X0 = Box.Left, Y0 = Box.Top, X1 = Box.Right - 1, Y1 = Box.Bottom - 1;
  TRegionData Ring = P.StrokeRegion(Pen, {TPolygon{{X0, Y0}, {X1, Y0}, {X1, Y1}, {X0, Y1}}}, {true});
  P.FillRegion(TRegionData::Combine(TRegionData(Box), Ring, RGN_DIFF), P.CurrentBrushPaint());
  P.FillRegion(Ring, P.PenPaint(Pen));
  return TRUE;
}

namespace {
// Fills Shape (and strokes its outline) the way Ellipse and RoundRect do:
// a one-pixel pen paints the shape's border pixels; a wide pen a ring
// centred on it; the brush the rest.
void PaintClosedShape(TPainter& P, const TDC& Dc, const TRect& Box0,
                      TRegionData (*MakeIn)(const TRect&, int, int, const TRect&), int W, int H) {
  TPenInfo Pen = PenInfo(Dc);
  TRect Box = Box0;
  // Shapes are built only near the clip, with a margin so that the cut edge
  // never passes for the shape's outline (a ring is the difference of two
  // shapes cut alike, so a wide pen needs no wider margin).
  const TRect Limit = Inflated(P.Clip.Bounds(), 2);
  auto Make = [&](const TRect& B, int MW, int MH) { return MakeIn(B, MW, MH, Limit); };
  if (Pen.Null) {
    P.FillRegion(Make({Box.Left, Box.Top, Box.Right - 1, Box.Bottom - 1}, W, H), P.CurrentBrushPaint());
    return;
  }
  if (Pen.Cosmetic && Pen.LineStyle == PS_SOLID) {
    TRegionData Shape = Make(Box, W, H);
    TRegionData Edge = RasterRegionOutline(Shape);
    P.FillRegion(TRegionData::Combine(Shape, Edge, RGN_DIFF), P.CurrentBrushPaint());
    P.FillRegion(Edge, P.PenPaint(Pen));
    return;
  }
  if (Pen.Cosmetic) {
    // Styled outline: walk the border as a polyline through pixel centres.
    TRegionData Shape = Make(Box, W, H);
    TRegionData Edge = RasterRegionOutline(Shape);
    P.FillRegion(TRegionData::Combine(Shape, Edge, RGN_DIFF), P.CurrentBrushPaint());
    TPolygon F;
    double L = Box.Left, T = Box.Top, R = Box.Right - 1, B = Box.Bottom - 1;
    if (W <= 0 && H <= 0) {
      F = {{L, T}, {R, T}, {R, B}, {L, B}};
    } else if (W >= Box.Width() && H >= Box.Height()) {
      ArcPoints(L, T, R, B, 0, 2 * Pi, F);
    } else {
      double RW = std::min<double>(W, Box.Width()) - 1, RH = std::min<double>(H, Box.Height()) - 1;
      ArcPoints(R - RW, T, R, T + RH, 0, Pi / 2, F);
      ArcPoints(L, T, L + RW, T + RH, Pi / 2, Pi / 2, F);
      ArcPoints(L, B - RH, L + RW, B, Pi, Pi / 2, F);
      ArcPoints(R - RW, B - RH, R, B, 3 * Pi / 2, Pi / 2, F);
    }
    for (auto& Q : F) { Q.X = std::floor(Q.X + 0.5); Q.Y = std::floor(Q.Y + 0.5); }
    P.Outline(F, true);
    return;
  }
  int PW = int(Pen.Stroke.Width);
  if (Pen.InsideFrame) Box = Inflated(Box, -(PW / 2));
  TRegionData Outer = Make(Inflated(Box, PW / 2), Sat(W + 2 * Int64(PW / 2)), Sat(H + 2 * Int64(PW / 2)));
  const Int64 In = PW - PW / 2;
  TRegionData Inner = Make(Inflated(Box, -In), Sat(std::max<Int64>(0, W - 2 * In)),
                           Sat(std::max<Int64>(0, H - 2 * In)));
  TRegionData Ring = TRegionData::Combine(Outer, Inner, RGN_DIFF);
  P.FillRegion(TRegionData::Combine(Make(Box, W, H), Ring, RGN_DIFF), P.CurrentBrushPaint());
  P.FillRegion(Ring, P.PenPaint(Pen));
}

TRegionData MakeEllipse(const TRect& Box, int, int, const TRect& Limit) {
  return RasterEllipseRegion(Box, Limit);
}
TRegionData MakeRoundRect(const TRect& Box, int W, int H, const TRect& Limit) {
  return RasterRoundRectRegion(Box, W, H, Limit);
}
}  // namespace

BOOL TDC::Ellipse(int L, int T, int R, int B) {
  if (S.Path.Open) {
    // Four cubic arcs, as GetPath reports an ellipse.
    double X0, Y0, X1, Y1;
    ToDevice(std::min(L, R), std::min(T, B), X0, Y0);
    ToDevice(std::max(L, R), std::max(T, B), X1, Y1);
    double CX = (X0 + X1) / 2, CY = (Y0 + Y1) / 2, RX = (X1 - X0) / 2, RY = (Y1 - Y0) / 2;
    const double K = 0.5522847498;
    PathAdd(X1, CY, PT_MOVETO);
    double Pts[12][2] = {{X1, CY - K * RY}, {CX + K * RX, Y0}, {CX, Y0},
                         {CX - K * RX, Y0}, {X0, CY - K * RY}, {X0, CY},
                         {X0, CY + K * RY}, {CX - K * RX, Y1}, {CX, Y1},
                         {CX + K * RX, Y1}, {X1, CY + K * RY}, {X1, CY}};
    for (auto& Q : Pts) PathAdd(Q[0], Q[1], PT_BEZIERTO);
    S.Path.Types.back() |= PT_CLOSEFIGURE;
    return TRUE;
  }
  if (!AxisAligned()) {
    PaintTransformedShape(*this, TShape::Ellipse, L, T, R, B, 0, 0);
    return TRUE;
  }
  TPainter P(*this);
  if (!P.Ready()) return TRUE;
  TRect Box = ShapeBox(P, S, L, T, R, B);
  if (Box.IsEmpty()) return TRUE;
  PaintClosedShape(P, *this, Box, MakeEllipse, Box.Width(), Box.Height());
  return TRUE;
}

BOOL TDC::RoundRect(int L, int T, int R, int B, int W, int H) {
  if (S.Path.Open) {
    TPoint Q[4] = {{L, T}, {R, T}, {R, B}, {L, B}};
    PathAddLogical(Q, 4, PT_MOVETO, PT_LINETO);
    S.Path.Types.back() |= PT_CLOSEFIGURE;
    return TRUE;
  }
  if (!AxisAligned()) {
    PaintTransformedShape(*this, TShape::RoundRect, L, T, R, B, std::abs(W), std::abs(H));
    return TRUE;
  }
  TPainter P(*this);
  if (!P.Ready()) return TRUE;
  TRect Box = ShapeBox(P, S, L, T, R, B);
  if (Box.IsEmpty()) return TRUE;
  int DW = Round(std::fabs(W * DeviceScaleX())), DH = Round(std::fabs(H * DeviceScaleY()));
  if (DW <= 1 || DH <= 1) return Rectangle(L, T, R, B);
  PaintClosedShape(P, *this, Box, MakeRoundRect, DW, DH);
  return TRUE;
}

// --- arcs, chords, pies --------------------------------------------------------------

namespace {
enum class TArcKind { Arc, ArcTo, Chord, Pie };

struct TArcGeom {
  TPolygon Pixel;   // the arc through pixel centres (outline)
  TPolygon Area;    // the arc on the shape's boundary (fill)
  TPointD Centre, CentrePx;
};

bool BuildArc(const TPainter& P, const TDcState& S, int L, int T, int R, int B, int XS, int YS,
              int XE, int YE, TArcGeom& G) {
  TRect Box = ShapeBox(P, S, L, T, R, B);
  if (Box.Width() <= 0 || Box.Height() <= 0) return false;
  TPointD Ps = P.Dev(XS, YS), Pe = P.Dev(XE, YE);
  double CX = (Box.Left + Box.Right) / 2.0, CY = (Box.Top + Box.Bottom) / 2.0;
  double RX = Box.Width() / 2.0, RY = Box.Height() / 2.0;
  double A0 = AngleOf(CX, CY, RX, RY, Ps.X, Ps.Y), A1 = AngleOf(CX, CY, RX, RY, Pe.X, Pe.Y);
  double Sweep = A1 - A0;
  if (S.ArcDirection == AD_COUNTERCLOCKWISE) {
    while (Sweep <= 0) Sweep += 2 * Pi;
  } else {
    while (Sweep >= 0) Sweep -= 2 * Pi;
  }
  if (std::fabs(A1 - A0) < 1e-12) Sweep = S.ArcDirection == AD_COUNTERCLOCKWISE ? 2 * Pi : -2 * Pi;
  ArcPoints(Box.Left, Box.Top, Box.Right, Box.Bottom, A0, Sweep, G.Area);
  ArcPoints(Box.Left, Box.Top, Box.Right - 1, Box.Bottom - 1, A0, Sweep, G.Pixel);
  for (auto& Q : G.Pixel) { Q.X = std::floor(Q.X + 0.5); Q.Y = std::floor(Q.Y + 0.5); }
  G.Centre = {CX, CY};
  G.CentrePx = {std::floor(CX - 0.5 + 0.5), std::floor(CY - 0.5 + 0.5)};
  return true;
}
}  // namespace

static BOOL DrawArcShape(TDC& Dc, TArcKind Kind, int L, int T, int R, int B, int XS, int YS, int XE,
                         int YE) {
  TPainter P(Dc);
  TArcGeom G;
  if (!BuildArc(P, Dc.State(), L, T, R, B, XS, YS, XE, YE, G)) return TRUE;
  if (Kind == TArcKind::Arc || Kind == TArcKind::ArcTo) {
    P.Outline(G.Pixel, false);
    return TRUE;
  }
  TPolygon Area = G.Area, Pix = G.Pixel;
  if (Kind == TArcKind::Pie) {
    Area.push_back(G.Centre);
    Pix.push_back(G.CentrePx);
  }
  if (P.Ready()) {
    TRect Limit = P.Clip.Bounds();  // with a margin: the cut is not an outline
    Limit = {Limit.Left - 2, Limit.Top - 2, Limit.Right + 2, Limit.Bottom + 2};
    TRegionData Fill = RasterPolygonRegion({Area}, ALTERNATE, Limit);
    TPenInfo Pen = PenInfo(Dc);
    if (!Pen.Null) {
      TRegionData Edge = Pen.Cosmetic ? RasterRegionOutline(Fill) : P.StrokeRegion(Pen, {Pix}, {true});
      Fill = TRegionData::Combine(Fill, Edge, RGN_DIFF);
    }
    P.FillRegion(Fill, P.CurrentBrushPaint());
  }
  P.Outline(Pix, true);
  return TRUE;
}

BOOL TDC::Arc(int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  if (S.Path.Open) {
    TPainter P(*this);
    TArcGeom G;
    if (BuildArc(P, S, L, T, R, B, XS, YS, XE, YE, G))
      for (std::size_t I = 0; I < G.Area.size(); ++I)
        PathAdd(G.Area[I].X - P.Org.X, G.Area[I].Y - P.Org.Y, I == 0 ? PT_MOVETO : PT_LINETO);
    return TRUE;
  }
  if (!AxisAligned()) {
    PaintTransformedShape(*this, TShape::Arc, L, T, R, B, 0, 0, XS, YS, XE, YE);
    return TRUE;
  }
  return DrawArcShape(*this, TArcKind::Arc, L, T, R, B, XS, YS, XE, YE);
}

BOOL TDC::ArcTo(int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  TPainter P(*this);
  TArcGeom G;
  if (!BuildArc(P, S, L, T, R, B, XS, YS, XE, YE, G)) return TRUE;
  if (S.Path.Open) {
    PathStartFigure();
    for (auto& Q : G.Area) PathAdd(Q.X - P.Org.X, Q.Y - P.Org.Y, PT_LINETO);
  } else {
    // A line from the current position to the arc's start, then the arc.
    TPolygon F{P.DevRounded(S.CurrentPos)};
    F.insert(F.end(), G.Pixel.begin(), G.Pixel.end());
    P.Outline(F, false);
  }
  S.CurrentPos = ToLogical({Round(G.Pixel.back().X - P.Org.X), Round(G.Pixel.back().Y - P.Org.Y)});
  return TRUE;
}

BOOL TDC::Chord(int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  if (S.Path.Open) {
    TPainter P(*this);
    TArcGeom G;
    if (BuildArc(P, S, L, T, R, B, XS, YS, XE, YE, G)) {
      for (std::size_t I = 0; I < G.Area.size(); ++I)
        PathAdd(G.Area[I].X - P.Org.X, G.Area[I].Y - P.Org.Y, I == 0 ? PT_MOVETO : PT_LINETO);
      S.Path.Types.back() |= PT_CLOSEFIGURE;
    }
    return TRUE;
  }
  if (!AxisAligned()) {
    PaintTransformedShape(*this, TShape::Chord, L, T, R, B, 0, 0, XS, YS, XE, YE);
    return TRUE;
  }
  return DrawArcShape(*this, TArcKind::Chord, L, T, R, B, XS, YS, XE, YE);
}

BOOL TDC::Pie(int L, int T, int R, int B, int XS, int YS, int XE, int YE) {
  if (S.Path.Open) {
    TPainter P(*this);
    TArcGeom G;
    if (BuildArc(P, S, L, T, R, B, XS, YS, XE, YE, G)) {
      PathAdd(G.Centre.X - P.Org.X, G.Centre.Y - P.Org.Y, PT_MOVETO);
      for (auto& Q : G.Area) PathAdd(Q.X - P.Org.X, Q.Y - P.Org.Y, PT_LINETO);
      S.Path.Types.back() |= PT_CLOSEFIGURE;
    }
    return TRUE;
  }
  if (!AxisAligned()) {
    PaintTransformedShape(*this, TShape::Pie, L, T, R, B, 0, 0, XS, YS, XE, YE);
    return TRUE;
  }
  return DrawArcShape(*this, TArcKind::Pie, L, T, R, B, XS, YS, XE, YE);
}

BOOL TDC::AngleArc(int X, int Y, DWORD Radius, float Start, float Sweep) {
  if (Radius > 0x7FFFFFF) return FALSE;
  double A0 = Start * Pi / 180, A1 = (Start + Sweep) * Pi / 180;
  TPoint P0{Round(X + Radius * std::cos(A0)), Round(Y - Radius * std::sin(A0))};
  TPoint P1{Round(X + Radius * std::cos(A1)), Round(Y - Radius * std::sin(A1))};
  TPoint Line[2] = {S.CurrentPos, P0};
  if (S.Path.Open) {
    PathStartFigure();
    PathAddLogical(&Line[1], 1, PT_LINETO, PT_LINETO);
  }
  // The arc itself, in logical space, through its points.
  TPainter P(*this);
  TPolygon F;
  if (!S.Path.Open) F.push_back(P.DevRounded(S.CurrentPos));
  int N = std::clamp(int(std::fabs(Sweep) * Radius / 60) + 2, 2, 2000);
  for (int I = 0; I <= N; ++I) {
    double A = A0 + (A1 - A0) * I / N;
    TPointD Q = P.Dev(X + Radius * std::cos(A), Y - Radius * std::sin(A));
    if (S.Path.Open) PathAdd(Q.X - P.Org.X, Q.Y - P.Org.Y, PT_LINETO);
    else F.push_back({std::floor(Q.X + 0.5), std::floor(Q.Y + 0.5)});
  }
  if (!S.Path.Open) P.Outline(F, false);
  S.CurrentPos = P1;
  return TRUE;
}

// --- rectangles and pixels ----------------------------------------------------------------

// FillRect, FrameRect and InvertRect copy (or invert) whatever the ROP2.
BOOL TDC::FillRect(const TRect& R, HBRUSH Brush) {
  auto* B = static_cast<TBrushObject*>(GdiLookup(Brush, OBJ_BRUSH));
  if (!B) return FALSE;
  TPainter P(*this);
  if (!P.Ready()) return TRUE;
  TRect Box = P.DevRect(R.Left, R.Top, R.Right, R.Bottom);
  TRasterPaint Paint = P.BrushPaint(B, R2_COPYPEN);
  if (P.Clip.Rects().size() == 1) {
    const TRect& C = P.Clip.Rects()[0];
    RasterFillRect(*P.Surf, {std::max(Box.Left, C.Left), std::max(Box.Top, C.Top),
                             std::min(Box.Right, C.Right), std::min(Box.Bottom, C.Bottom)}, Paint);
  } else {
    P.FillRegion(TRegionData(Box), Paint);
  }
  return TRUE;
}

BOOL TDC::FrameRect(const TRect& R, HBRUSH Brush) {
  auto* B = static_cast<TBrushObject*>(GdiLookup(Brush, OBJ_BRUSH));
  if (!B) return FALSE;
  TPainter P(*this);
  if (!P.Ready()) return TRUE;
  TRect Box = P.DevRect(R.Left, R.Top, R.Right, R.Bottom);
  if (Box.IsEmpty()) return TRUE;
  TRegionData Frame = TRegionData::Combine(
      TRegionData(Box), TRegionData({Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1}), RGN_DIFF);
  P.FillRegion(Frame, P.BrushPaint(B, R2_COPYPEN));
  return TRUE;
}

BOOL TDC::InvertRect(const TRect& R) {
  TPainter P(*this);
  if (!P.Ready()) return TRUE;
  TRasterPaint Paint = RasterSolidPaint(*P.Surf, 0, R2_NOT);
  P.FillRegion(TRegionData(P.DevRect(R.Left, R.Top, R.Right, R.Bottom)), Paint);
  return TRUE;
}

COLORREF TDC::SetPixel(int X, int Y, COLORREF C) {
  TPainter P(*this);
  if (!P.Surf) return CLR_INVALID;
  TPointD Q = P.DevRounded({X, Y});
  int PX = int(Q.X), PY = int(Q.Y);
  if (!P.Clip.Contains(PX, PY)) return CLR_INVALID;
  std::uint32_t V = P.Surf->ColorToPixel(C);
  P.Surf->SetPixelValue(PX, PY, V);
  return P.Surf->PixelToColor(V);
}

COLORREF TDC::GetPixel(int X, int Y) const {
  TPainter P(*this);
  if (!P.Surf) return CLR_INVALID;
  TPointD Q = P.DevRounded({X, Y});
  int PX = int(Q.X), PY = int(Q.Y);
  if (!P.Clip.Contains(PX, PY)) return CLR_INVALID;
  return P.Surf->PixelToColor(P.Surf->GetPixelValue(PX, PY));
}

// --- regions ------------------------------------------------------------------------------

namespace {
// A region given in logical units, in surface pixels.
TRegionData RegionToSurface(const TPainter& P, const TRegionData& R) {
  if (P.D.AxisAligned() && P.D.DeviceScaleX() == 1 && P.D.DeviceScaleY() == 1) {
    TPointD O = P.Dev(0, 0);
    TRegionData Out = R;
    Out.Offset(Round(O.X), Round(O.Y));
    return Out;
  }
  TRegionData Out;
  for (const TRect& Rc : R.Rects()) {
    TPointD A = P.Dev(Rc.Left, Rc.Top), B = P.Dev(Rc.Right, Rc.Top), C = P.Dev(Rc.Right, Rc.Bottom),
            D = P.Dev(Rc.Left, Rc.Bottom);
    Out = TRegionData::Combine(Out, RasterPolygonRegion({{A, B, C, D}}, WINDING, RasterLimit()), RGN_OR);
  }
  return Out;
}
}  // namespace

BOOL TDC::FillRgn(const TRegionData& Rgn, HBRUSH Brush) {
  auto* B = static_cast<TBrushObject*>(GdiLookup(Brush, OBJ_BRUSH));
  if (!B) return FALSE;
  TPainter P(*this);
  P.FillRegion(RegionToSurface(P, Rgn), P.BrushPaint(B, R2_COPYPEN));
  return TRUE;
}

BOOL TDC::PaintRgn(const TRegionData& Rgn) {
  TPainter P(*this);
  P.FillRegion(RegionToSurface(P, Rgn), P.CurrentBrushPaint());
  return TRUE;
}

BOOL TDC::InvertRgn(const TRegionData& Rgn) {
  TPainter P(*this);
  if (!P.Surf) return TRUE;
  P.FillRegion(RegionToSurface(P, Rgn), RasterSolidPaint(*P.Surf, 0, R2_NOT));
  return TRUE;
}

BOOL TDC::FrameRgn(const TRegionData& Rgn, HBRUSH Brush, int W, int H) {
  auto* B = static_cast<TBrushObject*>(GdiLookup(Brush, OBJ_BRUSH));
  if (!B || W <= 0 || H <= 0) return FALSE;
  TPainter P(*this);
  TRegionData R = RegionToSurface(P, Rgn);
  // The frame: pixels of the region within W columns / H rows of its outside.
  TRegionData Inner = R;
  for (int DX = -W; DX <= W; DX += 2 * W)
    for (int K = 1; K <= 1; ++K) {
      TRegionData M = R;
      M.Offset(DX, 0);
      Inner = TRegionData::Combine(Inner, M, RGN_AND);
    }
  for (int DY = -H; DY <= H; DY += 2 * H) {
    TRegionData M = R;
    M.Offset(0, DY);
    Inner = TRegionData::Combine(Inner, M, RGN_AND);
  }
  P.FillRegion(TRegionData::Combine(R, Inner, RGN_DIFF), P.BrushPaint(B, R2_COPYPEN));
  return TRUE;
}
