// dxBarNameEd.cpp — the name dialog of the customizing form: the name of
// a new or renamed toolbar, or of a category.
#include <memory>
#include "bars/customize/dxBarCustForm.h"
#include "bars/model/dxBar.h"
#include "bars/model/dxBarManager.h"
#include "bars/model/dxBarStrs.h"
#include "platform/forms/Application.h"
#include "platform/forms/Dialogs.h"
#include "platform/rtl/Format.h"
#include "platform/forms/StdCtrls.h"

TdxBarNameEd::TdxBarNameEd(TdxBarManager* AManager, Integer AKind, TdxBar* ABar)
    : TForm(nullptr), Kind(AKind), BarManager(AManager), Bar(ABar) {
  SetBorderStyle(bsDialog);
  SetBorderIcons(TBorderIcons{});
  SetFormStyle(fsStayOnTop);
  SetPosition(Forms::poScreenCenter);
  SetClientWidth(266);
  SetClientHeight(87);
  LName = new TLabel(this);
  LName->SetParent(this);
  LName->SetLeft(8);
  LName->SetTop(8);
  EName = new TEdit(this);
  EName->SetParent(this);
  EName->SetBounds(8, 27, 251, 21);
  EName->OnChange = TNotifyEvent(this, &TdxBarNameEd::ENameChange);
  LName->SetFocusControl(EName);
  BOK = new TButton(this);
  BOK->SetParent(this);
  BOK->SetBounds(106, 58, 73, 23);
  BOK->SetDefault(true);
  BOK->SetModalResult(mrOk);
  BOK->SetCaption(dxBarStr(65033));
  BCancel = new TButton(this);
  BCancel->SetParent(this);
  BCancel->SetBounds(186, 58, 73, 23);
  BCancel->SetCancel(true);
  BCancel->SetModalResult(mrCancel);
  BCancel->SetCaption(dxBarStr(65034));
}

void TdxBarNameEd::ENameChange(TObject*) { BOK->SetEnabled(!EName->GetText().empty()); }

bool TdxBarNameEd::CloseQuery() {
  if (!TForm::CloseQuery()) return false;
  if (GetModalResult() != mrOk || Kind != 0 || !BarManager) return true;
  // Toolbar captions are unique (exactly, letter case counts).
  TdxBar* Other = BarManager->FindBarByCaption(EName->GetText());
  if (!Other || Other == Bar) return true;
  if (Application)
    Application->MessageBox(Format(dxBarStr(dxSBAR_TOOLBAREXISTS), {EName->GetText()}), Application->GetTitle(),
                            MB_ICONERROR);
  return false;
}

bool dxBarShowBarNameEditor(AnsiString& AName, Integer AKind, Integer AOperation, TdxBar* ABar,
                            TdxBarManager* AManager) {
  std::unique_ptr<TdxBarNameEd> D(new TdxBarNameEd(AManager, AKind, ABar));
  if (TdxBarCustomizingForm* F = dxBarCustomizingForm()) D->GetFont()->Assign(F->GetFont());
  static const unsigned Toolbar[] = {64931, 64932}, Category[] = {64928, 64929, 64930};
  if (AKind == 0) {
    D->SetCaption(dxBarStr(Toolbar[AOperation == 1 ? 1 : 0]));
    D->LName->SetCaption(dxBarStr(64934));
  } else {
    D->SetCaption(dxBarStr(Category[AOperation >= 0 && AOperation <= 2 ? AOperation : 0]));
    D->LName->SetCaption(dxBarStr(64933));
  }
  D->EName->SetText(AName);
  D->BOK->SetEnabled(!AName.empty());
  D->SetActiveControl(D->EName);
  if (D->ShowModal() != mrOk) return false;
  AName = D->EName->GetText();
  return true;
}
