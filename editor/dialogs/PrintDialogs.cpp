#include "editor/dialogs/PrintDialogs.h"

#include "editor/base/EdConsts.h"
#include "editor/dialogs/DialogSetup.h"
#include "editor/text/EditorDialogs.h"
#include "platform/forms/Application.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Panels.h"
#include "platform/forms/PrinterDialogs.h"
#include "platform/forms/StdCtrls.h"
#include "platform/rtl/ClassRegistry.h"

using namespace EdConsts;

namespace {

const char* const PrintFormText = R"(object MemoPrintForm: TMemoPrintForm
  Left = 200
  Top = 120
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Print Selection'
  ClientHeight = 249
  ClientWidth = 425
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  Scaled = False
  PixelsPerInch = 96
  OnCreate = FormCreate
  OnShow = FormShow
  object gbxPrintDestination: TGroupBox
    Left = 8
    Top = 8
    Width = 409
    Height = 81
    Caption = 'File To Print:'
    TabOrder = 0
    object lblFileName: TLabel
      Left = 8
      Top = 24
      Width = 42
      Height = 13
      Caption = 'FileName'
    end
    object PrintSelCheck: TCheckBox
      Left = 8
      Top = 48
      Width = 393
      Height = 21
      Caption = '&Print selected block'
      TabOrder = 0
      OnClick = PrintSelCheckChange
    end
  end
  object gbxOptions: TGroupBox
    Left = 8
    Top = 96
    Width = 409
    Height = 113
    Caption = 'Options:'
    TabOrder = 1
    object HeaderCheck: TCheckBox
      Left = 8
      Top = 16
      Width = 193
      Height = 17
      Caption = 'Header/page &number'
      TabOrder = 0
    end
    object LineNumbersCheck: TCheckBox
      Left = 8
      Top = 40
      Width = 193
      Height = 17
      Caption = '&Line numbers'
      TabOrder = 1
    end
    object SyntaxPrintCheck: TCheckBox
      Left = 8
      Top = 64
      Width = 193
      Height = 17
      Caption = '&Syntax print'
      TabOrder = 2
    end
    object UseColorCheck: TCheckBox
      Left = 8
      Top = 88
      Width = 193
      Height = 17
      Caption = 'Use &color'
      TabOrder = 3
    end
    object ShowPrintProgress: TCheckBox
      Left = 208
      Top = 16
      Width = 193
      Height = 17
      Caption = 'Show &print progress'
      TabOrder = 4
    end
    object WrapLinesCheck: TCheckBox
      Left = 208
      Top = 40
      Width = 193
      Height = 17
      Caption = '&Wrap lines'
      TabOrder = 5
    end
    object lblLeftMargin: TLabel
      Left = 208
      Top = 68
      Width = 59
      Height = 13
      Caption = 'Left &margin:'
      FocusControl = LeftMarginEdit
    end
    object LeftMarginEdit: TEdit
      Left = 288
      Top = 64
      Width = 113
      Height = 21
      TabOrder = 6
    end
  end
  object SetupBut: TButton
    Left = 104
    Top = 216
    Width = 75
    Height = 25
    Caption = 'Se&tup...'
    TabOrder = 2
    OnClick = SetupButClick
  end
  object OkBut: TButton
    Left = 184
    Top = 216
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 3
    OnClick = OkButClick
  end
  object CancelBut: TButton
    Left = 264
    Top = 216
    Width = 75
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 4
  end
  object HelpBut: TButton
    Left = 344
    Top = 216
    Width = 75
    Height = 25
    Caption = '&Help'
    TabOrder = 5
  end
  object PrinterSetup: TPrinterSetupDialog
  end
end
)";

const char* const PrintProgressText = R"(object MemoPrintProgress: TMemoPrintProgress
  Left = 200
  Top = 120
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Printing Status'
  ClientHeight = 129
  ClientWidth = 353
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  Scaled = False
  PixelsPerInch = 96
  OnCreate = FormCreate
  object btnCancel: TButton
    Left = 136
    Top = 96
    Width = 81
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 0
  end
  object pnlInfo: TPanel
    Left = 8
    Top = 8
    Width = 337
    Height = 64
    BevelOuter = bvNone
    TabOrder = 1
    object lblPrinter: TLabel
      Left = 0
      Top = 0
      Width = 337
      Height = 13
      Align = alTop
      Caption = 'Searching printers ...'
      WordWrap = True
    end
    object lblFileName: TLabel
      Left = 0
      Top = 13
      Width = 337
      Height = 13
      Align = alTop
      WordWrap = True
    end
    object lblProgress: TLabel
      Left = 0
      Top = 26
      Width = 337
      Height = 13
      Align = alTop
      Caption = 'Printing pages:    calculation ...'
      WordWrap = True
    end
  end
  object ProgressBar: TProgressBar
    Left = 8
    Top = 72
    Width = 337
    Height = 17
    Min = 0
    Max = 100
    Step = 1
    TabOrder = 2
  end
end
)";

// Each box and the option it stands for.
struct TFlagBox {
  TCheckBox* TMemoPrintForm::*Box;
  TDCPrintOption Option;
};
const TFlagBox FlagBoxes[] = {
    {&TMemoPrintForm::HeaderCheck, poPrintHeader},     {&TMemoPrintForm::LineNumbersCheck, poLineNumbers},
    {&TMemoPrintForm::SyntaxPrintCheck, poPrintSyntax}, {&TMemoPrintForm::UseColorCheck, poInColor},
    {&TMemoPrintForm::ShowPrintProgress, poShowProgress}, {&TMemoPrintForm::WrapLinesCheck, poWrapLines},
};

}  // namespace

// --- the options form ------------------------------------------------------------

