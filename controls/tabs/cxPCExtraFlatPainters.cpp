// cxPCExtraFlatPainters.cpp — the flat tab styles that draw their tabs on a
// band running the whole length of the control: ExtraFlat (light band,
// the current tab merging with the page), UltraFlat (the same with
// shadow-coloured lines) and Office11 (the Office 2003 scheme's gradients).
//
// Everything is worked out for a strip above the page and turned to the
// real side by the helpers at the top, so each style states its outlines
// once.
#include <algorithm>
#include <cmath>
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/tabs/cxPCPainters.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DcApi.h"

namespace {

bool IsHorizontalStrip(TcxTabPosition P) { return P == tpTop || P == tpBottom; }

// 0 above the page, 1 below, 2 left of it, 3 right of it.
int StripSide(TcxCustomTabControl* C) {
  switch (C->GetTabPosition()) {
    case tpBottom: return 1;
    case tpLeft: return 2;
    case tpRight: return 3;
    default: return 0;
  }
}

// The one-pixel line I pixels in from the page-side edge of R (I = 0: the
// edge line itself), running the rectangle's whole length.
TRect PageSideLine(const TRect& R, int Side, int I) {
  switch (Side) {
    case 0: return {R.Left, R.Bottom - 1 - I, R.Right, R.Bottom - I};
    case 1: return {R.Left, R.Top + I, R.Right, R.Top + I + 1};
    case 2: return {R.Right - 1 - I, R.Top, R.Right - I, R.Bottom};
    default: return {R.Left + I, R.Top, R.Left + I + 1, R.Bottom};
  }
}

class TcxPCExtraFlatPainter : public TcxPCStandardPainter {
public:
  using TcxPCStandardPainter::TcxPCStandardPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }

  // --- sizes -------------------------------------------------------------
  virtual int GetSeparatorMargin() { return 3; }
  virtual int GetSeparatorWidth() { return 1; }
  virtual bool HasOwnFrame() { return false; }
  int GetFrameWidth() override { return 1; }
  int GetImageTextDistance() override { return 6; }
  bool IsTabRaised(int V) override { return FControl->VisibleTabs()->GetTab(V)->IsCurrent(); }

  TPoint GetTabsSpacing() override {
    const TPoint S{GetSeparatorWidth(), GetSeparatorMargin() + 3};
    return FControl->GetRotate() ? TPoint{S.Y, S.X} : S;
  }

  int ImagePart() {
    const TSize I = GetImageSize();
    return I.cx > 0 ? I.cx + 2 * FControl->GetImageBorder() + 4 : 0;
  }
  int GetTabMinWidth() override { return ImagePart(); }

  int CalculateTabNormalWidth(TcxTab* ATab) override {
    if (FControl->GetTabWidth() > 0) return std::max<int>(FControl->GetTabWidth(), GetTabMinWidth());
    int W = 12;
    if (!ATab->GetCaption().empty()) {
      TBitmap B;
      B.SetSize(1, 1);
      TcxCanvas C(B.Canvas());
      FControl->PrepareTabFont(ATab, &C);
      TRect R{0, 0, 0, 0};
      C.MeasureTextRect(ATab->GetCaption(), R, cxSingleLine | cxShowPrefix);
      W = 9 + R.Width();
    }
    return W + ImagePart();
  }

  int CalculateTabNormalHeight() override {
    int Content = GetMaxTextHeight() + 8;
    const TSize I = GetImageSize();
    if (I.cy > 0) Content = std::max(Content, I.cy + 2 * FControl->GetImageBorder() + 6);
    int H = std::max(Content - 3, 17);
    if (FControl->GetTabHeight() - 4 >= 17 && FControl->GetTabHeight() - 4 > H) H = FControl->GetTabHeight() - 4;
    return H;
  }

  void GetTabBoundsAdjustment(int V, TRect& O) override {
    O = {0, 0, 0, 0};
    if (FControl->VisibleTabs()->GetTab(V)->IsCurrent()) O = {-1, -1, 1, 1};
  }
  void GetTabContentOffsets(int V, TPoint& Pair) override {
    Pair = IsTabRaised(V) ? TPoint{3, 3} : TPoint{2, 2};
  }
  void GetTabContentOffsetsWhenCut(int V, TPoint& Pair) override { GetTabContentOffsets(V, Pair); }
  void GetTabImageOffsets(int, TRect& M) override { M = {0, 1, 0, 0}; }
  void GetTabTextOffsets(int V, TRect& M) override {
    const int K = FControl->VisibleTabs()->GetTab(V)->DrawKind();
    M = (K == 5 || K == 7 || K == 10) ? TRect{0, 0, 0, 0} : TRect{0, 2, 0, 0};
  }

