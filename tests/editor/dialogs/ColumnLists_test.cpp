// The drop-down list with columns: its rows laid out in columns with a bold
// part, its height, and how it closes (Enter, Escape, a click outside) and
// what it reports then.
#include <gtest/gtest.h>

#include <memory>

#include "DialogsTestSupport.h"
#include "editor/dialogs/ColumnLists.h"
#include "platform/forms/Screen.h"
#include "platform/forms/StdCtrls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Colors.h"

namespace {

class ColumnLists : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    Window = new TForm(App.get());
    Window->SetBounds(100, 100, 400, 300);
    Edit = new TEdit(Window);
    Edit->SetParent(Window);
    Edit->SetBounds(10, 10, 200, 21);
    Window->Show();
    Edit->SetFocus();
    Pump();
  }
  std::unique_ptr<TDCPopupListBox> Open(Integer Count, Integer X = 10, Integer Y = 31, Integer Limit = 0) {
    TStringList Items;
    for (Integer I = 0; I < Count; ++I) Items.Add("Item" + IntToStr(I) + "|~Type~" + IntToStr(I));
    std::unique_ptr<TDCPopupListBox> L(ShowPopupListBox(
        Edit, &Items, X, Limit, [this](TObject*, Integer I) { Results.push_back(I); }, nullptr,
        {lrLeftJustify, lrLeftJustify}, Y));
    Pump();
    return L;
  }
  TForm* Window = nullptr;
  TEdit* Edit = nullptr;
  std::vector<Integer> Results;
};

TEST_F(ColumnLists, HeightHoldsOneToSevenRows) {
  for (Integer Count : {0, 1, 5, 7, 20}) {
    auto L = Open(Count);
    const Integer Rows = std::clamp<Integer>(Count, 1, 7);
    EXPECT_EQ(L->ClientHeight(), Rows * L->GetItemHeight()) << Count;
    EXPECT_GE(L->GetItemHeight(), 9);
    EXPECT_EQ(L->GetItemIndex(), Count > 0 ? 0 : -1);
    L->CloseUp(false);
  }
}

TEST_F(ColumnLists, ColumnsLineUpAndTheMarkedPartIsBold) {
  TStringList Items;
  Items.Add("a|~Type~");
  Items.Add("much longer name|x");
  std::unique_ptr<TDCPopupListBox> L(
      ShowPopupListBox(Edit, &Items, 10, 0, nullptr, nullptr, {lrLeftJustify, lrRightJustify}, 31));
  Pump();
  ASSERT_EQ(L->MeasuredWidths().size(), 2u);
  TBitmap B;
  B.SetSize(1, 1);
  TCanvas* C = B.Canvas();
  C->SetFont(L->GetFont());
  // The first column is as wide as its widest text (and a blank).
  EXPECT_EQ(L->MeasuredWidths()[0], C->TextWidth("much longer name "));
  // The marked part is measured in bold: wider than the same text plain.
  EXPECT_GT(L->MeasuredWidths()[1], C->TextWidth("Type "));
  // The list is as wide as its columns and its margins.
  EXPECT_GE(L->ClientWidth(), 8 + L->MeasuredWidths()[0] + L->MeasuredWidths()[1]);
  TEditorDialogsTest::SaveShot(Window, "editor-dialogs-ColumnList-window");
  L->CloseUp(false);

  // A width limit narrows the columns in proportion.
  std::unique_ptr<TDCPopupListBox> N(
      ShowPopupListBox(Edit, &Items, 10, 60, nullptr, nullptr, {lrLeftJustify, lrLeftJustify}, 31));
  Pump();
  EXPECT_LT(N->MeasuredWidths()[0], C->TextWidth("much longer name "));
  EXPECT_LE(N->MeasuredWidths()[0] + N->MeasuredWidths()[1] + 1, 60);
  N->CloseUp(false);
}

TEST_F(ColumnLists, KeysOfTheControlReachTheListUntilItCloses) {
  auto L = Open(5);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Pump();
  EXPECT_EQ(L->GetItemIndex(), 2);
  Key(VK_RETURN);
  Pump();
  ASSERT_EQ(Results, std::vector<Integer>{2});
  EXPECT_FALSE(L->IsOpen());
  // Closed: the keys are the edit's again.
  Type("ab");
  Pump();
  EXPECT_EQ(Edit->GetText(), "ab");
  L = Open(5);
  Key(VK_ESCAPE);
  Pump();
  EXPECT_EQ(Results, (std::vector<Integer>{2, -1}));
}

TEST_F(ColumnLists, ClicksInsideChooseAndOutsideCancel) {
  auto L = Open(5);
  // A click on the third row chooses it.
  ClickAt(L.get(), 10, L->GetItemHeight() * 2 + 2);
  Pump();
  ASSERT_EQ(Results, std::vector<Integer>{2});
  L = Open(5);
  ClickAt(Window, 350, 250);
  Pump();
  EXPECT_EQ(Results, (std::vector<Integer>{2, -1}));
  EXPECT_FALSE(L->IsOpen());
}

TEST_F(ColumnLists, NearTheScreenEdgeItOpensLeftAndAbove) {
  const TPoint Corner = Edit->ClientToScreen({0, 0});
  const Integer X = Screen->Width() - Corner.X - 5, Y = Screen->Height() - Corner.Y - 5;
  auto L = Open(10, X, Y);
  EXPECT_LT(L->GetLeft() + L->GetWidth(), Screen->Width());
  EXPECT_LT(L->GetTop() + L->GetHeight(), Screen->Height());
  EXPECT_EQ(L->GetLeft() + L->GetWidth(), Corner.X + X);
}

}  // namespace
