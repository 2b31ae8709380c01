#include "editor/dialogs/EnvOptions.h"

#include <algorithm>

#include "editor/base/EdConsts.h"
#include "editor/base/ObjectParams.h"
#include "editor/dialogs/DialogSetup.h"
#include "platform/forms/ControlMessages.h"
#include "platform/forms/FormLoader.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Exceptions.h"

using namespace EdConsts;

bool EnvOptionsShowLastPage = false;
bool EnvOptionsRunning = false;

namespace {

const char* const EnvFormText = R"(object EnvForm: TEnvForm
  Left = 200
  Top = 120
  Width = 473
  Height = 360
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Properties'
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  Scaled = False
  PixelsPerInch = 96
  OnCreate = FormCreate
  object PageProps: TPageControl
    Left = 0
    Top = 0
    Width = 467
    Height = 291
    Align = alClient
    TabOrder = 0
  end
  object pnlButtons: TPanel
    Left = 0
    Top = 291
    Width = 467
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 1
    object Panel2: TPanel
      Left = 226
      Top = 0
      Width = 241
      Height = 41
      Align = alRight
      BevelOuter = bvNone
      TabOrder = 0
      object OkBut: TButton
        Left = 0
        Top = 8
        Width = 75
        Height = 25
        Caption = '&OK'
        Default = True
        TabOrder = 0
        OnClick = OkButClick
      end
      object CancelBut: TButton
        Left = 80
        Top = 8
        Width = 75
        Height = 25
        Cancel = True
        Caption = '&Cancel'
        TabOrder = 1
        OnClick = CancelButClick
      end
      object HelpBut: TButton
        Left = 160
        Top = 8
        Width = 75
        Height = 25
        Caption = '&Help'
        Enabled = False
        TabOrder = 2
      end
    end
  end
end
)";

std::vector<TOptionFormItem>& OptionForms() {
  static std::vector<TOptionFormItem> Items;
  return Items;
}

}  // namespace

// --- the option pages ----------------------------------------------------------

void RegisterOptionForm(TClass FormClass, Integer Order, const AnsiString& Caption, TOptionFormCreator Create) {
  UnRegisterOptionForm(FormClass);
  auto& Items = OptionForms();
  auto At = std::upper_bound(Items.begin(), Items.end(), Order,
                             [](Integer O, const TOptionFormItem& I) { return O < I.Order; });
  Items.insert(At, TOptionFormItem{FormClass, Order, Caption, std::move(Create)});
}

void UnRegisterOptionForm(TClass FormClass) {
  auto& Items = OptionForms();
  Items.erase(std::remove_if(Items.begin(), Items.end(),
                             [FormClass](const TOptionFormItem& I) { return I.FormClass == FormClass; }),
              Items.end());
}

std::vector<TClass> GetOptionFormClassList() {
  std::vector<TClass> L;
  for (const TOptionFormItem& I : OptionForms()) L.push_back(I.FormClass);
  return L;
}

const TOptionFormItem* GetOptionFormItem(TClass FormClass) {
  for (const TOptionFormItem& I : OptionForms())
    if (I.FormClass == FormClass) return &I;
  return nullptr;
}

AnsiString GetOptionFormCaption(TClass FormClass) {
  const TOptionFormItem* I = GetOptionFormItem(FormClass);
  return I ? I->Caption : AnsiString();
}

// --- TDCFormParent ---------------------------------------------------------------

TDCFormParent::~TDCFormParent() {
  try {
    Embed(nullptr);
  } catch (...) {
  }
}

void TDCFormParent::SetParentControl(TWinControl* Value) {
  if (Value == FParentControl) return;
  if (!Value) Embed(nullptr);
  FParentControl = Value;
  if (Value) Value->FreeNotification(this);
}

void TDCFormParent::Restore() {
  TForm* F = FEmbedded;
  FEmbedded = nullptr;
  if (!F || F->ComponentState().Contains(csDestroying)) return;
  F->RemoveFreeNotification(this);
  F->SetVisible(false);
  F->SetParent(FSavedParent);
  F->SetBorderStyle(FSavedBorder);
  F->SetBoundsRect(FSavedBounds);
  F->SetPosition(FSavedPosition);
  F->SetVisible(FSavedVisible);
}

