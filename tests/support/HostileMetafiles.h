// HostileMetafiles.h — small hand-made metafiles that ask for far more than
// their frame: a window extent of 0 x 0 or 1 x 1 makes one logical unit the
// whole picture, so a 2 x 2 bitmap blit onto 20 x 20 units becomes tens of
// thousands of pixels wide. Used as test fixtures and fuzz seeds.
#pragma once
#include <cstdint>
#include <string>

namespace sxtest {

inline void PutLe16(std::string& S, int V) {
  S += char(V & 0xFF);
  S += char((V >> 8) & 0xFF);
}
inline void PutLe32(std::string& S, std::uint32_t V) {
  PutLe16(S, int(V & 0xFFFF));
  PutLe16(S, int(V >> 16));
}

// A 2 x 2 orange (RGB E0 80 20) 24-bit DIB: info header and rows.
inline std::string OrangeDib() {
  std::string D;
  PutLe32(D, 40); PutLe32(D, 2); PutLe32(D, 2); PutLe16(D, 1); PutLe16(D, 24);
  PutLe32(D, 0); PutLe32(D, 16); PutLe32(D, 0); PutLe32(D, 0); PutLe32(D, 0); PutLe32(D, 0);
  for (int Row = 0; Row < 2; ++Row) D += std::string("\x20\x80\xE0\x20\x80\xE0\0\0", 8);
  return D;
}

inline std::string WmfRecord(int Function, const std::string& Params) {
  std::string R;
  PutLe32(R, std::uint32_t(3 + Params.size() / 2));
  PutLe16(R, Function);
  return R + Params;
}

// A Windows metafile: SETWINDOWEXT Ext x Ext, then STRETCHDIB of the
// orange bitmap onto 20 x 20 logical units.
inline std::string StretchedBlitWmf(int Ext) {
  std::string Win, Blit;
  PutLe16(Win, Ext); PutLe16(Win, Ext);
  PutLe32(Blit, 0x00CC0020);  // SRCCOPY
  PutLe16(Blit, 0);           // DIB_RGB_COLORS
  PutLe16(Blit, 2); PutLe16(Blit, 2); PutLe16(Blit, 0); PutLe16(Blit, 0);    // source h, w, y, x
  PutLe16(Blit, 20); PutLe16(Blit, 20); PutLe16(Blit, 0); PutLe16(Blit, 0);  // dest h, w, y, x
  const std::string Records =
      WmfRecord(0x020C, Win) + WmfRecord(0x0F43, Blit + OrangeDib()) + WmfRecord(0, "");
  std::string H;
  const std::uint32_t Words = std::uint32_t((18 + Records.size()) / 2);
  PutLe16(H, 1); PutLe16(H, 9); PutLe16(H, 0x0300); PutLe32(H, Words); PutLe16(H, 0); PutLe32(H, Words);
  PutLe16(H, 0);
  return H + Records;
}

inline std::string HexBytes(const std::string& Bytes) {
  static const char* Digits = "0123456789abcdef";
  std::string Out;
  for (unsigned char C : Bytes) {
    Out += Digits[C >> 4];
    Out += Digits[C & 15];
  }
  return Out;
}

}  // namespace sxtest