  // --- geometry ----------------------------------------------------------
  void CalculateTabsArea(TcxPCNavigatorButtons Buttons, TcxPCTabsArea& Area) override {
    const int W = FControl->GetWidth(), H = FControl->GetHeight();
    const bool Hor = IsHorizontalStrip(FControl->GetTabPosition());
    const int Own = HasOwnFrame() ? GetFrameWidth() : 0;
    const TRect M = RotateMargins({6 + Own, 3 + Own, 6 + Own, 0});
    const TRect Inner{M.Left, M.Top, W - M.Right, H - M.Bottom};
    const auto Q = GetNavigatorButtonsQueue(Buttons);
    int NavLength = 0;
    for (size_t I = 0; I < Q.size(); ++I)
      NavLength += GetNavigatorButtonWidth(Q[I]) + (I ? Interval(Q[I - 1], Q[I]) : 0);
    const TcxPCNavigatorPosition NP = FControl->GetNavigatorPosition();
    const bool NavAtEnd = Hor ? (NP == npRightTop || NP == npRightBottom) : (NP == npLeftBottom || NP == npRightBottom);
    TPoint Start{Inner.Left, Inner.Top}, End{Inner.Right, Inner.Bottom};
    // The navigator takes its length from the end of the strip it sits at.
    if (NavLength > 0) {
      const int Take = NavLength + NavigatorEndOffset();
      if (Hor) (NavAtEnd ? End.X : Start.X) += NavAtEnd ? -Take : Take;
      else (NavAtEnd ? End.Y : Start.Y) += NavAtEnd ? -Take : Take;
    }
    Area.Start = Start;
    Area.End = End;
    Area.Rect = {Start.X - 1, Start.Y - 1, End.X + 1, End.Y + 1};
    // Only the tab side and the ends grow; the page side stays.
    switch (FControl->GetTabPosition()) {
      case tpTop: Area.Rect.Bottom = H; break;
      case tpBottom: Area.Rect.Top = 0; break;
      case tpLeft: Area.Rect.Right = W; break;
      case tpRight: Area.Rect.Left = 0; break;
    }
    Area.Rect.Left = std::max(0, Area.Rect.Left);
    Area.Rect.Top = std::max(0, Area.Rect.Top);
    Area.Rect.Right = std::min(W, Area.Rect.Right);
    Area.Rect.Bottom = std::min(H, Area.Rect.Bottom);
    Area.Length = std::max(0, (Hor ? W : H) - 12 - 2 * Own - (NavLength > 0 ? NavLength + NavigatorEndOffset() : 0));
    // The row lines below the last row belong to the tabs' group.
    Area.NearOffset = GetSeparatorMargin();
    Area.FarOffset = -GetSeparatorMargin();
    Area.RowSpacing = GetTabsSpacing().Y - 1;
    // The buttons: edge offset from the tab-side edge, end offset from the
    // strip's end.
    const int BH = GetNavigatorButtonHeight(), Edge = GetNavigatorEdgeOffset();
    FButtonRects.clear();
    if (NavLength == 0) return;
    const TcxTabPosition TP = FControl->GetTabPosition();
    int P;
    TRect Nav;
    if (Hor) {
      const int Left = NavAtEnd ? W - NavigatorEndOffset() - NavLength : NavigatorEndOffset();
      const int Top = TP == tpTop ? Edge : H - Edge - BH;
      Nav = {Left, Top, Left + NavLength, Top + BH};
      P = Nav.Left;
    } else {
      const int Top = NavAtEnd ? H - NavigatorEndOffset() - NavLength : NavigatorEndOffset();
      const int Left = TP == tpLeft ? Edge : W - Edge - BH;
      Nav = {Left, Top, Left + BH, Top + NavLength};
      P = Nav.Top;
    }
    for (size_t I = 0; I < Q.size(); ++I) {
      const int Len = GetNavigatorButtonWidth(Q[I]);
      FButtonRects.push_back({Q[I], Hor ? TRect{P, Nav.Top, P + Len, Nav.Bottom} : TRect{Nav.Left, P, Nav.Right, P + Len}});
      if (I + 1 < Q.size()) P += Len + Interval(Q[I], Q[I + 1]);
    }
  }

  // Margins: the frame side of the group, then a 2-pixel strip towards the
  // page, then the frame (on the three sides away from the tabs).
  void GetDisplayRectOffsets(TRect& M) override {
    GetFrameRectOffsets(M);
    AdjustDisplayOffsets(M);
  }
  virtual void AdjustDisplayOffsets(TRect& M) {
    const bool Tabs = HasTabs();
    const TRect Strip = Tabs ? RotateMargins({0, 2, 0, 0}) : TRect{0, 0, 0, 0};
    M = {M.Left + Strip.Left, M.Top + Strip.Top, M.Right + Strip.Right, M.Bottom + Strip.Bottom};
    if (HasFrame()) {
      const int F = GetFrameWidth();
      const TRect Fr = Tabs ? RotateMargins({F, 0, F, F}) : TRect{F, F, F, F};
      M = {M.Left + Fr.Left, M.Top + Fr.Top, M.Right + Fr.Right, M.Bottom + Fr.Bottom};
    }
  }
  bool HasTabs() { return !FControl->GetHideTabs() && FControl->RowCount() > 0; }

