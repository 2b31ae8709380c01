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
// How a control class outside the window layer is made: units that add
// item kinds (bars/extitems) register a maker for each of their control
// classes, and the window layer asks for it when it meets the class.
using TdxBarItemControlFactory = TdxBarItemControl* (*)(TdxBarItemLink* ALink);
void dxBarRegisterControlFactory(TClass AControlClass, TdxBarItemControlFactory AFactory);
// The maker registered for exactly AControlClass; nullptr when none.
TdxBarItemControlFactory dxBarFindControlFactory(TClass AControlClass);
