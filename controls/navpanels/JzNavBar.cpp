#include "controls/navpanels/JzNavBar.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include "platform/forms/ControlMessages.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/FontTypes.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"

namespace {

int Ch(COLORREF C, int I) { return I == 0 ? GetRValue(C) : I == 1 ? GetGValue(C) : GetBValue(C); }

void Fill(TCanvas* C, const TRect& R, TColor Color) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(Color);
  C->FillRect(R);
}

}  // namespace

// Bands of a size that makes every step of the largest channel difference
// one band (or one pixel per band when the length is shorter).
void JzNavBandFill(TCanvas* ACanvas, const TRect& R, TColor A, TColor B, bool AHorizontal) {
  const int L = AHorizontal ? R.Width() : R.Height();
  if (L <= 0) return;
  const COLORREF CA = ColorToRGB(A), CB = ColorToRGB(B);
  int Start[3], Diff[3], D = 0;
  for (int I = 0; I < 3; ++I) {
    Start[I] = Ch(CA, I) * 100;
    Diff[I] = (Ch(CB, I) - Ch(CA, I)) * 100;
    D = std::max(D, std::abs(Ch(CB, I) - Ch(CA, I)));
  }
  if (D == 0) {
    Fill(ACanvas, R, A);
    return;
  }
  const int Q = L > D ? (D + L - 1) / D : 1;
  const int N = L / Q;
  if (N == 0) return;
  for (int K = 0; K <= N; ++K) {
    const int From = K * Q;
    const int Len = std::min(Q, L - From);
    if (Len <= 0) break;
    int C[3];
    for (int I = 0; I < 3; ++I) C[I] = std::clamp((Start[I] + (Diff[I] / N) * K) / 100, 0, 255);
    const TColor Color = TColor(RGB(Byte(C[0]), Byte(C[1]), Byte(C[2])));
    Fill(ACanvas, AHorizontal ? TRect{R.Left + From, R.Top, R.Left + From + Len, R.Bottom}
                              : TRect{R.Left, R.Top + From, R.Right, R.Top + From + Len},
         Color);
  }
}

// ===========================================================================
// TJzNavGradient

TJzNavGradient::TJzNavGradient(TJzNavCustomControl* AControl) : FControl(AControl), FFont(std::make_unique<TFont>()) {}

void TJzNavGradient::Published(TPublished<TJzNavGradient>& P) {
  P.Property("Active", &TJzNavGradient::GetActive, &TJzNavGradient::SetActive).Default(false);
  P.Property("Color1", &TJzNavGradient::GetColor1, &TJzNavGradient::SetColor1);
  P.Property("Color2", &TJzNavGradient::GetColor2, &TJzNavGradient::SetColor2);
  P.Property("Color3", &TJzNavGradient::GetColor3, &TJzNavGradient::SetColor3);
  P.Property("Horizontal", &TJzNavGradient::GetHorizontal, &TJzNavGradient::SetHorizontal).Default(false);
  P.Property("ParentGradient", &TJzNavGradient::GetParentGradient, &TJzNavGradient::SetParentGradient)
      .Default(false);
  P.Property("Percent", &TJzNavGradient::GetPercent, &TJzNavGradient::SetPercent).Default(100);
  P.Property("ShowBorder", &TJzNavGradient::GetShowBorder, &TJzNavGradient::SetShowBorder).Default(true);
  P.Property("Font", &TJzNavGradient::GetFont, &TJzNavGradient::SetFont);
}

void TJzNavGradient::Assign(TPersistent* Source) {
  if (auto* G = dynamic_cast<TJzNavGradient*>(Source)) {
    FActive = G->FActive, FColor1 = G->FColor1, FColor2 = G->FColor2, FColor3 = G->FColor3;
    FPercent = G->FPercent, FHorizontal = G->FHorizontal, FParentGradient = G->FParentGradient;
    FShowBorder = G->FShowBorder;
    FFont->Assign(G->FFont.get());
    Changed();
    return;
  }
  inherited::Assign(Source);
}

void TJzNavGradient::Changed() {
  if (FControl) FControl->Invalidate();
}

// ===========================================================================
// TJzNavCustomControl

