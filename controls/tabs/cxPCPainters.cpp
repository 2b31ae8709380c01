#include "controls/tabs/cxPCPainters.h"

#include <algorithm>
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/Rects.h"
#include "platform/rtl/Exceptions.h"

namespace {

std::vector<TcxPCPainterClass>*& Registry() {
  static std::vector<TcxPCPainterClass>* R = nullptr;
  return R;
}

// Text is measured on a private bitmap, so a control without a window can
// lay out.
TcxCanvas* MeasureCanvas() {
  static TBitmap* B = [] {
    auto* X = new TBitmap;
    X->SetSize(1, 1);
    return X;
  }();
  static TcxCanvas C(B->Canvas());
  return &C;
}

bool Horizontal(TcxTabPosition P) { return P == tpTop || P == tpBottom; }

}  // namespace

// ===========================================================================
// The factory

void TcxPCPaintersFactory::RegisterTabPainterClass(TcxPCPainterClass AClass) {
  if (!Registry()) Registry() = new std::vector<TcxPCPainterClass>;
  auto& R = *Registry();
  if (std::find(R.begin(), R.end(), AClass) == R.end()) R.push_back(AClass);
}

void TcxPCPaintersFactory::UnregisterTabPainterClass(TcxPCPainterClass AClass) {
  if (!Registry()) return;
  auto& R = *Registry();
  R.erase(std::remove(R.begin(), R.end(), AClass), R.end());
  if (R.empty()) {
    delete Registry();
    Registry() = nullptr;
  }
}

bool TcxPCPaintersFactory::Exists() { return Registry() != nullptr; }
int TcxPCPaintersFactory::Count() { return Registry() ? int(Registry()->size()) : 0; }

TcxPCPainterClass TcxPCPaintersFactory::GetPainterClass(TcxPCStyleID AStyle) {
  if (!Registry()) return nullptr;
  for (TcxPCPainterClass C : *Registry())
    if (C->StyleID == AStyle) return C;
  return nullptr;
}

TcxPCStyleID TcxPCPaintersFactory::GetStyleForLookAndFeel(TcxLookAndFeel* ALookAndFeel) {
  if (!Registry() || !ALookAndFeel) return -1;
  TcxLookAndFeelPainterClass P = ALookAndFeel->GetPainterForThemeClass(totTab);
  const int Code = P ? P->GetStyleCode() : 1;
  auto& R = *Registry();
  for (auto It = R.rbegin(); It != R.rend(); ++It)
    if ((*It)->DefaultForStyleCodes & (1u << Code)) return (*It)->StyleID;
  return -1;
}

TcxPCStyleID TcxPCPaintersFactory::GetDefaultStyleID(TcxLookAndFeel* ALookAndFeel) {
  if (!Registry() || Registry()->empty())
    throw Exception("TcxPCPaintersFactory.GetDefaultStyleID: There are no styles registered");
  auto& R = *Registry();
  const bool Native = ALookAndFeel && ALookAndFeel->GetNativeStyle();
  for (auto It = R.rbegin(); It != R.rend(); ++It)
    if ((*It)->FallbackWhenNative && Native) return (*It)->StyleID;
  return R.front()->StyleID;
}

std::unique_ptr<TcxPCCustomPainter> TcxPCPaintersFactory::GetPainterInstance(TcxPCPainterClass AClass,
                                                                             TcxCustomTabControl* AControl) {
  if (!AClass) throw Exception("TcxPCPaintersFactory.GetPainterInstance: PCPainterClass is nil");
  return AClass->Create(AControl);
}

// ===========================================================================
// TcxPCCustomPainter

TRect TcxPCCustomPainter::RotateMargins(const TRect& M) const {
  switch (FControl->GetTabPosition()) {
    case tpBottom: return {M.Right, M.Bottom, M.Left, M.Top};
    case tpLeft: return {M.Top, M.Right, M.Bottom, M.Left};
    case tpRight: return {M.Bottom, M.Left, M.Top, M.Right};
    default: return M;
  }
}

bool TcxPCCustomPainter::HasFrame() { return FControl->GetShowFrame(); }

void TcxPCCustomPainter::GetFrameRectOffsets(TRect& Margins) {
  Margins = {0, 0, 0, 0};
  if (FControl->GetHideTabs() || FControl->RowCount() == 0) return;
  const TRect& Near = FControl->NearGroupRect();
  const TRect& Far = FControl->FarGroupRect();
  const int W = FControl->GetWidth(), H = FControl->GetHeight();
  int TabSide = 0, Opposite = 0;
  const bool NearHolds = FControl->SplitRow() > 0, FarHolds = FControl->SplitRow() < FControl->RowCount();
  switch (FControl->GetTabPosition()) {
    case tpTop:
      TabSide = NearHolds ? Near.Bottom : 0;
      Opposite = FarHolds ? H - Far.Top : 0;
      break;
    case tpBottom:
      TabSide = FarHolds ? H - Far.Top : 0;
      Opposite = NearHolds ? Near.Bottom : 0;
      break;
    case tpLeft:
      TabSide = NearHolds ? Near.Right : 0;
      Opposite = FarHolds ? W - Far.Left : 0;
      break;
    case tpRight:
      TabSide = FarHolds ? W - Far.Left : 0;
      Opposite = NearHolds ? Near.Right : 0;
      break;
  }
  // Written for a strip above the page, then turned.
  Margins = RotateMargins({0, TabSide, 0, Opposite});
}

void TcxPCCustomPainter::GetDisplayRectOffsets(TRect& Margins) {
  GetFrameRectOffsets(Margins);
  if (HasFrame()) {
    const int F = GetFrameWidth();
    Margins = {Margins.Left + F, Margins.Top + F, Margins.Right + F, Margins.Bottom + F};
  }
}

namespace {
TRect Deflated(int W, int H, const TRect& M) {
  TRect R{M.Left, M.Top, W - M.Right, H - M.Bottom};
  if (R.Right < R.Left) R.Right = R.Left;
  if (R.Bottom < R.Top) R.Bottom = R.Top;
  return R;
}
}  // namespace

TRect TcxPCCustomPainter::GetDisplayRect() {
  TRect M;
  GetDisplayRectOffsets(M);
  return Deflated(FControl->GetWidth(), FControl->GetHeight(), M);
}

TRect TcxPCCustomPainter::GetFrameRect() {
  TRect M;
  GetFrameRectOffsets(M);
  return Deflated(FControl->GetWidth(), FControl->GetHeight(), M);
}

void TcxPCCustomPainter::InvalidateArea(const TRect& R) {
  if (FControl->HandleAllocated()) FControl->InvalidateArea(R, false);
}

