// BmpCodec.h — reading and writing .bmp files: a BITMAPFILEHEADER followed by
// a packed bitmap. Reading accepts every header and compression that
// DibFromInfo does; writing produces what every reader takes: a 40-byte
// header, three masks for BI_BITFIELDS, the colour table, then the rows in the
// bitmap's own order. Bad data raises EInvalidGraphic; nothing is read
// outside the bytes given.
#pragma once
#include <cstddef>
#include <vector>
#include "platform/gdi/Dib.h"

TDib ReadBmp(const Byte* Data, std::size_t Size);
inline TDib ReadBmp(const std::vector<Byte>& Data) { return ReadBmp(Data.data(), Data.size()); }

std::vector<Byte> WriteBmp(const TDib& Dib);

// True when Data starts like a bitmap file (the "BM" signature).
bool IsBmpData(const Byte* Data, std::size_t Size);
