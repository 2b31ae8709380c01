// The options dialog ("Properties") and its pages "Editor", "Display" and
// "Colors": what they show from the options in force, that a change made
// through the form reaches the editors on OK only, and the colour schemes.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "DialogsTestSupport.h"
#include "support/ScratchDir.h"
#include "editor/controls/DCMemo.h"
#include "editor/dialogs/EnvOptions.h"
#include "editor/dialogs/OptionPages.h"
#include "editor/options/MemoEnvOptions.h"
#include "editor/text/MemoSourceOptions.h"
#include "platform/forms/Dialogs.h"
#include "platform/rtl/Colors.h"
#include "platform/rtl/VirtualKeys.h"

namespace {

class EnvOptionsDialog : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    RegisterEnvironmentDialog();
    EnvOptionsShowLastPage = false;
    Window = new TForm(App.get());
    Window->SetBounds(0, 0, 480, 320);
    Memo = new TDCMemo(Window);
    Memo->SetParent(Window);
    Memo->SetAlign(alClient);
    Memo->GetLines()->SetText("first line\nsecond line\n");
    Memo->SetUseGlobalOptions(true);
    Memo->GetSource()->SetUseGlobalOptions(true);
    Window->Show();
    Pump();
  }
  void TearDown() override {
    Window = nullptr;
    Memo = nullptr;
    FreeEnvWorkingOptions();
    EnvOptionsShowLastPage = false;
    TEditorDialogsTest::TearDown();
  }

  static TEnvForm* Dialog(TForm* F) {
    auto* D = dynamic_cast<TEnvForm*>(F);
    EXPECT_NE(D, nullptr);
    return D;
  }
  // The page form of tab I, after showing that tab as a user would.
  template <class T>
  static T* ShowPage(TForm* F, Integer I) {
    TEnvForm* D = Dialog(F);
    const TRect R = D->PageProps->TabRect(I);
    ClickAt(D->PageProps, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    Settle();
    auto* Sheet = dynamic_cast<TDCFormTabSheet*>(D->PageProps->Pages(I));
    EXPECT_NE(Sheet, nullptr);
    auto* Page = Sheet ? dynamic_cast<T*>(Sheet->PageForm()) : nullptr;
    EXPECT_NE(Page, nullptr) << "tab " << I << " shows no page of the expected kind";
    return Page;
  }
  // Input waits in the queue: a step that looks at its effect lets it through.
  static void Settle() { HeadlessDisplay().ProcessMessages(); }
  static void AltDown() {
    HeadlessDisplay().KeyDown(VK_MENU);
    HeadlessDisplay().KeyPress(VK_DOWN);
    HeadlessDisplay().KeyUp(VK_MENU);
    Settle();
  }
  static void Press(TControl* C) {
    Click(C);
    Settle();
  }
  static void Ok(TForm* F) { Click(Dialog(F)->OkBut); }
  static void Cancel(TForm* F) { Click(Dialog(F)->CancelBut); }

  TForm* Window = nullptr;
  TDCMemo* Memo = nullptr;
};

TEST_F(EnvOptionsDialog, OpensWithThePagesInOrderAndItsButtonRow) {
  for (bool Last : {false, true}) {
    EnvOptionsShowLastPage = Last;
    Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                     TEnvForm* D = Dialog(F);
                                     EXPECT_EQ(D->GetCaption(), "Properties");
                                     ASSERT_EQ(D->PageProps->PageCount(), 3);
                                     EXPECT_EQ(D->PageProps->Pages(0)->GetCaption(), "Editor");
                                     EXPECT_EQ(D->PageProps->Pages(1)->GetCaption(), "Display");
                                     EXPECT_EQ(D->PageProps->Pages(2)->GetCaption(), "Colors");
                                     EXPECT_EQ(D->PageProps->GetActivePageIndex(), Last ? 2 : 0);
                                     // Help is hidden; OK and Cancel stand where Cancel and Help stood.
                                     EXPECT_FALSE(D->HelpBut->GetVisible());
                                     EXPECT_EQ(D->OkBut->GetLeft(), 80);
                                     EXPECT_EQ(D->CancelBut->GetLeft(), 160);
                                     EXPECT_EQ(D->OkBut->GetCaption(), "OK");
                                     // Only the shown tab has made its page.
                                     auto* Other = static_cast<TDCFormTabSheet*>(D->PageProps->Pages(1));
                                     EXPECT_EQ(Other->PageForm(), nullptr);
                                     // A second call while the dialog shows does nothing.
                                     ShowEnvironmentOptions();
                                     EXPECT_EQ(ShownModalForm(), F);
                                     Cancel(F);
                                   }});
    EXPECT_FALSE(EnvOptionsRunning);
  }
}