void TcxPCCustomPainter::InvalidateTab(int V) {
  if (V >= 0 && V < FControl->VisibleTabs()->Count()) InvalidateArea(FControl->VisibleTabs()->GetTab(V)->DisplayRect());
}

void TcxPCCustomPainter::DrawPolylineWithEnd(TcxCanvas* ACanvas, TColor AColor, const std::vector<TPoint>& P) {
  if (P.empty()) return;
  ACanvas->GetPen()->SetColor(AColor);
  ACanvas->MoveTo(P[0].X, P[0].Y);
  for (size_t I = 1; I < P.size(); ++I) ACanvas->LineTo(P[I].X, P[I].Y);
  const TPoint& E = P.back();
  ACanvas->MoveTo(E.X, E.Y);
  ACanvas->LineTo(E.X + 1, E.Y + 1);
}

int TcxPCCustomPainter::GetMaxTextHeight() {
  TcxCanvas* C = MeasureCanvas();
  int H = 0;
  TcxVisibleTabList* VT = FControl->VisibleTabs();
  for (int V = 0; V < VT->Count(); ++V) {
    FControl->PrepareTabFont(VT->GetTab(V), C);
    H = std::max(H, C->TextHeight("Zg"));
  }
  if (VT->Count() == 0) {
    C->GetFont()->Assign(FControl->GetFont());
    H = C->TextHeight("Zg");
  }
  return H;
}

TSize TcxPCCustomPainter::GetImageSize() const {
  TCustomImageList* I = FControl->GetImages();
  if (!I || I->GetWidth() <= 0 || I->GetHeight() <= 0) return {0, 0};
  return {I->GetWidth(), I->GetHeight()};
}

bool TcxPCCustomPainter::HasImage(int V) const {
  return GetImageSize().cx > 0 && FControl->GetTabImageIndex(FControl->VisibleTabs()->GetTab(V)->Index()) >= 0;
}

bool TcxPCCustomPainter::IsOwnerDrawn() const { return FControl->GetOwnerDraw() && FControl->OnDrawTab.Assigned(); }

bool TcxPCCustomPainter::DoOwnerDraw(int V) {
  bool DefaultDraw = true;
  FControl->OnDrawTab(FControl, FControl->VisibleTabs()->GetTab(V), DefaultDraw);
  return !DefaultDraw;
}

TColor TcxPCCustomPainter::GetPageColor() {
  const int V = FControl->CurrentVisibleIndex();
  if (V >= 0) {
    if (auto* Page = dynamic_cast<TControl*>(FControl->GetActivePageControl())) return Page->GetColor();
  }
  return FControl->GetColor();
}

TColor TcxPCCustomPainter::GetTabTextColor(int V) {
  TcxTab* T = FControl->VisibleTabs()->GetTab(V);
  if (T->GetHighlighted()) return clHighlightText;
  if (T->IsHot()) return clHotLight;
  return clBtnText;
}

void TcxPCCustomPainter::PaintContent(TcxCanvas* ACanvas) {
  if (!FControl->GetHideTabs()) {
    DrawNavigatorButtons(ACanvas);
    DrawTabs(ACanvas);
  }
  DrawPageArea(ACanvas);
}

void TcxPCCustomPainter::PaintPageArea(TcxCanvas* ACanvas) { ACanvas->FillRect(GetDisplayRect(), GetPageColor()); }

void TcxPCCustomPainter::DrawPageArea(TcxCanvas* ACanvas) {
  if (HasFrame()) DrawFrame(ACanvas);
  PaintPageArea(ACanvas);
  ACanvas->ExcludeClipRect(GetFrameRect());
}

void TcxPCCustomPainter::CalculateTabImageAndTextRects(TcxCanvas* ACanvas, int V, AnsiString& Caption) {
  TcxTab* T = FControl->VisibleTabs()->GetTab(V);
  const TRect B = T->Bounds();
  const bool Vertical = FControl->IsVerticalText();
  const int W0 = Vertical ? B.Height() : B.Width();
  const int H = Vertical ? B.Width() : B.Height();
  const TSize Img = GetImageSize();
  const bool Image = HasImage(V);
  Caption = T->GetCaption();
  int ImagePart = Image ? Img.cx + 2 * FControl->GetImageBorder() + (Caption.empty() ? 0 : GetImageTextDistance()) : 0;
  TPoint Insets;
  GetTabContentOffsets(V, Insets);
  int W = W0 - Insets.X - Insets.Y;
  TRect Calc{0, 0, 0, 0};
  if (!Caption.empty()) ACanvas->MeasureTextRect(Caption, Calc, cxSingleLine | cxShowPrefix);
  const bool Cut = W - ImagePart < Calc.Width();
  if (Cut) {
    GetTabContentOffsetsWhenCut(V, Insets);
    W = W0 - Insets.X - Insets.Y;
  }
  int TextW = Calc.Width(), TextH = Calc.Height();
  if (Cut && !Caption.empty()) {
    TRect Fit{0, 0, std::max(0, W - ImagePart), H};
    AnsiString Copy = Caption;
    ACanvas->MeasureTextRect(Copy, Fit, cxSingleLine | cxShowPrefix | cxShowEndEllipsis);
    TextW = std::min(Fit.Width(), std::max(0, W - ImagePart));
    if (W - ImagePart <= 0) TextW = 0;
  }
  if (TextH > H) TextH = 0;
  int Pos = Insets.X;
  if (!Cut && !(Image && FControl->GetRotate())) Pos += (W - (ImagePart + TextW)) / 2;
  TRect ImageOffsets, TextOffsets;
  GetTabImageOffsets(V, ImageOffsets);
  GetTabTextOffsets(V, TextOffsets);
  // Along / across in text coordinates, mapped to the tab afterwards.
  auto Place = [&](int Along, int Len, int Across, int Thick) -> TRect {
    if (!Vertical) return {B.Left + Along, B.Top + Across, B.Left + Along + Len, B.Top + Across + Thick};
    if (FControl->TextDirection() == 1)  // bottom-to-top: along runs upwards
      return {B.Left + Across, B.Bottom - Along - Len, B.Left + Across + Thick, B.Bottom - Along};
    return {B.Right - Across - Thick, B.Top + Along, B.Right - Across, B.Top + Along + Len};
  };
  LastImageRect = {0, 0, 0, 0};
  if (Image) {
    const int Top = (H + ImageOffsets.Top - ImageOffsets.Bottom - Img.cy) / 2;
    LastImageRect = Place(Pos + FControl->GetImageBorder(), Img.cx, Top, Img.cy);
    Pos += ImagePart;
  }
  if (Image && FControl->GetRotate() && !Cut) Pos += (W0 - Insets.Y - Pos - TextW) / 2;
  const int Top = (H + TextOffsets.Top - TextOffsets.Bottom - TextH) / 2;
  LastTextRect = Place(Pos, TextW, Top, TextH);
}

