#include "platform/gdi/DrawingTools.h"

#include <cstring>
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Font.h"
#include "platform/rtl/MulDiv.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/IdentMaps.h"

int PenModeToRop2(TPenMode Mode) {
  static constexpr int Rop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                 R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                 R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                 R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return unsigned(Mode) < std::size(Rop2) ? Rop2[Mode] : R2_COPYPEN;
}

DWORD PenStyleToGdi(TPenStyle Style) {
  static constexpr DWORD Styles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                     PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
  return unsigned(Style) < std::size(Styles) ? Styles[Style] : PS_SOLID;
}

// --- TGraphicsObject ----------------------------------------------------------

TGraphicsObject::~TGraphicsObject() { FreeHandle(); }

void TGraphicsObject::FreeHandle() {
  if (!FHandle) return;
  // A canvas that still has the handle selected keeps it alive: GDI defers
  // the deletion until the handle is deselected.
  DeleteObject(FHandle);
  FHandle = nullptr;
}

void TGraphicsObject::Changed() {
  FreeHandle();
  if (OnChange.Assigned()) OnChange(this);
}

// --- Character set names ----------------------------------------------------------

namespace {
// Writing takes the first name of a value, so HANGEUL_CHARSET wins over its
// alias.
constexpr TIdentMapEntry CharsetNames[] = {
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {HANGUL_CHARSET, "HANGUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
};
}  // namespace

bool CharsetToIdent(Integer Charset, AnsiString& Ident) { return IntToIdent(Charset, Ident, CharsetNames); }

bool IdentToCharset(const AnsiString& Ident, Integer& Charset) { return IdentToInt(Ident, Charset, CharsetNames); }

const TTypeInfo* FontCharsetTypeInfo() {
  static const TTypeInfo Info = NamedIntegerTypeInfo("TFontCharset", &IdentToCharset, &CharsetToIdent);
  return &Info;
}

// --- TFont ------------------------------------------------------------------------

TFont::TFont() = default;

void TFont::Published(TPublished<TFont>& P) {
  P.Property("Charset", &TFont::GetCharset, &TFont::SetCharset).Type(FontCharsetTypeInfo());
  P.Property("Color", &TFont::GetColor, &TFont::SetColor);
  P.Property("Height", &TFont::GetHeight, &TFont::SetHeight);
  P.Property("Name", &TFont::GetName, &TFont::SetName);
  P.Property("Pitch", &TFont::GetPitch, &TFont::SetPitch).Default(fpDefault);
  P.Property("Size", &TFont::GetSize, &TFont::SetSize).Stored(false);
  P.Property("Style", &TFont::GetStyle, &TFont::SetStyle);
}

void TFont::Assign(TPersistent* Source) {
  if (auto* F = dynamic_cast<TFont*>(Source)) {
    if (F == this) return;
    FName = F->FName;
    FStyle = F->FStyle;
    FCharset = F->FCharset;
    FPitch = F->FPitch;
    FColor = F->FColor;
    // Keeps the point size when the two fonts measure at different
    // resolutions (a printer font copied from a screen font).
    if (PixelsPerInch != F->PixelsPerInch)
      FHeight = -MulDiv(F->GetSize(), PixelsPerInch, 72);
    else
      FHeight = F->FHeight;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

Integer TFont::GetSize() const { return -MulDiv(FHeight, 72, PixelsPerInch); }

void TFont::SetSize(Integer Value) { SetHeight(-MulDiv(Value, PixelsPerInch, 72)); }

void TFont::SetHeight(Integer Value) {
  if (FHeight == Value) return;
  FHeight = Value;
  Changed();
}

void TFont::SetName(const TFontName& Value) {
  if (Value.empty() || FName == Value) return;
  FName = Value;
  Changed();
}

void TFont::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TFont::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  // The colour is not part of the handle; only the listeners care.
  if (OnChange.Assigned()) OnChange(this);
}

void TFont::SetCharset(TFontCharset Value) {
  if (FCharset == Value) return;
  FCharset = Value;
  Changed();
}

void TFont::SetPitch(TFontPitch Value) {
  if (FPitch == Value) return;
  FPitch = Value;
  Changed();
}

LOGFONTA TFont::MakeLogFont() const {
  LOGFONTA Lf;
  Lf.lfHeight = FHeight;
  Lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  Lf.lfItalic = FStyle.Contains(fsItalic);
  Lf.lfUnderline = FStyle.Contains(fsUnderline);
  Lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
  Lf.lfCharSet = FCharset;
  Lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  Lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  Lf.lfQuality = DEFAULT_QUALITY;
  Lf.lfPitchAndFamily = FPitch == fpVariable ? VARIABLE_PITCH
                        : FPitch == fpFixed  ? FIXED_PITCH
                                             : DEFAULT_PITCH;
  // "Default" names the default GUI face, as in form files.
  const AnsiString Face = SameText(FName, "Default") ? AnsiString("MS Sans Serif") : FName;
  std::strncpy(Lf.lfFaceName, Face.c_str(), LF_FACESIZE - 1);
  return Lf;
}

HFONT TFont::GetHandle() {
  if (!FHandle) {
    const LOGFONTA Lf = MakeLogFont();
    FHandle = CreateFontIndirectA(&Lf);
    if (!FHandle) throw EOutOfMemory("Out of system resources");
  }
  return static_cast<HFONT>(FHandle);
}

void TFont::SetHandle(HFONT Value) {
  if (Value == FHandle) return;
  LOGFONTA Lf;
  if (!Value || GetObjectA(Value, sizeof(Lf), &Lf) != int(sizeof(Lf)))
    throw EInvalidGraphicOperation("Invalid font handle");
  FreeHandle();
  FHandle = Value;
  FHeight = Lf.lfHeight;
  FStyle.Clear();
  if (Lf.lfWeight >= FW_BOLD) FStyle << fsBold;
  if (Lf.lfItalic) FStyle << fsItalic;
  if (Lf.lfUnderline) FStyle << fsUnderline;
  if (Lf.lfStrikeOut) FStyle << fsStrikeOut;
  FCharset = Lf.lfCharSet;
  const int Pitch = Lf.lfPitchAndFamily & 3;
  FPitch = Pitch == VARIABLE_PITCH ? fpVariable : Pitch == FIXED_PITCH ? fpFixed : fpDefault;
  FName.assign(Lf.lfFaceName, strnlen(Lf.lfFaceName, LF_FACESIZE));
  if (OnChange.Assigned()) OnChange(this);
}

// --- TPen ---------------------------------------------------------------------------

void TPen::Published(TPublished<TPen>& P) {
  P.Property("Color", &TPen::GetColor, &TPen::SetColor).Default(clBlack);
  P.Property("Mode", &TPen::GetMode, &TPen::SetMode).Default(pmCopy);
  P.Property("Style", &TPen::GetStyle, &TPen::SetStyle).Default(psSolid);
  P.Property("Width", &TPen::GetWidth, &TPen::SetWidth).Default(1);
}

void TPen::Assign(TPersistent* Source) {
  if (auto* Pn = dynamic_cast<TPen*>(Source)) {
    if (Pn == this) return;
    FColor = Pn->FColor;
    FMode = Pn->FMode;
    FStyle = Pn->FStyle;
    FWidth = Pn->FWidth;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HPEN TPen::GetHandle() {
  if (!FHandle) {
    LOGPEN Lp;
    Lp.lopnStyle = PenStyleToGdi(FStyle);
    Lp.lopnWidth.x = FWidth;
    Lp.lopnColor = ColorToRGB(FColor);
    FHandle = CreatePenIndirect(&Lp);
    if (!FHandle) throw EOutOfMemory("Out of system resources");
  }
  return static_cast<HPEN>(FHandle);
}

void TPen::SetHandle(HPEN Value) {
  if (Value == FHandle) return;
  LOGPEN Lp;
  if (!Value || GetObjectA(Value, sizeof(Lp), &Lp) != int(sizeof(Lp)))
    throw EInvalidGraphicOperation("Invalid pen handle");
  FreeHandle();
  FHandle = Value;
  FColor = TColor(Lp.lopnColor);
  FWidth = Lp.lopnWidth.x;
  FStyle = psSolid;
  for (int S = psSolid; S <= psInsideFrame; ++S)
    if (PenStyleToGdi(TPenStyle(S)) == (Lp.lopnStyle & PS_STYLE_MASK)) FStyle = TPenStyle(S);
  if (OnChange.Assigned()) OnChange(this);
}

void TPen::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TPen::SetMode(TPenMode Value) {
  if (FMode == Value) return;
  FMode = Value;
  Changed();
}

void TPen::SetStyle(TPenStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TPen::SetWidth(Integer Value) {
  if (Value < 0 || FWidth == Value) return;
  FWidth = Value;
  Changed();
}

// --- TBrush -------------------------------------------------------------------------

void TBrush::Published(TPublished<TBrush>& P) {
  P.Property("Color", &TBrush::GetColor, &TBrush::SetColor).Default(clWhite);
  P.Property("Style", &TBrush::GetStyle, &TBrush::SetStyle).Default(bsSolid);
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* B = dynamic_cast<TBrush*>(Source)) {
    if (B == this) return;
    FColor = B->FColor;
    FStyle = B->FStyle;
    FBitmap = B->FBitmap;
    Changed();
    return;
  }
  inherited::Assign(Source);
}

HBRUSH TBrush::GetHandle() {
  if (!FHandle) {
    if (FBitmap && !FBitmap->Empty() && FStyle != bsClear) {
      FHandle = CreatePatternBrush(FBitmap->GetHandle());
    } else {
      LOGBRUSH Lb;
      Lb.lbColor = ColorToRGB(FColor);
      if (FStyle == bsSolid) {
        Lb.lbStyle = BS_SOLID;
      } else if (FStyle == bsClear) {
        Lb.lbStyle = BS_HOLLOW;
      } else {
        Lb.lbStyle = BS_HATCHED;
        Lb.lbHatch = std::uintptr_t(FStyle - bsHorizontal);
      }
      FHandle = CreateBrushIndirect(&Lb);
    }
    if (!FHandle) throw EOutOfMemory("Out of system resources");
  }
  return static_cast<HBRUSH>(FHandle);
}

void TBrush::SetHandle(HBRUSH Value) {
  if (Value == FHandle) return;
  LOGBRUSH Lb;
  if (!Value || GetObjectA(Value, sizeof(Lb), &Lb) != int(sizeof(Lb)))
    throw EInvalidGraphicOperation("Invalid brush handle");
  FreeHandle();
  FHandle = Value;
  FBitmap = nullptr;
  FColor = TColor(Lb.lbColor);
  if (Lb.lbStyle == BS_HOLLOW)
    FStyle = bsClear;
  else if (Lb.lbStyle == BS_HATCHED && Lb.lbHatch <= HS_DIAGCROSS)
    FStyle = TBrushStyle(bsHorizontal + int(Lb.lbHatch));
  else
    FStyle = bsSolid;
  if (OnChange.Assigned()) OnChange(this);
}

void TBrush::SetColor(TColor Value) {
  if (FColor == Value && FStyle != bsClear) return;
  FColor = Value;
  if (FStyle == bsClear) FStyle = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
  if (FBitmap == Value) return;
  FBitmap = Value;
  Changed();
}
