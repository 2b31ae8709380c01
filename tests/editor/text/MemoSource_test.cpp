#include "editor/text/MemoSource.h"

#include <climits>

#include "MemoTestUtil.h"
#include "platform/rtl/Exceptions.h"

namespace {

TEST(TCustomMemoSource, LinesReadTabsExpandedAndRawReadsStored) {
  TMemoSource S(nullptr);
  S.SetOptions(S.GetOptions() + TStringsOptions{soUseTabCharacter});
  SetText(S, "a\tb");
  EXPECT_EQ(S.GetLines()->GetStrings(0), "a        b");
  S.GetStrings()->Raw = true;
  EXPECT_EQ(S.GetLines()->GetStrings(0), "a\tb");
  S.GetStrings()->Raw = false;
  EXPECT_EQ(S.GetLines()->GetText(), "a\tb") << "the view's text is the stored text";
}

TEST(TCustomMemoSource, TabRackContinuesWithTheLastStep) {
  struct TCase { const char* Rack; std::vector<Integer> Want; };
  const TCase Cases[] = {
      {"9,17", {9, 17, 25, 33}},
      {"4", {4, 8, 12}},
      {"3,5,10", {3, 5, 10, 15}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Rack);
    TMemoSource S(nullptr);
    S.SetTabStops(C.Rack);
    for (size_t I = 0; I < C.Want.size(); ++I) EXPECT_EQ(S.GetTabStop(Integer(I)), C.Want[I]);
  }
}

TEST(TCustomMemoSource, BadTabRackRaisesAndKeepsTheOldOne) {
  for (const char* Bad : {"9,9", "0", "12,4"}) {
    SCOPED_TRACE(Bad);
    TMemoSource S(nullptr);
    EXPECT_THROW(
        {
          try {
            S.SetTabStops(Bad);
          } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "Invalid Tab Rack");
            throw;
          }
        },
        Exception);
    EXPECT_EQ(S.GetTabStops(), "9,17");
    EXPECT_EQ(S.GetTabStop(1), 17);
  }
  TMemoSource S(nullptr);
  EXPECT_THROW(S.SetTabStops("4,x"), EConvertError) << "a non-number is the conversion error";
  S.SetTabStops("");
  EXPECT_EQ(S.GetTabStop(0), 9) << "an empty rack changes nothing";
}

}  // namespace
