#include "platform/rtl/Persistent.h"

#include "platform/rtl/Exceptions.h"

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) {
  const AnsiString From = ClassName();
  const AnsiString To = Dest ? Dest->ClassName() : AnsiString("nil");
  throw EConvertError("Cannot assign a " + From + " to a " + To);
}

void TPersistent::DefineProperties(TFiler* /*Filer*/) {}

AnsiString TPersistent::GetNamePath() {
  AnsiString S = ClassName();
  if (TPersistent* Owner = GetOwner()) {
    AnsiString O = Owner->GetNamePath();
    if (!O.empty()) S = O + "." + S;
  }
  return S;
}
