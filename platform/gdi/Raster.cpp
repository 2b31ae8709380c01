#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double Pi = 3.14159265358979323846;

struct TEdge {
  double X0, Y0, X1, Y1;  // Y0 < Y1
  int Dir;
};
}  // namespace

TRect RasterLimit() { return {-(1 << 18), -(1 << 18), 1 << 18, 1 << 18}; }

TRegionData RasterPolygonRegion(const TPolygons& Polys, int FillMode, const TRect& Limit) {
  std::vector<TEdge> Edges;
  double MinY = 1e300, MaxY = -1e300;
  for (const auto& P : Polys) {
    std::size_t N = P.size();
    if (N < 2) continue;
    for (std::size_t I = 0; I < N; ++I) {
      const TPointD& A = P[I];
      const TPointD& B = P[(I + 1) % N];
      if (!std::isfinite(A.X) || !std::isfinite(A.Y) || !std::isfinite(B.X) || !std::isfinite(B.Y))
        return {};
      if (A.Y == B.Y) continue;
      if (A.Y < B.Y) Edges.push_back({A.X, A.Y, B.X, B.Y, 1});
      else Edges.push_back({B.X, B.Y, A.X, A.Y, -1});
      MinY = std::min({MinY, A.Y, B.Y});
      MaxY = std::max({MaxY, A.Y, B.Y});
    }
  }
  TRegionData::TBuilder Out;
  if (Edges.empty() || Limit.IsEmpty()) return Out.Finish();
  std::sort(Edges.begin(), Edges.end(), [](const TEdge& A, const TEdge& B) { return A.Y0 < B.Y0; });
  // Rows whose centre Y+0.5 lies in [MinY, MaxY).
  long long Y0 = std::max<long long>(Limit.Top, (long long)std::ceil(MinY - 0.5));
  long long Y1 = std::min<long long>(Limit.Bottom, (long long)std::ceil(MaxY - 0.5));
  std::vector<std::pair<double, int>> Cross;
  std::vector<std::pair<Integer, Integer>> Spans;
  std::vector<const TEdge*> Active;
  std::size_t Next = 0;
  for (long long Y = Y0; Y < Y1; ++Y) {
    double YC = double(Y) + 0.5;
    while (Next < Edges.size() && Edges[Next].Y0 <= YC) Active.push_back(&Edges[Next++]);
    Active.erase(std::remove_if(Active.begin(), Active.end(), [YC](const TEdge* E) { return E->Y1 <= YC; }),
                 Active.end());
    Cross.clear();
    for (const TEdge* E : Active) {
      if (E->Y0 > YC) continue;
      double X = E->X0 + (YC - E->Y0) * (E->X1 - E->X0) / (E->Y1 - E->Y0);
      Cross.push_back({X, E->Dir});
    }
    std::sort(Cross.begin(), Cross.end());
    Spans.clear();
    auto Add = [&](double XA, double XB) {
      double L = std::max(std::ceil(XA - 0.5), double(Limit.Left));
      double R = std::min(std::ceil(XB - 0.5), double(Limit.Right));
      if (R > L) Spans.push_back({Integer(L), Integer(R)});
    };
    if (FillMode == WINDING) {
      int Wind = 0;
      double Start = 0;
      for (auto& C : Cross) {
        int Prev = Wind;
        Wind += C.second;
        if (Prev == 0 && Wind != 0) Start = C.first;
        else if (Prev != 0 && Wind == 0) Add(Start, C.first);
      }
    } else {
      for (std::size_t K = 0; K + 1 < Cross.size(); K += 2) Add(Cross[K].first, Cross[K + 1].first);
    }
    Out.AddRow(Integer(Y), Spans);
  }
  return Out.Finish();
}

