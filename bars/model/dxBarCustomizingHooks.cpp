#include "bars/model/dxBarCustomizingHooks.h"

TdxBarCustomizingHooks& dxBarCustomizingHooks() {
  static TdxBarCustomizingHooks Hooks;
  return Hooks;
}

void dxBarNotifyBarChanged(TdxBar* ABar) {
  if (auto F = dxBarCustomizingHooks().BarChanged) F(ABar);
}

void dxBarNotifyBarRemoved(TdxBar* ABar) {
  if (auto F = dxBarCustomizingHooks().BarRemoved) F(ABar);
}

void dxBarNotifyOptionsChanged() {
  if (auto F = dxBarCustomizingHooks().OptionsChanged) F();
}
