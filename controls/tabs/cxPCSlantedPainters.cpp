// cxPCSlantedPainters.cpp — the tab styles whose tabs are polygons:
// Slanted (slanted or cut corners chosen by TabSlants) and OneNote (a long
// slant on the leading side, a rounded trailing corner, the Office 2003
// scheme's colours). Neighbouring tabs overlap, so the shape, not the
// rectangle, decides hit tests and clipping, and the current tab is drawn
// above its neighbours.
//
// Outlines are written for a tab above its page and turned to the tab's
// side with TransformPoint.
#include <algorithm>
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/cxLookAndFeels.h"
#include "controls/tabs/cxPCPainters.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Regions.h"

namespace {

using TPoints = std::vector<TPoint>;

// The point given for a tab above its page, on the tab's real side inside R.
TPoint TransformPoint(const TRect& R, TPoint P, int Side) {
  switch (Side) {
    case 1: return {P.X, R.Top + R.Bottom - P.Y - 1};
    case 2: return {P.Y + R.Right - R.Bottom, R.Bottom + R.Left - P.X - 1};
    case 3: return {R.Bottom + R.Left - P.Y - 1, R.Bottom + R.Left - P.X - 1};
    default: return P;
  }
}

// The OneNote colour row for the Office 2003 scheme in use.
TColor OneNoteColor(int I) {
  static const TColor Rows[4][6] = {
      {clBtnShadow, clBtnShadow, TColor(0xFFFFFF), TColor(0x6A240A), clBtnFace, clBtnFace},
      {TColor(0x9C613B), TColor(0x9A3500), TColor(0xFFFFFF), TColor(0x800000), TColor(0xFFFFFF), TColor(0xF1A675)},
      {TColor(0x588060), TColor(0x6B7760), TColor(0xFFFFFF), TColor(0x385D3F), TColor(0xFFFFFF), TColor(0x8CC2B0)},
      {TColor(0x947C7C), TColor(0x927476), TColor(0xFFFFFF), TColor(0x6F4B4B), TColor(0xFFFFFF), TColor(0xCEB9BA)}};
  const int S = std::clamp(GetOffice11SchemeIndex(), 0, 3);
  return Rows[S][I];
}

class TcxPCSlantedPainter : public TcxPCStandardPainter {
public:
  using TcxPCStandardPainter::TcxPCStandardPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }

  TcxTab* Tab(int V) const { return FControl->VisibleTabs()->GetTab(V); }
  bool Horizontal() const { return FControl->GetTabPosition() == tpTop || FControl->GetTabPosition() == tpBottom; }

  // --- sizes -------------------------------------------------------------
  virtual bool HasHotCurrentGradient() { return false; }
  virtual int GetSlantSize() {
    return FControl->GetTabSlants()->GetKind() == skSlant ? FControl->Tabs()->TabNormalHeight - 1 : 6;
  }
  virtual TcxTabSlantPositions GetSlantedSides() {
    TcxTabSlants* S = FControl->GetTabSlants();
    if (S->GetKind() == skSlant && !FControl->GetRotate()) return S->GetPositions();
    return {};
  }
  static int Count(TcxTabSlantPositions P) { return int(P.Contains(spLeft)) + int(P.Contains(spRight)); }
  virtual int GetTabMinWidthSlanted() {
    if (FControl->GetRotate()) return 0;
    TcxTabSlants* S = FControl->GetTabSlants();
    const int N = Count(S->GetPositions()), Slant = GetSlantSize();
    if (N == 0) return 8;
    if (S->GetKind() == skSlant) return Slant * N - 2 * N + 8;
    return Slant * N + GetFrameWidth() * (2 - N) + 4;
  }
  virtual TColor GetFrameColor() { return clBtnShadow; }
  int GetFrameWidth() override { return 1; }
  int GetImageTextDistance() override { return 3; }
  bool IsTabRaised(int) override { return false; }
  int GetTabMinHeight() override { return 0; }
  int GetTabMinWidth() override { return GetTabMinWidthSlanted(); }

