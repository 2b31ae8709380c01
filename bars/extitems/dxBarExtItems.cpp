// dxBarExtItems.cpp — the unit's start-up and the list-like kinds: MRU
// list, toolbars list, in-place sub-item. The edit-like and drawn kinds are
// in dxBarExtEdits.cpp and dxBarExtDrawn.cpp.
#include "bars/extitems/dxBarExtItems.h"

#include <algorithm>
#include <vector>
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/model/dxBarItemLinks.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarRegistry.h"
#include "bars/windows/dxBarItemControls.h"
#include "bars/windows/dxBarWindows.h"
#include "controls/base/cxClasses.h"
#include "platform/gdi/FontTypes.h"
#include "platform/gdi/Text.h"
#include "platform/win/Paint.h"

// ---------------------------------------------------------------------------
// Path shortening

AnsiString MinimizePathText(const AnsiString& S) {
  if (S.empty()) return S;
  // The text is shortened in place: the buffer is sized to the text (and the
  // four characters the shortening may add), so no length overflows it.
  std::vector<char> Buffer(S.size() + 5, '\0');
  std::copy(S.begin(), S.end(), Buffer.begin());
  TRect Box{0, 0, 300, 100};
  HDC DC = GetDC(nullptr);
  if (!DC) return S;
  DrawTextA(DC, Buffer.data(), Integer(S.size()), &Box,
            DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX | DT_PATH_ELLIPSIS | DT_MODIFYSTRING);
  ReleaseDC(nullptr, DC);
  return AnsiString(Buffer.data());
}

// ---------------------------------------------------------------------------
// MRU list

void TdxBarMRUListItem::Published(TPublished<TdxBarMRUListItem>& P) {
  P.Property("Items", &TdxBarMRUListItem::GetItems, &TdxBarMRUListItem::SetItems);
  P.Property("MaxItemCount", &TdxBarMRUListItem::GetMaxItemCount, &TdxBarMRUListItem::SetMaxItemCount).Default(5);
  P.Property("RemoveItemOnClick", &TdxBarMRUListItem::GetRemoveItemOnClick,
             &TdxBarMRUListItem::SetRemoveItemOnClick)
      .Default(false);
  P.Property("OnClick", &TdxBarMRUListItem::OnClick, &TdxBarMRUListItem::OnClick);
}

TdxBarMRUListItem::TdxBarMRUListItem(TComponent* AOwner) : TdxBarListItem(AOwner) {}

void TdxBarMRUListItem::SetItems(TStrings* Value) { Items()->Assign(Value); }

void TdxBarMRUListItem::SetMaxItemCount(Integer Value) {
  if (Value < 0) Value = 0;
  if (FMaxItemCount == Value) return;
  FMaxItemCount = Value;
  CheckMaxItemCount();
}

void TdxBarMRUListItem::CheckMaxItemCount() {
  if (FMaxItemCount == 0) return;
  while (Items()->GetCount() > FMaxItemCount) Items()->Delete(Items()->GetCount() - 1);
}

void TdxBarMRUListItem::RemoveItem(const AnsiString& S, TObject* AObject) {
  const Integer I = S.empty() ? Items()->IndexOfObject(AObject) : Items()->IndexOf(S);
  if (I >= 0) Items()->Delete(I);
}

AnsiString TdxBarMRUListItem::GetDisplayText(const AnsiString& S) const {
  return MinimizePathText(TdxBarListItem::GetDisplayText(S));
}

bool TdxBarMRUListItem::OwnLinkActive() const {
  for (Integer I = 0; I < GetLinkCount(); ++I)
    if (TdxBarItemControl* C = GetLink(I)->Control(); C && C->GetActive()) return true;
  return false;
}

void TdxBarMRUListItem::DoClick() {
  // A click on the list's own row (a toolbar's drop-down) is no entry.
  if (OwnLinkActive()) return;
  TcxObjectLinkGuard Alive(this);
  TdxBarListItem::DoClick();
  if (!Alive.Alive()) return;
  TdxBarManager* M = BarManager();
  if (!FRemoveItemOnClick || (M && M->IsCustomizing())) return;
  // The entry removed is the one clicked: by its index, not by its text,
  // so that of two equal entries the other one stays where it is.
  const Integer I = GetItemIndex();
  if (I >= 0 && I < Items()->GetCount()) Items()->Delete(I);
  SetItemIndex(-1);
}

