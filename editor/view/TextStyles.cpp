#include "editor/view/TextStyles.h"

#include "editor/base/PersHolder.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/GdiObjectTable.h"
#include "platform/gdi/Text.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Guards.h"

namespace {

struct TDefaultStyle {
  const char* Name;
  TColor FontColor;
  TFontStyles FontStyle;
  TColor Back;
  bool UseMemoColor;
  TUpdateMemoColors Update;
};

const TFontStyles NoStyle{};
const TFontStyles Bold{fsBold};
const TFontStyles Italic{fsItalic};
const TFontStyles Underline{fsUnderline};

const TDefaultStyle DefaultStyles[TTextStyles::DefaultStyleCount] = {
    {"Whitespace", clBlack, NoStyle, clWindow, true, mcNone},
    {"String", clMaroon, NoStyle, clWindow, true, mcNone},
    {"Comment", clGray, Italic, clWindow, true, mcNone},
    {"Identifier", clBlack, NoStyle, clWindow, true, mcNone},
    {"Integer", clGreen, NoStyle, clWindow, true, mcNone},
    {"Float", clGreen, NoStyle, clWindow, true, mcNone},
    {"Reserved words", clBlue, Bold, clWindow, true, mcNone},
    {"Delimiters", clBlack, NoStyle, clWindow, true, mcNone},
    {"Defines", clGreen, NoStyle, clWindow, true, mcNone},
    {"Assembler", clGreen, NoStyle, clWindow, true, mcNone},
    {"Html tags", clBlue, NoStyle, clWindow, true, mcNone},
    {"Html params", clBlue, NoStyle, clWindow, true, mcNone},
    {"Url", clBlue, Underline, clWindow, true, mcNone},
    {"BreakPoint", clWindow, NoStyle, clRed, false, mcNone},
    {"Error line", clWindow, NoStyle, clMaroon, false, mcNone},
    {"Marked Block", clWhite, NoStyle, clNavy, false, mcSelection},
    {"Search Match", clLime, NoStyle, clBlack, false, mcSearchMatch},
    {"Emphasis", clBlack, Bold, clWindow, true, mcNone},
    {"System Variable", clBlue, NoStyle, clWindow, true, mcNone},
    {"Script Whitespace", clTeal, NoStyle, clWindow, true, mcNone},
    {"Script Delimiters", clBlack, NoStyle, clWindow, true, mcNone},
    {"Script Comment", clGray, Italic, clWindow, true, mcNone},
    {"Script String", clMaroon, NoStyle, clWindow, true, mcNone},
    {"Script Number", clBlue, NoStyle, clWindow, true, mcNone},
    {"Script ResWord", clBlack, Bold, clWindow, true, mcNone},
};

}  // namespace

AnsiString DefaultTextStyleName(Integer I) {
  if (I < 0 || I >= TTextStyles::DefaultStyleCount) return "";
  return DefaultStyles[I].Name;
}

// ---------------------------------------------------------------------------
// TTextStyle

TTextStyle::TTextStyle(TCollection* ACollection)
    : TDCNamedItem(ACollection), FFont(std::make_unique<TMemoFont>(this)), FBrush(std::make_unique<TBrush>()) {
  FBrush->SetColor(FColor);
  FFont->OnChange = TNotifyEvent(this, &TTextStyle::FontChanged);
}

TTextStyle::~TTextStyle() { FFont->OnChange = nullptr; }

void TTextStyle::Published(TPublished<TTextStyle>& P) {
  P.Property("Name", &TTextStyle::GetName, &TTextStyle::SetName);
  P.Property("Color", &TTextStyle::GetColor, &TTextStyle::SetColor).Stored(&TTextStyle::IsColorStored);
  P.Property("Font", &TTextStyle::GetFont, &TTextStyle::SetFont).Stored(&TTextStyle::IsFontStored);
  P.Property("UpdateMemoColors", &TTextStyle::GetUpdateMemoColors, &TTextStyle::SetUpdateMemoColors);
  P.Property("UseMemoColor", &TTextStyle::GetUseMemoColor, &TTextStyle::SetUseMemoColor);
  P.Property("UseMemoFont", &TTextStyle::GetUseMemoFont, &TTextStyle::SetUseMemoFont);
  P.Property("UpperCase", &TTextStyle::GetUpperCase, &TTextStyle::SetUpperCase).Default(false);
}