  TPoint GetTabsSpacing() override {
    const TcxTabSlantPositions S = GetSlantedSides();
    const int InRow = Count(S) > 0 ? -(GetSlantSize() / 2) * Count(S) : 1;
    const TPoint P{InRow, -3};
    return FControl->GetRotate() ? TPoint{P.Y, P.X} : P;
  }

  void GetTabContentOffsets(int V, TPoint& Pair) override {
    const int F = GetFrameWidth();
    if (FControl->GetRotate()) {
      Pair = {2, F + 5};
      return;
    }
    TcxTabSlants* S = FControl->GetTabSlants();
    const bool Cut = S->GetKind() == skCutCorner;
    const TcxTabSlantPositions Slanted = Cut ? S->GetPositions() : GetSlantedSides();
    const int End = Cut ? 6 : GetSlantSize();
    Pair = {Slanted.Contains(spLeft) ? End : F + 2, Slanted.Contains(spRight) ? End : F + 2};
    if (FControl->TextDirection() == 2) std::swap(Pair.X, Pair.Y);
    (void)V;
  }
  void GetTabContentOffsetsWhenCut(int V, TPoint& Pair) override { GetTabContentOffsets(V, Pair); }
  void GetTabImageOffsets(int, TRect& M) override { M = {0, GetFrameWidth() + 3, 0, 1}; }
  void GetTabTextOffsets(int, TRect& M) override { M = {0, GetFrameWidth() + 4, 0, 1}; }

  int GetTabContentWidth(int V) {
    TPoint P;
    GetTabContentOffsets(V, P);
    int W = P.X + P.Y;
    if (HasImage(V)) W += GetImageSize().cx + 2 * FControl->GetImageBorder();
    return std::max(W, GetTabMinWidthSlanted());
  }

  int CalculateTabNormalWidth(TcxTab* ATab) override {
    if (!ATab->GetVisible()) return 0;
    const int V = ATab->VisibleIndex();
    const int Content = V >= 0 ? GetTabContentWidth(V) : GetTabMinWidthSlanted();
    if (FControl->GetTabWidth() > 0) return std::max<int>(FControl->GetTabWidth(), Content);
    if (ATab->GetCaption().empty()) return Content;
    TBitmap B;
    B.SetSize(1, 1);
    TcxCanvas C(B.Canvas());
    FControl->PrepareTabFont(ATab, &C);
    TRect R{0, 0, 0, 0};
    C.MeasureTextRect(ATab->GetCaption(), R, cxSingleLine | cxShowPrefix);
    return std::max(Content, R.Width() + Content + (V >= 0 && HasImage(V) ? 3 : 0));
  }

  int GetTabContentHeight() override {
    TRect T, I;
    GetTabTextOffsets(0, T);
    GetTabImageOffsets(0, I);
    int H = GetMaxTextHeight() + T.Top + T.Bottom;
    const TSize S = GetImageSize();
    if (S.cy > 0) H = std::max(H, S.cy + 2 * FControl->GetImageBorder() + I.Top + I.Bottom);
    return H;
  }

