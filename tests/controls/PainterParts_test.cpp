// The grid-like parts of every painter (header sections, sort arrows,
// footers, filter boxes, tabs, indicators, calendar headers, scheduler
// parts) and the radio buttons, drawn into bitmaps and compared with
// goldens that were looked at once (tests/fixtures/controls/README.md), at
// points on frames, faces and marks, never on text.
#include <gtest/gtest.h>

#include <functional>
#include "ControlsTestSupport.h"
#include "PainterSheet.h"
#include "controls/lookandfeel/cxLookAndFeels.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "controls/painters/cxLookAndFeelPainters.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Resources.h"

using cxtest::Rgb;
using cxtest::At;
using cxtest::TPaintBox;
using cxtest::TSheetPart;

namespace {


std::vector<TSheetPart> PartsSheet() {
  std::vector<TSheetPart> E;
  const TcxButtonState Three[] = {cxbsNormal, cxbsHot, cxbsPressed};
  // Row 1: header sections (normal, hot, pressed, disabled) and sort arrows.
  const TcxButtonState Four[] = {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
  for (int i = 0; i < 4; ++i) {
    const TcxButtonState S = Four[i];
    E.push_back({At(4 + i * 34, 4, 30, 18),
                 [S](auto P, auto C, auto& R) {
                   TRect T = R;
                   InflateRect(&T, -3, -2);
                   P->DrawHeaderSection(C, R, T, 0, cxBordersAll, S, taCenter, vaCenter, false, false, "Hd",
                                        nullptr, clBtnText, clBtnFace);
                 },
                 true});
  }
  E.push_back({At(144, 4, 16, 16), [](auto P, auto C, auto& R) {
                 C->FillRect(R, clBtnFace);
                 P->DrawSortArrow(C, R, true);
               }});
  E.push_back({At(164, 4, 16, 16), [](auto P, auto C, auto& R) {
                 C->FillRect(R, clBtnFace);
                 P->DrawSortArrow(C, R, false);
               }});
  // Row 2: a footer with a cell, a separator; filter close and toggle boxes.
  E.push_back({At(4, 26, 70, 22),
               [](auto P, auto C, auto& R) {
                 C->FillRect(R, clBtnFace);
                 P->DrawFooterFrame(C, R);
                 TRect Cell{R.Left + 4, R.Top + 3, R.Left + 40, R.Bottom - 3};
                 P->DrawFooterCell(C, Cell, taRightJustify, vaCenter, false, "12", nullptr, clBtnText, clWindow);
                 P->DrawFooterSeparator(C, {R.Left + 44, R.Top + 3, R.Left + 44 + P->FooterSeparatorWidth(),
                                            R.Bottom - 3});
               },
               true});
  for (int i = 0; i < 3; ++i) {
    const TcxButtonState S = Three[i];
    E.push_back({At(80 + i * 20, 28, 16, 14), [S](auto P, auto C, auto& R) { P->DrawFilterCloseBox(C, R, S); }});
  }
  E.push_back({At(142, 28, 15, 15), [](auto P, auto C, auto& R) { P->DrawFilterToggleBox(C, R, cxbsNormal, false); }});
  E.push_back({At(160, 28, 15, 15), [](auto P, auto C, auto& R) { P->DrawFilterToggleBox(C, R, cxbsPressed, true); }});
  // Row 3: tab frames in the four positions on a tabs base, horizontal and
  // vertical.
  for (int i = 0; i < 4; ++i) {
    E.push_back({At(4 + i * 22, 52, 18, 16), [i](auto P, auto C, auto& R) {
                   C->FillRect(R, clBtnFace);
                   P->DrawTabFrame(C, R, i, cxBordersAll, false);
                 }});
    E.push_back({At(96 + i * 16, 52, 12, 16), [i](auto P, auto C, auto& R) {
                   C->FillRect(R, clBtnFace);
                   P->DrawTabFrame(C, R, i, cxBordersAll, true);
                 }});
  }
  E.push_back({At(164, 52, 28, 16), [](auto P, auto C, auto& R) {
                 C->FillRect(R, clBtnFace);
                 P->DrawTabsBase(C, R, cxBorderBit(bLeft) | cxBorderBit(bTop) | cxBorderBit(bRight), false);
               }});
  // Row 4: indicator cells (none, arrow, edit, filter) and scheduler buttons.
  const int Kinds[] = {0, 1, 2, 0x86};
  for (int i = 0; i < 4; ++i) {
    const int K = Kinds[i];
    E.push_back({At(4 + i * 16, 72, 14, 18), [K](auto P, auto C, auto& R) { P->DrawIndicatorCell(C, R, K, clBtnFace); }});
  }
  for (int i = 0; i < 3; ++i) {
    const TcxButtonState S = Three[i];
    E.push_back({At(72 + i * 24, 72, 20, 18), [S](auto P, auto C, auto& R) { P->DrawSchedulerButton(C, R, S); }});
  }
  E.push_back({At(144, 72, 48, 8), [](auto P, auto C, auto& R) {
                 P->DrawSchedulerSplitterFrame(C, R, {nullptr, clWindow, nullptr, clDefault}, true);
               }});
  E.push_back({At(144, 82, 48, 8), [](auto P, auto C, auto& R) {
                 P->DrawSchedulerSplitterFrame(C, R, {nullptr, clWindow, nullptr, clDefault}, false);
               }});
  // Row 5: a calendar header with both arrows; radio buttons on the face
  // (corners kept) and on white (corners filled).
  E.push_back({At(4, 94, 80, 18),
               [](auto P, auto C, auto& R) {
                 P->DrawCalendarHeader(C, R, "May", 0, {nullptr, clBtnFace, nullptr, clBtnText}, 3, 8);
               },
               true});
  for (int i = 0; i < 4; ++i) {
    const TcxButtonState S = Four[i];
    for (int Checked = 0; Checked < 2; ++Checked)
      E.push_back({At(90 + i * 26 + Checked * 13, 94, 12, 12), [S, Checked](auto P, auto C, auto& R) {
                     P->DrawRadioButton(C, R.Left, R.Top, S, Checked == 1, false, Checked ? clWindow : clDefault);
                   }});
  }
  return E;
}


class PainterPartsTest : public ::testing::Test {
protected:
  void SetUp() override { SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources"); }
  void TearDown() override { SetResourceDir(""); }
};


TEST_F(PainterPartsTest, EveryPainterDrawsItsGridPartsAsItsGoldenShows) {
  struct TCase {
    const char* Golden;
    TcxLookAndFeelPainterClass Painter;
    bool Themes;
  };
  const TCase Cases[] = {
      {"parts_standard.png", TcxStandardLookAndFeelPainter::Instance(), false},
      {"parts_flat.png", TcxFlatLookAndFeelPainter::Instance(), false},
      {"parts_ultraflat.png", TcxUltraFlatLookAndFeelPainter::Instance(), false},
      {"parts_office11.png", TcxOffice11LookAndFeelPainter::Instance(), false},
      {"parts_winxp_themed.png", TcxWinXPLookAndFeelPainter::Instance(), true},
  };
  const std::vector<TPoint> Points = cxtest::SheetPoints(PartsSheet());
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Golden);
    std::unique_ptr<cxtest::TThemesOn> Themes;
    if (C.Themes) Themes = std::make_unique<cxtest::TThemesOn>();
    LockOffice11Scheme();
    ReloadOffice11Scheme();
    TPaintBox Box(196, 116, cxtest::SheetBackground);
    cxtest::DrawSheet(PartsSheet(), C.Painter, Box);
    cxtest::ExpectMatchesGolden(Box, C.Golden, Points);
    UnlockOffice11Scheme();
  }
}

TEST_F(PainterPartsTest, SizesAndWidthsOfTheGridPartsFollowTheLook) {
  auto Std = TcxStandardLookAndFeelPainter::Instance();
  auto Flat = TcxFlatLookAndFeelPainter::Instance();
  auto Ultra = TcxUltraFlatLookAndFeelPainter::Instance();
  auto Base = TcxCustomLookAndFeelPainter::Instance();
  EXPECT_EQ(Std->HeaderSectionFrameWidth(cxbsPressed), 1);
  EXPECT_EQ(Std->HeaderSectionFrameWidth(cxbsNormal), 2);
  EXPECT_EQ(Flat->HeaderSectionFrameWidth(cxbsNormal), 1);
  EXPECT_EQ(Std->SortArrowSize(), (TPoint{8, 7}));
  EXPECT_EQ(Ultra->SortArrowSize(), (TPoint{7, 8}));
  EXPECT_EQ(Ultra->FooterSides(), cxBorderBit(bRight) | cxBorderBit(bBottom));
  EXPECT_EQ(Ultra->FilterCloseBoxSize(), (TPoint{16, 15}));
  EXPECT_EQ(Base->FilterCloseBoxSize(), (TPoint{16, 14}));
  EXPECT_EQ(Std->HeaderHeightForText(13), 13 + 2 + 4);
  EXPECT_EQ(Std->FooterCellTextArea({0, 0, 40, 20}), (TRect{3, 3, 37, 17}));
  // The button row: the first button's left and the last one's right are thicker.
  EXPECT_EQ(Ultra->ButtonGroupFrameWidths(3, 0), (TRect{2, 2, 1, 2}));
  EXPECT_EQ(Ultra->ButtonGroupFrameWidths(3, 1), (TRect{1, 2, 1, 2}));
  EXPECT_EQ(Ultra->ButtonGroupFrameWidths(3, 2), (TRect{1, 2, 2, 2}));
  EXPECT_EQ(Ultra->ButtonGroupFrameWidths(1, 0), (TRect{2, 2, 1, 2})) << "a single button: only the left";
  // Header bounds grow over the sides the look leaves to a neighbour.
  EXPECT_EQ(Ultra->ExpandHeaderBounds({10, 10, 50, 30}, 1, cxBordersAll), (TRect{9, 10, 50, 30}));
  EXPECT_EQ(Std->ExpandHeaderBounds({10, 10, 50, 30}, 1, cxBordersAll), (TRect{10, 10, 50, 30}));
}

TEST_F(PainterPartsTest, RadioImagesCoverEveryCombinationAndFollowTheSystemColours) {
  TcxRadioButtonImageList* L = GetRadioButtonImages();
  ASSERT_EQ(L->ImageList()->Count(), 128);
  const TSize Size = L->RadioImageSize();
  EXPECT_GT(Size.cx, 6);
  EXPECT_LE(Size.cx, LoadCheckBoxCellSize().cx) << "the circle's size, not the cell's";
  for (int Kind = 0; Kind < 4; ++Kind)
    for (int State = 1; State <= 4; ++State)
      EXPECT_GE(L->ImageIndex(TcxLookAndFeelKind(Kind), TcxButtonState(State), true, true, true), 0);
  EXPECT_EQ(L->ImageIndex(lfFlat, cxbsDefault, false, false, false), L->ImageIndex(lfFlat, cxbsNormal, false, false, false))
      << "the default state draws as normal";
  // The pattern: the middle is the dot, the corners are outside.
  const std::vector<int>& P = L->Pattern();
  EXPECT_EQ(P[0], 0);
  EXPECT_EQ(P[std::size_t(Size.cy / 2 * Size.cx + Size.cx / 2)], 6);

  auto Ultra = TcxUltraFlatLookAndFeelPainter::Instance();
  auto Draw = [&](TColor Brush) {
    TPaintBox Box(20, 20, cxtest::SheetBackground);
    Ultra->DrawRadioButton(Box.Canvas(), 2, 2, cxbsNormal, false, false, Brush);
    return std::make_pair(Box.Pixel(2 + Size.cx / 2, 2 + Size.cy / 2), Box.Pixel(2, 2));
  };
  const auto [Body, Corner] = Draw(clDefault);
  EXPECT_EQ(Body, Rgb(clWindow)) << "the body of a normal radio is the window colour";
  EXPECT_EQ(Corner, cxtest::SheetBackground) << "clDefault keeps the corners";
  EXPECT_EQ(Draw(TColor(0x00FF00)).second, TColor(0x00FF00)) << "a brush colour fills them";
  // A system colour change rebuilds the images from the colours of then.
  NotifySystemPaletteChanged();
  EXPECT_EQ(L->ImageList()->Count(), 128);
  EXPECT_EQ(Draw(clDefault).first, Body);
}

TEST_F(PainterPartsTest, IndicatorKindsPickTheirImageAndIgnoreTheHighBit) {
  auto P = TcxFlatLookAndFeelPainter::Instance();
  auto Draw = [&](int Kind) {
    TPaintBox Box(16, 18, clBtnFace);
    P->DrawIndicatorImage(Box.Canvas(), {0, 0, 16, 18}, Kind);
    std::vector<TColor> Px;
    for (int Y = 0; Y < 18; ++Y)
      for (int X = 0; X < 16; ++X) Px.push_back(Box.Pixel(X, Y));
    return Px;
  };
  const auto Blank = Draw(0);
  for (TColor C : Blank) EXPECT_EQ(C, Rgb(clBtnFace)) << "kind 0 draws nothing";
  EXPECT_NE(Draw(1), Blank);
  EXPECT_EQ(Draw(0x81), Draw(1));
  EXPECT_NE(Draw(2), Draw(1));
  EXPECT_EQ(IndicatorImages()->Count(), 6);
}

TEST(Office11Tint, ScaleRunsFromTheDarkToTheLightSchemeColour) {
  LockOffice11Scheme();
  ReloadOffice11Scheme();
  TBitmap B;
  B.SetSize(4, 1);
  const TColor Corner = TColor(0xFF00FF);
  B.Canvas()->SetPixel(0, 0, Corner);
  B.Canvas()->SetPixel(1, 0, TColor(0x202020));
  B.Canvas()->SetPixel(2, 0, TColor(0xE0E0E0));
  B.Canvas()->SetPixel(3, 0, TColor(0));
  TintSchemeBitmap(&B);
  EXPECT_EQ(Rgb(B.Canvas()->GetPixel(0, 0)), Rgb(Corner)) << "the corner colour stays";
  EXPECT_EQ(Rgb(B.Canvas()->GetPixel(3, 0)), TColor(0)) << "black stays";
  EXPECT_EQ(Rgb(B.Canvas()->GetPixel(1, 0)), Rgb(MixColors(Office11Slot(3), Office11Slot(4), 0)));
  EXPECT_EQ(Rgb(B.Canvas()->GetPixel(2, 0)), Rgb(MixColors(Office11Slot(3), Office11Slot(4), 100)));
  // One tone has no range to spread over: it must not divide by zero.
  TBitmap One;
  One.SetSize(2, 1);
  One.Canvas()->SetPixel(0, 0, Corner);
  One.Canvas()->SetPixel(1, 0, TColor(0x808080));
  TintSchemeBitmap(&One);
  EXPECT_EQ(Rgb(One.Canvas()->GetPixel(1, 0)), Rgb(MixColors(Office11Slot(3), Office11Slot(4), 100)));
  UnlockOffice11Scheme();
}

}  // namespace

