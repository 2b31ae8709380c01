#include "editor/base/ResourceWriter.h"
#include "platform/rtl/ByteOrder.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>

#include "editor/base/EdConsts.h"
#include "editor/base/SortedLists.h"
#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"

namespace {
constexpr std::size_t NtHeaderSize = 248;        // signature, file header, 32-bit optional header
constexpr std::size_t SectionHeaderSize = 40;
constexpr DWORD ResourceDirIndex = 2;

[[noreturn]] void Fail(EdConsts::TResTextId Message, int Code = 0) {
  RaiseErrorFmt(LoadResText(Message) + LoadResText(EdConsts::SErrorCode), {Code});
}

DWORD U32(const std::vector<Byte>& B, std::size_t At) { return ByteOrder::ReadLE32(&B[At]); }
Word U16(const std::vector<Byte>& B, std::size_t At) { return ByteOrder::ReadLE16(&B[At]); }
void Put32(std::vector<Byte>& B, std::size_t At, DWORD V) {
  for (int I = 0; I < 4; ++I) B[At + std::size_t(I)] = Byte(V >> (8 * I));
}
void Add32(std::vector<Byte>& B, std::size_t At, DWORD Delta) { Put32(B, At, U32(B, At) + Delta); }

// Where the parts of a checked image lie.
struct TPeLayout {
  std::size_t Nt = 0;          // offset of "PE\0\0"
  std::size_t Rsrc = 0;        // offset of the .rsrc section header
  std::size_t RsrcRaw = 0;     // file offset of its raw data
  std::size_t RsrcRawSize = 0;
  DWORD RsrcVa = 0;
  std::size_t RsrcLast = 0;    // raw data end
};

bool InRange(const std::vector<Byte>& B, std::size_t At, std::size_t Len) { return At <= B.size() && Len <= B.size() - At; }

// Returns false with a message for anything the writer cannot handle.
bool Layout(const std::vector<Byte>& B, TPeLayout& L, EdConsts::TResTextId& Why, bool ForWriting) {
  Why = EdConsts::SInvalidFileFormat;
  if (B.size() < 64 || B[0] != 'M' || B[1] != 'Z') return false;
  L.Nt = U32(B, 0x3C);
  if (!InRange(B, L.Nt, NtHeaderSize) || std::memcmp(&B[L.Nt], "PE\0\0", 4) != 0) return false;
  const std::size_t FileHdr = L.Nt + 4;
  const Word Sections = U16(B, FileHdr + 2);
  const Word OptSize = U16(B, FileHdr + 16);
  const std::size_t Opt = FileHdr + 20;
  // The 32-bit optional header, so the section table follows the 248 bytes.
  if (OptSize != NtHeaderSize - 24 || U16(B, Opt) != 0x10B) return false;
  const std::size_t Table = L.Nt + NtHeaderSize;
  if (!InRange(B, Table, std::size_t(Sections) * SectionHeaderSize)) return false;
  bool Found = false;
  std::size_t MaxRawEnd = 0;
  DWORD MaxVa = 0;
  for (std::size_t I = 0; I < Sections; ++I) {
    const std::size_t H = Table + I * SectionHeaderSize;
    const std::size_t RawEnd = std::size_t(U32(B, H + 20)) + U32(B, H + 16);
    MaxRawEnd = std::max(MaxRawEnd, RawEnd);
    MaxVa = std::max(MaxVa, U32(B, H + 12));
    if (!Found && SameText(AnsiString(reinterpret_cast<const char*>(&B[H]), 8).c_str(), ".rsrc")) {
      Found = true;
      L.Rsrc = H;
      L.RsrcVa = U32(B, H + 12);
      L.RsrcRaw = U32(B, H + 20);
      L.RsrcRawSize = U32(B, H + 16);
      L.RsrcLast = RawEnd;
    }
  }
  if (!Found) {
    Why = EdConsts::SNoResources;
    return false;
  }
  if (!InRange(B, L.RsrcRaw, L.RsrcRawSize)) return false;
  // Appending only extends the resource section when it is the last thing
  // in the file and in the image.
  if (ForWriting && (L.RsrcLast != MaxRawEnd || L.RsrcLast != B.size() || L.RsrcVa != MaxVa)) return false;
  return true;
}

struct TFoundResource {
  std::size_t DataEntry = 0;  // file offset of the data entry of the first language
  DWORD Rva = 0, Size = 0;
};

// Walks type -> name -> language directories. Test sees each resource's
// type and name; the first true ends the walk.
bool FindResource(const std::vector<Byte>& B, const TPeLayout& L, const TResType& Type, const AnsiString& Name,
                  TFoundResource& Out) {
  auto DirEntries = [&](std::size_t Dir, std::size_t& First, std::size_t& Count) {
    const std::size_t At = L.RsrcRaw + Dir;
    if (Dir >= L.RsrcRawSize || !InRange(B, At, 16)) return false;
    Count = std::size_t(U16(B, At + 12)) + U16(B, At + 14);
    First = At + 16;
    return InRange(B, First, Count * 8) && First + Count * 8 <= L.RsrcRaw + L.RsrcRawSize;
  };
  auto EntryName = [&](std::size_t Entry, Integer& Id, AnsiString& Text) {
    const DWORD N = U32(B, Entry);
    Id = 0;
    Text.clear();
    if (!(N & 0x80000000u)) {
      Id = Integer(N & 0xFFFF);
      return true;
    }
    const std::size_t At = L.RsrcRaw + (N & 0x7FFFFFFFu);
    if (!InRange(B, At, 2)) return false;
    const std::size_t Len = U16(B, At);
    if (!InRange(B, At + 2, Len * 2)) return false;
    WideString W;
    for (std::size_t I = 0; I < Len; ++I) W += char16_t(U16(B, At + 2 + I * 2));
    Text = WideToAnsi(W);
    return true;
  };
  std::size_t TFirst, TCount;
  if (!DirEntries(0, TFirst, TCount)) return false;
  for (std::size_t T = 0; T < TCount; ++T) {
    const std::size_t TE = TFirst + T * 8;
    Integer TId;
    AnsiString TName;
    if (!EntryName(TE, TId, TName)) continue;
    if (!Type.Any() && !(Type.Id ? TId == Type.Id : (TId == 0 && SameText(TName, Type.Name)))) continue;
    const DWORD TOff = U32(B, TE + 4);
    if (!(TOff & 0x80000000u)) continue;
    std::size_t NFirst, NCount;
    if (!DirEntries(TOff & 0x7FFFFFFFu, NFirst, NCount)) continue;
    for (std::size_t N = 0; N < NCount; ++N) {
      const std::size_t NE = NFirst + N * 8;
      Integer NId;
      AnsiString NName;
      if (!EntryName(NE, NId, NName) || NId != 0 || NName != Name) continue;
      const DWORD NOff = U32(B, NE + 4);
      if (!(NOff & 0x80000000u)) continue;
      std::size_t LFirst, LCount;
      if (!DirEntries(NOff & 0x7FFFFFFFu, LFirst, LCount) || LCount == 0) continue;
      const DWORD LOff = U32(B, LFirst + 4);
      if (LOff & 0x80000000u) continue;
      const std::size_t Data = L.RsrcRaw + LOff;
      if (!InRange(B, Data, 16)) continue;
      Out.DataEntry = Data;
      Out.Rva = U32(B, Data);
      Out.Size = U32(B, Data + 4);
      return true;
    }
  }
  return false;
}

bool LoadFile(const AnsiString& FileName, std::vector<Byte>& Out) {
  std::ifstream In(FileName, std::ios::binary);
  if (!In) return false;
  Out.assign(std::istreambuf_iterator<char>(In), {});
  return !In.bad();
}
}  // namespace

