// dxBarRegistry.h — the process-wide item-class registry: which item classes
// exist, which control class shows each (matched by exact class, so every
// class registers itself), and whether the customizing form offers it.
// Registered at start-up through RegisterBarItems (one explicit list), not
// from global constructors.
#pragma once
#include "bars/model/dxBarTypes.h"

struct TdxBarItemClassEntry {
  TClass ItemClass;
  TClass ControlClass;  // nil until the window layer registers its controls
  bool ShowInCustomizing;
};

void dxBarRegisterItem(TClass AItemClass, TClass AControlClass, bool AShowInCustomizing);
void dxBarUnregisterItem(TClass AItemClass);
// The entry whose item class is exactly AItemClass; nullptr when none.
const TdxBarItemClassEntry* dxBarFindItemClass(TClass AItemClass);
int dxBarItemClassCount();
const TdxBarItemClassEntry& dxBarItemClassAt(int Index);
// The model's own item classes (and their streaming registration).
void RegisterBarItems();
