// Every painter draws its parts into a bitmap; the pictures were looked at
// once and are kept as goldens (tests/fixtures/controls/README), compared at
// points chosen on frames, faces, arrows and marks — never on text.
#include <gtest/gtest.h>

#include <functional>
#include "ControlsTestSupport.h"
#include "PainterSheet.h"
#include "controls/painters/cxLookAndFeelPainters.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/gdi/Gdi.h"

using cxtest::Rgb;
using cxtest::At;
using cxtest::TPaintBox;
using cxtest::TSheetPart;

namespace {


// The sheet: one row per kind of part, every state of it.
std::vector<TSheetPart> Sheet() {
  std::vector<TSheetPart> E;
  const TcxButtonState States[] = {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
  for (int i = 0; i < 5; ++i) {
    const TcxButtonState S = States[i];
    E.push_back({At(4 + i * 36, 4, 32, 20), [S](auto P, auto C, auto& R) { P->DrawCaptionButton(C, R, "", S, true); }});
    E.push_back({At(4 + i * 36, 28, 32, 20), [S](auto P, auto C, auto& R) { P->DrawButtonBackground(C, R, S); }});
  }
  // Scroll-bar parts: horizontal then vertical, normal / hot / pressed / disabled.
  const TcxButtonState Bar[] = {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled};
  for (int i = 0; i < 4; ++i) {
    const TcxButtonState S = Bar[i];
    const int X = 4 + i * 48;
    E.push_back({At(X, 52, 16, 16), [S](auto P, auto C, auto& R) { P->DrawScrollPart(C, true, R, sbpLineUp, S); }});
    E.push_back({At(X + 16, 52, 12, 16), [S](auto P, auto C, auto& R) { P->DrawScrollPart(C, true, R, sbpPageUp, S); }});
    E.push_back({At(X + 28, 52, 16, 16), [S](auto P, auto C, auto& R) { P->DrawScrollPart(C, true, R, sbpThumbnail, S); }});
    E.push_back({At(X, 70, 16, 16), [S](auto P, auto C, auto& R) { P->DrawScrollPart(C, false, R, sbpLineDown, S); }});
    E.push_back({At(X + 16, 70, 16, 12), [S](auto P, auto C, auto& R) { P->DrawScrollPart(C, false, R, sbpPageDown, S); }});
    E.push_back({At(X + 32, 70, 16, 16), [S](auto P, auto C, auto& R) { P->DrawScrollPart(C, false, R, sbpLineUp, S); }});
  }
  // Check boxes: unchecked and checked, in four states.
  for (int i = 0; i < 4; ++i) {
    const TcxButtonState S = Bar[i];
    E.push_back({At(4 + i * 34, 90, 13, 13), [S](auto P, auto C, auto& R) { P->DrawCheckBox(C, R, S, false); }});
    E.push_back({At(20 + i * 34, 90, 13, 13), [S](auto P, auto C, auto& R) { P->DrawCheckBox(C, R, S, true); }});
  }
  // Expand boxes, group expand boxes, small expand boxes.
  E.push_back({At(4, 108, 11, 11), [](auto P, auto C, auto& R) { P->DrawExpandBox(C, R, false, clDefault); }});
  E.push_back({At(20, 108, 11, 11), [](auto P, auto C, auto& R) { P->DrawExpandBox(C, R, true, clDefault); }});
  E.push_back({At(36, 108, 15, 15), [](auto P, auto C, auto& R) { P->DrawGroupExpandBox(C, R, false, cxbsNormal); }});
  E.push_back({At(56, 108, 15, 15), [](auto P, auto C, auto& R) { P->DrawGroupExpandBox(C, R, true, cxbsHot); }});
  E.push_back({At(76, 108, 9, 9), [](auto P, auto C, auto& R) { P->DrawSmallExpandBox(C, R, false, clBtnShadow, clWindow); }});
  // Borders and group captions (header cells).
  E.push_back({At(92, 108, 30, 20), [](auto P, auto C, auto& R) { P->DrawControlBorder(C, R); }});
  E.push_back({At(128, 108, 60, 20),
               [](auto P, auto C, auto& R) {
                 TRect T = R;
                 InflateRect(&T, -3, -2);
                 P->DrawHeaderCell(C, R, T, 0, cxBordersAll, cxbsNormal, taLeftJustify, vaCenter, false, false,
                                   "Group", nullptr, clBtnText, clBtnFace);
               },
               true});
  return E;
}

}  // namespace

TEST(Painters, EveryPainterDrawsEveryPartAsItsGoldenShows) {
  struct TCase {
    const char* Golden;
    TcxLookAndFeelPainterClass Painter;
    bool Themes;
  };
  const TCase Cases[] = {
      {"painter_standard.png", TcxStandardLookAndFeelPainter::Instance(), false},
      {"painter_flat.png", TcxFlatLookAndFeelPainter::Instance(), false},
      {"painter_ultraflat.png", TcxUltraFlatLookAndFeelPainter::Instance(), false},
      {"painter_office11.png", TcxOffice11LookAndFeelPainter::Instance(), false},
      {"painter_office11_luna.png", TcxOffice11LookAndFeelPainter::Instance(), true},
      {"painter_winxp_themed.png", TcxWinXPLookAndFeelPainter::Instance(), true},
  };
  const std::vector<TPoint> Points = cxtest::SheetPoints(Sheet());
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::string(C.Golden) + (C.Themes ? " with themes" : ""));
    std::unique_ptr<cxtest::TThemesOn> Themes;
    if (C.Themes) Themes = std::make_unique<cxtest::TThemesOn>();
    cxtest::TOffice11SchemeHeld Scheme;
    TPaintBox Box(196, 132, cxtest::SheetBackground);
    cxtest::DrawSheet(Sheet(), C.Painter, Box);
    cxtest::ExpectMatchesGolden(Box, C.Golden, Points);
  }
}

