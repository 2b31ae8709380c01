// Interfaces.h — reference-counted interfaces: GUIDs, IUnknown, the
// interface pointer that holds a reference, Supports, and the classes that
// implement IUnknown for others (TInterfacedObject, TInterfacedPersistent,
// TInterfaceList).
//
// An interface is an abstract class that derives `public virtual IUnknown`
// and names its identifier:
//
//   class IMyThing : public virtual IUnknown {
//   public:
//     SX_INTERFACE_ID(IMyThing, "{8A5C0E10-3B44-4C1E-9C2A-6E3F51D20A01}")
//     virtual void DoIt() = 0;
//   };
//
// The virtual base gives one IUnknown per object however many interfaces
// it implements, so TInterfacedObject's reference count serves them all.
// An implementing class answers for its interfaces in GetInterface:
//
//   bool GetInterface(const TGUID& IID, void** Obj) override {
//     return OfferInterface<IMyThing>(this, IID, Obj) || inherited::GetInterface(IID, Obj);
//   }
//
// Ownership: an object counted by references frees itself when the last
// TIntfPtr lets go. Holding one by a plain pointer and by TIntfPtr at once
// is the usual trap: the plain pointer dangles after the last release.
#pragma once
#include <atomic>
#include <mutex>
#include <type_traits>
#include <vector>
#include "platform/rtl/Persistent.h"

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);
constexpr HRESULT E_POINTER = HRESULT(0x80004003u);
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
constexpr HRESULT E_HANDLE = HRESULT(0x80070006u);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);
constexpr HRESULT E_UNEXPECTED = HRESULT(0x8000FFFFu);
inline bool Succeeded(HRESULT R) { return R >= 0; }

struct TGUID {
  DWORD D1 = 0;
  WORD D2 = 0, D3 = 0;
  Byte D4[8] = {};
  bool operator==(const TGUID&) const = default;
  bool IsEmpty() const { return *this == TGUID{}; }
};
using TIID = TGUID;
using TCLSID = TGUID;

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; raises EConvertError on any
// other text.
TGUID StringToGUID(const AnsiString& S);
AnsiString GUIDToString(const TGUID& G);
bool IsEqualGUID(const TGUID& A, const TGUID& B);
// A new random identifier (version 4).
HRESULT CreateGUID(TGUID& Guid);

#define SX_INTERFACE_ID(Name, Text)                                  \
  static const TGUID& IID() {                                        \
    static const TGUID Id = StringToGUID(Text);                      \
    return Id;                                                       \
  }

class IUnknown {
public:
  SX_INTERFACE_ID(IUnknown, "{00000000-0000-0000-C000-000000000046}")
  virtual HRESULT QueryInterface(const TGUID& IID, void** Obj) = 0;
  virtual Integer _AddRef() = 0;
  virtual Integer _Release() = 0;

protected:
  ~IUnknown() = default;
};
using IInterface = IUnknown;

// Holds one reference to an interface: AddRef on taking, Release on letting
// go. Assigning a raw pointer takes a new reference.
template <class I>
class TIntfPtr {
public:
  TIntfPtr() = default;
  TIntfPtr(std::nullptr_t) {}
  TIntfPtr(I* P) : FPtr(P) {
    if (FPtr) FPtr->_AddRef();
  }
  TIntfPtr(const TIntfPtr& O) : TIntfPtr(O.FPtr) {}
  TIntfPtr(TIntfPtr&& O) noexcept : FPtr(O.FPtr) { O.FPtr = nullptr; }
  ~TIntfPtr() { Reset(); }
  TIntfPtr& operator=(TIntfPtr O) noexcept {
    std::swap(FPtr, O.FPtr);
    return *this;
  }
  void Reset() {
    I* P = FPtr;
    FPtr = nullptr;
    if (P) P->_Release();
  }
  // Adopts a pointer that already carries a reference (QueryInterface's).
  void Attach(I* P) {
    Reset();
    FPtr = P;
  }
  I* Get() const { return FPtr; }
  I* operator->() const { return FPtr; }
  I& operator*() const { return *FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }
  bool operator==(const TIntfPtr& O) const { return FPtr == O.FPtr; }
  bool operator==(std::nullptr_t) const { return FPtr == nullptr; }

private:
  I* FPtr = nullptr;
};

