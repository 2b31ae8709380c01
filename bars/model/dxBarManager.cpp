#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarCustomizingHooks.h"

#include <algorithm>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarCategories.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarStrs.h"
#include "bars/windows/dxBarWindows.h"
#include "controls/lookandfeel/cxLookAndFeels.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/forms/Application.h"
#include "platform/forms/Forms.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DrawingTools.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Filer.h"
#include "platform/rtl/Strings.h"

namespace {
bool SameTextCI(const AnsiString& A, const AnsiString& B) {
  return A.size() == B.size() &&
         std::equal(A.begin(), A.end(), B.begin(), [](char X, char Y) {
           return std::tolower(static_cast<unsigned char>(X)) == std::tolower(static_cast<unsigned char>(Y));
         });
}
}  // namespace

// ---------------------------------------------------------------------------
// Manager list

TdxBarManagerList& BarManagers() {
  static TdxBarManagerList List;
  return List;
}

TdxBarManager* TdxBarManagerList::Get(Integer Index) const {
  return Index >= 0 && Index < Count() ? FList[std::size_t(Index)] : nullptr;
}

TdxBarManager* TdxBarManagerList::FirstCustomizingManager() const {
  for (TdxBarManager* M : FList)
    if (M->IsCustomizing()) return M;
  return nullptr;
}

void TdxBarManagerList::Remove(TdxBarManager* AManager) { std::erase(FList, AManager); }

TdxBarManager* GetBarManagerOfForm(TCustomForm* AForm) {
  if (!AForm) return nullptr;
  for (Integer I = 0; I < BarManagers().Count(); ++I)
    if (BarManagers().Get(I)->OwnerForm() == AForm) return BarManagers().Get(I);
  return nullptr;
}

void RegisterBarClasses() {
  RegisterClasses({TdxBarManager::StaticClass(), TdxBarGroup::StaticClass(), TdxBarButton::StaticClass(),
                   TdxBarSubItem::StaticClass(), TdxBarListItem::StaticClass(),
                   TdxBarContainerItem::StaticClass(), TdxBarEdit::StaticClass(), TdxBarCombo::StaticClass()});
}

// ---------------------------------------------------------------------------
// Backgrounds

TdxBarBackgrounds::TdxBarBackgrounds(TdxBarManager* AManager)
    : FManager(AManager), FBar(std::make_unique<TBitmap>()), FSubMenu(std::make_unique<TBitmap>()) {
  FBar->OnChange = TNotifyEvent(this, &TdxBarBackgrounds::BarChanged);
}

TdxBarBackgrounds::~TdxBarBackgrounds() { FBar->OnChange = nullptr; }

void TdxBarBackgrounds::Published(TPublished<TdxBarBackgrounds>& P) {
  P.Property("Bar", &TdxBarBackgrounds::GetBar, &TdxBarBackgrounds::SetBar);
  P.Property("SubMenu", &TdxBarBackgrounds::GetSubMenu, &TdxBarBackgrounds::SetSubMenu);
}

TPersistent* TdxBarBackgrounds::GetOwner() { return FManager; }

void TdxBarBackgrounds::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TdxBarBackgrounds*>(Source)) {
    SetBar(B->GetBar());
    SetSubMenu(B->GetSubMenu());
    return;
  }
  TPersistent::Assign(Source);
}

void TdxBarBackgrounds::SetBar(TBitmap* Value) {
  const bool WasEmpty = FBar->Empty();
  if (Value) FBar->Assign(Value);
  else FBar->Assign(nullptr);
  if (!WasEmpty || (Value && !Value->Empty())) BarChanged(nullptr);
}

void TdxBarBackgrounds::SetSubMenu(TBitmap* Value) {
  if (Value) FSubMenu->Assign(Value);
  else FSubMenu->Assign(nullptr);
}

void TdxBarBackgrounds::BarChanged(TObject*) {
  if (FManager) FManager->StyleChanged();
}

// ---------------------------------------------------------------------------
// Construction

