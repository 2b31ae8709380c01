#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "editor/options/MemoEnvOptions.h"

namespace {

// The global options load from the per-user store: keep it out of the
// user's own configuration.
const bool StoreIsolated = [] {
  const auto Dir = std::filesystem::temp_directory_path() / ("sx_memoenv_" + std::to_string(::getpid()));
  std::filesystem::create_directories(Dir);
  ::setenv("XDG_CONFIG_HOME", Dir.c_str(), 1);
  return true;
}();

class TCounter : public TOptionsListener {
public:
  int Count = 0;
  void OptionsChanged() override { ++Count; }
};

}  // namespace

TEST(TMemoEnvOptions, GlobalInstanceStartsWithTheDefaultsAndSendsNothing) {
  ASSERT_TRUE(StoreIsolated);
  TCounter C;
  AddOptionListener(&C);
  TMemoEnvOptions* O = GetMemoEnvOptions();
  EXPECT_EQ(C.Count, 0);
  EXPECT_EQ(O->GetOptions(), (TMemoOptions{moDrawMargin, moDrawGutter, moThumbTracking, moColorSyntax}));
  EXPECT_EQ(O->GetKeyMapping(), "Default");
  EXPECT_EQ(O->GetMarginPos(), 80);
  EXPECT_EQ(O->GetGutterWidth(), 32);
  EXPECT_EQ(O->GetFont()->GetName(), "Courier New");
  EXPECT_EQ(O->GetFont()->GetSize(), 10);
  EXPECT_EQ(O->GetFont()->GetColor(), clBlack);
  EXPECT_EQ(O->GetColor(), clWindow);
  EXPECT_EQ(O->GetTextStyles()->Count(), TTextStyles::DefaultStyleCount);
  EXPECT_EQ(O->GetGutterBrush()->GetColor(), clBtnFace);
  EXPECT_EQ(O->GetMarginPen()->GetColor(), clGrayText);
  // Schemes that follow the editor options now see these styles.
  TGlobalTextLook Look;
  ASSERT_TRUE(GetGlobalTextLook(Look));
  EXPECT_EQ(Look.Styles, O->GetTextStyles());
  RemoveOptionListener(&C);
}

TEST(TMemoEnvOptions, ChangesReachEachListenerOnceAndCopiesSendNothing) {
  TMemoEnvOptions* O = GetMemoEnvOptions();
  TCounter C;
  AddOptionListener(&C);
  AddOptionListener(&C);
  O->SetMarginPos(O->GetMarginPos() + 1);
  EXPECT_EQ(C.Count, 1);
  O->SetMarginPos(O->GetMarginPos());
  EXPECT_EQ(C.Count, 1) << "an unchanged value sends nothing";
  auto Copy = CreateOptions<TMemoEnvOptions>();
  Copy->SetColor(clYellow);
  EXPECT_EQ(C.Count, 1);
  RemoveOptionListener(&C);
  O->SetMarginPos(80);
  EXPECT_EQ(C.Count, 1);
}

TEST(TMemoEnvOptions, WidePenIsNarrowedToTwo) {
  TMemoEnvOptions* O = GetMemoEnvOptions();
  TPen Wide;
  Wide.SetWidth(5);
  O->SetMarginPen(&Wide);
  EXPECT_EQ(O->GetMarginPen()->GetWidth(), 2);
}

TEST(TMemoEnvOptions, OnlyEditorsThatUseGlobalOptionsFollowThem) {
  TMemoEnvOptions* O = GetMemoEnvOptions();
  TDCMemo Own(nullptr), Follower(nullptr);
  Own.SetColor(clAqua);
  Follower.SetUseGlobalOptions(true);
  O->SetColor(clYellow);
  EXPECT_EQ(Follower.GetColor(), clYellow);
  EXPECT_EQ(Own.GetColor(), clAqua);
  Own.SetUseGlobalOptions(true);
  EXPECT_EQ(Own.GetColor(), clYellow) << "switching on applies at once";
  O->SetColor(clWindow);
}

TEST(TMemoEnvOptions, EveryOptionTheEditorHasReachesAFollowingEditor) {
  TMemoEnvOptions* O = GetMemoEnvOptions();
  TDCMemo Follower(nullptr);
  Follower.SetUseGlobalOptions(true);
  O->SetKeyMapping("Classic");
  O->SetMarginPos(72);
  O->SetGutterWidth(40);
  O->GetGutterBrush()->SetColor(clTeal);
  O->GetMarginPen()->SetColor(clRed);
  O->SetUseMonoFont(false);
  O->SetReadOnlyColor(clSilver);
  EXPECT_EQ(Follower.GetKeyMapping(), "Classic");
  EXPECT_EQ(Follower.GetMarginPos(), 72);
  EXPECT_EQ(Follower.GetGutterWidth(), 40);
  EXPECT_EQ(Follower.GetGutterBrush()->GetColor(), clTeal);
  EXPECT_EQ(Follower.GetMarginPen()->GetColor(), clRed);
  EXPECT_FALSE(Follower.GetUseMonoFont());
  EXPECT_EQ(Follower.GetReadOnlyColor(), clSilver);
  // Back to the defaults for the other tests of this program.
  O->SetKeyMapping("Default");
  O->SetMarginPos(80);
  O->SetGutterWidth(32);
  O->GetGutterBrush()->SetColor(clBtnFace);
  O->GetMarginPen()->SetColor(clGrayText);
  O->SetUseMonoFont(true);
  O->SetReadOnlyColor(clWindow);
}
