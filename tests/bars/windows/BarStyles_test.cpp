// The main window's bar area in each style: a toolbar with a hot button,
// the main menu with its Help menu open. Each picture was looked at once and
// is kept as a small golden under tests/fixtures/bars (README there); it is
// compared at chosen points off the text: the grip, a group separator, the
// hot button's frame, the open title, the menu's frame, glyph column,
// selected row and separator line.
#include <cstdlib>
#include "../../controls/ControlsTestSupport.h"
#include "BarWindowsTestSupport.h"
#include "bars/drawing/dxBarPainters.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "bars/windows/dxBarWindowsInternal.h"
#include "controls/lookandfeel/cxLookAndFeels.h"

namespace {
struct TStyleCase {
  const char* Name;
  TdxBarManagerStyle Style;
  bool Themes = false;  // visual styles through the theme double
};

class BarStyleTest : public BarWindowsTest, public ::testing::WithParamInterface<TStyleCase> {};

TEST_P(BarStyleTest, ToolbarMainMenuAndOpenMenuLookAsTheStyleDraws) {
  std::unique_ptr<cxtest::TThemesOn> Themes;
  if (GetParam().Themes) Themes = std::make_unique<cxtest::TThemesOn>();
  ShowMainWindow();
  W.M->SetStyle(GetParam().Style);
  Settle();
  TdxBarControl* Standard = WindowOf(W.StandardBar);
  TdxBarControl* Main = WindowOf(W.MenuBar);
  // The Help menu opened by a click, its second entry selected by the keyboard.
  ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(5)));
  Settle();
  TdxBarSubMenuControl* Help = MenuOf(W.Item("HelpMenu"));
  ASSERT_NE(Help, nullptr);
  sxtest::Key(VK_DOWN);
  sxtest::Key(VK_DOWN);
  Settle();
  ASSERT_EQ(Help->SelectedControl()->GetItem(), W.Item("CheckForUpdates"));

  const TPoint Origin = W.Form->ClientToScreen({0, 0});
  const TRect Area{Origin.X, Origin.Y, Origin.X + 500, Origin.Y + 150};
  auto Local = [&](TControl* C, TPoint P) {
    TPoint S = C->ClientToScreen(P);
    return TPoint{S.X - Area.Left, S.Y - Area.Top};
  };
  TdxBarItemLinks* SL = W.StandardBar->ItemLinks();
  const TRect Indent = LinkOf(SL, W.Item("IndentCode"))->GetItemRect();
  const TRect Title = W.MenuBar->ItemLinks()->GetItem(5)->GetItemRect();
  const TRect Row = LinkOf(Help->ItemLinks(), W.Item("CheckForUpdates"))->GetItemRect();
  const TRect Group = LinkOf(Help->ItemLinks(), W.Item("AboutBtn"))->GetItemRect();
  const TRect Plain = LinkOf(Help->ItemLinks(), W.Item("TechnicalSupport"))->GetItemRect();
  const Integer Mid = Standard->GetHeight() / 2;
  const std::vector<TPoint> Points = {
      Local(Standard, {1, 1}),                                  // bar frame
      Local(Standard, {4, Mid}), Local(Standard, {5, Mid}),     // grip
      Local(Standard, {6, Mid + 1}),
      Local(Standard, {Indent.Left - 3, Mid}),                  // separator before Indent
      Local(Standard, {Indent.Left - 4, Mid}),
      Local(Main, {Title.Left, Title.Top}),                     // the open title's frame
      Local(Main, {Title.Left + 1, Title.Top + 1}),
      Local(Main, {Title.Left + 2, Title.Bottom - 3}),
      Local(Help, {0, 0}), Local(Help, {1, 1}),                 // menu frame
      Local(Help, {Help->GetWidth() - 1, Help->GetHeight() - 1}),
      Local(Help, {Plain.Left + 4, (Plain.Top + Plain.Bottom) / 2}),   // glyph column
      Local(Help, {Plain.Right - 4, (Plain.Top + Plain.Bottom) / 2}),  // row background
      Local(Help, {Row.Left, Row.Top}), Local(Help, {Row.Left + 3, Row.Top + 2}),  // selected row
      Local(Help, {Row.Right - 3, Row.Bottom - 2}),
      Local(Help, {Group.Right - 10, Group.Top - 5}),           // separator line
      Local(Help, {Group.Right - 10, Group.Top - 3}),
  };

  const std::string Name = std::string("windows-") + GetParam().Name + ".png";
  const std::string Golden = std::string(SX_SOURCE_DIR) + "/tests/fixtures/bars/" + Name;
  const std::string Shot = std::string(SX_SOURCE_DIR) + "/build/barswin-" + Name;
  ASSERT_TRUE(HeadlessDisplay().SaveScreenshot(Shot, &Area));
  if (const char* U = std::getenv("SX_UPDATE_GOLDENS"); U && std::string(U) == "1") {
    ASSERT_TRUE(HeadlessDisplay().SaveScreenshot(Golden, &Area));
  }
  int GW = 0, GH = 0;
  std::vector<std::uint32_t> Px;
  ASSERT_TRUE(cxtest::ReadPng(Golden, GW, GH, Px)) << "golden " << Name << " is missing";
  ASSERT_EQ(GW, Area.Width());
  ASSERT_EQ(GH, Area.Height());
  for (std::size_t I = 0; I < Points.size(); ++I) {
    const TPoint P = Points[I];
    ASSERT_TRUE(P.X >= 0 && P.Y >= 0 && P.X < GW && P.Y < GH) << "point " << I;
    const COLORREF Screen = HeadlessDisplay().ScreenPixel(Area.Left + P.X, Area.Top + P.Y);
    const std::uint32_t Want = Px[std::size_t(P.Y * GW + P.X)];
    const std::uint32_t Got = (std::uint32_t(GetRValue(Screen)) << 16) | (std::uint32_t(GetGValue(Screen)) << 8) |
                              GetBValue(Screen);
    EXPECT_EQ(Got, Want) << GetParam().Name << " point " << I << " at " << P.X << "," << P.Y;
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, BarStyleTest,
                         ::testing::Values(TStyleCase{"standard", bmsStandard}, TStyleCase{"enhanced", bmsEnhanced},
                                           TStyleCase{"flat", bmsFlat}, TStyleCase{"office11", bmsOffice11},
                                           TStyleCase{"xp", bmsXP, true}),
                         [](const auto& I) { return std::string(I.param.Name); });

