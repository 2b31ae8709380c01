// dxBarExtItemControls.cpp — the shared paint adapter and the controls of
// the list-like kinds (toolbars list, in-place sub-item).
#include "bars/extitems/dxBarExtItemControls.h"

#include <algorithm>

#include "bars/customize/dxBarCustomizing.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/windows/dxBarWindowsInternal.h"
#include "controls/base/cxClasses.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Rects.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/FontTypes.h"
#include "platform/gdi/ImageList.h"
#include "platform/gdi/Regions.h"
#include "platform/rtl/MulDiv.h"
#include "bars/model/dxBarStrs.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/Timers.h"

namespace {
// Item texts are drawn in the font they were measured with.
void UseBarFont(const TdxBarItemControl* C, TCanvas* ACanvas) {
  if (TFont* F = dxBarMenuFont(C->GetBarManager())) ACanvas->SetFont(F);
  else if (C->Parent() && C->Parent()->Canvas() != ACanvas) ACanvas->SetFont(C->Parent()->Canvas()->Font());
}

}  // namespace

// ---------------------------------------------------------------------------
// Paint adapter

TdxBarPaintType TdxBarExtPaintWindow::PaintType() const {
  TCustomdxBarControl* P = FControl->Parent();
  if (!P) return ptHorz;
  return P->PaintType() == 1 ? ptMenu : P->PaintType() == 2 ? ptVert : ptHorz;
}

TRect TdxBarExtPaintWindow::ClientRect() const {
  TCustomdxBarControl* P = FControl->Parent();
  return P ? P->GetClientRect() : TRect{};
}

int TdxBarExtPaintWindow::ItemHeight() const {
  TCustomdxBarControl* P = FControl->Parent();
  return P ? P->TextSize() : 19;
}

TdxBarManager* TdxBarExtPaintWindow::Manager() const { return FControl->GetBarManager(); }

TdxBarItemControlPainterClass dxBarExtPainterOf(const TdxBarItemControl* AControl) {
  TCustomdxBarControl* P = AControl->Parent();
  TdxBarItemControlPainterClass Painter = P ? P->GetPainter() : nullptr;
  return Painter ? Painter : TdxBarItemControlPainter::Instance();
}

TdxBarItemPaint dxBarExtPaintOf(const TdxBarItemControl* AControl, const TdxBarPaintWindow& AWindow) {
  TdxBarItemPaint C;
  C.Control = const_cast<TdxBarItemControl*>(AControl);
  C.Window = &AWindow;
  C.Enabled = AControl->GetEnabled();
  C.Caption = AControl->GetCaption();
  return C;
}

// ---------------------------------------------------------------------------
// Toolbars list

TdxBarSubMenuControl* TdxBarToolbarsListItemControl::CreateSubMenuBar() {
  TdxBarManager* M = GetBarManager();
  TCustomdxBarSubItem* S = SubItem();
  if (!M || !S || M->IsCustomizing()) return nullptr;
  // The previous opening's entries lose their links here, so they are freed
  // at the next rebuild, after this menu no longer shows them.
  dxBarFreeUnusedTempItems();
  S->ItemLinks()->Clear();
  dxBarBuildToolbarsPopupLinks(M, S->ItemLinks());
  return TdxBarSubItemControl::CreateSubMenuBar();
}

// ---------------------------------------------------------------------------
// In-place sub-item

bool TdxBarInPlaceSubItemControl::InMenu() const { return dynamic_cast<TdxBarSubMenuControl*>(FParent) != nullptr; }

void TdxBarInPlaceSubItemControl::BeforeClick(bool ByMouse) {
  TdxBarSubItemControl::BeforeClick(ByMouse);
  if (!InMenu()) return;
  auto* Item = dynamic_cast<TdxBarInPlaceSubItem*>(GetItem());
  TCustomdxBarControl* Menu = FParent;
  if (!Item || !Menu) return;
  Integer Index = -1;
  if (Menu->SelectedControl() == this && FItemLink) Index = FItemLink->Index();
  TcxObjectLinkGuard ItemAlive(Item);
  Item->DoClick();
  if (!ItemAlive.Alive()) return;
  Item->SetExpanded(!Item->GetExpanded());
  // The menu was rebuilt: keep the highlight on the header row.
  if (Index >= 0 && IsLiveBarControl(Menu)) {
    TdxBarItemLinks* Links = Menu->ItemLinks();
    if (TdxBarItemLink* L = Links ? Links->GetItem(Index) : nullptr; L && L->GetItem() == Item && L->Control())
      Menu->SetSelectedControl(L->Control());
  }
}

void TdxBarInPlaceSubItemControl::DblClick() {
  if (GetEnabled()) BeforeClick(true);
}