void TcxPCCustomPainter::FillTabContentBackground(TcxCanvas* ACanvas, const TRect& R, int V) {
  ACanvas->FillRect(R, GetTabColor(V));
}

void TcxPCCustomPainter::DrawTabImageAndText(TcxCanvas* ACanvas, int V) {
  TcxTab* T = FControl->VisibleTabs()->GetTab(V);
  FControl->PrepareTabFont(T, ACanvas);
  AnsiString Caption;
  CalculateTabImageAndTextRects(ACanvas, V, Caption);
  const bool Enabled = T->RealEnabled();
  if (HasImage(V) && !LastImageRect.IsEmpty()) {
    TBitmap Bmp;
    Bmp.SetSize(GetImageSize().cx, GetImageSize().cy);
    TcxCanvas BC(Bmp.Canvas());
    BC.FillRect({0, 0, Bmp.GetWidth(), Bmp.GetHeight()}, GetTabColor(V));
    FControl->GetImages()->Draw(Bmp.Canvas(), 0, 0, FControl->GetTabImageIndex(T->Index()), Enabled);
    if (FControl->IsVerticalText()) TcxCanvas::TurnBitmap(&Bmp, FControl->TextDirection() == 1 ? 1 : 2, false);
    ACanvas->Draw(LastImageRect.Left, LastImageRect.Top, &Bmp);
  }
  if (!Caption.empty() && !LastTextRect.IsEmpty()) {
    ACanvas->GetBrush()->SetStyle(bsClear);
    SetBkMode(ACanvas->GetDC(), TRANSPARENT);
    if (!FControl->IsVerticalText()) {
      // One pixel more for the embossed copy of a disabled caption.
      TRect R = LastTextRect;
      ++R.Right;
      ++R.Bottom;
      FillTabContentBackground(ACanvas, R, V);
      ACanvas->GetBrush()->SetStyle(bsClear);
      ACanvas->DrawTextWithFlags(Caption, R, cxSingleLine | cxShowPrefix | cxShowEndEllipsis | cxAlignLeft, Enabled);
    } else {
      // Vertical captions go through a bitmap drawn level and turned.
      TRect R = LastTextRect;
      ++R.Right;
      ++R.Bottom;
      TBitmap Bmp;
      Bmp.SetPixelFormat(pf32bit);
      Bmp.SetSize(R.Height(), R.Width());
      TcxCanvas BC(Bmp.Canvas());
      BC.FillRect({0, 0, R.Height(), R.Width()}, GetTabColor(V));
      BC.GetFont()->Assign(ACanvas->GetFont());
      BC.GetBrush()->SetStyle(bsClear);
      SetBkMode(BC.GetDC(), TRANSPARENT);
      BC.DrawTextWithFlags(Caption, {0, 0, R.Height(), R.Width()}, cxSingleLine | cxShowPrefix | cxShowEndEllipsis,
                           Enabled);
      TcxCanvas::TurnBitmap(&Bmp, FControl->TextDirection() == 1 ? 1 : 2, false);
      ACanvas->Draw(R.Left, R.Top, &Bmp);
    }
    ACanvas->GetBrush()->SetStyle(bsSolid);
  }
  // The frame and background drawn next leave the content alone.
  if (!LastTextRect.IsEmpty())
    ACanvas->ExcludeClipRect({LastTextRect.Left, LastTextRect.Top, LastTextRect.Right + 1, LastTextRect.Bottom + 1});
  if (!LastImageRect.IsEmpty()) ACanvas->ExcludeClipRect(LastImageRect);
}

// ===========================================================================
// TcxPCStandardPainter

int TcxPCStandardPainter::GetTabMinHeight() { return Kind() == 0 ? 18 : 20; }

int TcxPCStandardPainter::GetTabContentHeight() {
  int H = GetMaxTextHeight() + 8;
  const TSize I = GetImageSize();
  if (I.cy > 0) H = std::max(H, I.cy + 2 * FControl->GetImageBorder() + 6);
  if (Kind() == 0) H -= FControl->GetRotate() ? 2 : 3;
  return H;
}

int TcxPCStandardPainter::CalculateTabNormalHeight() {
  int H = std::max(GetTabContentHeight(), GetTabMinHeight());
  return std::max<int>(H, FControl->GetTabHeight());
}

int TcxPCStandardPainter::GetTabMinWidth() {
  const TSize I = GetImageSize();
  const int ImagePart = I.cx > 0 ? I.cx + 2 * FControl->GetImageBorder() + 6 : 0;
  return std::max(42, 12 + ImagePart);
}

int TcxPCStandardPainter::CalculateTabNormalWidth(TcxTab* ATab) {
  if (FControl->GetTabWidth() > 0) return FControl->GetTabWidth();
  TcxCanvas* C = MeasureCanvas();
  FControl->PrepareTabFont(ATab, C);
  int W = 12;
  if (!ATab->GetCaption().empty()) {
    TRect R{0, 0, 0, 0};
    C->MeasureTextRect(ATab->GetCaption(), R, cxSingleLine | cxShowPrefix);
    W += R.Width();
  }
  const TSize I = GetImageSize();
  if (I.cx > 0) W += I.cx + 2 * FControl->GetImageBorder() + 6;
  return std::max(GetTabMinWidth(), W);
}

TPoint TcxPCStandardPainter::GetTabsSpacing() {
  switch (Kind()) {
    case 1: return {3, 3};
    case 2: return {10, 3};
    default: return {0, 0};
  }
}

void TcxPCStandardPainter::GetTabContentOffsets(int V, TPoint& Pair) {
  const bool Raised = IsTabRaised(V);
  switch (Kind()) {
    case 1: Pair = HasImage(V) ? TPoint{2, 3} : TPoint{3, 3}; break;
    case 2: Pair = {2, 3}; break;
    default:
      Pair = Raised ? (FControl->GetRotate() ? TPoint{3, 4} : TPoint{4, 4}) : TPoint{2, 2};
      if (FControl->RowCount() > 0) {
        const int K = FControl->VisibleTabs()->GetTab(V)->DrawKind();
        if (K == 3 || K == 6 || K == 11) std::swap(Pair.X, Pair.Y);
      }
  }
}

