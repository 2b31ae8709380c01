// The tree-view combo: a text finds its node (first depth first, letter
// case ignored), the drop-down tree chooses a node by mouse or keys (and a
// refusing OnCanSelectNode keeps it open), a deleted node is forgotten, and
// the "Select item" dialog takes a node on OK.
#include "ExtItemsTestSupport.h"

#include "../../support/FormInput.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/VirtualKeys.h"

namespace {

class TreeComboTest : public ExtItemsWindowTest {
protected:
  void SetUp() override {
    ExtItemsWindowTest::SetUp();
    Combo = Add<TdxBarTreeViewCombo>("Tree", "Tree");
    TTreeNodes* N = Combo->GetItems();
    Fruit = N->Add(nullptr, "Fruit");
    Apple = N->AddChild(Fruit, "Apple");
    N->AddChild(Fruit, "Pear");
    Veg = N->Add(nullptr, "Vegetables");
    AppleTwo = N->AddChild(Veg, "apple");
    N->AddChild(Veg, "Leek");
    Show();
  }
  struct TChanges : TObject {
    int Count = 0;
    void Changed(TObject*) { ++Count; }
  } Changes;
  TdxBarTreeViewCombo* Combo = nullptr;
  TTreeNode *Fruit = nullptr, *Apple = nullptr, *Veg = nullptr, *AppleTwo = nullptr;
};

TEST_F(TreeComboTest, ATextFindsTheFirstNodeDepthFirstIgnoringCase) {
  struct TCase {
    const char* Text;
    TTreeNode* Node;
  };
  const TCase Cases[] = {
      {"APPLE", Apple},  // the first branch that has it, whatever the case
      {"Vegetables", Veg},
      {"Plum", nullptr},  // no node: the text still shows
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    Combo->SetText(C.Text);
    EXPECT_EQ(Combo->GetText(), C.Text);
    EXPECT_EQ(Combo->GetSelectedNode(), C.Node);
  }
  Combo->SetDropDownWidth(50);
  Combo->SetDropDownHeight(500);
  EXPECT_EQ(Combo->GetDropDownWidth(), 100);
  EXPECT_EQ(Combo->GetDropDownHeight(), 500);
}

TEST_F(TreeComboTest, ChoosingANodeSetsTheTextOnceAndDeletingItForgetsIt) {
  Combo->OnChange = TNotifyEvent(&Changes, &TChanges::Changed);
  Combo->SetSelectedNode(AppleTwo);
  EXPECT_EQ(Combo->GetText(), "apple");
  EXPECT_EQ(Changes.Count, 1);
  Combo->GetItems()->Delete(AppleTwo);
  EXPECT_EQ(Combo->GetSelectedNode(), nullptr);
  EXPECT_EQ(Combo->GetText(), "apple") << "the text stays";
}

TEST_F(TreeComboTest, TheDropDownChoosesByKeysAndARefusalKeepsItOpen) {
  Combo->SetChooseByDblClick(false);
  Combo->SetFullExpand(true);
  auto* Ctl = ControlOf<TdxBarTreeViewComboControl>(Combo);
  ASSERT_NE(Ctl, nullptr);
  // A press on the combo's button drops the tree down under the box.
  const TRect R = Combo->GetLink(0)->GetItemRect();
  const TPoint Button = AtClient({R.Right - 4, (R.Top + R.Bottom) / 2});
  HeadlessDisplay().Click(Button.X, Button.Y);
  Settle();
  ASSERT_TRUE(Combo->DroppedDown());
  TRect TR;
  GetWindowRect(Combo->GetDropDownWindow(), &TR);
  EXPECT_GE(TR.Top, Window()->ClientToScreen({0, R.Bottom}).Y - 1);
  Settle();
  TRect Shot{0, 0, 700, 400};
  HeadlessDisplay().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/barsext-treecombo-dropdown.png", &Shot);
  // A refusing handler keeps the drop-down and the old node.
  struct TRefuse : TObject {
    void Can(TdxBarTreeViewCombo*, TTreeNode*, bool& Can) { Can = false; }
  } Refuse;
  Combo->OnCanSelectNode = TdxBarTreeViewComboCanSelectNodeEvent(&Refuse, &TRefuse::Can);
  ASSERT_NE(Ctl->EditWindow(), nullptr);
  Ctl->EditWindow()->SetFocus();
  sxtest::Key(VK_DOWN);  // Fruit -> Apple
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_TRUE(Combo->DroppedDown());
  EXPECT_EQ(Combo->GetSelectedNode(), nullptr);
  Combo->OnCanSelectNode = nullptr;
  // Down moves on, Enter chooses: the drop-down closes with the node.
  sxtest::Key(VK_DOWN);  // Apple -> Pear
  sxtest::Key(VK_RETURN);
  Settle();
  EXPECT_FALSE(Combo->DroppedDown());
  EXPECT_EQ(Combo->GetText(), "Pear");
  EXPECT_EQ(Combo->GetSelectedNode(), Fruit->GetFirstChild()->GetNextSibling());
}

TEST_F(TreeComboTest, TheSelectItemDialogTakesTheChosenNode) {
  Combo->SetText("Pear");
  HeadlessDisplay().SetIdleHandler([] {
    TCustomForm* F = Screen->ActiveForm();
    if (!F || F->GetCaption() != "Select item") return false;
    HeadlessDisplay().SetIdleHandler(nullptr);
    for (Integer I = 0; I < F->ComponentCount(); ++I)
      if (auto* T = dynamic_cast<TTreeView*>(F->Components(I))) {
        EXPECT_EQ(T->GetSelected()->GetText(), "Pear") << "the dialog starts on the combo's node";
        T->SetSelected(T->GetItems()->Item(4));  // "apple", under Vegetables
      }
    F->SetModalResult(mrOk);
    return true;
  });
  EXPECT_TRUE(Combo->RunSelectDialog());
  EXPECT_EQ(Combo->GetText(), "apple");
  EXPECT_EQ(Combo->GetSelectedNode(), Apple) << "the text names the first node that carries it";
}

}  // namespace
