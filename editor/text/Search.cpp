// The memo source's search and replace engine over its lines (plain,
// whole-word or TRegExpr patterns), the commands around it, and the global
// search settings.
#include "editor/text/Search.h"

#include "editor/base/DCRegExpr.h"
#include "editor/base/EdConsts.h"
#include "editor/base/ObjectParams.h"
#include "editor/text/MemoSource.h"
#include "editor/text/SearchUi.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Guards.h"

namespace {
TCustomMemoSource* GDialogSource = nullptr;  // the source whose modal dialog is shown
TCustomMemoSource* GCurrentSource = nullptr;  // the source of the editor that last had the focus

// Raised for the duration of a search so that its caret moves keep the
// selection.
class TSkipClear {
public:
  explicit TSkipClear(TCustomMemoSource& S) : FSource(S) { ++FSource.SkipClearSelection; }
  ~TSkipClear() { --FSource.SkipClearSelection; }

private:
  TCustomMemoSource& FSource;
};

void ShowInformation(const AnsiString& Text) { ShowInformationBox(Text); }

// Dialog texts show "&" as written.
AnsiString ShownText(const AnsiString& S) { return MultiplyChar(S, '&', 1); }
}  // namespace

void TSearchOptions::SetDefaults() {
  CaseSensitive = WholeWordsOnly = RegularExpr = false;
  Direction = sdForward;
  Scope = ssGlobal;
  Origin = soEntireScope;
  PromptOnReplace = false;
  TextToFind.clear();
  ReplaceWith.clear();
  FirstSearch = InReplace = ReplaceAll = ShowNotFound = false;
  Where = swDirectories;
  FileMask.clear();
  IncludeSubDirs = false;
}

TSearchOptions* GetSearchOptions() {
  static const bool Registered = [] {
    RegisterEnvironmentOptions(TSearchOptions::StaticClass());
    return true;
  }();
  (void)Registered;
  return GetGlobalOptions<TSearchOptions>();
}

TCustomMemoSource* CurrentSearchSource() { return GCurrentSource; }
void SetCurrentSearchSource(TCustomMemoSource* Source) { GCurrentSource = Source; }

namespace {
TSearchSourceGoneHandler GSourceGone = nullptr;
}

void SetSearchSourceGoneHandler(TSearchSourceGoneHandler Handler) { GSourceGone = Handler; }

namespace {
TSearchCaretMovedHandler GCaretMoved = nullptr;
}

void SetSearchCaretMovedHandler(TSearchCaretMovedHandler Handler) { GCaretMoved = Handler; }

bool SearchCaretMoveWanted(TCustomMemoSource* Source) {
  return GCaretMoved && Source && Source == GCurrentSource;
}

void SearchSourceCaretMoved(TCustomMemoSource* Source, const TRect& ScreenLine) {
  if (SearchCaretMoveWanted(Source)) GCaretMoved(ScreenLine);
}

void SearchSourceDestroyed(TCustomMemoSource* Source) {
  if (GDialogSource == Source) GDialogSource = nullptr;
  if (GCurrentSource == Source) {
    GCurrentSource = nullptr;
    if (GSourceGone) GSourceGone();
  }
}

// ---------------------------------------------------------------------------
// Dialogs

Integer& TCustomMemoSource::SearchDialogMode() {
  static Integer Mode = 1;
  return Mode;
}

TSearchOptions* TCustomMemoSource::GetSearchOptions() const { return ::GetSearchOptions(); }

static TForm* MakeSearchDialog(TCustomMemoSource* Source, const char* ClassName) {
  TForm* Dialog = CreateEditorDialog(ClassName);
  if (Dialog && Source->OnCreateDialog.Assigned()) Source->OnCreateDialog(Source, Dialog);
  return Dialog;
}

TForm* TCustomMemoSource::CreateReplaceDialog() {
  if (GetReadOnly()) return nullptr;
  return MakeSearchDialog(this, "TReplDialog");
}

TForm* TCustomMemoSource::CreateFindDialog() { return MakeSearchDialog(this, "TSrchDialog"); }

