// DisplayPage.cpp — the options dialog's "Display" page: gutter, margin,
// font, editor and read-only colours and the special symbols. Every change
// goes into the working options at once (numbers and texts when their
// field is left) and reaches the editors when the dialog is confirmed.
#include "editor/base/EdConsts.h"
#include "editor/dialogs/DialogSetup.h"
#include "editor/dialogs/EnvOptions.h"
#include "editor/dialogs/OptionPages.h"
#include "editor/options/MemoEnvOptions.h"
#include "platform/forms/FormLoader.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/Colors.h"

using namespace EdConsts;

namespace {

const char* const DisplayPageText = R"(object DisplayOptForm: TDisplayOptForm
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Display'
  ClientHeight = 341
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
  object EditGutterGroup: TGroupBox
    Left = 8
    Top = 8
    Width = 217
    Height = 121
    Caption = 'Editor gutter:'
    TabOrder = 0
    object WidthLbl: TLabel
      Left = 8
      Top = 44
      Width = 31
      Height = 13
      Caption = '&Width:'
      FocusControl = GutterWidthEdit
    end
    object ColorGutterLbl: TLabel
      Left = 8
      Top = 70
      Width = 27
      Height = 13
      Caption = '&Color:'
      FocusControl = GutterColorEdit
    end
    object StyleLbl: TLabel
      Left = 8
      Top = 96
      Width = 26
      Height = 13
      Caption = '&Style:'
      FocusControl = GutterStyleEdit
    end
    object GutterVisibleLbl: TDCPropCheck
      Left = 8
      Top = 18
      Width = 97
      Height = 17
      Caption = '&Visible'
      TabOrder = 0
    end
    object GutterWidthEdit: TEdit
      Left = 56
      Top = 40
      Width = 49
      Height = 21
      TabOrder = 1
      OnExit = GutterWidthEditExit
    end
    object GutterColorEdit: TDCColorCombo
      Left = 56
      Top = 66
      Width = 129
      Height = 22
      TabOrder = 2
      OnChange = GutterColorEditChange
    end
    object GutterColorBtn: TButton
      Left = 187
      Top = 66
      Width = 22
      Height = 22
      Caption = '...'
      TabOrder = 3
      OnClick = GutterColorBtnClick
    end
    object GutterStyleEdit: TDCBrushStyleEdit
      Left = 56
      Top = 92
      Width = 153
      Height = 22
      TabOrder = 4
      OnChange = GutterStyleEditChange
    end
  end
  object EditMarginGroup: TGroupBox
    Left = 240
    Top = 8
    Width = 217
    Height = 147
    Caption = 'Editor margin:'
    TabOrder = 1
    object WitdhMarginLbl: TLabel
      Left = 8
      Top = 44
      Width = 31
      Height = 13
      Caption = 'Wi&dth:'
      FocusControl = MarginWidthEdit
    end
    object ColorLbl: TLabel
      Left = 8
      Top = 70
      Width = 27
      Height = 13
      Caption = 'C&olor:'
      FocusControl = MarginColorEdit
    end
    object StyleMarginLbl: TLabel
      Left = 8
      Top = 96
      Width = 26
      Height = 13
      Caption = 'S&tyle:'
      FocusControl = MarginStyleEdit
    end
    object PositionLbl: TLabel
      Left = 8
      Top = 122
      Width = 40
      Height = 13
      Caption = '&Position:'
      FocusControl = MarginPosEdit
    end
    object MarginVisibleCheck: TDCPropCheck
      Left = 8
      Top = 18
      Width = 97
      Height = 17
      Caption = 'V&isible'
      TabOrder = 0
    end
    object MarginWidthEdit: TEdit
      Left = 56
      Top = 40
      Width = 49
      Height = 21
      TabOrder = 1
      OnExit = MarginWidthEditExit
    end
    object MarginColorEdit: TDCColorCombo
      Left = 56
      Top = 66
      Width = 129
      Height = 22
      TabOrder = 2
      OnChange = MarginColorEditChange
    end
    object MarginColorBtn: TButton
      Left = 187
      Top = 66
      Width = 22
      Height = 22
      Caption = '...'
      TabOrder = 3
      OnClick = MarginColorBtnClick
    end
    object MarginStyleEdit: TDCPenStyleEdit
      Left = 56
      Top = 92
      Width = 153
      Height = 22
      TabOrder = 4
      OnChange = MarginStyleEditChange
    end
    object MarginPosEdit: TEdit
      Left = 56
      Top = 118
      Width = 49
      Height = 21
      TabOrder = 5
      OnExit = MarginPosEditExit
    end
  end
  object pcbUseMonoFont: TDCPropCheck
    Left = 16
    Top = 138
    Width = 209
    Height = 17
    Caption = '&Use mono font'
    TabOrder = 2
    OnClick = pcbUseMonoFontClick
  end
  object EditFontLbl: TLabel
    Left = 16
    Top = 166
    Width = 55
    Height = 13
    Caption = 'Editor &font:'
    FocusControl = FontNameEdit
  end
  object FontNameEdit: TComboBox
    Left = 88
    Top = 162
    Width = 137
    Height = 21
    Style = csDropDownList
    Sorted = True
    TabOrder = 3
    OnChange = FontNameEditChange
    OnDropDown = FontNameEditDropDown
  end
  object SizeLbl: TLabel
    Left = 16
    Top = 194
    Width = 23
    Height = 13
    Caption = 'Si&ze:'
    FocusControl = FontSizeEdit
  end
  object FontSizeEdit: TComboBox
    Left = 88
    Top = 190
    Width = 57
    Height = 21
    TabOrder = 4
    OnChange = FontSizeEditChange
  end
  object EditorColorLbl: TLabel
    Left = 16
    Top = 222
    Width = 57
    Height = 13
    Caption = 'Editor co&lor:'
    FocusControl = EditorColorEd
  end
  object EditorColorEd: TDCColorCombo
    Left = 88
    Top = 218
    Width = 137
    Height = 22
    TabOrder = 5
    OnChange = EditorColorEdChange
  end
  object pcbUseReadOnlyColor: TDCPropCheck
    Left = 248
    Top = 166
    Width = 209
    Height = 17
    Caption = 'Use &Read-Only Color'
    TabOrder = 6
    OnClick = pcbUseReadOnlyColorClick
  end
  object lblReadOnlyColor: TLabel
    Left = 248
    Top = 194
    Width = 97
    Height = 13
    Caption = 'Read-&Only Color:'
    FocusControl = ReadOnlyColorEd
  end
  object ReadOnlyColorEd: TDCColorCombo
    Left = 352
    Top = 190
    Width = 105
    Height = 22
    TabOrder = 7
    OnChange = ReadOnlyColorEdChange
  end
  object pcbUseSpecSymbs: TDCPropCheck
    Left = 16
    Top = 256
    Width = 209
    Height = 17
    Caption = 'Draw &Special Symbols'
    TabOrder = 8
    OnClick = pcbUseSpecSymbsClick
  end
  object lblSSEOF: TLabel
    Left = 16
    Top = 288
    Width = 24
    Height = 13
    Caption = 'EOF:'
    FocusControl = edtSSEOF
  end
  object edtSSEOF: TEdit
    Left = 48
    Top = 284
    Width = 57
    Height = 21
    TabOrder = 9
    OnExit = edtSSEOFExit
  end
  object lblSSEOL: TLabel
    Left = 120
    Top = 288
    Width = 24
    Height = 13
    Caption = 'EOL:'
    FocusControl = edtSSEOL
  end
  object edtSSEOL: TEdit
    Left = 152
    Top = 284
    Width = 57
    Height = 21
    TabOrder = 10
    OnExit = edtSSEOLExit
  end
  object lblSSSpace: TLabel
    Left = 232
    Top = 288
    Width = 34
    Height = 13
    Caption = 'Space:'
    FocusControl = edtSSSpace
  end
  object edtSSSpace: TEdit
    Left = 272
    Top = 284
    Width = 33
    Height = 21
    MaxLength = 1
    TabOrder = 11
    OnChange = edtSSSpaceChange
  end
  object lblSSTab: TLabel
    Left = 336
    Top = 288
    Width = 22
    Height = 13
    Caption = 'Tab:'
    FocusControl = edtSSTab
  end
  object edtSSTab: TEdit
    Left = 368
    Top = 284
    Width = 33
    Height = 21
    MaxLength = 1
    TabOrder = 12
    OnChange = edtSSTabChange
  end
  object ColorDialog1: TColorDialog
  end
end
)";

