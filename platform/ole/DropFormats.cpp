#include "platform/ole/DropFormats.h"

#include <cstring>

#include "platform/rtl/ByteOrder.h"
#include "platform/rtl/CodePages.h"

CLIPFORMAT ClipboardFormatOf(const char* Name) { return CLIPFORMAT(RegisterClipboardFormatA(Name)); }

namespace {

const Byte* Bytes(const void* P) { return static_cast<const Byte*>(P); }

DWORD U32At(const Byte* P) { return ByteOrder::ReadLE32(P); }

void PutU32(std::string& S, DWORD V) {
  std::uint8_t B[4];
  ByteOrder::WriteLE32(B, V);
  S.append(reinterpret_cast<const char*>(B), 4);
}

}  // namespace

std::vector<std::string> ReadNameList(const void* Names, std::size_t Size, bool Wide) {
  std::vector<std::string> Out;
  const Byte* B = Bytes(Names);
  if (!B) return Out;
  std::size_t At = 0;
  while (At < Size) {
    if (Wide) {
      WideString W;
      bool Ended = false;
      while (At + 1 < Size) {
        const char16_t C = char16_t(B[At] | (B[At + 1] << 8));
        At += 2;
        if (!C) {
          Ended = true;
          break;
        }
        W.push_back(C);
      }
      if (!Ended || W.empty()) break;
      Out.push_back(UTF8Encode(W));
    } else {
      const void* Zero = std::memchr(B + At, 0, Size - At);
      if (!Zero) break;
      const std::size_t End = std::size_t(Bytes(Zero) - B);
      if (End == At) break;
      Out.emplace_back(reinterpret_cast<const char*>(B + At), End - At);
      At = End + 1;
    }
  }
  return Out;
}

std::string WriteNameList(const std::vector<std::string>& Names, bool Wide) {
  std::string Out;
  for (const std::string& N : Names) {
    if (N.empty()) continue;  // an empty name would end the list early
    if (Wide) {
      for (char16_t C : UTF8Decode(N)) {
        Out.push_back(char(C & 0xFF));
        Out.push_back(char(C >> 8));
      }
      Out.append(2, '\0');
    } else {
      Out.append(N.data(), std::strlen(N.c_str()));
      Out.push_back('\0');
    }
  }
  Out.append(Wide ? 2 : 1, '\0');
  return Out;
}

std::string MakeDropFiles(const std::vector<std::string>& Names, TPoint Pt, bool Wide) {
  std::string Out;
  PutU32(Out, DropFilesHeaderSize);
  PutU32(Out, DWORD(Pt.X));
  PutU32(Out, DWORD(Pt.Y));
  PutU32(Out, 0);
  PutU32(Out, Wide ? 1 : 0);
  return Out + WriteNameList(Names, Wide);
}

std::vector<std::string> ReadDropFiles(const void* Block, std::size_t Size, TDropFilesHeader* Header) {
  const Byte* B = Bytes(Block);
  if (!B || Size <= DropFilesHeaderSize) return {};
  TDropFilesHeader H;
  H.pFiles = U32At(B);
  H.pt = {Integer(U32At(B + 4)), Integer(U32At(B + 8))};
  H.fNC = BOOL(U32At(B + 12));
  H.fWide = BOOL(U32At(B + 16));
  if (Header) *Header = H;
  if (H.pFiles < DropFilesHeaderSize || H.pFiles >= Size) return {};
  return ReadNameList(B + H.pFiles, Size - H.pFiles, H.fWide != 0);
}

std::size_t BoundedIDListSize(const void* Data, std::size_t Size) {
  const Byte* B = Bytes(Data);
  if (!B) return 0;
  std::size_t At = 0;
  // Every item is at least its 2-byte size field long, so the walk ends
  // within Size / 2 steps whatever the bytes say.
  while (At + 2 <= Size) {
    const std::size_t Cb = ByteOrder::ReadLE16(B + At);
    if (Cb == 0) return At + 2;
    if (Cb < 2 || Cb > Size - At) return 0;
    At += Cb;
  }
  return 0;
}

std::optional<std::vector<std::string>> ReadIDListArray(const void* Block, std::size_t Size) {
  const Byte* B = Bytes(Block);
  if (!B || Size < 4) return std::nullopt;
  const DWORD N = U32At(B);
  // 4 bytes of count, n + 1 offsets and at least a terminator per list.
  if (UInt64(N) * 8 + 4 > Size) return std::nullopt;
  std::vector<std::string> Lists;
  Lists.reserve(std::size_t(N) + 1);
  for (DWORD I = 0; I <= N; ++I) {
    const DWORD Off = U32At(B + 4 + 4 * std::size_t(I));
    if (Off >= Size) return std::nullopt;
    const std::size_t Len = BoundedIDListSize(B + Off, Size - Off);
    if (!Len) return std::nullopt;
    Lists.emplace_back(reinterpret_cast<const char*>(B + Off), Len);
  }
  return Lists;
}

std::string WriteIDListArray(const std::vector<std::string>& Lists) {
  std::string Out;
  if (Lists.empty()) return Out;
  PutU32(Out, DWORD(Lists.size() - 1));
  DWORD Off = DWORD(4 * (Lists.size() + 1));
  for (const std::string& L : Lists) {
    PutU32(Out, Off);
    Off += DWORD(L.size());
  }
  for (const std::string& L : Lists) Out += L;
  return Out;
}

std::optional<DWORD> ReadDWordFormat(const std::string& Bytes) {
  if (Bytes.size() < 4) return std::nullopt;
  return U32At(reinterpret_cast<const Byte*>(Bytes.data()));
}

std::string MakeDWordFormat(DWORD Value) {
  std::string S;
  PutU32(S, Value);
  return S;
}