void TDCFormParent::Embed(TForm* Form) {
  if (Form == FEmbedded) return;
  if (Form && FParentControl && GetParentForm(FParentControl) == Form)
    throw Exception(LoadResText(SCircularReference));
  Restore();
  if (!Form || !FParentControl) {
    FEmbedded = Form;
    return;
  }
  FEmbedded = Form;
  try {
    FSavedBorder = Form->GetBorderStyle();
    FSavedParent = Form->GetParent();
    FSavedVisible = Form->GetVisible();
    FSavedPosition = Form->GetPosition();
    FSavedBounds = Form->BoundsRect();
    Form->SetPosition(poDesigned);
    // A child window has no frame of its own.
    Form->SetBorderStyle(bsNone);
    Form->SetParent(FParentControl);
    Form->SetBounds(0, 0, Form->GetWidth(), Form->GetHeight());
    FitToParent();
    Form->SetVisible(true);
    Form->FreeNotification(this);
  } catch (...) {
    FEmbedded = nullptr;
    throw;
  }
}

void TDCFormParent::FitToParent() {
  if (FEmbedded && FParentControl)
    FEmbedded->SetBounds(0, 0, FParentControl->ClientWidth(), FParentControl->ClientHeight());
}

void TDCFormParent::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FEmbedded) FEmbedded = nullptr;
  if (AComponent == FParentControl) FParentControl = nullptr;
}

// --- the tab sheets ----------------------------------------------------------------

TDCFormTabSheet::TDCFormTabSheet(TComponent* AOwner) : TTabSheet(AOwner), FFormParent(new TDCFormParent(this)) {
  FFormParent->SetParentControl(this);
}

TDCFormTabSheet::~TDCFormTabSheet() {
  try {
    SetPageForm(nullptr);
  } catch (...) {
  }
}

void TDCFormTabSheet::SetPageForm(TForm* Form) { FFormParent->Embed(Form); }

void TDCFormTabSheet::Resize() {
  TTabSheet::Resize();
  FFormParent->FitToParent();
}

TDCFormTabSheet2::~TDCFormTabSheet2() {
  TForm* F = PageForm();
  try {
    SetPageForm(nullptr);
  } catch (...) {
  }
  delete F;
}

void TDCFormTabSheet2::Dispatch(TMessage& Message) {
  TDCFormTabSheet::Dispatch(Message);
  // While the dialog itself is still coming up its shown state is not set,
  // and a child added now would stay hidden: the dialog makes the page
  // once it shows (TEnvForm::Dispatch).
  if (Message.Msg == CM_SHOWINGCHANGED && Showing())
    if (TCustomForm* Dialog = GetParentForm(this); Dialog && Dialog->Showing()) MakePageForm();
}

void TDCFormTabSheet2::MakePageForm() {
  if (PageForm() || !PageFormClass || !Showing()) return;
  const TOptionFormItem* Item = GetOptionFormItem(PageFormClass);
  if (!Item || !Item->Create) return;
  TForm* F = Item->Create();
  try {
    if (TCustomForm* Dialog = GetParentForm(this))
      Dialog->Perform(DCM_PAGEFORMCREATED, WPARAM(this), LPARAM(F));
    SetPageForm(F);
  } catch (...) {
    delete F;
    throw;
  }
}

// --- TEnvForm -----------------------------------------------------------------------

TEnvForm::TEnvForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }

void TEnvForm::Published(TPublished<TEnvForm>& P) {
  using F = TEnvForm;
  P.Property("PageProps", &F::PageProps, &F::PageProps).Stored(false);
  P.Property("pnlButtons", &F::pnlButtons, &F::pnlButtons).Stored(false);
  P.Property("Panel2", &F::Panel2, &F::Panel2).Stored(false);
  P.Property("OkBut", &F::OkBut, &F::OkBut).Stored(false);
  P.Property("CancelBut", &F::CancelBut, &F::CancelBut).Stored(false);
  P.Property("HelpBut", &F::HelpBut, &F::HelpBut).Stored(false);
  P.Method("FormCreate", &F::FormCreate);
  P.Method("OkButClick", &F::OkButClick);
  P.Method("CancelButClick", &F::CancelButClick);
}