namespace {

TEST(WinXPPainterMetrics, MeasuresComeFromTheStyleAndFallBackPerClass) {
  cxtest::TThemesOn Themes;
  Themes.Binding->AnswerMetrics = true;
  auto XP = TcxWinXPLookAndFeelPainter::Instance();
  auto Std = TcxStandardLookAndFeelPainter::Instance();
  // Insets (2, 3, 4, 5) of every content rectangle.
  EXPECT_EQ(XP->ButtonFrameWidth(cxbsNormal), 2);
  EXPECT_EQ(XP->HeaderFrameWidth(), (2 + 3) / 2);
  EXPECT_EQ(XP->HeaderSectionFrameWidth(cxbsPressed), XP->HeaderFrameWidth());
  EXPECT_EQ(XP->FooterCellFrameWidth(), 2);
  EXPECT_EQ(XP->ButtonGroupFrameWidths(3, 1), (TRect{2, 3, 4, 5}));
  EXPECT_EQ(XP->AdjustGroupButtonRect({10, 10, 30, 30}, 3, 1), (TRect{10, 10, 30, 30}));
  Themes.Binding->PartiallyTransparent = true;
  EXPECT_EQ(XP->ButtonGroupFrameWidths(3, 1), (TRect{3, 4, 5, 6})) << "a see-through button needs one more";
  EXPECT_EQ(XP->AdjustGroupButtonRect({10, 10, 30, 30}, 3, 1), (TRect{9, 9, 31, 31}));
  TPaintBox Box(4, 4);
  EXPECT_EQ(XP->ButtonFocusBounds(Box.Canvas(), {0, 0, 40, 20}), (TRect{2, 3, 36, 15}));
  // Colours of the push button (face 204, text 3803) and the combo box's border.
  EXPECT_EQ(XP->ButtonFaceColor(cxbsHot), cxtest::TTestThemeBinding::ThemeColor(totButton, 1, 204));
  EXPECT_EQ(XP->ButtonGlyphColor(cxbsNormal), cxtest::TTestThemeBinding::ThemeColor(totButton, 1, 3803));
  EXPECT_EQ(XP->DefaultColor31(), cxtest::TTestThemeBinding::ThemeColor(totComboBox, 1, 3801 & 0xFF));
  // Part sizes (13 x 13 from the double).
  EXPECT_EQ(XP->RadioButtonSize(), (TSize{13, 13}));
  EXPECT_EQ(XP->FilterCloseBoxSize(), (TPoint{17, 17}));
  EXPECT_EQ(XP->FilterToggleBoxSize(), (TPoint{13, 13}));
  EXPECT_EQ(XP->GroupExpandBoxSize(), 13);
  EXPECT_EQ(XP->TabFrameWidth(false), 1);
  EXPECT_EQ(XP->TabThemedInsetA(false), 1);
  EXPECT_FALSE(XP->HeaderOptionA());
  EXPECT_FALSE(XP->FooterOptionA());

  // A class that does not open hands its measures to the standard look.
  Themes.Binding->Closed = {u"Button", u"Header", u"TrackBar", u"Window", u"Tab", u"ExplorerBar"};
  NotifyThemeChanged();
  EXPECT_EQ(XP->ButtonFrameWidth(cxbsDefault), Std->ButtonFrameWidth(cxbsNormal));
  EXPECT_EQ(XP->ButtonFaceColor(cxbsHot), Std->ButtonFaceColor(cxbsHot));
  EXPECT_EQ(XP->HeaderFrameWidth(), Std->HeaderFrameWidth());
  EXPECT_EQ(XP->FooterCellFrameWidth(), Std->FooterCellFrameWidth());
  EXPECT_EQ(XP->FilterCloseBoxSize(), Std->FilterCloseBoxSize());
  EXPECT_EQ(XP->GroupExpandBoxSize(), 15);
  EXPECT_EQ(XP->TabThemedInsetA(false), 0);
  EXPECT_EQ(XP->ButtonGroupFrameWidths(3, 0), Std->ButtonGroupFrameWidths(3, 0));
}

TEST(WinXPPainterMetrics, TheRightmostHeaderItemHasItsOwnPartOnlyInBlueAndOlive) {
  struct TCase {
    const char16_t* Scheme;
    int Part;
  };
  const TCase Cases[] = {{u"NormalColor", 3}, {u"HomeStead", 3}, {u"Metallic", 1}};
  for (const TCase& C : Cases) {
    cxtest::TThemesOn Themes;
    Themes.Binding->ColorScheme = C.Scheme;
    NotifyThemeChanged();
    LockOffice11Scheme();
    ReloadOffice11Scheme();
    TPaintBox Box(40, 20);
    TcxWinXPLookAndFeelPainter::Instance()->DrawHeaderCell(Box.Canvas(), {0, 0, 40, 20}, {2, 2, 38, 18}, 0,
                                                           cxBordersAll, cxbsNormal, taLeftJustify, vaCenter, false,
                                                           false, "", nullptr, clBtnText, clBtnFace, {}, true);
    EXPECT_EQ(Box.Pixel(20, 10), Rgb(cxtest::TTestThemeBinding::PartColor(totHeader, C.Part, 1)))
        << "scheme index " << GetOffice11SchemeIndex();
    UnlockOffice11Scheme();
  }
  ReloadOffice11Scheme();
}

}  // namespace