void TdxBarInPlaceSubItemControl::KeyDown(WORD Key) {
  if (Key == VK_LEFT || Key == VK_RIGHT) BeforeClick(false);
}

bool TdxBarInPlaceSubItemControl::WantsKey(WORD Key) const {
  if (!InMenu()) return TdxBarContainerItemControl::WantsKey(Key);
  auto* Item = dynamic_cast<TdxBarInPlaceSubItem*>(GetItem());
  const bool Expanded = Item && Item->GetExpanded();
  return (Key == VK_LEFT && Expanded) || (Key == VK_RIGHT && !Expanded);
}

bool TdxBarInPlaceSubItemControl::HasSubMenu() const {
  if (InMenu()) return false;
  TdxBarManager* M = GetBarManager();
  return !(M && M->IsCustomizing());
}

Integer TdxBarInPlaceSubItemControl::GetHeight() const {
  return TdxBarContainerItemControl::GetHeight() + (InMenu() ? 1 : 0);
}

Integer TdxBarInPlaceSubItemControl::GetWidth() const {
  if (!InMenu()) return TdxBarContainerItemControl::GetWidth();
  return TextExtent(GetCaption()).cx + FParent->TextSize() + 5;
}

void TdxBarInPlaceSubItemControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  if (PaintType != 1) {
    TdxBarContainerItemControl::Draw(ACanvas, R, PaintType);
    return;
  }
  if (IsRectEmpty(&R)) return;
  auto* Item = dynamic_cast<TdxBarInPlaceSubItem*>(GetItem());
  UseBarFont(this, ACanvas);
  TdxBarExtPaintWindow W(this);
  dxBarExtPainterOf(this)->DrawInPlaceSubItem(dxBarExtPaintOf(this, W), ACanvas->GetHandle(), R,
                                              Item && Item->GetExpanded(), IsSelected());
}

// ---------------------------------------------------------------------------
// Spin edit

namespace {
// The one spin edit control whose button is held (the mouse has one button
// down at a time); its timers find it here.
TdxBarSpinEditControl* GTracking = nullptr;

void SpinTimerProc(HWND, UINT, UINT_PTR Id, DWORD) {
  if (GTracking) GTracking->TimerFired(Id);
}
}  // namespace

TdxBarSpinEditControl::~TdxBarSpinEditControl() { StopTracking(); }

TdxBarSpinEdit* TdxBarSpinEditControl::SpinEdit() const { return dynamic_cast<TdxBarSpinEdit*>(GetItem()); }

Integer TdxBarSpinEditControl::StripWidth(Integer Width, Integer Height, Integer& K) {
  K = ((Height / 2) - 2) / 2;
  const Integer W = 4 * K + 3;
  return K > 0 && W < Width / 2 ? W : 0;
}

TRect TdxBarSpinEditControl::EditRect() const {
  TRect R = TdxBarEditControl::EditRect();
  if (!FParent) return R;
  const TRect Link = FParent->GetLinkRect(const_cast<TdxBarSpinEditControl*>(this));
  Integer K = 0;
  R.Right -= StripWidth(Link.Width(), Link.Height(), K);
  return R;
}

void TdxBarSpinEditControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  FButtonsRect = {};
  if (IsRectEmpty(&R)) return;
  Integer K = 0;
  const Integer W = StripWidth(R.Width(), R.Height(), K);
  TRect EditPart = R;
  EditPart.Right -= W;
  TdxBarEditControl::Draw(ACanvas, EditPart, PaintType);
  if (W == 0) return;
  TdxBarExtPaintWindow Window(this);
  const TdxBarItemPaint C = dxBarExtPaintOf(this, Window);
  TdxBarItemControlPainterClass Painter = dxBarExtPainterOf(this);
  TRect S{EditPart.Right, R.Top, EditPart.Right + W, R.Bottom};
  Painter->DrawSpinEditBorder(C, ACanvas->GetHandle(), S);
  FButtonsRect = S;
  const Integer Half = S.Height() / 2;
  const Integer A = 2 * K - 1;
  const TRect Up{S.Left, S.Top, S.Right, S.Top + Half};
  const TRect Down{S.Left, S.Top + Half, S.Right, S.Bottom};
  const bool Hot = IsSelected();
  Painter->DrawSpinButton(C, ACanvas->GetHandle(), FButtonIsDown && FPressedButton == sbUp, Hot, 1, (A + 1) / 2,
                          (Half - (A + 1) / 2) / 2, Up);
  Painter->DrawSpinButton(C, ACanvas->GetHandle(), FButtonIsDown && FPressedButton == sbDown, Hot, 2, (A + 1) / 2,
                          (Half - (A + 1) / 2) / 2, Down);
}

