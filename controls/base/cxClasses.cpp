#include "controls/base/cxClasses.h"

#include <algorithm>
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/MulDiv.h"
#include "platform/win/Resources.h"

// --- TcxRegisteredClasses ---

TcxRegisteredClasses::TcxRegisteredClasses(bool ARegisterClasses) : FRegisterClasses(ARegisterClasses) {}

AnsiString TcxRegisteredClasses::GetDisplayName(int Index) const {
  const AnsiString& D = FItems.at(std::size_t(Index)).Description;
  const std::size_t Bar = D.find('|');
  return Bar == AnsiString::npos ? D : D.substr(0, Bar);
}

int TcxRegisteredClasses::FindClassIndex(TClass AClass) const {
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].Class == AClass) return int(i);
  return -1;
}

void TcxRegisteredClasses::AddClass(TClass AClass, const AnsiString& ADescription) {
  if (FindClassIndex(AClass) >= 0) return;
  FItems.push_back({ADescription, AClass});
  if (FSorted) SortEntries();
  if (FRegisterClasses) RegisterClass(AClass);
}

void TcxRegisteredClasses::RemoveClass(TClass AClass) {
  const int I = FindClassIndex(AClass);
  if (I >= 0) FItems.erase(FItems.begin() + I);
}

void TcxRegisteredClasses::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (FSorted) SortEntries();
}

TClass TcxRegisteredClasses::LookupByClassName(const AnsiString& AName) const {
  for (const TEntry& E : FItems)
    if (E.Class && E.Class->ClassName() == AName) return E.Class;
  return nullptr;
}

int TcxRegisteredClasses::CompareEntries(int Index1, int Index2) const {
  return AnsiCompareText(GetDisplayName(Index1), GetDisplayName(Index2));
}

void TcxRegisteredClasses::SortEntries() {
  // CompareEntries works on indexes, so sort a permutation and apply it.
  std::vector<int> Order(FItems.size());
  for (std::size_t i = 0; i < Order.size(); ++i) Order[i] = int(i);
  std::stable_sort(Order.begin(), Order.end(), [this](int A, int B) { return CompareEntries(A, B) < 0; });
  std::vector<TEntry> Sorted;
  Sorted.reserve(FItems.size());
  for (int I : Order) Sorted.push_back(FItems[std::size_t(I)]);
  FItems = std::move(Sorted);
}

// --- TcxRegisteredClassList ---

bool TcxRegisteredClassList::FindEntry(TClass AItemClass, int& AIndex) const {
  for (int i = int(FItems.size()) - 1; i >= 0; --i) {
    const TClass C = FItems[std::size_t(i)].ItemClass;
    if (AItemClass->InheritsFrom(C)) {
      AIndex = i;
      return true;
    }
    if (C->InheritsFrom(AItemClass)) AIndex = i;
  }
  return false;
}

void TcxRegisteredClassList::AddPair(TClass AItemClass, TClass ARegisteredClass) {
  int Index = -1;
  const TcxRegisteredClassListItemData Item{AItemClass, ARegisteredClass};
  if (FindEntry(AItemClass, Index))
    FItems.insert(FItems.begin() + Index + 1, Item);
  else if (Index >= 0)
    FItems.insert(FItems.begin() + Index, Item);
  else
    FItems.push_back(Item);
}

void TcxRegisteredClassList::RemovePair(TClass AItemClass, TClass ARegisteredClass) {
  for (int i = int(FItems.size()) - 1; i >= 0; --i)
    if (FItems[std::size_t(i)].ItemClass == AItemClass && FItems[std::size_t(i)].RegisteredClass == ARegisteredClass)
      FItems.erase(FItems.begin() + i);
}

// --- TcxAutoWidthObject ---

TcxAutoWidthObject::TcxAutoWidthObject(int ACapacity) { FItems.reserve(std::size_t(std::max(ACapacity, 0))); }

TcxAutoWidthItem* TcxAutoWidthObject::AppendItem() {
  FItems.push_back(std::make_unique<TcxAutoWidthItem>());
  return FItems.back().get();
}

int TcxAutoWidthObject::GetTotalWidth() const {
  int Sum = 0;
  for (const auto& I : FItems) Sum += I->Width;
  return Sum;
}