  // --- colours -----------------------------------------------------------
  TColor GetBackgroundColor() override { return clBtnFace; }
  TColor GetTabColor(int V) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    if (T->GetHighlighted()) return clHighlight;
    if (T->IsCurrent()) return clBtnFace;
    return cxPCLightFaceColor();
  }
  TColor GetPageColor() override {
    return FControl->CurrentVisibleIndex() >= 0 ? TcxPCStandardPainter::GetPageColor() : clBtnFace;
  }
  virtual TColor GetPageStripColor() { return clBtnFace; }

  // --- drawing -----------------------------------------------------------
  void PaintContent(TcxCanvas* ACanvas) override {
    DrawPageArea(ACanvas);
    if (FControl->GetHideTabs()) return;
    DrawNavigatorButtons(ACanvas);
    DrawTabs(ACanvas);
  }

  void DrawPageArea(TcxCanvas* ACanvas) override {
    const TRect F = GetFrameRect();
    if (HasTabs()) ACanvas->FillRect(GetPageStripRect(), GetPageStripColor());
    if (HasFrame()) DrawFrame(ACanvas);
    PaintPageArea(ACanvas);
    ACanvas->ExcludeClipRect(F);
  }

  TRect GetPageStripRect() {
    const TRect F = GetFrameRect();
    switch (StripSide(FControl)) {
      case 0: return {F.Left, F.Top, F.Right, F.Top + 2};
      case 1: return {F.Left, F.Bottom - 2, F.Right, F.Bottom};
      case 2: return {F.Left, F.Top, F.Left + 2, F.Bottom};
      default: return {F.Right - 2, F.Top, F.Right, F.Bottom};
    }
  }

  void DrawFrame(TcxCanvas* ACanvas) override {
    TRect F = GetFrameRect();
    TcxBorders Sides = cxBordersAll;
    if (HasTabs()) {
      switch (StripSide(FControl)) {
        case 0: Sides &= ~cxBorderBit(bTop); F.Top += 2; break;
        case 1: Sides &= ~cxBorderBit(bBottom); F.Bottom -= 2; break;
        case 2: Sides &= ~cxBorderBit(bLeft); F.Left += 2; break;
        default: Sides &= ~cxBorderBit(bRight); F.Right -= 2; break;
      }
    }
    DrawPageFrame(ACanvas, F, Sides);
  }
  virtual void DrawPageFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders Sides) {
    ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow, Sides);
  }

  // The band of a group: the group stretched along the whole control and
  // out to the control's edge on the tab side.
  TRect GetRowBandRect(bool Near) {
    TRect R = Near ? FControl->NearGroupRect() : FControl->FarGroupRect();
    const int W = FControl->GetWidth(), H = FControl->GetHeight();
    if (IsHorizontalStrip(FControl->GetTabPosition())) {
      R.Left = 0;
      R.Right = W;
      if (FControl->GetTabPosition() == tpTop) R.Top = 0; else R.Bottom = H;
    } else {
      R.Top = 0;
      R.Bottom = H;
      if (FControl->GetTabPosition() == tpLeft) R.Left = 0; else R.Right = W;
    }
    return R;
  }

  void DrawTabs(TcxCanvas* ACanvas) override {
    TcxCustomTabControl* C = FControl;
    const int N = C->VisibleTabs()->Count();
    const int From = C->GetMultiLine() ? 0 : std::max(0, C->FirstShown());
    const int To = C->GetMultiLine() ? N - 1 : C->LastShown();
    for (int V = From; V <= To && V < N; ++V) DrawTab(ACanvas, V);
    // Separators between neighbouring tabs of a row that are not current.
    for (int V = From; V < To && V + 1 < N; ++V) {
      TcxTab* A = C->VisibleTabs()->GetTab(V);
      TcxTab* B = C->VisibleTabs()->GetTab(V + 1);
      if (A->Row != B->Row || A->IsCurrent() || B->IsCurrent() || A->DisplayRect().IsEmpty()) continue;
      DrawSeparator(ACanvas, V);
    }
    // The bands with their row lines, in what the tabs left.
    for (bool Near : {true, false}) {
      const bool Has = Near ? C->SplitRow() > 0 : C->SplitRow() < C->RowCount();
      if (!Has) continue;
      const TRect Band = GetRowBandRect(Near);
      if (Band.IsEmpty()) continue;
      for (int V = From; V <= To && V < N; ++V) {
        TcxTab* T = C->VisibleTabs()->GetTab(V);
        if ((T->DisplayRow < C->SplitRow()) != Near) continue;
        // One set of lines per row: at its first tab.
        if (V > From && C->VisibleTabs()->GetTab(V - 1)->Row == T->Row) continue;
        DrawRowLines(ACanvas, V);
      }
      FillTabBackground(ACanvas, Band, -1);
      ACanvas->ExcludeClipRect(Band);
    }
  }

  // The trailing edge of the tab at V, where its separator goes: the pixel
  // after it along the row.
  TRect SeparatorRect(int V, int Width, TPoint Insets) {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    const TRect R = T->LayoutRect();
    const bool Reversed = FControl->IsReversedRow();
    const int Side = T->Side();
    // Insets are (outer edge, page edge).
    switch (Side) {
      case 0:
      case 1: {
        const int X = Reversed ? R.Left - Width : R.Right;
        const int Top = Side == 0 ? R.Top + Insets.X : R.Top + Insets.Y;
        const int Bottom = Side == 0 ? R.Bottom - Insets.Y : R.Bottom - Insets.X;
        return {X, Top, X + Width, Bottom};
      }
      default: {
        const int Y = Reversed ? R.Top - Width : R.Bottom;
        const int Left = Side == 2 ? R.Left + Insets.X : R.Left + Insets.Y;
        const int Right = Side == 2 ? R.Right - Insets.Y : R.Right - Insets.X;
        return {Left, Y, Right, Y + Width};
      }
    }
  }
  virtual TPoint GetSeparatorInsets(int Side) { return Side == 0 || Side == 2 ? TPoint{1, 1} : TPoint{2, 0}; }
  virtual void DrawSeparator(TcxCanvas* ACanvas, int V) {
    const TRect R = SeparatorRect(V, GetSeparatorWidth(), GetSeparatorInsets(FControl->VisibleTabs()->GetTab(V)->Side()));
    ACanvas->FillRect(R, clBtnShadow);
    ACanvas->ExcludeClipRect(R);
  }

  // The row's lines along the band's edge towards the page, listed from
  // that edge inwards.
  virtual std::vector<TColor> RowLineColors(int V) {
    const int Side = FControl->VisibleTabs()->GetTab(V)->Side();
    return {clBtnFace, clBtnFace, Side == 0 || Side == 2 ? clBtnHighlight : TColor(clBlack)};
  }
  void DrawRowLines(TcxCanvas* ACanvas, int V) {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    const TRect L = T->LayoutRect();
    const int Side = T->Side(), M = GetSeparatorMargin();
    const int W = FControl->GetWidth(), H = FControl->GetHeight();
    // The lines lie just beyond the row on its page side.
    TRect Lines;
    switch (Side) {
      case 0: Lines = {0, L.Bottom, W, L.Bottom + M}; break;
      case 1: Lines = {0, L.Top - M, W, L.Top}; break;
      case 2: Lines = {L.Right, 0, L.Right + M, H}; break;
      default: Lines = {L.Left - M, 0, L.Left, H}; break;
    }
    const auto Colors = RowLineColors(V);
    for (int I = 0; I < M && I < int(Colors.size()); ++I) ACanvas->FillRect(PageSideLine(Lines, Side, I), Colors[size_t(I)]);
    ACanvas->ExcludeClipRect(Lines);
  }

  virtual void FillTabBackground(TcxCanvas* ACanvas, const TRect& R, int V) {
    ACanvas->FillRect(R, V < 0 ? cxPCLightFaceColor() : GetTabColor(V));
  }

  void FillTabContentBackground(TcxCanvas* ACanvas, const TRect& R, int V) override {
    FillTabBackground(ACanvas, R, V);
  }

  TRect GetCurrentTabRect(int V) { return FControl->VisibleTabs()->GetTab(V)->Bounds(); }

  void DrawTabFrame(TcxCanvas* ACanvas, int V) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    if (T->IsCurrent()) DrawCurrentTabOutline(ACanvas, V, GetCurrentTabRect(V));
    FillTabBackground(ACanvas, T->Bounds(), V);
  }

  // The colours of the leading, outer and trailing sides of the current
  // tab's outline.
  virtual void CurrentOutlineColors(int Side, TColor& Leading, TColor& Outer, TColor& Trailing) {
    Leading = clBtnHighlight;
    Outer = Side == 0 || Side == 2 ? clBtnHighlight : TColor(clBlack);
    Trailing = Side == 2 ? clBtnHighlight : TColor(clBlack);
    if (Side == 3) Leading = clBlack;
  }
  void DrawCurrentTabOutline(TcxCanvas* ACanvas, int V, const TRect& R) {
    const int Side = FControl->VisibleTabs()->GetTab(V)->Side();
    TColor Leading, Outer, Trailing;
    CurrentOutlineColors(Side, Leading, Outer, Trailing);
    TRect A, B, O;  // the two ends across the strip and the outer side
    switch (Side) {
      case 0:
        A = {R.Left, R.Top, R.Left + 1, R.Bottom}, B = {R.Right - 1, R.Top, R.Right, R.Bottom};
        O = {R.Left, R.Top, R.Right, R.Top + 1};
        break;
      case 1:
        A = {R.Left, R.Top, R.Left + 1, R.Bottom}, B = {R.Right - 1, R.Top, R.Right, R.Bottom};
        O = {R.Left, R.Bottom - 1, R.Right, R.Bottom};
        break;
      case 2:
        A = {R.Left, R.Top, R.Right, R.Top + 1}, B = {R.Left, R.Bottom - 1, R.Right, R.Bottom};
        O = {R.Left, R.Top, R.Left + 1, R.Bottom};
        break;
      default:
        A = {R.Left, R.Top, R.Right, R.Top + 1}, B = {R.Left, R.Bottom - 1, R.Right, R.Bottom};
        O = {R.Right - 1, R.Top, R.Right, R.Bottom};
        break;
    }
    ACanvas->FillRect(A, Leading);
    ACanvas->FillRect(B, Trailing);
    ACanvas->FillRect(O, Outer);
    for (const TRect& X : {A, B, O}) ACanvas->ExcludeClipRect(X);
  }

  // --- navigator ---------------------------------------------------------
  int GetNavigatorButtonHeight() override { return 13; }
  int GetNavigatorButtonWidth(TcxPCNavigatorButton) override { return 13; }
  virtual int GetNavigatorEdgeOffset() { return 6; }
  virtual int NavigatorEndOffset() { return HasOwnFrame() ? GetFrameWidth() + 1 : 1; }
  virtual int Interval(TcxPCNavigatorButton A, TcxPCNavigatorButton B) {
    const bool Arrow = A == nbTopLeft || A == nbBottomRight || B == nbTopLeft || B == nbBottomRight;
    return ((A == nbGoDialog || B == nbGoDialog) && Arrow) ? 0 : 3;
  }

  bool Disabled(TcxPCNavigatorButton B) {
    return !FControl->GetEnabled() || FControl->ButtonState(B) == nbsDisabled;
  }

  void DrawNavigatorButton(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R) override {
    const int State = FControl->ButtonState(B);
    TRect Inner = R;
    if (State == nbsPressed || State == nbsHot) {
      const bool Sunken = State == nbsPressed;
      ACanvas->DrawTwoColorFrame(R, Sunken ? clBtnShadow : clBtnHighlight, Sunken ? clBtnHighlight : clBtnShadow);
      Inner = {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
    }
    ACanvas->FillRect(Inner, State == nbsPressed || State == nbsHot ? TColor(clBtnFace) : cxPCLightFaceColor());
    const bool Off = Disabled(B);
    const TColor Pen = Off ? TColor(clBtnShadow) : State == nbsPressed ? TColor(clBtnHighlight) : TColor(clBtnText);
    const bool Small = B == nbClose || Off;
    DrawFlatGlyph(ACanvas, B, R, ExtraFlatGlyphOffset(B), Small && B != nbClose ? cxPCLightFaceColor() : Pen, Pen);
  }

  TPoint ExtraFlatGlyphOffset(TcxPCNavigatorButton B) {
    const bool Hor = IsHorizontalStrip(FControl->GetTabPosition());
    const bool Pressed = FControl->ButtonState(B) == nbsPressed;
    switch (B) {
      case nbTopLeft: return Hor ? TPoint{5, 2} : TPoint{2, 5};
      case nbBottomRight: return Hor ? TPoint{3, 2} : TPoint{2, 3};
      case nbGoDialog: return {3, 4 + (Pressed ? 1 : 0)};
      default: return Hor ? TPoint{2, 3} : TPoint{3, 2};
    }
  }

  // The glyph box of a button (arrows 5 x 9 or 9 x 5, go dialog 7 x 4,
  // close 8 x 7 or 7 x 8) centred in it, halves rounded down.
  TPoint CentredGlyphOffset(TcxPCNavigatorButton B, const TRect& R) {
    const bool Hor = IsHorizontalStrip(FControl->GetTabPosition());
    const bool Pressed = FControl->ButtonState(B) == nbsPressed;
    TSize Box;
    switch (B) {
      case nbGoDialog: Box = {7, 4}; break;
      case nbClose: Box = Hor ? TSize{8, 7} : TSize{7, 8}; break;
      default: Box = Hor ? TSize{5, 9} : TSize{9, 5}; break;
    }
    TPoint P{(R.Width() - Box.cx) / 2, (R.Height() - Box.cy) / 2};
    if (B == nbGoDialog) ++P.Y;
    if (Pressed) {
      ++P.Y;
      if (B != nbGoDialog) ++P.X;
    }
    return P;
  }

  // A solid glyph at Offset from the button's top-left corner; the close
  // glyph in its small form.
  void DrawFlatGlyph(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R, TPoint Offset, TColor Brush,
                     TColor Pen) {
    const bool Hor = IsHorizontalStrip(FControl->GetTabPosition());
    const int X = R.Left + Offset.X, Y = R.Top + Offset.Y;
    if (B == nbClose) {
      std::vector<std::pair<TPoint, TPoint>> Lines;
      if (Hor)
        Lines = {{{X + 1, Y}, {X + 7, Y + 6}}, {{X, Y}, {X + 6, Y + 6}}, {{X, Y + 6}, {X + 6, Y}}, {{X + 1, Y + 6}, {X + 7, Y}}};
      else
        Lines = {{{X, Y}, {X + 6, Y + 6}}, {{X, Y + 1}, {X + 6, Y + 7}}, {{X, Y + 6}, {X + 6, Y}}, {{X, Y + 7}, {X + 6, Y + 1}}};
      for (auto& L : Lines) DrawPolylineWithEnd(ACanvas, Pen, {L.first, L.second});
      return;
    }
    const int A = B == nbGoDialog ? 4 : 5, S = A - 1;
    int Dir;  // 0 up, 1 down, 2 left, 3 right
    if (B == nbGoDialog) Dir = 1;
    else if (B == nbTopLeft) Dir = Hor ? 2 : 0;
    else Dir = Hor ? 3 : 1;
    static const TPoint Unit[4][3] = {{{0, 1}, {1, 0}, {2, 1}}, {{0, 0}, {2, 0}, {1, 1}}, {{0, 1}, {1, 0}, {1, 2}},
                                      {{0, 0}, {1, 1}, {0, 2}}};
    const TPoint* U = Unit[Dir];
    ACanvas->GetPen()->SetColor(Pen);
    ACanvas->SetBrushColor(Brush);
    ACanvas->Polygon({TPoint{X + U[0].X * S, Y + U[0].Y * S}, TPoint{X + U[1].X * S, Y + U[1].Y * S},
                      TPoint{X + U[2].X * S, Y + U[2].Y * S}});
  }
};

