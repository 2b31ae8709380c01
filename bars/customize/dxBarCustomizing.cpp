#include "bars/customize/dxBarCustomizing.h"

#include <algorithm>
#include <memory>
#include <vector>
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "bars/windows/dxBarWindows.h"
#include "bars/customize/dxBarCustForm.h"
#include "bars/model/dxBarCategories.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Forms.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ObjectText.h"

namespace {

// A transient button that runs a function when clicked (the toolbars
// popup's entries and the customizing menus' commands).
class TdxBarTempButton : public TdxBarButton {
public:
  TdxBarTempButton(std::function<void(TdxBarButton*)> AOnClick) : TdxBarButton(nullptr), FOnClick(std::move(AOnClick)) {}
  void DoClick() override {
    TdxBarButton::DoClick();
    if (FOnClick && GetEnabled()) {
      // The handler may free the transient items (a rebuilt popup): keep
      // the function alive across the call.
      auto F = FOnClick;
      F(this);
    }
  }

private:
  std::function<void(TdxBarButton*)> FOnClick;
};

std::vector<std::unique_ptr<TdxBarItem>>& TempItems() {
  static std::vector<std::unique_ptr<TdxBarItem>> List;
  return List;
}

TdxBarManager* GCustomizingManager = nullptr;

bool IsLiveManager(TdxBarManager* M) {
  for (Integer I = 0; I < BarManagers().Count(); ++I)
    if (BarManagers().Get(I) == M) return true;
  return false;
}

}  // namespace

TdxBarItem* dxBarAddTempItem(TdxBarItem* AItem) {
  // Transient items belong to no manager: a manager frees the items it
  // lists, and these are freed here.
  AItem->SetBarManager(nullptr);
  TempItems().emplace_back(AItem);
  return AItem;
}

void dxBarFreeUnusedTempItems() {
  auto& L = TempItems();
  // Freeing an item may free links that refer to other transient items
  // (a sub-item's own links): repeat until nothing more goes.
  for (bool Freed = true; Freed;) {
    Freed = false;
    for (std::size_t I = 0; I < L.size(); ++I)
      if (L[I]->GetLinkCount() == 0) {
        std::unique_ptr<TdxBarItem> Item = std::move(L[I]);
        L.erase(L.begin() + std::ptrdiff_t(I));
        Item.reset();
        Freed = true;
        break;
      }
  }
}

void dxBarFreeAllTempItems() {
  auto& L = TempItems();
  while (!L.empty()) {
    std::unique_ptr<TdxBarItem> Item = std::move(L.back());
    L.pop_back();
  }
}

int dxBarTempItemCount() { return int(TempItems().size()); }

TdxBarButton* dxBarNewTempButton(const AnsiString& ACaption, std::function<void(TdxBarButton*)> AOnClick) {
  auto* B = new TdxBarTempButton(std::move(AOnClick));
  dxBarAddTempItem(B);
  B->SetCaption(ACaption);
  return B;
}

TdxBarManager* dxBarCustomizingManager() { return GCustomizingManager; }
void dxBarSetCustomizingManager(TdxBarManager* AManager) { GCustomizingManager = AManager; }

void dxBarAddCustomizeItem(TdxBarManager* AManager, TdxBarItemLinks* ALinks, bool ABeginGroup) {
  if (!AManager->GetCanCustomize()) return;
  TdxBarButton* B = dxBarNewTempButton(dxBarStr(dxSBAR_CUSTOMIZE), [AManager](TdxBarButton*) {
    if (IsLiveManager(AManager)) dxBarSetCustomizing(AManager, true);
  });
  B->SetTag(1000);
  B->SetEnabled(dxBarCustomizingManager() == nullptr);
  ALinks->AddItem(B)->SetBeginGroup(ABeginGroup);
}

void dxBarBuildToolbarsPopupLinks(TdxBarManager* AManager, TdxBarItemLinks* ALinks) {
  TdxBars* Bars = AManager->Bars();
  for (Integer I = 0; I < Bars->Count(); ++I) {
    TdxBar* Bar = Bars->GetItem(I);
    if (!Bar->CanClose() || Bar->GetHidden()) continue;
    TdxBarButton* B = dxBarNewTempButton(Bar->GetCaption(), [AManager](TdxBarButton* Sender) {
      // The bar is found again by its index: the popup may outlive it.
      if (!IsLiveManager(AManager)) return;
      if (TdxBar* Target = AManager->Bars()->GetItem(Sender->GetTag())) Target->SetVisible(!Target->GetVisible());
    });
    B->SetTag(I);
    B->SetButtonStyle(bsChecked);
    B->SetDown(Bar->GetVisible());
    ALinks->AddItem(B);
  }
  dxBarAddCustomizeItem(AManager, ALinks, true);
  if (AManager->OnShowToolbarsPopup) AManager->OnShowToolbarsPopup(AManager, ALinks);
}

