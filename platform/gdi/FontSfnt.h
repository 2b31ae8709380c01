// FontSfnt.h — the one reader of sfnt table directories (TrueType, OpenType
// with CFF outlines, and faces inside a collection), shared by the font
// engine and the writers that embed font files. It reads only the
// directory; a table's bytes stay where they are in the caller's buffer.
// Records that point outside the data are dropped, so every table it
// answers lies wholly inside the buffer.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// A table tag as the big-endian number of its four characters ("head").
constexpr std::uint32_t SfntTag(const char (&T)[5]) {
  return std::uint32_t(std::uint8_t(T[0])) << 24 | std::uint32_t(std::uint8_t(T[1])) << 16 |
         std::uint32_t(std::uint8_t(T[2])) << 8 | std::uint8_t(T[3]);
}

struct TSfntTable {
  std::uint32_t Tag = 0, Checksum = 0, Offset = 0, Length = 0;
};

class TSfntDirectory {
public:
  TSfntDirectory() = default;
  // The directory of face Index: of the font itself, or of the collection's
  // face Index when the data is a collection ("ttcf"). Never throws; an
  // unreadable directory leaves the object invalid.
  TSfntDirectory(const std::uint8_t* Data, std::size_t Size, int Index = 0);

  bool Valid() const { return FValid; }
  // sfnt version of the face: 0x00010000 or 'true' (glyf outlines), 'OTTO' (CFF).
  std::uint32_t Version() const { return FVersion; }
  bool IsCollection() const { return FCollection; }
  // Every record of the directory lies inside the data (none was dropped).
  bool Complete() const { return FValid && !FDropped; }
  // The face has PostScript outlines (a CFF or CFF2 table).
  bool HasCFF() const;
  // Records in the order of the file's directory.
  const std::vector<TSfntTable>& Tables() const { return FTables; }
  const TSfntTable* Find(std::uint32_t Tag) const;
  // The table's bytes inside the data the directory was read from; empty when absent.
  std::string_view Table(std::uint32_t Tag) const;

  // The face as a standalone sfnt: the bytes themselves for a plain font;
  // for a collection member, its tables copied 4-byte aligned under a
  // directory of their own, with the whole-font checksum recomputed.
  // Empty when the directory is invalid.
  std::vector<std::uint8_t> StandaloneFace() const;

private:
  const std::uint8_t* FData = nullptr;
  std::size_t FSize = 0;
  std::size_t FDirAt = 0;
  std::uint32_t FVersion = 0;
  bool FValid = false;
  bool FCollection = false;
  bool FDropped = false;
  std::vector<TSfntTable> FTables;
};

// The sum of the data as big-endian 32-bit words, the last completed with zeros.
std::uint32_t SfntChecksum(const std::uint8_t* Data, std::size_t Size);
