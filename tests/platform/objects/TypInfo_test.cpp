#include "platform/rtl/TypInfo.h"

#include <gtest/gtest.h>

#include "TestClasses.h"

namespace {
// Re-lists an inherited property to give it a default, and adds its own.
class TDerivedComp : public TSampleComp {
  SX_CLASS(TDerivedComp, TSampleComp)
public:
  using TSampleComp::TSampleComp;
  static void Published(TPublished<TDerivedComp>& P) {
    P.Property("Count", &TDerivedComp::Count, &TDerivedComp::Count).Default(5);
    P.Property("Extra", &TDerivedComp::Extra, nullptr);
  }
  Integer Extra = 3;
};

// A different class that claims an already registered name.
class TImpostor : public TComponent {
  SX_CLASS(TSampleComp, TComponent)
public:
  using TComponent::TComponent;
};

std::vector<AnsiString> Names(const std::vector<const TPropInfo*>& L) {
  std::vector<AnsiString> N;
  for (auto* P : L) N.push_back(P->Name);
  return N;
}
}  // namespace

TEST(TypInfo, PropertiesInheritInOrderAndListAlphabetically) {
  auto Own = Names(TDerivedComp::StaticClass()->Properties());
  ASSERT_GE(Own.size(), 4u);
  EXPECT_EQ(Own[0], "Name");  // TComponent's come first
  EXPECT_EQ(Own[1], "Tag");
  EXPECT_EQ(Own[2], "Count");  // re-listed in place, not appended
  EXPECT_EQ(Own.back(), "Extra");
  EXPECT_EQ(GetPropInfo(TDerivedComp::StaticClass(), "count")->Default, 5);
  EXPECT_EQ(GetPropInfo(TSampleComp::StaticClass(), "Count")->Default, 0);

  auto Sorted = Names(GetPropList(TSampleComp::StaticClass(), TTypeKinds{tkEnumeration, tkSet}));
  EXPECT_EQ(Sorted, (std::vector<AnsiString>{"Flag", "Kind", "Styles"}));
  EXPECT_TRUE(IsPublishedProp(TDerivedComp::StaticClass(), "EXTRA"));
  EXPECT_FALSE(IsPublishedProp(TSampleComp::StaticClass(), "Extra"));
}

TEST(TypInfo, TextAccessCoversEveryKindAndDottedPaths) {
  RegisterSampleClasses();
  TSampleComp Root(nullptr);
  Root.SetName("Root");
  auto* Kid = new TSampleComp(&Root);
  Kid->SetName("Kid");
  struct TCase { const char* Path; const char* Text; };
  const TCase Cases[] = {
      {"Count", "-12"},       {"Big", "12345678901"},  {"Letter", "z"},         {"Kind", "skBeta"},
      {"Styles", "[tsBold, tsUnderline]"},             {"Ratio", "0.5"},        {"Text", "hi there"},
      {"Flag", "True"},       {"Font.Name", "Arial"},  {"Font.Size", "9"},      {"Buddy", "Kid"},
      {"OnChange", "Form1Change"},                     {"Wide", "w"},           {"Color", "clBtnFace"},
      {"Color", "1193046"},  // a colour without a name stays a number
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Path);
    SetPropText(&Root, C.Path, C.Text);
    EXPECT_EQ(GetPropText(&Root, C.Path), C.Text);
  }
  EXPECT_EQ(Root.Buddy, Kid);
  EXPECT_EQ(Root.GetFont()->Size, 9);
  EXPECT_EQ(GetEnumProp(&Root, "Kind"), "skBeta");
  EXPECT_EQ(GetSetProp(&Root, "Styles"), "tsBold,tsUnderline");
  SetSetProp(&Root, "Styles", "[]");
  EXPECT_TRUE(Root.Styles.Empty());
  SetEnumProp(&Root, "Kind", "SKGAMMA");  // names compare ignoring case
  EXPECT_EQ(Root.Kind, skGamma);

  struct TBad { const char* Path; const char* Text; };
  const TBad Bad[] = {{"Count", "12x"},   {"Kind", "skNone"},     {"Styles", "[tsBold,,tsItalic]"},
                      {"Ratio", "1.5.2"}, {"Buddy", "Nobody"},    {"OnChange", "NoSuchHandler"},
                      {"Nope", "1"},      {"Count.Sub", "1"},     {"Font.Nope", "1"}};
  for (const auto& B : Bad) {
    SCOPED_TRACE(B.Path);
    EXPECT_THROW(SetPropText(&Root, B.Path, B.Text), EPropertyError);
  }
}