const char* const FontSizes[] = {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"};

// Same advance for a narrow and a wide letter.
bool IsFixedPitchFont(const AnsiString& Name) {
  TBitmap B;
  B.SetSize(8, 8);
  TCanvas* C = B.Canvas();
  C->Font()->SetName(Name);
  C->Font()->SetSize(10);
  return C->TextWidth("iiii") == C->TextWidth("WWWW");
}

TMemoEnvOptions* Env() { return EnvWorkingOptions(); }

}  // namespace

TDisplayOptForm::TDisplayOptForm(TComponent* AOwner) : TForm(AOwner) { InitializeForm(); }

void TDisplayOptForm::Published(TPublished<TDisplayOptForm>& P) {
  using F = TDisplayOptForm;
#define SX_FIELD(N) P.Property(#N, &F::N, &F::N).Stored(false)
  SX_FIELD(EditGutterGroup);
  SX_FIELD(EditMarginGroup);
  SX_FIELD(GutterVisibleLbl);
  SX_FIELD(MarginVisibleCheck);
  SX_FIELD(pcbUseMonoFont);
  SX_FIELD(pcbUseReadOnlyColor);
  SX_FIELD(pcbUseSpecSymbs);
  SX_FIELD(WidthLbl);
  SX_FIELD(ColorGutterLbl);
  SX_FIELD(StyleLbl);
  SX_FIELD(WitdhMarginLbl);
  SX_FIELD(ColorLbl);
  SX_FIELD(StyleMarginLbl);
  SX_FIELD(PositionLbl);
  SX_FIELD(EditFontLbl);
  SX_FIELD(SizeLbl);
  SX_FIELD(EditorColorLbl);
  SX_FIELD(lblReadOnlyColor);
  SX_FIELD(lblSSEOF);
  SX_FIELD(lblSSEOL);
  SX_FIELD(lblSSSpace);
  SX_FIELD(lblSSTab);
  SX_FIELD(GutterWidthEdit);
  SX_FIELD(MarginWidthEdit);
  SX_FIELD(MarginPosEdit);
  SX_FIELD(edtSSEOF);
  SX_FIELD(edtSSEOL);
  SX_FIELD(edtSSSpace);
  SX_FIELD(edtSSTab);
  SX_FIELD(GutterColorEdit);
  SX_FIELD(MarginColorEdit);
  SX_FIELD(EditorColorEd);
  SX_FIELD(ReadOnlyColorEd);
  SX_FIELD(GutterColorBtn);
  SX_FIELD(MarginColorBtn);
  SX_FIELD(GutterStyleEdit);
  SX_FIELD(MarginStyleEdit);
  SX_FIELD(FontNameEdit);
  SX_FIELD(FontSizeEdit);
  SX_FIELD(ColorDialog1);
#undef SX_FIELD
  P.Method("FormCreate", &F::FormCreate);
  P.Method("GutterWidthEditExit", &F::GutterWidthEditExit);
  P.Method("GutterColorEditChange", &F::GutterColorEditChange);
  P.Method("GutterStyleEditChange", &F::GutterStyleEditChange);
  P.Method("MarginWidthEditExit", &F::MarginWidthEditExit);
  P.Method("MarginColorEditChange", &F::MarginColorEditChange);
  P.Method("MarginStyleEditChange", &F::MarginStyleEditChange);
  P.Method("MarginPosEditExit", &F::MarginPosEditExit);
  P.Method("FontNameEditChange", &F::FontNameEditChange);
  P.Method("EditorColorEdChange", &F::EditorColorEdChange);
  P.Method("FontSizeEditChange", &F::FontSizeEditChange);
  P.Method("GutterColorBtnClick", &F::GutterColorBtnClick);
  P.Method("MarginColorBtnClick", &F::MarginColorBtnClick);
  P.Method("FontNameEditDropDown", &F::FontNameEditDropDown);
  P.Method("pcbUseMonoFontClick", &F::pcbUseMonoFontClick);
  P.Method("ReadOnlyColorEdChange", &F::ReadOnlyColorEdChange);
  P.Method("edtSSEOFExit", &F::edtSSEOFExit);
  P.Method("edtSSEOLExit", &F::edtSSEOLExit);
  P.Method("edtSSSpaceChange", &F::edtSSSpaceChange);
  P.Method("edtSSTabChange", &F::edtSSTabChange);
  P.Method("pcbUseReadOnlyColorClick", &F::pcbUseReadOnlyColorClick);
  P.Method("pcbUseSpecSymbsClick", &F::pcbUseSpecSymbsClick);
}

