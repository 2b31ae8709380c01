// The Find Text and Replace Text dialogs and the Go to line form: what they
// show from the search options, that only OK (or Replace All) writes them
// back, and the history their text fields keep.
#include <gtest/gtest.h>

#include <memory>

#include "DialogsTestSupport.h"
#include "editor/base/RegStorage.h"
#include "editor/controls/HistoryEditor.h"
#include "editor/dialogs/DialogSetup.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/text/Search.h"
#include "platform/forms/Dialogs.h"
#include "platform/rtl/VirtualKeys.h"

namespace {

using SearchDialogs = TEditorDialogsTest;

// A find or replace dialog as the memo source makes it.
template <class T>
std::unique_ptr<T> Make(const char* ClassName) {
  std::unique_ptr<TForm> F(CreateEditorDialog(ClassName));
  auto* D = dynamic_cast<T*>(F.get());
  EXPECT_NE(D, nullptr) << ClassName;
  if (!D) return nullptr;
  F.release();
  return std::unique_ptr<T>(D);
}

void SetStoredOptions() {
  TSearchOptions* G = GetSearchOptions();
  G->TextToFind = "needle";
  G->ReplaceWith = "pin";
  G->CaseSensitive = true;
  G->WholeWordsOnly = false;
  G->RegularExpr = true;
  G->PromptOnReplace = true;
  G->Direction = sdBackward;
  G->Scope = ssSelectedText;
  G->Origin = soFromCursor;
}

AnsiString StoredHistory(const AnsiString& Path) {
  return ReadFromRegistry(Path, Variant(AnsiString())).AsString();
}

}  // namespace

TEST_F(SearchDialogs, FindDialogShowsTheStoredOptionsInItsDescribedLayout) {
  SetStoredOptions();
  auto D = Make<TSrchDialog>(FindDialogClass);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->GetCaption(), "Find Text");
  EXPECT_EQ(D->ClientWidth(), 433);
  EXPECT_EQ(D->ClientHeight(), 278);
  EXPECT_EQ(Named<TControl>(D.get(), "EditorFindPage")->GetCaption(), "Find");
  EXPECT_EQ(D->LTexttFind->GetCaption(), "&Text to find:");
  EXPECT_EQ(D->SearText->GetText(), "needle");
  EXPECT_TRUE(D->CaseSens->GetChecked());
  EXPECT_FALSE(D->WholeWord->GetChecked());
  EXPECT_TRUE(D->RegExpr->GetChecked());
  EXPECT_TRUE(D->dirBackward->GetChecked());
  EXPECT_FALSE(D->dirForward->GetChecked());
  EXPECT_EQ(D->ScopeGroup->GetItemIndex(), 1);
  EXPECT_EQ(D->OriginGroup->GetItemIndex(), 0);
  // Help is hidden; OK and Cancel move right into its row.
  EXPECT_FALSE(D->HelpBut->GetVisible());
  EXPECT_EQ(D->OKBut->GetLeft(), 272);
  EXPECT_EQ(D->CancelBut->GetLeft(), 352);
  EXPECT_EQ(D->GetActiveControl(), D->SearText);
}

