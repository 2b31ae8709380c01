// The raster bodies of the DC's blit operations and the Win32 entry points.
#include "platform/gdi/Blit.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/gdi/BlitRaster.h"
#include "platform/gdi/Dib.h"

namespace {

TBlitSpan DestSpanX(const TDC& Dc, int X, int Y, int W, int H, TBlitSpan& SY) {
  const TPoint A = Dc.ToDevice(TPoint(X, Y)), B = Dc.ToDevice(TPoint(X + W, Y + H));
  SY = BlitSpanFromEnds(A.Y, B.Y);
  return BlitSpanFromEnds(A.X, B.X);
}

// A BITMAPINFO from a caller carries no size: read as much as its header
// says it has (the caller vouches for the memory, as with the real call).
std::size_t TrustedInfoSize(const BITMAPINFO* Info) {
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biSize == sizeof(BITMAPCOREHEADER)) return 12 + 3 * 256;
  const std::size_t Colours = H.biClrUsed ? std::min<DWORD>(H.biClrUsed, 65536)
                              : H.biBitCount <= 8 ? (std::size_t(1) << H.biBitCount) : 0;
  return std::size_t(H.biSize) + 16 + 4 * Colours;
}

std::size_t TrustedBitsSize(const TDibInfo& I, const BITMAPINFO* Info, Integer Lines) {
  if (I.Compression == BI_RLE8 || I.Compression == BI_RLE4) return Info->bmiHeader.biSizeImage;
  return std::size_t(I.Dib.Stride()) * Lines;
}

// The logical palette selected into Dc, for DIB_PAL_COLORS.
std::vector<RGBQUAD> DcPalette(const TDC& Dc) {
  std::vector<RGBQUAD> Out;
  if (auto* P = dynamic_cast<TPaletteObject*>(GdiLookup(Dc.State().Palette, OBJ_PAL)))
    for (const PALETTEENTRY& E : P->Entries) Out.push_back(RGBQUAD{E.peBlue, E.peGreen, E.peRed, 0});
  return Out;
}

// Decodes a caller's DIB whose rows may be only Lines of the whole height.
std::unique_ptr<TBitmapObject> DecodeCallerDib(const TDC& Dc, const BITMAPINFO* Info,
                                               const void* Bits, UINT Usage, Integer Lines) {
  if (!Info || !Bits) return nullptr;
  try {
    const std::vector<RGBQUAD> Pal = Usage == DIB_PAL_COLORS ? DcPalette(Dc) : std::vector<RGBQUAD>{};
    TDibInfo I = ParseDibInfo(reinterpret_cast<const Byte*>(Info), TrustedInfoSize(Info), Usage,
                              Pal.empty() ? nullptr : &Pal);
    if (Lines >= 0 && Lines != I.Dib.Height()) {
      if (I.Compression == BI_RLE8 || I.Compression == BI_RLE4) return nullptr;
      I.Dib.Header.biHeight = I.Dib.TopDown() ? -Lines : Lines;
    }
    DecodeDibBits(I, static_cast<const Byte*>(Bits), TrustedBitsSize(I, Info, I.Dib.Height()));
    return BitmapFromDib(std::move(I.Dib));
  } catch (const EInvalidGraphic&) {
    return nullptr;
  }
}

}  // namespace

// --- DC operations -------------------------------------------------------------

BOOL TDC::PatBlt(int X, int Y, int W, int H, DWORD Rop) {
  TBlitRequest Q;
  // A pattern has no direction: the rectangle is only put in order.
  const TPoint A = ToDevice(TPoint(X, Y)), B = ToDevice(TPoint(X + W, Y + H));
  Q.DX = {std::min(A.X, B.X), std::max(A.X, B.X), false};
  Q.DY = {std::min(A.Y, B.Y), std::max(A.Y, B.Y), false};
  Q.Rop = Rop;
  if (RopUsesSource(RopIndex(Rop))) return FALSE;
  return RunBlit(*this, Q);
}

