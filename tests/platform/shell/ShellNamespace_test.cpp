// The shell namespace over a fixture tree: parsing and printing names,
// listing folders, attributes, the IL helpers, and hostile names, links
// and vanishing folders.
#include <sys/stat.h>

#include <algorithm>

#include "ShellFixtures.h"
#include "platform/ole/DropFormats.h"
#include "platform/rtl/FileUtils.h"
#include "platform/shell/ShellData.h"
#include "platform/shell/ShellIcons.h"
#include "platform/win/Modules.h"

using namespace shelltest;

TEST(ShellNamespace, ParsingAndPrintingRoundTrip) {
  TFixtureTree T;
  const std::string Cases[] = {
      T.Home(),                                     // a place itself
      T.File("home/docs/report.rtf"),               // under home
      T.File("home/Desktop/note.txt"),              // under the desktop place
      T.File("home/docs/with space/a b.rtf"),       // blanks
      T.File("outside/deep/er/file.doc"),           // only under the file system root
      T.File("home/docs/caf\xc3\xa9.rtf"),          // UTF-8
      T.File("home/docs/bad\xff\xfe.rtf"),          // bytes that are not UTF-8
      T.Folder("home/docs"),
  };
  for (const std::string& Path : Cases) {
    SCOPED_TRACE(Path);
    LPITEMIDLIST P = Parse(Path);
    ASSERT_NE(P, nullptr);
    EXPECT_EQ(DisplayName(Desktop().Get(), P, SHGDN_FORPARSING), Path);
    char Buf[MAX_PATH];
    ASSERT_TRUE(SHGetPathFromIDListA(P, Buf));
    EXPECT_EQ(std::string(Buf), Path);
    // Printing and parsing again gives the same list.
    LPITEMIDLIST Again = Parse(DisplayName(Desktop().Get(), P, SHGDN_FORPARSING));
    EXPECT_TRUE(ILIsEqual(P, Again));
    ILFree(Again);
    ILFree(P);
  }
  // "." and ".." and doubled separators are resolved; missing names fail.
  LPITEMIDLIST P = Parse(T.Home() + "/docs/./../docs//report.rtf");
  ASSERT_NE(P, nullptr);
  EXPECT_EQ(ShellPathOfIDList(P), T.Home() + "/docs/report.rtf");
  ILFree(P);
  EXPECT_EQ(Parse(T.Home() + "/docs/missing.rtf"), nullptr);
  EXPECT_EQ(Parse("relative/name"), nullptr);
}

TEST(ShellNamespace, PathsParseUnderTheClosestPlace) {
  TFixtureTree T;
  struct {
    std::string Path;
    const char* Label;  // the first item's display name
  } Cases[] = {
      {T.File("home/docs/a.rtf"), "Home"},
      {T.File("home/Desktop/b.rtf"), "Desktop"},
      {T.File("elsewhere/c.rtf"), "File System"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Path);
    LPITEMIDLIST P = Parse(C.Path);
    ASSERT_NE(P, nullptr);
    LPITEMIDLIST First = ILCloneFirst(P);
    EXPECT_EQ(DisplayName(Desktop().Get(), First, SHGDN_NORMAL), C.Label);
    ILFree(First);
    ILFree(P);
  }
}

