#include "platform/rtl/RegistrationHooks.h"

#include "platform/rtl/Exceptions.h"

TRegisterComponentsProc RegisterComponentsProc = nullptr;
TRegisterNoIconProc RegisterNoIconProc = nullptr;
TRegisterNonActiveXProc RegisterNonActiveXProc = nullptr;

void RegisterComponents(const AnsiString& Page, const std::vector<TClass>& Classes) {
  if (!RegisterComponentsProc) throw EComponentError("Invalid component registration");
  RegisterComponentsProc(Page, Classes);
}

void RegisterNoIcon(const std::vector<TClass>& Classes) {
  if (RegisterNoIconProc) RegisterNoIconProc(Classes);
}

void RegisterNonActiveX(const std::vector<TClass>& Classes, Integer AxRegType) {
  if (RegisterNonActiveXProc) RegisterNonActiveXProc(Classes, AxRegType);
}