void TcxPCStandardPainter::GetTabContentOffsetsWhenCut(int V, TPoint& Pair) {
  const bool Raised = IsTabRaised(V);
  switch (Kind()) {
    case 1: Pair = {3, 3}; break;
    case 2: Pair = Raised ? TPoint{3, 2} : TPoint{2, 2}; break;
    default: Pair = Raised ? TPoint{4, 4} : TPoint{2, 2};
  }
}

void TcxPCStandardPainter::GetTabImageOffsets(int V, TRect& M) {
  M = Kind() == 0 ? TRect{0, 1, 0, IsTabRaised(V) ? 3 : 0} : TRect{0, -1, 0, 1};
}

void TcxPCStandardPainter::GetTabTextOffsets(int V, TRect& M) {
  M = Kind() == 0 ? TRect{0, 1, 0, IsTabRaised(V) ? 2 : -1} : TRect{0, 0, 0, 1};
}

bool TcxPCStandardPainter::IsTabRaised(int V) {
  TcxTab* T = FControl->VisibleTabs()->GetTab(V);
  switch (Kind()) {
    case 1: return T->IsFocused() || T->IsPressed() || T->GetSelected() || T->IsCurrent();
    case 2: return !T->IsFocused() && (T->IsPressed() || T->GetSelected() || T->IsCurrent());
    default: return T->IsCurrent();
  }
}

TColor TcxPCStandardPainter::GetTabColor(int V) {
  TcxTab* T = FControl->VisibleTabs()->GetTab(V);
  if (T->GetHighlighted() && T->RealEnabled()) return clHighlight;
  if (Kind() != 0 && T->IsCurrent()) return clBtnHighlight;
  return clBtnFace;
}

TColor TcxPCStandardPainter::GetBackgroundColor() { return FControl->GetColor(); }

int TcxPCStandardPainter::GetNavigatorButtonWidth(TcxPCNavigatorButton B) {
  if (B == nbGoDialog) return Horizontal(FControl->GetTabPosition()) ? 12 : 13;
  return 20;
}

std::vector<TcxPCNavigatorButton> TcxPCStandardPainter::GetNavigatorButtonsQueue(TcxPCNavigatorButtons Buttons) const {
  const TcxPCNavigatorPosition NP = FControl->GetNavigatorPosition();
  const bool AtStart = Horizontal(FControl->GetTabPosition()) ? (NP == npLeftTop || NP == npLeftBottom)
                                                              : (NP == npLeftTop || NP == npRightTop);
  std::vector<TcxPCNavigatorButton> Order =
      AtStart ? std::vector<TcxPCNavigatorButton>{nbClose, nbTopLeft, nbBottomRight, nbGoDialog}
              : std::vector<TcxPCNavigatorButton>{nbGoDialog, nbTopLeft, nbBottomRight, nbClose};
  std::vector<TcxPCNavigatorButton> Q;
  for (TcxPCNavigatorButton B : Order)
    if (Buttons.Contains(B)) Q.push_back(B);
  return Q;
}

void TcxPCStandardPainter::CalculateTabsArea(TcxPCNavigatorButtons Buttons, TcxPCTabsArea& Area) {
  TRect M;
  GetControlMargins(M);
  M = RotateMargins(M);
  const int W = FControl->GetWidth(), H = FControl->GetHeight();
  // The rectangle keeps the margins (the current tab of some styles grows
  // into them); the row itself starts and ends inside them.
  TRect R{0, 0, W, H};
  const auto Q = GetNavigatorButtonsQueue(Buttons);
  int NavLength = 0;
  for (size_t I = 0; I < Q.size(); ++I) NavLength += GetNavigatorButtonWidth(Q[I]) + (I ? GetNavigatorButtonsInterval() : 0);
  const TcxPCNavigatorPosition NP = FControl->GetNavigatorPosition();
  const TcxTabPosition TP = FControl->GetTabPosition();
  const bool Hor = Horizontal(TP);
  const bool NavAtEnd = Hor ? (NP == npRightTop || NP == npRightBottom) : (NP == npLeftBottom || NP == npRightBottom);
  const int BH = GetNavigatorButtonHeight();
  // The navigator area, at the control's edge on the strip's side.
  TRect Nav;
  if (Hor) {
    const int Left = NavAtEnd ? W - NavLength : 0;
    const int Top = TP == tpTop ? 0 : H - BH;
    Nav = {Left, Top, Left + NavLength, Top + BH};
    if (NavLength > 0) {
      if (NavAtEnd)
        R.Right = std::min(R.Right, Nav.Left);
      else
        R.Left = std::max(R.Left, Nav.Right);
    }
  } else {
    const int Top = NavAtEnd ? H - NavLength : 0;
    const int Left = TP == tpLeft ? 0 : W - BH;
    Nav = {Left, Top, Left + BH, Top + NavLength};
    if (NavLength > 0) {
      if (NavAtEnd)
        R.Bottom = std::min(R.Bottom, Nav.Top);
      else
        R.Top = std::max(R.Top, Nav.Bottom);
    }
  }
  if (R.Right < R.Left) R.Right = R.Left;
  if (R.Bottom < R.Top) R.Bottom = R.Top;
  TRect Inner{R.Left + M.Left, R.Top + M.Top, R.Right - M.Right, R.Bottom - M.Bottom};
  if (NavLength > 0) {
    // The navigator's side of the row has no margin of its own.
    if (Hor && NavAtEnd) Inner.Right = R.Right;
    if (Hor && !NavAtEnd) Inner.Left = R.Left;
    if (!Hor && NavAtEnd) Inner.Bottom = R.Bottom;
    if (!Hor && !NavAtEnd) Inner.Top = R.Top;
  }
  if (Inner.Right < Inner.Left) Inner.Right = Inner.Left;
  if (Inner.Bottom < Inner.Top) Inner.Bottom = Inner.Top;
  Area.Rect = R;
  Area.NearOffset = Area.FarOffset = 0;
  Area.RowSpacing = GetTabsSpacing().Y;
  Area.Length = Hor ? Inner.Width() : Inner.Height();
  Area.Start = {Inner.Left, Inner.Top};
  Area.End = {Inner.Right, Inner.Bottom};
  FButtonRects.clear();
  int P = Hor ? Nav.Left : Nav.Top;
  for (TcxPCNavigatorButton B : Q) {
    const int Len = GetNavigatorButtonWidth(B);
    FButtonRects.push_back({B, Hor ? TRect{P, Nav.Top, P + Len, Nav.Bottom} : TRect{Nav.Left, P, Nav.Right, P + Len}});
    P += Len + GetNavigatorButtonsInterval();
  }
}

