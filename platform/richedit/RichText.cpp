#include "platform/richedit/RichText.h"

#include <algorithm>

std::u16string TRichText::substr(std::size_t Pos, std::size_t Count) const {
  std::u16string Out;
  AppendTo(Out, Pos, Count);
  return Out;
}

void TRichText::AppendTo(std::u16string& Out, std::size_t Pos, std::size_t Count) const {
  const std::size_t N = size();
  if (Pos >= N) return;
  Count = std::min(Count, N - Pos);
  const std::size_t At = Out.size();
  Out.resize(At + Count);
  if (FWide) {
    std::memcpy(Out.data() + At, FData.data() + 2 * Pos, 2 * Count);
  } else {
    for (std::size_t I = 0; I < Count; ++I) Out[At + I] = char16_t(static_cast<unsigned char>(FData[Pos + I]));
  }
}

void TRichText::append(std::u16string_view S) {
  if (!FWide && std::any_of(S.begin(), S.end(), [](char16_t C) { return C > 0xFF; })) Widen();
  if (FWide) {
    FData.append(reinterpret_cast<const char*>(S.data()), 2 * S.size());
    return;
  }
  const std::size_t At = FData.size();
  FData.resize(At + S.size());
  for (std::size_t I = 0; I < S.size(); ++I) FData[At + I] = char(S[I]);
}

void TRichText::Widen() {
  TRichBytes Wide;
  Wide.resize(2 * FData.size());
  for (std::size_t I = 0; I < FData.size(); ++I) {
    const char16_t C = static_cast<unsigned char>(FData[I]);
    std::memcpy(Wide.data() + 2 * I, &C, 2);
  }
  FData = std::move(Wide);
  FWide = true;
}

bool operator==(const TRichText& A, std::u16string_view B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < B.size(); ++I)
    if (A[I] != B[I]) return false;
  return true;
}
