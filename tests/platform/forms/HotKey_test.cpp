// The hot-key control and THotKey: a form description sets it up, typing a
// combination changes it (with the rules applied), the control shows it.
#include <gtest/gtest.h>

#include "platform/forms/Application.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Forms.h"
#include "platform/forms/HotKey.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Win.h"

namespace {
class THotKeyForm : public TForm {
  SX_CLASS(THotKeyForm, TForm)
public:
  explicit THotKeyForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
};

const char* const FormText =
    "object HotKeyForm: THotKeyForm\n"
    "  Left = 0\n  Top = 0\n  ClientWidth = 200\n  ClientHeight = 80\n"
    "  object Plain: THotKey\n    Left = 8\n    Top = 8\n    Width = 160\n    Height = 21\n"
    "    HotKey = 16459\n    TabOrder = 0\n  end\n"
    "  object Strict: THotKey\n    Left = 8\n    Top = 40\n    Width = 160\n    Height = 21\n"
    "    InvalidKeys = [hcNone, hcShift, hcAlt]\n    Modifiers = [hkCtrl, hkAlt]\n    TabOrder = 1\n  end\n"
    "end\n";

class HotKeyTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    RegisterClasses({THotKeyForm::StaticClass()});
    ResetWindowSystem();
    UseVirtualClock();
    App = std::make_unique<TApplication>(nullptr);
    RegisterFormDescription("THotKeyForm", FormText);
    Form = new THotKeyForm(App.get());
    Form->Show();
    Pump();
    Plain = static_cast<THotKey*>(Form->FindComponent("Plain"));
    Strict = static_cast<THotKey*>(Form->FindComponent("Strict"));
  }
  void TearDown() override {
    UnregisterFormDescription("THotKeyForm");
    App.reset();
    ResetWindowSystem();
    UseRealClock();
  }
  void Pump() { App->ProcessMessages(); }
  // Presses Key with the modifiers held, then lets go of all of them.
  void Chord(std::initializer_list<WORD> Mods, WORD Key) {
    for (WORD M : Mods) HeadlessDisplay().KeyDown(M);
    HeadlessDisplay().KeyPress(Key);
    for (WORD M : Mods) HeadlessDisplay().KeyUp(M);
    Pump();
  }
  std::unique_ptr<TApplication> App;
  THotKeyForm* Form = nullptr;
  THotKey* Plain = nullptr;
  THotKey* Strict = nullptr;
};
}  // namespace

TEST_F(HotKeyTest, DescriptionSetsTheCombinationAndTheRules) {
  ASSERT_TRUE(Plain && Strict);
  EXPECT_EQ(Plain->GetHotKey(), TShortCut(scCtrl | 'K'));
  EXPECT_EQ(SendMessageA(Plain->Handle(), HKM_GETHOTKEY, 0, 0), LRESULT('K' | (HOTKEYF_CONTROL << 8)));
  EXPECT_EQ(Strict->GetHotKey(), TShortCut(scAlt | 'A')) << "the default";
  EXPECT_TRUE(Strict->GetInvalidKeys().Contains(hcAlt));
  EXPECT_EQ(Strict->GetModifiers(), (THKModifiers{hkCtrl, hkAlt}));
}

// What the user types, what the control keeps: the rules swap a refused
// combination for the stand-in modifiers; Back space alone clears.
TEST_F(HotKeyTest, TypingAComboAppliesTheRulesAndTellsTheChange) {
  struct TCase {
    const char* Why;
    THotKey** Control;
    std::initializer_list<WORD> Mods;
    WORD Key;
    TShortCut Want;
  };
  const TCase Cases[] = {
      {"control and shift are kept", &Plain, {VK_CONTROL, VK_SHIFT}, 'Q', TShortCut(scCtrl | scShift | 'Q')},
      {"a key alone is refused: Alt stands in", &Plain, {}, 'B', TShortCut(scAlt | 'B')},
      {"shift alone is refused too", &Plain, {VK_SHIFT}, VK_F5, TShortCut(scAlt | VK_F5)},
      {"Back space alone clears", &Plain, {}, VK_BACK, scNone},
      {"alt alone is refused here: Ctrl+Alt stands in", &Strict, {VK_MENU}, 'Z', TShortCut(scCtrl | scAlt | 'Z')},
      {"control alone is allowed here", &Strict, {VK_CONTROL}, '7', TShortCut(scCtrl | '7')},
  };
  int Changes = 0;
  struct TCounter : TObject {
    explicit TCounter(int* P) : N(P) {}
    int* N;
    void Changed(TObject*) { ++*N; }
  } Counter(&Changes);
  Plain->OnChange = TNotifyEvent(&Counter, &TCounter::Changed);
  Strict->OnChange = TNotifyEvent(&Counter, &TCounter::Changed);
  int Expected = 0;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    (*C.Control)->SetFocus();
    Pump();
    Chord(C.Mods, C.Key);
    EXPECT_EQ((*C.Control)->GetHotKey(), C.Want);
    EXPECT_EQ(Changes, ++Expected);
  }
  // Tab still moves on: the control does not keep it.
  Plain->SetFocus();
  Pump();
  Chord({}, VK_TAB);
  EXPECT_EQ(GetFocus(), Strict->Handle());
  EXPECT_EQ(Plain->GetHotKey(), scNone);
}

// The control writes its combination in the window text colour on the
// window colour, left in the box; a cleared one reads "None".
TEST_F(HotKeyTest, ControlShowsTheCombinationAsText) {
  auto Ink = [&](THotKey* C) {
    int Dark = 0;
    const TPoint O = C->ClientToScreen({0, 0});
    for (int Y = 2; Y < C->ClientHeight() - 2; ++Y)
      for (int X = 0; X < C->ClientWidth(); ++X) {
        const COLORREF P = HeadlessDisplay().ScreenPixel(O.X + X, O.Y + Y);
        Dark += GetRValue(P) < 96 && GetGValue(P) < 96 && GetBValue(P) < 96;
      }
    return Dark;
  };
  Plain->SetHotKey(TShortCut(scCtrl | scShift | scAlt | 'W'));
  Pump();
  const int Long = Ink(Plain);
  if (const char* Dir = std::getenv("SX_SHOT_DIR")) {
    TRect R = Form->BoundsRect();
    HeadlessDisplay().SaveScreenshot(std::string(Dir) + "/hotkey.png", &R);
  }
  Plain->SetHotKey(scNone);
  Pump();
  const int None = Ink(Plain);
  EXPECT_GT(None, 10) << "\"None\" is written";
  EXPECT_GT(Long, None * 2) << "\"Ctrl + Shift + Alt + W\" is much longer";
  EXPECT_EQ(HeadlessDisplay().ScreenPixel(Plain->ClientToScreen({Plain->ClientWidth() - 3, 10}).X,
                                          Plain->ClientToScreen({Plain->ClientWidth() - 3, 10}).Y),
            GetSysColor(COLOR_WINDOW));
}
