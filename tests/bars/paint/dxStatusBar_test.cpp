// The status bar lays out its panels (fixed, auto-sized, stretching), draws
// its frame, panels, separators and size grip through the painter of its
// paint style, and truncates panel text with an end ellipsis.
#include <gtest/gtest.h>

#include "../../controls/ControlsTestSupport.h"
#include "bars/statusbar/dxStatusBar.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/forms/ActnList.h"
#include "platform/gdi/ImageList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/Resources.h"

using cxtest::TPaintBox;

namespace {

class TGripBar : public TdxStatusBar {
public:
  using TdxStatusBar::TdxStatusBar;
  bool Grip = false;
  bool IsSizeGripVisible() const override { return Grip && GetSizeGrip(); }
};

struct TLayoutCase {
  const char* What;
  std::vector<bool> Fixed;
  std::vector<int> Widths;
  bool Grip;
  std::vector<TRect> Want;  // over a 300-pixel row
};

TEST(StatusBarLayout, FixedPanelsKeepTheirWidthAndOnePanelAlwaysStretches) {
  // Each panel with the text style adds 2 for its bevel; separators are 2.
  const TLayoutCase Cases[] = {
      {"all fixed: the last stretches", {true, true}, {50, 60}, false, {{0, 0, 52, 20}, {54, 0, 300, 20}}},
      {"a middle spring takes the slack",
       {true, false, true},
       {50, 60, 40},
       false,
       {{0, 0, 52, 20}, {54, 0, 256, 20}, {258, 0, 300, 20}}},
      {"the grip widens the last panel", {true, false}, {50, 60}, true, {{0, 0, 52, 20}, {54, 0, 300, 20}}},
  };
  for (const TLayoutCase& C : Cases) {
    TGripBar Bar(nullptr);
    Bar.Grip = C.Grip;
    for (size_t i = 0; i < C.Fixed.size(); ++i) {
      TdxStatusBarPanel* P = Bar.Panels()->Add();
      P->SetFixed(C.Fixed[i]);
      P->SetWidth(C.Widths[i]);
    }
    EXPECT_EQ(Bar.CalcPanelRects({0, 0, 300, 20}), C.Want) << C.What;
  }
}

TEST(StatusBarLayout, LastPanelWithGripAsksForTheGripWidthToo) {
  TGripBar Bar(nullptr);
  TdxStatusBarPanel* P = Bar.Panels()->Add();
  P->SetWidth(50);
  EXPECT_EQ(P->GetLayoutWidth(), 52);
  Bar.Grip = true;
  EXPECT_EQ(P->GetLayoutWidth(), 52 + 16);
}

TEST(StatusBarPanel, WidthNeverBelowMinWidthAndMinWidthRaisesWidth) {
  TdxStatusBar Bar(nullptr);
  TdxStatusBarPanel* P = Bar.Panels()->Add();
  P->SetWidth(10);
  EXPECT_EQ(P->GetWidth(), 20);
  P->SetMinWidth(80);
  EXPECT_EQ(P->GetWidth(), 80);
  P->SetMinWidth(-5);
  EXPECT_EQ(P->GetMinWidth(), 0);
}

TEST(StatusBarPanel, StyleThatCannotSizeIsFixedAtItsMinimum) {
  TdxStatusBar Bar(nullptr);
  TdxStatusBarPanel* P = Bar.Panels()->Add();
  P->SetPanelStyleClassName("TdxStatusBarStateIndicatorPanelStyle");
  auto* S = dynamic_cast<TdxStatusBarStateIndicatorPanelStyle*>(P->PanelStyle());
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(P->GetWidth(), 20);  // no lamps
  SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources");
  for (bool Visible : {true, false, true}) S->GetIndicators()->Add()->SetVisible(Visible);
  const int Lamp = S->GetIndicators()->Item(0)->Bitmap()->GetWidth();
  ASSERT_GT(Lamp, 0) << "the lamp bitmap loads";
  EXPECT_EQ(S->GetMinWidth(), 4 + 2 * (Lamp + 4));  // hidden lamps take no room
  P->SetFixed(false);
  EXPECT_TRUE(P->GetFixed());
  P->SetPanelStyleClassName("NoSuchStyle");
  EXPECT_EQ(P->PanelStyle(), nullptr);
  EXPECT_EQ(P->GetWidth(), 50);
}

TEST(StatusBarPanel, AutoHintIsExclusiveAmongTextPanels) {
  TdxStatusBar Bar(nullptr);
  auto* A = dynamic_cast<TdxStatusBarTextPanelStyle*>(Bar.Panels()->Add()->PanelStyle());
  auto* B = dynamic_cast<TdxStatusBarTextPanelStyle*>(Bar.Panels()->Add()->PanelStyle());
  ASSERT_TRUE(A && B);
  A->SetAutoHint(true);
  B->SetAutoHint(true);
  EXPECT_FALSE(A->GetAutoHint());
  EXPECT_TRUE(B->GetAutoHint());
}

// A container from an ancestor form may not be deleted by the user, but
// tearing the status bar down (or the panel's own destructor) never throws.
TEST(StatusBarPanel, UndeletableContainerRefusesDeletionButNotTeardown) {
  auto Bar = std::make_unique<TdxStatusBar>(nullptr);
  TdxStatusBarPanel* P = Bar->Panels()->Add();
  P->SetPanelStyleClassName("TdxStatusBarContainerPanelStyle");
  auto* S = dynamic_cast<TdxStatusBarContainerPanelStyle*>(P->PanelStyle());
  ASSERT_NE(S, nullptr);
  S->FromAncestor = true;
  EXPECT_THROW(Bar->Panels()->DeletePanel(0), Exception);
  EXPECT_THROW(P->SetPanelStyleClassName("TdxStatusBarTextPanelStyle"), Exception);
  EXPECT_EQ(Bar->Panels()->Count(), 1);
  EXPECT_NO_THROW(Bar.reset());
}

int CountColor(TPaintBox& Box, const TRect& R, TColor C) {
  int N = 0;
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x) N += Box.Pixel(x, y) == cxtest::Rgb(C);
  return N;
}

