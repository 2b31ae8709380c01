#include "export/image/gtPNGWriter.h"
#include <zlib.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>
#include "platform/rtl/Colors.h"

namespace {
void PutBE32(Byte* P, DWORD V) {
  P[0] = Byte(V >> 24);
  P[1] = Byte(V >> 16);
  P[2] = Byte(V >> 8);
  P[3] = Byte(V);
}

constexpr std::size_t IdatChunkSize = 10240;
}  // namespace

DWORD gtPNGCrc(const Byte* Data, std::size_t Size) {
  // zlib's CRC-32 is the PNG one, and far quicker than a byte table.
  uLong C = crc32(0L, Z_NULL, 0);
  while (Size > 0) {
    const uInt N = uInt(std::min<std::size_t>(Size, 1u << 30));
    C = crc32(C, Data, N);
    Data += N;
    Size -= N;
  }
  return DWORD(C);
}

void gtWritePNGChunk(TStream* Stream, const char* Type, const Byte* Data, DWORD Length) {
  Byte Head[8];
  PutBE32(Head, Length);
  std::memcpy(Head + 4, Type, 4);
  uLong C = crc32(crc32(0L, Z_NULL, 0), Head + 4, 4);
  if (Length) C = crc32(C, Data, uInt(Length));
  Byte Tail[4];
  PutBE32(Tail, DWORD(C));
  Stream->WriteBuffer(Head, 8);
  if (Length) Stream->WriteBuffer(Data, Integer(Length));
  Stream->WriteBuffer(Tail, 4);
}

void gtWritePNGImageData(TStream* Stream, const Byte* Data, std::size_t Size) {
  std::size_t Off = 0;
  for (; Size - Off >= IdatChunkSize; Off += IdatChunkSize)
    gtWritePNGChunk(Stream, "IDAT", Data + Off, DWORD(IdatChunkSize));
  // The remainder, possibly empty: an exact multiple ends on an empty chunk.
  gtWritePNGChunk(Stream, "IDAT", Data + Off, DWORD(Size - Off));
}

struct TgtPNGImageDataWriter::TImpl {
  TStream* Stream;
  z_stream Z{};
  std::array<Byte, IdatChunkSize> Out{};
  bool Finished = false;

  void Reset() {
    Z.next_out = Out.data();
    Z.avail_out = uInt(Out.size());
  }
  // Deflates until the input is used (or, finishing, the stream ends),
  // writing every chunk that fills up.
  void Run(int Flush) {
    for (;;) {
      const int R = deflate(&Z, Flush);
      if (R != Z_OK && R != Z_STREAM_END && R != Z_BUF_ERROR) throw EStreamError("Compression error");
      if (Z.avail_out == 0) {
        gtWritePNGChunk(Stream, "IDAT", Out.data(), DWORD(Out.size()));
        Reset();
      }
      if (R == Z_STREAM_END) return;
      if (R == Z_BUF_ERROR && Flush == Z_FINISH) throw EStreamError("Compression error");
      if (Flush == Z_NO_FLUSH && Z.avail_in == 0 && Z.avail_out > 0) return;
    }
  }
};

TgtPNGImageDataWriter::TgtPNGImageDataWriter(TStream* Stream) : FImpl(std::make_unique<TImpl>()) {
  FImpl->Stream = Stream;
  // Level 9 with run-length matching: page images are long runs of one
  // colour, where the full match search of level 9 spends most of a page's
  // time for a few bytes.
  if (deflateInit2(&FImpl->Z, 9, Z_DEFLATED, 15, 9, Z_RLE) != Z_OK) throw EStreamError("Compression error");
  FImpl->Reset();
}

TgtPNGImageDataWriter::~TgtPNGImageDataWriter() { deflateEnd(&FImpl->Z); }

void TgtPNGImageDataWriter::Write(const Byte* Data, std::size_t Size) {
  if (FImpl->Finished) throw EStreamError("Image data written after its end");
  while (Size > 0) {
    const uInt N = uInt(std::min<std::size_t>(Size, 1u << 30));
    FImpl->Z.next_in = const_cast<Byte*>(Data);
    FImpl->Z.avail_in = N;
    FImpl->Run(Z_NO_FLUSH);
    Data += N;
    Size -= N;
  }
}

void TgtPNGImageDataWriter::Finish() {
  if (FImpl->Finished) return;
  FImpl->Z.next_in = nullptr;
  FImpl->Z.avail_in = 0;
  FImpl->Run(Z_FINISH);
  FImpl->Finished = true;
  // The remainder, possibly empty: an exact multiple ends on an empty chunk.
  gtWritePNGChunk(FImpl->Stream, "IDAT", FImpl->Out.data(), DWORD(FImpl->Out.size() - FImpl->Z.avail_out));
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
  TgtPNGImageDataWriter Data(Out.get());
  std::vector<Byte> Raw(std::size_t(std::max(W, 0)) * 3 + 1);
  gtForEachBitmapRow(Bitmap, [&](const std::uint32_t* Row) {
    Byte* P = Raw.data();
    *P++ = 0;
    for (Integer X = 0; X < W; ++X) {
      *P++ = Byte(Row[X] >> 16);
      *P++ = Byte(Row[X] >> 8);
      *P++ = Byte(Row[X]);
    }
    Data.Write(Raw.data(), Raw.size());
  });
  Data.Finish();
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