TJzNavCustomControl::TJzNavCustomControl(TComponent* AOwner)
    : TPanel(AOwner),
      FGlyph(std::make_unique<TBitmap>()),
      FGreyGlyph(std::make_unique<TBitmap>()),
      FNormal(std::make_unique<TJzNavGradient>(this)),
      FHot(std::make_unique<TJzNavGradient>(this)),
      FPressed(std::make_unique<TJzNavGradient>(this)) {
  SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls});
  FGlyph->SetTransparent(true);
  SetBevelOuter(bvNone);
  SetBevelInner(bvNone);
  SetDoubleBuffered(true);
}

TJzNavCustomControl::~TJzNavCustomControl() = default;

void TJzNavCustomControl::Published(TPublished<TJzNavCustomControl>& P) {
  P.Property("BorderEdges", &TJzNavCustomControl::GetBorderEdges, &TJzNavCustomControl::SetBorderEdges)
      .Default(TJzNavBorderEdges{beLeft, beTop, beRight, beBottom});
  P.Property("BorderSize", &TJzNavCustomControl::GetBorderSize, &TJzNavCustomControl::SetBorderSize).Default(0);
  P.Property("GlyphAlignment", &TJzNavCustomControl::GetGlyphAlignment, &TJzNavCustomControl::SetGlyphAlignment)
      .Default(gaLeft);
  P.Property("GlyphOffset", &TJzNavCustomControl::GetGlyphOffset, &TJzNavCustomControl::SetGlyphOffset).Default(3);
  P.Property("ParentStyle", &TJzNavCustomControl::GetParentStyle, &TJzNavCustomControl::SetParentStyle)
      .Default(true);
  P.Property("RemoveFlicker", &TJzNavCustomControl::GetRemoveFlicker, &TJzNavCustomControl::SetRemoveFlicker)
      .Default(true);
  P.Property("ShowBorder", &TJzNavCustomControl::GetShowBorder, &TJzNavCustomControl::SetShowBorder).Default(true);
  P.Property("Style", &TJzNavCustomControl::GetStyle, &TJzNavCustomControl::SetStyle).Default(stStandard);
  P.Property("Transparent", &TJzNavCustomControl::GetTransparent, &TJzNavCustomControl::SetTransparent)
      .Default(false);
  P.Property("OnCustomStyle", &TJzNavCustomControl::OnCustomStyle, &TJzNavCustomControl::OnCustomStyle);
  P.Property("OnMouseEnter", &TJzNavCustomControl::OnMouseEnter, &TJzNavCustomControl::OnMouseEnter);
  P.Property("OnMouseLeave", &TJzNavCustomControl::OnMouseLeave, &TJzNavCustomControl::OnMouseLeave);
}

void TJzNavCustomControl::SetStyle(TJzNavStyle Value) {
  if (Value == FStyle) return;
  FStyle = Value;
  Invalidate();
  // Children that follow their parent's style repaint too.
  for (int I = 0; I < ControlCount(); ++I) Controls(I)->Invalidate();
}

void TJzNavCustomControl::SetParentStyle(bool Value) {
  if (Value == FParentStyle) return;
  FParentStyle = Value;
  Invalidate();
}

void TJzNavCustomControl::SetBorderEdges(TJzNavBorderEdges Value) {
  FBorderEdges = Value;
  Invalidate();
}

void TJzNavCustomControl::SetBorderSize(int Value) {
  FBorderSize = std::max(0, Value);
  SetBorderWidth(FBorderSize);
  Invalidate();
}

void TJzNavCustomControl::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  FGlyph->SetTransparent(true);
  RebuildGreyGlyph();
  Invalidate();
}

void TJzNavCustomControl::SetGlyphAlignment(TJzNavGlyphAlignment Value) {
  FGlyphAlignment = Value;
  Invalidate();
}

void TJzNavCustomControl::SetGlyphOffset(int Value) {
  FGlyphOffset = Value;
  Invalidate();
}

void TJzNavCustomControl::SetShowBorder(bool Value) {
  FShowBorder = Value;
  Invalidate();
}

void TJzNavCustomControl::SetTransparent(bool Value) {
  if (Value == FTransparent) return;
  FTransparent = Value;
  SetDoubleBuffered(!Value);
  Invalidate();
}