TEST(Painters, FrameWidthsStatesAndGlyphColoursFollowTheLook) {
  const TcxLookAndFeelPainterClass Classic[] = {TcxStandardLookAndFeelPainter::Instance(),
                                               TcxFlatLookAndFeelPainter::Instance(),
                                               TcxUltraFlatLookAndFeelPainter::Instance()};
  for (auto P : Classic) {
    SCOPED_TRACE(P->GetStyleCode());
    EXPECT_EQ(P->ButtonFrameWidth(cxbsDefault), P->ButtonFrameWidth(cxbsNormal) + 1);
    EXPECT_EQ(P->ButtonGlyphColor(cxbsDisabled, TColor(0x123456)), clBtnShadow);
  }
  auto Ultra = TcxUltraFlatLookAndFeelPainter::Instance();
  EXPECT_EQ(Ultra->ButtonGlyphColor(cxbsPressed), clHighlightText);
  EXPECT_EQ(Ultra->ButtonGlyphState(cxbsDisabled), cxbsNormal);
  EXPECT_TRUE(Ultra->HotTracksButtons());
  EXPECT_FALSE(TcxStandardLookAndFeelPainter::Instance()->HotTracksButtons());
  EXPECT_EQ(TcxCustomLookAndFeelPainter::Instance()->ButtonGlyphColor(cxbsNormal, clDefault), clBtnText);
  EXPECT_EQ(StyleCodeToLookAndFeelKind(3), lfStandard);
  EXPECT_EQ(StyleCodeToLookAndFeelKind(4), lfOffice11);
  const TRect Small{0, 0, 8, 30};
  EXPECT_EQ(TcxStandardLookAndFeelPainter::Instance()->ButtonFocusBounds(nullptr, Small), Small);
}