TRect TcxPCStandardPainter::NavigatorButtonRect(TcxPCNavigatorButton B) const {
  for (auto& [X, R] : FButtonRects)
    if (X == B) return R;
  return {0, 0, 0, 0};
}

bool TcxPCStandardPainter::GetNavigatorButtonAt(int X, int Y, TcxPCNavigatorButton& Button) {
  if (FControl->GetHideTabs()) return false;
  for (auto& [B, R] : FButtonRects)
    if (FControl->ShownButtons().Contains(B) && R.Contains({X, Y})) {
      Button = B;
      return true;
    }
  return false;
}

TRect TcxPCStandardPainter::GetGoDialogButtonBounds() {
  return FControl->ShownButtons().Contains(nbGoDialog) ? NavigatorButtonRect(nbGoDialog) : TRect{0, 0, 0, 0};
}

void TcxPCStandardPainter::Paint(TcxCanvas* ACanvas) {
  ACanvas->FillRect({0, 0, FControl->GetWidth(), FControl->GetHeight()}, GetBackgroundColor());
  PaintContent(ACanvas);
}

void TcxPCStandardPainter::DrawTab(TcxCanvas* ACanvas, int V) {
  TcxTab* T = FControl->VisibleTabs()->GetTab(V);
  const TRect R = T->DisplayRect();
  if (R.IsEmpty()) return;
  // Only the current tab reaches into the page frame; the others stop at
  // its line, which stays the frame's.
  TRect Clip = R;
  if (!T->IsCurrent()) {
    const TRect F = GetFrameRect();
    switch (T->Side()) {
      case 0: Clip.Bottom = std::min(Clip.Bottom, F.Top); break;
      case 1: Clip.Top = std::max(Clip.Top, F.Bottom); break;
      case 2: Clip.Right = std::min(Clip.Right, F.Left); break;
      default: Clip.Left = std::max(Clip.Left, F.Right); break;
    }
    if (Clip.IsEmpty()) return;
  }
  const int Saved = SaveDC(ACanvas->GetDC());
  ACanvas->IntersectClipRect(Clip);
  if (!(IsOwnerDrawn() && DoOwnerDraw(V))) {
    DrawTabImageAndText(ACanvas, V);
    DrawTabFrame(ACanvas, V);
  }
  RestoreDC(ACanvas->GetDC(), Saved);
  ACanvas->ExcludeClipRect(Clip);
}

void TcxPCStandardPainter::DrawTabs(TcxCanvas* ACanvas) {
  TcxCustomTabControl* C = FControl;
  const int N = C->VisibleTabs()->Count();
  const int From = C->GetMultiLine() ? 0 : std::max(0, C->FirstShown());
  const int To = C->GetMultiLine() ? N - 1 : C->LastShown();
  // The current tab first, so that it stays above its neighbours.
  const int Cur = C->CurrentVisibleIndex();
  if (Cur >= From && Cur <= To) DrawTab(ACanvas, Cur);
  for (int V = From; V <= To && V < N; ++V)
    if (V != Cur) DrawTab(ACanvas, V);
}

void TcxPCStandardPainter::DrawNavigatorButtons(TcxCanvas* ACanvas) {
  for (auto& [B, R] : FButtonRects) {
    if (!FControl->ShownButtons().Contains(B) || R.IsEmpty()) continue;
    const int Saved = SaveDC(ACanvas->GetDC());
    ACanvas->IntersectClipRect(R);
    DrawNavigatorButton(ACanvas, B, R);
    RestoreDC(ACanvas->GetDC(), Saved);
    ACanvas->ExcludeClipRect(R);
  }
}

void TcxPCStandardPainter::DrawNavigatorButton(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R) {
  const int State = FControl->ButtonState(B);
  ACanvas->Draw3DEdgeRing(R, State == nbsPressed, true);
  TRect Inner{R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1};
  ACanvas->Draw3DEdgeRing(Inner, State == nbsPressed, false);
  Inner = {R.Left + 2, R.Top + 2, R.Right - 2, R.Bottom - 2};
  ACanvas->FillRect(Inner, clBtnFace);
  DrawGlyph(ACanvas, B, R);
}

void TcxPCStandardPainter::DrawGlyph(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R) {
  const int State = FControl->ButtonState(B);
  const bool Hor = Horizontal(FControl->GetTabPosition());
  const bool Pressed = State == nbsPressed;
  auto Draw = [&](int Dx, int Dy, TColor Color) {
    ACanvas->GetPen()->SetColor(Color);
    ACanvas->SetBrushColor(Color);
    if (B == nbClose) {
      const int X = R.Left + (R.Width() - 9) / 2 + Dx, Y = R.Top + (R.Height() - 9) / 2 + Dy;
      for (auto& L : std::vector<std::pair<TPoint, TPoint>>{{{X + 1, Y}, {X + 8, Y + 7}},
                                                            {{X, Y}, {X + 8, Y + 8}},
                                                            {{X, Y + 1}, {X + 7, Y + 8}},
                                                            {{X, Y + 7}, {X + 7, Y}},
                                                            {{X, Y + 8}, {X + 8, Y}},
                                                            {{X + 1, Y + 8}, {X + 8, Y + 1}}})
        DrawPolylineWithEnd(ACanvas, Color, {L.first, L.second});
      return;
    }
    const int A = B == nbGoDialog ? 4 : 5;
    const int S = A - 1;
    // The unit triangle's points for each direction.
    int Dir;  // 0 up, 1 down, 2 left, 3 right
    if (B == nbGoDialog)
      Dir = 1;
    else if (B == nbTopLeft)
      Dir = Hor ? 2 : 0;
    else
      Dir = Hor ? 3 : 1;
    static const TPoint Unit[4][3] = {{{0, 1}, {1, 0}, {2, 1}}, {{0, 0}, {2, 0}, {1, 1}}, {{0, 1}, {1, 0}, {1, 2}},
                                      {{0, 0}, {1, 1}, {0, 2}}};
    const int BoxW = (Dir < 2) ? 2 * A - 1 : A, BoxH = (Dir < 2) ? A : 2 * A - 1;
    const int X = R.Left + (R.Width() - BoxW) / 2 + Dx + (Pressed && B != nbGoDialog ? 1 : 0);
    const int Y = R.Top + (R.Height() - BoxH) / 2 + Dy + (B == nbGoDialog ? 1 : 0) + (Pressed ? 1 : 0);
    const TPoint* U = Unit[Dir];
    ACanvas->Polygon({TPoint{X + U[0].X * S, Y + U[0].Y * S}, TPoint{X + U[1].X * S, Y + U[1].Y * S},
                      TPoint{X + U[2].X * S, Y + U[2].Y * S}});
  };
  if (State == nbsDisabled) {
    Draw(1, 1, clBtnHighlight);
    Draw(0, 0, clBtnShadow);
  } else {
    Draw(0, 0, State == nbsHot ? clHotLight : clBtnText);
  }
}

