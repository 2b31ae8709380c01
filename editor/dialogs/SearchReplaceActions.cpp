// SearchReplaceActions.cpp — what the combined Find and Replace window does
// to the current source: find, replace (one or all) and go to a line or a
// bookmark, each reported in the window's information line.
#include "editor/base/EdConsts.h"
#include "editor/controls/HistoryEditor.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/text/MemoSource.h"
#include "editor/text/Search.h"
#include "platform/forms/ListCtrls.h"
#include "platform/gdi/Bitmap.h"
#include "platform/rtl/AnsiStrings.h"

using namespace EdConsts;

void SetLiveSearchReplaceForm(TFrmSearRepl* Form);

TFrmSearRepl::TFrmSearRepl(TComponent* AOwner)
    : TCustomSearchReplaceForm(AOwner), FOptions(std::make_unique<TSearchOptions>()) {
  FOptions->Assign(GetSearchOptions());
  SetLiveSearchReplaceForm(this);
  InitializeForm();
}

TFrmSearRepl::~TFrmSearRepl() {
  if (SearchReplaceForm() == this) SetLiveSearchReplaceForm(nullptr);
}

void TFrmSearRepl::FormDestroy(TObject*) {
  if (SearchReplaceForm() == this) SetLiveSearchReplaceForm(nullptr);
  FGlyph.reset();
  FOptions.reset();
}

void TFrmSearRepl::LoadOptions() {
  const TSearchOptions& O = *FOptions;
  SearText->SetText(O.TextToFind);
  SearText1->SetText(O.TextToFind);
  CaseSens->SetChecked(O.CaseSensitive);
  WholeWord->SetChecked(O.WholeWordsOnly);
  RegExpr->SetChecked(O.RegularExpr);
  if (O.Direction == sdBackward) dirBackward->SetChecked(true);
  else dirForward->SetChecked(true);
  if (O.Scope == ssSelectedText) ScopeSelected->SetChecked(true);
  else ScopeGlobal->SetChecked(true);
}

void TFrmSearRepl::ApplyOptions() {
  if (!FOptions) return;
  TSearchOptions& O = *FOptions;
  O.TextToFind = ReplacePageActive() ? SearText1->GetText() : SearText->GetText();
  O.ReplaceWith = ReplText->GetText();
  O.CaseSensitive = CaseSens->GetChecked();
  O.WholeWordsOnly = WholeWord->GetChecked();
  O.RegularExpr = RegExpr->GetChecked();
  O.Direction = dirBackward->GetChecked() ? sdBackward : sdForward;
  O.Scope = ScopeSelected->GetChecked() ? ssSelectedText : ssGlobal;
  O.Origin = soFromCursor;
  O.PromptOnReplace = false;
  GetSearchOptions()->Assign(FOptions.get());
}

void TFrmSearRepl::ShowNotFound() {
  // A label shows "&&" as "&": the text as typed.
  AnsiString Shown;
  for (char C : GetSearchOptions()->TextToFind) {
    Shown += C;
    if (C == '&') Shown += '&';
  }
  SetInfo(Format(LoadResText(SSearchNotFound), {Shown}));
}

void TFrmSearRepl::FindBtnClick(TObject*) {
  TCustomMemoSource* Source = CurrentSearchSource();
  if (!Source) return;
  ApplyOptions();
  TSearchOptions* O = GetSearchOptions();
  O->FirstSearch = true;
  O->InReplace = false;
  O->ShowNotFound = true;
  Integer Len = 0;
  if (Source->SearchText(Len)) SetInfo(AnsiString());
  else ShowNotFound();
}

void TFrmSearRepl::ReplBtnClick(TObject* Sender) {
  TCustomMemoSource* Source = CurrentSearchSource();
  if (!Source) return;
  const bool All = Sender == ReplAllBtn;
  FOptions->ReplaceAll = All;
  ApplyOptions();
  TSearchOptions* O = GetSearchOptions();
  O->FirstSearch = true;
  O->InReplace = true;
  O->ShowNotFound = true;
  const bool Found = Source->ReplaceRun();
  if ((!All && !Found) || (All && Source->GetReplacedCount() == 0)) ShowNotFound();
  else if (All) SetInfo(Format(LoadResText(SReplacementsMade), {Source->GetReplacedCount()}));
  else SetInfo(AnsiString());
}

void TFrmSearRepl::GoToBtnClick(TObject*) {
  TCustomMemoSource* Source = CurrentSearchSource();
  if (!Source) return;
  const Integer N = StrToInt(LineEd->GetText());
  if (GotoBox->GetItemIndex() != 1) {
    Source->SetCaretLine(N - 1);
    SetInfo(AnsiString());
    return;
  }
  TPoint P;
  if (Source->GetBookmark(N, P)) {
    Source->GotoBookmark(N);
    SetInfo(AnsiString());
  } else {
    SetInfo(Format(LoadResText(SBookmarkNotFound), {N}));
  }
}