TEST(StatusBarPaint, StandardFrameBevelsSeparatorsAndGrip) {
  TGripBar Bar(nullptr);
  Bar.Grip = true;
  Bar.SetStatusBorderWidth(3);
  TdxStatusBarPanel* A = Bar.Panels()->Add();
  A->SetWidth(60);
  A->SetText("Ready");
  TdxStatusBarPanel* B = Bar.Panels()->Add();
  B->SetVisible(false);
  TPaintBox Box(200, 28);
  Bar.PaintTo(Box.Canvas(), {0, 0, 200, 28});
  if (const char* Shots = std::getenv("SX_SHOTS_DIR")) Box.SavePng(std::string(Shots) + "/statusbar-standard.png", 4);
  const TColor Face = cxtest::Rgb(clBtnFace);
  // 2 + 3 pixels of frame at the top, 3 at the sides and bottom.
  for (int y = 0; y < 5; ++y) EXPECT_EQ(Box.Pixel(100, y), Face) << y;
  EXPECT_EQ(Box.Pixel(1, 14), Face);
  EXPECT_EQ(Box.Pixel(50, 26), Face);
  // The first panel's sunken edge: shadow on its top-left.
  EXPECT_EQ(Box.Pixel(3, 10), cxtest::Rgb(clBtnShadow));
  EXPECT_EQ(Box.Pixel(10, 5), cxtest::Rgb(clBtnShadow));
  // The hidden panel shows only its background: no edge.
  EXPECT_EQ(Box.Pixel(70, 5), Face);
  // The grip draws highlight and shadow strokes in the bottom-right cell.
  const TRect GripCell{180, 8, 196, 24};
  EXPECT_GT(CountColor(Box, GripCell, clBtnShadow), 0);
  EXPECT_GT(CountColor(Box, GripCell, clBtnHighlight), 0);
}

TEST(StatusBarPaint, EmptyBarShowsOneLoweredPanel) {
  TdxStatusBar Bar(nullptr);
  TPaintBox Box(100, 20);
  Bar.PaintTo(Box.Canvas(), {0, 0, 100, 20});
  EXPECT_EQ(Box.Pixel(0, 10), cxtest::Rgb(clBtnShadow));
  EXPECT_EQ(Box.Pixel(99, 10), cxtest::Rgb(clBtnHighlight));
  EXPECT_EQ(Box.Pixel(50, 10), cxtest::Rgb(clBtnFace));
}

TEST(StatusBarPaint, FlatFramesAndOffice11LeavesPanelsToTheGradient) {
  TdxStatusBar Bar(nullptr);
  Bar.Panels()->Add()->SetWidth(60);
  Bar.Panels()->Add();
  {
    Bar.SetPaintStyle(stpsFlat);
    TPaintBox Box(200, 20);
    Bar.PaintTo(Box.Canvas(), {0, 0, 200, 20});
    EXPECT_EQ(Box.Pixel(0, 10), cxtest::Rgb(clBtnShadow));
    EXPECT_EQ(Box.Pixel(61, 10), cxtest::Rgb(clBtnShadow));  // right edge of the first frame
    EXPECT_EQ(Box.Pixel(63, 10), cxtest::Rgb(clBtnFace));    // separator
  }
  {
    Bar.SetPaintStyle(stpsOffice11);
    TPaintBox Box(200, 20);
    Bar.PaintTo(Box.Canvas(), {0, 0, 200, 20});
    if (const char* Shots = std::getenv("SX_SHOTS_DIR")) Box.SavePng(std::string(Shots) + "/statusbar-office11.png", 4);
    const TColor Frame = cxtest::Rgb(MixColors(Office11SchemeEntry(1), clBlack, 90));
    EXPECT_EQ(Box.Pixel(1, 10), Frame);
    // The separator and the panel insides keep the gradient: same colour
    // across a row.
    EXPECT_EQ(Box.Pixel(64, 10), Box.Pixel(30, 10));
    EXPECT_NE(Box.Pixel(30, 2), Box.Pixel(30, 17));
  }
}

