#include "editor/base/Notifiers.h"

#include <dlfcn.h>

#include <algorithm>
#include <memory>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"

// ---------------------------------------------------------------------------
// TNotifierList

TNotifierListItem* TNotifierList::Add(const TNotifierProc& Proc) {
  Remove(Proc);
  auto* Item = static_cast<TNotifierListItem*>(FItems.Add());
  Item->Proc = Proc;
  return Item;
}

void TNotifierList::Remove(const TNotifierProc& Proc) {
  for (Integer I = 0; I < FItems.Count(); ++I) {
    auto* Item = static_cast<TNotifierListItem*>(FItems.Items(I));
    if (Item->Proc == Proc && Item->Proc.Data() == Proc.Data()) {
      delete Item;
      return;
    }
  }
}

void TNotifierList::RemoveTarget(TObject* Target) {
  for (Integer I = FItems.Count() - 1; I >= 0; --I) {
    auto* Item = static_cast<TNotifierListItem*>(FItems.Items(I));
    if (Item->Proc.Data() == Target) delete Item;
  }
}

void TNotifierList::Notify(TObject* Sender, Integer A, Integer B) {
  Integer I = FItems.Count() - 1;
  while (I >= 0) {
    const TNotifierProc Proc = static_cast<TNotifierListItem*>(FItems.Items(I))->Proc;
    if (Proc.Assigned()) Proc(Sender, A, B);
    I = std::min(FItems.Count(), I) - 1;
  }
}

// ---------------------------------------------------------------------------
// Packaged collections

std::vector<TPackagedCollection*>& PackagedCollections() {
  static std::vector<TPackagedCollection*> L;
  return L;
}

TPackagedCollection::TPackagedCollection(TClass AItemClass) : TCollection(AItemClass) {
  auto& L = PackagedCollections();
  std::erase(L, this);
  L.push_back(this);
}

TPackagedCollection::~TPackagedCollection() { std::erase(PackagedCollections(), this); }

TPackagedCollectionItem* TPackagedCollection::AddItem() {
  auto* Item = dynamic_cast<TPackagedCollectionItem*>(Add());
  if (!Item) throw EInvalidOperation("Items of a packaged collection must be packaged collection items");
  Item->LibValue = 0;
  Item->Group = CurrentGroup;
  return Item;
}

TPackagedCollectionItem* TPackagedCollection::LastItem() const {
  return Count() ? static_cast<TPackagedCollectionItem*>(Items(Count() - 1)) : nullptr;
}

void TPackagedCollection::FreeGroupItems(Integer Group) {
  for (Integer I = Count() - 1; I >= 0; --I) {
    auto* Item = static_cast<TPackagedCollectionItem*>(Items(I));
    if (Item->Group == Group) delete Item;
  }
}

void TPackagedCollection::Dispatch(TEdMessage& Message) {
  if (Message.Msg == DCM_MODULEUNLOADING) FreeGroupItems(Integer(Message.WParam));
}

bool BroadcastToList(const std::vector<TObject*>& List, UINT Msg, WPARAM WParam, LPARAM LParam, bool StopAtResult) {
  std::size_t I = List.size();
  while (I > 0) {
    --I;
    TEdMessage M{Msg, WParam, LParam, 0};
    if (auto* T = dynamic_cast<TEdMessageTarget*>(List[I])) T->Dispatch(M);
    if (StopAtResult && M.Result != 0) return false;
    I = std::min(List.size(), I);
  }
  return true;
}

bool BroadcastPackageMessage(UINT Msg, WPARAM WParam, LPARAM LParam, bool StopAtResult) {
  const auto& P = PackagedCollections();
  std::vector<TObject*> List(P.begin(), P.end());
  return BroadcastToList(List, Msg, WParam, LParam, StopAtResult);
}

// ---------------------------------------------------------------------------
// Class registries

TClassItem* TClassItems::FindClass(TClass AClass) const {
  for (Integer I = 0; I < Count(); ++I) {
    auto* Item = static_cast<TClassItem*>(Items(I));
    if (Item->ItemClass == AClass) return Item;
  }
  return nullptr;
}

TClassItem* TClassItems::AddClass(TClass AClass, Byte Flag) {
  TClassItem* Item = FindClass(AClass);
  if (!Item) Item = static_cast<TClassItem*>(AddItem());
  Item->Flags |= Flag;
  Item->ItemClass = AClass;
  return Item;
}

namespace {
// The four registries, each made on first use. The list of packaged
// collections is made before them, so that it is still there when static
// destruction frees a registry that DoneEditorLibrary did not.
struct TClassRegistries {
  TClassRegistries() { PackagedCollections(); }
  ~TClassRegistries() { Free(); }
  void Free() {
    ClassItems.reset();
    PopupInfos.reset();
    EditSourceInfos.reset();
    EditInfos.reset();
  }
  std::unique_ptr<TClassItems> ClassItems;
  std::unique_ptr<TPackagedCollection> PopupInfos, EditInfos, EditSourceInfos;
};
TClassRegistries& Registries() {
  static TClassRegistries R;
  return R;
}
TPackagedCollection* Infos(std::unique_ptr<TPackagedCollection>& Holder, TClass ItemClass) {
  if (!Holder) Holder = std::make_unique<TPackagedCollection>(ItemClass);
  return Holder.get();
}
}  // namespace