TRegionData RasterEllipseRegion(const TRect& Box, const TRect& Limit) {
  TRegionData::TBuilder Out;
  if (Box.IsEmpty()) return Out.Finish();
  double CX = (double(Box.Left) + Box.Right) / 2, CY = (double(Box.Top) + Box.Bottom) / 2;
  double RX = (double(Box.Right) - Box.Left) / 2, RY = (double(Box.Bottom) - Box.Top) / 2;
  std::vector<std::pair<Integer, Integer>> Spans;
  for (Integer Y = std::max(Box.Top, Limit.Top); Y < std::min(Box.Bottom, Limit.Bottom); ++Y) {
    double DY = (Y + 0.5 - CY) / RY;
    Spans.clear();
    double T = 1 - DY * DY;
    if (T >= 0) {
      double HW = RX * std::sqrt(T);
      double L = std::max(std::ceil(CX - HW - 0.5), double(Limit.Left));
      double R = std::min(std::floor(CX + HW - 0.5) + 1, double(Limit.Right));
      if (R > L) Spans.push_back({Integer(L), Integer(R)});
    }
    Out.AddRow(Y, Spans);
  }
  return Out.Finish();
}

TRegionData RasterRoundRectRegion(const TRect& Box, int W, int H, const TRect& Limit) {
  TRegionData::TBuilder Out;
  if (Box.IsEmpty()) return Out.Finish();
  double RX = std::min(double(W), double(Box.Width())) / 2;
  double RY = std::min(double(H), double(Box.Height())) / 2;
  if (RX <= 0 || RY <= 0) return TRegionData(Box).Intersect(Limit);
  double Top = Box.Top + RY, Bottom = Box.Bottom - RY;  // corner centres
  double Left = Box.Left + RX, Right = Box.Right - RX;
  std::vector<std::pair<Integer, Integer>> Spans;
  for (Integer Y = std::max(Box.Top, Limit.Top); Y < std::min(Box.Bottom, Limit.Bottom); ++Y) {
    double YC = Y + 0.5, Inset = 0;
    double DY = YC < Top ? (Top - YC) / RY : YC > Bottom ? (YC - Bottom) / RY : 0;
    Spans.clear();
    if (DY <= 1) {
      Inset = RX * (1 - std::sqrt(1 - DY * DY));
      double L = std::max(std::ceil(Left - RX + Inset - 0.5), double(Limit.Left));
      double R = std::min(std::floor(Right + RX - Inset - 0.5) + 1, double(Limit.Right));
      if (R > L) Spans.push_back({Integer(L), Integer(R)});
    }
    Out.AddRow(Y, Spans);
  }
  return Out.Finish();
}

TRegionData RasterRegionOutline(const TRegionData& Rgn) {
  if (Rgn.IsEmpty()) return {};
  // Shrinking by one pixel on every side: the pixels whose four neighbours
  // are all inside. The outline is what remains.
  TRegionData Inner = Rgn;
  for (auto [DX, DY] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
    TRegionData Moved = Rgn;
    Moved.Offset(DX, DY);
    Inner = TRegionData::Combine(Inner, Moved, RGN_AND);
  }
  return TRegionData::Combine(Rgn, Inner, RGN_DIFF);
}

std::uint32_t RasterRop2(int Rop2, std::uint32_t P, std::uint32_t D, std::uint32_t M) {
  std::uint32_t R;
  switch (Rop2) {
    case R2_BLACK: R = 0; break;
    case R2_NOTMERGEPEN: R = ~(P | D); break;
    case R2_MASKNOTPEN: R = ~P & D; break;
    case R2_NOTCOPYPEN: R = ~P; break;
    case R2_MASKPENNOT: R = P & ~D; break;
    case R2_NOT: R = ~D; break;
    case R2_XORPEN: R = P ^ D; break;
    case R2_NOTMASKPEN: R = ~(P & D); break;
    case R2_MASKPEN: R = P & D; break;
    case R2_NOTXORPEN: R = ~(P ^ D); break;
    case R2_NOP: R = D; break;
    case R2_MERGENOTPEN: R = ~P | D; break;
    case R2_MERGEPENNOT: R = P | ~D; break;
    case R2_MERGEPEN: R = P | D; break;
    case R2_WHITE: R = ~0u; break;
    default: R = P; break;  // R2_COPYPEN
  }
  return R & M;
}

// --- paints ---------------------------------------------------------------------

