// The flat look's menus, edits, combos and caption buttons: the sizes the
// menu windows lay out with, one-pixel frames in the right colours, the
// combo button's arrow, the static border rings and the floating caption.
#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "bars/drawing/dxBarDrawing.h"
#include "platform/gdi/Gdi.h"

using bptest::TTestWindow;
using cxtest::Rgb;
using cxtest::TPaintBox;

namespace {

const TdxBarItemControlFlatPainter* Flat() {
  return static_cast<const TdxBarItemControlFlatPainter*>(TdxBarItemControlFlatPainter::Instance());
}

TEST(FlatMenus, SizesTheMenuWindowsLayOutWith) {
  TTestWindow Menu;
  Menu.Type = ptMenu;
  Menu.Client = {0, 0, 120, 80};
  TSize S;
  Flat()->CalcSubMenuSize(Menu, 0, 0, S);
  EXPECT_EQ(S.cx, 100) << "an empty menu";
  EXPECT_EQ(S.cy, Menu.ItemHeight() + 3);
  Flat()->CalcSubMenuSize(Menu, 90, 60, S);
  EXPECT_EQ(S.cx, 94);
  EXPECT_EQ(S.cy, 63);
  Menu.ExpandButton = true;
  Flat()->CalcSubMenuSize(Menu, 90, 60, S);
  EXPECT_EQ(S.cy, 63 + Menu.ItemHeight());

  TRect Rows;
  int Top, Bottom;
  Flat()->GetSubMenuItemsRect(Menu, false, Rows, Top, Bottom);
  EXPECT_EQ(Rows, (TRect{1, 1, 119, 79}));
  EXPECT_EQ(Bottom, 79 - Menu.ItemHeight()) << "the expand button takes the last item height";
  Flat()->GetSubMenuItemsRect(Menu, true, Rows, Top, Bottom);
  EXPECT_EQ(Top, 0);
  EXPECT_EQ(Bottom, 0x7FFFFFFF);

  int Glyph, Expand, Arrow;
  Flat()->CalcSubMenuMetrics(19, 13, Glyph, Expand, Arrow);
  EXPECT_EQ(Glyph, 16);
  EXPECT_EQ(Arrow, 20);
  EXPECT_EQ(Expand, 14);  // arrow size 4 for 12 is even: the text height + 1
  Flat()->CalcSubMenuMetrics(19, 11, Glyph, Expand, Arrow);
  EXPECT_EQ(Expand, 10);  // arrow size 3 for 10 is odd: 2 x 3 + 4
}

TEST(FlatMenus, SubItemsAreWiderAndTallerInMenusOnly) {
  TTestWindow Menu, Bar;
  Menu.Type = ptMenu;
  TdxBarItemPaint InMenu, OnBar;
  InMenu.Window = &Menu;
  OnBar.Window = &Bar;
  TPaintBox Box(10, 10);
  const HDC DC = Box.Canvas()->GetDC();
  const auto* Base = TdxBarItemControlPainter::Instance();
  EXPECT_EQ(Flat()->CalcSubItemHeight(InMenu), Base->CalcSubItemHeight(InMenu) + 2);
  EXPECT_EQ(Flat()->CalcSubItemHeight(OnBar), Base->CalcSubItemHeight(OnBar));
  EXPECT_EQ(Flat()->CalcSubItemWidth(InMenu, DC), Base->CalcSubItemWidth(InMenu, DC) + 9);
  Bar.MainMenu = true;
  EXPECT_EQ(Flat()->CalcSubItemIndent(Bar), 8);
}

// Frames of one pixel: static borders as many rings as their width, the
// drop-down list border in shadow and window colours, a disabled toolbar
// edit in the shadow colour.
TEST(FlatFrames, RingsAndEditBorders) {
  TPaintBox Box(30, 30);
  const HDC DC = Box.Canvas()->GetDC();
  TRect R{0, 0, 30, 30};
  Flat()->DrawStaticBorder(DC, sbsEtched, 3, R);
  EXPECT_EQ(R, (TRect{3, 3, 27, 27}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Box.Pixel(i, 15), Rgb(clBtnShadow)) << i;
  EXPECT_EQ(Box.Pixel(3, 15), TColor(0xFF00FF));

  TPaintBox List(20, 20);
  Flat()->DrawDropDownListBorder(List.Canvas()->GetDC(), {0, 0, 20, 20});
  EXPECT_EQ(List.Pixel(0, 10), Rgb(clBtnShadow));
  EXPECT_EQ(List.Pixel(1, 10), Rgb(clWindow));

  TTestWindow Bar;
  TdxBarItemPaint Edit;
  Edit.Window = &Bar;
  Edit.Enabled = false;
  TPaintBox E(40, 20);
  TRect F{0, 0, 40, 20};
  Flat()->DrawEditBorder(Edit, E.Canvas()->GetDC(), false, F);
  EXPECT_EQ(E.Pixel(0, 10), Rgb(clBtnShadow));
  EXPECT_EQ(F, (TRect{1, 1, 39, 19}));
}

// The combo's button: its rectangle is stored for hit tests, the arrow is a
// down triangle in the button text colour, in the shadow colour disabled.
TEST(FlatCombos, ButtonAndArrow) {
  struct TWindow : TTestWindow {
    int ComboButtonWidth() const override { return 11; }
  } Bar;
  for (bool Enabled : {true, false}) {
    TdxBarItemPaint Combo;
    Combo.Window = &Bar;
    Combo.Enabled = Enabled;
    TPaintBox Box(60, 20);
    Flat()->DrawComboButton(Combo, Box.Canvas()->GetDC(), false, false, {0, 0, 60, 20});
    EXPECT_EQ(Combo.ComboButtonRect, (TRect{49, 0, 60, 20}));
        const TColor Arrow = Rgb(Enabled ? clBtnText : clBtnShadow);
    EXPECT_EQ(Box.Pixel(52, 8), Arrow) << Enabled;
    EXPECT_EQ(Box.Pixel(56, 8), Arrow) << Enabled;
    EXPECT_EQ(Box.Pixel(54, 10), Arrow) << Enabled << ": the apex";
    EXPECT_EQ(Box.Pixel(53, 9), Arrow) << Enabled;
    EXPECT_EQ(Box.Pixel(54, 9), Arrow) << Enabled << ": the middle";
    EXPECT_EQ(Box.Pixel(55, 9), Arrow) << Enabled;
    EXPECT_EQ(Box.Pixel(54, 11), Rgb(clBtnFace)) << Enabled;
  }
}

// The floating caption's close button: a cross in the caption mark colour
// of its state, on the caption colour or the hot tint.
TEST(FlatCaption, CloseButtonCrossByState) {
  for (int State : {0, 1}) {
    struct TWindow : TTestWindow {
      int S = 0;
      int CloseButtonState() const override { return S; }
    } Bar;
    Bar.S = State;
    TPaintBox Box(16, 16);
    Flat()->DrawCloseButton(Bar, Box.Canvas()->GetDC(), {0, 0, 16, 16});
    const TColor Cross = Rgb(Flat()->GetBarCaptionMarkColor(Bar, State));
    EXPECT_EQ(Box.Pixel(3, 4), Cross) << State;
    EXPECT_EQ(Box.Pixel(4, 4), Cross) << State << ": drawn twice, a pixel apart";
    EXPECT_EQ(Box.Pixel(12, 4), Cross) << State << ": the other diagonal";
    if (State == 0) {
      EXPECT_EQ(Box.Pixel(8, 1), Rgb(clInactiveCaption)) << "the caption colour, active or not";
    } else {
      EXPECT_EQ(Box.Pixel(8, 0), Rgb(clHighlight)) << "hot: the highlight frame";
    }
  }
}

}  // namespace

namespace {

// What depends on the window: shadows only off the dock (and never under
// an Office 2003 toolbar), the face-coloured brush of the main menu and of
// a status-bar-like bar, menu edit captions past the glyph column.
TEST(WindowDependent, ShadowsBrushesAndMenuIndents) {
  struct TCase {
    const char* Name;
    TdxBarPaintType Type;
    TdxBarDockingStyle Docking;
    bool Flat, Office11;
  };
  const TCase Cases[] = {{"docked toolbar", ptHorz, dsTop, false, false},
                         {"floating toolbar", ptHorz, dsNone, true, false},
                         {"menu", ptMenu, dsNone, true, true}};
  const auto* O = TdxBarItemControlOffice11Painter::Instance();
  for (const TCase& C : Cases) {
    TTestWindow W;
    W.Type = C.Type;
    W.Docking = C.Docking;
    EXPECT_EQ(Flat()->BarWindowHasShadow(W), C.Flat) << C.Name;
    EXPECT_EQ(O->BarWindowHasShadow(W), C.Office11) << C.Name;
  }
  TTestWindow Bar, Main;
  Main.MainMenu = true;
  EXPECT_EQ(Flat()->GetToolbarBrushOf(Main), GetSysColorBrush(COLOR_BTNFACE));
  EXPECT_EQ(Flat()->GetToolbarBrushOf(Bar), Flat()->GetBarBrush());
  TTestWindow Menu;
  Menu.Type = ptMenu;
  Menu.CaptionLeftAt = 24;
  TPaintBox Box(10, 10);
  const HDC DC = Box.Canvas()->GetDC();
  EXPECT_EQ(O->CalcEditCaptionWidthIn(Menu, DC, "Find"), Flat()->CalcEditCaptionWidth(DC, "Find") + 25);
  EXPECT_EQ(O->CalcEditCaptionWidthIn(Bar, DC, "Find"), Flat()->CalcEditCaptionWidth(DC, "Find"));
  TdxBarItemPaint Progress;
  Progress.Window = &Menu;
  EXPECT_EQ(O->GetProgressBarIndentOf(Progress), 24);
}

}  // namespace