namespace {

TEST(WinXPPainterParts, AStandingFilterDropDownBoxIsTheTabItemTurned) {
  cxtest::TThemesOn Themes;
  auto XP = TcxWinXPLookAndFeelPainter::Instance();
  const TColor Item = Rgb(cxtest::TTestThemeBinding::PartColor(totTab, 1, 2));  // tab item, hot
  for (bool Vertical : {false, true}) {
    SCOPED_TRACE(Vertical ? "standing" : "lying");
    TPaintBox Box(60, 60, cxtest::SheetBackground);
    const TRect R = Vertical ? TRect{20, 10, 36, 50} : TRect{10, 20, 50, 36};
    XP->DrawFilterDropDownBox(Box.Canvas(), R, cxBordersAll, cxbsHot, Vertical, "", nullptr, clBtnText);
    EXPECT_EQ(Box.Pixel(R.Left, R.Top), Item);
    EXPECT_EQ(Box.Pixel(R.Right - 1, R.Bottom - 1), Item);
    EXPECT_EQ(Box.Pixel(R.Right, R.Bottom), cxtest::SheetBackground) << "nothing past the box";
    // Sides it does not own reach 2 pixels further.
    TPaintBox Open(60, 60, cxtest::SheetBackground);
    XP->DrawFilterDropDownBox(Open.Canvas(), R, cxBorderBit(bLeft) | cxBorderBit(bTop), cxbsHot, Vertical, "",
                              nullptr, clBtnText);
    EXPECT_EQ(Open.Pixel(R.Right + 1, R.Bottom + 1), Item);
    EXPECT_EQ(Open.Pixel(R.Left - 1, R.Top), cxtest::SheetBackground);
  }
}

}  // namespace
