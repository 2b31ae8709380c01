#include "platform/gdi/BlitRaster.h"

#include "platform/gdi/Raster.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using U32 = std::uint32_t;

bool SameTable(const TBitmapObject& A, const TBitmapObject& B) {
  return A.ColorTable == B.ColorTable;
}

DWORD Mask16(const TBitmapObject& B, int I) {
  static const DWORD Default[3] = {0x7C00, 0x03E0, 0x001F};
  if (B.RedMask == 0) return Default[I];
  return I == 0 ? B.RedMask : I == 1 ? B.GreenMask : B.BlueMask;
}

// Brings source pixel values into the destination's format.
class TConverter {
public:
  TConverter(const TBitmapObject& Src, COLORREF SrcBk, const TBitmapObject& Dst, COLORREF DstText,
             COLORREF DstBk)
      : FSrc(Src), FDst(Dst) {
    if (Dst.DDBMono && Src.DDBMono) {
      FKind = TKind::Identity;
    } else if (Dst.DDBMono) {
      // Colour to monochrome: the source's background colour becomes 1.
      FKind = TKind::ToMono;
      FBkValue = Src.ColorToPixel(SrcBk);
    } else if (Src.DDBMono) {
      // Monochrome to colour: 0 takes the text colour, 1 the background.
      FKind = TKind::Lut;
      FLut[0] = Dst.ColorToPixel(DstText);
      FLut[1] = Dst.ColorToPixel(DstBk);
    } else if (Src.BitsPerPixel >= 24 && Dst.BitsPerPixel >= 24) {
      FKind = TKind::Identity;  // both hold 0x00RRGGBB values
    } else if (Src.BitsPerPixel == Dst.BitsPerPixel &&
               (Src.BitsPerPixel > 8 ? (Mask16(Src, 0) == Mask16(Dst, 0) &&
                                        Mask16(Src, 1) == Mask16(Dst, 1) &&
                                        Mask16(Src, 2) == Mask16(Dst, 2))
                                     : SameTable(Src, Dst))) {
      FKind = TKind::Identity;
    } else if (Src.BitsPerPixel <= 8) {
      FKind = TKind::Lut;
      for (U32 I = 0; I < (1u << Src.BitsPerPixel); ++I)
        FLut[I] = Dst.ColorToPixel(Src.PixelToColor(I));
    } else {
      FKind = TKind::General;
    }
  }
  bool Identity() const { return FKind == TKind::Identity; }
  U32 operator()(U32 V) const {
    switch (FKind) {
      case TKind::Identity: return V;
      case TKind::Lut: return FLut[V & 0xFF];
      case TKind::ToMono: return V == FBkValue ? 1 : 0;
      case TKind::General: return FDst.ColorToPixel(FSrc.PixelToColor(V));
    }
    return V;
  }

private:
  enum class TKind { Identity, Lut, ToMono, General };
  const TBitmapObject& FSrc;
  const TBitmapObject& FDst;
  TKind FKind = TKind::General;
  U32 FLut[256] = {};
  U32 FBkValue = 0;
};

// The DC's brush as destination pixel values. Hatch backgrounds always take
// the background colour: a raster operation needs a pattern value everywhere.
class TPattern {
public:
  // False for the null brush.
  bool Init(const TDC& Dc, const TBitmapObject& Dst) {
    const TBrushObject* B = Dc.CurrentBrush();
    if (!B || B->Style == BS_NULL) return false;
    const TDcState& S = Dc.State();
    const TPoint Org = Dc.DeviceOrigin();
    FPaint = RasterBrushPaint(*B, Dst, S.TextColor, S.BkColor, OPAQUE, S.DCBrushColor,
                              {S.BrushOrg.X + Org.X, S.BrushOrg.Y + Org.Y}, R2_COPYPEN);
    return FPaint.Kind != TRasterPaint::None;
  }
  // N values of surface row Y from surface column X.
  void Row(int X, int Y, int N, U32* Out) const {
    if (FPaint.Kind == TRasterPaint::Solid) {
      std::fill(Out, Out + N, FPaint.Fore);
      return;
    }
    for (int I = 0; I < N; ++I)
      if (!FPaint.At(X + I, Y, Out[I])) Out[I] = FPaint.Back;
  }

private:
  TRasterPaint FPaint;
};

// For each visible destination pixel along one axis, the source pixels it
// takes: [Lo, Hi) in source coordinates, or Lo = -1 when they fall outside.
// Only destination pixels First .. First+size-1 (counted from D.Lo) are
// mapped, so a destination far larger than the surface costs nothing.
struct TAxisMap {
  int First = 0;
  std::vector<int> Lo, Hi;
  bool Plain = false;  // one-to-one and forwards: Lo[i] = Lo[0] + i
  int LoAt(int I) const { return Lo[std::size_t(I - First)]; }
  int HiAt(int I) const { return Hi[std::size_t(I - First)]; }
};

