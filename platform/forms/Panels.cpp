#include "platform/forms/Panels.h"

#include <algorithm>

#include "platform/forms/ControlProps_p.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/Window.h"

void Frame3D(TCanvas* Canvas, TRect& R, TColor TopColor, TColor BottomColor, Integer Width) {
  Canvas->Pen()->SetWidth(1);
  --R.Right;
  --R.Bottom;
  for (Integer i = 0; i < Width; ++i) {
    Canvas->Pen()->SetColor(TopColor);
    Canvas->Polyline({TPoint{R.Left, R.Bottom}, TPoint{R.Left, R.Top}, TPoint{R.Right, R.Top}});
    Canvas->Pen()->SetColor(BottomColor);
    Canvas->Polyline({TPoint{R.Right, R.Top}, TPoint{R.Right, R.Bottom}, TPoint{R.Left - 1, R.Bottom}});
    R.Left += 1;
    R.Top += 1;
    R.Right -= 1;
    R.Bottom -= 1;
  }
  ++R.Right;
  ++R.Bottom;
}

// ===========================================================================
// TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks,
                   csReplicatable};
  FColor = clBtnFace;
  FParentColor = false;
  SetBounds(FLeft, FTop, 185, 41);
}

void TPanel::Published(TPublished<TPanel>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TPanel);
  P.Property("Alignment", &TPanel::GetAlignment, &TPanel::SetAlignment).Default(taCenter);
  P.Property("BevelInner", &TPanel::GetBevelInner, &TPanel::SetBevelInner).Default(bvNone);
  P.Property("BevelOuter", &TPanel::GetBevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
  P.Property("BevelWidth", &TPanel::GetBevelWidth, &TPanel::SetBevelWidth).Default(1);
  P.Property("BorderStyle", &TPanel::GetBorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
  P.Property("BorderWidth", &TPanel::GetBorderWidth, &TPanel::SetBorderWidth).Default(0);
  P.Property("Caption", &TPanel::GetCaption, &TPanel::SetCaption);
  P.Property("Color", &TPanel::GetColor, &TPanel::SetColor).Default(clBtnFace);
  P.Property("FullRepaint", &TPanel::GetFullRepaint, &TPanel::SetFullRepaint).Default(true);
  P.Property("Locked", &TPanel::GetLocked, &TPanel::SetLocked).Default(false);
  P.Property("ParentBackground", &TPanel::GetParentBackground, &TPanel::SetParentBackground);
  P.Property("ParentColor", &TPanel::GetParentColor, &TPanel::SetParentColor).Default(false);
  P.Property("TabStop", &TPanel::GetTabStop, &TPanel::SetTabStop).Default(false);
  P.Property("OnResize", &TPanel::OnResize, &TPanel::OnResize);
}

void TPanel::Changed() {
  Realign();
  Invalidate();
}

void TPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}
void TPanel::SetBevelInner(TPanelBevel Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  Changed();
}
void TPanel::SetBevelOuter(TPanelBevel Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  Changed();
}
void TPanel::SetBevelWidth(Integer Value) {
  if (FBevelWidth == Value || Value < 1) return;
  FBevelWidth = Value;
  Changed();
}
void TPanel::SetBorderWidth(Integer Value) {
  if (FBorderWidth == Value || Value < 0) return;
  FBorderWidth = Value;
  Changed();
}
void TPanel::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TPanel::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TPanel::AdjustClientRect(TRect& Rect) const {
  Integer B = FBorderWidth;
  if (FBevelOuter != bvNone) B += FBevelWidth;
  if (FBevelInner != bvNone) B += FBevelWidth;
  Rect.Left += B;
  Rect.Top += B;
  Rect.Right = std::max(Rect.Left, Rect.Right - B);
  Rect.Bottom = std::max(Rect.Top, Rect.Bottom - B);
}

