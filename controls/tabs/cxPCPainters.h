// cxPCPainters.h — how a tab control is drawn and measured: the painter
// interface, the registry of painter classes searched by style or by look
// and feel, the Standard painter (navigator buttons, tab sizes, captions and
// images) and the classic styles Tabs, Buttons and FlatButtons.
#pragma once
#include <memory>
#include <vector>
#include "controls/tabs/cxPC.h"

// A painter "class": the identity and the class-level answers of one style,
// and how to make a painter of it.
struct TcxPCPainterClassInfo {
  TcxPCStyleID StyleID = -1;
  const char* StyleName = "";
  int ButtonStyleKind = 0;  // 0 tabs, 1 buttons, 2 flat buttons
  bool AllowsRotation = true;
  bool AllowsMultiSelect = false;
  bool TabsActAsButtons = false;
  bool MirrorsContentOffsets = true;
  bool ActiveRowNextToPage = true;
  // Look-and-feel painter style codes this style is the default for (bits).
  unsigned DefaultForStyleCodes = 0;
  // The fallback answers with the look and feel's NativeStyle.
  bool FallbackWhenNative = false;
  std::unique_ptr<TcxPCCustomPainter> (*Create)(TcxCustomTabControl*) = nullptr;
};

class TcxPCCustomPainter {
public:
  explicit TcxPCCustomPainter(TcxCustomTabControl* AControl) : FControl(AControl) {}
  virtual ~TcxPCCustomPainter() = default;
  virtual TcxPCPainterClass PainterClass() const = 0;
  TcxCustomTabControl* Control() const { return FControl; }

  // Measuring and layout.
  virtual int CalculateTabNormalHeight() = 0;
  virtual int CalculateTabNormalWidth(TcxTab* ATab) = 0;
  virtual int GetTabMinWidth() = 0;
  virtual void GetTabBoundsAdjustment(int /*V*/, TRect& Offsets) { Offsets = {0, 0, 0, 0}; }
  // (in a row, between rows)
  virtual TPoint GetTabsSpacing() { return {0, 0}; }
  virtual void CalculateTabsArea(TcxPCNavigatorButtons Buttons, TcxPCTabsArea& Area) = 0;
  virtual void GetFrameRectOffsets(TRect& Margins);
  virtual void GetDisplayRectOffsets(TRect& Margins);
  virtual int GetFrameWidth() { return 0; }
  virtual bool HasFrame();
  virtual bool IsPointInTab(int /*V*/, int /*X*/, int /*Y*/) { return true; }
  virtual bool GetNavigatorButtonAt(int X, int Y, TcxPCNavigatorButton& Button) = 0;
  virtual TRect GetGoDialogButtonBounds() = 0;
  virtual bool IsNativePainting() { return false; }
  virtual bool NeedsRedrawOnResize() { return IsNativePainting(); }

  // Drawing.
  virtual void Paint(TcxCanvas* ACanvas) { PaintContent(ACanvas); }
  virtual void PaintContent(TcxCanvas* ACanvas);
  virtual void PaintPageArea(TcxCanvas* ACanvas);
  virtual void DrawPageArea(TcxCanvas* ACanvas);
  virtual void DrawFrame(TcxCanvas* ACanvas) = 0;
  virtual void DrawTabs(TcxCanvas* ACanvas) = 0;
  virtual void DrawNavigatorButtons(TcxCanvas* ACanvas) = 0;
  virtual TColor GetPageColor();
  virtual TColor GetTabColor(int V) = 0;
  virtual TColor GetTabTextColor(int V);
  virtual void RepaintNavigatorButton(TcxPCNavigatorButton, int /*OldState*/) {}
  virtual void RepaintTab(int /*V*/, TcxTabChangeKind /*Kind*/) {}
  virtual void DrawTabImageAndText(TcxCanvas* ACanvas, int V);
  // What a level caption is drawn on: the tab's colour, or (styles that
  // draw their tabs over a band) the band behind the tab.
  virtual void FillTabContentBackground(TcxCanvas* ACanvas, const TRect& R, int V);
  virtual void GetTabContentOffsets(int V, TPoint& Pair) = 0;
  virtual void GetTabContentOffsetsWhenCut(int V, TPoint& Pair) = 0;
  virtual void GetTabImageOffsets(int V, TRect& Margins) = 0;
  virtual void GetTabTextOffsets(int V, TRect& Margins) = 0;
  virtual int GetImageTextDistance() = 0;
  virtual bool IsTabRaised(int V) = 0;

  TRect GetDisplayRect();
  TRect GetFrameRect();
  // Turns margins written for a strip above the page to the real side.
  TRect RotateMargins(const TRect& M) const;
  void InvalidateArea(const TRect& R);
  void InvalidateTab(int V);
  static void DrawPolylineWithEnd(TcxCanvas* ACanvas, TColor AColor, const std::vector<TPoint>& P);
  int GetMaxTextHeight();
  TSize GetImageSize() const;
  bool HasImage(int V) const;
  bool IsOwnerDrawn() const;
  bool DoOwnerDraw(int V);
  // The last image and text rectangles laid out, for the tests and hooks.
  TRect LastImageRect, LastTextRect;

protected:
  void CalculateTabImageAndTextRects(TcxCanvas* ACanvas, int V, AnsiString& Caption);
  TcxCustomTabControl* FControl;
};

