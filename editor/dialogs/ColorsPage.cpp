// ColorsPage.cpp — the options dialog's "Colors" page and the built-in
// colour schemes: each style's colours and font style, whether it follows
// the editor's own colours, a scheme applied at once, and style sets loaded
// from and saved to colour-scheme files.
#include <cstdint>

#include "editor/base/EdConsts.h"
#include "editor/base/ObjectParams.h"
#include "editor/controls/DCMemo.h"
#include "editor/dialogs/DialogSetup.h"
#include "editor/dialogs/EnvOptions.h"
#include "editor/dialogs/OptionPages.h"
#include "editor/options/MemoEnvOptions.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Screen.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Colors.h"

using namespace EdConsts;

namespace {

const char* const ColorsPageText = R"(object ColorsOptForm: TColorsOptForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Colors'
  ClientHeight = 204
  ClientWidth = 465
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  OldCreateOrder = False
  Scaled = False
  PixelsPerInch = 96
  OnCreate = FormCreate
  object CSSLbl: TLabel
    Left = 8
    Top = 8
    Width = 97
    Height = 13
    Caption = 'Color S&peedSetting:'
    FocusControl = ComboBox1
  end
  object ElementLbl: TLabel
    Left = 8
    Top = 52
    Width = 41
    Height = 13
    Caption = '&Element:'
    FocusControl = Elements
  end
  object ForeColorLbl: TLabel
    Left = 184
    Top = 8
    Width = 84
    Height = 13
    Caption = '&Foreground color:'
    FocusControl = ForeColor
  end
  object BackColorLbl: TLabel
    Left = 184
    Top = 52
    Width = 88
    Height = 13
    Caption = 'Ba&ckground color:'
    FocusControl = BackColor
  end
  object ComboBox1: TComboBox
    Left = 8
    Top = 24
    Width = 161
    Height = 21
    Style = csDropDownList
    TabOrder = 0
    OnChange = ComboBox1Change
  end
  object Elements: TListBox
    Left = 8
    Top = 68
    Width = 161
    Height = 129
    TabOrder = 1
    OnClick = ElementsClick
  end
  object ForeColor: TDCColorCombo
    Left = 184
    Top = 24
    Width = 137
    Height = 22
    TabOrder = 2
    OnChange = ForeColorChange
  end
  object ForeColorBtn: TButton
    Left = 323
    Top = 24
    Width = 22
    Height = 22
    Caption = '...'
    TabOrder = 3
    OnClick = ForeColorBtnClick
  end
  object BackColor: TDCColorCombo
    Left = 184
    Top = 68
    Width = 137
    Height = 22
    TabOrder = 4
    OnChange = BackColorChange
  end
  object BackColorBtn: TButton
    Left = 323
    Top = 68
    Width = 22
    Height = 22
    Caption = '...'
    TabOrder = 5
    OnClick = BackColorBtnClick
  end
  object GroupBox2: TGroupBox
    Left = 184
    Top = 104
    Width = 129
    Height = 93
    Caption = ' Text attributes: '
    TabOrder = 6
    object BoldChk: TDCPropCheck
      Left = 8
      Top = 18
      Width = 113
      Height = 17
      Caption = '&Bold'
      TabOrder = 0
    end
    object ItalicChk: TDCPropCheck
      Left = 8
      Top = 42
      Width = 113
      Height = 17
      Caption = '&Italic'
      TabOrder = 1
    end
    object UnderLineChk: TDCPropCheck
      Left = 8
      Top = 66
      Width = 113
      Height = 17
      Caption = '&Underline'
      TabOrder = 2
    end
  end
  object GroupBox1: TGroupBox
    Left = 320
    Top = 104
    Width = 137
    Height = 93
    Caption = ' Use defaults for: '
    TabOrder = 7
    object chkDefFore: TDCPropCheck
      Left = 8
      Top = 18
      Width = 121
      Height = 17
      Caption = 'F&oreground'
      TabOrder = 0
    end
    object chkDefBack: TDCPropCheck
      Left = 8
      Top = 42
      Width = 121
      Height = 17
      Caption = 'Back&ground'
      TabOrder = 1
    end
  end
  object OpenButton: TButton
    Left = 360
    Top = 22
    Width = 97
    Height = 25
    Caption = '&Open'
    TabOrder = 8
    OnClick = OpenButtonClick
  end
  object SaveButton: TButton
    Left = 360
    Top = 66
    Width = 97
    Height = 25
    Caption = '&Save'
    TabOrder = 9
    OnClick = SaveButtonClick
  end
  object ColorDialog1: TColorDialog
  end
end
)";