TEST_F(SearchDialogs, FindDialogWritesTheOptionsBackOnOkOnly) {
  SetStoredOptions();
  TModalResult R = mrNone;
  // Cancel: the changes stay in the dialog.
  {
    auto D = Make<TSrchDialog>(FindDialogClass);
    Drive([&] { R = D->ShowModal(); }, {
                                          [&](TForm*) { Click(D->WholeWord); },
                                          [&](TForm*) { Click(D->CancelBut); },
                                      });
    EXPECT_EQ(R, mrCancel);
  }
  EXPECT_FALSE(GetSearchOptions()->WholeWordsOnly);
  EXPECT_EQ(GetSearchOptions()->Direction, sdBackward);
  // OK with Enter in the field: everything shown goes back, and the text
  // enters the field's stored history.
  {
    auto D = Make<TSrchDialog>(FindDialogClass);
    Drive([&] { R = D->ShowModal(); }, {
                                          [&](TForm*) {
                                            Click(D->WholeWord);
                                            Click(D->dirForward);
                                          },
                                          [&](TForm*) {
                                            D->SearText->SetFocus();
                                            D->SearText->SetText("");
                                            Type("hay");
                                          },
                                          [&](TForm*) { Key(VK_RETURN); },
                                      });
    EXPECT_EQ(R, mrOk);
  }
  const TSearchOptions* G = GetSearchOptions();
  EXPECT_EQ(G->TextToFind, "hay");
  EXPECT_TRUE(G->WholeWordsOnly);
  EXPECT_TRUE(G->CaseSensitive);
  EXPECT_EQ(G->Direction, sdForward);
  EXPECT_EQ(G->Scope, ssSelectedText);
  EXPECT_EQ(G->Origin, soFromCursor);
  EXPECT_EQ(StoredHistory("EditHistory\\SrchDialogSearText"), "hay\r\n");
  // Opened again, it shows what was chosen, with the history in its list.
  auto Again = Make<TSrchDialog>(FindDialogClass);
  Again->Show();
  Pump();
  EXPECT_EQ(Again->SearText->GetText(), "hay");
  EXPECT_TRUE(Again->WholeWord->GetChecked());
  ASSERT_EQ(Again->SearText->GetItems()->GetCount(), 1);
  EXPECT_EQ(Again->SearText->GetItems()->GetStrings(0), "hay");
}

TEST_F(SearchDialogs, ReplaceDialogReplaceAllClosesWithAllAndSetsEveryOption) {
  SetStoredOptions();
  auto D = Make<TReplDialog>(ReplaceDialogClass);
  ASSERT_TRUE(D);
  EXPECT_EQ(D->GetCaption(), "Replace Text");
  EXPECT_EQ(D->ReplText->GetText(), "pin");
  EXPECT_TRUE(D->PromptRepl->GetChecked());
  EXPECT_FALSE(D->HelpBut->GetVisible());
  // Each button 80 pixels right of its described place.
  EXPECT_EQ(D->OKBut->GetLeft(), 168);
  EXPECT_EQ(D->ReplBut->GetLeft(), 248);
  EXPECT_EQ(D->CancelBut->GetLeft(), 344);
  TModalResult R = mrNone;
  Drive([&] { R = D->ShowModal(); }, {
                                        [&](TForm*) {
                                          D->ReplText->SetFocus();
                                          D->ReplText->SetText("");
                                          Type("thread");
                                        },
                                        [&](TForm*) { Click(D->PromptRepl); },
                                        [&](TForm*) { Click(D->ReplBut); },
                                    });
  EXPECT_EQ(R, mrAll);
  const TSearchOptions* G = GetSearchOptions();
  EXPECT_EQ(G->ReplaceWith, "thread");
  EXPECT_FALSE(G->PromptOnReplace);
  EXPECT_TRUE(G->ReplaceAll);
  EXPECT_EQ(G->TextToFind, "needle");
  // OK replaces one at a time.
  auto Ok = Make<TReplDialog>(ReplaceDialogClass);
  Drive([&] { R = Ok->ShowModal(); }, {[&](TForm*) { Click(Ok->OKBut); }});
  EXPECT_EQ(R, mrOk);
  EXPECT_FALSE(GetSearchOptions()->ReplaceAll);
}

