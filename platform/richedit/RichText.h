// RichText.h — the text of one rich-edit paragraph, read as UTF-16 code
// units but kept at one byte a character while every character is below
// U+0100 (which nearly all Western text is): a long document's text is
// its largest part, and two bytes a character doubled it. The first wider
// character widens the whole paragraph once.
#pragma once
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <algorithm>
#include <string_view>

// The bytes of a TRichText. Grown with realloc: a paragraph that grows to
// megabytes (an editor's whole text) is moved by the allocator's page
// remapping instead of being copied into a block twice as large while the
// old one is still held, which made loading such a text take three times
// its size for a moment.
class TRichBytes {
public:
  TRichBytes() = default;
  TRichBytes(const TRichBytes& O) { Assign(O.FData, O.FSize); }
  TRichBytes(TRichBytes&& O) noexcept : FData(O.FData), FSize(O.FSize), FCapacity(O.FCapacity) {
    O.FData = nullptr;
    O.FSize = O.FCapacity = 0;
  }
  TRichBytes& operator=(const TRichBytes& O) {
    if (this != &O) {
      FSize = 0;
      Assign(O.FData, O.FSize);
    }
    return *this;
  }
  TRichBytes& operator=(TRichBytes&& O) noexcept {
    if (this != &O) {
      std::free(FData);
      FData = O.FData;
      FSize = O.FSize;
      FCapacity = O.FCapacity;
      O.FData = nullptr;
      O.FSize = O.FCapacity = 0;
    }
    return *this;
  }
  ~TRichBytes() { std::free(FData); }

  std::size_t size() const { return FSize; }
  bool empty() const { return FSize == 0; }
  char* data() { return FData; }
  const char* data() const { return FData; }
  char operator[](std::size_t I) const { return FData[I]; }
  char& operator[](std::size_t I) { return FData[I]; }
  // New bytes are left as they are: the caller writes them.
  void resize(std::size_t N) {
    if (N > FCapacity) Reallocate(std::max(N, FCapacity + FCapacity / 2));
    FSize = N;
  }
  void append(const char* P, std::size_t N) {
    const std::size_t At = FSize;
    resize(FSize + N);
    if (N) std::memcpy(FData + At, P, N);
  }
  void shrink_to_fit() {
    if (FCapacity <= FSize) return;
    if (FSize == 0 || FSize >= ShrinkInPlaceFrom) {
      Reallocate(FSize);
      return;
    }
    // A small text moves to a block of its size: shrinking in place would
    // leave a sliver beside every paragraph of a long document.
    char* P = static_cast<char*>(std::malloc(FSize));
    if (!P) throw std::bad_alloc();
    std::memcpy(P, FData, FSize);
    std::free(FData);
    FData = P;
    FCapacity = FSize;
  }

private:
  void Assign(const char* P, std::size_t N) {
    resize(N);
    if (N) std::memcpy(FData, P, N);
  }
  void Reallocate(std::size_t Capacity) {
    if (Capacity == 0) {
      std::free(FData);
      FData = nullptr;
      FCapacity = 0;
      return;
    }
    char* P = static_cast<char*>(std::realloc(FData, Capacity));
    if (!P) throw std::bad_alloc();
    FData = P;
    FCapacity = Capacity;
  }
  static constexpr std::size_t ShrinkInPlaceFrom = 4096;
  char* FData = nullptr;
  std::size_t FSize = 0, FCapacity = 0;
};

class TRichText {
public:
  TRichText() = default;
  TRichText(std::u16string_view S) { append(S); }

  std::size_t size() const { return FWide ? FData.size() / 2 : FData.size(); }
  bool empty() const { return FData.empty(); }
  bool Wide() const { return FWide; }

  char16_t operator[](std::size_t I) const {
    if (!FWide) return char16_t(static_cast<unsigned char>(FData[I]));
    char16_t C;
    std::memcpy(&C, FData.data() + 2 * I, 2);
    return C;
  }
  char16_t back() const { return (*this)[size() - 1]; }

  // Characters [Pos, Pos + Count) (clipped to the text) as UTF-16.
  std::u16string substr(std::size_t Pos, std::size_t Count = std::u16string::npos) const;
  std::u16string str() const { return substr(0); }
  // Appends characters [Pos, Pos + Count) of this text to Out.
  void AppendTo(std::u16string& Out, std::size_t Pos, std::size_t Count) const;

  void append(std::u16string_view S);
  void pop_back() { FData.resize(FData.size() - (FWide ? 2 : 1)); }
  void shrink_to_fit() { FData.shrink_to_fit(); }

  friend bool operator==(const TRichText& A, std::u16string_view B);

private:
  void Widen();
  TRichBytes FData;   // one byte a character, or UTF-16 code units in machine order
  bool FWide = false;
};