// The combo's drop-down button shows in every style: the dark arrow beside
// the white text box, on a face of its own where the style gives it one.
class ComboButtonStyleTest : public BarWindowsTest, public ::testing::WithParamInterface<TStyleCase> {};

TEST_P(ComboButtonStyleTest, ComboShowsItsButton) {
  ShowMainWindow();
  W.M->SetStyle(GetParam().Style);
  Settle();
  TdxBarItemLink* Combo = W.Item("SyntaxHighlighterCombo")->GetLink(0);
  ASSERT_NE(Combo, nullptr);
  auto* Bar = Combo->Links()->BarControl();
  ASSERT_NE(Bar, nullptr);
  const TRect R = Combo->GetItemRect();
  const Integer Mid = (R.Top + R.Bottom) / 2, BW = Bar->ComboButtonWidth();
  EXPECT_EQ(sxtest::PixelAt(Bar, R.Right - BW - 6, Mid), GetSysColor(COLOR_WINDOW)) << GetParam().Name;
  bool Arrow = false, Face = false;
  for (Integer X = R.Right - BW - 1; X < R.Right - 1; ++X) {
    const COLORREF C = sxtest::PixelAt(Bar, X, Mid);
    const bool Dark = GetRValue(C) < 64 && GetGValue(C) < 64 && GetBValue(C) < 64;
    Arrow = Arrow || Dark;
    Face = Face || (!Dark && C != GetSysColor(COLOR_WINDOW));
  }
  EXPECT_TRUE(Arrow) << GetParam().Name << ": no arrow";
  // Office 2003 draws an idle combo's button flat on the box: the arrow only.
  EXPECT_EQ(Face, GetParam().Style != bmsOffice11) << GetParam().Name << ": button face";
}

