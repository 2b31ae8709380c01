#include "platform/win/MessageQueue.h"

#include <algorithm>
#include <map>

#include "platform/rtl/AnsiStrings.h"
#include "platform/rtl/CodePages.h"
#include "platform/win/Display.h"
#include "platform/win/Hooks.h"
#include "platform/win/Input.h"
#include "platform/win/Timers.h"
#include "platform/win/Window.h"
#include "platform/win/WinState_p.h"

namespace {
const HWND ThreadOnly = HandleFromInt<HWND>(-1);

bool MatchesWindow(HWND Filter, HWND H) {
  if (!Filter) return true;
  if (Filter == ThreadOnly) return H == nullptr;
  return H == Filter || IsChild(Filter, H);
}

void Stamp(MSG& M) {
  M.time = GetTickCount();
  GetCursorPos(&M.pt);
}

std::map<AnsiString, UINT>& RegisteredMessages() { return WinState().RegisteredMessages; }
std::map<UINT, AnsiString>& RegisteredNames() { return WinState().RegisteredNames; }

int SendDepth = 0;
}  // namespace

bool WinRangeIncludes(UINT Min, UINT Max, UINT Msg) {
  if (Min == 0 && Max == 0) return true;
  if (Min <= Max) return Msg >= Min && Msg <= Max;
  // Windows treats an inverted range as "outside (Max, Min)".
  return Msg >= Min || Msg <= Max;
}

DWORD MessageQueueThreadId() {
  DWORD& Gui = WinState().GuiThread;
  if (!Gui) Gui = GetCurrentThreadId();
  return Gui;
}

LRESULT WinSend(HWND H, UINT Msg, WPARAM W, LPARAM L) {
  TWindowRef Ref = WinLookup(H);
  if (!Ref || Ref->Destroyed) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (HookInstalled(WH_CALLWNDPROC)) {
    CWPSTRUCT C;
    C.hwnd = H;
    C.message = Msg;
    C.wParam = W;
    C.lParam = L;
    HookCall(WH_CALLWNDPROC, HC_ACTION, 1, LPARAM(&C));
    if (!IsWindow(H)) return 0;
  }
  ++SendDepth;
  struct TDepth {
    ~TDepth() { --SendDepth; }
  } Guard;
  LRESULT R = CallWindowProcA(Ref->Proc, H, Msg, W, L);
  if (HookInstalled(WH_CALLWNDPROCRET)) {
    CWPRETSTRUCT C;
    C.lResult = R;
    C.hwnd = H;
    C.message = Msg;
    C.wParam = W;
    C.lParam = L;
    HookCall(WH_CALLWNDPROCRET, HC_ACTION, 1, LPARAM(&C));
  }
  return R;
}

LRESULT SendMessageA(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  if (Wnd == HWND_BROADCAST) {
    for (HWND H : WinTopLevels()) WinSend(H, Msg, W, L);
    return 0;
  }
  return WinSend(Wnd, Msg, W, L);
}

