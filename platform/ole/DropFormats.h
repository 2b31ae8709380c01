// DropFormats.h — the shell's transfer formats as bytes: the file-drop
// block (CF_HDROP), the item-id list array ("Shell IDList Array"), the
// plain name lists, and the names of the registered formats.
//
// Blocks that come from outside are untrusted: every reader checks each
// offset and length against the block's size and stops at its end, so a
// lying header gives no names (or fewer), never a read past the block.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/ole/OleApi.h"
#include "platform/win/Clipboard.h"

// Registered names of the transfer formats (RegisterClipboardFormatA).
inline constexpr const char* CFSTR_SHELLIDLIST = "Shell IDList Array";
inline constexpr const char* CFSTR_FILENAMEA = "FileName";
inline constexpr const char* CFSTR_FILENAMEW = "FileNameW";
inline constexpr const char* CFSTR_FILENAMEMAPA = "FileNameMap";
inline constexpr const char* CFSTR_FILENAMEMAPW = "FileNameMapW";
inline constexpr const char* CFSTR_FILEDESCRIPTORA = "FileGroupDescriptor";
inline constexpr const char* CFSTR_FILEDESCRIPTORW = "FileGroupDescriptorW";
inline constexpr const char* CFSTR_FILECONTENTS = "FileContents";
inline constexpr const char* CFSTR_PREFERREDDROPEFFECT = "Preferred DropEffect";
inline constexpr const char* CFSTR_PERFORMEDDROPEFFECT = "Performed DropEffect";
inline constexpr const char* CFSTR_LOGICALPERFORMEDDROPEFFECT = "Logical Performed DropEffect";
inline constexpr const char* CFSTR_PASTESUCCEEDED = "Paste Succeeded";
inline constexpr const char* CFSTR_INDRAGLOOP = "InShellDragLoop";
inline constexpr const char* CFSTR_TARGETCLSID = "TargetCLSID";

// The id of a registered format (registered on first use).
CLIPFORMAT ClipboardFormatOf(const char* Name);

// The file-drop block: a 20-byte header (offset of the names, drop point,
// non-client flag, wide flag), then the names, each ended by a zero
// character, and an empty name.
constexpr std::size_t DropFilesHeaderSize = 20;
struct TDropFilesHeader {
  DWORD pFiles = DropFilesHeaderSize;
  TPoint pt;
  BOOL fNC = FALSE;
  BOOL fWide = FALSE;
};
// Narrow names are written as their bytes (the file system's), wide ones
// as UTF-16 converted from UTF-8.
std::string MakeDropFiles(const std::vector<std::string>& Names, TPoint Pt = {}, bool Wide = false);
// The names of a block (wide names as UTF-8); empty for a block too short,
// with an offset outside it, or holding no name. A name that runs to the
// block's end without its zero is dropped.
std::vector<std::string> ReadDropFiles(const void* Block, std::size_t Size, TDropFilesHeader* Header = nullptr);

// Zero-ended names ended by an empty one, no header (the name-map formats).
std::vector<std::string> ReadNameList(const void* Names, std::size_t Size, bool Wide);
std::string WriteNameList(const std::vector<std::string>& Names, bool Wide);

// The item-id list array: a count n, n + 1 offsets, then the lists (the
// parent's absolute list first, the items' relative ones after it). Each
// list is returned as its bytes including the 2-byte terminator. Nothing
// (nullopt) when the count, an offset or a list does not fit the block.
std::optional<std::vector<std::string>> ReadIDListArray(const void* Block, std::size_t Size);
std::string WriteIDListArray(const std::vector<std::string>& Lists);
// The length of the item-id list at Data including its terminator, reading
// no further than Size bytes; 0 when the list is malformed (an item shorter
// than its size field, or no terminator within the bytes).
std::size_t BoundedIDListSize(const void* Data, std::size_t Size);

// A 32-bit value format ("Preferred DropEffect" and its kin): the first four
// bytes; nothing for a shorter block.
std::optional<DWORD> ReadDWordFormat(const std::string& Bytes);
std::string MakeDWordFormat(DWORD Value);