void TDisplayOptForm::FormCreate(TObject*) {
  ApplyMainFormFont(this);
  GutterColorBtn->SetHeight(GutterColorEdit->GetHeight());
  MarginColorBtn->SetHeight(MarginColorEdit->GetHeight());
  SetCaption(LoadResText(SDisplayPage));
  const std::pair<TControl*, TResTextId> Texts[] = {
      {EditGutterGroup, SEditorGutter}, {GutterVisibleLbl, SGutterVisible}, {WidthLbl, SGutterWidth},
      {ColorGutterLbl, SGutterColor},   {StyleLbl, SGutterStyle},           {EditMarginGroup, SEditorMargin},
      {MarginVisibleCheck, SMarginVisible}, {WitdhMarginLbl, SMarginWidth}, {ColorLbl, SMarginColor},
      {StyleMarginLbl, SMarginStyle},   {PositionLbl, SMarginPosition},     {pcbUseMonoFont, SUseMonoFont},
      {EditFontLbl, SEditorFont},       {SizeLbl, SFontSize},               {EditorColorLbl, SEditorColor},
      {pcbUseReadOnlyColor, SUseReadOnlyColor}, {lblReadOnlyColor, SReadOnlyColor},
      {pcbUseSpecSymbs, SDrawSpecialSymbols}, {lblSSEOF, SSymbolEof},       {lblSSEOL, SSymbolEol},
      {lblSSSpace, SSymbolSpace},       {lblSSTab, SSymbolTab}};
  for (const auto& T : Texts) T.first->SetCaption(LoadResText(T.second));

  TMemoEnvOptions* O = Env();
  // Binding the mono-font box must not rebuild the font list.
  const TNotifyEvent MonoClick = pcbUseMonoFont->OnClick;
  pcbUseMonoFont->OnClick = TNotifyEvent();
  const std::pair<TDCPropCheck*, const char*> Paths[] = {{GutterVisibleLbl, "options.moDrawGutter"},
                                                         {MarginVisibleCheck, "options.moDrawMargin"},
                                                         {pcbUseMonoFont, "UseMonoFont"},
                                                         {pcbUseReadOnlyColor, "options.moUseReadOnlyColor"},
                                                         {pcbUseSpecSymbs, "options.moDrawSpecialSymbols"}};
  for (const auto& B : Paths) {
    B.first->SetComponent(O);
    B.first->SetPropName(B.second);
  }
  pcbUseMonoFont->OnClick = MonoClick;

  GutterWidthEdit->SetText(IntToStr(O->GetGutterWidth()));
  GutterColorEdit->SetSelectedColor(O->GetGutterBrush()->GetColor());
  GutterStyleEdit->SetBrushStyle(O->GetGutterBrush()->GetStyle());
  MarginWidthEdit->SetText(IntToStr(O->GetMarginPen()->GetWidth()));
  MarginColorEdit->SetSelectedColor(O->GetMarginPen()->GetColor());
  MarginStyleEdit->SetPenStyle(O->GetMarginPen()->GetStyle());
  MarginPosEdit->SetText(IntToStr(O->GetMarginPos()));
  EditorColorEd->SetSelectedColor(O->GetColor());
  ReadOnlyColorEd->SetSelectedColor(O->GetReadOnlyColor());
  TSpecialSymbols* S = O->GetSpecialSymbols();
  edtSSEOF->SetText(S->GetEOFString());
  edtSSEOL->SetText(S->GetEOLString());
  edtSSSpace->SetText(S->GetSpaceChar() ? AnsiString(1, S->GetSpaceChar()) : AnsiString());
  edtSSTab->SetText(S->GetTabChar() ? AnsiString(1, S->GetTabChar()) : AnsiString());

  // Only the current name until the list is opened: listing the fonts takes a while.
  FontNameEdit->GetItems()->Clear();
  FontNameEdit->GetItems()->Add(O->GetFont()->GetName());
  FontNameEdit->SetItemIndex(0);
  FontListStale = true;
  TStrings* Sizes = FontSizeEdit->GetItems();
  Sizes->Clear();
  for (const char* Sz : FontSizes) Sizes->Add(Sz);
  FontSizeEdit->SetItemIndex(Sizes->IndexOf(IntToStr(O->GetFont()->GetSize())));
  if (FontSizeEdit->GetItemIndex() < 0) FontSizeEdit->SetText(IntToStr(O->GetFont()->GetSize()));
  pcbUseReadOnlyColorClick(nullptr);
  pcbUseSpecSymbsClick(nullptr);
}

