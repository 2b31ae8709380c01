#include "bars/model/dxBar.h"
#include "bars/model/dxBarCustomizingHooks.h"

#include "bars/items/dxBarItem.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"

// ---------------------------------------------------------------------------
// TdxBar

void TdxBar::Published(TPublished<TdxBar>& P) {
  P.Property("AllowClose", &TdxBar::FAllowClose, &TdxBar::FAllowClose).Default(true);
  P.Property("AllowCustomizing", &TdxBar::FAllowCustomizing, &TdxBar::FAllowCustomizing).Default(true);
  P.Property("AllowQuickCustomizing", &TdxBar::FAllowQuickCustomizing, &TdxBar::FAllowQuickCustomizing)
      .Default(true);
  P.Property("AllowReset", &TdxBar::FAllowReset, &TdxBar::FAllowReset).Default(true);
  P.Property("BorderStyle", &TdxBar::FBorderStyle, &TdxBar::FBorderStyle).Default(bbsSingle);
  P.Property("Caption", &TdxBar::GetCaption, &TdxBar::SetCaption);
  P.Property("DockControl", &TdxBar::GetDockControl, &TdxBar::SetDockControl);
  P.Property("DockedDockingStyle", &TdxBar::GetDockedDockingStyle, &TdxBar::SetDockedDockingStyle);
  P.Property("DockedLeft", &TdxBar::GetDockedLeft, &TdxBar::SetDockedLeft).Default(0);
  P.Property("DockedTop", &TdxBar::GetDockedTop, &TdxBar::SetDockedTop).Default(0);
  P.Property("DockingStyle", &TdxBar::GetDockingStyle, &TdxBar::SetDockingStyle);
  P.Property("FloatLeft", &TdxBar::GetFloatLeft, &TdxBar::SetFloatLeft).Default(0);
  P.Property("FloatTop", &TdxBar::GetFloatTop, &TdxBar::SetFloatTop).Default(0);
  P.Property("FloatClientWidth", &TdxBar::GetFloatClientWidth, &TdxBar::SetFloatClientWidth).Default(0);
  P.Property("FloatClientHeight", &TdxBar::GetFloatClientHeight, &TdxBar::SetFloatClientHeight).Default(0);
  P.Property("Hidden", &TdxBar::GetHidden, &TdxBar::SetHidden).Default(false);
  P.Property("IsMainMenu", &TdxBar::GetIsMainMenu, &TdxBar::SetIsMainMenu).Default(false);
  P.Property("ItemLinks", &TdxBar::GetItemLinksProp, &TdxBar::SetItemLinksProp);
  P.Property("MultiLine", &TdxBar::GetMultiLine, &TdxBar::SetMultiLine).Default(false);
  P.Property("Name", &TdxBar::GetName, &TdxBar::SetName);
  P.Property("NotDocking", &TdxBar::GetNotDocking, &TdxBar::SetNotDocking).Default(TdxBarDockingStyles{});
  P.Property("OneOnRow", &TdxBar::GetOneOnRow, &TdxBar::SetOneOnRow).Default(false);
  P.Property("RotateWhenVertical", &TdxBar::FRotateWhenVertical, &TdxBar::FRotateWhenVertical).Default(true);
  P.Property("Row", &TdxBar::GetRow, &TdxBar::SetRow).Default(0);
  P.Property("ShowMark", &TdxBar::FShowMark, &TdxBar::FShowMark).Default(true);
  P.Property("SizeGrip", &TdxBar::FSizeGrip, &TdxBar::FSizeGrip).Default(true);
  P.Property("UseOwnFont", &TdxBar::FUseOwnFont, &TdxBar::FUseOwnFont).Default(false);
  P.Property("UseRecentItems", &TdxBar::GetUseRecentItems, &TdxBar::SetUseRecentItems).Default(true);
  P.Property("UseRestSpace", &TdxBar::FUseRestSpace, &TdxBar::FUseRestSpace).Default(false);
  P.Property("Visible", &TdxBar::GetVisible, &TdxBar::SetVisible).Default(false);
  P.Property("WholeRow", &TdxBar::GetWholeRow, &TdxBar::SetWholeRow).Default(false);
}