BOOL TDC::BitBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, DWORD Rop) {
  if (!RopUsesSource(RopIndex(Rop))) return PatBlt(X, Y, W, H, Rop);
  TBlitRequest Q;
  Q.DX = DestSpanX(*this, X, Y, W, H, Q.DY);
  Q.Rop = Rop;
  if (!SourceSpans(Src, XSrc, YSrc, W, H, Q.Src, Q.SX, Q.SY, Q.SrcBkColor)) return FALSE;
  return RunBlit(*this, Q);
}

BOOL TDC::StretchBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc,
                     DWORD Rop) {
  if (!RopUsesSource(RopIndex(Rop))) return PatBlt(X, Y, W, H, Rop);
  TBlitRequest Q;
  Q.DX = DestSpanX(*this, X, Y, W, H, Q.DY);
  Q.Rop = Rop;
  if (!SourceSpans(Src, XSrc, YSrc, WSrc, HSrc, Q.Src, Q.SX, Q.SY, Q.SrcBkColor)) return FALSE;
  return RunBlit(*this, Q);
}

BOOL TDC::MaskBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, HBITMAP Mask,
                  int XMask, int YMask, DWORD Rop) {
  if (!Mask) return BitBlt(X, Y, W, H, Src, XSrc, YSrc, Rop & 0x00FFFFFF);
  TBlitRequest Q;
  Q.DX = DestSpanX(*this, X, Y, W, H, Q.DY);
  Q.Rop = Rop;
  Q.Mask = GdiLookupAs<TBitmapObject>(Mask);
  if (!Q.Mask || Q.Mask->BitsPerPixel != 1) return FALSE;
  Q.MaskX = XMask;
  Q.MaskY = YMask;
  const bool NeedSrc = RopUsesSource(RopIndex(Rop)) || RopUsesSource(Byte(Rop >> 24));
  if (NeedSrc && !SourceSpans(Src, XSrc, YSrc, W, H, Q.Src, Q.SX, Q.SY, Q.SrcBkColor))
    return FALSE;
  return RunBlit(*this, Q);
}

int TDC::StretchDIBits(int X, int Y, int W, int H, int XSrc, int YSrc, int WSrc, int HSrc,
                       const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop) {
  std::unique_ptr<TBitmapObject> B = DecodeCallerDib(*this, Info, Bits, Usage, -1);
  if (!B) return 0;
  TBlitRequest Q;
  Q.DX = DestSpanX(*this, X, Y, W, H, Q.DY);
  Q.Rop = Rop;
  Q.Src = B.get();
  Q.SX = BlitSpanFromEnds(XSrc, XSrc + WSrc);
  // A bottom-up DIB counts YSrc up from its last row; the rectangle still
  // lands upright.
  const TBlitSpan Sy = BlitSpanFromEnds(YSrc, YSrc + HSrc);
  Q.SY = B->BottomUp ? TBlitSpan{B->Height - Sy.Hi, B->Height - Sy.Lo, Sy.Reversed} : Sy;
  Q.SrcBkColor = S.BkColor;
  if (!RunBlit(*this, Q)) return 0;
  return B->Height;
}

int TDC::SetDIBitsToDevice(int X, int Y, DWORD W, DWORD H, int XSrc, int YSrc, UINT StartScan,
                           UINT Lines, const void* Bits, const BITMAPINFO* Info, UINT Usage) {
  if (Lines == 0 || Lines > UINT(MaxDibSide) || W > DWORD(MaxDibSide) || H > DWORD(MaxDibSide))
    return 0;
  std::unique_ptr<TBitmapObject> B = DecodeCallerDib(*this, Info, Bits, Usage, Integer(Lines));
  if (!B) return 0;
  const int Wi = int(W), Hi = int(H), Start = int(StartScan), N = int(Lines);
  TBlitRequest Q;
  Q.DX = DestSpanX(*this, X, Y, Wi, Hi, Q.DY);
  Q.DX = BlitSpanFromEnds(Q.DX.Lo, Q.DX.Lo + Wi);  // no scaling: device pixels = DIB pixels
  Q.DY = BlitSpanFromEnds(Q.DY.Lo, Q.DY.Lo + Hi);
  Q.Src = B.get();
  Q.SX = BlitSpanFromEnds(XSrc, XSrc + Wi);
  // The rows given are DIB rows Start .. Start+N-1 (counted from the bottom
  // for a bottom-up DIB); the band's row 0 is its top.
  if (B->BottomUp) {
    const int Top = Start + N - YSrc - Hi;
    Q.SY = BlitSpanFromEnds(Top, Top + Hi);
  } else {
    Q.SY = BlitSpanFromEnds(YSrc - Start, YSrc - Start + Hi);
  }
  Q.SrcBkColor = S.BkColor;
  if (!RunBlit(*this, Q)) return 0;
  return N;
}

