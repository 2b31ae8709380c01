// dxBarCustPopup.cpp — the menus of run-time customizing: the toolbars
// popup (a right click on a toolbar) and the customizing popup (a right
// click on a link while customizing: reset, delete, name, paint style,
// group line), and the bar windows' presses while customizing (selecting
// a link, dragging it).
#include <algorithm>
#include <vector>
#include "bars/customize/dxBarCustForm.h"
#include "bars/customize/dxBarCustomizing.h"
#include "bars/items/dxBarItem.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarCustomizingHooks.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "bars/windows/dxBarItemControls.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/win/Input.h"
#include "platform/win/Window.h"

namespace {

// The menus shown here; a menu window whose links belong to one of them
// is an ordinary menu even while the manager customizes.
std::vector<TdxBarPopupMenu*>& Menus() {
  static std::vector<TdxBarPopupMenu*> L;
  return L;
}

// A menu of the customizing unit is alive while its manager lists it.
bool IsLiveMenu(TdxBarPopupMenu* P) {
  for (Integer I = 0; I < BarManagers().Count(); ++I) {
    TdxBarManager* M = BarManagers().Get(I);
    for (Integer J = 0; J < M->GetPopupMenuCount(); ++J)
      if (M->GetPopupMenu(J) == P) return true;
  }
  return false;
}

void ForgetDeadMenus() {
  std::erase_if(Menus(), [](TdxBarPopupMenu* P) { return !IsLiveMenu(P); });
}

// A fresh, empty menu of the manager (the previous one of its kind goes).
TdxBarPopupMenu* NewMenu(TdxBarManager* M, TdxBarPopupMenu*& Slot) {
  ForgetDeadMenus();
  if (Slot && IsLiveMenu(Slot)) {
    TdxBarPopupMenu* Old = Slot;
    Slot = nullptr;
    std::erase(Menus(), Old);
    if (TdxBarSubMenuControl* W = Old->GetBarControl(); W && IsLiveBarControl(W)) W->CloseAndFree();
    delete Old;
  }
  dxBarFreeUnusedTempItems();
  auto* P = new TdxBarPopupMenu(nullptr);
  P->SetBarManager(M);
  Menus().push_back(P);
  Slot = P;
  return P;
}

TdxBarPopupMenu* GToolbarsPopup = nullptr;
TdxBarPopupMenu* GCustomizingPopup = nullptr;
TdxBarItemLink* GPopupLink = nullptr;
TdxBarItemLinks* GPopupLinks = nullptr;

bool IsOwnMenuWindow(TCustomdxBarControl* W) {
  if (!W->ItemLinks()) return false;
  auto* Owner = dynamic_cast<TdxBarPopupMenu*>(W->ItemLinks()->OwnerObject());
  return Owner && std::find(Menus().begin(), Menus().end(), Owner) != Menus().end();
}

// The link the customizing popup was opened on, when it still exists.
TdxBarItemLink* PopupLink() {
  if (!GPopupLink || !GPopupLinks) return nullptr;
  for (Integer I = 0; I < GPopupLinks->Count(); ++I)
    if (GPopupLinks->GetItem(I) == GPopupLink) return GPopupLink;
  return nullptr;
}

// The Name entry: a transient edit whose committed text renames the link.
class TdxBarNameEntry : public TdxBarEdit {
public:
  TdxBarNameEntry() : TdxBarEdit(nullptr) {}
  void SetText(const AnsiString& Value) override {
    const bool Loading = FLoading;
    TdxBarEdit::SetText(Value);
    if (!Loading) dxBarCustomizingPopupNameChange(Value);
  }
  bool FLoading = false;
};

void Refresh(TdxBarItemLink* L) {
  if (!L || !L->Links()) return;
  L->Links()->RebuildLists();
  if (TCustomdxBarControl* W = L->Links()->BarControl(); W && IsLiveBarControl(W)) W->Recalculate();
}

}  // namespace

