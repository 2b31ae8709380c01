#include "editor/syntax/SyntaxScheme.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "editor/syntax/SyntaxParser.h"
#include "platform/forms/Dialogs.h"
#include "support/TestFiles.h"

namespace {

std::string TempFile(const std::string& Stem, const std::string& Text) {
  const std::string Name =
      std::filesystem::temp_directory_path() / ("sx_sch_" + std::to_string(getpid()) + "_" + Stem + ".sch");
  std::ofstream(Name, std::ios::binary) << Text;
  return Name;
}

TEST(TSyntaxScheme, NewSchemeHasOneDefaultBlockAndCompilesToVersionThree) {
  TSyntaxScheme S;
  ASSERT_EQ(S.GetSyntaxBlocks()->Count(), 1);
  EXPECT_EQ(S.GetSyntaxBlocks()->Item(0)->Name, "Default");
  EXPECT_EQ(S.GetSyntaxBlocks()->Item(0)->GetID(), 0);
  EXPECT_EQ(S.SyntaxVersion, 1);
  S.Compile();
  EXPECT_EQ(S.SyntaxVersion, 3);
}

TEST(CharSetText, WritesRunsAndEscapesAndReadsThemBack) {
  struct TCase {
    const char* Text;
    const char* Written;  // nullptr: same as Text
  };
  const TCase Cases[] = {
      {"A-Z_a-z", nullptr},
      {"0-9A-Z_a-z", nullptr},
      {"a-f", nullptr},
      {"\\-ab", nullptr},       // an escaped minus is itself
      {"\\\\x", nullptr},       // and so is an escaped backslash
      {"ab", nullptr},          // two characters are no run
      {"+-\\", nullptr},       // a range ending in a backslash leaves it bare
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Text);
    const TCharSet Set = StrToCharSet(C.Text);
    EXPECT_EQ(CharSetToStr(Set), C.Written ? C.Written : C.Text);
    EXPECT_EQ(StrToCharSet(CharSetToStr(Set)), Set);
  }
  // A leading minus runs from #0.
  const TCharSet Low = StrToCharSet("-z");
  EXPECT_TRUE(Low.test(0));
  EXPECT_TRUE(Low.test('z'));
  EXPECT_FALSE(Low.test('z' + 1));
  EXPECT_EQ(Low.count(), size_t('z') + 1);
}

TEST(TSyntaxScheme, CompileBuildsKeywordTablesByFirstLetter) {
  TSyntaxScheme S;
  TSyntaxBlock* B = S.GetSyntaxBlocks()->Item(0);
  TKeywordSet* K = B->GetKeywordSets()->AddItem();
  K->Keywords = "Begin,end,else";
  TKeywordSet* Off = B->GetKeywordSets()->AddItem();
  Off->Keywords = "x";
  Off->UseToken = false;
  S.Compile();
  ASSERT_EQ(B->CKeywordTables.size(), 1u);
  EXPECT_EQ(B->CKeywordTables[0]['b'], ",begin,");
  EXPECT_EQ(B->CKeywordTables[0]['e'], ",end,else,");
  EXPECT_EQ(B->CKeywordTables[0]['x'], "");
  B->CaseSensitive = true;
  S.Compile();
  EXPECT_EQ(B->CKeywordTables[0]['B'], ",Begin,");
}

TEST(TSyntaxScheme, DelimiterCharactersLeaveTheFreeSymbols) {
  TSyntaxScheme S;
  S.Compile();
  EXPECT_TRUE(S.FreeSymbols().test('<'));
  EXPECT_FALSE(S.FreeSymbols().test('_'));  // an identifier character
  TSyntaxBlock* Tag = S.GetSyntaxBlocks()->AddItem();
  Tag->SetID(1);
  Tag->ParentID = 0;
  TDelimiters* D = Tag->GetBlockDelimiters()->AddItem();
  D->LeftDelimiter = "<";
  D->RightDelimiter = ">";
  D->DelimitersArePartOfBlock = true;
  S.Compile();
  EXPECT_FALSE(S.FreeSymbols().test('<'));
  EXPECT_FALSE(S.FreeSymbols().test('>'));
  EXPECT_TRUE(S.FreeSymbols().test('!'));
  TSyntaxBlock* Root = S.GetSyntaxBlocks()->Item(0);
  ASSERT_EQ(Root->CInnerChildren.size(), 1u);
  EXPECT_EQ(Root->CInnerChildren[0].Delimiter, "<");
  EXPECT_EQ(Root->CInnerChildren[0].Code, 131072 + 1 * 256 + 0);
  EXPECT_TRUE(Root->COuterChildren.empty());
}