void TcxAutoWidthObject::DistributeWidth() {
  int RestAvail = AvailableWidth;
  int RestTotal = GetTotalWidth();
  for (const auto& I : FItems) {
    I->AutoWidth = -1;
    if (I->Fixed) {
      I->AutoWidth = I->Width;
      RestAvail -= I->AutoWidth;
      RestTotal -= I->Width;
    }
  }
  // A share is a proportion of the natural widths; with nothing left to
  // divide by (all remaining natural widths 0) there is no proportion, so
  // the remaining items get their minimum (at least 0) instead of a
  // division by zero.
  auto Share = [](int Running, int Width, int Avail, int Total) {
    return MulDiv(Running + Width, Avail, Total) - MulDiv(Running, Avail, Total);
  };
  bool Final = false;
  for (;;) {
    if (RestTotal == 0) {
      for (const auto& I : FItems)
        if (I->AutoWidth == -1) I->AutoWidth = std::max(I->MinWidth, 0);
      break;
    }
    const int Avail = RestAvail, Total = RestTotal;
    int Running = 0;
    bool Pinned = false;
    for (const auto& I : FItems) {
      if (I->AutoWidth != -1) continue;
      const int S = Share(Running, I->Width, Avail, Total);
      if (Final)
        I->AutoWidth = S;
      else if (I->MinWidth >= S) {
        I->AutoWidth = I->MinWidth;
        RestAvail -= I->MinWidth;
        RestTotal -= I->Width;
        Pinned = true;
      }
      Running += I->Width;
    }
    if (Final) break;
    if (!Pinned) Final = true;
  }
}

// --- object links ---

namespace {
struct TcxObjectLinkController {
  std::vector<std::unique_ptr<TcxObjectLink>> Links;
};
std::unique_ptr<TcxObjectLinkController>& LinkController() {
  static std::unique_ptr<TcxObjectLinkController> C;
  return C;
}
}  // namespace

TcxObjectLink* AddObjectLink(const void* AObject) {
  auto& C = LinkController();
  if (!C) C = std::make_unique<TcxObjectLinkController>();
  C->Links.push_back(std::make_unique<TcxObjectLink>(TcxObjectLink{AObject}));
  return C->Links.back().get();
}

void RemoveObjectLink(TcxObjectLink* ALink) {
  auto& C = LinkController();
  if (!C || !ALink) return;
  auto It = std::find_if(C->Links.begin(), C->Links.end(), [ALink](const auto& L) { return L.get() == ALink; });
  if (It != C->Links.end()) C->Links.erase(It);
  if (C->Links.empty()) C.reset();
}

void ClearObjectLinks(const void* AObject) {
  auto& C = LinkController();
  if (!C) return;
  for (auto& L : C->Links)
    if (L->Target == AObject) L->Target = nullptr;
}

// --- resource texts ---

AnsiString TranslateLoadedString(const AnsiString& AText) { return AText; }
AnsiString LoadTranslatedResString(unsigned AResId) { return LoadResString(AResId); }

// --- TcxComponent ---

TcxComponent::~TcxComponent() {
  // The weak links learn of the end before anything else of the component goes.
  Destroying();
  ClearObjectLinks(this);
}

void TcxComponent::Loaded() {
  TComponent::Loaded();
  RefreshFakeLinks();
}

void TcxComponent::RefreshFakeLinks() {
  if (!ComponentState().Contains(csDesigning) || ComponentState().Contains(csDestroying) || !Owner()) return;
  std::vector<TComponent*> List;
  CollectFakeLinks(List);
  auto At = [&](std::size_t I) { return I < List.size() ? List[I] : nullptr; };
  FFakeComponentLink1 = At(0);
  FFakeComponentLink2 = At(1);
  FFakeComponentLink3 = At(2);
}

// --- TcxFreeNotificator ---

void TcxFreeNotificator::WatchComponent(TComponent* AComponent) {
  if (AComponent) AComponent->FreeNotification(this);
}

void TcxFreeNotificator::UnwatchComponent(TComponent* AComponent) {
  if (AComponent) AComponent->RemoveFreeNotification(this);
}

void TcxFreeNotificator::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && OnComponentFreed.Assigned()) OnComponentFreed(AComponent);
}