const std::vector<TTextStyleRecord>& DefaultsTable() {
  static const std::vector<TTextStyleRecord> T = {
      {"Whitespace", clBlack, clWindow, 0, mcNone, true},
      {"String", clMaroon, clWindow, 0, mcNone, true},
      {"Comment", clGray, clWindow, 2, mcNone, true},
      {"Identifier", clBlack, clWindow, 0, mcNone, true},
      {"Integer", clGreen, clWindow, 0, mcNone, true},
      {"Float", clGreen, clWindow, 0, mcNone, true},
      {"Reserved words", clBlue, clWindow, 1, mcNone, true},
      {"Delimiters", clBlack, clWindow, 0, mcNone, true},
      {"Defines", clGreen, clWindow, 0, mcNone, true},
      {"Assembler", clGreen, clWindow, 0, mcNone, true},
      {"Html tags", clBlue, clWindow, 0, mcNone, true},
      {"Html params", clBlue, clWindow, 0, mcNone, true},
      {"Url", clBlue, clWindow, 4, mcNone, true},
      {"BreakPoint", clWindow, clRed, 0, mcNone, false},
      {"Error line", clWindow, clMaroon, 0, mcNone, false},
      {"Marked Block", clWindow, clNavy, 0, mcSelection, false},
      {"Search Match", clLime, clBlack, 0, mcSearchMatch, false},
      {"Emphasis", clBlack, clWindow, 1, mcNone, true},
      {"System Variable", clBlue, clWindow, 0, mcNone, true},
      {"Script Whitespace", clTeal, clWindow, 0, mcNone, true},
      {"Script Delimiters", clBlack, clWindow, 0, mcNone, true},
      {"Script Comment", clGray, clWindow, 2, mcNone, true},
      {"Script String", clMaroon, clWindow, 0, mcNone, true},
      {"Script Number", clBlue, clWindow, 0, mcNone, true},
      {"Script ResWord", clBlack, clWindow, 1, mcNone, true},
  };
  return T;
}

const std::vector<TTextStyleRecord>& ClassicTable() {
  static const std::vector<TTextStyleRecord> T = {
      {"Whitespace", clYellow, clNavy, 0, mcNone, true},
      {"String", clYellow, clNavy, 0, mcNone, true},
      {"Comment", clSilver, clNavy, 0, mcNone, true},
      {"Identifier", clYellow, clNavy, 0, mcNone, true},
      {"Integer", clYellow, clNavy, 0, mcNone, true},
      {"Float", clYellow, clNavy, 0, mcNone, true},
      {"Reserved words", clWhite, clNavy, 1, mcNone, true},
      {"Delimiters", clYellow, clNavy, 0, mcNone, true},
      {"Defines", clLime, clNavy, 0, mcNone, true},
      {"Assembler", clLime, clNavy, 0, mcNone, true},
      {"Html tags", clAqua, clNavy, 0, mcNone, true},
      {"Html params", clAqua, clNavy, 0, mcNone, true},
      {"Url", clAqua, clNavy, 4, mcNone, true},
      {"BreakPoint", clWindow, clRed, 0, mcNone, false},
      {"Error line", clWindow, clMaroon, 0, mcNone, false},
      {"Marked Block", clNavy, clSilver, 0, mcSelection, false},
      {"Search Match", clAqua, clBlack, 0, mcSearchMatch, false},
      {"Emphasis", clYellow, clNavy, 1, mcNone, true},
      {"System Variable", clWhite, clNavy, 0, mcNone, true},
      {"Script Whitespace", clLime, clNavy, 0, mcNone, true},
      {"Script Delimiters", clWhite, clNavy, 0, mcNone, true},
      {"Script Comment", clSilver, clNavy, 2, mcNone, true},
      {"Script String", clAqua, clNavy, 0, mcNone, true},
      {"Script Number", clFuchsia, clNavy, 0, mcNone, true},
      {"Script ResWord", clYellow, clNavy, 1, mcNone, true},
  };
  return T;
}

