#include "platform/forms/Buttons.h"

#include <algorithm>
#include <iterator>
#include <memory>

#include "platform/forms/ControlProps_p.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Resources.h"
#include "platform/win/SysBitmaps.h"

void DrawButtonFace(TCanvas* Canvas, const TRect& Client, TBitmap* Glyph, TNumGlyphs NumGlyphs,
                    TButtonState State, const AnsiString& Caption, TButtonLayout Layout, Integer Margin,
                    Integer Spacing, TPoint Offset) {
  HDC Dc = Canvas->GetHandle();
  TSize GlyphSize{0, 0};
  NumGlyphs = std::clamp<TNumGlyphs>(NumGlyphs, 1, 4);
  const bool HasGlyph = Glyph && !Glyph->Empty() && Glyph->GetWidth() >= NumGlyphs;
  if (HasGlyph) GlyphSize = {Glyph->GetWidth() / NumGlyphs, Glyph->GetHeight()};
  AnsiString Text = Caption;
  TRect TextSize{0, 0, 0, 0};
  if (!Text.empty()) DrawTextA(Dc, Text.data(), int(Text.size()), &TextSize, DT_CALCRECT | DT_SINGLELINE);
  const TSize TS{TextSize.Width(), TextSize.Height()};
  const bool Horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  const Integer Avail = Horizontal ? Client.Width() : Client.Height();
  const Integer GlyphLen = Horizontal ? GlyphSize.cx : GlyphSize.cy;
  const Integer TextLen = Horizontal ? TS.cx : TS.cy;
  if (!HasGlyph || Text.empty()) Spacing = 0;
  Integer TotalLen = GlyphLen + TextLen + std::max<Integer>(Spacing, 0);
  if (Margin < 0) {
    if (Spacing < 0) {
      TotalLen = GlyphLen + TextLen;
      Spacing = (Avail - TotalLen) / 3;
      Margin = Spacing;
    } else {
      Margin = (Avail - TotalLen + 1) / 2;
    }
  } else if (Spacing < 0) {
    Spacing = (Avail - Margin - GlyphLen - TextLen) / 2;
  }
  // The glyph's and the text's top-left corners.
  TPoint G, T;
  const TPoint Mid{Client.Left + (Client.Width() - GlyphSize.cx) / 2, Client.Top + (Client.Height() - GlyphSize.cy) / 2};
  const TPoint TMid{Client.Left + (Client.Width() - TS.cx) / 2, Client.Top + (Client.Height() - TS.cy) / 2};
  switch (Layout) {
    case blGlyphLeft:
      G = {Client.Left + Margin, Mid.Y};
      T = {G.X + GlyphSize.cx + Spacing, TMid.Y};
      break;
    case blGlyphRight:
      G = {Client.Right - Margin - GlyphSize.cx, Mid.Y};
      T = {G.X - Spacing - TS.cx, TMid.Y};
      break;
    case blGlyphTop:
      G = {Mid.X, Client.Top + Margin};
      T = {TMid.X, G.Y + GlyphSize.cy + Spacing};
      break;
    case blGlyphBottom:
      G = {Mid.X, Client.Bottom - Margin - GlyphSize.cy};
      T = {TMid.X, G.Y - Spacing - TS.cy};
      break;
  }
  G.X += Offset.X;
  G.Y += Offset.Y;
  T.X += Offset.X;
  T.Y += Offset.Y;
  if (HasGlyph) {
    // The image for the state, or the first when the bitmap has fewer.
    Integer Index = 0;
    if (State == bsDisabled && NumGlyphs > 1) Index = 1;
    else if (State == bsDown && NumGlyphs > 2) Index = 2;
    else if (State == bsExclusive && NumGlyphs > 3) Index = 3;
    TBitmap Cell;
    Cell.SetSize(GlyphSize.cx, GlyphSize.cy);
    Cell.Canvas()->CopyRect({0, 0, GlyphSize.cx, GlyphSize.cy}, Glyph->Canvas(),
                            Bounds(Index * GlyphSize.cx, 0, GlyphSize.cx, GlyphSize.cy));
    Cell.SetTransparentColor(Glyph->GetTransparentColor());
    Cell.SetTransparent(true);
    Canvas->Draw(G.X, G.Y, &Cell);
  }
  if (!Text.empty()) {
    SetBkMode(Dc, TRANSPARENT);
    TRect R = Bounds(T.X, T.Y, TS.cx, TS.cy);
    if (State == bsDisabled) {
      // The classic engraved look: a light copy under a shadow copy.
      SetTextColor(Dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      TRect R1 = R;
      OffsetRect(&R1, 1, 1);
      DrawTextA(Dc, Text.data(), int(Text.size()), &R1, DT_SINGLELINE);
      SetTextColor(Dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
      SetTextColor(Dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextA(Dc, Text.data(), int(Text.size()), &R, DT_SINGLELINE);
  }
}

// ===========================================================================
// TBitBtn

namespace {
struct TKindInfo {
  const char* Caption;
  TModalResult Result;
};
// Captions of the standard kinds, in TBitBtnKind order.
const TKindInfo KindInfo[] = {{"", mrNone},         {"OK", mrOk},         {"Cancel", mrCancel},
                              {"&Help", mrNone},    {"&Yes", mrYes},      {"&No", mrNo},
                              {"&Close", mrNone},   {"Abort", mrAbort},   {"&Retry", mrRetry},
                              {"&Ignore", mrIgnore}, {"&All", mrAll}};

// The stock glyph of a kind (the program's resources, drawn for it), made
// once; nil when the resource cannot be read, and the button shows its
// caption alone.
TBitmap* KindGlyph(TBitBtnKind Kind) {
  static const char* const Names[] = {nullptr,   "BBOK",    "BBCANCEL", "BBHELP",   "BBYES", "BBNO",
                                      "BBCLOSE", "BBABORT", "BBRETRY",  "BBIGNORE", "BBALL"};
  static std::unique_ptr<TBitmap> Glyphs[std::size(Names)];
  static AnsiString LoadedFrom;
  if (Kind <= bkCustom || std::size_t(Kind) >= std::size(Names)) return nullptr;
  if (LoadedFrom != ResourceDir()) {   // a test may point at another folder
    for (auto& G : Glyphs) G.reset();
    LoadedFrom = ResourceDir();
  }
  auto& G = Glyphs[Kind];
  if (!G) {
    HBITMAP H = LoadBitmapA(ProgramInstance(), Names[Kind]);
    if (!H) return nullptr;
    G = std::make_unique<TBitmap>();
    G->SetHandle(H);
  }
  return G.get();
}
}  // namespace

TBitBtn::TBitBtn(TComponent* AOwner) : TCustomControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = {csSetCaption, csDoubleClicks, csClickEvents};
  FTabStop = true;
  FColor = clBtnFace;
  FParentColor = false;
  FGlyph->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
  SetBounds(FLeft, FTop, 75, 25);
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::Published(TPublished<TBitBtn>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TBitBtn);
  P.Property("Cancel", &TBitBtn::GetCancel, &TBitBtn::SetCancel).Default(false);
  P.Property("Caption", &TBitBtn::GetCaption, &TBitBtn::SetCaption);
  P.Property("Default", &TBitBtn::GetDefault, &TBitBtn::SetDefault).Default(false);
  P.Property("Glyph", &TBitBtn::GetGlyph, &TBitBtn::SetGlyph);
  P.Property("Kind", &TBitBtn::GetKind, &TBitBtn::SetKind).Default(bkCustom);
  P.Property("Layout", &TBitBtn::GetLayout, &TBitBtn::SetLayout).Default(blGlyphLeft);
  P.Property("Margin", &TBitBtn::GetMargin, &TBitBtn::SetMargin).Default(-1);
  P.Property("ModalResult", &TBitBtn::GetModalResult, &TBitBtn::SetModalResult).Default(0);
  P.Property("NumGlyphs", &TBitBtn::GetNumGlyphs, &TBitBtn::SetNumGlyphs).Default(1);
  P.Property("Spacing", &TBitBtn::GetSpacing, &TBitBtn::SetSpacing).Default(4);
  P.Property("TabStop", &TBitBtn::GetTabStop, &TBitBtn::SetTabStop).Default(true);
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (Value == bkCustom) return;
  // Reading a form applies the stored Caption and ModalResult afterwards.
  SetCaption(KindInfo[Value].Caption);
  FModalResult = KindInfo[Value].Result;
  if (Value == bkOK || Value == bkYes) FDefault = true;
  if (Value == bkCancel || Value == bkNo) FCancel = true;
  Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (Value && Value->GetHeight() > 0 && Value->GetWidth() % Value->GetHeight() == 0) {
    const Integer N = Value->GetWidth() / Value->GetHeight();
    if (N >= 1 && N <= 4) FNumGlyphs = N;
  }
  Invalidate();
}

void TBitBtn::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp<TNumGlyphs>(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}
void TBitBtn::SetMargin(Integer Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}
void TBitBtn::SetSpacing(Integer Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}
void TBitBtn::SetDefault(bool Value) {
  if (FDefault == Value) return;
  FDefault = Value;
  Invalidate();
}

void TBitBtn::Click() {
  TCustomForm* Form = GetParentForm(this);
  // A Close button closes its form (after its handler); the others give
  // the form their modal result.
  if (Form && FKind == bkClose) {
    inherited::Click();
    Form->Close();
    return;
  }
  if (Form && FModalResult != mrNone) Form->SetModalResult(FModalResult);
  inherited::Click();
}

void TBitBtn::Paint() {
  TCanvas* C = Canvas();
  HDC Dc = C->GetHandle();
  TRect R{0, 0, FWidth, FHeight};
  const bool Focus = Focused();
  if (FDefault || Focus) {
    // The default button's extra black ring.
    FrameRect(Dc, &R, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&R, -1, -1);
  }
  const bool Down = FPressed;
  TRect Face = R;
  if (Down) {
    FrameRect(Dc, &Face, GetSysColorBrush(COLOR_BTNSHADOW));
    InflateRect(&Face, -1, -1);
    FillRect(Dc, &Face, GetSysColorBrush(COLOR_BTNFACE));
  } else {
    DrawFrameControl(Dc, &Face, DFC_BUTTON, DFCS_BUTTONPUSH);
  }
  C->Font()->Assign(GetFont());
  SelectObject(Dc, C->Font()->GetHandle());
  TRect Client = R;
  InflateRect(&Client, -2, -2);
  TBitmap* Glyph = FGlyph.get();
  TNumGlyphs Count = FNumGlyphs;
  if (Glyph->Empty() && FKind != bkCustom) {
    if (TBitmap* Stock = KindGlyph(FKind)) {
      Glyph = Stock;
      Count = 1;
    }
  }
  DrawButtonFace(C, Client, Glyph, Count, !GetEnabled() ? bsDisabled : Down ? bsDown : bsUp, GetCaption(),
                 FLayout, FMargin, FSpacing, Down ? TPoint{1, 1} : TPoint{0, 0});
  if (Focus) {
    TRect F = R;
    InflateRect(&F, -3, -3);
    DrawFocusRect(Dc, &F);
  }
}

void TBitBtn::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && GetEnabled()) {
    if (CanFocus()) SetFocus();
    FTracking = true;
    FPressed = true;
    SetMouseCapture(true);
    Invalidate();
  }
  inherited::MouseDown(Button, Shift, X, Y);
}

void TBitBtn::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (FTracking) {
    const bool Over = TRect{0, 0, FWidth, FHeight}.Contains({X, Y});
    if (Over != FPressed) {
      FPressed = Over;
      Invalidate();
    }
  }
  inherited::MouseMove(Shift, X, Y);
}

