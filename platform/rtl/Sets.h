// Sets.h — TSet<E>: the class library's small sets over an enumeration
// (TShiftState, TFontStyles, TComponentState …). A value type of 256 bits,
// like the library's largest set; elements are the enum's ordinal values.
//
//   using TShiftState = TSet<TShiftStateElem>;
//   TShiftState S{ssShift, ssCtrl};
//   if (S.Contains(ssCtrl)) …;  S << ssAlt;  S >> ssShift;  S = S + T;
//   for (TShiftStateElem E : S) …;          // ascending ordinal order
//
// Streaming and the property layer see a set through its raw bits:
// Bits()/FromBits() for all 256, Ordinal()/FromOrdinal() for the low 64
// (a published set never has more elements than that).
#pragma once
#include <array>
#include <bit>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <type_traits>
#include "platform/rtl/Exceptions.h"

template <class E>
class TSet {
  static_assert(std::is_enum_v<E> || std::is_integral_v<E>, "TSet holds enumerations or small integers");

public:
  using element_type = E;
  static constexpr int MaxElements = 256;
  using TBits = std::array<std::uint64_t, MaxElements / 64>;

  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> Elems) {
    for (E X : Elems) Include(X);
  }

  constexpr TSet& Include(E X) {
    const unsigned I = Index(X);
    FBits[I / 64] |= std::uint64_t(1) << (I % 64);
    return *this;
  }
  constexpr TSet& Exclude(E X) {
    const unsigned I = Index(X);
    FBits[I / 64] &= ~(std::uint64_t(1) << (I % 64));
    return *this;
  }
  // An ordinal outside the set's range is simply not a member.
  constexpr bool Contains(E X) const {
    const auto V = static_cast<long long>(X);
    if (V < 0 || V >= MaxElements) return false;
    return (FBits[V / 64] >> (V % 64)) & 1;
  }
  constexpr TSet& operator<<(E X) { return Include(X); }
  constexpr TSet& operator>>(E X) { return Exclude(X); }

  constexpr bool Empty() const {
    for (auto W : FBits)
      if (W) return false;
    return true;
  }
  constexpr int Count() const {
    int N = 0;
    for (auto W : FBits) N += std::popcount(W);
    return N;
  }
  constexpr void Clear() { FBits = {}; }

  // Union, intersection and difference, as + * - on the library's sets.
  constexpr TSet& operator+=(const TSet& O) {
    for (size_t i = 0; i < FBits.size(); ++i) FBits[i] |= O.FBits[i];
    return *this;
  }
  constexpr TSet& operator*=(const TSet& O) {
    for (size_t i = 0; i < FBits.size(); ++i) FBits[i] &= O.FBits[i];
    return *this;
  }
  constexpr TSet& operator-=(const TSet& O) {
    for (size_t i = 0; i < FBits.size(); ++i) FBits[i] &= ~O.FBits[i];
    return *this;
  }
  friend constexpr TSet operator+(TSet A, const TSet& B) { return A += B; }
  friend constexpr TSet operator*(TSet A, const TSet& B) { return A *= B; }
  friend constexpr TSet operator-(TSet A, const TSet& B) { return A -= B; }
  friend constexpr bool operator==(const TSet&, const TSet&) = default;
  // Subset and superset, as <= and >= on the library's sets.
  constexpr bool SubsetOf(const TSet& O) const { return (*this - O).Empty(); }
  friend constexpr bool operator<=(const TSet& A, const TSet& B) { return A.SubsetOf(B); }
  friend constexpr bool operator>=(const TSet& A, const TSet& B) { return B.SubsetOf(A); }

  constexpr const TBits& Bits() const { return FBits; }
  static constexpr TSet FromBits(const TBits& B) {
    TSet S;
    S.FBits = B;
    return S;
  }
  // The low 64 bits; raises ERangeError if a higher element is present, so a
  // caller never silently drops members.
  constexpr std::uint64_t Ordinal() const {
    for (size_t i = 1; i < FBits.size(); ++i)
      if (FBits[i]) throw ERangeError("Set has elements beyond ordinal 63");
    return FBits[0];
  }
  static constexpr TSet FromOrdinal(std::uint64_t V) {
    TSet S;
    S.FBits[0] = V;
    return S;
  }

  // Walks the members in ascending order.
  class const_iterator {
  public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = E;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = E;
    constexpr const_iterator() = default;
    constexpr E operator*() const { return static_cast<E>(FPos); }
    constexpr const_iterator& operator++() {
      FPos = FSet->NextFrom(FPos + 1);
      return *this;
    }
    constexpr const_iterator operator++(int) {
      auto T = *this;
      ++*this;
      return T;
    }
    friend constexpr bool operator==(const const_iterator& A, const const_iterator& B) {
      return A.FPos == B.FPos;
    }

  private:
    friend class TSet;
    constexpr const_iterator(const TSet* S, unsigned P) : FSet(S), FPos(P) {}
    const TSet* FSet = nullptr;
    unsigned FPos = MaxElements;
  };
  constexpr const_iterator begin() const { return {this, NextFrom(0)}; }
  constexpr const_iterator end() const { return {this, MaxElements}; }

private:
  static constexpr unsigned Index(E X) {
    const auto V = static_cast<long long>(X);
    if (V < 0 || V >= MaxElements) throw ERangeError("Set element out of range");
    return unsigned(V);
  }
  constexpr unsigned NextFrom(unsigned P) const {
    while (P < unsigned(MaxElements)) {
      const std::uint64_t W = FBits[P / 64] >> (P % 64);
      if (W) return P + unsigned(std::countr_zero(W));
      P = (P / 64 + 1) * 64;
    }
    return MaxElements;
  }
  TBits FBits{};
};
