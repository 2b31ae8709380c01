#include "platform/forms/Controls.h"

#include <gtest/gtest.h>

#include <memory>

#include "TestControls.h"

namespace {
// A parentless form gives the children a client area to lay out in.
struct TLayout {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TLayout() {
    Form->SetBorderStyle(bsNone);
    Form->SetBounds(0, 0, 200, 100);
  }
  TTestPanel* Add(TAlign Align, TRect Bounds) {
    auto* P = new TTestPanel(Form.get());
    P->SetBoundsRect(Bounds);
    P->SetAlign(Align);
    P->SetParent(Form.get());
    return P;
  }
};
}  // namespace

TEST(TControl, AlignedChildrenShareTheClientAreaInAlignmentOrder) {
  TLayout L;
  TTestPanel* Client = L.Add(alClient, {0, 0, 10, 10});
  TTestPanel* Top = L.Add(alTop, {0, 0, 10, 20});
  TTestPanel* Left = L.Add(alLeft, {0, 0, 30, 10});
  TTestPanel* Bottom = L.Add(alBottom, {0, 0, 10, 15});
  TTestPanel* Right = L.Add(alRight, {0, 0, 25, 10});
  EXPECT_EQ(Top->BoundsRect(), TRect(0, 0, 200, 20));
  EXPECT_EQ(Bottom->BoundsRect(), TRect(0, 85, 200, 100));
  EXPECT_EQ(Left->BoundsRect(), TRect(0, 20, 30, 85));
  EXPECT_EQ(Right->BoundsRect(), TRect(175, 20, 200, 85));
  EXPECT_EQ(Client->BoundsRect(), TRect(30, 20, 175, 85));

  // Resizing the parent re-lays every child out.
  L.Form->SetBounds(0, 0, 300, 200);
  EXPECT_EQ(Client->BoundsRect(), TRect(30, 20, 275, 185));
  // A hidden child gives its space back.
  Top->Hide();
  EXPECT_EQ(Client->BoundsRect(), TRect(30, 0, 275, 185));
}

TEST(TControl, TopAlignedChildrenStackInTheOrderOfTheirTops) {
  TLayout L;
  L.Form->DisableAlign();
  TTestPanel* B = L.Add(alTop, {0, 50, 10, 60});
  TTestPanel* A = L.Add(alTop, {0, 5, 10, 25});
  L.Form->EnableAlign();
  EXPECT_EQ(A->GetTop(), 0);
  EXPECT_EQ(B->GetTop(), 20);
  // Moving one below the other swaps them.
  A->SetTop(B->GetTop() + 1);
  EXPECT_EQ(B->GetTop(), 0);
  EXPECT_EQ(A->GetTop(), B->GetHeight());
}