class TcxPCUltraFlatPainter : public TcxPCExtraFlatPainter {
public:
  using TcxPCExtraFlatPainter::TcxPCExtraFlatPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }

  void CurrentOutlineColors(int, TColor& Leading, TColor& Outer, TColor& Trailing) override {
    Leading = Outer = Trailing = clBlack;
  }
  void DrawPageFrame(TcxCanvas* ACanvas, const TRect& R, TcxBorders Sides) override {
    ACanvas->DrawTwoColorFrame(R, clBtnShadow, clBtnShadow, Sides);
  }
  std::vector<TColor> RowLineColors(int V) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    const int Cur = FControl->CurrentVisibleIndex();
    const bool CurrentRow = Cur >= 0 && FControl->VisibleTabs()->GetTab(Cur)->Row == T->Row;
    if (CurrentRow) return {clBtnFace, clBtnFace, TColor(clBlack)};
    return {clBtnFace, TColor(clBlack), clBtnFace};
  }
  TPoint GetSeparatorInsets(int) override { return {2, 2}; }

  int GetNavigatorButtonHeight() override { return 15; }
  int GetNavigatorButtonWidth(TcxPCNavigatorButton B) override {
    switch (B) {
      case nbGoDialog: return 11;
      case nbClose: return 14;
      default: return 15;
    }
  }
  int GetNavigatorEdgeOffset() override { return 3; }
  int Interval(TcxPCNavigatorButton A, TcxPCNavigatorButton B) override {
    return A == nbClose || B == nbClose ? 3 : 1;
  }

  void DrawNavigatorButton(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R) override {
    const int State = FControl->ButtonState(B);
    FillNavigatorFace(ACanvas, {R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, State);
    const TColor Frame = NavigatorFrameColor(B, State);
    ACanvas->DrawTwoColorFrame(R, Frame, Frame);
    const TColor Glyph = NavigatorGlyphColor(B, State);
    DrawFlatGlyph(ACanvas, B, R, CentredGlyphOffset(B, R), Glyph, Glyph);
  }
  virtual void FillNavigatorFace(TcxCanvas* ACanvas, const TRect& R, int State) {
    ACanvas->FillRect(R, State == nbsHot       ? TColor(clBtnFace)
                         : State == nbsPressed ? TColor(clBtnShadow)
                                               : cxPCLightFaceColor());
  }
  virtual TColor NavigatorFrameColor(TcxPCNavigatorButton, int State) {
    return State == nbsPressed || State == nbsHot ? TColor(clBlack) : TColor(clBtnShadow);
  }
  virtual TColor NavigatorGlyphColor(TcxPCNavigatorButton B, int State) {
    if (Disabled(B)) return clBtnShadow;
    return State == nbsHot ? TColor(clHotLight) : TColor(clBtnText);
  }
};

