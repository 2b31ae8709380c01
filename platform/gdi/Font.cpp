#include "platform/gdi/Font.h"

#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>

#include "platform/gdi/DcObject.h"
#include "platform/rtl/CodePages.h"

namespace {

std::string KeyOf(const LOGFONTW& Lf) {
  std::string K(reinterpret_cast<const char*>(&Lf), offsetof(LOGFONTW, lfFaceName));
  for (int I = 0; I < LF_FACESIZE && Lf.lfFaceName[I]; ++I) {
    K += char(Lf.lfFaceName[I] & 0xFF);
    K += char(Lf.lfFaceName[I] >> 8);
  }
  return K;
}

std::unordered_map<std::string, HFONT>& Interned() {
  static std::unordered_map<std::string, HFONT> Map;
  return Map;
}

}  // namespace

int TFontObject::GetObjectData(int Size, void* Buffer) const {
  if (Size >= int(sizeof(LOGFONTW))) {
    if (Buffer) std::memcpy(Buffer, &LogFont, sizeof(LOGFONTW));
    return sizeof(LOGFONTW);
  }
  if (!Buffer) return sizeof(LOGFONTA);
  const LOGFONTA A = LogFontWToA(LogFont);
  const int N = std::min<int>(Size, sizeof(LOGFONTA));
  if (N <= 0) return 0;
  std::memcpy(Buffer, &A, size_t(N));
  return N;
}

bool TFontObject::ReleaseShare() {
  if (Shares > 1) {
    --Shares;
    return false;
  }
  Interned().erase(KeyOf(LogFont));
  return true;
}

HFONT CreateFontIndirectW(const LOGFONTW* Lf) {
  if (!Lf) return nullptr;
  LOGFONTW Copy = *Lf;
  // Everything after the terminator is not part of the description.
  bool Ended = false;
  for (auto& C : Copy.lfFaceName) {
    if (Ended) C = 0;
    else if (!C) Ended = true;
  }
  Copy.lfFaceName[LF_FACESIZE - 1] = 0;
  const std::string Key = KeyOf(Copy);
  auto& Map = Interned();
  if (auto It = Map.find(Key); It != Map.end()) {
    auto* Obj = GdiLookupAs<TFontObject>(It->second);
    if (Obj && !Obj->DeletePending) {
      ++Obj->Shares;
      return It->second;
    }
    Map.erase(It);
  }
  auto Obj = std::make_unique<TFontObject>();
  Obj->LogFont = Copy;
  HFONT H = HFONT(GdiAddObject(std::move(Obj)));
  if (H) Map[Key] = H;
  return H;
}

LOGFONTW LogFontAToW(const LOGFONTA& Lf) {
  LOGFONTW W;
  std::memcpy(static_cast<void*>(&W), &Lf, offsetof(LOGFONTA, lfFaceName));
  size_t N = 0;
  while (N < LF_FACESIZE && Lf.lfFaceName[N]) ++N;
  const WideString Face = AnsiToWide(std::string_view(Lf.lfFaceName, N));
  for (size_t I = 0; I < Face.size() && I < LF_FACESIZE - 1; ++I) W.lfFaceName[I] = Face[I];
  return W;
}

LOGFONTA LogFontWToA(const LOGFONTW& Lf) {
  LOGFONTA A;
  std::memcpy(static_cast<void*>(&A), &Lf, offsetof(LOGFONTW, lfFaceName));
  size_t N = 0;
  while (N < LF_FACESIZE && Lf.lfFaceName[N]) ++N;
  const AnsiString Face = WideToAnsi(std::u16string_view(Lf.lfFaceName, N));
  // At most 31 bytes, so the name stays terminated.
  std::memcpy(A.lfFaceName, Face.data(), std::min<size_t>(Face.size(), LF_FACESIZE - 1));
  return A;
}

HFONT CreateFontIndirectA(const LOGFONTA* Lf) {
  if (!Lf) return nullptr;
  const LOGFONTW W = LogFontAToW(*Lf);
  return CreateFontIndirectW(&W);
}

