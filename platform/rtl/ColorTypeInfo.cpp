// The type information of TColor: an integer with the colour names.
#include "platform/rtl/Colors.h"
#include "platform/rtl/TypInfo.h"

namespace {
bool ColorIdentToInt(const AnsiString& Ident, Integer& Int) {
  TColor C{};
  if (!IdentToColor(Ident, C)) return false;
  Int = Integer(C);
  return true;
}
bool ColorIntToIdent(Integer Int, AnsiString& Ident) { return ColorToIdent(TColor(Int), Ident); }
}  // namespace

const TTypeInfo* SxTypeInfo(TColor*) {
  static const TTypeInfo Info = NamedIntegerTypeInfo("TColor", ColorIdentToInt, ColorIntToIdent);
  return &Info;
}
