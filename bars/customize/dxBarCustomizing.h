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
#include "platform/win/WinTypes.h"

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

// --- Dragging while customizing -------------------------------------------

class TCustomdxBarControl;
class TdxBarItemControl;
// The cursors of a drag: move (this id), copy (+1), no drop (+2) and edit
// sizing (+3).
constexpr Integer dxBarDragCursorId = 1041;
// Whether a bar window takes drops while customizing (a toolbar that
// allows customizing, a sub-menu or popup menu).
bool dxBarAcceptsCustomizing(TCustomdxBarControl* ABar);
// The control a drop at a client point lands on, nil when none: before or
// after it (along the bar, or down a menu when Vertical), or in the group
// gap in front of it.
TdxBarItemControl* dxBarGetDropControl(TCustomdxBarControl* ABar, TPoint AClientPt, bool& InGroupGap, bool& Vertical,
                                       bool& Before);
// Draws (or, drawn again, erases) the insertion mark of a drop.
void dxBarDrawInsertMark(TCustomdxBarControl* ABar, TdxBarItemControl* AControl, bool InGroupGap, bool Vertical,
                         bool Before);
// The customizing selection: the item control framed as chosen, nil when
// none (or when its window went away).
TdxBarItemControl* dxBarSelectedItem();
void dxBarSetSelectedItem(TdxBarItemControl* AControl);
bool dxBarIsDraggingItem();
// Waits with the mouse captured until the pointer moves beyond the drag
// threshold from a press (true) or the button goes up (false).
bool dxBarDragDetect(HWND AWnd, TPoint AScreenPt);
// The drag of an item (ALink nil: from the commands list) or of a link out
// of its bar: a modal mouse loop. Released over a bar window that accepts
// customizing, a new link is placed there (a link is moved, or copied
// with Ctrl); released elsewhere, a dragged link is removed (kept with
// Ctrl); Escape changes nothing. APressPt, when given, is the screen point
// of the press that started the drag (the nudge of a link onto its own
// place is measured from there).
void dxBarDragItemOrLink(TdxBarManager* AManager, TdxBarItem* AItem, TdxBarItemLink* ALink,
                         const TPoint* APressPt = nullptr);

// --- The customizing menus ------------------------------------------------

class TdxBarPopupMenu;
// Installs the bar windows' press handling of customizing (once, with the
// extra item kinds).
void dxBarCustomizingInitialization();
// The toolbars popup: made and filled (dxBarBuildToolbarsPopup), or also
// shown at a screen point.
TdxBarPopupMenu* dxBarBuildToolbarsPopup(TdxBarManager* AManager);
void dxBarShowToolbarsPopup(TdxBarManager* AManager, TPoint AScreenPt);
// The customizing popup of a link (Reset, Delete, Name, the paint styles,
// Begin a Group); the previous one goes.
TdxBarPopupMenu* dxBarBuildCustomizingPopup(TdxBarManager* AManager, TdxBarItemLink* ALink, TdxBarItemLinks* ALinks);
TdxBarPopupMenu* dxBarCustomizingPopup();
TdxBarItemLink* dxBarCustomizingPopupLink();
// An entry of that popup by its number: 0 Reset, 1 Delete, 3 to 6 the
// paint styles, 7 Begin a Group.
void dxBarCustomizingPopupEntryClick(Integer ATag);
// The committed text of the Name entry: a blank name is refused with a
// message (false) and the link keeps its caption.
bool dxBarCustomizingPopupNameChange(const AnsiString& AText);

// --- Resets ---------------------------------------------------------------

class TForm;
// The category of the Index-th visible category (-1 when none); at design
// time Index itself.
Integer dxBarVisibleCategoryToIndex(TdxBarManager* AManager, Integer AIndex);
// A form holding a copy of the manager as its owner form's description
// designs it (no event bindings, never touching the stored layout); nil
// when the owner form's class has no description. The caller frees it.
TForm* dxBarCreateDesignedCopy(TdxBarManager* AManager);
// The manager inside such a copy.
TdxBarManager* dxBarDesignedCopyManager(TForm* ACopy);
// Every bar and sub-item takes the usage record of its designed copy (the
// most-recently-used flags; recent order and counts rebuilt from them).
void dxBarResetUsageData(TdxBarManager* AManager);
// Asks first (Yes/No, No the default); true when the data was reset.
bool dxBarResetUsageDataWithConfirmation(TdxBarManager* AManager);
// A bar read from the form description takes its designed links again.
void dxBarResetBar(TdxBar* ABar);
bool dxBarResetBarWithConfirmation(TdxBar* ABar);

// --- Quick customization --------------------------------------------------

class TdxBarControl;
// The menu of a toolbar's mark: the toolbar's links that found no room on
// it, then "&Add or Remove Buttons" with a check entry per link of the
// toolbar (its click shows or hides the link), "&Reset Toolbar" for a bar
// read from the form description, and "&Customize...". Built anew at every
// opening; shown under (beside, for a vertical toolbar) the mark.
TdxBarPopupMenu* dxBarBuildQuickCustomization(TdxBarControl* AToolbar);
// Answers the menu shown, nil when none opened.
TdxBarPopupMenu* dxBarShowQuickCustomization(TdxBarControl* AToolbar, const TRect& AMarkScreenRect);
// The Add or Remove Buttons entry of the last opening; nil when none.
TCustomdxBarSubItem* dxBarQuickAddRemoveItem();
