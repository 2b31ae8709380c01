#include "editor/base/PersHolder.h"

#include "platform/rtl/Filer.h"

void WriteComponentBinary(TStream* Stream, TPersistent* Obj) {
  if (auto* C = dynamic_cast<TComponent*>(Obj)) {
    TWriter Writer(Stream);
    Writer.WriteRootComponent(C);
    return;
  }
  TPersHolder Holder(nullptr);
  Holder.SetP(Obj);
  TWriter Writer(Stream);
  Writer.WriteRootComponent(&Holder);
}

void ReadComponentBinary(TStream* Stream, TPersistent* Obj) {
  if (auto* C = dynamic_cast<TComponent*>(Obj)) {
    BeginGlobalLoading();
    try {
      TReader Reader(Stream);
      Reader.ReadRootComponent(C);
      NotifyGlobalLoading();
    } catch (...) {
      EndGlobalLoading();
      throw;
    }
    EndGlobalLoading();
    return;
  }
  TPersHolder Holder(nullptr);
  Holder.SetP(Obj);
  TReader Reader(Stream);
  Reader.ReadRootComponent(&Holder);
}

