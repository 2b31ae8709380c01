// The combined Find and Replace window, as the memo source opens it when its
// dialog switch selects the modeless form: its pages, the options panel,
// and find, replace and go-to on the text of an editor on a window.
#include <gtest/gtest.h>

#include "DialogsTestSupport.h"
#include "editor/controls/DCMemo.h"
#include "editor/controls/HistoryEditor.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/text/Search.h"
#include "platform/forms/Buttons.h"
#include "platform/forms/ComCtrls.h"
#include "platform/rtl/Colors.h"

namespace {

class SearchReplaceWindow : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    Window = new TForm(App.get());
    Window->SetBounds(0, 0, 480, 300);
    Memo = new TDCMemo(Window);
    Memo->SetParent(Window);
    Memo->SetAlign(alClient);
    Memo->GetLines()->SetText("alpha beta\nbeta gamma\nR&D beta\nlast line\n");
    Window->Show();
    Pump();
    TCustomMemoSource::SearchDialogMode() = 0;
    SetCurrentSearchSource(Memo->GetSource());
    Memo->GetSource()->SetCaret(0, 1);
  }
  void TearDown() override {
    TCustomMemoSource::SearchDialogMode() = 1;
    if (TFrmSearRepl* W = SearchReplaceForm()) delete W;
    TEditorDialogsTest::TearDown();
  }
  TFrmSearRepl* Open(bool Replace) {
    if (Replace) Memo->GetSource()->ShowReplaceDialog();
    else Memo->GetSource()->ShowFindDialog();
    Pump();
    TFrmSearRepl* W = SearchReplaceForm();
    EXPECT_NE(W, nullptr);
    return W;
  }
  TCustomMemoSource* Source() { return Memo->GetSource(); }

  TForm* Window = nullptr;
  TDCMemo* Memo = nullptr;
};

TEST_F(SearchReplaceWindow, OpensCollapsedOnItsPageAndIsKept) {
  GetSearchOptions()->TextToFind = "gamma";
  GetSearchOptions()->Direction = sdBackward;
  TFrmSearRepl* W = Open(false);
  ASSERT_TRUE(W);
  EXPECT_TRUE(W->GetVisible());
  EXPECT_EQ(W->GetCaption(), "Find and Replace");
  EXPECT_EQ(W->PageControl->GetActivePageIndex(), 0);
  EXPECT_EQ(W->SearText->GetText(), "gamma");
  EXPECT_EQ(W->SearText1->GetText(), "gamma");
  EXPECT_TRUE(W->dirBackward->GetChecked());
  // The Go To field holds the caret line, counted from 1.
  EXPECT_EQ(W->LineEd->GetText(), "2");
  // Folded: the options panel is away and the window is that much lower.
  EXPECT_FALSE(W->ExPanel->GetVisible());
  EXPECT_EQ(W->ExBtn->GetCaption(), "&More");
  EXPECT_EQ(W->ClientHeight(), 267 - 106);
  const Integer Folded = W->GetHeight();
  W->ExBtnClick(W->ExBtn);
  EXPECT_TRUE(W->ExPanel->GetVisible());
  EXPECT_EQ(W->ExBtn->GetCaption(), "&Less");
  EXPECT_EQ(W->GetHeight(), Folded + 106);
  // Replace turns the same window to its Replace page.
  EXPECT_EQ(Open(true), W);
  EXPECT_EQ(W->PageControl->GetActivePageIndex(), 1);
  EXPECT_TRUE(W->ReplBtn->GetEnabled());
  EXPECT_TRUE(W->ReplBtn->GetDefault());
  // The Go To page: its own button, and the options fold away.
  W->ShowPage(2);
  EXPECT_TRUE(W->GoToBtn->GetVisible());
  EXPECT_FALSE(W->ReplAllBtn->GetVisible());
  EXPECT_FALSE(W->FindBtn->GetEnabled());
  EXPECT_FALSE(W->ExPanel->GetVisible());
  // Closing frees it; the next command makes a new one.
  W->CloseBtnClick(W->CloseBtn);
  Pump();
  EXPECT_EQ(SearchReplaceForm(), nullptr);
  EXPECT_NE(Open(false), nullptr);
}

