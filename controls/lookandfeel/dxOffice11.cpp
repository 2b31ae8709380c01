#include "controls/lookandfeel/dxOffice11.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include "controls/base/cxGraphics.h"
#include "controls/lookandfeel/dxThemeManager.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/MulDiv.h"
#include "platform/win/Resources.h"
#include "platform/win/SysBitmaps.h"
#include "platform/win/UxTheme.h"

namespace {

// Rows of the three Luna colour schemes (blue, olive, silver), $BBGGRR.
constexpr std::uint32_t SchemeTable[3][49] = {
    {0xFEECDD, 0xE2A981, 0xF5BE9E, 0xF9DAC3, 0x913500, 0xF1A675, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE,
     0x9C613B, 0xE0A47B, 0x764127, 0xFFFFFF, 0xCB8C6A, 0xFFF9F1, 0xC9662A, 0xF9DBC4, 0x962D00, 0xF6F6F6,
     0xC2EEFF, 0x800000, 0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xFCE1CB, 0x6FC0FF, 0x3E80FE, 0xF0C7A9,
     0x000000, 0x8D8D8D, 0xFBDABE, 0x94E6FB, 0xFADAC4, 0x962D00, 0xB96837, 0x962D00, 0xFBE5D3, 0xE4AE88,
     0xDCFFFF, 0x5BC0F7, 0x94E6FB, 0x1595EE, 0x087FE8, 0x7CDAF7, 0xD68759, 0x933803, 0xFFFFFF},
    {0xDEF7F4, 0x91C6B7, 0xA7D9D9, 0xE4F0F2, 0x6B7760, 0x8CC2B0, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE,
     0x588060, 0x8FC4B5, 0x335E51, 0xFFFFFF, 0x588060, 0xDEF7F4, 0x5E8674, 0xADDEE1, 0x5E8D75, 0xEEF4F4,
     0xC2EEFF, 0x385D3F, 0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xB6E3D8, 0x6FC0FF, 0x3E80FE, 0x9FD4C5,
     0x000000, 0x8D8D8D, 0x91BAAF, 0x94E6FB, 0xE4F1F2, 0x588060, 0x548973, 0x5E8D75, 0xDBF5F2, 0x97C9BC,
     0xDCFFFF, 0x5BC0F7, 0x94E6FB, 0x1595EE, 0x087FE8, 0x7CDAF7, 0x82C0AF, 0x447A63, 0xFFFFFF},
    {0xFAF4F3, 0xB59799, 0xE5D7D7, 0xF7F3F3, 0x927476, 0xC8B2B3, 0x76C1FF, 0xD3F8FF, 0x98DDFF, 0x5295FE,
     0x947C7C, 0xB09193, 0x755454, 0xFFFFFF, 0x8F6D6E, 0xFFFFFF, 0x99797A, 0xE4DADB, 0x947C7C, 0xFFFAFD,
     0xC2EEFF, 0x6F4B4B, 0xCCF4FF, 0x91D0FF, 0x8ED3FF, 0x4E91FE, 0xE7D3D6, 0x6FC0FF, 0x3E80FE, 0xD3C0C0,
     0x000000, 0x8D8D8D, 0xEBE5E5, 0x94E6FB, 0xF7F3F3, 0x947C7C, 0x916F70, 0x947C7C, 0xF8F1F0, 0xBA9EA0,
     0xDCFFFF, 0x5BC0F7, 0x94E6FB, 0x1595EE, 0x087FE8, 0x7CDAF7, 0xBFA7A8, 0x916F70, 0xFFFFFF},
};
// The slot each entry of a row feeds.
constexpr int EntrySlot[49] = {3,  4,  1,  2,  8,  5,  9,  6,  10, 7,  11, 12, 19, 20, 21, 22, 25,
                               26, 39, 32, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 52, 53, 59, 60,
                               62, 61, 64, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 77};
constexpr int GradientPercents[4] = {75, 41, 125, 40};

struct TScheme {
  int Index = 0;
  bool Themed = false;
  int GradientPercent = 75;
  std::array<TColor, 80> S{};  // 1..79
  int LockCount = 0;
  std::array<HBRUSH, 17> B{};  // 1..16; 12, 14 and 15 share handles
  std::unique_ptr<TBitmap> Minus, Plus, SubMenuExpand;
};
TScheme& Scheme() {
  static TScheme S;
  return S;
}

int R_(COLORREF C) { return int(C & 0xFF); }
int G_(COLORREF C) { return int((C >> 8) & 0xFF); }
int B_(COLORREF C) { return int((C >> 16) & 0xFF); }
TColor RGBColor(int R, int G, int B) {
  auto Clamp = [](int V) { return std::clamp(V, 0, 255); };
  return TColor(Clamp(R) | (Clamp(G) << 8) | (Clamp(B) << 16));
}

int DetectScheme() {
  if (!AreThemesAvailable(0)) return 0;
  WCHAR File[1024] = {}, Color[1024] = {}, Size[1024] = {};
  if (GetCurrentThemeName(File, 1024, Color, 1024, Size, 1024) != S_OK) return 0;
  auto Upper = [](const WCHAR* W) {
    std::string S;
    for (; *W; ++W) S += char(*W < 128 ? std::toupper(int(*W)) : '?');
    return S;
  };
  std::string F = Upper(File);
  const std::size_t Sep = F.find_last_of("\\/");
  if (Sep != std::string::npos) F = F.substr(Sep + 1);
  if (F != "LUNA.MSSTYLES") return 0;
  const std::string C = Upper(Color);
  if (C == "NORMALCOLOR") return 1;
  if (C == "HOMESTEAD") return 2;
  if (C == "METALLIC") return 3;
  return 0;
}

TColor CaptionLight() {
  const COLORREF F = ColorToRGB(clBtnFace);
  auto L = [](int C) { return C * 127 / 255 + 128; };
  return GetNearestScreenColor(RGBColor(L(R_(F)), L(G_(F)), L(B_(F))));
}
TColor CaptionNearFace() {
  const COLORREF F = ColorToRGB(clBtnFace);
  auto N = [](int C) { return (C + 4 - C * 4 / 255) & 0xFF; };
  return GetNearestScreenColor(RGBColor(N(R_(F)), N(G_(F)), N(B_(F))));
}

void ComputeColors() {
  TScheme& Sc = Scheme();
  auto& S = Sc.S;
  Sc.Index = DetectScheme();
  Sc.Themed = AreThemesAvailable(0) && Sc.Index != 0;
  const auto N = GetNearestScreenColor;
  const TColor Black = TColor(0), White = TColor(0xFFFFFF);
  if (Sc.Themed) {
    for (int k = 0; k < 49; ++k) S[std::size_t(EntrySlot[k])] = TColor(SchemeTable[Sc.Index - 1][k]);
    Sc.GradientPercent = GradientPercents[Sc.Index];
    S[13] = MixColors(S[5], S[3], 90);
    S[14] = MixColors(S[6], S[3], 90);
    S[15] = MixColors(S[7], S[3], 90);
    S[23] = Black;
    S[24] = White;
    S[29] = White;
    S[30] = Black;
    S[31] = Black;
    S[63] = TColor(0xC9EEFD);
    S[65] = S[12];
    S[78] = S[75];
    S[79] = S[76];
  } else {
    Sc.GradientPercent = 75;
    S[1] = clBtnFace;
    S[2] = MixColors(clBtnFace, clWindow, 20);
    S[3] = MixColors(clBtnFace, clWindow, 22);
    S[4] = MixColors(clBtnFace, clWindow, 96);
    S[5] = MixColors(clBtnShadow, clWindow, 74);
    S[6] = N(BlendSystemColors(-15, 29, 86));
    S[7] = N(BlendSystemColors(42, 11, 47));
    S[8] = clBtnShadow;
    S[9] = N(BlendSystemColors(-15, 29, 86));
    S[10] = N(BlendSystemColors(42, 11, 47));
    S[11] = MixColors(clBtnFace, clWindow, 85);
    S[12] = clBtnFace;
    S[13] = MixColors(S[8], clWindow, 50);
    S[14] = MixColors(S[9], clWindow, 50);
    S[15] = MixColors(S[10], clWindow, 50);
    S[19] = MixColors(clBtnShadow, clWindow, 76);
    S[20] = clWindow;
    S[21] = MixColors(clBtnShadow, clWindow, 70);
    S[22] = White;
    S[23] = clBtnText;
    S[24] = clWindow;
    S[25] = clBtnShadow;
    S[26] = S[4];
    S[29] = clBtnHighlight;
    S[30] = clBtnText;
    S[31] = clBtnText;
    S[32] = clWindow;
    S[39] = clBtnShadow;
    S[41] = N(BlendSystemColors(-2, 30, 72));
    S[42] = clHighlight;
    S[43] = S[41];
    S[44] = S[41];
    S[49] = N(BlendSystemColors(14, 44, 40));
    S[45] = S[49];
    S[46] = S[49];
    S[47] = S[4];
    S[48] = BlendSystemColors(41, 11, 48);
    S[50] = S[47];
    S[52] = clBtnText;
    S[53] = clGrayText;
    S[59] = clBtnFace;
    S[60] = S[48];
    S[61] = S[39];
    S[62] = S[1];
    S[63] = clBtnFace;
    S[64] = clBtnShadow;
    S[65] = clBtnShadow;
    S[66] = N(clBtnShadow);
    S[67] = CaptionLight();
    S[68] = CaptionNearFace();
    S[69] = S[43];
    S[70] = S[44];
    S[71] = S[48];
    S[72] = S[71];
    S[73] = S[49];
    S[74] = S[73];
    S[75] = S[66];
    S[76] = S[66];
    S[77] = clHighlightText;
    S[78] = N(clBtnFace);
    S[79] = S[66];
  }
  // The slots both columns compute the same way.
  S[16] = MixColors(S[8], S[12], 50);
  S[17] = MixColors(S[9], S[12], 50);
  S[18] = MixColors(S[10], S[12], 50);
  S[27] = S[3];
  S[28] = S[25];
  S[33] = S[3];
  S[34] = S[4];
  S[35] = S[3];
  S[36] = S[4];
  S[37] = MixColors(S[35], Black, 92);
  S[38] = MixColors(S[36], Black, 92);
  S[40] = S[32];
  S[51] = S[41];
  S[54] = S[39];
  S[55] = S[1];
  S[56] = S[16];
  S[57] = S[29];
  S[58] = S[39];
}

// The expand-button pictures: a framed box with a plus or a minus.
std::unique_ptr<TBitmap> MakeExpandButton(bool AExpanded) {
  auto Bmp = std::make_unique<TBitmap>();
  Bmp->SetSize(11, 11);
  HDC Dc = Bmp->Canvas()->GetHandle();
  FillRectWithColor(Dc, {0, 0, 11, 11}, Office11ExpandButtonColor2);
  FillGradientRect(Dc, {1, 1, 10, 10}, TColor(0xFFFFFF), Office11Slot(4), false);
  auto Px = [&](int X, int Y, TColor C) { FillRectWithColor(Dc, {X, Y, X + 1, Y + 1}, C); };
  for (int X = 3; X <= 7; ++X) Px(X, 5, TColor(0));
  if (!AExpanded)
    for (int Y = 3; Y <= 7; ++Y) Px(5, Y, TColor(0));
  return Bmp;
}

void FreeObjects() {
  TScheme& Sc = Scheme();
  for (int i = 1; i <= 16; ++i) {
    if (Sc.B[std::size_t(i)] && i != 12 && i != 14 && i != 15) DeleteObject(Sc.B[std::size_t(i)]);
    Sc.B[std::size_t(i)] = nullptr;
  }
  Sc.Minus.reset();
  Sc.Plus.reset();
  Sc.SubMenuExpand.reset();
}

void BuildObjects() {
  TScheme& Sc = Scheme();
  static constexpr int BrushSlots[17] = {0, 19, 20, 21, 22, 32, 42, 41, 47, 48, 49, 39, 0, 50, 0, 0, 56};
  for (int i = 1; i <= 16; ++i)
    if (BrushSlots[i]) Sc.B[std::size_t(i)] = CreateSolidBrush(ColorToRGB(Sc.S[std::size_t(BrushSlots[i])]));
  Sc.B[12] = Sc.B[5];
  Sc.B[14] = Sc.B[7];
  Sc.B[15] = Sc.B[11];
  Sc.Minus = MakeExpandButton(true);
  Sc.Plus = MakeExpandButton(false);
  Sc.SubMenuExpand = std::make_unique<TBitmap>();
  if (HBITMAP H = LoadBitmapA(ProgramInstance(), "DXSUBMENUEXPAND")) {
    Sc.SubMenuExpand->SetHandle(H);
    TintSchemeBitmap(Sc.SubMenuExpand.get());
  }
}

}  // namespace

