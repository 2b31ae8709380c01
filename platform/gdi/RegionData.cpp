#include "platform/gdi/RegionData.h"

#include <algorithm>

namespace {
using TSpans = std::vector<std::pair<Integer, Integer>>;

void MergeSpans(TSpans& S) {
  std::sort(S.begin(), S.end());
  TSpans Out;
  for (auto& P : S) {
    if (P.second <= P.first) continue;
    if (!Out.empty() && P.first <= Out.back().second)
      Out.back().second = std::max(Out.back().second, P.second);
    else
      Out.push_back(P);
  }
  S.swap(Out);
}

// Spans of the band of R holding [Y0, Y1) (bands never straddle the
// breakpoints the sweep uses, so one Y identifies the band).
void SpansAt(const std::vector<TRect>& R, std::size_t& I, Integer Y, TSpans& Out) {
  Out.clear();
  while (I < R.size() && R[I].Bottom <= Y) ++I;
  for (std::size_t J = I; J < R.size() && R[J].Top <= Y && R[J].Top == R[I].Top; ++J)
    Out.push_back({R[J].Left, R[J].Right});
}

void CombineSpans(const TSpans& A, const TSpans& B, int Mode, TSpans& Out) {
  Out.clear();
  // Sweep over the edges of both sets.
  std::vector<std::pair<Integer, int>> Ev;  // x, +-1 for A (1) or B (2)
  Ev.reserve((A.size() + B.size()) * 2);
  for (auto& S : A) { Ev.push_back({S.first, 1}); Ev.push_back({S.second, -1}); }
  for (auto& S : B) { Ev.push_back({S.first, 2}); Ev.push_back({S.second, -2}); }
  std::sort(Ev.begin(), Ev.end());
  bool InA = false, InB = false, In = false;
  Integer Start = 0;
  for (std::size_t K = 0; K < Ev.size();) {
    Integer X = Ev[K].first;
    while (K < Ev.size() && Ev[K].first == X) {
      switch (Ev[K].second) {
        case 1: InA = true; break;
        case -1: InA = false; break;
        case 2: InB = true; break;
        case -2: InB = false; break;
      }
      ++K;
    }
    bool Now = false;
    switch (Mode) {
      case RGN_AND: Now = InA && InB; break;
      case RGN_OR: Now = InA || InB; break;
      case RGN_XOR: Now = InA != InB; break;
      case RGN_DIFF: Now = InA && !InB; break;
      default: Now = InA; break;
    }
    if (Now && !In) Start = X;
    if (!Now && In) Out.push_back({Start, X});
    In = Now;
  }
}
}  // namespace

TRegionData::TRegionData(const TRect& R) {
  if (!R.IsEmpty()) FRects.push_back(R);
  FBounds = R.IsEmpty() ? TRect() : R;
}

void TRegionData::TBuilder::AddRow(Integer Y, std::vector<std::pair<Integer, Integer>>& Spans) {
  MergeSpans(Spans);
  if (FOpen && FBandBottom == Y && Spans == FCur) {
    FBandBottom = Y + 1;
    return;
  }
  Flush();
  if (Spans.empty()) return;
  FCur = Spans;
  FBandTop = Y;
  FBandBottom = Y + 1;
  FOpen = true;
}

void TRegionData::TBuilder::Flush() {
  if (!FOpen) return;
  for (auto& S : FCur) FRects.push_back({S.first, FBandTop, S.second, FBandBottom});
  FOpen = false;
}

TRegionData TRegionData::TBuilder::Finish() {
  Flush();
  TRegionData R;
  R.FRects.swap(FRects);
  R.Normalize();
  return R;
}