const char* const VersionOneScheme = R"(object TPersHolder
  P.Name = 'Old'
  P.SyntaxBlocks = <
    item
      Name = 'A'
      FIText = 1
    end
    item
      Name = 'B'
      ParentID = 7
      FIText = 2
      UseComments = True
      SingleLineCommentDelimiters = <
        item
          FontID = 3
          LeftDelimiter = '//'
        end>
      SomethingNewer = 'skipped'
    end
    item
      Name = 'C'
    end>
  P.FontTable = <
    item
      FontID = 1
    end
    item
      FontID = 2
    end
    item
      FontID = 3
    end>
  P.SyntaxVersion = 1
end
)";

TEST(TSyntaxScheme, VersionOneFileGetsIdsParentsAndAttributeBlocks) {
  const std::string Name = TempFile("v1", VersionOneScheme);
  TSyntaxScheme S;
  S.LoadFromFile(Name);
  std::filesystem::remove(Name);
  EXPECT_EQ(S.GetName(), "Old");
  EXPECT_EQ(S.SyntaxVersion, 3);
  TSyntaxBlockList* B = S.GetSyntaxBlocks();
  ASSERT_EQ(B->Count(), 3);
  const Integer WantID[] = {0, 1, 2}, WantParent[] = {-1, 0, 0};
  for (Integer I = 0; I < 3; ++I) {
    EXPECT_EQ(B->Item(I)->GetID(), WantID[I]);
    EXPECT_EQ(B->Item(I)->ParentID, WantParent[I]);
  }
  EXPECT_EQ(S.GetFontTable()->FindFontID(1)->BlockID, 0);
  EXPECT_EQ(S.GetFontTable()->FindFontID(2)->BlockID, 1);
  EXPECT_EQ(S.GetFontTable()->FindFontID(3)->BlockID, 1);  // through the comment token
}

