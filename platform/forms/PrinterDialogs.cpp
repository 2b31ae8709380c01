#include "platform/forms/PrinterDialogs.h"

#include <algorithm>

#include "platform/forms/DialogForms_p.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/rtl/ClassRegistry.h"

namespace {
const char* const FilePrinterName = "File Printer";

class TPrinterSetupForm : public TForm {
  SX_CLASS(TPrinterSetupForm, TForm)
public:
  explicit TPrinterSetupForm(TPrinterSetupDialog* Dialog) : TForm(nullptr) {
    SetName("PrinterSetupForm");
    SetCaption("Print Setup");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    GetFont()->SetName("Tahoma");
    GetFont()->SetHeight(-11);
    SetClientSize({400, 196});

    TGroupBox* PrinterGroup = MakeDialogControl<TGroupBox>(this, this, "PrinterGroup");
    PrinterGroup->SetCaption("Printer");
    PrinterGroup->SetBounds(8, 8, 384, 110);
    PrinterCombo = MakeDialogControl<TComboBox>(PrinterGroup, this, "PrinterCombo");
    PrinterCombo->SetStyle(csDropDownList);
    PrinterCombo->SetBounds(70, 20, 300, 21);
    MakeDialogLabel(PrinterGroup, this, "&Name:", PrinterCombo, 12, 24);
    MakeDialogLabel(PrinterGroup, this, "Status:", nullptr, 12, 52);
    MakeDialogLabel(PrinterGroup, this, "Ready", nullptr, 70, 52);
    MakeDialogLabel(PrinterGroup, this, "Type:", nullptr, 12, 70);
    MakeDialogLabel(PrinterGroup, this, "Built-in printer", nullptr, 70, 70);
    MakeDialogLabel(PrinterGroup, this, "Where:", nullptr, 12, 88);
    MakeDialogLabel(PrinterGroup, this, "A file chosen when printing", nullptr, 70, 88);
    TGroupBox* OrientGroup = MakeDialogControl<TGroupBox>(this, this, "OrientationGroup");
    OrientGroup->SetCaption("Orientation");
    OrientGroup->SetBounds(8, 124, 180, 64);
    PortraitRadio = MakeDialogControl<TRadioButton>(OrientGroup, this, "PortraitRadio");
    PortraitRadio->SetCaption("P&ortrait");
    PortraitRadio->SetBounds(12, 18, 150, 17);
    LandscapeRadio = MakeDialogControl<TRadioButton>(OrientGroup, this, "LandscapeRadio");
    LandscapeRadio->SetCaption("L&andscape");
    LandscapeRadio->SetBounds(12, 38, 150, 17);
    TButton* Ok = MakeDialogControl<TButton>(this, this, "OkButton");
    Ok->SetCaption("OK");
    Ok->SetDefault(true);
    Ok->SetModalResult(mrOk);
    Ok->SetBounds(236, 165, 75, 23);
    TButton* Cancel = MakeDialogControl<TButton>(this, this, "CancelButton");
    Cancel->SetCaption("Cancel");
    Cancel->SetCancel(true);
    Cancel->SetModalResult(mrCancel);
    Cancel->SetBounds(317, 165, 75, 23);

    for (const AnsiString& N : SetupPrinterNames()) PrinterCombo->GetItems()->Add(N);
    PrinterCombo->SetItemIndex(std::max<Integer>(0, PrinterCombo->GetItems()->IndexOf(Dialog->GetPrinterName())));
    (Dialog->GetLandscape() ? LandscapeRadio : PortraitRadio)->SetChecked(true);
  }

  TComboBox* PrinterCombo = nullptr;
  TRadioButton* PortraitRadio = nullptr;
  TRadioButton* LandscapeRadio = nullptr;
};
}  // namespace

std::vector<AnsiString> SetupPrinterNames() { return {FilePrinterName}; }

void TPrinterSetupDialog::Published(TPublished<TPrinterSetupDialog>& P) {
  P.Property("OnClose", &TPrinterSetupDialog::OnClose, &TPrinterSetupDialog::OnClose);
  P.Property("OnShow", &TPrinterSetupDialog::OnShow, &TPrinterSetupDialog::OnShow);
}

AnsiString TPrinterSetupDialog::GetPrinterName() const {
  return FPrinterName.empty() ? SetupPrinterNames().front() : FPrinterName;
}

TDialogRequest TPrinterSetupDialog::MakeRequest() {
  TDialogRequest R;
  R.Kind = ClassName();
  R.Caption = "Print Setup";
  R.Text = GetPrinterName();
  R.Answers = {mrOk, mrCancel};
  return R;
}

TCommonDialog::TAnswerTaken TPrinterSetupDialog::TakeAnswer(const TDialogAnswer& Answer) {
  if (Answer.Result != mrOk) return TAnswerTaken::Cancelled;
  if (Answer.Printer.empty()) return TAnswerTaken::Accepted;
  const std::vector<AnsiString> Names = SetupPrinterNames();
  if (std::find(Names.begin(), Names.end(), Answer.Printer) == Names.end()) {
    MessageDlg("There is no printer named \"" + Answer.Printer + "\".", mtWarning, {mbOK}, 0);
    return TAnswerTaken::Rejected;
  }
  FPrinterName = Answer.Printer;
  return TAnswerTaken::Accepted;
}

TForm* TPrinterSetupDialog::CreateForm() { return new TPrinterSetupForm(this); }

void TPrinterSetupDialog::TakeForm(TForm* Form) {
  auto* F = static_cast<TPrinterSetupForm*>(Form);
  const Integer I = F->PrinterCombo->GetItemIndex();
  if (I >= 0) FPrinterName = F->PrinterCombo->GetItems()->GetStrings(I);
  FLandscape = F->LandscapeRadio->GetChecked();
}

void RegisterPrinterDialogClasses() { RegisterClasses({TPrinterSetupDialog::StaticClass()}); }
