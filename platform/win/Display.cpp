#include "platform/win/Display.h"

#include "platform/win/HeadlessDisplay.h"

namespace {
std::unique_ptr<TDisplay>& Current() {
  static std::unique_ptr<TDisplay> D;
  return D;
}
}  // namespace

TDisplay& Display() {
  auto& D = Current();
  if (!D) D = std::make_unique<THeadlessDisplay>();
  return *D;
}

void SetDisplay(std::unique_ptr<TDisplay> D) { Current() = std::move(D); }
