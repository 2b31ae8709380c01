#include "editor/base/ObjectParams.h"

#include <cstdint>
#include <memory>

#include "editor/base/Notifiers.h"
#include "platform/rtl/AnsiStrings.h"

namespace {
template <class P>
Variant ProcValue(P Proc) {
  return Variant(Int64(reinterpret_cast<std::intptr_t>(Proc)));
}
template <class P>
P ProcFrom(const Variant& V) {
  return reinterpret_cast<P>(static_cast<std::intptr_t>(V.AsInt64()));
}
}  // namespace

TObjectParamListItem::TObjectParamListItem(TCollection* ACollection) : TCollectionItem(ACollection) {
  FParams.SetSorted(true);
  FParams.SetDuplicates(dupIgnore);
}

TObjectParamListItem::~TObjectParamListItem() {
  for (Integer I = 0; I < FParams.GetCount(); ++I) delete FParams.GetObjects(I);
}

namespace {
std::unique_ptr<TObjectParamList>& ObjectParamList() {
  static std::unique_ptr<TObjectParamList> L;
  return L;
}
}  // namespace

TObjectParamList* GetObjectParamList() {
  auto& L = ObjectParamList();
  if (!L) L = std::make_unique<TObjectParamList>();
  return L.get();
}

void FreeObjectParamList() { ObjectParamList().reset(); }

void SetItemParam(TObjectParamListItem* Item, const AnsiString& Name, const Variant& Value) {
  TStringList* P = Item->Params();
  Integer Index;
  if (P->Find(Name, Index))
    static_cast<TParamListData*>(P->GetObjects(Index))->Value = Value;
  else
    P->AddObject(Name, new TParamListData(Value));
}

Variant GetItemParam(TObjectParamListItem* Item, const AnsiString& Name) {
  TStringList* P = Item->Params();
  Integer Index;
  if (!P->Find(Name, Index)) return Null();
  return static_cast<TParamListData*>(P->GetObjects(Index))->Value;
}

TObjectParamListItem* RegisterClassParams(TClass AClass, const std::vector<AnsiString>& Names,
                                          const std::vector<Variant>& Values) {
  if (Names.size() != Values.size()) throw EInvalidOperation("Parameter names and values differ in number");
  auto* Item = static_cast<TObjectParamListItem*>(GetObjectParamList()->Add());
  Item->RegClass = AClass;
  Item->Active = 1;
  Item->Group = CurrentGroup;
  for (std::size_t I = 0; I < Names.size(); ++I) SetItemParam(Item, Names[I], Values[I]);
  return Item;
}

bool ParamValuesEqual(const Variant& Stored, const Variant& Wanted, Integer Flags) {
  if (VarType(Stored) != VarType(Wanted)) return false;
  if (VarType(Stored) == varString) {
    AnsiString S = Stored.AsString(), W = Wanted.AsString();
    if (Flags & pfIgnoreCase) {
      S = AnsiUpperCase(S);
      W = AnsiUpperCase(W);
    }
    if (Flags & pfContains) return S.find(W) != AnsiString::npos || W.find(S) != AnsiString::npos;
    return S == W;
  }
  try {
    return Stored == Wanted;
  } catch (const EVariantError&) {
    return false;
  }
}

TObjectParamListItem* FindParamItem(TClass AClass, const std::vector<AnsiString>& Names,
                                    const std::vector<Variant>& Values, Integer Flags, Integer Mode,
                                    std::vector<TObjectParamListItem*>* List) {
  TObjectParamList* All = GetObjectParamList();
  for (Integer I = 0; I < All->Count(); ++I) {
    auto* Item = static_cast<TObjectParamListItem*>(All->Items(I));
    if (!Item->Active || !AClass || !Item->RegClass) continue;
    bool Related;
    switch (Mode) {
      case 0: Related = AClass->InheritsFrom(Item->RegClass); break;
      case 1: Related = Item->RegClass->InheritsFrom(AClass); break;
      default: Related = AClass == Item->RegClass; break;
    }
    if (!Related) continue;
    bool Match = true;
    for (std::size_t N = 0; N < Names.size() && Match; ++N)
      Match = N < Values.size() && ParamValuesEqual(GetItemParam(Item, Names[N]), Values[N], Flags);
    if (!Match) continue;
    if (!List) return Item;
    List->push_back(Item);
  }
  return nullptr;
}

TObjectParamListItem* FindParamItemForClass(TClass AClass, const std::vector<AnsiString>& Names,
                                            const std::vector<Variant>& Values, Integer Flags) {
  return FindParamItem(AClass, Names, Values, Flags, 0, nullptr);
}

TObjectParamListItem* FindParamItemOfClass(TClass AClass, const std::vector<AnsiString>& Names,
                                           const std::vector<Variant>& Values, Integer Flags) {
  return FindParamItem(AClass, Names, Values, Flags, 1, nullptr);
}

void ListParamItems(TClass AClass, std::vector<TObjectParamListItem*>& List) {
  List.clear();
  TObjectParamList* All = GetObjectParamList();
  for (Integer I = 0; I < All->Count(); ++I) {
    auto* Item = static_cast<TObjectParamListItem*>(All->Items(I));
    if (Item->Active && Item->RegClass && AClass && Item->RegClass->InheritsFrom(AClass)) List.push_back(Item);
  }
}

void RegisterKeyMapping(TClass ControlClass, const AnsiString& Name, TKeyMappingProc Proc) {
  RegisterClassParams(ControlClass, {"KeyboardClass.ID", "KeyboardClass.InitName", "KeyboardClass.InitProc"},
                      {Variant("KeyboardClass.ID"), Variant(Name), ProcValue(Proc)});
}

TKeyMappingProc FindKeyMappingProc(TClass ControlClass, const AnsiString& Name) {
  TObjectParamListItem* Item = FindParamItemForClass(
      ControlClass, {"KeyboardClass.ID", "KeyboardClass.InitName"}, {Variant("KeyboardClass.ID"), Variant(Name)},
      pfIgnoreCase);
  if (!Item) return nullptr;
  const Variant P = GetItemParam(Item, "KeyboardClass.InitProc");
  return VarIsNull(P) ? nullptr : ProcFrom<TKeyMappingProc>(P);
}

void RegisterVerb(const AnsiString& Name, TVerbStateProc GetState, TVerbExecuteProc Execute) {
  RegisterClassParams(TVerbObject::StaticClass(), {"Verb.Name", "Verb.GetState", "Verb.Execute"},
                      {Variant(Name), ProcValue(GetState), ProcValue(Execute)});
  NotifyVerbsChanged();
}

void NotifyVerbsChanged() { BroadcastPackageMessage(DCM_VERBSCHANGED, 0, 0, false); }

void RegisterEnvironmentOptions(TClass OptionClass) {
  RegisterClassParams(OptionClass, {"Environment.Options"}, {Variant(Integer(123))});
}