// A * B / C for non-negative values whose product may exceed 64 bits.
Int64 MulDiv64(Int64 A, Int64 B, Int64 C) { return Int64(__int128(A) * B / C); }

TAxisMap MapAxis(const TBlitSpan& D, const TBlitSpan& S, int SrcSize, bool Boxes, int First,
                 int Last) {
  TAxisMap M;
  const Int64 N = D.Length(), SN = S.Length();
  M.First = First;
  M.Lo.resize(std::size_t(Last - First));
  M.Hi.resize(std::size_t(Last - First));
  const bool Mirror = D.Reversed != S.Reversed;
  M.Plain = N == SN && !Mirror;
  for (int I = First; I < Last; ++I) {
    // T counts along the destination in its own direction; K0..K1 along the
    // source in its direction.
    const Int64 T = D.Reversed ? N - 1 - I : I;
    Int64 K0, K1;
    if (Boxes && SN > N) {
      K0 = MulDiv64(T, SN, N);
      K1 = std::max(K0 + 1, MulDiv64(T + 1, SN, N));
    } else {
      K0 = MulDiv64(2 * T + 1, SN, 2 * N);
      K1 = K0 + 1;
    }
    Int64 A, B;
    if (S.Reversed) {
      A = S.Hi - K1;
      B = S.Hi - K0;
    } else {
      A = S.Lo + K0;
      B = S.Lo + K1;
    }
    A = std::max<Int64>(A, 0);
    B = std::min<Int64>(B, SrcSize);
    const std::size_t At = std::size_t(I - First);
    if (A >= B) {
      M.Lo[At] = -1;
      M.Hi[At] = -1;
    } else {
      M.Lo[At] = int(A);
      M.Hi[At] = int(B);
    }
  }
  return M;
}

// A private copy of a bitmap's pixels, for a source that is also the
// destination of a scaled transfer.
std::unique_ptr<TBitmapObject> Snapshot(const TBitmapObject& B) {
  auto C = std::make_unique<TBitmapObject>();
  C->Width = B.Width;
  C->Height = B.Height;
  C->BitsPerPixel = B.BitsPerPixel;
  C->Stride = B.Stride;
  C->BottomUp = B.BottomUp;
  C->IsDIBSection = B.IsDIBSection;
  C->DDBMono = B.DDBMono;
  C->ColorTable = B.ColorTable;
  C->RedMask = B.RedMask;
  C->GreenMask = B.GreenMask;
  C->BlueMask = B.BlueMask;
  C->Storage.assign(B.Bits, B.Bits + std::size_t(B.Stride) * B.Height);
  C->Bits = C->Storage.data();
  return C;
}

U32 RawPixel(const TBitmapObject& B, int X, int Y) {
  if (B.BitsPerPixel == 32) {
    U32 V;
    std::memcpy(&V, B.ScanLine(Y) + std::size_t(X) * 4, 4);
    return V & 0xFFFFFF;
  }
  return B.GetPixelValue(X, Y);
}

}  // namespace

TBlitSpan BlitSpanFromEnds(int A, int B) {
  if (B >= A) return {A, B, false};
  return {B + 1, A + 1, true};
}

