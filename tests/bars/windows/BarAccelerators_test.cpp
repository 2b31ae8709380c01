// Accelerators: a caption's "&" letter chooses its link only where the key
// may choose it: an enabled item, and on a toolbar only a link that shows
// its caption (a picture-only button or an edit without its caption has
// no letter to press there). In a menu every caption shows.
#include "../extitems/ExtItemsTestSupport.h"

namespace {

class BarAcceleratorTest : public ExtItemsWindowTest {};

TEST_F(BarAcceleratorTest, OnlyLinksThatShowTheirCaptionTakeTheLetter) {
  struct TCase {
    const char* Name;
    std::function<TdxBarItem*(TForm*)> Make;
    bool OnToolbar, InMenu;
  };
  auto Button = [](TdxBarPaintStyle PS, Integer Image, bool Enabled) {
    return [=](TForm* F) -> TdxBarItem* {
      auto* B = new TdxBarButton(F);
      B->SetPaintStyle(PS);
      B->SetImageIndex(Image);
      B->SetEnabled(Enabled);
      return B;
    };
  };
  auto Edit = [](bool ShowCaption) {
    return [=](TForm* F) -> TdxBarItem* {
      auto* E = new TdxBarEdit(F);
      E->SetShowCaption(ShowCaption);
      return E;
    };
  };
  const TCase Cases[] = {
      {"picture only", Button(psStandard, 0, true), false, true},
      {"standard without a picture", Button(psStandard, -1, true), true, true},
      {"caption", Button(psCaption, 0, true), true, true},
      {"caption and glyph", Button(psCaptionGlyph, 0, true), true, true},
      {"disabled caption", Button(psCaption, 0, false), false, false},
      {"edit without its caption", Edit(false), false, true},
      {"edit with its caption", Edit(true), true, true},
  };
  auto* Popup = new TdxBarPopupMenu(Form);
  Show();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TdxBarItem* Item = C.Make(Form);
    Item->SetCaption("&Open");
    Bar->ItemLinks()->Clear();
    Bar->ItemLinks()->AddItem(Item);
    Bar->ItemLinks()->RebuildLists();
    Popup->ItemLinks()->Clear();
    Popup->ItemLinks()->AddItem(Item);
    Popup->ItemLinks()->RebuildLists();
    EXPECT_EQ(Bar->ItemLinks()->FindAccelerator('o') != nullptr, C.OnToolbar);
    EXPECT_EQ(Popup->ItemLinks()->FindAccelerator('O') != nullptr, C.InMenu);
  }
}

TEST_F(BarAcceleratorTest, ALinkThatCannotTakeTheLetterLeavesItToTheOther) {
  auto* Picture = Add<TdxBarButton>("Open", "&Open");
  Picture->SetImageIndex(0);
  auto* Options = Add<TdxBarButton>("Options", "&Options");
  Options->SetPaintStyle(psCaption);
  Show();
  TdxBarItemLink* L = Bar->ItemLinks()->FindAccelerator('O');
  ASSERT_NE(L, nullptr);
  EXPECT_EQ(L->GetItem(), Options);
  EXPECT_EQ(L->NextWithSameAccelerator(), L) << "the letter is Options' alone: pressing it runs it";
  // In menu mode the key runs it at once.
  Integer Clicks = 0;
  struct TCounter : TObject {
    Integer* N;
    void Click(TObject*) { ++*N; }
  } Counter;
  Counter.N = &Clicks;
  Options->OnClick = TNotifyEvent(&Counter, &TCounter::Click);
  auto* W = dynamic_cast<TdxBarControl*>(Window());
  ASSERT_NE(W, nullptr);
  W->EnterMenuMode(nullptr);
  W->Perform(WM_KEYDOWN, 'O', 0);
  Settle();
  EXPECT_EQ(Clicks, 1);
}

}  // namespace
