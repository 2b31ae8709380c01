#include "editor/options/MemoEnvOptions.h"
#include "platform/rtl/Guards.h"

namespace {

TGlobalTextLook GlobalLook() {
  TMemoEnvOptions* O = GetMemoEnvOptions();
  return TGlobalTextLook{O->GetTextStyles(), O->GetFont(), O->GetColor()};
}

void LimitPenWidth(TPen* Pen) {
  if (Pen->GetWidth() > 2) Pen->SetWidth(2);
}

}  // namespace

TMemoEnvOptions::TMemoEnvOptions()
    : FGutterBrush(std::make_unique<TBrush>()),
      FMarginPen(std::make_unique<TPen>()),
      FLineSeparator(std::make_unique<TLineSeparator>()),
      FLineHighlight(std::make_unique<TLineHighlight>()),
      FFont(std::make_unique<TMemoFont>(this)),
      FTextStyles(std::make_unique<TTextStyles>(this)),
      FSpecialSymbols(std::make_unique<TSpecialSymbols>()) {}

TMemoEnvOptions::~TMemoEnvOptions() {
  FGutterBrush->OnChange = nullptr;
  FMarginPen->OnChange = nullptr;
  FLineSeparator->GetPen()->OnChange = nullptr;
  FLineHighlight->GetPen()->OnChange = nullptr;
  FLineHighlight->GetBrush()->OnChange = nullptr;
  FFont->OnChange = nullptr;
}

void TMemoEnvOptions::Published(TPublished<TMemoEnvOptions>& P) {
  P.Property("Options", &TMemoEnvOptions::GetOptions, &TMemoEnvOptions::SetOptions);
  P.Property("KeyMapping", &TMemoEnvOptions::GetKeyMapping, &TMemoEnvOptions::SetKeyMapping);
  P.Property("MarginPos", &TMemoEnvOptions::GetMarginPos, &TMemoEnvOptions::SetMarginPos);
  P.Property("GutterWidth", &TMemoEnvOptions::GetGutterWidth, &TMemoEnvOptions::SetGutterWidth);
  P.Property("GutterBrush", &TMemoEnvOptions::GetGutterBrush, &TMemoEnvOptions::SetGutterBrush);
  P.Property("MarginPen", &TMemoEnvOptions::GetMarginPen, &TMemoEnvOptions::SetMarginPen);
  P.Property("LineSeparator", &TMemoEnvOptions::GetLineSeparator, &TMemoEnvOptions::SetLineSeparator);
  P.Property("LineHighlight", &TMemoEnvOptions::GetLineHighlight, &TMemoEnvOptions::SetLineHighlight);
  P.Property("Font", &TMemoEnvOptions::GetFont, &TMemoEnvOptions::SetFont);
  P.Property("TextStyles", &TMemoEnvOptions::GetTextStyles, &TMemoEnvOptions::SetTextStyles);
  P.Property("Color", &TMemoEnvOptions::GetColor, &TMemoEnvOptions::SetColor);
  P.Property("UseMonoFont", &TMemoEnvOptions::GetUseMonoFont, &TMemoEnvOptions::SetUseMonoFont);
  P.Property("ReadOnlyColor", &TMemoEnvOptions::GetReadOnlyColor, &TMemoEnvOptions::SetReadOnlyColor);
  P.Property("SpecialSymbols", &TMemoEnvOptions::GetSpecialSymbols, &TMemoEnvOptions::SetSpecialSymbols);
  P.Property("ColorSchema", &TMemoEnvOptions::GetColorSchema, &TMemoEnvOptions::SetColorSchema);
}

void TMemoEnvOptions::SetDefaults() {
  FInDefaults = true;
  try {
    FMarginPos = 80;
    FGutterWidth = 32;
    FOptions = TMemoOptions{moDrawMargin, moDrawGutter, moThumbTracking, moColorSyntax};
    FKeyMapping = "Default";
    FGutterBrush->SetColor(clBtnFace);
    FGutterBrush->SetStyle(bsSolid);
    FMarginPen->SetWidth(1);
    FMarginPen->SetStyle(psSolid);
    FMarginPen->SetColor(clGrayText);
    for (TPen* Pen : {FLineSeparator->GetPen(), FLineHighlight->GetPen()}) {
      Pen->SetWidth(1);
      Pen->SetStyle(psSolid);
      Pen->SetColor(clGrayText);
    }
    FLineSeparator->SetOptions({});
    FLineHighlight->GetBrush()->SetColor(clBtnFace);
    FLineHighlight->GetBrush()->SetStyle(bsSolid);
    FLineHighlight->SetVisible(false);
    FLineHighlight->SetShape(shDoubleLine);
    FFont->SetName("Courier New");
    FFont->SetSize(10);
    FFont->SetColor(clBlack);
    const TNotifyEvent Handler(this, &TMemoEnvOptions::SubObjectChanged);
    FGutterBrush->OnChange = Handler;
    FMarginPen->OnChange = Handler;
    FLineSeparator->GetPen()->OnChange = Handler;
    FLineHighlight->GetPen()->OnChange = Handler;
    FLineHighlight->GetBrush()->OnChange = Handler;
    FFont->OnChange = Handler;
    FColor = clWindow;
    FTextStyles->SetDefaultStyles();
    FUseMonoFont = true;
    FReadOnlyColor = clWindow;
    FSpecialSymbols->SetEOLString(AnsiString(1, TSpecialSymbols::DefaultEOL));
    FSpecialSymbols->SetEOFString("_");
    FSpecialSymbols->SetSpaceChar(0);
    FSpecialSymbols->SetTabChar(0);
  } catch (...) {
    FInDefaults = false;
    throw;
  }
  FInDefaults = false;
}