Integer StandardResourceType(const AnsiString& Name) {
  static const struct {
    const char* Name;
    Integer Id;
  } Types[] = {{"RT_CURSOR", 1},        {"RT_BITMAP", 2},      {"RT_ICON", 3},       {"RT_MENU", 4},
               {"RT_DIALOG", 5},        {"RT_STRING", 6},      {"RT_FONTDIR", 7},    {"RT_FONT", 8},
               {"RT_ACCELERATOR", 9},   {"RT_RCDATA", 10},     {"RT_MESSAGETABLE", 11}, {"RT_GROUP_CURSOR", 12},
               {"RT_GROUP_ICON", 14},   {"RT_VERSION", 16},    {"RT_DLGINCLUDE", 17}, {"RT_PLUGPLAY", 19},
               {"RT_VXD", 20},          {"RT_ANICURSOR", 21},  {"RT_ANIICON", 22}};
  for (const auto& T : Types)
    if (SameText(Name, T.Name)) return T.Id;
  return 0;
}

bool ReadResourceData(const AnsiString& FileName, const TResType& Type, const AnsiString& Name, AnsiString& Data) {
  std::vector<Byte> B;
  TPeLayout L;
  EdConsts::TResTextId Why;
  if (!LoadFile(FileName, B) || !Layout(B, L, Why, false)) return false;
  TFoundResource R;
  if (!FindResource(B, L, Type, Name, R)) return false;
  if (R.Rva < L.RsrcVa) return false;
  const std::size_t At = L.RsrcRaw + (R.Rva - L.RsrcVa);
  if (!InRange(B, At, R.Size)) return false;
  Data.assign(reinterpret_cast<const char*>(&B[At]), R.Size);
  return true;
}