TEST_F(EnvOptionsDialog, EditorPageChangesReachTheEditorOnOk) {
  TMemoSourceOptions* Source = GetGlobalOptions<TMemoSourceOptions>();
  TStringsOptions SO = Source->GetOptions();
  SO.Exclude(soAutoIndent);
  Source->SetOptions(SO);
  ASSERT_FALSE(Memo->GetOptions().Contains(moLineNumbers));
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   auto* P = ShowPage<TEditorOptForm>(F, 0);
                                   ASSERT_TRUE(P);
                                   EXPECT_FALSE(P->AutoIndentChk->GetChecked());
                                   EXPECT_FALSE(P->Modified);
                                   Press(P->AutoIndentChk);
                                   Press(P->MemoEnvOptions);
                                   P->BlockIndentEdit->SetText("4");
                                   EXPECT_TRUE(P->Modified);
                                   // Nothing is stored before OK.
                                   EXPECT_FALSE(Source->GetOptions().Contains(soAutoIndent));
                                   EXPECT_FALSE(GetMemoEnvOptions()->GetOptions().Contains(moLineNumbers));
                                 },
                                 Ok});
  EXPECT_TRUE(Source->GetOptions().Contains(soAutoIndent));
  EXPECT_EQ(Source->GetBlockIndent(), 4);
  EXPECT_TRUE(GetMemoEnvOptions()->GetOptions().Contains(moLineNumbers));
  // The editor on the window follows.
  EXPECT_TRUE(Memo->GetOptions().Contains(moLineNumbers));
  EXPECT_TRUE(Memo->GetStringsOptions().Contains(soAutoIndent));
  EXPECT_EQ(Memo->GetSource()->GetBlockIndent(), 4);
}

TEST_F(EnvOptionsDialog, EditorPageSwitchesThatDependOnEachOther) {
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   auto* P = ShowPage<TEditorOptForm>(F, 0);
                                   ASSERT_TRUE(P);
                                   P->SmartTabChk->SetChecked(false);
                                   P->UseTabCharBox->SetChecked(false);
                                   // Checking either one unchecks the other; unchecking leaves it.
                                   Press(P->SmartTabChk);
                                   Press(P->UseTabCharBox);
                                   EXPECT_TRUE(P->UseTabCharBox->GetChecked());
                                   EXPECT_FALSE(P->SmartTabChk->GetChecked());
                                   Press(P->SmartTabChk);
                                   EXPECT_FALSE(P->UseTabCharBox->GetChecked());
                                   P->SmartTabChk->SetChecked(false);
                                   EXPECT_FALSE(P->UseTabCharBox->GetChecked());
                                   // The gutter numbers need the line numbers, and keep their check.
                                   P->MemoEnvOptions->SetChecked(true);
                                   P->MemoEnvOptions1->SetChecked(true);
                                   Press(P->MemoEnvOptions);
                                   EXPECT_FALSE(P->MemoEnvOptions1->GetEnabled());
                                   EXPECT_TRUE(P->MemoEnvOptions1->GetChecked());
                                   Cancel(F);
                                 }});
}

