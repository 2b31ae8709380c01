// The recent-files list: its bound, the removal of a clicked entry, the
// shortening of long paths, and its place in form descriptions.
#include "../BarsTestSupport.h"

#include "bars/extitems/dxBarExtItems.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/win/Paint.h"

namespace {

class MRUListTest : public BarsTest {
protected:
  TdxBarMRUListItem* NewList(std::initializer_list<const char*> Entries) {
    auto* L = NewItem<TdxBarMRUListItem>("MRUList", "Recent Projects");
    L->SetMaxItemCount(0);
    for (const char* E : Entries) L->Items()->Add(E);
    return L;
  }
  static std::vector<AnsiString> EntriesOf(TdxBarMRUListItem* L) {
    std::vector<AnsiString> R;
    for (Integer I = 0; I < L->Items()->GetCount(); ++I) R.push_back(L->Items()->GetStrings(I));
    return R;
  }
  // A click on entry Index, as the list's generated entry does it.
  static void ClickEntry(TdxBarMRUListItem* L, Integer Index) {
    L->SetItemIndex(Index);
    L->DoClick();
  }
};

struct TClickWatcher : TObject {
  TdxBarMRUListItem* List = nullptr;
  std::vector<AnsiString> Seen;  // the entry under ItemIndex when OnClick ran
  Integer Count = -1;
  void Click(TObject*) {
    Seen.push_back(List->Items()->GetStrings(List->GetItemIndex()));
    Count = List->Items()->GetCount();
  }
};

TEST_F(MRUListTest, MaxItemCountBoundsTheListFromItsEnd) {
  struct TCase {
    Integer Start, Set, WantMax;
    std::vector<AnsiString> Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {0, -3, 0, {"a", "b", "c", "d", "e"}, "a negative bound is no bound"},
      {0, 2, 2, {"a", "b"}, "a bound of 2 keeps the first two"},
      {5, 0, 0, {"a", "b", "c", "d", "e"}, "lowering to 0 trims nothing"},
      {0, 9, 9, {"a", "b", "c", "d", "e"}, "a bound above the count keeps all"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    auto* L = NewItem<TdxBarMRUListItem>("MRUList");
    L->SetMaxItemCount(C.Start);
    for (const char* E : {"a", "b", "c", "d", "e"}) L->Items()->Add(E);
    L->SetMaxItemCount(C.Set);
    EXPECT_EQ(L->GetMaxItemCount(), C.WantMax);
    EXPECT_EQ(EntriesOf(L), C.Want);
    delete L;
  }
}

TEST_F(MRUListTest, NewListIsBoundToFiveEntries) {
  auto* L = NewItem<TdxBarMRUListItem>("MRUList");
  EXPECT_EQ(L->GetMaxItemCount(), 5);
  EXPECT_FALSE(L->GetRemoveItemOnClick());
}

TEST_F(MRUListTest, ClickedEntryGoesAfterOnClickWhenAsked) {
  auto* L = NewList({"one.rtf", "two.rtf", "three.rtf"});
  TClickWatcher W;
  W.List = L;
  L->OnClick = TNotifyEvent(&W, &TClickWatcher::Click);
  L->SetRemoveItemOnClick(true);
  ClickEntry(L, 1);
  EXPECT_EQ(W.Seen, std::vector<AnsiString>{"two.rtf"});
  EXPECT_EQ(W.Count, 3) << "OnClick runs while the entry is still there";
  EXPECT_EQ(EntriesOf(L), (std::vector<AnsiString>{"one.rtf", "three.rtf"}));
  EXPECT_EQ(L->GetItemIndex(), -1);
}

TEST_F(MRUListTest, ClickedEntryStaysWithoutRemoveItemOnClick) {
  auto* L = NewList({"one.rtf", "two.rtf"});
  ClickEntry(L, 1);
  EXPECT_EQ(EntriesOf(L), (std::vector<AnsiString>{"one.rtf", "two.rtf"}));
  EXPECT_EQ(L->GetItemIndex(), 1);
}

TEST_F(MRUListTest, OfTwoEqualEntriesTheClickedOneGoes) {
  auto* L = NewList({"same.rtf", "other.rtf", "same.rtf"});
  L->Items()->SetObjects(0, L);  // marks the first entry
  L->SetRemoveItemOnClick(true);
  ClickEntry(L, 2);
  ASSERT_EQ(L->Items()->GetCount(), 2);
  EXPECT_EQ(L->Items()->GetObjects(0), L) << "the first of the equal entries stays";
  EXPECT_EQ(EntriesOf(L), (std::vector<AnsiString>{"same.rtf", "other.rtf"}));
}

TEST_F(MRUListTest, NothingIsRemovedWhileCustomizingOrWithoutEntry) {
  auto* L = NewList({"one.rtf", "two.rtf"});
  L->SetRemoveItemOnClick(true);
  M->SetIsCustomizing(true);
  ClickEntry(L, 0);
  M->SetIsCustomizing(false);
  EXPECT_EQ(L->Items()->GetCount(), 2);
  ClickEntry(L, -1);
  ClickEntry(L, 7);
  EXPECT_EQ(L->Items()->GetCount(), 2);
}

TEST_F(MRUListTest, RemoveItemFindsByTextOrByObject) {
  auto* L = NewList({"a", "b", "c"});
  L->Items()->SetObjects(2, M);
  L->RemoveItem("b", nullptr);
  EXPECT_EQ(EntriesOf(L), (std::vector<AnsiString>{"a", "c"}));
  L->RemoveItem("", M);
  EXPECT_EQ(EntriesOf(L), std::vector<AnsiString>{"a"});
  L->RemoveItem("missing", nullptr);
  L->RemoveItem("", Form);
  EXPECT_EQ(EntriesOf(L), std::vector<AnsiString>{"a"});
}

// The width of a text in the system font, as the shortening measures it.
int SystemFontWidth(const AnsiString& S) {
  HDC DC = GetDC(nullptr);
  TRect R{0, 0, 0, 0};
  AnsiString T = S;
  DrawTextA(DC, T.data(), Integer(T.size()), &R, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
  ReleaseDC(nullptr, DC);
  return R.Width();
}

TEST_F(MRUListTest, LongPathsAreShortenedInTheMiddle) {
  AnsiString Deep = "/home/user";
  for (int I = 0; I < 12; ++I) Deep += "/a-rather-long-folder-name-" + std::to_string(I);
  Deep += "/Report.rtf";
  AnsiString Huge = "/data";
  while (Huge.size() < 3000) Huge += "/folder";
  Huge += "/last.rtf";
  for (const AnsiString& Path : {Deep, Huge}) {
    SCOPED_TRACE(Path.size());
    ASSERT_GT(SystemFontWidth(Path), 300);
    const AnsiString Short = MinimizePathText(Path);
    EXPECT_LE(SystemFontWidth(Short), 300);
    EXPECT_NE(Short.find("..."), AnsiString::npos);
    EXPECT_EQ(Short.substr(0, 3), Path.substr(0, 3)) << "the start stays";
    const AnsiString Last = Path.substr(Path.rfind('/'));
    EXPECT_EQ(Short.substr(Short.size() - Last.size()), Last) << "the file name stays";
  }
  for (const char* S : {"", "short.rtf", "/tmp/a.rtf"}) EXPECT_EQ(MinimizePathText(S), S);
  auto* L = NewList({});
  EXPECT_EQ(L->GetDisplayText(Deep), MinimizePathText(Deep));
}

TEST_F(MRUListTest, FormDescriptionLoadsTheList) {
  RegisterClasses({TForm::StaticClass()});
  auto* F = new TForm(App.get());
  TextToComponent(
      "object RecentForm: TForm\r\n"
      "  object dxBarManager1: TdxBarManager\r\n"
      "    object MRUList: TdxBarMRUListItem\r\n"
      "      Caption = 'Recent Projects'\r\n"
      "      Category = 0\r\n"
      "      Items.Strings = (\r\n"
      "        'c:\\one.rtf'\r\n"
      "        'c:\\two.rtf'\r\n"
      "        'c:\\three.rtf')\r\n"
      "      MaxItemCount = 16\r\n"
      "      RemoveItemOnClick = True\r\n"
      "    end\r\n"
      "  end\r\n"
      "end\r\n",
      F);
  TdxBarManager* FM = GetBarManagerOfForm(F);
  ASSERT_NE(FM, nullptr);
  auto* L = dynamic_cast<TdxBarMRUListItem*>(FM->FindItemByName("MRUList"));
  ASSERT_NE(L, nullptr);
  EXPECT_EQ(L->GetMaxItemCount(), 16);
  EXPECT_TRUE(L->GetRemoveItemOnClick());
  EXPECT_EQ(EntriesOf(L), (std::vector<AnsiString>{"c:\\one.rtf", "c:\\two.rtf", "c:\\three.rtf"}));
  // And written back as read.
  const AnsiString Text = ComponentToText(L);
  EXPECT_NE(Text.find("MaxItemCount = 16"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("'c:\\two.rtf'"), AnsiString::npos) << Text;
}

}  // namespace