TEST(TSyntaxScheme, SavedSchemeReadsBackTheSame) {
  TSyntaxScheme S;
  S.SetName("Round");
  TSyntaxBlock* B = S.GetSyntaxBlocks()->Item(0);
  B->FirstIdentChars = StrToCharSet("a-f");
  B->UseMetaSymbol = true;
  B->MetaSymbol = '\\';
  B->GetSingleLineStringDelimiters()->AddItem()->LeftDelimiter = "\"";
  TAttrItem* A = S.GetFontTable()->AddItem();
  A->GetFont()->SetStyle({fsBold});
  A->SetBackColor(clYellow);
  const std::string Name = TempFile("round", "");
  S.SaveToFile(Name);
  const std::string Text = sxtest::ReadFile(Name);
  EXPECT_NE(Text.find("FirstIdentChars = 'a-f'"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("OtherIdentChars"), std::string::npos) << Text;
  EXPECT_NE(Text.find("P.SyntaxVersion = "), std::string::npos) << Text;

  TSyntaxScheme R;
  R.LoadFromFile(Name);
  std::filesystem::remove(Name);
  EXPECT_EQ(R.GetName(), "Round");
  TSyntaxBlock* RB = R.GetSyntaxBlocks()->Item(0);
  EXPECT_EQ(RB->FirstIdentChars, B->FirstIdentChars);
  EXPECT_EQ(RB->OtherIdentChars, TSyntaxBlock::DefaultOtherIdentChars());
  EXPECT_EQ(RB->MetaSymbol, '\\');
  EXPECT_EQ(RB->GetSingleLineStringDelimiters()->Item(0)->LeftDelimiter, "\"");
  ASSERT_EQ(R.GetFontTable()->Count(), 1);
  EXPECT_EQ(R.GetFontTable()->Item(0)->GetFontID(), 1);
  EXPECT_EQ(R.GetFontTable()->Item(0)->GetBackColor(), clYellow);
  EXPECT_TRUE(R.GetFontTable()->Item(0)->GetFont()->GetStyle() == TFontStyles{fsBold});
}

struct TBadScheme {
  const char* Why;
  std::string Text;
};

std::string TwoBlocks(const char* Parents) {
  return std::string("object TPersHolder\n  P.SyntaxBlocks = <\n    item\n      Name = 'A'\n      ID = 0\n      ParentID = ") +
         Parents[0] + "\n    end\n    item\n      Name = 'B'\n      ID = 1\n      ParentID = " + Parents[1] +
         "\n    end>\n  P.SyntaxVersion = 3\nend\n";
}

std::string ManyDelimiters(int N) {
  std::string T = "object TPersHolder\n  P.SyntaxBlocks = <\n    item\n      ID = 0\n    end\n    item\n      ID = 1\n"
                  "      ParentID = 0\n      BlockDelimiters = <";
  for (int I = 0; I < N; ++I) T += "\n        item\n          LeftDelimiter = 'd" + std::to_string(I) + "'\n        end";
  return T + ">\n    end>\n  P.SyntaxVersion = 3\nend\n";
}

TEST(TSyntaxScheme, UnusableFilesAreRefusedWithAMessageAndTheSchemeKept) {
  const TBadScheme Cases[] = {
      {"parents loop", TwoBlocks("10")},
      {"block is its own parent", TwoBlocks("01")},
      {"more delimiters than the state packs", ManyDelimiters(65)},
      {"not object text", "object TPersHolder\n  P.Name = \n"},
  };
  for (const TBadScheme& C : Cases) {
    SCOPED_TRACE(C.Why);
    const std::string Name = TempFile("bad", C.Text);
    TSyntaxScheme S;
    S.SetName("Kept");
    TDialogScript Script;
    Script.Then(IDOK);
    EXPECT_THROW(S.LoadFromFile(Name), Exception);
    ASSERT_EQ(Script.Asked().size(), 1u);
    EXPECT_EQ(Script.Asked()[0].Text, "Can't read syntax scheme from file \"" + Name + "\".");
    EXPECT_EQ(S.GetName(), "Kept");
    EXPECT_EQ(S.GetSyntaxBlocks()->Count(), 1);
    std::filesystem::remove(Name);
  }
  // Sixty-four delimiters fit.
  const std::string Name = TempFile("fits", ManyDelimiters(64));
  TSyntaxScheme S;
  EXPECT_NO_THROW(S.LoadFromFile(Name));
  std::filesystem::remove(Name);
}

TEST(TSyntaxScheme, MissingFileRaisesWithoutMessageBox) {
  TSyntaxScheme S;
  TDialogScript Script;
  EXPECT_THROW(S.LoadFromFile("/nonexistent/sx/none.sch"), Exception);
  EXPECT_TRUE(Script.Asked().empty());
}

TEST(TSyntaxScheme, UpdateFontsInheritsTextFontsAlongTheParentChain) {
  TSyntaxScheme S;
  TSyntaxBlockList* B = S.GetSyntaxBlocks();
  TSyntaxBlock* Root = B->Item(0);
  TSyntaxBlock* Mid = B->AddItem();
  Mid->SetID(1);
  Mid->ParentID = 0;
  TSyntaxBlock* Leaf = B->AddItem();
  Leaf->SetID(2);
  Leaf->ParentID = 1;
  TAttrItem* RootText = S.GetFontTable()->AddItem();  // id 1: own font and background
  RootText->SetUseDefFont(false);
  RootText->SetUseDefBack(false);
  RootText->GetFont()->SetName("Arial");
  RootText->GetFont()->SetSize(14);
  RootText->SetBackColor(clAqua);
  TAttrItem* MidText = S.GetFontTable()->AddItem();   // id 2: takes the defaults
  MidText->BlockID = 1;
  MidText->GetFont()->SetColor(clRed);
  TAttrItem* LeafTok = S.GetFontTable()->AddItem();   // id 3
  LeafTok->BlockID = 2;
  Root->FIText = 1;
  Mid->FIText = 2;
  Leaf->FIText = 3;
  S.Compile();
  S.UpdateFonts();
  for (Integer Id : {2, 3}) {
    SCOPED_TRACE(Id);
    TAttrItem* A = S.GetAttr(Id);
    EXPECT_EQ(A->UsedFont()->GetName(), "Arial");
    EXPECT_EQ(A->UsedFont()->GetSize(), 14);
    EXPECT_EQ(A->UsedBack(), clAqua);
  }
  EXPECT_EQ(S.GetAttr(2)->UsedFont()->GetColor(), clRed);
  // Unknown ids paint as whitespace; 12 is the URL attribute.
  EXPECT_EQ(S.GetAttr(40), S.WhitespaceAttr());
  EXPECT_EQ(S.GetAttr(-1), S.WhitespaceAttr());
  EXPECT_EQ(S.GetAttr(12), S.UrlAttr());
  EXPECT_TRUE(S.UrlAttr()->UsedFont()->GetStyle() == TFontStyles{fsUnderline});
  EXPECT_EQ(S.WhitespaceAttr()->UsedFont()->GetName(), "Courier New");

  // At the root, with no text attribute of its own, the base font.
  RootText->SetUseDefFont(true);
  S.UpdateFonts();
  EXPECT_EQ(S.GetAttr(3)->UsedFont()->GetName(), "Courier New");
  EXPECT_EQ(S.GetAttr(3)->UsedFont()->GetSize(), 10);
}

}  // namespace
