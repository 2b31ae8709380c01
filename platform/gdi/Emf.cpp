#include "platform/gdi/Emf.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <unistd.h>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/FileUtils.h"

namespace {

// HENHMETAFILE values: a tag, a generation and a slot, so that a deleted or
// foreign handle is recognised instead of reaching freed memory.
constexpr std::uintptr_t HandleTag = std::uintptr_t(0xE3) << 48;

struct TSlot {
  std::uint32_t Generation = 1;
  std::shared_ptr<const std::vector<Byte>> Bytes;
};

struct TMetafileTable {
  std::mutex Lock;
  std::vector<TSlot> Slots;
  std::vector<std::uint32_t> Free;
};

TMetafileTable& Table() {
  static TMetafileTable T;
  return T;
}

bool Unpack(HENHMETAFILE H, std::uint32_t& Slot, std::uint32_t& Gen) {
  auto V = reinterpret_cast<std::uintptr_t>(H);
  if ((V & (std::uintptr_t(0xFFFF) << 48)) != HandleTag) return false;
  Gen = std::uint32_t((V >> 24) & 0xFFFFFF);
  std::uint32_t S = std::uint32_t(V & 0xFFFFFF);
  if (S == 0) return false;
  Slot = S - 1;
  return true;
}

HENHMETAFILE FromFile(const std::string& Name) {
  std::ifstream F(Name, std::ios::binary);
  if (!F) return nullptr;
  std::vector<Byte> Bytes((std::istreambuf_iterator<char>(F)), std::istreambuf_iterator<char>());
  try {
    EmfValidate(Bytes);
  } catch (const EEmfError&) {
    return nullptr;
  }
  return EmfCreateHandle(std::move(Bytes));
}

HENHMETAFILE Copy(HENHMETAFILE Mf, const std::string* FileName) {
  auto Bytes = EmfBytes(Mf);
  if (!Bytes) return nullptr;
  if (FileName && !TrySaveFileAtomically(*FileName, Bytes->data(), Bytes->size())) return nullptr;
  return EmfCreateHandle(*Bytes);
}

}  // namespace

HENHMETAFILE EmfCreateHandle(std::vector<Byte> Bytes) {
  auto Shared = std::make_shared<const std::vector<Byte>>(std::move(Bytes));
  TMetafileTable& T = Table();
  std::lock_guard<std::mutex> G(T.Lock);
  std::uint32_t Slot;
  if (!T.Free.empty()) {
    Slot = T.Free.back();
    T.Free.pop_back();
  } else {
    if (T.Slots.size() >= 0xFFFFFE) return nullptr;
    Slot = std::uint32_t(T.Slots.size());
    T.Slots.emplace_back();
  }
  T.Slots[Slot].Bytes = std::move(Shared);
  std::uintptr_t V = HandleTag | (std::uintptr_t(T.Slots[Slot].Generation) << 24) | (Slot + 1);
  return reinterpret_cast<HENHMETAFILE>(V);
}

std::shared_ptr<const std::vector<Byte>> EmfBytes(HENHMETAFILE Mf) {
  std::uint32_t Slot, Gen;
  if (!Unpack(Mf, Slot, Gen)) return nullptr;
  TMetafileTable& T = Table();
  std::lock_guard<std::mutex> G(T.Lock);
  if (Slot >= T.Slots.size() || T.Slots[Slot].Generation != Gen) return nullptr;
  return T.Slots[Slot].Bytes;
}

BOOL DeleteEnhMetaFile(HENHMETAFILE Mf) {
  std::uint32_t Slot, Gen;
  if (!Unpack(Mf, Slot, Gen)) return 0;
  TMetafileTable& T = Table();
  std::lock_guard<std::mutex> G(T.Lock);
  if (Slot >= T.Slots.size() || T.Slots[Slot].Generation != Gen || !T.Slots[Slot].Bytes) return 0;
  T.Slots[Slot].Bytes.reset();
  T.Slots[Slot].Generation = (T.Slots[Slot].Generation + 1) & 0xFFFFFF;
  if (T.Slots[Slot].Generation == 0) T.Slots[Slot].Generation = 1;
  T.Free.push_back(Slot);
  return 1;
}

