#include "platform/win/Resources.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/gdi/Blit.h"
#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/gdi/IconApi.h"
#include "platform/win/Cursors.h"
#include "platform/win/SysBitmaps.h"

namespace {
struct TResources : ::testing::Test {
  void SetUp() override { SetResourceDir(AnsiString(SX_SOURCE_DIR) + "/resources"); }
  void TearDown() override { SetResourceDir(""); }
};

// Every resource the program and its libraries load from the program
// module, by kind.
const char* const Cursors[] = {
    "MEMOHANDPT",          "CX_DRAGCURSOR",        "CX_DRAGCOPYCURSOR",   "CX_MULTIDRAGCURSOR",
    "CX_NODROPCURSOR",     "CX_REMOVECURSOR",      "CX_UPSCROLLCURSOR",   "CX_DOWNSCROLLCURSOR",
    "CX_LEFTSCROLLCURSOR", "CX_RIGHTSCROLLCURSOR", "CX_HORSCROLLCURSOR",  "CX_VERSCROLLCURSOR",
    "CX_FULLSCROLLCURSOR", "CX_HORZSIZECURSOR",    "CX_VERTSIZECURSOR",   "DXBARDRAGCURSOR",
    "DXBARDRAGCOPYCURSOR", "DXBARDRAGNODROPCURSOR", "DXBAREDITSIZINGCURSOR",
};
const char* const Bitmaps[] = {
    "MEMO_BREAKPOINT",    "BIGBOOKMARK0",       "BIGBOOKMARK1",       "BIGBOOKMARK2",        "BIGBOOKMARK3",
    "BIGBOOKMARK4",       "BIGBOOKMARK5",       "BIGBOOKMARK6",       "BIGBOOKMARK7",        "BIGBOOKMARK8",
    "BIGBOOKMARK9",       "CX_ARROWBITMAP",     "CX_MULTIARROWBITMAP", "CX_MULTIDOTBITMAP",  "CX_EDITBITMAP",
    "CX_INSERTBITMAP",    "CX_FILTERBITMAP",    "CX_AUTOHIDEON",      "CX_AUTOHIDEOFF",      "CX_HORSCROLLBITMAP",
    "CX_VERSCROLLBITMAP", "CX_FULLSCROLLBITMAP", "DXBARCLOSE",        "DXBARMINIMIZE",       "DXBARMAXIMIZE",
    "DXBARRESTORE",       "DXSUBMENUEXPAND",    "DXBARCOLORCOMBO",    "DXBARDATECOMBO",      "DXBARFONTNAMECOMBO",
    "DXBARIMAGECOMBO",    "DXBARTREEVIEWCOMBO", "DXBARTRUETYPEFONT",  "DXBARNONTRUETYPEFONT", "DXEXPANDBUTTON_PLUS",
    "DXEXPANDBUTTON_MINUS", "DXSTATUSBAR_BLUE", "DXSTATUSBAR_GRAY",   "DXSTATUSBAR_GREEN",   "DXSTATUSBAR_PURPLE",
    "DXSTATUSBAR_RED",    "DXSTATUSBAR_TEAL",   "DXSTATUSBAR_YELLOW",
};
}  // namespace

TEST_F(TResources, EveryNamedResourceLoads) {
  HINSTANCE Program = ProgramInstance();
  for (const char* Name : Cursors) {
    SCOPED_TRACE(Name);
    HCURSOR C = LoadCursorA(Program, Name);
    ASSERT_NE(C, nullptr);
    ICONINFO Info;
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(C), &Info));
    EXPECT_FALSE(Info.fIcon) << "a cursor, with its hot spot";
    EXPECT_EQ(GdiIconSize(reinterpret_cast<HICON>(C)), TSize(32, 32));
    DeleteObject(Info.hbmColor);
    DeleteObject(Info.hbmMask);
  }
  for (const char* Name : Bitmaps) {
    SCOPED_TRACE(Name);
    HBITMAP B = LoadBitmapA(Program, Name);
    ASSERT_NE(B, nullptr);
    BITMAP Info{};
    ASSERT_NE(GetObject(B, sizeof(Info), &Info), 0);
    EXPECT_GT(Info.bmWidth, 0);
    DeleteObject(B);
  }
  HICON Icon = LoadIconA(Program, "MAINICON");
  ASSERT_NE(Icon, nullptr);
  EXPECT_EQ(GdiIconSize(Icon), TSize(32, 32));
  HANDLE Small = LoadImageA(Program, "MAINICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR);
  ASSERT_NE(Small, nullptr);
  EXPECT_EQ(GdiIconSize(static_cast<HICON>(Small)), TSize(16, 16));
}