TTextStyles* TTextStyle::Styles() const { return dynamic_cast<TTextStyles*>(Collection()); }

TTextStylesHost* TTextStyle::Host() const {
  TTextStyles* S = Styles();
  return S ? S->Host() : nullptr;
}

void TTextStyle::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FUseMemoColor = false;
  FBrush->SetColor(Value);
  ApplyToMemo();
  ItemChanged();
}

void TTextStyle::SetFont(TMemoFont* Value) {
  if (Value) FFont->Assign(Value);
}

void TTextStyle::FontChanged(TObject* /*Sender*/) {
  FUseMemoFont = false;
  ApplyToMemo();
  ItemChanged();
  if (TTextStyles* S = Styles()) S->ParserAttrsChanged(/*Force=*/false);
}

void TTextStyle::SetUseMemoColor(bool Value) {
  if (FUseMemoColor == Value) return;
  if (Value && FUpdateMemoColors != mcNone) return;
  FUseMemoColor = Value;
  if (Value) {
    if (TTextStylesHost* H = Host()) {
      TakeMemoColor(H->StylesMemoColor());
    } else if (!(Styles() && Styles()->ApplyingScheme)) {
      TakeMemoColor(clWindow);
    }
  }
  ItemChanged();
}

void TTextStyle::SetUseMemoFont(bool Value) {
  if (FUseMemoFont == Value) return;
  if (Value && FUpdateMemoColors != mcNone) return;
  FUseMemoFont = Value;
  if (Value) {
    if (TTextStylesHost* H = Host()) TakeMemoFont(H->StylesMemoFont(), /*NameAndSizeOnly=*/false);
  }
  ItemChanged();
}

void TTextStyle::TakeMemoColor(TColor Value) {
  const bool Keep = FUseMemoColor;
  SetColor(Value);
  FUseMemoColor = Keep;
}

void TTextStyle::TakeMemoFont(TFont* Value, bool NameAndSizeOnly) {
  if (!Value) return;
  const bool Keep = FUseMemoFont;
  if (NameAndSizeOnly) {
    FFont->SetName(Value->GetName());
    FFont->SetSize(Value->GetSize());
  } else {
    FFont->Assign(Value);
  }
  FUseMemoFont = Keep;
}

void TTextStyle::SetUpdateMemoColors(TUpdateMemoColors Value) {
  FUpdateMemoColors = Value;
  ApplyToMemo();
}

void TTextStyle::SetUpperCase(bool Value) {
  if (FUpperCase == Value) return;
  FUpperCase = Value;
  if (TTextStyles* S = Styles()) S->ParserAttrsChanged(/*Force=*/true);
  ItemChanged();
}

void TTextStyle::ApplyToMemo() {
  if (FUpdateMemoColors == mcNone) return;
  if (TTextStylesHost* H = Host()) H->StylesApplyMemoColors(FUpdateMemoColors, FFont->GetColor(), FColor);
}

// ---------------------------------------------------------------------------
// TTextStyles

TTextStyles::TTextStyles(TPersistent* AOwner) : TDCNamedItems(AOwner, TTextStyle::StaticClass()) {}

TTextStylesHost* TTextStyles::Host() const { return dynamic_cast<TTextStylesHost*>(Owner()); }

void TTextStyles::Assign(TPersistent* Source) {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    inherited::Assign(Source);
  }
}

void TTextStyles::EndUpdate() {
  const bool Closing = UpdateCount() == 1;
  inherited::EndUpdate();
  if (!Closing) return;
  if (TTextStylesHost* H = Host()) {
    const bool Reparse = FReparsePending;
    FReparsePending = false;
    H->StylesUpdated(Reparse);
  }
}