void TBitBtn::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && FTracking) {
    FTracking = false;
    SetMouseCapture(false);
    const bool Hit = FPressed && TRect{0, 0, FWidth, FHeight}.Contains({X, Y});
    FPressed = false;
    Invalidate();
    if (Hit) Click();
  }
  inherited::MouseUp(Button, Shift, X, Y);
}

void TBitBtn::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE && !FPressed) {
    FPressed = true;
    Invalidate();
  }
  inherited::KeyDown(Key, Shift);
}

void TBitBtn::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_SPACE && FPressed && !FTracking) {
    FPressed = false;
    Invalidate();
    Click();
  }
  inherited::KeyUp(Key, Shift);
}

void TBitBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_DIALOGKEY:
      if (((Message.WParam == VK_RETURN && FDefault) || (Message.WParam == VK_ESCAPE && FCancel)) &&
          (KeyDataToShiftState(Message.LParam) == TShiftState{}) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
      }
      break;
    case WM_GETDLGCODE: Message.Result = FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED: Invalidate(); break;
    case WM_ERASEBKGND: Message.Result = 1; return;
    default: break;
  }
  inherited::Dispatch(Message);
}

// ===========================================================================
// TSpeedButton

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>()) {
  FControlStyle = {csCaptureMouse, csDoubleClicks};
  FGlyph->OnChange = TNotifyEvent(this, &TSpeedButton::GlyphChanged);
  SetBounds(FLeft, FTop, 23, 22);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::Published(TPublished<TSpeedButton>& P) {
  P.Property("Align", &TSpeedButton::GetAlign, &TSpeedButton::SetAlign).Default(alNone);
  P.Property("AllowAllUp", &TSpeedButton::GetAllowAllUp, &TSpeedButton::SetAllowAllUp).Default(false);
  P.Property("Anchors", &TSpeedButton::GetAnchors, &TSpeedButton::SetAnchors).Default(TAnchors{akLeft, akTop});
  SX_PUBLISH_BIDI(TSpeedButton);
  P.Property("Caption", &TSpeedButton::GetCaption, &TSpeedButton::SetCaption);
  P.Property("Constraints", &TSpeedButton::GetConstraints, &TSpeedButton::SetConstraints);
  P.Property("Down", &TSpeedButton::GetDown, &TSpeedButton::SetDown).Default(false);
  P.Property("Enabled", &TSpeedButton::GetEnabled, &TSpeedButton::SetEnabled).Default(true);
  P.Property("Flat", &TSpeedButton::GetFlat, &TSpeedButton::SetFlat).Default(false);
  P.Property("Font", &TSpeedButton::GetFont, &TSpeedButton::SetFont).Stored(&TSpeedButton::IsFontStored);
  P.Property("Glyph", &TSpeedButton::GetGlyph, &TSpeedButton::SetGlyph);
  P.Property("GroupIndex", &TSpeedButton::GetGroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  P.Property("Layout", &TSpeedButton::GetLayout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  P.Property("Margin", &TSpeedButton::GetMargin, &TSpeedButton::SetMargin).Default(-1);
  P.Property("NumGlyphs", &TSpeedButton::GetNumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  SX_PUBLISH_PARENT_BIDI(TSpeedButton);
  P.Property("ParentFont", &TSpeedButton::GetParentFont, &TSpeedButton::SetParentFont).Default(true);
  P.Property("ParentShowHint", &TSpeedButton::GetParentShowHint, &TSpeedButton::SetParentShowHint).Default(true);
  P.Property("ShowHint", &TSpeedButton::GetShowHint, &TSpeedButton::SetShowHint);
  P.Property("Spacing", &TSpeedButton::GetSpacing, &TSpeedButton::SetSpacing).Default(4);
  P.Property("Transparent", &TSpeedButton::GetTransparent, &TSpeedButton::SetTransparent).Default(true);
  P.Property("Visible", &TSpeedButton::GetVisible, &TSpeedButton::SetVisible).Default(true);
  P.Property("OnClick", &TSpeedButton::OnClick, &TSpeedButton::OnClick);
  P.Property("OnDblClick", &TSpeedButton::OnDblClick, &TSpeedButton::OnDblClick);
  SX_PUBLISH_MOUSE_EVENTS(TSpeedButton);
}

void TSpeedButton::SetGroupIndex(Integer Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = Value;
  UpdateExclusive();
}

void TSpeedButton::SetDown(bool Value) {
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // The last button down of a group stays down unless all may be up.
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  FState = Value ? bsExclusive : bsUp;
  Invalidate();
  if (Value) UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  UpdateExclusive();
}

void TSpeedButton::UpdateExclusive() {
  if (FGroupIndex == 0 || !FParent) return;
  // The others of the group: up when this one went down; each takes the
  // group's AllowAllUp.
  for (Integer i = 0; i < FParent->ControlCount(); ++i) {
    auto* S = dynamic_cast<TSpeedButton*>(FParent->Controls(i));
    if (!S || S == this || S->FGroupIndex != FGroupIndex) continue;
    if (FDown && S->FDown) {
      S->FDown = false;
      S->FState = bsUp;
      S->Invalidate();
    }
    S->FAllowAllUp = FAllowAllUp;
  }
}

void TSpeedButton::SetFlat(bool Value) {
  if (FFlat == Value) return;
  FFlat = Value;
  Invalidate();
}
void TSpeedButton::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  if (Value && Value->GetHeight() > 0 && Value->GetWidth() % Value->GetHeight() == 0) {
    const Integer N = Value->GetWidth() / Value->GetHeight();
    if (N >= 1 && N <= 4) FNumGlyphs = N;
  }
  Invalidate();
}
void TSpeedButton::SetNumGlyphs(TNumGlyphs Value) {
  Value = std::clamp<TNumGlyphs>(Value, 1, 4);
  if (FNumGlyphs == Value) return;
  FNumGlyphs = Value;
  Invalidate();
}
void TSpeedButton::SetLayout(TButtonLayout Value) {
  if (FLayout == Value) return;
  FLayout = Value;
  Invalidate();
}
void TSpeedButton::SetMargin(Integer Value) {
  if (FMargin == Value || Value < -1) return;
  FMargin = Value;
  Invalidate();
}
void TSpeedButton::SetSpacing(Integer Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  Invalidate();
}
void TSpeedButton::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  if (Value) FControlStyle.Exclude(csOpaque);
  else FControlStyle.Include(csOpaque);
  Invalidate();
}

void TSpeedButton::Click() { inherited::Click(); }

void TSpeedButton::Paint() {
  TCanvas* C = Canvas();
  HDC Dc = C->GetHandle();
  if (!GetEnabled()) {
    FState = bsDisabled;
    FDragging = false;
  } else if (FState == bsDisabled) {
    FState = FDown && FGroupIndex != 0 ? bsExclusive : bsUp;
  }
  TRect R{0, 0, FWidth, FHeight};
  const bool Pushed = FState == bsDown || FState == bsExclusive;
  if (!FFlat) {
    if (Pushed) {
      FrameRect(Dc, &R, GetSysColorBrush(COLOR_BTNSHADOW));
      TRect In = R;
      InflateRect(&In, -1, -1);
      DrawEdge(Dc, &In, BDR_SUNKENINNER, BF_TOPLEFT);
      FillRect(Dc, &In, GetSysColorBrush(FState == bsExclusive ? COLOR_3DLIGHT : COLOR_BTNFACE));
    } else {
      DrawFrameControl(Dc, &R, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
  } else {
    if (!FTransparent) FillRect(Dc, &R, GetSysColorBrush(COLOR_BTNFACE));
    if (Pushed || (FMouseInControl && FState != bsDisabled)) {
      TRect E = R;
      DrawEdge(Dc, &E, Pushed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    }
  }
  C->Font()->Assign(GetFont());
  SelectObject(Dc, C->Font()->GetHandle());
  TRect Client = R;
  InflateRect(&Client, -1, -1);
  DrawButtonFace(C, Client, FGlyph.get(), FNumGlyphs, FState, GetCaption(), FLayout, FMargin, FSpacing,
                 Pushed ? TPoint{1, 1} : TPoint{0, 0});
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft && GetEnabled()) {
    if (!FDown) {
      FState = bsDown;
      Invalidate();
    }
    FDragging = true;
  }
}

void TSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  const bool Over = TRect{0, 0, FWidth, FHeight}.Contains({X, Y});
  TButtonState New = FDown ? bsExclusive : bsUp;
  if (Over && !FDown) New = bsDown;
  if (New != FState) {
    FState = New;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (!FDragging || Button != mbLeft) return;
  FDragging = false;
  const bool Over = TRect{0, 0, FWidth, FHeight}.Contains({X, Y});
  if (FGroupIndex == 0) {
    FState = bsUp;
    Invalidate();
    // A click in this control's own mouse handling: csClickEvents is off,
    // so the click comes from here and only when released over it.
    if (Over) Click();
    return;
  }
  if (Over) {
    SetDown(!FDown);
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
    Click();
  } else {
    FState = FDown ? bsExclusive : bsUp;
    Invalidate();
  }
}

void TSpeedButton::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      FMouseInControl = true;
      if (FFlat) Invalidate();
      break;
    case CM_MOUSELEAVE:
      FMouseInControl = false;
      if (FFlat) Invalidate();
      break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED: Invalidate(); break;
    case CM_BUTTONPRESSED:
      // Another of the group went down.
      break;
    default: break;
  }
  inherited::Dispatch(Message);
}
