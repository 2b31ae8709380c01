#include "platform/forms/FontDialog.h"

#include <algorithm>

#include "platform/forms/DialogForms_p.h"
#include "platform/forms/Forms.h"
#include "platform/forms/ListCtrls.h"
#include "platform/gdi/FontEngine.h"
#include "platform/rtl/ClassRegistry.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"

namespace {
const Integer Sizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
const char* const StyleNames[] = {"Regular", "Italic", "Bold", "Bold Italic"};
struct TNamedColor {
  const char* Name;
  TColor Color;
};
const TNamedColor EffectColors[] = {
    {"Black", clBlack},   {"Maroon", clMaroon}, {"Green", clGreen},     {"Olive", clOlive},
    {"Navy", clNavy},     {"Purple", clPurple}, {"Teal", clTeal},       {"Gray", clGray},
    {"Silver", clSilver}, {"Red", clRed},       {"Lime", clLime},       {"Yellow", clYellow},
    {"Blue", clBlue},     {"Fuchsia", clFuchsia}, {"Aqua", clAqua},     {"White", clWhite},
};

// A whole number of points, or 0 when the text is not one.
Integer ParseSize(const AnsiString& T) {
  Integer N = 0;
  if (T.empty() || T.size() > 4) return 0;
  for (char C : T) {
    if (C < '0' || C > '9') return 0;
    N = N * 10 + (C - '0');
  }
  return N;
}

Integer StyleIndex(TFontStyles S) { return (S.Contains(fsItalic) ? 1 : 0) + (S.Contains(fsBold) ? 2 : 0); }

class TFontSample : public TCustomControl {
  SX_CLASS(TFontSample, TCustomControl)
public:
  using TCustomControl::TCustomControl;

protected:
  void Paint() override {
    TCanvas* C = Canvas();
    const TRect R = GetClientRect();
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(R);
    C->Font()->Assign(GetFont());
    DrawDialogText(C, "AaBbYyZz", R, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
};

class TFontDialogForm : public TForm {
  SX_CLASS(TFontDialogForm, TForm)
public:
  explicit TFontDialogForm(TFontDialog* Dialog) : TForm(nullptr), FDialog(Dialog) {
    const TFontDialogOptions Options = Dialog->GetOptions();
    TFont* Font = Dialog->GetFont();
    SetName("FontDialogForm");
    SetCaption("Font");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    GetFont()->SetName("Tahoma");
    GetFont()->SetHeight(-11);
    SetClientSize({440, 268});

    FamilyEdit = MakeDialogControl<TEdit>(this, this, "FamilyEdit");
    FamilyEdit->SetBounds(8, 24, 160, 21);
    FamilyList = MakeDialogControl<TListBox>(this, this, "FamilyList");
    FamilyList->SetBounds(8, 46, 160, 110);
    MakeDialogLabel(this, this, "&Font:", FamilyEdit, 8, 8);
    StyleEdit = MakeDialogControl<TEdit>(this, this, "StyleEdit");
    StyleEdit->SetBounds(176, 24, 110, 21);
    StyleEdit->SetReadOnly(true);
    StyleList = MakeDialogControl<TListBox>(this, this, "StyleList");
    StyleList->SetBounds(176, 46, 110, 110);
    MakeDialogLabel(this, this, "Font st&yle:", StyleList, 176, 8);
    SizeEdit = MakeDialogControl<TEdit>(this, this, "SizeEdit");
    SizeEdit->SetBounds(294, 24, 56, 21);
    SizeList = MakeDialogControl<TListBox>(this, this, "SizeList");
    SizeList->SetBounds(294, 46, 56, 110);
    MakeDialogLabel(this, this, "&Size:", SizeEdit, 294, 8);
    OkButton = MakeDialogControl<TButton>(this, this, "OkButton");
    OkButton->SetCaption("OK");
    OkButton->SetDefault(true);
    OkButton->SetBounds(360, 24, 72, 23);
    OkButton->OnClick = TNotifyEvent(this, &TFontDialogForm::OkClick);
    CancelButton = MakeDialogControl<TButton>(this, this, "CancelButton");
    CancelButton->SetCaption("Cancel");
    CancelButton->SetCancel(true);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetBounds(360, 54, 72, 23);
    if (Options.Contains(fdApplyButton)) {
      TButton* Apply = MakeDialogControl<TButton>(this, this, "ApplyButton");
      Apply->SetCaption("&Apply");
      Apply->SetBounds(360, 84, 72, 23);
      Apply->OnClick = TNotifyEvent(this, &TFontDialogForm::ApplyClick);
    }

    Effects = MakeDialogControl<TGroupBox>(this, this, "EffectsGroup");
    Effects->SetCaption("Effects");
    Effects->SetBounds(8, 164, 160, 96);
    StrikeCheck = MakeDialogControl<TCheckBox>(Effects, this, "StrikeOutCheck");
    StrikeCheck->SetCaption("Stri&keout");
    StrikeCheck->SetBounds(10, 18, 140, 17);
    UnderlineCheck = MakeDialogControl<TCheckBox>(Effects, this, "UnderlineCheck");
    UnderlineCheck->SetCaption("&Underline");
    UnderlineCheck->SetBounds(10, 38, 140, 17);
    ColorCombo = MakeDialogControl<TComboBox>(Effects, this, "ColorCombo");
    ColorCombo->SetStyle(csDropDownList);
    ColorCombo->SetBounds(56, 64, 94, 21);
    MakeDialogLabel(Effects, this, "&Color:", ColorCombo, 10, 68);
    Effects->SetVisible(Options.Contains(fdEffects));
    SampleGroup = MakeDialogControl<TGroupBox>(this, this, "SampleGroup");
    SampleGroup->SetCaption("Sample");
    SampleGroup->SetBounds(176, 164, 256, 96);
    Sample = new TFontSample(this);
    Sample->SetName("Sample");
    Sample->SetParent(SampleGroup);
    Sample->SetBounds(8, 18, 240, 70);
    Sample->SetParentFont(false);

    for (const AnsiString& F : Dialog->Families()) FamilyList->GetItems()->Add(F);
    for (const char* S : StyleNames) StyleList->GetItems()->Add(S);
    for (Integer S : Sizes) {
      if (Options.Contains(fdLimitSize) && ((Dialog->GetMinFontSize() > 0 && S < Dialog->GetMinFontSize()) ||
                                            (Dialog->GetMaxFontSize() > 0 && S > Dialog->GetMaxFontSize())))
        continue;
      SizeList->GetItems()->Add(std::to_string(S));
    }
    for (const TNamedColor& C : EffectColors) ColorCombo->GetItems()->Add(C.Name);

    // Start with the dialog's font.
    FamilyEdit->SetText(Font->GetName());
    FamilyList->SetItemIndex(FamilyList->GetItems()->IndexOf(Font->GetName()));
    StyleList->SetItemIndex(StyleIndex(Font->GetStyle()));
    StyleEdit->SetText(StyleNames[StyleIndex(Font->GetStyle())]);
    SizeEdit->SetText(std::to_string(Font->GetSize()));
    SizeList->SetItemIndex(SizeList->GetItems()->IndexOf(std::to_string(Font->GetSize())));
    StrikeCheck->SetChecked(Font->GetStyle().Contains(fsStrikeOut));
    UnderlineCheck->SetChecked(Font->GetStyle().Contains(fsUnderline));
    FColor = Font->GetColor();
    Integer CI = -1;
    for (size_t i = 0; i < std::size(EffectColors); ++i)
      if (ColorToRGB(EffectColors[i].Color) == ColorToRGB(FColor)) CI = Integer(i);
    if (CI < 0) {
      ColorCombo->GetItems()->Add("Custom");
      CI = Integer(std::size(EffectColors));
    }
    ColorCombo->SetItemIndex(CI);

    FamilyList->OnClick = TNotifyEvent(this, &TFontDialogForm::FamilyClick);
    StyleList->OnClick = TNotifyEvent(this, &TFontDialogForm::StyleClick);
    SizeList->OnClick = TNotifyEvent(this, &TFontDialogForm::SizeClick);
    FamilyEdit->OnChange = TNotifyEvent(this, &TFontDialogForm::FamilyTyped);
    SizeEdit->OnChange = TNotifyEvent(this, &TFontDialogForm::Changed);
    StrikeCheck->OnClick = TNotifyEvent(this, &TFontDialogForm::Changed);
    UnderlineCheck->OnClick = TNotifyEvent(this, &TFontDialogForm::Changed);
    ColorCombo->OnChange = TNotifyEvent(this, &TFontDialogForm::Changed);
    UpdateSample();
    SetActiveControl(FamilyEdit);
  }

  TFontStyles ChosenStyle() const {
    TFontStyles S;
    const Integer I = std::max<Integer>(0, StyleList->GetItemIndex());
    if (I & 1) S.Include(fsItalic);
    if (I & 2) S.Include(fsBold);
    if (FDialog->GetOptions().Contains(fdEffects)) {
      if (StrikeCheck->GetChecked()) S.Include(fsStrikeOut);
      if (UnderlineCheck->GetChecked()) S.Include(fsUnderline);
    }
    return S;
  }
  TColor ChosenColor() const {
    const Integer I = ColorCombo->GetItemIndex();
    if (I >= 0 && size_t(I) < std::size(EffectColors)) return EffectColors[I].Color;
    return FColor;
  }
  void UpdateSample() {
    TFont* F = Sample->GetFont();
    F->SetName(FamilyEdit->GetText());
    const Integer Size = ParseSize(SizeEdit->GetText());
    F->SetSize(Size > 0 ? std::min<Integer>(Size, 48) : 10);
    F->SetStyle(ChosenStyle());
    F->SetColor(FDialog->GetOptions().Contains(fdEffects) ? ChosenColor() : clWindowText);
    Sample->Invalidate();
  }
  void FamilyClick(TObject*) {
    const Integer I = FamilyList->GetItemIndex();
    if (I >= 0) FamilyEdit->SetText(FamilyList->GetItems()->GetStrings(I));
  }
  void FamilyTyped(TObject*) {
    // The list follows what is typed: the first family it begins.
    const AnsiString T = FamilyEdit->GetText();
    if (!T.empty()) {
      TStrings* Items = FamilyList->GetItems();
      for (Integer i = 0; i < Items->GetCount(); ++i) {
        const AnsiString N = Items->GetStrings(i);
        if (N.size() >= T.size() && CompareText(N.substr(0, T.size()), T) == 0) {
          if (FamilyList->GetItemIndex() != i) FamilyList->SetItemIndex(i);
          break;
        }
      }
    }
    UpdateSample();
  }
  void StyleClick(TObject*) {
    const Integer I = StyleList->GetItemIndex();
    if (I >= 0) StyleEdit->SetText(StyleNames[I]);
    UpdateSample();
  }
  void SizeClick(TObject*) {
    const Integer I = SizeList->GetItemIndex();
    if (I >= 0) SizeEdit->SetText(SizeList->GetItems()->GetStrings(I));
  }
  void Changed(TObject*) { UpdateSample(); }
  void ApplyClick(TObject*) {
    // The font so far goes to the dialog's Font, and the program shows it.
    if (!FDialog->CheckChoice(FamilyEdit->GetText(), ParseSize(SizeEdit->GetText()))) return;
    FDialog->ApplyForm(this);
    if (FDialog->OnApply) FDialog->OnApply(FDialog);
  }
  void OkClick(TObject*) {
    if (FDialog->CheckChoice(FamilyEdit->GetText(), ParseSize(SizeEdit->GetText()))) SetModalResult(mrOk);
  }

  TFontDialog* FDialog;
  TEdit* FamilyEdit = nullptr;
  TListBox* FamilyList = nullptr;
  TEdit* StyleEdit = nullptr;
  TListBox* StyleList = nullptr;
  TEdit* SizeEdit = nullptr;
  TListBox* SizeList = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
  TGroupBox* Effects = nullptr;
  TCheckBox* StrikeCheck = nullptr;
  TCheckBox* UnderlineCheck = nullptr;
  TComboBox* ColorCombo = nullptr;
  TGroupBox* SampleGroup = nullptr;
  TFontSample* Sample = nullptr;
  TColor FColor = clBlack;
};
}  // namespace

TFontDialog::TFontDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFont(std::make_unique<TFont>()) {}

TFontDialog::~TFontDialog() = default;

void TFontDialog::Published(TPublished<TFontDialog>& P) {
  P.Property("Font", &TFontDialog::GetFont, &TFontDialog::SetFont);
  P.Property("Device", &TFontDialog::GetDevice, &TFontDialog::SetDevice).Default(fdScreen);
  P.Property("MinFontSize", &TFontDialog::GetMinFontSize, &TFontDialog::SetMinFontSize).Default(0);
  P.Property("MaxFontSize", &TFontDialog::GetMaxFontSize, &TFontDialog::SetMaxFontSize).Default(0);
  P.Property("Options", &TFontDialog::GetOptions, &TFontDialog::SetOptions).Default(TFontDialogOptions{fdEffects});
  P.Property("OnApply", &TFontDialog::OnApply, &TFontDialog::OnApply);
  P.Property("OnClose", &TFontDialog::OnClose, &TFontDialog::OnClose);
  P.Property("OnShow", &TFontDialog::OnShow, &TFontDialog::OnShow);
}

std::vector<AnsiString> TFontDialog::Families() const {
  std::vector<AnsiString> R;
  for (const TFontFamilyInfo& F : AvailableFontFamilies()) {
    if (F.Name.empty() || F.Name[0] == u'@') continue;
    if ((FOptions.Contains(fdTrueTypeOnly) || FOptions.Contains(fdScalableOnly)) && !F.TrueType) continue;
    bool Lost = false;
    const AnsiString Name = WideToAnsi(F.Name, CP_ACP, &Lost);
    if (Lost) continue;  // a TFont could not hold the name
    R.push_back(Name);
  }
  std::sort(R.begin(), R.end(), [](const AnsiString& A, const AnsiString& B) { return CompareText(A, B) < 0; });
  R.erase(std::unique(R.begin(), R.end(), [](const AnsiString& A, const AnsiString& B) { return CompareText(A, B) == 0; }),
          R.end());
  return R;
}

bool TFontDialog::CheckChoice(const AnsiString& Name, Integer Size) {
  const std::vector<AnsiString> F = Families();
  if (std::none_of(F.begin(), F.end(), [&](const AnsiString& N) { return CompareText(N, Name) == 0; })) {
    MessageDlg("There is no font with that name.\r\nChoose a font from the list of fonts.", mtWarning, {mbOK}, 0);
    return false;
  }
  if (Size <= 0) {
    MessageDlg("Size must be a number.", mtWarning, {mbOK}, 0);
    return false;
  }
  if (FOptions.Contains(fdLimitSize) &&
      ((FMinFontSize > 0 && Size < FMinFontSize) || (FMaxFontSize > 0 && Size > FMaxFontSize))) {
    MessageDlg("Size must be between " + std::to_string(FMinFontSize) + " and " + std::to_string(FMaxFontSize) +
                   " points.",
               mtWarning, {mbOK}, 0);
    return false;
  }
  return true;
}

TDialogRequest TFontDialog::MakeRequest() {
  TDialogRequest R;
  R.Kind = ClassName();
  R.Caption = "Font";
  R.Text = FFont->GetName() + ", " + std::to_string(FFont->GetSize());
  R.Answers = {mrOk, mrCancel};
  return R;
}

TCommonDialog::TAnswerTaken TFontDialog::TakeAnswer(const TDialogAnswer& Answer) {
  if (Answer.Result != mrOk) return TAnswerTaken::Cancelled;
  const TDialogFont& A = Answer.Font;
  const AnsiString Name = A.Name.empty() ? FFont->GetName() : A.Name;
  const Integer Size = A.Size > 0 ? A.Size : FFont->GetSize();
  if (!CheckChoice(Name, Size)) return TAnswerTaken::Rejected;
  // The family as the list spells it.
  AnsiString Spelled = Name;
  for (const AnsiString& N : Families())
    if (CompareText(N, Name) == 0) Spelled = N;
  FFont->SetName(Spelled);
  FFont->SetSize(Size);
  FFont->SetStyle(A.Style);
  FFont->SetColor(A.Color);
  return TAnswerTaken::Accepted;
}

TForm* TFontDialog::CreateForm() { return new TFontDialogForm(this); }

void TFontDialog::TakeForm(TForm* Form) { ApplyForm(Form); }

void TFontDialog::ApplyForm(TForm* Form) {
  auto* F = static_cast<TFontDialogForm*>(Form);
  AnsiString Name = F->FamilyEdit->GetText();
  for (const AnsiString& N : Families())
    if (CompareText(N, Name) == 0) Name = N;
  FFont->SetName(Name);
  FFont->SetSize(ParseSize(F->SizeEdit->GetText()));
  FFont->SetStyle(F->ChosenStyle());
  if (FOptions.Contains(fdEffects)) FFont->SetColor(F->ChosenColor());
}

void RegisterFontDialogClasses() { RegisterClasses({TFontDialog::StaticClass()}); }
