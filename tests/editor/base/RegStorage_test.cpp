#include "editor/base/RegStorage.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "TestOptions.h"

namespace {

struct TBackslashCase {
  const char* In;
  const char* WantAdded;
  const char* WantRemoved;
};

TEST(AddBackslash, AddsOneWhereMissingAndRemoveBackslashTakesOneAway) {
  const TBackslashCase Cases[] = {
      {"", "", ""},
      {"Key", "Key\\", "Key"},
      {"Key\\", "Key\\", "Key"},
      {"Key\\\\", "Key\\\\", "Key\\"},
      {"\\", "\\", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.In);
    EXPECT_EQ(AddBackslash(C.In), C.WantAdded);
    EXPECT_EQ(RemoveBackslash(C.In), C.WantRemoved);
  }
}

struct TVariantCase {
  Variant Value;
  TRegDataType Stored;
  TVarType ReadBack;
  const char* Why;
};

TEST_F(RegistryTest, VariantsAreStoredByTheirType) {
  const TVariantCase Cases[] = {
      {Variant(Integer(-7)), rdInteger, varInteger, "integer"},
      {Variant(Byte(200)), rdInteger, varInteger, "byte"},
      {Variant(2.5), rdBinary, varDouble, "double"},
      {Variant(DoubleToCurrency(12.3456)), rdBinary, varCurrency, "currency"},
      {Variant::FromDate(45000.25), rdBinary, varDate, "date"},
      {Variant("text"), rdString, varString, "string"},
      {Variant(u"wide"), rdString, varString, "wide string"},
      {Variant(true), rdInteger, varBoolean, "boolean as 1"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Why);
    WriteToRegistry("Vals\\V", C.Value);
    TRegistry R;
    ASSERT_TRUE(Open(R, "Vals"));
    EXPECT_EQ(R.GetDataType("V"), C.Stored);
    if (C.Stored == rdBinary) {
      EXPECT_EQ(R.GetDataSize("V"), 8);
    }
    R.CloseKey();
    // The default's type decides how the value is read.
    const Variant Got = ReadFromRegistry("Vals\\V", VarAsType(C.Value, VarType(C.Value) == varOleStr ? varString : VarType(C.Value)));
    EXPECT_EQ(VarType(Got), C.ReadBack);
    EXPECT_EQ(VarToStr(Got), VarToStr(C.Value));
  }
}

TEST_F(RegistryTest, UnsupportedVariantTypesRaiseTheLibraryMessage) {
  try {
    WriteToRegistry("Vals\\V", Null());
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "This type isn't supported by WriteToRegistry");
  }
  WriteToRegistry("Vals\\V", Variant(1));
  try {
    ReadFromRegistry("Vals\\V", Variant(Int64(1)));
    FAIL();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), "This type isn't supported by WriteToRegistry($0014)");
  }
  // The key was closed after the failure: another access works.
  EXPECT_EQ(ReadFromRegistry("Vals\\V", Variant(0)).AsInteger(), 1);
}

TEST_F(RegistryTest, MissingOrEmptyPathsKeepTheDefaultAndCreateNothing) {
  WriteToRegistry("", Variant(5));
  EXPECT_EQ(ReadFromRegistry("", Variant(9)).AsInteger(), 9);
  EXPECT_EQ(ReadFromRegistry("Nowhere\\X", Variant(9)).AsInteger(), 9);
  TRegistry R;
  EXPECT_FALSE(Open(R, "Nowhere"));
  EXPECT_EQ(GetRegistryDataSize("Nowhere\\X"), -1);
}

TEST_F(RegistryTest, WrongStoredTypeRaisesFromTheVariantRead) {
  WriteToRegistry("Vals\\V", Variant("abc"));
  EXPECT_THROW(ReadFromRegistry("Vals\\V", Variant(0)), ERegistryException);
}

std::vector<Byte> Pattern(std::size_t N) {
  std::vector<Byte> B(N);
  for (std::size_t I = 0; I < N; ++I) B[I] = Byte(I * 7 + I / 251);
  return B;
}

TEST_F(RegistryTest, LongValueIsChunkedOffNtAndOneValueOnNt) {
  const auto Data = Pattern(20000);
  SetEdPlatformId(VER_PLATFORM_WIN32_WINDOWS);
  WriteLongBinary("Long\\Img", Data.data(), Integer(Data.size()));
  {
    TRegistry R;
    ASSERT_TRUE(Open(R, "Long"));
    char Header[36];
    ASSERT_EQ(R.ReadBinaryData("Img", Header, 36), 36);
    EXPECT_EQ(std::string(Header, 36), "__Long RegKey__0000020000 0000008192");
    EXPECT_EQ(R.GetDataSize("Img__0"), 8192);
    EXPECT_EQ(R.GetDataSize("Img__1"), 8192);
    EXPECT_EQ(R.GetDataSize("Img__2"), 3616);
  }
  EXPECT_EQ(GetLongBinarySize("Long\\Img"), 20000);
  std::vector<Byte> Back(20000);
  EXPECT_EQ(ReadLongBinary("Long\\Img", Back.data(), 20000), 20000);
  EXPECT_EQ(Back, Data);

  // On NT the header is ordinary data.
  SetEdPlatformId(VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(GetLongBinarySize("Long\\Img"), 36);
  WriteLongBinary("Long\\Img", Data.data(), Integer(Data.size()));
  TRegistry R;
  ASSERT_TRUE(Open(R, "Long"));
  EXPECT_EQ(R.GetDataSize("Img"), 20000);
  EXPECT_FALSE(R.ValueExists("Img__0")) << "chunks of the earlier value are gone";
}

TEST_F(RegistryTest, ShorterLongValueRemovesStaleChunks) {
  SetEdPlatformId(VER_PLATFORM_WIN32_WINDOWS);
  const auto Big = Pattern(20000), Small = Pattern(5000);
  WriteLongBinary("Long\\Img", Big.data(), Integer(Big.size()));
  WriteLongBinary("Long\\Img", Small.data(), Integer(Small.size()));
  TRegistry R;
  ASSERT_TRUE(Open(R, "Long"));
  EXPECT_TRUE(R.ValueExists("Img__0"));
  EXPECT_FALSE(R.ValueExists("Img__1"));
  EXPECT_FALSE(R.ValueExists("Img__2"));
  R.CloseKey();
  std::vector<Byte> Back(20000);
  EXPECT_EQ(ReadLongBinary("Long\\Img", Back.data(), 20000), 5000);
  EXPECT_TRUE(std::equal(Small.begin(), Small.end(), Back.begin()));
}

TEST_F(RegistryTest, RegistryStreamWritesBackOnlyWhatChanged) {
  {
    TRegistryStream S("Strm\\Missing", fmOpenRead);
    EXPECT_EQ(S.GetSize(), 0);
  }
  EXPECT_EQ(GetRegistryDataSize("Strm\\Missing"), -1) << "an unwritten stream on a missing value writes nothing";
  {
    TRegistryStream S("Strm\\V", fmCreate);
    S.Write("hello", 5);
    S.Commit();
  }
  TRegistryStream S("Strm\\V", fmOpenRead);
  EXPECT_EQ(S.ReadBytes(5), "hello");
}

}  // namespace
