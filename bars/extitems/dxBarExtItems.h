// dxBarExtItems.h — the extra item kinds (MRU list, toolbars list, in-place
// sub-item, spin edit, image combo, static, large button, progress,
// control container, colour and font-name combos, date items, tree-view
// combo). Each is an item of bars/items with its control class registered
// beside it. Declarations only for now.
#pragma once
#include "bars/items/dxBarItems.h"

class TdxBarMRUListItem;
class TdxBarToolbarsListItem;
class TdxBarInPlaceSubItem;
class TdxBarSpinEdit;
class TdxBarImageCombo;
class TdxBarStatic;
class TdxBarLargeButton;
class TdxBarProgressItem;
class TdxBarControlContainerItem;
class TdxBarColorCombo;
class TdxBarFontNameCombo;
class TdxBarDateCombo;
class TdxBarTreeViewCombo;