TEST_F(EnvOptionsDialog, UnchangedEditorPageAndBadNumbersStoreNothing) {
  TMemoSourceOptions* Source = GetGlobalOptions<TMemoSourceOptions>();
  const TStringsOptions Before = Source->GetOptions();
  const Integer IndentBefore = Source->GetBlockIndent();
  // A page left as it was: OK writes nothing (a key mapping the list lacks stays).
  GetMemoEnvOptions()->SetKeyMapping("NoSuchMapping");
  Drive(ShowEnvironmentOptions, {[&](TForm* F) { ASSERT_TRUE(ShowPage<TEditorOptForm>(F, 0)); }, Ok});
  EXPECT_EQ(GetMemoEnvOptions()->GetKeyMapping(), "NoSuchMapping");
  EXPECT_EQ(Source->GetOptions(), Before);
  // A block indent that is no number: the conversion error, and nothing stored.
  bool Raised = false;
  try {
    Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                     auto* P = ShowPage<TEditorOptForm>(F, 0);
                                     ASSERT_TRUE(P);
                                     Press(P->AutoIndentChk);
                                     P->BlockIndentEdit->SetText("four");
                                     Dialog(F)->SetModalResult(mrOk);
                                   }});
  } catch (const EConvertError& E) {
    Raised = true;
    EXPECT_NE(std::string(E.what()).find("'four' is not a valid integer value"), std::string::npos);
  }
  EXPECT_TRUE(Raised);
  EXPECT_FALSE(EnvOptionsRunning);
  EXPECT_EQ(Source->GetOptions(), Before);
  EXPECT_EQ(Source->GetBlockIndent(), IndentBefore);
}

TEST_F(EnvOptionsDialog, DisplayPageAppliesOnOkAndCancelDropsItsChanges) {
  TMemoEnvOptions* G = GetMemoEnvOptions();
  const Integer WidthBefore = G->GetGutterWidth();
  const TColor ColorBefore = G->GetColor();
  auto ChangeDisplay = [&](TForm* F) {
    auto* P = ShowPage<TDisplayOptForm>(F, 1);
    ASSERT_TRUE(P);
    EXPECT_EQ(P->GutterWidthEdit->GetText(), IntToStr(WidthBefore));
    // The gutter width is taken when its field is left.
    P->GutterWidthEdit->SetFocus();
    P->GutterWidthEdit->SetText("50");
    P->MarginPosEdit->SetFocus();
    Settle();
    EXPECT_EQ(EnvWorkingOptions()->GetGutterWidth(), 50);
    P->EditorColorEd->SetSelectedColor(clYellow);
    P->EditorColorEd->SetCustomColor(TColor(0x123456));
    EXPECT_EQ(EnvWorkingOptions()->GetColor(), TColor(0x123456));
    // The read-only colour's combo follows its box, which writes the option.
    const bool Was = P->pcbUseReadOnlyColor->GetChecked();
    EXPECT_EQ(P->ReadOnlyColorEd->GetEnabled(), Was);
    Press(P->pcbUseReadOnlyColor);
    EXPECT_EQ(P->ReadOnlyColorEd->GetEnabled(), !Was);
    EXPECT_EQ(EnvWorkingOptions()->GetOptions().Contains(moUseReadOnlyColor), !Was);
    // An emptied Space field stores #0 (the blank itself is shown).
    P->edtSSSpace->SetText("x");
    P->edtSSSpace->SetText("");
    EXPECT_EQ(EnvWorkingOptions()->GetSpecialSymbols()->GetSpaceChar(), '\0');
  };
  Drive(ShowEnvironmentOptions, {ChangeDisplay, Cancel});
  EXPECT_EQ(G->GetGutterWidth(), WidthBefore);
  EXPECT_EQ(G->GetColor(), ColorBefore);
  // The next showing starts from the options in force, not from what was cancelled.
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   auto* P = ShowPage<TDisplayOptForm>(F, 1);
                                   ASSERT_TRUE(P);
                                   EXPECT_EQ(P->GutterWidthEdit->GetText(), IntToStr(WidthBefore));
                                 },
                                 Ok});
  EXPECT_EQ(G->GetGutterWidth(), WidthBefore);
  Drive(ShowEnvironmentOptions, {ChangeDisplay, Ok});
  EXPECT_EQ(G->GetGutterWidth(), 50);
  EXPECT_EQ(G->GetColor(), TColor(0x123456));
  EXPECT_EQ(Memo->GetColor(), TColor(0x123456));
}

