// The edit commands of the Edit menu, the Edit Toolbar and the editors'
// popup: each acts on the editor that has the focus; the output editor is
// read-only and only searched, selected and copied from.
#include "app/start.h"

#include "app/Lbox.h"
#include "app/Wait.h"
#include "app/public_unit.h"
#include "editor/dialogs/EnvOptions.h"
#include "editor/dialogs/OptionControls.h"
#include "editor/dialogs/SearchDialogs.h"
#include "editor/syntax/SyntaxParser.h"
#include "platform/richedit/RichEdit.h"
#include "platform/shell/ShlObj.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Guards.h"
#include "editor/controls/DCMemo.h"
#include "editor/options/MemoEnvOptions.h"
#include "platform/forms/Application.h"
#include "platform/forms/ListCtrls.h"
#include "controls/tabs/cxPC.h"
#include "platform/shell/ShellCtrls.h"
#include "platform/win/Win.h"

TCustomDCMemo* TMainForm::FocusedMemo() const {
  if (DCMemo->Focused()) return DCMemo;
  if (DCMemo1->Focused()) return DCMemo1;
  return nullptr;
}

void TMainForm::ReadOnlyNotice() {
  Application->MessageBox(
      "The Output Panel's editor is read-only.\r\n\r\nThe RTF Lumivex is not an IDE/Editor.\r\n\r\nAfter indenting "
      "your code (or converting it to html), you should save it and then open it in your favorite IDE/editor.",
      "Output is read-only!", MB_OK | MB_ICONINFORMATION);
}

void TMainForm::UndoClick(TObject*) {
  if (DCMemo->Focused() && !Busy()) DCMemo->GetSource()->Undo();
  else if (DCMemo1->Focused()) ReadOnlyNotice();
}

void TMainForm::RedoClick(TObject*) {
  if (DCMemo->Focused() && !Busy()) DCMemo->GetSource()->Redo();
  else if (DCMemo1->Focused()) ReadOnlyNotice();
}

void TMainForm::CutClick(TObject*) {
  if (DCMemo->Focused() && !Busy()) DCMemo->CutToClipboard();
  else if (DCMemo1->Focused()) ReadOnlyNotice();
}

void TMainForm::CopyBtnClick(TObject*) {
  if (TCustomDCMemo* M = FocusedMemo()) M->CopyToClipboard();
}

void TMainForm::PasteClick(TObject*) {
  if (DCMemo->Focused() && !Busy()) DCMemo->PasteFromClipboard();
  else if (DCMemo1->Focused()) ReadOnlyNotice();
}

void TMainForm::DeleteClick(TObject*) {
  if (DCMemo->Focused() && !Busy()) DCMemo->GetSource()->DeleteSelection();
  else if (DCMemo1->Focused()) ReadOnlyNotice();
}

void TMainForm::SelectAllClick(TObject*) {
  if (TCustomDCMemo* M = FocusedMemo()) M->GetSource()->SelectAll();
  else if (ListBox->Focused()) ListBox->SelectAll();
  else if (ShellListView->Focused()) ShellListView->SelectAll();
}

void TMainForm::FindClick(TObject*) {
  if (TCustomDCMemo* M = FocusedMemo()) M->GetSource()->ShowFindDialog();
}

void TMainForm::FindNextClick(TObject*) {
  if (TCustomDCMemo* M = FocusedMemo()) M->GetSource()->FindNext();
}

void TMainForm::ReplaceClick(TObject*) {
  if (DCMemo->Focused() && !Busy()) DCMemo->GetSource()->ShowReplaceDialog();
  else if (DCMemo1->Focused()) ReadOnlyNotice();
}

void TMainForm::ClearClick(TObject*) {
  if (DCMemo->Focused()) DCMemo->GetSource()->ClearSelection();
  else if (DCMemo1->Focused()) ReadOnlyNotice();
}

void TMainForm::ToogleFocusClick(TObject*) {
  if (cxPageControl->GetActivePageNo() != 0) {
    if (ShellTreeView->Focused()) ShellListView->SetFocus();
    else if (ShellListView->Focused()) ListBox->SetFocus();
    else if (ListBox->Focused()) ShellTreeView->SetFocus();
    return;
  }
  if (DCMemo->Focused()) DCMemo1->SetFocus();
  else if (DCMemo1->Focused()) DCMemo->SetFocus();
}

// The editor library's options dialog, on its last page.
void TMainForm::EditorOptionsClick(TObject*) {
  EnvOptionsShowLastPage = true;
  ShowEnvironmentOptions();
}

// --- the editor side of start-up and of the global hot keys

bool TMainForm::InputFocused() const { return DCMemo && DCMemo->Focused(); }
bool TMainForm::InputEmpty() const { return DCMemo->IsTextEmpty(); }

void TMainForm::SetInputText(const AnsiString& Text) {
  DCMemo->SetText(Text);
  DCMemo->SetModified(true);
}

void TMainForm::ReplaceInputWithClipboard() {
  DCMemo->SetText("");
  DCMemo->PasteFromClipboard();
}

void TMainForm::LoadOutputScheme() {
  // The editors do not publish OnEnter: both are bound here.
  DCMemo->OnEnter = TNotifyEvent(this, &TMainForm::DCMemo1Enter);
  DCMemo1->OnEnter = TNotifyEvent(this, &TMainForm::DCMemo1Enter);
  // Imported text keeps its own look instead of a syntax colouring.
  DCMemo->SetSyntaxParser(nullptr);
  TUpdateGuard Update(*SyntaxParser1);
  SyntaxParser1->GetSyntaxScheme()->LoadFromFile(DataDir() + "html.sch");
  SyntaxParser1->SetUseGlobalOptions(true);
  SyntaxParser1->Reset();
}

void RegisterEditorSideClasses() {
  RegisterRichEditClasses();
  RegisterShellLibraryModule();
  RegisterShellClasses();
  RegisterSearchDialogs();
  RegisterOptionControls();
  RegisterEnvironmentDialog();
  RegisterClasses({TDCMemo::StaticClass(), TSyntaxParser::StaticClass(), TWaitDlg::StaticClass(),
                   TMyListBox::StaticClass()});
}

void TMainForm::PublishedEditorSide(TPublished<TMainForm>& P) {
  using F = TMainForm;
  P.Property("DCMemo", &F::DCMemo, &F::DCMemo).Stored(false);
  P.Property("DCMemo1", &F::DCMemo1, &F::DCMemo1).Stored(false);
  P.Property("SyntaxParser", &F::SyntaxParser, &F::SyntaxParser).Stored(false);
  P.Property("SyntaxParser1", &F::SyntaxParser1, &F::SyntaxParser1).Stored(false);
  P.Property("RichEdit", &F::RichEdit, &F::RichEdit).Stored(false);
  P.Property("ShellTreeView", &F::ShellTreeView, &F::ShellTreeView).Stored(false);
  P.Property("ShellListView", &F::ShellListView, &F::ShellListView).Stored(false);
}
