// dxBarExtItemControls.cpp — the shared paint adapter and the controls of
// the list-like kinds (toolbars list, in-place sub-item).
#include "bars/extitems/dxBarExtItemControls.h"

#include "bars/customize/dxBarCustomizing.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"
#include "controls/base/cxClasses.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Rects.h"
#include "platform/rtl/VirtualKeys.h"

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