// What a painter class's Create points at.
template <class T>
std::unique_ptr<TcxPCCustomPainter> MakePainter(TcxCustomTabControl* C) {
  return std::make_unique<T>(C);
}

class TcxPCPaintersFactory {
public:
  static void RegisterTabPainterClass(TcxPCPainterClass AClass);
  static void UnregisterTabPainterClass(TcxPCPainterClass AClass);
  static TcxPCPainterClass GetPainterClass(TcxPCStyleID AStyle);
  static TcxPCStyleID GetStyleForLookAndFeel(TcxLookAndFeel* ALookAndFeel);
  static TcxPCStyleID GetDefaultStyleID(TcxLookAndFeel* ALookAndFeel);
  static std::unique_ptr<TcxPCCustomPainter> GetPainterInstance(TcxPCPainterClass AClass,
                                                                TcxCustomTabControl* AControl);
  static void ReleasePainter(std::unique_ptr<TcxPCCustomPainter>& APainter) { APainter.reset(); }
  static bool Exists();
  static int Count();
};

// The painters shipped with the control, in their registration order.
TcxPCPainterClass cxPCTabsPainterClass();
TcxPCPainterClass cxPCButtonsPainterClass();
TcxPCPainterClass cxPCFlatButtonsPainterClass();
TcxPCPainterClass cxPCFlatPainterClass();
// ExtraFlat, UltraFlat and Office11 (cxPCExtraFlatPainters.cpp).
TcxPCPainterClass cxPCExtraFlatPainterClass();
TcxPCPainterClass cxPCUltraFlatPainterClass();
TcxPCPainterClass cxPCOffice11PainterClass();
// Slanted and OneNote (cxPCSlantedPainters.cpp).
TcxPCPainterClass cxPCSlantedPainterClass();
TcxPCPainterClass cxPCOneNotePainterClass();
// The face colour with 20 added to each channel (capped at 255), taken once.
TColor cxPCLightFaceColor();
// The colour with its brightness (HSB, in percent) scaled by (100 + APercent) %.
TColor cxPCAdjustBrightness(TColor AColor, int APercent);
// Registers the shipped styles (once; idempotent).
void RegisterStandardTabPainters();

class TcxPCStandardPainter : public TcxPCCustomPainter {
public:
  explicit TcxPCStandardPainter(TcxCustomTabControl* AControl) : TcxPCCustomPainter(AControl) {}
  int Kind() const { return PainterClass()->ButtonStyleKind; }

  int CalculateTabNormalHeight() override;
  int CalculateTabNormalWidth(TcxTab* ATab) override;
  int GetTabMinWidth() override;
  TPoint GetTabsSpacing() override;
  void CalculateTabsArea(TcxPCNavigatorButtons Buttons, TcxPCTabsArea& Area) override;
  int GetFrameWidth() override { return 2; }
  bool GetNavigatorButtonAt(int X, int Y, TcxPCNavigatorButton& Button) override;
  TRect GetGoDialogButtonBounds() override;
  TColor GetTabColor(int V) override;
  void GetTabContentOffsets(int V, TPoint& Pair) override;
  void GetTabContentOffsetsWhenCut(int V, TPoint& Pair) override;
  void GetTabImageOffsets(int V, TRect& Margins) override;
  void GetTabTextOffsets(int V, TRect& Margins) override;
  int GetImageTextDistance() override { return 6; }
  bool IsTabRaised(int V) override;
  void Paint(TcxCanvas* ACanvas) override;
  void DrawTabs(TcxCanvas* ACanvas) override;
  void DrawNavigatorButtons(TcxCanvas* ACanvas) override;
  void DrawFrame(TcxCanvas* ACanvas) override;
  void RepaintNavigatorButton(TcxPCNavigatorButton B, int OldState) override;
  void RepaintTab(int V, TcxTabChangeKind Kind) override;

  // The shown buttons in their order along the strip, and their rectangles.
  std::vector<TcxPCNavigatorButton> GetNavigatorButtonsQueue(TcxPCNavigatorButtons Buttons) const;
  TRect NavigatorButtonRect(TcxPCNavigatorButton B) const;

protected:
  virtual int GetNavigatorButtonHeight() { return 20; }
  virtual int GetNavigatorButtonWidth(TcxPCNavigatorButton B);
  virtual int GetNavigatorButtonsInterval() { return 0; }
  virtual int GetTabMinHeight();
  virtual int GetTabContentHeight();
  virtual void GetControlMargins(TRect& M) { M = {0, 0, 0, 0}; }
  virtual void DrawTab(TcxCanvas* ACanvas, int V);
  virtual void DrawTabFrame(TcxCanvas* ACanvas, int V) = 0;
  virtual void DrawFrameBorder(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawNavigatorButton(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R);
  virtual TColor GetBackgroundColor();
  void DrawGlyph(TcxCanvas* ACanvas, TcxPCNavigatorButton B, const TRect& R);

  std::vector<std::pair<TcxPCNavigatorButton, TRect>> FButtonRects;
};