TdxBarSpinEditButton TdxBarSpinEditControl::HitTest(TPoint P) const {
  TdxBarSpinEdit* E = SpinEdit();
  if (!E || E->GetReadOnly() || !PtInRect(&FButtonsRect, P)) return sbNone;
  return P.Y < (FButtonsRect.Top + FButtonsRect.Bottom) / 2 ? sbUp : sbDown;
}

bool TdxBarSpinEditControl::PointerOnPressedButton() const {
  if (!FParent || !FParent->HandleAllocated()) return false;
  TPoint P;
  GetCursorPos(&P);
  return HitTest(FParent->ScreenToClient(P)) == FPressedButton;
}

void TdxBarSpinEditControl::SetPressedButton(TdxBarSpinEditButton Value) {
  if (FPressedButton == Value) return;
  FPressedButton = Value;
  SetButtonIsDown(Value != sbNone);
}

void TdxBarSpinEditControl::SetButtonIsDown(bool Value) {
  if (FButtonIsDown == Value) return;
  FButtonIsDown = Value;
  Repaint();
}

void TdxBarSpinEditControl::DropStaleTracking() {
  // The mouse button went up since the press: the bar window tracks this
  // control no more.
  if (FRepeatTimer && !(FParent && IsLiveBarControl(FParent) && FParent->PressedControl() == this)) StopTracking();
}

void TdxBarSpinEditControl::BeforeClick(bool ByMouse) {
  DropStaleTracking();
  TPoint P{-1, -1};
  if (ByMouse && FParent && FParent->HandleAllocated()) {
    GetCursorPos(&P);
    P = FParent->ScreenToClient(P);
  }
  const TdxBarSpinEditButton B = ByMouse ? HitTest(P) : sbNone;
  if (B == sbNone) {
    TdxBarEditControl::BeforeClick(ByMouse);
    return;
  }
  if (FPressedButton != sbNone) return;
  SetPressedButton(B);
  TcxObjectLinkGuard Alive(this);
  SpinEdit()->ButtonClick(B);
  if (!Alive.Alive()) return;
  StopTracking();
  FPressedButton = B;
  FButtonIsDown = true;
  GTracking = this;
  FRepeatId = 1;
  const UINT First = GetDoubleClickTime() > 100 ? GetDoubleClickTime() - 100 : 1;
  FRepeatTimer = SetTimer(nullptr, 0, First, SpinTimerProc);
}

void TdxBarSpinEditControl::Click(bool ByMouse) {
  // A press on a button has stepped already.
  if (FRepeatTimer) return;
  TdxBarEditControl::Click(ByMouse);
}

void TdxBarSpinEditControl::TimerFired(UINT_PTR) {
  // The press ends with the mouse button: the bar window stops tracking
  // this control when the button goes up.
  if (!FParent || !IsLiveBarControl(FParent) || FParent->PressedControl() != this) {
    StopTracking();
    return;
  }
  if (FRepeatId == 1) {
    KillTimer(nullptr, FRepeatTimer);
    FRepeatId = 2;
    FRepeatTimer = SetTimer(nullptr, 0, 100, SpinTimerProc);
  }
  // Off the button the repeat pauses; it goes on when the pointer returns.
  SetButtonIsDown(PointerOnPressedButton());
  if (FButtonIsDown) {
    TcxObjectLinkGuard Alive(this);
    SpinEdit()->ButtonClick(FPressedButton);
    if (!Alive.Alive()) return;
  }
}

void TdxBarSpinEditControl::StopTracking() {
  if (FRepeatTimer) KillTimer(nullptr, FRepeatTimer);
  FRepeatTimer = 0;
  FRepeatId = 0;
  if (GTracking == this) GTracking = nullptr;
  SetPressedButton(sbNone);
}

void TdxBarSpinEditControl::MouseWheel(int Delta) {
  if (TdxBarSpinEdit* E = SpinEdit()) E->ButtonClick(Delta > 0 ? sbUp : sbDown);
}

void TdxBarSpinEditControl::StartEditing() {
  TdxBarEditControl::StartEditing();
  if (!FEdit) return;
  FEdit->OnKeyPress = TKeyPressEvent(this, &TdxBarSpinEditControl::EditKeyPress);
  FEdit->OnKeyUp = TKeyEvent(this, &TdxBarSpinEditControl::EditKeyUp);
}

bool TdxBarSpinEditControl::EditKey(WORD& Key) {
  TdxBarSpinEdit* E = SpinEdit();
  if (!E || (Key != VK_UP && Key != VK_DOWN)) return false;
  DropStaleTracking();
  if (!E->GetReadOnly() && !FRepeatTimer) {
    const TdxBarSpinEditButton B = Key == VK_UP ? sbUp : sbDown;
    SetPressedButton(B);
    E->ButtonClick(B);
  }
  return true;
}

