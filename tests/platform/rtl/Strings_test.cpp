#include "platform/rtl/Strings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "support/TestFiles.h"

namespace {

using TLines = std::vector<std::string>;

TLines Lines(const TStrings& S) {
  TLines R;
  for (Integer I = 0; I < S.GetCount(); ++I) R.push_back(S[I]);
  return R;
}

void Fill(TStrings& S, const TLines& L) {
  for (const auto& X : L) S.Add(X);
}

// Counts change notifications.
struct TChangeCounter : TObject {
  int Changing = 0, Changed = 0;
  void OnChanging(TObject*) { ++Changing; }
  void OnChange(TObject*) { ++Changed; }
  void Attach(TStringList& L) {
    L.OnChanging = TNotifyEvent(this, &TChangeCounter::OnChanging);
    L.OnChange = TNotifyEvent(this, &TChangeCounter::OnChange);
  }
};

// The smallest descendant a control would write: lines kept in a vector,
// only the abstract hooks implemented.
class TVectorStrings : public TStrings {
public:
  std::vector<std::string> Data;
  Integer GetCount() const override { return static_cast<Integer>(Data.size()); }
  void Insert(Integer Index, const AnsiString& S) override { Data.insert(Data.begin() + Index, S); }
  void Delete(Integer Index) override { Data.erase(Data.begin() + Index); }
  void Clear() override { Data.clear(); }

protected:
  AnsiString Get(Integer Index) const override {
    if (Index < 0 || Index >= GetCount()) IndexError(Index);
    return Data[static_cast<size_t>(Index)];
  }
};

struct TTag : TObject {};

}  // namespace

TEST(TStrings, SettingTextBreaksAtCrLfCrOrLf) {
  struct TCase { std::string Text; TLines Want; };
  const TCase Cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc", {"a", "b", "c"}},
      {"a\r\n", {"a"}},                    // a final break adds no line
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"a\n\rb", {"a", "", "b"}},          // LF CR is two breaks
      {"a\r\r\nb", {"a", "", "b"}},
      {std::string("a\0b\r\nc", 6), {"a"}},  // a NUL ends the text
      {" x \t", {" x \t"}},                // nothing trimmed
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::PrintToString(C.Text));
    TStringList L;
    L.Add("old");
    L.SetText(C.Text);
    EXPECT_EQ(Lines(L), C.Want);
  }
}

TEST(TStrings, ReadingTextEndsEveryLineWithCrLf) {
  TStringList L;
  EXPECT_EQ(L.GetText(), "");
  Fill(L, {"a", "", "b"});
  EXPECT_EQ(L.GetText(), "a\r\n\r\nb\r\n");
}

TEST(TStrings, CommaTextQuotesOnlyWhatNeedsIt) {
  struct TCase { TLines Items; std::string Want; };
  const TCase Cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"", "a"}, ",a"},
      {{"a", "b c", "d,e"}, "a,\"b c\",\"d,e\""},
      {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
      {{"tab\there"}, "\"tab\there\""},
      {{"x=1", "y"}, "x=1,y"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    TStringList L;
    Fill(L, C.Items);
    EXPECT_EQ(L.GetCommaText(), C.Want);
    TStringList Back;
    Back.SetCommaText(C.Want);
    EXPECT_EQ(Lines(Back), C.Items);
  }
}

TEST(TStrings, SettingCommaTextSplitsAtCommasAndBlanks) {
  struct TCase { std::string Text; TLines Want; };
  const TCase Cases[] = {
      {"a b,c", {"a", "b", "c"}},
      {"  a ,  b  ", {"a", "b"}},
      {"a,,b", {"a", "", "b"}},
      {"a,", {"a", ""}},
      {",a", {"", "a"}},
      {"\"a b\"c,d", {"a b", "c", "d"}},
      {"\"unclosed, quote", {"unclosed, quote"}},
      {"\"x\"\"y\"", {"x\"y"}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Text);
    TStringList L;
    L.SetCommaText(C.Text);
    EXPECT_EQ(Lines(L), C.Want);
  }
}

TEST(TStrings, DelimitedTextUsesItsOwnDelimiterAndQuoteButCommaTextDoesNot) {
  TStringList L;
  L.SetDelimiter(';');
  L.SetQuoteChar('\'');
  L.SetDelimitedText("a;'b;c' d;'it''s'");
  EXPECT_EQ(Lines(L), (TLines{"a", "b;c", "d", "it's"}));
  EXPECT_EQ(L.GetDelimitedText(), "a;'b;c';d;'it''s'");
  EXPECT_EQ(L.GetCommaText(), "a,b;c,d,it's");
  EXPECT_EQ(L.GetDelimiter(), ';');
  EXPECT_EQ(L.GetQuoteChar(), '\'');
}

