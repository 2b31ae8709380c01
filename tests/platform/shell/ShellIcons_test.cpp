// File types and icons: content types from the shared-mime-info database,
// icons from an icon theme at both sizes, the built-in set without a
// theme, and SHGetFileInfo's answers.
#include <sys/stat.h>

#include "ShellFixtures.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Dib.h"
#include "platform/gdi/IconApi.h"
#include "platform/gdi/PngCodec.h"
#include "platform/rtl/Streams.h"
#include "platform/shell/ShellIcons.h"

using namespace shelltest;

namespace {

bool HaveMimeDatabase() {
  struct stat S;
  return stat("/usr/share/mime/globs2", &S) == 0;
}

// The colour of an image of a system image list at a point.
std::uint32_t IconPixel(int Index, bool Small, int X, int Y) {
  TBitmap B;
  if (!ShellImageList(Small)->GetBitmap(Index, &B)) return 0xDEADBEEF;
  const std::vector<std::uint32_t> Px = DibToBgra32(B.SaveToDib());
  return Px[std::size_t(Y) * B.GetWidth() + X] & 0xFFFFFF;
}

void WriteSolidPng(const std::string& Path, int Size, std::uint32_t Rgb) {
  std::filesystem::create_directories(std::filesystem::path(Path).parent_path());
  std::vector<std::uint32_t> Row(std::size_t(Size), Rgb);
  TMemoryStream S;
  WritePngRgb(&S, Size, Size, [&](int) { return Row.data(); });
  std::ofstream(Path, std::ios::binary).write(static_cast<const char*>(S.Memory()), std::streamsize(S.GetSize()));
}

class ShellIcons : public ::testing::Test {
protected:
  void TearDown() override { SetIconThemeForTest(nullptr); }
};

}  // namespace

TEST_F(ShellIcons, ContentTypesComeFromTheDatabase) {
  if (!HaveMimeDatabase()) GTEST_SKIP() << "no shared-mime-info on this machine";
  struct {
    const char* Name;
    const char* Mime;
  } Cases[] = {
      {"report.rtf", "application/rtf"},
      {"REPORT.RTF", "application/rtf"},  // endings match without case
      {"/some/where/page.html", "text/html"},
      {"archive.tar.gz", "application/x-compressed-tar"},  // the longest ending wins
      {"no-ending", "application/octet-stream"},
  };
  for (const auto& C : Cases) EXPECT_EQ(MimeTypeOfName(C.Name), C.Mime) << C.Name;
  EXPECT_EQ(MimeTypeComment("application/rtf"), "RTF document");
  const std::vector<std::string> Names = MimeIconNames("application/rtf");
  ASSERT_GE(Names.size(), 2u);
  EXPECT_EQ(Names[0], "application-rtf");
  EXPECT_EQ(Names[1], "x-office-document");
}

