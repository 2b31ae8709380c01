#include "platform/gdi/BlitRop.h"

#include <cstring>

namespace {

template <class F>
void Apply(std::uint32_t* D, const std::uint32_t* S, const std::uint32_t* P, int N,
           std::uint32_t M, F Op) {
  for (int I = 0; I < N; ++I) {
    const std::uint32_t Dv = D[I];
    D[I] = (Dv & ~M) | (Op(P ? P[I] : 0, S ? S[I] : 0, Dv) & M);
  }
}

}  // namespace

void RopRow(Byte Index, std::uint32_t* D, const std::uint32_t* S, const std::uint32_t* P,
            int N, std::uint32_t M) {
  using U = std::uint32_t;
  switch (Index) {
    case 0xCC:  // SRCCOPY
      if (M == 0xFFFFFFFFu) {
        std::memmove(D, S, std::size_t(N) * 4);
        return;
      }
      return Apply(D, S, P, N, M, [](U, U s, U) { return s; });
    case 0xAA: return;  // D: nothing changes
    case 0x00: return Apply(D, S, P, N, M, [](U, U, U) { return U(0); });
    case 0xFF: return Apply(D, S, P, N, M, [](U, U, U) { return ~U(0); });
    case 0xF0: return Apply(D, S, P, N, M, [](U p, U, U) { return p; });
    case 0x0F: return Apply(D, S, P, N, M, [](U p, U, U) { return ~p; });
    case 0x55: return Apply(D, S, P, N, M, [](U, U, U d) { return ~d; });
    case 0x5A: return Apply(D, S, P, N, M, [](U p, U, U d) { return p ^ d; });
    case 0x33: return Apply(D, S, P, N, M, [](U, U s, U) { return ~s; });
    case 0x88: return Apply(D, S, P, N, M, [](U, U s, U d) { return s & d; });
    case 0xEE: return Apply(D, S, P, N, M, [](U, U s, U d) { return s | d; });
    case 0x66: return Apply(D, S, P, N, M, [](U, U s, U d) { return s ^ d; });
    case 0x44: return Apply(D, S, P, N, M, [](U, U s, U d) { return s & ~d; });
    case 0x11: return Apply(D, S, P, N, M, [](U, U s, U d) { return ~(s | d); });
    case 0xBB: return Apply(D, S, P, N, M, [](U, U s, U d) { return ~s | d; });
    case 0x22: return Apply(D, S, P, N, M, [](U, U s, U d) { return ~s & d; });
    case 0xC0: return Apply(D, S, P, N, M, [](U p, U s, U) { return p & s; });
    case 0xFB: return Apply(D, S, P, N, M, [](U p, U s, U d) { return p | ~s | d; });
    case 0xB8: return Apply(D, S, P, N, M, [](U p, U s, U d) { return (s & d) | (~s & p); });
    case 0xE2: return Apply(D, S, P, N, M, [](U p, U s, U d) { return (s & p) | (~s & d); });
    default: {
      const Byte I = Index;
      return Apply(D, S, P, N, M, [I](U p, U s, U d) { return Rop3(I, p, s, d); });
    }
  }
}