// Office 2003: the scheme's colours, as gradients when pcoGradient is set.
class TcxPCOffice11Painter : public TcxPCUltraFlatPainter {
public:
  using TcxPCUltraFlatPainter::TcxPCUltraFlatPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }

  virtual TColor GetBorderColor() { return Office11SchemeEntry(21); }
  int GetSeparatorMargin() override { return 1; }
  int GetSeparatorWidth() override { return 2; }
  TColor GetBackgroundColor() override { return GetBorderColor(); }

  bool Gradient() { return FControl->GetOptions().Contains(pcoGradient); }
  // A pair of scheme entries across the strip: from the top (or the left)
  // to the bottom (or the right); their half-and-half mix without gradients.
  void FillPair(TcxCanvas* ACanvas, const TRect& R, int First, int Second) {
    const TColor A = Office11SchemeEntry(First), B = Office11SchemeEntry(Second);
    if (!Gradient()) {
      ACanvas->FillRect(R, MixColors(A, B, 50));
      return;
    }
    FillGradientRect(ACanvas->GetDC(), R, A, B, !IsHorizontalStrip(FControl->GetTabPosition()));
  }

  TColor GetTabColor(int V) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    if (T->GetHighlighted() && !T->IsCurrent()) return clHighlight;
    if (T->IsCurrent()) return MixColors(Office11SchemeEntry(22), Office11SchemeEntry(23), 50);
    return MixColors(Office11SchemeEntry(0), Office11SchemeEntry(1), 50);
  }

  // The band's gradient spans the band, so a tab over it shows the part of
  // the gradient behind it.
  void FillTabBackground(TcxCanvas* ACanvas, const TRect& R, int V) override {
    TcxTab* T = V >= 0 ? FControl->VisibleTabs()->GetTab(V) : nullptr;
    if (T && T->GetHighlighted() && !T->IsCurrent()) {
      ACanvas->FillRect(R, clHighlight);
      return;
    }
    const bool Near = T ? T->DisplayRow < FControl->SplitRow() : true;
    TRect Span = T && T->IsCurrent() ? T->Bounds() : BandFor(T, Near);
    if (!T) Span = R;
    const int Saved = SaveDC(ACanvas->GetDC());
    ACanvas->IntersectClipRect(R);
    if (T && T->IsCurrent())
      FillPair(ACanvas, Span, 22, 23);
    else
      FillPair(ACanvas, Span, 0, 1);
    RestoreDC(ACanvas->GetDC(), Saved);
  }
  // The band a tab lies on: its row's across extent, the whole length.
  TRect BandFor(TcxTab* T, bool Near) {
    if (!T) return GetRowBandRect(Near);
    TRect R = GetRowBandRect(T->DisplayRow < FControl->SplitRow());
    const TRect L = T->LayoutRect();
    if (IsHorizontalStrip(FControl->GetTabPosition())) {
      R.Top = L.Top;
      R.Bottom = L.Bottom;
    } else {
      R.Left = L.Left;
      R.Right = L.Right;
    }
    return R;
  }

  void CurrentOutlineColors(int, TColor& Leading, TColor& Outer, TColor& Trailing) override {
    Leading = Outer = Trailing = GetBorderColor();
  }
  std::vector<TColor> RowLineColors(int) override { return {GetBorderColor()}; }
  TPoint GetSeparatorInsets(int Side) override { return Side == 0 || Side == 2 ? TPoint{0, 2} : TPoint{3, -1}; }
  void DrawSeparator(TcxCanvas* ACanvas, int V) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    const TRect R = SeparatorRect(V, 1, GetSeparatorInsets(T->Side()));
    ACanvas->FillRect(R, Office11SchemeEntry(14));
    const TRect L{R.Left + 1, R.Top + 1, R.Right + 1, R.Bottom + 1};
    ACanvas->FillRect(L, Office11SchemeEntry(15));
    ACanvas->ExcludeClipRect(R);
    ACanvas->ExcludeClipRect(L);
  }

  void DrawPageArea(TcxCanvas* ACanvas) override {
    const TRect F = GetFrameRect();
    if (HasTabs()) {
      const TRect S = GetPageStripRect();
      const int Side = StripSide(FControl);
      if (Gradient())
        ACanvas->FillRect(S, Office11SchemeEntry(Side == 1 || Side == 3 ? 22 : 23));
      else
        ACanvas->FillRect(S, MixColors(Office11SchemeEntry(22), Office11SchemeEntry(23), 50));
    }
    if (HasFrame()) DrawFrame(ACanvas);
    PaintPageArea(ACanvas);
    ACanvas->ExcludeClipRect(F);
  }
  void DrawFrame(TcxCanvas* ACanvas) override {
    const TRect D = GetDisplayRect();
    const TColor B = GetBorderColor();
    ACanvas->DrawTwoColorFrame({D.Left - 1, D.Top - 1, D.Right + 1, D.Bottom + 1}, B, B);
  }
  void AdjustDisplayOffsets(TRect& M) override {
    const bool Tabs = HasTabs();
    const TRect Strip = Tabs ? RotateMargins({0, 2, 0, 0}) : TRect{0, 0, 0, 0};
    M = {M.Left + Strip.Left, M.Top + Strip.Top, M.Right + Strip.Right, M.Bottom + Strip.Bottom};
    if (HasFrame()) M = {M.Left + 1, M.Top + 1, M.Right + 1, M.Bottom + 1};
  }
  void PaintPageArea(TcxCanvas* ACanvas) override {
    const TRect D = GetDisplayRect();
    if (auto* Page = dynamic_cast<TControl*>(FControl->GetActivePageControl());
        Page && FControl->CurrentVisibleIndex() >= 0 && !Page->GetParentColor()) {
      ACanvas->FillRect(D, Page->GetColor());
      return;
    }
    const TcxPCOptions O = FControl->GetOptions();
    if (O.Contains(pcoGradient) && O.Contains(pcoGradientClientArea))
      FillGradientRect(ACanvas->GetDC(), D, Office11SchemeEntry(0), Office11SchemeEntry(1), false);
    else
      ACanvas->FillRect(D, MixColors(Office11SchemeEntry(0), Office11SchemeEntry(1), 50));
  }
  TColor GetPageColor() override {
    return MixColors(Office11SchemeEntry(0), Office11SchemeEntry(1), 50);
  }
  bool NeedsRedrawOnResize() override {
    const TcxPCOptions O = FControl->GetOptions();
    return O.Contains(pcoGradient) && O.Contains(pcoGradientClientArea);
  }

  void FillNavigatorFace(TcxCanvas* ACanvas, const TRect& R, int State) override {
    if (State == nbsPressed) FillPair(ACanvas, R, 24, 25);
    else if (State == nbsHot) FillPair(ACanvas, R, 22, 23);
    else {
      // The band's gradient, aligned with the band.
      const int Saved = SaveDC(ACanvas->GetDC());
      ACanvas->IntersectClipRect(R);
      const bool Near = FControl->SplitRow() > 0;
      TRect Band = GetRowBandRect(Near);
      const int V = FControl->FirstShown();
      if (V >= 0 && V < FControl->VisibleTabs()->Count()) Band = BandFor(FControl->VisibleTabs()->GetTab(V), Near);
      FillPair(ACanvas, Band, 0, 1);
      RestoreDC(ACanvas->GetDC(), Saved);
    }
  }
  TColor NavigatorFrameColor(TcxPCNavigatorButton B, int) override {
    return Disabled(B) ? Office11SchemeEntry(31) : GetBorderColor();
  }
  TColor NavigatorGlyphColor(TcxPCNavigatorButton B, int) override {
    return Office11SchemeEntry(Disabled(B) ? 31 : 30);
  }
};