TdxBar::TdxBar(TCollection* ACollection) : TCollectionItem(ACollection) {
  TdxBarManager* M = GetBarManager();
  FItemLinks = std::make_unique<TdxBarItemLinks>(M, this);
  if (M && !M->IsLoading()) {
    if (M->OnBarAdd) M->OnBarAdd(M, this);
    M->DesignerModified();
  }
}

TdxBar::~TdxBar() {
  TdxBarManager* M = GetBarManager();
  if (M && !M->IsDestroying()) {
    M->DesignerModified();
    if (M->OnBarDelete) M->OnBarDelete(M, this);
    dxBarNotifyBarRemoved(this);
  }
  FVisible = false;
  if (M && M->FMainMenuBar == this) M->FMainMenuBar = nullptr;
  FItemLinks.reset();
}

TdxBarManager* TdxBar::GetBarManager() const {
  auto* Bars = dynamic_cast<TdxBars*>(Collection());
  return Bars ? Bars->BarManager() : nullptr;
}

TCustomdxBarControl* TdxBar::GetBarControl() const { return FItemLinks->BarControl(); }

bool TdxBar::ManagerLoading() const {
  TdxBarManager* M = GetBarManager();
  return M && M->IsLoading();
}

TdxBarItemLinks* TdxBar::GetItemLinksProp() const { return FItemLinks.get(); }
void TdxBar::SetItemLinksProp(TdxBarItemLinks* Value) { FItemLinks->Assign(Value); }

void TdxBar::SetCaption(const AnsiString& Value) {
  if (FCaption == Value) return;
  TdxBarManager* M = GetBarManager();
  if (M && M->FindBarByCaption(Value)) return;  // captions are unique among the bars
  FCaption = Value;
  if (FName.empty() && M && !M->IsLoading()) {
    AnsiString Candidate = Value;
    for (int N = 1; !Candidate.empty() && M->FindBarByName(Candidate) && M->FindBarByName(Candidate) != this; ++N)
      Candidate = Value + std::to_string(N);
    FName = Candidate;
  }
  if (M) M->DesignerModified();
  dxBarNotifyBarChanged(this);
}

void TdxBar::SetName(const AnsiString& Value) {
  if (FName == Value) return;
  FName = Value;
  if (TdxBarManager* M = GetBarManager()) M->DesignerModified();
}

void TdxBar::SetVisible(bool Value) {
  TdxBarManager* M = GetBarManager();
  if (Value && M && M->IsDestroying()) return;
  if (FVisible == Value && !(M && M->IsLoading())) return;
  FAutoHidden = false;
  if (M && M->IsLoading()) {
    FPendingVisible = Value;
    FHasPendingVisible = true;
    return;
  }
  FVisible = Value;
  dxBarUpdateBarWindow(this);
  if (M && !M->IsDestroying() && M->OnBarVisibleChange) M->OnBarVisibleChange(M, this);
  if (M && !M->IsDestroying()) dxBarNotifyBarChanged(this);
}

void TdxBar::SetAllowClose(bool Value) {
  if (FAllowClose == Value) return;
  FAllowClose = Value;
  if (TdxBarManager* M = GetBarManager()) M->DesignerModified();
  dxBarNotifyBarChanged(this);
}

void TdxBar::SetRotateWhenVertical(bool Value) {
  if (FRotateWhenVertical == Value) return;
  FRotateWhenVertical = Value;
  if (TdxBarManager* M = GetBarManager(); M && !M->IsLoading())
    if (TCustomdxBarControl* W = GetBarControl(); W && IsLiveBarControl(W)) {
      // The controls change kind and size with the turn.
      W->DestroyControlsNow();
      W->Recalculate();
    }
}

void TdxBar::SetHidden(bool Value) {
  if (FHidden == Value) return;
  FHidden = Value;
  if (TdxBarManager* M = GetBarManager()) M->DesignerModified();
}

