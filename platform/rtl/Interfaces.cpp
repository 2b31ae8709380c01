#include "platform/rtl/Interfaces.h"

HRESULT TInterfacedObject::QueryInterface(const TGUID& IID, void** Obj) {
  if (IID == IID_IInterface) {
    *Obj = static_cast<IInterface*>(this);
    _AddRef();
    return S_OK;
  }
  *Obj = nullptr;
  return E_NOINTERFACE;
}

Integer TInterfacedObject::_Release() {
  const Integer N = --FRefCount;
  if (N == 0) delete this;
  return N;
}