void TdxBarManager::Published(TPublished<TdxBarManager>& P) {
  P.Property("AllowReset", &TdxBarManager::FAllowReset, &TdxBarManager::FAllowReset).Default(true);
  P.Property("CanCustomize", &TdxBarManager::FCanCustomize, &TdxBarManager::FCanCustomize).Default(true);
  P.Property("AutoHideEmptyBars", &TdxBarManager::GetAutoHideEmptyBars, &TdxBarManager::SetAutoHideEmptyBars)
      .Default(false);
  P.Property("ButtonArrowWidth", &TdxBarManager::GetButtonArrowWidth, &TdxBarManager::SetButtonArrowWidth)
      .Default(11);
  P.Property("Bars", &TdxBarManager::GetBars, &TdxBarManager::SetBars);
  P.Property("Categories", &TdxBarManager::GetCategories, &TdxBarManager::SetCategories);
  P.Property("PopupMenuLinks", &TdxBarManager::GetPopupMenuLinks, &TdxBarManager::SetPopupMenuLinks);
  P.Property("IniFileName", &TdxBarManager::FIniFileName, &TdxBarManager::FIniFileName);
  P.Property("LookAndFeel", &TdxBarManager::GetLookAndFeel, &TdxBarManager::SetLookAndFeel);
  P.Property("Backgrounds", &TdxBarManager::GetBackgrounds, &TdxBarManager::SetBackgrounds);
  P.Property("LargeIcons", &TdxBarManager::GetLargeIcons, &TdxBarManager::SetLargeIcons).Default(false);
  P.Property("MenuAnimations", &TdxBarManager::GetMenuAnimations, &TdxBarManager::SetMenuAnimations)
      .Default(maNone);
  P.Property("MenusShowRecentItemsFirst", &TdxBarManager::GetMenusShowRecentItemsFirst,
             &TdxBarManager::SetMenusShowRecentItemsFirst)
      .Default(true);
  P.Property("MostRecentItemsPercents", &TdxBarManager::GetMostRecentItemsPercents,
             &TdxBarManager::SetMostRecentItemsPercents)
      .Default(95);
  P.Property("NotDocking", &TdxBarManager::GetNotDocking, &TdxBarManager::SetNotDocking).Default(TdxBarDockingStyles{});
  P.Property("RegistryPath", &TdxBarManager::FRegistryPath, &TdxBarManager::FRegistryPath);
  P.Property("ShowFullMenusAfterDelay", &TdxBarManager::GetShowFullMenusAfterDelay,
             &TdxBarManager::SetShowFullMenusAfterDelay)
      .Default(true);
  P.Property("ShowHint", &TdxBarManager::GetShowHint, &TdxBarManager::SetShowHint).Default(true);
  P.Property("ShowShortCutInHint", &TdxBarManager::GetShowShortCutInHint, &TdxBarManager::SetShowShortCutInHint)
      .Default(false);
  P.Property("StoreInIniFile", &TdxBarManager::FStoreInIniFile, &TdxBarManager::FStoreInIniFile).Default(false);
  P.Property("StoreInRegistry", &TdxBarManager::FStoreInRegistry, &TdxBarManager::FStoreInRegistry).Default(false);
  P.Property("Style", &TdxBarManager::GetStyle, &TdxBarManager::SetStyle).Default(bmsEnhanced);
  P.Property("UseFullReset", &TdxBarManager::FUseFullReset, &TdxBarManager::FUseFullReset).Default(false);
  P.Property("UseSystemFont", &TdxBarManager::FUseSystemFont, &TdxBarManager::FUseSystemFont);
  P.Property("WaitForDockingTime", &TdxBarManager::GetWaitForDockingTime, &TdxBarManager::SetWaitForDockingTime)
      .Default(21);
  P.Property("OnBarAdd", &TdxBarManager::OnBarAdd, &TdxBarManager::OnBarAdd);
  P.Property("OnBarAfterReset", &TdxBarManager::OnBarAfterReset, &TdxBarManager::OnBarAfterReset);
  P.Property("OnBarBeforeReset", &TdxBarManager::OnBarBeforeReset, &TdxBarManager::OnBarBeforeReset);
  P.Property("OnBarClose", &TdxBarManager::OnBarClose, &TdxBarManager::OnBarClose);
  P.Property("OnBarDelete", &TdxBarManager::OnBarDelete, &TdxBarManager::OnBarDelete);
  P.Property("OnBarDockingStyleChange", &TdxBarManager::OnBarDockingStyleChange,
             &TdxBarManager::OnBarDockingStyleChange);
  P.Property("OnBarVisibleChange", &TdxBarManager::OnBarVisibleChange, &TdxBarManager::OnBarVisibleChange);
  P.Property("OnClickItem", &TdxBarManager::OnClickItem, &TdxBarManager::OnClickItem);
  P.Property("OnItemLinkAdd", &TdxBarManager::OnItemLinkAdd, &TdxBarManager::OnItemLinkAdd);
  P.Property("OnItemLinkChange", &TdxBarManager::OnItemLinkChange, &TdxBarManager::OnItemLinkChange);
  P.Property("OnItemLinkDelete", &TdxBarManager::OnItemLinkDelete, &TdxBarManager::OnItemLinkDelete);
}

