#include "editor/options/OptionListeners.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<TOptionsListener*>& Listeners() {
  static std::vector<TOptionsListener*> L;
  return L;
}
}  // namespace

void AddOptionListener(TOptionsListener* Listener) {
  auto& L = Listeners();
  if (Listener && std::find(L.begin(), L.end(), Listener) == L.end()) L.push_back(Listener);
}

void RemoveOptionListener(TOptionsListener* Listener) {
  auto& L = Listeners();
  L.erase(std::remove(L.begin(), L.end(), Listener), L.end());
}

void BroadcastOptionsChanged() {
  // A listener may remove itself (or others) while being told: walk a copy
  // and skip the ones gone meanwhile.
  const std::vector<TOptionsListener*> Copy = Listeners();
  for (TOptionsListener* X : Copy) {
    const auto& L = Listeners();
    if (std::find(L.begin(), L.end(), X) != L.end()) X->OptionsChanged();
  }
}
