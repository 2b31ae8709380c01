// LineGapBuffer.h — the line store's array of line records: a gap buffer
// of pointers. Edits cluster around the caret, so inserting or deleting a
// line moves only the records between the last edit and this one, not
// every record after it; reads stay one index computation.
//
// Holds the pointers only; the owner creates and frees the records.
#pragma once
#include <algorithm>
#include <cstddef>
#include <vector>

template <class T>
class TGapBuffer {
public:
  size_t Size() const { return FBuf.size() - (FGapEnd - FGapStart); }
  size_t Capacity() const { return FBuf.size(); }
  // Index < Size().
  T* At(size_t Index) const { return FBuf[Index < FGapStart ? Index : Index + (FGapEnd - FGapStart)]; }
  T*& At(size_t Index) { return FBuf[Index < FGapStart ? Index : Index + (FGapEnd - FGapStart)]; }
  // Index <= Size().
  void Insert(size_t Index, T* Item) {
    if (FGapStart == FGapEnd) Grow();
    MoveGap(Index);
    FBuf[FGapStart++] = Item;
  }
  // Index < Size(); returns the removed pointer.
  T* Remove(size_t Index) {
    MoveGap(Index);
    T* Item = FBuf[FGapEnd];
    FBuf[FGapEnd++] = nullptr;
    return Item;
  }
  void Clear() {
    std::vector<T*>().swap(FBuf);
    FGapStart = FGapEnd = 0;
  }
  template <class F>
  void ForEach(F&& Fn) const {
    for (size_t I = 0; I < FGapStart; ++I) Fn(FBuf[I]);
    for (size_t I = FGapEnd; I < FBuf.size(); ++I) Fn(FBuf[I]);
  }

private:
  // Puts the gap's start at Index (a count of records before it).
  void MoveGap(size_t Index) {
    if (Index < FGapStart) {
      const size_t N = FGapStart - Index;
      std::move_backward(FBuf.begin() + std::ptrdiff_t(Index), FBuf.begin() + std::ptrdiff_t(FGapStart),
                         FBuf.begin() + std::ptrdiff_t(FGapEnd));
      FGapStart -= N;
      FGapEnd -= N;
    } else if (Index > FGapStart) {
      const size_t N = Index - FGapStart;
      std::move(FBuf.begin() + std::ptrdiff_t(FGapEnd), FBuf.begin() + std::ptrdiff_t(FGapEnd + N),
                FBuf.begin() + std::ptrdiff_t(FGapStart));
      FGapStart += N;
      FGapEnd += N;
    }
  }
  // Half as much again (at least 64), the gap kept where it was.
  void Grow() {
    const size_t Old = FBuf.size();
    const size_t Extra = Old / 2 > 64 ? Old / 2 : 64;
    FBuf.resize(Old + Extra, nullptr);
    std::move_backward(FBuf.begin() + std::ptrdiff_t(FGapEnd), FBuf.begin() + std::ptrdiff_t(Old), FBuf.end());
    std::fill(FBuf.begin() + std::ptrdiff_t(FGapEnd), FBuf.begin() + std::ptrdiff_t(FGapEnd + Extra), nullptr);
    FGapEnd += Extra;
  }

  std::vector<T*> FBuf;
  size_t FGapStart = 0;  // records [0, FGapStart) and [FGapEnd, size) are the lines
  size_t FGapEnd = 0;
};
