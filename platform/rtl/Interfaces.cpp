#include "platform/rtl/Interfaces.h"

#include <cstdio>
#include <random>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ByteOrder.h"

namespace {
[[noreturn]] void BadGuid(const AnsiString& S) { throw EConvertError("'" + S + "' is not a valid GUID value"); }
}  // namespace

TGUID StringToGUID(const AnsiString& S) {
  // Positions of the 32 hex digits in "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
  if (S.size() != 38 || S[0] != '{' || S[37] != '}' || S[9] != '-' || S[14] != '-' || S[19] != '-' ||
      S[24] != '-')
    BadGuid(S);
  Byte Bytes[16];
  size_t Pos = 1;
  for (Byte& B : Bytes) {
    if (S[Pos] == '-') ++Pos;
    const int Value = HexByteValue(S[Pos], S[Pos + 1]);
    if (Value < 0) BadGuid(S);
    B = Byte(Value);
    Pos += 2;
  }
  TGUID G;
  // The text writes the first three fields most significant digit first.
  G.D1 = ByteOrder::ReadBE32(Bytes);
  G.D2 = ByteOrder::ReadBE16(Bytes + 4);
  G.D3 = ByteOrder::ReadBE16(Bytes + 6);
  for (int i = 0; i < 8; ++i) G.D4[i] = Bytes[8 + i];
  return G;
}

AnsiString GUIDToString(const TGUID& G) {
  char Buf[40];
  std::snprintf(Buf, sizeof Buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(G.D1),
                unsigned(G.D2), unsigned(G.D3), G.D4[0], G.D4[1], G.D4[2], G.D4[3], G.D4[4], G.D4[5], G.D4[6],
                G.D4[7]);
  return Buf;
}

bool IsEqualGUID(const TGUID& A, const TGUID& B) { return A == B; }

HRESULT CreateGUID(TGUID& Guid) {
  static std::mutex Lock;
  static std::mt19937_64 Gen{std::random_device{}()};
  std::lock_guard<std::mutex> L(Lock);
  const std::uint64_t A = Gen(), B = Gen();
  Guid.D1 = DWORD(A >> 32);
  Guid.D2 = WORD(A >> 16);
  Guid.D3 = WORD((A & 0x0FFF) | 0x4000);
  for (int i = 0; i < 8; ++i) Guid.D4[i] = Byte(B >> (8 * i));
  Guid.D4[0] = Byte((Guid.D4[0] & 0x3F) | 0x80);
  return S_OK;
}

bool Supports(IUnknown* Instance, const TGUID& IID, void** Intf) {
  if (!Instance) return false;
  void* P = nullptr;
  if (!Succeeded(Instance->QueryInterface(IID, &P)) || !P) return false;
  // One count per object (the virtual IUnknown), so the reference taken
  // through P can be given back through Instance.
  if (Intf) *Intf = P;
  else Instance->_Release();
  return true;
}

bool Supports(TObject* Instance, const TGUID& IID, void** Intf) {
  return Supports(dynamic_cast<IUnknown*>(Instance), IID, Intf);
}

// ---------------------------------------------------------------------------

HRESULT TInterfacedObject::QueryInterface(const TGUID& IID, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  return GetInterface(IID, Obj) ? S_OK : E_NOINTERFACE;
}

Integer TInterfacedObject::_AddRef() { return ++FRefCount; }

Integer TInterfacedObject::_Release() {
  const Integer R = --FRefCount;
  if (R == 0) delete this;
  return R;
}

bool TInterfacedObject::GetInterface(const TGUID& IID, void** Obj) { return OfferInterface<IUnknown>(this, IID, Obj); }

// ---------------------------------------------------------------------------

IUnknown* TInterfacedPersistent::OwnerInterface() { return dynamic_cast<IUnknown*>(GetOwner()); }

HRESULT TInterfacedPersistent::QueryInterface(const TGUID& IID, void** Obj) {
  if (!Obj) return E_POINTER;
  *Obj = nullptr;
  return GetInterface(IID, Obj) ? S_OK : E_NOINTERFACE;
}

