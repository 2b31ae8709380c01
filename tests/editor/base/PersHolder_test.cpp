#include "editor/base/PersHolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestOptions.h"
#include "platform/rtl/Exceptions.h"
#include "support/TestFiles.h"

namespace {

using sxtest::ReadFile;

TEST(TPersHolder, TextFileOfAPlainObjectRoundTripsUnderP) {
  const std::string Name = std::filesystem::temp_directory_path() / ("sx_pers_" + std::to_string(::getpid()) + ".txt");
  TTestFont Font;
  Font.FName = "Arial";
  Font.FSize = 14;
  WriteObjectTextFile(&Font, Name);
  const std::string Text = ReadFile(Name);
  EXPECT_NE(Text.find("object TPersHolder"), std::string::npos) << Text;
  EXPECT_NE(Text.find("P.Name = 'Arial'"), std::string::npos) << Text;
  EXPECT_NE(Text.find("P.Size = 14"), std::string::npos) << Text;

  TTestFont Back;
  ReadObjectTextFile(&Back, Name);
  EXPECT_EQ(Back.FName, "Arial");
  EXPECT_EQ(Back.FSize, 14);
  std::filesystem::remove(Name);
}

TEST(TPersHolder, CollectionRoundTripsThroughTheBinaryStream) {
  TDCNamedItems Items(nullptr, TTestItem::StaticClass());
  for (int V : {1, 2}) {
    auto* I = static_cast<TTestItem*>(Items.Add());
    I->SetDisplayName(AnsiString(1, 'n').append(std::to_string(V)));
    I->FValue = V;
  }
  TMemoryStream S;
  WriteComponentBinary(&S, &Items);
  S.SetPosition(0);
  TDCNamedItems Back(nullptr, TTestItem::StaticClass());
  ReadComponentBinary(&S, &Back);
  ASSERT_EQ(Back.Count(), 2);
  EXPECT_EQ(Back.IndexOfName("N2"), 1);
  EXPECT_EQ(static_cast<TTestItem*>(Back.Items(1))->FValue, 2);
}

TEST(TPersHolder, MissingFileRaisesTheFileStreamError) {
  TTestFont Font;
  EXPECT_THROW(ReadObjectTextFile(&Font, "/nonexistent/dir/x.rgb"), EFOpenError);
  EXPECT_THROW(WriteObjectTextFile(&Font, "/nonexistent/dir/x.rgb"), EFCreateError);
}

// Logs the events a named-item collection sends.
class TEventLog : public TObject {
public:
  void ItemsChange(TObject*) { Log += "items;"; }
  void ItemChange(TObject*, TCollectionItem* Item) { Log += Item ? "item;" : "all;"; }
  std::string Log;
};

TEST(TCustomDCNamedItems, UpdateSendsBothEventsWithTheChangedItem) {
  TEventLog L;
  TDCNamedItems Items(nullptr, TTestItem::StaticClass());
  Items.OnItemsChange = TNotifyEvent(&L, &TEventLog::ItemsChange);
  Items.OnItemChange = TItemChangeEvent(&L, &TEventLog::ItemChange);
  auto* Item = static_cast<TTestItem*>(Items.Add());
  L.Log.clear();
  Item->ItemChanged();
  EXPECT_EQ(L.Log, "items;item;");
  L.Log.clear();
  Items.BeginUpdate();
  Items.EndUpdate();
  EXPECT_EQ(L.Log, "items;all;");
}

TEST(TDCNamedItem, AssignCopiesPublishedPropertiesAndDisplayNameFallsBack) {
  TDCNamedItems Items(nullptr, TTestItem::StaticClass());
  auto* A = static_cast<TTestItem*>(Items.Add());
  auto* B = static_cast<TTestItem*>(Items.Add());
  EXPECT_EQ(B->GetDisplayName(), "TTestItem") << "inherited display name while unnamed";
  A->SetDisplayName("Keyword");
  A->FValue = 5;
  B->Assign(A);
  EXPECT_EQ(B->GetDisplayName(), "Keyword");
  EXPECT_EQ(B->FValue, 5);
  EXPECT_EQ(Items.IndexOfName("keyword"), 0) << "the first of equal names";
  EXPECT_EQ(Items.IndexOfName("none"), -1);
}

}  // namespace