BOOL TDC::GradientFill(const TRIVERTEX* Vert, ULONG NVert, const void* Mesh, ULONG NMesh,
                       ULONG Mode) {
  if (!Vert || !Mesh || Mode > GRADIENT_FILL_TRIANGLE) return FALSE;
  TBitmapObject* Dst = Surface();
  if (!Dst || PathOpen()) return TRUE;
  const TPoint Org = DeviceOrigin();
  const TRegionData& Clip = DeviceClip();
  std::vector<TPoint> P(NVert);
  for (ULONG I = 0; I < NVert; ++I) {
    P[I] = ToDevice(TPoint(Vert[I].x, Vert[I].y));
    P[I].X += Org.X;
    P[I].Y += Org.Y;
  }
  auto Plot = [&](int X, int Y, double R, double G, double B) {
    Dst->SetPixelValue(X, Y, Dst->ColorToPixel(RGB(Byte(std::lround(R)), Byte(std::lround(G)),
                                                    Byte(std::lround(B)))));
  };
  auto Channel = [](COLOR16 C) { return double(C >> 8); };
  if (Mode != GRADIENT_FILL_TRIANGLE) {
    const GRADIENT_RECT* Rects = static_cast<const GRADIENT_RECT*>(Mesh);
    for (ULONG M = 0; M < NMesh; ++M) {
      const ULONG A = Rects[M].UpperLeft, B = Rects[M].LowerRight;
      if (A >= NVert || B >= NVert) return FALSE;
      const TRect Area{std::min(P[A].X, P[B].X), std::min(P[A].Y, P[B].Y),
                       std::max(P[A].X, P[B].X), std::max(P[A].Y, P[B].Y)};
      const bool Horz = Mode == GRADIENT_FILL_RECT_H;
      // Colours run from vertex A's edge to vertex B's edge, whichever side.
      const int From = Horz ? P[A].X : P[A].Y, To = Horz ? P[B].X : P[B].Y;
      const double Span = To - From;
      for (const TRect& C : Clip.Rects()) {
        const int L = std::max(C.Left, Area.Left), R = std::min(C.Right, Area.Right);
        const int T = std::max(C.Top, Area.Top), Bt = std::min(C.Bottom, Area.Bottom);
        for (int Y = T; Y < Bt; ++Y)
          for (int X = L; X < R; ++X) {
            const double U = Span == 0 ? 0 : ((Horz ? X : Y) - From) / Span;
            const double F = std::clamp(U, 0.0, 1.0);
            auto Mix = [&](COLOR16 Ca, COLOR16 Cb) {
              return Channel(Ca) + (Channel(Cb) - Channel(Ca)) * F;
            };
            Plot(X, Y, Mix(Vert[A].Red, Vert[B].Red), Mix(Vert[A].Green, Vert[B].Green),
                 Mix(Vert[A].Blue, Vert[B].Blue));
          }
      }
    }
    return TRUE;
  }
  const GRADIENT_TRIANGLE* Tris = static_cast<const GRADIENT_TRIANGLE*>(Mesh);
  for (ULONG M = 0; M < NMesh; ++M) {
    const ULONG Id[3] = {Tris[M].Vertex1, Tris[M].Vertex2, Tris[M].Vertex3};
    if (Id[0] >= NVert || Id[1] >= NVert || Id[2] >= NVert) return FALSE;
    const TPoint A = P[Id[0]], B = P[Id[1]], C = P[Id[2]];
    const double Area = double(B.X - A.X) * (C.Y - A.Y) - double(B.Y - A.Y) * (C.X - A.X);
    if (Area == 0) continue;
    const TRect Box{std::min({A.X, B.X, C.X}), std::min({A.Y, B.Y, C.Y}),
                    std::max({A.X, B.X, C.X}), std::max({A.Y, B.Y, C.Y})};
    for (const TRect& Cl : Clip.Rects()) {
      const int L = std::max(Cl.Left, Box.Left), R = std::min(Cl.Right, Box.Right);
      const int T = std::max(Cl.Top, Box.Top), Bt = std::min(Cl.Bottom, Box.Bottom);
      for (int Y = T; Y < Bt; ++Y)
        for (int X = L; X < R; ++X) {
          // Barycentric weights at the pixel centre.
          const double Px = X + 0.5, Py = Y + 0.5;
          const double W0 = ((B.X - Px) * (C.Y - Py) - (B.Y - Py) * (C.X - Px)) / Area;
          const double W1 = ((C.X - Px) * (A.Y - Py) - (C.Y - Py) * (A.X - Px)) / Area;
          const double W2 = 1 - W0 - W1;
          if (W0 < 0 || W1 < 0 || W2 < 0) continue;
          auto Mix = [&](COLOR16 TRIVERTEX::*Ch) {
            return Channel(Vert[Id[0]].*Ch) * W0 + Channel(Vert[Id[1]].*Ch) * W1 +
                   Channel(Vert[Id[2]].*Ch) * W2;
          };
          Plot(X, Y, Mix(&TRIVERTEX::Red), Mix(&TRIVERTEX::Green), Mix(&TRIVERTEX::Blue));
        }
    }
  }
  return TRUE;
}

