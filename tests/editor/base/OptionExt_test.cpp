#include "editor/base/OptionExt.h"

#include <gtest/gtest.h>

#include "TestOptions.h"

namespace {

class TBadOptions : public TOptionExt {
  SX_CLASS(TBadOptions, TOptionExt)
public:
  static void Published(TPublished<TBadOptions>& P) {
    P.Property("Big", &TBadOptions::FBig, &TBadOptions::FBig);
  }
  Int64 FBig = 1;
};

std::vector<std::string> ValueNames(TRegistry& R) {
  TStringList L;
  R.GetValueNames(&L);
  std::vector<std::string> V;
  for (Integer I = 0; I < L.GetCount(); ++I) V.push_back(L.GetStrings(I));
  return V;
}

TEST_F(RegistryTest, OptionsAreStoredInAlphabeticalOrderByKind) {
  auto* G = GetGlobalOptions<TTestOptions>();
  EXPECT_TRUE(G->IsGlobal());
  EXPECT_EQ(G->FWidth, 80) << "defaults when nothing is stored";
  G->FFlags = TTestFlags{tfOne, tfThree};
  G->FRatio = 0.75;
  G->FSecret = 42;
  G->FFont.FSize = 12;
  G->FLines.SetText("a\r\nb\r\n");
  static_cast<TTestItem*>(G->FItems.Add())->FValue = 3;
  G->SaveOptions();

  TRegistry R;
  ASSERT_TRUE(Open(R, "TestOpts"));
  EXPECT_EQ(ValueNames(R), (std::vector<std::string>{"AutoIndent", "Caption", "Flags", "Items", "Lines", "Ratio", "Width"}));
  EXPECT_EQ(R.GetDataType("AutoIndent"), rdInteger);
  EXPECT_EQ(R.ReadInteger("AutoIndent"), 1);
  EXPECT_EQ(R.ReadInteger("Flags"), 0b101) << "a set is its bit mask";
  EXPECT_EQ(R.ReadFloat("Ratio"), 0.75);
  EXPECT_EQ(R.ReadString("Lines"), "a\r\nb\r\n");
  EXPECT_EQ(R.GetDataType("Items"), rdBinary);
  EXPECT_FALSE(R.ValueExists("Secret")) << "not stored";
  R.CloseKey();
  ASSERT_TRUE(Open(R, "TestOpts\\Font"));
  EXPECT_EQ(R.ReadInteger("Size"), 12);
  EXPECT_EQ(R.ReadString("Name"), "Courier New");
}

TEST_F(RegistryTest, OptionsRoundTripThroughTheStore) {
  {
    auto* G = GetGlobalOptions<TTestOptions>();
    G->FWidth = 120;
    G->FAutoIndent = false;
    G->FFlags = TTestFlags{tfTwo};
    G->FCaption = "saved";
    G->FRatio = 1.5;
    G->FFont.FName = "Arial";
    G->FLines.SetText("x\r\n");
    auto* Item = static_cast<TTestItem*>(G->FItems.Add());
    Item->SetDisplayName("first");
    Item->FValue = 7;
  }
  DoneGlobalOptions();  // saves and frees, as at program end
  RegResetStore();      // read back from the file
  auto* G = GetGlobalOptions<TTestOptions>();
  EXPECT_EQ(G->FWidth, 120);
  EXPECT_FALSE(G->FAutoIndent);
  EXPECT_TRUE(G->FFlags.Contains(tfTwo));
  EXPECT_FALSE(G->FFlags.Contains(tfOne));
  EXPECT_EQ(G->FCaption, "saved");
  EXPECT_EQ(G->FRatio, 1.5);
  EXPECT_EQ(G->FFont.FName, "Arial");
  EXPECT_EQ(G->FLines.GetText(), "x\r\n");
  ASSERT_EQ(G->FItems.Count(), 1);
  EXPECT_EQ(G->FItems.IndexOfName("FIRST"), 0);
  EXPECT_EQ(static_cast<TTestItem*>(G->FItems.Items(0))->FValue, 7);
  EXPECT_EQ(G->ChangedCount, 1) << "one Changed after the whole load";
}

TEST_F(RegistryTest, StoredValueOfTheWrongTypeKeepsTheDefault) {
  WriteToRegistry("TestOpts\\Width", Variant("wide"));
  WriteToRegistry("TestOpts\\Ratio", Variant(3));          // DWORD where a double belongs
  WriteToRegistry("TestOpts\\Caption", Variant("stored"));
  auto* G = GetGlobalOptions<TTestOptions>();
  EXPECT_EQ(G->FWidth, 80);
  EXPECT_EQ(G->FRatio, 0.0);
  EXPECT_EQ(G->FCaption, "stored") << "the other properties still load";
}

TEST_F(RegistryTest, CopyChangesNothingUntilApply) {
  auto* G = GetGlobalOptions<TTestOptions>();
  auto Copy = CreateOptions<TTestOptions>();
  EXPECT_FALSE(Copy->IsGlobal());
  EXPECT_EQ(Copy->GlobalObject(), G);
  EXPECT_EQ(Copy->FWidth, 80);
  EXPECT_TRUE(Copy->SuppressChanged());
  Copy->FWidth = 100;
  EXPECT_EQ(G->FWidth, 80);
  G->ChangedCount = 0;
  Copy->Apply();
  EXPECT_EQ(G->FWidth, 100);
  EXPECT_EQ(G->ChangedCount, 1);
  EXPECT_EQ(FindGlobalOptions(TTestOptions::StaticClass()), G);
  Copy.reset();
  EXPECT_EQ(FindGlobalOptions(TTestOptions::StaticClass()), G) << "freeing a copy leaves the global object";
}

TEST_F(RegistryTest, OneFailingOptionDoesNotStopTheOthersSaving) {
  GetGlobalOptions<TBadOptions>();
  GetGlobalOptions<TTestOptions>()->FWidth = 99;
  EXPECT_THROW(SaveAllGlobalOptions(), Exception);
  EXPECT_EQ(ReadFromRegistry("TestOpts\\Width", Variant(0)).AsInteger(), 99);
}

TEST_F(RegistryTest, KeyNameDefaultsToTheClassNameWithoutItsT) {
  auto* B = GetGlobalOptions<TBadOptions>();
  EXPECT_EQ(B->GetKeyName(), "BadOptions");
  EXPECT_THROW(GetGlobalOptions(TPersistent::StaticClass()), EInvalidOperation);
}

}  // namespace
