#include "platform/gdi/Text.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/DcObject.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"

namespace {

// ---- measuring -----------------------------------------------------------------

struct TRun {
  std::shared_ptr<TFontInstance> Font;
  // Font, or the fallback that draws the character; null for the second
  // unit of a surrogate pair.
  std::vector<const TFontInstance*> Faces;
  std::vector<std::uint32_t> Glyphs;
  std::vector<double> Advance;  // device pixels along the baseline
  double Total = 0;
};

TRun Measure(const TDC& D, const char16_t* S, UINT N, bool GlyphIndices) {
  TRun R;
  R.Font = GdiRealizeFont(D);
  const double Sx = D.DeviceScaleX();
  const double Extra = D.State().TextCharExtra * Sx;
  const int BreakCount = D.State().BreakCount;
  const int BreakExtra = int(std::lround(D.State().BreakExtra * Sx));
  const char16_t Brk = R.Font->Metrics().tmBreakChar;
  int Breaks = 0;
  R.Faces.resize(N);
  R.Glyphs.resize(N);
  R.Advance.resize(N);
  for (UINT I = 0; I < N; ++I) {
    char32_t Ch = S[I];
    const bool Pair = !GlyphIndices && Ch >= 0xD800 && Ch < 0xDC00 && I + 1 < N && S[I + 1] >= 0xDC00 && S[I + 1] < 0xE000;
    if (Pair) Ch = 0x10000 + ((Ch - 0xD800) << 10) + (S[I + 1] - 0xDC00);
    const TFontInstance::TGlyphRef G =
        GlyphIndices ? TFontInstance::TGlyphRef{R.Font.get(), S[I]} : R.Font->ResolveGlyph(Ch);
    double A = G.Font->GlyphAdvance(G.Glyph) + Extra;
    if (!GlyphIndices && BreakCount > 0 && S[I] == Brk) {
      // The extra width goes to the breaks, the remainder one pixel each to the first ones.
      A += BreakExtra / BreakCount + (Breaks < BreakExtra % BreakCount ? 1 : 0);
      ++Breaks;
    }
    R.Faces[I] = G.Font;
    R.Glyphs[I] = G.Glyph;
    R.Advance[I] = A;
    R.Total += A;
    if (Pair) {
      // One glyph for the pair: its advance goes with the first unit, the
      // second draws nothing.
      ++I;
      R.Faces[I] = nullptr;
    }
  }
  return R;
}

int ToLogX(const TDC& D, double Dev) { return int(std::lround(Dev / D.DeviceScaleX())); }
int ToLogY(const TDC& D, double Dev) { return int(std::lround(Dev / D.DeviceScaleY())); }

// The UTF-16 text of ANSI bytes in the code page of the font's charset, and
// for each UTF-16 unit the index of the byte it came from.
WideString AnsiText(const TFontInstance& F, const char* S, int N, std::vector<int>* Origin = nullptr) {
  WideString W;
  if (N <= 0) return W;
  const BYTE CharSet = F.Metrics().tmCharSet;
  if (CharSet == SYMBOL_CHARSET) {
    for (int I = 0; I < N; ++I) {
      W += char16_t(static_cast<unsigned char>(S[I]));
      if (Origin) Origin->push_back(I);
    }
    return W;
  }
  const UINT Cp = CodePageFromCharset(CharSet);
  if (!IsDBCSCodePage(Cp)) {
    W = AnsiToWide(std::string_view(S, size_t(N)), Cp);
    if (Origin)
      for (int I = 0; I < int(W.size()); ++I) Origin->push_back(std::min(I, N - 1));
    return W;
  }
  for (int I = 0; I < N;) {
    const int Len = IsDBCSLeadByteEx(Cp, BYTE(S[I])) && I + 1 < N ? 2 : 1;
    const WideString Part = AnsiToWide(std::string_view(S + I, size_t(Len)), Cp);
    for (char16_t C : Part) {
      W += C;
      if (Origin) Origin->push_back(I);
    }
    I += Len;
  }
  return W;
}

TDC* Dc(HDC H) { return GdiLookupDC(H); }

// ---- raster helpers -----------------------------------------------------------------

// Calls Fn(x0, x1, y) for every run of surface pixels of Box inside Clip.
template <class F>
void ForEachSpan(const TRegionData& Clip, const TRect& Box, F&& Fn) {
  if (Box.IsEmpty() || Clip.IsEmpty()) return;
  const auto& Rects = Clip.Rects();
  for (std::size_t K = Clip.FirstRectAtOrBelow(Box.Top); K < Rects.size(); ++K) {
    const TRect& C = Rects[K];
    if (C.Top >= Box.Bottom) break;
    const int X0 = std::max(C.Left, Box.Left), X1 = std::min(C.Right, Box.Right);
    if (X0 >= X1) continue;
    const int Y0 = std::max(C.Top, Box.Top), Y1 = std::min(C.Bottom, Box.Bottom);
    for (int Y = Y0; Y < Y1; ++Y) Fn(X0, X1, Y);
  }
}

class TTextPainter {
public:
  TTextPainter(TBitmapObject& Bm, const TRegionData& Clip, COLORREF Color)
      : FBm(Bm), FClip(Clip), FColor(Color), FPixel(Bm.ColorToPixel(Color)) {}