TEST_F(SearchReplaceWindow, FindShowsWhatItFoundOrNotInTheInfoLine) {
  TFrmSearRepl* W = Open(false);
  ASSERT_TRUE(W);
  struct {
    const char* Text;
    bool Found;
    const char* Info;
  } Cases[] = {
      {"gamma", true, ""},
      {"delta", false, "Search string 'delta' not found"},
      // The label shows one "&" for a doubled one: the text as typed.
      {"X&Y", false, "Search string 'X&&Y' not found"},
  };
  for (const auto& C : Cases) {
    Source()->SetCaret(0, 0);
    W->SearText->SetText(C.Text);
    W->FindBtnClick(W->FindBtn);
    EXPECT_EQ(W->InfoLbl->GetCaption(), C.Info) << C.Text;
    EXPECT_EQ(W->InfoLbl2->GetCaption(), C.Info) << C.Text;
    if (C.Found) {
      EXPECT_EQ(Source()->GetCaretLine(), 1) << C.Text;
    }
  }
  // No message box was needed: the window told it all.
  EXPECT_EQ(GetSearchOptions()->TextToFind, "X&Y");
  EXPECT_EQ(GetSearchOptions()->Origin, soFromCursor);
}

TEST_F(SearchReplaceWindow, ReplaceAllCountsAndNeverPrompts) {
  GetSearchOptions()->PromptOnReplace = true;
  TFrmSearRepl* W = Open(true);
  ASSERT_TRUE(W);
  Source()->SetCaret(0, 0);
  W->SearText1->SetText("beta");
  W->ReplText->SetText("BETA");
  W->ReplBtnClick(W->ReplAllBtn);
  EXPECT_EQ(W->InfoLbl1->GetCaption(), "3 replacements have been made");
  EXPECT_EQ(Memo->GetLines()->GetStrings(0), "alpha BETA");
  EXPECT_EQ(Memo->GetLines()->GetStrings(2), "R&D BETA");
  EXPECT_FALSE(GetSearchOptions()->PromptOnReplace);
  EXPECT_TRUE(GetSearchOptions()->ReplaceAll);
  // Nothing left to replace.
  W->ReplBtnClick(W->ReplAllBtn);
  EXPECT_EQ(W->InfoLbl1->GetCaption(), "Search string 'beta' not found");
  W->ReplBtnClick(W->ReplBtn);
  EXPECT_EQ(W->InfoLbl1->GetCaption(), "Search string 'beta' not found");
  EXPECT_FALSE(GetSearchOptions()->ReplaceAll);
}

TEST_F(SearchReplaceWindow, GoToLinesAndBookmarks) {
  TFrmSearRepl* W = Open(false);
  ASSERT_TRUE(W);
  W->ShowPage(2);
  // Pressed at once, the preset line leaves the caret on its line.
  W->GoToBtnClick(W->GoToBtn);
  EXPECT_EQ(Source()->GetCaretLine(), 1);
  W->LineEd->SetText("4");
  W->GoToBtnClick(W->GoToBtn);
  EXPECT_EQ(Source()->GetCaretLine(), 3);
  // Bookmarks: one that is set, and one that is not.
  Source()->SetCaret(2, 2);
  Source()->SetBookmark(3);
  Source()->SetCaret(0, 0);
  W->GotoBox->SetItemIndex(1);
  W->LineEd->SetText("3");
  W->GoToBtnClick(W->GoToBtn);
  EXPECT_EQ(Source()->GetCaretLine(), 2);
  EXPECT_EQ(W->InfoLbl2->GetCaption(), "");
  W->LineEd->SetText("7");
  W->GoToBtnClick(W->GoToBtn);
  EXPECT_EQ(W->InfoLbl2->GetCaption(), "Bookmark 7 not found");
  // A text that is no number: the conversion error, and the window stays.
  W->LineEd->SetText("seven");
  EXPECT_THROW(W->GoToBtnClick(W->GoToBtn), EConvertError);
  EXPECT_EQ(SearchReplaceForm(), W);
}

