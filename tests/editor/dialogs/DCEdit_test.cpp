// The edit control with buttons: where its buttons and inner edit stand,
// how its list drops down and closes (keys, clicks, the screen's edge),
// what reaches its edit source, and the fallbacks for unknown part names.
#include <gtest/gtest.h>

#include <memory>

#include "DialogsTestSupport.h"
#include "editor/dialogs/ColumnLists.h"
#include "editor/dialogs/DCEdit.h"
#include "editor/dialogs/PickerEdits.h"
#include "editor/dialogs/StylePickers.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/ObjectText.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/Colors.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/Timers.h"

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

// Text properties may ask for the masked inner edit: it is registered as a
// second default for them (under the text " "), draws without a frame and
// keeps the mask while the control passes text through it.
TEST_F(DCEdit, TheMaskedInnerEditIsRegisteredForTextAndKeepsItsMask) {
  TEditClassInfo* Masked = nullptr;
  TPackagedCollection* Infos = GetEditClassInfos();
  for (Integer I = 0; I < Infos->Count(); ++I) {
    auto* Info = static_cast<TEditClassInfo*>(Infos->Items(I));
    if (Info->RegClass == TDCMaskEdit::StaticClass()) Masked = Info;
  }
  ASSERT_NE(Masked, nullptr);
  EXPECT_EQ(Masked->PropType, AnsiStringTypeInfo());
  EXPECT_EQ(Masked->Text, " ");
  EXPECT_TRUE(Masked->IsDefault);
  EXPECT_EQ(FindClass("TDCMaskEdit"), TDCMaskEdit::StaticClass());

  Edit->SetEditClassName("TDCMaskEdit");
  auto* Inner = dynamic_cast<TDCMaskEdit*>(Edit->InnerEdit());
  ASSERT_NE(Inner, nullptr);
  const LONG_PTR Style = GetWindowLongPtrA(Inner->Handle(), GWL_STYLE);
  EXPECT_FALSE(Style & WS_BORDER);
  EXPECT_TRUE(Style & WS_CLIPCHILDREN);
  EXPECT_FALSE(GetWindowLongPtrA(Inner->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  Inner->SetEditMask("00:00;1;_");
  Edit->SetText("12:3");
  EXPECT_EQ(Inner->GetEditText(), "12:3_");
  Other->SetFocus();
  Pump();
  Edit->SetFocus();
  Pump();
  Type("0945");
  Pump();
  EXPECT_EQ(Edit->GetText(), "09:45") << "entering selected everything; typing replaced it";
  SaveShot(Window, "dcedit-mask");
  Edit->Perform(DCM_VALIDATEEDIT);
  EXPECT_EQ(Edit->EditSource()->GetText(), "09:45");
}

TEST_F(DCEdit, FlatAndTorvoFramesAreDrawnAndAFlatOneLightsUpUnderTheMouse) {
  auto Make = [&](Integer Top) {
    auto* E = new TCustomDCEdit(Window);
    E->SetParent(Window);
    E->SetBounds(200, Top, 150, 21);
    return E;
  };
  TCustomDCEdit* Flat = Make(100);
  Flat->SetFlat(true);
  TCustomDCEdit* Line = Make(140);
  Line->SetUseTorvoBorder(true);
  Line->SetTorvoBorderStyle(tbsLine);
  Line->SetLineColor(clRed);
  TCustomDCEdit* Boxed = Make(180);
  Boxed->SetUseTorvoBorder(true);
  Boxed->SetTorvoBorderStyle(tbsLineBorder);
  Boxed->SetLineColor(clBlue);
  HeadlessDisplay().MouseMove(5, 5);
  Pump();
  // A painted frame replaces the client edge; the inner edit stands inside it.
  EXPECT_TRUE(GetWindowLongA(Edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(GetWindowLongA(Flat->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(Flat->InnerEdit()->GetLeft(), 2);
  EXPECT_EQ(Flat->InnerEdit()->GetTop(), 3);
  const Integer W = Flat->ClientWidth(), H = Flat->ClientHeight();
  // Asleep, the flat control shows button face all round.
  EXPECT_EQ(PixelAt(Flat, W / 2, H - 1), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelAt(Flat, W / 2, 0), ColorToRGB(clBtnFace));
  // The Torvo line styles draw in LineColor whether lit or not.
  EXPECT_EQ(PixelAt(Line, W / 2, H - 1), ColorToRGB(clRed));
  EXPECT_EQ(PixelAt(Line, 0, H / 2), ColorToRGB(clBtnFace));
  EXPECT_EQ(PixelAt(Boxed, 0, H / 2), ColorToRGB(clBlue));
  EXPECT_EQ(PixelAt(Boxed, W / 2, 0), ColorToRGB(clBlue));
  // The mouse over it: a sunken frame (shadow above, highlight below).
  // (The application tells the control under the mouse, here the inner edit.)
  const TPoint Over = Flat->ClientToScreen({W / 2, H / 2});
  HeadlessDisplay().MouseMove(Over.X, Over.Y);
  Flat->InnerEdit()->Perform(CM_MOUSEENTER);
  Pump();
  EXPECT_TRUE(Flat->FlatActive());
  EXPECT_EQ(PixelAt(Flat, W / 2, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(PixelAt(Flat, W / 2, H - 1), ColorToRGB(clBtnHighlight));
  SaveShot(Window, "dcedit-frames");
  // Gone again: asleep once the leave has been looked at.
  HeadlessDisplay().MouseMove(5, 5);
  Flat->InnerEdit()->Perform(CM_MOUSELEAVE);
  Pump();
  AdvanceClock(50);
  Pump();
  EXPECT_FALSE(Flat->FlatActive());
  EXPECT_EQ(PixelAt(Flat, W / 2, 0), ColorToRGB(clBtnFace));
  // The focus lights it as well.
  Flat->SetFocus();
  Pump();
  EXPECT_EQ(PixelAt(Flat, W / 2, 0), ColorToRGB(clBtnShadow));
}

TEST_F(DCEdit, HeightFollowsTheFontAndTheCaptionsAcceleratorFocuses) {
  const Integer Before = Edit->GetHeight();
  Edit->GetFont()->SetSize(Edit->GetFont()->GetSize() + 10);
  Pump();
  auto Measure = std::make_unique<TBitmap>();
  Measure->Canvas()->SetFont(Edit->GetFont());
  EXPECT_GT(Edit->GetHeight(), Before);
  EXPECT_EQ(Edit->GetHeight(), Measure->Canvas()->TextHeight("Wg") + 8 * GetSystemMetrics(SM_CYBORDER));
  // Alt and the caption's marked letter bring the focus to the control.
  Edit->SetCaption("&Value");
  int Clicks = 0;
  struct TClicks : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } Counter;
  Counter.N = &Clicks;
  Edit->OnClick = TNotifyEvent(&Counter, &TClicks::Click);
  Other->SetFocus();
  Pump();
  ASSERT_FALSE(Edit->Focused());
  AltKey('V');
  EXPECT_TRUE(Edit->Focused());
  EXPECT_EQ(Clicks, 1);
  // Another letter does nothing.
  Other->SetFocus();
  Pump();
  AltKey('Q');
  EXPECT_FALSE(Edit->Focused());
}

// An edit that hands its second button to form descriptions.
class TButtonsEdit : public TCustomDCEdit {
  SX_CLASS(TButtonsEdit, TCustomDCEdit)
public:
  explicit TButtonsEdit(TComponent* AOwner) : TCustomDCEdit(AOwner) {}
  static void Published(TPublished<TButtonsEdit>& P) {
    P.Property("Button2", &TButtonsEdit::GetButton2, &TButtonsEdit::SetButton2);
  }
  TButtonParams* GetButton2() const { return Button2(); }
  void SetButton2(TButtonParams* Value) { Button2()->Assign(Value); }
};

TEST_F(DCEdit, FramesAndButtonSettingsTravelThroughAFormDescription) {
  RegisterClasses({TCustomDCEdit::StaticClass(), TButtonsEdit::StaticClass(), TDCPenStyleEdit::StaticClass(),
                   TPopupPenBox::StaticClass(), TPenStyleEdit::StaticClass(), TPopupListBox::StaticClass()});
  auto* Buttons = new TButtonsEdit(Window);
  Buttons->SetName("Buttons");
  Buttons->SetParent(Window);
  Buttons->Button2()->SetVisible(true);
  Buttons->Button2()->SetWidth(30);
  Buttons->Button2()->SetHint("More choices");
  Buttons->Button2()->Cursor = crHandPoint;
  auto* Pen = new TDCPenStyleEdit(Window);
  Pen->SetName("Pen");
  Pen->SetParent(Window);
  Pen->SetPenStyle(psDashDot);
  Pen->SetFlat(true);
  Pen->SetUseTorvoBorder(true);
  Pen->SetTorvoBorderStyle(tbsLineBorder);
  Pen->SetLineColor(clRed);
  const AnsiString Text = ComponentToText(Window);
  // The pen list stands in the description as an unnamed child of its edit.
  EXPECT_NE(Text.find("object TPopupPenBox"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("Button2.Width = 30"), AnsiString::npos) << Text;
  EXPECT_NE(Text.find("Button2.Hint = 'More choices'"), AnsiString::npos);
  EXPECT_EQ(Text.find("Button2.Glyph"), AnsiString::npos) << "the dots glyph is the library's";
  EXPECT_NE(Text.find("TorvoBorderStyle = tbsLineBorder"), AnsiString::npos);

  auto* Copy = new TForm(App.get());
  delete Window;
  Window = nullptr;
  TextToComponent(Text, Copy);
  auto* B = dynamic_cast<TButtonsEdit*>(Copy->FindComponent("Buttons"));
  auto* P = dynamic_cast<TDCPenStyleEdit*>(Copy->FindComponent("Pen"));
  ASSERT_TRUE(B && P);
  EXPECT_EQ(B->VisibleButtons(), 2);
  EXPECT_EQ(B->Button2()->GetWidth(), 30);
  EXPECT_EQ(B->Button2()->GetHint(), "More choices");
  EXPECT_EQ(B->Button2()->Cursor, crHandPoint);
  EXPECT_EQ(P->GetPenStyle(), psDashDot);
  EXPECT_TRUE(P->GetFlat());
  EXPECT_EQ(P->GetTorvoBorderStyle(), tbsLineBorder);
  EXPECT_EQ(P->GetLineColor(), clRed);
  // The list read in is the picker's list: one of it, and it drops down.
  Integer Lists = 0;
  for (Integer I = 0; I < P->ComponentCount(); ++I)
    if (dynamic_cast<TPopupPenBox*>(P->Components(I))) ++Lists;
  EXPECT_EQ(Lists, 1);
  ASSERT_TRUE(dynamic_cast<TPopupPenBox*>(P->Popup()));
  Copy->Show();
  P->SetFocus();
  Pump();
  AltKey(VK_DOWN);
  EXPECT_TRUE(P->DroppedDown());
  EXPECT_EQ(dynamic_cast<TPopupPenBox*>(P->Popup())->GetItemIndex(), Integer(psDashDot));
  Key(VK_ESCAPE);
  Pump();
  delete Copy;
}

}  // namespace