TForm* TCustomMemoSource::CreateSearchReplaceDialog() { return MakeSearchDialog(this, "TFrmSearRepl"); }

bool TCustomMemoSource::ShowSearchReplaceForm(bool Replace) {
  if (SearchDialogMode() == 1) return false;
  TForm* Window = SearchReplaceWindow([this] { return CreateSearchReplaceDialog(); });
  PrepareSearchOptions();
  ShowSearchReplaceWindow(Window, GetCaretLine() + 1, Replace);
  return true;
}

// What the dialog ended with; Other also when the source went meanwhile.
static TDialogOutcome RunSearchDialog(TCustomMemoSource* Source, TForm* Dialog) {
  GDialogSource = Source;
  TDialogOutcome R = TDialogOutcome::Other;
  try {
    R = ShowAndFreeDialog(Dialog);
  } catch (...) {
    GDialogSource = nullptr;
    throw;
  }
  const bool Alive = GDialogSource == Source;
  GDialogSource = nullptr;
  return Alive ? R : TDialogOutcome::Other;
}

void TCustomMemoSource::ShowFindDialog() {
  if (ShowSearchReplaceForm(false)) return;
  PrepareSearchOptions();
  TForm* Dialog = CreateFindDialog();
  if (!Dialog) return;
  if (RunSearchDialog(this, Dialog) == TDialogOutcome::Ok) FindText();
}

void TCustomMemoSource::ShowReplaceDialog() {
  if (ShowSearchReplaceForm(true)) return;
  PrepareSearchOptions();
  TForm* Dialog = CreateReplaceDialog();
  if (!Dialog) return;
  const TDialogOutcome R = RunSearchDialog(this, Dialog);
  if (R == TDialogOutcome::Ok || R == TDialogOutcome::All) ReplaceText();
}

bool TCustomMemoSource::DoSearchException(Exception& Error) {
  bool Handled = SearchDialogMode() == 0;
  if (OnSearchException.Assigned()) OnSearchException(this, Error, Handled);
  return Handled;
}

void TCustomMemoSource::DoBeforeFindReplace(bool Replace) {
  if (OnBeforeFindReplace.Assigned()) OnBeforeFindReplace(this, Replace);
}

void TCustomMemoSource::PrepareSearchOptions() {
  TSearchOptions* O = GetSearchOptions();
  if (FOptions.Contains(soFindTextAtCursor)) GetWordAtCaret(O->TextToFind);
  const Integer C = GetCaretChar(), L = GetCaretLine();
  O->Scope = HasSelection() && (IsInSelection(C, L) || IsCaretAtCorner(C, L)) ? ssSelectedText : ssGlobal;
}

void TCustomMemoSource::ToggleCaseSensitive() {
  TSearchOptions* O = GetSearchOptions();
  O->CaseSensitive = !O->CaseSensitive;
}

void TCustomMemoSource::ToggleRegularExpr() {
  TSearchOptions* O = GetSearchOptions();
  O->RegularExpr = !O->RegularExpr;
}

// ---------------------------------------------------------------------------
// Commands

void TCustomMemoSource::FindText() {
  TSearchOptions* O = GetSearchOptions();
  O->FirstSearch = true;
  O->InReplace = false;
  O->ShowNotFound = true;
  Integer Len = 0;
  SearchText(Len);
}

void TCustomMemoSource::ReplaceText() {
  TSearchOptions* O = GetSearchOptions();
  O->FirstSearch = true;
  O->InReplace = true;
  O->ShowNotFound = true;
  ReplaceRun();
}

void TCustomMemoSource::FindNext() {
  TSearchOptions* O = GetSearchOptions();
  O->ShowNotFound = true;
  if (!HasSelection()) O->Scope = ssGlobal;
  if (O->FirstSearch) return;  // no search has run yet
  if (O->InReplace) {
    ReplaceRun();
  } else {
    Integer Len = 0;
    SearchText(Len);
  }
}

// ---------------------------------------------------------------------------
// The search

// Reports a refused search: an exception unless a handler takes it.
static void RefuseSearch(TCustomMemoSource& Src, const AnsiString& Message) {
  Exception E(Message);
  if (!Src.DoSearchException(E)) throw E;
}

