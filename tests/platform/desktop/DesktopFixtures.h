// DesktopFixtures.h — what the desktop tests share: a private scratch
// folder removed afterwards, and the helper program's name.
#pragma once
#include <string>

#include "support/ScratchDir.h"

namespace sxtest {

inline std::string DesktopHelper() { return SX_DESKTOP_HELPER; }

}  // namespace sxtest