namespace {
// 8x8 hatch cells, one bit per pixel, relative to the brush origin.
bool HatchBit(int Hatch, int X, int Y) {
  X &= 7;
  Y &= 7;
  switch (Hatch) {
    case HS_HORIZONTAL: return Y == 7;
    case HS_VERTICAL: return X == 7;
    case HS_FDIAGONAL: return X == Y;
    case HS_BDIAGONAL: return X + Y == 7;
    case HS_CROSS: return X == 7 || Y == 7;
    case HS_DIAGCROSS: return X == Y || X + Y == 7;
  }
  return false;
}
int Mod(int A, int B) { int R = A % B; return R < 0 ? R + B : R; }
}  // namespace

bool TRasterPaint::At(int X, int Y, std::uint32_t& V) const {
  switch (Kind) {
    case Solid: V = Fore; return true;
    case Hatch:
      if (HatchBit(HatchStyle, X - Org.X, Y - Org.Y)) { V = Fore; return true; }
      if (Opaque) { V = Back; return true; }
      return false;
    case Pattern:
      V = Pat[std::size_t(Mod(Y - Org.Y, PatH)) * PatW + Mod(X - Org.X, PatW)];
      return true;
    default: return false;
  }
}

TRasterPaint RasterSolidPaint(const TBitmapObject& Surf, COLORREF C, int Rop2) {
  TRasterPaint P;
  P.Kind = TRasterPaint::Solid;
  P.Fore = Surf.ColorToPixel(C);
  P.Rop2 = Rop2;
  return P;
}

TRasterPaint RasterBrushPaint(const TBrushObject& B, const TBitmapObject& Surf, COLORREF TextColor,
                              COLORREF BkColor, int BkMode, COLORREF DCBrushColor, TPoint Org,
                              int Rop2) {
  TRasterPaint P;
  P.Rop2 = Rop2;
  P.Org = Org;
  switch (B.Style) {
    case BS_SOLID:
      P.Kind = TRasterPaint::Solid;
      P.Fore = Surf.ColorToPixel(B.DCBrush ? DCBrushColor : B.Color);
      break;
    case BS_HATCHED:
      P.Kind = TRasterPaint::Hatch;
      P.HatchStyle = B.Hatch;
      P.Fore = Surf.ColorToPixel(B.Color);
      P.Back = Surf.ColorToPixel(BkColor);
      P.Opaque = BkMode == OPAQUE;
      break;
    case BS_PATTERN:
      P.Kind = TRasterPaint::Pattern;
      P.PatW = B.PatWidth;
      P.PatH = B.PatHeight;
      if (B.PatMono) {
        // 0 bits paint in the text colour, 1 bits in the background colour.
        std::uint32_t V0 = Surf.ColorToPixel(TextColor), V1 = Surf.ColorToPixel(BkColor);
        for (Byte Bit : B.PatBits) P.Pat.push_back(Bit ? V1 : V0);
      } else {
        for (COLORREF C : B.PatColors) P.Pat.push_back(Surf.ColorToPixel(C));
      }
      if (P.Pat.empty()) P.Kind = TRasterPaint::None;
      break;
    default:
      P.Kind = TRasterPaint::None;
  }
  return P;
}