void TcxPCStandardPainter::DrawFrameBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->DrawTwoColorFrame(R, clBtnHighlight, cl3DDkShadow);
  ACanvas->DrawTwoColorFrame({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, cl3DLight, clBtnShadow);
}

void TcxPCStandardPainter::DrawFrame(TcxCanvas* ACanvas) {
  TRect R = GetFrameRect();
  const int Min = 2 * GetFrameWidth();
  if (R.Width() < Min) R.Right = R.Left + Min;
  if (R.Height() < Min) R.Bottom = R.Top + Min;
  DrawFrameBorder(ACanvas, R);
}

void TcxPCStandardPainter::RepaintNavigatorButton(TcxPCNavigatorButton B, int) {
  InvalidateArea(NavigatorButtonRect(B));
}

void TcxPCStandardPainter::RepaintTab(int V, TcxTabChangeKind) { InvalidateTab(V); }

// ===========================================================================
// The classic styles

namespace {

class TcxPCTabsPainter : public TcxPCStandardPainter {
public:
  using TcxPCStandardPainter::TcxPCStandardPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }
  bool HasFrame() override { return true; }

  void GetTabBoundsAdjustment(int V, TRect& O) override {
    O = {0, 0, 0, 0};
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    if (!T->IsCurrent()) return;
    switch (T->Side()) {
      case 0: O = {-2, -2, 2, 1}; break;
      case 1: O = {-2, -1, 2, 2}; break;
      case 2: O = {-2, -2, 1, 2}; break;
      default: O = {-1, -2, 2, 2}; break;
    }
  }

  void GetFrameRectOffsets(TRect& M) override {
    TcxPCStandardPainter::GetFrameRectOffsets(M);
    if (FControl->GetHideTabs() || FControl->RowCount() == 0) return;
    // The frame line at the tab side lies under the tabs' last line.
    switch (FControl->GetTabPosition()) {
      case tpTop: M.Top = std::max(0, M.Top - 1); break;
      case tpBottom: M.Bottom = std::max(0, M.Bottom - 1); break;
      case tpLeft: M.Left = std::max(0, M.Left - 1); break;
      case tpRight: M.Right = std::max(0, M.Right - 1); break;
    }
  }

protected:
  void GetControlMargins(TRect& M) override { M = {2, 2, 2, 0}; }

  void DrawTabFrame(TcxCanvas* C, int V) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    const TRect B = T->Bounds();
    const int L = B.Left, Tp = B.Top, R = B.Right, Bt = B.Bottom;
    C->FillRect({L + 2, Tp + 2, R - 2, Bt - 2}, GetTabColor(V));
    const int Side = T->Side();
    if (!T->IsCurrent()) {
      const TColor Face = FControl->GetColor();
      switch (Side) {
        case 0: C->FillRect({L, Bt - 2, R, Bt}, Face); break;
        case 1: C->FillRect({L, Tp, R, Tp + 2}, Face); break;
        case 2: C->FillRect({R - 2, Tp, R, Bt}, Face); break;
        default: C->FillRect({L, Tp, L + 2, Bt}, Face); break;
      }
    }
    // The rest of the inner ring.
    switch (Side) {
      case 0: C->FillRect({L + 2, Tp + 2, R - 2, Bt}, GetTabColor(V)); break;
      case 1: C->FillRect({L + 2, Tp, R - 2, Bt - 2}, GetTabColor(V)); break;
      case 2: C->FillRect({L + 2, Tp + 2, R, Bt - 2}, GetTabColor(V)); break;
      default: C->FillRect({L, Tp + 2, R - 2, Bt - 2}, GetTabColor(V)); break;
    }
    auto P = [&](TColor Col, std::vector<TPoint> Pts) { DrawPolylineWithEnd(C, Col, Pts); };
    switch (Side) {
      case 0:
        P(clBtnHighlight, {{L, Bt - 1}, {L, Tp + 2}, {L + 2, Tp}, {R - 3, Tp}});
        P(cl3DLight, {{L + 1, Bt - 1}, {L + 1, Tp + 2}, {L + 2, Tp + 1}, {R - 3, Tp + 1}});
        P(cl3DDkShadow, {{R - 1, Bt - 1}, {R - 1, Tp + 2}, {R - 2, Tp + 1}});
        P(clBtnShadow, {{R - 2, Bt - 1}, {R - 2, Tp + 2}});
        break;
      case 1:
        P(clBtnHighlight, {{L, Tp}, {L, Bt - 3}, {L + 1, Bt - 2}});
        P(cl3DLight, {{L + 1, Tp}, {L + 1, Bt - 3}});
        P(cl3DDkShadow, {{L + 2, Bt - 1}, {R - 3, Bt - 1}, {R - 1, Bt - 3}, {R - 1, Tp}});
        P(clBtnShadow, {{L + 2, Bt - 2}, {R - 3, Bt - 2}, {R - 2, Bt - 3}, {R - 2, Tp}});
        break;
      case 2:
        P(clBtnHighlight, {{L, Bt - 3}, {L, Tp + 2}, {L + 2, Tp}, {R - 1, Tp}});
        P(cl3DLight, {{L + 1, Bt - 3}, {L + 1, Tp + 2}, {L + 2, Tp + 1}, {R - 1, Tp + 1}});
        P(cl3DDkShadow, {{L + 2, Bt - 2}, {L + 3, Bt - 1}, {R - 1, Bt - 1}});
        P(clBtnShadow, {{L + 1, Bt - 2}, {L + 2, Bt - 1}, {L + 3, Bt - 2}, {R - 1, Bt - 2}});
        break;
      default:
        P(clBtnHighlight, {{L, Tp}, {R - 3, Tp}, {R - 2, Tp + 1}});
        P(cl3DLight, {{L, Tp + 1}, {R - 3, Tp + 1}});
        P(cl3DDkShadow, {{L, Bt - 1}, {R - 3, Bt - 1}, {R - 1, Bt - 3}, {R - 1, Tp + 2}});
        P(clBtnShadow, {{L, Bt - 2}, {R - 3, Bt - 2}, {R - 2, Bt - 3}, {R - 2, Tp + 2}});
        break;
    }
    // The outer corners show the background.
    const TColor Corner = clBtnFace;
    if (Side == 0 || Side == 2)
      for (TPoint X : {TPoint{L, Tp + 1}, TPoint{L, Tp}, TPoint{L + 1, Tp}}) C->SetPixel(X.X, X.Y, Corner);
    if (Side == 1 || Side == 2)
      for (TPoint X : {TPoint{L, Bt - 2}, TPoint{L, Bt - 1}, TPoint{L + 1, Bt - 1}}) C->SetPixel(X.X, X.Y, Corner);
    if (Side == 0 || Side == 3)
      for (TPoint X : {TPoint{R - 2, Tp}, TPoint{R - 1, Tp}, TPoint{R - 1, Tp + 1}}) C->SetPixel(X.X, X.Y, Corner);
    if (Side == 1 || Side == 3)
      for (TPoint X : {TPoint{R - 2, Bt - 1}, TPoint{R - 1, Bt - 1}, TPoint{R - 1, Bt - 2}})
        C->SetPixel(X.X, X.Y, Corner);
  }

  void RepaintTab(int V, TcxTabChangeKind Kind) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    if (Kind == tckCurrent && !T->IsCurrent())
      InvalidateArea(T->DisplayRow < FControl->SplitRow() ? FControl->NearGroupRect() : FControl->FarGroupRect());
    else
      InvalidateTab(V);
  }
};

