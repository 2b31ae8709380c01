#include "platform/forms/ColorDialog.h"

#include <algorithm>
#include <cstdio>

#include "platform/forms/DialogForms_p.h"
#include "platform/forms/Forms.h"
#include "platform/rtl/ClassRegistry.h"

namespace {
// Six rows: light tints, full colours, deeper shades, dark shades, the
// darkest, and the greys from black to white.
const std::array<TColor, 48> Basic = {
    TColor(0x8080FF), TColor(0x80FFFF), TColor(0x80FF80), TColor(0x80FF00),
    TColor(0xFFFF80), TColor(0xFF8000), TColor(0xC080FF), TColor(0xFF80FF),
    TColor(0x0000FF), TColor(0x00FFFF), TColor(0x00FF80), TColor(0x40FF00),
    TColor(0xFFFF00), TColor(0xC08000), TColor(0xC08080), TColor(0xFF00FF),
    TColor(0x404080), TColor(0x4080FF), TColor(0x00FF00), TColor(0x808000),
    TColor(0x804000), TColor(0xFF8080), TColor(0x400080), TColor(0x8000FF),
    TColor(0x000080), TColor(0x0080FF), TColor(0x008000), TColor(0x408000),
    TColor(0xFF0000), TColor(0xA00000), TColor(0x800080), TColor(0xFF0080),
    TColor(0x000040), TColor(0x004080), TColor(0x004000), TColor(0x404000),
    TColor(0x800000), TColor(0x400000), TColor(0x400040), TColor(0x800040),
    TColor(0x000000), TColor(0x008080), TColor(0x408080), TColor(0x808080),
    TColor(0x808040), TColor(0xC0C0C0), TColor(0xE0E0E0), TColor(0xFFFFFF),
};

// "RRGGBB" <-> TColor (whose bytes run blue, green, red from the top).
AnsiString ColorToHex(TColor C) {
  const std::uint32_t V = std::uint32_t(ColorToRGB(C));
  char Buf[8];
  std::snprintf(Buf, sizeof Buf, "%02X%02X%02X", V & 0xFF, (V >> 8) & 0xFF, (V >> 16) & 0xFF);
  return Buf;
}

bool HexToColor(const AnsiString& S, TColor& Out) {
  if (S.empty() || S.size() > 6 || S.find_first_not_of("0123456789abcdefABCDEF") != AnsiString::npos) return false;
  const std::uint32_t V = std::uint32_t(std::stoul(S, nullptr, 16));
  Out = TColor(((V & 0xFF) << 16) | (V & 0xFF00) | ((V >> 16) & 0xFF));
  return true;
}

class TColorSample : public TCustomControl {
  SX_CLASS(TColorSample, TCustomControl)
public:
  using TCustomControl::TCustomControl;
  TColor Sample = clBlack;

protected:
  void Paint() override {
    TCanvas* C = Canvas();
    TRect R = GetClientRect();
    C->Pen()->SetColor(clBtnShadow);
    C->Brush()->SetColor(Sample);
    C->Rectangle(R);
  }
};

class TColorDialogForm : public TForm {
  SX_CLASS(TColorDialogForm, TForm)
public:
  TColorDialogForm(TColorDialog* Dialog) : TForm(nullptr) {
    const TColorDialogOptions Options = Dialog->GetOptions();
    SetName("ColorDialogForm");
    SetCaption("Color");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    GetFont()->SetName("Tahoma");
    GetFont()->SetHeight(-11);
    Current = TColor(ColorToRGB(Dialog->GetColor()));

    BasicSwatches = new TColorSwatches(this, 8, 6);
    BasicSwatches->SetName("BasicColors");
    BasicSwatches->SetParent(this);
    BasicSwatches->SetLeft(8);
    BasicSwatches->SetTop(24);
    BasicSwatches->SetColors({Basic.begin(), Basic.end()});
    MakeDialogLabel(this, this, "&Basic colors:", BasicSwatches, 8, 8);
    CustomSwatches = new TColorSwatches(this, 8, 2);
    CustomSwatches->SetName("CustomColors");
    CustomSwatches->SetParent(this);
    CustomSwatches->SetLeft(8);
    CustomSwatches->SetTop(184);
    const auto Custom = Dialog->CustomColorValues();
    CustomSwatches->SetColors({Custom.begin(), Custom.end()});
    MakeDialogLabel(this, this, "&Custom colors:", CustomSwatches, 8, 168);
    DefineButton = MakeDialogControl<TButton>(this, this, "DefineButton");
    DefineButton->SetCaption("&Define Custom Colors >>");
    DefineButton->SetBounds(8, 236, 208, 23);
    NoFullOpenAllowed = Options.Contains(cdPreventFullOpen);
    DefineButton->OnClick = TNotifyEvent(this, &TColorDialogForm::DefineClick);
    OkButton = MakeDialogControl<TButton>(this, this, "OkButton");
    OkButton->SetCaption("OK");
    OkButton->SetDefault(true);
    OkButton->SetModalResult(mrOk);
    OkButton->SetBounds(8, 268, 66, 23);
    CancelButton = MakeDialogControl<TButton>(this, this, "CancelButton");
    CancelButton->SetCaption("Cancel");
    CancelButton->SetCancel(true);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetBounds(80, 268, 66, 23);

    // The full part: the colour made from its parts.
    Sample = new TColorSample(this);
    Sample->SetName("Sample");
    Sample->SetParent(this);
    Sample->SetBounds(236, 24, 130, 60);
    const char* Names[] = {"&Red:", "&Green:", "Bl&ue:"};
    for (int i = 0; i < 3; ++i) {
      Parts[i] = MakeDialogControl<TEdit>(this, this, i == 0 ? "RedEdit" : i == 1 ? "GreenEdit" : "BlueEdit");
      Parts[i]->SetBounds(300, 96 + i * 28, 66, 21);
      Parts[i]->SetMaxLength(3);
      Parts[i]->OnChange = TNotifyEvent(this, &TColorDialogForm::PartChange);
      MakeDialogLabel(this, this, Names[i], Parts[i], 236, 100 + i * 28);
    }
    AddButton = MakeDialogControl<TButton>(this, this, "AddButton");
    AddButton->SetCaption("&Add to Custom Colors");
    AddButton->SetBounds(236, 184, 130, 23);
    AddButton->OnClick = TNotifyEvent(this, &TColorDialogForm::AddClick);

    BasicSwatches->OnSelect = TSwatchEvent(this, &TColorDialogForm::BasicSelect);
    CustomSwatches->OnSelect = TSwatchEvent(this, &TColorDialogForm::CustomSelect);
    const auto It = std::find(Basic.begin(), Basic.end(), Current);
    if (It != Basic.end()) BasicSwatches->SetSelected(Integer(It - Basic.begin()));
    ShowCurrent();
    SetFullOpen(Options.Contains(cdFullOpen) && !Options.Contains(cdPreventFullOpen));
  }