TEST_F(EnvOptionsDialog, PickersAndFontSizeOfTheDisplayPage) {
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   auto* P = ShowPage<TDisplayOptForm>(F, 1);
                                   ASSERT_TRUE(P);
                                   // Chosen as a user does: open the list, pick a row.
                                   P->GutterStyleEdit->SetFocus();
                                   AltDown();
                                   ASSERT_TRUE(P->GutterStyleEdit->DroppedDown());
                                   Key(VK_DOWN);
                                   Key(VK_DOWN);
                                   Key(VK_RETURN);
                                   Settle();
                                   EXPECT_EQ(P->GutterStyleEdit->GetText(), "bsHorizontal");
                                   EXPECT_EQ(P->GutterStyleEdit->GetBrushStyle(), bsHorizontal);
                                   EXPECT_EQ(EnvWorkingOptions()->GetGutterBrush()->GetStyle(), bsHorizontal);
                                   // A plain click into the margin picker opens its list.
                                   const TPoint In = P->MarginStyleEdit->ClientToScreen({10, 8});
                                   HeadlessDisplay().Click(In.X, In.Y);
                                   Settle();
                                   ASSERT_TRUE(P->MarginStyleEdit->DroppedDown());
                                   Key(VK_DOWN);
                                   Key(VK_RETURN);
                                   Settle();
                                   EXPECT_EQ(P->MarginStyleEdit->GetText(), "psDash");
                                   EXPECT_EQ(EnvWorkingOptions()->GetMarginPen()->GetStyle(), psDash);
                                   // A size the list lacks leaves it without selection but is kept.
                                   P->FontSizeEdit->SetFocus();
                                   P->FontSizeEdit->SetText("");
                                   Type("13");
                                   Settle();
                                   EXPECT_EQ(EnvWorkingOptions()->GetFont()->GetSize(), 13);
                                   EXPECT_EQ(P->FontSizeEdit->GetItems()->GetCount(), 16);
                                 },
                                 Ok});
  EXPECT_EQ(GetMemoEnvOptions()->GetGutterBrush()->GetStyle(), bsHorizontal);
  EXPECT_EQ(GetMemoEnvOptions()->GetMarginPen()->GetStyle(), psDash);
  EXPECT_EQ(GetMemoEnvOptions()->GetFont()->GetSize(), 13);
  // Shown again: the pickers hold the stored styles; the size the list
  // lacks stands in the field with no row selected.
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   auto* P = ShowPage<TDisplayOptForm>(F, 1);
                                   ASSERT_TRUE(P);
                                   EXPECT_EQ(P->GutterStyleEdit->GetText(), "bsHorizontal");
                                   EXPECT_EQ(P->MarginStyleEdit->GetPenStyle(), psDash);
                                   EXPECT_EQ(P->FontSizeEdit->GetItemIndex(), -1);
                                   EXPECT_EQ(P->FontSizeEdit->GetText(), "13");
                                   SaveShot(F, "editor-dialogs-TEnvForm-Pickers");
                                 },
                                 Cancel});
}

