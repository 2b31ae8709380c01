#include "platform/rtl/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

namespace {

// Every test runs on the US defaults, whatever an earlier one did.
class FormatTest : public testing::Test {
protected:
  TFormatSettingsOverride FUs{DefaultFormatSettings()};
};

TFormatSettings German() {
  TFormatSettings S = DefaultFormatSettings();
  S.DecimalSeparator = ',';
  S.ThousandSeparator = '.';
  S.CurrencyString = "EUR";
  S.CurrencyFormat = 3;
  S.NegCurrFormat = 8;
  return S;
}

struct TFormatCase {
  const char* Fmt;
  std::initializer_list<TVarRec> Args;
  const char* Want;
};

TEST_F(FormatTest, FormatsEachSpecifier) {
  const TFormatCase Cases[] = {
      {"%d", {42}, "42"},
      {"[%5d]", {42}, "[   42]"},
      {"[%-5d]", {42}, "[42   ]"},
      {"%.3d", {-5}, "-005"},
      {"%d", {Int64(-9223372036854775807LL - 1)}, "-9223372036854775808"},
      {"%u", {-1}, "4294967295"},
      {"%x", {255}, "FF"},
      {"%.4x", {255}, "00FF"},
      {"%x", {-1}, "FFFFFFFF"},
      {"%x", {Int64(-1)}, "FFFFFFFFFFFFFFFF"},
      {"%s", {"abc"}, "abc"},
      {"%.2s", {"abc"}, "ab"},
      {"[%4s][%-4s]", {"ab", "cd"}, "[  ab][cd  ]"},
      {"%s%s", {'x', AnsiString("y")}, "xy"},
      {"%S", {"upper-case type letters work"}, "upper-case type letters work"},
      {"%1:s %0:s", {"a", "b"}, "b a"},
      {"%1:s %s", {"a", "b", "c"}, "b c"},
      {"[%*d]", {5, 42}, "[   42]"},
      {"[%-*.*f]", {8, 1, 3.14159}, "[3.1     ]"},
      {"100%% %d%%", {5}, "100% 5%"},
      {"%f", {1.0}, "1.00"},
      {"%.3f", {2.0 / 3}, "0.667"},
      {"%.0f", {2.5}, "3"},
      {"%.2f", {0.125}, "0.13"},
      {"%.2f", {-0.001}, "0.00"},
      {"%.2f", {2.675}, "2.67"},  // just below the tie in binary
      {"%e", {1234.5}, "1.23450000000000E+003"},
      {"%.3e", {-0.0012345}, "-1.23E-003"},
      {"%g", {0.5}, "0.5"},
      {"%.3g", {1234.5}, "1.23E003"},
      {"%n", {1234567.891}, "1,234,567.89"},
      {"%.0n", {999.5}, "1,000"},
      {"%m", {1234.5}, "$1,234.50"},
      {"%m", {-1234.5}, "($1,234.50)"},
      {"%p", {reinterpret_cast<const void*>(0x1234)}, "00001234"},
      {"f%d\\fcharset%d %s;", {0, 204, "Arial"}, "f0\\fcharset204 Arial;"},
      {"%d x %d %s", {640, 480, "pixels"}, "640 x 480 pixels"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Fmt);
    EXPECT_EQ(Format(C.Fmt, C.Args), C.Want);
  }
}

TEST_F(FormatTest, RefusesMismatchedOrMissingArguments) {
  const TFormatCase Invalid[] = {
      {"%d", {1.5}, ""},   {"%f", {1}, ""},      {"%s", {1}, ""},  {"%d", {"1"}, ""},
      {"%p", {1}, ""},     {"%z", {1}, ""},      {"abc%", {}, ""}, {"%5", {1}, ""},
      {"%*d", {"x", 1}, ""},
  };
  for (const auto& C : Invalid) {
    SCOPED_TRACE(C.Fmt);
    try {
      Format(C.Fmt, C.Args);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), AnsiString("Format '") + C.Fmt + "' invalid or incompatible with argument");
    }
  }
  try {
    Format("%d and %d", {1});
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "No argument for format '%d and %d'");
  }
  EXPECT_THROW(Format("%2:d", {1}), EConvertError);
}

