// Static, progress, large button and control container items: their rules,
// their sizes on a toolbar and what they draw.
#include "../BarsTestSupport.h"
#include "ExtItemsTestSupport.h"

#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"

namespace {

class DrawnKindsTest : public BarsTest {};

TEST_F(DrawnKindsTest, ProgressPositionStaysInsideItsRange) {
  struct TStep {
    const char* Do;
    Integer Value, WantMin, WantMax, WantPos;
  };
  const TStep Steps[] = {
      {"Position", 10, 0, 100, 10}, {"Min", 50, 50, 100, 50},  {"Max", 20, 20, 20, 20},
      {"Position", 99, 20, 20, 20}, {"Max", 200, 20, 200, 20}, {"Position", -5, 20, 200, 20},
      {"Min", 0, 0, 200, 20},
  };
  auto* P = NewItem<TdxBarProgressItem>("Progress");
  EXPECT_EQ(P->GetBorderStyle(), sbsLowered);
  for (const TStep& S : Steps) {
    SCOPED_TRACE(std::string(S.Do) + " " + std::to_string(S.Value));
    if (std::string(S.Do) == "Position") P->SetPosition(S.Value);
    else if (std::string(S.Do) == "Min") P->SetMin(S.Value);
    else P->SetMax(S.Value);
    EXPECT_EQ(P->GetMin(), S.WantMin);
    EXPECT_EQ(P->GetMax(), S.WantMax);
    EXPECT_EQ(P->GetPosition(), S.WantPos);
  }
}

TEST_F(DrawnKindsTest, StaticSizesAndIndentsAreNeverNegative) {
  auto* S = NewItem<TdxBarStatic>("Label");
  S->SetLeftIndent(-4);
  S->SetWidth(-1);
  EXPECT_EQ(S->GetLeftIndent(), 0);
  EXPECT_EQ(S->GetWidth(), 0);
  EXPECT_FALSE(S->CanClick());
  S->SetAllowClick(true);
  EXPECT_TRUE(S->CanClick());
  struct TCase {
    TdxBarStaticBorderStyle Style;
    Integer Width;
  };
  for (const TCase& C : {TCase{sbsNone, 0}, {sbsLowered, 1}, {sbsRaised, 1}, {sbsEtched, 2}, {sbsBump, 2}}) {
    S->SetBorderStyle(C.Style);
    EXPECT_EQ(S->BorderWidth(), C.Width);
  }
}

TEST_F(DrawnKindsTest, LargeButtonKeepsItsImageIndexInStepUntilGivenItsOwn) {
  auto* B = NewItem<TdxBarLargeButton>("Large");
  B->SetLargeImageIndex(5);
  EXPECT_EQ(B->GetImageIndex(), 5);
  B->SetImageIndex(3);
  EXPECT_EQ(B->GetLargeImageIndex(), 5);
  EXPECT_FALSE(B->GetSyncImageIndex());
  B->SetLargeImageIndex(7);
  EXPECT_EQ(B->GetImageIndex(), 3);
  B->SetHeight(-3);
  EXPECT_EQ(B->GetHeight(), 0) << "a negative height is ignored";
}

TEST_F(DrawnKindsTest, OneControlCannotSitInTwoContainers) {
  auto* Edit = new TEdit(Form);
  Edit->SetName("Hosted");
  auto* A = NewItem<TdxBarControlContainerItem>("ContainerA");
  auto* B = NewItem<TdxBarControlContainerItem>("ContainerB");
  A->SetControl(Edit);
  EXPECT_THROW(B->SetControl(Edit), Exception);
  EXPECT_EQ(A->GetControl(), Edit);
  EXPECT_EQ(B->GetControl(), nullptr);
  delete Edit;
  EXPECT_EQ(A->GetControl(), nullptr) << "a freed control leaves its container";
  EXPECT_FALSE(A->CanClick());
  EXPECT_TRUE(A->IsHiddenInCommandList());
}

// ---------------------------------------------------------------------------
// On a toolbar

class DrawnKindsWindowTest : public ExtItemsWindowTest {};

TEST_F(DrawnKindsWindowTest, ItemsTakeTheirSizesAndDrawOnAToolbar) {
  Form->SetBounds(20, 40, 900, 200);
  auto* Holder = Add<TdxBarControlContainerItem>("Holder");
  auto* Large = Add<TdxBarLargeButton>("Large", "Large");
  auto* Label = Add<TdxBarStatic>("Label", "Status:");
  auto* Etched = Add<TdxBarStatic>("Etched", "Status:");
  Etched->SetBorderStyle(sbsEtched);
  auto* Progress = Add<TdxBarProgressItem>("Progress", "Done");
  Progress->SetSmooth(true);
  Progress->SetColor(clRed);
  Progress->SetPosition(50);
  auto* Empty = Add<TdxBarProgressItem>("Empty", "Empty");
  Empty->SetMax(0);  // an empty range draws nothing filled, and no fault
  Show();
  sxtest::SaveShot(Form, "barscust-drawn");

  auto* LabelC = ControlOf<TdxBarStaticControl>(Label);
  auto* EtchedC = ControlOf<TdxBarStaticControl>(Etched);
  ASSERT_NE(LabelC, nullptr);
  ASSERT_NE(EtchedC, nullptr);
  EXPECT_EQ(EtchedC->GetWidth(), LabelC->GetWidth() + 4) << "an etched border adds 2 pixels on each side";
  EXPECT_FALSE(LabelC->CanSelect()) << "not hot-tracked without AllowClick";
  Etched->SetHeight(30);
  EXPECT_EQ(EtchedC->CalcDefaultHeight(), 30) << "a fixed height as is, without the borders";

  auto* ProgressC = ControlOf<TdxBarProgressControl>(Progress);
  ASSERT_NE(ProgressC, nullptr);
  EXPECT_EQ(ProgressC->CalcDefaultWidth(),
            ProgressC->CalcContentWidth() + 152 + dxBarExtPainterOf(ProgressC)->GetProgressBarIndent());
  const TRect Bar = ProgressC->BarRect(Progress->GetLink(0)->GetItemRect());
  const Integer Mid = (Bar.Top + Bar.Bottom) / 2;
  EXPECT_EQ(Pixel({Bar.Left + 10, Mid}), clRed) << "filled up to the position";
  EXPECT_NE(Pixel({Bar.Right - 10, Mid}), clRed) << "empty beyond it";

  auto* LargeC = ControlOf<TdxBarLargeButtonControl>(Large);
  ASSERT_NE(LargeC, nullptr);
  EXPECT_EQ(LargeC->GetHeight(), 26 + Window()->Canvas()->TextHeight("Qq") + 1);
  EXPECT_EQ(LargeC->GetWidth(), std::max(30, Window()->Canvas()->TextWidth("Large") + 16));

  auto* HolderC = ControlOf<TdxBarControlContainerControl>(Holder);
  ASSERT_NE(HolderC, nullptr);
  const TRect H = Holder->GetLink(0)->GetItemRect();
  EXPECT_EQ(Pixel({H.Left, H.Top}), ColorToRGB(clBtnShadow)) << "the placeholder's frame";
}

TEST_F(DrawnKindsWindowTest, ContainerPlacesItsControlOverTheLink) {
  auto* Edit = new TEdit(Form);
  Edit->SetName("Hosted");
  Edit->SetBounds(0, 0, 90, 20);
  auto* Holder = Add<TdxBarControlContainerItem>("Holder");
  Holder->SetControl(Edit);
  Show();
  auto* C = ControlOf<TdxBarControlContainerControl>(Holder);
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->GetWidth(), 90);
  EXPECT_TRUE(C->Placed());
  EXPECT_EQ(Edit->GetParent(), Window());
  const TRect R = Holder->GetLink(0)->GetItemRect();
  EXPECT_EQ(Edit->GetLeft(), R.Left);
  EXPECT_TRUE(Edit->GetVisible());
  sxtest::SaveShot(Form, "barscust-container");
  Bar->SetVisible(false);
  Settle();
  EXPECT_EQ(Edit->GetParent(), nullptr) << "a hidden bar gives its hosted control up";
  EXPECT_FALSE(Edit->GetVisible());
}

}  // namespace
