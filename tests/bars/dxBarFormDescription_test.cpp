// A bar manager read from a form description, shaped like the main window's:
// categories, items nested in the manager, groups naming their items, bars
// with links, and the values that wait for the end of loading.
#include "BarsTestSupport.h"

#include "platform/forms/FormLoader.h"
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

// The copy of the manager as designed (what bar and usage resets compare
// with) comes from the form's own description: its event bindings are left
// out, since the copy has no handlers, but every value is kept, those whose
// names merely start with "On" included, and the stored layout is not read
// into it.
TEST_F(FormDescriptionTest, DesignedCopyKeepsEveryValueButTheEventsAndSkipsTheStoredLayout) {
  char Tmpl[] = "/tmp/sx_barscopy_XXXXXX";
  const std::string Dir = ::mkdtemp(Tmpl);
  const std::string Ini = Dir + "/Layout.ini";
  const AnsiString Description =
      "object MainForm: TForm\r\n"
      "  Left = 10\r\n"
      "  Top = 10\r\n"
      "  Width = 500\r\n"
      "  Height = 300\r\n"
      "  object dxBarManager: TdxBarManager\r\n"
      "    Categories.Strings = (\r\n"
      "      'Default')\r\n"
      "    IniFileName = '" + Ini + "'\r\n"
      "    StoreInIniFile = True\r\n"
      "    OnClickItem = MainFormClickItem\r\n"
      "    Bars = <\r\n"
      "      item\r\n"
      "        Caption = 'Tools'\r\n"
      "        DockingStyle = dsTop\r\n"
      "        ItemLinks = <\r\n"
      "          item\r\n"
      "            Item = Online\r\n"
      "          end>\r\n"
      "        Visible = True\r\n"
      "      end\r\n"
      "      item\r\n"
      "        Caption = 'Extras'\r\n"
      "        DockingStyle = dsTop\r\n"
      "        OneOnRow = True\r\n"
      "        Row = 2\r\n"
      "      end>\r\n"
      "    object Online: TdxBarButton\r\n"
      "      Caption = 'On line'\r\n"
      "      Category = 0\r\n"
      "      OnClick = OnlineClick\r\n"
      "    end\r\n"
      "  end\r\n"
      "end\r\n";
  RegisterFormDescription("TForm", Description);

  auto* Form = new TForm(App.get());
  Form->SetName("MainForm");
  auto* M = new TdxBarManager(Form);
  M->SetName("dxBarManager");
  // A stored layout that hides the bar: the copy must not read it.
  TdxBar* Tools = M->Bars()->Add();
  Tools->SetCaption("Tools");
  Tools->SetVisible(false);
  M->SaveToIniFile(Ini.c_str());

  std::unique_ptr<TForm> Copy = M->CreateDesignedCopy();
  ASSERT_NE(Copy, nullptr);
  TdxBarManager* C = GetBarManagerOfForm(Copy.get());
  ASSERT_NE(C, nullptr);
  EXPECT_NE(C, M);
  EXPECT_FALSE(C->GetStoreInIniFile());
  EXPECT_EQ(Copy->GetWidth(), 500);
  ASSERT_EQ(C->Bars()->Count(), 2);
  TdxBar* Model = C->Bars()->GetItem(0);
  EXPECT_TRUE(C->Bars()->GetItem(1)->GetOneOnRow());
  EXPECT_EQ(C->Bars()->GetItem(1)->GetRow(), 2);
  EXPECT_TRUE(Model->GetVisible()) << "the stored layout was read into the copy";
  ASSERT_EQ(Model->ItemLinks()->Count(), 1);
  EXPECT_EQ(Model->ItemLinks()->GetItem(0)->GetItem()->GetCaption(), "On line");
  Copy.reset();
  EXPECT_EQ(GetBarManagerOfForm(Form), M);

  // A manager the description does not hold, and a class without one.
  M->SetName("OtherManager");
  EXPECT_EQ(M->CreateDesignedCopy(), nullptr);
  UnregisterFormDescription("TForm");
  M->SetName("dxBarManager");
  EXPECT_EQ(M->CreateDesignedCopy(), nullptr);
  std::filesystem::remove_all(Dir);
}

