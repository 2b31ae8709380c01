// FreeNotify.h — free notifications: a callback that runs when an object the
// caller does not own is freed.
//
// Components are watched through the class library's FreeNotification, by
// one hidden TNotifierStorage component that exists while it watches
// something. Every other object is watched by address, and it can be watched
// only when its class reports its own release: derive it from
// TFreeNotified<Base> (or from TFreeNotifySource and call
// FireFreeNotifiers(this) in the destructor). AddFreeNotifier refuses an
// object that cannot report its release, since a callback for it would stay
// registered for an address that memory may hand to a new object.
//
// Callbacks receive the freed object's address. For a component they run
// from its destruction, before its memory goes; for any other object once its
// own destructors have run. A callback compares the address and must not use
// the object. It may register and remove callbacks meanwhile; removing one
// for the object being freed finds nothing to remove.
#pragma once
#include <memory>
#include <vector>
#include "editor/base/SortedLists.h"
#include "platform/rtl/Component.h"

using TFreeNotifyProc = TEvent<void(TObject* Freed)>;

class TFreeNotifier : public TObject {
public:
  explicit TFreeNotifier(const TFreeNotifyProc& ACallback) : Callback(ACallback) {}
  TFreeNotifyProc Callback;
};

class TFreeNotifierInfo : public TObject {
public:
  explicit TFreeNotifierInfo(const void* AAddress) : Address(AAddress) {}
  const void* Address;
  std::vector<std::unique_ptr<TFreeNotifier>> Callbacks;  // in registration order
  bool Releasing = false;
};

// Records by address, sorted, duplicates ignored. Owns its records.
class TFreeNotifiersList : public TCustomSortedList {
public:
  TFreeNotifiersList() = default;
  ~TFreeNotifiersList() override;

  int CompareKey(void* Item, NativeInt Key) override;
  int CompareItems(void* Item1, void* Item2) override;

  // True when the address had no record before.
  bool AddCallback(const void* Address, const TFreeNotifyProc& Proc);
  // True when the address's record went away with this removal.
  bool RemoveCallback(const void* Address, const TFreeNotifyProc& Proc);
  void FireCallbacks(const void* Address);
  TFreeNotifierInfo* FindInfo(const void* Address);
};

// Marks a class whose objects report their release (see the file comment).
class TFreeNotifySource {
public:
  virtual ~TFreeNotifySource() = default;
};

// Runs the callbacks registered for a non-component object at Address. Safe
// to call for any address, also during shutdown.
void FireFreeNotifiers(const void* Address);

// Base that makes a class watchable: `class TFoo : public TFreeNotified<TPersistent>`.
template <class Base>
class TFreeNotified : public Base, public TFreeNotifySource {
public:
  using Base::Base;
  ~TFreeNotified() override { FireFreeNotifiers(static_cast<TObject*>(this)); }
};

// The hidden watcher of components. Frees itself when it watches nothing.
class TNotifierStorage : public TComponent {
  SX_CLASS(TNotifierStorage, TComponent)
public:
  explicit TNotifierStorage(TComponent* AOwner);
  ~TNotifierStorage() override;

  void AddCallback(TComponent* Component, const TFreeNotifyProc& Proc);
  bool RemoveCallback(TComponent* Component, const TFreeNotifyProc& Proc);
  void ComponentFreed(TComponent* Component);
  void FreeIfEmpty();
  bool IsWatched(const void* Component);

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  TFreeNotifiersList FList;
};

// The storage, created on first use.
TNotifierStorage* GetNotifierStorage();
// The storage when one exists, else nil.
TNotifierStorage* FindNotifierStorage();

// Nothing for nil. Raises EInvalidOperation for an object that is neither a
// component nor able to report its release.
void AddFreeNotifier(TObject* Obj, const TFreeNotifyProc& Proc);
void RemoveFreeNotifier(TObject* Obj, const TFreeNotifyProc& Proc);
