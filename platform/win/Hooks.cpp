#include "platform/win/Hooks.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/WinState_p.h"

namespace {
bool Supported(int Kind) {
  switch (Kind) {
    case WH_KEYBOARD:
    case WH_MOUSE:
    case WH_GETMESSAGE:
    case WH_CALLWNDPROC:
    case WH_CALLWNDPROCRET:
    case WH_MSGFILTER: return true;
    default: return false;
  }
}

// The hook of Kind installed just before Seq (older), or null. Handles are
// install sequence numbers, so this works for a hook already unhooked.
std::shared_ptr<THook> NextOlder(int Kind, std::uintptr_t Seq) {
  std::shared_ptr<THook> Best;
  for (auto& H : WinState().Hooks) {
    auto S = reinterpret_cast<std::uintptr_t>(H->Handle);
    if (H->Kind != Kind || H->Removed || S >= Seq) continue;
    if (!Best || S > reinterpret_cast<std::uintptr_t>(Best->Handle)) Best = H;
  }
  return Best;
}
}  // namespace

HHOOK SetWindowsHookExA(int Kind, HOOKPROC Proc, HINSTANCE, DWORD ThreadId) {
  if (!Proc) {
    SetLastError(ERROR_INVALID_FILTER_PROC);
    return nullptr;
  }
  if (ThreadId != 0 && ThreadId != MessageQueueThreadId()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!Supported(Kind)) {
    if (Kind < WH_MSGFILTER || Kind > WH_MOUSE_LL) {
      SetLastError(ERROR_INVALID_HOOK_FILTER);
      return nullptr;
    }
    SX_NOT_IMPLEMENTED("SetWindowsHookEx for this hook kind");
  }
  auto& St = WinState();
  auto H = std::make_shared<THook>();
  H->Kind = Kind;
  H->Proc = Proc;
  H->Handle = reinterpret_cast<HHOOK>(St.NextHook++);
  St.Hooks.push_back(H);
  return H->Handle;
}

BOOL UnhookWindowsHookEx(HHOOK Hook) {
  auto& L = WinState().Hooks;
  auto It = std::find_if(L.begin(), L.end(),
                         [&](auto& H) { return H->Handle == Hook && !H->Removed; });
  if (It == L.end()) {
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
  }
  // Kept, marked: a hook running right now may still call CallNextHookEx.
  (*It)->Removed = true;
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK Hook, int Code, WPARAM W, LPARAM L) {
  auto& St = WinState();
  auto Seq = reinterpret_cast<std::uintptr_t>(Hook);
  int Kind = 0;
  bool Known = false;
  for (auto& H : St.Hooks)
    if (H->Handle == Hook) {
      Kind = H->Kind;
      Known = true;
    }
  if (!Known) return 0;
  auto Next = NextOlder(Kind, Seq);
  if (!Next) return 0;
  auto Keep = Next;
  return Next->Proc(Code, W, L);
}

bool HookInstalled(int Kind) {
  for (auto& H : WinState().Hooks)
    if (H->Kind == Kind && !H->Removed) return true;
  return false;
}

LRESULT HookCall(int Kind, int Code, WPARAM W, LPARAM L) {
  auto First = NextOlder(Kind, ~std::uintptr_t(0));
  if (!First) return 0;
  return First->Proc(Code, W, L);
}