void TPanel::Paint() {
  TCanvas* C = Canvas();
  TRect R = GetClientRect();
  auto Bevel = [&](TPanelBevel B) {
    if (B == bvNone) return;
    const TColor Top = B == bvLowered ? clBtnShadow : B == bvRaised ? clBtnHighlight : FColor;
    const TColor Bottom = B == bvLowered ? clBtnHighlight : B == bvRaised ? clBtnShadow : FColor;
    Frame3D(C, R, Top, Bottom, FBevelWidth);
  };
  Bevel(FBevelOuter);
  Frame3D(C, R, FColor, FColor, FBorderWidth);
  Bevel(FBevelInner);
  C->Brush()->SetColor(FColor);
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(R);
  const AnsiString Text = GetCaption();
  if (Text.empty()) return;
  C->Font()->Assign(GetFont());
  C->Brush()->SetStyle(bsClear);
  SelectObject(C->GetHandle(), C->Font()->GetHandle());
  SetTextColor(C->GetHandle(), ColorToRGB(GetFont()->GetColor()));
  AnsiString Copy = Text;
  const UINT Align = FAlignment == taLeftJustify ? DT_LEFT : FAlignment == taRightJustify ? DT_RIGHT : DT_CENTER;
  DrawTextA(C->GetHandle(), Copy.data(), int(Copy.size()), &R, Align | DT_SINGLELINE | DT_VCENTER);
}

void TPanel::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED) {
    inherited::Dispatch(Message);
    Invalidate();
    return;
  }
  inherited::Dispatch(Message);
}

// ===========================================================================
// TBevel

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(FLeft, FTop, 50, 50);
}

