// The colour combo's entries and colours, and the font-name combo's list.
#include "../BarsTestSupport.h"
#include "ExtItemsTestSupport.h"

#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"

namespace {

class ColorComboTest : public BarsTest {};

TEST_F(ColorComboTest, ColorsSelectTheirEntries) {
  auto* C = NewItem<TdxBarColorCombo>("Colors");
  EXPECT_EQ(C->GetText(), "Black");
  EXPECT_EQ(C->GetColor(), clBlack);
  struct TCase {
    bool Auto;
    TColor Color;
    Integer WantIndex;
    const char* WantText;
  };
  const TCase Cases[] = {
      {false, TColor(0x0000FF), 9, "Red"},  {true, TColor(0x0000FF), 10, "Red"},
      {false, TColor(0x123456), -1, ""},    {true, clWindowText, 0, "(automatic)"},
      {false, TColor(0xFFFFFF), 15, "White"},
  };
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.WantText);
    C->SetShowAutoColor(K.Auto);
    C->SetColor(clBlack);
    C->SetColor(K.Color);
    EXPECT_EQ(C->GetItemIndex(), K.WantIndex);
    EXPECT_EQ(C->GetColor(), K.Color) << "a colour outside the list stays";
    EXPECT_EQ(C->GetText(), K.WantText);
  }
  C->SetShowAutoColor(true);
  EXPECT_EQ(C->GetDropDownCount(), 17) << "the drop-down grows with the automatic entry";
  C->SetShowAutoColor(false);
  EXPECT_EQ(C->GetDropDownCount(), 16);
}

struct TColorWatcher : TObject {
  TdxBarColorCombo* Combo = nullptr;
  std::vector<TColor> Seen;
  void Change(TObject*) { Seen.push_back(Combo->GetColor()); }
};

TEST_F(ColorComboTest, ChoosingAnEntryMovesTheColourBeforeOnChange) {
  auto* C = NewItem<TdxBarColorCombo>("Colors");
  TColorWatcher W;
  W.Combo = C;
  C->OnChange = TNotifyEvent(&W, &TColorWatcher::Change);
  C->SelectIndex(12);
  C->SetText("Lime");
  EXPECT_EQ(W.Seen, (std::vector<TColor>{TColor(0xFF0000), TColor(0x00FF00)}));
}

class ColorComboWindowTest : public ExtItemsWindowTest {};

TEST_F(ColorComboWindowTest, TheEditPartShowsTheSwatchAndATypedNamePicksTheColour) {
  auto* C = Add<TdxBarColorCombo>("Colors");
  C->SetWidth(140);
  C->SetColor(TColor(0x0000FF));
  auto* F = Add<TdxBarFontNameCombo>("Fonts");
  Show();
  sxtest::SaveShot(Form, "barscust-colorcombo");
  const TRect R = C->GetLink(0)->GetItemRect();
  EXPECT_EQ(Pixel({R.Left + 12, (R.Top + R.Bottom) / 2}), TColor(0x0000FF)) << "the red swatch";
  const TPoint P = At(C, 60, 10);
  HeadlessDisplay().Click(P.X, P.Y);
  Settle();
  auto* Control = ControlOf<TdxBarColorComboControl>(C);
  ASSERT_NE(Control, nullptr);
  ASSERT_TRUE(Control->Editing());
  Control->EditWindow()->SetText("Navy");
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_EQ(C->GetColor(), TColor(0x800000));

  ASSERT_NE(ControlOf<TdxBarFontNameComboControl>(F), nullptr);
  EXPECT_EQ(F->Items()->GetCount(), Screen->Fonts()->GetCount());
  if (F->Items()->GetCount() > 0) {
    const AnsiString First = F->Items()->GetStrings(0);
    AnsiString Lower = First;
    for (char& Ch : Lower) Ch = char(std::tolower(static_cast<unsigned char>(Ch)));
    F->SetText(Lower);
    EXPECT_EQ(F->GetText(), First) << "a typed name becomes the family it names";
    EXPECT_EQ(F->GetItemIndex(), 0);
  }
}

}  // namespace
