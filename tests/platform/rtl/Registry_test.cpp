#include "platform/rtl/Registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "support/TestFiles.h"

namespace {

// Points the store at a fresh folder for the test's duration.
class RegistryFixture : public testing::Test {
protected:
  void SetUp() override {
    char Tmpl[] = "/tmp/sx_reg_XXXXXX";
    FDir = ::mkdtemp(Tmpl);
    const char* Old = std::getenv("XDG_CONFIG_HOME");
    FHadOld = Old != nullptr;
    if (Old) FOld = Old;
    ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
    RegResetStore();
  }
  void TearDown() override {
    RegResetStore();
    if (FHadOld)
      ::setenv("XDG_CONFIG_HOME", FOld.c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    std::filesystem::remove_all(FDir);
  }
  std::string StoreText() const { return sxtest::ReadFile(RegStoreFileName()); }
  std::string FDir, FOld;
  bool FHadOld = false;
};

std::vector<std::string> Lines(const TStrings& S) {
  std::vector<std::string> R;
  for (Integer I = 0; I < S.GetCount(); ++I) R.push_back(S[I]);
  return R;
}

template <class F>
std::string RegErrorOf(F&& Fn) {
  try {
    Fn();
  } catch (const ERegistryException& E) {
    return E.Message();
  }
  return "<no exception>";
}

}  // namespace

TEST_F(RegistryFixture, EveryTypeSurvivesAWriteToDiskAndAFreshRead) {
  const std::string Odd = std::string("quote\" back\\ tab\t cr\r\xE9 end");
  const unsigned char Blob[] = {0, 1, 0xFF, '"', '\n'};
  {
    TRegistry R;
    ASSERT_TRUE(R.OpenKey("\\Software\\Sourcelux\\Test", true));
    R.WriteString("Text", Odd);
    R.WriteString("", "default value");
    R.WriteString("Empty", "");
    R.WriteExpandString("Path", "%HOME%\\x");
    R.WriteInteger("Int", -5);
    R.WriteBool("Flag", true);
    R.WriteFloat("Float", 2.5);
    R.WriteBinaryData("Blob", Blob, sizeof Blob);
    R.WriteBinaryData("NoBytes", Blob, 0);
    R.WriteInteger("weird \"name\"\\", 7);
  }
  RegResetStore();  // forget the memory copy: everything below comes from the file
  TRegistry R;
  ASSERT_TRUE(R.OpenKeyReadOnly("Software\\SOURCELUX\\test"));
  EXPECT_EQ(R.ReadString("TEXT"), Odd);
  EXPECT_EQ(R.ReadString(""), "default value");
  EXPECT_EQ(R.ReadString("Empty"), "");
  EXPECT_EQ(R.ReadString("Path"), "%HOME%\\x");
  EXPECT_EQ(R.ReadInteger("Int"), -5);
  EXPECT_TRUE(R.ReadBool("Flag"));
  EXPECT_EQ(R.ReadFloat("Float"), 2.5);
  unsigned char Buf[8] = {};
  EXPECT_EQ(R.ReadBinaryData("Blob", Buf, sizeof Buf), 5);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Buf), 5), std::string(reinterpret_cast<const char*>(Blob), 5));
  EXPECT_EQ(R.GetDataSize("NoBytes"), 0);
  EXPECT_EQ(R.ReadInteger("WEIRD \"NAME\"\\"), 7);

  struct TCase { const char* Name; TRegDataType Type; Integer Size; };
  const TCase Cases[] = {
      {"Text", rdString, Integer(Odd.size() + 1)}, {"Path", rdExpandString, 9}, {"Int", rdInteger, 4},
      {"Float", rdBinary, 8}, {"Blob", rdBinary, 5}, {"Missing", rdUnknown, -1},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(R.GetDataType(C.Name), C.Type) << C.Name;
    EXPECT_EQ(R.GetDataSize(C.Name), C.Size) << C.Name;
  }
  TStringList Names;
  R.GetValueNames(&Names);
  EXPECT_EQ(Lines(Names), (std::vector<std::string>{"Text", "", "Empty", "Path", "Int", "Flag", "Float",
                                                     "Blob", "NoBytes", "weird \"name\"\\"}));
}