TEST(Painters, DisabledThumbIsNotDrawnAndHotArrowLooksNormalInTheClassicLooks) {
  const TcxLookAndFeelPainterClass Classic[] = {TcxStandardLookAndFeelPainter::Instance(),
                                               TcxFlatLookAndFeelPainter::Instance(),
                                               TcxUltraFlatLookAndFeelPainter::Instance()};
  for (auto P : Classic) {
    SCOPED_TRACE(P->GetStyleCode());
    TPaintBox Box(16, 16, cxtest::SheetBackground);
    P->DrawScrollPart(Box.Canvas(), false, {0, 0, 16, 16}, sbpThumbnail, cxbsDisabled);
    for (TPoint Q : {TPoint{0, 0}, TPoint{8, 8}, TPoint{15, 15}}) EXPECT_EQ(Box.Pixel(Q.X, Q.Y), cxtest::SheetBackground);
    TPaintBox Hot(16, 16), Normal(16, 16);
    P->DrawScrollPart(Hot.Canvas(), true, {0, 0, 16, 16}, sbpLineUp, cxbsHot);
    P->DrawScrollPart(Normal.Canvas(), true, {0, 0, 16, 16}, sbpLineUp, cxbsNormal);
    for (int Y = 0; Y < 16; ++Y)
      for (int X = 0; X < 16; ++X) ASSERT_EQ(Hot.Pixel(X, Y), Normal.Pixel(X, Y)) << X << "," << Y;
  }
}

TEST(Painters, ExpandBoxesKeepLaterDrawingOffTheirRectangle) {
  const TcxLookAndFeelPainterClass All[] = {TcxStandardLookAndFeelPainter::Instance(),
                                           TcxFlatLookAndFeelPainter::Instance(),
                                           TcxUltraFlatLookAndFeelPainter::Instance()};
  for (auto P : All) {
    SCOPED_TRACE(P->GetStyleCode());
    TPaintBox Box(20, 20, cxtest::SheetBackground);
    P->DrawExpandBox(Box.Canvas(), {4, 4, 15, 15}, false, clDefault);
    const TColor Inside = Box.Pixel(5, 9);
    Box.Canvas()->FillRect({0, 0, 20, 20}, TColor(0x00FF00));
    EXPECT_EQ(Box.Pixel(5, 9), Inside);
    EXPECT_EQ(Box.Pixel(1, 1), TColor(0x00FF00));
  }
}

