// The bar model: the manager's owner rules and usage numbers, bars' names
// and flags, links' derived values and separators, categories and groups,
// and the item kinds' own rules.
#include "BarsTestSupport.h"

#include "bars/model/dxBarStrs.h"
#include <set>
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

TEST_F(BarsTest, ManagerNeedsAFormOfItsOwnAsOwner) {
  TComponent NotAForm(nullptr);
  try {
    new TdxBarManager(&NotAForm);
    FAIL() << "a component that is not a form was accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "TdxBarManager should have as its Owner - TForm (TCustomForm)");
  }
  try {
    new TdxBarManager(Form);
    FAIL() << "a second manager on one form was accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "A Form should contain only a single TdxBarManager");
  }
  EXPECT_EQ(GetBarManagerOfForm(Form), M);
  EXPECT_EQ(BarManagers().Count(), 1);
}

TEST_F(BarsTest, InitialUseCountFollowsMostRecentItemsPercents) {
  struct {
    int Percents, Stored, UseCount;
  } const Cases[] = {{95, 95, 20}, {99, 99, 100}, {100, 100, 0}, {250, 100, 0}, {50, 50, 2}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Percents);
    M->SetMostRecentItemsPercents(Byte(C.Percents > 255 ? 255 : C.Percents));
    EXPECT_EQ(M->GetMostRecentItemsPercents(), C.Stored);
    EXPECT_EQ(M->InitialUseCount(), C.UseCount);
  }
}

TEST_F(BarsTest, UpdateLockIsAFlagNotACounter) {
  M->LockUpdate(true);
  M->LockUpdate(true);
  M->LockUpdate(false);
  EXPECT_FALSE(M->IsLocked());
  {
    TdxBarLockUpdateGuard Guard(M);
    EXPECT_TRUE(M->IsLocked());
  }
  EXPECT_FALSE(M->IsLocked());
}

TEST_F(BarsTest, CaptionNamesAnUnnamedBarAndStaysUnique) {
  TdxBar* A = NewBar("Standard");
  A->SetName("File");
  TdxBar* B = M->Bars()->Add();
  B->SetCaption("File");
  EXPECT_EQ(B->GetName(), "File1");
  TdxBar* C = NewBar("Other");
  C->SetCaption("File");  // another bar has exactly this caption
  EXPECT_EQ(C->GetCaption(), "Other");
  EXPECT_EQ(M->FindBarByCaption("File"), B);
  EXPECT_EQ(M->FindBarByCaption("file"), nullptr);
}

TEST_F(BarsTest, OneMainMenuAtATimeWithWholeRowAndMultiLine) {
  TdxBar* A = NewBar("Menu A");
  TdxBar* B = NewBar("Menu B");
  A->SetIsMainMenu(true);
  B->SetIsMainMenu(true);
  EXPECT_FALSE(A->GetIsMainMenu());
  EXPECT_FALSE(A->GetMultiLine());
  EXPECT_EQ(M->MainMenuBar(), B);
  EXPECT_TRUE(B->GetWholeRow());
  B->SetMultiLine(false);
  EXPECT_TRUE(B->GetMultiLine());
  EXPECT_FALSE(B->CanClose());
  delete B;
  EXPECT_EQ(M->MainMenuBar(), nullptr);
}

TEST_F(BarsTest, NegativePositionsAreClampedFloatingOnesKept) {
  TdxBar* B = NewBar("Bar");
  B->SetRow(-3);
  B->SetDockedLeft(-1);
  B->SetDockedTop(-7);
  B->SetFloatLeft(-40);
  EXPECT_EQ(B->GetRow(), 0);
  EXPECT_EQ(B->GetDockedLeft(), 0);
  EXPECT_EQ(B->GetDockedTop(), 0);
  EXPECT_EQ(B->GetFloatLeft(), -40);  // a screen position may be negative
}