BOOL TDC::AlphaBlend(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc, int HSrc,
                     const BLENDFUNCTION& Blend) {
  if (Blend.BlendOp != AC_SRC_OVER || W < 0 || H < 0 || WSrc < 0 || HSrc < 0) return FALSE;
  TBitmapObject* Dst = Surface();
  const TBitmapObject* SrcBmp;
  TBlitSpan SX, SY, DY;
  COLORREF Bk;
  if (!SourceSpans(Src, XSrc, YSrc, WSrc, HSrc, SrcBmp, SX, SY, Bk)) return FALSE;
  if (SX.Lo < 0 || SY.Lo < 0 || SX.Hi > SrcBmp->Width || SY.Hi > SrcBmp->Height) return FALSE;
  const bool PerPixel = (Blend.AlphaFormat & AC_SRC_ALPHA) != 0;
  if (PerPixel && SrcBmp->BitsPerPixel != 32) return FALSE;
  if (!Dst || PathOpen()) return TRUE;
  const TBlitSpan DX = DestSpanX(*this, X, Y, W, H, DY);
  const Int64 DW = DX.Length(), DH = DY.Length();
  if (DW <= 0 || DH <= 0 || SX.Length() <= 0 || SY.Length() <= 0) return TRUE;
  const TPoint Org = DeviceOrigin();
  const TRect Target{DX.Lo + Org.X, DY.Lo + Org.Y, DX.Hi + Org.X, DY.Hi + Org.Y};
  const unsigned Sca = Blend.SourceConstantAlpha;
  for (const TRect& C : DeviceClip().Rects()) {
    const int L = std::max(C.Left, Target.Left), R = std::min(C.Right, Target.Right);
    const int T = std::max(C.Top, Target.Top), B = std::min(C.Bottom, Target.Bottom);
    for (int Yd = T; Yd < B; ++Yd) {
      const int Sy = SY.Lo + int((2 * (Int64(Yd) - Target.Top) + 1) * SY.Length() / (2 * DH));
      for (int Xd = L; Xd < R; ++Xd) {
        const int Sx = SX.Lo + int((2 * (Int64(Xd) - Target.Left) + 1) * SX.Length() / (2 * DW));
        std::uint32_t Sv;
        if (SrcBmp->BitsPerPixel == 32) {
          std::memcpy(&Sv, SrcBmp->ScanLine(Sy) + std::size_t(Sx) * 4, 4);
        } else {
          const COLORREF Cr = SrcBmp->PixelToColor(SrcBmp->GetPixelValue(Sx, Sy));
          Sv = (std::uint32_t(GetRValue(Cr)) << 16) | (std::uint32_t(GetGValue(Cr)) << 8) | GetBValue(Cr);
        }
        std::uint32_t Dv;
        const bool D32 = Dst->BitsPerPixel == 32;
        if (D32) {
          std::memcpy(&Dv, Dst->ScanLine(Yd) + std::size_t(Xd) * 4, 4);
        } else {
          const COLORREF Cr = Dst->PixelToColor(Dst->GetPixelValue(Xd, Yd));
          Dv = (std::uint32_t(GetRValue(Cr)) << 16) | (std::uint32_t(GetGValue(Cr)) << 8) | GetBValue(Cr);
        }
        // Source over destination; with per-pixel alpha the source is
        // premultiplied, as the call requires.
        const unsigned Sa = PerPixel ? ((Sv >> 24) * Sca + 127) / 255 : Sca;
        std::uint32_t Out = 0;
        for (int Sh = 0; Sh < 32; Sh += 8) {
          const unsigned Sc = (Sv >> Sh) & 0xFF, Dc = (Dv >> Sh) & 0xFF;
          unsigned V = PerPixel ? (Sc * Sca + 127) / 255 + (Dc * (255 - Sa) + 127) / 255
                                : (Sc * Sca + Dc * (255 - Sca) + 127) / 255;
          if (Sh == 24 && !PerPixel) V = (Dv >> 24);
          Out |= std::min(V, 255u) << Sh;
        }
        if (D32) {
          std::memcpy(Dst->ScanLine(Yd) + std::size_t(Xd) * 4, &Out, 4);
        } else {
          Dst->SetPixelValue(Xd, Yd, Dst->ColorToPixel(RGB(Byte(Out >> 16), Byte(Out >> 8), Byte(Out))));
        }
      }
    }
  }
  return TRUE;
}