  // --- shapes ------------------------------------------------------------
  // The outline of a tab above its page: L and B its bounds' left and
  // bottom, W along the strip and H across it.
  virtual TPoints BuildTabOutline(int V) {
    const TRect R = Tab(V)->Bounds();
    const bool Hor = Horizontal();
    const int L = R.Left, B = R.Bottom, W = Hor ? R.Width() : R.Height(), H = Hor ? R.Height() : R.Width();
    TcxTabSlants* S = FControl->GetTabSlants();
    const bool Slant = S->GetKind() == skSlant, Any = !S->GetPositions().Empty();
    const bool RotSlant = FControl->GetRotate() && Slant;
    TPoints P;
    if (!S->GetPositions().Contains(spLeft) || RotSlant) {
      if (!Slant && Any) P = {{L, B - 1}, {L, B - H}};
      else P = {{L, B - 1}, {L, B + 2 - H}, {L + 2, B - H}};
    } else if (Slant) {
      P = {{L, B - 1}, {L + H - 1, B - H}};
    } else {
      P = {{L, B - 1}, {L, B + 6 - H}, {L + 6, B - H}};
    }
    const int E = L + W - 1;
    if (!S->GetPositions().Contains(spRight) || RotSlant) {
      if (!Slant && Any) P.insert(P.end(), {{E, B - H}, {E, B - 1}});
      else P.insert(P.end(), {{E - 2, B - H}, {E, B + 2 - H}, {E, B - 1}});
    } else if (Slant) {
      P.insert(P.end(), {{L + W - H, B - H}, {E, B - 1}});
    } else {
      P.insert(P.end(), {{E - 6, B - H}, {E, B + 6 - H}, {E, B - 1}});
    }
    return P;
  }
  TPoints TurnedOutline(int V) {
    TPoints P = BuildTabOutline(V);
    const TRect R = Tab(V)->Bounds();
    for (TPoint& X : P) X = TransformPoint(R, X, Tab(V)->Side());
    return P;
  }
  // The shape, with the outline's right and bottom pixels included.
  HRGN GetTabRegion(int V) {
    TPoints P = TurnedOutline(V);
    HRGN R = CreatePolygonRgn(P.data(), int(P.size()), WINDING);
    for (TPoint D : {TPoint{1, 0}, TPoint{0, 1}, TPoint{1, 1}}) {
      TPoints Q = P;
      for (TPoint& X : Q) X = {X.X + D.X, X.Y + D.Y};
      HRGN S = CreatePolygonRgn(Q.data(), int(Q.size()), WINDING);
      CombineRgn(R, R, S, RGN_OR);
      DeleteObject(S);
    }
    return R;
  }
  HRGN GetTabClip(int V) {
    HRGN R = GetTabRegion(V);
    TRect D = Tab(V)->DisplayRect();
    if (Tab(V)->IsCurrent()) {
      // One more pixel on the page side, for the tab's base.
      switch (Tab(V)->Side()) {
        case 0: ++D.Bottom; break;
        case 1: --D.Top; break;
        case 2: ++D.Right; break;
        default: --D.Left; break;
      }
    }
    HRGN Rect = CreateRectRgnIndirect(&D);
    CombineRgn(R, R, Rect, RGN_AND);
    DeleteObject(Rect);
    return R;
  }

  bool IsPointInTab(int V, int X, int Y) override {
    auto Holds = [&](int I) {
      HRGN R = GetTabClip(I);
      const bool In = PtInRegion(R, X, Y);
      DeleteObject(R);
      return In;
    };
    if (!Holds(V)) return false;
    // The current tab lies above its neighbour.
    const int Next = V + 1;
    if (Next < FControl->VisibleTabs()->Count() && Tab(Next)->IsCurrent() && Holds(Next)) return false;
    return true;
  }

  // --- colours -----------------------------------------------------------
  TColor GetTabColor(int V) override {
    if (auto* Page = FControl->GetPage(Tab(V)->Index())) return Page->GetColor();
    return FControl->GetColor();
  }
  void GetTabGradientColors(int V, TColor& First, TColor& Second) {
    const TColor C = GetTabColor(V);
    if (Tab(V)->IsHot()) {
      First = cxPCAdjustBrightness(C, 20);
      Second = C;
    } else {
      First = cxPCAdjustBrightness(C, 13);
      Second = ScaleColor(C, 90);
    }
  }

  // --- drawing -----------------------------------------------------------
  void DrawTabs(TcxCanvas* ACanvas) override {
    TcxCustomTabControl* C = FControl;
    const int N = C->VisibleTabs()->Count();
    const int From = C->GetMultiLine() ? 0 : std::max(0, C->FirstShown());
    const int To = C->GetMultiLine() ? N - 1 : C->LastShown();
    const int Cur = C->CurrentVisibleIndex();
    if (Cur >= From && Cur <= To) DrawTab(ACanvas, Cur);
    for (int V = From; V <= To && V < N; ++V)
      if (V != Cur) DrawTab(ACanvas, V);
    // Each row's line on its page side, broken only by the current tab.
    const int W = C->GetWidth(), H = C->GetHeight();
    for (int V = From; V <= To && V < N; ++V) {
      if (V > From && Tab(V - 1)->Row == Tab(V)->Row) continue;
      const TRect L = Tab(V)->LayoutRect();
      TRect Line;
      switch (Tab(V)->Side()) {
        case 0: Line = {0, L.Bottom - 1, W, L.Bottom}; break;
        case 1: Line = {0, L.Top, W, L.Top + 1}; break;
        case 2: Line = {L.Right - 1, 0, L.Right, H}; break;
        default: Line = {L.Left, 0, L.Left + 1, H}; break;
      }
      ACanvas->FillRect(Line, GetFrameColor());
      ACanvas->ExcludeClipRect(Line);
    }
  }