TdxBarManager::TdxBarManager(TComponent* AOwner) : TComponent(AOwner) {
  TComponent* Owner = AOwner;
  if (!Owner && Application) Owner = Application->MainForm();
  auto* Form = dynamic_cast<TCustomForm*>(Owner);
  if (!Form) throw Exception(dxBarStr(dxSBAR_BARMANAGERBADOWNER));
  if (GetBarManagerOfForm(Form)) throw Exception(dxBarStr(dxSBAR_BARMANAGERMORETHENONE));
  FOwnerForm = Form;
  FCreationFailed = false;
  BarManagers().Add(this);
  FDesigning = ComponentState().Contains(csDesigning);
  FCategories = std::make_unique<TdxBarManagerCategories>(this);
  FBars = std::make_unique<TdxBars>(this);
  FPopupMenuLinks = std::make_unique<TdxBarPopupMenuLinks>(this);
  FFont = std::make_unique<TFont>();
  FBackgrounds = std::make_unique<TdxBarBackgrounds>(this);
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = TcxLookAndFeelChangedEvent(this, &TdxBarManager::LookAndFeelChanged);
  FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeNotificator->OnThemeChanged = TEvent<void()>(this, &TdxBarManager::StyleChanged);
  UpdatePainter();
  UpdateInitialUseCount();
  FCreated = true;
  dxBarManagerAdded(this);
}

TdxBarManager::~TdxBarManager() {
  if (FCreationFailed) return;
  Destroying();
  FThemeNotificator.reset();
  FLookAndFeel.reset();
  // The popup menus die with their manager even though the form owns them.
  while (!FPopupMenus.empty()) delete FPopupMenus.back();
  while (!FGroups.empty()) delete FGroups.front();
  FBars.reset();
  // What is left are the sites placed on the form: they outlive their
  // manager when the form frees it first, so they must forget it now.
  while (!FDockControls.empty()) FDockControls.back()->SetBarManager(nullptr);
  while (!FItems.empty()) delete FItems.back();
  FCategories.reset();
  FPopupMenuLinks.reset();
  FBackgrounds.reset();
  BarManagers().Remove(this);
  dxBarManagerRemoved(this);
}

void TdxBarManager::AddPopupMenu(TdxBarPopupMenu* AMenu) {
  if (std::find(FPopupMenus.begin(), FPopupMenus.end(), AMenu) == FPopupMenus.end()) FPopupMenus.push_back(AMenu);
}

void TdxBarManager::RemovePopupMenu(TdxBarPopupMenu* AMenu) { std::erase(FPopupMenus, AMenu); }

// ---------------------------------------------------------------------------
// Items, bars, groups, dock sites