TEST(TControl, AnchorsKeepDistancesToTheEdgesThatAreAnchored) {
  struct TCase {
    TAnchors Anchors;
    TRect Want;  // after the parent grows from 200x100 to 300x160
    const char* Why;
  } Cases[] = {
      {{akLeft, akTop}, {150, 50, 180, 70}, "default anchors keep the position"},
      {{akRight, akBottom}, {250, 110, 280, 130}, "moves with the right and bottom edges"},
      {{akLeft, akTop, akRight, akBottom}, {150, 50, 280, 130}, "stretches with both pairs"},
      {{akTop}, {233, 50, 263, 70}, "no horizontal anchor keeps the centre proportional"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TLayout L;
    TTestPanel* P = L.Add(alNone, {150, 50, 180, 70});
    P->SetAnchors(C.Anchors);
    L.Form->SetBounds(0, 0, 300, 160);
    EXPECT_EQ(P->BoundsRect(), C.Want);
  }
}

TEST(TWinControl, DisabledAlignmentWaitsForEnableAlign) {
  TLayout L;
  L.Form->DisableAlign();
  TTestPanel* Client = L.Add(alClient, {5, 5, 10, 10});
  EXPECT_EQ(Client->BoundsRect(), TRect(5, 5, 10, 10));
  L.Form->DisableAlign();
  L.Form->EnableAlign();
  EXPECT_EQ(Client->BoundsRect(), TRect(5, 5, 10, 10)) << "still one level of suspension";
  L.Form->EnableAlign();
  EXPECT_EQ(Client->BoundsRect(), TRect(0, 0, 200, 100));
}

TEST(TControl, SwitchingBetweenHorizontalAndVerticalAlignKeepsTheThickness) {
  TLayout L;
  TTestPanel* P = L.Add(alTop, {0, 0, 10, 24});
  P->SetAlign(alLeft);
  EXPECT_EQ(P->BoundsRect(), TRect(0, 0, 24, 100));
}

TEST(TControl, ParentColorAndShowHintFollowTheParentUntilSetLocally) {
  TLayout L;
  TTestPanel* Outer = L.Add(alNone, {0, 0, 50, 50});
  auto* Inner = new TTestPanel(L.Form.get());
  Inner->SetParent(Outer);
  EXPECT_EQ(Inner->GetColor(), clBtnFace) << "inherited through the panel from the form";
  Outer->SetColor(clRed);
  EXPECT_EQ(Inner->GetColor(), clRed);
  EXPECT_FALSE(Outer->GetParentColor());
  Inner->SetColor(clBlue);
  EXPECT_FALSE(Inner->GetParentColor());
  Outer->SetColor(clGreen);
  EXPECT_EQ(Inner->GetColor(), clBlue);
  Inner->SetParentColor(true);
  EXPECT_EQ(Inner->GetColor(), clGreen);

  L.Form->SetShowHint(true);
  EXPECT_TRUE(Inner->GetShowHint());
  Outer->SetShowHint(false);
  EXPECT_FALSE(Inner->GetShowHint());
}

TEST(TControl, ChangesAnnounceThemselvesWithTheirNotification) {
  struct TCase {
    void (*Change)(TTestPanel*);
    UINT Msg;
    const char* Why;
  } Cases[] = {
      {[](TTestPanel* P) { P->SetVisible(false); }, CM_VISIBLECHANGED, "visibility"},
      {[](TTestPanel* P) { P->SetEnabled(false); }, CM_ENABLEDCHANGED, "enabling"},
      {[](TTestPanel* P) { P->SetColor(clRed); }, CM_COLORCHANGED, "colour"},
      {[](TTestPanel* P) { P->SetText("x"); }, CM_TEXTCHANGED, "text"},
      {[](TTestPanel* P) { P->SetCursor(crHourGlass); }, CM_CURSORCHANGED, "cursor"},
      {[](TTestPanel* P) { P->SetTabStop(false); }, CM_TABSTOPCHANGED, "tab stop"},
      {[](TTestPanel* P) { P->SetShowHint(true); }, CM_SHOWHINTCHANGED, "hint"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TTestPanel P(nullptr);
    C.Change(&P);
    ASSERT_EQ(P.Seen.size(), 1u);
    EXPECT_EQ(P.Seen[0], C.Msg);
    P.Seen.clear();
    C.Change(&P);
    EXPECT_TRUE(P.Seen.empty()) << "setting the same value again is silent";
  }
}

namespace {
// Subclasses a control's WindowProc the way the library's users do.
class TSpy : public TObject {
public:
  explicit TSpy(TControl* C) : Target(C), Old(C->WindowProc) { C->WindowProc = TWndMethod(this, &TSpy::Hook); }
  void Hook(TMessage& M) {
    if (M.Msg == CM_MOUSEENTER) {
      M.Result = 42;
      return;
    }
    Old(M);
  }
  TControl* Target;
  TWndMethod Old;
};
}  // namespace

TEST(TControl, PerformRunsTheReplacedWindowProcBeforeDispatch) {
  TTestPanel P(nullptr);
  TSpy Spy(&P);
  EXPECT_EQ(P.Perform(CM_MOUSEENTER), 42);
  EXPECT_TRUE(P.Seen.empty()) << "the hook swallowed it";
  P.Perform(CM_MOUSELEAVE);
  ASSERT_EQ(P.Seen.size(), 1u);
  EXPECT_EQ(P.Seen[0], CM_MOUSELEAVE);
}

TEST(TWinControl, ControlsListsGraphicChildrenBeforeWindowedOnes) {
  TLayout L;
  TTestPanel* W = L.Add(alNone, {0, 0, 1, 1});
  auto* G = new TTestLabel(L.Form.get());
  G->SetParent(L.Form.get());
  ASSERT_EQ(L.Form->ControlCount(), 2);
  EXPECT_EQ(L.Form->Controls(0), G);
  EXPECT_EQ(L.Form->Controls(1), W);
  EXPECT_THROW(L.Form->Controls(2), EListError);
  delete G;
  EXPECT_EQ(L.Form->ControlCount(), 1) << "a freed child leaves its parent";
}

TEST(TWinControl, AControlCannotBecomeItsOwnAncestor) {
  TLayout L;
  TTestPanel* Outer = L.Add(alNone, {0, 0, 1, 1});
  auto* Inner = new TTestPanel(L.Form.get());
  Inner->SetParent(Outer);
  EXPECT_THROW(Outer->SetParent(Inner), EInvalidOperation);
  EXPECT_THROW(Outer->SetParent(Outer), EInvalidOperation);
  EXPECT_EQ(Outer->GetParent(), L.Form.get());
}

TEST(TWinControl, ParentWithoutOwnerFreesItsChildren) {
  auto* Outer = new TTestPanel(nullptr);
  auto* Inner = new TTestPanel(nullptr);
  Inner->SetParent(Outer);
  delete Outer;  // frees Inner; a leak or double free shows under the sanitizer
  SUCCEED();
}

TEST(TWinControl, TabOrderRenumbersSiblings) {
  TLayout L;
  TTestPanel* A = L.Add(alNone, {0, 0, 1, 1});
  TTestPanel* B = L.Add(alNone, {0, 0, 1, 1});
  TTestPanel* C = L.Add(alNone, {0, 0, 1, 1});
  C->SetTabOrder(0);
  EXPECT_EQ(C->GetTabOrder(), 0);
  EXPECT_EQ(A->GetTabOrder(), 1);
  EXPECT_EQ(B->GetTabOrder(), 2);
  A->SetTabOrder(99);  // out of range goes last
  EXPECT_EQ(A->GetTabOrder(), 2);
}

TEST(TWinControl, FindNextControlSkipsWhatCannotTakeTheFocus) {
  TLayout L;
  L.Form->SetVisible(true);
  TTestPanel* A = L.Add(alNone, {0, 0, 1, 1});
  TTestPanel* B = L.Add(alNone, {0, 0, 1, 1});
  TTestPanel* C = L.Add(alNone, {0, 0, 1, 1});
  TTestPanel* D = L.Add(alNone, {0, 0, 1, 1});
  B->SetEnabled(false);
  C->SetTabStop(false);
  auto* Nested = new TTestPanel(L.Form.get());
  Nested->SetParent(A);
  EXPECT_EQ(L.Form->FindNextControl(A, true, true, false), Nested) << "children come after their parent";
  EXPECT_EQ(L.Form->FindNextControl(Nested, true, true, false), D);
  EXPECT_EQ(L.Form->FindNextControl(D, true, true, false), A) << "wraps around";
  EXPECT_EQ(L.Form->FindNextControl(A, false, true, false), D);
  EXPECT_EQ(L.Form->FindNextControl(A, true, false, true), C) << "without tab stops, direct children only";
  D->Hide();
  EXPECT_EQ(L.Form->FindNextControl(Nested, true, true, false), A);
}

TEST(TControl, ScaleByScalesEdgesSoNeighboursStayFlush) {
  TLayout L;
  TTestPanel* A = L.Add(alNone, {3, 3, 13, 13});
  TTestPanel* B = L.Add(alNone, {13, 3, 23, 13});
  A->ScaleBy(3, 2);
  B->ScaleBy(3, 2);
  EXPECT_EQ(A->BoundsRect().Right, B->BoundsRect().Left);
  EXPECT_EQ(A->BoundsRect(), TRect(5, 5, 20, 20));
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(5, 2, 3), 3);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 3, 2), -1) << "a result beyond 32 bits fails";
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000) << "the product may exceed 32 bits";
}