bool TCustomMemoSource::SearchText(Integer& Len) {
  Len = 0;
  TSearchOptions* O = GetSearchOptions();
  TSkipClear Skip(*this);
  DoBeforeFindReplace(false);
  const bool InSelection = O->Scope == ssSelectedText;
  if (InSelection && !HasSelection()) {
    if (O->FirstSearch) RefuseSearch(*this, "Tried to search marked block but it is invalid");
    return false;
  }
  BeginUpdate(MemoCode::Search);
  bool Found = false;
  {
    TUpdateGuard Update(*this, UpdateBegun);
    const AnsiString& What = O->TextToFind;
    if (O->WholeWordsOnly && !O->RegularExpr) {
      for (char C : What)
        if (IsDelimChar(C)) {
          O->WholeWordsOnly = false;
          break;
        }
    }
    const TRect Sel = GetSelectionRect();
    const bool StreamSel = FSelectionType == stStreamSel;
    TStrings* Lines = FLines.get();
    TPoint Pos = GetCaretPoint();
    if (InSelection) {
      const Integer C = GetCaretChar(), L = GetCaretLine();
      if (O->FirstSearch && O->Origin == soFromCursor && !IsInSelection(C, L) && !IsCaretAtCorner(C, L)) {
        RefuseSearch(*this, "Tried to search marked block from cursor but cursor is outside block");
        EndUpdate();
        return false;
      }
      Lines = FSelStrings.get();
      Pos.Y -= Sel.Top;
      // The selection's lines start at its left column: on its first line
      // for a stream, on every line for a block.
      if (!StreamSel || Pos.Y == 0) Pos.X = std::max(Pos.X - Sel.Left, 0);
    }
    const bool Forward = O->Direction == sdForward;
    if (Forward) ++Pos.X;
    if (O->FirstSearch && O->Origin == soEntireScope) {
      if (Forward) {
        Pos = {1, 0};
      } else {
        const Integer Last = std::max(Lines->GetCount() - 1, 0);
        Pos = {Integer(Lines->GetStrings(Last).size()), Last};
      }
    }
    O->FirstSearch = false;
    const TPoint StartPos = Pos;
    bool Failed = false;
    {
      THourGlass Cursor;
      try {
        std::unique_ptr<TRegExpr> Pattern;
        TLineMatcher Matcher;
        if (O->RegularExpr) {
          Pattern = std::make_unique<TRegExpr>(What, O->CaseSensitive);
          if (IsAnchorOnlyPattern(What)) Pos.X += Forward ? 1 : -1;
          TRegExpr* R = Pattern.get();
          Matcher = [R](const AnsiString& Line, Integer& P, Integer& N, bool Fwd) { return R->Search(Line, P, N, Fwd); };
        }
        Byte Flags = 0;
        if (O->CaseSensitive) Flags |= sfCaseSensitive;
        if (O->WholeWordsOnly) Flags |= sfWholeWords;
        if (!Forward) Flags |= sfBackward;
        Found = SearchInLines(What, Lines, Flags, Matcher, Len, Pos, FDelimSet);
      } catch (Exception& E) {
        Failed = true;
        Found = false;
        if (!DoSearchException(E)) ShowInformation(E.Message());
      }
    }
    if (Found) {
      if (Forward && O->RegularExpr && Len == 0 && Pos == StartPos) {
        if (Pos.X > Integer(Lines->GetStrings(Pos.Y).size()))
          Pos = {1, Pos.Y + 1};
        else
          ++Pos.X;
      }
      if (InSelection) {
        if (!StreamSel || Pos.Y == 0) Pos.X += Sel.Left;
        Pos.Y += Sel.Top;
      }
      const Integer Col = Pos.X - 1;
      FFoundRect = {Col, Pos.Y, Col + Len, Pos.Y + 1};
      if (FOptions.Contains(soSelectFoundText) && (!HasSelection() || !InSelection)) {
        FSelectionType = stStreamSel;
        DoSetSelectionRect({Col, Pos.Y, Col + Len, Pos.Y});
      }
      SetCaret(Forward ? Col + Len : Col, Pos.Y);
    } else if (!Failed && O->ShowNotFound) {
      const AnsiString Message = Format(LoadResText(EdConsts::SSearchNotFound), {ShownText(What)});
      Exception E(Message);
      if (!DoSearchException(E)) ShowInformation(Message);
    }
  }
  return Found;
}

