// SearchDialogOptions.cpp — the find and replace dialogs' copy of the search
// options: filled when a dialog is made, shown in its controls, and written
// back only when the user confirms.
#include "editor/controls/HistoryEditor.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/text/Search.h"

TSearchDialogBase::TSearchDialogBase(TComponent* AOwner)
    : TForm(AOwner), FOptions(std::make_unique<TSearchOptions>()) {
  FOptions->Assign(GetSearchOptions());
}

TSearchDialogBase::~TSearchDialogBase() = default;

void TSearchDialogBase::LoadOptions() {
  const TSearchOptions& O = *FOptions;
  SearText->SetText(O.TextToFind);
  CaseSens->SetChecked(O.CaseSensitive);
  WholeWord->SetChecked(O.WholeWordsOnly);
  RegExpr->SetChecked(O.RegularExpr);
  if (O.Direction == sdBackward) dirBackward->SetChecked(true);
  else dirForward->SetChecked(true);
  ScopeGroup->SetItemIndex(O.Scope == ssSelectedText ? 1 : 0);
  OriginGroup->SetItemIndex(O.Origin == soEntireScope ? 1 : 0);
}

void TSearchDialogBase::StoreOptions() {
  TSearchOptions& O = *FOptions;
  O.TextToFind = SearText->GetText();
  O.CaseSensitive = CaseSens->GetChecked();
  O.WholeWordsOnly = WholeWord->GetChecked();
  O.RegularExpr = RegExpr->GetChecked();
  O.Direction = dirBackward->GetChecked() ? sdBackward : sdForward;
  O.Scope = ScopeGroup->GetItemIndex() == 1 ? ssSelectedText : ssGlobal;
  O.Origin = OriginGroup->GetItemIndex() == 1 ? soEntireScope : soFromCursor;
}

void TSearchDialogBase::PublishOptions() { GetSearchOptions()->Assign(FOptions.get()); }

void TReplDialog::LoadReplaceOptions() {
  ReplText->SetText(FOptions->ReplaceWith);
  PromptRepl->SetChecked(FOptions->PromptOnReplace);
}

void TReplDialog::ApplyOptions(bool ReplaceAll) {
  StoreOptions();
  FOptions->ReplaceWith = ReplText->GetText();
  FOptions->PromptOnReplace = PromptRepl->GetChecked();
  FOptions->ReplaceAll = ReplaceAll;
  PublishOptions();
}