TcxPCPainterClassInfo FlatBandInfo(TcxPCStyleID ID, const char* Name, unsigned Codes,
                                   std::unique_ptr<TcxPCCustomPainter> (*Create)(TcxCustomTabControl*)) {
  TcxPCPainterClassInfo I;
  I.StyleID = ID;
  I.StyleName = Name;
  I.DefaultForStyleCodes = Codes;
  I.MirrorsContentOffsets = true;
  I.AllowsMultiSelect = false;
  I.ActiveRowNextToPage = true;
  I.TabsActAsButtons = false;
  I.Create = Create;
  return I;
}

const TcxPCPainterClassInfo TcxPCExtraFlatPainter::Info =
    FlatBandInfo(5, "ExtraFlat", 0, &MakePainter<TcxPCExtraFlatPainter>);
const TcxPCPainterClassInfo TcxPCUltraFlatPainter::Info =
    FlatBandInfo(6, "UltraFlat", 1u << 2, &MakePainter<TcxPCUltraFlatPainter>);
const TcxPCPainterClassInfo TcxPCOffice11Painter::Info =
    FlatBandInfo(8, "Office11", 1u << 4, &MakePainter<TcxPCOffice11Painter>);

}  // namespace

TcxPCPainterClass cxPCExtraFlatPainterClass() { return &TcxPCExtraFlatPainter::Info; }
TcxPCPainterClass cxPCUltraFlatPainterClass() { return &TcxPCUltraFlatPainter::Info; }
TcxPCPainterClass cxPCOffice11PainterClass() { return &TcxPCOffice11Painter::Info; }