TEST(ShellNamespace, DesktopListsItsPlaces) {
  TFixtureTree T;
  TShellPlaces P = ShellPlaces();
  P.Volumes = {T.Folder("media/usb stick")};
  SetShellPlacesForTest(&P);
  IEnumIDList* E = nullptr;
  ASSERT_EQ(Desktop()->EnumObjects(nullptr, SHCONTF_FOLDERS, &E), S_OK);
  TIntfPtr<IEnumIDList> Enum;
  Enum.Attach(E);
  std::vector<std::string> Labels, Paths;
  LPITEMIDLIST Item;
  ULONG Got;
  while (Enum->Next(1, &Item, &Got) == S_OK) {
    Labels.push_back(DisplayName(Desktop().Get(), Item, SHGDN_NORMAL));
    Paths.push_back(DisplayName(Desktop().Get(), Item, SHGDN_FORPARSING));
    ULONG A = SFGAO_FOLDER | SFGAO_REMOVABLE;
    LPCITEMIDLIST One = Item;
    EXPECT_TRUE(Succeeded(Desktop()->GetAttributesOf(1, &One, &A)));
    EXPECT_TRUE(A & SFGAO_FOLDER);
    EXPECT_EQ((A & SFGAO_REMOVABLE) != 0, Labels.back() == "usb stick");
    ILFree(Item);
  }
  EXPECT_EQ(Labels, (std::vector<std::string>{"Desktop", "Home", "File System", "usb stick"}));
  EXPECT_EQ(Paths, (std::vector<std::string>{T.Home() + "/Desktop", T.Home(), "/", T.Root() + "/media/usb stick"}));
  // The desktop has no non-folders.
  ASSERT_EQ(Desktop()->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &E), S_OK);
  Enum.Attach(E);
  EXPECT_EQ(Enum->Next(1, &Item, &Got), S_FALSE);
}

TEST(ShellNamespace, EnumerationSeparatesFoldersFilesAndHiddenItems) {
  TFixtureTree T;
  T.File("home/docs/b.rtf");
  T.File("home/docs/a.txt");
  T.File("home/docs/.hidden");
  T.Folder("home/docs/sub");
  T.Folder("home/docs/.git");
  const std::string D = T.Home() + "/docs";
  EXPECT_EQ(Names(D, SHCONTF_FOLDERS), (std::vector<std::string>{"sub"}));
  EXPECT_EQ(Names(D, SHCONTF_NONFOLDERS), (std::vector<std::string>{"a.txt", "b.rtf"}));
  EXPECT_EQ(Names(D, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN),
            (std::vector<std::string>{".git", ".hidden", "a.txt", "b.rtf", "sub"}));
}

TEST(ShellNamespace, LoopingAndDanglingLinksAreFilesNotFolders) {
  TFixtureTree T;
  const std::string D = T.Folder("home/links");
  ASSERT_EQ(::symlink((D + "/loop2").c_str(), (D + "/loop1").c_str()), 0);
  ASSERT_EQ(::symlink((D + "/loop1").c_str(), (D + "/loop2").c_str()), 0);
  ASSERT_EQ(::symlink((D + "/nowhere").c_str(), (D + "/dangling").c_str()), 0);
  ASSERT_EQ(::symlink(T.Home().c_str(), (D + "/up").c_str()), 0);  // a cycle in the tree
  EXPECT_EQ(Names(D, SHCONTF_FOLDERS), (std::vector<std::string>{"up"}));
  EXPECT_EQ(Names(D, SHCONTF_NONFOLDERS), (std::vector<std::string>{"dangling", "loop1", "loop2"}));
  LPITEMIDLIST P = Parse(D + "/loop1");
  ASSERT_NE(P, nullptr);
  LPITEMIDLIST Parent = ILClone(P);
  ILRemoveLastID(Parent);
  void* Raw = nullptr;
  ASSERT_TRUE(Succeeded(Desktop()->BindToObject(Parent, nullptr, IShellFolder::IID(), &Raw)));
  TIntfPtr<IShellFolder> F;
  F.Attach(static_cast<IShellFolder*>(Raw));
  ULONG A = SFGAO_FOLDER | SFGAO_LINK | SFGAO_STREAM;
  LPCITEMIDLIST Last = ILFindLastID(P);
  ASSERT_TRUE(Succeeded(F->GetAttributesOf(1, &Last, &A)));
  EXPECT_EQ(A, SFGAO_LINK | SFGAO_STREAM);
  // Binding to the looping link as a folder fails instead of recursing.
  EXPECT_FALSE(Succeeded(F->BindToObject(Last, nullptr, IShellFolder::IID(), &Raw)));
  ILFree(Parent);
  ILFree(P);
}

