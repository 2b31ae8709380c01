// cxClasses.h — the small general classes the control family stands on:
// described class registries, a class-to-class map that honours
// inheritance, the auto-width distributor, and weak object links that
// survive their target's destruction.
#pragma once
#include <memory>
#include <vector>
#include "platform/rtl/Component.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/TypInfo.h"
#include "platform/rtl/Types.h"

// A list of (description, class). A description is a display name,
// optionally followed by "|" and further text.
class TcxRegisteredClasses {
public:
  explicit TcxRegisteredClasses(bool ARegisterClasses = false);
  virtual ~TcxRegisteredClasses() = default;

  int ItemCount() const { return int(FItems.size()); }
  TClass ClassAt(int Index) const { return FItems.at(std::size_t(Index)).Class; }
  AnsiString GetDisplayName(int Index) const;
  int FindClassIndex(TClass AClass) const;
  // A class already listed keeps its entry and description.
  void AddClass(TClass AClass, const AnsiString& ADescription);
  void RemoveClass(TClass AClass);
  void RemoveAll() { FItems.clear(); }
  bool GetSorted() const { return FSorted; }
  void SetSorted(bool Value);
  // Exact, case-sensitive class name; nil when none.
  TClass LookupByClassName(const AnsiString& AName) const;

protected:
  virtual int CompareEntries(int Index1, int Index2) const;
  virtual void SortEntries();

private:
  struct TEntry {
    AnsiString Description;
    TClass Class;
  };
  std::vector<TEntry> FItems;
  bool FSorted = false;
  bool FRegisterClasses;
};

// Maps an item class to a registered class; the most derived registration
// that applies to a class wins.
class TcxRegisteredClassList {
public:
  struct TcxRegisteredClassListItemData {
    TClass ItemClass;
    TClass RegisteredClass;
  };
  virtual ~TcxRegisteredClassList() = default;
  int GetCount() const { return int(FItems.size()); }
  const TcxRegisteredClassListItemData& EntryAt(int Index) const { return FItems.at(std::size_t(Index)); }
  void RemoveAll() { FItems.clear(); }
  // True at the last entry whose item class is AItemClass or an ancestor;
  // otherwise AIndex is the lowest descendant entry scanned (or unchanged).
  virtual bool FindEntry(TClass AItemClass, int& AIndex) const;
  virtual void AddPair(TClass AItemClass, TClass ARegisteredClass);
  virtual void RemovePair(TClass AItemClass, TClass ARegisteredClass);

private:
  std::vector<TcxRegisteredClassListItemData> FItems;
};

struct TcxAutoWidthItem {
  int MinWidth = 0;
  int Width = 0;  // the natural width
  bool Fixed = false;
  int AutoWidth = -1;  // the result; -1 until distributed
};

// Shares an available width among items in proportion to their natural
// widths, keeping each at least at its minimum.
class TcxAutoWidthObject {
public:
  explicit TcxAutoWidthObject(int ACapacity = 0);
  TcxAutoWidthItem* AppendItem();
  int ItemCount() const { return int(FItems.size()); }
  TcxAutoWidthItem* GetItem(int Index) const { return FItems.at(std::size_t(Index)).get(); }
  int GetTotalWidth() const;
  void RemoveAll() { FItems.clear(); }
  void DistributeWidth();
  int AvailableWidth = 0;

private:
  std::vector<std::unique_ptr<TcxAutoWidthItem>> FItems;
};

// A weak link: Target turns nil when the object it names is destroyed
// (whose destructor calls ClearObjectLinks).
struct TcxObjectLink {
  const void* Target = nullptr;
};
TcxObjectLink* AddObjectLink(const void* AObject);
// Safe on a link whose target has gone.
void RemoveObjectLink(TcxObjectLink* ALink);
void ClearObjectLinks(const void* AObject);

// Takes a link for the scope of a call that may free the object.
class TcxObjectLinkGuard {
public:
  explicit TcxObjectLinkGuard(const void* AObject) : FLink(AddObjectLink(AObject)) {}
  ~TcxObjectLinkGuard() { RemoveObjectLink(FLink); }
  TcxObjectLinkGuard(const TcxObjectLinkGuard&) = delete;
  TcxObjectLinkGuard& operator=(const TcxObjectLinkGuard&) = delete;
  bool Alive() const { return FLink->Target != nullptr; }

private:
  TcxObjectLink* FLink;
};

// A persistent that knows its owner (GetOwner answers it).
class TcxInterfacedPersistent : public TPersistent {
  SX_CLASS(TcxInterfacedPersistent, TPersistent)
public:
  explicit TcxInterfacedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* Owner() const { return FOwner; }

protected:
  TPersistent* GetOwner() override { return FOwner; }

private:
  TPersistent* FOwner;
};

// The component base of the family. Three published fake links let the
// form designer keep related components together (a descendant names them
// in CollectFakeLinks); they mean nothing at run time. Weak links to the
// component are cleared when it goes.
class TcxComponent : public TComponent {
  SX_CLASS(TcxComponent, TComponent)
public:
  static void Published(TPublished<TcxComponent>& P) {
    P.Property("FakeComponentLink1", &TcxComponent::FFakeComponentLink1, &TcxComponent::FFakeComponentLink1);
    P.Property("FakeComponentLink2", &TcxComponent::FFakeComponentLink2, &TcxComponent::FFakeComponentLink2);
    P.Property("FakeComponentLink3", &TcxComponent::FFakeComponentLink3, &TcxComponent::FFakeComponentLink3);
  }
  explicit TcxComponent(TComponent* AOwner) : TComponent(AOwner) {}
  ~TcxComponent() override;
  void Loaded() override;
  TComponent* FakeComponentLink1() const { return FFakeComponentLink1; }
  TComponent* FakeComponentLink2() const { return FFakeComponentLink2; }
  TComponent* FakeComponentLink3() const { return FFakeComponentLink3; }
  // At design time (not destroying, with an owner): the first three
  // components CollectFakeLinks gives, nil for missing ones.
  void RefreshFakeLinks();

protected:
  virtual void CollectFakeLinks(std::vector<TComponent*>& /*AList*/) {}

private:
  TComponent* FFakeComponentLink1 = nullptr;
  TComponent* FFakeComponentLink2 = nullptr;
  TComponent* FFakeComponentLink3 = nullptr;
};

// Tells OnComponentFreed of every watched component that goes.
class TcxFreeNotificator : public TComponent {
  SX_CLASS(TcxFreeNotificator, TComponent)
public:
  explicit TcxFreeNotificator(TComponent* AOwner) : TComponent(AOwner) {}
  // Nil is ignored.
  void WatchComponent(TComponent* AComponent);
  void UnwatchComponent(TComponent* AComponent);
  TEvent<void(TComponent* AComponent)> OnComponentFreed;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

// Resource texts pass through these two. A replacement table (key text or
// resource id -> text) would translate them; none is installed in this
// program, so both return the text of the application's resources.
AnsiString TranslateLoadedString(const AnsiString& AText);
AnsiString LoadTranslatedResString(unsigned AResId);

// The middle of two coordinates rounded down (also for negative sums).
constexpr int HalfSum(int A, int B) { return (A + B) > 0 ? (A + B) / 2 : (A + B - 1) / 2; }
constexpr TSize MakeSize(int ACX, int ACY) { return {ACX, ACY}; }
