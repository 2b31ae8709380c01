// dxBarExtCombos.cpp — the colour and font-name combos.
#include <cstdint>
#include "bars/extitems/dxBarExtItemControls.h"
#include "bars/extitems/dxBarExtItems.h"
#include "bars/model/dxBarStrs.h"
#include "platform/forms/Screen.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Rects.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/win/Resources.h"

namespace {
struct TStandardColor {
  unsigned Name;
  TColor Color;
};
const TStandardColor StandardColors[16] = {
    {65035, TColor(0x000000)}, {65036, TColor(0x000080)}, {65037, TColor(0x008000)}, {65038, TColor(0x008080)},
    {65039, TColor(0x800000)}, {65008, TColor(0x800080)}, {65009, TColor(0x808000)}, {65010, TColor(0x808080)},
    {65011, TColor(0xC0C0C0)}, {65012, TColor(0x0000FF)}, {65013, TColor(0x00FF00)}, {65014, TColor(0x00FFFF)},
    {65015, TColor(0xFF0000)}, {65016, TColor(0xFF00FF)}, {65017, TColor(0xFFFF00)}, {65018, TColor(0xFFFFFF)},
};
}  // namespace

void TdxBarColorCombo::Published(TPublished<TdxBarColorCombo>& P) {
  P.Property("AutoColor", &TdxBarColorCombo::GetAutoColor, &TdxBarColorCombo::SetAutoColor).Default(clWindowText);
  P.Property("AutoColorText", &TdxBarColorCombo::GetAutoColorText, &TdxBarColorCombo::SetAutoColorText);
  P.Property("Color", &TdxBarColorCombo::GetColor, &TdxBarColorCombo::SetColor).NoDefault();
  P.Property("CustomColorText", &TdxBarColorCombo::GetCustomColorText, &TdxBarColorCombo::SetCustomColorText);
  P.Property("ShowAutoColor", &TdxBarColorCombo::GetShowAutoColor, &TdxBarColorCombo::SetShowAutoColor)
      .Default(false);
}

TdxBarColorCombo::TdxBarColorCombo(TComponent* AOwner)
    : TdxBarCustomCombo(AOwner),
      FAutoColorText(dxBarStr(dxSBAR_COLORAUTOTEXT)),
      FCustomColorText(dxBarStr(dxSBAR_COLORCUSTOMTEXT)) {
  SetDropDownCount(16);
  if (HBITMAP H = LoadProgramBitmap("DXBARCOLORCOMBO")) GetGlyph()->SetHandle(H);
  FillColorList();
  SelectIndex(0);
}

void TdxBarColorCombo::FillColorList() {
  Items()->Clear();
  if (FShowAutoColor) Items()->Add(FAutoColorText);
  for (const TStandardColor& C : StandardColors) Items()->Add(dxBarStr(C.Name));
}

TColor TdxBarColorCombo::GetColorOfIndex(Integer Index) const {
  const Integer Auto = FShowAutoColor ? 1 : 0;
  if (Index < 0 || Index >= Auto + 16) return FColor;
  if (Auto && Index == 0) return FAutoColor;
  return StandardColors[Index - Auto].Color;
}

Integer TdxBarColorCombo::GetIndexOfColor(TColor Value) const {
  const Integer Auto = FShowAutoColor ? 1 : 0;
  if (Auto && Value == FAutoColor) return 0;
  for (Integer I = 0; I < 16; ++I)
    if (ColorToRGB(StandardColors[I].Color) == ColorToRGB(Value)) return Auto + I;
  return -1;
}

void TdxBarColorCombo::SelectIndex(Integer Index) {
  if (!FSelecting && Index >= 0 && Index < Items()->GetCount()) FColor = GetColorOfIndex(Index);
  SetItemIndex(Index);
}

void TdxBarColorCombo::SetText(const AnsiString& Value) {
  // Color is right before OnChange reports the new entry.
  if (!FSelecting)
    if (const Integer I = Items()->IndexOf(Value); I >= 0) FColor = GetColorOfIndex(I);
  TdxBarCustomCombo::SetText(Value);
}