TEST_F(BarsTest, LinkValuesComeFromTheItemUnlessTheUserSetThem) {
  auto* Edit = NewItem<TdxBarEdit>("FontSize", "Size");
  Edit->SetWidth(5);
  EXPECT_EQ(Edit->GetWidth(), 20);
  Edit->SetWidth(60);
  TdxBar* B = NewBar("Format");
  TdxBarItemLink* L = B->ItemLinks()->AddItem(Edit);
  EXPECT_EQ(L->GetCaption(), "Size");
  EXPECT_EQ(L->GetWidth(), 60);
  L->SetUserCaption("Size");  // equal to the derived caption: nothing
  EXPECT_FALSE(L->GetUserDefine().Contains(udCaption));
  L->SetUserCaption("Pt");
  L->SetUserWidth(5);
  EXPECT_EQ(L->GetCaption(), "Pt");
  EXPECT_EQ(L->GetUserWidth(), 20);
  EXPECT_TRUE(L->GetUserDefine().Contains(udWidth));
  L->SetUserDefine({udCaption});
  EXPECT_EQ(L->GetUserWidth(), 0);
  EXPECT_EQ(L->GetWidth(), 60);
  L->SetUserDefine({});
  EXPECT_EQ(L->GetCaption(), "Size");
  EXPECT_EQ(L->GetUserCaption(), "");
}

TEST_F(BarsTest, SeparatorOfAHiddenLinkMovesToTheNextShownLink) {
  auto* A = NewItem<TdxBarButton>("A", "A");
  auto* Bt = NewItem<TdxBarButton>("B", "B");
  auto* C = NewItem<TdxBarButton>("C", "C");
  TdxBarItemLinks* Links = NewBar("Bar")->ItemLinks();
  TdxBarItemLink* LA = Links->AddItem(A);
  TdxBarItemLink* LB = Links->AddItem(Bt);
  TdxBarItemLink* LC = Links->AddItem(C);
  LA->SetBeginGroup(true);
  LB->SetBeginGroup(true);
  EXPECT_FALSE(LA->GetBeginGroup());  // the first shown link never has one
  EXPECT_TRUE(LB->GetBeginGroup());
  LB->SetVisible(false);
  EXPECT_TRUE(LC->GetBeginGroup());
  EXPECT_TRUE(LB->GetBeginGroup());  // not shown: its stored flag
  // A link whose item is hidden is not available at all: its separator
  // goes with it.
  Bt->SetVisible(ivNever);
  LB->SetVisible(true);
  EXPECT_FALSE(LC->GetBeginGroup());
  EXPECT_EQ(Links->GetShownCount(), 2);
}

TEST_F(BarsTest, ASubItemCannotContainItself) {
  auto* File = NewItem<TdxBarSubItem>("File", "&File");
  auto* Recent = NewItem<TdxBarSubItem>("Recent", "Recent");
  File->ItemLinks()->AddItem(Recent);
  try {
    Recent->ItemLinks()->AddItem(File);
    FAIL() << "a recursive sub-menu was accepted";
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "You cannot create recursive subitems");
  }
  EXPECT_EQ(Recent->ItemLinks()->Count(), 0);
  EXPECT_THROW(File->ItemLinks()->AddItem(File), Exception);
}