void dxBarCustomizingPopupEntryClick(Integer ATag) {
  TdxBarItemLink* L = PopupLink();
  if (!L) return;
  switch (ATag) {
    case 0:
      L->SetUserDefine({});
      break;
    case 1: {
      TdxBarItemLinks* Links = L->Links();
      GPopupLink = nullptr;
      delete L;
      if (Links) {
        Links->RebuildLists();
        if (TCustomdxBarControl* W = Links->BarControl(); W && IsLiveBarControl(W)) W->Recalculate();
      }
      return;
    }
    case 3: case 4: case 5: case 6:
      L->SetUserPaintStyle(TdxBarPaintStyle(ATag - 3));
      break;
    case 7:
      L->SetBeginGroup(!L->GetBeginGroup());
      break;
    default:
      return;
  }
  Refresh(L);
}

bool dxBarCustomizingPopupNameChange(const AnsiString& AText) {
  TdxBarItemLink* L = PopupLink();
  if (!L) return false;
  if (AText.empty()) {
    if (GCustomizingPopup && IsLiveMenu(GCustomizingPopup))
      if (TdxBarSubMenuControl* W = GCustomizingPopup->GetBarControl(); W && IsLiveBarControl(W)) W->HideAll();
    if (Application)
      Application->MessageBox(dxBarStr(dxSBAR_COMMANDNAMECANNOTBEBLANK), Application->GetTitle(), MB_ICONERROR);
    return false;
  }
  L->SetUserCaption(AText);
  Refresh(L);
  return true;
}

TdxBarPopupMenu* dxBarCustomizingPopup() {
  return GCustomizingPopup && IsLiveMenu(GCustomizingPopup) ? GCustomizingPopup : nullptr;
}
TdxBarItemLink* dxBarCustomizingPopupLink() { return PopupLink(); }

TdxBarPopupMenu* dxBarBuildCustomizingPopup(TdxBarManager* M, TdxBarItemLink* ALink, TdxBarItemLinks* ALinks) {
  TdxBarPopupMenu* P = NewMenu(M, GCustomizingPopup);
  GPopupLink = ALink;
  GPopupLinks = ALinks;
  TdxBarItemLinks* Links = P->ItemLinks();
  // Tags 0 to 7: Reset, Delete, Name, the four paint styles, Begin a Group.
  static const unsigned Texts[] = {64981, 64982, 64983, 64985, 64986, 64987, 64988, 64989};
  auto* Button = dynamic_cast<TdxBarButton*>(ALink ? ALink->GetItem() : nullptr);
  // A button shows a paint style of its own; other kinds draw one way.
  const bool CanStyle = Button != nullptr;
  for (Integer Tag = 0; Tag <= 7; ++Tag) {
    TdxBarItem* Entry = nullptr;
    if (Tag == 2) {
      auto* E = new TdxBarNameEntry;
      dxBarAddTempItem(E);
      E->SetCaption(dxBarStr(Texts[Tag]));
      E->FLoading = true;
      if (ALink) E->SetText(ALink->GetCaption());
      E->FLoading = false;
      Entry = E;
    } else {
      TdxBarButton* B = dxBarNewTempButton(dxBarStr(Texts[Tag]), [](TdxBarButton* Sender) {
        dxBarCustomizingPopupEntryClick(Sender->GetTag());
      });
      if (Tag >= 3) {
        B->SetButtonStyle(bsChecked);
        if (Tag <= 6) B->SetGroupIndex(-1000);
      }
      if (Tag >= 3 && Tag <= 6) {
        B->SetEnabled(CanStyle);
        const Integer Down = CanStyle && ALink ? 3 + Integer(ALink->GetPaintStyle()) : 3;
        B->SetDown(Tag == Down);
      }
      if (Tag == 7 && ALink) {
        B->SetEnabled(ALink->Index() > 0);
        B->SetDown(ALink->GetBeginGroup());
      }
      Entry = B;
    }
    Entry->SetTag(Tag);
    TdxBarItemLink* EL = Links->AddItem(Entry);
    EL->SetBeginGroup(Tag == 0 || Tag == 2 || Tag == 3 || Tag == 7);
  }
  if (M->OnShowCustomizingPopup) M->OnShowCustomizingPopup(M, Links);
  return P;
}

