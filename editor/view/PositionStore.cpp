#include "editor/view/PositionStore.h"

#include <algorithm>

namespace {
bool Less(const TStoredPosition& A, std::uint64_t B) { return A.Source < B; }
}  // namespace

void TMemoPostionStore::Save(const TStoredPosition& P) {
  auto It = std::lower_bound(FItems.begin(), FItems.end(), P.Source, Less);
  if (It != FItems.end() && It->Source == P.Source)
    *It = P;
  else
    FItems.insert(It, P);
}

bool TMemoPostionStore::Find(std::uint64_t Source, TStoredPosition& P) const {
  auto It = std::lower_bound(FItems.begin(), FItems.end(), Source, Less);
  if (It == FItems.end() || It->Source != Source) return false;
  P = *It;
  return true;
}