BOOL RunBlit(TDC& Dc, const TBlitRequest& Q) {
  TBitmapObject* Dst = Dc.Surface();
  if (!Dst || Dc.PathOpen()) return TRUE;
  const Int64 W = Q.DX.Length(), H = Q.DY.Length();
  if (W <= 0 || H <= 0) return TRUE;
  if (Q.Mask && Q.Mask->BitsPerPixel != 1) return FALSE;

  const Byte Fore = RopIndex(Q.Rop);
  const Byte Back = Q.Mask ? Byte(Q.Rop >> 24) : Fore;
  const bool NeedSrc = RopUsesSource(Fore) || RopUsesSource(Back);
  const bool NeedPat = RopUsesPattern(Fore) || RopUsesPattern(Back);
  if (NeedSrc && !Q.Src) return FALSE;
  const TBitmapObject* Src = NeedSrc ? Q.Src : nullptr;

  TPattern Pat;
  if (NeedPat && !Pat.Init(Dc, *Dst)) return TRUE;  // the null brush paints nothing

  const TDcState& S = Dc.State();
  const TPoint Org = Dc.DeviceOrigin();
  const TRect Target{Q.DX.Lo + Org.X, Q.DY.Lo + Org.Y, Q.DX.Hi + Org.X, Q.DY.Hi + Org.Y};
  // Only the part of the destination inside the clip is ever touched: the
  // work is bounded by it, however large the destination.
  const TRect ClipBox = Dc.DeviceClip().Bounds();
  const TRect Visible{std::max(ClipBox.Left, Target.Left), std::max(ClipBox.Top, Target.Top),
                      std::min(ClipBox.Right, Target.Right), std::min(ClipBox.Bottom, Target.Bottom)};
  if (Visible.Left >= Visible.Right || Visible.Top >= Visible.Bottom) return TRUE;
  std::unique_ptr<TBitmapObject> Copy;
  TAxisMap XMap, YMap;
  bool Boxes = false;
  if (Src) {
    const bool Shrinks = Q.SX.Length() > W || Q.SY.Length() > H;
    Boxes = Shrinks && S.StretchMode != COLORONCOLOR;
    XMap = MapAxis(Q.DX, Q.SX, Src->Width, Boxes, Visible.Left - Target.Left, Visible.Right - Target.Left);
    YMap = MapAxis(Q.DY, Q.SY, Src->Height, Boxes, Visible.Top - Target.Top, Visible.Bottom - Target.Top);
    if (Src == Dst && !(XMap.Plain && YMap.Plain)) {
      Copy = Snapshot(*Src);
      Src = Copy.get();
    }
  }
  const TConverter Conv = Src ? TConverter(*Src, Q.SrcBkColor, *Dst, S.TextColor, S.BkColor)
                              : TConverter(*Dst, 0, *Dst, 0, 0);
  const U32 PixMask = Dst->PixelMask();
  const bool Direct32 = Dst->BitsPerPixel == 32;
  // Unscaled copies within one bitmap move rows in the order that reads
  // each source row before it is overwritten.
  const bool BottomFirst = Src == Dst && YMap.Plain && YMap.Lo[0] - YMap.First < Q.DY.Lo;

  std::vector<U32> SRow, PRow, DRow, Tmp;
  for (const TRect& Clip : Dc.DeviceClip().Rects()) {
    const int L = std::max(Clip.Left, Target.Left), R = std::min(Clip.Right, Target.Right);
    const int T = std::max(Clip.Top, Target.Top), B = std::min(Clip.Bottom, Target.Bottom);
    if (L >= R || T >= B) continue;
    const int N = R - L;
    SRow.resize(N);
    PRow.resize(N);
    DRow.resize(N);
    Tmp.resize(N);
    for (int Step = 0; Step < B - T; ++Step) {
      const int Y = BottomFirst ? B - 1 - Step : T + Step;
      const int J = Y - Target.Top;
      int X0 = 0, X1 = N;  // the part of the row with source pixels
      const U32* DirectSrc = nullptr;
      if (Src) {
        if (YMap.LoAt(J) < 0) continue;
        const int I0 = L - Target.Left;
        while (X0 < N && XMap.LoAt(I0 + X0) < 0) ++X0;
        while (X1 > X0 && XMap.LoAt(I0 + X1 - 1) < 0) --X1;
        if (X0 >= X1) continue;
        // Fast path: same-format unscaled SRCCOPY copies whole pixels.
        if (!Q.Mask && Fore == 0xCC && Conv.Identity() && XMap.Plain && YMap.Plain &&
            Src->BitsPerPixel == 32 && Direct32) {
          const Byte* SL = Src->ScanLine(YMap.LoAt(J)) + std::size_t(XMap.LoAt(I0 + X0)) * 4;
          Byte* DL = Dst->ScanLine(Y) + std::size_t(L + X0) * 4;
          std::memmove(DL, SL, std::size_t(X1 - X0) * 4);
          continue;
        }
        // Same format, unscaled, another bitmap: operate on the source row
        // in place.
        if (Direct32 && Src != Dst && Src->BitsPerPixel == 32 && Conv.Identity() &&
            XMap.Plain && YMap.Plain) {
          DirectSrc = reinterpret_cast<const U32*>(Src->ScanLine(YMap.LoAt(J))) + XMap.LoAt(I0 + X0);
        }
        for (int I = X0; I < X1 && !DirectSrc; ++I) {
          const int C0 = XMap.LoAt(I0 + I), C1 = XMap.HiAt(I0 + I);
          if (!Boxes || (C1 - C0 == 1 && YMap.HiAt(J) - YMap.LoAt(J) == 1)) {
            SRow[I] = Conv(RawPixel(*Src, C0, YMap.LoAt(J)));
            continue;
          }
          // Shrinking: combine the box of source pixels the pixel covers.
          U32 And = 0xFFFFFFFF, Or = 0, Sum[3] = {0, 0, 0}, Count = 0;
          for (int SY = YMap.LoAt(J); SY < YMap.HiAt(J); ++SY)
            for (int SX = C0; SX < C1; ++SX) {
              const U32 V = Conv(RawPixel(*Src, SX, SY));
              And &= V;
              Or |= V;
              const COLORREF C = Dst->PixelToColor(V);
              Sum[0] += GetRValue(C);
              Sum[1] += GetGValue(C);
              Sum[2] += GetBValue(C);
              ++Count;
            }
          if (S.StretchMode == WHITEONBLACK) {
            SRow[I] = Or;
          } else if (S.StretchMode == HALFTONE) {
            SRow[I] = Dst->ColorToPixel(RGB(Byte((Sum[0] + Count / 2) / Count),
                                            Byte((Sum[1] + Count / 2) / Count),
                                            Byte((Sum[2] + Count / 2) / Count)));
          } else {
            SRow[I] = And;  // BLACKONWHITE
          }
        }
      }
      const int N2 = X1 - X0;
      const int XL = L + X0;
      if (NeedPat) Pat.Row(XL, Y, N2, PRow.data() + X0);
      U32* D;
      if (Direct32) {
        D = reinterpret_cast<U32*>(Dst->ScanLine(Y)) + XL;
      } else {
        D = DRow.data() + X0;
        for (int I = 0; I < N2; ++I) D[I] = Dst->GetPixelValue(XL + I, Y);
      }
      const U32* SP = DirectSrc ? DirectSrc : Src ? SRow.data() + X0 : nullptr;
      const U32* PP = NeedPat ? PRow.data() + X0 : nullptr;
      if (!Q.Mask) {
        RopRow(Fore, D, SP, PP, N2, PixMask);
      } else {
        U32* Alt = Tmp.data() + X0;
        std::copy(D, D + N2, Alt);
        RopRow(Fore, D, SP, PP, N2, PixMask);
        RopRow(Back, Alt, SP, PP, N2, PixMask);
        const int MY = Q.MaskY + J;
        for (int I = 0; I < N2; ++I) {
          const int MX = Q.MaskX + (XL + I - Target.Left);
          const bool On = MX >= 0 && MY >= 0 && MX < Q.Mask->Width && MY < Q.Mask->Height &&
                          Q.Mask->GetPixelValue(MX, MY) != 0;
          if (!On) D[I] = Alt[I];
        }
      }
      if (!Direct32)
        for (int I = 0; I < N2; ++I) Dst->SetPixelValue(XL + I, Y, D[I]);
    }
  }
  return TRUE;
}