int GetOffice11SchemeIndex() { return Scheme().Index; }
bool IsOffice11SchemeThemed() { return Scheme().Themed; }
int GetOffice11GradientPercent() { return Scheme().GradientPercent; }
TColor Office11Slot(int N) { return (N >= 1 && N <= 79) ? Scheme().S[std::size_t(N)] : TColor(0); }
TColor Office11SchemeEntry(int K) { return (K >= 0 && K < 49) ? Office11Slot(EntrySlot[K]) : TColor(0); }

void LockOffice11Scheme() {
  if (Scheme().LockCount++ == 0) {
    ComputeColors();
    BuildObjects();
  }
}

void UnlockOffice11Scheme() {
  TScheme& Sc = Scheme();
  if (Sc.LockCount == 0) return;
  if (--Sc.LockCount == 0) FreeObjects();
}

void ReloadOffice11Scheme() {
  ComputeColors();
  if (Scheme().LockCount > 0) {
    FreeObjects();
    BuildObjects();
  }
}

int Office11LockCount() { return Scheme().LockCount; }
HBRUSH Office11Brush(int N) { return (N >= 1 && N <= 16) ? Scheme().B[std::size_t(N)] : nullptr; }
TBitmap* Office11ExpandButtonBitmap(bool AExpanded) {
  return AExpanded ? Scheme().Minus.get() : Scheme().Plus.get();
}

