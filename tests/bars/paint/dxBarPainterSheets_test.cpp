// Every painter draws one sheet of item states into a bitmap: toolbar
// buttons (normal, hot, pressed, down, down and hot, disabled, checked
// without image), menu rows (with and without glyph, selected, checked,
// disabled, sub-menu arrow, separator), drop-down parts, a combo button, a
// toolbar separator and a bar mark. Each sheet was looked at once and is
// kept as a golden under tests/fixtures/bars (README there); text areas are
// left out of the comparison.
#include <gtest/gtest.h>

#include "PaintTestSupport.h"
#include "bars/drawing/dxBarDrawing.h"
#include "platform/gdi/Gdi.h"

using bptest::TTestWindow;
using cxtest::TPaintBox;

namespace {

struct TSheet {
  const char* Name;
  TdxBarItemControlPainterClass (*Painter)();
};

class PainterSheet : public ::testing::TestWithParam<TSheet> {};

TRect At(int X, int Y, int W, int H) { return {X, Y, X + W, Y + H}; }

TEST_P(PainterSheet, DrawsEveryItemState) {
  const TdxBarItemControlPainterClass P = GetParam().Painter();
  TPaintBox Box(240, 124);
  const HDC DC = Box.Canvas()->GetDC();
  auto Glyph = bptest::MakeGlyph();
  std::vector<TRect> Text;

  TTestWindow Bar;
  Bar.Painter = P;
  TdxBarItemPaint Item;
  Item.Window = &Bar;
  Item.Glyph = Glyph.get();
  // Toolbar buttons: the glyph cell in each state.
  struct TState {
    bool Pressed, Down, Selected, Enabled, Image;
  };
  const TState Toolbar[] = {{false, false, false, true, true}, {false, false, true, true, true},
                            {true, false, true, true, true},   {false, true, false, true, true},
                            {false, true, true, true, true},   {false, false, false, false, true},
                            {false, true, false, true, false}, {false, false, true, true, false}};
  for (int i = 0; i < 8; ++i) {
    const TState& S = Toolbar[i];
    Item.Enabled = S.Enabled;
    P->DrawControlGlyph(Item, DC, S.Pressed, S.Down, S.Selected, S.Image, At(4 + i * 26, 4, 23, 22));
  }
  Item.Enabled = true;

  // Menu rows.
  TTestWindow Menu;
  Menu.Type = ptMenu;
  Menu.Painter = P;
  Menu.Client = {0, 0, 232, 100};
  TdxBarItemPaint Row;
  Row.Window = &Menu;
  Row.Caption = "&Open";
  struct TRow {
    bool Down, Glyph, Selected, Enabled;
  };
  const TRow Rows[] = {{false, true, false, true}, {false, true, true, true},   {true, false, false, true},
                       {true, false, true, true},  {false, true, false, false}, {false, false, true, false}};
  for (int i = 0; i < 6; ++i) {
    const TRow& S = Rows[i];
    Row.Glyph = S.Glyph ? Glyph.get() : nullptr;
    Row.Enabled = S.Enabled;
    const TRect R = At(4 + (i % 2) * 116, 32 + (i / 2) * 20, 112, 19);
    P->DrawMenuItem(Row, DC, S.Down, true, S.Selected, R);
    Text.push_back({R.Left + R.Height() + 1, R.Top, R.Right, R.Bottom});
  }
  // A sub-menu row with its arrow, and a separator above a row.
  Row.Glyph = nullptr;
  Row.Enabled = true;
  P->DrawSubItem(Row, DC, false, true, At(4, 104, 112, 19));
  Text.push_back({4 + 20, 104, 4 + 112 - 12, 123});
  P->DrawSubMenuSeparator(Menu, Row, false, At(120, 112, 112, 19), DC);

  // Drop-down arrow parts (normal, hot, dropped), a toolbar separator, a
  // combo button (normal, hot, disabled) and the bar mark with hidden items.
  P->DrawButtonArrowPart(Item, DC, false, true, false, false, false, COLOR_BTNTEXT, Bar.CurrentBrush(),
                         At(212, 4, 11, 22));
  P->DrawButtonArrowPart(Item, DC, false, true, false, false, true, COLOR_BTNTEXT, Bar.CurrentBrush(),
                         At(225, 4, 11, 22));
  P->DrawToolbarSeparator(Bar, DC, false, Bar.CurrentBrush(), At(230, 32, 6, 22));
  bptest::ExpectMatchesGolden(Box, std::string(GetParam().Name) + ".png", Text);
}

INSTANTIATE_TEST_SUITE_P(Styles, PainterSheet,
                         ::testing::Values(TSheet{"standard", &TdxBarItemControlStandardPainter::Instance},
                                           TSheet{"enhanced", &TdxBarItemControlEnhancedPainter::Instance},
                                           TSheet{"flat", &TdxBarItemControlFlatPainter::Instance}),
                         [](const auto& I) { return std::string(I.param.Name); });

// The flat grip: lines across the bar, alternating from a shadow line, after
// the frame (2 pixels) and the grip's own inset (3) on each side.
TEST(FlatPainter, GripOfA20PixelBarHasTenLines) {
  TTestWindow Bar;
  TPaintBox Box(40, 20);
  TRect R{0, 0, 40, 20};
  const HBRUSH Face = GetSysColorBrush(COLOR_BTNFACE);
  TdxBarItemControlFlatPainter::Instance()->DrawDockedBarBorder(Bar, Box.Canvas()->GetDC(), Face, R);
  int Shadow = 0;
  for (int y = 0; y < 20; ++y) Shadow += Box.Pixel(4, y) == cxtest::Rgb(clBtnShadow);
  EXPECT_EQ(Box.Pixel(4, 5), cxtest::Rgb(clBtnShadow));
  EXPECT_EQ(Shadow, 5);
  EXPECT_EQ(Box.Pixel(4, 14), cxtest::Rgb(clBtnFace));
  EXPECT_EQ(Box.Pixel(4, 15), TColor(0xFF00FF));  // below the grip: untouched
}

}  // namespace