void TDisplayOptForm::GutterWidthEditExit(TObject*) { Env()->SetGutterWidth(StrToInt(GutterWidthEdit->GetText())); }
void TDisplayOptForm::GutterColorEditChange(TObject*) {
  Env()->GetGutterBrush()->SetColor(GutterColorEdit->GetSelectedColor());
}
void TDisplayOptForm::GutterStyleEditChange(TObject*) {
  Env()->GetGutterBrush()->SetStyle(GutterStyleEdit->GetBrushStyle());
}
void TDisplayOptForm::MarginWidthEditExit(TObject*) {
  Env()->GetMarginPen()->SetWidth(StrToInt(MarginWidthEdit->GetText()));
}
void TDisplayOptForm::MarginColorEditChange(TObject*) {
  Env()->GetMarginPen()->SetColor(MarginColorEdit->GetSelectedColor());
}
void TDisplayOptForm::MarginStyleEditChange(TObject*) {
  Env()->GetMarginPen()->SetStyle(MarginStyleEdit->GetPenStyle());
}
void TDisplayOptForm::MarginPosEditExit(TObject*) { Env()->SetMarginPos(StrToInt(MarginPosEdit->GetText())); }
void TDisplayOptForm::FontNameEditChange(TObject*) {
  if (!FontNameEdit->GetText().empty()) Env()->GetFont()->SetName(FontNameEdit->GetText());
}
void TDisplayOptForm::FontSizeEditChange(TObject*) { Env()->GetFont()->SetSize(StrToInt(FontSizeEdit->GetText())); }
void TDisplayOptForm::EditorColorEdChange(TObject*) { Env()->SetColor(EditorColorEd->GetSelectedColor()); }
void TDisplayOptForm::ReadOnlyColorEdChange(TObject*) {
  Env()->SetReadOnlyColor(ReadOnlyColorEd->GetSelectedColor());
}
void TDisplayOptForm::edtSSEOFExit(TObject*) { Env()->GetSpecialSymbols()->SetEOFString(edtSSEOF->GetText()); }
void TDisplayOptForm::edtSSEOLExit(TObject*) { Env()->GetSpecialSymbols()->SetEOLString(edtSSEOL->GetText()); }
void TDisplayOptForm::edtSSSpaceChange(TObject*) {
  const AnsiString T = edtSSSpace->GetText();
  Env()->GetSpecialSymbols()->SetSpaceChar(T.empty() ? '\0' : T[0]);
}
void TDisplayOptForm::edtSSTabChange(TObject*) {
  const AnsiString T = edtSSTab->GetText();
  Env()->GetSpecialSymbols()->SetTabChar(T.empty() ? '\0' : T[0]);
}

