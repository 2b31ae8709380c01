// RegistrationHooks.h — the class library's component registration as a
// design environment sees it: RegisterComponents puts classes on a palette
// page, RegisterNoIcon and RegisterNonActiveX register classes without a
// palette icon. Each goes through a hook that the design environment (or a
// library standing in for it) sets; a running program leaves them empty.
#pragma once
#include <vector>
#include "platform/rtl/TypInfo.h"

using TRegisterComponentsProc = void (*)(const AnsiString& Page, const std::vector<TClass>& Classes);
using TRegisterNoIconProc = void (*)(const std::vector<TClass>& Classes);
using TRegisterNonActiveXProc = void (*)(const std::vector<TClass>& Classes, Integer AxRegType);

extern TRegisterComponentsProc RegisterComponentsProc;
extern TRegisterNoIconProc RegisterNoIconProc;
extern TRegisterNonActiveXProc RegisterNonActiveXProc;

// Raises EComponentError ("Invalid component registration") without a hook.
void RegisterComponents(const AnsiString& Page, const std::vector<TClass>& Classes);
// Nothing without a hook.
void RegisterNoIcon(const std::vector<TClass>& Classes);
void RegisterNonActiveX(const std::vector<TClass>& Classes, Integer AxRegType);
