#include "bars/model/dxBarRegistry.h"

#include <vector>
#include "bars/extitems/dxBarExtItems.h"
#include "bars/items/dxBarItems.h"
#include "bars/model/dxBarCategories.h"
#include "bars/model/dxBarManager.h"
#include "bars/windows/dxBarWindows.h"
#include "platform/rtl/ClassRegistry.h"

namespace {
std::vector<TdxBarItemClassEntry>& Entries() {
  static std::vector<TdxBarItemClassEntry> List;
  return List;
}
struct TControlFactoryEntry {
  TClass ControlClass;
  TdxBarItemControlFactory Factory;
};
std::vector<TControlFactoryEntry>& ControlFactories() {
  static std::vector<TControlFactoryEntry> List;
  return List;
}
}  // namespace

void dxBarRegisterItem(TClass AItemClass, TClass AControlClass, bool AShowInCustomizing) {
  for (TdxBarItemClassEntry& E : Entries())
    if (E.ItemClass == AItemClass) {
      E.ControlClass = AControlClass;
      E.ShowInCustomizing = AShowInCustomizing;
      return;
    }
  Entries().push_back({AItemClass, AControlClass, AShowInCustomizing});
  RegisterClass(AItemClass);
}

void dxBarUnregisterItem(TClass AItemClass) {
  auto& L = Entries();
  std::erase_if(L, [&](const TdxBarItemClassEntry& E) { return E.ItemClass == AItemClass; });
}

const TdxBarItemClassEntry* dxBarFindItemClass(TClass AItemClass) {
  for (const TdxBarItemClassEntry& E : Entries())
    if (E.ItemClass == AItemClass) return &E;
  return nullptr;
}

int dxBarItemClassCount() { return int(Entries().size()); }
const TdxBarItemClassEntry& dxBarItemClassAt(int Index) { return Entries().at(std::size_t(Index)); }

void RegisterBarItems() {
  RegisterBarClasses();
  RegisterBarItemControls();
  dxBarExtItemsInitialization();
}

void dxBarRegisterControlFactory(TClass AControlClass, TdxBarItemControlFactory AFactory) {
  for (TControlFactoryEntry& E : ControlFactories())
    if (E.ControlClass == AControlClass) {
      E.Factory = AFactory;
      return;
    }
  ControlFactories().push_back({AControlClass, AFactory});
}

TdxBarItemControlFactory dxBarFindControlFactory(TClass AControlClass) {
  for (const TControlFactoryEntry& E : ControlFactories())
    if (E.ControlClass == AControlClass) return E.Factory;
  return nullptr;
}