void TdxBar::SetIsMainMenu(bool Value) {
  if (FIsMainMenu == Value) return;
  TdxBarManager* M = GetBarManager();
  std::unique_ptr<TdxBarLockUpdateGuard> Lock;
  if (M) Lock = std::make_unique<TdxBarLockUpdateGuard>(M);
  if (Value && M && M->FMainMenuBar && M->FMainMenuBar != this) M->FMainMenuBar->SetIsMainMenu(false);
  FIsMainMenu = Value;
  if (M) M->FMainMenuBar = Value ? this : (M->FMainMenuBar == this ? nullptr : M->FMainMenuBar);
  if (Value) {
    SetWholeRow(true);
    SetMultiLine(true);
  } else {
    SetMultiLine(false);
    SetWholeRow(false);
  }
  dxBarNotifyBarChanged(this);
}

void TdxBar::SetMultiLine(bool Value) {
  if (FMultiLine == Value || (!Value && FIsMainMenu)) return;
  FMultiLine = Value;
}

void TdxBar::SetWholeRow(bool Value) { FWholeRow = Value; }

void TdxBar::SetOneOnRow(bool Value) {
  if (FOneOnRow == Value) return;
  FOneOnRow = Value;
  if (TdxBarManager* M = GetBarManager()) M->DesignerModified();
}

#define SX_BAR_INT_SETTER(Name, Field, Clamp)      \
  void TdxBar::Set##Name(Integer Value) {         \
    if (Clamp && Value < 0) Value = 0;            \
    if (Field == Value) return;                   \
    Field = Value;                                \
    if (TdxBarManager* M = GetBarManager()) M->DesignerModified(); \
  }
SX_BAR_INT_SETTER(Row, FRow, true)
SX_BAR_INT_SETTER(DockedLeft, FDockedLeft, true)
SX_BAR_INT_SETTER(DockedTop, FDockedTop, true)
SX_BAR_INT_SETTER(FloatLeft, FFloatLeft, false)
SX_BAR_INT_SETTER(FloatTop, FFloatTop, false)
SX_BAR_INT_SETTER(FloatClientWidth, FFloatClientWidth, false)
SX_BAR_INT_SETTER(FloatClientHeight, FFloatClientHeight, false)
#undef SX_BAR_INT_SETTER

TdxBarDockingStyle TdxBar::GetDockingStyle() const {
  if (FDockControl) return FDockControl->DockingStyle();
  return FStoredDockingStyle;
}

TdxBarDockingStyle TdxBar::GetDockedDockingStyle() const { return FStoredDockedDockingStyle; }

void TdxBar::SetDockingStyle(TdxBarDockingStyle Value) {
  if (Value < dsNone || Value > dsBottom) return;
  TdxBarManager* M = GetBarManager();
  if (M && M->IsLoading()) {
    FPendingDockingStyle = Value;
    FHasPendingDockingStyle = true;
    return;
  }
  if (FStoredDockingStyle == Value) return;
  FStoredDockingStyle = Value;
  if (Value != dsNone) FStoredDockedDockingStyle = Value;
  FDockControl = nullptr;
  FItemLinks->SetRecentItemCount(-1);
  if (!FFollowingWindow) dxBarRedockBarWindow(this);
  if (M && !FDockingChange) M->DoBarDockingStyleChange(this);
}

void TdxBar::SetDockedDockingStyle(TdxBarDockingStyle Value) {
  if (Value < dsNone || Value > dsBottom || FStoredDockedDockingStyle == Value) return;
  FStoredDockedDockingStyle = Value;
  if (TdxBarManager* M = GetBarManager()) M->DesignerModified();
}

void TdxBar::SetDockControl(TdxBarDockControl* Value) {
  TdxBarManager* M = GetBarManager();
  if (M && M->IsLoading()) {
    FPendingDockControl = Value;
    FHasPendingDockControl = true;
    return;
  }
  if (FDockControl == Value) return;
  FDockControl = Value;
  FItemLinks->SetRecentItemCount(-1);
  if (!FFollowingWindow) dxBarRedockBarWindow(this);
  if (M && !FDockingChange) M->DoBarDockingStyleChange(this);
}

void TdxBar::SetDockedDockControl(TdxBarDockControl* Value) {
  if (FDockedDockControl == Value) return;
  FDockedDockControl = Value;
  if (TdxBarManager* M = GetBarManager()) M->DesignerModified();
}

void TdxBar::SetNotDocking(TdxBarDockingStyles Value) { FNotDocking = Value; }

