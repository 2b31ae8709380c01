#include "editor/base/IdeTables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "TestOptions.h"

TEST(IdeVersionTable, EntriesAreDistinctAndOnlyTheFirstTwoLackPackages) {
  std::set<std::string> Ids, Keys;
  for (Integer I = 0; I < IdeVersionCount; ++I) {
    const TIdeVersion& V = IdeVersionTable[I];
    SCOPED_TRACE(V.Id);
    EXPECT_EQ(std::strlen(V.Id), 2u);
    EXPECT_TRUE(Ids.insert(V.Id).second);
    EXPECT_TRUE(Keys.insert(V.RegistryKey).second);
    EXPECT_EQ(std::string(V.PackageExt), I < 2 ? "" : I == 2 ? ".DPL" : ".BPL");
  }
  // The help placeholders name the entries they read.
  const auto& T = FolderTemplates();
  EXPECT_STREQ(T[3].Placeholder, "%C1_HELP%");
  EXPECT_STREQ(IdeVersionTable[1].Id, "C1");
  EXPECT_STREQ(IdeVersionTable[0].Id, "D2");
  EXPECT_STREQ(IdeVersionTable[4].Id, "D4");
}

TEST_F(RegistryTest, IdeFoldersComeFromTheMachineKeyOrAreEmpty) {
  EXPECT_EQ(GetIdeRootDir(2), "") << "not installed";
  EXPECT_EQ(GetIdeHelpDir(2), "");
  EXPECT_EQ(ReadIdeRegistryString(-1, "RootDir"), "");
  EXPECT_EQ(ReadIdeRegistryString(IdeVersionCount, "RootDir"), "");
  {
    TRegistry R;
    R.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(R.OpenKey(AnsiString("Software\\") + IdeVendorName + "\\" + IdeVersionTable[2].RegistryKey, true));
    R.WriteString("RootDir", "/opt/studio3");
  }
  EXPECT_EQ(GetIdeRootDir(2), "/opt/studio3/");
  EXPECT_EQ(GetIdeHelpDir(2), "/opt/studio3/HELP/");
  const auto& T = FolderTemplates();
  EXPECT_STREQ(T[6].Placeholder, "%D3_HELP%");
  EXPECT_EQ(T[6].Folder(), "/opt/studio3/HELP/");
  EXPECT_EQ(T[0].Folder(), GetSystemDir());
  for (const AnsiString& D : {GetSystemDir(), GetWindowsDir(), GetProgramFilesDir()}) EXPECT_EQ(D.back(), '/');
  FreeIdeLibrary();  // holds none: nothing happens
}