TEST_F(EnvOptionsDialog, ColourSchemeRecoloursTheStylesAndTheEditor) {
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   auto* C = ShowPage<TColorsOptForm>(F, 2);
                                   ASSERT_TRUE(C);
                                   ASSERT_EQ(C->ComboBox1->GetItems()->GetCount(), 4);
                                   EXPECT_EQ(C->ComboBox1->GetItems()->GetStrings(3), "Twilight");
                                   // Open Display first: it follows the editor colour.
                                   auto* D = ShowPage<TDisplayOptForm>(F, 1);
                                   ASSERT_TRUE(D);
                                   ShowPage<TColorsOptForm>(F, 2);
                                   C->ComboBox1->SetItemIndex(3);
                                   C->ComboBox1Change(C->ComboBox1);
                                   TTextStyles* S = EnvWorkingOptions()->GetTextStyles();
                                   TTextStyle* R = S->GetItem(S->IndexOfName("Reserved words"));
                                   EXPECT_EQ(R->GetFont()->GetColor(), clAqua);
                                   EXPECT_EQ(R->GetColor(), clBlack);
                                   EXPECT_TRUE(R->GetFont()->GetStyle().Contains(fsBold));
                                   EXPECT_EQ(EnvWorkingOptions()->GetColor(), clBlack);
                                   EXPECT_EQ(EnvWorkingOptions()->GetColorSchema(), "Twilight");
                                   EXPECT_EQ(D->EditorColorEd->GetSelectedColor(), clBlack);
                                   // The list shows the first style, with its colours.
                                   EXPECT_EQ(C->Elements->GetItemIndex(), 0);
                                   EXPECT_EQ(C->BackColor->GetSelectedColor(), clBlack);
                                   // Not yet in force.
                                   EXPECT_NE(GetMemoEnvOptions()->GetColor(), clBlack);
                                 },
                                 Ok});
  EXPECT_EQ(GetMemoEnvOptions()->GetColor(), clBlack);
  EXPECT_EQ(GetMemoEnvOptions()->GetColorSchema(), "Twilight");
  EXPECT_EQ(Memo->GetColor(), clBlack);
  Memo->Invalidate();
  Pump();
  // Past the text of the first line: the editor's background is black now.
  EXPECT_EQ(PixelAt(Memo, Memo->GetWidth() - 40, 6), ColorToRGB(clBlack));
}

TEST_F(EnvOptionsDialog, ColorsPageEditsTheSelectedStyle) {
  GetMemoEnvOptions()->SetColorSchema("Nothing registered");
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   auto* C = ShowPage<TColorsOptForm>(F, 2);
                                   ASSERT_TRUE(C);
                                   // An unknown scheme name selects the first entry, unapplied.
                                   EXPECT_EQ(C->ComboBox1->GetItemIndex(), 0);
                                   EXPECT_EQ(EnvWorkingOptions()->GetColorSchema(), "Nothing registered");
                                   TTextStyles* S = EnvWorkingOptions()->GetTextStyles();
                                   // "Whitespace"'s background is the editor colour; another's is not.
                                   C->Elements->SetItemIndex(0);
                                   C->ElementsClick(C->Elements);
                                   C->BackColor->SetCustomColor(TColor(0x204060));
                                   EXPECT_EQ(EnvWorkingOptions()->GetColor(), TColor(0x204060));
                                   const Integer Str = S->IndexOfName("String");
                                   C->Elements->SetItemIndex(Str);
                                   C->ElementsClick(C->Elements);
                                   C->BackColor->SetCustomColor(TColor(0x665544));
                                   EXPECT_EQ(S->GetItem(Str)->GetColor(), TColor(0x665544));
                                   EXPECT_EQ(EnvWorkingOptions()->GetColor(), TColor(0x204060));
                                   // Bold toggles only the bold bit of that style.
                                   const bool Italic = S->GetItem(Str)->GetFont()->GetStyle().Contains(fsItalic);
                                   EXPECT_FALSE(C->BoldChk->GetChecked());
                                   Press(C->BoldChk);
                                   EXPECT_TRUE(S->GetItem(Str)->GetFont()->GetStyle().Contains(fsBold));
                                   EXPECT_EQ(S->GetItem(Str)->GetFont()->GetStyle().Contains(fsItalic), Italic);
                                   // A name that is not registered rebuilds the default styles.
                                   C->ComboBox1->GetItems()->Add("Homemade");
                                   C->ComboBox1->SetItemIndex(4);
                                   C->ComboBox1Change(C->ComboBox1);
                                   EXPECT_EQ(EnvWorkingOptions()->GetColorSchema(), "Homemade");
                                   EXPECT_NE(S->GetItem(Str)->GetColor(), TColor(0x665544));
                                   EXPECT_FALSE(S->GetItem(Str)->GetFont()->GetStyle().Contains(fsBold));
                                 },
                                 Cancel});
  EXPECT_EQ(GetMemoEnvOptions()->GetColorSchema(), "Nothing registered");
}