bool ResourceExists(const AnsiString& FileName, const TResType& Type, const AnsiString& Name) {
  AnsiString Data;
  return ReadResourceData(FileName, Type, Name, Data);
}

TResourceWriter::TResourceWriter(const AnsiString& AFileName) : FFileName(AFileName) {
  if (!LoadFile(FFileName, FImage)) Fail(EdConsts::SCantOpenFileForWriting, errno);
  TPeLayout L;
  EdConsts::TResTextId Why;
  if (!Layout(FImage, L, Why, true)) Fail(Why);
}

void TResourceWriter::ReplaceResource(const TResType& Type, const AnsiString& Name, const void* Data, Integer Size) {
  if (Size < 0) Size = 0;
  TPeLayout L;
  EdConsts::TResTextId Why;
  if (!Layout(FImage, L, Why, true)) Fail(Why);
  TFoundResource R;
  if (!FindResource(FImage, L, Type, Name, R)) RaiseError(LoadResText(EdConsts::SResourceNotFound));
  if (R.Rva < L.RsrcVa) Fail(EdConsts::SInvalidFileFormat);
  const DWORD Increase = DWORD((Size / 4096 + 1) * 4096);
  const std::size_t OldFileSize = FImage.size();
  const std::size_t OldDataAt = L.RsrcRaw + (R.Rva - L.RsrcVa);
  FImage.resize(OldFileSize + Increase, 0);
  if (Size > 0) std::memcpy(&FImage[OldFileSize], Data, std::size_t(Size));
  Put32(FImage, R.DataEntry + 4, DWORD(Size));
  Add32(FImage, R.DataEntry, DWORD(OldFileSize - OldDataAt));
  const std::size_t Opt = L.Nt + 24;
  Add32(FImage, Opt + 8, Increase);    // SizeOfInitializedData
  Add32(FImage, Opt + 56, Increase);   // SizeOfImage
  Add32(FImage, L.Rsrc + 8, Increase);   // VirtualSize
  Add32(FImage, L.Rsrc + 16, Increase);  // SizeOfRawData
  Add32(FImage, Opt + 96 + ResourceDirIndex * 8 + 4, Increase);
  SaveFileAtomically(FFileName, FImage.data(), FImage.size());
}

bool ReplaceResourceInImage(const AnsiString& FileName, const TResType& Type, const AnsiString& Name, const void* Data,
                            Integer Size) {
  TResourceWriter W(FileName);
  W.ReplaceResource(Type, Name, Data, Size);
  return true;
}
