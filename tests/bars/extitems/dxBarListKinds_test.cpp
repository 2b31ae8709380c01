// The toolbars list's entries, the in-place sub-item's unfolding and the
// registration of the extra kinds.
#include "../BarsTestSupport.h"

#include "bars/customize/dxBarCustomizing.h"
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/extitems/dxBarExtItems.h"

namespace {

// One entry of a generated menu as the user sees it.
struct TEntry {
  AnsiString Caption;
  bool Down, BeginGroup, Enabled;
  bool operator==(const TEntry&) const = default;
};
void PrintTo(const TEntry& E, std::ostream* Os) {
  *Os << "{" << E.Caption << (E.Down ? " down" : "") << (E.BeginGroup ? " group" : "") << (E.Enabled ? "" : " disabled")
      << "}";
}

class ListKindsTest : public BarsTest {
protected:
  void TearDown() override {
    dxBarFreeAllTempItems();
    BarsTest::TearDown();
  }
  static std::vector<TEntry> EntriesOf(TdxBarItemLinks* L) {
    std::vector<TEntry> R;
    for (Integer I = 0; I < L->Count(); ++I) {
      auto* B = dynamic_cast<TdxBarButton*>(L->GetItem(I)->GetItem());
      R.push_back({B->GetCaption(), B->GetDown(), L->GetItem(I)->GetStoredBeginGroup(), B->GetStoredEnabled()});
    }
    return R;
  }
};

TEST_F(ListKindsTest, ToolbarsListShowsTheBarsTheUserMayClose) {
  TdxBar* Menu = NewBar("Menu");
  Menu->SetIsMainMenu(true);
  NewBar("Standard")->SetVisible(true);
  NewBar("Hidden")->SetHidden(true);
  NewBar("Edit")->SetVisible(false);
  auto* List = NewItem<TdxBarToolbarsListItem>("ToolbarsList", "&Toolbars");
  EXPECT_FALSE(List->CanCustomizeItems());

  struct TCase {
    bool CanCustomize;
    std::vector<TEntry> Want;
    const char* Why;
  };
  const TCase Cases[] = {
      {true,
       {{"Standard", true, false, true}, {"Edit", false, false, true}, {"&Customize...", false, true, true}},
       "closable bars, checked when visible, then Customize after a group line"},
      {false, {{"Standard", true, false, true}, {"Edit", false, false, true}}, "no Customize entry, no separator"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    M->SetCanCustomize(C.CanCustomize);
    List->ItemLinks()->Clear();
    dxBarBuildToolbarsPopupLinks(M, List->ItemLinks());
    EXPECT_EQ(EntriesOf(List->ItemLinks()), C.Want);
  }
}

TEST_F(ListKindsTest, ToolbarsListEntryTogglesItsBar) {
  NewBar("Standard");
  TdxBar* Edit = NewBar("Edit");
  Edit->SetVisible(false);
  auto* List = NewItem<TdxBarToolbarsListItem>("ToolbarsList");
  dxBarBuildToolbarsPopupLinks(M, List->ItemLinks());
  TdxBarItem* EditEntry = List->ItemLinks()->GetItem(1)->GetItem();
  EXPECT_EQ(EditEntry->GetTag(), 1);
  EditEntry->Click();
  EXPECT_TRUE(Edit->GetVisible());
  EditEntry->Click();
  EXPECT_FALSE(Edit->GetVisible());
}

TEST_F(ListKindsTest, CustomizeEntryIsDisabledWhileAFormIsOpenAndEntriesAreFreedWhenUnused) {
  NewBar("Standard");
  auto* List = NewItem<TdxBarToolbarsListItem>("ToolbarsList");
  dxBarBuildToolbarsPopupLinks(M, List->ItemLinks());
  TdxBarItem* Customize = List->ItemLinks()->GetItem(1)->GetItem();
  Customize->Click();
  EXPECT_TRUE(M->IsCustomizing());
  EXPECT_EQ(dxBarCustomizingManager(), M);

  List->ItemLinks()->Clear();
  dxBarBuildToolbarsPopupLinks(M, List->ItemLinks());
  EXPECT_FALSE(List->ItemLinks()->GetItem(1)->GetItem()->GetStoredEnabled());
  dxBarSetCustomizing(M, false);
  EXPECT_FALSE(M->IsCustomizing());
  EXPECT_EQ(dxBarCustomizingManager(), nullptr);

  EXPECT_EQ(dxBarTempItemCount(), 4);
  List->ItemLinks()->Clear();
  dxBarFreeUnusedTempItems();
  EXPECT_EQ(dxBarTempItemCount(), 0);
}

struct TExpandWatcher : TObject {
  std::vector<std::string> Log;
  TdxBarItemLinks* Menu = nullptr;
  void After(TdxBarInPlaceSubItem*, TdxBarItemLink* L) { Log.push_back("after " + std::to_string(L->Index())); }
  void Before(TdxBarInPlaceSubItem*, TdxBarItemLink* L) { Log.push_back("before " + std::to_string(L->Index())); }
};

TEST_F(ListKindsTest, InPlaceSubItemFiresItsEventsPerLinkAroundTheChange) {
  auto* Sub = NewItem<TdxBarSubItem>("Menu1");
  auto* Sub2 = NewItem<TdxBarSubItem>("Menu2");
  auto* InPlace = NewItem<TdxBarInPlaceSubItem>("InPlace", "More");
  Sub->ItemLinks()->AddItem(InPlace);
  Sub2->ItemLinks()->AddItem(NewItem<TdxBarButton>("Top"));
  Sub2->ItemLinks()->AddItem(InPlace);
  TExpandWatcher W;
  InPlace->OnAfterExpand = TdxBarInPlaceSubItemEvent(&W, &TExpandWatcher::After);
  InPlace->OnBeforeCollapse = TdxBarInPlaceSubItemEvent(&W, &TExpandWatcher::Before);
  InPlace->SetExpanded(true);
  InPlace->SetExpanded(true);
  InPlace->SetExpanded(false);
  EXPECT_EQ(W.Log, (std::vector<std::string>{"after 0", "after 1", "before 0", "before 1"}));
  EXPECT_TRUE(InPlace->HasContent());
  EXPECT_FALSE(InPlace->ReplacesOwnLink());
}

TEST_F(ListKindsTest, EntryAfterTheUnfoldedBlockKeepsAGroupLineWhileExpanded) {
  auto* Sub = NewItem<TdxBarSubItem>("Menu1");
  auto* InPlace = NewItem<TdxBarInPlaceSubItem>("InPlace", "More");
  InPlace->ItemLinks()->AddItem(NewItem<TdxBarButton>("Inner1"));
  InPlace->ItemLinks()->AddItem(NewItem<TdxBarButton>("Inner2"));
  Sub->ItemLinks()->AddItem(InPlace);
  // The menu as it shows the unfolded block: header, two entries, the next one.
  Sub->ItemLinks()->AddItem(NewItem<TdxBarButton>("Copy1"));
  Sub->ItemLinks()->AddItem(NewItem<TdxBarButton>("Copy2"));
  TdxBarItemLink* Next = Sub->ItemLinks()->AddItem(NewItem<TdxBarButton>("Next"));
  Next->SetBeginGroup(true);

  InPlace->SetExpanded(true);
  EXPECT_TRUE(Next->GetStoredBeginGroup()) << "without KeepBeginGroupWhileExpanded nothing changes";
  InPlace->SetExpanded(false);
  EXPECT_TRUE(Next->GetStoredBeginGroup());

  InPlace->SetKeepBeginGroupWhileExpanded(true);
  Next->SetBeginGroup(false);
  InPlace->SetExpanded(true);
  EXPECT_TRUE(Next->GetStoredBeginGroup());
  InPlace->SetExpanded(false);
  EXPECT_FALSE(Next->GetStoredBeginGroup()) << "collapsing takes the line away, whatever it had before";
}

TEST_F(ListKindsTest, ExtraKindsAreRegisteredWithTheirControls) {
  struct TCase {
    TClass Item, Control;
  };
  // In the order the add-item dialog lists them, after the library's own.
  const TCase Cases[] = {
      {TdxBarStatic::StaticClass(), TdxBarStaticControl::StaticClass()},
      {TdxBarLargeButton::StaticClass(), TdxBarLargeButtonControl::StaticClass()},
      {TdxBarColorCombo::StaticClass(), TdxBarColorComboControl::StaticClass()},
      {TdxBarFontNameCombo::StaticClass(), TdxBarFontNameComboControl::StaticClass()},
      {TdxBarDateCombo::StaticClass(), TdxBarDateComboControl::StaticClass()},
      {TdxBarTreeViewCombo::StaticClass(), TdxBarTreeViewComboControl::StaticClass()},
      {TdxBarImageCombo::StaticClass(), TdxBarImageComboControl::StaticClass()},
      {TdxBarToolbarsListItem::StaticClass(), TdxBarToolbarsListItemControl::StaticClass()},
      {TdxBarSpinEdit::StaticClass(), TdxBarSpinEditControl::StaticClass()},
      {TdxBarControlContainerItem::StaticClass(), TdxBarControlContainerControl::StaticClass()},
      {TdxBarProgressItem::StaticClass(), TdxBarProgressControl::StaticClass()},
      {TdxBarMRUListItem::StaticClass(), TdxBarContainerItemControl::StaticClass()},
      {TdxBarInPlaceSubItem::StaticClass(), TdxBarInPlaceSubItemControl::StaticClass()},
  };
  const int First = dxBarItemClassCount() - int(std::size(Cases));
  for (int I = 0; I < int(std::size(Cases)); ++I)
    EXPECT_EQ(dxBarItemClassAt(First + I).ItemClass, Cases[I].Item) << I;
  EXPECT_EQ(dxBarItemClassAt(First - 1).ItemClass, TdxBarContainerItem::StaticClass());
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Item->ClassName());
    const TdxBarItemClassEntry* E = dxBarFindItemClass(C.Item);
    ASSERT_NE(E, nullptr);
    EXPECT_EQ(E->ControlClass, C.Control);
    EXPECT_TRUE(E->ShowInCustomizing);
    // A link of the kind gets a control of the registered class.
    TdxBar* Bar = NewBar("Bar");
    auto* Item = dynamic_cast<TdxBarItem*>(C.Item->Create(Form));
    TdxBarItemLink* L = Bar->ItemLinks()->AddItem(Item);
    std::unique_ptr<TdxBarItemControl> Control(dxBarCreateItemControl(L));
    ASSERT_NE(Control, nullptr);
    EXPECT_EQ(Control->ClassType(), C.Control);
  }
}

TEST(ExtItemsStartUp, FirstDayOfWeekFollowsTheLocale) {
  struct TCase {
    const char* Digit;
    Word Want;
  };
  const TCase Cases[] = {{"0", 1}, {"6", 0}, {"5", 6}, {"3", 4}, {"", 0}, {"9", 0}, {"x", 0}, {"12", 0}};
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Digit);
    EXPECT_EQ(dxBarFirstDayOfWeekFromLocale(C.Digit), C.Want);
  }
}

}  // namespace