BOOL SendNotifyMessageA(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  if (Wnd != HWND_BROADCAST && !IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  SendMessageA(Wnd, Msg, W, L);
  return TRUE;
}

BOOL PostMessageA(HWND Wnd, UINT Msg, WPARAM W, LPARAM L) {
  auto& St = WinState();
  std::vector<HWND> Targets;
  if (Wnd == HWND_BROADCAST) Targets = WinTopLevels();
  else Targets.push_back(Wnd);
  if (Wnd && Wnd != HWND_BROADCAST && !IsWindow(Wnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> Lock(St.PostLock);
    for (HWND H : Targets) {
      MSG M;
      M.hwnd = H;
      M.message = Msg;
      M.wParam = W;
      M.lParam = L;
      M.time = GetTickCount();
      M.pt = St.CursorPos;
      St.Posted.push_back(M);
    }
  }
  Display().Wake();
  return TRUE;
}

BOOL PostThreadMessageA(DWORD ThreadId, UINT Msg, WPARAM W, LPARAM L) {
  if (ThreadId != MessageQueueThreadId()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return PostMessageA(nullptr, Msg, W, L);
}

void PostQuitMessage(int ExitCode) {
  auto& St = WinState();
  St.QuitPosted = true;
  St.QuitCode = ExitCode;
}

BOOL PeekMessageA(MSG* Out, HWND Filter, UINT Min, UINT Max, UINT Flags) {
  auto& St = WinState();
  if (!Out) return FALSE;
  if (Filter && Filter != ThreadOnly && !IsWindow(Filter)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  MessageQueueThreadId();
  Display().PollEvents();
  bool Remove = Flags & PM_REMOVE;
  UINT Types = Flags >> 16;
  if (!Types) Types = QS_ALLINPUT;
  MSG M;
  bool Found = false;
  if (Types & (QS_POSTMESSAGE | QS_ALLPOSTMESSAGE | QS_HOTKEY)) {
    std::lock_guard<std::mutex> Lock(St.PostLock);
    for (auto It = St.Posted.begin(); It != St.Posted.end(); ++It) {
      if (!MatchesWindow(Filter, It->hwnd) || !WinRangeIncludes(Min, Max, It->message)) continue;
      M = *It;
      if (Remove) St.Posted.erase(It);
      Found = true;
      break;
    }
  }
  if (!Found && St.QuitPosted && WinRangeIncludes(Min, Max, WM_QUIT) &&
      (Types & QS_POSTMESSAGE)) {
    M = MSG();
    M.message = WM_QUIT;
    M.wParam = WPARAM(St.QuitCode);
    Stamp(M);
    if (Remove) St.QuitPosted = false;
    Found = true;
  }
  if (!Found && (Types & QS_INPUT)) Found = InputRetrieve(M, Filter, Min, Max, Remove);
  if (!Found && (Types & QS_PAINT) && WinRangeIncludes(Min, Max, WM_PAINT)) {
    if (HWND P = PaintFind(Filter == ThreadOnly ? nullptr : Filter); P && Filter != ThreadOnly) {
      M = MSG();
      M.hwnd = P;
      M.message = WM_PAINT;
      Stamp(M);
      Found = true;
    }
  }
  if (!Found && (Types & QS_TIMER)) Found = TimerRetrieve(M, Filter, Min, Max, Remove);
  if (!Found && (Types & QS_TIMER)) Found = HoverRetrieve(M, Filter, Min, Max, Remove);
  if (!Found) return FALSE;
  if (HookInstalled(WH_GETMESSAGE))
    HookCall(WH_GETMESSAGE, HC_ACTION, Remove ? PM_REMOVE : PM_NOREMOVE, LPARAM(&M));
  if (Remove) St.LastMsg = M;
  *Out = M;
  return TRUE;
}

BOOL GetMessageA(MSG* Out, HWND Filter, UINT Min, UINT Max) {
  if (!Out) return -1;
  while (true) {
    if (Filter && Filter != ThreadOnly && !IsWindow(Filter)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return -1;
    }
    if (PeekMessageA(Out, Filter, Min, Max, PM_REMOVE)) return Out->message == WM_QUIT ? FALSE : TRUE;
    WaitMessage();
  }
}

BOOL WaitMessage() {
  Display().WaitForEvents(TimerMsUntilNext());
  return TRUE;
}

namespace {
// The character of a key-down on the US layout, or 0.
int CharOfKey(WORD Vk, const BYTE* State) {
  WORD Ch = 0;
  return ToAscii(Vk, 0, State, &Ch, 0) == 1 ? Ch : 0;
}
}  // namespace

BOOL TranslateMessage(const MSG* Msg) {
  if (!Msg) return FALSE;
  UINT M = Msg->message;
  if (M != WM_KEYDOWN && M != WM_SYSKEYDOWN && M != WM_KEYUP && M != WM_SYSKEYUP) return FALSE;
  if (M == WM_KEYUP || M == WM_SYSKEYUP) return TRUE;
  auto& St = WinState();
  if (St.KeyText.Set && St.KeyText.Msg.hwnd == Msg->hwnd && St.KeyText.Msg.message == M &&
      St.KeyText.Msg.wParam == Msg->wParam && St.KeyText.Msg.time == Msg->time) {
    // A real keyboard told what the key typed: its characters in the code
    // page (what it cannot hold becomes '?'), first one first.
    St.KeyText.Set = false;
    AnsiString A = WideToAnsi(St.KeyText.Text);
    std::lock_guard<std::mutex> Lock(St.PostLock);
    for (auto It = A.rbegin(); It != A.rend(); ++It) {
      MSG C = *Msg;
      C.message = M == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
      C.wParam = WPARAM(static_cast<unsigned char>(*It));
      St.Posted.push_front(C);
    }
    return TRUE;
  }
  BYTE State[256];
  GetKeyboardState(State);
  int Ch = CharOfKey(WORD(Msg->wParam), State);
  if (!Ch) return TRUE;
  MSG C = *Msg;
  C.message = M == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  C.wParam = WPARAM(Ch);
  {
    std::lock_guard<std::mutex> Lock(St.PostLock);
    St.Posted.push_front(C);
  }
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* Msg) {
  if (!Msg) return 0;
  if (Msg->message == WM_TIMER && Msg->lParam) {
    // Only a live timer's callback runs: a killed one is not called.
    auto& St = WinState();
    TIMERPROC Proc = reinterpret_cast<TIMERPROC>(Msg->lParam);
    bool Live = std::any_of(St.Timers.begin(), St.Timers.end(), [&](const TTimer& T) {
      return T.Wnd == Msg->hwnd && T.Id == Msg->wParam && T.Proc == Proc;
    });
    if (!Live) return 0;
    Proc(Msg->hwnd, WM_TIMER, Msg->wParam, GetTickCount());
    return 0;
  }
  if (!Msg->hwnd) return 0;
  TWindowRef W = WinLookup(Msg->hwnd);
  if (!W || W->Destroyed) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (Msg->message == WM_TIMER) {
    auto& St = WinState();
    bool Live = std::any_of(St.Timers.begin(), St.Timers.end(), [&](const TTimer& T) {
      return T.Wnd == Msg->hwnd && T.Id == Msg->wParam;
    });
    if (!Live) return 0;
  }
  return CallWindowProcA(W->Proc, Msg->hwnd, Msg->message, Msg->wParam, Msg->lParam);
}

DWORD GetQueueStatus(UINT Flags) {
  auto& St = WinState();
  UINT Has = 0;
  {
    std::lock_guard<std::mutex> Lock(St.PostLock);
    if (!St.Posted.empty() || St.QuitPosted) Has |= QS_POSTMESSAGE | QS_ALLPOSTMESSAGE;
  }
  for (auto& E : St.Input)
    Has |= (E.Kind == TRawInput::KeyDown || E.Kind == TRawInput::KeyUp) ? QS_KEY
           : E.Kind == TRawInput::Move                                   ? QS_MOUSEMOVE
                                                                         : QS_MOUSEBUTTON;
  if (PaintFind(nullptr)) Has |= QS_PAINT;
  if (TimerMsUntilNext() == 0) Has |= QS_TIMER;
  Has &= Flags;
  return (Has << 16) | Has;
}

BOOL InSendMessage() { return FALSE; }

DWORD GetMessagePos() {
  const MSG& M = WinState().LastMsg;
  return MAKELONG(M.pt.X, M.pt.Y);
}

LONG GetMessageTime() { return LONG(WinState().LastMsg.time); }

UINT RegisterWindowMessageA(const char* Name) {
  if (!Name || !*Name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto& M = RegisteredMessages();
  AnsiString Key = AnsiUpperCase(Name);
  auto It = M.find(Key);
  if (It != M.end()) return It->second;
  UINT N = 0xC000 + UINT(M.size());
  M.emplace(Key, N);
  RegisteredNames().emplace(N, Name);
  return N;
}

BOOL CallMsgFilterA(MSG* Msg, int Code) {
  if (!Msg || !HookInstalled(WH_MSGFILTER)) return FALSE;
  return HookCall(WH_MSGFILTER, Code, 0, LPARAM(Msg)) ? TRUE : FALSE;
}

void MessageQueueReset() {
  auto& St = WinState();
  {
    std::lock_guard<std::mutex> Lock(St.PostLock);
    St.Posted.clear();
  }
  St.QuitPosted = false;
  St.QuitCode = 0;
  St.Input.clear();
  St.Timers.clear();
  St.Hooks.clear();
  St.LastMsg = MSG();
}

int ProcessPendingMessages() {
  int N = 0;
  MSG M;
  while (PeekMessageA(&M, nullptr, 0, 0, PM_REMOVE)) {
    if (M.message == WM_QUIT) {
      PostQuitMessage(int(M.wParam));
      break;
    }
    TranslateMessage(&M);
    DispatchMessageA(&M);
    ++N;
  }
  return N;
}

AnsiString RegisteredMessageName(UINT Msg) {
  auto It = RegisteredNames().find(Msg);
  return It == RegisteredNames().end() ? AnsiString() : It->second;
}
