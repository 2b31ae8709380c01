#include "export/image/PngPieces.h"
#include <zlib.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>
#include "platform/rtl/Colors.h"

void gtWritePNGImageData(TStream* Stream, const Byte* Data, std::size_t Size) {
  std::size_t Off = 0;
  for (; Size - Off >= PngIdatChunkSize; Off += PngIdatChunkSize)
    WritePngChunk(Stream, "IDAT", Data + Off, DWORD(PngIdatChunkSize));
  // The remainder, possibly empty: an exact multiple ends on an empty chunk.
  WritePngChunk(Stream, "IDAT", Data + Off, DWORD(Size - Off));
}

void gtForEachBitmapRow(TBitmap* Bitmap, const std::function<void(const std::uint32_t* Pixels)>& Row) {
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  if (W <= 0 || H <= 0) return;
  if (Bitmap->GetPixelFormat() == pf32bit && Bitmap->GetHandleType() == bmDIB) {
    for (Integer Y = 0; Y < H; ++Y) Row(static_cast<const std::uint32_t*>(Bitmap->ScanLine(Y)));
    return;
  }
  const std::vector<std::uint32_t> Px = DibToBgra32(Bitmap->SaveToDib());
  for (Integer Y = 0; Y < H; ++Y) Row(Px.data() + std::size_t(Y) * std::size_t(W));
}

std::unique_ptr<TMemoryStream> gtDeflate(const Byte* Data, std::size_t Size) {
  // Level 9 with run-length matching: page images are long runs of one
  // colour, where the full match search of level 9 spends most of a page's
  // time for a few bytes.
  z_stream Z{};
  if (deflateInit2(&Z, 9, Z_DEFLATED, 15, 9, Z_RLE) != Z_OK) throw EStreamError("Compression error");
  std::vector<Byte> Out(deflateBound(&Z, uLong(Size)));
  Z.next_in = const_cast<Byte*>(Data);
  Z.avail_in = uInt(Size);
  Z.next_out = Out.data();
  Z.avail_out = uInt(Out.size());
  const int R = deflate(&Z, Z_FINISH);
  const std::size_t Written = Out.size() - Z.avail_out;
  deflateEnd(&Z);
  if (R != Z_STREAM_END) throw EStreamError("Compression error");
  auto Result = std::make_unique<TMemoryStream>();
  Result->WriteBuffer(Out.data(), Integer(Written));
  Result->SetPosition(0);
  return Result;
}

std::unique_ptr<TgtExtMemStream> SaveBitmapAsPNG(TBitmap* Bitmap, std::optional<TColor> TransparentColor) {
  auto Out = std::make_unique<TgtExtMemStream>();
  const Integer W = std::max(Bitmap->GetWidth(), 0), H = std::max(Bitmap->GetHeight(), 0);
  std::vector<std::uint32_t> Rows;
  if (W > 0 && H > 0) {
    Rows.reserve(std::size_t(W) * std::size_t(H));
    gtForEachBitmapRow(Bitmap, [&](const std::uint32_t* Row) { Rows.insert(Rows.end(), Row, Row + W); });
  }
  WritePngRgb(
      Out.get(), W, Rows.empty() ? 0 : H, [&](int Y) { return Rows.data() + std::size_t(Y) * std::size_t(W); },
      [&](TStream* S) {
        if (!TransparentColor) return;
        const COLORREF C = ColorToRGB(*TransparentColor);
        const Byte Trns[6] = {0, GetRValue(C), 0, GetGValue(C), 0, GetBValue(C)};
        WritePngChunk(S, "tRNS", Trns, 6);
      });
  Out->SetPosition(0);
  return Out;
}

std::unique_ptr<TBitmap> RotateBitmap(TBitmap* Bitmap, double& X, double& Y, TColor Background, Integer Angle) {
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  const double A = Angle * 3.14159265358979323846 / 180.0, Cs = std::cos(A), Sn = std::sin(A);
  // Counter-clockwise on a y-down page: (x, y) -> (x cos + y sin, -x sin + y cos).
  auto RX = [&](double PX, double PY) { return PX * Cs + PY * Sn; };
  auto RY = [&](double PX, double PY) { return -PX * Sn + PY * Cs; };
  const double CX[4] = {RX(0, 0), RX(W, 0), RX(0, H), RX(W, H)};
  const double CY[4] = {RY(0, 0), RY(W, 0), RY(0, H), RY(W, H)};
  const Integer MinX = Integer(std::lround(*std::min_element(CX, CX + 4)));
  const Integer MaxX = Integer(std::lround(*std::max_element(CX, CX + 4)));
  const Integer MinY = Integer(std::lround(*std::min_element(CY, CY + 4)));
  const Integer MaxY = Integer(std::lround(*std::max_element(CY, CY + 4)));
  const Integer NW = std::max(1, MaxX - MinX), NH = std::max(1, MaxY - MinY);
  auto Out = std::make_unique<TBitmap>();
  if (W <= 0 || H <= 0) return Out;
  const TDib Src = Bitmap->SaveToDib();
  const std::vector<std::uint32_t> SP = DibToBgra32(Src);
  const COLORREF Bk = ColorToRGB(Background);
  const std::uint32_t BkPx = (DWORD(GetRValue(Bk)) << 16) | (DWORD(GetGValue(Bk)) << 8) | GetBValue(Bk);
  CheckDibSize(NW, NH, 32);
  std::vector<std::uint32_t> DP(std::size_t(NW) * std::size_t(NH), BkPx);
  for (Integer DY = 0; DY < NH; ++DY)
    for (Integer DX = 0; DX < NW; ++DX) {
      const double PX = DX + MinX + 0.5, PY = DY + MinY + 0.5;
      // The inverse turn finds the source pixel.
      const double SX = PX * Cs - PY * Sn, SY = PX * Sn + PY * Cs;
      const Integer IX = Integer(std::floor(SX)), IY = Integer(std::floor(SY));
      if (IX >= 0 && IX < W && IY >= 0 && IY < H)
        DP[std::size_t(DY) * std::size_t(NW) + std::size_t(DX)] = SP[std::size_t(IY) * std::size_t(W) + std::size_t(IX)];
    }
  const Integer Bits = Src.BitCount() > 8 ? Src.BitCount() : 24;
  Out->LoadFromDib(DibFromBgra32(DP.data(), NW, NH, Bits == 16 ? 24 : Bits));
  X += MinX;
  Y += MinY;
  return Out;
}
