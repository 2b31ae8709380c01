// GraphicsUtil_p.h — small helpers shared by the graphics classes' units.
#pragma once
#include <cstdint>
#include "platform/rtl/Types.h"

// A × B / C rounded half away from zero through a 64-bit product, as the
// system's MulDiv; -1 when C is 0.
inline Integer GxMulDiv(Integer A, Integer B, Integer C) {
  if (C == 0) return -1;
  const Int64 P = Int64(A) * B;
  const bool Neg = (P < 0) != (C < 0);
  const Int64 Ap = P < 0 ? -P : P, Ac = C < 0 ? -Int64(C) : Int64(C);
  const Int64 Q = (Ap + Ac / 2) / Ac;
  return Integer(Neg ? -Q : Q);
}
