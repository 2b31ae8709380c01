#include "platform/win/Atoms.h"

#include <strings.h>

#include <cstdlib>
#include <cstring>

#include "platform/win/WinState_p.h"

namespace {
constexpr std::size_t MaxAtomName = 255;

std::vector<TGlobalAtom>& Table() { return WinState().GlobalAtoms; }

// The integer atom Name stands for: a MAKEINTATOM value or "#<decimal>";
// 0 for a string name, -1 for an integer out of range.
long IntegerAtom(const char* Name) {
  const auto V = reinterpret_cast<std::uintptr_t>(Name);
  if (V < 0x10000) return V >= 1 && V < MAXINTATOM ? long(V) : -1;
  if (Name[0] != '#' || !Name[1]) return 0;
  char* End = nullptr;
  const long N = std::strtol(Name + 1, &End, 10);
  if (*End) return 0;  // "#12a" is a string
  return N >= 1 && N < MAXINTATOM ? N : -1;
}

TGlobalAtom* Entry(ATOM Atom) {
  if (Atom < MAXINTATOM) return nullptr;
  auto& T = Table();
  const std::size_t I = Atom - MAXINTATOM;
  return I < T.size() && T[I].References > 0 ? &T[I] : nullptr;
}

ATOM Find(const char* Name) {
  auto& T = Table();
  for (std::size_t I = 0; I < T.size(); ++I)
    if (T[I].References > 0 && strcasecmp(T[I].Name.c_str(), Name) == 0) return ATOM(MAXINTATOM + I);
  return 0;
}
}  // namespace

ATOM GlobalAddAtomA(const char* Name) {
  const long Int = Name ? IntegerAtom(Name) : -1;
  if (Int > 0) return ATOM(Int);
  if (Int < 0 || !*Name || std::strlen(Name) > MaxAtomName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (ATOM A = Find(Name)) {
    ++Entry(A)->References;
    return A;
  }
  auto& T = Table();
  std::size_t I = 0;
  while (I < T.size() && T[I].References > 0) ++I;
  if (I >= 0x10000 - MAXINTATOM) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  if (I == T.size()) T.emplace_back();
  T[I] = {Name, 1};
  return ATOM(MAXINTATOM + I);
}

ATOM GlobalDeleteAtom(ATOM Atom) {
  if (Atom > 0 && Atom < MAXINTATOM) return 0;
  TGlobalAtom* E = Entry(Atom);
  if (!E) {
    SetLastError(ERROR_INVALID_HANDLE);
    return Atom;
  }
  if (--E->References == 0) E->Name.clear();
  return 0;
}

ATOM GlobalFindAtomA(const char* Name) {
  const long Int = Name ? IntegerAtom(Name) : -1;
  if (Int > 0) return ATOM(Int);
  ATOM A = Int < 0 ? 0 : Find(Name);
  if (!A) SetLastError(2);  // ERROR_FILE_NOT_FOUND
  return A;
}

UINT GlobalGetAtomNameA(ATOM Atom, char* Buffer, int Size) {
  if (!Buffer || Size <= 0) return 0;
  AnsiString Name;
  if (Atom > 0 && Atom < MAXINTATOM) Name = AnsiString(1, '#').append(std::to_string(Atom));
  else if (TGlobalAtom* E = Entry(Atom)) Name = E->Name;
  else {
    SetLastError(ERROR_INVALID_HANDLE);
    Buffer[0] = '\0';
    return 0;
  }
  const std::size_t N = std::min<std::size_t>(Name.size(), std::size_t(Size - 1));
  std::memcpy(Buffer, Name.data(), N);
  Buffer[N] = '\0';
  return UINT(N);
}
