// The standard controls in a form loaded from its description: the edit
// as a user types in it, default and cancel buttons, Tab order,
// accelerators, radio groups, colours and the look.
#include <gtest/gtest.h>

#include "StdEditTestForm.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/VirtualKeys.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/EditControl.h"
#include "platform/win/Win.h"

namespace {
using DialogKeys = TStdCtrlsFormTest;

TWinControl* Focused() { return FindControl(GetFocus()); }
}  // namespace

TEST_F(DialogKeys, DescriptionBuildsTheControlsWithTheirProperties) {
  ShowForm();
  EXPECT_EQ(Form->NameEdit->GetText(), "report");
  EXPECT_EQ(Form->NameLabel->GetFocusControl(), Form->NameEdit);
  EXPECT_EQ(Form->NotesMemo->GetLines()->GetCount(), 2);
  EXPECT_EQ(Form->NotesMemo->GetLines()->GetStrings(1), "second line");
  EXPECT_EQ(Form->NotesMemo->GetText(), "first line\r\nsecond line\r\n");
  EXPECT_TRUE(Form->HtmlRadio->GetChecked());
  EXPECT_EQ(Form->HtmlRadio->GetParent(), Form->KindGroup);
  EXPECT_TRUE(Form->OkButton->GetDefault());
  EXPECT_TRUE(Form->CancelButton->GetCancel());
  EXPECT_EQ(Form->CancelButton->GetModalResult(), mrCancel);
  char Class[32] = {};
  GetClassNameA(Form->NameEdit->Handle(), Class, sizeof Class);
  EXPECT_STREQ(Class, "TEdit");
  EXPECT_TRUE(GetWindowLongA(Form->NotesMemo->Handle(), GWL_STYLE) & ES_MULTILINE);
  EXPECT_EQ(GetWindowLongA(Form->OkButton->Handle(), GWL_STYLE) & BS_TYPEMASK, LONG_PTR(BS_DEFPUSHBUTTON));
  // Ctl3D comes from the parent unless set; a flat edit has a plain border.
  EXPECT_TRUE(Form->NameEdit->GetCtl3D());
  EXPECT_TRUE(GetWindowLongA(Form->NameEdit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  Form->SetCtl3D(false);
  EXPECT_FALSE(Form->NameEdit->GetCtl3D());
  EXPECT_TRUE(GetWindowLongA(Form->NameEdit->Handle(), GWL_STYLE) & WS_BORDER);
  EXPECT_FALSE(GetWindowLongA(Form->NameEdit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(Form->NameEdit->GetText(), "report") << "the new window keeps the text";
  // The label sized itself to its caption in the form's font.
  EXPECT_GT(Form->NameLabel->GetWidth(), 10);
  EXPECT_LT(Form->NameLabel->GetWidth(), 60);
}

TEST_F(DialogKeys, TypingSelectionClipboardAndUndoInTheEdit) {
  ShowForm();
  EXPECT_EQ(Focused(), Form->NameEdit) << "the first control in tab order";
  EXPECT_EQ(Form->NameEdit->GetSelLength(), 6) << "entering an edit selects its text";
  Type("draft");
  EXPECT_EQ(Form->NameEdit->GetText(), "draft");
  EXPECT_GT(Form->Changes, 0) << "OnChange, bound by name";
  PressWith(VK_SHIFT, VK_HOME);
  EXPECT_EQ(Form->NameEdit->GetSelText(), "draft");
  PressWith(VK_CONTROL, 'X');
  EXPECT_EQ(Form->NameEdit->GetText(), "");
  PressWith(VK_CONTROL, 'V');
  PressWith(VK_CONTROL, 'V');
  EXPECT_EQ(Form->NameEdit->GetText(), "draftdraft");
  Form->NameEdit->Undo();
  EXPECT_EQ(Form->NameEdit->GetText(), "draft");
  Form->NameEdit->SetSelStart(1);
  Form->NameEdit->SetSelLength(3);
  EXPECT_EQ(Form->NameEdit->GetSelText(), "raf");
  Form->NameEdit->SetSelText("-");
  EXPECT_EQ(Form->NameEdit->GetText(), "d-t");
  EXPECT_TRUE(Form->NameEdit->GetModified());
  Form->NameEdit->SetMaxLength(4);
  Form->NameEdit->SelectAll();
  Form->NameEdit->CopyToClipboard();
  Form->NameEdit->SetSelStart(3);
  Form->NameEdit->PasteFromClipboard();
  EXPECT_EQ(Form->NameEdit->GetText(), "d-td") << "MaxLength cuts a paste";
}

TEST_F(DialogKeys, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
  struct TCase {
    WORD Key;
    TModalResult Want;
    int OkClicks;
  };
  for (const TCase C : {TCase{VK_RETURN, mrOk, 1}, TCase{VK_ESCAPE, mrCancel, 0}}) {
    SCOPED_TRACE(C.Key);
    auto F = std::make_unique<TStdEditTestForm>(nullptr);
    int Idles = 0;
    Display().SetIdleHandler([&] {
      if (++Idles == 2) {
        // Typed into the edit, which does not want either key.
        Display().TypeText("x");
        Display().KeyPress(C.Key);
      }
      return Idles < 10;
    });
    EXPECT_EQ(F->ShowModal(), C.Want);
    EXPECT_EQ(F->OkClicks, C.OkClicks);
    EXPECT_EQ(F->NameEdit->GetText(), "x");
    Display().SetIdleHandler(nullptr);
  }
}

TEST_F(DialogKeys, FocusedButtonTakesEnterAndAMemoKeepsIt) {
  ShowForm();
  Form->CancelButton->SetFocus();
  Pump();
  EXPECT_EQ(GetWindowLongA(Form->OkButton->Handle(), GWL_STYLE) & BS_TYPEMASK, LONG_PTR(BS_PUSHBUTTON))
      << "the default look moves to the focused button";
  Press(VK_RETURN);
  EXPECT_EQ(Form->GetModalResult(), mrCancel);
  EXPECT_EQ(Form->OkClicks, 0);
  Form->SetModalResult(mrNone);
  // A memo wants Enter as a line break; without WantReturns it goes on.
  Form->NotesMemo->SetFocus();
  Pump();
  EXPECT_EQ(GetWindowLongA(Form->OkButton->Handle(), GWL_STYLE) & BS_TYPEMASK, LONG_PTR(BS_DEFPUSHBUTTON));
  PressWith(VK_CONTROL, VK_END);
  Type("third");
  Press(VK_RETURN);
  EXPECT_EQ(Form->GetModalResult(), mrNone);
  EXPECT_EQ(Form->NotesMemo->GetLines()->GetStrings(2), "third");
  EXPECT_EQ(Form->NotesMemo->GetLines()->GetCount(), 3);
  Form->NotesMemo->SetWantReturns(false);
  Press(VK_RETURN);
  EXPECT_EQ(Form->GetModalResult(), mrOk);
}

TEST_F(DialogKeys, TabAndShiftTabFollowTheTabOrder) {
  ShowForm();
  std::vector<TWinControl*> Seen;
  for (int i = 0; i < 6; ++i) {
    Seen.push_back(Focused());
    Press(VK_TAB);
  }
  const std::vector<TWinControl*> Want{Form->NameEdit,  Form->NotesMemo, Form->RecurseCheck,
                                       Form->HtmlRadio, Form->OkButton,  Form->CancelButton};
  EXPECT_EQ(Seen, Want) << "the group's only stop is its checked radio button";
  EXPECT_EQ(Focused(), Form->NameEdit) << "round again";
  PressWith(VK_SHIFT, VK_TAB);
  EXPECT_EQ(Focused(), Form->CancelButton);
  // Tab in a memo that wants tabs is a character.
  Form->NotesMemo->SetWantTabs(true);
  Form->NotesMemo->SetFocus();
  Pump();
  PressWith(VK_CONTROL, VK_HOME);
  Press(VK_TAB);
  EXPECT_EQ(Focused(), Form->NotesMemo);
  EXPECT_EQ(Form->NotesMemo->GetLines()->GetStrings(0), "\tfirst line");
}

// Windows of a form built in code: Tab follows TabOrder (creation order
// until changed), while the windows stack as the controls do, the last one
// created on top, and keep their place when one gets a new window.
TEST_F(DialogKeys, EditsBuiltInCodeTabInTabOrderAndStackLikeTheirControls) {
  auto* F = new TForm(App.get());
  F->SetBounds(50, 50, 300, 200);
  std::vector<TEdit*> E;
  for (int i = 0; i < 3; ++i) {
    E.push_back(new TEdit(F));
    E.back()->SetName(AnsiString("Edit") + char('A' + i));
    E.back()->SetParent(F);
    E.back()->SetBounds(10, 10 + 30 * i, 120, 21);
  }
  E[1]->SetLeft(60);
  E[1]->SetTop(20);  // over part of the first and the third
  F->Show();
  Pump();
  auto TabWalk = [&] {
    std::vector<TWinControl*> Seen;
    for (int i = 0; i < 3; ++i) {
      Seen.push_back(Focused());
      Press(VK_TAB);
    }
    return Seen;
  };
  auto Stack = [&] {
    std::vector<TWinControl*> Seen;
    for (HWND H = GetWindow(F->Handle(), GW_CHILD); H; H = GetWindow(H, GW_HWNDNEXT)) Seen.push_back(FindControl(H));
    return Seen;
  };
  EXPECT_EQ(Focused(), E[0]);
  EXPECT_EQ(TabWalk(), (std::vector<TWinControl*>{E[0], E[1], E[2]}));
  EXPECT_EQ(Stack(), (std::vector<TWinControl*>{E[2], E[1], E[0]}));
  E[2]->SetTabOrder(0);
  E[2]->SetFocus();
  Pump();
  EXPECT_EQ(TabWalk(), (std::vector<TWinControl*>{E[2], E[0], E[1]}));
  EXPECT_EQ(Stack(), (std::vector<TWinControl*>{E[2], E[1], E[0]})) << "tab order leaves the stack alone";
  // The middle edit lies over the first: a click on the overlap reaches it.
  ClickAt(E[0], 100, 15);
  EXPECT_EQ(Focused(), E[1]);
  E[0]->BringToFront();
  EXPECT_EQ(Stack(), (std::vector<TWinControl*>{E[0], E[2], E[1]}));
  Pump();
  TRect Shot;
  GetWindowRect(F->Handle(), &Shot);
  Display().SaveScreenshot(std::string(SX_SOURCE_DIR) + "/build/stdedit_stacked.png", &Shot);
  ClickAt(E[0], 100, 15);
  EXPECT_EQ(Focused(), E[0]);
  // A control that gets a new window goes back to its place in the stack.
  E[2]->SetTabStop(false);
  E[2]->RecreateWnd();
  E[2]->HandleNeeded();
  EXPECT_EQ(Stack(), (std::vector<TWinControl*>{E[0], E[2], E[1]}));
  F->Release();
  Pump();
}

TEST_F(DialogKeys, ArrowKeysMoveThroughARadioGroupAndCheck) {
  ShowForm();
  Form->HtmlRadio->SetFocus();
  Pump();
  Press(VK_DOWN);
  EXPECT_EQ(Focused(), Form->PdfRadio);
  EXPECT_TRUE(Form->PdfRadio->GetChecked());
  EXPECT_FALSE(Form->HtmlRadio->GetChecked());
  Press(VK_DOWN);
  EXPECT_TRUE(Form->RtfRadio->GetChecked());
  Press(VK_UP);
  EXPECT_TRUE(Form->PdfRadio->GetChecked());
  EXPECT_TRUE(Form->PdfRadio->GetTabStop());
  EXPECT_FALSE(Form->RtfRadio->GetTabStop());
  // A click checks too, and only one stays checked.
  ClickAt(Form->HtmlRadio, 5, 8);
  EXPECT_TRUE(Form->HtmlRadio->GetChecked());
  EXPECT_FALSE(Form->PdfRadio->GetChecked());
}

TEST_F(DialogKeys, AltLetterReachesTheLabelledControlOrTheButton) {
  ShowForm();
  Form->OkButton->SetFocus();
  Pump();
  PressWith(VK_MENU, 'O');
  EXPECT_EQ(Focused(), Form->NotesMemo) << "Alt+O: the label N&otes focuses the memo";
  PressWith(VK_MENU, 'N');
  EXPECT_EQ(Focused(), Form->NameEdit);
  PressWith(VK_MENU, 'R');
  EXPECT_EQ(Focused(), Form->RecurseCheck);
  EXPECT_TRUE(Form->RecurseCheck->GetChecked()) << "a check box's accelerator toggles it";
  PressWith(VK_MENU, 'T');
  EXPECT_TRUE(Form->RtfRadio->GetChecked());
  // Where the focused control takes no characters the letter alone works.
  Form->CancelButton->SetFocus();
  Pump();
  Press('R');
  EXPECT_FALSE(Form->RecurseCheck->GetChecked());
  // In an edit a letter is text.
  Form->NameEdit->SetFocus();
  Pump();
  Press('R');
  EXPECT_EQ(Form->NameEdit->GetText(), "r");
  EXPECT_FALSE(Form->RecurseCheck->GetChecked());
  EXPECT_EQ(Errors.Text, "");
}

TEST_F(DialogKeys, ColoursOfTheControlsComeFromColorAndFont) {
  ShowForm();
  Form->NameEdit->SetColor(clYellow);
  Form->NameEdit->GetFont()->SetColor(clRed);
  Form->RecurseCheck->SetColor(clAqua);
  Form->NameEdit->SetSelLength(0);
  Form->OkButton->SetFocus();
  Pump();
  UpdateWindow(Form->Handle());
  const TRect Client = Form->NameEdit->GetClientRect();
  EXPECT_EQ(PixelOf(Form->NameEdit, Client.Right - 3, 3), ColorToRGB(clYellow));
  int Red = 0;
  for (int Y = 0; Y < Client.Bottom; ++Y)
    for (int X = 0; X < 40; ++X) {
      const COLORREF C = PixelOf(Form->NameEdit, X, Y);
      Red += GetRValue(C) > 200 && GetGValue(C) < 80 && GetBValue(C) < 80;
    }
  EXPECT_GT(Red, 10) << "the text in the font's colour";
  EXPECT_EQ(PixelOf(Form->RecurseCheck, 140, 2), ColorToRGB(clAqua));
  // Disabled controls draw their text greyed in relief; a focused edit
  // shows its selection.
  Form->CancelButton->SetEnabled(false);
  Form->PdfRadio->SetEnabled(false);
  Form->NotesMemo->SetFocus();
  Form->NotesMemo->SetSelStart(6);
  Form->NotesMemo->SetSelLength(8);
  Pump();
  UpdateWindow(Form->Handle());
  SaveShot("stdedit_states");
  int Shadow = 0;
  for (int Y = 0; Y < 25; ++Y)
    for (int X = 0; X < 75; ++X) Shadow += PixelOf(Form->CancelButton, X, Y) == GetSysColor(COLOR_3DSHADOW);
  EXPECT_GT(Shadow, 40) << "the grey caption and the frame's shadow";
  EXPECT_EQ(PixelOf(Form->NotesMemo, Form->NotesMemo->ClientWidth() - 3, Form->NotesMemo->ClientHeight() - 3),
            GetSysColor(COLOR_WINDOW));
  int Selected = 0;
  for (int X = 0; X < Form->NotesMemo->ClientWidth(); ++X)
    Selected += PixelOf(Form->NotesMemo, X, 8) == GetSysColor(COLOR_HIGHLIGHT);
  EXPECT_GT(Selected, 5);
}

TEST_F(DialogKeys, FormLooksRightAtChosenPixels) {
  ShowForm();
  Form->OkButton->SetFocus();
  Pump();
  UpdateWindow(Form->Handle());
  SaveShot("stdedit_form");
  // Edits: sunken frame, window colour inside.
  EXPECT_EQ(PixelOf(Form->NameEdit, -2, -2), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(PixelOf(Form->NameEdit, Form->NameEdit->ClientWidth() - 2, 2), GetSysColor(COLOR_WINDOW));
  // The memo's vertical scroll bar is there and the text is black on white.
  EXPECT_LT(Form->NotesMemo->ClientWidth(), Form->NotesMemo->GetWidth() - 10);
  // The default button's dark frame, the face of the other.
  EXPECT_EQ(PixelOf(Form->OkButton, 0, 0), GetSysColor(COLOR_WINDOWFRAME));
  EXPECT_EQ(PixelOf(Form->CancelButton, 0, 0), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(PixelOf(Form->CancelButton, 5, 5), GetSysColor(COLOR_3DFACE));
  // The group box's etched frame, broken by its caption.
  int FrameY = 0;
  while (FrameY < 12 && PixelOf(Form->KindGroup, 2, FrameY) != GetSysColor(COLOR_3DSHADOW)) ++FrameY;
  EXPECT_GE(FrameY, 3) << "half the caption's height down";
  EXPECT_LE(FrameY, 8);
  EXPECT_EQ(PixelOf(Form->KindGroup, 2, FrameY), GetSysColor(COLOR_3DSHADOW));
  EXPECT_EQ(PixelOf(Form->KindGroup, 2, FrameY + 1), GetSysColor(COLOR_3DHILIGHT));
  EXPECT_EQ(PixelOf(Form->KindGroup, 190, FrameY), GetSysColor(COLOR_3DSHADOW));
  EXPECT_NE(PixelOf(Form->KindGroup, 20, FrameY), GetSysColor(COLOR_3DSHADOW)) << "the caption breaks it";
  // The checked radio button's dot.
  int Dot = 0;
  for (int Y = 0; Y < 17; ++Y)
    for (int X = 0; X < 13; ++X) Dot += PixelOf(Form->HtmlRadio, X, Y) == GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_GT(Dot, 4);
  // A label's text: grey-smoothed ink in the form's font, on the face.
  int Ink = 0, Grey = 0;
  for (int Y = 0; Y < Form->NameLabel->GetHeight(); ++Y)
    for (int X = 0; X < Form->NameLabel->GetWidth(); ++X) {
      const COLORREF C = PixelOf(Form->NameLabel, X, Y);
      Ink += C == RGB(0, 0, 0);
      Grey += C != RGB(0, 0, 0) && C != GetSysColor(COLOR_3DFACE);
    }
  EXPECT_GT(Ink, 5);
  EXPECT_GT(Grey, 5) << "anti-aliased edges";
}

TEST_F(DialogKeys, DoubleBufferedFormPaintsTheSamePixels) {
  ShowForm();
  UpdateWindow(Form->Handle());
  std::vector<COLORREF> Before;
  for (int Y = 0; Y < 200; Y += 7)
    for (int X = 0; X < 300; X += 5) Before.push_back(PixelOf(Form, X, Y));
  Form->SetDoubleBuffered(true);
  Form->KindGroup->SetDoubleBuffered(true);
  InvalidateRect(Form->Handle(), nullptr, TRUE);
  RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  std::vector<COLORREF> After;
  for (int Y = 0; Y < 200; Y += 7)
    for (int X = 0; X < 300; X += 5) After.push_back(PixelOf(Form, X, Y));
  EXPECT_EQ(Before, After);
}

TEST_F(DialogKeys, OwnerDrawHandlerThatRaisesLeavesTheButtonUsable) {
  ShowForm();
  int Draws = 0;
  struct TRaiser : TObject {
    int* Count;
    void Draw(TObject*, HDC, const TRect&, UINT) {
      ++*Count;
      throw Exception("Drawing failed");
    }
  } Raiser;
  Raiser.Count = &Draws;
  auto* B = new TButton(Form);
  B->SetBounds(232, 80, 75, 25);
  B->SetCaption("Own");
  B->OnDrawItem = TButtonDrawEvent(&Raiser, &TRaiser::Draw);
  int Clicked = 0;
  struct TCounter : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } Counter;
  Counter.N = &Clicked;
  B->OnClick = TNotifyEvent(&Counter, &TCounter::Click);
  B->SetParent(Form);
  Pump();
  UpdateWindow(Form->Handle());
  EXPECT_GT(Draws, 0);
  EXPECT_NE(Errors.Text.find("Drawing failed"), std::string::npos) << "the error display got it";
  ClickAt(B, 10, 10);
  EXPECT_EQ(Clicked, 1) << "still clickable";
  Errors.Text.clear();
  InvalidateRect(B->Handle(), nullptr, TRUE);
  UpdateWindow(Form->Handle());
  EXPECT_NE(Errors.Text.find("Drawing failed"), std::string::npos) << "and still painted (and failing) on demand";
  B->OnDrawItem = nullptr;
}

TEST_F(DialogKeys, MemoLinesEditTheTextAsLines) {
  ShowForm();
  TStrings* L = Form->NotesMemo->GetLines();
  L->Add("third");
  L->Insert(0, "zero");
  L->Delete(2);
  EXPECT_EQ(L->GetCount(), 3);
  EXPECT_EQ(L->GetText(), "zero\r\nfirst line\r\nthird\r\n");
  L->SetText("a\rb\nc");
  EXPECT_EQ(Form->NotesMemo->GetText(), "a\r\nb\r\nc") << "line ends become CR LF";
  EXPECT_EQ(L->GetStrings(2), "c");
  EXPECT_EQ(SendMessageA(Form->NotesMemo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
  Form->NotesMemo->SetSelStart(4);
  EXPECT_EQ(Form->NotesMemo->GetCaretPos(), TPoint(1, 1));
}

TEST_F(DialogKeys, LabelSizesItselfAndHoldsItsAlignedEdge) {
  ShowForm();
  TLabel* L = Form->NameLabel;
  const Integer Height = L->GetHeight();
  // Right-aligned: a longer caption grows to the left.
  L->SetAlignment(taRightJustify);
  const Integer Right = L->GetLeft() + L->GetWidth();
  L->SetCaption("&Name of the output:");
  EXPECT_EQ(L->GetLeft() + L->GetWidth(), Right);
  EXPECT_GT(L->GetWidth(), 60);
  // Word wrap keeps the width and takes more lines.
  L->SetWordWrap(true);
  L->SetWidth(40);
  L->SetCaption("Name of the output file");
  EXPECT_LE(L->GetWidth(), 40);
  EXPECT_GE(L->GetHeight(), 2 * Height);
  // Without accelerators the & is text: a wider caption.
  L->SetWordWrap(false);
  L->SetCaption("A&B");
  const Integer WithAccel = L->GetWidth();
  L->SetShowAccelChar(false);
  EXPECT_GT(L->GetWidth(), WithAccel);
  // An opaque label paints its colour; a transparent one lets the form show.
  L->SetAutoSize(false);
  L->SetBounds(215, 150, 100, 20);  // clear of the windowed controls
  L->SetColor(clYellow);
  UpdateWindow(Form->Handle());
  EXPECT_EQ(PixelOf(L, 95, 18), ColorToRGB(clYellow));
  L->SetTransparent(true);
  UpdateWindow(Form->Handle());
  EXPECT_EQ(PixelOf(L, 95, 18), ColorToRGB(clBtnFace));
  // Layout puts a one-line caption at the bottom of a tall label.
  L->SetTransparent(false);
  L->SetColor(clWhite);
  L->SetCaption("X");
  L->SetLayout(tlBottom);
  UpdateWindow(Form->Handle());
  int TopInk = 0;
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 20; ++X) TopInk += PixelOf(L, X, Y) != ColorToRGB(clWhite);
  EXPECT_EQ(TopInk, 0);
}
