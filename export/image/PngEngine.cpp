#include "export/image/PngEngine.h"
#include <algorithm>
#include <cstring>
#include <vector>
#include "export/engine/StreamFilters.h"
#include "export/image/PngPieces.h"
#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Colors.h"

const char* const SPNGDescription = "Portable Network Graphics";
const char* const gtPNGCopyright = "Copyright (c) Sourcelux developers. All rights reserved.";

namespace {
const char* const Keywords[10] = {"Title",    "Author",     "Description", "Copyright", "Creation Time",
                                  "Software", "Disclaimer", "Warning",     "Source",    "Comment"};

// (r + g + b) div 3 of a 0x00RRGGBB pixel.
Byte Grey(std::uint32_t Px) { return Byte(((Px >> 16 & 0xFF) + (Px >> 8 & 0xFF) + (Px & 0xFF)) / 3); }

// One image row: the filter type byte 0, then the samples of each pixel.
// Arguments are plain values and each pixel is read once, as stores
// through Out may alias anything.
void PackRow(TgtPNGColorType Type, const std::uint32_t* Row, Integer W, Byte Alpha, Byte* Out) {
  *Out++ = 0;
  switch (Type) {
    case ctGrayscale:
      for (Integer X = 0; X < W; ++X) *Out++ = Grey(Row[X]);
      break;
    case ctRGB:
      for (Integer X = 0; X < W; ++X, Out += 3) {
        const std::uint32_t V = Row[X];
        Out[0] = Byte(V >> 16);
        Out[1] = Byte(V >> 8);
        Out[2] = Byte(V);
      }
      break;
    case ctRGBA:
      for (Integer X = 0; X < W; ++X, Out += 4) {
        const std::uint32_t V = Row[X];
        Out[0] = Byte(V >> 16);
        Out[1] = Byte(V >> 8);
        Out[2] = Byte(V);
        Out[3] = Alpha;
      }
      break;
    case ctGrayAlpha:
      for (Integer X = 0; X < W; ++X, Out += 2) {
        Out[0] = Grey(Row[X]);
        Out[1] = Alpha;
      }
      break;
  }
}

void PutBE32(std::vector<Byte>& V, DWORD X) {
  Byte B[4];
  ByteOrder::WriteBE32(B, X);
  V.insert(V.end(), B, B + 4);
}
}  // namespace

// ---- settings objects -------------------------------------------------------------------

void TgtPNGTransparency::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtPNGTransparency*>(Source)) {
    SetEnabled(S->FEnabled);
    FAlpha = S->FAlpha;
    FTransColor = S->FTransColor;
    return;
  }
  TPersistent::Assign(Source);
}

void TgtPNGTransparency::SetImageAlpha(TgtPercentage Value) {
  FAlpha = Byte(std::clamp(Value, 0, 100) * 255 / 100);
}

void TgtPNGPixelDimensions::Assign(TPersistent* Source) {
  if (auto* S = dynamic_cast<TgtPNGPixelDimensions*>(Source)) {
    Enabled = S->Enabled;
    XPixelsPerUnit = S->XPixelsPerUnit;
    YPixelsPerUnit = S->YPixelsPerUnit;
    UnitSpecifier = S->UnitSpecifier;
    return;
  }
  TPersistent::Assign(Source);
}

// ---- engine -------------------------------------------------------------------------------

TgtPNGEngine::TgtPNGEngine(TComponent* AOwner)
    : TgtCustomGraphicsEngine(AOwner),
      FTransparency(std::make_unique<TgtPNGTransparency>(1)),
      FPixelDimensions(std::make_unique<TgtPNGPixelDimensions>()) {
  SetFileExtension("png");
  SetFileDescription(SPNGDescription);
}

TgtPNGEngine::~TgtPNGEngine() = default;

void TgtPNGEngine::SplitColor(TColor Color, Byte& R, Byte& G, Byte& B) {
  const DWORD C = DWORD(Color);
  R = Byte(C);
  G = Byte(C >> 8);
  B = Byte(C >> 16);
}

DWORD TgtPNGEngine::ChunkCRC(const TgtExtMemStream& Chunk) {
  auto& S = const_cast<TgtExtMemStream&>(Chunk);
  const DWORD Crc = PngCrc(static_cast<const Byte*>(S.Memory()), std::size_t(S.GetSize()));
  S.SetPosition(0);
  return Crc;
}

