#include "editor/exchange/PlainText.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/CodePages.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"

namespace {

bool StartsWith(const AnsiString& S, const char* Mark, size_t Len) {
  return S.size() >= Len && std::memcmp(S.data(), Mark, Len) == 0;
}

WideString Utf16Units(const AnsiString& S, size_t From, bool BigEndian) {
  WideString W;
  W.reserve((S.size() - From) / 2);
  // An odd last byte is half a character: nothing to read.
  for (size_t I = From; I + 1 < S.size(); I += 2) {
    const unsigned char A = static_cast<unsigned char>(S[I]), B = static_cast<unsigned char>(S[I + 1]);
    W.push_back(char16_t(BigEndian ? (A << 8) | B : (B << 8) | A));
  }
  return W;
}

}  // namespace

AnsiString DecodePlainText(AnsiString Bytes) {
  if (StartsWith(Bytes, "\xEF\xBB\xBF", 3)) Bytes = WideToAnsi(UTF8Decode(Bytes.substr(3)), CP_ACP);
  else if (StartsWith(Bytes, "\xFF\xFE", 2)) Bytes = WideToAnsi(Utf16Units(Bytes, 2, false), CP_ACP);
  else if (StartsWith(Bytes, "\xFE\xFF", 2)) Bytes = WideToAnsi(Utf16Units(Bytes, 2, true), CP_ACP);
  if (std::memchr(Bytes.data(), 0, Bytes.size()))
    Bytes.erase(std::remove(Bytes.begin(), Bytes.end(), '\0'), Bytes.end());
  return Bytes;
}

AnsiString ReadPlainText(TStream* Stream) {
  const Int64 Left = Stream->GetSize() - Stream->GetPosition();
  if (Left < 0 || Left > 0x7FFFFFFF) throw EReadError("Stream read error");
  return DecodePlainText(Stream->ReadBytes(static_cast<Integer>(Left)));
}