TEST_F(ShellIcons, ThemeIconsAreTakenAtEachSize) {
  TFixtureTree T;
  const std::string Base = T.Folder("icons");
  T.Folder("icons/Fixture");
  std::ofstream(Base + "/Fixture/index.theme") << "[Icon Theme]\nName=Fixture\nInherits=hicolor\n"
                                                  "Directories=16x16/mimetypes,32x32/mimetypes\n\n"
                                                  "[16x16/mimetypes]\nSize=16\nType=Fixed\n\n"
                                                  "[32x32/mimetypes]\nSize=32\nType=Fixed\n";
  WriteSolidPng(Base + "/Fixture/16x16/mimetypes/text-x-generic.png", 16, 0xCC0000);
  WriteSolidPng(Base + "/Fixture/32x32/mimetypes/text-x-generic.png", 32, 0x0000CC);
  const TIconThemeSettings Settings{{Base}, "Fixture"};
  SetIconThemeForTest(&Settings);
  EXPECT_EQ(FindThemeIcon("text-x-generic", 16), Base + "/Fixture/16x16/mimetypes/text-x-generic.png");
  EXPECT_EQ(FindThemeIcon("text-x-generic", 22), Base + "/Fixture/16x16/mimetypes/text-x-generic.png");
  EXPECT_EQ(FindThemeIcon("no-such-icon", 16), "");
  SHFILEINFOA Small, Large;
  ASSERT_NE(SHGetFileInfoA("letter.rtf", FILE_ATTRIBUTE_NORMAL, &Small, sizeof Small,
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
            0u);
  ASSERT_NE(SHGetFileInfoA("letter.rtf", FILE_ATTRIBUTE_NORMAL, &Large, sizeof Large,
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_LARGEICON),
            0u);
  EXPECT_EQ(Small.iIcon, Large.iIcon);  // one index in both lists
  EXPECT_TRUE(ShellIconFromTheme(Small.iIcon));
  EXPECT_EQ(IconPixel(Small.iIcon, true, 8, 8), 0xCC0000u);
  EXPECT_EQ(IconPixel(Large.iIcon, false, 16, 16), 0x0000CCu);
}

TEST_F(ShellIcons, RtfIconComesFromTheMachinesThemeOrTheBuiltInSet) {
  // The machine's own theme, when it has one for the type.
  SetIconThemeForTest(nullptr);
  bool Themed = false;
  for (const std::string& N : MimeIconNames(MimeTypeOfName("a.rtf")))
    if (!FindThemeIcon(N, 16).empty()) Themed = true;
  SHFILEINFOA Info;
  ASSERT_NE(SHGetFileInfoA("a.rtf", FILE_ATTRIBUTE_NORMAL, &Info, sizeof Info,
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
            0u);
  EXPECT_EQ(ShellIconFromTheme(Info.iIcon), Themed);

  // No theme at all: the built-in document, its lines in their ink.
  TFixtureTree T;
  const TIconThemeSettings Empty{{T.Folder("no-themes")}, ""};
  SetIconThemeForTest(&Empty);
  ASSERT_NE(SHGetFileInfoA("a.rtf", FILE_ATTRIBUTE_NORMAL, &Info, sizeof Info,
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON),
            0u);
  EXPECT_FALSE(ShellIconFromTheme(Info.iIcon));
  EXPECT_EQ(IconPixel(Info.iIcon, true, 6, 6), 0x7A8DA8u);
  EXPECT_EQ(IconPixel(Info.iIcon, false, 12, 12), 0x7A8DA8u);
  // A folder gets the built-in folder, not the document.
  SHFILEINFOA Folder;
  SHGetFileInfoA("x", FILE_ATTRIBUTE_DIRECTORY, &Folder, sizeof Folder, SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX);
  EXPECT_NE(Folder.iIcon, Info.iIcon);
}

TEST_F(ShellIcons, FileInfoGivesNamesTypesAndFailsForMissingFiles) {
  TFixtureTree T;
  const std::string File = T.File("home/docs/Report.rtf");
  SHFILEINFOA Info;
  ASSERT_NE(SHGetFileInfoA(File.c_str(), 0, &Info, sizeof Info, SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES),
            0u);
  EXPECT_STREQ(Info.szDisplayName, "Report.rtf");
  if (HaveMimeDatabase()) {
    EXPECT_STREQ(Info.szTypeName, "RTF document");
  }
  EXPECT_TRUE(Info.dwAttributes & SFGAO_STREAM);
  ASSERT_NE(SHGetFileInfoA(T.Home().c_str(), 0, &Info, sizeof Info, SHGFI_DISPLAYNAME | SHGFI_TYPENAME), 0u);
  EXPECT_STREQ(Info.szDisplayName, "Home");  // a place shows its label
  EXPECT_STREQ(Info.szTypeName, "Folder");
  EXPECT_EQ(SHGetFileInfoA((T.Root() + "/missing.rtf").c_str(), 0, &Info, sizeof Info, SHGFI_DISPLAYNAME), 0u);
  ASSERT_NE(SHGetFileInfoA("x.zqx", FILE_ATTRIBUTE_NORMAL, &Info, sizeof Info, SHGFI_USEFILEATTRIBUTES | SHGFI_TYPENAME),
            0u);
  EXPECT_STREQ(Info.szTypeName, "ZQX File");
  // An icon handed out belongs to the caller.
  ASSERT_NE(SHGetFileInfoA(File.c_str(), 0, &Info, sizeof Info, SHGFI_ICON | SHGFI_SMALLICON), 0u);
  EXPECT_NE(Info.hIcon, nullptr);
  EXPECT_TRUE(DestroyIcon(Info.hIcon));
}