void TdxBarManager::AddItem(TdxBarItem* AItem) {
  if (std::find(FItems.begin(), FItems.end(), AItem) == FItems.end()) FItems.push_back(AItem);
}
void TdxBarManager::RemoveItem(TdxBarItem* AItem) { std::erase(FItems, AItem); }

TdxBarItem* TdxBarManager::GetItem(Integer Index) const {
  return Index >= 0 && Index < GetItemCount() ? FItems[std::size_t(Index)] : nullptr;
}

TdxBarItem* TdxBarManager::FindItemByName(const AnsiString& AName) const {
  for (TdxBarItem* I : FItems)
    if (SameTextCI(I->GetName(), AName)) return I;
  return nullptr;
}

TdxBar* TdxBarManager::FindBarByCaption(const AnsiString& ACaption) const {
  for (Integer I = 0; I < FBars->Count(); ++I)
    if (FBars->GetItem(I)->GetCaption() == ACaption) return FBars->GetItem(I);
  return nullptr;
}

TdxBar* TdxBarManager::FindBarByName(const AnsiString& AName) const {
  for (Integer I = 0; I < FBars->Count(); ++I)
    if (FBars->GetItem(I)->GetName() == AName) return FBars->GetItem(I);
  return nullptr;
}

Integer TdxBarManager::GetItemsByCategory(Integer ACategory, std::vector<TdxBarItem*>& AList) const {
  AList.clear();
  if (ACategory < 0 || ACategory >= FCategories->GetCount()) return 0;
  for (TdxBarItem* I : FItems)
    if (I->GetCategory() == ACategory) AList.push_back(I);
  return Integer(AList.size());
}

Integer TdxBarManager::GetVisibleItemsByCategory(Integer ACategory, std::vector<TdxBarItem*>& AList) const {
  GetItemsByCategory(ACategory, AList);
  if (!FDesigning)
    std::erase_if(AList, [](TdxBarItem* I) { return !I->IsActuallyVisible() || I->IsHiddenInCommandList(); });
  return Integer(AList.size());
}

TdxBarGroup* TdxBarManager::GetGroup(Integer Index) const {
  return Index >= 0 && Index < GetGroupCount() ? FGroups[std::size_t(Index)] : nullptr;
}

void TdxBarManager::AddGroup(TdxBarGroup* AGroup) {
  if (std::find(FGroups.begin(), FGroups.end(), AGroup) != FGroups.end()) return;
  FGroups.push_back(AGroup);
  AGroup->FBarManager = this;
}

void TdxBarManager::RemoveGroup(TdxBarGroup* AGroup) { std::erase(FGroups, AGroup); }

void TdxBarManager::RemoveFromGroups(TComponent* AComponent) {
  for (TdxBarGroup* G : FGroups) G->ForgetEntry(AComponent);
}

TdxBarGroup* TdxBarManager::CreateGroup() {
  auto* G = new TdxBarGroup(FOwnerForm);
  AddGroup(G);
  return G;
}

TdxDockControl* TdxBarManager::GetDockControl(Integer Index) const {
  return Index >= 0 && Index < GetDockControlCount() ? FDockControls[std::size_t(Index)] : nullptr;
}

void TdxBarManager::AddDockControl(TdxDockControl* ADockControl) {
  if (std::find(FDockControls.begin(), FDockControls.end(), ADockControl) == FDockControls.end())
    FDockControls.push_back(ADockControl);
}

void TdxBarManager::RemoveDockControl(TdxDockControl* ADockControl) {
  std::erase(FDockControls, ADockControl);
  // The built-in sites go while the bars themselves are going.
  if (!FBars) return;
  for (Integer I = 0; I < FBars->Count(); ++I) {
    TdxBar* B = FBars->GetItem(I);
    if (static_cast<void*>(B->FDockControl) == static_cast<void*>(ADockControl)) {
      B->FDockControl = nullptr;
      B->SetVisible(false);
    }
    if (static_cast<void*>(B->FDockedDockControl) == static_cast<void*>(ADockControl))
      B->FDockedDockControl = nullptr;
  }
  std::erase(FDockControls, ADockControl);
  for (TdxBarDockingStyle S : {dsLeft, dsTop, dsRight, dsBottom})
    if (FBars->GetDockControl(S) == ADockControl) FBars->SetDockControl(S, nullptr);
}

