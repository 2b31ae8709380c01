#include "platform/gdi/DibBitmaps.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/BlitRaster.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/DcObject.h"

namespace {

std::size_t TrustedInfoSize(const BITMAPINFO* Info) {
  const BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biSize == sizeof(BITMAPCOREHEADER)) return 12 + 3 * 256;
  const std::size_t Colours = H.biClrUsed ? std::min<DWORD>(H.biClrUsed, 65536)
                              : H.biBitCount <= 8 ? (std::size_t(1) << H.biBitCount) : 0;
  return std::size_t(H.biSize) + 16 + 4 * Colours;
}

std::vector<RGBQUAD> DcPalette(HDC Dc) {
  std::vector<RGBQUAD> Out;
  if (TDC* D = GdiLookupDC(Dc))
    if (auto* P = dynamic_cast<TPaletteObject*>(GdiLookup(D->State().Palette, OBJ_PAL)))
      for (const PALETTEENTRY& E : P->Entries)
        Out.push_back(RGBQUAD{E.peBlue, E.peGreen, E.peRed, 0});
  return Out;
}

bool ParseCallerInfo(HDC Dc, const BITMAPINFO* Info, UINT Usage, TDibInfo& Out) {
  if (!Info || (Usage != DIB_RGB_COLORS && Usage != DIB_PAL_COLORS)) return false;
  try {
    const std::vector<RGBQUAD> Pal = Usage == DIB_PAL_COLORS ? DcPalette(Dc) : std::vector<RGBQUAD>{};
    Out = ParseDibInfo(reinterpret_cast<const Byte*>(Info), TrustedInfoSize(Info), Usage,
                       Pal.empty() ? nullptr : &Pal);
    return true;
  } catch (const EInvalidGraphic&) {
    return false;
  }
}

TBitmapObject* LookupBitmap(HBITMAP Bmp) {
  return static_cast<TBitmapObject*>(GdiLookup(Bmp, OBJ_BITMAP));
}

COLORREF ColorOf(const TBitmapObject& B, std::uint32_t V) { return B.PixelToColor(V); }

}  // namespace

HBITMAP CreateDIBSection(HDC Dc, const BITMAPINFO* Info, UINT Usage, void** Bits, HANDLE Section,
                         DWORD Offset) {
  if (Bits) *Bits = nullptr;
  if (Section != nullptr || Offset != 0) SX_NOT_IMPLEMENTED("CreateDIBSection on a file mapping");
  TDibInfo I;
  if (!ParseCallerInfo(Dc, Info, Usage, I)) return nullptr;
  if (I.Compression != BI_RGB && I.Compression != BI_BITFIELDS) return nullptr;
  const TDib& D = I.Dib;
  if (D.BitCount() == 32 && D.Header.biCompression == BI_BITFIELDS &&
      !(D.Masks[0] == 0xFF0000 && D.Masks[1] == 0xFF00 && D.Masks[2] == 0xFF))
    SX_NOT_IMPLEMENTED("CreateDIBSection with 32-bit masks other than 8-8-8");
  auto B = std::make_unique<TBitmapObject>();
  try {
    B->Allocate(D.Width(), D.Height(), D.BitCount());
  } catch (const Exception&) {
    return nullptr;
  }
  B->BottomUp = !D.TopDown();
  B->IsDIBSection = true;
  B->ColorTable = D.Palette;
  if (D.BitCount() == 16 && D.Header.biCompression == BI_BITFIELDS) {
    B->RedMask = D.Masks[0];
    B->GreenMask = D.Masks[1];
    B->BlueMask = D.Masks[2];
  }
  void* Pixels = B->Bits;
  HBITMAP H = HBITMAP(GdiAddObject(std::move(B)));
  if (H && Bits) *Bits = Pixels;
  return H;
}