const std::vector<TTextStyleRecord>& OceanTable() {
  static const std::vector<TTextStyleRecord> T = {
      {"Whitespace", clBlack, clAqua, 0, mcNone, true},
      {"String", clPurple, clAqua, 0, mcNone, true},
      {"Comment", clTeal, clAqua, 0, mcNone, true},
      {"Identifier", clBlue, clAqua, 0, mcNone, true},
      {"Integer", clOlive, clAqua, 0, mcNone, true},
      {"Float", clOlive, clAqua, 0, mcNone, true},
      {"Reserved words", clBlack, clAqua, 1, mcNone, true},
      {"Delimiters", clBlack, clAqua, 0, mcNone, true},
      {"Defines", clTeal, clAqua, 0, mcNone, true},
      {"Assembler", clBlue, clAqua, 0, mcNone, true},
      {"Html tags", clBlue, clAqua, 0, mcNone, true},
      {"Html params", clBlue, clAqua, 0, mcNone, true},
      {"Url", clBlue, clAqua, 4, mcNone, true},
      {"BreakPoint", clWindow, clRed, 0, mcNone, false},
      {"Error line", clWindow, clMaroon, 0, mcNone, false},
      {"Marked Block", clAqua, clBlue, 0, mcSelection, false},
      {"Search Match", clAqua, clGray, 0, mcSearchMatch, false},
      {"Emphasis", clBlue, clAqua, 1, mcNone, true},
      {"System Variable", clBlack, clAqua, 0, mcNone, true},
      {"Script Whitespace", clBlack, clAqua, 0, mcNone, true},
      {"Script Delimiters", clBlack, clAqua, 0, mcNone, true},
      {"Script Comment", clGray, clAqua, 2, mcNone, true},
      {"Script String", clPurple, clAqua, 0, mcNone, true},
      {"Script Number", clOlive, clAqua, 0, mcNone, true},
      {"Script ResWord", clBlue, clAqua, 1, mcNone, true},
  };
  return T;
}

const std::vector<TTextStyleRecord>& TwilightTable() {
  static const std::vector<TTextStyleRecord> T = {
      {"Whitespace", clWindow, clBlack, 0, mcNone, true},
      {"String", clYellow, clBlack, 0, mcNone, true},
      {"Comment", clSilver, clBlack, 0, mcNone, true},
      {"Identifier", clWindow, clBlack, 0, mcNone, true},
      {"Integer", clFuchsia, clBlack, 0, mcNone, true},
      {"Float", clFuchsia, clBlack, 0, mcNone, true},
      {"Reserved words", clAqua, clBlack, 1, mcNone, true},
      {"Delimiters", clWindow, clBlack, 0, mcNone, true},
      {"Defines", clSilver, clBlack, 0, mcNone, true},
      {"Assembler", clLime, clBlack, 0, mcNone, true},
      {"Html tags", clLime, clBlack, 0, mcNone, true},
      {"Html params", clLime, clBlack, 0, mcNone, true},
      {"Url", clLime, clBlack, 4, mcNone, true},
      {"BreakPoint", clWindow, clRed, 0, mcNone, false},
      {"Error line", clWindow, clMaroon, 0, mcNone, false},
      {"Marked Block", clBlack, clWindow, 0, mcSelection, false},
      {"Search Match", clBlue, clTeal, 0, mcSearchMatch, false},
      {"Emphasis", clWhite, clBlack, 1, mcNone, true},
      {"System Variable", clAqua, clBlack, 0, mcNone, true},
      {"Script Whitespace", clLime, clBlack, 0, mcNone, true},
      {"Script Delimiters", clAqua, clBlack, 0, mcNone, true},
      {"Script Comment", clSilver, clBlack, 2, mcNone, true},
      {"Script String", clYellow, clBlack, 0, mcNone, true},
      {"Script Number", clFuchsia, clBlack, 0, mcNone, true},
      {"Script ResWord", clWhite, clBlack, 1, mcNone, true},
  };
  return T;
}