TEST(TypInfo, ReadOnlyAndWrongKindAccessIsRefused) {
  TDerivedComp C(nullptr);
  EXPECT_EQ(GetOrdProp(&C, "Extra"), 3);
  EXPECT_THROW(SetOrdProp(&C, "Extra", 4), EPropertyError);
  EXPECT_THROW(GetFloatProp(&C, "Count"), EPropertyError);
  EXPECT_THROW(GetStrProp(&C, "Count"), EPropertyError);
  EXPECT_THROW(GetOrdProp(nullptr, "Count"), EPropertyError);
}

TEST(TypInfo, AssignPublishedPropsCopiesWhatBothPublish) {
  TSampleComp A(nullptr), B(nullptr);
  A.Count = 7;
  A.Styles = {tsItalic};
  A.SetText("t");
  A.Ratio = 2.5;
  A.Buddy = &B;
  A.OnChange = TNotifyEvent(&A, &TSampleComp::Form1Change);
  A.SetName("A");
  TDerivedComp D(nullptr);
  AssignPublishedProps(&D, &A);
  EXPECT_EQ(D.Count, 7);
  EXPECT_EQ(D.Styles, TSampleStyles{tsItalic});
  EXPECT_EQ(D.GetText(), "t");
  EXPECT_EQ(D.Ratio, 2.5);
  EXPECT_EQ(D.Buddy, &B);  // references copy as references
  EXPECT_EQ(D.OnChange, A.OnChange);
  EXPECT_EQ(D.GetName(), "A");
  EXPECT_EQ(D.Extra, 3);  // read-only: untouched
}

TEST(TypInfo, EnumAndSetTextConversions) {
  const TTypeInfo* Set = TypeInfoOf<TSampleStyles>();
  EXPECT_EQ(Set->Kind, tkSet);
  EXPECT_EQ(SetToString(Set, 0b101), "tsBold,tsUnderline");
  EXPECT_EQ(SetToString(Set, 0, true), "[]");
  EXPECT_EQ(StringToSet(Set, " [ tsItalic , tsBold ] "), 0b011);
  EXPECT_THROW(StringToSet(Set, "tsBold,tsPlaid"), EPropertyError);
  const TTypeInfo* Enum = TypeInfoOf<TSampleKind>();
  EXPECT_EQ(GetEnumName(Enum, 2), "skGamma");
  EXPECT_EQ(GetEnumName(Enum, 3), "");
  EXPECT_EQ(GetEnumValue(Enum, "skbeta"), 1);
  EXPECT_EQ(GetEnumValue(Enum, "x"), -1);
  EXPECT_EQ(GetEnumName(TypeInfoOf<bool>(), 1), "True");
}

TEST(TypInfo, ClassRegistryFindsByNameAndRefusesImpostors) {
  RegisterSampleClasses();
  EXPECT_EQ(FindClass("tsamplecomp"), TSampleComp::StaticClass());
  EXPECT_EQ(GetClass("TNotThere"), nullptr);
  EXPECT_THROW(FindClass("TNotThere"), EClassNotFound);
  RegisterClass(TSampleComp::StaticClass());  // again: harmless
  EXPECT_THROW(RegisterClass(TImpostor::StaticClass()), EFilerError);
}

TEST(TypInfo, HandlersAreFoundByNameAndByCode) {
  TDerivedComp C(nullptr);
  TMethod M = C.MethodAddress("form1change");  // inherited registration
  ASSERT_TRUE(M.Code);
  EXPECT_EQ(M.Data, &C);
  EXPECT_EQ(C.MethodName(M), "Form1Change");
  EXPECT_FALSE(C.MethodAddress("Nope").Code);
  EXPECT_EQ(C.MethodName(TNotifyEvent(&C, &TSampleComp::Unregistered).ToMethod()), "");
}
