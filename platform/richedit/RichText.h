// RichText.h — the text of one rich-edit paragraph, read as UTF-16 code
// units but kept at one byte a character while every character is below
// U+0100 (which nearly all Western text is): a long document's text is
// its largest part, and two bytes a character doubled it. The first wider
// character widens the whole paragraph once.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

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
  std::string FData;   // one byte a character, or UTF-16 code units in machine order
  bool FWide = false;
};