TMemoEnvOptions* Env() { return EnvWorkingOptions(); }

// The registry keeps a scheme's procedure as an integer.
Variant ProcValue(TColorSchemeProc Proc) { return Variant(Int64(reinterpret_cast<std::intptr_t>(Proc))); }
TColorSchemeProc ProcFrom(const Variant& V) {
  return reinterpret_cast<TColorSchemeProc>(static_cast<std::intptr_t>(V.AsInt64()));
}

}  // namespace

// --- colour schemes -------------------------------------------------------------

void RegisterColorScheme(TClass ControlClass, const AnsiString& Name, TColorSchemeProc Proc) {
  RegisterClassParams(ControlClass, {"TextStylesClass.ID", "TextStylesClass.InitName", "TextStylesClass.InitProc"},
                      {Variant("TextStylesClass.ID"), Variant(Name), ProcValue(Proc)});
}

TColorSchemeProc FindColorSchemeProc(TClass ControlClass, const AnsiString& Name) {
  TObjectParamListItem* Item =
      FindParamItemForClass(ControlClass, {"TextStylesClass.ID", "TextStylesClass.InitName"},
                            {Variant("TextStylesClass.ID"), Variant(Name)}, pfIgnoreCase);
  if (!Item) return nullptr;
  const Variant P = GetItemParam(Item, "TextStylesClass.InitProc");
  return VarIsNull(P) ? nullptr : ProcFrom(P);
}

std::vector<AnsiString> ListColorSchemes() {
  std::vector<AnsiString> Names;
  TObjectParamList* All = GetObjectParamList();
  for (Integer I = 0; I < All->Count(); ++I) {
    auto* Item = static_cast<TObjectParamListItem*>(All->Items(I));
    if (Item->Active && ParamValuesEqual(GetItemParam(Item, "TextStylesClass.ID"), Variant("TextStylesClass.ID"), 0))
      Names.push_back(GetItemParam(Item, "TextStylesClass.InitName").AsString());
  }
  return Names;
}

void ApplySchemeTable(TTextStyles* Styles, const std::vector<TTextStyleRecord>& Table) {
  Styles->BeginUpdate();
  Styles->ApplyingScheme = true;
  try {
    for (const TTextStyleRecord& R : Table) {
      const Integer I = Styles->IndexOfName(R.Name);
      if (I < 0) continue;
      TTextStyle* S = Styles->GetItem(I);
      S->GetFont()->SetColor(R.FontColor);
      TFontStyles FS;
      for (Integer Bit = 0; Bit < 4; ++Bit)
        if (R.FontStyle & (1 << Bit)) FS.Include(TFontStyle(Bit));
      S->GetFont()->SetStyle(FS);
      S->SetColor(R.BackColor);
      S->SetUpdateMemoColors(R.UpdateMemoColors);
      S->SetUseMemoFont(false);
      S->SetUseMemoColor(R.UseMemoColor);
    }
  } catch (...) {
    Styles->ApplyingScheme = false;
    Styles->EndUpdate();
    throw;
  }
  Styles->ApplyingScheme = false;
  Styles->EndUpdate();
}

void ApplyDefaultsScheme(TTextStyles* Styles) { ApplySchemeTable(Styles, DefaultsTable()); }
void ApplyClassicScheme(TTextStyles* Styles) { ApplySchemeTable(Styles, ClassicTable()); }
void ApplyOceanScheme(TTextStyles* Styles) { ApplySchemeTable(Styles, OceanTable()); }
void ApplyTwilightScheme(TTextStyles* Styles) { ApplySchemeTable(Styles, TwilightTable()); }

// --- the page ----------------------------------------------------------------------

TColorsOptForm::TColorsOptForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }

void TColorsOptForm::Published(TPublished<TColorsOptForm>& P) {
  using F = TColorsOptForm;
#define SX_FIELD(N) P.Property(#N, &F::N, &F::N).Stored(false)
  SX_FIELD(CSSLbl);
  SX_FIELD(ElementLbl);
  SX_FIELD(ForeColorLbl);
  SX_FIELD(BackColorLbl);
  SX_FIELD(ComboBox1);
  SX_FIELD(Elements);
  SX_FIELD(ForeColor);
  SX_FIELD(BackColor);
  SX_FIELD(ForeColorBtn);
  SX_FIELD(BackColorBtn);
  SX_FIELD(OpenButton);
  SX_FIELD(SaveButton);
  SX_FIELD(GroupBox1);
  SX_FIELD(GroupBox2);
  SX_FIELD(BoldChk);
  SX_FIELD(ItalicChk);
  SX_FIELD(UnderLineChk);
  SX_FIELD(chkDefFore);
  SX_FIELD(chkDefBack);
  SX_FIELD(ColorDialog1);
#undef SX_FIELD
  P.Method("FormCreate", &F::FormCreate);
  P.Method("ElementsClick", &F::ElementsClick);
  P.Method("ForeColorChange", &F::ForeColorChange);
  P.Method("BackColorChange", &F::BackColorChange);
  P.Method("OpenButtonClick", &F::OpenButtonClick);
  P.Method("SaveButtonClick", &F::SaveButtonClick);
  P.Method("ComboBox1Change", &F::ComboBox1Change);
  P.Method("ForeColorBtnClick", &F::ForeColorBtnClick);
  P.Method("BackColorBtnClick", &F::BackColorBtnClick);
}

void TColorsOptForm::AddSchemeName(const AnsiString& Name) { ComboBox1->GetItems()->Add(Name); }

void TColorsOptForm::FormCreate(TObject*) {
  ApplyMainFormFont(this);
  ForeColorBtn->SetHeight(ForeColor->GetHeight());
  BackColorBtn->SetHeight(BackColor->GetHeight());
  ComboBox1->GetItems()->Clear();
  for (const AnsiString& N : ListColorSchemes()) AddSchemeName(N);
  Integer At = ComboBox1->GetItems()->GetCount() > 0 ? 0 : -1;
  for (Integer I = 0; I < ComboBox1->GetItems()->GetCount(); ++I)
    if (SameText(ComboBox1->GetItems()->GetStrings(I), Env()->GetColorSchema())) {
      At = I;
      break;
    }
  ComboBox1->SetItemIndex(At);
  FillElements();
  SetCaption(LoadResText(SColorsPage));
  const std::pair<TControl*, TResTextId> Texts[] = {
      {CSSLbl, SColorSpeedSetting},  {ElementLbl, SElement},     {ForeColorLbl, SForegroundColor},
      {BackColorLbl, SBackgroundColor}, {GroupBox2, STextAttributes}, {BoldChk, SBold},
      {ItalicChk, SItalic},          {UnderLineChk, SUnderline}, {GroupBox1, SUseDefaultsFor},
      {chkDefFore, SDefaultForeground}, {chkDefBack, SDefaultBackground}, {SaveButton, SSaveSchemeButton}};
  for (const auto& T : Texts) T.first->SetCaption(LoadResText(T.second));
  AnsiString Open = LoadResText(SOpenSchemeButton);
  while (!Open.empty() && Open.back() == '.') Open.pop_back();
  OpenButton->SetCaption(Open);
}

void TColorsOptForm::FillElements() {
  TStrings* Items = Elements->GetItems();
  Items->BeginUpdate();
  Items->Clear();
  TTextStyles* Styles = Env()->GetTextStyles();
  for (Integer I = 0; I < Styles->Count(); ++I) Items->AddObject(Styles->GetItem(I)->GetName(), Styles->GetItem(I));
  Items->EndUpdate();
  Elements->SetItemIndex(Items->GetCount() > 0 ? 0 : -1);
  ElementsClick(Elements);
}

TTextStyle* TColorsOptForm::SelectedStyle() {
  const Integer I = Elements->GetItemIndex();
  if (I < 0) return nullptr;
  return static_cast<TTextStyle*>(Elements->GetItems()->GetObjects(I));
}