HBITMAP CreateDIBitmap(HDC Dc, const BITMAPINFOHEADER* Header, DWORD Init, const void* Bits,
                       const BITMAPINFO* Info, UINT Usage) {
  if (!Header) return nullptr;
  int W, H;
  if (Header->biSize == sizeof(BITMAPCOREHEADER)) {
    const auto* Core = reinterpret_cast<const BITMAPCOREHEADER*>(Header);
    W = Core->bcWidth;
    H = Core->bcHeight;
  } else {
    W = Header->biWidth;
    H = Header->biHeight < 0 ? -Header->biHeight : Header->biHeight;
  }
  if (W <= 0 || H <= 0 || Int64(W) * H > MaxDibPixels) return nullptr;
  HDC Screen = nullptr;
  if (!Dc) Screen = Dc = CreateCompatibleDC(nullptr);
  // A DC's own compatible bitmap: colour for screen DCs, like the selected
  // bitmap for memory DCs. A screen-less call makes a colour one.
  HBITMAP Bmp = Screen ? CreateBitmap(W, H, 1, 32, nullptr) : CreateCompatibleBitmap(Dc, W, H);
  if (Screen) DeleteDC(Screen);
  if (!Bmp) return nullptr;
  if ((Init & CBM_INIT) && Bits && Info &&
      SetDIBits(Dc == Screen ? nullptr : Dc, Bmp, 0, UINT(H), Bits, Info, Usage) == 0) {
    DeleteObject(Bmp);
    return nullptr;
  }
  return Bmp;
}

