// The edit control with buttons: where its buttons and inner edit stand,
// how its list drops down and closes (keys, clicks, the screen's edge),
// what reaches its edit source, and the fallbacks for unknown part names.
#include <gtest/gtest.h>

#include <memory>

#include "DialogsTestSupport.h"
#include "editor/dialogs/ColumnLists.h"
#include "editor/dialogs/DCEdit.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Colors.h"
#include "platform/win/SysMetrics.h"

namespace {

struct TCounter : TObject {
  int Changes = 0, Drops = 0;
  void Change(TObject*) { ++Changes; }
  void Drop(TObject*) { ++Drops; }
};

class DCEdit : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    Window = new TForm(App.get());
    Window->SetBounds(100, 100, 400, 300);
    Edit = new TCustomDCEdit(Window);
    Edit->SetParent(Window);
    Edit->SetBounds(10, 10, 150, 21);
    Other = new TEdit(Window);
    Other->SetParent(Window);
    Other->SetBounds(10, 60, 100, 21);
    List()->GetItems()->SetCommaText("Alpha,Beta,Gamma,Delta");
    Edit->OnChange = TNotifyEvent(&Count, &TCounter::Change);
    Edit->OnDropDown = TNotifyEvent(&Count, &TCounter::Drop);
    Window->Show();
    Edit->SetFocus();
    Pump();
  }
  TPopupListBox* List() { return dynamic_cast<TPopupListBox*>(Edit->Popup()); }
  void AltKey(WORD Vk) {
    HeadlessDisplay().KeyDown(VK_MENU);
    HeadlessDisplay().KeyPress(Vk);
    HeadlessDisplay().KeyUp(VK_MENU);
    Pump();
  }
  TForm* Window = nullptr;
  TCustomDCEdit* Edit = nullptr;
  TEdit* Other = nullptr;
  TCounter Count;
  int& Changes = Count.Changes;
};

TEST_F(DCEdit, ButtonsStandAtTheRightEdgeAndTheEditFillsTheRest) {
  const Integer Thumb = GetSystemMetrics(SM_CXHTHUMB);
  const Integer CW = Edit->ClientWidth();
  TEditButton* B1 = Edit->Button1()->Button();
  TEditButton* B2 = Edit->Button2()->Button();
  ASSERT_NE(Edit->InnerEdit(), nullptr);
  EXPECT_TRUE(dynamic_cast<TDCSimpleEdit*>(Edit->InnerEdit()));
  EXPECT_EQ(Edit->VisibleButtons(), 1);
  EXPECT_EQ(B1->GetLeft(), CW - Thumb);
  EXPECT_EQ(B1->GetWidth(), Thumb);
  EXPECT_EQ(Edit->InnerEdit()->GetWidth(), CW - Thumb);

  // The dots button joins at the edge, the arrow moves left of it.
  Edit->Button2()->SetVisible(true);
  Pump();
  SaveShot(Window, "dcedit-buttons");
  // The arrow's tip and the middle dot in the button text colour.
  EXPECT_EQ(PixelAt(B1, B1->GetWidth() / 2, B1->GetHeight() / 2), ColorToRGB(clBtnText));
  EXPECT_EQ(PixelAt(B2, B2->GetWidth() / 2, B2->GetHeight() / 2), ColorToRGB(clBtnText));
  EXPECT_EQ(B2->GetLeft(), CW - Thumb);
  EXPECT_EQ(B1->GetLeft(), CW - 2 * Thumb);
  EXPECT_EQ(Edit->InnerEdit()->GetWidth(), CW - 2 * Thumb);

  // A glyph of its own: a custom button as wide as the glyph + 4.
  TBitmap Glyph;
  Glyph.SetWidth(12);
  Glyph.SetHeight(10);
  Edit->Button1()->SetGlyph(&Glyph);
  EXPECT_EQ(Edit->Button1()->GetKind(), TButtonParams::bkCustom);
  EXPECT_EQ(B1->GetWidth(), 16);
  Edit->Button1()->SetWidth(30);
  EXPECT_EQ(B1->GetWidth(), 30);

  // Hiding a button hides the last one shown.
  Edit->Button1()->SetVisible(false);
  EXPECT_TRUE(B1->GetVisible());
  EXPECT_FALSE(B2->GetVisible());
  // Both hidden, then the second asked for: the first one shows.
  Edit->Button1()->SetVisible(false);
  EXPECT_EQ(Edit->InnerEdit()->GetWidth(), CW);
  Edit->Button2()->SetVisible(true);
  EXPECT_TRUE(B1->GetVisible());
  EXPECT_FALSE(B2->GetVisible());
}