// Whether Instance implements the interface of IID; when it does and Intf
// is given, *Intf receives it with a new reference.
bool Supports(IUnknown* Instance, const TGUID& IID, void** Intf = nullptr);
// An object that is not itself an interface answers through its IUnknown
// (TInterfacedObject and its kin), if any.
bool Supports(TObject* Instance, const TGUID& IID, void** Intf = nullptr);
// QueryInterface hands out the I part itself, so the void* is an I*.
template <class I, class T>
bool Supports(T* Instance, TIntfPtr<I>& Intf) {
  void* P = nullptr;
  bool Found;
  if constexpr (std::is_base_of_v<IUnknown, T>) Found = Supports(static_cast<IUnknown*>(Instance), I::IID(), &P);
  else Found = Supports(static_cast<TObject*>(Instance), I::IID(), &P);
  if (!Found) {
    Intf.Reset();
    return false;
  }
  Intf.Attach(static_cast<I*>(P));
  return true;
}

// Answers IID with the object's I part (and a new reference).
template <class I, class TSelf>
bool OfferInterface(TSelf* Self, const TGUID& IID, void** Obj) {
  if (!(IID == I::IID())) return false;
  I* P = Self;
  *Obj = P;
  P->_AddRef();
  return true;
}

// An object whose lifetime follows its interface references: it starts at
// zero and frees itself when the count falls back to zero.
class TInterfacedObject : public TObject, public virtual IUnknown {
  SX_CLASS(TInterfacedObject, TObject)
public:
  TInterfacedObject() = default;
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override;
  Integer _AddRef() override;
  Integer _Release() override;
  Integer RefCount() const { return FRefCount; }

protected:
  // Answers the interfaces this class implements (IUnknown here).
  virtual bool GetInterface(const TGUID& IID, void** Obj);
  std::atomic<Integer> FRefCount{0};
};

// A persistent object that implements interfaces without counting
// references of its own: an owner that implements IUnknown counts for it,
// otherwise the references are not counted (the owner frees it).
class TInterfacedPersistent : public TPersistent, public virtual IUnknown {
  SX_CLASS(TInterfacedPersistent, TPersistent)
public:
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override;
  Integer _AddRef() override;
  Integer _Release() override;

protected:
  virtual bool GetInterface(const TGUID& IID, void** Obj);

private:
  IUnknown* OwnerInterface();
};

// A list of interface references, safe to use from several threads (each
// call locks; LockList holds the lock across several).
class IInterfaceList : public virtual IUnknown {
public:
  SX_INTERFACE_ID(IInterfaceList, "{285DEA8A-B865-11D1-AAA7-00C04FB17A72}")
  virtual Integer Count() = 0;
  virtual TIntfPtr<IUnknown> Get(Integer Index) = 0;
  virtual Integer Add(IUnknown* Item) = 0;
  virtual Integer IndexOf(IUnknown* Item) = 0;
  virtual Integer Remove(IUnknown* Item) = 0;
  virtual void Delete(Integer Index) = 0;
  virtual void Clear() = 0;
};

class TInterfaceList : public TInterfacedObject, public IInterfaceList {
  SX_CLASS(TInterfaceList, TInterfacedObject)
public:
  TInterfaceList() = default;
  ~TInterfaceList() override;
  Integer Count() override;
  // Raises EListError for an index outside the list.
  TIntfPtr<IUnknown> Get(Integer Index) override;
  void Put(Integer Index, IUnknown* Item);
  Integer Add(IUnknown* Item) override;
  void Insert(Integer Index, IUnknown* Item);
  // Items are compared as IUnknown identities (the object's one IUnknown).
  Integer IndexOf(IUnknown* Item) override;
  Integer Remove(IUnknown* Item) override;
  void Delete(Integer Index) override;
  void Exchange(Integer Index1, Integer Index2);
  TIntfPtr<IUnknown> First();
  TIntfPtr<IUnknown> Last();
  void Clear() override;
  void Lock() { FLock.lock(); }
  void Unlock() { FLock.unlock(); }

protected:
  bool GetInterface(const TGUID& IID, void** Obj) override;

private:
  void CheckIndex(Integer Index, bool AllowEnd = false) const;
  std::recursive_mutex FLock;
  std::vector<TIntfPtr<IUnknown>> FList;
};