// Reset puts a bar's links back as the form's description has them, with
// the form's own items (not the copy's), and fires its events around it;
// a bar the description does not hold is left alone.
TEST_F(FormDescriptionTest, ResetBringsBackTheDesignedLinksWithTheFormsItems) {
  const AnsiString Description =
      "object MainForm: TForm\r\n"
      "  object dxBarManager: TdxBarManager\r\n"
      "    Categories.Strings = (\r\n"
      "      'Default')\r\n"
      "    Bars = <\r\n"
      "      item\r\n"
      "        Caption = 'Edit'\r\n"
      "        ItemLinks = <\r\n"
      "          item\r\n"
      "            Item = Undo\r\n"
      "          end\r\n"
      "          item\r\n"
      "            BeginGroup = True\r\n"
      "            Item = Cut\r\n"
      "          end>\r\n"
      "      end>\r\n"
      "    object Undo: TdxBarButton\r\n"
      "      Caption = '&Undo'\r\n"
      "      Category = 0\r\n"
      "    end\r\n"
      "    object Cut: TdxBarButton\r\n"
      "      Caption = 'Cu&t'\r\n"
      "      Category = 0\r\n"
      "    end\r\n"
      "    object Paste: TdxBarButton\r\n"
      "      Caption = '&Paste'\r\n"
      "      Category = 0\r\n"
      "    end\r\n"
      "  end\r\n"
      "end\r\n";
  RegisterFormDescription("TForm", Description);
  auto* Form = new TForm(App.get());
  TextToComponent(Description, Form);
  TdxBarManager* M = GetBarManagerOfForm(Form);
  ASSERT_NE(M, nullptr);
  TdxBar* Edit = M->Bars()->GetItem(0);
  TdxBarItem* Undo = M->FindItemByName("Undo");
  TdxBarItem* Cut = M->FindItemByName("Cut");
  // The user's changes: Undo removed, Paste added.
  Edit->ItemLinks()->Delete(0);
  Edit->ItemLinks()->AddItem(M->FindItemByName("Paste"));
  struct TLog : TObject {
    std::vector<std::string> Events;
    void Before(TdxBarManager*, TdxBar*) { Events.push_back("before"); }
    void After(TdxBarManager*, TdxBar*) { Events.push_back("after"); }
  } Log;
  M->OnBarBeforeReset = TdxBarEvent(&Log, &TLog::Before);
  M->OnBarAfterReset = TdxBarEvent(&Log, &TLog::After);
  Edit->Reset();
  EXPECT_EQ(Log.Events, (std::vector<std::string>{"before", "after"}));
  ASSERT_EQ(Edit->ItemLinks()->Count(), 2);
  EXPECT_EQ(Edit->ItemLinks()->GetItem(0)->GetItem(), Undo) << "the form's own item, not the copy's";
  EXPECT_EQ(Edit->ItemLinks()->GetItem(1)->GetItem(), Cut);
  EXPECT_TRUE(Edit->ItemLinks()->GetItem(1)->GetBeginGroup());
  EXPECT_FALSE(M->ComponentState().Contains(csUpdating));

  TdxBar* Extra = M->Bars()->Add();
  Extra->SetCaption("Extra");
  Extra->ItemLinks()->AddItem(Cut);
  Extra->Reset();
  EXPECT_EQ(Extra->ItemLinks()->Count(), 1) << "no model at its index";
  EXPECT_EQ(Log.Events.size(), 2u);
  UnregisterFormDescription("TForm");
  Edit->ItemLinks()->Delete(0);
  Edit->Reset();
  EXPECT_EQ(Edit->ItemLinks()->Count(), 1) << "without a description nothing happens";
}