INSTANTIATE_TEST_SUITE_P(Styles, ComboButtonStyleTest,
                         ::testing::Values(TStyleCase{"standard", bmsStandard}, TStyleCase{"enhanced", bmsEnhanced},
                                           TStyleCase{"flat", bmsFlat}, TStyleCase{"office11", bmsOffice11}),
                         [](const auto& I) { return std::string(I.param.Name); });
}  // namespace

// Menus of a style with shadows cast a solid two-pixel shadow right of and
// below them (the title they dropped from shares it); the others cast none,
// and the shadow goes with the menu.
TEST_F(BarWindowsTest, MenusCastTheirStylesShadowAndLoseItWhenTheyClose) {
  ShowMainWindow();
  struct TCase {
    TdxBarManagerStyle Style;
    bool Shadow;
  };
  const Integer S = TdxBarShadow::ShadowSize();
  for (const TCase& Case : {TCase{bmsFlat, true}, TCase{bmsStandard, false}, TCase{bmsOffice11, true}}) {
    W.M->SetStyle(Case.Style);
    Wait(1000);  // the next click is no double click
    ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(5)));
    Settle();
    TdxBarSubMenuControl* Help = MenuOf(W.Item("HelpMenu"));
    ASSERT_NE(Help, nullptr);
    TRect R;
    GetWindowRect(Help->Handle(), &R);
    const COLORREF Shade = GetSysColor(COLOR_BTNSHADOW);
    const TPoint Right{R.Right + S - 1, R.Top + R.Height() / 2}, Below{R.Left + R.Width() / 2, R.Bottom + S - 1};
    EXPECT_EQ(HeadlessDisplay().ScreenPixel(Right.X, Right.Y) == Shade, Case.Shadow) << int(Case.Style);
    EXPECT_EQ(HeadlessDisplay().ScreenPixel(Below.X, Below.Y) == Shade, Case.Shadow) << int(Case.Style);
    EXPECT_NE(HeadlessDisplay().ScreenPixel(R.Right + S, Right.Y), Shade) << "two pixels wide";
    sxtest::Key(VK_ESCAPE);
    sxtest::Key(VK_ESCAPE);
    Settle();
    ASSERT_EQ(MenuOf(W.Item("HelpMenu")), nullptr);
    EXPECT_NE(HeadlessDisplay().ScreenPixel(Right.X, Right.Y), Shade) << "the shadow went with the menu";
  }
}

// A menu opened by the mouse unfolds or slides open on the GUI thread's
// timer; a key pressed meanwhile finishes the opening at once and is then
// handled; a menu opened by the keyboard appears whole.
TEST_F(BarWindowsTest, MenusOpenedByTheMouseUnfoldOrSlideAndInputFinishesTheOpening) {
  ShowMainWindow();
  // The whole size first, without animation.
  ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(5)));
  Settle();
  ASSERT_NE(MenuOf(W.Item("HelpMenu")), nullptr);
  const TRect Whole = MenuOf(W.Item("HelpMenu"))->BoundsRect();
  sxtest::Key(VK_ESCAPE);
  sxtest::Key(VK_ESCAPE);
  Settle();
  struct TCase {
    TdxBarMenuAnimations Kind;
    Integer FirstWidth, FirstHeight;
  };
  const Integer D = Whole.Height() - Whole.Width();
  ASSERT_LT(D, 0) << "the Help menu is wider than high";
  for (const TCase& Case : {TCase{maSlide, Whole.Width(), 17}, TCase{maUnfold, 8 - D, 8}}) {
    W.M->SetMenuAnimations(Case.Kind);
    Wait(1000);
    ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(5)));
    Settle();
    TdxBarSubMenuControl* Help = MenuOf(W.Item("HelpMenu"));
    ASSERT_NE(Help, nullptr);
    EXPECT_TRUE(Help->Animating()) << int(Case.Kind);
    EXPECT_EQ(Help->GetWidth(), Case.FirstWidth) << int(Case.Kind);
    EXPECT_EQ(Help->GetHeight(), Case.FirstHeight) << int(Case.Kind);
    EXPECT_EQ(Help->GetLeft(), Whole.Left) << "grows from its top-left corner";
    EXPECT_EQ(Help->GetTop(), Whole.Top);
    Wait(30);
    sxtest::SaveShot(W.Form, Case.Kind == maSlide ? "barswin-slide" : "barswin-unfold");
    Wait(400);
    EXPECT_FALSE(Help->Animating());
    EXPECT_EQ(Help->BoundsRect(), Whole);
    sxtest::Key(VK_ESCAPE);
    sxtest::Key(VK_ESCAPE);
    Settle();
    // A key while it opens: the menu is whole at once and takes the key.
    Wait(1000);
    ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(5)));
    Settle();
    Help = MenuOf(W.Item("HelpMenu"));
    ASSERT_NE(Help, nullptr);
    ASSERT_TRUE(Help->Animating());
    sxtest::Key(VK_DOWN);
    Settle();
    EXPECT_FALSE(Help->Animating());
    EXPECT_EQ(Help->BoundsRect(), Whole);
    ASSERT_NE(Help->SelectedControl(), nullptr);
    EXPECT_EQ(Help->SelectedControl()->GetItem(), W.Item("HomePage"));
    sxtest::Key(VK_ESCAPE);
    sxtest::Key(VK_ESCAPE);
    Settle();
  }
  // Opened by the keyboard (Alt+H) it appears whole.
  HeadlessDisplay().KeyDown(VK_MENU);
  HeadlessDisplay().KeyPress('H');
  HeadlessDisplay().KeyUp(VK_MENU);
  Settle();
  ASSERT_NE(MenuOf(W.Item("HelpMenu")), nullptr);
  EXPECT_FALSE(MenuOf(W.Item("HelpMenu"))->Animating());
  EXPECT_EQ(MenuOf(W.Item("HelpMenu"))->BoundsRect(), Whole);
}