TEST(StatusBarPaint, LongTextIsTruncatedWithAnEllipsisInsideThePanel) {
  TdxStatusBar Bar(nullptr);
  TdxStatusBarPanel* P = Bar.Panels()->Add();
  P->SetWidth(60);
  P->SetText("A rather long status text that cannot fit");
  auto* S = dynamic_cast<TdxStatusBarTextPanelStyle*>(P->PanelStyle());
  ASSERT_NE(S, nullptr);
  S->EllipsisType = dxetTruncate;
  Bar.Panels()->Add();
  TPaintBox Box(200, 20);
  Bar.PaintTo(Box.Canvas(), {0, 0, 200, 20});
  // Text ink stays inside the panel (deflated by its edge and 2 pixels).
  const TColor Ink = cxtest::Rgb(clBtnText);
  EXPECT_GT(CountColor(Box, {3, 3, 59, 19}, Ink), 0);
  EXPECT_EQ(CountColor(Box, {59, 0, 200, 20}, Ink), 0);
  // The ellipsis: three dots end the text near the right edge.
  EXPECT_GT(CountColor(Box, {45, 3, 59, 19}, Ink), 0);
}

// A panel style follows the status bar's font until it is given its own; a
// style with its own font keeps it when the bar's font changes, and switching
// ParentFont back on takes the bar's font again.
TEST(StatusBarPanelStyle, FollowsTheBarsFontUntilGivenItsOwn) {
  TdxStatusBar Bar(nullptr);
  Bar.GetFont()->SetSize(11);
  TdxStatusBarPanelStyle* A = Bar.Panels()->Add()->PanelStyle();
  TdxStatusBarPanelStyle* B = Bar.Panels()->Add()->PanelStyle();
  ASSERT_TRUE(A && B);
  EXPECT_TRUE(A->GetParentFont());
  EXPECT_FALSE(A->IsFontStored());
  EXPECT_EQ(A->GetFont()->GetSize(), 11);
  B->GetFont()->SetSize(14);
  EXPECT_FALSE(B->GetParentFont());
  EXPECT_TRUE(B->IsFontStored());
  Bar.GetFont()->SetSize(9);
  EXPECT_EQ(A->GetFont()->GetSize(), 9);
  EXPECT_TRUE(A->GetParentFont()) << "taking the bar's font is not a font of its own";
  EXPECT_EQ(B->GetFont()->GetSize(), 14);
  B->SetParentFont(true);
  EXPECT_EQ(B->GetFont()->GetSize(), 9);
  // Assign copies a font of its own, else follows the bar.
  B->GetFont()->SetSize(16);
  A->Assign(B);
  EXPECT_EQ(A->GetFont()->GetSize(), 16);
  EXPECT_FALSE(A->GetParentFont());
  B->SetParentFont(true);
  A->Assign(B);
  EXPECT_TRUE(A->GetParentFont());
  EXPECT_EQ(A->GetFont()->GetSize(), 9);
}

TEST(StatusBarPanelStyle, AssignStartsFromTheDefaultsSoNothingOfTheOldLookStays) {
  TdxStatusBar Bar(nullptr);
  auto* A = dynamic_cast<TdxStatusBarTextPanelStyle*>(Bar.Panels()->Add()->PanelStyle());
  auto* B = dynamic_cast<TdxStatusBarTextPanelStyle*>(Bar.Panels()->Add()->PanelStyle());
  ASSERT_TRUE(A && B);
  A->SetColor(clRed);
  A->GetFont()->SetSize(20);
  A->Alignment = dxtaRight;
  A->Assign(B);  // B has no colour of its own and follows the bar's font
  EXPECT_FALSE(A->ColorAssigned()) << "a colour the source never had is not kept";
  EXPECT_EQ(A->GetColor(), Bar.GetColor());
  EXPECT_TRUE(A->GetParentFont());
  EXPECT_EQ(A->GetFont()->GetSize(), Bar.GetFont()->GetSize());
  EXPECT_EQ(A->Alignment, dxtaLeft);
  B->SetColor(clTeal);
  B->Alignment = dxtaCenter;
  A->Assign(B);
  EXPECT_EQ(A->GetColor(), clTeal);
  EXPECT_EQ(A->Alignment, dxtaCenter);
}

