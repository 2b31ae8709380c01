// TBitBtn's kinds: each sets the caption, the modal result and
// Default/Cancel, and shows its stock glyph unless a glyph of its own is set.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/forms/Application.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Resources.h"
#include "platform/win/Win.h"

namespace {
class BitBtnTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    ResetWindowSystem();
    UseVirtualClock();
    SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources");
    App = std::make_unique<TApplication>(nullptr);
    Form = new TForm(App.get());
    Form->SetBounds(0, 0, 360, 120);
  }
  void TearDown() override {
    App.reset();
    SetResourceDir("");
    ResetWindowSystem();
    UseRealClock();
  }
  TBitBtn* Add(TBitBtnKind Kind, Integer Left) {
    auto* B = new TBitBtn(Form);
    B->SetParent(Form);
    B->SetBounds(Left, 8, 80, 27);
    B->SetKind(Kind);
    return B;
  }
  // Pixels of the button's left part (where the glyph sits) near Colour.
  int GlyphPixels(TBitBtn* B, COLORREF Colour) {
    int N = 0;
    const TPoint O = B->ClientToScreen({0, 0});
    for (int Y = 4; Y < B->GetHeight() - 4; ++Y)
      for (int X = 4; X < 30; ++X) {
        const COLORREF P = HeadlessDisplay().ScreenPixel(O.X + X, O.Y + Y);
        N += std::abs(GetRValue(P) - GetRValue(Colour)) < 40 && std::abs(GetGValue(P) - GetGValue(Colour)) < 40 &&
             std::abs(GetBValue(P) - GetBValue(Colour)) < 40;
      }
    return N;
  }
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
};
}  // namespace

TEST_F(BitBtnTest, KindsSetCaptionResultDefaultsAndTheirGlyph) {
  struct TCase {
    TBitBtnKind Kind;
    const char* Caption;
    TModalResult Result;
    bool Default, Cancel;
    COLORREF Ink;   // the glyph's main colour
  };
  const TCase Cases[] = {
      {bkOK, "OK", mrOk, true, false, RGB(0, 140, 0)},
      {bkCancel, "Cancel", mrCancel, false, true, RGB(200, 0, 0)},
      {bkNo, "&No", mrNo, false, true, RGB(200, 0, 0)},
      {bkClose, "&Close", mrNone, false, false, RGB(160, 96, 32)},
  };
  std::vector<TBitBtn*> Buttons;
  Integer Left = 8;
  for (const TCase& C : Cases) {
    Buttons.push_back(Add(C.Kind, Left));
    Left += 86;
  }
  Form->Show();
  App->ProcessMessages();
  if (const char* Dir = std::getenv("SX_SHOT_DIR")) {
    TRect R = Form->BoundsRect();
    HeadlessDisplay().SaveScreenshot(std::string(Dir) + "/bitbtn.png", &R);
  }
  for (std::size_t I = 0; I < std::size(Cases); ++I) {
    const TCase& C = Cases[I];
    SCOPED_TRACE(C.Caption);
    TBitBtn* B = Buttons[I];
    EXPECT_EQ(B->GetCaption(), C.Caption);
    EXPECT_EQ(B->GetModalResult(), C.Result);
    EXPECT_EQ(B->GetDefault(), C.Default);
    EXPECT_EQ(B->GetCancel(), C.Cancel);
    EXPECT_GT(GlyphPixels(B, C.Ink), 8) << "the stock glyph is drawn";
  }
  // A glyph of the button's own replaces the stock one.
  TBitmap Own;
  Own.SetSize(16, 16);
  Own.Canvas()->Brush()->SetColor(TColor(RGB(0, 0, 255)));
  Own.Canvas()->FillRect(TRect(0, 0, 16, 16));
  Own.Canvas()->SetPixel(0, 15, TColor(RGB(255, 0, 255)));
  Buttons[0]->SetGlyph(&Own);
  App->ProcessMessages();
  EXPECT_EQ(GlyphPixels(Buttons[0], RGB(0, 140, 0)), 0);
  EXPECT_GT(GlyphPixels(Buttons[0], RGB(0, 0, 255)), 100);
}

TEST_F(BitBtnTest, CloseKindClosesItsForm) {
  TBitBtn* B = Add(bkClose, 8);
  Form->Show();
  App->ProcessMessages();
  ASSERT_TRUE(Form->GetVisible());
  B->Click();
  App->ProcessMessages();
  EXPECT_FALSE(Form->GetVisible());
}