void EmfValidate(std::span<const Byte> Bytes) {
  if (Bytes.size() < EMF_HEADER_BASE_SIZE) throw EEmfError("Metafile shorter than its header");
  DWORD HeaderSize = EmfGetDword(Bytes.data() + 4);
  if (EmfGetDword(Bytes.data()) != EMR_HEADER || HeaderSize < EMF_HEADER_BASE_SIZE ||
      HeaderSize % 4 || HeaderSize > Bytes.size())
    throw EEmfError("Metafile does not start with a header record");
  TEmrHeader H = TEmrHeader::Read(TEmfRecord(Bytes.data(), HeaderSize));
  if (H.Bytes > Bytes.size() || H.Bytes < HeaderSize)
    throw EEmfError("Metafile header claims " + std::to_string(H.Bytes) + " bytes, " +
                    std::to_string(Bytes.size()) + " present");
  std::size_t Pos = 0;
  std::size_t Count = 0;
  for (;;) {
    if (H.Bytes - Pos < 8) throw EEmfError("Metafile ends without an EOF record");
    DWORD Type = EmfGetDword(Bytes.data() + Pos);
    DWORD Size = EmfGetDword(Bytes.data() + Pos + 4);
    if (Size < 8 || Size % 4 || Size > H.Bytes - Pos)
      throw EEmfError("Metafile record " + std::to_string(Count) + " at " + std::to_string(Pos) +
                      " has the bad size " + std::to_string(Size));
    if (Count > 0 && Type == EMR_HEADER) throw EEmfError("Metafile holds a second header");
    Pos += Size;
    ++Count;
    if (Type == EMR_EOF) break;
  }
}

TEmrHeader EmfReadHeader(std::span<const Byte> Bytes) {
  if (Bytes.size() < 8) throw EEmfError("Metafile shorter than its header");
  DWORD Size = EmfGetDword(Bytes.data() + 4);
  if (Size > Bytes.size()) throw EEmfError("Metafile header runs past the data");
  return TEmrHeader::Read(TEmfRecord(Bytes.data(), Size));
}

void EmfForEachRecord(std::span<const Byte> Bytes,
                      const std::function<bool(const TEmfRecord&)>& Visit) {
  std::size_t Pos = 0;
  while (Bytes.size() - Pos >= 8) {
    DWORD Type = EmfGetDword(Bytes.data() + Pos);
    DWORD Size = EmfGetDword(Bytes.data() + Pos + 4);
    if (Size < 8 || Size % 4 || Size > Bytes.size() - Pos) return;
    if (!Visit(TEmfRecord(Bytes.data() + Pos, Size))) return;
    Pos += Size;
    if (Type == EMR_EOF) return;
  }
}

HENHMETAFILE SetEnhMetaFileBits(UINT Size, const BYTE* Data) {
  if (!Data) return nullptr;
  std::span<const Byte> Bytes(Data, Size);
  try {
    EmfValidate(Bytes);
    DWORD N = EmfGetDword(Data + 8 + 32 + 8);  // nBytes
    return EmfCreateHandle(std::vector<Byte>(Data, Data + N));
  } catch (const EEmfError&) {
    return nullptr;
  }
}

UINT GetEnhMetaFileBits(HENHMETAFILE Mf, UINT Size, BYTE* Data) {
  auto Bytes = EmfBytes(Mf);
  if (!Bytes) return 0;
  if (!Data) return UINT(Bytes->size());
  if (Size < Bytes->size()) return 0;
  std::memcpy(Data, Bytes->data(), Bytes->size());
  return UINT(Bytes->size());
}