void TTextStyles::ParserAttrsChanged(bool Force) {
  TTextStylesHost* H = Host();
  if (!H) return;
  if (!Force && H->StylesMonospacedLayout()) return;
  if (UpdateCount() == 0)
    H->StylesReparse();
  else
    FReparsePending = true;
}

void TTextStyles::SetDefaultStyles() {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    Clear();
    for (const TDefaultStyle& D : DefaultStyles) {
      auto* S = static_cast<TTextStyle*>(Add());
      S->SetName(D.Name);
      S->FFont->SetColor(D.FontColor);
      S->FFont->SetStyle(D.FontStyle);
      S->FUseMemoFont = false;
      S->SetColor(D.Back);
      S->FUseMemoColor = D.UseMemoColor;
      S->FUpdateMemoColors = D.Update;
    }
  }
}

void TTextStyles::UpdateFromMemo() {
  TTextStylesHost* H = Host();
  if (!H) return;
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    for (Integer I = 0; I < Count(); ++I) {
      TTextStyle* S = GetItem(I);
      if (S->FUseMemoColor) S->TakeMemoColor(H->StylesMemoColor());
      if (S->FUseMemoFont) S->TakeMemoFont(H->StylesMemoFont(), /*NameAndSizeOnly=*/false);
      S->TakeMemoFont(H->StylesMemoFont(), /*NameAndSizeOnly=*/true);
    }
  }
}

namespace {

// Metrics of one font on a memory DC of the screen's resolution.
TEXTMETRICA MeasureFont(TFont* Font) {
  TEXTMETRICA Tm{};
  HDC Dc = CreateCompatibleDC(nullptr);
  if (!Dc) return Tm;
  HGDIOBJ Old = SelectObject(Dc, Font->GetHandle());
  GetTextMetricsA(Dc, &Tm);
  SelectObject(Dc, Old);
  DeleteDC(Dc);
  return Tm;
}

}  // namespace

Integer TTextStyles::MaxCharWidth() const {
  Integer Result = -1;
  for (Integer I = 0; I < Count(); ++I) Result = std::max<Integer>(Result, MeasureFont(GetItem(I)->GetFont()).tmAveCharWidth);
  return Result;
}

Integer TTextStyles::MaxFontHeight() const {
  Integer Result = -1;
  for (Integer I = 0; I < Count(); ++I) Result = std::max<Integer>(Result, MeasureFont(GetItem(I)->GetFont()).tmHeight);
  return Result;
}

void TTextStyles::LoadFromFile(const AnsiString& FileName) {
  BeginUpdate();
  {
    TUpdateGuard Update(*this, UpdateBegun);
    ReadObjectTextFile(this, FileName);
  }
}

AnsiString TTextStyles::SaveToFile(const AnsiString& FileName) {
  const AnsiString Name = ChangeFileExt(FileName, ".RGB");
  WriteObjectTextFile(this, Name);
  return Name;
}

// ---------------------------------------------------------------------------
// Global look

namespace {
TGlobalTextLookSource& LookSource() {
  static TGlobalTextLookSource Source = nullptr;
  return Source;
}
}  // namespace

TGlobalTextLookSource SetGlobalTextLookSource(TGlobalTextLookSource Source) {
  TGlobalTextLookSource Old = LookSource();
  LookSource() = Source;
  return Old;
}

bool GetGlobalTextLook(TGlobalTextLook& Look) {
  if (!LookSource()) return false;
  Look = LookSource()();
  return true;
}

TTextStyle* FindGlobalTextStyle(const TGlobalTextLook& Look, const AnsiString& Name) {
  if (!Look.Styles) return nullptr;
  const Integer I = Look.Styles->IndexOfName(Name);
  return I >= 0 ? Look.Styles->GetItem(I) : nullptr;
}
