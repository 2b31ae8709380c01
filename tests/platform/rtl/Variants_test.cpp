#include "platform/rtl/Variants.h"

#include <gtest/gtest.h>

TEST(Variant, EachConstructorGivesItsType) {
  struct TCase { Variant V; TVarType Want; const char* Name; };
  const TCase Cases[] = {
      {Variant(), varEmpty, "Empty"},
      {Null(), varNull, "Null"},
      {Variant(true), varBoolean, "Boolean"},
      {Variant(ShortInt(-3)), varShortInt, "ShortInt"},
      {Variant(Byte(3)), varByte, "Byte"},
      {Variant(SmallInt(3)), varSmallint, "Smallint"},
      {Variant(Word(3)), varWord, "Word"},
      {Variant(3), varInteger, "Integer"},
      {Variant(3u), varLongWord, "LongWord"},
      {Variant(Int64(3)), varInt64, "Int64"},
      {Variant(1.5f), varSingle, "Single"},
      {Variant(1.5), varDouble, "Double"},
      {Variant(Currency{15000}), varCurrency, "Currency"},
      {Variant::FromDate(1.5), varDate, "Date"},
      {Variant("abc"), varString, "String"},
      {Variant(u"abc"), varOleStr, "OleStr"},
      {VarArrayOf({1, "x"}), varArray | varVariant, "Array Variant"},
      {VarArrayCreate(0, 2, varInteger), varArray | varInteger, "Array Integer"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(VarType(C.V), C.Want);
    EXPECT_EQ(VarTypeAsText(VarType(C.V)), C.Name);
  }
}

TEST(VarToStr, WritesEachTypeAsTheClassLibraryDoes) {
  struct TCase { Variant V; const char* Want; };
  const TCase Cases[] = {
      {Variant(), ""},
      {Null(), ""},
      {Variant(true), "True"},
      {Variant(false), "False"},
      {Variant(-42), "-42"},
      {Variant(Int64(-9223372036854775807LL - 1)), "-9223372036854775808"},
      {Variant(4294967295u), "4294967295"},
      {Variant(1.5), "1.5"},
      {Variant(0.1), "0.1"},
      {Variant(1.0 / 3), "0.333333333333333"},
      {Variant(123456789012345.0), "123456789012345"},
      {Variant(1e15), "1E15"},
      {Variant(-2.5e-7), "-2.5E-7"},
      {Variant(0.0001), "0.0001"},
      {Variant(100.0), "100"},
      {Variant(0.1f), "0.100000001490116"},  // the single's exact value, 15 digits
      {Variant(Currency{12345678}), "1234.5678"},
      {Variant(Currency{-15000}), "-1.5"},
      {Variant(Currency{20000}), "2"},
      {Variant::FromDate(EncodeDate(2004, 2, 5) + EncodeTime(13, 4, 9, 0)), "2/5/2004 1:04:09 PM"},
      {Variant::FromDate(EncodeDate(2004, 2, 5)), "2/5/2004"},
      {Variant(u"caf\u00e9"), "caf\xe9"},  // through the ANSI code page
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Want);
    EXPECT_EQ(VarToStr(C.V), C.Want);
  }
  EXPECT_EQ(VarToStrDef(Null(), "n/a"), "n/a");
  EXPECT_EQ(VarToWideStr(Variant("caf\xe9")), u"caf\u00e9");
}