TEST_F(EnvOptionsDialog, SchemeTablesSkipStylesTheSetLacks) {
  TTextStyles Styles(nullptr);
  Styles.SetDefaultStyles();
  Styles.Delete(Styles.IndexOfName("Comment"));
  ApplyOceanScheme(&Styles);
  TTextStyle* Ws = Styles.GetItem(Styles.IndexOfName("Whitespace"));
  EXPECT_EQ(Ws->GetColor(), clAqua);
  EXPECT_EQ(Styles.IndexOfName("Comment"), -1);
  // Marked Block drives the selection colours and keeps its own background.
  TTextStyle* Mb = Styles.GetItem(Styles.IndexOfName("Marked Block"));
  EXPECT_EQ(Mb->GetUpdateMemoColors(), mcSelection);
  EXPECT_FALSE(Mb->GetUseMemoColor());
  EXPECT_EQ(Mb->GetColor(), clBlue);
  EXPECT_EQ(FindColorSchemeProc(TDCMemo::StaticClass(), "OCEAN"), &ApplyOceanScheme);
  EXPECT_EQ(FindColorSchemeProc(TDCMemo::StaticClass(), "Sunset"), nullptr);
}

TEST_F(EnvOptionsDialog, PagesGrowTheDialogAndEnterReachesOk) {
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   TEnvForm* D = Dialog(F);
                                   const Integer H0 = D->ClientHeight();
                                   auto* P = ShowPage<TDisplayOptForm>(F, 1);
                                   ASSERT_TRUE(P);
                                   // The Display page is the tallest: the dialog grew to hold it.
                                   EXPECT_GE(D->ClientHeight(), H0);
                                   EXPECT_GE(D->PageProps->Pages(1)->ClientHeight(), 341);
                                   const Integer H1 = D->ClientHeight();
                                   SaveShot(D, "editor-dialogs-TEnvForm-Display");
                                   auto* C = ShowPage<TColorsOptForm>(F, 2);
                                   ASSERT_TRUE(C);
                                   EXPECT_EQ(D->ClientHeight(), H1);
                                   C->Elements->SetFocus();
                                 },
                                 [](TForm*) { Key(VK_RETURN); }});
}

}  // namespace

namespace {

TEST_F(EnvOptionsDialog, ColourSchemeFilesThroughTheFileDialogs) {
  sxtest::TScratchDir Scratch("eddlg-rgb");
  const std::string Dir = Scratch.Path().string();
  const AnsiString Chosen = Dir + "/mine.txt";
  TDialogScript Script;
  Script.ThenFile(Chosen).ThenFile(Dir + "/mine.RGB").Then(mrCancel);
  Drive(ShowEnvironmentOptions, {[&](TForm* F) {
                                   auto* C = ShowPage<TColorsOptForm>(F, 2);
                                   ASSERT_TRUE(C);
                                   TTextStyles* S = EnvWorkingOptions()->GetTextStyles();
                                   const Integer Str = S->IndexOfName("String");
                                   S->GetItem(Str)->SetColor(TColor(0x0A0B0C));
                                   // Saved under the chosen name with the scheme extension.
                                   C->SaveButtonClick(C->SaveButton);
                                   EXPECT_TRUE(std::filesystem::exists(Dir + "/mine.RGB"));
                                   S->GetItem(Str)->SetColor(clWhite);
                                   C->OpenButtonClick(C->OpenButton);
                                   EXPECT_EQ(S->GetItem(Str)->GetColor(), TColor(0x0A0B0C));
                                   // The list shows the loaded set.
                                   EXPECT_EQ(C->Elements->GetItems()->GetCount(), S->Count());
                                   // A cancelled open changes nothing.
                                   C->OpenButtonClick(C->OpenButton);
                                   EXPECT_EQ(S->GetItem(Str)->GetColor(), TColor(0x0A0B0C));
                                 },
                                 Cancel});
  ASSERT_EQ(Script.Asked().size(), 3u);
  EXPECT_EQ(Script.Asked()[0].Caption, "Save color styles");
  EXPECT_EQ(Script.Asked()[1].Caption, "Load color styles");
  EXPECT_EQ(Script.Asked()[1].Filter, "Color scheme (*.rgb)|*.RGB");
}

}  // namespace