std::unique_ptr<TBitmapObject> BitmapFromDib(TDib Dib) {
  // 16-bit masks of any layout are kept; 32-bit pixels are read as 8-8-8.
  const bool Standard32 =
      Dib.BitCount() != 32 || Dib.Header.biCompression != BI_BITFIELDS ||
      (Dib.Masks[0] == 0xFF0000 && Dib.Masks[1] == 0xFF00 && Dib.Masks[2] == 0xFF);
  if (!Standard32) {
    const std::vector<std::uint32_t> Px = DibToBgra32(Dib);
    Dib = DibFromBgra32(Px.data(), Dib.Width(), Dib.Height(), 32, TDibOrientation::TopDown);
  }
  auto B = std::make_unique<TBitmapObject>();
  B->Width = Dib.Width();
  B->Height = Dib.Height();
  B->BitsPerPixel = Dib.BitCount();
  B->Stride = Dib.Stride();
  B->BottomUp = !Dib.TopDown();
  B->IsDIBSection = true;
  B->ColorTable = Dib.Palette;
  if (Dib.BitCount() == 16 && Dib.Header.biCompression == BI_BITFIELDS) {
    B->RedMask = Dib.Masks[0];
    B->GreenMask = Dib.Masks[1];
    B->BlueMask = Dib.Masks[2];
  }
  B->Storage = std::move(Dib.Bits);
  B->Bits = B->Storage.data();
  return B;
}

bool SourceSpans(HDC Src, int X, int Y, int W, int H, const TBitmapObject*& Bmp, TBlitSpan& SX,
                 TBlitSpan& SY, COLORREF& BkColor) {
  TDC* S = GdiLookupDC(Src);
  if (!S || !S->Surface()) return false;
  const TPoint A = S->ToDevice(TPoint(X, Y)), B = S->ToDevice(TPoint(X + W, Y + H));
  const TPoint Org = S->DeviceOrigin();
  SX = BlitSpanFromEnds(A.X + Org.X, B.X + Org.X);
  SY = BlitSpanFromEnds(A.Y + Org.Y, B.Y + Org.Y);
  Bmp = S->Surface();
  BkColor = S->State().BkColor;
  return true;
}