bool IsBtnFaceBlack() { return GetSysColor(COLOR_BTNFACE) == 0; }
bool IsBtnFaceWhite() { return GetSysColor(COLOR_BTNFACE) == 0xFFFFFF; }
bool IsBlackFaceColoredText() { return IsBtnFaceBlack() && GetSysColor(COLOR_BTNTEXT) != 0xFFFFFF; }

TBitmap* Office11SubMenuExpandBitmap() { return Scheme().SubMenuExpand.get(); }

void TintSchemeBitmap(TBitmap* ABitmap) {
  if (!ABitmap || ABitmap->GetWidth() == 0 || ABitmap->GetHeight() == 0) return;
  const TColor C1 = Office11Slot(3);
  TColor C2 = Office11Slot(4);
  if (ColorToRGB(C1) == ColorToRGB(C2)) C2 = ColorToRGB(C1) == 0 ? TColor(0xFFFFFF) : TColor(0);
  TCanvas* C = ABitmap->Canvas();
  const COLORREF Corner = ColorToRGB(C->GetPixel(0, 0)) & 0xFFFFFF;
  const int W = ABitmap->GetWidth(), H = ABitmap->GetHeight();
  auto Tinted = [&](COLORREF P) { return P != Corner && P != 0; };
  int Lowest = 255, Highest = 1;
  for (int X = 0; X < W; ++X)
    for (int Y = 0; Y < H; ++Y)
      if (const COLORREF P = ColorToRGB(C->GetPixel(X, Y)) & 0xFFFFFF; Tinted(P)) {
        Lowest = std::min<int>(Lowest, R_(P));
        Highest = std::max<int>(Highest, R_(P));
      }
  for (int X = 0; X < W; ++X)
    for (int Y = 0; Y < H; ++Y)
      if (const COLORREF P = ColorToRGB(C->GetPixel(X, Y)) & 0xFFFFFF; Tinted(P)) {
        // One tone only leaves no range to spread: it takes the bright colour.
        const int Percent = Highest > Lowest ? MulDiv(R_(P) - Lowest, 100, Highest - Lowest) : 100;
        C->SetPixel(X, Y, MixColors(C1, C2, Percent));
      }
}

