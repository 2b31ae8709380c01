#include "editor/view/TextStyles.h"
#include "platform/rtl/Component.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include "support/TestFiles.h"

namespace {

// An editor as far as its style set sees it.
class TFakeMemo : public TComponent, public TTextStylesHost {
public:
  TFakeMemo() : TComponent(nullptr) {
    Font.SetName("Courier New");
    Font.SetSize(14);
    Font.SetColor(clNavy);
  }
  TColor StylesMemoColor() override { return Color; }
  TFont* StylesMemoFont() override { return &Font; }
  void StylesApplyMemoColors(TUpdateMemoColors Kind, TColor Text, TColor Back) override {
    Applied.push_back({Kind, Text, Back});
  }
  bool StylesMonospacedLayout() override { return Monospaced; }
  void StylesReparse() override { ++Reparses; }
  void StylesUpdated(bool Reparse) override {
    ++Updates;
    if (Reparse) ++Reparses;
  }

  struct TApplied {
    TUpdateMemoColors Kind;
    TColor Text, Back;
  };
  TColor Color = clYellow;
  TFont Font;
  bool Monospaced = false;
  Integer Reparses = 0, Updates = 0;
  std::vector<TApplied> Applied;
};

std::string TempName(const char* Stem) {
  return std::filesystem::temp_directory_path() / (std::string("sx_styles_") + std::to_string(getpid()) + Stem);
}

using sxtest::ReadFile;

TEST(TTextStyles, DefaultSetHasTheTwentyFiveStylesInIndexOrder) {
  struct TRow { Integer Index; const char* Name; TColor Font; TFontStyles Style; TColor Back; bool UseMemoColor; TUpdateMemoColors Update; };
  const TRow Rows[] = {
      {0, "Whitespace", clBlack, {}, clWindow, true, mcNone},
      {2, "Comment", clGray, {fsItalic}, clWindow, true, mcNone},
      {6, "Reserved words", clBlue, {fsBold}, clWindow, true, mcNone},
      {10, "Html tags", clBlue, {}, clWindow, true, mcNone},
      {11, "Html params", clBlue, {}, clWindow, true, mcNone},
      {12, "Url", clBlue, {fsUnderline}, clWindow, true, mcNone},
      {13, "BreakPoint", clWindow, {}, clRed, false, mcNone},
      {15, "Marked Block", clWhite, {}, clNavy, false, mcSelection},
      {16, "Search Match", clLime, {}, clBlack, false, mcSearchMatch},
      {24, "Script ResWord", clBlack, {fsBold}, clWindow, true, mcNone},
  };
  TTextStyles Styles(nullptr);
  Styles.SetDefaultStyles();
  ASSERT_EQ(Styles.Count(), 25);
  for (const TRow& R : Rows) {
    SCOPED_TRACE(R.Name);
    TTextStyle* S = Styles.GetItem(R.Index);
    EXPECT_EQ(S->GetName(), R.Name);
    EXPECT_EQ(S->GetFont()->GetColor(), R.Font);
    EXPECT_TRUE(S->GetFont()->GetStyle() == R.Style);
    EXPECT_EQ(S->GetColor(), R.Back);
    EXPECT_EQ(S->GetBrush()->GetColor(), R.Back);
    EXPECT_EQ(S->GetUseMemoColor(), R.UseMemoColor);
    EXPECT_FALSE(S->GetUseMemoFont());
    EXPECT_EQ(S->GetUpdateMemoColors(), R.Update);
  }
  // A second call rebuilds rather than appends.
  Styles.SetDefaultStyles();
  EXPECT_EQ(Styles.Count(), 25);
}

TEST(TTextStyle, UseMemoColorIsRefusedWhileTheStyleDrivesEditorColours) {
  TTextStyles Styles(nullptr);
  Styles.SetDefaultStyles();
  TTextStyle* Marked = Styles.GetItem(15);
  Marked->SetUseMemoColor(true);
  EXPECT_FALSE(Marked->GetUseMemoColor());
  Marked->SetUseMemoFont(true);
  EXPECT_FALSE(Marked->GetUseMemoFont());
}

TEST(TTextStyle, SwitchingToEditorColourWithoutEditorGivesWindowColourUnlessApplyingAScheme) {
  TTextStyles Styles(nullptr);
  Styles.SetDefaultStyles();
  TTextStyle* Break = Styles.GetItem(13);  // red background, own colour
  Break->SetUseMemoColor(true);
  EXPECT_TRUE(Break->GetUseMemoColor());
  EXPECT_EQ(Break->GetColor(), clWindow);

  TTextStyle* Error = Styles.GetItem(14);
  Styles.ApplyingScheme = true;
  Error->SetUseMemoColor(true);
  EXPECT_TRUE(Error->GetUseMemoColor());
  EXPECT_EQ(Error->GetColor(), clMaroon);
}

TEST(TTextStyle, EditorColourAndFontAreTakenAndFollowed) {
  TFakeMemo Memo;
  TTextStyles Styles(&Memo);
  Styles.SetDefaultStyles();
  TTextStyle* Ws = Styles.GetItem(0);
  Ws->SetUseMemoFont(true);
  EXPECT_TRUE(Ws->GetUseMemoFont());
  EXPECT_EQ(Ws->GetFont()->GetColor(), clNavy);
  Ws->SetUseMemoColor(false);
  Ws->SetUseMemoColor(true);
  EXPECT_EQ(Ws->GetColor(), clYellow);
  EXPECT_TRUE(Ws->GetUseMemoColor());

  // Setting the colour by hand leaves the editor's colour.
  Ws->SetColor(clAqua);
  EXPECT_FALSE(Ws->GetUseMemoColor());
}

TEST(TTextStyles, UpdateFromMemoGivesEveryStyleTheEditorFontNameAndSize) {
  TFakeMemo Memo;
  TTextStyles Styles(&Memo);
  Styles.SetDefaultStyles();
  Styles.GetItem(3)->SetUseMemoFont(true);
  Memo.Font.SetName("Arial");
  Memo.Font.SetSize(9);
  Memo.Font.SetColor(clPurple);
  Memo.Color = clCream;
  Styles.UpdateFromMemo();
  for (Integer I = 0; I < Styles.Count(); ++I) {
    TTextStyle* S = Styles.GetItem(I);
    SCOPED_TRACE(S->GetName());
    EXPECT_EQ(S->GetFont()->GetName(), "Arial");
    EXPECT_EQ(S->GetFont()->GetSize(), 9);
  }
  // Colour and style stay the style's own unless it follows the editor.
  EXPECT_EQ(Styles.GetItem(2)->GetFont()->GetColor(), clGray);
  EXPECT_TRUE(Styles.GetItem(2)->GetFont()->GetStyle() == TFontStyles{fsItalic});
  EXPECT_FALSE(Styles.GetItem(2)->GetUseMemoFont());
  EXPECT_EQ(Styles.GetItem(3)->GetFont()->GetColor(), clPurple);
  EXPECT_TRUE(Styles.GetItem(3)->GetUseMemoFont());
  EXPECT_EQ(Styles.GetItem(0)->GetColor(), clCream);
  EXPECT_TRUE(Styles.GetItem(0)->GetUseMemoColor());
  EXPECT_EQ(Styles.GetItem(13)->GetColor(), clRed);
}

TEST(TTextStyles, FontChangesInsideAnUpdateBracketReparseOnceAtTheEnd) {
  TFakeMemo Memo;
  TTextStyles Styles(&Memo);
  Styles.SetDefaultStyles();
  Memo.Reparses = 0;
  Memo.Updates = 0;
  Styles.BeginUpdate();
  Styles.GetItem(1)->GetFont()->SetStyle({fsBold});
  Styles.GetItem(2)->GetFont()->SetSize(20);
  EXPECT_EQ(Memo.Reparses, 0);
  Styles.EndUpdate();
  EXPECT_EQ(Memo.Reparses, 1);
  EXPECT_EQ(Memo.Updates, 1);

  // Outside a bracket each change re-parses at once; a monospaced editor
  // ignores font changes but not a change of case.
  Styles.GetItem(1)->GetFont()->SetStyle({});
  EXPECT_EQ(Memo.Reparses, 2);
  Memo.Monospaced = true;
  Styles.GetItem(1)->GetFont()->SetStyle({fsItalic});
  EXPECT_EQ(Memo.Reparses, 2);
  Styles.GetItem(1)->SetUpperCase(true);
  EXPECT_EQ(Memo.Reparses, 3);
}

TEST(TTextStyle, UpdateMemoColorsPushesTheStyleColoursIntoTheEditor) {
  TFakeMemo Memo;
  TTextStyles Styles(&Memo);
  Styles.SetDefaultStyles();
  Memo.Applied.clear();
  Styles.GetItem(15)->SetColor(clTeal);
  ASSERT_EQ(Memo.Applied.size(), 1u);
  EXPECT_EQ(Memo.Applied[0].Kind, mcSelection);
  EXPECT_EQ(Memo.Applied[0].Text, clWhite);
  EXPECT_EQ(Memo.Applied[0].Back, clTeal);
  Styles.GetItem(0)->SetColor(clTeal);  // mcNone: the editor is left alone
  EXPECT_EQ(Memo.Applied.size(), 1u);
}

TEST(TTextStyles, ColourSchemeFileRoundTripsTheStyles) {
  TTextStyles Styles(nullptr);
  Styles.SetDefaultStyles();
  Styles.GetItem(1)->SetColor(clInfoBk);  // was following the editor
  Styles.GetItem(4)->GetFont()->SetStyle({fsBold, fsUnderline});
  Styles.GetItem(5)->SetUpperCase(true);
  Styles.GetItem(3)->SetUseMemoFont(true);

  const std::string Name = TempName(".txt");
  const AnsiString Written = Styles.SaveToFile(Name);
  EXPECT_EQ(Written, TempName(".RGB"));
  const std::string Text = ReadFile(Written);
  EXPECT_NE(Text.find("object TPersHolder"), std::string::npos) << Text;
  EXPECT_NE(Text.find("clInfoBk"), std::string::npos) << Text;

  TTextStyles Loaded(nullptr);
  Loaded.LoadFromFile(Written);
  std::filesystem::remove(Written);
  ASSERT_EQ(Loaded.Count(), 25);
  for (Integer I = 0; I < 25; ++I) {
    TTextStyle* A = Styles.GetItem(I);
    TTextStyle* B = Loaded.GetItem(I);
    SCOPED_TRACE(A->GetName());
    EXPECT_EQ(B->GetName(), A->GetName());
    EXPECT_EQ(B->GetUseMemoColor(), A->GetUseMemoColor());
    EXPECT_EQ(B->GetUseMemoFont(), A->GetUseMemoFont());
    EXPECT_EQ(B->GetUpdateMemoColors(), A->GetUpdateMemoColors());
    EXPECT_EQ(B->GetUpperCase(), A->GetUpperCase());
    if (!A->GetUseMemoColor()) {
      EXPECT_EQ(B->GetColor(), A->GetColor());
    }
    if (!A->GetUseMemoFont()) {
      EXPECT_EQ(B->GetFont()->GetColor(), A->GetFont()->GetColor());
      EXPECT_TRUE(B->GetFont()->GetStyle() == A->GetFont()->GetStyle());
    }
  }
  EXPECT_FALSE(Loaded.GetItem(1)->GetUseMemoColor());
  EXPECT_TRUE(Loaded.GetItem(3)->GetUseMemoFont());
}

TEST(TTextStyles, StylesThatFollowTheEditorWriteNeitherColourNorFont) {
  TTextStyles Styles(nullptr);
  auto* S = static_cast<TTextStyle*>(Styles.Add());
  S->SetName("Plain");
  const std::string Name = TempName(".rgb");
  Styles.SaveToFile(Name);
  const std::string Text = ReadFile(TempName(".RGB"));
  std::filesystem::remove(TempName(".RGB"));
  EXPECT_EQ(Text.find(" Color ="), std::string::npos) << Text;
  EXPECT_EQ(Text.find("Font."), std::string::npos) << Text;
  EXPECT_EQ(Text.find("UpperCase"), std::string::npos) << Text;
  EXPECT_NE(Text.find("UseMemoColor = True"), std::string::npos) << Text;
}

TEST(TTextStyles, UnreadableSchemeFileRaises) {
  TTextStyles Styles(nullptr);
  Styles.SetDefaultStyles();
  const std::string Name = TempName("_bad.rgb");
  { std::ofstream(Name) << "object TPersHolder\n  P = <\n    item\n      Name = "; }
  EXPECT_THROW(Styles.LoadFromFile(Name), Exception);
  std::filesystem::remove(Name);
  EXPECT_THROW(Styles.LoadFromFile(TempName("_missing.rgb")), Exception);
}

TEST(TTextStyles, MetricsAreMinusOneWithoutStyles) {
  TTextStyles Styles(nullptr);
  EXPECT_EQ(Styles.MaxCharWidth(), -1);
  EXPECT_EQ(Styles.MaxFontHeight(), -1);
  Styles.SetDefaultStyles();
  Styles.GetItem(2)->GetFont()->SetSize(30);
  EXPECT_GT(Styles.MaxFontHeight(), 30);
  EXPECT_GT(Styles.MaxCharWidth(), 0);
}

}  // namespace