void TBevel::Published(TPublished<TBevel>& P) {
  P.Property("Align", &TBevel::GetAlign, &TBevel::SetAlign).Default(alNone);
  P.Property("Anchors", &TBevel::GetAnchors, &TBevel::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("Constraints", &TBevel::GetConstraints, &TBevel::SetConstraints);
  P.Property("ParentShowHint", &TBevel::GetParentShowHint, &TBevel::SetParentShowHint).Default(true);
  P.Property("Shape", &TBevel::GetShape, &TBevel::SetShape).Default(bsBox);
  P.Property("ShowHint", &TBevel::GetShowHint, &TBevel::SetShowHint);
  P.Property("Style", &TBevel::GetStyle, &TBevel::SetStyle).Default(bsLowered);
  P.Property("Visible", &TBevel::GetVisible, &TBevel::SetVisible).Default(true);
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* C = Canvas();
  const TColor Color1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor Color2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  const Integer W = FWidth, H = FHeight;
  auto Line = [&](TColor Color, TPoint A, TPoint B) {
    C->Pen()->SetColor(Color);
    C->Pen()->SetWidth(1);
    C->MoveTo(A.X, A.Y);
    C->LineTo(B.X, B.Y);
  };
  switch (FShape) {
    case bsBox: {
      TRect R{0, 0, W, H};
      Frame3D(C, R, Color1, Color2, 1);
      break;
    }
    case bsFrame: {
      // An etched frame: a shadow ring and a light ring one pixel in.
      TRect R{0, 0, W - 1, H - 1};
      Frame3D(C, R, Color1, Color1, 1);
      TRect R2{1, 1, W, H};
      Frame3D(C, R2, Color2, Color2, 1);
      break;
    }
    case bsTopLine:
      Line(Color1, {0, 0}, {W, 0});
      Line(Color2, {0, 1}, {W, 1});
      break;
    case bsBottomLine:
      Line(Color1, {0, H - 2}, {W, H - 2});
      Line(Color2, {0, H - 1}, {W, H - 1});
      break;
    case bsLeftLine:
      Line(Color1, {0, 0}, {0, H});
      Line(Color2, {1, 0}, {1, H});
      break;
    case bsRightLine:
      Line(Color1, {W - 2, 0}, {W - 2, H});
      Line(Color2, {W - 1, 0}, {W - 1, H});
      break;
    case bsSpacer: break;
  }
}

// ===========================================================================
// TShape

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FBrush(std::make_unique<TBrush>()), FPen(std::make_unique<TPen>()) {
  FControlStyle.Include(csReplicatable);
  FBrush->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
  FPen->OnChange = TNotifyEvent(this, &TShape::StyleChanged);
  SetBounds(FLeft, FTop, 65, 65);
}

TShape::~TShape() = default;

void TShape::Published(TPublished<TShape>& P) {
  P.Property("Align", &TShape::GetAlign, &TShape::SetAlign).Default(alNone);
  P.Property("Anchors", &TShape::GetAnchors, &TShape::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("Brush", &TShape::GetBrush, &TShape::SetBrush);
  P.Property("Constraints", &TShape::GetConstraints, &TShape::SetConstraints);
  P.Property("DragCursor", &TShape::GetDragCursor, &TShape::SetDragCursor).Default(crDrag);
  P.Property("DragMode", &TShape::GetDragMode, &TShape::SetDragMode).Default(dmManual);
  P.Property("Enabled", &TShape::GetEnabled, &TShape::SetEnabled).Default(true);
  P.Property("Pen", &TShape::GetPen, &TShape::SetPen);
  P.Property("Shape", &TShape::GetShape, &TShape::SetShape).Default(stRectangle);
  P.Property("Visible", &TShape::GetVisible, &TShape::SetVisible).Default(true);
  SX_PUBLISH_MOUSE_EVENTS(TShape);
}

void TShape::SetShape(TShapeType Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* C = Canvas();
  C->Pen()->Assign(FPen.get());
  C->Brush()->Assign(FBrush.get());
  // The pen stays inside the control: half its width in from each edge.
  const Integer PW = FPen->GetWidth();
  Integer X = PW / 2, Y = PW / 2;
  Integer W = FWidth - PW + 1, H = FHeight - PW + 1;
  if (PW == 0) {
    W -= 1;
    H -= 1;
  }
  if (W < H && (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle)) {
    Y += (H - W) / 2;
    H = W;
  } else if (H < W && (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle)) {
    X += (W - H) / 2;
    W = H;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: C->Rectangle(X, Y, X + W, Y + H); break;
    case stRoundRect:
    case stRoundSquare: {
      const Integer S = std::min(W, H) / 4;
      C->RoundRect(X, Y, X + W, Y + H, S, S);
      break;
    }
    case stEllipse:
    case stCircle: C->Ellipse(X, Y, X + W, Y + H); break;
  }
}

// ===========================================================================
// TImage

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  FControlStyle.Include(csReplicatable);
  FPicture->OnChange = TNotifyEvent(this, &TImage::PictureChanged);
  SetBounds(FLeft, FTop, 105, 105);
}

TImage::~TImage() = default;

void TImage::Published(TPublished<TImage>& P) {
  P.Property("Align", &TImage::GetAlign, &TImage::SetAlign).Default(alNone);
  P.Property("Anchors", &TImage::GetAnchors, &TImage::SetAnchors).Default(TAnchors{akLeft, akTop});
  P.Property("AutoSize", &TImage::GetAutoSize, &TImage::SetAutoSize).Default(false);
  P.Property("Center", &TImage::GetCenter, &TImage::SetCenter).Default(false);
  P.Property("Constraints", &TImage::GetConstraints, &TImage::SetConstraints);
  P.Property("DragCursor", &TImage::GetDragCursor, &TImage::SetDragCursor).Default(crDrag);
  P.Property("DragMode", &TImage::GetDragMode, &TImage::SetDragMode).Default(dmManual);
  P.Property("Enabled", &TImage::GetEnabled, &TImage::SetEnabled).Default(true);
  P.Property("ParentShowHint", &TImage::GetParentShowHint, &TImage::SetParentShowHint).Default(true);
  P.Property("Picture", &TImage::GetPicture, &TImage::SetPicture);
  P.Property("PopupMenu", &TImage::GetPopupMenu, &TImage::SetPopupMenu);
  P.Property("Proportional", &TImage::GetProportional, &TImage::SetProportional).Default(false);
  P.Property("ShowHint", &TImage::GetShowHint, &TImage::SetShowHint);
  P.Property("Stretch", &TImage::GetStretch, &TImage::SetStretch).Default(false);
  P.Property("Transparent", &TImage::GetTransparent, &TImage::SetTransparent).Default(false);
  P.Property("Visible", &TImage::GetVisible, &TImage::SetVisible).Default(true);
  P.Property("OnClick", &TImage::OnClick, &TImage::OnClick);
  P.Property("OnDblClick", &TImage::OnDblClick, &TImage::OnDblClick);
  SX_PUBLISH_MOUSE_EVENTS(TImage);
}

void TImage::SetStretch(bool Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  Invalidate();
}
void TImage::SetCenter(bool Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  Invalidate();
}
void TImage::SetProportional(bool Value) {
  if (FProportional == Value) return;
  FProportional = Value;
  Invalidate();
}
void TImage::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  PictureChanged(nullptr);
}