TEST(Painters, ThemedPartsAskForTheStatesOfTheVisualStyle) {
  cxtest::TThemesOn Themes;
  auto XP = TcxWinXPLookAndFeelPainter::Instance();
  using cxtest::TTestThemeBinding;
  struct TCase {
    std::function<void(TcxCanvas*, const TRect&)> Draw;
    TColor Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {[&](auto C, auto& R) { XP->DrawScrollPart(C, false, R, sbpLineDown, cxbsDefault); },
       TTestThemeBinding::PartColor(totScrollBar, 1, 4 * 1 + 1), "default arrow button uses the normal state"},
      {[&](auto C, auto& R) { XP->DrawScrollPart(C, true, R, sbpLineUp, cxbsPressed); },
       TTestThemeBinding::PartColor(totScrollBar, 1, 4 * 2 + 3), "left arrow pressed"},
      {[&](auto C, auto& R) { XP->DrawScrollPart(C, false, R, sbpPageDown, cxbsHot); },
       TTestThemeBinding::PartColor(totScrollBar, 7, 2), "vertical page area after the thumb, hot"},
      {[&](auto C, auto& R) { XP->DrawButtonBackground(C, R, cxbsDefault); },
       TTestThemeBinding::PartColor(totButton, 1, 5), "default push button"},
      {[&](auto C, auto& R) { XP->DrawCheckBox(C, R, cxbsHot, true); },
       TTestThemeBinding::PartColor(totButton, 3, 6), "checked check box, hot"},
      {[&](auto C, auto& R) { XP->DrawExpandBox(C, R, true); }, TTestThemeBinding::PartColor(totTreeView, 2, 2),
       "expanded tree glyph"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    TPaintBox Box(16, 16, cxtest::SheetBackground);
    C.Draw(Box.Canvas(), {0, 0, 16, 16});
    EXPECT_EQ(Box.Pixel(8, 8), C.Want);
  }
  Themes.Binding->Closed.insert(u"ScrollBar");
  NotifyThemeChanged();
  TPaintBox Fallback(16, 16, cxtest::SheetBackground), Standard(16, 16, cxtest::SheetBackground);
  XP->DrawScrollPart(Fallback.Canvas(), false, {0, 0, 16, 16}, sbpLineUp, cxbsNormal);
  TcxStandardLookAndFeelPainter::Instance()->DrawScrollPart(Standard.Canvas(), false, {0, 0, 16, 16}, sbpLineUp,
                                                           cxbsNormal);
  for (int Y = 0; Y < 16; ++Y)
    for (int X = 0; X < 16; ++X) ASSERT_EQ(Fallback.Pixel(X, Y), Standard.Pixel(X, Y)) << "falls back";
}

TEST(Painters, ArrowTriangleGeometry) {
  TPoint P[3] = {{-1, -1}, {-1, -1}, {-1, -1}};
  CalcArrowTriangle({0, 0, 16, 16}, P, 4, true);
  EXPECT_EQ(P[0], (TPoint{-1, -1})) << "an unknown direction leaves the points alone";
  CalcArrowTriangle({0, 0, 16, 16}, P, adDown, true);
  // X = 7 (odd), Y = 4; yc = MulDiv(12, 1, 2) = 6; xl = (16 - 7) / 2 = 4.
  EXPECT_EQ(P[0], (TPoint{4, 6}));
  EXPECT_EQ(P[1], (TPoint{10, 6}));
  EXPECT_EQ(P[2], (TPoint{7, 9}));
}

TEST(Painters, Office11ExpandBoxBlendsItsCornersWithWhatLiesBeneath) {
  cxtest::TOffice11SchemeHeld Scheme;
  auto O = TcxOffice11LookAndFeelPainter::Instance();
  TPaintBox Box(11, 11, TColor(0xFFFFFF));
  O->DrawExpandBox(Box.Canvas(), {0, 0, 11, 11}, false);
  EXPECT_EQ(Box.Pixel(0, 0), Rgb(MixColors(Office11ExpandButtonColor1, TColor(0xFFFFFF), 25)));
  EXPECT_EQ(Box.Pixel(10, 10), Rgb(MixColors(Office11ExpandButtonColor2, TColor(0xFFFFFF), 25)));
  TPaintBox Dark(11, 11, TColor(0));
  O->DrawExpandBox(Dark.Canvas(), {0, 0, 11, 11}, false);
  EXPECT_EQ(Dark.Pixel(0, 0), Rgb(MixColors(Office11ExpandButtonColor1, TColor(0), 25)));
}

TEST(Painters, DefaultColoursFollowTheLook) {
  cxtest::TOffice11SchemeHeld Scheme;
  auto Base = TcxCustomLookAndFeelPainter::Instance();
  auto Office = TcxOffice11LookAndFeelPainter::Instance();
  EXPECT_EQ(Base->DefaultColor25(), Base->DefaultColor12());
  EXPECT_EQ(Base->DefaultColor49(), TColor(0xCFCFCF));
  EXPECT_EQ(TcxUltraFlatLookAndFeelPainter::Instance()->DefaultColor31(), clBtnShadow);
  EXPECT_EQ(TcxStandardLookAndFeelPainter::Instance()->DefaultColor33(), clWindow);
  EXPECT_EQ(Office->DefaultColor26(), Office11SchemeEntry(2)) << "the date editor's calendar reads this one";
  EXPECT_EQ(Office->DefaultColor11(), Office->DefaultColor18());
  EXPECT_EQ(Office->DefaultColor45(), Office11SchemeEntry(34));
  EXPECT_EQ(TcxWinXPLookAndFeelPainter::Instance()->DefaultColor31(), TColor(0x0000FF))
      << "without a combo box theme: the inherited colour";
}