void RasterFillRect(TBitmapObject& S, const TRect& R0, const TRasterPaint& P) {
  TRect R(std::max(R0.Left, 0), std::max(R0.Top, 0), std::min(R0.Right, S.Width),
          std::min(R0.Bottom, S.Height));
  if (R.IsEmpty() || P.Kind == TRasterPaint::None) return;
  const std::uint32_t M = S.PixelMask();
  if (S.BitsPerPixel == 32 && P.Kind == TRasterPaint::Solid &&
      (P.Rop2 == R2_COPYPEN || P.Rop2 == R2_BLACK || P.Rop2 == R2_WHITE ||
       P.Rop2 == R2_NOTCOPYPEN)) {
    std::uint32_t V = RasterRop2(P.Rop2, P.Fore, 0, M);
    for (int Y = R.Top; Y < R.Bottom; ++Y)
      std::fill_n(reinterpret_cast<std::uint32_t*>(S.ScanLine(Y)) + R.Left, R.Width(), V);
    return;
  }
  if (S.BitsPerPixel == 32 && P.Kind != TRasterPaint::Solid) {
    // Hatches and patterns repeat along a row: realise one period per row.
    const int Period = P.Kind == TRasterPaint::Hatch ? 8 : P.PatW;
    std::vector<std::uint32_t> V(std::size_t(Period), 0);
    std::vector<char> On(std::size_t(Period), 0);
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
      for (int K = 0; K < Period; ++K) On[std::size_t(K)] = P.At(R.Left + K, Y, V[std::size_t(K)]);
      auto* L = reinterpret_cast<std::uint32_t*>(S.ScanLine(Y));
      int K = 0;
      if (P.Rop2 == R2_COPYPEN) {
        for (int X = R.Left; X < R.Right; ++X) {
          if (On[std::size_t(K)]) L[X] = V[std::size_t(K)] & M;
          if (++K == Period) K = 0;
        }
      } else {
        for (int X = R.Left; X < R.Right; ++X) {
          if (On[std::size_t(K)]) L[X] = RasterRop2(P.Rop2, V[std::size_t(K)], L[X] & M, M);
          if (++K == Period) K = 0;
        }
      }
    }
    return;
  }
  if (S.BitsPerPixel == 32) {
    for (int Y = R.Top; Y < R.Bottom; ++Y) {
      auto* L = reinterpret_cast<std::uint32_t*>(S.ScanLine(Y));
      for (int X = R.Left; X < R.Right; ++X) {
        std::uint32_t V;
        if (P.At(X, Y, V)) L[X] = RasterRop2(P.Rop2, V, L[X] & M, M);
      }
    }
    return;
  }
  for (int Y = R.Top; Y < R.Bottom; ++Y)
    for (int X = R.Left; X < R.Right; ++X) {
      std::uint32_t V;
      if (P.At(X, Y, V)) S.SetPixelValue(X, Y, RasterRop2(P.Rop2, V, S.GetPixelValue(X, Y), M));
    }
}

void RasterFillRegion(TBitmapObject& S, const TRegionData& Rgn, const TRasterPaint& P) {
  for (const TRect& R : Rgn.Rects()) RasterFillRect(S, R, P);
}

// --- lines ------------------------------------------------------------------------