TEST_F(RegistryFixture, ReadsOfTheWrongKindRaiseTheLibraryErrors) {
  TRegistry R;
  ASSERT_TRUE(R.OpenKey("Software\\Kinds", true));
  R.WriteString("S", "ab");
  R.WriteString("Long", "longer text");
  R.WriteInteger("I", 1);
  const unsigned char Big[9] = {};
  R.WriteBinaryData("Big", Big, sizeof Big);
  R.WriteBinaryData("Four", Big, 4);
  struct TCase { const char* Why; std::function<void()> Op; std::string Want; };
  const TCase Cases[] = {
      {"short string read as integer", [&] { R.ReadInteger("S"); }, "Invalid data type for 'S'"},
      {"string too long for an integer", [&] { R.ReadInteger("Long"); }, "Failed to get data for 'Long'"},
      {"integer read as string", [&] { R.ReadString("I"); }, "Invalid data type for 'I'"},
      {"missing integer", [&] { R.ReadInteger("None"); }, "Failed to get data for 'None'"},
      {"missing bool", [&] { R.ReadBool("None"); }, "Failed to get data for 'None'"},
      {"binary too big for an integer", [&] { R.ReadInteger("Big"); }, "Failed to get data for 'Big'"},
      {"four binary bytes are no integer", [&] { R.ReadInteger("Four"); }, "Invalid data type for 'Four'"},
      {"float of the wrong size", [&] { R.ReadFloat("Four"); }, "Invalid data type for 'Four'"},
      {"binary larger than the buffer", [&] { char B[4]; R.ReadBinaryData("Big", B, 4); }, "Invalid data type for 'Big'"},
      {"binary read of a string", [&] { char B[64]; R.ReadBinaryData("S", B, 64); }, "Invalid data type for 'S'"},
  };
  for (const auto& C : Cases) EXPECT_EQ(RegErrorOf(C.Op), C.Want) << C.Why;
  EXPECT_EQ(R.ReadString("None"), "");  // a missing string is just empty
  char B[4];
  EXPECT_EQ(R.ReadBinaryData("None", B, 4), 0);

  TRegistry Closed;
  EXPECT_EQ(RegErrorOf([&] { Closed.WriteInteger("X", 1); }), "Failed to set data for 'X'");
  EXPECT_EQ(RegErrorOf([&] { Closed.ReadInteger("X"); }), "Failed to get data for 'X'");
  ASSERT_TRUE(Closed.OpenKeyReadOnly("Software\\Kinds"));
  EXPECT_EQ(RegErrorOf([&] { Closed.WriteString("S", "new"); }), "Failed to set data for 'S'");
  EXPECT_FALSE(Closed.DeleteValue("S"));
  EXPECT_EQ(Closed.ReadString("S"), "ab");
}

TEST_F(RegistryFixture, KeysOpenRelativeToTheOpenKeyAndCompareWithoutCase) {
  TRegistry R;
  EXPECT_FALSE(R.OpenKey("Software\\Missing", false));
  EXPECT_FALSE(R.KeyExists("Software\\Missing"));
  ASSERT_TRUE(R.OpenKey("Software\\App", true));
  EXPECT_EQ(R.GetCurrentPath(), "Software\\App");
  ASSERT_TRUE(R.OpenKey("Bars\\Bar0", true));  // relative to Software\App
  EXPECT_EQ(R.GetCurrentPath(), "Software\\App\\Bars\\Bar0");
  EXPECT_TRUE(R.KeyExists("\\SOFTWARE\\app\\bars"));
  EXPECT_TRUE(R.OpenKey("\\Software\\App\\", false));  // absolute, trailing backslash
  EXPECT_EQ(R.GetCurrentPath(), "Software\\App\\");
  EXPECT_FALSE(R.OpenKey("a\\\\b", true));  // empty key name
  EXPECT_TRUE(R.HasSubKeys());

  R.SetRootKey(HKEY_LOCAL_MACHINE);  // another tree, and it closes the key
  EXPECT_FALSE(R.HasCurrentKey());
  EXPECT_FALSE(R.KeyExists("Software\\App"));
  EXPECT_FALSE(R.OpenKeyReadOnly("Software\\Vendor\\IDE"));
}

