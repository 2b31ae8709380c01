#include "platform/rtl/Variants.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"

struct Variant::TArray {
  int Low = 0;
  TVarType ElementType = varVariant;
  std::vector<Variant> Items;
};

namespace {

bool IsIntegral(TVarType T) {
  switch (T) {
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      return true;
    default:
      return false;
  }
}

bool IsStringType(TVarType T) { return T == varString || T == varOleStr; }

// The scalar types a Variant here can hold (and arrays can be made of).
bool IsSupportedScalar(TVarType T) {
  return T == varEmpty || T == varNull || IsIntegral(T) || T == varSingle || T == varDouble ||
         T == varCurrency || T == varDate || T == varBoolean || IsStringType(T);
}

// Round as the class library does: halves to even.
double RoundHalfEven(double V) { return std::nearbyint(V); }

AnsiString FloatText(double V) { return FloatToStr(V); }

bool TryReadFloat(const AnsiString& S, double& Value) {
  double D;
  if (!TryStrToFloat(S, D) || !std::isfinite(D)) return false;
  Value = D;
  return true;
}

// CurrToStr: the exact decimal of the 1/10000 count, trailing zeros dropped.
AnsiString CurrencyText(Currency C) {
  const bool Negative = C.Scaled < 0;
  const UInt64 Abs = Negative ? UInt64(0) - UInt64(C.Scaled) : UInt64(C.Scaled);
  AnsiString Out(Negative ? "-" : "");
  Out.append(std::to_string(Abs / 10000));
  UInt64 Frac = Abs % 10000;
  if (Frac) {
    char Buf[8];
    std::snprintf(Buf, sizeof Buf, "%04u", unsigned(Frac));
    AnsiString F = Buf;
    while (F.back() == '0') F.pop_back();
    Out += FormatSettings().DecimalSeparator + F;
  }
  return Out;
}

[[noreturn]] void OverflowError(TVarType From, TVarType To) {
  throw EVariantOverflowError("Overflow while converting variant of type (" + VarTypeAsText(From) +
                              ") into type (" + VarTypeAsText(To) + ")");
}

[[noreturn]] void InvalidOp() { throw EVariantInvalidOpError("Invalid variant operation"); }

Int64 RoundedToInt64(double V, TVarType From, TVarType To) {
  const double R = RoundHalfEven(V);
  if (!(R >= -9223372036854775808.0 && R < 9223372036854775808.0)) OverflowError(From, To);
  return Int64(R);
}

}  // namespace

Currency DoubleToCurrency(double Value) {
  const double Scaled = RoundHalfEven(Value * 10000.0);
  if (!(Scaled >= -9223372036854775808.0 && Scaled < 9223372036854775808.0))
    OverflowError(varDouble, varCurrency);
  return Currency{Int64(Scaled)};
}

// ---- Construction ----

Variant::Variant() : FInt(0) {}
Variant::Variant(bool Value) : FType(varBoolean), FInt(0) { FBool = Value; }
Variant::Variant(ShortInt Value) : FType(varShortInt), FInt(Value) {}
Variant::Variant(Byte Value) : FType(varByte), FInt(Value) {}
Variant::Variant(SmallInt Value) : FType(varSmallint), FInt(Value) {}
Variant::Variant(Word Value) : FType(varWord), FInt(Value) {}
Variant::Variant(Integer Value) : FType(varInteger), FInt(Value) {}
Variant::Variant(LongWord Value) : FType(varLongWord), FInt(Value) {}
Variant::Variant(Int64 Value) : FType(varInt64), FInt(Value) {}
Variant::Variant(float Value) : FType(varSingle), FInt(0) { FSingle = Value; }
Variant::Variant(double Value) : FType(varDouble), FDouble(Value) {}
Variant::Variant(Currency Value) : FType(varCurrency), FInt(Value.Scaled) {}
Variant::Variant(const char* Value) : FType(varString), FInt(0), FStr(Value ? Value : "") {}
Variant::Variant(AnsiString Value) : FType(varString), FInt(0), FStr(std::move(Value)) {}
Variant::Variant(WideString Value) : FType(varOleStr), FInt(0), FWide(std::move(Value)) {}
Variant::Variant(const char16_t* Value) : FType(varOleStr), FInt(0), FWide(Value ? Value : u"") {}