// ---------------------------------------------------------------------------
// Categories

TdxBarItemVisible TdxBarManager::GetCategoryItemsVisible(Integer AIndex) const {
  TdxBarCategoryData* D = FCategories->Data(AIndex);
  return D ? D->ItemsVisible : ivAlways;
}

bool TdxBarManager::GetCategoryVisible(Integer AIndex) const {
  TdxBarCategoryData* D = FCategories->Data(AIndex);
  return D ? D->Visible : true;
}

void TdxBarManager::SetCategoryVisible(Integer AIndex, bool Value) {
  if (AIndex < 0 || AIndex >= FCategories->GetCount() || GetCategoryVisible(AIndex) == Value) return;
  FCategories->EnsureData(AIndex)->Visible = Value;
  DesignerModified();
}

void TdxBarManager::SetCategoryItemsVisible(Integer AIndex, TdxBarItemVisible Value) {
  if (AIndex < 0 || AIndex >= FCategories->GetCount()) return;
  TdxBarCategoryData* D = FCategories->EnsureData(AIndex);
  if (IsLoading()) {
    D->PendingItemsVisible = Value;
    D->HasPendingItemsVisible = true;
    return;
  }
  TdxBarItemVisible Old = D->ItemsVisible;
  D->ItemsVisible = Value;
  bool AutoHide = !FDesigning && FAutoHideEmptyBars;
  std::vector<bool> HadVisible;
  if (AutoHide)
    for (Integer I = 0; I < FBars->Count(); ++I) HadVisible.push_back(FBars->GetItem(I)->HasVisibleLinks());
  {
    TdxBarLockUpdateGuard Lock(this);
    std::vector<TdxBarItem*> Items;
    GetItemsByCategory(AIndex, Items);
    // Showing walks backwards so that the recent order keeps the items' order.
    if (Value == ivAlways) std::reverse(Items.begin(), Items.end());
    for (TdxBarItem* I : Items)
      if (I->GetVisible() == Old) I->SetVisible(Value);
    if (AutoHide)
      for (Integer I = 0; I < FBars->Count(); ++I) {
        TdxBar* B = FBars->GetItem(I);
        bool Has = B->HasVisibleLinks();
        if (Value == ivNever && !Has && HadVisible[std::size_t(I)]) {
          B->SetVisible(false);
          B->SetAutoHidden(true);
        } else if (Value == ivAlways && Has && B->AutoHidden()) {
          B->SetVisible(true);
          B->SetAutoHidden(false);
        }
      }
  }
  if (Old != Value) DesignerModified();
}

// ---------------------------------------------------------------------------
// Options

void TdxBarManager::SetPopupMenuLinks(TdxBarPopupMenuLinks* Value) {
  if (Value && Value != FPopupMenuLinks.get()) FPopupMenuLinks->Assign(Value);
}

TdxBars* TdxBarManager::GetBars() const { return FBars.get(); }
void TdxBarManager::SetBars(TdxBars* Value) { FBars->Assign(Value); }
TStrings* TdxBarManager::GetCategories() const { return FCategories.get(); }
void TdxBarManager::SetCategories(TStrings* Value) { FCategories->Assign(Value); }

void TdxBarManager::LockUpdate(bool Locked) {
  if (FLockUpdate == Locked) return;
  FLockUpdate = Locked;
  for (Integer I = 0; I < FBars->Count(); ++I) FBars->GetItem(I)->SetItemLinksLocked(Locked);
}

void TdxBarManager::SetStyle(TdxBarManagerStyle Value) {
  if (Value < bmsStandard || Value > bmsUseLookAndFeel || FStyle == Value) return;
  FStyle = Value;
  StyleChanged();
  DesignerModified();
}