TEST(TControl, ConstraintsClampEverySizeChange) {
  struct TCase {
    TRect Asked;
    TRect Want;
    const char* Why;
  } Cases[] = {
      {{0, 0, 10, 10}, {0, 0, 20, 15}, "below the minimum"},
      {{0, 0, 500, 500}, {0, 0, 100, 80}, "above the maximum"},
      {{5, 5, 55, 45}, {5, 5, 55, 45}, "inside the limits"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TLayout L;
    TTestPanel* P = L.Add(alNone, {0, 0, 30, 30});
    P->GetConstraints()->SetMinWidth(20);
    P->GetConstraints()->SetMinHeight(15);
    P->GetConstraints()->SetMaxWidth(100);
    P->GetConstraints()->SetMaxHeight(80);
    P->SetBoundsRect(C.Asked);
    EXPECT_EQ(P->BoundsRect(), C.Want);
  }
}

TEST(TControl, ConstrainedAlignedChildGivesTheRestToItsNeighbours) {
  TLayout L;
  TTestPanel* Left = L.Add(alLeft, {0, 0, 50, 10});
  TTestPanel* Client = L.Add(alClient, {0, 0, 10, 10});
  Client->GetConstraints()->SetMaxWidth(100);
  L.Form->Realign();
  EXPECT_EQ(Left->BoundsRect(), TRect(0, 0, 50, 100));
  EXPECT_EQ(Client->BoundsRect(), TRect(50, 0, 150, 100));
  // Tightening the minimum above the maximum moves the maximum along.
  Client->GetConstraints()->SetMinWidth(120);
  EXPECT_EQ(Client->GetConstraints()->GetMaxWidth(), 120);
  EXPECT_EQ(Client->GetWidth(), 120);
}

TEST(TControl, ParentFontFollowsTheParentUntilTheFontIsSetLocally) {
  TLayout L;
  TTestPanel* Outer = L.Add(alNone, {0, 0, 50, 50});
  auto* Inner = new TTestPanel(L.Form.get());
  Inner->SetParent(Outer);
  L.Form->GetFont()->SetName("Tahoma");
  L.Form->GetFont()->SetHeight(-11);
  EXPECT_EQ(Inner->GetFont()->GetName(), "Tahoma") << "through the panel";
  EXPECT_TRUE(Outer->GetParentFont());
  Inner->GetFont()->SetHeight(-20);
  EXPECT_FALSE(Inner->GetParentFont());
  L.Form->GetFont()->SetName("Arial");
  EXPECT_EQ(Outer->GetFont()->GetName(), "Arial");
  EXPECT_EQ(Inner->GetFont()->GetName(), "Tahoma") << "its own font stays";
  Inner->SetParentFont(true);
  EXPECT_EQ(Inner->GetFont()->GetName(), "Arial");
  EXPECT_EQ(Inner->GetFont()->GetHeight(), -11);
}