void TJzNavCustomControl::Loaded() {
  inherited::Loaded();
  RebuildGreyGlyph();
}

// Every pixel grey (0.3 red + 0.59 green + 0.11 blue), then lightened half
// way to white.
void TJzNavCustomControl::RebuildGreyGlyph() {
  FGreyGlyph->Assign(FGlyph.get());
  const int W = FGreyGlyph->GetWidth(), H = FGreyGlyph->GetHeight();
  if (W <= 0 || H <= 0) return;
  TCanvas* C = FGreyGlyph->Canvas();
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const COLORREF P = ColorToRGB(C->GetPixel(X, Y));
      const int G = int(std::lround(0.3 * GetRValue(P) + 0.59 * GetGValue(P) + 0.11 * GetBValue(P)));
      C->SetPixel(X, Y, LightenByPercent(TColor(RGB(Byte(G), Byte(G), Byte(G))), 50));
    }
  FGreyGlyph->SetTransparent(true);
}

TJzNavStyle TJzNavCustomControl::EffectiveStyle() const {
  if (FParentStyle)
    if (auto* P = dynamic_cast<TJzNavCustomControl*>(GetParent())) return P->EffectiveStyle();
  return FStyle;
}

TJzNavGradient* TJzNavCustomControl::Gradient(int Kind) const {
  TJzNavGradient* G = Kind == 2 ? FPressed.get() : Kind == 1 ? FHot.get() : FNormal.get();
  if (G->GetParentGradient())
    if (auto* P = dynamic_cast<TJzNavCustomControl*>(GetParent())) return P->Gradient(Kind);
  return G;
}

TJzNavGradient* TJzNavCustomControl::GradientInUse() const {
  if (!ComponentState().Contains(csDesigning) && GetEnabled()) {
    if (FIsPressed && FIsHot) {
      if (TJzNavGradient* G = Gradient(2); G->GetActive()) return G;
    } else if (FIsHot) {
      if (TJzNavGradient* G = Gradient(1); G->GetActive()) return G;
    }
  }
  TJzNavGradient* N = Gradient(0);
  return N->GetActive() ? N : nullptr;
}

void TJzNavCustomControl::FillGradient(TCanvas* ACanvas, TJzNavGradient* G, const TRect& R) {
  const bool Hor = G->GetHorizontal();
  const TColor C1 = G->GetColor1(), C2 = G->GetColor2(), C3 = G->GetColor3();
  if (G->GetPercent() >= 100) {
    if (ColorToRGB(C1) != ColorToRGB(C2)) JzNavBandFill(ACanvas, R, C1, C2, Hor);
    else Fill(ACanvas, R, C1);
    return;
  }
  const int L = Hor ? R.Width() : R.Height();
  const int First = std::max(1, L * G->GetPercent() / 100);
  const TRect A = Hor ? TRect{R.Left, R.Top, R.Left + First, R.Bottom} : TRect{R.Left, R.Top, R.Right, R.Top + First};
  const TRect B = Hor ? TRect{A.Right, R.Top, R.Right, R.Bottom} : TRect{R.Left, A.Bottom, R.Right, R.Bottom};
  if (ColorToRGB(C1) != ColorToRGB(C2)) JzNavBandFill(ACanvas, A, C1, C2, Hor);
  else Fill(ACanvas, R, C1);
  if (ColorToRGB(C2) != ColorToRGB(C3)) JzNavBandFill(ACanvas, B, C2, C3, Hor);
  else Fill(ACanvas, B, C2);
}

