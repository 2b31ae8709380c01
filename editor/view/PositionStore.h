// PositionStore.h — where an editor's view and caret stood in each memo
// source it has shown, so that switching back to a source brings them back.
// Entries are keyed by the source's serial number, not its address: an
// address can be reused by a new source after the old one is freed, and a
// serial cannot.
#pragma once
#include <cstdint>
#include <vector>
#include "platform/rtl/Types.h"

struct TStoredPosition {
  std::uint64_t Source = 0;
  Integer TopLine = 0;
  Integer FirstColumn = 0;
  TPoint Caret{0, 0};
};

class TMemoPostionStore {
public:
  void Save(const TStoredPosition& P);
  // False when nothing is stored for the source.
  bool Find(std::uint64_t Source, TStoredPosition& P) const;
  size_t Count() const { return FItems.size(); }

private:
  std::vector<TStoredPosition> FItems;  // sorted by Source
};