TdxBarPopupMenu* dxBarBuildToolbarsPopup(TdxBarManager* M) {
  TdxBarPopupMenu* P = NewMenu(M, GToolbarsPopup);
  dxBarBuildToolbarsPopupLinks(M, P->ItemLinks());
  return P;
}

namespace {

void ShowMenu(TdxBarPopupMenu* P, TPoint ScreenPt, bool Animate) {
  if (P->ItemLinks()->Count() == 0) return;
  P->PopupFromItem(ScreenPt.X, ScreenPt.Y, 0, 0, Animate, nullptr, true);
}

}  // namespace

void dxBarShowToolbarsPopup(TdxBarManager* M, TPoint ScreenPt) {
  if (!M || M->IsDesigning()) return;
  if (TCustomdxBarControl* A = GetActiveBarControl(); A && IsLiveBarControl(A)) A->HideAll();
  ShowMenu(dxBarBuildToolbarsPopup(M), ScreenPt, true);
}

namespace {

// A press on a bar window: while customizing, a left press selects the
// link under it and, once the mouse moves, drags it; a right press opens
// the customizing popup on it. Outside customizing a right press on a
// toolbar opens the toolbars popup.
bool CustomizeMouse(TCustomdxBarControl* W, UINT Msg, TPoint P) {
  TdxBarManager* M = W->BarManager();
  if (!M || IsOwnMenuWindow(W)) return false;
  if (!M->IsCustomizing()) {
    if (Msg == WM_LBUTTONDBLCLK) return false;
    if (Msg != WM_RBUTTONDOWN || !dynamic_cast<TdxBarControl*>(W)) return false;
    if (W->HandleAllocated() && GetCapture() == W->Handle()) ReleaseCapture();
    const TPoint S = W->ClientToScreen(P);
    dxBarShowToolbarsPopup(M, S);
    return true;
  }
  // A second press in quick succession is a press of its own here: a link
  // is dragged, never run, while customizing.
  TdxBarItemControl* C = W->GetControlAtPos(P);
  if (!C) return false;  // the grip, the caption: the window's own
  const TPoint S = W->ClientToScreen(P);
  if (auto* Sub = dynamic_cast<TdxBarSubItemControl*>(C)) W->HotTrackControl(Sub);
  else W->SetSelectedControl(C);
  if (!IsLiveBarControl(W) || !W->HasControl(C)) return true;
  dxBarSetSelectedItem(C);
  W->DrawItem(C);
  if (Msg == WM_RBUTTONDOWN) {
    TdxBarPopupMenu* Popup = dxBarBuildCustomizingPopup(M, C->ItemLink(), W->ItemLinks());
    ShowMenu(Popup, S, false);
    return true;
  }
  if (!W->HandleAllocated() || !dxBarDragDetect(W->Handle(), S)) return true;
  if (!IsLiveBarControl(W) || !W->HasControl(C)) return true;
  dxBarDragItemOrLink(M, C->GetItem(), C->ItemLink(), &S);
  return true;
}

}  // namespace

namespace {
TdxBarPopupMenu* GQuickPopup = nullptr;
TdxBarSubItem* GAddRemove = nullptr;

bool IsLiveBar(TdxBarManager* M, TdxBar* B) {
  for (Integer I = 0; I < M->Bars()->Count(); ++I)
    if (M->Bars()->GetItem(I) == B) return true;
  return false;
}

void Relayout(TdxBar* B) {
  B->ItemLinks()->RebuildLists();
  if (TCustomdxBarControl* W = B->ItemLinks()->BarControl(); W && IsLiveBarControl(W)) W->Recalculate();
}
}  // namespace

// The entry of the last opening, while its form (and manager) still hold it.
TdxBarSubItem* LiveAddRemove() {
  if (!GAddRemove) return nullptr;
  for (Integer I = 0; I < BarManagers().Count(); ++I) {
    TdxBarManager* M = BarManagers().Get(I);
    for (Integer J = 0; J < M->GetItemCount(); ++J)
      if (M->GetItem(J) == GAddRemove) return GAddRemove;
  }
  GAddRemove = nullptr;
  return nullptr;
}