TEST_F(BarsTest, CollapsedMenuShowsLinksDownToTheUseThreshold) {
  M->SetStyle(bmsOffice11);
  struct {
    int Percents;
    std::vector<int> Uses;  // in link order; the last link used most recently
    int Expected;
    const char* Why;
  } const Cases[] = {
      {95, {20, 20, 40, 20}, 1, "threshold 21: only the first of the recent order"},
      {95, {20, 20, 20, 20}, -1, "all equal: the whole menu"},
      {100, {0, 3, 9, 1}, -1, "100 percent: the threshold is the minimum"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    M->SetMostRecentItemsPercents(Byte(C.Percents));
    auto* Sub = new TdxBarSubItem(Form);
    std::vector<TdxBarItemLink*> Links;
    for (std::size_t I = 0; I < C.Uses.size(); ++I) {
      auto* B = new TdxBarButton(Form);
      Links.push_back(Sub->ItemLinks()->AddItem(B));
    }
    // The most used link is the most recent one.
    for (std::size_t I = 0; I < C.Uses.size(); ++I) Links[I]->SetUseCount(C.Uses[I]);
    auto Most = std::max_element(C.Uses.begin(), C.Uses.end()) - C.Uses.begin();
    Links[std::size_t(Most)]->MarkRecentlyUsed(false);
    EXPECT_EQ(Sub->ItemLinks()->GetRecentItemCount(), C.Expected);
  }
}

TEST_F(BarsTest, DeletingCategoriesFreesTheirItemsAndRenumbers) {
  M->Categories()->Add("Edit");
  M->Categories()->Add("View");
  auto* A = NewItem<TdxBarButton>("A", "A", 0);
  auto* B = NewItem<TdxBarButton>("B", "B", 1);
  auto* C = NewItem<TdxBarButton>("C", "C", 2);
  M->Categories()->Move(0, 2);
  EXPECT_EQ(A->GetCategory(), 2);
  EXPECT_EQ(B->GetCategory(), 0);
  EXPECT_EQ(C->GetCategory(), 1);
  M->Categories()->Add("Tools");  // at the end: renumbers nothing
  EXPECT_EQ(A->GetCategory(), 2);
  M->Categories()->Delete(0);  // B goes with its category
  EXPECT_EQ(M->FindItemByName("B"), nullptr);
  EXPECT_EQ(C->GetCategory(), 0);
  EXPECT_EQ(A->GetCategory(), 1);
  while (M->Categories()->GetCount() > 0 && M->GetItemCount() > 0) M->Categories()->Delete(0);
  M->Categories()->Delete(0);
  ASSERT_EQ(M->Categories()->GetCount(), 1);
  EXPECT_EQ((*M->Categories())[0], "Default");
}

TEST_F(BarsTest, GroupSwitchesReachEveryLinkOfNestedGroups) {
  auto* Save = NewItem<TdxBarButton>("Save", "&Save");
  auto* Print = NewItem<TdxBarButton>("Print", "&Print");
  TdxBar* Bar = NewBar("Standard");
  TdxBarItemLink* LS = Bar->ItemLinks()->AddItem(Save);
  TdxBarItemLink* LP = Bar->ItemLinks()->AddItem(Print);
  auto* Sub = NewItem<TdxBarSubItem>("FileMenu", "&File");
  TdxBarItemLink* LP2 = Sub->ItemLinks()->AddItem(Print);
  TdxBarGroup* Outer = M->CreateGroup();
  TdxBarGroup* Inner = M->CreateGroup();
  Outer->Add(Save);
  Outer->Add(Inner);
  Inner->Add(Print);
  Inner->Add(Print);  // twice: one entry
  EXPECT_EQ(Inner->GetCount(), 1);
  EXPECT_THROW(Inner->Add(Outer), Exception);

  Outer->SetVisible(ivNever);
  EXPECT_EQ(Bar->ItemLinks()->GetVisibleCount(), 0);
  EXPECT_EQ(Sub->ItemLinks()->GetVisibleCount(), 0);
  EXPECT_FALSE(LS->IsVisibleNow());
  EXPECT_FALSE(LP2->IsVisibleNow());
  EXPECT_FALSE(M->IsLocked());  // the lock went back
  Outer->SetVisible(ivAlways);
  EXPECT_EQ(Bar->ItemLinks()->GetShownCount(), 2);
  EXPECT_TRUE(LP->IsVisibleNow());

  Outer->SetEnabled(false);
  EXPECT_FALSE(Save->GetEnabled());
  EXPECT_FALSE(Print->GetEnabled());
  delete Print;  // a freed item leaves its groups and its links
  EXPECT_EQ(Inner->GetCount(), 0);
  EXPECT_EQ(Bar->ItemLinks()->Count(), 1);
  EXPECT_EQ(Sub->ItemLinks()->Count(), 0);
}

TEST_F(BarsTest, CheckedButtonsOfAGroupReleaseEachOther) {
  auto* L = NewItem<TdxBarButton>("AlignLeft", "Left");
  auto* R = NewItem<TdxBarButton>("AlignRight", "Right");
  for (TdxBarButton* B : {L, R}) {
    B->SetButtonStyle(bsChecked);
    B->SetGroupIndex(1);
  }
  L->Click();
  EXPECT_TRUE(L->GetDown());
  R->Click();
  EXPECT_TRUE(R->GetDown());
  EXPECT_FALSE(L->GetDown());
  R->Click();  // the last one down of a group without AllowAllUp stays down
  EXPECT_TRUE(R->GetDown());
}

namespace {
class TClickSink : public TObject {
public:
  std::vector<AnsiString> Log;
  void ManagerClick(TdxBarManager*, TdxBarItem* I) { Log.push_back("manager " + I->GetName()); }
  void ItemClick(TObject* S) { Log.push_back("item " + static_cast<TdxBarItem*>(S)->GetName()); }
};
}  // namespace

TEST_F(BarsTest, ClickGoesThroughTheManagerOnlyWhenEnabled) {
  TClickSink Sink;
  M->OnClickItem = TdxBarClickItemEvent(&Sink, &TClickSink::ManagerClick);
  auto* B = NewItem<TdxBarButton>("Open", "&Open...");
  B->OnClick = TNotifyEvent(&Sink, &TClickSink::ItemClick);
  B->Click();
  B->SetEnabled(false);
  B->Click();
  EXPECT_EQ(Sink.Log, (std::vector<AnsiString>{"manager Open", "item Open"}));
  EXPECT_EQ(B->GetHint(), "Open");  // the hint followed the caption
}

TEST(TdxBarListItem, DataIndexNeverReadsPastTheStrings) {
  TdxBarListItem Item(nullptr);
  for (const char* S : {"One", "-", "Two", "Three"}) Item.Items()->Add(S);
  struct {
    int ItemIndex, DataIndex;
  } const Cases[] = {{-1, -1}, {0, 0}, {1, 0}, {2, 1}, {3, 2}, {4, -1}, {99, -1}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.ItemIndex);
    Item.SetItemIndex(C.ItemIndex);
    EXPECT_EQ(Item.GetDataIndex(), C.DataIndex);
  }
  Item.SetDataIndex(1);
  EXPECT_EQ(Item.GetItemIndex(), 2);
  Item.SetDataIndex(7);  // beyond the entries: ItemIndex = Count
  EXPECT_EQ(Item.GetItemIndex(), 4);
  EXPECT_EQ(Item.GetDataIndex(), -1);
}

