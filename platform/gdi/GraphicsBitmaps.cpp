#include "platform/gdi/GraphicsBitmaps_p.h"

#include <algorithm>
#include <cstring>
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/DibBitmaps.h"
#include "platform/gdi/GdiObjectTable.h"

namespace {
TBitmapObject* Obj(HBITMAP H) { return static_cast<TBitmapObject*>(GdiLookup(H, OBJ_BITMAP)); }
}  // namespace

HDC GxScreenDC() {
  static HDC Dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  return Dc;
}

TGxBitmapDC::TGxBitmapDC(HBITMAP Bmp) : TMemoryDc(Bmp) {
  if (!Dc()) throw EOutOfMemory("Out of system resources");
}

HBITMAP GxCreateSection(Integer W, Integer H, TPixelFormat Format, const std::vector<RGBQUAD>& Palette) {
  Integer Bits = PixelFormatBits(Format);
  if (Bits == 0) Bits = 32;
  CheckDibSize(W, H, Bits);
  TDib D;  // header and colours only: the section allocates the pixels
  D.Header.biSize = sizeof(BITMAPINFOHEADER);
  D.Header.biWidth = W;
  D.Header.biHeight = H;
  D.Header.biPlanes = 1;
  D.Header.biBitCount = WORD(Bits);
  D.Header.biCompression = BI_RGB;
  if (Format == pf16bit) {
    D.Header.biCompression = BI_BITFIELDS;
    D.Masks = {0xF800, 0x07E0, 0x001F, 0};
  }
  if (Bits <= 8) {
    D.Palette = Palette.empty() ? DefaultDibPalette(Bits) : Palette;
    D.Palette.resize(std::min<std::size_t>(D.Palette.size(), std::size_t(1) << Bits));
  }
  const std::vector<Byte> Info = DibInfoBytes(D);
  void* Pixels = nullptr;
  HBITMAP Bmp = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(Info.data()),
                                 DIB_RGB_COLORS, &Pixels, nullptr, 0);
  if (!Bmp) throw EOutOfMemory("Out of system resources");
  return Bmp;
}

HBITMAP GxSectionFromDib(const TDib& Dib) {
  CheckDibSize(Dib.Width(), Dib.Height(), Dib.BitCount());
  TDib Info = Dib;
  Info.Bits.clear();
  Info.Header.biHeight = Dib.Height();  // bottom-up
  const std::vector<Byte> InfoBytes = DibInfoBytes(Info);
  void* Pixels = nullptr;
  HBITMAP Bmp = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(InfoBytes.data()),
                                 DIB_RGB_COLORS, &Pixels, nullptr, 0);
  if (!Bmp || !Pixels) throw EOutOfMemory("Out of system resources");
  TBitmapObject* B = Obj(Bmp);
  const std::size_t Row = std::size_t(std::min(B->Stride, Dib.Stride()));
  for (Integer Y = 0; Y < Dib.Height(); ++Y) std::memcpy(B->ScanLine(Y), Dib.ScanLine(Y), Row);
  return Bmp;
}

TDib GxObjectToDib(HBITMAP Bmp) {
  const TBitmapObject* B = Obj(Bmp);
  if (!B || B->Width == 0 || B->Height == 0) return TDib{};
  std::vector<RGBQUAD> Pal = B->ColorTable;
  if (B->BitsPerPixel == 1 && (B->DDBMono || Pal.empty()))
    Pal = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  TDib D = MakeDib(B->Width, B->Height, B->BitsPerPixel, TDibOrientation::BottomUp, Pal);
  if ((B->BitsPerPixel == 16 || B->BitsPerPixel == 32) && B->RedMask) {
    D.Header.biCompression = BI_BITFIELDS;
    D.Masks = {B->RedMask, B->GreenMask, B->BlueMask, 0};
  }
  const std::size_t Row = std::size_t(std::min(B->Stride, D.Stride()));
  for (Integer Y = 0; Y < B->Height; ++Y) std::memcpy(D.ScanLine(Y), B->ScanLine(Y), Row);
  return D;
}