TCustomdxBarSubItem* dxBarQuickAddRemoveItem() { return LiveAddRemove(); }

TdxBarPopupMenu* dxBarBuildQuickCustomization(TdxBarControl* AToolbar) {
  TdxBarManager* M = AToolbar->BarManager();
  TdxBar* Bar = AToolbar->Bar();
  TdxBarPopupMenu* P = NewMenu(M, GQuickPopup);
  TdxBarItemLinks* Links = P->ItemLinks();
  // The links the toolbar has no room for.
  TdxBarItemLinks* Own = Bar->ItemLinks();
  for (Integer I = 0; I < Own->GetVisibleCount(); ++I) {
    TdxBarItemLink* L = Own->GetVisibleLink(I);
    const TRect R = L->GetItemRect();
    if (L->GetShownIndex() >= 0 && !(L->Control() && (R.Right <= R.Left || R.Bottom <= R.Top))) continue;
    Links->Add()->Assign(L);
  }
  // The previous opening's entry goes with its menu.
  delete LiveAddRemove();
  GAddRemove = new TdxBarSubItem(M->OwnerForm());
  GAddRemove->SetCaption(dxBarStr(64954));
  GAddRemove->SetEnabled(Bar->GetAllowQuickCustomizing());
  TdxBarItemLinks* Rows = GAddRemove->ItemLinks();
  for (Integer I = 0; I < Own->GetAvailableCount(); ++I) {
    TdxBarItemLink* L = Own->GetAvailableLink(I);
    TdxBarButton* B = dxBarNewTempButton(L->GetCaption(), [M, Bar](TdxBarButton* Sender) {
      // The toolbar and its link are found again: either may be gone.
      if (!IsLiveBar(M, Bar)) return;
      TdxBarItemLink* Target = Bar->ItemLinks()->GetItem(Sender->GetTag());
      if (!Target) return;
      Target->SetVisible(!Target->GetVisible());
      Sender->SetDown(Target->GetVisible());
      Relayout(Bar);
    });
    B->SetTag(L->Index());
    B->SetButtonStyle(bsChecked);
    B->SetDown(L->GetVisible());
    Rows->AddItem(B);
  }
  const bool Reset = M->CanReset() && Bar->CanReset();
  if (Reset) {
    TdxBarButton* B = dxBarNewTempButton(dxBarStr(64956), [M, Bar](TdxBarButton*) {
      if (IsLiveBar(M, Bar)) dxBarResetBarWithConfirmation(Bar);
    });
    Rows->AddItem(B)->SetBeginGroup(true);
  }
  dxBarAddCustomizeItem(M, Rows, !Reset);
  Links->AddItem(GAddRemove)->SetBeginGroup(true);
  return P;
}

TdxBarPopupMenu* dxBarShowQuickCustomization(TdxBarControl* AToolbar, const TRect& AMarkScreenRect) {
  TdxBarPopupMenu* P = dxBarBuildQuickCustomization(AToolbar);
  const bool Vertical = AToolbar->IsVertical();
  const TPoint At = Vertical ? TPoint{AMarkScreenRect.Right, AMarkScreenRect.Top}
                             : TPoint{AMarkScreenRect.Left, AMarkScreenRect.Bottom};
  ShowMenu(P, At, true);
  return P->GetBarControl() ? P : nullptr;
}

void dxBarCustomizingInitialization() {
  dxBarSetCustomizeMouseHook(&CustomizeMouse);
  TdxBarCustomizingHooks& H = dxBarCustomizingHooks();
  H.BarChanged = &dxBarCustomizingFormBarChanged;
  H.BarRemoved = &dxBarCustomizingFormBarRemoved;
  H.OptionsChanged = &dxBarCustomizingFormOptionsChanged;
  H.ShowQuickCustomization = &dxBarShowQuickCustomization;
  H.OwnerFormShown = &dxBarSubMenuEditorFollowOwner;
}