// The style a manager draws in: bmsUseLookAndFeel follows its look and
// feel (the native style only while visual styles are available), and the
// XP style needs visual styles for its painter, else it draws Enhanced. A
// theme switch reaches the manager without anyone setting its style again.
TEST_F(BarWindowsTest, EffectiveStyleFollowsTheLookAndFeelAndTheThemes) {
  auto* Form = new TForm(App.get());
  auto* M = new TdxBarManager(Form);
  const TdxBarItemControlPainterClass Enhanced = TdxBarItemControlEnhancedPainter::Instance(),
                                      Flat = TdxBarItemControlFlatPainter::Instance(),
                                      XP = TdxBarItemControlXPPainter::Instance();
  struct {
    TdxBarManagerStyle Style;
    TcxLookAndFeelKind Kind;
    bool Native, Themes;
    TdxBarManagerStyle Effective;
    TdxBarItemControlPainterClass Painter;
  } const Cases[] = {
      {bmsUseLookAndFeel, lfUltraFlat, false, false, bmsFlat, Flat},
      {bmsUseLookAndFeel, lfUltraFlat, true, false, bmsFlat, Flat},
      {bmsUseLookAndFeel, lfUltraFlat, true, true, bmsXP, XP},
      {bmsUseLookAndFeel, lfFlat, false, true, bmsEnhanced, Enhanced},
      {bmsUseLookAndFeel, lfStandard, false, false, bmsStandard, TdxBarItemControlStandardPainter::Instance()},
      {bmsUseLookAndFeel, lfOffice11, false, false, bmsOffice11, TdxBarItemControlOffice11Painter::Instance()},
      {bmsXP, lfUltraFlat, false, false, bmsXP, Enhanced},
      {bmsXP, lfUltraFlat, false, true, bmsXP, XP},
      {bmsFlat, lfOffice11, true, true, bmsFlat, Flat},
  };
  for (const auto& C : Cases) {
    std::unique_ptr<cxtest::TThemesOn> Themes;
    if (C.Themes) Themes = std::make_unique<cxtest::TThemesOn>();
    M->GetLookAndFeel()->SetKind(C.Kind);
    M->GetLookAndFeel()->SetNativeStyle(C.Native);
    M->SetStyle(C.Style);
    EXPECT_EQ(M->ThemesAvailable(), C.Themes);
    EXPECT_EQ(M->GetEffectiveStyle(), C.Effective) << C.Style << " kind " << C.Kind << " native " << C.Native;
    EXPECT_EQ(dxBarPainterOf(M), C.Painter) << C.Style << " kind " << C.Kind << " native " << C.Native;
  }
  EXPECT_FALSE(M->ThemesAvailable()) << "the theme double is gone: the manager heard of it";
  // The look and feel is published and assigned into.
  TcxLookAndFeel Other(nullptr);
  Other.SetKind(lfOffice11);
  M->SetLookAndFeel(&Other);
  EXPECT_EQ(M->GetLookAndFeel()->GetKind(), lfOffice11);
  EXPECT_NE(M->GetLookAndFeel(), &Other);
}