void TColorsOptForm::ElementsClick(TObject*) {
  TTextStyle* S = SelectedStyle();
  if (!S) return;
  // Showing the style's colours is no change of them.
  const TNotifyEvent Fore = ForeColor->OnChange, Back = BackColor->OnChange;
  ForeColor->OnChange = TNotifyEvent();
  BackColor->OnChange = TNotifyEvent();
  ForeColor->SetSelectedColor(S->GetFont()->GetColor());
  BackColor->SetSelectedColor(S->GetColor());
  ForeColor->OnChange = Fore;
  BackColor->OnChange = Back;
  const std::pair<TDCPropCheck*, const char*> Paths[] = {{BoldChk, "Font.Style.fsBold"},
                                                         {ItalicChk, "Font.Style.fsItalic"},
                                                         {UnderLineChk, "Font.Style.fsUnderLine"},
                                                         {chkDefFore, "UseMemoFont"},
                                                         {chkDefBack, "UseMemoColor"}};
  for (const auto& B : Paths) {
    B.first->SetComponent(S);
    B.first->SetPropName(B.second);
    B.first->UpdateState();
  }
}

void TColorsOptForm::ForeColorChange(TObject*) {
  if (TTextStyle* S = SelectedStyle()) S->GetFont()->SetColor(ForeColor->GetSelectedColor());
}

void TColorsOptForm::BackColorChange(TObject*) {
  TTextStyle* S = SelectedStyle();
  if (!S) return;
  S->SetColor(BackColor->GetSelectedColor());
  if (SameText(S->GetName(), "Whitespace")) SyncEditorColor();
}

void TColorsOptForm::ComboBox1Change(TObject*) {
  const AnsiString Name = ComboBox1->GetText();
  TTextStyles* Styles = Env()->GetTextStyles();
  if (TColorSchemeProc Proc = FindColorSchemeProc(TCustomDCMemo::StaticClass(), Name)) Proc(Styles);
  else Styles->SetDefaultStyles();
  Env()->SetColorSchema(Name);
  FillElements();
  SyncEditorColor();
}

void TColorsOptForm::SyncEditorColor() {
  TTextStyles* Styles = Env()->GetTextStyles();
  if (Styles->Count() > 0) Env()->SetColor(Styles->GetItem(0)->GetColor());
  if (!Screen) return;
  for (Integer I = 0; I < Screen->FormCount(); ++I)
    if (auto* D = dynamic_cast<TDisplayOptForm*>(Screen->Forms(I))) {
      D->EditorColorEd->SetSelectedColor(Env()->GetColor());
      break;
    }
}

void TColorsOptForm::OpenButtonClick(TObject*) {
  Env()->GetTextStyles()->LoadWithDialog();
  FillElements();
}

void TColorsOptForm::SaveButtonClick(TObject*) { Env()->GetTextStyles()->SaveWithDialog(); }

void TColorsOptForm::PickColor(TDCColorCombo* Combo) {
  ColorDialog1->SetColor(TColor(ColorToRGB(Combo->GetSelectedColor())));
  if (ColorDialog1->Execute()) Combo->SetCustomColor(ColorDialog1->GetColor());
}

void TColorsOptForm::ForeColorBtnClick(TObject*) { PickColor(ForeColor); }
void TColorsOptForm::BackColorBtnClick(TObject*) { PickColor(BackColor); }

void TColorsOptForm::Dispatch(TMessage& Message) {
  if (Message.Msg == DCM_OPTIONSOK) {
    Env()->Apply();
    return;
  }
  TForm::Dispatch(Message);
}

void RegisterColorsPage() {
  RegisterClass(TColorsOptForm::StaticClass());
  RegisterFormDescription("TColorsOptForm", ColorsPageText);
  RegisterOptionForm(TColorsOptForm::StaticClass(), 4, LoadResText(SColorsPage),
                     [] { return new TColorsOptForm(nullptr); });
  if (FindColorSchemeProc(TCustomDCMemo::StaticClass(), LoadResText(SSchemeDefaults))) return;
  RegisterColorScheme(TCustomDCMemo::StaticClass(), LoadResText(SSchemeDefaults), &ApplyDefaultsScheme);
  RegisterColorScheme(TCustomDCMemo::StaticClass(), LoadResText(SSchemeClassic), &ApplyClassicScheme);
  RegisterColorScheme(TCustomDCMemo::StaticClass(), LoadResText(SSchemeOcean), &ApplyOceanScheme);
  RegisterColorScheme(TCustomDCMemo::StaticClass(), LoadResText(SSchemeTwilight), &ApplyTwilightScheme);
}
