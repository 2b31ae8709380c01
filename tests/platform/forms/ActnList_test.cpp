#include "platform/forms/ActnList.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/forms/ScreenCanvas.h"
#include "platform/rtl/ClassRegistry.h"
#include "TestControls.h"
#include "platform/rtl/ObjectText.h"
#include "platform/rtl/TypInfo.h"

namespace {
// A client that shows what its action tells it.
struct TTestLink : TActionLink {
  using TActionLink::TActionLink;
  AnsiString Caption;
  bool Enabled = true;
  bool Checked = false;
  void SetCaption(const AnsiString& V) override { Caption = V; }
  void SetEnabled(bool V) override { Enabled = V; }
  void SetChecked(bool V) override { Checked = V; }
  bool IsCheckedLinked() override { return false; }  // this client keeps its own check
};

struct TLog : TObject {
  std::vector<AnsiString> Lines;
  bool ListHandles = false;
  void Execute(TObject*) { Lines.push_back("action"); }
  void Update(TObject*) { Lines.push_back("update"); }
  void ListExecute(TBasicAction*, bool& Handled) {
    Lines.push_back("list");
    Handled = ListHandles;
  }
};

class TActionOwner : public TComponent {
  SX_CLASS(TActionOwner, TComponent)
public:
  using TComponent::TComponent;
  static void Published(TPublished<TActionOwner>&) {}
  // As a form: the owned components without a parent are its children.
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override {
    (void)Root;
    for (Integer I = 0; I < ComponentCount(); ++I)
      if (!Components(I)->HasParent()) Proc(Components(I));
  }
};
}  // namespace

TEST(TCustomAction, ClientsFollowTheLinkedProperties) {
  TComponent Owner(nullptr);
  auto* A = new TAction(&Owner);
  A->SetCaption("&Open");
  TTestLink Link(nullptr);
  Link.SetAction(A);
  EXPECT_EQ(Link.Caption, "&Open") << "joining takes the action's state";
  A->SetEnabled(false);
  A->SetChecked(true);
  EXPECT_FALSE(Link.Enabled);
  EXPECT_FALSE(Link.Checked) << "not linked for this client";
  EXPECT_EQ(A->ClientCount(), 1);
  delete A;
  EXPECT_EQ(Link.GetAction(), nullptr) << "a freed action lets its clients go";
}

TEST(TCustomAction, ExecuteAsksTheListThenItsHandlerAndNeverWhenDisabled) {
  TComponent Owner(nullptr);
  auto* List = new TActionList(&Owner);
  auto* A = new TAction(&Owner);
  A->SetActionList(List);
  TLog Log;
  A->OnExecute = TNotifyEvent(&Log, &TLog::Execute);
  A->OnUpdate = TNotifyEvent(&Log, &TLog::Update);
  List->OnExecute = TActionEvent(&Log, &TLog::ListExecute);
  EXPECT_TRUE(A->Execute());
  EXPECT_EQ(Log.Lines, (std::vector<AnsiString>{"update", "list", "action"}));
  Log.Lines.clear();
  Log.ListHandles = true;
  EXPECT_TRUE(A->Execute());
  EXPECT_EQ(Log.Lines, (std::vector<AnsiString>{"update", "list"})) << "the list handled it";
  Log.Lines.clear();
  A->SetEnabled(false);
  EXPECT_FALSE(A->Execute());
  EXPECT_EQ(Log.Lines, (std::vector<AnsiString>{"update"}));
  EXPECT_EQ(List->ActionCount(), 1);
  delete A;
  EXPECT_EQ(List->ActionCount(), 0);
}