TMemoPrintForm::TMemoPrintForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }

void TMemoPrintForm::Published(TPublished<TMemoPrintForm>& P) {
  using F = TMemoPrintForm;
#define SX_FIELD(N) P.Property(#N, &F::N, &F::N).Stored(false)
  SX_FIELD(gbxPrintDestination);
  SX_FIELD(gbxOptions);
  SX_FIELD(lblFileName);
  SX_FIELD(lblLeftMargin);
  SX_FIELD(PrintSelCheck);
  SX_FIELD(HeaderCheck);
  SX_FIELD(LineNumbersCheck);
  SX_FIELD(SyntaxPrintCheck);
  SX_FIELD(UseColorCheck);
  SX_FIELD(ShowPrintProgress);
  SX_FIELD(WrapLinesCheck);
  SX_FIELD(LeftMarginEdit);
  SX_FIELD(SetupBut);
  SX_FIELD(OkBut);
  SX_FIELD(CancelBut);
  SX_FIELD(HelpBut);
  SX_FIELD(PrinterSetup);
#undef SX_FIELD
  P.Method("FormCreate", &F::FormCreate);
  P.Method("FormShow", &F::FormShow);
  P.Method("PrintSelCheckChange", &F::PrintSelCheckChange);
  P.Method("OkButClick", &F::OkButClick);
  P.Method("SetupButClick", &F::SetupButClick);
}

void TMemoPrintForm::FormCreate(TObject*) {
  ApplyMainFormFont(this);
  SetCaption(LoadResText(SPrintCaption));
  gbxPrintDestination->SetCaption(LoadResText(SFileToPrint));
  PrintSelCheck->SetCaption(LoadResText(SPrintSelectedBlock));
  gbxOptions->SetCaption(LoadResText(SPrintOptions));
  HeaderCheck->SetCaption(LoadResText(SHeaderPageNumber));
  LineNumbersCheck->SetCaption(LoadResText(SPrintLineNumbers));
  SyntaxPrintCheck->SetCaption(LoadResText(SSyntaxPrint));
  UseColorCheck->SetCaption(LoadResText(SUseColor));
  ShowPrintProgress->SetCaption(LoadResText(SShowPrintProgress));
  WrapLinesCheck->SetCaption(LoadResText(SWrapLines));
  lblLeftMargin->SetCaption(LoadResText(SLeftMargin));
  SetupBut->SetCaption(LoadResText(SPrintSetup));
  if (!GetShowHelpButtons()) SetupBut->SetLeft(OkBut->GetLeft());
  SetupDialogButtons(OkBut, CancelBut, HelpBut);
}

void TMemoPrintForm::FormShow(TObject*) {
  for (const TFlagBox& B : FlagBoxes) (this->*B.Box)->SetChecked(Flags.Contains(B.Option));
}

void TMemoPrintForm::PrintSelCheckChange(TObject*) {
  SetCaption(LoadResText(PrintSelCheck->GetChecked() ? SPrintSelectionCaption : SPrintCaption));
}

void TMemoPrintForm::OkButClick(TObject*) {
  TDCPrintOptions F;
  if (PrintSelCheck->GetChecked()) F.Include(poPrintSel);
  for (const TFlagBox& B : FlagBoxes)
    if ((this->*B.Box)->GetChecked()) F.Include(B.Option);
  Flags = F;
}

void TMemoPrintForm::SetupButClick(TObject*) { PrinterSetup->Execute(); }

// --- the progress box --------------------------------------------------------------

TMemoPrintProgress::TMemoPrintProgress(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }

void TMemoPrintProgress::Published(TPublished<TMemoPrintProgress>& P) {
  using F = TMemoPrintProgress;
  P.Property("btnCancel", &F::btnCancel, &F::btnCancel).Stored(false);
  P.Property("pnlInfo", &F::pnlInfo, &F::pnlInfo).Stored(false);
  P.Property("lblPrinter", &F::lblPrinter, &F::lblPrinter).Stored(false);
  P.Property("lblFileName", &F::lblFileName, &F::lblFileName).Stored(false);
  P.Property("lblProgress", &F::lblProgress, &F::lblProgress).Stored(false);
  P.Property("ProgressBar", &F::ProgressBar, &F::ProgressBar).Stored(false);
  P.Method("FormCreate", &F::FormCreate);
}

void TMemoPrintProgress::FormCreate(TObject*) {
  if (Application && Application->MainForm() && Application->MainForm() != this)
    GetFont()->Assign(Application->MainForm()->GetFont());
  SetCaption(LoadResText(SPrintingStatus));
  lblPrinter->SetCaption(LoadResText(SSearchingPrinters));
  lblProgress->SetCaption(LoadResText(SPrintingPagesCalc));
  btnCancel->SetCaption(LoadResText(SCancelButton));
}

// FIXME: nothing prints an editor's text yet. When printing comes, the
// editor's print command makes these two forms by class name (so that a
// program can replace them), fills lblFileName and LeftMarginEdit, shows the
// options form and, with poShowProgress, the progress box while it prints.
void RegisterPrintDialogs() {
  RegisterPrinterDialogClasses();
  RegisterClasses({TMemoPrintForm::StaticClass(), TMemoPrintProgress::StaticClass()});
  RegisterFormDescription("TMemoPrintForm", PrintFormText);
  RegisterFormDescription("TMemoPrintProgress", PrintProgressText);
  RegisterEditorDialog(MemoPrintFormClass, [](TComponent* Owner) -> TForm* { return new TMemoPrintForm(Owner); });
  RegisterEditorDialog(MemoPrintProgressClass,
                       [](TComponent* Owner) -> TForm* { return new TMemoPrintProgress(Owner); });
}