TEST_F(RegistryFixture, DeleteKeyRemovesTheWholeSubtree) {
  TRegistry R;
  ASSERT_TRUE(R.CreateKey("Software\\Layout\\Bar0\\ItemLink0"));
  ASSERT_TRUE(R.CreateKey("Software\\Layout\\Bar1"));
  ASSERT_TRUE(R.OpenKey("Software\\Layout\\Bar0", false));
  R.WriteInteger("Row", 2);
  R.CloseKey();
  ASSERT_TRUE(R.OpenKey("Software\\Layout", false));
  R.WriteInteger("BarCount", 2);
  TStringList Keys;
  R.GetKeyNames(&Keys);
  EXPECT_EQ(Lines(Keys), (std::vector<std::string>{"Bar0", "Bar1"}));

  EXPECT_TRUE(R.DeleteKey("BAR0"));
  EXPECT_FALSE(R.DeleteKey("Bar0"));
  EXPECT_FALSE(R.KeyExists("Bar0\\ItemLink0"));
  R.GetKeyNames(&Keys);
  EXPECT_EQ(Lines(Keys), (std::vector<std::string>{"Bar1"}));
  EXPECT_EQ(R.ReadInteger("BarCount"), 2);  // the parent's values stay

  // Recreating the key does not bring old values back.
  ASSERT_TRUE(R.OpenKey("Bar0", true));
  EXPECT_FALSE(R.ValueExists("Row"));
  EXPECT_FALSE(R.DeleteKey(""));  // names no sub-key: the open key stays
  EXPECT_FALSE(R.DeleteKey("\\"));
  EXPECT_TRUE(R.KeyExists(""));
  R.CloseKey();
  RegResetStore();
  TRegistry Fresh;
  EXPECT_FALSE(Fresh.KeyExists("Software\\Layout\\Bar0\\ItemLink0"));
  EXPECT_TRUE(Fresh.KeyExists("Software\\Layout\\Bar1"));
}

TEST_F(RegistryFixture, SubKeysEnumerateInNameOrderAndValuesDeleteOneByOne) {
  TRegistry R;
  for (const char* K : {"b", "C", "a"}) R.CreateKey(std::string("Software\\Order\\") + K);
  ASSERT_TRUE(R.OpenKey("Software\\Order", false));
  TStringList Keys;
  R.GetKeyNames(&Keys);
  EXPECT_EQ(Lines(Keys), (std::vector<std::string>{"a", "b", "C"}));
  R.WriteInteger("x", 1);
  R.WriteInteger("X", 2);  // same value, first spelling kept
  TStringList Values;
  R.GetValueNames(&Values);
  EXPECT_EQ(Lines(Values), (std::vector<std::string>{"x"}));
  EXPECT_EQ(R.ReadInteger("x"), 2);
  EXPECT_TRUE(R.DeleteValue("X"));
  EXPECT_FALSE(R.ValueExists("x"));
}

TEST_F(RegistryFixture, TheStoreIsWrittenOnCloseAndReadAgainWhenTheFileChanges) {
  {
    TRegistry R;
    ASSERT_TRUE(R.OpenKey("Software\\Flush", true));
    R.WriteInteger("N", 1);
    R.CloseKey();
  }
  const std::string Text = StoreText();
  EXPECT_NE(Text.find("[HKEY_CURRENT_USER\\Software\\Flush]"), std::string::npos) << Text;
  EXPECT_NE(Text.find("\"N\"=dword:00000001"), std::string::npos) << Text;

  // Another process rewrites the file (with a line we cannot parse).
  std::ofstream(RegStoreFileName(), std::ios::binary)
      << "SXREG 1\n[HKEY_CURRENT_USER\\Software\\Flush]\n\"N\"=dword:00000009\n\"Bad\"=dword:xyz\ngarbage\n";
  TRegistry R;
  ASSERT_TRUE(R.OpenKey("Software\\Flush", false));
  EXPECT_EQ(R.ReadInteger("N"), 9);
  EXPECT_FALSE(R.ValueExists("Bad"));
}

