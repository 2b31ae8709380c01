// dxBarCustomizing.h — the customizing support every manager shares: the
// transient items that fill the toolbars popup and the customizing menus,
// the toolbars popup's entries, and the process-wide customizing state
// (one customizing form at a time, every manager in customizing mode while
// it is open).
//
// Transient items have no owner and no manager; this unit keeps them and
// frees those that no collection shows any more.
#pragma once
#include <functional>
#include "bars/model/dxBarTypes.h"

// Adds AItem to the transient items (taking it over) and answers it.
TdxBarItem* dxBarAddTempItem(TdxBarItem* AItem);
// Frees the transient items that no link refers to any more.
void dxBarFreeUnusedTempItems();
// Frees every transient item (their links go with them).
void dxBarFreeAllTempItems();
int dxBarTempItemCount();

// A transient button whose click runs AOnClick (a sentinel keeps the
// button alive across the call-out only when it still exists afterwards).
TdxBarButton* dxBarNewTempButton(const AnsiString& ACaption, std::function<void(TdxBarButton*)> AOnClick);

// Appends what the toolbars popup shows: a checked entry per bar that the
// user may close and that is not hidden (its click toggles the bar), then
// "&Customize..." when the manager allows customizing; then fires the
// manager's OnShowToolbarsPopup.
void dxBarBuildToolbarsPopupLinks(TdxBarManager* AManager, TdxBarItemLinks* ALinks);

// The manager whose customizing form is open; nil when none is.
TdxBarManager* dxBarCustomizingManager();
void dxBarSetCustomizingManager(TdxBarManager* AManager);
// Switches a manager's customizing mode: open menus close, every bar
// window rebuilds its controls for the new mode (links of ivInCustomizing
// items exist only while customizing), and the customizing form opens or
// closes with it. Nothing when another manager's form is open.
void dxBarSetCustomizing(TdxBarManager* AManager, bool Value);
// Appends "&Customize..." (disabled while a customizing form is open;
// nothing when the manager does not allow customizing).
void dxBarAddCustomizeItem(TdxBarManager* AManager, TdxBarItemLinks* ALinks, bool ABeginGroup);