void TdxBarSpinEditControl::EditKeyUp(TObject*, Word& Key, TShiftState) {
  DropStaleTracking();
  if ((Key == VK_UP || Key == VK_DOWN) && !FRepeatTimer) SetPressedButton(sbNone);
}

void TdxBarSpinEditControl::EditKeyPress(TObject*, char& Key) {
  if (TdxBarSpinEdit* E = SpinEdit(); E && !E->AcceptsChar(Key)) Key = 0;
}

// ---------------------------------------------------------------------------
// Image combo

TdxBarImageCombo* TdxBarImageComboControl::ImageCombo() const { return dynamic_cast<TdxBarImageCombo*>(GetItem()); }

Integer TdxBarImageComboControl::GetHeight() const {
  Integer H = TdxBarComboControl::GetHeight();
  TdxBarImageCombo* I = ImageCombo();
  if (I && I->GetImages() && FParent && FParent->PaintType() != 2) H = std::max(H, I->GetImages()->GetHeight() + 6);
  return H;
}

void TdxBarImageComboControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  TdxBarComboControl::Draw(ACanvas, R, PaintType);
  TdxBarImageCombo* I = ImageCombo();
  if (IsRectEmpty(&R) || !I || !I->GetImages() || FEdit) return;
  TRect T = EditRect();
  T.Left += 1;
  ACanvas->Brush()->SetColor(clWindow);
  ACanvas->Font()->SetColor(GetEnabled() ? clWindowText : clGrayText);
  I->DrawItem(ACanvas, I->GetItemIndex(), T, false, false);
}

// ---------------------------------------------------------------------------
// Static

namespace {
constexpr Integer ToolbarButtonWidth = 23;
constexpr Integer ToolbarButtonHeight = 22;

bool IsVerticalBar(const TdxBarItemControl* C) { return C->Parent() && C->Parent()->PaintType() == 2; }
bool IsMenu(const TdxBarItemControl* C) { return C->Parent() && C->Parent()->PaintType() == 1; }

AnsiString WithoutAccelMarks(const AnsiString& S) {
  AnsiString R;
  for (std::size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '&' && I + 1 < S.size()) ++I;
    R += S[I];
  }
  return R;
}

// A text's width on the font the bar window draws its items with.
struct TExtentOf : TdxBarItemControl {
  static Integer Width(const TdxBarItemControl* C, const AnsiString& S) {
    return (C->*(&TExtentOf::TextExtent))(S).cx;
  }
};
Integer CaptionWidth(const TdxBarItemControl* C, const AnsiString& S) {
  return C->Parent() ? TExtentOf::Width(C, WithoutAccelMarks(S)) : Integer(S.size()) * 6;
}

void FillBarBackground(const TdxBarItemControl* C, TCanvas* ACanvas, const TRect& R) {
  if (IsRectEmpty(&R)) return;
  TdxBarExtPaintWindow W(C);
  dxBarExtPainterOf(C)->DrawBackground(dxBarExtPaintOf(C, W), ACanvas->GetHandle(), false, W.CurrentBrush(), R);
}
}  // namespace

TdxBarStatic* TdxBarStaticControl::Static() const { return dynamic_cast<TdxBarStatic*>(GetItem()); }

bool TdxBarStaticControl::IsClickable() const { return Static() && Static()->GetAllowClick(); }

bool TdxBarStaticControl::CanSelect() const {
  TdxBarManager* M = GetBarManager();
  return IsClickable() || (M && M->IsCustomizing());
}

TAlignment TdxBarStaticControl::GetTextAlignment() const { return Static() ? Static()->GetAlignment() : taCenter; }

bool TdxBarStaticControl::HasImage() const {
  TdxBarItem* I = GetItem();
  return I && ((I->GetGlyph() && !I->GetGlyph()->Empty()) || I->GetImageIndex() >= 0);
}

Integer TdxBarStaticControl::CalcContentWidth() const {
  TdxBarStatic* S = Static();
  if (!S) return 0;
  const bool Caption = S->GetShowCaption();
  Integer W = Caption ? CaptionWidth(this, GetCaption()) : 0;
  if (HasImage() || (!Caption && !DrawsOwnContent()))
    W += (IsVerticalBar(this) ? ToolbarButtonHeight : ToolbarButtonWidth) + (Caption ? 4 : 0);
  else if (Caption && FParent)
    W += FParent->TextSize() / 2;
  return W + S->GetLeftIndent() + S->GetRightIndent() + 2 * S->BorderWidth();
}

Integer TdxBarStaticControl::CalcDefaultWidth() const {
  TdxBarStatic* S = Static();
  return S && S->GetWidth() ? S->GetWidth() : CalcContentWidth();
}

