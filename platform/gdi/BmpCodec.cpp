#include "platform/gdi/BmpCodec.h"
#include "platform/rtl/ByteOrder.h"

#include <cstring>
#include <string>

namespace {

using ByteOrder::ReadLE32;

}  // namespace

bool IsBmpData(const Byte* Data, std::size_t Size) {
  return Data != nullptr && Size >= 2 && Data[0] == 'B' && Data[1] == 'M';
}

TDib ReadBmp(const Byte* Data, std::size_t Size) {
  constexpr std::size_t FileHeader = sizeof(BITMAPFILEHEADER);
  if (Data == nullptr || Size < FileHeader + 4)
    throw EInvalidGraphic("Bitmap image is not valid: the file is too short (" +
                          std::to_string(Size) + " bytes)");
  if (!IsBmpData(Data, Size))
    throw EInvalidGraphic("Bitmap image is not valid: the file does not start with \"BM\"");
  const Byte* Info = Data + FileHeader;
  const std::size_t Rest = Size - FileHeader;
  const std::size_t InfoBytes = DibInfoSize(Info, Rest);
  // Pixels start at bfOffBits; writers that leave it zero or point into the
  // headers get the pixels right after the colour table.
  std::size_t Offset = ReadLE32(Data + 10);
  if (Offset < FileHeader + InfoBytes) Offset = FileHeader + InfoBytes;
  if (Offset > Size)
    throw EInvalidGraphic("Bitmap image is not valid: pixel offset " + std::to_string(Offset) +
                          " lies past the end of the file (" + std::to_string(Size) + " bytes)");
  return DibFromInfo(Info, InfoBytes, Data + Offset, Size - Offset);
}

std::vector<Byte> WriteBmp(const TDib& Dib) {
  if (Dib.Empty() || Dib.Bits.size() < std::size_t(Dib.Stride()) * Dib.Height())
    throw EInvalidGraphic("Bitmap image is not valid: nothing to write");
  const std::vector<Byte> Info = DibInfoBytes(Dib);
  const std::size_t PixelBytes = std::size_t(Dib.Stride()) * Dib.Height();
  BITMAPFILEHEADER F;
  F.bfType = BitmapFileType;
  F.bfOffBits = DWORD(sizeof F + Info.size());
  F.bfSize = DWORD(F.bfOffBits + PixelBytes);
  // Sized once and filled in place: growing the vector by inserts trips a GCC 12 -O3 bounds false positive.
  std::vector<Byte> Out(sizeof F + Info.size() + PixelBytes);
  std::memcpy(Out.data(), &F, sizeof F);
  std::memcpy(Out.data() + sizeof F, Info.data(), Info.size());
  if (PixelBytes) std::memcpy(Out.data() + sizeof F + Info.size(), Dib.Bits.data(), PixelBytes);
  return Out;
}
