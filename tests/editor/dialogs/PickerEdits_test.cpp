// The picker parts of the edit control with buttons: the colour and pen
// lists select the edit's value when they drop down and give back the
// chosen name; the inner edits paint the value and refuse a bad colour.
#include <gtest/gtest.h>

#include "DialogsTestSupport.h"
#include "editor/dialogs/DCEdit.h"
#include "editor/dialogs/PickerEdits.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/Exceptions.h"

namespace {

class PickerEdits : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    RegisterDCEditClasses();
    Window = new TForm(App.get());
    Window->SetBounds(100, 100, 300, 240);
    Edit = new TCustomDCEdit(Window);
    Edit->SetParent(Window);
    Edit->SetBounds(10, 10, 150, 21);
    Window->Show();
    Pump();
  }
  void Use(const char* EditClass, const char* ListClass, const char* Text) {
    Edit->SetEditClassName(EditClass);
    Edit->SetPopupClassName(ListClass);
    Edit->SetText(Text);
    Edit->SetFocus();
    Pump();
  }
  void AltDown() {
    HeadlessDisplay().KeyDown(VK_MENU);
    HeadlessDisplay().KeyPress(VK_DOWN);
    HeadlessDisplay().KeyUp(VK_MENU);
    Pump();
  }
  TForm* Window = nullptr;
  TCustomDCEdit* Edit = nullptr;
};

TEST_F(PickerEdits, PenListSelectsTheValueAndGivesBackTheChosenName) {
  Use("TPenStyleEdit", "TPopupPenBox", "psDot");
  ASSERT_TRUE(dynamic_cast<TPenStyleEdit*>(Edit->InnerEdit()));
  auto* List = dynamic_cast<TPopupPenBox*>(Edit->Popup());
  ASSERT_TRUE(List);
  EXPECT_EQ(List->GetItems()->GetCommaText(), "psSolid,psDash,psDot,psDashDot,psDashDotDot,psClear,psInsideFrame");
  AltDown();
  ASSERT_TRUE(Edit->DroppedDown());
  EXPECT_EQ(List->GetItemIndex(), 2);
  SaveShot(Window, "picker-pen-dropped");
  Key(VK_UP);
  Key(VK_RETURN);
  Pump();
  EXPECT_EQ(Edit->GetText(), "psDash");
  EXPECT_EQ(List->SelectedPen(), psDash);

  // The closed field draws a dashed line: black and background alternate
  // along its middle, and the ends stay clear.
  Edit->SetText("psDot");
  Pump();
  TWinControl* Inner = Edit->InnerEdit();
  const int Y = Inner->ClientHeight() / 2;
  int Black = 0, Other = 0;
  for (int X = 4; X < Inner->ClientWidth() - 4; ++X)
    (PixelAt(Inner, X, Y) == RGB(0, 0, 0) ? Black : Other)++;
  EXPECT_GT(Black, 5);
  EXPECT_GT(Other, 5) << "a dotted line has gaps";
  EXPECT_NE(PixelAt(Inner, 0, Y), RGB(0, 0, 0));
}

TEST_F(PickerEdits, ColourListHoldsTheStandardAndSystemColoursAndNone) {
  Use("TColorEdit", "TPopupColorBox", "clRed");
  auto* List = dynamic_cast<TPopupColorBox*>(Edit->Popup());
  ASSERT_TRUE(List);
  TStrings* Items = List->GetItems();
  ASSERT_EQ(Items->GetCount(), 42);
  EXPECT_EQ(Items->GetStrings(0), "clBlack");
  EXPECT_EQ(Items->GetStrings(15), "clWhite");
  EXPECT_EQ(Items->GetStrings(16), "clScrollBar");
  EXPECT_EQ(Items->GetStrings(41), "clNone");
  AltDown();
  ASSERT_TRUE(Edit->DroppedDown());
  EXPECT_EQ(List->GetItemIndex(), 9) << "clRed";
  SaveShot(Window, "picker-colour-dropped");
  Key(VK_DOWN);
  Key(VK_RETURN);
  Pump();
  EXPECT_EQ(Edit->GetText(), "clLime");
  EXPECT_EQ(List->SelectedColor(), clLime);
  Pump();
  // The swatch shows the colour.
  TWinControl* Inner = Edit->InnerEdit();
  EXPECT_EQ(PixelAt(Inner, 12, Inner->ClientHeight() / 2), RGB(0, 255, 0));
}

TEST_F(PickerEdits, ANameThatIsNoColourIsRefusedAndTheTextStays) {
  Use("TColorEdit", "TPopupColorBox", "clNavy");
  EXPECT_THROW(Edit->SetText("clNoSuchColour"), EConvertError);
  EXPECT_EQ(Edit->GetText(), "clNavy");
  // A colour value in hexadecimal is a colour too.
  Edit->SetText("$00123456");
  EXPECT_EQ(Edit->GetText(), "$00123456");
}

TEST_F(PickerEdits, BrushListNamesTheStyleAndClearIsThePlainBackground) {
  Use("TBrushStyleEdit", "TPopupBrushBox", "bsCross");
  auto* List = dynamic_cast<TPopupBrushBox*>(Edit->Popup());
  ASSERT_TRUE(List);
  EXPECT_EQ(List->GetItems()->GetCommaText(), "Solid,Clear,Horizontal,Vertical,FDiagonal,BDiagonal,Cross,DiagCross");
  AltDown();
  ASSERT_TRUE(Edit->DroppedDown());
  EXPECT_EQ(List->GetItemIndex(), 6);
  SaveShot(Window, "picker-brush-dropped");
  Key(VK_UP);
  Key(VK_RETURN);
  Pump();
  EXPECT_EQ(Edit->GetText(), "bsBDiagonal");
  // Clear: the swatch is the info background through and through.
  Edit->SetText("bsClear");
  Pump();
  TWinControl* Inner = Edit->InnerEdit();
  const int Y = Inner->ClientHeight() / 2;
  for (int X = 4; X < 22; X += 3) EXPECT_EQ(PixelAt(Inner, X, Y), ColorToRGB(clInfoBk)) << X;
  EXPECT_EQ(PixelAt(Inner, 2, Y), RGB(0, 0, 0)) << "the frame";
}

