#include "platform/rtl/MulDiv.h"

#include <cstdint>
#include <cstdlib>

Integer MulDiv(Integer A, Integer B, Integer C) {
  if (C == 0) return -1;
  const long long P = static_cast<long long>(A) * B;
  long long Q = P / C;
  const long long R = P % C;
  if (2 * std::llabs(R) >= std::llabs(static_cast<long long>(C))) Q += ((P < 0) != (C < 0)) ? -1 : 1;
  if (Q > INT32_MAX || Q < INT32_MIN) return -1;
  return Integer(Q);
}
