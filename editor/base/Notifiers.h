// Notifiers.h — shared services of the editor library's system unit: the
// notifier list through which a memo source or a parser tells its editors
// about changes; collections whose items remember the design group that
// added them (TPackagedCollection) with the global list that receives
// broadcast messages; the class registries built on them; the abstract edit
// source; and component helpers.
#pragma once
#include <functional>
#include <vector>
#include "platform/rtl/Collection.h"
#include "platform/rtl/Component.h"
#include "platform/rtl/Lists.h"
#include "platform/rtl/RegistrationHooks.h"
#include "platform/win/WinTypes.h"

inline constexpr UINT DCM_VERBSCHANGED = 2045;
inline constexpr UINT DCM_MODULEUNLOADING = 2058;
inline constexpr UINT DCM_CLASSESREGISTERED = 2069;

// A message as the library's broadcasts carry it.
struct TEdMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// An object that handles broadcast messages. Objects without it ignore them.
// Our class library dispatches messages only on controls (TControl), and the
// library's broadcasts reach collections, not windows, so the objects that
// take them say so through this interface.
class TEdMessageTarget {
public:
  virtual ~TEdMessageTarget() = default;
  virtual void Dispatch(TEdMessage& Message) = 0;
};

// ---------------------------------------------------------------------------
// Notifier list

using TNotifierProc = TEvent<void(TObject* Sender, Integer A, Integer B)>;

class TNotifierListItem : public TCollectionItem {
  SX_CLASS(TNotifierListItem, TCollectionItem)
public:
  explicit TNotifierListItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
  TNotifierProc Proc;
};

class TNotifierList : public TObject {
public:
  TNotifierList() : FItems(TNotifierListItem::StaticClass()) {}

  // A listener is held once; adding it again moves it to the end.
  TNotifierListItem* Add(const TNotifierProc& Proc);
  void Remove(const TNotifierProc& Proc);
  void RemoveTarget(TObject* Target);
  // Last listener first. Listeners may remove themselves or others meanwhile.
  void Notify(TObject* Sender, Integer A, Integer B);
  Integer Count() const { return FItems.Count(); }

private:
  TCollection FItems;
};

// ---------------------------------------------------------------------------
// Packaged collections

// The design-group number of items added in a running program.
inline constexpr Integer CurrentGroup = -1;

class TPackagedCollectionItem : public TCollectionItem {
  SX_CLASS(TPackagedCollectionItem, TCollectionItem)
public:
  explicit TPackagedCollectionItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
  Integer LibValue = 0;
  Integer Group = CurrentGroup;
};

class TPackagedCollection : public TCollection, public TEdMessageTarget {
  SX_CLASS(TPackagedCollection, TCollection)
public:
  explicit TPackagedCollection(TClass AItemClass);
  ~TPackagedCollection() override;

  TPackagedCollectionItem* AddItem();
  TPackagedCollectionItem* LastItem() const;
  // Frees, last first, every item of the group.
  void FreeGroupItems(Integer Group);
  // DCM_MODULEUNLOADING frees the group in WParam.
  void Dispatch(TEdMessage& Message) override;
};

// The collections that hear broadcasts, in creation order.
std::vector<TPackagedCollection*>& PackagedCollections();

// Sends the message to each object, last first. With StopAtResult the walk
// ends, returning false, at the first handler that sets a non-zero result.
bool BroadcastToList(const std::vector<TObject*>& List, UINT Msg, WPARAM WParam, LPARAM LParam, bool StopAtResult);
bool BroadcastPackageMessage(UINT Msg, WPARAM WParam, LPARAM LParam, bool StopAtResult);

// ---------------------------------------------------------------------------
// Class registries

inline constexpr Byte cfRegistered = 1;
inline constexpr Byte cfNoIcon = 4;
inline constexpr Byte cfPalette = 8;

class TClassItem : public TPackagedCollectionItem {
  SX_CLASS(TClassItem, TPackagedCollectionItem)
public:
  explicit TClassItem(TCollection* ACollection) : TPackagedCollectionItem(ACollection) {}
  TClass ItemClass = nullptr;
  Byte Flags = 0;
  AnsiString Page;
};