// The text panel draws in its style's font and colour, and OnGetText may
// replace the panel's text for the rectangle the text goes in.
class TTextSource : public TObject {
public:
  AnsiString Replacement;
  TRect Seen;
  void GetText(TObject*, const TRect& R, AnsiString& AText) {
    Seen = R;
    AText = Replacement;
  }
};

TEST(StatusBarTextPanel, DrawsInItsFontAndTakesTheTextFromOnGetText) {
  TdxStatusBar Bar(nullptr);
  TdxStatusBarPanel* P = Bar.Panels()->Add();
  P->SetWidth(100);
  Bar.Panels()->Add();
  auto* S = dynamic_cast<TdxStatusBarTextPanelStyle*>(P->PanelStyle());
  ASSERT_NE(S, nullptr);
  TTextSource Source;
  S->OnGetText = TdxStatusBarTextEvent(&Source, &TTextSource::GetText);
  struct TCase { const char* Text; const char* Replacement; bool Ink; const char* Why; };
  const TCase Cases[] = {
      {"", "Ready", true, "an empty panel shows the handler's text"},
      {"Ready", "", false, "the handler may blank the text"},
  };
  S->GetFont()->SetColor(clRed);
  for (const TCase& C : Cases) {
    P->SetText(C.Text);
    Source.Replacement = C.Replacement;
    TPaintBox Box(200, 20);
    Bar.PaintTo(Box.Canvas(), {0, 0, 200, 20});
    // Smoothed text: its darkest pixels are nearly pure red.
    int Red = 0;
    for (int Y = 0; Y < 20; ++Y)
      for (int X = 0; X < 200; ++X) {
        const unsigned Px = unsigned(Box.Pixel(X, Y));
        Red += (Px & 0xFF) > 0xE0 && ((Px >> 8) & 0xFF) < 0x20 && ((Px >> 16) & 0xFF) < 0x20;
      }
    EXPECT_EQ(Red > 0, C.Ink) << C.Why;
    EXPECT_EQ(CountColor(Box, {0, 0, 200, 20}, cxtest::Rgb(clBtnText)), 0) << C.Why << ": the style's colour";
    // The panel's inside (its bevel off) less 2 pixels on each side.
    EXPECT_EQ(Source.Seen, (TRect{3, 3, 99, 19})) << C.Why;
  }
}

// A hint action's hint goes to the AutoHint text panel unless OnHint takes
// it; without an AutoHint panel the bar leaves the action alone.
class THintSink : public TObject {
public:
  int Calls = 0;
  void Hint(TObject*) { ++Calls; }
};

TEST(StatusBarHints, HintActionShowsInTheAutoHintPanel) {
  TdxStatusBar Bar(nullptr);
  TdxStatusBarPanel* First = Bar.Panels()->Add();
  TdxStatusBarPanel* Second = Bar.Panels()->Add();
  THintAction Action(nullptr);
  Action.Hint = "Opens a document";
  EXPECT_FALSE(Bar.ExecuteAction(&Action)) << "no AutoHint panel";
  EXPECT_EQ(First->GetText(), "");
  dynamic_cast<TdxStatusBarTextPanelStyle*>(Second->PanelStyle())->SetAutoHint(true);
  EXPECT_TRUE(Bar.ExecuteAction(&Action));
  EXPECT_EQ(Second->GetText(), "Opens a document");
  EXPECT_EQ(First->GetText(), "");
  THintSink Sink;
  Bar.OnHint = TNotifyEvent(&Sink, &THintSink::Hint);
  Action.Hint = "Saves the document";
  Bar.ExecuteAction(&Action);
  EXPECT_EQ(Sink.Calls, 1);
  EXPECT_EQ(Second->GetText(), "Opens a document") << "OnHint took the hint";
}

// The image list going away leaves the bar without images, not with a
// dangling one.
TEST(StatusBarImages, FreedImageListIsForgotten) {
  TdxStatusBar Bar(nullptr);
  auto* Images = new TImageList(nullptr);
  Bar.SetImages(Images);
  EXPECT_EQ(Bar.GetImages(), Images);
  delete Images;
  EXPECT_EQ(Bar.GetImages(), nullptr);
  TPaintBox Box(100, 20);
  Bar.Panels()->Add();
  Bar.PaintTo(Box.Canvas(), {0, 0, 100, 20});
}

}  // namespace