  void SetFullOpen(bool Value) {
    FullOpen = Value;
    for (TControl* C : {static_cast<TControl*>(Sample), static_cast<TControl*>(AddButton)}) C->SetVisible(Value);
    for (TEdit* E : Parts) E->SetVisible(Value);
    for (Integer i = 0; i < ControlCount(); ++i)
      if (TLabel* L = dynamic_cast<TLabel*>(Controls(i)); L && L->GetLeft() >= 236) L->SetVisible(Value);
    DefineButton->SetEnabled(!Value && !NoFullOpenAllowed);
    SetClientSize({Value ? 378 : 224, 300});
  }

  void ShowCurrent() {
    const std::uint32_t V = std::uint32_t(Current);
    Updating = true;
    Parts[0]->SetText(std::to_string(V & 0xFF));
    Parts[1]->SetText(std::to_string((V >> 8) & 0xFF));
    Parts[2]->SetText(std::to_string((V >> 16) & 0xFF));
    Updating = false;
    Sample->Sample = Current;
    Sample->Invalidate();
  }
  void BasicSelect(TObject*, Integer I) {
    Current = BasicSwatches->Colors()[size_t(I)];
    ShowCurrent();
  }
  void CustomSelect(TObject*, Integer I) {
    Current = CustomSwatches->Colors()[size_t(I)];
    ShowCurrent();
  }
  void PartChange(TObject*) {
    if (Updating) return;
    int V[3];
    for (int i = 0; i < 3; ++i) {
      // What is not a number 0..255 counts as the nearest that is.
      const AnsiString T = Parts[i]->GetText();
      int N = 0;
      for (char Ch : T)
        if (Ch >= '0' && Ch <= '9') N = std::min(255, N * 10 + (Ch - '0'));
      V[i] = N;
    }
    Current = TColor(V[0] | (V[1] << 8) | (V[2] << 16));
    Sample->Sample = Current;
    Sample->Invalidate();
  }
  void DefineClick(TObject*) {
    SetFullOpen(true);
    Parts[0]->SetFocus();
  }
  void AddClick(TObject*) {
    // Into the chosen custom slot, else the next one in turn.
    Integer Slot = CustomSwatches->Selected();
    if (Slot < 0) Slot = NextSlot++ % 16;
    CustomSwatches->SetCellColor(Slot, Current);
  }