Integer TdxBarStaticControl::CalcDefaultHeight() const {
  TdxBarStatic* S = Static();
  if (!S || !FParent) return 0;
  if (S->GetHeight()) return S->GetHeight();
  Integer H;
  if (IsMenu(this)) H = FParent->TextSize();
  else {
    const bool ImageCell = HasImage() || (!S->GetShowCaption() && !DrawsOwnContent());
    H = ImageCell ? (IsVerticalBar(this) ? ToolbarButtonWidth : ToolbarButtonHeight) : 0;
    if ((S->GetShowCaption() || !ImageCell) && FParent->TextSize() - 3 > H) H = FParent->TextSize() - 3;
  }
  return H + 2 * S->BorderWidth();
}

Integer TdxBarStaticControl::GetWidth() const {
  // Vertical toolbars turn the item: its width runs across the bar.
  return IsVerticalBar(this) ? CalcDefaultHeight() : CalcDefaultWidth();
}

Integer TdxBarStaticControl::GetHeight() const { return IsVerticalBar(this) ? CalcDefaultWidth() : CalcDefaultHeight(); }

void TdxBarStaticControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  TdxBarStatic* S = Static();
  if (IsRectEmpty(&R) || !S) return;
  TRect Content = R;
  const bool Vertical = PaintType == 2;
  if (Vertical) {
    FillBarBackground(this, ACanvas, {R.Left, R.Top, R.Right, R.Top + S->GetLeftIndent()});
    FillBarBackground(this, ACanvas, {R.Left, R.Bottom - S->GetRightIndent(), R.Right, R.Bottom});
    Content.Top += S->GetLeftIndent();
    Content.Bottom -= S->GetRightIndent();
  } else {
    FillBarBackground(this, ACanvas, {R.Left, R.Top, R.Left + S->GetLeftIndent(), R.Bottom});
    FillBarBackground(this, ACanvas, {R.Right - S->GetRightIndent(), R.Top, R.Right, R.Bottom});
    Content.Left += S->GetLeftIndent();
    Content.Right -= S->GetRightIndent();
  }
  dxBarExtPainterOf(this)->DrawStaticBorder(ACanvas->GetHandle(), S->GetBorderStyle(), S->BorderWidth(), Content);
  DrawContent(ACanvas, Content, PaintType);
}

void TdxBarStaticControl::DrawContent(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  TdxBarStatic* S = Static();
  UseBarFont(this, ACanvas);
  TdxBarExtPaintWindow W(this);
  TdxBarItemPaint C = dxBarExtPaintOf(this, W);
  C.Glyph = S->GetGlyph();
  C.ImageIndex = S->GetImageIndex();
  TdxBarItemControlPainterClass Painter = dxBarExtPainterOf(this);
  const HDC DC = ACanvas->GetHandle();
  TRect Text = R;
  Integer Margin;
  if (HasImage()) {
    TRect Cell = R;
    if (S->GetShowCaption()) {
      if (PaintType == 1) Cell.Right = Cell.Left + R.Height();
      else if (PaintType == 2) Cell.Bottom = Cell.Top + ToolbarButtonHeight;
      else Cell.Right = Cell.Left + ToolbarButtonWidth;
    }
    Painter->DrawControlGlyph(C, DC, false, false, false, true, Cell);
    if (PaintType == 2) Text.Top = Cell.Bottom;
    else Text.Left = Cell.Right;
    Margin = 2;
  } else {
    Margin = FParent ? FParent->TextSize() / 4 : 4;
  }
  Painter->DrawBackground(C, DC, false, W.CurrentBrush(), Text);
  if (!S->GetShowCaption()) return;
  const TAlignment A = GetTextAlignment();
  if (A == taLeftJustify) (PaintType == 2 ? Text.Top : Text.Left) += Margin;
  else if (A == taRightJustify) (PaintType == 2 ? Text.Bottom : Text.Right) -= Margin;
  const int Align = A == taLeftJustify ? DT_LEFT : A == taRightJustify ? DT_RIGHT : DT_CENTER;
  Painter->DrawItemText(C, DC, GetEnabled(), false, false, PaintType == 2, true, Align, Text, GetCaption());
}

// ---------------------------------------------------------------------------
// Progress

TdxBarProgressItem* TdxBarProgressControl::Progress() const { return dynamic_cast<TdxBarProgressItem*>(GetItem()); }

TColor TdxBarProgressControl::GetBarColor() const {
  TdxBarProgressItem* P = Progress();
  return P && P->GetColor() != clDefault ? P->GetColor() : dxBarExtPainterOf(this)->GetProgressColor();
}