HFONT CreateFontW(int Height, int Width, int Escapement, int Orientation, int Weight, DWORD Italic,
                  DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision, DWORD ClipPrecision,
                  DWORD Quality, DWORD PitchAndFamily, const WCHAR* Face) {
  LOGFONTW Lf;
  Lf.lfHeight = Height;
  Lf.lfWidth = Width;
  Lf.lfEscapement = Escapement;
  Lf.lfOrientation = Orientation;
  Lf.lfWeight = Weight;
  Lf.lfItalic = BYTE(Italic);
  Lf.lfUnderline = BYTE(Underline);
  Lf.lfStrikeOut = BYTE(StrikeOut);
  Lf.lfCharSet = BYTE(CharSet);
  Lf.lfOutPrecision = BYTE(OutPrecision);
  Lf.lfClipPrecision = BYTE(ClipPrecision);
  Lf.lfQuality = BYTE(Quality);
  Lf.lfPitchAndFamily = BYTE(PitchAndFamily);
  for (int I = 0; Face && Face[I] && I < LF_FACESIZE - 1; ++I) Lf.lfFaceName[I] = Face[I];
  return CreateFontIndirectW(&Lf);
}

HFONT CreateFontA(int Height, int Width, int Escapement, int Orientation, int Weight, DWORD Italic,
                  DWORD Underline, DWORD StrikeOut, DWORD CharSet, DWORD OutPrecision, DWORD ClipPrecision,
                  DWORD Quality, DWORD PitchAndFamily, const char* Face) {
  const WideString W = Face ? AnsiToWide(std::string_view(Face)) : WideString();
  return CreateFontW(Height, Width, Escapement, Orientation, Weight, Italic, Underline, StrikeOut, CharSet,
                     OutPrecision, ClipPrecision, Quality, PitchAndFamily, W.c_str());
}

// The stock fonts: the screen's system font (a bold 16-pixel cell), the
// dialog font, and the fixed-pitch ones, on the faces that stand in for them.
HGDIOBJ GdiCreateStockFont(int Index) {
  LOGFONTW Lf;
  const char16_t* Face = u"System";
  switch (Index) {
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
      Lf.lfHeight = 16;
      Lf.lfWeight = FW_BOLD;
      Lf.lfCharSet = ANSI_CHARSET;
      Lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
      break;
    case DEFAULT_GUI_FONT:
      Lf.lfHeight = -11;
      Lf.lfWeight = FW_NORMAL;
      Lf.lfCharSet = DEFAULT_CHARSET;
      Face = u"MS Shell Dlg";
      break;
    case ANSI_VAR_FONT:
      Lf.lfHeight = 12;
      Lf.lfWeight = FW_NORMAL;
      Lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
      Face = u"MS Sans Serif";
      break;
    case ANSI_FIXED_FONT:
    case OEM_FIXED_FONT:
    case SYSTEM_FIXED_FONT:
      Lf.lfHeight = 12;
      Lf.lfWeight = FW_NORMAL;
      Lf.lfCharSet = Index == OEM_FIXED_FONT ? OEM_CHARSET : ANSI_CHARSET;
      Lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
      Face = u"Courier New";
      break;
    default:
      return nullptr;
  }
  for (int I = 0; Face[I]; ++I) Lf.lfFaceName[I] = Face[I];
  auto Obj = std::make_unique<TFontObject>();
  Obj->LogFont = Lf;
  return GdiAddObject(std::move(Obj));
}

const LOGFONTW& GdiCurrentLogFont(const TDC& Dc) {
  if (auto* F = GdiLookupAs<TFontObject>(Dc.State().Font)) return F->LogFont;
  auto* Sys = GdiLookupAs<TFontObject>(GdiStockObject(SYSTEM_FONT));
  static const LOGFONTW Empty;
  return Sys ? Sys->LogFont : Empty;
}

std::shared_ptr<TFontInstance> GdiRealizeFont(const TDC& Dc) {
  LOGFONTW Dev = GdiCurrentLogFont(Dc);
  auto Scale = [](LONG V, double S) {
    if (V == 0) return LONG(0);
    LONG R = LONG(std::lround(std::abs(double(V)) * S));
    if (R < 1) R = 1;
    return V < 0 ? -R : R;
  };
  Dev.lfHeight = Scale(Dev.lfHeight, Dc.DeviceScaleY());
  Dev.lfWidth = Scale(Dev.lfWidth, Dc.DeviceScaleX());
  // Text calls come in runs on one font: remember the last realization so
  // they skip the engine's keyed look-up.
  static LOGFONTW LastLf;
  static std::shared_ptr<TFontInstance> Last;
  if (Last && std::memcmp(&LastLf, &Dev, sizeof(LOGFONTW)) == 0) return Last;
  Last = TFontInstance::Get(Dev);
  LastLf = Dev;
  return Last;
}
