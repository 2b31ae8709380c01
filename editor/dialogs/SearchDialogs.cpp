#include "editor/dialogs/SearchDialogs.h"
#include "editor/dialogs/PickerEdits.h"

#include "editor/controls/HistoryEditor.h"
#include "editor/dialogs/DialogSetup.h"
#include "platform/forms/ComCtrls.h"
#include "platform/forms/FormLoader.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"

namespace {

const char* const FindDialogText = R"(object SrchDialog: TSrchDialog
  Left = 200
  Top = 120
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Find Text'
  ClientHeight = 278
  ClientWidth = 433
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  ActiveControl = SearText
  OnCreate = FormCreate
  object PageControl: TPageControl
    Left = 0
    Top = 0
    Width = 433
    Height = 237
    ActivePage = EditorFindPage
    Align = alClient
    TabOrder = 0
    object EditorFindPage: TTabSheet
      Caption = 'Find'
      object LTexttFind: TLabel
        Left = 8
        Top = 16
        Width = 81
        Height = 13
        Caption = '&Text to find:'
        FocusControl = SearText
      end
      object SearText: TDCHistoryEditor
        Left = 96
        Top = 16
        Width = 321
        Height = 21
        TabOrder = 0
      end
      object OptionsGroup: TGroupBox
        Left = 8
        Top = 40
        Width = 201
        Height = 89
        Caption = 'Options'
        TabOrder = 1
        object CaseSens: TCheckBox
          Left = 16
          Top = 16
          Width = 177
          Height = 17
          Caption = '&Case sensitive'
          TabOrder = 0
        end
        object WholeWord: TCheckBox
          Left = 16
          Top = 40
          Width = 177
          Height = 17
          Caption = '&Whole words only'
          TabOrder = 1
        end
        object RegExpr: TCheckBox
          Left = 16
          Top = 64
          Width = 177
          Height = 17
          Caption = 'Regular e&xpressions'
          TabOrder = 2
        end
      end
      object DirectionGroup: TGroupBox
        Left = 216
        Top = 40
        Width = 201
        Height = 89
        Caption = 'Direction'
        TabOrder = 2
        object dirForward: TRadioButton
          Left = 8
          Top = 16
          Width = 185
          Height = 17
          Caption = 'Forwar&d'
          Checked = True
          TabOrder = 0
          TabStop = True
        end
        object dirBackward: TRadioButton
          Left = 8
          Top = 40
          Width = 185
          Height = 17
          Caption = '&Backward'
          TabOrder = 1
        end
      end
      object ScopeGroup: TRadioGroup
        Left = 8
        Top = 136
        Width = 201
        Height = 65
        Caption = 'Scope'
        ItemIndex = 0
        Items.Strings = (
          '&Global'
          '&Selected text')
        TabOrder = 3
      end
      object OriginGroup: TRadioGroup
        Left = 216
        Top = 136
        Width = 201
        Height = 65
        Caption = 'Origin'
        ItemIndex = 0
        Items.Strings = (
          '&From cursor'
          '&Entire scope')
        TabOrder = 4
      end
    end
  end
  object Panel1: TPanel
    Left = 0
    Top = 237
    Width = 433
    Height = 41
    Align = alBottom
    BevelOuter = bvNone
    TabOrder = 1
    object OKBut: TButton
      Left = 192
      Top = 8
      Width = 73
      Height = 25
      Caption = 'OK'
      Default = True
      ModalResult = 1
      TabOrder = 0
      OnClick = OKButClick
    end
    object CancelBut: TButton
      Left = 272
      Top = 8
      Width = 73
      Height = 25
      Cancel = True
      Caption = 'Cancel'
      ModalResult = 2
      TabOrder = 1
    end
    object HelpBut: TButton
      Left = 352
      Top = 8
      Width = 73
      Height = 25
      Caption = '&Help'
      TabOrder = 2
    end
  end
end
)";