class TClassItems : public TPackagedCollection {
  SX_CLASS(TClassItems, TPackagedCollection)
public:
  TClassItems() : TPackagedCollection(TClassItem::StaticClass()) {}
  TClassItem* FindClass(TClass AClass) const;
  // Finds or adds the class's item and ORs the flag in.
  TClassItem* AddClass(TClass AClass, Byte Flag);
};
TClassItems* GetClassItems();

// Registers each class with the class library and the class items (the page
// is kept from the first registration that gave one), then broadcasts
// DCM_CLASSESREGISTERED; its result.
bool RegisterClassesWithFlag(const AnsiString& Page, const std::vector<TClass>& Classes, Byte Flag);

class TPopupClassInfo : public TPackagedCollectionItem {
  SX_CLASS(TPopupClassInfo, TPackagedCollectionItem)
public:
  explicit TPopupClassInfo(TCollection* ACollection) : TPackagedCollectionItem(ACollection) {}
  TClass RegClass = nullptr;
  const TTypeInfo* PropType = nullptr;
  AnsiString Text;
  Integer Value = 0;
};

class TEditClassInfo : public TPopupClassInfo {
  SX_CLASS(TEditClassInfo, TPopupClassInfo)
public:
  explicit TEditClassInfo(TCollection* ACollection) : TPopupClassInfo(ACollection) {}
  bool IsDefault = false;
};

class TEditSourceClassInfo : public TPackagedCollectionItem {
  SX_CLASS(TEditSourceClassInfo, TPackagedCollectionItem)
public:
  explicit TEditSourceClassInfo(TCollection* ACollection) : TPackagedCollectionItem(ACollection) {}
  TClass RegClass = nullptr;
};

TPackagedCollection* GetPopupClassInfos();
TPackagedCollection* GetEditClassInfos();
TPackagedCollection* GetEditSourceClassInfos();
// Frees the class items and the popup, edit-source and edit class
// collections (the end of the library, EdLibrary.h); the next request makes
// an empty one.
void FreeClassRegistries();

// The class library's three registration hooks, where empty, register
// through RegisterClassesWithFlag: components on a palette page with
// cfPalette and the page, classes without an icon with cfNoIcon, the third
// kind with cfRegistered. Removing empties only the hooks that still hold
// the library's own procedures. The library's start and end run them.
void InstallRegistrationHooks();
void RemoveRegistrationHooks();

void RegisterPopupClass(const TTypeInfo* PropType, Integer Value, const AnsiString& Text, TClass AClass);
void RegisterEditClass(const TTypeInfo* PropType, Integer Value, const AnsiString& Text, TClass AClass);
void RegisterDefaultEditClass(const TTypeInfo* PropType, Integer Value, const AnsiString& Text, TClass AClass);
// Registers the class with the class library unless its name is taken;
// failures are ignored.
void RegisterClassOnce(TClass AClass);

// The text of an edit control comes from one of these (edit controls).
class TEditSource : public TComponent {
  SX_CLASS(TEditSource, TComponent)
public:
  explicit TEditSource(TComponent* AOwner) : TComponent(AOwner) {}
  virtual AnsiString GetText() = 0;
  virtual void SetText(const AnsiString& Value) = 0;
};

// ---------------------------------------------------------------------------
// Component helpers

// The component's name path; "" for nil.
AnsiString GetComponentNamePath(TComponent* Component);
// False when the component or one of its owners owns a component named Name.
bool IsNameFreeInOwners(TComponent* Component, const AnsiString& Name);
// Base followed by the first counter from 1 that gives a free name.
AnsiString MakeUniqueComponentName(TComponent* Component, const AnsiString& Base);

// The module (its load address) of the mapped image that holds Address;
// nil for an address outside every image (heap, stack, nothing).
HMODULE ModuleOfAddress(const void* Address);
// Calls Proc; nothing for an empty one.
using TProcedure = std::function<void()>;
void CallProc(const TProcedure& Proc);