BOOL TDC::TransparentBlt(int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                         int HSrc, UINT Transparent) {
  if (W < 0 || H < 0 || WSrc < 0 || HSrc < 0) return FALSE;
  TBlitRequest Q;
  Q.DX = DestSpanX(*this, X, Y, W, H, Q.DY);
  if (!SourceSpans(Src, XSrc, YSrc, WSrc, HSrc, Q.Src, Q.SX, Q.SY, Q.SrcBkColor)) return FALSE;
  TBitmapObject* Dst = Surface();
  if (!Dst || PathOpen()) return TRUE;
  // A monochrome mask of the source: 1 where the pixel is not the
  // transparent colour, then one masked copy. It covers only the part of
  // the destination inside the clip, however large the destination.
  const TBitmapObject& SrcB = *Q.Src;
  const Int64 MW = Q.DX.Length(), MH = Q.DY.Length();
  if (MW <= 0 || MH <= 0) return TRUE;
  const TPoint Org = DeviceOrigin();
  const TRect Target{Q.DX.Lo + Org.X, Q.DY.Lo + Org.Y, Q.DX.Hi + Org.X, Q.DY.Hi + Org.Y};
  const TRect ClipBox = DeviceClip().Bounds();
  const TRect Vis{std::max(ClipBox.Left, Target.Left), std::max(ClipBox.Top, Target.Top),
                  std::min(ClipBox.Right, Target.Right), std::min(ClipBox.Bottom, Target.Bottom)};
  if (Vis.Left >= Vis.Right || Vis.Top >= Vis.Bottom) return TRUE;
  TBitmapObject Mask;
  Mask.Allocate(Vis.Width(), Vis.Height(), 1);
  Mask.DDBMono = true;
  const Int64 SW = Q.SX.Length(), SH = Q.SY.Length();
  for (int Y = Vis.Top; Y < Vis.Bottom; ++Y) {
    const Int64 J = Int64(Y) - Target.Top;
    const Int64 Sy = Q.SY.Lo + (2 * J + 1) * SH / (2 * MH);
    if (Sy < 0 || Sy >= SrcB.Height) continue;
    for (int X = Vis.Left; X < Vis.Right; ++X) {
      const Int64 I = Int64(X) - Target.Left;
      const Int64 Sx = Q.SX.Lo + (2 * I + 1) * SW / (2 * MW);
      if (Sx < 0 || Sx >= SrcB.Width) continue;
      if ((SrcB.PixelToColor(SrcB.GetPixelValue(int(Sx), int(Sy))) & 0xFFFFFF) != (Transparent & 0xFFFFFF))
        Mask.SetPixelValue(X - Vis.Left, Y - Vis.Top, 1);
    }
  }
  Q.MaskX = Target.Left - Vis.Left;
  Q.MaskY = Target.Top - Vis.Top;
  Q.Mask = &Mask;
  Q.Rop = MAKEROP4(SRCCOPY, 0x00AA0029);
  const int Saved = S.StretchMode;
  S.StretchMode = COLORONCOLOR;  // sample, so the mask and the pixels agree
  const BOOL Ok = RunBlit(*this, Q);
  S.StretchMode = Saved;
  return Ok;
}

