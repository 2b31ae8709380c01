// Persistent.h — TPersistent: objects that can be copied with Assign and
// stored with their published properties (TypInfo.h) plus any data they
// define for the filer themselves (DefineProperties).
#pragma once
#include "platform/rtl/TypInfo.h"

class TFiler;

class TPersistent : public TObject {
  SX_CLASS(TPersistent, TObject)
public:
  // Copies Source into this object; when this class does not know Source,
  // Source's AssignTo is asked; raises EConvertError when neither knows how.
  virtual void Assign(TPersistent* Source);
  // "Owner.Name.Prop" style path used in messages and by the designer.
  virtual AnsiString GetNamePath();

protected:
  virtual void AssignTo(TPersistent* Dest);
  // Declares data stored beside the published properties (TFiler::DefineProperty).
  virtual void DefineProperties(TFiler* Filer);
  virtual TPersistent* GetOwner() { return nullptr; }

  friend class TReader;
  friend class TWriter;
};