// ---------------------------------------------------------------------------
// Replace

bool TCustomMemoSource::ReplaceStep() {
  TSearchOptions* O = GetSearchOptions();
  Integer Len = 0;
  if (!SearchText(Len)) return false;
  if (O->PromptOnReplace) {
    const TReplaceAnswer Answer =
        AskReplaceConfirmation(Format("Replace this occurence of '%s'?", {ShownText(O->TextToFind)}));
    if (Answer == TReplaceAnswer::Cancel) return false;
    if (Answer == TReplaceAnswer::No) return true;
    if (Answer == TReplaceAnswer::All) {
      O->PromptOnReplace = false;
      O->ReplaceAll = true;
      BeginUpdate(MemoCode::Replace);
      ++FReplaceAllGroups;
    }
  }
  const AnsiString With = O->ReplaceWith;
  BeginUpdate(MemoCode::Replace);
  const bool OldManual = FManualPosition;
  FManualPosition = true;
  try {
    if (O->Direction == sdBackward) {
      DeleteChars(Len);
      InsertText(With);
    } else {
      MoveCaret(0, -Len);
      if (ParserKeepsAttributes()) {
        const Integer C = GetCaretChar();
        DefaultAttribute = GetAttributeAt(Len > 0 ? C + 1 : C, GetCaretLine());
      }
      DeleteChars(Len);
      if (!With.empty()) {
        InsertText(With);
        MoveCaret(0, InsertedLength());
      }
    }
  } catch (...) {
    FManualPosition = OldManual;
    EndUpdate();
    throw;
  }
  FManualPosition = OldManual;
  EndUpdate();
  ++FReplacedCount;
  return true;
}

void TCustomMemoSource::ReplaceAllLoop() {
  TSearchOptions* O = GetSearchOptions();
  const bool Prompting = O->PromptOnReplace;
  std::unique_ptr<THourGlass> Cursor;
  if (!Prompting) {
    BeginUpdate(MemoCode::Replace);
    ++FReplaceAllGroups;
    Cursor = std::make_unique<THourGlass>();
  }
  auto CloseGroups = [&] {
    if (Prompting) return;
    FFoundRect = TRect();
    while (FReplaceAllGroups > 0) {
      --FReplaceAllGroups;
      EndUpdate();
    }
  };
  try {
    while (ReplaceStep()) O->ShowNotFound = false;
    O->ShowNotFound = false;
  } catch (...) {
    CloseGroups();
    throw;
  }
  CloseGroups();
}

bool TCustomMemoSource::ReplaceRun() {
  FReplacedCount = 0;
  if (GetReadOnly()) return false;
  TSearchOptions* O = GetSearchOptions();
  TSkipClear Skip(*this);
  DoBeforeFindReplace(true);
  bool Result = false;
  // An All answer at a prompt is for this run only: the stored choices
  // ("Prompt on replace") are the user's again for the next Replace.
  const bool WasPrompting = O->PromptOnReplace, WasReplaceAll = O->ReplaceAll;
  auto CloseAllGroups = [&] {
    // An All answer in a prompted loop leaves its group open to here.
    while (FReplaceAllGroups > 0) {
      --FReplaceAllGroups;
      EndUpdate();
    }
    O->PromptOnReplace = WasPrompting;
    O->ReplaceAll = WasReplaceAll;
  };
  try {
    if (O->ReplaceAll) {
      ReplaceAllLoop();
      Result = FReplacedCount > 0;
    } else {
      Result = ReplaceStep();
      O->ShowNotFound = false;
      if (Result && O->ReplaceAll) ReplaceAllLoop();
    }
  } catch (...) {
    CloseAllGroups();
    throw;
  }
  CloseAllGroups();
  if (ParserKeepsAttributes()) DefaultAttribute = -1;
  return Result;
}
