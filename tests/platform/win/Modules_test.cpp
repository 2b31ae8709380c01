#include "platform/win/Modules.h"

#include <gtest/gtest.h>

#include "platform/gdi/DcApi.h"
#include "platform/gdi/Drawing.h"
#include "platform/win/Resources.h"
#include "platform/win/UxTheme.h"
#include "platform/win/Window.h"

namespace {
using TOpenThemeData = HTHEME (*)(HWND, const WCHAR*);
using TDrawThemeBackground = HRESULT (*)(HTHEME, HDC, int, int, const TRect*, const TRect*);
using TIsThemeActive = BOOL (*)();

// The entry points a control binds at start-up, by name, as it would on
// Windows; nil where the module lacks one.
struct TBoundTheme {
  HMODULE Lib = LoadLibraryA("UxTheme.dll");
  TIsThemeActive IsActive = reinterpret_cast<TIsThemeActive>(GetProcAddress(Lib, "IsThemeActive"));
  TOpenThemeData Open = reinterpret_cast<TOpenThemeData>(GetProcAddress(Lib, "OpenThemeData"));
  TDrawThemeBackground Draw = reinterpret_cast<TDrawThemeBackground>(GetProcAddress(Lib, "DrawThemeBackground"));
  ~TBoundTheme() { FreeLibrary(Lib); }
};

// A theme that exists: every part is a solid block whose colour names the
// part and state, so a drawing shows which part was asked for.
class TTestThemes : public TThemeBinding {
public:
  static COLORREF PartColor(int Part, int State) { return RGB(Byte(Part * 40), Byte(State * 40), 200); }
  BOOL IsThemeActive() override { return TRUE; }
  BOOL IsAppThemed() override { return TRUE; }
  HTHEME OpenThemeData(HWND, const WCHAR* ClassList) override {
    return ClassList && ClassList[0] ? reinterpret_cast<HTHEME>(&FTheme) : nullptr;
  }
  HRESULT CloseThemeData(HTHEME) override { return S_OK; }
  HRESULT DrawThemeBackground(HTHEME Theme, HDC Dc, int Part, int State, const TRect* R, const TRect*) override {
    if (Theme != reinterpret_cast<HTHEME>(&FTheme)) return E_HANDLE;
    HBRUSH B = CreateSolidBrush(PartColor(Part, State));
    FillRect(Dc, R, B);
    DeleteObject(B);
    return S_OK;
  }

private:
  int FTheme = 0;
};

struct TThemeDouble {
  TThemeDouble() { SetThemeBinding(std::make_unique<TTestThemes>()); }
  ~TThemeDouble() { SetThemeBinding(nullptr); }
};
}  // namespace