Variant::Variant(const Variant& Other)
    : FType(Other.FType), FInt(Other.FInt), FStr(Other.FStr), FWide(Other.FWide),
      FArray(Other.FArray ? std::make_unique<TArray>(*Other.FArray) : nullptr) {}

Variant::Variant(Variant&& Other) noexcept
    : FType(Other.FType), FInt(Other.FInt), FStr(std::move(Other.FStr)), FWide(std::move(Other.FWide)),
      FArray(std::move(Other.FArray)) {
  Other.FType = varEmpty;
}

Variant& Variant::operator=(const Variant& Other) {
  if (this != &Other) *this = Variant(Other);
  return *this;
}

Variant& Variant::operator=(Variant&& Other) noexcept {
  if (this != &Other) {
    FType = Other.FType;
    FInt = Other.FInt;
    FStr = std::move(Other.FStr);
    FWide = std::move(Other.FWide);
    FArray = std::move(Other.FArray);
    Other.FType = varEmpty;
  }
  return *this;
}

Variant::~Variant() = default;

Variant Variant::Null() {
  Variant V;
  V.FType = varNull;
  return V;
}

Variant Variant::FromDate(TDateTime Value) {
  Variant V(Value);
  V.FType = varDate;
  return V;
}

// ---- Conversions ----

void Variant::CastError(TVarType Target) const {
  throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(FType) +
                              ") into type (" + VarTypeAsText(Target) + ")");
}

Int64 Variant::AsInt64() const {
  switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FBool ? -1 : 0;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      return FInt;
    case varSingle: return RoundedToInt64(FSingle, FType, varInt64);
    case varDouble: case varDate: return RoundedToInt64(FDouble, FType, varInt64);
    case varCurrency: return RoundedToInt64(double(FInt) / 10000.0, FType, varInt64);
    case varString: case varOleStr: {
      const AnsiString S = AsString();
      Int64 I;
      if (TryStrToInt64(S, I)) return I;
      double D;
      if (TryReadFloat(S, D)) return RoundedToInt64(D, FType, varInt64);
      CastError(varInt64);
    }
    default: CastError(varInt64);
  }
}

Integer Variant::AsInteger() const {
  if (FType == varString || FType == varOleStr) {
    Integer I;
    if (TryStrToInt(AsString(), I)) return I;
    double D;
    if (!TryReadFloat(AsString(), D)) CastError(varInteger);
    const Int64 R = RoundedToInt64(D, FType, varInteger);
    if (R < std::numeric_limits<Integer>::min() || R > std::numeric_limits<Integer>::max())
      OverflowError(FType, varInteger);
    return Integer(R);
  }
  if (FType == varNull || (FType & varArray)) CastError(varInteger);
  Int64 R;
  try {
    R = AsInt64();
  } catch (const EVariantOverflowError&) {
    OverflowError(FType, varInteger);
  }
  if (R < std::numeric_limits<Integer>::min() || R > std::numeric_limits<Integer>::max())
    OverflowError(FType, varInteger);
  return Integer(R);
}

double Variant::AsDouble() const {
  switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FBool ? -1 : 0;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      return double(FInt);
    case varSingle: return FSingle;
    case varDouble: case varDate: return FDouble;
    case varCurrency: return double(FInt) / 10000.0;
    case varString: case varOleStr: {
      double D;
      if (TryReadFloat(AsString(), D)) return D;
      CastError(varDouble);
    }
    default: CastError(varDouble);
  }
}

Currency Variant::AsCurrency() const {
  switch (FType) {
    case varCurrency: return Currency{FInt};
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      if (FInt > std::numeric_limits<Int64>::max() / 10000 || FInt < std::numeric_limits<Int64>::min() / 10000)
        OverflowError(FType, varCurrency);
      return Currency{FInt * 10000};
    case varString: case varOleStr: {
      double D;
      if (!TryReadFloat(AsString(), D)) CastError(varCurrency);
      return DoubleToCurrency(D);
    }
    case varNull: CastError(varCurrency);
    default:
      if (FType & varArray) CastError(varCurrency);
      try {
        return DoubleToCurrency(AsDouble());
      } catch (const EVariantOverflowError&) {
        OverflowError(FType, varCurrency);
      }
  }
}