const char* const ReplaceDialogText = R"(object ReplDialog: TReplDialog
  Left = 200
  Top = 120
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Replace Text'
  ClientHeight = 281
  ClientWidth = 425
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  ActiveControl = SearText
  OnCreate = FormCreate
  object LTexttFind: TLabel
    Left = 8
    Top = 8
    Width = 81
    Height = 13
    Caption = '&Text to find:'
    FocusControl = SearText
  end
  object LReplWith: TLabel
    Left = 8
    Top = 40
    Width = 81
    Height = 13
    Caption = '&Replace with:'
    FocusControl = ReplText
  end
  object SearText: TDCHistoryEditor
    Left = 96
    Top = 8
    Width = 319
    Height = 21
    TabOrder = 0
  end
  object ReplText: TDCHistoryEditor
    Left = 96
    Top = 40
    Width = 321
    Height = 21
    TabOrder = 1
  end
  object OptionsGroup: TGroupBox
    Left = 8
    Top = 72
    Width = 201
    Height = 97
    Caption = 'Options'
    TabOrder = 2
    object CaseSens: TCheckBox
      Left = 16
      Top = 16
      Width = 177
      Height = 17
      Caption = '&Case sensitive'
      TabOrder = 0
    end
    object WholeWord: TCheckBox
      Left = 16
      Top = 36
      Width = 177
      Height = 17
      Caption = '&Whole words only'
      TabOrder = 1
    end
    object RegExpr: TCheckBox
      Left = 16
      Top = 56
      Width = 177
      Height = 17
      Caption = 'Regular e&xpressions'
      TabOrder = 2
    end
    object PromptRepl: TCheckBox
      Left = 16
      Top = 76
      Width = 177
      Height = 17
      Caption = '&Prompt on replace'
      TabOrder = 3
    end
  end
  object DirectionGroup: TGroupBox
    Left = 216
    Top = 72
    Width = 201
    Height = 97
    Caption = 'Direction'
    TabOrder = 3
    object dirForward: TRadioButton
      Left = 8
      Top = 16
      Width = 185
      Height = 17
      Caption = 'Forwar&d'
      Checked = True
      TabOrder = 0
      TabStop = True
    end
    object dirBackward: TRadioButton
      Left = 8
      Top = 40
      Width = 185
      Height = 17
      Caption = '&Backward'
      TabOrder = 1
    end
  end
  object ScopeGroup: TRadioGroup
    Left = 8
    Top = 176
    Width = 201
    Height = 65
    Caption = 'Scope'
    ItemIndex = 0
    Items.Strings = (
      '&Global'
      '&Selected text')
    TabOrder = 4
  end
  object OriginGroup: TRadioGroup
    Left = 216
    Top = 176
    Width = 201
    Height = 65
    Caption = 'Origin'
    ItemIndex = 0
    Items.Strings = (
      '&From cursor'
      '&Entire scope')
    TabOrder = 5
  end
  object OKBut: TButton
    Left = 88
    Top = 248
    Width = 73
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 6
    OnClick = OKButClick
  end
  object ReplBut: TButton
    Left = 168
    Top = 248
    Width = 89
    Height = 25
    Caption = 'Replace &All'
    ModalResult = 8
    TabOrder = 7
    OnClick = ReplButClick
  end
  object CancelBut: TButton
    Left = 264
    Top = 248
    Width = 73
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 8
  end
  object HelpBut: TButton
    Left = 344
    Top = 248
    Width = 73
    Height = 25
    Caption = '&Help'
    TabOrder = 9
  end
end
)";

