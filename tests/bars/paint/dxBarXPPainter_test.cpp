// The visual-style look. The test theme draws every part as a solid colour
// that names (class, part, state), so the pixels say which part and state a
// painter asked for: button faces by state, the main menu's classic
// highlight, edits without a themed frame on a toolbar, progress bars on
// empty ranges, metrics taken from part sizes, and a reviewed golden.
#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "bars/drawing/dxBarDrawing.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/gdi/Gdi.h"

using bptest::TTestWindow;
using cxtest::Rgb;
using cxtest::TPaintBox;
using cxtest::TTestThemeBinding;

namespace {

TdxBarItemControlPainterClass XP() { return TdxBarItemControlXPPainter::Instance(); }

// The test theme, with content rectangles (2 pixels in) and a progress
// chunk colour, installed for a test.
class TContentThemeBinding : public TTestThemeBinding {
public:
  HRESULT GetThemeBackgroundContentRect(HTHEME, HDC, int, int, const TRect* B, TRect* C) override {
    *C = {B->Left + 2, B->Top + 2, B->Right - 2, B->Bottom - 2};
    return S_OK;
  }
};

class XPLook : public ::testing::Test {
protected:
  void SetUp() override {
    SetThemeBinding(std::make_unique<TContentThemeBinding>());
    NotifyThemeChanged();
    ReloadOffice11Scheme();
  }
  void TearDown() override {
    SetThemeBinding(nullptr);
    NotifyThemeChanged();
    ReloadOffice11Scheme();
  }
  static TColor PartAt(TdxThemedObjectType Class, int Part, int State) {
    return TTestThemeBinding::PartColor(Class, Part, State);
  }
};

TEST_F(XPLook, ButtonFacesAreThemedPartsByState) {
  struct TCase {
    const char* Name;
    bool Pressed, Down, Selected, Enabled, Split;
    int Part, State;
  };
  const TCase Cases[] = {{"normal", false, false, false, true, false, 1, 1},
                         {"hot", false, false, true, true, false, 1, 2},
                         {"pressed", true, false, true, true, false, 1, 3},
                         {"down", false, true, false, true, false, 1, 5},
                         {"disabled", false, false, true, false, false, 1, 4},
                         {"split button, hot", false, false, true, true, true, 3, 2}};
  for (const TCase& C : Cases) {
    TTestWindow Bar;
    Bar.Painter = XP();
    TdxBarItemPaint Item;
    Item.Window = &Bar;
    Item.Enabled = C.Enabled;
    Item.HasDropDownPart = C.Split;
    TPaintBox Box(23, 22);
    XP()->DrawGlyphBorder(Item, Box.Canvas()->GetDC(), C.Pressed, C.Down, C.Selected, true, {0, 0, 23, 22}, true,
                          Bar.CurrentBrush());
    EXPECT_EQ(Box.Pixel(11, 11), PartAt(totToolBar, C.Part, C.State)) << C.Name;
  }
}

// On the main menu bar a hot or open entry keeps the classic highlight;
// a selected menu row without image is filled with the hot brush.
TEST_F(XPLook, MainMenuEntriesAndPlainMenuRowsAreNotThemed) {
  TTestWindow Main;
  Main.Painter = XP();
  Main.MainMenu = true;
  TdxBarItemPaint Item;
  Item.Window = &Main;
  TPaintBox Box(40, 22);
  XP()->DrawGlyphBorder(Item, Box.Canvas()->GetDC(), false, false, true, true, {0, 0, 40, 22}, true,
                        Main.CurrentBrush());
  EXPECT_EQ(Box.Pixel(20, 11), Rgb(clHighlight));

  TTestWindow Menu;
  Menu.Type = ptMenu;
  Menu.Painter = XP();
  Item.Window = &Menu;
  TPaintBox Row(20, 20);
  XP()->DrawGlyphBorder(Item, Row.Canvas()->GetDC(), false, false, true, true, {0, 0, 20, 20}, true,
                        XP()->GetButtonBrush(Item, false, false, true, true));
  EXPECT_EQ(Row.Pixel(10, 10), Rgb(clHighlight));
}

// A toolbar edit that is neither selected nor disabled has no themed frame;
// a selected one has, and the field is the part's content rectangle.
TEST_F(XPLook, ToolbarEditsShowTheThemedFrameOnlyWhenSelectedOrDisabled) {
  struct TCase {
    const char* Name;
    bool Selected, Enabled;
    bool Themed;
    int State;
  };
  for (const TCase& C : {TCase{"plain", false, true, false, 1}, TCase{"selected", true, true, true, 1},
                         TCase{"disabled", false, false, true, 4}}) {
    TTestWindow Bar;
    Bar.Painter = XP();
    TdxBarItemPaint Item;
    Item.Window = &Bar;
    Item.Enabled = C.Enabled;
    TPaintBox Box(60, 22);
    TRect R{0, 0, 60, 22};
    XP()->DrawEditBorder(Item, Box.Canvas()->GetDC(), C.Selected, R);
    EXPECT_EQ(R, (TRect{2, 2, 58, 20})) << C.Name;
    EXPECT_EQ(Box.Pixel(0, 10) == PartAt(totEdit, 1, C.State), C.Themed) << C.Name;
    EXPECT_EQ(Box.Pixel(30, 10), TColor(0xFF00FF)) << C.Name << ": the field itself is left alone";
  }
}

// The chunk reaches the position's share of the content; at the minimum,
// and on an empty or reversed range, only the bar part shows.
TEST_F(XPLook, ProgressBarsFillTheirShareAndSurviveEmptyRanges) {
  struct TCase {
    int Min, Max, Position;
    int ChunkEnd;  // x where the chunk ends; 2 = none
  };
  const TCase Cases[] = {{0, 100, 50, 50}, {0, 100, 0, 2}, {0, 100, 100, 98}, {10, 10, 10, 2}, {20, 10, 15, 2}};
  for (const TCase& C : Cases) {
    TTestWindow Bar;
    Bar.Painter = XP();
    TdxBarItemPaint Item;
    Item.Window = &Bar;
    TPaintBox Box(100, 14);
    XP()->DrawProgressBar(Item, Box.Canvas()->GetDC(), C.Min, C.Max, C.Position, false, clHighlight,
                          {0, 0, 100, 14});
    const TColor Bar_ = PartAt(totProgress, 1, 0), Chunk = PartAt(totProgress, 3, 0);
    EXPECT_EQ(Box.Pixel(0, 7), Bar_);
    if (C.ChunkEnd > 2) {
      EXPECT_EQ(Box.Pixel(C.ChunkEnd - 1, 7), Chunk) << C.Position;
    }
    EXPECT_EQ(Box.Pixel(C.ChunkEnd, 7), Bar_) << C.Min << ".." << C.Max << " at " << C.Position;
  }
}

TEST_F(XPLook, MetricsComeFromThePartSizes) {
  TTestWindow Bar;
  TSize Grip, Close;
  XP()->GetSizeGripSize(Grip);
  XP()->GetCloseButtonSize(Close);
  EXPECT_EQ(Grip.cx, 13);  // every part of the test theme is 13 by 13
  EXPECT_EQ(Close.cy, 13);
  EXPECT_EQ(XP()->CalcComboButtonWidth(Bar, nullptr, 7), 13);
  EXPECT_EQ(XP()->GetGripBarWidth(), 13);
  EXPECT_EQ(XP()->GetGripAreaWidth(), 15);
  EXPECT_EQ(XP()->GetToolbarSeparatorSize(), 13);
  EXPECT_EQ(XP()->GetToolbarSeparatorOffset(), 6);
  EXPECT_EQ(XP()->GetButtonHeightExtra(), 4) << "100 less the content height of a 100-pixel split button";
  TdxBarPaintSettings S;
  EXPECT_EQ(XP()->GetButtonArrowWidth(S), 14);
}

// The manager takes this look for bmsXP only with visual styles; the
// Office 2003 look borrows its themed size grip then.
TEST_F(XPLook, ChosenOnlyWithVisualStylesAndLentToOffice11) {
  EXPECT_EQ(dxBarPainterOfStyle(bmsXP, true), XP());
  EXPECT_EQ(dxBarPainterOfStyle(bmsXP, false), TdxBarItemControlEnhancedPainter::Instance());
  TTestWindow Bar;
  Bar.Painter = TdxBarItemControlOffice11Painter::Instance();
  Bar.Themes = true;
  TPaintBox Box(60, 24);
  Bar.Painter->DrawBarSizeGrip(Bar, Box.Canvas()->GetDC(), Bar.CurrentBrush(), {0, 0, 60, 24});
  EXPECT_EQ(Box.Pixel(55, 20), PartAt(totStatus, 3, 0)) << "the themed grip, 13 by 13 at the corner";
  EXPECT_NE(Box.Pixel(40, 20), PartAt(totStatus, 3, 0));
}

// Etched lines between a dock site's rows on the themed background: a
// highlight at each row's start, a shadow at its end, none before the first
// row of a top or left site or after the last row of a top, bottom or right
// one, and none around a row of borderless bars.
TEST_F(XPLook, DockSiteRowsAreEtchedApart) {
  struct TSite : TTestWindow {
    std::vector<TDockRow> Rows;
    std::vector<TDockRow> DockRows() const override { return Rows; }
  };
  struct TCase {
    TdxBarDockingStyle Side;
    bool SecondBorderless;
    // Pixels along the docking direction, at the rows' starts and ends:
    // first row start, first row end, second row start, second row end.
    const char* Want;  // H highlight, S shadow, - background
    const char* Why;
  };
  const TCase Cases[] = {
      {dsTop, false, "-SH-", "top: no line above the first row nor below the last"},
      {dsBottom, false, "HSH-", "bottom: a line above the first row, none below the last"},
      {dsLeft, false, "-SHS", "left: the last row keeps its end line"},
      {dsRight, false, "HSH-", "right: none after the last row"},
      {dsTop, true, "-S--", "a row of borderless bars gets no line"},
  };
  const TColor Background = PartAt(totRebar, 0, 1);
  for (const TCase& C : Cases) {
    const bool Horizontal = C.Side == dsTop || C.Side == dsBottom;
    TSite Site;
    Site.Docking = C.Side;
    Site.Client = Horizontal ? TRect{0, 0, 60, 40} : TRect{0, 0, 40, 60};
    for (int I = 0; I < 2; ++I) {
      TdxBarPaintWindow::TDockRow Row;
      Row.R = Horizontal ? TRect{0, I * 20, 60, I * 20 + 20} : TRect{I * 20, 0, I * 20 + 20, 60};
      Row.BorderNone = I == 1 && C.SecondBorderless;
      Site.Rows.push_back(Row);
    }
    TPaintBox Box(Site.Client.Width(), Site.Client.Height());
    XP()->DrawDockControlBackground(Site, Box.Canvas()->GetDC(), clBtnFace, nullptr, Site.Client, {0, 0});
    const int Along[] = {0, 19, 20, 39};
    std::string Got;
    for (int A : Along) {
      const TColor Px = Horizontal ? Box.Pixel(30, A) : Box.Pixel(A, 30);
      Got += Px == cxtest::Rgb(clBtnHighlight) ? 'H' : Px == cxtest::Rgb(clBtnShadow) ? 'S' : Px == Background ? '-' : '?';
    }
    EXPECT_EQ(Got, C.Want) << C.Why;
  }
}

// A toolbar and a menu as the windows draw them.
TEST_F(XPLook, ToolbarAndMenuLookAsReviewed) {
  const TdxBarItemControlPainterClass P = XP();
  TPaintBox Box(240, 142);
  const HDC DC = Box.Canvas()->GetDC();
  auto Glyph = bptest::MakeGlyph();
  std::vector<TRect> Text;
  TTestWindow Site;
  Site.Client = {0, 0, 240, 34};
  P->DrawDockControlBackground(Site, DC, clBtnFace, nullptr, Site.Client, {0, 0});
  TTestWindow Bar;
  Bar.Painter = P;
  Bar.MarkShown = true;
  Bar.Client = {0, 0, 208, 24};
  TPoint Old;
  SetViewportOrgEx(DC, 4, 3, &Old);
  TRect R{0, 0, 229, 28};
  P->DrawDockedBarBorder(Bar, DC, P->GetToolbarBrush(), R);
  SetViewportOrgEx(DC, 4 + 17, 5, nullptr);
  Bar.PaintBackground(DC, Bar.Client, P->GetToolbarBrush());
  TdxBarItemPaint Item;
  Item.Window = &Bar;
  Item.Glyph = Glyph.get();
  struct TState {
    bool Pressed, Down, Selected, Enabled;
  };
  const TState States[] = {{false, false, false, true}, {false, false, true, true}, {true, false, true, true},
                           {false, true, false, true},  {false, false, false, false}};
  const int W = P->GetButtonWidthExtra() + 16, H = P->GetButtonHeightExtra() + 16;
  for (int i = 0; i < 5; ++i) {
    Item.Enabled = States[i].Enabled;
    P->DrawControlGlyph(Item, DC, States[i].Pressed, States[i].Down, States[i].Selected, true,
                        {1 + W * i, 2, 1 + W * (i + 1), 2 + H});
  }
  Item.Enabled = true;
  P->DrawToolbarSeparator(Bar, DC, false, Bar.CurrentBrush(), {101, 0, 114, 24});
  Item.HasDropDownPart = true;
  P->DrawControlGlyph(Item, DC, false, false, true, true, {115, 2, 115 + W, 2 + H});
  P->DrawButtonArrowPart(Item, DC, false, true, false, false, true, COLOR_BTNTEXT, Bar.CurrentBrush(),
                         {115 + W, 2, 115 + W + 14, 2 + H});
  P->DrawBarMark(Bar, DC, Bar.CurrentBrush(), P->GetBarMarkRect(Bar));

  TTestWindow Menu;
  Menu.Type = ptMenu;
  Menu.Painter = P;
  Menu.Client = {0, 0, 148, 96};
  SetViewportOrgEx(DC, 8, 38, nullptr);
  P->DrawSubMenuBorder(Menu, DC, {0, 0, 150, 98});
  SetViewportOrgEx(DC, 9, 39, nullptr);
  Menu.PaintBackground(DC, Menu.Client, P->GetSubMenuBrush());
  P->DrawSubMenuClientBorder(Menu, DC, Menu.CurrentBrush(), Menu.Client);
  TdxBarItemPaint Row;
  Row.Window = &Menu;
  Row.Caption = "&Open";
  struct TRow {
    bool Down, Glyph, Selected;
  };
  const TRow Rows[] = {{false, true, false}, {false, true, true}, {true, false, false}, {false, false, true}};
  int Y = 1;
  for (int i = 0; i < 4; ++i) {
    Row.Glyph = Rows[i].Glyph ? Glyph.get() : nullptr;
    if (i == 3) {
      Y += P->GetSubMenuSeparatorSize();
      P->DrawSubMenuSeparator(Menu, Row, false, {1, Y, 147, Y + 20}, DC);
    }
    P->DrawMenuItem(Row, DC, Rows[i].Down, true, Rows[i].Selected, {1, Y, 147, Y + 20});
    Text.push_back({9 + 22, 39 + Y, 9 + 146, 39 + Y + 20});
    Y += 20;
  }
  SetViewportOrgEx(DC, Old.X, Old.Y, nullptr);
  bptest::ExpectMatchesGolden(Box, "xp.png", Text);
}

}  // namespace
