// Persistent.h — TPersistent: objects that can be copied with Assign.
// FIXME: DefineProperties and published-property streaming come with the object model.
#pragma once
#include "platform/rtl/Object.h"

class TPersistent : public TObject {
public:
  // Copies Source into this object; raises EConvertError when neither side
  // knows how.
  virtual void Assign(TPersistent* Source);

protected:
  virtual void AssignTo(TPersistent* Dest);
  virtual TPersistent* GetOwner() { return nullptr; }
};
