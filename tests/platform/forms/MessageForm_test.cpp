// Message boxes shown as windows: the icon of their kind, the text, the
// buttons; Enter answers the default button, Esc the cancel one.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/HeadlessDisplay.h"
#include "platform/win/Resources.h"
#include "platform/win/Win.h"

namespace {
class MessageFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterFormsClasses();
    ResetWindowSystem();
    UseVirtualClock();
    SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources");
    App = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    HeadlessDisplay().SetIdleHandler(nullptr);
    App.reset();
    SetResourceDir("");
    ResetWindowSystem();
    UseRealClock();
  }
  // Runs Show with the box's window up: Look sees it once painted, then
  // Key goes to it.
  Integer Drive(const std::function<Integer()>& Show, const std::function<void(TForm*)>& Look, WORD Key) {
    int Idle = 0;
    HeadlessDisplay().SetIdleHandler([&] {
      auto* F = dynamic_cast<TForm*>(FindControl(GetActiveWindow()));
      if (!F) return false;
      if (++Idle == 1) return true;   // let it paint
      if (Idle == 2) {
        Look(F);
        HeadlessDisplay().KeyPress(Key);
        return true;
      }
      ADD_FAILURE() << "the box is still open";
      return false;
    });
    const Integer R = Show();
    HeadlessDisplay().SetIdleHandler(nullptr);
    return R;
  }
  COLORREF ClientPixel(TForm* F, int X, int Y) {
    const TPoint P = F->ClientToScreen({X, Y});
    return HeadlessDisplay().ScreenPixel(P.X, P.Y);
  }
  std::unique_ptr<TApplication> App;
};
}  // namespace

TEST_F(MessageFormTest, BoxShowsItsIconTextAndButtonsAndAnswersByKey) {
  struct TCase {
    const char* Why;
    UINT Style;
    WORD Key;
    int Want;
    TPoint At;          // in the icon
    COLORREF IconInk;
    std::vector<const char*> Buttons;
  };
  const TCase Cases[] = {
      {"error, Enter answers OK", MB_OK | MB_ICONSTOP, VK_RETURN, IDOK, {4, 16}, RGB(200, 0, 0), {"OK"}},
      {"question, second button default", MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, VK_RETURN, IDNO,
       {5, 16}, RGB(0, 80, 200), {"Yes", "No"}},
      {"warning, Esc answers Cancel", MB_OKCANCEL | MB_ICONEXCLAMATION, VK_ESCAPE, IDCANCEL, {9, 26}, RGB(250, 210, 0),
       {"OK", "Cancel"}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    TDialogScript S;
    S.ThenShowForm();
    const Integer R = Drive([&] { return Integer(MessageBox(nullptr, "Are you sure ?", "Question", C.Style)); },
                            [&](TForm* F) {
                              EXPECT_EQ(F->GetCaption(), "Question");
                              auto* Label = dynamic_cast<TControl*>(F->FindComponent("Message"));
                              ASSERT_TRUE(Label);
                              EXPECT_EQ(Label->GetCaption(), "Are you sure ?");
                              for (const char* B : C.Buttons) EXPECT_TRUE(F->FindComponent(B)) << B;
                              const COLORREF P = ClientPixel(F, 12 + C.At.X, 12 + C.At.Y);
                              EXPECT_EQ(P, C.IconInk) << "the icon of the box's kind";
                              if (const char* Dir = std::getenv("SX_SHOT_DIR")) {
                                TRect Rc = F->BoundsRect();
                                HeadlessDisplay().SaveScreenshot(std::string(Dir) + "/messagebox.png", &Rc);
                              }
                            },
                            C.Key);
    EXPECT_EQ(R, C.Want);
  }
}

// Without an answerer a headless run still refuses to block.
TEST_F(MessageFormTest, HeadlessRunWithoutAnswererStillRefuses) {
  EXPECT_THROW(MessageBox(nullptr, "Text", "Caption", MB_OK), EDialogNotAnswered);
}