void TJzNavCustomControl::PaintTo(TCanvas* ACanvas) {
  // Style and scheme, fresh for every paint.
  const TJzNavStyle S = EffectiveStyle();
  if (S != FStyle) FStyle = S;
  TJzColorScheme Scheme;
  if (S != stXPTheme || !FillXPColorScheme(Scheme)) FillSystemColorScheme(Scheme);
  Scheme.FontName = "Default";
  Scheme.FontSize = -1;
  Scheme.FontStyle = 0;
  Scheme.DefaultFontStyle = true;
  if (OnCustomStyle.Assigned()) OnCustomStyle(this, Scheme);
  ApplyColorScheme(Scheme);

  const int W = ClientWidth(), H = ClientHeight();
  const TRect R{0, 0, W, H};
  TJzNavGradient* G = GradientInUse();
  if (G) FillGradient(ACanvas, G, R);
  else Fill(ACanvas, R, GetColor());
  // The border.
  if (FShowBorder && (!G || G->GetShowBorder()) && FBorderSize > 0) {
    ACanvas->Pen()->SetColor(FBorderColor);
    const bool All = FBorderEdges == TJzNavBorderEdges{beLeft, beTop, beRight, beBottom};
    for (int I = 0; I < FBorderSize; ++I) {
      if (All) {
        ACanvas->Brush()->SetColor(FBorderColor);
        ACanvas->FrameRect({I, I, W - I, H - I});
        continue;
      }
      if (FBorderEdges.Contains(beLeft)) Fill(ACanvas, {I, 0, I + 1, H}, FBorderColor);
      if (FBorderEdges.Contains(beRight)) Fill(ACanvas, {W - 1 - I, 0, W - I, H}, FBorderColor);
      if (FBorderEdges.Contains(beTop)) Fill(ACanvas, {0, I, W, I + 1}, FBorderColor);
      if (FBorderEdges.Contains(beBottom)) Fill(ACanvas, {0, H - 1 - I, W, H - I}, FBorderColor);
    }
  }
  DrawContent(ACanvas, G ? G->GetFont() : GetFont());
  // The grip, only over a gradient.
  if (FGripEnabled && G) {
    const TColor Dark = G->GetColor2();
    const COLORREF D = ColorToRGB(Dark);
    const TColor Mid = TColor(RGB(Byte((GetRValue(D) + 255) / 2), Byte((GetGValue(D) + 255) / 2),
                                  Byte((GetBValue(D) + 255) / 2)));
    const TColor Light = TColor(0xFFFFFF);
    for (int I = 0; I < FGripUnits; ++I) {
      if (FGripIsVertical) {
        const int X = W / 2, Y = H / 2 + 4 * I - 2 * FGripUnits;
        for (TPoint P : {TPoint{X - 1, Y}, TPoint{X, Y}, TPoint{X - 1, Y + 1}}) ACanvas->SetPixel(P.X, P.Y, Dark);
        ACanvas->SetPixel(X, Y + 1, Mid);
        for (TPoint P : {TPoint{X + 1, Y + 1}, TPoint{X, Y + 2}, TPoint{X + 1, Y + 2}}) ACanvas->SetPixel(P.X, P.Y, Light);
      } else {
        const int Y = H / 2, X = W / 2 + 4 * I - 2 * FGripUnits + 1;
        for (TPoint P : {TPoint{X, Y - 1}, TPoint{X + 1, Y - 1}, TPoint{X, Y}}) ACanvas->SetPixel(P.X, P.Y, Dark);
        ACanvas->SetPixel(X + 1, Y, Mid);
        for (TPoint P : {TPoint{X + 2, Y}, TPoint{X + 1, Y + 1}, TPoint{X + 2, Y + 1}}) ACanvas->SetPixel(P.X, P.Y, Light);
      }
    }
  }
  DrawExtras(ACanvas);
}

void TJzNavCustomControl::Paint() { PaintTo(Canvas()); }