TDib GxDibFromBgra(const std::uint32_t* Px, Integer W, Integer H, TPixelFormat Format) {
  if (Format != pf16bit) {
    Integer Bits = PixelFormatBits(Format);
    return DibFromBgra32(Px, W, H, Bits ? Bits : 32);
  }
  TDib D = MakeDib(W, H, 16);
  D.Header.biCompression = BI_BITFIELDS;
  D.Masks = {0xF800, 0x07E0, 0x001F, 0};
  for (Integer Y = 0; Y < H; ++Y) {
    Byte* Row = D.ScanLine(Y);
    for (Integer X = 0; X < W; ++X) {
      const std::uint32_t P = Px[std::size_t(Y) * W + X];
      const unsigned R = (P >> 16) & 0xFF, G = (P >> 8) & 0xFF, B = P & 0xFF;
      const unsigned V = (((R * 31 + 127) / 255) << 11) | (((G * 63 + 127) / 255) << 5) |
                         ((B * 31 + 127) / 255);
      Row[X * 2] = Byte(V);
      Row[X * 2 + 1] = Byte(V >> 8);
    }
  }
  return D;
}

void GxFill(HBITMAP Bmp, Integer W, Integer H, DWORD Rop) {
  TGxBitmapDC Dc(Bmp);
  PatBlt(Dc.Dc(), 0, 0, W, H, Rop);
}

void GxCopy(HBITMAP Dst, HBITMAP Src, Integer W, Integer H) {
  TGxBitmapDC D(Dst), S(Src);
  BitBlt(D.Dc(), 0, 0, W, H, S.Dc(), 0, 0, SRCCOPY);
}

void GxCopyPixels(HBITMAP Dst, HBITMAP Src) {
  TBitmapObject* D = Obj(Dst);
  const TBitmapObject* S = Obj(Src);
  if (!D || !S || D->Width != S->Width || D->Height != S->Height || D->BitsPerPixel != S->BitsPerPixel ||
      D->Stride != S->Stride) {
    if (D && S) GxCopy(Dst, Src, std::min(D->Width, S->Width), std::min(D->Height, S->Height));
    return;
  }
  D->ColorTable = S->ColorTable;
  D->RedMask = S->RedMask;
  D->GreenMask = S->GreenMask;
  D->BlueMask = S->BlueMask;
  for (Integer Y = 0; Y < S->Height; ++Y) std::memcpy(D->ScanLine(Y), S->ScanLine(Y), std::size_t(S->Stride));
}

void GxCopyColorTable(HBITMAP Dst, HBITMAP Src) {
  TBitmapObject* D = Obj(Dst);
  const TBitmapObject* S = Obj(Src);
  if (D && S && D->BitsPerPixel == S->BitsPerPixel && D->BitsPerPixel <= 8 && !S->DDBMono &&
      !S->ColorTable.empty())
    D->ColorTable = S->ColorTable;
}

HBITMAP GxMakeMask(HBITMAP Bmp, COLORREF Color) {
  const TBitmapObject* B = Obj(Bmp);
  if (!B) return nullptr;
  HBITMAP Mask = CreateBitmap(B->Width, B->Height, 1, 1, nullptr);
  TBitmapObject* M = Obj(Mask);
  if (!M) throw EOutOfMemory("Out of system resources");
  const std::uint32_t White = M->ColorToPixel(RGB(255, 255, 255)), Black = M->ColorToPixel(0);
  Color &= 0xFFFFFF;
  for (Integer Y = 0; Y < B->Height; ++Y)
    for (Integer X = 0; X < B->Width; ++X)
      M->SetPixelValue(X, Y, B->PixelToColor(B->GetPixelValue(X, Y)) == Color ? White : Black);
  return Mask;
}

HPALETTE GxPaletteFromTable(const std::vector<RGBQUAD>& Table) {
  if (Table.empty()) return nullptr;
  std::vector<Byte> Buf(sizeof(LOGPALETTE) + Table.size() * sizeof(PALETTEENTRY));
  auto* Lp = reinterpret_cast<LOGPALETTE*>(Buf.data());
  Lp->palVersion = 0x300;
  Lp->palNumEntries = WORD(Table.size());
  for (std::size_t I = 0; I < Table.size(); ++I)
    Lp->palPalEntry[I] = PALETTEENTRY{Table[I].rgbRed, Table[I].rgbGreen, Table[I].rgbBlue, 0};
  return CreatePalette(Lp);
}

HPALETTE GxCopyPalette(HPALETTE Pal) {
  const auto* P = static_cast<const TPaletteObject*>(GdiLookup(Pal, OBJ_PAL));
  if (!P || P->Entries.empty()) return nullptr;
  std::vector<RGBQUAD> T;
  for (const auto& E : P->Entries) T.push_back(RGBQUAD{E.peBlue, E.peGreen, E.peRed, 0});
  return GxPaletteFromTable(T);
}
