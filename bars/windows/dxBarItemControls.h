// dxBarItemControls.h — item controls: the on-screen part of one shown item
// link inside a bar window. The link owns its control; the control refers
// to its link, item and bar window, draws through the manager's painter
// class and turns mouse and keys into the item's click.
//
// The registry (bars/model/dxBarRegistry.h) pairs each item class with its
// control class. Declarations only for now.
#pragma once
#include "bars/model/dxBarTypes.h"
#include "platform/rtl/Object.h"

class TdxBarItemControl : public TObject {
public:
  TdxBarItemLink* ItemLink() const { return FItemLink; }

protected:
  TdxBarItemLink* FItemLink = nullptr;  // the owner of this control
  TCustomdxBarControl* FParent = nullptr;
};

class TdxBarButtonControl : public TdxBarItemControl {};
// A control that hosts an edit window while the user types.
class TdxBarWinControl : public TdxBarItemControl {};
class TdxBarEditControl : public TdxBarWinControl {};
class TCustomdxBarComboControl : public TdxBarEditControl {};
class TdxBarComboControl : public TCustomdxBarComboControl {};
class TdxBarSubItemControl : public TdxBarItemControl {};
class TdxBarContainerItemControl : public TdxBarSubItemControl {};
