// Font.h — logical fonts as GDI objects. One handle per distinct description:
// creating a font equal to a live one returns the same handle, because the
// text model compares styles by handle. The handle counts its creators, and
// DeleteObject frees it only when the last of them lets go.
//
// A font object holds only the description. The realized face (metrics and
// glyphs) comes from the font engine at the device size of the DC it is
// drawn on, so one handle serves every map mode and resolution.
#pragma once
#include <memory>
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/FontTypes.h"
#include "platform/gdi/GdiObjectTable.h"

class TDC;

struct TFontObject : TGdiObject {
  TFontObject() : TGdiObject(OBJ_FONT) {}
  // GetObject answers LOGFONTW to a buffer that size or larger, else LOGFONTA.
  int GetObjectData(int Size, void* Buffer) const override;
  // False while other creators still hold the shared handle.
  bool ReleaseShare() override;

  LOGFONTW LogFont;
  int Shares = 1;
};

HFONT CreateFontIndirectW(const LOGFONTW* Lf);
HFONT CreateFontIndirectA(const LOGFONTA* Lf);
HFONT CreateFontW(int Height, int Width, int Escapement, int Orientation, int Weight, DWORD Italic,
                  DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision, DWORD ClipPrecision,
                  DWORD Quality, DWORD PitchAndFamily, const WCHAR* Face);
HFONT CreateFontA(int Height, int Width, int Escapement, int Orientation, int Weight, DWORD Italic,
                  DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision, DWORD ClipPrecision,
                  DWORD Quality, DWORD PitchAndFamily, const char* Face);

// Face names convert through the ANSI code page.
LOGFONTW LogFontAToW(const LOGFONTA& Lf);
LOGFONTA LogFontWToA(const LOGFONTW& Lf);

// The description of the DC's current font (the stock system font when none
// is selected), and that font realized at the DC's device size.
const LOGFONTW& GdiCurrentLogFont(const TDC& Dc);
std::shared_ptr<TFontInstance> GdiRealizeFont(const TDC& Dc);
