// ByteOrder.h — reading and writing integers of a fixed byte order in byte
// buffers, whatever the host's order. File formats that store big-endian
// fields (sfnt fonts, PNG, JPEG markers) and little-endian ones (BMP, EMF,
// BIFF) go through these instead of shifting bytes at each call site.
//
// The readers take a pointer the caller has already checked against the
// buffer's end; they never read past the bytes they name.
#pragma once
#include <cstdint>

namespace ByteOrder {

inline std::uint16_t ReadBE16(const std::uint8_t* P) {
  return static_cast<std::uint16_t>((P[0] << 8) | P[1]);
}
inline std::uint32_t ReadBE32(const std::uint8_t* P) {
  return (std::uint32_t(P[0]) << 24) | (std::uint32_t(P[1]) << 16) | (std::uint32_t(P[2]) << 8) | P[3];
}
inline std::uint16_t ReadLE16(const std::uint8_t* P) {
  return static_cast<std::uint16_t>(P[0] | (P[1] << 8));
}
inline std::uint32_t ReadLE32(const std::uint8_t* P) {
  return std::uint32_t(P[0]) | (std::uint32_t(P[1]) << 8) | (std::uint32_t(P[2]) << 16) | (std::uint32_t(P[3]) << 24);
}

inline void WriteBE16(std::uint8_t* P, std::uint16_t V) {
  P[0] = static_cast<std::uint8_t>(V >> 8);
  P[1] = static_cast<std::uint8_t>(V);
}
inline void WriteBE32(std::uint8_t* P, std::uint32_t V) {
  P[0] = static_cast<std::uint8_t>(V >> 24);
  P[1] = static_cast<std::uint8_t>(V >> 16);
  P[2] = static_cast<std::uint8_t>(V >> 8);
  P[3] = static_cast<std::uint8_t>(V);
}
inline void WriteLE16(std::uint8_t* P, std::uint16_t V) {
  P[0] = static_cast<std::uint8_t>(V);
  P[1] = static_cast<std::uint8_t>(V >> 8);
}
inline void WriteLE32(std::uint8_t* P, std::uint32_t V) {
  P[0] = static_cast<std::uint8_t>(V);
  P[1] = static_cast<std::uint8_t>(V >> 8);
  P[2] = static_cast<std::uint8_t>(V >> 16);
  P[3] = static_cast<std::uint8_t>(V >> 24);
}

}  // namespace ByteOrder