  void DrawTab(TcxCanvas* ACanvas, int V) override {
    if (Tab(V)->DisplayRect().IsEmpty()) return;
    const int Saved = SaveDC(ACanvas->GetDC());
    TcxRegion Clip(GetTabClip(V));
    ACanvas->ApplyClipRegion(&Clip, roIntersect, false);
    if (!(IsOwnerDrawn() && DoOwnerDraw(V))) {
      // The content first: it leaves its rectangles out of the clip region.
      DrawTabImageAndText(ACanvas, V);
      DrawTabFrame(ACanvas, V);
    }
    RestoreDC(ACanvas->GetDC(), Saved);
    TcxRegion Drawn(GetTabClip(V));
    ACanvas->ApplyClipRegion(&Drawn, roSubtract, false);
  }

  void FillTabGradient(TcxCanvas* ACanvas, const TRect& R, int V) {
    TcxTab* T = Tab(V);
    // A highlighted tab's caption is drawn in the highlight text colour.
    if (T->GetHighlighted() && !T->IsCurrent()) {
      ACanvas->FillRect(R, clHighlight);
      return;
    }
    if (T->IsCurrent() && !(HasHotCurrentGradient() && T->IsHot())) {
      ACanvas->FillRect(R, GetTabColor(V));
      return;
    }
    TColor A, B;
    GetTabGradientColors(V, A, B);
    if (!FControl->GetOptions().Contains(pcoGradient)) {
      ACanvas->FillRect(R, GetTabColor(V));
      return;
    }
    // Across the strip, from the outer edge to the page.
    const int Side = T->Side();
    if (Side == 1 || Side == 3) std::swap(A, B);
    FillGradientRect(ACanvas->GetDC(), R, A, B, !Horizontal());
  }

  void FillTabContentBackground(TcxCanvas* ACanvas, const TRect& R, int V) override {
    const int Saved = SaveDC(ACanvas->GetDC());
    ACanvas->IntersectClipRect(R);
    FillTabGradient(ACanvas, Tab(V)->Bounds(), V);
    RestoreDC(ACanvas->GetDC(), Saved);
  }

  void DrawTabFrame(TcxCanvas* ACanvas, int V) override {
    TcxTab* T = Tab(V);
    FillTabGradient(ACanvas, T->Bounds(), V);
    DrawHotMark(ACanvas, V);
    DrawTabOutline(ACanvas, V);
    if (T->IsCurrent()) DrawTabBase(ACanvas, V);
  }

  virtual void DrawHotMark(TcxCanvas* ACanvas, int V) {
    TcxTab* T = Tab(V);
    if (!T->IsHot() && !T->IsCurrent()) return;
    const TRect R = T->Bounds();
    const int K = GetFrameWidth() + 3;
    TRect M;
    switch (T->Side()) {
      case 0: M = {R.Left, R.Top, R.Right, R.Top + K}; break;
      case 1: M = {R.Left, R.Bottom - K, R.Right, R.Bottom}; break;
      case 2: M = {R.Left, R.Top, R.Left + K, R.Bottom}; break;
      default: M = {R.Right - K, R.Top, R.Right, R.Bottom}; break;
    }
    ACanvas->FillRect(M, clHighlight);
  }

  virtual void DrawTabOutline(TcxCanvas* ACanvas, int V) {
    TPoints P = TurnedOutline(V);
    DrawPolylineWithEnd(ACanvas, GetFrameColor(), P);
  }