// The manager's background pictures: Bar tiled behind the dock sites and
// the toolbars on them (the tiles run on from the site under each bar),
// SubMenu behind menus; emptied, the style's own look comes back.
TEST_F(BarWindowsTest, ManagerBackgroundsTileBehindBarsDockSitesAndMenus) {
  ShowMainWindow();
  W.M->SetStyle(bmsFlat);
  // Without the quick-customization mark the toolbar's end stays empty.
  W.StandardBar->SetAllowQuickCustomizing(false);
  TBitmap Checker, Stripes;
  Checker.SetSize(2, 2);
  Checker.Canvas()->SetPixel(0, 0, clRed);
  Checker.Canvas()->SetPixel(1, 0, clLime);
  Checker.Canvas()->SetPixel(0, 1, clLime);
  Checker.Canvas()->SetPixel(1, 1, clRed);
  Stripes.SetSize(1, 1);
  Stripes.Canvas()->SetPixel(0, 0, clYellow);
  TdxBarBackgrounds Source(nullptr);
  Source.SetBar(&Checker);
  Source.SetSubMenu(&Stripes);
  W.M->SetBackgrounds(&Source);
  EXPECT_FALSE(W.M->GetBackgrounds()->GetBar()->Empty()) << "assigned into the manager's own";
  Settle();
  ClickScreen(CentreOf(W.MenuBar->ItemLinks()->GetItem(5)));
  Settle();
  sxtest::SaveShot(W.Form, "barswin-backgrounds");
  // The picture's phase on screen: the top dock site's origin.
  TdxBarControl* Standard = WindowOf(W.StandardBar);
  TdxDockControl* Site = Standard->DockControl();
  const TPoint SiteOrigin = Site->ClientToScreen({0, 0});
  auto Expected = [&](TPoint Screen) {
    const bool Even = ((Screen.X - SiteOrigin.X) + (Screen.Y - SiteOrigin.Y)) % 2 == 0;
    return Even ? ColorToRGB(clRed) : ColorToRGB(clLime);
  };
  // Right of the last toolbar on the site, and in a toolbar's empty end.
  const TPoint OnSite = Site->ClientToScreen({Site->GetWidth() - 3, Site->GetHeight() - 3});
  EXPECT_EQ(HeadlessDisplay().ScreenPixel(OnSite.X, OnSite.Y), COLORREF(Expected(OnSite)));
  TdxBarItemLinks* SL = W.StandardBar->ItemLinks();
  const TRect Last = SL->GetShownLink(SL->GetShownCount() - 1)->GetItemRect();
  for (Integer DX : {0, 1}) {
    const TPoint InBar = Standard->ClientToScreen({Last.Right + 1 + DX, Standard->GetHeight() / 2});
    if (InBar.X >= Standard->ClientToScreen({Standard->GetWidth() - 2, 0}).X) break;
    EXPECT_EQ(HeadlessDisplay().ScreenPixel(InBar.X, InBar.Y), COLORREF(Expected(InBar))) << DX;
  }
  // The open menu's empty room right of a caption.
  TdxBarSubMenuControl* Help = MenuOf(W.Item("HelpMenu"));
  ASSERT_NE(Help, nullptr);
  const TRect Row = LinkOf(Help->ItemLinks(), W.Item("AboutBtn"))->GetItemRect();
  EXPECT_EQ(sxtest::PixelAt(Help, Row.Right - 4, (Row.Top + Row.Bottom) / 2), COLORREF(ColorToRGB(clYellow)));
  sxtest::Key(VK_ESCAPE);
  sxtest::Key(VK_ESCAPE);
  W.M->GetBackgrounds()->SetBar(nullptr);
  Settle();
  EXPECT_NE(HeadlessDisplay().ScreenPixel(OnSite.X, OnSite.Y), COLORREF(Expected(OnSite)));
}
