// The control family's small companions: child components, font listeners,
// the component base's fake links, the free notificator, the screen canvas
// and the family's cursors.
#include "ControlsWindowTest.h"
#include "controls/base/cxClasses.h"
#include "controls/base/cxControls.h"
#include "controls/base/cxGraphics.h"
#include "platform/forms/Screen.h"
#include "platform/win/Cursors.h"
#include "platform/win/Resources.h"

namespace {

class TPlainControl : public TcxControl {
public:
  explicit TPlainControl(TComponent* AOwner) : TcxControl(AOwner) {}
};

class TChild : public TcxControlChildComponent {
public:
  using TcxControlChildComponent::TcxControlChildComponent;
};

class TListener : public IcxFontListener {
public:
  std::vector<std::pair<TObject*, AnsiString>> Heard;
  TcxControl* RemoveFrom = nullptr;
  IcxFontListener* RemoveWhom = nullptr;
  void Changed(TObject* Sender, TFont* AFont) override {
    Heard.push_back({Sender, AFont->GetName()});
    if (RemoveFrom) RemoveFrom->RemoveFontListener(RemoveWhom);
  }
};

using ControlServicesTest = ControlsWindowTest;

TEST_F(ControlServicesTest, ChildComponentsFollowTheirControlAndForgetItWhenItGoes) {
  TForm Form(nullptr);
  auto* C = new TPlainControl(&Form);
  {
    TChild Owned(C, true);
    EXPECT_EQ(Owned.Owner(), &Form) << "owned by the control's owner";
    EXPECT_EQ(Owned.Control(), C);
    EXPECT_EQ(Owned.GetParentComponent(), C);
    EXPECT_TRUE(Owned.HasParent());
    C->RemoveChildComponent(&Owned);
    EXPECT_EQ(Owned.Control(), nullptr);
    EXPECT_FALSE(Owned.HasParent());
    Form.RemoveComponent(&Owned);
  }
  TChild Unowned(C, false);
  EXPECT_EQ(Unowned.Owner(), nullptr);
  // Streaming names the control as the parent.
  TChild Streamed(static_cast<TComponent*>(nullptr));
  Streamed.SetParentComponent(C);
  EXPECT_EQ(Streamed.Control(), C);
  Streamed.SetParentComponent(&Form);  // not a control of the family: nothing changes
  EXPECT_EQ(Streamed.Control(), C);
  // The control goes first: its children must not reach back to it.
  delete C;
  EXPECT_EQ(Unowned.Control(), nullptr);
  EXPECT_EQ(Streamed.Control(), nullptr);
}

TEST_F(ControlServicesTest, FontChangesReachEveryListenerInOrder) {
  TForm Form(nullptr);
  auto* C = new TPlainControl(&Form);
  C->SetParent(&Form);
  TListener A, B;
  C->AddFontListener(&A);
  C->AddFontListener(&B);
  C->GetFont()->SetName("Courier New");
  ASSERT_EQ(A.Heard.size(), 1u);
  ASSERT_EQ(B.Heard.size(), 1u);
  EXPECT_EQ(A.Heard[0].first, C);
  EXPECT_EQ(A.Heard[0].second, "Courier New");
  // A listener that takes another out while hearing the change.
  A.RemoveFrom = C;
  A.RemoveWhom = &B;
  C->GetFont()->SetSize(14);
  EXPECT_EQ(A.Heard.size(), 2u);
  EXPECT_EQ(B.Heard.size(), 1u) << "removed before its turn";
  C->RemoveFontListener(&A);
  C->GetFont()->SetSize(9);
  EXPECT_EQ(A.Heard.size(), 2u);
}

class TLinkedComponent : public TcxComponent {
public:
  using TcxComponent::TcxComponent;
  std::vector<TComponent*> Related;
  void SetDesigning() { SetState(csDesigning, true); }

protected:
  void CollectFakeLinks(std::vector<TComponent*>& AList) override { AList = Related; }
};

TEST(cxComponent, FakeLinksAreTheFirstThreeRelatedComponentsAtDesignTimeOnly) {
  TComponent Owner(nullptr);
  TComponent A(nullptr), B(nullptr), Cc(nullptr), Dd(nullptr);
  auto* L = new TLinkedComponent(&Owner);
  L->Related = {&A, &B, &Cc, &Dd};
  L->RefreshFakeLinks();
  EXPECT_EQ(L->FakeComponentLink1(), nullptr) << "run time: no links";
  L->SetDesigning();
  L->RefreshFakeLinks();
  EXPECT_EQ(L->FakeComponentLink1(), &A);
  EXPECT_EQ(L->FakeComponentLink2(), &B);
  EXPECT_EQ(L->FakeComponentLink3(), &Cc);
  L->Related = {&Dd};
  L->RefreshFakeLinks();
  EXPECT_EQ(L->FakeComponentLink1(), &Dd);
  EXPECT_EQ(L->FakeComponentLink2(), nullptr);
  // A weak link to the component learns of its end.
  TcxObjectLink* Link = AddObjectLink(L);
  delete L;
  EXPECT_EQ(Link->Target, nullptr);
  RemoveObjectLink(Link);
}

class TFreedLog : public TObject {
public:
  std::vector<TComponent*> Freed;
  void ComponentFreed(TComponent* C) { Freed.push_back(C); }
};

TEST(cxFreeNotificator, ReportsWatchedComponentsThatGo) {
  TFreedLog Log;
  TcxFreeNotificator N(nullptr);
  N.OnComponentFreed = TEvent<void(TComponent*)>(&Log, &TFreedLog::ComponentFreed);
  auto* A = new TComponent(nullptr);
  auto* B = new TComponent(nullptr);
  N.WatchComponent(A);
  N.WatchComponent(B);
  N.WatchComponent(nullptr);
  N.UnwatchComponent(B);
  delete A;
  delete B;
  ASSERT_EQ(Log.Freed.size(), 1u);
  EXPECT_EQ(Log.Freed[0], A);
}

TEST_F(ControlServicesTest, TheScreenCanvasMeasuresTextWithoutAWindow) {
  TcxScreenCanvas C;
  ASSERT_NE(C.GetDC(), nullptr);
  C.GetFont()->SetSize(10);
  const int Small = C.TextHeight("Qg");
  C.GetFont()->SetSize(20);
  EXPECT_GT(C.TextHeight("Qg"), Small);
  EXPECT_GT(C.TextWidth("Wide text"), C.TextWidth("W"));
}

TEST_F(ControlServicesTest, TheFamilysCursorsComeFromTheResources) {
  SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources");
  RegisterControlCursors();
  for (int Id = crcxDragCopy; Id <= crcxDrag; ++Id) {
    SCOPED_TRACE(ControlCursorResourceName(Id));
    EXPECT_TRUE(ProgramResourceExists(TResourceKind::Cursor, ControlCursorResourceName(Id)));
    EXPECT_NE(Screen->Cursors(Id), Screen->Cursors(crDefault));
    EXPECT_EQ(StandardCursorId(Screen->Cursors(Id)), 0) << "the family's own picture, not a standard cursor";
  }
  EXPECT_STREQ(ControlCursorResourceName(2100), "CX_DRAGCOPYCURSOR");
  EXPECT_STREQ(ControlCursorResourceName(2113), "CX_DRAGCURSOR");
  EXPECT_STREQ(ControlCursorResourceName(2114), "");
  EXPECT_EQ(Screen->Cursors(crcxHandPoint), LoadCursorA(nullptr, IDC_HAND));
  SetResourceDir("");
}

}  // namespace
