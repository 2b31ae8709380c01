// The keyboard-state and container panels, the visual-style status-bar
// painter, the size grip's hit test, status bars read from form
// descriptions, and a reviewed picture of the main window's status bar.
#include <gtest/gtest.h>

#include <set>

#include "../../controls/ControlsTestSupport.h"
#include "PaintTestSupport.h"
#include "bars/statusbar/dxStatusBar.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/forms/Forms.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/Input.h"
#include "platform/win/Resources.h"

using cxtest::TPaintBox;

namespace {

class TGripBar : public TdxStatusBar {
public:
  using TdxStatusBar::TdxStatusBar;
  bool Grip = false;
  bool IsSizeGripVisible() const override { return Grip && GetSizeGrip(); }
};

// Sets the toggle bits of keys for a test and puts the keyboard back after.
class TKeys {
public:
  TKeys() { GetKeyboardState(FSaved); }
  ~TKeys() { SetKeyboardState(FSaved); }
  void Set(int VirtualKey, BYTE State) {
    BYTE K[256];
    GetKeyboardState(K);
    K[VirtualKey] = State;
    SetKeyboardState(K);
  }

private:
  BYTE FSaved[256];
};

TdxStatusBarKeyboardStatePanelStyle* AddKeyboardPanel(TdxStatusBar& Bar) {
  TdxStatusBarPanel* P = Bar.Panels()->Add();
  P->SetPanelStyleClassName("TdxStatusBarKeyboardStatePanelStyle");
  return dynamic_cast<TdxStatusBarKeyboardStatePanelStyle*>(P->PanelStyle());
}

TEST(KeyboardPanel, WidthFollowsTheShownKeys) {
  TdxStatusBar Bar(nullptr);
  auto* S = AddKeyboardPanel(Bar);
  ASSERT_NE(S, nullptr);
  TdxStatusBarPanel* P = Bar.Panels()->Item(0);
  EXPECT_TRUE(P->GetFixed()) << "the keys decide the width";
  S->SetKeyboardStates({});
  EXPECT_EQ(S->GetMinWidth(), 50);
  S->SetKeyboardStates({dxksInsert});
  const int One = S->GetMinWidth();
  S->SetKeyboardStates({dxksInsert, dxksNumLock});
  const int Two = S->GetMinWidth();
  EXPECT_GT(One, 0);
  EXPECT_GT(Two, One + 2) << "a second cell and the separator between them";
  S->SetFullRect(true);
  EXPECT_EQ(S->GetMinWidth(), Two - 4) << "without own bevels each cell is 2 narrower";
  EXPECT_EQ(P->GetWidth(), S->GetMinWidth());
}

// A key shows active only while toggled on; held down without the toggle
// it stays inactive. Insert shows "OVR" when active, "INS" otherwise.
TEST(KeyboardPanel, ActiveOnlyWhileToggled) {
  TKeys Keys;
  TdxStatusBar Bar(nullptr);
  auto* S = AddKeyboardPanel(Bar);
  ASSERT_NE(S, nullptr);
  struct TCase {
    BYTE State;
    bool Active;
  };
  for (const TCase& C : {TCase{0x00, false}, TCase{0x01, true}, TCase{0x80, false}, TCase{0x81, false}}) {
    Keys.Set(VK_CAPITAL, C.State);
    EXPECT_EQ(S->IsKeyActive(dxksCapsLock), C.Active) << int(C.State);
  }
  EXPECT_EQ(S->GetInsertKeyAppearance()->GetActiveCaption(), "OVR");
  EXPECT_EQ(S->GetInsertKeyAppearance()->GetInactiveCaption(), "INS");
  EXPECT_EQ(S->GetScrollLockKeyAppearance()->GetInactiveCaption(), "SCRL");
  EXPECT_EQ(S->GetNumLockKeyAppearance()->GetInactiveFontColor(), clBtnShadow);
}

TEST(KeyboardPanel, NotifierWatchesEachKeyOnceAndReportsChanges) {
  TKeys Keys;
  TdxStatusBar Bar(nullptr);
  auto* S = AddKeyboardPanel(Bar);
  ASSERT_NE(S, nullptr);
  TdxStatusBarKeyboardStateNotifier* N = S->Notifier();
  ASSERT_EQ(N->KeyCount(), 4);
  EXPECT_EQ(N->KeyAt(0), VK_CAPITAL);
  EXPECT_EQ(N->KeyAt(3), VK_INSERT);
  N->AddKey(VK_NUMLOCK);
  ASSERT_EQ(N->KeyCount(), 4) << "added again: replaced, not doubled";
  EXPECT_EQ(N->KeyAt(3), VK_NUMLOCK);
  N->RemoveKey(VK_SCROLL);
  EXPECT_EQ(N->KeyCount(), 3);
  EXPECT_EQ(N->KeyAt(0), VK_CAPITAL);
  EXPECT_EQ(N->KeyAt(1), VK_INSERT);
  EXPECT_FALSE(N->Poll());
  Keys.Set(VK_INSERT, 0x01);
  EXPECT_TRUE(N->Poll());
  EXPECT_FALSE(N->Poll()) << "reported once";
}

// The grip answers HTBOTTOMRIGHT in the square of its size + 2 at the
// bottom right, only while it shows.
TEST(StatusBarGrip, HitTestOnlyOverAVisibleGrip) {
  TGripBar Bar(nullptr);
  Bar.SetBounds(0, 0, 300, 22);
  Bar.Grip = true;
  EXPECT_EQ(Bar.HitTestSizeGrip({299, 21}), HTBOTTOMRIGHT);
  EXPECT_EQ(Bar.HitTestSizeGrip({300 - 18, 22 - 18}), HTBOTTOMRIGHT);
  EXPECT_EQ(Bar.HitTestSizeGrip({300 - 19, 21}), HTNOWHERE);
  EXPECT_EQ(Bar.HitTestSizeGrip({10, 10}), HTNOWHERE);
  Bar.SetSizeGrip(false);
  EXPECT_EQ(Bar.HitTestSizeGrip({299, 21}), HTNOWHERE);
}

TEST(StatusBarGrip, ShowsOnlyAtTheCornerOfASizeableForm) {
  TForm Form(nullptr);
  Form.SetBorderStyle(bsSizeable);
  Form.SetClientWidth(400);
  Form.SetClientHeight(300);
  auto* Bar = new TdxStatusBar(&Form);
  Bar->SetParent(&Form);
  Bar->SetAlign(alNone);
  Bar->SetBounds(0, 280, 400, 20);
  EXPECT_TRUE(Bar->IsSizeGripVisible());
  Bar->SetBounds(0, 270, 400, 20);
  EXPECT_FALSE(Bar->IsSizeGripVisible()) << "not at the client area's bottom";
  Bar->SetBounds(0, 280, 400, 20);
  Form.SetBorderStyle(bsSingle);
  EXPECT_FALSE(Bar->IsSizeGripVisible()) << "a form that cannot be sized";
}

// The XP look needs the status theme class; without it the standard
// painter draws.
TEST(StatusBarXP, ChosenWithVisualStylesAndDrawnFromTheTheme) {
  TdxStatusBar Plain(nullptr);
  Plain.SetPaintStyle(stpsXP);
  EXPECT_EQ(Plain.Painter(), TdxStatusBarStandardPainter::Instance());
  cxtest::TThemesOn Themes;
  EXPECT_EQ(Plain.Painter(), TdxStatusBarXPPainter::Instance()) << "the theme switch re-chooses the painter";
  TGripBar Bar(nullptr);
  Bar.SetPaintStyle(stpsXP);
  ASSERT_EQ(Bar.Painter(), TdxStatusBarXPPainter::Instance());
  Bar.Grip = true;
  Bar.Panels()->Add()->SetWidth(60);
  Bar.Panels()->Add();
  TPaintBox Box(200, 22);
  Bar.PaintTo(Box.Canvas(), {0, 0, 200, 22});
  using cxtest::TTestThemeBinding;
  EXPECT_EQ(Box.Pixel(1, 0), TTestThemeBinding::PartColor(totStatus, 0, 0)) << "the themed background";
  const int Gap = 60 + 2;  // the first panel with its bevel allowance
  EXPECT_EQ(Box.Pixel(Gap, 12), TTestThemeBinding::PartColor(totStatus, 1, 0)) << "a pane part between panels";
  EXPECT_EQ(Box.Pixel(197, 20), TTestThemeBinding::PartColor(totStatus, 3, 0)) << "the gripper part";
  EXPECT_EQ(Bar.Painter()->GetSizeGripSize().cx, 13);
}

TEST(ContainerPanel, PlacesItsContainerAndItsChildOverThePanel) {
  TForm Form(nullptr);
  auto* Bar = new TdxStatusBar(&Form);
  Bar->SetParent(&Form);
  Bar->SetAlign(alNone);
  Bar->SetBounds(0, 0, 300, 22);
  TdxStatusBarPanel* P = Bar->Panels()->Add();
  P->SetPanelStyleClassName("TdxStatusBarContainerPanelStyle");
  auto* S = dynamic_cast<TdxStatusBarContainerPanelStyle*>(P->PanelStyle());
  ASSERT_NE(S, nullptr);
  TdxStatusBarContainerControl* C = S->GetContainer();
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->GetParent(), Bar);
  EXPECT_EQ(C->Owner(), &Form);
  auto* Edit = new TEdit(&Form);
  Edit->SetParent(C);
  TPaintBox Box(300, 22);
  Bar->PaintTo(Box.Canvas(), {0, 0, 300, 22});
  EXPECT_EQ(C->BoundsRect(), (TRect{1, 3, 299, 21})) << "inside the panel's bevel, below the top border";
  EXPECT_EQ(Edit->BoundsRect(), (TRect{0, 0, 298, 18})) << "AlignControl: the child fills the container";
  P->SetVisible(false);
  EXPECT_FALSE(C->GetVisible());
  // Freeing the container takes the style from its panel.
  delete C;
  EXPECT_EQ(P->PanelStyle(), nullptr);
}