void TImage::PictureChanged(TObject*) {
  if (TGraphic* G = FPicture->GetGraphic()) {
    if (G->GetTransparent() != FTransparent) G->SetTransparent(FTransparent);
  }
  if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0) AdjustSize();
  Invalidate();
}

bool TImage::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  if (FPicture->Width() <= 0 || FPicture->Height() <= 0) return false;
  NewWidth = FPicture->Width();
  NewHeight = FPicture->Height();
  return true;
}

TRect TImage::DestRect() const {
  Integer W = FPicture->Width(), H = FPicture->Height();
  const Integer CW = FWidth, CH = FHeight;
  if (FStretch || (FProportional && (W > CW || H > CH))) {
    if (FProportional && W > 0 && H > 0) {
      // Keep the picture's shape: fit the longer side.
      if (Int64(CW) * H > Int64(CH) * W) {
        W = MulDiv(W, CH, H);
        H = CH;
      } else {
        H = MulDiv(H, CW, W);
        W = CW;
      }
    } else {
      W = CW;
      H = CH;
    }
  }
  TRect R{0, 0, W, H};
  if (FCenter) R = Bounds((CW - W) / 2, (CH - H) / 2, W, H);
  return R;
}

void TImage::Paint() {
  TGraphic* G = FPicture->GetGraphic();
  if (!G || G->Empty()) return;
  const TRect R = DestRect();
  if (R.Width() == G->GetWidth() && R.Height() == G->GetHeight()) Canvas()->Draw(R.Left, R.Top, G);
  else Canvas()->StretchDraw(R, G);
}

// ===========================================================================
// TScrollBox

TScrollBox::TScrollBox(TComponent* AOwner) : TWinControl(AOwner) {
  FControlStyle.Include(csAcceptsControls);
  FColor = clBtnFace;
  FParentColor = true;
  SetBounds(FLeft, FTop, 185, 41);
}

void TScrollBox::Published(TPublished<TScrollBox>& P) {
  SX_PUBLISH_WINCONTROL_BASICS(TScrollBox);
  P.Property("BorderStyle", &TScrollBox::GetBorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle);
  P.Property("Color", &TScrollBox::GetColor, &TScrollBox::SetColor);
  P.Property("ParentColor", &TScrollBox::GetParentColor, &TScrollBox::SetParentColor).Default(true);
  P.Property("TabStop", &TScrollBox::GetTabStop, &TScrollBox::SetTabStop).Default(false);
  P.Property("OnResize", &TScrollBox::OnResize, &TScrollBox::OnResize);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd() {
  inherited::CreateWnd();
  UpdateScrollBars();
}

// The extent of the children in unscrolled client coordinates.
TSize TScrollBox::Extent() const {
  Integer W = 0, H = 0;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* C = Controls(i);
    if (!C->GetVisible() || C->GetAlign() != alNone) continue;
    W = std::max(W, C->GetLeft() + FPos.X + C->GetWidth());
    H = std::max(H, C->GetTop() + FPos.Y + C->GetHeight());
  }
  return {W, H};
}

