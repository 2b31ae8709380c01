// MulDiv.h — the system's MulDiv: A × B / C through a 64-bit product,
// rounded half away from zero; -1 when C is 0 or the result overflows.
#pragma once
#include "platform/rtl/Types.h"

Integer MulDiv(Integer A, Integer B, Integer C);
