#include "platform/rtl/Persistent.h"

#include "platform/rtl/Exceptions.h"

void TPersistent::Assign(TPersistent* Source) {
  if (Source) {
    Source->AssignTo(this);
    return;
  }
  AssignTo(nullptr);
}

void TPersistent::AssignTo(TPersistent* /*Dest*/) {
  throw EConvertError("Cannot assign");
}