TEST(ShellNamespace, VanishedFolderListsNothing) {
  TFixtureTree T;
  const std::string D = T.Folder("home/gone");
  T.File("home/gone/a.rtf");
  LPITEMIDLIST P = Parse(D);
  ASSERT_NE(P, nullptr);
  void* Raw = nullptr;
  ASSERT_TRUE(Succeeded(Desktop()->BindToObject(P, nullptr, IShellFolder::IID(), &Raw)));
  TIntfPtr<IShellFolder> F;
  F.Attach(static_cast<IShellFolder*>(Raw));
  std::filesystem::remove_all(D);
  IEnumIDList* E = reinterpret_cast<IEnumIDList*>(1);
  EXPECT_EQ(F->EnumObjects(nullptr, SHCONTF_NONFOLDERS, &E), S_FALSE);
  EXPECT_EQ(E, nullptr);
  // Its path is still known, but asking for a validated item fails.
  EXPECT_EQ(ShellPathOfIDList(P), D);
  LPITEMIDLIST Parent = ILClone(P);
  ILRemoveLastID(Parent);
  ASSERT_TRUE(Succeeded(Desktop()->BindToObject(Parent, nullptr, IShellFolder::IID(), &Raw)));
  TIntfPtr<IShellFolder> Home;
  Home.Attach(static_cast<IShellFolder*>(Raw));
  ULONG A = SFGAO_FOLDER | SFGAO_VALIDATE;
  LPCITEMIDLIST Last = ILFindLastID(P);
  EXPECT_EQ(Home->GetAttributesOf(1, &Last, &A), E_FAIL);
  ILFree(Parent);
  ILFree(P);
}

TEST(ShellNamespace, CompareIDsPutsFoldersFirstThenNamesWithoutCase) {
  TFixtureTree T;
  T.File("home/s/b.rtf");
  T.File("home/s/A.rtf");
  T.Folder("home/s/z");
  const std::string Order[] = {"z", "A.rtf", "b.rtf"};
  LPITEMIDLIST Folder = Parse(T.Home() + "/s");
  void* Raw = nullptr;
  ASSERT_TRUE(Succeeded(Desktop()->BindToObject(Folder, nullptr, IShellFolder::IID(), &Raw)));
  TIntfPtr<IShellFolder> F;
  F.Attach(static_cast<IShellFolder*>(Raw));
  std::vector<LPITEMIDLIST> Items;
  for (const std::string& N : Order) {
    LPITEMIDLIST P = nullptr;
    const WideString W = PathToWide(N);
    ASSERT_TRUE(Succeeded(F->ParseDisplayName(nullptr, nullptr, W.c_str(), nullptr, &P, nullptr)));
    Items.push_back(P);
  }
  for (std::size_t I = 0; I < Items.size(); ++I)
    for (std::size_t J = 0; J < Items.size(); ++J) {
      const auto R = std::int16_t(F->CompareIDs(0, Items[I], Items[J]) & 0xFFFF);
      EXPECT_EQ(R < 0, I < J) << I << " " << J;
      EXPECT_EQ(R == 0, I == J) << I << " " << J;
    }
  for (LPITEMIDLIST P : Items) ILFree(P);
  ILFree(Folder);
}

TEST(ShellNamespace, ILHelpersCombineSplitAndCompare) {
  TFixtureTree T;
  const std::string File = T.File("home/a/b/c.rtf");
  LPITEMIDLIST Full = Parse(File);
  LPITEMIDLIST Folder = Parse(T.Home() + "/a");
  ASSERT_TRUE(Full && Folder);
  EXPECT_TRUE(ILIsParent(Folder, Full, FALSE));
  EXPECT_FALSE(ILIsParent(Folder, Full, TRUE));
  EXPECT_FALSE(ILIsParent(Full, Folder, FALSE));
  LPITEMIDLIST Rel = ILClone(ILFindChild(Folder, Full));
  LPITEMIDLIST Joined = ILCombine(Folder, Rel);
  EXPECT_TRUE(ILIsEqual(Joined, Full));
  EXPECT_EQ(ILGetSize(Joined), ILGetSize(Folder) - 2 + ILGetSize(Rel));
  ASSERT_TRUE(ILRemoveLastID(Joined));
  EXPECT_EQ(ShellPathOfIDList(Joined), T.Home() + "/a/b");
  LPITEMIDLIST Root = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &Root), S_OK);
  EXPECT_TRUE(ILIsEmpty(Root));
  EXPECT_FALSE(ILRemoveLastID(Root));
  char Buf[MAX_PATH] = "x";
  EXPECT_FALSE(SHGetPathFromIDListA(Root, Buf));
  EXPECT_STREQ(Buf, "");
  for (LPITEMIDLIST P : {Full, Folder, Rel, Joined, Root}) ILFree(P);
}

