// The Office 2003 look: a docked toolbar and a menu drawn as the windows
// draw them (a reviewed golden), and the rules a glance at the golden would
// not catch: dock-site gradients by side, the rounded border and its shadow
// line only on bordered toolbars, the button gradients by state with and
// without a colour scheme, the join of an open drop-down with its owner,
// faded disabled glyphs and the metrics the windows lay out with.
#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "bars/drawing/dxBarDrawing.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/gdi/Gdi.h"

using bptest::TTestWindow;
using cxtest::Rgb;
using cxtest::TPaintBox;

namespace {

const TdxBarItemControlOffice11Painter* Office11() {
  return static_cast<const TdxBarItemControlOffice11Painter*>(TdxBarItemControlOffice11Painter::Instance());
}

// Slots of the scheme's colour variables the tests name.
TColor Dock1() { return Office11Slot(1); }
TColor Dock2() { return Office11Slot(2); }
TColor Column1() { return Office11Slot(3); }
TColor Column2() { return Office11Slot(4); }
TColor ToolbarShadow() { return Office11Slot(11); }
TColor MenuFrame() { return Office11Slot(39); }
TColor Checked() { return Office11Slot(48); }

// Visual styles on with the blue Luna scheme, or the classic look.
class Office11Look : public ::testing::Test {
protected:
  void SetUp() override { ReloadOffice11Scheme(); }
  void TearDown() override { ReloadOffice11Scheme(); }
};

class Office11Themed : public Office11Look {
protected:
  void SetUp() override {
    Themes = std::make_unique<cxtest::TThemesOn>();
    ReloadOffice11Scheme();
    ASSERT_TRUE(IsOffice11SchemeThemed());
  }
  void TearDown() override {
    Themes.reset();
    ReloadOffice11Scheme();
  }
  std::unique_ptr<cxtest::TThemesOn> Themes;
};

// A toolbar docked on a top dock site, with its grip, buttons in every
// state, a separator, a split button and the mark; under it a menu with a
// glyph column, selected, checked, disabled and sub-menu rows and a
// separator.
TEST_F(Office11Themed, ToolbarAndMenuLookAsReviewed) {
  const auto* P = Office11();
  TPaintBox Box(260, 160);
  const HDC DC = Box.Canvas()->GetDC();
  auto Glyph = bptest::MakeGlyph();
  std::vector<TRect> Text;

  TTestWindow Site;
  Site.Painter = P;
  Site.Client = {0, 0, 260, 34};
  P->DrawDockControlBackground(Site, DC, clBtnFace, nullptr, Site.Client, {0, 0});

  TTestWindow Bar;
  Bar.Painter = P;
  Bar.PainterBackground = true;
  Bar.MarkShown = true;
  Bar.Hidden = true;
  Bar.DockSite = Site.Client;
  Bar.Docked = {4, 3, 240, 31};
  Bar.Window = {0, 0, 236, 28};
  Bar.Origin = {10, 2};
  Bar.Client = {0, 0, 224, 24};
  TPoint Old;
  SetViewportOrgEx(DC, 4, 3, &Old);
  TRect R = Bar.Window;
  P->DrawDockedBarBorder(Bar, DC, P->GetToolbarBrush(), R);
  SetViewportOrgEx(DC, 14, 5, nullptr);
  Bar.PaintBackground(DC, Bar.Client, nullptr);
  TdxBarItemPaint Item;
  Item.Window = &Bar;
  Item.Glyph = Glyph.get();
  struct TState {
    bool Pressed, Down, Selected, Enabled;
  };
  const TState States[] = {{false, false, false, true}, {false, false, true, true}, {true, false, true, true},
                           {false, true, false, true},  {false, true, true, true},  {false, false, false, false}};
  for (int i = 0; i < 6; ++i) {
    Item.Enabled = States[i].Enabled;
    P->DrawControlGlyph(Item, DC, States[i].Pressed, States[i].Down, States[i].Selected, true,
                        {1 + 23 * i, 1, 24 + 23 * i, 23});
  }
  Item.Enabled = true;
  P->DrawToolbarSeparator(Bar, DC, false, Bar.CurrentBrush(), {139, 0, 144, 24});
  P->DrawControlGlyph(Item, DC, false, false, true, true, {145, 1, 168, 23});
  P->DrawButtonArrowPart(Item, DC, false, true, false, false, true, 0, Bar.HotBrush(), {168, 1, 179, 23});
  P->DrawBarMark(Bar, DC, Bar.CurrentBrush(), P->GetBarMarkRect(Bar));

  TTestWindow Menu;
  Menu.Type = ptMenu;
  Menu.Painter = P;
  Menu.PainterBackground = true;
  Menu.Window = {0, 0, 150, 116};
  Menu.Client = {0, 0, 148, 114};
  Menu.CaptionLeftAt = 23;
  SetViewportOrgEx(DC, 8, 40, nullptr);
  P->DrawSubMenuBorder(Menu, DC, Menu.Window);
  SetViewportOrgEx(DC, 9, 41, nullptr);
  Menu.PaintBackground(DC, Menu.Client, nullptr);
  P->DrawSubMenuClientBorder(Menu, DC, Menu.CurrentBrush(), Menu.Client);
  TdxBarItemPaint Row;
  Row.Window = &Menu;
  Row.Caption = "&Open";
  struct TRow {
    bool Down, Glyph, Selected, Enabled;
  };
  const TRow Rows[] = {{false, true, false, true}, {false, true, true, true}, {true, false, false, true},
                       {false, true, false, false}};
  int Y = 1;
  for (int i = 0; i < 4; ++i) {
    Row.Glyph = Rows[i].Glyph ? Glyph.get() : nullptr;
    Row.Enabled = Rows[i].Enabled;
    if (i == 3) {
      Y += P->GetSubMenuSeparatorSize();
      P->DrawSubMenuSeparator(Menu, Row, false, {1, Y, 147, Y + 21}, DC);
    }
    P->DrawMenuItem(Row, DC, Rows[i].Down, true, Rows[i].Selected, {1, Y, 147, Y + 21});
    Text.push_back({9 + 24, 41 + Y, 9 + 146, 41 + Y + 21});
    Y += 21;
  }
  Row.Glyph = nullptr;
  Row.Enabled = true;
  P->DrawSubItem(Row, DC, false, false, {1, Y, 147, Y + 21});
  Text.push_back({9 + 24, 41 + Y, 9 + 130, 41 + Y + 21});
  SetViewportOrgEx(DC, Old.X, Old.Y, nullptr);
  bptest::ExpectMatchesGolden(Box, "office11.png", Text);
}

// A top or bottom dock site runs from the first dock colour on the left to
// the second on the right; a left one is all the first, a right one all the
// second.
TEST_F(Office11Themed, DockSitesAreGradientsOrSolidBySide) {
  struct TCase {
    TdxBarDockingStyle Side;
    bool Gradient;
    TColor (*Left)();
    TColor (*Right)();
  };
  const TCase Cases[] = {{dsTop, true, Dock1, Dock2},
                         {dsBottom, true, Dock1, Dock2},
                         {dsLeft, false, Dock1, Dock1},
                         {dsRight, false, Dock2, Dock2}};
  for (const TCase& C : Cases) {
    TPaintBox Box(100, 10);
    TTestWindow Site;
    Site.Docking = C.Side;
    Site.Client = {0, 0, 100, 10};
    Office11()->DrawDockControlBackground(Site, Box.Canvas()->GetDC(), clBtnFace, nullptr, Site.Client, {0, 0});
    EXPECT_EQ(Box.Pixel(0, 5), Rgb(C.Left())) << C.Side;
    EXPECT_EQ(Box.Pixel(99, 5), Rgb(C.Right())) << C.Side;
    EXPECT_EQ(Box.Pixel(50, 5) != Box.Pixel(0, 5), C.Gradient) << C.Side;
  }
}

// The dock site's cached picture is filled once and copied from then on.
TEST_F(Office11Themed, DockSitePaintsFromItsCachedPicture) {
  TBitmap Cache;
  struct TCachedSite : TTestWindow {
    TBitmap* C = nullptr;
    TBitmap* BackgroundCache() const override { return C; }
  } Site;
  Site.C = &Cache;
  Site.Client = {0, 0, 60, 8};
  TPaintBox Box(60, 8);
  Office11()->DrawDockControlBackground(Site, Box.Canvas()->GetDC(), clBtnFace, nullptr, {10, 0, 30, 8}, {0, 0});
  ASSERT_EQ(Cache.GetWidth(), 60);
  EXPECT_EQ(Box.Pixel(9, 4), TColor(0xFF00FF)) << "only the requested part is copied";
  const TColor At20 = Box.Pixel(20, 4);
  // A changed picture in the cache shows: nothing is drawn afresh.
  Cache.Canvas()->SetPixel(20, 4, clRed);
  Office11()->DrawDockControlBackground(Site, Box.Canvas()->GetDC(), clBtnFace, nullptr, {10, 0, 30, 8}, {0, 0});
  EXPECT_EQ(Box.Pixel(20, 4), Rgb(clRed));
  EXPECT_NE(At20, Rgb(clRed));
}

// A bordered toolbar gets the shadow line along its bottom and the dock
// site at its corners; one without border, and the main menu, get neither
// (the main menu only its 2-pixel end strips of dock background).
TEST_F(Office11Themed, OnlyBorderedToolbarsGetTheRoundedBorder) {
  struct TCase {
    const char* Name;
    bool MainMenu, NoBorder;
  };
  for (const TCase& C : {TCase{"bordered", false, false}, TCase{"no border", false, true},
                         TCase{"main menu", true, false}}) {
    TPaintBox Box(120, 26);
    TTestWindow Bar;
    Bar.Painter = Office11();
    Bar.MainMenu = C.MainMenu;
    Bar.NoBorder = C.NoBorder;
    Bar.Grip = false;
    Bar.Window = Bar.Client = {0, 0, 120, 26};
    Bar.DockSite = {0, 0, 120, 26};
    Bar.Docked = Bar.DockSite;
    TRect R = Bar.Window;
    const HDC DC = Box.Canvas()->GetDC();
    Office11()->DrawDockedBarBorder(Bar, DC, Office11()->GetToolbarBrush(), R);
    const bool Bordered = !C.MainMenu && !C.NoBorder;
    EXPECT_EQ(Box.Pixel(60, 25) == Rgb(ToolbarShadow()), Bordered) << C.Name;
    if (Bordered) {
      EXPECT_EQ(Box.Pixel(0, 12), Box.Pixel(1, 12)) << "leading gap: dock background";
      EXPECT_NE(Box.Pixel(2, 12), TColor(0xFF00FF));
      EXPECT_EQ(R, (TRect{2, 2, 118, 24}));
    }
    if (C.MainMenu) {
      EXPECT_EQ(R, (TRect{0, 2, 120, 24})) << "the main menu keeps only its end strips";
      EXPECT_EQ(Box.Pixel(60, 12), TColor(0xFF00FF)) << "the main menu's body is not drawn here";
    }
  }
}

// Hot, pressed and checked faces by state; without a colour scheme the
// gradients have equal ends, and a checked face that is not hot is solid
// in the checked colour.
TEST_F(Office11Look, ButtonFacesWithoutSchemeAreSolid) {
  ASSERT_FALSE(IsOffice11SchemeThemed());
  TTestWindow Bar;
  Bar.Painter = Office11();
  TdxBarItemPaint Item;
  Item.Window = &Bar;
  TPaintBox Box(30, 30);
  Office11()->DrawGlyphBorder(Item, Box.Canvas()->GetDC(), false, true, false, true, {0, 0, 23, 22}, true,
                              Office11()->GetButtonBrush(Item, false, true, false, true));
  EXPECT_EQ(Box.Pixel(10, 3), Rgb(Checked()));
  EXPECT_EQ(Box.Pixel(10, 18), Rgb(Checked()));
  EXPECT_EQ(Box.Pixel(0, 10), Rgb(MenuFrame())) << "down but not hot: the menu frame colour";
}

TEST_F(Office11Themed, ButtonGradientsFollowTheState) {
  struct TCase {
    const char* Name;
    bool Pressed, Down, Selected;
    int Top, Bottom;  // slots at the face's two ends
  };
  const TCase Cases[] = {{"hot", false, false, true, 43, 44},
                         {"pressed", true, false, true, 46, 45},
                         {"down and hot", false, true, true, 46, 45},
                         {"down", false, true, false, 45, 46}};
  for (const TCase& C : Cases) {
    TTestWindow Bar;
    TPaintBox Box(30, 40);
    Office11()->FillButtonGradient(Bar, Box.Canvas()->GetDC(), {0, 0, 30, 40}, C.Pressed, C.Down, C.Selected);
    EXPECT_EQ(Box.Pixel(15, 0), Rgb(Office11Slot(C.Top))) << C.Name;
    EXPECT_EQ(Box.Pixel(15, 39), Rgb(Office11Slot(C.Bottom))) << C.Name;
  }
  // On a vertical toolbar the gradient runs across it, left to right.
  TTestWindow Vertical;
  Vertical.Type = ptVert;
  Vertical.Docking = dsLeft;
  TPaintBox Box(40, 30);
  Office11()->FillButtonGradient(Vertical, Box.Canvas()->GetDC(), {0, 0, 40, 30}, false, false, true);
  EXPECT_EQ(Box.Pixel(0, 15), Rgb(Office11Slot(43)));
  EXPECT_EQ(Box.Pixel(39, 15), Rgb(Office11Slot(44)));
}

// A toolbar button whose menu is open merges with it: its face takes the
// toolbar's own gradient, its frame stays open where the menu touches it,
// and that segment takes the gradient's end colour it lies on.
TEST_F(Office11Themed, OpenDropDownJoinsItsOwner) {
  TTestWindow Bar;
  Bar.Painter = Office11();
  TdxBarItemPaint Item;
  Item.Window = &Bar;
  Item.DropDownOwner = true;
  Item.DropDownJoint = {1, 21, 22, 22};  // the menu opened below the button
  TPaintBox Box(30, 30);
  const HBRUSH Brush = Office11()->GetButtonBrush(Item, false, true, false, true);
  Office11()->DrawGlyphBorder(Item, Box.Canvas()->GetDC(), false, true, false, true, {0, 0, 23, 22}, true, Brush);
  EXPECT_EQ(Box.Pixel(0, 10), Rgb(MenuFrame())) << "the frame on the sides";
  EXPECT_EQ(Box.Pixel(10, 0), Rgb(MenuFrame())) << "and at the top";
  EXPECT_EQ(Box.Pixel(10, 21), Rgb(Column2())) << "open at the bottom, in the gradient's far colour";
  EXPECT_EQ(Box.Pixel(10, 1), Rgb(GradientColorAt({0, 0, 23, 22}, 1, Column1(), Column2(), false)))
      << "the face is the toolbar gradient";
}

// A disabled glyph is faded towards the normal mark colour; the toolbar's
// hot glyph is neither raised nor shadowed (the face shows the state).
TEST_F(Office11Themed, GlyphsAreFadedNotEmbossedWhenDisabled) {
  auto Glyph = bptest::MakeGlyph();
  TTestWindow Bar;
  Bar.Painter = Office11();
  TdxBarItemPaint Item;
  Item.Window = &Bar;
  Item.Glyph = Glyph.get();
  TPaintBox Enabled(23, 22), Disabled(23, 22), Hot(23, 22);
  Office11()->DrawControlGlyph(Item, Enabled.Canvas()->GetDC(), false, false, false, true, {0, 0, 23, 22});
  Office11()->DrawControlGlyph(Item, Hot.Canvas()->GetDC(), false, false, true, true, {0, 0, 23, 22});
  Item.Enabled = false;
  Office11()->DrawControlGlyph(Item, Disabled.Canvas()->GetDC(), false, false, false, true, {0, 0, 23, 22});
  // The glyph's blue frame sits at (3 + 2, 3 + 2) of the cell.
  EXPECT_EQ(Enabled.Pixel(5, 5), Rgb(clBlue));
  EXPECT_EQ(Hot.Pixel(5, 5), Rgb(clBlue)) << "not moved up and left when hot";
  const TColor D = Disabled.Pixel(5, 5);
  EXPECT_NE(D, Rgb(clBlue));
  EXPECT_NE(D, Rgb(clBtnShadow)) << "not the embossed look";
  const COLORREF C = COLORREF(D);
  EXPECT_GT(int((C >> 16) & 0xFF), int(C & 0xFF)) << "tinted towards the blue of the normal mark";
}

TEST_F(Office11Themed, MetricsTheWindowsLayOutWith) {
  const auto* P = Office11();
  TTestWindow Bar, Main;
  Main.MainMenu = true;
  TRect Borders, MainBorders;
  P->GetBarBorders(Bar, true, Borders);
  P->GetBarBorders(Main, true, MainBorders);
  EXPECT_EQ(Borders, (TRect{2, 2, 2, 2}));
  EXPECT_EQ(MainBorders, (TRect{0, 2, 0, 2})) << "the main menu: only the ends across the bar";
  EXPECT_EQ(P->GetGripOffset(), 3);
  EXPECT_EQ(P->GetGripAreaWidth(), 8);
  EXPECT_EQ(P->GetDockedBarIndent(), 2);
  EXPECT_EQ(P->GetFloatingBorderWidth(), 3);
  EXPECT_EQ(P->CalcComboButtonWidth(Bar, nullptr, 7), 13);
  EXPECT_TRUE(P->IsOwnBackground());
  EXPECT_TRUE(P->SubMenuOwnNotRecentDrawing());
  // The mark's hit area reaches into the border of a bordered toolbar.
  Bar.Client = {0, 0, 100, 22};
  EXPECT_EQ(P->GetBarMarkRect(Bar), (TRect{89, 0, 100, 22}));
  EXPECT_EQ(P->GetBarMarkHitRect(Bar), (TRect{89, -1, 102, 23}));
  Bar.NoBorder = true;
  EXPECT_EQ(P->GetBarMarkHitRect(Bar), (TRect{89, 0, 100, 22}));
}

// Captions and arrows take the scheme's text colours; a disabled caption
// is one flat colour, not embossed.
TEST_F(Office11Themed, TextColoursComeFromTheScheme) {
  TTestWindow Bar;
  TdxBarItemPaint Item;
  Item.Window = &Bar;
  TColor Offset, Main;
  Office11()->GetTextColors(Item, true, false, false, Offset, Main);
  EXPECT_EQ(Main, Office11Slot(52));
  Office11()->GetTextColors(Item, false, false, false, Offset, Main);
  EXPECT_EQ(Main, Office11Slot(53));
  EXPECT_EQ(Offset, Main);
  int Color;
  HBRUSH Brush;
  Office11()->GetArrowParams(Item, Color, Brush, false, false, false);
  EXPECT_EQ(TColor(Color), TColor(ColorToRGB(Office11Slot(52)))) << "an RGB colour, not a system colour index";
}

}  // namespace