void TdxBarManager::UpdatePainter() {
  FThemesAvailable =
      AreThemesAvailable(ThemeClassBit(totComboBox) | ThemeClassBit(totEdit) | ThemeClassBit(totProgress) |
                         ThemeClassBit(totRebar) | ThemeClassBit(totScrollBar) | ThemeClassBit(totSpin) |
                         ThemeClassBit(totStatus) | ThemeClassBit(totToolBar) | ThemeClassBit(totWindow));
}

void TdxBarManager::StyleChanged() {
  UpdatePainter();
  // A style brings its own sizes and look: open bar windows lay out and
  // paint again, dock sites repaint their background.
  if (IsLoading() || IsDestroying() || !FBars) return;
  for (Integer I = 0; I < FBars->Count(); ++I)
    if (TCustomdxBarControl* W = FBars->GetItem(I)->ItemLinks()->BarControl()) W->RecalculateLater();
  for (TdxDockControl* D : FDockControls)
    if (D && D->HandleAllocated()) D->Invalidate();
}

void TdxBarManager::LookAndFeelChanged(TcxLookAndFeel*, unsigned) {
  if (!IsDestroying()) StyleChanged();
}

void TdxBarManager::SetBackgrounds(TdxBarBackgrounds* Value) {
  if (Value && Value != FBackgrounds.get()) FBackgrounds->Assign(Value);
}

void TdxBarManager::SetLookAndFeel(TcxLookAndFeel* Value) {
  if (Value && Value != FLookAndFeel.get()) FLookAndFeel->Assign(Value);
}

TdxBarManagerStyle TdxBarManager::GetEffectiveStyle() const {
  if (FStyle != bmsUseLookAndFeel) return FStyle;
  if (FLookAndFeel->GetNativeStyle() && FThemesAvailable) return bmsXP;
  switch (FLookAndFeel->GetKind()) {
    case lfFlat: return bmsEnhanced;
    case lfStandard: return bmsStandard;
    case lfOffice11: return bmsOffice11;
    default: return bmsFlat;
  }
}

bool TdxBarManager::IsLoading() const { return ComponentState().Contains(csLoading); }
bool TdxBarManager::IsDestroying() const { return ComponentState().Contains(csDestroying); }

void TdxBarManager::UpdateInitialUseCount() {
  if (FMostRecentItemsPercents >= 100) {
    FInitialUseCount = 0;
    return;
  }
  Integer N = 1;
  while (N * (100 - FMostRecentItemsPercents) / 100 <= 0) ++N;
  FInitialUseCount = N;
}

void TdxBarManager::SetMostRecentItemsPercents(Byte Value) {
  if (Value > 100) Value = 100;
  if (FMostRecentItemsPercents == Value) return;
  FMostRecentItemsPercents = Value;
  UpdateInitialUseCount();
  DesignerModified();
}

#define SX_BAR_FLAG_SETTER(Name, Field)     \
  void TdxBarManager::Set##Name(bool Value) { \
    if (Field == Value) return;             \
    Field = Value;                          \
    DesignerModified();                     \
    dxBarNotifyOptionsChanged();            \
  }
SX_BAR_FLAG_SETTER(MenusShowRecentItemsFirst, FMenusShowRecentItemsFirst)
SX_BAR_FLAG_SETTER(ShowFullMenusAfterDelay, FShowFullMenusAfterDelay)
SX_BAR_FLAG_SETTER(LargeIcons, FLargeIcons)
SX_BAR_FLAG_SETTER(ShowHint, FShowHint)
SX_BAR_FLAG_SETTER(ShowShortCutInHint, FShowShortCutInHint)
#undef SX_BAR_FLAG_SETTER

void TdxBarManager::SetAutoHideEmptyBars(bool Value) {
  if (FAutoHideEmptyBars == Value) return;
  FAutoHideEmptyBars = Value;
  if (!Value)
    for (Integer I = 0; I < FBars->Count(); ++I) FBars->GetItem(I)->SetAutoHidden(false);
  DesignerModified();
}

