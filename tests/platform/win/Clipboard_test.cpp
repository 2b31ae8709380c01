#include "platform/win/Clipboard.h"

#include <cstring>

#include "platform/win/GlobalMemory.h"
#include "platform/win/HotKeys.h"
#include "platform/rtl/VirtualKeys.h"
#include "WinTestSupport.h"

namespace {
using TClipboardTest = TWinTest;

HGLOBAL Bytes(const void* P, SIZE_T N) {
  HGLOBAL H = GlobalAlloc(GHND, N);
  std::memcpy(GlobalLock(H), P, N);
  GlobalUnlock(H);
  return H;
}
}  // namespace

TEST_F(TClipboardTest, TextSetAsAnsiReadsBackInEveryTextFormat) {
  HWND H = Make(WS_POPUP, Bounds(0, 0, 10, 10));
  ASSERT_TRUE(OpenClipboard(H));
  ASSERT_TRUE(EmptyClipboard());
  const char Text[] = "caf\xE9";  // é in code page 1252
  ASSERT_TRUE(SetClipboardData(CF_TEXT, Bytes(Text, sizeof Text)));
  EXPECT_TRUE(CloseClipboard());
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP));
  EXPECT_EQ(GetClipboardOwner(), H);
  ASSERT_TRUE(OpenClipboard(nullptr));
  auto* W = static_cast<const char16_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
  ASSERT_NE(W, nullptr);
  EXPECT_EQ(std::u16string(W), u"caf\u00E9");
  auto* A = static_cast<const char*>(GlobalLock(GetClipboardData(CF_TEXT)));
  EXPECT_STREQ(A, Text);
  std::vector<UINT> Formats;
  for (UINT F = EnumClipboardFormats(0); F; F = EnumClipboardFormats(F)) Formats.push_back(F);
  EXPECT_EQ(Formats, (std::vector<UINT>{CF_TEXT, CF_UNICODETEXT, CF_OEMTEXT}));
  CloseClipboard();
}

TEST_F(TClipboardTest, CallsNeedAnOpenClipboardAndOneOpenerAtATime) {
  HWND A = Make(WS_POPUP, Bounds(0, 0, 10, 10));
  HWND B = Make(WS_POPUP, Bounds(0, 0, 10, 10));
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(CF_TEXT, Bytes("x", 2)), nullptr);
  EXPECT_EQ(GetLastError(), DWORD(ERROR_CLIPBOARD_NOT_OPEN));
  ASSERT_TRUE(OpenClipboard(A));
  EXPECT_FALSE(OpenClipboard(B));
  EXPECT_EQ(GetOpenClipboardWindow(), A);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
}

TEST_F(TClipboardTest, PromisedFormatIsRenderedByTheOwnerOnDemand) {
  HWND Owner = Make(WS_POPUP, Bounds(0, 0, 10, 10));
  UINT Rtf = RegisterClipboardFormatA("Rich Text Format");
  char Name[64];
  EXPECT_EQ(GetClipboardFormatNameA(Rtf, Name, sizeof Name), 16);
  EXPECT_STREQ(Name, "Rich Text Format");
  On(Owner, [&](HWND, UINT M, WPARAM W, LPARAM) -> std::optional<LRESULT> {
    if (M == WM_RENDERFORMAT && W == Rtf) SetClipboardData(Rtf, Bytes("{\\rtf1}", 8));
    return std::nullopt;
  });
  OpenClipboard(Owner);
  EmptyClipboard();
  SetClipboardData(Rtf, nullptr);
  CloseClipboard();
  EXPECT_TRUE(IsClipboardFormatAvailable(Rtf));
  OpenClipboard(nullptr);
  auto* P = static_cast<const char*>(GlobalLock(GetClipboardData(Rtf)));
  ASSERT_NE(P, nullptr);
  EXPECT_STREQ(P, "{\\rtf1}");
  EXPECT_EQ(Logged(Owner, WM_RENDERFORMAT).size(), 1u);
  // Emptying tells the old owner.
  EmptyClipboard();
  CloseClipboard();
  EXPECT_EQ(Logged(Owner, WM_DESTROYCLIPBOARD).size(), 1u);
}

TEST_F(TClipboardTest, GlobalMemoryHandlesLocksAndStaleFrees) {
  HGLOBAL M = GlobalAlloc(GMEM_MOVEABLE, 10);
  void* P = GlobalLock(M);
  ASSERT_NE(P, nullptr);
  EXPECT_NE(static_cast<void*>(M), P);  // moveable: the handle is not the address
  EXPECT_EQ(GlobalHandle(P), M);
  EXPECT_EQ(GlobalFlags(M) & 0xFF, 1u);
  EXPECT_FALSE(GlobalUnlock(M));
  EXPECT_EQ(GlobalReAlloc(M, 100, GMEM_MOVEABLE), M);
  EXPECT_EQ(GlobalSize(M), 100u);
  EXPECT_EQ(GlobalFree(M), nullptr);
  EXPECT_EQ(GlobalFree(M), M);  // second free fails
  EXPECT_EQ(GlobalLock(M), nullptr);
  HGLOBAL F = GlobalAlloc(GPTR, 4);
  EXPECT_EQ(GlobalLock(F), static_cast<void*>(F));
  GlobalFree(F);
}

TEST_F(TClipboardTest, HotKeyBecomesWmHotKeyInsteadOfAKeyDown) {
  HWND H = Make(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 10, 10));
  SetFocus(H);
  ASSERT_TRUE(RegisterHotKey(H, 9, MOD_CONTROL | MOD_ALT, 'K'));
  EXPECT_FALSE(RegisterHotKey(H, 10, MOD_CONTROL | MOD_ALT, 'K'));
  Screen().KeyDown(VK_CONTROL);
  Screen().KeyDown(VK_MENU);
  Screen().KeyPress('K');
  Screen().KeyUp(VK_MENU);
  Screen().KeyUp(VK_CONTROL);
  ClearLog();
  Pump();
  auto Hot = Logged(H, WM_HOTKEY);
  ASSERT_EQ(Hot.size(), 1u);
  EXPECT_EQ(Hot[0].W, 9u);
  EXPECT_EQ(Hot[0].L, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'K'));
  for (auto& E : Logged(H, WM_KEYDOWN)) EXPECT_NE(E.W, WPARAM('K'));
  EXPECT_TRUE(UnregisterHotKey(H, 9));
  EXPECT_FALSE(UnregisterHotKey(H, 9));
}