  // The strip between the current tab and the page in the page's colour.
  virtual void DrawTabBase(TcxCanvas* ACanvas, int V) {
    TcxTab* T = Tab(V);
    const TRect R = T->Bounds();
    TRect S;
    switch (T->Side()) {
      case 0: S = {R.Left + 1, R.Bottom - 1, R.Right - 1, R.Bottom + 1}; break;
      case 1: S = {R.Left + 1, R.Top - 1, R.Right - 1, R.Top + 1}; break;
      case 2: S = {R.Right - 1, R.Top + 1, R.Right + 1, R.Bottom - 1}; break;
      default: S = {R.Left - 1, R.Top + 1, R.Left + 1, R.Bottom - 1}; break;
    }
    ACanvas->FillRect(S, GetTabColor(V));
  }

  void PaintPageArea(TcxCanvas* ACanvas) override { ACanvas->FillRect(GetDisplayRect(), GetPageColor()); }
  void DrawFrame(TcxCanvas* ACanvas) override {
    const TRect D = GetDisplayRect();
    const TColor F = GetFrameColor();
    ACanvas->DrawTwoColorFrame({D.Left - 1, D.Top - 1, D.Right + 1, D.Bottom + 1}, F, F);
  }
  void GetDisplayRectOffsets(TRect& M) override {
    TcxPCStandardPainter::GetDisplayRectOffsets(M);
    if (HasFrame() || FControl->GetHideTabs() || FControl->RowCount() == 0) return;
    const TRect Extra = RotateMargins({0, 1, 0, 0});
    M = {M.Left + Extra.Left, M.Top + Extra.Top, M.Right + Extra.Right, M.Bottom + Extra.Bottom};
  }

  // --- navigator ---------------------------------------------------------
  int GetNavigatorButtonHeight() override { return 17; }
  int GetNavigatorButtonWidth(TcxPCNavigatorButton B) override {
    switch (B) {
      case nbGoDialog: return 13;
      case nbClose: return 16;
      default: return 17;
    }
  }
  void DrawNavigatorButton(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R) override {
    const int State = FControl->ButtonState(B);
    const TColor Base = FControl->GetColor();
    const TColor Face = State == nbsHot       ? MixColors(Base, TColor(0xFFFFFF), 35)
                        : State == nbsPressed ? MixColors(Base, TColor(0), 80)
                                              : Base;
    ACanvas->FillRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, Face);
    const TColor Frame = State == nbsHot || State == nbsPressed ? TColor(clBlack) : TColor(clBtnShadow);
    ACanvas->DrawTwoColorFrame(R, Frame, Frame);
    DrawGlyph(ACanvas, B, R);
  }
};