  // Blends one coverage image with its top-left pixel at (X, Y).
  void Glyph(const TGlyphBitmap& G, int X, int Y) {
    if (G.Width <= 0) return;
    const TRect Box{X, Y, X + G.Width, Y + G.Height};
    const bool Direct = FBm.BitsPerPixel == 32;
    const unsigned R = GetRValue(FColor), Gr = GetGValue(FColor), B = GetBValue(FColor);
    ForEachSpan(FClip, Box, [&](int X0, int X1, int Py) {
      const std::uint8_t* Cov = G.Coverage.data() + size_t(Py - Y) * G.Width + (X0 - X);
      if (Direct) {
        std::uint32_t* P = reinterpret_cast<std::uint32_t*>(FBm.ScanLine(Py)) + X0;
        const std::uint32_t SrcRB = (R << 16) | B, SrcG = Gr << 8, Solid = SrcRB | SrcG;
        for (int Px = X0; Px < X1; ++Px, ++Cov, ++P) {
          const std::uint32_t A = *Cov;
          if (A == 0) continue;
          if (A == 255) {
            *P = (*P & 0xFF000000u) | Solid;
            continue;
          }
          // s*a + d*(255-a) over 255, rounded, red and blue in one multiply.
          const std::uint32_t D = *P, Na = 255 - A;
          std::uint32_t RB = (SrcRB * A + (D & 0x00FF00FFu) * Na) + 0x00800080u;
          RB = ((RB + ((RB >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
          std::uint32_t G = ((SrcG >> 8) * A + ((D >> 8) & 0xFFu) * Na) + 0x80u;
          G = ((G + (G >> 8)) >> 8) & 0xFFu;
          *P = (D & 0xFF000000u) | RB | (G << 8);
        }
      } else if (FBm.BitsPerPixel == 24) {
        Byte* P = FBm.ScanLine(Py) + size_t(X0) * 3;
        for (int Px = X0; Px < X1; ++Px, ++Cov, P += 3) {
          const unsigned A = *Cov;
          if (A == 0) continue;
          P[0] = Blend(B, P[0], A);
          P[1] = Blend(Gr, P[1], A);
          P[2] = Blend(R, P[2], A);
        }
      } else if (FBm.BitsPerPixel == 16) {
        // Few enough pixels to go through the colour masks one by one.
        for (int Px = X0; Px < X1; ++Px, ++Cov) {
          const unsigned A = *Cov;
          if (A == 0) continue;
          if (A == 255) {
            FBm.SetPixelValue(Px, Py, FPixel);
            continue;
          }
          const COLORREF D = FBm.PixelToColor(FBm.GetPixelValue(Px, Py));
          const COLORREF Mixed = RGB(Blend(R, GetRValue(D), A), Blend(Gr, GetGValue(D), A), Blend(B, GetBValue(D), A));
          FBm.SetPixelValue(Px, Py, FBm.ColorToPixel(Mixed));
        }
      } else {
        // Palette and monochrome surfaces stay aliased: the colour goes
        // where the glyph covers half the pixel.
        for (int Px = X0; Px < X1; ++Px, ++Cov)
          if (*Cov >= 128) FBm.SetPixelValue(Px, Py, FPixel);
      }
    });
  }

  // Fills the parallelogram Origin + s*U + t*V, S0 <= s < S1, T0 <= t < T1.
  void Quad(double Ox, double Oy, double Ux, double Uy, double S0, double S1, double T0, double T1) {
    const double Vx = -Uy, Vy = Ux;
    if (std::abs(Uy) < 1e-9) {
      // Upright: a plain rectangle, edges rounded the way glyph origins are.
      const double Sgn = Ux >= 0 ? 1 : -1;
      int L = int(std::lround(Ox + Sgn * S0)), R = int(std::lround(Ox + Sgn * S1));
      int T = int(std::lround(Oy + Sgn * T0)), Bt = int(std::lround(Oy + Sgn * T1));
      if (L > R) std::swap(L, R);
      if (T > Bt) std::swap(T, Bt);
      Solid({L, T, R, Bt});
      return;
    }
    double Xs[4], Ys[4];
    const double Ss[2] = {S0, S1}, Ts[2] = {T0, T1};
    for (int K = 0; K < 4; ++K) {
      Xs[K] = Ox + Ss[K & 1] * Ux + Ts[K >> 1] * Vx;
      Ys[K] = Oy + Ss[K & 1] * Uy + Ts[K >> 1] * Vy;
    }
    const TRect Box{int(std::floor(*std::min_element(Xs, Xs + 4))), int(std::floor(*std::min_element(Ys, Ys + 4))),
                    int(std::ceil(*std::max_element(Xs, Xs + 4))) + 1, int(std::ceil(*std::max_element(Ys, Ys + 4))) + 1};
    ForEachSpan(FClip, Box, [&](int X0, int X1, int Py) {
      for (int Px = X0; Px < X1; ++Px) {
        const double Dx = Px + 0.5 - Ox, Dy = Py + 0.5 - Oy;
        const double S = Dx * Ux + Dy * Uy, T = Dx * Vx + Dy * Vy;
        if (S >= S0 && S < S1 && T >= T0 && T < T1) FBm.SetPixelValue(Px, Py, FPixel);
      }
    });
  }

  void Solid(const TRect& R) {
    ForEachSpan(FClip, R, [&](int X0, int X1, int Py) {
      if (FBm.BitsPerPixel == 32) {
        std::uint32_t* P = reinterpret_cast<std::uint32_t*>(FBm.ScanLine(Py)) + X0;
        std::fill(P, P + (X1 - X0), FPixel);
      } else {
        for (int Px = X0; Px < X1; ++Px) FBm.SetPixelValue(Px, Py, FPixel);
      }
    });
  }

private:
  // s*a + d*(255-a) over 255, rounded as the 32-bit path does.
  static Byte Blend(unsigned S, unsigned D, unsigned A) {
    const unsigned V = S * A + D * (255 - A) + 0x80u;
    return Byte((V + (V >> 8)) >> 8);
  }

  TBitmapObject& FBm;
  const TRegionData& FClip;
  COLORREF FColor;
  std::uint32_t FPixel;
};

TRect DeviceRect(const TDC& D, const TRect& R, TPoint Org) {
  const TPoint A = D.ToDevice(R.TopLeft()), B = D.ToDevice(R.BottomRight());
  return {std::min(A.X, B.X) + Org.X, std::min(A.Y, B.Y) + Org.Y, std::max(A.X, B.X) + Org.X,
          std::max(A.Y, B.Y) + Org.Y};
}

}  // namespace

// ---- the raster body of ExtTextOut ------------------------------------------------------

BOOL TDC::ExtTextOutW(int X, int Y, UINT Options, const TRect* Rect, const char16_t* Str, UINT Count, const int* Dx) {
  if (Count && !Str) return FALSE;
  if (PathOpen() && Count) SX_NOT_IMPLEMENTED("ExtTextOutW into a path");
  const TRun Run = Measure(*this, Str, Count, Options & ETO_GLYPH_INDEX);
  const TFontInstance& Font = *Run.Font;
  const TEXTMETRICW& Tm = Font.Metrics();

  // Pen positions along the baseline, device pixels. Dx holds advances in
  // logical units; ETO_PDY interleaves a vertical one we do not use.
  std::vector<double> Pos(Count + 1, 0.0);
  const double Sx = DeviceScaleX();
  for (UINT I = 0; I < Count; ++I)
    Pos[I + 1] = Dx ? Pos[I] + Dx[(Options & ETO_PDY) ? 2 * I : I] * Sx : Pos[I] + Run.Advance[I];
  const double Width = Pos[Count];

  const double Angle = Font.LogFont().lfEscapement * M_PI / 1800.0;
  const double Ux = std::cos(Angle), Uy = -std::sin(Angle);  // along the text, y down
  const double Vx = -Uy, Vy = Ux;                             // towards the glyphs' feet

  const UINT Align = S.TextAlign;
  const TPoint Ref = (Align & TA_UPDATECP) ? S.CurrentPos : TPoint(X, Y);
  double Rx, Ry;
  ToDevice(Ref.X, Ref.Y, Rx, Ry);
  double Shift = 0;
  if ((Align & TA_CENTER) == TA_CENTER) Shift = -Width / 2;
  else if (Align & TA_RIGHT) Shift = -Width;
  double Down = Tm.tmAscent;
  if ((Align & TA_BASELINE) == TA_BASELINE) Down = 0;
  else if (Align & TA_BOTTOM) Down = -Tm.tmDescent;
  const double Ox = Rx + Ux * Shift + Vx * Down, Oy = Ry + Uy * Shift + Vy * Down;

  if (Align & TA_UPDATECP) {
    // The current position moves past the text (to its start when right-aligned).
    if ((Align & TA_CENTER) != TA_CENTER) {
      const double Sign = (Align & TA_RIGHT) ? -1 : 1;
      S.CurrentPos = ToLogical({int(std::lround(Rx + Sign * Ux * Width)), int(std::lround(Ry + Sign * Uy * Width))});
    }
  }

  TBitmapObject* Bm = Surface();
  if (!Bm) return TRUE;
  const TPoint Org = DeviceOrigin();
  TRegionData Clipped;
  const bool ClipToRect = Rect && (Options & ETO_CLIPPED);
  if (ClipToRect) Clipped = DeviceClip().Intersect(DeviceRect(*this, *Rect, Org));
  const TRegionData& Clip = ClipToRect ? Clipped : DeviceClip();

  if (Rect && (Options & ETO_OPAQUE)) {
    TTextPainter Bg(*Bm, DeviceClip(), S.BkColor);
    Bg.Solid(DeviceRect(*this, *Rect, Org));
  } else if (S.BkMode == OPAQUE && Count) {
    TTextPainter Bg(*Bm, Clip, S.BkColor);
    Bg.Quad(Ox + Org.X, Oy + Org.Y, Ux, Uy, 0, Width, -Tm.tmAscent, Tm.tmDescent);
  }
  if (!Count) return TRUE;

  TTextPainter Fg(*Bm, Clip, S.TextColor);
  for (UINT I = 0; I < Count; ++I) {
    if (!Run.Faces[I]) continue;
    const TGlyphBitmap& G = Run.Faces[I]->Glyph(Run.Glyphs[I]);
    const int Px = int(std::lround(Ox + Ux * Pos[I])) + Org.X;
    const int Py = int(std::lround(Oy + Uy * Pos[I])) + Org.Y;
    Fg.Glyph(G, Px + G.Left, Py + G.Top);
  }
  if (Tm.tmUnderlined || Tm.tmStruckOut) {
    const auto& O = Font.OutlineMetrics();
    const bool Outline = Font.IsTrueType() || O.otmsUnderscoreSize;
    if (Tm.tmUnderlined) {
      const double Size = Outline ? std::max(1, O.otmsUnderscoreSize) : std::max(1, int(Tm.tmHeight / 14));
      const double At = Outline ? -O.otmsUnderscorePosition : std::max(1, int(Tm.tmDescent / 2));
      const double T0 = std::round(At - Size / 2);
      Fg.Quad(Ox + Org.X, Oy + Org.Y, Ux, Uy, 0, Width, T0, T0 + Size);
    }
    if (Tm.tmStruckOut) {
      const double Size = Outline ? std::max<UINT>(1, O.otmsStrikeoutSize) : std::max(1, int(Tm.tmHeight / 14));
      const double At = Outline && O.otmsStrikeoutPosition ? -O.otmsStrikeoutPosition : -Tm.tmAscent / 3.0;
      const double T0 = std::round(At - Size / 2);
      Fg.Quad(Ox + Org.X, Oy + Org.Y, Ux, Uy, 0, Width, T0, T0 + Size);
    }
  }
  return TRUE;
}

// ---- metrics ---------------------------------------------------------------------------------

namespace {

TEXTMETRICW LogicalMetrics(const TDC& D, const TFontInstance& F) {
  TEXTMETRICW Tm = F.Metrics();
  if (D.DeviceScaleX() == 1 && D.DeviceScaleY() == 1) return Tm;
  Tm.tmHeight = ToLogY(D, Tm.tmHeight);
  Tm.tmAscent = ToLogY(D, Tm.tmAscent);
  Tm.tmDescent = Tm.tmHeight - Tm.tmAscent;
  Tm.tmInternalLeading = ToLogY(D, Tm.tmInternalLeading);
  Tm.tmExternalLeading = ToLogY(D, Tm.tmExternalLeading);
  Tm.tmAveCharWidth = ToLogX(D, Tm.tmAveCharWidth);
  Tm.tmMaxCharWidth = ToLogX(D, Tm.tmMaxCharWidth);
  return Tm;
}

TEXTMETRICA NarrowMetrics(const TEXTMETRICW& W) {
  TEXTMETRICA A;
  std::memcpy(static_cast<void*>(&A), &W, offsetof(TEXTMETRICA, tmFirstChar));
  // The byte range of the ANSI view starts two codes below the first
  // character: the default character sits just below it.
  const int First = std::max(0, std::min(255, int(W.tmFirstChar) - 2));
  A.tmFirstChar = BYTE(First);
  A.tmLastChar = BYTE(std::min<int>(255, W.tmLastChar));
  A.tmDefaultChar = BYTE(std::min(255, First + 1));
  A.tmBreakChar = BYTE(W.tmBreakChar < 256 ? W.tmBreakChar : 0x20);
  A.tmItalic = W.tmItalic;
  A.tmUnderlined = W.tmUnderlined;
  A.tmStruckOut = W.tmStruckOut;
  A.tmPitchAndFamily = W.tmPitchAndFamily;
  A.tmCharSet = W.tmCharSet;
  return A;
}

}  // namespace

BOOL GetTextMetricsW(HDC H, TEXTMETRICW* Tm) {
  TDC* D = Dc(H);
  if (!D || !Tm) return FALSE;
  *Tm = LogicalMetrics(*D, *GdiRealizeFont(*D));
  return TRUE;
}

BOOL GetTextMetricsA(HDC H, TEXTMETRICA* Tm) {
  TDC* D = Dc(H);
  if (!D || !Tm) return FALSE;
  *Tm = NarrowMetrics(LogicalMetrics(*D, *GdiRealizeFont(*D)));
  return TRUE;
}

namespace {

// Lays out the outline metrics record and its four names after it.
template <class TOtm, class TChar, class TConv>
UINT PackOutlineMetrics(const TDC& D, UINT Size, TOtm* Out, TConv Convert) {
  auto F = GdiRealizeFont(D);
  if (!F->IsTrueType()) return 0;
  const OUTLINETEXTMETRICW& Src = F->OutlineMetrics();
  TOtm O;
  std::memcpy(static_cast<void*>(&O), &Src, offsetof(OUTLINETEXTMETRICW, otmTextMetrics));
  std::memcpy(reinterpret_cast<char*>(&O) + offsetof(TOtm, otmFiller),
              reinterpret_cast<const char*>(&Src) + offsetof(OUTLINETEXTMETRICW, otmFiller),
              offsetof(OUTLINETEXTMETRICW, otmpFamilyName) - offsetof(OUTLINETEXTMETRICW, otmFiller));
  const TEXTMETRICW Tm = LogicalMetrics(D, *F);
  if constexpr (sizeof(TChar) == 1) O.otmTextMetrics = NarrowMetrics(Tm);
  else O.otmTextMetrics = Tm;
  const std::basic_string<TChar> Names[4] = {Convert(F->FamilyName()), Convert(F->Face().FaceName),
                                             Convert(F->StyleName()), Convert(F->FullName())};
  size_t At = sizeof(TOtm);
  TChar* TOtm::*Fields[4] = {&TOtm::otmpFamilyName, &TOtm::otmpFaceName, &TOtm::otmpStyleName, &TOtm::otmpFullName};
  std::vector<char> Blob(sizeof(TOtm));
  for (int K = 0; K < 4; ++K) {
    O.*Fields[K] = reinterpret_cast<TChar*>(At);  // an offset from the record's start
    const size_t Bytes = (Names[K].size() + 1) * sizeof(TChar);
    Blob.resize(At + Bytes, 0);
    std::memcpy(Blob.data() + At, Names[K].c_str(), Bytes);
    At += Bytes;
  }
  O.otmSize = UINT(Blob.size());
  std::memcpy(Blob.data(), &O, sizeof(TOtm));
  if (!Out) return O.otmSize;
  if (Size < sizeof(TOtm)) return 0;
  std::memcpy(static_cast<void*>(Out), Blob.data(), std::min<size_t>(Size, Blob.size()));
  return O.otmSize;
}

}  // namespace

UINT GetOutlineTextMetricsW(HDC H, UINT Size, OUTLINETEXTMETRICW* Otm) {
  TDC* D = Dc(H);
  if (!D) return 0;
  return PackOutlineMetrics<OUTLINETEXTMETRICW, char16_t>(*D, Size, Otm, [](const std::u16string& S) { return S; });
}

UINT GetOutlineTextMetricsA(HDC H, UINT Size, OUTLINETEXTMETRICA* Otm) {
  TDC* D = Dc(H);
  if (!D) return 0;
  return PackOutlineMetrics<OUTLINETEXTMETRICA, char>(*D, Size, Otm,
                                                      [](const std::u16string& S) { return WideToAnsi(S); });
}

namespace {

// A character's advance and spacing, from the face that draws it.
int Advance(const TFontInstance& F, char32_t Ch) {
  const TFontInstance::TGlyphRef G = F.ResolveGlyph(Ch);
  return G.Font->GlyphAdvance(G.Glyph);
}

ABC Spacing(const TFontInstance& F, char32_t Ch) {
  const TFontInstance::TGlyphRef G = F.ResolveGlyph(Ch);
  return G.Font->GlyphABC(G.Glyph);
}

}  // namespace

BOOL GetCharWidth32W(HDC H, UINT First, UINT Last, int* Widths) {
  TDC* D = Dc(H);
  if (!D || !Widths || Last < First || Last > 0x10FFFF) return FALSE;
  auto F = GdiRealizeFont(*D);
  for (UINT C = First; C <= Last; ++C) Widths[C - First] = ToLogX(*D, Advance(*F, C));
  return TRUE;
}

BOOL GetCharWidth32A(HDC H, UINT First, UINT Last, int* Widths) {
  TDC* D = Dc(H);
  if (!D || !Widths || Last < First || Last > 255) return FALSE;
  auto F = GdiRealizeFont(*D);
  for (UINT C = First; C <= Last; ++C) {
    const char B = char(C);
    const WideString W = AnsiText(*F, &B, 1);
    Widths[C - First] = W.empty() ? 0 : ToLogX(*D, Advance(*F, W[0]));
  }
  return TRUE;
}

BOOL GetCharABCWidthsW(HDC H, UINT First, UINT Last, ABC* Widths) {
  TDC* D = Dc(H);
  if (!D || !Widths || Last < First || Last > 0x10FFFF) return FALSE;
  auto F = GdiRealizeFont(*D);
  if (!F->IsTrueType()) return FALSE;
  for (UINT C = First; C <= Last; ++C) {
    ABC A = Spacing(*F, C);
    Widths[C - First] = {ToLogX(*D, A.abcA), UINT(ToLogX(*D, A.abcB)), ToLogX(*D, A.abcC)};
  }
  return TRUE;
}

BOOL GetCharABCWidthsA(HDC H, UINT First, UINT Last, ABC* Widths) {
  TDC* D = Dc(H);
  if (!D || !Widths || Last < First || Last > 255) return FALSE;
  auto F = GdiRealizeFont(*D);
  if (!F->IsTrueType()) return FALSE;
  for (UINT C = First; C <= Last; ++C) {
    const char B = char(C);
    const WideString W = AnsiText(*F, &B, 1);
    ABC A = Spacing(*F, W.empty() ? 0 : W[0]);
    Widths[C - First] = {ToLogX(*D, A.abcA), UINT(ToLogX(*D, A.abcB)), ToLogX(*D, A.abcC)};
  }
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC H, const WCHAR* Str, int Count, TSize* Size) {
  return GetTextExtentExPointW(H, Str, Count, 0, nullptr, nullptr, Size);
}

BOOL GetTextExtentPoint32A(HDC H, const char* Str, int Count, TSize* Size) {
  return GetTextExtentExPointA(H, Str, Count, 0, nullptr, nullptr, Size);
}

BOOL GetTextExtentExPointW(HDC H, const WCHAR* Str, int Count, int MaxExtent, int* Fit, int* Dx, TSize* Size) {
  TDC* D = Dc(H);
  if (!D || !Size || Count < 0 || (Count && !Str)) return FALSE;
  const TRun Run = Measure(*D, Str, UINT(Count), false);
  double Cum = 0;
  int Fits = 0;
  for (int I = 0; I < Count; ++I) {
    Cum += Run.Advance[I];
    const int Ext = ToLogX(*D, Cum);
    if (Dx) Dx[I] = Ext;
    if (Ext <= MaxExtent && Fits == I) Fits = I + 1;
  }
  if (Fit) *Fit = Fits;
  Size->cx = ToLogX(*D, Run.Total);
  Size->cy = ToLogY(*D, Run.Font->Metrics().tmHeight);
  return TRUE;
}

BOOL GetTextExtentExPointA(HDC H, const char* Str, int Count, int MaxExtent, int* Fit, int* Dx, TSize* Size) {
  TDC* D = Dc(H);
  if (!D || !Size || Count < 0 || (Count && !Str)) return FALSE;
  auto F = GdiRealizeFont(*D);
  std::vector<int> Origin;
  const WideString W = AnsiText(*F, Str, Count, &Origin);
  std::vector<int> WDx(W.size());
  int WFit = 0;
  if (!GetTextExtentExPointW(H, W.c_str(), int(W.size()), MaxExtent, &WFit, WDx.data(), Size)) return FALSE;
  // Back to bytes: every byte of a character gets that character's extent.
  if (Dx || Fit) {
    std::vector<int> ByteDx(size_t(Count), 0);
    int Prev = 0;
    size_t K = 0;
    for (int B = 0; B < Count; ++B) {
      while (K < W.size() && Origin[K] <= B) Prev = WDx[K++];
      ByteDx[size_t(B)] = Prev;
    }
    if (Dx) std::copy(ByteDx.begin(), ByteDx.end(), Dx);
    if (Fit) {
      int N = 0;
      while (N < Count && ByteDx[size_t(N)] <= MaxExtent) ++N;
      *Fit = N;
    }
  }
  return TRUE;
}

int GetTextFaceW(HDC H, int Count, WCHAR* Face) {
  TDC* D = Dc(H);
  if (!D) return 0;
  const std::u16string Name = GdiRealizeFont(*D)->Face().FaceName;
  if (!Face) return int(Name.size() + 1);
  if (Count <= 0) return 0;
  const int N = std::min<int>(Count - 1, int(Name.size()));
  std::copy_n(Name.begin(), N, Face);
  Face[N] = 0;
  return N + 1;
}

int GetTextFaceA(HDC H, int Count, char* Face) {
  TDC* D = Dc(H);
  if (!D) return 0;
  const AnsiString Name = WideToAnsi(GdiRealizeFont(*D)->Face().FaceName);
  if (!Face) return int(Name.size() + 1);
  if (Count <= 0) return 0;
  const int N = std::min<int>(Count - 1, int(Name.size()));
  std::memcpy(Face, Name.data(), size_t(N));
  Face[N] = 0;
  return N + 1;
}

DWORD GetFontData(HDC H, DWORD Table, DWORD Offset, void* Buffer, DWORD Size) {
  TDC* D = Dc(H);
  if (!D) return GDI_FONTDATA_ERROR;
  return GdiRealizeFont(*D)->FontData(Table, Offset, Buffer, Size);
}

bool GdiFontIsCFF(HDC H) {
  TDC* D = Dc(H);
  return D && GdiRealizeFont(*D)->IsCFF();
}

TFontFormat GdiFontFormat(HDC H) {
  TDC* D = Dc(H);
  return D ? GdiRealizeFont(*D)->Format() : TFontFormat::None;
}

std::string_view GdiFontFileBytes(HDC H) {
  TDC* D = Dc(H);
  // Instances live in the engine's cache, files for the whole process.
  return D ? GdiRealizeFont(*D)->FileBytes() : std::string_view();
}

// ---- enumeration ------------------------------------------------------------------------

int EnumFontFamiliesExW(HDC H, const LOGFONTW* Lf, FONTENUMPROCW Proc, LPARAM Param, DWORD) {
  if (!Dc(H) || !Lf || !Proc) return 0;
  size_t Len = 0;
  while (Len < LF_FACESIZE && Lf->lfFaceName[Len]) ++Len;
  const std::u16string Want(Lf->lfFaceName, Len);
  // A named face is looked up alone; only an empty name lists every family.
  std::vector<TFontFamilyInfo> One;
  if (!Want.empty()) {
    TFontFamilyInfo Info;
    if (!FindFontFamily(Want, Info)) return 1;
    One.push_back(std::move(Info));
  }
  const std::vector<TFontFamilyInfo>& Families = Want.empty() ? AvailableFontFamilies() : One;
  int Result = 1;
  for (const TFontFamilyInfo& Fam : Families) {
    for (BYTE Cs : Fam.CharSets) {
      if (Lf->lfCharSet != DEFAULT_CHARSET && Lf->lfCharSet != Cs) continue;
      ENUMLOGFONTEXW E;
      LOGFONTW& L = E.elfLogFont;
      std::copy_n(Fam.Name.begin(), std::min<size_t>(Fam.Name.size(), LF_FACESIZE - 1), L.lfFaceName);
      L.lfHeight = -16;
      L.lfCharSet = Cs;
      auto F = TFontInstance::Get(L);
      const TEXTMETRICW& Tm = F->Metrics();
      L.lfHeight = Tm.tmHeight;
      L.lfWidth = Tm.tmAveCharWidth;
      L.lfWeight = Tm.tmWeight;
      L.lfOutPrecision = OUT_STROKE_PRECIS;
      L.lfClipPrecision = CLIP_STROKE_PRECIS;
      L.lfQuality = DRAFT_QUALITY;
      L.lfPitchAndFamily = BYTE((Tm.tmPitchAndFamily & 0xF0) | ((Tm.tmPitchAndFamily & TMPF_FIXED_PITCH) ? VARIABLE_PITCH : FIXED_PITCH));
      const std::u16string Full = F->FullName(), Style = F->StyleName();
      std::copy_n(Full.begin(), std::min<size_t>(Full.size(), LF_FULLFACESIZE - 1), E.elfFullName);
      std::copy_n(Style.begin(), std::min<size_t>(Style.size(), LF_FACESIZE - 1), E.elfStyle);
      NEWTEXTMETRICEXW Ntm;
      static_cast<TEXTMETRICW&>(Ntm.ntmTm) = Tm;
      Ntm.ntmTm.tmCharSet = Cs;
      Ntm.ntmTm.ntmFlags = Tm.tmItalic ? NTM_ITALIC : (Tm.tmWeight >= FW_BOLD ? NTM_BOLD : NTM_REGULAR);
      Ntm.ntmTm.ntmSizeEM = F->OutlineMetrics().otmEMSquare;
      Ntm.ntmTm.ntmCellHeight = UINT(Tm.tmHeight);
      Ntm.ntmTm.ntmAvgWidth = UINT(Tm.tmAveCharWidth);
      Ntm.ntmFontSig.fsCsb[0] = F->CodePageRange1();
      const DWORD Type = Fam.TrueType ? TRUETYPE_FONTTYPE : 0;
      Result = Proc(&E.elfLogFont, &Ntm.ntmTm, Type, Param);
      if (Result == 0) return 0;
    }
  }
  return Result;
}

int EnumFontFamiliesExA(HDC H, const LOGFONTA* Lf, FONTENUMPROCA Proc, LPARAM Param, DWORD Flags) {
  if (!Lf || !Proc) return 0;
  const LOGFONTW W = LogFontAToW(*Lf);
  struct TCtx { FONTENUMPROCA Proc; LPARAM Param; } Ctx{Proc, Param};
  return EnumFontFamiliesExW(
      H, &W,
      [](const LOGFONTW* L, const TEXTMETRICW* T, DWORD Type, LPARAM P) -> int {
        const auto* C = reinterpret_cast<const TCtx*>(P);
        const auto* E = reinterpret_cast<const ENUMLOGFONTEXW*>(L);
        const auto* N = reinterpret_cast<const NEWTEXTMETRICEXW*>(T);
        ENUMLOGFONTEXA Ea;
        Ea.elfLogFont = LogFontWToA(E->elfLogFont);
        const AnsiString Full = WideToAnsi(E->elfFullName), Style = WideToAnsi(E->elfStyle);
        std::memcpy(Ea.elfFullName, Full.data(), std::min<size_t>(Full.size(), LF_FULLFACESIZE - 1));
        std::memcpy(Ea.elfStyle, Style.data(), std::min<size_t>(Style.size(), LF_FACESIZE - 1));
        NEWTEXTMETRICEXA Na;
        static_cast<TEXTMETRICA&>(Na.ntmTm) = NarrowMetrics(N->ntmTm);
        Na.ntmTm.ntmFlags = N->ntmTm.ntmFlags;
        Na.ntmTm.ntmSizeEM = N->ntmTm.ntmSizeEM;
        Na.ntmTm.ntmCellHeight = N->ntmTm.ntmCellHeight;
        Na.ntmTm.ntmAvgWidth = N->ntmTm.ntmAvgWidth;
        Na.ntmFontSig = N->ntmFontSig;
        return C->Proc(&Ea.elfLogFont, &Na.ntmTm, Type, C->Param);
      },
      reinterpret_cast<LPARAM>(&Ctx), Flags);
}

// ---- output ---------------------------------------------------------------------------------

BOOL ExtTextOutW(HDC H, int X, int Y, UINT Options, const TRect* Rect, const WCHAR* Str, UINT Count, const int* Dx) {
  TDC* D = Dc(H);
  if (!D) return FALSE;
  return D->ExtTextOutW(X, Y, Options, Rect, Str, Count, Dx);
}

BOOL ExtTextOutA(HDC H, int X, int Y, UINT Options, const TRect* Rect, const char* Str, UINT Count, const int* Dx) {
  TDC* D = Dc(H);
  if (!D || (Count && !Str)) return FALSE;
  if (Options & ETO_GLYPH_INDEX) {
    WideString G(Str, Str + Count);
    return D->ExtTextOutW(X, Y, Options, Rect, G.c_str(), Count, Dx);
  }
  auto F = GdiRealizeFont(*D);
  std::vector<int> Origin;
  const WideString W = AnsiText(*F, Str, int(Count), &Origin);
  std::vector<int> WDx;
  if (Dx) {
    // A double-byte character advances by the sum of its two bytes' entries.
    WDx.assign(W.size(), 0);
    for (size_t K = 0; K < W.size(); ++K) {
      const int From = Origin[K];
      const int To = K + 1 < W.size() ? Origin[K + 1] : int(Count);
      for (int B = From; B < std::max(To, From + 1) && B < int(Count); ++B) WDx[K] += Dx[B];
      if (K + 1 < W.size() && Origin[K + 1] == From) WDx[K] = 0;
    }
  }
  return D->ExtTextOutW(X, Y, Options, Rect, W.c_str(), UINT(W.size()), Dx ? WDx.data() : nullptr);
}

BOOL TextOutW(HDC H, int X, int Y, const WCHAR* Str, int Count) {
  return Count < 0 ? FALSE : ExtTextOutW(H, X, Y, 0, nullptr, Str, UINT(Count), nullptr);
}

BOOL TextOutA(HDC H, int X, int Y, const char* Str, int Count) {
  return Count < 0 ? FALSE : ExtTextOutA(H, X, Y, 0, nullptr, Str, UINT(Count), nullptr);
}

std::vector<int> GdiTextAdvances(HDC H, const WCHAR* Str, UINT Count, bool GlyphIndices) {
  TDC* D = Dc(H);
  if (!D || (Count && !Str)) return {};
  const TRun Run = Measure(*D, Str, Count, GlyphIndices);
  std::vector<int> Dx(Count);
  double Cum = 0;
  int Prev = 0;
  for (UINT I = 0; I < Count; ++I) {
    Cum += Run.Advance[I];
    const int Next = ToLogX(*D, Cum);
    Dx[I] = Next - Prev;
    Prev = Next;
  }
  return Dx;
}

WideString GdiTextToWide(HDC H, const char* Str, int Count) {
  TDC* D = Dc(H);
  if (!D || !Str || Count <= 0) return {};
  return AnsiText(*GdiRealizeFont(*D), Str, Count);
}

// ---- tabs ---------------------------------------------------------------------------------

namespace {

// Measures (and with Draw, draws) text whose tabs jump to the given stops:
// none = every eight average character widths, one = that interval, more =
// those positions, then the interval of the last one... as GDI does. Stops
// count from TabOrigin; the result is MAKELONG(width, height).
LONG Tabbed(HDC H, int X, int Y, const WCHAR* Str, int Count, int NTabs, const int* Tabs, int TabOrigin, bool Draw) {
  TDC* D = Dc(H);
  if (!D || Count < 0 || (Count && !Str)) return 0;
  TEXTMETRICW Tm;
  GetTextMetricsW(H, &Tm);
  const int Interval = NTabs <= 0 || !Tabs ? 8 * Tm.tmAveCharWidth : std::abs(Tabs[0]);
  auto NextStop = [&](int At) {
    const int Rel = At - TabOrigin;
    if (NTabs > 1 && Tabs) {
      for (int K = 0; K < NTabs; ++K)
        if (std::abs(Tabs[K]) > Rel) return TabOrigin + std::abs(Tabs[K]);
    }
    if (Interval <= 0) return At;
    return TabOrigin + (Rel / Interval + 1) * Interval;
  };
  int Pen = X;
  int Start = 0;
  for (int I = 0; I <= Count; ++I) {
    if (I < Count && Str[I] != u'\t') continue;
    TSize Sz{};
    GetTextExtentPoint32W(H, Str + Start, I - Start, &Sz);
    if (Draw && I > Start) D->ExtTextOutW(Pen, Y, 0, nullptr, Str + Start, UINT(I - Start), nullptr);
    Pen += Sz.cx;
    if (I < Count) Pen = NextStop(Pen);
    Start = I + 1;
  }
  const int Width = Pen - X;
  return LONG((std::uint32_t(std::uint16_t(Tm.tmHeight)) << 16) | std::uint16_t(Width));
}

}  // namespace

LONG TabbedTextOutW(HDC H, int X, int Y, const WCHAR* Str, int Count, int NTabs, const int* Tabs, int TabOrigin) {
  return Tabbed(H, X, Y, Str, Count, NTabs, Tabs, TabOrigin, true);
}

LONG TabbedTextOutA(HDC H, int X, int Y, const char* Str, int Count, int NTabs, const int* Tabs, int TabOrigin) {
  const WideString W = GdiTextToWide(H, Str, Count);
  return Tabbed(H, X, Y, W.c_str(), int(W.size()), NTabs, Tabs, TabOrigin, true);
}

DWORD GetTabbedTextExtentW(HDC H, const WCHAR* Str, int Count, int NTabs, const int* Tabs) {
  return DWORD(Tabbed(H, 0, 0, Str, Count, NTabs, Tabs, 0, false));
}

DWORD GetTabbedTextExtentA(HDC H, const char* Str, int Count, int NTabs, const int* Tabs) {
  const WideString W = GdiTextToWide(H, Str, Count);
  return DWORD(Tabbed(H, 0, 0, W.c_str(), int(W.size()), NTabs, Tabs, 0, false));
}