// ---------------------------------------------------------------------------
// In-place sub-item

void TdxBarInPlaceSubItem::Published(TPublished<TdxBarInPlaceSubItem>& P) {
  P.Property("Expanded", &TdxBarInPlaceSubItem::GetExpanded, &TdxBarInPlaceSubItem::SetExpanded).Default(false);
  P.Property("KeepBeginGroupWhileExpanded", &TdxBarInPlaceSubItem::GetKeepBeginGroupWhileExpanded,
             &TdxBarInPlaceSubItem::SetKeepBeginGroupWhileExpanded);
  P.Property("OnAfterExpand", &TdxBarInPlaceSubItem::OnAfterExpand, &TdxBarInPlaceSubItem::OnAfterExpand);
  P.Property("OnBeforeCollapse", &TdxBarInPlaceSubItem::OnBeforeCollapse, &TdxBarInPlaceSubItem::OnBeforeCollapse);
}

void TdxBarInPlaceSubItem::SetExpanded(bool Value) {
  if (FExpanded == Value) return;
  TcxObjectLinkGuard Alive(this);
  if (!Value)
    for (Integer I = 0; I < GetLinkCount() && Alive.Alive(); ++I) DoBeforeCollapse(GetLink(I));
  if (!Alive.Alive()) return;
  FExpanded = Value;
  if (!ItemLoading()) {
    FRebuilding = true;
    try {
      // Each menu that shows the item re-lays out once.
      std::vector<TCustomdxBarControl*> Done;
      for (Integer I = 0; I < GetLinkCount(); ++I) {
        TdxBarItemLinks* L = GetLink(I)->Links();
        auto* Menu = L ? dynamic_cast<TdxBarSubMenuControl*>(L->BarControl()) : nullptr;
        if (!Menu || !IsLiveBarControl(Menu) || std::find(Done.begin(), Done.end(), Menu) != Done.end()) continue;
        Done.push_back(Menu);
        Menu->Recalculate();
      }
    } catch (...) {
      FRebuilding = false;
      throw;
    }
    FRebuilding = false;
  }
  if (Value)
    for (Integer I = 0; I < GetLinkCount() && Alive.Alive(); ++I) DoAfterExpand(GetLink(I));
}

void TdxBarInPlaceSubItem::AddListItems(TdxBarItemLinks* Links, Integer Index, TdxBarItemLink* Link, bool NeedData) {
  if (FExpanded) TdxBarContainerItem::AddListItems(Links, Index, Link, NeedData);
}

void TdxBarInPlaceSubItem::DeleteListItems(TdxBarItemLinks* Links, Integer Index) {
  if (UnfoldedEntriesPresent()) TdxBarContainerItem::DeleteListItems(Links, Index);
}

void TdxBarInPlaceSubItem::DoAfterExpand(TdxBarItemLink* Link) {
  if (OnAfterExpand) OnAfterExpand(this, Link);
  SetFollowingBeginGroup(Link, true);
}

void TdxBarInPlaceSubItem::DoBeforeCollapse(TdxBarItemLink* Link) {
  if (OnBeforeCollapse) OnBeforeCollapse(this, Link);
  SetFollowingBeginGroup(Link, false);
}

void TdxBarInPlaceSubItem::SetFollowingBeginGroup(TdxBarItemLink* Link, bool Value) {
  if (!FKeepBeginGroupWhileExpanded || !Link) return;
  TdxBarItemLinks* L = Link->Links();
  if (!L || dynamic_cast<TdxBarControl*>(L->BarControl())) return;
  const Integer Own = Link->GetShownIndex();
  if (Own < 0) return;
  TdxBarManager* M = BarManager();
  const Integer Next = (M && M->IsDesigning()) ? Own + 1 : Own + ItemLinks()->GetShownCount() + 1;
  if (TdxBarItemLink* After = L->GetShownLink(Next)) After->SetBeginGroup(Value);
}