TEST_F(PickerEdits, CheckEditReadsYesAndTrueAndTogglesOnSpace) {
  Edit->SetEditClassName("TCheckEdit");
  auto* Check = dynamic_cast<TCheckEdit*>(Edit->InnerEdit());
  ASSERT_TRUE(Check);
  struct TCase {
    const char* Text;
    bool Checked;
  };
  for (const TCase& C : std::initializer_list<TCase>{
           {"yes", true}, {"Y", true}, {"true", true}, {"T", true}, {"no", false}, {"False", false}, {"", false},
           {"1", false}}) {
    Check->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(C.Text));
    EXPECT_EQ(Check->GetChecked(), C.Checked) << C.Text;
    EXPECT_EQ(Edit->GetText(), C.Checked ? "True" : "False") << C.Text;
  }
  EXPECT_FALSE(Check->Modified());
  Edit->SetFocus();
  Pump();
  Key(VK_SPACE);
  Pump();
  EXPECT_TRUE(Check->GetChecked());
  EXPECT_TRUE(Check->Modified());
  EXPECT_EQ(Edit->EditSource()->GetText(), "True") << "a toggle commits at once";
  SaveShot(Window, "picker-check");
  // Read-only: nothing changes.
  Edit->SetReadOnly(true);
  Key(VK_SPACE);
  Pump();
  EXPECT_TRUE(Check->GetChecked());
}

TEST_F(PickerEdits, CheckEditShowsTheCaptionAndItsAcceleratorToggles) {
  Edit->SetEditClassName("TCheckEdit");
  auto* Check = dynamic_cast<TCheckEdit*>(Edit->InnerEdit());
  ASSERT_TRUE(Check);
  const Integer H = Check->ClientHeight();
  auto InkRightOfBox = [&] {
    const COLORREF Back = ColorToRGB(Check->GetColor());
    for (Integer Y = 0; Y < H; ++Y)
      for (Integer X = 20; X < Check->ClientWidth(); ++X)
        if (PixelAt(Check, X, Y) != Back) return true;
    return false;
  };
  EXPECT_FALSE(InkRightOfBox()) << "no caption, nothing beside the box";
  Edit->SetCaption("&Wrap lines");
  Check->Invalidate();
  Pump();
  EXPECT_TRUE(InkRightOfBox());
  SaveShot(Window, "picker-check-caption");
  // Disabled: the caption is embossed in highlight and shadow.
  Edit->SetEnabled(false);
  Check->Invalidate();
  Pump();
  bool Shadow = false;
  for (Integer Y = 0; Y < H && !Shadow; ++Y)
    for (Integer X = 20; X < Check->ClientWidth() && !Shadow; ++X)
      Shadow = PixelAt(Check, X, Y) == ColorToRGB(clBtnShadow);
  EXPECT_TRUE(Shadow);
  Edit->SetEnabled(true);
  HeadlessDisplay().KeyDown(VK_MENU);
  HeadlessDisplay().KeyPress('W');
  HeadlessDisplay().KeyUp(VK_MENU);
  Pump();
  EXPECT_TRUE(Check->GetChecked()) << "the accelerator works the box";
  EXPECT_EQ(Edit->EditSource()->GetText(), "True");
}

TEST_F(PickerEdits, AClickOnARowSetsTheValueFiresOnClickAndNamesWidenTheList) {
  Use("TPenStyleEdit", "TPopupPenBox", "psSolid");
  auto* List = dynamic_cast<TPopupPenBox*>(Edit->Popup());
  ASSERT_TRUE(List);
  int Clicks = 0;
  struct TClicks : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } Counter;
  Counter.N = &Clicks;
  List->OnClick = TNotifyEvent(&Counter, &TClicks::Click);
  AltDown();
  ASSERT_TRUE(Edit->DroppedDown());
  const Integer Narrow = List->GetWidth();
  // The fourth row (psDashDot).
  const Integer Row = List->GetItemHeight();
  const TPoint At = List->ClientToScreen({List->ClientWidth() / 2, 3 * Row + Row / 2});
  HeadlessDisplay().Click(At.X, At.Y);
  Pump();
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(List->SelectedPen(), psDashDot);
  EXPECT_FALSE(Edit->DroppedDown());
  EXPECT_EQ(Edit->GetText(), "psDashDot");
  (void)Narrow;
  // Names beside the samples make a list wider.
  auto* Pens = new TPopupPenBox(Window);
  const Integer Plain = (Pens->SetDisplayNames(true), Pens->SetDisplayNames(false), Pens->GetWidth());
  Pens->SetDisplayNames(true);
  EXPECT_GT(Pens->GetWidth(), Plain);
  auto* Colours = new TPopupColorBox(Window);
  const Integer Named = (Colours->SetDisplayNames(false), Colours->GetWidth());
  Colours->SetDisplayNames(true);
  EXPECT_GT(Colours->GetWidth(), Named);
}

}  // namespace