TEST(Variant, NumbersConvertWithRoundingAndRangeChecks) {
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);  // halves to even
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(Currency{25000}).AsInteger(), 2);
  EXPECT_EQ(Variant(true).AsInteger(), -1);
  EXPECT_EQ(Variant().AsInteger(), 0);
  EXPECT_EQ(Variant(" 42 ").AsInteger(), 42);
  EXPECT_EQ(Variant("$1F").AsInteger(), 31);
  EXPECT_EQ(Variant("3.5").AsInteger(), 4);
  EXPECT_EQ(Variant("1.25").AsDouble(), 1.25);
  EXPECT_EQ(Variant("-1e3").AsDouble(), -1000);
  EXPECT_EQ(Variant(7).AsDouble(), 7);
  EXPECT_EQ(Variant(1.23456).AsCurrency().Scaled, 12346);
  EXPECT_EQ(Variant(Int64(1) << 40).AsInt64(), Int64(1) << 40);
  EXPECT_EQ(VarToDateTime(Variant(36000)), 36000);
  EXPECT_THROW(Variant(Int64(1) << 40).AsInteger(), EVariantOverflowError);
  EXPECT_THROW(Variant(3e9).AsInteger(), EVariantOverflowError);
  EXPECT_THROW(Variant(1e300).AsInt64(), EVariantOverflowError);
  EXPECT_THROW(Variant(1e300).AsCurrency(), EVariantOverflowError);
  EXPECT_THROW(VarAsType(Variant(300), varByte), EVariantOverflowError);
  EXPECT_THROW(VarAsType(Variant(-1), varWord), EVariantOverflowError);
  EXPECT_THROW(VarAsType(Variant(1e39), varSingle), EVariantOverflowError);
  try {
    Variant(3e9).AsInteger();
  } catch (const EVariantOverflowError& E) {
    EXPECT_EQ(E.Message(), "Overflow while converting variant of type (Double) into type (Integer)");
  }
}