Integer TInterfacedPersistent::_AddRef() {
  IUnknown* Owner = OwnerInterface();
  return Owner ? Owner->_AddRef() : -1;
}

Integer TInterfacedPersistent::_Release() {
  IUnknown* Owner = OwnerInterface();
  return Owner ? Owner->_Release() : -1;
}

bool TInterfacedPersistent::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IUnknown>(this, IID, Obj);
}

// ---------------------------------------------------------------------------

namespace {
// The identity of an interface's object: its IUnknown, as QueryInterface
// answers it (any interface pointer of one object gives the same one).
IUnknown* Identity(IUnknown* Item) {
  if (!Item) return nullptr;
  void* P = nullptr;
  if (!Succeeded(Item->QueryInterface(IUnknown::IID(), &P)) || !P) return Item;
  auto* U = static_cast<IUnknown*>(P);
  U->_Release();
  return U;
}
}  // namespace

TInterfaceList::~TInterfaceList() { Clear(); }

void TInterfaceList::CheckIndex(Integer Index, bool AllowEnd) const {
  const Integer N = Integer(FList.size());
  if (Index < 0 || Index > N || (!AllowEnd && Index == N))
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
}

bool TInterfaceList::GetInterface(const TGUID& IID, void** Obj) {
  return OfferInterface<IInterfaceList>(this, IID, Obj) || inherited::GetInterface(IID, Obj);
}

Integer TInterfaceList::Count() {
  std::lock_guard<std::recursive_mutex> L(FLock);
  return Integer(FList.size());
}

TIntfPtr<IUnknown> TInterfaceList::Get(Integer Index) {
  std::lock_guard<std::recursive_mutex> L(FLock);
  CheckIndex(Index);
  return FList[size_t(Index)];
}

void TInterfaceList::Put(Integer Index, IUnknown* Item) {
  std::lock_guard<std::recursive_mutex> L(FLock);
  CheckIndex(Index);
  FList[size_t(Index)] = Item;
}

Integer TInterfaceList::Add(IUnknown* Item) {
  std::lock_guard<std::recursive_mutex> L(FLock);
  FList.emplace_back(Item);
  return Integer(FList.size()) - 1;
}

void TInterfaceList::Insert(Integer Index, IUnknown* Item) {
  std::lock_guard<std::recursive_mutex> L(FLock);
  CheckIndex(Index, /*AllowEnd=*/true);
  FList.insert(FList.begin() + Index, TIntfPtr<IUnknown>(Item));
}

Integer TInterfaceList::IndexOf(IUnknown* Item) {
  std::lock_guard<std::recursive_mutex> L(FLock);
  IUnknown* Want = Identity(Item);
  for (size_t i = 0; i < FList.size(); ++i)
    if (Identity(FList[i].Get()) == Want) return Integer(i);
  return -1;
}

Integer TInterfaceList::Remove(IUnknown* Item) {
  std::lock_guard<std::recursive_mutex> L(FLock);
  const Integer I = IndexOf(Item);
  if (I >= 0) Delete(I);
  return I;
}

void TInterfaceList::Delete(Integer Index) {
  std::lock_guard<std::recursive_mutex> L(FLock);
  CheckIndex(Index);
  // The item is released after it left the list: its destructor may look.
  TIntfPtr<IUnknown> Gone = std::move(FList[size_t(Index)]);
  FList.erase(FList.begin() + Index);
}

void TInterfaceList::Exchange(Integer Index1, Integer Index2) {
  std::lock_guard<std::recursive_mutex> L(FLock);
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[size_t(Index1)], FList[size_t(Index2)]);
}

TIntfPtr<IUnknown> TInterfaceList::First() { return Get(0); }

TIntfPtr<IUnknown> TInterfaceList::Last() {
  std::lock_guard<std::recursive_mutex> L(FLock);
  return Get(Integer(FList.size()) - 1);
}

void TInterfaceList::Clear() {
  std::vector<TIntfPtr<IUnknown>> Gone;
  {
    std::lock_guard<std::recursive_mutex> L(FLock);
    Gone.swap(FList);
  }
}