TDateTime Variant::AsDateTime() const {
  if (IsStringType(FType)) {
    TDateTime D;
    if (TryStrToDateTime(AsString(), D)) return D;
    CastError(varDate);
  }
  if (FType == varNull || (FType & varArray)) CastError(varDate);
  return AsDouble();
}

bool Variant::AsBoolean() const {
  switch (FType) {
    case varEmpty: return false;
    case varBoolean: return FBool;
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64: case varCurrency:
      return FInt != 0;
    case varSingle: return FSingle != 0;
    case varDouble: case varDate: return FDouble != 0;
    case varString: case varOleStr: {
      const AnsiString S = AsString();
      if (SameText(S, "True")) return true;
      if (SameText(S, "False")) return false;
      double D;
      if (TryReadFloat(S, D)) return D != 0;
      CastError(varBoolean);
    }
    default: CastError(varBoolean);
  }
}

AnsiString Variant::AsString() const {
  switch (FType) {
    case varEmpty: return {};
    case varBoolean: return FBool ? "True" : "False";
    case varSmallint: case varInteger: case varShortInt: case varByte: case varWord: case varLongWord:
    case varInt64:
      return IntToStr(FInt);
    case varSingle: return FloatText(FSingle);
    case varDouble: return FloatText(FDouble);
    case varCurrency: return CurrencyText(Currency{FInt});
    case varDate: return DateTimeToStr(FDouble);
    case varString: return FStr;
    case varOleStr: return WideToAnsi(FWide);
    default: CastError(varString);
  }
}

WideString Variant::AsWideString() const {
  if (FType == varOleStr) return FWide;
  return AnsiToWide(AsString());
}

Variant Variant::ConvertedTo(TVarType Target) const {
  if (FType == Target) return *this;
  if (FType & varArray) CastError(Target);
  switch (Target) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varSmallint: {
      const Integer I = AsInteger();
      if (I < -32768 || I > 32767) OverflowError(FType, Target);
      return Variant(SmallInt(I));
    }
    case varShortInt: {
      const Integer I = AsInteger();
      if (I < -128 || I > 127) OverflowError(FType, Target);
      return Variant(ShortInt(I));
    }
    case varByte: {
      const Integer I = AsInteger();
      if (I < 0 || I > 255) OverflowError(FType, Target);
      return Variant(Byte(I));
    }
    case varWord: {
      const Integer I = AsInteger();
      if (I < 0 || I > 65535) OverflowError(FType, Target);
      return Variant(Word(I));
    }
    case varInteger: return Variant(AsInteger());
    case varLongWord: {
      if (FType == varNull) CastError(Target);
      const Int64 I = AsInt64();
      if (I < 0 || I > 0xFFFFFFFFll) OverflowError(FType, Target);
      return Variant(LongWord(I));
    }
    case varInt64:
      if (FType == varNull) CastError(Target);
      return Variant(AsInt64());
    case varSingle: {
      if (FType == varNull) CastError(Target);
      const double D = AsDouble();
      if (std::isfinite(D) && std::fabs(D) > std::numeric_limits<float>::max()) OverflowError(FType, Target);
      return Variant(float(D));
    }
    case varDouble:
      if (FType == varNull) CastError(Target);
      return Variant(AsDouble());
    case varCurrency: return Variant(AsCurrency());
    case varDate: return FromDate(AsDateTime());
    case varBoolean:
      if (FType == varNull) CastError(Target);
      return Variant(AsBoolean());
    case varString:
      if (FType == varNull) CastError(Target);
      return Variant(AsString());
    case varOleStr:
      if (FType == varNull) CastError(Target);
      return Variant(AsWideString());
    default:
      throw EVariantBadVarTypeError("Invalid variant type");
  }
}

// ---- Arrays ----

const Variant& Variant::GetElement(int Index) const {
  if (!FArray) InvalidOp();
  const Int64 I = Int64(Index) - FArray->Low;
  if (I < 0 || I >= Int64(FArray->Items.size()))
    throw EVariantBadIndexError("Variant or safe array index out of bounds");
  return FArray->Items[std::size_t(I)];
}

