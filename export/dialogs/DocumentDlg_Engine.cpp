// The parts of the common dialog that read and write the engine.
#include "export/dialogs/DocumentDlg.h"
#include "export/engine/DocumentEngine.h"
#include "platform/forms/Application.h"

void TgtDocumentDlg::FormShow() {
  TgtPreferences* P = FEngine->GetPreferences();
  chkEmailAfterCreate->SetChecked(P->GetEmailAfterCreate());
  chkOpenAfterCreate->SetChecked(P->GetOpenAfterCreate());
  chkProcessAfterEachPage->SetChecked(P->GetProcessAfterEachPage());
  lblDialogCaption->SetCaption(lbDocumentDlg->GetItems()->GetStrings(0));
  lblPageExample->SetCaption("Enter page numbers and/or page ranges separated by commas. For example, 1,3,5-12");
  const AnsiString& Pages = FEngine->GetPagesToRender();
  if (!Pages.empty()) {
    rbtnPages->SetChecked(true);
    edPages->SetText(Pages);
  }
}

void TgtDocumentDlg::btnOKClick() {
  TgtPreferences* P = FEngine->GetPreferences();
  P->SetOpenAfterCreate(chkOpenAfterCreate->GetChecked());
  P->SetEmailAfterCreate(chkEmailAfterCreate->GetChecked());
  P->SetProcessAfterEachPage(chkProcessAfterEachPage->GetChecked());
  if (rbtnAll->GetChecked()) FEngine->SetPagesToRender("");
  else if (rbtnPages->GetChecked()) FEngine->SetPagesToRender(edPages->GetText());
  SetModalResult(mrOk);
}

void TgtDocumentDlg::ShowBackground() {
  BackgroundPicture()->Assign(FEngine->GetBackgroundImage());
  SelectObject(cbBackgroundDisplayType, FEngine->GetBackgroundImageDisplayType());
  SetSwatchColor(FEngine->GetBackgroundColor());
  TGraphic* G = BackgroundPicture()->GetGraphic();
  if (!G || G->Empty()) btnClearClick();
}

void TgtDocumentDlg::TakeBackground(bool WithDisplayType) {
  FEngine->SetBackgroundColor(SwatchColor());
  FEngine->SetBackgroundImage(BackgroundPicture());
  const Integer T = SelectedObject(cbBackgroundDisplayType);
  if (WithDisplayType && T >= 0) FEngine->SetBackgroundImageDisplayType(TgtBackgroundDisplayType(T));
}


void TgtDocumentDlg::ShowDocInfo(TgtDocInfo* D) {
  edAuthor->SetText(WideToAnsi(D->GetAuthor()));
  edCreator->SetText(WideToAnsi(D->GetCreator()));
  edKeywords->SetText(WideToAnsi(D->GetKeywords()));
  edSubject->SetText(WideToAnsi(D->GetSubject()));
  edTitle->SetText(WideToAnsi(D->GetTitle()));
}

void TgtDocumentDlg::StoreDocInfo(TgtDocInfo* D) {
  D->SetAuthor(AnsiToWide(edAuthor->GetText()));
  D->SetCreator(AnsiToWide(edCreator->GetText()));
  D->SetKeywords(AnsiToWide(edKeywords->GetText()));
  D->SetSubject(AnsiToWide(edSubject->GetText()));
  D->SetTitle(AnsiToWide(edTitle->GetText()));
}

// ---- the engine's link to a setup dialog ----------------------------------------------

void TgtCustomDocumentEngine::SetSetupDialog(TgtBaseDlg* Value) {
  FSetupDialog = Value;
  if (Value) Value->FreeNotification(this);
}

void TgtCustomDocumentEngine::Notification(TComponent* AComponent, TOperation Operation) {
  TgtComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (FSetupDialog && AComponent == FSetupDialog) FSetupDialog = nullptr;
  if (FSettings && AComponent == FSettings) FSettings = nullptr;
}

Word TgtCustomDocumentEngine::ShowLinkedSetupDialog() {
  if (Application) Application->NormalizeTopMosts();
  struct TRestore {
    ~TRestore() {
      if (Application) Application->RestoreTopMosts();
    }
  } Restore;
  return RunSetupDialog(FSetupDialog, this);
}