void TRegionData::Normalize() {
  // Merge vertically adjacent bands with equal spans.
  std::vector<TRect> Out;
  std::size_t PrevStart = 0, PrevEnd = 0;  // previous band in Out
  std::size_t I = 0;
  while (I < FRects.size()) {
    std::size_t J = I;
    while (J < FRects.size() && FRects[J].Top == FRects[I].Top) ++J;
    bool Merge = PrevEnd > PrevStart && Out[PrevStart].Bottom == FRects[I].Top &&
                 PrevEnd - PrevStart == J - I;
    for (std::size_t K = 0; Merge && K < J - I; ++K)
      Merge = Out[PrevStart + K].Left == FRects[I + K].Left &&
              Out[PrevStart + K].Right == FRects[I + K].Right;
    if (Merge) {
      for (std::size_t K = PrevStart; K < PrevEnd; ++K) Out[K].Bottom = FRects[I].Bottom;
    } else {
      PrevStart = Out.size();
      Out.insert(Out.end(), FRects.begin() + I, FRects.begin() + J);
      PrevEnd = Out.size();
    }
    I = J;
  }
  FRects.swap(Out);
  if (FRects.empty()) {
    FBounds = TRect();
    return;
  }
  FBounds = {FRects.front().Left, FRects.front().Top, FRects.front().Right, FRects.back().Bottom};
  for (auto& R : FRects) {
    FBounds.Left = std::min(FBounds.Left, R.Left);
    FBounds.Right = std::max(FBounds.Right, R.Right);
  }
}

int TRegionData::Kind() const {
  if (FRects.empty()) return NULLREGION;
  return FRects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

std::size_t TRegionData::FirstRectAtOrBelow(Integer Y) const {
  auto It = std::partition_point(FRects.begin(), FRects.end(),
                                 [Y](const TRect& R) { return R.Bottom <= Y; });
  return std::size_t(It - FRects.begin());
}

bool TRegionData::Contains(Integer X, Integer Y) const {
  if (!FBounds.Contains({X, Y})) return false;
  for (std::size_t I = FirstRectAtOrBelow(Y); I < FRects.size() && FRects[I].Top <= Y; ++I)
    if (X >= FRects[I].Left && X < FRects[I].Right) return true;
  return false;
}

bool TRegionData::Intersects(const TRect& R) const {
  if (R.IsEmpty()) return false;
  for (std::size_t I = FirstRectAtOrBelow(R.Top); I < FRects.size() && FRects[I].Top < R.Bottom; ++I)
    if (FRects[I].Left < R.Right && FRects[I].Right > R.Left) return true;
  return false;
}

void TRegionData::Offset(Integer DX, Integer DY) {
  for (auto& R : FRects) { R.Left += DX; R.Right += DX; R.Top += DY; R.Bottom += DY; }
  if (!FRects.empty()) {
    FBounds.Left += DX; FBounds.Right += DX; FBounds.Top += DY; FBounds.Bottom += DY;
  }
}

TRegionData TRegionData::Intersect(const TRect& Clip) const {
  if (FRects.size() == 1 || Clip.IsEmpty()) {
    if (FRects.empty() || Clip.IsEmpty()) return {};
    const TRect& A = FRects[0];
    return TRegionData(TRect(std::max(A.Left, Clip.Left), std::max(A.Top, Clip.Top),
                             std::min(A.Right, Clip.Right), std::min(A.Bottom, Clip.Bottom)));
  }
  return Combine(*this, TRegionData(Clip), RGN_AND);
}

TRegionData TRegionData::Combine(const TRegionData& A, const TRegionData& B, int Mode) {
  if (Mode == RGN_COPY) return A;
  std::vector<Integer> Ys;
  Ys.reserve((A.FRects.size() + B.FRects.size()) * 2);
  for (auto& R : A.FRects) { Ys.push_back(R.Top); Ys.push_back(R.Bottom); }
  for (auto& R : B.FRects) { Ys.push_back(R.Top); Ys.push_back(R.Bottom); }
  std::sort(Ys.begin(), Ys.end());
  Ys.erase(std::unique(Ys.begin(), Ys.end()), Ys.end());
  TRegionData Out;
  TSpans SA, SB, SO;
  std::size_t IA = 0, IB = 0;
  for (std::size_t K = 0; K + 1 < Ys.size(); ++K) {
    Integer Y0 = Ys[K], Y1 = Ys[K + 1];
    SpansAt(A.FRects, IA, Y0, SA);
    SpansAt(B.FRects, IB, Y0, SB);
    if (!SA.empty() && A.FRects[IA].Top > Y0) SA.clear();
    if (!SB.empty() && B.FRects[IB].Top > Y0) SB.clear();
    CombineSpans(SA, SB, Mode, SO);
    for (auto& S : SO) Out.FRects.push_back({S.first, Y0, S.second, Y1});
  }
  Out.Normalize();
  return Out;
}