TEST_F(SearchReplaceWindow, NothingHappensWithoutACurrentSource) {
  TFrmSearRepl* W = Open(false);
  ASSERT_TRUE(W);
  SetCurrentSearchSource(nullptr);
  W->SearText->SetText("delta");
  W->FindBtnClick(W->FindBtn);
  W->LineEd->SetText("not a number");
  W->GoToBtnClick(W->GoToBtn);
  EXPECT_EQ(W->InfoLbl->GetCaption(), "");
}

TEST_F(SearchReplaceWindow, ClosesWhenItsSourceGoesAway) {
  // Another editor's source going away leaves the window alone.
  auto* Other = new TDCMemo(Window);
  Other->SetParent(Window);
  ASSERT_TRUE(Open(false));
  delete Other;
  Pump();
  ASSERT_NE(SearchReplaceForm(), nullptr);
  // The current one going away closes it.
  delete Memo;
  Memo = nullptr;
  Pump();
  EXPECT_EQ(SearchReplaceForm(), nullptr);
  EXPECT_EQ(CurrentSearchSource(), nullptr);
}

TEST_F(SearchReplaceWindow, MovesOffTheCaretLine) {
  TFrmSearRepl* W = Open(false);
  ASSERT_TRUE(W);
  W->SetBounds(100, 100, W->GetWidth(), W->GetHeight());
  // A line rectangle under the window: the window moves below it.
  W->AvoidRect({0, 120, 800, 136});
  EXPECT_EQ(W->GetTop(), 136);
  // Near the bottom of the screen it goes above instead.
  W->AvoidRect({0, 700, 800, 716});
  EXPECT_EQ(W->GetTop(), 136);
  W->SetTop(600);
  W->AvoidRect({0, 610, 800, 626});
  EXPECT_EQ(W->GetTop(), 610 - W->GetHeight());
  // A rectangle elsewhere leaves it alone.
  const Integer Top = W->GetTop();
  W->AvoidRect({0, 0, 10, 10});
  EXPECT_EQ(W->GetTop(), Top);
}

TEST_F(SearchReplaceWindow, ActsOnTheFocusedEditorAndStepsOffItsCaretLine) {
  auto* Other = new TDCMemo(Window);
  Other->SetParent(Window);
  Other->SetAlign(alTop);
  Other->SetHeight(60);
  Other->GetLines()->SetText("other text\nbeta\n");
  Pump();
  SetCurrentSearchSource(nullptr);
  Other->SetFocus();
  Pump();
  EXPECT_EQ(CurrentSearchSource(), Other->GetSource());
  Memo->SetFocus();
  Pump();
  EXPECT_EQ(CurrentSearchSource(), Source());
  TFrmSearRepl* W = Open(false);
  ASSERT_TRUE(W);
  // The window lies over line 3 of the editor; the caret goes there.
  const Integer Lh = Memo->LineHeight();
  const TPoint Line3 = Memo->ClientToScreen(Memo->TextToPoint(0, 3));
  W->SetBounds(Line3.X, Line3.Y - 5, W->GetWidth(), W->GetHeight());
  Source()->SetCaret(0, 3);
  Pump();
  EXPECT_EQ(W->GetTop(), Line3.Y + Lh) << "below the caret line";
  // The other editor's caret is not the current source's: nothing moves.
  const TPoint Other1 = Other->ClientToScreen(Other->TextToPoint(0, 1));
  W->SetTop(Other1.Y - 5);
  Other->GetSource()->SetCaret(0, 1);
  Pump();
  EXPECT_EQ(W->GetTop(), Other1.Y - 5);
  // Hidden, it stays where it is.
  W->SetTop(Line3.Y - 5);
  W->Hide();
  Source()->SetCaret(0, 2);
  Source()->SetCaret(0, 3);
  Pump();
  EXPECT_EQ(W->GetTop(), Line3.Y - 5);
}

}  // namespace