TEST(Modules, NamesBindToTheLayersFunctionsAndAbsentOnesAnswerNil) {
  HMODULE A = LoadLibraryA("uxtheme");
  HMODULE B = LoadLibraryA("C:\\WINDOWS\\system32\\UXTHEME.DLL");
  ASSERT_NE(A, nullptr);
  EXPECT_EQ(A, B) << "one module whatever the spelling";
  EXPECT_GT(reinterpret_cast<std::uintptr_t>(A), 32u) << "callers test handles above 32";
  EXPECT_EQ(GetProcAddress(A, "OpenThemeData"), reinterpret_cast<FARPROC>(&OpenThemeData));
  EXPECT_EQ(GetProcAddress(A, "DrawThemeTextEx"), nullptr) << "an entry this system lacks";
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  EXPECT_NE(GetProcAddress(LoadLibraryA("USER32"), "GetMonitorInfoA"), nullptr);
  EXPECT_EQ(LoadLibraryA("dwmapi.dll"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  EXPECT_TRUE(FreeLibrary(A));
  EXPECT_TRUE(FreeLibrary(B));
  EXPECT_FALSE(FreeLibrary(A)) << "unloaded with its last load";
  EXPECT_EQ(GetProcAddress(A, "OpenThemeData"), nullptr);
}

TEST(Modules, VersionIsWindowsXPServicePack3) {
  OSVERSIONINFOA Info;
  ASSERT_TRUE(GetVersionExA(&Info));
  EXPECT_EQ(Info.dwMajorVersion, 5u);
  EXPECT_EQ(Info.dwMinorVersion, 1u);
  EXPECT_EQ(Info.dwBuildNumber, 2600u);
  EXPECT_EQ(Info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_STREQ(Info.szCSDVersion, "Service Pack 3");
  OSVERSIONINFOA Unsized;
  Unsized.dwOSVersionInfoSize = 0;
  EXPECT_FALSE(GetVersionExA(&Unsized));
  INITCOMMONCONTROLSEX Icc;
  EXPECT_TRUE(InitCommonControlsEx(&Icc));
}

TEST(UxTheme, DesktopAnswersThemesOff) {
  TBoundTheme T;
  ASSERT_NE(T.IsActive, nullptr);
  EXPECT_FALSE(T.IsActive());
  EXPECT_FALSE(IsAppThemed());
  EXPECT_EQ(T.Open(nullptr, u"Button"), nullptr);
  HDC Dc = CreateCompatibleDC(nullptr);
  TRect R{0, 0, 4, 4};
  EXPECT_EQ(T.Draw(nullptr, Dc, 1, 1, &R, nullptr), E_HANDLE);
  WCHAR Name[16] = u"x";
  EXPECT_LT(GetCurrentThemeName(Name, 16, nullptr, 0, nullptr, 0), 0);
  EXPECT_EQ(Name[0], 0);
  EXPECT_EQ(GetThemeSysColor(nullptr, COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  DeleteDC(Dc);
}

TEST(UxTheme, ThemedPathDrawsThroughTheDouble) {
  TThemeDouble Double;
  TBoundTheme T;  // bound after the double went in, as a control binds at start-up
  ASSERT_TRUE(T.IsActive());
  HTHEME Theme = T.Open(nullptr, u"Button");
  ASSERT_NE(Theme, nullptr);
  HDC Dc = CreateCompatibleDC(nullptr);
  HBITMAP Bmp = CreateBitmap(20, 10, 1, 32, nullptr);
  HGDIOBJ Old = SelectObject(Dc, Bmp);
  const TRect Pushed{0, 0, 10, 10}, Hot{10, 0, 20, 10};
  EXPECT_EQ(T.Draw(Theme, Dc, /*BP_PUSHBUTTON=*/1, /*PBS_PRESSED=*/3, &Pushed, nullptr), S_OK);
  EXPECT_EQ(T.Draw(Theme, Dc, /*BP_PUSHBUTTON=*/1, /*PBS_HOT=*/2, &Hot, nullptr), S_OK);
  EXPECT_EQ(GetPixel(Dc, 5, 5), TTestThemes::PartColor(1, 3));
  EXPECT_EQ(GetPixel(Dc, 15, 5), TTestThemes::PartColor(1, 2));
  SelectObject(Dc, Old);
  DeleteObject(Bmp);
  DeleteDC(Dc);
}

namespace {
void OwnEntry() {}
}  // namespace

// A reset starts a fresh window session; what the process set up once (a
// theme binding a painter holds, modules other layers added and the loads
// they hold, where the resources are) stays as it was.
TEST(ResetWindowSystem, KeepsThemesModulesAndTheResourceFolder) {
  TThemeDouble Themes;
  TThemeBinding* Binding = &ThemeBinding();
  RegisterLibraryModule("own.dll", {ModuleEntry("OwnEntry", &OwnEntry)});
  HMODULE Own = LoadLibraryA("own");
  ASSERT_NE(Own, nullptr);
  SetResourceDir("/tmp/sx-reset-resources");
  const AnsiString Dir = ResourceDir();

  ResetWindowSystem();

  EXPECT_EQ(&ThemeBinding(), Binding);
  EXPECT_TRUE(IsThemeActive());
  EXPECT_EQ(GetProcAddress(Own, "OwnEntry"), reinterpret_cast<FARPROC>(&OwnEntry));
  EXPECT_EQ(LoadLibraryA("OWN.DLL"), Own);
  EXPECT_NE(LoadLibraryA("uxtheme"), nullptr) << "the layer's own modules stay beside it";
  EXPECT_EQ(ResourceDir(), Dir);
  SetResourceDir("");
}