Integer TdxBarProgressControl::CalcDefaultWidth() const {
  TdxBarProgressItem* P = Progress();
  Integer W = TdxBarStaticControl::CalcDefaultWidth();
  if (P && P->GetWidth() == 0) W += 152 + (P->GetShowCaption() ? 0 : 2);
  return W + dxBarExtPainterOf(this)->GetProgressBarIndent();
}

Integer TdxBarProgressControl::CalcDefaultHeight() const {
  TdxBarProgressItem* P = Progress();
  const Integer Bar = dxBarExtPainterOf(this)->GetProgressBarSize() + 2 * (P ? P->BorderWidth() : 0) + 2;
  return std::max(TdxBarStaticControl::CalcDefaultHeight(), Bar);
}

TRect TdxBarProgressControl::BarRect(const TRect& R) const {
  TdxBarProgressItem* P = Progress();
  if (!P) return {};
  const bool Vertical = IsVerticalBar(this);
  const Integer LinkLength = Vertical ? R.Height() : R.Width();
  Integer Length = (P->GetWidth() == 0 && P->GetAlign() != iaClient && !IsMenu(this)) ? 150
                   : LinkLength - CalcContentWidth() - (P->GetShowCaption() ? 2 : 4);
  Length = std::max<Integer>(Length - dxBarExtPainterOf(this)->GetProgressBarIndent(), 0);
  const Integer Across = (Vertical ? R.Width() : R.Height());
  Integer Thick = std::max<Integer>(MulDiv(Across - 2 * P->BorderWidth(), 2, 3), 0);
  // Thickness and link height of one parity centre the bar exactly.
  if ((Thick & 1) != (Across & 1)) ++Thick;
  const Integer End = P->BorderWidth() + P->GetRightIndent() + 2;
  if (Vertical) {
    const Integer L = R.Left + (Across - Thick) / 2;
    return {L, R.Bottom - End - Length, L + Thick, R.Bottom - End};
  }
  const Integer T = R.Top + (Across - Thick) / 2;
  return {R.Right - End - Length, T, R.Right - End, T + Thick};
}

void TdxBarProgressControl::DrawContent(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  TdxBarProgressItem* P = Progress();
  const TRect Link = FItemLink ? FItemLink->GetItemRect() : R;
  const TRect Bar = BarRect(Link);
  const HDC DC = ACanvas->GetHandle();
  const int Saved = SaveDC(DC);
  try {
    ExcludeClipRect(DC, Bar.Left, Bar.Top, Bar.Right, Bar.Bottom);
    TdxBarStaticControl::DrawContent(ACanvas, R, PaintType);
  } catch (...) {
    RestoreDC(DC, Saved);
    throw;
  }
  RestoreDC(DC, Saved);
  TdxBarExtPaintWindow W(this);
  // The painter shows an empty range as an empty bar; it never divides by
  // the range's width when Max equals Min.
  dxBarExtPainterOf(this)->DrawProgressBar(dxBarExtPaintOf(this, W), DC, P->GetMin(), P->GetMax(), P->GetPosition(),
                                           P->GetSmooth(), GetBarColor(), Bar);
}

// ---------------------------------------------------------------------------
// Large button

TdxBarLargeButton* TdxBarLargeButtonControl::Large() const { return dynamic_cast<TdxBarLargeButton*>(GetItem()); }

bool TdxBarLargeButtonControl::InMenu() const { return IsMenu(this); }

bool TdxBarLargeButtonControl::HasPicture() const {
  TdxBarLargeButton* B = Large();
  return B && !B->GetLargeGlyph()->Empty();
}

TSize TdxBarLargeButtonControl::PictureSize() const {
  TdxBarLargeButton* B = Large();
  if (B && !B->GetLargeGlyph()->Empty()) return {B->GetLargeGlyph()->GetWidth(), B->GetLargeGlyph()->GetHeight()};
  return {20, 20};
}

Integer TdxBarLargeButtonControl::GetHeight() const {
  TdxBarLargeButton* B = Large();
  if (!B || InMenu()) return TdxBarButtonControl::GetHeight();
  if (B->GetHeight()) return B->GetHeight();
  Integer H = HasPicture() ? PictureSize().cy + 6 : 26;
  if (B->GetShowCaption()) {
    const Integer Text = FParent && FParent->HandleAllocated() ? FParent->Canvas()->TextHeight("Qq") : 13;
    if (B->GetGlyphLayout() == glLeft || B->GetGlyphLayout() == glRight) H = std::max(H, Text + 6);
    else H += Text + 1;
  }
  return H;
}

