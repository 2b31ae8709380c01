// IdentMaps.h — the names of integer constants (colours, cursors, character
// sets) as the object text form writes them, looked up both ways.
#pragma once
#include <span>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/Types.h"

struct TIdentMapEntry {
  Integer Value;
  const char* Name;
};

// The name of Int in Map; the first one where several names share a value.
inline bool IntToIdent(Integer Int, AnsiString& Ident, std::span<const TIdentMapEntry> Map) {
  for (const TIdentMapEntry& E : Map)
    if (E.Value == Int) {
      Ident = E.Name;
      return true;
    }
  return false;
}

// The value of the name Ident, in any case.
inline bool IdentToInt(const AnsiString& Ident, Integer& Int, std::span<const TIdentMapEntry> Map) {
  for (const TIdentMapEntry& E : Map)
    if (SameText(Ident, E.Name)) {
      Int = E.Value;
      return true;
    }
  return false;
}