TColor MixColors(TColor AColor1, TColor AColor2, int APercent) {
  const COLORREF A = ColorToRGB(AColor1), B = ColorToRGB(AColor2);
  auto Ch = [&](int X, int Y) { return std::min(255, MulDiv(X, APercent, 100) + MulDiv(Y, 100 - APercent, 100)); };
  return GetNearestScreenColor(RGBColor(Ch(R_(A), R_(B)), Ch(G_(A), G_(B)), Ch(B_(A), B_(B))));
}

TColor BlendSystemColors(int PF, int PH, int PW) {
  if (IsBtnFaceBlack() || IsBtnFaceWhite()) return clHighlight;
  const COLORREF F = ColorToRGB(clBtnFace), H = ColorToRGB(clHighlight), W = ColorToRGB(clWindow);
  auto Ch = [&](int f, int h, int w) { return MulDiv(f, PF, 100) + MulDiv(h, PH, 100) + MulDiv(w, PW, 100); };
  return RGBColor(Ch(R_(F), R_(H), R_(W)), Ch(G_(F), G_(H), G_(W)), Ch(B_(F), B_(H), B_(W)));
}

TColor ScaleColor(TColor AColor, int APercent) {
  const COLORREF C = ColorToRGB(AColor);
  auto Ch = [&](int V) { return int(std::nearbyint(double(V) * APercent / 100.0)); };
  return RGBColor(Ch(R_(C)), Ch(G_(C)), Ch(B_(C)));
}

