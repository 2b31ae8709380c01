// PngCodec.cpp — PNG chunks, inflate through zlib, scan-line filters and
// the Adam7 passes.
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/ByteOrder.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <future>
#include <thread>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

namespace {

constexpr Byte PngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

[[noreturn]] void Bad(const char* What) { throw EInvalidGraphic(AnsiString("PNG image: ") + What); }

using ByteOrder::ReadBE16;
DWORD Be32(const Byte* P) { return ByteOrder::ReadBE32(P); }

struct THeader {
  DWORD Width = 0, Height = 0;
  int Depth = 0, Color = 0, Interlace = 0;
  int Channels() const {
    switch (Color) {
      case 0: return 1;
      case 2: return 3;
      case 3: return 1;
      case 4: return 2;
      case 6: return 4;
    }
    return 0;
  }
  int BitsPerPixel() const { return Channels() * Depth; }
  std::size_t RowBytes(DWORD W) const { return (std::size_t(W) * std::size_t(BitsPerPixel()) + 7) / 8; }
};

Byte Paeth(int A, int B, int C) {
  const int P = A + B - C;
  const int Pa = std::abs(P - A), Pb = std::abs(P - B), Pc = std::abs(P - C);
  if (Pa <= Pb && Pa <= Pc) return Byte(A);
  return Byte(Pb <= Pc ? B : C);
}

// Undoes the filters of W x H pixels starting at Data; returns the bytes used.
std::size_t Unfilter(Byte* Data, std::size_t Avail, const THeader& H, DWORD W, DWORD Rows) {
  if (W == 0 || Rows == 0) return 0;
  const std::size_t Row = H.RowBytes(W);
  const std::size_t Bpp = std::max<std::size_t>(1, std::size_t(H.BitsPerPixel()) / 8);
  if ((Row + 1) * Rows > Avail) Bad("image data is cut short");
  Byte* Prev = nullptr;
  for (DWORD Y = 0; Y < Rows; ++Y) {
    Byte* Line = Data + Y * (Row + 1);
    const Byte Filter = Line[0];
    Byte* Cur = Line + 1;
    for (std::size_t I = 0; I < Row; ++I) {
      const int A = I >= Bpp ? Cur[I - Bpp] : 0;
      const int B = Prev ? Prev[I] : 0;
      const int C = Prev && I >= Bpp ? Prev[I - Bpp] : 0;
      switch (Filter) {
        case 0: break;
        case 1: Cur[I] = Byte(Cur[I] + A); break;
        case 2: Cur[I] = Byte(Cur[I] + B); break;
        case 3: Cur[I] = Byte(Cur[I] + ((A + B) >> 1)); break;
        case 4: Cur[I] = Byte(Cur[I] + Paeth(A, B, C)); break;
        default: Bad("unknown filter");
      }
    }
    Prev = Cur;
  }
  return (Row + 1) * Rows;
}

// Sample X of a filtered row (its filter byte skipped) scaled to 0..255.
int Sample(const Byte* Row, std::size_t Index, int Depth) {
  switch (Depth) {
    case 16: return Row[Index * 2];
    case 8: return Row[Index];
    default: {
      const std::size_t Bit = Index * std::size_t(Depth);
      return (Row[Bit / 8] >> (8 - Depth - int(Bit % 8))) & ((1 << Depth) - 1);
    }
  }
}

}  // namespace

bool IsPngData(const Byte* Data, std::size_t Size) {
  return Data && Size >= 8 && std::memcmp(Data, PngSignature, 8) == 0;
}