void Variant::PutElement(int Index, const Variant& Value) {
  if (!FArray) InvalidOp();
  const Int64 I = Int64(Index) - FArray->Low;
  if (I < 0 || I >= Int64(FArray->Items.size()))
    throw EVariantBadIndexError("Variant or safe array index out of bounds");
  FArray->Items[std::size_t(I)] =
      FArray->ElementType == varVariant ? Value : Value.ConvertedTo(FArray->ElementType);
}

Variant VarArrayCreate(int Low, int High, TVarType ElementType) {
  if (ElementType != varVariant && (!IsSupportedScalar(ElementType) || ElementType == varNull))
    throw EVariantBadVarTypeError("Invalid variant type");
  const Int64 Count = Int64(High) - Low + 1;
  if (Count < 0 || Count > VarArrayMaxElements)
    throw EVariantArrayCreateError("Error creating variant or safe array");
  Variant V;
  V.FType = TVarType(varArray | ElementType);
  V.FArray = std::make_unique<Variant::TArray>();
  V.FArray->Low = Low;
  V.FArray->ElementType = ElementType;
  const Variant Zero = ElementType == varVariant ? Variant() : Variant().ConvertedTo(ElementType);
  V.FArray->Items.assign(std::size_t(Count), Zero);
  return V;
}

Variant VarArrayOf(std::initializer_list<Variant> Values) {
  Variant V = VarArrayCreate(0, int(Values.size()) - 1, varVariant);
  int I = 0;
  for (const Variant& X : Values) V.PutElement(I++, X);
  return V;
}

int VarArrayDimCount(const Variant& V) { return VarIsArray(V) ? 1 : 0; }

int VarArrayLowBound(const Variant& V, int Dim) {
  if (!V.FArray) InvalidOp();
  if (Dim != 1) throw EVariantInvalidArgError("Invalid argument");
  return V.FArray->Low;
}

int VarArrayHighBound(const Variant& V, int Dim) {
  if (!V.FArray) InvalidOp();
  if (Dim != 1) throw EVariantInvalidArgError("Invalid argument");
  return int(Int64(V.FArray->Low) + Int64(V.FArray->Items.size()) - 1);
}

Variant VarArrayGet(const Variant& A, int Index) { return A.GetElement(Index); }
void VarArrayPut(Variant& A, const Variant& Value, int Index) { A.PutElement(Index, Value); }

// ---- Queries ----

TVarType VarType(const Variant& V) { return V.VType(); }
bool VarIsEmpty(const Variant& V) { return V.VType() == varEmpty; }
bool VarIsNull(const Variant& V) { return V.VType() == varNull; }
bool VarIsArray(const Variant& V) { return (V.VType() & varArray) != 0; }
bool VarIsStr(const Variant& V) { return IsStringType(V.VType()); }
bool VarIsNumeric(const Variant& V) { return IsIntegral(V.VType()) || VarIsFloat(V); }
bool VarIsOrdinal(const Variant& V) { return IsIntegral(V.VType()) || V.VType() == varBoolean; }
bool VarIsFloat(const Variant& V) {
  return V.VType() == varSingle || V.VType() == varDouble || V.VType() == varCurrency;
}
bool VarIsType(const Variant& V, TVarType Type) { return V.VType() == Type; }

AnsiString VarTypeAsText(TVarType Type) {
  static const char* const Names[] = {"Empty",   "Null",    "Smallint", "Integer",  "Single",
                                      "Double",  "Currency", "Date",    "OleStr",   "Dispatch",
                                      "Error",   "Boolean", "Variant",  "Unknown",  "Decimal",
                                      "$000F",   "ShortInt", "Byte",    "Word",     "LongWord",
                                      "Int64"};
  const TVarType Base = Type & varTypeMask;
  AnsiString Name;
  if (Base < std::size(Names)) Name = Names[Base];
  else if (Base == varString) Name = "String";
  else {
    char Buf[8];
    std::snprintf(Buf, sizeof Buf, "$%.4X", unsigned(Base));
    Name = Buf;
  }
  if (Type & varArray) Name = "Array " + Name;
  if (Type & varByRef) Name = "ByRef " + Name;
  return Name;
}

AnsiString VarToStr(const Variant& V) { return VarIsNull(V) ? AnsiString() : V.AsString(); }
AnsiString VarToStrDef(const Variant& V, const AnsiString& Default) {
  return VarIsNull(V) ? Default : V.AsString();
}
WideString VarToWideStr(const Variant& V) { return VarIsNull(V) ? WideString() : V.AsWideString(); }
TDateTime VarToDateTime(const Variant& V) { return V.AsDateTime(); }

