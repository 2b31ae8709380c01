#include "export/engine/EngineBasics.h"
#include <vector>
#include "platform/gdi/DcApi.h"
#include "platform/gdi/GdiGuards.h"
#include "platform/gdi/Text.h"

namespace {
Integer ReadScreenPPI() {
  TUniqueDc Dc(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
  Integer P = Dc ? GetDeviceCaps(Dc.Get(), LOGPIXELSY) : 0;
  return P > 0 ? P : 96;
}

// A screen DC for measuring, made once.
HDC MeasureDC() {
  static HDC Dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  return Dc;
}
}  // namespace

Integer gtScreenPPI() {
  static const Integer P = ReadScreenPPI();
  return P;
}

double gtScreenPPP() { return gtScreenPPI() / 72.0; }

double UnitFactor(TgtUnitType Unit) {
  const long double S = static_cast<long double>(gtScreenPPI()) / 72.0L;
  switch (Unit) {
    case muPixels: return 1.0;
    case muInches: return static_cast<double>(S * 72.0L);
    case muMM: return static_cast<double>(S * 2.83464L);
    case muPoints: return static_cast<double>(S);
    case muTwips: return static_cast<double>(S * 0.05L);
  }
  return 1.0;
}

double PixelsToPoints(double X) { return X / gtScreenPPI() * 72.0; }
double PointsToPixels(double X) { return X * gtScreenPPP(); }

const char* const SFileCreateError =
    "File could not be created!\r\n\r\nPossible cause: It could be in use by some other application";
AnsiString FileCreateErrorText(const AnsiString& Cause) {
  if (Cause.empty()) return SFileCreateError;
  return AnsiString(SFileCreateError) + "\r\n\r\n" + Cause;
}

const char* const SInvalidPageNumber = "Invalid Page Number";
const char* const SInvalidEngineState = "Not a valid Engine State identifier";
const char* const SUnsupportedGraphics = "Unknown Graphics format";

const char* const gtPenStyleNames[7] = {"solid", "dashed", "dotted", "dashed", "dashed", "dashed", "dashed"};
const TgtCharsetEntry gtCharsetTable[14] = {
    {"ISO-8859-11", 874}, {"Windows-932", 932}, {"gb2312-80", 936}, {"Windows-949", 949},
    {"csbig5", 950},      {"ISO-10646", 1200},  {"ISO-8859-2", 1250}, {"ISO-8859-5", 1251},
    {"ISO-8859-1", 1252}, {"ISO-8859-7", 1253}, {"ISO-8859-9", 1254}, {"ISO-8859-8", 1255},
    {"ISO-8859-6", 1256}, {"ISO-8859-13", 1257}};

TSize GetTextSize(const WideString& Text, TFont* Font) {
  HDC Dc = MeasureDC();
  TSize Size;
  if (!Dc || !Font) return Size;
  TSelectObjectGuard Select(Dc, Font->GetHandle());
  GetTextExtentPoint32W(Dc, reinterpret_cast<const WCHAR*>(Text.data()), Integer(Text.size()), &Size);
  return Size;
}

TSize GetTextSizeA(const AnsiString& Text, TFont* Font) {
  HDC Dc = MeasureDC();
  TSize Size;
  if (!Dc || !Font) return Size;
  TSelectObjectGuard Select(Dc, Font->GetHandle());
  GetTextExtentPoint32A(Dc, Text.data(), Integer(Text.size()), &Size);
  return Size;
}

WideString ReverseCharacters(const WideString& Text) { return WideString(Text.rbegin(), Text.rend()); }

WideString JustifyLine(const WideString& Text, TFont* Font, double Width) {
  if (Text.empty()) return Text;
  // Pieces end after each blank (leading blanks stay with the first piece).
  std::vector<WideString> Pieces;
  WideString Cur;
  bool SeenNonBlank = false;
  for (char16_t C : Text) {
    Cur += C;
    if (C != u' ') SeenNonBlank = true;
    else if (SeenNonBlank) { Pieces.push_back(Cur); Cur.clear(); }
  }
  if (!Cur.empty()) Pieces.push_back(Cur);
  if (Pieces.size() < 2) {
    Pieces.clear();
    for (char16_t C : Text) Pieces.push_back(WideString(1, C));
  }
  const double Blank = GetTextSize(u" ", Font).cx;
  const double Missing = Width - GetTextSize(Text, Font).cx;
  Integer Blanks = Blank > 0 && Missing > 0 ? Integer(Missing / Blank) : 0;
  Integer Gaps = Integer(Pieces.size()) - 1;
  WideString Out;
  for (std::size_t I = 0; I < Pieces.size(); ++I) {
    Out += Pieces[I];
    if (Gaps > 0 && I + 1 < Pieces.size()) {
      Integer N = Blanks / Gaps;
      Out.append(std::size_t(N), u' ');
      Blanks -= N;
      --Gaps;
    }
  }
  return Out;
}

WideString ExtractAfterLastBackslash(const WideString& Text) {
  auto P = Text.rfind(u'\\');
  return P == WideString::npos ? Text : Text.substr(P + 1);
}

WideString TrimTrailingCRLF(const WideString& Text) {
  if (Text.size() >= 2 && Text[Text.size() - 2] == u'\r' && Text.back() == u'\n')
    return Text.substr(0, Text.size() - 2);
  return Text;
}

Integer FindPathEnd(const WideString& Text) {
  auto Slash = Text.rfind(u'\\');
  if (Slash == WideString::npos) return 0;
  auto Dot = Text.find(u'.', Slash + 1);
  if (Dot == WideString::npos) return 0;
  auto Blank = Text.find(u' ', Dot + 1);
  if (Blank == WideString::npos) return Integer(Text.size()) + 1;
  return Integer(Blank) + 1;
}
