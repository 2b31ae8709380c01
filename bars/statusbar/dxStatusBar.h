// dxStatusBar.h — the status bar: a look-and-feel control that owns its
// panels; each panel owns a panel style (text, keyboard state, state
// indicators, container) and the bar draws through a status-bar painter
// class chosen by its paint style. Declarations only for now.
#pragma once
#include "controls/base/cxControls.h"
#include "platform/rtl/Collection.h"

class TdxStatusBarPanel;
class TdxStatusBarPanels : public TCollection {};
class TdxStatusBarPanelStyle : public TPersistent {
private:
  TdxStatusBarPanel* FOwner = nullptr;
};
class TdxStatusBarTextPanelStyle : public TdxStatusBarPanelStyle {};
class TdxStatusBarKeyboardStatePanelStyle : public TdxStatusBarPanelStyle {};
class TdxStatusBarStateIndicatorPanelStyle : public TdxStatusBarPanelStyle {};
class TdxStatusBarContainerPanelStyle : public TdxStatusBarPanelStyle {};
class TdxStatusBarPanel : public TCollectionItem {
private:
  TdxStatusBarPanelStyle* FPanelStyle = nullptr;  // owned
};
class TdxCustomStatusBar : public TcxControl {};
class TdxStatusBar : public TdxCustomStatusBar {};
class TdxStatusBarPainter {};
class TdxStatusBarStandardPainter : public TdxStatusBarPainter {};
class TdxStatusBarFlatPainter : public TdxStatusBarStandardPainter {};
class TdxStatusBarOffice11Painter : public TdxStatusBarPainter {};
class TdxStatusBarXPPainter : public TdxStatusBarStandardPainter {};