class TcxPCOneNotePainter : public TcxPCSlantedPainter {
public:
  using TcxPCSlantedPainter::TcxPCSlantedPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }

  bool HasHotCurrentGradient() override { return true; }
  int GetSlantSize() override { return FControl->Tabs()->TabNormalHeight + 2; }
  TcxTabSlantPositions GetSlantedSides() override { return {spLeft}; }
  int GetTabMinWidthSlanted() override { return GetSlantSize() + 4; }
  TColor GetFrameColor() override { return OneNoteColor(0); }
  TPoint GetTabsSpacing() override { return {5 - GetSlantSize(), -3}; }
  void GetTabContentOffsets(int, TPoint& Pair) override {
    Pair = {GetSlantSize(), 4};
    if (FControl->TextDirection() == 2) std::swap(Pair.X, Pair.Y);
  }
  void GetTabImageOffsets(int, TRect& M) override { M = {0, 3, 0, 1}; }
  void GetTabTextOffsets(int, TRect& M) override { M = {0, 4, 0, 1}; }
  void GetControlMargins(TRect& M) override { M = {4, 0, 4, 0}; }

  // A long slant on the leading side and a rounded trailing corner.
  TPoints BuildTabOutline(int V) override {
    const TRect R = Tab(V)->Bounds();
    const bool Hor = Horizontal();
    const int L = R.Left, B = R.Bottom, W = Hor ? R.Width() : R.Height(), H = Hor ? R.Height() : R.Width();
    return {{L, B - 1},          {L + 1, B - 1},         {L + H - 3, B - H + 3}, {L + H + 2, B - H},
            {L + W - 3, B - H}, {L + W - 1, B - H + 2}, {L + W - 1, B - 1}};
  }

  void Colors(int V, TColor& Outer, TColor& Inner, TColor& Trailing) {
    TcxTab* T = Tab(V);
    const TColor C = GetTabColor(V);
    if (T->IsHot()) {
      Outer = Inner = Trailing = OneNoteColor(3);
    } else if (T->IsCurrent()) {
      Outer = OneNoteColor(0);
      Inner = MixColors(TColor(0xFFFFFF), C, 60);
      Trailing = MixColors(Inner, C, 70);
    } else {
      Outer = OneNoteColor(1);
      Inner = MixColors(MixColors(TColor(0xFFFFFF), OneNoteColor(5), 50), C, 50);
      Trailing = MixColors(OneNoteColor(5), C, 50);
    }
  }

  void DrawTabOutline(TcxCanvas* ACanvas, int V) override {
    const TRect R = Tab(V)->Bounds();
    const int Side = Tab(V)->Side();
    const bool Hor = Horizontal();
    const int L = R.Left, B = R.Bottom, W = Hor ? R.Width() : R.Height(), H = Hor ? R.Height() : R.Width();
    TColor Outer, Inner, Trailing;
    Colors(V, Outer, Inner, Trailing);
    auto Line = [&](TColor C, TPoints P) {
      for (TPoint& X : P) X = TransformPoint(R, X, Side);
      DrawPolylineWithEnd(ACanvas, C, P);
    };
    Line(Outer, {{L + 1, B - 1}, {L + H - 3, B - H + 3}, {L + H + 2, B - H}, {L + W - 3, B - H},
                 {L + W - 1, B - H + 2}, {L + W - 1, B - 1}});
    Line(Inner, {{L + 2, B - 1}, {L + H - 3, B - H + 4}, {L + H + 2, B - H + 1}, {L + W - 4, B - H + 1}});
    Line(Trailing, {{L + W - 3, B - H + 1}, {L + W - 2, B - H + 2}, {L + W - 2, B - 1}});
  }

  void DrawHotMark(TcxCanvas*, int) override {}

  void DrawTabBase(TcxCanvas* ACanvas, int V) override {
    const TRect R = Tab(V)->Bounds();
    const int Side = Tab(V)->Side();
    const bool Hor = Horizontal();
    const int L = R.Left, B = R.Bottom, W = Hor ? R.Width() : R.Height();
    const TColor C = GetTabColor(V);
    const TPoint P = TransformPoint(R, {L, B}, Side);
    ACanvas->SetPixel(P.X, P.Y, MixColors(OneNoteColor(0), C, 50));
    const TPoint A = TransformPoint(R, {L + 1, B}, Side), E = TransformPoint(R, {L + W - 1, B}, Side);
    DrawPolylineWithEnd(ACanvas, C, {A, E});
  }
};

TcxPCPainterClassInfo SlantedInfo(TcxPCStyleID ID, const char* Name, bool Rotation,
                                  std::unique_ptr<TcxPCCustomPainter> (*Create)(TcxCustomTabControl*)) {
  TcxPCPainterClassInfo I;
  I.StyleID = ID;
  I.StyleName = Name;
  I.AllowsRotation = Rotation;
  I.Create = Create;
  return I;
}

const TcxPCPainterClassInfo TcxPCSlantedPainter::Info = SlantedInfo(9, "Slanted", true, &MakePainter<TcxPCSlantedPainter>);
const TcxPCPainterClassInfo TcxPCOneNotePainter::Info = SlantedInfo(10, "OneNote", false, &MakePainter<TcxPCOneNotePainter>);

}  // namespace

TcxPCPainterClass cxPCSlantedPainterClass() { return &TcxPCSlantedPainter::Info; }
TcxPCPainterClass cxPCOneNotePainterClass() { return &TcxPCOneNotePainter::Info; }
