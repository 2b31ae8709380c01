// PngCodec.h — reading PNG images: every standard colour type and bit
// depth, interlaced or not, with their transparency (alpha channels, tRNS
// colour keys and palette alpha). Bad or truncated data raises
// EInvalidGraphic; images above 2^26 pixels are refused rather than
// allocated. Nothing is read outside the bytes given.
#pragma once
#include <cstddef>
#include <vector>
#include "platform/gdi/Dib.h"

enum class TPngAlpha {
  Keep,       // a 32-bit bitmap whose fourth byte is the (straight) alpha
  OverWhite,  // a 24-bit bitmap, transparency composed over white
};

// The picture as a bottom-up bitmap.
TDib ReadPng(const Byte* Data, std::size_t Size, TPngAlpha Alpha = TPngAlpha::Keep);
inline TDib ReadPng(const std::vector<Byte>& Data, TPngAlpha Alpha = TPngAlpha::Keep) {
  return ReadPng(Data.data(), Data.size(), Alpha);
}

// True when Data starts with the PNG signature.
bool IsPngData(const Byte* Data, std::size_t Size);