const char* const StatusBarForm = R"(object StatusForm: TForm
  Left = 0
  Top = 0
  Width = 400
  Height = 300
  object StatusBar: TdxStatusBar
    Left = 0
    Top = 250
    Width = 392
    Height = 20
    Panels = <
      item
        PanelStyleClassName = 'TdxStatusBarTextPanelStyle'
        PanelStyle.AutoHint = True
        PanelStyle.Alignment = taCenter
        Fixed = False
        Text = 'Lumivex'
      end
      item
        PanelStyleClassName = 'TdxStatusBarKeyboardStatePanelStyle'
        PanelStyle.KeyboardStates = [dxksCapsLock, dxksInsert]
        PanelStyle.InsertKeyAppearance.ActiveCaption = 'OVERWRITE'
        Bevel = dxpbRaised
      end>
    PaintStyle = stpsOffice11
    SizeGrip = False
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'MS Sans Serif'
    Font.Style = []
  end
end
)";

TEST(StatusBarForm, LoadsFromAFormDescription) {
  RegisterStatusBarClasses();
  RegisterClasses({TForm::StaticClass()});
  TForm Form(nullptr);
  TextToComponent(StatusBarForm, &Form);
  auto* Bar = dynamic_cast<TdxStatusBar*>(Form.FindComponent("StatusBar"));
  ASSERT_NE(Bar, nullptr);
  EXPECT_EQ(Bar->GetPaintStyle(), stpsOffice11);
  EXPECT_EQ(Bar->Painter(), TdxStatusBarOffice11Painter::Instance());
  EXPECT_FALSE(Bar->GetSizeGrip());
  ASSERT_EQ(Bar->Panels()->Count(), 2);
  TdxStatusBarPanel* Text = Bar->Panels()->Item(0);
  auto* T = dynamic_cast<TdxStatusBarTextPanelStyle*>(Text->PanelStyle());
  ASSERT_NE(T, nullptr);
  EXPECT_TRUE(T->GetAutoHint());
  EXPECT_EQ(T->GetAlignment(), taCenter);
  EXPECT_FALSE(Text->GetFixed());
  EXPECT_EQ(Text->GetText(), "Lumivex");
  TdxStatusBarPanel* Keys = Bar->Panels()->Item(1);
  auto* K = dynamic_cast<TdxStatusBarKeyboardStatePanelStyle*>(Keys->PanelStyle());
  ASSERT_NE(K, nullptr);
  EXPECT_EQ(K->GetKeyboardStates(), (TdxStatusBarKeyboardStates{dxksCapsLock, dxksInsert}));
  EXPECT_EQ(K->GetInsertKeyAppearance()->GetActiveCaption(), "OVERWRITE");
  EXPECT_EQ(K->GetInsertKeyAppearance()->GetInactiveCaption(), "INS");
  EXPECT_EQ(Keys->GetBevel(), dxpbRaised);
  // And back out: what was read is written again.
  const AnsiString Text2 = ComponentToText(Bar);
  EXPECT_NE(Text2.find("PanelStyleClassName = 'TdxStatusBarKeyboardStatePanelStyle'"), AnsiString::npos) << Text2;
  EXPECT_NE(Text2.find("ActiveCaption = 'OVERWRITE'"), AnsiString::npos) << Text2;
}