void TMemoEnvOptions::Changed() {
  if (FInDefaults || SuppressChanged()) return;
  BroadcastOptionsChanged();
}

void TMemoEnvOptions::LoadOptions() {
  FInDefaults = true;
  try {
    inherited::LoadOptions();
  } catch (...) {
    FInDefaults = false;
    throw;
  }
  FInDefaults = false;
}

void TMemoEnvOptions::SubObjectChanged(TObject*) {
  if (!FInDefaults) Changed();
}

void TMemoEnvOptions::SetOptions(TMemoOptions Value) {
  if (FOptions == Value) return;
  FOptions = Value;
  Changed();
}

void TMemoEnvOptions::SetKeyMapping(const AnsiString& Value) {
  if (FKeyMapping == Value) return;
  FKeyMapping = Value;
  Changed();
}

void TMemoEnvOptions::SetMarginPos(Integer Value) {
  if (Value < 2 || FMarginPos == Value) return;
  FMarginPos = Value;
  Changed();
}

void TMemoEnvOptions::SetGutterWidth(Integer Value) {
  if (Value < 5 || FGutterWidth == Value) return;
  FGutterWidth = Value;
  Changed();
}

void TMemoEnvOptions::SetGutterBrush(TBrush* Value) {
  FGutterBrush->Assign(Value);
  Changed();
}

void TMemoEnvOptions::SetMarginPen(TPen* Value) {
  FMarginPen->Assign(Value);
  LimitPenWidth(FMarginPen.get());
  Changed();
}

void TMemoEnvOptions::SetLineSeparator(TLineSeparator* Value) {
  FLineSeparator->Assign(Value);
  LimitPenWidth(FLineSeparator->GetPen());
  Changed();
}

void TMemoEnvOptions::SetLineHighlight(TLineHighlight* Value) {
  FLineHighlight->Assign(Value);
  LimitPenWidth(FLineHighlight->GetPen());
  Changed();
}

void TMemoEnvOptions::SetSpecialSymbols(TSpecialSymbols* Value) {
  FSpecialSymbols->Assign(Value);
  Changed();
}

void TMemoEnvOptions::SetFont(TMemoFont* Value) {
  FFont->Assign(Value);
  Changed();
}

void TMemoEnvOptions::SetTextStyles(TTextStyles* Value) {
  FTextStyles->Assign(Value);
  Changed();
}

void TMemoEnvOptions::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TMemoEnvOptions::SetUseMonoFont(bool Value) {
  if (FUseMonoFont == Value) return;
  FUseMonoFont = Value;
  Changed();
}

void TMemoEnvOptions::SetReadOnlyColor(TColor Value) {
  if (FReadOnlyColor == Value) return;
  FReadOnlyColor = Value;
  Changed();
}

TMemoEnvOptions* GetMemoEnvOptions() {
  TMemoEnvOptions* O = GetGlobalOptions<TMemoEnvOptions>();
  static const bool Installed = (SetGlobalTextLookSource(&GlobalLook), true);
  (void)Installed;
  return O;
}

void ApplyGlobalOptionsTo(TCustomDCMemo* Memo) {
  TMemoEnvOptions* O = GetMemoEnvOptions();
  TTextStyles* Styles = Memo->GetTextStyles();
  Styles->BeginUpdate();
  {
    TUpdateGuard Update(*Styles, UpdateBegun);
    // The order of the option names as the options publish them: the key
    // mapping first, the text styles after the font and colour they follow.
    Memo->SetKeyMapping(O->GetKeyMapping());
    Memo->SetOptions(O->GetOptions());
    Memo->SetMarginPos(O->GetMarginPos());
    Memo->SetGutterWidth(O->GetGutterWidth());
    Memo->SetGutterBrush(O->GetGutterBrush());
    Memo->SetMarginPen(O->GetMarginPen());
    Memo->SetLineSeparator(O->GetLineSeparator());
    Memo->SetLineHighlight(O->GetLineHighlight());
    Memo->SetSpecialSymbols(O->GetSpecialSymbols());
    Memo->SetFont(O->GetFont());
    Memo->SetColor(O->GetColor());
    Memo->SetTextStyles(O->GetTextStyles());
    Memo->SetUseMonoFont(O->GetUseMonoFont());
    Memo->SetReadOnlyColor(O->GetReadOnlyColor());
    Memo->SetColor(O->GetColor());
  }
  Styles->UpdateFromMemo();
}
