// dxBarExtItemControls.cpp — the shared paint adapter and the controls of
// the list-like kinds (toolbars list, in-place sub-item).
#include "bars/extitems/dxBarExtItemControls.h"

#include <algorithm>

#include "bars/customize/dxBarCustomizing.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"
#include "controls/base/cxClasses.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Rects.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/ImageList.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/Timers.h"

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