TEST_F(TResources, PicturesArriveAsDrawnAndUnknownNamesFail) {
  HBITMAP B = LoadBitmapA(ProgramInstance(), "memo_breakpoint");
  ASSERT_NE(B, nullptr) << "names match without case";
  HDC Dc = CreateCompatibleDC(nullptr);
  HGDIOBJ Old = SelectObject(Dc, B);
  EXPECT_EQ(GetPixel(Dc, 6, 6), RGB(200, 0, 0)) << "the red breakpoint";
  EXPECT_EQ(GetPixel(Dc, 0, 0), RGB(255, 0, 255)) << "the glyph's transparent colour";
  SelectObject(Dc, Old);
  DeleteObject(B);
  DeleteDC(Dc);
  ICONINFO Info;
  HCURSOR Hand = LoadCursorA(ProgramInstance(), "MEMOHANDPT");
  ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(Hand), &Info));
  EXPECT_EQ(Info.xHotspot, 12u) << "the fingertip";
  EXPECT_EQ(Info.yHotspot, 2u);
  EXPECT_EQ(LoadCursorA(ProgramInstance(), "memohandpt"), Hand) << "one shared handle, not a new one per call";
  EXPECT_EQ(LoadProgramCursor("MEMOHANDPT"), Hand);
  DeleteObject(Info.hbmColor);
  DeleteObject(Info.hbmMask);
  EXPECT_EQ(LoadBitmapA(ProgramInstance(), "NO_SUCH_BITMAP"), nullptr);
  EXPECT_EQ(GetLastError(), 1814u);
  EXPECT_EQ(LoadCursorA(ProgramInstance(), "MEMO_BREAKPOINT"), nullptr) << "a bitmap is no cursor";
  EXPECT_EQ(LoadIconA(nullptr, "MAINICON"), nullptr) << "the system has no such icon";
}

// The system's icons: each number loads one shared icon (the aliases give
// the same one), drawn with a transparent outside.
TEST_F(TResources, SystemIconsLoadByNumberAndShowTheirSign) {
  struct TCase {
    const char* Id;
    const char* Why;
    TPoint At;
    COLORREF Want;
  };
  const TCase Cases[] = {
      {IDI_APPLICATION, "the window's title bar", {10, 7}, RGB(0, 64, 160)},
      {IDI_HAND, "the red disc", {4, 16}, RGB(200, 0, 0)},
      {IDI_QUESTION, "the blue disc", {5, 16}, RGB(0, 80, 200)},
      {IDI_EXCLAMATION, "the yellow triangle", {9, 26}, RGB(250, 210, 0)},
      {IDI_EXCLAMATION, "the black mark", {16, 15}, RGB(0, 0, 0)},
      {IDI_ASTERISK, "the white letter", {15, 18}, RGB(255, 255, 255)},
      {IDI_WINLOGO, "the screen", {10, 10}, RGB(0, 96, 160)},
  };
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateBitmap(32, 32, 1, 32, nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Why);
    HICON I = LoadIconA(nullptr, C.Id);
    ASSERT_NE(I, nullptr);
    EXPECT_EQ(LoadIconA(nullptr, C.Id), I) << "shared, not made per call";
    EXPECT_EQ(GdiIconSize(I), TSize(32, 32));
    PatBlt(Dc, 0, 0, 32, 32, WHITENESS);
    DrawIcon(Dc, 0, 0, I);
    EXPECT_EQ(GetPixel(Dc, C.At.X, C.At.Y), C.Want);
    EXPECT_EQ(GetPixel(Dc, 0, 31), RGB(255, 255, 255)) << "the corner shows through";
  }
  SelectObject(Dc, Old);
  DeleteObject(Bmp);
  DeleteDC(Dc);
  EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), LoadIconA(nullptr, IDI_HAND));
  EXPECT_EQ(LoadIconA(nullptr, IDI_WARNING), LoadIconA(nullptr, IDI_EXCLAMATION));
  EXPECT_EQ(LoadIconA(nullptr, IDI_INFORMATION), LoadIconA(nullptr, IDI_ASTERISK));
  EXPECT_EQ(LoadIconA(nullptr, reinterpret_cast<const char*>(32518)), nullptr);
  EXPECT_EQ(GetLastError(), 1814u);
}

TEST(ResourceStrings, StringTableAnswersByNumber) {
  const auto Dir = std::filesystem::temp_directory_path() / ("sx_res_" + std::to_string(::getpid()));
  std::filesystem::create_directories(Dir);
  std::ofstream(Dir / "strings.txt") << "# comment\n100 Customize...\n101 Line one\\nLine two\nbad line\n";
  SetResourceDir(Dir.string());
  EXPECT_EQ(LoadResString(100), "Customize...");
  EXPECT_EQ(LoadResString(101), "Line one\nLine two");
  EXPECT_EQ(LoadResString(102), "");
  char Buf[6];
  EXPECT_EQ(LoadStringA(ProgramInstance(), 100, Buf, sizeof Buf), 5);
  EXPECT_STREQ(Buf, "Custo") << "cut to the buffer";
  EXPECT_EQ(LoadStringA(ProgramInstance(), 7, Buf, sizeof Buf), 0);
  SetResourceDir("");
  std::filesystem::remove_all(Dir);
}
