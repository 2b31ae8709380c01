#include "bars/customize/dxBarCustForm.h"

#include "bars/customize/dxBarCustomizing.h"
#include "bars/model/dxBarManager.h"

void dxBarShowCustomizingForm(TdxBarManager* AManager, bool Value) {
  // FIXME: the customizing form itself; until it exists only the mode and
  // the manager's events follow.
  if (Value) {
    dxBarSetCustomizingManager(AManager);
    if (AManager->OnShowCustomizingForm) AManager->OnShowCustomizingForm(AManager);
  } else if (dxBarCustomizingManager() == AManager) {
    dxBarSetCustomizingManager(nullptr);
    if (AManager->OnHideCustomizingForm) AManager->OnHideCustomizingForm(AManager);
  }
}
