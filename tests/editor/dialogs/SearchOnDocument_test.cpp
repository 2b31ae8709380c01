// Find, replace (with the prompt's answers) and go to line, started as the
// editor's commands start them, on a real document imported into an
// editor on a window.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "DialogsTestSupport.h"
#include "editor/controls/DCMemo.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/text/Search.h"
#include "editor/controls/HistoryEditor.h"
#include "platform/forms/Dialogs.h"
#include "platform/rtl/VirtualKeys.h"

namespace {

namespace fs = std::filesystem;

class SearchOnDocument : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    const fs::path Doc = fs::path(SX_CORPUS_DIR) / "rtf" / "word_rtfjs_sample.rtf";
    if (!fs::exists(Doc)) GTEST_SKIP() << "no corpus at " << Doc;
    Form = new TForm(App.get());
    Form->SetBounds(0, 0, 640, 480);
    Memo = new TDCMemo(Form);
    Memo->SetParent(Form);
    Memo->SetAlign(alClient);
    Form->Show();
    Memo->ImportFromFile(Doc.string());
    Pump();
    ASSERT_GT(Memo->GetLines()->GetCount(), 10);
    PickWord();
  }
  TCustomMemoSource* Source() { return Memo->GetSource(); }
  Integer Count(const AnsiString& S) const {
    Integer N = 0;
    for (Integer L = 0; L < Memo->GetLines()->GetCount(); ++L) {
      const AnsiString T = Memo->GetLines()->GetStrings(L);
      for (size_t At = T.find(S); At != AnsiString::npos; At = T.find(S, At + S.size())) ++N;
    }
    return N;
  }
  Integer FirstLineWith(const AnsiString& S) const {
    for (Integer L = 0; L < Memo->GetLines()->GetCount(); ++L)
      if (Memo->GetLines()->GetStrings(L).find(S) != AnsiString::npos) return L;
    return -1;
  }
  // A word of the document that first shows below its first line and shows
  // at least three times.
  void PickWord() {
    std::map<AnsiString, int> Seen;
    for (Integer L = 1; L < Memo->GetLines()->GetCount() && Word.empty(); ++L) {
      const AnsiString T = Memo->GetLines()->GetStrings(L);
      size_t I = 0;
      while (I < T.size() && Word.empty()) {
        size_t J = I;
        while (J < T.size() && std::isalpha(static_cast<unsigned char>(T[J]))) ++J;
        if (J - I >= 4) {
          const AnsiString W = T.substr(I, J - I);
          if (FirstLineWith(W) > 0 && Count(W) >= 3) Word = W;
        }
        I = J + 1;
      }
    }
    ASSERT_FALSE(Word.empty()) << "no repeated word in the document";
  }
  // Fills the open dialog's fields (replace only when the dialog has one).
  static void Fill(TForm* F, const AnsiString& Find, const AnsiString* With = nullptr) {
    auto* S = Named<TDCHistoryEditor>(F, "SearText");
    S->SetFocus();
    S->SetText(Find);
    if (With) Named<TDCHistoryEditor>(F, "ReplText")->SetText(*With);
    // From the top of the text, case as typed.
    Named<TRadioGroup>(F, "OriginGroup")->SetItemIndex(1);
    Named<TCheckBox>(F, "CaseSens")->SetChecked(true);
  }
  TForm* Form = nullptr;
  TDCMemo* Memo = nullptr;
  AnsiString Word;
};

}  // namespace

TEST_F(SearchOnDocument, FindMarksTheFirstOccurrence) {
  Drive([&] { Source()->ShowFindDialog(); }, {
                                                [&](TForm* F) { Fill(F, Word); },
                                                [&](TForm*) { Key(VK_RETURN); },
                                            });
  const Integer Line = FirstLineWith(Word);
  EXPECT_EQ(Source()->GetCaretLine(), Line) << Word.c_str();
  const Integer At = Integer(Memo->GetLines()->GetStrings(Line).find(Word));
  const Integer Len = Integer(Word.size());
  // The match is marked and the caret stands behind it.
  EXPECT_EQ(Source()->GetFoundRect(), (TRect{At, Line, At + Len, Line + 1}));
  EXPECT_EQ(Source()->GetCaretChar(), At + Len);
  // Cancel runs no search: the caret stays.
  Drive([&] { Source()->ShowFindDialog(); }, {
                                                [&](TForm* F) { Fill(F, "zzz-not-there"); },
                                                [&](TForm*) { Key(VK_ESCAPE); },
                                            });
  EXPECT_EQ(Source()->GetCaretLine(), Line);
  EXPECT_EQ(GetSearchOptions()->TextToFind, Word);
}

TEST_F(SearchOnDocument, ReplaceAllFollowsThePromptsAnswers) {
  const Integer Before = Count(Word);
  const AnsiString With = "@@";
  TDialogScript Answers;
  // Yes to the first, No to the second, All for the rest.
  Answers.Then(mrYes).Then(mrNo).Then(mrAll);
  Drive([&] { Source()->ShowReplaceDialog(); }, {
                                                   [&](TForm* F) {
                                                     Fill(F, Word, &With);
                                                     Named<TCheckBox>(F, "PromptRepl")->SetChecked(true);
                                                   },
                                                   [&](TForm* F) { Click(Named<TButton>(F, "ReplBut")); },
                                               });
  ASSERT_EQ(Answers.Asked().size(), 3u);
  EXPECT_EQ(Answers.Asked()[0].Text, "Replace this occurence of '" + Word + "'?");
  EXPECT_EQ(Count(Word), 1) << "only the answer No kept one";
  EXPECT_EQ(Count(With), Before - 1);
  EXPECT_EQ(Source()->GetReplacedCount(), Before - 1);
  // Undo brings the text back.
  while (Count(Word) != Before && Source()->CanUndo()) Source()->Undo();
  EXPECT_EQ(Count(Word), Before);
}

TEST_F(SearchOnDocument, GoToLineMovesTheCaretToTheEnteredLine) {
  const Integer Target = Memo->GetLines()->GetCount() / 2;
  Source()->SetCaret(3, 2);
  Drive([&] { Memo->GoToLineNumber(); },
        {
            [&](TForm* F) {
              EXPECT_EQ(F->GetCaption(), "Go to line Number");
              auto* E = Named<TEdit>(F, "PropEdit");
              EXPECT_EQ(E->GetText(), "3") << "the caret's line, counted from 1";
              E->SetText(IntToStr(Target + 1));
            },
            [&](TForm*) { Key(VK_RETURN); },
        });
  EXPECT_EQ(Source()->GetCaretLine(), Target);
  EXPECT_EQ(Source()->GetCaretChar(), 0);
  // Cancel keeps the caret; a field that is no number raises the conversion
  // error out of the command, with the caret where it was.
  Drive([&] { Memo->GoToLineNumber(); }, {[&](TForm*) { Key(VK_ESCAPE); }});
  EXPECT_EQ(Source()->GetCaretLine(), Target);
  EXPECT_THROW(Drive([&] { Memo->GoToLineNumber(); },
                     {
                         [&](TForm* F) { Named<TEdit>(F, "PropEdit")->SetText("twelve"); },
                         [&](TForm*) { Key(VK_RETURN); },
                     }),
               EConvertError);
  EXPECT_EQ(Source()->GetCaretLine(), Target);
}