const char* const InputLineFormText = R"(object InputLineForm: TInputLineForm
  Left = 200
  Top = 120
  BorderIcons = [biSystemMenu]
  BorderStyle = bsDialog
  Caption = 'Go to line Number'
  ClientHeight = 129
  ClientWidth = 393
  Color = clBtnFace
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  ActiveControl = PropEdit
  OnCreate = FormCreate
  object Panel1: TPanel
    Left = 8
    Top = 8
    Width = 377
    Height = 81
    BevelInner = bvRaised
    BevelOuter = bvLowered
    TabOrder = 0
    object InputLabel: TLabel
      Left = 16
      Top = 16
      Width = 113
      Height = 13
      Caption = '&Enter new line number:'
      FocusControl = PropEdit
    end
    object PropEdit: TEdit
      Left = 16
      Top = 40
      Width = 345
      Height = 21
      TabOrder = 0
    end
  end
  object OkBut: TButton
    Left = 152
    Top = 96
    Width = 73
    Height = 25
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 1
  end
  object CancelBut: TButton
    Left = 232
    Top = 96
    Width = 73
    Height = 25
    Cancel = True
    Caption = 'Cancel'
    ModalResult = 2
    TabOrder = 2
  end
  object HelpBut: TButton
    Left = 312
    Top = 96
    Width = 73
    Height = 25
    Caption = '&Help'
    TabOrder = 3
  end
end
)";

}  // namespace

// --- shared ------------------------------------------------------------------

void TSearchDialogBase::Published(TPublished<TSearchDialogBase>& P) {
  using B = TSearchDialogBase;
  P.Property("LTexttFind", &B::LTexttFind, &B::LTexttFind).Stored(false);
  P.Property("SearText", &B::SearText, &B::SearText).Stored(false);
  P.Property("OptionsGroup", &B::OptionsGroup, &B::OptionsGroup).Stored(false);
  P.Property("CaseSens", &B::CaseSens, &B::CaseSens).Stored(false);
  P.Property("WholeWord", &B::WholeWord, &B::WholeWord).Stored(false);
  P.Property("RegExpr", &B::RegExpr, &B::RegExpr).Stored(false);
  P.Property("DirectionGroup", &B::DirectionGroup, &B::DirectionGroup).Stored(false);
  P.Property("dirForward", &B::dirForward, &B::dirForward).Stored(false);
  P.Property("dirBackward", &B::dirBackward, &B::dirBackward).Stored(false);
  P.Property("ScopeGroup", &B::ScopeGroup, &B::ScopeGroup).Stored(false);
  P.Property("OriginGroup", &B::OriginGroup, &B::OriginGroup).Stored(false);
  P.Property("OKBut", &B::OKBut, &B::OKBut).Stored(false);
  P.Property("CancelBut", &B::CancelBut, &B::CancelBut).Stored(false);
  P.Property("HelpBut", &B::HelpBut, &B::HelpBut).Stored(false);
}

// --- Find Text ---------------------------------------------------------------

TSrchDialog::TSrchDialog(TComponent* AOwner) : TSearchDialogBase(AOwner) { InitializeForm(); }

void TSrchDialog::Published(TPublished<TSrchDialog>& P) {
  P.Property("PageControl", &TSrchDialog::PageControl, &TSrchDialog::PageControl).Stored(false);
  P.Property("EditorFindPage", &TSrchDialog::EditorFindPage, &TSrchDialog::EditorFindPage).Stored(false);
  P.Property("Panel1", &TSrchDialog::Panel1, &TSrchDialog::Panel1).Stored(false);
  P.Method("FormCreate", &TSrchDialog::FormCreate);
  P.Method("OKButClick", &TSrchDialog::OKButClick);
}

void TSrchDialog::FormCreate(TObject*) {
  SetupDialogButtons(OKBut, CancelBut, HelpBut);
  LoadOptions();
}

void TSrchDialog::OKButClick(TObject*) {
  StoreOptions();
  PublishOptions();
  SearText->SaveHistory();
}

// --- Replace Text ------------------------------------------------------------

TReplDialog::TReplDialog(TComponent* AOwner) : TSearchDialogBase(AOwner) { InitializeForm(); }

