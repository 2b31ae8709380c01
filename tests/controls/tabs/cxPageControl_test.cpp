// The page control on a form read from its text description (the main
// window's two page controls and their sheets), driven like a user would:
// clicks on tabs, Ctrl+Tab, Alt+accelerators, and the application's
// active-page calls.
#include <memory>
#include <string>
#include <vector>

#include "controls/ControlsWindowTest.h"
#include "controls/tabs/cxPC.h"
#include "controls/tabs/cxPCPainters.h"
#include "platform/forms/ExtCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Panels.h"
#include "platform/rtl/ClassRegistry.h"

namespace {

// The main window's page controls: the input page control with its tabs
// at the bottom, and the output page control without tabs inside its first
// page.
const char* const MainFormText = R"(object MainFormFixture: TMainFormFixture
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Sourcelux'
  ClientHeight = 360
  ClientWidth = 520
  object JzMain: TPanel
    Left = 0
    Top = 0
    Width = 520
    Height = 360
    Align = alClient
    BorderWidth = 4
    TabOrder = 0
    object cxPageControl: TcxPageControl
      Left = 5
      Top = 5
      Width = 510
      Height = 350
      ActivePage = cxTabSheet1
      Align = alClient
      LookAndFeel.Kind = lfOffice11
      TabOrder = 0
      TabPosition = tpBottom
      OnChange = cxPageControlChange
      OnPageChanging = cxPageControlPageChanging
      object cxTabSheet1: TcxTabSheet
        Caption = 'Sin&gle File'
        object JzInput: TPanel
          Left = 0
          Top = 0
          Width = 200
          Height = 200
          Align = alLeft
          TabOrder = 0
        end
        object JzOutput: TPanel
          Left = 208
          Top = 0
          Width = 290
          Height = 200
          Align = alClient
          TabOrder = 1
          object Tab_Output: TcxPageControl
            Left = 1
            Top = 1
            Width = 288
            Height = 198
            ActivePage = cxTabOutputFile
            Align = alClient
            HideTabs = True
            Style = 5
            TabOrder = 0
            OnChange = Tab_OutputChange
            object cxTabOutputFile: TcxTabSheet
              Caption = '&Output (HTML)'
            end
            object cxTabOutputPreview: TcxTabSheet
              Caption = '&Preview'
            end
          end
        end
      end
      object cxTabSheet2: TcxTabSheet
        Caption = 'M&ultiple Files'
        object JzFiles: TPanel
          Left = 0
          Top = 0
          Width = 300
          Height = 200
          Align = alClient
          TabOrder = 0
        end
      end
    end
  end
end
)";

class TMainFormFixture : public TForm {
  SX_CLASS(TMainFormFixture, TForm)
public:
  explicit TMainFormFixture(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }
  static void Published(TPublished<TMainFormFixture>& P) {
    P.Property("JzMain", &TMainFormFixture::JzMain, &TMainFormFixture::JzMain).Stored(false);
    P.Property("JzInput", &TMainFormFixture::JzInput, &TMainFormFixture::JzInput).Stored(false);
    P.Property("JzOutput", &TMainFormFixture::JzOutput, &TMainFormFixture::JzOutput).Stored(false);
    P.Property("JzFiles", &TMainFormFixture::JzFiles, &TMainFormFixture::JzFiles).Stored(false);
    P.Property("cxPageControl", &TMainFormFixture::Pages, &TMainFormFixture::Pages).Stored(false);
    P.Property("cxTabSheet1", &TMainFormFixture::Sheet1, &TMainFormFixture::Sheet1).Stored(false);
    P.Property("cxTabSheet2", &TMainFormFixture::Sheet2, &TMainFormFixture::Sheet2).Stored(false);
    P.Property("Tab_Output", &TMainFormFixture::Output, &TMainFormFixture::Output).Stored(false);
    P.Property("cxTabOutputFile", &TMainFormFixture::OutFile, &TMainFormFixture::OutFile).Stored(false);
    P.Property("cxTabOutputPreview", &TMainFormFixture::OutPreview, &TMainFormFixture::OutPreview).Stored(false);
    P.Method("cxPageControlChange", &TMainFormFixture::cxPageControlChange);
    P.Method("cxPageControlPageChanging", &TMainFormFixture::cxPageControlPageChanging);
    P.Method("Tab_OutputChange", &TMainFormFixture::Tab_OutputChange);
  }
  TPanel *JzMain = nullptr, *JzInput = nullptr, *JzOutput = nullptr, *JzFiles = nullptr;
  TcxPageControl *Pages = nullptr, *Output = nullptr;
  TcxTabSheet *Sheet1 = nullptr, *Sheet2 = nullptr, *OutFile = nullptr, *OutPreview = nullptr;