void TEnvForm::FormCreate(TObject*) {
  SetCaption(LoadResText(SPropertiesCaption));
  SetupDialogButtons(OkBut, CancelBut, HelpBut);
}

void TEnvForm::BroadcastToPages(UINT Msg) {
  for (Integer I = 0; I < PageProps->PageCount(); ++I)
    if (auto* Sheet = dynamic_cast<TDCFormTabSheet*>(PageProps->Pages(I)))
      if (TForm* Page = Sheet->PageForm()) Page->Perform(Msg, 0, 0);
}

void TEnvForm::OkButClick(TObject*) {
  BroadcastToPages(DCM_OPTIONSOK);
  SetModalResult(mrOk);
}

void TEnvForm::CancelButClick(TObject*) {
  BroadcastToPages(DCM_OPTIONSCANCEL);
  SetModalResult(mrCancel);
}

void TEnvForm::AddPages(TPageControl* Pages, const std::vector<TClass>& Classes) {
  for (TClass C : Classes) {
    auto* Sheet = new TDCFormTabSheet2(this);
    try {
      Sheet->SetPageControl(Pages);
    } catch (...) {
      delete Sheet;
      throw;
    }
    Sheet->PageFormClass = C;
    Sheet->SetCaption(GetOptionFormCaption(C));
  }
}

bool TEnvForm::Execute(TPageControl* Pages, const std::vector<TClass>& Classes) {
  AddPages(Pages, Classes);
  if (Pages->PageCount() > 0 && EnvOptionsShowLastPage) Pages->SetActivePageIndex(Pages->PageCount() - 1);
  else if (Pages->PageCount() > 0) Pages->SetActivePageIndex(0);
  const TModalResult R = ShowModal();
  BroadcastToPages(R == mrOk ? DCM_OPTIONSOK : DCM_OPTIONSCANCEL);
  return R == mrOk;
}

void TEnvForm::FitPageForm(TForm* Page) {
  if (!Page || PageProps->PageCount() == 0) return;
  TTabSheet* Tab = PageProps->Pages(0);
  // The frame the page control and the button row put round a page.
  const Integer NeedH = Page->GetHeight() + PageProps->GetHeight() + pnlButtons->GetHeight() - Tab->ClientHeight();
  const Integer NeedW = Page->GetWidth() + PageProps->GetWidth() - Tab->ClientWidth();
  if (ClientHeight() < NeedH) SetClientHeight(NeedH);
  if (ClientWidth() < NeedW) SetClientWidth(NeedW);
}

void TEnvForm::Dispatch(TMessage& Message) {
  if (Message.Msg == DCM_PAGEFORMCREATED) {
    FitPageForm(reinterpret_cast<TForm*>(Message.LParam));
    return;
  }
  TForm::Dispatch(Message);
  if (Message.Msg == CM_SHOWINGCHANGED && Showing() && PageProps)
    for (Integer I = 0; I < PageProps->PageCount(); ++I)
      if (auto* Sheet = dynamic_cast<TDCFormTabSheet2*>(PageProps->Pages(I))) Sheet->MakePageForm();
}

// --- showing it ------------------------------------------------------------------------

bool ExecuteEnvForm(const std::vector<TClass>& Classes) {
  std::unique_ptr<TEnvForm> F(new TEnvForm(nullptr));
  return F->Execute(F->PageProps, Classes);
}

void RegisterEnvFormClasses() {
  RegisterClasses({TEnvForm::StaticClass(), TDCFormTabSheet::StaticClass(), TDCFormTabSheet2::StaticClass()});
  RegisterFormDescription("TEnvForm", EnvFormText);
}