void RasterLine(TBitmapObject& S, const TRegionData& Clip, int X0, int Y0, int X1, int Y1,
                std::uint32_t Value, int Rop2, TLineStyle& St) {
  long long DX = (long long)X1 - X0, DY = (long long)Y1 - Y0;
  long long ADX = DX < 0 ? -DX : DX, ADY = DY < 0 ? -DY : DY;
  long long N = std::max(ADX, ADY);
  if (N == 0) return;
  const TRect CB = Clip.Bounds();
  const bool OneRect = Clip.Rects().size() == 1;
  const std::uint32_t M = S.PixelMask();
  int SX = DX < 0 ? -1 : 1, SY = DY < 0 ? -1 : 1;
  int Total = 0;
  for (int R : St.Runs) Total += R;
  // Only the steps whose pixels can fall inside the clip's bounds are
  // walked; the style still advances over the others.
  long long KLo = 0, KHi = N;
  auto Narrow = [&](long long A0, int SA, long long AD, long long Lo, long long Hi) {
    // Steps where A0 + SA * K * AD / N lies in [Lo - 1, Hi + 1].
    if (AD == 0) {
      if (A0 < Lo || A0 >= Hi) KHi = KLo;
      return;
    }
    double T0 = (double(Lo - 1 - A0) * SA) * double(N) / double(AD);
    double T1 = (double(Hi + 1 - A0) * SA) * double(N) / double(AD);
    if (T0 > T1) std::swap(T0, T1);
    KLo = std::max(KLo, (long long)std::floor(std::max(T0, -1.0)));
    KHi = std::min(KHi, (long long)std::ceil(std::min(T1, double(N))) + 1);
  };
  Narrow(X0, SX, ADX, CB.Left, CB.Right);
  Narrow(Y0, SY, ADY, CB.Top, CB.Bottom);
  KLo = std::max(KLo, 0LL);
  KHi = std::min(KHi, N);
  if (KHi <= KLo) {
    St.Pos += int(N % (Total > 0 ? Total : 2));
    if (Total > 0 && !St.Alternate) St.Pos %= Total;
    return;
  }
  St.Pos += int(KLo % (Total > 0 ? Total : 2));
  // Where in the style the first walked pixel falls.
  std::size_t RunIdx = 0;
  int RunLeft = 0;
  if (Total > 0 && !St.Alternate) {
    int P = St.Pos % Total;
    while (P >= St.Runs[RunIdx]) P -= St.Runs[RunIdx++];
    RunLeft = St.Runs[RunIdx] - P;
  }
  const bool Fast32 = S.BitsPerPixel == 32;
  for (long long K = KLo; K < KHi; ++K) {
    long long X, Y;
    // The minor coordinate rounds to nearest; ties go towards the start.
    if (ADX >= ADY) {
      X = X0 + K * SX;
      Y = Y0 + SY * ((2 * K * ADY + ADX - 1) / (2 * ADX));
    } else {
      Y = Y0 + K * SY;
      X = X0 + SX * ((2 * K * ADX + ADY - 1) / (2 * ADY));
    }
    bool On = true;
    if (St.Alternate) {
      On = (St.Pos & 1) == 0;
    } else if (Total > 0) {
      if (RunLeft == 0) {
        RunIdx = (RunIdx + 1) % St.Runs.size();
        RunLeft = St.Runs[RunIdx];
      }
      On = (RunIdx % 2) == 0;
      --RunLeft;
    }
    ++St.Pos;
    if (!On && !St.OpaqueGaps) continue;
    if (X < CB.Left || X >= CB.Right || Y < CB.Top || Y >= CB.Bottom) continue;
    if (!OneRect && !Clip.Contains(Integer(X), Integer(Y))) continue;
    std::uint32_t V = On ? Value : St.GapValue;
    if (Fast32) {
      auto* Px = reinterpret_cast<std::uint32_t*>(S.ScanLine(int(Y))) + X;
      *Px = Rop2 == R2_COPYPEN ? V & M : RasterRop2(Rop2, V, *Px & M, M);
    } else {
      S.SetPixelValue(int(X), int(Y), RasterRop2(Rop2, V, S.GetPixelValue(int(X), int(Y)), M));
    }
  }
  St.Pos += int((N - KHi) % (Total > 0 ? Total : 2));
  if (Total > 0 && !St.Alternate) St.Pos %= Total;
}

// --- strokes ------------------------------------------------------------------------

namespace {
void AddCircle(double CX, double CY, double R, TPolygons& Out) {
  int N = std::max(8, int(std::ceil(R * 2 * Pi / 1.5)));
  N = std::min(N, 256);
  TPolygon C;
  for (int I = 0; I < N; ++I) {
    double A = 2 * Pi * I / N;
    C.push_back({CX + R * std::cos(A), CY + R * std::sin(A)});
  }
  Out.push_back(std::move(C));
}

double Area(const TPolygon& P) {
  double A = 0;
  for (std::size_t I = 0; I < P.size(); ++I) {
    const TPointD &U = P[I], &V = P[(I + 1) % P.size()];
    A += U.X * V.Y - V.X * U.Y;
  }
  return A / 2;
}

void Orient(TPolygon& P) {
  if (Area(P) < 0) std::reverse(P.begin(), P.end());
}
}  // namespace