void TScrollBox::UpdateScrollBars() {
  if (!FHandle || FUpdating) return;
  FUpdating = true;
  const TSize E = Extent();
  TRect C;
  ::GetClientRect(FHandle, &C);
  auto Bar = [&](int Which, Integer Range, Integer Page, Integer Pos) {
    SCROLLINFO Si;
    Si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    Si.nMin = 0;
    Si.nMax = Range > Page ? Range - 1 : 0;
    Si.nPage = Range > Page ? UINT(Page) : 0;
    Si.nPos = Pos;
    SetScrollInfo(FHandle, Which, &Si, TRUE);
  };
  Bar(SB_HORZ, E.cx, C.Width(), FPos.X);
  Bar(SB_VERT, E.cy, C.Height(), FPos.Y);
  FUpdating = false;
}

void TScrollBox::ScrollTo(TPoint Pos) {
  const TSize E = Extent();
  const TRect C = GetClientRect();
  Pos.X = std::clamp<Integer>(Pos.X, 0, std::max<Integer>(0, E.cx - C.Width()));
  Pos.Y = std::clamp<Integer>(Pos.Y, 0, std::max<Integer>(0, E.cy - C.Height()));
  const Integer Dx = FPos.X - Pos.X, Dy = FPos.Y - Pos.Y;
  if (!Dx && !Dy) return;
  FPos = Pos;
  DisableAlign();
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* Ctl = Controls(i);
    if (Ctl->GetAlign() != alNone) continue;
    Ctl->SetBounds(Ctl->GetLeft() + Dx, Ctl->GetTop() + Dy, Ctl->GetWidth(), Ctl->GetHeight());
  }
  EnableAlign();
  UpdateScrollBars();
  Invalidate();
}

void TScrollBox::ScrollInView(TControl* Control) {
  if (!Control || !ContainsControl(Control)) return;
  const TRect C = GetClientRect();
  TPoint Pos = FPos;
  const Integer L = Control->GetLeft() + FPos.X, T = Control->GetTop() + FPos.Y;
  if (L < Pos.X) Pos.X = L;
  else if (L + Control->GetWidth() > Pos.X + C.Width()) Pos.X = L + Control->GetWidth() - C.Width();
  if (T < Pos.Y) Pos.Y = T;
  else if (T + Control->GetHeight() > Pos.Y + C.Height()) Pos.Y = T + Control->GetHeight() - C.Height();
  ScrollTo(Pos);
}

void TScrollBox::Scroll(int Bar, WORD Code) {
  SCROLLINFO Si;
  Si.fMask = SIF_ALL;
  GetScrollInfo(FHandle, Bar, &Si);
  Integer Pos = Bar == SB_HORZ ? FPos.X : FPos.Y;
  const Integer Page = std::max<Integer>(1, Integer(Si.nPage));
  switch (Code) {
    case SB_LINEUP: Pos -= 8; break;
    case SB_LINEDOWN: Pos += 8; break;
    case SB_PAGEUP: Pos -= Page; break;
    case SB_PAGEDOWN: Pos += Page; break;
    case SB_TOP: Pos = 0; break;
    case SB_BOTTOM: Pos = Si.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: Pos = Si.nTrackPos; break;
    default: return;
  }
  ScrollTo(Bar == SB_HORZ ? TPoint{Pos, FPos.Y} : TPoint{FPos.X, Pos});
}

void TScrollBox::AlignControls(TControl* AControl, TRect& Rect) {
  inherited::AlignControls(AControl, Rect);
  UpdateScrollBars();
}

void TScrollBox::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_HSCROLL:
      if (!Message.LParam) {
        Scroll(SB_HORZ, LOWORD(Message.WParam));
        return;
      }
      break;
    case WM_VSCROLL:
      if (!Message.LParam) {
        Scroll(SB_VERT, LOWORD(Message.WParam));
        return;
      }
      break;
    case WM_MOUSEWHEEL:
      ScrollTo({FPos.X, FPos.Y - 3 * 8 * GET_WHEEL_DELTA_WPARAM(Message.WParam) / 120});
      Message.Result = 1;
      return;
    default: break;
  }
  inherited::Dispatch(Message);
}