  std::vector<std::string> Events;
  bool Allow = true;
  void cxPageControlChange(TObject*) { Events.push_back("change " + std::to_string(Pages->GetActivePageNo())); }
  void cxPageControlPageChanging(TObject*, TcxTabSheet* NewPage, bool& AllowChange) {
    Events.push_back("changing " + std::to_string(NewPage ? NewPage->GetPageIndex() : -1) + " from " +
                     std::to_string(Pages->GetActivePageNo()));
    AllowChange = Allow;
  }
  void Tab_OutputChange(TObject*) { Events.push_back("output " + std::to_string(Output->GetActivePageNo())); }
};

class PageControlTest : public ControlsWindowTest {
protected:
  void SetUp() override {
    ControlsWindowTest::SetUp();
    RegisterFormsClasses();
    RegisterTabControlClasses();
    RegisterClasses({TMainFormFixture::StaticClass()});
    RegisterFormDescription("TMainFormFixture", MainFormText);
    F = std::make_unique<TMainFormFixture>(nullptr);
    F->Show();
    Pump();
  }
  void TearDown() override {
    F.reset();
    UnregisterFormDescription("TMainFormFixture");
    ControlsWindowTest::TearDown();
  }
  // The centre of a tab, in the page control's coordinates.
  TPoint TabCentre(TcxPageControl* P, int V) {
    const TRect R = P->VisibleTabs()->GetTab(V)->DisplayRect();
    return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  void AltKey(WORD Vk) {
    D().KeyDown(VK_MENU);
    D().KeyDown(Vk);
    D().KeyUp(Vk);
    D().KeyUp(VK_MENU);
    Pump();
  }
  void CtrlTab(bool Shift = false) {
    D().KeyDown(VK_CONTROL);
    if (Shift) D().KeyDown(VK_SHIFT);
    D().KeyDown(VK_TAB);
    D().KeyUp(VK_TAB);
    if (Shift) D().KeyUp(VK_SHIFT);
    D().KeyUp(VK_CONTROL);
    Pump();
  }
  std::unique_ptr<TMainFormFixture> F;
};

TEST_F(PageControlTest, TheMainWindowsDescriptionLoadsWithItsSettings) {
  TcxPageControl* P = F->Pages;
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(P->PageCount(), 2);
  EXPECT_EQ(P->GetActivePageNo(), 0);
  EXPECT_EQ(P->GetActivePage(), F->Sheet1);
  EXPECT_EQ(P->GetTabPosition(), tpBottom);
  // The Office 2003 look chooses its own style while Style stays 0.
  EXPECT_EQ(P->GetLookAndFeel()->GetKind(), lfOffice11);
  EXPECT_EQ(P->GetStyle(), 0);
  EXPECT_EQ(P->Painter()->PainterClass(), cxPCOffice11PainterClass());
  EXPECT_EQ(P->Tabs()->Get(1), "M&ultiple Files");
  EXPECT_TRUE(F->Sheet1->GetVisible());
  EXPECT_FALSE(F->Sheet2->GetVisible());
  EXPECT_TRUE(F->Events.empty());  // loading fires nothing
  // Tabs along the bottom edge; the sheet fills the frame above them.
  const TRect Tab = P->VisibleTabs()->GetTab(0)->DisplayRect();
  EXPECT_GE(Tab.Bottom, P->GetHeight() - 3);
  EXPECT_LE(F->Sheet1->GetTop() + F->Sheet1->GetHeight(), Tab.Top + 1);
  // The output control shows no tabs and no frame: its sheet fills it.
  TcxPageControl* O = F->Output;
  EXPECT_TRUE(O->GetHideTabs());
  EXPECT_EQ(O->GetStyle(), 5);
  EXPECT_EQ(O->GetActivePageNo(), 0);
  EXPECT_EQ(O->GetTabAt(10, 10), -1);
  EXPECT_EQ(F->OutFile->GetTop(), 0);
  EXPECT_EQ(F->OutFile->GetHeight(), O->GetHeight());
}

TEST_F(PageControlTest, AClickOnATabChangesThePageAfterAskingFirst) {
  TcxPageControl* P = F->Pages;
  ClickAt(P, TabCentre(P, 1));
  EXPECT_EQ(P->GetActivePageNo(), 1);
  EXPECT_TRUE(F->Sheet2->GetVisible());
  EXPECT_FALSE(F->Sheet1->GetVisible());
  EXPECT_EQ(F->Events, (std::vector<std::string>{"changing 1 from 0", "change 1"}));
  F->Events.clear();
  F->Allow = false;
  ClickAt(P, TabCentre(P, 0));
  EXPECT_EQ(P->GetActivePageNo(), 1);
  EXPECT_EQ(P->GetTabIndex(), 1);
  EXPECT_EQ(F->Events, (std::vector<std::string>{"changing 0 from 1"}));
}

TEST_F(PageControlTest, CtrlTabAndAcceleratorsSwitchPages) {
  TcxPageControl* P = F->Pages;
  F->JzInput->SetFocus();
  Pump();
  CtrlTab();
  EXPECT_EQ(P->GetActivePageNo(), 1);
  CtrlTab();  // wraps round
  EXPECT_EQ(P->GetActivePageNo(), 0);
  CtrlTab(true);
  EXPECT_EQ(P->GetActivePageNo(), 1);
  AltKey('G');
  EXPECT_EQ(P->GetActivePageNo(), 0);
  // The output control's hidden tabs answer their accelerators too.
  F->Events.clear();
  AltKey('P');
  EXPECT_EQ(F->Output->GetActivePageNo(), 1);
  EXPECT_EQ(F->Events, (std::vector<std::string>{"output 1"}));
  AltKey('U');
  EXPECT_EQ(P->GetActivePageNo(), 1);
  // With its page hidden the output control no longer takes them.
  AltKey('O');
  EXPECT_EQ(F->Output->GetActivePageNo(), 1);
}

TEST_F(PageControlTest, TheApplicationSetsAndReadsTheActivePage) {
  TcxPageControl* P = F->Pages;
  P->SetActivePageNo(1);
  EXPECT_EQ(P->GetActivePageNo(), 1);
  EXPECT_EQ(P->GetTabIndex(), 1);
  for (int Bad : {-1, 2}) {
    P->SetActivePageNo(1);
    P->SetActivePageNo(Bad);
    EXPECT_EQ(P->GetActivePageNo(), -1) << Bad;
    EXPECT_EQ(P->GetTabIndex(), -1) << Bad;
    EXPECT_FALSE(F->Sheet1->GetVisible());
    EXPECT_FALSE(F->Sheet2->GetVisible());
  }
}

TEST_F(PageControlTest, HidingOrFreeingTheActivePageMovesToTheNextOne) {
  TcxPageControl* P = F->Pages;
  auto* Third = new TcxTabSheet(F.get());
  Third->SetCaption("Third");
  Third->SetPageControl(P);
  ASSERT_EQ(P->PageCount(), 3);
  P->SetActivePageNo(1);
  // Hiding the current tab moves on to the next visible one.
  F->Sheet2->SetTabVisible(false);
  EXPECT_EQ(P->GetActivePage(), Third);
  EXPECT_EQ(P->GetTabIndex(), 2);
  // A page whose tab is hidden may still be made active: no tab is current.
  P->SetActivePage(F->Sheet2);
  EXPECT_EQ(P->GetActivePageNo(), 1);
  EXPECT_EQ(P->GetTabIndex(), -1);
  F->Sheet2->SetTabVisible(true);
  EXPECT_EQ(P->GetTabIndex(), 1);
  // Freeing the last active page wraps round to the first.
  P->SetActivePage(Third);
  delete Third;
  EXPECT_EQ(P->GetActivePage(), F->Sheet1);
  EXPECT_EQ(P->PageCount(), 2);
}

TEST_F(PageControlTest, MovingASheetKeepsItActiveAndItsTabFollows) {
  TcxPageControl* P = F->Pages;
  P->SetActivePageNo(1);
  F->Sheet2->SetPageIndex(0);
  EXPECT_EQ(P->GetActivePage(), F->Sheet2);
  EXPECT_EQ(P->GetActivePageNo(), 0);
  EXPECT_EQ(P->GetTabIndex(), 0);
  EXPECT_EQ(P->Tabs()->Get(0), "M&ultiple Files");
  try {
    F->Sheet2->SetPageIndex(5);
    ADD_FAILURE();
  } catch (EListError& E) {
    EXPECT_EQ(E.Message(), "5 is an invalid PageIndex value.  PageIndex must be between 0 and 1");
  }
}

TEST_F(PageControlTest, TheGoDialogListsEnabledTabsSortedByCaption) {
  TcxPageControl* P = F->Pages;
  for (const char* C : {"&Beta", "alpha", "Gamma", "Off"}) {
    auto* S = new TcxTabSheet(F.get());
    S->SetCaption(C);
    S->SetPageControl(P);
  }
  P->Pages(5)->SetEnabled(false);
  P->SetOptions(P->GetOptions() + TcxPCOptions{pcoSort});
  std::vector<std::string> Names;
  for (auto& [Caption, Index] : P->GoDialogEntries()) Names.push_back(Caption.c_str());
  EXPECT_EQ(Names, (std::vector<std::string>{"alpha", "&Beta", "Gamma", "M&ultiple Files", "Sin&gle File"}));
}

TEST_F(PageControlTest, TheGoDialogButtonOpensTheListAndTheChoiceBecomesCurrent) {
  TcxPageControl* P = F->Pages;
  for (int I = 0; I < 8; ++I) {
    auto* S = new TcxTabSheet(F.get());
    S->SetCaption("Page " + std::to_string(I));
    S->SetPageControl(P);
  }
  P->SetOptions(P->GetOptions() + TcxPCOptions{pcoGoDialog, pcoSort});
  Pump();
  ASSERT_TRUE(P->ShownButtons().Contains(nbGoDialog));
  const TRect B = P->Painter()->GetGoDialogButtonBounds();
  const TPoint S = At(P, {(B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2});
  F->Events.clear();
  D().MouseDown(S.X, S.Y);
  Pump();
  // The list opens on the release; the keys choose its second entry
  // ("M&ultiple Files", "Page 0", ... in caption order).
  D().MouseUp(S.X, S.Y);
  for (WORD K : {WORD(VK_DOWN), WORD(VK_DOWN), WORD(VK_RETURN)}) {
    D().KeyDown(K);
    D().KeyUp(K);
  }
  Pump();
  EXPECT_EQ(P->GetActivePageNo(), 2);
  EXPECT_FALSE(P->GoDialogShown());
  EXPECT_EQ(P->ButtonState(nbGoDialog), nbsNormal);
  ASSERT_FALSE(F->Events.empty());
  EXPECT_EQ(F->Events.back(), "change 2");
}

}  // namespace
