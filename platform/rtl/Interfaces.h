// Interfaces.h — the class library's interface base: GUIDs, IInterface
// (query, reference counting) and TInterfacedObject, whose reference count
// frees it when the last interface reference is released.
//
// An object made as a TInterfacedObject is held one way: through interface
// references (AddRef/Release, the last Release deletes it) or by its owner,
// who never releases it through an interface. Mixing both frees it twice,
// as it would in the class library.
#pragma once
#include <atomic>
#include "platform/rtl/Object.h"
#include "platform/rtl/Types.h"

struct TGUID {
  DWORD D1 = 0;
  Word D2 = 0, D3 = 0;
  Byte D4[8] = {};
  friend bool operator==(const TGUID&, const TGUID&) = default;
};

using HRESULT = std::int32_t;
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);

// {00000000-0000-0000-C000-000000000046}
inline constexpr TGUID IID_IInterface{0, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

class IInterface {
public:
  // Obj receives the interface with AddRef done, or nil with E_NOINTERFACE.
  virtual HRESULT QueryInterface(const TGUID& IID, void** Obj) = 0;
  virtual Integer _AddRef() = 0;
  virtual Integer _Release() = 0;

protected:
  ~IInterface() = default;
};

class TInterfacedObject : public TObject, public virtual IInterface {
public:
  // IInterface only; descendants add theirs and fall back to this.
  HRESULT QueryInterface(const TGUID& IID, void** Obj) override;
  Integer _AddRef() override { return ++FRefCount; }
  // Deletes the object when the count drops to 0.
  Integer _Release() override;
  Integer RefCount() const { return FRefCount; }

private:
  std::atomic<Integer> FRefCount{0};
};