// Flat: the Tabs style drawn with single-line outlines.
class TcxPCFlatPainter : public TcxPCTabsPainter {
public:
  using TcxPCTabsPainter::TcxPCTabsPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }
  int GetFrameWidth() override { return 1; }

protected:
  int GetNavigatorButtonHeight() override { return TcxPCTabsPainter::GetNavigatorButtonHeight() - 2; }
  int GetNavigatorButtonWidth(TcxPCNavigatorButton B) override {
    return TcxPCTabsPainter::GetNavigatorButtonWidth(B) - 2;
  }
  void DrawFrameBorder(TcxCanvas* ACanvas, const TRect& R) override {
    ACanvas->DrawTwoColorFrame(R, clBtnHighlight, clBtnShadow);
  }
  void DrawNavigatorButton(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R) override {
    const bool Pressed = FControl->ButtonState(B) == nbsPressed;
    ACanvas->FillRect({R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1}, clBtnFace);
    ACanvas->DrawTwoColorFrame(R, Pressed ? clBtnShadow : clBtnHighlight, Pressed ? clBtnHighlight : clBtnShadow);
    DrawGlyph(ACanvas, B, R);
  }

  void DrawTabFrame(TcxCanvas* C, int V) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    const TRect B = T->Bounds();
    const int L = B.Left, Tp = B.Top, R = B.Right, Bt = B.Bottom;
    const TColor TabColor = GetTabColor(V);
    C->FillRect({L + 2, Tp + 2, R - 2, Bt - 2}, TabColor);
    const int Side = T->Side();
    switch (Side) {
      case 0: C->FillRect({L + 2, Tp + 2, R - 2, Bt}, TabColor); break;
      case 1: C->FillRect({L + 2, Tp, R - 2, Bt - 2}, TabColor); break;
      case 2: C->FillRect({L + 2, Tp + 2, R, Bt - 2}, TabColor); break;
      default: C->FillRect({L, Tp + 2, R - 2, Bt - 2}, TabColor); break;
    }
    const TColor Inner = cxPCAdjustBrightness(TabColor, 85);
    auto P = [&](TColor Col, std::vector<TPoint> Pts) { DrawPolylineWithEnd(C, Col, Pts); };
    switch (Side) {
      case 0:
        P(clBtnHighlight, {{L, Bt - 1}, {L, Tp + 2}, {L + 2, Tp}, {R - 3, Tp}, {R - 2, Tp + 1}});
        P(clBtnShadow, {{R - 1, Tp + 2}, {R - 1, Bt - 1}});
        P(Inner, {{L + 1, Bt - 1}, {L + 1, Tp + 2}, {L + 2, Tp + 1}, {R - 3, Tp + 1}, {R - 2, Tp + 2}, {R - 2, Bt - 1}});
        break;
      case 1:
        P(clBtnHighlight, {{L, Tp}, {L, Bt - 3}, {L + 1, Bt - 2}});
        P(clBtnShadow, {{L + 2, Bt - 1}, {R - 3, Bt - 1}, {R - 1, Bt - 3}, {R - 1, Tp}});
        P(Inner, {{L + 1, Tp}, {L + 1, Bt - 3}});
        P(clBtnFace, {{L + 2, Bt - 2}, {R - 3, Bt - 2}, {R - 2, Bt - 3}, {R - 2, Tp}});
        break;
      case 2:
        P(clBtnShadow, {{R - 1, Bt - 1}, {L + 2, Bt - 1}});
        P(clBtnHighlight, {{L + 1, Bt - 2}, {L, Bt - 3}, {L, Tp + 2}, {L + 2, Tp}, {R - 1, Tp}});
        P(Inner, {{R - 1, Bt - 2}, {L + 2, Bt - 2}, {L + 1, Bt - 3}, {L + 1, Tp + 2}, {L + 2, Tp + 1}, {R - 1, Tp + 1}});
        break;
      default:
        P(clBtnHighlight, {{L, Tp}, {R - 3, Tp}, {R - 2, Tp + 1}});
        P(clBtnShadow, {{R - 1, Tp + 2}, {R - 1, Bt - 3}, {R - 3, Bt - 1}, {L, Bt - 1}});
        P(Inner, {{L, Tp + 1}, {R - 3, Tp + 1}});
        P(clBtnFace, {{R - 2, Tp + 2}, {R - 2, Bt - 3}, {R - 3, Bt - 2}, {L, Bt - 2}});
        break;
    }
    // The outer corners show the control's colour.
    const TColor Corner = FControl->GetColor();
    if (Side == 0 || Side == 2)
      for (TPoint X : {TPoint{L, Tp + 1}, TPoint{L, Tp}, TPoint{L + 1, Tp}}) C->SetPixel(X.X, X.Y, Corner);
    if (Side == 1 || Side == 2)
      for (TPoint X : {TPoint{L, Bt - 2}, TPoint{L, Bt - 1}, TPoint{L + 1, Bt - 1}}) C->SetPixel(X.X, X.Y, Corner);
    if (Side == 0 || Side == 3)
      for (TPoint X : {TPoint{R - 2, Tp}, TPoint{R - 1, Tp}, TPoint{R - 1, Tp + 1}}) C->SetPixel(X.X, X.Y, Corner);
    if (Side == 1 || Side == 3)
      for (TPoint X : {TPoint{R - 2, Bt - 1}, TPoint{R - 1, Bt - 1}, TPoint{R - 1, Bt - 2}})
        C->SetPixel(X.X, X.Y, Corner);
  }
};

