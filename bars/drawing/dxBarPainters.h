// dxBarPainters.h — the item-control painters: classes of virtual class
// operations that are never instantiated. A manager keeps the class
// reference of its effective style (TdxBarManager's painter class) and bar
// windows and item controls call its operations to draw and measure.
//
// Style by effective manager style: bmsStandard -> Standard, bmsEnhanced ->
// Enhanced, bmsFlat -> Flat, bmsXP -> XP (Enhanced without visual styles),
// bmsOffice11 -> Office11. Declarations only for now.
#pragma once
#include "bars/model/dxBarTypes.h"

class TdxBarItemControlPainter {};
class TdxBarItemControlStandardPainter : public TdxBarItemControlPainter {};
class TdxBarItemControlEnhancedPainter : public TdxBarItemControlStandardPainter {};
class TdxBarItemControlFlatPainter : public TdxBarItemControlEnhancedPainter {};
class TdxBarItemControlOffice11Painter : public TdxBarItemControlFlatPainter {};
class TdxBarItemControlXPPainter : public TdxBarItemControlEnhancedPainter {};