TEST(ShellNamespace, HelpersBindByNameAndByExportNumber) {
  RegisterShellLibraryModule();
  HMODULE M = LoadLibraryA("SHELL32.DLL");
  ASSERT_NE(M, nullptr);
  const auto ByName = GetProcAddress(M, "ILClone");
  EXPECT_EQ(ByName, reinterpret_cast<FARPROC>(&ILClone));
  EXPECT_EQ(GetProcAddress(M, reinterpret_cast<const char*>(std::uintptr_t(18))), ByName);
  EXPECT_EQ(GetProcAddress(M, reinterpret_cast<const char*>(std::uintptr_t(155))),
            reinterpret_cast<FARPROC>(&ILFree));
  EXPECT_EQ(GetProcAddress(M, reinterpret_cast<const char*>(std::uintptr_t(9999))), nullptr);
  FreeLibrary(M);
}

TEST(ShellNamespace, MalformedListsAreRefusedNotWalkedPast) {
  // Each list lies about its sizes; none may be read past its bytes.
  const std::string Lists[] = {
      std::string("\x01\x00", 2),                       // an item shorter than its size field
      std::string("\x05\x00\x10" "ab\x00", 6),          // no terminator within the bytes
      std::string("\x05\x00\x10" "a/\x00\x00", 7),      // a name with a separator
      std::string("\x04\x00\x10" ".\x00\x00", 6),       // "."
      std::string("\x04\x00\x7f" "a\x00\x00", 6),       // an unknown kind
      std::string("\x04\x00\x02" "a\x00\x00", 6),       // a place that is not absolute
  };
  for (const std::string& L : Lists) {
    SCOPED_TRACE(testing::PrintToString(L));
    LPITEMIDLIST P = IDListFromBytes(L);
    if (!P) continue;  // refused outright: the size walk found no terminator
    EXPECT_EQ(ShellPathOfIDList(P), "");
    SHFILEINFOA Info;
    EXPECT_EQ(SHGetFileInfoA(reinterpret_cast<const char*>(P), 0, &Info, sizeof Info, SHGFI_PIDL | SHGFI_DISPLAYNAME), 0u);
    ILFree(P);
  }
}

TEST(ShellNamespace, IDListArrayUsesTheCommonParent) {
  TFixtureTree T;
  const std::vector<std::string> Paths = {T.File("home/A/B/x.txt"), T.File("home/A/C/y.txt"),
                                          T.File("home/A/z.txt")};
  const std::string Block = IDListArrayFromPaths(Paths);
  ASSERT_FALSE(Block.empty());
  auto Back = PathsFromIDListArray(Block);
  ASSERT_TRUE(Back.has_value());
  EXPECT_EQ(*Back, Paths);
  // The parent list is home/A.
  auto Lists = ReadIDListArray(Block.data(), Block.size());
  ASSERT_TRUE(Lists && Lists->size() == 4);
  EXPECT_EQ(ShellPathOfIDList(reinterpret_cast<LPCITEMIDLIST>((*Lists)[0].data())), T.Home() + "/A");
  // Paths under different places share only the desktop root.
  const std::vector<std::string> Apart = {T.File("home/a.rtf"), T.File("other/b.rtf")};
  auto Both = PathsFromIDListArray(IDListArrayFromPaths(Apart));
  ASSERT_TRUE(Both.has_value());
  EXPECT_EQ(*Both, Apart);
}
