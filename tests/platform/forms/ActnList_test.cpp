#include "platform/forms/ActnList.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"

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