void TgtPNGEngine::WriteChunk(TStream* Stream, DWORD DataLength, const TgtExtMemStream& Chunk) {
  auto& S = const_cast<TgtExtMemStream&>(Chunk);
  WritePngChunk(Stream, DataLength, static_cast<const Byte*>(S.Memory()), std::size_t(S.GetSize()));
  S.SetPosition(0);
}

void TgtPNGEngine::WriteTextChunk(TStream* Stream, Integer KeywordIndex, const WideString& Text) {
  if (KeywordIndex < 0 || KeywordIndex > 9) throw ERangeError("Text chunk keyword index out of range");
  TgtFlateFilter Flate;
  AnsiString Packed;
  Flate.EncodeString(WideToAnsi(Text), 3, Packed);
  TgtExtMemStream Chunk;
  Chunk.WriteString("zTXt");
  Chunk.WriteString(Keywords[KeywordIndex]);
  Chunk.WriteBytes({0, 0});  // keyword end, compression method 0
  Chunk.WriteString(Packed);
  WriteChunk(Stream, DWORD(Chunk.GetSize() - 4), Chunk);
}

void TgtPNGEngine::WritePNG(TStream* Stream, TBitmap* Bitmap) {
  const Integer W = Bitmap->GetWidth(), H = Bitmap->GetHeight();
  WritePngSignature(Stream);
  static const Byte TypeCode[4] = {0, 2, 6, 4};
  static const int Samples[4] = {1, 3, 4, 2};
  const int Spp = Samples[FColorType];
  std::vector<Byte> D;
  PutBE32(D, DWORD(W));
  PutBE32(D, DWORD(H));
  D.insert(D.end(), {8, TypeCode[FColorType], 0, 0, 0});
  WritePngChunk(Stream, "IHDR", D.data(), DWORD(D.size()));
  if (FPixelDimensions->Enabled) {
    D.clear();
    PutBE32(D, FPixelDimensions->XPixelsPerUnit);
    PutBE32(D, FPixelDimensions->YPixelsPerUnit);
    D.push_back(FPixelDimensions->UnitSpecifier == usMeter ? 1 : 0);
    WritePngChunk(Stream, "pHYs", D.data(), DWORD(D.size()));
  }
  const bool Transparent = FTransparency->GetEnabled();
  if (Transparent && (FColorType == ctRGB || FColorType == ctGrayscale)) {
    Byte R, G, B;
    SplitColor(TColor(ColorToRGB(FTransparency->GetTransColor())), R, G, B);
    D.clear();
    if (FColorType == ctRGB) D = {0, R, 0, G, 0, B};
    else D = {0, Byte((R + G + B) / 3)};
    WritePngChunk(Stream, "tRNS", D.data(), DWORD(D.size()));
  }
  // A page is opaque unless its transparency is switched on.
  const Byte Alpha = Transparent ? FTransparency->GetAlphaByte() : 255;
  // Rows go to the compressor one by one, filter type 0 first.
  // Level 9 with the full match search: about half the file of run-length
  // matching; its blocks are deflated on several threads at once
  // (bench/png_deflate_bench).
  TPngImageDataWriter Data(Stream, TPngDeflate::Full);
  std::vector<Byte> Raw(std::size_t(std::max(W, 0)) * std::size_t(Spp) + 1);
  const TgtPNGColorType Type = FColorType;
  gtForEachBitmapRow(Bitmap, [&Raw, &Data, Type, W, Alpha](const std::uint32_t* Row) {
    PackRow(Type, Row, W, Alpha, Raw.data());
    Data.Write(Raw.data(), Raw.size());
  });
  Data.Finish();
  const TgtDocInfo& I = *GetDocInfo();
  WriteTextChunk(Stream, 0, I.GetTitle());
  WriteTextChunk(Stream, 1, I.GetAuthor());
  WriteTextChunk(Stream, 5, I.GetCreator());
  WriteTextChunk(Stream, 3, AnsiToWide(gtPNGCopyright));
  WriteTextChunk(Stream, 2, I.GetSubject());
  WriteTextChunk(Stream, 9, I.GetKeywords());
  WritePngChunk(Stream, "IEND", nullptr, 0);
}

void TgtPNGEngine::EndPage() {
  TgtCustomGraphicsEngine::EndPage();
  // A 32-bit DIB: the encoder reads its rows where they lie.
  auto Bmp = PageToBitmap(pf32bit);
  // The file is made whole in memory first: a write that fails half-way
  // leaves no half PNG in the user's stream either.
  TMemoryStream Png;
  WritePNG(&Png, Bmp.get());
  SavePage([&](TStream* S) { S->WriteBuffer(Png.Memory(), Integer(Png.GetSize())); });
}
