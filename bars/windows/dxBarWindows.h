// dxBarWindows.h — the windows of the bar library: bar windows (toolbars and
// sub-menus), dock sites and their rows and columns, popup menus and their
// bindings to controls, the hint window and menu shadows.
//
// Ownership: a bar window belongs to the TdxBarItemLinks it shows (created
// when a bar is shown or a menu opens, freed when it hides or closes) and
// owns the item controls of its shown links through those links. The four
// built-in dock sites belong to TdxBars; a placed site (TdxBarDockControl)
// belongs to the form and registers with the manager. A dock site owns its
// rows, a row its columns; a column refers to one bar window. Popup menus
// are owned by the form and listed by their manager, which frees them.
//
// Declarations only for now: the window layer builds on the model in
// bars/model and bars/items.
#pragma once
#include "bars/model/dxBarTypes.h"
#include "platform/forms/Controls.h"
#include "platform/forms/HintWindow.h"
#include "platform/rtl/Collection.h"

// A window that shows one TdxBarItemLinks.
class TCustomdxBarControl : public TCustomControl {
public:
  TdxBarItemLinks* ItemLinks() const { return FItemLinks; }
  TdxBarManager* BarManager() const { return FBarManager; }

protected:
  TdxBarManager* FBarManager = nullptr;  // not owned
  TdxBarItemLinks* FItemLinks = nullptr;  // the owner of this window
  TdxBarItemControl* FSelectedControl = nullptr;
};

// A docked or floating toolbar (or the main menu bar) of one TdxBar.
class TdxBarControl : public TCustomdxBarControl {
public:
  TdxBar* Bar() const { return FBar; }

private:
  TdxBar* FBar = nullptr;
  TdxDockControl* FDockControl = nullptr;
  TdxBarDockingStyle FDockingStyle = dsNone;
};

// An open sub-menu or popup menu.
class TdxBarSubMenuControl : public TCustomdxBarControl {
private:
  TCustomdxBarControl* FParentBarControl = nullptr;
};

class TdxDockCol;
// One row of a dock site: its columns, in order (owned).
class TdxDockRow : public TObject {
private:
  TdxDockControl* FDockControl = nullptr;
};
// One bar window's place in a row.
class TdxDockCol : public TObject {
private:
  TdxDockRow* FRow = nullptr;
  TdxBarControl* FBarControl = nullptr;
};

// A dock site: one of the form's four edges, or a placed TdxBarDockControl.
class TdxDockControl : public TCustomControl {
public:
  TdxBarDockingStyle DockingStyle() const { return FDockingStyle; }
  TdxBarManager* BarManager() const { return FBarManager; }

protected:
  TdxBarManager* FBarManager = nullptr;
  TdxBarDockingStyle FDockingStyle = dsTop;
};

// A dock site placed on the form by its designer.
class TdxBarDockControl : public TdxDockControl {};

// A context menu made of item links; owned by the form.
class TdxBarPopupMenu : public TComponent {
public:
  TdxBarItemLinks* ItemLinks() const { return FItemLinks; }

private:
  TdxBarItemLinks* FItemLinks = nullptr;  // owned
  TdxBarManager* FBarManager = nullptr;
};

// Binds a popup menu to a control of the form.
class TdxBarPopupMenuLink : public TCollectionItem {
private:
  TControl* FControl = nullptr;
  TdxBarPopupMenu* FPopupMenu = nullptr;
};
class TdxBarPopupMenuLinks : public TCollection {};

class TdxBarHintWindow : public THintWindow {};

// The shadow a menu casts: two layered windows, right and bottom.
class TdxBarShadow : public TObject {};
