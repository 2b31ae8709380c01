// dxBarCustomizingHooks.h — what the customizing unit hears of the model and
// the bar windows. The customizing unit stands on both and installs these
// (dxBarCustomizingInitialization); model and windows call them here so that
// they never include it. An entry not installed does nothing.
#pragma once
#include "bars/model/dxBarTypes.h"
#include "platform/rtl/Types.h"

class TdxBarPopupMenu;

struct TdxBarCustomizingHooks {
  // A bar's caption, visibility, closability or main-menu flag changed.
  void (*BarChanged)(TdxBar* ABar) = nullptr;
  // A bar is going away while its manager lives on.
  void (*BarRemoved)(TdxBar* ABar) = nullptr;
  // One of the options the customizing form shows changed.
  void (*OptionsChanged)() = nullptr;
  // The More Buttons mark of a toolbar was pressed: the menu it opens (its
  // OnCloseUp is the toolbar's to set), nil when none opened.
  TdxBarPopupMenu* (*ShowQuickCustomization)(TdxBarControl* AToolbar, const TRect& AMarkScreenRect) = nullptr;
  // The owner form of a customizing manager was shown (true) or hidden.
  void (*OwnerFormShown)(TdxBarManager* AManager, bool AShown) = nullptr;
};

TdxBarCustomizingHooks& dxBarCustomizingHooks();

// The callers' side: each does nothing without its hook.
void dxBarNotifyBarChanged(TdxBar* ABar);
void dxBarNotifyBarRemoved(TdxBar* ABar);
void dxBarNotifyOptionsChanged();