void TJzNavCustomControl::DrawContent(TCanvas* ACanvas, TFont* AFont) {
  const int W = ClientWidth(), H = ClientHeight();
  TBitmap* Glyph = GetEnabled() ? FGlyph.get() : FGreyGlyph.get();
  const int GW = FGlyph->GetWidth(), GH = FGlyph->GetHeight();
  const bool Empty = GW <= 0 || GH <= 0;
  int X;
  if (FGlyphAlignment == gaLeft) X = Empty ? 0 : FBorderSize + FGlyphOffset;
  else X = Empty ? W - FBorderSize : W - GW - FBorderSize - FGlyphOffset;
  const int Y = (H - 2 * FBorderSize) / 2 - GH / 2;
  const TRect GR{X, Y, X + (Empty ? 0 : GW), Y + (Empty ? 0 : GH)};
  if (!Empty) ACanvas->Draw(GR.Left, GR.Top, Glyph);
  if (!ShowsCaption()) return;
  const AnsiString Caption = Trim(GetCaption());
  if (Caption.empty()) return;
  ACanvas->Font()->Assign(AFont);
  if (!GetEnabled()) ACanvas->Font()->SetColor(LightenByPercent(AFont->GetColor(), 50));
  ACanvas->Brush()->SetStyle(bsClear);
  const int FontH = std::abs(ACanvas->Font()->GetHeight());
  TRect T;
  T.Top = (H - 2 * FBorderSize) / 2 - FontH / 2;
  T.Bottom = T.Top + ACanvas->TextExtent("W").cy;
  if (FGlyphAlignment == gaLeft) {
    T.Left = GR.Right + 3;
    T.Right = W - FBorderSize - 3;
  } else {
    T.Left = 3;
    T.Right = GR.Left - 3;
  }
  std::string Buffer = Caption;
  SetBkMode(ACanvas->GetHandle(), TRANSPARENT);
  DrawTextA(ACanvas->GetHandle(), Buffer.data(), int(Buffer.size()), &T, DT_END_ELLIPSIS | DT_EXPANDTABS | DT_VCENTER);
  ACanvas->Brush()->SetStyle(bsSolid);
}

void TJzNavCustomControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 0;
      return;
    case CM_MOUSEENTER:
      inherited::Dispatch(Message);
      if (GetEnabled() && GetVisible()) {
        FIsHot = true;
        if (Gradient(1)->GetActive()) Invalidate();
        if (OnMouseEnter.Assigned()) OnMouseEnter(this);
      }
      return;
    case CM_MOUSELEAVE:
      inherited::Dispatch(Message);
      FIsHot = false;
      if (Gradient(1)->GetActive()) Invalidate();
      if (OnMouseLeave.Assigned()) OnMouseLeave(this);
      return;
    case CM_ENABLEDCHANGED:
      if (!GetEnabled()) FIsHot = FIsPressed = false;
      inherited::Dispatch(Message);
      Invalidate();
      return;
    default:
      inherited::Dispatch(Message);
  }
}

void TJzNavCustomControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && GetEnabled()) {
    FIsPressed = true;
    if (Gradient(2)->GetActive()) Invalidate();
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TJzNavCustomControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && GetEnabled()) {
    if (Gradient(2)->GetActive()) FIsPressed = false;
    if (X < 0 || Y < 0 || X >= GetWidth() || Y >= GetHeight()) FIsHot = false;
    Invalidate();
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

// ===========================================================================
// TJzNavPanel

TJzNavPanel::TJzNavPanel(TComponent* AOwner) : TJzNavCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
}

void TJzNavPanel::Published(TPublished<TJzNavPanel>& P) {
  P.Property("GripEnabled", &TJzNavPanel::GetGripEnabled, &TJzNavPanel::SetGripEnabled).Default(false);
  P.Property("GripIsVertical", &TJzNavPanel::GetGripIsVertical, &TJzNavPanel::SetGripIsVertical).Default(false);
  P.Property("GripUnits", &TJzNavPanel::GetGripUnits, &TJzNavPanel::SetGripUnits).Default(Byte(10));
  P.Property("PanelType", &TJzNavPanel::GetPanelType, &TJzNavPanel::SetPanelType).Default(ptDefault);
}

void TJzNavPanel::SetGripEnabled(bool Value) {
  FGripEnabled = Value;
  Invalidate();
}
void TJzNavPanel::SetGripUnits(Byte Value) {
  FGripUnits = Value;
  Invalidate();
}
void TJzNavPanel::SetGripIsVertical(bool Value) {
  FGripIsVertical = Value;
  Invalidate();
}

