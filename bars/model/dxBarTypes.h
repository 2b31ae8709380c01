// dxBarTypes.h — the bar library's enumerations, event types and the forward
// declarations of its classes, so that the units of bars/ can refer to one
// another without including each other's headers in a circle.
//
// Who owns whom (the shape every unit relies on):
//   TdxBarManager (one per form, owned by the form)
//     owns TdxBars (collection of TdxBar), TdxBarManagerCategories, the
//     popup-menu links, the backgrounds, the look and feel and the font;
//     lists (does not own, but frees on destruction) every TdxBarItem,
//     TdxBarGroup and TdxBarPopupMenu of the form, and every dock site.
//   TdxBar owns its TdxBarItemLinks; TdxBarItemLinks owns its
//     TdxBarItemLink objects and the bar window that shows them.
//   TdxBarItemLink refers to one TdxBarItem (the item lists its links) and
//     owns the TdxBarItemControl that shows it while it is on screen.
//   TCustomdxBarSubItem owns the TdxBarItemLinks of its menu.
//   Painters are stateless, with one shared instance per style
//     (TdxBarItemControlPainterClass points at it); nobody creates or
//     frees one.
#pragma once
#include "platform/rtl/Sets.h"
#include "platform/rtl/TypInfo.h"

SX_ENUM(TdxBarManagerStyle, bmsStandard, bmsEnhanced, bmsFlat, bmsXP, bmsOffice11, bmsUseLookAndFeel)
SX_ENUM(TdxBarMenuAnimations, maNone, maRandom, maUnfold, maSlide, maFade)
SX_ENUM(TdxBarDockingStyle, dsNone, dsLeft, dsTop, dsRight, dsBottom)
using TdxBarDockingStyles = TSet<TdxBarDockingStyle>;
SX_ENUM(TdxBarItemVisible, ivNever, ivInCustomizing, ivAlways)
SX_ENUM(TdxBarItemAlign, iaLeft, iaCenter, iaRight, iaClient)
SX_ENUM(TdxBarButtonStyle, bsDefault, bsChecked, bsDropDown)
SX_ENUM(TdxBarPaintStyle, psStandard, psCaption, psCaptionInMenu, psCaptionGlyph)
SX_ENUM(TdxBarBorderStyle, bbsNone, bbsSingle)
// The stored layout writes this set as its bit value (udCaption 1 … udWidth 8).
SX_ENUM(TdxBarUserDefine, udCaption, udGlyph, udPaintStyle, udWidth)
using TdxBarUserDefines = TSet<TdxBarUserDefine>;

// Model (bars/model, bars/items).
class TdxBarManager;
class TdxBarManagerList;
class TdxBarManagerCategories;
class TdxBarCategoryData;
class TdxBarGroup;
class TdxBar;
class TdxBars;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarItem;
class TdxBarItemActionLink;
class TdxBarButton;
class TdxBarWindowItem;
class TdxBarEdit;
class TCustomdxBarCombo;
class TdxBarCombo;
class TCustomdxBarSubItem;
class TdxBarSubItem;
class TCustomdxBarContainerItem;
class TdxBarContainerItem;
class TdxBarListItem;
class TdxBarBackgrounds;

// Windows (bars/windows).
class TCustomdxBarControl;
class TdxBarControl;
class TdxBarSubMenuControl;
class TdxDockControl;
class TdxBarDockControl;
class TdxDockRow;
class TdxDockCol;
class TdxBarPopupMenu;
class TdxBarPopupMenuLink;
class TdxBarPopupMenuLinks;
class TdxBarHintWindow;
class TdxBarShadow;
class TdxBarItemControl;
class TdxBarWinControl;
class TdxBarButtonControl;
class TdxBarEditControl;
class TdxBarComboControl;
class TdxBarSubItemControl;
class TdxBarContainerItemControl;

// Drawing (bars/drawing).
class TdxBarItemControlPainter;
using TdxBarItemControlPainterClass = const TdxBarItemControlPainter*;

// Status bar and customizing (bars/statusbar, bars/customize).
class TdxStatusBar;
class TdxBarCustomizingForm;

// Event types the model fires.
using TdxBarEvent = TEvent<void(TdxBarManager* Sender, TdxBar* ABar)>;
using TdxBarVisibleChangeEvent = TdxBarEvent;
using TdxBarItemLinkEvent = TEvent<void(TdxBarManager* Sender, TdxBarItemLink* AItemLink)>;
using TdxBarCanDockingEvent =
    TEvent<void(TdxBar* Sender, TdxBarDockingStyle Style, TdxDockControl* DockControl, bool& CanDocking)>;
using TdxBarMenuMergeEvent = TEvent<void(TdxBarManager* Sender, TdxBarManager* ChildBarManager, bool AddItems)>;
using TdxBarShowPopupEvent = TEvent<void(TdxBarManager* Sender, TdxBarItemLinks* PopupItemLinks)>;
using TdxBarClickItemEvent = TEvent<void(TdxBarManager* Sender, TdxBarItem* ClickedItem)>;