TEST_F(RegistryFixture, StoringAnUnchangedValueLeavesTheFileAlone) {
  auto Store = [](Integer N) {
    TRegistry R;
    ASSERT_TRUE(R.OpenKey("Software\\Same", true));
    R.WriteInteger("N", N);
    R.WriteString("S", "text");
  };
  auto Inode = [] {
    struct stat St{};
    return ::stat(RegStoreFileName().c_str(), &St) == 0 ? St.st_ino : ino_t(0);
  };
  Store(1);
  const ino_t Ino = Inode();
  ASSERT_NE(Ino, ino_t(0));
  // Every write of the file renames a new one into place: same values,
  // same file.
  Store(1);
  EXPECT_EQ(Inode(), Ino);
  Store(2);
  EXPECT_NE(Inode(), Ino);
  EXPECT_NE(StoreText().find("\"N\"=dword:00000002"), std::string::npos);
  EXPECT_TRUE(RegFlushStore()) << "the store reaches the disk";
}

// Values stored under a batch, in many keys each closed after its value,
// reach the file together when the outermost batch ends; a nested batch
// ending writes nothing, and the store stays readable meanwhile.
TEST_F(RegistryFixture, ABatchWritesTheStoreOnceWhenTheLastOneEnds) {
  auto Exists = [] { return std::filesystem::exists(RegStoreFileName()); };
  auto Store = [](const char* Key, Integer N) {
    TRegistry R;
    ASSERT_TRUE(R.OpenKey(Key, true));
    R.WriteInteger("N", N);
    R.CloseKey();
  };
  {
    TRegWriteBatch Outer;
    Store("Software\\Batch\\A", 1);
    {
      TRegWriteBatch Inner;
      Store("Software\\Batch\\B", 2);
      ASSERT_TRUE(TRegistry().CreateKey("Software\\Batch\\C"));
    }
    EXPECT_FALSE(Exists()) << "written before the last batch ended";
    TRegistry R;
    ASSERT_TRUE(R.OpenKey("Software\\Batch\\B", false));
    EXPECT_EQ(R.ReadInteger("N"), 2);
  }
  ASSERT_TRUE(Exists());
  const std::string Text = StoreText();
  for (const char* Want : {"[HKEY_CURRENT_USER\\Software\\Batch\\A]\r\n\"N\"=dword:00000001",
                           "[HKEY_CURRENT_USER\\Software\\Batch\\B]\r\n\"N\"=dword:00000002",
                           "[HKEY_CURRENT_USER\\Software\\Batch\\C]"})
    EXPECT_NE(Text.find(Want), std::string::npos) << Want << "\n" << Text;
  // Without a batch, closing a key writes again at once.
  Store("Software\\Batch\\A", 3);
  EXPECT_NE(StoreText().find("\"N\"=dword:00000003"), std::string::npos);
}

TEST_F(RegistryFixture, ACorruptStoreReadsAsFarAsItParses) {
  std::filesystem::create_directories(FDir + "/sourcelux");
  std::ofstream(RegStoreFileName(), std::ios::binary)
      << "SXREG 1\n[HKEY_NOWHERE\\X]\n\"a\"=dword:00000001\n[HKEY_CURRENT_USER\\A\\\\B]\n"
         "[HKEY_CURRENT_USER\\Ok]\n\"s\"=\"unterminated\n\"h\"=hex:0g\n\"t\"=hex(7):61,00\n\"u\"=\"fine\"\n";
  TRegistry R;
  ASSERT_TRUE(R.OpenKey("Ok", false));
  TStringList Values;
  R.GetValueNames(&Values);
  EXPECT_EQ(Lines(Values), (std::vector<std::string>{"t", "u"}));
  EXPECT_EQ(R.GetDataType("t"), rdUnknown);
  EXPECT_EQ(R.GetDataSize("t"), 2);
  EXPECT_EQ(R.ReadString("u"), "fine");
}