void TJzNavPanel::SetPanelType(TJzNavPanelType Value) {
  FPanelType = Value;
  if (ComponentState().Contains(csLoading)) return;
  switch (Value) {
    case ptTitle:
    case ptDivider:
      SetBorderEdges({beBottom});
      SetShowBorder(true);
      FGripEnabled = false;
      break;
    case ptButton:
    case ptButtonGradient:
      SetBorderEdges({beLeft, beTop, beRight, beBottom});
      SetShowBorder(true);
      GradientNormal()->SetShowBorder(false);
      FGripEnabled = false;
      break;
    case ptSplitter:
      SetBorderEdges({});
      SetShowBorder(false);
      FGripEnabled = true;
      FGripUnits = 10;
      break;
    default:
      SetBorderEdges({beLeft, beTop, beRight, beBottom});
      SetShowBorder(false);
      FGripEnabled = false;
      break;
  }
  Invalidate();
}

void TJzNavPanel::ApplyColorScheme(const TJzColorScheme& S) {
  const auto& C = S.Colors;
  FDividerColor = C[2];
  SetBorderColor(C[12]);
  GradientHot()->SetActive(false);
  GradientPressed()->SetActive(false);
  auto SetFont = [&](bool Title) {
    TFont* F = GetFont();
    const AnsiString Name = CompareText(S.FontName, "Default") == 0 ? AnsiString("Tahoma") : S.FontName;
    const int Size = S.FontSize == -1 ? 8 : S.FontSize;
    TFontStyles Style;
    if (S.DefaultFontStyle) {
      if (Title) Style.Include(fsBold);
    } else {
      for (TFontStyle X : {fsBold, fsItalic, fsUnderline, fsStrikeOut})
        if (S.FontStyle & (1u << X)) Style.Include(X);
    }
    // Only real changes: the scheme is applied on every paint.
    const TColor Color = Title ? C[15] : C[16];
    if (F->GetColor() != Color) F->SetColor(Color);
    if (F->GetName() != Name) F->SetName(Name);
    if (F->GetSize() != Size) F->SetSize(Size);
    if (F->GetStyle() != Style) F->SetStyle(Style);
    TFont* GF = GradientNormal()->GetFont();
    if (GF->GetColor() != Color || GF->GetName() != Name || GF->GetSize() != Size || GF->GetStyle() != Style)
      GF->Assign(F);
  };
  auto Normal = [&](bool Active, bool Horizontal, TColor A, TColor B) {
    TJzNavGradient* G = GradientNormal();
    G->SetActive(Active);
    G->SetHorizontal(Horizontal);
    G->SetColor1(A);
    G->SetColor2(B);
    G->SetPercent(100);
  };
  FShowCaption = true;
  switch (FPanelType) {
    case ptDefault:
      FShowCaption = false;
      GradientNormal()->SetActive(false);
      if (GetColor() != C[1]) SetColor(C[1]);
      break;
    case ptVGradient:
      FShowCaption = false;
      SetFont(false);
      Normal(true, false, C[1], C[2]);
      break;
    case ptHGradient:
      FShowCaption = false;
      SetFont(false);
      Normal(true, true, C[2], C[1]);
      break;
    case ptTitle:
      SetFont(true);
      Normal(true, false, C[13], C[14]);
      break;
    case ptDivider:
      SetFont(false);
      Normal(true, false, C[1], C[2]);
      break;
    case ptButton:
    case ptButtonGradient:
      SetFont(false);
      if (FPanelType == ptButton) Normal(true, false, C[1], C[1]);
      else Normal(true, false, C[0], C[3]);
      GradientNormal()->SetShowBorder(false);
      for (auto [G, A, B] : {std::tuple{GradientHot(), C[4], C[5]}, std::tuple{GradientPressed(), C[8], C[9]}}) {
        G->SetActive(true);
        G->SetHorizontal(false);
        G->SetColor1(A);
        G->SetColor2(B);
        G->SetPercent(100);
        G->SetShowBorder(true);
      }
      break;
    case ptSplitter:
      FShowCaption = false;
      Normal(true, FGripIsVertical, C[10], C[11]);
      break;
  }
}

void TJzNavPanel::DrawExtras(TCanvas* ACanvas) {
  if (FPanelType == ptDivider && GetBorderEdges().Contains(beTop)) {
    ACanvas->Pen()->SetColor(FDividerColor);
    ACanvas->MoveTo(0, 0);
    ACanvas->LineTo(ClientWidth(), 0);
  }
}

void RegisterNavPanelClasses() { RegisterClasses({TJzNavPanel::StaticClass()}); }