namespace {
class TChangeSink : public TObject {
public:
  int Changes = 0;
  void Changed(TObject*) { ++Changes; }
};
}  // namespace

TEST(TdxBarCombo, IndexAndTextFollowEachOther) {
  TdxBarCombo Combo(nullptr);
  TChangeSink Sink;
  Combo.OnChange = TNotifyEvent(&Sink, &TChangeSink::Changed);
  for (const char* S : {"Arial", "Courier", "Times"}) Combo.Items()->Add(S);
  Combo.SetText("Courier");
  EXPECT_EQ(Combo.GetItemIndex(), 1);
  Combo.SetItemIndex(7);
  EXPECT_EQ(Combo.GetItemIndex(), -1);
  EXPECT_EQ(Combo.GetText(), "");
  Combo.SetText("Times");
  int Before = Sink.Changes;
  Combo.Items()->Delete(2);  // shrinking below ItemIndex clears it
  EXPECT_EQ(Combo.GetItemIndex(), -1);
  EXPECT_EQ(Combo.GetText(), "");
  EXPECT_EQ(Sink.Changes, Before + 1);
}

TEST(dxBarStrs, EveryTextResolvesAsWritten) {
  int Count = 0;
  const unsigned* Ids = dxBarStrIds(Count);
  std::set<unsigned> Unique(Ids, Ids + Count);
  EXPECT_EQ(Count, 109);
  EXPECT_EQ(Unique.size(), 109u);
  for (int I = 0; I < Count; ++I) EXPECT_FALSE(dxBarStr(Ids[I]).empty()) << Ids[I];
  EXPECT_EQ(dxBarStr(64952), "Description  ");
  EXPECT_EQ(dxBarStr(64972), " Toolbars ");
  EXPECT_EQ(dxBarStr(dxSBAR_RECURSIVEGROUPS), "You cannot create recursive groups");
  EXPECT_EQ(Format(dxBarStr(dxSBAR_WANTTODELETETOOLBAR), {AnsiString("Standard")}),
            "Are you sure you want to delete the 'Standard' toolbar?");
  EXPECT_EQ(dxBarStr(1), "");
}