void RasterStrokePolyline(const TPolygon& In, bool Closed, const TStrokeStyle& St, TPolygons& Out) {
  // Drop repeated points.
  TPolygon P;
  for (const TPointD& Q : In)
    if (P.empty() || P.back().X != Q.X || P.back().Y != Q.Y) P.push_back(Q);
  if (Closed && P.size() > 1 && P.front().X == P.back().X && P.front().Y == P.back().Y) P.pop_back();
  double H = St.Width / 2;
  if (H <= 0) return;
  std::size_t Start = Out.size();
  if (P.size() == 1) {
    // A dot: round caps draw a disc, square caps a square, flat caps nothing.
    if (St.Cap == PS_ENDCAP_ROUND) AddCircle(P[0].X, P[0].Y, H, Out);
    else if (St.Cap == PS_ENDCAP_SQUARE)
      Out.push_back({{P[0].X - H, P[0].Y - H}, {P[0].X + H, P[0].Y - H}, {P[0].X + H, P[0].Y + H}, {P[0].X - H, P[0].Y + H}});
    for (std::size_t I = Start; I < Out.size(); ++I) Orient(Out[I]);
    return;
  }
  std::size_t NSeg = Closed ? P.size() : P.size() - 1;
  for (std::size_t I = 0; I < NSeg; ++I) {
    TPointD A = P[I], B = P[(I + 1) % P.size()];
    double DX = B.X - A.X, DY = B.Y - A.Y, L = std::hypot(DX, DY);
    double UX = DX / L, UY = DY / L, NX = -UY * H, NY = UX * H;
    double EA = 0, EB = 0;
    if (!Closed && St.Cap == PS_ENDCAP_SQUARE) {
      if (I == 0) EA = H;
      if (I + 1 == NSeg) EB = H;
    }
    TPointD A2{A.X - UX * EA, A.Y - UY * EA}, B2{B.X + UX * EB, B.Y + UY * EB};
    Out.push_back({{A2.X + NX, A2.Y + NY}, {B2.X + NX, B2.Y + NY}, {B2.X - NX, B2.Y - NY}, {A2.X - NX, A2.Y - NY}});
  }
  // Joins at inner vertices (all of them when closed).
  std::size_t First = Closed ? 0 : 1, Last = Closed ? P.size() : P.size() - 1;
  for (std::size_t I = First; I < Last; ++I) {
    TPointD V = P[I], A = P[(I + P.size() - 1) % P.size()], B = P[(I + 1) % P.size()];
    if (St.Join == PS_JOIN_ROUND) {
      AddCircle(V.X, V.Y, H, Out);
      continue;
    }
    double D1X = V.X - A.X, D1Y = V.Y - A.Y, L1 = std::hypot(D1X, D1Y);
    double D2X = B.X - V.X, D2Y = B.Y - V.Y, L2 = std::hypot(D2X, D2Y);
    D1X /= L1; D1Y /= L1; D2X /= L2; D2Y /= L2;
    double Cross = D1X * D2Y - D1Y * D2X;
    if (std::fabs(Cross) < 1e-9) continue;
    // Outer side: the normals pointing away from the turn.
    double S = Cross > 0 ? -1 : 1;
    TPointD P1{V.X - D1Y * H * S, V.Y + D1X * H * S}, P2{V.X - D2Y * H * S, V.Y + D2X * H * S};
    bool Miter = St.Join == PS_JOIN_MITER;
    if (Miter) {
      double CosT = D1X * D2X + D1Y * D2Y;  // angle between directions
      double MiterLen = 1 / std::sqrt(std::max(1e-12, (1 + CosT) / 2));  // / H
      if (MiterLen > St.MiterLimit) Miter = false;
      if (Miter) {
        double BX = (P1.X + P2.X) / 2 - V.X, BY = (P1.Y + P2.Y) / 2 - V.Y, BL = std::hypot(BX, BY);
        if (BL > 1e-12) {
          TPointD Tip{V.X + BX / BL * H * MiterLen, V.Y + BY / BL * H * MiterLen};
          Out.push_back({V, P1, Tip, P2});
          continue;
        }
      }
    }
    Out.push_back({V, P1, P2});
  }
  if (!Closed && St.Cap == PS_ENDCAP_ROUND) {
    AddCircle(P.front().X, P.front().Y, H, Out);
    AddCircle(P.back().X, P.back().Y, H, Out);
  }
  for (std::size_t I = Start; I < Out.size(); ++I) Orient(Out[I]);
}