void FillRectWithColor(HDC DC, const TRect& R, TColor AColor) {
  HBRUSH B = CreateSolidBrush(ColorToRGB(AColor));
  FillRect(DC, &R, B);
  DeleteObject(B);
}

void FrameRectWithColor(HDC DC, const TRect& R, TColor AColor) {
  HBRUSH B = CreateSolidBrush(ColorToRGB(AColor));
  FrameRect(DC, &R, B);
  DeleteObject(B);
}

namespace {
TColor Between(COLORREF A, COLORREF B, int I, int N) {
  auto Ch = [&](int X, int Y) { return X + MulDiv(I, Y - X, N); };
  return RGBColor(Ch(R_(A), R_(B)), Ch(G_(A), G_(B)), Ch(B_(A), B_(B)));
}
}  // namespace

void FillGradientRect(HDC DC, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal) {
  const COLORREF C1 = ColorToRGB(AColor1), C2 = ColorToRGB(AColor2);
  if (C1 == C2) {
    FillRectWithColor(DC, R, AColor1);
    return;
  }
  const int Start = AHorizontal ? R.Left : R.Top;
  const int Extent = AHorizontal ? R.Width() : R.Height();
  if (Extent <= 0) return;
  const int N = std::min(Extent, 256);
  int From = Start;
  for (int i = 0; i < N; ++i) {
    const int To = Start + MulDiv(i + 1, Extent, N);
    if (To > From) {
      const TColor C = N > 1 ? Between(C1, C2, i, N - 1) : TColor(C1);
      FillRectWithColor(DC, AHorizontal ? TRect{From, R.Top, To, R.Bottom} : TRect{R.Left, From, R.Right, To}, C);
    }
    From = To;
    if (From >= Start + Extent) break;
  }
}

TColor GradientColorAt(const TRect& R, int APosition, TColor AColor1, TColor AColor2, bool AHorizontal) {
  const int Start = AHorizontal ? R.Left : R.Top;
  const int Extent = AHorizontal ? R.Width() : R.Height();
  if (Extent <= 0) return AColor1;
  const int N = std::min(Extent, 256);
  const int I = std::max(MulDiv(APosition - Start + 1, N, Extent) - 1, 0);
  return N > 1 ? Between(ColorToRGB(AColor1), ColorToRGB(AColor2), I, N - 1) : TColor(ColorToRGB(AColor1));
}

void FillTwoStageGradientRect(HDC DC, const TRect& R, TColor AColor1, TColor AColor2, bool AHorizontal) {
  const COLORREF C1 = ColorToRGB(AColor1), C2 = ColorToRGB(AColor2);
  if (C1 == C2) {
    FillRectWithColor(DC, R, AColor1);
    return;
  }
  const int Start = AHorizontal ? R.Left : R.Top;
  const int Extent = AHorizontal ? R.Width() : R.Height();
  if (Extent < 2) {
    FillRectWithColor(DC, R, AColor1);
    return;
  }
  const int P = GetOffice11GradientPercent();
  const int Half = Extent / 2;
  auto Channel = [&](int c1, int c2, int i) {
    const int m = c1 - MulDiv(c1 - c2, P, 200);
    if (i < Half) {
      const int e1 = c1 - MulDiv(c1 - m, Extent, Half);
      return c1 + MulDiv(i, e1 - c1, Extent - 1);
    }
    if (i == Half) return m;
    const int s2 = c2 + MulDiv(m - c2, Extent, Half);
    return s2 + MulDiv(i, c2 - s2, Extent - 1);
  };
  for (int i = 0; i < Extent; ++i) {
    const TColor C = RGBColor(Channel(R_(C1), R_(C2), i), Channel(G_(C1), G_(C2), i), Channel(B_(C1), B_(C2), i));
    const int P0 = Start + i;
    FillRectWithColor(DC, AHorizontal ? TRect{P0, R.Top, P0 + 1, R.Bottom} : TRect{R.Left, P0, R.Right, P0 + 1}, C);
  }
}