TEST(TActionList, ActionsNestInTheFormDescription) {
  RegisterClasses({TActionList::StaticClass(), TAction::StaticClass()});
  TActionOwner Owner(nullptr);
  auto* List = new TActionList(&Owner);
  List->SetName("Actions");
  for (const char* N : {"OpenCmd", "SaveCmd"}) {
    auto* A = new TAction(&Owner);
    A->SetName(N);
    A->SetCaption(AnsiString("&") + N);
    A->SetShortCut(0x4000 | 'O');
    A->SetActionList(List);
  }
  const AnsiString Text = ComponentToText(&Owner);
  const size_t ListAt = Text.find("  object Actions: TActionList");
  ASSERT_NE(ListAt, AnsiString::npos) << Text;
  EXPECT_EQ(Text.find("    object OpenCmd: TAction"), Text.find("\n", ListAt) + 1) << "nested in the list";
  TActionOwner Copy(nullptr);
  TextToComponent(Text, &Copy);
  auto* L = dynamic_cast<TActionList*>(Copy.FindComponent("Actions"));
  ASSERT_NE(L, nullptr);
  ASSERT_EQ(L->ActionCount(), 2);
  EXPECT_EQ(L->Actions(1)->GetName(), "SaveCmd");
  EXPECT_EQ(L->Actions(1)->GetCaption(), "&SaveCmd");
  EXPECT_EQ(L->Actions(0)->GetShortCut(), 0x4000 | 'O');
}

// A control linked to an action: its caption, enabled state, hint and
// visibility follow the action, its click runs it, and the link goes when
// the action does.
TEST(TControlAction, ControlFollowsItsActionAndClickRunsIt) {
  TActionOwner Owner(nullptr);
  TLog Log;
  auto* A = new TAction(&Owner);
  A->SetCaption("&Open");
  A->SetHint("Opens a file");
  A->OnExecute = TNotifyEvent(&Log, &TLog::Execute);
  auto* B = new TTestButton(&Owner);
  B->SetAction(A);
  EXPECT_EQ(B->GetAction(), A);
  EXPECT_EQ(B->GetCaption(), "&Open");
  EXPECT_EQ(B->GetHint(), "Opens a file");
  A->SetCaption("&Open...");
  A->SetEnabled(false);
  A->SetVisible(false);
  EXPECT_EQ(B->GetCaption(), "&Open...");
  EXPECT_FALSE(B->GetEnabled());
  EXPECT_FALSE(B->GetVisible());
  A->SetEnabled(true);
  B->Click();
  EXPECT_EQ(Log.Lines, std::vector<AnsiString>{"action"});
  // A handler of the control's own takes the click instead.
  TLog Own;
  B->OnClick = TNotifyEvent(&Own, &TLog::Update);
  B->Click();
  EXPECT_EQ(Own.Lines, std::vector<AnsiString>{"update"});
  EXPECT_EQ(Log.Lines.size(), 1u);
  delete A;
  EXPECT_EQ(B->GetAction(), nullptr) << "the link went with the action";
  B->Click();   // and clicking does not reach the freed action
  EXPECT_EQ(Own.Lines.size(), 2u);
}

// The description names the action; a caption the description gives the
// control is kept, an empty one comes from the action.
TEST(TControlAction, DescriptionLinksTheActionKeepingWhatTheControlSets) {
  RegisterClasses({TAction::StaticClass(), TTestButton::StaticClass()});
  TActionOwner Owner(nullptr);
  TextToComponent("object TActionOwner\n"
                  "  object SaveCmd: TAction\n    Caption = '&Save'\n    Hint = 'Saves'\n  end\n"
                  "  object Plain: TTestButton\n    Action = SaveCmd\n  end\n"
                  "  object Own: TTestButton\n    Action = SaveCmd\n    Hint = 'Mine'\n  end\n"
                  "end\n",
                  &Owner);
  auto* Plain = dynamic_cast<TControl*>(Owner.FindComponent("Plain"));
  auto* Own = dynamic_cast<TControl*>(Owner.FindComponent("Own"));
  ASSERT_TRUE(Plain && Own);
  EXPECT_EQ(Plain->GetAction(), Owner.FindComponent("SaveCmd"));
  EXPECT_EQ(Plain->GetHint(), "Saves");
  EXPECT_EQ(Own->GetHint(), "Mine");
  EXPECT_EQ(GetPropText(Plain, "Action"), "SaveCmd") << "written back by name";
}

TEST(TScreenCanvas, MeasuresTextWithoutAWindowAndGivesTheDcBack) {
  TScreenCanvas C;
  C.Font()->SetName("Tahoma");
  C.Font()->SetHeight(-11);
  const Integer W = C.TextWidth("Measure me");
  EXPECT_GT(W, 20);
  EXPECT_EQ(C.TextHeight("Xg") > 5, true);
  C.FreeHandle();
  EXPECT_EQ(C.TextWidth("Measure me"), W) << "the DC is taken again on use";
}
