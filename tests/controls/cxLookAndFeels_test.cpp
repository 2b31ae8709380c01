#include <gtest/gtest.h>

#include <vector>
#include "ControlsTestSupport.h"
#include "controls/lookandfeel/cxLookAndFeels.h"
#include "controls/lookandfeel/dxOffice11.h"
#include "platform/win/Win.h"

namespace {
// Records the change notifications an object sends to its owner.
struct TRecorder : TObject {
  std::vector<TcxLookAndFeelValues> Changes;
  void Changed(TcxLookAndFeel*, TcxLookAndFeelValues V) { Changes.push_back(V); }
  void Watch(TcxLookAndFeel& L) { L.OnChanged = TcxLookAndFeelChangedEvent(this, &TRecorder::Changed); }
};

// Resets the root for each test.
class LookAndFeelTest : public ::testing::Test {
protected:
  void SetUp() override { GetRootLookAndFeel()->ResetAssignedValues(); }
  void TearDown() override { GetRootLookAndFeel()->ResetAssignedValues(); }
};
}  // namespace

TEST_F(LookAndFeelTest, NewObjectFollowsTheRootAndEveryChangeReachesEveryListener) {
  TcxLookAndFeel A(nullptr), B(nullptr);
  B.SetMaster(&A);
  TRecorder RA, RB;
  RA.Watch(A);
  RB.Watch(B);
  EXPECT_EQ(A.GetKind(), lfUltraFlat);
  EXPECT_FALSE(A.GetNativeStyle());
  GetRootLookAndFeel()->SetKind(lfOffice11);
  EXPECT_EQ(A.GetKind(), lfOffice11);
  EXPECT_EQ(B.GetKind(), lfOffice11) << "through its master";
  EXPECT_EQ(RA.Changes, std::vector<TcxLookAndFeelValues>{lfvBit(lfvKind)});
  EXPECT_EQ(RB.Changes, std::vector<TcxLookAndFeelValues>{lfvBit(lfvKind)});
  EXPECT_EQ(B.GetActivePainter(), TcxOffice11LookAndFeelPainter::Instance());
}

TEST_F(LookAndFeelTest, LocallyAssignedValuesShieldTheObjectAndItsListeners) {
  TcxLookAndFeel A(nullptr), B(nullptr);
  B.SetMaster(&A);
  TRecorder RA, RB;
  RA.Watch(A);
  RB.Watch(B);
  A.SetKind(lfUltraFlat);  // what the master already says
  EXPECT_EQ(A.GetAssignedValues(), lfvBit(lfvKind));
  EXPECT_TRUE(RA.Changes.empty()) << "assigning the effective value fires nothing";
  GetRootLookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(A.GetKind(), lfUltraFlat);
  EXPECT_EQ(B.GetKind(), lfUltraFlat);
  EXPECT_TRUE(RB.Changes.empty());
  A.ResetAssignedValues();
  EXPECT_EQ(B.GetKind(), lfFlat) << "follows again once the value is unassigned";
  EXPECT_EQ(RB.Changes.size(), 1u);
}

TEST_F(LookAndFeelTest, DestroyingAMasterLeavesItsDependentsOnTheRoot) {
  TcxLookAndFeel B(nullptr);
  {
    TcxLookAndFeel A(nullptr);
    A.SetKind(lfStandard);
    B.SetMaster(&A);
    EXPECT_EQ(B.GetKind(), lfStandard);
  }
  EXPECT_EQ(B.GetMaster(), GetRootLookAndFeel());
  EXPECT_EQ(B.GetKind(), lfUltraFlat);
  GetRootLookAndFeel()->SetKind(lfFlat);
  EXPECT_EQ(B.GetKind(), lfFlat);
}

TEST_F(LookAndFeelTest, ListenerThatRemovesItselfDoesNotMakeTheNextOneBeSkipped) {
  struct TSelfRemover : TObject, IcxLookAndFeelListener {
    TcxLookAndFeel* From = nullptr;
    int Calls = 0;
    TObject* GetListenerObject() override { return this; }
    void MasterModified(TcxLookAndFeel*, TcxLookAndFeelValues) override {
      ++Calls;
      From->RemoveChangeListener(this);
    }
    void MasterDestroying(TcxLookAndFeel*) override {}
  };
  TcxLookAndFeel A(nullptr);
  TSelfRemover First;
  First.From = &A;
  A.AddChangeListener(&First);
  TcxLookAndFeel Dependent(nullptr);
  Dependent.SetMaster(&A);
  A.SetKind(lfStandard);
  EXPECT_EQ(First.Calls, 1);
  EXPECT_EQ(Dependent.GetKind(), lfStandard);
}

TEST_F(LookAndFeelTest, ControllersEditTheRootOnlyAndTheLastOneResetsIt) {
  TcxLookAndFeel A(nullptr);
  {
    TcxLookAndFeelController C1(nullptr), C2(nullptr);
    const int Before = A.ListenerCount();
    A.AddChangeListener(&C1);
    EXPECT_EQ(A.ListenerCount(), Before) << "a controller registers with the root only";
    C1.SetKind(lfStandard);
    EXPECT_EQ(A.GetKind(), lfStandard);
  }
  EXPECT_EQ(GetRootLookAndFeel()->GetAssignedValues(), 0u);
  EXPECT_EQ(A.GetKind(), lfUltraFlat);
}

TEST_F(LookAndFeelTest, NativeStyleChoosesTheThemedPainterOnlyWhileThemesAreOn) {
  TcxLookAndFeel A(nullptr);
  A.SetKind(lfFlat);
  A.SetNativeStyle(true);
  EXPECT_EQ(A.GetActivePainter(), TcxFlatLookAndFeelPainter::Instance()) << "no visual styles here";
  cxtest::TThemesOn Themes;
  EXPECT_EQ(A.GetActivePainter(), TcxWinXPLookAndFeelPainter::Instance());
  Themes.Binding->Closed.insert(u"ScrollBar");
  NotifyThemeChanged();
  EXPECT_EQ(A.GetPainterForThemeClass(totScrollBar), TcxFlatLookAndFeelPainter::Instance());
  EXPECT_EQ(A.GetPainterForThemeClass(totButton), TcxWinXPLookAndFeelPainter::Instance());
}

TEST_F(LookAndFeelTest, SystemColourChangeReloadsTheSchemeAndTellsEveryObject) {
  TcxLookAndFeel A(nullptr);
  TRecorder R;
  R.Watch(A);
  SendMessageA(SystemPaletteListenerWindow(), WM_SYSCOLORCHANGE, 0, 0);
  EXPECT_EQ(R.Changes, std::vector<TcxLookAndFeelValues>{lfvBit(lfvNativeStyle)});
  EXPECT_GT(Office11LockCount(), 0) << "the scheme lives while look-and-feel objects do";
}
