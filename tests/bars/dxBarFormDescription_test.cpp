// A bar manager read from a form description, shaped like the main window's:
// categories, items nested in the manager, groups naming their items, bars
// with links, and the values that wait for the end of loading.
#include "BarsTestSupport.h"

#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"

namespace {
const char* const MainWindowBars =
    "object MainForm: TForm\r\n"
    "  object dxBarManager: TdxBarManager\r\n"
    "    Categories.Strings = (\r\n"
    "      '(Hidden)'\r\n"
    "      'Built-in Menus'\r\n"
    "      'File'\r\n"
    "      'Edit')\r\n"
    "    MenusShowRecentItemsFirst = False\r\n"
    "    ShowShortCutInHint = True\r\n"
    "    Style = bmsOffice11\r\n"
    "    Bars = <\r\n"
    "      item\r\n"
    "        Caption = 'Menu'\r\n"
    "        DockingStyle = dsTop\r\n"
    "        IsMainMenu = True\r\n"
    "        ItemLinks = <\r\n"
    "          item\r\n"
    "            Item = FileMenu\r\n"
    "          end\r\n"
    "          item\r\n"
    "            Item = EditMenu\r\n"
    "          end>\r\n"
    "        MultiLine = True\r\n"
    "        Name = 'MenuBar'\r\n"
    "        Visible = True\r\n"
    "        WholeRow = True\r\n"
    "      end\r\n"
    "      item\r\n"
    "        Caption = 'Edit Toolbar'\r\n"
    "        DockingStyle = dsTop\r\n"
    "        ItemLinks = <\r\n"
    "          item\r\n"
    "            Item = Undo\r\n"
    "          end\r\n"
    "          item\r\n"
    "            Item = Redo\r\n"
    "          end\r\n"
    "          item\r\n"
    "            BeginGroup = True\r\n"
    "            Item = Cut\r\n"
    "          end>\r\n"
    "        Row = 1\r\n"
    "        Visible = True\r\n"
    "      end>\r\n"
    "    DockControlHeights = (\r\n"
    "      0\r\n"
    "      0\r\n"
    "      49\r\n"
    "      0)\r\n"
    "    object Undo: TdxBarButton\r\n"
    "      Caption = '&Undo'\r\n"
    "      Category = 3\r\n"
    "      ShortCut = 16474\r\n"
    "    end\r\n"
    "    object Redo: TdxBarButton\r\n"
    "      Caption = '&Redo'\r\n"
    "      Category = 3\r\n"
    "    end\r\n"
    "    object Cut: TdxBarButton\r\n"
    "      Caption = 'Cu&t'\r\n"
    "      Category = 3\r\n"
    "      Enabled = False\r\n"
    "    end\r\n"
    "    object Hidden: TdxBarButton\r\n"
    "      Caption = 'Hidden command'\r\n"
    "      Category = 0\r\n"
    "      Visible = ivNever\r\n"
    "    end\r\n"
    "    object FileMenu: TdxBarSubItem\r\n"
    "      Caption = '&File'\r\n"
    "      Category = 1\r\n"
    "    end\r\n"
    "    object EditMenu: TdxBarSubItem\r\n"
    "      Caption = '&Edit'\r\n"
    "      Category = 1\r\n"
    "    end\r\n"
    "    object dxBarGroup_Edit: TdxBarGroup\r\n"
    "      Items = (\r\n"
    "        'Undo'\r\n"
    "        'Redo'\r\n"
    "        'Cut'\r\n"
    "        'NoSuchItem')\r\n"
    "    end\r\n"
    "  end\r\n"
    "end\r\n";
}  // namespace

class FormDescriptionTest : public ::testing::Test {
protected:
  void SetUp() override {
    SetDisplay(nullptr);
    ResetWindowSystem();
    RegisterBarItems();
    RegisterClasses({TForm::StaticClass()});
    App = std::make_unique<TApplication>(nullptr);
  }
  void TearDown() override {
    App.reset();
    ResetWindowSystem();
  }
  std::unique_ptr<TApplication> App;
};

TEST_F(FormDescriptionTest, MainWindowManagerLoadsWithItemsGroupsAndBars) {
  auto* Form = new TForm(App.get());
  TextToComponent(MainWindowBars, Form);
  TdxBarManager* M = GetBarManagerOfForm(Form);
  ASSERT_NE(M, nullptr);
  EXPECT_EQ(M->GetStyle(), bmsOffice11);
  EXPECT_FALSE(M->GetMenusShowRecentItemsFirst());
  EXPECT_EQ(M->Categories()->GetCount(), 4);
  EXPECT_EQ(M->GetItemCount(), 6);
  auto* Undo = dynamic_cast<TdxBarButton*>(M->FindItemByName("undo"));
  ASSERT_NE(Undo, nullptr);
  EXPECT_EQ(Undo->BarManager(), M);
  EXPECT_EQ(Undo->GetCategory(), 3);
  EXPECT_EQ(Undo->GetShortCut(), 16474);
  EXPECT_EQ(M->FindItemByName("Hidden")->GetVisible(), ivNever);

  ASSERT_EQ(M->Bars()->Count(), 2);
  TdxBar* Menu = M->Bars()->GetItem(0);
  TdxBar* Edit = M->Bars()->GetItem(1);
  EXPECT_EQ(M->MainMenuBar(), Menu);
  EXPECT_EQ(Menu->GetName(), "MenuBar");
  EXPECT_TRUE(Menu->GetVisible());
  EXPECT_EQ(Menu->GetDockingStyle(), dsTop);
  EXPECT_EQ(Edit->GetRow(), 1);
  EXPECT_TRUE(Edit->CanReset());  // it came from the form
  ASSERT_EQ(Edit->ItemLinks()->Count(), 3);
  EXPECT_EQ(Edit->ItemLinks()->GetItem(2)->GetItem(), M->FindItemByName("Cut"));
  EXPECT_TRUE(Edit->ItemLinks()->GetItem(2)->GetBeginGroup());
  EXPECT_EQ(Edit->ItemLinks()->GetShownCount(), 3);

  ASSERT_EQ(M->GetGroupCount(), 1);
  TdxBarGroup* G = M->GetGroup(0);
  ASSERT_EQ(G->GetCount(), 3);  // the unknown name is skipped
  EXPECT_EQ(G->GetItem(0), Undo);

  // Group visibility and item enabling reach every link.
  G->SetVisible(ivNever);
  EXPECT_EQ(Edit->ItemLinks()->GetVisibleCount(), 0);
  G->SetVisible(ivAlways);
  EXPECT_EQ(Edit->ItemLinks()->GetVisibleCount(), 3);
  EXPECT_FALSE(M->FindItemByName("Cut")->GetEnabled());
  G->SetEnabled(true);
  EXPECT_TRUE(M->FindItemByName("Cut")->GetEnabled());
}