class TcxPCButtonedPainter : public TcxPCStandardPainter {
public:
  using TcxPCStandardPainter::TcxPCStandardPainter;

  void GetFrameRectOffsets(TRect& M) override {
    TcxPCStandardPainter::GetFrameRectOffsets(M);
    if (FControl->GetHideTabs() || FControl->RowCount() == 0) return;
    // A 2-pixel gap between the buttons and the page.
    switch (FControl->GetTabPosition()) {
      case tpTop: M.Top += 2; break;
      case tpBottom: M.Bottom += 2; break;
      case tpLeft: M.Left += 2; break;
      case tpRight: M.Right += 2; break;
    }
  }
};

class TcxPCButtonsPainter : public TcxPCButtonedPainter {
public:
  using TcxPCButtonedPainter::TcxPCButtonedPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }

protected:
  void DrawTabFrame(TcxCanvas* C, int V) override {
    const TRect B = FControl->VisibleTabs()->GetTab(V)->Bounds();
    const bool Sunken = IsTabRaised(V);
    C->FillRect({B.Left + 2, B.Top + 2, B.Right - 2, B.Bottom - 2}, GetTabColor(V));
    C->Draw3DEdgeRing(B, Sunken, true);
    C->Draw3DEdgeRing({B.Left + 1, B.Top + 1, B.Right - 1, B.Bottom - 1}, Sunken, false);
  }
};

class TcxPCFlatButtonsPainter : public TcxPCButtonedPainter {
public:
  using TcxPCButtonedPainter::TcxPCButtonedPainter;
  static const TcxPCPainterClassInfo Info;
  TcxPCPainterClass PainterClass() const override { return &Info; }

  void DrawTabs(TcxCanvas* ACanvas) override {
    // The etched separators sit in the middle of the gap between buttons.
    TcxCustomTabControl* C = FControl;
    const int N = C->VisibleTabs()->Count();
    const int From = C->GetMultiLine() ? 0 : std::max(0, C->FirstShown());
    const int To = C->GetMultiLine() ? N - 1 : C->LastShown();
    const bool Hor = !C->IsVerticalText() || C->GetRotate() ? Horizontal(C->GetTabPosition())
                                                             : Horizontal(C->GetTabPosition());
    for (int V = From; V < To && V + 1 < N; ++V) {
      TcxTab* A = C->VisibleTabs()->GetTab(V);
      TcxTab* B = C->VisibleTabs()->GetTab(V + 1);
      if (A->Row != B->Row) continue;
      const TRect RA = A->Bounds(), RB = B->Bounds();
      if (Hor) {
        const int X = (std::min(RA.Right, RB.Right) + std::max(RA.Left, RB.Left)) / 2 - 1;
        ACanvas->FillRect({X, RA.Top + 2, X + 1, RA.Bottom - 2}, clBtnShadow);
        ACanvas->FillRect({X + 1, RA.Top + 2, X + 2, RA.Bottom - 2}, clBtnHighlight);
      } else {
        const int Y = (std::min(RA.Bottom, RB.Bottom) + std::max(RA.Top, RB.Top)) / 2 - 1;
        ACanvas->FillRect({RA.Left + 2, Y, RA.Right - 2, Y + 1}, clBtnShadow);
        ACanvas->FillRect({RA.Left + 2, Y + 1, RA.Right - 2, Y + 2}, clBtnHighlight);
      }
    }
    TcxPCButtonedPainter::DrawTabs(ACanvas);
  }

protected:
  void DrawTabFrame(TcxCanvas* C, int V) override {
    TcxTab* T = FControl->VisibleTabs()->GetTab(V);
    const TRect B = T->Bounds();
    C->FillRect(B, GetTabColor(V));
    if (IsTabRaised(V)) {
      C->Draw3DEdgeRing(B, true, true);
      C->Draw3DEdgeRing({B.Left + 1, B.Top + 1, B.Right - 1, B.Bottom - 1}, true, false);
    } else if (T->IsHot() || T->IsFocused()) {
      C->DrawTwoColorFrame(B, clBtnHighlight, clBtnShadow);
    }
  }
};

const TcxPCPainterClassInfo TcxPCTabsPainter::Info = [] {
  TcxPCPainterClassInfo I;
  I.StyleID = 1;
  I.StyleName = "Tabs";
  I.DefaultForStyleCodes = (1u << 1) | (1u << 3);
  I.FallbackWhenNative = true;
  I.Create = &MakePainter<TcxPCTabsPainter>;
  return I;
}();

const TcxPCPainterClassInfo TcxPCButtonsPainter::Info = [] {
  TcxPCPainterClassInfo I;
  I.StyleID = 2;
  I.StyleName = "Buttons";
  I.ButtonStyleKind = 1;
  I.AllowsMultiSelect = true;
  I.TabsActAsButtons = true;
  I.MirrorsContentOffsets = false;
  I.Create = &MakePainter<TcxPCButtonsPainter>;
  return I;
}();

const TcxPCPainterClassInfo TcxPCFlatButtonsPainter::Info = [] {
  TcxPCPainterClassInfo I;
  I.StyleID = 3;
  I.StyleName = "FlatButtons";
  I.ButtonStyleKind = 2;
  I.AllowsMultiSelect = true;
  I.TabsActAsButtons = true;
  I.MirrorsContentOffsets = false;
  I.Create = &MakePainter<TcxPCFlatButtonsPainter>;
  return I;
}();

const TcxPCPainterClassInfo TcxPCFlatPainter::Info = [] {
  TcxPCPainterClassInfo I;
  I.StyleID = 7;
  I.StyleName = "Flat";
  I.DefaultForStyleCodes = 1u << 0;
  I.Create = &MakePainter<TcxPCFlatPainter>;
  return I;
}();

}  // namespace

TcxPCPainterClass cxPCTabsPainterClass() { return &TcxPCTabsPainter::Info; }
TcxPCPainterClass cxPCButtonsPainterClass() { return &TcxPCButtonsPainter::Info; }
TcxPCPainterClass cxPCFlatButtonsPainterClass() { return &TcxPCFlatButtonsPainter::Info; }
TcxPCPainterClass cxPCFlatPainterClass() { return &TcxPCFlatPainter::Info; }

void RegisterStandardTabPainters() {
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCTabsPainterClass());
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCButtonsPainterClass());
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCFlatButtonsPainterClass());
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCExtraFlatPainterClass());
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCUltraFlatPainterClass());
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCFlatPainterClass());
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCOffice11PainterClass());
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCSlantedPainterClass());
  TcxPCPaintersFactory::RegisterTabPainterClass(cxPCOneNotePainterClass());
}