Variant VarAsType(const Variant& V, TVarType Type) {
  if (Type & ~varTypeMask) throw EVariantBadVarTypeError("Invalid variant type");
  return V.ConvertedTo(Type);
}

// ---- Comparison ----

namespace {

template <class T> TVariantRelationship Order(T A, T B) {
  return A < B ? vrLessThan : (B < A ? vrGreaterThan : vrEqual);
}

// The kind a mixed comparison is carried out in.
enum class TCmpKind { Integer, Float, Currency, Date, Boolean, String, WideString };

TCmpKind KindOf(TVarType T) {
  if (IsIntegral(T)) return TCmpKind::Integer;
  switch (T) {
    case varSingle: case varDouble: return TCmpKind::Float;
    case varCurrency: return TCmpKind::Currency;
    case varDate: return TCmpKind::Date;
    case varBoolean: return TCmpKind::Boolean;
    case varOleStr: return TCmpKind::WideString;
    default: return TCmpKind::String;
  }
}

}  // namespace

TVariantRelationship VarCompareValue(const Variant& A, const Variant& B) {
  if (VarIsArray(A) || VarIsArray(B)) InvalidOp();
  const TVarType TA = A.VType(), TB = B.VType();
  if (TA == varNull || TB == varNull) {
    if (TA == TB) return vrEqual;
    return TA == varNull ? vrLessThan : vrGreaterThan;
  }
  if (TA == varEmpty && TB == varEmpty) return vrEqual;
  // Empty takes the other side's kind: 0, False or ''.
  const TCmpKind KA = TA == varEmpty ? KindOf(TB) : KindOf(TA);
  const TCmpKind KB = TB == varEmpty ? KindOf(TA) : KindOf(TB);
  const bool StrA = KA == TCmpKind::String || KA == TCmpKind::WideString;
  const bool StrB = KB == TCmpKind::String || KB == TCmpKind::WideString;
  if (StrA && StrB) {
    if (KA == TCmpKind::WideString || KB == TCmpKind::WideString)
      return Order(A.AsWideString(), B.AsWideString());
    return Order(A.AsString(), B.AsString());
  }
  if (StrA || StrB) {
    // The string is read as the other side's kind.
    switch (StrA ? KB : KA) {
      case TCmpKind::Boolean: return Order(A.AsBoolean() ? -1 : 0, B.AsBoolean() ? -1 : 0);
      case TCmpKind::Date: return Order(A.AsDateTime(), B.AsDateTime());
      case TCmpKind::Currency: return Order(A.AsCurrency().Scaled, B.AsCurrency().Scaled);
      default: return Order(A.AsDouble(), B.AsDouble());
    }
  }
  if (KA == TCmpKind::Date || KB == TCmpKind::Date) return Order(A.AsDateTime(), B.AsDateTime());
  const bool IntA = KA == TCmpKind::Integer || KA == TCmpKind::Boolean;
  const bool IntB = KB == TCmpKind::Integer || KB == TCmpKind::Boolean;
  if (IntA && IntB) return Order(A.AsInt64(), B.AsInt64());
  if (KA == TCmpKind::Currency && KB == TCmpKind::Currency)
    return Order(A.AsCurrency().Scaled, B.AsCurrency().Scaled);
  return Order(A.AsDouble(), B.AsDouble());
}

bool operator==(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrEqual; }
bool operator!=(const Variant& A, const Variant& B) { return VarCompareValue(A, B) != vrEqual; }
bool operator<(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrLessThan; }
bool operator<=(const Variant& A, const Variant& B) { return VarCompareValue(A, B) != vrGreaterThan; }
bool operator>(const Variant& A, const Variant& B) { return VarCompareValue(A, B) == vrGreaterThan; }
bool operator>=(const Variant& A, const Variant& B) { return VarCompareValue(A, B) != vrLessThan; }

std::ostream& operator<<(std::ostream& S, const Variant& V) {
  S << "Variant{" << VarTypeAsText(V.VType());
  if (!VarIsArray(V) && !VarIsNull(V) && !VarIsEmpty(V)) S << " " << V.AsString();
  return S << "}";
}