TDib ReadPng(const Byte* Data, std::size_t Size, TPngAlpha Alpha) {
  if (!IsPngData(Data, Size)) Bad("no PNG signature");
  THeader H;
  std::vector<Byte> Packed;
  std::vector<std::array<Byte, 3>> Palette;
  std::vector<Byte> PaletteAlpha;
  int KeyGrey = -1, KeyR = -1, KeyG = -1, KeyB = -1;
  bool SeenHeader = false, SeenEnd = false;
  for (std::size_t Pos = 8; Pos + 12 <= Size && !SeenEnd;) {
    const DWORD Len = Be32(Data + Pos);
    if (Len > Size - Pos - 12) Bad("chunk runs past the end");
    const Byte* Type = Data + Pos + 4;
    const Byte* Body = Data + Pos + 8;
    if (!std::memcmp(Type, "IHDR", 4) && Len >= 13) {
      H.Width = Be32(Body);
      H.Height = Be32(Body + 4);
      H.Depth = Body[8];
      H.Color = Body[9];
      H.Interlace = Body[12];
      SeenHeader = true;
    } else if (!std::memcmp(Type, "PLTE", 4)) {
      for (DWORD I = 0; I + 3 <= Len && Palette.size() < 256; I += 3) Palette.push_back({Body[I], Body[I + 1], Body[I + 2]});
    } else if (!std::memcmp(Type, "tRNS", 4)) {
      if (H.Color == 3) PaletteAlpha.assign(Body, Body + std::min<DWORD>(Len, 256));
      else if (H.Color == 0 && Len >= 2) KeyGrey = ReadBE16(Body);
      else if (H.Color == 2 && Len >= 6) {
        KeyR = ReadBE16(Body);
        KeyG = ReadBE16(Body + 2);
        KeyB = ReadBE16(Body + 4);
      }
    } else if (!std::memcmp(Type, "IDAT", 4)) {
      Packed.insert(Packed.end(), Body, Body + Len);
    } else if (!std::memcmp(Type, "IEND", 4)) {
      SeenEnd = true;
    }
    Pos += 12 + std::size_t(Len);
  }
  if (!SeenHeader) Bad("no header");
  const bool DepthOk = (H.Color == 0 && (H.Depth == 1 || H.Depth == 2 || H.Depth == 4 || H.Depth == 8 || H.Depth == 16)) ||
                       (H.Color == 3 && (H.Depth == 1 || H.Depth == 2 || H.Depth == 4 || H.Depth == 8)) ||
                       ((H.Color == 2 || H.Color == 4 || H.Color == 6) && (H.Depth == 8 || H.Depth == 16));
  if (!DepthOk) Bad("unsupported colour type or depth");
  if (H.Width == 0 || H.Height == 0 || H.Width > (1u << 24) || H.Height > (1u << 24) ||
      std::uint64_t(H.Width) * H.Height > (1u << 26))
    Bad("image size out of range");
  if (H.Color == 3 && Palette.empty()) Bad("palette missing");

  // Inflated size: every pass's rows with their filter bytes.
  static const int Adam7[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                  {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};   // x0, y0, dx, dy
  struct TPass {
    DWORD X0, Y0, Dx, Dy, W, Rows;
  };
  std::vector<TPass> Passes;
  if (H.Interlace == 1) {
    for (const auto& A : Adam7) {
      const DWORD W = H.Width > DWORD(A[0]) ? (H.Width - DWORD(A[0]) + DWORD(A[2]) - 1) / DWORD(A[2]) : 0;
      const DWORD R = H.Height > DWORD(A[1]) ? (H.Height - DWORD(A[1]) + DWORD(A[3]) - 1) / DWORD(A[3]) : 0;
      Passes.push_back({DWORD(A[0]), DWORD(A[1]), DWORD(A[2]), DWORD(A[3]), W, R});
    }
  } else {
    Passes.push_back({0, 0, 1, 1, H.Width, H.Height});
  }
  std::size_t Need = 0;
  for (const auto& P : Passes)
    if (P.W && P.Rows) Need += (H.RowBytes(P.W) + 1) * P.Rows;
  std::vector<Byte> Raw(Need);
  z_stream Z{};
  if (inflateInit(&Z) != Z_OK) Bad("inflate failed");
  Z.next_in = Packed.data();
  Z.avail_in = uInt(Packed.size());
  Z.next_out = Raw.data();
  Z.avail_out = uInt(Raw.size());
  const int Result = inflate(&Z, Z_FINISH);
  const std::size_t Got = Raw.size() - Z.avail_out;
  inflateEnd(&Z);
  if (Result != Z_STREAM_END && Result != Z_BUF_ERROR && Result != Z_OK) Bad("corrupt image data");
  if (Got < Need) Bad("image data is cut short");

  const bool Keep = Alpha == TPngAlpha::Keep;
  const std::size_t OutBytes = Keep ? 4 : 3;
  TDib Dib = MakeDib(Integer(H.Width), Integer(H.Height), Keep ? 32 : 24);
  std::size_t Offset = 0;
  for (const auto& P : Passes) {
    if (!P.W || !P.Rows) continue;
    Byte* Base = Raw.data() + Offset;
    Offset += Unfilter(Base, Raw.size() - Offset, H, P.W, P.Rows);
    const std::size_t RowBytes = H.RowBytes(P.W);
    for (DWORD Y = 0; Y < P.Rows; ++Y) {
      const Byte* Row = Base + Y * (RowBytes + 1) + 1;
      Byte* Out = Dib.ScanLine(Integer(P.Y0 + Y * P.Dy));
      for (DWORD X = 0; X < P.W; ++X) {
        int R = 0, G = 0, B = 0, A = 255;
        const std::size_t C = std::size_t(H.Channels());
        switch (H.Color) {
          case 0: {
            const int V = Sample(Row, X, H.Depth);
            const int Raw16 = H.Depth == 16 ? int(ReadBE16(Row + X * 2)) : V;
            R = G = B = H.Depth >= 8 ? V : V * 255 / ((1 << H.Depth) - 1);
            if (KeyGrey >= 0 && Raw16 == KeyGrey) A = 0;
            break;
          }
          case 3: {
            const int I = Sample(Row, X, H.Depth);
            if (std::size_t(I) < Palette.size()) {
              R = Palette[std::size_t(I)][0];
              G = Palette[std::size_t(I)][1];
              B = Palette[std::size_t(I)][2];
            }
            if (std::size_t(I) < PaletteAlpha.size()) A = PaletteAlpha[std::size_t(I)];
            break;
          }
          default: {
            const int Step = H.Depth / 8;
            auto At = [&](std::size_t K) { return int(Row[(X * C + K) * std::size_t(Step)]); };
            auto At16 = [&](std::size_t K) {
              const Byte* Q = Row + (X * C + K) * std::size_t(Step);
              return Step == 2 ? int(ReadBE16(Q)) : int(Q[0]);
            };
            if (H.Color == 4) {
              R = G = B = At(0);
              A = At(1);
            } else {
              R = At(0);
              G = At(1);
              B = At(2);
              if (H.Color == 6) A = At(3);
              else if (KeyR >= 0 && At16(0) == KeyR && At16(1) == KeyG && At16(2) == KeyB) A = 0;
            }
          }
        }
        const std::size_t Px = std::size_t(P.X0 + X * P.Dx);
        Byte* D = Out + Px * OutBytes;
        if (Keep) {
          D[0] = Byte(B);
          D[1] = Byte(G);
          D[2] = Byte(R);
          D[3] = Byte(A);
          continue;
        }
        D[0] = Byte((B * A + 255 * (255 - A) + 127) / 255);
        D[1] = Byte((G * A + 255 * (255 - A) + 127) / 255);
        D[2] = Byte((R * A + 255 * (255 - A) + 127) / 255);
      }
    }
  }
  return Dib;
}

// --- writing -----------------------------------------------------------------------------

namespace {
using ByteOrder::WriteBE32;

std::uint32_t ContinueCrc(uLong C, const Byte* Data, std::size_t Size) {
  while (Size > 0) {
    const uInt N = uInt(std::min<std::size_t>(Size, 1u << 30));
    C = crc32(C, Data, N);
    Data += N;
    Size -= N;
  }
  return std::uint32_t(C);
}

// The length field, then Head and Body back to back, then their CRC: every
// chunk this file writes goes out through here.
void WriteFramedChunk(TStream* Stream, std::uint32_t Length, const Byte* Head, std::size_t HeadSize,
                      const Byte* Body, std::size_t BodySize) {
  Byte Field[4];
  WriteBE32(Field, Length);
  Stream->WriteBuffer(Field, 4);
  if (HeadSize) Stream->WriteBuffer(Head, Integer(HeadSize));
  if (BodySize) Stream->WriteBuffer(Body, Integer(BodySize));
  WriteBE32(Field, ContinueCrc(ContinueCrc(crc32(0L, Z_NULL, 0), Head, HeadSize), Body, BodySize));
  Stream->WriteBuffer(Field, 4);
}
}  // namespace

std::uint32_t PngCrc(const Byte* Data, std::size_t Size) { return ContinueCrc(crc32(0L, Z_NULL, 0), Data, Size); }

void WritePngChunk(TStream* Stream, const char* Type, const Byte* Data, std::uint32_t Length) {
  WriteFramedChunk(Stream, Length, reinterpret_cast<const Byte*>(Type), 4, Data, Length);
}

void WritePngChunk(TStream* Stream, std::uint32_t Length, const Byte* TypeAndData, std::size_t Size) {
  WriteFramedChunk(Stream, Length, TypeAndData, Size, nullptr, 0);
}

namespace {

// Full deflate is zlib level 9, whose match search takes about 100 ms on an
// A4 page at 96 dpi, nearly all of a page's time. The data is therefore cut
// into blocks of a fixed size that are deflated side by side, each as raw
// deflate primed with the 32 KiB before it as its dictionary and closed on a
// byte boundary with a sync flush; one zlib header, the blocks in order and
// the Adler-32 of the whole make one zlib stream. Matches reach back across
// the cuts as in one stream, so the file stays the size of a single level-9
// stream; the cuts do not depend on the number of processors, so the file
// is the same on every machine.
constexpr std::size_t FullBlockSize = 128 * 1024;
constexpr std::size_t DeflateWindow = 32 * 1024;

std::vector<Byte> DeflateBlock(const std::vector<Byte>& Data, const std::vector<Byte>& Dictionary, bool Last) {
  z_stream Z{};
  if (deflateInit2(&Z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) throw EStreamError("Compression error");
  struct TEnd {
    z_stream* Z;
    ~TEnd() { deflateEnd(Z); }
  } End{&Z};
  if (!Dictionary.empty() && deflateSetDictionary(&Z, Dictionary.data(), uInt(Dictionary.size())) != Z_OK)
    throw EStreamError("Compression error");
  // Room for the data stored, the sync flush's empty block and the final block.
  std::vector<Byte> Out(deflateBound(&Z, uLong(Data.size())) + 16);
  Z.next_in = const_cast<Byte*>(Data.data());
  Z.avail_in = uInt(Data.size());
  Z.next_out = Out.data();
  Z.avail_out = uInt(Out.size());
  const int R = deflate(&Z, Last ? Z_FINISH : Z_SYNC_FLUSH);
  if (R != (Last ? Z_STREAM_END : Z_OK) || Z.avail_in != 0) throw EStreamError("Compression error");
  Out.resize(Out.size() - Z.avail_out);
  return Out;
}

std::size_t BlocksInFlight() {
  const unsigned N = std::thread::hardware_concurrency();
  return std::clamp<std::size_t>(N, 1, 8);
}

}  // namespace

struct TPngImageDataWriter::TImpl {
  TStream* Stream = nullptr;
  TPngDeflate Deflate = TPngDeflate::RunLength;
  bool Finished = false;
  // The IDAT chunk being filled.
  std::array<Byte, PngIdatChunkSize> Chunk{};
  std::size_t ChunkUsed = 0;

  // Run-length: one zlib stream.
  z_stream Z{};
  bool ZOpen = false;

  // Full: the block being gathered, the end of the one before it, the
  // blocks being deflated (oldest first) and the checksum of all the data.
  std::vector<Byte> Block;
  std::vector<Byte> Dictionary;
  std::deque<std::future<std::vector<Byte>>> Pending;
  std::size_t MaxPending = 1;
  uLong Adler = adler32(0L, Z_NULL, 0);

  ~TImpl() {
    if (ZOpen) deflateEnd(&Z);
  }

  // Compressed bytes into chunks of 10240, each written as it fills.
  void Emit(const Byte* Data, std::size_t Size) {
    while (Size > 0) {
      const std::size_t N = std::min(Size, Chunk.size() - ChunkUsed);
      std::memcpy(Chunk.data() + ChunkUsed, Data, N);
      ChunkUsed += N;
      Data += N;
      Size -= N;
      if (ChunkUsed == Chunk.size()) {
        WritePngChunk(Stream, "IDAT", Chunk.data(), std::uint32_t(ChunkUsed));
        ChunkUsed = 0;
      }
    }
  }

  // Deflates until the input is used (or, finishing, the stream ends).
  void RunLength(int Flush) {
    std::array<Byte, PngIdatChunkSize> Out;
    for (;;) {
      Z.next_out = Out.data();
      Z.avail_out = uInt(Out.size());
      const int R = deflate(&Z, Flush);
      if (R != Z_OK && R != Z_STREAM_END && R != Z_BUF_ERROR) throw EStreamError("Compression error");
      Emit(Out.data(), Out.size() - Z.avail_out);
      if (R == Z_STREAM_END) return;
      if (R == Z_BUF_ERROR && Flush == Z_FINISH) throw EStreamError("Compression error");
      if (Flush == Z_NO_FLUSH && Z.avail_in == 0 && Z.avail_out > 0) return;
    }
  }

  void EmitOldest() {
    std::future<std::vector<Byte>> F = std::move(Pending.front());
    Pending.pop_front();
    const std::vector<Byte> Out = F.get();
    Emit(Out.data(), Out.size());
  }

  // Hands the gathered block to a thread of its own; the last one is
  // deflated here, while the others finish.
  void SubmitBlock(bool Last) {
    std::vector<Byte> Dict = std::move(Dictionary);
    // Every block but the last is full, so its end is a whole window.
    const std::size_t Keep = std::min(Block.size(), DeflateWindow);
    Dictionary.assign(Block.end() - std::ptrdiff_t(Keep), Block.end());
    std::vector<Byte> Data = std::move(Block);
    Block = {};
    if (Last) {
      const std::vector<Byte> Out = DeflateBlock(Data, Dict, true);
      while (!Pending.empty()) EmitOldest();
      Emit(Out.data(), Out.size());
      return;
    }
    while (Pending.size() >= MaxPending) EmitOldest();
    Pending.push_back(std::async(std::launch::async, [D = std::move(Data), Dc = std::move(Dict)] {
      return DeflateBlock(D, Dc, false);
    }));
    Block.reserve(FullBlockSize);
  }
};

TPngImageDataWriter::TPngImageDataWriter(TStream* Stream, TPngDeflate Deflate) : FImpl(std::make_unique<TImpl>()) {
  TImpl& I = *FImpl;
  I.Stream = Stream;
  I.Deflate = Deflate;
  if (Deflate == TPngDeflate::RunLength) {
    if (deflateInit2(&I.Z, 9, Z_DEFLATED, 15, 9, Z_RLE) != Z_OK) throw EStreamError("Compression error");
    I.ZOpen = true;
    return;
  }
  // The zlib header of a level-9 stream with a 32 KiB window.
  static const Byte Header[2] = {0x78, 0xDA};
  I.Emit(Header, 2);
  I.MaxPending = BlocksInFlight();
  I.Block.reserve(FullBlockSize);
}

TPngImageDataWriter::~TPngImageDataWriter() = default;

void TPngImageDataWriter::Write(const Byte* Data, std::size_t Size) {
  TImpl& I = *FImpl;
  if (I.Finished) throw EStreamError("Image data written after its end");
  if (I.Deflate == TPngDeflate::RunLength) {
    while (Size > 0) {
      const uInt N = uInt(std::min<std::size_t>(Size, 1u << 30));
      I.Z.next_in = const_cast<Byte*>(Data);
      I.Z.avail_in = N;
      I.RunLength(Z_NO_FLUSH);
      Data += N;
      Size -= N;
    }
    return;
  }
  while (Size > 0) {
    const std::size_t N = std::min(Size, FullBlockSize - I.Block.size());
    I.Adler = adler32_z(I.Adler, Data, N);
    I.Block.insert(I.Block.end(), Data, Data + N);
    Data += N;
    Size -= N;
    if (I.Block.size() == FullBlockSize) I.SubmitBlock(false);
  }
}

void TPngImageDataWriter::Finish() {
  TImpl& I = *FImpl;
  if (I.Finished) return;
  if (I.Deflate == TPngDeflate::RunLength) {
    I.Z.next_in = nullptr;
    I.Z.avail_in = 0;
    I.RunLength(Z_FINISH);
  } else {
    I.SubmitBlock(true);
    Byte Sum[4];
    WriteBE32(Sum, std::uint32_t(I.Adler));
    I.Emit(Sum, 4);
  }
  I.Finished = true;
  // The remainder, possibly empty: an exact multiple ends on an empty chunk.
  WritePngChunk(I.Stream, "IDAT", I.Chunk.data(), std::uint32_t(I.ChunkUsed));
}

void WritePngSignature(TStream* Stream) {
  Stream->WriteBuffer(PngSignature, 8);
}

void WritePngRgb(TStream* Stream, int Width, int Height, const std::function<const std::uint32_t*(int Y)>& Row,
                 const std::function<void(TStream*)>& Extra, TPngDeflate Deflate) {
  WritePngSignature(Stream);
  Byte Ihdr[13] = {};
  WriteBE32(Ihdr, std::uint32_t(std::max(Width, 0)));
  WriteBE32(Ihdr + 4, std::uint32_t(std::max(Height, 0)));
  Ihdr[8] = 8;   // bits per sample
  Ihdr[9] = 2;   // RGB
  WritePngChunk(Stream, "IHDR", Ihdr, 13);
  if (Extra) Extra(Stream);
  TPngImageDataWriter Data(Stream, Deflate);
  std::vector<Byte> Raw(std::size_t(std::max(Width, 0)) * 3 + 1);
  for (int Y = 0; Y < Height; ++Y) {
    const std::uint32_t* Px = Row(Y);
    Byte* P = Raw.data();
    *P++ = 0;   // filter: none
    for (int X = 0; X < Width; ++X) {
      *P++ = Byte(Px[X] >> 16);
      *P++ = Byte(Px[X] >> 8);
      *P++ = Byte(Px[X]);
    }
    Data.Write(Raw.data(), Raw.size());
  }
  Data.Finish();
  WritePngChunk(Stream, "IEND", nullptr, 0);
}
