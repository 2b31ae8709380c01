#include "platform/forms/ActnList.h"

#include "platform/forms/Application.h"
#include "platform/win/MessageQueue.h"

bool TBasicAction::Execute() {
  if (!OnExecute.Assigned()) return false;
  OnExecute(this);
  return true;
}

bool TContainedAction::Execute() {
  if (inherited::Execute()) return true;
  if (!Application) return false;
  return SendMessageA(Application->Handle(), CM_ACTIONEXECUTE, 0, LPARAM(this)) == 1;
}
