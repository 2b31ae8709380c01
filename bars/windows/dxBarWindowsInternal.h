// dxBarWindowsInternal.h — what the units of bars/windows share among
// themselves and nobody else needs: the hint's bar window, the menu font,
// the painter lookup and the deferred freeing of closed menus.
#pragma once
#include "bars/model/dxBarTypes.h"
#include "platform/win/WinTypes.h"

class TFont;

// The bar window whose selected control the hint describes.
void dxBarSetHintBar(TCustomdxBarControl* ABar);
void dxBarHintBarDestroyed(TCustomdxBarControl* ABar);
// The font bar windows measure and draw with.
TFont* dxBarMenuFont(TdxBarManager* AManager);
TdxBarItemControlPainterClass dxBarPainterOf(TdxBarManager* AManager);
// Frees a closed menu window once its own messages are over.
void dxBarFreeLater(TCustomdxBarControl* ABar);
// Whether a window is one of the open bar windows of the chain (or a
// child of one).
bool dxBarIsOpenBarWindow(HWND Wnd);
// The caption-button flag: set while a floating bar's close button is held.
bool& dxBarCaptionButtonFlag();
// The unit's hidden window: it holds the capture while a bar is dragged.
HWND dxBarCaptureWindow();
class TCanvas;
// The canvas's DC with its font selected: text drawn straight on the DC
// must use the font the controls were measured with, not the DC's default.
HDC dxBarTextDC(TCanvas* ACanvas);