void TdxBar::SetUseRecentItems(bool Value) {
  if (FUseRecentItems == Value) return;
  FUseRecentItems = Value;
  FItemLinks->SetKeepsUsage(Value);
}

bool TdxBar::CanClose() const { return FAllowClose && !FIsMainMenu; }

bool TdxBar::IsMovable() const {
  TdxBarDockingStyles All{dsNone, dsLeft, dsTop, dsRight, dsBottom};
  TdxBarManager* M = GetBarManager();
  bool Refused = (FNotDocking * All) == All || (M && (M->GetNotDocking() * All) == All);
  return !Refused;
}

void TdxBar::SetItemLinksLocked(bool Value) {
  if (FItemLinksLocked == Value) return;
  FItemLinksLocked = Value;
  if (!Value) FItemLinks->RebuildLists();
}

bool TdxBar::HasVisibleLinks() const {
  FItemLinks->RebuildLists();
  return FItemLinks->GetVisibleCount() > 0;
}

void TdxBar::ApplyPending() {
  if (FHasPendingDockControl) {
    FHasPendingDockControl = false;
    SetDockControl(FPendingDockControl);
  } else if (FHasPendingDockingStyle) {
    FHasPendingDockingStyle = false;
    SetDockingStyle(FPendingDockingStyle);
  }
  FHasPendingDockingStyle = false;
  if (FHasPendingVisible) {
    FHasPendingVisible = false;
    SetVisible(FPendingVisible);
  }
}

void TdxBar::Assign(TPersistent* Source) {
  auto* B = dynamic_cast<TdxBar*>(Source);
  if (!B) {
    inherited::Assign(Source);
    return;
  }
  FAllowClose = B->FAllowClose;
  FAllowCustomizing = B->FAllowCustomizing;
  FAllowQuickCustomizing = B->FAllowQuickCustomizing;
  FAllowReset = B->FAllowReset;
  SetCaption(B->FCaption);
  SetDockedDockControl(B->FDockedDockControl);
  FStoredDockedDockingStyle = B->FStoredDockedDockingStyle;
  SetDockedLeft(B->FDockedLeft);
  SetDockedTop(B->FDockedTop);
  SetFloatLeft(B->FFloatLeft);
  SetFloatTop(B->FFloatTop);
  SetFloatClientWidth(B->FFloatClientWidth);
  SetFloatClientHeight(B->FFloatClientHeight);
  SetHidden(B->FHidden);
  SetIsMainMenu(B->FIsMainMenu);
  FItemLinks->Assign(B->FItemLinks.get());
  SetNotDocking(B->FNotDocking);
  SetOneOnRow(B->FOneOnRow);
  FRotateWhenVertical = B->FRotateWhenVertical;
  SetRow(B->FRow);
  SetWholeRow(B->FWholeRow);
  if (B->FDockControl) SetDockControl(B->FDockControl);
  else SetDockingStyle(B->FStoredDockingStyle);
  SetUseRecentItems(B->FUseRecentItems);
  FUseRestSpace = B->FUseRestSpace;
  FUseOwnFont = B->FUseOwnFont;
  SetVisible(B->FVisible);
}

// ---------------------------------------------------------------------------
// TdxBars

TdxBars::TdxBars(TdxBarManager* ABarManager) : TCollection(TdxBar::StaticClass()), FBarManager(ABarManager) {}

TdxBars::~TdxBars() {
  Clear();
  for (TdxDockControl*& D : FDockControls) {
    TdxDockControl* Site = D;
    D = nullptr;
    delete Site;
  }
}

TdxBar* TdxBars::GetItem(Integer Index) const { return static_cast<TdxBar*>(Items(Index)); }
TdxBar* TdxBars::Add() { return static_cast<TdxBar*>(TCollection::Add()); }
TPersistent* TdxBars::GetOwner() { return FBarManager; }

TdxDockControl* TdxBars::GetDockControl(TdxBarDockingStyle AStyle) const {
  return AStyle > dsNone && AStyle <= dsBottom ? FDockControls[AStyle] : nullptr;
}

void TdxBars::SetDockControl(TdxBarDockingStyle AStyle, TdxDockControl* ADockControl) {
  if (AStyle > dsNone && AStyle <= dsBottom) FDockControls[AStyle] = ADockControl;
}