TEST(Variant, BooleansAndDatesReadFromText) {
  EXPECT_TRUE(Variant("TRUE").AsBoolean());
  EXPECT_FALSE(Variant("false").AsBoolean());
  EXPECT_TRUE(Variant("2").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_TRUE(Variant(0.5).AsBoolean());
  EXPECT_FALSE(Variant().AsBoolean());
  EXPECT_DOUBLE_EQ(Variant("2/5/2004 1:04 PM").AsDateTime(), EncodeDate(2004, 2, 5) + EncodeTime(13, 4, 0, 0));
  const Variant D = VarAsType(Variant("2/5/2004"), varDate);
  EXPECT_EQ(VarType(D), varDate);
  EXPECT_EQ(D.AsDouble(), EncodeDate(2004, 2, 5));
}

TEST(Variant, WhatDoesNotConvertRaisesTheCastError) {
  struct TCase { Variant V; TVarType Target; const char* Message; };
  const TCase Cases[] = {
      {Variant("abc"), varDouble, "Could not convert variant of type (String) into type (Double)"},
      {Variant("abc"), varInteger, "Could not convert variant of type (String) into type (Integer)"},
      {Variant("1,5"), varDouble, "Could not convert variant of type (String) into type (Double)"},
      {Variant(""), varInteger, "Could not convert variant of type (String) into type (Integer)"},
      {Variant("yes"), varBoolean, "Could not convert variant of type (String) into type (Boolean)"},
      {Variant("soon"), varDate, "Could not convert variant of type (String) into type (Date)"},
      {Variant(u"x"), varCurrency, "Could not convert variant of type (OleStr) into type (Currency)"},
      {Null(), varInteger, "Could not convert variant of type (Null) into type (Integer)"},
      {Null(), varString, "Could not convert variant of type (Null) into type (String)"},
      {Null(), varDouble, "Could not convert variant of type (Null) into type (Double)"},
      {Null(), varBoolean, "Could not convert variant of type (Null) into type (Boolean)"},
      {Null(), varDate, "Could not convert variant of type (Null) into type (Date)"},
      {VarArrayOf({1}), varString, "Could not convert variant of type (Array Variant) into type (String)"},
      {VarArrayOf({1}), varInteger, "Could not convert variant of type (Array Variant) into type (Integer)"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Message);
    try {
      VarAsType(C.V, C.Target);
      ADD_FAILURE() << "no exception";
    } catch (const EVariantTypeCastError& E) {
      EXPECT_EQ(E.Message(), C.Message);
      EXPECT_NE(dynamic_cast<const EVariantError*>(&E), nullptr);
    }
  }
  EXPECT_THROW(VarAsType(Variant(1), varDispatch), EVariantBadVarTypeError);
}

TEST(VarAsType, EmptyBecomesZeroAndNullStaysNull) {
  EXPECT_EQ(VarType(VarAsType(Variant(), varInteger)), varInteger);
  EXPECT_EQ(VarAsType(Variant(), varString).AsString(), "");
  EXPECT_TRUE(VarIsNull(VarAsType(Null(), varNull)));
  EXPECT_TRUE(VarIsEmpty(VarAsType(Variant(5), varEmpty)));
  EXPECT_EQ(VarType(VarAsType(Variant(5), varOleStr)), varOleStr);
  EXPECT_EQ(VarAsType(Variant(5), varOleStr).AsWideString(), u"5");
}

TEST(Variant, TypeTests) {
  EXPECT_TRUE(VarIsNumeric(Variant(1.5)));
  EXPECT_TRUE(VarIsNumeric(Variant(Currency{})));
  EXPECT_FALSE(VarIsNumeric(Variant::FromDate(1)));
  EXPECT_FALSE(VarIsNumeric(Variant(true)));
  EXPECT_TRUE(VarIsOrdinal(Variant(true)));
  EXPECT_FALSE(VarIsOrdinal(Variant(1.0)));
  EXPECT_TRUE(VarIsStr(Variant(u"")));
  EXPECT_TRUE(VarIsFloat(Variant(1.5f)));
  EXPECT_TRUE(VarIsType(Variant(1), varInteger));
  EXPECT_FALSE(VarIsArray(Variant(1)));
  EXPECT_TRUE(VarIsEmpty(Unassigned()));
}

TEST(VarCompareValue, FollowsTheMixedTypeRules) {
  struct TCase { Variant A, B; TVariantRelationship Want; const char* Why; };
  const TCase Cases[] = {
      {Null(), Null(), vrEqual, "Null equals Null"},
      {Null(), Variant(0), vrLessThan, "Null lies below everything"},
      {Variant(-100), Null(), vrGreaterThan, "from either side"},
      {Null(), Variant(), vrLessThan, "below Empty too"},
      {Variant(), Variant(), vrEqual, "Unassigned equals Unassigned"},
      {Variant(), Variant(0), vrEqual, "Empty reads as 0"},
      {Variant(), Variant(""), vrEqual, "Empty reads as ''"},
      {Variant(), Variant("a"), vrLessThan, "'' sorts first"},
      {Variant(1), Variant(1.0), vrEqual, "integer and double"},
      {Variant(1), Variant(1.5), vrLessThan, "no rounding when comparing"},
      {Variant(Int64(9007199254740993LL)), Variant(Int64(9007199254740992LL)), vrGreaterThan,
       "integers compare exactly"},
      {Variant("10"), Variant(9), vrGreaterThan, "string read as number, not compared as text"},
      {Variant("10"), Variant("9"), vrLessThan, "two strings compare as text"},
      {Variant("a"), Variant("A"), vrGreaterThan, "case counts"},
      {Variant("abc"), Variant(u"abc"), vrEqual, "ANSI and wide strings"},
      {Variant(true), Variant(-1), vrEqual, "True is -1"},
      {Variant(true), Variant("true"), vrEqual, "string read as Boolean"},
      {Variant(Currency{15000}), Variant(1.5), vrEqual, "currency and double"},
      {Variant::FromDate(38022), Variant(38022), vrEqual, "date and number"},
      {Variant::FromDate(EncodeDate(2004, 2, 5)), Variant("2/5/2004"), vrEqual, "string read as date"},
      {Variant::FromDate(EncodeDate(2004, 2, 5)), Variant("2/6/2004"), vrLessThan, "date order"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    EXPECT_EQ(VarCompareValue(C.A, C.B), C.Want);
  }
  EXPECT_TRUE(Variant(2) == Variant("2"));
  EXPECT_TRUE(Variant(1) != Null());
  EXPECT_TRUE(Variant(1) < Variant(2));
  EXPECT_TRUE(Variant(2) <= Variant(2.0));
  EXPECT_TRUE(Variant("b") > Variant("a"));
  EXPECT_TRUE(Variant(3) >= Variant());
}

TEST(VarCompareValue, RaisesForStringsThatDoNotReadAndForArrays) {
  EXPECT_THROW(VarCompareValue(Variant("abc"), Variant(5)), EVariantTypeCastError);
  EXPECT_THROW(VarCompareValue(Variant(true), Variant("maybe")), EVariantTypeCastError);
  EXPECT_THROW(VarCompareValue(VarArrayOf({1}), VarArrayOf({1})), EVariantInvalidOpError);
  EXPECT_THROW((void)(VarArrayOf({1}) == Variant(1)), EVariantInvalidOpError);
}

TEST(VarArray, BoundsElementsAndValueSemantics) {
  Variant A = VarArrayCreate(-1, 1, varInteger);
  EXPECT_EQ(VarArrayDimCount(A), 1);
  EXPECT_EQ(VarArrayLowBound(A, 1), -1);
  EXPECT_EQ(VarArrayHighBound(A, 1), 1);
  EXPECT_EQ(VarType(VarArrayGet(A, 0)), varInteger);  // typed arrays start at zero
  VarArrayPut(A, Variant("7"), 1);                    // and convert what they store
  EXPECT_EQ(VarType(VarArrayGet(A, 1)), varInteger);
  EXPECT_EQ(VarArrayGet(A, 1).AsInteger(), 7);
  EXPECT_THROW(VarArrayPut(A, Variant("x"), 0), EVariantTypeCastError);
  EXPECT_THROW(VarArrayGet(A, 2), EVariantBadIndexError);
  EXPECT_THROW(VarArrayGet(A, -2), EVariantBadIndexError);
  EXPECT_THROW(VarArrayHighBound(A, 2), EVariantInvalidArgError);
  EXPECT_THROW(VarArrayLowBound(Variant(1), 1), EVariantInvalidOpError);
  EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);

  Variant B = A;  // a copy owns its own elements
  VarArrayPut(B, Variant(9), 1);
  EXPECT_EQ(VarArrayGet(A, 1).AsInteger(), 7);
  EXPECT_EQ(VarArrayGet(B, 1).AsInteger(), 9);

  const Variant V = VarArrayOf({Variant(1), Variant("two"), Null(), VarArrayOf({3})});
  EXPECT_EQ(VarArrayLowBound(V, 1), 0);
  EXPECT_EQ(VarArrayHighBound(V, 1), 3);
  EXPECT_EQ(VarType(VarArrayGet(V, 1)), varString);
  EXPECT_TRUE(VarIsNull(VarArrayGet(V, 2)));
  EXPECT_TRUE(VarIsArray(VarArrayGet(V, 3)));
  EXPECT_TRUE(VarIsEmpty(VarArrayGet(VarArrayCreate(0, 0, varVariant), 0)));
}

TEST(VarArrayCreate, EmptyIsAllowedButNegativeOrHugeCountsAreRefused) {
  const Variant E = VarArrayCreate(0, -1, varVariant);
  EXPECT_EQ(VarArrayHighBound(E, 1), -1);
  EXPECT_EQ(VarArrayHighBound(VarArrayOf({}), 1), -1);
  EXPECT_THROW(VarArrayCreate(0, -2, varVariant), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate(0, 0x7FFFFFFF, varVariant), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate(-0x7FFFFFFF - 1, 0x7FFFFFFF, varByte), EVariantArrayCreateError);
  EXPECT_THROW(VarArrayCreate(0, 1, varNull), EVariantBadVarTypeError);
  EXPECT_THROW(VarArrayCreate(0, 1, varDispatch), EVariantBadVarTypeError);
}