TEST_F(DCEdit, AltDownOpensTheListUnderTheControlAndEnterAcceptsIt) {
  Edit->SetText("Beta");
  Changes = 0;
  AltKey(VK_DOWN);
  ASSERT_TRUE(Edit->DroppedDown());
  EXPECT_EQ(Count.Drops, 1);
  TPopupListBox* L = List();
  const TPoint Corner = Edit->ClientToScreen({0, 0});
  EXPECT_EQ(L->GetTop(), Corner.Y + Edit->ClientHeight());
  EXPECT_GE(L->GetWidth(), Edit->GetWidth());
  EXPECT_EQ(L->GetItemIndex(), 1) << "the current text is selected";
  SaveShot(Window, "dcedit-dropped");

  Key(VK_DOWN);
  Pump();
  EXPECT_EQ(Edit->GetText(), "Beta") << "moving in the list keeps the text";
  Key(VK_RETURN);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(Edit->GetText(), "Gamma");
  EXPECT_GE(Changes, 1);
  EXPECT_EQ(Edit->EditSource()->GetText(), "Gamma");

  // Escape closes without taking the entry.
  AltKey(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(Edit->GetText(), "Gamma");
}

TEST_F(DCEdit, TheButtonTogglesAndAClickOutsideClosesWithoutChange) {
  Edit->SetText("Alpha");
  TEditButton* B1 = Edit->Button1()->Button();
  ClickAt(B1, B1->GetWidth() / 2, B1->GetHeight() / 2);
  Pump();
  ASSERT_TRUE(Edit->DroppedDown());
  ClickAt(B1, B1->GetWidth() / 2, B1->GetHeight() / 2);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown()) << "a second click closes it";

  ClickAt(B1, B1->GetWidth() / 2, B1->GetHeight() / 2);
  Pump();
  ASSERT_TRUE(Edit->DroppedDown());
  Key(VK_DOWN);
  ClickAt(Window, 350, 250);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(Edit->GetText(), "Alpha");

  // A click on a row takes it.
  ClickAt(B1, B1->GetWidth() / 2, B1->GetHeight() / 2);
  Pump();
  ASSERT_TRUE(Edit->DroppedDown());
  ClickAt(List(), 10, List()->GetItemHeight() * 3 + 2);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(Edit->GetText(), "Delta");
}

TEST_F(DCEdit, NearTheBottomOfTheScreenTheListOpensAbove) {
  Window->SetBounds(100, Screen->Height() - 60, 400, 60);
  Pump();
  AltKey(VK_DOWN);
  ASSERT_TRUE(Edit->DroppedDown());
  const TPoint Corner = Edit->ClientToScreen({0, 0});
  EXPECT_EQ(List()->GetTop() + List()->GetHeight(), Corner.Y);
  EXPECT_LE(List()->GetTop() + List()->GetHeight(), Screen->Height());
}

TEST_F(DCEdit, DropOnClickOpensOnAPlainClickOnly) {
  Edit->DropOnClick = true;
  Edit->SetText("Alpha Beta");
  TWinControl* Inner = Edit->InnerEdit();
  ClickAt(Inner, 5, Inner->GetHeight() / 2);
  Pump();
  EXPECT_TRUE(Edit->DroppedDown());
  Edit->CloseUp(false);
  // A drag that selects text is no plain click.
  const TPoint From = Inner->ClientToScreen({2, Inner->GetHeight() / 2});
  const TPoint To = Inner->ClientToScreen({40, Inner->GetHeight() / 2});
  HeadlessDisplay().MouseDown(From.X, From.Y);
  HeadlessDisplay().MouseMove(To.X, To.Y);
  HeadlessDisplay().MouseUp(To.X, To.Y);
  Pump();
  EXPECT_FALSE(Edit->DroppedDown());
}

TEST_F(DCEdit, TheCommitMessageEnterAndLeavingGiveTheTextToTheSource) {
  // Typed text reaches the (plain) source on the commit message.
  Type("abc");
  Pump();
  EXPECT_GE(Changes, 3) << "each typed character changes the text";
  EXPECT_EQ(Edit->EditSource()->GetText(), "");
  Edit->Perform(DCM_VALIDATEEDIT);
  EXPECT_EQ(Edit->EditSource()->GetText(), "abc");
  Type("d");
  Key(VK_RETURN);
  Pump();
  EXPECT_EQ(Edit->EditSource()->GetText(), "abcd");
  Type("e");
  Pump();
  Other->SetFocus();
  Pump();
  EXPECT_EQ(Edit->EditSource()->GetText(), "abcde") << "leaving the control commits";
}

TEST_F(DCEdit, UnknownPartNamesGiveThePlainParts) {
  Edit->SetEditClassName("TNoSuchEdit");
  EXPECT_EQ(Edit->InnerEdit()->ClassType(), TDCSimpleEdit::StaticClass());
  Edit->SetEditSourceClassName("TNoSuchSource");
  EXPECT_EQ(Edit->EditSource()->ClassType(), TDummyEditSource::StaticClass());
  Edit->SetPopupClassName("TNoSuchList");
  EXPECT_EQ(Edit->Popup()->ClassType(), TDummyPopup::StaticClass());
  Edit->DropDown();
  EXPECT_FALSE(Edit->DroppedDown()) << "a placeholder never drops down";
  // The inner edit still works after it was replaced.
  Edit->SetText("kept");
  EXPECT_EQ(Edit->GetText(), "kept");
}

}  // namespace
