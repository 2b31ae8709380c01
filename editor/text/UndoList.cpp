#include "editor/text/UndoList.h"

TUndoRecord& TUndoList::AddRecord() {
  FItems.emplace_back();
  return FItems.back();
}

void TUndoList::Pop() {
  if (FItems.empty()) return;
  FItems.pop_back();
  if (FItems.size() * 4 < FItems.capacity()) {
    std::vector<TUndoRecord> Smaller;
    Smaller.reserve(FItems.capacity() / 2);
    for (auto& R : FItems) Smaller.push_back(std::move(R));
    FItems.swap(Smaller);
  }
}

void TUndoList::DeleteOldest(Integer N) {
  if (N < 0) return;
  const size_t Cut = std::min(FItems.size(), size_t(N) + 1);
  FItems.erase(FItems.begin(), FItems.begin() + std::ptrdiff_t(Cut));
}

void TUndoList::Clear() {
  FItems.clear();
  FItems.shrink_to_fit();
}