  TColorSwatches* BasicSwatches = nullptr;
  TColorSwatches* CustomSwatches = nullptr;
  TButton* DefineButton = nullptr;
  TButton* OkButton = nullptr;
  TButton* CancelButton = nullptr;
  TButton* AddButton = nullptr;
  TColorSample* Sample = nullptr;
  TEdit* Parts[3] = {};
  TColor Current = clBlack;
  bool FullOpen = false;
  bool NoFullOpenAllowed = false;
  bool Updating = false;
  Integer NextSlot = 0;
};
}  // namespace

TColorDialog::TColorDialog(TComponent* AOwner) : TCommonDialog(AOwner), FCustomColors(std::make_unique<TStringList>()) {}

TColorDialog::~TColorDialog() = default;

void TColorDialog::Published(TPublished<TColorDialog>& P) {
  P.Property("Color", &TColorDialog::GetColor, &TColorDialog::SetColor).Default(clBlack);
  P.Property("CustomColors", &TColorDialog::GetCustomColors, &TColorDialog::SetCustomColors);
  P.Property("Options", &TColorDialog::GetOptions, &TColorDialog::SetOptions).Default(TColorDialogOptions{});
  P.Property("OnClose", &TColorDialog::OnClose, &TColorDialog::OnClose);
  P.Property("OnShow", &TColorDialog::OnShow, &TColorDialog::OnShow);
}

const std::array<TColor, 48>& BasicDialogColors() { return Basic; }

std::array<TColor, 16> TColorDialog::CustomColorValues() const {
  std::array<TColor, 16> R;
  R.fill(clWhite);
  for (Integer i = 0; i < FCustomColors->GetCount(); ++i) {
    const AnsiString Line = FCustomColors->GetStrings(i);
    const size_t Eq = Line.find('=');
    if (Eq != 6 || Line.compare(0, 5, "Color") != 0) continue;
    const char Slot = Line[5];
    if (Slot < 'A' || Slot > 'P') continue;
    TColor C;
    if (HexToColor(Line.substr(Eq + 1), C)) R[size_t(Slot - 'A')] = C;
  }
  return R;
}

void TColorDialog::SetCustomColorValues(const std::array<TColor, 16>& Values) {
  FCustomColors->Clear();
  for (size_t i = 0; i < Values.size(); ++i)
    FCustomColors->Add(AnsiString("Color") + char('A' + i) + "=" + ColorToHex(Values[i]));
}

TDialogRequest TColorDialog::MakeRequest() {
  TDialogRequest R;
  R.Kind = ClassName();
  R.Caption = "Color";
  R.Text = ColorToHex(FColor);
  R.Answers = {mrOk, mrCancel};
  return R;
}

TCommonDialog::TAnswerTaken TColorDialog::TakeAnswer(const TDialogAnswer& Answer) {
  if (Answer.Result != mrOk) return TAnswerTaken::Cancelled;
  // The dialog answers plain RGB: a system colour becomes what it shows.
  FColor = TColor(ColorToRGB(Answer.Color));
  return TAnswerTaken::Accepted;
}

TForm* TColorDialog::CreateForm() { return new TColorDialogForm(this); }

void TColorDialog::TakeForm(TForm* Form) {
  auto* F = static_cast<TColorDialogForm*>(Form);
  FColor = F->Current;
  std::array<TColor, 16> Custom;
  for (size_t i = 0; i < Custom.size(); ++i) Custom[i] = F->CustomSwatches->Colors()[i];
  SetCustomColorValues(Custom);
}

void RegisterColorDialogClasses() { RegisterClasses({TColorDialog::StaticClass()}); }