TClassItems* GetClassItems() {
  auto& R = Registries();
  if (!R.ClassItems) R.ClassItems = std::make_unique<TClassItems>();
  return R.ClassItems.get();
}

TPackagedCollection* GetPopupClassInfos() { return Infos(Registries().PopupInfos, TPopupClassInfo::StaticClass()); }

TPackagedCollection* GetEditClassInfos() { return Infos(Registries().EditInfos, TEditClassInfo::StaticClass()); }

TPackagedCollection* GetEditSourceClassInfos() {
  return Infos(Registries().EditSourceInfos, TEditSourceClassInfo::StaticClass());
}

void FreeClassRegistries() { Registries().Free(); }

// ---------------------------------------------------------------------------
// Registration hooks

namespace {
void RegisterOnPalette(const AnsiString& Page, const std::vector<TClass>& Classes) {
  RegisterClassesWithFlag(Page, Classes, cfPalette);
}
void RegisterWithoutIcon(const std::vector<TClass>& Classes) { RegisterClassesWithFlag("", Classes, cfNoIcon); }
void RegisterNonActiveXClasses(const std::vector<TClass>& Classes, Integer) {
  RegisterClassesWithFlag("", Classes, cfRegistered);
}
}  // namespace

void InstallRegistrationHooks() {
  if (!RegisterComponentsProc) RegisterComponentsProc = &RegisterOnPalette;
  if (!RegisterNoIconProc) RegisterNoIconProc = &RegisterWithoutIcon;
  if (!RegisterNonActiveXProc) RegisterNonActiveXProc = &RegisterNonActiveXClasses;
}

void RemoveRegistrationHooks() {
  if (RegisterComponentsProc == &RegisterOnPalette) RegisterComponentsProc = nullptr;
  if (RegisterNoIconProc == &RegisterWithoutIcon) RegisterNoIconProc = nullptr;
  if (RegisterNonActiveXProc == &RegisterNonActiveXClasses) RegisterNonActiveXProc = nullptr;
}

bool RegisterClassesWithFlag(const AnsiString& Page, const std::vector<TClass>& Classes, Byte Flag) {
  for (TClass C : Classes) {
    RegisterClass(C);
    TClassItem* Item = GetClassItems()->AddClass(C, Flag);
    if (Item->Page.empty()) Item->Page = Page;
  }
  return BroadcastPackageMessage(DCM_CLASSESREGISTERED, 0, 0, false);
}

namespace {
void AddInfo(TPackagedCollection* To, const TTypeInfo* PropType, Integer Value, const AnsiString& Text, TClass AClass) {
  auto* Info = static_cast<TPopupClassInfo*>(To->AddItem());
  Info->RegClass = AClass;
  Info->PropType = PropType;
  Info->Text = Text;
  Info->Value = Value;
  RegisterClassOnce(AClass);
}
}  // namespace

void RegisterPopupClass(const TTypeInfo* PropType, Integer Value, const AnsiString& Text, TClass AClass) {
  AddInfo(GetPopupClassInfos(), PropType, Value, Text, AClass);
}

void RegisterEditClass(const TTypeInfo* PropType, Integer Value, const AnsiString& Text, TClass AClass) {
  AddInfo(GetEditClassInfos(), PropType, Value, Text, AClass);
}

void RegisterDefaultEditClass(const TTypeInfo* PropType, Integer Value, const AnsiString& Text, TClass AClass) {
  RegisterEditClass(PropType, Value, Text, AClass);
  static_cast<TEditClassInfo*>(GetEditClassInfos()->LastItem())->IsDefault = true;
}

void RegisterClassOnce(TClass AClass) {
  if (!AClass) return;
  try {
    if (!GetClass(AClass->ClassName())) RegisterClass(AClass);
  } catch (const Exception&) {
  }
}

// ---------------------------------------------------------------------------
// Component helpers

AnsiString GetComponentNamePath(TComponent* Component) { return Component ? Component->GetNamePath() : AnsiString(); }

bool IsNameFreeInOwners(TComponent* Component, const AnsiString& Name) {
  for (TComponent* C = Component; C; C = C->Owner())
    if (C->FindComponent(Name)) return false;
  return true;
}

AnsiString MakeUniqueComponentName(TComponent* Component, const AnsiString& Base) {
  for (Integer N = 1;; ++N) {
    const AnsiString Candidate = Base + IntToStr(N);
    if (!Component || IsNameFreeInOwners(Component, Candidate)) return Candidate;
  }
}

HMODULE ModuleOfAddress(const void* Address) {
  // The loader knows which mapped image holds an address; heap, stack and
  // unmapped addresses belong to none.
  Dl_info Info{};
  if (!Address || !dladdr(Address, &Info) || !Info.dli_fbase) return nullptr;
  return static_cast<HMODULE>(Info.dli_fbase);
}

void CallProc(const TProcedure& Proc) {
  if (Proc) Proc();
}
