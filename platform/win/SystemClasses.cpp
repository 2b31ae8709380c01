#include "platform/win/SystemClasses.h"

#include "platform/rtl/AnsiStrings.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/ListBoxControl.h"

namespace {
struct TSystemClass {
  const char* Name;
  bool (*Register)();
};

// One line per system class; each control family registers its own.
const TSystemClass SystemClassTable[] = {
    {"LISTBOX", &RegisterListBoxClasses},
    {"ComboLBox", &RegisterListBoxClasses},
    {"COMBOBOX", &RegisterComboBoxClass},
};
}  // namespace

bool RegisterSystemClass(const char* Name) {
  if (!Name || reinterpret_cast<std::uintptr_t>(Name) <= 0xFFFF) return false;
  for (const auto& C : SystemClassTable)
    if (SameText(C.Name, Name)) return C.Register();
  return false;
}