Integer TdxBarLargeButtonControl::GetWidth() const {
  TdxBarLargeButton* B = Large();
  if (!B || InMenu()) return TdxBarButtonControl::GetWidth();
  Integer W = B->GetWidth();
  if (!W) {
    W = HasPicture() ? PictureSize().cx + 10 : 30;
    if (B->GetShowCaption()) {
      const Integer Text = CaptionWidth(this, GetCaption());
      if (B->GetGlyphLayout() == glTop || B->GetGlyphLayout() == glBottom) W = std::max(W, Text + 16);
      else W += Text + 6;
    }
  }
  if (B->GetButtonStyle() == bsDropDown) W += GetArrowWidth();
  return W;
}

void TdxBarLargeButtonControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  TdxBarLargeButton* B = Large();
  if (PaintType == 1 || !B) {
    TdxBarButtonControl::Draw(ACanvas, R, PaintType);
    return;
  }
  if (IsRectEmpty(&R)) return;
  TRect Main = R;
  if (B->GetButtonStyle() == bsDropDown) Main.Right -= GetArrowWidth();
  TdxBarExtPaintWindow W(this);
  TdxBarItemPaint C = dxBarExtPaintOf(this, W);
  const bool Selected = IsSelected();
  const bool Down = B->GetDown();
  const bool Pressed = (Selected && FParent->PressedControl() == this) || FClicking;
  TdxBarItemControlPainterClass Painter = dxBarExtPainterOf(this);
  UseBarFont(this, ACanvas);
  const HDC DC = ACanvas->GetHandle();
  TRect Content = Main;
  InflateRect(&Content, -1, -1);
  const TSize Pic = PictureSize();
  TRect Cell{0, 0, Pic.cx, Pic.cy};
  auto CentreH = [&] { return Content.Left + (Content.Width() - Pic.cx) / 2; };
  auto CentreV = [&] { return Content.Top + (Content.Height() - Pic.cy) / 2; };
  Integer X = CentreH(), Y = CentreV();
  TRect Text = Content;
  int Align = DT_CENTER;
  if (B->GetShowCaption()) switch (B->GetGlyphLayout()) {
      case glLeft: X = Content.Left + 4; Text.Left = X + Pic.cx + 3; Align = DT_LEFT; break;
      case glRight: X = Content.Right - Pic.cx - 4; Text.Right = X - 3; Align = DT_RIGHT; break;
      case glTop: Y = Content.Top + 2; Text.Top = Y + Pic.cy; break;
      case glBottom: Y = Content.Bottom - Pic.cy - 2; Text.Bottom = Y; break;
    }
  OffsetRect(&Cell, X, Y);
  C.Glyph = (Selected && !B->GetHotGlyph()->Empty()) ? B->GetHotGlyph() : B->GetLargeGlyph();
  Painter->DrawGlyphAndBorder(C, DC, Pressed, Down, Selected, !HasPicture(), Main, Cell);
  if (B->GetShowCaption())
    Painter->DrawItemText(C, DC, GetEnabled(), Selected, false, PaintType == 2, true, Align, Text, GetCaption());
}

// ---------------------------------------------------------------------------
// Control container

namespace {
bool GPlacing = false;
}

bool TdxBarControlContainerControl::Placing() { return GPlacing; }

TdxBarControlContainerControl::~TdxBarControlContainerControl() { HideHostedControl(); }

TdxBarControlContainerItem* TdxBarControlContainerControl::Container() const {
  return dynamic_cast<TdxBarControlContainerItem*>(GetItem());
}

bool TdxBarControlContainerControl::CanSelect() const {
  TdxBarManager* M = GetBarManager();
  return M && M->IsDesigning();
}

void TdxBarControlContainerControl::HideHostedControl() {
  TdxBarControlContainerItem* I = Container();
  if (!FPlaced || !I || !I->GetControl()) return;
  FPlaced = false;
  TControl* C = I->GetControl();
  if (C->ComponentState().Contains(csDestroying)) return;
  GPlacing = true;
  C->SetVisible(false);
  C->SetParent(nullptr);
  GPlacing = false;
}

void TdxBarControlContainerControl::BarWindowDestroying() { HideHostedControl(); }

Integer TdxBarControlContainerControl::GetHeight() const {
  TdxBarControlContainerItem* I = Container();
  if (I && I->GetControl()) return I->GetControl()->GetHeight();
  if (!FParent) return 0;
  return IsMenu(this) ? FParent->TextSize() : std::max(FParent->TextSize(), ToolbarButtonHeight);
}

Integer TdxBarControlContainerControl::GetWidth() const {
  TdxBarControlContainerItem* I = Container();
  if (I && I->GetControl()) return I->GetControl()->GetWidth();
  const Integer Name = CaptionWidth(this, I ? I->GetName() : AnsiString());
  if (!FParent) return Name;
  if (IsMenu(this)) return Name + 2 * FParent->TextSize() + dxBarExtPainterOf(this)->GetContainerIndent() + 6;
  return Name + 8;
}