// --- Win32 entry points -------------------------------------------------------------

BOOL BitBlt(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, DWORD Rop) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->BitBlt(X, Y, W, H, Src, XSrc, YSrc, Rop) : FALSE;
}

BOOL StretchBlt(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                int HSrc, DWORD Rop) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->StretchBlt(X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, Rop) : FALSE;
}

BOOL PatBlt(HDC Dc, int X, int Y, int W, int H, DWORD Rop) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->PatBlt(X, Y, W, H, Rop) : FALSE;
}

BOOL MaskBlt(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, HBITMAP Mask,
             int XMask, int YMask, DWORD Rop) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->MaskBlt(X, Y, W, H, Src, XSrc, YSrc, Mask, XMask, YMask, Rop) : FALSE;
}

int StretchDIBits(HDC Dc, int X, int Y, int W, int H, int XSrc, int YSrc, int WSrc, int HSrc,
                  const void* Bits, const BITMAPINFO* Info, UINT Usage, DWORD Rop) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->StretchDIBits(X, Y, W, H, XSrc, YSrc, WSrc, HSrc, Bits, Info, Usage, Rop) : 0;
}

int SetDIBitsToDevice(HDC Dc, int X, int Y, DWORD W, DWORD H, int XSrc, int YSrc, UINT StartScan,
                      UINT Lines, const void* Bits, const BITMAPINFO* Info, UINT Usage) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->SetDIBitsToDevice(X, Y, W, H, XSrc, YSrc, StartScan, Lines, Bits, Info, Usage)
           : 0;
}

BOOL GradientFill(HDC Dc, const TRIVERTEX* Vert, ULONG NVert, const void* Mesh, ULONG NMesh,
                  ULONG Mode) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->GradientFill(Vert, NVert, Mesh, NMesh, Mode) : FALSE;
}

BOOL AlphaBlend(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                int HSrc, BLENDFUNCTION Blend) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->AlphaBlend(X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, Blend) : FALSE;
}

BOOL TransparentBlt(HDC Dc, int X, int Y, int W, int H, HDC Src, int XSrc, int YSrc, int WSrc,
                    int HSrc, UINT Transparent) {
  TDC* D = GdiLookupDC(Dc);
  return D ? D->TransparentBlt(X, Y, W, H, Src, XSrc, YSrc, WSrc, HSrc, Transparent) : FALSE;
}
