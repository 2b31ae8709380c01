// ObjectParams.h — the registry of classes with named parameters, and what
// the library registers on it: key mappings, named commands (verbs) and
// environment option classes.
//
// A registration is a class plus a list of name = Variant parameters.
// Look-ups match classes by inheritance (FindParamItemForClass: the query
// class descends from the registered one; FindParamItemOfClass: the other
// way round) and parameters by value.
#pragma once
#include <vector>
#include "platform/rtl/Collection.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Variants.h"

class TParamListData : public TObject {
public:
  explicit TParamListData(const Variant& AValue) : Value(AValue) {}
  Variant Value;
};

class TObjectParamListItem : public TCollectionItem {
  SX_CLASS(TObjectParamListItem, TCollectionItem)
public:
  explicit TObjectParamListItem(TCollection* ACollection);
  ~TObjectParamListItem() override;

  TStringList* Params() { return &FParams; }
  TClass RegClass = nullptr;
  Byte Active = 0;
  Integer Group = -1;

private:
  TStringList FParams;  // sorted, duplicates ignored; owns its TParamListData
};

class TObjectParamList : public TCollection {
  SX_CLASS(TObjectParamList, TCollection)
public:
  TObjectParamList() : TCollection(TObjectParamListItem::StaticClass()) {}
};
TObjectParamList* GetObjectParamList();
// Frees the registry with every registration (the end of the library,
// EdLibrary.h); the next request makes an empty one.
void FreeObjectParamList();

// Flags for the parameter comparison, added together.
inline constexpr Integer pfIgnoreCase = 1;
inline constexpr Integer pfContains = 2;

TObjectParamListItem* RegisterClassParams(TClass AClass, const std::vector<AnsiString>& Names,
                                          const std::vector<Variant>& Values);
void SetItemParam(TObjectParamListItem* Item, const AnsiString& Name, const Variant& Value);
// Null when the name is missing.
Variant GetItemParam(TObjectParamListItem* Item, const AnsiString& Name);
bool ParamValuesEqual(const Variant& Stored, const Variant& Wanted, Integer Flags);
// Mode 0: the query class is or descends from the registered class; mode 1:
// the other way round; any other mode: the same class. With a list, every
// match is appended and the result is nil.
TObjectParamListItem* FindParamItem(TClass AClass, const std::vector<AnsiString>& Names,
                                    const std::vector<Variant>& Values, Integer Flags, Integer Mode,
                                    std::vector<TObjectParamListItem*>* List);
TObjectParamListItem* FindParamItemForClass(TClass AClass, const std::vector<AnsiString>& Names,
                                            const std::vector<Variant>& Values, Integer Flags);
TObjectParamListItem* FindParamItemOfClass(TClass AClass, const std::vector<AnsiString>& Names,
                                           const std::vector<Variant>& Values, Integer Flags);
// Every active registration of the class or a descendant, in order.
void ListParamItems(TClass AClass, std::vector<TObjectParamListItem*>& List);

// Key mappings: a procedure that fills a control's key list.
using TKeyMappingProc = void (*)(TObject* Control);
void RegisterKeyMapping(TClass ControlClass, const AnsiString& Name, TKeyMappingProc Proc);
// Nil when no mapping of that name (any letter case) is registered for the
// class or an ancestor.
TKeyMappingProc FindKeyMappingProc(TClass ControlClass, const AnsiString& Name);

// Named commands. What the procedures take is the library's own choice:
// nothing calls them through the registry.
class TVerbObject : public TPersistent {
  SX_CLASS(TVerbObject, TPersistent)
};
using TVerbStateProc = Integer (*)();
using TVerbExecuteProc = void (*)();
void RegisterVerb(const AnsiString& Name, TVerbStateProc GetState, TVerbExecuteProc Execute);
void NotifyVerbsChanged();

void RegisterEnvironmentOptions(TClass OptionClass);