void TdxBarControlContainerControl::PlaceControl(const TRect& R) {
  TdxBarControlContainerItem* I = Container();
  TdxBarManager* M = GetBarManager();
  if (!I || !I->GetControl() || (M && M->IsDesigning()) || GPlacing || !FParent) return;
  GPlacing = true;
  try {
    TControl* C = I->GetControl();
    if (C->GetParent() != FParent) C->SetParent(FParent);
    if (!IsRectEmpty(&R)) {
      C->SetBounds(R.Left, R.Top, R.Width(), R.Height());
      C->SetVisible(true);
    }
    FPlaced = true;
  } catch (...) {
    GPlacing = false;
    throw;
  }
  GPlacing = false;
}

void TdxBarControlContainerControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  (void)PaintType;
  TdxBarControlContainerItem* I = Container();
  TdxBarManager* M = GetBarManager();
  if (I && I->GetControl() && !(M && M->IsDesigning())) {
    PlaceControl(R);
    return;
  }
  if (IsRectEmpty(&R)) return;
  // The placeholder: a hatched frame naming what goes there.
  FillBarBackground(this, ACanvas, R);
  ACanvas->Brush()->SetColor(clBtnShadow);
  ACanvas->FrameRect(R);
  TRect Inner = R;
  InflateRect(&Inner, -1, -1);
  ACanvas->Brush()->SetStyle(bsBDiagonal);
  ACanvas->Brush()->SetColor(clBtnShadow);
  SetBkColor(ACanvas->GetHandle(), ColorToRGB(clBtnFace));
  ACanvas->FillRect(Inner);
  ACanvas->Brush()->SetStyle(bsSolid);
  UseBarFont(this, ACanvas);
  const AnsiString Name = I && I->GetControl() ? I->GetControl()->GetName() : I ? I->GetName() : AnsiString();
  TdxBarExtPaintWindow W(this);
  dxBarExtPainterOf(this)->DrawItemText(dxBarExtPaintOf(this, W), ACanvas->GetHandle(), true, false, false, false,
                                        true, DT_CENTER, Inner, dxBarStr(dxSBAR_PLACEFORCONTROL) + Name);
}

// ---------------------------------------------------------------------------
// Date combo

TdxBarDateCombo* TdxBarDateComboControl::DateCombo() const { return dynamic_cast<TdxBarDateCombo*>(GetItem()); }

void TdxBarDateComboControl::StartEditing() {
  TCustomdxBarComboControl::StartEditing();
  if (FEdit) FEdit->OnKeyPress = TKeyPressEvent(this, &TdxBarDateComboControl::EditKeyPress);
}

void TdxBarDateComboControl::EditKeyPress(TObject*, char& Key) {
  TdxBarDateCombo* D = DateCombo();
  if (!D || !FEdit || (Key != '+' && Key != '-')) return;
  const double Date = D->ParseText(FEdit->GetText());
  if (Date != dxBarNullDate) {
    FEdit->SetText(D->DateToDisplayText(D->CheckRange(Date + (Key == '+' ? 1 : -1))));
    FEdit->SelectAll();
  }
  Key = 0;
}

// ---------------------------------------------------------------------------
// Colour combo

TdxBarColorCombo* TdxBarColorComboControl::ColorCombo() const { return dynamic_cast<TdxBarColorCombo*>(GetItem()); }

void TdxBarColorComboControl::CommitText(const AnsiString& AText) {
  if (TdxBarColorCombo* C = ColorCombo(); C && !C->GetReadOnly()) C->SetText(AText);
}

AnsiString TdxBarColorComboControl::ItemText() const { return ColorCombo() ? ColorCombo()->GetText() : AnsiString(); }

void TdxBarColorComboControl::Draw(TCanvas* ACanvas, const TRect& R, Integer PaintType) {
  TCustomdxBarComboControl::Draw(ACanvas, R, PaintType);
  TdxBarColorCombo* I = ColorCombo();
  if (IsRectEmpty(&R) || !I || FEdit) return;
  TRect T = EditRect();
  UseBarFont(this, ACanvas);
  ACanvas->Brush()->SetColor(clWindow);
  ACanvas->Font()->SetColor(GetEnabled() ? clWindowText : clGrayText);
  I->DrawItem(ACanvas, I->GetItemIndex(), T, false);
}

// ---------------------------------------------------------------------------
// Font-name combo

void TdxBarFontNameComboControl::CommitText(const AnsiString& AText) {
  if (auto* C = dynamic_cast<TdxBarCustomCombo*>(GetItem()); C && !C->GetReadOnly()) C->SetText(AText);
}

AnsiString TdxBarFontNameComboControl::ItemText() const {
  auto* C = dynamic_cast<TdxBarCustomCombo*>(GetItem());
  return C ? C->GetText() : AnsiString();
}
