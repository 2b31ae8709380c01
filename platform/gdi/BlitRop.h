// BlitRop.h — ternary raster operations on rows of pixel values. A raster
// operation code carries in bits 16..23 the truth table of the result over
// pattern P, source S and destination D: bit (P<<2 | S<<1 | D) is the result
// bit. Evaluating the table bitwise works on any pixel format whose values
// are plain bit patterns (palette indices, 5-5-5, 0x00RRGGBB, mono bits), so
// the blit functions bring S and P into the destination's format and call
// RopRow once per row.
#pragma once
#include <cstdint>
#include "platform/rtl/Types.h"

// Raster operation codes (the full 32-bit values callers and metafiles use).
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD PATPAINT = 0x00FB0A09;
constexpr DWORD PATINVERT = 0x005A0049;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;
constexpr DWORD NOMIRRORBITMAP = 0x80000000;
constexpr DWORD CAPTUREBLT = 0x40000000;
// Named by their reverse-Polish formulas: S chooses between D and P.
constexpr DWORD PSDPxax = 0x00B8074A;  // S=1 keeps D, S=0 takes P
constexpr DWORD DSPDxax = 0x00E20746;  // S=1 takes P, S=0 keeps D

// MaskBlt's four-operand code: Fore where the mask bit is 1, Back where 0.
constexpr DWORD MAKEROP4(DWORD Fore, DWORD Back) { return ((Back << 8) & 0xFF000000) | Fore; }

// The truth-table byte of a raster operation code.
constexpr Byte RopIndex(DWORD Rop) { return Byte(Rop >> 16); }
constexpr bool RopUsesSource(Byte I) { return ((I >> 2) & 0x33) != (I & 0x33); }
constexpr bool RopUsesPattern(Byte I) { return ((I >> 4) & 0x0F) != (I & 0x0F); }
constexpr bool RopUsesDest(Byte I) { return ((I >> 1) & 0x55) != (I & 0x55); }

// One pixel value through the truth table (bitwise).
constexpr std::uint32_t Rop3(Byte I, std::uint32_t P, std::uint32_t S, std::uint32_t D) {
  std::uint32_t R = 0;
  for (int B = 0; B < 8; ++B)
    if ((I >> B) & 1) R |= ((B & 4) ? P : ~P) & ((B & 2) ? S : ~S) & ((B & 1) ? D : ~D);
  return R;
}

// D[i] := Rop(P[i], S[i], D[i]) on the bits in Mask; bits outside Mask keep
// D's value. S or P may be null when the operation does not use them.
void RopRow(Byte Index, std::uint32_t* D, const std::uint32_t* S, const std::uint32_t* P,
            int Count, std::uint32_t Mask);
