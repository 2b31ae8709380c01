// PersHolder.h — streaming any persistent object through the class
// library's component stream: a component goes in as itself, any other
// persistent as the property P of a temporary TPersHolder, so its properties
// appear as "P.Name" (a collection as the list value of P).
//
// The helpers raise whatever the class library's streaming raises.
#pragma once
#include "platform/rtl/Component.h"
#include "platform/rtl/Streams.h"

class TPersHolder : public TComponent {
  SX_CLASS(TPersHolder, TComponent)
public:
  explicit TPersHolder(TComponent* AOwner) : TComponent(AOwner) {}
  static void Published(TPublished<TPersHolder>& P) { P.Property("P", &TPersHolder::FP, &TPersHolder::FP); }

  TPersistent* GetP() const { return FP; }
  void SetP(TPersistent* Value) { FP = Value; }

private:
  TPersistent* FP = nullptr;  // borrowed
};

void WriteComponentBinary(TStream* Stream, TPersistent* Obj);
void ReadComponentBinary(TStream* Stream, TPersistent* Obj);
void WriteComponentText(TStream* Stream, TPersistent* Obj);
void ReadComponentText(TStream* Stream, TPersistent* Obj);
// Creates or truncates the file.
void WriteObjectTextFile(TPersistent* Obj, const AnsiString& FileName);
// Reads with other writers shut out.
void ReadObjectTextFile(TPersistent* Obj, const AnsiString& FileName);