void TDisplayOptForm::pcbUseReadOnlyColorClick(TObject*) {
  const bool On = pcbUseReadOnlyColor->GetChecked();
  lblReadOnlyColor->SetEnabled(On);
  ReadOnlyColorEd->SetEnabled(On);
}

void TDisplayOptForm::pcbUseSpecSymbsClick(TObject*) {
  const bool On = pcbUseSpecSymbs->GetChecked();
  for (TControl* C : std::initializer_list<TControl*>{lblSSEOF, edtSSEOF, lblSSEOL, edtSSEOL, lblSSSpace, edtSSSpace,
                                                      lblSSTab, edtSSTab})
    C->SetEnabled(On);
}

void TDisplayOptForm::pcbUseMonoFontClick(TObject*) {
  FontListStale = true;
  BuildFontList(pcbUseMonoFont->GetChecked());
}

void TDisplayOptForm::FontNameEditDropDown(TObject*) {
  if (!FontListStale) return;
  FontListStale = false;
  BuildFontList(pcbUseMonoFont->GetChecked());
}

void TDisplayOptForm::BuildFontList(bool MonoOnly) {
  const TCursor Old = Screen ? Screen->GetCursor() : crDefault;
  if (Screen) Screen->SetCursor(crHourGlass);
  try {
    TStrings* Items = FontNameEdit->GetItems();
    Items->BeginUpdate();
    Items->Clear();
    if (TStrings* Fonts = Screen ? Screen->Fonts() : nullptr)
      for (Integer I = 0; I < Fonts->GetCount(); ++I)
        if (!MonoOnly || IsFixedPitchFont(Fonts->GetStrings(I))) Items->Add(Fonts->GetStrings(I));
    Items->EndUpdate();
    Integer At = -1;
    for (Integer I = 0; I < Items->GetCount() && At < 0; ++I)
      if (SameText(Items->GetStrings(I), Env()->GetFont()->GetName())) At = I;
    if (At < 0 && Items->GetCount() > 0) At = 0;
    FontNameEdit->SetItemIndex(At);
    FontNameEditChange(FontNameEdit);
  } catch (...) {
    if (Screen) Screen->SetCursor(Old);
    throw;
  }
  if (Screen) Screen->SetCursor(Old);
}

void TDisplayOptForm::PickColor(TDCColorCombo* Combo) {
  ColorDialog1->SetColor(TColor(ColorToRGB(Combo->GetSelectedColor())));
  if (ColorDialog1->Execute()) Combo->SetCustomColor(ColorDialog1->GetColor());
}

void TDisplayOptForm::GutterColorBtnClick(TObject*) { PickColor(GutterColorEdit); }
void TDisplayOptForm::MarginColorBtnClick(TObject*) { PickColor(MarginColorEdit); }

void TDisplayOptForm::Dispatch(TMessage& Message) {
  if (Message.Msg == DCM_OPTIONSOK) {
    Env()->Apply();
    return;
  }
  TForm::Dispatch(Message);
}

void RegisterDisplayPage() {
  RegisterClass(TDisplayOptForm::StaticClass());
  RegisterFormDescription("TDisplayOptForm", DisplayPageText);
  RegisterOptionForm(TDisplayOptForm::StaticClass(), 3, LoadResText(SDisplayPage),
                     [] { return new TDisplayOptForm(nullptr); });
}