int GetDIBits(HDC /*Dc*/, HBITMAP Bmp, UINT StartScan, UINT Lines, void* Bits, BITMAPINFO* Info,
              UINT Usage) {
  TBitmapObject* B = LookupBitmap(Bmp);
  if (!B || !Info || (Usage != DIB_RGB_COLORS && Usage != DIB_PAL_COLORS)) return 0;
  BITMAPINFOHEADER& H = Info->bmiHeader;
  if (H.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  if (!Bits && H.biBitCount == 0) {
    // The bitmap describes itself.
    H.biWidth = B->Width;
    H.biHeight = B->BottomUp || !B->IsDIBSection ? B->Height : -B->Height;
    H.biPlanes = 1;
    H.biBitCount = WORD(B->BitsPerPixel);
    H.biCompression = B->RedMask ? BI_BITFIELDS : BI_RGB;
    H.biSizeImage = DWORD(DibStride(B->Width, B->BitsPerPixel) * B->Height);
    H.biClrUsed = 0;
    H.biClrImportant = 0;
    return B->Height ? B->Height : 1;
  }
  const int Bpp = H.biBitCount;
  if (Bpp != 1 && Bpp != 4 && Bpp != 8 && Bpp != 16 && Bpp != 24 && Bpp != 32) return 0;
  if (H.biCompression != BI_RGB && !(H.biCompression == BI_BITFIELDS && (Bpp == 16 || Bpp == 32)))
    return 0;
  if (H.biWidth != B->Width && H.biWidth != 0) {
    // The request's width must be the bitmap's.
    return 0;
  }
  H.biWidth = B->Width;
  const bool TopDown = H.biHeight < 0;
  if (H.biHeight == 0) H.biHeight = B->Height;
  H.biPlanes = 1;
  H.biSizeImage = DWORD(DibStride(B->Width, Bpp) * (TopDown ? -H.biHeight : H.biHeight));

  // The colour table: the bitmap's own at equal depth, else a default one;
  // a monochrome device bitmap reads as black and white.
  std::vector<RGBQUAD> Table;
  if (Bpp <= 8) {
    if (B->DDBMono && Bpp == 1) Table = DefaultDibPalette(1);
    else if (B->BitsPerPixel == Bpp && !B->ColorTable.empty()) Table = B->ColorTable;
    else Table = DefaultDibPalette(Bpp);
    Table.resize(std::size_t(1) << Bpp);
    H.biClrUsed = 0;
    if (Usage == DIB_PAL_COLORS) {
      WORD* Idx = reinterpret_cast<WORD*>(Info->bmiColors);
      for (std::size_t I = 0; I < Table.size(); ++I) Idx[I] = WORD(I);
    } else {
      std::memcpy(Info->bmiColors, Table.data(), Table.size() * sizeof(RGBQUAD));
    }
  }
  DWORD Masks[3] = {0, 0, 0};
  if (H.biCompression == BI_BITFIELDS) {
    Masks[0] = Bpp == 16 ? 0xF800 : 0xFF0000;
    Masks[1] = Bpp == 16 ? 0x07E0 : 0x00FF00;
    Masks[2] = Bpp == 16 ? 0x001F : 0x0000FF;
    std::memcpy(Info->bmiColors, Masks, sizeof Masks);
  }
  if (!Bits) return B->Height ? B->Height : 1;

  const int Height = B->Height;
  if (StartScan >= UINT(Height)) return 0;
  const int N = int(std::min<UINT>(Lines, UINT(Height) - StartScan));
  // Build the requested lines as a DIB of that format, then copy them out.
  std::vector<std::uint32_t> Px(std::size_t(B->Width) * N);
  for (int R = 0; R < N; ++R) {
    // Row R of the output band, counted from its first stored row.
    const int Line = int(StartScan) + R;                     // DIB line number
    const int Y = TopDown ? Line : Height - 1 - Line;        // bitmap row, top = 0
    std::uint32_t* Out = Px.data() + std::size_t(TopDown ? R : N - 1 - R) * B->Width;
    for (int X = 0; X < B->Width; ++X) {
      std::uint32_t V = B->GetPixelValue(X, Y);
      if (B->BitsPerPixel == 32 && Bpp == 32) {
        std::memcpy(&V, B->ScanLine(Y) + std::size_t(X) * 4, 4);  // alpha too
        Out[X] = V;
      } else if (B->DDBMono) {
        Out[X] = V ? 0xFFFFFF : 0;
      } else {
        const COLORREF C = ColorOf(*B, V);
        Out[X] = (std::uint32_t(GetRValue(C)) << 16) | (std::uint32_t(GetGValue(C)) << 8) | GetBValue(C);
      }
    }
  }
  TDib D = DibFromBgra32(Px.data(), B->Width, N, Bpp,
                         TopDown ? TDibOrientation::TopDown : TDibOrientation::BottomUp, Table);
  if (Bpp == 16 && H.biCompression == BI_BITFIELDS) {
    // 5-6-5 as announced in the masks.
    for (int Y = 0; Y < N; ++Y)
      for (int X = 0; X < B->Width; ++X) {
        const std::uint32_t P = Px[std::size_t(Y) * B->Width + X];
        const WORD V = WORD(((P >> 8) & 0xF800) | ((P >> 5) & 0x07E0) | ((P >> 3) & 0x1F));
        std::memcpy(D.ScanLine(Y) + 2 * X, &V, 2);
      }
  }
  std::memcpy(Bits, D.Bits.data(), D.Bits.size());
  return N;
}

int SetDIBits(HDC Dc, HBITMAP Bmp, UINT StartScan, UINT Lines, const void* Bits,
              const BITMAPINFO* Info, UINT Usage) {
  TBitmapObject* B = LookupBitmap(Bmp);
  TDibInfo I;
  if (!B || !Bits || Lines == 0 || !ParseCallerInfo(Dc, Info, Usage, I)) return 0;
  const bool Rle = I.Compression == BI_RLE8 || I.Compression == BI_RLE4;
  const int Height = I.Dib.Height();
  if (StartScan >= UINT(Height)) return 0;
  const int N = Rle ? Height : int(std::min<UINT>(Lines, UINT(Height) - StartScan));
  const int Start = Rle ? 0 : int(StartScan);
  I.Dib.Header.biHeight = I.Dib.TopDown() ? -N : N;
  try {
    DecodeDibBits(I, static_cast<const Byte*>(Bits),
                  Rle ? Info->bmiHeader.biSizeImage : std::size_t(I.Dib.Stride()) * N);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  const std::vector<std::uint32_t> Px = DibToBgra32(I.Dib);
  const bool TopDown = I.Dib.TopDown();
  for (int R = 0; R < N; ++R) {
    // Band row R from the top is DIB line Start + (N-1-R) bottom-up, Start + R top-down.
    const int Line = TopDown ? Start + R : Start + N - 1 - R;
    const int Y = TopDown ? Line : B->Height - 1 - Line;  // DIB line 0 is the bottom row
    if (Y < 0 || Y >= B->Height) continue;
    const std::uint32_t* Src = Px.data() + std::size_t(R) * I.Dib.Width();
    const int W = std::min(I.Dib.Width(), B->Width);
    for (int X = 0; X < W; ++X) {
      const std::uint32_t P = Src[X];
      if (B->BitsPerPixel == 32) {
        std::memcpy(B->ScanLine(Y) + std::size_t(X) * 4, &P, 4);
      } else {
        B->SetPixelValue(X, Y, B->ColorToPixel(RGB(Byte(P >> 16), Byte(P >> 8), Byte(P))));
      }
    }
  }
  return N;
}
