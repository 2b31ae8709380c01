// The spin edit: its value kept as text, the range and increment rules,
// the unit prefix, typed characters, and its buttons on a toolbar.
#include "../BarsTestSupport.h"
#include "ExtItemsTestSupport.h"

#include "platform/forms/StdCtrls.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/gdi/Rects.h"
#include "platform/win/Input.h"

namespace {

class SpinEditTest : public BarsTest {
protected:
  TdxBarSpinEdit* NewSpin() { return NewItem<TdxBarSpinEdit>("Spin", "&Active Page :"); }
};

struct TChangeCounter : TObject {
  int Changes = 0;
  std::vector<TdxBarSpinEditButton> Buttons;
  void Change(TObject*) { ++Changes; }
  void Button(TdxBarSpinEdit*, TdxBarSpinEditButton B) { Buttons.push_back(B); }
};

TEST_F(SpinEditTest, NewSpinEditStartsAtZeroWithoutRange) {
  TdxBarSpinEdit* S = NewSpin();
  EXPECT_EQ(S->GetText(), "0");
  EXPECT_EQ(S->GetValue(), 0);
  EXPECT_EQ(S->GetIncrement(), 1);
  EXPECT_FALSE(S->IsRangeActive());
  S->ButtonClick(sbDown);
  EXPECT_EQ(S->GetText(), "-1");
}

TEST_F(SpinEditTest, RangeHoldsTheValueAndRefusesNonNumbers) {
  TdxBarSpinEdit* S = NewSpin();
  TChangeCounter Counter;
  S->OnChange = TNotifyEvent(&Counter, &TChangeCounter::Change);
  S->SetMinValue(1);
  EXPECT_EQ(S->GetMaxValue(), 1) << "a lower bound above the upper one lifts it";
  S->SetMaxValue(10);
  EXPECT_EQ(S->GetValue(), 1);
  S->SetValue(25);
  EXPECT_EQ(S->GetText(), "10");
  const int Before = Counter.Changes;
  for (const char* Bad : {"abc", "", "1.5", "7 pages"}) {
    SCOPED_TRACE(Bad);
    S->SetText(Bad);
    EXPECT_EQ(S->GetText(), "10");
  }
  EXPECT_EQ(Counter.Changes, Before) << "a refused text fires no OnChange";
  S->SetText("-4");
  EXPECT_EQ(S->GetText(), "1");
  S->SetText("5");
  S->ButtonClick(sbUp);
  EXPECT_EQ(S->GetValue(), 6);
}

TEST_F(SpinEditTest, IncrementAndValueTypeRules) {
  struct TCase {
    TdxBarSpinEditValueType Type;
    long double Set, Want;
    const char* Why;
  };
  const TCase Increments[] = {
      {svtInteger, 0.5L, 1, "below 1 for integers"},
      {svtInteger, 3.9L, 3, "truncated for integers"},
      {svtFloat, -2, 1, "not above 0 for floats"},
      {svtFloat, 0.25L, 0.25L, "a float step stays"},
  };
  for (const TCase& C : Increments) {
    SCOPED_TRACE(C.Why);
    TdxBarSpinEdit* S = NewSpin();
    S->SetValueType(C.Type);
    S->SetIncrement(C.Set);
    EXPECT_EQ(S->GetIncrement(), C.Want);
    delete S;
  }
  const TCase Switches[] = {
      {svtInteger, 2.75L, 2, "float to integer truncates"},
      {svtInteger, -2.75L, -2, "towards zero"},
  };
  for (const TCase& C : Switches) {
    SCOPED_TRACE(C.Why);
    TdxBarSpinEdit* S = NewSpin();
    S->SetValueType(svtFloat);
    S->SetValue(C.Set);
    S->SetValueType(C.Type);
    EXPECT_EQ(S->GetValue(), C.Want);
    delete S;
  }
}

TEST_F(SpinEditTest, HugeValuesStayInsideTheIntegerRange) {
  // Values no integer holds come back as the range's ends, never as
  // whatever an unchecked conversion makes of them.
  TdxBarSpinEdit* S = NewSpin();
  S->SetValueType(svtFloat);
  S->SetValue(1e30L);
  S->SetValueType(svtInteger);
  EXPECT_EQ(S->GetText(), "9223372036854775807");
  EXPECT_EQ(S->GetCurIntValue(), 2147483647);
  struct TCase {
    long double X;
    Int64 Want;
  };
  const TCase Cases[] = {{1e300L, INT64_MAX},
                         {-1e300L, INT64_MIN},
                         {std::numeric_limits<long double>::infinity(), INT64_MAX},
                         {std::numeric_limits<long double>::quiet_NaN(), 0},
                         {-7.9L, -7},
                         {123456789012.5L, 123456789012}};
  for (const TCase& C : Cases) EXPECT_EQ(dxBarTruncToInt64(C.X), C.Want) << double(C.X);
}

TEST_F(SpinEditTest, PrefixIsShownAtItsPlaceAndIgnoredWhenTyped) {
  TdxBarSpinEdit* S = NewSpin();
  S->SetPrefix(" %");
  S->SetValue(50);
  EXPECT_EQ(S->GetText(), "50 %");
  S->SetText("75 %");
  EXPECT_EQ(S->GetValue(), 75);
  S->SetText("80");
  EXPECT_EQ(S->GetText(), "80 %");
  S->SetPrefixPlace(ppStart);
  EXPECT_EQ(S->GetText(), " %80");
}

TEST_F(SpinEditTest, TypedCharactersFollowTheRangeAndType) {
  TdxBarSpinEdit* S = NewSpin();
  const char Dec = FormatSettings().DecimalSeparator;
  struct TCase {
    char Key;
    bool Integer, Negative, Want;
  };
  const TCase Cases[] = {
      {'5', true, false, true},  {'a', true, false, false}, {'-', true, false, false}, {'-', true, true, true},
      {Dec, true, true, false},  {Dec, false, false, true}, {8, true, false, true},    {22, true, false, true},
      {' ', false, true, false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(int(C.Key));
    S->SetValueType(C.Integer ? svtInteger : svtFloat);
    S->SetMinValue(C.Negative ? -10 : 0);
    S->SetMaxValue(10);
    EXPECT_EQ(S->AcceptsChar(C.Key), C.Want);
  }
}

TEST_F(SpinEditTest, ButtonClickEventFiresAlsoAtTheBound) {
  TdxBarSpinEdit* S = NewSpin();
  S->SetMaxValue(2);
  S->SetValue(2);
  TChangeCounter Counter;
  S->OnButtonClick = TdxBarSpinEditButtonClickEvent(&Counter, &TChangeCounter::Button);
  S->ButtonClick(sbUp);
  S->ButtonClick(sbDown);
  EXPECT_EQ(Counter.Buttons, (std::vector<TdxBarSpinEditButton>{sbUp, sbDown}));
  EXPECT_EQ(S->GetValue(), 1);
}

TEST(SpinEditStrip, ButtonsAppearOnlyWhenTheyFitHalfTheWidth) {
  struct TCase {
    Integer Width, Height, WantWidth, WantK;
  };
  const TCase Cases[] = {{100, 22, 19, 4}, {100, 18, 15, 3}, {36, 22, 0, 4}, {100, 6, 0, 0}};
  for (const TCase& C : Cases) {
    Integer K = -1;
    EXPECT_EQ(TdxBarSpinEditControl::StripWidth(C.Width, C.Height, K), C.WantWidth) << C.Width << "x" << C.Height;
    EXPECT_EQ(K, C.WantK);
  }
}

// ---------------------------------------------------------------------------
// On a toolbar

class SpinEditWindowTest : public ExtItemsWindowTest {};

TEST_F(SpinEditWindowTest, HeldButtonStepsOnceThenRepeatsAfterTheDoubleClickTime) {
  auto* S = Add<TdxBarSpinEdit>("Spin");
  S->SetWidth(100);
  Show();
  auto* C = ControlOf<TdxBarSpinEditControl>(S);
  ASSERT_NE(C, nullptr);
  const TRect B = C->ButtonsRect();
  ASSERT_FALSE(IsRectEmpty(&B)) << "the buttons are drawn";
  sxtest::SaveShot(Form, "barscust-spinedit");
  const TPoint Up = AtClient({(B.Left + B.Right) / 2, B.Top + 2});
  HeadlessDisplay().MouseDown(Up.X, Up.Y);
  Settle();
  EXPECT_EQ(S->GetText(), "1") << "one step at once";
  EXPECT_TRUE(C->ButtonIsDown());
  const DWORD First = GetDoubleClickTime() - 100;
  Wait(First - 20);
  EXPECT_EQ(S->GetText(), "1");
  Wait(30);
  EXPECT_EQ(S->GetText(), "2") << "the second step after the double-click time less 100 ms";
  Wait(300);
  EXPECT_EQ(S->GetText(), "5") << "then one every 100 ms";
  // Off the button the steps pause; back on it they go on.
  const TPoint Off = AtClient({B.Left - 30, B.Top + 2});
  HeadlessDisplay().MouseMove(Off.X, Off.Y);
  Wait(300);
  EXPECT_FALSE(C->ButtonIsDown());
  const AnsiString Paused = S->GetText();
  Wait(200);
  EXPECT_EQ(S->GetText(), Paused);
  HeadlessDisplay().MouseMove(Up.X, Up.Y);
  Wait(100);
  EXPECT_NE(S->GetText(), Paused);
  HeadlessDisplay().MouseUp(Up.X, Up.Y);
  Settle();
  const AnsiString Released = S->GetText();
  Wait(500);
  EXPECT_EQ(S->GetText(), Released) << "releasing ends the repeat";
  EXPECT_EQ(C->PressedButton(), sbNone);
}

TEST_F(SpinEditWindowTest, DownButtonAndArrowKeysStepAndReadOnlyIgnoresThem) {
  auto* S = Add<TdxBarSpinEdit>("Spin");
  S->SetWidth(100);
  S->SetValue(5);
  Show();
  auto* C = ControlOf<TdxBarSpinEditControl>(S);
  ASSERT_NE(C, nullptr);
  const TRect B = C->ButtonsRect();
  const TPoint Down = AtClient({(B.Left + B.Right) / 2, B.Bottom - 2});
  HeadlessDisplay().Click(Down.X, Down.Y);
  Settle();
  EXPECT_EQ(S->GetText(), "4");
  // In the edit part: typing starts, arrows step the typed value.
  const TPoint Edit = At(S, 10, 10);
  HeadlessDisplay().Click(Edit.X, Edit.Y);
  Settle();
  ASSERT_TRUE(C->Editing());
  sxtest::Key(VK_UP);
  sxtest::Key(VK_UP);
  Settle();
  EXPECT_EQ(C->EditWindow()->GetText(), "6");
  EXPECT_EQ(S->GetCurIntValue(), 6);
  sxtest::Type("x");
  Settle();
  EXPECT_EQ(C->EditWindow()->GetText().find('x'), AnsiString::npos) << "letters do not enter";
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(S->GetText(), "6");

  S->SetReadOnly(true);
  HeadlessDisplay().Click(Down.X, Down.Y);
  Settle();
  EXPECT_EQ(S->GetText(), "6") << "a read-only spin edit ignores its buttons";
  EXPECT_EQ(C->HitTest({(B.Left + B.Right) / 2, B.Top + 2}), sbNone);
  C->MouseWheel(-120);
  EXPECT_EQ(S->GetCurIntValue(), 5) << "the wheel still steps it";
}

}  // namespace