void TdxBarManager::SetMenuAnimations(TdxBarMenuAnimations Value) {
  if (Value < maNone || Value > maFade || FMenuAnimations == Value) return;
  FMenuAnimations = Value;
  DesignerModified();
  dxBarNotifyOptionsChanged();
}

void TdxBarManager::SetButtonArrowWidth(Integer Value) {
  if (Value < 2 || Value == FButtonArrowWidth) return;
  FButtonArrowWidth = Value;
  DesignerModified();
}

void TdxBarManager::SetWaitForDockingTime(Integer Value) {
  if (Value < 0) return;
  FWaitForDockingTime = Value;
}

bool TdxBarManager::CanDock(TdxBar* ABar, TdxBarDockingStyle AStyle, TdxDockControl* ADockControl) {
  bool Result = !ABar->GetNotDocking().Contains(AStyle) && !FNotDocking.Contains(AStyle);
  if (OnDocking) OnDocking(ABar, AStyle, ADockControl, Result);
  return Result;
}

void TdxBarManager::DesignerModified() {
  if (!FCreated || IsLoading() || IsDestroying()) return;
  FModified = true;
}

void TdxBarManager::DoClickItem(TdxBarItem* AItem) {
  if (OnClickItem) OnClickItem(this, AItem);
}

void TdxBarManager::DoBarDockingStyleChange(TdxBar* ABar) {
  if (FBars->IsLoading()) return;
  if (OnBarDockingStyleChange) OnBarDockingStyleChange(this, ABar);
  DesignerModified();
}

// ---------------------------------------------------------------------------
// Streaming

void TdxBarManager::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  ++FReadCount;
}

void TdxBarManager::Loaded() {
  inherited::Loaded();
  if (FLockUpdate) return;
  FBars->SetLoading(true);
  for (TdxBarItem* I : FItems) I->ApplyPendingVisible();
  for (Integer I = 0; I < FBars->Count(); ++I) {
    TdxBar* B = FBars->GetItem(I);
    B->FLoadedFromForm = true;
    B->ItemLinks()->ApplyLoadedUsage(true);
    B->ApplyPending();
  }
  if (!FDesigning && !dxBarDesignedCopyLoading()) {
    if (FStoreInRegistry) LoadFromRegistry(FRegistryPath);
    if (FStoreInIniFile) LoadFromIniFile(FIniFileName);
  }
  FBars->SetLoading(false);
  for (Integer I = 0; I < FCategories->GetCount(); ++I)
    if (TdxBarCategoryData* D = FCategories->Data(I); D && D->HasPendingItemsVisible) {
      D->HasPendingItemsVisible = false;
      SetCategoryItemsVisible(I, D->PendingItemsVisible);
    }
}

void TdxBarManager::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FPopupMenuLinks) FPopupMenuLinks->ComponentRemoved(AComponent);
}

void TdxBarManager::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(
      "DockControlHeights", [this](TReader* R) { ReadDockControlHeights(R); },
      [this](TWriter* W) { WriteDockControlHeights(W); }, true);
}

void TdxBarManager::ReadDockControlHeights(TReader* Reader) {
  Reader->ReadListBegin();
  for (int I = 0; I < 4 && !Reader->EndOfList(); ++I) FDockControlHeights[I] = Reader->ReadInteger();
  while (!Reader->EndOfList()) Reader->ReadInteger();  // a longer list from elsewhere: ignored
  Reader->ReadListEnd();
}

void TdxBarManager::WriteDockControlHeights(TWriter* Writer) {
  Writer->WriteListBegin();
  for (Integer H : FDockControlHeights) Writer->WriteInteger(H);
  Writer->WriteListEnd();
}

void TdxBarManager::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TdxBarItem* I : FItems)
    if (I->Owner() == Root && I->GetCategory() >= 0) Proc(I);
  for (TdxBarGroup* G : FGroups)
    if (G->Owner() == Root) Proc(G);
}