TEST_F(FormatTest, FloatToStrUsesFifteenSignificantDigits) {
  struct {
    double Value;
    const char* Want;
  } const Cases[] = {
      {0, "0"},
      {1, "1"},
      {-1.5, "-1.5"},
      {0.1, "0.1"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {1e100, "1E100"},
      {0.0001, "0.0001"},
      {0.00001, "1E-5"},
      {-1.5e-7, "-1.5E-7"},
      {1234567.125, "1234567.125"},
      {std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    EXPECT_EQ(FloatToStr(C.Value), C.Want);
  }
}

TEST_F(FormatTest, FloatToStrFHonoursEachFormat) {
  struct {
    double Value;
    TFloatFormat Fmt;
    int Precision, Digits;
    const char* Want;
  } const Cases[] = {
      {1234.5, ffFixed, 15, 2, "1234.50"},
      {1234.5, ffNumber, 15, 2, "1,234.50"},
      {1234.5, ffCurrency, 15, 2, "$1,234.50"},
      {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
      {1234.5, ffExponent, 4, 2, "1.235E+03"},
      {0.0, ffExponent, 3, 0, "0.00E+0"},
      {1.23456789, ffFixed, 3, 5, "1.23000"},  // precision caps the significant digits
      {999.999, ffFixed, 15, 2, "1000.00"},
      {0.005, ffFixed, 15, 2, "0.01"},
      {0.004, ffFixed, 15, 2, "0.00"},
      {1e20, ffFixed, 15, 2, "1.00000000000000E+20"},  // too many integer digits
      {12.5, ffGeneral, 2, 0, "13"},
      {12345, ffGeneral, 3, 0, "1.23E4"},
      {0.00001, ffGeneral, 15, 2, "1E-05"},
      {7, ffFixed, 15, 0, "7"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Want);
    EXPECT_EQ(FloatToStrF(C.Value, C.Fmt, C.Precision, C.Digits), C.Want);
  }
}

TEST_F(FormatTest, FormatFloatFollowsThePicture) {
  struct {
    const char* Fmt;
    double Value;
    const char* Want;
  } const Cases[] = {
      {"0.00", 3.14159, "3.14"},
      {"#,##0.00", 1234567.891, "1,234,567.89"},
      {"#,##0", 999.5, "1,000"},
      {"00000", 42, "00042"},
      {"#.##", 0, ""},
      {"0", -0.4, "0"},  // no minus on what rounds to zero
      {"########0.#", 25.4, "25.4"},
      {"########0.#", 2.35, "2.4"},
      {"########0.##", 2.0, "2"},
      {"0.0;(0.0);zero", -1.25, "(1.3)"},
      {"0.0;(0.0);zero", 0.01, "zero"},
      {"0.0;(0.0);zero", 5, "5.0"},
      {"#,##0.00;-#,##0.00", -1234.5, "-1,234.50"},
      {"0.00", -2.5, "-2.50"},
      {"0.00E+00", 1234.5, "1.23E+03"},
      {"0.0E-0", 0.000123, "1.2E-4"},
      {"00.0E+0", 1234.5, "12.3E+2"},
      {"\"$\"#,##0.00", 1234.5, "$1,234.50"},
      {"0.0 'kg'", 2.25, "2.3 kg"},
      {"00-00", 1234, "12-34"},
      {".00", 12.5, "12.50"},
      {"", 1.5, "1.5"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Fmt << " / " << C.Value);
    EXPECT_EQ(FormatFloat(C.Fmt, C.Value), C.Want);
  }
}

TEST_F(FormatTest, StrToFloatAcceptsOnlyTheLocaleSyntax) {
  struct {
    const char* S;
    double Want;
  } const Good[] = {
      {"1.5", 1.5}, {"  -1.5e3  ", -1500}, {"+.5", 0.5}, {"5.", 5}, {"1E-2", 0.01}, {"007", 7}, {"1e-400", 0},
  };
  for (const auto& C : Good) {
    SCOPED_TRACE(C.S);
    EXPECT_DOUBLE_EQ(StrToFloat(C.S), C.Want);
  }
  const char* Bad[] = {"", " ", ".", "-", "e5", "1e", "1e+", "1.5.3", "1,5", "1,000", "0x10", "inf", "nan", "1.5f", "1e400", "\t1"};
  for (const char* S : Bad) {
    SCOPED_TRACE(S);
    double V = 99;
    EXPECT_FALSE(TryStrToFloat(S, V));
    EXPECT_EQ(V, 99);
    EXPECT_EQ(StrToFloatDef(S, -1), -1);
  }
  try {
    StrToFloat("1.2.3");
    FAIL();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), "'1.2.3' is not a valid floating point value");
  }
  EXPECT_DOUBLE_EQ(StrToCurr("1.23456"), 1.2346);
  EXPECT_THROW(StrToCurr("1e15"), EConvertError);
}

TEST_F(FormatTest, EveryRoutineReadsTheLiveLocale) {
  TFormatSettingsOverride O(German());
  EXPECT_EQ(FloatToStr(1.5), "1,5");
  EXPECT_EQ(FloatToStrF(1234.5, ffNumber, 15, 2), "1.234,50");
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2), "1.234,50 EUR");
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2), "-1.234,50 EUR");
  EXPECT_EQ(Format("%.1f", {2.25}), "2,3");
  EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
  EXPECT_DOUBLE_EQ(StrToFloat("1,5"), 1.5);
  double V = 0;
  EXPECT_FALSE(TryStrToFloat("1.5", V));
}

TEST_F(FormatTest, FloatTextRoundTripsAtFifteenDigits) {
  for (double V : {0.1, 1.0 / 3, 123.456, -9.87654321e-12, 6.02214076e23, 1e-300}) {
    SCOPED_TRACE(V);
    const double Back = StrToFloat(FloatToStr(V));
    EXPECT_NEAR(Back, V, std::fabs(V) * 1e-14);
  }
}

}  // namespace