namespace {
// Every collection of links a manager shows: bars, sub-items, popup menus.
template <class F>
void ForEachLinks(TdxBarManager* M, F&& Fn) {
  for (Integer I = 0; I < M->Bars()->Count(); ++I) Fn(M->Bars()->GetItem(I)->ItemLinks());
  for (Integer I = 0; I < M->GetItemCount(); ++I)
    if (auto* S = dynamic_cast<TCustomdxBarSubItem*>(M->GetItem(I))) Fn(S->ItemLinks());
}
}  // namespace

void dxBarSetCustomizing(TdxBarManager* AManager, bool Value) {
  if (!AManager || AManager->IsCustomizing() == Value) return;
  if (Value && dxBarCustomizingManager()) return;
  ForEachLinks(AManager, [](TdxBarItemLinks* L) {
    if (TCustomdxBarControl* W = L->BarControl(); W && IsLiveBarControl(W)) W->HideAll();
  });
  AManager->SetIsCustomizing(Value);
  ForEachLinks(AManager, [](TdxBarItemLinks* L) {
    L->RebuildLists();
    if (TCustomdxBarControl* W = L->BarControl(); W && IsLiveBarControl(W)) W->Recalculate();
  });
  dxBarShowCustomizingForm(AManager, Value);
}

// ---------------------------------------------------------------------------
// Categories and resets

Integer dxBarVisibleCategoryToIndex(TdxBarManager* AManager, Integer AIndex) {
  if (AManager->IsDesigning()) return AIndex;
  for (Integer I = 0, Seen = -1; I < AManager->Categories()->GetCount(); ++I)
    if (AManager->GetCategoryVisible(I) && ++Seen == AIndex) return I;
  return -1;
}

TForm* dxBarCreateDesignedCopy(TdxBarManager* AManager) {
  const TCursor Saved = Screen ? Screen->GetCursor() : crDefault;
  if (Screen) Screen->SetCursor(crHourGlass);
  struct TRestore {
    TCursor C;
    ~TRestore() {
      if (Screen) Screen->SetCursor(C);
    }
  } Restore{Saved};
  return AManager->CreateDesignedCopy().release();
}

TdxBarManager* dxBarDesignedCopyManager(TForm* ACopy) {
  if (!ACopy) return nullptr;
  for (Integer I = 0; I < ACopy->ComponentCount(); ++I)
    if (auto* M = dynamic_cast<TdxBarManager*>(ACopy->Components(I))) return M;
  return nullptr;
}

void dxBarResetUsageData(TdxBarManager* AManager) {
  TdxBarLockUpdateGuard Lock(AManager);
  std::unique_ptr<TForm> Copy(dxBarCreateDesignedCopy(AManager));
  TdxBarManager* C = dxBarDesignedCopyManager(Copy.get());
  if (!C) return;
  for (Integer I = 0; I < AManager->GetItemCount(); ++I)
    if (auto* S = dynamic_cast<TCustomdxBarSubItem*>(AManager->GetItem(I)))
      if (auto* CS = dynamic_cast<TCustomdxBarSubItem*>(C->FindItemByName(S->GetName())))
        S->ItemLinks()->CopyUsageFrom(CS->ItemLinks());
  for (Integer I = 0; I < AManager->Bars()->Count() && I < C->Bars()->Count(); ++I)
    AManager->Bars()->GetItem(I)->ItemLinks()->CopyUsageFrom(C->Bars()->GetItem(I)->ItemLinks());
}

bool dxBarResetUsageDataWithConfirmation(TdxBarManager* AManager) {
  if (!Application) return false;
  if (Application->MessageBox(dxBarStr(dxSBAR_WANTTORESETUSAGEDATA), Application->GetTitle(),
                              MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES)
    return false;
  dxBarResetUsageData(AManager);
  return true;
}

void dxBarResetBar(TdxBar* ABar) {
  TdxBarManager* M = ABar->GetBarManager();
  if (!M || !ABar->CanReset()) return;
  ABar->Reset();
  TdxBarItemLinks* L = ABar->ItemLinks();
  L->RebuildLists();
  if (TCustomdxBarControl* W = L->BarControl(); W && IsLiveBarControl(W)) W->Recalculate();
  M->DesignerModified();
}

bool dxBarResetBarWithConfirmation(TdxBar* ABar) {
  if (!Application) return false;
  const AnsiString Text = Format(dxBarStr(dxSBAR_WANTTORESETTOOLBAR), {ABar->GetCaption()});
  if (Application->MessageBox(Text, Application->GetTitle(), MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) return false;
  dxBarResetBar(ABar);
  return true;
}