void FrameOffice11Rect(HDC DC, const TRect& R) {
  if (IsBtnFaceBlack() || IsBlackFaceColoredText())
    FrameRectWithColor(DC, R, clHighlightText);
  else if (HBRUSH B = Office11Brush(6))
    FrameRect(DC, &R, B);
  else
    FrameRectWithColor(DC, R, Office11Slot(42));
}

namespace {
HBRUSH BrushOr(int N, int Slot, HBRUSH& Temp) {
  if (HBRUSH B = Office11Brush(N)) return B;
  Temp = CreateSolidBrush(ColorToRGB(Office11Slot(Slot)));
  return Temp;
}
}  // namespace

void DrawOffice11GripDots(HDC DC, const TRect& R, bool AVertical) {
  HBRUSH T1 = nullptr, T2 = nullptr;
  HBRUSH Dark = BrushOr(1, 19, T1), Light = BrushOr(2, 20, T2);
  const int Len = AVertical ? R.Height() : R.Width();
  const int M = Len % 4 < 2 ? Len % 4 : (Len % 4) / 2;
  int X = R.Left + (AVertical ? 0 : M), Y = R.Top + (AVertical ? M : 0);
  while ((AVertical ? Y + 4 : X + 4) <= (AVertical ? R.Bottom : R.Right)) {
    const TRect L{X + 1, Y + 1, X + 3, Y + 3}, D{X, Y, X + 2, Y + 2};
    FillRect(DC, &L, Light);
    FillRect(DC, &D, Dark);
    (AVertical ? Y : X) += 4;
  }
  if (T1) DeleteObject(T1);
  if (T2) DeleteObject(T2);
}

void DrawOffice11SizeGripDots(HDC DC, const TRect& R) {
  TRect Box{R.Right - 12, R.Bottom - 3, R.Right, R.Bottom};
  for (int i = 0; i < 3; ++i) {
    DrawOffice11GripDots(DC, Box, false);
    Box.Left += 4;
    Box.Top -= 4;
    Box.Bottom -= 4;
  }
}

void DrawOffice11ArrowInRect(HDC DC, const TRect& R, bool ADown, bool AEnabled, bool ASelected) {
  const int L = ADown ? R.Width() - 8 : R.Height() - 6;
  int Size = (L - 1) / 2 + ((L & 1) ? 1 : 0);
  Size = std::max(Size, 3);
  DrawOffice11Arrow(DC, R, ADown, Size, ASelected, AEnabled);
}

void DrawOffice11Arrow(HDC DC, const TRect& R, bool ADown, int ASize, bool ASelected, bool AEnabled) {
  const TColor C = !AEnabled ? Office11Slot(53) : (ASelected && IsBtnFaceWhite()) ? TColor(0xFFFFFF) : Office11Slot(52);
  TPoint P[3];
  if (ADown) {
    const int X0 = (R.Left + R.Right - (2 * ASize - 1)) / 2, Y0 = (R.Top + R.Bottom - ASize) / 2;
    P[0] = {X0, Y0};
    P[1] = {X0 + 2 * ASize - 2, Y0};
    P[2] = {X0 + ASize - 1, Y0 + ASize - 1};
  } else {
    const int X0 = (R.Left + R.Right - ASize) / 2, Y0 = (R.Top + R.Bottom - (2 * ASize - 1)) / 2;
    P[0] = {X0, Y0};
    P[1] = {X0, Y0 + 2 * ASize - 2};
    P[2] = {X0 + ASize - 1, Y0 + ASize - 1};
  }
  HPEN Pen = CreatePen(PS_SOLID, 1, ColorToRGB(C));
  HBRUSH Brush = CreateSolidBrush(ColorToRGB(C));
  HGDIOBJ OldPen = SelectObject(DC, Pen), OldBrush = SelectObject(DC, Brush);
  Polygon(DC, P, 3);
  SelectObject(DC, OldPen);
  SelectObject(DC, OldBrush);
  DeleteObject(Pen);
  DeleteObject(Brush);
}