// A list's entries: numbered 1 to 9, then A, B...; without ShowNumbers the
// text alone; ShowCheck checks the entry of ItemIndex (separators count in
// ItemIndex); OnGetData refills the strings at the first expansion in a
// menu; the buttons are made once and reused until a closed menu let go
// of them.
TEST_F(BarsTest, ListEntriesAreNumberedCheckedAndRefilledByOnGetData) {
  auto* List = NewItem<TdxBarListItem>("List");
  auto* Menu = NewItem<TdxBarSubItem>("Menu");
  TdxBarItemLink* Own = Menu->ItemLinks()->AddItem(List);
  for (int I = 0; I < 12; ++I) List->Items()->Add(I == 1 ? AnsiString("-") : AnsiString(1, 'S').append(std::to_string(I)));
  List->SetShowCheck(true);
  List->SetItemIndex(2);
  List->AddListItems(Menu->ItemLinks(), 1, Own, false);
  TdxBarItemLinks* L = Menu->ItemLinks();
  ASSERT_EQ(L->Count(), 12);  // the own link and 11 entries
  EXPECT_EQ(L->GetItem(1)->GetCaption(), "&1 S0");
  EXPECT_EQ(L->GetItem(2)->GetCaption(), "&2 S2");
  EXPECT_TRUE(L->GetItem(2)->GetBeginGroup());
  EXPECT_TRUE(static_cast<TdxBarButton*>(L->GetItem(2)->GetItem())->GetDown()) << "ItemIndex 2 is the checked one";
  EXPECT_FALSE(static_cast<TdxBarButton*>(L->GetItem(1)->GetItem())->GetDown());
  EXPECT_EQ(L->GetItem(10)->GetCaption(), "&A S10");
  EXPECT_EQ(L->GetItem(11)->GetCaption(), "&B S11");
  EXPECT_EQ(L->GetItem(11)->OwnerLink(), Own);
  List->DeleteListItems(L, 1);
  EXPECT_EQ(L->Count(), 1);
  EXPECT_EQ(List->GeneratedCount(), 11) << "kept until a closed menu lets go of them";

  struct TFill : TObject {
    TdxBarListItem* List = nullptr;
    int Calls = 0;
    void GetData(TObject*) {
      ++Calls;
      List->Items()->Clear();
      List->Items()->Add("Fresh");
    }
  } Fill;
  Fill.List = List;
  List->OnGetData = TNotifyEvent(&Fill, &TFill::GetData);
  List->SetShowNumbers(false);
  List->SetNeedsClear();
  List->AddListItems(L, 1, Own, true);
  EXPECT_EQ(Fill.Calls, 1);
  ASSERT_EQ(L->Count(), 2);
  EXPECT_EQ(L->GetItem(1)->GetCaption(), "Fresh");
  List->AddListItems(L, 2, Own, false);  // a second link of the list in the same menu: no new data
  EXPECT_EQ(Fill.Calls, 1);
}