TColor cxPCLightFaceColor() {
  static const TColor C = [] {
    const COLORREF F = ColorToRGB(clBtnFace);
    auto Up = [](int X) { return X + 20 > 235 ? 255 : X + 20; };
    return TColor(RGB(Byte(Up(GetRValue(F))), Byte(Up(GetGValue(F))), Byte(Up(GetBValue(F)))));
  }();
  return C;
}

TColor cxPCAdjustBrightness(TColor AColor, int APercent) {
  const COLORREF C = ColorToRGB(AColor);
  const int R = GetRValue(C), G = GetGValue(C), B = GetBValue(C);
  const int Max = std::max({R, G, B}), Min = std::min({R, G, B});
  if (Max == 0) return TColor(RGB(0, 0, 0));
  // Hue in degrees, saturation and brightness in percent.
  double Hue = 0;
  const double D = Max - Min;
  if (D > 0) {
    if (Max == R) Hue = 60.0 * (G - B) / D;
    else if (Max == G) Hue = 60.0 * (B - R) / D + 120;
    else Hue = 60.0 * (R - G) / D + 240;
    if (Hue < 0) Hue += 360;
  }
  const double Sat = 100.0 - Min * 100.0 / Max;
  double Bri = Max * 100.0 / 255 * (100 + APercent) / 100;
  if (Bri > 100) Bri = 100;
  if (Bri < 0) Bri = 0;
  // Back to RGB.
  const double V = Bri * 255 / 100, S = Sat / 100;
  const double Cc = V * S, X = Cc * (1 - std::abs(std::fmod(Hue / 60, 2) - 1)), M = V - Cc;
  double Rr = 0, Gg = 0, Bb = 0;
  if (Hue < 60) Rr = Cc, Gg = X;
  else if (Hue < 120) Rr = X, Gg = Cc;
  else if (Hue < 180) Gg = Cc, Bb = X;
  else if (Hue < 240) Gg = X, Bb = Cc;
  else if (Hue < 300) Rr = X, Bb = Cc;
  else Rr = Cc, Bb = X;
  auto Ch = [](double Z) { return std::clamp(int(std::lround(Z)), 0, 255); };
  return TColor(RGB(Byte(Ch(Rr + M)), Byte(Ch(Gg + M)), Byte(Ch(Bb + M))));
}
