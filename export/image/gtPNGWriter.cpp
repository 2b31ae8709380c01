#include "export/image/gtPNGWriter.h"
#include <zlib.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>
#include "platform/rtl/Colors.h"

namespace {
const std::array<DWORD, 256>& CrcTable() {
  static const std::array<DWORD, 256> Table = [] {
    std::array<DWORD, 256> T{};
    for (DWORD N = 0; N < 256; ++N) {
      DWORD C = N;
      for (int K = 0; K < 8; ++K) C = (C & 1) ? (C >> 1) ^ 0xEDB88320u : C >> 1;
      T[N] = C;
    }
    return T;
  }();
  return Table;
}

void PutBE32(Byte* P, DWORD V) {
  P[0] = Byte(V >> 24);
  P[1] = Byte(V >> 16);
  P[2] = Byte(V >> 8);
  P[3] = Byte(V);
}

constexpr std::size_t IdatChunkSize = 10240;
}  // namespace

DWORD gtPNGCrc(const Byte* Data, std::size_t Size) {
  const auto& T = CrcTable();
  DWORD C = 0xFFFFFFFFu;
  for (std::size_t I = 0; I < Size; ++I) C = T[(C ^ Data[I]) & 0xFF] ^ (C >> 8);
  return C ^ 0xFFFFFFFFu;
}

void gtWritePNGChunk(TStream* Stream, const char* Type, const Byte* Data, DWORD Length) {
  std::vector<Byte> Buf(std::size_t(Length) + 12);
  PutBE32(Buf.data(), Length);
  std::memcpy(Buf.data() + 4, Type, 4);
  if (Length) std::memcpy(Buf.data() + 8, Data, Length);
  PutBE32(Buf.data() + 8 + Length, gtPNGCrc(Buf.data() + 4, std::size_t(Length) + 4));
  Stream->WriteBuffer(Buf.data(), Integer(Buf.size()));
}

void gtWritePNGImageData(TStream* Stream, const Byte* Data, std::size_t Size) {
  std::size_t Off = 0;
  for (; Size - Off >= IdatChunkSize; Off += IdatChunkSize)
    gtWritePNGChunk(Stream, "IDAT", Data + Off, DWORD(IdatChunkSize));
  // The remainder, possibly empty: an exact multiple ends on an empty chunk.
  gtWritePNGChunk(Stream, "IDAT", Data + Off, DWORD(Size - Off));
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
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  Out->WriteBytes({137, 80, 78, 71, 13, 10, 26, 10});
  Byte Ihdr[13] = {};
  PutBE32(Ihdr, DWORD(W));
  PutBE32(Ihdr + 4, DWORD(H));
  Ihdr[8] = 8;
  Ihdr[9] = 2;
  gtWritePNGChunk(Out.get(), "IHDR", Ihdr, 13);
  if (TransparentColor) {
    const COLORREF C = ColorToRGB(*TransparentColor);
    const Byte Trns[6] = {0, GetRValue(C), 0, GetGValue(C), 0, GetBValue(C)};
    gtWritePNGChunk(Out.get(), "tRNS", Trns, 6);
  }
  std::vector<Byte> Raw;
  if (W > 0 && H > 0) {
    const std::vector<std::uint32_t> Px = DibToBgra32(Bitmap->SaveToDib());
    Raw.reserve(std::size_t(H) * (std::size_t(W) * 3 + 1));
    for (Integer Y = 0; Y < H; ++Y) {
      Raw.push_back(0);
      const std::uint32_t* Row = Px.data() + std::size_t(Y) * std::size_t(W);
      for (Integer X = 0; X < W; ++X) {
        Raw.push_back(Byte(Row[X] >> 16));
        Raw.push_back(Byte(Row[X] >> 8));
        Raw.push_back(Byte(Row[X]));
      }
    }
  }
  auto Z = gtDeflate(Raw.data(), Raw.size());
  gtWritePNGImageData(Out.get(), static_cast<const Byte*>(Z->Memory()), std::size_t(Z->GetSize()));
  gtWritePNGChunk(Out.get(), "IEND", nullptr, 0);
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
