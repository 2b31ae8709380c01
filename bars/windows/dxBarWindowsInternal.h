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

#include "bars/drawing/dxBarPainters.h"

// What a bar window answers to its manager's painter: the window's kind,
// size, font, brushes and toolbar state. One per bar window.
class TdxBarWindowPaint : public TdxBarPaintWindow {
public:
  explicit TdxBarWindowPaint(TCustomdxBarControl* AWindow) : FWindow(AWindow) {}
  ~TdxBarWindowPaint() override;
  bool Rotated() const override;
  TdxBarItemControlPainterClass Painter() const;
  TdxBarPaintType PaintType() const override;
  bool IsMainMenu() const override;
  TdxBarDockingStyle DockingStyle() const override;
  TRect ClientRect() const override;
  int ItemHeight() const override;
  HBRUSH CurrentBrush() const override;
  HBRUSH HotBrush() const override;
  HBRUSH PressedBrush() const override;
  HFONT Font() const override;
  int FontHeight() const override;
  int FontSize() const override;
  const TdxBarPaintSettings& Settings() const override;
  TdxBarManager* Manager() const override;
  bool ShowGrip() const override;
  bool CanClose() const override;
  int CloseButtonState() const override;
  AnsiString Caption() const override;
  void PaintDockBackground(HDC DC, const TRect& R, HBRUSH Fallback) const override;
  void PaintBackground(HDC DC, const TRect& R, HBRUSH Fallback) const override;
  bool HasBackgroundBitmap() const override;
  bool HasOwnBackground() const override { return HasBackgroundBitmap(); }
  bool BorderNone() const override;
  bool CanHaveSizeGrip() const override;
  bool ThemesAvailable() const override;
  bool FormActive() const override;
  bool HasHiddenItems() const override;
  bool ShowMark() const override;
  int MarkState() const override;
  TRect WindowRect() const override;
  TRect DockSiteRect() const override;
  TRect DockedRect() const override;
  int ComboButtonWidth() const override;

private:
  TdxBar* Bar() const;
  // The manager's picture this window tiles: Bar for toolbars, SubMenu for
  // menus; nullptr when that one is empty.
  TBitmap* BackgroundBitmap() const;
  TCustomdxBarControl* FWindow;
  mutable TdxBarPaintSettings FSettings;
  // While the painter paints a menu's background it asks the window for
  // the plain background again: that is the fill the caller asked for.
  mutable HBRUSH FMenuFallback = nullptr;
  // The bar font turned a quarter clockwise, for the captions of a rotated
  // vertical bar, and the font it was made from.
  mutable HFONT FRotatedFont = nullptr;
  mutable HFONT FRotatedFrom = nullptr;
  mutable bool FInMenuBackground = false;
};

// What a dock site answers to the painter: its side and its client area,
// shifted by Origin when a bar docked on it paints the site's background
// under itself (Origin is the bar's position on the site).
class TdxDockPaintWindow : public TdxBarPaintWindow {
public:
  TdxDockPaintWindow(TdxDockControl* ADock, TPoint AOrigin = {0, 0}) : FDock(ADock), FOrigin(AOrigin) {}
  TdxBarDockingStyle DockingStyle() const override;
  TRect ClientRect() const override;
  TdxBarManager* Manager() const override;
  bool ThemesAvailable() const override;
  std::vector<TDockRow> DockRows() const override;

private:
  TdxDockControl* FDock;
  TPoint FOrigin;
};