TEST_F(SearchDialogs, InputLineFormTakesCaptionLabelAndValue) {
  std::unique_ptr<TCustomInputLineForm> F(CreateInputLineForm("Go to line Number", "&Line:", 7));
  auto* In = dynamic_cast<TInputLineForm*>(F.get());
  ASSERT_NE(In, nullptr);
  EXPECT_EQ(In->GetCaption(), "Go to line Number");
  EXPECT_EQ(In->InputLabel->GetCaption(), "&Line:");
  EXPECT_EQ(In->GetHelpContext(), 7);
  EXPECT_FALSE(In->HelpBut->GetVisible());
  EXPECT_EQ(In->OkBut->GetLeft(), 232);
  EXPECT_EQ(In->CancelBut->GetLeft(), 312);
  In->SetValue("12");
  EXPECT_EQ(In->PropEdit->GetText(), "12");
}

// --- the history editor --------------------------------------------------------

namespace {

class HistoryEditors : public TEditorDialogsTest {
protected:
  void SetUp() override {
    TEditorDialogsTest::SetUp();
    Form = new TForm(App.get());
    Form->SetName("SrchDialog");
    Form->SetBounds(10, 10, 400, 200);
    A = Add("SearText", 10);
    B = Add("Other", 40);
    Form->Show();
    Pump();
  }
  TDCHistoryEditor* Add(const char* Name, int Top) {
    auto* E = new TDCHistoryEditor(Form);
    E->SetName(Name);
    E->SetParent(Form);
    E->SetBounds(10, Top, 200, 21);
    E->SetText("");
    return E;
  }
  // Types Text into E and leaves the field for the other one.
  void Enter(TDCHistoryEditor* E, const AnsiString& Text) {
    E->SetFocus();
    E->SetText(Text);
    (E == A ? B : A)->SetFocus();
    Pump();
  }
  static AnsiString Items(TDCHistoryEditor* E) { return E->GetItems()->GetCommaText(); }
  TForm* Form = nullptr;
  TDCHistoryEditor *A = nullptr, *B = nullptr;
};

}  // namespace

TEST_F(HistoryEditors, LeavingTheFieldPutsItsTextOnTopOnceWhateverItsCase) {
  struct TCase {
    const char* Typed;
    const char* List;
  };
  const TCase Cases[] = {
      {"abc", "abc"},
      {"xyz", "xyz,abc"},
      {"ABC", "ABC,xyz"},  // the older "abc" goes
      {"", "ABC,xyz"},     // an empty field changes nothing
      {"xyz", "xyz,ABC"},
  };
  for (const TCase& C : Cases) {
    Enter(A, C.Typed);
    EXPECT_EQ(Items(A), C.List) << "after typing '" << C.Typed << "'";
    EXPECT_EQ(A->GetText(), C.Typed) << "the field keeps its text";
  }
}

TEST_F(HistoryEditors, TheHistoryIsStoredByOwnerAndNameUnlessARegNameIsGiven) {
  EXPECT_EQ(A->GetRegPath(), "EditHistory\\SrchDialogSearText");
  Enter(A, "one");
  Enter(A, "two");
  A->SaveHistory();
  EXPECT_EQ(StoredHistory("EditHistory\\SrchDialogSearText"), "two\r\none\r\n");
  // Another editor of the same owner and name reads the same history.
  auto* Twin = new TDCHistoryEditor(nullptr);
  std::unique_ptr<TDCHistoryEditor> Own(Twin);
  Twin->SetName("SearText");
  EXPECT_EQ(Twin->GetRegPath(), "EditHistory\\SearText");
  Twin->SetRegName("SrchDialogSearText");
  Twin->LoadHistory();
  EXPECT_EQ(Items(Twin), "two,one");
  // Nothing stored empties the list.
  Twin->SetRegName("Nothing");
  Twin->LoadHistory();
  EXPECT_EQ(Twin->GetItems()->GetCount(), 0);
  Own.reset();
  TDCHistoryEditor Nameless(nullptr);
  EXPECT_EQ(Nameless.GetRegPath(), "EditHistory\\Default");
  // Freeing the form saves the list as it was last.
  Enter(A, "three");
  delete Form;
  EXPECT_EQ(StoredHistory("EditHistory\\SrchDialogSearText"), "three\r\ntwo\r\none\r\n");
}