UINT GetEnhMetaFileHeader(HENHMETAFILE Mf, UINT Size, ENHMETAHEADER* Header) {
  auto Bytes = EmfBytes(Mf);
  if (!Bytes) return 0;
  if (!Header) return sizeof(ENHMETAHEADER);
  TEmrHeader H = EmfReadHeader(*Bytes);
  ENHMETAHEADER E{};
  E.iType = EMR_HEADER;
  E.nSize = EmfGetDword(Bytes->data() + 4);
  E.rclBounds = H.Bounds;
  E.rclFrame = H.Frame;
  E.dSignature = ENHMETA_SIGNATURE;
  E.nVersion = H.Version;
  E.nBytes = H.Bytes;
  E.nRecords = H.Records;
  E.nHandles = H.Handles;
  E.nDescription = DWORD(H.Description.size());
  E.offDescription = H.Description.empty() ? 0 : H.HeaderSize;
  E.nPalEntries = H.PalEntries;
  E.szlDevice = H.Device;
  E.szlMillimeters = H.Millimeters;
  E.szlMicrometers = H.Micrometers;
  UINT N = std::min<UINT>(Size, sizeof(ENHMETAHEADER));
  std::memcpy(Header, &E, N);
  return N;
}

UINT GetEnhMetaFileDescriptionW(HENHMETAFILE Mf, UINT Count, char16_t* Buffer) {
  auto Bytes = EmfBytes(Mf);
  if (!Bytes) return UINT(-1);
  TEmrHeader H = EmfReadHeader(*Bytes);
  if (!Buffer) return UINT(H.Description.size());
  UINT N = std::min<UINT>(Count, UINT(H.Description.size()));
  std::copy_n(H.Description.begin(), N, Buffer);
  return N;
}

HENHMETAFILE CopyEnhMetaFileA(HENHMETAFILE Mf, const char* FileName) {
  if (!FileName) return Copy(Mf, nullptr);
  std::string Name(FileName);
  return Copy(Mf, &Name);
}

HENHMETAFILE CopyEnhMetaFileW(HENHMETAFILE Mf, const char16_t* FileName) {
  if (!FileName) return Copy(Mf, nullptr);
  std::string Name = UTF8Encode(WideString(FileName));
  return Copy(Mf, &Name);
}

HENHMETAFILE GetEnhMetaFileA(const char* FileName) {
  return FileName ? FromFile(FileName) : nullptr;
}

HENHMETAFILE GetEnhMetaFileW(const char16_t* FileName) {
  return FileName ? FromFile(UTF8Encode(WideString(FileName))) : nullptr;
}

TEmfBuilder::TEmfBuilder() {
  // Room for the header; Finish rewrites it in place.
  TEmrHeader Placeholder;
  Placeholder.Write(FWriter);
}

void TEmfBuilder::Counted(DWORD ObjectIndex) {
  ++FRecords;
  if (!(ObjectIndex & ENHMETA_STOCK_OBJECT) && ObjectIndex + 1 > FHandles)
    FHandles = ObjectIndex + 1;
}

std::vector<Byte> TEmfBuilder::Finish(TEmrHeader Header) {
  TEmrEof Eof;
  Eof.Write(FWriter);
  std::vector<Byte> Body = FWriter.TakeBytes();
  const std::size_t OldHeader = EmfGetDword(Body.data() + 4);
  TEmfWriter HW;
  Header.Records = DWORD(FRecords + 2);
  Header.Handles = Word(std::min<DWORD>(FHandles, 0xFFFF));
  Header.PalEntries = 0;
  Header.Write(HW);
  const std::size_t NewHeader = HW.Position();
  Header.Bytes = DWORD(Body.size() - OldHeader + NewHeader);
  TEmfWriter Final;
  Header.Write(Final);
  std::vector<Byte> Out = Final.TakeBytes();
  Out.insert(Out.end(), Body.begin() + std::ptrdiff_t(OldHeader), Body.end());
  return Out;
}
