// Variants.h — Variant, the class library's self-describing value, in the
// subset the editors and the settings code use: Empty (Unassigned), Null,
// the integer kinds, Single, Double, Currency, Date, Boolean, ANSI and wide
// strings, and one-dimensional arrays.
//
// A Variant is a value: copying it copies an array's elements too. Reading
// it as another type converts by the class library's rules (Round for
// fractions, "True"/"False" for Booleans, the locale for numbers and dates)
// and raises an EVariantError descendant with the library's text when the
// value does not convert. Null converts to nothing but a string through
// VarToStr, which gives ''.
#pragma once
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

using TVarType = Word;

constexpr TVarType varEmpty = 0x0000;
constexpr TVarType varNull = 0x0001;
constexpr TVarType varSmallint = 0x0002;
constexpr TVarType varInteger = 0x0003;
constexpr TVarType varSingle = 0x0004;
constexpr TVarType varDouble = 0x0005;
constexpr TVarType varCurrency = 0x0006;
constexpr TVarType varDate = 0x0007;
constexpr TVarType varOleStr = 0x0008;
constexpr TVarType varDispatch = 0x0009;
constexpr TVarType varError = 0x000A;
constexpr TVarType varBoolean = 0x000B;
constexpr TVarType varVariant = 0x000C;
constexpr TVarType varUnknown = 0x000D;
constexpr TVarType varDecimal = 0x000E;
constexpr TVarType varShortInt = 0x0010;
constexpr TVarType varByte = 0x0011;
constexpr TVarType varWord = 0x0012;
constexpr TVarType varLongWord = 0x0013;
constexpr TVarType varInt64 = 0x0014;
constexpr TVarType varString = 0x0100;
constexpr TVarType varTypeMask = 0x0FFF;
constexpr TVarType varArray = 0x2000;
constexpr TVarType varByRef = 0x4000;

// "Could not convert variant of type (String) into type (Double)".
SX_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError);
// "Overflow while converting variant of type (Double) into type (Integer)".
SX_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError);
// "Invalid variant operation": comparing arrays, for instance.
SX_DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError);
// "Variant or safe array index out of bounds".
SX_DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError);
// "Invalid argument": e.g. a dimension other than 1.
SX_DECLARE_EXCEPTION(EVariantInvalidArgError, EVariantError);
// "Invalid variant type": an element type arrays cannot hold.
SX_DECLARE_EXCEPTION(EVariantBadVarTypeError, EVariantError);
// "Error creating variant or safe array": negative or oversized bounds.
SX_DECLARE_EXCEPTION(EVariantArrayCreateError, EVariantError);

// The class library's fixed-point money type: a 64-bit count of 1/10000.
struct Currency {
  Int64 Scaled = 0;
  static constexpr Currency FromScaled(Int64 V) { return Currency{V}; }
  friend constexpr bool operator==(Currency, Currency) = default;
};
// Nearest 1/10000, halves to even; EVariantOverflowError outside the range.
Currency DoubleToCurrency(double Value);

class Variant {
public:
  Variant();  // Unassigned
  Variant(bool Value);
  Variant(ShortInt Value);
  Variant(Byte Value);
  Variant(SmallInt Value);
  Variant(Word Value);
  Variant(Integer Value);
  Variant(LongWord Value);
  Variant(Int64 Value);
  Variant(float Value);
  Variant(double Value);
  Variant(Currency Value);
  Variant(const char* Value);
  Variant(AnsiString Value);
  Variant(WideString Value);
  Variant(const char16_t* Value);

  Variant(const Variant& Other);
  Variant(Variant&& Other) noexcept;
  Variant& operator=(const Variant& Other);
  Variant& operator=(Variant&& Other) noexcept;
  ~Variant();

  static Variant Null();
  static Variant FromDate(TDateTime Value);

  // The type code, with varArray set on arrays.
  TVarType VType() const { return FType; }