TEST(TStringList, SortedListsApplyDuplicates) {
  struct TCase { TDuplicates Dup; TLines Want; Integer SecondB; const char* Why; };
  const TCase Cases[] = {
      {dupIgnore, {"a", "B", "c"}, 1, "second b dropped, its index returned"},
      {dupAccept, {"a", "b", "B", "c"}, 1, "second b kept before the first"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    TStringList L;
    L.SetSorted(true);
    L.SetDuplicates(C.Dup);
    L.Add("c");
    L.Add("B");
    L.Add("a");
    EXPECT_EQ(L.Add("b"), C.SecondB);
    EXPECT_EQ(Lines(L), C.Want);
  }
  TStringList L;
  L.SetSorted(true);
  L.SetDuplicates(dupError);
  L.Add("x");
  try {
    L.Add("X");
    ADD_FAILURE();
  } catch (const EStringListError& E) {
    EXPECT_EQ(E.Message(), "String list does not allow duplicates");
  }
  EXPECT_THROW(L.Insert(0, "a"), EStringListError);
  EXPECT_THROW(L.SetStrings(0, "a"), EStringListError);
  EXPECT_EQ(L.GetCount(), 1);
}

TEST(TStringList, FindGivesTheIndexOrTheInsertionPoint) {
  TStringList L;
  L.SetDuplicates(dupAccept);
  L.SetSorted(true);
  Fill(L, {"delta", "alpha", "charlie", "bravo", "Bravo", "echo"});
  Integer Index = -9;
  EXPECT_TRUE(L.Find("BRAVO", Index));
  EXPECT_EQ(Index, 1);  // the first of the equal lines
  EXPECT_FALSE(L.Find("cat", Index));
  EXPECT_EQ(Index, 3);
  EXPECT_FALSE(L.Find("zulu", Index));
  EXPECT_EQ(Index, 6);
  EXPECT_EQ(L.IndexOf("ECHO"), 5);
  EXPECT_EQ(L.IndexOf("foxtrot"), -1);
}

TEST(TStringList, CaseSensitivityGovernsLookupAndSorting) {
  TAnsiCodePageOverride Pin(1252);
  TStringList L;
  Fill(L, {"b", "B", "a", "\xC9t\xE9"});  // "Été" in code page 1252
  EXPECT_EQ(L.IndexOf("A"), 2);
  EXPECT_EQ(L.IndexOf("\xE9T\xC9"), 3);  // case-folded in the code page, not just ASCII
  L.SetCaseSensitive(true);
  EXPECT_EQ(L.IndexOf("A"), -1);
  EXPECT_EQ(L.IndexOf("B"), 1);
  L.SetSorted(true);
  EXPECT_EQ(L.IndexOf("B"), L.IndexOf("b") + 1);  // the locale puts lower case first
  L.SetCaseSensitive(false);  // a sorted list re-sorts, so Find stays right
  EXPECT_GE(L.IndexOf("a"), 0);
  EXPECT_GE(L.IndexOf("\xE9t\xE9"), 0);
}

TEST(TStringList, SortAndCustomSortReorderLinesWithTheirObjects) {
  TTag T1, T2, T3;
  TStringList L;
  L.AddObject("pear", &T1);
  L.AddObject("Apple", &T2);
  L.AddObject("fig", &T3);
  L.Sort();
  EXPECT_EQ(Lines(L), (TLines{"Apple", "fig", "pear"}));
  EXPECT_EQ(L.GetObjects(0), &T2);
  L.CustomSort([](TStringList* List, Integer A, Integer B) {
    return static_cast<int>(List->GetStrings(A).size()) - static_cast<int>(List->GetStrings(B).size());
  });
  EXPECT_EQ(Lines(L), (TLines{"fig", "pear", "Apple"}));
  EXPECT_EQ(L.GetObjects(2), &T2);
}

TEST(TStrings, NamesAndValues) {
  TStringList L;
  Fill(L, {"Width=600", "novalue", "Empty=", "a=b=c", "width=999"});
  struct TCase { const char* Name; const char* Value; };
  const TCase Lookups[] = {
      {"WIDTH", "600"}, {"Empty", ""}, {"a", "b=c"}, {"novalue", ""}, {"missing", ""},
  };
  for (const auto& C : Lookups) EXPECT_EQ(L.GetValues(C.Name), C.Value) << C.Name;
  EXPECT_EQ(L.IndexOfName("width"), 0);  // the first one wins
  EXPECT_EQ(L.IndexOfName("novalue"), -1);
  EXPECT_EQ(L.GetNames(1), "");
  EXPECT_EQ(L.GetNames(3), "a");
  EXPECT_EQ(L.GetValueFromIndex(3), "b=c");
  EXPECT_EQ(L.GetValueFromIndex(1), "ovalue");  // the class library's quirk without a separator

  L.SetValues("Width", "700");
  EXPECT_EQ(L[0], "Width=700");
  L.SetValues("New", "1");
  EXPECT_EQ(L[L.GetCount() - 1], "New=1");
  L.SetValues("a", "");  // an empty value deletes the line
  EXPECT_EQ(L.IndexOfName("a"), -1);
  L.SetValueFromIndex(0, "5");
  EXPECT_EQ(L[0], "Width=5");

  L.SetNameValueSeparator(':');
  L.Add("Key:v");
  EXPECT_EQ(L.GetValues("key"), "v");
}

TEST(TStringList, ChangeEventsFireAroundEachChangeOrOncePerUpdate) {
  TChangeCounter Counter;
  TStringList L;
  Counter.Attach(L);
  L.Add("a");
  L.SetStrings(0, "b");
  L.Delete(0);
  L.Clear();  // already empty: no events
  EXPECT_EQ(Counter.Changing, 3);
  EXPECT_EQ(Counter.Changed, 3);

  Counter.Changing = Counter.Changed = 0;
  L.BeginUpdate();
  L.BeginUpdate();
  Fill(L, {"x", "y"});
  L.EndUpdate();
  EXPECT_EQ(Counter.Changed, 0);
  L.EndUpdate();
  EXPECT_EQ(Counter.Changing, 1);
  EXPECT_EQ(Counter.Changed, 1);

  Counter.Changing = Counter.Changed = 0;
  L.SetText("1\r\n2\r\n3");
  L.SetCommaText("p,q");
  EXPECT_EQ(Counter.Changing, 2);
  EXPECT_EQ(Counter.Changed, 2);
}

TEST(TStringList, BadIndexesRaiseListErrors) {
  TStringList L;
  Fill(L, {"a", "b"});
  struct TCase { void (*Op)(TStringList&); const char* Want; };
  const TCase Cases[] = {
      {[](TStringList& L) { L.GetStrings(2); }, "List index out of bounds (2)"},
      {[](TStringList& L) { L.GetObjects(-1); }, "List index out of bounds (-1)"},
      {[](TStringList& L) { L.Delete(5); }, "List index out of bounds (5)"},
      {[](TStringList& L) { L.Insert(3, "x"); }, "List index out of bounds (3)"},
      {[](TStringList& L) { L.Exchange(0, 2); }, "List index out of bounds (2)"},
      {[](TStringList& L) { L.Move(0, 4); }, "List index out of bounds (4)"},
  };
  for (const auto& C : Cases) {
    try {
      C.Op(L);
      ADD_FAILURE() << C.Want;
    } catch (const EStringListError& E) {
      EXPECT_EQ(E.Message(), C.Want);
    }
  }
}

TEST(TStrings, MoveExchangeAssignAndEqualsCarryObjects) {
  TTag T1, T2;
  TStringList L;
  L.AddObject("one", &T1);
  L.AddObject("two", &T2);
  L.Add("three");
  L.Move(0, 2);
  EXPECT_EQ(Lines(L), (TLines{"two", "three", "one"}));
  EXPECT_EQ(L.GetObjects(2), &T1);
  L.Exchange(0, 2);
  EXPECT_EQ(L.GetObjects(0), &T1);
  EXPECT_EQ(L.IndexOfObject(&T2), 2);

  TVectorStrings V;
  V.Add("stale");
  L.SetDelimiter('|');
  V.Assign(&L);
  EXPECT_EQ(V.Data, (TLines{"one", "three", "two"}));
  EXPECT_EQ(V.GetDelimiter(), '|');
  EXPECT_TRUE(V.Equals(&L));
  V.SetStrings(1, "THREE");
  EXPECT_FALSE(V.Equals(&L));  // Equals compares with case

  L.AddStrings(&L);
  EXPECT_EQ(L.GetCount(), 6);
}

TEST(TStrings, ADescendantWithOnlyTheHooksGetsEverythingElse) {
  TVectorStrings V;
  V.SetText("b=2\nA=1\n");
  EXPECT_EQ(V.GetCommaText(), "b=2,A=1");
  EXPECT_EQ(V.IndexOf("a=1"), 1);
  EXPECT_EQ(V.GetValues("a"), "1");
  V.SetStrings(0, "c=3");  // Put through Delete + Insert
  V.Move(1, 0);
  V.Exchange(0, 1);
  EXPECT_EQ(V.Data, (TLines{"c=3", "A=1"}));
  EXPECT_THROW(V.GetStrings(7), EStringListError);
}

TEST(TStrings, FilesAndStreamsRoundTripTheText) {
  char Tmpl[] = "/tmp/sx_strings_XXXXXX";
  const std::string Dir = ::mkdtemp(Tmpl);
  const std::string Name = Dir + "/lines.txt";
  TStringList L;
  Fill(L, {"first", "", "caf\xE9"});
  L.SaveToFile(Name);
  EXPECT_EQ(sxtest::ReadFile(Name), "first\r\n\r\ncaf\xE9\r\n");
  std::ofstream(Name, std::ios::binary) << "unix\nlines\n";
  TStringList Back;
  Back.LoadFromFile(Name);
  EXPECT_EQ(Lines(Back), (TLines{"unix", "lines"}));
  EXPECT_THROW(Back.LoadFromFile(Dir + "/missing.txt"), EFOpenError);
  EXPECT_EQ(Lines(Back), (TLines{"unix", "lines"}));  // untouched by the failed load
  std::filesystem::remove_all(Dir);

  TStringStream S("skip|x\ry");
  S.SetPosition(5);  // loading reads from the position on
  Back.LoadFromStream(&S);
  EXPECT_EQ(Lines(Back), (TLines{"x", "y"}));
  TMemoryStream M;
  Back.SaveToStream(&M);
  EXPECT_EQ(M.GetSize(), 6);
}