void TReplDialog::Published(TPublished<TReplDialog>& P) {
  P.Property("LReplWith", &TReplDialog::LReplWith, &TReplDialog::LReplWith).Stored(false);
  P.Property("ReplText", &TReplDialog::ReplText, &TReplDialog::ReplText).Stored(false);
  P.Property("PromptRepl", &TReplDialog::PromptRepl, &TReplDialog::PromptRepl).Stored(false);
  P.Property("ReplBut", &TReplDialog::ReplBut, &TReplDialog::ReplBut).Stored(false);
  P.Method("FormCreate", &TReplDialog::FormCreate);
  P.Method("OKButClick", &TReplDialog::OKButClick);
  P.Method("ReplButClick", &TReplDialog::ReplButClick);
}

void TReplDialog::FormCreate(TObject*) {
  OKBut->SetCaption("OK");
  ReplBut->SetCaption("Replace &All");
  CancelBut->SetCaption("Cancel");
  HelpBut->SetCaption("&Help");
  HelpBut->SetVisible(GetShowHelpButtons());
  if (!GetShowHelpButtons())
    for (TButton* B : {OKBut, ReplBut, CancelBut}) B->SetLeft(B->GetLeft() + 80);
  LoadOptions();
  LoadReplaceOptions();
}

void TReplDialog::OKButClick(TObject*) {
  ApplyOptions(false);
  SearText->SaveHistory();
  ReplText->SaveHistory();
}

void TReplDialog::ReplButClick(TObject*) {
  BroadcastToControls(this, DCM_COMMITTEXT);
  ApplyOptions(true);
}

// --- Go to line --------------------------------------------------------------

TInputLineForm::TInputLineForm(TComponent* AOwner) : TCustomInputLineForm(AOwner) { InitializeForm(); }

void TInputLineForm::Published(TPublished<TInputLineForm>& P) {
  using F = TInputLineForm;
  P.Property("Panel1", &F::Panel1, &F::Panel1).Stored(false);
  P.Property("InputLabel", &F::InputLabel, &F::InputLabel).Stored(false);
  P.Property("PropEdit", &F::PropEdit, &F::PropEdit).Stored(false);
  P.Property("OkBut", &F::OkBut, &F::OkBut).Stored(false);
  P.Property("CancelBut", &F::CancelBut, &F::CancelBut).Stored(false);
  P.Property("HelpBut", &F::HelpBut, &F::HelpBut).Stored(false);
  P.Method("FormCreate", &F::FormCreate);
}

void TInputLineForm::FormCreate(TObject*) {
  ApplyMainFormFont(this);
  SetCaption("Go to line Number");
  InputLabel->SetCaption("&Enter new line number:");
  SetupDialogButtons(OkBut, CancelBut, HelpBut);
}

AnsiString TInputLineForm::GetLabelText() const { return InputLabel->GetCaption(); }
void TInputLineForm::SetLabelText(const AnsiString& Value) { InputLabel->SetCaption(Value); }
AnsiString TInputLineForm::GetValue() const { return PropEdit->GetText(); }
void TInputLineForm::SetValue(const AnsiString& Value) { PropEdit->SetText(Value); }

void RegisterSearchReplaceForm();

// --- registration ------------------------------------------------------------

void RegisterSearchDialogs() {
  RegisterHistoryEditorClass();
  // The parts of the edit control with buttons, which these dialogs commit.
  RegisterDCEditClasses();
  RegisterClasses({TSrchDialog::StaticClass(), TReplDialog::StaticClass(), TInputLineForm::StaticClass()});
  RegisterFormDescription("TSrchDialog", FindDialogText);
  RegisterFormDescription("TReplDialog", ReplaceDialogText);
  RegisterFormDescription("TInputLineForm", InputLineFormText);
  RegisterEditorDialog(FindDialogClass, [](TComponent* Owner) -> TForm* { return new TSrchDialog(Owner); });
  RegisterEditorDialog(ReplaceDialogClass, [](TComponent* Owner) -> TForm* { return new TReplDialog(Owner); });
  RegisterEditorDialog(InputLineFormClass, [](TComponent* Owner) -> TForm* { return new TInputLineForm(Owner); });
  RegisterSearchReplaceForm();
}