// A state-indicator panel's lamps come from a form description and go back
// into one; each lamp's colour picks its bitmap, and a lamp changed later is
// redrawn in its new colour.
const char* const LampForm = R"(object LampForm: TForm
  Left = 0
  Top = 0
  Width = 300
  Height = 200
  object StatusBar: TdxStatusBar
    Left = 0
    Top = 150
    Width = 292
    Height = 20
    Panels = <
      item
        PanelStyleClassName = 'TdxStatusBarStateIndicatorPanelStyle'
        PanelStyle.Indicators = <
          item
            IndicatorType = sitGreen
          end
          item
            IndicatorType = sitRed
            Visible = False
          end
          item
          end>
        PanelStyle.Spacing = 6
      end>
    SizeGrip = False
  end
end
)";

TEST(StateIndicatorPanel, LampsLoadFromAFormDescriptionAndWriteBack) {
  SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources");
  RegisterStatusBarClasses();
  RegisterClasses({TForm::StaticClass()});
  TForm Form(nullptr);
  TextToComponent(LampForm, &Form);
  auto* Bar = dynamic_cast<TdxStatusBar*>(Form.FindComponent("StatusBar"));
  ASSERT_NE(Bar, nullptr);
  ASSERT_EQ(Bar->Panels()->Count(), 1);
  auto* S = dynamic_cast<TdxStatusBarStateIndicatorPanelStyle*>(Bar->Panels()->Item(0)->PanelStyle());
  ASSERT_NE(S, nullptr);
  TdxStatusBarStateIndicators* Lamps = S->GetIndicators();
  ASSERT_EQ(Lamps->Count(), 3);
  EXPECT_EQ(Lamps->Item(0)->GetIndicatorType(), sitGreen);
  EXPECT_EQ(Lamps->Item(1)->GetIndicatorType(), sitRed);
  EXPECT_FALSE(Lamps->Item(1)->GetVisible());
  EXPECT_EQ(Lamps->Item(2)->GetIndicatorType(), sitOff);
  EXPECT_EQ(S->Spacing, 6);
  const int W = Lamps->Item(0)->Bitmap()->GetWidth();
  ASSERT_GT(W, 0);
  EXPECT_EQ(S->GetMinWidth(), 6 + 2 * (W + 6));
  // Each colour its own lamp: the centre pixel of each differs.
  std::set<TColor> Centres;
  for (TdxStatusBarStateIndicatorType T : {sitOff, sitYellow, sitBlue, sitGreen, sitRed, sitTeal, sitPurple}) {
    Lamps->Item(2)->SetIndicatorType(T);
    TBitmap* B = Lamps->Item(2)->Bitmap();
    ASSERT_FALSE(B->Empty()) << int(T);
    Centres.insert(B->Canvas()->GetPixel(B->GetWidth() / 2, B->GetHeight() / 2));
  }
  EXPECT_EQ(Centres.size(), 7u);
  const AnsiString Text = ComponentToText(Bar);
  EXPECT_NE(Text.find("IndicatorType = sitGreen"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("IndicatorType = sitPurple"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("Visible = False"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("PanelStyle.Spacing = 6"), AnsiString::npos) << Text;
}

// The main window's status bar in the Office 2003 look: a text panel and a
// keyboard-state panel (Caps Lock on), the grip's dots at the corner.
TEST(StatusBarPicture, Office11LookAsReviewed) {
  TKeys Keys;
  Keys.Set(VK_CAPITAL, 0x01);
  Keys.Set(VK_NUMLOCK, 0x00);
  Keys.Set(VK_SCROLL, 0x00);
  Keys.Set(VK_INSERT, 0x00);
  cxtest::TThemesOn Themes;
  ReloadOffice11Scheme();
  {
    TGripBar Bar(nullptr);
    Bar.Grip = true;
    Bar.SetPaintStyle(stpsOffice11);
    TdxStatusBarPanel* P = Bar.Panels()->Add();
    P->SetFixed(false);
    P->SetText("Lumivex");
    AddKeyboardPanel(Bar);
    TPaintBox Box(320, 22);
    Bar.PaintTo(Box.Canvas(), {0, 0, 320, 22});
    // Texts are the font's business: only the frames, gradient, cells and
    // grip are compared.
    bptest::ExpectMatchesGolden(Box, "statusbar.png", {{4, 3, 100, 20}, {166, 3, 302, 20}});
  }
  ReloadOffice11Scheme();
}

}  // namespace
