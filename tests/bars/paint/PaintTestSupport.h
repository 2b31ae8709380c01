// PaintTestSupport.h — what the bar painters' tests share: a bar window
// whose answers a test sets, a generated glyph, and whole-picture goldens
// under tests/fixtures/bars compared outside the text areas.
#pragma once
#include <memory>
#include <string>
#include <vector>
#include "../../controls/ControlsTestSupport.h"
#include "bars/drawing/dxBarPainters.h"
#include "platform/gdi/Bitmap.h"

namespace bptest {

class TTestWindow : public TdxBarPaintWindow {
public:
  TdxBarPaintType Type = ptHorz;
  TdxBarDockingStyle Docking = dsTop;
  TRect Client{0, 0, 200, 26};
  bool Hidden = false;
  int Mark = 0;
  bool Grip = true;
  bool ExpandButton = false;
  TdxBarPaintSettings Values;
  // The painter whose brushes the window uses (a window takes its brushes
  // from its manager's painter); nullptr: the defaults.
  TdxBarItemControlPainterClass Painter = nullptr;
  // The Office 2003 and XP questions.
  bool MainMenu = false;
  bool NoBorder = false;
  bool MarkShown = false;
  bool QuickCustomization = false;
  bool Themes = false;
  int CaptionLeftAt = -1;  // -1: the default
  TRect Window;            // empty: the client rectangle
  TPoint Origin{0, 0};
  TRect Joint;
  TRect DockSite;
  TRect Docked;
  // Paint the window's background through the painter's own background
  // routine (the toolbar gradient, the menu's glyph column) rather than a
  // plain fill.
  bool PainterBackground = false;

  bool IsMainMenu() const override { return MainMenu; }
  bool BorderNone() const override { return NoBorder; }
  bool ShowMark() const override { return MarkShown; }
  bool IsQuickCustomization() const override { return QuickCustomization; }
  bool ThemesAvailable() const override { return Themes; }
  int CaptionLeft() const override { return CaptionLeftAt >= 0 ? CaptionLeftAt : TdxBarPaintWindow::CaptionLeft(); }
  TRect WindowRect() const override { return Window.IsEmpty() ? Client : Window; }
  TPoint ClientOrigin() const override { return Origin; }
  TRect OwnerJointRect() const override { return Joint; }
  TRect DockSiteRect() const override { return DockSite; }
  TRect DockedRect() const override { return Docked; }
  void PaintBackground(HDC DC, const TRect& R, HBRUSH Fallback) const override;
  void PaintDockBackground(HDC DC, const TRect& R, HBRUSH Fallback) const override;

  TdxBarPaintType PaintType() const override { return Type; }
  TdxBarDockingStyle DockingStyle() const override { return Docking; }
  TRect ClientRect() const override { return Client; }
  bool HasHiddenItems() const override { return Hidden; }
  int MarkState() const override { return Mark; }
  bool ShowGrip() const override { return Grip; }
  bool ExpandButtonVisible() const override { return ExpandButton; }
  const TdxBarPaintSettings& Settings() const override { return Values; }
  HBRUSH CurrentBrush() const override;
  HBRUSH HotBrush() const override { return Painter ? Painter->GetHotBrush() : TdxBarPaintWindow::HotBrush(); }
  HBRUSH PressedBrush() const override {
    return Painter ? Painter->GetPressedBrush() : TdxBarPaintWindow::PressedBrush();
  }
};

// A 16 by 16 glyph on magenta (its bottom-left pixel): a blue frame, a red
// diagonal and a green centre.
std::unique_ptr<TBitmap> MakeGlyph();

// Compares every pixel of the box with the golden outside the Skip
// rectangles (text, whose rendering is not the painters' business). With
// SX_UPDATE_GOLDENS=1 the golden is rewritten instead; SX_SHOTS_DIR=dir
// writes an enlarged copy there for looking at.
void ExpectMatchesGolden(cxtest::TPaintBox& Box, const std::string& Name, const std::vector<TRect>& Skip);

}  // namespace bptest