void TdxBarColorCombo::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FSelecting = true;
  const Integer I = GetIndexOfColor(Value);
  if (I == GetItemIndex()) {
    RepaintControls();
    if (OnChange && !ItemLoading()) OnChange(this);
  } else {
    SetItemIndex(I);
  }
  FSelecting = false;
}

void TdxBarColorCombo::SetAutoColor(TColor Value) {
  if (FAutoColor == Value) return;
  FAutoColor = Value;
  if (FShowAutoColor) {
    FSelecting = true;
    SetItemIndex(GetIndexOfColor(FColor));
    FSelecting = false;
  }
  RepaintControls();
}

void TdxBarColorCombo::SetAutoColorText(const AnsiString& Value) {
  if (FAutoColorText == Value) return;
  FAutoColorText = Value;
  if (FShowAutoColor) Items()->SetStrings(0, Value);
  RepaintControls();
}

void TdxBarColorCombo::SetShowAutoColor(bool Value) {
  if (FShowAutoColor == Value) return;
  const Integer OldCount = 16 + (FShowAutoColor ? 1 : 0);
  FShowAutoColor = Value;
  FSelecting = true;
  if (Value) Items()->Insert(0, FAutoColorText);
  else Items()->Delete(0);
  if (GetDropDownCount() == OldCount) SetDropDownCount(16 + (Value ? 1 : 0));
  SetItemIndex(GetIndexOfColor(FColor));
  FSelecting = false;
  RepaintControls();
}

void TdxBarColorCombo::DrawItem(TCanvas* C, Integer Index, const TRect& R, bool Focused) const {
  const TColor Brush = C->Brush()->GetColor();
  const AnsiString Text = Index < 0 ? FCustomColorText : Items()->GetStrings(Index);
  // No swatch for a colour that is neither RGB nor a known system colour.
  const bool Swatch = !(Index < 0 && std::int32_t(FColor) < 0 && std::uint32_t(FColor) > 0xFF000018u);
  TRect TextArea = R;
  if (Swatch) TextArea.Left += 30;
  C->FillRect(TextArea);
  C->TextOut(TextArea.Left + 1, (R.Top + R.Bottom - C->TextHeight(Text)) / 2, Text);
  if (Swatch) {
    TRect S{R.Left, R.Top, R.Left + 30, R.Bottom};
    C->FrameRect(S);
    InflateRect(&S, -1, -1);
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(S);
    InflateRect(&S, -1, -1);
    C->Brush()->SetColor(GetColorOfIndex(Index));
    C->FillRect(S);
  }
  C->Brush()->SetColor(Brush);
  if (Focused) C->DrawFocusRect(R);
}

// ---------------------------------------------------------------------------
// Font names

void TdxBarFontNameCombo::Published(TPublished<TdxBarFontNameCombo>& P) {
  P.Property("DropDownCount", &TdxBarFontNameCombo::GetDropDownCount, &TdxBarFontNameCombo::SetDropDownCount)
      .Default(12);
}

TdxBarFontNameCombo::TdxBarFontNameCombo(TComponent* AOwner) : TdxBarCustomCombo(AOwner) {
  SetDropDownCount(12);
  if (HBITMAP H = LoadProgramBitmap("DXBARFONTNAMECOMBO")) GetGlyph()->SetHandle(H);
  SetSorted(true);
  // The screen's families; every family the platform offers is scalable.
  if (Screen) Items()->Assign(Screen->Fonts());
  for (Integer I = 0; I < Items()->GetCount(); ++I) Items()->SetObjects(I, this);
  SetWidth(160);
}

void TdxBarFontNameCombo::SetText(const AnsiString& Value) {
  for (Integer I = 0; I < Items()->GetCount(); ++I)
    if (AnsiCompareText(Items()->GetStrings(I), Value) == 0) {
      TdxBarCustomCombo::SetText(Items()->GetStrings(I));
      return;
    }
  TdxBarCustomCombo::SetText(Value);
}