  // Conversions by the class library's rules; see the file comment.
  Integer AsInteger() const;
  Int64 AsInt64() const;
  double AsDouble() const;
  Currency AsCurrency() const;
  TDateTime AsDateTime() const;
  bool AsBoolean() const;
  AnsiString AsString() const;
  WideString AsWideString() const;

  // Elements of an array (EVariantBadIndexError outside its bounds).
  const Variant& GetElement(int Index) const;
  void PutElement(int Index, const Variant& Value);

private:
  struct TArray;
  Variant ConvertedTo(TVarType Target) const;
  [[noreturn]] void CastError(TVarType Target) const;

  TVarType FType = varEmpty;
  union {
    Int64 FInt;
    double FDouble;
    float FSingle;
    bool FBool;
  };
  AnsiString FStr;
  WideString FWide;
  std::unique_ptr<TArray> FArray;

  friend Variant VarArrayCreate(int, int, TVarType);
  friend Variant VarAsType(const Variant&, TVarType);
  friend int VarArrayLowBound(const Variant&, int);
  friend int VarArrayHighBound(const Variant&, int);
};

// Unassigned and Null, as the class library spells them.
inline Variant Unassigned() { return Variant(); }
inline Variant Null() { return Variant::Null(); }

TVarType VarType(const Variant& V);
bool VarIsEmpty(const Variant& V);
bool VarIsNull(const Variant& V);
bool VarIsArray(const Variant& V);
bool VarIsStr(const Variant& V);       // varString or varOleStr
bool VarIsNumeric(const Variant& V);   // integers, floats, Currency (not Date, not Boolean)
bool VarIsOrdinal(const Variant& V);   // integers and Boolean
bool VarIsFloat(const Variant& V);     // Single, Double, Currency
bool VarIsType(const Variant& V, TVarType Type);
// "Integer", "String", "Array Variant", …
AnsiString VarTypeAsText(TVarType Type);

// The value as a string; Null gives ''.
AnsiString VarToStr(const Variant& V);
AnsiString VarToStrDef(const Variant& V, const AnsiString& Default);  // Default for Null
WideString VarToWideStr(const Variant& V);
TDateTime VarToDateTime(const Variant& V);
// A copy converted to Type (a scalar type); Null and Empty convert only to themselves.
Variant VarAsType(const Variant& V, TVarType Type);

// A one-dimensional array with bounds Low..High whose elements start out
// Empty (varVariant) or as the element type's zero. High may be Low - 1 (no
// elements); fewer, or more than VarArrayMaxElements, raise
// EVariantArrayCreateError, so a corrupt count never allocates.
constexpr int VarArrayMaxElements = 1 << 24;
Variant VarArrayCreate(int Low, int High, TVarType ElementType);
// An array of Variants, bounds 0..n-1.
Variant VarArrayOf(std::initializer_list<Variant> Values);
int VarArrayDimCount(const Variant& V);
// Dim must be 1; EVariantInvalidArgError otherwise, EVariantInvalidOpError
// for a value that is no array.
int VarArrayLowBound(const Variant& V, int Dim);
int VarArrayHighBound(const Variant& V, int Dim);
Variant VarArrayGet(const Variant& A, int Index);
void VarArrayPut(Variant& A, const Variant& Value, int Index);

// The class library's comparison of two variants.
enum TVariantRelationship { vrEqual, vrLessThan, vrGreaterThan, vrNotEqual };
// Null equals Null and lies below every other value; Empty reads as 0 or ''
// against the other side; a string against a number, date or Boolean is
// converted to that kind first (EVariantTypeCastError when it does not
// read); strings compare case-sensitively. Arrays cannot be compared
// (EVariantInvalidOpError).
TVariantRelationship VarCompareValue(const Variant& A, const Variant& B);
bool operator==(const Variant& A, const Variant& B);
bool operator!=(const Variant& A, const Variant& B);
bool operator<(const Variant& A, const Variant& B);
bool operator<=(const Variant& A, const Variant& B);
bool operator>(const Variant& A, const Variant& B);
bool operator>=(const Variant& A, const Variant& B);

std::ostream& operator<<(std::ostream& S, const Variant& V);
