#include "platform/win/HotKeys.h"

#include <algorithm>
#include <vector>

#include "platform/win/Display.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
std::vector<THotKey>& HotKeys() { return WinState().HotKeys; }
constexpr UINT ModMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
}  // namespace

BOOL RegisterHotKey(HWND Wnd, int Id, UINT Mods, UINT Vk) {
  if (Wnd && !IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  auto& L = HotKeys();
  for (auto& K : L)
    if ((K.Mods & ModMask) == (Mods & ModMask) && K.Vk == Vk) {
      SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
      return FALSE;
    }
  // Another program may hold the combination on the desktop.
  if (!Display().HotKeyAdded(Mods & ModMask, Vk)) {
    SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
    return FALSE;
  }
  L.push_back({Wnd, Id, Mods, Vk});
  return TRUE;
}

BOOL UnregisterHotKey(HWND Wnd, int Id) {
  auto& L = HotKeys();
  auto It = std::find_if(L.begin(), L.end(), [&](const THotKey& K) { return K.Wnd == Wnd && K.Id == Id; });
  if (It == L.end()) {
    SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
    return FALSE;
  }
  UINT Mods = It->Mods & ModMask, Vk = It->Vk;
  L.erase(It);
  Display().HotKeyRemoved(Mods, Vk);
  return TRUE;
}

bool DeliverHotKey(UINT Mods, UINT Vk) {
  for (auto& K : HotKeys()) {
    if ((K.Mods & ModMask) != (Mods & ModMask) || K.Vk != Vk) continue;
    if (K.Wnd && !IsWindow(K.Wnd)) continue;
    PostMessageA(K.Wnd, WM_HOTKEY, WPARAM(K.Id), MAKELPARAM(int(Mods & ModMask), int(Vk)));
    return true;
  }
  return false;
}

void HotKeysReset() {
  for (auto& K : HotKeys()) Display().HotKeyRemoved(K.Mods & ModMask, K.Vk);
  HotKeys().clear();
}
